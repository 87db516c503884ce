// The shape series: one geometric shape with optional lines of text, placed
// by two corners given in axis units, in pixels, or as an axis origin plus a
// size in pixels.
#pragma once

#include <memory>
#include <string>

#include "chart/core/grengine.h"
#include "platform/rtl/stringlist.h"

enum TChartShapeStyle {
  chasRectangle, chasCircle, chasVertLine, chasHorizLine, chasTriangle, chasInvertTriangle, chasLine, chasDiamond,
  chasCube, chasCross, chasDiagCross, chasStar, chasPyramid, chasInvertPyramid
};
enum TChartShapeXYStyle { xysPixels, xysAxis, xysAxisOrigin };
enum TGrafVertAlign { vaTop, vaCenter, vaBottom };
const TEnumInfo& ChartShapeStyleEnumInfo();
const TEnumInfo& ChartShapeXYStyleEnumInfo();
const TEnumInfo& GrafVertAlignEnumInfo();

class TChartShape : public TChartSeries {
  ZV_CLASS(TChartShape)
public:
  explicit TChartShape(TComponent* AOwner = nullptr);
  ~TChartShape() override;

  void Assign(TPersistent* Source) override;
  std::string EditorFormClassName() const override { return "TChartShapeEditor"; }
  void AssignZOrder() override;
  void EnumGalleryStyles(const std::function<void(const std::string&)>& Proc) override;
  void PaintLegendSymbol(int Row, const TRect& R) override;
  void DrawPoint(int Index) override;
  bool SharesZOrder() override { return false; }
  void SetSeriesColor(TColor Value) override;
  void ApplyGalleryStyle(TChartSeries* Series, int Index) override;
  int IndexAtPoint(int X, int Y) override;
  bool HasAxes() override { return FXYStyle != xysPixels; }
  // The corner rectangle as given (not normalised).
  virtual TRect ShapeBounds();
  virtual void SetText(TStringList* Value);
  void GenerateRandomPoints(int Count, bool MainValuesOnly) override;
  void SetupGalleryPreview(bool Enabled) override;
  bool AcceptsSeriesAsSource(TChartSeries* Series) override;
  // The series' stored style flags share the name "Style" with the
  // shape's style: a stored identifier is the shape's, a number the flags.
  void DefineProperties(TFiler* Filer) override;

  // ---- Properties ----
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TGrafFont* Font() const { return FFont.get(); }
  void SetFont(TGrafFont* Value) { FFont->Assign(Value); }
  TGrafGradient* Gradient() const { return FGradient.get(); }
  void SetGradient(TGrafGradient* Value) { FGradient->Assign(Value); }
  bool RoundRectangle() const { return FRoundRectangle; }
  void SetRoundRectangle(bool Value) { ChangeBool(FRoundRectangle, Value); }
  TChartShapeStyle Style() const { return FStyle; }
  void SetStyle(TChartShapeStyle Value);
  TStringList* Text() const { return FText.get(); }
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value) { ChangeBool(FTransparent, Value); }
  TGrafVertAlign VertAlign() const { return FVertAlign; }
  void SetVertAlign(TGrafVertAlign Value);
  TChartShapeXYStyle XYStyle() const { return FXYStyle; }
  void SetXYStyle(TChartShapeXYStyle Value);
  double X0() const { return Corner(0, true); }
  void SetX0(double Value) { SetCorner(0, true, Value); }
  double Y0() const { return Corner(0, false); }
  void SetY0(double Value) { SetCorner(0, false, Value); }
  double X1() const { return Corner(1, true); }
  void SetX1(double Value) { SetCorner(1, true, Value); }
  double Y1() const { return Corner(1, false); }
  void SetY1(double Value) { SetCorner(1, false, Value); }

  // ShapeBounds with Left <= Right and Top <= Bottom, at least one pixel.
  TRect NormalizedBounds();
  // Draws the shape (and its text) in a rectangle.
  void DrawShape(bool Is3D, const TRect& Bounds, bool WithText);

private:
  double Corner(int Point, bool X) const;
  void SetCorner(int Point, bool X, double Value);
  void DrawText(bool Is3D, const TRect& Bounds);

  TAlignment FAlignment = taCenter;
  std::unique_ptr<TGrafFont> FFont;
  std::unique_ptr<TGrafGradient> FGradient;
  bool FRoundRectangle = false;
  TChartShapeStyle FStyle = chasCircle;
  std::unique_ptr<TStringList> FText;
  bool FTransparent = false;
  TGrafVertAlign FVertAlign = vaCenter;
  TChartShapeXYStyle FXYStyle = xysAxis;
};
