// Chart tools: things a chart owns in its tool list that draw on it or react
// to the mouse (cursor lines, nearest-point marker, mark tips, colour lines
// and bands, grid bands, annotations, rectangles, drawn lines, mark, point
// and axis dragging, rotation, a picture behind a series, series clipping,
// series animation).
//
// Figures that follow the mouse (cursor, nearest marker, rubber line, colour
// line during a drag, rotation box) are drawn with XOR / not-XOR pens on the
// chart's retained surface over the finished picture: drawing the same
// figure again erases it, so moving one costs no render of the chart.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "chart/core/chart.h"
#include "chart/core/grengine.h"
#include "platform/dialogs.h"

// The tools' registration (once; the tool registry and the class registry).
void RegisterChartToolClasses();
void UnregisterChartToolClasses();

// First and last visible index of a series; false when it has no points.
bool SeriesVisibleRange(TChartSeries* Series, int& First, int& Last);

// A pen colour that shows in its own colour when drawn in XOR (or not-XOR)
// mode over Back.
TColor XorPenColor(TColor PenColor, TColor Back);
TColor NotXorPenColor(TColor PenColor, TColor Back);

// ============================================================================
// Cursor

enum TCursorToolStyle { cssHorizontal, cssVertical, cssBoth };
const TEnumInfo& CursorToolStyleEnumInfo();

class TCursorTool;
using TCursorToolChangeEvent = std::function<void(TCursorTool* Sender, int X, int Y, double XValue, double YValue,
                                                  TChartSeries* Series, int ValueIndex)>;
using TCursorToolGetAxisRect = std::function<void(TCursorTool* Sender, TRect& Rect)>;

class TCursorTool : public TGrafCustomToolSeries {
  ZV_CLASS(TCursorTool)
public:
  explicit TCursorTool(TComponent* AOwner = nullptr);
  void Assign(TPersistent* Source) override;
  std::string EditorFormClassName() const override { return "TCursorToolEditor"; }
  void HandleChartEvent(int Code) override;
  void HandleMouseEvent(int Kind, TMouseButton Button, TShiftState Shift, int X, int Y) override;
  std::string ToolTypeName() const override;
  void SetSeries(TChartSeries* Value) override;
  virtual void DoChange(int Index);

  int ClickTolerance() const { return FClickTolerance; }
  void SetClickTolerance(int Value) { FClickTolerance = Value; }
  bool FollowMouse() const { return FFollowMouse; }
  void SetFollowMouse(bool Value) { FFollowMouse = Value; }
  bool Snap() const { return FSnap; }
  void SetSnap(bool Value) { FSnap = Value; }
  TCursorToolStyle Style() const { return FStyle; }
  void SetStyle(TCursorToolStyle Value);
  bool UseSeriesZ() const { return FUseSeriesZ; }
  void SetUseSeriesZ(bool Value) { ChangeBool(FUseSeriesZ, Value); }

  double XValue = 0;
  double YValue = 0;
  bool UseChartRect = false;
  TCursorToolGetAxisRect OnGetAxisRect;
  TCursorToolChangeEvent OnChange;
  TCursorToolChangeEvent OnSnapChange;

  // The pixel position; -1 until the first paint places the cursor.
  int CursorX() const { return FX; }
  int CursorY() const { return FY; }
  TRect GetAxisRect();
  int NearestPoint(TCursorToolStyle AStyle);
  int SnapToPoint();
  void RedrawCursor();
  int CursorHit(int X, int Y);

private:
  int SeriesDepth() const;
  void CalcValuePositions(int X, int Y);
  void CalcScreenPositions();
  bool InsideAxisRect(int X, int Y);

  int FClickTolerance = 3;
  bool FFollowMouse = false;
  bool FSnap = false;
  TCursorToolStyle FStyle = cssBoth;
  bool FUseSeriesZ = false;
  int FX = -1;
  int FY = -1;
  int FDragging = 0;
  int FLastSnap = -1;
};

// ============================================================================
// Nearest point and mark tips

enum TNearestToolStyle { hsNone, hsCircle, hsRectangle, hsDiamond };
const TEnumInfo& NearestToolStyleEnumInfo();

