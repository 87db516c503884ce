// HTML-subset chart text: layout and drawing on the recording canvas.
#include <gtest/gtest.h>

#include "chart/core/grafhtml.h"
#include "chart/core/recordingcanvas.h"

namespace {

class HtmlText : public ::testing::Test {
protected:
  void SetUp() override {
    Canvas.ResetState();
    Canvas.CanvasFont()->SetName("Arial");
    Canvas.CanvasFont()->SetSize(10);
    Canvas.CanvasFont()->SetColor(clBlack);
    Canvas.Clear();
  }

  // The texts drawn from outside the canvas, in order.
  std::vector<TCanvasCall> Runs() const { return Canvas.CallsOf("TextOut", 0); }
  void Draw(const std::string& text, int x = 10, int y = 20) {
    HtmlSubsetTextOut(&Canvas, x, y, text);
  }
  int Width(const std::string& text, TFontStyles style = {}, int size = 10) {
    TFontStyles saved = Canvas.CanvasFont()->Style();
    const int savedSize = Canvas.CanvasFont()->Size();
    Canvas.CanvasFont()->SetStyle(style);
    Canvas.CanvasFont()->SetSize(size);
    const int w = Canvas.TextWidth(text);
    Canvas.CanvasFont()->SetStyle(saved);
    Canvas.CanvasFont()->SetSize(savedSize);
    return w;
  }

  TRecordingCanvas Canvas{300, 200};
};

TEST_F(HtmlText, StylesChangeOnlyTheirOwnRunOnOneLine) {
  Draw("a<B>b</B>c");
  const auto runs = Runs();
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[0].Text, "a");
  EXPECT_EQ(runs[1].Text, "b");
  EXPECT_EQ(runs[2].Text, "c");
  for (const TCanvasCall& r : runs) EXPECT_EQ(r.Arg(1), 20);
  EXPECT_FALSE(runs[0].FontStyle.Contains(fsBold));
  EXPECT_TRUE(runs[1].FontStyle.Contains(fsBold));
  EXPECT_FALSE(runs[2].FontStyle.Contains(fsBold));
  const int wa = Width("a"), wb = Width("b", {fsBold}), wc = Width("c");
  EXPECT_EQ(runs[1].Arg(0), 10 + wa);
  EXPECT_EQ(runs[2].Arg(0), 10 + wa + wb);
  const TSize extent = HtmlSubsetExtent(&Canvas, "a<B>b</B>c");
  EXPECT_EQ(extent.cx, wa + wb + wc);
  EXPECT_EQ(extent.cy, Canvas.FontHeight());
}

TEST_F(HtmlText, LineBreakStartsAtTheLeftEdgeTwoFontHeightsDown) {
  const int fh = Canvas.FontHeight();
  Draw("x<BR>y");
  const auto runs = Runs();
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].Arg(0), 10);
  EXPECT_EQ(runs[0].Arg(1), 20);
  // The break advances one line, and writing y on a fresh line another.
  EXPECT_EQ(runs[1].Arg(0), 10);
  EXPECT_EQ(runs[1].Arg(1), 20 + 2 * fh);
  // A run ending in CR LF ends its line: the next run starts one line down.
  Canvas.Clear();
  Draw("x\r\n<B>y");
  ASSERT_EQ(Runs().size(), 2u);
  EXPECT_EQ(Runs()[1].Arg(0), 10);
  EXPECT_EQ(Runs()[1].Arg(1), 20 + fh);
}

TEST_F(HtmlText, EntitiesAreTextNotMarkup) {
  struct Case { const char* markup; const char* drawn; };
  const Case cases[] = {
      {"&lt;B&gt;", "<B>"},
      {"&amp;lt;", "&lt;"},  // the ampersand is replaced last
      {"say &quot;hi&quot;", "say \"hi\""},
  };
  for (const Case& c : cases) {
    Canvas.Clear();
    Draw(c.markup);
    const auto runs = Runs();
    ASSERT_EQ(runs.size(), 1u) << c.markup;
    EXPECT_EQ(runs[0].Text, c.drawn);
    EXPECT_FALSE(runs[0].FontStyle.Contains(fsBold));
  }
}

