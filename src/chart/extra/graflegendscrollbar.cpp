#include "chart/extra/graflegendscrollbar.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "chart/core/grafconst.h"
#include "chart/core/grafutils.h"
#include "platform/rtl/mathutils.h"
#include "platform/ui/uitypes.h"

const TEnumInfo& GrafScrollBarDrawStyleEnumInfo() {
  static const TEnumInfo info{"TGrafScrollBarDrawStyle", {"dsAlways", "dsWhenNeeded"}, 0};
  return info;
}

namespace {
// The shortest repeat interval of a held button, milliseconds.
constexpr unsigned RepeatInterval = 50;
}  // namespace

// ---- Base bar ---------------------------------------------------------------------------------

ZV_CLASS_IMPL(TGrafScrollBar, TGrafCustomTool)

void TGrafScrollBar::DeclareProperties(TClassInfo& c) {
  using T = TGrafScrollBar;
  c.Object<T, TChartBrush>("ArrowBrush", &T::ArrowBrush, &T::SetArrowBrush);
  c.Boolean<T>("AutoRepeat", &T::AutoRepeat, &T::SetAutoRepeat, true);
  c.Integer<T>("BackColor", &T::BackColor, &T::SetBackColor, clScrollBar);
  c.Enum<T>("Bevel", BevelCutEnumInfo(), &T::Bevel, &T::SetBevel, bvRaised);
  c.Object<T, TChartBrush>("Brush", &T::Brush, &T::SetBrush);
  c.Enum<T>("DrawStyle", GrafScrollBarDrawStyleEnumInfo(), &T::DrawStyle, &T::SetDrawStyle, dsAlways);
  c.Object<T, TGrafGradient>("Gradient", &T::Gradient, &T::SetGradient);
  c.Integer<T>("InitialDelay", &T::InitialDelay, &T::SetInitialDelay, 250);
  c.Integer<T>("MinThumbSize", &T::MinThumbSize, &T::SetMinThumbSize, 4);
  c.Object<T, TChartPen>("Pen", &T::Pen, &T::SetPen);
  c.Integer<T>("Size", &T::Size, &T::SetSize, 18);
  c.Object<T, TChartBrush>("ThumbBrush", &T::ThumbBrush, &T::SetThumbBrush);
}

TGrafScrollBar::TGrafScrollBar(TComponent* AOwner) : TGrafCustomTool(AOwner) {
  TNotifyEvent change = [this](TObject* Sender) { PartChanged(Sender); };
  FArrowBrush = std::make_unique<TChartBrush>(change);
  FThumbBrush = std::make_unique<TChartBrush>(change);
  FThumbBrush->SetColor(clSilver);
  FGradient = std::make_unique<TGrafGradient>(change);
  Brush()->SetColor(clWhite);
  Pen()->SetColor(clWindowFrame);
}

TGrafScrollBar::~TGrafScrollBar() {
  if (FParentChart) SetParentChart(nullptr);
}

std::string TGrafScrollBar::ToolTypeName() const { return "Scrollbar"; }

void TGrafScrollBar::SetBevel(TBevelCut Value) {
  if (FBevel == Value) return;
  FBevel = Value;
  RequestRedraw();
}

void TGrafScrollBar::SetDrawStyle(TGrafScrollBarDrawStyle Value) {
  if (FDrawStyle == Value) return;
  FDrawStyle = Value;
  RequestRedraw();
}

void TGrafScrollBar::SetSize(int Value) {
  if (FSize == Value) return;
  FSize = Value;
  RequestRedraw();
  if (OnChangeSize) OnChangeSize(this);
}

double TGrafScrollBar::CalcPositionDelta(int New, int Old) {
  if (New == Old) return 0;
  const TRect track = TrackRect();
  const int length = FHorizontal ? track.Width() : track.Height();
  if (length <= 0) return 0;
  const double d = static_cast<double>(GetTotal()) * std::abs(New - Old) / length;
  return New < Old ? -d : d;
}

