// Points drawn as pointers at their X, Y and Z position, optionally linked
// point to point and dropped to the axis by a base line; and the bubble
// variant sized by a radius per point.
#pragma once

#include <functional>
#include <memory>

#include "chart/series/grafsurfa.h"

class TPoint3DSeries;

using TPoint3DClickPointerEvent = std::function<void(TPoint3DSeries* Sender, int ValueIndex, int X, int Y)>;
using TPoint3DGetPointerStyle = std::function<TSeriesPointerStyle(TChartSeries* Sender, int ValueIndex)>;

class TPoint3DSeries : public TCustom3DSeries {
  ZV_CLASS(TPoint3DSeries)
public:
  explicit TPoint3DSeries(TComponent* AOwner = nullptr);
  ~TPoint3DSeries() override;

  void Assign(TPersistent* Source) override;
  std::string EditorFormClassName() const override { return "TPoint3DSeriesEditor"; }
  void SetParentChart(TCustomAxisPanel* Value) override;
  void GetHorizMargins(int& Left, int& Right) override;
  void GetVertMargins(int& Top, int& Bottom) override;
  void EnumGalleryStyles(const std::function<void(const std::string&)>& Proc) override;
  void PaintLegendSymbol(int Row, const TRect& R) override;
  void DrawPointMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) override;
  void DrawPoint(int Index) override;
  void ApplyGalleryStyle(TChartSeries* Series, int Index) override;
  double LargestZ() override;
  int IndexAtPoint(int X, int Y) override;
  virtual void CalcZPositions(int Index);
  virtual int DepthHalfSize(int Index);
  virtual bool HasPointerStyleGallery() { return true; }
  void GenerateRandomPoints(int Count, bool MainValuesOnly) override;
  void SetupGalleryPreview(bool Enabled) override;

  TChartHiddenPen* BaseLine() const { return FBaseLine.get(); }
  void SetBaseLine(TChartPen* Value) { FBaseLine->Assign(Value); }
  double DepthSize() const { return FDepthSize; }
  void SetDepthSize(double Value) { ChangeDouble(FDepthSize, Value); }
  TChartPen* LinePen() const { return Pen(); }
  void SetLinePen(TChartPen* Value) { SetPen(Value); }
  TSeriesPointer* Pointer() const { return FPointer.get(); }
  void SetPointer(TSeriesPointer* Value) { FPointer->Assign(Value); }

  TPoint3DClickPointerEvent OnClickPointer;
  TPoint3DGetPointerStyle OnGetPointerStyle;
  // Random integers below a range for sample points; the core's generator
  // unless a caller (a test) puts a seeded one here.
  std::function<int(int Range)> SampleRandom;

protected:
  int NextRandom(int Range) { return SampleRandom ? SampleRandom(Range) : RandomInteger(Range); }

  std::unique_ptr<TChartHiddenPen> FBaseLine;
  double FDepthSize = 0;
  std::unique_ptr<TSeriesPointer> FPointer;
  // The previous point drawn in this pass.
  bool FHasPrevious = false;
  int FPrevX = 0;
  int FPrevY = 0;
  int FPrevZ = 0;
};

class TBubble3DSeries : public TPoint3DSeries {
  ZV_CLASS(TBubble3DSeries)
public:
  explicit TBubble3DSeries(TComponent* AOwner = nullptr);

  void DrawPoint(int Index) override;
  double LargestY() override;
  double LargestZ() override;
  double SmallestY() override;
  double SmallestZ() override;
  void CalcZPositions(int Index) override;
  int DepthHalfSize(int Index) override;
  bool HasPointerStyleGallery() override { return false; }
  void GenerateRandomPoints(int Count, bool MainValuesOnly) override;
  void SetupGalleryPreview(bool Enabled) override;
  bool CanCopyPointsFrom(TChartSeries* Source) override { return dynamic_cast<TBubble3DSeries*>(Source); }
  bool AcceptsSeriesAsSource(TChartSeries* Series) override { return dynamic_cast<TBubble3DSeries*>(Series); }

  int AddBubble(double X, double Y, double Z, double Radius, const std::string& Label = "", TColor Color = clDefault);
  TChartValueList* RadiusValues() const { return FRadiusValues; }
  void SetRadiusValues(TChartValueList* Value) { ReplaceValueList(FRadiusValues, Value); }
  bool ColorEachPointValue() const { return FColorEachPoint; }
  void SetColorEachPointValue(bool Value) { SetColorEachPoint(Value); }

private:
  double ExtremeWithRadius(TChartValueList* List, bool Largest, double Start);
  TChartValueList* FRadiusValues = nullptr;
};

void RegisterPoint3DSeriesTypes();
void UnregisterPoint3DSeriesTypes();
