// The chart file: what a chart written with and without its points reads
// back as, the text form, the damaged files refused, and what reading and
// writing leave of the charts involved.
#include <gtest/gtest.h>

#include <memory>

#include "chart/core/grafconst.h"
#include "chart/editor/editortest.h"
#include "chart/editor/grafstore.h"
#include "platform/rtl/streams.h"
#include "support/tempdir.h"

using editortest::AddLine;

namespace {

class ChartFile : public ::testing::Test {
protected:
  void SetUp() override {
    editortest::EnsureEditor();
    chart = std::make_unique<TChart>(nullptr);
    chart->SetName("Written");
    first = AddLine(*chart, "First", {1, 2.5, -3});
    second = AddLine(*chart, "Second", {10, 20, 30, 40});
    second->SetPointLabel(1, "two");
  }

  std::string Written(bool withData, bool asText) {
    TStringStream s;
    WriteChartStream(chart.get(), s, withData, asText);
    return s.DataString();
  }

  static void ReadInto(TChart& target, const std::string& bytes) {
    TStringStream s(bytes);
    ReadChartStream(&target, s);
  }

  static std::string ErrorOf(const std::string& bytes) {
    TChart target(nullptr);
    try {
      ReadInto(target, bytes);
    } catch (const Exception& e) {
      return e.Message();
    }
    return "no error";
  }

