// The print preview dialog: what it offers without a printer, the margin
// edits and their refusal, Reset, and printing the previewed chart to a PDF.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "chart/core/grafutils.h"
#include "chart/editor/editortest.h"
#include "chart/editor/grafedigene.h"
#include "chart/editor/grafprevi.h"
#include "platform/gfx/printer.h"
#include "platform/rtl/fileutils.h"
#include "support/gui/guitest.h"
#include "support/tempdir.h"

namespace {

struct TNoPrinter {
  TNoPrinter() { TPrinter::SetForceNoPrinter(true); }
  ~TNoPrinter() { TPrinter::SetForceNoPrinter(false); }
};

class PrintPreview : public ::testing::Test {
protected:
  void SetUp() override {
    editortest::EnsureEditor();
    Printer()->SetOrientation(poPortrait);
    chart = std::make_unique<TChart>(nullptr);
    chart->SetName("Previewed");
    chart->SetBounds(0, 0, 400, 250);
    editortest::AddLine(*chart, "Line", {1, 4, 2, 5, 3});
    chart->SetPrintProportional(false);
    chart->PrintMargins = Rect(10, 20, 30, 15);
  }
  void TearDown() override { Printer()->SetOrientation(poPortrait); }
  // The dialog on the chart, shown: the script runs while it is up.
  void Show(const std::function<void(TChartPreview*)>& Check) {
    TChartPreview preview(nullptr);
    preview.SetTag(reinterpret_cast<intptr_t>(chart.get()));
    guitest::TModalResponder answer;
    answer.Do([&](TCustomForm* f) {
      Check(static_cast<TChartPreview*>(f));
      return mrOk;
    });
    preview.ShowModal();
    EXPECT_EQ(answer.Count(), 1);
  }
  std::unique_ptr<TChart> chart;
};

TEST_F(PrintPreview, WithoutAPrinterThePaperHasTheScreensProportions) {
  TNoPrinter none;
  Show([&](TChartPreview* p) {
    EXPECT_FALSE(p->BPrint->Enabled());
    EXPECT_FALSE(p->BSetupPrinter->Enabled());
    EXPECT_FALSE(p->Orientation->Enabled());
    EXPECT_EQ(p->CBPrinters->Items()->Count(), 0);
    const TRect paper = p->GrafPreviewPanel1->CalcPaperRect();
    const double screen = double(Screen->Width()) / Screen->Height();
    EXPECT_NEAR(double(paper.Width()) / paper.Height(), screen, 0.02);
  });
}

TEST_F(PrintPreview, OpensOnThePanelsSettings) {
  chart->SetPrintResolution(-30);
  Show([&](TChartPreview* p) {
    EXPECT_EQ(p->GrafPreviewPanel1->Panel(), chart.get());
    EXPECT_TRUE(p->BPrint->Enabled());
    EXPECT_FALSE(p->CBProp->Checked());
    EXPECT_EQ(p->Resolution->Position(), 70);
    EXPECT_EQ(p->UDLeftMa->Position(), 10);
    EXPECT_EQ(p->UDTopMa->Position(), 20);
    EXPECT_EQ(p->UDRightMa->Position(), 30);
    EXPECT_EQ(p->UDBotMa->Position(), 15);
    EXPECT_FALSE(p->BReset->Enabled());
    // The library prints landscape by default.
    EXPECT_EQ(p->Orientation->ItemIndex(), 1);
    EXPECT_EQ(Printer()->Orientation(), poLandscape);
    p->Resolution->SetPosition(90);
    EXPECT_EQ(chart->PrintResolution(), -10);
  });
}

TEST_F(PrintPreview, AMarginThatMeetsTheOppositeOneIsRefused) {
  chart->PrintMargins = Rect(10, 20, 40, 15);
  Show([&](TChartPreview* p) {
    p->SELeftMa->SetText("60");  // 60 + 40 reaches 100
    EXPECT_EQ(chart->PrintMargins.Left, 10);
    EXPECT_EQ(p->UDLeftMa->Position(), 10);
    EXPECT_EQ(p->SELeftMa->Text(), "10");
    EXPECT_FALSE(p->BReset->Enabled());

    p->SELeftMa->SetText("55");  // 95: taken
    EXPECT_EQ(chart->PrintMargins.Left, 55);
    EXPECT_TRUE(p->BReset->Enabled());
    EXPECT_FALSE(p->CBProp->Checked());
    p->SEBotMa->SetText("80");  // 80 + 20 on the top
    EXPECT_EQ(chart->PrintMargins.Bottom, 15);

    p->BReset->Click();
    EXPECT_EQ(chart->PrintMargins, Rect(10, 20, 40, 15));
    EXPECT_EQ(p->UDLeftMa->Position(), 10);
    EXPECT_FALSE(p->BReset->Enabled());
  });
}

TEST_F(PrintPreview, DraggingAMarginShowsItInTheEditsAndEndsProportionalMargins) {
  chart->SetPrintProportional(true);
  Show([&](TChartPreview* p) {
    // Opened with proportional margins: those shown, and nothing to reset.
    EXPECT_TRUE(p->CBProp->Checked());
    EXPECT_FALSE(p->BReset->Enabled());
    TGrafPreviewPanel* panel = p->GrafPreviewPanel1;
    TBitmap drawn(panel->Width(), panel->Height(), pf24bit);
    panel->DrawOnCanvas(drawn.Canvas(), Rect(0, 0, panel->Width(), panel->Height()));
    const TRect m = panel->MarginsRect();
    const int y = (m.Top + m.Bottom) / 2;
    guitest::MouseDown(panel, mbLeft, m.Left, y);
    guitest::MouseMove(panel, m.Left + 20, y);
    guitest::MouseUp(panel, mbLeft, m.Left + 20, y);
    EXPECT_FALSE(chart->PrintProportional());
    EXPECT_FALSE(p->CBProp->Checked());
    EXPECT_EQ(p->UDLeftMa->Position(), chart->PrintMargins.Left);
    EXPECT_TRUE(p->BReset->Enabled());
  });
}

// Print on the dialog: one page, the chart inside its margins.
TEST_F(PrintPreview, PrintsThePreviewedChartToAPdfPage) {
  chart->SetColor(clYellow);
  const bool background = PrintPanelBackground;
  PrintPanelBackground = true;
  TTempDir dir;
  const std::string pdf = dir.File("dialog.pdf");
  Printer()->SetOutputFileName(pdf);
  Show([&](TChartPreview* p) {
    p->Orientation->SetItemIndex(0);  // portrait
    p->BPrint->Click();
  });
  Printer()->SetOutputFileName("");
  PrintPanelBackground = background;
  ASSERT_TRUE(FileExists(pdf));
  const std::string info = dir.File("info.txt");
  ASSERT_EQ(std::system(("pdfinfo '" + pdf + "' > '" + info + "' 2>&1").c_str()), 0);
  const std::string facts = TTempDir::Read(info);
  ASSERT_NE(facts.find("Pages:"), std::string::npos) << facts;
  EXPECT_EQ(std::atoi(facts.c_str() + facts.find("Pages:") + 6), 1) << facts;
  ASSERT_EQ(std::system(("pdftoppm -r 20 -png -singlefile '" + pdf + "' '" + dir.File("page") + "'").c_str()), 0);
  TPicture picture;
  picture.LoadFromFile(dir.File("page.png"));
  TBitmap page;
  page.Assign(picture.Graphic());
  page.SetPixelFormat(pf24bit);
  const int w = page.Width(), h = page.Height();
  ASSERT_LT(w, h);  // portrait
  const TRect inside = Rect(w * 10 / 100 + 2, h * 20 / 100 + 2, w - w * 30 / 100 - 2, h - h * 15 / 100 - 2);
  int yellow = 0, outsideInk = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const TColorRef c = ColorToRGB(page.Canvas()->Pixels(x, y));
      const bool white = GetRValue(c) > 240 && GetGValue(c) > 240 && GetBValue(c) > 240;
      if (inside.Contains(Point(x, y)))
        yellow += GetRValue(c) > 200 && GetGValue(c) > 200 && GetBValue(c) < 80;
      else if (x < inside.Left - 4 || x > inside.Right + 4 || y < inside.Top - 4 || y > inside.Bottom + 4)
        outsideInk += !white;
    }
  EXPECT_GT(yellow, inside.Width() * inside.Height() / 3);
  EXPECT_EQ(outsideInk, 0);
}

// The general page's entry finds the dialog by its class name and gives it
// the chart's page navigator.
TEST_F(PrintPreview, TheLibrarysPreviewEntryOpensTheDialogWithAPageNavigator) {
  guitest::TModalResponder answer;
  std::string caption;
  TCustomGrafPanel* shown = nullptr;
  bool navigator = false;
  answer.Do([&](TCustomForm* f) {
    caption = f->Caption();
    auto* p = dynamic_cast<TChartPreview*>(f);
    if (p) {
      shown = p->GrafPreviewPanel1->Panel();
      navigator = p->PageNavigator() && p->PageNavigator()->ClassName() == "TChartPageNavigator" &&
                  p->PageNavigator()->Panel() == chart.get();
    }
    return mrOk;
  });
  ShowChartPrintPreview(nullptr, chart.get());
  EXPECT_EQ(caption, "GrafChart Print Preview");
  EXPECT_EQ(shown, chart.get());
  EXPECT_TRUE(navigator);
}

}  // namespace
