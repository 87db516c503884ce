// The mini-HTML renderer: layout measured with the fixed test fonts at 96
// pixels per inch (expected sizes from the same metrics), hit testing of
// anchors and embedded controls, and a few drawn pixels.
#include <gtest/gtest.h>

#include "grid/support/picturecontainer.h"
#include "grid/support/plusobj.h"
#include "grid/support/psghtmle.h"
#include "platform/ui/imglist.h"
#include "support/gui/guitest.h"

namespace {

struct Html : ::testing::Test {
  TBitmap Bmp{300, 120, pf32bit};
  TCanvas* C = nullptr;
  void SetUp() override {
    guitest::EnsureGui();
    C = Bmp.Canvas();
    C->Brush()->SetColor(clWhite);
    C->FillRect(Rect(0, 0, 300, 120));
    C->Font()->SetName("Arial");
    C->Font()->SetSize(10);
    C->Font()->SetColor(clBlack);
  }
  int GH() { return C->TextHeight("gh"); }
  int Width(const std::string& s, TFontStyles style = {}) {
    TFont saved;
    saved.Assign(C->Font());
    C->Font()->SetStyle(style);
    TRect r = Rect(0, 0, 0, 0);
    C->DrawText(s, r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX | DT_EXPANDTABS | DT_EXTERNALLEADING | DT_BOTTOM);
    C->Font()->Assign(&saved);
    return r.Right - r.Left;
  }
  THTMLDrawResult Calc(const std::string& text, int width = 280, THTMLDrawOptions o = {}) {
    o.CalcOnly = true;
    return DrawHTML(C, text, Rect(0, 0, width, 1000), o);
  }
  THTMLDrawResult Check(const std::string& text, int x, int y, THTMLDrawOptions o = {}) {
    o.CheckOnly = true;
    o.X = x;
    o.Y = y;
    return DrawHTML(C, text, Rect(0, 0, 280, 120), o);
  }
  // Columns of row band [y0, y1) with a pixel of the colour.
  std::vector<int> Columns(int y0, int y1, TColor c) {
    std::vector<int> xs;
    for (int x = 0; x < 300; ++x)
      for (int y = y0; y < y1; ++y)
        if (C->Pixels(x, y) == c) {
          xs.push_back(x);
          break;
        }
    return xs;
  }
  bool Inked(int x0, int y0, int x1, int y1, TColor c) {
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x)
        if (C->Pixels(x, y) == c) return true;
    return false;
  }
};

TEST_F(Html, EmptyTextIsOneLineOfGh) {
  THTMLDrawResult r = Calc("");
  EXPECT_EQ(r.YSize, GH());
  EXPECT_EQ(r.XSize, 0);
  EXPECT_EQ(r.HyperLinks, 0);
  EXPECT_FALSE(r.Hit);
  THTMLDrawOptions o;
  r = DrawHTML(C, "", Rect(0, 0, 100, 50), o);
  EXPECT_FALSE(Inked(0, 0, 300, 120, clBlack));
}

TEST_F(Html, RunsAndStylesMeasure) {
  struct {
    std::string text;
    int width;
  } cases[] = {
      {"plain", Width("plain")},
      {"<b>bold</b> plain", Width("bold", {fsBold}) + Width(" ") + Width("plain")},
      {"<B>bold</B> plain", Width("bold", {fsBold}) + Width(" ") + Width("plain")},
      {"a b ", Width("a ") + Width("b ") - Width(" ")},  // a trailing space does not count
      {"x<Z>hidden</Z>y", Width("x") + Width("y")},      // hidden text takes no width
      {"&amp;", Width("&")},
      {"&lt;B&gt;", Width("<") + Width("B>")},
  };
  for (const auto& c : cases) {
    THTMLDrawResult r = Calc(c.text);
    EXPECT_EQ(r.XSize, c.width) << c.text;
    EXPECT_EQ(r.YSize, GH()) << c.text;
  }
  EXPECT_EQ(Calc("x<Z>hidden</Z>y").StripVal, "xhiddeny");
  EXPECT_EQ(Calc("&amp;lt;B&amp;gt;").StripVal, "&lt;B&gt;");  // decoded once
  EXPECT_EQ(Calc("&lt;B&gt;").StripVal, "<B>");
  EXPECT_EQ(Calc("a<BR>b").StripVal, "a\rb");
  EXPECT_EQ(Calc("a<BR>b").YSize, 2 * GH());
}