class TNearestTool : public TGrafCustomToolSeries {
  ZV_CLASS(TNearestTool)
public:
  explicit TNearestTool(TComponent* AOwner = nullptr);
  std::string EditorFormClassName() const override { return "TNearestToolEdit"; }
  void HandleChartEvent(int Code) override;
  void HandleMouseEvent(int Kind, TMouseButton Button, TShiftState Shift, int X, int Y) override;
  std::string ToolTypeName() const override;

  static int GetNearestPoint(TChartSeries* Series, int X, int Y) { return NearestPointIndex(Series, X, Y, false); }
  static int NearestPointIndex(TChartSeries* Series, int X, int Y, bool IncludeNulls);

  bool DrawLine() const { return FLinePen->Visible(); }
  void SetDrawLine(bool Value) { FLinePen->SetVisible(Value); }
  bool FullRepaint() const { return FFullRepaint; }
  void SetFullRepaint(bool Value) { FFullRepaint = Value; }
  TChartPen* LinePen() const { return FLinePen.get(); }
  void SetLinePen(TChartPen* Value) { FLinePen->Assign(Value); }
  int Size() const { return FSize; }
  void SetSize(int Value) { ChangeInteger(FSize, Value); }
  TNearestToolStyle Style() const { return FStyle; }
  void SetStyle(TNearestToolStyle Value);
  TNotifyEvent OnChange;

  int Point = -1;
  TPoint MousePos;
  void PaintHint();

private:
  std::unique_ptr<TChartPen> FLinePen;
  bool FFullRepaint = true;
  int FSize = 20;
  TNearestToolStyle FStyle = hsCircle;
};

enum TMarkToolMouseAction { mtmMove, mtmClick };
const TEnumInfo& MarkToolMouseActionEnumInfo();
class TMarksTipTool;
using TMarksTipGetText = std::function<void(TMarksTipTool* Sender, std::string& Text)>;

class TMarksTipTool : public TGrafCustomToolSeries {
  ZV_CLASS(TMarksTipTool)
public:
  explicit TMarksTipTool(TComponent* AOwner = nullptr);
  std::string EditorFormClassName() const override { return "TMarksTipToolEdit"; }
  void SetActive(bool Value) override;
  void HandleMouseEvent(int Kind, TMouseButton Button, TShiftState Shift, int X, int Y) override;
  std::string ToolTypeName() const override;

  TMarkToolMouseAction MouseAction() const { return FMouseAction; }
  void SetMouseAction(TMarkToolMouseAction Value);
  // The application's hint pause: one setting for every window.
  int MouseDelay() const;
  void SetMouseDelay(int Value);
  TSeriesMarksStyle Style() const { return FStyle; }
  void SetStyle(TSeriesMarksStyle Value) { FStyle = Value; }
  TNotifyEvent OnCancelHint;
  TMarksTipGetText OnGetText;

  TCustomAxisPanel* Chart() const;
  void CancelHint();

private:
  TMarkToolMouseAction FMouseAction = mtmMove;
  TSeriesMarksStyle FStyle = smsLabel;
};

// ============================================================================
// Colour line, colour band and grid band

enum TColorLineStyle { clCustom, clMaximum, clCenter, clMinimum };
const TEnumInfo& ColorLineStyleEnumInfo();
using TColorLineToolOnDrag = std::function<void(TObject* Sender)>;

class TColorLineTool : public TGrafCustomToolAxis {
  ZV_CLASS(TColorLineTool)
public:
  explicit TColorLineTool(TComponent* AOwner = nullptr);
  void Assign(TPersistent* Source) override;
  std::string EditorFormClassName() const override { return "TColorLineToolEditor"; }
  void HandleChartEvent(int Code) override;
  void HandleMouseEvent(int Kind, TMouseButton Button, TShiftState Shift, int X, int Y) override;
  std::string ToolTypeName() const override;
  virtual void DoEndDragLine();

