// The tools' registration and shared helpers; the cursor, nearest point and
// mark tips tools.
#include "chart/series/graftools.h"

#include <cmath>

#include "chart/core/grafconst.h"
#include "chart/series/grafdatatable.h"
#include "platform/ui/forms.h"

// ---- Shared --------------------------------------------------------------------------------------

bool SeriesVisibleRange(TChartSeries* Series, int& First, int& Last) {
  const int n = Series->PointCount();
  First = Series->FirstVisible < 0 ? 0 : Series->FirstVisible;
  Last = Series->LastVisible;
  if (Last < 0 || Last >= n) Last = n - 1;
  return n > 0 && n >= First && n >= Last;
}

TColor XorPenColor(TColor PenColor, TColor Back) {
  return static_cast<TColor>(ColorToRGB(PenColor) ^ ColorToRGB(Back));
}

TColor NotXorPenColor(TColor PenColor, TColor Back) {
  return static_cast<TColor>(ColorToRGB(PenColor) ^ (0xFFFFFF - ColorToRGB(Back)));
}

namespace {
TColor ChartBackColor(TCustomAxisPanel* Chart) {
  const TColor c = Chart->Color();
  return c == clDefault ? clBtnFace : c;
}
}  // namespace

void RegisterChartToolClasses() {
  static const bool done = [] {
    RegisterToolTypes({&TCursorTool::StaticClass(), &TDragMarksTool::StaticClass(), &TAxisArrowTool::StaticClass(),
                       &TDrawLineTool::StaticClass(), &TNearestTool::StaticClass(), &TColorBandTool::StaticClass(),
                       &TColorLineTool::StaticClass(), &TRotateTool::StaticClass(),
                       &TChartImageTool::StaticClass(), &TMarksTipTool::StaticClass(),
                       &TAnnotationTool::StaticClass(), &TSeriesAnimationTool::StaticClass(),
                       &TGridBandTool::StaticClass(), &TAxisScrollTool::StaticClass(),
                       &TRectangleTool::StaticClass(), &TClipSeriesTool::StaticClass()});
    RegisterToolTypes({&TDragPointTool::StaticClass()});
    RegisterToolTypes({&TDataTableTool::StaticClass()});
    RegisterClass(&TDrawLine::StaticClass());
    RegisterClass(&TDrawLines::StaticClass());
    // The grid band brushes stream their extras with the brush settings.
    static const TChartBrush brush;
    RegisterForeignClass<TGridBandBrush>("TGridBandBrush", GetClassInfo(&brush), [](TClassInfo& c) {
      using B = TGridBandBrush;
      c.Integer<B>("BackColor", &B::BackColor, &B::SetBackColor, clNone);
      c.Object<B, TGrafGradient>("Gradient", &B::Gradient, &B::SetGradient);
      c.Integer<B>("Transparency", &B::Transparency, &B::SetTransparency, 0);
    });
    return true;
  }();
  (void)done;
}

void UnregisterChartToolClasses() {
  UnregisterToolTypes({&TCursorTool::StaticClass(), &TDragMarksTool::StaticClass(), &TAxisArrowTool::StaticClass(),
                       &TDrawLineTool::StaticClass(), &TNearestTool::StaticClass(), &TColorBandTool::StaticClass(),
                       &TColorLineTool::StaticClass(), &TRotateTool::StaticClass(), &TChartImageTool::StaticClass(),
                       &TMarksTipTool::StaticClass(), &TAnnotationTool::StaticClass(),
                       &TSeriesAnimationTool::StaticClass(), &TGridBandTool::StaticClass(),
                       &TAxisScrollTool::StaticClass(), &TRectangleTool::StaticClass(),
                       &TClipSeriesTool::StaticClass(), &TDragPointTool::StaticClass(),
                       &TDataTableTool::StaticClass()});
}

// ============================================================================
// Cursor

const TEnumInfo& CursorToolStyleEnumInfo() {
  static const TEnumInfo info{"TCursorToolStyle", {"cssHorizontal", "cssVertical", "cssBoth"}, 0};
  return info;
}

ZV_CLASS_IMPL(TCursorTool, TGrafCustomToolSeries)

