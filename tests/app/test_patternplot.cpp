#include "app/patternplot.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <memory>
#include <numbers>
#include <vector>

#include "app/popupmenus.h"
#include "app/scalesdialog.h"
#include "chart/editor/grafedicha.h"
#include "chart/editor/grafediseri.h"
#include "chart/editor/graflisb.h"
#include "chart/core/grafeditctrls.h"
#include "chart/editor/grafeditreg.h"
#include "chart/editor/grafprevi.h"
#include "chart/core/golden.h"
#include "model/global.h"
#include "model/plotdata.h"
#include "model/rietclass.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/metafile.h"
#include "platform/gfx/printer.h"
#include "platform/ui/clipboard.h"
#include "platform/rtl/fileutils.h"
#include "platform/rtl/format.h"
#include "support/dialogresponder.h"
#include "support/gui/guitest.h"
#include "support/gui/queuedinput.h"
#include "support/tempdir.h"
#include "support/testlocale.h"

namespace {

int32_t MarkerCode(int phase, int sub, int h, int k, int l) {
  return phase * (1 << 26) + sub * (1 << 24) + (h + 128) * (1 << 16) + (k + 128) * (1 << 8) + (l + 128);
}

struct TPoint3 {
  float X, Observed, Calculated;
};

struct TMarker {
  float Position;
  int32_t Code;
};

void Fill(TPlotData& data, int status, const std::vector<TPoint3>& points, const std::vector<TMarker>& markers) {
  data.Allocate(static_cast<int>(points.size()), static_cast<int>(markers.size()));
  data.SetPointCount(static_cast<int>(points.size()));
  for (size_t i = 0; i < points.size(); ++i) {
    data.X()[i] = points[i].X;
    data.Y()[i] = points[i].Observed;
    data.Calculated()[i] = points[i].Calculated;
  }
  for (size_t i = 0; i < markers.size(); ++i) {
    data.MarkerPositions()[i] = markers[i].Position;
    data.MarkerCodes()[i] = markers[i].Code;
  }
  data.SetMarkerCount(static_cast<int>(markers.size()));
  data.SetStatus(status);
  data.SetHistogram(1);
  data.SetTitle("Test pattern");
}

class PlotFormTest : public ::testing::Test {
protected:
  void SetUp() override {
    PlotColours = {255, 0, 255, 65280, 65280, 16777215};
    PlotScales = {100, 5, 100, 100};
    ViewD = false;
    BackgroundAveraging = 3;
    Refinement = nullptr;
    Model = nullptr;
    Form = std::make_unique<TPlotForm>(nullptr);
    Form->PlotData = &Data;
    Form->SetTag(1);
  }
  void TearDown() override {
    Form.reset();
    LastActiveControl = nullptr;
    ViewD = false;
  }

  // Three points rising by 80 (so the marker step is 20) and two markers of
  // phases 1 and 2, and one beyond the pattern.
  void FillEngineData() {
    Fill(Data, 4, {{10, 100, 90}, {20, 180, 185}, {30, 260, 250}},
         {{15, MarkerCode(1, 0, 1, 0, 0)}, {25, MarkerCode(2, 0, 1, 1, -1)}, {35, MarkerCode(1, 0, 2, 0, 0)}});
    Data.SetHistogramRef(&Histogram);
  }

  // Lays the chart out at a known size so pixels map to values.
  void Layout() {
    TBitmap image(Form->Chart1->Width(), Form->Chart1->Height());
    Form->Chart1->DrawOnCanvas(image.Canvas(), Rect(0, 0, Form->Chart1->Width(), Form->Chart1->Height()));
  }

