// Files of the string grid: delimited text (delimiter detection, quotes,
// encodings, refusals), the grid's text stream, column figures, and
// workbooks read and written (a hand-made .xlsx, saves and reloads).
#include <gtest/gtest.h>
#include <minizip/zip.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "grid/plusgrid.h"
#include "platform/rtl/fileutils.h"
#include "platform/rtl/streams.h"
#include "platform/ui/workbook.h"
#include "support/gui/guitest.h"
#include "support/tempdir.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

Rows Cells(TPlusStringGrid& g) {
  Rows out(g.RowCount());
  for (int r = 0; r < g.RowCount(); ++r)
    for (int c = 0; c < g.ColCount(); ++c) out[r].push_back(g.Cells(c, r));
  return out;
}

std::unique_ptr<TPlusStringGrid> NewGrid(int cols = 2, int rows = 2) {
  auto g = std::make_unique<TPlusStringGrid>(nullptr);
  g->SetColCount(cols);
  g->SetRowCount(rows);
  return g;
}

// A zip of the given parts, stored as a workbook would be.
std::string WriteZip(const TTempDir& Dir, const std::string& Name,
                     const std::vector<std::pair<std::string, std::string>>& Parts) {
  const std::string path = Dir.File(Name);
  zipFile z = zipOpen64(path.c_str(), 0);
  EXPECT_NE(z, nullptr);
  for (auto& [name, data] : Parts) {
    zip_fileinfo info{};
    EXPECT_EQ(zipOpenNewFileInZip(z, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                                  Z_DEFAULT_COMPRESSION),
              ZIP_OK);
    zipWriteInFileInZip(z, data.data(), static_cast<unsigned>(data.size()));
    zipCloseFileInZip(z);
  }
  zipClose(z, nullptr);
  return path;
}

const char* kRels =
    "<?xml version=\"1.0\"?><Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
    "officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>";

// Two sheets: "Atoms" with the used range B2:D5, and "Other".
std::string AtomWorkbook(const TTempDir& Dir) {
  const std::string book =
      "<?xml version=\"1.0\"?><workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
      "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><sheets>"
      "<sheet name=\"Atoms\" sheetId=\"1\" r:id=\"rId1\"/><sheet name=\"Other\" sheetId=\"2\" r:id=\"rId2\"/>"
      "</sheets></workbook>";
  const std::string bookRels =
      "<?xml version=\"1.0\"?><Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
      "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
      "worksheet\" Target=\"worksheets/sheet1.xml\"/>"
      "<Relationship Id=\"rId2\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
      "worksheet\" Target=\"/xl/worksheets/sheet2.xml\"/>"
      "<Relationship Id=\"rId3\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
      "sharedStrings\" Target=\"sharedStrings.xml\"/></Relationships>";
  const std::string shared =
      "<?xml version=\"1.0\"?><sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" count=\"3\">"
      "<si><t>Label</t></si><si><r><t>Fe</t></r><r><t>1</t></r></si><si><t xml:space=\"preserve\"> O &amp; H</t>"
      "</si></sst>";
  const std::string sheet1 =
      "<?xml version=\"1.0\"?><worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
      "<dimension ref=\"B2:D5\"/><sheetData>"
      "<row r=\"2\"><c r=\"B2\" t=\"s\"><v>0</v></c><c r=\"C2\" t=\"inlineStr\"><is><t>x</t></is></c></row>"
      "<row r=\"3\"><c r=\"B3\" t=\"s\"><v>1</v></c><c r=\"C3\"><v>0.25</v></c><c r=\"D3\"><f>C3*2</f><v>0.5</v></c></row>"
      "<row r=\"4\"><c r=\"B4\" t=\"s\"><v>2</v></c><c r=\"C4\" t=\"e\"><v>#DIV/0!</v></c><c r=\"D4\" t=\"b\"><v>1</v></c></row>"
      "<row r=\"5\"><c r=\"D5\" t=\"str\"><f>\"a\"&amp;\"b\"</f><v>ab</v></c></row>"
      "</sheetData></worksheet>";
  const std::string sheet2 =
      "<?xml version=\"1.0\"?><worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
      "<sheetData><row r=\"1\"><c r=\"A1\"><v>7</v></c></row></sheetData></worksheet>";
  return WriteZip(Dir, "atoms.xlsx",
                  {{"_rels/.rels", kRels},
                   {"xl/workbook.xml", book},
                   {"xl/_rels/workbook.xml.rels", bookRels},
                   {"xl/sharedStrings.xml", shared},
                   {"xl/worksheets/sheet1.xml", sheet1},
                   {"xl/worksheets/sheet2.xml", sheet2}});
}


