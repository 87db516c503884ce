// The chart engine: value lists, chart elements and the series base (points,
// drawing and legend hooks, data sources and the point stream, marks,
// pointers and callouts), the function base, series lists and groups, axis
// label items, the axes (scale, label steps and texts, drawing), the axes
// and tools lists, and the axis panel with its paint cycle.
//
// Series and axes depend on each other (a series converts values through its
// axes, an axis asks the chart's series for its range), and so do the axis
// panel and the paint cycle: everything of that circle is declared here.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "chart/core/grafattrs.h"
#include "chart/core/grafpanel.h"
#include "chart/core/grafshapes.h"
#include "chart/core/grafutils.h"
#include "chart/core/grcanvas.h"
#include "platform/rtl/stringlist.h"
#include "platform/ui/classes.h"

class TChartSeries;
class TCustomAxisPanel;
class TChartAxis;
class TGrafFunction;
class TCustomChartLegend;
class TSeriesMarks;
class TCustomSeriesList;
class TChartSeriesList;
class TStream;

ZV_DECLARE_EXCEPTION(ChartException, Exception)
ZV_DECLARE_EXCEPTION(AxisException, Exception)

// Colour sentinels of series points.
constexpr TColor clDefaultColor = clDefault;

// Text separators: lines, and the two columns of a legend text.
constexpr char LineSeparator = '\r';
constexpr char LegendColumnSeparator = '\x06';

// ---- Unit-wide values ------------------------------------------------------

// Growth of a value list's array when it is full (never doubling). A caller
// about to add many points may set it and restore it afterwards.
extern int ValueListGrowStep;
// The largest pixel coordinate the linear value-to-pixel conversions return.
extern int AxisPixelLimit;
// A real pixel position limited to +-AxisPixelLimit and rounded half to
// even (adding and taking away 1.5 x 2^52 rounds in the current rounding
// mode, as nearbyint does, without a library call); NaN gives 0.
inline int ClampAxisPixel(double P) {
  if (!(P == P)) return 0;
  const double limit = AxisPixelLimit;
  P = P < -limit ? -limit : (P > limit ? limit : P);
  constexpr double kRound = 6755399441055744.0;
  return static_cast<int>((P + kRound) - kRound);
}
// Random sample data at run time (the series of a chart asking for it).
extern bool RandomSampleDataAtRunTime;
// Arrow colours of callouts contrast with the point and the chart.
extern bool CalloutArrowContrast;

// Start-up of the engine unit: class groups, pixel limit, streaming classes.
// Runs once; charts call it as they are created.
void EngineUnitStartup();
void EngineUnitShutdown();
// Describes the axis line pen and the axis grid pen for streaming, with
// their own defaults and extras (once; their constructors call it too).
void RegisterEngineAttributeClasses();

// ============================================================================
// Value lists
// ============================================================================

enum TChartListOrder { loNone, loAscending, loDescending };
const TEnumInfo& ChartListOrderEnumInfo();

using TChartValues = std::vector<double>;

class TChartValueList : public TPersistent {
  ZV_CLASS(TChartValueList)
public:
  // Appends itself to the owner's value lists.
  TChartValueList(TChartSeries* Owner, const std::string& Name);
  ~TChartValueList() override;

  // ---- Virtual operations, in slot order ----
  // Stores the value as pending value and inserts it at its ordered place.
  virtual int AddValue(double Value);
  virtual void ClearValues();
  virtual void InsertValueAt(int Index, double Value);
  virtual void DeleteValueAt(int Index);

  // Inserts the pending value at its ordered position; returns it.
  int AddTempValue();
  double GetValue(int Index) const { return FValues[static_cast<size_t>(Index)]; }
  double operator[](int Index) const { return GetValue(Index); }
  // Stores, and tells the series' dependents that the point was modified.
  void SetValue(int Index, double Value);
  // Stores without telling anyone (series setters, statistics stale).
  void StoreValue(int Index, double Value) {
    FValues[static_cast<size_t>(Index)] = Value;
    FStatsStale = true;
  }
  // The Count() values, to be overwritten in place as StoreValue does (a
  // plot that changes every value of a long series on each update).
  std::span<double> ValuesToStore() {
    FStatsStale = true;
    return {FValues.data(), static_cast<size_t>(FCount)};
  }
  double FirstValue() const { return FValues[0]; }
  double LastValue() const { return FValues[static_cast<size_t>(FCount - 1)]; }
  int IndexOfValue(double Value) const;
  int IndexOfValueInRange(int First, int Last, double Value) const;
  double MaxValue();
  double MinValue();
  double Total();
  double TotalAbs();
  // Holds another total of absolute values until the list next changes
  // (a series that appends a summary point counted elsewhere).
  void OverrideTotalAbs(double Value) {
    RecalcTotals();
    FTotalAbs = Value;
  }
  double ValueRange();
  // Raises EAssertionFailed when the count exceeds the array length.
  int GetCount() const;
  int Count() const { return FCount; }
  // A negative count, or one larger than the array, is refused.
  void SetCount(int Value);
  int Capacity() const { return static_cast<int>(FValues.size()); }
  // Room for Extra more values at once (a known number of points to come).
  void ReserveValues(int Extra);
  void DeleteRange(int First, int Number);
  // Appends Count values at the end regardless of the order, growing the
  // storage in steps of ValueListGrowStep as single adds do.
  void AppendValues(const double* Values, int Count);
  void Exchange(int A, int B);
  int CompareValues(int A, int B) const;
  void SortByOrder();
  void FillWithIndices();
  void RotateValues();

  bool DateTime() const { return FDateTime; }
  void SetDateTime(bool Value);
  // DateTime and its stored default together, without repaint (series constructors).
  void SetDefaultDateTime(bool Value) { FDateTime = FDefaultDateTime = Value; }
  bool DefaultDateTime() const { return FDefaultDateTime; }
  const std::string& Name() const { return FName; }
  void SetName(const std::string& Value) { FName = Value; }
  TChartListOrder Order() const { return FOrder; }
  // Stores without sorting (the series sorts with SortByOrder when it must).
  void SetOrder(TChartListOrder Value) { FOrder = Value; }
  const std::string& ValueSource() const { return FValueSource; }
  void SetValueSource(const std::string& Value);
  TChartSeries* Owner() const { return FOwner; }

  // Copies Order, DateTime and ValueSource from another list.
  void Assign(TPersistent* Source) override;
  void DefineProperties(TFiler* Filer) override;

  // The pending value of the next ordered add or point add.
  double TempValue = 0;
  // The storage; its length is the capacity.
  const TChartValues& Values() const { return FValues; }

private:
  void Grow();
  // The extremes, and the sums apart: the axes ask for the extremes of a
  // series on every paint, and the sums take a chain of additions a value.
  void RecalcStats();
  void RecalcTotals();
  void ReadMultiplier(TReader* Reader);

  bool FDateTime = false;
  double FMaxValue = 0;
  double FMinValue = 0;
  std::string FName;
  TChartListOrder FOrder = loNone;
  TChartSeries* FOwner;
  double FTotal = 0;
  double FTotalAbs = 0;
  std::string FValueSource;
  bool FDefaultDateTime = false;
  int FCount = 0;
  TChartValues FValues;
  bool FStatsStale = true;   // all the statistics
  bool FTotalsStale = true;  // the sums, once the extremes are made again
};

// The series' value lists: X first, Y second, further lists in creation order.
class TChartValueLists : public TObject {
public:
  TChartValueLists() = default;
  ~TChartValueLists() override;
  TChartValueLists(const TChartValueLists&) = delete;
  TChartValueLists& operator=(const TChartValueLists&) = delete;
  std::string ClassName() const override { return "TChartValueLists"; }

  int Count() const { return static_cast<int>(FItems.size()); }
  TChartValueList* ListAt(int Index) const { return FItems[static_cast<size_t>(Index)]; }
  TChartValueList* operator[](int Index) const { return ListAt(Index); }
  void Add(TChartValueList* List) { FItems.push_back(List); }
  int IndexOf(const TChartValueList* List) const;
  // Frees every list, then empties itself.
  void Clear();
  auto begin() const { return FItems.begin(); }
  auto end() const { return FItems.end(); }

private:
  std::vector<TChartValueList*> FItems;
};

// ============================================================================
// Chart elements
// ============================================================================

class TCustomChartElement : public TComponent {
  ZV_CLASS(TCustomChartElement)
public:
  explicit TCustomChartElement(TComponent* AOwner);
  // Descendants that override SetParentChart leave their chart in their own
  // destructor (virtual calls do not reach them from here).
  ~TCustomChartElement() override;

  // ---- Virtual operations, in slot order ----
  virtual void PartChanged(TObject* Sender);
  // The class name of the element's editor form; empty here.
  virtual std::string EditorFormClassName() const { return ""; }
  virtual void SetActive(bool Value);
  virtual void SetParentChart(TCustomAxisPanel* Value);
  virtual void SetPen(TChartPen* Value);

  bool Active() const { return FActive; }
  TChartBrush* Brush() const { return FBrush.get(); }
  void SetBrush(TChartBrush* Value);
  TChartPen* Pen() const { return FPen.get(); }
  TCustomAxisPanel* ParentChart() const { return FParentChart; }
  bool ShowInEditor() const { return FShowInEditor; }
  void SetShowInEditor(bool Value) { FShowInEditor = Value; }
  // Created by code for internal use: not streamed with the chart.
  bool Internal = false;

  // From another element: Active (no repaint), brush, pen and Tag.
  void Assign(TPersistent* Source) override;
  // A new pen whose changes repaint the element's chart (caller owns it).
  std::unique_ptr<TChartPen> NewPen();
  // Invalidates the parent chart, when there is one.
  void RequestRedraw();

  // The universal setters: store and repaint only on a change.
  void ChangeBool(bool& Field, bool Value);
  void ChangeColor(TColor& Field, TColor Value);
  void ChangeInteger(int& Field, int Value);
  void ChangeDouble(double& Field, double Value);
  void ChangeString(std::string& Field, const std::string& Value);

  // Streaming re-attaches an element to its chart as its parent.
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;

protected:
  friend class TCustomAxisPanel;
  bool FActive = true;
  std::unique_ptr<TChartBrush> FBrush;
  TCustomAxisPanel* FParentChart = nullptr;
  std::unique_ptr<TChartPen> FPen;
  bool FShowInEditor = true;
};

// The editor form class name of an element class (empty for a class that
// cannot be created).
std::string ElementEditorClassName(TClass ElementClass);

