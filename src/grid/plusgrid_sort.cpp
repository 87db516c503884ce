// Sorting: the sort settings, comparing cells by sort style, the quicksort
// over the grid's own rows, indexed and node-wise sorts, the unsorted order,
// the header click, and splitting and re-merging runs of equal cells.
#include <algorithm>
#include <charconv>
#include <cmath>

#include "grid/plusgrid.h"
#include "grid/support/plusutil.h"
#include "grid/support/psghtmle.h"
#include "platform/rtl/codepages.h"
#include "platform/rtl/formatsettings.h"
#include "platform/rtl/strutils.h"
#include "platform/ui/uitypes.h"

namespace {

const TEnumInfo& BlankPosInfo() {
  static const TEnumInfo info{"TSortBlankPosition", {"blFirst", "blLast"}, 0};
  return info;
}
const TEnumInfo& SortDirectionInfo() {
  static const TEnumInfo info{"TSortDirection", {"sdAscending", "sdDescending"}, 0};
  return info;
}

int Sign(int v) { return v < 0 ? -1 : v > 0 ? 1 : 0; }
int CompareValues(double a, double b) { return a < b ? -1 : a > b ? 1 : 0; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The number in a text with "." as the decimal point; false when the text is
// no number, with Value the digits read before the first other character.
bool TextToFloat(const std::string& Text, double& Value) {
  size_t b = 0, e = Text.size();
  while (b < e && Text[b] == ' ') ++b;
  while (e > b && Text[e - 1] == ' ') --e;
  size_t start = b;
  if (start < e && Text[start] == '+') ++start;
  const char* first = Text.data() + start;
  const char* last = Text.data() + e;
  auto [ptr, ec] = std::from_chars(first, last, Value);
  if (ec == std::errc() && ptr == last && start < e) return true;
  Value = 0;
  for (size_t i = b; i < e && IsDigit(Text[i]); ++i) Value = Value * 10 + (Text[i] - '0');
  return false;
}

void RemoveFirst(std::string& Text, const std::string& Part) {
  if (Part.empty()) return;
  size_t p = Text.find(Part);
  if (p != std::string::npos) Text.erase(p, Part.size());
}

bool IsNumberCode(int Code) { return Code == 0 || Code == 1 || Code == 5; }

// Where a separator may stand in a short date or time ("1/2/..", "12:30"):
// 1 at position 2 or 3 with digits around it, 0 not there, -1 there with a
// non-digit beside it.
int SeparatorAt(const std::string& s, char Sep) {
  size_t p = s.find(Sep);
  if (p == std::string::npos || (p != 1 && p != 2) || p + 1 >= s.size()) return 0;
  return IsDigit(s[p - 1]) && IsDigit(s[p + 1]) ? 1 : -1;
}

template <class F>
double DateValue(const std::string& s, F Convert) {
  if (s.empty()) return 0;
  try {
    return Convert(s);
  } catch (...) {
    // A date the parsers refuse sorts as 0.
    return 0;
  }
}

// Restores the grid after a sort, also when an event handler raised.
struct TSortScope {
  TPlusStringGrid* Grid;
  std::function<void()> Done;
  ~TSortScope() { Done(); }
};

}  // namespace

// ---------------------------------------------------------------------------
// TSortSettings

ZV_CLASS_IMPL(TSortSettings, TPersistent)

void TSortSettings::DeclareProperties(TClassInfo& c) {
  using T = TSortSettings;
  c.Boolean<T>("AutoSortForGrouping", &T::AutoSortForGrouping, &T::SetAutoSortForGrouping, true);
  c.Boolean<T>("AutoColumnMerge", &T::AutoColumnMerge, &T::SetAutoColumnMerge, false);
  c.Integer<T>("Column", &T::Column, &T::SetColumn, 0);
  c.Boolean<T>("Show", &T::Show, &T::SetShow, false);
  c.Boolean<T>("IndexShow", &T::IndexShow, &T::SetIndexShow, false);
  c.Integer<T>("IndexColor", &T::IndexColor, &T::SetIndexColor, 0x0000FFFF).WithIdents(&ColorIdents());
  c.Boolean<T>("Full", &T::Full, &T::SetFull, true);
  c.Boolean<T>("SingleColumn", &T::SingleColumn, &T::SetSingleColumn, false);
  c.Boolean<T>("IgnoreBlanks", &T::IgnoreBlanks, &T::SetIgnoreBlanks, false);
  c.Enum<T>("BlankPos", BlankPosInfo(), &T::BlankPos, &T::SetBlankPos, blFirst);
  c.Boolean<T>("AutoFormat", &T::AutoFormat, &T::SetAutoFormat, true);
  c.Enum<T>("Direction", SortDirectionInfo(), &T::Direction, &T::SetDirection, sdAscending);
  c.Object<T, TBitmap>("UpGlyph", &T::UpGlyph, &T::SetUpGlyph);
  c.Object<T, TBitmap>("DownGlyph", &T::DownGlyph, &T::SetDownGlyph);
  c.Object<T, TBitmap>("IndexUpGlyph", &T::IndexUpGlyph, &T::SetIndexUpGlyph);
  c.Object<T, TBitmap>("IndexDownGlyph", &T::IndexDownGlyph, &T::SetIndexDownGlyph);
  c.Enum<T>("InitSortDirection", SortDirectionInfo(), &T::InitSortDirection, &T::SetInitSortDirection,
            sdAscending);
  c.Boolean<T>("FixedCols", &T::FixedCols, &T::SetFixedCols, false);
  c.Boolean<T>("NormalCellsOnly", &T::NormalCellsOnly, &T::SetNormalCellsOnly, false);
  c.Integer<T>("Row", &T::Row, &T::SetRow, 0);
  c.Boolean<T>("UndoSort", &T::UndoSort, &T::SetUndoSort, false);
}

TSortSettings::TSortSettings(TPlusStringGrid* AGrid)
    : FGrid(AGrid),
      FUpGlyph(std::make_unique<TBitmap>()),
      FDownGlyph(std::make_unique<TBitmap>()),
      FIndexUpGlyph(std::make_unique<TBitmap>()),
      FIndexDownGlyph(std::make_unique<TBitmap>()) {}

TSortSettings::~TSortSettings() = default;

void TSortSettings::SetShow(bool v) {
  FShow = v;
  if (FGrid) FGrid->Invalidate();
}

void TSortSettings::SetRow(int v) {
  if (FGrid && v > FGrid->FixedRows()) throw Exception("Sort row should be smaller than number of fixed rows");
  FRow = v;
}

void TSortSettings::SetUpGlyph(TBitmap* v) {
  if (v && v != FUpGlyph.get()) FUpGlyph->Assign(v);
}
void TSortSettings::SetDownGlyph(TBitmap* v) {
  if (v && v != FDownGlyph.get()) FDownGlyph->Assign(v);
}
void TSortSettings::SetIndexUpGlyph(TBitmap* v) {
  if (v && v != FIndexUpGlyph.get()) FIndexUpGlyph->Assign(v);
}
void TSortSettings::SetIndexDownGlyph(TBitmap* v) {
  if (v && v != FIndexDownGlyph.get()) FIndexDownGlyph->Assign(v);
}

void TSortSettings::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TSortSettings*>(Source);
  if (!s || s == this) return;
  FAutoSortForGrouping = s->FAutoSortForGrouping;
  FAutoColumnMerge = s->FAutoColumnMerge;
  FColumn = s->FColumn;
  FShow = s->FShow;
  FIndexShow = s->FIndexShow;
  FIndexColor = s->FIndexColor;
  FFull = s->FFull;
  FSingleColumn = s->FSingleColumn;
  FIgnoreBlanks = s->FIgnoreBlanks;
  FBlankPos = s->FBlankPos;
  FAutoFormat = s->FAutoFormat;
  FDirection = s->FDirection;
  FInitSortDirection = s->FInitSortDirection;
  FFixedCols = s->FFixedCols;
  FNormalCellsOnly = s->FNormalCellsOnly;
  FRow = s->FRow;
  FUndoSort = s->FUndoSort;
  FUpGlyph->Assign(s->FUpGlyph.get());
  FDownGlyph->Assign(s->FDownGlyph.get());
  FIndexUpGlyph->Assign(s->FIndexUpGlyph.get());
  FIndexDownGlyph->Assign(s->FIndexDownGlyph.get());
}

