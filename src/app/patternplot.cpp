#include "app/patternplot.h"

#include <cmath>
#include <numbers>
#include <span>

#include "app/mainlink.h"
#include "app/popupmenus.h"
#include "toolbar/tbpopupmenu.h"
#include "app/positionsaver.h"
#include "app/scalesdialog.h"
#include "chart/editor/grafedit.h"
#include "model/global.h"
#include "model/plotdata.h"
#include "model/refine.h"
#include "model/rietclass.h"
#include "platform/dialogs.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/fileutils.h"
#include "platform/rtl/format.h"

TPlotForm* RefinePlotWindow = nullptr;
TPlotForm* DataPlotWindow = nullptr;

ZV_CLASS_IMPL_NOPROPS(TPlotForm, TForm)

namespace {

// Shared by every plot window: what the mouse is doing on a chart.
struct TMouseState {
  bool DownSeen = false;
  bool Moved = false;
  bool ExcludedPending = false;
  int ExcludedStartPixel = 0;
  double ExcludedStartValue = 0;
  int BandFrom = -1;
  int BandTo = -1;
};

TMouseState& Mouse() {
  static TMouseState state;
  return state;
}

// Indexes of PlotColours and PlotScales.
enum { pcBackground, pcData, pcCalc, pcDiff, pcMarkers, pcMain };
enum { psHKLScale, psHKLheight, psDifferenceScale, psHKLSep };

TAction* NewAction(TComponent* owner, const char* name, const std::string& caption, TNotifyEvent handler) {
  auto* a = new TAction(owner);
  a->SetName(name);
  a->SetCaption(caption);
  a->SetOnExecute(std::move(handler));
  return a;
}

TTBItem* NewItem(TTBPopupMenu* menu, const std::string& caption, TNotifyEvent handler) {
  return AddPopupItem(menu, caption, std::move(handler));
}

void NewSeparator(TTBPopupMenu* menu) { AddPopupSeparator(menu); }

// Holds the series' repaints while many points are added: one repaint at
// the end instead of one per point.
class TBulkAdd {
public:
  explicit TBulkAdd(std::initializer_list<TChartSeries*> series) : FSeries(series) {
    for (TChartSeries* s : FSeries) s->SuspendUpdates();
  }
  ~TBulkAdd() {
    for (TChartSeries* s : FSeries) s->ResumeUpdates();
    if (!FSeries.empty() && FSeries.front()->ParentChart()) FSeries.front()->ParentChart()->Invalidate();
  }
  TBulkAdd(const TBulkAdd&) = delete;
  TBulkAdd& operator=(const TBulkAdd&) = delete;

private:
  std::vector<TChartSeries*> FSeries;
};

// General format with the given precision and 3 exponent digits.
std::string General(double v, int precision) { return FloatToStrF(v, ffGeneral, precision, 3); }

}  // namespace

bool TPlotForm::ExcludedPending() { return Mouse().ExcludedPending; }

