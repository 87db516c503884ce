// A reviewed picture of the device canvas's primitives and effects.
// ZELVORA_UPDATE_GOLDEN=1 writes the picture instead of comparing (look at
// it before keeping it).
#include <gtest/gtest.h>

#include <cmath>

#include "chart/core/grcanvas.h"
#include "chart/core/golden.h"
#include "platform/gfx/bitmap.h"

namespace {

void DrawScene(TGrafCanvas3D& c, TView3DOptions& options, TBitmap& target, const char* boxLabel = "shadowed box") {
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
  c.TextOut(180, 171, boxLabel);
  c.FinishDrawing(target.Canvas(), target.Canvas(), all);
}

TEST(CanvasGolden, PrimitivesAndEffects) {
  TBitmap image(320, 200);
  TGrafCanvas3D canvas;
  TView3DOptions options(nullptr);
  DrawScene(canvas, options, image);

  ExpectMatchesGolden(image, "canvas_primitives.png");
}

// The comparison sees a label that is not drawn: the picture without the box's
// "shadowed box" differs from the reviewed one.
TEST(CanvasGolden, AMissingLabelFailsTheComparison) {
  TBitmap image(320, 200);
  TGrafCanvas3D canvas;
  TView3DOptions options(nullptr);
  DrawScene(canvas, options, image, "");
  const int differing = GoldenDifferences(image, "canvas_primitives.png", kExactly.Channel);
  EXPECT_GT(differing, kExactly.MaxDiffering);
}

}  // namespace
