// The colour grid series: a regular grid as one image with a pixel per cell
// stretched over the cells, an irregular grid as one rectangle per cell.
#include "chart/series/grafcolorgrid.h"

#include <algorithm>
#include <cmath>

#include "chart/core/chart.h"
#include "chart/core/grafconst.h"
#include "chart/core/grafprocs.h"
#include "chart/core/grafutils.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/colors.h"
#include "platform/gfx/graphics.h"

ZV_CLASS_IMPL(TColorGridSeries, TCustom3DGridSeries)

void TColorGridSeries::DeclareProperties(TClassInfo& c) {
  using S = TColorGridSeries;
  c.Boolean<S>("CenteredPoints", &S::CenteredPoints, &S::SetCenteredPoints, false);
  c.Integer<S>("XGridEvery", &S::XGridEvery, &S::SetXGridEvery, 1);
  c.Integer<S>("ZGridEvery", &S::ZGridEvery, &S::SetZGridEvery, 1);
  c.Boolean<S>("SmoothBitmap", &S::SmoothBitmap, &S::SetSmoothBitmap, false);
  c.Object<S, TChartPen>("Frame", &S::Frame, &S::SetFrame);
}

TColorGridSeries::TColorGridSeries(TComponent* AOwner) : TCustom3DGridSeries(AOwner) {
  FFrame = std::make_unique<TChartHiddenPen>([this](TObject*) { RequestRedraw(); });
  FBitmap = std::make_unique<TBitmap>();
  FMarks->Callout()->SetLength(0);
}

TColorGridSeries::~TColorGridSeries() {
  if (FParentChart) TChartSeries::SetParentChart(nullptr);
}

double TColorGridSeries::HighEdge(double V) const {
  if (FCenteredPoints) return V + 0.5;
  return FIrregularGrid ? V : V + 1;
}

double TColorGridSeries::SmallestX() { return LowEdge(FXValues->MinValue()); }
double TColorGridSeries::LargestX() { return HighEdge(FXValues->MaxValue()); }
double TColorGridSeries::SmallestZ() { return LowEdge(FZValues->MinValue()); }
double TColorGridSeries::LargestZ() { return HighEdge(FZValues->MaxValue()); }

// The low edge of grid column (row) 1 of a regular grid, whose index
// starts at the rounded smallest value.
double TColorGridSeries::GridSmallest(TChartValueList* List) { return LowEdge(std::nearbyint(List->MinValue())); }

bool TColorGridSeries::VisibleExtent(double& X0, double& X1, double& Z0, double& Z1) {
  TChartAxis* h = GetHorizAxis();
  TChartAxis* v = GetVertAxis();
  const double ha = h->PixelToValue(h->StartPixel), hb = h->PixelToValue(h->EndPixel);
  const double va = v->PixelToValue(v->StartPixel), vb = v->PixelToValue(v->EndPixel);
  X0 = std::max(SmallestX(), std::min(ha, hb));
  X1 = std::min(LargestX(), std::max(ha, hb));
  Z0 = std::max(SmallestZ(), std::min(va, vb));
  Z1 = std::min(LargestZ(), std::max(va, vb));
  return X0 < X1 && Z0 < Z1;
}

// Not normalised: the top holds the pixel of Z0, the left that of X0.
TRect TColorGridSeries::ValueRectPixels(double X0, double X1, double Z0, double Z1) {
  TChartAxis* h = GetHorizAxis();
  TChartAxis* v = GetVertAxis();
  return TRect(h->ValueToPixel(X0), v->ValueToPixel(Z0), h->ValueToPixel(X1), v->ValueToPixel(Z1));
}