TEST_F(Html, FontSizesAndColours) {
  TFont f12;
  f12.Assign(C->Font());
  f12.SetSize(12);
  TFont saved;
  saved.Assign(C->Font());
  C->Font()->Assign(&f12);
  const int h12 = C->TextHeight("X");
  C->Font()->SetSize(7);
  const int h7 = C->TextHeight("X");
  C->Font()->Assign(&saved);
  EXPECT_EQ(Calc("<FONT SIZE=\"3\">X</FONT>").YSize, std::max(GH(), h12));
  EXPECT_EQ(Calc("<FONT SIZE=\"7\">X</FONT>").YSize, std::max(GH(), h7));
  struct {
    std::string tag;
    TColor colour;
  } colours[] = {{"<FONT COLOR='#FF0000'>", clRed}, {"<FONT COLOR=\"clNavy\">", clNavy},
                 {"<FONT COLOR=\"#0000ff\">", clBlue}};
  for (const auto& c : colours) {
    SetUp();
    THTMLDrawOptions o;
    DrawHTML(C, c.tag + "WWW</FONT>", Rect(0, 0, 200, 40), o);
    EXPECT_TRUE(Inked(0, 0, 60, 40, c.colour)) << c.tag;
  }
  SetUp();
  C->Font()->SetColor(clGreen);
  THTMLDrawOptions o;
  DrawHTML(C, "<FONT COLOR=\"clNoSuch\">WWW</FONT>", Rect(0, 0, 200, 40), o);
  EXPECT_TRUE(Inked(0, 0, 60, 40, clBlack));  // an unknown name is black
  EXPECT_FALSE(Inked(0, 0, 60, 40, clGreen));
  EXPECT_EQ(C->Font()->Color(), clGreen);  // the canvas is given back
}

TEST_F(Html, WordWrapBreaksAtRealSpacesOnly) {
  const int ab = Width("a b") + 1;
  EXPECT_EQ(Calc("a&nbsp;b c", ab + 3).YSize, 2 * GH());
  EXPECT_EQ(Calc("a&nbsp;b c", ab + 3).XSize, Width("a b"));
  // Runs of one word joined by tags are never broken.
  const int xyz = Width("x") + Width("y", {fsBold}) + Width("z");
  EXPECT_EQ(Calc("x<B>y</B>z", xyz / 2).YSize, GH());
  EXPECT_EQ(Calc("x<B>y</B>z", xyz / 2).XSize, xyz);
  // A run fits while the line stays narrower than the rectangle, its
  // trailing space counted.
  EXPECT_EQ(Calc("one two three", Width("one two ") + 2).YSize, 2 * GH());
  EXPECT_EQ(Calc("one two three", Width("one two ")).YSize, 3 * GH());
  // Without wrapping the run that overflows is kept and the rest dropped.
  THTMLDrawOptions o;
  o.WordWrap = false;
  THTMLDrawResult r = Calc("aaa <U>aaaa</U>ccc<BR>next", 2 * Width("aaa") + 1, o);
  EXPECT_EQ(r.StripVal, "aaa aaaa");
  EXPECT_EQ(r.YSize, GH());
}

