#include "chart/editor/grafbrushdlg.h"

#include <algorithm>

#include "chart/core/grafutils.h"
#include "chart/editor/editorbuild.h"
#include "chart/editor/grafpendlg.h"
#include "platform/gfx/resources.h"
#include "platform/ui/commondialogs.h"

using namespace editorbuild;

namespace {

const char* const kItems[TBrushDialog::ItemCount] = {
    "Solid",        "None",         "Horizontal",    "Vertical",         "Diagonal",    "Back Diagonal",
    "Cross",        "Diagonal Cross", "Fill 80%",    "Fill 60%",         "Fill 40%",    "Fill 20%",
    "Fill 10%",     "Zig zag",      "Vertical small", "Horiz. small",    "Diag. small", "Back Diag. small",
    "Cross small",  "Diag. Cross small", "Metal",    "Wood",             "Stone",       "Clouds",
    "Grass",        "Fire",         "Snow"};

const char* const kTextures[7] = {"Metal", "Wood", "Stone", "Clouds", "Grass", "Fire", "Snow"};

bool HoldsGraphic(TPicture* Picture) { return Picture && Picture->Graphic() && !Picture->Graphic()->Empty(); }

}  // namespace

bool RunFontDialog(TComponent* Owner, TFont* Font) {
  TFontDialog dialog(Owner);
  dialog.SetFont(Font);
  if (!dialog.Execute()) return false;
  Font->Assign(dialog.Font());
  return true;
}

std::string AskPictureFileName(TComponent* Owner) {
  TOpenDialog dialog(Owner);
  dialog.Filter = TPicture::GraphicFilter();
  dialog.Options.Include(ofFileMustExist);
  return dialog.Execute() ? dialog.FileName : std::string();
}

void LoadOrClearPicture(TComponent* Owner, TPicture* Picture) {
  if (HoldsGraphic(Picture)) {
    Picture->SetGraphic(nullptr);
    return;
  }
  const std::string file = AskPictureFileName(Owner);
  if (!file.empty()) Picture->LoadFromFile(file);
}

void LoadBrushPatternBitmap(int Pattern, TBitmap* Bitmap) {
  LoadBitmapResource(Bitmap, "GrafBrush" + std::to_string(Pattern + 1), "");
  if (!Bitmap->Empty()) Bitmap->SetPixelFormat(pf1bit);
  Bitmap->SetTransparentMode(tmFixed);
  Bitmap->SetTransparentColor(clWhite);
}

bool RunBrushDialog(TComponent* Owner, TChartBrush* Brush) {
  std::unique_ptr<TBrushDialog> dialog(CreateEditorDialog<TBrushDialog>(Owner));
  dialog->TheBrush = Brush;
  InvokeControlHook(dialog.get());
  return dialog->ShowModal() == mrOk;
}

// ---- The dialog -----------------------------------------------------------------

ZV_CLASS_IMPL_NOPROPS(TBrushDialog, TForm)

