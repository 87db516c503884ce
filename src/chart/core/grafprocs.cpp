#include "chart/core/grafprocs.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "chart/core/grafattrs.h"
#include "chart/core/grafconst.h"
#include "platform/rtl/dynlib.h"
#include "platform/rtl/mathutils.h"
#include "platform/ui/controls.h"

int CylinderSideCount = CylinderSides;
TFontQuality FontOutputQuality = fqAntialiased;

bool UseExtendedPens = false;
bool CanAlphaBlend = false;
std::string DefaultFontName;
int DefaultFontSize = 8;
bool HasDCColorFunctions = false;

namespace {

// Nearest integer, halves to even, for values that are known to be finite and small.
int RoundInt(double v) { return static_cast<int>(std::nearbyint(v)); }

}  // namespace

// ---- Geometry ----

bool PointsFaceAway(TPoint p0, TPoint p1, TPoint p2) {
  return static_cast<int64_t>(p0.X - p1.X) * (p2.Y - p1.Y) - static_cast<int64_t>(p2.X - p1.X) * (p0.Y - p1.Y) < 0;
}

bool PolygonFacesAway(const TPoint* points, int count) {
  return count >= 3 && PointsFaceAway(points[0], points[1], points[2]);
}

TRect NormalizeRect(const TRect& r) {
  TRect n = r;
  if (n.Left > n.Right) std::swap(n.Left, n.Right);
  if (n.Top > n.Bottom) std::swap(n.Top, n.Bottom);
  return n;
}

void RectMidPoint(const TRect& r, int& x, int& y) {
  x = (r.Left + r.Right) / 2;
  y = (r.Top + r.Bottom) / 2;
}

TRect BoundsOfPoints(const TPoint* points, int highIndex) {
  if (highIndex < 0) return {};
  TRect r{points[0].X, points[0].Y, points[0].X, points[0].Y};
  for (int i = 1; i <= highIndex; ++i) {
    r.Left = std::min(r.Left, points[i].X);
    r.Right = std::max(r.Right, points[i].X);
    r.Top = std::min(r.Top, points[i].Y);
    r.Bottom = std::max(r.Bottom, points[i].Y);
  }
  return r;
}

TRect ExclusiveBoundsOfPoints(const TPoint* points, int count) {
  TRect r = BoundsOfPoints(points, count - 1);
  if (count > 0) {
    ++r.Right;
    ++r.Bottom;
  }
  return r;
}

void SwapIntegers(int& a, int& b) { std::swap(a, b); }

TPoint PointShortOfEnd(TPoint p0, TPoint p1, double distance) {
  if (p0.X == p1.X) {
    int y = p1.Y < p0.Y ? p1.Y + RoundInt(distance) : p1.Y - RoundInt(distance);
    return {p1.X, y};
  }
  double a = std::atan2(static_cast<double>(p1.Y - p0.Y), static_cast<double>(p1.X - p0.X));
  return {p1.X - RoundInt(distance * std::cos(a)), p1.Y - RoundInt(distance * std::sin(a))};
}

double VectorLength(double a, double b) { return std::sqrt(a * a + b * b); }

void PieAnglesFromRadials(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4, double& startAngle,
                          double& endAngle) {
  const int cx = x1 + (x2 - x1) / 2;
  const int cy = y1 + (y2 - y1) / 2;
  auto angle = [&](int x, int y) {
    double a = std::atan2(static_cast<double>(cy - y), static_cast<double>(x - cx)) * 180.0 / M_PI;
    if (a < 0) a += 360.0;
    return a;
  };
  startAngle = angle(x3, y3);
  endAngle = angle(x4, y4);
  if (endAngle == 0.0) endAngle = 360.0;
}

// ---- Colours ----

void SplitColorRgb(TColor color, uint8_t& blue, uint8_t& green, uint8_t& red) {
  TColorRef c = ColorToRGB(color);
  red = static_cast<uint8_t>(GetRValue(c));
  green = static_cast<uint8_t>(GetGValue(c));
  blue = static_cast<uint8_t>(GetBValue(c));
}

