// The 3D series base, the palette series base and the grid series base.
#include "chart/series/grafsurfa.h"

#include <algorithm>
#include <cmath>

#include "chart/core/chart.h"
#include "chart/core/grafconst.h"
#include "platform/rtl/format.h"
#include "platform/rtl/streams.h"
#include "platform/ui/streaming.h"

const TEnumInfo& GrafPaletteStyleEnumInfo() {
  static const TEnumInfo info{
      "TGrafPaletteStyle", {"psPale", "psStrong", "psGrayScale", "psInvGray", "psRainbow", "psCustom"}, 0};
  return info;
}

namespace {

int Red(TColor c) { return static_cast<int>(c & 0xFF); }
int Green(TColor c) { return static_cast<int>((c >> 8) & 0xFF); }
int Blue(TColor c) { return static_cast<int>((c >> 16) & 0xFF); }
TColor RGBColor(int r, int g, int b) {
  return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
// Halves to even, as the drawing's other roundings.
int RoundEven(double v) { return static_cast<int>(std::nearbyint(v)); }

const TColor kRainbow[25] = {0x000099, 0x0000C3, 0x0000EE, 0x001AFF, 0x0046FF, 0x0073FF, 0x009FFF,
                             0x00CBFF, 0x00F7FF, 0x08F4E3, 0x11E7C3, 0x1BDAA3, 0x25CD83, 0x2EC063,
                             0x38B342, 0x42A622, 0x4B9A02, 0x6A870C, 0x8A751A, 0xAA6328, 0xCB5036,
                             0xEB3E44, 0xFF2A61, 0xFF1596, 0xFF00CC};

// A palette of more entries is not built (a stray PaletteSteps from a file
// must not allocate without bound).
constexpr int kMaxPaletteSteps = 1 << 20;

}  // namespace

// ============================================================================
// TCustom3DSeries

ZV_CLASS_IMPL(TCustom3DSeries, TChartSeries)

void TCustom3DSeries::DeclareProperties(TClassInfo& c) {
  using S = TCustom3DSeries;
  c.Integer<S>("TimesZOrder", &S::TimesZOrder, &S::SetTimesZOrder, 3);
  c.Object<S, TChartValueList>("ZValues", &S::ZValues, &S::SetZValues);
}

TCustom3DSeries::TCustom3DSeries(TComponent* AOwner) : TChartSeries(AOwner) {
  OwnDepth = true;
  CalcVisibleRange = false;
  FZValues = new TChartValueList(this, "Z");
  FXValues->SetOrder(loNone);
}

int TCustom3DSeries::AddLabeledPoint3D(double X, double Y, double Z, const std::string& Label, TColor Color) {
  FZValues->TempValue = Z;
  return AddXYPoint(X, Y, Label, Color);
}

bool TCustom3DSeries::CanCopyPointsFrom(TChartSeries* Source) { return dynamic_cast<TCustom3DSeries*>(Source); }

int TCustom3DSeries::ZPixel(int Index) {
  if (!FParentChart) return 0;
  return FParentChart->DepthAxis()->ValueToPixel(FZValues->GetValue(Index));
}

bool TCustom3DSeries::DepthDrawsForward() {
  if (!FParentChart) return false;
  bool forward = FParentChart->DepthAxis()->Inverted();
  const int rotation = FParentChart->View3DOptions()->Rotation();
  if (rotation > 90 && rotation < 270) forward = !forward;
  return forward;
}

void TCustom3DSeries::AssignZOrder() {
  TChartSeries::AssignZOrder();
  if (FParentChart) FParentChart->MaxZOrder = FTimesZOrder;
}

void TCustom3DSeries::DrawPointMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) {
  FMarks->ZPosition = ZPixel(Index);
  TChartSeries::DrawPointMark(Index, Text, Position);
}

void TCustom3DSeries::AdjustLegendCanvas(int Row, TColor& BackColor, TBrushStyle& BrushStyle) {
  TChartSeries::AdjustLegendCanvas(Row, BackColor, BrushStyle);
  auto* chart = dynamic_cast<TCustomChart*>(FParentChart);
  if (chart && chart->Legend()->Symbol()->Continuous()) chart->PanelCanvas()->CanvasPen()->SetStyle(psClear);
}