  TPlotData Data;
  THistogram Histogram;
  std::unique_ptr<TPlotForm> Form;
};

TEST_F(PlotFormTest, GenDForConstantWavelengthTimeOfFlightAndEnergyDispersive) {
  const double pi = std::numbers::pi;
  struct Case {
    int Job;
    float Zero, W1, W2;
    double X, Expected;
  } cases[] = {
      {jobXrayData, 0, 1.5406f, 1.5444f, 30, 1.5406f * 0.5 / std::sin(30 * pi / 360)},
      {jobNeutronCalc, 0.1f, 1.2f, 0, 90, 1.2f * 0.5 / std::sin(90 * pi / 360)},  // zero is not applied
      {jobTOFData, 5, 5000, 2, 10005, 10000.0 / (5000 - (10000.0 / 5000) * 2)},
      {jobTOFCalc, 0, 4000, 0, 8000, 2.0},
      {jobEDData, 0.5f, 20, 0, 30.5, 6.199 / (std::sin(20 * pi / 360) * 30)},
      {jobEDCalc, 0, 10, 0, 40, 6.199 / (std::sin(10 * pi / 360) * 40)},
  };
  FillEngineData();
  for (const Case& c : cases) {
    Histogram.Job = c.Job;
    Histogram.Zero = c.Zero;
    Histogram.Wavelength1 = c.W1;
    Histogram.Wavelength2 = c.W2;
    EXPECT_NEAR(Form->GenD(c.X), c.Expected, 1e-9 * std::abs(c.Expected)) << "job " << c.Job;
  }
  // Observed data from a file has no d-spacing.
  Data.SetStatus(2);
  EXPECT_EQ(Form->GenD(30), 0);
}

TEST_F(PlotFormTest, EnginePatternPlacesMarkersAndShiftsTheDifferenceDown) {
  FillEngineData();
  Form->Plot();
  ASSERT_EQ(Form->PointSeries1->Count(), 3);
  ASSERT_EQ(Form->Series1->Count(), 3);
  ASSERT_EQ(Form->Series2->Count(), 3);
  // Step = (260 - 100) / 8 = 20; the difference is shifted by 100 % of it.
  EXPECT_DOUBLE_EQ(Form->Series2->YValues()->GetValue(0), 100 - 90 - 20);
  EXPECT_DOUBLE_EQ(Form->Series2->YValues()->GetValue(1), 180 - 185 - 20);
  // The marker beyond the pattern is left out; phase 1 at -s/8 + s/16, phase 2 at -s/8 - 3s/16.
  ASSERT_EQ(Form->HKLMarkers->Count(), 2);
  EXPECT_DOUBLE_EQ(Form->HKLMarkers->XValues()->GetValue(0), 15);
  EXPECT_DOUBLE_EQ(Form->HKLMarkers->YValues()->GetValue(0), -20.0 / 8 + 20.0 / 16);
  EXPECT_DOUBLE_EQ(Form->HKLMarkers->YValues()->GetValue(1), -20.0 / 8 - 3 * 20.0 / 16);
  EXPECT_EQ(Form->Chart1->BottomAxis()->Title()->Caption(), "2 theta (deg)");
  EXPECT_EQ(Form->Chart1->Title()->Text()->Strings(0), "Test pattern");
  EXPECT_EQ(Form->PointSeries1->SeriesColor(), clBlack);
  EXPECT_EQ(Form->Series1->SeriesColor(), clRed);

  // Other scales move the markers and the difference line.
  PlotScales = {200, 5, 50, 0};
  Form->Plot();
  EXPECT_DOUBLE_EQ(Form->Series2->YValues()->GetValue(0), 100 - 90 - 10);
  EXPECT_DOUBLE_EQ(Form->HKLMarkers->YValues()->GetValue(0), -20.0 * 200 / 800);
  EXPECT_DOUBLE_EQ(Form->HKLMarkers->YValues()->GetValue(1), -20.0 * 200 / 800);
}

TEST_F(PlotFormTest, ReplotOfTheNextCycleShowsItsValues) {
  FillEngineData();
  Form->Plot();
  // The next cycle: same points, other intensities.
  Data.Y()[1] = 200;
  Data.Calculated()[1] = 170;
  Form->Plot();
  ASSERT_EQ(Form->PointSeries1->Count(), 3);
  EXPECT_DOUBLE_EQ(Form->PointSeries1->YValues()->GetValue(1), 200);
  EXPECT_DOUBLE_EQ(Form->Series1->YValues()->GetValue(1), 170);
  // Step = (260 - 100) / 8 = 20.
  EXPECT_DOUBLE_EQ(Form->Series2->YValues()->GetValue(1), 200 - 170 - 20);
  EXPECT_DOUBLE_EQ(Form->PointSeries1->YValues()->MaxValue(), 260);
  // Other points (another histogram) replace them.
  Fill(Data, 4, {{1, 5, 4}, {2, 6, 6}}, {});
  Data.SetHistogramRef(&Histogram);
  Form->Plot();
  ASSERT_EQ(Form->PointSeries1->Count(), 2);
  EXPECT_DOUBLE_EQ(Form->PointSeries1->XValues()->GetValue(1), 2);
  EXPECT_EQ(Form->Series2->Count(), 2);
}

// A value that cannot be placed in the next cycle (the same points) stops
// the replot there, as it does for new points: the points before it stay.
TEST_F(PlotFormTest, ANonFiniteValueOfTheNextCycleStopsTheReplotAtIt) {
  for (float bad : {std::numeric_limits<float>::infinity(), std::numeric_limits<float>::quiet_NaN()}) {
    SCOPED_TRACE(bad);
    FillEngineData();
    Form->Plot();
    ASSERT_EQ(Form->PointSeries1->Count(), 3);
    TDialogResponder dialogs;
    Data.Calculated()[2] = bad;
    Form->Plot();
    EXPECT_TRUE(dialogs.Saw("Plot data out of range."));
    EXPECT_EQ(Form->PointSeries1->Count(), 2);
    EXPECT_EQ(Form->Series1->Count(), 2);
  }
}

TEST_F(PlotFormTest, AxisTitleFollowsTheHistogramKindAndTheDSpacingView) {
  FillEngineData();
  const std::pair<int, const char*> cases[] = {{jobXrayCalc, "2 theta (deg)"},
                                               {jobTOFData, "TOF (microseconds)"},
                                               {jobTOFCalc, "TOF (microseconds)"},
                                               {jobEDData, "Energy (keV)"},
                                               {jobEDCalc, "Energy (keV)"}};
  for (const auto& [job, title] : cases) {
    Histogram.Job = job;
    Form->Plot();
    EXPECT_EQ(Form->Chart1->BottomAxis()->Title()->Caption(), title);
  }
  Histogram.Job = jobXrayData;
  Form->actSetd->Execute();
  EXPECT_TRUE(ViewD);
  EXPECT_TRUE(Form->actSetd->Checked());
  EXPECT_EQ(Form->Chart1->BottomAxis()->Title()->Caption(), "d spacing (angstroms)");
  // The series keeps its points in ascending x: the largest d (x = 10) comes last.
  EXPECT_NEAR(Form->PointSeries1->XValues()->GetValue(2), Form->GenD(10), 1e-6);
}

TEST_F(PlotFormTest, DataFileShowsOnlyItsPointsAndHidesTheHistogramToolbar) {
  Fill(Data, 2, {{5, 10, 0}, {6, 12, 0}, {7, 11, 0}, {8, 9, 0}}, {});
  Form->Plot();
  EXPECT_EQ(Form->PointSeries1->Count(), 4);
  EXPECT_EQ(Form->Series1->Count(), 0);
  EXPECT_EQ(Form->Series2->Count(), 0);
  EXPECT_EQ(Form->HKLMarkers->Count(), 0);
  EXPECT_FALSE(Form->TBToolbarHist->Visible());
  EXPECT_EQ(Form->Chart1->BottomAxis()->Title()->Caption(), "2 Theta");
  // No histogram: the mouse edit items stay disabled.
  Form->PopupMenu1Popup(nullptr);
  for (TTBItem* item : {Form->InsertBackground1, Form->DeleteBackground1, Form->ClearAllBackground1,
                        Form->InsertExcluded1, Form->DeleteExcluded1})
    EXPECT_FALSE(item->Enabled()) << item->Caption();
}

TEST_F(PlotFormTest, ConstantWavelengthXOfZeroStopsTheDSpacingPlotAndLeavesTheReadOutEmpty) {
  Fill(Data, 4, {{0, 100, 90}, {20, 180, 185}}, {});
  Data.SetHistogramRef(&Histogram);
  ViewD = true;
  TDialogResponder dialogs;
  Form->Plot();
  EXPECT_TRUE(dialogs.Saw("Plot data out of range."));
  EXPECT_EQ(Form->PointSeries1->Count(), 0);

  EXPECT_EQ(dialogs.Count(), 1u);
  EXPECT_FALSE(std::isfinite(Form->GenD(0)));
  EXPECT_EQ(TPlotForm::DReadOut(Form->GenD(0)), "d: ");
  EXPECT_EQ(TPlotForm::DReadOut(1.25), "d: 1.25");
}

TEST_F(PlotFormTest, ExportWritesTheGoldenTextWhateverTheLocale) {
  // Three points and two markers: the third line has no marker.
  Fill(Data, 4, {{10, 100, 90}, {20, 180, 185}, {30, 260, 250}},
       {{15, MarkerCode(1, 0, 1, 0, 0)}, {25, MarkerCode(2, 0, 1, 1, -1)}});
  Data.SetHistogramRef(&Histogram);
  Form->Plot();
  TTempDir dir;
  const char* source = std::getenv("ZELVORA_SOURCE_DIR");
  const std::string expected = TTempDir::Read(std::string(source ? source : ".") + "/tests/app/golden/plot_export.txt");
  ASSERT_FALSE(expected.empty());
  {
    TScopedLocale comma;
    guitest::TCommonDialogResponder answers;
    answers.Do([&](TCommonDialog* d) {
      auto* save = dynamic_cast<TSaveDialog*>(d);
      EXPECT_EQ(save->DefaultExt, "txt");
      EXPECT_EQ(save->Filter, "Export Plot Files (*.txt)|*.txt");
      save->FileName = dir.File("plot.txt");
      return true;
    });
    Form->actExport->Execute();
    EXPECT_EQ(answers.Count(), 1);
  }
  EXPECT_EQ(TTempDir::Read(dir.File("plot.txt")), expected);
}

TEST_F(PlotFormTest, ExportErrorIsReportedAndLeavesNoFile) {
  FillEngineData();
  Form->Plot();
  TTempDir dir;
  TDialogResponder dialogs;
  guitest::TCommonDialogResponder answers;
  answers.Do([&](TCommonDialog* d) {
    dynamic_cast<TSaveDialog*>(d)->FileName = dir.File("missing/folder/plot.txt");
    return true;
  });
  Form->actExport->Execute();
  EXPECT_TRUE(dialogs.Saw("Error writing file."));
  EXPECT_TRUE(TTempDir::Read(dir.File("missing/folder/plot.txt")).empty());
}

TEST_F(PlotFormTest, SaveAsBmpAndEmfWritePicturesNamedAsTheyAre) {
  FillEngineData();
  Form->Plot();
  Layout();
  TTempDir dir;
  struct Case {
    TAction* Command;
    const char *Ext, *Filter;
  } cases[] = {{Form->ChartActionSaveBMP, "bmp", "BitMap Files (*.bmp)|*.bmp"},
               {Form->ChartActionSaveMETA, "emf", "Enhanced Metafiles (*.emf)|*.emf"}};
  for (const Case& c : cases) {
    guitest::TCommonDialogResponder answers;
    answers.Do([&](TCommonDialog* d) {
      auto* save = dynamic_cast<TSaveDialog*>(d);
      EXPECT_EQ(save->DefaultExt, c.Ext);
      EXPECT_EQ(save->Filter, c.Filter);
      save->FileName = dir.File(std::string("plot.") + c.Ext);
      return true;
    });
    c.Command->Execute();
  }
  EXPECT_EQ(TTempDir::Read(dir.File("plot.bmp")).substr(0, 2), "BM");
  const std::string emf = TTempDir::Read(dir.File("plot.emf"));
  // An enhanced metafile starts with the EMR_HEADER record (type 1) and carries " EMF" at byte 40.
  ASSERT_GT(emf.size(), 44u);
  EXPECT_EQ(emf[0], 1);
  EXPECT_EQ(emf.substr(40, 4), " EMF");
}

TEST_F(PlotFormTest, ExcludedRegionEnteredRightToLeftIsStoredOrdered) {
  FillEngineData();
  Form->Plot();
  Layout();
  TChartAxis* axis = Form->Chart1->BottomAxis();
  const int right = axis->ValueToPixel(25), left = axis->ValueToPixel(15);
  Form->InsertExcluded1Click(nullptr);
  EXPECT_TRUE(Form->InsertExcluded1->Checked());
  guitest::MouseDown(Form->Chart1, mbLeft, right, 150);
  guitest::MouseUp(Form->Chart1, mbLeft, right, 150);
  EXPECT_TRUE(TPlotForm::ExcludedPending());
  EXPECT_FALSE(Form->InsertExcluded1->Checked());
  EXPECT_EQ(Histogram.Excluded.Count(), 0);
  guitest::MouseDown(Form->Chart1, mbLeft, left, 150);
  guitest::MouseUp(Form->Chart1, mbLeft, left, 150);
  EXPECT_FALSE(TPlotForm::ExcludedPending());
  ASSERT_EQ(Histogram.Excluded.Count(), 1);
  EXPECT_FLOAT_EQ(Histogram.Excluded.Regions.GetX(0), static_cast<float>(axis->PixelToValue(left)));
  EXPECT_FLOAT_EQ(Histogram.Excluded.Regions.GetY(0), static_cast<float>(axis->PixelToValue(right)));
  EXPECT_LT(Histogram.Excluded.Regions.GetX(0), Histogram.Excluded.Regions.GetY(0));

  // A press exactly on a limit deletes nothing; one inside deletes the region.
  Form->DeleteExcluded1Click(nullptr);
  guitest::MouseDown(Form->Chart1, mbLeft, left, 150);
  EXPECT_EQ(Histogram.Excluded.Count(), 1);
  EXPECT_FALSE(Form->DeleteExcluded1->Checked());
  Form->DeleteExcluded1Click(nullptr);
  guitest::MouseDown(Form->Chart1, mbLeft, (left + right) / 2, 150);
  EXPECT_EQ(Histogram.Excluded.Count(), 0);
}

TEST_F(PlotFormTest, EditItemsTickExclusively) {
  FillEngineData();
  Form->InsertBackground1Click(nullptr);
  Form->SemiAutoBackground1Click(nullptr);
  EXPECT_TRUE(Form->InsertBackground1->Checked());
  Form->InsertExcluded1Click(nullptr);
  EXPECT_FALSE(Form->InsertBackground1->Checked());
  EXPECT_TRUE(Form->InsertExcluded1->Checked());
  Form->DeleteBackground1Click(nullptr);
  EXPECT_FALSE(Form->InsertExcluded1->Checked());
  EXPECT_TRUE(Form->DeleteBackground1->Checked());
  // Unticking Insert Background leaves the others alone.
  Form->InsertBackground1Click(nullptr);
  Form->DeleteExcluded1Click(nullptr);
  EXPECT_FALSE(Form->InsertBackground1->Checked());
  EXPECT_TRUE(Form->DeleteExcluded1->Checked());
  Form->InsertBackground1Click(nullptr);
  Form->InsertBackground1Click(nullptr);
  EXPECT_TRUE(Form->DeleteExcluded1->Checked() == false);
  EXPECT_TRUE(Form->SemiAutoBackground1->Checked());
}

TEST_F(PlotFormTest, BackgroundPointsAreAddedSemiAutomaticallyAndDeletedByClick) {
  std::vector<TPoint3> points;
  for (int i = 0; i < 20; ++i) points.push_back({10.0f + i, 100.0f + 10 * i, 95.0f + 10 * i});
  Fill(Data, 4, points, {});
  Data.SetHistogramRef(&Histogram);
  Histogram.Background.Kind = bkUserPoints;
  Form->Plot();
  Layout();
  Form->PopupMenu1Popup(nullptr);
  EXPECT_TRUE(Form->InsertBackground1->Enabled());
  EXPECT_FALSE(Form->DeleteBackground1->Enabled());

  // At the first point, averaging 3 takes points 0 to 3.
  const int first = Form->PointSeries1->PointXPixel(0);
  EXPECT_DOUBLE_EQ(Form->GetBackgroundAve(Form->PointSeries1, first), (100 + 110 + 120 + 130) / 4.0);
  EXPECT_EQ(Form->GetNearestPoint(Form->PointSeries1, first), 0);
  Form->InsertBackground1Click(nullptr);
  Form->SemiAutoBackground1Click(nullptr);
  guitest::MouseDown(Form->Chart1, mbLeft, first, 40);
  guitest::MouseDown(Form->Chart1, mbLeft, Form->PointSeries1->PointXPixel(10), 40);
  ASSERT_EQ(Histogram.Background.PointCount(), 2);
  EXPECT_FLOAT_EQ(Histogram.Background.Points.GetY(0), 115.0f);
  EXPECT_FLOAT_EQ(Histogram.Background.Points.GetY(1), 200.0f);
  EXPECT_EQ(Form->BackGroundSeries->Count(), 2);
  EXPECT_TRUE(Form->BackGroundSeries->Active());

  Form->DeleteBackground1Click(nullptr);
  Form->BackGroundSeriesClick(Form->BackGroundSeries, 1, mbLeft, {}, 0, 0);
  ASSERT_EQ(Histogram.Background.PointCount(), 1);
  EXPECT_FLOAT_EQ(Histogram.Background.Points.GetY(0), 115.0f);
  Form->ClearAllBackground1Click(nullptr);
  EXPECT_EQ(Histogram.Background.PointCount(), 0);
  EXPECT_EQ(Form->BackGroundSeries->Count(), 0);
}

TEST_F(PlotFormTest, ReadOutShowsCoordinatesDSpacingAndTheNearestReflection) {
  FillEngineData();
  Histogram.Job = jobXrayData;
  Form->Plot();
  Layout();
  const int px = Form->Chart1->BottomAxis()->ValueToPixel(24.8);
  // Nothing is read out before the first press.
  guitest::MouseMove(Form->Chart1, px, 100);
  EXPECT_EQ(Form->StatusBar1->Panel(0).Text, "x:");
  guitest::MouseDown(Form->Chart1, mbRight, px, 100);
  guitest::MouseMove(Form->Chart1, px, 100);
  const double x = Form->Chart1->BottomAxis()->PixelToValue(px);
  EXPECT_EQ(Form->StatusBar1->Panel(0).Text, "x: " + FloatToStrF(x, ffGeneral, 7, 3));
  EXPECT_EQ(Form->StatusBar1->Panel(2).Text, "d: " + FloatToStrF(Form->GenD(x), ffGeneral, 6, 3));
  EXPECT_EQ(Form->StatusBar1->Panel(3).Text, "Phase: 2");
  EXPECT_EQ(Form->StatusBar1->Panel(4).Text, "hkl: 1 1 -1");
  EXPECT_EQ(Form->GetNearestHKL(Form->GenD(15.1)), 1);
  Form->HKLMarkersClickPointer(Form->HKLMarkers, 2, 0, 0);
  EXPECT_EQ(Form->StatusBar1->Panel(4).Text, "hkl: 2 0 0");
}

class RecordingPlotForm : public TPlotForm {
public:
  using TPlotForm::TPlotForm;
  int Popups = 0;

protected:
  void ShowPopupMenu(TPoint) override { ++Popups; }
};

TEST_F(PlotFormTest, RightClickWithoutMovingOpensThePopupMenu) {
  RecordingPlotForm form(nullptr);
  form.PlotData = &Data;
  FillEngineData();
  form.Plot();
  guitest::MouseDown(form.Chart1, mbRight, 100, 100);
  guitest::MouseUp(form.Chart1, mbRight, 100, 100);
  EXPECT_EQ(form.Popups, 1);
  guitest::MouseDown(form.Chart1, mbRight, 100, 100);
  guitest::MouseMove(form.Chart1, 120, 100);
  guitest::MouseUp(form.Chart1, mbRight, 120, 100);
  EXPECT_EQ(form.Popups, 1);
}

TEST_F(PlotFormTest, ScalesDialogStoresOnOkOnlyAndReplots) {
  FillEngineData();
  Form->Plot();
  guitest::TModalResponder modal;
  modal.Do([](TCustomForm* f) {
    auto* scales = dynamic_cast<TFormSetScales*>(f);
    EXPECT_EQ(scales->sehklmarkerspos->Value(), 100);
    EXPECT_EQ(scales->sehklmarkerheight->Value(), 5);
    scales->sehklmarkerspos->SetValue(400);
    scales->sedifferencepos->SetValue(0);
    scales->sehklmarkerheight->SetValue(50);  // beyond its range of 0 to 10
    scales->btOK->Click();
    return mrOk;
  });
  modal.Do([](TCustomForm* f) {
    dynamic_cast<TFormSetScales*>(f)->sehklmarkerspos->SetValue(-5);
    return mrCancel;
  });
  Form->actScales->Execute();
  EXPECT_EQ(PlotScales[0], 400);
  EXPECT_EQ(PlotScales[1], 10);
  EXPECT_EQ(PlotScales[2], 0);
  EXPECT_DOUBLE_EQ(Form->Series2->YValues()->GetValue(0), 10);
  EXPECT_DOUBLE_EQ(Form->HKLMarkers->YValues()->GetValue(0), -20.0 * 400 / 800 + 20.0 / 16);
  Form->actScales->Execute();
  EXPECT_EQ(PlotScales[0], 400);
  delete FormSetScales;
  FormSetScales = nullptr;
}

TEST_F(PlotFormTest, PatternWithMarkersAndDifferenceMatchesTheReviewedPicture) {
  std::vector<TPoint3> points;
  for (int i = 0; i < 120; ++i) {
    const double x = 20 + 0.25 * i;
    const double peak = 400 * std::exp(-std::pow((x - 28) / 0.6, 2)) + 250 * std::exp(-std::pow((x - 42) / 0.8, 2));
    const double calc = 60 + peak;
    const double obs = calc + ((i * 37) % 11 - 5) * 3;
    points.push_back({static_cast<float>(x), static_cast<float>(obs), static_cast<float>(calc)});
  }
  Fill(Data, 4, points, {{28, MarkerCode(1, 0, 1, 1, 0)}, {42, MarkerCode(1, 0, 2, 0, 0)},
                         {35, MarkerCode(2, 0, 1, 1, 1)}});
  Data.SetHistogramRef(&Histogram);
  Data.SetTitle("Pattern with markers");
  // An excluded region is drawn over the pattern.
  Histogram.Excluded.AddRegion(44, 46.5);
  Form->Plot();
  TBitmap image(500, 320);
  Form->Chart1->SetBounds(0, 0, 500, 320);
  Form->Chart1->DrawOnCanvas(image.Canvas(), Rect(0, 0, 500, 320));
  ExpectMatchesGoldenIn("tests/app/golden", image, "pattern_plot.png");
}

// A toolbar closed while floating comes back only through the dock's menu.
TEST_F(PlotFormTest, RightClickOnTheDockOpensItsMenuWhichShowsAClosedToolbar) {
  Form->SetBounds(0, 0, 900, 400);
  Form->Show();
  Form->TBToolbarHist->SetVisible(false);
  TTBDock* dock = Form->TBDock1;
  // Down to the second item, "Histogram toolbar", and choose it.
  guitest::PostKey(Form.get(), VK_DOWN);
  guitest::PostKey(Form.get(), VK_DOWN);
  guitest::PostKey(Form.get(), VK_RETURN);
  guitest::MouseDown(dock, mbRight, dock->Width() - 5, 3);
  guitest::MouseUp(dock, mbRight, dock->Width() - 5, 3);
  guitest::ProcessEvents();
  EXPECT_TRUE(Form->TBToolbarHist->Visible());
}

TEST_F(PlotFormTest, ClosingHidesAndForgetsTheActiveChart) {
  Form->Show();
  LastActiveControl = Form->Chart1;
  Form->Close();
  EXPECT_FALSE(Form->Visible());
  EXPECT_EQ(LastActiveControl, nullptr);
}

}  // namespace

