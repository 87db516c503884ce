#include "platform/ui/grids.h"

#include <QAbstractScrollArea>
#include <QPainter>
#include <QApplication>
#include <QCursor>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QWheelEvent>

#include <algorithm>
#include <cstdlib>

#include "platform/ui/editctrls.h"
#include "platform/ui/menuloop.h"
#include "platform/ui/qt_ui.h"

namespace {

constexpr int kBarMax = 127;

}  // namespace

// ---------------------------------------------------------------------------
// TGridAxis

int TGridAxis::Size(int i) const {
  auto it = Changed.find(i);
  return it != Changed.end() ? it->second : DefaultSize;
}

void TGridAxis::SetSize(int i, int v) {
  if (v == DefaultSize) Changed.erase(i);
  else Changed[i] = v;
}

void TGridAxis::Trim() { Changed.erase(Changed.lower_bound(Count), Changed.end()); }

int64_t TGridAxis::Extent(int from, int to, int line) const {
  if (to <= from) return 0;
  int64_t sum = static_cast<int64_t>(to - from) * (DefaultSize + line);
  for (auto it = Changed.lower_bound(from); it != Changed.end() && it->first < to; ++it)
    sum += it->second - DefaultSize;
  return sum;
}

int TGridAxis::LineAt(int from, int64_t d, int line) const {
  if (d < 0) return from;
  const int64_t step = DefaultSize + line;
  int64_t acc = 0;
  int pos = from;
  // Runs of default lines between the changed ones are skipped by division.
  auto run = [&](int end) -> int {
    const int64_t n = end - pos;
    if (n > 0 && step > 0) {
      if (acc + n * step > d) return pos + static_cast<int>((d - acc) / step);
      acc += n * step;
    }
    pos = end;
    return -1;
  };
  for (auto it = Changed.lower_bound(from); it != Changed.end() && it->first < Count; ++it) {
    if (int r = run(it->first); r >= 0) return r;
    const int64_t s = static_cast<int64_t>(it->second) + line;
    if (s > 0 && acc + s > d) return pos;
    acc += std::max<int64_t>(s, 0);
    ++pos;
  }
  if (int r = run(Count); r >= 0) return r;
  return Count;
}

// ---------------------------------------------------------------------------
// The window: a scroll area whose viewport shows the grid's surface. The bars
// only report requests; the grid decides where it scrolls.

namespace {

int SliderActionToCode(int action) {
  switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: return SB_LINEDOWN;
    case QAbstractSlider::SliderSingleStepSub: return SB_LINEUP;
    case QAbstractSlider::SliderPageStepAdd: return SB_PAGEDOWN;
    case QAbstractSlider::SliderPageStepSub: return SB_PAGEUP;
    case QAbstractSlider::SliderToMinimum: return SB_TOP;
    case QAbstractSlider::SliderToMaximum: return SB_BOTTOM;
    case QAbstractSlider::SliderMove: return SB_THUMBTRACK;
    default: return -1;
  }
}

// A scroll bar that draws itself flat (one colour, thin frames) or in the
// encarta style (frames only under the mouse) while the flat bars are on;
// the parts sit where the style puts them, so hit testing stays the style's.
class TFlatScrollBar : public QScrollBar {
public:
  TFlatScrollBar(Qt::Orientation o, QWidget* parent) : QScrollBar(o, parent) { setMouseTracking(true); }
  bool Flat = false;        // the flat bars are initialised
  int Mode = FSB_REGULAR_MODE;
  QColor Background;        // invalid: the button face

protected:
  void mouseMoveEvent(QMouseEvent* e) override {
    QScrollBar::mouseMoveEvent(e);
    if (Flat && Mode == FSB_ENCARTA_MODE) update();
  }
  void leaveEvent(QEvent* e) override {
    QScrollBar::leaveEvent(e);
    if (Flat) update();
  }
  void paintEvent(QPaintEvent* e) override {
    if (!Flat || Mode == FSB_REGULAR_MODE) {
      QScrollBar::paintEvent(e);
      return;
    }
    QStyleOptionSlider opt;
    initStyleOption(&opt);
    QPainter p(this);
    const QColor face = GfxToQColor(clBtnFace), shadow = GfxToQColor(clBtnShadow);
    const QColor text = isEnabled() ? GfxToQColor(clBtnText) : GfxToQColor(clGrayText);
    p.fillRect(rect(), Background.isValid() ? Background : face);
    const QPoint mouse = mapFromGlobal(QCursor::pos());
    const bool inside = underMouse() && rect().contains(mouse);
    auto framed = [&](const QRect& r) {
      // Flat parts always show a thin frame; encarta ones only under the mouse.
      if (Mode == FSB_FLAT_MODE || (inside && r.contains(mouse))) {
        p.setPen(shadow);
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(0, 0, -1, -1));
      }
    };
    const bool vert = orientation() == Qt::Vertical;
    for (auto sc : {QStyle::SC_ScrollBarSubLine, QStyle::SC_ScrollBarAddLine}) {
      const QRect r = style()->subControlRect(QStyle::CC_ScrollBar, &opt, sc, this);
      if (r.isEmpty()) continue;
      p.fillRect(r, face);
      framed(r);
      const QPoint c = r.center();
      const bool forward = sc == QStyle::SC_ScrollBarAddLine;
      QPolygon tri;
      if (vert)
        tri << QPoint(c.x() - 3, forward ? c.y() - 1 : c.y() + 1) << QPoint(c.x() + 3, forward ? c.y() - 1 : c.y() + 1)
            << QPoint(c.x(), forward ? c.y() + 2 : c.y() - 2);
      else
        tri << QPoint(forward ? c.x() - 1 : c.x() + 1, c.y() - 3) << QPoint(forward ? c.x() - 1 : c.x() + 1, c.y() + 3)
            << QPoint(forward ? c.x() + 2 : c.x() - 2, c.y());
      p.setPen(text);
      p.setBrush(text);
      p.drawPolygon(tri);
    }
    if (isEnabled() && maximum() > minimum()) {
      const QRect t = style()->subControlRect(QStyle::CC_ScrollBar, &opt, QStyle::SC_ScrollBarSlider, this);
      p.fillRect(t, face);
      framed(t);
    }
  }
};

