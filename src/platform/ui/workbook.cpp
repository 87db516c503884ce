#include "platform/ui/workbook.h"

#include <freexl.h>
#include <minizip/unzip.h>
#include <sys/stat.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <QByteArray>
#include <QString>
#include <QXmlStreamReader>
#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>

#include "platform/rtl/fileutils.h"
#include "platform/rtl/textfile.h"

namespace {

// Bounds for hostile files: Excel's own sheet size.
constexpr int kMaxRows = 1048576, kMaxCols = 16384;

std::string Thousands(uint64_t n) {
  std::string s = std::to_string(n);
  for (int at = static_cast<int>(s.size()) - 3; at > 0; at -= 3) s.insert(static_cast<size_t>(at), ",");
  return s;
}

uint64_t BudgetCells = MaxWorkbookCells, BudgetBytes = MaxWorkbookBytes;

// What one load of a workbook may take, for the whole book: a small file of
// many sheets, or of parts that unpack hugely, is refused when it passes.
class TBookBudget {
public:
  // Cells looked at: each cell of an .xlsx sheet, the used range of an .xls sheet.
  void Cells(uint64_t n) {
    if (n > BudgetCells - FCells)
      throw EWorkbookError("it holds more than " + Thousands(BudgetCells) + " cells, the most one load takes");
    FCells += n;
  }
  // Bytes unpacked from the file, and the text of the cells kept.
  void Bytes(uint64_t n) {
    if (n > BudgetBytes - FBytes)
      throw EWorkbookError("it unpacks to more than " + SizeText(BudgetBytes) + ", the most one load takes");
    FBytes += n;
  }
  uint64_t BytesLeft() const { return BudgetBytes - FBytes; }

private:
  uint64_t FCells = 0, FBytes = 0;
};

std::string NumberText(double v) {
  char buf[64];
  auto [p, ec] = std::to_chars(buf, buf + sizeof buf, v);
  return ec == std::errc() ? std::string(buf, p) : std::string();
}

// "B12" -> (11, 1); false for anything else.
bool ParseCellRef(const std::string& Ref, int& Row, int& Col) {
  size_t i = 0;
  if (i < Ref.size() && Ref[i] == '$') ++i;
  long col = 0;
  size_t letters = 0;
  while (i < Ref.size() && std::isalpha(static_cast<unsigned char>(Ref[i]))) {
    col = col * 26 + (std::toupper(static_cast<unsigned char>(Ref[i])) - 'A' + 1);
    if (++letters > 3) return false;
    ++i;
  }
  if (i < Ref.size() && Ref[i] == '$') ++i;
  long row = 0;
  size_t digits = 0;
  while (i < Ref.size() && std::isdigit(static_cast<unsigned char>(Ref[i]))) {
    row = row * 10 + (Ref[i] - '0');
    if (++digits > 7) return false;
    ++i;
  }
  if (i != Ref.size() || letters == 0 || digits == 0 || row < 1 || row > kMaxRows || col > kMaxCols) return false;
  Row = static_cast<int>(row - 1);
  Col = static_cast<int>(col - 1);
  return true;
}

void Include(TWorkbookSheet& S, int Row, int Col) {
  if (S.Empty()) {
    S.FirstRow = S.LastRow = Row;
    S.FirstCol = S.LastCol = Col;
    return;
  }
  S.FirstRow = std::min(S.FirstRow, Row);
  S.LastRow = std::max(S.LastRow, Row);
  S.FirstCol = std::min(S.FirstCol, Col);
  S.LastCol = std::max(S.LastCol, Col);
}

// ---- .xlsx

class TZipReader {
public:
  TZipReader(const std::string& FileName, TBookBudget& Budget) : FZip(unzOpen64(FileName.c_str())), FBudget(Budget) {
    if (!FZip) throw EWorkbookError("the zip container is damaged");
  }
  ~TZipReader() { unzClose(FZip); }
  bool Has(const std::string& Name) { return unzLocateFile(FZip, Name.c_str(), 2) == UNZ_OK; }
  std::string Read(const std::string& Name) {
    if (!Has(Name)) throw EWorkbookError("the part " + Name + " is missing");
    unz_file_info64 info{};
    if (unzGetCurrentFileInfo64(FZip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
      throw EWorkbookError("the part " + Name + " is damaged");
    // The size the archive claims is checked first; what really comes out is
    // counted as it comes.
    if (info.uncompressed_size > FBudget.BytesLeft()) FBudget.Bytes(info.uncompressed_size);
    if (unzOpenCurrentFile(FZip) != UNZ_OK) throw EWorkbookError("the part " + Name + " is damaged");
    std::string data;
    char buf[65536];
    int n = 0;
    try {
      while ((n = unzReadCurrentFile(FZip, buf, sizeof buf)) > 0) {
        FBudget.Bytes(static_cast<uint64_t>(n));
        data.append(buf, static_cast<size_t>(n));
      }
    } catch (...) {
      unzCloseCurrentFile(FZip);
      throw;
    }
    const int closed = unzCloseCurrentFile(FZip);
    if (n < 0 || closed != UNZ_OK) throw EWorkbookError("the part " + Name + " is damaged");
    return data;
  }

private:
  unzFile FZip;
  TBookBudget& FBudget;
};

void CheckXml(const QXmlStreamReader& X, const std::string& Part) {
  if (X.hasError()) throw EWorkbookError("the part " + Part + " is no valid XML");
}

std::string Attr(const QXmlStreamReader& X, const char* Name) {
  return X.attributes().value(QLatin1String(Name)).toString().toStdString();
}

// A relationship target relative to the folder of the part that names it.
std::string ResolveTarget(const std::string& Folder, std::string Target) {
  if (!Target.empty() && Target[0] == '/') return Target.substr(1);
  std::string base = Folder;
  while (Target.rfind("../", 0) == 0) {
    Target.erase(0, 3);
    if (!base.empty()) base.pop_back();
    size_t p = base.rfind('/');
    base = p == std::string::npos ? std::string() : base.substr(0, p + 1);
  }
  return base + Target;
}

std::map<std::string, std::pair<std::string, std::string>> ReadRels(TZipReader& Zip, const std::string& Part) {
  std::map<std::string, std::pair<std::string, std::string>> rels;  // id -> (type, target)
  if (!Zip.Has(Part)) return rels;
  const std::string data = Zip.Read(Part);
  QXmlStreamReader x(QByteArray::fromRawData(data.data(), static_cast<qsizetype>(data.size())));
  while (!x.atEnd()) {
    x.readNext();
    if (x.isStartElement() && x.name() == QLatin1String("Relationship"))
      rels[Attr(x, "Id")] = {Attr(x, "Type"), Attr(x, "Target")};
  }
  CheckXml(x, Part);
  return rels;
}

std::string Folder(const std::string& Part) {
  size_t p = Part.rfind('/');
  return p == std::string::npos ? std::string() : Part.substr(0, p + 1);
}

std::string RelsOf(const std::string& Part) {
  return Folder(Part) + "_rels/" + Part.substr(Folder(Part).size()) + ".rels";
}

bool EndsWith(const std::string& s, const std::string& e) {
  return s.size() >= e.size() && s.compare(s.size() - e.size(), e.size(), e) == 0;
}

std::vector<std::string> ReadSharedStrings(TZipReader& Zip, const std::string& Part) {
  std::vector<std::string> list;
  const std::string data = Zip.Read(Part);
  QXmlStreamReader x(QByteArray::fromRawData(data.data(), static_cast<qsizetype>(data.size())));
  std::string current;
  int phonetic = 0;
  bool inItem = false;
  while (!x.atEnd()) {
    x.readNext();
    if (x.isStartElement()) {
      if (x.name() == QLatin1String("si")) {
        inItem = true;
        current.clear();
      } else if (x.name() == QLatin1String("rPh")) {
        ++phonetic;
      } else if (x.name() == QLatin1String("t") && inItem && phonetic == 0) {
        current += x.readElementText().toStdString();
      }
    } else if (x.isEndElement()) {
      if (x.name() == QLatin1String("si")) {
        list.push_back(current);
        inItem = false;
      } else if (x.name() == QLatin1String("rPh")) {
        --phonetic;
      }
    }
  }
  CheckXml(x, Part);
  return list;
}

void ReadSheetXml(const std::string& Data, const std::string& Part, const std::vector<std::string>& Shared,
                  TWorkbookSheet& Sheet, TBookBudget& Budget) {
  QXmlStreamReader x(QByteArray::fromRawData(Data.data(), static_cast<qsizetype>(Data.size())));
  int nextRow = 0;
  std::string ref, type, value, inlineText;
  bool inCell = false, hasValue = false, hasInline = false;
  int cellRow = 0, cellCol = 0, nextCol = 0;
  while (!x.atEnd()) {
    x.readNext();
    if (x.isStartElement()) {
      const auto n = x.name();
      if (n == QLatin1String("dimension")) {
        const std::string d = Attr(x, "ref");
        const size_t colon = d.find(':');
        int r1, c1, r2, c2;
        if (colon == std::string::npos) {
          if (ParseCellRef(d, r1, c1)) Include(Sheet, r1, c1);
        } else if (ParseCellRef(d.substr(0, colon), r1, c1) && ParseCellRef(d.substr(colon + 1), r2, c2)) {
          Include(Sheet, r1, c1);
          Include(Sheet, r2, c2);
        }
      } else if (n == QLatin1String("row")) {
        const std::string r = Attr(x, "r");
        int v = 0;
        auto [p, ec] = std::from_chars(r.data(), r.data() + r.size(), v);
        nextRow = ec == std::errc() && p == r.data() + r.size() && v >= 1 && v <= kMaxRows ? v - 1 : nextRow;
        nextCol = 0;
      } else if (n == QLatin1String("c")) {
        Budget.Cells(1);
        ref = Attr(x, "r");
        type = Attr(x, "t");
        // Rows without numbers count on from the last; not past the last row.
        if (nextRow >= kMaxRows && ref.empty())
          throw EWorkbookError("the part " + Part + " has rows beyond row " + Thousands(kMaxRows));
        cellRow = nextRow;
        cellCol = nextCol;
        if (!ref.empty() && !ParseCellRef(ref, cellRow, cellCol))
          throw EWorkbookError("the part " + Part + " names a cell " + ref + " outside any sheet");
        if (cellCol >= kMaxCols) throw EWorkbookError("the part " + Part + " has a row beyond the last column");
        nextCol = cellCol + 1;
        inCell = true;
        hasValue = hasInline = false;
        value.clear();
        inlineText.clear();
      } else if (inCell && n == QLatin1String("v")) {
        value = x.readElementText().toStdString();
        hasValue = true;
      } else if (inCell && n == QLatin1String("t")) {
        inlineText += x.readElementText().toStdString();
        hasInline = true;
      }
    } else if (x.isEndElement()) {
      if (x.name() == QLatin1String("row")) {
        if (nextRow < kMaxRows) ++nextRow;
      } else if (x.name() == QLatin1String("c") && inCell) {
        inCell = false;
        std::string text;
        bool present = true;
        if (type == "e") {
          present = false;
        } else if (type == "s") {
          int idx = -1;
          auto [p, ec] = std::from_chars(value.data(), value.data() + value.size(), idx);
          if (!hasValue || ec != std::errc() || idx < 0 || idx >= static_cast<int>(Shared.size()))
            throw EWorkbookError("the part " + Part + " refers to a shared string that does not exist");
          text = Shared[static_cast<size_t>(idx)];
        } else if (type == "inlineStr") {
          text = inlineText;
        } else if (type == "b") {
          text = value == "1" ? "TRUE" : value == "0" ? "FALSE" : value;
        } else if (type == "str") {
          text = value;
        } else {
          double d = 0;
          auto [p, ec] = std::from_chars(value.data(), value.data() + value.size(), d);
          text = ec == std::errc() && p == value.data() + value.size() ? NumberText(d) : value;
        }
        if (present && !text.empty()) {
          Budget.Bytes(text.size());
          Include(Sheet, cellRow, cellCol);
          Sheet.Cells.push_back({cellRow, cellCol, text});
        }
      }
    }
  }
  CheckXml(x, Part);
}

std::vector<TWorkbookSheet> ReadXlsx(const std::string& FileName) {
  TBookBudget budget;
  TZipReader zip(FileName, budget);
  std::string book = "xl/workbook.xml";
  for (auto& [id, rel] : ReadRels(zip, "_rels/.rels"))
    if (EndsWith(rel.first, "/officeDocument")) book = ResolveTarget("", rel.second);
  const auto rels = ReadRels(zip, RelsOf(book));
  std::vector<std::string> shared;
  for (auto& [id, rel] : rels)
    if (EndsWith(rel.first, "/sharedStrings")) shared = ReadSharedStrings(zip, ResolveTarget(Folder(book), rel.second));

  std::vector<TWorkbookSheet> sheets;
  std::vector<std::string> parts;
  {
    const std::string data = zip.Read(book);
    QXmlStreamReader x(QByteArray::fromRawData(data.data(), static_cast<qsizetype>(data.size())));
    while (!x.atEnd()) {
      x.readNext();
      if (!x.isStartElement() || x.name() != QLatin1String("sheet")) continue;
      const std::string id = x.attributes().value(QLatin1String("http://schemas.openxmlformats.org/officeDocument/2006/relationships"),
                                                  QLatin1String("id")).toString().toStdString();
      std::string rid = id.empty() ? Attr(x, "r:id") : id;
      auto it = rels.find(rid);
      if (it == rels.end()) throw EWorkbookError("the sheet " + Attr(x, "name") + " has no part");
      TWorkbookSheet s;
      s.Name = Attr(x, "name");
      sheets.push_back(s);
      parts.push_back(ResolveTarget(Folder(book), it->second.second));
    }
    CheckXml(x, book);
  }
  for (size_t i = 0; i < sheets.size(); ++i) ReadSheetXml(zip.Read(parts[i]), parts[i], shared, sheets[i], budget);
  return sheets;
}

// ---- .xls
//
// The library that reads .xls trusts what it finds: a damaged record can make
// it read past its own buffers, and a small file can claim sheets of 16
// million cells each. So the file is walked first, by the documented layouts
// of the compound file and of BIFF, and handed over only when every sector
// chain, every record length and the cells the sheets claim are sound.

uint16_t U16(const std::string& B, size_t At) {
  return static_cast<uint16_t>(static_cast<unsigned char>(B[At]) | static_cast<unsigned char>(B[At + 1]) << 8);
}
uint32_t U32(const std::string& B, size_t At) { return U16(B, At) | static_cast<uint32_t>(U16(B, At + 2)) << 16; }

[[noreturn]] void Damaged(const std::string& What) { throw EWorkbookError("the workbook is damaged (" + What + ")"); }

// The streams of a compound file, read through its allocation tables.
class TCompoundFile {
public:
  explicit TCompoundFile(const std::string& Bytes) : B(Bytes) {
    if (B.size() < 512 || WorkbookFormatOfBytes(B) != wfXls) Damaged("no compound file");
    const uint16_t shift = U16(B, 0x1E);
    if (U16(B, 0x1C) != 0xFFFE || (shift != 9 && shift != 12) || U16(B, 0x20) != 6) Damaged("header");
    FSector = size_t{1} << shift;
    FSectors = (B.size() - std::min(B.size(), FSector)) / FSector;
    // The allocation table's sectors: 109 in the header, then the DIFAT chain.
    const uint32_t fatSectors = U32(B, 0x2C);
    if (fatSectors > FSectors) Damaged("allocation table");
    std::vector<uint32_t> fat;
    for (uint32_t i = 0; i < 109 && fat.size() < fatSectors; ++i) fat.push_back(U32(B, 0x4C + 4 * i));
    uint32_t difat = U32(B, 0x44);
    for (uint32_t hops = 0; fat.size() < fatSectors; ++hops) {
      if (difat >= FSectors || hops > FSectors) Damaged("allocation table");
      const size_t at = Offset(difat);
      for (size_t i = 0; i + 1 < FSector / 4 && fat.size() < fatSectors; ++i) fat.push_back(U32(B, at + 4 * i));
      difat = U32(B, at + FSector - 4);
    }
    for (uint32_t s : fat) {
      if (s >= FSectors) Damaged("allocation table");
      const size_t at = Offset(s);
      for (size_t i = 0; i < FSector / 4; ++i) FFat.push_back(U32(B, at + 4 * i));
    }
    // The directory; the root entry holds the small-stream container.
    const std::string dir = Chain(FFat, U32(B, 0x30), SIZE_MAX, FSector, false);
    for (size_t at = 0; at + 128 <= dir.size(); at += 128) {
      const uint16_t nameBytes = U16(dir, at + 64);
      std::string name;
      for (size_t i = 0; i + 2 <= std::min<size_t>(nameBytes, 64); i += 2)
        if (const uint16_t c = U16(dir, at + i); c) name += c < 128 ? static_cast<char>(c) : '?';
      FEntries.push_back({name, static_cast<unsigned char>(dir[at + 66]), U32(dir, at + 116),
                          U32(dir, at + 120) | (static_cast<uint64_t>(U32(dir, at + 124)) << 32)});
    }
    if (FEntries.empty() || FEntries[0].Type != 5) Damaged("directory");
  }

  // The stream of that name (a stream entry), empty when there is none.
  std::string Stream(const std::string& Name) {
    for (const TEntry& e : FEntries) {
      if (e.Type != 2 || e.Name != Name) continue;
      if (e.Size > B.size()) Damaged("stream size");
      if (e.Size >= U32(B, 0x38)) return Chain(FFat, e.Start, e.Size, FSector, false);
      // A small stream: 64-byte sectors inside the root's container.
      const std::string mini = Chain(FFat, FEntries[0].Start, FEntries[0].Size, FSector, false);
      std::vector<uint32_t> miniFat;
      const std::string table = Chain(FFat, U32(B, 0x3C), SIZE_MAX, FSector, true);
      for (size_t i = 0; i + 4 <= table.size(); i += 4) miniFat.push_back(U32(table, i));
      return Chain(miniFat, e.Start, e.Size, 64, false, &mini);
    }
    return std::string();
  }

private:
  struct TEntry {
    std::string Name;
    unsigned char Type;
    uint32_t Start;
    uint64_t Size;
  };

  size_t Offset(uint32_t Sector) const { return (static_cast<size_t>(Sector) + 1) * FSector; }

  // Follows a sector chain: every sector within the file (or the container),
  // no loop, and at least Size bytes when a size is given. A chain ending
  // at once (an empty table) is empty when allowEmpty.
  std::string Chain(const std::vector<uint32_t>& Table, uint32_t Start, uint64_t Size, size_t Sector, bool AllowEmpty,
                    const std::string* Container = nullptr) const {
    const std::string& from = Container ? *Container : B;
    const size_t count = Container ? from.size() / Sector : FSectors;
    std::string out;
    uint32_t s = Start;
    for (size_t hops = 0; s != 0xFFFFFFFEu; ++hops) {
      if (Size != SIZE_MAX && out.size() >= Size) break;
      if ((AllowEmpty && hops == 0 && s == 0xFFFFFFFFu) || s >= count || s >= Table.size() || hops > count)
        Damaged("sector chain");
      const size_t at = Container ? static_cast<size_t>(s) * Sector : Offset(s);
      if (at + Sector > from.size()) Damaged("sector chain");
      out.append(from, at, Sector);
      s = Table[s];
    }
    if (Size != SIZE_MAX) {
      if (out.size() < Size) Damaged("stream shorter than its entry says");
      out.resize(static_cast<size_t>(Size));
    }
    return out;
  }

  const std::string& B;
  size_t FSector = 512, FSectors = 0;
  std::vector<uint32_t> FFat;
  std::vector<TEntry> FEntries;
};

// Longest data of one BIFF record (BIFF8; earlier versions allow less).
constexpr uint16_t kMaxBiffRecord = 8224;

// Every record of the workbook stream whole and no longer than BIFF allows;
// the cells the sheets' dimensions claim go to the budget.
void CheckBiff(const std::string& W, TBookBudget& Budget) {
  if (W.size() < 4) Damaged("empty workbook stream");
  std::vector<uint32_t> sheets;
  bool biff8 = false;
  for (size_t at = 0; at + 4 <= W.size();) {
    const uint16_t type = U16(W, at), length = U16(W, at + 2);
    if (length > kMaxBiffRecord) Damaged("a record longer than BIFF allows");
    if (at + 4 + length > W.size()) Damaged("a record cut short");
    const size_t data = at + 4;
    if (type == 0x0809 && length >= 2 && at == 0) biff8 = U16(W, data) == 0x0600;
    if (type == 0x0085 && length >= 4) sheets.push_back(U32(W, data));
    if (type == 0x0200) {
      uint64_t rows = 0, cols = 0;
      if (biff8 && length >= 14) {
        rows = U32(W, data + 4) > U32(W, data) ? U32(W, data + 4) - U32(W, data) : 0;
        cols = U16(W, data + 10) > U16(W, data + 8) ? U16(W, data + 10) - U16(W, data + 8) : 0;
      } else if (!biff8 && length >= 10) {
        rows = U16(W, data + 2) > U16(W, data) ? U16(W, data + 2) - U16(W, data) : 0;
        cols = U16(W, data + 6) > U16(W, data + 4) ? U16(W, data + 6) - U16(W, data + 4) : 0;
      }
      Budget.Cells(rows * cols);
    }
    at = data + length;
  }
  for (uint32_t pos : sheets)
    if (pos + 4 > W.size() || U16(W, pos) != 0x0809) Damaged("a sheet that is not where the workbook says");
}

std::vector<TWorkbookSheet> ReadXls(const std::string& FileName) {
  TBookBudget budget;
  {
    std::string bytes;
    try {
      bytes = ReadRegularFile(FileName, MaxWorkbookFileSize, "a workbook");
    } catch (const Exception& e) {
      throw EWorkbookError(e.Message());
    }
    TCompoundFile file(bytes);
    std::string stream = file.Stream("Workbook");
    if (stream.empty()) stream = file.Stream("Book");
    CheckBiff(stream, budget);
  }
  const void* h = nullptr;
  if (freexl_open(FileName.c_str(), &h) != FREEXL_OK) {
    if (h) freexl_close(h);
    throw EWorkbookError("the workbook is damaged");
  }
  std::unique_ptr<const void, int (*)(const void*)> guard(h, freexl_close);
  unsigned int count = 0;
  if (freexl_get_info(h, FREEXL_BIFF_SHEET_COUNT, &count) != FREEXL_OK)
    throw EWorkbookError("the workbook is damaged");
  std::vector<TWorkbookSheet> sheets;
  for (unsigned int i = 0; i < count && i < 65535; ++i) {
    TWorkbookSheet s;
    const char* name = nullptr;
    if (freexl_get_worksheet_name(h, static_cast<unsigned short>(i), &name) == FREEXL_OK && name) s.Name = name;
    unsigned int rows = 0;
    unsigned short cols = 0;
    if (freexl_select_active_worksheet(h, static_cast<unsigned short>(i)) != FREEXL_OK ||
        freexl_worksheet_dimensions(h, &rows, &cols) != FREEXL_OK)
      throw EWorkbookError("the sheet " + s.Name + " is damaged");
    rows = std::min<unsigned int>(rows, kMaxRows);
    for (unsigned int r = 0; r < rows; ++r)
      for (unsigned short c = 0; c < cols && c < kMaxCols; ++c) {
        FreeXL_CellValue v{};
        if (freexl_get_cell_value(h, r, c, &v) != FREEXL_OK) continue;
        std::string text;
        switch (v.type) {
          case FREEXL_CELL_INT: text = std::to_string(v.value.int_value); break;
          case FREEXL_CELL_DOUBLE: text = NumberText(v.value.double_value); break;
          case FREEXL_CELL_TEXT:
          case FREEXL_CELL_SST_TEXT:
          case FREEXL_CELL_DATE:
          case FREEXL_CELL_DATETIME:
          case FREEXL_CELL_TIME:
            if (v.value.text_value) text = v.value.text_value;
            break;
          default: break;
        }
        if (text.empty()) continue;
        budget.Bytes(text.size());
        Include(s, static_cast<int>(r), c);
        s.Cells.push_back({static_cast<int>(r), c, text});
      }
    sheets.push_back(std::move(s));
  }
  return sheets;
}

}  // namespace

// ---------------------------------------------------------------------------

TWorkbookFormat WorkbookFormatOfBytes(const std::string& FirstBytes) {
  static const std::string cfb("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
  if (FirstBytes.compare(0, cfb.size(), cfb) == 0) return wfXls;
  if (FirstBytes.compare(0, 4, std::string("PK\x03\x04", 4)) == 0) return wfXlsx;
  return wfNone;
}

TWorkbookFormat WorkbookFormatOf(const std::string& FileName) {
  // A pipe or a device is no workbook (and a pipe would hold the open).
  struct stat st;
  if (::stat(FileName.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return wfNone;
  std::ifstream f(FileName, std::ios::binary);
  if (!f) return wfNone;
  char buf[8] = {};
  f.read(buf, sizeof buf);
  return WorkbookFormatOfBytes(std::string(buf, static_cast<size_t>(f.gcount())));
}

std::vector<TWorkbookSheet> ReadWorkbook(const std::string& FileName) {
  try {
    CheckRegularFile(FileName);
    CheckFileSize(FileName, MaxWorkbookFileSize, "a workbook");
  } catch (const Exception& e) {
    throw EWorkbookError(e.Message());
  }
  switch (WorkbookFormatOf(FileName)) {
    case wfXls: return ReadXls(FileName);
    case wfXlsx: return ReadXlsx(FileName);
    default: throw EWorkbookError("the file is no workbook");
  }
}

void SetWorkbookBudget(uint64_t Cells, uint64_t Bytes) {
  BudgetCells = Cells ? Cells : MaxWorkbookCells;
  BudgetBytes = Bytes ? Bytes : MaxWorkbookBytes;
}

std::string WorkbookColumnName(int ACol) {
  std::string s;
  for (int n = ACol + 1; n > 0; n = (n - 1) / 26) s.insert(s.begin(), static_cast<char>('A' + (n - 1) % 26));
  return s;
}

void WriteWorkbook(const std::string& FileName, const std::vector<TWorkbookSheet>& Sheets) {
  // The writer wants a file name: it writes a private temporary file, whose
  // bytes then go to the user's file through the atomic save.
  std::string tmp = (std::filesystem::temp_directory_path() / "zvbookXXXXXX").string();
  const int fd = mkstemp(tmp.data());
  if (fd < 0) throw EWorkbookError("no temporary file");
  close(fd);
  struct TRemove {
    std::string Name;
    ~TRemove() { std::remove(Name.c_str()); }
  } remover{tmp};
  lxw_workbook* wb = workbook_new(tmp.c_str());
  if (!wb) throw EWorkbookError("the workbook cannot be made");
  bool ok = true;
  for (const TWorkbookSheet& s : Sheets) {
    lxw_worksheet* ws = workbook_add_worksheet(wb, s.Name.empty() ? nullptr : s.Name.c_str());
    if (!ws) {
      ok = false;
      break;
    }
    for (const TWorkbookCell& c : s.Cells) {
      if (c.Row < 0 || c.Col < 0 || c.Row >= kMaxRows || c.Col >= kMaxCols ||
          worksheet_write_string(ws, static_cast<lxw_row_t>(c.Row), static_cast<lxw_col_t>(c.Col), c.Text.c_str(),
                                 nullptr) != LXW_NO_ERROR) {
        ok = false;
        break;
      }
    }
    if (!ok) break;
  }
  if (Sheets.empty() && !workbook_add_worksheet(wb, nullptr)) ok = false;
  const lxw_error closed = workbook_close(wb);
  if (!ok || closed != LXW_NO_ERROR) throw EWorkbookError("the workbook cannot be written");
  std::ifstream f(tmp, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  if (!f.good() && !f.eof()) throw EWorkbookError("the workbook cannot be written");
  try {
    WriteFileAtomic(FileName, bytes);
  } catch (const Exception& e) {
    throw EWorkbookError(e.what());
  }
}
