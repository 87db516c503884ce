// The dock: a panel along one edge of a form in which dockable windows sit
// in rows; and the docking core of the dockable window.
#pragma once

#include <functional>
#include <vector>

#include "platform/ui/controls.h"
#include "platform/ui/forms.h"
#include "toolbar/tbdocklayout.h"
#include "toolbar/tblayoutstore.h"

class TTBCustomDockableWindow;

const TEnumInfo& TBDockPositionEnumInfo();
const TEnumInfo& TBDockBoundLineEnumInfo();
const TEnumInfo& TBDockModeEnumInfo();
const TEnumInfo& TBDragHandleStyleEnumInfo();
const TEnumInfo& TBFloatingModeEnumInfo();

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

  // Offers menu keys (WM_SYSCOMMAND with SC_KEYMENU, CM_DIALOGKEY,
  // CM_DIALOGCHAR) to the floating windows of the dock list, in list order;
  // the first non-zero answer is the result (0: none answered).
  LRESULT RelayToFloatingWindows(TMessage& M);
  void WndProc(TMessage& Message) override;
  // Asks OnRequestDock whether the window may be dropped here.
  bool AcceptsDrop(TTBCustomDockableWindow* Bar);

  TTBInsertRemoveEvent OnInsertRemoveBar;
  TTBRequestDockEvent OnRequestDock;

protected:
  void Loaded() override;
  void AlignControls(TControl* AControl, TRect R) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Paint() override;
  void PaintWindow() override;

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

enum TTBDockMode { dmCanFloat, dmCannotFloat, dmCannotFloatOrChangeDocks };
enum TTBDragHandleStyle { dhDouble, dhNone, dhSingle };
enum TTBFloatingMode { fmOnTopOfParentForm, fmOnTopOfAllForms };
using TTBDockableTo = TEnumSet<TTBDockPosition>;
using TTBDockChangingEvent = std::function<void(TObject* Sender, bool Floating, TTBDock* DockingTo)>;
using TTBCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

// The library's own hit codes: the drag area of a docked window (and the
// surroundings of its close button), a close button, the caption of a
// floating window. The frames are margins the windows paint themselves;
// their mouse handlers test these regions.
constexpr int kTBHitDragArea = 2000, kTBHitCloseButton = 2001, kTBHitFloatingCaption = 2002;

// Drag-handle size along the dock, by close button and handle style.
int DragHandleSizeFor(bool CloseButtonWhenDocked, TTBDragHandleStyle Style);

class TTBFloatingWindowParent;

// The base of every window that can sit in a dock or float in its own small
// caption window. Every change of state goes through SetParent; the window
// stays the same object (and the same window) through all of them.
class TTBCustomDockableWindow : public TCustomControl, public TTBRowLayoutWindow, public TTBPositionWindow {
  ZV_CLASS(TTBCustomDockableWindow)
public:
  explicit TTBCustomDockableWindow(TComponent* AOwner);
  ~TTBCustomDockableWindow() override;

  TTBDock* CurrentDock() const { return FCurrentDock; }
  // A dock docks the window there; nil takes it out of its dock onto its
  // host form.
  void SetCurrentDock(TTBDock* Dock);
  // A dock being freed drops the window's links to it first, so the window
  // never calls back into a half-destroyed dock.
  void ForgetDock(const TTBDock* Dock) {
    if (FCurrentDock == Dock) FCurrentDock = nullptr;
    if (FLastDock == Dock) FLastDock = nullptr;
    if (FDefaultDock == Dock) FDefaultDock = nullptr;
  }
  TTBDock* LastDock() const { return FLastDock; }
  void SetLastDock(TTBDock* Dock);
  TTBDock* DefaultDock() const { return FDefaultDock; }
  void SetDefaultDock(TTBDock* Dock);
  int DockRowValue() const { return DockRow; }
  int DockPosValue() const { return DockPos; }
  bool FullSizeValue() const { return FullSize; }
  bool StretchValue() const { return Stretch; }
  // Stored outside design time (always here): a window read back knows that
  // its bounds are run-time ones.
  bool SavedAtRunTime() const { return FSavedAtRunTime; }
  // A floating window has no parent in the window description: it is
  // written among the form's components without a parent.
  bool HasParent() const override;
  TComponent* GetParentComponent() const override;
  // The class of the caption window a floating window sits in.
  virtual TClass FloatingParentClass() const;
  bool UseLastDock() const override { return FUseLastDock; }
  void SetUseLastDock(bool V);
  bool Docked() const { return FDocked; }
  bool Floating() const override { return FFloating; }
  TTBFloatingWindowParent* FloatingParent() const { return FFloatParent; }

  void SetDockRow(int V);
  void SetDockPos(int V);
  void SetFullSize(bool V);
  void SetStretch(bool V);
  void SetParent(TWinControl* AParent) override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  TRect ClientRect() const override;

