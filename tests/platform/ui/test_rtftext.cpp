// The small rich-text reader and writer: plain text out of documents, and
// documents that read back as the text they were made from.
#include <gtest/gtest.h>

#include <string>

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
