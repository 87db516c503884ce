#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "spacegroup_api.h"
#include "model/crystal.h"
#include "model/global.h"
#include "platform/rtl/dynlib.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/stringlist.h"

TEST(SpaceGroupTable, RecordsAndClasses) {
  EXPECT_EQ(SpaceGroupRecord(1).Symbol, "P 1");
  EXPECT_EQ(SpaceGroupRecord(14).Symbol, "P 21/C");
  EXPECT_EQ(SpaceGroupRecord(14).CrystalClass, ccMonoclinic);
  EXPECT_EQ(SpaceGroupRecord(146).Symbol, "R 3");
  EXPECT_EQ(SpaceGroupRecord(146).CrystalClass, ccTrigonalHex);
  EXPECT_EQ(SpaceGroupRecord(215).Symbol, "P -4 3 M");
  EXPECT_EQ(SpaceGroupRecord(220).Symbol, "I -4 3 D");
  EXPECT_EQ(SpaceGroupRecord(225).Symbol, "F M 3 M");
  EXPECT_EQ(SpaceGroupRecord(225).CrystalClass, ccCubic);
  EXPECT_EQ(SpaceGroupRecord(230).Symbol, "I A 3 D");
  EXPECT_THROW(SpaceGroupRecord(0), ERangeError);
  EXPECT_THROW(SpaceGroupRecord(231), ERangeError);

  // Classes run in table order; no group is on rhombohedral axes.
  const int firstOfClass[] = {1, 3, 16, 75, 143, 168, 195};
  const int classes[] = {ccTriclinic, ccMonoclinic, ccOrthorhombic, ccTetragonal, ccTrigonalHex, ccHexagonal, ccCubic};
  for (int n = 1, c = 0; n <= SpaceGroupCount; ++n) {
    if (c + 1 < 7 && n == firstOfClass[c + 1]) ++c;
    EXPECT_EQ(SpaceGroupRecord(n).CrystalClass, classes[c]) << n;
  }
}

TEST(SpaceGroupTable, FillWritesTheProgramWideTable) {
  SpaceGroupTable = {"stale"};
  FillSpaceGroupTable();
  ASSERT_EQ(SpaceGroupTable.size(), 230u);
  for (int n = 1; n <= SpaceGroupCount; ++n) EXPECT_EQ(SpaceGroupTable[n - 1], SpaceGroupRecord(n).Symbol);
  std::set<std::string> distinct(SpaceGroupTable.begin(), SpaceGroupTable.end());
  EXPECT_EQ(distinct.size(), 230u);
}

TEST(ScatterSymbols, FilledPaddedAndSorted) {
  delete ScatterSymbols;
  ScatterSymbols = nullptr;
  FillScatterSymbolList();  // makes the list when there is none
  ASSERT_NE(ScatterSymbols, nullptr);
  ScatterSymbols->Add("XX  ");
  FillScatterSymbolList();  // starts afresh
  ASSERT_EQ(ScatterSymbols->Count(), ScatterSymbolCount);
  for (int i = 0; i < ScatterSymbols->Count(); ++i) EXPECT_EQ(ScatterSymbols->Get(i).size(), 4u) << i;
  EXPECT_GE(ScatterSymbols->IndexOf("H   "), 0);
  EXPECT_GE(ScatterSymbols->IndexOf("LI+1"), 0);
  EXPECT_GE(ScatterSymbols->IndexOf("CVAL"), 0);
  EXPECT_LT(ScatterSymbols->IndexOf("XX  "), 0);
  for (int i = 1; i < ScatterSymbols->Count(); ++i)
    EXPECT_LT(ScatterSymbols->Get(i - 1), ScatterSymbols->Get(i)) << i;
  delete ScatterSymbols;
  ScatterSymbols = nullptr;
}

TEST(SpaceGroupLibrary, EveryTableSymbolHasTheClassOfItsRecord) {
  for (int n = 1; n <= SpaceGroupCount; ++n) {
    const TSpaceGroupRecord& record = SpaceGroupRecord(n);
    TSpaceGroupInfo info = SpaceGroupInfo(record.Symbol);
    EXPECT_EQ(info.CrystalClass, record.CrystalClass) << record.Symbol;
    EXPECT_EQ(info.AxisCode, record.CrystalClass == ccMonoclinic ? 2 : 0) << record.Symbol;
    EXPECT_GT(GeneralMultiplicity(record.Symbol), 0) << record.Symbol;
  }
}

