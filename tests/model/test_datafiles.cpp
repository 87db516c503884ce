#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "model/datafiles.h"
#include "model/plotdata.h"
#include "support/dialogresponder.h"
#include "support/tempdir.h"
#include "support/testlocale.h"

namespace {

using Texts = std::vector<std::string>;

// Joins lines with the given line end (each line gets one).
std::string Lines(const std::vector<std::string>& lines, const std::string& eol = "\n") {
  std::string s;
  for (const std::string& l : lines) s += l + eol;
  return s;
}

// Formats one fixed-column data line.
template <typename... Args>
std::string Fmt(const char* format, Args... args) {
  return testlocale::CFormat(format, args...);
}

void ExpectEmpty(const TData& d) {
  EXPECT_EQ(d.Status(), 0);
  EXPECT_EQ(d.PointCount(), 0);
  EXPECT_FALSE(d.IsAllocated());
  EXPECT_TRUE(d.X().empty());
  EXPECT_EQ(d.Title(), "UnInitialized Data structure");
}

class DataFiles : public ::testing::Test {
protected:
  std::string Write(const std::string& name, const std::string& content) { return Dir.Write(name, content); }

  // Fills the record with a good pattern, so that a failed read must also
  // clear what was there.
  void LoadGood(TData& d) {
    d.ReadXY(Write("good.xy", "good\n1 2\n3 4\n"));
    ASSERT_EQ(d.Status(), 2);
    Dialogs.Clear();
  }

  void ReadOver(TData& d, void (TData::*reader)(const std::string&), const std::string& ext,
                const std::string& content) {
    LoadGood(d);
    (d.*reader)(Write("bad" + ext, content));
  }

  TDialogResponder Dialogs;
  TTempDir Dir;
};

// ---- File kinds ------------------------------------------------------------------

TEST(FileKinds, ByExtension) {
  const struct {
    const char* Name;
    int Kind;
  } cases[] = {{"m.inp", 0},      {"m.PCR", 1},  {"m.dwb", 2},       {"m.exp", 3},      {"d.dat", 4},
               {"a.gsas", 7},     {"A.Gs", 7},   {"s.ins", 8},       {"d.xy", 9},       {"d.CPI", 10},
               {"noext", 11},     {"x.dat.bak", 11}, {"/tmp/a.b/c", 11}, {"dir/d.Dat", 4}, {"", 11}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(GetFileKind(c.Name), c.Kind);
    EXPECT_EQ(IsDataFile(c.Name), c.Kind == 4 || c.Kind == 7 || c.Kind == 9 || c.Kind == 10);
  }
}

TEST(FileKinds, ReadableFilesAndSmallHelpers) {
  TTempDir dir;
  EXPECT_TRUE(FileReadable(dir.Write("a.dat", "x")));
  EXPECT_FALSE(FileReadable(dir.File("missing.dat")));
  EXPECT_FALSE(FileReadable(""));
  EXPECT_FALSE(FileReadable(dir.Path()));  // a folder is not a file

  EXPECT_FALSE(ByteToBool(0));
  EXPECT_TRUE(ByteToBool(1));
  EXPECT_TRUE(ByteToBool(255));
  EXPECT_EQ(ToAtomSymbol4(" fe "), "FE  ");
  EXPECT_EQ(ToAtomSymbol4("Cl1xx"), "CL1X");
}

// ---- Header lines ------------------------------------------------------------------

TEST(DataHeader, FreeFormatThenFixedColumns) {
  const struct {
    const char* Line;
    bool Free;
    float Start, Step, Stop;
    const char* Title;
  } cases[] = {
      {"10.0 0.02 10.1 Sample A", true, 10.0f, 0.02f, 10.1f, " Sample A"},
      {"  10.0   0.02   10.1  ", true, 10.0f, 0.02f, 10.1f, ""},
      {"10.0 0.02 10.1", true, 10.0f, 0.02f, 10.1f, ""},
      {"1,5 0,01 2,5 comma", true, 1.5f, 0.01f, 2.5f, " comma"},
      // The title touches the stop value: free format fails, the columns are read.
      {"   10.00    0.02   10.10Title", false, 10.0f, 0.02f, 10.1f, "Title"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Line);
    float start = -1, step = -1, stop = -1;
    std::string title = "old";
    EXPECT_EQ(TData::ParseHeaderLine(c.Line, start, step, stop, title), c.Free);
    EXPECT_FLOAT_EQ(start, c.Start);
    EXPECT_FLOAT_EQ(step, c.Step);
    EXPECT_FLOAT_EQ(stop, c.Stop);
    EXPECT_EQ(title, c.Title);
  }

  // Two values: free format fails and the first 8 columns are no number.
  float start = -1, step = -1, stop = -1;
  std::string title = "old";
  EXPECT_FALSE(TData::ParseHeaderLine("10.0 0.02", start, step, stop, title));
  EXPECT_EQ(start, -1.0f);
  EXPECT_EQ(title, "");
}

// ---- Standard data files (.dat) ----------------------------------------------------

TEST_F(DataFiles, DatLayoutsWithEitherLineEnd) {
  const struct {
    const char* Layout;
    const char* Line;  // six 8-column fields
    float Third[6];
  } cases[] = {
      {"3: blank blank", "   100.0   200.0   300.0   400.0   500.0   600.0", {1, 1, 1, 1, 1, 1}},
      {"1: blank digit", " 1 100.0 2 200.0 3 300.0 4 400.0 5 500.0 6 600.0", {1, 2, 3, 4, 5, 6}},
      {"1: digit digit", "12 100.012 200.0 3 300.0 4 400.0 5 500.0 6 600.0", {12, 12, 3, 4, 5, 6}},
      {"2: digit blank", "1  100.02  200.03  300.04  400.05  500.06  600.0", {1, 2, 3, 4, 5, 6}},
      {"3: decimal commas", "   100,0   200,0   300,0   400,0   500,0   600,0", {1, 1, 1, 1, 1, 1}},
  };
  for (const char* eol : {"\n", "\r\n"}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(c.Layout) + (eol[0] == '\r' ? " CR LF" : " LF"));
      TData d;
      d.ReadDAT(Write("a.dat", Lines({"10.0 0.02 10.1 Sample A", c.Line}, eol)));
      EXPECT_EQ(Dialogs.Texts(), Texts{});
      ASSERT_EQ(d.Status(), 2);
      ASSERT_EQ(d.PointCount(), 6);
      EXPECT_EQ(d.Title(), " Sample A");
      EXPECT_FLOAT_EQ(d.Start(), 10.0f);
      EXPECT_FLOAT_EQ(d.Step(), 0.02f);
      EXPECT_FLOAT_EQ(d.Stop(), 10.1f);
      for (int k = 0; k < 6; ++k) {
        EXPECT_FLOAT_EQ(d.X()[k], 10.0f + 0.02f * k);
        EXPECT_FLOAT_EQ(d.Y()[k], 100.0f * (k + 1));
        EXPECT_FLOAT_EQ(d.Third()[k], c.Third[k]);
      }
    }
  }
}

