// The Fourier map and radial distribution windows, against the binding's
// fake engine (exact maps and curves) and the stand-in engine (a real model).
#include "app/fourierwindow.h"
#include "app/rdfwindow.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "chart/core/golden.h"
#include "fakeengine.h"
#include "model/global.h"
#include "model/refine.h"
#include "model/rietclass.h"
#include "platform/gfx/bitmap.h"
#include "platform/rtl/fileutils.h"
#include "platform/ui/queuedcall.h"
#include "support/dialogresponder.h"
#include "support/gui/guitest.h"
#include "support/tempdir.h"

namespace {

std::string Examples() {
  const char* source = std::getenv("ZELVORA_SOURCE_DIR");
  return std::string(source ? source : "../..") + "/examples/";
}

// Two histograms and two phases; the engine given is loaded.
class EngineWindowTest : public ::testing::Test {
protected:
  void SetUp() override {
    guitest::EnsureGui();
    Model = new TRietveld();
    Model->NewHistogram();
    Model->NewHistogram();
    Model->NewPhase();
    Model->NewPhase();
    Model->Loaded = true;
  }
  void TearDown() override {
    Form.reset();
    Rdf.reset();
    delete Refinement;
    Refinement = nullptr;
    delete Model;
    Model = nullptr;
    LastActiveControl = nullptr;
  }
  void Load(const std::string& library) {
    Refinement = new TRefine();
    Refinement->LibraryName = library;
    Refinement->Model = Model;
    Refinement->LoadEngine();
    ASSERT_TRUE(Refinement->IsLoaded());
  }
  // The example refined for one cycle by the stand-in engine.
  void RunExample() {
    delete Model;
    Model = new TRietveld();
    ASSERT_TRUE(Model->ReadInputFile(Examples() + "xray-cw.inp"));
    Model->Loaded = true;
    Refinement = new TRefine();
    Refinement->LibraryName = "zudezez.dll";
    Refinement->Model = Model;
    Refinement->DataFileName = Examples() + "xray-cw.dat";
    Refinement->BaseName = Dir.File("run");
    Refinement->Messages = false;
    Refinement->StartRefinement();
    ASSERT_EQ(Refinement->State(), 2);
    Refinement->RunCycle();
  }
  void OpenFourier() {
    Form = std::make_unique<TFormPlotFourier>(nullptr);
    Form->Show();
  }
  TTempDir Dir;
  std::unique_ptr<TFormPlotFourier> Form;
  std::unique_ptr<TFormRDF> Rdf;
};

double SliceValue(int s, int j, int k) { return -10.0 + 20.0 * (s + j + k - 3) / 189.0; }

}  // namespace

TEST(FourierTexts, SliceLabelsRangeTrimmingAndAxisLabels) {
  EXPECT_EQ(SliceLabel('x', 33), "x = 0.5000");
  EXPECT_EQ(SliceLabel('z', 1), "z = 0.0000");
  EXPECT_EQ(SliceLabel('y', 64), "y = 0.9844");
  float lo = -10, hi = 10;
  TrimRange(lo, hi);
  EXPECT_FLOAT_EQ(hi, 9.0f);
  EXPECT_FLOAT_EQ(lo, -9.05f);
  const std::pair<const char*, const char*> labels[] = {{"32", "0.5"}, {"64", "1"}, {"8", "0.125"},
                                                        {"100", "1.56"}, {"abc", "abc"}};
  for (const auto& [in, out] : labels) EXPECT_EQ(FractionalLabel(in), out) << in;
}