TChartValueList* TCustom3DSeries::ValuesForAxis(TChartAxis* Axis) {
  if (Axis && Axis->IsDepthAxis()) return FZValues;
  return TChartSeries::ValuesForAxis(Axis);
}

bool TCustom3DSeries::IsOnAxis(TChartAxis* Axis) {
  if (Axis && Axis->IsDepthAxis()) return true;
  return TChartSeries::IsOnAxis(Axis);
}

void TCustom3DSeries::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TCustom3DSeries*>(Source)) {
    FZValues->Assign(s->FZValues);
    FTimesZOrder = s->FTimesZOrder;
  }
  TChartSeries::Assign(Source);
}

// ============================================================================
// TCustom3DPaletteSeries

ZV_CLASS_IMPL(TCustom3DPaletteSeries, TCustom3DSeries)

void TCustom3DPaletteSeries::DeclareProperties(TClassInfo& c) {
  using S = TCustom3DPaletteSeries;
  c.Integer<S>("StartColor", &S::StartColor, &S::SetStartColor, 0x800000);
  c.Integer<S>("MidColor", &S::MidColor, &S::SetMidColor, clNone);
  c.Integer<S>("EndColor", &S::EndColor, &S::SetEndColor, 0xFFFFFF);
  c.Boolean<S>("UseColorRange", &S::UseColorRange, &S::SetUseColorRange, true);
  c.Boolean<S>("UsePalette", &S::UsePalette, &S::SetUsePalette, false);
  c.Integer<S>("PaletteSteps", &S::PaletteSteps, &S::SetPaletteSteps, 32);
  c.Enum<S>("PaletteStyle", GrafPaletteStyleEnumInfo(), &S::PaletteStyle, &S::SetPaletteStyle, psPale);
  c.Float<S>("PaletteMin", ftDouble, &S::PaletteMin, &S::SetPaletteMin, 0.0L);
  c.Float<S>("PaletteStep", ftDouble, &S::PaletteStep, &S::SetPaletteStep, 0.0L);
  c.Boolean<S>("UsePaletteMin", &S::UsePaletteMin, &S::SetUsePaletteMin, false);
  c.Integer<S>("LegendEvery", &S::LegendEvery, &S::SetLegendEvery, 1);
  c.Method<S, TChartSurfaceGetColor>(
      "OnGetColor", [](S* s) { return s->OnGetColor; }, [](S* s, const TChartSurfaceGetColor& e) { s->OnGetColor = e; });
}

TCustom3DPaletteSeries::TCustom3DPaletteSeries(TComponent* AOwner) : TCustom3DSeries(AOwner) {}

TCustom3DPaletteSeries::~TCustom3DPaletteSeries() { FPalette.clear(); }

void TCustom3DPaletteSeries::SetStartColor(TColor Value) {
  ChangeColor(FStartColor, Value);
  UpdateRangeScale();
}
void TCustom3DPaletteSeries::SetMidColor(TColor Value) {
  ChangeColor(FMidColor, Value);
  UpdateRangeScale();
}
void TCustom3DPaletteSeries::SetEndColor(TColor Value) {
  ChangeColor(FEndColor, Value);
  UpdateRangeScale();
}

void TCustom3DPaletteSeries::SetUseColorRange(bool Value) {
  ChangeBool(FUseColorRange, Value);
  if (Value) FColorEachPoint = false;
}

void TCustom3DPaletteSeries::SetUsePalette(bool Value) {
  ChangeBool(FUsePalette, Value);
  if (Value) {
    FColorEachPoint = false;
    EnsurePalette();
  }
}

void TCustom3DPaletteSeries::SetPaletteSteps(int Value) {
  FPaletteSteps = Value;
  BuildPalette(0);
}

void TCustom3DPaletteSeries::SetPaletteStyle(TGrafPaletteStyle Value) {
  if (FPaletteStyle == Value) return;
  FPaletteStyle = Value;
  if (Value != psCustom) ClearPaletteEntries();
  RequestRedraw();
}

