#include "chart/editor/grafabout.h"

#include <algorithm>
#include <memory>

#include "chart/core/grafconst.h"
#include "chart/core/grafutils.h"
#include "chart/core/grcanvas.h"

ZV_CLASS_IMPL_NOPROPS(TGrafAboutForm, TForm)

namespace {

const char* const kVersionText = "GrafChart Pro v7.12 Win32";

// The library's picture: a small chart of two series.
void DrawLibraryPicture(TBitmap* b) {
  b->SetSize(96, 72);
  TCanvas* c = b->Canvas();
  c->Brush()->SetColor(clWhite);
  c->FillRect(Rect(0, 0, 96, 72));
  c->Pen()->SetColor(clGray);
  c->MoveTo(8, 4);
  c->LineTo(8, 64);
  c->LineTo(92, 64);
  const int bars[] = {20, 34, 27, 46, 38};
  c->Brush()->SetColor(0xC08040);
  c->Pen()->SetColor(0x804020);
  for (int i = 0; i < 5; ++i) c->Rectangle(14 + i * 15, 64 - bars[i], 24 + i * 15, 64);
  c->Pen()->SetColor(clRed);
  c->Pen()->SetWidth(2);
  const int line[] = {40, 30, 36, 16, 22};
  c->MoveTo(19, 64 - line[0]);
  for (int i = 1; i < 5; ++i) c->LineTo(19 + i * 15, 64 - line[i]);
}

// The library's logo: its name on a coloured plate.
void DrawLibraryLogo(TBitmap* b) {
  b->SetSize(150, 40);
  TCanvas* c = b->Canvas();
  c->Brush()->SetColor(clFuchsia);  // the transparent colour
  c->FillRect(Rect(0, 0, 150, 40));
  c->Brush()->SetColor(0x8B4513);
  c->Pen()->SetColor(0x5A2D0C);
  c->RoundRect(0, 0, 150, 40, 12, 12);
  c->Font()->SetName("Arial");
  c->Font()->SetHeight(-20);
  c->Font()->SetStyle({fsBold});
  c->Font()->SetColor(clWhite);
  c->SetBkMode(TRANSPARENT);
  c->TextOut(14, 8, "GrafChart");
}

TColor Shifted(TColor Color, int By) {
  const TColorRef rgb = ColorToRGB(Color);
  auto part = [By](int v) { return std::clamp(v + By, 0, 255); };
  return static_cast<TColor>(RGB(part(GetRValue(rgb)), part(GetGValue(rgb)), part(GetBValue(rgb))));
}

}  // namespace

TGrafAboutForm::TGrafAboutForm(TComponent* AOwner) : TForm(AOwner) {
  SetName("GrafAboutForm");
  SetCaption("About");
  SetClientWidth(363);
  SetClientHeight(232);
  SetPosition(poScreenCenter);
  SetKeyPreview(true);
  Bevel1 = new TBevel(this);
  Bevel1->SetName("Bevel1");
  Bevel1->SetParent(this);
  Bevel1->SetBounds(8, 8, 347, 178);
  Image1 = new TImage(this);
  Image1->SetName("Image1");
  Image1->SetParent(this);
  Image1->SetBounds(18, 18, 96, 72);
  Image1->SetStretch(true);
  DrawLibraryPicture(Image1->Picture()->Bitmap());
  Image2 = new TImage(this);
  Image2->SetName("Image2");
  Image2->SetParent(this);
  Image2->SetBounds(130, 30, 150, 40);
  DrawLibraryLogo(Image2->Picture()->Bitmap());
  Image2->SetTransparent(true);
  auto label = [this](const char* name, int top) {
    auto* l = new TLabel(this);
    l->SetName(name);
    l->SetParent(this);
    l->SetBounds(18, top, 330, 14);
    l->Font()->SetName("Arial");
    l->Font()->SetHeight(-11);
    l->SetTransparent(true);
    return l;
  };
  LabelVersion = label("LabelVersion", 104);
  LabelCopy = label("LabelCopy", 134);
  Label1 = label("Label1", 152);
  Label1->SetCaption("All rights reserved.");
  BClose = new TButton(this);
  BClose->SetName("BClose");
  BClose->SetParent(this);
  BClose->SetCaption("Close");
  BClose->SetDefault(true);
  BClose->SetCancel(true);
  BClose->SetModalResult(mrCancel);
  BClose->SetBounds(280, 197, 75, 25);
  Timer1 = new TTimer(this);
  Timer1->SetName("Timer1");
  Timer1->SetInterval(100);
  Timer1->SetOnTimer([this](TObject* s) { Timer1Timer(s); });
  OnCreate = [this](TObject* s) { FormCreate(s); };
  OnPaint = [this](TObject* s) { FormPaint(s); };
  DoCreate();
}

void TGrafAboutForm::FormCreate(TObject*) {
  SetDoubleBuffered(true);
  FColor1 = 0xE0E0E0;
  FColor2 = clGray;
  FStep = 4;
  SetCaption(Caption() + " " + kVersionText);
  LabelVersion->SetCaption(kVersionText);
  LabelCopy->SetCaption(GrafMsgLibraryNotice);
  SetBorderStyle(bsDialog);
}

void TGrafAboutForm::FormPaint(TObject*) {
  TGrafCanvas3D canvas;
  canvas.AttachCanvas(Canvas());
  canvas.GradientFill(ClientRect(), FColor1, FColor2, gdDiagonalUp, 50);
}

void TGrafAboutForm::Timer1Timer(TObject*) {
  FColor1 = Shifted(FColor1, -FStep);
  FColor2 = Shifted(FColor2, FStep);
  if (ColorToRGB(FColor1) == 0 || ColorToRGB(FColor2) == 0) FStep = -FStep;
  Invalidate();
}

void ShowGrafAboutBox(const std::string& ACaption, const std::string& AVersion) {
  auto form = std::make_unique<TGrafAboutForm>(nullptr);
  if (!ACaption.empty()) form->SetCaption(ACaption);
  if (!AVersion.empty()) form->LabelVersion->SetCaption(AVersion);
  InvokeControlHook(form.get());
  form->ShowModal();
}

void RegisterGrafAboutUnit() { RegisterClass(&TGrafAboutForm::StaticClass()); }
