// The standard line family of the chart library: the line and point series
// bases (segments, stairs, 3D ribbons, pointers, stacking, hit tests, legend
// symbols), the area fill, the concrete line, horizontal line, point and
// area series, and the fast line series that draws long curves with as
// little work per point as possible.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/core/grengine.h"

// Stacking of series of one class family on a chart.
enum TCustomSeriesStack { cssNone, cssOverlap, cssStack, cssStack100 };
const TEnumInfo& CustomSeriesStackEnumInfo();

// Stacking of area series, a view of TCustomSeriesStack.
enum TMultiArea { maNone, maStacked, maStacked100 };
const TEnumInfo& MultiAreaEnumInfo();

class TCustomSeries;

using TSeriesClickPointerEvent = std::function<void(TCustomSeries* Sender, int ValueIndex, int X, int Y)>;
using TOnGetPointerStyle = std::function<TSeriesPointerStyle(TChartSeries* Sender, int ValueIndex)>;

// A series whose pen is its line pen.
class TCustomLineSeries : public TChartSeries {
  ZV_CLASS(TCustomLineSeries)
public:
  explicit TCustomLineSeries(TComponent* AOwner);
  TChartPen* LinePen() const { return Pen(); }
  void SetLinePen(TChartPen* Value) { SetPen(Value); }
};

// Points joined by lines (or not), with a pointer at each point and an
// optional area fill below the line.
class TCustomSeries : public TCustomLineSeries {
  ZV_CLASS(TCustomSeries)
public:
  explicit TCustomSeries(TComponent* AOwner);
  ~TCustomSeries() override;

  // ---- New virtual operations, in slot order ----
  // Distance that marks keep from their point (axis margins).
  virtual int MarkOffset();
  virtual bool PointerHit(int Index, int PX, int PY, int X, int Y);
  virtual TGrafGradient* GetGradient() { return FGradient.get(); }
  virtual int GetTransparency() { return FTransparency; }
  virtual void SetTransparency(int Value);
  // Hook before a point's pointer is hit-tested (per-point pointer sizes).
  virtual void PreparePointer(int) {}
  // The pixel where the point's area fill ends.
  virtual int AreaBottomPixel(int Index);
  virtual void PaintPointer(int X, int Y, int Index, TColor Color);

  // ---- Overrides ----
  void Assign(TPersistent* Source) override;
  std::string EditorFormClassName() const override { return "TCustomSeriesEditor"; }
  void SetParentChart(TCustomAxisPanel* Value) override;
  void GetHorizMargins(int& Left, int& Right) override;
  void GetVertMargins(int& Top, int& Bottom) override;
  void AssignZOrder() override;
  void DrawVisiblePoints() override;
  void PaintLegendSymbol(int Row, const TRect& R) override;
  void DrawPointMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) override;
  void DrawPoint(int Index) override;
  double LargestX() override;
  double LargestY() override;
  double SmallestX() override;
  double SmallestY() override;
  int PointXPixel(int Index) override;
  int PointYPixel(int Index) override;
  int IndexAtPoint(int X, int Y) override;

  // ---- Properties ----
  TChartBrush* AreaChartBrush() const { return FAreaBrush.get(); }
  void SetAreaChartBrush(TChartBrush* Value) { FAreaBrush->Assign(Value); }
  TBrushStyle AreaBrush() const { return FAreaBrush->Style(); }
  void SetAreaBrush(TBrushStyle Value) { FAreaBrush->SetStyle(Value); }
  TColor AreaColor() const { return FAreaColor; }
  void SetAreaColor(TColor Value) { ChangeColor(FAreaColor, Value); }
  TChartPen* AreaLinesPen() const { return FAreaLinesPen.get(); }
  void SetAreaLinesPen(TChartPen* Value) { FAreaLinesPen->Assign(Value); }
  bool ClickableLine() const { return FClickableLine; }
  void SetClickableLine(bool Value) { FClickableLine = Value; }
  bool ColorEachLine() const { return FColorEachLine; }
  void SetColorEachLine(bool Value) { ChangeBool(FColorEachLine, Value); }
  bool Dark3D() const { return FDark3D; }
  void SetDark3D(bool Value) { ChangeBool(FDark3D, Value); }
  bool DrawArea() const { return FDrawArea; }
  void SetDrawArea(bool Value) { ChangeBool(FDrawArea, Value); }
  bool DrawLine() const { return FDrawLine; }
  void SetDrawLine(bool Value) { ChangeBool(FDrawLine, Value); }
  bool InvertedStairs() const { return FInvertedStairs; }
  void SetInvertedStairs(bool Value) { ChangeBool(FInvertedStairs, Value); }
  int LineHeight() const { return FLineHeight; }
  void SetLineHeight(int Value) { ChangeInteger(FLineHeight, Value); }
  TBrushStyle LineBrush() const { return Brush()->Style(); }
  void SetLineBrush(TBrushStyle Value) { Brush()->SetStyle(Value); }
  TChartHiddenPen* OutLine() const { return FOutLine.get(); }
  void SetOutLine(TChartPen* Value) { FOutLine->Assign(Value); }
  TSeriesPointer* Pointer() const { return FPointer.get(); }
  void SetPointer(TSeriesPointer* Value) { FPointer->Assign(Value); }
  TGrafShadow* Shadow() const { return FShadow.get(); }
  void SetShadow(TGrafShadow* Value) { FShadow->Assign(Value); }
  TCustomSeriesStack Stacked() const { return FStacked; }
  // Sets every series of the chart of which this one is an instance.
  void SetStacked(TCustomSeriesStack Value);
  bool Stairs() const { return FStairs; }
  void SetStairs(bool Value) { ChangeBool(FStairs, Value); }
  TGrafGradient* Gradient() const { return FGradient.get(); }
  void SetGradient(TGrafGradient* Value) { FGradient->Assign(Value); }
  int Transparency() { return GetTransparency(); }

  TSeriesClickPointerEvent OnClickPointer;
  TOnGetPointerStyle OnGetPointerStyle;

  // ---- Helpers of the drawing ----
  TColor AreaColorFor(TColor Color) const;
  // Sum of the values at Index of the compatible series before this one
  // (with All: of all of them), only those of the sign of this one's value.
  double StackedSumAt(int Index, bool All);
  int StackedPixel(int Index, double Value);
  int InterpolatedYPixel(int PrevIndex, double XValue, int Index);
  void PrepareLinePen(TCanvas3D* Canvas, TColor Color);
  bool SegmentHit(int PX, int PY, int PrevPX, int PrevPY, int X, int Y);

  // Drawing state of the current pass.
  int PrevX = 0;
  int PrevY = 0;
  int PrevBottom = 0;
  int CurBottom = 0;
  TColor PrevColor = clNone;
  double DepthSlope = 1;

