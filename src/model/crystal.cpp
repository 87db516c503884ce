#include "model/crystal.h"

#include <cstring>
#include <string_view>

#include "spacegroup_api.h"
#include "model/global.h"
#include "platform/rtl/dynlib.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/stringlist.h"
#include "platform/rtl/strutils.h"

namespace {

// The table, one line per crystal class, symbols separated by commas.
struct TClassRow {
  uint8_t CrystalClass;
  std::string_view Symbols;
};

// The six cubic groups 215-220 carry their inversion bar, so that the
// space-group library recognises them; it still reads the old spelling
// without the bar that older model files carry.
constexpr TClassRow ClassRows[] = {
    {ccTriclinic, "P 1,P -1"},
    {ccMonoclinic, "P 2,P 21,C 2,P M,P C,C M,C C,P 2/M,P 21/M,C 2/M,P 2/C,P 21/C,C 2/C"},
    {ccOrthorhombic,
     "P 2 2 2,P 2 2 21,P 21 21 2,P 21 21 21,C 2 2 21,C 2 2 2,F 2 2 2,I 2 2 2,I 21 21 21,P M M 2,P M C 21,"
     "P C C 2,P M A 2,P C A 21,P N C 2,P M N 21,P B A 2,P N A 21,P N N 2,C M M 2,C M C 21,C C C 2,A M M 2,"
     "A B M 2,A M A 2,A B A 2,F M M 2,F D D 2,I M M 2,I B A 2,I M A 2,P M M M,P N N N,P C C M,P B A N,P M M A,"
     "P N N A,P M N A,P C C A,P B A M,P C C N,P B C M,P N N M,P M M N,P B C N,P B C A,P N M A,C M C M,C M C A,"
     "C M M M,C C C M,C M M A,C C C A,F M M M,F D D D,I M M M,I B A M,I B C A,I M M A"},
    {ccTetragonal,
     "P 4,P 41,P 42,P 43,I 4,I 41,P -4,I -4,P 4/M,P 42/M,P 4/N,P 42/N,I 4/M,I 41/A,P 4 2 2,P 4 21 2,P 41 2 2,"
     "P 41 21 2,P 42 2 2,P 42 21 2,P 43 2 2,P 43 21 2,I 4 2 2,I 41 2 2,P 4 M M,P 4 B M,P 42 C M,P 42 N M,"
     "P 4 C C,P 4 N C,P 42 M C,P 42 B C,I 4 M M,I 4 C M,I 41 M D,I 41 C D,P -4 2 M,P -4 2 C,P -4 21 M,"
     "P -4 21 C,P -4 M 2,P -4 C 2,P -4 B 2,P -4 N 2,I -4 M 2,I -4 C 2,I -4 2 M,I -4 2 D,P 4/M M M,P 4/M C C,"
     "P 4/N B M,P 4/N N C,P 4/M B M,P 4/M N C,P 4/N M M,P 4/N C C,P 42/M M C,P 42/M C M,P 42/N B C,P 42/N N M,"
     "P 42/M B C,P 42/M N M,P 42/N M C,P 42/N C M,I 4/M M M,I 4/M C M,I 41/A M D,I 41/A C D"},
    {ccTrigonalHex,
     "P 3,P 31,P 32,R 3,P -3,R -3,P 3 1 2,P 3 2 1,P 31 1 2,P 31 2 1,P 32 1 2,P 32 2 1,R 3 2,P 3 M 1,P 3 1 M,"
     "P 3 C 1,P 3 1 C,R 3 M,R 3 C,P -3 1 M,P -3 1 C,P -3 M 1,P -3 C 1,R -3 M,R -3 C"},
    {ccHexagonal,
     "P 6,P 61,P 65,P 62,P 64,P 63,P -6,P 6/M,P 63/M,P 6 2 2,P 61 2 2,P 65 2 2,P 62 2 2,P 64 2 2,P 63 2 2,"
     "P 6 M M,P 6 C C,P 63 C M,P 63 M C,P -6 M 2,P -6 C 2,P -6 2 M,P -6 2 C,P 6/M M M,P 6/M C C,P 63/M C M,"
     "P 63/M M C"},
    {ccCubic,
     "P 2 3,F 2 3,I 2 3,P 21 3,I 21 3,P M 3,P N 3,F M 3,F D 3,I M 3,P A 3,I A 3,P 4 3 2,P 42 3 2,F 4 3 2,"
     "F 41 3 2,I 4 3 2,P 43 3 2,P 41 3 2,I 41 3 2,P -4 3 M,F -4 3 M,I -4 3 M,P -4 3 N,F -4 3 C,I -4 3 D,"
     "P M 3 M,P N 3 N,P M 3 N,P N 3 M,F M 3 M,F M 3 C,F D 3 M,F D 3 C,I M 3 M,I A 3 D"},
};

const std::array<TSpaceGroupRecord, SpaceGroupCount>& Records() {
  static const std::array<TSpaceGroupRecord, SpaceGroupCount> records = [] {
    std::array<TSpaceGroupRecord, SpaceGroupCount> r{};
    std::size_t n = 0;
    for (const TClassRow& row : ClassRows) {
      std::string_view rest = row.Symbols;
      while (!rest.empty()) {
        std::size_t comma = rest.find(',');
        std::string_view symbol = rest.substr(0, comma);
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
        if (n < r.size()) r[n] = {std::string(symbol), row.CrystalClass};
        ++n;
      }
    }
    if (n != r.size()) throw ERangeError("space-group table holds " + std::to_string(n) + " symbols");
    return r;
  }();
  return records;
}

const char* const ScatterSymbolTexts[] = {
    "H", "H-1", "D", "HE", "LI", "LI+1", "BE", "BE+2", "B", "C", "CVAL", "N", "O", "O-1", "O-2", "F", "F-1",
    "NE", "NA", "NA+1", "MG", "MG+2", "AL", "AL+3", "SI", "SIV", "SI+4", "P", "S", "CL", "CL-1", "AR", "K",
    "K+1", "CA", "CA+2", "SC", "SC+3", "TI", "TI+2", "TI+3", "TI+4", "V", "V+2", "V+3", "V+5", "CR", "CR+2",
    "CR+3", "MN", "MN+2", "MN+3", "MN+4", "FE", "FE+2", "FE+3", "CO", "CO+2", "CO+3", "NI", "NI+2", "NI+3",
    "CU", "CU+1", "CU+2", "ZN", "ZN+2", "GA", "GA+3", "GE", "GE+4", "AS", "SE", "BR", "BR-1", "KR", "RB",
    "RB+1", "SR", "SR+2", "Y", "Y+3", "ZR", "ZR+4", "NB", "NB+3", "NB+5", "MO", "MO+3", "MO+5", "MO+6", "TC",
    "RU", "RU+3", "RU+4", "RH", "RH+3", "RH+4", "PD", "PD+2", "PD+4", "AG", "AG+1", "AG+2", "CD", "CD+2",
    "IN", "IN+3", "SN", "SN+2", "SN+4", "SB", "SB+3", "SB+5", "TE", "I", "I-1", "XE", "CS", "CS+1", "BA",
    "BA+2", "LA", "LA+3", "CE", "CE+3", "CE+4", "PR", "PR+3", "PR+4", "ND", "ND+3", "EU+2", "EU+3", "EU",
    "GD+3", "GD", "TB+3", "TB", "DY+3", "DY", "HO+3", "HO", "ER", "ER+3", "TM", "TM+3", "YB", "YB+2", "YB+3",
    "LU", "LU+3", "HF", "HF+4", "TA", "TA+5", "W", "W+6", "RE", "OS", "OS+4", "IR", "IR+3", "IR+4", "PT",
    "PT+2", "PT+4", "AU", "AU+1", "AU+3", "HG", "HG+1", "HG+2", "TL", "TL+1", "TL+3", "PB", "PB+2", "PB+4",
    "BI", "BI+3", "BI+5", "TH", "TH+4", "U", "U+3", "U+4", "U+6", "NP", "NP+3", "NP+4", "NP+6", "PU", "PU+3",
    "PU+4", "PU+6", "PM", "SM", "AM", "CM", "RA", "RA+2", "AC+2", "AC", "CF", "BK"};
static_assert(std::size(ScatterSymbolTexts) == ScatterSymbolCount);

// The library's entry, loaded on first use and kept for the rest of the run;
// nullptr when the library or its entry cannot be had.
TSgSpaceGp SpaceGroupEntry() {
  static const TSgSpaceGp entry = [] {
    HMODULE module = LoadLibrary("spacegroup.dll");
    if (module == nullptr) return TSgSpaceGp(nullptr);
    auto proc = reinterpret_cast<TSgSpaceGp>(GetProcAddress(module, "_spacegp@16"));
    if (proc == nullptr) FreeLibrary(module);
    return proc;
  }();
  return entry;
}

struct TSpaceGroupAnswer {
  std::array<int32_t, SG_RESULT_COUNT> Result{};
  bool Failed = true;
};

// Asks the library about the symbol at a position.
TSpaceGroupAnswer AskLibrary(const std::string& symbol, float x, float y, float z) {
  TSpaceGroupAnswer answer;
  std::string text = UpperCase(Trim(symbol));
  // A longer symbol cut to the field could name another group: refused.
  if (text.size() > SG_SYMBOL_FIELD) return answer;
  TSgSpaceGp entry = SpaceGroupEntry();
  if (entry == nullptr) return answer;
  char field[SG_SYMBOL_FIELD];
  std::memset(field, ' ', sizeof field);
  std::memcpy(field, text.data(), text.size());
  if (text.size() < SG_SYMBOL_FIELD) field[text.size()] = '\0';
  float position[3] = {x, y, z};
  int32_t error = 1;
  entry(field, position, answer.Result.data(), &error);
  answer.Failed = error != 0;
  return answer;
}

// A point on no symmetry element.
constexpr float TestX = 1.0f / 108, TestY = 2.0f / 108, TestZ = 3.0f / 108;

uint8_t ClassOfSymmetryCode(int code) {
  switch (code) {
    case 1: return ccTriclinic;
    case 2: return ccMonoclinic;
    case 3: return ccOrthorhombic;
    case 4:
    case 5: return ccTetragonal;
    case 6:
    case 7: return ccTrigonalRh;
    case 8:
    case 9:
    case 10: return ccTrigonalHex;
    case 11:
    case 12: return ccHexagonal;
    case 13:
    case 14: return ccCubic;
    default: return ccUnknown;
  }
}

}  // namespace

