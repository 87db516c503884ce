// Colour line, colour band, grid band and draw line tools.
#include <algorithm>
#include <cmath>

#include "chart/core/grafconst.h"
#include "chart/series/graftools.h"

// ============================================================================
// Colour line

const TEnumInfo& ColorLineStyleEnumInfo() {
  static const TEnumInfo info{"TColorLineStyle", {"clCustom", "clMaximum", "clCenter", "clMinimum"}, 0};
  return info;
}

ZV_CLASS_IMPL(TColorLineTool, TGrafCustomToolAxis)

void TColorLineTool::DeclareProperties(TClassInfo& c) {
  using T = TColorLineTool;
  c.Boolean<T>("AllowDrag", &T::AllowDrag, &T::SetAllowDrag, true);
  c.Boolean<T>("DragRepaint", &T::DragRepaint, &T::SetDragRepaint, false);
  c.Boolean<T>("Draw3D", &T::Draw3D, &T::SetDraw3D, true);
  c.Boolean<T>("DrawBehind", &T::DrawBehind, &T::SetDrawBehind, false);
  c.Boolean<T>("NoLimitDrag", &T::NoLimitDrag, &T::SetNoLimitDrag, false);
  c.Object<T, TChartPen>("Pen", &T::Pen, &T::SetPen);
  c.Enum<T>("Style", ColorLineStyleEnumInfo(), &T::Style, &T::SetStyle, clCustom);
  // No declared default: always written.
  c.Float<T>("Value", ftDouble, &T::Value, &T::SetValue).WithDefault(NoDefault).Stored = [](TObject*) {
    return true;
  };
}

TColorLineTool::TColorLineTool(TComponent* AOwner) : TGrafCustomToolAxis(AOwner) {}

std::string TColorLineTool::ToolTypeName() const { return GrafMsgExColorLine; }

void TColorLineTool::Assign(TPersistent* Source) {
  if (auto* t = dynamic_cast<TColorLineTool*>(Source)) {
    FAllowDrag = t->FAllowDrag;
    FDragRepaint = t->FDragRepaint;
    FDraw3D = t->FDraw3D;
    FDrawBehind = t->FDrawBehind;
    FNoLimitDrag = t->FNoLimitDrag;
    FStyle = t->FStyle;
    FValue = t->FValue;
  }
  TGrafCustomToolAxis::Assign(Source);
}

void TColorLineTool::SetStyle(TColorLineStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  RequestRedraw();
}

void TColorLineTool::SetValue(double Value) {
  if (!ComponentState().Contains(csReading)) FStyle = clCustom;
  if (!Dragging || FDragRepaint) ChangeDouble(FValue, Value);
  else FValue = Value;
}

double TColorLineTool::LineValue() const {
  switch (FStyle) {
    case clMaximum: return FAxis->Maximum();
    case clCenter: return (FAxis->Maximum() + FAxis->Minimum()) * 0.5;
    case clMinimum: return FAxis->Minimum();
    default: return FValue;
  }
}

double TColorLineTool::LimitValue(double V) const {
  int s = FAxis->StartPixel, e = FAxis->EndPixel;
  if (FAxis->Horizontal()) std::swap(s, e);
  const double low = FAxis->PixelToValue(FAxis->Inverted() ? s : e);
  if (V < low) return low;
  const double high = FAxis->PixelToValue(FAxis->Inverted() ? e : s);
  return V > high ? high : V;
}

void TColorLineTool::DrawLineParts(bool Back) {
  TCustomAxisPanel* chart = DrawingChart();
  if (!chart || !FAxis) return;
  TCanvas3D* canvas = chart->PanelCanvas();
  const TRect r = chart->ChartArea;
  const int w = chart->View3D() ? chart->DepthWidth() : 0;
  // Only the drawn pixel is limited (and the value while a drag runs): the
  // stored Value survives zooming in and out.
  double v = LineValue();
  if (FAllowDrag && !FNoLimitDrag) {
    v = LimitValue(v);
    if (Dragging && FStyle == clCustom) FValue = v;
  }
  const int p = FAxis->ValueToPixel(v);
  const bool h = FAxis->Horizontal();
  if (Back) {
    if (h) {
      if (FDraw3D) canvas->DepthLine3D(p, r.Bottom, 0, w);
      if (FDrawBehind || FDraw3D) canvas->VerticalLine3D(p, r.Top, r.Bottom, w);
    } else {
      if (FDraw3D) canvas->DepthLine3D(r.Left, p, 0, w);
      if (FDrawBehind || FDraw3D) canvas->HorizontalLine3D(r.Left, r.Right, p, w);
    }
    return;
  }
  if (!chart->View3D() && Dragging && !FDragRepaint) return;
  if (h) {
    if (FDraw3D) canvas->DepthLine3D(p, r.Top, 0, w);
    if (!FDrawBehind) canvas->VerticalLine3D(p, r.Top, r.Bottom, 0);
  } else {
    if (FDraw3D) canvas->DepthLine3D(r.Right, p, 0, w);
    if (!FDrawBehind) canvas->HorizontalLine3D(r.Left, r.Right, p, 0);
  }
}

