#include "platform/ui/toolwindows.h"

#include <QApplication>
#include <QPainter>
#include <QRegion>
#include <QWidget>
#include <QWindow>

#include "platform/ui/qt_ui.h"

namespace {

QWidget* WidgetOf(const TWinControl* C) {
  if (!C || !C->HandleAllocated()) return nullptr;
  return C->Impl()->Widget;
}

TRubberBand* gShownBand = nullptr;

}  // namespace

void MakeFloatingToolWindow(TCustomForm* Form, TCustomForm* Host) {
  Form->HandleNeeded();
  QWidget* W = Form->Impl()->Widget;
  if (!W) return;
  const bool Visible = W->isVisible();
  Qt::WindowFlags F = Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus;
  if (!Host) F |= Qt::WindowStaysOnTopHint;
  W->setWindowFlags(F);
  W->setAttribute(Qt::WA_ShowWithoutActivating);
  W->setFocusPolicy(Qt::NoFocus);
  // The host stays the window's transient parent only: no Qt ownership, so
  // the host's window going does not take this one with it.
  W->winId();
  if (QWindow* Win = W->windowHandle()) {
    QWindow* HostWin = nullptr;
    if (Host) {
      Host->HandleNeeded();
      if (QWidget* HW = Host->Impl()->Widget) {
        HW->winId();
        HostWin = HW->windowHandle();
      }
    }
    Win->setTransientParent(HostWin);
  }
  if (Visible) W->show();
}

void ShowToolWindow(TCustomForm* Form, bool Show) {
  if (Show) Form->HandleNeeded();
  QWidget* W = WidgetOf(Form);
  if (!W) return;
  if (Show) {
    W->resize(std::max(Form->Width(), 1), std::max(Form->Height(), 1));
    PlaceWindowFrame(W, Form->Left(), Form->Top());
    W->show();
  } else {
    W->hide();
  }
}

bool ToolWindowShown(const TCustomForm* Form) {
  QWidget* W = WidgetOf(Form);
  return W && W->isVisible();
}

bool FormIsMinimized(const TCustomForm* Form) {
  QWidget* W = WidgetOf(Form);
  return W ? W->isMinimized() : Form->WindowState() == wsMinimized;
}

bool ApplicationIsActive() {
  if (!qApp) return false;
  return QGuiApplication::applicationState() == Qt::ApplicationActive || QApplication::activeWindow() != nullptr;
}

TWinControl* ActiveTopLevelControl() {
  if (!qApp) return nullptr;
  QWidget* W = QApplication::activeWindow();
  if (!W) return nullptr;
  QVariant V = W->property("zvControl");
  return V.isValid() ? static_cast<TWinControl*>(V.value<void*>()) : nullptr;
}

// ---------------------------------------------------------------------------

namespace {

// A frame-shaped window above everything that ignores the mouse.
class TBandWidget : public QWidget {
public:
  TBandWidget()
      : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                             Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
  }
  int Thickness = 1;

protected:
  void paintEvent(QPaintEvent*) override {
    QPainter P(this);
    P.fillRect(rect(), Qt::white);
    P.fillRect(rect(), QBrush(Qt::black, Qt::Dense4Pattern));
  }
};

}  // namespace

struct TRubberBand::TImpl {
  std::unique_ptr<TBandWidget> Widget;
};

TRubberBand::TRubberBand() : FImpl(std::make_unique<TImpl>()) {}

TRubberBand::~TRubberBand() {
  Hide();
  if (gShownBand == this) gShownBand = nullptr;
}

void TRubberBand::Show(const TRect& R, int Thickness) {
  if (R.IsEmpty() || Thickness <= 0) {
    Hide();
    return;
  }
  EnsureQtApplication();
  if (!FImpl->Widget) FImpl->Widget = std::make_unique<TBandWidget>();
  TBandWidget* W = FImpl->Widget.get();
  W->Thickness = Thickness;
  W->setGeometry(R.Left, R.Top, R.Width(), R.Height());
  // Only the frame shows; what lies inside stays visible and clickable.
  QRegion Outer(0, 0, R.Width(), R.Height());
  QRegion Inner(Thickness, Thickness, std::max(0, R.Width() - 2 * Thickness), std::max(0, R.Height() - 2 * Thickness));
  W->setMask(Outer.subtracted(Inner));
  W->show();
  W->update();
  FShown = R;
  FThickness = Thickness;
  gShownBand = this;
}

void TRubberBand::Hide() {
  if (FImpl->Widget) FImpl->Widget->hide();
  FShown = TRect{};
  FThickness = 0;
  if (gShownBand == this) gShownBand = nullptr;
}

TRect ShownRubberBand() { return gShownBand ? gShownBand->Shown() : TRect{}; }