protected:
  // The pointer to draw: the OnGetPointerStyle answer, else the pointer's.
  TSeriesPointerStyle PointerStyleAt(int Index);
  void DrawSegment(int Index, int X, int Y, TColor Color, bool Last, bool Pointers);
  void DrawAreaSegment(int X, int Y, TColor FillColor, bool Last);
  void DrawLegendLine(TColor Color, const TRect& R);
  bool DrawPointersOnly();
  void WidenMargins(bool Horizontal, int& A, int& B);
  bool IsStacked() const { return FStacked == cssStack || FStacked == cssStack100; }

  std::unique_ptr<TChartBrush> FAreaBrush;
  TColor FAreaColor = clDefault;
  std::unique_ptr<TChartPen> FAreaLinesPen;
  bool FClickableLine = true;
  bool FColorEachLine = true;
  bool FDark3D = true;
  bool FDrawArea = false;
  bool FDrawLine = false;
  bool FInvertedStairs = false;
  int FLineHeight = 0;
  std::unique_ptr<TChartHiddenPen> FOutLine;
  std::unique_ptr<TSeriesPointer> FPointer;
  std::unique_ptr<TGrafShadow> FShadow;
  TCustomSeriesStack FStacked = cssNone;
  bool FStairs = false;
  int FTransparency = 0;
  std::unique_ptr<TGrafGradient> FGradient;
  int FPrevIndex = -1;
};

class TLineSeries : public TCustomSeries {
  ZV_CLASS(TLineSeries)
public:
  explicit TLineSeries(TComponent* AOwner = nullptr);
  void Assign(TPersistent* Source) override;
  void EnumGalleryStyles(const std::function<void(const std::string&)>& Proc) override;
  void AdjustLegendCanvas(int Row, TColor& BackColor, TBrushStyle& BrushStyle) override;
  void ApplyGalleryStyle(TChartSeries* Series, int Index) override;
};

// A line series with X as the main values, running up the chart.
class THorizLineSeries : public TLineSeries {
  ZV_CLASS(THorizLineSeries)
public:
  explicit THorizLineSeries(TComponent* AOwner = nullptr);
  void DrawPointMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) override;
  int MarkOffset() override;
};

class TPointSeries : public TCustomSeries {
  ZV_CLASS(TPointSeries)
public:
  explicit TPointSeries(TComponent* AOwner = nullptr);
  void Assign(TPersistent* Source) override;
  std::string EditorFormClassName() const override { return "TSeriesPointerEditor"; }
  void EnumGalleryStyles(const std::function<void(const std::string&)>& Proc) override;
  void SetColorEachPoint(bool Value) override;
  void ApplyGalleryStyle(TChartSeries* Series, int Index) override;
  int GetTransparency() override { return FPointer->Transparency(); }
  void SetTransparency(int Value) override { FPointer->SetTransparency(Value); }
  void SetupGalleryPreview(bool Enabled) override;
  // The gallery offers the pointer shapes as sub-styles.
  virtual bool OffersPointerStyles() { return true; }

protected:
  void ApplyPointDefaults();
};