// Bits 0..5 of a series' style; streamed and copied, read by no core code.
enum TChartSeriesStyleItem { csfTemplate, csfFixedType, csfUndeletable, csfNoClone, csfPersistent, csfHideSource };
using TChartSeriesStyle = TEnumSet<TChartSeriesStyleItem>;

class TCustomChartSeries : public TCustomChartElement {
  ZV_CLASS(TCustomChartSeries)
public:
  explicit TCustomChartSeries(TComponent* AOwner);

  // ---- Virtual operations, in slot order ----
  virtual void GetHorizMargins(int& Left, int& Right);
  virtual void GetVertMargins(int& Top, int& Bottom);
  virtual void PrepareChartDraw() {}

  // ---- Dynamic operations ----
  virtual void SeriesAdded() {}
  virtual void ApplyGallery3D(bool Value);
  virtual void SeriesRemoved();

  void SetActive(bool Value) override;
  bool ShowInLegend() const { return FShowInLegend; }
  void SetShowInLegend(bool Value);
  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& Value);
  const std::string& Identifier() const { return FIdentifier; }
  void SetIdentifier(const std::string& Value) { FIdentifier = Value; }
  TChartSeriesStyle Style() const { return FStyle; }
  void SetStyle(TChartSeriesStyle Value) { FStyle = Value; }

  // Either series is an instance of the other's class.
  bool ClassCompatible(const TCustomChartSeries* Other) const;
  // Tells an attached designer that the chart changed.
  void RefreshDesigner();

  // From another TCustomChartSeries: ShowInLegend, Title, style and
  // identifier; then the element's assignment.
  void Assign(TPersistent* Source) override;
  void DefineProperties(TFiler* Filer) override;

protected:
  bool FShowInLegend = true;
  std::string FTitle;
  std::string FIdentifier;
  TChartSeriesStyle FStyle;
};

// ============================================================================
// Series points, labels and sources
// ============================================================================

enum THorizAxis { aTopAxis, aBottomAxis, aBothHorizAxis, aCustomHorizAxis };
enum TVertAxis { aLeftAxis, aRightAxis, aBothVertAxis, aCustomVertAxis };
const TEnumInfo& HorizAxisEnumInfo();
const TEnumInfo& VertAxisEnumInfo();

enum TLegendTextStyle {
  ltsPlain, ltsLeftValue, ltsRightValue, ltsLeftPercent, ltsRightPercent, ltsXValue, ltsValue, ltsPercent,
  ltsXAndValue, ltsXAndPercent
};
const TEnumInfo& LegendTextStyleEnumInfo();

// Which changes of a source series a dependent recalculates on.
enum TSeriesRecalcOption { rOnDelete, rOnModify, rOnInsert, rOnClear };
using TSeriesRecalcOptions = TEnumSet<TSeriesRecalcOption>;

// Series-to-dependent change codes.
enum TSeriesChangeCode { scCleared = 0, scAdded = 1, scDeleted = 2, scRefresh = 3, scModified = 4 };

using TSeriesOnBeforeAdd = std::function<bool(TChartSeries* Sender)>;
using TSeriesOnAfterAdd = std::function<void(TChartSeries* Sender, int ValueIndex)>;
using TSeriesOnClear = std::function<void(TChartSeries* Sender)>;
using TSeriesOnGetMarkText = std::function<void(TChartSeries* Sender, int ValueIndex, std::string& MarkText)>;
using TSeriesClick =
    std::function<void(TChartSeries* Sender, int ValueIndex, TMouseButton Button, TShiftState Shift, int X, int Y)>;

// One label per point index, each empty or a text; it may be shorter than the
// point count (an index beyond it has no label).
class TLabelsList : public TObject {
public:
  explicit TLabelsList(TChartSeries* Series) : FSeries(Series) {}
  std::string ClassName() const override { return "TLabelsList"; }

  int Count() const { return static_cast<int>(FItems.size()); }
  // Empty beyond the list or for an empty entry.
  std::string LabelAt(int Index) const;
  // Pads the list for a text; repaints the series.
  void SetLabelAt(int Index, const std::string& Text);
  void InsertTextAt(int Index, const std::string& Text);
  void RemoveTextAt(int Index);
  void Assign(const TLabelsList& Other);
  void Clear() { FItems.clear(); }
  void Exchange(int A, int B);
  // Removes up to Number entries from Index (as far as the list reaches).
  void DeleteRange(int Index, int Number);

private:
  TChartSeries* FSeries;
  std::vector<std::string> FItems;
};

// The data sources of a series; removing an entry by any means tells the
// series (DetachSource).
class TDataSourcesList : public TObject {
public:
  explicit TDataSourcesList(TChartSeries* Series) : FSeries(Series) {}
  ~TDataSourcesList() override;
  std::string ClassName() const override { return "TDataSourcesList"; }

  int Count() const { return static_cast<int>(FItems.size()); }
  TComponent* Items(int Index) const { return FItems[static_cast<size_t>(Index)]; }
  TComponent* operator[](int Index) const { return Items(Index); }
  int IndexOf(const TComponent* Item) const;
  // Keeps the other sources.
  int AddSource(TComponent* Source);
  void Delete(int Index);
  // The series leaves the dependents of its source series; the list empties;
  // the points go unless the data is manual.
  void Clear();
  // Appends without any check (AttachSource).
  int Append(TComponent* Source);
  // Puts New in the place of Old (once), without detaching anything.
  void ReplaceItem(TComponent* Old, TComponent* New);

private:
  friend class TChartSeries;
  void Removed(TComponent* Item);
  TChartSeries* FSeries;
  std::vector<TComponent*> FItems;
};

// A non-visual component that fills a series (database tables, files ...).
class TGrafSeriesSource : public TComponent {
  ZV_CLASS(TGrafSeriesSource)
public:
  explicit TGrafSeriesSource(TComponent* AOwner);
  ~TGrafSeriesSource() override;

  // ---- Virtual operations, in slot order ----
  virtual void SetActive(bool Value);
  virtual bool SourceAvailable(TCustomAxisPanel*) { return true; }
  virtual std::string Description() { return ""; }
  virtual TClass SourceEditorClass() { return nullptr; }
  virtual bool CanCreateSeries() { return false; }
  virtual bool FeedsSeries(TChartSeries* Series);
  virtual void Close();
  // Fills the series; nothing here.
  virtual void Load() {}
  virtual void Open();

  bool Active() const { return FActive; }
  bool LoadMode = false;
  TChartSeries* Series() const { return FSeries; }
  void SetSeries(TChartSeries* Value);
  void ReloadIfActive();
  void Loaded() override;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  friend class TChartSeries;
  bool FActive = false;
  TChartSeries* FSeries = nullptr;
};

// The series-source classes the chart editor offers.
std::vector<TClass>& SeriesSourceClassList();

// ============================================================================
// Marks, pointer and callouts
// ============================================================================

enum TSeriesMarksStyle {
  smsValue, smsPercent, smsLabel, smsLabelPercent, smsLabelValue, smsLegend, smsPercentTotal,
  smsLabelPercentTotal, smsXValue, smsXY
};
const TEnumInfo& SeriesMarksStyleEnumInfo();

class TSeriesMarkPosition : public TObject {
public:
  std::string ClassName() const override { return "TSeriesMarkPosition"; }
  TPoint ArrowFrom;
  bool ArrowFix = false;
  TPoint ArrowTo;
  bool Custom = false;
  int Height = 0;
  TPoint LeftTop;
  int Width = 0;

  // Arrow start, arrow end, left-top, height and width.
  void CopyPositionFrom(const TSeriesMarkPosition& Other);
  TRect ToRect() const { return Bounds(LeftTop.X, LeftTop.Y, Width, Height); }
};

// Stored mark positions by point index; entries may be empty.
class TSeriesMarksPositions : public TObject {
public:
  std::string ClassName() const override { return "TSeriesMarksPositions"; }
  int Count() const { return static_cast<int>(FItems.size()); }
  // None beyond the list or for an empty entry.
  TSeriesMarkPosition* PositionAt(int Index) const;
  // The entry at Index, created (padding the list) when missing.
  TSeriesMarkPosition* EnsureAt(int Index);
  void StoreCustom(int Index, const TSeriesMarkPosition& Position);
  bool HasCustom() const;
  void Append(std::unique_ptr<TSeriesMarkPosition> Position) { FItems.push_back(std::move(Position)); }
  void Delete(int Index);
  void DeleteRange(int Index, int Number);
  void Exchange(int A, int B);
  void Clear() { FItems.clear(); }

private:
  std::vector<std::unique_ptr<TSeriesMarkPosition>> FItems;
};

// The look and text of one point's mark.
class TMarksItem : public TGrafCustomShape {
  ZV_CLASS(TMarksItem)
public:
  explicit TMarksItem(TCustomGrafPanel* Panel = nullptr);
  ~TMarksItem() override;
  // Created on first use; its changes repaint the chart.
  TStringList* Text();
  bool HasText() const { return FText && FText->Count() > 0; }
  void SetText(TStringList* Value);

private:
  std::unique_ptr<TStringList> FText;
};

class TMarksItems : public TObject {
public:
  explicit TMarksItems(TSeriesMarks* Marks) : FMarks(Marks) {}
  std::string ClassName() const override { return "TMarksItems"; }
  int Count() const { return static_cast<int>(FItems.size()); }
  // The item of a point, created (padding the list) on first access.
  TMarksItem* ItemAt(int Index);
  TMarksItem* Peek(int Index) const;
  // Frees all items and repaints the chart.
  void Clear();
  void Delete(int Index);
  void Exchange(int A, int B);
  bool ItemsLoaded = false;

private:
  friend class TSeriesMarks;
  TSeriesMarks* FMarks;
  std::vector<std::unique_ptr<TMarksItem>> FItems;
};

// The small colour square inside a mark.
class TSeriesMarksSymbol : public TGrafCustomShape {
  ZV_CLASS(TSeriesMarksSymbol)
public:
  explicit TSeriesMarksSymbol(TCustomGrafPanel* Panel = nullptr);
  void SetShadowDefaults(TGrafShadow* AShadow) override;
  bool IsPaintable() const { return Visible() && !Transparent(); }
};

enum TSeriesPointerStyle {
  psRectangle, psCircle, psTriangle, psDownTriangle, psCross, psDiagCross, psStar, psDiamond, psSmallDot,
  psNothing, psLeftTriangle, psRightTriangle
};
enum TArrowHeadStyle { ahNone, ahLine, ahSolid };
const TEnumInfo& SeriesPointerStyleEnumInfo();
const TEnumInfo& ArrowHeadStyleEnumInfo();