  bool AllowDrag() const { return FAllowDrag; }
  void SetAllowDrag(bool Value) { FAllowDrag = Value; }
  bool DragRepaint() const { return FDragRepaint; }
  void SetDragRepaint(bool Value) { FDragRepaint = Value; }
  bool Draw3D() const { return FDraw3D; }
  void SetDraw3D(bool Value) { ChangeBool(FDraw3D, Value); }
  bool DrawBehind() const { return FDrawBehind; }
  void SetDrawBehind(bool Value) { ChangeBool(FDrawBehind, Value); }
  bool NoLimitDrag() const { return FNoLimitDrag; }
  void SetNoLimitDrag(bool Value) { FNoLimitDrag = Value; }
  TColorLineStyle Style() const { return FStyle; }
  void SetStyle(TColorLineStyle Value);
  double Value() const { return FValue; }
  void SetValue(double Value);
  TColorLineToolOnDrag OnBeginDragLine;
  TColorLineToolOnDrag OnDragLine;
  TColorLineToolOnDrag OnEndDragLine;

  bool Dragging = false;
  TCustomAxisPanel* BandChart = nullptr;
  std::function<void(TColorLineTool*)> OnBandEndDrag;

  double LineValue() const;
  double LimitValue(double V) const;
  TCustomAxisPanel* DrawingChart() const { return BandChart ? BandChart : FParentChart; }
  void DrawColorLine(bool Back);
  bool Clicked(int X, int Y);

private:
  void DrawLineParts(bool Back);

  bool FAllowDrag = true;
  bool FDragRepaint = false;
  bool FDraw3D = true;
  bool FDrawBehind = false;
  bool FNoLimitDrag = false;
  TColorLineStyle FStyle = clCustom;
  double FValue = 0;
};

class TColorBandTool : public TGrafCustomToolAxis {
  ZV_CLASS(TColorBandTool)
public:
  explicit TColorBandTool(TComponent* AOwner = nullptr);
  ~TColorBandTool() override;
  void Loaded() override;
  std::string EditorFormClassName() const override { return "TColorBandToolEditor"; }
  void SetParentChart(TCustomAxisPanel* Value) override;
  void HandleChartEvent(int Code) override;
  void HandleMouseEvent(int Kind, TMouseButton Button, TShiftState Shift, int X, int Y) override;
  std::string ToolTypeName() const override;
  void SetAxis(TChartAxis* Value) override;

  TColor Color() const { return FColor; }
  void SetColor(TColor Value) { ChangeColor(FColor, Value); }
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor Value) { FCursor = Value; }
  bool DrawBehind() const { return FDrawBehind; }
  void SetDrawBehind(bool Value) { ChangeBool(FDrawBehind, Value); }
  bool DrawBehindAxes() const { return FDrawBehindAxes; }
  void SetDrawBehindAxes(bool Value) { ChangeBool(FDrawBehindAxes, Value); }
  double StartValue() const { return FStartValue; }
  void SetStartValue(double Value);
  double EndValue() const { return FEndValue; }
  void SetEndValue(double Value);
  TGrafGradient* Gradient() const { return FGradient.get(); }
  void SetGradient(TCustomGrafGradient* Value) { FGradient->Assign(Value); }
  TChartPen* StartLinePen() const { return FStartLine->Pen(); }
  void SetStartLinePen(TChartPen* Value) { FStartLine->Pen()->Assign(Value); }
  TChartPen* EndLinePen() const { return FEndLine->Pen(); }
  void SetEndLinePen(TChartPen* Value) { FEndLine->Pen()->Assign(Value); }
  bool ResizeStart() const { return FStartLine->Active(); }
  void SetResizeStart(bool Value);
  bool ResizeEnd() const { return FEndLine->Active(); }
  void SetResizeEnd(bool Value);
  TGrafTransparency Transparency() const { return FTransparency; }
  void SetTransparency(TGrafTransparency Value) { ChangeInteger(FTransparency, Value); }
  TMouseEvent OnClick;

  TColorLineTool* StartLine() const { return FStartLine.get(); }
  TColorLineTool* EndLine() const { return FEndLine.get(); }
  TRect BoundsRect();
  bool Clicked(int X, int Y);

private:
  std::unique_ptr<TColorLineTool> NewLine();
  void SyncLines();
  int BandDepth() const;
  void PaintBand();
  void LineDragged(TObject* Sender);

  TColor FColor = clWhite;
  TCursor FCursor = crDefault;
  bool FDrawBehind = true;
  bool FDrawBehindAxes = false;
  double FStartValue = 0;
  double FEndValue = 0;
  std::unique_ptr<TGrafGradient> FGradient;
  TGrafTransparency FTransparency = 0;
  std::unique_ptr<TColorLineTool> FStartLine;
  std::unique_ptr<TColorLineTool> FEndLine;
};