namespace {

std::vector<std::string> Captions(TTBCustomItem* parent) {
  std::vector<std::string> out;
  for (int i = 0; i < parent->Count(); ++i)
    out.push_back(dynamic_cast<TTBSeparatorItem*>(parent->Items(i)) ? "-" : parent->Items(i)->Caption());
  return out;
}

TEST_F(PlotFormTest, MenusAndToolbarsCarryTheCommands) {
  using V = std::vector<std::string>;
  TTBCustomItem* bar = Form->TBToolbar1->Items();
  EXPECT_TRUE(Form->TBToolbar1->MenuBar());
  EXPECT_EQ(Captions(bar), (V{"&File", "&Edit", "&Chart", "&Help"}));
  EXPECT_EQ(Captions(bar->Items(0)), (V{"&Save as BMP...", "Save as EMF...", "-", "Export to Excel/Sigma plot file",
                                        "-", "Page Set&up", "&Print...", "Print Pre&view", "-", "&Close"}));
  EXPECT_EQ(Captions(bar->Items(1)), (V{"&Copy as BMP", "Copy as EMF"}));
  EXPECT_EQ(Captions(bar->Items(2)),
            (V{"&Edit...", "&Unzoom", "-", "&Scales", "-", "View as &d spacings"}));
  EXPECT_EQ(Captions(Form->TBToolbarMain->Items()), (V{"&Save as BMP...", "&Close", "-", "&Print...",
                                                       "Print Pre&view", "-", "&Copy as BMP", "-", "&Edit...",
                                                       "&Unzoom"}));
  // The items follow their commands.
  ViewD = false;
  FillEngineData();
  Form->actSetd->Execute();
  EXPECT_TRUE(bar->Items(2)->Items(5)->Checked());
  ViewD = false;
  // The combo sits on the histogram toolbar.
  EXPECT_EQ(Form->ComboBoxHist->Parent(), Form->TBToolbarHist);

  // The dock's menu ticks and toggles the two toolbars.
  FirePopupEvent(Form->TBPopupMenuDock);
  EXPECT_TRUE(Form->MainToolbar1->Checked());
  Form->HistogramToolbar1->Click();
  EXPECT_FALSE(Form->TBToolbarHist->Visible());
  FirePopupEvent(Form->TBPopupMenuDock);
  EXPECT_FALSE(Form->HistogramToolbar1->Checked());
}

}  // namespace