// The symbol a series draws at a point, flat or as a solid 3D body.
class TSeriesPointer : public TGrafCustomShapeBrushPen {
  ZV_CLASS(TSeriesPointer)
public:
  explicit TSeriesPointer(TChartSeries* Series = nullptr);
  ~TSeriesPointer() override;
  void Assign(TPersistent* Source) override;

  bool SizeAdjustable = true;
  // What counts as the default of Visible when the pointer is stored.
  bool VisibleDefault = true;
  bool Dark3D() const { return FDark3D; }
  void SetDark3D(bool Value);
  bool Draw3D() const { return FDraw3D; }
  void SetDraw3D(bool Value);
  bool FullGradient = false;
  TGrafGradient* Gradient() const { return FGradient.get(); }
  void SetGradient(TCustomGrafGradient* Value) { FGradient->Assign(Value); }
  int HorizSize() const { return FHorizSize; }
  void SetHorizSize(int Value);
  bool InflateMargins() const { return FInflateMargins; }
  void SetInflateMargins(bool Value);
  TChartSeries* Series() const { return FSeries; }
  TSeriesPointerStyle Style() const { return FStyle; }
  void SetStyle(TSeriesPointerStyle Value);
  TGrafTransparency Transparency() const { return FTransparency; }
  void SetTransparency(TGrafTransparency Value);
  int VertSize() const { return FVertSize; }
  void SetVertSize(int Value);

  // Raises ChartException for sizes of 0 or less.
  static void ValidateSize(int Value);
  void StoreHorizSize(int Value) { FHorizSize = Value; }
  void StoreVertSize(int Value) { FVertSize = Value; }
  TColor BrushColor() const;
  void SetBrushColor(TColor Value);
  void WidenHorizMargins(int& Left, int& Right) const;
  void WidenVertMargins(int& Top, int& Bottom) const;
  void SetupCanvas(TCanvas3D* Canvas, TColor Color);
  void ApplyOwnColor();
  void DrawShapeAt(TCanvas3D* Canvas, bool Is3D, int X, int Y, int HorizSize, int VertSize, TColor Color,
                   TSeriesPointerStyle Style);
  void DrawStyled(int X, int Y, TSeriesPointerStyle Style, TColor Color);
  void DrawAtXY(int X, int Y) { DrawStyled(X, Y, FStyle, BrushColor()); }
  void DrawAtPoint(TPoint P) { DrawAtXY(P.X, P.Y); }

protected:
  void PointerChanged();
  TCanvas3D* ChartCanvas() const;
  bool ChartIs3D() const;
  void DepthsOf(int& StartZ, int& MiddleZ, int& EndZ) const;

  bool FDark3D = true;
  bool FDraw3D = true;
  std::unique_ptr<TGrafGradient> FGradient;
  int FHorizSize = 4;
  bool FInflateMargins = true;
  TChartSeries* FSeries;
  TSeriesPointerStyle FStyle = psRectangle;
  TGrafTransparency FTransparency = 0;
  int FVertSize = 4;
};

// A pointer with an arrow from one point to another.
class TCallout : public TSeriesPointer {
  ZV_CLASS(TCallout)
public:
  explicit TCallout(TChartSeries* Series = nullptr);
  void Assign(TPersistent* Source) override;

  TChartPen* Arrow() const { return FArrow.get(); }
  void SetArrow(TChartPen* Value) { FArrow->Assign(Value); }
  TArrowHeadStyle ArrowHead() const { return FArrowHead; }
  void SetArrowHead(TArrowHeadStyle Value);
  int ArrowHeadSize() const { return FArrowHeadSize; }
  void SetArrowHeadSize(int Value);
  int Distance() const { return FDistance; }
  void SetDistance(int Value);

  void PaintArrow(TColor Color, TPoint From, int Z, TPoint To);

protected:
  std::unique_ptr<TWhitePen> FArrow;
  TArrowHeadStyle FArrowHead = ahNone;
  int FArrowHeadSize = 8;
  int FDistance = 0;
};

class TMarksCallout : public TCallout {
  ZV_CLASS(TMarksCallout)
public:
  explicit TMarksCallout(TChartSeries* Series = nullptr);
  void Assign(TPersistent* Source) override;
  int Length() const { return FLength; }
  void SetLength(int Value);
  // What counts as the default of Length when the callout is stored.
  int LengthDefault = 8;
  void ExtendToCalloutLength(TSeriesMarkPosition& Position) const;

private:
  int FLength = 8;
};

class TSeriesMarksGradient : public TGrafGradient {
  ZV_CLASS(TSeriesMarksGradient)
public:
  explicit TSeriesMarksGradient(TNotifyEvent OnChange = {});
};

class TSeriesMarks : public TGrafCustomShape {
  ZV_CLASS(TSeriesMarks)
public:
  explicit TSeriesMarks(TChartSeries* Series = nullptr);
  ~TSeriesMarks() override;
  void Assign(TPersistent* Source) override;
  void DefineProperties(TFiler* Filer) override;
  void SetShadowDefaults(TGrafShadow* AShadow) override;

  int Angle() const { return FAngle; }
  void SetAngle(int Value);
  // Created on first use.
  TMarksCallout* Callout();
  bool HasCallout() const { return FCallout != nullptr; }
  // Nil frees it; anything else is copied into it.
  void SetCallout(TMarksCallout* Value);
  TChartPen* Arrow() { return Callout()->Arrow(); }
  void SetArrow(TChartPen* Value) { Callout()->SetArrow(Value); }
  int ArrowLength() { return Callout()->Length(); }
  void SetArrowLength(int Value) { Callout()->SetLength(Value); }
  TColor BackColor() const { return Color(); }
  void SetBackColor(TColor Value) { SetColor(Value); }
  bool Clip() const { return FClip; }
  void SetClip(bool Value);
  int DrawEvery() const { return FDrawEvery; }
  void SetDrawEvery(int Value);
  TMarksItems* Items() const { return FItems.get(); }
  TSeriesMarksStyle Style() const { return FStyle; }
  void SetStyle(TSeriesMarksStyle Value);
  bool MultiLine() const { return FMultiLine; }
  void SetMultiLine(bool Value);
  TChartSeries* Series() const { return FSeries; }
  TSeriesMarksPositions* Positions() const { return FPositions.get(); }
  // Created on first use.
  TSeriesMarksSymbol* Symbol();
  bool HasSymbol() const { return FSymbol != nullptr; }
  void SetSymbol(TSeriesMarksSymbol* Value);
  int ZPosition = 0;

  void PaintMarkAt(int Index, TColor Color, TSeriesMarkPosition& Position, const std::string& Text);
  // The point's item when the index lies inside the items list, else the marks.
  TGrafCustomShape* ItemOfPoint(int Index);
  void ApplyCustomPosition(int Index, TSeriesMarkPosition& Position);
  void ApplyCalloutLength(TSeriesMarkPosition& Position);
  void AvoidOverlap(int First, int Current, TSeriesMarkPosition& Position);
  int MarkAtPoint(int X, int Y);
  int WidestLineWidth(int Index);
  TPoint FlattenPosition(TPoint ArrowTo, TPoint LeftTop);
  void ClearCustomPositions();
  // Frees the stored positions, and the items unless they were loaded.
  void Clear();
  void SetParent(TCustomGrafPanel* Chart);
  // The chart the marks draw on.
  TCustomAxisPanel* ParentChart() const;

protected:
  std::unique_ptr<TGrafGradient> CreateGradient() override;

private:
  TRect OverlapRect(const TSeriesMarkPosition& P);
  void WriteItems(TStream* Stream);
  void ReadItems(TStream* Stream);

  int FAngle = 0;
  std::unique_ptr<TMarksCallout> FCallout;
  bool FClip = false;
  int FDrawEvery = 1;
  std::unique_ptr<TMarksItems> FItems;
  TSeriesMarksStyle FStyle = smsLabel;
  bool FMultiLine = false;
  TChartSeries* FSeries;
  std::unique_ptr<TSeriesMarksPositions> FPositions;
  std::unique_ptr<TSeriesMarksSymbol> FSymbol;
};

// ============================================================================
// The series base
// ============================================================================

class TCustomSeriesList : public TObject {
public:
  explicit TCustomSeriesList(TCustomAxisPanel* Owner = nullptr) : FOwner(Owner) {}
  std::string ClassName() const override { return "TCustomSeriesList"; }

  int Count() const { return static_cast<int>(FItems.size()); }
  TChartSeries* ItemAt(int Index) const { return FItems[static_cast<size_t>(Index)]; }
  TChartSeries* operator[](int Index) const { return ItemAt(Index); }
  int IndexOf(const TChartSeries* Series) const;
  int Add(TChartSeries* Series);
  void Insert(int Index, TChartSeries* Series);
  void Delete(int Index);
  int Remove(TChartSeries* Series);
  void Exchange(int A, int B);
  void Clear() { FItems.clear(); }
  void SetItemAt(int Index, TChartSeries* Series) { FItems[static_cast<size_t>(Index)] = Series; }
  bool AllSeriesActive() const;
  void SetAllSeriesActive(bool Value);
  TCustomAxisPanel* Owner() const { return FOwner; }
  void SetOwner(TCustomAxisPanel* Value) { FOwner = Value; }
  auto begin() const { return FItems.begin(); }
  auto end() const { return FItems.end(); }

protected:
  TCustomAxisPanel* FOwner;
  std::vector<TChartSeries*> FItems;
};

class TChartSeries : public TCustomChartSeries {
  ZV_CLASS(TChartSeries)
public:
  explicit TChartSeries(TComponent* AOwner);
  ~TChartSeries() override;