namespace {
// The device copies a bitmap without its alpha; cells of alpha 0 are keyed
// out instead, by a colour no opaque pixel has (a grid holds fewer cells
// than there are colours, so one is always free).
void KeyOutTransparentPixels(TBitmap* Bitmap) {
  const int w = Bitmap->Width(), h = Bitmap->Height();
  std::vector<uint64_t> used;
  bool any = false;
  for (int y = 0; y < h && !any; ++y) {
    const uint8_t* line = Bitmap->ScanLine(y);
    for (int x = 0; x < w; ++x) any = any || line[4 * x + 3] == 0;
  }
  Bitmap->SetTransparent(false);
  if (!any) return;
  used.assign((1u << 24) / 64, 0);
  for (int y = 0; y < h; ++y) {
    const uint8_t* line = Bitmap->ScanLine(y);
    for (int x = 0; x < w; ++x)
      if (line[4 * x + 3] != 0) {
        const uint32_t c = line[4 * x + 2] | (line[4 * x + 1] << 8) | (static_cast<uint32_t>(line[4 * x]) << 16);
        used[c / 64] |= uint64_t{1} << (c % 64);
      }
  }
  uint32_t key = 0;
  while (key < (1u << 24) && (used[key / 64] >> (key % 64)) & 1) ++key;
  for (int y = 0; y < h; ++y) {
    uint8_t* line = Bitmap->ScanLine(y);
    for (int x = 0; x < w; ++x)
      if (line[4 * x + 3] == 0) {
        line[4 * x + 2] = static_cast<uint8_t>(key & 0xFF);
        line[4 * x + 1] = static_cast<uint8_t>((key >> 8) & 0xFF);
        line[4 * x] = static_cast<uint8_t>(key >> 16);
      }
  }
  Bitmap->SetTransparentMode(tmFixed);
  Bitmap->SetTransparentColor(static_cast<TColor>(key));
  Bitmap->SetTransparent(true);
}
}  // namespace

void TColorGridSeries::DrawBitmapAt(const TRect& R, TBitmap* Bitmap) {
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  KeyOutTransparentPixels(Bitmap);
  if (FParentChart->View3D() && !FParentChart->View3DOptions()->Orthogonal())
    canvas->DrawGraphicAtDepth(R, Bitmap, MiddleZ);
  else
    canvas->StretchDraw(canvas->ProjectRectAtDepth(R, MiddleZ), Bitmap);
}

void TColorGridSeries::DrawRegularGrid(double X0, double X1, double Z0, double Z1) {
  // Visible columns and rows, from 1; column c covers [base + c - 1, base + c).
  const double bx = GridSmallest(FXValues), bz = GridSmallest(FZValues);
  auto first = [](double v, double base) { return static_cast<int>(std::clamp(std::floor(v - base), 0.0, 1e9)) + 1; };
  auto last = [](double v, double base, int n) {
    return static_cast<int>(std::clamp(std::ceil(v - base), 0.0, static_cast<double>(n)));
  };
  const int c0 = first(X0, bx), c1 = last(X1, bx, FNumXValues);
  const int r0 = first(Z0, bz), r1 = last(Z1, bz, FNumZValues);
  FBitmap->FreeImage();
  if (c1 < c0 || r1 < r0) return;
  if (Brush()->Style() == bsClear) return;  // nothing but lines and frame
  const int w = c1 - c0 + 1, h = r1 - r0 + 1;
  TRect R = ValueRectPixels(bx + c0 - 1, bx + c1, bz + r0 - 1, bz + r1);
  // The image's first row and column go where the normalised rectangle starts.
  const bool flipH = R.Left > R.Right, flipV = R.Top > R.Bottom;
  R = NormalizeRect(R);
  FBitmap->SetPixelFormat(pf32bit);
  FBitmap->SetSize(w, h);
  for (int y = 0; y < h; ++y) {
    uint8_t* line = FBitmap->ScanLine(y);
    const int row = flipV ? r1 - y : r0 + y;
    for (int x = 0; x < w; ++x) {
      const int column = flipH ? c1 - x : c0 + x;
      const int p = GridIndex(column, row);
      uint8_t* px = line + 4 * x;
      const TColor color = p < 0 ? clNone : PointColor(p);
      if (color == clNone) {
        px[0] = px[1] = px[2] = 0xFF;
        px[3] = 0;
      } else {
        const TColorRef rgb = ColorToRGB(color);
        px[0] = static_cast<uint8_t>(GetBValue(rgb));
        px[1] = static_cast<uint8_t>(GetGValue(rgb));
        px[2] = static_cast<uint8_t>(GetRValue(rgb));
        px[3] = 0xFF;
      }
    }
  }
  const int rw = R.Right - R.Left, rh = R.Bottom - R.Top;
  if (FSmoothBitmap && (w > 1 && h > 1) && rw > 1 && rh > 1) {
    // The resampler works on 24 bits: the alpha comes back from the
    // nearest cell so that missing cells stay transparent.
    TBitmap source;
    source.Assign(FBitmap.get());
    TBitmap smooth(rw, rh, pf24bit);
    try {
      SmoothStretch(&source, &smooth);
      smooth.SetPixelFormat(pf32bit);
      for (int y = 0; y < rh; ++y) {
        uint8_t* line = smooth.ScanLine(y);
        const uint8_t* cells = FBitmap->ScanLine(std::min(h - 1, y * h / rh));
        for (int x = 0; x < rw; ++x) line[4 * x + 3] = cells[4 * std::min(w - 1, x * w / rw) + 3];
      }
      DrawBitmapAt(R, &smooth);
      return;
    } catch (const ESmoothStretch&) {
      // Too small to resample after all: the cells unsmoothed.
    }
  }
  DrawBitmapAt(R, FBitmap.get());
}