// ---- A small .xls written by the compound-file and BIFF8 layouts: one
// "Workbook" stream of at least 4,096 bytes (so no mini stream is needed)
// in a file of 512-byte sectors: FAT, directory, then the stream.

void Put16(std::string& s, unsigned v) { s += static_cast<char>(v & 0xFF), s += static_cast<char>((v >> 8) & 0xFF); }
void Put32(std::string& s, uint32_t v) {
  Put16(s, v & 0xFFFF);
  Put16(s, v >> 16);
}
void Record(std::string& s, unsigned Type, const std::string& Body) {
  Put16(s, Type);
  Put16(s, static_cast<unsigned>(Body.size()));
  s += Body;
}
std::string Bof(unsigned Kind) {
  std::string b;
  Put16(b, 0x0600);
  Put16(b, Kind);
  Put16(b, 0x0DBB);
  Put16(b, 0x07CC);
  Put32(b, 0);
  Put32(b, 0x06);
  return b;
}

struct TXlsCell {
  int Row, Col;
  bool Number;
  double Value;
  int Sst;
};

std::string XlsWorkbook(const std::string& SheetName, const std::vector<std::string>& Strings,
                        const std::vector<TXlsCell>& Cells, int Rows, int Cols) {
  std::string globals;
  Record(globals, 0x0809, Bof(0x0005));
  std::string cp;
  Put16(cp, 1200);
  Record(globals, 0x0042, cp);
  for (int i = 0; i < 16; ++i) Record(globals, 0x00E0, std::string(20, '\0'));
  std::string sst;
  Put32(sst, static_cast<uint32_t>(Strings.size()));
  Put32(sst, static_cast<uint32_t>(Strings.size()));
  for (const std::string& t : Strings) {
    Put16(sst, static_cast<unsigned>(t.size()));
    sst += '\0';
    sst += t;
  }
  Record(globals, 0x00FC, sst);
  const size_t sheetRecordAt = globals.size();
  std::string bound;
  Put32(bound, 0);  // patched below
  bound += '\0';
  bound += '\0';
  bound += static_cast<char>(SheetName.size());
  bound += '\0';
  bound += SheetName;
  Record(globals, 0x0085, bound);
  Record(globals, 0x000A, "");
  const uint32_t sheetAt = static_cast<uint32_t>(globals.size());
  for (int k = 0; k < 4; ++k) globals[sheetRecordAt + 4 + k] = static_cast<char>((sheetAt >> (8 * k)) & 0xFF);

  std::string sheet;
  Record(sheet, 0x0809, Bof(0x0010));
  std::string dim;
  Put32(dim, 0);
  Put32(dim, static_cast<uint32_t>(Rows));
  Put16(dim, 0);
  Put16(dim, static_cast<unsigned>(Cols));
  Put16(dim, 0);
  Record(sheet, 0x0200, dim);
  for (const TXlsCell& c : Cells) {
    std::string b;
    Put16(b, static_cast<unsigned>(c.Row));
    Put16(b, static_cast<unsigned>(c.Col));
    Put16(b, 15);
    if (c.Number) {
      uint64_t bits;
      std::memcpy(&bits, &c.Value, 8);
      Put32(b, static_cast<uint32_t>(bits));
      Put32(b, static_cast<uint32_t>(bits >> 32));
      Record(sheet, 0x0203, b);
    } else {
      Put32(b, static_cast<uint32_t>(c.Sst));
      Record(sheet, 0x00FD, b);
    }
  }
  Record(sheet, 0x000A, "");
  std::string stream = globals + sheet;
  const uint32_t streamSize = static_cast<uint32_t>(std::max<size_t>(stream.size(), 4096));
  stream.resize((streamSize + 511) / 512 * 512, '\0');
  const uint32_t sectors = static_cast<uint32_t>(stream.size() / 512);

  std::string header;
  header += std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
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

  auto entry = [](const std::string& Name, int Type, uint32_t Child, uint32_t Start, uint32_t Size) {
    std::string e;
    for (char c : Name) Put16(e, static_cast<unsigned char>(c));
    e.resize(64, '\0');
    Put16(e, Name.empty() ? 0 : static_cast<unsigned>((Name.size() + 1) * 2));
    e += static_cast<char>(Type);
    e += static_cast<char>(1);
    Put32(e, 0xFFFFFFFF);
    Put32(e, 0xFFFFFFFF);
    Put32(e, Child);
    e += std::string(16 + 4 + 16, '\0');
    Put32(e, Start);
    Put32(e, Size);
    Put32(e, 0);
    return e;
  };
  std::string dir = entry("Root Entry", 5, 1, 0xFFFFFFFE, 0) + entry("Workbook", 2, 0xFFFFFFFF, 2, streamSize) +
                    entry("", 0, 0xFFFFFFFF, 0, 0) + entry("", 0, 0xFFFFFFFF, 0, 0);
  return header + fat + dir + stream;
}

