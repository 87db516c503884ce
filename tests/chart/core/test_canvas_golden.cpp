// A reviewed picture of the device canvas's primitives and effects.
// ZELVORA_UPDATE_GOLDEN=1 writes the picture instead of comparing (look at
// it before keeping it).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "chart/core/grcanvas.h"
#include "platform/gfx/bitmap.h"

namespace {

std::filesystem::path GoldenDir() {
  if (const char* src = std::getenv("ZELVORA_SOURCE_DIR")) return std::filesystem::path(src) / "tests/chart/core/golden";
  return std::filesystem::path(__FILE__).parent_path() / "golden";
}

void DrawScene(TGrafCanvas3D& c, TView3DOptions& options, TBitmap& target) {
  const TRect all = Rect(0, 0, target.Width(), target.Height());
  TRect r = c.PrepareDrawing(target.Canvas(), &options, clWhite, true, all);
  c.SetupProjection(40, Rect(20, 20, 300, 190));
  c.GradientFill(r, 0xFFF0E0, 0xC08040, gdTopBottom, 50);

  c.CanvasPen()->SetColor(clBlack);
  c.CanvasBrush()->SetColor(0x3060E0);
  c.Cube(30, 70, 60, 150, 0, 30, true);
  c.CanvasBrush()->SetColor(0x30B060);
  c.Cylinder(true, 90, 50, 130, 150, 0, 30, true);
  c.CanvasBrush()->SetColor(0xD07030);
  c.Cone(true, 150, 50, 190, 150, 0, 30, true, 0);
  c.CanvasBrush()->SetColor(0x20A0E0);
  c.Pyramid(true, 210, 70, 250, 150, 0, 30, true);
  c.CanvasBrush()->SetColor(0xA040A0);
  c.Pie3D(270, 80, 36, 26, 0, 12, 0.3, 2.4, true, true, 40, nullptr);
  c.CanvasBrush()->SetColor(0x40C0C0);
  c.Pie3D(270, 84, 36, 26, 0, 12, 2.4, 6.0, true, true, 0, nullptr);

  c.CanvasBrush()->SetColor(clRed);
  c.Arrow(true, {40, 185}, {140, 170}, 14, 12, 0, 40);

  TGrafShadow shadow;
  shadow.SetUniformSize(5);
  shadow.SetColor(clGray);
  c.SuspendRotation();
  shadow.DrawRectShadow(&c, Rect(170, 165, 300, 190));
  c.CanvasBrush()->SetColor(clWhite);
  c.Rectangle(170, 165, 300, 190);
  c.ResumeRotation();

  TGrafFont font;
  font.SetSize(14);
  font.SetStyle({fsBold});
  font.SetColor(clYellow);
  font.OutLine()->SetVisible(true);
  font.OutLine()->SetColor(clNavy);
  font.Shadow()->SetHorizSize(2);
  font.Shadow()->SetVertSize(2);
  font.Shadow()->SetColor(clGray);
  c.ApplyFont(&font);
  c.SetBackgroundMode(TRANSPARENT);
  c.TextOut(20, 8, "Rietveld 3D");

  TGrafFont label;
  label.SetColor(clMaroon);
  c.ApplyFont(&label);
  c.TextOut(180, 171, "shadowed box");
  c.FinishDrawing(target.Canvas(), target.Canvas(), all);
}

TEST(CanvasGolden, PrimitivesAndEffects) {
  TBitmap image(320, 200);
  TGrafCanvas3D canvas;
  TView3DOptions options(nullptr);
  DrawScene(canvas, options, image);

  const std::filesystem::path file = GoldenDir() / "canvas_primitives.png";
  if (std::getenv("ZELVORA_UPDATE_GOLDEN")) {
    std::filesystem::create_directories(file.parent_path());
    TPngImage png;
    png.Assign(&image);
    png.SaveToFile(file.string());
    GTEST_SKIP() << "wrote " << file;
  }
  TPicture picture;
  picture.LoadFromFile(file.string());
  TBitmap golden;
  golden.Assign(picture.Graphic());
  ASSERT_EQ(golden.Width(), image.Width());
  ASSERT_EQ(golden.Height(), image.Height());
  int differing = 0;
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x) {
      const TColorRef a = ColorToRGB(image.Canvas()->Pixels(x, y)), b = ColorToRGB(golden.Canvas()->Pixels(x, y));
      const int d = std::max({std::abs(GetRValue(a) - GetRValue(b)), std::abs(GetGValue(a) - GetGValue(b)),
                              std::abs(GetBValue(a) - GetBValue(b))});
      if (d > 48) ++differing;
    }
  // Text edges may differ a little between font builds; shapes may not.
  EXPECT_LE(differing, image.Width() * image.Height() / 200) << differing << " pixels differ";
}

}  // namespace