void TColorLineTool::DrawColorLine(bool Back) {
  TCustomAxisPanel* chart = DrawingChart();
  if (!chart) return;
  chart->PanelCanvas()->ApplyPen(Pen());
  chart->PanelCanvas()->SetBackgroundMode(TRANSPARENT);
  DrawLineParts(Back);
}

void TColorLineTool::HandleChartEvent(int Code) {
  TGrafCustomToolAxis::HandleChartEvent(Code);
  if (!FAxis) return;
  if (Code == cteBeforeDrawSeries) DrawColorLine(true);
  else if (Code == cteAfterDraw) DrawColorLine(false);
}

bool TColorLineTool::Clicked(int X, int Y) {
  TCustomAxisPanel* chart = DrawingChart();
  if (!chart || !FAxis) return false;
  double v = LineValue();
  if (FAllowDrag && !FNoLimitDrag) v = LimitValue(v);
  const int p = FAxis->ValueToPixel(v);
  const TRect& r = chart->ChartArea;
  if (FAxis->Horizontal()) return std::abs(X - p) <= 2 && Y >= r.Top && Y <= r.Bottom;
  return std::abs(Y - p) <= 2 && X >= r.Left && X <= r.Right;
}

void TColorLineTool::DoEndDragLine() {
  if (OnBandEndDrag) OnBandEndDrag(this);
  if (OnEndDragLine) OnEndDragLine(this);
}

void TColorLineTool::HandleMouseEvent(int Kind, TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGrafCustomToolAxis::HandleMouseEvent(Kind, Button, Shift, X, Y);
  TCustomAxisPanel* chart = DrawingChart();
  if (!FAllowDrag || !FAxis || !chart) return;
  if (Kind == cmeDown) {
    if (Button != mbLeft) return;
    Dragging = Clicked(X, Y);
    if (Dragging) {
      chart->MouseCancelled = true;
      if (OnBeginDragLine) OnBeginDragLine(this);
    }
  } else if (Kind == cmeMove) {
    if (Dragging) {
      double v = FAxis->PixelToValue(FAxis->Horizontal() ? X : Y);
      if (!FNoLimitDrag) v = LimitValue(v);
      bool changed = false;
      TCanvas3D* canvas = chart->PanelCanvas();
      const TColor back = static_cast<TColor>(ColorToRGB(chart->GetPanelColor()));
      if (FDragRepaint) {
        SetValue(v);
      } else if (LineValue() != v) {
        canvas->ApplyPenWithColor(Pen(), NotXorPenColor(Pen()->Color(), back));
        canvas->CanvasPen()->SetMode(pmNotXor);
        DrawLineParts(true);
        DrawLineParts(false);
        FStyle = clCustom;
        FValue = v;
        changed = true;
      }
      chart->MouseCancelled = true;
      if (OnDragLine) OnDragLine(this);
      if (changed) {
        DrawLineParts(true);
        DrawLineParts(false);
        canvas->CanvasPen()->SetMode(pmCopy);
        canvas->MarkDirty();
      }
    } else if (Clicked(X, Y)) {
      chart->SetCursor(FAxis->Horizontal() ? crHSplit : crVSplit);
      chart->MouseCancelled = true;
    }
  } else if (Kind == cmeUp && Dragging) {
    if (!FDragRepaint) chart->Invalidate();
    DoEndDragLine();
    Dragging = false;
  }
}

// ============================================================================
// Colour band

ZV_CLASS_IMPL(TColorBandTool, TGrafCustomToolAxis)

void TColorBandTool::DeclareProperties(TClassInfo& c) {
  using T = TColorBandTool;
  c.Object<T, TChartBrush>("Brush", &T::Brush, &T::SetBrush);
  c.Integer<T>("Color", &T::Color, &T::SetColor, clWhite);
  c.Integer<T>("Cursor", &T::Cursor, &T::SetCursor, crDefault);
  c.Boolean<T>("DrawBehind", &T::DrawBehind, &T::SetDrawBehind, true);
  c.Boolean<T>("DrawBehindAxes", &T::DrawBehindAxes, &T::SetDrawBehindAxes, false);
  c.Object<T, TChartPen>("EndLinePen", &T::EndLinePen, &T::SetEndLinePen);
  c.Float<T>("EndValue", ftDouble, &T::EndValue, &T::SetEndValue, 0.0L);
  c.Object<T, TGrafGradient>("Gradient", &T::Gradient, &T::SetGradient);
  c.Object<T, TChartPen>("Pen", &T::Pen, &T::SetPen);
  c.Boolean<T>("ResizeEnd", &T::ResizeEnd, &T::SetResizeEnd, false);
  c.Boolean<T>("ResizeStart", &T::ResizeStart, &T::SetResizeStart, false);
  c.Object<T, TChartPen>("StartLinePen", &T::StartLinePen, &T::SetStartLinePen);
  c.Float<T>("StartValue", ftDouble, &T::StartValue, &T::SetStartValue, 0.0L);
  c.Integer<T>("Transparency", &T::Transparency, &T::SetTransparency, 0);
}