TPlotForm::TPlotForm(TComponent* AOwner) : TForm(AOwner) {
  SetCaption("Plot");
  // Its controls and toolbar buttons show their hints while the program shows hints.
  SetShowHint(true);
  SetClientWidth(640);
  SetClientHeight(420);

  StatusBar1 = new TStatusBar(this);
  StatusBar1->SetParent(this);
  for (const char* text : {"x:", "y:", "d:", "Phase:", "hkl:"}) StatusBar1->AddPanel(100, text);

  Chart1 = new TChart(this);
  Chart1->SetName("Chart1");
  Chart1->SetParent(this);
  Chart1->SetAlign(alClient);
  Chart1->SetView3D(false);
  Chart1->Legend()->SetVisible(false);
  Chart1->SetColor(clWhite);
  for (int side = 0; side < 4; ++side) Chart1->SetMarginSide(side, 2);
  Chart1->SetCursor(crCross);
  Chart1->LeftAxis()->Grid()->SetVisible(false);
  Chart1->BottomAxis()->Grid()->SetVisible(false);
  Chart1->LeftAxis()->Title()->SetCaption("Counts");
  Chart1->BottomAxis()->Title()->SetCaption("2 Theta");
  Chart1->BottomAxis()->SetMinorTickCount(4);
  Chart1->BottomAxis()->SetLabels(true);
  Chart1->LeftAxis()->SetMinorTickCount(5);
  Chart1->Title()->Text()->Clear();
  Chart1->Title()->Text()->Add("Data Plot");
  Chart1->SetPrintProportional(false);
  Chart1->PrintMargins = Rect(7, 14, 9, 12);

  PointSeries1 = new TPointSeries(this);
  PointSeries1->SetTitle("DataPoints");
  PointSeries1->Pointer()->SetStyle(psCross);
  PointSeries1->Pointer()->SetHorizSize(2);
  PointSeries1->Pointer()->SetVertSize(2);
  PointSeries1->SetShowInLegend(false);
  BackGroundSeries = new TPointSeries(this);
  BackGroundSeries->SetTitle("BackgroundPoints");
  BackGroundSeries->Pointer()->SetStyle(psRectangle);
  BackGroundSeries->SetActive(false);
  Series1 = new TFastLineSeries(this);
  Series1->SetTitle("CalculationLine");
  Series2 = new TFastLineSeries(this);
  Series2->SetTitle("DifferenceLine");
  HKLMarkers = new TPointSeries(this);
  HKLMarkers->SetTitle("MarkerPoints");
  HKLMarkers->Pointer()->SetStyle(psCircle);
  HKLMarkers->Pointer()->SetHorizSize(1);
  HKLMarkers->Pointer()->SetVertSize(6);
  HKLMarkers->Pointer()->Pen()->SetVisible(false);
  HKLMarkers->SetShowInLegend(false);
  for (TChartSeries* s : std::initializer_list<TChartSeries*>{PointSeries1, BackGroundSeries, Series1, Series2,
                                                             HKLMarkers})
  {
    s->SetParentChart(Chart1);
    // The window draws through these five: the chart editor may restyle
    // them but neither delete them nor change their type.
    s->SetStyle({csfUndeletable, csfFixedType});
  }

  Chart1->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) { Chart1MouseMove(s, sh, x, y); };
  Chart1->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
    Chart1MouseDown(s, b, sh, x, y);
  };
  Chart1->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
    Chart1MouseUp(s, b, sh, x, y);
  };
  Chart1->OnAfterDraw = [this](TObject* s) { Chart1AfterDraw(s); };
  Chart1->OnBeforeDrawChart = [this](TObject* s) { Chart1BeforeDrawChart(s); };
  // The band drawn by the mouse is painted over when the data points draw.
  PointSeries1->AfterDrawValues = [](TObject*) { Mouse().BandFrom = Mouse().BandTo = -1; };
  BackGroundSeries->OnClick = [this](TChartSeries* s, int i, TMouseButton b, TShiftState sh, int x, int y) {
    BackGroundSeriesClick(s, i, b, sh, x, y);
  };
  HKLMarkers->OnClickPointer = [this](TCustomSeries* s, int i, int x, int y) { HKLMarkersClickPointer(s, i, x, y); };

  PopupMenu1 = NewItemPopupMenu(this, [this](TObject* s) { PopupMenu1Popup(s); });
  Unzoom1 = NewItem(PopupMenu1, "Unzoom", [this](TObject*) { Chart1->RevertZoom(); });
  NewSeparator(PopupMenu1);
  InsertBackground1 = NewItem(PopupMenu1, "Insert Background", [this](TObject* s) { InsertBackground1Click(s); });
  DeleteBackground1 = NewItem(PopupMenu1, "Delete Background", [this](TObject* s) { DeleteBackground1Click(s); });
  ClearAllBackground1 =
      NewItem(PopupMenu1, "Clear All Background", [this](TObject* s) { ClearAllBackground1Click(s); });
  SemiAutoBackground1 =
      NewItem(PopupMenu1, "Semi-Auto Background", [this](TObject* s) { SemiAutoBackground1Click(s); });
  NewSeparator(PopupMenu1);
  InsertExcluded1 = NewItem(PopupMenu1, "Insert Excluded", [this](TObject* s) { InsertExcluded1Click(s); });
  DeleteExcluded1 = NewItem(PopupMenu1, "Delete Excluded", [this](TObject* s) { DeleteExcluded1Click(s); });

  SaveDialog1 = new TSaveDialog(this);
  PrintDialog1 = new TPrintDialog(this);
  PrinterSetupDialog1 = new TPrinterSetupDialog(this);
  ChartPreviewer1 = new TChartPreviewer(this);
  ChartPreviewer1->SetName("ChartPreviewer1");
  ChartPreviewer1->SetChart(Chart1);
  ChartPreviewer1->SetTitle("Zelvora Print Preview");
  ChartEditor1 = new TChartEditor(this);
  ChartEditor1->SetName("ChartEditor1");
  ChartEditor1->SetChart(Chart1);
  ChartEditor1->Options = {ceDelete, ceChange, ceTitle, ceHelp};

  ChartActionSaveBMP = NewAction(this, "ChartActionSaveBMP", "&Save as BMP...", [this](TObject*) {
    SaveChart("bmp", "BitMap Files (*.bmp)|*.bmp", false);
  });
  // An enhanced metafile is named and offered as one.
  ChartActionSaveMETA = NewAction(this, "ChartActionSaveMETA", "Save as EMF...", [this](TObject*) {
    SaveChart("emf", "Enhanced Metafiles (*.emf)|*.emf", true);
  });
  actExport = NewAction(this, "actExport", "Export to Excel/Sigma plot file",
                        [this](TObject* s) { actExportExecute(s); });
  actPageSetup = NewAction(this, "actPageSetup", "Page Set&up", [this](TObject*) { PrinterSetupDialog1->Execute(); });
  ChartActionPrint1 =
      NewAction(this, "ChartActionPrint1", "&Print...", [this](TObject* s) { ChartActionPrint1Execute(s); });
  actPrintpreview =
      NewAction(this, "actPrintpreview", "Print Pre&view", [this](TObject* s) { actPrintpreviewExecute(s); });
  actClose = NewAction(this, "actClose", "&Close", [this](TObject*) { Close(); });
  ChartActionCopyBMP =
      NewAction(this, "ChartActionCopyBMP", "&Copy as BMP", [this](TObject*) { Chart1->CopyBitmapToClipboard(); });
  ChartActionCopyEMF = NewAction(this, "ChartActionCopyEMF", "Copy as EMF",
                                 [this](TObject*) { Chart1->CopyMetafileToClipboard(false); });
  ChartActionEdit1 =
      NewAction(this, "ChartActionEdit1", "&Edit...", [this](TObject* s) { ChartActionEdit1Execute(s); });
  actScales = NewAction(this, "actScales", "&Scales", [this](TObject* s) { actScalesExecute(s); });
  actUnZoom = NewAction(this, "actUnZoom", "&Unzoom", [this](TObject*) { Chart1->RevertZoom(); });
  actSetd = NewAction(this, "actSetd", "View as &d spacings", [this](TObject* s) { actSetdExecute(s); });
  HelpContents1 = NewAction(this, "HelpContents1", "&Help", {});
  HelpContents1->SetEnabled(false);

  CreateMenusAndToolbars();

  OnActivate = [this](TObject* s) { FormActivate(s); };
  OnDeactivate = [this](TObject* s) { FormDeactivate(s); };
  OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
  // After OnClose: the saver chains the window's own handlers.
  FormPosSaver1 = new TFormPosSaver(this);
  FormPosSaver1->SetUseRegistry(true);
  FormPosSaver1->SetRegRootKey(_CURRENT_USER);
  FormPosSaver1->SetRegKey("Software\\Zelvora\\Configuration\\PlotForm");
  FormCreate();
}