TEST(SpaceGroupLibrary, SymbolsOutsideTheTable) {
  struct TCase {
    std::string Symbol;
    int CrystalClass;
    int AxisCode;
    int General;
  };
  const TCase cases[] = {
      {"  p 21/c ", ccMonoclinic, 2, 4},  // upper-cased and trimmed
      {"P 1 1 21/B", ccMonoclinic, 3, 4},  // unique axis c
      {"P 21/B 1 1", ccMonoclinic, 1, 4},  // unique axis a
      {"P 4 3 M", ccCubic, 0, 24},         // the old spelling of P -4 3 M
      {"F 4 3 M", ccCubic, 0, 96},
      {"I 4 3 D", ccCubic, 0, 48},
      {"R 3 :R", ccTrigonalRh, 0, 3},      // rhombohedral axes when asked for
      {"R -3 C", ccTrigonalHex, 0, 36},
      {"P 6/M M M", ccHexagonal, 0, 24},
      {"XYZ", ccUnknown, 0, 0},
      {"", ccUnknown, 0, 0},
      {"225", ccUnknown, 0, 0},            // numbers are not symbols
      {"P 21/C               X", ccUnknown, 0, 0},  // longer than the 20-character field
  };
  for (const TCase& c : cases) {
    TSpaceGroupInfo info = SpaceGroupInfo(c.Symbol);
    EXPECT_EQ(info.CrystalClass, c.CrystalClass) << c.Symbol;
    EXPECT_EQ(info.AxisCode, c.AxisCode) << c.Symbol;
    EXPECT_EQ(GeneralMultiplicity(c.Symbol), c.General) << c.Symbol;
  }
}

// The library's own entry: the Laue-class codes and the symbol field.
TEST(SpaceGroupLibrary, EntryCodesAndField) {
  HMODULE module = LoadLibrary("spacegroup.dll");
  ASSERT_NE(module, nullptr) << LastLoaderMessage();
  auto entry = reinterpret_cast<TSgSpaceGp>(GetProcAddress(module, "_spacegp@16"));
  ASSERT_NE(entry, nullptr);
  auto ask = [&](const std::string& field, int32_t& error) {
    char buffer[SG_SYMBOL_FIELD];
    std::fill(std::begin(buffer), std::end(buffer), ' ');
    std::copy(field.begin(), field.begin() + static_cast<long>(std::min<std::size_t>(field.size(), SG_SYMBOL_FIELD)),
              buffer);
    float position[3] = {0.1f, 0.2f, 0.3f};
    std::array<int32_t, SG_RESULT_COUNT> result;
    result.fill(-7);
    error = -7;
    entry(buffer, position, result.data(), &error);
    return result;
  };
  struct TCase {
    std::string Field;  // blank-padded, no NUL unless written
    int Code;
    int Number;
  };
  const TCase cases[] = {
      {"P -1", 1, 2},           {"P 21/C", 2, 14},          {"P M M M", 3, 47},
      {"P 4/M", 4, 83},         {"I 41/A M D", 5, 141},     {"R 3 :R", 6, 146},
      {"R -3 M :R", 7, 166},    {"R -3", 8, 148},           {"P -3 M 1", 9, 164},
      {"R -3 C", 9, 167},       {"P -3 1 M", 10, 162},      {"P 3 1 2", 10, 149},
      {"P 6/M", 11, 175},       {"P 63/M M C", 12, 194},    {"P M 3", 13, 200},
      {"F M 3 M", 14, 225},     {std::string("P 21/C\0XYZ", 10), 2, 14},  // text after the NUL is not read
  };
  for (const TCase& c : cases) {
    int32_t error;
    auto result = ask(c.Field, error);
    EXPECT_EQ(error, 0) << c.Field;
    EXPECT_EQ(result[SG_SYMMETRY_CODE], c.Code) << c.Field;
    EXPECT_EQ(result[SG_GROUP_NUMBER], c.Number) << c.Field;
  }
  // Every table symbol, and the old spelling of 215-220, names its own group.
  for (int n = 1; n <= SpaceGroupCount; ++n) {
    int32_t error;
    EXPECT_EQ(ask(SpaceGroupRecord(n).Symbol, error)[SG_GROUP_NUMBER], n) << SpaceGroupRecord(n).Symbol;
    EXPECT_EQ(error, 0) << SpaceGroupRecord(n).Symbol;
  }
  const char* const unbarred[] = {"P 4 3 M", "F 4 3 M", "I 4 3 M", "P 4 3 N", "F 4 3 C", "I 4 3 D"};
  for (int n = 215; n <= 220; ++n) {
    int32_t error;
    EXPECT_EQ(ask(unbarred[n - 215], error)[SG_GROUP_NUMBER], n) << unbarred[n - 215];
  }
  int32_t error;
  auto result = ask("NOT A GROUP", error);
  EXPECT_NE(error, 0);
  for (int32_t value : result) EXPECT_EQ(value, 0);
  FreeLibrary(module);
}