TColorBandTool::TColorBandTool(TComponent* AOwner) : TGrafCustomToolAxis(AOwner) {
  TNotifyEvent change = [this](TObject* Sender) { PartChanged(Sender); };
  FGradient = std::make_unique<TGrafGradient>(change);
  FStartLine = NewLine();
  FEndLine = NewLine();
}

TColorBandTool::~TColorBandTool() {
  if (FParentChart) SetParentChart(nullptr);
}

std::unique_ptr<TColorLineTool> TColorBandTool::NewLine() {
  auto line = std::make_unique<TColorLineTool>(nullptr);
  line->SetActive(false);
  line->SetDragRepaint(true);
  line->OnDragLine = [this](TObject* Sender) { LineDragged(Sender); };
  line->OnBandEndDrag = [this](TColorLineTool* Sender) {
    if (!Sender->DragRepaint()) LineDragged(Sender);
  };
  line->Pen()->OnChange = [this](TObject* Sender) { PartChanged(Sender); };
  return line;
}

std::string TColorBandTool::ToolTypeName() const { return GrafMsgExColorBand; }

void TColorBandTool::LineDragged(TObject* Sender) {
  auto* line = static_cast<TColorLineTool*>(Sender);
  if (line == FStartLine.get()) SetStartValue(line->Value());
  else SetEndValue(line->Value());
}

void TColorBandTool::SyncLines() {
  FEndLine->SetValue(FEndValue);
  FStartLine->SetValue(FStartValue);
}

void TColorBandTool::Loaded() {
  TGrafCustomToolAxis::Loaded();
  SyncLines();
}

void TColorBandTool::SetStartValue(double Value) {
  ChangeDouble(FStartValue, Value);
  SyncLines();
}

void TColorBandTool::SetEndValue(double Value) {
  ChangeDouble(FEndValue, Value);
  SyncLines();
}

void TColorBandTool::SetResizeStart(bool Value) {
  FStartLine->SetActive(Value);
  RequestRedraw();
}

void TColorBandTool::SetResizeEnd(bool Value) {
  FEndLine->SetActive(Value);
  RequestRedraw();
}

void TColorBandTool::SetAxis(TChartAxis* Value) {
  TGrafCustomToolAxis::SetAxis(Value);
  for (TColorLineTool* line : {FEndLine.get(), FStartLine.get()}) {
    line->SetAxis(Value);
    line->SetParentChart(nullptr);
  }
}

void TColorBandTool::SetParentChart(TCustomAxisPanel* Value) {
  TGrafCustomToolAxis::SetParentChart(Value);
  FStartLine->BandChart = Value;
  FEndLine->BandChart = Value;
}

TRect TColorBandTool::BoundsRect() {
  if (!FAxis || !FParentChart) return {};
  TRect r = FParentChart->ChartArea;
  double a = FStartValue, b = FEndValue;
  if (FAxis->Inverted() ? a < b : a > b) std::swap(a, b);
  if (!(std::min(a, b) <= FAxis->Maximum() && std::max(a, b) >= FAxis->Minimum())) return {0, 0, 0, 0};
  if (FAxis->Horizontal()) {
    r.Left = std::max(FAxis->ValueToPixel(a), FAxis->StartPixel);
    r.Right = std::min(FAxis->ValueToPixel(b), FAxis->EndPixel);
    if (Pen()->Visible()) ++r.Right;
  } else {
    r.Top = std::max(FAxis->ValueToPixel(b), FAxis->StartPixel);
    r.Bottom = std::min(FAxis->ValueToPixel(a), FAxis->EndPixel);
    ++r.Left;
    ++r.Bottom;
    if (!Pen()->Visible()) {
      ++r.Bottom;
      ++r.Right;
    }
  }
  return r;
}

int TColorBandTool::BandDepth() const { return FDrawBehind && FParentChart ? FParentChart->DepthWidth() : 0; }

