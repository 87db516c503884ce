// Viewers and views. A viewer is one on-screen occurrence of an item: it
// measures and paints the item in toolbar or menu style and reacts to the
// mouse. A view shows the children of one container item in one window: it
// keeps a viewer per child in step with the item tree, lays them out, tracks
// the selection and the open child popup, and holds the outcome of the menu
// loop when it is the root of a chain of open menus.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/graphics.h"
#include "platform/ui/controls.h"
#include "toolbar/tbitem.h"

class TTBView;
class TTBPopupWindow;

enum TTBViewOrientation { tbvoHorizontal, tbvoVertical, tbvoFloating };

// Viewer state bits.
constexpr uint8_t tbisNeedsFullRepaint = 0x01, tbisLineSep = 0x02;

class TTBBaseAccObject;

class TTBItemViewer {
public:
  TTBItemViewer(TTBView* AView, TTBCustomItem* AItem, int AGroupLevel);
  virtual ~TTBItemViewer();
  TTBItemViewer(const TTBItemViewer&) = delete;
  TTBItemViewer& operator=(const TTBItemViewer&) = delete;

  TRect BoundsRect;
  bool Clipped = false;
  int GroupLevel;
  TTBCustomItem* Item;
  bool OffEdge = false;
  bool Show = false;
  TTBView* View;
  uint8_t State = 0;
  // Made on an accessibility client's first request; told when we go.
  std::shared_ptr<TTBBaseAccObject> AccObject;

  virtual void CalcSize(TCanvas* Canvas, int& AWidth, int& AHeight);
  virtual bool DoExecute();
  virtual void DrawItemCaption(TCanvas* Canvas, TRect ARect, unsigned ADrawTextFlags, bool ACanvasHasShadow,
                               const std::string& AText);
  virtual void Entering();
  virtual int GetAccRole();
  // The value an accessibility client reads (an edit box's text); false when none.
  virtual bool GetAccValue(std::string& Value) { Value.clear(); return false; }
  virtual std::string GetCaptionText() const;
  virtual bool IsPtInButtonPart(int X, int Y);
  virtual void KeyDown(uint16_t& /*Key*/, TShiftState /*Shift*/) {}
  virtual void Leaving();
  virtual void LosingCapture();
  virtual void MouseDown(TShiftState Shift, int X, int Y, bool& MouseDownOnMenu);
  virtual void MouseMove(int /*X*/, int /*Y*/) {}
  virtual void MouseUp(int X, int Y, bool MouseWasDownOnMenu);
  virtual void MouseWheel(int /*WheelDelta*/, int /*X*/, int /*Y*/) {}
  virtual void Paint(TCanvas* Canvas, const TRect& ClientAreaRect, bool IsSelected, bool IsPushed,
                     bool UseDisabledShadow);
  virtual bool UsesSameWidth();
  virtual bool CaptionShown();

  bool ImageShown();
  TCustomImageList* GetImageList();
  bool IsRotated();
  bool IsToolbarStyle();
  bool IsToolbarSize();
  std::string GetHintText();
  void Execute(bool AGivePriority);
  // One line of caption text, drawn horizontally.
  void DrawCaptionLine(TCanvas* Canvas, TRect ARect, unsigned ADrawTextFlags, bool ACanvasHasShadow,
                       const std::string& AText);
  TRect BoundsWidthHeight() const { return TRect(0, 0, BoundsRect.Width(), BoundsRect.Height()); }
};

class TTBSeparatorItemViewer : public TTBItemViewer {
public:
  using TTBItemViewer::TTBItemViewer;
  void CalcSize(TCanvas* Canvas, int& AWidth, int& AHeight) override;
  void Paint(TCanvas* Canvas, const TRect& ClientAreaRect, bool IsSelected, bool IsPushed,
             bool UseDisabledShadow) override;
  bool UsesSameWidth() override { return false; }
};