// ---------------------------------------------------------------------------
// Delimited text

TEST(GridFilesCSV, AFileThatIsNoneOrTooLargeIsRefusedBeforeItIsRead) {
  TTempDir dir;
  const std::string big = dir.Write("big.csv", "");
  ASSERT_EQ(::truncate(big.c_str(), off_t{2} << 30), 0);
  const std::string fifo = dir.File("pipe.csv");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  auto g = NewGrid(2, 2);
  g->SetCells(0, 0, "mine");
  const std::pair<std::string, const char*> cases[] = {
      {big, "it holds 2 GB, more than the 128 MB a delimited text file may have."},
      {fifo, "it is not a regular file."},
      {dir.Path(), "it is a folder."}};
  for (const auto& [file, says] : cases) {
    SCOPED_TRACE(file);
    try {
      g->LoadFromCSV(file);
      ADD_FAILURE() << "loaded";
    } catch (const Exception& e) {
      EXPECT_NE(e.Message().find(says), std::string::npos) << e.Message();
    }
    EXPECT_EQ(g->Cells(0, 0), "mine");
  }
}

TEST(GridFilesCSV, DelimiterDetection) {
  struct Case {
    const char* Name;
    std::string Text;
    std::vector<std::string> FirstRow;
  };
  const std::vector<Case> cases = {
      {"same count of semicolons, a comma only in line 1", "a;b,c;d\ne;f;g\n", {"a", "b,c", "d"}},
      {"commas", "1,2,3\n4,5,6\n", {"1", "2", "3"}},
      {"tabs", "x\ty\nz\tw\n", {"x", "y"}},
      {"a doubled delimiter is an empty field", "a||b|c\nd|e\n", {"a", "", "b", "c"}},
      {"uneven lines take the most frequent", "a#b#c\nd\n", {"a", "b", "c"}},
      {"no candidate: one field", "plain text\nmore\n", {"plain text"}},
      {"one line", "p+q\n", {"p", "q"}},
  };
  TTempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    auto g = NewGrid(1, 1);
    g->LoadFromCSV(dir.Write("d.csv", c.Text));
    std::vector<std::string> row;
    for (size_t k = 0; k < c.FirstRow.size(); ++k) row.push_back(g->Cells(static_cast<int>(k), 0));
    EXPECT_EQ(row, c.FirstRow);
    EXPECT_EQ(g->ColCount(), std::max<int>(1, static_cast<int>(c.FirstRow.size())));
  }
}

TEST(GridFilesCSV, QuotesAndLineBreaks) {
  TTempDir dir;
  auto g = NewGrid(1, 1);
  g->SetFileDelimiter(';');
  g->LoadFromCSV(dir.Write("q.csv",
                           "\"x;y\";\"he said \"\"hi\"\"\";z\r\n"
                           "\"q\" tail;last\"\r\n"
                           "a\x0B" "b;\"open;end\r\n"));
  EXPECT_EQ(Cells(*g), (Rows{{"x;y", "he said \"hi\"", "z"}, {"q", "last", ""}, {"a\r\nb", "", ""}}));

  auto t = NewGrid(1, 1);
  t->SetTildeLineBreaks(true);
  t->SetFileDelimiter(',');
  t->LoadFromCSV(dir.Write("t.csv", "a~b,^,c\n"));
  EXPECT_EQ(Cells(*t), (Rows{{"a\r\nb", "", "c"}}));
}