void TGrafScrollBar::SetPosition(int Value) {
  ChangeInteger(FPosition, Value);
  if (OnSetPosition) OnSetPosition(this, Value);
}

bool TGrafScrollBar::CalcBounds(TRect&) { return GetTotal() > 0; }

TRect TGrafScrollBar::BarRect() const {
  const TRect& R = FBounds;
  if (FHorizontal) return {R.Left, R.Bottom - 1, R.Right, R.Bottom + FSize};
  return {R.Right - FSize - 1, R.Top, R.Right, R.Bottom};
}

TRect TGrafScrollBar::TrackRect() const {
  TRect r = BarRect();
  if (FHorizontal) {
    r.Left += FSize;
    r.Right -= FSize;
  } else {
    r.Top += FSize;
    r.Bottom -= FSize;
  }
  return r;
}

TRect TGrafScrollBar::FirstButtonRect() const {
  const TRect& R = FBounds;
  if (FHorizontal) return {R.Left, R.Bottom, R.Left + FSize, R.Bottom + FSize};
  return {R.Right - FSize - 1, R.Top, R.Right, R.Top + FSize};
}

TRect TGrafScrollBar::SecondButtonRect() const {
  const TRect& R = FBounds;
  if (FHorizontal) return {R.Right - FSize, R.Bottom, R.Right, R.Bottom + FSize};
  return {R.Right - FSize - 1, R.Bottom - FSize, R.Right, R.Bottom};
}

TRect TGrafScrollBar::ThumbRect() const {
  const TRect& R = FBounds;
  if (FHorizontal) {
    // A thumb of under two pixels still shows.
    const int right = FThumbEnd - FThumbStart < 2 ? FThumbEnd + 1 : FThumbEnd;
    return {FThumbStart, R.Bottom, right, R.Bottom + FSize};
  }
  return {R.Right - FSize, FThumbStart, R.Right, FThumbEnd};
}

void TGrafScrollBar::HandleChartEvent(int Code) {
  TGrafCustomTool::HandleChartEvent(Code);
  if (Code == cteAfterDraw) DrawBar();
}

void TGrafScrollBar::DrawBar() {
  if (!FParentChart || !CalcBounds(FBounds)) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  const int S = FSize;
  canvas->ApplyBrush(Brush(), Brush()->Color());
  canvas->ApplyPen(Pen());
  const TRect bar = BarRect();
  if (FGradient->Visible()) {
    FGradient->DrawInRect(canvas, bar);
    canvas->CanvasBrush()->SetStyle(bsClear);
  }
  canvas->RectangleOfRect(bar);
  canvas->ApplyBrush(Brush(), Brush()->Color());
  const TRect first = FirstButtonRect(), second = SecondButtonRect();
  canvas->RectangleOfRect(first);
  canvas->RectangleOfRect(second);

  // Arrow triangles: grey while pressed or at their end of the range.
  const int m = S / 6;
  canvas->CanvasPen()->SetStyle(psClear);
  const TColor grey = static_cast<TColor>(RGB(128, 128, 128));
  auto fill = [&](bool greyed) {
    if (greyed) {
      canvas->CanvasBrush()->SetBitmap(nullptr);
      canvas->CanvasBrush()->SetStyle(bsSolid);
      canvas->CanvasBrush()->SetColor(grey);
    } else {
      canvas->ApplyBrush(FArrowBrush.get(), FArrowBrush->Color());
    }
  };
  TPoint a[3], b[3];
  if (FHorizontal) {
    const int L = first.Left, T = first.Top, B = first.Bottom;
    a[0] = {L + m, T + S / 2};
    a[1] = {L + S - m, T + m};
    a[2] = {L + S - m, B - m};
    const int R2 = second.Right, T2 = second.Top, B2 = second.Bottom;
    b[0] = {R2 - m, T2 + S / 2};
    b[1] = {R2 + m - S, T2 + m};
    b[2] = {R2 + m - S, B2 - m};
  } else {
    const int L = first.Left, T = first.Top;
    a[0] = {L + m, T + S - 2 * m};
    a[1] = {L + S / 2, T + m};
    a[2] = {L + S - m, T + S - 2 * m};
    const int bottom = FBounds.Bottom;
    b[0] = {L + m, bottom + 2 * m - S};
    b[1] = {L + S / 2, bottom - m};
    b[2] = {L + S - m, bottom + 2 * m - S};
  }
  fill(FFirstPressed || GetPosition() == 0);
  canvas->Polygon(a);
  fill(FSecondPressed || GetTotal() - GetPageSize() == GetPosition());
  canvas->Polygon(b);

  canvas->ApplyBrush(FThumbBrush.get(), FThumbBrush->Color());
  canvas->ApplyPen(Pen());
  const int total = GetTotal();
  if (total == 0) return;
  const int extent = FHorizontal ? FBounds.Width() : FBounds.Height();
  const double ratio = static_cast<double>(extent - 2 * S) / total;
  FThumbLength = std::max(static_cast<int>(Round(GetPageSize() * ratio)), FMinThumbSize);
  FThumbStart = (FHorizontal ? FBounds.Left : FBounds.Top) + static_cast<int>(Round(GetPosition() * ratio)) + S;
  FThumbEnd = FThumbStart + FThumbLength + 1;
  TRect thumb = ThumbRect();
  canvas->RectangleOfRect(thumb);
  if (FBevel != bvNone) {
    thumb.Right -= 1;
    PaintBevel(canvas, FBevel, thumb, 0, 1);
  }
}