// View state bits.
constexpr uint8_t vsModal = 0x01, vsMouseInWindow = 0x02, vsDrawInOrder = 0x04, vsOppositePopup = 0x08,
                  vsIgnoreFirstMouseUp = 0x10, vsShowAccels = 0x20, vsDropDownMenus = 0x40, vsNoAnimation = 0x80;
// View style bits.
constexpr uint8_t vsMenuBar = 0x01, vsUseHiddenAccels = 0x02, vsAlwaysShowHints = 0x04;

enum TTBViewTimerID { tiOpen, tiClose, tiScrollUp, tiScrollDown };

// The font of menus and toolbars, made from the desktop settings.
TFont* ToolbarMenuFont();
// Makes it again after the settings changed.
void UpdateToolbarMenuFont();

class TTBView : public TComponent {
  ZV_CLASS(TTBView)
public:
  TTBView(TComponent* AOwner, TTBView* AParentView, TTBCustomItem* AParentItem, TWinControl* AWindow,
          bool AIsToolbar, bool ACustomizing, bool AUsePriorityList);
  ~TTBView() override;

  // Viewers.
  int ViewerCount() const { return static_cast<int>(FViewers.size()); }
  TTBItemViewer* Viewers(int Index) const;
  int IndexOf(const TTBItemViewer* AViewer) const;
  TTBItemViewer* Find(TTBCustomItem* Item) const;
  TTBItemViewer* ViewerFromPoint(TPoint P);
  // The windowed controls of the control items the layout put off the edge
  // (behind the chevron).
  void GetOffEdgeControlList(std::vector<TWinControl*>& List) const;
  void RecreateAllViewers();
  int InsertItemViewers(int NewIndex, TTBCustomItem* AItem, int AGroupLevel, bool AddToPriorityList,
                        bool TopOfPriorityList);
  void RecreateItemViewer(int Index);
  const std::vector<TTBItemViewer*>* PriorityList() const { return FPriorityList.get(); }
  void GivePriority(TTBItemViewer* AViewer);
  TTBItemViewer* HighestPriorityViewer();
  bool UsePriorityList() const { return FUsePriorityList; }
  // Whether viewers made for items added later go first in the priority
  // list (else last).
  void SetNewViewersGetHighestPriority(bool v) { FNewViewersGetHighestPriority = v; }
  void SetUsePriorityList(bool v);
  int InternalViewersAtFront() const { return FInternalViewersAtFront; }
  int InternalViewersAtEnd() const { return FInternalViewersAtEnd; }

