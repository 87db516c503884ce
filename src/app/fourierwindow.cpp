#include "app/fourierwindow.h"

#include <cmath>
#include <numbers>

#include "app/mainlink.h"
#include "chart/editor/grafcomma.h"
#include "chart/editor/grafedit.h"
#include "chart/series/grafopengl.h"
#include "model/brkapart.h"
#include "model/global.h"
#include "model/refine.h"
#include "model/rietclass.h"
#include "platform/dialogs.h"
#include "platform/gfx/printer.h"
#include "platform/rtl/dynlib.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/format.h"
#include "zudezez_api.h"

ZV_CLASS_IMPL_NOPROPS(TFormPlotFourier, TForm)

namespace {

// What the window keeps between its instances.
struct TFourierState {
  std::vector<float> Map = std::vector<float>(FourierValues, 0.0f);
  int Axis = 3;
  int Levels = 15;
  int Thickness = 2;
  float Minimum = 0;
  float Maximum = 0;
  bool Stop = false;
};

TFourierState& State() {
  static TFourierState state;
  return state;
}

const int kLevels[6] = {5, 10, 15, 20, 25, 30};
const char* const kTypes[6] = {"Fourier obs",   "Fourier calc",   "Fourier diff",
                               "Patterson obs", "Patterson calc", "Patterson diff"};

TFormatSettings PointSettings() {
  TFormatSettings s = FormatSettings;
  s.DecimalSeparator = '.';
  return s;
}

TTBItem* NewItem(TComponent* owner, const std::string& caption, TNotifyEvent handler) {
  auto* item = new TTBItem(owner);
  item->SetCaption(caption);
  if (handler) item->SetOnClick(std::move(handler));
  return item;
}

TTBSubmenuItem* Submenu(TComponent* owner, const std::string& caption, std::initializer_list<TTBCustomItem*> items) {
  auto* menu = new TTBSubmenuItem(owner);
  menu->SetCaption(caption);
  for (TTBCustomItem* item : items) menu->Add(item);
  return menu;
}

TComboBox* NewCombo(TComponent* owner, TWinControl* parent, const std::string& caption, int top) {
  auto* label = new TLabel(owner);
  label->SetParent(parent);
  label->SetText(caption);
  label->SetBounds(8, top, 120, 16);
  auto* combo = new TComboBox(owner);
  combo->SetParent(parent);
  combo->SetStyle(csDropDownList);
  combo->SetBounds(8, top + 16, 130, 22);
  return combo;
}

TButton* NewButton(TComponent* owner, TWinControl* parent, const std::string& caption, int top) {
  auto* b = new TButton(owner);
  b->SetParent(parent);
  b->SetText(caption);
  b->SetBounds(8, top, 130, 25);
  return b;
}

}  // namespace

std::string SliceLabel(char Axis, int Slice) {
  return std::string(1, Axis) + " = " +
         FloatToStrF(static_cast<double>(Slice - 1) / FourierGrid, ffFixed, 4, 4, PointSettings());
}

void TrimRange(float& Minimum, float& Maximum) {
  Maximum = Maximum - 0.05f * (Maximum - Minimum);
  Minimum = Minimum + 0.05f * (Maximum - Minimum);
}

std::string FractionalLabel(const std::string& Text) {
  float v = 0;
  if (!TryTextToReal(Text, v)) return Text;
  return FloatToStrF(static_cast<double>(v) / FourierGrid, ffGeneral, 3, 4, PointSettings());
}

const std::vector<float>& TFormPlotFourier::Map() { return State().Map; }
float TFormPlotFourier::Minimum() { return State().Minimum; }
float TFormPlotFourier::Maximum() { return State().Maximum; }
int TFormPlotFourier::Axis() const { return State().Axis; }
int TFormPlotFourier::Levels() const { return State().Levels; }
int TFormPlotFourier::Thickness() const { return State().Thickness; }

