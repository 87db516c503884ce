#include "platform/ui/richedit.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/metafile.h"
#include "platform/gfx/printer.h"
#include "platform/rtl/fileutils.h"
#include "platform/rtl/streams.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/editctrls.h"
#include "platform/ui/forms.h"
#include "platform/ui/messages.h"
#include "platform/ui/stdctrls.h"
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

// ---- Formatted text ----------------------------------------------------------

const char* const MixedRtf =
    R"({\rtf1\ansi\deff0{\fonttbl{\f0 Arial;}{\f1 Courier New;}}{\colortbl;\red255\green0\blue0;})"
    R"(\pard\f0\fs20 plain {\b bold} {\f1\fs28\cf1 red mono}\par\pard\qc centred\par})";

TEST_F(RichEditTest, RtfLoadsWithItsFormatsAndTheSelectionReportsThem) {
  TStringStream in(MixedRtf);
  edit->SetModified(true);
  edit->LoadFromStream(&in);
  EXPECT_EQ(edit->Text(), "plain bold red mono\r\ncentred");
  EXPECT_FALSE(edit->Modified());
  EXPECT_FALSE(edit->CanUndo());

  struct Case {
    int start, length;
    TTextAttributes attributes;
  } cases[] = {
      {0, 5, {"Arial", 10, {}, clWindowText}},
      {6, 4, {"Arial", 10, {fsBold}, clWindowText}},
      {8, 0, {"Arial", 10, {fsBold}, clWindowText}},  // the caret: the character before it
      {11, 3, {"Courier New", 14, {}, clRed}},
  };
  for (const Case& c : cases) {
    edit->SetSel(c.start, c.length);
    EXPECT_EQ(edit->SelAttributes(), c.attributes) << c.start;
  }
  const TRTFDocument doc = edit->Document();
  ASSERT_EQ(doc.Paragraphs.size(), 2u);
  EXPECT_EQ(doc.Paragraphs[0].Alignment, taLeftJustify);
  EXPECT_EQ(doc.Paragraphs[1].Alignment, taCenter);
}

TEST_F(RichEditTest, SavedRtfReloadsAsTheSameDocument) {
  edit->SetRTFText(MixedRtf);
  TStringStream out;
  edit->SaveToStream(&out);
  const std::string saved = out.DataString();
  ASSERT_TRUE(IsRTFDocument(saved));
  EXPECT_EQ(RTFToDocument(saved), edit->Document());

  auto* other = new TRichEdit(&form);
  other->SetParent(&form);
  TStringStream again(saved);
  other->LoadFromStream(&again);
  EXPECT_EQ(other->Document(), edit->Document());
  EXPECT_EQ(other->RTFText(), saved);
  other->SetSel(6, 4);
  EXPECT_TRUE(other->SelAttributes().Style.Contains(fsBold));
}

TEST_F(RichEditTest, PlainTextStreams) {
  // Bytes that are no RTF load as text; Windows-1252 when they are not UTF-8.
  TStringStream latin("caf\xE9\r\nline");
  edit->LoadFromStream(&latin);
  EXPECT_EQ(edit->Text(), "caf\xC3\xA9\r\nline");
  TStringStream rtfOut;
  edit->SaveToStream(&rtfOut);
  EXPECT_EQ(RTFToPlainText(rtfOut.DataString()), "caf\xC3\xA9\r\nline");

  // With PlainText, RTF is text too, and text is what is written.
  edit->SetPlainText(true);
  TStringStream rtfAsText("{\\rtf1 {\\b x}}");
  edit->LoadFromStream(&rtfAsText);
  EXPECT_EQ(edit->Text(), "{\\rtf1 {\\b x}}");
  TStringStream out;
  edit->SaveToStream(&out);
  EXPECT_EQ(out.DataString(), "{\\rtf1 {\\b x}}");

  // Reading starts at the stream's position.
  edit->SetPlainText(false);
  TStringStream tail("skip{\\rtf1 {\\b tail}}");
  tail.SetPosition(4);
  edit->LoadFromStream(&tail);
  EXPECT_EQ(edit->Text(), "tail");
  edit->SetSel(0, 1);
  EXPECT_TRUE(edit->SelAttributes().Style.Contains(fsBold));
}