namespace {

TEST_F(PlotFormTest, PrintPrintsAsManyCopiesAsAskedAndNoneForZero) {
  FillEngineData();
  Form->Plot();
  Layout();
  TTempDir dir;
  TDialogResponder dialogs;
  Printer()->SetOutputFileName(dir.File("plot.pdf"));
  for (int copies : {0, 2}) {
    guitest::TCommonDialogResponder answers;
    answers.Do([copies](TCommonDialog* d) {
      dynamic_cast<TPrintDialog*>(d)->Copies = copies;
      return true;
    });
    Form->ChartActionPrint1->Execute();
    EXPECT_EQ(FileExists(dir.File("plot.pdf")), copies > 0) << copies;
  }
  const std::string pdf = TTempDir::Read(dir.File("plot.pdf"));
  EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
  // Printed to a file, the user is told where it went (once for the print).
  ASSERT_EQ(dialogs.Count(), 1u);
  EXPECT_NE(dialogs.Last().Text.find(dir.File("plot.pdf")), std::string::npos) << dialogs.Last().Text;
  Printer()->SetOutputFileName("");
}

// The box around the pixels of one colour in a picture: left, top, right,
// bottom (exclusive); empty when there are none.
struct TInkBox {
  int Left = INT32_MAX, Top = INT32_MAX, Right = -1, Bottom = -1;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  void Add(int x, int y) {
    Left = std::min(Left, x);
    Top = std::min(Top, y);
    Right = std::max(Right, x + 1);
    Bottom = std::max(Bottom, y + 1);
  }
};

bool Bluish(int r, int g, int b) { return b > 160 && r < 120 && g < 120; }

// A chart printed to a page of another shape than the window is stretched
// to fill it, but its text is not: a label printed is as wide, for its
// height, as on the screen (the page read back from the PDF as pixels).
TEST_F(PlotFormTest, PrintedTextKeepsItsWidth) {
  Data.SetStatus(2);
  Fill(Data, 2, {{10, 100, 0}, {20, 180, 0}}, {});
  Data.SetTitle("Wide Title Label WWMM");
  Form->Plot();
  Form->Chart1->Title()->Font()->SetColor(static_cast<TColor>(0xFF0000));
  Form->Chart1->Title()->Font()->SetSize(20);
  Layout();
  TBitmap screen(Form->Chart1->Width(), Form->Chart1->Height());
  Form->Chart1->DrawOnCanvas(screen.Canvas(), Rect(0, 0, screen.Width(), screen.Height()));
  TInkBox onScreen;
  for (int y = 0; y < screen.Height(); ++y)
    for (int x = 0; x < screen.Width(); ++x) {
      const TColor c = screen.Canvas()->Pixels(x, y);
      if (Bluish(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF)) onScreen.Add(x, y);
    }
  ASSERT_GT(onScreen.Width(), 100);

  TTempDir dir;
  TDialogResponder dialogs;
  TPrinter printer;
  printer.SetOutputFileName(dir.File("plot.pdf"));
  TPrinter* previous = SetPrinter(&printer);
  const TRect target = Form->Chart1->CalcPrintRect();
  Form->Chart1->PrintPage();
  SetPrinter(previous);
  const int dpi = 72;
  ASSERT_EQ(std::system(("pdftoppm -r " + std::to_string(dpi) + " -f 1 -l 1 " + dir.File("plot.pdf") + " " +
                         dir.File("page")).c_str()),
            0);
  std::string ppm = TTempDir::Read(dir.File("page-1.ppm"));
  ASSERT_EQ(ppm.substr(0, 2), "P6");
  int w = 0, h = 0, maxval = 0, consumed = 0;
  ASSERT_EQ(std::sscanf(ppm.c_str(), "P6 %d %d %d%n", &w, &h, &maxval, &consumed), 3);
  const size_t start = static_cast<size_t>(consumed) + 1;
  ASSERT_GE(ppm.size(), start + static_cast<size_t>(w) * h * 3);
  TInkBox printed;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const auto* px = reinterpret_cast<const unsigned char*>(ppm.data()) + start + (static_cast<size_t>(y) * w + x) * 3;
      if (Bluish(px[0], px[1], px[2])) printed.Add(x, y);
    }
  ASSERT_GT(printed.Width(), 0);
  // The page's vertical scale from window pixels to the picture's pixels:
  // the text's height follows it, and so must its width.
  const double logicalHeight = Form->Chart1->Height() * (100.0 - Form->Chart1->PrintResolution()) / 100.0;
  const double scale = target.Height() * dpi / static_cast<double>(printer.YDPI()) / logicalHeight;
  EXPECT_NEAR(printed.Width() / scale, onScreen.Width(), 0.05 * onScreen.Width())
      << "printed " << printed.Width() << " px at scale " << scale << ", on screen " << onScreen.Width();
  EXPECT_NEAR(printed.Height() / scale, onScreen.Height(), 0.15 * onScreen.Height());
}

}  // namespace