void TCustom3DPaletteSeries::SetPaletteMin(double Value) {
  FPaletteMin = Value;
  BuildPalette(0);
}
void TCustom3DPaletteSeries::SetPaletteStep(double Value) {
  FPaletteStep = Value;
  BuildPalette(0);
}
void TCustom3DPaletteSeries::SetUsePaletteMin(bool Value) {
  FUsePaletteMin = Value;
  BuildPalette(0);
}

int TCustom3DPaletteSeries::AddPaletteEntry(TColor Color, double Value) {
  for (size_t p = 0; p < FPalette.size(); ++p)
    if (FPalette[p].UpToValue > Value) {
      FPalette.insert(FPalette.begin() + static_cast<std::ptrdiff_t>(p), {Value, Color});
      return static_cast<int>(p);
    }
  FPalette.push_back({Value, Color});
  return static_cast<int>(FPalette.size()) - 1;
}

void TCustom3DPaletteSeries::BuildPalette(int Steps) {
  int n = Steps != 0 ? Steps : FPaletteSteps;
  n = std::clamp(n, 0, kMaxPaletteSteps);
  const double lo = FMainList->MinValue(), hi = FMainList->MaxValue();
  const double step = FPaletteStep != 0 ? FPaletteStep : (hi - lo) / std::max(1, n - 1);
  const double base = FUsePaletteMin ? FPaletteMin : lo;
  if (FPaletteStyle == psCustom) {
    const size_t old = FPalette.size();
    FPalette.resize(static_cast<size_t>(n));
    for (size_t i = 0; i < FPalette.size(); ++i) {
      FPalette[i].UpToValue = base + static_cast<double>(i) * step;
      if (i >= old) FPalette[i].Color = old == 0 ? 0 : FPalette[i % old].Color;
    }
  } else {
    FPalette.clear();
    FPalette.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
      TColor c = 0;
      switch (FPaletteStyle) {
        case psRainbow: c = kRainbow[i % 25]; break;
        case psGrayScale: c = static_cast<TColor>((RoundEven(i * 255.0 / n) % 256) * 0x010101); break;
        case psInvGray: c = static_cast<TColor>((((255 - RoundEven(i * 255.0 / n)) % 256 + 256) % 256) * 0x010101); break;
        default: {
          const double span = FPaletteStyle == psStrong ? 2 * M_PI : M_PI;
          const double a = i * span / n;
          c = RGBColor(static_cast<int>((std::sin(a / 2) + 1) * 127), static_cast<int>((std::sin(a) + 1) * 127),
                       static_cast<int>((std::cos(a) + 1) * 127));
          break;
        }
      }
      AddPaletteEntry(c, base + i * step);
    }
  }
  RequestRedraw();
}

void TCustom3DPaletteSeries::EnsurePalette() {
  if (PointCount() > 0 && FPalette.empty()) BuildPalette(0);
}

void TCustom3DPaletteSeries::UpdateRangeScale() {
  const double d = FMainList->MaxValue() - FMainList->MinValue();
  FRangeScale = d == 0 ? 0 : 1 / d;
}

TColor TCustom3DPaletteSeries::RangeColorAt(double F) {
  auto channel = [&](int (*part)(TColor)) {
    const int s = part(FStartColor), e = part(FEndColor);
    if (FMidColor == clNone) return e + RoundEven(F * (s - e));
    const int m = part(FMidColor);
    if (F < 0.5) return e + RoundEven(2 * F * (m - e));
    return m + RoundEven((F - 0.5) * 2 * (s - m));
  };
  return RGBColor(channel(Red), channel(Green), channel(Blue));
}

TColor TCustom3DPaletteSeries::PaletteColorOf(double Value) {
  if (FPalette.empty()) return SeriesColor();
  for (const TGrafPaletteEntry& e : FPalette)
    if (e.UpToValue > Value) return e.Color;
  return FPalette.back().Color;
}