namespace {

TTBItem* ActionItem(TComponent* owner, TAction* action) {
  auto* item = new TTBItem(owner);
  item->SetAction(action);
  return item;
}

TTBSubmenuItem* Submenu(TComponent* owner, const std::string& caption, std::initializer_list<TTBCustomItem*> items) {
  auto* menu = new TTBSubmenuItem(owner);
  menu->SetCaption(caption);
  for (TTBCustomItem* item : items) menu->Add(item);
  return menu;
}

}  // namespace

void TPlotForm::CreateMenusAndToolbars() {
  auto sep = [this]() -> TTBCustomItem* { return new TTBSeparatorItem(this); };
  TBDock1 = new TTBDock(this);
  TBDock1->SetName("TBDock1");
  TBDock1->SetParent(this);

  TBToolbar1 = new TTBToolbar(this);
  TBToolbar1->SetName("TBToolbar1");
  TBToolbar1->SetMenuBar(true);
  TBToolbar1->Items()->Add(Submenu(this, "&File",
                                   {ActionItem(this, ChartActionSaveBMP), ActionItem(this, ChartActionSaveMETA), sep(),
                                    ActionItem(this, actExport), sep(), ActionItem(this, actPageSetup),
                                    ActionItem(this, ChartActionPrint1), ActionItem(this, actPrintpreview), sep(),
                                    ActionItem(this, actClose)}));
  TBToolbar1->Items()->Add(
      Submenu(this, "&Edit", {ActionItem(this, ChartActionCopyBMP), ActionItem(this, ChartActionCopyEMF)}));
  TBToolbar1->Items()->Add(Submenu(this, "&Chart",
                                   {ActionItem(this, ChartActionEdit1), ActionItem(this, actUnZoom), sep(),
                                    ActionItem(this, actScales), sep(), ActionItem(this, actSetd)}));
  TBToolbar1->Items()->Add(ActionItem(this, HelpContents1));
  TBToolbar1->SetCurrentDock(TBDock1);

  TBToolbarMain = new TTBToolbar(this);
  TBToolbarMain->SetName("TBToolbarMain");
  TBToolbarMain->SetCaption("Main Toolbar");
  TBToolbarMain->SetDockRow(1);
  const std::initializer_list<TTBCustomItem*> mainItems = {
      ActionItem(this, ChartActionSaveBMP), ActionItem(this, actClose),         sep(),
      ActionItem(this, ChartActionPrint1),  ActionItem(this, actPrintpreview), sep(),
      ActionItem(this, ChartActionCopyBMP), sep(),                              ActionItem(this, ChartActionEdit1),
      ActionItem(this, actUnZoom)};
  for (TTBCustomItem* item : mainItems) TBToolbarMain->Items()->Add(item);
  TBToolbarMain->SetCurrentDock(TBDock1);

  TBToolbarHist = new TTBToolbar(this);
  TBToolbarHist->SetName("TBToolbarHist");
  TBToolbarHist->SetCaption("Histogram toolbar");
  TBToolbarHist->SetDockRow(1);
  ComboBoxHist = new TComboBox(this);
  ComboBoxHist->SetStyle(csDropDownList);
  ComboBoxHist->SetBounds(0, 0, 140, 22);
  ComboBoxHist->SetParent(TBToolbarHist);
  ComboBoxHist->OnChange = [this](TObject* s) { ComboBoxHistChange(s); };
  TBToolbarHist->SetCurrentDock(TBDock1);

  TBPopupMenuDock = NewDockPopupMenu(this, [this](TObject*) {
    MainToolbar1->SetChecked(TBToolbarMain->Visible());
    HistogramToolbar1->SetChecked(TBToolbarHist->Visible());
  });
  MainToolbar1 = AddPopupItem(TBPopupMenuDock, "Main toolbar",
                              [this](TObject*) { TBToolbarMain->SetVisible(!TBToolbarMain->Visible()); });
  HistogramToolbar1 = AddPopupItem(TBPopupMenuDock, "Histogram toolbar",
                                   [this](TObject*) { TBToolbarHist->SetVisible(!TBToolbarHist->Visible()); });
  TBDock1->SetPopupMenu(TBPopupMenuDock);
}

TPlotForm::~TPlotForm() {
  if (LastActiveControl == Chart1) LastActiveControl = nullptr;
  if (RefinePlotWindow == this) RefinePlotWindow = nullptr;
  if (DataPlotWindow == this) DataPlotWindow = nullptr;
}