  // ---- Virtual operations, in slot order ----
  virtual int AddCopiedValues(TChartSeries* Source, int Index);
  virtual void AddCopiedPoint(TChartSeries* Source, int Index);
  virtual void CopyValuesFrom(TChartSeries* Source);
  virtual void FindVisibleRange();
  virtual void AssignZOrder();
  virtual void PlaceInDepth();
  virtual void EmptyAllLists();
  virtual void EnumGalleryStyles(const std::function<void(const std::string&)>& Proc);
  virtual void SourcePointDeleted(TChartSeries* Source, int Index);
  virtual void EndDrawValues();
  virtual void BeginDrawValues();
  virtual void DrawVisiblePoints();
  virtual void PaintLegendSymbol(int Row, const TRect& R);
  virtual void DrawPointMark(int Index, const std::string& Text, TSeriesMarkPosition& Position);
  virtual void DrawPoint(int) {}
  virtual TColor PointColor(int Index);
  virtual double XValueAt(int Index) { return FXValues->GetValue(Index); }
  virtual double YValueAt(int Index) { return FYValues->GetValue(Index); }
  virtual void PointAdded(TChartSeries* Sender, int Index);
  virtual void NotifyDependentSeries(int Code, int Index);
  virtual bool SharesZOrder();
  virtual void AdjustLegendCanvas(int Row, TColor& BackColor, TBrushStyle& BrushStyle);
  virtual void SetColorEachPoint(bool Value);
  virtual void SetSeriesColor(TColor Value);
  virtual void ApplyGalleryStyle(TChartSeries*, int) {}
  virtual TChartValueList* ValuesForAxis(TChartAxis* Axis);
  virtual int AddSingleValue(double Value, const std::string& Label = "", TColor Color = clDefault);
  virtual int AddBlankValue(const std::string& Label = "");
  virtual int AddBlankXY(double X, double Y, const std::string& Label = "");
  virtual int AddXYPoint(double X, double Y, const std::string& Label = "", TColor Color = clDefault);
  // Adds Count points as AddXYPoint does (no labels, default colour) with
  // updates suspended, and tells once that the data changed. Points that
  // extend the lists at their end (the usual case: X in the lists' order)
  // are stored in bulk.
  virtual void AddArray(const double* X, const double* Y, int Count);
  virtual bool IsOnAxis(TChartAxis* Axis);
  virtual void RemoveAllPoints();
  virtual int LegendEntryCount() { return PointCount(); }
  virtual void RemovePoint(int Index);
  virtual void RemovePointRange(int Index, int Number, bool Renumber = false);
  virtual int MapValueIndex(int Index) { return Index; }
  virtual TColor LegendSymbolColor(int Row) { return PointColor(Row); }
  virtual std::string ComposeLegendText(int Index, TLegendTextStyle Style);
  virtual double LargestX() { return FXValues->MaxValue(); }
  virtual double LargestY() { return FYValues->MaxValue(); }
  virtual double LargestZ() { return CurrentDepthIndex(); }
  virtual double SmallestX() { return FXValues->MinValue(); }
  virtual double SmallestY() { return FYValues->MinValue(); }
  virtual double SmallestZ() { return CurrentDepthIndex(); }
  virtual int PointXPixel(int Index);
  virtual int PointYPixel(int Index);
  virtual TChartValueList* ValueListByName(const std::string& Name);
  virtual int IndexAtPoint(int, int) { return -1; }
  virtual double StartValueAt(int Index) { return MainValueAt(Index); }
  virtual double MainValueAt(int Index) { return FMainList->GetValue(Index); }
  virtual bool DrawsAscending();
  virtual bool DrawForwardAt(int Index);
  virtual void PaintLegendItem(int Row, const TRect& R);
  virtual bool HasAxes() { return true; }
  virtual void AssignFunction(TGrafFunction* Function);

  // ---- Dynamic operations ----
  void SeriesAdded() override;
  void SeriesRemoved() override;
  virtual void GenerateRandomPoints(int Count, bool MainValuesOnly);
  virtual void SetupGalleryPreview(bool Enabled);
  virtual void SavePointData(TStream* Stream);
  virtual void ResortIfOrdered();
  virtual void LoadDemoData(int NumValues = 0);
  virtual bool CanSourceFor(TChartSeries* Series) { return Series != this; }
  virtual bool AcceptsSeriesAsSource(TChartSeries* Series);
  virtual int DefaultSampleCount() { return 25; }
  virtual void ExchangePoints(int A, int B);

  void SetParentChart(TCustomAxisPanel* Value) override;
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
  void Assign(TPersistent* Source) override;
  void DefineProperties(TFiler* Filer) override;
  void Loaded() override;

  // ---- Points ----
  int PointCount() const { return FXValues->Count(); }
  int Count() const { return PointCount(); }
  void SetXValueAt(int Index, double Value);
  void SetYValueAt(int Index, double Value);
  bool PointIsNull(int Index) { return PointColor(Index) == clNone; }
  TColor RawPointColor(int Index) const;
  void SetPointColor(int Index, TColor Value);
  void CreateColorList();
  bool HasColorList() const { return FColors != nullptr; }
  TColor GetSeriesColor() const;
  TColor SeriesColor() const { return GetSeriesColor(); }
  void BroadcastColorChange();
  // The chart's automatic colour, set when the series colour is clDefault.
  void SetAutomaticColor(TColor Value) { FAutoColor = Value; }
  TColor StoredColor() const { return FColor; }
  std::string PointLabel(int Index) const { return FLabels->LabelAt(Index); }
  void SetPointLabel(int Index, const std::string& Text) { FLabels->SetLabelAt(Index, Text); }
  TLabelsList* Labels() const { return FLabels.get(); }
  void SuspendUpdates();
  void ResumeUpdates();
  int UpdateCount() const { return FUpdateCount; }
  void NotifyDataChanged();
  void MousePosToValues(double& X, double& Y);
  bool TrackMouse(int X, int Y);
  void LoadValuesFrom(TChartSeries* Source) { CopyValuesFrom(Source); }
  void CopyFormatFrom(TChartSeries* Source);
  void SetHorizontalOrientation();
  static int RandomInteger(int Range);
  bool SampleDataAllowed() const;
  // Minimum X, X step, minimum Y, Y span and the first Y of sample points.
  void PrepareSampleRange(int Count, double& MinX, double& StepX, double& MinY, double& SpanY, double& FirstY);

  // ---- Drawing helpers (3.121) ----
  int FirstDrawnIndex() { return DrawsAscending() ? FirstVisible : LastVisible; }
  int CurrentDepthIndex() const { return FZOrder >= 0 ? FZOrder : AutoZOrder; }
  bool LeadsDepthGroup();
  int HorizPixelOf(double Value);
  int VertPixelOf(double Value);
  int ValueAxisPixelOf(double Value);
  TChartAxis* ValueAxis() const { return FVertical ? FVertAxisInUse : FHorizAxisInUse; }
  void PageIndexRange(int& First, int& Last);
  int WidestVisibleMark();

  // ---- Marks (3.123) ----
  std::string BuildMarkText(int Index);
  std::string PercentMarkText(int Index, bool WithTotal);
  void DrawVisibleMarks();

  // ---- Sources (3.122) ----
  TComponent* QueryDataSource() const { return FDataSources->Count() > 0 ? FDataSources->Items(0) : nullptr; }
  TComponent* DataSource() const { return QueryDataSource(); }
  void SetDataSource(TComponent* Value);
  TDataSourcesList* DataSources() const { return FDataSources.get(); }
  int ReplaceSources(TComponent* Source, bool Replace);
  int AttachSource(TComponent* Source);
  void DetachSource(TComponent* Source);
  bool AcceptsAsSource(TComponent* Source);
  void GuardCircularSource(TChartSeries* Source);
  void UnlinkAllDependents();
  void RefreshFromSource();
  void AddDependent(TChartSeries* Series);
  void RemoveDependent(TChartSeries* Series);
  TCustomSeriesList* Dependents() const { return FDependents.get(); }
  void LoadPointData(TStream* Stream);

  // ---- Properties ----
  bool ColorEachPoint() const { return FColorEachPoint; }
  const std::string& ColorSource() const { return FColorSource; }
  void SetColorSource(const std::string& Value);
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor Value) { FCursor = Value; }
  int Depth() const { return FDepth; }
  void SetDepth(int Value) { ChangeInteger(FDepth, Value); }
  THorizAxis HorizAxis() const { return FHorizAxis; }
  void SetHorizAxis(THorizAxis Value);
  TVertAxis VertAxis() const { return FVertAxis; }
  void SetVertAxis(TVertAxis Value);
  TChartAxis* CustomHorizAxis() const { return FCustomHorizAxis; }
  void SetCustomHorizAxis(TChartAxis* Value);
  TChartAxis* CustomVertAxis() const { return FCustomVertAxis; }
  void SetCustomVertAxis(TChartAxis* Value);
  // The axes in use.
  TChartAxis* GetHorizAxis() const { return FHorizAxisInUse; }
  TChartAxis* GetVertAxis() const { return FVertAxisInUse; }
  void ResolveAxes();
  TSeriesMarks* Marks() const { return FMarks.get(); }
  void SetMarks(TSeriesMarks* Value) { FMarks->Assign(Value); }
  const std::string& PercentFormat() const { return FPercentFormat; }
  void SetPercentFormat(const std::string& Value) { ChangeString(FPercentFormat, Value); }
  const std::string& ValueFormat() const { return FValueFormat; }
  void SetValueFormat(const std::string& Value) { ChangeString(FValueFormat, Value); }
  const std::string& XLabelsSource() const { return FXLabelsSource; }
  void SetXLabelsSource(const std::string& Value);
  TChartValueLists* ValuesList() const { return FValueLists.get(); }
  TChartValueList* XValues() const { return FXValues; }
  void SetXValues(TChartValueList* Value) { ReplaceValueList(FXValues, Value); }
  TChartValueList* YValues() const { return FYValues; }
  void SetYValues(TChartValueList* Value) { ReplaceValueList(FYValues, Value); }
  TChartValueList* MainList() const { return FMainList; }
  TChartValueList* OtherList() const { return FOtherList; }
  bool IsVertical() const { return FVertical; }
  int ZOrder() const { return FZOrder; }
  void SetZOrder(int Value) { ChangeInteger(FZOrder, Value); }
  TSeriesRecalcOptions RecalcOptions() const { return FRecalcOptions; }
  void SetRecalcOptions(TSeriesRecalcOptions Value) { FRecalcOptions = Value; }
  TGrafFunction* FunctionType() const { return FFunction; }
  void SetFunctionType(TGrafFunction* Value) { AssignFunction(Value); }
  // Forgets the function without freeing it (the function moved away).
  void ForgetFunction(TGrafFunction* Function);

  // ---- Events ----
  TNotifyEvent AfterDrawValues;
  TNotifyEvent BeforeDrawValues;
  TSeriesOnAfterAdd OnAfterAdd;
  TSeriesOnBeforeAdd OnBeforeAdd;
  TSeriesOnClear OnClearValues;
  TSeriesClick OnClick;
  TSeriesClick OnDblClick;
  TSeriesOnGetMarkText OnGetMarkText;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

  // ---- Plain state ----
  bool DontSaveData = false;
  bool ForceSaveData = false;
  bool ManualData = false;
  int FirstVisible = -1;
  int LastVisible = -1;
  int SampleCount = 0;
  bool SingleColor = true;
  bool XValuesMeaningful = true;
  int AutoZOrder = 0;
  TCustomChartLegend* LegendLink = nullptr;
  bool CalcVisibleRange = true;
  bool IncludePointAfterRange = false;
  bool SinglePointResults = true;
  int StartZ = 0;
  int MiddleZ = 0;
  int EndZ = 0;
  // 3D series types place points in depth themselves and never share a slot.
  bool OwnDepth = false;
  bool MouseInside = false;
  // The chart's cursor before this series changed it.
  TCursor ChartCursorBefore = crDefault;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void ReplaceValueList(TChartValueList* Own, TChartValueList* Value);
  void SetMainAndOther(TChartValueList* Main, TChartValueList* Other, bool Vertical);
  void ReadDataSources(TReader* Reader);
  void WriteDataSources(TWriter* Writer);

  TColor FColor = clDefault;
  bool FColorEachPoint = false;
  std::unique_ptr<std::vector<TColor>> FColors;
  std::string FColorSource;
  TCursor FCursor = 0;
  std::unique_ptr<TDataSourcesList> FDataSources;
  int FDepth = -1;
  TChartAxis* FHorizAxisInUse = nullptr;
  TChartAxis* FVertAxisInUse = nullptr;
  std::string FXLabelsSource;
  std::unique_ptr<TCustomSeriesList> FDependents;
  std::unique_ptr<TSeriesMarks> FMarks;
  std::string FPercentFormat;
  std::unique_ptr<std::vector<std::string>> FPendingSourceNames;
  std::string FValueFormat;
  std::unique_ptr<TChartValueLists> FValueLists;
  TChartValueList* FXValues = nullptr;
  std::unique_ptr<TLabelsList> FLabels;
  TChartValueList* FYValues = nullptr;
  THorizAxis FHorizAxis = aBottomAxis;
  TChartAxis* FCustomHorizAxis = nullptr;
  TChartAxis* FCustomVertAxis = nullptr;
  int FZOrder = -1;
  TVertAxis FVertAxis = aLeftAxis;
  TSeriesRecalcOptions FRecalcOptions = {rOnDelete, rOnModify, rOnInsert, rOnClear};
  TGrafFunction* FFunction = nullptr;
  TColor FAutoColor = clDefault;
  int FUpdateCount = 0;
  TChartValueList* FMainList = nullptr;
  TChartValueList* FOtherList = nullptr;
  bool FVertical = true;
  bool FDestroyingSeries = false;

  friend class TDataSourcesList;
  friend class TGrafFunction;
};