class TGridScrollArea : public QAbstractScrollArea {
public:
  explicit TGridScrollArea(TCustomGrid* grid)
      : FGrid(grid), FVert(new TFlatScrollBar(Qt::Vertical, this)), FHorz(new TFlatScrollBar(Qt::Horizontal, this)) {
    setFrameShape(QFrame::NoFrame);
    setViewport(new TSurfaceWidget(grid, nullptr));
    setFocusPolicy(Qt::StrongFocus);
    // The area's own bars stay off: ours have the layer's fixed thickness,
    // so the viewport is exactly the grid's client area.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (QScrollBar* bar : {FVert, FHorz}) {
      bar->setRange(0, kBarMax);
      bar->setSingleStep(1);
      bar->setPageStep(1);
      bar->setFocusPolicy(Qt::NoFocus);
      bar->hide();
      const unsigned msg = bar == FVert ? WM_VSCROLL : WM_HSCROLL;
      QObject::connect(bar, &QAbstractSlider::actionTriggered, bar, [this, bar, msg](int action) {
        const int code = SliderActionToCode(action);
        if (code < 0 || !FGrid) return;
        TCustomGrid* g = FGrid;
        GuardEvent(g, [&] { g->Perform(msg, MAKEWPARAM(code, bar->sliderPosition()), 0); });
        // The grid sets the position it scrolled to; Qt's own step is undone.
        QMetaObject::invokeMethod(bar, [this, bar, msg] { SyncBar(bar, msg == WM_VSCROLL ? SB_VERT : SB_HORZ); },
                                  Qt::QueuedConnection);
      });
      QObject::connect(bar, &QAbstractSlider::sliderReleased, bar, [this, bar, msg] {
        if (!FGrid) return;
        TCustomGrid* g = FGrid;
        GuardEvent(g, [&] { g->Perform(msg, MAKEWPARAM(SB_THUMBPOSITION, bar->sliderPosition()), 0); });
        SyncBar(bar, msg == WM_VSCROLL ? SB_VERT : SB_HORZ);
      });
    }
    // A window's scroll bars take no focus: a click on one leaves the focus
    // in the grid (its editor) where it is. Qt gives a click's focus to the
    // first parent that takes it unless the focus proxy of the part clicked
    // holds the focus already.
    QObject::connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
      QWidget* keep = now && (now == this || isAncestorOf(now)) ? now : nullptr;
      for (QScrollBar* bar : {FVert, FHorz})
        if (bar->focusProxy() != keep) bar->setFocusProxy(keep);
    });
  }
  void Detach() { FGrid = nullptr; }
  void SyncBar(QScrollBar* bar, int which) {
    if (!FGrid) return;
    const QSignalBlocker block(bar);
    // While the thumb is dragged without tracking, it stays under the mouse.
    if (!bar->isSliderDown()) bar->setValue(FGrid->ScrollPos(which));
    bar->setPageStep(std::max(1, FGrid->ScrollPage(which)));
  }
  void SyncAll() {
    if (!FGrid) return;
    const bool v = FGrid->ScrollBarVisible(SB_VERT), h = FGrid->ScrollBarVisible(SB_HORZ);
    const int bw = v ? FGrid->BarThickness(SB_VERT) : 0, bh = h ? FGrid->BarThickness(SB_HORZ) : 0;
    setViewportMargins(0, 0, bw, bh);
    FVert->setVisible(v);
    FHorz->setVisible(h);
    FVert->setEnabled(FGrid->ScrollBarEnabled(SB_VERT));
    FHorz->setEnabled(FGrid->ScrollBarEnabled(SB_HORZ));
    for (TFlatScrollBar* bar : {FVert, FHorz}) {
      const int which = bar == FVert ? SB_VERT : SB_HORZ;
      bar->Flat = FGrid->FlatScrollBars();
      bar->Mode = FGrid->FlatBarStyle(which);
      const TColor c = FGrid->FlatBarColor(which);
      bar->Background = c == clNone ? QColor() : GfxToQColor(c);
      bar->update();
    }
    PlaceBars();
    SyncBar(FVert, SB_VERT);
    SyncBar(FHorz, SB_HORZ);
  }
  QScrollBar* Bar(int which) const { return which == SB_VERT ? FVert : FHorz; }

protected:
  // Input reaches the grid through the layer's messages; the scroll area's
  // own scrolling by keys and wheel stays out.
  void keyPressEvent(QKeyEvent* e) override { e->accept(); }
  void mousePressEvent(QMouseEvent* e) override { e->accept(); }
  void mouseReleaseEvent(QMouseEvent* e) override { e->accept(); }
  void mouseMoveEvent(QMouseEvent* e) override { e->accept(); }
  void mouseDoubleClickEvent(QMouseEvent* e) override { e->accept(); }
  // The viewport's paint events arrive here; the viewport shows the surface.
  void paintEvent(QPaintEvent*) override {
    if (!FGrid) return;
    TCustomGrid* g = FGrid;
    GuardEvent(g, [g] { g->PaintNow(); });
    if (!FGrid) return;
    TWinControlImpl* impl = g->Impl();
    impl->FlushSurface();
    QPainter p(viewport());
    if (!impl->Surface.isNull()) p.drawImage(0, 0, impl->Surface);
  }
  void wheelEvent(QWheelEvent* e) override { e->accept(); }
  void scrollContentsBy(int, int) override {}
  void resizeEvent(QResizeEvent* e) override {
    QAbstractScrollArea::resizeEvent(e);
    PlaceBars();
  }

private:
  void PlaceBars() {
    const int bw = FVert->isVisibleTo(this) && FGrid ? FGrid->BarThickness(SB_VERT) : 0;
    const int bh = FHorz->isVisibleTo(this) && FGrid ? FGrid->BarThickness(SB_HORZ) : 0;
    FVert->setGeometry(width() - bw, 0, bw, height() - bh);
    FHorz->setGeometry(0, height() - bh, width() - bw, bh);
  }
  TCustomGrid* FGrid;
  TFlatScrollBar* FVert;
  TFlatScrollBar* FHorz;
};

TGridScrollArea* AreaOf(TWinControlImpl* impl) {
  return impl ? dynamic_cast<TGridScrollArea*>(impl->Widget.data()) : nullptr;
}

}  // namespace

// ---------------------------------------------------------------------------
// TCustomGrid

ZV_CLASS_IMPL_NOPROPS(TCustomGrid, TCustomControl)

TCustomGrid::TCustomGrid(TComponent* AOwner) : TCustomControl(AOwner) {
  FControlStyle = {csCaptureMouse, csOpaque, csDoubleClicks, csClickEvents};
  FImpl->ViewportSurface = true;  // shown in the scroll area's viewport, beside the bars
  FCols.Count = 5;
  FCols.DefaultSize = 64;
  FRows.Count = 5;
  FRows.DefaultSize = 24;
  FTabStop = true;
  FColor = clWindow;
  FParentColor = false;
  FWidth = 320;
  FHeight = 120;
  UpdateScrollRange();
}

TCustomGrid::~TCustomGrid() {
  if (auto* area = AreaOf(FImpl.get())) area->Detach();
  Destroying();
}

void TCustomGrid::CreateWnd() {
  auto* area = new TGridScrollArea(this);
  AttachWidget(this, area, area->viewport());
  area->SyncAll();
}

int TCustomGrid::BarThickness(int Bar) const {
  const int own = Bar == SB_VERT ? FFlatVertWidth : FFlatHorzHeight;
  if (FFlatSB && own > 0) return own;
  return GetSystemMetrics(Bar == SB_VERT ? SM_CXVSCROLL : SM_CYHSCROLL);
}

int TCustomGrid::FlatBarStyle(int Bar) const { return Bar == SB_VERT ? FFlatVertStyle : FFlatHorzStyle; }
TColor TCustomGrid::FlatBarColor(int Bar) const { return Bar == SB_VERT ? FFlatVertColor : FFlatHorzColor; }

bool InitializeFlatSB(HWND Window) {
  auto* g = dynamic_cast<TCustomGrid*>(FindControl(Window));
  if (!g) return false;
  g->FFlatSB = true;
  g->UpdateScrollRange();
  g->SyncBarsToWidget();
  return true;
}

bool UninitializeFlatSB(HWND Window) {
  auto* g = dynamic_cast<TCustomGrid*>(FindControl(Window));
  if (!g) return false;
  g->FFlatSB = false;
  g->UpdateScrollRange();
  g->SyncBarsToWidget();
  return true;
}

bool FlatSB_SetScrollProp(HWND Window, unsigned Prop, intptr_t Value, bool Redraw) {
  auto* g = dynamic_cast<TCustomGrid*>(FindControl(Window));
  if (!g || !g->FFlatSB) return false;
  switch (Prop) {
    case WSB_PROP_CYHSCROLL: g->FFlatHorzHeight = static_cast<int>(Value); break;
    case WSB_PROP_CXVSCROLL: g->FFlatVertWidth = static_cast<int>(Value); break;
    case WSB_PROP_VBKGCOLOR: g->FFlatVertColor = static_cast<TColor>(Value); break;
    case WSB_PROP_HBKGCOLOR: g->FFlatHorzColor = static_cast<TColor>(Value); break;
    case WSB_PROP_VSTYLE: g->FFlatVertStyle = static_cast<int>(Value); break;
    case WSB_PROP_HSTYLE: g->FFlatHorzStyle = static_cast<int>(Value); break;
    default: return false;
  }
  if (Prop == WSB_PROP_CYHSCROLL || Prop == WSB_PROP_CXVSCROLL) g->UpdateScrollRange();
  if (Redraw) g->SyncBarsToWidget();
  return true;
}

bool FlatSB_ShowScrollBar(HWND Window, int Bar, bool Show) {
  auto* g = dynamic_cast<TCustomGrid*>(FindControl(Window));
  if (!g || !g->FFlatSB) return false;
  // The flat bars are the window's own bars drawn flat: they show as those do.
  (void)Bar, (void)Show;
  return true;
}

void TCustomGrid::SyncBarsToWidget() {
  if (auto* area = AreaOf(FImpl.get())) area->SyncAll();
}

