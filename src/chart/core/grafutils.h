// Library-wide routines of the chart library: hit-testing geometry, date
// rounding and calendar stepping with the table of standard date-time steps,
// a callback quicksort, the colour palette, text helpers, bitmap resources by
// class name, the bevel and check-box painters, editor options kept in the
// registry, and the switches the panel reads.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "platform/gfx/colors.h"
#include "platform/gfx/geometry.h"
#include "platform/rtl/datetime.h"
#include "platform/ui/uitypes.h"

class TBitmap;
class TCanvas;
class TComponent;
class TControl;
class TGrafCanvas;

// ---- Standard date-time steps ------------------------------------------------

enum TDateTimeStep {
  dtOneMicroSecond, dtOneMillisecond, dtOneSecond, dtFiveSeconds, dtTenSeconds, dtFifteenSeconds,
  dtThirtySeconds, dtOneMinute, dtFiveMinutes, dtTenMinutes, dtFifteenMinutes, dtThirtyMinutes,
  dtOneHour, dtTwoHours, dtSixHours, dtTwelveHours, dtOneDay, dtTwoDays, dtThreeDays, dtOneWeek,
  dtHalfMonth, dtOneMonth, dtTwoMonths, dtThreeMonths, dtFourMonths, dtSixMonths, dtOneYear,
  dtNone  // no standard step, wherever a step index is stored
};
constexpr int DateTimeStepCount = 27;

// The steps in days, indexed by TDateTimeStep.
extern const std::array<double, DateTimeStepCount> DateTimeStep;

// ---- Library-wide state -------------------------------------------------------

// The 20 colours handed to new series, and the palette in use.
extern const std::array<TColor, 20> DefaultColorPalette;
extern std::vector<TColor> ColorPalette;

// Bevel light and dark colours.
extern TColor PanelBevelColors[2];

// Separator of CountSeparatedItems and SeparatedItemAt.
extern std::string ItemSeparator;

// Dates up to this one are not rounded by RoundDateToStep (1900-01-01).
extern TDateTime MinimumRoundingDate;

// Called by InvokeFormHook; none is installed by the library itself.
using TFormCustomizeHook = std::function<void(TControl* Form, const std::vector<TControl*>& Controls)>;
extern TFormCustomizeHook FormCustomizeHook;

// Panel switches: clip while printing and while drawing a metafile; let the
// window erase its background; paint panel colour and bevels on paper.
extern bool ClipOnPrinter;
extern bool ClipInMetafile;
extern bool EraseBackgroundSwitch;
extern bool PrintPanelBackground;

// The screen cursor number of the library's hand cursor.
constexpr TCursor crGrafHand = 2020;

// Start-up and shut-down of the unit (palette, hand cursor, rounding date).
// Chart panels run the start-up when they are made; it runs once.
void ChartUtilsStartup();
void ChartUtilsShutdown();

// ---- Numbers and text --------------------------------------------------------

std::string IntToText(int value);
// The short date format for spans above one day, else the short time format.
std::string DefaultDateTimeFormatFor(double span);
// "," and "." of a format text become the program's thousand and decimal separators.
std::string LocalizeNumberFormat(const std::string& format);
// The program's thousand and decimal separators become "," and ".".
std::string DelocalizeNumberFormat(const std::string& text);
// Every c replaced by replacement, or deleted when replacement is '\0'.
std::string SubstituteChar(const std::string& text, char c, char replacement);
int CountSeparatedItems(const std::string& text);
int CountSeparatedItems(const std::string& text, const std::string& separator);
// The item at a 1-based index; empty below 1, the last item past the end.
std::string SeparatedItemAt(const std::string& text, int index);
std::string SeparatedItemAt(const std::string& text, int index, const std::string& separator);
// Base name plus the smallest number from 1 that no component of the owner has.
std::string UniqueComponentName(const TComponent* owner, const std::string& baseName);

// ---- Dates -------------------------------------------------------------------

