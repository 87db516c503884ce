// The window of the layer's list and tree controls, for the .cpp files of ui
// only (it includes Qt): a scroll area whose viewport shows the control's
// surface, which is exactly its client area, inside an optional 2-pixel
// sunken frame and beside a vertical bar of the layer's thickness. The
// control decides where it scrolls; the bar reports the position the user
// moved it to.
#pragma once

#include <QAbstractScrollArea>
#include <QScrollBar>

#include <functional>

#include "platform/ui/qt_ui.h"

class TViewArea : public QAbstractScrollArea {
public:
  explicit TViewArea(TWinControl* control);
  void Detach() { FControl = nullptr; }
  // The frame's width (2 framed, 0 not) and the bar's (0 while hidden).
  void SetFramed(bool framed);
  // The bar: shown while Max > 0, its thumb a Page of 0..Max+Page.
  void SetVertical(int Max, int Page, int Pos);
  // Called with the bar's new position when the user moves it.
  std::function<void(int Pos)> OnScroll;

protected:
  bool event(QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void paintEvent(QPaintEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;
  void scrollContentsBy(int, int) override {}
  void resizeEvent(QResizeEvent* e) override;

private:
  void Place();
  TWinControl* FControl;
  QScrollBar* FBar;
  int FFrame = 2;
  bool FSyncing = false;
};

// The frame of a control of this kind: 2 pixels when framed.
constexpr int kViewFrame = 2;