void TGrafScrollBar::MouseDownAt(TPoint P) {
  FLastPoint = P;
  FDragging = FFirstPressed = FSecondPressed = false;
  double delta = 0;
  if (PtInRect(FirstButtonRect(), P)) {
    FFirstPressed = true;
    delta = -1;
  } else if (PtInRect(SecondButtonRect(), P)) {
    FSecondPressed = true;
    delta = 1;
  } else if (PtInRect(ThumbRect(), P)) {
    FDragging = true;
    return;
  } else if (PtInRect(BarRect(), P)) {
    const int c = FHorizontal ? P.X : P.Y;
    if (c < FThumbStart) delta = -GetLargeChange();
    else if (c > FThumbEnd) delta = GetLargeChange();
    else return;
  } else {
    return;
  }
  ScrollBy(delta, true);
}

void TGrafScrollBar::ScrollBy(double Delta, bool AllowRepeat) {
  const int position = GetPosition();
  double next;
  if (Delta >= 0) {
    const int last = GetTotal() - GetPageSize();
    next = position + Delta - 1 < last ? position + Delta : last;
  } else {
    Delta = std::max(Delta, -static_cast<double>(position));
    if (Delta + 1 >= position) return;
    next = position + Delta;
  }
  SetPosition(static_cast<int>(Round(next)));
  if (OnScrolled) OnScrolled(this);
  if (AllowRepeat && FAutoRepeat) {
    if (!FTimer) {
      FTimer = new TTimer(this);
      FTimer->SetEnabled(false);
      FTimer->SetOnTimer([this](TObject*) { TimerTick(); });
    }
    FTimer->SetInterval(static_cast<unsigned>(std::max(FInitialDelay, 0)));
    FTimer->SetEnabled(true);
  }
}

void TGrafScrollBar::TimerTick() {
  MouseDownAt(FLastPoint);
  if (FTimer && FTimer->Interval() > RepeatInterval) FTimer->SetInterval(RepeatInterval);
}

