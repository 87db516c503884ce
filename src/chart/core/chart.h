// The chart control: the axis panel with walls, titles and a legend, mouse
// clicks on chart parts, zooming by a dragged rectangle, panning and the
// wheel; and the registries of series, function and tool types, the series
// utilities (create, clone, change class) and the named colour palettes.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/core/grengine.h"

class TCustomChart;

ZV_DECLARE_EXCEPTION(LegendException, Exception)

// ============================================================================
// Walls
// ============================================================================

class TCustomChartWall : public TGrafCustomShape {
  ZV_CLASS(TCustomChartWall)
public:
  explicit TCustomChartWall(TCustomChart* Chart = nullptr);
  void Assign(TPersistent* Source) override;

  bool AutoHide() const { return FAutoHide; }
  void SetAutoHide(bool Value);
  bool Dark3D() const { return FDark3D; }
  void SetDark3D(bool Value);
  int Size() const { return FSize; }
  void SetSize(int Value);
  TColor DefaultColor() const { return FDefaultColor; }
  // Sets the colour and records it as the default.
  void SetInitialColor(TColor Value);

  bool UsesDark3D() const;
  // The chart shows walls and this wall is visible and not auto-hidden.
  bool ShouldPaint() const;
  bool GradientShown() const;
  // Projects the side wall's plane, starts blending, fills a gradient;
  // returns the blend to finish (nil for none).
  std::unique_ptr<TGrafBlend> PrepareWallFill(int X, int Bottom);
  TCustomChart* Chart() const;
  // Pen and brush on the canvas before a wall is drawn.
  void ApplyToCanvas();

protected:
  bool FAutoHide = false;
  bool FDark3D = true;
  int FSize = 0;
  TColor FDefaultColor = clDefault;
};

class TChartWall : public TCustomChartWall {
  ZV_CLASS(TChartWall)
public:
  explicit TChartWall(TCustomChart* Chart = nullptr) : TCustomChartWall(Chart) {}
};

class TChartBackWall : public TChartWall {
  ZV_CLASS(TChartBackWall)
public:
  explicit TChartBackWall(TCustomChart* Chart = nullptr);
};

class TChartRightWall : public TChartWall {
  ZV_CLASS(TChartRightWall)
public:
  explicit TChartRightWall(TCustomChart* Chart = nullptr);
};

class TChartWalls : public TPersistent {
  ZV_CLASS(TChartWalls)
public:
  explicit TChartWalls(TCustomChart* Chart = nullptr);
  ~TChartWalls() override;
  void Assign(TPersistent* Source) override;

  TChartBackWall* Back() const { return FBack.get(); }
  TChartWall* Bottom() const { return FBottom.get(); }
  TChartWall* Left() const { return FLeft.get(); }
  TChartRightWall* Right() const { return FRight.get(); }
  void SetBack(TChartBackWall* Value) { FBack->Assign(Value); }
  void SetBottom(TChartWall* Value) { FBottom->Assign(Value); }
  void SetLeft(TChartWall* Value) { FLeft->Assign(Value); }
  void SetRight(TChartRightWall* Value) { FRight->Assign(Value); }
  // The chart's View3DWalls.
  bool Visible() const;
  void SetVisible(bool Value);
  // Sets the size of all four walls.
  void SetSize(int Value);
  TCustomChart* Chart() const { return FChart; }

private:
  TCustomChart* FChart;
  std::unique_ptr<TChartBackWall> FBack;
  std::unique_ptr<TChartWall> FBottom;
  std::unique_ptr<TChartWall> FLeft;
  std::unique_ptr<TChartRightWall> FRight;
};

// ============================================================================
// Titles
// ============================================================================

// A shape that may be placed by the user: the base of titles and the legend.
class TGrafCustomShapePosition : public TGrafCustomShape {
  ZV_CLASS(TGrafCustomShapePosition)
public:
  explicit TGrafCustomShapePosition(TCustomGrafPanel* Panel = nullptr) : TGrafCustomShape(Panel) {}
  bool CustomPosition() const { return FCustomPosition; }
  void SetCustomPosition(bool Value);
  bool DefaultCustom = false;
  int Left() const { return ShapeBox.Left; }
  void SetLeft(int Value);
  int Top() const { return ShapeBox.Top; }
  void SetTop(int Value);

protected:
  bool FCustomPosition = false;
};

