// The canvas unit's shared routines: integer geometry on points and
// rectangles, colour arithmetic, bitmap resampling, the optional platform
// drawing functions and the unit's start-up (default font, switches).
#pragma once

#include <string>
#include <vector>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/colors.h"
#include "platform/gfx/geometry.h"
#include "platform/rtl/exceptions.h"

using TPointArray = std::vector<TPoint>;

// ---- Unit variables (set by GrafCanvasUnitStartup) ----

// TChartPen is realised with extended pens (end caps, small dots).
extern bool UseExtendedPens;
// BlendBitmaps uses the platform's constant-alpha blend.
extern bool CanAlphaBlend;
// Name and size in points of new TGrafFont objects and of ResetState.
extern std::string DefaultFontName;
extern int DefaultFontSize;
// The device's stock DC brush and pen colours may be set (fast banded fills).
extern bool HasDCColorFunctions;

constexpr int DarkSideAmount = 128;
constexpr int DarkTopAmount = 64;
constexpr int CylinderSides = 16;
// Flat sides of the cylinders and cones the canvases draw (CylinderSides at
// start); a series may set it around one call and restore it.
extern int CylinderSideCount;
// Output quality of the fonts the canvases create for turned text.
extern TFontQuality FontOutputQuality;
constexpr double BalanceFactor = 0.015;

// The largest coordinate handed to the drawing surface. The canvas clips
// lines and polygons that reach beyond it, so far-away points (an axis
// position clamped to a huge value) never overflow the rasteriser's fixed
// point arithmetic or make it walk millions of invisible pixels.
constexpr int GrafPixelLimit = 32767;

// ---- Geometry (halvings truncate towards zero) ----

bool PointsFaceAway(TPoint p0, TPoint p1, TPoint p2);
// PointsFaceAway of the first three points; false for fewer.
bool PolygonFacesAway(const TPoint* points, int count);
inline bool PolygonFacesAway(const TPointArray& points) {
  return PolygonFacesAway(points.data(), static_cast<int>(points.size()));
}
inline TPoint MakePoint(int x, int y) { return {x, y}; }
inline TRect MakeRect(int left, int top, int right, int bottom) { return {left, top, right, bottom}; }
// A copy with Left <= Right and Top <= Bottom.
TRect NormalizeRect(const TRect& r);
void RectMidPoint(const TRect& r, int& x, int& y);
// Inclusive bounds of points[0..highIndex]; (0, 0, 0, 0) for highIndex -1.
TRect BoundsOfPoints(const TPoint* points, int highIndex);
inline TRect BoundsOfPoints(const TPointArray& points) {
  return BoundsOfPoints(points.data(), static_cast<int>(points.size()) - 1);
}
// Bounds with Right and Bottom one past the extremes; count >= 1.
TRect ExclusiveBoundsOfPoints(const TPoint* points, int count);
void SwapIntegers(int& a, int& b);
// The point `distance` back from p1 towards p0.
TPoint PointShortOfEnd(TPoint p0, TPoint p1, double distance);
double VectorLength(double a, double b);
// Start and end angles (degrees, 0..360) of a pie given like the device's
// Pie call; an end of exactly 0 becomes 360.
void PieAnglesFromRadials(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4, double& startAngle,
                          double& endAngle);

// ---- Colours (system colours are converted to RGB first) ----

// Blue, green, red: the components in pixel memory order.
void SplitColorRgb(TColor color, uint8_t& blue, uint8_t& green, uint8_t& red);
// Each component minus amount, not below 0.
TColor ColorDarker(TColor color, int amount);
// Each component plus amount, not above 255.
TColor ColorBrighter(TColor color, int amount);

// ---- Resampling ----

// Raises ESmoothStretch "SmoothStretch: Source bitmap too small" (or
// "...Destination bitmap too small") for bitmaps under 2 x 2 pixels,
// changing nothing. Nil bitmaps do nothing.
ZV_DECLARE_EXCEPTION(ESmoothStretch, Exception)
void SmoothStretch(TBitmap* source, TBitmap* destination);
// Quality 0: Lanczos-3 filter; any other: triangle (bilinear) filter.
void SmoothStretchQuality(TBitmap* source, TBitmap* destination, int quality);
float Lanczos3Weight(float x);
float TriangleWeight(float x);

// ---- Platform binding ----

// Loads a shared library without any error box; 0 when it cannot be loaded.
void* LoadLibrarySafely(const std::string& fileName);
void FreeLibrarySafely(void* handle);
// The platform alpha blend is built into the drawing layer: always true.
bool LoadAlphaBlend();
// The stock DC brush and pen colours are built into the drawing layer.
void LoadDCColorFunctions();
void LoadDefaultFontSettings();

// ---- Start-up and shut-down ----

// Fills the library texts and the unit variables; runs once (later calls do
// nothing) and is called from the unit's static start-up, so code that runs
// during static initialisation may call it first.
void GrafCanvasUnitStartup();
void GrafCanvasUnitShutdown();