// Content tests of the point stream and the data exporters.
bool HasExplicitXValues(TChartSeries* Series);
bool HasOwnPointColors(TChartSeries* Series);
bool HasPointLabels(TChartSeries* Series);
// 1 explicit X values, 2 own colours, 4 labels, 8 custom mark positions.
int SeriesDataContents(TChartSeries* Series);

// ============================================================================
// Functions
// ============================================================================

enum TFunctionPeriodStyle { psNumPoints, psRange };
enum TFunctionPeriodAlign { paFirst, paCenter, paLast };
const TEnumInfo& FunctionPeriodStyleEnumInfo();
const TEnumInfo& FunctionPeriodAlignEnumInfo();

class TGrafFunction : public TComponent {
  ZV_CLASS(TGrafFunction)
public:
  explicit TGrafFunction(TComponent* AOwner);
  ~TGrafFunction() override;

  // ---- Virtual operations, in slot order ----
  virtual void ComputePeriodPoint(TChartSeries* Source, int First, int Last, double Position);
  virtual void ComputeWhole(TChartSeries* Source, TChartValueList* Other);
  virtual void ComputeByPeriods(TChartSeries* Source, TChartValueList* Other);
  virtual void RunCalculation(TChartSeries* Source, TChartValueList* Other);
  virtual std::string EditorFormClassName() const { return "TGrafFunctionEditor"; }
  virtual void SetupGalleryPreview(TCustomAxisPanel* Chart);
  // Over First..Last; (-1, -1) is every point.
  virtual double ComputeValue(TChartSeries*, int, int) { return 0; }
  virtual double ComputeValueMany(TCustomSeriesList*, int) { return 0; }

  // ---- Dynamic operations ----
  virtual void SeriesCleared() {}
  virtual bool AcceptsSource(TChartSeries*) { return true; }
  virtual void ComputeFrom(TChartSeries* Source);

  double Period() const { return FPeriod; }
  void SetPeriod(double Value);
  TFunctionPeriodStyle PeriodStyle() const { return FPeriodStyle; }
  void SetPeriodStyle(TFunctionPeriodStyle Value);
  TFunctionPeriodAlign PeriodAlign() const { return FPeriodAlign; }
  void SetPeriodAlign(TFunctionPeriodAlign Value);
  void StorePeriod(double Value) { FPeriod = Value; }
  TChartSeries* ParentSeries() const { return FParent; }
  void Recompute();
  void SuspendRecalc() { FUpdating = true; }
  void ResumeRecalc();
  bool Updating() const { return FUpdating; }
  void AttachToSeries(TChartSeries* Series);
  TChartValueList* SourceValueList(TChartSeries* Source);
  void AddResultPoint(bool Vertical, double Value, double Position);
  void ComputeMany(TChartSeries* Source);

  bool PeriodUsable = true;
  bool NoSourceRequired = false;
  bool SingleSource = false;
  bool HideSourceList = false;

  void Assign(TPersistent* Source) override;
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;

private:
  friend class TChartSeries;
  double FPeriod = 0;
  TFunctionPeriodStyle FPeriodStyle = psNumPoints;
  TFunctionPeriodAlign FPeriodAlign = paCenter;
  TChartSeries* FParent = nullptr;
  bool FUpdating = false;
};

// The base of functions computed over a moving window of Period points.
class TGrafMovingFunction : public TGrafFunction {
  ZV_CLASS(TGrafMovingFunction)
public:
  explicit TGrafMovingFunction(TComponent* AOwner);
  void RunCalculation(TChartSeries* Source, TChartValueList* Other) override;
};

// ============================================================================
// Series lists, groups and axis items
// ============================================================================

class TSeriesGroups;

class TChartSeriesList : public TCustomSeriesList {
public:
  explicit TChartSeriesList(TCustomAxisPanel* Owner);
  ~TChartSeriesList() override;
  std::string ClassName() const override { return "TChartSeriesList"; }

  void SetSeriesAt(int Index, TChartSeries* Series) { SetItemAt(Index, Series); }
  void EmptyEverySeries();
  TSeriesGroups* Groups() const { return FGroups.get(); }
  class TSeriesGroup* AddGroup(const std::string& Name);

private:
  std::unique_ptr<TSeriesGroups> FGroups;
};

class TSeriesEnumerator : public TObject {
public:
  explicit TSeriesEnumerator(TChartSeriesList* List) : FList(List) {}
  bool MoveNext();
  TChartSeries* Current() const { return FList->ItemAt(FIndex); }

private:
  int FIndex = -1;
  TChartSeriesList* FList;
};

enum TSeriesGroupActive { gaYes, gaNo, gaSome };
const TEnumInfo& SeriesGroupActiveEnumInfo();

class TSeriesGroup : public TCollectionItem {
  ZV_CLASS(TSeriesGroup)
public:
  explicit TSeriesGroup(TCollection* Collection);
  ~TSeriesGroup() override;
  const std::string& Name() const { return FName; }
  void SetName(const std::string& Value) { FName = Value; }
  TCustomSeriesList* Series() const { return FSeries.get(); }
  void SetSeries(TCustomSeriesList* Value);
  TSeriesGroupActive GetActive() const;
  void SetActive(TSeriesGroupActive Value);

private:
  std::string FName;
  std::unique_ptr<TCustomSeriesList> FSeries;
};

class TSeriesGroups : public TOwnedCollection {
  ZV_CLASS(TSeriesGroups)
public:
  explicit TSeriesGroups(TPersistent* Owner);
  int GroupIndexOf(const TChartSeries* Series) const;
  TSeriesGroup* GroupAt(int Index) const { return static_cast<TSeriesGroup*>(Items(Index)); }
};

// The title with column separators as blanks, or the name, or "Series<n>".
std::string SeriesDisplayName(TChartSeries* Series);
void FillSeriesNameList(TStrings* List, TCustomSeriesList* Series, bool Titles);
void DrawClassBitmap(TCanvas* Canvas, const TObject* Object, int X, int Y);

class TAxisItems;

// One custom label of an axis.
class TAxisItem : public TGrafCustomShape {
  ZV_CLASS(TAxisItem)
public:
  explicit TAxisItem(TCustomGrafPanel* Panel = nullptr);
  double Value() const { return FValue; }
  void SetValue(double Value);
  const std::string& Text() const { return FText; }
  void SetText(const std::string& Value);
  TAxisItems* Owner = nullptr;

private:
  double FValue = 0;
  std::string FText;
};

class TAxisItems : public TObject {
public:
  explicit TAxisItems(TChartAxis* Axis);
  ~TAxisItems() override;
  std::string ClassName() const override { return "TAxisItems"; }
  int Count() const { return static_cast<int>(FItems.size()); }
  TAxisItem* ItemAt(int Index) const { return FItems[static_cast<size_t>(Index)].get(); }
  TAxisItem* Add(double Value, const std::string& Text = "");
  void CopyItemsFrom(const TAxisItems* Other);
  // Frees every item and repaints the axis' chart.
  void Clear();
  TGrafShape* Format() const { return FFormat.get(); }
  TChartAxis* Axis() const { return FAxis; }

private:
  TChartAxis* FAxis;
  std::vector<std::unique_ptr<TAxisItem>> FItems;
  std::unique_ptr<TGrafShape> FFormat;
};

// A grid pen that may sit between the ticks, at a depth of its own.
class TAxisGridPen : public TDottedGrayPen {
public:
  explicit TAxisGridPen(TNotifyEvent OnChange = {});
  std::string ClassName() const override { return "TAxisGridPen"; }
  void Assign(const TGraphicsObject* Source) override;
  bool BetweenTicks() const { return FBetweenTicks; }
  void SetBetweenTicks(bool Value);
  double ZPosition() const { return FZPosition; }
  void SetZPosition(double Value);
  double ZPositionDefault = 0;

private:
  bool FBetweenTicks = false;
  double FZPosition = 0;
};

// ============================================================================
// Axes
// ============================================================================

enum TAxisLabelAlign { alDefault, alOpposite };
enum TAxisLabelStyle { talAuto, talNone, talValue, talMark, talText };
enum TPenLineMode { lmLine, lmCylinder, lmRectangle };
const TEnumInfo& AxisLabelAlignEnumInfo();
const TEnumInfo& AxisLabelStyleEnumInfo();
const TEnumInfo& PenLineModeEnumInfo();