void TCursorTool::DeclareProperties(TClassInfo& c) {
  using T = TCursorTool;
  c.Integer<T>("ClickTolerance", &T::ClickTolerance, &T::SetClickTolerance, 3);
  c.Boolean<T>("FollowMouse", &T::FollowMouse, &T::SetFollowMouse, false);
  c.Object<T, TChartPen>("Pen", &T::Pen, &T::SetPen);
  c.Boolean<T>("Snap", &T::Snap, &T::SetSnap, false);
  c.Enum<T>("Style", CursorToolStyleEnumInfo(), &T::Style, &T::SetStyle, cssBoth);
  c.Boolean<T>("UseSeriesZ", &T::UseSeriesZ, &T::SetUseSeriesZ, false);
}

TCursorTool::TCursorTool(TComponent* AOwner) : TGrafCustomToolSeries(AOwner) {}

std::string TCursorTool::ToolTypeName() const { return GrafMsgExCursor; }

void TCursorTool::Assign(TPersistent* Source) {
  if (auto* t = dynamic_cast<TCursorTool*>(Source)) {
    UseChartRect = t->UseChartRect;
    XValue = t->XValue;
    YValue = t->YValue;
    FClickTolerance = t->FClickTolerance;
    FFollowMouse = t->FFollowMouse;
    FSnap = t->FSnap;
    FStyle = t->FStyle;
    FUseSeriesZ = t->FUseSeriesZ;
  }
  TGrafCustomToolSeries::Assign(Source);
}

void TCursorTool::SetStyle(TCursorToolStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  SnapToPoint();
  RequestRedraw();
}

void TCursorTool::SetSeries(TChartSeries* Value) {
  TGrafCustomToolSeries::SetSeries(Value);
  FLastSnap = -1;
  if (FSeries && !ComponentState().Contains(csLoading)) {
    SnapToPoint();
    RequestRedraw();
  }
}

void TCursorTool::DoChange(int Index) {
  if (OnChange) OnChange(this, FX, FY, XValue, YValue, FSeries, Index);
}

TRect TCursorTool::GetAxisRect() {
  if (UseChartRect) return FParentChart->ChartArea;
  TChartAxis* h = ResolveHorizAxis();
  TChartAxis* v = ResolveVertAxis();
  TRect r{h->StartPixel, v->StartPixel, h->EndPixel, v->EndPixel};
  if (OnGetAxisRect) OnGetAxisRect(this, r);
  return r;
}

int TCursorTool::SeriesDepth() const { return FUseSeriesZ && FSeries ? FSeries->StartZ : 0; }

void TCursorTool::CalcValuePositions(int X, int Y) {
  if (FUseSeriesZ) FParentChart->PanelCanvas()->UnprojectPoint(X, Y, SeriesDepth());
  if (FDragging == 1) {
    YValue = ResolveVertAxis()->PixelToValue(Y);
  } else if (FDragging == 2) {
    XValue = ResolveHorizAxis()->PixelToValue(X);
  } else {
    XValue = ResolveHorizAxis()->PixelToValue(X);
    YValue = ResolveVertAxis()->PixelToValue(Y);
  }
}

void TCursorTool::CalcScreenPositions() {
  TChartAxis* h = ResolveHorizAxis();
  TChartAxis* v = ResolveVertAxis();
  if (FX == -1 || FY == -1) {
    FX = (h->StartPixel + h->EndPixel) / 2;
    FY = (v->StartPixel + v->EndPixel) / 2;
    CalcValuePositions(FX, FY);
    const int index = SnapToPoint();
    CalcScreenPositions();
    DoChange(index);
    return;
  }
  FX = h->ValueToPixel(XValue);
  FY = v->ValueToPixel(YValue);
}

int TCursorTool::NearestPoint(TCursorToolStyle AStyle) {
  int first, last;
  if (!FSeries || !SeriesVisibleRange(FSeries, first, last)) return -1;
  int best = -1;
  double bestDist = 0;
  for (int i = first; i <= last; ++i) {
    const double dx = XValue - FSeries->XValueAt(i), dy = YValue - FSeries->YValueAt(i);
    const double d = AStyle == cssHorizontal ? std::fabs(dy)
                     : AStyle == cssVertical ? std::fabs(dx)
                                             : std::sqrt(dx * dx + dy * dy);
    if (best < 0 || d < bestDist) {
      best = i;
      bestDist = d;
    }
  }
  return best;
}

int TCursorTool::SnapToPoint() {
  if (!FSnap || !FSeries) return -1;
  const int index = NearestPoint(FStyle);
  if (index == -1) return -1;
  if (FStyle != cssHorizontal) XValue = FSeries->XValueAt(index);
  if (FStyle != cssVertical) YValue = FSeries->YValueAt(index);
  return index;
}