class TChartTitle : public TGrafCustomShapePosition {
  ZV_CLASS(TChartTitle)
public:
  explicit TChartTitle(TCustomGrafPanel* Panel = nullptr);
  ~TChartTitle() override;
  void Assign(TPersistent* Source) override;

  bool AdjustFrame() const { return FAdjustFrame; }
  void SetAdjustFrame(bool Value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TStringList* Text() const { return FText.get(); }
  void SetText(TStringList* Value);
  bool OnTop() const { return FOnTop; }

  // Lays the title out, paints it and takes its room off the chart rectangle.
  void PaintTitle();
  bool ContainsPoint(int X, int Y) const;
  TRect ShapeRect() const { return ShapeBox; }

protected:
  bool FAdjustFrame = true;
  TAlignment FAlignment = taCenter;
  std::unique_ptr<TStringList> FText;
  bool FOnTop = true;
};

class TChartFootTitle : public TChartTitle {
  ZV_CLASS(TChartFootTitle)
public:
  explicit TChartFootTitle(TCustomGrafPanel* Panel = nullptr);
};

// ============================================================================
// Legend
// ============================================================================

enum TLegendAlignment { laLeft, laRight, laTop, laBottom };
enum TLegendStyle { lsAuto, lsSeries, lsValues, lsLastValues };
enum TCheckBoxesStyle { cbsCheck, cbsRadio };
enum TLegendSymbolPosition { spLeft, spRight };
enum TLegendSymbolSize { lcsPercent, lcsPixels };
const TEnumInfo& LegendAlignmentEnumInfo();
const TEnumInfo& LegendStyleEnumInfo();
const TEnumInfo& CheckBoxesStyleEnumInfo();
const TEnumInfo& LegendSymbolPositionEnumInfo();
const TEnumInfo& LegendSymbolSizeEnumInfo();

class TCustomChartLegend;

class TChartLegendGradient : public TGrafGradient {
  ZV_CLASS(TChartLegendGradient)
public:
  explicit TChartLegendGradient(TNotifyEvent OnChange = {});
};

using TLegendSymbolDrawEvent =
    std::function<void(TObject* Sender, TChartSeries* Series, int ValueIndex, const TRect& R)>;

class TLegendSymbol : public TPersistent {
  ZV_CLASS(TLegendSymbol)
public:
  explicit TLegendSymbol(TCustomChartLegend* Legend = nullptr);
  ~TLegendSymbol() override;
  void Assign(TPersistent* Source) override;

