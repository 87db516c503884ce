// The Smith chart: impedances normalised to the reference impedance, each a
// resistance and a reactance, drawn at their reflection coefficient inside
// the unit circle over constant-resistance circles and constant-reactance
// arcs. The chart's horizontal axis lends the resistance circles their pen,
// label switch and font, the vertical axis the reactance arcs.
#pragma once

#include <memory>
#include <string>

#include "chart/series/series.h"
#include "chart/series/series_pie.h"

class TSmithSeries : public TCircledSeries {
  ZV_CLASS(TSmithSeries)
public:
  explicit TSmithSeries(TComponent* AOwner = nullptr);
  ~TSmithSeries() override;

  std::string EditorFormClassName() const override { return "TSmithSeriesEdit"; }
  void SetParentChart(TCustomAxisPanel* Value) override;
  void BeginDrawValues() override;
  void DrawVisiblePoints() override;
  void DrawPoint(int Index) override;
  int PointXPixel(int Index) override;
  int PointYPixel(int Index) override;
  int IndexAtPoint(int X, int Y) override;
  void GenerateRandomPoints(int Count, bool MainValuesOnly) override;
  void SetupGalleryPreview(bool Enabled) override;

  // ---- Properties ----
  TChartPen* CCirclePen() const;
  void SetCCirclePen(TChartPen* Value);
  TChartPen* RCirclePen() const;
  void SetRCirclePen(TChartPen* Value);
  bool CLabels() const;
  void SetCLabels(bool Value);
  bool RLabels() const;
  void SetRLabels(bool Value);
  TGrafFont* CLabelsFont() const;
  void SetCLabelsFont(TGrafFont* Value);
  TGrafFont* RLabelsFont() const;
  void SetRLabelsFont(TGrafFont* Value);
  TChartPen* CirclePen() const { return FCirclePen.get(); }
  void SetCirclePen(TChartPen* Value) { FCirclePen->Assign(Value); }
  const std::string& ImagSymbol() const { return FImagSymbol; }
  void SetImagSymbol(const std::string& Value) { ChangeString(FImagSymbol, Value); }
  TSeriesPointer* Pointer() const { return FPointer.get(); }
  void SetPointer(TSeriesPointer* Value) { FPointer->Assign(Value); }
  TChartValueList* ResistanceValues() const { return XValues(); }
  void SetResistanceValues(TChartValueList* Value) { SetXValues(Value); }
  TChartValueList* ReactanceValues() const { return YValues(); }
  void SetReactanceValues(TChartValueList* Value) { SetYValues(Value); }
  TOnGetPointerStyle OnGetPointerStyle;

  // The screen point of an impedance (its reflection coefficient).
  TPoint ImpedancePoint(double Resistance, double Reactance) const;
  // The grid: the reactance arcs and the resistance circles.
  void DrawReactanceArc(double Reactance, bool Labels);
  void DrawResistanceCircle(double Resistance, bool Labels);
  bool FirstOfItsClass() const;

  TPoint LastPosition;

private:
  void DrawReactanceLabel(int X, int Y, double Value);

  std::unique_ptr<TChartPen> FCirclePen;
  std::string FImagSymbol = "i";
  std::unique_ptr<TSeriesPointer> FPointer;
};
