// The dock: a panel along one edge of a form in which dockable windows sit
// in rows; and the docking core of the dockable window.
#pragma once

#include <functional>
#include <vector>

#include "platform/ui/controls.h"
#include "toolbar/tbdocklayout.h"
#include "toolbar/tblayoutstore.h"

class TTBCustomDockableWindow;

// Docked horizontally or vertically, floating, or neither.
TTBDockKind DockKindOf(const class TTBDock* Dock, bool Floating);

enum TTBDockBoundLine { blTop, blBottom, blLeft, blRight };
using TTBDockBoundLines = TEnumSet<TTBDockBoundLine>;

using TTBInsertRemoveEvent = std::function<void(TObject* Sender, bool Inserting, TTBCustomDockableWindow* Bar)>;
using TTBRequestDockEvent = std::function<void(TObject* Sender, TTBCustomDockableWindow* Bar, bool& Accept)>;

extern const char* const kTBDockBadParent;    // "A TTBDock control cannot be placed inside ..."
extern const char* const kTBDockBadPosition;  // "Cannot change Position of a TTBDock ..."

// A painter for the background of docks and the windows docked in them; the
// system ships none, the slot is for components that supply one.
class TTBBasicBackground : public TComponent {
  ZV_CLASS(TTBBasicBackground)
public:
  explicit TTBBasicBackground(TComponent* AOwner) : TComponent(AOwner) {}
  virtual void PaintTo(TCanvas* Canvas, const TRect& R) = 0;
  virtual uintptr_t Palette() { return 0; }
  virtual void AddChangeListener(const TNotifyEvent& Listener, const void* Key) = 0;
  virtual void SystemColorsChanged() {}
  virtual void RemoveChangeListener(const void* Key) = 0;
  virtual bool IsActive() = 0;
};

class TTBDock : public TCustomControl, public TTBPositionDock {
  ZV_CLASS(TTBDock)
public:
  explicit TTBDock(TComponent* AOwner);
  ~TTBDock() override;

  bool AllowDrag() const override { return FAllowDrag; }
  void SetAllowDrag(bool V);
  TTBDockBoundLines BoundLines() const { return FBoundLines; }
  void SetBoundLines(TTBDockBoundLines V);
  bool FixAlign() const { return FFixAlign; }
  void SetFixAlign(bool V);
  bool LimitToOneRow() const { return FLimitToOneRow; }
  void SetLimitToOneRow(bool V) { FLimitToOneRow = V; }
  TTBDockPosition Position() const { return FPosition; }
  void SetPosition(TTBDockPosition V);
  void SetParent(TWinControl* AParent) override;
  TTBBasicBackground* Background() const { return FBackground; }
  void SetBackground(TTBBasicBackground* V);
  bool BackgroundOnToolbars() const { return FBackgroundOnToolbars; }
  void SetBackgroundOnToolbars(bool V);
  virtual void PaintBackground(TCanvas* Canvas, const TRect& R);
  virtual bool HasBackground();
  // Repaints the dock and every visible docked window.
  void InvalidateBackgrounds();
  TRect ClientRect() const override;
  // Where the client area starts inside the dock (after the top and left
  // bound lines).
  TPoint ClientOffset() const;

  void BeginUpdate() override;
  void EndUpdate() override;
  void ArrangeWindows();
  void ChangeDockList(bool Insert, TTBCustomDockableWindow* Bar);
  void ChangeVisibleList(TTBCustomDockableWindow* Bar, bool ForceRemove);
  void CommitPositions();
  // Set by a drag before its first layout: the next layout stores what it
  // computes as DockRow and DockPos.
  void SetCommitNext() { FCommit = true; }

  int HighestRow(bool Computed) const;
  int RowThickness(int Row, bool& FullSize) const;
  int RowCrossSizeOfOthers(int Row, TTBCustomDockableWindow* Bar) const;
  int RowAtOffset(int Offset) const;
  bool HasVisibleWindows() const;
  int BorderWidth() const { return FBorderWidth; }
  int BorderHeight() const { return FBorderHeight; }
  const std::vector<TTBCustomDockableWindow*>& DockList() const { return FDockList; }
  const std::vector<TTBCustomDockableWindow*>& VisibleList() const { return FVisibleList; }