void TColorBandTool::PaintBand() {
  if (!FAxis || !FParentChart) return;
  const TRect r = BoundsRect();
  if (r.Right - r.Left <= 0 || r.Bottom - r.Top <= 0) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  canvas->ApplyBrush(Brush(), FColor, Brush()->Color());
  canvas->ApplyPen(Pen());
  const int z = BandDepth();
  const bool is3D = FParentChart->View3D();
  if (FGradient->Visible() && (!is3D || canvas->OrthogonalPass())) {
    FGradient->DrawInRect(canvas, canvas->ProjectRectAtDepth({r.Left, r.Top, r.Right - 1, r.Bottom - 1}, z), 0);
    canvas->CanvasBrush()->SetStyle(bsClear);
  }
  auto draw = [&] {
    if (is3D) canvas->RectangleWithZ(r, z);
    else canvas->Rectangle(r.Left, r.Top, r.Right, r.Bottom);
  };
  if (FTransparency > 0) {
    auto blend = canvas->BeginBlending(is3D ? canvas->ProjectedRectBounds(r, z) : r, FTransparency);
    draw();
    canvas->EndBlending(std::move(blend));
  } else {
    draw();
  }
  if (FEndLine->Active()) {
    FEndLine->SetValue(FEndValue);
    FEndLine->DrawColorLine(FDrawBehind);
  }
  if (FStartLine->Active()) {
    FStartLine->SetValue(FStartValue);
    FStartLine->DrawColorLine(FDrawBehind);
  }
}

void TColorBandTool::HandleChartEvent(int Code) {
  TGrafCustomToolAxis::HandleChartEvent(Code);
  if ((Code == cteAfterDraw && !FDrawBehind && !FDrawBehindAxes) ||
      (Code == cteBeforeDrawSeries && FDrawBehind && !FDrawBehindAxes) ||
      (Code == cteBeforeDrawAxes && FDrawBehindAxes))
    PaintBand();
}

bool TColorBandTool::Clicked(int X, int Y) {
  if (!FParentChart) return false;
  const TRect r = BoundsRect();
  const TFourPoints q = FParentChart->PanelCanvas()->ProjectRectToQuad(r, BandDepth());
  return PointInsidePolygon({X, Y}, q.data(), 3);
}

void TColorBandTool::HandleMouseEvent(int Kind, TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGrafCustomToolAxis::HandleMouseEvent(Kind, Button, Shift, X, Y);
  if (!FParentChart) return;
  if (FStartLine->Active()) FStartLine->HandleMouseEvent(Kind, Button, Shift, X, Y);
  if (FEndLine->Active() && !FParentChart->MouseCancelled) FEndLine->HandleMouseEvent(Kind, Button, Shift, X, Y);
  if (Kind == cmeMove) {
    if (FCursor != crDefault && !FParentChart->MouseCancelled && Clicked(X, Y)) {
      FParentChart->SetCursor(FCursor);
      auto* chart = dynamic_cast<TCustomChart*>(FParentChart);
      const bool busy = FParentChart->Zoom()->Active || (chart && FParentChart->PanningState.Active);
      if (!busy) FParentChart->MouseCancelled = true;
    }
  } else if (Kind == cmeDown) {
    if (OnClick && Clicked(X, Y)) OnClick(this, Button, Shift, X, Y);
  }
}

// ============================================================================
// Grid band

TGridBandBrush::TGridBandBrush(TNotifyEvent OnChange) : TChartBrush(OnChange), FOnChange(OnChange) {
  FGradient = std::make_unique<TGrafGradient>(OnChange);
}

TGridBandBrush::~TGridBandBrush() = default;

void TGridBandBrush::Assign(const TGraphicsObject* Source) {
  if (auto* b = dynamic_cast<const TGridBandBrush*>(Source)) {
    FGradient->Assign(b->FGradient.get());
    FBackColor = b->FBackColor;
    FTransparency = b->FTransparency;
  }
  TChartBrush::Assign(Source);
}

void TGridBandBrush::SetBackColor(TColor Value) {
  if (FBackColor == Value) return;
  FBackColor = Value;
  if (FOnChange) FOnChange(nullptr);
}

void TGridBandBrush::SetTransparency(TGrafTransparency Value) {
  if (FTransparency == Value) return;
  FTransparency = Value;
  if (FOnChange) FOnChange(nullptr);
}

ZV_CLASS_IMPL(TGridBandTool, TGrafCustomToolAxis)

void TGridBandTool::DeclareProperties(TClassInfo& c) {
  using T = TGridBandTool;
  c.Object<T, TChartBrush>("Band1", &T::Band1,
                           [](T* t, TChartBrush* b) { t->Band1()->TChartBrush::Assign(b); });
  c.Object<T, TChartBrush>("Band2", &T::Band2,
                           [](T* t, TChartBrush* b) { t->Band2()->TChartBrush::Assign(b); });
}