TEST_F(EngineWindowTest, CalculateAsksForTheChosenMapAndDrawsTheTrimmedRange) {
  apptest::TFakeEngine fake;
  Load(fake.Name());
  OpenFourier();
  ASSERT_EQ(Form->cbHistogram->Items()->Count(), 2);
  EXPECT_EQ(Form->cbPhase->Items()->Strings(1), "Phase 2");
  EXPECT_FALSE(Form->btPlot->Enabled());
  EXPECT_FALSE(Form->btAnimate->Enabled());
  EXPECT_TRUE(Form->btAnimate->Visible());
  EXPECT_FALSE(Form->btStop->Visible());
  Form->cbHistogram->UserSelected(1);
  Form->cbPhase->UserSelected(1);
  Form->cbType->UserSelected(2);
  Form->rbX->SetChecked(true);
  Form->btCalculate->Click();

  EXPECT_EQ(fake.Get("fourHistogram"), 2);
  EXPECT_EQ(fake.Get("fourPhase"), 2);
  EXPECT_EQ(fake.Get("fourAxis"), 1);
  EXPECT_EQ(fake.Get("fourKind"), 2);
  EXPECT_EQ(fake.Get("fourBusy"), 1);  // no run has ended
  EXPECT_TRUE(Form->btPlot->Enabled());
  EXPECT_TRUE(Form->btAnimate->Enabled());
  EXPECT_TRUE(Form->cbAuto->Enabled());
  EXPECT_NEAR(Form->ChartFourier->LeftAxis()->Minimum(), -9.05, 1e-5);
  EXPECT_NEAR(Form->ChartFourier->LeftAxis()->Maximum(), 9.0, 1e-5);
  EXPECT_FALSE(Form->ChartFourier->LeftAxis()->Automatic());

  // Slice 1 as 64 x 64 points: x the row, y the value, z the column.
  ASSERT_EQ(Form->Series1->Count(), 4096);
  EXPECT_FALSE(Form->Series2->Active());
  const int last = Form->Series1->Count() - 1;
  EXPECT_EQ(Form->Series1->XValues()->GetValue(last), 64);
  EXPECT_EQ(Form->Series1->ZValueAt(last), 64);
  EXPECT_NEAR(Form->Series1->YValues()->GetValue(last), SliceValue(1, 64, 64), 1e-4);
  // One palette entry per level, the last at the trimmed maximum.
  ASSERT_EQ(Form->Series1->Palette().size(), 15u);
  EXPECT_NEAR(Form->Series1->Palette().back().UpToValue, 9.0, 1e-5);

  Form->seSlice->SetValue(33);
  EXPECT_EQ(Form->lbSlice->Text(), "x = 0.5000");
  // Not redrawn without Auto.
  EXPECT_NEAR(Form->Series1->YValues()->GetValue(last), SliceValue(1, 64, 64), 1e-4);
  Form->btPlot->Click();
  EXPECT_NEAR(Form->Series1->YValues()->GetValue(last), SliceValue(33, 64, 64), 1e-4);

  // Double Cell shows the slice as 2 x 2 cells.
  Form->DoubleCell1->Click();
  EXPECT_EQ(Form->Series1->Count(), 16384);
  EXPECT_EQ(Form->Series1->NumXValues(), 128);
  EXPECT_EQ(Form->Series1->XValues()->MaxValue(), 128);
  EXPECT_EQ(Form->Series1->ZValues()->MaxValue(), 128);

  // Levels and pen thickness: exactly one item ticked.
  Form->LevelItems[5]->Click();
  Form->ThicknessItems[0]->Click();
  EXPECT_EQ(Form->Series1->NumLevels(), 30);
  EXPECT_EQ(Form->Series1->Pen()->Width(), 1);
  int ticked = 0;
  for (TTBItem* i : Form->LevelItems) ticked += i->Checked();
  EXPECT_EQ(ticked, 1);
}

TEST_F(EngineWindowTest, DisplayModesKeepOneOn) {
  apptest::TFakeEngine fake;
  Load(fake.Name());
  OpenFourier();
  Form->btCalculate->Click();
  // The contour alone cannot go off.
  Form->Contour1->Click();
  EXPECT_TRUE(Form->Contour1->Checked());
  Form->SolidSurface1->Click();
  EXPECT_TRUE(Form->Series2->Active());
  EXPECT_EQ(Form->Series2->Count(), 4096);
  Form->Wireframe1->Click();
  EXPECT_FALSE(Form->SolidSurface1->Checked());
  EXPECT_TRUE(Form->Series2->WireFrame());
  EXPECT_TRUE(Form->Series2->Pen()->Visible());
  Form->Contour1->Click();
  EXPECT_FALSE(Form->Contour1->Checked());
  EXPECT_FALSE(Form->Series1->Active());
  // The surface alone cannot go off.
  Form->Wireframe1->Click();
  EXPECT_TRUE(Form->Wireframe1->Checked());
  EXPECT_EQ(Form->ChartFourier->View3DOptions()->Rotation(), 290);
}

