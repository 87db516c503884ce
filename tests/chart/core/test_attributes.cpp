// Chart pens, brushes, fonts, shadows and gradients as property holders.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "chart/core/grafattrs.h"
#include "platform/ui/classes.h"

namespace {

struct TCounter {
  int Count = 0;
  TNotifyEvent Event() {
    return [this](TObject*) { ++Count; };
  }
};

TEST(ChartPen, DefaultsAndDerivedPens) {
  TChartPen pen;
  EXPECT_TRUE(pen.Visible());
  EXPECT_EQ(pen.EndStyle(), esRound);
  EXPECT_FALSE(pen.SmallDots());
  EXPECT_EQ(pen.SmallSpace(), 0);
  EXPECT_EQ(pen.Color(), clBlack);
  EXPECT_EQ(pen.Width(), 1);

  TCounter counter;
  TChartHiddenPen hidden(counter.Event());
  EXPECT_FALSE(hidden.Visible());
  EXPECT_FALSE(hidden.VisibleDefault);
  EXPECT_EQ(counter.Count, 0);  // construction does not notify

  TDottedGrayPen dotted;
  EXPECT_EQ(dotted.Color(), clGray);
  EXPECT_EQ(dotted.Style(), psDot);
  EXPECT_EQ(TDarkGrayPen().Color(), clGray);
  EXPECT_EQ(TWhitePen().Color(), clWhite);
}

TEST(ChartPen, SettersNotifyOnlyOnRealChanges) {
  TCounter counter;
  TChartPen pen(counter.Event());
  struct TCase {
    const char* Name;
    std::function<void()> Same, Changed;
  };
  const TCase cases[] = {
      {"EndStyle", [&] { pen.SetEndStyle(pen.EndStyle()); }, [&] { pen.SetEndStyle(esFlat); }},
      {"SmallDots", [&] { pen.SetSmallDots(pen.SmallDots()); }, [&] { pen.SetSmallDots(true); }},
      {"SmallSpace", [&] { pen.SetSmallSpace(pen.SmallSpace()); }, [&] { pen.SetSmallSpace(3); }},
      {"Visible", [&] { pen.SetVisible(pen.Visible()); }, [&] { pen.SwitchOff(); }},
      {"Color", [&] { pen.SetColor(pen.Color()); }, [&] { pen.SetColor(clRed); }},
  };
  for (const TCase& c : cases) {
    counter.Count = 0;
    c.Same();
    EXPECT_EQ(counter.Count, 0) << c.Name;
    c.Changed();
    EXPECT_EQ(counter.Count, 1) << c.Name;
  }
}

TEST(ChartPen, AssignCopiesTheExtrasFromChartPensOnly) {
  TChartPen a, b;
  a.SetVisible(false);
  a.SetSmallDots(true);
  a.SetSmallSpace(4);
  a.SetEndStyle(esSquare);
  a.SetColor(clBlue);
  a.SetWidth(3);
  b.Assign(&a);
  EXPECT_FALSE(b.Visible());
  EXPECT_TRUE(b.SmallDots());
  EXPECT_EQ(b.SmallSpace(), 4);
  EXPECT_EQ(b.EndStyle(), esSquare);
  EXPECT_EQ(b.Color(), clBlue);
  EXPECT_EQ(b.Width(), 3);

  TPen plain;
  plain.SetColor(clLime);
  b.Assign(&plain);
  EXPECT_EQ(b.Color(), clLime);
  EXPECT_FALSE(b.Visible());  // a plain pen has no visibility to copy
  TBrush brush;
  EXPECT_THROW(b.Assign(&brush), EConvertError);
}

TEST(ChartPen, StreamsOnlyWhatDiffersFromItsDefaults) {
  TChartHiddenPen pen;
  const TClassInfo* info = GetClassInfo(&pen);
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->Name(), "TChartHiddenPen");
  const TPropInfo* visible = GetPropInfo(&pen, "Visible");
  const TPropInfo* endStyle = GetPropInfo(&pen, "EndStyle");
  ASSERT_TRUE(visible && endStyle);
  EXPECT_TRUE(GetPropInfo(&pen, "Color"));  // the plain pen's properties are inherited
  EXPECT_FALSE(visible->IsStored(&pen));
  pen.SetVisible(true);
  EXPECT_TRUE(visible->IsStored(&pen));
  EXPECT_FALSE(endStyle->IsStored(&pen));
  pen.EndStyleDefault = esFlat;
  EXPECT_TRUE(endStyle->IsStored(&pen));
  SetEnumProp(&pen, "EndStyle", "esFlat");
  EXPECT_EQ(pen.EndStyle(), esFlat);