// ---------------------------------------------------------------------------
// Comparing

void TPlusStringGrid::GetColFormat(int ACol, TSortStyle& AStyle, std::string& APrefix, std::string& ASuffix) {
  if (OnGetFormat) OnGetFormat(this, ACol, AStyle, APrefix, ASuffix);
}

TSortStyle TPlusStringGrid::ColumnSortStyle(int ACol, int ARow1, const std::string& S1, const std::string& S2,
                                            std::string& APrefix, std::string& ASuffix) {
  TSortStyle style = FSortSettings->AutoFormat() ? ssAutomatic : ssAlphabetic;
  APrefix.clear();
  ASuffix.clear();
  GetColFormat(ACol, style, APrefix, ASuffix);
  if (style == ssAutomatic) {
    TCellType t = GetCellType(ACol, ARow1);
    const std::string& s = S1;
    if (t == ctCheckBox || t == ctDataCheckBox || t == ctVirtCheckBox || t == ctRowCheckBox) {
      style = ssCheckBox;
    } else if (IsNumberCode(ClassifyNumberText(s))) {
      style = ssNumeric;
    } else if (int d = SeparatorAt(s, FormatSettings.DateSeparator)) {
      if (d < 0) style = ssAlphabetic;
      else style = s.find(FormatSettings.TimeSeparator) == std::string::npos ? ssDate : ssDateTime;
    } else if (int tm = SeparatorAt(s, FormatSettings.TimeSeparator)) {
      style = tm < 0 ? ssAlphabetic : ssTime;
    } else {
      style = ssAlphabetic;
    }
  }
  if (style == ssAlphaNumeric || style == ssAlphaNumericNoCase) {
    bool both = IsNumberCode(ClassifyNumberText(S1)) && IsNumberCode(ClassifyNumberText(S2));
    style = both ? ssNumeric : style == ssAlphaNumeric ? ssAlphabetic : ssAlphaNoCase;
  }
  return style;
}