void TPlotForm::FormCreate() {
  Mouse().DownSeen = false;
  Mouse().ExcludedPending = false;
  Mouse().BandFrom = Mouse().BandTo = -1;
  for (TTBItem* item : {InsertBackground1, DeleteBackground1, InsertExcluded1, DeleteExcluded1})
    item->SetChecked(false);
  actSetd->SetChecked(ViewD);
  LastActiveControl = Chart1;
  Chart1->SetZoomAllowed(true);
  Chart1->SetColor(static_cast<TColor>(PlotColours[pcMain]));
  Chart1->SetBackColor(clDefault);
  Chart1->SetPrintResolution(-50);
}

bool TPlotForm::EngineStatus() const { return PlotData && (PlotData->Status() == 3 || PlotData->Status() == 4); }

double TPlotForm::GenD(double x) const {
  if (!EngineStatus()) return 0;
  // The pattern's own instrument: it still reads after the model is gone.
  const TPlotData::TInstrument h = PlotData->Instrument();
  if (!h.Known) return 0;
  const double zero = h.Zero, w1 = h.Wavelength1, w2 = h.Wavelength2;
  const double pi = std::numbers::pi;
  switch (h.Job) {
    case jobTOFData:
    case jobTOFCalc:
      return (x - zero) / (w1 - ((x - zero) / w1) * w2);
    case jobEDData:
    case jobEDCalc:
      return 6.199 / (std::sin(w1 * pi / 360) * (x - zero));
    default:
      return w1 * 0.5 / std::sin(x * pi / 360);
  }
}

void TPlotForm::Plot() {
  TProgramBusy busy;
  if (Application) Application->ProcessMessages();
  BackGroundSeries->SetSeriesColor(static_cast<TColor>(PlotColours[pcBackground]));
  PointSeries1->SetSeriesColor(static_cast<TColor>(PlotColours[pcData]));
  Series1->SetSeriesColor(static_cast<TColor>(PlotColours[pcCalc]));
  Series2->SetSeriesColor(static_cast<TColor>(PlotColours[pcDiff]));
  HKLMarkers->SetSeriesColor(static_cast<TColor>(PlotColours[pcMarkers]));
  if (!PlotData) return;
  bool showDifference = true;
  const TPlotData::TInstrument hist = PlotData->Instrument();
  const bool calculation = hist.Known && (hist.Job == jobXrayCalc || hist.Job == jobNeutronCalc ||
                                          hist.Job == jobTOFCalc || hist.Job == jobEDCalc);
  if (EngineStatus()) {
    // Filled again only when the histograms differ: a run replots every cycle.
    std::vector<std::string> names;
    if (Refinement)
      for (int i = 1, n = Model ? Model->HistogramCount() : 0; i <= n; ++i)
        names.push_back("Histogram " + std::to_string(i));
    TStrings* items = ComboBoxHist->Items();
    bool same = items->Count() == static_cast<int>(names.size());
    for (int i = 0; same && i < items->Count(); ++i) same = items->Get(i) == names[static_cast<std::size_t>(i)];
    if (!same) {
      items->Clear();
      for (const std::string& name : names) items->Add(name);
    }
    if (Refinement) {
      ComboBoxHist->SetItemIndex(PlotData->Histogram() - 1);
      if (Refinement->CycleCount() == 0 || calculation) showDifference = false;
    }
  } else {
    TBToolbarHist->SetVisible(false);
  }
  TStrings* titleText = Chart1->Title()->Text();
  if (titleText->Count() != 1 || titleText->Get(0) != PlotData->Title()) {
    titleText->Clear();
    titleText->Add(PlotData->Title());
  }

  const int n = std::min(PlotData->PointCount(), static_cast<int>(PlotData->X().size()));
  TBulkAdd bulk{PointSeries1, Series1, Series2, HKLMarkers};
  if (PlotData->Status() == 2) {
    PointSeries1->RemoveAllPoints();
    for (int i = 0; i < n; ++i) PointSeries1->AddXYPoint(PlotData->X()[i], PlotData->Y()[i], "", clDefault);
  }
  if (!EngineStatus()) return;

  HKLMarkers->RemoveAllPoints();
  PlotBackGround();
  const double yMin = PlotData->MinY(), yMax = PlotData->MaxY();
  const double xMin = PlotData->MinX(), xMax = PlotData->MaxX();
  const double step = (yMax - yMin) / 8;
  std::string title = "2 theta (deg)";
  if (ViewD)
    title = "d spacing (angstroms)";
  else if (hist.Known && (hist.Job == jobTOFData || hist.Job == jobTOFCalc))
    title = "TOF (microseconds)";
  else if (hist.Known && (hist.Job == jobEDData || hist.Job == jobEDCalc))
    title = "Energy (keV)";
  Chart1->BottomAxis()->Title()->SetCaption(title);

  // A value the chart cannot place (a d-spacing of x = 0, an overflow)
  // stops the drawing; what was added so far stays.
  auto bad = [](double v) { return !std::isfinite(v); };
  try {
    const int calcCount = std::min(n, static_cast<int>(PlotData->Calculated().size()));
    const double shift = PlotScales[psDifferenceScale] * step / 100;
    const std::span<const float> xs = PlotData->X(), ys = PlotData->Y(), cs = PlotData->Calculated();
    auto pointAt = [&](int i, double& x, double& obs, double& calc) {
      x = ViewD ? GenD(xs[i]) : xs[i];
      obs = ys[i];
      calc = i < calcCount ? cs[i] : 0;
      return !(bad(x) || bad(obs) || bad(calc) || bad(obs - calc - shift));
    };
    // A replot of the same points (the next cycle of a run) changes the
    // values in place; anything else clears the series and adds the points.
    // A run replots every cycle: the check and the stores go through the
    // arrays in plain loops.
    bool inPlace = PointSeries1->Count() == n && Series1->Count() == n && Series2->Count() == (showDifference ? n : 0);
    if (inPlace) {
      const double* xObs = PointSeries1->XValues()->Values().data();
      const double* xCalc = Series1->XValues()->Values().data();
      // Without a difference line its series is empty: compare the first again.
      const double* xDiff = showDifference ? Series2->XValues()->Values().data() : xObs;
      auto unchanged = [&](auto xAt) {
        bool same = true;  // each point at its place and every value finite (bitwise: no branch per point)
        for (int i = 0; i < n; ++i) {
          const double x = xAt(i), obs = ys[i], calc = i < calcCount ? cs[i] : 0;
          same &= (xObs[i] == x) & (xCalc[i] == x) & (xDiff[i] == x) & std::isfinite(obs) & std::isfinite(calc) &
                  std::isfinite(obs - calc - shift);
        }
        return same;
      };
      inPlace = ViewD ? unchanged([&](int i) { return GenD(xs[i]); })
                      : unchanged([&](int i) { return static_cast<double>(xs[i]); });
    }
    if (inPlace) {
      const std::span<double> yObs = PointSeries1->YValues()->ValuesToStore();
      const std::span<double> yCalc = Series1->YValues()->ValuesToStore();
      for (int i = 0; i < n; ++i) {
        yObs[i] = ys[i];
        yCalc[i] = i < calcCount ? cs[i] : 0;
      }
      if (showDifference) {
        const std::span<double> yDiff = Series2->YValues()->ValuesToStore();
        for (int i = 0; i < n; ++i) yDiff[i] = yObs[i] - yCalc[i] - shift;
      }
    }
    if (!inPlace) {
      PointSeries1->RemoveAllPoints();
      Series1->RemoveAllPoints();
      Series2->RemoveAllPoints();
      for (int i = 0; i < n; ++i) {
        double x, obs, calc;
        if (!pointAt(i, x, obs, calc)) throw EOverflow("Plot data out of range.");
        PointSeries1->AddXYPoint(x, obs, "", clDefault);
        Series1->AddXYPoint(x, calc, "", clDefault);
        if (showDifference) Series2->AddXYPoint(x, obs - calc - shift, "", clDefault);
      }
    }
    const int markers = std::min({PlotData->MarkerCount(), static_cast<int>(PlotData->MarkerPositions().size()),
                                  static_cast<int>(PlotData->MarkerCodes().size())});
    for (int i = 0; i < markers; ++i) {
      const double p = PlotData->MarkerPositions()[i];
      if (!(xMin <= p && p <= xMax)) continue;
      const int32_t code = PlotData->MarkerCodes()[i];
      const int phase = code / (1 << 26);
      const int s = (code / (1 << 24)) % 4;
      const double offset = step * ((s - 1) * 0.25 + (phase - 1)) / 4;
      const double x = ViewD ? GenD(p) : p;
      const double y = -step * PlotScales[psHKLScale] / 800 - PlotScales[psHKLSep] * offset / 100;
      if (bad(x) || bad(y)) throw EOverflow("Plot data out of range.");
      HKLMarkers->AddXYPoint(x, y, "", clDefault);
    }
  } catch (const EOverflow&) {
    ShowMessage("Plot data out of range.");
  }
}