TEST(GridFilesCSV, ManyLinesSizeAndOptions) {
  TTempDir dir;
  std::string text;
  for (int i = 0; i < 2500; ++i) text += std::to_string(i) + ",v" + std::to_string(i) + "\n";
  const std::string name = dir.Write("big.csv", text);
  auto g = NewGrid();
  g->LoadFromCSV(name);
  EXPECT_EQ(g->RowCount(), 2500);
  EXPECT_EQ(g->Cells(1, 2499), "v2499");

  auto f = NewGrid();
  f->SetFixedFooters(1);
  std::vector<int> progress;
  f->OnFileProgress = [&](TObject*, int16_t p) { progress.push_back(p); };
  f->LoadFromCSV(name);
  EXPECT_EQ(f->RowCount(), 2501) << "the fixed footer comes on top";
  ASSERT_FALSE(progress.empty());
  EXPECT_EQ(progress.back(), 100);
  EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));

  auto m = NewGrid(3, 5);
  m->SetCells(2, 4, "kept?");
  m->SetFirstLineIsData(false);
  m->LoadFromCSV(name, 3);
  EXPECT_EQ(m->RowCount(), 3);
  EXPECT_EQ(m->Cells(0, 0), "1") << "the first line was skipped";
  EXPECT_EQ(m->Cells(2, 0), "") << "cells the file does not reach keep theirs";
}

TEST(GridFilesCSV, EncodingsAndRefusals) {
  TTempDir dir;
  auto g = NewGrid(1, 1);
  g->LoadFromCSV(dir.Write("w.csv", "caf\xE9;\x80\n"));
  EXPECT_EQ(g->Cells(0, 0), "caf\xC3\xA9");
  EXPECT_EQ(g->Cells(1, 0), "\xE2\x82\xAC");
  g->LoadFromCSV(dir.Write("u.csv", "\xEF\xBB\xBFna\xC3\xAFve;x\n"));
  EXPECT_EQ(g->Cells(0, 0), "na\xC3\xAFve");

  auto h = NewGrid(2, 2);
  h->SetCells(1, 1, "mine");
  const Rows before = Cells(*h);
  try {
    h->LoadFromCSV(dir.File("missing.csv"));
    ADD_FAILURE();
  } catch (const EPlusGridError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot open file " + dir.File("missing.csv"));
  }
  EXPECT_THROW(h->LoadFromCSV(dir.Write("bin.csv", std::string("a;b\n\0\1;c\n", 9))), EPlusGridError);
  EXPECT_EQ(Cells(*h), before) << "a refused file changes nothing";
}

// ---------------------------------------------------------------------------
// The text stream

TEST(GridFilesStream, RoundTripAndMultilineCells) {
  auto g = NewGrid(3, 3);
  g->SetCells(0, 0, "a");
  g->SetCells(2, 1, "two\r\nlines");
  g->SetCells(1, 2, "3,5");
  g->SetColWidths(1, 90);
  TStringStream s;
  g->SaveCellsAsText(&s);
  EXPECT_EQ(s.DataString().substr(0, 5), "3,3\r\n");
  EXPECT_NE(s.DataString().find("2,1,two\t\blines\r\n"), std::string::npos);
  for (bool multi : {true, false}) {
    auto h = NewGrid(1, 1);
    h->SetMultilinecells(multi);
    s.SetPosition(0);
    h->LoadCellsFromText(&s);
    EXPECT_EQ(h->ColCount(), 3);
    EXPECT_EQ(h->ColWidths(1), 90);
    EXPECT_EQ(h->Cells(1, 2), "3,5");
    EXPECT_EQ(h->Cells(2, 1), multi ? "two\r\nlines" : "two");
  }
}

TEST(GridFilesStream, ForeignLinesAndHostileStreams) {
  auto g = NewGrid(2, 2);
  TStringStream s("2,2\r\n0,0,x\r\nnext record\r\n");
  g->LoadCellsFromText(&s);
  EXPECT_EQ(g->Cells(0, 0), "x");
  EXPECT_EQ(s.Position(), 12) << "the stream stops at the foreign line";

  auto h = NewGrid(2, 2);
  h->SetCells(1, 1, "mine");
  const Rows before = Cells(*h);
  for (const std::string& bad : {std::string("99999999,99999999\r\n"), std::string("2,2\r\n5,0,far\r\n"),
                                 std::string("2,2\r\ncw 1,-4\r\n"), std::string("x,y\r\n"),
                                 std::string("2,2\r\n0,0,a\0b\r\n", 14)}) {
    SCOPED_TRACE(bad);
    TStringStream t(bad);
    EXPECT_THROW(h->LoadCellsFromText(&t), EPlusGridError);
    EXPECT_EQ(t.Position(), 0);
    EXPECT_EQ(Cells(*h), before);
  }
}

