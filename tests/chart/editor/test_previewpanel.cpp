// The print preview panel: the paper's proportions with and without a
// printer, the margins it shows and the dragging of them, and printing to a
// PDF file that shows the chart inside the margins.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "chart/core/golden.h"
#include "chart/editor/editortest.h"
#include "chart/core/grafutils.h"
#include "chart/editor/grafpreviewpanel.h"
#include "platform/gfx/printer.h"
#include "platform/rtl/fileutils.h"
#include "platform/rtl/mathutils.h"
#include "support/gui/guitest.h"
#include "support/tempdir.h"

namespace {

struct TNoPrinter {
  TNoPrinter() { TPrinter::SetForceNoPrinter(true); }
  ~TNoPrinter() { TPrinter::SetForceNoPrinter(false); }
};

class PreviewPanel : public ::testing::Test {
protected:
  void SetUp() override {
    editortest::EnsureEditor();
    Printer()->SetOrientation(poPortrait);
    chart = std::make_unique<TChart>(nullptr);
    chart->SetName("Previewed");
    chart->SetBounds(0, 0, 400, 250);
    chart->Title()->Text()->Clear();
    chart->Title()->Text()->Add("Preview");
    editortest::AddLine(*chart, "Line", {1, 4, 2, 5, 3});
    chart->SetPrintProportional(false);
    chart->PrintMargins = Rect(10, 20, 30, 15);
    preview = std::make_unique<TGrafPreviewPanel>(nullptr);
    preview->SetPanel(chart.get());
  }
  // One drawing pass into a picture of the panel's size.
  std::unique_ptr<TBitmap> Drawn() {
    auto b = std::make_unique<TBitmap>(preview->Width(), preview->Height(), pf24bit);
    preview->DrawOnCanvas(b->Canvas(), Rect(0, 0, preview->Width(), preview->Height()));
    return b;
  }
  std::unique_ptr<TChart> chart;
  std::unique_ptr<TGrafPreviewPanel> preview;
};

double Ratio(const TRect& r) { return double(r.Width()) / r.Height(); }

TEST_F(PreviewPanel, ThePaperHasThePagesProportions) {
  EXPECT_EQ(preview->Width(), 432);
  EXPECT_EQ(preview->Height(), 312);
  // A4 portrait: relatively taller than the panel, so a tenth of the height
  // above and below.
  TRect paper = preview->CalcPaperRect();
  EXPECT_EQ(paper.Top, 31);
  EXPECT_EQ(paper.Height(), 312 - 62);
  EXPECT_NEAR(Ratio(paper), double(Printer()->PageWidth()) / Printer()->PageHeight(), 0.01);
  EXPECT_EQ(paper.Left, (432 - paper.Width()) / 2);

  // Landscape set on the preview turns the printer before measuring.
  preview->SetOrientation(ppoLandscape);
  paper = preview->CalcPaperRect();
  EXPECT_EQ(Printer()->Orientation(), poLandscape);
  EXPECT_NEAR(Ratio(paper), 297.0 / 210.0, 0.01);
  preview->SetOrientation(ppoPortrait);

  {
    TNoPrinter none;
    paper = preview->CalcPaperRect();
    ASSERT_TRUE(Screen);
    EXPECT_NEAR(Ratio(paper), double(Screen->Width()) / Screen->Height(), 0.01);
  }
  preview->OnGetPaperRect = [](TObject*, TRect& r) { r = Rect(1, 2, 3, 4); };
  EXPECT_EQ(preview->CalcPaperRect(), Rect(1, 2, 3, 4));
}

TEST_F(PreviewPanel, TheMarginsRectangleFollowsThePanelsPercentages) {
  Drawn();
  const TRect p = preview->PaperRect();
  const TRect m = preview->MarginsRect();
  EXPECT_EQ(m.Left, p.Left + MulDiv(10, p.Width(), 100));
  EXPECT_EQ(m.Top, p.Top + MulDiv(20, p.Height(), 100));
  EXPECT_EQ(m.Right, p.Right - MulDiv(30, p.Width(), 100));
  EXPECT_EQ(m.Bottom, p.Bottom - MulDiv(15, p.Height(), 100));

  // Near an edge or corner, inside, outside; without resizing only moving,
  // without moving neither.
  struct TCase {
    int x, y, hit, noResize, neither;
  };
  const TCase cases[] = {
      {m.Left, m.Top, 6, 0, 0},          {m.Left + 4, m.Bottom - 3, 8, 0, 0}, {m.Right, m.Top + 2, 7, 0, 0},
      {m.Right - 4, m.Bottom + 4, 9, 0, 0}, {m.Left - 4, m.Top + 30, 1, 0, 0}, {m.Right + 1, m.Top + 30, 3, 0, 0},
      {m.Left + 30, m.Top, 2, 0, 0},     {m.Left + 30, m.Bottom, 4, 0, 0},  {m.Left + 30, m.Top + 30, 5, 5, 0},
      {m.Left - 10, m.Top + 30, 0, 0, 0},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
    preview->SetAllowResize(true);
    preview->SetAllowMove(true);
    EXPECT_EQ(preview->HitTest(c.x, c.y), c.hit);
    preview->SetAllowResize(false);
    EXPECT_EQ(preview->HitTest(c.x, c.y), c.noResize);
    preview->SetAllowMove(false);
    EXPECT_EQ(preview->HitTest(c.x, c.y), c.neither);
    EXPECT_EQ(TGrafPreviewPanel::CursorOfHit(preview->HitTest(c.x, c.y)), crDefault);
  }
  EXPECT_EQ(TGrafPreviewPanel::CursorOfHit(5), crGrafHand);
  EXPECT_EQ(TGrafPreviewPanel::CursorOfHit(1), crHSplit);
  EXPECT_EQ(TGrafPreviewPanel::CursorOfHit(7), crSizeNESW);
}

TEST_F(PreviewPanel, DraggingTheLeftLineStopsAPixelBeforeTheRightOne) {
  Drawn();
  const TRect p = preview->PaperRect();
  const TRect m = preview->MarginsRect();
  int changes = 0;
  TRect told;
  preview->OnChangeMargins = [&](TObject*, bool disable, const TRect& r) {
    ++changes;
    EXPECT_TRUE(disable);
    told = r;
  };
  chart->SetPrintProportional(true);
  const int y = (m.Top + m.Bottom) / 2;
  guitest::MouseDown(preview.get(), mbLeft, m.Left, y);
  EXPECT_EQ(preview->DragMode(), 1);
  for (int x = m.Left + 20; x < p.Right - 1; x += 20) guitest::MouseMove(preview.get(), x, y);
  guitest::MouseMove(preview.get(), m.Right - 1, y);
  guitest::MouseMove(preview.get(), m.Right + 5, y);  // at or past the right line: refused
  guitest::MouseUp(preview.get(), mbLeft, m.Right + 5, y);
  EXPECT_EQ(preview->MarginsRect().Left, m.Right - 1);
  EXPECT_EQ(preview->MarginsRect().Right, m.Right);
  EXPECT_GT(changes, 1);
  EXPECT_FALSE(chart->PrintProportional());
  EXPECT_EQ(chart->PrintMargins, told);
  EXPECT_EQ(told.Left, MulDiv(m.Right - 1 - p.Left, 100, p.Width()));
  EXPECT_EQ(told.Right, 30);
}

TEST_F(PreviewPanel, MovingKeepsTheSizeInsideThePaper) {
  Drawn();
  const TRect p = preview->PaperRect();
  const TRect m = preview->MarginsRect();
  const TPoint from{(m.Left + m.Right) / 2, (m.Top + m.Bottom) / 2};
  guitest::MouseDown(preview.get(), mbLeft, from.X, from.Y);
  EXPECT_EQ(preview->DragMode(), 5);
  guitest::MouseMove(preview.get(), from.X + 7, from.Y - 5);
  EXPECT_EQ(preview->MarginsRect(), Rect(m.Left + 7, m.Top - 5, m.Right + 7, m.Bottom - 5));
  // Far to the left and up: the rectangle stops at the paper's corner.
  guitest::MouseMove(preview.get(), p.Left, p.Top);
  guitest::MouseUp(preview.get(), mbLeft, p.Left, p.Top);
  const TRect moved = preview->MarginsRect();
  EXPECT_GE(moved.Left, p.Left);
  EXPECT_GE(moved.Top, p.Top);
  EXPECT_EQ(moved.Width(), m.Width());
  EXPECT_EQ(moved.Height(), m.Height());
}

TEST_F(PreviewPanel, ThePreviewPage) {
  TNoPrinter none;  // the screen's proportions: the same page on every machine
  preview->SetBounds(0, 0, 320, 240);
  std::unique_ptr<TBitmap> page = Drawn();
  ExpectMatchesGoldenIn("tests/chart/editor/golden", *page, "preview_page.png");
}

// Printed to a PDF file: one page, the chart inside the margins, nothing
// outside them.
TEST_F(PreviewPanel, PrintsOnePageWithTheChartInsideTheMargins) {
  chart->Title()->Font()->SetSize(30);
  chart->SetColor(clYellow);
  const bool background = PrintPanelBackground;
  PrintPanelBackground = true;
  TTempDir dir;
  const std::string pdf = dir.File("preview.pdf");
  Printer()->SetOutputFileName(pdf);
  preview->SetTitle("Preview test");
  preview->Print();
  Printer()->SetOutputFileName("");
  PrintPanelBackground = background;
  ASSERT_TRUE(FileExists(pdf));

  const std::string info = dir.File("info.txt");
  ASSERT_EQ(std::system(("pdfinfo '" + pdf + "' > '" + info + "' 2>&1").c_str()), 0);
  const std::string facts = TTempDir::Read(info);
  const size_t pages = facts.find("Pages:");
  ASSERT_NE(pages, std::string::npos) << facts;
  EXPECT_EQ(std::atoi(facts.c_str() + pages + 6), 1) << facts;
  // 20 pixels per inch: an A4 page of 165 x 234 pixels.
  ASSERT_EQ(std::system(("pdftoppm -r 20 -png -singlefile '" + pdf + "' '" + dir.File("page") + "'").c_str()), 0);
  TPicture picture;
  picture.LoadFromFile(dir.File("page.png"));
  TBitmap page;
  page.Assign(picture.Graphic());
  page.SetPixelFormat(pf24bit);
  const int w = page.Width(), h = page.Height();
  ASSERT_NEAR(w, 165, 1);
  // The printed rectangle: 10 % from the left, 20 % from the top, 30 % from
  // the right, 15 % from the bottom; checked a pixel inside its edges.
  const TRect inside = Rect(w * 10 / 100 + 2, h * 20 / 100 + 2, w - w * 30 / 100 - 2, h - h * 15 / 100 - 2);
  int yellow = 0, inked = 0, outsideInk = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const TColorRef c = ColorToRGB(page.Canvas()->Pixels(x, y));
      const bool white = GetRValue(c) > 240 && GetGValue(c) > 240 && GetBValue(c) > 240;
      const bool isYellow = GetRValue(c) > 200 && GetGValue(c) > 200 && GetBValue(c) < 80;
      if (inside.Contains(Point(x, y))) {
        yellow += isYellow;
        inked += !white && !isYellow;
      } else if (x < inside.Left - 4 || x > inside.Right + 4 || y < inside.Top - 4 || y > inside.Bottom + 4) {
        outsideInk += !white;
      }
    }
  EXPECT_GT(yellow, inside.Width() * inside.Height() / 3);  // the chart's panel fills the printed area
  EXPECT_GT(inked, 20);                                     // its title, axes and line
  EXPECT_EQ(outsideInk, 0);
}

}  // namespace