TEST_F(Html, ListGivesFourLines) {
  const std::string list = "<UL><LI>a</LI><LI>b</LI></UL>";
  THTMLDrawResult r = Calc(list);
  EXPECT_EQ(r.YSize, 4 * GH());
  EXPECT_EQ(r.XSize, 12 + Width("a"));
  EXPECT_EQ(r.StripVal, "ab");
  THTMLDrawOptions o;
  DrawHTML(C, list, Rect(0, 0, 280, 120), o);
  // Line 2: the bullet at the left edge, the text 12 pixels in.
  const std::vector<int> cols = Columns(GH(), 2 * GH(), clBlack);
  ASSERT_FALSE(cols.empty());
  EXPECT_LT(cols.front(), 12);
  EXPECT_TRUE(std::any_of(cols.begin(), cols.end(), [](int x) { return x >= 13; }));
  EXPECT_FALSE(std::any_of(cols.begin(), cols.end(), [&](int x) { return x >= 13 + Width("a") + 2; }));
  EXPECT_TRUE(Columns(0, GH(), clBlack).empty());  // the list tag's own line is empty
  // Nested: 12 pixels further in.
  EXPECT_EQ(Calc("<UL><UL><LI>a</LI></UL></UL>").XSize, 24 + Width("a"));
}

TEST_F(Html, AnchorsHitAndLinks) {
  const std::string two = "<A HREF=\"first\">one</A> <A HREF=\"second\" TITLE=\"T2\">two</A>";
  const int x2 = Width("one") + Width(" ") + Width("two") / 2;
  THTMLDrawResult r = Check(two, x2, GH() / 2);
  EXPECT_TRUE(r.Hit);
  EXPECT_EQ(r.MouseLink, 2);
  EXPECT_EQ(r.AnchorVal, "second");
  EXPECT_EQ(r.AnchorTitle, "T2");
  EXPECT_EQ(r.HyperLinks, 2);
  EXPECT_EQ(r.HoverRect.Left, 1 + Width("one") + Width(" "));
  EXPECT_EQ(r.HoverRect.Right, 1 + Width("one") + Width(" ") + Width("two"));
  r = Check(two, Width("one") / 2, GH() / 2);
  EXPECT_EQ(r.MouseLink, 1);
  EXPECT_EQ(r.AnchorVal, "first");
  EXPECT_EQ(r.AnchorTitle, "");
  // Plain text below the anchor's line: no hit.
  r = Check("<A HREF=\"x\">link</A><BR>plain text", 5, GH() + GH() / 2);
  EXPECT_FALSE(r.Hit);
  EXPECT_EQ(r.MouseLink, -1);
  // CalcOnly never reports a hit.
  THTMLDrawOptions o;
  o.X = 5;
  o.Y = 5;
  EXPECT_FALSE(DrawHTML(C, two, Rect(0, 0, 280, 100), [&] { o.CalcOnly = true; return o; }()).Hit);
  // An HREF is decoded once.
  EXPECT_EQ(Check("<A HREF='a&amp;b'>x</A>", 3, 5).AnchorVal, "a&b");
}

TEST_F(Html, FocusAndHoverLooks) {
  THTMLDrawOptions o;
  o.FocusLink = 0;
  THTMLDrawResult r = DrawHTML(C, "<A HREF=\"x\">link</A>", Rect(0, 0, 200, 40), o);
  EXPECT_EQ(r.FocusAnchor, "x");
  EXPECT_TRUE(Inked(0, 0, 200, 40, clBlue));
  // The focus rectangle reaches one pixel left of the text.
  bool dotted = false;
  for (int y = 0; y < GH(); ++y) dotted |= C->Pixels(0, y) != clWhite;
  EXPECT_TRUE(dotted);

  SetUp();
  THTMLDrawOptions h;
  h.HoverStyle = true;
  h.HoverLink = 0;
  h.URLColor = clRed;
  DrawHTML(C, "<A HREF=\"x\">link</A>", Rect(0, 0, 200, 40), h);
  EXPECT_TRUE(Inked(0, 0, 200, 40, clRed));
  // Without the hover look nothing is underlined: no red row as wide as the text.
  int widest = 0;
  for (int y = 0; y < 40; ++y) {
    int n = 0;
    for (int x = 0; x < 200; ++x) n += C->Pixels(x, y) == clRed;
    widest = std::max(widest, n);
  }
  EXPECT_LT(widest, Width("link") - 2);
}

