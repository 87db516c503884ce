// Series drawn inside a circle instead of against axes: the circled base
// (circle geometry, angles, background, the chart's 3D view while attached)
// and the pie series (slices, grouping of small slices, several pies on one
// chart, 2D and 3D drawing, marks, hit test).
#pragma once

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "chart/core/chart.h"
#include "chart/core/grengine.h"

class TCircledSeries : public TChartSeries {
  ZV_CLASS(TCircledSeries)
public:
  explicit TCircledSeries(TComponent* AOwner);
  ~TCircledSeries() override;

  void Assign(TPersistent* Source) override;
  void SetActive(bool Value) override;
  void SetParentChart(TCustomAxisPanel* Value) override;
  void BeginDrawValues() override;
  void AdjustLegendCanvas(int Row, TColor& BackColor, TBrushStyle& BrushStyle) override;
  bool IsOnAxis(TChartAxis*) override { return true; }
  bool HasAxes() override { return false; }

  virtual void PaintCircleBackground();
  virtual void AdoptOtherCircle();
  virtual void AdjustChart3D() {}
  virtual void SwitchChart3D(bool Restore);

  bool Circled() const { return FCircled; }
  void SetCircled(bool Value);
  int CustomXRadius() const { return FCustomXRadius; }
  void SetCustomXRadius(int Value);
  int CustomYRadius() const { return FCustomYRadius; }
  void SetCustomYRadius(int Value);
  int RotationAngle() const { return FRotationAngle; }
  void SetRotationAngle(int Value);
  TColor CircleBackColor() const { return FCircleBackColor; }
  void SetCircleBackColor(TColor Value) { ChangeColor(FCircleBackColor, Value); }
  TGrafGradient* CircleGradient() const { return FCircleGradient.get(); }
  void SetCircleGradient(TGrafGradient* Value) { FCircleGradient->Assign(Value); }

  // Angles in radians, counter-clockwise, 0 pointing right, plus the rotation.
  TPoint PointOnCircle(double Angle, double XRadius, double YRadius) const;
  double AngleOfPoint(int X, int Y) const;
  TColor EffectiveBackColor() const;
  bool HasBackColor() const { return FCircleBackColor != clDefault && FCircleBackColor != clNone; }
  void FitRingBounds();
  void ApplyRadii();
  void ReserveMarksRoom();
  void MakeCircular();
  void RestoreChart3D();
  TView3DOptions* SavedView3D() const { return FSavedView3D.get(); }

  TRect RingBounds;
  int RingWidth = 0;
  int RingHeight = 0;
  int RingCenterX = 0;
  int RingCenterY = 0;
  int RadiusX = 0;
  int RadiusY = 0;
  double RotationRadians = 0;

protected:
  void PropagateRadius();

  bool FCircled = false;
  int FCustomXRadius = 0;
  int FCustomYRadius = 0;
  int FRotationAngle = 0;
  TColor FCircleBackColor = clDefault;
  std::unique_ptr<TGrafGradient> FCircleGradient;
  std::unique_ptr<TView3DOptions> FSavedView3D;
};

enum TMultiPie { mpAutomatic, mpDisabled };
const TEnumInfo& MultiPieEnumInfo();
enum TPieOtherStyle { poNone, poBelowPercent, poBelowValue };
const TEnumInfo& PieOtherStyleEnumInfo();

class TPieSeries;

// One integer per point index (explode or height percents).
class TSliceValueList {
public:
  explicit TSliceValueList(TPieSeries* Pie) : FPie(Pie) {}
  int Count() const { return static_cast<int>(FItems.size()); }
  int ItemValue(int Index) const;
  void SetItemValue(int Index, int Value);
  void Delete(int Index);
  void Exchange(int A, int B, int Count);
  void Clear() { FItems.clear(); }
  std::vector<int>& Items() { return FItems; }

private:
  TPieSeries* FPie;
  std::vector<int> FItems;
};

// The grouping of small slices into one "Other" slice.
class TPieOtherSlice : public TPersistent {
  ZV_CLASS(TPieOtherSlice)
public:
  explicit TPieOtherSlice(TPieSeries* Pie = nullptr);
  ~TPieOtherSlice() override;
  void Assign(TPersistent* Source) override;

  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  // Created on first read: hidden, listing the grouped slices.
  TChartLegend* Legend();
  bool HasLegend() const { return FLegend != nullptr; }
  void SetLegend(TChartLegend* Value);
  TPieOtherStyle Style() const { return FStyle; }
  void SetStyle(TPieOtherStyle Value);
  // "Other" while empty.
  std::string GetText() const;
  const std::string& Text() const { return FText; }
  void SetText(const std::string& Value);
  double Value() const { return FValue; }
  void SetValue(double Value);
  void MoveLegendTo(TCustomAxisPanel* Chart);

private:
  void Changed();
  TPieSeries* FPie;
  TColor FColor = clDefault;
  std::unique_ptr<TChartLegend> FLegend;
  TPieOtherStyle FStyle = poNone;
  std::string FText;
  double FValue = 0;
};

class TPieShadow : public TGrafShadow {
  ZV_CLASS(TPieShadow)
public:
  explicit TPieShadow(TNotifyEvent OnChange = {});
};

struct TPieAngle {
  double StartAngle = 0;
  double MidAngle = 0;
  double EndAngle = 0;
};

class TPieSeries : public TCircledSeries {
  ZV_CLASS(TPieSeries)
public:
  static constexpr double OtherSliceX = 2147483647.0;

  explicit TPieSeries(TComponent* AOwner = nullptr);
  ~TPieSeries() override;

