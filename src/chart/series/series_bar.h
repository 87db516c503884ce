// Bar series: the shared layout of the bar series of a chart (bar widths,
// side-by-side positions, stack groups, stacked starts), and the vertical
// and horizontal bar series that draw the bars in their shapes.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "chart/core/grengine.h"

// How the bar series of one chart share a category.
enum TMultiBar { mbNone, mbSide, mbStacked, mbStacked100, mbSideAll, mbSelfStack };
const TEnumInfo& MultiBarEnumInfo();

enum TBarStyle {
  bsRectangle, bsPyramid, bsInvPyramid, bsCilinder, bsEllipse, bsArrow, bsRectGradient, bsCone, bsBevel,
  bsSlantCube, bsDiamond, bsInvArrow, bsInvCone
};
const TEnumInfo& BarStyleEnumInfo();

class TCustomBarSeries;
using TGetBarStyleEvent = std::function<void(TCustomBarSeries* Sender, int ValueIndex, TBarStyle& TheBarStyle)>;

// The bar fill gradient; Relative scales each bar's end colour by its value.
class TBarSeriesGradient : public TCustomGrafGradient {
  ZV_CLASS(TBarSeriesGradient)
public:
  explicit TBarSeriesGradient(TNotifyEvent OnChange = {});
  void Assign(TPersistent* Source) override;
  bool Relative() const { return FRelative; }
  void SetRelative(bool Value);

private:
  bool FRelative = false;
};

class TCustomBarSeries : public TChartSeries {
  ZV_CLASS(TCustomBarSeries)
public:
  explicit TCustomBarSeries(TComponent* AOwner);
  ~TCustomBarSeries() override;

  // ---- New virtual operations ----
  // Size of a mark across the bar's value direction.
  virtual int MarksLineHeight(int) { return 0; }
  virtual bool BarContainsPoint(int, TPoint) { return false; }
  virtual bool OffersStackStyles() { return true; }
  virtual double StackedStart(int Index, bool All);
  virtual void PaintTickLine(int, TBarStyle) {}

  // ---- Overrides ----
  void Assign(TPersistent* Source) override;
  std::string EditorFormClassName() const override { return "TBarSeriesEditor"; }
  void SetParentChart(TCustomAxisPanel* Value) override;
  void PrepareChartDraw() override;
  void FindVisibleRange() override;
  void AssignZOrder() override;
  void PlaceInDepth() override;
  void EnumGalleryStyles(const std::function<void(const std::string&)>& Proc) override;
  void PaintLegendSymbol(int Row, const TRect& R) override;
  void AdjustLegendCanvas(int Row, TColor& BackColor, TBrushStyle& BrushStyle) override;
  void ApplyGalleryStyle(TChartSeries* Series, int Index) override;
  int IndexAtPoint(int X, int Y) override;
  void SetupGalleryPreview(bool Enabled) override;
  int DefaultSampleCount() override;
  void GenerateRandomPoints(int Count, bool MainValuesOnly) override;