  bool Continuous() const { return FContinuous; }
  void SetContinuous(bool Value);
  bool DefaultPen() const { return FDefaultPen; }
  void SetDefaultPen(bool Value);
  TGrafGradient* Gradient() const { return FGradient.get(); }
  void SetGradient(TCustomGrafGradient* Value) { FGradient->Assign(Value); }
  TChartPen* Pen() const { return FPen.get(); }
  void SetPen(TChartPen* Value) { FPen->Assign(Value); }
  TLegendSymbolPosition Position() const { return FPosition; }
  void SetPosition(TLegendSymbolPosition Value);
  bool Squared() const { return FSquared; }
  void SetSquared(bool Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  int Width() const { return FWidth; }
  void SetWidth(int Value);
  TLegendSymbolSize WidthUnits() const { return FWidthUnits; }
  void SetWidthUnits(TLegendSymbolSize Value);
  TLegendSymbolDrawEvent OnDraw;
  std::function<int()> ItemHeight;

  int EffectiveWidth(int W) const;
  void PaintSymbolBox(TColor Color, const TRect& R);

private:
  void Changed();
  TCustomChartLegend* FLegend;
  bool FContinuous = false;
  bool FDefaultPen = true;
  std::unique_ptr<TGrafGradient> FGradient;
  std::unique_ptr<TChartPen> FPen;
  TLegendSymbolPosition FPosition = spLeft;
  bool FSquared = false;
  bool FVisible = true;
  int FWidth = 20;
  TLegendSymbolSize FWidthUnits = lcsPercent;
};

class TLegendItem : public TPersistent {
  ZV_CLASS(TLegendItem)
public:
  explicit TLegendItem(TCustomChartLegend* Legend = nullptr) : FLegend(Legend) {}
  unsigned Align = 0;
  int Left = 0;
  TRect SymbolRect;
  int Top = 0;
  const std::string& Text() const { return FText; }
  // A different text marks the legend's items as custom.
  void SetText(const std::string& Value);
  void StoreText(const std::string& Value) { FText = Value; }

private:
  TCustomChartLegend* FLegend;
  std::string FText;
};

class TLegendItems : public TObject {
public:
  explicit TLegendItems(TCustomChartLegend* Legend) : FLegend(Legend) {}
  std::string ClassName() const override { return "TLegendItems"; }
  int Count() const { return static_cast<int>(FItems.size()); }
  // Grows the list up to the index and creates the item on first access.
  TLegendItem* ItemAt(int Index);
  // Frees every item and repaints the chart.
  void Clear();
  bool Custom = false;

private:
  TCustomChartLegend* FLegend;
  std::vector<std::unique_ptr<TLegendItem>> FItems;
};

class TLegendTitle : public TGrafShape {
  ZV_CLASS(TLegendTitle)
public:
  explicit TLegendTitle(TCustomGrafPanel* Panel = nullptr);
  void Assign(TPersistent* Source) override;
  void SetShadowDefaults(TGrafShadow* AShadow) override;
  TStringList* Text() const { return FText.get(); }
  void SetText(TStringList* Value);
  TAlignment TextAlignment() const { return FTextAlignment; }
  void SetTextAlignment(TAlignment Value);
  int TotalWidth();
  int TotalHeight();
  void DrawText(const TRect& R);

private:
  std::unique_ptr<TStringList> FText;
  TAlignment FTextAlignment = taLeftJustify;
};

using TLegendSizeHook = std::function<void(TCustomChartLegend* Legend, int& Size)>;

class TCustomChartLegend : public TGrafCustomShapePosition {
  ZV_CLASS(TCustomChartLegend)
public:
  explicit TCustomChartLegend(TCustomChart* Chart = nullptr);
  ~TCustomChartLegend() override;
  void Assign(TPersistent* Source) override;

  TLegendAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TLegendAlignment Value);
  bool CheckBoxes() const { return FCheckBoxes; }
  void SetCheckBoxes(bool Value);
  TCheckBoxesStyle CheckBoxesStyle() const { return FCheckBoxesStyle; }
  void SetCheckBoxesStyle(TCheckBoxesStyle Value);
  bool CurrentPage() const { return FCurrentPage; }
  void SetCurrentPage(bool Value);
  TChartHiddenPen* DividingLines() const { return FDividingLines.get(); }
  void SetDividingLines(TChartPen* Value) { FDividingLines->Assign(Value); }
  int FirstValue() const { return FFirstValue; }
  void SetFirstValue(int Value);
  bool FontSeriesColor() const { return FFontSeriesColor; }
  void SetFontSeriesColor(bool Value);
  int HorizMargin() const { return FHorizMargin; }
  void SetHorizMargin(int Value);
  bool Inverted() const { return FInverted; }
  void SetInverted(bool Value);
  TLegendItems* Items() const { return FItems.get(); }
  int LeftPercent() const { return FLeftPercent; }
  void SetLeftPercent(int Value);
  TLegendStyle LegendStyle() const { return FLegendStyle; }
  void SetLegendStyle(TLegendStyle Value);
  int MaxNumRows() const { return FMaxNumRows; }
  void SetMaxNumRows(int Value);
  TGrafUnits PositionUnits() const { return FPositionUnits; }
  void SetPositionUnits(TGrafUnits Value);
  bool ResizeChart() const { return FResizeChart; }
  void SetResizeChart(bool Value);
  TChartSeries* Series() const { return FSeries; }
  TLegendSymbol* Symbol() const { return FSymbol.get(); }
  void SetSymbol(TLegendSymbol* Value) { FSymbol->Assign(Value); }
  TLegendTextStyle TextStyle() const { return FTextStyle; }
  void SetTextStyle(TLegendTextStyle Value);
  TLegendTitle* Title() const { return FTitle.get(); }
  void SetTitle(TLegendTitle* Value) { FTitle->Assign(Value); }
  int TopPos() const { return FTopPos; }
  void SetTopPos(int Value);
  int TopPercent() const { return FTopPercent; }
  void SetTopPercent(int Value);
  int VertMargin() const { return FVertMargin; }
  void SetVertMargin(int Value);
  int VertSpacing() const { return FVertSpacing; }
  void SetVertSpacing(int Value);
  int ColorWidth() const { return FSymbol->Width(); }
  void SetColorWidth(int Value) { FSymbol->SetWidth(Value); }