  // Layout.
  bool CalculatePositions(bool CanMoveControls, TTBViewOrientation AOrientation, int& ALineCount, TPoint& TotalSize,
                          TPoint& BaseSize, int AChevronSize, int AChevronOffset, int AWrapOffset);
  virtual void DoUpdatePositions(TPoint& ASize);
  TPoint UpdatePositions();
  virtual void InvalidatePositions();
  void ValidatePositions();
  void TryValidatePositions();
  bool Validated() const { return FValidated; }
  void BeginUpdate() { ++FUpdating; }
  void EndUpdate();
  virtual void SizeWindow(int /*AWidth*/, int /*AHeight*/) {}
  virtual TTBCustomItem* QueryChevronItem() { return nullptr; }
  virtual void QueryMargins(TTBViewOrientation AOrientation, TRect& Margins);
  // Where the view's content starts in its window: a docked toolbar's
  // client area starts after the frame and drag handle it paints itself.
  virtual TPoint ContentOrigin() { return {0, 0}; }
  // The origin the viewers were last placed from; a window whose client area
  // moved (docked, undocked, drag handle changed) lays them out again.
  TPoint LaidOutOrigin() const { return FLaidOutOrigin; }
  virtual TFont* GetFont();
  void SetFont(TFont* F) { FFont = F; }
  TPoint BaseSize() const { return FBaseSize; }
  int ChevronOffset() const { return FChevronOffset; }
  void SetChevronOffset(int v) { FChevronOffset = v; }
  int ChevronSize() const { return FChevronSize; }
  void SetChevronSize(int v) { FChevronSize = v; }
  TTBView* ChevronParentView() const { return FChevronParentView; }
  void SetChevronParentView(TTBView* v) { FChevronParentView = v; }
  int WrapOffset() const { return FWrapOffset; }
  void SetWrapOffset(int v) { FWrapOffset = v; }
  int MaxHeight() const { return FMaxHeight; }
  void SetMaxHeight(int v) { FMaxHeight = v; }
  int ScrollOffset() const { return FScrollOffset; }
  void SetScrollOffset(int v) { FScrollOffset = v; }
  bool ShowUpArrow() const { return FShowUpArrow; }
  bool ShowDownArrow() const { return FShowDownArrow; }
  TTBViewOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TTBViewOrientation v);
  void ImagesChanged();

  // Chain of views and the selection.
  TTBView* ParentView() const { return FParentView; }
  TTBCustomItem* ParentItem() const { return FParentItem; }
  TTBCustomItem* RootItem() const { return FCurParentItem; }
  TTBView* GetRootView();
  TTBView* GetToolbarView();
  TWinControl* Window() const { return FWindow; }
  bool IsPopup() const { return FIsPopup; }
  bool IsToolbar() const { return FIsToolbar; }
  void SetIsToolbar(bool v) { FIsToolbar = v; }
  bool Customizing() const { return FCustomizing; }
  TTBItemViewer* Selected() const { return FSelected; }
  std::shared_ptr<TTBBaseAccObject> AccObject;
  bool SelectedViaMouse() const { return FSelectedViaMouse; }
  void SetSelected(TTBItemViewer* v) { Select(v, false); }
  void Select(TTBItemViewer* Value, bool ViaMouse);
  bool MouseOverSelected() const { return FMouseOverSelected; }
  TTBItemViewer* OpenViewer() const { return FOpenViewer; }
  TTBView* OpenViewerView() const { return FOpenViewerView; }
  TTBPopupWindow* OpenViewerWindow() const { return FOpenViewerWindow; }
  void SetOpenViewer(TTBItemViewer* V, TTBView* VV, TTBPopupWindow* W);
  bool OpenChildPopup(bool SelectFirstItem);
  void CloseChildPopups();
  void CancelChildPopups();
  uint8_t State() const { return FState; }
  void SetState(uint8_t s) { FState = s; }
  uint8_t Style() const { return FStyle; }
  void SetStyle(uint8_t s) { FStyle = s; }
  TColor BackgroundColor() const { return FBackgroundColor; }
  void SetBackgroundColor(TColor c) { FBackgroundColor = c; }
  TRect MonitorRect() const { return FMonitorRect; }
  void SetMonitorRect(const TRect& r) { FMonitorRect = r; }

  // Capture and timers.
  bool Capture() const { return FCapture; }
  void BeginCapture() { FCapture = true; }
  void CancelCapture();
  void StartTimer(TTBViewTimerID Timer, int Interval);
  void StopTimer(TTBViewTimerID Timer);
  void StopAllTimers();
  bool TimerActive(TTBViewTimerID Timer) const { return (FActiveTimers >> Timer) & 1; }
  HWND CaptureWnd() const { return FCaptureWnd; }
  void SetCaptureWnd(HWND h) { FCaptureWnd = h; }
  HWND GetCaptureWnd() { return GetRootView()->FCaptureWnd; }

  // The outcome of the menu loop, on the root view.
  TTBDoneActionData& DoneActionData() { return FDoneActionData; }
  void EndModal();
  void EndModalWithClick(TTBItemViewer* AViewer);
  void EndModalWithHelp(int AContextID);
  void EndModalWithSystemMenu(HWND AWnd, uint32_t AKey);
  bool ModalEnded() { return GetRootView()->FDoneActionData.DoneAction != tbdaNone; }

  // Painting.
  void DrawSubitems(TCanvas* Canvas);
  void DrawItem(TTBItemViewer* Viewer, TCanvas* Canvas, bool Offscreen);
  void SetAccelsVisibility(bool Show);
  // The hint of the viewer under the client point: its text and rectangle.
  bool HintAt(TPoint ClientPos, std::string& Hint, TRect& CursorRect);

  // Keyboard and mouse while a menu loop runs.
  TTBItemViewer* NextSelectable(TTBItemViewer* From, bool Forward);
  TTBItemViewer* FirstSelectable();
  void SelectNextItem(bool Forward);
  TTBItemViewer* FindAccelerator(TTBItemViewer* From, char Key, bool& Unique, bool AcceleratorsOnly);
  void ExecuteSelected(bool AGivePriority);
  virtual void KeyDown(uint16_t& Key, TShiftState Shift);
  // Selection follows the mouse at a screen position; x = INT_MIN is no position.
  void UpdateSelection(TPoint Position, bool AllowNewSelection, TWinControl* Under = nullptr);
  void Scroll(bool Down);
  void ScrollSelectedIntoView();
  void CancelMode();
  // Runs a menu loop on a toolbar's view (menu-bar use); Options bit 0:
  // started by a mouse press, bit 1: execute the selection at once, bit 2:
  // without giving it priority.
  void EnterToolbarLoop(unsigned Options);

  // Repaints one viewer (or all).
  void Invalidate(TTBItemViewer* AViewer);
  void InvalidateAll();
  // Fires before each repaint a test may want to see.
  TNotifyEvent OnInvalidate;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void DeletingViewer(TTBItemViewer* Viewer);
  void FreeViewers();
  void UpdateCurParentItem();
  void ItemNotification(TTBCustomItem* Sender, bool Relayed, TTBItemChangedAction Action, int Index,
                        TTBCustomItem* Item);
  void ParentItemNotification(TTBCustomItem* Sender, bool Relayed, TTBItemChangedAction Action, int Index,
                              TTBCustomItem* Item);
  void UpdateActions();
  // The window system's timers of a popup window; a view drawn elsewhere has none.
  virtual bool HasTimerWindow() const { return false; }
  virtual void SetWindowTimer(int /*Id*/, int /*Interval*/) {}
  virtual void KillWindowTimer(int /*Id*/) {}
  TPoint FBaseSize;

