// Panel output: bitmaps, metafiles, clipboard, printer pages (PDF), the
// export base, and the golden picture of a panel with background and shapes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "chart/core/grafhtml.h"
#include "chart/core/grafshapes.h"
#include "chart/core/grafutils.h"
#include "chart/core/golden.h"
#include "chart/core/test_panel_support.h"
#include "platform/gfx/printer.h"
#include "platform/rtl/mathutils.h"
#include "platform/rtl/streams.h"
#include "platform/ui/clipboard.h"
#include "support/tempdir.h"

namespace {

TColor Pixel(TBitmap& b, int x, int y) { return static_cast<TColor>(ColorToRGB(b.Canvas()->Pixels(x, y))); }

std::string ReadFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// A panel drawn through the real device canvas whose contents are one black
// square at (10, 10, 20, 20) in panel pixels.
struct TSquarePanel : TTestPanel {
  TSquarePanel() : TTestPanel(nullptr, false) {
    Contents = [this](const TRect&) {
      TCanvas3D* c = PanelCanvas();
      c->CanvasPen()->SetStyle(psClear);
      c->CanvasBrush()->SetStyle(bsSolid);
      c->CanvasBrush()->SetColor(clBlack);
      c->FillRect(Rect(10, 10, 20, 20));
    };
  }
};

TEST(PanelOutput, BitmapsHaveThePanelsSizeAndBackColour) {
  TSquarePanel panel;
  for (TColor back : {clWhite, clYellow}) {
    std::unique_ptr<TBitmap> b = panel.RenderBitmap(back, panel.GetOutputRect(), pfDevice);
    ASSERT_EQ(b->Width(), 400);
    ASSERT_EQ(b->Height(), 250);
    EXPECT_EQ(Pixel(*b, 15, 15), clBlack);
    EXPECT_EQ(Pixel(*b, 200, 100), back);
  }
  // The screen buffer and the buffering survive the output.
  EXPECT_TRUE(panel.BufferedDisplay());
  EXPECT_FALSE(static_cast<TGrafCanvas3D*>(panel.PanelCanvas())->KeepBuffer());

  TTempDir dir;
  panel.SaveToBitmapFile(dir.File("panel.bmp"));
  TPicture loaded;
  loaded.LoadFromFile(dir.File("panel.bmp"));
  EXPECT_EQ(loaded.Width(), 400);
  EXPECT_EQ(loaded.Height(), 250);
  EXPECT_THROW(panel.SaveToBitmapFile(dir.File("missing/folder/panel.bmp")), EStreamError);

  TPicture picture;
  panel.AssignToPicture(&picture);
  EXPECT_EQ(picture.Width(), 400);
}

TEST(PanelOutput, ClipboardTakesABitmapAndAMetafile) {
  TSquarePanel panel;
  panel.CopyBitmapToClipboard();
  TBitmap b;
  ASSERT_TRUE(Clipboard()->GetBitmap(&b));
  EXPECT_EQ(b.Width(), 400);
  EXPECT_EQ(b.Height(), 250);
  EXPECT_EQ(Pixel(b, 15, 15), clBlack);
  panel.CopyMetafileToClipboard(true);
  TMetafile m;
  ASSERT_TRUE(Clipboard()->GetMetafile(&m));
  EXPECT_GT(m.RecordCount(), 0);
}

TEST(PanelOutput, MetafileFiles) {
  TSquarePanel panel;
  TTempDir dir;
  panel.SaveToMetafile(dir.File("panel.emf"));
  const std::string emf = ReadFile(dir.File("panel.emf"));
  ASSERT_GT(emf.size(), 44u);
  EXPECT_EQ(emf.substr(40, 4), " EMF");  // the enhanced metafile signature
  panel.SaveRectToMetafile(false, dir.File("panel.wmf"), panel.GetOutputRect());
  const std::string wmf = ReadFile(dir.File("panel.wmf"));
  ASSERT_GT(wmf.size(), 4u);
  EXPECT_EQ(wmf.substr(0, 4), std::string("\xD7\xCD\xC6\x9A", 4));  // a placeable metafile
  std::unique_ptr<TMetafile> tiny = panel.CreateMetafileOfRect(true, Rect(5, 5, 5, 5));
  EXPECT_EQ(tiny->Width(), 1);
  EXPECT_EQ(tiny->Height(), 1);
  // The metafile flag is set only while drawing one.
  bool flagged = false;
  panel.Contents = [&](const TRect&) { flagged = panel.PanelCanvas()->DrawingToMetafile(); };
  panel.CreateMetafileOfRect(true, panel.GetOutputRect());
  EXPECT_TRUE(flagged);
  EXPECT_FALSE(panel.PanelCanvas()->DrawingToMetafile());
}

TEST(PanelOutput, PrintOnCanvasScalesThePanelIntoTheTarget) {
  struct Case { int resolution; TRect target; TPoint inside, outside; };
  const Case cases[] = {
      {0, {0, 0, 800, 500}, {39, 39}, {41, 41}},      // twice the panel: the square at 20..40
      {0, {0, 0, 400, 250}, {19, 19}, {21, 21}},      // the panel's own size maps one to one
      {50, {0, 0, 400, 250}, {39, 39}, {41, 41}},     // half the logical size: lines twice as large
      {0, {400, 250, 0, 0}, {19, 19}, {21, 21}},      // a reversed rectangle is normalised
  };
  for (const Case& c : cases) {
    TSquarePanel panel;
    panel.SetPrintResolution(c.resolution);
    TBitmap page(800, 500);
    bool printingSeen = false;
    TRect seen;
    panel.OnBeforePrint = [&](TObject* sender, TCanvas* canvas, const TRect& r) {
      EXPECT_EQ(sender, &panel);
      EXPECT_EQ(canvas, page.Canvas());
      printingSeen = panel.IsPrinting;
      seen = r;
    };
    panel.PrintOnCanvas(page.Canvas(), c.target);
    EXPECT_TRUE(printingSeen);
    EXPECT_FALSE(panel.IsPrinting);
    EXPECT_EQ(page.Canvas()->GetMapMode(), MM_TEXT);
    EXPECT_EQ(Pixel(page, c.inside.X, c.inside.Y), clBlack) << c.resolution;
    EXPECT_EQ(Pixel(page, c.outside.X, c.outside.Y), clWhite) << c.resolution;
    EXPECT_EQ(seen.Left, 0);
  }
}

// Printed text is sized in the panel's own (screen) pixels, which the
// mapping scales with everything else, whatever the printer's resolution.
TEST(PanelOutput, PrintedTextKeepsItsSizeInPanelPixels) {
  TSquarePanel panel;
  TGrafFont font;
  font.SetSize(10);
  int height = 0;
  panel.Contents = [&](const TRect&) {
    panel.PanelCanvas()->ApplyFont(&font);
    height = panel.PanelCanvas()->FontHeight();
  };
  TBitmap screen(400, 250);
  panel.DrawUnbuffered(screen.Canvas(), Rect(0, 0, 400, 250));
  const int onScreen = height;
  TBitmap page(800, 500);
  page.Canvas()->Font()->SetPixelsPerInch(600);  // as a printer's canvas has it
  panel.PrintOnCanvas(page.Canvas(), Rect(0, 0, 800, 500));
  EXPECT_EQ(height, onScreen);
  EXPECT_EQ(page.Canvas()->Font()->PixelsPerInch(), 600);
}

TEST(PanelOutput, ProportionalMarginsKeepTheAspectRatio) {
  // An A4 page at 600 pixels per inch: 70 % of the width for a wide panel,
  // the height centred by equal margins.
  TSquarePanel wide;
  EXPECT_EQ(wide.CalcProportionalMargins(), Rect(15, 34, 15, 34));
  TSquarePanel tall;
  tall.SetBounds(0, 0, 250, 400);
  EXPECT_EQ(tall.CalcProportionalMargins(), Rect(19, 15, 19, 15));
  const TRect r = wide.CalcPrintRect();
  EXPECT_EQ(wide.PrintMargins, Rect(15, 34, 15, 34));
  const int w = Printer()->PageWidth(), h = Printer()->PageHeight();
  EXPECT_EQ(r.Left, static_cast<int>(Round(0.15 * w)));
  EXPECT_EQ(r.Right, w - static_cast<int>(Round(0.15 * w)));
  EXPECT_EQ(r.Top, static_cast<int>(Round(0.34 * h)));
  // Not proportional: the stored margins are used as they are.
  wide.SetPrintProportional(false);
  wide.PrintMargins = Rect(10, 10, 10, 10);
  EXPECT_EQ(wide.CalcPrintRect().Left, static_cast<int>(Round(0.1 * w)));
  // Without a printer the screen stands in; printing itself fails.
  TPrinter::SetForceNoPrinter(true);
  EXPECT_NO_THROW(wide.CalcProportionalMargins());
  EXPECT_EQ(wide.CalcProportionalMargins().Left, 15);
  wide.SetPrintProportional(true);
  EXPECT_THROW(wide.CalcPrintRect(), EPrinter);
  EXPECT_THROW(wide.PrintPage(), EPrinter);
  TPrinter::SetForceNoPrinter(false);
}

// ---- Golden picture -------------------------------------------------------------

// A panel with a gradient background, bevels, a centred back image and three
// shapes with HTML text: plain with a shadow, rounded with a gradient, and a
// rotated, partly transparent one.
class TGoldenPanel : public TTestPanel {
public:
  TGoldenPanel() : TTestPanel(nullptr, false), Plain(this), Rounded(this), Turned(this) {
    SetBevelOuter(bvRaised);
    SetBevelInner(bvLowered);
    SetBevelWidth(2);
    SetBorderWidth(2);
    Gradient()->SetVisible(true);
    Gradient()->SetStartColor(static_cast<TColor>(RGB(40, 70, 160)));
    Gradient()->SetEndColor(static_cast<TColor>(RGB(230, 240, 255)));
    Gradient()->SetDirection(gdTopBottom);

    TBitmap image(90, 60);
    TCanvas* ic = image.Canvas();
    for (int i = 0; i < 6; ++i) {
      ic->Brush()->SetColor(i % 2 ? static_cast<TColor>(RGB(250, 220, 120)) : static_cast<TColor>(RGB(240, 150, 60)));
      ic->FillRect(Rect(i * 15, 0, i * 15 + 15, 60));
    }
    BackImage()->SetGraphic(&image);
    SetBackImageMode(pbmCenter);

    Plain.SetColor(static_cast<TColor>(RGB(255, 255, 225)));
    Plain.Shadow()->SetUniformSize(4);
    Plain.Shadow()->SetColor(clGray);
    Plain.SetTextFormat(ttfHtml);
    Rounded.SetShapeStyle(fosRoundRectangle);
    Rounded.Gradient()->SetVisible(true);
    Rounded.Gradient()->SetStartColor(static_cast<TColor>(RGB(200, 255, 200)));
    Rounded.Gradient()->SetEndColor(static_cast<TColor>(RGB(20, 140, 60)));
    Rounded.Gradient()->SetDirection(gdLeftRight);
    Rounded.SetShadow(nullptr);
    Rounded.Pen()->SetColor(static_cast<TColor>(RGB(0, 90, 0)));
    Rounded.Pen()->SetWidth(2);
    Turned.SetColor(static_cast<TColor>(RGB(220, 40, 40)));
    Turned.SetTransparency(35);
    Turned.SetBevel(bvRaised);

    Contents = [this](const TRect& bounds) {
      // Everything is placed relative to the drawing bounds (a printed page
      // puts them elsewhere).
      const int x = bounds.Left, y = bounds.Top;
      PaintBackground(bounds);
      Rounded.PaintRotated(Bounds(x + 230, y + 150, 142, 70), 0, 0);
      Text(Rounded, x + 244, y + 160, "<FONT color=white>x<SUPER>2</SUPER> + y<SUPER>2</SUPER></FONT>");
      Plain.PaintRotated(Bounds(x + 24, y + 24, 176, 72), 0, 0);
      Text(Plain, x + 32, y + 30,
           "<B>Rietveld</B> fit, <I>R<SUB>wp</SUB></I> = 7.2 %<BR><FONT color=#C00000 size=+2>a</FONT>"
           " &lt; b &amp; c");
      Turned.PaintRotated(Bounds(x + 70, y + 150, 100, 50), 20, 0);
    };
  }