TEST_F(Html, EmbeddedControls) {
  const std::string check = "<CONTROL TYPE=\"CHECK\" ID=\"c1\" VALUE=\"TRUE\" WIDTH=\"20\">x";
  EXPECT_EQ(Calc(check).XSize, 16 + Width("x"));
  EXPECT_EQ(Calc(check).YSize, std::max(GH(), 16));
  EXPECT_EQ(Calc("<CONTROL TYPE=\"EDIT\" ID=\"e\" WIDTH=\"50\">").XSize, 50);
  EXPECT_EQ(Calc("<CONTROL TYPE=\"EDIT\" ID=\"e\">x").XSize, Width("x"));  // no WIDTH: not shown
  EXPECT_EQ(Calc("<CONTROL TYPE=\"BUTTON\" ID=\"b\" WIDTH=\"40\">").YSize, std::max(GH(), 18));

  THTMLDrawOptions o;
  o.CheckOnly = true;
  o.CalcOnly = true;
  o.ControlID = "c1";
  THTMLDrawResult r = DrawHTML(C, "ab " + check, Rect(0, 0, 280, 100), o);
  EXPECT_FALSE(r.Hit);
  EXPECT_EQ(r.ControlType, "CHECK");
  EXPECT_EQ(r.ControlValue, "TRUE");
  EXPECT_EQ(r.ControlID, "c1");
  EXPECT_EQ(r.ControlRect.Right - r.ControlRect.Left, 16);
  EXPECT_EQ(r.ControlRect.Left, 1 + Width("ab "));

  r = Check("<CONTROL TYPE=\"EDIT\" ID=\"ed\" VALUE=\"v&amp;w\" WIDTH=\"60\">", 30, 5);
  EXPECT_TRUE(r.Hit);
  EXPECT_EQ(r.AnchorVal, "ctrl");
  EXPECT_EQ(r.ControlID, "ed");
  EXPECT_EQ(r.ControlValue, "v&w");
  EXPECT_EQ(r.ControlRect, Rect(1, 0, 61, GH() + 6));

  // A checked box is drawn with its mark.
  THTMLDrawOptions d;
  DrawHTML(C, check, Rect(0, 0, 200, 40), d);
  EXPECT_TRUE(Inked(3, 0, 17, GH() + 2, static_cast<TColor>(GetSysColor(COLOR_WINDOWTEXT))));
}

TEST_F(Html, ParagraphsAlignmentAndSubscripts) {
  const int w = 200;
  THTMLDrawOptions o;
  o.X = 0;
  // Centred lines, also after the paragraph ends.
  THTMLDrawResult r = DrawHTML(C, "<P ALIGN=\"CENTER\">ab</P>cd", Rect(0, 0, w, 100), o);
  (void)r;
  const std::vector<int> line2 = Columns(GH(), 2 * GH(), clBlack);
  ASSERT_FALSE(line2.empty());
  const int expectLeft = 1 + (w - 1 - Width("cd")) / 2;
  EXPECT_GE(line2.front(), expectLeft - 1);
  EXPECT_LE(line2.front(), expectLeft + 3);
  EXPECT_EQ(Calc("a<SUB>2</SUB>").YSize, GH() + GH() / 4);
  EXPECT_EQ(Calc("a<SUP>2</SUP><SUB>3</SUB>").YSize, GH() + 2 * (GH() / 4));
  EXPECT_EQ(Calc("<IND x=\"40\">a").XSize, 40 + Width("a"));
}

TEST_F(Html, TallTextIsCutWhenDrawnNotWhenMeasured) {
  const std::string five = "1<BR>2<BR>3<BR>4<BR>5";
  EXPECT_EQ(Calc(five).YSize, 5 * GH());
  THTMLDrawOptions o;
  THTMLDrawResult r = DrawHTML(C, five, Rect(0, 0, 100, 2 * GH() + 2), o);
  EXPECT_EQ(r.YSize, 2 * GH());  // the third line would not fit its "gh"
  EXPECT_FALSE(Inked(0, 2 * GH(), 100, 120, clBlack));
}

