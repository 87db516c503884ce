// Tools that move things with the mouse (marks, points, axes, the 3D view)
// and the image, clip and animation tools.
#include <algorithm>
#include <cmath>

#include "chart/core/grafconst.h"
#include "chart/series/graftools.h"
#include "platform/ui/forms.h"
#include "platform/ui/streaming.h"

// ============================================================================
// Drag marks

ZV_CLASS_IMPL_NOPROPS(TDragMarksTool, TGrafCustomToolSeries)

TDragMarksTool::TDragMarksTool(TComponent* AOwner) : TGrafCustomToolSeries(AOwner) {}

std::string TDragMarksTool::ToolTypeName() const { return GrafMsgExDragMarks; }

bool TDragMarksTool::GrabMarkOf(TChartSeries* S, int X, int Y) {
  if (!S->Active()) return false;
  const int index = S->Marks()->MarkAtPoint(X, Y);
  if (index == -1) return false;
  FSeries2 = S;
  FIndex = index;
  return true;
}

bool TDragMarksTool::SeriesMarkHit(TChartSeries* S, int X, int Y) {
  return S->Active() && S->Marks()->Visible() && S->Marks()->MarkAtPoint(X, Y) != -1;
}

void TDragMarksTool::HandleMouseEvent(int Kind, TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGrafCustomToolSeries::HandleMouseEvent(Kind, Button, Shift, X, Y);
  if (!FParentChart) return;
  auto anyOf = [&](const std::function<bool(TChartSeries*)>& f) {
    if (FSeries) return f(FSeries);
    for (int i = FParentChart->NumberOfSeries() - 1; i >= 0; --i)
      if (f(FParentChart->SeriesAt(i))) return true;
    return false;
  };
  if (Kind == cmeDown) {
    if (anyOf([&](TChartSeries* s) { return GrabMarkOf(s, X, Y); })) {
      FLast = {X, Y};
      FParentChart->MouseCancelled = true;
    }
  } else if (Kind == cmeMove) {
    if (FIndex != -1 && FSeries2) {
      TSeriesMarkPosition* p = FSeries2->Marks()->Positions()->PositionAt(FIndex);
      if (!p) return;
      p->Custom = true;
      const int dx = X - FLast.X, dy = Y - FLast.Y;
      p->LeftTop.X += dx;
      p->LeftTop.Y += dy;
      p->ArrowTo.X += dx;
      p->ArrowTo.Y += dy;
      FLast = {X, Y};
      FParentChart->MouseCancelled = true;
      FParentChart->Invalidate();
    } else if (anyOf([&](TChartSeries* s) { return SeriesMarkHit(s, X, Y); })) {
      FParentChart->SetCursor(crHandPoint);
      FParentChart->MouseCancelled = true;
    }
  } else if (Kind == cmeUp) {
    FIndex = -1;
    FSeries2 = nullptr;
  }
}

// ============================================================================
// Drag point

const TEnumInfo& DragPointStyleEnumInfo() {
  static const TEnumInfo info{"TDragPointStyle", {"dsX", "dsY", "dsBoth"}, 0};
  return info;
}

ZV_CLASS_IMPL(TDragPointTool, TGrafCustomToolSeries)

void TDragPointTool::DeclareProperties(TClassInfo& c) {
  using T = TDragPointTool;
  c.Enum<T>("DragStyle", DragPointStyleEnumInfo(), &T::DragStyle, &T::SetDragStyle, dsBoth);
}

TDragPointTool::TDragPointTool(TComponent* AOwner) : TGrafCustomToolSeries(AOwner) {}

void TDragPointTool::HandleMouseEvent(int Kind, TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGrafCustomToolSeries::HandleMouseEvent(Kind, Button, Shift, X, Y);
  if (!FSeries) return;
  if (Kind == cmeDown) {
    FIndex = FSeries->IndexAtPoint(X, Y);
    if (FIndex != -1 && FParentChart) FParentChart->MouseCancelled = true;
  } else if (Kind == cmeMove) {
    if (FIndex == -1 || FIndex >= FSeries->PointCount()) return;
    if (FDragStyle != dsY) FSeries->SetXValueAt(FIndex, FSeries->GetHorizAxis()->PixelToValue(X));
    if (FDragStyle != dsX) FSeries->SetYValueAt(FIndex, FSeries->GetVertAxis()->PixelToValue(Y));
    if (OnDragPoint) OnDragPoint(this, FIndex);
  } else if (Kind == cmeUp) {
    FIndex = -1;
  }
}