namespace {

TEST_F(PlotFormTest, CopyCommandsPutThePictureOnTheClipboard) {
  FillEngineData();
  Form->Plot();
  Layout();
  Clipboard()->Clear();
  Form->ChartActionCopyBMP->Execute();
  EXPECT_TRUE(Clipboard()->HasFormat(CF_BITMAP));
  Clipboard()->Clear();
  Form->ChartActionCopyEMF->Execute();
  // The enhanced flag is off: a plain metafile.
  EXPECT_TRUE(Clipboard()->HasFormat(CF_METAFILEPICT));
}

// A time-of-flight pattern's x labels are five digits wide: the last one,
// at the right end of the axis, is drawn whole inside the chart.
TEST_F(PlotFormTest, TheLastTimeOfFlightLabelIsNotClipped) {
  std::vector<TPoint3> points;
  for (int i = 0; i <= 190; ++i) points.push_back({1000.0f + 100.0f * i, 100.0f + i % 7, 100.0f});
  Fill(Data, 4, points, {});
  Histogram.Job = jobTOFData;
  Data.SetHistogramRef(&Histogram);
  for (const int width : {500, 640, 800}) {
    SCOPED_TRACE(width);
    Form->Chart1->SetBounds(0, 0, width, 320);
    Form->Plot();
    TBitmap image(width, 320);
    Form->Chart1->DrawOnCanvas(image.Canvas(), Rect(0, 0, width, 320));
    ASSERT_EQ(Form->Chart1->BottomAxis()->Maximum(), 20000.0);
    // The label row: below the axis line, above the axis title.
    const int top = Form->Chart1->ChartArea.Bottom + 3, bottom = top + 14;
    auto inkInColumns = [&](int from, int to) {
      int ink = 0;
      for (int y = top; y < bottom; ++y)
        for (int x = from; x < to; ++x) {
          const TColor c = image.Canvas()->Pixels(x, y);
          ink += (GetRValue(c) + GetGValue(c) + GetBValue(c)) < 3 * 128;
        }
      return ink;
    };
    const int axisEnd = Form->Chart1->BottomAxis()->ValueToPixel(20000);
    EXPECT_GT(inkInColumns(axisEnd - 6, axisEnd + 6), 0) << "the last label is drawn";
    EXPECT_EQ(inkInColumns(width - 2, width), 0) << "the last label runs into the chart's edge";
  }
}

// The copied picture shows the excluded region's band as the window does.
TEST_F(PlotFormTest, TheCopiedPictureShowsTheExcludedBand) {
  FillEngineData();
  Histogram.Excluded.AddRegion(14, 18);
  Form->Show();
  Form->Plot();
  guitest::ProcessEvents();
  TBitmap shown(Form->Chart1->Width(), Form->Chart1->Height());
  Form->Chart1->DrawOnCanvas(shown.Canvas(), Rect(0, 0, shown.Width(), shown.Height()));
  Clipboard()->Clear();
  Form->ChartActionCopyBMP->Execute();
  TBitmap copied;
  ASSERT_TRUE(Clipboard()->GetBitmap(&copied));
  ASSERT_EQ(copied.Width(), shown.Width());
  ASSERT_EQ(copied.Height(), shown.Height());
  TChartAxis* axis = Form->Chart1->BottomAxis();
  const int x = (axis->ValueToPixel(14) + axis->ValueToPixel(18)) / 2;
  const int y = (Form->Chart1->ChartArea.Top + Form->Chart1->ChartArea.Bottom) / 2;
  EXPECT_NE(guitest::DisplayedPixel(Form->Chart1, x, y), clWhite) << "the band on the window";
  EXPECT_EQ(copied.Canvas()->Pixels(x, y), guitest::DisplayedPixel(Form->Chart1, x, y)) << "the band on the copy";
  EXPECT_EQ(copied.Canvas()->Pixels(x, y), shown.Canvas()->Pixels(x, y));
  // The metafile copy, drawn at its size.
  Clipboard()->Clear();
  Form->ChartActionCopyEMF->Execute();
  TMetafile metafile;
  ASSERT_TRUE(Clipboard()->GetMetafile(&metafile));
  TBitmap played(shown.Width(), shown.Height());
  played.Canvas()->StretchDraw(Rect(0, 0, shown.Width(), shown.Height()), &metafile);
  EXPECT_EQ(played.Canvas()->Pixels(x, y), shown.Canvas()->Pixels(x, y)) << "the band on the metafile copy";
}

// The zoom band on the white chart shows on the display while the mouse
// drags; the band left behind is erased.
TEST_F(PlotFormTest, ZoomBandShowsOnTheDisplayWhileDragging) {
  FillEngineData();
  Form->Show();
  Form->Plot();
  guitest::ProcessEvents();
  ASSERT_EQ(guitest::DisplayedPixel(Form->Chart1, 150, 100), clWhite);
  guitest::MouseDown(Form->Chart1, mbLeft, 100, 100);
  guitest::MouseMove(Form->Chart1, 200, 150);
  guitest::ProcessEvents();
  EXPECT_EQ(guitest::DisplayedPixel(Form->Chart1, 150, 100), clBlack);
  EXPECT_EQ(guitest::DisplayedPixel(Form->Chart1, 199, 125), clBlack);
  guitest::MouseMove(Form->Chart1, 180, 150);
  guitest::ProcessEvents();
  EXPECT_EQ(guitest::DisplayedPixel(Form->Chart1, 199, 125), clWhite);
  guitest::MouseUp(Form->Chart1, mbLeft, 180, 150);
  guitest::ProcessEvents();
  EXPECT_TRUE(Form->Chart1->ZoomedIn);
}

}  // namespace