const TSpaceGroupRecord& SpaceGroupRecord(int n) {
  if (n < 1 || n > SpaceGroupCount) throw ERangeError("space-group number " + std::to_string(n) + " outside 1..230");
  return Records()[static_cast<std::size_t>(n - 1)];
}

void FillSpaceGroupTable() {
  SpaceGroupTable.clear();
  SpaceGroupTable.reserve(SpaceGroupCount);
  for (const TSpaceGroupRecord& record : Records()) SpaceGroupTable.push_back(record.Symbol);
}

void FillScatterSymbolList() {
  if (ScatterSymbols == nullptr) ScatterSymbols = new TStringList;
  ScatterSymbols->BeginUpdate();
  ScatterSymbols->Clear();
  for (const char* symbol : ScatterSymbolTexts) {
    std::string padded = symbol;
    padded.resize(4, ' ');
    ScatterSymbols->Add(padded);
  }
  ScatterSymbols->Sort();
  ScatterSymbols->EndUpdate();
}

TSpaceGroupInfo SpaceGroupInfo(const std::string& symbol) {
  TSpaceGroupAnswer answer = AskLibrary(symbol, TestX, TestY, TestZ);
  TSpaceGroupInfo info;
  info.CrystalClass = ClassOfSymmetryCode(answer.Failed ? 99 : answer.Result[SG_SYMMETRY_CODE]);
  info.AxisCode = answer.Result[SG_AXIS_CODE];
  return info;
}