  TDottedGrayPen dotted;
  EXPECT_TRUE(IsDefaultPropertyValue(&dotted, *GetPropInfo(&dotted, "Color")));
  EXPECT_TRUE(IsDefaultPropertyValue(&dotted, *GetPropInfo(&dotted, "Style")));
}

TEST(ChartBrush, DefaultColourAndLazyPicture) {
  TCounter counter;
  TChartBrush brush(counter.Event());
  EXPECT_EQ(brush.Color(), clDefault);
  EXPECT_FALSE(brush.HasImage());
  TPicture* pic = brush.Image();
  ASSERT_NE(pic, nullptr);
  EXPECT_TRUE(brush.HasImage());
  EXPECT_EQ(counter.Count, 0);
  TBitmap bmp(4, 4);
  pic->SetGraphic(&bmp);  // loading a picture notifies the owner
  EXPECT_EQ(counter.Count, 1);

  TChartBrush copy;
  copy.Assign(&brush);
  ASSERT_TRUE(copy.HasImage());
  EXPECT_EQ(copy.Image()->Width(), 4);
  brush.SetImage(nullptr);
  EXPECT_FALSE(brush.HasImage());
  EXPECT_EQ(counter.Count, 2);
  EXPECT_FALSE(GetPropInfo(&brush, "Image")->IsStored(&brush));
}

TEST(GrafFont, DefaultsAndLazySubObjects) {
  TGrafFont font;
  EXPECT_EQ(font.Name(), "Arial");
  EXPECT_EQ(font.Size(), 8);
  EXPECT_EQ(font.Color(), clBlack);
  EXPECT_EQ(font.Charset(), DEFAULT_CHARSET);
  EXPECT_FALSE(font.HasShadow());
  EXPECT_FALSE(font.HasOutLine());
  EXPECT_FALSE(font.HasGradient());
  EXPECT_FALSE(font.OutLine()->Visible());  // the outline is a hidden pen
  for (const char* name : {"Color", "Height", "Name", "Style", "Shadow", "Gradient"})
    EXPECT_FALSE(GetPropInfo(&font, name)->IsStored(&font)) << name;
  for (const char* name : {"Charset", "InterCharSize"})
    EXPECT_TRUE(IsDefaultPropertyValue(&font, *GetPropInfo(&font, name))) << name;
  font.SetSize(12);
  EXPECT_TRUE(GetPropInfo(&font, "Height")->IsStored(&font));
}

TEST(GrafFont, SubObjectChangesReachTheOwner) {
  TCounter counter;
  TGrafFont font(counter.Event());
  font.Shadow()->SetHorizSize(2);
  font.OutLine()->SetVisible(true);
  font.Gradient()->SetVisible(true);
  font.SetInterCharSize(1);
  font.SetInterCharSize(1);
  EXPECT_EQ(counter.Count, 4);
}

TEST(GrafFont, AssignCopiesOrFreesTheSubObjects) {
  TGrafFont source, target;
  target.Shadow()->SetHorizSize(5);
  target.Gradient()->SetVisible(true);
  source.OutLine()->SetColor(clRed);
  source.SetInterCharSize(3);
  source.SetColor(clNavy);
  target.Assign(&source);
  EXPECT_FALSE(target.HasShadow());  // the source has none: the target's is freed
  EXPECT_FALSE(target.HasGradient());
  ASSERT_TRUE(target.HasOutLine());
  EXPECT_EQ(target.OutLine()->Color(), clRed);
  EXPECT_EQ(target.InterCharSize(), 3);
  EXPECT_EQ(target.Color(), clNavy);

  source.Shadow()->SetVertSize(-2);
  target.Assign(&source);
  ASSERT_TRUE(target.HasShadow());
  EXPECT_EQ(target.Shadow()->VertSize(), -2);
}