// A refused map or one without a finite value keeps the map drawn before;
// a single bad value is left out.
TEST_F(EngineWindowTest, RefusedAndNonFiniteMapsKeepThePreviousMap) {
  apptest::TFakeEngine fake;
  Load(fake.Name());
  OpenFourier();
  Form->btCalculate->Click();
  ASSERT_EQ(Form->Series1->Count(), 4096);
  struct TCase {
    const char* Key;
    double Value;
    bool Kept;
    bool ReplotAfter;
  };
  const TCase cases[] = {{"fourStatus", 3, true, false}, {"fourNaN", 1, true, true}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Key);
    fake.Set("fourStatus", 0);
    fake.Set("fourNaN", 0);
    Form->btCalculate->Click();
    fake.Set(c.Key, c.Value);
    TDialogResponder dialogs;
    Form->btCalculate->Click();
    EXPECT_TRUE(dialogs.Saw("Fourier failed"));
    EXPECT_EQ(Form->btPlot->Enabled(), c.ReplotAfter);
    EXPECT_FLOAT_EQ(TFormPlotFourier::Map()[0], -10.0f);
    EXPECT_EQ(Form->Series1->Count(), 4096);
  }
  fake.Set("fourStatus", 0);
  fake.Set("fourNaN", 2);
  fake.Set("fourBadRange", 1);
  TDialogResponder dialogs;
  Form->btCalculate->Click();
  EXPECT_EQ(dialogs.Count(), 0u);
  EXPECT_EQ(Form->Series1->Count(), 4095);
  for (int i = 0; i < Form->Series1->Count(); ++i) ASSERT_TRUE(std::isfinite(Form->Series1->YValues()->GetValue(i)));
  // The range comes from the map's finite values (the NaN took the lowest).
  EXPECT_NEAR(TFormPlotFourier::Maximum(), 10 - 0.05 * (20 - 20 / 189.0), 1e-4);
}

TEST_F(EngineWindowTest, WithoutTheMapEntryOrTheEngineNothingIsAsked) {
  OpenFourier();
  {
    TDialogResponder dialogs;
    Form->btCalculate->Click();  // no engine: nothing happens
    EXPECT_EQ(dialogs.Count(), 0u);
  }
  Load("zvfake_nofourier.dll");
  TDialogResponder dialogs;
  Form->btCalculate->Click();
  EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"Fourier failed"});
  EXPECT_FALSE(Form->btAnimate->Enabled());
}

TEST_F(EngineWindowTest, SaveAsWmfWritesAWindowsMetafile) {
  apptest::TFakeEngine fake;
  Load(fake.Name());
  OpenFourier();
  Form->btCalculate->Click();
  guitest::TCommonDialogResponder files;
  files.Do([&](TCommonDialog* d) {
    auto* save = static_cast<TSaveDialog*>(d);
    EXPECT_EQ(save->DefaultExt, "wmf");
    save->FileName = Dir.File("map.wmf");
    return true;
  });
  Form->SaveasWMF1->Click();
  const std::string bytes = TTempDir::Read(Dir.File("map.wmf"));
  ASSERT_GE(bytes.size(), 22u);
  // The placeable metafile key, not an enhanced metafile's record 1.
  EXPECT_EQ(bytes.substr(0, 4), std::string("\xD7\xCD\xC6\x9A", 4));
}

TEST_F(EngineWindowTest, ContourOfTheFakeMapMatchesTheReviewedPicture) {
  apptest::TFakeEngine fake;
  Load(fake.Name());
  OpenFourier();
  Form->LevelItems[1]->Click();
  Form->btCalculate->Click();
  TBitmap image(420, 380);
  Form->ChartFourier->SetBounds(0, 0, 420, 380);
  Form->ChartFourier->DrawOnCanvas(image.Canvas(), Rect(0, 0, 420, 380));
  ExpectMatchesGoldenIn("tests/app/golden", image, "fourier_contour.png");
}

