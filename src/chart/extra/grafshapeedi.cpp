#include "chart/extra/grafshapeedi.h"

#include "chart/core/chart.h"
#include "chart/editor/editorbuild.h"
#include "chart/editor/grafbrushdlg.h"
#include "chart/editor/grafpoedi.h"
#include "chart/extra/grafshape.h"
#include "platform/rtl/format.h"
#include "platform/rtl/strutils.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TChartShapeEditor, TForm)

namespace {
TTabSheet* MakeSheet(TComponent* Owner, TPageControl* Pages, const char* Name, const char* Caption) {
  auto* t = new TTabSheet(Owner);
  t->SetName(Name);
  t->SetCaption(Caption);
  t->SetPageControl(Pages);
  return t;
}

TComboFlat* MakeList(TComponent* Owner, TWinControl* Parent, const char* Name, int Left, int Top, int Width,
                     std::initializer_list<const char*> Items) {
  auto* c = Make<TComboFlat>(Owner, Parent, Name, Left, Top, Width, 21);
  c->SetStyle(csDropDownList);
  c->SetDropDownCount(static_cast<int>(Items.size()));
  for (const char* s : Items) c->Items()->Add(s);
  return c;
}

TRadioGroup* MakeRadios(TComponent* Owner, TWinControl* Parent, const char* Name, int Left, int Top,
                        const char* Caption, std::initializer_list<const char*> Items) {
  auto* g = Make<TRadioGroup>(Owner, Parent, Name, Left, Top, 96, 72, Caption);
  for (const char* s : Items) g->Items()->Add(s);
  return g;
}

std::string CornerText(double Value) { return FloatToStr(Value); }

TAlignment AlignmentOfItem(int Index) {
  return Index == 0 ? taLeftJustify : Index == 2 ? taRightJustify : taCenter;
}

int ItemOfAlignment(TAlignment Value) { return Value == taLeftJustify ? 0 : Value == taRightJustify ? 2 : 1; }
}  // namespace