TFormPlotFourier::TFormPlotFourier(TComponent* AOwner) : TForm(AOwner) {
  SetName("FormPlotFourier");
  SetText("Fourier");
  SetClientWidth(760);
  SetClientHeight(520);

  TBDock1 = new TTBDock(this);
  TBDock1->SetName("TBDock1");
  TBDock1->SetParent(this);
  TBToolbar1 = new TTBToolbar(this);
  TBToolbar1->SetName("TBToolbar1");
  TBToolbar1->SetCaption("Fourier Toolbar");
  TBToolbar1->SetMenuBar(true);
  BuildMenus();
  TBToolbar1->SetCurrentDock(TBDock1);

  StatusBar1 = new TStatusBar(this);
  StatusBar1->SetParent(this);
  for (const char* text : {"x:", "y:", "z:", "", ""}) StatusBar1->AddPanel(100, text);

  Panel1 = new TPanel(this);
  Panel1->SetParent(this);
  Panel1->SetAlign(alLeft);
  Panel1->SetWidth(148);
  Panel1->SetText("");
  cbHistogram = NewCombo(this, Panel1, "Histogram:", 4);
  cbPhase = NewCombo(this, Panel1, "Phase:", 44);
  cbType = NewCombo(this, Panel1, "Type:", 84);
  for (const char* t : kTypes) cbType->Items()->Add(t);
  for (TComboBox* c : {cbHistogram, cbPhase, cbType}) c->OnChange = [this](TObject* s) { EnableCalculate(s); };

  gbAxis = new TGroupBox(this);
  gbAxis->SetParent(Panel1);
  gbAxis->SetText("Axis");
  gbAxis->SetBounds(8, 126, 130, 44);
  rbX = new TRadioButton(this);
  rbY = new TRadioButton(this);
  rbZ = new TRadioButton(this);
  int left = 8;
  for (auto [rb, caption, axis] : {std::tuple{rbX, "x", 1}, std::tuple{rbY, "y", 2}, std::tuple{rbZ, "z", 3}}) {
    rb->SetParent(gbAxis);
    rb->SetText(caption);
    rb->SetBounds(left, 18, 38, 20);
    left += 40;
    rb->OnClick = [this, rb = rb, axis = axis](TObject*) {
      if (rb->Checked()) SetAxis(axis);
    };
  }

  auto* sliceLabel = new TLabel(this);
  sliceLabel->SetParent(Panel1);
  sliceLabel->SetText("Slice:");
  sliceLabel->SetBounds(8, 180, 40, 16);
  seSlice = new TSpinEdit(this);
  seSlice->SetParent(Panel1);
  seSlice->SetBounds(50, 176, 60, 22);
  seSlice->SetMinValue(1);
  seSlice->SetMaxValue(FourierGrid);
  seSlice->SetValue(1);
  seSlice->OnChange = [this](TObject* s) { seSliceChange(s); };
  lbSlice = new TLabel(this);
  lbSlice->SetParent(Panel1);
  lbSlice->SetText("z = 0.0000");
  lbSlice->SetBounds(8, 204, 120, 16);
  cbAuto = new TCheckBox(this);
  cbAuto->SetParent(Panel1);
  cbAuto->SetText("Auto");
  cbAuto->SetBounds(8, 224, 80, 20);
  btPlot = NewButton(this, Panel1, "Replot", 250);
  btPlot->OnClick = [this](TObject* s) { btPlotClick(s); };
  btAnimate = NewButton(this, Panel1, "Animate", 280);
  btAnimate->OnClick = [this](TObject* s) { btAnimateClick(s); };
  btStop = NewButton(this, Panel1, "Stop", 280);
  btStop->OnClick = [this](TObject* s) { btStopClick(s); };
  btCalculate = NewButton(this, Panel1, "Calculate", 320);
  btCalculate->OnClick = [this](TObject* s) { btCalculateClick(s); };

  GrafCommander1 = new TGrafCommander(this);
  GrafCommander1->SetName("GrafCommander1");
  GrafCommander1->SetParent(this);
  GrafCommander1->SetAlign(alTop);

  ChartFourier = new TChart(this);
  ChartFourier->SetName("ChartFourier");
  ChartFourier->SetParent(this);
  ChartFourier->SetAlign(alClient);
  ChartFourier->SetColor(clWhite);
  // Rotation and elevation turn the view only off the orthogonal projection.
  ChartFourier->SetView3D(true);
  ChartFourier->View3DOptions()->SetOrthogonal(false);
  // A square map: as deep as it is wide.
  ChartFourier->SetChart3DPercent(100);
  ChartFourier->Title()->Text()->Clear();
  ChartFourier->Title()->SetVisible(false);
  ChartFourier->Legend()->SetLegendStyle(lsValues);
  ChartFourier->Legend()->Pen()->SetVisible(false);
  for (TChartAxis* a : {ChartFourier->LeftAxis(), ChartFourier->RightAxis()}) {
    a->SetVisible(false);
    a->SetAutomatic(false);
  }
  ChartFourier->BottomAxis()->SetInverted(true);
  ChartFourier->TopAxis()->SetInverted(true);
  ChartFourier->DepthAxis()->SetVisible(true);
  for (TChartAxis* a : {ChartFourier->BottomAxis(), ChartFourier->TopAxis(), static_cast<TChartAxis*>(ChartFourier->DepthAxis())})
    a->SetIncrement(8);
  ChartFourier->OnGetAxisLabel = [this](TChartAxis* a, TChartSeries* s, int i, std::string& t) {
    ChartFourierGetAxisLabel(a, s, i, t);
  };

  Series1 = new TContourSeries(this);
  Series1->SetTitle("Series1");
  Series1->SetNumXValues(FourierGrid);
  Series1->SetNumZValues(FourierGrid);
  Series1->SetNumLevels(15);
  Series1->Pen()->SetWidth(2);
  Series1->SetUsePalette(true);
  Series1->SetUseColorRange(false);
  Series1->SetValueFormat("###0.00");
  Series1->SetParentChart(ChartFourier);
  Series2 = new TSurfaceSeries(this);
  Series2->SetTitle("Series2");
  Series2->SetNumXValues(FourierGrid);
  Series2->SetNumZValues(FourierGrid);
  Series2->SetUsePalette(true);
  Series2->SetUseColorRange(false);
  Series2->SetActive(false);
  Series2->SetParentChart(ChartFourier);
  Series3 = new TPoint3DSeries(this);
  Series3->SetTitle("Series3");
  Series3->SetActive(false);
  Series3->SetParentChart(ChartFourier);

  GrafOpenGL1 = new TGrafOpenGL(this);
  GrafOpenGL1->SetGrafPanel(ChartFourier);
  GrafCommander1->SetPanel(ChartFourier);
  ChartEditor1 = new TChartEditor(this);
  ChartEditor1->SetName("ChartEditor1");
  ChartEditor1->SetChart(ChartFourier);
  ChartPreviewer1 = new TChartPreviewer(this);
  ChartPreviewer1->SetName("ChartPreviewer1");
  ChartPreviewer1->SetChart(ChartFourier);
  SaveDialog1 = new TSaveDialog(this);
  PrintDialog1 = new TPrintDialog(this);

  // Creation settings.
  btPlot->SetEnabled(false);
  State().Axis = 3;
  SetThickness(2);
  SetLevels(15);
  rbZ->SetChecked(true);
  cbType->SetItemIndex(0);
  cbAuto->SetEnabled(false);
  State().Stop = false;
  btAnimate->SetVisible(true);
  btAnimate->SetEnabled(false);
  btStop->SetVisible(false);

  OnShow = [this](TObject* s) { FormShow(s); };
  OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
  OnDeactivate = [this](TObject* s) { FormDeactivate(s); };
}