TGridBandTool::TGridBandTool(TComponent* AOwner) : TGrafCustomToolAxis(AOwner) {
  TNotifyEvent change = [this](TObject* Sender) { PartChanged(Sender); };
  FBand1 = std::make_unique<TGridBandBrush>(change);
  FBand2 = std::make_unique<TGridBandBrush>(change);
}

TGridBandTool::~TGridBandTool() {
  if (FAxis) FAxis->GridBandHook = nullptr;
  if (FParentChart) SetParentChart(nullptr);
}

std::string TGridBandTool::ToolTypeName() const { return GrafMsgExGridBand; }

void TGridBandTool::SetAxis(TChartAxis* Value) {
  if (FAxis) FAxis->GridBandHook = nullptr;
  TGrafCustomToolAxis::SetAxis(Value);
  if (FAxis) FAxis->GridBandHook = [this](TChartAxis* A) { PaintBands(A); };
}

TColor TGridBandTool::BandBackColor(TGridBandBrush* Brush) const {
  TColor c = Brush->BackColor();
  if (c == clNone && FParentChart) {
    if (auto* chart = dynamic_cast<TCustomChart*>(FParentChart)) c = chart->BackWall()->Color();
  }
  return c;
}

void TGridBandTool::PaintBand(TChartAxis* Axis, TGridBandBrush* Brush, int A, int B) {
  if (Brush->Style() == bsClear) return;
  if (A > B) std::swap(A, B);
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  const TRect& cr = FParentChart->ChartArea;
  const TRect r = Axis->Horizontal() ? TRect{A, cr.Top + 1, B, cr.Bottom} : TRect{cr.Left + 1, A, cr.Right, B + 1};
  const bool is3D = FParentChart->View3D();
  const int w = FParentChart->DepthWidth();
  std::unique_ptr<TGrafBlend> blend;
  if (Brush->Transparency() > 0)
    blend = canvas->BeginBlending(is3D ? canvas->ProjectedRectBounds(r, w) : r, Brush->Transparency());
  if (Brush->Gradient()->Visible()) {
    Brush->Gradient()->DrawInRect(canvas, is3D ? canvas->ProjectRectAtDepth(r, w)
                                               : TRect{r.Left, r.Top, r.Right, r.Bottom - 1}, 0);
  } else {
    canvas->ApplyBrush(Brush, Brush->Color(), BandBackColor(Brush));
    canvas->CanvasPen()->SetStyle(psClear);
    if (is3D) canvas->RectangleWithZ(r, w);
    else canvas->Rectangle(r.Left, r.Top, r.Right + 1, r.Bottom);
  }
  if (blend) canvas->EndBlending(std::move(blend));
}

void TGridBandTool::PaintBands(TChartAxis* Axis) {
  const std::vector<int>& t = Axis->TickPositions;
  if (!Active() || !FParentChart || t.size() < 2) return;
  if (FBand1->Style() == bsClear && FBand2->Style() == bsClear) return;
  TGridBandBrush* band = FBand1.get();
  auto swap = [&] { band = band == FBand1.get() ? FBand2.get() : FBand1.get(); };
  FParentChart->PanelCanvas()->CanvasPen()->SetStyle(psClear);
  if (Axis->Horizontal()) {
    if (t[0] < Axis->EndPixel) PaintBand(Axis, band, Axis->EndPixel - 1, t[0]);
  } else if (Axis->StartPixel < t[0]) {
    PaintBand(Axis, band, Axis->StartPixel + 1, t[0]);
  }
  swap();
  if (t.size() >= 3) {
    for (size_t i = 1; i < t.size(); ++i) {
      PaintBand(Axis, band, t[i - 1], t[i]);
      swap();
    }
    if (Axis->Horizontal()) {
      if (Axis->StartPixel < t.back()) PaintBand(Axis, band, t.back(), Axis->StartPixel);
    } else if (t.back() < Axis->EndPixel) {
      PaintBand(Axis, band, t.back(), Axis->EndPixel);
    }
  }
}

// ============================================================================
// Draw line

const TEnumInfo& DrawLineStyleEnumInfo() {
  static const TEnumInfo info{"TDrawLineStyle", {"dlLine", "dlHorizParallel", "dlVertParallel"}, 0};
  return info;
}

ZV_CLASS_IMPL(TDrawLine, TCollectionItem)

void TDrawLine::DeclareProperties(TClassInfo& c) {
  using T = TDrawLine;
  c.Object<T, TChartPen>("Pen", &T::Pen, &T::SetPen).WithStored([](TObject* o) {
    return static_cast<T*>(o)->HasOwnPen();
  });
  c.Enum<T>("Style", DrawLineStyleEnumInfo(), &T::Style, &T::SetStyle, dlLine);
  c.Float<T>("X0", ftDouble, &T::X0, &T::SetX0, 0.0L);
  c.Float<T>("Y0", ftDouble, &T::Y0, &T::SetY0, 0.0L);
  c.Float<T>("X1", ftDouble, &T::X1, &T::SetX1, 0.0L);
  c.Float<T>("Y1", ftDouble, &T::Y1, &T::SetY1, 0.0L);
}