int TPlusStringGrid::CompareRowCells(int ACol, int ARow1, int ARow2, bool Descending) {
  const std::string s1 = GetCellText(ACol, ARow1), s2 = GetCellText(ACol, ARow2);
  std::string prefix, suffix;
  const TSortStyle style = ColumnSortStyle(ACol, ARow1, s1, s2, prefix, suffix);
  int res = 0;
  switch (style) {
    case ssAutomatic:
    case ssAlphabetic:
    case ssAlphaCase:
    case ssAlphaNumeric:
      res = Sign(s1.compare(s2));
      break;
    case ssAlphaNoCase:
    case ssAlphaNumericNoCase:
      res = Sign(UpperCase(s1).compare(UpperCase(s2)));
      if (res == 0) res = Sign(s1.compare(s2));
      break;
    case ssNumeric:
    case ssFinancial: {
      auto prepare = [&](std::string s) {
        RemoveFirst(s, prefix);
        RemoveFirst(s, suffix);
        if (style == ssFinancial) s.erase(std::remove(s.begin(), s.end(), FormatSettings.ThousandSeparator), s.end());
        size_t p = s.find(FormatSettings.DecimalSeparator);
        if (p != std::string::npos) s[p] = '.';
        return s;
      };
      std::string t1 = prepare(s1), t2 = prepare(s2);
      double v1 = 0, v2 = 0;
      bool ok1 = t1.empty() || TextToFloat(t1, v1);
      bool ok2 = t2.empty() || TextToFloat(t2, v2);
      res = !ok1 && !ok2 ? 0 : CompareValues(v1, v2);
      break;
    }
    case ssDate:
    case ssDateTime:
    case ssTime: {
      auto conv = [style](const std::string& s) {
        TDateTime d = 0;
        bool ok = style == ssTime ? TryStrToTime(s, d) : TryStrToDateTime(s, d);
        return ok ? static_cast<double>(d) : 0.0;
      };
      res = CompareValues(DateValue(s1, conv), DateValue(s2, conv));
      break;
    }
    case ssShortDateEU:
    case ssShortDateUS: {
      auto conv = [style](const std::string& s) {
        return static_cast<double>(style == ssShortDateEU ? ParseDMYDate(s) : ParseMDYDate(s));
      };
      res = CompareValues(DateValue(s1, conv), DateValue(s2, conv));
      break;
    }
    case ssCustom:
      if (OnCustomCompare) OnCustomCompare(this, s1, s2, res);
      break;
    case ssAnsiAlphaCase:
      res = Sign(AnsiCompareStr(s1, s2));
      break;
    case ssAnsiAlphaNoCase:
      res = Sign(AnsiCompareText(s1, s2));
      break;
    case ssRaw:
      if (OnRawCompare) OnRawCompare(this, ACol, ARow1, ARow2, res);
      break;
    case ssHTML:
      res = Sign(StripHTMLTags(s1).compare(StripHTMLTags(s2)));
      break;
    case ssImages: {
      auto key = [&](int r) {
        TCellGraphic* g = GetCellGraphic(ACol, r);
        if (!g) return -1;
        switch (g->CellType) {
          case ctImageList: return g->CellIndex;
          case ctBitmap: case ctIcon: case ctPicture: case ctFilePicture: case ctDataImage: case ctImages:
            return 0;
          default: return -1;
        }
      };
      res = Sign(key(ARow1) - key(ARow2));
      break;
    }
    case ssCheckBox: {
      bool c1 = false, c2 = false;
      GetCellCheckState(ACol, ARow1, c1);
      GetCellCheckState(ACol, ARow2, c2);
      res = static_cast<int>(c1) - static_cast<int>(c2);
      break;
    }
    case ssUnicode: {
      // The decoded text in UTF-8 (plain texts already are).
      std::u16string w1 = DecodeWideCellText(s1), w2 = DecodeWideCellText(s2);
      res = Sign(AnsiCompareText(Utf16ToUtf8(w1), Utf16ToUtf8(w2)));
      break;
    }
  }
  res = Sign(res);
  if (FSortSettings->IgnoreBlanks() && s1.empty() != s2.empty()) {
    const bool last = FSortSettings->BlankPos() == blLast;
    res = s1.empty() ? (last ? 1 : -1) : (last ? -1 : 1);
    if (Descending) res = -res;
  }
  return res;
}

