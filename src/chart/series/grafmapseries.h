// The map series: filled polygons, each coloured through the palette by its
// value Z. A polygon's outline lives in a private series of its own; its
// value, text and colour are the map series' point at the polygon's index,
// so polygon i always belongs to point i.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "chart/series/grafsurfa.h"

class TGrafPolygon;
class TMapSeries;

// Holds a polygon's points; never placed on a chart.
class TPolygonSeries : public TChartSeries {
  ZV_CLASS(TPolygonSeries)
public:
  explicit TPolygonSeries(TComponent* AOwner = nullptr);
  ~TPolygonSeries() override;

  void SetActive(bool Value) override;
  void PaintLegendSymbol(int Row, const TRect& R) override;
  void NotifyDependentSeries(int Code, int Index) override;
  void AdjustLegendCanvas(int Row, TColor& BackColor, TBrushStyle& BrushStyle) override;
  void SetSeriesColor(TColor Value) override;
  void LoadDemoData(int) override {}

  TGrafPolygon* Polygon() const { return FPolygon; }

private:
  friend class TGrafPolygon;
  TGrafPolygon* FPolygon = nullptr;
};

class TGrafPolygon : public TCollectionItem {
  ZV_CLASS(TGrafPolygon)
public:
  explicit TGrafPolygon(TCollection* Collection);
  ~TGrafPolygon() override;
  void Assign(TPersistent* Source) override;
  void DefineProperties(TFiler* Filer) override;

  void AddPoint(double X, double Y);
  void CalcScreenPoints(std::vector<TPoint>& Points);
  TRect ScreenBounds();
  bool IsVisibleInChart();
  void Draw(TCanvas3D* Canvas, int ValueIndex);

  TChartBrush* Brush() const { return FSeries->Brush(); }
  void SetBrush(TChartBrush* Value) { FSeries->Brush()->Assign(Value); }
  bool Closed() const { return FClosed; }
  void SetClosed(bool Value);
  TColor Color() const;
  void SetColor(TColor Value) { FSeries->SetSeriesColor(Value); }
  // Created on first use.
  TGrafGradient* Gradient();
  void SetGradient(TGrafGradient* Value);
  bool HasGradient() const { return FGradient != nullptr; }
  bool ParentBrush() const { return FParentBrush; }
  void SetParentBrush(bool Value);
  bool ParentPen() const { return FParentPen; }
  void SetParentPen(bool Value);
  TChartPen* Pen() const { return FSeries->Pen(); }
  void SetPen(TChartPen* Value) { FSeries->Pen()->Assign(Value); }
  std::string Text() const;
  void SetText(const std::string& Value);
  int Transparency() const { return FTransparency; }
  void SetTransparency(int Value);
  double Z() const;
  void SetZ(double Value);

  TPolygonSeries* Points() const { return FSeries; }
  TMapSeries* MapSeries() const { return FMap; }

private:
  void Repaint();

  bool FClosed = true;
  std::unique_ptr<TGrafGradient> FGradient;
  bool FParentBrush = true;
  bool FParentPen = true;
  TPolygonSeries* FSeries = nullptr;
  int FTransparency = 0;
  std::vector<TPoint> FCache;
  TMapSeries* FMap = nullptr;
};

class TGrafPolygonList : public TOwnedCollection {
  ZV_CLASS(TGrafPolygonList)
public:
  explicit TGrafPolygonList(TPersistent* Owner = nullptr);
  TGrafPolygon* Polygon(int Index) const { return static_cast<TGrafPolygon*>(Items(Index)); }
  TGrafPolygon* AddPolygon();
  void DeletePolygons(int Index, int Count);
  TMapSeries* MapSeries() const;

protected:
  // A polygon leaving the list by any road (the reader's or Assign's Clear
  // too) takes its point with it, so points and polygons stay paired.
  void Notify(TCollectionItem* Item, TCollectionNotification Action) override;
};

class TMapSeries : public TCustom3DPaletteSeries {
  ZV_CLASS(TMapSeries)
public:
  explicit TMapSeries(TComponent* AOwner = nullptr);
  ~TMapSeries() override;

  void DefineProperties(TFiler* Filer) override;
  // Settings, then one polygon per source polygon with its own point, whose
  // Z, text and colour come from the source: exactly one point per polygon.
  void Assign(TPersistent* Source) override;
  std::string EditorFormClassName() const override { return "TMapSeriesEditor"; }
  void GetHorizMargins(int& Left, int& Right) override;
  void GetVertMargins(int& Top, int& Bottom) override;
  void EnumGalleryStyles(const std::function<void(const std::string&)>& Proc) override;
  void DrawVisiblePoints() override;
  void DrawPointMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) override;
  void DrawPoint(int Index) override;
  void ApplyGalleryStyle(TChartSeries* Series, int Index) override;
  void RemoveAllPoints() override;
  void RemovePoint(int Index) override;
  void RemovePointRange(int Index, int Number, bool Renumber = false) override;
  double LargestX() override;
  double LargestY() override;
  double SmallestX() override;
  double SmallestY() override;
  int IndexAtPoint(int X, int Y) override;
  void GenerateRandomPoints(int Count, bool MainValuesOnly) override;
  void SetupGalleryPreview(bool Enabled) override;
  void ApplyGallery3D(bool Value) override;
  int DefaultSampleCount() override { return 12; }
  void ExchangePoints(int A, int B) override;

  TGrafPolygonList* Shapes() const { return FShapes.get(); }
  // The point of a polygon leaving the shapes goes too, unless the series is
  // removing both itself.
  void PolygonLeaving(int Index);
  void SetShapes(TGrafPolygonList* Value);

  // Random integers below a range for sample shapes; the core's generator
  // unless a caller (a test) puts a seeded one here.
  std::function<int(int Range)> SampleRandom;

private:
  int NextRandom(int Range) { return SampleRandom ? SampleRandom(Range) : RandomInteger(Range); }
  void AddSampleShape(int Shape);
  void CopyPolygons(TMapSeries* Source);
  void DrawByDepth();
  bool PolygonInClipRect(TGrafPolygon* P);
  double Extreme(bool X, bool Largest);

  std::unique_ptr<TGrafPolygonList> FShapes;
  int FPairedRemoval = 0;
};

void RegisterMapSeriesType();
void UnregisterMapSeriesType();
