// The row layout of a dock: which row each dockable window sits in, where
// along the row, how long it is and how thick each row is. The layout works
// on an abstract view of the windows so that it can run over real dockable
// windows and over plain objects alike.
#pragma once

#include <vector>

#include "platform/gfx/geometry.h"
#include "platform/ui/uitypes.h"

enum TTBDockPosition { dpTop, dpBottom, dpLeft, dpRight };
enum TTBShrinkMode { tbsmNone, tbsmWrap, tbsmChevron };
enum TTBDockKind { dkNone, dkFloating, dkHorizontal, dkVertical };

inline bool IsVerticalDockPosition(TTBDockPosition P) { return P == dpLeft || P == dpRight; }

// What the layout reads from and writes into one window of a dock.
class TTBRowLayoutWindow {
 public:
  virtual ~TTBRowLayoutWindow() = default;

  // Stored placement.
  int DockRow = 0;
  int DockPos = -1;
  bool FullSize = false;
  bool Stretch = false;
  // Set by the drag loop.
  bool Dragged = false;
  bool SlideMode = false;
  bool NewRow = false;

  // Written by the layout.
  int ComputedRow = 0;
  int ComputedPos = 0;
  int ShrunkLength = 0;  // 0: the window got its full length
  int CrossSize = 0;
  bool Crowded = false;

  // A child of the dock that is showing; windows that merely keep their
  // place (floating with this dock as their last dock) answer false.
  virtual bool IsVisibleChild() const = 0;
  virtual bool IsBeingDestroyed() const { return false; }
  // Client size in the present state.
  virtual TPoint BaseSize() = 0;
  // Docked frame plus drag handle.
  virtual TPoint DockedNCSize() = 0;
  virtual TTBShrinkMode ShrinkMode() { return tbsmNone; }
  virtual int MinimumLength() { return 0; }
  // Client size the window takes when shrunk to the given length (0: full).
  virtual TPoint SizeForShrunkLength(int ShrunkLen, bool Vertical) { (void)ShrunkLen; (void)Vertical; return BaseSize(); }
  // Present client size (size minus the docked frame).
  virtual TPoint PresentClientSize() { return BaseSize(); }
  // Receives the window's bounds in the dock's client area; Resized tells
  // that its own arrangement must run afterwards.
  virtual void PlaceInDock(const TRect& Bounds, bool Resized) = 0;
};

// The dock's side of the layout.
struct TTBRowLayoutDock {
  TTBDockPosition Position = dpTop;
  TAlign Align = alTop;
  TRect Bounds{};  // in its parent
  int BorderWidth = 0;
  int BorderHeight = 0;
  bool FixAlign = false;
  bool LimitToOneRow = false;
  bool DesignTime = false;
  bool Commit = false;  // write computed rows and positions back
};

struct TTBRowLayoutResult {
  TRect NewBounds{};    // the dock's bounds after the layout
  int HighestRow = -1;  // computed
};

// Runs the row layout. DockList is the dock's list of windows (reordered to
// the sorted order when Dock.Commit is set; windows being destroyed leave
// it); VisibleList is sorted like it. Dock.Commit is cleared.
TTBRowLayoutResult ArrangeDockRows(TTBRowLayoutDock& Dock, std::vector<TTBRowLayoutWindow*>& DockList,
                                   std::vector<TTBRowLayoutWindow*>& VisibleList);

// The dock's bounds after asking for a size: a bottom dock keeps its bottom
// edge, a right dock its right edge, others their top-left corner; client and
// custom aligned docks keep their bounds.
TRect ResizeKeepingEdge(const TRect& Bounds, TAlign Align, int Width, int Height);

// The largest DockRow (or computed row) of the list, -1 when empty.
int DockHighestRow(const std::vector<TTBRowLayoutWindow*>& DockList, bool Computed);