  std::unique_ptr<TChart> chart;
  TLineSeries* first = nullptr;
  TLineSeries* second = nullptr;
};

TEST_F(ChartFile, SeriesClassesTitlesAndPointsComeBackInBothForms) {
  for (bool asText : {false, true}) {
    SCOPED_TRACE(asText ? "text" : "binary");
    TChart read(nullptr);
    ReadInto(read, Written(true, asText));
    ASSERT_EQ(read.NumberOfSeries(), 2);
    const TChartSeries* want[] = {first, second};
    for (int i = 0; i < 2; ++i) {
      TChartSeries* s = read.SeriesAt(i);
      EXPECT_EQ(s->ClassName(), "TLineSeries");
      EXPECT_EQ(s->Title(), want[i]->Title());
      ASSERT_EQ(s->PointCount(), want[i]->PointCount());
      for (int p = 0; p < s->PointCount(); ++p) {
        EXPECT_EQ(s->XValues()->GetValue(p), want[i]->XValues()->GetValue(p));
        EXPECT_EQ(s->YValues()->GetValue(p), want[i]->YValues()->GetValue(p));
      }
    }
    EXPECT_EQ(read.SeriesAt(1)->PointLabel(1), "two");
  }
}

TEST_F(ChartFile, WithoutDataThePointsAddedByCodeStayBehind) {
  TChart read(nullptr);
  ReadInto(read, Written(false, false));
  ASSERT_EQ(read.NumberOfSeries(), 2);
  EXPECT_EQ(read.SeriesAt(0)->PointCount(), 0);
  EXPECT_EQ(read.SeriesAt(1)->PointCount(), 0);
  EXPECT_EQ(read.SeriesAt(1)->Title(), "Second");
}

TEST_F(ChartFile, TheTwoFormsAndTheirHeader) {
  const std::string binary = Written(true, false);
  const std::string text = Written(true, true);
  ASSERT_GE(binary.size(), 8u);
  EXPECT_EQ(binary.substr(0, 8), std::string("\x60\x30\x57\x01TPF0", 8));
  EXPECT_EQ(text.rfind("object TChart\n", 0), 0u) << text.substr(0, 40);

  // Converting either way gives the other form byte for byte; a stream
  // already in the wanted form is copied.
  TStringStream in(binary), out;
  ConvertChartBinaryToText(in, out);
  EXPECT_EQ(out.DataString(), text);
  TStringStream tin(text), bout;
  ConvertChartTextToBinary(tin, bout);
  EXPECT_EQ(bout.DataString(), binary);
  TStringStream same(text), copy;
  ConvertChartBinaryToText(same, copy);
  EXPECT_EQ(copy.DataString(), text);
}

TEST_F(ChartFile, WritingLeavesTheChartAsItWas) {
  Written(true, true);
  EXPECT_EQ(chart->Name(), "Written");
  for (TChartSeries* s : *chart->SeriesList()) {
    EXPECT_FALSE(s->ForceSaveData);
    EXPECT_FALSE(s->DontSaveData);
  }

  // A stream that fails part way: the writer's error reaches the caller and
  // the chart is still as it was.
  class TFullStream : public TMemoryStream {
  public:
    int64_t Write(const void* buffer, int64_t count) override {
      if (Size() + count > 100) return 0;
      return TMemoryStream::Write(buffer, count);
    }
  } full;
  EXPECT_THROW(WriteChartStream(chart.get(), full, false, false), EWriteError);
  EXPECT_EQ(chart->Name(), "Written");
  for (TChartSeries* s : *chart->SeriesList()) EXPECT_FALSE(s->DontSaveData);
  EXPECT_EQ(Written(true, false), Written(true, false));
}

TEST_F(ChartFile, TheReadingChartKeepsItsNameSeriesAndToolsGoFirst) {
  TChart read(nullptr);
  read.SetName("Reader");
  AddLine(read, "Old", {5});
  ReadInto(read, Written(true, false));
  EXPECT_EQ(read.Name(), "Reader");
  ASSERT_EQ(read.NumberOfSeries(), 2);
  EXPECT_EQ(read.SeriesAt(0)->Title(), "First");

  // A stored name (a chart written while designed) is not taken over either.
  const std::string text = "object Stored: TChart\n  Title.Text.Strings = (\n    'Hello')\nend\n";
  ReadInto(read, text);
  EXPECT_EQ(read.Name(), "Reader");
  EXPECT_EQ(read.NumberOfSeries(), 0);
}

TEST_F(ChartFile, DamagedFilesAreRefusedAndTheChartRepaintsAgain) {
  const std::string binary = Written(true, false);
  struct TCase {
    const char* what;
    std::string bytes;
    std::string message;
  };
  const TCase cases[] = {
      {"empty", "", GrafMsgEmptyNativeFile},
      {"another file", "PK\x03\x04 a zip file", GrafMsgWrongNativeFormat},
      {"a picture", "\x89PNG\r\n", GrafMsgWrongNativeFormat},
      {"header only", binary.substr(0, 3), GrafMsgWrongNativeFormat},
      {"no component", binary.substr(0, 4) + "TPF1", "Invalid stream format"},
      {"not a chart", "object Button1: TChartAxisTitle\nend\n", GrafMsgInvalidNativeFile},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(ErrorOf(c.bytes), c.message);
  }
  // Cut anywhere, the binary file gives an error, never a crash; the chart
  // that read it keeps its series and repaints automatically again.
  for (size_t n = 1; n < binary.size(); n += 7) {
    TChart target(nullptr);
    AddLine(target, "Old", {5, 6});
    EXPECT_THROW(ReadInto(target, binary.substr(0, n)), Exception) << n;
    EXPECT_TRUE(target.RepaintOnChange) << n;
    ASSERT_EQ(target.NumberOfSeries(), 1) << n;
    EXPECT_EQ(target.SeriesAt(0)->PointCount(), 2) << n;
  }
}

TEST_F(ChartFile, UnknownHandlersAndPropertiesAreSkippedOrReported) {
  const std::string text =
      "object TChart\n"
      "  OnAfterDraw = ChartAfterDraw\n"
      "  NoSuchProperty = 5\n"
      "  object Series1: TLineSeries\n"
      "    Title = 'Kept'\n"
      "    OnClick = SeriesClick\n"
      "  end\n"
      "end\n";
  TChart read(nullptr);
  ReadInto(read, text);
  ASSERT_EQ(read.NumberOfSeries(), 1);
  EXPECT_EQ(read.SeriesAt(0)->Title(), "Kept");

  // With a callback, the error is offered to it and refused errors stop the reading.
  std::vector<std::string> seen;
  TStringStream s(text);
  EXPECT_THROW(ReadChartStream(&read, s, false,
                               [&](const std::string& m) {
                                 seen.push_back(m);
                                 return false;
                               }),
               EReadError);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_NE(seen[0].find("NoSuchProperty"), std::string::npos) << seen[0];
  EXPECT_TRUE(read.RepaintOnChange);
}

TEST_F(ChartFile, OlderFilesCarryThePointsAfterTheChart) {
  // An older file: the chart without points, then each series' point data.
  std::string bytes = Written(false, false);
  for (TChartSeries* s : *chart->SeriesList()) {
    TMemoryStream data;
    s->SavePointData(&data);
    bytes.append(reinterpret_cast<const char*>(data.Memory()), static_cast<size_t>(data.Size()));
  }
  TChart read(nullptr);
  TStringStream in(bytes);
  ReadChartStreamWithData(&read, in);
  ASSERT_EQ(read.NumberOfSeries(), 2);
  EXPECT_EQ(read.SeriesAt(0)->PointCount(), 3);
  EXPECT_EQ(read.SeriesAt(1)->PointCount(), 4);
  EXPECT_EQ(read.SeriesAt(1)->YValues()->GetValue(3), 40);

  // Read without the trailing data, the same file has no points.
  TChart plain(nullptr);
  TStringStream again(bytes);
  ReadChartStream(&plain, again);
  EXPECT_EQ(plain.SeriesAt(1)->PointCount(), 0);
}

TEST_F(ChartFile, OlderChartClassesAndFileNames) {
  std::string text = Written(true, true);
  text.replace(text.find("TChart"), 6, "TChartChart");
  TChart read(nullptr);
  ReadInto(read, text);
  EXPECT_EQ(read.NumberOfSeries(), 2);

  TTempDir dir;
  WriteChartFile(chart.get(), dir.File("plot"));
  EXPECT_EQ(TTempDir::Read(dir.File("plot.grf")), Written(true, false));
  WriteChartFile(chart.get(), dir.File("plot.txt"), false, true);
  EXPECT_EQ(TTempDir::Read(dir.File("plot.txt")), Written(false, true));
}

}  // namespace