void TPlotForm::PlotBackGround() {
  if (PlotData && PlotData->HistogramRef()) {
    THistogram* h = PlotData->HistogramRef();
    BackGroundSeries->RemoveAllPoints();
    if (h->Background.Kind == bkUserPoints) {
      const TColor colour = static_cast<TColor>(PlotColours[pcBackground]);
      for (int i = 0; i < h->Background.PointCount(); ++i)
        BackGroundSeries->AddXYPoint(h->Background.Points.GetX(i), h->Background.Points.GetY(i), "", colour);
      BackGroundSeries->SetActive(true);
    } else {
      BackGroundSeries->SetActive(false);
    }
  }
  Chart1->SetZoomAllowed(true);
}

int TPlotForm::GetNearestPoint(TChartSeries* Series, int Pixel) {
  if (Series->Count() == 0) return -1;
  int best = -1;
  int nearest = 100000;
  for (int i = 0; i < Series->Count(); ++i) {
    const int d = std::abs(Series->PointXPixel(i) - Pixel);
    if (d < nearest) {
      nearest = d;
      best = i;
    }
  }
  return best;
}

int TPlotForm::GetNearestHKL(double d) const {
  if (!PlotData || PlotData->MarkerCodes().empty() || PlotData->MarkerCount() == 0) return -1;
  const int markers = std::min(PlotData->MarkerCount(), static_cast<int>(PlotData->MarkerPositions().size()));
  int best = -1;
  double nearest = 100000;
  for (int i = 1; i <= markers; ++i) {
    const double dd = std::abs(GenD(PlotData->MarkerPositions()[i - 1]) - d);
    if (dd < nearest) {
      nearest = dd;
      best = i;
    }
  }
  return best;
}