TTBSubmenuItem* TFormPlotFourier::BuildMenus() {
  auto sep = [this]() -> TTBCustomItem* { return new TTBSeparatorItem(this); };
  SaveasBMP1 = NewItem(this, "Save as BMP", [this](TObject*) {
    SaveChart("bmp", "BitMap Files (*.bmp)|*.bmp", false);
  });
  SaveasWMF1 = NewItem(this, "Save as WMF", [this](TObject*) {
    SaveChart("wmf", "Enhanced Metafiles (*.wmf)|*.wmf", true);
  });
  Print1 = NewItem(this, "&Print", [this](TObject*) { PrintChart(); });
  PrintPreview1 = NewItem(this, "Print Preview", [this](TObject*) { ChartPreviewer1->ShowEditor(); });
  Close1 = NewItem(this, "Close", [this](TObject*) { Close(); });
  CopyasBMP1 = NewItem(this, "Copy as BMP", [this](TObject*) { ChartFourier->CopyBitmapToClipboard(); });
  CopyasWMF1 = NewItem(this, "Copy as WMF", [this](TObject*) { ChartFourier->CopyMetafileToClipboard(false); });
  Contour1 = NewItem(this, "Contour", [this](TObject* s) { Contour1Click(s); });
  Contour1->SetChecked(true);
  SolidSurface1 = NewItem(this, "Solid Surface", [this](TObject*) { SurfaceModeClick(SolidSurface1); });
  Wireframe1 = NewItem(this, "Wireframe", [this](TObject*) { SurfaceModeClick(Wireframe1); });
  DotFrame1 = NewItem(this, "DotFrame", [this](TObject*) { SurfaceModeClick(DotFrame1); });
  for (size_t i = 0; i < LevelItems.size(); ++i) {
    const int n = kLevels[i];
    LevelItems[i] = NewItem(this, std::to_string(n), [this, n](TObject*) {
      SetLevels(n);
      Redraw();
    });
  }
  for (size_t i = 0; i < ThicknessItems.size(); ++i) {
    const int n = static_cast<int>(i) + 1;
    ThicknessItems[i] = NewItem(this, std::to_string(n), [this, n](TObject*) {
      SetThickness(n);
      Redraw();
    });
  }
  GridLines1 = NewItem(this, "Grid Lines", [this](TObject*) {
    GridLines1->SetChecked(!GridLines1->Checked());
    Redraw();
  });
  DoubleCell1 = NewItem(this, "Double Cell", [this](TObject*) {
    DoubleCell1->SetChecked(!DoubleCell1->Checked());
    Redraw();
  });
  Edit1 = NewItem(this, "Edit", [this](TObject*) { ChartEditor1->ShowEditor(); });
  Help1 = NewItem(this, "&Help", {});
  // No help is installed with the program.
  Help1->SetEnabled(false);

  TTBSubmenuItem* levels = Submenu(this, "Number Levels", {});
  for (TTBItem* i : LevelItems) levels->Add(i);
  TTBSubmenuItem* thickness = Submenu(this, "Pen Thickness", {});
  for (TTBItem* i : ThicknessItems) thickness->Add(i);
  TTBSubmenuItem* chart =
      Submenu(this, "&Chart",
              {Submenu(this, "Display", {Contour1, SolidSurface1, Wireframe1, DotFrame1}), levels, thickness, sep(),
               GridLines1, DoubleCell1, sep(), Edit1});
  TBToolbar1->Items()->Add(
      Submenu(this, "&File", {SaveasBMP1, SaveasWMF1, sep(), Print1, PrintPreview1, sep(), Close1}));
  TBToolbar1->Items()->Add(Submenu(this, "&Edit", {CopyasBMP1, CopyasWMF1}));
  TBToolbar1->Items()->Add(chart);
  TBToolbar1->Items()->Add(Help1);
  return chart;
}