  TTBInsertRemoveEvent OnInsertRemoveBar;
  TTBRequestDockEvent OnRequestDock;

protected:
  void Loaded() override;
  void AlignControls(TControl* AControl, TRect R) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Paint() override;

private:
  TTBBasicBackground* FBackground = nullptr;
  bool FBackgroundOnToolbars = true;
  bool FAllowDrag = true;
  TTBDockBoundLines FBoundLines;
  bool FFixAlign = false;
  bool FLimitToOneRow = false;
  TTBDockPosition FPosition = dpTop;
  bool FCommit = false;
  int FUpdateCount = 0;
  bool FLayoutPending = false;
  int FBorderWidth = 0, FBorderHeight = 0;
  std::vector<TTBCustomDockableWindow*> FDockList;
  std::vector<TTBCustomDockableWindow*> FVisibleList;
};

// The docking core of every window that can sit in a dock.
class TTBCustomDockableWindow : public TCustomControl, public TTBRowLayoutWindow, public TTBPositionWindow {
  ZV_CLASS(TTBCustomDockableWindow)
public:
  explicit TTBCustomDockableWindow(TComponent* AOwner);
  ~TTBCustomDockableWindow() override;

  TTBDock* CurrentDock() const { return FCurrentDock; }
  // A dock docks the window there; nil takes it out of its dock.
  void SetCurrentDock(TTBDock* Dock);
  // A dock being freed drops the window's links to it first, so the window
  // never calls back into a half-destroyed dock.
  void ForgetDock(const TTBDock* Dock) {
    if (FCurrentDock == Dock) FCurrentDock = nullptr;
    if (FLastDock == Dock) FLastDock = nullptr;
  }
  TTBDock* LastDock() const { return FLastDock; }
  void SetLastDock(TTBDock* Dock);
  bool UseLastDock() const override { return FUseLastDock; }
  void SetUseLastDock(bool V);
  bool Docked() const { return FCurrentDock != nullptr; }

  void SetDockRow(int V);
  void SetDockPos(int V);
  void SetFullSize(bool V);
  void SetStretch(bool V);
  void SetParent(TWinControl* AParent) override;

  // Lays the window out again in its state (the dock's layout when docked).
  virtual void Arrange();
  // Width of the drag handle along the dock.
  virtual int DragHandleSize() const { return 6; }
  // Told when the dock's layout gave the window a new shrunk size.
  virtual void SizeChanged(int NewWidth, int NewHeight) { (void)NewWidth; (void)NewHeight; }

  // Row layout view.
  bool IsVisibleChild() const override;
  bool IsBeingDestroyed() const override;
  TPoint DockedNCSize() override;
  TPoint PresentClientSize() override;
  void PlaceInDock(const TRect& Bounds, bool Resized) override;

  // Layout store. Until windows can float, a stored floating place leaves
  // the window where it is and only the floating position is kept.
  bool PositionVisible() const override { return Visible(); }
  void SetPositionVisible(bool V) override { SetVisible(V); }
  TComponent* CurrentDockComponent() const override { return FCurrentDock; }
  bool Floating() const override { return false; }
  TComponent* LastDockComponent() const override { return FLastDock; }
  void SetLastDockComponent(TComponent* Dock) override { SetLastDock(dynamic_cast<TTBDock*>(Dock)); }
  int StoredDockRow() const override { return DockRow; }
  void SetStoredDockRow(int V) override { DockRow = V; }
  int StoredDockPos() const override { return DockPos; }
  void SetStoredDockPos(int V) override { DockPos = V; }
  TPoint FloatingPosition() const override { return FFloatingPosition; }
  void SetFloatingPosition(TPoint P) override { FFloatingPosition = P; }
  void DockInto(TComponent* Dock) override { SetCurrentDock(dynamic_cast<TTBDock*>(Dock)); }
  void MakeFloating() override {}
  void MoveOnScreen(bool OnlyIfFullyOffscreen) override { (void)OnlyIfFullyOffscreen; }

  TNotifyEvent OnDockChanged;
  TNotifyEvent OnDockChanging;
  TNotifyEvent OnRecreating;
  TNotifyEvent OnRecreated;

protected:
  void CMVisibleChanged(TMessage& M) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void RunDockLayout();

private:
  TTBDock* FCurrentDock = nullptr;
  TTBDock* FLastDock = nullptr;
  bool FUseLastDock = true;
  bool FBoundsLock = false;
  TPoint FFloatingPosition{0, 0};
};
