// Delimited text files, spreadsheet workbooks, the grid's line-oriented text
// stream, and the sum, average, minimum and maximum of a column range.
#include <algorithm>
#include <charconv>
#include <cstring>
#include <string_view>
#include <fstream>
#include <iterator>

#include "grid/plusgrid.h"
#include "platform/rtl/codepages.h"
#include "platform/rtl/fileutils.h"
#include "platform/rtl/textfile.h"
#include "platform/ui/workbook.h"

namespace {

// Bounds on what a text stream may ask the grid to become.
constexpr int kMaxStreamRows = 1048576 * 4, kMaxStreamCols = 16384;

bool ValidUtf8(const std::string& s) {
  size_t i = 0;
  const size_t n = s.size();
  while (i < n) {
    const auto c = static_cast<unsigned char>(s[i]);
    int more = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
    if (more < 0 || (more == 1 && c < 0xC2) || (more == 3 && c > 0xF4)) return false;
    if (more > 0 && i + static_cast<size_t>(more) >= n) return false;
    for (int k = 1; k <= more; ++k)
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    if (more == 2) {
      const auto c1 = static_cast<unsigned char>(s[i + 1]);
      if ((c == 0xE0 && c1 < 0xA0) || (c == 0xED && c1 >= 0xA0)) return false;
    } else if (more == 3) {
      const auto c1 = static_cast<unsigned char>(s[i + 1]);
      if ((c == 0xF0 && c1 < 0x90) || (c == 0xF4 && c1 >= 0x90)) return false;
    }
    i += static_cast<size_t>(more) + 1;
  }
  return true;
}

// The bytes of a file; false when it cannot be opened or read. A folder, a
// pipe or a device, and a file far larger than any table, raise EFileKind
// at once.
bool ReadFileBytes(const std::string& FileName, std::string& Bytes) {
  try {
    Bytes = ReadRegularFile(FileName, MaxCsvFileSize, "a delimited text file");
  } catch (const EFileKind&) {
    throw;
  } catch (const Exception&) {
    return false;
  }
  return true;
}

// Lines ended by CR LF, LF or CR, taken one at a time; a last line
// without an end counts. The lines point into the text.
class TLineReader {
public:
  explicit TLineReader(std::string_view Text)
      : FPos(Text.data()), FEnd(Text.data() + Text.size()),
        FCr(std::memchr(Text.data(), '\r', Text.size()) != nullptr) {}
  bool Next(std::string_view& Line) {
    if (FPos >= FEnd) return false;
    // Most files end their lines with LF alone: memchr finds it.
    if (!FCr) {
      const auto* eol = static_cast<const char*>(std::memchr(FPos, '\n', static_cast<size_t>(FEnd - FPos)));
      if (!eol) eol = FEnd;
      Line = std::string_view(FPos, static_cast<size_t>(eol - FPos));
      FPos = eol + 1;
      return true;
    }
    const char* p = FPos;
    while (p < FEnd && *p != '\r' && *p != '\n') ++p;
    Line = std::string_view(FPos, static_cast<size_t>(p - FPos));
    if (p < FEnd && *p == '\r' && p + 1 < FEnd && p[1] == '\n') ++p;
    FPos = p + 1;
    return true;
  }

private:
  const char* FPos;
  const char* FEnd;
  bool FCr;
};

// Runs of the character that are not doubled: an odd run counts once, an
// even run not at all, a run at the line's end always.
int CountSingles(std::string_view Line, char C) {
  int count = 0;
  size_t i = 0;
  while (i < Line.size()) {
    if (Line[i] != C) {
      ++i;
      continue;
    }
    size_t j = i;
    while (j < Line.size() && Line[j] == C) ++j;
    if ((j - i) % 2 == 1 || j == Line.size()) ++count;
    i = j;
  }
  return count;
}

char DetectDelimiter(std::string_view L1, std::string_view L2) {
  static const char candidates[] = {',', ';', '#', '\t', '|', '@', '*', '-', '+', '&'};
  auto pick = [&](auto count) {
    char best = 0;
    int bestCount = 0;
    for (char c : candidates) {
      const int a = count(L1, c), b = count(L2, c);
      if (a == b && a > bestCount) {
        best = c;
        bestCount = a;
      }
    }
    return best;
  };
  auto plain = [](std::string_view s, char c) { return static_cast<int>(std::count(s.begin(), s.end(), c)); };
  if (char c = pick(CountSingles)) return c;
  if (char c = pick(plain)) return c;
  char best = 0;
  int bestCount = 0;
  for (char c : candidates) {
    const int n = std::max(plain(L1, c), plain(L2, c));
    if (n > bestCount) {
      best = c;
      bestCount = n;
    }
  }
  return best;
}

// Doubled quotes become one, lone quotes go.
std::string Unquote(std::string_view s) {
  if (s.find('"') == std::string_view::npos) return std::string(s);
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '"') {
      out += s[i];
      continue;
    }
    if (i + 1 < s.size() && s[i + 1] == '"') {
      out += '"';
      ++i;
    }
  }
  return out;
}