class TGridBandBrush : public TChartBrush {
public:
  explicit TGridBandBrush(TNotifyEvent OnChange = {});
  ~TGridBandBrush() override;
  std::string ClassName() const override { return "TGridBandBrush"; }
  void Assign(const TGraphicsObject* Source) override;
  TColor BackColor() const { return FBackColor; }
  void SetBackColor(TColor Value);
  TGrafGradient* Gradient() const { return FGradient.get(); }
  void SetGradient(TCustomGrafGradient* Value) { FGradient->Assign(Value); }
  TGrafTransparency Transparency() const { return FTransparency; }
  void SetTransparency(TGrafTransparency Value);

private:
  TNotifyEvent FOnChange;
  TColor FBackColor = clNone;
  std::unique_ptr<TGrafGradient> FGradient;
  TGrafTransparency FTransparency = 0;
};

class TGridBandTool : public TGrafCustomToolAxis {
  ZV_CLASS(TGridBandTool)
public:
  explicit TGridBandTool(TComponent* AOwner = nullptr);
  ~TGridBandTool() override;
  std::string EditorFormClassName() const override { return "TGridBandToolEdit"; }
  std::string ToolTypeName() const override;
  void SetAxis(TChartAxis* Value) override;

  TGridBandBrush* Band1() const { return FBand1.get(); }
  void SetBand1(TGridBandBrush* Value) { FBand1->Assign(Value); }
  TGridBandBrush* Band2() const { return FBand2.get(); }
  void SetBand2(TGridBandBrush* Value) { FBand2->Assign(Value); }
  TColor BandBackColor(TGridBandBrush* Brush) const;
  // Run by the axis as it starts drawing its grid.
  void PaintBands(TChartAxis* Axis);

private:
  void PaintBand(TChartAxis* Axis, TGridBandBrush* Brush, int A, int B);
  std::unique_ptr<TGridBandBrush> FBand1;
  std::unique_ptr<TGridBandBrush> FBand2;
};

// ============================================================================
// Annotation and rectangle

enum TAnnotationPosition { ppLeftTop, ppLeftBottom, ppRightTop, ppRightBottom };
const TEnumInfo& AnnotationPositionEnumInfo();

class TGrafShapePosition : public TGrafCustomShapePosition {
  ZV_CLASS(TGrafShapePosition)
public:
  explicit TGrafShapePosition(TCustomGrafPanel* Panel = nullptr) : TGrafCustomShapePosition(Panel) {}
};

class TAnnotationCallout : public TCallout {
  ZV_CLASS(TAnnotationCallout)
public:
  explicit TAnnotationCallout(TChartSeries* Series = nullptr);
  void Assign(TPersistent* Source) override;
  int XPosition() const { return FX; }
  void SetXPosition(int Value);
  int YPosition() const { return FY; }
  void SetYPosition(int Value);
  int ZPosition() const { return FZ; }
  void SetZPosition(int Value);

private:
  int FX = 0;
  int FY = 0;
  int FZ = 0;
};

// The box edge (or middle) of R facing the point P.
TPoint AnnotationCalloutAnchor(const TRect& R, TPoint P);

using TAnnotationClick =
    std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;