TRect TCustomGrid::ClientRect() const {
  return Rect(0, 0, std::max(0, FWidth - (FVertBar ? BarThickness(SB_VERT) : 0)),
              std::max(0, FHeight - (FHorzBar ? BarThickness(SB_HORZ) : 0)));
}

int TCustomGrid::FixedWidth() const { return static_cast<int>(FCols.Extent(0, FFixedCols, FGridLineWidth)); }
int TCustomGrid::FixedHeight() const { return static_cast<int>(FRows.Extent(0, FFixedRows, FGridLineWidth)); }

void TCustomGrid::ComputeBars(bool& vert, bool& horz) const {
  const bool allowV = FScrollBars == ssVertical || FScrollBars == ssBoth;
  const bool allowH = FScrollBars == ssHorizontal || FScrollBars == ssBoth;
  const int64_t rows = FRows.Extent(FFixedRows, FRows.Count, FGridLineWidth);
  const int64_t cols = FCols.Extent(FFixedCols, FCols.Count, FGridLineWidth);
  const int bw = BarThickness(SB_VERT), bh = BarThickness(SB_HORZ);
  const int rowArea = FHeight - FixedHeight() - FCoveredBottom;
  vert = allowV && rows > rowArea;
  horz = allowH && cols > FWidth - FixedWidth() - (vert ? bw : 0);
  vert = allowV && rows > rowArea - (horz ? bh : 0);
  if (allowV && FVertAlways && !vert) {
    vert = true;
    horz = allowH && cols > FWidth - FixedWidth() - bw;
  }
  if (allowH && FHorzAlways && !horz) horz = true;
}

void TCustomGrid::SetScrollPage(int Bar, int Page) {
  int& page = Bar == SB_VERT ? FVertPage : FHorzPage;
  page = std::max(0, Page);
  SyncBarsToWidget();
}

void TCustomGrid::SetScrollBarsAlways(bool Vert, bool Horz) {
  if (Vert == FVertAlways && Horz == FHorzAlways) return;
  FVertAlways = Vert;
  FHorzAlways = Horz;
  UpdateScrollRange();
}

void TCustomGrid::UpdateScrollRange() {
  bool v = false, h = false;
  ComputeBars(v, h);
  bool changed = v != FVertBar || h != FHorzBar;
  const bool barsChanged = changed;
  FVertBar = v;
  FHorzBar = h;
  // A bar coming or going changes the client area: aligned children (a
  // footer at the bottom) keep inside it, never over the bar.
  if (barsChanged) Realign();
  // A bar kept by SetScrollBarsAlways scrolls only when the lines do not fit.
  FVertEnabled = v && FRows.Extent(FFixedRows, FRows.Count, FGridLineWidth) > RowAreaHeight();
  FHorzEnabled = h && FCols.Extent(FFixedCols, FCols.Count, FGridLineWidth) > ClientWidth() - FixedWidth();
  // The view may now hold more lines than are left below the top row.
  const int top = std::min(FTopLeft.Y, MaxTopRow()), left = std::min(FTopLeft.X, MaxLeftCol());
  if (top != FTopLeft.Y || left != FTopLeft.X) {
    FTopLeft = {left, top};
    changed = true;
    TopLeftChanged();
  }
  if (changed) Invalidate();
  SyncBarsToWidget();
}

void TCustomGrid::BoundsChanged(bool sizeChanged) {
  TCustomControl::BoundsChanged(sizeChanged);
  if (sizeChanged) UpdateScrollRange();
}

int TCustomGrid::RowAreaHeight() const { return ClientHeight() - FixedHeight() - FCoveredBottom; }

void TCustomGrid::SetCoveredBottom(int Pixels) {
  Pixels = std::max(Pixels, 0);
  if (Pixels == FCoveredBottom) return;
  FCoveredBottom = Pixels;
  UpdateScrollRange();
}

int TCustomGrid::VisibleRowCount() const {
  const int avail = RowAreaHeight();
  if (avail <= 0) return 0;
  // A row counts when it ends inside the view; its grid line may fall outside.
  return std::max(0, FRows.LineAt(FTopLeft.Y, avail + FGridLineWidth, FGridLineWidth) - FTopLeft.Y);
}

int TCustomGrid::VisibleColCount() const {
  const int avail = ClientWidth() - FixedWidth();
  if (avail <= 0) return 0;
  return std::max(0, FCols.LineAt(FTopLeft.X, avail + FGridLineWidth, FGridLineWidth) - FTopLeft.X);
}

int TCustomGrid::FirstForLast(const TGridAxis& axis, int fixed, int last, int avail) const {
  // Back from the line while the lines before it still fit: costs the lines shown.
  if (last < fixed) return fixed;
  int first = last;
  int64_t used = axis.Size(last);
  while (first > fixed && used + FGridLineWidth + axis.Size(first - 1) <= avail) {
    used += FGridLineWidth + axis.Size(first - 1);
    --first;
  }
  return first;
}

int TCustomGrid::MaxTopRow() const {
  return FirstForLast(FRows, FFixedRows, FRows.Count - 1, RowAreaHeight());
}

int TCustomGrid::MaxLeftCol() const {
  return FirstForLast(FCols, FFixedCols, FCols.Count - 1, ClientWidth() - FixedWidth());
}

int TCustomGrid::LastVisibleRow() const {
  return std::max(FTopLeft.Y, FTopLeft.Y + VisibleRowCount() - 1);
}

int TCustomGrid::LastVisibleCol() const {
  return std::max(FTopLeft.X, FTopLeft.X + VisibleColCount() - 1);
}

TRect TCustomGrid::CellRect(int ACol, int ARow) const {
  if (ACol < 0 || ARow < 0 || ACol >= FCols.Count || ARow >= FRows.Count) return TRect{};
  if ((ACol >= FFixedCols && ACol < FTopLeft.X) || (ARow >= FFixedRows && ARow < FTopLeft.Y)) return TRect{};
  const int64_t x = ACol < FFixedCols ? FCols.Extent(0, ACol, FGridLineWidth)
                                      : FixedWidth() + FCols.Extent(FTopLeft.X, ACol, FGridLineWidth);
  const int64_t y = ARow < FFixedRows ? FRows.Extent(0, ARow, FGridLineWidth)
                                      : FixedHeight() + FRows.Extent(FTopLeft.Y, ARow, FGridLineWidth);
  const TRect client = ClientRect();
  if (x >= client.Right || y >= client.Bottom) return TRect{};
  TRect r = Rect(static_cast<int>(x), static_cast<int>(y), static_cast<int>(x + FCols.Size(ACol)),
                 static_cast<int>(y + FRows.Size(ARow)));
  r.Right = std::min(r.Right, client.Right);
  r.Bottom = std::min(r.Bottom, client.Bottom);
  return r;
}

void TCustomGrid::MouseToCell(int X, int Y, int& ACol, int& ARow) const {
  const TGridCoord c = MouseCoord(X, Y);
  ACol = c.X;
  ARow = c.Y;
}

TGridCoord TCustomGrid::MouseCoord(int X, int Y) const {
  TGridCoord r{-1, -1};
  const TRect client = ClientRect();
  if (X < 0 || Y < 0 || X >= client.Right || Y >= client.Bottom) return r;
  auto find = [&](const TGridAxis& axis, int fixed, int first, int fixedExtent, int p) {
    int i = p < fixedExtent ? axis.LineAt(0, p, FGridLineWidth) : axis.LineAt(first, p - fixedExtent, FGridLineWidth);
    if (p < fixedExtent && i >= fixed) i = fixed - 1;
    return i >= axis.Count ? -1 : i;
  };
  r.X = find(FCols, FFixedCols, FTopLeft.X, FixedWidth(), X);
  r.Y = find(FRows, FFixedRows, FTopLeft.Y, FixedHeight(), Y);
  if (r.X < 0 || r.Y < 0) r = {-1, -1};
  return r;
}

// ---- counts and sizes

void TCustomGrid::SetColCount(int v) {
  v = std::max(v, 1);
  if (v == FCols.Count) return;
  const int oldCols = FCols.Count;
  FCols.Count = v;
  FCols.Trim();
  if (FFixedCols >= v) FFixedCols = v - 1;
  ClampCurrent();
  SizeChanged(oldCols, FRows.Count);
  UpdateScrollRange();
  Invalidate();
}

