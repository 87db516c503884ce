// Qt behind the window layer, for the .cpp files of ui only (never include
// this from a public header).
#pragma once

#include <QElapsedTimer>
#include <QEvent>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <memory>

#include "platform/gfx/qt_private.h"
#include "platform/ui/controls.h"

// Routes the window system's events of one widget into the control's messages.
class TEventBridge : public QObject {
public:
  TEventBridge(TWinControl* control, std::shared_ptr<bool> alive) : FControl(control), FAlive(std::move(alive)) {}
  bool eventFilter(QObject* watched, QEvent* event) override;
  TWinControl* Control() const { return FControl; }

private:
  bool Translate(QObject* watched, QEvent* event);
  TWinControl* FControl;
  std::shared_ptr<bool> FAlive;
};

// The widget of a custom-painted window: shows the retained surface.
class TSurfaceWidget : public QWidget {
public:
  TSurfaceWidget(TWinControl* control, QWidget* parent);
  void Detach() { FControl = nullptr; }

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  TWinControl* FControl;
};

struct TWinControlImpl {
  explicit TWinControlImpl(TWinControl* owner) : Owner(owner) {}
  ~TWinControlImpl();

  TWinControl* Owner;
  QPointer<QWidget> Widget;     // created by CreateWnd; owned here
  QWidget* Focus = nullptr;     // the widget that takes focus and keys (the widget itself by default)
  std::unique_ptr<TEventBridge> Bridge;
  HWND Handle = 0;
  QImage Surface;               // the retained surface of custom-painted windows
  bool ViewportSurface = false; // the surface backs a viewport of the client area (the grid's)
  TPoint PlacedChildOrigin{0, 0}; // the ChildOrigin the children's widgets were placed with
  std::unique_ptr<TCanvas> Canvas;
  bool NeedsPaint = true;
  bool DefaultCalled = false;   // the message reached DefaultHandler: the widget's own handling runs
  bool Painting = false;
  bool FollowsWindowSystem = false;  // the bounds being set are where the window system put the window
  int InEvent = 0;              // depth of the widget's events being handled
  std::shared_ptr<bool> Alive = std::make_shared<bool>(true);

  // Asks the window system for a paint of the widget, and of the viewport
  // that shows the surface when there is one.
  void UpdateWidget();
  // A canvas reached the surface outside the layer's paints (a band drawn
  // from a mouse handler): asks for a paint that shows it.
  void SurfaceUsed();
  // Makes the surface as large as the client area (keeping the pixels).
  void SizeSurface();
  // Ends open painters on the surface (own canvas and graphic children's).
  void FlushSurface();
  void FlushChildren();
  // csParentBackground on a window with a parent: the surface keeps alpha
  // and the widget lets the parent show through.
  bool ShowsParent() const;
  // Brings the widget's opaque-paint attribute and the surface's pixel
  // format in line with ShowsParent.
  void SyncParentBackground();
  // Paints the control's overlay over its native widget (inside the
  // widget's paint event, after the widget painted itself).
  void PaintOverlay(QWidget* widget);
};

// Gives a child's widget its place in the parent's widget (the parent's
// ChildOrigin added).
void PlaceChildWidget(TWinControl* child);
// Puts the frame of a top-level widget (the window manager's decoration
// included) at (x, y), whether or not its native window exists yet: a form's
// Left and Top are its frame's.
void PlaceWindowFrame(QWidget* widget, int x, int y);
// Installs the bridge on a widget made by CreateWnd and registers the handle.
void AttachWidget(TWinControl* control, QWidget* widget, QWidget* focusWidget = nullptr);
// Asks a control for the cursor over the widget the mouse moved on
// (WM_NCHITTEST, then WM_SETCURSOR) and shows what it chose.
void AskWindowCursor(TWinControl* Control, QWidget* Watched, TPoint ScreenPos);
// The screen point of the last mouse event the layer translated; false
// before any.
bool LastMouseEventPos(TPoint& Pos);
// Runs f; an exception goes to Application->HandleException.
void GuardEvent(TObject* sender, const std::function<void()>& f);
// Application->HandleException (forms.cpp).
void HandleUIException(TObject* sender);
QCursor CursorToQt(TCursor cursor);
uint16_t QtKeyToVK(int qtKey);
int VKToQtKey(uint16_t vk);
TShiftState QtModifiersToShift(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons);
std::string FromQString(const QString& s);
QString ToQString(const std::string& s);
// Delivers queued posted messages (ProcessMessages).
void DeliverPostedMessages();

class TTimer;

// Paces the repaints of top-level windows (TApplication::SetPaintInterval):
// a window's repaint asked for less than the interval after its last paint
// ended is held back until the interval is up, then done by a timer of the
// layer (so tests fire it by hand). Switching pacing off paints what is held.
class TPaintPacer : public QObject {
public:
  TPaintPacer();
  ~TPaintPacer() override;
  void SetInterval(int milliseconds);
  int Interval() const { return FInterval; }
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  struct TWindow {
    QPointer<QWidget> Widget;
    int64_t PaintEnd = 0;  // FClock milliseconds; meaningful once Painted
    bool Painted = false;
    std::unique_ptr<TTimer> Held;  // running while a repaint is held back
  };
  TWindow& Window(QWidget* widget);
  void Paint(QWidget* widget, QEvent* request);
  void PaintHeld();

  int FInterval = 0;
  bool FInside = false;
  QElapsedTimer FClock;
  std::vector<std::unique_ptr<TWindow>> FWindows;
};
