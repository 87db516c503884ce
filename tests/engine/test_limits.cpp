// The engine's limits: hostile but readable input files end in an error
// number (or a listing that says it was cut) at once, and inputs just inside
// a limit still run.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "core/fourier.h"
#include "core/limits.h"
#include "core/report.h"
#include "enginetest.h"
#include "platform/rtl/fileutils.h"
#include "zudezez_api.h"

namespace {

// The example's text with exact substrings replaced (each must be there).
std::string Spoiled(const std::string& example, const std::vector<std::pair<std::string, std::string>>& edits) {
  std::string text = TTempDir::Read(ExampleFile(example));
  for (const auto& [from, to] : edits) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
  }
  return text;
}

const std::string CubicCell = "  3.8000  3.8000  3.8000 90.0000 90.0000 90.0000";

// A run of the example with its synthetic data and the given input text.
struct TRun {
  TTempDir Dir;
  std::string Data;
  TRun() {
    TRietveld model;
    EXPECT_TRUE(ReadModel(model, ExampleFile("xray-cw.inp")));
    Data = WriteSyntheticData(model, Dir, 5);
  }
  int Start(TZdEngine& engine, const std::string& text) {
    const std::string input = Dir.Write("hostile.inp", text);
    return engine.Start(1, input, Data, Dir.File("w.out"), Dir.File("w"));
  }
};

// V / (a b c) of a cell with three equal angles.
double Shape(double angle) {
  const double c = std::cos(angle * DegToRad);
  return std::sqrt(1 - 3 * c * c + 2 * c * c * c);
}

// The equal angle (below 60 degrees) at which V / (a b c) is `shape`.
double AngleOfShape(double shape) {
  double lo = 0.01, hi = 60;
  for (int i = 0; i < 200; ++i) {
    const double mid = 0.5 * (lo + hi);
    (Shape(mid) < shape ? lo : hi) = mid;
  }
  return hi;
}

// The reflections as the plain walk over every (h, k, l) finds them.
std::vector<TReflection> Reference(const TCell& cell, const TSpaceGroup& group, double dMin, double dMax) {
  std::vector<TReflection> list;
  const int m[3] = {int(cell.A() / dMin), int(cell.B() / dMin), int(cell.C() / dMin)};
  for (int h = -m[0]; h <= m[0]; ++h)
    for (int k = -m[1]; k <= m[1]; ++k)
      for (int l = -m[2]; l <= m[2]; ++l) {
        const TMiller hkl{h, k, l};
        const double d = cell.DSpacing(hkl);
        if ((h == 0 && k == 0 && l == 0) || d < dMin * (1 - 1e-12) || d > dMax * (1 + 1e-12)) continue;
        const std::vector<TMiller> eq = group.EquivalentIndices(hkl);
        if (eq.back() != hkl || group.IsAbsent(hkl)) continue;
        TReflection r;
        r.Hkl = hkl;
        r.Multiplicity = static_cast<int>(eq.size());
        r.D = d;
        list.push_back(r);
      }
  std::stable_sort(list.begin(), list.end(), [](const TReflection& a, const TReflection& b) { return a.D > b.D; });
  return list;
}

}  // namespace

