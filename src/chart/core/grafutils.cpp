#include "chart/core/grafutils.h"

#include <cmath>
#include <cstdlib>

#include "chart/core/grcanvas.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/graphics.h"
#include "platform/rtl/formatsettings.h"
#include "platform/rtl/registry.h"
#include "platform/rtl/strutils.h"
#include "platform/ui/classes.h"
#include "platform/ui/controls.h"
#include "platform/ui/forms.h"

namespace {
constexpr double OneSecond = 1.0 / 86400.0;
constexpr double OneMinute = 60.0 * OneSecond;
constexpr double OneHour = 60.0 * OneMinute;
}  // namespace

const std::array<double, DateTimeStepCount> DateTimeStep = {
    OneSecond / 1000000.0, OneSecond / 1000.0, OneSecond, 5 * OneSecond, 10 * OneSecond, 15 * OneSecond,
    30 * OneSecond, OneMinute, 5 * OneMinute, 10 * OneMinute, 15 * OneMinute, 30 * OneMinute,
    OneHour, 2 * OneHour, 6 * OneHour, 12 * OneHour, 1, 2, 3, 7,
    15, 30, 60, 90, 120, 182, 365};

const std::array<TColor, 20> DefaultColorPalette = {
    clRed,  clGreen,  clYellow, clBlue,   clWhite,  clGray,       clFuchsia,  clTeal,   clNavy,  clMaroon,
    clLime, clOlive,  clPurple, clSilver, clAqua,   clBlack,      clMoneyGreen, clSkyBlue, clCream, clMedGray};

std::vector<TColor> ColorPalette(DefaultColorPalette.begin(), DefaultColorPalette.end());
TColor PanelBevelColors[2] = {clBtnHighlight, clBtnShadow};
std::string ItemSeparator = ";";
TDateTime MinimumRoundingDate = 2.0;  // 1900-01-01
TFormCustomizeHook FormCustomizeHook;
bool ClipOnPrinter = true;
bool ClipInMetafile = true;
bool EraseBackgroundSwitch = false;
bool PrintPanelBackground = false;
const char* const EditorOptionsKey = "\\Software\\GrafChart\\Editor";

namespace {
std::vector<TBitmapResourceLoader>& ResourceLoaders() {
  static std::vector<TBitmapResourceLoader> loaders;
  return loaders;
}
}  // namespace

namespace {
// The library's hand cursor: a pointing hand, black outline on white, the
// rest transparent (the bottom-left pixel's colour), hot spot at the finger tip.
void RegisterHandCursor() {
  static const char* const Rows[16] = {
      "....##..........", "...#..#.........", "...#..#.........", "...#..#.........",
      "...#..###.......", "...#..#..##.....", "...#..#..#.##...", ".###..#..#.#.#..",
      "#..#.......#.#..", "#..#.........#..", ".#...........#..", ".#...........#..",
      "..#.........#...", "..#.........#...", "...#.......#....", "...#########....",
  };
  TBitmap image(16, 16);
  TCanvas* c = image.Canvas();
  const TColor transparent = clFuchsia;
  c->Brush()->SetColor(transparent);
  c->FillRect(Rect(0, 0, 16, 16));
  for (int y = 0; y < 16; ++y) {
    const std::string row = Rows[y];
    const size_t first = row.find('#'), last = row.rfind('#');
    for (size_t x = first; x <= last; ++x) c->SetPixels(static_cast<int>(x), y, row[x] == '#' ? clBlack : clWhite);
  }
  image.SetTransparentColor(transparent);
  image.SetTransparent(true);
  if (Screen) Screen->SetCursors(crGrafHand, &image, 5, 0);
}
}  // namespace

void ChartUtilsStartup() {
  static bool done = false;
  if (done) return;
  done = true;
  RestoreDefaultPalette();
  ItemSeparator = ";";
  MinimumRoundingDate = EncodeDate(1900, 1, 1);
  RegisterHandCursor();
}