int TPlusStringGrid::CompareRows(int ACol, int ARow1, int ARow2) {
  const bool desc = FSortSettings->Direction() == sdDescending;
  const int last = ColCount() - 1;
  int res = CompareRowCells(ACol, ARow1, ARow2, desc);
  while (res == 0 && FSortSettings->Full() && ACol < last) {
    ++ACol;
    res = CompareRowCells(ACol, ARow1, ARow2, desc);
  }
  return res;
}

int TPlusStringGrid::CompareRowsIndexed(int AIndex, int ARow1, int ARow2) {
  const int n = FSortIndexes->Count();
  int res = 0;
  for (int i = AIndex; i < n; ++i) {
    const bool asc = FSortIndexes->Ascending(i);
    res = CompareRowCells(FSortIndexes->GetSortColumn(i), ARow1, ARow2, !asc);
    if (!asc) res = -res;
    if (res != 0 || !FSortSettings->Full()) break;
  }
  return res;
}

// ---------------------------------------------------------------------------
// Row exchange and the quicksort

void TPlusStringGrid::ResetUnsortedOrder() {
  FUnsortedRows->Clear();
  for (int r = 0; r < RowCount(); ++r) FUnsortedRows->InsertValue(r, r);
}

void TPlusStringGrid::SwapSortRows(int ARow1, int ARow2) {
  if (ARow1 == ARow2) return;
  if (ARow1 < FUnsortedRows->Count() && ARow2 < FUnsortedRows->Count()) {
    int a = FUnsortedRows->GetItem(ARow1);
    FUnsortedRows->SetItem(ARow1, FUnsortedRows->GetItem(ARow2));
    FUnsortedRows->SetItem(ARow2, a);
  }
  auto owners = [this](int ARow) {
    for (int c = 0; c < ColCount(); ++c)
      if (auto* p = dynamic_cast<TCellProperties*>(GetCellObject(c, ARow))) p->SetOwnerRow(ARow);
  };
  if (FSortSettings->SingleColumn()) {
    const int c = FSortSettings->Column();
    std::string t = GetCellRaw(c, ARow1);
    TObject* o = GetCellObject(c, ARow1);
    SetCellRaw(c, ARow1, GetCellRaw(c, ARow2));
    SetCellObject(c, ARow1, GetCellObject(c, ARow2));
    SetCellRaw(c, ARow2, t);
    SetCellObject(c, ARow2, o);
    if (auto* p = dynamic_cast<TCellProperties*>(GetCellObject(c, ARow1))) p->SetOwnerRow(ARow1);
    if (auto* p = dynamic_cast<TCellProperties*>(GetCellObject(c, ARow2))) p->SetOwnerRow(ARow2);
    return;
  }
  ExchangeRowCells(ARow1, ARow2);
  owners(ARow1);
  owners(ARow2);
  const int h1 = RowHeights(ARow1), h2 = RowHeights(ARow2);
  if (h1 != h2) {
    SetRowHeights(ARow1, h2);
    SetRowHeights(ARow2, h1);
  }
  if (FMouseActions->DisjunctRowSelect() && FNavigation->MoveRowOnSort()) {
    const int r1 = NumHiddenRows() ? RealRowIndex(ARow1) : ARow1;
    const int r2 = NumHiddenRows() ? RealRowIndex(ARow2) : ARow2;
    const int need = std::max(r1, r2) + 1;
    if (static_cast<int>(FRowSelectFlags.size()) < need) FRowSelectFlags.resize(need, false);
    std::vector<bool>::swap(FRowSelectFlags[r1], FRowSelectFlags[r2]);
  }
  if (FShowModified->Enabled()) {
    const int need = std::max(ARow1, ARow2) + 1;
    if (static_cast<int>(FRowModified.size()) < need) FRowModified.resize(need, false);
    std::vector<bool>::swap(FRowModified[ARow1], FRowModified[ARow2]);
  }
  if (FSortTrackedRow == ARow1) FSortTrackedRow = ARow2;
  else if (FSortTrackedRow == ARow2) FSortTrackedRow = ARow1;
}