TEST_F(HtmlText, FontTagChangesSizeAndColourUntilItCloses) {
  Draw("<FONT size=+4 color=#FF0000>big</FONT>n");
  const auto runs = Runs();
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].Text, "big");
  EXPECT_EQ(runs[0].FontSize, 14);
  EXPECT_EQ(runs[0].FontColor, static_cast<TColor>(RGB(255, 0, 0)));
  EXPECT_EQ(runs[1].FontSize, 10);
  EXPECT_EQ(runs[1].FontColor, clBlack);
}

TEST_F(HtmlText, GenericCloseRestoresTheSavedFontOrClosesTheLastTag) {
  Draw("<B><I><BIG>t</>u");
  auto runs = Runs();
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].FontSize, 12);
  EXPECT_TRUE(runs[0].FontStyle.Contains(fsBold) && runs[0].FontStyle.Contains(fsItalic));
  EXPECT_EQ(runs[1].FontSize, 10);  // BIG undone, bold italic kept
  EXPECT_TRUE(runs[1].FontStyle.Contains(fsBold) && runs[1].FontStyle.Contains(fsItalic));

  SetUp();
  Draw("<B>b</>n");  // closes the last style tag
  runs = Runs();
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_TRUE(runs[0].FontStyle.Contains(fsBold));
  EXPECT_FALSE(runs[1].FontStyle.Contains(fsBold));

  SetUp();  // a saved font keeps a system colour and a name with blanks
  Canvas.CanvasFont()->SetColor(clWindowText);
  Canvas.CanvasFont()->SetName("Times New Roman");
  Draw("<BIG>x</>y");
  runs = Runs();
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[1].FontColor, clWindowText);
  EXPECT_EQ(runs[1].FontName, "Times New Roman");

  SetUp();
  Draw("</>");  // nothing to close
  runs = Runs();
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].Text, "</");
}

TEST_F(HtmlText, SizeTags) {
  struct Case { const char* markup; int baseSize; int size; };
  const Case cases[] = {
      {"<SUB>s", 9, 4}, {"<SUPER>s", 9, 4}, {"<BIG>s", 10, 12}, {"<SMALL>s", 10, 8},
      {"<H1>s", 10, 48}, {"<H3>s", 10, 24}, {"<H6>s", 10, 8},
  };
  for (const Case& c : cases) {
    SetUp();
    Canvas.CanvasFont()->SetSize(c.baseSize);
    Draw(c.markup);
    ASSERT_EQ(Runs().size(), 1u) << c.markup;
    EXPECT_EQ(Runs()[0].FontSize, c.size) << c.markup;
  }
}

// Smaller runs sit at the bottom of their line without moving the pen, and
// the close tag of a sub- or superscript undoes exactly its own move: the
// rest of the line stays on the line.
TEST_F(HtmlText, SmallerRunsAndScriptsKeepTheLineInPlace) {
  for (const char* markup : {"a<SUB>b</SUB>c", "a<SUPER>b</SUPER>c"}) {
    SetUp();
    Draw(markup);
    const auto runs = Runs();
    ASSERT_EQ(runs.size(), 3u) << markup;
    EXPECT_EQ(runs[0].Arg(1), 20) << markup;
    EXPECT_EQ(runs[2].Arg(1), 20) << markup;
  }
  SetUp();
  Draw("a<SUB>b</SUB>c<SUPER>d</SUPER>e f");
  const auto runs = Runs();
  ASSERT_EQ(runs.size(), 5u);
  EXPECT_EQ(runs[1].FontSize, 5);
  EXPECT_EQ(runs[2].FontSize, 10);
  EXPECT_GT(runs[1].Arg(1), 20);             // subscript below the line's top
  EXPECT_LT(runs[3].Arg(1), runs[1].Arg(1));  // superscript above the subscript
  EXPECT_EQ(runs[2].Arg(1), 20);             // back on the line
  EXPECT_EQ(runs[4].Arg(1), 20);
  // A larger run raises the line height; the smaller runs after it share
  // one bottom and do not sink further.
  SetUp();
  Draw("<BIG>A</>b c<B>d</B>");
  const auto big = Runs();
  ASSERT_EQ(big.size(), 3u);
  EXPECT_GT(big[1].Arg(1), 20);
  EXPECT_EQ(big[2].Arg(1), big[1].Arg(1));
}