// ============================================================================
// Axis arrows

const TEnumInfo& AxisArrowToolPositionEnumInfo() {
  static const TEnumInfo info{"TAxisArrowToolPosition", {"aaStart", "aaEnd", "aaBoth"}, 0};
  return info;
}

ZV_CLASS_IMPL(TAxisArrowTool, TGrafCustomToolAxis)

void TAxisArrowTool::DeclareProperties(TClassInfo& c) {
  using T = TAxisArrowTool;
  c.Object<T, TChartBrush>("Brush", &T::Brush, &T::SetBrush);
  c.Integer<T>("HeadWidth", &T::HeadWidth, &T::SetHeadWidth, 8);
  c.Integer<T>("Length", &T::Length, &T::SetLength, 16);
  c.Object<T, TChartPen>("Pen", &T::Pen, &T::SetPen);
  c.Enum<T>("Position", AxisArrowToolPositionEnumInfo(), &T::Position, &T::SetPosition, aaBoth);
  c.Boolean<T>("ScrollInverted", &T::ScrollInverted, &T::SetScrollInverted, false);
  c.Integer<T>("ScrollPercent", &T::ScrollPercent, &T::SetScrollPercent, 10);
  c.Integer<T>("SizePercent", &T::SizePercent, &T::SetSizePercent, 50);
}

TAxisArrowTool::TAxisArrowTool(TComponent* AOwner) : TGrafCustomToolAxis(AOwner) {}

std::string TAxisArrowTool::ToolTypeName() const { return GrafMsgExAxisArrows; }

void TAxisArrowTool::SetPosition(TAxisArrowToolPosition Value) {
  if (FPosition == Value) return;
  FPosition = Value;
  RequestRedraw();
}

void TAxisArrowTool::DrawArrow(int P, int Len, int Z) {
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  const int a = FAxis->AxisLinePos;
  if (FAxis->Horizontal()) canvas->Arrow(true, {P + Len, a}, {P, a}, FHeadWidth, FHeadWidth, Z, FSizePercent);
  else canvas->Arrow(true, {a, P + Len}, {a, P}, FHeadWidth, FHeadWidth, Z, FSizePercent);
}

void TAxisArrowTool::HandleChartEvent(int Code) {
  TGrafCustomToolAxis::HandleChartEvent(Code);
  if (Code != cteAfterDraw || !FAxis || !FParentChart) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  canvas->ApplyBrush(Brush(), Brush()->Color());
  canvas->ApplyPen(Pen());
  const int z = FParentChart->View3D() && FAxis->OtherSide() ? FParentChart->DepthWidth() : 0;
  if (FPosition != aaEnd) DrawArrow(FAxis->StartPixel, FLength, z);
  if (FPosition != aaStart) DrawArrow(FAxis->EndPixel, -FLength, z);
}

int TAxisArrowTool::ClickedArrow(int X, int Y) {
  if (!FAxis) return -1;
  const int across = FAxis->Horizontal() ? Y : X, along = FAxis->Horizontal() ? X : Y;
  if (std::abs(across - FAxis->AxisLinePos) >= 3) return -1;
  if (FPosition != aaEnd && FAxis->StartPixel < along && along < FAxis->StartPixel + FLength) return 0;
  if (FPosition != aaStart && FAxis->EndPixel - FLength < along && along < FAxis->EndPixel) return 1;
  return -1;
}

