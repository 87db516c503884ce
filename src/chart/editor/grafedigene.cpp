#include "chart/editor/grafedigene.h"

#include "chart/core/grafutils.h"
#include "chart/editor/editorbuild.h"
#include "chart/editor/grafbrushdlg.h"
#include "chart/editor/grafprevi.h"
#include "platform/ui/commondialogs.h"

#include <memory>

using namespace editorbuild;

// ---- The page navigator ------------------------------------------------------------

ZV_CLASS_IMPL(TChartPageNavigator, TCustomGrafNavigator)

void TChartPageNavigator::DeclareProperties(TClassInfo& c) {
  c.Object<TChartPageNavigator, TCustomChart>("Chart", &TChartPageNavigator::Chart, &TChartPageNavigator::SetChart);
}

void TChartPageNavigator::SetPanel(TCustomGrafPanel* Panel) {
  TCustomGrafNavigator::SetPanel(dynamic_cast<TCustomAxisPanel*>(Panel));
}

void TChartPageNavigator::BtnClick(int Index) {
  if (TCustomAxisPanel* chart = AxisPanel()) {
    const int page = chart->Page();
    switch (Index) {
      case nbFirst:
        if (page > 1) chart->SetPage(1);
        break;
      case nbPrior:
        if (page > 1) chart->SetPage(page - 1);
        break;
      case nbNext:
        if (page < chart->PageCount()) chart->SetPage(page + 1);
        break;
      case nbLast:
        if (page < chart->PageCount()) chart->SetPage(chart->PageCount());
        break;
      default: break;
    }
  }
  EnableButtons();
  TCustomGrafNavigator::BtnClick(Index);
}

void TChartPageNavigator::EnableButtons() {
  TCustomAxisPanel* chart = AxisPanel();
  const int page = chart ? chart->Page() : 1;
  const int count = chart ? chart->PageCount() : 1;
  Buttons(nbFirst)->SetEnabled(chart && page > 1);
  Buttons(nbPrior)->SetEnabled(chart && page > 1);
  Buttons(nbNext)->SetEnabled(chart && page < count);
  Buttons(nbLast)->SetEnabled(chart && page < count);
}

void TChartPageNavigator::ChartEvent(TGrafEvent* Event) {
  if (dynamic_cast<TChartChangePage*>(Event)) {
    EnableButtons();
  } else if (auto* e = dynamic_cast<TGrafSeriesEvent*>(Event); e && e->Event == seDataChanged) {
    EnableButtons();
  }
}

int TChartPageNavigator::PageCount() {
  TCustomAxisPanel* chart = AxisPanel();
  return chart ? chart->PageCount() : 1;
}

void TChartPageNavigator::PrintPages() {
  TCustomAxisPanel* chart = AxisPanel();
  if (!chart) return;
  const int count = chart->PageCount();
  if (count < 2) {
    chart->PrintPages(1, 1);
    return;
  }
  TPrintDialog dialog(this);
  dialog.FromPage = dialog.MinPage = 1;
  dialog.ToPage = dialog.MaxPage = count;
  dialog.Options.Include(poPageNums);
  dialog.PrintRange = prPageNums;
  if (dialog.Execute()) chart->PrintPages(dialog.FromPage, dialog.ToPage);
}

// ---- The General page ----------------------------------------------------------------

ZV_CLASS_IMPL_NOPROPS(TFormGrafGeneral, TForm)

namespace {
TEdit* MakeSpin(TComponent* Owner, TWinControl* Parent, const char* Edit, const char* Ud, int Left, int Top,
                TUpDown*& UpDown, int Min, int Max, int Position, int Increment = 1) {
  TEdit* e = Make<TEdit>(Owner, Parent, Edit, Left, Top, 38, 21);
  UpDown = Make<TUpDown>(Owner, Parent, Ud, Left + 38, Top, 15, 21);
  UpDown->SetMin(Min);
  UpDown->SetMax(Max);
  UpDown->SetIncrement(Increment);
  UpDown->SetAssociate(e);
  UpDown->SetPosition(Position);
  return e;
}
}  // namespace