TEST_F(HtmlText, PreformattedTextUsesTheMonospacedFontAndRestoresNamesWithBlanks) {
  Canvas.CanvasFont()->SetName("Times New Roman");
  Draw("<PRE>code</PRE>x");
  const auto runs = Runs();
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].FontName, "Courier New");
  EXPECT_EQ(runs[1].FontName, "Times New Roman");
}

TEST_F(HtmlText, CentringRuleAndMissingImage) {
  // CENTER puts the run in the middle of the pass.
  const int w = Width("mid");
  Draw("<CENTER>mid</CENTER>");
  ASSERT_EQ(Runs().size(), 1u);
  EXPECT_EQ(Runs()[0].Arg(0), 150 - w / 2);

  // HR: a grey line 100 pixels long at the left edge, one line down after.
  SetUp();
  Draw("<HR>x");
  const auto lines = Canvas.CallsOf("HorizontalLine", 0);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].ToString(), "HorizontalLine(10,110,20)");
  ASSERT_EQ(Runs().size(), 1u);
  EXPECT_GT(Runs()[0].Arg(1), 20);

  // An image without a loader: a 40 x 40 white box, red frame and cross;
  // the text after it starts where the image would have.
  SetUp();
  Draw("<IMG SRC=\"x.bmp\">t");
  const auto boxes = Canvas.CallsOf("Rectangle", 0);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].ToString(), "Rectangle(10,20,50,60)");
  EXPECT_EQ(boxes[0].PenColor, clRed);
  EXPECT_EQ(boxes[0].BrushColor, clWhite);
  const auto diagonals = Canvas.CallsOf("LineFromTo", 0);
  ASSERT_EQ(diagonals.size(), 2u);
  EXPECT_EQ(diagonals[0].ToString(), "LineFromTo(10,20,49,59)");
  EXPECT_EQ(diagonals[1].ToString(), "LineFromTo(10,59,49,20)");
  ASSERT_EQ(Runs().size(), 1u);
  EXPECT_EQ(Runs()[0].Arg(0), 10);
  // Measuring draws nothing.
  Canvas.Clear();
  HtmlSubsetExtent(&Canvas, "<IMG SRC=x.bmp WIDTH=20>");
  EXPECT_EQ(Canvas.Count("Rectangle"), 0);
}

TEST_F(HtmlText, ExtentHeightIsTheTallestLineNotTheSum) {
  const int small = Canvas.FontHeight();
  const TSize one = HtmlSubsetExtent(&Canvas, "small");
  EXPECT_EQ(one.cy, small);
  Canvas.CanvasFont()->SetSize(10);
  const TSize two = HtmlSubsetExtent(&Canvas, "small<BR><BIG>BIGGER TEXT</>");
  Canvas.CanvasFont()->SetSize(12);
  const int big = Canvas.FontHeight();
  EXPECT_EQ(two.cy, big);
  EXPECT_EQ(two.cx, Width("BIGGER TEXT", {}, 12));
}