void ChartUtilsShutdown() {
  ColorPalette.clear();
  if (Screen) Screen->RemoveCursor(crGrafHand);
  ItemSeparator.clear();
}

// ---- Numbers and text --------------------------------------------------------

std::string IntToText(int value) { return IntToStr(value); }

std::string DefaultDateTimeFormatFor(double span) {
  return span > 1.0 ? FormatSettings.ShortDateFormat : FormatSettings.ShortTimeFormat;
}

namespace {
// Replaces the two characters at once, so that exchanging them works.
std::string SwapSeparators(const std::string& text, char from1, char to1, char from2, char to2) {
  std::string result = text;
  for (char& c : result) {
    if (c == from1) c = to1;
    else if (c == from2) c = to2;
  }
  return result;
}
}  // namespace

std::string LocalizeNumberFormat(const std::string& format) {
  const char thousand = FormatSettings.ThousandSeparator, decimal = FormatSettings.DecimalSeparator;
  if (thousand == decimal) return format;
  return SwapSeparators(format, ',', thousand, '.', decimal);
}

std::string DelocalizeNumberFormat(const std::string& text) {
  const char thousand = FormatSettings.ThousandSeparator, decimal = FormatSettings.DecimalSeparator;
  if (thousand == decimal) return text;
  return SwapSeparators(text, thousand, ',', decimal, '.');
}

std::string SubstituteChar(const std::string& text, char c, char replacement) {
  std::string result;
  result.reserve(text.size());
  for (char ch : text) {
    if (ch != c) result += ch;
    else if (replacement != '\0') result += replacement;
  }
  return result;
}

namespace {
// Puts a separator in place of the library's for one call, also on an exception.
class TSeparatorScope {
public:
  explicit TSeparatorScope(const std::string& separator) : FSaved(ItemSeparator) { ItemSeparator = separator; }
  ~TSeparatorScope() { ItemSeparator = FSaved; }
  TSeparatorScope(const TSeparatorScope&) = delete;
  TSeparatorScope& operator=(const TSeparatorScope&) = delete;

private:
  std::string FSaved;
};
}  // namespace

int CountSeparatedItems(const std::string& text) {
  if (text.empty()) return 0;
  if (ItemSeparator.empty()) return 1;
  int count = 1;
  for (size_t p = text.find(ItemSeparator); p != std::string::npos; p = text.find(ItemSeparator, p + ItemSeparator.size()))
    ++count;
  return count;
}

int CountSeparatedItems(const std::string& text, const std::string& separator) {
  TSeparatorScope scope(separator);
  return CountSeparatedItems(text);
}

