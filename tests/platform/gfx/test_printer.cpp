// The printer: the forced "no printer" state and printing to a PDF file.
#include <gtest/gtest.h>

#include <fstream>

#include "gfx_test_util.h"
#include "platform/gfx/printer.h"

namespace {
struct TNoPrinterGuard {
  ~TNoPrinterGuard() { TPrinter::SetForceNoPrinter(false); }
};
std::string ReadFile(const std::string& name) {
  std::ifstream f(name, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}
}  // namespace

TEST(GfxPrinter, ForcedNoPrinterRaisesForEverythingThatNeedsOne) {
  TNoPrinterGuard guard;
  TPrinter::SetForceNoPrinter(true);
  TPrinter p;
  EXPECT_TRUE(p.Printers().empty());
  EXPECT_EQ(p.PrinterIndex(), -1);
  EXPECT_THROW(p.PageWidth(), EPrinter);
  EXPECT_THROW(p.BeginDoc(), EPrinter);
  EXPECT_FALSE(p.Printing());
}

TEST(GfxPrinter, PrintsPagesToAPdfFile) {
  TPrinter p;
  std::string file = TestTempDir() + "/printed.pdf";
  p.SetOutputFileName(file);
  p.SetTitle("Chart");
  EXPECT_TRUE(p.PrintsToPdf());
  EXPECT_EQ(p.XDPI(), 600);
  int w = p.PageWidth(), h = p.PageHeight();
  EXPECT_NEAR(w, 4961, 5);  // A4 at 600 pixels per inch
  EXPECT_NEAR(h, 7016, 5);
  p.SetOrientation(poLandscape);
  EXPECT_EQ(p.PageWidth(), h);
  p.SetOrientation(poPortrait);
  p.BeginDoc();
  EXPECT_TRUE(p.Printing());
  EXPECT_THROW(p.BeginDoc(), EPrinter);
  EXPECT_EQ(p.Canvas()->DeviceWidth(), w);
  EXPECT_EQ(p.Canvas()->Font()->PixelsPerInch(), 600);
  p.Canvas()->Rectangle(100, 100, 2000, 1000);
  p.Canvas()->TextOut(200, 200, "Page one");
  p.NewPage();
  EXPECT_EQ(p.PageNumber(), 2);
  p.Canvas()->Ellipse(100, 100, 2000, 1000);
  p.EndDoc();
  EXPECT_FALSE(p.Printing());
  EXPECT_THROW(p.EndDoc(), EPrinter);
  std::string pdf = ReadFile(file);
  ASSERT_GT(pdf.size(), 100u);
  EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
  size_t pages = 0;
  for (size_t at = pdf.find("/Type /Page\n"); at != std::string::npos; at = pdf.find("/Type /Page\n", at + 1)) ++pages;
  for (size_t at = pdf.find("/Type /Page "); at != std::string::npos; at = pdf.find("/Type /Page ", at + 1)) ++pages;
  EXPECT_EQ(pages, 2u);
}

TEST(GfxPrinter, AbortDropsTheDocument) {
  TPrinter p;
  std::string file = TestTempDir() + "/aborted.pdf";
  p.SetOutputFileName(file);
  p.BeginDoc();
  p.Canvas()->Rectangle(0, 0, 100, 100);
  p.Abort();
  EXPECT_TRUE(p.Aborted());
  EXPECT_FALSE(p.Printing());
  EXPECT_FALSE(std::ifstream(file).good());
}