TEST(Limits, ModelChecksAtAndJustPastEachLimit) {
  struct TCase {
    const char* What;
    void (*Change)(TRietveld&);
    int Code;
  };
  const double flat = AngleOfShape(MinCellShape);
  static double justFlatEnough, justTooFlat;
  justFlatEnough = flat * 1.001;
  justTooFlat = flat * 0.999;
  const TCase cases[] = {
      {"example", [](TRietveld&) {}, zeNone},
      {"longest a", [](TRietveld& m) { m.Phase(1)->A = float(MaxCellLength); }, zeNone},
      {"a past the longest", [](TRietveld& m) { m.Phase(1)->A = std::nextafter(float(MaxCellLength), 2e3f); }, zeCellRange},
      {"a = 1e38", [](TRietveld& m) { m.Phase(1)->A = 1e38f; }, zeCellRange},
      {"shortest c", [](TRietveld& m) { m.Phase(1)->C = float(MinCellLength); }, zeNone},
      {"c below the shortest", [](TRietveld& m) { m.Phase(1)->C = std::nextafter(float(MinCellLength), 0.0f); }, zeCellRange},
      {"zero b", [](TRietveld& m) { m.Phase(1)->B = 0; }, zeCellRange},
      {"smallest gamma", [](TRietveld& m) { m.Phase(1)->Gamma = float(MinCellAngle); }, zeNone},
      {"gamma below the smallest", [](TRietveld& m) { m.Phase(1)->Gamma = std::nextafter(float(MinCellAngle), 0.0f); }, zeCellRange},
      {"largest beta", [](TRietveld& m) { m.Phase(1)->Beta = float(MaxCellAngle); }, zeNone},
      {"beta past the largest", [](TRietveld& m) { m.Phase(1)->Beta = std::nextafter(float(MaxCellAngle), 180.0f); }, zeCellRange},
      {"flat, but not too flat", [](TRietveld& m) { m.Phase(1)->Alpha = m.Phase(1)->Beta = m.Phase(1)->Gamma = float(justFlatEnough); }, zeNone},
      {"too flat", [](TRietveld& m) { m.Phase(1)->Alpha = m.Phase(1)->Beta = m.Phase(1)->Gamma = float(justTooFlat); }, zeCellRange},
      {"flat with angles in range", [](TRietveld& m) { m.Phase(1)->Alpha = m.Phase(1)->Beta = 60, m.Phase(1)->Gamma = 120; }, zeCellRange},
      {"largest B", [](TRietveld& m) { m.Phase(1)->Atom(2)->B = float(MaxDisplacement); }, zeNone},
      {"B past the largest", [](TRietveld& m) { m.Phase(1)->Atom(2)->B = std::nextafter(float(MaxDisplacement), 2e3f); }, zeValueRange},
      {"B = 1e30", [](TRietveld& m) { m.Phase(1)->Atom(1)->B = 1e30f; }, zeValueRange},
      {"B13 = -1e30", [](TRietveld& m) { m.Phase(1)->Atom(3)->B13 = -1e30f; }, zeValueRange},
      {"overall B", [](TRietveld& m) { m.Phase(1)->IsoThermal = 1e30f; }, zeValueRange},
      {"coordinate", [](TRietveld& m) { m.Phase(1)->Atom(1)->X = 1e30f; }, zeValueRange},
      {"not a number", [](TRietveld& m) { m.Phase(1)->Atom(1)->N = std::nanf(""); }, zeValueRange},
      {"infinite zero", [](TRietveld& m) { m.Histogram(1)->Zero = INFINITY; }, zeValueRange},
      {"widest reach", [](TRietveld& m) { m.Histogram(1)->BaseWidth = float(MaxBaseWidth); }, zeNone},
      {"reach past the widest", [](TRietveld& m) { m.Histogram(1)->BaseWidth = std::nextafter(float(MaxBaseWidth), 1e3f); }, zeValueRange},
      {"infinite sample value", [](TRietveld& m) { m.FindSample(1, 1)->W = -INFINITY; }, zeValueRange},
      {"most points", [](TRietveld& m) {
         m.Histogram(1)->Job = jobXrayCalc;
         m.Histogram(1)->Start = 0;
         m.Histogram(1)->Step = 1;
         m.Histogram(1)->Stop = float(MaxPointsPerHistogram - 1);
       }, zeNone},
      {"one point too many", [](TRietveld& m) {
         m.Histogram(1)->Job = jobXrayCalc;
         m.Histogram(1)->Start = 0;
         m.Histogram(1)->Step = 1;
         m.Histogram(1)->Stop = float(MaxPointsPerHistogram);
       }, zeTooManyPoints},
      {"1e30 points", [](TRietveld& m) {
         m.Histogram(1)->Job = jobXrayCalc;
         m.Histogram(1)->Step = 1e-30f;
       }, zeTooManyPoints},
      {"most points in all", [](TRietveld& m) {
         for (int h = 1; h <= int(MaxPointsTotal / MaxPointsPerHistogram); ++h) {
           THistogram* hist = h == 1 ? m.Histogram(1) : m.NewHistogram();
           hist->Job = jobXrayCalc;
           hist->Start = 0;
           hist->Step = 1;
           hist->Stop = float(MaxPointsPerHistogram - 1);
         }
       }, zeNone},
      {"a histogram too many", [](TRietveld& m) {
         for (int h = 1; h <= int(MaxPointsTotal / MaxPointsPerHistogram) + 1; ++h) {
           THistogram* hist = h == 1 ? m.Histogram(1) : m.NewHistogram();
           hist->Job = jobXrayCalc;
           hist->Start = 0;
           hist->Step = 1;
           hist->Stop = float(MaxPointsPerHistogram - 1);
         }
       }, zeTooManyPoints},
  };
  for (const TCase& c : cases) {
    TRietveld model;
    ASSERT_TRUE(ReadModel(model, ExampleFile("xray-cw.inp")));
    c.Change(model);
    std::string problem;
    EXPECT_EQ(CheckModelLimits(model, problem), c.Code) << c.What << ": " << problem;
    EXPECT_EQ(problem.empty(), c.Code == zeNone) << c.What;
  }
  EXPECT_EQ(CalculationPoints(0, 1, double(MaxPointsPerHistogram - 1)), MaxPointsPerHistogram);
  EXPECT_EQ(CalculationPoints(0, 1, double(MaxPointsPerHistogram)), 0u);
  EXPECT_EQ(CalculationPoints(0, 1e-300, 1e300), 0u);
  EXPECT_EQ(CalculationPoints(0, 0, 1), 0u);
  EXPECT_EQ(CalculationPoints(5, 1, 5), 0u);
}

