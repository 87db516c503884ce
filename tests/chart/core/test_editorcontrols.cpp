// Editor controls: the colour button and its dialog, the flat combo box.
#include <gtest/gtest.h>

#include "chart/core/grafeditctrls.h"
#include "chart/core/grafshapes.h"
#include "chart/core/recordingcanvas.h"
#include "platform/ui/commondialogs.h"
#include "platform/ui/messages.h"

namespace {

// Answers colour dialogs while it lives.
class TColorAnswer {
public:
  explicit TColorAnswer(std::function<bool(TColorDialog*)> answer)
      : FPrevious(SetCommonDialogHandler([this, answer](TCommonDialog* d) {
          ++Count;
          auto* c = dynamic_cast<TColorDialog*>(d);
          return c && answer(c);
        })) {}
  ~TColorAnswer() { SetCommonDialogHandler(FPrevious); }
  int Count = 0;

private:
  TCommonDialogHandler FPrevious;
};

TEST(ColorDialog, KeepsCustomColoursAndReportsOnlyRealChanges) {
  FreeCustomColorList();
  TColor color = clRed;
  {
    TColorAnswer cancel([](TColorDialog*) { return false; });
    EXPECT_FALSE(EditColorValue(nullptr, color));
  }
  EXPECT_EQ(color, clRed);
  ASSERT_TRUE(CustomColorList);  // created by the first dialog
  {
    TColorAnswer same([](TColorDialog* d) { return d->Color == clRed; });
    EXPECT_FALSE(EditColorValue(nullptr, color));
  }
  {
    TColorAnswer pick([](TColorDialog* d) {
      d->Color = clTeal;
      d->CustomColors()->Clear();
      d->CustomColors()->Add("ColorA=808000");
      return true;
    });
    EXPECT_TRUE(EditColorValue(nullptr, color));
  }
  EXPECT_EQ(color, clTeal);
  EXPECT_EQ(CustomColorList->Count(), 1);
  std::string started;
  {
    TColorAnswer look([&](TColorDialog* d) {
      started = d->CustomColors()->Count() ? d->CustomColors()->Get(0) : "";
      return false;
    });
    EXPECT_EQ(RunColorDialog(nullptr, clBlue), clBlue);
  }
  EXPECT_EQ(started, "ColorA=808000");
  FreeCustomColorList();
}

TEST(ColorButton, EditsTheLinkedPropertyOrItsFallback) {
  TGrafShape shape;
  TButtonColor button(nullptr);
  int clicks = 0;
  button.OnClick = [&](TObject*) { ++clicks; };
  button.LinkProperty(&shape, "Color");
  ASSERT_NE(button.LinkedProperty(), nullptr);
  EXPECT_EQ(button.GetLinkedColor(), clWhite);
  {
    TColorAnswer cancel([](TColorDialog*) { return false; });
    button.Click();
  }
  EXPECT_EQ(clicks, 0);
  {
    TColorAnswer pick([](TColorDialog* d) {
      EXPECT_EQ(d->Color, clWhite);
      d->Color = clNavy;
      return true;
    });
    button.Click();
  }
  EXPECT_EQ(shape.Color(), clNavy);
  EXPECT_EQ(clicks, 1);
  // Without a linked property the fallback colour is edited; a query wins over both.
  TButtonColor loose(nullptr);
  loose.FallbackColor = clLime;
  EXPECT_EQ(loose.GetLinkedColor(), clLime);
  loose.SetLinkedColor(clMaroon);
  EXPECT_EQ(loose.FallbackColor, clMaroon);
  loose.OnGetColor = [] { return clYellow; };
  EXPECT_EQ(loose.GetLinkedColor(), clYellow);
  // System colours are shown as RGB.
  shape.SetColor(clBtnFace);
  EXPECT_EQ(button.GetLinkedColor(), static_cast<TColor>(ColorToRGB(clBtnFace)));
}

TEST(ColorButton, SwatchAtTheRightEnd) {
  TButtonColor button(nullptr);
  EXPECT_EQ(button.Width(), 75);
  EXPECT_EQ(button.Height(), 25);
  EXPECT_EQ(button.SwatchRect(), Rect(56, 7, 69, 19));
  TRecordingCanvas canvas(100, 40);
  struct Case { TColor color; bool enabled; int rectangles; TPenStyle pen; };
  const Case cases[] = {
      {clRed, true, 1, psSolid},
      {clRed, false, 1, psClear},
      {clNone, true, 0, psSolid},  // no colour: nothing is drawn
  };
  for (const Case& c : cases) {
    button.FallbackColor = c.color;
    button.SetEnabled(c.enabled);
    canvas.ResetState();
    canvas.Clear();
    button.DrawSwatch(&canvas);
    const auto rects = canvas.CallsOf("Rectangle", 0);
    ASSERT_EQ(static_cast<int>(rects.size()), c.rectangles);
    if (rects.empty()) continue;
    EXPECT_EQ(rects[0].ToString(), "Rectangle(56,7,69,19)");
    EXPECT_EQ(rects[0].BrushColor, clRed);
    EXPECT_EQ(rects[0].PenStyle, c.pen);
  }
}

TEST(FlatCombo, DefaultsDropDownWidthAndMouseState) {
  TComboFlat combo(nullptr);
  EXPECT_EQ(combo.Height(), 21);
  EXPECT_EQ(combo.ItemHeight(), 13);
  EXPECT_EQ(combo.Style(), csDropDownList);
  EXPECT_EQ(combo.ItemIndex(), -1);
  const TPropInfo* width = GetPropInfo(&combo, "DropDownWidth");
  ASSERT_NE(width, nullptr);
  EXPECT_EQ(combo.DropDownWidth(), combo.Width());
  EXPECT_FALSE(width->IsStored(&combo));
  combo.SetDropDownWidth(combo.Width() + 80);
  EXPECT_EQ(combo.DropDownWidth(), combo.Width() + 80);
  EXPECT_TRUE(width->IsStored(&combo));

  EXPECT_FALSE(combo.Inside());
  combo.Perform(CM_MOUSEENTER, 0, 0);
  EXPECT_TRUE(combo.Inside());
  TBitmap face(combo.Width(), combo.Height());
  face.Canvas()->Pen()->SetColor(clBlack);
  combo.PaintFlatFrame(face.Canvas());  // no flat frame while the mouse is over it
  EXPECT_EQ(static_cast<TColor>(ColorToRGB(face.Canvas()->Pixels(0, 0))), clWhite);
  combo.Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(combo.Inside());
  combo.PaintFlatFrame(face.Canvas());
  EXPECT_EQ(static_cast<TColor>(ColorToRGB(face.Canvas()->Pixels(0, 0))), static_cast<TColor>(ColorToRGB(clBtnFace)));
}

}  // namespace