TDrawLine::TDrawLine(TCollection* Collection) : TCollectionItem(Collection) {}

TDrawLine::~TDrawLine() {
  if (TDrawLineTool* t = Tool(); t && t->Selected == this) t->Selected = nullptr;
}

TDrawLineTool* TDrawLine::Tool() const {
  return Collection() ? dynamic_cast<TDrawLineTool*>(Collection()->GetOwner()) : nullptr;
}

TChartPen* TDrawLine::Pen() {
  if (!FPen) {
    TDrawLineTool* t = Tool();
    FPen = std::make_unique<TChartPen>([t](TObject* Sender) {
      if (t) t->PartChanged(Sender);
    });
    if (t) FPen->Assign(t->Pen());
  }
  return FPen.get();
}

void TDrawLine::SetPen(TChartPen* Value) {
  if (Value) {
    Pen()->Assign(Value);
  } else {
    FPen.reset();
    if (TDrawLineTool* t = Tool()) t->RequestRedraw();
  }
}

void TDrawLine::SetStyle(TDrawLineStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  if (TDrawLineTool* t = Tool()) t->RequestRedraw();
}

void TDrawLine::SetCoord(double& Field, double Value) {
  if (TDrawLineTool* t = Tool()) t->ChangeDouble(Field, Value);
  else Field = Value;
}

void TDrawLine::Assign(TPersistent* Source) {
  if (auto* l = dynamic_cast<TDrawLine*>(Source)) {
    FStart = l->FStart;
    FEnd = l->FEnd;
    FStyle = l->FStyle;
    if (l->FPen) Pen()->Assign(l->FPen.get());
    else FPen.reset();
    return;
  }
  TCollectionItem::Assign(Source);
}

TRect TDrawLine::StartHandle() const {
  const TPoint p = Tool()->ValueToScreen(FStart);
  return {p.X - 3, p.Y - 3, p.X + 3, p.Y + 3};
}

TRect TDrawLine::EndHandle() const {
  const TPoint p = Tool()->ValueToScreen(FEnd);
  return {p.X - 3, p.Y - 3, p.X + 3, p.Y + 3};
}

void TDrawLine::DrawHandles() {
  TDrawLineTool* t = Tool();
  if (!t || !t->ParentChart()) return;
  TCanvas3D* canvas = t->ParentChart()->PanelCanvas();
  canvas->CanvasBrush()->SetStyle(bsSolid);
  canvas->CanvasBrush()->SetColor(ColorToRGB(t->ParentChart()->Color()) == 0 ? TColor(0xC0C0C0) : clBlack);
  canvas->CanvasPen()->SetStyle(psClear);
  canvas->RectangleWithZ(StartHandle(), 0);
  canvas->RectangleWithZ(EndHandle(), 0);
}

namespace {
bool InRect(const TRect& r, int X, int Y) { return X >= r.Left && X <= r.Right && Y >= r.Top && Y <= r.Bottom; }
}  // namespace

bool TDrawLine::Hit(int X, int Y, int Tolerance, int Part) const {
  if (Part == 1) return InRect(StartHandle(), X, Y);
  if (Part == 2) return InRect(EndHandle(), X, Y);
  const TPoint p0 = Tool()->ValueToScreen(FStart), p1 = Tool()->ValueToScreen(FEnd);
  const TPoint p{X, Y};
  switch (FStyle) {
    case dlHorizParallel:
      return PointNearSegment(p, p0, {p1.X, p0.Y}, Tolerance) || PointNearSegment(p, {p0.X, p1.Y}, p1, Tolerance);
    case dlVertParallel:
      return PointNearSegment(p, p0, {p0.X, p1.Y}, Tolerance) || PointNearSegment(p, {p1.X, p0.Y}, p1, Tolerance);
    default: return PointNearSegmentPoints(p, p0, p1, Tolerance);
  }
}

ZV_CLASS_IMPL_NOPROPS(TDrawLines, TOwnedCollection)

TDrawLines::TDrawLines(TPersistent* Owner) : TOwnedCollection(Owner, &TDrawLine::StaticClass()) {}

ZV_CLASS_IMPL(TDrawLineTool, TGrafCustomToolSeries)