TEST_F(RichEditTest, SettingTheTextDropsTheFormats) {
  edit->SetRTFText(R"({\rtf1 {\b\i bold}})");
  edit->SetText("bold");  // the same text: plain all the same
  edit->SetSel(0, 2);
  EXPECT_EQ(edit->SelAttributes().Style, TFontStyles{});
  edit->SetRTFText(R"({\rtf1 {\b bold}})");
  edit->SetText("other");
  edit->SetSel(0, 2);
  EXPECT_EQ(edit->SelAttributes().Style, TFontStyles{});
}

TEST_F(RichEditTest, SelAttributesChangeOnlyWhatDiffers) {
  edit->SetRTFText(R"({\rtf1{\fonttbl{\f0 Arial;}}\f0\fs20 a {\b b} c})");
  // One field changed over a selection of mixed styles: the styles stay.
  edit->SelectAll();
  TTextAttributes a = edit->SelAttributes();
  a.Color = clRed;
  edit->SetSelAttributes(a);
  TRTFDocument doc = edit->Document();
  ASSERT_EQ(doc.Paragraphs.size(), 1u);
  const std::vector<TRTFRun>& runs = doc.Paragraphs[0].Runs;
  ASSERT_EQ(runs.size(), 3u);
  for (const TRTFRun& r : runs) EXPECT_EQ(ColorToRGB(r.Format.Color), ColorToRGB(clRed)) << r.Text;
  EXPECT_TRUE(runs[1].Format.Style.Contains(fsBold));
  EXPECT_FALSE(runs[2].Format.Style.Contains(fsBold));

  edit->SetSel(0, 1);
  a = edit->SelAttributes();
  a.Style = {fsItalic};
  a.Size = 15;
  a.Name = "Courier New";
  edit->SetSelAttributes(a);
  EXPECT_EQ(edit->SelAttributes(), (TTextAttributes{"Courier New", 15, {fsItalic}, clRed}));
  edit->SetSel(2, 1);
  EXPECT_EQ(edit->SelAttributes(), (TTextAttributes{"Arial", 10, {fsBold}, clRed}));

  // Without a selection the attributes are those of the text typed next.
  edit->SetSel(5, 0);
  a = edit->SelAttributes();
  a.Style.Include(fsUnderline);
  edit->SetSelAttributes(a);
  edit->InsertChar('z');
  edit->SetSel(5, 1);
  EXPECT_EQ(edit->SelText(), "z");
  EXPECT_TRUE(edit->SelAttributes().Style.Contains(fsUnderline));
  edit->SetSel(4, 1);
  EXPECT_FALSE(edit->SelAttributes().Style.Contains(fsUnderline));
}

TEST_F(RichEditTest, SelectionChangesAreReported) {
  edit->SetText("hello world");
  edit->SetSel(0, 0);
  int changes = 0;
  edit->OnSelectionChange = [&](TObject* sender) {
    EXPECT_EQ(sender, edit);
    ++changes;
  };
  edit->SetSel(2, 3);
  EXPECT_EQ(changes, 1);
  edit->SetSel(2, 3);  // nothing moved
  EXPECT_EQ(changes, 1);
  edit->SetSel(4, 0);
  EXPECT_EQ(changes, 2);
  guitest::Key(edit, VK_RIGHT);
  EXPECT_EQ(changes, 3);
  EXPECT_EQ(edit->SelStart(), 5);
  guitest::TypeText(edit, "ab");
  EXPECT_EQ(changes, 5);
}