  // ---- Layout results of the last paint ----
  int SymbolWidth = 0;
  int LastRow = -1;
  int TotalRows = 0;
  bool TitleDrawn = false;
  TLegendStyle ResolvedStyle = lsAuto;
  TLegendSizeHook SizeHook;
  int Columns = 0;
  int Rows = 0;
  bool AutoColumnWidths = true;
  int ColumnWidths[2] = {0, 0};

  void PaintLegend();
  bool IsShown() const;
  TLegendStyle ResolveLegendStyle() const;
  bool CheckBoxesShown() const;
  bool StacksVertically() const { return FAlignment == laLeft || FAlignment == laRight; }
  void UseSeries(TChartSeries* Value);
  TChartSeries* LegendSeries() const;
  std::string RowText(int Row);
  std::string ValueText(TChartSeries* Series, int Index);
  int RowAtPoint(int X, int Y);
  bool HandleRowClick(int X, int Y, int Row);
  int ItemHeight();
  int FirstRowTop();
  TCustomChart* Chart() const;

protected:
  std::unique_ptr<TGrafGradient> CreateGradient() override;
  int HookedSize(int Size);
  void BuildRowTexts(int First, int Last);
  void MeasureColumns();

  TLegendAlignment FAlignment = laRight;
  bool FCheckBoxes = false;
  TCheckBoxesStyle FCheckBoxesStyle = cbsCheck;
  bool FCurrentPage = true;
  std::unique_ptr<TChartHiddenPen> FDividingLines;
  int FFirstValue = 0;
  bool FFontSeriesColor = false;
  int FHorizMargin = 0;
  bool FInverted = false;
  std::unique_ptr<TLegendItems> FItems;
  int FLeftPercent = 0;
  TLegendStyle FLegendStyle = lsAuto;
  int FMaxNumRows = 10;
  TGrafUnits FPositionUnits = muPixels;
  bool FResizeChart = true;
  TChartSeries* FSeries = nullptr;
  std::unique_ptr<TLegendSymbol> FSymbol;
  TLegendTextStyle FTextStyle = ltsLeftValue;
  std::unique_ptr<TLegendTitle> FTitle;
  int FTopPos = 10;
  int FTopPercent = 0;
  int FVertMargin = 0;
  int FVertSpacing = 0;