void TCustomGrid::SetRowCount(int v) {
  v = std::max(v, 1);
  if (v == FRows.Count) return;
  const int oldRows = FRows.Count;
  FRows.Count = v;
  FRows.Trim();
  if (FFixedRows >= v) FFixedRows = v - 1;
  ClampCurrent();
  SizeChanged(FCols.Count, oldRows);
  UpdateScrollRange();
  Invalidate();
}

void TCustomGrid::SetFixedCols(int v) {
  if (v < 0 || v >= FCols.Count) throw EInvalidOperation("Fixed column count must be less than column count");
  FFixedCols = v;
  ClampCurrent();
  UpdateScrollRange();
  Invalidate();
}

void TCustomGrid::SetFixedRows(int v) {
  if (v < 0 || v >= FRows.Count) throw EInvalidOperation("Fixed row count must be less than row count");
  FFixedRows = v;
  ClampCurrent();
  UpdateScrollRange();
  Invalidate();
}

void TCustomGrid::ClampCurrent() {
  auto clampTo = [](int v, int lo, int hi) { return std::clamp(v, lo, std::max(lo, hi)); };
  FCurrent.X = clampTo(FCurrent.X, FFixedCols, FCols.Count - 1);
  FCurrent.Y = clampTo(FCurrent.Y, FFixedRows, FRows.Count - 1);
  FAnchor.X = clampTo(FAnchor.X, FFixedCols, FCols.Count - 1);
  FAnchor.Y = clampTo(FAnchor.Y, FFixedRows, FRows.Count - 1);
  const TGridCoord old = FTopLeft;
  FTopLeft.X = clampTo(FTopLeft.X, FFixedCols, MaxLeftCol());
  FTopLeft.Y = clampTo(FTopLeft.Y, FFixedRows, MaxTopRow());
  if (!(old == FTopLeft)) TopLeftChanged();
}

void TCustomGrid::SetDefaultColWidth(int v) {
  FCols.SetDefault(std::max(v, 0));
  ClampCurrent();
  UpdateScrollRange();
  Invalidate();
}

void TCustomGrid::SetDefaultRowHeight(int v) {
  FRows.SetDefault(std::max(v, 0));
  ClampCurrent();
  UpdateScrollRange();
  Invalidate();
}

void TCustomGrid::SetColWidths(int i, int v) {
  if (i < 0 || i >= FCols.Count) throw EInvalidOperation("Grid index out of range");
  if (FCols.Size(i) == v) return;
  FCols.SetSize(i, std::max(v, 0));
  ClampCurrent();
  UpdateScrollRange();
  Invalidate();
  ColWidthsChanged();
}

void TCustomGrid::SetRowHeights(int i, int v) {
  if (i < 0 || i >= FRows.Count) throw EInvalidOperation("Grid index out of range");
  if (FRows.Size(i) == v) return;
  FRows.SetSize(i, std::max(v, 0));
  ClampCurrent();
  UpdateScrollRange();
  Invalidate();
  RowHeightsChanged();
}

void TCustomGrid::SetGridLineWidth(int v) {
  v = std::max(v, 0);
  if (v == FGridLineWidth) return;
  FGridLineWidth = v;
  ClampCurrent();
  UpdateScrollRange();
  Invalidate();
}

void TCustomGrid::SetOptions(TGridOptions v) {
  if (v == FOptions) return;
  FOptions = v;
  if (FOptions.Contains(goRowSelect)) FAnchor.X = FCurrent.X;
  Invalidate();
}

void TCustomGrid::SetScrollBars(TScrollStyle v) {
  if (v == FScrollBars) return;
  FScrollBars = v;
  UpdateScrollRange();
  Invalidate();
}

void TCustomGrid::SetFixedColor(TColor v) {
  if (v == FFixedColor) return;
  FFixedColor = v;
  Invalidate();
}

void TCustomGrid::SetDefaultDrawing(bool v) {
  if (v == FDefaultDrawing) return;
  FDefaultDrawing = v;
  Invalidate();
}

// ---- current cell, selection, scrolling

bool TCustomGrid::IsSelected(int ACol, int ARow) const {
  const TGridRect s = Selection();
  return ACol >= s.Left && ACol <= s.Right && ARow >= s.Top && ARow <= s.Bottom;
}

TGridRect TCustomGrid::Selection() const {
  TGridRect r;
  r.Top = std::min(FAnchor.Y, FCurrent.Y);
  r.Bottom = std::max(FAnchor.Y, FCurrent.Y);
  if (FOptions.Contains(goRowSelect)) {
    r.Left = FFixedCols;
    r.Right = FCols.Count - 1;
  } else {
    r.Left = std::min(FAnchor.X, FCurrent.X);
    r.Right = std::max(FAnchor.X, FCurrent.X);
  }
  return r;
}

void TCustomGrid::SetSelection(TGridRect v) {
  FAnchor = {v.Left, v.Top};
  FCurrent = {v.Right, v.Bottom};
  ClampCurrent();
  ScrollIntoView(FCurrent.X, FCurrent.Y);
  Invalidate();
}

void TCustomGrid::SetCol(int v) {
  if (v != FCurrent.X) FocusCell(v, FCurrent.Y, true);
}

void TCustomGrid::SetRow(int v) {
  if (v != FCurrent.Y) FocusCell(FCurrent.X, v, true);
}

bool TCustomGrid::FocusCell(int ACol, int ARow, bool MoveAnchor) {
  ACol = std::clamp(ACol, FFixedCols, std::max(FFixedCols, FCols.Count - 1));
  ARow = std::clamp(ARow, FFixedRows, std::max(FFixedRows, FRows.Count - 1));
  const bool moves = !(ACol == FCurrent.X && ARow == FCurrent.Y);
  // The cell keeps what was typed before anything asks about the move.
  if (moves && EditorShown()) UpdateText();
  if (moves && !SelectCell(ACol, ARow)) return false;
  FCurrent = {ACol, ARow};
  if (MoveAnchor || !FOptions.Contains(goRangeSelect)) FAnchor = FCurrent;
  if (FOptions.Contains(goRowSelect)) FAnchor.X = FCurrent.X;
  ScrollIntoView(ACol, ARow);
  Invalidate();
  if (moves && FEditorMode) {
    if (FOptions.Contains(goAlwaysShowEditor)) {
      FInplaceCell = {-1, -1};
      UpdateEdit();
    } else HideEditor();
  }
  return true;
}

void TCustomGrid::ScrollIntoView(int ACol, int ARow) {
  int top = FTopLeft.Y, left = FTopLeft.X;
  if (ARow < top) top = ARow;
  else if (ARow > LastVisibleRow()) top = FirstForLast(FRows, FFixedRows, ARow, RowAreaHeight());
  if (!FOptions.Contains(goRowSelect)) {
    if (ACol < left) left = ACol;
    else if (ACol > LastVisibleCol()) left = FirstForLast(FCols, FFixedCols, ACol, ClientWidth() - FixedWidth());
  }
  MoveTopLeft(left, top);
}


void TCustomGrid::MoveTopLeft(int ALeft, int ATop) {
  ALeft = std::clamp(ALeft, FFixedCols, std::max(FFixedCols, MaxLeftCol()));
  ATop = std::clamp(ATop, FFixedRows, std::max(FFixedRows, MaxTopRow()));
  if (ALeft == FTopLeft.X && ATop == FTopLeft.Y) {
    SyncBarsToWidget();
    return;
  }
  FTopLeft = {ALeft, ATop};
  UpdateScrollRange();
  Invalidate();
  TopLeftChanged();
}

void TCustomGrid::SetTopRow(int v) { MoveTopLeft(FTopLeft.X, v); }
void TCustomGrid::SetLeftCol(int v) { MoveTopLeft(v, FTopLeft.Y); }

int TCustomGrid::MapToBar(int value, int first, int last) const {
  if (last <= first) return 0;
  return static_cast<int>(static_cast<int64_t>(value - first) * kBarMax / (last - first));
}

int TCustomGrid::MapFromBar(int pos, int first, int last) const {
  pos = std::clamp(pos, 0, kBarMax);
  if (last <= first) return first;
  return first + static_cast<int>(static_cast<int64_t>(pos) * (last - first) / kBarMax);
}