// Appends the fields of one line, as the delimited loader splits it, to Fields.
void SplitFields(std::string_view Line, char Delim, std::vector<std::string>& Fields) {
  constexpr size_t npos = std::string_view::npos;
  if (Delim && !Line.empty() && std::memchr(Line.data(), '"', Line.size()) == nullptr) {
    // No quotes: the fields are the pieces between delimiters, none after a
    // delimiter that ends the line.
    const char* p = Line.data();
    const char* end = p + Line.size();
    while (p < end) {
      const auto* d = static_cast<const char*>(std::memchr(p, Delim, static_cast<size_t>(end - p)));
      if (!d) d = end;
      Fields.emplace_back(p, static_cast<size_t>(d - p));
      p = d + 1;
    }
    return;
  }
  size_t pos = 0;
  const size_t n = Line.size();
  size_t d = Delim && pos < n ? Line.find(Delim, pos) : npos;
  while (d != npos) {
    if (Line[pos] == '"') {
      // The closing quote ends the first odd run of quotes followed by
      // another character, or the run at the line's end.
      size_t i = pos + 1, close = npos;
      while (i < n) {
        if (Line[i] != '"') {
          ++i;
          continue;
        }
        size_t j = i;
        while (j < n && Line[j] == '"') ++j;
        if ((j - i) % 2 == 1 || j == n) {
          close = j - 1;
          break;
        }
        i = j;
      }
      if (close == npos) {
        Fields.emplace_back();  // unbalanced: the field is empty
        return;
      }
      Fields.push_back(Unquote(Line.substr(pos + 1, close - pos - 1)));
      const size_t next = Line.find(Delim, close + 1);
      pos = next == npos ? n : next + 1;
    } else {
      Fields.push_back(Unquote(Line.substr(pos, d - pos)));
      pos = d + 1;
    }
    d = pos < n ? Line.find(Delim, pos) : npos;
  }
  if (pos < n) {
    std::string_view last = Line.substr(pos);
    if (!last.empty() && last.front() == '"') last.remove_prefix(1);
    if (!last.empty() && last.back() == '"') last.remove_suffix(1);
    Fields.push_back(Unquote(last));
  }
}

void ConvertLineBreaks(std::string& s, bool Tilde) {
  if (Tilde) {
    if (s == "^") {
      s.clear();
      return;
    }
    if (s.find('~') == std::string::npos) return;
    std::string out;
    for (char c : s) {
      if (c == '~') out += "\r\n";
      else out += c;
    }
    s = std::move(out);
  } else if (s.find('\x0B') != std::string::npos) {
    std::string out;
    for (char c : s) {
      if (c == '\x0B') out += "\r\n";
      else out += c;
    }
    s = std::move(out);
  }
}

bool ParseInt(const std::string& s, int& v) {
  auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  return ec == std::errc() && p == s.data() + s.size();
}

}  // namespace

// ---------------------------------------------------------------------------
// Delimited text