TColor TCustom3DPaletteSeries::ColorOfValue(double Value) {
  if (FUseColorRange) {
    if (FRangeScale == 0) return FEndColor;
    const double t = Value - FMainList->MinValue();
    if (t < 0) return FEndColor;
    if (Value > FMainList->MaxValue()) return FStartColor;
    return RangeColorAt(std::min(1.0, t * FRangeScale));
  }
  if (FUsePalette && !FPalette.empty()) return PaletteColorOf(Value);
  return SeriesColor();
}

TColor TCustom3DPaletteSeries::PointColor(int Index) {
  TColor c = RawPointColor(Index);
  if (c == clDefault) {
    if (FColorEachPoint || (!FUseColorRange && !FUsePalette)) c = TCustom3DSeries::PointColor(Index);
    else c = ColorOfValue(FMainList->GetValue(Index));
  }
  if (OnGetColor) OnGetColor(this, Index, c);
  return c;
}

void TCustom3DPaletteSeries::PrepareChartDraw() {
  TCustom3DSeries::PrepareChartDraw();
  EnsurePalette();
  UpdateRangeScale();
}

void TCustom3DPaletteSeries::RemoveAllPoints() {
  TCustom3DSeries::RemoveAllPoints();
  if (FUsePalette) ClearPaletteEntries();
}

// ---- Legend -------------------------------------------------------------------------------------

namespace {
bool ShowsPalette(TCustom3DPaletteSeries* s) { return s->PointCount() > 0 && (s->UseColorRange() || s->UsePalette()); }
}  // namespace

int TCustom3DPaletteSeries::LegendEntryCount() {
  if (!ShowsPalette(this)) return TCustom3DSeries::LegendEntryCount();
  const int n = static_cast<int>(FPalette.size());
  if (FLegendEvery <= 1) return n;
  return (n + FLegendEvery - 1) / FLegendEvery;
}

int TCustom3DPaletteSeries::LegendPaletteIndex(int Row) const {
  return static_cast<int>(FPalette.size()) - Row * std::max(1, FLegendEvery) - 1;
}

std::string TCustom3DPaletteSeries::ComposeLegendText(int Index, TLegendTextStyle Style) {
  if (!ShowsPalette(this)) return TCustom3DSeries::ComposeLegendText(Index, Style);
  const int p = LegendPaletteIndex(Index);
  if (Index < 0 || Index >= LegendEntryCount() || p < 0) return "";
  return FormatFloat(FValueFormat, FPalette[static_cast<size_t>(p)].UpToValue);
}

TColor TCustom3DPaletteSeries::LegendSymbolColor(int Row) {
  const int p = LegendPaletteIndex(Row);
  if (ShowsPalette(this) && Row >= 0 && p >= 0 && p < static_cast<int>(FPalette.size())) {
    if (FUseColorRange) return ColorOfValue(FPalette[static_cast<size_t>(p)].UpToValue);
    return FPalette[static_cast<size_t>(p)].Color;
  }
  return TCustom3DSeries::LegendSymbolColor(Row);
}

void TCustom3DPaletteSeries::PaintLegendSymbol(int Row, const TRect& R) {
  if (Row == -1 && FUseColorRange && FParentChart) {
    TCanvas3D* canvas = FParentChart->PanelCanvas();
    canvas->CanvasBrush()->SetStyle(bsClear);
    canvas->RectangleOfRect(R);
    TGrafGradient gradient;
    gradient.SetStartColor(FEndColor);
    gradient.SetMidColor(FMidColor);
    gradient.SetEndColor(FStartColor);
    gradient.DrawInRect(canvas, Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1), 0);
    return;
  }
  TCustom3DSeries::PaintLegendSymbol(Row, R);
}

// ---- Gallery ------------------------------------------------------------------------------------

void TCustom3DPaletteSeries::EnumGalleryStyles(const std::function<void(const std::string&)>& Proc) {
  TCustom3DSeries::EnumGalleryStyles(Proc);
  Proc(GrafMsgExColorRange);
}