  void Assign(TPersistent* Source) override;
  std::string EditorFormClassName() const override { return "TPieSeriesEditor"; }
  void SetParentChart(TCustomAxisPanel* Value) override;
  void PrepareChartDraw() override;
  void FindVisibleRange() override;
  void AssignZOrder() override { AutoZOrder = -1; }
  void EmptyAllLists() override;
  void EnumGalleryStyles(const std::function<void(const std::string&)>& Proc) override;
  void EndDrawValues() override;
  void BeginDrawValues() override;
  void DrawVisiblePoints() override;
  void PaintLegendSymbol(int Row, const TRect& R) override;
  void DrawPointMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) override;
  void DrawPoint(int Index) override;
  bool SharesZOrder() override { return false; }
  void AdjustLegendCanvas(int Row, TColor& BackColor, TBrushStyle& BrushStyle) override;
  void ApplyGalleryStyle(TChartSeries* Series, int Index) override;
  void RemoveAllPoints() override;
  int LegendEntryCount() override;
  void RemovePoint(int Index) override;
  int MapValueIndex(int Row) override;
  double LargestX() override;
  double LargestY() override;
  double SmallestX() override;
  double SmallestY() override;
  int PointXPixel(int Index) override;
  int IndexAtPoint(int X, int Y) override;
  void ApplyGallery3D(bool Value) override;
  void GenerateRandomPoints(int Count, bool MainValuesOnly) override;
  void SetupGalleryPreview(bool Enabled) override;
  void SavePointData(TStream* Stream) override;
  void ResortIfOrdered() override;
  int DefaultSampleCount() override { return 8; }
  void ExchangePoints(int A, int B) override;
  void AdoptOtherCircle() override {}
  void AdjustChart3D() override;
  virtual void PaintSlice(int Index);

  // ---- Properties ----
  int AngleSize() const { return FAngleSize; }
  void SetAngleSize(int Value) { ChangeInteger(FAngleSize, Value); }
  bool AutoMarkPosition() const { return FAutoMarkPosition; }
  void SetAutoMarkPosition(bool Value) { ChangeBool(FAutoMarkPosition, Value); }
  bool Dark3D() const { return FDark3D; }
  void SetDark3D(bool Value) { ChangeBool(FDark3D, Value); }
  int DarkPen() const { return FDarkPen; }
  void SetDarkPen(int Value) { ChangeInteger(FDarkPen, Value); }
  int DonutPercent() const { return FDonutPercent; }
  void SetDonutPercent(int Value) { ChangeInteger(FDonutPercent, Value); }
  int ExplodeBiggest() const { return FExplodeBiggest; }
  void SetExplodeBiggest(int Value);
  TMultiPie MultiPie() const { return FMultiPie; }
  void SetMultiPie(TMultiPie Value);
  TPieOtherSlice* OtherSlice() const { return FOtherSlice.get(); }
  void SetOtherSlice(TPieOtherSlice* Value) { FOtherSlice->Assign(Value); }
  TChartPen* PiePen() const { return Pen(); }
  void SetPiePen(TChartPen* Value) { SetPen(Value); }
  TChartValueList* PieValues() const { return YValues(); }
  TPieShadow* Shadow() const { return FShadow.get(); }
  void SetShadow(TGrafShadow* Value) { FShadow->Assign(Value); }
  bool UsePatterns() const { return FUsePatterns; }
  void SetUsePatterns(bool Value) { ChangeBool(FUsePatterns, Value); }
  TGrafGradient* Gradient() const { return FCircleGradient.get(); }
  void SetGradient(TGrafGradient* Value) { FCircleGradient->Assign(Value); }
  TSliceValueList* ExplodePercents() { return &FExplodePercents; }
  TSliceValueList* RaisePercents() { return &FRaisePercents; }

  // ---- Slices ----
  bool IsGroupedSlice(int Index) const { return XValues()->GetValue(Index) == -1; }
  void RemoveOtherPoint();
  void ComputeSliceArcs();
  void EnsureSliceArcs();
  const std::vector<TPieAngle>& SliceArcs() const { return FSliceArcs; }
  void ExplodeBiggestSlice();
  int CompatibleCount();
  TBrushStyle SliceBrushStyle(int Index);
  TColor SliceColor(int Index);
  void PrepareSlicePen(int Index);
  void ExplodeOffset(int Index, int& DX, int& DY);
  void ExplodedRadii(int Index, int& RX, int& RY);
  int SliceTopDepth(int Index);
  double SliceDepthDistance(int Index);
  int SliceAtPoint(int X, int Y, bool WithExplode);
  // Places the arc start at the end of the slice before Index (the last
  // slice's for 0), so that PaintSlice can draw that slice alone again.
  void StartArcBeforeSlice(int Index);

  bool DrawAllSides = false;
  int ArcStartX = 0;
  int ArcStartY = 0;
  TRect SavedChartRect;
  // The legend being painted, when it is the other slice's.
  TCustomChartLegend* DrawingLegend = nullptr;

protected:
  double AngleSizeRadians() const { return FAngleSize * M_PI / 180.0; }

  int FAngleSize = 360;
  bool FAutoMarkPosition = true;
  bool FDark3D = true;
  int FDarkPen = 0;
  int FDonutPercent = 0;
  int FExplodeBiggest = 0;
  TMultiPie FMultiPie = mpAutomatic;
  std::unique_ptr<TPieOtherSlice> FOtherSlice;
  std::unique_ptr<TPieShadow> FShadow;
  bool FUsePatterns = false;
  TSliceValueList FExplodePercents{this};
  TSliceValueList FRaisePercents{this};
  std::vector<TPieAngle> FSliceArcs;
  bool FChartRectSaved = false;
};
