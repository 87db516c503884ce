#include <QApplication>
#include <QPainter>
#include <QWheelEvent>

#include "platform/ui/qt_viewarea.h"

TViewArea::TViewArea(TWinControl* control) : FControl(control), FBar(new QScrollBar(Qt::Vertical, this)) {
  setFrameShape(QFrame::NoFrame);
  setViewport(new TSurfaceWidget(control, nullptr));
  setFocusPolicy(Qt::StrongFocus);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // Test input and the layer's coordinates go to the viewport, the client area.
  setProperty("zvViewportInput", true);
  FBar->setFocusPolicy(Qt::NoFocus);
  FBar->setSingleStep(1);
  FBar->hide();
  QObject::connect(FBar, &QScrollBar::valueChanged, this, [this](int v) {
    if (FSyncing || !FControl || !OnScroll) return;
    TWinControl* c = FControl;
    GuardEvent(c, [&] { OnScroll(v); });
  });
  // A click on the bar leaves the focus where it is.
  QObject::connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    QWidget* keep = now && (now == this || isAncestorOf(now)) ? now : nullptr;
    if (FBar->focusProxy() != keep) FBar->setFocusProxy(keep);
  });
  Place();
}

void TViewArea::SetFramed(bool framed) {
  FFrame = framed ? kViewFrame : 0;
  Place();
  update();
}

void TViewArea::SetVertical(int Max, int Page, int Pos) {
  FSyncing = true;
  const bool show = Max > 0;
  FBar->setRange(0, std::max(Max, 0));
  FBar->setPageStep(std::max(Page, 1));
  FBar->setValue(Pos);
  if (FBar->isVisibleTo(this) != show) FBar->setVisible(show);
  FSyncing = false;
  Place();
}

void TViewArea::Place() {
  const int bw = FBar->isVisibleTo(this) ? GetSystemMetrics(SM_CXVSCROLL) : 0;
  setViewportMargins(FFrame, FFrame, FFrame + bw, FFrame);
  FBar->setGeometry(width() - FFrame - bw, FFrame, bw, std::max(0, height() - 2 * FFrame));
}

bool TViewArea::event(QEvent* e) {
  if (e->type() != QEvent::Paint) return QAbstractScrollArea::event(e);
  // The area's own paint: the sunken frame and the corner beside the bar.
  QPainter p(this);
  const QColor face = GfxToQColor(clBtnFace);
  p.fillRect(rect(), face);
  if (FFrame > 0) {
    const int w = width(), h = height();
    auto edge = [&](int i, TColor topLeft, TColor bottomRight) {
      p.setPen(GfxToQColor(topLeft));
      p.drawLine(i, i, w - 2 - i, i);
      p.drawLine(i, i, i, h - 2 - i);
      p.setPen(GfxToQColor(bottomRight));
      p.drawLine(i, h - 1 - i, w - 1 - i, h - 1 - i);
      p.drawLine(w - 1 - i, i, w - 1 - i, h - 1 - i);
    };
    edge(0, clBtnShadow, clBtnHighlight);
    edge(1, cl3DDkShadow, cl3DLight);
  }
  return true;
}

// Input reaches the control through the layer's messages only.
void TViewArea::keyPressEvent(QKeyEvent* e) { e->accept(); }
void TViewArea::mousePressEvent(QMouseEvent* e) { e->accept(); }
void TViewArea::mouseReleaseEvent(QMouseEvent* e) { e->accept(); }
void TViewArea::mouseMoveEvent(QMouseEvent* e) { e->accept(); }
void TViewArea::mouseDoubleClickEvent(QMouseEvent* e) { e->accept(); }
void TViewArea::wheelEvent(QWheelEvent* e) { e->accept(); }

void TViewArea::paintEvent(QPaintEvent*) {
  // The viewport's paints arrive here: it shows the control's surface.
  if (!FControl) return;
  TWinControl* c = FControl;
  GuardEvent(c, [c] { c->PaintNow(); });
  if (!FControl) return;
  TWinControlImpl* impl = c->Impl();
  impl->FlushSurface();
  QPainter p(viewport());
  if (!impl->Surface.isNull()) p.drawImage(0, 0, impl->Surface);
  else p.fillRect(viewport()->rect(), GfxToQColor(c->Color()));
}

void TViewArea::resizeEvent(QResizeEvent* e) {
  QAbstractScrollArea::resizeEvent(e);
  Place();
}