void TPlotForm::UpdateHKLMarker(int i) {
  if (!PlotData || PlotData->MarkerCodes().empty()) return;
  StatusBar1->SetPanelText(3, "Phase: " + std::to_string(PlotData->MarkerPhase(i)));
  StatusBar1->SetPanelText(4, "hkl: " + std::to_string(PlotData->MarkerH(i)) + " " +
                                  std::to_string(PlotData->MarkerK(i)) + " " + std::to_string(PlotData->MarkerL(i)));
}

double TPlotForm::GetBackgroundAve(TChartSeries* Series, int Pixel) {
  const int n = GetNearestPoint(Series, Pixel);
  if (n < 0) return 0;
  const int first = std::max(0, n - BackgroundAveraging);
  const int last = std::min(Series->Count() - 1, n + BackgroundAveraging);
  double sum = 0;
  for (int i = first; i <= last; ++i) sum += Series->YValues()->GetValue(i);
  return sum / (last - first + 1);
}

void TPlotForm::DrawBand(int FromPixel, int ToPixel, bool Painting) {
  // While the chart paints, its own canvas (the window or a picture being
  // made); from the mouse, the window's surface.
  auto draw = [&](TPen* pen, TBrush* brush, auto&& rectangle) {
    pen->SetMode(pmXor);
    pen->SetWidth(1);
    pen->SetColor(clRed);
    brush->SetStyle(bsSolid);
    brush->SetColor(clRed);
    rectangle(FromPixel, Chart1->ChartArea.Top, ToPixel, Chart1->ChartArea.Bottom);
    pen->SetMode(pmCopy);
  };
  if (Painting) {
    TCanvas3D* canvas = Chart1->PanelCanvas();
    draw(canvas->CanvasPen(), canvas->CanvasBrush(), [&](int a, int b, int c, int d) { canvas->Rectangle(a, b, c, d); });
  } else {
    TCanvas* canvas = Chart1->Canvas();
    draw(canvas->Pen(), canvas->Brush(), [&](int a, int b, int c, int d) { canvas->Rectangle(a, b, c, d); });
  }
}

std::string TPlotForm::DReadOut(double d) {
  // No d-spacing belongs to a constant-wavelength x of 0.
  return std::isfinite(d) ? "d: " + General(d, 6) : "d: ";
}

void TPlotForm::Chart1MouseMove(TObject*, TShiftState, int X, int Y) {
  TMouseState& m = Mouse();
  m.Moved = true;
  if (m.DownSeen && PlotData) {
    const double x = PointSeries1->GetHorizAxis() ? PointSeries1->GetHorizAxis()->PixelToValue(X) : 0;
    const double y = PointSeries1->GetVertAxis() ? PointSeries1->GetVertAxis()->PixelToValue(Y) : 0;
    StatusBar1->SetPanelText(0, "x: " + General(x, 7));
    StatusBar1->SetPanelText(1, "y: " + General(y, 7));
    if (PlotData->Status() == 4 && PlotData->HistogramRef()) {
      const double d = ViewD ? x : GenD(x);
      StatusBar1->SetPanelText(2, DReadOut(d));
      const int hkl = std::isfinite(d) ? GetNearestHKL(d) : -1;
      if (hkl > 0) UpdateHKLMarker(hkl);
    }
  }
  if (m.ExcludedPending && PlotData && PlotData->Status() == 4) {
    if (m.BandFrom >= 0) DrawBand(m.BandFrom, m.BandTo, false);
    DrawBand(m.ExcludedStartPixel, X, false);
    m.BandFrom = m.ExcludedStartPixel;
    m.BandTo = X;
  }
}

void TPlotForm::Chart1MouseDown(TObject*, TMouseButton Button, TShiftState, int X, int Y) {
  TMouseState& m = Mouse();
  m.DownSeen = true;
  m.Moved = false;
  const double x = PointSeries1->GetHorizAxis() ? PointSeries1->GetHorizAxis()->PixelToValue(X) : 0;
  double y = PointSeries1->GetVertAxis() ? PointSeries1->GetVertAxis()->PixelToValue(Y) : 0;
  if (!PlotData || !PlotData->HistogramRef() || PlotData->Status() != 4 || Button != mbLeft) return;
  THistogram* h = PlotData->HistogramRef();
  if (InsertBackground1->Checked()) {
    BackGroundSeries->SetActive(true);
    if (SemiAutoBackground1->Checked()) y = GetBackgroundAve(PointSeries1, X);
    h->Background.AddPoint(static_cast<float>(x), static_cast<float>(y));
    PlotBackGround();
  }
  if (m.ExcludedPending) {
    m.ExcludedPending = false;
    InsertExcluded1->SetChecked(false);
    h->Excluded.AddRegion(static_cast<float>(m.ExcludedStartValue), static_cast<float>(x));
    Chart1->Repaint();
  } else if (InsertExcluded1->Checked()) {
    m.ExcludedPending = true;
    m.ExcludedStartPixel = X;
    m.ExcludedStartValue = x;
    InsertExcluded1->SetChecked(false);
  }
  if (DeleteExcluded1->Checked()) {
    for (int i = 0; i < h->Excluded.Count(); ++i) {
      const double low = h->Excluded.Regions.GetX(i), high = h->Excluded.Regions.GetY(i);
      if (low < x && x < high) {
        h->Excluded.Delete(i + 1);
        break;
      }
    }
    DeleteExcluded1->SetChecked(false);
    Chart1->Refresh();
  }
}

