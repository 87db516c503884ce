// Paint box, shape, image and bevel: what they paint on their parent.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gfx/bitmap.h"
#include "platform/rtl/exceptions.h"
#include "platform/ui/forms.h"
#include "platform/ui/graphicctrls.h"
#include "support/gui/guitest.h"

using namespace guitest;

namespace {

TColor AsRGB(TColor c) { return static_cast<TColor>(ColorToRGB(c)); }

struct Probe {
  int x, y;
  TColor color;  // as RGB
};

// A white form for the controls to paint on.
struct PaintForm : ::testing::Test {
  TForm form{nullptr};
  PaintForm() {
    form.SetColor(clWhite);
    form.SetClientWidth(200);
    form.SetClientHeight(150);
    form.Show();
  }
  void Expect(TControl* c, const std::vector<Probe>& probes, const std::string& what) {
    for (const Probe& p : probes)
      EXPECT_EQ(SurfacePixel(c, p.x, p.y), p.color) << what << " at " << p.x << "," << p.y;
  }
};

TEST_F(PaintForm, APaintBoxPaintsThroughOnPaintWithItsFontAndColourReady) {
  auto* box = new TPaintBox(&form);
  box->SetParent(&form);
  box->SetBounds(20, 10, 40, 30);
  box->SetColor(clRed);
  box->Font()->SetColor(clBlue);
  int paints = 0, clicks = 0;
  box->OnPaint = [&](TObject*) {
    ++paints;
    TCanvas* c = box->Canvas();
    EXPECT_EQ(c->Brush()->Color(), clRed);
    EXPECT_EQ(c->Font()->Color(), clBlue);
    c->FillRect(Rect(0, 0, 20, box->Height()));  // only the left half
  };
  box->OnClick = [&](TObject*) { ++clicks; };
  Expect(box, {{0, 0, AsRGB(clRed)}, {19, 29, AsRGB(clRed)}, {20, 5, clWhite}, {-1, 5, clWhite}},
         "paint box");
  EXPECT_GE(paints, 1);
  Click(box, 5, 5);
  EXPECT_EQ(clicks, 1);
}

TEST_F(PaintForm, AShapeKeepsItsPenInsideAndCentresTheSquareKinds) {
  auto* shape = new TShape(&form);
  shape->SetParent(&form);
  shape->SetBounds(10, 10, 60, 30);
  shape->Brush()->SetColor(clYellow);
  shape->Pen()->SetColor(clBlue);
  shape->Pen()->SetWidth(3);
  const TColor yellow = AsRGB(clYellow), blue = AsRGB(clBlue);
  struct Case {
    TShapeType type;
    std::vector<Probe> probes;
  };
  const std::vector<Case> cases{
      // The three-pixel pen covers columns 0-2 and 57-59.
      {stRectangle, {{0, 15, blue}, {2, 15, blue}, {3, 15, yellow}, {57, 15, blue}, {59, 15, blue}, {30, 0, blue}}},
      // A 30 x 30 square centred: columns 15-44.
      {stSquare, {{14, 15, clWhite}, {15, 15, blue}, {18, 15, yellow}, {44, 15, blue}, {45, 15, clWhite}}},
      // The ellipse leaves the corners; its middle is filled.
      {stEllipse, {{1, 1, clWhite}, {58, 28, clWhite}, {30, 15, yellow}, {1, 15, blue}}},
      {stCircle, {{10, 15, clWhite}, {30, 15, yellow}, {16, 15, blue}, {50, 15, clWhite}}},
      {stRoundRect, {{0, 0, clWhite}, {1, 15, blue}, {30, 15, yellow}}},
  };
  for (const Case& c : cases) {
    shape->SetShape(c.type);
    Expect(shape, c.probes, "shape " + std::to_string(c.type));
  }
  // A change of the brush repaints.
  shape->Brush()->SetColor(clLime);
  Expect(shape, {{30, 15, AsRGB(clLime)}}, "after the brush changed");
}

TEST_F(PaintForm, AnImagePlacesItsPictureByStretchCenterAndProportional) {
  auto* image = new TImage(&form);
  image->SetParent(&form);
  image->SetBounds(0, 0, 100, 50);
  TBitmap pic(20, 10);
  pic.Canvas()->Brush()->SetColor(clRed);
  pic.Canvas()->FillRect(Rect(0, 0, 20, 10));
  image->Picture()->SetGraphic(&pic);
  struct Case {
    bool stretch, center, proportional;
    TRect dest;
  };
  for (const Case& c : std::vector<Case>{{false, false, false, Rect(0, 0, 20, 10)},
                                          {false, true, false, Rect(40, 20, 60, 30)},
                                          {true, false, false, Rect(0, 0, 100, 50)},
                                          {true, false, true, Rect(0, 0, 100, 50)},
                                          {false, false, true, Rect(0, 0, 20, 10)}}) {
    image->SetStretch(c.stretch);
    image->SetCenter(c.center);
    image->SetProportional(c.proportional);
    EXPECT_EQ(image->DestRect(), c.dest) << c.stretch << c.center << c.proportional;
  }
  // A picture larger than the control shrinks to fit with Proportional,
  // keeping its aspect.
  TBitmap wide(400, 100);
  image->Picture()->SetGraphic(&wide);
  image->SetStretch(false);
  image->SetCenter(true);
  EXPECT_EQ(image->DestRect(), Rect(0, 12, 100, 37));
  image->SetProportional(false);
  EXPECT_EQ(image->DestRect(), Rect(-150, -25, 250, 75));

  // Stretched proportionally a square fills the height, centred.
  TBitmap square(10, 10);
  square.Canvas()->Brush()->SetColor(clRed);
  square.Canvas()->FillRect(Rect(0, 0, 10, 10));
  image->Picture()->SetGraphic(&square);
  image->SetProportional(true);
  image->SetStretch(true);
  EXPECT_EQ(image->DestRect(), Rect(25, 0, 75, 50));
  const TColor red = AsRGB(clRed);
  Expect(image, {{25, 10, red}, {74, 49, red}, {24, 10, clWhite}, {75, 10, clWhite}}, "stretched square");
}

TEST_F(PaintForm, AnImagesCanvasDrawsIntoItsBitmapAndShows) {
  auto* image = new TImage(&form);
  image->SetParent(&form);
  image->SetBounds(10, 10, 40, 20);
  EXPECT_EQ(SurfacePixel(image, 5, 5), clWhite);
  TCanvas* c = image->Canvas();
  ASSERT_NE(image->Picture()->Graphic(), nullptr);
  EXPECT_EQ(image->Picture()->Width(), 40);
  EXPECT_EQ(image->Picture()->Height(), 20);
  c->Brush()->SetColor(clNavy);
  c->FillRect(Rect(0, 0, 10, 10));
  EXPECT_EQ(SurfacePixel(image, 5, 5), AsRGB(clNavy)) << "the drawing shows without a repaint asked for";
  EXPECT_EQ(image->Picture()->Bitmap()->Canvas()->Pixels(9, 9), AsRGB(clNavy));

  // AutoSize takes the picture's size; a picture that is no bitmap has no canvas.
  TPngImage png;
  png.SetSize(30, 12);
  image->SetAutoSize(true);
  image->Picture()->SetGraphic(&png);
  EXPECT_EQ(image->Width(), 30);
  EXPECT_EQ(image->Height(), 12);
  try {
    image->Canvas();
    FAIL() << "a PNG has no canvas";
  } catch (const EInvalidOperation& e) {
    EXPECT_STREQ(e.what(), "Can only modify an image if it contains a bitmap");
  }
  EXPECT_EQ(image->Picture()->Graphic()->ClassName(), "TPngImage") << "the picture is kept";
}

TEST_F(PaintForm, ABevelDrawsItsEdgesInShadowAndHighlight) {
  auto* bevel = new TBevel(&form);
  bevel->SetParent(&form);
  bevel->SetBounds(10, 10, 40, 20);
  const TColor shadow = AsRGB(clBtnShadow), light = AsRGB(clBtnHighlight);
  struct Case {
    TBevelShape shape;
    TBevelStyle style;
    std::vector<Probe> probes;
  };
  const std::vector<Case> cases{
      {bsBox, bsLowered, {{0, 10, shadow}, {20, 0, shadow}, {39, 10, light}, {20, 19, light}, {20, 10, clWhite}}},
      {bsBox, bsRaised, {{0, 10, light}, {39, 10, shadow}}},
      {bsFrame, bsLowered, {{0, 10, shadow}, {1, 10, light}, {38, 10, shadow}, {39, 10, light}, {20, 10, clWhite}}},
      {bsTopLine, bsLowered, {{20, 0, shadow}, {20, 1, light}, {20, 2, clWhite}, {20, 19, clWhite}}},
      {bsBottomLine, bsLowered, {{20, 18, shadow}, {20, 19, light}, {20, 0, clWhite}}},
      {bsLeftLine, bsRaised, {{0, 10, light}, {1, 10, shadow}, {39, 10, clWhite}}},
      {bsRightLine, bsLowered, {{38, 10, shadow}, {39, 10, light}, {0, 10, clWhite}}},
      {bsSpacer, bsLowered, {{0, 10, clWhite}, {39, 19, clWhite}}},
  };
  for (const Case& c : cases) {
    bevel->SetShape(c.shape);
    bevel->SetStyle(c.style);
    Expect(bevel, c.probes, "bevel " + std::to_string(c.shape) + "/" + std::to_string(c.style));
  }
}

}  // namespace