// The text widgets take the mouse in their viewport: a press, a move and a
// release in the text still reach the control's mouse events, and the click
// places the caret.
TEST_F(RichEditTest, MouseInTheTextReachesTheMouseEvents) {
  TMemo* memo = new TMemo(&form);
  memo->SetParent(&form);
  form.SetBounds(0, 0, 300, 200);
  form.Show();
  for (TCustomMemo* c : {static_cast<TCustomMemo*>(edit), static_cast<TCustomMemo*>(memo)}) {
    SCOPED_TRACE(c == edit ? "rich edit" : "memo");
    c->SetBounds(0, 0, 200, 150);
    c->SetText("ab\r\ncd");
    c->SetSelStart(0);
    std::vector<std::string> seen;
    c->OnMouseDown = [&](TObject*, TMouseButton b, TShiftState, int x, int y) {
      seen.push_back("down " + std::to_string(b == mbLeft) + " " + std::to_string(x) + "," + std::to_string(y));
    };
    c->OnMouseMove = [&](TObject*, TShiftState, int x, int y) {
      seen.push_back("move " + std::to_string(x) + "," + std::to_string(y));
    };
    c->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int x, int y) {
      seen.push_back("up " + std::to_string(x) + "," + std::to_string(y));
    };
    guitest::MouseDown(c, mbLeft, 100, 110);
    guitest::MouseMove(c, 101, 111);
    guitest::MouseUp(c, mbLeft, 101, 111);
    EXPECT_EQ(seen, (std::vector<std::string>{"down 1 100,110", "move 101,111", "up 101,111"}));
    // Below the last line: the end of the text.
    EXPECT_EQ(c->SelStart(), 5);
  }
}

// A rich edit that keeps the resize requests its Dispatch sees.
class TRequestingRichEdit : public TRichEdit {
public:
  using TRichEdit::TRichEdit;
  std::vector<TRect> Requests;

protected:
  void Dispatch(TMessage& M) override {
    if (M.Msg == CN_NOTIFY && reinterpret_cast<const TNMHdr*>(M.LParam)->code == EN_REQUESTRESIZE) {
      const auto* r = reinterpret_cast<const TReqResize*>(M.LParam);
      EXPECT_EQ(r->nmhdr.hwndFrom, Handle());
      Requests.push_back(r->rc);
    }
    TRichEdit::Dispatch(M);
  }
};

TEST_F(RichEditTest, ResizeRequestsGiveTheSizeTheTextNeeds) {
  auto* r = new TRequestingRichEdit(&form);
  r->SetParent(&form);
  r->SetBounds(0, 0, 200, 40);
  auto request = [&] {
    r->Requests.clear();
    r->RequestSize();
    EXPECT_EQ(r->Requests.size(), 1u);
    return r->Requests.empty() ? TRect{} : r->Requests.back();
  };
  r->SetText("one");
  const TRect one = request();
  EXPECT_EQ(one.Left, 0);
  EXPECT_EQ(one.Top, 0);
  EXPECT_EQ(one.Width(), 200);
  EXPECT_GT(one.Height(), 8);
  r->SetText("one\r\ntwo\r\nthree");
  EXPECT_GE(request().Height(), 3 * one.Height() - 2);
  // Word wrap: a long line takes several lines at the control's width.
  std::string words;
  for (int i = 0; i < 30; ++i) words += "word ";
  r->SetText(words);
  const TRect wrapped = request();
  EXPECT_GE(wrapped.Height(), 3 * one.Height() - 2);
  EXPECT_EQ(wrapped.Width(), 200);
  // Without it: one line as wide as the text.
  r->SetWordWrap(false);
  const TRect wide = request();
  EXPECT_LE(wide.Height(), one.Height() + 1);
  EXPECT_GT(wide.Width(), 400);
  r->SetText("one");
  EXPECT_LT(request().Width(), 60);
  r->SetWordWrap(true);

  // With the events on, every change asks; a load asks once.
  r->SetRequestResizeEvents(true);
  r->Requests.clear();
  r->SetSel(0, 0);
  guitest::TypeText(r, "ab");
  EXPECT_EQ(r->Requests.size(), 2u);
  EXPECT_EQ(r->Text(), "abone");  // each key typed once, whatever the request does
  r->Requests.clear();
  r->SetRTFText(R"({\rtf1 {\b one}\par two\par three\par four})");
  ASSERT_EQ(r->Requests.size(), 1u);
  const int fourLines = r->Requests.back().Height();
  EXPECT_GE(fourLines, 4 * one.Height() - 2);
  // A larger font asks for more.
  r->SelectAll();
  TTextAttributes a = r->SelAttributes();
  a.Size = 20;
  r->Requests.clear();
  r->SetSelAttributes(a);
  ASSERT_FALSE(r->Requests.empty());
  EXPECT_GT(r->Requests.back().Height(), fourLines + 10);
}