// The walk starts at h = 0 and stops early on a larger equivalent; it must
// find exactly what the plain walk over every index finds, in the same order.
TEST(Limits, BoundedReflectionSearchFindsWhatThePlainWalkFinds) {
  struct TCase {
    const char* Symbol;
    TCell Cell;
  };
  const TCase cases[] = {
      {"P 1", TCell(5.1, 6.2, 7.3, 81, 97, 104)},
      {"P -1", TCell(5.1, 6.2, 7.3, 81, 97, 104)},
      {"P 1 21/C 1", TCell(5.1, 6.2, 7.3, 90, 107, 90)},
      {"F D D D", TCell(5.1, 6.2, 7.3, 90, 90, 90)},
      {"I 41/A M D", TCell(5.3, 5.3, 9.1, 90, 90, 90)},
      {"P 63/M M C", TCell(4.1, 4.1, 6.7, 90, 90, 120)},
      {"R -3 C", TCell(4.76, 4.76, 12.99, 90, 90, 120)},
      {"R -3 M", TCell(5.2, 5.2, 5.2, 55, 55, 55)},
      {"F M -3 M", TCell(5.64, 5.64, 5.64, 90, 90, 90)},
      {"P 21 3", TCell(6.1, 6.1, 6.1, 90, 90, 90)},
  };
  for (const TCase& c : cases) {
    TSpaceGroup group;
    ASSERT_TRUE(group.Assign(c.Symbol, c.Cell)) << c.Symbol;
    const std::vector<TReflection> expected = Reference(c.Cell, group, 0.9, 12);
    std::vector<TReflection> list;
    ASSERT_TRUE(GenerateReflections(c.Cell, group, 0.9, 12, list)) << c.Symbol;
    ASSERT_EQ(list.size(), expected.size()) << c.Symbol;
    for (std::size_t i = 0; i < list.size(); ++i) {
      EXPECT_EQ(list[i].Hkl, expected[i].Hkl) << c.Symbol << " " << i;
      EXPECT_EQ(list[i].Multiplicity, expected[i].Multiplicity) << c.Symbol << " " << i;
    }
    // The estimate made before the walk is of the real count's size and
    // never far above it, so it refuses nothing the count would pass
    // (special reflections, with fewer equivalents, keep it below; their
    // share falls as the count grows).
    std::vector<TReflection> many;
    ASSERT_TRUE(GenerateReflections(c.Cell, group, 0.3, 12, many)) << c.Symbol;
    const double ratio = EstimatedReflections(c.Cell, group, 0.3, 12) / double(many.size());
    EXPECT_GT(ratio, 0.6) << c.Symbol << " " << many.size();
    EXPECT_LT(ratio, 1.1) << c.Symbol << " " << many.size();
    // The limits hold exactly: as many as found pass, one fewer refuses.
    std::vector<TReflection> again;
    EXPECT_TRUE(GenerateReflections(c.Cell, group, 0.9, 12, again, list.size(), 1e9)) << c.Symbol;
    EXPECT_EQ(again.size(), list.size());
    EXPECT_FALSE(GenerateReflections(c.Cell, group, 0.9, 12, again, list.size() - 1, 1e9)) << c.Symbol;
    EXPECT_TRUE(again.empty());
    const double walk = IndexWalk(c.Cell, 0.9);
    EXPECT_TRUE(GenerateReflections(c.Cell, group, 0.9, 12, again, 1000000, walk)) << c.Symbol;
    EXPECT_FALSE(GenerateReflections(c.Cell, group, 0.9, 12, again, 1000000, walk - 1)) << c.Symbol;
  }
}