class TAnnotationTool : public TGrafCustomTool {
  ZV_CLASS(TAnnotationTool)
public:
  explicit TAnnotationTool(TComponent* AOwner = nullptr);
  ~TAnnotationTool() override;
  std::string EditorFormClassName() const override { return "TAnnotationToolEdit"; }
  void SetParentChart(TCustomAxisPanel* Value) override;
  void HandleChartEvent(int Code) override;
  void HandleMouseEvent(int Kind, TMouseButton Button, TShiftState Shift, int X, int Y) override;
  std::string ToolTypeName() const override;
  virtual std::string GetText() const { return FText; }

  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool Value) { ChangeBool(FAutoSize, Value); }
  TAnnotationCallout* Callout() const { return FCallout.get(); }
  void SetCallout(TAnnotationCallout* Value) { FCallout->Assign(Value); }
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor Value) { FCursor = Value; }
  TAnnotationPosition Position() const { return FPosition; }
  void SetPosition(TAnnotationPosition Value);
  TGrafUnits PositionUnits() const { return FPositionUnits; }
  void SetPositionUnits(TGrafUnits Value);
  TGrafShapePosition* Shape() const { return FShape.get(); }
  void SetShape(TGrafShapePosition* Value) { FShape->Assign(Value); }
  const std::string& Text() const { return FText; }
  void SetText(const std::string& Value) { ChangeString(FText, Value); }
  TAlignment TextAlignment() const { return FTextAlignment; }
  void SetTextAlignment(TAlignment Value);
  int Width() const { return FShape->BoundsWidth(); }
  void SetWidth(int Value);
  int Height() const { return FShape->BoundsHeight(); }
  void SetHeight(int Value);
  int Left() const { return FShape->Left(); }
  void SetLeft(int Value);
  int Top() const { return FShape->Top(); }
  void SetTop(int Value);
  TAnnotationClick OnClick;

  bool ContainsPoint(int X, int Y);
  // Line count, text origin and the box.
  void CalcLayout(int& Lines, int& X, int& Y, TRect& Box);

protected:
  void PaintAnnotation();
  bool FAutoSize = true;
  std::unique_ptr<TAnnotationCallout> FCallout;
  TCursor FCursor = crDefault;
  TAnnotationPosition FPosition = ppLeftTop;
  TGrafUnits FPositionUnits = muPixels;
  std::unique_ptr<TGrafShapePosition> FShape;
  std::string FText;
  TAlignment FTextAlignment = taLeftJustify;
};

class TRectangleTool : public TAnnotationTool {
  ZV_CLASS(TRectangleTool)
public:
  explicit TRectangleTool(TComponent* AOwner = nullptr);
  void HandleMouseEvent(int Kind, TMouseButton Button, TShiftState Shift, int X, int Y) override;
  std::string ToolTypeName() const override;
  int EdgeAt(int X, int Y);
  TNotifyEvent OnDragged;
  TNotifyEvent OnDragging;
  TNotifyEvent OnResized;
  TNotifyEvent OnResizing;

private:
  TPoint FOffset;
  bool FMoving = false;
  int FEdge = -1;
};

// ============================================================================
// Draw line

enum TDrawLineStyle { dlLine, dlHorizParallel, dlVertParallel };
const TEnumInfo& DrawLineStyleEnumInfo();
class TDrawLineTool;

struct TFloatPair {
  double X = 0;
  double Y = 0;
};

class TDrawLine : public TCollectionItem {
  ZV_CLASS(TDrawLine)
public:
  explicit TDrawLine(TCollection* Collection);
  ~TDrawLine() override;
  void Assign(TPersistent* Source) override;

  TChartPen* Pen();
  bool HasOwnPen() const { return FPen != nullptr; }
  void SetPen(TChartPen* Value);
  TDrawLineStyle Style() const { return FStyle; }
  void SetStyle(TDrawLineStyle Value);
  double X0() const { return FStart.X; }
  void SetX0(double V) { SetCoord(FStart.X, V); }
  double Y0() const { return FStart.Y; }
  void SetY0(double V) { SetCoord(FStart.Y, V); }
  double X1() const { return FEnd.X; }
  void SetX1(double V) { SetCoord(FEnd.X, V); }
  double Y1() const { return FEnd.Y; }
  void SetY1(double V) { SetCoord(FEnd.Y, V); }
  TFloatPair StartPos() const { return FStart; }
  TFloatPair EndPos() const { return FEnd; }
  void SetStartPos(TFloatPair P) { FStart = P; }
  void SetEndPos(TFloatPair P) { FEnd = P; }

  TDrawLineTool* Tool() const;
  TRect StartHandle() const;
  TRect EndHandle() const;
  void DrawHandles();
  bool Hit(int X, int Y, int Tolerance, int Part) const;

private:
  void SetCoord(double& Field, double Value);
  std::unique_ptr<TChartPen> FPen;
  TDrawLineStyle FStyle = dlLine;
  TFloatPair FEnd;
  TFloatPair FStart;
};

class TDrawLines : public TOwnedCollection {
  ZV_CLASS(TDrawLines)
public:
  explicit TDrawLines(TPersistent* Owner);
  TDrawLine* GetLine(int Index) const { return static_cast<TDrawLine*>(Items(Index)); }
};