void TPlusStringGrid::LoadFromCSV(const std::string& FileName, int MaxRows) {
  std::string bytes;
  if (!ReadFileBytes(FileName, bytes)) throw EPlusGridError("Cannot open file " + FileName);
  if (std::memchr(bytes.data(), '\0', bytes.size()) != nullptr)
    throw EPlusGridError("Cannot read file " + FileName + ": it holds NUL bytes, so it is no text file");
  if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.erase(0, 3);
  if (FOemConvert) bytes = Cp850ToUtf8(bytes);
  else if (!ValidUtf8(bytes)) bytes = Cp1252ToUtf8(bytes);
  const std::string& text = bytes;
  TLineReader reader(text);
  std::string_view line1, line2;
  const bool hasLine1 = reader.Next(line1);
  const bool hasLine2 = hasLine1 && reader.Next(line2);

  const int colOffset = GetFirstCol(), rowOffset = GetFirstRow();
  char delim = FFileDelimiter;
  if (delim == '\0') delim = DetectDelimiter(line1, line2);
  size_t limit = MaxRows >= 0 ? static_cast<size_t>(MaxRows) : static_cast<size_t>(-1);
  // Line breaks inside cells are written as ~ (and an empty cell as ^) or
  // as a vertical tab: fields are looked at for them only when the file
  // has such a byte at all.
  const bool convert = FTildeLineBreaks ? std::memchr(text.data(), '~', text.size()) || std::memchr(text.data(), '^', text.size())
                                        : std::memchr(text.data(), '\x0B', text.size()) != nullptr;

  // Everything is parsed before the grid changes: the fields of all rows
  // in one list, row i's from rowStart[i] to rowStart[i + 1].
  std::vector<std::string> fields;
  std::vector<size_t> rowStart;
  int maxFields = 0;
  std::string_view line;
  bool have = FFirstLineIsData ? hasLine1 : hasLine2;
  line = FFirstLineIsData ? line1 : line2;
  bool second = FFirstLineIsData;  // the next line to take is the reader's
  while (have && rowStart.size() < limit) {
    rowStart.push_back(fields.size());
    SplitFields(line, delim, fields);
    if (rowStart.size() == 1 && !fields.empty()) {
      // Room for as many rows as the file has bytes for rows like the first
      // (no more fields than half its bytes: a field and its delimiter).
      const size_t guess = text.size() / (line.size() + 1) + 2;
      fields.reserve(std::min(fields.size() * guess, text.size() / 2 + 16));
      rowStart.reserve(guess);
    }
    if (convert)
      for (size_t f = rowStart.back(); f < fields.size(); ++f) ConvertLineBreaks(fields[f], FTildeLineBreaks);
    maxFields = std::max(maxFields, static_cast<int>(fields.size() - rowStart.back()));
    if (second) {
      line = line2;
      have = hasLine2;
      second = false;
    } else {
      have = reader.Next(line);
    }
  }
  const size_t count = rowStart.size();
  rowStart.push_back(fields.size());

  BeginUpdate();
  struct TEnd {
    TPlusStringGrid* G;
    ~TEnd() { G->EndUpdate(); }
  } end{this};
  const int needRows = rowOffset + static_cast<int>(count) + FFixedFooters;
  if (needRows > RowCount()) SetRowCount(needRows);
  if (colOffset + maxFields > ColCount()) SetColCount(colOffset + maxFields);
  int lastPercent = -1;
  for (size_t i = 0; i < count; ++i) {
    const int r = rowOffset + static_cast<int>(i);
    const size_t from = rowStart[i], to = rowStart[i + 1];
    if (to > from) ReserveRowCells(r, colOffset + static_cast<int>(to - from));
    for (size_t f = from; f < to; ++f) LoadCellText(colOffset + static_cast<int>(f - from), r, std::move(fields[f]));
    if (OnFileProgress) {
      const int percent = static_cast<int>((i + 1) * 100 / count);
      if (percent != lastPercent) {
        lastPercent = percent;
        OnFileProgress(this, static_cast<int16_t>(percent));
      }
    }
  }
  SetRowCount(rowOffset + static_cast<int>(count) + FFixedFooters);
  FMaxRowCountSet = RowCount();
  if (FloatingFooterRow() && RowCount() > 0)
    for (int c = 0; c < ColCount(); ++c) SetCellRaw(c, RowCount() - 1, "");
  CellsChanged(TRect{0, 0, ColCount(), RowCount()});
}

