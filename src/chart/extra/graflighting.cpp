#include "chart/extra/graflighting.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "chart/core/grafconst.h"
#include "chart/core/grcanvas.h"

const TEnumInfo& LightStyleEnumInfo() {
  static const TEnumInfo info{"TLightStyle", {"lsLinear", "lsSpotLight"}, 0};
  return info;
}

namespace {
// One result bitmap for every lighting tool, re-made when the size changes.
std::unique_ptr<TBitmap>& SharedResult() {
  static std::unique_ptr<TBitmap> bitmap;
  return bitmap;
}

TBitmap* ResultOfSize(int Width, int Height) {
  std::unique_ptr<TBitmap>& b = SharedResult();
  if (!b || b->Width() != Width || b->Height() != Height) b = std::make_unique<TBitmap>(Width, Height, pfDevice);
  return b.get();
}
}  // namespace

void FreeLightingBitmap() { SharedResult().reset(); }

ZV_CLASS_IMPL(TLightTool, TGrafCustomTool)

void TLightTool::DeclareProperties(TClassInfo& c) {
  using T = TLightTool;
  c.Integer<T>("Factor", &T::Factor, &T::SetFactor, 10);
  c.Boolean<T>("FollowMouse", &T::FollowMouse, &T::SetFollowMouse, false);
  c.Integer<T>("Left", &T::Left, &T::SetLeft, -1);
  c.Enum<T>("Style", LightStyleEnumInfo(), &T::Style, &T::SetStyle, lsLinear);
  c.Integer<T>("Top", &T::Top, &T::SetTop, -1);
}

TLightTool::TLightTool(TComponent* AOwner) : TGrafCustomTool(AOwner) {}

TLightTool::~TLightTool() {
  if (FParentChart) SetParentChart(nullptr);
}

std::string TLightTool::ToolTypeName() const { return GrafMsgEx2DLighting; }

void TLightTool::SetStyle(TLightStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  RequestRedraw();
}

void TLightTool::SetParentChart(TCustomAxisPanel* Value) {
  TGrafCustomTool::SetParentChart(Value);
  if (Value && !ComponentState().Contains(csDestroying)) Value->Invalidate();
}

TPoint TLightTool::LightPoint() const {
  TPoint p{FLeft, FTop};
  if (FParentChart) {
    if (FLeft == -1) p.X = FParentChart->Width() / 2;
    if (FTop == -1) p.Y = FParentChart->Height() / 2;
  }
  return p;
}

namespace {
// Darkening of one pixel at squared distance D from the light point:
// linear o = round(e f d), spot light o = round(f ((d + 1) e)^2), both
// growing with D. Rounding halves to even, as the process's default mode does.
struct TDarkening {
  double E = 0, F = 0;
  bool Spot = false;
  int At(double D) const {
    double o;
    if (Spot) {
      const double t = (std::sqrt(D) + 1) * E;
      o = std::nearbyint(F * t * t);
    } else {
      o = std::nearbyint(E * F * std::sqrt(D));
    }
    return o >= 255 ? 255 : static_cast<int>(o);
  }
};

// Steps[k]: the smallest squared distance (a whole number) at which the
// darkening reaches k, for k = 1..255 (beyond MaxD when it never does).
std::array<int64_t, 256> DarkeningSteps(const TDarkening& Dk, int64_t MaxD) {
  std::array<int64_t, 256> steps{};
  for (int k = 1; k < 256; ++k) {
    int64_t lo = steps[static_cast<size_t>(k - 1)], hi = MaxD + 1;
    while (lo < hi) {
      const int64_t mid = lo + (hi - lo) / 2;
      if (Dk.At(static_cast<double>(mid)) >= k) hi = mid;
      else lo = mid + 1;
    }
    steps[static_cast<size_t>(k)] = lo;
  }
  return steps;
}

// The darkening of each column of a row, walking outward from the light's
// column on either side, where it only grows.
void DarkenRow(const std::array<int64_t, 256>& Steps, int W, int LightX, int64_t DY2, uint8_t* Out) {
  auto side = [&](int From, int To, int Step) {
    int64_t dx = std::abs(static_cast<int64_t>(From) - LightX);
    int64_t D = DY2 + dx * dx;
    int k = 0;
    int64_t next = Steps[1];
    for (int c = From; c != To; c += Step) {
      while (D >= next) {
        ++k;
        next = k < 255 ? Steps[static_cast<size_t>(k + 1)] : INT64_MAX;
      }
      Out[c] = static_cast<uint8_t>(k);
      D += 2 * dx + 1;  // (dx + 1)^2 - dx^2
      ++dx;
    }
  };
  const int mid = std::clamp(LightX, 0, W);
  side(mid, W, 1);
  side(mid - 1, -1, -1);
}

// Dest = Source less the darkening of each pixel, not below 0 (Bpp bytes a
// pixel, of which the first three are colour).
void SubtractRow(const uint8_t* Src, uint8_t* Dst, const uint8_t* Dark, int W, int Bpp) {
  int c = 0;
#if defined(__SSE2__)
  if (Bpp == 4) {
    // Four pixels at a time; the alpha byte is kept.
    const __m128i colour = _mm_set1_epi32(0x00FFFFFF);
    for (; c + 4 <= W; c += 4) {
      int32_t four;
      std::memcpy(&four, Dark + c, 4);
      // Each darkening byte spread over its pixel's three colour bytes.
      __m128i dark = _mm_cvtsi32_si128(four);
      dark = _mm_unpacklo_epi8(dark, dark);
      dark = _mm_and_si128(_mm_unpacklo_epi16(dark, dark), colour);
      const __m128i src = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Src + 4 * c));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(Dst + 4 * c), _mm_subs_epu8(src, dark));
    }
  }