using TAxisDrawLabelEvent =
    std::function<void(TChartAxis* Sender, int& X, int& Y, int& Z, std::string& Text, bool& DrawLabel)>;
using TAxisOnGetLabel =
    std::function<void(TChartAxis* Sender, TChartSeries* Series, int ValueIndex, std::string& LabelText)>;
using TAxisOnGetNextLabel =
    std::function<void(TChartAxis* Sender, int LabelIndex, double& LabelValue, bool& Stop)>;

class TChartAxisTitle : public TGrafCustomShape {
  ZV_CLASS(TChartAxisTitle)
public:
  explicit TChartAxisTitle(TCustomGrafPanel* Panel = nullptr);
  void Assign(TPersistent* Source) override;
  int Angle() const { return FAngle; }
  void SetAngle(int Value);
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& Value);
  int DefaultAngle = 0;

private:
  int FAngle = 0;
  std::string FCaption;
};

class TChartAxisPen : public TChartPen {
public:
  explicit TChartAxisPen(TNotifyEvent OnChange = {});
  std::string ClassName() const override { return "TChartAxisPen"; }
  void Assign(const TGraphicsObject* Source) override;
  TPenLineMode LineMode() const { return FLineMode; }
  void SetLineMode(TPenLineMode Value);

private:
  TPenLineMode FLineMode = lmLine;
};

class TChartAxis : public TCollectionItem {
  ZV_CLASS(TChartAxis)
public:
  // The collection's owner is the chart; the axis joins the collection only
  // when the chart already has its six standard axes.
  explicit TChartAxis(TCollection* Collection);
  ~TChartAxis() override;

  // ---- New virtual operations, in slot order ----
  virtual TAxisLabelStyle ResolveLabelStyle();
  virtual void SetInverted(bool Value);
  virtual std::string FormatLabelValue(double Value);

  // ---- Properties (3.115) ----
  bool Automatic() const { return FAutomatic; }
  void SetAutomatic(bool Value);
  bool AutomaticMaximum() const { return FAutomaticMaximum; }
  void SetAutomaticMaximum(bool Value);
  bool AutomaticMinimum() const { return FAutomaticMinimum; }
  void SetAutomaticMinimum(bool Value);
  double Increment() const { return FIncrement; }
  void SetIncrement(double Value);
  double Maximum() const { return FMaximum; }
  void SetMaximum(double Value);
  double Minimum() const { return FMinimum; }
  void SetMinimum(double Value);
  bool Logarithmic() const { return FLogarithmic; }
  void SetLogarithmic(bool Value);
  double LogarithmicBase() const { return FLogarithmicBase; }
  void SetLogarithmicBase(double Value);
  int MaximumOffset() const { return FMaximumOffset; }
  void SetMaximumOffset(int Value);
  int MinimumOffset() const { return FMinimumOffset; }
  void SetMinimumOffset(int Value);
  TChartAxisPen* Axis() const { return FAxisPen.get(); }
  void SetAxis(TChartPen* Value) { FAxisPen->Assign(Value); }
  double ZPosition() const { return FZPosition; }
  void SetZPosition(double Value);
  TChartAxisTitle* Title() const { return FTitle.get(); }
  void SetTitle(TChartAxisTitle* Value) { FTitle->Assign(Value); }
  int TitleSize() const { return FTitleSize; }
  void SetTitleSize(int Value);
  TAxisGridPen* Grid() const { return FGrid.get(); }
  void SetGrid(TChartPen* Value) { FGrid->Assign(Value); }
  bool GridCentered() const { return FGrid->BetweenTicks(); }
  void SetGridCentered(bool Value) { FGrid->SetBetweenTicks(Value); }
  TAxisLabelAlign LabelsAlign() const { return FLabelsAlign; }
  void SetLabelsAlign(TAxisLabelAlign Value);
  bool LabelsAlternate() const { return FLabelsAlternate; }
  void SetLabelsAlternate(bool Value);
  int LabelsAngle() const { return FLabelsAngle; }
  void SetLabelsAngle(int Value);
  TAxisItems* LabelItems() const { return FLabelItems.get(); }
  bool Labels() const;
  void SetLabels(bool Value);
  TGrafFont* LabelsFont() const;
  void SetLabelsFont(TGrafFont* Value);
  bool LabelsOnAxis() const { return FLabelsOnAxis; }
  void SetLabelsOnAxis(bool Value);
  int LabelsSeparation() const { return FLabelsSeparation; }
  void SetLabelsSeparation(int Value);
  int LabelsSize() const { return FLabelsSize; }
  void SetLabelsSize(int Value);
  TAxisLabelStyle LabelStyle() const { return FLabelStyle; }
  void SetLabelStyle(TAxisLabelStyle Value);
  bool LabelsExponent() const { return FLabelsExponent; }
  void SetLabelsExponent(bool Value);
  bool LabelsMultiLine() const { return FLabelsMultiLine; }
  void SetLabelsMultiLine(bool Value);
  const std::string& AxisValuesFormat() const { return FAxisValuesFormat; }
  void SetAxisValuesFormat(const std::string& Value);
  const std::string& DateTimeFormat() const { return FDateTimeFormat; }
  void SetDateTimeFormat(const std::string& Value);
  bool ExactDateTime() const { return FExactDateTime; }
  void SetExactDateTime(bool Value);
  bool RoundFirstLabel() const { return FRoundFirstLabel; }
  void SetRoundFirstLabel(bool Value);
  TChartHiddenPen* MinorGrid() const { return FMinorGrid.get(); }
  void SetMinorGrid(TChartPen* Value) { FMinorGrid->Assign(Value); }
  int MinorTickCount() const { return FMinorTickCount; }
  void SetMinorTickCount(int Value);
  int MinorTickLength() const { return FMinorTickLength; }
  void SetMinorTickLength(int Value);
  TDarkGrayPen* MinorTicks() const { return FMinorTicks.get(); }
  void SetMinorTicks(TChartPen* Value) { FMinorTicks->Assign(Value); }
  TDarkGrayPen* Ticks() const { return FTicks.get(); }
  void SetTicks(TChartPen* Value) { FTicks->Assign(Value); }
  TDarkGrayPen* TicksInner() const { return FTicksInner.get(); }
  void SetTicksInner(TChartPen* Value) { FTicksInner->Assign(Value); }
  int TickInnerLength() const { return FTickInnerLength; }
  void SetTickInnerLength(int Value);
  int TickLength() const { return FTickLength; }
  void SetTickLength(int Value);
  bool TickOnLabelsOnly() const { return FTickOnLabelsOnly; }
  void SetTickOnLabelsOnly(bool Value);
  bool Inverted() const { return FInverted; }
  // Stores without repaint (polar series).
  void StoreInverted(bool Value) { FInverted = Value; }
  bool Horizontal() const { return FHorizontal; }
  void SetHorizontal(bool Value);
  bool OtherSide() const { return FOtherSide; }
  void SetOtherSide(bool Value);
  TCustomAxisPanel* ParentChart() const { return FParentChart; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  double StartPosition() const { return FStartPosition; }
  void SetStartPosition(double Value);
  double EndPosition() const { return FEndPosition; }
  void SetEndPosition(double Value);
  double PositionPercent() const { return FPositionPercent; }
  void SetPositionPercent(double Value);
  TGrafUnits PositionUnits() const { return FPositionUnits; }
  void SetPositionUnits(TGrafUnits Value);
  TChartAxis* MasterAxis() const { return FMasterAxis; }
  void SetMasterAxis(TChartAxis* Value) { FMasterAxis = Value; }
  TAxisDrawLabelEvent OnDrawLabel;

  // ---- Scale state ----
  int AxisLinePos = 0;
  int TitlePos = 0;
  int LabelsPos = 0;
  bool IsDateTimeAxis = false;
  double PixelsPerLnUnit = 0;
  double PixelsPerUnit = 0;
  int CenterPixel = 0;
  bool RunsAlongDepth = false;
  double LnMaximum = 0;
  double LnMinimum = 0;
  double WorkMaximum = 0;
  double WorkMinimum = 0;
  double WorkRange = 0;
  double LnRange = 0;
  bool RangeIsZero = true;
  std::unique_ptr<TCustomSeriesList> LabelSeries;
  bool ShownNow = false;
  int DepthPixel = 0;
  bool SuppressBackGrid = false;
  bool SuppressSideGrid = false;
  std::function<void(TChartAxis*)> GridBandHook;
  int StartPixel = 0;
  int EndPixel = 0;
  int AxisLength = 0;
  std::vector<int> TickPositions;

  // ---- Conversions ----
  // The linear scale is computed in line: series convert every point.
  int ValueToPixelX(double Value) const { return FLinearMap ? LinearPixel(Value, FInverted) : (this->*FPosX)(Value); }
  int ValueToPixelY(double Value) const { return FLinearMap ? LinearPixel(Value, !FInverted) : (this->*FPosY)(Value); }
  int ValueToPixel(double Value) const { return FHorizontal ? ValueToPixelX(Value) : ValueToPixelY(Value); }
  // ValueToPixel of Count values at once (the same pixels; the linear scale
  // in a loop the compiler can vectorise).
  void ValuesToPixels(const double* Values, int Count, int* Pixels) const;
  // The smallest and largest of the pixels ValuesToPixels gives Count > 0
  // values, from the values' extremes alone where the scale keeps their
  // order (linear, no NaN among them); false when it cannot tell so.
  bool PixelSpanOf(const double* Values, int Count, int& Lo, int& Hi) const;
  double PixelToValue(int Pixel) const;
  int SizeToPixels(double Span) const;
  void ChooseMappingFunctions();

  // ---- Range and positions ----
  void SetRange(double AMin, double AMax);
  // Puts back a saved scale: the three automatic flags, then both ends
  // without switching automatic scaling off.
  void RestoreScale(bool Auto, bool AutoMin, bool AutoMax, double AMin, double AMax);
  void UpdateMinMax();
  void ComputeAutoMinMax(double& AMin, double& AMax);
  void RecalcRange();
  void ComputeEndPixels();
  void RecalcSizeAndCenter();
  void ReserveEndInsets(const TRect& Insets);
  int ShiftByPosition(int Pos, const TRect& R) const;
  int EdgeOfRect(const TRect& R) const;
  void ShiftRange(bool Check, double Delta);
  int DepthPixelOf() const;
  unsigned DepthAxisAlignment() const;
  int DepthAxisLinePos() const;
  bool IsCustomAxis() const;
  bool IsDepthAxis() const { return RunsAlongDepth; }
  bool ShowsDateTime();
  // The value at the pixel where the axis starts / ends.
  double StartValue() const;
  double EndValue() const;

  // ---- Label steps and texts (3.116) ----
  double ComputeLabelStep();
  double LabelStepForCount(int Count);
  TAxisLabelStyle EffectiveLabelStyle();
  int WidestLabelWidth();
  int LabelsAreaWidth();
  int TicksAreaWidth() const;
  void FitIntoRect(TRect& R, bool Inflate);
  static int TextLineCount(const std::string& Text);
  static double NextNiceStep(double X);
  int LabelExtent(double Value);

  // ---- Drawing (3.117) ----
  void DrawAxis(bool PlaceLine);
  void DrawTitleText(int X, int Y);
  void DrawLabelText(int X, int Y, int Angle, const std::string& Text, TGrafCustomShape* Format);
  TRect GetBoundsRect() const;
  bool ContainsPoint(int X, int Y);
  void DrawCustomRange(double AMin, double AMax, double AIncrement, int AStartPixel, int AEndPixel, int AAxisLinePos,
                       int ALabelsPos, int ATitlePos, bool GridVisible);
  void StepByIncrement(bool Forward, double& T, int StepIndex, double Inc);

  // Direct copies of the settings, without repaint.
  void Assign(TPersistent* Source) override;
  std::string DisplayName() const override;

protected:
  // Standard axes of a chart: not in any collection.
  TChartAxis(TCustomAxisPanel* Chart, bool Standard);
  void Init(TCustomAxisPanel* Chart);
  TCanvas3D* Canvas() const;
  void Changed();

  int LinearXPos(double Value) const;
  int LinearYPos(double Value) const;
  int FastLinearXPos(double Value) const;
  int FastLinearYPos(double Value) const;
  int LogXPos(double Value) const;
  int LogYPos(double Value) const;
  int DepthPos(double Value) const;

private:
  double DateTimeStepFor(int Count);
  double ValueStepFor(int Count);
  bool SomeSeriesHasFewPoints(int Count);
  std::string LabelTextFor(double Value, bool WithEvent);
  void PlaceLabel(int P, const std::string& Text, TGrafCustomShape* Format);
  void PlaceTitle();
  void DrawValueLabel(double Value);
  void DrawDefaultLabels(double Inc, int StepIndex);
  void DrawLogLabels();
  void DrawCustomLabels(double Inc, int StepIndex);
  void DrawSeriesLabels(TAxisLabelStyle Style);
  void DrawDepthLabels();
  void DrawItemLabels();
  void DrawLineTicksGrid();
  void DrawTick(int Pos, int Offset, int Length, int WallOffset);
  void DrawGridLine(int Pos);
  void DrawMinorMarks(bool Grid);
  void DrawExponentText(int X, int Y, int Z, const std::string& Text);
  int FontHeight();

  bool FAutomatic = true;
  bool FAutomaticMaximum = true;
  bool FAutomaticMinimum = true;
  double FIncrement = 0;
  double FMaximum = 0;
  double FMinimum = 0;
  bool FLogarithmic = false;
  double FLogarithmicBase = 10;
  int FMaximumOffset = 0;
  int FMinimumOffset = 0;
  std::unique_ptr<TChartAxisPen> FAxisPen;
  double FZPosition = 0;
  std::unique_ptr<TChartAxisTitle> FTitle;
  int FTitleSize = 0;
  std::unique_ptr<TAxisGridPen> FGrid;
  TAxisLabelAlign FLabelsAlign = alDefault;
  bool FLabelsAlternate = false;
  int FLabelsAngle = 0;
  std::unique_ptr<TAxisItems> FLabelItems;
  bool FLabelsOnAxis = true;
  int FLabelsSeparation = 10;
  int FLabelsSize = 0;
  TAxisLabelStyle FLabelStyle = talAuto;
  bool FLabelsExponent = false;
  bool FLabelsMultiLine = false;
  std::string FAxisValuesFormat;
  std::string FDateTimeFormat;
  bool FExactDateTime = true;
  bool FRoundFirstLabel = true;
  std::unique_ptr<TChartHiddenPen> FMinorGrid;
  int FMinorTickCount = 3;
  int FMinorTickLength = 2;
  std::unique_ptr<TDarkGrayPen> FMinorTicks;
  std::unique_ptr<TDarkGrayPen> FTicks;
  std::unique_ptr<TDarkGrayPen> FTicksInner;
  int FTickInnerLength = 0;
  int FTickLength = 4;
  bool FTickOnLabelsOnly = true;
  bool FInverted = false;
  bool FHorizontal = false;
  bool FOtherSide = false;
  TCustomAxisPanel* FParentChart = nullptr;
  bool FVisible = true;
  double FStartPosition = 0;
  double FEndPosition = 100;
  double FPositionPercent = 0;
  TGrafUnits FPositionUnits = muPercent;
  TChartAxis* FMasterAxis = nullptr;

  // Linear pixel measured from the start pixel, or back from the end pixel.
  int LinearPixel(double Value, bool FromEnd) const {
    if (RangeIsZero) return CenterPixel;
    const double d = (Value - WorkMinimum) * PixelsPerUnit;
    return ClampAxisPixel(FromEnd ? EndPixel - d : StartPixel + d);
  }

  bool FLinearMap = true;
  int (TChartAxis::*FPosX)(double) const = &TChartAxis::LinearXPos;
  int (TChartAxis::*FPosY)(double) const = &TChartAxis::LinearYPos;
  int FAlternateRow = 0;
  bool FExponentOff = false;
  bool FDetachLabelEvent = false;

  friend class TCustomAxisPanel;
};

class TChartDepthAxis : public TChartAxis {
  ZV_CLASS(TChartDepthAxis)
public:
  explicit TChartDepthAxis(TCollection* Collection);
  TAxisLabelStyle ResolveLabelStyle() override;
  // The other depth axis of the chart follows.
  void SetInverted(bool Value) override;

protected:
  friend class TCustomAxisPanel;
  TChartDepthAxis(TCustomAxisPanel* Chart, bool Standard) : TChartAxis(Chart, Standard) {}
};

// ============================================================================
// Axes lists and tool bases
// ============================================================================

class TChartAxes : public TObject {
public:
  explicit TChartAxes(TCustomAxisPanel* Chart) : FChart(Chart) {}
  ~TChartAxes() override;
  std::string ClassName() const override { return "TChartAxes"; }