// Cells that once kept the search running for minutes, or overflowed an int.
TEST(Limits, HugeCellsAreRefusedBeforeTheSearch) {
  struct TCase {
    const char* What;
    TCell Cell;
    double DMin;
  };
  const TCase cases[] = {
      {"380 Angstrom cubic", TCell(380, 380, 380, 90, 90, 90), 0.77},
      {"a stretched axis", TCell(589400, 3.8, 3.8, 90, 90, 90), 0.77},
      {"a = 1e38", TCell(1e38, 3.8, 3.8, 90, 90, 90), 0.77},
      {"a tiny dMin", TCell(3.8, 3.8, 3.8, 90, 90, 90), 1e-30},
  };
  for (const TCase& c : cases) {
    TSpaceGroup group;
    ASSERT_TRUE(group.Assign("P M -3 M", c.Cell));
    std::vector<TReflection> list;
    EXPECT_FALSE(GenerateReflections(c.Cell, group, c.DMin, 200, list)) << c.What;
    EXPECT_TRUE(list.empty());
  }
}

// Hostile input files built here, through the engine's start: each ends in
// its error number, at once.
TEST(Limits, HostileInputFilesEndInTheirErrorNumbers) {
  struct TCase {
    const char* What;
    std::vector<std::pair<std::string, std::string>> Edits;
    int Code;
  };
  const TCase cases[] = {
      {"380 Angstrom cubic cell", {{CubicCell, "380.0000380.0000380.0000 90.0000 90.0000 90.0000"}}, zeTooManyReflections},
      {"100 Angstrom axis", {{CubicCell, "100.0000  3.8000  3.8000 90.0000 90.0000 90.0000"}}, zeNone},
      {"a = 1e38", {{CubicCell, " 1.0E38   3.8000  3.8000 90.0000 90.0000 90.0000"}}, zeCellRange},
      {"nearly flat cell", {{CubicCell, "  3.8000  3.8000  3.8000 60.0000 60.0000119.9990"}}, zeCellRange},
      {"B = 1e30", {{" 0.60000 ", " 1.0E+30 "}}, zeValueRange},
      {"1e8 calculated points", {{"   0   4   1", "   2   4   1"}, {"  10.000   0.020  90.000", "  10.000  1.0E-6  90.000"}},
       zeTooManyPoints},
      {"1e6 calculated points", {{"   0   4   1", "   2   4   1"}, {"  10.000   0.020  90.000", "   0.000   0.001 999.999"}},
       zeNone},
      {"1e6 + 1 calculated points", {{"   0   4   1", "   2   4   1"}, {"  10.000   0.020  90.000", "   0.000   0.001 1000.00"}},
       zeTooManyPoints},
      // Every peak as wide as the whole pattern.
      {"U = 1e30 on 1e6 points", {{"   0   4   1", "   2   4   1"}, {"  10.000   0.020  90.000", "   0.000   0.001 999.999"},
                                  {CubicCell, " 20.0000 20.0000 20.0000 90.0000 90.0000 90.0000"},
                                  {" 0.01000-0.00500", " 1.0E+30-0.00500"}},
       zeExcessiveOverlap},
  };
  TRun run;
  for (const TCase& c : cases) {
    TZdEngine engine;
    EXPECT_EQ(run.Start(engine, Spoiled("xray-cw.inp", c.Edits)), c.Code) << c.What << ": " << engine.Problem();
    EXPECT_EQ(engine.Started(), c.Code == zeNone) << c.What;
  }
}

// Rmax of the control line sets how far the bond search reaches: a huge one
// is cut to the limit and said so in the files and the listing.
TEST(Limits, BondListingsAreBoundedAndSaySo) {
  struct TCase {
    const char* What;
    std::string Rmax;
    bool Cut;
  };
  const TCase cases[] = {
      {"default", "   0.000", false},
      {"at the limit", "  10.000", false},
      {"just past the limit", "  10.001", true},
      {"1e6 Angstrom", " 1.0E+06", true},
  };
  TRun run;
  for (const TCase& c : cases) {
    TZdEngine engine;
    ASSERT_EQ(run.Start(engine, Spoiled("xray-cw.inp", {{"0011100002020000000    0.000   0.000",
                                                          "0011100002020000000    0.000" + c.Rmax}})),
              zeNone)
        << c.What;
    const std::string distances = TTempDir::Read(run.Dir.File("w.dst"));
    const std::string angles = TTempDir::Read(run.Dir.File("w.ang"));
    const std::string listing = TTempDir::Read(run.Dir.File("w.out"));
    EXPECT_EQ(distances.find("Listing cut: distances searched up to 10 Angstrom only") != std::string::npos, c.Cut)
        << c.What;
    if (c.Cut) {
      EXPECT_NE(angles.find("Listing cut:"), std::string::npos) << c.What;
    }
    EXPECT_EQ(listing.find("Distance listing cut:") != std::string::npos, c.Cut) << c.What;
    EXPECT_NE(distances.find("1.90"), std::string::npos) << c.What;  // Ti-O = a / 2 is always there
  }
}