// The box of the pixels of a bitmap that are not the background.
TRect InkBox(TBitmap& b, TColor background, const TRect& area) {
  TRect box{area.Right, area.Bottom, area.Left, area.Top};
  for (int y = area.Top; y < area.Bottom; ++y)
    for (int x = area.Left; x < area.Right; ++x)
      if (b.Canvas()->Pixels(x, y) != background) {
        box.Left = std::min(box.Left, x);
        box.Top = std::min(box.Top, y);
        box.Right = std::max(box.Right, x + 1);
        box.Bottom = std::max(box.Bottom, y + 1);
      }
  return box;
}

TEST_F(RichEditTest, RenderingDrawsTheTextInsideTheRectangleOnly) {
  std::string rtf = R"({\rtf1{\fonttbl{\f0 Arial;}}\f0\fs24 )";
  for (int i = 0; i < 20; ++i) rtf += "Hello world ";
  rtf += "}";
  edit->SetRTFText(rtf);
  TBitmap bmp;
  bmp.SetSize(200, 120);
  bmp.Canvas()->Brush()->SetColor(clYellow);
  bmp.Canvas()->FillRect(Rect(0, 0, 200, 120));
  const TRect R = Rect(20, 30, 150, 70);
  edit->RenderTo(bmp.Canvas(), R);
  int ink = 0, other = 0, outside = 0;
  for (int y = 0; y < 120; ++y)
    for (int x = 0; x < 200; ++x) {
      const TColor c = bmp.Canvas()->Pixels(x, y);
      const bool in = x >= R.Left && x < R.Right && y >= R.Top && y < R.Bottom;
      if (!in) outside += c != clYellow;
      else if (c == clBlack) ++ink;
      else if (c != clYellow) ++other;  // neither text nor the background left as it was
    }
  EXPECT_GT(ink, 200);
  EXPECT_EQ(other, 0);
  EXPECT_EQ(outside, 0);
  // The text wraps at R's width onto several lines.
  const TRect box = InkBox(bmp, clYellow, R);
  EXPECT_LT(box.Left, R.Left + 4);
  EXPECT_GT(box.Right, R.Right - 20);
  EXPECT_GT(box.Bottom, R.Top + 30);
  // Laid out the same in a taller rectangle it runs on below R: there it
  // was cut.
  TBitmap tall;
  tall.SetSize(200, 200);
  edit->RenderTo(tall.Canvas(), Rect(R.Left, R.Top, R.Right, 200));
  EXPECT_GT(InkBox(tall, clWhite, Rect(0, 0, 200, 200)).Bottom, R.Bottom + 20);
  for (int y = R.Top; y < R.Bottom; ++y)
    for (int x = R.Left; x < R.Right; ++x)
      ASSERT_EQ(tall.Canvas()->Pixels(x, y) == clBlack, bmp.Canvas()->Pixels(x, y) == clBlack) << x << "," << y;
}

TEST_F(RichEditTest, RenderingKeepsAlignmentColoursAndWorksOnMetafiles) {
  edit->SetRTFText(R"({\rtf1{\fonttbl{\f0 Arial;}}{\colortbl;\red255\green0\blue0;}\pard\qc\f0\fs24 mid\par)"
                   R"(\pard\qr\cf1 right\par})");
  TBitmap bmp;
  bmp.SetSize(240, 80);
  const TRect R = Rect(10, 5, 230, 75);
  edit->RenderTo(bmp.Canvas(), R);
  const TRect first = InkBox(bmp, clWhite, Rect(R.Left, R.Top, R.Right, R.Top + 18));
  EXPECT_NEAR((first.Left + first.Right) / 2.0, (R.Left + R.Right) / 2.0, 3);
  int red = 0;
  TRect second{R.Right, R.Bottom, R.Left, R.Top};
  for (int y = R.Top + 18; y < R.Bottom; ++y)
    for (int x = R.Left; x < R.Right; ++x)
      if (bmp.Canvas()->Pixels(x, y) == clRed) {
        ++red;
        second.Left = std::min(second.Left, x);
        second.Right = std::max(second.Right, x + 1);
      }
  EXPECT_GT(red, 20);
  EXPECT_GT(second.Right, R.Right - 4);
  EXPECT_GT(second.Left, (R.Left + R.Right) / 2);

  // A metafile records the drawing, and plays it back in place.
  TMetafile mf;
  mf.SetWidth(240);
  mf.SetHeight(80);
  {
    TMetafileCanvas mc(&mf);
    edit->RenderTo(&mc, R);
  }
  TBitmap replay;
  replay.SetSize(240, 80);
  replay.Canvas()->Draw(0, 0, &mf);
  int differ = 0;
  for (int y = 0; y < 80; ++y)
    for (int x = 0; x < 240; ++x) differ += replay.Canvas()->Pixels(x, y) != bmp.Canvas()->Pixels(x, y);
  EXPECT_LT(differ, 20);
}

