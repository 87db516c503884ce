// The 3D data series: the base with a Z value list, the palette base that
// colours points by their main value (Y, Z for maps), the grid base that arranges points on X
// columns and Z rows, and the surface and water fall series drawn from it.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "chart/core/grengine.h"

// Points with X, Y and Z values.
class TCustom3DSeries : public TChartSeries {
  ZV_CLASS(TCustom3DSeries)
public:
  explicit TCustom3DSeries(TComponent* AOwner);

  void Assign(TPersistent* Source) override;
  void AssignZOrder() override;
  void DrawPointMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) override;
  void AdjustLegendCanvas(int Row, TColor& BackColor, TBrushStyle& BrushStyle) override;
  TChartValueList* ValuesForAxis(TChartAxis* Axis) override;
  bool IsOnAxis(TChartAxis* Axis) override;
  double LargestZ() override { return FZValues->MaxValue(); }
  double SmallestZ() override { return FZValues->MinValue(); }
  virtual int AddLabeledPoint3D(double X, double Y, double Z, const std::string& Label, TColor Color);
  // Only from another 3D series.
  virtual bool CanCopyPointsFrom(TChartSeries* Source);

  int AddPoint3D(double X, double Y, double Z) { return AddLabeledPoint3D(X, Y, Z, "", clDefault); }
  double ZValueAt(int Index) const { return FZValues->GetValue(Index); }
  // The depth pixel of the point's Z value.
  int ZPixel(int Index);
  bool DepthDrawsForward();

  int TimesZOrder() const { return FTimesZOrder; }
  void SetTimesZOrder(int Value) { ChangeInteger(FTimesZOrder, Value); }
  TChartValueList* ZValues() const { return FZValues; }
  void SetZValues(TChartValueList* Value) { ReplaceValueList(FZValues, Value); }

protected:
  TChartValueList* FZValues = nullptr;
  int FTimesZOrder = 3;
};

enum TGrafPaletteStyle { psPale, psStrong, psGrayScale, psInvGray, psRainbow, psCustom };
const TEnumInfo& GrafPaletteStyleEnumInfo();

struct TGrafPaletteEntry {
  double UpToValue = 0;
  TColor Color = 0;
  bool operator==(const TGrafPaletteEntry&) const = default;
};

using TChartSurfaceGetColor = std::function<void(TChartSeries* Sender, int ValueIndex, TColor& Color)>;

// Colours each point by its main value (Y unless a series makes another list
// main), through a colour range or a palette.
class TCustom3DPaletteSeries : public TCustom3DSeries {
  ZV_CLASS(TCustom3DPaletteSeries)
public:
  explicit TCustom3DPaletteSeries(TComponent* AOwner);
  ~TCustom3DPaletteSeries() override;

  void DefineProperties(TFiler* Filer) override;
  void Assign(TPersistent* Source) override;
  std::string EditorFormClassName() const override { return "TGrid3DSeriesEditor"; }
  void PrepareChartDraw() override;
  void EnumGalleryStyles(const std::function<void(const std::string&)>& Proc) override;
  void PaintLegendSymbol(int Row, const TRect& R) override;
  TColor PointColor(int Index) override;
  void ApplyGalleryStyle(TChartSeries* Series, int Index) override;
  void RemoveAllPoints() override;
  int LegendEntryCount() override;
  TColor LegendSymbolColor(int Row) override;
  std::string ComposeLegendText(int Index, TLegendTextStyle Style) override;
  void ApplyGallery3D(bool Value) override;
  void SetupGalleryPreview(bool Enabled) override;

  int AddPaletteEntry(TColor Color, double Value);
  void ClearPaletteEntries() { FPalette.clear(); }
  // Steps 0: PaletteSteps.
  void BuildPalette(int Steps = 0);
  void EnsurePalette();
  TColor ColorOfValue(double Value);
  TColor RangeColorAt(double Fraction);
  TColor PaletteColorOf(double Value);
  void UpdateRangeScale();
  int LegendPaletteIndex(int Row) const;
  const std::vector<TGrafPaletteEntry>& Palette() const { return FPalette; }
  double RangeScale() const { return FRangeScale; }

  // The "CustomPalette" stream: a 32-bit count, then per entry the value
  // (64-bit real) and the colour (32 bits), little-endian.
  void WriteCustomPalette(TStream* Stream);
  // Refuses a negative, huge or truncated count, leaving the palette as it was.
  void ReadCustomPalette(TStream* Stream);