namespace {

// Edit opens the chart editor on the plot; the colours chosen there are kept
// in PlotColours for the next plot and for saving at close.
TEST_F(PlotFormTest, EditOpensTheChartEditorAndKeepsTheColoursChosenThere) {
  RegisterChartEditorUnits();
  FillEngineData();
  Form->Plot();
  TCustomChart* edited = nullptr;
  guitest::TModalResponder answer;
  answer.Do([&](TCustomForm* f) {
    auto* editor = dynamic_cast<TChartEditForm*>(f);
    if (!editor) return mrCancel;
    edited = editor->EditedChart();
    edited->SeriesAt(edited->SeriesList()->IndexOf(Form->Series1))->SetSeriesColor(clNavy);
    edited->SetColor(clSilver);
    return mrCancel;
  });
  Form->ChartActionEdit1->Execute();
  EXPECT_EQ(answer.Count(), 1);
  EXPECT_EQ(edited, Form->Chart1);
  EXPECT_EQ(PlotColours[2], static_cast<int>(clNavy));
  EXPECT_EQ(PlotColours[5], static_cast<int>(clSilver));
  EXPECT_EQ(PlotColours[1], 0);  // unchanged ones stay
  Form->Plot();
  EXPECT_EQ(Form->Series1->SeriesColor(), clNavy);
}

// Each of the plot's series is edited through its own editor form on the
// editor's series page (the lines through the pen of the fast-line editor,
// the points through the pointer editor's border or fill); the colours come
// back into PlotColours and the next plot draws with them.
TEST_F(PlotFormTest, TheSeriesEditorsColourThePlotsSeries) {
  RegisterChartEditorUnits();
  FillEngineData();
  Form->Plot();
  struct TCase {
    TChartSeries* Series;
    const char* EditorClass;
    const char* Button;     // on the editor form
    bool ThroughDialog;     // the button opens a pen or brush dialog with its own colour button
    TColor Colour;
    int Slot;  // in PlotColours
  };
  const TCase cases[] = {
      {Form->PointSeries1, "TSeriesPointerEditor", "BPoinPenCol", true, clTeal, 1},  // crosses: the border
      {Form->Series1, "TFastLineSeriesEditor", "BColor", false, clNavy, 2},
      {Form->Series2, "TFastLineSeriesEditor", "BColor", false, clPurple, 3},
      {Form->HKLMarkers, "TSeriesPointerEditor", "BPointFillColor", true, clOlive, 4},  // circles: the fill
  };
  guitest::TModalResponder modal;
  guitest::TCommonDialogResponder colours;
  bool deletable = true, changeable = true;
  modal.Do([&](TCustomForm* f) {
    auto* editor = dynamic_cast<TChartEditForm*>(f);
    EXPECT_NE(editor, nullptr);
    if (!editor) return mrCancel;
    auto edit = [&](const TCase& c) {
      SCOPED_TRACE(c.Series->Title());
      editor->MainPage->SetActivePage(editor->TabChart);
      editor->LBSeries->SelectSeries(c.Series);
      editor->LBSeriesRefreshButtons(editor->LBSeries);
      deletable = deletable && editor->BDeleteSeries->Enabled();
      changeable = changeable && editor->BChangeTypeSeries->Enabled();
      editor->LBSeriesEditSeries(editor->LBSeries, editor->LBSeries->ItemIndex());
      EXPECT_EQ(editor->MainPage->ActivePage(), editor->TabSeries);
      ASSERT_NE(editor->SeriesPage, nullptr);
      EXPECT_EQ(editor->SeriesPage->CurrentSeries, c.Series);
      TCustomForm* form = editor->SeriesPage->SeriesEditorForm();
      ASSERT_NE(form, nullptr);
      EXPECT_EQ(form->ClassName(), c.EditorClass);
      EXPECT_TRUE(form->Showing());
      colours.Do([&c](TCommonDialog* d) {
        static_cast<TColorDialog*>(d)->Color = c.Colour;
        return true;
      });
      if (c.ThroughDialog)
        modal.Do([](TCustomForm* dialog) {
          auto* button = dynamic_cast<TButtonColor*>(dialog->FindComponent("BColor"));
          EXPECT_NE(button, nullptr) << dialog->ClassName();
          if (button) button->Click();
          return mrOk;
        });
      auto* button = dynamic_cast<TButton*>(form->FindComponent(c.Button));
      ASSERT_NE(button, nullptr) << c.Button;
      button->Click();
      TBitmap shown;
      EXPECT_NO_THROW(guitest::ControlPicture(editor, shown));
    };
    for (const TCase& c : cases) edit(c);
    // A pen change on the calculated line stays with it.
    editor->LBSeries->SelectSeries(Form->Series1);
    editor->LBSeriesEditSeries(editor->LBSeries, editor->LBSeries->ItemIndex());
    if (auto* width = dynamic_cast<TEdit*>(editor->SeriesPage->SeriesEditorForm()->FindComponent("SEWidth")))
      width->SetText("2");
    return mrCancel;
  });
  Form->ChartActionEdit1->Execute();
  EXPECT_EQ(colours.Count(), 4);
  EXPECT_EQ(modal.Count(), 3);  // the editor, the pen and the brush dialog
  // The window's own series can be restyled but neither deleted nor retyped.
  EXPECT_FALSE(deletable);
  EXPECT_FALSE(changeable);
  for (const TCase& c : cases) {
    EXPECT_EQ(PlotColours[c.Slot], static_cast<int>(c.Colour)) << c.Series->Title();
    EXPECT_EQ(c.Series->SeriesColor(), c.Colour) << c.Series->Title();
  }
  EXPECT_EQ(Form->Series1->LinePen()->Width(), 2);
  // The next plot draws the points in their new colours, not the pointer's own.
  Form->Plot();
  EXPECT_EQ(Form->PointSeries1->Pointer()->Pen()->Color(), clDefault);
  EXPECT_EQ(Form->HKLMarkers->Pointer()->Brush()->Color(), clDefault);
  EXPECT_EQ(Form->HKLMarkers->SeriesColor(), clOlive);
}

// Print Preview prints, through the preview's Print button, a PDF page that
// shows the plot: its calculated line and the difference line.
TEST_F(PlotFormTest, PrintPreviewPrintsThePlotToAPdfPage) {
  RegisterChartEditorUnits();
  FillEngineData();
  Form->Plot();
  Layout();
  TTempDir dir;
  TDialogResponder dialogs;
  const std::string pdf = dir.File("preview.pdf");
  Printer()->SetOutputFileName(pdf);
  bool proportional = true;
  guitest::TModalResponder answer;
  answer.Do([&](TCustomForm* f) {
    auto* preview = dynamic_cast<TChartPreview*>(f);
    if (!preview) return mrCancel;
    proportional = Form->Chart1->PrintProportional();
    EXPECT_EQ(preview->Caption(), "Zelvora Print Preview");
    preview->BPrint->Click();
    return mrOk;
  });
  Form->actPrintpreview->Execute();
  Printer()->SetOutputFileName("");
  EXPECT_FALSE(proportional);
  ASSERT_TRUE(FileExists(pdf));
  ASSERT_EQ(std::system(("pdftoppm -r 30 -png -singlefile '" + pdf + "' '" + dir.File("page") + "'").c_str()), 0);
  TPicture picture;
  picture.LoadFromFile(dir.File("page.png"));
  TBitmap page;
  page.Assign(picture.Graphic());
  page.SetPixelFormat(pf24bit);
  int red = 0, green = 0;
  TInkBox ink;
  for (int y = 0; y < page.Height(); ++y)
    for (int x = 0; x < page.Width(); ++x) {
      const TColorRef c = ColorToRGB(page.Canvas()->Pixels(x, y));
      const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
      if (r > 180 && g < 90 && b < 90) ++red;      // the calculated line
      if (g > 150 && r < 90 && b < 90) ++green;    // the difference line and markers
      if (r < 200 || g < 200 || b < 200) ink.Add(x, y);
    }
  EXPECT_GT(red, 10);
  EXPECT_GT(green, 10);
  // Inside the print margins, clear of the paper's edges.
  const int w = page.Width(), h = page.Height();
  EXPECT_GE(ink.Left, w / 20);
  EXPECT_LE(ink.Right, w - w / 20);
  EXPECT_GE(ink.Top, h / 20);
  EXPECT_LE(ink.Bottom, h - h / 20);
  EXPECT_GT(ink.Width(), w / 2);  // the plot fills the printed area
}

}  // namespace
