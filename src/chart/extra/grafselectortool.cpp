#include "chart/extra/grafselectortool.h"

#include <cstdlib>

#include "chart/core/grafconst.h"
#include "chart/series/graftools.h"

ZV_CLASS_IMPL(TSelectorTool, TGrafCustomTool)

void TSelectorTool::DeclareProperties(TClassInfo& c) {
  using T = TSelectorTool;
  c.Boolean<T>("AllowDrag", &T::AllowDrag, &T::SetAllowDrag, true);
  c.Boolean<T>("AllowResizeChart", &T::AllowResizeChart, &T::SetAllowResizeChart, false);
  c.Object<T, TChartBrush>("Brush", &T::Brush, &T::SetBrush);
  c.Integer<T>("HandleSize", &T::HandleSize, &T::SetHandleSize, 3);
  c.Object<T, TChartPen>("Pen", &T::Pen, &T::SetPen);
}

TSelectorTool::TSelectorTool(TComponent* AOwner) : TGrafCustomTool(AOwner) {}

TSelectorTool::~TSelectorTool() {
  if (FParentChart) SetParentChart(nullptr);
}

std::string TSelectorTool::ToolTypeName() const { return GrafMsgExSelector; }

void TSelectorTool::Notification(TComponent* AComponent, TOperation Operation) {
  TGrafCustomTool::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FAnnotation) {
    FAnnotation = nullptr;
    FShape = nullptr;
    FDragging = false;
  }
  if (AComponent == FPart.ASeries) FPart = {};
}

void TSelectorTool::ClearSelection() {
  if (FAnnotation) FAnnotation->RemoveFreeNotification(this);
  if (FPart.ASeries) FPart.ASeries->RemoveFreeNotification(this);
  FPart = {};
  FAnnotation = nullptr;
  FShape = nullptr;
  FWall = nullptr;
}

void TSelectorTool::Select(int X, int Y) {
  ClearSelection();
  auto* chart = dynamic_cast<TCustomChart*>(FParentChart);
  for (TGrafCustomTool* t : *FParentChart->Tools())
    if (auto* a = dynamic_cast<TAnnotationTool*>(t); a && a->Active() && a->ContainsPoint(X, Y)) {
      FAnnotation = a;
      FShape = a->Shape();
      a->FreeNotification(this);
      break;
    }
  if (!FAnnotation && chart) {
    chart->PartAtPoint(Point(X, Y), FPart);
    switch (FPart.Part) {
      case cpLegend: FShape = chart->Legend(); break;
      case cpTitle: FShape = chart->Title(); break;
      case cpFoot: FShape = chart->Foot(); break;
      case cpSubTitle: FShape = chart->SubTitle(); break;
      case cpSubFoot: FShape = chart->SubFoot(); break;
      case cpChartRect: FWall = chart->BackWall(); break;
      default: break;
    }
    if (FPart.ASeries) FPart.ASeries->FreeNotification(this);
  }
  FParentChart->Invalidate();
  if (OnSelected) OnSelected(this);
}

void TSelectorTool::HandleMouseEvent(int Kind, TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGrafCustomTool::HandleMouseEvent(Kind, Button, Shift, X, Y);
  if (!FParentChart || Shift.Contains(ssDouble)) return;
  if (Kind == cmeDown) {
    if (Button != mbLeft) return;
    if (FAllowResizeChart && std::abs(X - FParentChart->Width()) <= 8 && std::abs(Y - FParentChart->Height()) <= 8) {
      FResizing = true;
      FResized = false;
      return;
    }
    Select(X, Y);
    FDragging = FAllowDrag && FShape;
    if (FDragging) {
      FOffset = {FShape->ShapeBox.Left - X, FShape->ShapeBox.Top - Y};
      FMoved = false;
    }
  } else if (Kind == cmeMove) {
    if (FDragging && FShape) {
      // The first two pixels of a drag do not move the box: a click must not.
      const int left = FOffset.X + X;
      if (left != FShape->ShapeBox.Left && (FMoved || std::abs(left - FShape->ShapeBox.Left) > 2)) {
        FShape->SetLeft(left);
        FMoved = true;
      }
      const int top = FOffset.Y + Y;
      if (top != FShape->ShapeBox.Top && (FMoved || std::abs(top - FShape->ShapeBox.Top) > 2)) {
        FShape->SetTop(top);
        FMoved = true;
      }
      if (OnDragging) OnDragging(this);
      return;
    }
    if (FResizing) {
      if (FParentChart->Align() != alNone) FParentChart->SetAlign(alNone);
      if (FParentChart->Width() != X) FParentChart->SetWidth(X);
      if (FParentChart->Height() != Y) FParentChart->SetHeight(Y);
      FResized = true;
      if (OnResizing) OnResizing(this);
    }
  } else if (Kind == cmeUp) {
    if (FMoved && OnDragged) OnDragged(this);
    if (FResized && OnResized) OnResized(this);
    FDragging = FMoved = FResizing = FResized = false;
  }
}

