// Shapes: fill, frame, shadow, bevel, rotation and blending of a box.
#include <gtest/gtest.h>

#include "chart/core/grafshapes.h"
#include "chart/core/test_panel_support.h"
#include "platform/rtl/streams.h"
#include "platform/ui/streaming.h"

namespace {

class Shapes : public ::testing::Test {
protected:
  void Paint(TGrafCustomShape& shape, const TRect& r, int angle = 0) {
    Panel.Rec->Clear();
    shape.PaintRotated(r, angle, 0);
  }
  TTestPanel Panel;
};

TEST_F(Shapes, Defaults) {
  TGrafShape shape(&Panel);
  EXPECT_EQ(shape.ParentPanel(), &Panel);
  EXPECT_TRUE(shape.Visible());
  EXPECT_EQ(shape.Bevel(), bvNone);
  EXPECT_EQ(shape.BevelWidth(), 2);
  EXPECT_EQ(shape.Color(), clWhite);
  EXPECT_EQ(shape.ShapeStyle(), fosRectangle);
  EXPECT_EQ(shape.TextFormat(), ttfNormal);
  ASSERT_NE(shape.Shadow(), nullptr);
  EXPECT_EQ(shape.Shadow()->Color(), clBlack);
  EXPECT_EQ(shape.Shadow()->HorizSize(), 3);
  EXPECT_EQ(shape.Shadow()->VertSize(), 3);
  EXPECT_EQ(shape.Shadow()->ColorDefault, clBlack);
  EXPECT_EQ(shape.Shadow()->SizeDefault, 3);
  EXPECT_FALSE(shape.HasGradient());
  for (const TPropInfo* p : shape.ClassType()->Properties()) {
    if (p->Kind == tkClass) continue;
    EXPECT_TRUE(!p->IsStored(&shape) || IsDefaultPropertyValue(&shape, *p)) << p->Name;
  }
}

TEST_F(Shapes, UprightRectangleWithShadowFillAndFrame) {
  TGrafShape shape(&Panel);
  shape.Shadow()->SetSmooth(false);
  shape.SetColor(clYellow);
  shape.Pen()->SetColor(clNavy);
  Paint(shape, Rect(10, 20, 60, 50));
  std::vector<std::string> calls;
  for (const std::string& s : IntLog(*Panel.Rec))
    if (s.rfind("Suspend", 0) != 0 && s.rfind("Resume", 0) != 0) calls.push_back(s);
  const std::vector<std::string> expected = {
      "Rectangle(13,50,63,54)",  // shadow below
      "Rectangle(60,23,64,54)",  // shadow to the right
      // the brush: Color fills, the brush colour is the background of patterns
      "SetBackgroundMode(2)", "SetBackgroundColor(536870912)",
      "ApplyPenWithColor(8388608,8388608)", "Rectangle(10,20,60,50)",
  };
  EXPECT_EQ(calls, expected) << Panel.Rec->Dump(0);
  const auto frame = Panel.Rec->CallsOf("Rectangle", 0).back();
  EXPECT_EQ(frame.BrushColor, clYellow);
  EXPECT_EQ(frame.PenColor, clNavy);
}

TEST_F(Shapes, WhatIsNotDrawn) {
  struct Case {
    const char* name;
    std::function<void(TGrafShape&)> setup;
    int rectangles;  // drawing calls of rectangles at any depth
  };
  const Case cases[] = {
      {"transparent: nothing, not even the shadow", [](TGrafShape& s) { s.SetTransparent(true); }, 0},
      {"clear brush: no shadow", [](TGrafShape& s) { s.Brush()->SetStyle(bsClear); }, 1},
      {"no shadow object", [](TGrafShape& s) { s.SetShadow(nullptr); }, 1},
      {"shadow of size 0", [](TGrafShape& s) { s.Shadow()->SetUniformSize(0); }, 1},
      {"plain", [](TGrafShape& s) { s.Shadow()->SetSmooth(false); }, 3},
  };
  for (const Case& c : cases) {
    TGrafShape shape(&Panel);
    c.setup(shape);
    Paint(shape, Rect(10, 20, 60, 50));
    EXPECT_EQ(Panel.Rec->Count("Rectangle", 0), c.rectangles) << c.name << "\n" << Panel.Rec->Dump(0);
  }
}

TEST_F(Shapes, RoundedCornersFrameAndClipTheGradient) {
  TGrafShape shape(&Panel);
  shape.SetShadow(nullptr);
  shape.SetShapeStyle(fosRoundRectangle);
  Paint(shape, Rect(0, 0, 80, 40));
  ASSERT_EQ(Panel.Rec->Count("RoundRect", 0), 1);
  EXPECT_EQ(Panel.Rec->CallsOf("RoundRect", 0)[0].ToString(), "RoundRect(0,0,80,40,16,16)");
  shape.Gradient()->SetVisible(true);
  Paint(shape, Rect(0, 0, 80, 40));
  ASSERT_EQ(Panel.Rec->Count("ClipToRoundRect"), 1);
  EXPECT_EQ(Panel.Rec->CallsOf("ClipToRoundRect")[0].ToString(), "ClipToRoundRect(0,0,80,40,16)");
  const auto outline = Panel.Rec->CallsOf("RoundRect", 0);
  ASSERT_EQ(outline.size(), 1u);
  EXPECT_EQ(outline[0].BrushStyle, bsClear);  // after a gradient the outline only frames
}

TEST_F(Shapes, RotatedCorners) {
  struct Case { TRect r; int angle; std::array<TPoint, 4> corners; };
  const Case cases[] = {
      {{-10, -5, 10, 5}, 0, {{{-10, -5}, {10, -5}, {10, 5}, {-10, 5}}}},
      {{-10, -5, 10, 5}, 90, {{{-5, 10}, {-5, -10}, {5, -10}, {5, 10}}}},
      {{-10, -5, 10, 5}, 180, {{{10, 5}, {-10, 5}, {-10, -5}, {10, -5}}}},
      {{0, 0, 20, 10}, 90, {{{5, 15}, {5, -5}, {15, -5}, {15, 15}}}},
  };
  for (const Case& c : cases) EXPECT_EQ(TGrafCustomShape::RotatedCorners(c.r, c.angle), c.corners) << c.angle;
}

TEST_F(Shapes, RotatedShapesArePolygonsWithoutBevel) {
  TGrafShape shape(&Panel);
  shape.SetBevel(bvRaised);
  Paint(shape, Rect(-10, -5, 10, 5), 90);
  const auto polygons = Panel.Rec->CallsOf("Polygon", 0);
  ASSERT_EQ(polygons.size(), 1u);
  EXPECT_EQ(polygons[0].Points, (std::vector<TPoint>{{-5, 10}, {-5, -10}, {5, -10}, {5, 10}}));
  EXPECT_EQ(Panel.Rec->Count("DrawFrame3D"), 0);
  EXPECT_EQ(Panel.Rec->Count("Rectangle", 0), 0);  // no regular shadow either
  Paint(shape, Rect(0, 0, 40, 20));
  EXPECT_EQ(Panel.Rec->Count("DrawFrame3D"), 1);
  // A gradient fills the rotated quadrilateral.
  shape.Gradient()->SetVisible(true);
  Paint(shape, Rect(-10, -5, 10, 5), 90);
  EXPECT_EQ(Panel.Rec->Count("ClipToPolygon"), 1);
}

TEST_F(Shapes, TransparencyBlendsTheShapeAndItsShadowEachWithItsOwnAmount) {
  TGrafShape shape(&Panel);
  shape.SetTransparency(40);
  shape.Shadow()->SetTransparency(70);
  shape.Shadow()->SetSmooth(false);
  shape.SetColor(clRed);
  shape.Pen()->SetVisible(false);
  Panel.Rec->BindSurface();
  Paint(shape, Rect(20, 20, 80, 60));
  const auto begins = Panel.Rec->CallsOf("BeginBlending", 0);
  ASSERT_GE(begins.size(), 2u);
  EXPECT_EQ(begins[0].Arg(4), 40);
  EXPECT_EQ(begins[1].Arg(4), 70);
  // The transparent shadow's outline lies at the shadow offset.
  const auto outlines = Panel.Rec->CallsOf("Rectangle", 0);
  ASSERT_FALSE(outlines.empty());
  bool offset = false;
  for (const TCanvasCall& c : outlines) offset |= c.ToString() == "Rectangle(23,23,83,63)";
  EXPECT_TRUE(offset) << Panel.Rec->Dump(0);
  // Inside the shape 40 % of the white background shows through the red.
  const TColor inside = Panel.Rec->SurfacePixel(50, 40);
  EXPECT_EQ(GetRValue(inside), 255);
  EXPECT_NEAR(GetGValue(inside), 102, 2);
  EXPECT_NEAR(GetBValue(inside), 102, 2);
}

TEST_F(Shapes, SettersRepaintOnlyOnChange) {
  TGrafShape shape(&Panel);
  struct Case { const char* name; std::function<void()> change; int repaints; };
  const Case cases[] = {
      {"colour", [&] { shape.SetColor(clRed); }, 1},
      {"same colour", [&] { shape.SetColor(clRed); }, 0},
      {"visible", [&] { shape.SetVisible(false); }, 1},
      {"same visible", [&] { shape.SwitchOff(); }, 0},
      {"bevel", [&] { shape.SetBevel(bvLowered); }, 1},
      {"bevel width", [&] { shape.SetBevelWidth(2); }, 0},
      {"style", [&] { shape.SetShapeStyle(fosRoundRectangle); }, 1},
      {"text format", [&] { shape.SetTextFormat(ttfHtml); }, 1},
      {"transparency", [&] { shape.SetTransparency(10); }, 1},
      {"transparent", [&] { shape.SetTransparent(true); }, 1},
      {"pen colour", [&] { shape.Pen()->SetColor(clRed); }, 1},
      {"brush style", [&] { shape.Brush()->SetStyle(bsCross); }, 1},
      {"font size", [&] { shape.Font()->SetSize(20); }, 1},
      {"shadow", [&] { shape.Shadow()->SetColor(clGray); }, 1},
      {"gradient", [&] { shape.Gradient()->SetVisible(true); }, 1},
      {"no gradient", [&] { shape.SetGradient(nullptr); }, 1},
      {"no shadow", [&] { shape.SetShadow(nullptr); }, 1},
  };
  for (const Case& c : cases) {
    Panel.Rec->Clear();
    c.change();
    EXPECT_EQ(Panel.Rec->Count("MarkDirty"), c.repaints) << c.name;
  }
  // Without a panel the values are just stored.
  TGrafShape loose;
  loose.SetColor(clGreen);
  loose.SetVisible(false);
  EXPECT_EQ(loose.Color(), clGreen);
  EXPECT_FALSE(loose.Visible());
}

TEST_F(Shapes, BoundsAndAssign) {
  TGrafShape shape(&Panel);
  shape.ShapeBox = Rect(10, 4, 10, 4);
  EXPECT_EQ(shape.BoundsWidth(), 1);
  EXPECT_EQ(shape.BoundsHeight(), 1);
  shape.SetBoundsWidth(30);
  shape.SetBoundsHeight(5);
  EXPECT_EQ(shape.ShapeBox, Rect(10, 4, 39, 8));

  TGrafCustomShapeBrushPen plain;
  plain.Brush()->SetColor(clLime);
  plain.Pen()->SetWidth(3);
  plain.SetVisible(false);
  shape.SetColor(clAqua);
  shape.Assign(&plain);
  EXPECT_EQ(shape.Brush()->Color(), clLime);
  EXPECT_EQ(shape.Pen()->Width(), 3);
  EXPECT_FALSE(shape.Visible());
  EXPECT_EQ(shape.Color(), clAqua);  // only brush, pen and visibility

  TGrafShape other;
  other.SetColor(clPurple);
  other.SetBevel(bvRaised);
  other.SetShadow(nullptr);
  other.Gradient()->SetStartColor(clRed);
  other.SetTextFormat(ttfHtml);
  other.SetTransparency(25);
  shape.Assign(&other);
  EXPECT_EQ(shape.Color(), clPurple);
  EXPECT_EQ(shape.Bevel(), bvRaised);
  EXPECT_EQ(shape.Shadow(), nullptr);
  ASSERT_TRUE(shape.HasGradient());
  EXPECT_EQ(shape.Gradient()->StartColor(), clRed);
  EXPECT_EQ(shape.TextFormat(), ttfHtml);
  EXPECT_EQ(shape.Transparency(), 25);
  TGrafShape third;
  shape.Assign(&third);
  EXPECT_FALSE(shape.HasGradient());
  ASSERT_NE(shape.Shadow(), nullptr);
  EXPECT_EQ(shape.Shadow()->HorizSize(), 3);
}

// A component that publishes a shape, as titles and legends do.
class TShapeHolder : public TComponent {
  ZV_CLASS(TShapeHolder)
public:
  explicit TShapeHolder(TComponent* owner) : TComponent(owner) {}
  TGrafShape* Shape() { return &FShape; }
  void SetShape(TGrafShape* value) { FShape.Assign(value); }

private:
  TGrafShape FShape;
};
ZV_CLASS_IMPL(TShapeHolder, TComponent)
void TShapeHolder::DeclareProperties(TClassInfo& c) {
  c.Object<TShapeHolder, TGrafShape>("Shape", &TShapeHolder::Shape, &TShapeHolder::SetShape);
}

// Streams from before the shadow became an object stored its colour (a
// colour name or a number) and one size for both directions.
TEST(ShapeStreaming, LegacyShadowPropertiesStillLoad) {
  struct Case { const char* lines; TColor color; int size; };
  const Case cases[] = {
      {"  Shape.ShadowColor = clRed\n  Shape.ShadowSize = 5\n", clRed, 5},
      {"  Shape.ShadowColor = 65280\n", clLime, 3},
      {"  Shape.ShadowSize = -2\n", clBlack, -2},
  };
  for (const Case& c : cases) {
    TStringStream text(std::string("object Holder: TShapeHolder\n") + c.lines + "end\n");
    TMemoryStream binary;
    ObjectTextToBinary(text, binary);
    binary.Seek(0, soBeginning);
    TShapeHolder holder(nullptr);
    ReadComponentFromStream(binary, &holder);
    ASSERT_NE(holder.Shape()->Shadow(), nullptr) << c.lines;
    EXPECT_EQ(holder.Shape()->Shadow()->Color(), c.color) << c.lines;
    EXPECT_EQ(holder.Shape()->Shadow()->HorizSize(), c.size) << c.lines;
    EXPECT_EQ(holder.Shape()->Shadow()->VertSize(), c.size) << c.lines;
  }
}

}  // namespace