  int Count() const { return static_cast<int>(FItems.size()); }
  TChartAxis* AxisAt(int Index) const { return FItems[static_cast<size_t>(Index)]; }
  TChartAxis* operator[](int Index) const { return AxisAt(Index); }
  int IndexOf(const TChartAxis* Axis) const;
  void Add(TChartAxis* Axis) { FItems.push_back(Axis); }
  void Remove(TChartAxis* Axis);
  // Frees every axis (each removes itself), then empties the list.
  void Clear();
  TChartAxis* GetLeftAxis() const;
  TChartAxis* GetTopAxis() const;
  TChartAxis* GetRightAxis() const;
  TChartAxis* GetBottomAxis() const;
  TChartAxis* GetDepthAxis() const;
  TChartAxis* GetDepthTopAxis() const;
  bool GetBehind() const;
  void SetBehind(bool Value);
  bool GetVisible() const;
  void SetVisible(bool Value);
  TCustomAxisPanel* Chart() const { return FChart; }
  auto begin() const { return FItems.begin(); }
  auto end() const { return FItems.end(); }

  bool FastCalc = false;
  // A tool may claim extra room beside axes: returns the size to use.
  std::function<int(TChartAxis* Axis, int Proposed)> AxisSizeCallback;

private:
  TCustomAxisPanel* FChart;
  std::vector<TChartAxis*> FItems;
};

class TChartCustomAxes : public TOwnedCollection {
  ZV_CLASS(TChartCustomAxes)
public:
  explicit TChartCustomAxes(TPersistent* Owner);
  TChartAxis* AxisAt(int Index) const { return static_cast<TChartAxis*>(Items(Index)); }
  void CopyScalesFromMaster(TChartAxis* Axis);
};

class TGrafCustomTool;

class TChartTools : public TObject {
public:
  explicit TChartTools(TCustomAxisPanel* Chart) : FChart(Chart) {}
  ~TChartTools() override;
  std::string ClassName() const override { return "TChartTools"; }

  int Count() const { return static_cast<int>(FItems.size()); }
  TGrafCustomTool* ToolAt(int Index) const { return FItems[static_cast<size_t>(Index)]; }
  TGrafCustomTool* operator[](int Index) const { return ToolAt(Index); }
  // Sets the tool's chart (which appends it here); returns it.
  TGrafCustomTool* AddTool(TGrafCustomTool* Tool);
  int IndexOf(const TGrafCustomTool* Tool) const;
  void Append(TGrafCustomTool* Tool) { FItems.push_back(Tool); }
  void Remove(TGrafCustomTool* Tool);
  // Frees every tool, then empties the list.
  void Clear();
  TCustomAxisPanel* Chart() const { return FChart; }
  auto begin() const { return FItems.begin(); }
  auto end() const { return FItems.end(); }

private:
  TCustomAxisPanel* FChart;
  std::vector<TGrafCustomTool*> FItems;
};

// Chart event codes of tools.
enum TChartToolEvent { cteAfterDraw = 0, cteBeforeDrawSeries = 1, cteBeforeDraw = 2, cteBeforeDrawAxes = 3,
                       cteAfterDrawSeries = 4, cteMouseLeave = 5 };
// Mouse event kinds of tools.
enum TChartMouseEventKind { cmeDown = 0, cmeMove = 1, cmeUp = 2 };

class TGrafCustomTool : public TCustomChartElement {
  ZV_CLASS(TGrafCustomTool)
public:
  explicit TGrafCustomTool(TComponent* AOwner);
  ~TGrafCustomTool() override;

  // ---- New virtual operations, in slot order ----
  virtual void HandleChartEvent(int) {}
  virtual void HandleMouseEvent(int, TMouseButton, TShiftState, int, int) {}
  virtual std::string ToolTypeName() const { return ""; }