TFormPlotFourier::~TFormPlotFourier() {
  if (LastActiveControl == ChartFourier) LastActiveControl = nullptr;
}

void TFormPlotFourier::FormShow(TObject*) {
  if (!Model) return;
  cbHistogram->Items()->Clear();
  for (int i = 1; i <= Model->HistogramCount(); ++i) cbHistogram->Items()->Add("Histogram " + std::to_string(i));
  cbPhase->Items()->Clear();
  for (int i = 1; i <= Model->PhaseCount(); ++i) cbPhase->Items()->Add("Phase " + std::to_string(i));
  cbHistogram->SetItemIndex(cbHistogram->Items()->Count() > 0 ? 0 : -1);
  cbPhase->SetItemIndex(cbPhase->Items()->Count() > 0 ? 0 : -1);
  btCalculate->SetEnabled(true);
}

void TFormPlotFourier::FormClose(TObject*, TCloseAction&) {
  if (LastActiveControl == ChartFourier) LastActiveControl = nullptr;
  State().Stop = true;
}

void TFormPlotFourier::FormDeactivate(TObject*) { LastActiveControl = ActiveControl(); }

void TFormPlotFourier::EnableCalculate(TObject*) { btCalculate->SetEnabled(true); }

void TFormPlotFourier::SetAxis(int Axis) {
  State().Axis = Axis;
  btCalculate->SetEnabled(true);
}

void TFormPlotFourier::SetLevels(int Levels) {
  State().Levels = Levels;
  for (size_t i = 0; i < LevelItems.size(); ++i) LevelItems[i]->SetChecked(kLevels[i] == Levels);
  Series1->SetNumLevels(Levels);
}

void TFormPlotFourier::SetThickness(int Thickness) {
  State().Thickness = Thickness;
  for (size_t i = 0; i < ThicknessItems.size(); ++i) ThicknessItems[i]->SetChecked(static_cast<int>(i) + 1 == Thickness);
}

void TFormPlotFourier::Contour1Click(TObject*) {
  // Contour goes off only while a surface mode shows.
  if (Contour1->Checked() && !(SolidSurface1->Checked() || Wireframe1->Checked() || DotFrame1->Checked())) return;
  Contour1->SetChecked(!Contour1->Checked());
  Redraw();
}

void TFormPlotFourier::SurfaceModeClick(TTBItem* Item) {
  if (Item->Checked()) {
    // A surface mode goes off only while the contour shows.
    if (!Contour1->Checked()) return;
    Item->SetChecked(false);
  } else {
    for (TTBItem* i : {SolidSurface1, Wireframe1, DotFrame1}) i->SetChecked(i == Item);
  }
  Redraw();
}

