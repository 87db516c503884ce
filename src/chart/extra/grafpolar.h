// Series placed by angle and radius around the centre of a circle: the
// shared polar engine (coordinate mapping, the circular grid with circles,
// spokes and angle labels, radius scales, filled sectors, pointers, hit
// test) and the polar, radar and polar bar series.
#pragma once

#include <memory>
#include <string>

#include "chart/series/series.h"
#include "chart/series/series_pie.h"

// The degree sign after angle labels; emptied by UnregisterExtraSeriesTypes.
extern std::string PolarDegreeSymbol;

class TCustomPolarSeries : public TCircledSeries {
  ZV_CLASS(TCustomPolarSeries)
public:
  explicit TCustomPolarSeries(TComponent* AOwner);
  ~TCustomPolarSeries() override;

  // ---- Overrides, in slot order ----
  void Assign(TPersistent* Source) override;
  std::string EditorFormClassName() const override { return "TPolarSeriesEditor"; }
  void SetParentChart(TCustomAxisPanel* Value) override;
  void EnumGalleryStyles(const std::function<void(const std::string&)>& Proc) override;
  void EndDrawValues() override;
  void BeginDrawValues() override;
  void DrawVisiblePoints() override;
  void PaintLegendSymbol(int Row, const TRect& R) override;
  void DrawPointMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) override;
  void DrawPoint(int Index) override;
  void SetSeriesColor(TColor Value) override;
  void ApplyGalleryStyle(TChartSeries* Series, int Index) override;
  int PointXPixel(int Index) override;
  int PointYPixel(int Index) override;
  int IndexAtPoint(int X, int Y) override;
  bool DrawsAscending() override { return true; }
  void PaintCircleBackground() override;
  void GenerateRandomPoints(int Count, bool MainValuesOnly) override;
  void SetupGalleryPreview(bool Enabled) override;

  // ---- New virtual operations ----
  // The text of angle label number LabelIndex at Angle degrees.
  virtual std::string CircleLabelText(int LabelIndex, double Angle);
  // Joins the previous point to this one (at screen position X, Y).
  virtual void DrawPolarSegment(int ValueIndex, int X, int Y);

  // ---- Properties ----
  bool CircleLabels() const { return FCircleLabels; }
  void SetCircleLabels(bool Value) { ChangeBool(FCircleLabels, Value); }
  TGrafFont* CircleLabelsFont() const { return FCircleLabelsFont.get(); }
  void SetCircleLabelsFont(TGrafFont* Value) { FCircleLabelsFont->Assign(Value); }
  bool CircleLabelsInside() const { return FCircleLabelsInside; }
  void SetCircleLabelsInside(bool Value) { ChangeBool(FCircleLabelsInside, Value); }
  bool CircleLabelsRotated() const { return FCircleLabelsRotated; }
  void SetCircleLabelsRotated(bool Value) { ChangeBool(FCircleLabelsRotated, Value); }
  TChartPen* CirclePen() const { return FCirclePen.get(); }
  void SetCirclePen(TChartPen* Value) { FCirclePen->Assign(Value); }
  bool ClockWiseLabels() const { return FClockWiseLabels; }
  void SetClockWiseLabels(bool Value) { ChangeBool(FClockWiseLabels, Value); }
  bool CloseCircle() const { return FCloseCircle; }
  void SetCloseCircle(bool Value) { ChangeBool(FCloseCircle, Value); }
  int LabelsMargin() const { return FLabelsMargin; }
  void SetLabelsMargin(int Value) { ChangeInteger(FLabelsMargin, Value); }
  TSeriesPointer* Pointer() const { return FPointer.get(); }
  void SetPointer(TSeriesPointer* Value) { FPointer->Assign(Value); }
  int Transparency() const { return FTransparency; }
  void SetTransparency(int Value);
  // The horizontal axis' increment (10 without chart or while it is 0).
  double AngleIncrement() const;
  void SetAngleIncrement(double Value);
  // The vertical axis' increment (0 without chart).
  double RadiusIncrement() const;
  void SetRadiusIncrement(double Value);
  TChartValueList* AngleValues() const { return XValues(); }
  void SetAngleValues(TChartValueList* Value) { SetXValues(Value); }
  TChartValueList* RadiusValues() const { return YValues(); }
  void SetRadiusValues(TChartValueList* Value) { SetYValues(Value); }
  TOnGetPointerStyle OnGetPointerStyle;

  // ---- Geometry ----
  // The screen position of a point (centre when its radius cannot be placed).
  TPoint PolarPosition(int Index);
  // A grid circle, or the radar polygon of SpokeCount sides.
  void DrawPolarCircle(int HalfWidth, int HalfHeight, int Z);
  void DrawPolarGrid();
  // Whether no active series of this class family comes before this one.
  bool FirstOfItsClass() const;
  // Whether no series (active or not) of this class family follows this one.
  bool LastOfItsClass() const;
  // The axes drawn behind the series, as the chart's view decides.
  bool AxesBehindSeries() const;

  int SpokeCount = 0;
  TPoint LastPosition;

protected:
  void PrepareLinePen(int Index);
  void FillSector(int Index, TPoint From, TPoint To);
  void DrawAngleLabel(int LabelIndex, double Angle);
  void DrawRadiusScales();
  TSeriesPointerStyle PointerStyleAt(int Index);
  bool SegmentOrSectorHit(TPoint Mouse, TPoint Prev, TPoint Cur) const;

  bool FCircleLabels = false;
  std::unique_ptr<TGrafFont> FCircleLabelsFont;
  bool FCircleLabelsInside = false;
  bool FCircleLabelsRotated = false;
  std::unique_ptr<TChartPen> FCirclePen;
  bool FClockWiseLabels = false;
  bool FCloseCircle = true;
  int FLabelsMargin = 3;
  std::unique_ptr<TSeriesPointer> FPointer;
  int FTransparency = 0;
};

class TPolarSeries : public TCustomPolarSeries {
  ZV_CLASS(TPolarSeries)
public:
  explicit TPolarSeries(TComponent* AOwner = nullptr) : TCustomPolarSeries(AOwner) {}
};

class TPolarBarSeries : public TPolarSeries {
  ZV_CLASS(TPolarBarSeries)
public:
  explicit TPolarBarSeries(TComponent* AOwner = nullptr) : TPolarSeries(AOwner) {}
  void DrawPolarSegment(int ValueIndex, int X, int Y) override;
};

class TRadarSeries : public TCustomPolarSeries {
  ZV_CLASS(TRadarSeries)
public:
  explicit TRadarSeries(TComponent* AOwner = nullptr) : TCustomPolarSeries(AOwner) {}
  void PrepareChartDraw() override;
  double XValueAt(int Index) override;
  std::string CircleLabelText(int LabelIndex, double Angle) override;
  void GenerateRandomPoints(int Count, bool MainValuesOnly) override;
  void SetupGalleryPreview(bool Enabled) override;
  int DefaultSampleCount() override { return 5; }
};
