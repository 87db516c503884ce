// Chart files as pictures, the save-chart dialog's formats, and the chart
// actions' choice of target.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "chart/editor/editortest.h"
#include "chart/editor/grafchartactions.h"
#include "chart/editor/grafeditpro.h"
#include "chart/editor/grafstore.h"
#include "support/gui/guitest.h"
#include "support/tempdir.h"

namespace {

uint32_t U32(const std::string& s, size_t at) {
  uint32_t v = 0;
  if (s.size() >= at + 4) std::memcpy(&v, s.data() + at, 4);
  return v;
}

class ChartImage : public ::testing::Test {
protected:
  void SetUp() override {
    editortest::EnsureEditor();
    chart = std::make_unique<TChart>(nullptr);
    chart->SetName("Stored");
    chart->SetBounds(0, 0, 321, 187);
    chart->SetColor(clYellow);
    editortest::AddLine(*chart, "Line", {1, 4, 2, 5, 3});
  }
  std::unique_ptr<TChart> chart;
};

TEST_F(ChartImage, AChartFileLoadsAsAPictureOfTheStoredChartsSize) {
  TTempDir dir;
  const std::string file = dir.File("stored.grf");
  WriteChartFile(chart.get(), file, true, false);
  TPicture picture;
  picture.LoadFromFile(file);
  auto* image = dynamic_cast<TChartImage*>(picture.Graphic());
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(picture.Width(), 321);
  EXPECT_EQ(picture.Height(), 187);
  ASSERT_EQ(image->Chart()->NumberOfSeries(), 1);
  EXPECT_EQ(image->Chart()->SeriesAt(0)->Count(), 5);

  // Drawn: white first, then the chart (clear background here) over it.
  image->Chart()->SetColor(clNone);
  TBitmap b(321, 187, pf24bit);
  b.Canvas()->Brush()->SetColor(clRed);
  b.Canvas()->FillRect(Rect(0, 0, 321, 187));
  b.Canvas()->Draw(0, 0, image);
  EXPECT_EQ(ColorToRGB(b.Canvas()->Pixels(2, 2)), ColorToRGB(clWhite));
}

TEST_F(ChartImage, ADamagedChartFileIsRefusedAndThePictureKept) {
  TTempDir dir;
  const std::string empty = dir.Write("empty.grf", "");
  TPicture picture;
  EXPECT_THROW(picture.LoadFromFile(empty), Exception);
  EXPECT_EQ(picture.Graphic(), nullptr);
}

TEST_F(ChartImage, TheSaveDialogWritesTheChosenFormat) {
  TTempDir dir;
  struct TCase {
    int FilterIndex;
    const char* Name;
    uint32_t Magic;
  };
  // 1 the chart file, 2 "Enhanced Metafiles (*.emf)", 3 "Metafiles (*.wmf)".
  for (const TCase& c : {TCase{1, "chart.grf", 0}, TCase{2, "chart.emf", 1u}, TCase{3, "chart.wmf", 0x9AC6CDD7u}}) {
    std::string filter;
    guitest::TCommonDialogResponder answer;
    answer.Do([&](TCommonDialog* d) {
      auto* save = dynamic_cast<TSaveDialog*>(d);
      if (!save) return false;
      filter = save->Filter;
      save->FilterIndex = c.FilterIndex;
      save->FileName = dir.File(c.Name);
      return true;
    });
    std::string chosen;
    SaveChartDialog(chart.get(), chosen);
    EXPECT_EQ(chosen, dir.File(c.Name));
    EXPECT_EQ(filter.rfind("GrafChart Pro files (*.grf)|*.grf|Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf",
                           0),
              0u)
        << filter;
    const std::string bytes = TTempDir::Read(dir.File(c.Name));
    if (c.FilterIndex == 1) {
      TChart back(nullptr);
      TMemoryStream s;
      s.LoadFromFile(dir.File(c.Name));
      ReadChartStreamWithData(&back, s);
      EXPECT_EQ(back.NumberOfSeries(), 1);
    } else {
      EXPECT_EQ(U32(bytes, 0), c.Magic) << c.Name;
    }
  }
  // Cancelled: no name, no file.
  guitest::TCommonDialogResponder cancel;
  cancel.Do([](TCommonDialog*) { return false; });
  std::string chosen = "old";
  SaveChartDialog(chart.get(), chosen);
  EXPECT_EQ(chosen, "");
}

TEST_F(ChartImage, AnActionWithAChartActsOnlyOnIt) {
  TChart other(nullptr);
  TChartActionCopy copy(nullptr);
  EXPECT_EQ(copy.Caption(), "&Copy");
  EXPECT_EQ(copy.Hint(), "Copy to Clipboard");
  EXPECT_TRUE(copy.HandlesTarget(chart.get()));
  EXPECT_TRUE(copy.HandlesTarget(&other));
  EXPECT_FALSE(copy.HandlesTarget(nullptr));
  copy.SetChart(chart.get());
  EXPECT_TRUE(copy.HandlesTarget(chart.get()));
  EXPECT_FALSE(copy.HandlesTarget(&other));
  chart.reset();  // its free notification clears the action's chart
  EXPECT_EQ(copy.Chart(), nullptr);
}

}  // namespace