#endif
  for (; c < W; ++c) {
    const int o = Dark[c];
    for (int b = 0; b < 3; ++b) {
      const int v = Src[c * Bpp + b];
      Dst[c * Bpp + b] = static_cast<uint8_t>(v > o ? v - o : 0);
    }
    if (Bpp == 4) Dst[c * 4 + 3] = Src[c * 4 + 3];
  }
}
}  // namespace

void TLightTool::DarkenBitmap(TBitmap* Source, TBitmap* Dest) const {
  const int w = Source->Width(), h = Source->Height();
  if (Dest->Width() != w || Dest->Height() != h || Dest->PixelFormat() != Source->PixelFormat()) {
    Dest->SetPixelFormat(Source->PixelFormat());
    Dest->SetSize(w, h);
  }
  if (w == 0 || h == 0) return;
  const int bpp = Source->PixelFormat() == pf24bit ? 3 : 4;
  // A light point far off the picture darkens it as one at a million pixels.
  constexpr int far = 1 << 20;
  TPoint light = LightPoint();
  light.X = std::clamp(light.X, -far, far);
  light.Y = std::clamp(light.Y, -far, far);
  TDarkening dk;
  dk.E = 100.0 / std::sqrt(static_cast<double>(w) * w + static_cast<double>(h) * h);
  dk.F = FFactor * 0.01;
  dk.Spot = FStyle == lsSpotLight;
  if (!dk.Spot) dk.F *= 20;
  std::vector<uint8_t> dark(static_cast<size_t>(w), 0);
  // The farthest pixel from the light point bounds the distances met.
  const int64_t fx = std::max<int64_t>(std::abs(static_cast<int64_t>(light.X)), std::abs(static_cast<int64_t>(w - 1) - light.X));
  const int64_t farthest = std::max<int64_t>(std::abs(static_cast<int64_t>(light.Y)), std::abs(static_cast<int64_t>(h - 1) - light.Y));
  const std::array<int64_t, 256> steps = DarkeningSteps(dk, fx * fx + farthest * farthest);
  // Rows as far above the light as below it darken alike: one row of
  // darkening serves both.
  const int64_t nearest = light.Y < 0 ? -static_cast<int64_t>(light.Y) : light.Y >= h ? light.Y - (h - 1) : 0;
  for (int64_t t = nearest; t <= farthest; ++t) {
    const int64_t above = light.Y - t, below = light.Y + t;
    const bool hasAbove = above >= 0 && above < h, hasBelow = t > 0 && below >= 0 && below < h;
    if (!hasAbove && !hasBelow) continue;
    if (dk.F > 0) DarkenRow(steps, w, light.X, t * t, dark.data());
    if (hasAbove) SubtractRow(Source->ScanLine(static_cast<int>(above)), Dest->ScanLine(static_cast<int>(above)), dark.data(), w, bpp);
    if (hasBelow) SubtractRow(Source->ScanLine(static_cast<int>(below)), Dest->ScanLine(static_cast<int>(below)), dark.data(), w, bpp);
  }
}

void TLightTool::DrawLighting() {
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  if (canvas->DrawingToMetafile() || FDrawing) return;
  FDrawing = true;
  struct TClear {
    bool& Flag;
    ~TClear() { Flag = false; }
  } clear{FDrawing};
  const int w = FParentChart->Width(), h = FParentChart->Height();
  if (w <= 0 || h <= 0) return;
  // The copy keeps its pixels' memory from pass to pass while the size stays.
  if (!FPicture || FPicture->Width() != w || FPicture->Height() != h || FPicture->PixelFormat() != pfDevice)
    FPicture = std::make_unique<TBitmap>(w, h, pfDevice);
  if (TCanvas* source = canvas->GetDrawingDC()) {
    FPicture->Canvas()->CopyRect(Rect(0, 0, w, h), source, Rect(0, 0, w, h));
  } else {
    FPicture = FParentChart->RenderBitmap(FParentChart->GetPanelColor(), Rect(0, 0, w, h), pfDevice);
  }
  TBitmap* result = ResultOfSize(FPicture->Width(), FPicture->Height());
  DarkenBitmap(FPicture.get(), result);
  canvas->DrawGraphic(0, 0, result);
}

void TLightTool::HandleChartEvent(int Code) {
  TGrafCustomTool::HandleChartEvent(Code);
  if (Code != cteAfterDraw || !FParentChart || !Active()) return;
  DrawLighting();
}

void TLightTool::HandleMouseEvent(int Kind, TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGrafCustomTool::HandleMouseEvent(Kind, Button, Shift, X, Y);
  if (Active() && FFollowMouse && Kind == cmeMove && FParentChart) {
    FLeft = X;
    FTop = Y;
    FParentChart->Invalidate();
  }
}