using TDrawLineSelecting = std::function<void(TDrawLineTool* Sender, TDrawLine* Line, bool& AllowSelect)>;

class TDrawLineTool : public TGrafCustomToolSeries {
  ZV_CLASS(TDrawLineTool)
public:
  explicit TDrawLineTool(TComponent* AOwner = nullptr);
  ~TDrawLineTool() override;
  std::string EditorFormClassName() const override { return "TDrawLineEdit"; }
  void HandleChartEvent(int Code) override;
  void HandleMouseEvent(int Kind, TMouseButton Button, TShiftState Shift, int X, int Y) override;
  std::string ToolTypeName() const override;
  virtual void ClipDrawingArea();

  TMouseButton Button() const { return FButton; }
  void SetButton(TMouseButton Value) { FButton = Value; }
  int ClickTolerance() const { return FClickTolerance; }
  void SetClickTolerance(int Value) { FClickTolerance = Value; }
  bool EnableDraw() const { return FEnableDraw; }
  void SetEnableDraw(bool Value) { FEnableDraw = Value; }
  bool EnableSelect() const { return FEnableSelect; }
  void SetEnableSelect(bool Value);
  TDrawLines* Lines() const { return FLines.get(); }
  void SetLines(TDrawLines* Value) { FLines->Assign(Value); }
  bool SelectNewLines() const { return FSelectNewLines; }
  void SetSelectNewLines(bool Value) { FSelectNewLines = Value; }
  TNotifyEvent OnDraggedLine;
  TNotifyEvent OnDragLine;
  TNotifyEvent OnNewLine;
  TNotifyEvent OnSelect;
  TDrawLineSelecting OnSelecting;

  TDrawLine* Selected = nullptr;
  TPoint ValueToScreen(TFloatPair P) const;
  TFloatPair ScreenToValue(TPoint P) const;
  TDrawLine* Clicked(int X, int Y) { return ClickedTolerance(X, Y, FClickTolerance); }
  TDrawLine* ClickedTolerance(int X, int Y, int Tolerance);
  TDrawLine* LineAt(int X, int Y, int Part) { return LineAtTolerance(X, Y, FClickTolerance, Part); }
  TDrawLine* LineAtTolerance(int X, int Y, int Tolerance, int Part);
  void DrawLineShape(TPoint From, TPoint To, TDrawLineStyle Style);

private:
  void DrawRubberLine(TDrawLine* Line);
  void StartDrag(TDrawLine* Line, int X, int Y);
  bool CheckHover(int X, int Y);

  TMouseButton FButton = mbLeft;
  int FClickTolerance = 0;
  bool FEnableDraw = true;
  bool FEnableSelect = true;
  std::unique_ptr<TDrawLines> FLines;
  bool FSelectNewLines = true;
  bool FDrawing = false;
  bool FDragged = false;
  TPoint FLast;
  int FPart = 0;
  TPoint FFrom;
  TPoint FTo;
};

// ============================================================================
// Drag marks, drag point

class TDragMarksTool : public TGrafCustomToolSeries {
  ZV_CLASS(TDragMarksTool)
public:
  explicit TDragMarksTool(TComponent* AOwner = nullptr);
  std::string EditorFormClassName() const override { return "TDragMarksToolEditor"; }
  void HandleMouseEvent(int Kind, TMouseButton Button, TShiftState Shift, int X, int Y) override;
  std::string ToolTypeName() const override;

  TChartSeries* GrabbedSeries() const { return FSeries2; }
  int GrabbedIndex() const { return FIndex; }

private:
  bool GrabMarkOf(TChartSeries* S, int X, int Y);
  bool SeriesMarkHit(TChartSeries* S, int X, int Y);
  TChartSeries* FSeries2 = nullptr;
  int FIndex = -1;
  TPoint FLast;
};

enum TDragPointStyle { dsX, dsY, dsBoth };
const TEnumInfo& DragPointStyleEnumInfo();
class TDragPointTool;
using TDragPointToolEvent = std::function<void(TDragPointTool* Sender, int Index)>;