// ---------------------------------------------------------------------------
// Column figures

TEST(GridFilesFigures, SumAverageMinMax) {
  auto g = NewGrid(2, 7);
  const std::vector<std::string> v{"head", "4", "", "x", "-2", "10", "1,000"};
  for (int r = 0; r < 7; ++r) g->SetCells(1, r, v[r]);
  EXPECT_DOUBLE_EQ(g->ColumnSum(1, 1, 5), 12);
  EXPECT_DOUBLE_EQ(g->ColumnAvg(1, 1, 4), 0.5) << "(4 + 0 - 2) / 4 rows";
  EXPECT_DOUBLE_EQ(g->ColumnMin(1, 0, 6), -2) << "starts from the first number";
  EXPECT_DOUBLE_EQ(g->ColumnMax(1, 0, 6), 1000);
  EXPECT_DOUBLE_EQ(g->ColumnMax(1, 3, 3), 0) << "no number: 0";
  EXPECT_DOUBLE_EQ(g->ColumnAvg(1, 4, 3), 0);
  g->MergeCells(1, 4, 1, 2);
  EXPECT_DOUBLE_EQ(g->ColumnSum(1, 1, 5), 2) << "the covered cell does not count";

  auto h = NewGrid(2, 5);
  for (int r = 1; r < 5; ++r) h->SetCells(1, r, std::to_string(r));
  h->HideRow(2);
  EXPECT_DOUBLE_EQ(h->ColumnSum(1, 1, 3), 1 + 3 + 4) << "display rows";
  EXPECT_DOUBLE_EQ(h->ColumnSum(1, 1, 4), 10) << "beyond the shown rows: real rows, the hidden one too";
  EXPECT_DOUBLE_EQ(h->ColumnMin(1, 2, 4), 2);
}

// ---------------------------------------------------------------------------
// Workbooks

TEST(GridFilesWorkbook, UsedRangeSheetsAndValues) {
  TTempDir dir;
  const std::string book = AtomWorkbook(dir);
  auto g = NewGrid(5, 5);
  g->LoadExcelFile(book);
  EXPECT_EQ(g->ColCount(), 3);
  EXPECT_EQ(g->RowCount(), 4);
  EXPECT_EQ(Cells(*g), (Rows{{"Label", "x", ""}, {"Fe1", "0.25", "0.5"}, {" O & H", "", "TRUE"}, {"", "", "ab"}}));

  g->LoadExcelSheet(book, "Other");
  EXPECT_EQ(Cells(*g), (Rows{{"7"}}));
  try {
    g->LoadExcelSheet(book, "Nope");
    ADD_FAILURE();
  } catch (const EPlusGridError& e) {
    EXPECT_STREQ(e.what(), "Excel worksheet Nope not found");
  }
  EXPECT_EQ(Cells(*g), (Rows{{"7"}}));
}

TEST(GridFilesWorkbook, SaveAndReload) {
  TTempDir dir;
  auto g = NewGrid(30, 3);
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 30; c += 7) g->SetCells(c, r, "r" + std::to_string(r) + "c" + std::to_string(c));
  g->SetCells(29, 2, "end");
  g->SetCells(1, 1, "line\r\nbreak \xC3\xA9 3.5");
  const std::string name = dir.File("out.xls");
  g->SaveExcelFile(name, true);
  EXPECT_EQ(WorkbookFormatOf(name), wfXlsx) << "xlsx content under exactly the given name";
  EXPECT_EQ(WorkbookColumnName(29), "AD");
  EXPECT_EQ(WorkbookColumnName(51), "AZ");

  auto h = NewGrid();
  h->LoadExcelFile(name);
  EXPECT_EQ(h->ColCount(), 30);
  EXPECT_EQ(h->RowCount(), 3);
  EXPECT_EQ(h->Cells(29, 2), "end");
  EXPECT_EQ(h->Cells(7, 1), "r1c7");
  EXPECT_EQ(h->Cells(1, 1), "line\nbreak \xC3\xA9 3.5") << "CR removed on save";

  // A named sheet goes into the existing workbook beside the first.
  auto s = NewGrid(1, 1);
  s->SetCells(0, 0, "second");
  s->SaveExcelSheet(name, "Extra", false);
  h->LoadExcelSheet(name, "Extra");
  EXPECT_EQ(Cells(*h), (Rows{{"second"}}));
  h->LoadExcelFile(name);
  EXPECT_EQ(h->Cells(29, 2), "end");
}