void TColorGridSeries::DrawIrregularGrid() {
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  canvas->CanvasPen()->SetStyle(psClear);
  canvas->CanvasBrush()->SetStyle(bsSolid);
  TChartAxis* h = GetHorizAxis();
  TChartAxis* v = GetVertAxis();
  for (int z = 1; z < FNumZValues; ++z)
    for (int x = 1; x < FNumXValues; ++x) {
      const int p = GridIndex(x, z);
      if (p < 0) continue;
      const TColor color = PointColor(p);
      if (color == clNone) continue;
      const int right = GridIndex(x + 1, z), up = GridIndex(x, z + 1);
      if (right < 0 || up < 0) continue;
      canvas->CanvasBrush()->SetColor(color);
      canvas->RectangleWithZ(TRect(h->ValueToPixel(FXValues->GetValue(p)), v->ValueToPixel(FZValues->GetValue(p)),
                                   h->ValueToPixel(FXValues->GetValue(right)), v->ValueToPixel(FZValues->GetValue(up))),
                             MiddleZ);
    }
}

void TColorGridSeries::DrawGridLines(const TRect& R) {
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  canvas->SetBackgroundMode(TRANSPARENT);
  canvas->ApplyPen(Pen());
  const double h = FCenteredPoints ? 0.5 : 0;
  const int t = FIrregularGrid && !FCenteredPoints ? 1 : 0;
  const bool is3D = FParentChart->View3D();
  for (int i = 1; i <= (FNumZValues - t - 1) / FZGridEvery; ++i) {
    const int p = GridIndex(1, i * FZGridEvery + 1);
    if (p < 0) continue;
    const int y = GetVertAxis()->ValueToPixel(FZValues->GetValue(p) - h);
    if (is3D) canvas->HorizontalLine3D(R.Left, R.Right, y, MiddleZ);
    else canvas->HorizontalLine(R.Left, R.Right, y);
  }
  for (int i = 1; i <= (FNumXValues - t - 1) / FXGridEvery; ++i) {
    const int p = GridIndex(i * FXGridEvery + 1, 1);
    if (p < 0) continue;
    const int x = GetHorizAxis()->ValueToPixel(FXValues->GetValue(p) - h);
    if (is3D) canvas->VerticalLine3D(x, R.Top, R.Bottom, MiddleZ);
    else canvas->VerticalLine(x, R.Top, R.Bottom);
  }
}

void TColorGridSeries::DrawVisiblePoints() {
  if (PointCount() == 0 || !FParentChart || GridRefused()) return;
  double x0, x1, z0, z1;
  if (!VisibleExtent(x0, x1, z0, z1)) return;
  if (FIrregularGrid) DrawIrregularGrid();
  else DrawRegularGrid(x0, x1, z0, z1);
  const TRect R = NormalizeRect(ValueRectPixels(x0, x1, z0, z1));
  if (Pen()->Visible()) DrawGridLines(R);
  if (FFrame->Visible()) {
    TCanvas3D* canvas = FParentChart->PanelCanvas();
    canvas->SetBackgroundMode(TRANSPARENT);
    canvas->ApplyPen(FFrame.get());
    canvas->CanvasBrush()->SetStyle(bsClear);
    canvas->RectangleWithZ(R, MiddleZ);
  }
}

void TColorGridSeries::DrawPointMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) {
  const double h = !FIrregularGrid && !FCenteredPoints ? 0.5 : 0;
  const int cx = GetHorizAxis()->ValueToPixel(FXValues->GetValue(Index) + h);
  const int cy = GetVertAxis()->ValueToPixel(FZValues->GetValue(Index) + h);
  const int w = Position.Width, ht = Position.Height;
  Position.LeftTop = TPoint{cx - w / 2, cy - ht / 2};
  TCustom3DGridSeries::DrawPointMark(Index, Text, Position);
}