// The pivot lives in a scratch row, so comparisons read it like any row;
// it shares the records of the row it was copied from.
void TPlusStringGrid::CopySortPivot(int From) {
  const int p = FSortPivotRow;
  const bool displ = static_cast<bool>(OnGetDisplText);
  for (int c = 0; c < ColCount(); ++c) {
    SetCellRaw(c, p, displ ? GetCellText(c, From) : GetCellRaw(c, From));
    SetCellObject(c, p, GetCellObject(c, From));
  }
}

void TPlusStringGrid::QuickSortRows(int ACol, int From, int To) {
  const int dir = FSortSettings->Direction() == sdAscending ? 1 : -1;
  // The smaller part recursively, the larger in the loop: the stack stays
  // logarithmic whatever the data.
  while (From < To) {
    CopySortPivot((From + To) / 2);
    const int p = FSortPivotRow;
    int i = From, j = To;
    do {
      while (CompareRows(ACol, p, i) == dir && i < To) ++i;
      while (CompareRows(ACol, j, p) == dir && j > From) --j;
      if (i <= j) {
        if (i != j && CompareRows(ACol, i, j) != 0) SwapSortRows(i, j);
        ++i;
        --j;
      }
    } while (i <= j);
    if (j - From < To - i) {
      if (From < j) QuickSortRows(ACol, From, j);
      From = i;
    } else {
      if (i < To) QuickSortRows(ACol, i, To);
      To = j;
    }
  }
}

void TPlusStringGrid::QuickSortRowsIndexed(int From, int To) {
  while (From < To) {
    CopySortPivot((From + To) / 2);
    const int p = FSortPivotRow;
    int i = From, j = To;
    do {
      while (CompareRowsIndexed(0, p, i) == 1 && i < To) ++i;
      while (CompareRowsIndexed(0, j, p) == 1 && j > From) --j;
      if (i <= j) {
        if (i != j) SwapSortRows(i, j);
        ++i;
        --j;
      }
    } while (i <= j);
    if (j - From < To - i) {
      if (From < j) QuickSortRowsIndexed(From, j);
      From = i;
    } else {
      if (i < To) QuickSortRowsIndexed(i, To);
      To = j;
    }
  }
}

// ---------------------------------------------------------------------------
// The sort frame

namespace {
enum { skColumn, skIndexed, skGroup, skGroupIndexed };
}