void TGrafScrollBar::HandleMouseEvent(int Kind, TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGrafCustomTool::HandleMouseEvent(Kind, Button, Shift, X, Y);
  const TPoint p{X, Y};
  if (Kind == cmeDown) {
    MouseDownAt(p);
  } else if (Kind == cmeMove) {
    if (!FDragging) return;
    const double delta =
        CalcPositionDelta(FHorizontal ? X : Y, FHorizontal ? FLastPoint.X : FLastPoint.Y);
    if (std::abs(delta) >= 1) {
      ScrollBy(delta, false);
      FLastPoint = p;
    }
  } else if (Kind == cmeUp) {
    FDragging = FFirstPressed = FSecondPressed = false;
    if (FTimer) FTimer->SetEnabled(false);
    RequestRedraw();
  }
}

// ---- Legend scroll bar ----------------------------------------------------------------------------

ZV_CLASS_IMPL_NOPROPS(TLegendScrollBar, TGrafScrollBar)

TLegendScrollBar::TLegendScrollBar(TComponent* AOwner) : TGrafScrollBar(AOwner) {}

TLegendScrollBar::~TLegendScrollBar() {
  RemoveHook(FParentChart);
  if (FParentChart) SetParentChart(nullptr);
}

std::string TLegendScrollBar::ToolTypeName() const { return GrafMsgExLegendScrollbar; }

void TLegendScrollBar::InstallHook(TCustomAxisPanel* Chart) {
  auto* chart = dynamic_cast<TCustomChart*>(Chart);
  if (!chart) return;
  chart->Legend()->SizeHook = [this](TCustomChartLegend*, int& Size) {
    TRect r = FBounds;
    if (Active() && CalcBounds(r)) Size += this->Size() + 1;
  };
}

void TLegendScrollBar::RemoveHook(TCustomAxisPanel* Chart) {
  auto* chart = dynamic_cast<TCustomChart*>(Chart);
  if (chart && chart->Legend()) chart->Legend()->SizeHook = nullptr;
  FLegend = nullptr;
}

void TLegendScrollBar::SetParentChart(TCustomAxisPanel* Value) {
  if (Value == FParentChart) return;
  RemoveHook(FParentChart);
  TGrafScrollBar::SetParentChart(Value);
  if (ComponentState().Contains(csDestroying)) return;
  if (Value) {
    Value->Invalidate();
    InstallHook(Value);
  }
}

bool TLegendScrollBar::Paging() const { return FParentChart && FParentChart->MaxPointsPerPage() > 0; }

int TLegendScrollBar::GetPageSize() {
  if (Paging()) return 1;
  return FLegend ? FLegend->LastRow - FLegend->FirstValue() + 1 : 0;
}

int TLegendScrollBar::GetLargeChange() { return Paging() ? 1 : TGrafScrollBar::GetLargeChange(); }

int TLegendScrollBar::GetPosition() {
  if (Paging()) return FParentChart->Page() - 1;
  return FLegend ? FLegend->FirstValue() : 0;
}

void TLegendScrollBar::SetPosition(int Value) {
  if (Paging()) FParentChart->SetPage(Value + 1);
  else if (FLegend) FLegend->SetFirstValue(Value);
  if (OnSetPosition) OnSetPosition(this, Value);
}

bool TLegendScrollBar::CalcBounds(TRect& R) {
  auto* chart = dynamic_cast<TCustomChart*>(FParentChart);
  if (!chart) return false;
  FLegend = chart->Legend();
  if (!FLegend->Visible() || FLegend->LastRow < 0) return false;
  // Not needed while every item (or page) is shown.
  if (DrawStyle() == dsWhenNeeded) {
    const bool needed = Paging() ? FParentChart->PageCount() > 1
                                 : FLegend->FirstValue() > 0 || FLegend->LastRow < FLegend->FirstValue() + FLegend->TotalRows - 1;
    if (!needed) return false;
  }
  FHorizontal = !FLegend->StacksVertically();
  R = FLegend->ShapeBox;
  return true;
}

int TLegendScrollBar::GetTotal() {
  if (Paging()) return FParentChart->PageCount();
  return FLegend ? FLegend->TotalRows + FLegend->FirstValue() : 0;
}