void TCustom3DPaletteSeries::ApplyGalleryStyle(TChartSeries* Series, int Index) {
  auto* s = dynamic_cast<TCustom3DPaletteSeries*>(Series);
  if (s && Index == 1) {
    s->SetUseColorRange(true);
    s->SetUsePalette(false);
  } else {
    TCustom3DSeries::ApplyGalleryStyle(Series, Index);
  }
}

void TCustom3DPaletteSeries::SetupGalleryPreview(bool Enabled) {
  TCustom3DSeries::SetupGalleryPreview(Enabled);
  SetUseColorRange(false);
  Pen()->SetColor(Enabled ? clBlack : static_cast<TColor>(0x808080));
  SetUsePalette(Enabled);
  SetPaletteStyle(psRainbow);
}

void TCustom3DPaletteSeries::ApplyGallery3D(bool Value) {
  if (!FParentChart) return;
  FParentChart->SetView3D(true);
  TView3DOptions* v = FParentChart->View3DOptions();
  v->SetZoom(60);
  v->SetVertOffset(-2);
  v->SetRotation(Value ? 335 : 0);
  v->SetElevation(Value ? 340 : 270);
  v->SetPerspective(Value ? 160 : 0);
}

// ---- Copying and streaming ----------------------------------------------------------------------

void TCustom3DPaletteSeries::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TCustom3DPaletteSeries*>(Source)) {
    FUsePalette = s->FUsePalette;
    FUseColorRange = s->FUseColorRange;
    FStartColor = s->FStartColor;
    FEndColor = s->FEndColor;
    FMidColor = s->FMidColor;
    FLegendEvery = s->FLegendEvery;
    FPaletteSteps = s->FPaletteSteps;
    FPalette = s->FPalette;
    FUsePaletteMin = s->FUsePaletteMin;
    FPaletteStep = s->FPaletteStep;
    FPaletteMin = s->FPaletteMin;
    FPaletteStyle = s->FPaletteStyle;
    FRedFactor = s->FRedFactor;
    FGreenFactor = s->FGreenFactor;
    FBlueFactor = s->FBlueFactor;
  }
  TCustom3DSeries::Assign(Source);
}

void TCustom3DPaletteSeries::DefineProperties(TFiler* Filer) {
  TCustom3DSeries::DefineProperties(Filer);
  Filer->DefineBinaryProperty(
      "CustomPalette", [this](TStream* s) { ReadCustomPalette(s); }, [this](TStream* s) { WriteCustomPalette(s); },
      FPaletteStyle == psCustom);
}

void TCustom3DPaletteSeries::WriteCustomPalette(TStream* Stream) {
  Stream->WriteInteger(static_cast<int32_t>(FPalette.size()));
  for (const TGrafPaletteEntry& e : FPalette) {
    Stream->WriteDouble(e.UpToValue);
    Stream->WriteInteger(static_cast<int32_t>(e.Color));
  }
}

void TCustom3DPaletteSeries::ReadCustomPalette(TStream* Stream) {
  const int64_t left = Stream->Size() - Stream->Position();
  if (left < 4) throw EReadError("Invalid custom palette: the stream is damaged");
  const int32_t n = Stream->ReadInteger();
  if (n < 0 || static_cast<int64_t>(n) * 12 > left - 4)
    throw EReadError("Invalid custom palette: the stream is damaged");
  std::vector<TGrafPaletteEntry> entries(static_cast<size_t>(n));
  for (TGrafPaletteEntry& e : entries) {
    e.UpToValue = Stream->ReadDouble();
    e.Color = static_cast<TColor>(static_cast<uint32_t>(Stream->ReadInteger()));
  }
  FPalette = std::move(entries);
}

// ============================================================================
// TCustom3DGridSeries

ZV_CLASS_IMPL(TCustom3DGridSeries, TCustom3DPaletteSeries)