TEST_F(DataFiles, DatReadsTenFieldsPerLine) {
  TData d;
  std::string full, part;
  for (int j = 1; j <= 10; ++j) full += Fmt("%8d", j);
  part = Fmt("%8d%8d", 11, 12);
  d.ReadDAT(Write("a.dat", Lines({"0.5 0.5 6.0", full, part, "trailing text is not read"})));
  ASSERT_EQ(d.PointCount(), 12);
  EXPECT_FLOAT_EQ(d.X()[11], 6.0f);
  EXPECT_FLOAT_EQ(d.Y()[11], 12.0f);
  EXPECT_FLOAT_EQ(d.Y()[9], 10.0f);
  EXPECT_EQ(d.Title(), "");
}

TEST_F(DataFiles, DatWarnsOnceAboutZeroX) {
  std::string ten;
  for (int j = 0; j < 10; ++j) ten += "     1.0";
  std::vector<std::string> lines{"0.0 0.05 5.0"};  // 101 points from x = 0
  for (int i = 0; i < 11; ++i) lines.push_back(ten);
  TData d;
  d.ReadDAT(Write("z.dat", Lines(lines)));
  EXPECT_EQ(Dialogs.Texts(), Texts{"Opps"});
  EXPECT_EQ(d.PointCount(), 101);
  EXPECT_EQ(d.Status(), 2);
}

TEST_F(DataFiles, DatTitleIsUtf8CutAtACharacter) {
  // 15 columns of numbers and a blank, then 80 two-byte characters: the
  // header's first 80 characters keep 65 of them.
  std::string e = "\xC3\xA9";
  std::string title;
  for (int i = 0; i < 80; ++i) title += e;
  TData d;
  d.ReadDAT(Write("u.dat", Lines({"10.0 0.02 10.1 " + title, "   100.0   200.0   300.0   400.0   500.0   600.0"})));
  std::string expected = " ";
  for (int i = 0; i < 65; ++i) expected += e;
  EXPECT_EQ(d.Title(), expected);

  // A title in the legacy code page becomes UTF-8.
  d.ReadDAT(Write("w.dat", Lines({"10.0 0.02 10.1 Caf\xE9 \x80", "   100.0   200.0   300.0   400.0   500.0   600.0"})));
  EXPECT_EQ(d.Title(), " Caf\xC3\xA9 \xE2\x82\xAC");
}