void TPlotForm::Chart1MouseUp(TObject*, TMouseButton Button, TShiftState, int X, int Y) {
  if (Button == mbRight && !Mouse().Moved) ShowPopupMenu(Chart1->ClientToScreen(Point(X, Y)));
  Mouse().Moved = false;
}

void TPlotForm::ShowPopupMenu(TPoint ScreenPoint) { PopupMenuAt(PopupMenu1, ScreenPoint.X, ScreenPoint.Y); }

void TPlotForm::Chart1AfterDraw(TObject*) {
  if (!PlotData || PlotData->Status() != 4 || !PlotData->HistogramRef()) return;
  const TExcluded& ex = PlotData->HistogramRef()->Excluded;
  TChartAxis* axis = Chart1->BottomAxis();
  for (int i = 0; i < ex.Count(); ++i) {
    const double lo = std::max(axis->Minimum(), static_cast<double>(ex.Regions.GetX(i)));
    const double hi = std::min(axis->Maximum(), static_cast<double>(ex.Regions.GetY(i)));
    if (lo <= axis->Maximum() && hi >= axis->Minimum())
      DrawBand(axis->ValueToPixel(lo), axis->ValueToPixel(hi), true);
  }
}

// The label at the x axis's right end is centred on it: the chart keeps
// room for its right half (five-digit times of flight are wider than the
// margin), so it is never cut by the chart's edge.
void TPlotForm::Chart1BeforeDrawChart(TObject*) {
  TChartAxis* axis = Chart1->BottomAxis();
  double last = axis->Maximum();
  if (axis->Automatic() && PointSeries1->Count() > 0) last = PointSeries1->XValues()->MaxValue();
  TCanvas3D* canvas = Chart1->PanelCanvas();
  canvas->ApplyFont(axis->LabelsFont());
  const int need = canvas->TextWidth(axis->FormatLabelValue(last)) / 2 + 2;
  const int room = Chart1->DrawBounds.Right - Chart1->ChartArea.Right;
  if (need > room) Chart1->ChartArea.Right = Chart1->DrawBounds.Right - need;
}

void TPlotForm::PopupMenu1Popup(TObject*) {
  for (TTBItem* item : {InsertBackground1, DeleteBackground1, ClearAllBackground1, InsertExcluded1, DeleteExcluded1})
    item->SetEnabled(false);
  if (!PlotData || PlotData->Status() != 4 || !PlotData->HistogramRef()) return;
  const THistogram* h = PlotData->HistogramRef();
  if (h->Background.Kind == bkUserPoints) {
    InsertBackground1->SetEnabled(true);
    ClearAllBackground1->SetEnabled(true);
    DeleteBackground1->SetEnabled(h->Background.PointCount() > 0);
    BackGroundSeries->SetActive(true);
    PlotBackGround();
  } else {
    BackGroundSeries->SetActive(false);
  }
  InsertExcluded1->SetEnabled(true);
  DeleteExcluded1->SetEnabled(h->Excluded.Count() > 0);
}

void TPlotForm::UntickEditItems(TTBItem* Keep) {
  for (TTBItem* item : {InsertBackground1, DeleteBackground1, InsertExcluded1, DeleteExcluded1})
    if (item != Keep) item->SetChecked(false);
}

void TPlotForm::InsertBackground1Click(TObject*) {
  InsertBackground1->SetChecked(!InsertBackground1->Checked());
  if (InsertBackground1->Checked()) UntickEditItems(InsertBackground1);
}

void TPlotForm::DeleteBackground1Click(TObject*) {
  DeleteBackground1->SetChecked(!DeleteBackground1->Checked());
  UntickEditItems(DeleteBackground1);
  Mouse().ExcludedPending = false;
}

void TPlotForm::InsertExcluded1Click(TObject*) {
  InsertExcluded1->SetChecked(!InsertExcluded1->Checked());
  UntickEditItems(InsertExcluded1);
  Mouse().ExcludedPending = false;
}

void TPlotForm::DeleteExcluded1Click(TObject*) {
  DeleteExcluded1->SetChecked(!DeleteExcluded1->Checked());
  UntickEditItems(DeleteExcluded1);
  Mouse().ExcludedPending = false;
}

void TPlotForm::SemiAutoBackground1Click(TObject*) { SemiAutoBackground1->SetChecked(!SemiAutoBackground1->Checked()); }

void TPlotForm::ClearAllBackground1Click(TObject*) {
  if (!PlotData || !PlotData->HistogramRef()) return;
  BackGroundSeries->SetActive(true);
  PlotData->HistogramRef()->Background.ClearPoints();
  PlotBackGround();
}

void TPlotForm::BackGroundSeriesClick(TChartSeries* Sender, int ValueIndex, TMouseButton, TShiftState, int, int) {
  if (!PlotData || PlotData->Status() != 4 || !PlotData->HistogramRef() || !DeleteBackground1->Checked()) return;
  if (ValueIndex < 0 || ValueIndex >= Sender->Count()) return;
  PlotData->HistogramRef()->Background.Points.DeleteEqual(static_cast<float>(Sender->XValues()->GetValue(ValueIndex)),
                                                          static_cast<float>(Sender->YValues()->GetValue(ValueIndex)));
  PlotBackGround();
}

void TPlotForm::HKLMarkersClickPointer(TCustomSeries*, int ValueIndex, int, int) { UpdateHKLMarker(ValueIndex + 1); }