  void Text(TGrafCustomShape& shape, int x, int y, const std::string& text) {
    TCanvas3D* c = PanelCanvas();
    c->ApplyFont(shape.Font());
    c->SetBackgroundMode(TRANSPARENT);
    c->TextOutMaybeHtml(x, y, shape.TextFormat() == ttfHtml || text[0] == '<', text);
  }

  TGrafShape Plain, Rounded, Turned;
};

TEST(PanelOutput, PrintsOnePdfPage) {
  TTempDir dir;
  const std::string pdf = dir.File("panel.pdf");
  TGoldenPanel panel;
  panel.SetName("GoldenPanel");
  Printer()->SetOutputFileName(pdf);
  panel.PrintPage();
  Printer()->SetOutputFileName("");
  EXPECT_FALSE(Printer()->Printing());
  EXPECT_EQ(Printer()->Title(), "GoldenPanel");
  const std::string bytes = ReadFile(pdf);
  ASSERT_EQ(bytes.substr(0, 5), "%PDF-");
  int pages = 0;
  for (size_t p = bytes.find("/Type /Page"); p != std::string::npos; p = bytes.find("/Type /Page", p + 1))
    if (bytes.compare(p, 12, "/Type /Pages") != 0) ++pages;
  EXPECT_EQ(pages, 1);
  if (const char* keep = std::getenv("ZELVORA_KEEP_PDF")) {
    std::ofstream(keep, std::ios::binary) << bytes;
  }
}

TEST(PanelOutput, PrintErrorsAbortTheJob) {
  TTempDir dir;
  TSquarePanel panel;
  panel.Contents = [](const TRect&) { throw Exception("drawing failed"); };
  Printer()->SetOutputFileName(dir.File("failed.pdf"));
  EXPECT_THROW(panel.PrintPage(), Exception);
  Printer()->SetOutputFileName("");
  EXPECT_FALSE(Printer()->Printing());
  EXPECT_FALSE(panel.IsPrinting);
}

class TTextExport : public TGrafExportData {
public:
  std::string Text;
  std::string ExportText() override { return Text; }
};

TEST(PanelOutput, TextExportBase) {
  TTextExport e;
  TStringStream empty;
  e.SaveTextToStream(empty);
  EXPECT_EQ(empty.DataString(), "");
  e.Text = "1\t2\r\n3\t4";
  TStringStream s;
  e.SaveTextToStream(s);
  EXPECT_EQ(s.DataString(), "1\t2\r\n3\t4");
  TTempDir dir;
  e.SaveTextToFile(dir.File("data.txt"));
  EXPECT_EQ(ReadFile(dir.File("data.txt")), e.Text);
  EXPECT_THROW(e.SaveTextToFile(dir.File("no/such/dir.txt")), EFCreateError);
  e.CopyTextToClipboard();
  EXPECT_EQ(Clipboard()->AsText(), e.Text);
}

TEST(PanelOutput, GoldenPanelWithBackgroundBevelImageAndShapes) {
  TGoldenPanel panel;
  std::unique_ptr<TBitmap> bmp = panel.RenderDefaultBitmap();
  ASSERT_EQ(bmp->Width(), 400);
  ASSERT_EQ(bmp->Height(), 250);
  ExpectMatchesGolden(*bmp, "panel_background_shapes.png");
}

}  // namespace