void TFormPlotFourier::Redraw() {
  if (btPlot->Enabled()) btPlotClick(this);
}

void TFormPlotFourier::SetLeftRange() {
  TChartAxis* left = ChartFourier->LeftAxis();
  const double lo = State().Minimum, hi = State().Maximum;
  left->SetAutomatic(false);
  // Set in the order that never puts the minimum above the maximum.
  if (lo > left->Maximum()) {
    left->SetMaximum(hi);
    left->SetMinimum(lo);
  } else {
    left->SetMinimum(lo);
    left->SetMaximum(hi);
  }
}

void TFormPlotFourier::btCalculateClick(TObject*) {
  THourGlass hourglass;
  if (!Refinement || !Refinement->IsLoaded()) return;
  // Looked up in the engine loaded now: a reloaded engine has moved.
  auto entry = reinterpret_cast<TZdGetFour>(GetProcAddress(Refinement->Module(), "_getfour@36"));
  if (!entry) {
    ShowMessage("Fourier failed");
    return;
  }
  int32_t histogram = cbHistogram->ItemIndex() + 1, phase = cbPhase->ItemIndex() + 1, axis = State().Axis,
          kind = cbType->ItemIndex(), busy = Refinement->State() == 1 ? 0 : 1, status = 0;
  float lo = 0, hi = 0;
  std::vector<float> map(FourierValues, 0.0f);
  entry(&histogram, &phase, &axis, &kind, &busy, &lo, &hi, map.data(), &status);
  // A refused map, or one without a single finite value, leaves the map
  // the window had.
  if (status != 0) {
    btPlot->SetEnabled(false);
    ShowMessage("Fourier failed: " + EngineErrorText(status));
    return;
  }
  float finiteLo = 0, finiteHi = 0;
  bool any = false;
  for (float v : map) {
    if (!std::isfinite(v)) continue;
    finiteLo = any ? std::min(finiteLo, v) : v;
    finiteHi = any ? std::max(finiteHi, v) : v;
    any = true;
  }
  if (!any) {
    ShowMessage("Fourier failed: the engine's map holds no finite value.");
    return;
  }
  // A range the engine could not give is the map's own.
  if (!std::isfinite(lo) || !std::isfinite(hi) || lo > hi) {
    lo = finiteLo;
    hi = finiteHi;
  }
  State().Map = std::move(map);
  btPlot->SetEnabled(true);
  TrimRange(lo, hi);
  State().Minimum = lo;
  State().Maximum = hi;
  if (Application) Application->ProcessMessages();
  cbAuto->SetEnabled(true);
  btAnimate->SetEnabled(true);
  SetLeftRange();
  btPlotClick(this);
  SetLeftRange();
}

void TFormPlotFourier::FillSeries(TCustom3DGridSeries* Series, int Slice) {
  const bool twice = DoubleCell1->Checked();
  const int n = twice ? 2 * FourierGrid : FourierGrid;
  Series->SetNumXValues(n);
  Series->SetNumZValues(n);
  const std::vector<float>& map = State().Map;
  const size_t base = static_cast<size_t>(Slice - 1) * FourierGrid * FourierGrid;
  Series->SuspendUpdates();
  for (int j = 1; j <= FourierGrid; ++j) {
    for (int k = 1; k <= FourierGrid; ++k) {
      const double v = map[base + static_cast<size_t>(j - 1) * FourierGrid + static_cast<size_t>(k - 1)];
      // A value the engine could not compute is left out, never drawn.
      if (!std::isfinite(v)) continue;
      if (twice) {
        Series->AddPoint3D(j + FourierGrid, v, k);
        Series->AddPoint3D(j + FourierGrid, v, k + FourierGrid);
        Series->AddPoint3D(j, v, k + FourierGrid);
      }
      Series->AddPoint3D(j, v, k);
    }
  }
  Series->ResumeUpdates();
}