void TPlusStringGrid::SortFrame(int Kind) {
  if (FSorting) return;
  // No column to sort on (-1 after an undone sort): nothing moves.
  const int col = FSortSettings->Column();
  if ((Kind == skColumn || Kind == skGroup) && (col < 0 || col >= ColCount())) return;
  if (FUnsortedRows->Count() != RowCount()) ResetUnsortedOrder();
  const bool keepCol0 = FSortSettings->NormalCellsOnly() && FixedCols() > 0;
  const int oldRows = RowCount();
  std::vector<std::pair<std::string, TObject*>> col0;
  if (keepCol0)
    for (int r = 0; r < oldRows; ++r) col0.emplace_back(GetCellRaw(0, r), GetCellObject(0, r));

  FSorting = true;
  BeginUpdate();
  const int oldDispl = DisplRowCount();
  const int oldCurrent = Row();
  const bool moveRow = FNavigation->MoveRowOnSort();
  TCustomGrid::SetRowCount(oldRows + 3);
  SetDisplRowCount(oldDispl);
  FSortPivotRow = oldRows + 1;
  FSortTrackedRow = oldCurrent;
  if (moveRow) SetRow(oldRows);

  TSortScope scope{this, [&, this] {
                     for (int r = oldRows; r < oldRows + 3 && r < RowCount(); ++r)
                       for (int c = 0; c < ColCount(); ++c) {
                         SetCellObject(c, r, nullptr);
                         SetCellRaw(c, r, "");
                       }
                     TCustomGrid::SetRowCount(oldRows);
                     SetDisplRowCount(oldDispl);
                     FSortPivotRow = -1;
                     if (moveRow) {
                       if (FSortTrackedRow >= 0 && FSortTrackedRow < oldRows) SetRow(FSortTrackedRow);
                       FLastReportedRow = -1;
                     } else if (Row() != oldCurrent && oldCurrent < oldRows) {
                       SetRow(oldCurrent);
                     }
                     if (keepCol0)
                       for (int r = 0; r < oldRows; ++r) {
                         SetCellRaw(0, r, col0[r].first);
                         SetCellObject(0, r, col0[r].second);
                         if (auto* p = dynamic_cast<TCellProperties*>(col0[r].second)) p->SetOwnerRow(r);
                       }
                     FSorting = false;
                     EndUpdate();
                     Invalidate();
                   }};

  const int first = FixedRows(), last = oldRows - FFixedFooters - 1;
  switch (Kind) {
    case skColumn:
      if (first < last) QuickSortRows(FSortSettings->Column(), first, last);
      break;
    case skIndexed:
      if (first < last) QuickSortRowsIndexed(first, last);
      break;
    case skGroup:
    case skGroupIndexed:
      for (int r = first; r <= last; ++r) {
        if (!IsNode(r) || GetNodeState(r)) continue;
        const int span = GetNodeSpan(r);
        if (span <= 2) continue;
        const int to = std::min(r + span - 1, last);
        if (Kind == skGroup) QuickSortRows(FSortSettings->Column(), r + 1, to);
        else QuickSortRowsIndexed(r + 1, to);
      }
      break;
  }
  if (Kind == skColumn && !moveRow && OnRowUpdate) OnRowUpdate(this, oldCurrent, FSortTrackedRow);
}

void TPlusStringGrid::QSort() {
  FSortIndexes->Clear();
  SortFrame(skColumn);
}

void TPlusStringGrid::QSortIndexed() {
  if (FSortIndexes->Count() == 0) throw EPlusGridError("No indexes specified for indexed sort");
  SortFrame(skIndexed);
}

void TPlusStringGrid::QSortGroup() { SortFrame(skGroup); }

void TPlusStringGrid::QSortGroupIndexed() {
  if (FSortIndexes->Count() == 0) throw EPlusGridError("No indexes specified for indexed sort");
  SortFrame(skGroupIndexed);
}

void TPlusStringGrid::UnSort() {
  if (FSorting) return;
  const int n = RowCount();
  if (FUnsortedRows->Count() != n) return;
  // Only a true permutation can be put back.
  std::vector<char> seen(n, 0);
  for (int k = 0; k < n; ++k) {
    int v = FUnsortedRows->GetItem(k);
    if (v < 0 || v >= n || seen[v]) return;
    seen[v] = 1;
  }
  const bool keepCol0 = FSortSettings->NormalCellsOnly() && FixedCols() > 0;
  std::vector<std::pair<std::string, TObject*>> col0;
  if (keepCol0)
    for (int r = 0; r < n; ++r) col0.emplace_back(GetCellRaw(0, r), GetCellObject(0, r));
  FSorting = true;
  BeginUpdate();
  FSortTrackedRow = Row();
  TSortScope scope{this, [&, this] {
                     if (keepCol0)
                       for (int r = 0; r < n; ++r) {
                         SetCellRaw(0, r, col0[r].first);
                         SetCellObject(0, r, col0[r].second);
                         if (auto* p = dynamic_cast<TCellProperties*>(col0[r].second)) p->SetOwnerRow(r);
                       }
                     FSorting = false;
                     EndUpdate();
                     Invalidate();
                   }};
  // Each exchange puts one row at its place for good: at most n - 1 of them.
  for (int k = 0; k < n; ++k)
    while (FUnsortedRows->GetItem(k) != k) SwapSortRows(k, FUnsortedRows->GetItem(k));
}