  void SetParentChart(TCustomAxisPanel* Value) override;
};

class TGrafCustomToolSeries : public TGrafCustomTool {
  ZV_CLASS(TGrafCustomToolSeries)
public:
  explicit TGrafCustomToolSeries(TComponent* AOwner);
  virtual void SetSeries(TChartSeries* Value);
  TChartSeries* Series() const { return FSeries; }
  std::string EditorFormClassName() const override { return "TSeriesToolEditor"; }
  TChartAxis* ResolveHorizAxis() const;
  TChartAxis* ResolveVertAxis() const;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  TChartSeries* FSeries = nullptr;
};

class TGrafCustomToolAxis : public TGrafCustomTool {
  ZV_CLASS(TGrafCustomToolAxis)
public:
  explicit TGrafCustomToolAxis(TComponent* AOwner);
  virtual void SetAxis(TChartAxis* Value);
  TChartAxis* Axis() const { return FAxis; }
  std::string EditorFormClassName() const override { return "TAxisToolEditor"; }
  void DefineProperties(TFiler* Filer) override;
  // The chart clears it before freeing its tools.
  void ClearAxisReference() { FAxis = nullptr; }

protected:
  TChartAxis* FAxis = nullptr;
};

// ============================================================================
// The axis panel
// ============================================================================

// Series events sent to the chart's listeners.
enum TChartSeriesEventCode { seAdd = 0, seRemove = 1, seChangeTitle = 2, seChangeColor = 3, seSwap = 4,
                             seChangeActive = 5, seDataChanged = 6 };

class TGrafSeriesEvent : public TGrafEvent {
public:
  std::string ClassName() const override { return "TGrafSeriesEvent"; }
  int Event = 0;
  TChartSeries* Series = nullptr;
};

class TChartChangePage : public TGrafEvent {
public:
  std::string ClassName() const override { return "TChartChangePage"; }
};

// The chart editor's hook into a chart; owned and freed by the chart.
class TChartDesignerLink : public TObject {
public:
  std::string ClassName() const override { return "TChartDesignerLink"; }
  virtual void Modified() {}
};

class TCustomAxisPanel : public TCustomGrafPanelExtended {
  ZV_CLASS(TCustomAxisPanel)
public:
  explicit TCustomAxisPanel(TComponent* AOwner);
  ~TCustomAxisPanel() override;

  // ---- New virtual operations, in slot order ----
  virtual void ComputeWallsRect() = 0;
  virtual int WallThickness(TChartAxis* Axis) = 0;
  virtual void FireAfterDraw();
  virtual void FireBeforeDrawAxes();
  virtual void FireBeforeDrawChart();
  virtual void FireBeforeDrawSeries();
  virtual void PlaceTitlesAndLegend(bool BeforeSeries) = 0;
  virtual bool BackPlaneHidden(int Z);
  virtual void PaintLegendBox(const TRect& R);
  virtual void PaintWalls() = 0;
  virtual void RefreshSeriesData(TChartSeries* Series);
  virtual std::string ValueLegendText(TChartSeries* Series, int Index);
  virtual bool ColorIsFree(TColor Color, bool CheckBackground, TChartSeries* Series) = 0;

  // ---- Dynamic operations ----
  virtual int PageCount();
  virtual void DataSourceRemoved(TChartSeries* Series, TComponent* Source);
  virtual bool AcceptsDataSource(TChartSeries* Series, TComponent* Source);

  // ---- Series list ----
  TChartSeriesList* SeriesList() const { return FSeriesList.get(); }
  TChartSeries* SeriesAt(int Index) const { return FSeriesList->ItemAt(Index); }
  int NumberOfSeries() const { return FSeriesList->Count(); }
  int ActiveSeriesCount() const;
  TChartSeries* AttachSeries(TChartSeries* Series);
  TChartSeries* CreateAndAttachSeries(TClass SeriesClass);
  void RegisterSeries(TChartSeries* Series);
  void DetachSeries(TChartSeries* Series);
  void DetachSeriesAt(int Index);
  void DestroySeriesOfClass(TClass SeriesClass);
  void ExchangeSeriesAt(int A, int B);
  void ExchangeSeries(TChartSeries* A, TChartSeries* B);
  void AnnounceSeriesEvent(TChartSeries* Series, int Code);

  // ---- Queries of axes, tools and series ----
  bool AxisInUse(TChartAxis* Axis, bool Default);
  bool AxisUnused(TChartAxis* Axis);
  bool ComputeAxisVisibility(TChartAxis* Axis);
  bool AxisShown(TChartAxis* Axis) const;
  TChartSeries* FirstSeriesOnAxis(TChartAxis* Axis);
  TChartSeries* BiggestSeriesOnAxis(TChartAxis* Axis);
  double SmallestXOnAxis(TChartAxis* Axis) { return AxisValueExtreme(Axis, true, true); }
  double LargestXOnAxis(TChartAxis* Axis) { return AxisValueExtreme(Axis, false, true); }
  double SmallestYOnAxis(TChartAxis* Axis) { return AxisValueExtreme(Axis, true, false); }
  double LargestYOnAxis(TChartAxis* Axis) { return AxisValueExtreme(Axis, false, false); }
  double AxisValueExtreme(TChartAxis* Axis, bool Smallest, bool Horizontal);
  int LargestPointCount() const;
  int WidestSeriesMark();
  int WidestLabelWidth();
  int WidestLineWidth(const std::string& Text, int& LineCount);
  TChartSeries* LegendSeriesAt(int Row, bool OnlyActive);
  TChartSeries* ActiveLegendSeriesAt(int Row) { return LegendSeriesAt(Row, true); }
  std::string LegendSeriesTitle(int Row, bool OnlyActive);
  bool CheckMouseOverSeries(int X, int Y);
  void NotifyTools(int Code);

  // ---- Colours ----
  TColor PaletteColor(int Index) const;
  TColor NextFreeColor(bool CheckBackground, TChartSeries* Series);
  void RecolorAutoSeries();
  std::vector<TColor>& ColorPalette() { return FColorPalette; }

  // ---- Paging and output ----
  int Page() const { return FPage; }
  void SetPage(int Value);
  int MaxPointsPerPage() const { return FMaxPointsPerPage; }
  void SetMaxPointsPerPage(int Value);
  void PrintPages(int FromPage = 0, int ToPage = 0);

  // ---- Data sources ----
  void RejectCircularSource(TChartSeries* Destination, TChartSeries* Source);

  // ---- Paint cycle (3.133) ----
  void PaintChart(const TRect& Bounds);
  void DrawChartContents(const TRect& Bounds) override { PaintChart(Bounds); }
  void Compute3DDepth();
  void UpdateRotationFlag();

  // ---- Properties ----
  int Chart3DPercent() const { return FChart3DPercent; }
  void SetChart3DPercent(int Value);
  TChartAxes* AxesList() const { return FAxes.get(); }
  bool AxisBehind() const { return FAxisBehind; }
  void SetAxisBehind(bool Value);
  bool AxisVisible() const { return FAxisVisible; }
  void SetAxisVisible(bool Value);
  bool ClipPoints() const { return FClipPoints; }
  void SetClipPoints(bool Value);
  TChartCustomAxes* CustomAxes() const { return FCustomAxes.get(); }
  void SetCustomAxes(TChartCustomAxes* Value) { FCustomAxes->Assign(Value); }
  TChartDepthAxis* DepthAxis() const { return FDepthAxis; }
  TChartDepthAxis* DepthTopAxis() const { return FDepthTopAxis; }
  TChartAxis* TopAxis() const { return FTopAxis; }
  TChartAxis* BottomAxis() const { return FBottomAxis; }
  TChartAxis* LeftAxis() const { return FLeftAxis; }
  TChartAxis* RightAxis() const { return FRightAxis; }
  void SetTopAxis(TChartAxis* Value) { FTopAxis->Assign(Value); }
  void SetBottomAxis(TChartAxis* Value) { FBottomAxis->Assign(Value); }
  void SetLeftAxis(TChartAxis* Value) { FLeftAxis->Assign(Value); }
  void SetRightAxis(TChartAxis* Value) { FRightAxis->Assign(Value); }
  void SetDepthAxis(TChartAxis* Value) { FDepthAxis->Assign(Value); }
  void SetDepthTopAxis(TChartAxis* Value) { FDepthTopAxis->Assign(Value); }
  bool View3DWalls() const { return FView3DWalls; }
  void SetView3DWalls(bool Value);
  bool ScaleLastPage() const { return FScaleLastPage; }
  void SetScaleLastPage(bool Value);
  TChartTools* Tools() const { return FTools.get(); }
  int DepthWidth() const { return DepthExtentX; }
  int DepthHeight() const { return DepthExtentY; }

  TAxisOnGetLabel OnGetAxisLabel;
  TAxisOnGetNextLabel OnGetNextAxisLabel;
  TNotifyEvent OnPageChange;
  TNotifyEvent OnBeforeDrawChart;
  TNotifyEvent OnBeforeDrawAxes;
  TNotifyEvent OnBeforeDrawSeries;

  // ---- Paint state ----
  int MaxZOrder = 0;
  int SeriesWidth3D = 0;
  int SeriesHeight3D = 0;
  bool InvertedRotation = false;
  bool NoBroadcast = false;
  TColor LegendColor = clWhite;
  TChartPen* LegendPen = nullptr;
  std::unique_ptr<TChartDesignerLink> DesignerLink;

  void Assign(TPersistent* Source) override;
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;

protected:
  void CMMouseLeave(TMessage& M) override;
  // Fits the axes into the chart rectangle (step 10 of the paint cycle).
  void FitAxes();
  void ReserveSeriesMargins();
  void PaintAxes();
  void PaintAllSeries();
  void PaintOneSeries(TChartSeries* Series);
  void PaintSharedSeries(TChartSeries* Series, int ListIndex);
  void PaintSeriesMarks(TChartSeries* Series);
  void ClipToChartBox();
  void UnclipChartBox();

  int FChart3DPercent = 15;
  std::unique_ptr<TChartAxes> FAxes;
  bool FAxisBehind = true;
  bool FAxisVisible = true;
  bool FClipPoints = true;
  std::unique_ptr<TChartCustomAxes> FCustomAxes;
  std::unique_ptr<TChartSeriesList> FSeriesList;
  TChartDepthAxis* FDepthAxis = nullptr;
  TChartDepthAxis* FDepthTopAxis = nullptr;
  TChartAxis* FTopAxis = nullptr;
  TChartAxis* FBottomAxis = nullptr;
  TChartAxis* FLeftAxis = nullptr;
  TChartAxis* FRightAxis = nullptr;
  bool FView3DWalls = true;
  int FPage = 1;
  int FMaxPointsPerPage = 0;
  bool FScaleLastPage = true;
  std::unique_ptr<TChartTools> FTools;
  std::vector<TColor> FColorPalette;
  bool FClipped = false;
};
