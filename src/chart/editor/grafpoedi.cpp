#include "chart/editor/grafpoedi.h"

#include <memory>

#include "chart/core/grafutils.h"
#include "chart/core/grcanvas.h"
#include "chart/editor/editorbuild.h"
#include "chart/editor/grafbrushdlg.h"
#include "chart/editor/grafedigrad.h"
#include "chart/series/grafpoin3.h"
#include "chart/series/series.h"
#include "platform/rtl/format.h"
#include "platform/rtl/strutils.h"
#include "platform/dialogs.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TSeriesPointerEditor, TForm)

TSeriesPointerEditor::TSeriesPointerEditor(TComponent* AOwner) : TForm(AOwner) {
  SetCaption("Pointer");
  SetClientWidth(304);
  SetClientHeight(211);
  SetBorderIcons({biSystemMenu});

  GPPoint = Make<TGroupBox>(this, this, "GPPoint", 4, 2, 296, 205);
  CBDrawPoint = Make<TCheckBox>(this, GPPoint, "CBDrawPoint", 8, 16, 97, 17, "&Visible");
  CB3dPoint = Make<TCheckBox>(this, GPPoint, "CB3dPoint", 8, 36, 97, 17, "&3D");
  CBPoDark = Make<TCheckBox>(this, GPPoint, "CBPoDark", 8, 56, 97, 17, "Dar&k 3D");
  CBInflate = Make<TCheckBox>(this, GPPoint, "CBInflate", 8, 76, 120, 17, "Inflate &Margins");
  SEPointHorizSize = Make<TEdit>(this, GPPoint, "SEPointHorizSize", 64, 100, 41, 21);
  SEPointHorizSize->SetText("1");
  UDPointHorizSize = Make<TUpDown>(this, GPPoint, "UDPointHorizSize", 105, 100, 15, 21);
  UDPointHorizSize->SetMin(1);
  UDPointHorizSize->SetMax(1000);
  UDPointHorizSize->SetAssociate(SEPointHorizSize);
  UDPointHorizSize->SetPosition(1);
  Label1 = MakeLabel(this, GPPoint, "Label1", 8, 104, "&Width:", SEPointHorizSize);
  SEPointVertSize = Make<TEdit>(this, GPPoint, "SEPointVertSize", 64, 128, 41, 21);
  SEPointVertSize->SetText("1");
  UDPointVertSize = Make<TUpDown>(this, GPPoint, "UDPointVertSize", 105, 128, 15, 21);
  UDPointVertSize->SetMin(1);
  UDPointVertSize->SetMax(1000);
  UDPointVertSize->SetAssociate(SEPointVertSize);
  UDPointVertSize->SetPosition(1);
  Label2 = MakeLabel(this, GPPoint, "Label2", 8, 132, "&Height:", SEPointVertSize);
  CBStyle = Make<TComboFlat>(this, GPPoint, "CBStyle", 64, 160, 121, 22);
  CBStyle->SetStyle(csOwnerDrawFixed);
  CBStyle->SetItemHeight(16);
  CBStyle->SetDropDownCount(12);
  for (const char* s : {"Square", "Circle", "Triangle", "Down Triangle", "Cross", "Diagonal Cross", "Star", "Diamond",
                        "Small Dot", "Nothing", "Left Triangle", "Right Triangle"})
    CBStyle->Items()->Add(s);
  Label3 = MakeLabel(this, GPPoint, "Label3", 8, 164, "&Style:", CBStyle);

  GroupBox1 = Make<TGroupBox>(this, GPPoint, "GroupBox1", 148, 10, 140, 140);
  BPointFillColor = Make<TButton>(this, GroupBox1, "BPointFillColor", 8, 14, 85, 25, "&Pattern...");
  CBDefBrushColor = Make<TCheckBox>(this, GroupBox1, "CBDefBrushColor", 8, 44, 120, 17, "&Default");
  BPoinPenCol = Make<TButtonPen>(this, GroupBox1, "BPoinPenCol", 8, 66, 85, 25, "B&order...");
  CBColorEach = Make<TCheckBox>(this, GroupBox1, "CBColorEach", 8, 96, 120, 17, "&Color Each ");
  BGradient = Make<TButton>(this, GroupBox1, "BGradient", 8, 114, 85, 25, "&Gradient...");

  PanelBottom = Make<TPanel>(this, this, "PanelBottom", 0, 211, 304, 33);
  PanelBottom->SetAlign(alBottom);
  PanelBottom->SetBevelOuter(bvNone);
  PanelBottom->SetVisible(false);
  Button1 = Make<TButton>(this, PanelBottom, "Button1", 220, 4, 75, 25, "Close");
  SetActiveControl(CBDrawPoint);

  CBDrawPoint->OnClick = [this](TObject* s) { CBDrawPointClick(s); };
  CB3dPoint->OnClick = [this](TObject* s) { CB3dPointClick(s); };
  CBPoDark->OnClick = [this](TObject* s) { CBPoDarkClick(s); };
  CBInflate->OnClick = [this](TObject* s) { CBInflateClick(s); };
  SEPointHorizSize->OnChange = [this](TObject* s) { SEPointHorizSizeChange(s); };
  SEPointVertSize->OnChange = [this](TObject* s) { SEPointVertSizeChange(s); };
  CBStyle->OnChange = [this](TObject* s) { CBStyleChange(s); };
  CBStyle->OnDrawItem = [this](TWinControl* c, int i, const TRect& r, TOwnerDrawState st) {
    CBStyleDrawItem(c, i, r, st);
  };
  BPointFillColor->OnClick = [this](TObject* s) { BPointFillColorClick(s); };
  BPoinPenCol->OnClick = [this](TObject* s) { BPoinPenColClick(s); };
  CBDefBrushColor->OnClick = [this](TObject* s) { CBDefBrushColorClick(s); };
  CBColorEach->OnClick = [this](TObject* s) { CBColorEachClick(s); };
  BGradient->OnClick = [this](TObject* s) { BGradientClick(s); };
  Button1->OnClick = [this](TObject* s) { Button1Click(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  FormCreate(this);
}

void TSeriesPointerEditor::FormCreate(TObject*) { SetAlign(alClient); }

TChartSeries* TSeriesPointerEditor::TaggedSeries() const {
  return dynamic_cast<TChartSeries*>(reinterpret_cast<TObject*>(Tag()));
}

TSeriesPointer* SeriesPointerOf(TObject* Series) {
  if (auto* s = dynamic_cast<TCustomSeries*>(Series)) return s->Pointer();
  if (auto* s = dynamic_cast<TPoint3DSeries*>(Series)) return s->Pointer();
  return nullptr;
}

void TSeriesPointerEditor::HideSizeControls() {
  SetControlsVisible(false, {Label1, SEPointHorizSize, UDPointHorizSize, Label2, SEPointVertSize, UDPointVertSize});
}

void TSeriesPointerEditor::FormShow(TObject*) {
  if (!Tag()) return;
  auto* tagged = reinterpret_cast<TObject*>(Tag());
  TChartSeries* series = nullptr;
  if (auto* pointer = dynamic_cast<TSeriesPointer*>(tagged)) {
    FPointer = pointer;
  } else if (TSeriesPointer* own = SeriesPointerOf(tagged)) {
    FPointer = own;
    series = TaggedSeries();
  } else {
    return;
  }
  FLoading = true;
  if (series) {
    CBColorEach->SetEnabled(true);
    CBColorEach->Show();
    CBColorEach->SetChecked(series->ColorEachPoint());
  } else {
    CBColorEach->SetEnabled(false);
    CBColorEach->Hide();
  }
  ApplyVisibility(FPointer->Visible());
  CBDrawPoint->SetChecked(FPointer->Visible());
  CB3dPoint->SetChecked(FPointer->Draw3D());
  Apply3DRule();
  UDPointHorizSize->SetPosition(FPointer->HorizSize());
  UDPointVertSize->SetPosition(FPointer->VertSize());
  CBStyle->SetItemIndex(FPointer->Style());
  CBInflate->SetChecked(FPointer->InflateMargins());
  CBPoDark->SetChecked(FPointer->Dark3D());
  ApplyDefaultColorRule();
  BPoinPenCol->LinkPen(FPointer->Pen());
  if (!FPointer->SizeAdjustable) HideSizeControls();
  FLoading = false;
}

void TSeriesPointerEditor::ApplyVisibility(bool Visible) {
  if (!FPointer) return;
  FPointer->SetVisible(Visible);
  if (Visible) {
    Apply3DRule();
  } else {
    CB3dPoint->SetEnabled(false);
    CBPoDark->SetEnabled(false);
  }
  for (TControl* c : std::initializer_list<TControl*>{CBInflate, SEPointHorizSize, UDPointHorizSize, SEPointVertSize,
                                                       UDPointVertSize, BPointFillColor, CBStyle, BPoinPenCol,
                                                       CBDefBrushColor})
    c->SetEnabled(Visible);
}

void TSeriesPointerEditor::Apply3DRule() {
  if (!FPointer) return;
  TChartSeries* series = FPointer->Series();
  TCustomGrafPanel* panel = series && series->ParentChart() ? series->ParentChart() : FPointer->ParentPanel();
  bool enabled = false;
  if (panel && panel->View3D()) {
    switch (FPointer->Style()) {
      case psRectangle:
      case psTriangle:
      case psDownTriangle: enabled = true; break;
      case psCircle: enabled = panel->PanelCanvas() && panel->PanelCanvas()->RendersWithoutGdi(); break;
      default: break;
    }
  }
  CB3dPoint->SetEnabled(enabled);
  CBPoDark->SetEnabled(enabled && CB3dPoint->Checked());
}

void TSeriesPointerEditor::ApplyDefaultColorRule() {
  const bool was = FLoading;
  FLoading = true;
  CBDefBrushColor->SetChecked(FPointer->Brush()->Color() == clDefault && FPointer->Pen()->Color() == clDefault);
  FLoading = was;
}

void TSeriesPointerEditor::CBDrawPointClick(TObject*) {
  if (!FLoading) ApplyVisibility(CBDrawPoint->Checked());
}

void TSeriesPointerEditor::CB3dPointClick(TObject*) {
  if (FLoading || !FPointer) return;
  FPointer->SetDraw3D(CB3dPoint->Checked());
  CBPoDark->SetEnabled(CB3dPoint->Checked());
}

void TSeriesPointerEditor::CBPoDarkClick(TObject*) {
  if (!FLoading && FPointer) FPointer->SetDark3D(CBPoDark->Checked());
}

void TSeriesPointerEditor::CBInflateClick(TObject*) {
  if (!FLoading && FPointer) FPointer->SetInflateMargins(CBInflate->Checked());
}

void TSeriesPointerEditor::SEPointHorizSizeChange(TObject*) {
  if (!FLoading && FPointer && FormShowing(this)) FPointer->SetHorizSize(UDPointHorizSize->Position());
}

void TSeriesPointerEditor::SEPointVertSizeChange(TObject*) {
  if (!FLoading && FPointer && FormShowing(this)) FPointer->SetVertSize(UDPointVertSize->Position());
}

void TSeriesPointerEditor::CBStyleChange(TObject*) {
  if (!FPointer || CBStyle->ItemIndex() < 0) return;
  FPointer->SetStyle(static_cast<TSeriesPointerStyle>(CBStyle->ItemIndex()));
  Apply3DRule();
}

void TSeriesPointerEditor::BPointFillColorClick(TObject*) {
  if (!FPointer) return;
  RunBrushDialog(this, FPointer->Brush());
  ApplyDefaultColorRule();
  CBStyle->Invalidate();
}

void TSeriesPointerEditor::BPoinPenColClick(TObject*) {
  if (!FPointer) return;
  ApplyDefaultColorRule();
  CBStyle->Invalidate();
}

void TSeriesPointerEditor::CBDefBrushColorClick(TObject*) {
  if (FLoading || !FPointer) return;
  if (CBDefBrushColor->Checked()) {
    FPointer->Brush()->SetColor(clDefault);
    FPointer->Pen()->SetColor(clDefault);
  } else if (FPointer->Pen()->Color() == clDefault) {
    FPointer->Pen()->SetColor(clBlack);
  }
  BPoinPenCol->Invalidate();
  CBStyle->Invalidate();
}

void TSeriesPointerEditor::CBColorEachClick(TObject*) {
  if (FLoading) return;
  if (TChartSeries* series = TaggedSeries()) series->SetColorEachPoint(CBColorEach->Checked());
}

void TSeriesPointerEditor::BGradientClick(TObject*) {
  if (FPointer) RunGradientEditor(this, FPointer->Gradient(), !FPointer->FullGradient, false);
}

void TSeriesPointerEditor::Button1Click(TObject*) {
  if (FormState().Contains(fsModal)) SetModalResult(mrOk);
  else Close();
}

void TSeriesPointerEditor::CBStyleDrawItem(TWinControl*, int Index, const TRect& Rect, TOwnerDrawState) {
  TCanvas* canvas = CBStyle->Canvas();
  const TColor oldBrush = canvas->Brush()->Color();
  canvas->FillRect(Rect);
  if (Index < 0) return;
  if (FPointer) {
    TColor color = FPointer->Brush()->Color();
    if (color == clDefault && FPointer->Series()) color = FPointer->Series()->SeriesColor();
    {
      TGrafCanvas3D temp;
      temp.AttachCanvas(canvas);
      FPointer->SetupCanvas(&temp, color);
      const auto style = static_cast<TSeriesPointerStyle>(Index);
      // These shapes are lines only: without a border they would not show.
      if ((style == psCross || style == psDiagCross || style == psStar || style == psSmallDot) &&
          !FPointer->Pen()->Visible()) {
        canvas->Pen()->SetStyle(psSolid);
        canvas->Pen()->SetWidth(1);
        canvas->Pen()->SetColor(color);
      }
      FPointer->DrawShapeAt(&temp, false, Rect.Left + 6, Rect.Top + 8, 4, 4, color, style);
    }
  }
  canvas->Brush()->SetStyle(bsClear);
  canvas->Brush()->SetColor(oldBrush);
  canvas->TextOut(Rect.Left + 14, Rect.Top + 2, CBStyle->Items()->Strings(Index));
}

bool RunPointerEditor(TComponent* Owner, TSeriesPointer* Pointer) {
  std::unique_ptr<TSeriesPointerEditor> form(CreateEditorDialog<TSeriesPointerEditor>(Owner));
  form->SetCaption("Pointer");
  form->SetTag(reinterpret_cast<intptr_t>(Pointer));
  form->CBInflate->Hide();
  form->CBColorEach->Hide();
  form->PanelBottom->Show();
  form->SetClientHeight(form->ClientHeight() + form->PanelBottom->Height());
  InvokeControlHook(form.get());
  TSeriesPointer backup(nullptr);
  if (Pointer) {
    backup.Assign(Pointer);
    backup.SizeAdjustable = Pointer->SizeAdjustable;
  }
  if (form->ShowModal() != mrOk && Pointer) Pointer->Assign(&backup);
  return true;
}

TCustomForm* CreateSeriesEditorTab(TWinControl* Parent, TClass FormClass, int, const std::string& Caption,
                                   TObject* Element) {
  if (!FormClass || !FormClass->InheritsFrom(&TCustomForm::StaticClass())) return nullptr;
  auto* form = dynamic_cast<TCustomForm*>(CreateComponentOfClass(FormClass, Parent));
  if (!form) return nullptr;
  form->SetCaption(Caption);
  form->SetTag(reinterpret_cast<intptr_t>(Element));
  return form;
}

TSeriesPointerEditor* AddPointerEditorPage(TWinControl* Parent, TObject* Element, const std::string& Caption) {
  return dynamic_cast<TSeriesPointerEditor*>(
      CreateSeriesEditorTab(Parent, &TSeriesPointerEditor::StaticClass(), -1, Caption, Element));
}

TEditorTabs::~TEditorTabs() { FreeAll(); }

void TEditorTabs::Add(TComponent* Form, std::function<void()> Forget) {
  Form->FreeNotification(this);
  FItems.emplace_back(Form, std::move(Forget));
}

void TEditorTabs::FreeAll() {
  auto items = std::move(FItems);
  FItems.clear();
  for (auto& [form, forget] : items) {
    forget();
    form->RemoveFreeNotification(this);
    delete form;
  }
}

void TEditorTabs::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  for (auto it = FItems.begin(); it != FItems.end(); ++it)
    if (it->first == AComponent) {
      it->second();
      FItems.erase(it);
      return;
    }
}

void LinkSeriesColorButton(TButtonColor* Button, TChartSeries* Series) {
  Button->OnGetColor = Series ? std::function<TColor()>([Series] { return static_cast<TColor>(ColorToRGB(Series->SeriesColor())); })
                              : std::function<TColor()>();
  Button->LinkProperty(Series, "SeriesColor");
}

bool ReadTypedNumber(const std::string& Text, double& Value) { return TryStrToFloat(Text, Value); }

void ReportUnreadableNumber(TEdit* Edit, bool AllowEmpty) {
  if (!Edit) return;
  const std::string text = Edit->Text();
  double value;
  if (ReadTypedNumber(text, value) || (AllowEmpty && Trim(text).empty())) return;
  ShowMessage(Format("'%s' is not a valid floating point value", {text}));
}

void RegisterPointerEditorClasses() { RegisterClasses({&TSeriesPointerEditor::StaticClass()}); }