// ---------------------------------------------------------------------------
// Workbooks

void TPlusStringGrid::LoadExcelSheet(const std::string& FileName, const std::string& SheetName) {
  if (!FileExists(FileName)) throw EPlusGridError("Cannot open file " + FileName);
  try {
    CheckRegularFile(FileName);
  } catch (const Exception& e) {
    throw EPlusGridError(e.Message());
  }
  const TWorkbookFormat format = WorkbookFormatOf(FileName);
  if (format == wfNone) throw EPlusGridError("Excel OLE server not found");
  std::vector<TWorkbookSheet> sheets;
  try {
    sheets = ReadWorkbook(FileName);
  } catch (const EWorkbookError& e) {
    throw EPlusGridError("Cannot read workbook " + FileName + ": " + e.what());
  }
  const TWorkbookSheet* sheet = nullptr;
  if (SheetName.empty()) {
    if (!sheets.empty()) sheet = &sheets.front();
    else throw EPlusGridError("Cannot read workbook " + FileName + ": it holds no sheet");
  } else {
    for (const TWorkbookSheet& s : sheets)
      if (s.Name == SheetName) sheet = &s;
    if (!sheet) throw EPlusGridError("Excel worksheet " + SheetName + " not found");
  }
  // An empty sheet's used range is its first cell.
  const int firstRow = sheet->Empty() ? 0 : sheet->FirstRow, firstCol = sheet->Empty() ? 0 : sheet->FirstCol;
  const int rows = sheet->Empty() ? 1 : sheet->LastRow - sheet->FirstRow + 1;
  const int cols = sheet->Empty() ? 1 : sheet->LastCol - sheet->FirstCol + 1;

  BeginUpdate();
  struct TEnd {
    TPlusStringGrid* G;
    ~TEnd() {
      G->EndUpdate();
      G->CellsChanged(TRect{0, 0, G->ColCount(), G->RowCount()});
    }
  } end{this};
  const int fixedRows = TCustomGrid::FixedRows(), fixedCols = TCustomGrid::FixedCols();
  const int colOffset = FIncludeFixedCells ? 0 : fixedCols, rowOffset = FIncludeFixedCells ? 0 : fixedRows;
  SetColCount(cols + colOffset);
  SetRowCount(rows + rowOffset);
  if (fixedCols < ColCount() && TCustomGrid::FixedCols() != fixedCols) SetFixedCols(fixedCols);
  if (fixedRows < RowCount() && TCustomGrid::FixedRows() != fixedRows) SetFixedRows(fixedRows);
  for (const TWorkbookCell& c : sheet->Cells)
    LoadCellText(c.Col - firstCol + colOffset, c.Row - firstRow + rowOffset, c.Text);
}

void TPlusStringGrid::SaveExcelSheet(const std::string& FileName, const std::string& SheetName, bool NewWorkbook) {
  (void)NewWorkbook;  // a save always starts at row 1 of a workbook written anew
  TWorkbookSheet out;
  out.Name = SheetName;
  const int r0 = GetFirstRow(), c0 = GetFirstCol(), r1 = GetLastRow(), c1 = GetLastCol();
  for (int r = r0; r <= r1; ++r)
    for (int c = c0; c <= c1; ++c) {
      std::string s = SaveCellText(RealColIndex(c), r);
      s.erase(std::remove(s.begin(), s.end(), '\r'), s.end());
      if (!s.empty()) out.Cells.push_back({r - r0, c - c0, std::move(s)});
    }
  std::vector<TWorkbookSheet> sheets;
  if (!SheetName.empty() && FileExists(FileName)) {
    // The other sheets of a workbook we can read stay.
    try {
      sheets = ReadWorkbook(FileName);
    } catch (const EWorkbookError&) {
      sheets.clear();
    }
  }
  auto it = std::find_if(sheets.begin(), sheets.end(), [&](const TWorkbookSheet& s) { return s.Name == SheetName; });
  if (!SheetName.empty() && it != sheets.end()) *it = std::move(out);
  else sheets.push_back(std::move(out));
  try {
    WriteWorkbook(FileName, sheets);
  } catch (const Exception&) {
    throw EPlusGridError("Cannot save file " + FileName);
  }
}