int GeneralMultiplicity(const std::string& symbol) {
  TSpaceGroupAnswer answer = AskLibrary(symbol, TestX, TestY, TestZ);
  return answer.Failed ? 0 : answer.Result[SG_GENERAL_MULT];
}

int SiteMultiplicity(const std::string& symbol, float x, float y, float z) {
  TSpaceGroupAnswer answer = AskLibrary(symbol, x, y, z);
  return answer.Failed ? 0 : answer.Result[SG_SITE_MULT];
}

float FullOccupancy(const std::string& symbol, float x, float y, float z) {
  const int general = GeneralMultiplicity(symbol);
  const int site = SiteMultiplicity(symbol, x, y, z);
  if (general <= 0 || site <= 0) return 1.0f;
  return static_cast<float>(double(site) / general);
}

// ---------------------------------------------------------------------------

void TTransformation::SetIdentity() {
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 4; ++j) M[i][j] = i == j ? 1.0f : 0.0f;
}

float TTransformation::Determinant() const {
  return M[0][0] * (M[1][1] * M[2][2] - M[2][1] * M[1][2]) - M[0][1] * (M[1][0] * M[2][2] - M[2][0] * M[1][2]) +
         M[0][2] * (M[1][0] * M[2][1] - M[2][0] * M[1][1]);
}

float TTransformation::TransformCoordinate(int i, float x, float y, float z) const {
  return Value(i, 1) * x + Value(i, 2) * y + Value(i, 3) * z + Value(i, 4);
}

void TTransformation::Assign(const TTransformation& other) { M = other.M; }

float& TTransformation::Value(int i, int j) {
  if (i < 1 || i > 3 || j < 1 || j > 4)
    throw ERangeError("transformation element (" + std::to_string(i) + ", " + std::to_string(j) + ") does not exist");
  return M[static_cast<std::size_t>(i - 1)][static_cast<std::size_t>(j - 1)];
}

float TTransformation::Value(int i, int j) const { return const_cast<TTransformation*>(this)->Value(i, j); }
