// Chart utility routines: date-time steps, text helpers, hit-testing
// geometry, palette, callback sort and editor options.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>

#include "chart/core/grafutils.h"
#include "platform/gfx/bitmap.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/formatsettings.h"
#include "platform/ui/classes.h"

namespace {

TDateTime DT(int y, int m, int d, int h = 0, int n = 0) { return EncodeDate(y, m, d) + EncodeTime(h, n, 0, 0); }

std::string Show(TDateTime t) { return FormatDateTime("yyyy-mm-dd hh:nn", t); }

// ---- Date-time steps ----------------------------------------------------------

TEST(DateTimeSteps, NearestIndexFindsOnlyStandardSteps) {
  struct Case { double step; int index; };
  const Case cases[] = {
      {1.0 / 24, dtOneHour}, {0.3, dtNone}, {365, dtOneYear}, {1.0 / 86400 / 1000000, dtOneMicroSecond},
      {15, dtHalfMonth}, {7, dtOneWeek}, {5.0 / 86400, dtFiveSeconds}, {364.9, dtNone}, {0, dtNone},
  };
  for (const Case& c : cases) EXPECT_EQ(NearestDateTimeStepIndex(c.step), c.index) << c.step;
}

TEST(DateTimeSteps, NextValueIsTheNextLargerStandardStep) {
  struct Case { double step; double next; };
  const Case cases[] = {
      {1.0 / 86400, 5.0 / 86400},  // one second -> five seconds
      {10, 15},                    // ten days -> half a month
      {400, 365},                  // beyond a year stays a year
      {182, 365},
      {1, 2},
      {0, 365},                    // below the smallest step
  };
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(NextDateTimeStepValue(c.step), c.next) << c.step;
}

TEST(DateTimeSteps, RoundDateDropsTimeAndRoundsToTheStepUnit) {
  struct Case { int index; TDateTime in; TDateTime out; };
  const Case cases[] = {
      {dtHalfMonth, DT(2007, 3, 20, 14), DT(2007, 3, 15)},
      {dtHalfMonth, DT(2007, 3, 14, 14), DT(2007, 3, 1)},
      {dtOneMonth, DT(2007, 3, 20, 14), DT(2007, 3, 1)},
      {dtSixMonths, DT(2007, 3, 20, 14), DT(2007, 3, 1)},
      {dtOneYear, DT(2007, 3, 20, 14), DT(2007, 1, 1)},
      {dtOneDay, DT(2007, 3, 20, 14), DT(2007, 3, 20)},
      {dtOneYear, DT(1899, 6, 1, 12), DT(1899, 6, 1, 12)},  // not after 1900-01-01: unchanged
      {dtOneYear, DT(1900, 1, 1, 0), DT(1900, 1, 1, 0)},
  };
  for (const Case& c : cases) EXPECT_EQ(Show(RoundDateToStep(c.index, c.in)), Show(c.out)) << Show(c.in);
}

TEST(DateTimeSteps, ExactStepsMoveByCalendarUnits) {
  struct Case { bool forward; int index; TDateTime in; TDateTime out; };
  const Case cases[] = {
      // half month backward: above 15 -> 15, 2..15 -> 1, the 1st -> 15th of the previous month
      {false, dtHalfMonth, DT(2007, 3, 1), DT(2007, 2, 15)},
      {false, dtHalfMonth, DT(2007, 3, 20, 9), DT(2007, 3, 15)},
      {false, dtHalfMonth, DT(2007, 3, 15), DT(2007, 3, 1)},
      {false, dtHalfMonth, DT(2007, 1, 1), DT(2006, 12, 15)},
      // half month forward: the next half-month boundary
      {true, dtHalfMonth, DT(2007, 3, 1), DT(2007, 3, 15)},
      {true, dtHalfMonth, DT(2007, 3, 15), DT(2007, 4, 1)},
      {true, dtHalfMonth, DT(2007, 12, 20), DT(2008, 1, 1)},
      // months: day 1, year wraps
      {false, dtOneMonth, DT(2007, 1, 1), DT(2006, 12, 1)},
      {false, dtThreeMonths, DT(2007, 2, 10, 8), DT(2006, 11, 1)},
      {true, dtSixMonths, DT(2007, 9, 20), DT(2008, 3, 1)},
      {true, dtFourMonths, DT(2007, 8, 31), DT(2007, 12, 1)},
      {true, dtTwoMonths, DT(2007, 11, 5), DT(2008, 1, 1)},
      // years keep month, day and time; 29 February lands on the 28th
      {true, dtOneYear, DT(2007, 3, 5, 12), DT(2008, 3, 5, 12)},
      {true, dtOneYear, DT(2008, 2, 29), DT(2009, 2, 28)},
      {false, dtOneYear, DT(2008, 2, 29, 6), DT(2007, 2, 28, 6)},
      {true, dtOneYear, DT(2011, 2, 28), DT(2012, 2, 28)},
      // before 1900 the fraction still counts forward from midnight: 06:00 stays 06:00
      {true, dtOneYear, EncodeDate(1899, 12, 29) - 0.25, DT(1900, 12, 29, 6)},
      {false, dtOneYear, EncodeDate(1899, 12, 29) - 0.25, EncodeDate(1898, 12, 29) - 0.25},
  };
  for (const Case& c : cases) {
    TDateTime t = c.in;
    StepDateTime(true, c.forward, t, c.index, DateTimeStep[c.index]);
    EXPECT_EQ(Show(t), Show(c.out)) << Show(c.in) << (c.forward ? " forward " : " backward ") << c.index;
  }
}

// Dates outside years 1..9999 have no calendar: they are not rounded, and a
// calendar step that would leave the calendar moves by its days instead.
TEST(DateTimeSteps, BeyondTheCalendarNothingIsRoundedAndStepsCountDays) {
  EXPECT_EQ(RoundDateToStep(dtOneMonth, 1e7), 1e7);
  EXPECT_EQ(RoundDateToStep(dtOneYear, DT(9999, 12, 31) + 1.5), DT(9999, 12, 31) + 1.5);
  struct Case { bool forward; int index; TDateTime in; double days; };
  const Case cases[] = {
      {true, dtOneMonth, DT(9999, 12, 20), 30},
      {true, dtOneYear, DT(9999, 3, 1, 12), 365},
      {false, dtOneYear, DT(1, 6, 1), -365},
      {false, dtHalfMonth, DT(1, 1, 1), -15},
      {true, dtOneMonth, 1e7, 30},
  };
  for (const Case& c : cases) {
    TDateTime t = c.in;
    EXPECT_NO_THROW(StepDateTime(true, c.forward, t, c.index, DateTimeStep[c.index])) << c.in;
    EXPECT_DOUBLE_EQ(t, c.in + c.days) << c.in;
  }
}

TEST(DateTimeSteps, PlainStepsAddTheStepInDays) {
  TDateTime t = DT(2007, 3, 20, 14);
  StepDateTime(false, true, t, dtOneMonth, 30);  // not exact: plain days
  EXPECT_EQ(Show(t), Show(DT(2007, 4, 19, 14)));
  StepDateTime(true, false, t, dtOneDay, 1);  // exact, but not a calendar step
  EXPECT_EQ(Show(t), Show(DT(2007, 4, 18, 14)));
  StepDateTime(true, true, t, dtNone, 0.5);
  EXPECT_EQ(Show(t), Show(DT(2007, 4, 19, 2)));
}

TEST(DateTimeSteps, DaysOfMonthCountsLeapYears) {
  EXPECT_EQ(DaysOfMonth(2008, 2), 29);
  EXPECT_EQ(DaysOfMonth(1900, 2), 28);
  EXPECT_EQ(DaysOfMonth(2000, 2), 29);
  EXPECT_EQ(DaysOfMonth(2007, 4), 30);
  EXPECT_EQ(DaysOfMonth(2007, 12), 31);
}

// ---- Text helpers ----------------------------------------------------------------

TEST(TextHelpers, SeparatedItems) {
  struct Case { std::string text; int index; std::string item; };
  const Case cases[] = {
      {"a;b;c", 1, "a"}, {"a;b;c", 2, "b"}, {"a;b;c", 3, "c"}, {"a;b;c", 5, "c"},
      {"a;b;c", 0, ""},  {"a;b;c", -1, ""}, {"", 1, ""},       {"a;;c", 2, ""},
      {"abc", 1, "abc"}, {"abc", 2, "abc"}, {";x", 1, ""},      {";x", 2, "x"},
  };
  for (const Case& c : cases) EXPECT_EQ(SeparatedItemAt(c.text, c.index), c.item) << c.text << " " << c.index;
  EXPECT_EQ(CountSeparatedItems(""), 0);
  EXPECT_EQ(CountSeparatedItems("a;b"), 2);
  EXPECT_EQ(CountSeparatedItems("abc"), 1);
  EXPECT_EQ(CountSeparatedItems(";;"), 3);
}

TEST(TextHelpers, SeparatorArgumentIsRestoredAfterTheCall) {
  EXPECT_EQ(SeparatedItemAt("one\rtwo\rthree", 2, "\r"), "two");
  EXPECT_EQ(CountSeparatedItems("one\rtwo\rthree", "\r"), 3);
  EXPECT_EQ(SeparatedItemAt("x--y--z", 3, "--"), "z");
  EXPECT_EQ(ItemSeparator, ";");
  EXPECT_EQ(SeparatedItemAt("a;b", 2), "b");
}

TEST(TextHelpers, SubstituteChar) {
  EXPECT_EQ(SubstituteChar("a,b,,c", ',', ';'), "a;b;;c");
  EXPECT_EQ(SubstituteChar("a,b,,c", ',', '\0'), "abc");
  EXPECT_EQ(SubstituteChar("", ',', ';'), "");
}

TEST(TextHelpers, NumberFormatsFollowTheProgramSeparators) {
  const TFormatSettings saved = FormatSettings;
  FormatSettings.ThousandSeparator = '.';
  FormatSettings.DecimalSeparator = ',';
  EXPECT_EQ(LocalizeNumberFormat("#,##0.###"), "#.##0,###");
  EXPECT_EQ(DelocalizeNumberFormat("1.234,5"), "1,234.5");
  FormatSettings.ThousandSeparator = ',';
  FormatSettings.DecimalSeparator = ',';  // both the same: nothing changes
  EXPECT_EQ(LocalizeNumberFormat("#,##0.###"), "#,##0.###");
  EXPECT_EQ(DelocalizeNumberFormat("1,5"), "1,5");
  FormatSettings = saved;
  EXPECT_EQ(LocalizeNumberFormat("#,##0.###"), "#,##0.###");
}

TEST(TextHelpers, DefaultDateTimeFormatDependsOnTheSpan) {
  EXPECT_EQ(DefaultDateTimeFormatFor(2.0), FormatSettings.ShortDateFormat);
  EXPECT_EQ(DefaultDateTimeFormatFor(1.0), FormatSettings.ShortTimeFormat);
  EXPECT_EQ(IntToText(-42), "-42");
}

TEST(TextHelpers, UniqueComponentName) {
  TComponent owner(nullptr);
  auto* s1 = new TComponent(&owner);
  s1->SetName("Series1");
  auto* s2 = new TComponent(&owner);
  s2->SetName("Series2");
  EXPECT_EQ(UniqueComponentName(&owner, "Series"), "Series3");
  EXPECT_EQ(UniqueComponentName(&owner, "Tool"), "Tool1");
  EXPECT_EQ(UniqueComponentName(nullptr, "Series"), "Series1");
  s1->SetName("Other");
  EXPECT_EQ(UniqueComponentName(&owner, "Series"), "Series1");
}

// ---- Geometry ----------------------------------------------------------------

TEST(Geometry, PointNearSegment) {
  struct Case { TPoint p, a, b; int tolerance; bool near; };
  const Case cases[] = {
      {{5, 1}, {0, 0}, {10, 0}, 0, true},    // exactly one pixel away
      {{5, 2}, {0, 0}, {10, 0}, 0, false},
      {{5, 2}, {0, 0}, {10, 0}, 1, true},
      {{12, 0}, {0, 0}, {10, 0}, 0, false},  // beyond the end: measured to the end
      {{11, 0}, {0, 0}, {10, 0}, 0, true},
      {{-1, -1}, {0, 0}, {10, 0}, 0, false},  // sqrt 2 from the start
      {{10, 0}, {0, 0}, {10, 0}, -5, true},  // an end always counts
      {{3, 3}, {3, 4}, {3, 4}, 0, true},     // a degenerate segment is a point
      {{3, 1}, {3, 4}, {3, 4}, 1, false},
      {{5, 6}, {0, 0}, {10, 10}, 0, true},   // diagonal, 0.7 pixels away
  };
  for (const Case& c : cases)
    EXPECT_EQ(PointNearSegment(c.p, c.a, c.b, c.tolerance), c.near)
        << c.p.X << "," << c.p.Y << " tol " << c.tolerance;
  EXPECT_TRUE(PointOnSegmentCoords(Point(5, 1), 0, 0, 10, 0));
  EXPECT_FALSE(PointNearSegmentCoords(Point(5, 3), 0, 0, 10, 0, 1));
}

TEST(Geometry, PointInsidePolygon) {
  const std::vector<TPoint> square = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  // A "U" shape: the notch between x 4..6 above y 5 is outside.
  const std::vector<TPoint> u = {{0, 0}, {4, 0}, {4, 5}, {6, 5}, {6, 0}, {10, 0}, {10, 10}, {0, 10}};
  struct Case { const std::vector<TPoint>* poly; TPoint p; bool inside; };
  const Case cases[] = {
      {&square, {5, 5}, true},   {&square, {0, 5}, true},    // left edge counts as inside
      {&square, {10, 5}, false},                              // right edge does not
      {&square, {5, 0}, true},   {&square, {5, 10}, false},  // top in, bottom out
      {&square, {-1, 5}, false}, {&square, {11, 5}, false},
      {&u, {5, 2}, false},       {&u, {5, 7}, true},          {&u, {2, 2}, true},
  };
  for (const Case& c : cases) EXPECT_EQ(PointInsidePolygon(c.p, *c.poly), c.inside) << c.p.X << "," << c.p.Y;
  EXPECT_FALSE(PointInsidePolygon(Point(0, 0), square.data(), -1));
}

TEST(Geometry, TrianglesAndEllipses) {
  // Upright: base (0,10)-(10,10), apex (5,0).
  EXPECT_TRUE(PointInsideUprightTriangle(Point(5, 5), 0, 10, 10, 0));
  EXPECT_FALSE(PointInsideUprightTriangle(Point(1, 2), 0, 10, 10, 0));
  // Sideways: base (0,0)-(0,10), apex (10,5).
  EXPECT_TRUE(PointInsideSidewaysTriangle(Point(5, 5), 0, 10, 0, 10));
  EXPECT_FALSE(PointInsideSidewaysTriangle(Point(8, 1), 0, 10, 0, 10));
  EXPECT_TRUE(PointInsideEllipse(Point(10, 5), 0, 0, 20, 10));
  EXPECT_TRUE(PointInsideEllipse(Point(20, 5), 0, 0, 20, 10));  // on the rim
  EXPECT_FALSE(PointInsideEllipse(Point(19, 1), 0, 0, 20, 10));
  EXPECT_FALSE(PointInsideEllipse(Point(0, 0), 0, 0, 1, 10));  // no width
  EXPECT_TRUE(PointInsideEllipseRect(Point(10, 9), Rect(0, 0, 20, 20)));
}

TEST(Geometry, IntersectLines) {
  struct Case { TPoint a0, a1, b0, b1; bool cross; double x, y; };
  const Case cases[] = {
      {{0, 0}, {10, 10}, {0, 10}, {10, 0}, true, 5, 5},
      {{0, 0}, {4, 4}, {0, 10}, {10, 0}, false, 5, 5},    // lines meet beyond the first segment
      {{0, 0}, {5, 5}, {0, 10}, {10, 0}, false, 5, 5},    // touching at an end: not a crossing
      {{0, 0}, {10, 0}, {0, 5}, {10, 5}, false, 0, 5},    // parallel: the second segment's first point
      {{5, 0}, {5, 10}, {0, 0}, {10, 10}, true, 5, 5},    // a vertical first segment
      {{0, 2}, {10, 2}, {3, -5}, {3, 5}, true, 3, 2},     // a vertical second segment
      {{1, 0}, {1, 9}, {4, 0}, {4, 9}, false, 4, 0},      // both vertical
      {{0, 0}, {10, 5}, {10, 0}, {0, 5}, true, 5, 2.5},
  };
  for (const Case& c : cases) {
    double x = -1, y = -1;
    EXPECT_EQ(IntersectLines(c.a0, c.a1, c.b0, c.b1, x, y), c.cross);
    EXPECT_DOUBLE_EQ(x, c.x);
    EXPECT_DOUBLE_EQ(y, c.y);
  }
}

// ---- Palette -------------------------------------------------------------------

TEST(Palette, DefaultColorsWrapAndCanBeReplaced) {
  RestoreDefaultPalette();
  EXPECT_EQ(DefaultPaletteColor(0), clRed);
  EXPECT_EQ(DefaultPaletteColor(1), clGreen);
  EXPECT_EQ(DefaultPaletteColor(19), static_cast<TColor>(0xA4A0A0));
  EXPECT_EQ(DefaultPaletteColor(20), clRed);
  EXPECT_EQ(DefaultPaletteColor(42), clYellow);
  const std::vector<TColor> mine = {clBlack, clWhite, clBlue};
  SetColorPalette(mine);
  EXPECT_EQ(DefaultPaletteColor(4), clWhite);
  const TColor one = clLime;
  SetColorPalette(&one, 0);  // a high index of 0 restores the default palette
  EXPECT_EQ(ColorPalette.size(), 20u);
  EXPECT_EQ(DefaultPaletteColor(2), clYellow);
}

// ---- Sorting through callbacks ----------------------------------------------

TEST(SortWithCallbacks, SortsAnyRangeWithoutTouchingTheData) {
  std::mt19937 random(7);
  for (int n : {1, 2, 3, 5, 17, 100, 257}) {
    for (int spread : {3, 1000}) {
      std::vector<int> data(n);
      for (int& v : data) v = static_cast<int>(random() % spread);
      std::vector<int> expected = data;
      std::sort(expected.begin(), expected.end());
      int swaps = 0;
      SortWithCallbacks(
          0, n - 1, [&](int a, int b) { return data[a] - data[b]; },
          [&](int a, int b) { std::swap(data[a], data[b]); ++swaps; });
      EXPECT_EQ(data, expected) << n << " " << spread;
    }
  }
  // A sub-range leaves the rest alone.
  std::vector<int> data = {9, 5, 4, 3, 2, 0};
  SortWithCallbacks(1, 4, [&](int a, int b) { return data[a] - data[b]; }, [&](int a, int b) { std::swap(data[a], data[b]); });
  EXPECT_EQ(data, (std::vector<int>{9, 2, 3, 4, 5, 0}));
}

// ---- Check boxes -------------------------------------------------------------------

TEST(CheckBoxes, TickedOrNotInThirteenPixels) {
  struct Case { bool checkBox, ticked; TColor centre; };
  const Case cases[] = {
      {true, false, static_cast<TColor>(ColorToRGB(clWindow))},
      {true, true, static_cast<TColor>(ColorToRGB(clWindowText))},
      {false, false, static_cast<TColor>(ColorToRGB(clWindow))},
      {false, true, static_cast<TColor>(ColorToRGB(clWindowText))},
  };
  for (const Case& c : cases) {
    TBitmap b(30, 30);
    TCanvas* canvas = b.Canvas();
    canvas->Pen()->SetColor(clRed);
    DrawCheckBoxAt(5, 5, canvas, c.ticked, clNone, c.checkBox);
    EXPECT_EQ(static_cast<TColor>(ColorToRGB(canvas->Pixels(5 + 6, 5 + 6))), c.centre) << c.checkBox << c.ticked;
    EXPECT_EQ(static_cast<TColor>(ColorToRGB(canvas->Pixels(5 + 13, 5 + 6))), clWhite);  // nothing beyond 13 pixels
    EXPECT_EQ(canvas->Pen()->Color(), clRed);  // the canvas's pen comes back
  }
}

// ---- Editor options -----------------------------------------------------------

TEST(EditorOptions, MissingValuesGiveTheDefaultAndWrittenOnesReadBack) {
  EXPECT_TRUE(ReadEditorOptionBool("NeverWritten", true));
  EXPECT_FALSE(ReadEditorOptionBool("NeverWritten", false));
  EXPECT_EQ(ReadEditorOptionInt("NeverWrittenInt", 17), 17);
  WriteEditorOptionBool("ShowGallery3D", false);
  EXPECT_FALSE(ReadEditorOptionBool("ShowGallery3D", true));
  WriteEditorOptionBool("ShowGallery3D", true);
  EXPECT_TRUE(ReadEditorOptionBool("ShowGallery3D", false));
  EXPECT_EQ(ReadEditorOptionInt("ShowGallery3D", 5), 1);  // Booleans are stored as integers
}

// ---- Bitmap resources -----------------------------------------------------------

TEST(BitmapResources, ClassNameThenParentClassName) {
  std::vector<std::string> asked;
  RegisterBitmapResources([&](const std::string& name, TBitmap* bitmap) {
    asked.push_back(name);
    if (name == "Broken") throw Exception("cannot read");
    if (name != "TComponent") return false;
    bitmap->SetSize(4, 3);
    return true;
  });
  TComponent component(nullptr);
  TBitmap bitmap;
  EXPECT_TRUE(LoadClassBitmap(&component, &bitmap));  // TComponent itself
  EXPECT_EQ(bitmap.Width(), 4);
  asked.clear();
  TCollection collection(nullptr);  // TCollection's parent is TPersistent: no resource
  EXPECT_FALSE(LoadClassBitmap(&collection, &bitmap));
  EXPECT_EQ(asked, (std::vector<std::string>{"TCollection", "TPersistent"}));
  EXPECT_TRUE(LoadBitmapResource(&bitmap, "Broken", "TComponent"));  // an error moves on to the next name
}

}  // namespace