void TCustom3DGridSeries::DeclareProperties(TClassInfo& c) {
  using S = TCustom3DGridSeries;
  c.Integer<S>("NumXValues", &S::NumXValues, &S::SetNumXValues, 10);
  c.Integer<S>("NumZValues", &S::NumZValues, &S::SetNumZValues, 10);
  c.Boolean<S>("IrregularGrid", &S::IrregularGrid, &S::SetIrregularGrid, false);
  c.Method<S, TChartSurfaceGetY>(
      "OnGetYValue", [](S* s) { return s->OnGetYValue; }, [](S* s, const TChartSurfaceGetY& e) { s->OnGetYValue = e; });
}

TCustom3DGridSeries::TCustom3DGridSeries(TComponent* AOwner) : TCustom3DPaletteSeries(AOwner) {
  TCustom3DGridSeries::RemoveAllPoints();
}

void TCustom3DGridSeries::SetNumXValues(int Value) {
  if (FNumXValues == Value) return;
  FNumXValues = Value;
  RemoveAllPoints();
  RecreateValues();
}

void TCustom3DGridSeries::SetNumZValues(int Value) {
  if (FNumZValues == Value) return;
  FNumZValues = Value;
  RemoveAllPoints();
  RecreateValues();
}

void TCustom3DGridSeries::RefuseGrid(int64_t Cells) {
  FGridIndex.clear();
  FGridIndex.shrink_to_fit();
  FIndexNX = FIndexNZ = -1;
  if (!FGridRefused && OnGridRefused) OnGridRefused(this, Cells);
  FGridRefused = true;
}

void TCustom3DGridSeries::InitGridIndex(int NX, int NZ) {
  const int64_t cells = (static_cast<int64_t>(std::max(NX, 0)) + 1) * (static_cast<int64_t>(std::max(NZ, 0)) + 1);
  if (cells > MaxGridCells) {
    RefuseGrid(cells);
    return;
  }
  FGridRefused = false;
  FIndexNX = std::max(NX, 0);
  FIndexNZ = std::max(NZ, 0);
  FGridIndex.assign(static_cast<size_t>(cells), -1);
}

void TCustom3DGridSeries::FillGridIndex(int First) {
  const int n = PointCount();
  int nx, nz;
  auto store = [this](int column, int row, int index) {
    if (column < 1 || row < 1 || column > FIndexNX || row > FIndexNZ) return;
    FGridIndex[static_cast<size_t>(row) * static_cast<size_t>(FIndexNX + 1) + static_cast<size_t>(column)] = index;
  };
  if (!FIrregularGrid) {
    // X and Z are integer grid coordinates; the extent is checked in reals
    // so that a stray far point cannot overflow the count.
    const double x0 = std::nearbyint(FXValues->MinValue()), z0 = std::nearbyint(FZValues->MinValue());
    const double spanX = std::nearbyint(FXValues->MaxValue()) - x0 + 1;
    const double spanZ = std::nearbyint(FZValues->MaxValue()) - z0 + 1;
    if (n == 0) {
      nx = nz = 0;
    } else if (!(spanX >= 1 && spanZ >= 1) || (spanX + 1) * (spanZ + 1) > static_cast<double>(MaxGridCells)) {
      RefuseGrid(static_cast<int64_t>(std::min((spanX + 1) * (spanZ + 1), 9e18)));
      return;
    } else {
      nx = static_cast<int>(spanX);
      nz = static_cast<int>(spanZ);
    }
    InitGridIndex(nx, nz);
    if (FGridRefused) return;
    for (int i = First; i < n; ++i)
      store(static_cast<int>(std::nearbyint(FXValues->GetValue(i)) - x0) + 1,
            static_cast<int>(std::nearbyint(FZValues->GetValue(i)) - z0) + 1, i);
  } else {
    // Distinct values in growable lists.
    std::vector<double> xs, zs;
    xs.reserve(static_cast<size_t>(n));
    zs.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
      xs.push_back(FXValues->GetValue(i));
      zs.push_back(FZValues->GetValue(i));
    }
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
    std::sort(zs.begin(), zs.end());
    zs.erase(std::unique(zs.begin(), zs.end()), zs.end());
    nx = static_cast<int>(xs.size());
    nz = static_cast<int>(zs.size());
    InitGridIndex(nx, nz);
    if (FGridRefused) return;
    auto position = [](const std::vector<double>& v, double value) {
      return static_cast<int>(std::lower_bound(v.begin(), v.end(), value) - v.begin());
    };
    for (int i = First; i < n; ++i)
      store(position(xs, FXValues->GetValue(i)) + 1, position(zs, FZValues->GetValue(i)) + 1, i);
  }
  FNumXValues = nx;
  FNumZValues = nz;
}