// ---------------------------------------------------------------------------
// The text stream

void TPlusStringGrid::SaveCellsAsText(TStream* AStream) {
  const int r0 = GetFirstRow(), c0 = GetFirstCol(), r1 = GetLastRow(), c1 = GetLastCol();
  std::string out = std::to_string(c1 - c0 + 1) + "," + std::to_string(r1 - r0 + 1) + "\r\n";
  for (int c = 0; c < ColCount(); ++c) out += "cw " + std::to_string(c) + "," + std::to_string(ColWidths(c)) + "\r\n";
  NotifyProgress(0, -1);
  for (int r = r0; r <= r1; ++r) {
    NotifyProgress(1, r);
    for (int c = c0; c <= c1; ++c) {
      std::string s = SaveCellText(c, r);
      if (s.empty()) continue;
      if (s.find('\r') != std::string::npos)
        for (char& ch : s) {
          if (ch == '\r') ch = '\t';
          else if (ch == '\n') ch = '\b';
        }
      out += std::to_string(c - c0) + "," + std::to_string(r - r0) + "," + s + "\r\n";
    }
  }
  NotifyProgress(2, -1);
  AStream->WriteBuffer(out.data(), static_cast<int64_t>(out.size()));
}

void TPlusStringGrid::LoadCellsFromText(TStream* AStream) {
  const int64_t start = AStream->Position();
  std::string data;
  {
    char buf[65536];
    int64_t n;
    while ((n = AStream->Read(buf, sizeof buf)) > 0) data.append(buf, static_cast<size_t>(n));
  }
  auto fail = [&](const std::string& Why) {
    AStream->SetPosition(start);
    throw EPlusGridError("Cannot read the grid's cells: " + Why);
  };
  if (data.find('\0') != std::string::npos) fail("the text holds NUL bytes");

  // Parsed completely before the grid changes.
  struct TCellLine {
    int Col, Row;
    std::string Text;
  };
  std::vector<std::pair<int, int>> widths;
  std::vector<TCellLine> cells;
  int cols = -1, rows = -1;
  size_t pos = 0, consumed = 0;
  auto nextLine = [&](std::string& Line) {
    if (pos >= data.size()) return false;
    size_t e = data.find('\n', pos);
    size_t end = e == std::string::npos ? data.size() : e;
    Line = data.substr(pos, end - pos);
    if (!Line.empty() && Line.back() == '\r') Line.pop_back();
    pos = e == std::string::npos ? data.size() : e + 1;
    return true;
  };
  std::string line;
  const int colOffset = GetFirstCol(), rowOffset = GetFirstRow();
  if (nextLine(line) && !line.empty()) {
    const size_t comma = line.find(',');
    if (comma == std::string::npos || !ParseInt(line.substr(0, comma), cols) ||
        !ParseInt(line.substr(comma + 1), rows) || cols < 0 || rows < 0 || cols > kMaxStreamCols ||
        rows > kMaxStreamRows)
      fail("the size line \"" + line + "\" is not two counts in range");
    consumed = pos;
    while (true) {
      const size_t lineStart = pos;
      if (!nextLine(line)) break;
      if (line.rfind("cw", 0) == 0) {
        const std::string rest = line.substr(2);
        const size_t k = rest.find(',');
        int c = 0, w = 0;
        std::string cs = k == std::string::npos ? rest : rest.substr(0, k);
        cs.erase(0, cs.find_first_not_of(' '));
        if (k == std::string::npos || !ParseInt(cs, c) || !ParseInt(rest.substr(k + 1), w) || c < 0 ||
            c >= cols + colOffset || w < 0 || w > 10000)
          fail("the column width line \"" + line + "\" is out of range");
        widths.emplace_back(c, w);
        consumed = pos;
        continue;
      }
      const size_t a = line.find(',');
      const size_t b = a == std::string::npos ? std::string::npos : line.find(',', a + 1);
      int c = 0, r = 0;
      if (b == std::string::npos || !ParseInt(line.substr(0, a), c) || !ParseInt(line.substr(a + 1, b - a - 1), r)) {
        // Not a cell line: the rest belongs to the caller.
        pos = lineStart;
        break;
      }
      if (c < 0 || r < 0 || c >= cols || r >= rows) fail("a cell lies outside the stated size");
      std::string text = line.substr(b + 1);
      if (text.find('\b') != std::string::npos)
        for (char& ch : text) {
          if (ch == '\t') ch = '\r';
          else if (ch == '\b') ch = '\n';
        }
      if (!FMultilinecells) {
        size_t br = text.find_first_of("\r\n");
        if (br != std::string::npos) text.erase(br);
      }
      cells.push_back({c, r, std::move(text)});
      consumed = pos;
    }
  } else {
    consumed = pos;
  }
  AStream->SetPosition(start + static_cast<int64_t>(consumed));
  if (cols < 0) return;

  BeginUpdate();
  SetColCount(cols + colOffset);
  SetRowCount(rows + rowOffset);
  for (auto& [c, w] : widths)
    if (c < ColCount()) SetColWidths(c, w);
  for (TCellLine& l : cells) LoadCellText(l.Col + colOffset, l.Row + rowOffset, std::move(l.Text));
  EndUpdate();
  CellsChanged(TRect{0, 0, ColCount(), RowCount()});
}