  // ---- Properties ----
  bool AutoBarSize() const { return FAutoBarSize; }
  void SetAutoBarSize(bool Value) { ChangeBool(FAutoBarSize, Value); }
  bool AutoMarkPosition() const { return FAutoMarkPosition; }
  void SetAutoMarkPosition(bool Value) { ChangeBool(FAutoMarkPosition, Value); }
  TBarStyle BarStyle() const { return FBarStyle; }
  void SetBarStyle(TBarStyle Value);
  int BarWidthPercent() const { return FBarWidthPercent; }
  void SetBarWidthPercent(int Value) { ChangeInteger(FBarWidthPercent, Value); }
  int BevelSize() const { return FBevelSize; }
  void SetBevelSize(int Value) { ChangeInteger(FBevelSize, Value); }
  bool Dark3D() const { return FDark3D; }
  void SetDark3D(bool Value) { ChangeBool(FDark3D, Value); }
  int DepthPercent() const { return FDepthPercent; }
  void SetDepthPercent(int Value) { ChangeInteger(FDepthPercent, Value); }
  TBarSeriesGradient* Gradient() const { return FGradient.get(); }
  void SetGradient(TBarSeriesGradient* Value) { FGradient->Assign(Value); }
  TMultiBar MultiBar() const { return FMultiBar; }
  void SetMultiBar(TMultiBar Value);
  int OffsetPercent() const { return FOffsetPercent; }
  void SetOffsetPercent(int Value) { ChangeInteger(FOffsetPercent, Value); }
  bool SideMargins() const { return FSideMargins; }
  void SetSideMargins(bool Value);
  int StackGroup() const { return FStackGroup; }
  void SetStackGroup(int Value) { ChangeInteger(FStackGroup, Value); }
  TChartHiddenPen* TickLines() const { return FTickLines.get(); }
  void SetTickLines(TChartPen* Value) { FTickLines->Assign(Value); }
  bool UseYOrigin() const { return FUseYOrigin; }
  void SetUseYOrigin(bool Value) { ChangeBool(FUseYOrigin, Value); }
  double YOrigin() const { return FYOrigin; }
  void SetYOrigin(double Value) { ChangeDouble(FYOrigin, Value); }
  TChartBrush* BarBrush() const { return Brush(); }
  void SetBarBrush(TChartBrush* Value) { Brush()->Assign(Value); }
  TChartPen* BarPen() const { return Pen(); }
  void SetBarPen(TChartPen* Value) { SetPen(Value); }
  int CustomBarWidth() const { return FCustomBarSize; }
  void SetCustomBarWidth(int Value) { ChangeInteger(FCustomBarSize, Value); }
  int Transparency() const { return FTransparency; }
  void SetTransparency(int Value) { ChangeInteger(FTransparency, Value); }
  int ConeTopPercent() const { return 0; }
  TGetBarStyleEvent OnGetBarStyle;

  // ---- Layout ----
  // MultiBar and SideMargins from the first compatible series, or (ToAll) to all of them.
  void SyncMultiBar(bool ToAll);
  void ComputeBarWidth();
  int GroupMargin() const;
  void WidenCategoryMargins(int& A, int& B);
  int ApplyOffset(int Position) const;
  double StackGroupSum(int Index, bool All);
  // False for a 100 % stack whose category adds up to 0: such a bar is not drawn.
  bool HasStackTotal(int Index);
  int BarStartPixel(int Index, int DefaultPixel);
  double StackedLargest(double Value);
  double StackedSmallest(double Value);
  TBarStyle BarStyleAt(int Index);
  // The value end of a bar along the value axis.
  int BarValuePixel(int Index);

  // ---- Drawing ----
  void PrepareBarCanvas(TColor Color);
  void PaintBarRect(int Left, int Top, int Right, int Bottom);
  void SetGradientColors(int Index);
  void PaintGradientBar(int Index, const TRect& R);
  void PaintBevel();
  std::unique_ptr<TGrafBlend> BeginBarBlending();
  void PaintTickLines(int From, int To, TBarStyle Style);
  int MarksExtent(int Index);

  int SideBySideCount = 0;
  int SlotPointCount = 0;
  int SidePosition = 1;
  int PointsBefore = 0;
  int BarWidthPixels = 0;
  TRect CurrentBarRect;
  TColor CurrentBarColor = clDefault;

protected:
  bool IsStacking() const { return FMultiBar == mbStacked || FMultiBar == mbStacked100; }
  // The axis the categories run along.
  TChartAxis* CategoryAxis() const { return FVertical ? FHorizAxisInUse : FVertAxisInUse; }
  int CategoryPixelOf(double Value) { return FVertical ? HorizPixelOf(Value) : VertPixelOf(Value); }
  // Left (top) edge of a bar along the category axis.
  int CategoryEdgePixel(int Index);
  double CategoryValueAt(int Index) { return FOtherList->GetValue(Index); }
  int ListIndexOfSeries() const;
  double CategoryLargest(double Base);
  double CategorySmallest(double Base);
  // Draws one point: colour, rectangle, blending, shape.
  void DrawBar(int Index);
  virtual void ComputeBarRect(int Index) = 0;
  virtual void PaintShape(int Index, int A, int B) = 0;