TChartAxis* TAxisArrowTool::PairedAxis(TChartAxis* Axis) {
  for (int i = 0; i < FParentChart->NumberOfSeries(); ++i) {
    TChartSeries* s = FParentChart->SeriesAt(i);
    if (!s->IsOnAxis(Axis)) continue;
    if (Axis->Horizontal()) {
      if (s->HorizAxis() == aBothHorizAxis)
        return Axis == FParentChart->TopAxis() ? FParentChart->BottomAxis() : FParentChart->TopAxis();
    } else if (s->VertAxis() == aBothVertAxis) {
      return Axis == FParentChart->LeftAxis() ? FParentChart->RightAxis() : FParentChart->LeftAxis();
    }
  }
  return nullptr;
}

void TAxisArrowTool::ScrollBy(double Delta) {
  bool allow = true;
  auto* chart = dynamic_cast<TCustomChart*>(FParentChart);
  if (chart && chart->OnAllowScroll) {
    double lo = FAxis->Minimum() + Delta, hi = FAxis->Maximum() + Delta;
    chart->OnAllowScroll(FAxis, lo, hi, allow);
  }
  if (!allow) return;
  FAxis->ShiftRange(false, Delta);
  if (TChartAxis* other = PairedAxis(FAxis)) other->ShiftRange(false, Delta);
  if (FParentChart->OnScroll) FParentChart->OnScroll(FParentChart);
}

void TAxisArrowTool::HandleMouseEvent(int Kind, TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGrafCustomToolAxis::HandleMouseEvent(Kind, Button, Shift, X, Y);
  if (!FAxis || !FParentChart || !FAxis->Visible()) return;
  if (Kind == cmeDown) {
    if (FScrollPercent == 0) return;
    const int hit = ClickedArrow(X, Y);
    double delta = (FAxis->Maximum() - FAxis->Minimum()) * FScrollPercent / 100.0;
    if (FScrollInverted) delta = -delta;
    if (hit == 0) ScrollBy(delta);
    else if (hit == 1) ScrollBy(-delta);
    if (hit != -1) {
      FParentChart->MouseCancelled = true;
      if (OnClick) OnClick(this, hit == 0);
    }
  } else if (Kind == cmeMove) {
    if (ClickedArrow(X, Y) != -1) {
      FParentChart->SetCursor(crHandPoint);
      FParentChart->MouseCancelled = true;
    }
  }
}

// ============================================================================
// Axis scroll

ZV_CLASS_IMPL(TAxisScrollTool, TGrafCustomToolAxis)

void TAxisScrollTool::DeclareProperties(TClassInfo& c) {
  using T = TAxisScrollTool;
  c.Boolean<T>("ScrollInverted", &T::ScrollInverted, &T::SetScrollInverted, false);
}

std::string TAxisScrollTool::ToolTypeName() const { return GrafMsgExAxisScroll; }

TChartAxis* TAxisScrollTool::AxisUnderMouse(int X, int Y) {
  if (FAxis) return FAxis->Visible() && FAxis->ContainsPoint(X, Y) ? FAxis : nullptr;
  for (TChartAxis* a : *FParentChart->AxesList())
    if (a->Visible() && a->ContainsPoint(X, Y)) return a;
  return nullptr;
}

void TAxisScrollTool::ScrollAxis(TChartAxis* Axis, int Delta) {
  if (Axis->AxisLength == 0) return;
  Axis->ShiftRange(false, (Axis->Maximum() - Axis->Minimum()) * Delta / Axis->AxisLength);
}

void TAxisScrollTool::HandleMouseEvent(int Kind, TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGrafCustomToolAxis::HandleMouseEvent(Kind, Button, Shift, X, Y);
  if (!Active() || !FParentChart) return;
  if (Kind == cmeDown) {
    FDragged = AxisUnderMouse(X, Y);
    FLast = {X, Y};
  } else if (Kind == cmeMove) {
    if (FDragged) {
      const bool h = FDragged->Horizontal();
      int delta = h ? FLast.X - X : FLast.Y - Y;
      if (FDragged->Inverted()) delta = -delta;
      if (h ? FScrollInverted : !FScrollInverted) delta = -delta;
      ScrollAxis(FDragged, delta);
      for (TChartAxis* other : *FParentChart->AxesList()) {
        if (other == FDragged || other->Horizontal() != h) continue;
        for (int i = 0; i < FParentChart->NumberOfSeries(); ++i) {
          TChartSeries* s = FParentChart->SeriesAt(i);
          if (s->IsOnAxis(FDragged) && s->IsOnAxis(other)) {
            ScrollAxis(other, delta);
            break;
          }
        }
      }
      FLast = {X, Y};
      FParentChart->MouseCancelled = true;
    } else if (AxisUnderMouse(X, Y)) {
      FParentChart->SetCursor(crHandPoint);
      FParentChart->MouseCancelled = true;
    }
  } else if (Kind == cmeUp) {
    FDragged = nullptr;
  }
}