class TDragPointTool : public TGrafCustomToolSeries {
  ZV_CLASS(TDragPointTool)
public:
  explicit TDragPointTool(TComponent* AOwner = nullptr);
  std::string EditorFormClassName() const override { return "TDragPointToolEdit"; }
  void HandleMouseEvent(int Kind, TMouseButton Button, TShiftState Shift, int X, int Y) override;
  std::string ToolTypeName() const override { return "Drag Point"; }
  TDragPointStyle DragStyle() const { return FDragStyle; }
  void SetDragStyle(TDragPointStyle Value) { FDragStyle = Value; }
  TDragPointToolEvent OnDragPoint;
  int DraggedIndex() const { return FIndex; }

private:
  TDragPointStyle FDragStyle = dsBoth;
  int FIndex = -1;
};

// ============================================================================
// Axis arrows and axis scroll

enum TAxisArrowToolPosition { aaStart, aaEnd, aaBoth };
const TEnumInfo& AxisArrowToolPositionEnumInfo();
class TAxisArrowTool;
using TAxisArrowClickEvent = std::function<void(TAxisArrowTool* Sender, bool AtStart)>;

class TAxisArrowTool : public TGrafCustomToolAxis {
  ZV_CLASS(TAxisArrowTool)
public:
  explicit TAxisArrowTool(TComponent* AOwner = nullptr);
  std::string EditorFormClassName() const override { return "TAxisArrowToolEditor"; }
  void HandleChartEvent(int Code) override;
  void HandleMouseEvent(int Kind, TMouseButton Button, TShiftState Shift, int X, int Y) override;
  std::string ToolTypeName() const override;

  TAxisArrowToolPosition Position() const { return FPosition; }
  void SetPosition(TAxisArrowToolPosition Value);
  int HeadWidth() const { return FHeadWidth; }
  void SetHeadWidth(int Value) { ChangeInteger(FHeadWidth, Value); }
  int Length() const { return FLength; }
  void SetLength(int Value) { ChangeInteger(FLength, Value); }
  bool ScrollInverted() const { return FScrollInverted; }
  void SetScrollInverted(bool Value) { FScrollInverted = Value; }
  int ScrollPercent() const { return FScrollPercent; }
  void SetScrollPercent(int Value) { FScrollPercent = Value; }
  int SizePercent() const { return FSizePercent; }
  void SetSizePercent(int Value) { ChangeInteger(FSizePercent, Value); }
  TAxisArrowClickEvent OnClick;

  int ClickedArrow(int X, int Y);
  void ScrollBy(double Delta);
  TChartAxis* PairedAxis(TChartAxis* Axis);

private:
  void DrawArrow(int P, int Len, int Z);
  TAxisArrowToolPosition FPosition = aaBoth;
  int FHeadWidth = 8;
  int FLength = 16;
  bool FScrollInverted = false;
  int FScrollPercent = 10;
  int FSizePercent = 50;
};

class TAxisScrollTool : public TGrafCustomToolAxis {
  ZV_CLASS(TAxisScrollTool)
public:
  explicit TAxisScrollTool(TComponent* AOwner = nullptr) : TGrafCustomToolAxis(AOwner) {}
  void HandleMouseEvent(int Kind, TMouseButton Button, TShiftState Shift, int X, int Y) override;
  std::string ToolTypeName() const override;
  bool ScrollInverted() const { return FScrollInverted; }
  void SetScrollInverted(bool Value) { FScrollInverted = Value; }
  TChartAxis* AxisUnderMouse(int X, int Y);

private:
  static void ScrollAxis(TChartAxis* Axis, int Delta);
  bool FScrollInverted = false;
  TChartAxis* FDragged = nullptr;
  TPoint FLast;
};

// ============================================================================
// Rotate

enum TRotateToolStyles { rsAll, rsRotation, rsElevation };
const TEnumInfo& RotateToolStylesEnumInfo();

double NextRotationAngle(bool FullRotation, double Delta, double Current);
double NextElevationAngle(bool FullRotation, double Delta, double Current);
double WrapAngle360(double A);

class TRotateTool : public TGrafCustomTool {
  ZV_CLASS(TRotateTool)
public:
  explicit TRotateTool(TComponent* AOwner = nullptr);
  std::string EditorFormClassName() const override { return "TRotateToolEditor"; }
  void HandleMouseEvent(int Kind, TMouseButton Button, TShiftState Shift, int X, int Y) override;
  std::string ToolTypeName() const override;