TFormGrafGeneral::TFormGrafGeneral(TComponent* AOwner, TCustomChart* Chart) : TForm(AOwner), TheChart(Chart) {
  SetClientWidth(372);
  SetClientHeight(232);
  PageControl1 = Make<TPageControl>(this, this, "PageControl1", 4, 4, 226, 224);
  PageControl1->SetHotTrack(true);
  TabZoom = new TTabSheet(this);
  TabZoom->SetName("TabZoom");
  TabZoom->SetCaption("Zoom");
  TabZoom->SetPageControl(PageControl1);
  TabScroll = new TTabSheet(this);
  TabScroll->SetName("TabScroll");
  TabScroll->SetCaption("Scroll");
  TabScroll->SetPageControl(PageControl1);

  CBAllowZoom = Make<TCheckBox>(this, TabZoom, "CBAllowZoom", 8, 8, 80, 17, "&Allow");
  CBAnimatedZoom = Make<TCheckBox>(this, TabZoom, "CBAnimatedZoom", 8, 30, 80, 17, "An&imated");
  SEAniZoomSteps = MakeSpin(this, TabZoom, "SEAniZoomSteps", "UDAniZoomSteps", 140, 28, UDAniZoomSteps, 0, 100, 8);
  LSteps = MakeLabel(this, TabZoom, "LSteps", 96, 32, "&Steps:", SEAniZoomSteps);
  BZoomPen = Make<TButtonPen>(this, TabZoom, "BZoomPen", 8, 54, 80, 25, "P&en...");
  BZoomColor = Make<TButton>(this, TabZoom, "BZoomColor", 100, 54, 80, 25, "P&attern...");
  EMinPix = MakeSpin(this, TabZoom, "EMinPix", "UDMinPix", 120, 86, UDMinPix, 0, 100, 16);
  Label1 = MakeLabel(this, TabZoom, "Label1", 8, 90, "&Minimum pixels:", EMinPix);
  CBDir = Make<TComboFlat>(this, TabZoom, "CBDir", 100, 112, 100, 21);
  for (const char* d : {"Horizontal", "Vertical", "Both"}) CBDir->Items()->Add(d);
  Label2 = MakeLabel(this, TabZoom, "Label2", 8, 116, "&Direction:", CBDir);
  CBZoomMouse = Make<TComboFlat>(this, TabZoom, "CBZoomMouse", 100, 138, 100, 21);
  for (const char* b : {"Left", "Right", "Middle"}) CBZoomMouse->Items()->Add(b);
  Label3 = MakeLabel(this, TabZoom, "Label3", 8, 142, "M&ouse Button:", CBZoomMouse);
  CBUpLeft = Make<TCheckBox>(this, TabZoom, "CBUpLeft", 8, 166, 180, 17, "Zoom on &Up Left drag");

  RGPanning = Make<TRadioGroup>(this, TabScroll, "RGPanning", 8, 8, 200, 100, "Allow Scroll:");
  for (const char* p : {"&None", "&Horizontal", "&Vertical", "&Both"}) RGPanning->Items()->Add(p);
  CBScrollMouse = Make<TComboFlat>(this, TabScroll, "CBScrollMouse", 100, 118, 100, 21);
  for (const char* b : {"Left", "Right", "Middle"}) CBScrollMouse->Items()->Add(b);
  Label4 = MakeLabel(this, TabScroll, "Label4", 8, 122, "&Mouse Button:", CBScrollMouse);

  GBMargins = Make<TGroupBox>(this, this, "GBMargins", 236, 4, 132, 132, "Margins (%)");
  SETopMa = MakeSpin(this, GBMargins, "SETopMa", "UDTopMa", 40, 4, UDTopMa, 0, 100, 3, 5);
  SELeftMa = MakeSpin(this, GBMargins, "SELeftMa", "UDLeftMa", 4, 30, UDLeftMa, 0, 100, 3, 5);
  SERightMa = MakeSpin(this, GBMargins, "SERightMa", "UDRightMa", 70, 30, UDRightMa, 0, 100, 3, 5);
  SEBotMa = MakeSpin(this, GBMargins, "SEBotMa", "UDBotMa", 40, 56, UDBotMa, 0, 100, 3, 5);
  CBMarUnits = Make<TComboFlat>(this, GBMargins, "CBMarUnits", 44, 84, 80, 21);
  CBMarUnits->Items()->Add("Percent");
  CBMarUnits->Items()->Add("Pixels");
  Label5 = MakeLabel(this, GBMargins, "Label5", 4, 88, "&Units:", CBMarUnits);
  CBCursor = Make<TComboFlat>(this, this, "CBCursor", 280, 146, 88, 21);
  CBCursor->SetSorted(true);
  Label6 = MakeLabel(this, this, "Label6", 236, 150, "&Cursor:", CBCursor);
  BPrint = Make<TButton>(this, this, "BPrint", 236, 190, 120, 25, "Print &Preview...");

  CBAllowZoom->OnClick = [this](TObject* s) { CBAllowZoomClick(s); };
  CBAnimatedZoom->OnClick = [this](TObject* s) { CBAnimatedZoomClick(s); };
  SEAniZoomSteps->OnChange = [this](TObject* s) { SEAniZoomStepsChange(s); };
  EMinPix->OnChange = [this](TObject* s) { EMinPixChange(s); };
  CBDir->OnChange = [this](TObject* s) { CBDirChange(s); };
  CBZoomMouse->OnChange = [this](TObject* s) { CBZoomMouseChange(s); };
  CBUpLeft->OnClick = [this](TObject* s) { CBUpLeftClick(s); };
  BZoomColor->OnClick = [this](TObject* s) { BZoomColorClick(s); };
  RGPanning->OnClick = [this](TObject* s) { RGPanningClick(s); };
  CBScrollMouse->OnChange = [this](TObject* s) { CBScrollMouseChange(s); };
  CBMarUnits->OnChange = [this](TObject* s) { CBMarUnitsChange(s); };
  CBCursor->OnChange = [this](TObject* s) { CBCursorChange(s); };
  BPrint->OnClick = [this](TObject* s) { BPrintClick(s); };
  SELeftMa->OnChange = [this](TObject*) { MarginChange(0); };
  SETopMa->OnChange = [this](TObject*) { MarginChange(1); };
  SERightMa->OnChange = [this](TObject*) { MarginChange(2); };
  SEBotMa->OnChange = [this](TObject*) { MarginChange(3); };
  OnShow = [this](TObject* s) { FormShow(s); };
  FormCreate(this);
}