TEST(Limits, BondListingLinesAndTrialsAtAndPastTheirLimits) {
  TRun run;
  TZdEngine engine;
  ASSERT_EQ(run.Start(engine, TTempDir::Read(ExampleFile("xray-cw.inp"))), zeNone);
  auto lines = [](const std::string& text) {
    std::size_t n = 0;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) n += line.rfind("    ", 0) == 0 || line.rfind("  ", 0) == 0;
    return n;
  };
  // The whole listings at 6 Angstrom, then limited to exactly their size and one line fewer.
  std::ostringstream whole, wholeAngles;
  ASSERT_EQ(WriteDistances(whole, engine.Pattern(), 0, 6), "");
  ASSERT_EQ(WriteAngles(wholeAngles, engine.Pattern(), 0, 6), "");
  const std::size_t distanceLines = lines(whole.str()) - 3;  // less the three atom headings
  const std::size_t angleLines = lines(wholeAngles.str());
  ASSERT_GT(distanceLines, 50u);
  ASSERT_GT(angleLines, 500u);
  TBondLimits limits;
  limits.Lines = distanceLines;
  std::ostringstream exact, shorter;
  EXPECT_EQ(WriteDistances(exact, engine.Pattern(), 0, 6, limits), "");
  EXPECT_EQ(exact.str(), whole.str());
  limits.Lines = distanceLines - 1;
  EXPECT_EQ(WriteDistances(shorter, engine.Pattern(), 0, 6, limits), "more than " + std::to_string(distanceLines - 1) + " distances");
  EXPECT_NE(shorter.str().find("Listing cut: more than"), std::string::npos);
  limits.Lines = angleLines;
  std::ostringstream anglesExact, anglesShorter;
  EXPECT_EQ(WriteAngles(anglesExact, engine.Pattern(), 0, 6, limits), "");
  limits.Lines = angleLines - 1;
  EXPECT_EQ(WriteAngles(anglesShorter, engine.Pattern(), 0, 6, limits), "more than " + std::to_string(angleLines - 1) + " angles");
  // Few trials allowed: the listing stops and says why.
  limits = TBondLimits();
  limits.Trials = 100;
  std::ostringstream few;
  EXPECT_NE(WriteDistances(few, engine.Pattern(), 0, 6, limits).find("would try more than 100 positions"),
            std::string::npos);
  // The full limits on a tiny cell (many translations within 10 Angstrom) stop at a limit and say which.
  engine.Model().Phase(1)->A = engine.Model().Phase(1)->B = engine.Model().Phase(1)->C = 0.2f;
  std::ostringstream tiny;
  EXPECT_NE(WriteDistances(tiny, engine.Pattern(), 0, 10), "");
}

// Values set after the start (setpar) never reach an int unchecked.
TEST(Limits, RadialDistributionAndMapsStayBounded) {
  TRun run;
  TZdEngine engine;
  ASSERT_EQ(run.Start(engine, TTempDir::Read(ExampleFile("xray-cw.inp"))), zeNone);
  std::vector<float> values(ZD_RDF_POINTS);
  const int points = ZD_RDF_POINTS + 1;
  std::vector<float> curve(points);
  EXPECT_EQ(ComputeRdf(engine.Pattern(), 1, 1, std::nextafter(MaxRdfRange, 2e3), points, curve.data()), 1);
  // 1000 Angstrom of a perovskite cell are too many pairs.
  EXPECT_EQ(ComputeRdf(engine.Pattern(), 1, 1, MaxRdfRange, points, curve.data()), 3);
  EXPECT_EQ(engine.Rdf(values.data(), 10, 1, 1), 0);
  struct TCase {
    const char* What;
    int P, A, T;
    float Value;
    int Status;  // of the radial distribution
  };
  const TCase cases[] = {
      {"B = 1e30", 1, 1, 5, 1e30f, 3},  // every pair spreads over the whole curve
      {"B = 1000", 1, 1, 5, 1000, 0},
      {"a = 0.1", 1, 0, 6, 0.1f, 3},
  };
  for (const TCase& c : cases) {
    TZdEngine changed;
    ASSERT_EQ(run.Start(changed, TTempDir::Read(ExampleFile("xray-cw.inp"))), zeNone);
    ASSERT_EQ(changed.SetParameter(0, c.P, c.A, c.T, c.Value), 0) << c.What;
    const int status = changed.Rdf(values.data(), 10, 1, 1);
    EXPECT_TRUE(status == 0 || status == c.Status) << c.What << " " << status;
    if (status == 0) {
      for (float v : values) ASSERT_TRUE(std::isfinite(v)) << c.What;
    }
    std::vector<float> map(ZD_FOURIER_GRID * ZD_FOURIER_GRID * ZD_FOURIER_GRID);
    float lo = 0, hi = 0;
    const int mapStatus = changed.Fourier(1, 1, 3, mkFourierCalc, lo, hi, map.data());
    EXPECT_TRUE(mapStatus == 0 || mapStatus == 3) << c.What;
  }
}