void TDrawLineTool::DeclareProperties(TClassInfo& c) {
  using T = TDrawLineTool;
  c.Enum<T>("Button", MouseButtonEnumInfo(), &T::Button, &T::SetButton, mbLeft);
  c.Integer<T>("ClickTolerance", &T::ClickTolerance, &T::SetClickTolerance, 0);
  c.Boolean<T>("EnableDraw", &T::EnableDraw, &T::SetEnableDraw, true);
  c.Boolean<T>("EnableSelect", &T::EnableSelect, &T::SetEnableSelect, true);
  c.Object<T, TDrawLines>("Lines", &T::Lines, &T::SetLines);
  c.Object<T, TChartPen>("Pen", &T::Pen, &T::SetPen);
  c.Boolean<T>("SelectNewLines", &T::SelectNewLines, &T::SetSelectNewLines, true);
}

TDrawLineTool::TDrawLineTool(TComponent* AOwner) : TGrafCustomToolSeries(AOwner) {
  FLines = std::make_unique<TDrawLines>(this);
}

TDrawLineTool::~TDrawLineTool() {
  Selected = nullptr;
  FLines.reset();
}

std::string TDrawLineTool::ToolTypeName() const { return GrafMsgExDrawLine; }

void TDrawLineTool::SetEnableSelect(bool Value) {
  FEnableSelect = Value;
  if (!Value && Selected) {
    Selected = nullptr;
    RequestRedraw();
  }
}

TPoint TDrawLineTool::ValueToScreen(TFloatPair P) const {
  return {ResolveHorizAxis()->ValueToPixel(P.X), ResolveVertAxis()->ValueToPixel(P.Y)};
}

TFloatPair TDrawLineTool::ScreenToValue(TPoint P) const {
  return {ResolveHorizAxis()->PixelToValue(P.X), ResolveVertAxis()->PixelToValue(P.Y)};
}

TDrawLine* TDrawLineTool::LineAtTolerance(int X, int Y, int Tolerance, int Part) {
  if (!FParentChart) return nullptr;
  FParentChart->PanelCanvas()->UnprojectPoint(X, Y, 0);
  if (Selected && Selected->Hit(X, Y, Tolerance, Part)) return Selected;
  for (int i = 0; i < FLines->Count(); ++i)
    if (FLines->GetLine(i)->Hit(X, Y, Tolerance, Part)) return FLines->GetLine(i);
  return nullptr;
}

TDrawLine* TDrawLineTool::ClickedTolerance(int X, int Y, int Tolerance) {
  for (int part : {0, 1, 2})
    if (TDrawLine* l = LineAtTolerance(X, Y, Tolerance, part)) return l;
  return nullptr;
}

void TDrawLineTool::DrawLineShape(TPoint From, TPoint To, TDrawLineStyle Style) {
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  if (FParentChart->View3D()) {
    switch (Style) {
      case dlHorizParallel:
        canvas->HorizontalLine3D(From.X, To.X, From.Y, 0);
        canvas->HorizontalLine3D(From.X, To.X, To.Y, 0);
        break;
      case dlVertParallel:
        canvas->VerticalLine3D(From.X, From.Y, To.Y, 0);
        canvas->VerticalLine3D(To.X, From.Y, To.Y, 0);
        break;
      default:
        canvas->MoveTo3D(From.X, From.Y, 0);
        canvas->LineTo3D(To.X, To.Y, 0);
    }
    return;
  }
  switch (Style) {
    case dlHorizParallel:
      canvas->HorizontalLine(From.X, To.X, From.Y);
      canvas->HorizontalLine(From.X, To.X, To.Y);
      break;
    case dlVertParallel:
      canvas->VerticalLine(From.X, From.Y, To.Y);
      canvas->VerticalLine(To.X, From.Y, To.Y);
      break;
    default: canvas->LineFromTo(From.X, From.Y, To.X, To.Y);
  }
}

void TDrawLineTool::ClipDrawingArea() {
  TRect r = FParentChart->ChartArea;
  if (FSeries) {
    TChartAxis* h = FSeries->GetHorizAxis();
    TChartAxis* v = FSeries->GetVertAxis();
    r = {h->StartPixel, v->StartPixel, h->EndPixel, v->EndPixel};
  }
  if (FParentChart->ClippingAllowed()) FParentChart->PanelCanvas()->ClipCube(r, 0, FParentChart->DepthWidth());
}

void TDrawLineTool::HandleChartEvent(int Code) {
  TGrafCustomToolSeries::HandleChartEvent(Code);
  if (Code != cteAfterDraw || FLines->Count() == 0 || !FParentChart) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  canvas->SetBackgroundMode(TRANSPARENT);
  const bool clipped = FParentChart->ClippingAllowed();
  ClipDrawingArea();
  for (int i = 0; i < FLines->Count(); ++i) {
    TDrawLine* l = FLines->GetLine(i);
    canvas->ApplyPen(l->HasOwnPen() ? l->Pen() : Pen());
    DrawLineShape(ValueToScreen(l->StartPos()), ValueToScreen(l->EndPos()), l->Style());
  }
  if (Selected) Selected->DrawHandles();
  if (clipped) canvas->RemoveClipRegion();
}