// ============================================================================
// Rotate

const TEnumInfo& RotateToolStylesEnumInfo() {
  static const TEnumInfo info{"TRotateToolStyles", {"rsAll", "rsRotation", "rsElevation"}, 0};
  return info;
}

double NextRotationAngle(bool FullRotation, double Delta, double Current) {
  if (Delta == 0) return Current;
  const double s = Current + Delta;
  if (Delta > 0) return s > 360 ? s - 360 : s;
  if (FullRotation) return std::max(s, 0.0);
  return s < 0 ? s + 360 : s;
}

double NextElevationAngle(bool FullRotation, double Delta, double Current) {
  if (Delta == 0) return Current;
  const double s = Current + Delta;
  if (Delta > 0) return std::min(s, 360.0);
  return FullRotation ? std::max(s, 0.0) : std::max(s, 270.0);
}

double WrapAngle360(double A) { return A > 360 ? A - 360 : A < 0 ? A + 360 : A; }

ZV_CLASS_IMPL(TRotateTool, TGrafCustomTool)

void TRotateTool::DeclareProperties(TClassInfo& c) {
  using T = TRotateTool;
  c.Enum<T>("Button", MouseButtonEnumInfo(), &T::Button, &T::SetButton, mbLeft);
  c.Boolean<T>("Inverted", &T::Inverted, &T::SetInverted, false);
  c.Object<T, TChartPen>("Pen", &T::Pen, &T::SetPen);
  c.Enum<T>("Style", RotateToolStylesEnumInfo(), &T::Style, &T::SetStyle, rsAll);
}

TRotateTool::TRotateTool(TComponent* AOwner) : TGrafCustomTool(AOwner) {
  Pen()->SetVisible(false);
  Pen()->VisibleDefault = false;
  Pen()->SetMode(pmXor);
  Pen()->SetColor(clWhite);
}

std::string TRotateTool::ToolTypeName() const { return GrafMsgExRotateTool; }

void TRotateTool::DrawOutline() {
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  canvas->CanvasBrush()->SetStyle(bsClear);
  canvas->ApplyPen(Pen());
  canvas->CanvasPen()->SetMode(Pen()->Mode());
  const TRect r = FParentChart->ChartArea;
  const int w = FParentChart->DepthWidth();
  canvas->RectangleWithZ(r, 0);
  canvas->RectangleWithZ(r, w);
  for (TPoint p : {TPoint{r.Left, r.Top}, TPoint{r.Right, r.Top}, TPoint{r.Right, r.Bottom}, TPoint{r.Left, r.Bottom}}) {
    canvas->MoveTo3D(p.X, p.Y, 0);
    canvas->LineTo3D(p.X, p.Y, w);
  }
  canvas->CanvasPen()->SetMode(pmCopy);
  canvas->MarkDirty();
}

