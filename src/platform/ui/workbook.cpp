#include "platform/ui/workbook.h"

#include <freexl.h>
#include <minizip/unzip.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <QByteArray>
#include <QString>
#include <QXmlStreamReader>
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>

#include "platform/rtl/fileutils.h"

namespace {

// Bounds for hostile files: Excel's own sheet size, and the most one part
// of a workbook may unpack to.
constexpr int kMaxRows = 1048576, kMaxCols = 16384;
constexpr uint64_t kMaxPartSize = 512ull << 20;

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
  explicit TZipReader(const std::string& FileName) : FZip(unzOpen64(FileName.c_str())) {
    if (!FZip) throw EWorkbookError("the zip container is damaged");
  }
  ~TZipReader() { unzClose(FZip); }
  bool Has(const std::string& Name) { return unzLocateFile(FZip, Name.c_str(), 2) == UNZ_OK; }
  std::string Read(const std::string& Name) {
    if (!Has(Name)) throw EWorkbookError("the part " + Name + " is missing");
    unz_file_info64 info{};
    if (unzGetCurrentFileInfo64(FZip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
      throw EWorkbookError("the part " + Name + " is damaged");
    if (info.uncompressed_size > kMaxPartSize) throw EWorkbookError("the part " + Name + " is too large");
    if (unzOpenCurrentFile(FZip) != UNZ_OK) throw EWorkbookError("the part " + Name + " is damaged");
    std::string data;
    char buf[65536];
    int n = 0;
    while ((n = unzReadCurrentFile(FZip, buf, sizeof buf)) > 0) {
      data.append(buf, static_cast<size_t>(n));
      if (data.size() > kMaxPartSize) break;
    }
    const int closed = unzCloseCurrentFile(FZip);
    if (n < 0 || closed != UNZ_OK || data.size() > kMaxPartSize)
      throw EWorkbookError("the part " + Name + " is damaged");
    return data;
  }

private:
  unzFile FZip;
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
                  TWorkbookSheet& Sheet) {
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
        ref = Attr(x, "r");
        type = Attr(x, "t");
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
        ++nextRow;
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
          Include(Sheet, cellRow, cellCol);
          Sheet.Cells.push_back({cellRow, cellCol, text});
        }
      }
    }
  }
  CheckXml(x, Part);
}

std::vector<TWorkbookSheet> ReadXlsx(const std::string& FileName) {
  TZipReader zip(FileName);
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
  for (size_t i = 0; i < sheets.size(); ++i) ReadSheetXml(zip.Read(parts[i]), parts[i], shared, sheets[i]);
  return sheets;
}

// ---- .xls

std::vector<TWorkbookSheet> ReadXls(const std::string& FileName) {
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
  std::ifstream f(FileName, std::ios::binary);
  if (!f) return wfNone;
  char buf[8] = {};
  f.read(buf, sizeof buf);
  return WorkbookFormatOfBytes(std::string(buf, static_cast<size_t>(f.gcount())));
}

std::vector<TWorkbookSheet> ReadWorkbook(const std::string& FileName) {
  switch (WorkbookFormatOf(FileName)) {
    case wfXls: return ReadXls(FileName);
    case wfXlsx: return ReadXlsx(FileName);
    default: throw EWorkbookError("the file is no workbook");
  }
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