TEST_F(DataFiles, DatMalformedGivesOneMessageAndAnEmptyRecord) {
  const std::string six = "   100.0   200.0   300.0   400.0   500.0   600.0";
  const struct {
    const char* Case;
    std::string Content;
    const char* Message;
  } cases[] = {
      {"two header values", Lines({"10.0 0.02", six}), "Cannot determine datafile format."},
      {"empty file", "", "Cannot determine datafile format."},
      {"zero step", Lines({"10.0 0.0 10.1", six}),
       "Error reading data file at line 1: the step must be greater than 0."},
      {"negative step", Lines({"10.1 -0.02 10.0", six}),
       "Error reading data file at line 1: the step must be greater than 0."},
      {"stop below start", Lines({"10.1 0.02 10.0", six}),
       "Error reading data file at line 1: the stop value is below the start value."},
      {"missing lines", Lines({"10.0 0.02 10.5", six + six.substr(0, 32), ""}),
       "Error reading data file: the header announces 26 points but the file ends at line 2."},
      {"absurd count", Lines({"0 1E-30 1E30", six}),
       "Error reading data file: the header announces 1e+60 points but the file ends at line 2."},
      {"bad number", Lines({"10.0 0.02 10.1", "   100.0   2x0.0   300.0   400.0   500.0   600.0"}),
       "Error reading data file at line 2: \"2x0.0\" is not a number."},
      {"short line", Lines({"10.0 0.02 10.1", "   100.0   200.0"}),
       "Error reading data file at line 2: a value is missing."},
      {"beyond single range", Lines({"10.0 0.02 10.1", "   100.0  1.0E99   300.0   400.0   500.0   600.0"}),
       "Error reading data file at line 2: \"1.0E99\" is out of range."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Case);
    TData d;
    ReadOver(d, &TData::ReadDAT, ".dat", c.Content);
    EXPECT_EQ(Dialogs.Texts(), Texts{c.Message});
    ExpectEmpty(d);
  }
}

// ---- GSAS raw files ------------------------------------------------------------------

TEST_F(DataFiles, GsasStandardLayouts) {
  // Twelve points in two records, start 10, step 0.02.
  const struct {
    const char* Layout;
    const char* Format;  // one 8-column field of (counter, intensity)
    bool Counter;
  } cases[] = {
      {"4: two-column counter", "%2d%6.1f", true},
      {"5: one-column counter", "%-1d %6.1f", true},
      {"6: no counter", "  %6.1f", false},
  };
  for (const char* eol : {"\n", "\r\n"}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(c.Layout) + (eol[0] == '\r' ? " CR LF" : " LF"));
      std::string rec1, rec2;
      for (int k = 1; k <= 12; ++k) {
        std::string f = c.Counter ? Fmt(c.Format, k % 10, 10.0 * k) : Fmt(c.Format, 10.0 * k);
        ASSERT_EQ(f.size(), 8u) << f;
        (k <= 10 ? rec1 : rec2) += f;
      }
      TData d;
      d.ReadGSAS(Write("a.gsas", Lines({"GSAS title", "BANK 1 12 2 CONST 1000.00 2.00 0 0 STD", rec1, rec2}, eol)));
      EXPECT_EQ(Dialogs.Texts(), Texts{});
      ASSERT_EQ(d.Status(), 2);
      ASSERT_EQ(d.PointCount(), 12);
      EXPECT_EQ(d.Title(), "GSAS title");
      EXPECT_FLOAT_EQ(d.Start(), 10.0f);
      EXPECT_FLOAT_EQ(d.Step(), 0.02f);
      EXPECT_FLOAT_EQ(d.Stop(), 10.22f);
      for (int k = 1; k <= 12; ++k) {
        EXPECT_FLOAT_EQ(d.X()[k - 1], 10.0f + 0.02f * (k - 1));
        EXPECT_FLOAT_EQ(d.Y()[k - 1], 10.0f * k);
        EXPECT_FLOAT_EQ(d.Third()[k - 1], c.Counter ? k % 10 : 1.0f);
      }
    }
  }
}

TEST_F(DataFiles, GsasEsdReadsTheShortLastRecordOnly) {
  // 1003 points in 201 records of 5: the last record holds 3.
  std::vector<std::string> lines{"ESD pattern", "BANK 1 1003 201 CONST 500.00 5.00 0 0 ESD"};
  std::string rec;
  for (int k = 1; k <= 1005; ++k) {
    rec += Fmt("%8.1f%8.2f", k * 1.0, k * 0.01);
    if (k % 5 == 0) {
      lines.push_back(rec);
      rec.clear();
    }
  }
  TData d;
  d.ReadGSAS(Write("e.gs", Lines(lines)));
  EXPECT_EQ(Dialogs.Texts(), Texts{});
  ASSERT_EQ(d.PointCount(), 1003);
  ASSERT_EQ(d.Capacity(), 1003);
  EXPECT_FLOAT_EQ(d.Y()[1002], 1003.0f);
  EXPECT_FLOAT_EQ(d.Third()[1002], 10.03f);
  EXPECT_FLOAT_EQ(d.X()[1002], 5.0f + 0.05f * 1002);
  EXPECT_FLOAT_EQ(d.Stop(), 5.0f + 0.05f * 1002);
}