void TCursorTool::RedrawCursor() {
  if (!FParentChart) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  canvas->ApplyPenWithColor(Pen(), XorPenColor(Pen()->Color(), ChartBackColor(FParentChart)));
  canvas->CanvasBrush()->SetStyle(bsClear);
  canvas->CanvasPen()->SetMode(pmXor);
  const TRect r = GetAxisRect();
  const bool is3D = FParentChart->View3D();
  const int z = SeriesDepth();
  if (FStyle != cssVertical) {
    if (is3D) canvas->HorizontalLine3D(r.Left, r.Right, FY, z);
    else canvas->HorizontalLine(r.Left, r.Right, FY);
  }
  if (FStyle != cssHorizontal) {
    if (is3D) canvas->VerticalLine3D(FX, r.Top, r.Bottom, z);
    else canvas->VerticalLine(FX, r.Top, r.Bottom);
  }
  canvas->CanvasPen()->SetMode(pmCopy);
  canvas->MarkDirty();
}

bool TCursorTool::InsideAxisRect(int X, int Y) {
  if (FUseSeriesZ) FParentChart->PanelCanvas()->UnprojectPoint(X, Y, SeriesDepth());
  const TRect r = GetAxisRect();
  return X >= r.Left && X <= r.Right && Y >= r.Top && Y <= r.Bottom;
}

int TCursorTool::CursorHit(int X, int Y) {
  if (!InsideAxisRect(X, Y)) return 0;
  if (FUseSeriesZ) FParentChart->PanelCanvas()->UnprojectPoint(X, Y, SeriesDepth());
  const bool nearY = std::abs(Y - FY) <= FClickTolerance, nearX = std::abs(X - FX) <= FClickTolerance;
  if (FStyle == cssBoth && nearX && nearY) return 3;
  if (FStyle != cssVertical && nearY) return 1;
  if (FStyle != cssHorizontal && nearX) return 2;
  return 0;
}

void TCursorTool::HandleChartEvent(int Code) {
  TGrafCustomToolSeries::HandleChartEvent(Code);
  if (Code != cteAfterDraw) return;
  CalcScreenPositions();
  RedrawCursor();
}

void TCursorTool::HandleMouseEvent(int Kind, TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGrafCustomToolSeries::HandleMouseEvent(Kind, Button, Shift, X, Y);
  if (!FParentChart) return;
  if (Kind == cmeDown) {
    if (!FFollowMouse) {
      FDragging = CursorHit(X, Y);
      if (FDragging != 0) FParentChart->MouseCancelled = true;
    }
  } else if (Kind == cmeMove) {
    if ((FDragging != 0 || FFollowMouse) && InsideAxisRect(X, Y)) {
      RedrawCursor();
      CalcValuePositions(X, Y);
      const int index = SnapToPoint();
      CalcScreenPositions();
      RedrawCursor();
      DoChange(index);
      if (OnSnapChange && index != FLastSnap) OnSnapChange(this, FX, FY, XValue, YValue, FSeries, index);
      FLastSnap = index;
    } else {
      const int hit = CursorHit(X, Y);
      if (hit != 0) {
        FParentChart->SetCursor(hit == 1 ? crVSplit : hit == 2 ? crHSplit : crSizeAll);
        FParentChart->MouseCancelled = true;
      }
    }
  } else if (Kind == cmeUp) {
    FDragging = 0;
  }
}

// ============================================================================
// Nearest point

const TEnumInfo& NearestToolStyleEnumInfo() {
  static const TEnumInfo info{"TNearestToolStyle", {"hsNone", "hsCircle", "hsRectangle", "hsDiamond"}, 0};
  return info;
}

ZV_CLASS_IMPL(TNearestTool, TGrafCustomToolSeries)

void TNearestTool::DeclareProperties(TClassInfo& c) {
  using T = TNearestTool;
  c.Object<T, TChartBrush>("Brush", &T::Brush, &T::SetBrush);
  c.Boolean<T>("DrawLine", &T::DrawLine, &T::SetDrawLine, true);
  c.Boolean<T>("FullRepaint", &T::FullRepaint, &T::SetFullRepaint, true);
  c.Object<T, TChartPen>("LinePen", &T::LinePen, &T::SetLinePen);
  c.Object<T, TChartPen>("Pen", &T::Pen, &T::SetPen);
  c.Integer<T>("Size", &T::Size, &T::SetSize, 20);
  c.Enum<T>("Style", NearestToolStyleEnumInfo(), &T::Style, &T::SetStyle, hsCircle);
}