// Malformed markup never raises and never reaches the next text.
TEST_F(HtmlText, MalformedMarkupIsDrawnSafely) {
  Draw("abc<def");  // an unclosed "<" is text
  auto runs = Runs();
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].Text, "abc");
  EXPECT_EQ(runs[1].Text, "<def");
  EXPECT_EQ(runs[1].Arg(0), 10 + Width("abc"));

  SetUp();
  Draw("abc<");
  ASSERT_EQ(Runs().size(), 2u);
  EXPECT_EQ(Runs()[1].Text, "<");

  // Whatever follows an unclosed "<", it is text: no font change, no image.
  for (const char* tail : {"<FONT size=20", "<IMG SRC=x.bmp", "</FONT", "<BR"}) {
    SetUp();
    Draw(std::string("abc") + tail);
    runs = Runs();
    ASSERT_EQ(runs.size(), 2u) << tail;
    EXPECT_EQ(runs[1].Text, tail);
    EXPECT_EQ(runs[1].FontSize, 10) << tail;
    EXPECT_EQ(Canvas.CanvasFont()->Size(), 10) << tail;
    EXPECT_EQ(Canvas.Count("Rectangle"), 0) << tail;
  }

  struct Case { const char* markup; int size; TColor color; bool bold; };
  const Case cases[] = {
      {"<FONT foo=1 size=12>x", 12, clBlack, false},        // unknown field ignored
      {"<FONT weight=HEAVY size=11>x", 11, clBlack, false},  // unknown weight ignored
      {"<FONT weight=bold, italic>x", 10, clBlack, true},
      {"<FONT color=#GG0000>x", 10, clBlack, false},          // bad hexadecimal colour: black
      {"<FONT color=#12>x", 10, clBlack, false},
      {"<FONT color=nonsense>x", 10, clBlack, false},
      {"<FONT color=clBlue>x", 10, clBlue, false},            // the platform's colour names
      {"<FONT size=abc>x", 10, clBlack, false},
  };
  for (const Case& c : cases) {
    SetUp();
    Canvas.CanvasFont()->SetColor(clGreen);
    EXPECT_NO_THROW(Draw(c.markup)) << c.markup;
    ASSERT_EQ(Runs().size(), 1u) << c.markup;
    EXPECT_EQ(Runs()[0].FontSize, c.size) << c.markup;
    if (std::string(c.markup).find("color") != std::string::npos) {
      EXPECT_EQ(Runs()[0].FontColor, c.color) << c.markup;
    }
    EXPECT_EQ(Runs()[0].FontStyle.Contains(fsBold), c.bold) << c.markup;
  }

  // A style tag left open belongs to its own call: "</>" in the next text
  // has nothing to close.
  SetUp();
  Draw("<B>open");
  Canvas.CanvasFont()->SetStyle({});
  Canvas.Clear();
  Draw("</>x");
  runs = Runs();
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].Text, "</");
  EXPECT_EQ(runs[1].Text, "x");
}

TEST(HtmlColors, NamedAndHexadecimal) {
  struct Case { const char* text; TColor color; };
  const Case cases[] = {
      {"black", static_cast<TColor>(RGB(0, 0, 0))},     {" Red ", static_cast<TColor>(RGB(255, 0, 0))},
      {"BLUE", static_cast<TColor>(RGB(0, 0, 255))},    {"yellow", static_cast<TColor>(RGB(255, 255, 0))},
      {"white", static_cast<TColor>(RGB(255, 255, 255))}, {"green", static_cast<TColor>(RGB(0, 128, 0))},
      {"lime", static_cast<TColor>(RGB(0, 255, 0))},    {"#102030", static_cast<TColor>(RGB(0x10, 0x20, 0x30))},
      {"#abcdef", static_cast<TColor>(RGB(0xAB, 0xCD, 0xEF))}, {"#XYZ", clBlack},
      {"clSilver", clSilver},                           {"255", static_cast<TColor>(255)},
      {"", clBlack},
  };
  for (const Case& c : cases) EXPECT_EQ(NamedColor(c.text), c.color) << c.text;
}

}  // namespace
