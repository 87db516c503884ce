// The gauge: one value between a minimum and a maximum shown by a hand that
// turns through a total angle over an arc with ticks and value labels. The
// series' vertical axis lends the dial its increment, tick lengths, pens,
// label switch and font. Without FullRepaint a new value redraws only the
// hand, in an inverting pen mode.
#pragma once

#include <memory>
#include <string>

#include "chart/series/series.h"
#include "chart/series/series_pie.h"

enum THandStyle { hsLine, hsTriangle };
const TEnumInfo& HandStyleEnumInfo();

class TGaugeSeries : public TCircledSeries {
  ZV_CLASS(TGaugeSeries)
public:
  explicit TGaugeSeries(TComponent* AOwner = nullptr);
  ~TGaugeSeries() override;

  std::string EditorFormClassName() const override { return "TGaugeSeriesEditor"; }
  void SetParentChart(TCustomAxisPanel* Value) override;
  void DrawVisiblePoints() override;
  void PointAdded(TChartSeries* Sender, int Index) override;
  double LargestY() override { return FMaximum; }
  double SmallestY() override { return FMinimum; }
  int IndexAtPoint(int X, int Y) override;
  void ApplyGallery3D(bool Value) override;
  void GenerateRandomPoints(int Count, bool MainValuesOnly) override;
  int DefaultSampleCount() override { return 1; }
  void SetupGalleryPreview(bool Enabled) override;

  // ---- Properties ----
  TSeriesPointer* Center() const { return FCenter.get(); }
  void SetCenter(TSeriesPointer* Value) { FCenter->Assign(Value); }
  TSeriesPointer* EndPoint() const { return FEndPoint.get(); }
  void SetEndPoint(TSeriesPointer* Value) { FEndPoint->Assign(Value); }
  bool FullRepaint() const { return FFullRepaint; }
  void SetFullRepaint(bool Value) { ChangeBool(FFullRepaint, Value); }
  double Maximum() const { return FMaximum; }
  void SetMaximum(double Value);
  double Minimum() const { return FMinimum; }
  void SetMinimum(double Value);
  int MinorTickDistance() const { return FMinorTickDistance; }
  void SetMinorTickDistance(int Value) { ChangeInteger(FMinorTickDistance, Value); }
  int HandDistance() const { return FHandDistance; }
  void SetHandDistance(int Value) { ChangeInteger(FHandDistance, Value); }
  THandStyle HandStyle() const { return FHandStyle; }
  void SetHandStyle(THandStyle Value);
  bool LabelsInside() const { return FLabelsInside; }
  void SetLabelsInside(bool Value) { ChangeBool(FLabelsInside, Value); }
  double TotalAngle() const { return FTotalAngle; }
  void SetTotalAngle(double Value) { ChangeDouble(FTotalAngle, Value); }
  // The main value of point 0 (added again when the series was emptied).
  double Value();
  void SetValue(double Value);
  TNotifyEvent OnChange;

  // ---- Geometry ----
  // The angle in degrees of a value on the dial.
  double ValueAngle(double Value) const;
  // (C.x - round(cos t * rx), C.y - round(sin t * ry)) for t in radians.
  TPoint DialPoint(double Angle, double RX, double RY) const;
  // The hand from its start to its tip, for the current value.
  void HandPoints(TPoint& Start, TPoint& Tip);
  // Draws the hand (inverting unless FullRepaint).
  void DrawHand();

private:
  int MarkerSize(TSeriesPointer* Marker) const;
  void DrawTicksAndLabels(double Increment);
  void DrawMinorTicks(double Increment);
  void DrawAxisArc();

  std::unique_ptr<TSeriesPointer> FCenter;
  std::unique_ptr<TSeriesPointer> FEndPoint;
  bool FFullRepaint = false;
  double FMaximum = 100;
  double FMinimum = 0;
  int FMinorTickDistance = 0;
  int FHandDistance = 30;
  THandStyle FHandStyle = hsLine;
  bool FLabelsInside = true;
  double FTotalAngle = 90;
};