void TSelectorTool::DrawHandle(int X, int Y) {
  FHandles.push_back({X, Y});
  FParentChart->PanelCanvas()->Rectangle(X - FHandleSize, Y - FHandleSize, X + FHandleSize, Y + FHandleSize);
}

void TSelectorTool::DrawHandle3D(int X, int Y, int Z) {
  FHandles.push_back({X, Y});
  FParentChart->PanelCanvas()->RectangleWithZ(
      Rect(X - FHandleSize, Y - FHandleSize, X + FHandleSize, Y + FHandleSize), Z);
}

void TSelectorTool::DrawCorners(const TRect& R) {
  if (R.Right - R.Left <= 0) return;
  DrawHandle(R.Left, R.Top);
  DrawHandle(R.Right, R.Top);
  DrawHandle(R.Left, R.Bottom);
  DrawHandle(R.Right, R.Bottom);
}

void TSelectorTool::DrawSeriesHandles(bool Marks) {
  TChartSeries* s = FPart.ASeries;
  if (!s || s->PointCount() == 0) return;
  const int count = s->PointCount();
  int first = s->FirstVisible < 0 ? 0 : s->FirstVisible;
  int last = s->LastVisible < 0 ? count - 1 : s->LastVisible;
  if (last >= count) last = count - 1;
  const int n = first == last ? count : last - first;
  const int k = n <= 20 ? 1 : n / 20;
  for (int i = first; i <= last; i += k) {
    if (!Marks) {
      DrawHandle3D(s->PointXPixel(i), s->PointYPixel(i), s->MiddleZ);
      continue;
    }
    TSeriesMarkPosition* p = s->Marks()->Positions()->PositionAt(i);
    if (!p) continue;
    const TRect r = p->ToRect();
    const int z = s->Marks()->ZPosition;
    DrawHandle3D(r.Left, r.Top, z);
    DrawHandle3D(r.Right, r.Top, z);
    DrawHandle3D(r.Left, r.Bottom, z);
    DrawHandle3D(r.Right, r.Bottom, z);
  }
}

void TSelectorTool::HandleChartEvent(int Code) {
  TGrafCustomTool::HandleChartEvent(Code);
  if (Code != cteAfterDraw || !FParentChart || FParentChart->IsPrinting || !ShowHandles) return;
  auto* chart = dynamic_cast<TCustomChart*>(FParentChart);
  if (!chart) return;
  FHandles.clear();
  TCanvas3D* canvas = chart->PanelCanvas();
  canvas->ApplyPen(Pen());
  canvas->ApplyBrush(Brush(), Brush()->Color());
  if (FShape) {
    DrawCorners(FShape->ShapeBox);
    return;
  }
  switch (FPart.Part) {
    case cpNone: {
      TRect r = chart->ClientRect();
      r.Left += FHandleSize;
      r.Top += FHandleSize;
      r.Right -= FHandleSize;
      r.Bottom -= FHandleSize;
      DrawCorners(r);
      break;
    }
    case cpLegend:
      if (chart->Legend()->Visible()) DrawCorners(chart->Legend()->ShapeBox);
      break;
    case cpAxis:
      if (FPart.AAxis) DrawCorners(FPart.AAxis->GetBoundsRect());
      break;
    case cpSeries: DrawSeriesHandles(false); break;
    case cpTitle: DrawCorners(chart->Title()->ShapeBox); break;
    case cpFoot: DrawCorners(chart->Foot()->ShapeBox); break;
    case cpSubTitle: DrawCorners(chart->SubTitle()->ShapeBox); break;
    case cpSubFoot: DrawCorners(chart->SubFoot()->ShapeBox); break;
    case cpChartRect: {
      const TRect& r = chart->ChartArea;
      const int z = chart->SeriesWidth3D;
      for (TPoint p : {TPoint{r.Left, r.Top}, TPoint{r.Right, r.Top}, TPoint{r.Left, r.Bottom},
                       TPoint{r.Right, r.Bottom}}) {
        const TPoint q = canvas->ProjectXYZ(p.X, p.Y, z);
        DrawHandle(q.X, q.Y);
      }
      break;
    }
    case cpSeriesMarks: DrawSeriesHandles(true); break;
    default: break;
  }
}
