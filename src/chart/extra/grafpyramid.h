// The pyramid series: the points are the layers of one pyramid, the first at
// the bottom, narrowing linearly to an apex at the series total.
#pragma once

#include <string>

#include "chart/core/grengine.h"

class TPyramidSeries : public TChartSeries {
  ZV_CLASS(TPyramidSeries)
public:
  explicit TPyramidSeries(TComponent* AOwner = nullptr);
  ~TPyramidSeries() override;

  std::string EditorFormClassName() const override { return "TPyramidSeriesEditor"; }
  void GetHorizMargins(int& Left, int& Right) override;
  void DrawPointMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) override;
  void DrawPoint(int Index) override;
  double LargestX() override;
  double SmallestX() override { return LargestX(); }
  double LargestY() override { return YValues()->TotalAbs(); }
  double SmallestY() override { return 0; }
  int IndexAtPoint(int X, int Y) override;
  bool DrawsAscending() override;

  int SizePercent() const { return FSizePercent; }
  void SetSizePercent(int Value) { ChangeInteger(FSizePercent, Value); }

  // One layer: its rectangle (from the bottom of the layer to its top), the
  // half widths and depth insets of its bottom and top. False when the
  // series total is 0 (nothing to draw or hit).
  struct TLayer {
    TRect Rect;
    int BottomHalfWidth = 0;
    int BottomDepthInset = 0;
    int TopHalfWidth = 0;
    int TopHalfDepth = 0;
  };
  bool LayerGeometry(int Index, TLayer& Layer);

private:
  int FSizePercent = 50;
};