void TRotateTool::RotateByMouse(int X, int Y) {
  TCustomAxisPanel* chart = FParentChart;
  double rot = (X - FLast.X) * 90.0 / chart->Width();
  double elev = (FLast.Y - Y) * 90.0 / chart->Height();
  if (FInverted) {
    rot = -rot;
    elev = -elev;
  }
  const bool outline = Pen()->Visible();
  if (outline) {
    if (FFirstMove) {
      FSavedRepaint = chart->RepaintOnChange;
      chart->RepaintOnChange = false;
      FFirstMove = false;
    } else {
      DrawOutline();
    }
  }
  chart->SetView3D(true);
  TView3DOptions* o = chart->View3DOptions();
  o->SetOrthogonal(false);
  TCanvas3D* canvas = chart->PanelCanvas();
  const bool own = canvas->RendersWithoutGdi();
  if (FStyle != rsElevation)
    o->SetRotationFloat(own ? WrapAngle360(o->RotationFloat() + rot) : NextRotationAngle(false, rot, o->RotationFloat()));
  if (FStyle != rsRotation)
    o->SetElevationFloat(own ? WrapAngle360(o->ElevationFloat() + elev)
                             : NextElevationAngle(false, elev, o->ElevationFloat()));
  FLast = {X, Y};
  chart->MouseCancelled = true;
  if (outline) {
    canvas->SetOrthogonalPass(false);
    if (auto* gdi = dynamic_cast<TGrafCanvas3D*>(canvas)) {
      gdi->UpdateRotationTerms();
      gdi->UpdatePerspectiveFactor(chart->ChartArea);
    }
    DrawOutline();
  }
  if (OnRotate) OnRotate(this);
}

void TRotateTool::HandleMouseEvent(int Kind, TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGrafCustomTool::HandleMouseEvent(Kind, Button, Shift, X, Y);
  if (!FParentChart) return;
  if (Kind == cmeDown) {
    if (Button != FButton) return;
    FRotating = true;
    FLast = {X, Y};
    FFirstMove = true;
    FParentChart->MouseCancelled = true;
  } else if (Kind == cmeMove) {
    if (FRotating) RotateByMouse(X, Y);
  } else if (Kind == cmeUp && FRotating) {
    FRotating = false;
    if (Pen()->Visible() && !FFirstMove) {
      FParentChart->RepaintOnChange = FSavedRepaint;
      FParentChart->Invalidate();
    }
  }
}

// ============================================================================
// Chart image

ZV_CLASS_IMPL(TChartImageTool, TGrafCustomToolSeries)

void TChartImageTool::DeclareProperties(TClassInfo& c) {
  using T = TChartImageTool;
  c.Object<T, TPicture>("Picture", &T::Picture, &T::SetPicture);
}

TChartImageTool::TChartImageTool(TComponent* AOwner) : TGrafCustomToolSeries(AOwner) {
  FPicture = std::make_unique<TPicture>();
}

TChartImageTool::~TChartImageTool() = default;

std::string TChartImageTool::ToolTypeName() const { return GrafMsgExImage; }

void TChartImageTool::SetPicture(const TPicture* Value) {
  FPicture->Assign(Value);
  RequestRedraw();
}

void TChartImageTool::SetSeries(TChartSeries* Value) {
  TGrafCustomToolSeries::SetSeries(Value);
  RequestRedraw();
}

TRect TChartImageTool::TargetRect() {
  if (FSeries) {
    TChartAxis* h = FSeries->GetHorizAxis();
    TChartAxis* v = FSeries->GetVertAxis();
    return {h->ValueToPixel(FSeries->SmallestX()), v->ValueToPixel(FSeries->LargestY()),
            h->ValueToPixel(FSeries->LargestX()), v->ValueToPixel(FSeries->SmallestY())};
  }
  TChartAxis* h = ResolveHorizAxis();
  TChartAxis* v = ResolveVertAxis();
  return {h->ValueToPixel(h->Minimum()), v->ValueToPixel(v->Maximum()), h->ValueToPixel(h->Maximum()),
          v->ValueToPixel(v->Minimum())};
}

void TChartImageTool::HandleChartEvent(int Code) {
  TGrafCustomToolSeries::HandleChartEvent(Code);
  if (Code != cteBeforeDrawSeries || !FParentChart || !FPicture->Graphic() || FPicture->Graphic()->Empty()) return;
  const TRect r = TargetRect();
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  const int w = FParentChart->View3D() ? FParentChart->DepthWidth() : 0;
  const bool clip = FParentChart->ClippingAllowed();
  if (clip) canvas->ClipCube(FParentChart->ChartArea, 0, w);
  if (!FParentChart->View3D() || canvas->OrthogonalPass())
    canvas->StretchDraw(canvas->ProjectRectAtDepth(r, w), FPicture->Graphic());
  else
    canvas->DrawGraphicAtDepth(r, FPicture->Graphic(), w);
  if (clip) canvas->RemoveClipRegion();
}