// Close reports files it could not write, still writes the rest, and keeps
// what stood in the way.
TEST(Limits, CloseSaysWhenItCouldNotWrite) {
  struct TCase {
    const char* What;
    const char* Blocked;  // replaced by a folder after the start
    int Code;
  };
  const TCase cases[] = {
      {"nothing blocked", nullptr, zeNone},
      {"listing", ".out", zeCloseFiles},
      {"distances", ".dst", zeCloseFiles},
      {"angles", ".ang", zeCloseFiles},
      {"updated model", ".upd", zeOutputFile},
  };
  for (const TCase& c : cases) {
    TRun run;
    TZdEngine engine;
    ASSERT_EQ(run.Start(engine, TTempDir::Read(ExampleFile("xray-cw.inp"))), zeNone) << c.What;
    int converged = 0;
    ASSERT_EQ(engine.Iterate(1, 1, converged), zeNone) << c.What;
    std::string blocked;
    if (c.Blocked != nullptr) {
      blocked = run.Dir.File(std::string("w") + c.Blocked);
      std::remove(blocked.c_str());
      ASSERT_EQ(mkdir(blocked.c_str(), 0700), 0) << c.What;
      run.Dir.Write(std::string("w") + c.Blocked + "/kept", "the user's");
    }
    EXPECT_EQ(engine.Close(true), c.Code) << c.What;
    if (!blocked.empty()) {
      EXPECT_EQ(TTempDir::Read(blocked + "/kept"), "the user's") << c.What;
    }
    if (c.Code != zeOutputFile) {
      TRietveld back;
      EXPECT_TRUE(ReadModel(back, run.Dir.File("w.upd"))) << c.What;  // the rest is written
    }
    for (const char* ext : {".dst", ".ang"})
      if (c.Blocked == nullptr || std::string(c.Blocked) != ext) {
        EXPECT_NE(TTempDir::Read(run.Dir.File(std::string("w") + ext)).find("Phase 1"), std::string::npos) << c.What;
      }
  }
}

TEST(Limits, CloseSaysWhenTheLeBailFileCouldNotBeWritten) {
  TTempDir dir;
  TRietveld model;
  ASSERT_TRUE(ReadModel(model, ExampleFile("corundum.inp")));
  const std::string data = WriteSyntheticData(model, dir, 31);
  for (int a = 1; a <= 2; ++a)
    for (int t : {1, 3, 4}) model.Parameters.SetRefined(0, 1, a, t, false);
  model.Parameters.SetRefined(0, 1, 0, 1, false);
  model.Phase(1)->CalcMethod = 1;
  TZdEngine engine;
  ASSERT_EQ(StartEngine(engine, model, dir, data), zeNone);
  int converged = 0;
  ASSERT_EQ(engine.Iterate(1, 1, converged), zeNone);
  const std::string blocked = dir.File("work.lbl");
  ASSERT_EQ(mkdir(blocked.c_str(), 0700), 0);
  dir.Write("work.lbl/kept", "the user's");
  EXPECT_EQ(engine.Close(false), zeCloseFiles);
  EXPECT_EQ(TTempDir::Read(blocked + "/kept"), "the user's");
  EXPECT_NE(TTempDir::Read(dir.File("work.dst")).find("Phase 1"), std::string::npos);
}