TEST_F(DataFiles, GsasAltKeepsTheWrittenX) {
  std::string rec1, rec2;
  for (int k = 1; k <= 6; ++k) (k <= 4 ? rec1 : rec2) += Fmt("%8.1f%7.1f%5.2f", 2000.5 + k, 100.0 * k, 0.5 * k);
  TData d;
  // ALT wins over ESD on the same bank line.
  d.ReadGSAS(Write("t.gs", Lines({"TOF", "BANK 1 6 2 RALF  1000.00 2.00 0 0 ALT ESD", rec1, rec2})));
  EXPECT_EQ(Dialogs.Texts(), Texts{});
  ASSERT_EQ(d.PointCount(), 6);
  EXPECT_FLOAT_EQ(d.Start(), 10.0f);
  EXPECT_FLOAT_EQ(d.Step(), 0.02f);
  for (int k = 1; k <= 6; ++k) {
    EXPECT_FLOAT_EQ(d.X()[k - 1], 2000.5f + k);
    EXPECT_FLOAT_EQ(d.Y()[k - 1], 100.0f * k);
    EXPECT_FLOAT_EQ(d.Third()[k - 1], 0.5f * k);
  }
}

TEST_F(DataFiles, GsasThatEndsEarlyKeepsWhatItHolds) {
  std::string rec;
  for (int k = 1; k <= 10; ++k) rec += Fmt("%8.1f", 1.0 * k);
  for (const char* tail : {"", "\n\n"}) {
    SCOPED_TRACE(tail[0] ? "trailing empty lines" : "plain end");
    Dialogs.Clear();
    TData d;
    d.ReadGSAS(Write("s.gs", Lines({"short", "BANK 1 30 3 CONST 1000.00 2.00 0 0 STD", rec, rec}) + tail));
    EXPECT_EQ(Dialogs.Texts(), Texts{"The GSAS datafile ends at line 4: only 20 of 30 points were read."});
    ASSERT_EQ(d.Status(), 2);
    ASSERT_EQ(d.PointCount(), 20);
    EXPECT_FLOAT_EQ(d.Y()[19], 10.0f);
    EXPECT_FLOAT_EQ(d.Stop(), 10.38f);
  }
}

TEST_F(DataFiles, GsasAnnouncingCountsAtTheTopOfTheIntegerRange) {
  // The count of records needed must not overflow: the file holds one record
  // of each layout, and that is what is kept.
  const struct {
    const char* Bank;
    std::string Record;
    int Points;
  } cases[] = {
      {"BANK 1 2147483647 2147483647 CONST 1000.00 2.00 0 0 STD", Fmt("%8.1f", 1.0) + std::string(72, '1'), 10},
      {"BANK 1 2147483647 2147483647 CONST 1000.00 2.00 0 0 ESD", std::string(80, '1'), 5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Bank);
    Dialogs.Clear();
    TData d;
    d.ReadGSAS(Write("huge.gs", Lines({"huge", c.Bank, c.Record})));
    EXPECT_EQ(Dialogs.Texts(), Texts{"The GSAS datafile ends at line 3: only " + std::to_string(c.Points) +
                                     " of 2147483647 points were read."});
    ASSERT_EQ(d.Status(), 2);
    EXPECT_EQ(d.PointCount(), c.Points);
  }
}