TColor ColorDarker(TColor color, int amount) {
  TColorRef c = ColorToRGB(color);
  auto d = [amount](int v) { return amount >= v ? 0 : v - amount; };
  return static_cast<TColor>(RGB(d(GetRValue(c)), d(GetGValue(c)), d(GetBValue(c))));
}

TColor ColorBrighter(TColor color, int amount) {
  TColorRef c = ColorToRGB(color);
  auto b = [amount](int v) { return v + amount >= 256 ? 255 : std::max(0, v + amount); };
  return static_cast<TColor>(RGB(b(GetRValue(c)), b(GetGValue(c)), b(GetBValue(c))));
}

// ---- Resampling ----

float Lanczos3Weight(float x) {
  if (x == 0.0f) return 1.0f;
  if (std::fabs(x) >= 3.0f) return 0.0f;
  const float pi = static_cast<float>(M_PI);
  float px = pi * x;
  float px3 = px / 3.0f;
  return (std::sin(px) / px) * (std::sin(px3) / px3);
}

float TriangleWeight(float x) {
  x = std::fabs(x);
  return x < 1.0f ? 1.0f - x : 0.0f;
}

namespace {

struct TContribution {
  int Index;
  int Weight;
};
using TContributions = std::vector<std::vector<TContribution>>;

TContributions ComputeContributions(int destSize, int sourceSize, double scale, float (*weightFn)(float),
                                    double radius) {
  TContributions list(destSize);
  auto mirror = [sourceSize](int j) {
    if (j < 0) j = -j;
    if (j >= sourceSize) j = 2 * sourceSize - j - 1;
    // A radius wider than a tiny source can still land outside after one mirroring.
    return std::clamp(j, 0, sourceSize - 1);
  };
  for (int i = 0; i < destSize; ++i) {
    const double centre = i / scale;
    if (scale >= 1.0) {
      const int lo = static_cast<int>(std::floor(centre - radius));
      const int hi = static_cast<int>(std::ceil(centre + radius));
      for (int j = lo; j <= hi; ++j) {
        int w = RoundInt(weightFn(static_cast<float>(centre - j)) * 1024.0);
        if (w != 0) list[i].push_back({mirror(j), w});
      }
    } else {
      const double width = radius / scale;
      const int lo = static_cast<int>(std::floor(centre - width));
      const int hi = static_cast<int>(std::ceil(centre + width));
      for (int j = lo; j <= hi; ++j) {
        int w = RoundInt(weightFn(static_cast<float>(scale * (centre - j))) * scale * 1024.0);
        if (w != 0) list[i].push_back({mirror(j), w});
      }
    }
  }
  return list;
}

uint8_t ClampChannel(int32_t sum) {
  if (sum < 0) return 0;
  sum >>= 10;
  return static_cast<uint8_t>(sum > 255 ? 255 : sum);
}

}  // namespace

void SmoothStretch(TBitmap* source, TBitmap* destination) { SmoothStretchQuality(source, destination, 0); }