int DaysOfMonth(int year, int month);
// The next larger standard step (a year for a year or more, and below the smallest).
double NextDateTimeStepValue(double step);
// The standard step within a microsecond of the value, or dtNone.
int NearestDateTimeStepIndex(double step);
// The date rounded down to the step's calendar unit for labelling, without time of day.
TDateTime RoundDateToStep(int stepIndex, TDateTime value);
// Moves value by one step; with exact set, half-month and longer steps move by calendar units.
void StepDateTime(bool exact, bool forward, TDateTime& value, int stepIndex, double step);

// ---- Geometry ----------------------------------------------------------------

bool PointNearSegment(TPoint p, TPoint a, TPoint b, int tolerance);
bool PointNearSegmentPoints(TPoint p, TPoint a, TPoint b, int tolerance);
bool PointNearSegmentCoords(TPoint p, int x0, int y0, int x1, int y1, int tolerance);
bool PointOnSegment(TPoint p, TPoint a, TPoint b);
bool PointOnSegmentCoords(TPoint p, int x0, int y0, int x1, int y1);
bool PointInsidePolygon(TPoint p, const TPoint* points, int high);
bool PointInsidePolygon(TPoint p, const std::vector<TPoint>& points);
bool PointInsideUprightTriangle(TPoint p, int x0, int x1, int y0, int y1);
bool PointInsideSidewaysTriangle(TPoint p, int y0, int y1, int x0, int x1);
bool PointInsideEllipse(TPoint p, int left, int top, int right, int bottom);
bool PointInsideEllipseRect(TPoint p, const TRect& rect);
// The crossing point of the lines through the two segments, and whether the
// segments themselves cross (each one's ends strictly on both sides of the other).
bool IntersectLines(TPoint a0, TPoint a1, TPoint b0, TPoint b1, double& x, double& y);

// ---- Drawing and controls -------------------------------------------------

// Draws a bevel of width pixels inside rect and shrinks rect by it.
void PaintBevel(TGrafCanvas* canvas, TBevelCut kind, TRect& rect, int corner, int width);
// A 13 x 13 check box (checkBox) or radio button at (x, y).
void DrawCheckBoxAt(int x, int y, TCanvas* canvas, bool ticked, TColor color, bool checkBox);
void EnableEditControls(bool enabled, const std::vector<TControl*>& controls);

// Named bitmap resources of the program. LoadBitmapResource tries name, then
// secondName; false when no resource supplies either.
using TBitmapResourceLoader = std::function<bool(const std::string& name, TBitmap* bitmap)>;
void RegisterBitmapResources(TBitmapResourceLoader loader);
bool LoadBitmapResource(TBitmap* bitmap, const std::string& name, const std::string& secondName);
// The resource named after the object's class, else its parent class.
bool LoadClassBitmap(const TObject* object, TBitmap* bitmap);

void InvokeFormHook(TControl* form, const std::vector<TControl*>& controls);
void InvokeControlHook(TControl* control);

// ---- Palette and sorting -----------------------------------------------------

TColor DefaultPaletteColor(int index);
void RestoreDefaultPalette();
// The palette becomes colors[0..high]; a high index of 0 restores the default.
void SetColorPalette(const TColor* colors, int high);
void SetColorPalette(const std::vector<TColor>& colors);

using TSortCompare = std::function<int(int a, int b)>;
using TSortSwap = std::function<void(int a, int b)>;
// Sorts the index range through the callbacks only (the data is never touched here).
void SortWithCallbacks(int first, int last, const TSortCompare& compare, const TSortSwap& swap);

// ---- Editor options (registry) -------------------------------------------------

// The key below the current user that holds the chart editor's options.
extern const char* const EditorOptionsKey;
bool ReadEditorOptionBool(const std::string& name, bool defaultValue);
void WriteEditorOptionBool(const std::string& name, bool value);
int ReadEditorOptionInt(const std::string& name, int defaultValue);
