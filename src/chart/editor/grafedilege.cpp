#include "chart/editor/grafedilege.h"

#include <algorithm>
#include <vector>

#include "chart/core/grafutils.h"
#include "chart/editor/editorbuild.h"

using namespace editorbuild;

namespace {

TEdit* MakeSpin(TComponent* Owner, TWinControl* Parent, const char* Edit, const char* Ud, int Left, int Top,
                TUpDown*& UpDown, int Min, int Max, int Increment = 1) {
  TEdit* e = Make<TEdit>(Owner, Parent, Edit, Left, Top, 40, 21);
  e->SetText("0");
  UpDown = Make<TUpDown>(Owner, Parent, Ud, Left + 40, Top, 15, 21);
  UpDown->SetMin(Min);
  UpDown->SetMax(Max);
  UpDown->SetIncrement(Increment);
  UpDown->SetThousands(false);
  UpDown->SetAssociate(e);
  UpDown->SetPosition(0);
  return e;
}

TTabSheet* MakeSheet(TComponent* Owner, TPageControl* Pages, const char* Name, const char* Caption) {
  auto* sheet = new TTabSheet(Owner);
  sheet->SetName(Name);
  sheet->SetCaption(Caption);
  sheet->SetPageControl(Pages);
  return sheet;
}

std::vector<std::string> LinesOf(const TStrings* Text) {
  std::vector<std::string> lines;
  for (int i = 0; i < Text->Count(); ++i) lines.push_back(Text->Strings(i));
  return lines;
}

std::string MemoTextOf(const TStrings* Text) {
  std::string s;
  for (int i = 0; i < Text->Count(); ++i) s += (i ? "\r\n" : "") + Text->Strings(i);
  return s;
}

}  // namespace

ZV_CLASS_IMPL_NOPROPS(TFormGrafLegend, TForm)