  bool ActivateParent() const { return FActivateParent; }
  void SetActivateParent(bool V) { FActivateParent = V; }
  bool AutoResize() const { return FAutoResize; }
  void SetAutoResize(bool V);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle V);
  bool CloseButton() const { return FCloseButton; }
  void SetCloseButton(bool V);
  bool CloseButtonWhenDocked() const { return FCloseButtonWhenDocked; }
  void SetCloseButtonWhenDocked(bool V);
  TTBDockableTo DockableTo() const { return FDockableTo; }
  void SetDockableTo(TTBDockableTo V) { FDockableTo = V; }
  TTBDockMode DockMode() const { return FDockMode; }
  void SetDockMode(TTBDockMode V) { FDockMode = V; }
  TTBDragHandleStyle DragHandleStyle() const { return FDragHandleStyle; }
  void SetDragHandleStyle(TTBDragHandleStyle V);
  TTBFloatingMode FloatingMode() const { return FFloatingMode; }
  void SetFloatingMode(TTBFloatingMode V);
  bool HideWhenInactive() const { return FHideWhenInactive; }
  void SetHideWhenInactive(bool V) { FHideWhenInactive = V; }
  bool Resizable() const { return FResizable; }
  void SetResizable(bool V);
  bool ShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool V);
  bool SmoothDrag() const { return FSmoothDrag; }
  void SetSmoothDrag(bool V) { FSmoothDrag = V; }
  // Sizing options: edge zones with corners (tool windows) and the cursor
  // kept on the screen while sizing; toolbars switch both off.
  bool CornerZones = true;
  bool ClipCursorWhileSizing = true;

  // ---- state changes
  // Lays the window out again in its state (the dock's layout when docked).
  virtual void Arrange();
  // Whether the window sizes itself: AutoResize, docked or floating.
  bool CanAutoSize() const { return FAutoResize || FDocked || FFloating; }
  // Gives the window a client size in its present state (the dock's layout
  // when docked; the floating frame follows when floating).
  void ApplySize(TPoint ClientSize);
  void BeginUpdate();
  void EndUpdate();
  // Into a floating window over the host form, or back onto the host form.
  void MakeFloating(bool Float);
  TPoint FloatingPosition() const override { return FFloatingPosition; }
  void SetFloatingPosition(TPoint P) override;
  // Moves the floating window into the nearest work area (only when it lies
  // entirely off it, with the flag).
  void MoveOnScreen(bool OnlyIfFullyOffscreen) override;
  // Double click on the drag handle or caption: floats or docks the window.
  void ToggleDocked();
  // Asks OnCloseQuery, then hides the window and fires OnClose.
  void Close();
  // Whether the window should show now (floating windows also follow their
  // host form and the application's activity).
  bool ShouldBeVisible() const;
  void UpdateVisibility();
  void UpdateCaptionState();
  bool CaptionInactive() const { return FInactiveCaption; }

  // ---- mouse: the drag loop, the sizing loop (in tbdrag.cpp)
  // Runs the modal drag that moves, docks and floats the window; Grab is in
  // the window's client coordinates.
  void BeginMoving(int GrabX, int GrabY);
  // Runs the modal loop that sizes a floating window by an edge (0 left,
  // 1 right, 2 top, 3 top-left, 4 top-right, 5 bottom, 6 bottom-left,
  // 7 bottom-right).
  void BeginSizing(int Edge);
  bool CanDrag() const;
  bool SmoothDragInProgress() const { return FSmoothDragging; }

  // ---- virtual operations descendants answer
  // The client size the window takes in a state (for a dock, with its
  // present shrunk length). The base answers its base size.
  virtual TPoint SizeForState(bool Apply, TTBDockKind Kind, bool Floating, TTBDock* NewDock);
  // Docked frame plus drag handle (0, 0 when not docked).
  TPoint DockedNCSize() override;
  virtual TPoint DockedNCSizeFor(TTBDock* Dock);
  // A client point over a visible child that is not ignored (presses there do
  // not start a drag).
  virtual void PointOverChild(TPoint P, bool& Found);
  virtual bool IsIgnoredChild(TControl* C) { (void)C; return false; }
  virtual void DrawDockedNCArea(TCanvas* Canvas);
  virtual TRect DockedCloseButtonRect(bool Vertical);
  virtual void MinimumRowLength(int& Length) { (void)Length; }
  // Client size limits (0 maximum: none).
  virtual void SizeLimits(int& MinWidth, int& MinHeight, int& MaxWidth, int& MaxHeight) {
    (void)MinWidth; (void)MinHeight; (void)MaxWidth; (void)MaxHeight;
  }
  // Told when the window's size changed from outside (not by its own arrange).
  virtual void SizeChanged(int NewWidth, int NewHeight) { (void)NewWidth; (void)NewHeight; }
  virtual TPoint FloatingBorderSize() const;
  // Top-left and bottom-right margins of the floating frame around the client.
  void FloatingNCOffsets(TPoint& TopLeft, TPoint& BottomRight) const;
  // Width of the drag handle along the dock.
  virtual int DragHandleSize() const { return DragHandleSizeFor(FCloseButtonWhenDocked, FDragHandleStyle); }
  virtual void NotifyDockChangingHidden(bool Floating, TTBDock* DockingTo);
  virtual void AfterLoad() {}
  // Hooks of the floating sizing loop: the toolbar snaps to its candidate
  // sizes here.
  virtual void SizingStarted(int Edge) { (void)Edge; }
  virtual void SizingEnded() {}
  virtual void SizingRectChanging(TRect& NewRect, const TRect& StartRect) { (void)NewRect; (void)StartRect; }
  virtual void BeforeSizeApplied() {}

  // ---- row layout view
  bool IsVisibleChild() const override;
  bool IsBeingDestroyed() const override;
  TPoint BaseSize() override;
  TTBShrinkMode ShrinkMode() override { return tbsmNone; }
  int MinimumLength() override;
  TPoint SizeForShrunkLength(int ShrunkLen, bool Vertical) override;
  TPoint PresentClientSize() override;
  void PlaceInDock(const TRect& Bounds, bool Resized) override;

  // ---- layout store view
  bool PositionVisible() const override { return Visible(); }
  void SetPositionVisible(bool V) override { SetVisible(V); }
  TComponent* CurrentDockComponent() const override;
  TComponent* LastDockComponent() const override;
  void SetLastDockComponent(TComponent* Dock) override;
  int StoredDockRow() const override { return DockRow; }
  void SetStoredDockRow(int V) override { SetDockRow(V); }
  int StoredDockPos() const override { return DockPos; }
  void SetStoredDockPos(int V) override { SetDockPos(V); }
  void DockInto(TComponent* Dock) override;
  void MakeFloating() override { MakeFloating(true); }

  // The non-client hit code of a point in window coordinates (HTCLIENT,
  // kTBHitDragArea or kTBHitCloseButton while docked).
  int NCHitTest(TPoint P);
  bool DockedCloseHot() const { return FCloseHot; }
  bool DockedClosePressed() const { return FClosePressed; }

  TNotifyEvent OnClose;
  TTBCloseQueryEvent OnCloseQuery;
  TNotifyEvent OnDockChanged;
  TTBDockChangingEvent OnDockChanging;
  TTBDockChangingEvent OnDockChangingHidden;
  TNotifyEvent OnMove;
  TNotifyEvent OnRecreating;
  TNotifyEvent OnRecreated;
  TNotifyEvent OnVisibleChanged;

