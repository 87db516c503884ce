// Contour lines of a grid series at automatic or given levels: each cell is
// split into four triangles around its centre, each triangle gives at most
// one segment per level, and the segments of a level are joined into lines.
#pragma once

#include <memory>
#include <vector>

#include "chart/series/grafsurfa.h"

class TContourSeries;

struct TContourPoint {
  double X = 0;
  double Z = 0;
};
using TContourLine = std::vector<TContourPoint>;

class TContourLevel : public TCollectionItem {
  ZV_CLASS(TContourLevel)
public:
  explicit TContourLevel(TCollection* Collection);
  ~TContourLevel() override;
  void Assign(TPersistent* Source) override;

  double UpToValue() const { return FUpToValue; }
  void SetUpToValue(double Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  // Reading creates the level's own pen.
  TChartPen* Pen();
  // None frees the own pen.
  void SetPen(TChartPen* Value);
  bool HasOwnPen() const { return FPen != nullptr; }
  TChartPen* EffectivePen();
  bool UsesSeriesPen() const { return !FPen; }

  int LineCount() const { return static_cast<int>(Lines.size()); }
  std::vector<TPoint> LinePixels(int Line);
  bool LineAtPoint(int Line, TPoint P);
  TContourSeries* Series() const { return FSeries; }

  // Computed by the last paint.
  std::vector<TContourLine> Lines;

private:
  friend class TContourSeries;
  friend class TContourLevels;
  void ManualChange();

  TContourSeries* FSeries = nullptr;
  double FUpToValue = 0;
  TColor FColor = clDefault;
  std::unique_ptr<TChartPen> FPen;
};

class TContourLevels : public TOwnedCollection {
  ZV_CLASS(TContourLevels)
public:
  explicit TContourLevels(TPersistent* Owner = nullptr);
  TContourLevel* GetLevel(int Index) const { return static_cast<TContourLevel*>(Items(Index)); }
  TContourLevel* AddLevel(TColor Color, double Value);
  // The first level (in collection order) with a line through the screen
  // point, -1 when none.
  int LevelAtPoint(int X, int Y);
};

class TSmoothPoints : public TPersistent {
  ZV_CLASS(TSmoothPoints)
public:
  explicit TSmoothPoints(TChartSeries* Owner = nullptr) : FOwner(Owner) {}
  void Assign(TPersistent* Source) override;
  bool Active() const { return FActive; }
  void SetActive(bool Value);
  bool Interpolate() const { return FInterpolate; }
  void SetInterpolate(bool Value);
  std::vector<TPoint> SmoothPolyline(const std::vector<TPoint>& Points) const;
  int Factor = 4;

private:
  TChartSeries* FOwner;
  bool FActive = false;
  bool FInterpolate = false;
};

using TOnBeforeDrawLevelEvent = std::function<void(TContourSeries* Sender, int LevelIndex)>;
using TOnGetLevelEvent = std::function<void(TContourSeries* Sender, int LevelIndex, double& Value, TColor& Color)>;

class TContourSeries : public TCustom3DGridSeries {
  ZV_CLASS(TContourSeries)
public:
  explicit TContourSeries(TComponent* AOwner = nullptr);
  ~TContourSeries() override;

  void Assign(TPersistent* Source) override;
  std::string EditorFormClassName() const override { return "TContourSeriesEditor"; }
  void PrepareChartDraw() override;
  void EnumGalleryStyles(const std::function<void(const std::string&)>& Proc) override;
  void DrawVisiblePoints() override;
  void NotifyDependentSeries(int Code, int Index) override;
  void ApplyGalleryStyle(TChartSeries* Series, int Index) override;
  int LegendEntryCount() override;
  TColor LegendSymbolColor(int Row) override;
  std::string ComposeLegendText(int Index, TLegendTextStyle Style) override;
  double LargestY() override;
  double SmallestY() override;
  // The grid point nearest to a contour line under the screen point, or -1;
  // the level under it is LevelAtPoint.
  int IndexAtPoint(int X, int Y) override;
  int LevelAtPoint(int X, int Y) { return FLevels->LevelAtPoint(X, Y); }
  void GenerateRandomPoints(int Count, bool MainValuesOnly) override;
  void SetupGalleryPreview(bool Enabled) override;

  void CreateAutoLevels();
  void RefreshAutoLevels();
  void ClearLevels();
  TChartAxis* LevelAxis();

  int NumLevels() const;
  int GetNumLevels() const { return NumLevels(); }
  void SetNumLevels(int Value);
  bool AutomaticLevels() const { return FAutomaticLevels; }
  void SetAutomaticLevels(bool Value);
  TContourLevels* Levels() const { return FLevels.get(); }
  void SetLevels(TContourLevels* Value) { FLevels->Assign(Value); }
  double YPosition() const { return FYPosition; }
  void SetYPosition(double Value) { ChangeDouble(FYPosition, Value); }
  bool YPositionLevel() const { return FYPositionLevel; }
  void SetYPositionLevel(bool Value) { ChangeBool(FYPositionLevel, Value); }
  TSmoothPoints* Smoothing() const { return FSmoothing.get(); }
  void SetSmoothing(TSmoothPoints* Value) { FSmoothing->Assign(Value); }
  bool CreatingLevels() const { return FCreatingLevels; }

  TOnBeforeDrawLevelEvent OnBeforeDrawLevel;
  TOnGetLevelEvent OnGetLevel;

private:
  friend class TContourLevel;
  struct TLevelEntry {
    double Value;
    TColor Color;
    TChartPen* Pen;
  };
  void ContourCell(int Level, const double (&H)[5], const double (&X)[5], const double (&Z)[5]);
  void AddLevelSegment(int Level, TContourPoint A, TContourPoint B);
  void JoinLevelLines(int Level, size_t Line, bool AtEnd, TContourPoint P);
  void DrawLevelLines();

  bool FAutomaticLevels = true;
  int FNumLevels = 10;
  std::unique_ptr<TContourLevels> FLevels;
  double FYPosition = 0;
  bool FYPositionLevel = false;
  std::unique_ptr<TSmoothPoints> FSmoothing;
  bool FCreatingLevels = false;
  std::vector<TLevelEntry> FTable;
};
