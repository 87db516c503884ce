// The small rich-text reader and writer: plain text out of documents, and
// documents that read back as the text they were made from.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/ui/rtftext.h"

namespace {

TEST(RtfText, PlainTextOfDocuments) {
  struct Case {
    const char* rtf;
    std::string text;
  };
  const Case cases[] = {
      {R"({\rtf1\ansi{\fonttbl{\f0\fswiss Arial;}}{\colortbl;\red255\green0\blue0;}\f0\fs20 Hello \b world\b0\par})",
       "Hello world"},
      {R"({\rtf1 one\par two\line three\par})", "one\r\ntwo\r\nthree"},
      {R"({\rtf1 a\tab b})", "a\tb"},
      {R"({\rtf1 braces \{ \} and \\ back})", "braces { } and \\ back"},
      {R"({\rtf1 caf\'e9})", "caf\xC3\xA9"},
      {R"({\rtf1\uc1 \u8364?5 \u-3?})", "\xE2\x82\xAC" "5 \xEF\xBF\xBD"},
      {R"({\rtf1 x{\*\generator Writer 1.0;}y{\pict\pngblip 89504e47}z})", "xyz"},
      {R"({\rtf1 \u55357?\u56832?})", "\xF0\x9F\x98\x80"},
      // Damaged documents end quietly.
      {R"({\rtf1 cut off \)", "cut off "},
      {R"({\rtf1 early}} after)", "early"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(RTFToPlainText(c.rtf), c.text) << c.rtf;
}

TEST(RtfText, WrittenDocumentsReadBack) {
  for (const std::string text : {"plain", "two\r\nlines", "tab\there", "{braces} \\ back", "\xC3\xA9t\xC3\xA9 \xE2\x82\xAC",
                                 "smile \xF0\x9F\x98\x80"}) {
    const std::string rtf = PlainTextToRTF(text);
    EXPECT_TRUE(IsRTFDocument(rtf));
    EXPECT_EQ(RTFToPlainText(rtf), text);
  }
  EXPECT_FALSE(IsRTFDocument("plain {\\rtf1}"));
}

TEST(RtfText, DeepNestingNeitherHangsNorOverflows) {
  std::string rtf = "{\\rtf1 ";
  for (int i = 0; i < 100000; ++i) rtf += "{";
  rtf += "deep";
  EXPECT_EQ(RTFToPlainText(rtf), "deep");
}

}  // namespace

// ---- The document model ------------------------------------------------------

namespace {

TRTFCharFormat Fmt(const std::string& font, int halfPoints, TFontStyles style = {}, TColor color = clDefault) {
  return TRTFCharFormat{font, halfPoints, style, color};
}

TRTFParagraph Para(std::vector<TRTFRun> runs, TAlignment alignment = taLeftJustify) {
  TRTFParagraph p;
  p.Alignment = alignment;
  p.Runs = std::move(runs);
  return p;
}

// A readable form of a document for failure messages.
std::string Describe(const TRTFDocument& d) {
  std::string s = "default font '" + d.DefaultFont + "'\n";
  for (const TRTFParagraph& p : d.Paragraphs) {
    s += "  paragraph (alignment " + std::to_string(p.Alignment) + ")\n";
    for (const TRTFRun& r : p.Runs)
      s += "    '" + r.Text + "' font '" + r.Format.FontName + "' " + std::to_string(r.Format.HalfPoints) +
           " style " + std::to_string(r.Format.Style.Bits()) + " colour " + std::to_string(r.Format.Color) + "\n";
  }
  return s;
}

bool BracesBalance(const std::string& rtf) {
  int depth = 0;
  for (size_t i = 0; i < rtf.size(); ++i) {
    if (rtf[i] == '\\') ++i;
    else if (rtf[i] == '{') ++depth;
    else if (rtf[i] == '}' && --depth < 0) return false;
  }
  return depth == 0;
}

TEST(RtfDocument, WrittenDocumentsReadBackTheSame) {
  const TFontStyles bold{fsBold}, italic{fsItalic}, under{fsUnderline}, strike{fsStrikeOut};
  const TColor red = static_cast<TColor>(0x0000FF), teal = static_cast<TColor>(0x808000);
  struct Case {
    const char* name;
    TRTFDocument doc;
  };
  const Case cases[] = {
      {"styled runs",
       {"Arial",
        {Para({{"plain ", Fmt("Arial", 20)},
               {"bold", Fmt("Arial", 20, bold)},
               {" italic", Fmt("Arial", 20, italic)},
               {" under", Fmt("Arial", 20, under)},
               {" struck", Fmt("Arial", 20, strike)},
               {" all", Fmt("Arial", 20, TFontStyles{fsBold, fsItalic, fsUnderline, fsStrikeOut})}})}}},
      {"two fonts and sizes",
       {"Times New Roman",
        {Para({{"serif ", Fmt("Times New Roman", 24)}, {"mono", Fmt("Courier New", 17)}}),
         Para({{"default", Fmt("", 0)}, {" big", Fmt("", 72)}})}}},
      {"colours",
       {"Arial",
        {Para({{"red", Fmt("Arial", 20, {}, red)},
               {" teal", Fmt("Arial", 20, {}, teal)},
               {" auto", Fmt("Arial", 20)},
               {" red again", Fmt("Arial", 20, bold, red)}})}}},
      {"alignment",
       {"Arial",
        {Para({{"left", Fmt("Arial", 20)}}), Para({{"centre", Fmt("Arial", 20)}}, taCenter),
         Para({{"right", Fmt("Arial", 20)}}, taRightJustify), Para({}, taCenter)}}},
      {"characters beyond ASCII",
       {"Arial",
        {Para({{"caf\xC3\xA9 \xE2\x82\xAC \xCE\xB1\xCE\xB2 \xF0\x9F\x98\x80 \xC2\xA0", Fmt("Arial", 20)}})}}},
      {"tabs, line breaks and specials",
       {"Arial",
        {Para({{"a\tb\nc", Fmt("Arial", 20)}, {"{x} \\ y;", Fmt("Arial", 20, bold)}}),
         Para({}),
         Para({{"after an empty paragraph\t", Fmt("Arial", 20)}})}}},
      {"font without a name, empty document parts", {"", {Para({{"text", Fmt("", 0)}}), Para({})}}},
      {"no paragraphs", {"Arial", {}}},
  };
  for (const Case& c : cases) {
    const std::string rtf = DocumentToRTF(c.doc);
    EXPECT_TRUE(IsRTFDocument(rtf)) << c.name;
    EXPECT_TRUE(BracesBalance(rtf)) << c.name << "\n" << rtf;
    EXPECT_TRUE(std::all_of(rtf.begin(), rtf.end(), [](char ch) { return static_cast<unsigned char>(ch) < 0x80; }))
        << c.name;
    const TRTFDocument back = RTFToDocument(rtf);
    EXPECT_EQ(back, c.doc) << c.name << "\n" << rtf << "\nread:\n" << Describe(back);
  }
}

TEST(RtfDocument, SizesAndColoursAreWrittenInPlainDigits) {
  // Whatever the locale: half points and colour parts as integers.
  TRTFDocument doc{"Arial", {Para({{"x", Fmt("Arial", 21, {}, static_cast<TColor>(0x102030))}})}};
  const std::string rtf = DocumentToRTF(doc);
  EXPECT_NE(rtf.find("\\fs21"), std::string::npos) << rtf;
  EXPECT_NE(rtf.find("\\red48\\green32\\blue16;"), std::string::npos) << rtf;
  EXPECT_NE(rtf.rfind("{\\rtf1\\ansi\\deff0", 0), std::string::npos) << rtf;
}

TEST(RtfDocument, ReadsWhatOtherWritersWrite) {
  const TColor red = static_cast<TColor>(0x0000FF);
  struct Case {
    const char* rtf;
    TRTFDocument doc;
  };
  const Case cases[] = {
      // Font and colour tables, \viewkind-style noise, scoped groups, \plain and \pard.
      {R"({\rtf1\ansi\ansicpg1252\deff0\nouicompat{\fonttbl{\f0\fswiss\fcharset0 Arial;}{\f1\froman\fprq2 Times New Roman;}}
{\colortbl ;\red255\green0\blue0;}
{\*\generator Writer 10.0;}\viewkind4\uc1\pard\qc\f0\fs20 Hello {\b\f1 bold}\cf1  red\cf0\par
\pard\plain plain\par
})",
       {"Arial",
        {Para({{"Hello ", Fmt("Arial", 20)}, {"bold", Fmt("Times New Roman", 20, TFontStyles{fsBold})},
               {" red", Fmt("Arial", 20, {}, red)}},
              taCenter),
         Para({{"plain", Fmt("", 0)}})}}},
      // A font table without inner groups, \deff naming the second font.
      {R"({\rtf1\deff1{\fonttbl\f0 Courier New;\f1 Arial;}\f0 mono \f1 sans \f7 unknown})",
       {"Arial", {Para({{"mono ", Fmt("Courier New", 0)}, {"sans ", Fmt("Arial", 0)}, {"unknown", Fmt("", 0)}})}}},
      // Switches with 0 turn a style off; \ulnone too.
      {R"({\rtf1 \b\i\ul\strike on\b0\i0\ulnone\strike0  off})",
       {"", {Para({{"on", Fmt("", 0, TFontStyles{fsBold, fsItalic, fsUnderline, fsStrikeOut})}, {" off", Fmt("", 0)}})}}},
      // \uN with fallbacks of 0, 1 and 2 characters; \'hh; \line and \tab.
      {R"({\rtf1 \uc0\u945\uc1 \u946?\uc2\u947??x\'e9\line a\tab b})",
       {"", {Para({{"\xCE\xB1\xCE\xB2\xCE\xB3x\xC3\xA9\na\tb", Fmt("", 0)}})}}},
      // Destinations that hold no text, binary data.
      {R"({\rtf1 a{\*\unknown skip}{\stylesheet{\s0 Normal;}}{\pict\wmetafile8 0102}{\info{\title T}}b\bin3 xyzc})",
       {"", {Para({{"abc", Fmt("", 0)}})}}},
      // The paragraph's alignment is the one at its mark; the last paragraph needs none.
      {R"({\rtf1 \qr one\par\qc two})", {"", {Para({{"one", Fmt("", 0)}}, taRightJustify), Para({{"two", Fmt("", 0)}}, taCenter)}}},
  };
  for (const Case& c : cases) {
    const TRTFDocument doc = RTFToDocument(c.rtf);
    EXPECT_EQ(doc, c.doc) << c.rtf << "\nread:\n" << Describe(doc);
  }
}

TEST(RtfDocument, DamagedInputEndsQuietly) {
  std::string deep = "{\\rtf1 ";
  for (int i = 0; i < 100000; ++i) deep += "{";
  deep += "deep";
  // Formatting inside groups nested beyond what the reader keeps stays
  // inside the outer groups.
  std::string scoped = "{\\rtf1 ";
  for (int i = 0; i < 1000; ++i) scoped += "{\\b ";
  scoped += "x";
  for (int i = 0; i < 1000; ++i) scoped += "}";
  scoped += "y}";
  std::string manyColours = "{\\rtf1{\\colortbl";
  for (int i = 0; i < 5000; ++i) manyColours += "\\red1;";
  manyColours += "}\\cf4999 c}";
  struct Case {
    std::string rtf;
    std::string text;
  };
  const Case cases[] = {
      {"{\\rtf1 {\\b open", "open"},
      {deep, "deep"},
      {"{\\rtf1 }}}}} after", ""},
      {"{\\rtf1 \\fs999999999999 big\\fs-5  neg}", "big neg"},
      {"{\\rtf1 \\u99999999999999? \\uc999999999 \\u65 abcdefghijk}", "\xEF\xBF\xBF" " A" "ijk"},
      {"{\\rtf1 a\\bin999999999999999 rest}", "a"},
      {"{\\rtf1 \\cf999999999 \\f99999999999 x}", "x"},
      {"{\\rtf1 cut \\'4", "cut "},
      {"{\\rtf1 cut \\", "cut "},
      {"{\\rtf1 \\" + std::string(1000, 'a') + " z}", "z"},
      {manyColours, "c"},
      {"{\\rtf1 {\\fonttbl{\\f0 Unclosed", ""},
      {scoped, "xy"},
  };
  for (const Case& c : cases) {
    const TRTFDocument doc = RTFToDocument(c.rtf);
    EXPECT_EQ(doc.PlainText(), c.text) << c.rtf.substr(0, 80);
  }
  const TRTFDocument big = RTFToDocument("{\\rtf1 \\fs999999999999 big}");
  ASSERT_EQ(big.Paragraphs.size(), 1u);
  EXPECT_EQ(big.Paragraphs[0].Runs[0].Format.HalfPoints, 3276);
  const TRTFDocument sc = RTFToDocument(scoped);
  ASSERT_EQ(sc.Paragraphs.size(), 1u);
  ASSERT_EQ(sc.Paragraphs[0].Runs.size(), 2u);
  EXPECT_TRUE(sc.Paragraphs[0].Runs[0].Format.Style.Contains(fsBold));
  EXPECT_FALSE(sc.Paragraphs[0].Runs[1].Format.Style.Contains(fsBold));
  const TRTFDocument colours = RTFToDocument(manyColours);
  EXPECT_EQ(colours.Paragraphs[0].Runs[0].Format.Color, static_cast<TColor>(1));
}

TEST(RtfDocument, RunsAreComparedAsTextInFormats) {
  TRTFParagraph split;
  split.Runs = {{"ab", Fmt("Arial", 20)}, {"", Fmt("Arial", 20, TFontStyles{fsBold})}, {"cd", Fmt("Arial", 20)}};
  TRTFParagraph joined;
  joined.Add("ab", Fmt("Arial", 20));
  joined.Add("cd", Fmt("Arial", 20));
  EXPECT_EQ(joined.Runs.size(), 1u);
  EXPECT_EQ((TRTFDocument{"Arial", {split}}), (TRTFDocument{"Arial", {joined}}));
  joined.Runs[0].Format.Style.Include(fsItalic);
  EXPECT_FALSE((TRTFDocument{"Arial", {split}}) == (TRTFDocument{"Arial", {joined}}));
  EXPECT_FALSE((TRTFDocument{"Arial", {split}}) == (TRTFDocument{"Times", {split}}));
}

}  // namespace