TEST_F(EngineWindowTest, DifferenceMapOfTheExampleDrawsAndItsAnimationEndsWhenTheWindowCloses) {
  RunExample();
  OpenFourier();
  Form->cbType->UserSelected(2);
  Form->btCalculate->Click();
  ASSERT_TRUE(Form->btPlot->Enabled());
  EXPECT_EQ(Form->Series1->Count(), 4096);
  EXPECT_LT(TFormPlotFourier::Minimum(), TFormPlotFourier::Maximum());
  Form->cbAuto->SetChecked(false);
  int steps = 0;
  // The window is closed while the animation runs.
  std::function<void()> tick;
  tick = [&] {
    if (++steps == 3) Form->Close();
    else QueueCall(tick);
  };
  QueueCall(tick);
  Form->btAnimate->Click();
  EXPECT_GE(steps, 3);
  EXPECT_FALSE(Form->Animating());
  EXPECT_TRUE(Form->btAnimate->Visible());
  EXPECT_FALSE(Form->btStop->Visible());
  EXPECT_FALSE(Form->cbAuto->Checked());
  EXPECT_GT(Form->seSlice->Value(), 1);
  EXPECT_FALSE(Form->Visible());

  // Shown modally, as the main window shows it: the close ends the loop.
  auto modal = std::make_unique<TFormPlotFourier>(nullptr);
  guitest::TModalResponder responder;
  responder.Do([&](TCustomForm*) {
    modal->btCalculate->Click();
    QueueCall([&] { modal->Close(); });
    modal->btAnimate->Click();
    EXPECT_FALSE(modal->Animating());
    return modal->ModalResult();
  });
  EXPECT_EQ(modal->ShowModal(), mrCancel);
}

// ---- Radial distribution ---------------------------------------------------

TEST_F(EngineWindowTest, RdfAsksForTheChosenPhaseAndPlotsAThousandPoints) {
  apptest::TFakeEngine fake;
  Load(fake.Name());
  Rdf = std::make_unique<TFormRDF>(nullptr);
  EXPECT_TRUE(Rdf->PlotItems[0]->Checked());
  EXPECT_EQ(Rdf->Chart1->LeftAxis()->Title()->Caption(), "PDF(R)");
  Rdf->FillPhases(2);
  Rdf->cbPhases->SetItemIndex(1);
  Rdf->Show();
  EXPECT_EQ(fake.Get("rdfPhase"), 2);
  EXPECT_EQ(fake.Get("rdfKind"), 1);
  ASSERT_EQ(Rdf->Series1->Count(), 1000);
  EXPECT_EQ(Rdf->Series1->XValues()->GetValue(0), 0);
  EXPECT_NEAR(Rdf->Series1->XValues()->GetValue(999), 9.99, 1e-9);
  // The engine's value at R = 0.01 i is drawn there.
  EXPECT_EQ(Rdf->Series1->YValues()->GetValue(999), 999);

  Rdf->PlotItems[4]->Click();
  EXPECT_EQ(fake.Get("rdfKind"), 5);
  EXPECT_EQ(Rdf->PlotKind(), 5);
  for (int k = 0; k < 5; ++k) EXPECT_EQ(Rdf->PlotItems[static_cast<size_t>(k)]->Checked(), k == 4);
  EXPECT_EQ(Rdf->Chart1->LeftAxis()->Title()->Caption(), "N(R)");

  // Without a loaded model the chart stays empty.
  Model->Loaded = false;
  Rdf->Plot();
  EXPECT_EQ(Rdf->Series1->Count(), 0);
}

TEST_F(EngineWindowTest, RdfOfThePerovskiteHasItsMaximaAtTheBondLengths) {
  RunExample();
  Rdf = std::make_unique<TFormRDF>(nullptr);
  Rdf->FillPhases(Model->PhaseCount());
  Rdf->Show();
  ASSERT_EQ(Rdf->Series1->Count(), 1000);
  // The first two local maxima of the curve above a tenth of its highest value.
  double top = 0;
  for (int i = 0; i < 1000; ++i) top = std::max(top, Rdf->Series1->YValues()->GetValue(i));
  std::vector<double> maxima;
  for (int i = 1; i < 999 && maxima.size() < 2; ++i) {
    const double y = Rdf->Series1->YValues()->GetValue(i);
    if (y > 0.1 * top && y >= Rdf->Series1->YValues()->GetValue(i - 1) && y > Rdf->Series1->YValues()->GetValue(i + 1))
      maxima.push_back(Rdf->Series1->XValues()->GetValue(i));
  }
  ASSERT_EQ(maxima.size(), 2u);
  EXPECT_NEAR(maxima[0], 1.90, 0.05);  // Ti-O = a/2
  EXPECT_NEAR(maxima[1], 2.69, 0.05);  // Sr-O = a/sqrt(2)

  TBitmap image(420, 300);
  Rdf->Chart1->SetBounds(0, 0, 420, 300);
  Rdf->Chart1->DrawOnCanvas(image.Canvas(), Rect(0, 0, 420, 300));
  ExpectMatchesGoldenIn("tests/app/golden", image, "rdf_plot.png");
}
