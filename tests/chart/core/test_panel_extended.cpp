// The extended panel: background, back image, zoom settings and frame.
#include <gtest/gtest.h>

#include "chart/core/grafutils.h"
#include "chart/core/test_panel_support.h"

namespace {

void SetImage(TTestPanel& panel, int w, int h, TGrafBackImageMode mode) {
  TBitmap image(w, h);
  image.Canvas()->Brush()->SetColor(clRed);
  image.Canvas()->FillRect(Rect(0, 0, w, h));
  panel.BackImage()->SetGraphic(&image);
  panel.SetBackImageMode(mode);
}

TEST(PanelBackImage, CreatedOnlyWhenAskedFor) {
  TTestPanel panel;
  panel.Pass();
  panel.PaintBackground(Rect(0, 0, 400, 250));
  EXPECT_FALSE(panel.HasBackImage());
  EXPECT_FALSE(panel.BackImageInside());
  EXPECT_FALSE(panel.BackImageTransp());
  EXPECT_FALSE(panel.HasBackImage());
  EXPECT_EQ(panel.BackImageMode(), pbmStretch);
  EXPECT_TRUE(panel.HasBackImage());
  // Transparency needs a graphic.
  panel.SetBackImageTransp(true);
  EXPECT_FALSE(panel.BackImageTransp());
  SetImage(panel, 4, 4, pbmTile);
  panel.SetBackImageTransp(true);
  EXPECT_TRUE(panel.BackImageTransp());
  panel.SetBackImageInside(true);
  EXPECT_TRUE(panel.BackImageInside());
  panel.SetBackImage(nullptr);
  EXPECT_FALSE(panel.HasBackImage());
}

TEST(PanelBackImage, SettingsRepaintThePanel) {
  TTestPanel panel;
  panel.BackImage();
  panel.Rec->Clear();
  panel.BackImage()->SetMode(pbmTile);
  panel.BackImage()->SetMode(pbmTile);
  panel.BackImage()->SetLeft(3);
  EXPECT_EQ(panel.Rec->Count("MarkDirty"), 2);
}

TEST(PanelBackImage, Modes) {
  struct Case {
    const char* name;
    int w, h;
    TGrafBackImageMode mode;
    std::function<void(TTestPanel&)> setup;
    std::vector<std::string> calls;  // drawing calls, in order
  };
  const Case cases[] = {
      {"stretched into the rectangle", 7, 5, pbmStretch, nullptr, {"StretchDraw(10,20,110,80,7,5)"}},
      {"tiles from the top-left corner", 40, 25, pbmTile, nullptr,
       {"ClipToRect(10,20,110,80)", "DrawGraphic(10,20,40,25)", "DrawGraphic(50,20,40,25)", "DrawGraphic(90,20,40,25)",
        "DrawGraphic(10,45,40,25)", "DrawGraphic(50,45,40,25)", "DrawGraphic(90,45,40,25)",
        "DrawGraphic(10,70,40,25)", "DrawGraphic(50,70,40,25)", "DrawGraphic(90,70,40,25)", "RemoveClipRegion()"}},
      {"centred", 20, 10, pbmCenter, nullptr,
       {"ClipToRect(10,20,110,80)", "EraseBackground(10,20,110,80)", "DrawGraphic(50,45,20,10)", "RemoveClipRegion()"}},
      {"centred and larger than the rectangle: clipped", 200, 100, pbmCenter, nullptr,
       {"ClipToRect(10,20,110,80)", "EraseBackground(10,20,110,80)", "DrawGraphic(-40,0,200,100)",
        "RemoveClipRegion()"}},
      {"at an offset", 20, 10, pbmCustom, [](TTestPanel& p) { p.BackImage()->SetLeft(5); p.BackImage()->SetTop(-3); },
       {"ClipToRect(10,20,110,80)", "EraseBackground(10,20,110,80)", "DrawGraphic(15,17,20,10)", "RemoveClipRegion()"}},
      {"no clip when clipping is not allowed", 60, 60, pbmTile, [](TTestPanel& p) { p.IsPrinting = true; ClipOnPrinter = false; },
       {"DrawGraphic(10,20,60,60)", "DrawGraphic(70,20,60,60)"}},
  };
  for (const Case& c : cases) {
    TTestPanel panel;
    SetImage(panel, c.w, c.h, c.mode);
    if (c.setup) c.setup(panel);
    panel.Rec->Clear();
    panel.DrawBackImage(Rect(10, 20, 110, 80), 0);
    std::vector<std::string> calls;
    for (const std::string& s : IntLog(*panel.Rec))
      if (s.rfind("Suspend", 0) != 0 && s.rfind("Resume", 0) != 0) calls.push_back(s);
    EXPECT_EQ(calls, c.calls) << c.name << "\n" << panel.Rec->Dump(0);
    ClipOnPrinter = true;
  }
  // An empty image draws nothing and does not loop.
  TTestPanel panel;
  TBitmap empty;
  panel.BackImage()->SetGraphic(&empty);
  panel.SetBackImageMode(pbmTile);
  panel.Rec->Clear();
  panel.DrawBackImage(Rect(10, 20, 110, 80), 0);
  EXPECT_EQ(panel.Rec->Count("DrawGraphic"), 0);
}

TEST(PanelBackground, ShadowFillImageAndFrame) {
  TTestPanel panel;
  panel.Shadow()->SetUniformSize(4);
  panel.Shadow()->SetSmooth(false);
  SetImage(panel, 10, 10, pbmStretch);
  panel.Rec->Clear();
  panel.PaintBackground(Rect(0, 0, 400, 250));
  std::vector<std::string> calls;
  for (const std::string& s : IntLog(*panel.Rec))
    if (s.rfind("Suspend", 0) != 0 && s.rfind("Resume", 0) != 0) calls.push_back(s);
  const std::vector<std::string> expected = {
      "FillRect(0,0,400,250)",                 // the parent's colour under the shadow corner
      "Rectangle(4,246,400,251)",              // shadow below
      "Rectangle(396,4,401,251)",              // shadow to the right
      "EraseBackground(0,0,396,246)",          // the panel colour
      "StretchDraw(0,0,396,246,10,10)",        // the back image
      "DrawFrame3D(0,0,396,246,-16777196,-16777200,1)",  // the raised bevel
  };
  EXPECT_EQ(calls, expected) << panel.Rec->Dump(0);
}

TEST(PanelBackground, GradientIsDrawnEvenOnPaperButColourAndBevelsAreNot) {
  TTestPanel panel;
  panel.IsPrinting = true;
  panel.Rec->Clear();
  panel.PaintBackground(Rect(0, 0, 400, 250));
  EXPECT_EQ(panel.Rec->Count("EraseBackground"), 0);
  EXPECT_EQ(panel.Rec->Count("DrawFrame3D"), 0);
  panel.Gradient()->SetVisible(true);
  panel.Rec->Clear();
  panel.PaintBackground(Rect(0, 0, 400, 250));
  EXPECT_EQ(panel.Rec->Count("GradientFill"), 1);
  EXPECT_EQ(panel.Rec->Count("DrawFrame3D"), 0);
  PrintPanelBackground = true;
  panel.Gradient()->SetVisible(false);
  panel.Rec->Clear();
  panel.PaintBackground(Rect(0, 0, 400, 250));
  PrintPanelBackground = false;
  EXPECT_EQ(panel.Rec->Count("EraseBackground"), 1);
  EXPECT_EQ(panel.Rec->Count("DrawFrame3D"), 1);
}

TEST(PanelZoom, AssignKeepsTheTargetsThresholds) {
  TGrafZoom a, b;
  a.SetAllow(false);
  a.SetAnimated(true);
  a.SetAnimatedSteps(3);
  a.SetDirection(tzdVertical);
  a.SetKeyShift({ssCtrl});
  a.SetMouseButton(mbMiddle);
  a.SetMinimumPixels(40);
  a.SetUpLeftZooms(true);
  a.Pen()->SetColor(clRed);
  b.Brush();
  b.Assign(&a);
  EXPECT_FALSE(b.Allow());
  EXPECT_TRUE(b.Animated());
  EXPECT_EQ(b.AnimatedSteps(), 3);
  EXPECT_EQ(b.Direction(), tzdVertical);
  EXPECT_EQ(b.KeyShift(), (TShiftState{ssCtrl}));
  EXPECT_EQ(b.MouseButton(), mbMiddle);
  EXPECT_EQ(b.Pen()->Color(), clRed);
  EXPECT_FALSE(b.HasBrush());  // the source had none
  EXPECT_EQ(b.MinimumPixels(), 16);
  EXPECT_FALSE(b.UpLeftZooms());
  // Zoom pen and brush defaults.
  TGrafZoom z;
  EXPECT_EQ(z.Pen()->Color(), clWhite);
  EXPECT_EQ(z.Brush()->Color(), clWhite);
  EXPECT_EQ(z.Brush()->Style(), bsClear);
}

TEST(PanelZoom, FrameIsDrawnInNotXorSoTwiceRestoresTheScreen) {
  TTestPanel panel;
  panel.SetColor(clSilver);
  panel.Zoom()->StartAt(10, 10);
  panel.Zoom()->EndX = 60;
  panel.Zoom()->EndY = 40;
  panel.Rec->Clear();
  panel.DrawZoomFrame();
  const auto rects = panel.Rec->CallsOf("Rectangle", 0);
  ASSERT_EQ(rects.size(), 1u);
  EXPECT_EQ(rects[0].ToString(), "Rectangle(10,10,60,40)");
  EXPECT_EQ(rects[0].PenMode, pmNotXor);
  EXPECT_EQ(rects[0].BrushStyle, bsClear);
  // The white pen xor the inverted panel colour is the panel colour, which
  // not-xor turns white over the panel's own colour.
  EXPECT_EQ(rects[0].PenColor, clSilver);
  // On pixels: twice restores what was there.
  panel.Rec->BindSurface();
  TCanvas* s = panel.Rec->Surface()->Canvas();
  s->Brush()->SetColor(clNavy);
  s->FillRect(Rect(0, 0, 100, 100));
  panel.DrawZoomFrame();
  const TColor drawn = panel.Rec->SurfacePixel(10, 20);
  EXPECT_NE(drawn, clNavy);
  panel.DrawZoomFrame();
  EXPECT_EQ(panel.Rec->SurfacePixel(10, 20), clNavy);
}

// On a white panel the white pen would change nothing: the frame inverts
// what it crosses, and drawing it again still restores the screen.
TEST(PanelZoom, FrameOnAPanelOfThePensOwnColourInvertsThePixels) {
  TTestPanel panel;
  panel.SetColor(clWhite);
  panel.Zoom()->StartAt(10, 10);
  panel.Zoom()->EndX = 60;
  panel.Zoom()->EndY = 40;
  panel.Rec->BindSurface();
  TCanvas* s = panel.Rec->Surface()->Canvas();
  s->Brush()->SetColor(clWhite);
  s->FillRect(Rect(0, 0, 100, 100));
  s->Brush()->SetColor(clRed);
  s->FillRect(Rect(40, 0, 100, 100));
  panel.DrawZoomFrame();
  EXPECT_EQ(panel.Rec->SurfacePixel(10, 20), clBlack);
  EXPECT_EQ(panel.Rec->SurfacePixel(45, 10), static_cast<TColor>(0xFFFFFF ^ clRed));
  EXPECT_EQ(panel.Rec->SurfacePixel(30, 20), clWhite);  // inside: clear brush
  panel.DrawZoomFrame();
  EXPECT_EQ(panel.Rec->SurfacePixel(10, 20), clWhite);
  EXPECT_EQ(panel.Rec->SurfacePixel(45, 10), clRed);
}

TEST(PanelZoom, RevertZoomFiresTheEvent) {
  TTestPanel panel;
  int undone = 0;
  panel.OnUndoZoom = [&](TObject* sender) {
    EXPECT_EQ(sender, &panel);
    ++undone;
  };
  panel.ZoomedIn = true;
  panel.Rec->Clear();
  panel.RevertZoom();
  EXPECT_EQ(undone, 1);
  EXPECT_FALSE(panel.ZoomedIn);
  EXPECT_EQ(panel.Rec->Count("MarkDirty"), 1);
}

TEST(PanelZoom, DragState) {
  TZoomPanning z;
  z.StartAt(50, 60);
  EXPECT_TRUE(z.Active);
  z.EndX = 10;
  z.EndY = 70;
  z.Normalize();
  EXPECT_EQ(z.StartX, 10);
  EXPECT_EQ(z.EndX, 50);
  EXPECT_EQ(z.StartY, 60);
  EXPECT_EQ(z.EndY, 70);
}

TEST(ExtendedPanel, AssignCopiesImageGradientPanningAndZoom) {
  TTestPanel a, b;
  SetImage(a, 3, 2, pbmCenter);
  a.Gradient()->SetVisible(true);
  a.Gradient()->SetStartColor(clRed);
  a.SetAllowPanning(pmVertical);
  a.Zoom()->SetAllow(false);
  a.SetMarginTop(9);
  b.Assign(&a);
  ASSERT_TRUE(b.BackImageAssigned());
  EXPECT_EQ(b.BackImage()->Width(), 3);
  EXPECT_EQ(b.BackImageMode(), pbmCenter);
  EXPECT_TRUE(b.Gradient()->Visible());
  EXPECT_EQ(b.Gradient()->StartColor(), clRed);
  EXPECT_EQ(b.AllowPanning(), pmVertical);
  EXPECT_FALSE(b.Zoom()->Allow());
  EXPECT_EQ(b.MarginTop(), 9);
  TTestPanel c;
  c.Assign(&b);
  b.SetBackImage(nullptr);
  b.SetGradient(nullptr);
  c.Assign(&b);
  EXPECT_FALSE(c.HasBackImage());
  EXPECT_FALSE(c.HasGradient());
}

}  // namespace