// ============================================================================
// Clip series

ZV_CLASS_IMPL_NOPROPS(TClipSeriesTool, TGrafCustomToolSeries)

TClipSeriesTool::~TClipSeriesTool() { Unhook(); }

std::string TClipSeriesTool::ToolTypeName() const { return GrafMsgExClipSeries; }

void TClipSeriesTool::Unhook() {
  if (!FSeries) return;
  FSeries->BeforeDrawValues = FOldBefore;
  FSeries->AfterDrawValues = FOldAfter;
  FOldBefore = nullptr;
  FOldAfter = nullptr;
}

void TClipSeriesTool::SetSeries(TChartSeries* Value) {
  if (Value == FSeries) return;
  Unhook();
  TGrafCustomToolSeries::SetSeries(Value);
  if (!FSeries) return;
  FOldBefore = FSeries->BeforeDrawValues;
  FOldAfter = FSeries->AfterDrawValues;
  FSeries->BeforeDrawValues = [this](TObject* Sender) { SeriesBeforeDraw(Sender); };
  FSeries->AfterDrawValues = [this](TObject* Sender) { SeriesAfterDraw(Sender); };
}

void TClipSeriesTool::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove && AComponent == FSeries) Unhook();
  TGrafCustomToolSeries::Notification(AComponent, Operation);
}

void TClipSeriesTool::SeriesBeforeDraw(TObject* Sender) {
  if (FOldBefore) FOldBefore(Sender);
  TCustomAxisPanel* chart = FSeries ? FSeries->ParentChart() : nullptr;
  if (!chart || !chart->ClippingAllowed()) return;
  TChartAxis* h = FSeries->GetHorizAxis();
  TChartAxis* v = FSeries->GetVertAxis();
  chart->PanelCanvas()->ClipToRect({h->StartPixel, v->StartPixel, h->EndPixel, v->EndPixel});
  FClipped = true;
}

void TClipSeriesTool::SeriesAfterDraw(TObject* Sender) {
  if (FClipped && FSeries && FSeries->ParentChart()) FSeries->ParentChart()->PanelCanvas()->RemoveClipRegion();
  FClipped = false;
  if (FOldAfter) FOldAfter(Sender);
}

// ============================================================================
// Series animation

const TEnumInfo& SeriesAnimationLoopEnumInfo() {
  static const TEnumInfo info{"TSeriesAnimationLoop", {"salNo", "salOneWay", "salCircular"}, 0};
  return info;
}

std::function<void()> TSeriesAnimationTool::ProcessMessagesHook;

ZV_CLASS_IMPL(TSeriesAnimationTool, TGrafCustomToolSeries)

void TSeriesAnimationTool::DeclareProperties(TClassInfo& c) {
  using T = TSeriesAnimationTool;
  c.Integer<T>("DrawEvery", &T::DrawEvery, &T::SetDrawEvery, 0);
  c.Enum<T>("Loop", SeriesAnimationLoopEnumInfo(), &T::Loop, &T::SetLoop, salNo);
  c.Boolean<T>("StartAtMin", &T::StartAtMin, &T::SetStartAtMin, true);
  c.Float<T>("StartValue", ftDouble, &T::StartValue, &T::SetStartValue, 0.0L);
  c.Integer<T>("Steps", &T::Steps, &T::SetSteps, 100);
}

TSeriesAnimationTool::TSeriesAnimationTool(TComponent* AOwner)
    : TGrafCustomToolSeries(AOwner), FAlive(std::make_shared<bool>(true)) {}

TSeriesAnimationTool::~TSeriesAnimationTool() {
  // Freed by a handler during a run: the series gets its values and updates back.
  if (FRun && FSeries) {
    RestoreValues(*FRun);
    FSeries->ResumeUpdates();
  }
  *FAlive = false;
}

std::string TSeriesAnimationTool::ToolTypeName() const { return GrafMsgExSeriesAnimation; }