  TMouseButton Button() const { return FButton; }
  void SetButton(TMouseButton Value) { FButton = Value; }
  bool Inverted() const { return FInverted; }
  void SetInverted(bool Value) { FInverted = Value; }
  TRotateToolStyles Style() const { return FStyle; }
  void SetStyle(TRotateToolStyles Value) { FStyle = Value; }
  TNotifyEvent OnRotate;
  void DrawOutline();

private:
  void RotateByMouse(int X, int Y);
  TMouseButton FButton = mbLeft;
  bool FInverted = false;
  TRotateToolStyles FStyle = rsAll;
  bool FRotating = false;
  TPoint FLast;
  bool FFirstMove = true;
  bool FSavedRepaint = true;
};

// ============================================================================
// Chart image and series clip

class TChartImageTool : public TGrafCustomToolSeries {
  ZV_CLASS(TChartImageTool)
public:
  explicit TChartImageTool(TComponent* AOwner = nullptr);
  ~TChartImageTool() override;
  std::string EditorFormClassName() const override { return "TChartImageToolEditor"; }
  void HandleChartEvent(int Code) override;
  std::string ToolTypeName() const override;
  void SetSeries(TChartSeries* Value) override;
  TPicture* Picture() const { return FPicture.get(); }
  void SetPicture(const TPicture* Value);
  // The rectangle the picture is stretched over.
  TRect TargetRect();

private:
  std::unique_ptr<TPicture> FPicture;
};

class TClipSeriesTool : public TGrafCustomToolSeries {
  ZV_CLASS(TClipSeriesTool)
public:
  explicit TClipSeriesTool(TComponent* AOwner = nullptr) : TGrafCustomToolSeries(AOwner) {}
  ~TClipSeriesTool() override;
  std::string ToolTypeName() const override;
  void SetSeries(TChartSeries* Value) override;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  void Unhook();
  void SeriesBeforeDraw(TObject* Sender);
  void SeriesAfterDraw(TObject* Sender);
  // The series' own handlers, called from ours and given back on release.
  TNotifyEvent FOldBefore;
  TNotifyEvent FOldAfter;
  bool FClipped = false;
};

// ============================================================================
// Series animation

enum TSeriesAnimationLoop { salNo, salOneWay, salCircular };
const TEnumInfo& SeriesAnimationLoopEnumInfo();
class TSeriesAnimationTool;
using TSeriesAnimationStep = std::function<void(TSeriesAnimationTool* Sender, int Step)>;

class TSeriesAnimationTool : public TGrafCustomToolSeries {
  ZV_CLASS(TSeriesAnimationTool)
public:
  explicit TSeriesAnimationTool(TComponent* AOwner = nullptr);
  ~TSeriesAnimationTool() override;
  std::string EditorFormClassName() const override { return "TSeriesAnimToolEditor"; }
  std::string ToolTypeName() const override;
  virtual void Execute();

  int DrawEvery() const { return FDrawEvery; }
  void SetDrawEvery(int Value) { FDrawEvery = Value; }
  TSeriesAnimationLoop Loop() const { return FLoop; }
  void SetLoop(TSeriesAnimationLoop Value) { FLoop = Value; }
  bool StartAtMin() const { return FStartAtMin; }
  void SetStartAtMin(bool Value) { FStartAtMin = Value; }
  double StartValue() const { return FStartValue; }
  void SetStartValue(double Value) { FStartValue = Value; }
  int Steps() const { return FSteps; }
  void SetSteps(int Value) { FSteps = Value; }
  TSeriesAnimationStep OnStep;

  bool IsAnimating() const { return !FStopped; }
  void StopAnimation() { FStopped = true; }
  // Messages processed between frames; tests replace it.
  static std::function<void()> ProcessMessagesHook;

private:
  struct TRun;
  bool AnimateOnce(TRun& Run, bool Forward);
  bool Redraw(TRun& Run);
  void RestoreValues(TRun& Run);

  int FDrawEvery = 0;
  TSeriesAnimationLoop FLoop = salNo;
  bool FStartAtMin = true;
  double FStartValue = 0;
  int FSteps = 100;
  bool FStopped = true;
  // Cleared by the destructor: a run in progress finds the tool gone.
  std::shared_ptr<bool> FAlive;
  TRun* FRun = nullptr;
};