bool TCustom3DGridSeries::FetchCell(int X, int Z) {
  C0 = GridIndex(X, Z);
  if (C0 < 0) return false;
  C1 = GridIndex(X + DX, Z);
  if (C1 < 0) return false;
  C2 = GridIndex(X + DX, Z + DZ);
  if (C2 < 0) return false;
  C3 = GridIndex(X, Z + DZ);
  return C3 >= 0;
}

bool TCustom3DGridSeries::CanCreateValues() const {
  return static_cast<bool>(OnGetYValue) || ComponentState().Contains(csDesigning) || SampleMode;
}

double TCustom3DGridSeries::GridYValue(int X, int Z) {
  if (OnGetYValue) return OnGetYValue(this, X, Z);
  if (ComponentState().Contains(csDesigning) || SampleMode) {
    const double cx = std::cos(X / (0.2 * FNumXValues)), cz = std::cos(Z / (0.2 * FNumZValues));
    return 0.5 * cx * cx + cz * cz - std::cos(Z / (0.5 * FNumZValues));
  }
  return 0;
}

void TCustom3DGridSeries::CreateGridValues(int NX, int NZ) {
  if (!CanCreateValues()) return;
  FNumXValues = NX;
  FNumZValues = NZ;
  const int oldStep = ValueListGrowStep;
  ValueListGrowStep = std::max(1, static_cast<int>(std::clamp<int64_t>(static_cast<int64_t>(NX) * NZ, 1, MaxGridCells)));
  try {
    RemoveAllPoints();
    SuspendUpdates();
    try {
      for (int z = 1; z <= NZ; ++z)
        for (int x = 1; x <= NX; ++x) AddPoint3D(x, GridYValue(x, z), z);
    } catch (...) {
      ResumeUpdates();
      throw;
    }
    ResumeUpdates();
  } catch (...) {
    ValueListGrowStep = oldStep;
    throw;
  }
  ValueListGrowStep = oldStep;
  BuildPalette(0);
}

void TCustom3DGridSeries::GenerateRandomPoints(int Count, bool) {
  if (Count <= 0) return;
  const bool old = SampleMode;
  SampleMode = true;
  try {
    CreateGridValues(Count, Count);
  } catch (...) {
    SampleMode = old;
    throw;
  }
  SampleMode = old;
}

void TCustom3DGridSeries::RemoveAllPoints() {
  TCustom3DPaletteSeries::RemoveAllPoints();
  FXValues->SetOrder(loNone);
  InitGridIndex(FNumXValues, FNumZValues);
}

void TCustom3DGridSeries::PrepareChartDraw() {
  TCustom3DPaletteSeries::PrepareChartDraw();
  if (PointCount() > 0) RebuildGridIndex();
}

void TCustom3DGridSeries::CopyValuesFrom(TChartSeries* Source) {
  if (auto* g = dynamic_cast<TCustom3DGridSeries*>(Source)) {
    FNumXValues = g->FNumXValues;
    FNumZValues = g->FNumZValues;
  }
  TCustom3DPaletteSeries::CopyValuesFrom(Source);
  RebuildGridIndex();
  RequestRedraw();
}

bool TCustom3DGridSeries::AcceptsSeriesAsSource(TChartSeries* Series) {
  return dynamic_cast<TCustom3DGridSeries*>(Series) != nullptr;
}

void TCustom3DGridSeries::Assign(TPersistent* Source) {
  if (auto* g = dynamic_cast<TCustom3DGridSeries*>(Source)) {
    FNumXValues = g->FNumXValues;
    FNumZValues = g->FNumZValues;
    FIrregularGrid = g->FIrregularGrid;
  }
  TCustom3DPaletteSeries::Assign(Source);
}