class TAreaSeries : public TCustomSeries {
  ZV_CLASS(TAreaSeries)
public:
  explicit TAreaSeries(TComponent* AOwner = nullptr);
  void Assign(TPersistent* Source) override;
  std::string EditorFormClassName() const override { return "TAreaSeriesEditor"; }
  void EnumGalleryStyles(const std::function<void(const std::string&)>& Proc) override;
  void PaintLegendSymbol(int Row, const TRect& R) override;
  void AdjustLegendCanvas(int Row, TColor& BackColor, TBrushStyle& BrushStyle) override;
  void ApplyGalleryStyle(TChartSeries* Series, int Index) override;
  double LargestX() override;
  double LargestY() override;
  double SmallestX() override;
  double SmallestY() override;
  bool DrawForwardAt(int Index) override;
  int AreaBottomPixel(int Index) override;
  void SetupGalleryPreview(bool Enabled) override;

  TMultiArea MultiArea() const;
  void SetMultiArea(TMultiArea Value);
  bool UseYOrigin() const { return FUseYOrigin; }
  void SetUseYOrigin(bool Value) { ChangeBool(FUseYOrigin, Value); }
  double YOrigin() const { return FYOrigin; }
  void SetYOrigin(double Value) { ChangeDouble(FYOrigin, Value); }

protected:
  bool FUseYOrigin = false;
  double FYOrigin = 0;
};

class THorizAreaSeries : public TAreaSeries {
  ZV_CLASS(THorizAreaSeries)
public:
  explicit THorizAreaSeries(TComponent* AOwner = nullptr);
  void DrawPointMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) override;
  int DefaultSampleCount() override { return 10; }
};

// A polyline through many points: one pen per pass, no pointers or
// per-point colours, points sharing a pixel skipped.
class TFastLineSeries : public TCustomLineSeries {
  ZV_CLASS(TFastLineSeries)
public:
  explicit TFastLineSeries(TComponent* AOwner = nullptr);
  void Assign(TPersistent* Source) override;
  std::string EditorFormClassName() const override { return "TFastLineSeriesEditor"; }
  void SetPen(TChartPen* Value) override;
  void GetHorizMargins(int& Left, int& Right) override;
  void GetVertMargins(int& Top, int& Bottom) override;
  void EnumGalleryStyles(const std::function<void(const std::string&)>& Proc) override;
  void DrawVisiblePoints() override;
  void PaintLegendSymbol(int Row, const TRect& R) override;
  void DrawPointMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) override;
  void DrawPoint(int Index) override;
  void PointAdded(TChartSeries* Sender, int Index) override;
  void AdjustLegendCanvas(int Row, TColor& BackColor, TBrushStyle& BrushStyle) override;
  void SetSeriesColor(TColor Value) override;
  void ApplyGalleryStyle(TChartSeries* Series, int Index) override;
  int IndexAtPoint(int X, int Y) override;

  bool AutoRepaint() const { return FAutoRepaint; }
  void SetAutoRepaint(bool Value) { FAutoRepaint = Value; }
  bool DrawAllPoints() const { return FDrawAllPoints; }
  void SetDrawAllPoints(bool Value) { ChangeBool(FDrawAllPoints, Value); }
  bool IgnoreNulls() const { return FIgnoreNulls; }
  void SetIgnoreNulls(bool Value) { ChangeBool(FIgnoreNulls, Value); }
  bool InvertedStairs() const { return FInvertedStairs; }
  void SetInvertedStairs(bool Value) { ChangeBool(FInvertedStairs, Value); }
  bool Stairs() const { return FStairs; }
  void SetStairs(bool Value) { ChangeBool(FStairs, Value); }

  // The pen of the line on the chart canvas, brush clear, transparent background.
  void PreparePen();

  int PrevX = 0;
  int PrevY = 0;

private:
  void PointPixels(int Index, int& X, int& Y);
  void MovePenTo(int X, int Y);
  void LineTo(int X, int Y);
  // The pass over First..Last when it may draw straight runs of a pixel
  // column as their covering span (same picture, fewer lines).
  void DrawRunsColumnwise(int First, int Last);

  bool FAutoRepaint = true;
  bool FDrawAllPoints = true;
  bool FIgnoreNulls = true;
  bool FInvertedStairs = false;
  bool FStairs = false;
  bool FPass3D = false;
  std::vector<int> FRows;  // pixel rows of one column's points (work space)
};

// Registers the standard series types (line, bar, horizontal bar, area,
// point, pie, fast line, horizontal line and area) for streaming and on the
// gallery's "Standard" page, once.
void RegisterStandardSeries();
void RegisterStandardSeriesClasses();