TEST(GridFilesWorkbook, RefusalsKeepGridAndFile) {
  TTempDir dir;
  auto g = NewGrid(2, 2);
  g->SetCells(0, 0, "mine");
  const Rows before = Cells(*g);
  auto expectMessage = [&](const std::string& File, const std::string& Message) {
    SCOPED_TRACE(File);
    try {
      g->LoadExcelFile(File);
      ADD_FAILURE();
    } catch (const EPlusGridError& e) {
      EXPECT_EQ(std::string(e.what()).substr(0, Message.size()), Message);
    }
    EXPECT_EQ(Cells(*g), before);
  };
  expectMessage(dir.Write("plain.txt", "a;b\n"), "Excel OLE server not found");
  expectMessage(dir.File("none.xlsx"), "Cannot open file ");
  expectMessage(dir.Write("cut.xlsx", std::string("PK\x03\x04\x14\0\0\0garbage", 15)), "Cannot read workbook ");
  expectMessage(WriteZip(dir, "nobook.xlsx", {{"_rels/.rels", kRels}}), "Cannot read workbook ");
  expectMessage(dir.Write("cut.xls", std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(100, 'x')),
                "Cannot read workbook ");

  const std::string old = dir.Write("keep.xlsx", "old bytes");
  chmod(dir.Path().c_str(), 0500);
  for (const std::string& target : {old, dir.File("sub/missing/x.xlsx"), dir.Path()}) {
    SCOPED_TRACE(target);
    try {
      g->SaveExcelFile(target, true);
      if (getuid() != 0) ADD_FAILURE();
    } catch (const EPlusGridError& e) {
      EXPECT_EQ(std::string(e.what()), "Cannot save file " + target);
    }
  }
  chmod(dir.Path().c_str(), 0700);
  if (getuid() != 0) EXPECT_EQ(TTempDir::Read(old), "old bytes");
  try {
    g->SaveExcelSheet(dir.File("bad.xlsx"), "a/b*", true);
    ADD_FAILURE() << "a sheet name the format refuses";
  } catch (const EPlusGridError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot save file " + dir.File("bad.xlsx"));
  }
  EXPECT_FALSE(FileExists(dir.File("bad.xlsx")));
}

TEST(GridFilesWorkbook, XlsReads) {
  TTempDir dir;
  const std::string name = dir.Write(
      "atoms.xls", XlsWorkbook("Atoms", {"Fe", "O"},
                               {{0, 0, false, 0, 0}, {0, 1, true, 0.25, 0}, {1, 0, false, 0, 1}, {1, 1, true, 3, 0}},
                               2, 2));
  EXPECT_EQ(WorkbookFormatOf(name), wfXls);
  auto g = NewGrid(5, 5);
  g->LoadExcelSheet(name, "Atoms");
  EXPECT_EQ(Cells(*g), (Rows{{"Fe", "0.25"}, {"O", "3"}}));

  const std::string bytes = TTempDir::Read(name);
  for (size_t cut : {size_t{600}, size_t{1100}, size_t{1600}}) {
    SCOPED_TRACE(cut);
    EXPECT_THROW(g->LoadExcelFile(dir.Write("cut.xls", bytes.substr(0, cut))), EPlusGridError);
    EXPECT_EQ(Cells(*g), (Rows{{"Fe", "0.25"}, {"O", "3"}}));
  }
}