TChartShapeEditor::TChartShapeEditor(TComponent* AOwner) : TForm(AOwner) {
  SetClientWidth(396);
  SetClientHeight(180);
  PageControl1 = Make<TPageControl>(this, this, "PageControl1", 0, 0, 396, 180);
  PageControl1->SetAlign(alClient);
  TabStyle = MakeSheet(this, PageControl1, "TabStyle", "Style");
  TabPosition = MakeSheet(this, PageControl1, "TabPosition", "Position");
  TabFont = MakeSheet(this, PageControl1, "TabFont", "Text");

  CBStyle = MakeList(this, TabStyle, "CBStyle", 48, 6, 130,
                     {"Rectangle", "Circle", "Vertical Line", "Horiz. Line", "Triangle", "Invert. Triangle", "Line",
                      "Diamond", "Cube", "Cross", "Diagonal Cross", "Star", "Pyramid", "Invert. Pyramid"});
  Label1 = MakeLabel(this, TabStyle, "Label1", 6, 10, "&Style:", CBStyle);
  BShapeColor = Make<TButtonColor>(this, TabStyle, "BShapeColor", 6, 32, 84, 25, "&Color...");
  BShapePen = Make<TButtonPen>(this, TabStyle, "BShapePen", 94, 32, 84, 25, "Bor&der...");
  BShapeBrush = Make<TButton>(this, TabStyle, "BShapeBrush", 6, 60, 84, 25, "&Pattern...");
  BGradient = Make<TButtonGradient>(this, TabStyle, "BGradient", 94, 60, 84, 25, "&Gradient...");
  CBTrans = Make<TCheckBox>(this, TabStyle, "CBTrans", 6, 92, 120, 17, "Tra&nsparent");
  CBRound = Make<TCheckBox>(this, TabStyle, "CBRound", 6, 114, 130, 17, "&Round Rectangle");
  MemoText = Make<TMemo>(this, TabStyle, "MemoText", 286, 22, 100, 120);
  Label2 = MakeLabel(this, TabStyle, "Label2", 286, 6, "Te&xt:", MemoText);
  RGAlign = MakeRadios(this, TabStyle, "RGAlign", 184, 0, "&Horiz. Alignment", {"Left", "Center", "Right"});
  RGVertAlign = MakeRadios(this, TabStyle, "RGVertAlign", 184, 74, "&Alignment", {"Top", "Center", "Bottom"});

  SEX0 = Make<TEdit>(this, TabPosition, "SEX0", 60, 8, 90, 21);
  Label3 = MakeLabel(this, TabPosition, "Label3", 8, 12, "&Left:", SEX0);
  SEY0 = Make<TEdit>(this, TabPosition, "SEY0", 60, 36, 90, 21);
  Label4 = MakeLabel(this, TabPosition, "Label4", 8, 40, "&Top:", SEY0);
  SEX1 = Make<TEdit>(this, TabPosition, "SEX1", 60, 64, 90, 21);
  Label5 = MakeLabel(this, TabPosition, "Label5", 8, 68, "&Right", SEX1);
  SEY1 = Make<TEdit>(this, TabPosition, "SEY1", 60, 92, 90, 21);
  Label6 = MakeLabel(this, TabPosition, "Label6", 8, 96, "&Bottom:", SEY1);
  CBUnits = MakeList(this, TabPosition, "CBUnits", 60, 128, 100, {"Pixels", "Axis", "Axis Origin"});
  Label7 = MakeLabel(this, TabPosition, "Label7", 8, 132, "&Units:", CBUnits);

  CBStyle->OnChange = [this](TObject* s) { CBStyleChange(s); };
  BShapeBrush->OnClick = [this](TObject* s) { BShapeBrushClick(s); };
  CBTrans->OnClick = [this](TObject* s) { CBTransClick(s); };
  MemoText->OnChange = [this](TObject* s) { MemoTextChange(s); };
  RGAlign->OnClick = [this](TObject* s) { RGAlignClick(s); };
  RGVertAlign->OnClick = [this](TObject* s) { RGVertAlignClick(s); };
  CBRound->OnClick = [this](TObject* s) { CBRoundClick(s); };
  for (TEdit* e : {SEX0, SEY0, SEX1, SEY1}) e->OnChange = [this](TObject* s) { CornerChange(s); };
  CBUnits->OnChange = [this](TObject* s) { CBUnitsChange(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  FormCreate(this);
}

void TChartShapeEditor::FormCreate(TObject*) {
  FLoading = true;
  FFontEditor = EmbedFontEditor(TabFont);
  PageControl1->SetActivePage(TabStyle);
}

void TChartShapeEditor::FormShow(TObject*) {
  Shape = dynamic_cast<TChartShape*>(reinterpret_cast<TObject*>(Tag()));
  if (!Shape) return;
  FLoading = true;
  CBStyle->SetItemIndex(Shape->Style());
  CBTrans->SetChecked(Shape->Transparent());
  if (Shape->Count() == 2) {
    SEX0->SetText(CornerText(Shape->X0()));
    SEY0->SetText(CornerText(Shape->Y0()));
    SEX1->SetText(CornerText(Shape->X1()));
    SEY1->SetText(CornerText(Shape->Y1()));
  }
  MemoText->Font()->Assign(Shape->Font());
  std::string text;
  for (int i = 0; i < Shape->Text()->Count(); ++i) text += (i ? "\r\n" : "") + Shape->Text()->Strings(i);
  MemoText->SetText(text);
  RGAlign->SetItemIndex(ItemOfAlignment(Shape->Alignment()));
  RGVertAlign->SetItemIndex(Shape->VertAlign());
  CBRound->SetChecked(Shape->RoundRectangle());
  CBUnits->SetItemIndex(Shape->XYStyle());
  CBRound->SetEnabled(Shape->Style() == chasRectangle && !(Shape->ParentChart() && Shape->ParentChart()->View3D()));
  BShapePen->LinkPen(Shape->Pen());
  BGradient->LinkGradient(Shape->Gradient());
  LinkSeriesColorButton(BShapeColor, Shape);
  if (FFontEditor) FFontEditor->BindFont(Shape->Font());
  FLoading = false;
}

void TChartShapeEditor::CBStyleChange(TObject*) {
  if (FLoading || !Shape || CBStyle->ItemIndex() < 0) return;
  Shape->SetStyle(static_cast<TChartShapeStyle>(CBStyle->ItemIndex()));
  CBRound->SetEnabled(Shape->Style() == chasRectangle);
}

void TChartShapeEditor::BShapeBrushClick(TObject*) {
  if (!Shape) return;
  RunBrushDialog(this, Shape->Brush());
  BShapeColor->Invalidate();
}

void TChartShapeEditor::CBTransClick(TObject*) {
  if (!FLoading && Shape) Shape->SetTransparent(CBTrans->Checked());
}

void TChartShapeEditor::MemoTextChange(TObject*) {
  if (FLoading || !Shape) return;
  TStringList lines;
  for (const std::string& l : MemoText->Lines()) lines.Add(l);
  Shape->SetText(&lines);
}

void TChartShapeEditor::RGAlignClick(TObject*) {
  if (!FLoading && Shape && RGAlign->ItemIndex() >= 0) Shape->SetAlignment(AlignmentOfItem(RGAlign->ItemIndex()));
}

void TChartShapeEditor::RGVertAlignClick(TObject*) {
  if (!FLoading && Shape && RGVertAlign->ItemIndex() >= 0)
    Shape->SetVertAlign(static_cast<TGrafVertAlign>(RGVertAlign->ItemIndex()));
}

void TChartShapeEditor::CBRoundClick(TObject*) {
  if (!FLoading && Shape) Shape->SetRoundRectangle(CBRound->Checked());
}

void TChartShapeEditor::CornerChange(TObject* Sender) {
  if (FLoading || !Shape || !FormShowing(this)) return;
  auto* edit = dynamic_cast<TEdit*>(Sender);
  if (!edit || Trim(edit->Text()).empty()) return;
  // A half-typed or wrong number leaves the corner as it was.
  double value;
  if (!TryStrToFloat(edit->Text(), value)) return;
  if (edit == SEX0) Shape->SetX0(value);
  else if (edit == SEY0) Shape->SetY0(value);
  else if (edit == SEX1) Shape->SetX1(value);
  else if (edit == SEY1) Shape->SetY1(value);
}

void TChartShapeEditor::CBUnitsChange(TObject*) {
  if (!FLoading && Shape && CBUnits->ItemIndex() >= 0)
    Shape->SetXYStyle(static_cast<TChartShapeXYStyle>(CBUnits->ItemIndex()));
}