TFormGrafLegend::TFormGrafLegend(TComponent* AOwner) : TForm(AOwner) {
  Filling = true;
  SetClientWidth(392);
  SetClientHeight(228);
  PageControl1 = Make<TPageControl>(this, this, "PageControl1", 0, 0, 392, 228);
  PageControl1->SetAlign(alClient);
  PageControl1->SetHotTrack(true);
  TabSheet1 = MakeSheet(this, PageControl1, "TabSheet1", "Style");
  TabSheet3 = MakeSheet(this, PageControl1, "TabSheet3", "Position");
  TabSymbol = MakeSheet(this, PageControl1, "TabSymbol", "Symbols");
  TabTitle = MakeSheet(this, PageControl1, "TabTitle", "Title");

  // Style
  CBShow = Make<TCheckBox>(this, TabSheet1, "CBShow", 6, 6, 90, 17, "&Visible");
  CBInverted = Make<TCheckBox>(this, TabSheet1, "CBInverted", 6, 26, 90, 17, "&Inverted");
  CBLegendStyle = Make<TComboFlat>(this, TabSheet1, "CBLegendStyle", 200, 4, 120, 21);
  CBLegendStyle->SetStyle(csDropDownList);
  for (const char* s : {"Automatic", "Series Names", "Series Values", "Last Values"}) CBLegendStyle->Items()->Add(s);
  MakeLabel(this, TabSheet1, "LLegendStyle", 120, 8, "Legend &Style:", CBLegendStyle);
  CBLegStyle = Make<TComboFlat>(this, TabSheet1, "CBLegStyle", 200, 30, 120, 21);
  CBLegStyle->SetStyle(csDropDownList);
  for (const char* s : {"Plain", "Left Value", "Right Value", "Left Percent", "Right Percent", "X Value", "Value",
                        "Percent", "X and Value", "X and Percent"})
    CBLegStyle->Items()->Add(s);
  MakeLabel(this, TabSheet1, "LLegStyle", 120, 34, "Text St&yle:", CBLegStyle);
  BDivLines = Make<TButtonPen>(this, TabSheet1, "BDivLines", 6, 56, 110, 25, "&Dividing Lines...");
  EVertSpacing = MakeSpin(this, TabSheet1, "EVertSpacing", "UDVertSpacing", 200, 58, UDVertSpacing, -10, 100);
  MakeLabel(this, TabSheet1, "LVertSpacing", 120, 62, "V&ert. Spacing:", EVertSpacing);
  CBFontColor = Make<TCheckBox>(this, TabSheet1, "CBFontColor", 6, 90, 140, 17, "&Font Series Color");
  CBCheckBoxes = Make<TComboFlat>(this, TabSheet1, "CBCheckBoxes", 6, 112, 130, 21);
  CBCheckBoxes->SetStyle(csDropDownList);
  for (const char* s : {"No check boxes", "Check boxes", "Radio buttons"}) CBCheckBoxes->Items()->Add(s);

  // Position
  CBResizeChart = Make<TCheckBox>(this, TabSheet3, "CBResizeChart", 6, 6, 110, 17, "Resi&ze Chart");
  CBResizeChart->SetChecked(true);
  SETopPos = MakeSpin(this, TabSheet3, "SETopPos", "UDTopPos", 110, 28, UDTopPos, -100, 100);
  MakeLabel(this, TabSheet3, "LTopPos", 6, 32, "&Position Offset %:", SETopPos);
  SEMargin = MakeSpin(this, TabSheet3, "SEMargin", "UDMargin", 110, 54, UDMargin, -1000, 1000);
  MakeLabel(this, TabSheet3, "LMargin", 6, 58, "&Margin:", SEMargin);
  RGPosition = Make<TRadioGroup>(this, TabSheet3, "RGPosition", 6, 84, 110, 110, "Position");
  for (const char* s : {"&Left", "&Right", "&Top", "&Bottom"}) RGPosition->Items()->Add(s);
  GBCustom = Make<TGroupBox>(this, TabSheet3, "GBCustom", 180, 6, 190, 110, "");
  CBCustPos = Make<TCheckBox>(this, GBCustom, "CBCustPos", 8, 0, 80, 17, "&Custom:");
  ECustLeft = MakeSpin(this, GBCustom, "ECustLeft", "UDLeft", 60, 22, UDLeft, -100, 1000, 5);
  MakeLabel(this, GBCustom, "LCustLeft", 8, 26, "L&eft:", ECustLeft);
  ECustTop = MakeSpin(this, GBCustom, "ECustTop", "UDTop", 60, 48, UDTop, -100, 1000, 5);
  MakeLabel(this, GBCustom, "LCustTop", 8, 52, "T&op:", ECustTop);
  CBPosPercent = Make<TCheckBox>(this, GBCustom, "CBPosPercent", 8, 76, 80, 17, "Percent");
  for (TControl* c : std::initializer_list<TControl*>{ECustLeft, UDLeft, ECustTop, UDTop}) c->SetEnabled(false);

  // Title
  PageControl2 = Make<TPageControl>(this, TabTitle, "PageControl2", 0, 0, 384, 200);
  PageControl2->SetAlign(alClient);
  TabSheet4 = MakeSheet(this, PageControl2, "TabSheet4", "Options");
  MemoText = Make<TMemo>(this, TabSheet4, "MemoText", 6, 22, 200, 90);
  MakeLabel(this, TabSheet4, "LText", 6, 6, "&Text:", MemoText);
  CBTextAlign = Make<TComboFlat>(this, TabSheet4, "CBTextAlign", 220, 22, 90, 21);
  CBTextAlign->SetStyle(csDropDownList);
  for (const char* s : {"Left", "Center", "Right"}) CBTextAlign->Items()->Add(s);
  MakeLabel(this, TabSheet4, "LTextAlign", 220, 6, "Text &alignment:", CBTextAlign);
  CBTitleVisible = Make<TCheckBox>(this, TabSheet4, "CBTitleVisible", 220, 52, 80, 17, "&Visible");

  CBShow->OnClick = [this](TObject* s) { CBShowClick(s); };
  CBInverted->OnClick = [this](TObject* s) { CBInvertedClick(s); };
  CBLegendStyle->OnChange = [this](TObject* s) { CBLegendStyleChange(s); };
  CBLegStyle->OnChange = [this](TObject* s) { CBLegStyleChange(s); };
  EVertSpacing->OnChange = [this](TObject* s) { EVertSpacingChange(s); };
  CBFontColor->OnClick = [this](TObject* s) { CBFontColorClick(s); };
  CBCheckBoxes->OnChange = [this](TObject* s) { CBCheckBoxesChange(s); };
  CBResizeChart->OnClick = [this](TObject* s) { CBResizeChartClick(s); };
  SETopPos->OnChange = [this](TObject* s) { SETopPosChange(s); };
  SEMargin->OnChange = [this](TObject* s) { SEMarginChange(s); };
  RGPosition->OnClick = [this](TObject* s) { RGPositionClick(s); };
  CBCustPos->OnClick = [this](TObject* s) { CBCustPosClick(s); };
  ECustLeft->OnChange = [this](TObject* s) { ECustLeftChange(s); };
  ECustTop->OnChange = [this](TObject* s) { ECustTopChange(s); };
  CBPosPercent->OnClick = [this](TObject* s) { CBPosPercentClick(s); };
  MemoText->OnChange = [this](TObject* s) { MemoTextChange(s); };
  CBTextAlign->OnChange = [this](TObject* s) { CBTextAlignChange(s); };
  CBTitleVisible->OnClick = [this](TObject* s) { CBTitleVisibleClick(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  FormCreate(this);
}

TFormGrafLegend* TFormGrafLegend::CreateForLegend(TComponent* AOwner, TCustomChartLegend* Legend) {
  auto* form = new TFormGrafLegend(AOwner);
  form->BindLegend(Legend);
  return form;
}

void TFormGrafLegend::BindLegend(TCustomChartLegend* Legend) {
  EditedLegend = Legend;
  if (!Legend) return;
  if (!LegendShapeEditor) {
    LegendShapeEditor = EmbedShapeEditor(PageControl1, Legend);
    TitleShapeEditor = EmbedShapeEditor(PageControl2, Legend->Title());
  } else {
    LegendShapeEditor->BindShape(Legend);
    TitleShapeEditor->BindShape(Legend->Title());
  }
}

void TFormGrafLegend::FormCreate(TObject*) {
  Filling = true;
  PageControl1->SetActivePage(TabSheet1);
}

void TFormGrafLegend::FormShow(TObject*) {
  TCustomChartLegend* l = EditedLegend;
  if (!l) return;
  Filling = true;
  UDTopPos->SetPosition(l->TopPos());
  CBCustPos->SetChecked(l->CustomPosition());
  CBPosPercent->SetChecked(l->PositionUnits() == muPercent);
  FillCustomPosition();
  CBFontColor->SetChecked(l->FontSeriesColor());
  CBResizeChart->SetChecked(l->ResizeChart());
  CBLegendStyle->SetItemIndex(l->LegendStyle());
  CBLegStyle->SetItemIndex(l->TextStyle());
  CBShow->SetChecked(l->Visible());
  CBInverted->SetChecked(l->Inverted());
  CBCheckBoxes->SetItemIndex(!l->CheckBoxes() ? 0 : l->CheckBoxesStyle() == cbsRadio ? 2 : 1);
  RGPosition->SetItemIndex(l->Alignment());
  UDVertSpacing->SetPosition(l->VertSpacing());
  BDivLines->LinkPen(l->DividingLines());
  UDMargin->SetPosition(l->StacksVertically() ? l->HorizMargin() : l->VertMargin());
  EnableCustomPosition();
  if (!FSymbolEditor) {
    FSymbolEditor = new TSymbolEditor(this);
    FSymbolEditor->SetName("SymbolEditor");
    FSymbolEditor->SetCaption("Legend Symbol Editor");
    EmbedEditorForm(FSymbolEditor, TabSymbol, l->Symbol());
  } else {
    FSymbolEditor->BindSymbol(l->Symbol());
  }
  MemoText->SetText(MemoTextOf(l->Title()->Text()));
  const TAlignment align = l->Title()->TextAlignment();
  CBTextAlign->SetItemIndex(align == taLeftJustify ? 0 : align == taCenter ? 1 : 2);
  CBTitleVisible->SetChecked(l->Title()->Visible());
  if (LegendShapeEditor) LegendShapeEditor->BindShape(l);
  if (TitleShapeEditor) TitleShapeEditor->BindShape(l->Title());
  Filling = false;
}

void TFormGrafLegend::FillCustomPosition() {
  TCustomChartLegend* l = EditedLegend;
  const bool was = Filling;
  Filling = true;
  if (l->PositionUnits() == muPercent) {
    UDLeft->SetPosition(l->LeftPercent());
    UDTop->SetPosition(l->TopPercent());
  } else {
    UDLeft->SetPosition(l->Left());
    UDTop->SetPosition(l->Top());
  }
  Filling = was;
}

void TFormGrafLegend::EnableCustomPosition() {
  const bool was = Filling;
  Filling = true;
  FillCustomPosition();
  const bool custom = EditedLegend->CustomPosition();
  for (TControl* c : std::initializer_list<TControl*>{ECustLeft, ECustTop, UDLeft, UDTop, CBPosPercent})
    c->SetEnabled(custom);
  for (TControl* c : std::initializer_list<TControl*>{CBResizeChart, SEMargin, UDMargin, SETopPos, UDTopPos})
    c->SetEnabled(!custom);
  Filling = was;
}

void TFormGrafLegend::CBShowClick(TObject*) {
  if (!Quiet()) EditedLegend->SetVisible(CBShow->Checked());
}

void TFormGrafLegend::CBInvertedClick(TObject*) {
  if (!Quiet()) EditedLegend->SetInverted(CBInverted->Checked());
}

void TFormGrafLegend::CBLegendStyleChange(TObject*) {
  if (!Quiet() && CBLegendStyle->ItemIndex() >= 0)
    EditedLegend->SetLegendStyle(static_cast<TLegendStyle>(CBLegendStyle->ItemIndex()));
}

void TFormGrafLegend::CBLegStyleChange(TObject*) {
  if (!Quiet() && CBLegStyle->ItemIndex() >= 0)
    EditedLegend->SetTextStyle(static_cast<TLegendTextStyle>(CBLegStyle->ItemIndex()));
}

void TFormGrafLegend::EVertSpacingChange(TObject*) {
  if (!Quiet()) EditedLegend->SetVertSpacing(UDVertSpacing->Position());
}

void TFormGrafLegend::CBFontColorClick(TObject*) {
  if (!Quiet()) EditedLegend->SetFontSeriesColor(CBFontColor->Checked());
}

void TFormGrafLegend::CBCheckBoxesChange(TObject*) {
  if (Quiet() || CBCheckBoxes->ItemIndex() < 0) return;
  const int item = CBCheckBoxes->ItemIndex();
  EditedLegend->SetCheckBoxes(item > 0);
  // "No check boxes" keeps the radio style.
  EditedLegend->SetCheckBoxesStyle(item == 1 ? cbsCheck : cbsRadio);
}

void TFormGrafLegend::CBResizeChartClick(TObject*) {
  if (!Quiet()) EditedLegend->SetResizeChart(CBResizeChart->Checked());
}

void TFormGrafLegend::SETopPosChange(TObject*) {
  if (!Quiet()) EditedLegend->SetTopPos(UDTopPos->Position());
}

void TFormGrafLegend::SEMarginChange(TObject*) {
  if (Quiet()) return;
  if (EditedLegend->StacksVertically()) EditedLegend->SetHorizMargin(UDMargin->Position());
  else EditedLegend->SetVertMargin(UDMargin->Position());
}

void TFormGrafLegend::RGPositionClick(TObject*) {
  if (!Quiet() && RGPosition->ItemIndex() >= 0)
    EditedLegend->SetAlignment(static_cast<TLegendAlignment>(RGPosition->ItemIndex()));
}

void TFormGrafLegend::CBCustPosClick(TObject*) {
  if (Quiet()) return;
  EditedLegend->SetCustomPosition(CBCustPos->Checked());
  if (EditedLegend->CustomPosition()) {
    EditedLegend->SetResizeChart(false);
    const bool was = Filling;
    Filling = true;
    CBResizeChart->SetChecked(false);
    Filling = was;
  }
  EnableCustomPosition();
}

void TFormGrafLegend::ECustLeftChange(TObject*) {
  if (Quiet() || !EditedLegend->CustomPosition()) return;
  if (EditedLegend->PositionUnits() == muPercent) EditedLegend->SetLeftPercent(UDLeft->Position());
  else EditedLegend->SetLeft(UDLeft->Position());
}

void TFormGrafLegend::ECustTopChange(TObject*) {
  if (Quiet() || !EditedLegend->CustomPosition()) return;
  if (EditedLegend->PositionUnits() == muPercent) EditedLegend->SetTopPercent(UDTop->Position());
  else EditedLegend->SetTop(UDTop->Position());
}

void TFormGrafLegend::CBPosPercentClick(TObject*) {
  if (Quiet()) return;
  EditedLegend->SetPositionUnits(CBPosPercent->Checked() ? muPercent : muPixels);
  FillCustomPosition();
}

void TFormGrafLegend::MemoTextChange(TObject*) {
  if (Quiet()) return;
  std::vector<std::string> lines = MemoText->Lines();
  // Line feeds go; carriage returns still break the lines.
  for (std::string& line : lines) line.erase(std::remove(line.begin(), line.end(), '\n'), line.end());
  if (lines == LinesOf(EditedLegend->Title()->Text())) return;
  TStringList text;
  for (const std::string& line : lines) text.Add(line);
  EditedLegend->Title()->SetText(&text);
}

void TFormGrafLegend::CBTextAlignChange(TObject*) {
  if (Quiet()) return;
  const int i = CBTextAlign->ItemIndex();
  EditedLegend->Title()->SetTextAlignment(i == 0 ? taLeftJustify : i == 1 ? taCenter : taRightJustify);
}

void TFormGrafLegend::CBTitleVisibleClick(TObject*) {
  if (!Quiet()) EditedLegend->Title()->SetVisible(CBTitleVisible->Checked());
}

void RegisterLegendPageClasses() { RegisterClasses({&TFormGrafLegend::StaticClass()}); }