struct TSeriesAnimationTool::TRun {
  std::shared_ptr<bool> Alive;
  TChartSeries* Series = nullptr;
  std::vector<double> Original;
  // The tool or its series went away during message processing.
  bool Gone() const { return !*Alive; }
};

bool TSeriesAnimationTool::Redraw(TRun& Run) {
  if (Run.Gone() || FSeries != Run.Series) return false;
  if (TCustomAxisPanel* chart = Run.Series->ParentChart()) chart->Invalidate();
  if (ProcessMessagesHook) ProcessMessagesHook();
  else if (Application) Application->ProcessMessages();
  // A handler may have freed the tool or the series, or changed the points.
  if (Run.Gone() || FSeries != Run.Series) return false;
  return Run.Series->MainList()->Count() == static_cast<int>(Run.Original.size());
}

void TSeriesAnimationTool::RestoreValues(TRun& Run) {
  if (Run.Gone() || FSeries != Run.Series) return;
  TChartValueList* l = Run.Series->MainList();
  if (l->Count() != static_cast<int>(Run.Original.size())) return;
  for (int i = 0; i < l->Count(); ++i) l->StoreValue(i, Run.Original[static_cast<size_t>(i)]);
  if (TCustomAxisPanel* chart = Run.Series->ParentChart()) chart->Invalidate();
}

// Returns false when the run must end (stopped, or the series changed under it).
bool TSeriesAnimationTool::AnimateOnce(TRun& Run, bool Forward) {
  TChartValueList* l = Run.Series->MainList();
  const int n = static_cast<int>(Run.Original.size());
  const double s = FStartAtMin ? l->MinValue() : FStartValue;
  for (int i = 0; i < n; ++i) l->StoreValue(i, s);
  if (!Redraw(Run)) return false;
  // With no steps to take, one frame at the real values.
  const int steps = FSteps <= 0 ? 0 : FSteps;
  const double step = steps > 0 ? 1.0 / steps : 1.0;
  const int groups = FDrawEvery <= 0 ? 1 : n / FDrawEvery + (n % FDrawEvery != 0 ? 1 : 0);
  for (int g = 0; g < groups; ++g) {
    const int first = FDrawEvery <= 0 ? 0 : g * FDrawEvery;
    const int last = FDrawEvery <= 0 ? n - 1 : std::min(n - 1, first + FDrawEvery - 1);
    for (int f = 0; f <= steps; ++f) {
      double factor = steps > 0 ? f * step : 1.0, offset = s - s * factor;
      if (!Forward && FLoop == salCircular) {
        offset = 0;
        factor = steps > 0 ? step * (steps - f) : 0.0;
      }
      for (int i = first; i <= last; ++i) l->StoreValue(i, factor * Run.Original[static_cast<size_t>(i)] + offset);
      if (OnStep) OnStep(this, f);
      if (Run.Gone() || FSeries != Run.Series) return false;
      if (!Redraw(Run) || FStopped) {
        RestoreValues(Run);
        return false;
      }
    }
  }
  RestoreValues(Run);
  return !Run.Gone() && FSeries == Run.Series;
}

void TSeriesAnimationTool::Execute() {
  if (!FSeries || !FStopped) return;
  TRun run;
  run.Alive = FAlive;
  run.Series = FSeries;
  TChartValueList* l = FSeries->MainList();
  for (int i = 0; i < l->Count(); ++i) run.Original.push_back(l->GetValue(i));
  TChartSeries* series = FSeries;
  series->SuspendUpdates();
  FStopped = false;
  FRun = &run;
  auto finish = [&] {
    if (run.Gone()) return;
    FRun = nullptr;
    FStopped = true;
    if (FSeries == series) {
      RestoreValues(run);
      series->ResumeUpdates();
    }
  };
  try {
    if (FLoop == salNo) {
      AnimateOnce(run, true);
    } else {
      bool forward = true;
      while (!run.Gone() && !FStopped && AnimateOnce(run, forward)) forward = !forward;
    }
  } catch (...) {
    finish();
    throw;
  }
  finish();
}
