// Text operations on mini-HTML markup: control tags, plain text, highlights,
// colours, numbers and the preparation of the text before layout.
#include <gtest/gtest.h>

#include "grid/support/psghtmle.h"

namespace {

const std::string ThreeControls =
    "<CONTROL TYPE=\"EDIT\" ID=\"a\" WIDTH=\"50\"><CONTROL TYPE=\"CHECK\" ID=\"b\" WIDTH=\"16\">"
    "<CONTROL TYPE=\"COMBO\" ID=\"c\" WIDTH=\"80\">";

TEST(HTMLControls, NextEditControl) {
  EXPECT_EQ(NextHTMLEditControlID(ThreeControls, ""), "a");
  EXPECT_EQ(NextHTMLEditControlID(ThreeControls, "a"), "c");
  EXPECT_EQ(NextHTMLEditControlID(ThreeControls, "c"), "");
  EXPECT_EQ(NextHTMLEditControlID(ThreeControls, "b"), "c");
  EXPECT_EQ(NextHTMLEditControlID("no controls", ""), "");
  EXPECT_TRUE(HasHTMLControl("x<control type=\"EDIT\">"));
  EXPECT_FALSE(HasHTMLControl("<CONTRO"));
}

TEST(HTMLControls, SetValueRewritesTheTag) {
  std::string t = "x<CONTROL TYPE=\"edit\" ID=\"a\" VALUE=\"x\" WIDTH=\"50\" EXTRA=\"1\">y";
  EXPECT_TRUE(SetHTMLControlValue(t, "a", "1<2"));
  EXPECT_EQ(t, "x<CONTROL ID=\"a\" VALUE='1&lt;2' WIDTH=\"50\" TYPE=\"EDIT\">y");
  EXPECT_EQ(ParseControlTag(t).Value, "1<2");
  std::string m = "<CONTROL TYPE=\"MASK\" ID=\"m\" WIDTH=\"40\" PROP=\"99/99\">";
  EXPECT_TRUE(SetHTMLControlValue(m, "m", "it's \"ok\" & <fine>"));
  EXPECT_EQ(m, "<CONTROL ID=\"m\" VALUE='it&#39;s &quot;ok&quot; &amp; &lt;fine&gt;' WIDTH=\"40\" TYPE=\"MASK\" "
               "PROP=\"99/99\">");
  EXPECT_EQ(ParseControlTag(m).Value, "it's \"ok\" & <fine>");  // comes back unchanged
  EXPECT_EQ(GetHTMLControlProp(m, "m"), "99/99");
  EXPECT_EQ(GetHTMLControlProp(m, "x"), "");
  std::string same = ThreeControls;
  EXPECT_FALSE(SetHTMLControlValue(same, "zz", "1"));
  EXPECT_EQ(same, ThreeControls);
}

TEST(HTMLControls, ParseTagWithEitherQuotes) {
  THTMLControlTag t = ParseControlTag("<CONTROL type='check' ID=\"c1\" VALUE='a&amp;b' WIDTH=20 PROP=\"p\">");
  EXPECT_EQ(t.Type, "CHECK");
  EXPECT_EQ(t.ID, "c1");
  EXPECT_EQ(t.Value, "a&b");
  EXPECT_EQ(t.Width, "p");  // unquoted: the next quoted value
  EXPECT_EQ(ParseControlTag("<CONTROL ID=\"a\">").Type, "");
  EXPECT_EQ(UnescapeControlValue("&amp;lt;"), "&lt;");  // decoded once
  EXPECT_EQ(EscapeControlValue("a&b"), "a&amp;b");
  EXPECT_EQ(PasswordMask("ab\u00E9"), "***");
}

TEST(HTMLText, PlainTextAndStripping) {
  EXPECT_EQ(HTMLToPlainText("a<BR>b<B>c</B>"), "a\r\nbc");
  EXPECT_EQ(HTMLToPlainText("a<hr>b"), "a\r\nb");
  EXPECT_EQ(HTMLToPlainText("x<b>y</b>z &amp;"), "xyz &amp;");  // entities stay
  EXPECT_EQ(StripHTMLTags("a<BR>b"), "ab");
  EXPECT_EQ(StripHTMLTags("a<b>c<d"), "ac<d");  // no ">": the rest stays
}

TEST(HTMLText, Highlight) {
  struct {
    std::string text, search, result;
    bool cs;
  } cases[] = {
      {"<B>abc</B>", "b", "<B>a<HI>b</HI>c</B>", false},
      {"aaaa", "aa", "<HI>aa</HI><HI>aa</HI>", false},  // adjacent matches both marked
      {"Abc abc", "abc", "<HI>Abc</HI> <HI>abc</HI>", false},
      {"Abc abc", "abc", "Abc <HI>abc</HI>", true},
      {"<I>x</I>yz", "xy", "<HI><I>x</I>y</HI>z", false},
      {"<B>ab</B>c", "bc", "<B>a<HI>b</B>c</HI>", false},  // closing highlight after the bold's end
      {"abc", "", "abc", false},
      {"abc", "zz", "abc", false},
  };
  for (const auto& c : cases) EXPECT_EQ(HighlightHTMLText(c.text, c.search, "HI", c.cs), c.result) << c.text;
  EXPECT_EQ(RemoveHTMLTagPair("x<hi>y</HI>", "hi"), "xy");
  EXPECT_EQ(RemoveHTMLTagPair(HighlightHTMLText("<B>abc</B>", "b", "HI"), "HI"), "<B>abc</B>");
  EXPECT_EQ(PlainToHTMLIndex("<B>ab</B>", 1), 1);
  EXPECT_EQ(PlainToHTMLIndex("<B>ab</B>", 2), 5);
  EXPECT_EQ(PlainToHTMLIndex("<B>ab</B>", 3), 10);
  EXPECT_EQ(PlainToHTMLIndex("<B>ab</B>", 4), 0);
}

TEST(HTMLText, ColoursAndNumbers) {
  EXPECT_EQ(HTMLColorByName("clnavy"), clNavy);
  EXPECT_EQ(HTMLColorByName("clbtnface"), clBtnFace);
  EXPECT_EQ(HTMLColorByName("clnosuch"), 0);
  EXPECT_EQ(HTMLHexColor("#FF0000"), clRed);
  EXPECT_EQ(HTMLHexColor("#00ff80"), static_cast<TColor>(RGB(0, 255, 0x80)));
  EXPECT_EQ(HexPairValue("1"), 0);
  EXPECT_EQ(HexPairValue("fF"), 255);
  struct {
    const char* text;
    int value;
  } numbers[] = {{"12", 12}, {"  -7", -7}, {"+3", 3}, {"$1F", 31}, {"0x10", 16}, {"x10", 16},
                 {"12px", 12}, {"-12px", 12}, {"abc", 0}, {"", 0}};
  for (const auto& n : numbers) EXPECT_EQ(StrToIntPartial(n.text), n.value) << n.text;
  std::string s = "aXbxc";
  EXPECT_TRUE(ReplaceFirstNoCase(s, "x", "-"));
  EXPECT_EQ(s, "a-bxc");
  EXPECT_FALSE(ReplaceFirstNoCase(s, "q", "-"));
}

TEST(HTMLText, EntitiesDecodedOnce) {
  struct {
    std::string in, prepared, run;
  } cases[] = {
      {"&amp;lt;", "&amp;lt;", "&lt;"},
      {"&amp;amp;", "&amp;amp;", "&amp;"},
      {"&AMP;", "&amp;", "&"},
      {"&lt;B&gt;", "&lt;B&gt;", "<B>"},
      {"a&nbsp;b", "a&nbsp;b", "a b"},
      {"&euro;5 &copy;", "\u20AC5 \u00A9", "\u20AC5 \u00A9"},
      {"&quot;q&quot;", "\"q\"", "\"q\""},
      {"&amp;quot;", "&amp;quot;", "&quot;"},
      {"a\r\nb", "a<BR>b", "a<BR>b"},
      {"<#x>y", "#xy", "#xy"},
  };
  for (const auto& c : cases) {
    const std::string p = PrepareHTMLText(c.in);
    EXPECT_EQ(p, c.prepared) << c.in;
    EXPECT_EQ(DecodeRunEntities(p), c.run) << c.in;
  }
  // Tags keep their text: a control's value is decoded once, by its reader.
  EXPECT_EQ(PrepareHTMLText("<CONTROL VALUE=\"&quot;\">"), "<CONTROL VALUE=\"&quot;\">");
}

}  // namespace