TEST_F(RichEditTest, TheFormattingRectangleHoldsTheText) {
  edit->SetBorderStyle(bsNone);
  edit->SetBounds(0, 0, 200, 100);
  edit->SetWordWrap(false);
  edit->SetRTFText(R"({\rtf1{\fonttbl{\f0 Arial;}}\f0\fs40 WWWW WWWW WWWW})");
  TBitmap pic;
  ASSERT_TRUE(guitest::ControlPicture(edit, pic));
  const TColor back = pic.Canvas()->Pixels(199, 99);
  const TRect before = InkBox(pic, back, Rect(0, 0, 200, 100));
  EXPECT_LT(before.Left, 6);
  EXPECT_LT(before.Top, 12);
  EXPECT_GT(before.Right, 190);  // the line is cut at the edge

  const TRect R = Rect(60, 40, 150, 95);
  edit->SetFormattingRect(R);
  EXPECT_EQ(edit->FormattingRect(), R);
  ASSERT_TRUE(guitest::ControlPicture(edit, pic));
  const TRect after = InkBox(pic, back, Rect(0, 0, 200, 100));
  EXPECT_EQ(after.Left - before.Left, R.Left);
  EXPECT_EQ(after.Top - before.Top, R.Top);
  EXPECT_LE(after.Right, R.Right);
  EXPECT_LE(after.Bottom, R.Bottom);

  // Resizing keeps the distances to the edges.
  edit->SetBounds(0, 0, 260, 140);
  EXPECT_EQ(edit->FormattingRect(), Rect(60, 40, 210, 135));
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

namespace {

// Paste takes text only: an empty clipboard or one holding only a picture
// leaves every kind of edit control as it was, and text goes in once.
TEST(PasteTest, OnlyTextIsPastedWhateverTheClipboardHolds) {
  guitest::EnsureGui();
  TForm form(nullptr);
  auto* memo = new TMemo(&form);
  auto* rich = new TRichEdit(&form);
  auto* edit = new TCustomEdit(&form);
  for (TWinControl* c : std::initializer_list<TWinControl*>{memo, rich, edit}) {
    c->SetParent(&form);
    c->HandleNeeded();
  }
  form.Show();
  TBitmap picture(4, 4);
  struct TContent {
    const char* What;
    std::function<void()> Put;
    const char* Pasted;
  };
  const TContent contents[] = {
      // Emptied as a program empties it: opened, cleared and closed.
      {"an empty clipboard",
       [] {
         Clipboard()->Open();
         Clipboard()->Clear();
         Clipboard()->Close();
       },
       ""},
      {"a clipboard no program owns", [] { Clipboard()->Clear(); }, ""},
      {"a picture only", [&] { Clipboard()->Assign(&picture); }, ""},
      {"text", [] { Clipboard()->SetAsText("XY"); }, "XY"},
  };
  for (const TContent& c : contents) {
    memo->SetText("ab");
    memo->SetSelStart(1);
    rich->SetText("ab");
    rich->SetSelStart(1);
    edit->SetText("ab");
    edit->SetSelStart(1);
    c.Put();
    memo->PasteFromClipboard();
    rich->PasteFromClipboard();
    edit->Perform(WM_PASTE, 0, 0);
    const std::string want = std::string("a") + c.Pasted + "b";
    EXPECT_EQ(memo->Text(), want) << "memo, " << c.What;
    EXPECT_EQ(rich->Text(), want) << "rich edit, " << c.What;
    EXPECT_EQ(edit->Text(), want) << "edit box, " << c.What;
  }
}

}  // namespace
