// Two more 3D series: vectors as 3D lines with optional arrow heads, and
// towers, one 3D block per grid point from an origin height to its value.
#pragma once

#include <functional>
#include <memory>

#include "chart/series/grafsurfa.h"

class TVector3DSeries : public TCustom3DPaletteSeries {
  ZV_CLASS(TVector3DSeries)
public:
  explicit TVector3DSeries(TComponent* AOwner = nullptr);
  ~TVector3DSeries() override;

  void Assign(TPersistent* Source) override;
  std::string EditorFormClassName() const override { return "TVectorSeriesEditor"; }
  void DrawPoint(int Index) override;
  double LargestX() override;
  double LargestY() override;
  double LargestZ() override;
  double SmallestX() override;
  double SmallestY() override;
  double SmallestZ() override;
  void GenerateRandomPoints(int Count, bool MainValuesOnly) override;
  int DefaultSampleCount() override { return 200; }
  bool CanCopyPointsFrom(TChartSeries* Source) override { return dynamic_cast<TVector3DSeries*>(Source); }
  bool AcceptsSeriesAsSource(TChartSeries* Series) override { return dynamic_cast<TVector3DSeries*>(Series); }

  int AddVector(double X0, double Y0, double Z0, double X1, double Y1, double Z1, const std::string& Label = "",
                TColor Color = clDefault);

  TChartValueList* EndXValues() const { return FEndXValues; }
  void SetEndXValues(TChartValueList* Value) { ReplaceValueList(FEndXValues, Value); }
  TChartValueList* EndYValues() const { return FEndYValues; }
  void SetEndYValues(TChartValueList* Value) { ReplaceValueList(FEndYValues, Value); }
  TChartValueList* EndZValues() const { return FEndZValues; }
  void SetEndZValues(TChartValueList* Value) { ReplaceValueList(FEndZValues, Value); }
  int ArrowWidth() const { return FArrowWidth; }
  void SetArrowWidth(int Value) { ChangeInteger(FArrowWidth, Value); }
  int ArrowHeight() const { return FArrowHeight; }
  void SetArrowHeight(int Value) { ChangeInteger(FArrowHeight, Value); }
  TChartHiddenPen* StartArrow() const { return FStartArrow.get(); }
  void SetStartArrow(TChartPen* Value) { FStartArrow->Assign(Value); }
  TChartPen* EndArrow() const { return FEndArrow.get(); }
  void SetEndArrow(TChartPen* Value) { FEndArrow->Assign(Value); }

private:
  void DrawArrowHead(TChartPen* ArrowPen, TColor PointColor, TPoint P, int Z, double S, double K);

  TChartValueList* FEndXValues = nullptr;
  TChartValueList* FEndYValues = nullptr;
  TChartValueList* FEndZValues = nullptr;
  int FArrowWidth = 4;
  int FArrowHeight = 4;
  std::unique_ptr<TChartHiddenPen> FStartArrow;
  std::unique_ptr<TChartPen> FEndArrow;
};

enum TTowerStyle { tsCube, tsRectangle, tsCover, tsCylinder, tsArrow, tsCone, tsPyramid, tsSlantCube };
const TEnumInfo& TowerStyleEnumInfo();

class TTowerSeries : public TCustom3DGridSeries {
  ZV_CLASS(TTowerSeries)
public:
  explicit TTowerSeries(TComponent* AOwner = nullptr);
  ~TTowerSeries() override;

  void Assign(TPersistent* Source) override;
  std::string EditorFormClassName() const override { return "TTowerSeriesEditor"; }
  void EnumGalleryStyles(const std::function<void(const std::string&)>& Proc) override;
  void DrawVisiblePoints() override;
  void DrawPointMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) override;
  void ApplyGalleryStyle(TChartSeries* Series, int Index) override;
  double LargestX() override { return FXValues->MaxValue() + 0.5; }
  double LargestZ() override { return FZValues->MaxValue() + 0.5; }
  double SmallestX() override { return FXValues->MinValue() - 0.5; }
  double SmallestZ() override { return FZValues->MinValue() - 0.5; }
  int IndexAtPoint(int X, int Y) override;
  void SetupGalleryPreview(bool Enabled) override;

  TTowerStyle TowerStyle() const { return FTowerStyle; }
  void SetTowerStyle(TTowerStyle Value);
  int PercentWidth() const { return FPercentWidth; }
  void SetPercentWidth(int Value) { ChangeInteger(FPercentWidth, Value); }
  int PercentDepth() const { return FPercentDepth; }
  void SetPercentDepth(int Value) { ChangeInteger(FPercentDepth, Value); }
  double Origin() const { return FOrigin; }
  void SetOrigin(double Value) { ChangeDouble(FOrigin, Value); }
  bool UseOrigin() const { return FUseOrigin; }
  void SetUseOrigin(bool Value) { ChangeBool(FUseOrigin, Value); }
  bool Dark3D() const { return FDark3D; }
  void SetDark3D(bool Value) { ChangeBool(FDark3D, Value); }
  int Transparency() const { return FTransparency; }
  void SetTransparency(int Value) { ChangeInteger(FTransparency, std::clamp(Value, 0, 100)); }

protected:
  struct TTowerBox {
    int Left = 0, Right = 0, Top = 0, Bottom = 0, Value = 0, OriginY = 0, Front = 0, Back = 0;
  };
  TTowerBox TowerGeometry(int P);
  void DrawTower(int X, int Z);

  TTowerStyle FTowerStyle = tsCube;
  int FPercentWidth = 100;
  int FPercentDepth = 100;
  double FOrigin = 0;
  bool FUseOrigin = false;
  bool FDark3D = true;
  int FTransparency = 0;
  double FHalfWidth = 0.5;
  double FHalfDepth = 0.5;
  std::unique_ptr<TGrafBlend> FBlend;
};