protected:
  friend class TTBFloatingWindowParent;
  friend struct TTBDragLoop;
  friend struct TTBSizeLoop;
  void CMVisibleChanged(TMessage& M) override;
  void CMTextChanged(TMessage& M) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void DefineProperties(TFiler* Filer) override;
  void Loaded() override;
  void PaintWindow() override;
  void WMLButtonDown(TMessage& M) override;
  void WMLButtonDblClk(TMessage& M) override;
  void WMRButtonUp(TMessage& M) override;
  void WMMouseMove(TMessage& M) override;
  void CMMouseLeave(TMessage& M) override;
  void RunDockLayout();
  // The window or its floating window moved: OnMove, unless suppressed.
  void NotifyMoved();
  void RecalcFrame();
  void UpdateFloatingList();
  // Press on the docked close button: tracks it until release.
  void TrackDockedCloseButton();

private:
  TTBDock* FCurrentDock = nullptr;
  TTBDock* FLastDock = nullptr;
  TTBDock* FDefaultDock = nullptr;
  bool FDocked = false;
  bool FFloating = false;
  bool FUseLastDock = true;
  bool FActivateParent = true;
  bool FAutoResize = true;
  TBorderStyle FBorderStyle = bsSingle;
  bool FCloseButton = true;
  bool FCloseButtonWhenDocked = false;
  TTBDockableTo FDockableTo = {dpTop, dpBottom, dpLeft, dpRight};
  TTBDockMode FDockMode = dmCanFloat;
  TTBDragHandleStyle FDragHandleStyle = dhSingle;
  TTBFloatingMode FFloatingMode = fmOnTopOfParentForm;
  bool FHideWhenInactive = true;
  bool FResizable = true;
  bool FShowCaption = true;
  bool FSmoothDrag = true;
  bool FSavedAtRunTime = false;
  int FBoundsLock = 0;
  int FUpdateCount = 0;
  int FHidingCount = 0;
  int FDisableMoveNotify = 0;
  bool FArrangePending = false;
  bool FInactiveCaption = false;
  bool FSmoothDragging = false;
  bool FCloseHot = false;
  bool FClosePressed = false;
  bool FHandleCursorSet = false;
  TPoint FPressScreenPos{0, 0};  // where the press that starts a sizing loop was
  TPoint FFloatingPosition{0, 0};
  TTBFloatingWindowParent* FFloatParent = nullptr;
};

// Tracks a press on a button of a frame until the left button is released:
// State hears whether the button shows pressed; true when released over it.
bool TrackNCButton(const TRect& ButtonScreenRect, const std::function<void(bool Pressed)>& State);

// The outermost form among the control's parents (a floating window answers
// its host form); nil when none.
TCustomForm* HostFormOf(const TControl* Control);
// The same; raises EInvalidOperation "Control '%s' has no parent window".
TCustomForm* HostFormOfOrError(const TControl* Control);
extern const char* const kTBNoParentWindow;  // "Control '%s' has no parent window"