int TColorGridSeries::IndexAtPoint(int X, int Y) {
  if (PointCount() == 0 || !FParentChart || GridRefused()) return -1;
  const double vx = GetHorizAxis()->PixelToValue(X), vz = GetVertAxis()->PixelToValue(Y);
  if (!FIrregularGrid) {
    const double h = FCenteredPoints ? 0.5 : 0;
    const double row = std::floor(vz + h - std::nearbyint(FZValues->MinValue()));
    const double column = std::floor(vx + h - std::nearbyint(FXValues->MinValue()));
    if (row < 0 || column < 0 || row >= FNumZValues || column >= FNumXValues) return -1;
    return GridIndex(static_cast<int>(column) + 1, static_cast<int>(row) + 1);
  }
  // Irregular: the cell between this column's X and the next one's, and
  // likewise for rows, as drawn.
  std::vector<double> xs, zs;
  for (int i = 0, n = PointCount(); i < n; ++i) {
    xs.push_back(FXValues->GetValue(i));
    zs.push_back(FZValues->GetValue(i));
  }
  std::sort(xs.begin(), xs.end());
  xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
  std::sort(zs.begin(), zs.end());
  zs.erase(std::unique(zs.begin(), zs.end()), zs.end());
  const auto cx = std::upper_bound(xs.begin(), xs.end(), vx);
  const auto cz = std::upper_bound(zs.begin(), zs.end(), vz);
  if (cx == xs.begin() || cx == xs.end() || cz == zs.begin() || cz == zs.end()) return -1;
  const int column = static_cast<int>(cx - xs.begin()), row = static_cast<int>(cz - zs.begin());
  const int p = GridIndex(column, row);
  if (p < 0 || GridIndex(column + 1, row) < 0 || GridIndex(column, row + 1) < 0) return -1;
  return p;
}

void TColorGridSeries::LoadBitmap(TPicture* Picture) {
  if (!Picture || !Picture->Graphic()) return;
  const int64_t w = Picture->Width(), h = Picture->Height();
  if (w * h > MaxGridCells) throw EInvalidGraphic("Picture too large for a colour grid");
  TBitmap pixels;
  pixels.Assign(Picture->Graphic());
  pixels.SetPixelFormat(pf32bit);
  FBitmap->Assign(&pixels);
  SuspendUpdates();
  try {
    RemoveAllPoints();
    FCenteredPoints = true;
    SetNumXValues(static_cast<int>(w));
    SetNumZValues(static_cast<int>(h));
    for (int i = 0; i < w; ++i)
      for (int j = 0; j < h; ++j) {
        const uint8_t* px = pixels.ScanLine(j) + 4 * i;
        const TColor c = static_cast<TColor>(RGB(px[2], px[1], px[0]));
        AddLabeledPoint3D(i + 1, static_cast<double>(c), j + 1, "", c);
      }
  } catch (...) {
    ResumeUpdates();
    throw;
  }
  ResumeUpdates();
  RequestRedraw();
}

void TColorGridSeries::EnumGalleryStyles(const std::function<void(const std::string&)>& Proc) {
  TCustom3DGridSeries::EnumGalleryStyles(Proc);
  Proc(GrafMsgExNoGrid);
}

void TColorGridSeries::ApplyGalleryStyle(TChartSeries* Series, int Index) {
  if (Index == 2) Series->Pen()->SetVisible(false);
  else TCustom3DGridSeries::ApplyGalleryStyle(Series, Index);
}

void TColorGridSeries::SetupGalleryPreview(bool Enabled) {
  TCustom3DGridSeries::SetupGalleryPreview(Enabled);
  SampleMode = true;
  CreateGridValues(8, 4);
}

void TColorGridSeries::ApplyGallery3D(bool Value) {
  TCustom3DGridSeries::ApplyGallery3D(Value);
  if (!FParentChart) return;
  FParentChart->SetView3D(Value);
  FParentChart->SetClipPoints(true);
}

void TColorGridSeries::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TColorGridSeries*>(Source)) {
    FCenteredPoints = s->FCenteredPoints;
    FSmoothBitmap = s->FSmoothBitmap;
    FFrame->Assign(s->FFrame.get());
  }
  TCustom3DGridSeries::Assign(Source);
}