TEST_F(DataFiles, GsasMalformedGivesOneMessageAndAnEmptyRecord) {
  std::string rec;
  for (int k = 1; k <= 10; ++k) rec += Fmt("%8.1f", 1.0 * k);
  const struct {
    const char* Case;
    std::string Content;
    const char* Message;
  } cases[] = {
      {"no bank line", Lines({"t", "12 2 CONST", rec}), "Cannot determine GSAS datafile format."},
      {"empty file", "", "Cannot determine GSAS datafile format."},
      {"bad integer", Lines({"t", "BANK 1 1x 2 CONST 1000.00 2.00", rec}),
       "Error reading data file at line 2: \"1x\" is not an integer."},
      {"missing coefficient", Lines({"t", "BANK 1 10 1 CONST 1000.00", rec}),
       "Error reading data file at line 2: a value is missing."},
      {"bad coefficient", Lines({"t", "BANK 1 10 1 CONST 1000.00 2.0x", rec}),
       "Error reading data file at line 2: \"2.0x\" is not a number."},
      {"no points", Lines({"t", "BANK 1 0 1 CONST 1000.00 2.00", rec}),
       "Error reading data file at line 2: the numbers of points and records must be positive."},
      {"too few records", Lines({"t", "BANK 1 25 2 CONST 1000.00 2.00", rec, rec}),
       "Error reading data file at line 2: the bank line announces 25 points in 2 records."},
      {"zero step", Lines({"t", "BANK 1 10 1 CONST 1000.00 0.00", rec}),
       "Error reading data file at line 2: the step must be greater than 0."},
      {"bad field", Lines({"t", "BANK 1 10 1 CONST 1000.00 2.00", rec.substr(0, 8) + "   ab.0" + rec.substr(16)}),
       "Error reading data file at line 3: \"ab.0\" is not a number."},
      {"short record", Lines({"t", "BANK 1 10 1 CONST 1000.00 2.00", rec.substr(0, 40)}),
       "Error reading data file at line 3: a value is missing."},
      {"no records", Lines({"t", "BANK 1 10 1 CONST 1000.00 2.00"}),
       "The GSAS datafile ends at line 2: only 0 of 10 points were read."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Case);
    TData d;
    ReadOver(d, &TData::ReadGSAS, ".gs", c.Content);
    EXPECT_EQ(Dialogs.Texts(), Texts{c.Message});
    ExpectEmpty(d);
  }
}

// ---- x y files -------------------------------------------------------------------------

TEST_F(DataFiles, XyBlankAndCommaSeparated) {
  const struct {
    const char* Case;
    std::string Content;
    std::vector<float> X, Y;
  } cases[] = {
      {"blanks", Lines({"xy title", "1.0 5", " 2.0  7.5 extra", "3.0 -1e2"}), {1, 2, 3}, {5, 7.5f, -100}},
      {"commas", Lines({"xy title", "1.0,5", "2.0, 7.5", "3.0 ,-1e2"}), {1, 2, 3}, {5, 7.5f, -100}},
      {"tabs", Lines({"xy title", "1.0\t5", "2.0\t\t7.5", " 3.0\t-1e2"}), {1, 2, 3}, {5, 7.5f, -100}},
      {"CR LF", Lines({"xy title", "1.0 5", "2.0 7.5", "3.0 -1e2"}, "\r\n"), {1, 2, 3}, {5, 7.5f, -100}},
      {"trailing empty line", Lines({"xy title", "1.0 5", "3.0 6", ""}), {1, 3}, {5, 6}},
      {"stops at text", Lines({"xy title", "1.0 5", "3.0 6", "end", "4 4"}), {1, 3}, {5, 6}},
      {"one point", Lines({"xy title", "2.5 9"}), {2.5f}, {9}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Case);
    TData d;
    d.ReadXY(Write("a.xy", c.Content));
    EXPECT_EQ(Dialogs.Texts(), Texts{});
    ASSERT_EQ(d.Status(), 2);
    ASSERT_EQ(d.PointCount(), static_cast<int>(c.X.size()));
    EXPECT_EQ(d.Title(), "xy title");
    for (std::size_t i = 0; i < c.X.size(); ++i) {
      EXPECT_FLOAT_EQ(d.X()[i], c.X[i]);
      EXPECT_FLOAT_EQ(d.Y()[i], c.Y[i]);
      EXPECT_EQ(d.Third()[i], 1.0f);
    }
    std::size_t n = c.X.size();
    EXPECT_FLOAT_EQ(d.Start(), c.X.front());
    EXPECT_FLOAT_EQ(d.Stop(), c.X.back());
    EXPECT_FLOAT_EQ(d.Step(), n > 1 ? (c.X.back() - c.X.front()) / (n - 1) : 0.0f);
  }
}

TEST_F(DataFiles, XyTakesAnyNumberOfPoints) {
  std::string content = "many\n";
  for (int i = 0; i < 12000; ++i) content += Fmt("%.2f %d\n", 5 + 0.01 * i, i);
  TData d;
  d.ReadXY(Write("m.xy", content));
  ASSERT_EQ(d.PointCount(), 12000);
  EXPECT_FLOAT_EQ(d.Y()[11999], 11999.0f);
  EXPECT_FLOAT_EQ(d.Step(), (d.Stop() - d.Start()) / 11999);
  EXPECT_NEAR(d.Step(), 0.01, 1e-6);
}