TEST_F(Html, ImagesFromListsAndContainers) {
  TImageList images(nullptr);
  TBitmap strip(48, 16, pf32bit);
  strip.Canvas()->Brush()->SetColor(clRed);
  strip.Canvas()->FillRect(Rect(0, 0, 48, 16));
  images.Add(&strip, nullptr);
  ASSERT_EQ(images.Count(), 3);
  THTMLDrawOptions o;
  o.Images = &images;
  EXPECT_EQ(Calc("<IMG SRC=\"IDX:3\">x", 280, o).XSize, Width("x"));  // beyond the list: no room
  EXPECT_EQ(Calc("<IMG SRC=\"IDX:1\">x", 280, o).XSize, 16 + Width("x"));
  EXPECT_EQ(Calc("<IMG SRC=\"IDX:1\">x", 280, o).YSize, std::max(GH(), 16));
  DrawHTML(C, "<IMG SRC=\"IDX:0\">", Rect(0, 0, 100, 40), o);
  EXPECT_EQ(C->Pixels(1, 0), clRed);
  EXPECT_EQ(C->Pixels(16, 0), clRed);
  EXPECT_EQ(C->Pixels(17, 0), clWhite);

  TPictureContainer box(nullptr);
  TPictureItem* item = box.Items()->Add();
  item->SetName("dot");
  TBitmap dot(5, 4);
  TMemoryStream m;
  dot.SaveToStream(m);
  m.SetPosition(0);
  item->Picture()->LoadFromStream(m);
  THTMLDrawOptions p;
  p.PictureContainer = &box;
  EXPECT_EQ(Calc("<IMG SRC=\"DOT\">", 280, p).XSize, 5);
  EXPECT_EQ(Calc("<IMG SRC=\"dot\" WIDTH=\"30\" HEIGHT=\"20\">", 280, p).XSize, 30);
  EXPECT_EQ(Calc("<IMG SRC=\"none\">", 280, p).XSize, 0);
  EXPECT_EQ(Calc("<IMG SRC=\"ssys:report.pdf\">").XSize, 16);
  EXPECT_EQ(Calc("<IMG SRC=\"LSYS:report.pdf\">").XSize, 32);
  // An image inside an anchor hits.
  THTMLDrawResult r = DrawHTML(C, "<A HREF=\"pic\"><IMG SRC=\"dot\"></A>", Rect(0, 0, 100, 40), [&] {
    THTMLDrawOptions q = p;
    q.CheckOnly = true;
    q.X = 3;
    q.Y = 2;
    return q;
  }());
  EXPECT_TRUE(r.Hit);
  EXPECT_EQ(r.AnchorVal, "pic");
}

TEST_F(Html, MalformedMarkupNeverRaises) {
  for (const char* t : {"<", "a<", "<B", "x<FONT SIZE=", "<IMG SRC=\"", "</", "<>", "<CONTROL WIDTH=\"x\">",
                        "<UL><UL></UL></UL></UL>", "<P ALIGN=>", "&", "&amp", "<A HREF=\"x\">never closed"}) {
    EXPECT_NO_THROW(Calc(t)) << t;
    THTMLDrawOptions o;
    EXPECT_NO_THROW(DrawHTML(C, t, Rect(0, 0, 100, 40), o)) << t;
  }
  EXPECT_EQ(Calc("ab<").XSize, Width("ab"));
}

TEST_F(Html, PopupButtonDrawsAnHTMLCaption) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 200, 100);
  auto* p = new TPopupButton(&form);
  p->SetParent(&form);
  p->SetBounds(0, 0, 120, 30);
  p->SetCaption("<FONT COLOR=\"clRed\">WWW</FONT>");
  form.Show();
  bool red = false;
  for (int x = 0; x < 60; ++x)
    for (int y = 0; y < 30; ++y) red |= guitest::SurfacePixel(p, x, y) == clRed;
  EXPECT_TRUE(red);
}

}  // namespace