int TCustomGrid::ScrollPos(int Bar) const {
  return Bar == SB_VERT ? MapToBar(FTopLeft.Y, FFixedRows, MaxTopRow())
                        : MapToBar(FTopLeft.X, FFixedCols, MaxLeftCol());
}

bool TCustomGrid::ScrollBarVisible(int Bar) const { return Bar == SB_VERT ? FVertBar : FHorzBar; }

void TCustomGrid::ScrollRequest(int Bar, int Code, int Pos) {
  const bool vert = Bar == SB_VERT;
  const int first = vert ? FFixedRows : FFixedCols;
  const int last = vert ? MaxTopRow() : MaxLeftCol();
  const int cur = vert ? FTopLeft.Y : FTopLeft.X;
  const int page = std::max(1, vert ? VisibleRowCount() : VisibleColCount());
  int next = cur;
  switch (Code) {
    case SB_LINEUP: next = cur - 1; break;
    case SB_LINEDOWN: next = cur + 1; break;
    case SB_PAGEUP: next = cur - page; break;
    case SB_PAGEDOWN: next = cur + page; break;
    case SB_THUMBPOSITION: next = MapFromBar(Pos, first, last); break;
    case SB_THUMBTRACK:
      if (FOptions.Contains(goThumbTracking)) next = MapFromBar(Pos, first, last);
      break;
    case SB_TOP: next = first; break;
    case SB_BOTTOM: next = last; break;
    default: break;
  }
  if (vert) MoveTopLeft(FTopLeft.X, next);
  else MoveTopLeft(next, FTopLeft.Y);
}

void TCustomGrid::WMVScroll(TMessage& M) { ScrollRequest(SB_VERT, M.WParamLo(), static_cast<int16_t>(M.WParamHi())); }
void TCustomGrid::WMHScroll(TMessage& M) { ScrollRequest(SB_HORZ, M.WParamLo(), static_cast<int16_t>(M.WParamHi())); }

void TCustomGrid::WMGetDlgCode(TMessage& M) {
  M.Result = DLGC_WANTARROWS | (FOptions.Contains(goTabs) ? DLGC_WANTTAB : 0);
}

void TCustomGrid::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_VSCROLL: WMVScroll(Message); return;
    case WM_HSCROLL: WMHScroll(Message); return;
    case WM_TIMER: WMTimer(Message); return;
    default: TCustomControl::Dispatch(Message);
  }
}

// ---- keys, mouse, wheel

void TCustomGrid::HandleArrowWithCtrl(uint16_t Key) {
  switch (Key) {
    case VK_UP: MoveTopLeft(FTopLeft.X, FTopLeft.Y - 1); break;
    case VK_DOWN: MoveTopLeft(FTopLeft.X, FTopLeft.Y + 1); break;
    case VK_LEFT: MoveTopLeft(FTopLeft.X - 1, FTopLeft.Y); break;
    case VK_RIGHT: MoveTopLeft(FTopLeft.X + 1, FTopLeft.Y); break;
    default: break;
  }
}

void TCustomGrid::KeyDown(uint16_t& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  if (Key == 0) return;
  if (Key == VK_F2 && FOptions.Contains(goEditing)) {
    ShowEditor();
    return;
  }
  if (Key == VK_ESCAPE) {
    if (EditorShown()) {
      FInplaceEdit->UpdateContents();
      HideEditor();
    }
    return;
  }
  const bool ctrl = Shift.Contains(ssCtrl);
  const bool rowSel = FOptions.Contains(goRowSelect);
  int c = FCurrent.X, r = FCurrent.Y;
  const int page = std::max(1, VisibleRowCount());
  switch (Key) {
    case VK_UP:
    case VK_DOWN:
    case VK_LEFT:
    case VK_RIGHT:
      if (ctrl) {
        HandleArrowWithCtrl(Key);
        return;
      }
      if (Key == VK_UP) --r;
      else if (Key == VK_DOWN) ++r;
      else if (rowSel) {
        MoveTopLeft(FTopLeft.X + (Key == VK_LEFT ? -1 : 1), FTopLeft.Y);
        return;
      } else c += Key == VK_LEFT ? -1 : 1;
      break;
    case VK_PRIOR:
    case VK_NEXT:
      if (ctrl) {
        r = Key == VK_PRIOR ? FTopLeft.Y : LastVisibleRow();
      } else {
        const int d = Key == VK_PRIOR ? -page : page;
        r += d;
        MoveTopLeft(FTopLeft.X, FTopLeft.Y + d);
      }
      break;
    case VK_HOME:
      if (ctrl || rowSel) r = FFixedRows;
      if (ctrl || !rowSel) c = FFixedCols;
      break;
    case VK_END:
      if (ctrl || rowSel) r = FRows.Count - 1;
      if (ctrl || !rowSel) c = FCols.Count - 1;
      break;
    case VK_TAB:
      if (!FOptions.Contains(goTabs) || ctrl) return;
      if (Shift.Contains(ssShift)) {
        if (--c < FFixedCols) {
          if (r <= FFixedRows) return;
          c = FCols.Count - 1;
          --r;
        }
      } else if (++c >= FCols.Count) {
        if (r >= FRows.Count - 1) return;
        c = FFixedCols;
        ++r;
      }
      FocusCell(c, r, true);
      return;
    default: return;
  }
  const bool extend = Shift.Contains(ssShift) && FOptions.Contains(goRangeSelect);
  FocusCell(c, r, !extend);
}

void TCustomGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  FClickOnCurrent = false;
  if (Button == mbLeft) {
    if (CanFocus() && HandleAllocated() && !Focused()) SetFocus();
    const TGridCoord cell = MouseCoord(X, Y);
    const bool inFixedRow = Y >= 0 && Y < FixedHeight(), inFixedCol = X >= 0 && X < FixedWidth();
    int line = -1;
    if (inFixedRow && FOptions.Contains(goColSizing) && (line = SizingLineAt(true, X)) >= 0) {
      if (EditorShown()) HideEditor();
      FGridState = gsColSizing;
      FSizingIndex = line;
      FSizingStart = CellRect(line, 0).Left;
      // The line starts on the border itself and keeps the offset at which it
      // was grabbed: a press that does not move leaves the width.
      FSizingPos = FSizingStart + FCols.Size(line);
      FSizingGrab = FSizingPos - X;
      Invalidate();
    } else if (inFixedCol && FOptions.Contains(goRowSizing) && (line = SizingLineAt(false, Y)) >= 0) {
      if (EditorShown()) HideEditor();
      FGridState = gsRowSizing;
      FSizingIndex = line;
      FSizingStart = CellRect(0, line).Top;
      FSizingPos = FSizingStart + FRows.Size(line);
      FSizingGrab = FSizingPos - Y;
      Invalidate();
    } else if (cell.Y >= 0 && cell.Y < FFixedRows && cell.X >= FFixedCols && FOptions.Contains(goColMoving)) {
      if (EditorShown()) HideEditor();
      FGridState = gsColMoving;
      FMoveIndex = FMoveTarget = cell.X;
      FMoveMouse = {X, Y};
      Invalidate();
    } else if (cell.X >= 0 && cell.X < FFixedCols && cell.Y >= FFixedRows && FOptions.Contains(goRowMoving)) {
      if (EditorShown()) HideEditor();
      FGridState = gsRowMoving;
      FMoveIndex = FMoveTarget = cell.Y;
      FMoveMouse = {X, Y};
      Invalidate();
    } else if (cell.X >= FFixedCols && cell.Y >= FFixedRows) {
      FClickOnCurrent = cell == FCurrent && FOptions.Contains(goEditing) && !Shift.Contains(ssShift);
      const bool extend = Shift.Contains(ssShift) && FOptions.Contains(goRangeSelect);
      FocusCell(cell.X, cell.Y, !extend);
      FGridState = gsSelecting;
    }
  }
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomGrid::MouseMove(TShiftState Shift, int X, int Y) {
  if (FGridState == gsColSizing || FGridState == gsRowSizing) {
    FSizingPos = std::max(FSizingStart, (FGridState == gsColSizing ? X : Y) + FSizingGrab);
    Invalidate();
  } else if (FGridState == gsColMoving || FGridState == gsRowMoving) {
    FMoveMouse = {X, Y};
    const TRect client = ClientRect();
    const bool cols = FGridState == gsColMoving;
    const int p = cols ? X : Y, end = cols ? client.Right : client.Bottom;
    const int fixedEnd = cols ? FixedWidth() : FixedHeight();
    // Beyond the scrolling lines the timer scrolls towards the mouse.
    const bool outside = p < fixedEnd || p >= end;
    if (outside && !FMoveTimer && HandleAllocated()) FMoveTimer = SetTimer(Handle(), kMoveTimerId, 60);
    else if (!outside && FMoveTimer) {
      KillTimer(Handle(), kMoveTimerId);
      FMoveTimer = false;
    }
    if (!outside) {
      const TGridCoord c = MouseCoord(cols ? X : FixedWidth(), cols ? FixedHeight() : Y);
      const int t = cols ? c.X : c.Y;
      if (t >= (cols ? FFixedCols : FFixedRows)) FMoveTarget = t;
    }
    Invalidate();
  } else if (FGridState == gsSelecting) {
    const TGridCoord cell = MouseCoord(X, Y);
    if (cell.X >= FFixedCols && cell.Y >= FFixedRows && !(cell == FCurrent))
      FocusCell(cell.X, cell.Y, !FOptions.Contains(goRangeSelect));
  }
  TCustomControl::MouseMove(Shift, X, Y);
}

void TCustomGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    const TGridState state = FGridState;
    FGridState = gsNormal;
    if (FMoveTimer) {
      KillTimer(Handle(), kMoveTimerId);
      FMoveTimer = false;
    }
    if (state == gsColSizing || state == gsRowSizing) {
      const int size = std::max(0, FSizingPos - FSizingStart);
      const int index = FSizingIndex;
      FSizingIndex = FSizingPos = -1;
      // The sizing is reported once, also when it ends at the old size.
      if (state == gsColSizing) {
        if (FCols.Size(index) == size) ColWidthsChanged();
        else SetColWidths(index, size);
      } else {
        if (FRows.Size(index) == size) RowHeightsChanged();
        else SetRowHeights(index, size);
      }
      Invalidate();
    } else if (state == gsColMoving || state == gsRowMoving) {
      const int from = FMoveIndex, to = FMoveTarget;
      FMoveIndex = FMoveTarget = -1;
      if (from >= 0 && to >= 0 && from != to) {
        if (state == gsColMoving) MoveColumn(from, to);
        else MoveRow(from, to);
      }
      Invalidate();
    } else if (FClickOnCurrent) {
      FClickOnCurrent = false;
      if (MouseCoord(X, Y) == FCurrent) ShowEditor();
    }
  }
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

int TCustomGrid::SizingLineAt(bool Cols, int P) const {
  const TGridAxis& axis = Cols ? FCols : FRows;
  const int fixed = Cols ? FFixedCols : FFixedRows;
  const int first = Cols ? FTopLeft.X : FTopLeft.Y;
  const int limit = Cols ? ClientWidth() : ClientHeight();
  int pos = 0;
  auto test = [&](int i) {
    pos += axis.Size(i);
    const bool hit = std::abs(P - pos) <= 3 || (P >= pos && P < pos + FGridLineWidth);
    pos += FGridLineWidth;
    return hit;
  };
  for (int i = 0; i < fixed && pos < limit; ++i)
    if (test(i)) return i;
  for (int i = first; i < axis.Count && pos < limit; ++i)
    if (test(i)) return i;
  return -1;
}

void TCustomGrid::WMTimer(TMessage& M) {
  if (M.WParam == kMoveTimerId) MoveTimerTick();
}

void TCustomGrid::MoveTimerTick() {
  if (FGridState != gsColMoving && FGridState != gsRowMoving) {
    if (HandleAllocated()) KillTimer(Handle(), kMoveTimerId);
    FMoveTimer = false;
    return;
  }
  const TRect client = ClientRect();
  if (FGridState == gsColMoving) {
    if (FMoveMouse.X < FixedWidth()) {
      MoveTopLeft(FTopLeft.X - 1, FTopLeft.Y);
      FMoveTarget = FTopLeft.X;
    } else if (FMoveMouse.X >= client.Right) {
      MoveTopLeft(FTopLeft.X + 1, FTopLeft.Y);
      FMoveTarget = LastVisibleCol();
    }
  } else {
    if (FMoveMouse.Y < FixedHeight()) {
      MoveTopLeft(FTopLeft.X, FTopLeft.Y - 1);
      FMoveTarget = FTopLeft.Y;
    } else if (FMoveMouse.Y >= client.Bottom) {
      MoveTopLeft(FTopLeft.X, FTopLeft.Y + 1);
      FMoveTarget = LastVisibleRow();
    }
  }
  Invalidate();
}

int TCustomGrid::FollowMove(int Index, int FromIndex, int ToIndex) {
  if (Index == FromIndex) return ToIndex;
  if (FromIndex < ToIndex && Index > FromIndex && Index <= ToIndex) return Index - 1;
  if (FromIndex > ToIndex && Index >= ToIndex && Index < FromIndex) return Index + 1;
  return Index;
}

void TCustomGrid::MoveColumn(int FromIndex, int ToIndex) {
  if (FromIndex < 0 || ToIndex < 0 || FromIndex >= FCols.Count || ToIndex >= FCols.Count)
    throw EInvalidOperation("Grid index out of range");
  if (FromIndex == ToIndex) return;
  if (EditorShown()) HideEditor();
  // Sizes travel with their lines.
  std::vector<int> sizes(static_cast<size_t>(FCols.Count));
  for (int i = 0; i < FCols.Count; ++i) sizes[static_cast<size_t>(i)] = FCols.Size(i);
  const int moved = sizes[static_cast<size_t>(FromIndex)];
  sizes.erase(sizes.begin() + FromIndex);
  sizes.insert(sizes.begin() + ToIndex, moved);
  FCols.Changed.clear();
  for (int i = 0; i < FCols.Count; ++i) FCols.SetSize(i, sizes[static_cast<size_t>(i)]);
  ColumnMoved(FromIndex, ToIndex);
  // The current cell and the anchor stay with their columns.
  FCurrent.X = FollowMove(FCurrent.X, FromIndex, ToIndex);
  FAnchor.X = FollowMove(FAnchor.X, FromIndex, ToIndex);
  ClampCurrent();
  UpdateScrollRange();
  Invalidate();
}

void TCustomGrid::MoveRow(int FromIndex, int ToIndex) {
  if (FromIndex < 0 || ToIndex < 0 || FromIndex >= FRows.Count || ToIndex >= FRows.Count)
    throw EInvalidOperation("Grid index out of range");
  if (FromIndex == ToIndex) return;
  if (EditorShown()) HideEditor();
  const int moved = FRows.Size(FromIndex);
  // Only the changed sizes between the two lines shift by one.
  std::map<int, int> changed;
  const int lo = std::min(FromIndex, ToIndex), hi = std::max(FromIndex, ToIndex);
  for (const auto& [i, v] : FRows.Changed) {
    if (i < lo || i > hi) changed[i] = v;
    else if (i == FromIndex) continue;
    else changed[FromIndex < ToIndex ? i - 1 : i + 1] = v;
  }
  FRows.Changed = std::move(changed);
  FRows.SetSize(ToIndex, moved);
  RowMoved(FromIndex, ToIndex);
  FCurrent.Y = FollowMove(FCurrent.Y, FromIndex, ToIndex);
  FAnchor.Y = FollowMove(FAnchor.Y, FromIndex, ToIndex);
  ClampCurrent();
  UpdateScrollRange();
  Invalidate();
}

void TCustomGrid::ColumnMoved(int, int) {}
void TCustomGrid::RowMoved(int, int) {}

// ---- editing in place

TInplaceEdit* TCustomGrid::CreateEditor() { return new TInplaceEdit(this); }

bool TCustomGrid::CanEditShow() {
  return FOptions.Contains(goEditing) && !FOptions.Contains(goRowSelect) &&
         !ComponentState().Contains(csDesigning);
}