TBrushDialog::TBrushDialog(TComponent* AOwner) : TForm(AOwner) {
  SetCaption("Pattern Color Editor");
  SetClientWidth(325);
  SetClientHeight(158);
  SetPosition(poScreenCenter);
  SetBorderIcons({biSystemMenu});

  LStyle = Make<TListBox>(this, this, "LStyle", 8, 8, 161, 142);
  LStyle->SetStyle(lbOwnerDrawFixed);
  LStyle->SetItemHeight(16);
  for (const char* item : kItems) LStyle->Items()->Add(item);
  BColor = Make<TButtonColor>(this, this, "BColor", 178, 8, 75, 25, "&Color...");
  GroupBox2 = Make<TGroupBox>(this, this, "GroupBox2", 178, 40, 139, 77, "Image:");
  Image1 = Make<TImage>(this, GroupBox2, "Image1", 8, 8, 49, 49);
  Image1->SetStretch(true);
  Button1 = Make<TButton>(this, GroupBox2, "Button1", 62, 20, 70, 25, "&Image...");
  Button2 = MakeOkButton(this, this, "Button2", 164, 126);
  Button3 = MakeCancelButton(this, this, "Button3", 244, 126);
  TImage** textures[7] = {&ImageMetal, &ImageWood, &ImageStone, &ImageClouds, &ImageGrass, &ImageFire, &ImageSnow};
  for (int i = 0; i < 7; ++i) {
    const std::string name = std::string("Image") + kTextures[i];
    TImage* image = Make<TImage>(this, this, name.c_str(), 0, 0, 16, 16);
    image->SetVisible(false);
    if (std::unique_ptr<TBitmap> b = LoadResourceBitmap(std::string("GrafTexture") + kTextures[i]))
      image->Picture()->SetGraphic(b.get());
    *textures[i] = image;
  }
  SetActiveControl(LStyle);

  LStyle->OnClick = [this](TObject* s) { LStyleClick(s); };
  LStyle->OnDrawItem = [this](TWinControl* c, int i, const TRect& r, TOwnerDrawState st) { LStyleDrawItem(c, i, r, st); };
  Button1->OnClick = [this](TObject* s) { Button1Click(s); };
  Button3->OnClick = [this](TObject* s) { Button3Click(s); };
  OnCreate = [this](TObject* s) { FormCreate(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
}

TBrushDialog::~TBrushDialog() = default;

void TBrushDialog::FormCreate(TObject*) { SetBorderStyle(bsDialog); }

void TBrushDialog::FormClose(TObject*, TCloseAction&) { FBackupBrush.reset(); }

void TBrushDialog::FormShow(TObject*) {
  FBackupBrush = std::make_unique<TChartBrush>();
  if (!TheBrush) return;
  FBackupBrush->Assign(TheBrush);
  LStyle->SetItemIndex(HoldsGraphic(TheBrush->HasImage() ? TheBrush->Image() : nullptr) ? -1 : TheBrush->Style());
  BColor->LinkProperty(TheBrush, "Color");
  RefreshImageState();
  RefreshColorEnabling();
}

void TBrushDialog::RefreshImageState() {
  TPicture* image = TheBrush && TheBrush->HasImage() ? TheBrush->Image() : nullptr;
  if (HoldsGraphic(image)) {
    Button1->SetTag(1);
    Button1->SetCaption("Clea&r");
    Image1->Picture()->Assign(image);
  } else {
    Button1->SetTag(0);
    Button1->SetCaption("B&rowse...");
    Image1->Picture()->SetGraphic(nullptr);
  }
}

void TBrushDialog::RefreshColorEnabling() { BColor->SetEnabled(!TheBrush || TheBrush->Style() != bsClear); }

std::unique_ptr<TBitmap> TBrushDialog::ItemBitmap(int Index) {
  auto bitmap = std::make_unique<TBitmap>();
  if (Index >= FirstTexture) {
    TImage* textures[7] = {ImageMetal, ImageWood, ImageStone, ImageClouds, ImageGrass, ImageFire, ImageSnow};
    if (TGraphic* g = textures[Index - FirstTexture]->Picture()->Graphic()) bitmap->Assign(g);
  } else {
    LoadBrushPatternBitmap(Index - FirstPattern, bitmap.get());
  }
  return bitmap;
}

void TBrushDialog::LStyleClick(TObject*) {
  const int index = LStyle->ItemIndex();
  if (!TheBrush || index < 0) return;
  if (index < FirstPattern) {
    TheBrush->SetStyle(static_cast<TBrushStyle>(index));
    TheBrush->SetImage(nullptr);
  } else {
    std::unique_ptr<TBitmap> bitmap = ItemBitmap(index);
    TheBrush->Image()->SetGraphic(bitmap.get());
  }
  RefreshImageState();
  RefreshColorEnabling();
}

void TBrushDialog::Button1Click(TObject*) {
  if (!TheBrush) return;
  LStyle->SetItemIndex(TheBrush->Style());
  if (Button1->Tag() == 1) {
    TheBrush->SetImage(nullptr);
  } else {
    const std::string file = AskPictureFileName(this);
    if (!file.empty()) {
      TPicture* image = TheBrush->Image();
      image->LoadFromFile(file);
      if (image->Graphic() && !dynamic_cast<TBitmap*>(image->Graphic())) {
        // A metafile or other picture becomes a bitmap of its size.
        TBitmap bitmap(image->Width(), image->Height());
        bitmap.Canvas()->Draw(0, 0, image->Graphic());
        image->SetGraphic(&bitmap);
      }
    }
  }
  RefreshImageState();
}

void TBrushDialog::Button3Click(TObject*) {
  if (TheBrush && FBackupBrush) TheBrush->Assign(FBackupBrush.get());
  SetModalResult(mrCancel);
}

void TBrushDialog::LStyleDrawItem(TWinControl*, int Index, TRect Rect, TOwnerDrawState) {
  TCanvas* canvas = LStyle->Canvas();
  canvas->FillRect(Rect);
  int textLeft = Rect.Left + 20;
  if (Index != bsClear) {
    const TColor oldText = canvas->SetTextColor(clBlack);
    const TBrushStyle oldStyle = canvas->Brush()->Style();
    const TColor oldColor = canvas->Brush()->Color();
    canvas->SetBkColor(clWhite);
    canvas->SetBkMode(TRANSPARENT);
    const TRect swatch = ::Rect(Rect.Left + 2, Rect.Top + 2, Rect.Left + 16, Rect.Bottom - 2);
    if (Index < FirstPattern) {
      canvas->Brush()->SetColor(clBlack);
      canvas->Brush()->SetStyle(static_cast<TBrushStyle>(Index));
      canvas->FillRect(swatch);
    } else {
      std::unique_ptr<TBitmap> bitmap = ItemBitmap(Index);
      canvas->StretchDraw(swatch, bitmap.get());
    }
    canvas->SetTextColor(oldText);
    canvas->Brush()->SetStyle(oldStyle);
    canvas->Brush()->SetColor(oldColor);
    textLeft = swatch.Left + 20;
  }
  canvas->Brush()->SetStyle(bsClear);
  canvas->TextOut(textLeft, Rect.Top, LStyle->Items()->Strings(Index));
}

void RegisterBrushDialogClasses() { RegisterClasses({&TBrushDialog::StaticClass()}); }