// Every point of a long file is read, with either line end, and the step of
// an evenly spaced file gives back its x values; beyond the data limit of a
// histogram the file is refused with a message that names the limit.
TEST_F(DataFiles, XyLongFilesAreReadWholeUpToTheLimit) {
  for (const char* eol : {"\n", "\r\n"}) {
    SCOPED_TRACE(eol[0] == '\r' ? "CR LF" : "LF");
    std::string content = "long\n";
    const int n = 25000;
    for (int i = 0; i < n; ++i) content += Fmt("%.4f %d", 2 + 0.004 * i, i % 977) + eol;
    TData d;
    d.ReadXY(Write("long.xy", content));
    EXPECT_EQ(Dialogs.Texts(), Texts{});
    ASSERT_EQ(d.PointCount(), n);
    for (int i : {0, 9998, 9999, 10000, n - 1})
      EXPECT_NEAR(d.Start() + i * static_cast<double>(d.Step()), d.X()[static_cast<size_t>(i)], 1e-3) << i;
  }
  std::string huge = "huge\n";
  huge.reserve(9u << 20);
  for (int i = 0; i <= 1000000; ++i) huge += std::to_string(i) + " 1\n";
  TData d;
  d.ReadXY(Write("huge.xy", huge));
  EXPECT_EQ(d.Status(), 0);
  ASSERT_EQ(Dialogs.Count(), 1u);
  EXPECT_NE(Dialogs.Last().Text.find("1000000"), std::string::npos) << Dialogs.Last().Text;
}

TEST_F(DataFiles, XyMalformed) {
  const struct {
    const char* Case;
    std::string Content;
    const char* Message;
  } cases[] = {
      {"title only", "title\n", "The data file holds no data points."},
      {"column heads", Lines({"title", "2theta counts", "1 2"}), "The data file holds no data points."},
      {"beyond single range", Lines({"title", "1 2", "2 1e50"}),
       "Error reading data file at line 3: \"1e50\" is out of range."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Case);
    TData d;
    ReadOver(d, &TData::ReadXY, ".xy", c.Content);
    EXPECT_EQ(Dialogs.Texts(), Texts{c.Message});
    ExpectEmpty(d);
  }
}

// Lines that the quick reading of plain line-feed files must read exactly as the general reading does (the
// general one also serves files with CR LF line ends, so each case runs with both).
TEST_F(DataFiles, XyQuickAndGeneralReadingsAgree) {
  const struct {
    const char* Case;
    Texts Data;
    std::vector<float> X, Y;
    const char* Message;
  } cases[] = {
      {"signs and bare points", {"+1.5 -.5", "5. +.25", "-0 1E+2"}, {1.5f, 5, 0}, {-0.5f, 0.25f, 100}, nullptr},
      {"control characters are trimmed", {"1.5\x01 2\x0b", "\x02" "3 4"}, {1.5f, 3}, {2, 4}, nullptr},
      {"more columns", {"1 2 3", "4\t5\t6\t"}, {1, 4}, {2, 5}, nullptr},
      {"below single range reads as 0", {"1e-50 2"}, {0}, {2}, nullptr},
      {"two signs stop", {"1 2", "+-1 2"}, {1}, {2}, nullptr},
      {"exponent without digits stops", {"1 2", "1e 2"}, {1}, {2}, nullptr},
      {"letters after the number stop", {"1 2", "3x 4"}, {1}, {2}, nullptr},
      {"hex stops", {"1 2", "0x10 4"}, {1}, {2}, nullptr},
      {"nan and inf stop", {"1 2", "nan 3", "inf 4"}, {1}, {2}, nullptr},
      {"a lone point stops", {"1 2", ". 4"}, {1}, {2}, nullptr},
      {"one column stops", {"1 2", "3"}, {1}, {2}, nullptr},
      {"commas with blanks and empty fields", {"1.5 , 2", "3,,4", "5 ,\t6"}, {1.5f, 3, 5}, {2, 4, 6}, nullptr},
      {"a blank field between commas stops", {"1,2", "3, ,4"}, {1}, {2}, nullptr},
      {"beyond double range", {"1 2", "1e400 2"}, {}, {},
       "Error reading data file at line 3: \"1e400\" is out of range."},
      {"beyond single range in the second column", {"1 2", "2 -1e39\x01"}, {}, {},
       "Error reading data file at line 3: \"-1e39\" is out of range."},
      {"the last line without a line end", {"1 2", "3 4"}, {1, 3}, {2, 4}, nullptr},
  };
  for (const auto& c : cases) {
    for (const char* eol : {"\n", "\r\n"}) {
      SCOPED_TRACE(std::string(c.Case) + (eol[0] == '\r' ? " (CR LF)" : " (LF)"));
      Texts lines{"title"};
      lines.insert(lines.end(), c.Data.begin(), c.Data.end());
      std::string content = Lines(lines, eol);
      if (std::string(c.Case) == "the last line without a line end") content.resize(content.size() - std::strlen(eol));
      TData d;
      Dialogs.Clear();
      d.ReadXY(Write("q.xy", content));
      if (c.Message) {
        EXPECT_EQ(Dialogs.Texts(), Texts{c.Message});
        ExpectEmpty(d);
        continue;
      }
      EXPECT_EQ(Dialogs.Texts(), Texts{});
      ASSERT_EQ(d.PointCount(), static_cast<int>(c.X.size()));
      for (std::size_t i = 0; i < c.X.size(); ++i) {
        EXPECT_EQ(d.X()[i], c.X[i]);
        EXPECT_EQ(d.Y()[i], c.Y[i]);
      }
    }
  }
}

