#include "chart/editor/grafediaxis.h"

#include <cmath>
#include <memory>

#include "chart/core/chart.h"
#include "chart/core/grafconst.h"
#include "chart/core/grafutils.h"
#include "chart/editor/editorbuild.h"
#include "chart/editor/grafaxisincr.h"
#include "chart/editor/grafformatting.h"
#include "platform/dialogs.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/format.h"
#include "platform/rtl/formatsettings.h"
#include "platform/rtl/strutils.h"

using namespace editorbuild;

namespace {

const double kE = std::exp(1.0);

// e with every digit needed to read back as the same double.
std::string ExactEText() { return FloatToStrF(kE, ffGeneral, 17, 0); }

TEdit* MakeSpin(TComponent* Owner, TWinControl* Parent, const char* Edit, const char* Ud, int Left, int Top,
                TUpDown*& UpDown, int Min, int Max, int Increment = 1, int Width = 40) {
  TEdit* e = Make<TEdit>(Owner, Parent, Edit, Left, Top, Width, 21);
  e->SetText("0");
  UpDown = Make<TUpDown>(Owner, Parent, Ud, Left + Width, Top, 15, 21);
  UpDown->SetMin(Min);
  UpDown->SetMax(Max);
  UpDown->SetIncrement(Increment);
  UpDown->SetThousands(false);
  UpDown->SetAssociate(e);
  UpDown->SetPosition(Min > 0 ? Min : (Max < 0 ? Max : 0));
  return e;
}

TTabSheet* MakeSheet(TComponent* Owner, TPageControl* Pages, const char* Name, const char* Caption) {
  auto* sheet = new TTabSheet(Owner);
  sheet->SetName(Name);
  sheet->SetCaption(Caption);
  sheet->SetPageControl(Pages);
  return sheet;
}

int RoundToInt(double Value) { return static_cast<int>(std::nearbyint(Value)); }

}  // namespace

void FillAxisNames(TCustomAxisPanel* Chart, TStrings* List, bool DepthAxes) {
  List->Clear();
  List->Add(GrafMsgLeftAxis);
  List->Add(GrafMsgRightAxis);
  List->Add(GrafMsgTopAxis);
  List->Add(GrafMsgBottomAxis);
  if (DepthAxes) {
    List->Add(GrafMsgDepthRight);
    List->Add(GrafMsgDepthTop);
  }
  if (Chart && Chart->AxesList()->Count() > 6)
    for (int i = 6; i < Chart->AxesList()->Count(); ++i) List->Add(GrafMsgCustomPrefix + IntToStr(i - 6));
}

// ---- The axis end dialog -------------------------------------------------------

ZV_CLASS_IMPL_NOPROPS(TAxisMaxMin, TForm)