void TPlotForm::ComboBoxHistChange(TObject*) {
  const int item = ComboBoxHist->ItemIndex();
  if (item < 0 || !Refinement || !Refinement->IsLoaded() || !PlotData) return;
  Refinement->GetPlot(*PlotData, item + 1);
  SetTag(PlotData->Histogram());
  PlotData->SetHistogramRef(Model ? Model->Histogram(static_cast<int>(Tag())) : nullptr);
  Plot();
  Chart1->RevertZoom();
}

void TPlotForm::SaveChart(const std::string& Ext, const std::string& Filter, bool Metafile) {
  SaveDialog1->DefaultExt = Ext;
  SaveDialog1->Filter = Filter;
  if (!SaveDialog1->Execute()) return;
  try {
    if (Metafile)
      Chart1->SaveToMetafile(SaveDialog1->FileName);
    else
      Chart1->SaveToBitmapFile(SaveDialog1->FileName);
  } catch (const Exception& e) {
    ShowMessage(e.Message());
  }
}

void TPlotForm::ExportPlot(const std::string& FileName) {
  std::string text = Chart1->Title()->Text()->Count() > 0 ? Chart1->Title()->Text()->Strings(0) : std::string();
  text += "\n";
  const bool engine = PlotData && PlotData->Status() == 4;
  const int markers = PlotData ? std::min(PlotData->MarkerCount(), static_cast<int>(PlotData->MarkerPositions().size()))
                               : 0;
  for (int i = 0; i < PointSeries1->Count(); ++i) {
    text += Format("%15.6f%15.6f", {PointSeries1->XValues()->GetValue(i), PointSeries1->YValues()->GetValue(i)});
    if (engine) {
      const double calc = i < Series1->Count() ? Series1->YValues()->GetValue(i) : 0;
      text += Format("%15.6f", {calc});
      if (i < markers) text += Format("%15.5f%5d", {static_cast<double>(PlotData->MarkerPositions()[i]),
                                                    PlotData->MarkerPhase(i + 1)});
    }
    text += "\n";
  }
  WriteFileAtomic(FileName, text);
}

void TPlotForm::actExportExecute(TObject*) {
  SaveDialog1->DefaultExt = "txt";
  SaveDialog1->Filter = "Export Plot Files (*.txt)|*.txt";
  if (!SaveDialog1->Execute()) return;
  try {
    ExportPlot(SaveDialog1->FileName);
  } catch (const Exception&) {
    ShowMessage("Error writing file.");
  }
}

void TPlotForm::ChartActionPrint1Execute(TObject*) {
  if (!PrintDialog1->Execute()) return;
  for (int i = 0; i < PrintDialog1->Copies; ++i) Chart1->PrintPage();
  if (PrintDialog1->Copies > 0) SayWherePrinted();
}

void TPlotForm::actPrintpreviewExecute(TObject*) {
  Chart1->SetPrintProportional(false);
  ChartPreviewer1->ShowEditor();
}

namespace {

// The pointer editor colours a series' points through the pointer's own
// brush or border; the window keeps one colour per series, so the colour
// the points show becomes the series colour and the pointer follows it again.
void TakePointerColour(TPointSeries* Series) {
  TSeriesPointer* p = Series->Pointer();
  const TSeriesPointerStyle style = p->Style();
  const bool lines = style == psCross || style == psDiagCross || style == psStar;
  TColor shown = clDefault;
  if (lines) {
    if (p->Pen()->Visible()) shown = p->Pen()->Color();
  } else {
    shown = p->Brush()->Color();
  }
  if (shown == clDefault || shown == clNone) return;
  Series->SetSeriesColor(shown);
  if (lines) p->Pen()->SetColor(clDefault);
  else p->Brush()->SetColor(clDefault);
}

}  // namespace

void TPlotForm::ChartActionEdit1Execute(TObject*) {
  ChartEditor1->ShowEditor();
  for (TPointSeries* s : {BackGroundSeries, PointSeries1, HKLMarkers}) TakePointerColour(s);
  // Colours chosen in the editor are kept, and saved at close.
  PlotColours[pcBackground] = static_cast<int>(BackGroundSeries->SeriesColor());
  PlotColours[pcData] = static_cast<int>(PointSeries1->SeriesColor());
  PlotColours[pcCalc] = static_cast<int>(Series1->SeriesColor());
  PlotColours[pcDiff] = static_cast<int>(Series2->SeriesColor());
  PlotColours[pcMarkers] = static_cast<int>(HKLMarkers->SeriesColor());
  PlotColours[pcMain] = static_cast<int>(Chart1->Color());
}

void TPlotForm::actScalesExecute(TObject*) {
  if (!FormSetScales) FormSetScales = new TFormSetScales(Application);
  if (FormSetScales->ShowModal() == mrOk) Plot();
}

void TPlotForm::actSetdExecute(TObject*) {
  ViewD = !ViewD;
  actSetd->SetChecked(ViewD);
  Chart1->RevertZoom();
  Plot();
}

void TPlotForm::FormActivate(TObject*) { LastActiveControl = Chart1; }

void TPlotForm::FormDeactivate(TObject*) {
  // A window that closes leaves no target behind.
  if (!Visible()) return;
  LastActiveControl = ActiveControl() ? static_cast<TControl*>(ActiveControl()) : Chart1;
}

void TPlotForm::FormClose(TObject*, TCloseAction& Action) {
  LastActiveControl = nullptr;
  Action = caHide;
}