TNearestTool::TNearestTool(TComponent* AOwner) : TGrafCustomToolSeries(AOwner) {
  FLinePen = NewPen();
  Brush()->SetStyle(bsClear);
  Pen()->SetStyle(psDot);
  Pen()->SetColor(clWhite);
}

std::string TNearestTool::ToolTypeName() const { return GrafMsgExNearestPoint; }

void TNearestTool::SetStyle(TNearestToolStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  RequestRedraw();
}

namespace {
TPoint PointPixel(TChartSeries* S, int Index, int* Z = nullptr) {
  TPoint p{S->PointXPixel(Index), S->PointYPixel(Index)};
  TChartValueList* zList = nullptr;
  for (TChartValueList* l : *S->ValuesList())
    if (l->Name() == "Z") zList = l;
  TCustomAxisPanel* chart = S->ParentChart();
  if (zList && chart) {
    const int z = chart->DepthAxis()->ValueToPixel(zList->GetValue(Index));
    p = chart->PanelCanvas()->ProjectXYZ(p.X, p.Y, z);
    if (Z) *Z = z;
  } else if (Z) {
    *Z = S->StartZ;
  }
  return p;
}
}  // namespace

int TNearestTool::NearestPointIndex(TChartSeries* Series, int X, int Y, bool IncludeNulls) {
  int best = -1, smallest = 10000, first, last;
  if (!Series || !Series->ParentChart() || !SeriesVisibleRange(Series, first, last)) return -1;
  const TRect& r = Series->ParentChart()->ChartArea;
  for (int i = first; i <= last; ++i) {
    if (!IncludeNulls && Series->PointIsNull(i)) continue;
    const TPoint p = PointPixel(Series, i);
    if (p.X < r.Left || p.X > r.Right || p.Y < r.Top || p.Y > r.Bottom) continue;
    const int d = static_cast<int>(std::nearbyint(VectorLength(X - p.X, Y - p.Y)));
    if (d < smallest) {
      smallest = d;
      best = i;
    }
  }
  return best;
}

void TNearestTool::PaintHint() {
  if (!FSeries || !FParentChart || Point == -1 || Point >= FSeries->PointCount()) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  canvas->ApplyPen(Pen());
  if (!FFullRepaint) canvas->CanvasPen()->SetMode(pmNotXor);
  int z = 0;
  const TPoint p = PointPixel(FSeries, Point, &z);
  const bool is3D = FParentChart->View3D();
  if (FStyle != hsNone) {
    canvas->ApplyBrush(Brush(), clBlack, Brush()->Color());
    const TRect box{p.X - FSize, p.Y - FSize, p.X + FSize, p.Y + FSize};
    if (FStyle == hsCircle) {
      if (is3D) canvas->EllipseWithZ(box.Left, box.Top, box.Right, box.Bottom, z);
      else canvas->Ellipse(box.Left, box.Top, box.Right, box.Bottom);
    } else if (FStyle == hsRectangle) {
      if (is3D) canvas->RectangleWithZ(box, z);
      else canvas->Rectangle(box.Left, box.Top, box.Right, box.Bottom);
    } else {
      const TPoint pts[4] = {{p.X, p.Y - FSize}, {p.X + FSize, p.Y}, {p.X, p.Y + FSize}, {p.X - FSize, p.Y}};
      canvas->PolygonWithZ(pts, z);
    }
  }
  if (DrawLine()) {
    canvas->ApplyPen(FLinePen.get());
    if (!FFullRepaint) canvas->CanvasPen()->SetMode(pmNotXor);
    canvas->MovePenTo(MousePos.X, MousePos.Y);
    if (is3D) canvas->LineTo3D(p.X, p.Y, z);
    else canvas->LineTo(p.X, p.Y);
  }
  if (!FFullRepaint) canvas->CanvasPen()->SetMode(pmCopy);
}

void TNearestTool::HandleMouseEvent(int Kind, TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGrafCustomToolSeries::HandleMouseEvent(Kind, Button, Shift, X, Y);
  if (Kind != cmeMove || !FSeries) return;
  if (!FFullRepaint) PaintHint();
  Point = GetNearestPoint(FSeries, X, Y);
  MousePos = {X, Y};
  if (!FFullRepaint) PaintHint();
  if (OnChange) OnChange(this);
  if (FFullRepaint) RequestRedraw();
}