void TFormPlotFourier::btPlotClick(TObject*) {
  THourGlass hourglass;
  const int s = seSlice->Value();
  TView3DOptions* view = ChartFourier->View3DOptions();
  const float lo = State().Minimum, hi = State().Maximum;
  if (Contour1->Checked()) {
    Series1->SetActive(true);
    Series1->RemoveAllPoints();
    view->SetPerspective(0);
    view->SetRotation(270);
    view->SetElevation(270);
    view->SetZoom(75);
    ChartFourier->BottomAxis()->Grid()->SetVisible(GridLines1->Checked());
    ChartFourier->DepthAxis()->Grid()->SetVisible(GridLines1->Checked());
    Series1->ClearPaletteEntries();
    const int levels = State().Levels;
    for (int i = 1; i <= levels; ++i) {
      const double a = i * std::numbers::pi / 32;
      const int red = static_cast<int>(std::trunc((std::sin(a / Series1->RedFactor()) + 1) * 127));
      const int green = static_cast<int>(std::trunc((std::sin(a / Series1->GreenFactor()) + 1) * 127));
      const int blue = static_cast<int>(std::trunc((std::cos(a / Series1->BlueFactor()) + 1) * 127));
      Series1->AddPaletteEntry(RGB(red, green, blue), lo + i * (hi - lo) / levels);
    }
    Series1->SetNumLevels(levels);
    Series1->Pen()->SetWidth(State().Thickness);
    Series1->SetUsePalette(true);
    FillSeries(Series1, s);
  } else {
    Series1->SetActive(false);
  }
  if (SolidSurface1->Checked() || Wireframe1->Checked() || DotFrame1->Checked()) {
    Series2->SetActive(true);
    Series2->RemoveAllPoints();
    view->SetPerspective(20);
    view->SetRotation(290);
    view->SetElevation(330);
    view->SetZoom(65);
    Series2->SetDotFrame(DotFrame1->Checked());
    Series2->SetWireFrame(Wireframe1->Checked());
    Series2->Pen()->SetVisible(Wireframe1->Checked());
    Series2->Pen()->SetWidth(1);
    Series2->ClearPaletteEntries();
    FillSeries(Series2, s);
  } else {
    Series2->SetActive(false);
  }
  ChartFourier->Invalidate();
  if (Application) Application->ProcessMessages();
}

void TFormPlotFourier::seSliceChange(TObject*) {
  static const char kAxes[3] = {'x', 'y', 'z'};
  lbSlice->SetText(SliceLabel(kAxes[std::clamp(State().Axis, 1, 3) - 1], seSlice->Value()));
  if (Application) Application->ProcessMessages();
  if (cbAuto->Enabled() && cbAuto->Checked() && !FAnimating) btPlotClick(this);
}

void TFormPlotFourier::btAnimateClick(TObject*) {
  if (FAnimating) return;
  // Holds the model and the window: the program's close waits for its end.
  TProgramBusy busy;
  FAnimating = true;
  const bool wasAuto = cbAuto->Checked();
  cbAuto->SetChecked(true);
  btAnimate->SetVisible(false);
  btStop->SetVisible(true);
  State().Stop = false;
  while (true) {
    seSlice->SetValue(seSlice->Value() >= FourierGrid ? 1 : seSlice->Value() + 1);
    btPlotClick(this);
    // A modal window's close only sets its modal result: that ends the
    // animation too, or the close would wait for ever.
    if (State().Stop || BusyEndRequested() || ModalResult() != mrNone) break;
  }
  State().Stop = false;
  btStop->SetVisible(false);
  btAnimate->SetVisible(true);
  cbAuto->SetChecked(wasAuto);
  FAnimating = false;
}

void TFormPlotFourier::btStopClick(TObject*) { State().Stop = true; }

void TFormPlotFourier::ChartFourierGetAxisLabel(TChartAxis*, TChartSeries*, int, std::string& LabelText) {
  LabelText = FractionalLabel(LabelText);
}

void TFormPlotFourier::SaveChart(const std::string& Ext, const std::string& Filter, bool Metafile) {
  SaveDialog1->DefaultExt = Ext;
  SaveDialog1->Filter = Filter;
  if (!SaveDialog1->Execute()) return;
  try {
    // The file holds what its extension says: a Windows metafile for .wmf.
    if (Metafile)
      ChartFourier->SaveRectToMetafile(false, SaveDialog1->FileName, ChartFourier->GetOutputRect());
    else
      ChartFourier->SaveToBitmapFile(SaveDialog1->FileName);
  } catch (const Exception& e) {
    ShowMessage(e.Message());
  }
}

void TFormPlotFourier::PrintChart() {
  if (!PrintDialog1->Execute()) return;
  try {
    for (int i = 0; i < std::max(1, PrintDialog1->Copies); ++i)
      ChartFourier->PrintRectAsDocument(ChartFourier->CalcPrintRect());
  } catch (const Exception& e) {
    ShowMessage(e.Message());
  }
}