void TFormGrafGeneral::FormCreate(TObject*) {
  SetAlign(alClient);
  PageControl1->SetActivePage(TabZoom);
}

void TFormGrafGeneral::SetMarginRanges() {
  const bool pixels = TheChart && TheChart->MarginUnits() == muPixels;
  for (TUpDown* ud : {UDTopMa, UDLeftMa, UDBotMa, UDRightMa}) {
    ud->SetMin(pixels ? -2000 : 0);
    ud->SetMax(pixels ? 2000 : 100);
  }
}

void TFormGrafGeneral::EnableZoom() {
  const bool on = TheChart && TheChart->Zoom()->Allow();
  for (TControl* c : std::initializer_list<TControl*>{CBAnimatedZoom, SEAniZoomSteps, UDAniZoomSteps, EMinPix,
                                                      UDMinPix, BZoomPen, BZoomColor, CBDir, CBZoomMouse, CBUpLeft})
    c->SetEnabled(on);
}

void TFormGrafGeneral::FormShow(TObject*) {
  if (!TheChart) return;
  RGPanning->SetItemIndex(TheChart->AllowPanning());
  CBMarUnits->SetItemIndex(TheChart->MarginUnits());
  SetMarginRanges();
  UDTopMa->SetPosition(TheChart->MarginTop());
  UDLeftMa->SetPosition(TheChart->MarginLeft());
  UDBotMa->SetPosition(TheChart->MarginBottom());
  UDRightMa->SetPosition(TheChart->MarginRight());
  TGrafZoom* zoom = TheChart->Zoom();
  CBAllowZoom->SetChecked(zoom->Allow());
  CBAnimatedZoom->SetChecked(zoom->Animated());
  UDAniZoomSteps->SetPosition(zoom->AnimatedSteps());
  UDMinPix->SetPosition(zoom->MinimumPixels());
  CBDir->SetItemIndex(zoom->Direction());
  CBZoomMouse->SetItemIndex(zoom->MouseButton());
  CBUpLeft->SetChecked(zoom->UpLeftZooms());
  EnableZoom();
  BZoomPen->LinkPen(zoom->Pen());
  CBScrollMouse->SetItemIndex(TheChart->ScrollMouseButton());
  CBScrollMouse->SetEnabled(TheChart->AllowPanning() != pmNone);
  FillCursorCombo(CBCursor, TheChart->Cursor());
}

void TFormGrafGeneral::CBAllowZoomClick(TObject*) {
  if (!TheChart) return;
  TheChart->Zoom()->SetAllow(CBAllowZoom->Checked());
  EnableZoom();
}

