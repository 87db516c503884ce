// Line-point and bar-join series, the picture series (image bar, image
// point, delta point, with the program's own pictures) and the bar 3D series.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "chart/extra/bar3d.h"
#include "chart/extra/imagebar.h"
#include "chart/extra/imapoint.h"
#include "chart/extra/mypoint.h"
#include "extratest.h"
#include "platform/gfx/resources.h"

// ---- Line-point --------------------------------------------------------------------------------

TEST(LinePointSeries, DropLinesRunToTheAxesWhereverTheyAre) {
  for (bool inverted : {false, true}) {
    TExtraScene<TMyPointSeries> s;
    s.series->AddXYPoint(2, 3);
    s.series->AddXYPoint(4, 8);
    s.chart.BottomAxis()->SetInverted(inverted);
    s.chart.LeftAxis()->SetInverted(inverted);
    s.chart.Pass();
    const auto drops = CallsInPen(s.chart.Rec, "PolylineWithZ", clRed);
    ASSERT_EQ(drops.size(), 2u);
    const auto& p = drops[inverted ? 0 : 1].Points;  // inverted axes draw the points backwards
    ASSERT_EQ(p.size(), 3u);
    EXPECT_EQ(p[0], Point(s.chart.LeftAxis()->AxisLinePos, s.series->PointYPixel(1))) << inverted;
    EXPECT_EQ(p[1], Point(s.series->PointXPixel(1), s.series->PointYPixel(1)));
    EXPECT_EQ(p[2], Point(s.series->PointXPixel(1), s.chart.BottomAxis()->AxisLinePos)) << inverted;
  }
}

// ---- Bar join ----------------------------------------------------------------------------------

TEST(BarJoinSeries, JoinsFacingEdgesOrCentresOfNeighbouringBars) {
  struct Case {
    TBarStyle style;
    bool centres;
  };
  const Case cases[] = {{bsRectangle, false}, {bsPyramid, true}, {bsEllipse, true}, {bsCilinder, false}};
  for (const Case& c : cases) {
    TExtraScene<TBarJoinSeries> s;
    s.series->JoinPen()->SetColor(clFuchsia);
    s.series->SetBarStyle(c.style);
    s.series->AddSingleValue(10);
    s.chart.Pass();
    EXPECT_TRUE(CallsInPen(s.chart.Rec, "LineFromTo", clFuchsia).empty()) << "a single bar";
    s.series->AddSingleValue(20);
    s.chart.Pass();
    const auto joins = CallsInPen(s.chart.Rec, "LineFromTo", clFuchsia);
    ASSERT_EQ(joins.size(), 1u) << c.style;
    const int left0 = s.series->PointXPixel(0), left1 = s.series->PointXPixel(1);
    const int width = s.series->BarWidthPixels + 1;
    if (c.centres) {
      EXPECT_EQ(joins[0].Arg(0), left0 + width / 2) << c.style;
      EXPECT_EQ(joins[0].Arg(2), left1 + width / 2) << c.style;
    } else {
      EXPECT_EQ(joins[0].Arg(0), left0 + width) << c.style;
      EXPECT_EQ(joins[0].Arg(2), left1) << c.style;
    }
    EXPECT_EQ(joins[0].Arg(1), s.series->PointYPixel(0));
    EXPECT_EQ(joins[0].Arg(3), s.series->PointYPixel(1));
  }
}

// ---- The program's pictures --------------------------------------------------------------------

TEST(SeriesPictures, TheProgramHasEachPictureInItsSize) {
  struct Case {
    const char* name;
    int width, height;
  };
  const Case cases[] = {{"GrafMoney", 100, 88},        {"GrafDefaultImage", 8, 8}, {"GrafEqualSmile", 16, 16},
                        {"GrafGreaterSmile", 16, 16},  {"GrafLowerSmile", 16, 16}, {"GrafEqualHand", 16, 16},
                        {"GrafGreaterHand", 16, 16},   {"GrafLowerHand", 16, 16}};
  for (const Case& c : cases) {
    std::unique_ptr<TBitmap> b = LoadResourceBitmap(c.name);
    ASSERT_TRUE(b) << c.name;
    EXPECT_EQ(b->Width(), c.width) << c.name;
    EXPECT_EQ(b->Height(), c.height) << c.name;
    EXPECT_EQ(b->Canvas()->Pixels(0, c.height - 1), clWhite) << c.name << ": keyed out by its corner";
  }
  EXPECT_FALSE(LoadResourceBitmap("GrafNoSuchPicture"));
  TPicture p;
  EXPECT_FALSE(LoadPictureResource(&p, "GrafNoSuchPicture"));
  EXPECT_FALSE(p.Graphic());
}

// ---- Image bar ---------------------------------------------------------------------------------