  TColor StartColor() const { return FStartColor; }
  void SetStartColor(TColor Value);
  TColor MidColor() const { return FMidColor; }
  void SetMidColor(TColor Value);
  TColor EndColor() const { return FEndColor; }
  void SetEndColor(TColor Value);
  bool UseColorRange() const { return FUseColorRange; }
  void SetUseColorRange(bool Value);
  bool UsePalette() const { return FUsePalette; }
  void SetUsePalette(bool Value);
  int PaletteSteps() const { return FPaletteSteps; }
  void SetPaletteSteps(int Value);
  TGrafPaletteStyle PaletteStyle() const { return FPaletteStyle; }
  void SetPaletteStyle(TGrafPaletteStyle Value);
  double PaletteMin() const { return FPaletteMin; }
  void SetPaletteMin(double Value);
  double PaletteStep() const { return FPaletteStep; }
  void SetPaletteStep(double Value);
  bool UsePaletteMin() const { return FUsePaletteMin; }
  void SetUsePaletteMin(bool Value);
  int LegendEvery() const { return FLegendEvery; }
  void SetLegendEvery(int Value) { ChangeInteger(FLegendEvery, Value); }
  // Period factors of a rainbow palette's red, green and blue channels,
  // which palettes built by their users read (sin(a / RedFactor) ...).
  double RedFactor() const { return FRedFactor; }
  void SetRedFactor(double Value) { FRedFactor = Value; }
  double GreenFactor() const { return FGreenFactor; }
  void SetGreenFactor(double Value) { FGreenFactor = Value; }
  double BlueFactor() const { return FBlueFactor; }
  void SetBlueFactor(double Value) { FBlueFactor = Value; }

  TChartSurfaceGetColor OnGetColor;

protected:
  std::vector<TGrafPaletteEntry> FPalette;
  TColor FStartColor = 0x800000;
  TColor FMidColor = clNone;
  TColor FEndColor = 0xFFFFFF;
  bool FUseColorRange = true;
  bool FUsePalette = false;
  int FPaletteSteps = 32;
  TGrafPaletteStyle FPaletteStyle = psPale;
  double FPaletteMin = 0;
  double FPaletteStep = 0;
  bool FUsePaletteMin = false;
  int FLegendEvery = 1;
  double FRangeScale = 0;
  // Over the angles 0 .. pi/2: from blue through green to red.
  double FRedFactor = 0.5;
  double FGreenFactor = 0.4;
  double FBlueFactor = 0.5;
};

using TChartSurfaceGetY = std::function<double(TChartSeries* Sender, int X, int Z)>;

// Points on a grid of X columns and Z rows.
class TCustom3DGridSeries : public TCustom3DPaletteSeries {
  ZV_CLASS(TCustom3DGridSeries)
public:
  explicit TCustom3DGridSeries(TComponent* AOwner);

  void Assign(TPersistent* Source) override;
  void PrepareChartDraw() override;
  void CopyValuesFrom(TChartSeries* Source) override;
  void RemoveAllPoints() override;
  virtual void CreateGridValues(int NX, int NZ);
  virtual double GridYValue(int X, int Z);
  void GenerateRandomPoints(int Count, bool MainValuesOnly) override;
  bool AcceptsSeriesAsSource(TChartSeries* Series) override;
  int DefaultSampleCount() override { return FNumXValues; }

  // A grid index of more cells than this is refused (the series draws
  // nothing): one stray point far away must not allocate without bound.
  static constexpr int64_t MaxGridCells = 16 * 1024 * 1024;

  void InitGridIndex(int NX, int NZ);
  void FillGridIndex(int First);
  void RebuildGridIndex() { FillGridIndex(0); }
  // The four corners of a cell in the current step directions.
  bool FetchCell(int X, int Z);
  void RecreateValues() { CreateGridValues(FNumXValues, FNumZValues); }
  bool CanCreateValues() const;
  // Point index at (column, row), -1 for an empty or outside cell.
  int GridIndex(int X, int Z) const {
    if (X < 0 || Z < 0 || X > FIndexNX || Z > FIndexNZ) return -1;
    return FGridIndex[static_cast<size_t>(Z) * static_cast<size_t>(FIndexNX + 1) + static_cast<size_t>(X)];
  }
  // The last index build was refused as too large.
  bool GridRefused() const { return FGridRefused; }
  // Told once when a grid is refused (until a grid fits again).
  std::function<void(TCustom3DGridSeries* Sender, int64_t Cells)> OnGridRefused;

  int NumXValues() const { return FNumXValues; }
  void SetNumXValues(int Value);
  int NumZValues() const { return FNumZValues; }
  void SetNumZValues(int Value);
  bool IrregularGrid() const { return FIrregularGrid; }
  void SetIrregularGrid(bool Value) { ChangeBool(FIrregularGrid, Value); }
  TChartSurfaceGetY OnGetYValue;

  // Step directions and the corners of the current cell.
  int DX = 1;
  int DZ = 1;
  int C0 = -1, C1 = -1, C2 = -1, C3 = -1;
  bool SampleMode = false;

protected:
  void RefuseGrid(int64_t Cells);