// ---------------------------------------------------------------------------
// Column figures

double TPlusStringGrid::ColumnFigure(int ACol, int FromRow, int ToRow, int Kind) {
  // Past the last data row (the footer row is none) the range runs over real
  // rows, hidden ones included; without hidden rows both are the same.
  const int lastData = FloatingFooterRow() ? RowCount() - 2 : RowCount() - 1;
  const bool real = NumHiddenRows() > 0 && ToRow > lastData;
  double result = 0;
  bool any = false;
  NotifyProgress(0, -1);
  for (int r = FromRow; r <= ToRow; ++r) {
    double v = 0;
    try {
      if (real) {
        if (!IsHiddenRow(r)) {
          const int d = DisplRowIndex(r);
          if (d >= RowCount()) continue;
          if (HasCellProperties(ACol, d) && !IsBaseCell(ACol, d)) continue;
        }
        v = GetCellFloatAll(ACol, r);
      } else {
        if (r < 0 || r >= RowCount()) continue;
        if (FGroupColumn >= 0 && (IsNode(r) || IsSummary(r))) continue;
        if (HasCellProperties(ACol, r) && !IsBaseCell(ACol, r)) continue;
        v = GetCellFloat(ACol, r);
      }
    } catch (const EPlusGridError&) {
      continue;  // not a number: not counted
    }
    NotifyProgress(1, r);
    if (!any) result = v;
    else if (Kind == 0) result += v;
    else if (Kind == 1) result = std::min(result, v);
    else result = std::max(result, v);
    any = true;
  }
  NotifyProgress(2, -1);
  return any ? result : 0;
}

double TPlusStringGrid::ColumnSum(int ACol, int FromRow, int ToRow) { return ColumnFigure(ACol, FromRow, ToRow, 0); }

double TPlusStringGrid::ColumnAvg(int ACol, int FromRow, int ToRow) {
  if (ToRow < FromRow) return 0;
  return ColumnSum(ACol, FromRow, ToRow) / (ToRow - FromRow + 1);
}

double TPlusStringGrid::ColumnMin(int ACol, int FromRow, int ToRow) { return ColumnFigure(ACol, FromRow, ToRow, 1); }
double TPlusStringGrid::ColumnMax(int ACol, int FromRow, int ToRow) { return ColumnFigure(ACol, FromRow, ToRow, 2); }
