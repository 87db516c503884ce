// Mutation driver of the workbook readers, with a small book budget on (so
// that a run stays fast and a budget that does not hold shows at once).
//
// Targets:
//   xls     ReadWorkbook of damaged compound-file / BIFF8 bytes (a book built
//           here by the two layouts, cells of each kind)
//   xlsx    ReadWorkbook of a zip whose parts are mutated: the input is the
//           parts' text ("\n@@" name "\n" before each), zipped here stored
//           and with true checksums, so that the damage reaches the XML
//   zip     ReadWorkbook of a damaged zip container
// Rules: only the layer's exceptions come out; a book read holds at most the
// budget's cells, each inside its sheet's used range and the format's last
// row and column.
#include <minizip/zip.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "fuzzdriver.h"
#include "platform/ui/workbook.h"

namespace {

constexpr uint64_t kCells = 65536;
constexpr uint64_t kBytes = 8u << 20;

std::string gFile;

void WriteFile(const std::string& name, const std::string& bytes) {
  FILE* f = std::fopen(name.c_str(), "wb");
  if (!f) fuzzdriver::Fault("cannot write " + name);
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

std::string ReadFile(const std::string& name) { return fuzzdriver::ReadWholeFile(name.c_str()); }

void CheckBook(const std::string& file) {
  fuzzdriver::ExpectLayerErrors([&] {
    const std::vector<TWorkbookSheet> book = ReadWorkbook(file);
    uint64_t cells = 0;
    for (const TWorkbookSheet& s : book) {
      cells += s.Cells.size();
      for (const TWorkbookCell& c : s.Cells) {
        if (c.Row < 0 || c.Col < 0 || c.Row > 1048575 || c.Col > 16383)
          fuzzdriver::Fault("a cell outside the format: " + std::to_string(c.Row) + ", " + std::to_string(c.Col));
        if (c.Row < s.FirstRow || c.Row > s.LastRow || c.Col < s.FirstCol || c.Col > s.LastCol)
          fuzzdriver::Fault("a cell outside its sheet's used range");
      }
    }
    if (cells > kCells) fuzzdriver::Fault("the book holds " + std::to_string(cells) + " cells, past the budget");
  });
}

// ---- .xls, by the compound-file and BIFF8 layouts

void Put16(std::string& s, unsigned v) { s += static_cast<char>(v & 0xFF), s += static_cast<char>((v >> 8) & 0xFF); }
void Put32(std::string& s, uint32_t v) {
  Put16(s, v & 0xFFFF);
  Put16(s, v >> 16);
}
void Record(std::string& s, unsigned type, const std::string& body) {
  Put16(s, type);
  Put16(s, static_cast<unsigned>(body.size()));
  s += body;
}
std::string Bof(unsigned kind) {
  std::string b;
  Put16(b, 0x0600);
  Put16(b, kind);
  Put16(b, 0x0DBB);
  Put16(b, 0x07CC);
  Put32(b, 0);
  Put32(b, 0x06);
  return b;
}
std::string CellHead(unsigned row, unsigned col) {
  std::string b;
  Put16(b, row);
  Put16(b, col);
  Put16(b, 15);
  return b;
}

// A book of `sheets` sheets, each with a label, a number, an RK number, a
// boolean and a shared string, in one "Workbook" stream of 512-byte sectors.
std::string Xls(int sheets, int rows, int cols) {
  std::string globals;
  Record(globals, 0x0809, Bof(0x0005));
  std::string cp;
  Put16(cp, 1200);
  Record(globals, 0x0042, cp);
  for (int i = 0; i < 16; ++i) Record(globals, 0x00E0, std::string(20, '\0'));
  std::string sst;
  Put32(sst, 2);
  Put32(sst, 2);
  for (const std::string t : {"Fe", "O2-"}) {
    Put16(sst, static_cast<unsigned>(t.size()));
    sst += '\0';
    sst += t;
  }
  Record(globals, 0x00FC, sst);
  std::vector<size_t> boundAt;
  for (int k = 0; k < sheets; ++k) {
    boundAt.push_back(globals.size());
    std::string bound;
    Put32(bound, 0);  // patched below
    bound += std::string("\0\0", 2);
    const std::string name = "Sheet" + std::to_string(k + 1);
    bound += static_cast<char>(name.size());
    bound += '\0';
    bound += name;
    Record(globals, 0x0085, bound);
  }
  Record(globals, 0x000A, "");
  std::string stream = globals;
  for (int k = 0; k < sheets; ++k) {
    const uint32_t at = static_cast<uint32_t>(stream.size());
    for (int b = 0; b < 4; ++b) stream[boundAt[k] + 4 + b] = static_cast<char>((at >> (8 * b)) & 0xFF);
    std::string sheet;
    Record(sheet, 0x0809, Bof(0x0010));
    std::string dim;
    Put32(dim, 0);
    Put32(dim, static_cast<uint32_t>(rows));
    Put16(dim, 0);
    Put16(dim, static_cast<unsigned>(cols));
    Put16(dim, 0);
    Record(sheet, 0x0200, dim);
    std::string num = CellHead(0, 0);
    const double v = 5.4 + k;
    uint64_t bits;
    std::memcpy(&bits, &v, 8);
    Put32(num, static_cast<uint32_t>(bits));
    Put32(num, static_cast<uint32_t>(bits >> 32));
    Record(sheet, 0x0203, num);
    std::string label = CellHead(1, 0);
    Put32(label, static_cast<uint32_t>(k % 2));
    Record(sheet, 0x00FD, label);
    std::string rk = CellHead(1, 1);
    Put32(rk, (42u << 2) | 2u);  // the integer 42
    Record(sheet, 0x027E, rk);
    std::string boolerr = CellHead(2, 1);
    boolerr += std::string("\x01\x00", 2);
    Record(sheet, 0x0205, boolerr);
    std::string text = CellHead(2, 0);
    Put16(text, 3);
    text += '\0';
    text += "Pb1";
    Record(sheet, 0x0204, text);
    Record(sheet, 0x000A, "");
    stream += sheet;
  }
  const uint32_t streamSize = static_cast<uint32_t>(std::max<size_t>(stream.size(), 4096));
  stream.resize((streamSize + 511) / 512 * 512, '\0');
  const uint32_t sectors = static_cast<uint32_t>(stream.size() / 512);

  std::string header("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
  header += std::string(16, '\0');
  Put16(header, 0x003E);
  Put16(header, 0x0003);
  Put16(header, 0xFFFE);
  Put16(header, 9);
  Put16(header, 6);
  header += std::string(6, '\0');
  Put32(header, 0);           // directory sectors (version 3)
  Put32(header, 1);           // FAT sectors
  Put32(header, 1);           // first directory sector
  Put32(header, 0);
  Put32(header, 0x1000);      // mini stream cut-off
  Put32(header, 0xFFFFFFFE);  // no mini FAT
  Put32(header, 0);
  Put32(header, 0xFFFFFFFE);  // no DIFAT sectors
  Put32(header, 0);
  Put32(header, 0);  // the FAT is sector 0
  while (header.size() < 512) Put32(header, 0xFFFFFFFF);
  std::string fat;
  Put32(fat, 0xFFFFFFFD);
  Put32(fat, 0xFFFFFFFE);
  for (uint32_t i = 0; i < sectors; ++i) Put32(fat, i + 1 < sectors ? 3 + i : 0xFFFFFFFE);
  while (fat.size() < 512) Put32(fat, 0xFFFFFFFF);
  auto entry = [](const std::string& name, int type, uint32_t child, uint32_t start, uint32_t size) {
    std::string e;
    for (char c : name) Put16(e, static_cast<unsigned char>(c));
    e.resize(64, '\0');
    Put16(e, name.empty() ? 0 : static_cast<unsigned>((name.size() + 1) * 2));
    e += static_cast<char>(type);
    e += static_cast<char>(1);
    Put32(e, 0xFFFFFFFF);
    Put32(e, 0xFFFFFFFF);
    Put32(e, child);
    e += std::string(16 + 4 + 16, '\0');
    Put32(e, start);
    Put32(e, size);
    Put32(e, 0);
    return e;
  };
  const std::string dir = entry("Root Entry", 5, 1, 0xFFFFFFFE, 0) + entry("Workbook", 2, 0xFFFFFFFF, 2, streamSize) +
                          entry("", 0, 0xFFFFFFFF, 0, 0) + entry("", 0, 0xFFFFFFFF, 0, 0);
  return header + fat + dir + stream;
}

void RunXls(const std::string& bytes) {
  WriteFile(gFile + ".xls", bytes);
  CheckBook(gFile + ".xls");
}

// ---- .xlsx

const char* const kRels =
    "<?xml version=\"1.0\"?><Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
    "officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>";

std::vector<std::pair<std::string, std::string>> XlsxParts() {
  return {
      {"_rels/.rels", kRels},
      {"xl/workbook.xml",
       "<?xml version=\"1.0\"?><workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
       "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><sheets>"
       "<sheet name=\"Atoms\" sheetId=\"1\" r:id=\"rId1\"/><sheet name=\"Other\" sheetId=\"2\" r:id=\"rId2\"/>"
       "</sheets></workbook>"},
      {"xl/_rels/workbook.xml.rels",
       "<?xml version=\"1.0\"?><Relationships "
       "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
       "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
       "worksheet\" Target=\"worksheets/sheet1.xml\"/>"
       "<Relationship Id=\"rId2\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
       "worksheet\" Target=\"/xl/worksheets/sheet2.xml\"/>"
       "<Relationship Id=\"rId3\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
       "sharedStrings\" Target=\"sharedStrings.xml\"/></Relationships>"},
      {"xl/sharedStrings.xml",
       "<?xml version=\"1.0\"?><sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" count=\"3\">"
       "<si><t>Label</t></si><si><r><t>Fe</t></r><r><t>1</t></r></si><si><t xml:space=\"preserve\"> O &amp; "
       "H</t></si></sst>"},
      {"xl/worksheets/sheet1.xml",
       "<?xml version=\"1.0\"?><worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
       "<dimension ref=\"B2:D5\"/><sheetData>"
       "<row r=\"2\"><c r=\"B2\" t=\"s\"><v>0</v></c><c r=\"C2\" t=\"inlineStr\"><is><t>x</t></is></c></row>"
       "<row r=\"3\"><c r=\"B3\" t=\"s\"><v>1</v></c><c r=\"C3\"><v>0.25</v></c><c "
       "r=\"D3\"><f>C3*2</f><v>0.5</v></c></row>"
       "<row><c t=\"s\"><v>2</v></c><c t=\"e\"><v>#DIV/0!</v></c><c t=\"b\"><v>1</v></c></row>"
       "<row r=\"5\"><c r=\"D5\" t=\"str\"><f>\"a\"&amp;\"b\"</f><v>ab</v></c></row>"
       "</sheetData></worksheet>"},
      {"xl/worksheets/sheet2.xml",
       "<?xml version=\"1.0\"?><worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
       "<sheetData><row r=\"1\"><c r=\"A1\"><v>7</v></c></row><row><c><v>8</v></c></row></sheetData></worksheet>"},
  };
}

// The parts as the xlsx target's input text.
std::string PartsText(const std::vector<std::pair<std::string, std::string>>& parts) {
  std::string text;
  for (const auto& [name, data] : parts) text += "\n@@" + name + "\n" + data;
  return text;
}

// A zip of the parts, stored (no compression) with true checksums.
std::string Zip(const std::vector<std::pair<std::string, std::string>>& parts) {
  const std::string name = gFile + "-parts.zip";
  zipFile z = zipOpen64(name.c_str(), 0);
  if (!z) fuzzdriver::Fault("cannot write " + name);
  for (const auto& [part, data] : parts) {
    zip_fileinfo info{};
    if (zipOpenNewFileInZip(z, part.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, 0, 0) == ZIP_OK) {
      zipWriteInFileInZip(z, data.data(), static_cast<unsigned>(data.size()));
      zipCloseFileInZip(z);
    }
  }
  zipClose(z, nullptr);
  return ReadFile(name);
}

void RunXlsx(const std::string& text) {
  std::vector<std::pair<std::string, std::string>> parts;
  for (size_t at = text.find("\n@@"); at != std::string::npos;) {
    const size_t nameEnd = text.find('\n', at + 3);
    if (nameEnd == std::string::npos) break;
    const size_t next = text.find("\n@@", nameEnd);
    parts.emplace_back(text.substr(at + 3, nameEnd - at - 3),
                       text.substr(nameEnd + 1, (next == std::string::npos ? text.size() : next) - nameEnd - 1));
    at = next;
  }
  WriteFile(gFile + ".xlsx", Zip(parts));
  CheckBook(gFile + ".xlsx");
}

void RunZip(const std::string& bytes) {
  WriteFile(gFile + ".xlsx", bytes);
  CheckBook(gFile + ".xlsx");
}

}  // namespace

int main(int argc, char** argv) {
  gFile = "/tmp/fuzz-workbook-" + std::to_string(::getpid());
  SetWorkbookBudget(kCells, kBytes);
  std::vector<fuzzdriver::TTarget> targets;
  targets.push_back({"xls",
                     {Xls(1, 3, 2), Xls(3, 3, 2), Xls(2, 65536, 256)},
                     RunXls,
                     {std::string("\xFF\xFF\xFF\xFF", 4), std::string("\xFE\xFF\xFF\xFF", 4),
                      std::string("\x09\x08\x10\x00", 4), std::string("\x00\x02\x0E\x00", 4),
                      std::string("\xFD\x00\x0A\x00", 4), std::string("\x3C\x00", 2), std::string("\xBD\x00", 2),
                      std::string("\xFC\x00", 2), std::string("\x0A\x00\x00\x00", 4)}});
  const auto parts = XlsxParts();
  std::vector<std::pair<std::string, std::string>> one(parts.begin(), parts.begin() + 3);
  one[1].second = parts[1].second.substr(0, parts[1].second.find("<sheet name=\"Other\""));
  one.push_back(parts[4]);
  targets.push_back({"xlsx",
                     {PartsText(parts), PartsText(one)},
                     RunXlsx,
                     {"\n@@xl/worksheets/sheet1.xml\n", "<row>", "<row r=\"1048576\">", "<c r=\"XFD1\">", "<c>",
                      "<v>1</v></c>", "t=\"s\"", "t=\"inlineStr\"", "<si><t>", "</t></si>", "<dimension ref=\"A1:XFD1048576\"/>",
                      "<sheet name=\"S\" sheetId=\"3\" r:id=\"rId1\"/>", "&amp;", "&#x10FFFF;", "<![CDATA[", "<!DOCTYPE x [",
                      "count=\"2147483647\""}});
  gFile += "-z";
  const std::string zipSeed = Zip(parts);
  gFile.resize(gFile.size() - 2);
  targets.push_back({"zip", {zipSeed}, RunZip, {"PK\x03\x04", "PK\x01\x02", "PK\x05\x06", std::string("\xFF\xFF\xFF\xFF", 4)}});
  const int rc = fuzzdriver::Main(argc, argv, "fuzz-workbook", targets);
  for (const char* ext : {".xls", ".xlsx", "-parts.zip", "-z-parts.zip"}) ::unlink((gFile + ext).c_str());
  return rc;
}