  // Row texts of the listed rows by row index, split into two columns.
  std::vector<std::array<std::string, 2>> FRowTexts;
  int FRowTextsFirst = 0;
  int FTextWidth = 0;
  int FCheckBoxX = 0;
  int FContentLeft = 0;
};

class TChartLegend : public TCustomChartLegend {
  ZV_CLASS(TChartLegend)
public:
  explicit TChartLegend(TCustomChart* Chart = nullptr) : TCustomChartLegend(Chart) {}
};

// ============================================================================
// The chart control
// ============================================================================

// Kinds of chart parts under a point.
enum TChartClickedPartStyle {
  cpNone = 0, cpLegend = 1, cpAxis = 2, cpSeries = 3, cpTitle = 4, cpFoot = 5, cpChartRect = 6, cpSeriesMarks = 7,
  cpSubTitle = 8, cpSubFoot = 9
};

struct TChartClickedPart {
  int Part = cpNone;
  int PointIndex = -1;
  TChartSeries* ASeries = nullptr;
  TChartAxis* AAxis = nullptr;
};

// The scale of one axis kept from before a zoom or pan.
struct TAxisSavedScale {
  uint8_t Auto = 0;
  uint8_t AutoMin = 0;
  uint8_t AutoMax = 0;
  double Min = 0;
  double Max = 0;
};
using TAllAxisSavedScales = std::vector<TAxisSavedScale>;

using TChartAllowScrollEvent = std::function<void(TChartAxis* Sender, double& AMin, double& AMax, bool& AllowScroll)>;
using TChartClickAxisEvent =
    std::function<void(TCustomChart* Sender, TChartAxis* Axis, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TChartClickEvent =
    std::function<void(TCustomChart* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TChartClickSeriesEvent = std::function<void(TCustomChart* Sender, TChartSeries* Series, int ValueIndex,
                                                  TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TChartClickTitleEvent = std::function<void(TCustomChart* Sender, TChartTitle* ATitle, TMouseButton Button,
                                                 TShiftState Shift, int X, int Y)>;
using TChartGetLegendPosEvent = std::function<void(TCustomChart* Sender, int Index, int& X, int& Y, int& XColor)>;
using TChartGetLegendRectEvent = std::function<void(TCustomChart* Sender, TRect& Rect)>;
using TChartGetLegendTextEvent =
    std::function<void(TCustomAxisPanel* Sender, TLegendStyle LegendStyle, int Index, std::string& LegendText)>;

// Global settings of the chart unit.
extern TShiftState PanningKeyShift;
extern bool WheelScrollsAxes;
extern double AnimatedZoomFactor;
// Called with every chart created while designing (the chart editor's hook).
extern std::function<void(TCustomChart*)> ChartDesignHook;

class TCustomChart : public TCustomAxisPanel {
  ZV_CLASS(TCustomChart)
public:
  explicit TCustomChart(TComponent* AOwner);
  ~TCustomChart() override;

  // ---- Parts ----
  TChartTitle* Title() const { return FTitle.get(); }
  void SetTitle(TChartTitle* Value) { FTitle->Assign(Value); }
  TChartTitle* SubTitle() const { return FSubTitle.get(); }
  void SetSubTitle(TChartTitle* Value) { FSubTitle->Assign(Value); }
  TChartTitle* Foot() const { return FFoot.get(); }
  void SetFoot(TChartTitle* Value) { FFoot->Assign(Value); }
  TChartTitle* SubFoot() const { return FSubFoot.get(); }
  void SetSubFoot(TChartTitle* Value) { FSubFoot->Assign(Value); }
  TChartLegend* Legend() const { return FLegend.get(); }
  void SetLegend(TChartLegend* Value) { FLegend->Assign(Value); }
  TChartWalls* Walls() const { return FWalls.get(); }
  TChartBackWall* BackWall() const { return FWalls->Back(); }
  TChartWall* BottomWall() const { return FWalls->Bottom(); }
  TChartWall* LeftWall() const { return FWalls->Left(); }
  TChartRightWall* RightWall() const { return FWalls->Right(); }
  void SetBackWall(TChartBackWall* Value) { FWalls->SetBack(Value); }
  void SetBottomWall(TChartWall* Value) { FWalls->SetBottom(Value); }
  void SetLeftWall(TChartWall* Value) { FWalls->SetLeft(Value); }
  void SetRightWall(TChartRightWall* Value) { FWalls->SetRight(Value); }
  TChartPen* Frame() const { return FWalls && FWalls->Back() ? FWalls->Back()->Pen() : nullptr; }
  void SetFrame(TChartPen* Value) { if (Frame()) Frame()->Assign(Value); }
  TMouseButton ScrollMouseButton() const { return FScrollMouseButton; }
  void SetScrollMouseButton(TMouseButton Value) { FScrollMouseButton = Value; }
  void SetBackColor(TColor Value);
  int ColorPaletteIndex() const { return FColorPaletteIndex; }
  void SetColorPaletteIndex(int Value) { FColorPaletteIndex = Value; }

  // ---- Abstract operations of the axis panel ----
  void ComputeWallsRect() override;
  int WallThickness(TChartAxis* Axis) override;
  void PlaceTitlesAndLegend(bool BeforeSeries) override;
  void PaintLegendBox(const TRect& R) override;
  void PaintWalls() override;
  std::string ValueLegendText(TChartSeries* Series, int Index) override;
  bool ColorIsFree(TColor Color, bool CheckBackground, TChartSeries* Series) override;
  TColor GetPanelColor() override;

  // ---- Walls (drawn by the chart) ----
  bool RightWallAfterSeries();
  bool LeftWallAfterSeries();
  void PaintRightWall();
  void PaintLeftWall();
  void PaintBackWall();
  void PaintBottomWall();
  void PaintWallsAfterSeries();

  // ---- Parts and names ----
  void PartAtPoint(TPoint P, TChartClickedPart& Part) { FindPartAtPoint(P, false, Part); }
  void FindPartAtPoint(TPoint P, bool OnlyClickable, TChartClickedPart& Part);
  std::string AxisDisplayName(TChartAxis* Axis) const;
  TChartSeries* FirstActiveSeries() const;
  bool SeriesUseAxes() const;
  std::string LegendRowText(TCustomChartLegend* Legend, int Row);

  // ---- Zoom and scales ----
  void ZoomToValues(double LeftMin, double LeftMax, double RightMin, double RightMax, double TopMin, double TopMax,
                    double BottomMin, double BottomMax);
  virtual void ZoomToRectangle();
  void RevertZoom() override;
  void SaveAxisScales();
  void RestoreAxisScales();
  bool ScalesRestored() const { return FScalesRestored; }
  const TAllAxisSavedScales& SavedScales() const { return FSavedScales; }

  // ---- Editors ----
  virtual void ListSeriesSourceItems() {}
  virtual void ListValueSourceItems(TChartValueList* List, const std::function<void(const std::string&)>& Proc);

  // ---- Events ----
  TChartAllowScrollEvent OnAllowScroll;
  TChartClickAxisEvent OnClickAxis;
  TChartClickEvent OnClickBackground;
  TChartClickEvent OnClickLegend;
  TChartClickSeriesEvent OnClickSeries;
  TChartClickTitleEvent OnClickTitle;
  TChartGetLegendPosEvent OnGetLegendPos;
  TChartGetLegendRectEvent OnGetLegendRect;
  TChartGetLegendTextEvent OnGetLegendText;

  // ---- Overrides ----
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
  bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
  bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
  void Assign(TPersistent* Source) override;
  void DefineProperties(TFiler* Filer) override;
  void DrawOnCanvas(TCanvas* ACanvas, const TRect& ARect) override;
  void DrawChartContents(const TRect& Bounds) override;

protected:
  // A chart of colour clNone shows its parent where it paints nothing.
  void CMColorChanged(TMessage& M) override;
  void WMEraseBkgnd(TMessage& M) override;
  void ZoomOrPanStart(TMouseButton Button, TShiftState Shift, int X, int Y, bool& Handled);
  bool PanDirection(bool Horizontal, int NewPos, int LastPos, bool& Moved);
  void BackgroundClick(TMouseButton Button, TShiftState Shift, int X, int Y, bool& Handled);
  bool CancelPattern(const std::function<void()>& Fire);
  void NotifyToolsMouse(int Kind, TMouseButton Button, TShiftState Shift, int X, int Y);
  void DrawTitles(bool CustomOnes);

  std::unique_ptr<TChartTitle> FFoot;
  std::unique_ptr<TChartLegend> FLegend;
  TAllAxisSavedScales FSavedScales;
  TMouseButton FScrollMouseButton = mbRight;
  std::unique_ptr<TChartTitle> FSubFoot;
  std::unique_ptr<TChartTitle> FSubTitle;
  std::unique_ptr<TChartTitle> FTitle;
  std::unique_ptr<TChartWalls> FWalls;
  bool FScalesRestored = true;
  int FColorPaletteIndex = 0;
  // The current pass draws the chart's own window while it shows its parent.
  bool FSeeThroughPass = false;
};

class TChart : public TCustomChart {
  ZV_CLASS(TChart)
public:
  explicit TChart(TComponent* AOwner) : TCustomChart(AOwner) {}
};

// ============================================================================
// Type registries, series utilities and palettes
// ============================================================================

// One registration: a series type, a function type, or a series type with a
// function. The texts are references to library text variables.
class TGrafSeriesType : public TObject {
public:
  std::string ClassName() const override { return "TGrafSeriesType"; }
  TClass SeriesClass = nullptr;
  TClass FunctionClass = nullptr;
  const std::string* Description = nullptr;
  const std::string* GalleryPage = nullptr;
  int GallerySeriesCount = 1;
};

class TGrafSeriesTypes : public TObject {
public:
  std::string ClassName() const override { return "TGrafSeriesTypes"; }
  int Count() const { return static_cast<int>(FItems.size()); }
  TGrafSeriesType* TypeAt(int Index) const { return FItems[static_cast<size_t>(Index)].get(); }
  // The first entry with that series class and no function class, or nil.
  TGrafSeriesType* EntryForClass(TClass SeriesClass) const;
  void Add(std::unique_ptr<TGrafSeriesType> Entry) { FItems.push_back(std::move(Entry)); }
  void RemoveIf(const std::function<bool(const TGrafSeriesType&)>& Predicate);
  void Clear() { FItems.clear(); }

private:
  std::vector<std::unique_ptr<TGrafSeriesType>> FItems;
};

class TGrafToolTypes : public TObject {
public:
  std::string ClassName() const override { return "TGrafToolTypes"; }
  int Count() const { return static_cast<int>(FItems.size()); }
  TClass ToolClassAt(int Index) const { return FItems[static_cast<size_t>(Index)]; }
  int IndexOf(TClass ToolClass) const;
  void Add(TClass ToolClass) { FItems.push_back(ToolClass); }
  void Remove(TClass ToolClass);
  void Clear() { FItems.clear(); }

private:
  std::vector<TClass> FItems;
};

TGrafSeriesTypes* SeriesTypeRegistry();
TGrafToolTypes* ToolTypeRegistry();
void RegisterSeriesType(TClass SeriesClass, const std::string* Description, const std::string* GalleryPage,
                        int GallerySeriesCount);
void RegisterStandardSeriesType(TClass SeriesClass, const std::string* Description);
void RegisterFunctionType(TClass FunctionClass, const std::string* Description, const std::string* GalleryPage,
                          int GallerySeriesCount);
void RegisterStandardFunctionType(TClass FunctionClass, const std::string* Description);
void AddSeriesTypeEntry(TClass SeriesClass, TClass FunctionClass, const std::string* Description,
                        int GallerySeriesCount, const std::string* GalleryPage);
void UnregisterSeriesTypes(std::initializer_list<TClass> SeriesClasses);
void UnregisterFunctionTypes(std::initializer_list<TClass> FunctionClasses);
std::string SeriesTypeDescription(const TChartSeries* Series);
void RegisterToolTypes(std::initializer_list<TClass> ToolClasses);
void UnregisterToolTypes(std::initializer_list<TClass> ToolClasses);

std::string UniqueSeriesName(const TComponent* Owner);
TChartSeries* CreateChartSeries(TComponent* Owner, TCustomAxisPanel* Chart, TClass SeriesClass,
                                TClass FunctionClass = nullptr);
TGrafFunction* CreateSeriesFunction(TChartSeries* Series, TClass FunctionClass);
TChartSeries* CloneSeries(TChartSeries* Series);
TChartSeries* CloneSeriesInto(TChartSeries* Series, TCustomAxisPanel* Chart);
TChartSeries* CloneSeriesOwned(TChartSeries* Series, TComponent* Owner, TCustomAxisPanel* Chart);
TChartSeries* ChangeSeriesClass(TChartSeries*& Series, TClass NewClass);
void TransferSeries(TChartSeries* Old, TChartSeries* New);
void DrawSeriesSymbolOn(TChartSeries* Series, TCanvas* Canvas, const TRect& R, TCustomChart* Chart = nullptr);
// A series pointer as a legend symbol, flat at the centre of R; its half
// sizes are limited to a third of R with a line drawn through it, else to
// half of R plus 1. A legend symbol with its own pen draws the pointer's
// outline with it (and a hidden pen means no line).
void DrawLegendPointer(TSeriesPointer* Pointer, TColor Color, const TRect& R, bool LineVisible);

// The named palettes: 0 "GrafChart" (the default palette) .. 9 "Win. XP".
TStringList* ColorPalettes();
// The colours of palette 1..9; empty for any other index.
std::vector<TColor> PaletteColors(int Index);
void ApplyPaletteByIndex(TCustomAxisPanel* Chart, int Index);
void CopyPaletteColors(TCustomAxisPanel* Chart, const std::vector<TColor>& Colors, int HighestIndex);

// Start-up of the chart unit: random seed, registries, palette names.
void ChartUnitStartup();
void ChartUnitShutdown();