// ---------------------------------------------------------------------------
// Header click

void TPlusStringGrid::SortColumnClick(int ACol, TShiftState Shift) {
  bool doSort = true;
  if (OnCanSort) OnCanSort(this, ACol, doSort);
  if (!doSort) {
    RepaintCell(ACol, FSortSettings->Row());
    return;
  }
  if (FUnsortedRows->Count() != RowCount()) ResetUnsortedOrder();
  const bool merge = FSortSettings->AutoColumnMerge();
  if (merge)
    for (int c = 0; c < ColCount(); ++c) SplitColumnCells(c);
  const int left = LeftCol();
  TSortSettings* ss = FSortSettings.get();
  if (ss->IndexShow()) {
    const bool asc = ss->InitSortDirection() == sdAscending;
    if (Shift.Contains(ssShift)) {
      if (FSortIndexes->FindIndex(ACol) < 0) FSortIndexes->AddIndex(ACol, asc);
      else FSortIndexes->ToggleDirection(ACol);
    } else if (FSortIndexes->Count() == 1 && FSortIndexes->GetSortColumn(0) == ACol) {
      FSortIndexes->ToggleDirection(ACol);
    } else {
      FSortIndexes->Clear();
      FSortIndexes->AddIndex(ACol, asc);
    }
    if (HasNodes()) QSortGroupIndexed();
    else QSortIndexed();
    ss->SetColumn(FSortIndexes->Count() ? FSortIndexes->GetSortColumn(0) : -1);
  } else {
    bool undo = false;
    if (ACol == ss->Column()) {
      undo = ss->Direction() != ss->InitSortDirection() && ss->UndoSort();
      ss->SetDirection(ss->Direction() == sdAscending ? sdDescending : sdAscending);
    } else {
      ss->SetColumn(ACol);
      ss->SetDirection(ss->InitSortDirection());
    }
    if (HasNodes()) {
      QSortGroup();
    } else if (undo) {
      UnSort();
      ss->SetColumn(-1);
    } else {
      QSort();
    }
  }
  SetLeftCol(std::min(left, std::max(FixedCols(), MaxLeftCol())));
  if (merge)
    for (int i = 0; i < FMergedColumns->Count(); ++i) MergeColumnCells(FMergedColumns->GetItem(i), i == 0);
  if (OnClickSort) OnClickSort(this, ss->Column());
}

// ---------------------------------------------------------------------------
// Splitting and merging runs of a column

void TPlusStringGrid::SplitColumnCells(int ACol) {
  const int last = RowCount() - FFixedFooters - 1;
  int r = 0;
  while (r <= last) {
    if (HasCellProperties(ACol, r) && IsBaseCell(ACol, r) && IsMergedCell(ACol, r)) {
      const int span = GetCellSpan(ACol, r).Y;
      SplitCells(ACol, r);
      r += std::max(1, span + 1);
    } else {
      ++r;
    }
  }
}

void TPlusStringGrid::MergeColumnCells(int ACol, bool FirstColumn) {
  const int first = FixedRows(), last = RowCount() - FFixedFooters - 1;
  // A row joins the run above when, in every other column where both lie in
  // vertical merges, they lie in the same one (and such a column exists).
  auto sameAreas = [&](int r) {
    bool any = false;
    for (int c = 0; c < ColCount(); ++c) {
      if (c == ACol) continue;
      if (!IsVertMerged(c, r) || !IsVertMerged(c, r - 1)) continue;
      any = true;
      if (GetBaseCell(c, r) != GetBaseCell(c, r - 1)) return false;
    }
    return any;
  };
  int start = first;
  while (start <= last) {
    const std::string v = GetCellText(ACol, start);
    int end = start;
    while (end + 1 <= last && GetCellText(ACol, end + 1) == v && (FirstColumn || sameAreas(end + 1))) ++end;
    if (end > start) MergeCells(ACol, start, 1, end - start + 1);
    start = end + 1;
  }
}