// ---- CPI files -------------------------------------------------------------------------

std::string Cpi(const std::string& start, const std::string& stop, const std::string& step, int values) {
  std::vector<std::string> lines{"SIETRONICS XRD SCAN", start, stop, step, "Cu", "1.5406", "01-Jan-2000", "300",
                                 "scan", "SCANDATA"};
  for (int i = 1; i <= values; ++i) lines.push_back(std::to_string(100 * i));
  return Lines(lines);
}

TEST_F(DataFiles, CpiReadsTheIntensitiesPresent) {
  TData d;
  d.ReadCPI(Write("a.cpi", Cpi("10.00 degrees", "10.10", "0.02", 6)));
  EXPECT_EQ(Dialogs.Texts(), Texts{});
  ASSERT_EQ(d.PointCount(), 6);
  EXPECT_EQ(d.Title(), "SIETRONICS XRD SCAN");
  EXPECT_FLOAT_EQ(d.X()[5], 10.1f);
  EXPECT_FLOAT_EQ(d.Y()[5], 600.0f);
  EXPECT_FLOAT_EQ(d.Stop(), 10.1f);

  // Fewer intensity lines than the header announces: the ones present.
  d.ReadCPI(Write("b.cpi", Cpi("10.00", "10.10", "0.02", 4)));
  EXPECT_EQ(Dialogs.Texts(), Texts{});
  ASSERT_EQ(d.PointCount(), 4);
  EXPECT_FLOAT_EQ(d.Stop(), 10.06f);
}

TEST_F(DataFiles, CpiMalformed) {
  const struct {
    const char* Case;
    std::string Content;
    const char* Message;
  } cases[] = {
      {"start not a number", Cpi("abc", "10.10", "0.02", 6),
       "Error reading data file at line 2: \"abc\" is not a number."},
      {"comma decimal", Cpi("10,0", "10.10", "0.02", 6),
       "Error reading data file at line 2: \"10,0\" is not a number."},
      {"missing step", Cpi("10.0", "10.10", "", 6), "Error reading data file at line 4: a value is missing."},
      {"zero step", Cpi("10.0", "10.10", "0", 6),
       "Error reading data file at line 4: the step must be greater than 0."},
      {"stop below start", Cpi("10.0", "9.0", "0.02", 6),
       "Error reading data file at line 3: the stop value is below the start value."},
      {"no intensities", Cpi("10.0", "10.10", "0.02", 0), "The data file holds no data points."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Case);
    TData d;
    ReadOver(d, &TData::ReadCPI, ".cpi", c.Content);
    EXPECT_EQ(Dialogs.Texts(), Texts{c.Message});
    ExpectEmpty(d);
  }
}

// ---- Any reader ------------------------------------------------------------------------

TEST_F(DataFiles, ByteOrderMarkIsNotPartOfTheFirstLine) {
  // A file saved as UTF-8 "with signature" reads as the same file without it.
  const std::string bom = "\xEF\xBB\xBF";
  const struct {
    void (TData::*Reader)(const std::string&);
    const char* Name;
    std::string Content;
    const char* Title;
    int Points;
  } cases[] = {
      {&TData::ReadDAT, "b.dat", Lines({"10.0 0.02 10.1 Sample A", "   100.0   200.0   300.0   400.0   500.0   600.0"}),
       " Sample A", 6},
      {&TData::ReadGSAS, "b.gs", Lines({"GSAS title", "BANK 1 2 1 CONST 100.00 100.00 0 0 STD", "       1       2"}),
       "GSAS title", 2},
      {&TData::ReadXY, "b.xy", Lines({"xy title", "1 2", "3 4"}), "xy title", 2},
      {&TData::ReadCPI, "b.cpi", Cpi("1", "3", "1", 3), "SIETRONICS XRD SCAN", 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Dialogs.Clear();
    TData d;
    (d.*c.Reader)(Write(c.Name, bom + c.Content));
    EXPECT_EQ(Dialogs.Texts(), Texts{});
    EXPECT_EQ(d.Status(), 2);
    EXPECT_EQ(d.PointCount(), c.Points);
    EXPECT_EQ(d.Title(), c.Title);
  }
}

// ---- Opening and dispatch --------------------------------------------------------------

TEST_F(DataFiles, UnopenableFilesGiveTheReadersMessage) {
  const struct {
    void (TData::*Reader)(const std::string&);
    const char* Message;
  } cases[] = {{&TData::ReadDAT, "Error opening file."},
               {&TData::ReadGSAS, "Error opening file."},
               {&TData::ReadXY, "Error opening XY Data file."},
               {&TData::ReadCPI, "Error opening CPI data file."}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Message);
    TData d;
    LoadGood(d);
    (d.*c.Reader)(Dir.File("missing"));
    EXPECT_EQ(Dialogs.Texts(), Texts{c.Message});
    ExpectEmpty(d);
  }
}

