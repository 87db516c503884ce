// The series data exports against reviewed golden files: delimited text,
// XML (also read back by xmllint), the HTML table and the worksheet stream,
// byte for byte; and the worksheet's row limit.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "chart/core/grafconst.h"
#include "chart/editor/editortest.h"
#include "chart/editor/grafstore.h"
#include "platform/rtl/streams.h"
#include "support/tempdir.h"

using editortest::AddLine;
using editortest::MatchesGolden;

namespace {

std::string StreamBytes(TSeriesData& data) {
  TStringStream s;
  data.SaveTextToStream(s);
  return s.DataString();
}

// A chart of two line series of 3 and 5 points.
class DataExport : public ::testing::Test {
protected:
  void SetUp() override {
    editortest::EnsureEditor();
    chart = std::make_unique<TChart>(nullptr);
    a = AddLine(*chart, "Alpha", {1.5, 2, -3});
    b = AddLine(*chart, "Beta", {10, 20, 30, 40, 50});
  }
  std::unique_ptr<TChart> chart;
  TLineSeries* a = nullptr;
  TLineSeries* b = nullptr;
};

TEST_F(DataExport, DelimitedTextOfTwoSeriesOfDifferentLengths) {
  TSeriesDataText text(chart.get(), nullptr);
  const std::string out = text.ExportText();
  EXPECT_EQ(out, "1.5\t10\r\n2\t20\r\n-3\t30\r\n40\r\n50\r\n\r\n");
  EXPECT_TRUE(MatchesGolden("two-series.txt", StreamBytes(text)));
}

TEST_F(DataExport, DelimitedTextHeaders) {
  struct TCase {
    const char* what;
    bool index, header, labels;
    std::string want;
  };
  b->SetPointLabel(0, "first");
  const TCase cases[] = {
      // One line series with labels: "Text", a tab and the series' name.
      {"labels", false, true, true, "Text\tBeta\r\nfirst\t10\r\n"},
      {"index", true, true, false, "Index\tBeta\r\n0\t10\r\n"},
      {"no header", false, false, true, "first\t10\r\n"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    TSeriesDataText text(chart.get(), b);
    text.WithIndex = c.index;
    text.IncludeHeader = c.header;
    text.WithLabels = c.labels;
    EXPECT_EQ(text.ExportText().substr(0, c.want.size()), c.want);
  }
  // A chart without series, with a header and no index: two line ends.
  TChart empty(nullptr);
  TSeriesDataText none(&empty, nullptr);
  none.IncludeHeader = true;
  EXPECT_EQ(none.ExportText(), "\r\n\r\n");
}

TEST_F(DataExport, DelimitedTextWithEveryColumn) {
  // X values of their own (one list holds dates), colours, labels of the
  // second series only, quotes and a custom delimiter.
  TChart c(nullptr);
  auto* s = new TLineSeries(&c);
  s->SetParentChart(&c);
  s->SetTitle("Dated");
  s->XValues()->SetDateTime(true);
  s->AddXYPoint(36526.5, 1.25, "", clRed);
  s->AddXYPoint(36527, 2.5, "", clBlue);
  auto* t = new TLineSeries(&c);
  t->SetParentChart(&c);
  t->SetTitle("Plain");
  t->AddXYPoint(7, 8, "seven");
  t->AddXYPoint(9, 10, "nine");
  t->AddXYPoint(11, 12);
  TSeriesDataText text(&c, nullptr);
  text.WithIndex = text.WithColors = text.IncludeHeader = true;
  text.Delimiter = ';';
  text.Quotes = "\"";
  EXPECT_TRUE(MatchesGolden("every-column.txt", StreamBytes(text)));
}

TEST_F(DataExport, XmlOfOneSeriesAndOfTheChart) {
  TSeriesDataXML one(chart.get(), a);
  const std::string xml = one.ExportText();
  EXPECT_NE(xml.find("\r\n<point  Y=\"1.5\"/>\r\n"), std::string::npos) << xml;
  EXPECT_TRUE(MatchesGolden("one-series.xml", StreamBytes(one)));

  TSeriesDataXML all(chart.get(), nullptr);
  all.WithIndex = true;
  EXPECT_TRUE(MatchesGolden("chart.xml", StreamBytes(all)));
}

// Markup characters in texts, and characters outside the declared encoding.
TEST_F(DataExport, XmlIsWellFormedWhateverTheTexts) {
  a->SetTitle("A <b> & \"c\"");
  a->SetPointLabel(0, "x < y & z");
  a->SetPointLabel(1, "\xC3\xA9t\xC3\xA9 \xE2\x82\xAC");  // été €
  TSeriesDataXML xml(chart.get(), a);
  const std::string bytes = StreamBytes(xml);
  EXPECT_NE(bytes.find("text=\"x &lt; y &amp; z\""), std::string::npos) << bytes;
  // ISO-8859-1: é as its one byte, the euro sign as a reference.
  EXPECT_NE(bytes.find("text=\"\xE9t\xE9 &#8364;\""), std::string::npos) << bytes;

  TSeriesDataXML utf8(chart.get(), nullptr);
  utf8.Encoding = "UTF-8";
  utf8.WithColors = true;

  TTempDir dir;
  for (auto [name, data] : {std::pair{"latin1.xml", StreamBytes(xml)}, std::pair{"utf8.xml", StreamBytes(utf8)}}) {
    const std::string file = dir.Write(name, data);
    const std::string cmd = "xmllint --noout '" + file + "' 2>&1";
    ASSERT_EQ(std::system(cmd.c_str()), 0) << name << " is not well-formed:\n" << data;
  }
}

TEST_F(DataExport, HtmlTable) {
  a->SetPointLabel(2, "<b>bold</b>");
  TSeriesDataHTML html(chart.get(), nullptr);
  html.WithIndex = html.IncludeHeader = true;
  const std::string out = html.ExportText();
  EXPECT_EQ(out.rfind("<table border=\"1\">\r\n<tr><td>Index</td><td>Text</td><td>Alpha</td>", 0), 0u) << out;
  EXPECT_NE(out.find("<td>&lt;b&gt;bold&lt;/b&gt;</td>"), std::string::npos);
  // Beta's fourth point: the first series has no point there, so empty cells.
  EXPECT_NE(out.find("<tr><td>3</td><td></td><td></td><td></td><td>40</td></tr>\r\n"), std::string::npos) << out;
  EXPECT_EQ(out.substr(out.size() - 10), "\r\n</table>");
  EXPECT_TRUE(MatchesGolden("chart.htm", StreamBytes(html)));
}

TEST_F(DataExport, WorksheetStream) {
  TChart c(nullptr);
  auto* s = AddLine(c, "Sheet", {});
  s->AddXYPoint(0, 1.5, "one");
  s->AddBlankXY(1, 0, "null");
  s->AddXYPoint(2, -7, "three");
  TSeriesDataXLS xls(&c, s);
  xls.IncludeHeader = true;
  const std::string bytes = StreamBytes(xls);
  // The dimensions: 4 rows (a header and 3 points), 2 columns (label, Y).
  ASSERT_GE(bytes.size(), 26u);
  EXPECT_EQ(bytes.substr(12, 14), std::string("\x00\x02\x0A\x00\x00\x00\x04\x00\x00\x00\x02\x00\x00\x00", 14));
  // Point 1 is null: its Y is a blank cell (type 1) in row 2, column 1.
  EXPECT_NE(bytes.find(std::string("\x01\x00\x07\x00\x02\x00\x01\x00\x00\x00\x00", 11)), std::string::npos);
  EXPECT_EQ(bytes.substr(bytes.size() - 4), std::string("\x0A\x00\x00\x00", 4));
  EXPECT_TRUE(MatchesGolden("sheet.xls", bytes));
  // Its text is one empty line per point.
  EXPECT_EQ(xls.ExportText(), "\r\n\r\n\r\n");

  TSeriesDataXLS all(chart.get(), nullptr);
  all.WithIndex = all.IncludeHeader = all.WithColors = true;
  EXPECT_TRUE(MatchesGolden("chart.xls", StreamBytes(all)));
}

TEST_F(DataExport, TheWorksheetsRowLimitIsNeverWrapped) {
  TChart c(nullptr);
  auto* s = AddLine(c, "Long", {});
  s->SuspendUpdates();
  for (int i = 0; i < kWorksheetMaxRows - 1; ++i) s->AddSingleValue(i);
  s->ResumeUpdates();
  TSeriesDataXLS xls(&c, s);
  xls.IncludeHeader = true;
  EXPECT_NO_THROW(StreamBytes(xls));  // 65,534 points and a header: 65,535 rows
  s->AddSingleValue(1);
  TStringStream out;
  try {
    xls.SaveTextToStream(out);
    FAIL() << "a sheet of 65,536 rows was written";
  } catch (const ChartException& e) {
    EXPECT_NE(e.Message().find("65536"), std::string::npos) << e.Message();
  }
  EXPECT_EQ(out.Size(), 0);
  xls.IncludeHeader = false;
  EXPECT_NO_THROW(StreamBytes(xls));
}

}  // namespace