TEST(GrafShadow, DefaultsAssignAndErrors) {
  TGrafShadow s;
  EXPECT_EQ(s.Color(), clSilver);
  EXPECT_EQ(s.HorizSize(), 0);
  EXPECT_EQ(s.VertSize(), 0);
  EXPECT_TRUE(s.Smooth());
  EXPECT_EQ(s.Transparency(), 0);
  s.SetHorizSize(-3);
  s.SetVertSize(2);
  EXPECT_EQ(s.LargerSize(), 2);
  s.SetUniformSize(4);
  EXPECT_EQ(s.HorizSize(), 4);
  EXPECT_EQ(s.VertSize(), 4);

  TCounter counter;
  TGrafShadow t(counter.Event());
  s.SetColor(clRed);
  s.SetTransparency(30);
  s.SetSmooth(false);
  t.Assign(&s);
  EXPECT_EQ(t.Color(), clRed);
  EXPECT_EQ(t.Transparency(), 30);
  EXPECT_FALSE(t.Smooth());
  EXPECT_EQ(t.HorizSize(), 4);

  TCustomGrafGradient g;
  EXPECT_THROW(t.Assign(&g), EConvertError);
  EXPECT_THROW(g.Assign(&t), EConvertError);

  // The stored-tests compare with the per-instance defaults.
  TGrafShadow legend;
  legend.SizeDefault = 3;
  legend.SetUniformSize(3);
  EXPECT_FALSE(GetPropInfo(&legend, "HorizSize")->IsStored(&legend));
  EXPECT_FALSE(GetPropInfo(&legend, "Color")->IsStored(&legend));
}

TEST(GrafGradient, MiddleColourSwitchesThreeColoursOnAndOff) {
  TCounter counter;
  TGrafGradient g(counter.Event());
  EXPECT_EQ(g.StartColor(), clWhite);
  EXPECT_EQ(g.EndColor(), clYellow);
  EXPECT_EQ(g.MidColor(), clNone);
  EXPECT_EQ(g.Balance(), 50);
  EXPECT_EQ(g.Direction(), gdTopBottom);
  EXPECT_FALSE(g.Visible());

  g.SetMidColor(clRed);
  EXPECT_TRUE(g.MiddleOn());
  EXPECT_EQ(g.MidColor(), clRed);
  g.SetMidColor(clNone);
  EXPECT_FALSE(g.MiddleOn());
  EXPECT_EQ(g.MidColor(), clNone);  // the old colour is still held but not read
  EXPECT_EQ(counter.Count, 2);
  g.SetMidColor(clNone);
  EXPECT_EQ(counter.Count, 2);
  g.UseMiddleColor();
  EXPECT_EQ(g.MidColor(), clRed);
  EXPECT_EQ(counter.Count, 3);

  TGrafFontGradient f;
  f.SetOutline(true);
  TGrafFontGradient copy;
  g.SetRadialX(4);
  g.SetDirection(gdRadial);
  copy.Assign(&g);
  EXPECT_EQ(copy.RadialX(), 4);
  EXPECT_EQ(copy.Direction(), gdRadial);
  EXPECT_TRUE(copy.MiddleOn());
  copy.Assign(&f);
  EXPECT_TRUE(copy.Outline());
  EXPECT_FALSE(copy.OnChange);
}

TEST(GrafGradient, BalanceCurve) {
  // Balance 100: exponent 2.
  for (int i = 0; i <= 9; ++i) {
    const double s = std::pow((i + 1.0) / 11.0, 2.0);
    const int r = static_cast<int>(std::nearbyint(200 * s));
    EXPECT_EQ(BalanceCurve(clBlack, static_cast<TColor>(RGB(200, 0, 0)), i, 10, 100),
              static_cast<TColor>(RGB(r, 0, 0)))
        << i;
  }
  // Balance 0: exponent 0.5, the end colour dominates.
  EXPECT_EQ(BalanceCurve(clBlack, static_cast<TColor>(RGB(0, 100, 0)), 0, 3, 0),
            static_cast<TColor>(RGB(0, 50, 0)));
}

}  // namespace