// A workbook load has one budget of cells and unpacked bytes for the whole
// book, counts rows only up to the format's last, and hands the library that
// reads .xls only a file whose records it has checked.
TEST(GridFilesWorkbook, WorkbooksPastTheirBudgetOrLimitsAreRefusedAtOnce) {
  TTempDir dir;
  const std::string sheetRel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet";
  // The budget of a load, made small so the test stays quick: the refusals
  // come from the same counting at any size.
  SetWorkbookBudget(100000, 8 << 20);
  struct TRestore {
    ~TRestore() { SetWorkbookBudget(0, 0); }
  } restore;
  // Many sheets that all point at one part of 10,000 cells: 20 sheets make
  // 200,000 cells from a file of a few kilobytes.
  auto manySheets = [&](int Sheets, const std::string& Part) {
    std::string book =
        "<?xml version=\"1.0\"?><workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><sheets>";
    for (int i = 0; i < Sheets; ++i)
      book += "<sheet name=\"S" + std::to_string(i) + "\" sheetId=\"" + std::to_string(i + 1) + "\" r:id=\"rId1\"/>";
    book += "</sheets></workbook>";
    const std::string rels =
        "<?xml version=\"1.0\"?><Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" Type=\"" + sheetRel + "\" Target=\"worksheets/sheet1.xml\"/></Relationships>";
    return std::vector<std::pair<std::string, std::string>>{{"_rels/.rels", kRels},
                                                           {"xl/workbook.xml", book},
                                                           {"xl/_rels/workbook.xml.rels", rels},
                                                           {"xl/worksheets/sheet1.xml", Part}};
  };
  const std::string head =
      "<?xml version=\"1.0\"?><worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>";
  std::string tenThousand = head;
  for (int r = 0; r < 1000; ++r) {
    tenThousand += "<row>";
    for (int c = 0; c < 10; ++c) tenThousand += "<c><v>1</v></c>";
    tenThousand += "</row>";
  }
  tenThousand += "</sheetData></worksheet>";
  // A part that unpacks to two megabytes from a few kilobytes.
  const std::string megabyte = head + "<!--" + std::string(2 << 20, ' ') + "--></sheetData></worksheet>";
  // Rows without numbers past the last row of the format.
  std::string tooManyRows = head;
  for (int r = 0; r < 1048576; ++r) tooManyRows += "<row/>";
  tooManyRows += "<row><c><v>1</v></c></row></sheetData></worksheet>";
  // An .xls sheet that claims all of its 65,536 x 256 cells, and one whose
  // record says it is longer than BIFF allows.
  const std::string wholeSheet = XlsWorkbook("Big", {}, {{0, 0, true, 1, 0}}, 65536, 256);
  std::string longRecord = XlsWorkbook("Atoms", {"Fe"}, {{0, 0, false, 0, 0}}, 1, 1);
  const size_t sst = longRecord.find(std::string("\xFC\x00", 2), 1536);
  ASSERT_NE(sst, std::string::npos);
  longRecord[sst + 2] = '\xFF';
  longRecord[sst + 3] = '\xFF';

  const struct {
    const char* Case;
    std::string File;
    const char* Reason;
  } cases[] = {
      {"20 sheets of one part", WriteZip(dir, "many.xlsx", manySheets(20, tenThousand)),
       "more than 100,000 cells, the most one load takes"},
      {"5 sheets of one large part", WriteZip(dir, "large.xlsx", manySheets(5, megabyte)),
       "unpacks to more than 8 MB, the most one load takes"},
      {"rows past the last", WriteZip(dir, "rows.xlsx", manySheets(1, tooManyRows)), "rows beyond row 1,048,576"},
      {"an .xls sheet of every cell", dir.Write("whole.xls", wholeSheet),
       "more than 100,000 cells, the most one load takes"},
      {"an .xls record too long", dir.Write("long.xls", longRecord), "a record longer than BIFF allows"},
  };
  auto g = NewGrid(2, 2);
  g->SetCells(0, 0, "mine");
  const Rows before = Cells(*g);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Case);
    try {
      g->LoadExcelFile(c.File);
      ADD_FAILURE() << "loaded";
    } catch (const EPlusGridError& e) {
      EXPECT_NE(std::string(e.what()).find(c.Reason), std::string::npos) << e.what();
    }
    EXPECT_EQ(Cells(*g), before);
  }
  // Five sheets of that part are within the budget.
  g->LoadExcelFile(WriteZip(dir, "five.xlsx", manySheets(5, tenThousand)));
  EXPECT_EQ(g->RowCount(), 1000);
}

}  // namespace