private:
  std::vector<TTBItemViewer*> FViewers;
  std::unique_ptr<std::vector<TTBItemViewer*>> FPriorityList;
  uint32_t FActiveTimers = 0;
  TColor FBackgroundColor = clDefault;
  bool FCapture = false;
  HWND FCaptureWnd = 0;
  int FChevronOffset = 0;
  TTBView* FChevronParentView = nullptr;
  int FChevronSize = 0;
  TTBCustomItem* FCurParentItem = nullptr;
  bool FCustomizing;
  TTBDoneActionData FDoneActionData;
  int FInternalViewersAtEnd = 0, FInternalViewersAtFront = 0;
  bool FIsPopup, FIsToolbar;
  int FMaxHeight = 0;
  TRect FMonitorRect;
  bool FMouseOverSelected = false;
  bool FNewViewersGetHighestPriority = true;
  TTBItemViewer* FOpenViewer = nullptr;
  TTBView* FOpenViewerView = nullptr;
  TTBPopupWindow* FOpenViewerWindow = nullptr;
  TTBView* FParentView;
  TTBCustomItem* FParentItem;
  TTBViewOrientation FOrientation = tbvoHorizontal;
  int FScrollOffset = 0;
  TPoint FLaidOutOrigin{0, 0};
  TTBItemViewer* FSelected = nullptr;
  bool FSelectedViaMouse = false;
  bool FShowDownArrow = false, FShowUpArrow = false;
  uint8_t FState = 0;
  uint8_t FStyle = 0;
  int FUpdating = 0;
  bool FUsePriorityList;
  bool FValidated = false;
  TWinControl* FWindow;
  int FWrapOffset = 0;
  TFont* FFont = nullptr;
};

bool IsAncestorView(TTBView* A, TTBView* B);