void SmoothStretchQuality(TBitmap* source, TBitmap* destination, int quality) {
  if (!source || !destination) return;
  if (source->Width() < 2 || source->Height() < 2) throw ESmoothStretch("SmoothStretch: Source bitmap too small");
  if (destination->Width() < 2 || destination->Height() < 2)
    throw ESmoothStretch("SmoothStretch: Destination bitmap too small");

  float (*weightFn)(float) = quality == 0 ? &Lanczos3Weight : &TriangleWeight;
  const double radius = quality == 0 ? 3.0 : 1.0;

  source->SetPixelFormat(pf24bit);
  destination->SetPixelFormat(pf24bit);
  const int sw = source->Width(), sh = source->Height();
  const int dw = destination->Width(), dh = destination->Height();
  TBitmap work(dw, sh, pf24bit);

  const double sx = static_cast<double>(dw - 1) / (sw - 1);
  const double sy = static_cast<double>(dh - 1) / (sh - 1);

  // Rows first: every source row into the work bitmap.
  TContributions cols = ComputeContributions(dw, sw, sx, weightFn, radius);
  for (int y = 0; y < sh; ++y) {
    const uint8_t* src = source->ScanLine(y);
    uint8_t* dst = work.ScanLine(y);
    for (int i = 0; i < dw; ++i) {
      int32_t b = 0, g = 0, r = 0;
      for (const TContribution& c : cols[i]) {
        const uint8_t* p = src + 3 * c.Index;
        b += p[0] * c.Weight;
        g += p[1] * c.Weight;
        r += p[2] * c.Weight;
      }
      dst[3 * i] = ClampChannel(b);
      dst[3 * i + 1] = ClampChannel(g);
      dst[3 * i + 2] = ClampChannel(r);
    }
  }

  // Then columns: every work column into the destination.
  TContributions rows = ComputeContributions(dh, sh, sy, weightFn, radius);
  std::vector<const uint8_t*> workRows(sh);
  for (int y = 0; y < sh; ++y) workRows[y] = work.ScanLine(y);
  for (int i = 0; i < dh; ++i) {
    uint8_t* dst = destination->ScanLine(i);
    for (int x = 0; x < dw; ++x) {
      int32_t b = 0, g = 0, r = 0;
      for (const TContribution& c : rows[i]) {
        const uint8_t* p = workRows[c.Index] + 3 * x;
        b += p[0] * c.Weight;
        g += p[1] * c.Weight;
        r += p[2] * c.Weight;
      }
      dst[3 * x] = ClampChannel(b);
      dst[3 * x + 1] = ClampChannel(g);
      dst[3 * x + 2] = ClampChannel(r);
    }
  }
  destination->SetModified(true);
}

// ---- Platform binding ----

void* LoadLibrarySafely(const std::string& fileName) { return LoadLibrary(fileName); }

void FreeLibrarySafely(void* handle) {
  if (handle) FreeLibrary(handle);
}

bool LoadAlphaBlend() { return true; }

void LoadDCColorFunctions() { HasDCColorFunctions = true; }

namespace {

bool UserLanguageIsJapanese() {
  for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* v = std::getenv(var);
    if (v && *v) return std::strncmp(v, "ja", 2) == 0;
  }
  return false;
}

}  // namespace

void LoadDefaultFontSettings() {
  int size = std::atoi(GrafMsgDefaultFontSize.c_str());
  DefaultFontSize = size > 0 ? size : 8;
  DefaultFontName = GrafMsgDefaultFontName.empty() ? "Arial" : GrafMsgDefaultFontName;
  if (UserLanguageIsJapanese()) {
    // The platform's user-interface font: 9 points of the mapped sans family.
    if (DefaultFontSize == 8) DefaultFontSize = 9;
    if (DefaultFontName == "Arial") DefaultFontName = "MS UI Gothic";
  }
}

// ---- Start-up ----

namespace {
bool GUnitStarted = false;
}  // namespace

void GrafCanvasUnitStartup() {
  if (GUnitStarted) return;
  GUnitStarted = true;
  SetLibraryTexts();
  SetExtraLibraryTexts();
  UseExtendedPens = true;
  CanAlphaBlend = LoadAlphaBlend();
  LoadDefaultFontSettings();
  ActivateClassGroup(&TControl::StaticClass());
  LoadDCColorFunctions();
  RegisterGrafAttributeClasses();
}

void GrafCanvasUnitShutdown() {
  if (!GUnitStarted) return;
  GUnitStarted = false;
  HasDCColorFunctions = false;
  CanAlphaBlend = false;
  DefaultFontName.clear();
}

namespace {
struct TCanvasUnitLifetime {
  TCanvasUnitLifetime() { GrafCanvasUnitStartup(); }
  ~TCanvasUnitLifetime() { GrafCanvasUnitShutdown(); }
} GCanvasUnitLifetime;
}  // namespace