TAxisMaxMin::TAxisMaxMin(TComponent* AOwner) : TForm(AOwner) {
  SetCaption("Axis Maximum and Minimum");
  SetPosition(poScreenCenter);
  SetClientWidth(240);
  SetClientHeight(104);
  EMaximum = Make<TEdit>(this, this, "EMaximum", 64, 12, 160, 21);
  EMaximum->SetHint("Enter Date");
  EMaximum->SetShowHint(true);
  Label1 = MakeLabel(this, this, "Label1", 12, 16, "&Date:", EMaximum);
  EMinimum = Make<TEdit>(this, this, "EMinimum", 64, 40, 160, 21);
  EMinimum->SetHint("Enter Time");
  EMinimum->SetShowHint(true);
  Label2 = MakeLabel(this, this, "Label2", 12, 44, "&Time:", EMinimum);
  BitBtn1 = Make<TButton>(this, this, "BitBtn1", 68, 72, 75, 25, "OK");
  BitBtn1->SetDefault(true);
  BitBtn2 = MakeCancelButton(this, this, "BitBtn2", 150, 72);
  SetActiveControl(EMaximum);
  BitBtn1->OnClick = [this](TObject* s) { BitBtn1Click(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  FormCreate(this);
}

void TAxisMaxMin::FormCreate(TObject*) { SetBorderStyle(bsDialog); }

void TAxisMaxMin::FormShow(TObject*) {
  if (IsDateTime) {
    if (Value >= 1) {
      EMaximum->SetText(DateToStr(Value));
    } else {
      Label1->SetVisible(false);
      EMaximum->SetVisible(false);
    }
    EMinimum->SetText(TimeToStr(Value));
  } else {
    EMaximum->SetHint("");
    EMinimum->SetHint("");
    Label1->SetCaption("Value:");
    EMaximum->SetText(FloatToStr(Value));
    Label2->SetVisible(false);
    EMinimum->SetVisible(false);
  }
}

void TAxisMaxMin::BitBtn1Click(TObject*) {
  try {
    if (!IsDateTime) Value = StrToFloat(EMaximum->Text());
    else if (EMaximum->Visible()) Value = StrToDateTime(EMaximum->Text() + " " + EMinimum->Text());
    else Value = StrToTime(EMinimum->Text());
  } catch (const std::exception& e) {
    ShowMessage(Format(GrafMsgIncorrectValueReasonS, {std::string(e.what())}));
    return;
  }
  SetModalResult(mrOk);
}

// ---- The axis page -------------------------------------------------------------

ZV_CLASS_IMPL_NOPROPS(TFormGrafAxis, TForm)

TFormGrafAxis::TFormGrafAxis(TComponent* AOwner, TChartAxis* Axis) : TForm(AOwner), CurrentAxis(Axis) {
  FillingPage = true;
  FillingScales = false;
  SetClientWidth(400);
  SetClientHeight(248);

  LBAxes = Make<TListBox>(this, this, "LBAxes", 4, 20, 96, 160);
  LAxes = MakeLabel(this, this, "LAxes", 4, 4, "A&xes:", LBAxes);
  BAdd = Make<TSpeedButton>(this, this, "BAdd", 4, 184, 23, 22, "+");
  BAdd->SetFlat(true);
  BDelete = Make<TSpeedButton>(this, this, "BDelete", 30, 184, 23, 22, "-");
  BDelete->SetFlat(true);
  BDelete->SetEnabled(false);
  CBShow = Make<TCheckBox>(this, this, "CBShow", 4, 208, 96, 17, "Visible");
  CBAxisBeh = Make<TCheckBox>(this, this, "CBAxisBeh", 4, 228, 96, 17, "&Behind");
  PageAxis = Make<TPageControl>(this, this, "PageAxis", 104, 4, 292, 240);
  PageAxis->SetHotTrack(true);

  // Scales
  TabScales = MakeSheet(this, PageAxis, "TabScales", "Scales");
  CBAutomatic = Make<TCheckBox>(this, TabScales, "CBAutomatic", 6, 6, 90, 17, "&Automatic");
  CBVisible = Make<TCheckBox>(this, TabScales, "CBVisible", 6, 26, 90, 17, "&Visible");
  CBInverted = Make<TCheckBox>(this, TabScales, "CBInverted", 6, 46, 90, 17, "&Inverted");
  CBLogarithmic = Make<TCheckBox>(this, TabScales, "CBLogarithmic", 6, 66, 90, 17, "Logarith&mic");
  ELogBase = Make<TEdit>(this, TabScales, "ELogBase", 62, 86, 50, 21);
  ELogBase->SetText("10");
  LLogBase = MakeLabel(this, TabScales, "LLogBase", 6, 90, "L&og Base:", ELogBase);
  LogE = Make<TCheckBox>(this, TabScales, "LogE", 116, 88, 28, 17, "e");
  L6 = MakeLabel(this, TabScales, "L6", 6, 118, "Desired Increment:");
  LAxisIncre = MakeLabel(this, TabScales, "LAxisIncre", 6, 134, "");
  BIncre = Make<TButton>(this, TabScales, "BIncre", 6, 152, 75, 25, "&Change...");
  PageControl1 = Make<TPageControl>(this, TabScales, "PageControl1", 148, 4, 134, 140);
  TabSheet1 = MakeSheet(this, PageControl1, "TabSheet1", "Minimum");
  TabSheet2 = MakeSheet(this, PageControl1, "TabSheet2", "Maximum");
  CBAutoMin = Make<TCheckBox>(this, TabSheet1, "CBAutoMin", 6, 6, 60, 17, "Aut&o");
  LAxisMin = MakeLabel(this, TabSheet1, "LAxisMin", 6, 28, "(min)");
  BAxisMin = Make<TButton>(this, TabSheet1, "BAxisMin", 6, 46, 75, 25, "Cha&nge...");
  EMinOff = MakeSpin(this, TabSheet1, "EMinOff", "UDMinOff", 50, 80, UDMinOff, -10000, 10000);
  MakeLabel(this, TabSheet1, "LMinOff", 6, 84, "Offset:", EMinOff);
  CBAutoMax = Make<TCheckBox>(this, TabSheet2, "CBAutoMax", 6, 6, 60, 17, "A&uto");
  LAxisMax = MakeLabel(this, TabSheet2, "LAxisMax", 6, 28, "(max)");
  BAxisMax = Make<TButton>(this, TabSheet2, "BAxisMax", 6, 46, 75, 25, "C&hange...");
  EMaxOff = MakeSpin(this, TabSheet2, "EMaxOff", "UDMaxOff", 50, 80, UDMaxOff, -10000, 10000);
  MakeLabel(this, TabSheet2, "LMaxOff", 6, 84, "Offset:", EMaxOff);

  // Title
  TabTitle = MakeSheet(this, PageAxis, "TabTitle", "Title");
  PageTitle = Make<TPageControl>(this, TabTitle, "PageTitle", 0, 0, 284, 210);
  PageTitle->SetAlign(alClient);
  TabTitleStyle = MakeSheet(this, PageTitle, "TabTitleStyle", "Style");
  TabTitleText = MakeSheet(this, PageTitle, "TabTitleText", "Text");
  ETitle = Make<TEdit>(this, TabTitleStyle, "ETitle", 50, 8, 200, 21);
  MakeLabel(this, TabTitleStyle, "LTitle", 6, 12, "T&itle:", ETitle);
  SETitleAngle = MakeSpin(this, TabTitleStyle, "SETitleAngle", "UDTitleAngle", 50, 36, UDTitleAngle, 0, 360, 90);
  MakeLabel(this, TabTitleStyle, "LTitleAngle", 6, 40, "&Angle:", SETitleAngle);
  SETitleSize = MakeSpin(this, TabTitleStyle, "SETitleSize", "UDTitleSize", 50, 64, UDTitleSize, 0, 1000);
  MakeLabel(this, TabTitleStyle, "LTitleSize", 6, 68, "Si&ze:", SETitleSize);
  CBTitleVisible = Make<TCheckBox>(this, TabTitleStyle, "CBTitleVisible", 6, 94, 90, 17, "&Visible");

  // Labels
  TabLabels = MakeSheet(this, PageAxis, "TabLabels", "Labels");
  PageLabels = Make<TPageControl>(this, TabLabels, "PageLabels", 0, 0, 284, 210);
  PageLabels->SetAlign(alClient);
  TabLabelsStyle = MakeSheet(this, PageLabels, "TabLabelsStyle", "Style");
  TabLabelsFormat = MakeSheet(this, PageLabels, "TabLabelsFormat", "Format");
  TabLabelsText = MakeSheet(this, PageLabels, "TabLabelsText", "Text");
  CBLabels = Make<TCheckBox>(this, TabLabelsStyle, "CBLabels", 6, 6, 90, 17, "V&isible");
  CBLabelStyle = Make<TComboFlat>(this, TabLabelsStyle, "CBLabelStyle", 50, 28, 80, 21);
  CBLabelStyle->SetStyle(csDropDownList);
  for (const char* s : {"Auto", "None", "Value", "Mark", "Text"}) CBLabelStyle->Items()->Add(s);
  MakeLabel(this, TabLabelsStyle, "LLabelStyle", 6, 32, "&Style:", CBLabelStyle);
  CBMultiline = Make<TCheckBox>(this, TabLabelsStyle, "CBMultiline", 6, 56, 110, 17, "Multi-lin&e");
  CBOnAxis = Make<TCheckBox>(this, TabLabelsStyle, "CBOnAxis", 6, 76, 110, 17, "Label On A&xis");
  CBRoundFirst = Make<TCheckBox>(this, TabLabelsStyle, "CBRoundFirst", 6, 96, 110, 17, "Ro&und First");
  CBAlternate = Make<TCheckBox>(this, TabLabelsStyle, "CBAlternate", 6, 116, 110, 17, "&Alternate");
  SELabelsSize = MakeSpin(this, TabLabelsStyle, "SELabelsSize", "UDLabelsSize", 210, 6, UDLabelsSize, 0, 1000);
  MakeLabel(this, TabLabelsStyle, "LLabelsSize", 140, 10, "Si&ze:", SELabelsSize);
  SELabelsAngle =
      MakeSpin(this, TabLabelsStyle, "SELabelsAngle", "UDLabelsAngle", 210, 32, UDLabelsAngle, 0, 360, 90);
  MakeLabel(this, TabLabelsStyle, "LLabelsAngle", 140, 36, "An&gle:", SELabelsAngle);
  SESepar = MakeSpin(this, TabLabelsStyle, "SESepar", "UDSepar", 210, 58, UDSepar, 0, 100, 10);
  MakeLabel(this, TabLabelsStyle, "LSepar", 120, 62, "Min. Se&paration %:", SESepar);
  CBLabelAlign = Make<TCheckBox>(this, TabLabelsStyle, "CBLabelAlign", 130, 96, 140, 17, "&Default Alignment");
  CBFormat = Make<TComboFlat>(this, TabLabelsFormat, "CBFormat", 6, 26, 180, 21);
  LabelAxisFormat = MakeLabel(this, TabLabelsFormat, "LabelAxisFormat", 6, 8, "Labels For&mat:", CBFormat);
  Button1 = Make<TButton>(this, TabLabelsFormat, "Button1", 190, 24, 25, 25, "...");
  CBExpo = Make<TCheckBox>(this, TabLabelsFormat, "CBExpo", 6, 56, 110, 17, "&Exponential");

  // Ticks
  TabTicks = MakeSheet(this, PageAxis, "TabTicks", "Ticks");
  BAxisPen = Make<TButtonPen>(this, TabTicks, "BAxisPen", 6, 6, 80, 25, "&Axis...");
  BTickPen = Make<TButtonPen>(this, TabTicks, "BTickPen", 6, 36, 80, 25, "T&icks...");
  SEAxisTickLength =
      MakeSpin(this, TabTicks, "SEAxisTickLength", "UDAxisTickLength", 124, 38, UDAxisTickLength, 0, 1000);
  MakeLabel(this, TabTicks, "LTickLen", 94, 42, "Len:", SEAxisTickLength);
  BTickInner = Make<TButtonPen>(this, TabTicks, "BTickInner", 6, 66, 80, 25, "I&nner...");
  SEInnerTicksLength =
      MakeSpin(this, TabTicks, "SEInnerTicksLength", "UDInnerTicksLength", 124, 68, UDInnerTicksLength, 0, 1000);
  MakeLabel(this, TabTicks, "LInnerLen", 94, 72, "Len:", SEInnerTicksLength);
  CBTickOnLabels = Make<TCheckBox>(this, TabTicks, "CBTickOnLabels", 6, 98, 140, 17, "At Labels Onl&y");
  BAxisGrid = Make<TButtonPen>(this, TabTicks, "BAxisGrid", 6, 122, 80, 25, "&Grid...");
  CBGridCentered = Make<TCheckBox>(this, TabTicks, "CBGridCentered", 94, 126, 80, 17, "C&entered");
  Edit2 = MakeSpin(this, TabTicks, "Edit2", "UDGridZ", 200, 124, UDGridZ, 0, 100);
  MakeLabel(this, TabTicks, "LGridZ", 182, 128, "&Z:", Edit2);

  // Minor
  TabMinorTicks = MakeSheet(this, PageAxis, "TabMinorTicks", "Minor");
  BTickMinor = Make<TButtonPen>(this, TabMinorTicks, "BTickMinor", 6, 6, 80, 25, "&Ticks...");
  SEAxisMinorTickLen =
      MakeSpin(this, TabMinorTicks, "SEAxisMinorTickLen", "UDAxisMinorTickLen", 60, 38, UDAxisMinorTickLen, 0, 1000);
  MakeLabel(this, TabMinorTicks, "LMinorLen", 6, 42, "Length:", SEAxisMinorTickLen);
  SEMinorCount = MakeSpin(this, TabMinorTicks, "SEMinorCount", "UDMinorCount", 60, 66, UDMinorCount, 0, 1000);
  MakeLabel(this, TabMinorTicks, "LMinorCount", 6, 70, "&Count:", SEMinorCount);
  BMinorGrid = Make<TButtonPen>(this, TabMinorTicks, "BMinorGrid", 6, 96, 80, 25, "&Grid...");

  // Position
  TabPositions = MakeSheet(this, PageAxis, "TabPositions", "Position");
  EPos = MakeSpin(this, TabPositions, "EPos", "UDPos", 80, 6, UDPos, -1000, 1000);
  MakeLabel(this, TabPositions, "LPos", 6, 10, "&Position %:", EPos);
  EStart = MakeSpin(this, TabPositions, "EStart", "UDStart", 80, 32, UDStart, 0, 100);
  MakeLabel(this, TabPositions, "LStart", 6, 36, "St&art %:", EStart);
  EEnd = MakeSpin(this, TabPositions, "EEnd", "UDEnd", 80, 58, UDEnd, 0, 100);
  MakeLabel(this, TabPositions, "LEnd", 6, 62, "&End %:", EEnd);
  Edit1 = MakeSpin(this, TabPositions, "Edit1", "UDZ", 80, 84, UDZ, 0, 100);
  MakeLabel(this, TabPositions, "LZ", 6, 88, "&Z %:", Edit1);
  CBPosUnits = Make<TComboFlat>(this, TabPositions, "CBPosUnits", 80, 112, 80, 21);
  CBPosUnits->SetStyle(csDropDownList);
  CBPosUnits->Items()->Add("Percent");
  CBPosUnits->Items()->Add("Pixels");
  MakeLabel(this, TabPositions, "LPosUnits", 6, 116, "&Units:", CBPosUnits);
  CBOtherSide = Make<TCheckBox>(this, TabPositions, "CBOtherSide", 180, 8, 100, 17, "&Other side");
  CBHorizAxis = Make<TCheckBox>(this, TabPositions, "CBHorizAxis", 180, 30, 100, 17, "&Horizontal");

  LBAxes->OnClick = [this](TObject* s) { LBAxesClick(s); };
  BAdd->OnClick = [this](TObject* s) { BAddClick(s); };
  BDelete->OnClick = [this](TObject* s) { BDeleteClick(s); };
  CBShow->OnClick = [this](TObject* s) { CBShowClick(s); };
  CBAxisBeh->OnClick = [this](TObject* s) { CBAxisBehClick(s); };
  PageAxis->OnChange = [this](TObject* s) { PageAxisChange(s); };
  PageAxis->OnChanging = [this](TObject* s, bool& allow) { PageAxisChanging(s, allow); };
  CBAutomatic->OnClick = [this](TObject* s) { CBAutomaticClick(s); };
  CBAutoMin->OnClick = [this](TObject* s) { CBAutoMaxClick(s); };
  CBAutoMax->OnClick = [this](TObject* s) { CBAutoMaxClick(s); };
  CBLogarithmic->OnClick = [this](TObject* s) { CBLogarithmicClick(s); };
  ELogBase->OnChange = [this](TObject* s) { ELogBaseChange(s); };
  LogE->OnClick = [this](TObject* s) { LogEClick(s); };
  BIncre->OnClick = [this](TObject* s) { BIncreClick(s); };
  BAxisMin->OnClick = [this](TObject* s) { BAxisMinClick(s); };
  BAxisMax->OnClick = [this](TObject* s) { BAxisMaxClick(s); };
  EMinOff->OnChange = [this](TObject* s) { EMinOffChange(s); };
  EMaxOff->OnChange = [this](TObject* s) { EMaxOffChange(s); };
  CBVisible->OnClick = [this](TObject* s) { CBVisibleClick(s); };
  CBInverted->OnClick = [this](TObject* s) { CBInvertedClick(s); };
  ETitle->OnChange = [this](TObject* s) { ETitleChange(s); };
  SETitleAngle->OnChange = [this](TObject* s) { SETitleAngleChange(s); };
  SETitleSize->OnChange = [this](TObject* s) { SETitleSizeChange(s); };
  CBTitleVisible->OnClick = [this](TObject* s) { CBTitleVisibleClick(s); };
  CBLabels->OnClick = [this](TObject* s) { CBLabelsClick(s); };
  CBLabelStyle->OnChange = [this](TObject* s) { RGLabelStyleClick(s); };
  CBMultiline->OnClick = [this](TObject* s) { CBMultilineClick(s); };
  CBOnAxis->OnClick = [this](TObject* s) { CBOnAxisClick(s); };
  CBRoundFirst->OnClick = [this](TObject* s) { CBRoundFirstClick(s); };
  CBAlternate->OnClick = [this](TObject* s) { CBAlternateClick(s); };
  SELabelsSize->OnChange = [this](TObject* s) { SELabelsSizeChange(s); };
  SELabelsAngle->OnChange = [this](TObject* s) { SELabelsAngleChange(s); };
  SESepar->OnChange = [this](TObject* s) { SESeparChange(s); };
  CBFormat->OnChange = [this](TObject* s) { CBFormatChange(s); };
  Button1->OnClick = [this](TObject* s) { Button1Click(s); };
  CBExpo->OnClick = [this](TObject* s) { CBExpoClick(s); };
  CBLabelAlign->OnClick = [this](TObject* s) { CBLabelAlignClick(s); };
  SEAxisTickLength->OnChange = [this](TObject* s) { SEAxisTickLengthChange(s); };
  SEInnerTicksLength->OnChange = [this](TObject* s) { SEInnerTicksLengthChange(s); };
  CBTickOnLabels->OnClick = [this](TObject* s) { CBTickOnLabelsClick(s); };
  CBGridCentered->OnClick = [this](TObject* s) { CBGridCenteredClick(s); };
  Edit2->OnChange = [this](TObject* s) { Edit2Change(s); };
  SEAxisMinorTickLen->OnChange = [this](TObject* s) { SEAxisMinorTickLenChange(s); };
  SEMinorCount->OnChange = [this](TObject* s) { SEMinorCountChange(s); };
  EPos->OnChange = [this](TObject* s) { EPosChange(s); };
  EStart->OnChange = [this](TObject* s) { EStartChange(s); };
  EEnd->OnChange = [this](TObject* s) { EEndChange(s); };
  Edit1->OnChange = [this](TObject* s) { Edit1Change(s); };
  CBPosUnits->OnChange = [this](TObject* s) { CBPosUnitsChange(s); };
  CBOtherSide->OnClick = [this](TObject* s) { CBOtherSideClick(s); };
  CBHorizAxis->OnClick = [this](TObject* s) { CBHorizAxisClick(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  OnDestroy = [this](TObject* s) { FormDestroy(s); };
  FormCreate(this);
}

TFormGrafAxis::~TFormGrafAxis() { FireOnDestroy(this); }

void TFormGrafAxis::FormCreate(TObject*) {
  FillingPage = true;
  LabelsFontEditor = EmbedFontEditor(TabLabelsText);
  TitleFontEditor = EmbedFontEditor(TabTitleText);
}

void TFormGrafAxis::FormDestroy(TObject*) {
  if (PageAxis->Parent() != this) PageAxis->SetParent(this);
}

TChartAxis* TFormGrafAxis::AxisOfItem(int Item) const {
  TCustomAxisPanel* chart = CurrentAxis ? CurrentAxis->ParentChart() : nullptr;
  if (!chart || Item < 0) return nullptr;
  switch (Item) {
    case 0: return chart->LeftAxis();
    case 1: return chart->RightAxis();
    case 2: return chart->TopAxis();
    case 3: return chart->BottomAxis();
    case 4: return chart->DepthAxis();
    case 5: return chart->DepthTopAxis();
    default: return Item < chart->AxesList()->Count() ? chart->AxesList()->AxisAt(Item) : nullptr;
  }
}

int TFormGrafAxis::ItemOfAxis(TChartAxis* Axis) const {
  TCustomAxisPanel* chart = Axis->ParentChart();
  if (Axis == chart->LeftAxis()) return 0;
  if (Axis == chart->RightAxis()) return 1;
  if (Axis == chart->TopAxis()) return 2;
  if (Axis == chart->BottomAxis()) return 3;
  if (Axis == chart->DepthAxis()) return 4;
  if (Axis == chart->DepthTopAxis()) return 5;
  return chart->AxesList()->IndexOf(Axis);
}

void TFormGrafAxis::FormShow(TObject*) {
  if (!CurrentAxis || !CurrentAxis->ParentChart()) return;
  TCustomAxisPanel* chart = CurrentAxis->ParentChart();
  FillingPage = true;
  FillAxisNames(chart, LBAxes->Items(), true);
  LBAxes->SetItemIndex(ItemOfAxis(CurrentAxis));
  CBShow->SetChecked(chart->AxisVisible());
  CBAxisBeh->SetChecked(chart->AxisBehind());
  PageAxis->SetActivePage(TabScales);
  PageLabels->SetActivePage(TabLabelsStyle);
  PageTitle->SetActivePage(TabTitleStyle);
  PageAxisChange(this);
}

void TFormGrafAxis::LBAxesClick(TObject*) {
  TChartAxis* axis = AxisOfItem(LBAxes->ItemIndex());
  if (!axis) return;
  CurrentAxis = axis;
  FillingPage = true;
  PageAxisChange(this);
}

void TFormGrafAxis::PageAxisChanging(TObject*, bool&) { FillingPage = true; }

void TFormGrafAxis::PageAxisChange(TObject*) {
  if (!CurrentAxis) return;
  FillingPage = true;
  BAxisGrid->LinkPen(CurrentAxis->Grid());
  BTickMinor->LinkPen(CurrentAxis->MinorTicks());
  BTickInner->LinkPen(CurrentAxis->TicksInner());
  BTickPen->LinkPen(CurrentAxis->Ticks());
  BAxisPen->LinkPen(CurrentAxis->Axis());
  BMinorGrid->LinkPen(CurrentAxis->MinorGrid());
  TTabSheet* page = PageAxis->ActivePage();
  if (page == TabScales) FillScales();
  else if (page == TabTitle) FillTitle();
  else if (page == TabLabels) FillLabels();
  else if (page == TabTicks) FillTicks();
  else if (page == TabMinorTicks) FillMinor();
  else if (page == TabPositions) FillPosition();
  BDelete->SetEnabled(IsCustomItem());
  CBVisible->SetChecked(CurrentAxis->Visible());
  CBLabelAlign->SetChecked(CurrentAxis->LabelsAlign() == alDefault);
  CBLabelAlign->SetEnabled(!CurrentAxis->Horizontal() && !CurrentAxis->IsDepthAxis());
  FillingPage = false;
}

// ---- Filling the tabs -----------------------------------------------------------

void TFormGrafAxis::FillScales() {
  TChartAxis* a = CurrentAxis;
  const bool dateTime = a->ShowsDateTime();
  LAxisIncre->SetCaption(AxisIncrementText(this, dateTime, a->ExactDateTime(), a->Increment(), a->AxisValuesFormat()));
  if (dateTime) {
    auto show = [](double v) { return v >= 1 ? DateTimeToStr(v) : TimeToStr(v); };
    LAxisMin->SetCaption(show(a->Minimum()));
    LAxisMax->SetCaption(show(a->Maximum()));
  } else {
    LAxisMin->SetCaption(FormatFloat(a->AxisValuesFormat(), a->Minimum()));
    LAxisMax->SetCaption(FormatFloat(a->AxisValuesFormat(), a->Maximum()));
  }
  const bool wasFilling = FillingScales;
  FillingScales = true;
  CBAutomatic->SetChecked(a->Automatic());
  CBAutoMax->SetChecked(a->AutomaticMaximum());
  CBAutoMin->SetChecked(a->AutomaticMinimum());
  UDMaxOff->SetPosition(a->MaximumOffset());
  UDMinOff->SetPosition(a->MinimumOffset());
  CBLogarithmic->SetChecked(a->Logarithmic());
  CBLogarithmic->SetEnabled(!a->IsDepthAxis());
  LogE->SetChecked(a->LogarithmicBase() == kE);
  ELogBase->SetText(a->LogarithmicBase() == kE ? ExactEText() : FloatToStr(a->LogarithmicBase()));
  EnableLogBase();
  CBInverted->SetChecked(a->Inverted());
  CBVisible->SetChecked(a->Visible());
  FillingScales = wasFilling;
}

void TFormGrafAxis::EnableLogBase() {
  ELogBase->SetEnabled(CBLogarithmic->Checked() && CBLogarithmic->Enabled());
  LogE->SetEnabled(ELogBase->Enabled() && !LogE->Checked());
}

void TFormGrafAxis::FillTitle() {
  TChartAxis* a = CurrentAxis;
  ETitle->SetText(a->Title()->Caption());
  UDTitleAngle->SetPosition(a->Title()->Angle());
  UDTitleSize->SetPosition(a->TitleSize());
  CBTitleVisible->SetChecked(a->Title()->Visible());
  TitleFontEditor->BindFont(a->Title()->Font());
}

void TFormGrafAxis::FillLabels() {
  TChartAxis* a = CurrentAxis;
  CBLabels->SetChecked(a->Labels());
  CBLabelStyle->SetItemIndex(a->LabelStyle());
  CBOnAxis->SetChecked(a->LabelsOnAxis());
  CBRoundFirst->SetChecked(a->RoundFirstLabel());
  UDLabelsAngle->SetPosition(a->LabelsAngle());
  UDSepar->SetPosition(a->LabelsSeparation());
  UDLabelsSize->SetPosition(a->LabelsSize());
  CBMultiline->SetChecked(a->LabelsMultiLine());
  CBExpo->SetChecked(a->LabelsExponent());
  CBAlternate->SetChecked(a->LabelsAlternate());

  TStrings* items = CBFormat->Items();
  items->Clear();
  std::string current;
  if (a->ShowsDateTime()) {
    const double span = a->Maximum() - a->Minimum();
    if (span > 1) {
      for (const std::string& f : {FormatSettings.ShortDateFormat, FormatSettings.LongDateFormat,
                                   std::string("yyyy-mm-dd"), std::string("mm-dd-yyyy"), std::string("dd-mm-yyyy"),
                                   std::string("ddd"), std::string("dddd"), std::string("mmm"), std::string("mmmm")})
        items->Add(f);
    } else {
      for (const std::string& f : {FormatSettings.ShortTimeFormat, FormatSettings.LongTimeFormat,
                                   std::string("hh:nn"), std::string("hh:nn:ss"), std::string("hh:nn:ss.zzz")})
        items->Add(f);
    }
    LabelAxisFormat->SetCaption(GrafMsgDateTimeFormat);
    current = a->DateTimeFormat().empty() ? DefaultDateTimeFormatFor(span) : a->DateTimeFormat();
  } else {
    AddValueFormats(items);
    LabelAxisFormat->SetCaption(GrafMsgValuesFormat);
    current = LocalizeNumberFormat(a->AxisValuesFormat().empty() ? GrafMsgDefaultValueFormat : a->AxisValuesFormat());
  }
  if (items->IndexOf(current) < 0) items->Add(current);
  CBFormat->SetItemIndex(items->IndexOf(current));
  CBFormat->SetText(current);
  LabelsFontEditor->BindFont(a->LabelsFont());
}

void TFormGrafAxis::FillTicks() {
  TChartAxis* a = CurrentAxis;
  UDAxisTickLength->SetPosition(a->TickLength());
  UDInnerTicksLength->SetPosition(a->TickInnerLength());
  CBTickOnLabels->SetChecked(a->TickOnLabelsOnly());
  CBGridCentered->SetChecked(a->GridCentered());
  UDGridZ->SetPosition(RoundToInt(a->Grid()->ZPosition()));
}

void TFormGrafAxis::FillMinor() {
  UDAxisMinorTickLen->SetPosition(CurrentAxis->MinorTickLength());
  UDMinorCount->SetPosition(CurrentAxis->MinorTickCount());
}

void TFormGrafAxis::FillPosition() {
  TChartAxis* a = CurrentAxis;
  UDPos->SetPosition(RoundToInt(a->PositionPercent()));
  UDStart->SetPosition(RoundToInt(a->StartPosition()));
  UDEnd->SetPosition(RoundToInt(a->EndPosition()));
  UDZ->SetPosition(RoundToInt(a->ZPosition()));
  CBPosUnits->SetItemIndex(a->PositionUnits());
  const bool custom = IsCustomItem();
  CBOtherSide->SetChecked(a->OtherSide());
  CBOtherSide->SetEnabled(custom);
  CBHorizAxis->SetChecked(a->Horizontal());
  CBHorizAxis->SetEnabled(custom);
}

// ---- Scales ---------------------------------------------------------------------------

void TFormGrafAxis::CBAutomaticClick(TObject*) {
  if (Quiet()) return;
  CurrentAxis->SetAutomatic(CBAutomatic->Checked());
  if (CurrentAxis->Automatic()) {
    CurrentAxis->UpdateMinMax();
  } else {
    CurrentAxis->SetAutomaticMaximum(false);
    CurrentAxis->SetAutomaticMinimum(false);
  }
  FillScales();
}

void TFormGrafAxis::CBAutoMaxClick(TObject* Sender) {
  if (Quiet()) return;
  if (Sender == CBAutoMax) CurrentAxis->SetAutomaticMaximum(CBAutoMax->Checked());
  else CurrentAxis->SetAutomaticMinimum(CBAutoMin->Checked());
  CurrentAxis->UpdateMinMax();
  FillScales();
}

void TFormGrafAxis::EditAxisEnd(bool Maximum) {
  if (!CurrentAxis) return;
  auto* chart = dynamic_cast<TCustomChart*>(CurrentAxis->ParentChart());
  std::unique_ptr<TAxisMaxMin> dialog(new TAxisMaxMin(this));
  dialog->SetCaption((Maximum ? GrafMsgMaximum : GrafMsgMinimum) + " " +
                     (chart ? chart->AxisDisplayName(CurrentAxis) : CurrentAxis->DisplayName()));
  dialog->IsDateTime = CurrentAxis->ShowsDateTime();
  dialog->Value = Maximum ? CurrentAxis->Maximum() : CurrentAxis->Minimum();
  if (dialog->ShowModal() != mrOk) return;
  if (Maximum) {
    CurrentAxis->SetMaximum(dialog->Value);
    CBAutoMax->SetChecked(false);
  } else {
    CurrentAxis->SetMinimum(dialog->Value);
    CBAutoMin->SetChecked(false);
  }
  FillScales();
}

void TFormGrafAxis::BAxisMaxClick(TObject*) { EditAxisEnd(true); }
void TFormGrafAxis::BAxisMinClick(TObject*) { EditAxisEnd(false); }

void TFormGrafAxis::BIncreClick(TObject*) {
  if (!CurrentAxis) return;
  auto* chart = dynamic_cast<TCustomChart*>(CurrentAxis->ParentChart());
  std::unique_ptr<TAxisIncrement> dialog(new TAxisIncrement(this));
  dialog->SetCaption(
      Format(GrafMsgDesiredSIncrement, {chart ? chart->AxisDisplayName(CurrentAxis) : CurrentAxis->DisplayName()}));
  dialog->IsDateTime = CurrentAxis->ShowsDateTime();
  dialog->ExactDateTime = CurrentAxis->ExactDateTime();
  dialog->Increment = CurrentAxis->Increment();
  dialog->StepIndex = NearestDateTimeStepIndex(CurrentAxis->Increment());
  if (dialog->ShowModal() != mrOk) return;
  CurrentAxis->SetIncrement(dialog->Increment);
  CurrentAxis->SetExactDateTime(dialog->ExactDateTime);
  FillScales();
}

void TFormGrafAxis::CBLogarithmicClick(TObject*) {
  if (Quiet()) return;
  try {
    CurrentAxis->SetLogarithmic(CBLogarithmic->Checked());
  } catch (const AxisException&) {
    // The axis refused: back to linear before the error shows.
    CurrentAxis->SetLogarithmic(false);
    const bool was = FillingScales;
    FillingScales = true;
    CBLogarithmic->SetChecked(false);
    FillingScales = was;
    EnableLogBase();
    throw;
  }
  EnableLogBase();
}

void TFormGrafAxis::ELogBaseChange(TObject*) {
  if (Quiet()) return;
  double base = CurrentAxis->LogarithmicBase();
  if (!TryStrToFloat(ELogBase->Text(), base)) base = CurrentAxis->LogarithmicBase();
  // No base at or below 0 and no base of 1: every position would be NaN.
  if (!(base > 0) || base == 1) return;
  CurrentAxis->SetLogarithmicBase(base);
  const bool was = FillingScales;
  FillingScales = true;
  LogE->SetChecked(base == kE);
  FillingScales = was;
  LogE->SetEnabled(ELogBase->Enabled() && !LogE->Checked());
}

void TFormGrafAxis::LogEClick(TObject*) {
  if (Quiet() || !LogE->Checked()) return;
  ELogBase->SetText(ExactEText());
  LogE->SetEnabled(false);
}

void TFormGrafAxis::EMinOffChange(TObject*) {
  if (!Quiet()) CurrentAxis->SetMinimumOffset(UDMinOff->Position());
}

void TFormGrafAxis::EMaxOffChange(TObject*) {
  if (!Quiet()) CurrentAxis->SetMaximumOffset(UDMaxOff->Position());
}

void TFormGrafAxis::CBVisibleClick(TObject*) {
  if (!Quiet()) CurrentAxis->SetVisible(CBVisible->Checked());
}

void TFormGrafAxis::CBInvertedClick(TObject*) {
  if (!Quiet()) CurrentAxis->SetInverted(CBInverted->Checked());
}

// ---- Title -------------------------------------------------------------------------------

void TFormGrafAxis::ETitleChange(TObject*) {
  if (!Quiet()) CurrentAxis->Title()->SetCaption(ETitle->Text());
}

void TFormGrafAxis::SETitleAngleChange(TObject*) {
  if (!Quiet()) CurrentAxis->Title()->SetAngle(UDTitleAngle->Position());
}

void TFormGrafAxis::SETitleSizeChange(TObject*) {
  if (!Quiet()) CurrentAxis->SetTitleSize(UDTitleSize->Position());
}

void TFormGrafAxis::CBTitleVisibleClick(TObject*) {
  if (!Quiet()) CurrentAxis->Title()->SetVisible(CBTitleVisible->Checked());
}

// ---- Labels ------------------------------------------------------------------------------

void TFormGrafAxis::CBLabelsClick(TObject*) {
  if (!Quiet()) CurrentAxis->SetLabels(CBLabels->Checked());
}

void TFormGrafAxis::RGLabelStyleClick(TObject*) {
  if (!Quiet() && CBLabelStyle->ItemIndex() >= 0)
    CurrentAxis->SetLabelStyle(static_cast<TAxisLabelStyle>(CBLabelStyle->ItemIndex()));
}

void TFormGrafAxis::CBMultilineClick(TObject*) {
  if (!Quiet()) CurrentAxis->SetLabelsMultiLine(CBMultiline->Checked());
}

void TFormGrafAxis::CBOnAxisClick(TObject*) {
  if (!Quiet()) CurrentAxis->SetLabelsOnAxis(CBOnAxis->Checked());
}

void TFormGrafAxis::CBRoundFirstClick(TObject*) {
  if (!Quiet()) CurrentAxis->SetRoundFirstLabel(CBRoundFirst->Checked());
}

void TFormGrafAxis::CBAlternateClick(TObject*) {
  if (!Quiet()) CurrentAxis->SetLabelsAlternate(CBAlternate->Checked());
}

void TFormGrafAxis::SELabelsSizeChange(TObject*) {
  if (!Quiet()) CurrentAxis->SetLabelsSize(UDLabelsSize->Position());
}

void TFormGrafAxis::SELabelsAngleChange(TObject*) {
  if (!Quiet()) CurrentAxis->SetLabelsAngle(UDLabelsAngle->Position());
}

void TFormGrafAxis::SESeparChange(TObject*) {
  if (!Quiet()) CurrentAxis->SetLabelsSeparation(UDSepar->Position());
}

void TFormGrafAxis::StoreFormat(const std::string& Text) {
  if (CurrentAxis->ShowsDateTime()) CurrentAxis->SetDateTimeFormat(Text);
  else CurrentAxis->SetAxisValuesFormat(DelocalizeNumberFormat(Text));
}

void TFormGrafAxis::CBFormatChange(TObject*) {
  if (Quiet()) return;
  const int i = CBFormat->ItemIndex();
  StoreFormat(i >= 0 && CBFormat->Text().empty() ? CBFormat->Items()->Strings(i) : CBFormat->Text());
}

void TFormGrafAxis::Button1Click(TObject*) {
  if (!CurrentAxis) return;
  const std::string format = TFormatEditor::EditFormat(this, CBFormat->Text(), CurrentAxis->ShowsDateTime());
  CBFormat->SetText(format);
  StoreFormat(format);
}

void TFormGrafAxis::CBExpoClick(TObject*) {
  if (!Quiet()) CurrentAxis->SetLabelsExponent(CBExpo->Checked());
}

void TFormGrafAxis::CBLabelAlignClick(TObject*) {
  if (!Quiet()) CurrentAxis->SetLabelsAlign(CBLabelAlign->Checked() ? alDefault : alOpposite);
}

// ---- Ticks ------------------------------------------------------------------------------

void TFormGrafAxis::SEAxisTickLengthChange(TObject*) {
  if (!Quiet()) CurrentAxis->SetTickLength(UDAxisTickLength->Position());
}

void TFormGrafAxis::SEInnerTicksLengthChange(TObject*) {
  if (!Quiet()) CurrentAxis->SetTickInnerLength(UDInnerTicksLength->Position());
}

void TFormGrafAxis::CBTickOnLabelsClick(TObject*) {
  if (!Quiet()) CurrentAxis->SetTickOnLabelsOnly(CBTickOnLabels->Checked());
}

void TFormGrafAxis::CBGridCenteredClick(TObject*) {
  if (!Quiet()) CurrentAxis->SetGridCentered(CBGridCentered->Checked());
}

void TFormGrafAxis::Edit2Change(TObject*) {
  if (!Quiet()) CurrentAxis->Grid()->SetZPosition(UDGridZ->Position());
}

void TFormGrafAxis::SEAxisMinorTickLenChange(TObject*) {
  if (!Quiet()) CurrentAxis->SetMinorTickLength(UDAxisMinorTickLen->Position());
}

void TFormGrafAxis::SEMinorCountChange(TObject*) {
  if (!Quiet()) CurrentAxis->SetMinorTickCount(UDMinorCount->Position());
}

// ---- Position ----------------------------------------------------------------------------

void TFormGrafAxis::EPosChange(TObject*) {
  if (!Quiet()) CurrentAxis->SetPositionPercent(UDPos->Position());
}

void TFormGrafAxis::EStartChange(TObject*) {
  if (Quiet()) return;
  const int start = UDStart->Position();
  if (start >= CurrentAxis->EndPosition()) UDStart->SetPosition(RoundToInt(CurrentAxis->StartPosition()));
  else CurrentAxis->SetStartPosition(start);
}

void TFormGrafAxis::EEndChange(TObject*) {
  if (Quiet()) return;
  const int end = UDEnd->Position();
  if (end > CurrentAxis->StartPosition()) CurrentAxis->SetEndPosition(end);
  else UDEnd->SetPosition(RoundToInt(CurrentAxis->EndPosition()));
}

void TFormGrafAxis::Edit1Change(TObject*) {
  if (!Quiet()) CurrentAxis->SetZPosition(UDZ->Position());
}

void TFormGrafAxis::CBPosUnitsChange(TObject*) {
  if (!Quiet()) CurrentAxis->SetPositionUnits(CBPosUnits->ItemIndex() == 1 ? muPixels : muPercent);
}

void TFormGrafAxis::CBOtherSideClick(TObject*) {
  if (!Quiet()) CurrentAxis->SetOtherSide(CBOtherSide->Checked());
}

void TFormGrafAxis::CBHorizAxisClick(TObject*) {
  if (Quiet()) return;
  if (CurrentAxis->ParentChart()->AxesList()->IndexOf(CurrentAxis) < 6) return;
  CurrentAxis->SetHorizontal(CBHorizAxis->Checked());
  if (OrientationChanged) OrientationChanged(CurrentAxis);
}

// ---- The chart's axes ----------------------------------------------------------------------

void TFormGrafAxis::BAddClick(TObject*) {
  if (!CurrentAxis) return;
  TCustomAxisPanel* chart = CurrentAxis->ParentChart();
  CurrentAxis = new TChartAxis(chart->CustomAxes());
  FillingPage = true;
  FillAxisNames(chart, LBAxes->Items(), true);
  LBAxes->SetItemIndex(ItemOfAxis(CurrentAxis));
  PageAxisChange(this);
}

void TFormGrafAxis::BDeleteClick(TObject*) {
  if (!CurrentAxis || !IsCustomItem()) return;
  const int item = LBAxes->ItemIndex();
  TChartAxis* axis = CurrentAxis;
  CurrentAxis = CurrentAxis->ParentChart()->LeftAxis();
  TCustomAxisPanel* chart = axis->ParentChart();
  delete axis;
  LBAxes->Items()->Delete(item);
  // The remaining custom axes are renumbered.
  FillAxisNames(chart, LBAxes->Items(), true);
  LBAxes->SetItemIndex(item - 1);
  LBAxesClick(this);
  chart->Invalidate();
}

void TFormGrafAxis::CBShowClick(TObject*) {
  if (!Quiet()) CurrentAxis->ParentChart()->AxesList()->SetVisible(CBShow->Checked());
}

void TFormGrafAxis::CBAxisBehClick(TObject*) {
  if (!Quiet()) CurrentAxis->ParentChart()->AxesList()->SetBehind(CBAxisBeh->Checked());
}

void RegisterAxisPageClasses() {
  RegisterClasses({&TFormGrafAxis::StaticClass(), &TAxisMaxMin::StaticClass()});
}