  int FNumXValues = 10;
  int FNumZValues = 10;
  bool FIrregularGrid = false;
  std::vector<int32_t> FGridIndex;
  int FIndexNX = -1;
  int FIndexNZ = -1;
  bool FGridRefused = false;
};

// The grid drawn as a surface in the chart's 3D space, back to front.
class TSurfaceSeries : public TCustom3DGridSeries {
  ZV_CLASS(TSurfaceSeries)
public:
  explicit TSurfaceSeries(TComponent* AOwner = nullptr);
  ~TSurfaceSeries() override;

  void Assign(TPersistent* Source) override;
  std::string EditorFormClassName() const override { return "TSurfaceSeriesEditor"; }
  void EnumGalleryStyles(const std::function<void(const std::string&)>& Proc) override;
  void DrawVisiblePoints() override;
  void ApplyGalleryStyle(TChartSeries* Series, int Index) override;
  int IndexAtPoint(int X, int Y) override;
  void SetupGalleryPreview(bool Enabled) override;
  virtual void DrawCell(int X, int Z);
  virtual void DrawSideQuad(const TFourPoints& P, int Z0, int Z1);
  virtual bool CanvasDrawsSurface();
  virtual bool HasSides();
  // The cell callback handed to a canvas that draws the whole surface.
  bool SurfaceCellCallback(int X, int Z, std::array<TPoint3D, 4>& Corners, std::array<TColor, 4>& Colors);

  bool WireFrame() const { return FWireFrame; }
  void SetWireFrame(bool Value);
  bool DotFrame() const { return FDotFrame; }
  void SetDotFrame(bool Value);
  bool SmoothPalette() const { return FSmoothPalette; }
  void SetSmoothPalette(bool Value) { ChangeBool(FSmoothPalette, Value); }
  int Transparency() const { return FTransparency; }
  void SetTransparency(int Value) { ChangeInteger(FTransparency, Value); }
  // Offered on every platform here; drawn with the plain brush colour.
  bool FastBrush() const { return FFastBrush; }
  void SetFastBrush(bool Value) { FFastBrush = Value; }
  TChartBrush* SideBrush() const { return FSideBrush.get(); }
  void SetSideBrush(TChartBrush* Value) { FSideBrush->Assign(Value); }
  TChartHiddenPen* SideLines() const { return FSideLines.get(); }
  void SetSideLines(TChartPen* Value) { FSideLines->Assign(Value); }
  bool WaterFall() const { return FWaterFall; }
  void SetWaterFall(bool Value) { ChangeBool(FWaterFall, Value); }
  TChartPen* WaterLines() const { return FWaterLines.get(); }
  void SetWaterLines(TChartPen* Value) { FWaterLines->Assign(Value); }

protected:
  void PreparePenAndBrush();
  void PrepareBrush();
  void CacheAxisConversions();
  void CellLoopRanges(int& XFirst, int& XLast, int& ZFirst, int& ZLast);
  void DrawCells();
  TPoint PointPixels(int Index);
  void SetCellColor(TColor Color);
  void PaintCell();
  void DrawCellDots();
  void DrawSides(bool Back);
  void DrawSideAlongZ(int X, int YBase);
  void DrawSideAlongX(int Z, int YBase);
  bool PlaneFacesViewer(int Depth);
  bool FetchCellPixels(int X, int Z);

  bool FWireFrame = false;
  bool FDotFrame = false;
  bool FSmoothPalette = false;
  int FTransparency = 0;
  bool FFastBrush = false;
  std::unique_ptr<TChartBrush> FSideBrush;
  std::unique_ptr<TChartHiddenPen> FSideLines;
  bool FWaterFall = false;
  std::unique_ptr<TChartPen> FWaterLines;

  // Paint-time state.
  TChartAxis* FHorizAxis = nullptr;
  TChartAxis* FVertAxis = nullptr;
  std::array<TPoint, 4> FPix{};
  bool FFixedColor = false;
  std::unique_ptr<TGrafBlend> FBlend;
};

class TWaterFallSeries : public TSurfaceSeries {
  ZV_CLASS(TWaterFallSeries)
public:
  explicit TWaterFallSeries(TComponent* AOwner = nullptr);
  void Assign(TPersistent* Source) override;
  std::string EditorFormClassName() const override { return "TWaterFallEditor"; }
  void EnumGalleryStyles(const std::function<void(const std::string&)>& Proc) override;
  void ApplyGalleryStyle(TChartSeries* Series, int Index) override;
  void ApplyGallery3D(bool Value) override;
};

// The 3D series types in the chart's registry (once).
void RegisterGridSeriesTypes();
void UnregisterGridSeriesTypes();