void TNearestTool::HandleChartEvent(int Code) {
  TGrafCustomToolSeries::HandleChartEvent(Code);
  if (Code == cteAfterDraw) {
    PaintHint();
  } else if (Code == cteMouseLeave) {
    if (!FFullRepaint) PaintHint();
    Point = -1;
    if (FFullRepaint) RequestRedraw();
  }
}

// ============================================================================
// Mark tips

const TEnumInfo& MarkToolMouseActionEnumInfo() {
  static const TEnumInfo info{"TMarkToolMouseAction", {"mtmMove", "mtmClick"}, 0};
  return info;
}

ZV_CLASS_IMPL(TMarksTipTool, TGrafCustomToolSeries)

void TMarksTipTool::DeclareProperties(TClassInfo& c) {
  using T = TMarksTipTool;
  c.Enum<T>("MouseAction", MarkToolMouseActionEnumInfo(), &T::MouseAction, &T::SetMouseAction, mtmMove);
  c.Integer<T>("MouseDelay", &T::MouseDelay, &T::SetMouseDelay, 500);
  c.Enum<T>("Style", SeriesMarksStyleEnumInfo(), &T::Style, &T::SetStyle, smsLabel);
}

TMarksTipTool::TMarksTipTool(TComponent* AOwner) : TGrafCustomToolSeries(AOwner) {}

std::string TMarksTipTool::ToolTypeName() const { return GrafMsgExMarkTips; }

int TMarksTipTool::MouseDelay() const { return Application ? Application->HintPause() : 500; }

void TMarksTipTool::SetMouseDelay(int Value) {
  if (Application) Application->SetHintPause(Value);
}

void TMarksTipTool::SetActive(bool Value) {
  TGrafCustomToolSeries::SetActive(Value);
  if (!Active()) CancelHint();
}

void TMarksTipTool::SetMouseAction(TMarkToolMouseAction Value) {
  FMouseAction = Value;
  CancelHint();
}

TCustomAxisPanel* TMarksTipTool::Chart() const {
  return FSeries && FSeries->ParentChart() ? FSeries->ParentChart() : FParentChart;
}

void TMarksTipTool::CancelHint() {
  TCustomAxisPanel* chart = Chart();
  if (!chart) return;
  if (OnCancelHint) OnCancelHint(this);
  const bool wasShown = !chart->Hint().empty();
  chart->SetHint("");
  if (wasShown && Application) Application->CancelHint();
}

void TMarksTipTool::HandleMouseEvent(int Kind, TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGrafCustomToolSeries::HandleMouseEvent(Kind, Button, Shift, X, Y);
  const bool acts = (Kind == cmeMove && FMouseAction == mtmMove) || (Kind == cmeDown && FMouseAction == mtmClick);
  TCustomAxisPanel* chart = Chart();
  if (!acts || !chart) return;
  TChartSeries* series = nullptr;
  int index = -1;
  if (FSeries) {
    series = FSeries;
    index = FSeries->IndexAtPoint(X, Y);
  } else {
    for (int i = chart->NumberOfSeries() - 1; i >= 0 && index == -1; --i) {
      TChartSeries* s = chart->SeriesAt(i);
      if (!s->Active()) continue;
      const int found = s->IndexAtPoint(X, Y);
      if (found != -1) {
        series = s;
        index = found;
      }
    }
  }
  if (index == -1) {
    bool other = false;
    for (TGrafCustomTool* t : *chart->Tools())
      if (t != this && dynamic_cast<TMarksTipTool*>(t)) other = true;
    if (!other) CancelHint();
    return;
  }
  const TSeriesMarksStyle oldStyle = series->Marks()->Style();
  const bool oldRepaint = chart->RepaintOnChange;
  chart->RepaintOnChange = false;
  try {
    series->Marks()->SetStyle(FStyle);
    std::string text = series->BuildMarkText(index);
    if (OnGetText) OnGetText(this, text);
    if (text != chart->Hint()) {
      if (Application) Application->CancelHint();
      chart->SetShowHint(true);
      chart->SetHint(text);
      if (Application) Application->ActivateHint(chart->ClientToScreen({X, Y}));
    }
  } catch (...) {
    series->Marks()->SetStyle(oldStyle);
    chart->RepaintOnChange = oldRepaint;
    throw;
  }
  series->Marks()->SetStyle(oldStyle);
  chart->RepaintOnChange = oldRepaint;
}
