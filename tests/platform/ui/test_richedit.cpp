#include "platform/ui/richedit.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/gfx/printer.h"
#include "platform/rtl/fileutils.h"
#include "platform/ui/forms.h"
#include "support/gui/guitest.h"
#include "support/tempdir.h"

namespace {

class RichEditTest : public ::testing::Test {
protected:
  void SetUp() override {
    guitest::EnsureGui();
    edit->SetParent(&form);
    edit->Handle();
  }
  TTempDir dir;
  TForm form{nullptr};
  TRichEdit* edit = new TRichEdit(&form);
};

TEST_F(RichEditTest, LoadAndSaveKeepTheLinesWhateverTheLineBreaks) {
  struct Case {
    const char* bytes;
    const char* saved;
    int lines;
  } cases[] = {
      {"a\nb\n", "a\nb\n", 2},
      {"a\r\nb", "a\r\nb", 2},  // no final line break stays without one
      {"a\rb\r\r", "a\rb\r\r", 3},
      {"a\r\nb\nc\r", "a\r\nb\r\nc\r\n", 3},  // mixed: the first break for all
      {"", "", 0},
  };
  for (const Case& c : cases) {
    const std::string in = dir.Write("in.txt", c.bytes);
    edit->LoadFromFile(in);
    EXPECT_EQ(edit->LineCount(), c.lines) << c.bytes;
    EXPECT_FALSE(edit->Modified());
    EXPECT_FALSE(edit->CanUndo());
    edit->SaveToFile(dir.File("out.txt"));
    EXPECT_EQ(TTempDir::Read(dir.File("out.txt")), c.saved) << c.bytes;
  }
}

TEST_F(RichEditTest, EightBitFileGoesBackAsItCame) {
  const std::string in = dir.Write("latin.inp", "Pb\xC5 title\r\nline\r\n");
  edit->LoadFromFile(in);
  EXPECT_EQ(edit->Lines().front(), "Pb\xC3\x85 title");
  edit->SaveToFile(dir.File("back.inp"));
  EXPECT_EQ(TTempDir::Read(dir.File("back.inp")), "Pb\xC5 title\r\nline\r\n");
  // A character the file's code page lacks is refused, the file kept.
  edit->SetText("\xCE\xB1\r\n");
  EXPECT_THROW(edit->SaveToFile(in), EInOutError);
  EXPECT_EQ(TTempDir::Read(in), "Pb\xC5 title\r\nline\r\n");
  // UTF-8 stays UTF-8.
  edit->LoadFromFile(dir.Write("utf8.txt", "\xCE\xB1\n"));
  edit->SaveToFile(dir.File("utf8.out"));
  EXPECT_EQ(TTempDir::Read(dir.File("utf8.out")), "\xCE\xB1\n");
}

TEST_F(RichEditTest, FailedLoadOrSaveKeepsTextAndFile) {
  edit->SetText("mine");
  EXPECT_THROW(edit->LoadFromFile(dir.File("missing.txt")), EInOutError);
  EXPECT_EQ(edit->Text(), "mine");
  EXPECT_THROW(edit->SaveToFile(dir.File("no/such/folder/x.txt")), EInOutError);
  EXPECT_FALSE(FileExists(dir.File("no/such/folder/x.txt")));
}

TEST_F(RichEditTest, TypingSetsModifiedAndCanBeUndone) {
  edit->SetText("line one\r\nline two");
  EXPECT_FALSE(edit->Modified());
  edit->SetSel(13, 0);  // "line one\nline|"
  edit->InsertChar('X');
  EXPECT_TRUE(edit->Modified());
  EXPECT_EQ(edit->Text(), "line one\r\nlineX two");
  const TPoint caret = edit->CaretPos();
  EXPECT_EQ(caret.Y, 1);
  EXPECT_EQ(caret.X, 5);
  ASSERT_TRUE(edit->CanUndo());
  edit->Undo();
  EXPECT_EQ(edit->Text(), "line one\r\nline two");
}

TEST_F(RichEditTest, SelectionIsClampedAndReadBackWithCrLf) {
  edit->SetText("ab\r\ncd");
  edit->SetSel(1, 3);
  EXPECT_EQ(edit->SelText(), "b\r\nc");
  edit->SetSel(4, 100);
  EXPECT_EQ(edit->SelStart(), 4);
  EXPECT_EQ(edit->SelLength(), 1);
  edit->SetSel(-5, 1);
  EXPECT_EQ(edit->SelStart(), 0);
  EXPECT_EQ(edit->WideText(), u"ab\ncd");
}

TEST_F(RichEditTest, DefaultAttributesAreTheFont) {
  TFont f;
  f.SetName("Courier New");
  f.SetSize(11);
  edit->SetDefAttributes(&f);
  EXPECT_EQ(edit->DefAttributes()->Name(), "Courier New");
  EXPECT_EQ(edit->DefAttributes()->Size(), 11);
}

size_t PdfPages(const std::string& pdf) {
  size_t pages = 0;
  for (size_t at = pdf.find("/Type /Page\n"); at != std::string::npos; at = pdf.find("/Type /Page\n", at + 1)) ++pages;
  return pages;
}

TEST_F(RichEditTest, PrintingRunsOnToNewPages) {
  TPrinter printer;
  printer.SetOutputFileName(dir.File("listing.pdf"));
  TPrinter* previous = SetPrinter(&printer);
  std::string text;
  for (int i = 0; i < 200; ++i) text += "line " + std::to_string(i) + "\r\n";
  edit->SetText(text);
  edit->Print("run.inp");
  SetPrinter(previous);
  EXPECT_EQ(printer.Title(), "run.inp");
  const std::string pdf = TTempDir::Read(dir.File("listing.pdf"));
  EXPECT_GE(PdfPages(pdf), 2u);
}

TEST(PrinterTextTest, CountsLinesAndPages) {
  TTempDir dir;
  TPrinter printer;
  printer.SetOutputFileName(dir.File("stream.pdf"));
  TPrinterText out(&printer);
  EXPECT_THROW(out.WriteLn("not open"), EPrinter);
  out.Open("Listing");
  TFont f;
  f.SetSize(10);
  out.SetFont(&f);
  for (int i = 0; i < 300; ++i) out.WriteLn(i % 7 ? "text" : "");
  EXPECT_EQ(out.LinesWritten(), 300);
  EXPECT_GT(out.Pages(), 1);
  out.Close();
  EXPECT_FALSE(printer.Printing());
  EXPECT_EQ(PdfPages(TTempDir::Read(dir.File("stream.pdf"))), static_cast<size_t>(out.Pages()));
}

TEST(PrinterTextTest, NoPrinterRaisesAndLeavesNothingOpen) {
  TPrinter::SetForceNoPrinter(true);
  TPrinter printer;
  TPrinterText out(&printer);
  EXPECT_THROW(out.Open("x"), EPrinter);
  EXPECT_FALSE(out.IsOpen());
  TPrinter::SetForceNoPrinter(false);
}

}  // namespace
