// The Bezier series: a line series whose points are the end and control
// points of a chain of Bezier curves.
#pragma once

#include <string>
#include <vector>

#include "chart/series/series.h"

enum TBezierStyle { bsWindows, bsBezier3, bsBezier4 };
const TEnumInfo& BezierStyleEnumInfo();

class TBezierSeries : public TCustomSeries {
  ZV_CLASS(TBezierSeries)
public:
  explicit TBezierSeries(TComponent* AOwner = nullptr);

  void Assign(TPersistent* Source) override;
  void DrawVisiblePoints() override;
  void SetSeriesColor(TColor Value) override;
  void SetupGalleryPreview(bool Enabled) override;

  TBezierStyle BezierStyle() const { return FBezierStyle; }
  void SetBezierStyle(TBezierStyle Value);
  int NumBezierPoints() const { return FNumBezierPoints; }
  // Below 2 raises ChartException and keeps the old value.
  void SetNumBezierPoints(int Value);

  // The straight pieces of one quadratic (Kind 3) or cubic (Kind 4) segment
  // ending at point End of the screen points; empty when End is beyond them.
  std::vector<TPoint> CurveSegment(const std::vector<TPoint>& Points, int Kind, int End) const;

private:
  void DrawSegment(const std::vector<TPoint>& Points, int Kind, int End);
  TBezierStyle FBezierStyle = bsWindows;
  int FNumBezierPoints = 32;
};