  bool FAutoBarSize = false;
  bool FAutoMarkPosition = true;
  TBarStyle FBarStyle = bsRectangle;
  int FBarWidthPercent = 70;
  int FBevelSize = 1;
  bool FDark3D = true;
  int FDepthPercent = 100;
  std::unique_ptr<TBarSeriesGradient> FGradient;
  TMultiBar FMultiBar = mbSide;
  int FOffsetPercent = 0;
  bool FSideMargins = true;
  int FStackGroup = 0;
  std::unique_ptr<TChartHiddenPen> FTickLines;
  bool FUseYOrigin = true;
  double FYOrigin = 0;
  int FCustomBarSize = 0;
  int FTransparency = 0;
};

class TBarSeries : public TCustomBarSeries {
  ZV_CLASS(TBarSeries)
public:
  explicit TBarSeries(TComponent* AOwner = nullptr);
  void GetHorizMargins(int& Left, int& Right) override;
  void GetVertMargins(int& Top, int& Bottom) override;
  void DrawPointMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) override;
  void DrawPoint(int Index) override { DrawBar(Index); }
  bool SharesZOrder() override;
  double LargestX() override { return CategoryLargest(TChartSeries::LargestX()); }
  double LargestY() override { return StackedLargest(TChartSeries::LargestY()); }
  double SmallestX() override { return CategorySmallest(TChartSeries::SmallestX()); }
  double SmallestY() override { return StackedSmallest(TChartSeries::SmallestY()); }
  int PointXPixel(int Index) override { return CategoryEdgePixel(Index); }
  int PointYPixel(int Index) override { return BarValuePixel(Index); }
  bool DrawForwardAt(int Index) override;
  int MarksLineHeight(int Index) override;
  bool BarContainsPoint(int Index, TPoint P) override;
  void PaintTickLine(int Y, TBarStyle Style) override;
  virtual void PaintBarShape(int Index, int Top, int Bottom);
  int BarStartPixel(int Index);
  void ComputeBarRect(int Index) override;

protected:
  void PaintShape(int Index, int A, int B) override { PaintBarShape(Index, A, B); }
};

class THorizBarSeries : public TCustomBarSeries {
  ZV_CLASS(THorizBarSeries)
public:
  explicit THorizBarSeries(TComponent* AOwner = nullptr);
  void GetHorizMargins(int& Left, int& Right) override;
  void GetVertMargins(int& Top, int& Bottom) override;
  void DrawPointMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) override;
  void DrawPoint(int Index) override { DrawBar(Index); }
  double LargestX() override { return StackedLargest(TChartSeries::LargestX()); }
  double LargestY() override { return CategoryLargest(TChartSeries::LargestY()); }
  double SmallestX() override { return StackedSmallest(TChartSeries::SmallestX()); }
  double SmallestY() override { return CategorySmallest(TChartSeries::SmallestY()); }
  int PointXPixel(int Index) override { return BarValuePixel(Index); }
  int PointYPixel(int Index) override { return CategoryEdgePixel(Index); }
  bool DrawForwardAt(int Index) override;
  int MarksLineHeight(int Index) override;
  bool BarContainsPoint(int Index, TPoint P) override;
  void PaintTickLine(int X, TBarStyle Style) override;
  virtual void PaintBarShape(int Index, int Left, int Right);
  int BarStartPixel(int Index);
  int CustomBarHeight() const { return FCustomBarSize; }
  void SetCustomBarHeight(int Value) { ChangeInteger(FCustomBarSize, Value); }
  void ComputeBarRect(int Index) override;

protected:
  void PaintShape(int Index, int A, int B) override { PaintBarShape(Index, A, B); }
};