void TFormGrafGeneral::CBAnimatedZoomClick(TObject*) {
  if (TheChart) TheChart->Zoom()->SetAnimated(CBAnimatedZoom->Checked());
}

void TFormGrafGeneral::SEAniZoomStepsChange(TObject*) {
  if (TheChart && FormShowing(this)) TheChart->Zoom()->SetAnimatedSteps(UDAniZoomSteps->Position());
}

void TFormGrafGeneral::EMinPixChange(TObject*) {
  if (TheChart && FormShowing(this)) TheChart->Zoom()->SetMinimumPixels(UDMinPix->Position());
}

void TFormGrafGeneral::CBDirChange(TObject*) {
  if (TheChart) TheChart->Zoom()->SetDirection(static_cast<TGrafZoomDirection>(std::max(0, CBDir->ItemIndex())));
}

void TFormGrafGeneral::CBZoomMouseChange(TObject*) {
  if (TheChart) TheChart->Zoom()->SetMouseButton(static_cast<TMouseButton>(std::max(0, CBZoomMouse->ItemIndex())));
}

void TFormGrafGeneral::CBUpLeftClick(TObject*) {
  if (TheChart) TheChart->Zoom()->SetUpLeftZooms(CBUpLeft->Checked());
}

void TFormGrafGeneral::BZoomColorClick(TObject*) {
  if (TheChart) RunBrushDialog(this, TheChart->Zoom()->Brush());
}

void TFormGrafGeneral::RGPanningClick(TObject*) {
  if (!TheChart || RGPanning->ItemIndex() < 0) return;
  TheChart->SetAllowPanning(static_cast<TPanningMode>(RGPanning->ItemIndex()));
  CBScrollMouse->SetEnabled(TheChart->AllowPanning() != pmNone);
}

void TFormGrafGeneral::CBScrollMouseChange(TObject*) {
  if (TheChart) TheChart->SetScrollMouseButton(static_cast<TMouseButton>(std::max(0, CBScrollMouse->ItemIndex())));
}

void TFormGrafGeneral::CBMarUnitsChange(TObject*) {
  if (!TheChart) return;
  TheChart->SetMarginUnits(CBMarUnits->ItemIndex() == 1 ? muPixels : muPercent);
  SetMarginRanges();
}

void TFormGrafGeneral::CBCursorChange(TObject*) {
  if (!TheChart || CBCursor->ItemIndex() < 0) return;
  const TCursor cursor = CursorFromName(TheChart->Cursor(), CBCursor->Items()->Strings(CBCursor->ItemIndex()));
  TheChart->SetCursor(cursor);
  TheChart->SavedCursor = cursor;
}

void TFormGrafGeneral::MarginChange(int Side) {
  if (!TheChart || !FormShowing(this)) return;
  TUpDown* ud[4] = {UDLeftMa, UDTopMa, UDRightMa, UDBotMa};
  const int value = ud[Side]->Position();
  if (TheChart->MarginUnits() == muPercent && value + TheChart->GetMarginSide((Side + 2) % 4) >= 100) {
    ud[Side]->SetPosition(TheChart->GetMarginSide(Side));
    return;
  }
  TheChart->SetMarginSide(Side, value);
}

void TFormGrafGeneral::BPrintClick(TObject*) {
  if (TheChart) ShowChartPrintPreview(this, TheChart);
}

void ShowChartPrintPreview(TComponent* Owner, TCustomGrafPanel* Panel) {
  struct TRepaint {
    TCustomGrafPanel* Panel;
    ~TRepaint() {
      if (Panel) Panel->Repaint();
    }
  } repaint{Panel};
  TClass previewClass = GetClass("TChartPreview");
  if (!previewClass) return;
  std::unique_ptr<TComponent> created(CreateComponentOfClass(previewClass, Owner));
  auto* preview = dynamic_cast<TCustomForm*>(created.get());
  if (!preview) return;
  if (auto* chartPreview = dynamic_cast<TChartPreview*>(preview))
    chartPreview->PageNavigatorClass = &TChartPageNavigator::StaticClass();
  preview->SetTag(reinterpret_cast<intptr_t>(Panel));
  preview->ShowModal();
}

void RegisterGeneralPageClasses() {
  RegisterClasses({&TChartPageNavigator::StaticClass(), &TFormGrafGeneral::StaticClass()});
}