TEST(ImageBarSeries, TilesRepeatThePictureAcrossAndAlongTheBar) {
  TExtraScene<TImageBarSeries> s;
  ASSERT_EQ(s.series->Image()->Width(), 100) << "the banknote by default";
  TBitmap tile(10, 10);
  TPicture picture;
  picture.SetGraphic(&tile);
  s.series->SetImage(&picture);
  s.series->SetImageTiled(true);
  s.series->Pen()->SetVisible(false);
  s.series->SetBarWidthPercent(100);
  s.series->SetCustomBarWidth(25);
  s.chart.LeftAxis()->SetRange(0, 100);
  s.series->AddSingleValue(100);
  s.chart.Pass();
  const TRect bar = s.series->CurrentBarRect;
  const int w = bar.Right - bar.Left, h = bar.Bottom - bar.Top;
  const int tiles = ((w + 9) / 10) * ((h + 9) / 10);
  EXPECT_EQ(s.chart.Rec->Count("DrawGraphic", 0), tiles);
  const auto clips = s.chart.Rec->CallsOf("ClipToRect", 0);
  ASSERT_EQ(clips.size(), 1u) << "the tiles are clipped to the bar";
  EXPECT_EQ(clips[0].Arg(0), bar.Left);
  s.series->SetImageTiled(false);
  s.chart.Pass();
  EXPECT_EQ(s.chart.Rec->Count("DrawGraphic", 0), 0);
  EXPECT_EQ(s.chart.Rec->Count("StretchDraw", 0), 1);
}

TEST(ImageBarSeries, ThePenMovesThePictureIn) {
  struct Case {
    int pen;
    int inset;
  };
  const Case cases[] = {{1, 1}, {2, 1}, {3, 3}, {4, 3}};
  for (const Case& c : cases) {
    TExtraScene<TImageBarSeries> s;
    s.series->AddSingleValue(10);
    s.series->Pen()->SetWidth(c.pen);
    s.chart.Pass();
    const auto stretch = s.chart.Rec->CallsOf("StretchDraw", 0);
    ASSERT_EQ(stretch.size(), 1u);
    const TRect bar = s.series->CurrentBarRect;
    EXPECT_EQ(stretch[0].Arg(0), bar.Left + c.inset) << c.pen;
    EXPECT_EQ(stretch[0].Arg(1), std::min(bar.Top, bar.Bottom) + c.inset) << c.pen;
  }
}

// ---- Image and delta points --------------------------------------------------------------------

TEST(ImagePointSeries, APictureSizesThePointerAndIsDrawnUnscaled) {
  TExtraScene<TImagePointSeries> s;
  EXPECT_EQ(s.series->Pointer()->HorizSize(), 8) << "the default picture";
  TBitmap big(32, 32);
  TPicture picture;
  picture.SetGraphic(&big);
  s.series->SetImagePoint(&picture);
  EXPECT_EQ(s.series->Pointer()->HorizSize(), 32);
  EXPECT_EQ(s.series->Pointer()->VertSize(), 32);
  s.series->AddXYPoint(1, 1);
  s.series->AddXYPoint(2, 2);
  s.chart.Pass();
  EXPECT_EQ(s.chart.Rec->Count("DrawGraphic", 0), 2);
  EXPECT_EQ(s.chart.Rec->Count("StretchDraw", 0), 0);
  int asked = 0;
  s.series->OnGetImage = [&](TCustomImagePointSeries*, int, TPicture*) { ++asked; };
  s.chart.Pass();
  EXPECT_EQ(asked, 2);
}

TEST(DeltaPointSeries, PicturesShowWhetherTheValueRoseFellOrStayed) {
  TDeltaPointSeries d(nullptr);
  for (double v : {1.0, 2.0, 2.0, 1.0}) d.AddSingleValue(v);
  const TPicture* expected[] = {d.EqualImage(), d.GreaterImage(), d.EqualImage(), d.LowerImage()};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(d.DeltaPicture(i), expected[i]) << i;
  // Smiles and hands are different pictures of the same size.
  TBitmap smile;
  smile.Assign(d.GreaterImage()->Graphic());
  d.SetImageStyle(disHands);
  TBitmap hand;
  hand.Assign(d.GreaterImage()->Graphic());
  ASSERT_EQ(hand.Width(), 16);
  int differing = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) differing += smile.Canvas()->Pixels(x, y) != hand.Canvas()->Pixels(x, y);
  EXPECT_GT(differing, 20);
}

// ---- Bar 3D ------------------------------------------------------------------------------------

TEST(Bar3DSeries, BarsSpanFromTheirOffsetAndTheRangeCoversThem) {
  TExtraScene<TBar3DSeries> s;
  s.series->AddBar3D(0, 5, 10);
  s.series->AddBar3D(1, 3, 2);
  EXPECT_DOUBLE_EQ(s.series->LargestY(), 15);
  EXPECT_DOUBLE_EQ(s.series->SmallestY(), 0) << "positive offsets: the bar series' own minimum";
  s.chart.Pass();
  s.series->ComputeBarRect(0);
  EXPECT_EQ(s.series->CurrentBarRect.Top, s.chart.LeftAxis()->ValueToPixel(15));
  EXPECT_EQ(s.series->CurrentBarRect.Bottom, s.chart.LeftAxis()->ValueToPixel(10));
  s.series->AddBar3D(2, -4, -1);
  EXPECT_DOUBLE_EQ(s.series->SmallestY(), -5);
}