// A value set from outside that would make every peak cover a million points
// is not taken, and the run stays usable.
TEST(Limits, AValueThatMakesThePeaksCoverEverythingIsNotTaken) {
  TRun run;
  TZdEngine engine;
  ASSERT_EQ(run.Start(engine, Spoiled("xray-cw.inp", {{"   0   4   1", "   2   4   1"},
                                                      {"  10.000   0.020  90.000", "   0.000   0.001 999.999"},
                                                      {CubicCell, " 10.0000 10.0000 10.0000 90.0000 90.0000 90.0000"}})),
            zeNone)
      << engine.Problem();
  EXPECT_LT(ProfileWork(engine.Pattern()), MaxProfileWork);
  const float before = engine.Model().FindSample(1, 1)->U;
  EXPECT_NE(engine.SetParameter(1, 1, 0, 3, 1e30f), 0);
  EXPECT_EQ(engine.Model().FindSample(1, 1)->U, before);
  EXPECT_EQ(engine.SetParameter(1, 1, 0, 3, before * 2), 0);  // a sane width is taken
  EXPECT_EQ(engine.Model().FindSample(1, 1)->U, before * 2);
  // Were it in the model anyway (a cycle's shift), the next cycle refuses to start.
  engine.Model().FindSample(1, 1)->U = 1e30f;
  int converged = 0;
  EXPECT_EQ(engine.Iterate(1, 1, converged), zeExcessiveOverlap);
}

// A data file past the point limit is refused before any work on it.
TEST(Limits, DataFilesPastThePointLimit) {
  struct TCase {
    const char* What;
    std::size_t Points;
    int Code;
  };
  const TCase cases[] = {
      {"most points", MaxPointsPerHistogram, zeNone},
      {"one point too many", MaxPointsPerHistogram + 1, zeTooManyPoints},
  };
  for (const TCase& c : cases) {
    TTempDir dir;
    ASSERT_TRUE(WriteDatFile(dir.File("data.dat"), "flat", 0.0, 0.0001, std::vector<double>(c.Points, 100.0)));
    TRietveld model;
    ASSERT_TRUE(ReadModel(model, ExampleFile("xray-cw.inp")));
    TZdEngine engine;
    const int error = StartEngine(engine, model, dir, dir.File("data"));
    EXPECT_EQ(error, c.Code) << c.What << ": " << engine.Problem();
    EXPECT_EQ(engine.Started(), c.Code == zeNone) << c.What;
  }
}

// A cycle that shifted a value out of its range stops the run at the next one.
TEST(Limits, ACycleRefusesValuesShiftedOutOfRange) {
  struct TCase {
    const char* What;
    void (*Change)(TRietveld&);
    int Code;
  };
  const TCase cases[] = {
      {"nothing", [](TRietveld&) {}, zeNone},
      {"cell length", [](TRietveld& m) { m.Phase(1)->A = 2 * float(MaxCellLength); }, zeCellRange},
      {"B", [](TRietveld& m) { m.Phase(1)->Atom(1)->B = std::nanf(""); }, zeValueRange},
  };
  TRun run;
  for (const TCase& c : cases) {
    TZdEngine engine;
    ASSERT_EQ(run.Start(engine, TTempDir::Read(ExampleFile("xray-cw.inp"))), zeNone);
    c.Change(engine.Model());
    int converged = 0;
    EXPECT_EQ(engine.Iterate(1, 1, converged), c.Code) << c.What;
  }
}

// A time-of-flight peak wider than the whole pattern (W = 1e8) made every
// point of every cycle pay for its exponential integrals.
TEST(Limits, APeakWiderThanThePatternIsRefused) {
  struct TCase {
    const char* W;
    int Code;
  };
  const TCase cases[] = {{"  12.500", zeNone}, {"1.00E+08", zeExcessiveOverlap}};
  for (const TCase& c : cases) {
    TTempDir dir;
    const std::string input =
        dir.Write("t.inp", Spoiled("tof.inp", {{" 0.00000 0.00000  12.500 0.00000",
                                                std::string(" 0.00000 0.00000") + c.W + " 0.00000"}}));
    TZdEngine engine;
    EXPECT_EQ(engine.Start(1, input, ExampleFile("tof"), dir.File("w.out"), dir.File("w")), c.Code)
        << c.W << ": " << engine.Problem();
  }
}