// A named pipe or a link to /dev/zero given as a data file is refused at once with the reason, instead of
// blocking or reading without end.
TEST_F(DataFiles, PipesAndDevicesAreRefusedAtOnce) {
  const std::string fifo = Dir.File("pipe.dat");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string zero = Dir.File("zero.dat");
  ASSERT_EQ(::symlink("/dev/zero", zero.c_str()), 0);
  const struct {
    void (TData::*Reader)(const std::string&);
    const char* Message;
  } readers[] = {{&TData::ReadDAT, "Error opening file."},
                 {&TData::ReadGSAS, "Error opening file."},
                 {&TData::ReadXY, "Error opening XY Data file."},
                 {&TData::ReadCPI, "Error opening CPI data file."}};
  for (const auto& r : readers) {
    for (const std::string& name : {fifo, zero}) {
      SCOPED_TRACE(std::string(r.Message) + " " + name);
      TData d;
      LoadGood(d);
      (d.*r.Reader)(name);
      EXPECT_EQ(Dialogs.Texts(),
                Texts{std::string(r.Message) + " Cannot read " + name + ": it is not a regular file."});
      ExpectEmpty(d);
    }
  }
}

TEST_F(DataFiles, ReadDataFileChoosesTheReaderByKind) {
  const struct {
    int Kind;
    const char* Name;
    std::string Content;
    int Points;
  } cases[] = {
      {4, "a.dat", Lines({"1 1 3", "       1       2       3"}), 3},
      {7, "a.gs", Lines({"t", "BANK 1 2 1 CONST 100.00 100.00 0 0 STD", "       1       2"}), 2},
      {9, "a.xy", Lines({"t", "1 1", "2 2", "3 3", "4 4"}), 4},
      {10, "a.cpi", Cpi("1", "5", "1", 5), 5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TPlotData d;
    d.ReadDataFile(Write(c.Name, c.Content), 3, c.Kind);
    EXPECT_EQ(Dialogs.Texts(), Texts{});
    EXPECT_EQ(d.Histogram(), 3);
    EXPECT_EQ(d.Status(), 2);
    EXPECT_EQ(d.PointCount(), c.Points);
  }

  // A missing file or a kind without a reader reads nothing.
  TData d;
  d.ReadDataFile(Dir.File("missing.xy"), 2, 9);
  EXPECT_EQ(d.Histogram(), 2);
  EXPECT_EQ(d.Status(), 0);
  d.ReadDataFile(Write("m.inp", "1 2\n3 4\n"), 1, 0);
  EXPECT_EQ(d.Status(), 0);
  EXPECT_EQ(Dialogs.Texts(), Texts{});
}

TEST(DataExamples, BundledDataFilesRead) {
  const char* source = std::getenv("ZELVORA_SOURCE_DIR");
  ASSERT_NE(source, nullptr);
  std::string examples = std::string(source) + "/examples/";
  TDialogResponder dialogs;

  TData xray;
  xray.ReadDataFile(examples + "xray-cw.dat", 1, GetFileKind("xray-cw.dat"));
  EXPECT_EQ(dialogs.Texts(), Texts{});
  EXPECT_EQ(xray.Status(), 2);
  EXPECT_EQ(xray.PointCount(), 4001);
  EXPECT_FLOAT_EQ(xray.X()[4000], 90.0f);
  EXPECT_GT(xray.MaxY(), 10 * xray.MinY());

  TData tof;
  tof.ReadDataFile(examples + "tof.gs", 1, GetFileKind("tof.gs"));
  EXPECT_EQ(dialogs.Texts(), Texts{});
  EXPECT_EQ(tof.Status(), 2);
  EXPECT_EQ(tof.PointCount(), 2251);
  EXPECT_FLOAT_EQ(tof.Start(), 2000.0f);
  EXPECT_FLOAT_EQ(tof.Stop(), 20000.0f);
  EXPECT_GT(tof.Third()[0], 0.0f);
}

}  // namespace