std::string SeparatedItemAt(const std::string& text, int index) {
  if (text.empty() || index < 1) return "";
  if (ItemSeparator.empty()) return text;
  size_t start = 0;
  for (int i = 1; i < index; ++i) {
    size_t p = text.find(ItemSeparator, start);
    if (p == std::string::npos) break;  // past the last item: the last one
    start = p + ItemSeparator.size();
  }
  size_t end = text.find(ItemSeparator, start);
  return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::string SeparatedItemAt(const std::string& text, int index, const std::string& separator) {
  TSeparatorScope scope(separator);
  return SeparatedItemAt(text, index);
}

std::string UniqueComponentName(const TComponent* owner, const std::string& baseName) {
  if (!owner) return baseName + "1";
  for (int n = 1;; ++n) {
    std::string name = baseName + IntToStr(n);
    if (!owner->FindComponent(name)) return name;
  }
}

// ---- Dates -------------------------------------------------------------------

int DaysOfMonth(int year, int month) { return DaysInAMonth(year, month); }

double NextDateTimeStepValue(double step) {
  for (int i = dtSixMonths; i >= 0; --i)
    if (step >= DateTimeStep[i]) return DateTimeStep[i + 1];
  return DateTimeStep[dtOneYear];
}

int NearestDateTimeStepIndex(double step) {
  const double tolerance = DateTimeStep[dtOneMicroSecond];
  for (int i = dtOneYear; i >= 0; --i)
    if (std::fabs(step - DateTimeStep[i]) < tolerance) return i;
  return dtNone;
}

namespace {
// The time of day of a TDateTime (days before the origin keep counting their
// fraction forward from midnight: -1.25 is 06:00).
TDateTime TimePart(TDateTime value) { return std::fabs(value - std::trunc(value)); }
TDateTime Combine(TDateTime date, TDateTime time) { return date >= 0 ? date + time : date - time; }

void AddMonths(int& year, int& month, int months) {
  int m = month - 1 + months;
  year += m >= 0 ? m / 12 : -((11 - m) / 12);
  month = ((m % 12) + 12) % 12 + 1;
}
}  // namespace

TDateTime RoundDateToStep(int stepIndex, TDateTime value) {
  if (!(value > MinimumRoundingDate)) return value;
  int year, month, day;
  DecodeDate(value, year, month, day);
  if (year == 0) return value;  // beyond the calendar: nothing to round to
  switch (stepIndex) {
    case dtHalfMonth: day = day >= 15 ? 15 : 1; break;
    case dtOneMonth: case dtTwoMonths: case dtThreeMonths: case dtFourMonths: case dtSixMonths: day = 1; break;
    case dtOneYear: day = 1; month = 1; break;
    default: break;
  }
  return EncodeDate(year, month, day);
}

void StepDateTime(bool exact, bool forward, TDateTime& value, int stepIndex, double step) {
  if (!exact || stepIndex < dtHalfMonth || stepIndex > dtOneYear) {
    value += forward ? step : -step;
    return;
  }
  int year, month, day;
  DecodeDate(value, year, month, day);
  if (year == 0) {  // outside the calendar: plain arithmetic is all that is left
    value += forward ? step : -step;
    return;
  }
  // A step that would leave the calendar (before year 1, after 9999) moves
  // by the plain number of days instead.
  TDateTime date;
  if (stepIndex == dtOneYear) {
    year += forward ? 1 : -1;
    // From 29 February to a year without one: the last day of February.
    day = std::min(day, DaysOfMonth(year, month));
    if (!TryEncodeDate(year, month, day, date)) value += forward ? step : -step;
    else value = Combine(date, TimePart(value));
    return;
  }
  if (stepIndex == dtHalfMonth) {
    if (forward) {
      // The next half-month boundary: the 15th, or the 1st of the next month.
      if (day < 15) day = 15;
      else { day = 1; AddMonths(year, month, 1); }
    } else if (day > 15) {
      day = 15;
    } else if (day >= 2) {
      day = 1;
    } else {
      day = 15;
      AddMonths(year, month, -1);
    }
  } else {
    static constexpr int Months[] = {1, 2, 3, 4, 6};
    AddMonths(year, month, forward ? Months[stepIndex - dtOneMonth] : -Months[stepIndex - dtOneMonth]);
    day = 1;
  }
  if (!TryEncodeDate(year, month, day, date)) value += forward ? step : -step;
  else value = date;
}

// ---- Geometry ----------------------------------------------------------------

bool PointNearSegment(TPoint p, TPoint a, TPoint b, int tolerance) {
  if (p == a || p == b) return true;
  const double px = p.X, py = p.Y, ax = a.X, ay = a.Y, bx = b.X, by = b.Y;
  double dx, dy;
  if (a == b) {
    dx = px - ax;
    dy = py - ay;
  } else {
    const double ux = bx - ax, uy = by - ay;
    const double t = ((px - ax) * ux + (py - ay) * uy) / (ux * ux + uy * uy);
    if (t < 0) { dx = px - ax; dy = py - ay; }
    else if (t > 1) { dx = px - bx; dy = py - by; }
    else { dx = px - (ax + t * ux); dy = py - (ay + t * uy); }
  }
  return std::sqrt(dx * dx + dy * dy) <= tolerance + 1;
}

bool PointNearSegmentPoints(TPoint p, TPoint a, TPoint b, int tolerance) { return PointNearSegment(p, a, b, tolerance); }

bool PointNearSegmentCoords(TPoint p, int x0, int y0, int x1, int y1, int tolerance) {
  return PointNearSegment(p, Point(x0, y0), Point(x1, y1), tolerance);
}

bool PointOnSegment(TPoint p, TPoint a, TPoint b) { return PointNearSegment(p, a, b, 0); }

bool PointOnSegmentCoords(TPoint p, int x0, int y0, int x1, int y1) {
  return PointNearSegment(p, Point(x0, y0), Point(x1, y1), 0);
}

bool PointInsidePolygon(TPoint p, const TPoint* points, int high) {
  bool inside = false;
  if (high < 0 || !points) return false;
  for (int i = 0, j = high; i <= high; j = i++) {
    const TPoint& pi = points[i];
    const TPoint& pj = points[j];
    if (((p.Y >= pi.Y && p.Y < pj.Y) || (p.Y >= pj.Y && p.Y < pi.Y)) &&
        p.X < static_cast<double>(pj.X - pi.X) * (p.Y - pi.Y) / (pj.Y - pi.Y) + pi.X)
      inside = !inside;
  }
  return inside;
}

bool PointInsidePolygon(TPoint p, const std::vector<TPoint>& points) {
  return PointInsidePolygon(p, points.data(), static_cast<int>(points.size()) - 1);
}

bool PointInsideUprightTriangle(TPoint p, int x0, int x1, int y0, int y1) {
  const TPoint tri[3] = {{x0, y0}, {(x0 + x1) / 2, y1}, {x1, y0}};
  return PointInsidePolygon(p, tri, 2);
}

bool PointInsideSidewaysTriangle(TPoint p, int y0, int y1, int x0, int x1) {
  const TPoint tri[3] = {{x0, y0}, {x1, (y0 + y1) / 2}, {x0, y1}};
  return PointInsidePolygon(p, tri, 2);
}

bool PointInsideEllipse(TPoint p, int left, int top, int right, int bottom) {
  const int cx = (left + right) / 2, cy = (top + bottom) / 2;
  const double a2 = static_cast<double>(cx - left) * (cx - left);
  const double b2 = static_cast<double>(cy - top) * (cy - top);
  if (a2 == 0 || b2 == 0) return false;
  const double dx = p.X - cx, dy = p.Y - cy;
  return dx * dx / a2 + dy * dy / b2 <= 1;
}

bool PointInsideEllipseRect(TPoint p, const TRect& rect) {
  return PointInsideEllipse(p, rect.Left, rect.Top, rect.Right, rect.Bottom);
}

namespace {
// Which side of the line through a and b the point lies on: -1, 0 or 1.
int SideOf(TPoint a, TPoint b, TPoint p) {
  const long long cross = static_cast<long long>(b.X - a.X) * (p.Y - a.Y) - static_cast<long long>(b.Y - a.Y) * (p.X - a.X);
  return cross > 0 ? 1 : cross < 0 ? -1 : 0;
}
}  // namespace

bool IntersectLines(TPoint a0, TPoint a1, TPoint b0, TPoint b1, double& x, double& y) {
  const bool verticalA = a0.X == a1.X, verticalB = b0.X == b1.X;
  const double m1 = verticalA ? 0 : static_cast<double>(a1.Y - a0.Y) / (a1.X - a0.X);
  const double m2 = verticalB ? 0 : static_cast<double>(b1.Y - b0.Y) / (b1.X - b0.X);
  const double c1 = a1.Y - m1 * a1.X, c2 = b1.Y - m2 * b1.X;
  if (verticalA && verticalB) {
    x = b0.X;
    y = b0.Y;
  } else if (verticalA) {
    // A vertical line has no slope: the crossing is at its x on the other line.
    x = a0.X;
    y = m2 * x + c2;
  } else if (verticalB) {
    x = b0.X;
    y = m1 * x + c1;
  } else if (std::fabs(m1 - m2) <= 1e-15) {
    x = b0.X;
    y = b0.Y;
  } else {
    x = (c2 - c1) / (m1 - m2);
    y = m2 * x + c2;
  }
  return SideOf(a0, a1, b0) * SideOf(a0, a1, b1) < 0 && SideOf(b0, b1, a0) * SideOf(b0, b1, a1) < 0;
}

// ---- Drawing and controls -------------------------------------------------

void DrawCheckBoxAt(int x, int y, TCanvas* canvas, bool ticked, TColor /*color*/, bool checkBox) {
  if (!canvas) return;
  constexpr int Size = 13;
  TPen savedPen;
  savedPen.Assign(canvas->Pen());
  TBrush savedBrush;
  savedBrush.Assign(canvas->Brush());
  canvas->Pen()->SetStyle(psSolid);
  canvas->Pen()->SetWidth(1);
  canvas->Pen()->SetMode(pmCopy);
  if (checkBox) {
    // A sunken two-pixel frame around a white square.
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(clWindow);
    canvas->FillRect(Rect(x + 2, y + 2, x + Size - 2, y + Size - 2));
    auto line = [&](TColor c, int x0, int y0, int x1, int y1) {
      canvas->Pen()->SetColor(c);
      canvas->MoveTo(x0, y0);
      canvas->LineTo(x1, y1);
    };
    line(clBtnShadow, x, y + Size - 1, x, y);
    line(clBtnShadow, x, y, x + Size - 1, y);
    line(cl3DDkShadow, x + 1, y + Size - 2, x + 1, y + 1);
    line(cl3DDkShadow, x + 1, y + 1, x + Size - 2, y + 1);
    line(clBtnHighlight, x + Size - 1, y, x + Size - 1, y + Size - 1);
    line(clBtnHighlight, x + Size - 1, y + Size - 1, x - 1, y + Size - 1);
    line(cl3DLight, x + Size - 2, y + 1, x + Size - 2, y + Size - 2);
    line(cl3DLight, x + Size - 2, y + Size - 2, x, y + Size - 2);
    if (ticked) {
      // The tick: seven columns of three pixels, down to the 5th column, then up.
      canvas->Pen()->SetColor(clWindowText);
      for (int i = 0; i < 7; ++i) {
        const int top = y + (i <= 2 ? 5 + i : 7 - (i - 2));
        canvas->MoveTo(x + 3 + i, top);
        canvas->LineTo(x + 3 + i, top + 3);
      }
    }
  } else {
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(clWindow);
    canvas->Pen()->SetColor(clBtnShadow);
    canvas->Ellipse(x, y, x + Size - 1, y + Size - 1);
    if (ticked) {
      canvas->Brush()->SetColor(clWindowText);
      canvas->Pen()->SetColor(clWindowText);
      canvas->Ellipse(x + 4, y + 4, x + 8, y + 8);
    }
  }
  canvas->Pen()->Assign(&savedPen);
  canvas->Brush()->Assign(&savedBrush);
}

void EnableEditControls(bool enabled, const std::vector<TControl*>& controls) {
  for (TControl* c : controls)
    if (c) c->SetEnabled(enabled);
}

void RegisterBitmapResources(TBitmapResourceLoader loader) {
  if (loader) ResourceLoaders().push_back(std::move(loader));
}

bool LoadBitmapResource(TBitmap* bitmap, const std::string& name, const std::string& secondName) {
  if (!bitmap) return false;
  auto tryLoad = [bitmap](const TBitmapResourceLoader& loader, const std::string& resource) {
    if (resource.empty()) return false;
    try {
      return loader(resource, bitmap);
    } catch (const std::exception&) {
      return false;  // a resource that cannot be read does not end the search
    }
  };
  for (const TBitmapResourceLoader& loader : ResourceLoaders())
    if (tryLoad(loader, name) || tryLoad(loader, secondName)) return true;
  return false;
}

bool LoadClassBitmap(const TObject* object, TBitmap* bitmap) {
  if (!object) return false;
  std::string parentName;
  if (auto* persistent = dynamic_cast<const TPersistent*>(object))
    if (TClass parent = persistent->ClassType()->Parent()) parentName = parent->Name();
  return LoadBitmapResource(bitmap, object->ClassName(), parentName);
}

void InvokeFormHook(TControl* form, const std::vector<TControl*>& controls) {
  if (FormCustomizeHook) FormCustomizeHook(form, controls);
}

void InvokeControlHook(TControl* control) { InvokeFormHook(control, {}); }

// ---- Palette and sorting -----------------------------------------------------

TColor DefaultPaletteColor(int index) {
  if (ColorPalette.empty()) return DefaultColorPalette[((index % 20) + 20) % 20];
  const int n = static_cast<int>(ColorPalette.size());
  return ColorPalette[((index % n) + n) % n];
}

void RestoreDefaultPalette() { ColorPalette.assign(DefaultColorPalette.begin(), DefaultColorPalette.end()); }

void SetColorPalette(const TColor* colors, int high) {
  if (high <= 0 || !colors) {
    RestoreDefaultPalette();
    return;
  }
  ColorPalette.assign(colors, colors + high + 1);
}

void SetColorPalette(const std::vector<TColor>& colors) {
  SetColorPalette(colors.data(), static_cast<int>(colors.size()) - 1);
}

void SortWithCallbacks(int first, int last, const TSortCompare& compare, const TSortSwap& swap) {
  int i = first, j = last, pivot = (first + last) / 2;
  while (j > i) {
    while (compare(i, pivot) < 0) ++i;
    while (compare(pivot, j) < 0) --j;
    if (j > i) {
      swap(i, j);
      // The pivot item moved with the swap; follow it.
      if (pivot == i) pivot = j;
      else if (pivot == j) pivot = i;
    }
    if (j >= i) {
      ++i;
      --j;
    }
  }
  if (j > first) SortWithCallbacks(first, j, compare, swap);
  if (i < last) SortWithCallbacks(i, last, compare, swap);
}

// ---- Editor options (registry) -------------------------------------------------

bool ReadEditorOptionBool(const std::string& name, bool defaultValue) {
  try {
    TRegistry reg(KEY_READ);
    if (!reg.OpenKeyReadOnly(EditorOptionsKey) || !reg.ValueExists(name)) return defaultValue;
    return reg.ReadBool(name);
  } catch (const ERegistryException&) {
    return defaultValue;
  }
}

void WriteEditorOptionBool(const std::string& name, bool value) {
  try {
    TRegistry reg;
    if (reg.OpenKey(EditorOptionsKey, true)) reg.WriteBool(name, value);
  } catch (const ERegistryException&) {
    // An option that cannot be remembered is not worth an error.
  }
}

int ReadEditorOptionInt(const std::string& name, int defaultValue) {
  try {
    TRegistry reg(KEY_READ);
    if (!reg.OpenKeyReadOnly(EditorOptionsKey) || !reg.ValueExists(name)) return defaultValue;
    return reg.ReadInteger(name);
  } catch (const ERegistryException&) {
    return defaultValue;
  }
}

// ---- Bevels ------------------------------------------------------------------------

void PaintBevel(TGrafCanvas* canvas, TBevelCut kind, TRect& rect, int corner, int width) {
  if (!canvas || kind == bvNone) return;
  const TColor light = PanelBevelColors[0], dark = PanelBevelColors[1];
  const TColor topLeft = kind == bvLowered ? dark : light;
  const TColor bottomRight = kind == bvRaised ? dark : light;
  if (corner < 1) {
    canvas->DrawFrame3D(rect, topLeft, bottomRight, width);
    return;
  }
  canvas->CanvasPen()->SetColor(topLeft);
  canvas->RoundRect(rect.Left, rect.Top, rect.Right, rect.Bottom, corner, corner);
  InflateRect(rect, -width, -width);
}