TEST(SpaceGroupLibrary, SiteMultiplicity) {
  struct TCase {
    std::string Symbol;
    float X, Y, Z;
    int Multiplicity;
  };
  const TCase cases[] = {
      {"P 21/C", 0, 0, 0, 2},
      {"P 21/C", 0.1f, 0.2f, 0.3f, 4},
      {"P 21/C", 1, -1, 2, 2},              // lattice translations of the origin
      {"P 21/C", 0.0004f, 0, 0.5f, 2},      // within the tolerance of a centre
      {"P 21/C", 0.01f, 0, 0.5f, 4},        // outside it
      {"F M 3 M", 0, 0, 0, 4},
      {"F M 3 M", 0.25f, 0.25f, 0.25f, 8},
      {"F M 3 M", 0.2f, 0, 0, 24},
      {"F M 3 M", 0.11f, 0.23f, 0.37f, 192},
      {"F D 3 M", 0.125f, 0.125f, 0.125f, 8},  // inversion centre at the origin
      {"F D 3 M", 0, 0, 0, 16},
      {"R -3 C", 0, 0, 0.25f, 6},           // corundum's Al site family: 6a
      {"R -3 C", 0, 0, 0.35f, 12},          // 12c
      {"XYZ", 0, 0, 0, 0},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(SiteMultiplicity(c.Symbol, c.X, c.Y, c.Z), c.Multiplicity)
        << c.Symbol << " (" << c.X << ", " << c.Y << ", " << c.Z << ")";
}

TEST(Transformation, IdentityDeterminantAndMapping) {
  TTransformation t;
  EXPECT_EQ(t.Determinant(), 0.0f);  // all zero until set
  t.SetIdentity();
  EXPECT_EQ(t.TransformCoordinate(2, 0.1f, 0.2f, 0.3f), 0.2f);
  EXPECT_EQ(t.Determinant(), 1.0f);
  EXPECT_EQ(t.Value(1, 4), 0.0f);

  // x' = y + 0.5, y' = x, z' = -z: an odd permutation with a reflection.
  t.Value(1, 1) = 0; t.Value(1, 2) = 1; t.Value(1, 4) = 0.5f;
  t.Value(2, 1) = 1; t.Value(2, 2) = 0;
  t.Value(3, 3) = -1;
  EXPECT_FLOAT_EQ(t.TransformCoordinate(1, 0.1f, 0.2f, 0.3f), 0.7f);
  EXPECT_FLOAT_EQ(t.TransformCoordinate(2, 0.1f, 0.2f, 0.3f), 0.1f);
  EXPECT_FLOAT_EQ(t.TransformCoordinate(3, 0.1f, 0.2f, 0.3f), -0.3f);
  EXPECT_FLOAT_EQ(t.Determinant(), 1.0f);

  TTransformation general;
  const float m[3][3] = {{2, 1, 0}, {0, 3, 1}, {1, 0, 4}};  // 2·12 - 1·(-1) + 0 = 25
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 3; ++j) general.Value(i, j) = m[i - 1][j - 1];
  EXPECT_FLOAT_EQ(general.Determinant(), 25.0f);
  general.Value(3, 1) = 0; general.Value(3, 2) = 3; general.Value(3, 3) = 1;  // two equal rows
  EXPECT_EQ(general.Determinant(), 0.0f);

  TTransformation copy;
  copy.Assign(t);
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 4; ++j) EXPECT_EQ(copy.Value(i, j), t.Value(i, j)) << i << "," << j;

  EXPECT_THROW(t.TransformCoordinate(4, 0, 0, 0), ERangeError);
  EXPECT_THROW(t.Value(1, 5), ERangeError);
}