bool TCustomGrid::EditorShown() const { return FEditorMode && FInplaceEdit && FInplaceEdit->Visible(); }

void TCustomGrid::SetEditorMode(bool v) {
  if (v) ShowEditor();
  else HideEditor();
}

void TCustomGrid::ShowEditor() {
  FEditorMode = true;
  UpdateEdit();
}

void TCustomGrid::UpdateEdit() {
  if (!FEditorMode) return;
  if (!CanEditShow()) {
    // A descendant may have shown an editor of its own instead.
    FEditorMode = false;
    return;
  }
  if (!FInplaceEdit) FInplaceEdit = CreateEditor();
  const bool refill = !FInplaceEdit->Visible() || !(FInplaceCell == FCurrent);
  if (refill) {
    FInplaceCell = FCurrent;
    FInplaceEdit->UpdateContents();
  }
  ScrollIntoView(FCurrent.X, FCurrent.Y);
  TRect r = CellRect(FCurrent.X, FCurrent.Y);
  if (r.IsEmpty()) return;
  FInplaceEdit->Move(r);
  if (Focused() || HandleAllocated()) FInplaceEdit->SetFocus();
}

void TCustomGrid::ShowEditorChar(char Ch) {
  ShowEditor();
  if (EditorShown()) FInplaceEdit->Perform(WM_CHAR, static_cast<unsigned char>(Ch), 0);
}

void TCustomGrid::UpdateText() {
  if (!FInplaceEdit || !FInplaceEdit->Visible() || FInplaceCell.X < 0) return;
  SetEditText(FInplaceCell.X, FInplaceCell.Y, FInplaceEdit->Text());
}

void TCustomGrid::HideEditor() {
  FEditorMode = false;
  if (!FInplaceEdit || !FInplaceEdit->Visible()) return;
  const bool hadFocus = FInplaceEdit->Focused();
  UpdateText();
  FInplaceCell = {-1, -1};
  // The focus goes straight back to the grid: hidden first, the editor
  // would hand it to the window on the way.
  if (hadFocus && CanFocus()) SetFocus();
  FInplaceEdit->Hide();
}

void TCustomGrid::InvalidateEditor() {
  FInplaceCell = {-1, -1};
  if (EditorShown()) UpdateEdit();
}

std::string TCustomGrid::GetEditText(int, int) { return ""; }
void TCustomGrid::SetEditText(int, int, const std::string&) {}
std::string TCustomGrid::GetEditMask(int, int) { return ""; }
int TCustomGrid::GetEditLimit() { return 0; }

void TCustomGrid::WMChar(TMessage& M) {
  const unsigned code = static_cast<unsigned>(M.WParam);
  if (FOptions.Contains(goEditing) && (code == 8 || (code >= 32 && code <= 255) || code > 255)) {
    if (code > 255) {
      ShowEditor();
      if (EditorShown()) FInplaceEdit->Perform(WM_CHAR, code, 0);
    } else ShowEditorChar(static_cast<char>(code));
    return;
  }
  TCustomControl::WMChar(M);
}

void TCustomGrid::KeyPress(char& Key) {
  TCustomControl::KeyPress(Key);
  if (Key == '\r' && FOptions.Contains(goEditing) && !FOptions.Contains(goAlwaysShowEditor)) {
    if (EditorShown()) HideEditor();
    else ShowEditor();
    Key = 0;
  }
}

bool TCustomGrid::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  if (TCustomControl::DoMouseWheelDown(Shift, MousePos)) return true;
  if (FCurrent.Y < FRows.Count - 1) FocusCell(FCurrent.X, FCurrent.Y + 1, true);
  return true;
}

bool TCustomGrid::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  if (TCustomControl::DoMouseWheelUp(Shift, MousePos)) return true;
  if (FCurrent.Y > FFixedRows) FocusCell(FCurrent.X, FCurrent.Y - 1, true);
  return true;
}

// ---- painting

void TCustomGrid::InvalidateCell(int, int) { Invalidate(); }
void TCustomGrid::InvalidateRow(int) { Invalidate(); }
void TCustomGrid::InvalidateCol(int) { Invalidate(); }

bool TCustomGrid::SelectCell(int, int) { return true; }
void TCustomGrid::TopLeftChanged() {
  // The editor goes with its cell as the grid scrolls; once the cell leaves
  // the view the edit ends (the text stored), so no editor is left showing
  // over other cells.
  if (!FEditorMode || !FInplaceEdit || !FInplaceEdit->Visible() || !(FInplaceCell == FCurrent)) return;
  const TRect r = CellRect(FCurrent.X, FCurrent.Y);
  if (r.IsEmpty()) HideEditor();
  else FInplaceEdit->Move(r);
}
void TCustomGrid::SizeChanged(int, int) {}
void TCustomGrid::DrawCell(int, int, TRect, TGridDrawState) {}

void TCustomGrid::Paint() {
  TCanvas* canvas = Canvas();
  const TRect client = ClientRect();
  struct TLine {
    int Index, Start, Size;
  };
  // The lines shown along one axis: the fixed ones, then the scrolling ones
  // from the first shown until the view is full.
  auto lines = [&](const TGridAxis& axis, int fixed, int first, int limit) {
    std::vector<TLine> out;
    int pos = 0;
    for (int i = 0; i < fixed && pos < limit; ++i) {
      out.push_back({i, pos, axis.Size(i)});
      pos += axis.Size(i) + FGridLineWidth;
    }
    for (int i = first; i < axis.Count && pos < limit; ++i) {
      out.push_back({i, pos, axis.Size(i)});
      pos += axis.Size(i) + FGridLineWidth;
    }
    return out;
  };
  const std::vector<TLine> cols = lines(FCols, FFixedCols, FTopLeft.X, client.Right);
  const std::vector<TLine> rows = lines(FRows, FFixedRows, FTopLeft.Y, client.Bottom);
  const bool focused = Focused();
  int maxX = 0, maxY = 0;
  for (const TLine& row : rows) {
    for (const TLine& col : cols) {
      const TRect r = Rect(col.Start, row.Start, col.Start + col.Size, row.Start + row.Size);
      TGridDrawState state;
      const bool fixed = IsFixed(col.Index, row.Index);
      if (fixed) state.Include(gdFixed);
      else {
        const bool current = col.Index == FCurrent.X && row.Index == FCurrent.Y;
        if (current) state.Include(gdFocused);
        if (IsSelected(col.Index, row.Index) &&
            (!current || FOptions.Contains(goDrawFocusSelected) || FOptions.Contains(goRowSelect)))
          state.Include(gdSelected);
      }
      if (FDefaultDrawing) {
        canvas->SetFont(FFont.get());
        canvas->Brush()->SetStyle(bsSolid);
        if (state.Contains(gdFixed)) canvas->Brush()->SetColor(FFixedColor);
        else if (state.Contains(gdSelected)) {
          canvas->Brush()->SetColor(clHighlight);
          canvas->Font()->SetColor(clHighlightText);
        } else canvas->Brush()->SetColor(FColor);
        canvas->FillRect(r);
      }
      DrawCell(col.Index, row.Index, r, state);
      if (FDefaultDrawing && state.Contains(gdFocused) && focused && !FOptions.Contains(goRowSelect))
        canvas->DrawFocusRect(r);
      if (FGridLineWidth > 0) {
        const bool vline = fixed ? FOptions.Contains(goFixedVertLine) : FOptions.Contains(goVertLine);
        const bool hline = fixed ? FOptions.Contains(goFixedHorzLine) : FOptions.Contains(goHorzLine);
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(fixed ? clBlack : clSilver);
        if (vline) canvas->FillRect(Rect(r.Right, r.Top, r.Right + FGridLineWidth, r.Bottom + FGridLineWidth));
        if (hline) canvas->FillRect(Rect(r.Left, r.Bottom, r.Right + FGridLineWidth, r.Bottom + FGridLineWidth));
      }
      maxX = std::max(maxX, r.Right + FGridLineWidth);
    }
    maxY = std::max(maxY, row.Start + row.Size + FGridLineWidth);
  }
  // The area past the last column and row.
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(FColor);
  if (maxX < client.Right) canvas->FillRect(Rect(maxX, 0, client.Right, client.Bottom));
  if (maxY < client.Bottom) canvas->FillRect(Rect(0, maxY, std::min(maxX, client.Right), client.Bottom));
  // Sizing line and move target, drawn over the cells.
  if (FGridState != gsNormal && FGridState != gsSelecting) PaintLineFeedback();
}