// Zero or tiny time-of-flight exponentials, refined: the cycle's steps of
// beta stretch every peak's tail over the whole pattern, and one cycle spent
// seconds in the exponential integrals before its calculations checked their
// own work. Such a cycle is refused; a step of a zero alpha stays cheap.
TEST(Limits, TimeOfFlightExponentialsStretchedByACycle) {
  struct TCase {
    const char* What;
    const char* Exponentials;  // alpha1 alpha2 beta1 beta2
    const char* Codes;         // refinement codes of alpha1, alpha2, beta1, beta2
    int Code;
  };
  const TCase cases[] = {
      {"as they are", "  0.0800  0.0000  0.0280  0.0040", "  71.000   0.000  81.000   0.000", zeNone},
      {"no beta, beta refined", "  0.0800  0.0000  0.0000  0.0000", "  71.000   0.000  81.000   0.000", zeExcessiveOverlap},
      {"no alpha, alpha refined", "  0.0000  0.0000  0.0280  0.0040", "  71.000   0.000  81.000   0.000", zeNone},
      {"tiny beta", "  0.0800  0.0000  0.0001  0.0000", "   0.000   0.000   0.000   0.000", zeExcessiveOverlap},
  };
  for (const TCase& c : cases) {
    TTempDir dir;
    const std::string input = dir.Write(
        "t.inp", Spoiled("tof.inp", {{"  0.0800  0.0000  0.0280  0.0040", c.Exponentials},
                                     {"  71.000   0.000  81.000   0.000", c.Codes}}));
    TZdEngine engine;
    int error = engine.Start(1, input, ExampleFile("tof"), dir.File("w.out"), dir.File("w"));
    int converged = 0;
    if (error == zeNone) error = engine.Iterate(1, 1, converged);
    EXPECT_EQ(error, c.Code) << c.What << ": " << engine.Problem();
    // Whatever the outcome, no calculation was let past the limit.
    if (error == zeNone) {
      EXPECT_LE(ProfileWork(engine.Pattern()), MaxProfileWork) << c.What;
    }
  }
}

// The profile work takes the peaks of a whole histogram at once, without
// their intensities: the same places, widths, reaches and sub-peaks as the
// peaks of each reflection, for every kind of profile and asymmetry.
TEST(Limits, ProfileWorkSeesEveryPeakOfThePattern) {
  struct TCase {
    const char* Example;
    int Profile;  // 0: the example's own
  };
  const TCase cases[] = {{"xray-cw", 1}, {"xray-cw", 2}, {"xray-cw", 3}, {"xray-cw", 4},
                         {"xray-cw", 5}, {"xray-cw", 6}, {"tof", 0},     {"two-phase", 0}};
  for (const TCase& c : cases) {
    const std::string what = std::string(c.Example) + " profile " + std::to_string(c.Profile);
    TTempDir dir;
    TZdEngine engine;
    ASSERT_EQ(engine.Start(1, ExampleFile(std::string(c.Example) + ".inp"), ExampleFile(c.Example), dir.File("w.out"),
                           dir.File("w")),
              zeNone)
        << what << ": " << engine.Problem();
    TRietveld& model = engine.Model();
    if (c.Profile != 0) model.Histogram(1)->Profile = c.Profile;
    model.AsymLimit = 60;  // Rietveld's asymmetry up to there
    for (int p = 1; p <= model.PhaseCount(); ++p) {
      model.FindSample(1, p)->Asym1 = 0.04f;
      model.FindSample(1, p)->Asym2 = 0.02f;
    }
    const TPattern& pattern = engine.Pattern();
    std::vector<TPeak> each;
    for (const TPhaseView& view : pattern.Views(1))
      for (const TReflection& r : view.Reflections)
        for (const TPeak& peak : pattern.Peaks(1, view, r)) each.push_back(peak);
    std::vector<TPeak> all;
    pattern.PeakShapes(1, all);
    ASSERT_EQ(all.size(), each.size()) << what;
    ASSERT_GT(all.size(), 10u) << what;
    std::size_t asymmetric = 0;
    for (std::size_t i = 0; i < all.size(); ++i) {
      const TPeakShape &a = all[i].Shape, &e = each[i].Shape;
      EXPECT_EQ(all[i].Position, each[i].Position) << what << ", peak " << i;
      EXPECT_EQ(all[i].Intensity, 0.0) << what << ", peak " << i;
      EXPECT_EQ(a.Kind, e.Kind) << what << ", peak " << i;
      EXPECT_EQ(a.H, e.H) << what << ", peak " << i;
      EXPECT_EQ(a.LowReach(7), e.LowReach(7)) << what << ", peak " << i;
      EXPECT_EQ(a.HighReach(7), e.HighReach(7)) << what << ", peak " << i;
      EXPECT_EQ(a.Offsets.size(), e.Offsets.size()) << what << ", peak " << i;
      EXPECT_EQ(a.RietAsym, e.RietAsym) << what << ", peak " << i;
      if (!e.Offsets.empty() || e.RietAsym != 0) ++asymmetric;
    }
    if (c.Profile != 0) {
      EXPECT_GT(asymmetric, 0u) << what;
    }
  }
}