void TDrawLineTool::DrawRubberLine(TDrawLine* Line) {
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  const TColor back = static_cast<TColor>(ColorToRGB(FParentChart->GetPanelColor()));
  TChartPen* pen = Line && Line->HasOwnPen() ? Line->Pen() : Pen();
  try {
    canvas->ApplyPenWithColor(pen, NotXorPenColor(pen->Color(), back));
    canvas->CanvasPen()->SetMode(pmNotXor);
    DrawLineShape(FFrom, FTo, Line ? Line->Style() : dlLine);
  } catch (...) {
    canvas->CanvasPen()->SetMode(pmCopy);
    throw;
  }
  canvas->CanvasPen()->SetMode(pmCopy);
  canvas->MarkDirty();
}

void TDrawLineTool::StartDrag(TDrawLine* Line, int X, int Y) {
  FFrom = ValueToScreen(Line->StartPos());
  FTo = ValueToScreen(Line->EndPos());
  FLast = {X, Y};
}

bool TDrawLineTool::CheckHover(int X, int Y) {
  if (Selected && (LineAt(X, Y, 1) == Selected || LineAt(X, Y, 2) == Selected)) {
    FParentChart->SetCursor(crCross);
    return true;
  }
  if (Clicked(X, Y)) {
    FParentChart->SetCursor(crHandPoint);
    return true;
  }
  return false;
}

void TDrawLineTool::HandleMouseEvent(int Kind, TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGrafCustomToolSeries::HandleMouseEvent(Kind, Button, Shift, X, Y);
  if (!FParentChart) return;
  if (Kind == cmeDown) {
    if (Button != FButton) return;
    TDrawLine* line = FEnableSelect ? Clicked(X, Y) : nullptr;
    if (line) {
      bool allow = true;
      const bool wasSelected = line == Selected;
      if (!wasSelected) {
        if (OnSelecting) OnSelecting(this, line, allow);
        if (allow) {
          const bool hadSelection = Selected != nullptr;
          Selected = line;
          if (hadSelection) RequestRedraw();
          else line->DrawHandles();
          if (OnSelect) OnSelect(this);
        }
      }
      // A refused selection starts no drag: a drag only ever moves the selected line.
      if (line == Selected) {
        StartDrag(line, X, Y);
        FPart = 3;
        // Only a line selected before the press can be dragged by one end.
        if (wasSelected && LineAt(X, Y, 1) == line) FPart = 1;
        else if (wasSelected && LineAt(X, Y, 2) == line) FPart = 2;
      }
      FParentChart->MouseCancelled = true;
      return;
    }
    Selected = nullptr;
    if (!FEnableDraw) return;
    FDrawing = true;
    FFrom = FTo = {X, Y};
    DrawRubberLine(nullptr);
    FParentChart->MouseCancelled = true;
  } else if (Kind == cmeMove) {
    if (FDrawing || FPart != 0) {
      TDrawLine* rubber = FDrawing ? nullptr : Selected;
      DrawRubberLine(rubber);
      if (FDrawing) {
        FTo = {X, Y};
      } else if (FPart == 1) {
        FFrom = {X, Y};
      } else if (FPart == 2) {
        FTo = {X, Y};
      } else {
        FFrom.X += X - FLast.X;
        FFrom.Y += Y - FLast.Y;
        FTo.X += X - FLast.X;
        FTo.Y += Y - FLast.Y;
        FLast = {X, Y};
      }
      DrawRubberLine(rubber);
      FParentChart->MouseCancelled = true;
      FDragged = true;
      if (OnDragLine) OnDragLine(this);
    } else if (FEnableSelect) {
      if (CheckHover(X, Y)) FParentChart->MouseCancelled = true;
    }
  } else if (Kind == cmeUp) {
    if (Button != FButton) return;
    if (FPart != 0 && Selected) {
      if (FPart == 1 || FPart == 3) Selected->SetStartPos(ScreenToValue(FFrom));
      if (FPart == 2 || FPart == 3) Selected->SetEndPos(ScreenToValue(FTo));
      FPart = 0;
      RequestRedraw();
      if (FDragged) {
        FDragged = false;
        if (OnDraggedLine) OnDraggedLine(this);
      }
    } else if (FDrawing) {
      FPart = 0;
      if (FFrom != FTo) {
        auto* line = static_cast<TDrawLine*>(FLines->Add());
        line->SetStartPos(ScreenToValue(FFrom));
        line->SetEndPos(ScreenToValue(FTo));
        if (FSelectNewLines) {
          StartDrag(line, X, Y);
          Selected = line;
        }
        RequestRedraw();
        if (OnNewLine) OnNewLine(this);
      }
      FDrawing = false;
      FDragged = false;
    }
    FPart = 0;
  }
}