void TCustomGrid::PaintLineFeedback() {
  TCanvas* canvas = Canvas();
  const TRect client = ClientRect();
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(clBlack);
  if (FGridState == gsColSizing && FSizingPos >= 0)
    canvas->FillRect(Rect(FSizingPos - 1, 0, FSizingPos + 1, client.Bottom));
  else if (FGridState == gsRowSizing && FSizingPos >= 0)
    canvas->FillRect(Rect(0, FSizingPos - 1, client.Right, FSizingPos + 1));
  else if ((FGridState == gsColMoving || FGridState == gsRowMoving) && FMoveTarget >= 0) {
    const bool cols = FGridState == gsColMoving;
    const TRect t = cols ? CellRect(FMoveTarget, 0) : CellRect(0, FMoveTarget);
    if (!t.IsEmpty()) {
      if (cols) {
        const int x = FMoveTarget > FMoveIndex ? t.Right : t.Left;
        canvas->FillRect(Rect(x - 1, 0, x + 1, client.Bottom));
      } else {
        const int y = FMoveTarget > FMoveIndex ? t.Bottom : t.Top;
        canvas->FillRect(Rect(0, y - 1, client.Right, y + 1));
      }
    }
  }
}

// ---------------------------------------------------------------------------
// TDrawGrid

ZV_CLASS_IMPL_NOPROPS(TDrawGrid, TCustomGrid)

void TDrawGrid::DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState) {
  if (OnDrawCell) OnDrawCell(this, ACol, ARow, ARect, AState);
}

bool TDrawGrid::SelectCell(int ACol, int ARow) {
  bool can = true;
  if (OnSelectCell) OnSelectCell(this, ACol, ARow, can);
  return can;
}

void TDrawGrid::TopLeftChanged() {
  TCustomGrid::TopLeftChanged();
  if (OnTopLeftChanged) OnTopLeftChanged(this);
}

// ---------------------------------------------------------------------------
// TStringGrid

ZV_CLASS_IMPL_NOPROPS(TStringGrid, TDrawGrid)

TStringGrid::TStringGrid(TComponent* AOwner) : TDrawGrid(AOwner) { FCells.resize(FRows.Count); }

TStringGrid::~TStringGrid() = default;

const TStringGrid::TCell* TStringGrid::CellAt(int ACol, int ARow) const {
  if (ARow < 0 || ARow >= static_cast<int>(FCells.size()) || ACol < 0) return nullptr;
  const TRowCells* row = FCells[ARow].get();
  if (!row || ACol >= static_cast<int>(row->size())) return nullptr;
  return &(*row)[ACol];
}

TStringGrid::TCell* TStringGrid::CellAt(int ACol, int ARow, bool Create) {
  if (ARow < 0 || ARow >= FRows.Count || ACol < 0 || ACol >= FCols.Count) {
    if (Create) throw EInvalidOperation("Grid index out of range");
    return nullptr;
  }
  if (ARow >= static_cast<int>(FCells.size())) FCells.resize(FRows.Count);
  std::unique_ptr<TRowCells>& row = FCells[ARow];
  if (!row) {
    if (!Create) return nullptr;
    row = std::make_unique<TRowCells>();
  }
  if (ACol >= static_cast<int>(row->size())) {
    if (!Create) return nullptr;
    if (ACol == static_cast<int>(row->size())) row->emplace_back();  // a row filled left to right
    else row->resize(ACol + 1);
  }
  return &(*row)[ACol];
}

const std::string& TStringGrid::Cells(int ACol, int ARow) const {
  static const std::string empty;
  const TCell* c = CellAt(ACol, ARow);
  return c ? c->Text : empty;
}

void TStringGrid::SetCells(int ACol, int ARow, const std::string& Value) {
  if (Value.empty() && !CellAt(ACol, ARow)) return;
  TCell* c = CellAt(ACol, ARow, true);
  if (c->Text == Value) return;
  c->Text = Value;
  InvalidateCell(ACol, ARow);
}

void TStringGrid::SetCells(int ACol, int ARow, std::string&& Value) {
  if (Value.empty() && !CellAt(ACol, ARow)) return;
  TCell* c = CellAt(ACol, ARow, true);
  if (c->Text == Value) return;
  c->Text = std::move(Value);
  InvalidateCell(ACol, ARow);
}

void TStringGrid::ReserveRowCells(int ARow, int Count) {
  if (ARow < 0 || ARow >= FRows.Count || Count <= 0) return;
  if (ARow >= static_cast<int>(FCells.size())) FCells.resize(FRows.Count);
  std::unique_ptr<TRowCells>& row = FCells[ARow];
  if (!row) row = std::make_unique<TRowCells>();
  row->reserve(static_cast<size_t>(std::min(Count, FCols.Count)));
}

TObject* TStringGrid::Objects(int ACol, int ARow) const {
  const TCell* c = CellAt(ACol, ARow);
  return c ? c->Object : nullptr;
}

void TStringGrid::SetObjects(int ACol, int ARow, TObject* Value) {
  if (!Value && !CellAt(ACol, ARow)) return;
  CellAt(ACol, ARow, true)->Object = Value;
}

void TStringGrid::ExchangeRowCells(int Row1, int Row2) {
  if (Row1 == Row2 || Row1 < 0 || Row2 < 0 || Row1 >= FRows.Count || Row2 >= FRows.Count) return;
  if (static_cast<int>(FCells.size()) < FRows.Count) FCells.resize(FRows.Count);
  std::swap(FCells[Row1], FCells[Row2]);
  InvalidateRow(Row1);
  InvalidateRow(Row2);
}

void TStringGrid::ForEachObject(const std::function<void(int, int, TObject*)>& Fn) const {
  for (size_t r = 0; r < FCells.size(); ++r) {
    if (!FCells[r]) continue;
    const TRowCells& row = *FCells[r];
    for (size_t c = 0; c < row.size(); ++c)
      if (row[c].Object) Fn(static_cast<int>(c), static_cast<int>(r), row[c].Object);
  }
}

std::string TStringGrid::GetEditText(int ACol, int ARow) { return Cells(ACol, ARow); }

void TStringGrid::SetEditText(int ACol, int ARow, const std::string& Value) { SetCells(ACol, ARow, Value); }

void TStringGrid::ColumnMoved(int FromIndex, int ToIndex) {
  for (auto& row : FCells) {
    if (!row) continue;
    const size_t need = static_cast<size_t>(std::max(FromIndex, ToIndex)) + 1;
    if (row->size() < need) row->resize(need);
    TCell moved = std::move((*row)[static_cast<size_t>(FromIndex)]);
    row->erase(row->begin() + FromIndex);
    row->insert(row->begin() + ToIndex, std::move(moved));
  }
  TDrawGrid::ColumnMoved(FromIndex, ToIndex);
}

void TStringGrid::RowMoved(int FromIndex, int ToIndex) {
  if (static_cast<int>(FCells.size()) < FRows.Count) FCells.resize(FRows.Count);
  std::unique_ptr<TRowCells> moved = std::move(FCells[static_cast<size_t>(FromIndex)]);
  FCells.erase(FCells.begin() + FromIndex);
  FCells.insert(FCells.begin() + ToIndex, std::move(moved));
  TDrawGrid::RowMoved(FromIndex, ToIndex);
}

void TStringGrid::SizeChanged(int OldColCount, int OldRowCount) {
  TDrawGrid::SizeChanged(OldColCount, OldRowCount);
  FCells.resize(FRows.Count);
  if (FCols.Count < OldColCount)
    for (auto& row : FCells)
      if (row && static_cast<int>(row->size()) > FCols.Count) row->resize(FCols.Count);
}

void TStringGrid::DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState) {
  if (FDefaultDrawing) {
    const std::string& text = Cells(ACol, ARow);
    if (!text.empty()) Canvas()->TextRect(ARect, ARect.Left + 2, ARect.Top + 2, text);
  }
  TDrawGrid::DrawCell(ACol, ARow, ARect, AState);
}
