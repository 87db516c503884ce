// The toolbar control: a dockable window that owns a tree of items under one
// root item and shows them through a toolbar view; it can act as a form's
// menu bar, takes the application's shortcuts for its items, and hides what
// does not fit behind a chevron or wraps it into more rows.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/ui/taborder.h"
#include "toolbar/tbdock.h"
#include "toolbar/tbitem.h"
#include "toolbar/tbview.h"

class TTBCustomToolbar;

constexpr int tbChevronSize = 12;
extern const char* const kTBChevronDefaultHint;  // "More Buttons|"

enum TTBChevronPriorityForNewItems { tbcpHighest, tbcpLowest };
using TShortCutEvent = std::function<void(TMessage& Msg, bool& Handled)>;

// The button at the end of a crowded toolbar whose popup shows the items
// the toolbar had to hide.
class TTBChevronItem : public TTBCustomItem {
  ZV_CLASS(TTBChevronItem)
public:
  // The owner must be the toolbar.
  explicit TTBChevronItem(TComponent* AOwner);
  TTBView* GetChevronParentView() override;
  TTBItemViewer* NewViewer(TTBView* AView, int AGroupLevel) override;

private:
  TTBCustomToolbar* FToolbar;
};

class TTBChevronItemViewer : public TTBItemViewer {
public:
  using TTBItemViewer::TTBItemViewer;
  void Paint(TCanvas* Canvas, const TRect& ClientAreaRect, bool IsSelected, bool IsPushed,
             bool UseDisabledShadow) override;
};

class TTBToolbarView : public TTBView {
  ZV_CLASS(TTBToolbarView)
public:
  TTBToolbarView(TTBCustomToolbar* AToolbar, TTBCustomItem* AParentItem, bool AUsePriorityList);
  void SizeWindow(int AWidth, int AHeight) override;
  void DoUpdatePositions(TPoint& ASize) override;
  TTBCustomItem* QueryChevronItem() override;
  TPoint ContentOrigin() override;
  TFont* GetFont() override;
  void InvalidatePositions() override;

private:
  TTBCustomToolbar* FToolbar;
};

// Candidate sizes of a floating toolbar: for each number of rows the
// narrowest width that reaches it, widest first. TrialLayout lays the items
// out for a wrap width (0: no wrapping) and answers the size and row count.
using TTBTrialLayout = std::function<TPoint(int WrapWidth, int& RowCount)>;
std::vector<TPoint> ListFloatingSizes(int MinWidth, const TTBTrialLayout& TrialLayout);

// The state of one resize drag of a floating toolbar. Sizes are those of
// the floating frame window; the drag snaps to the candidates.
struct TToolbarSizeData {
  int SizeHandle = 0;  // 0 left, 1 right, 2 top, 5 bottom
  int OrigWidth = 0, OrigHeight = 0;
  int NCXDiff = 0;  // frame window's left edge to the toolbar's client origin
  int CurRightX = 0;  // the FloatingWidth the drag applies
  bool DisableSensCheck = false, OpSide = false;
  std::vector<TPoint> SizeList;
  int DistanceToSmallerSize = 0, DistanceToLargerSize = 0;

  // Sorts the candidates for the handle and finds the dead zone around the
  // starting size.
  void Start(int Handle, int Width, int Height, int FrameOffset, int FloatingWidth, std::vector<TPoint> Candidates);
  // R: the rectangle the mouse asks for; answers the snapped one. Orig: the
  // frame's rectangle at the start.
  void RectChanging(TRect& R, const TRect& Orig);
};

class TTBCustomToolbar : public TTBCustomDockableWindow, public ITBItemContainer, public ITabOrderList {
  ZV_CLASS(TTBCustomToolbar)
public:
  explicit TTBCustomToolbar(TComponent* AOwner);
  ~TTBCustomToolbar() override;

  TTBRootItem* Items() const { return FItem; }
  TTBCustomItem* GetItems() override { return FItem; }
  TTBToolbarView* View() const { return FView; }
  TTBChevronItem* ChevronItem() const { return FChevronItem; }

  const std::string& ChevronHint() const { return FChevronHint; }
  void SetChevronHint(const std::string& V);
  bool ChevronMoveItems() const { return FChevronMoveItems; }
  void SetChevronMoveItems(bool V);
  TTBChevronPriorityForNewItems ChevronPriorityForNewItems() const { return FChevronPriorityForNewItems; }
  void SetChevronPriorityForNewItems(TTBChevronPriorityForNewItems V);
  int FloatingWidth() const { return FFloatingWidth; }
  void SetFloatingWidth(int V);
  TCustomImageList* Images() const { return FItem->SubMenuImages(); }
  void SetImages(TCustomImageList* V) { FItem->SetSubMenuImages(V); }
  TTBCustomItem* LinkSubitems() const { return FItem->LinkSubitems(); }
  void SetLinkSubitems(TTBCustomItem* V) { FItem->SetLinkSubitems(V); }
  bool MenuBar() const { return FMenuBar; }
  void SetMenuBar(bool V);
  TTBItemOptions Options() const { return FItem->Options(); }
  void SetOptions(TTBItemOptions V) { FItem->SetOptions(V); }
  bool ProcessShortCuts() const { return FProcessShortCuts; }
  void SetProcessShortCuts(bool V);
  void SetShrinkMode(TTBShrinkMode V);
  bool SystemFont() const { return FSystemFont; }
  void SetSystemFont(bool V);
  bool UpdateActions() const { return FUpdateActions; }
  void SetUpdateActions(bool V) { FUpdateActions = V; }
  TShortCutEvent OnShortCut;

  TTBControlItem* CreateControlItem(int Index, TControl* AControl);
  TTBControlItem* FindControlItem(TControl* AControl);
  // Controls hidden behind the chevron, and all inside them, are no Tab stops.
  void GetTabOrderList(std::vector<TWinControl*>& List) override;
  // Opens a menu or clicks an item by its accelerator (Key 0: Alt alone
  // selects the first item); false when nothing answered the key.
  bool OpenByKeyboard(char Key, bool DialogMode);
  void UpdateShortCutRegistration();
  void RegisterShortCuts();
  void UnregisterShortCuts();
  bool ShortCutsRegistered() const { return FShortCutsRegistered; }
  bool DoShortCut(TMessage& Message);
  // The idle update of the actions of the items it shows (when
  // UpdateActions); the window's update routine calls it.
  void InitiateAction();
  // Removes the hover selection unless the mouse is captured.
  void CancelHover();
  // Whether a press at the client point is for a child control or an item
  // rather than a drag of the toolbar.
  bool PointOverChild(TPoint ClientPos);
  void PointOverChild(TPoint P, bool& Found) override {
    if (!Found) Found = PointOverChild(P);
  }

  // Layout.
  TPoint BaseSize() override;
  TTBShrinkMode ShrinkMode() override { return FShrinkMode; }
  int MinimumLength() override;
  TPoint SizeForShrunkLength(int ShrunkLen, bool Vertical) override;
  void PlaceInDock(const TRect& Bounds, bool Resized) override;
  void Arrange() override;
  // The size for a docking state; without Apply a trial that changes
  // nothing but the stored row count.
  TPoint SizeForState(bool Apply, TTBDockKind NewDockKind, bool NewFloating, TTBDock* NewDock) override;
  int LastRowCount() const { return FLastRowCount; }
  int CalcWrapOffset(TTBDock* Dock);
  int CalcChevronOffset(TTBDock* Dock, TTBViewOrientation Orientation);
  void UpdateViewLayoutSettings();
  TPoint RowCrossSize();

  // Floating resizing, driven by the floating frame's resize loop; the
  // frame gives its size, its border sizes and the client offset.
  std::vector<TPoint> ListFloatingSizes();
  void SizingStarted(int Handle, TPoint FrameSize, TPoint FrameBorder, int FrameOffset);
  // From the floating window's sizing loop: takes the frame's sizes itself.
  void SizingStarted(int Handle) override;
  void SizingRectChanging(TRect& NewRect, const TRect& OrigRect) override;
  void BeforeSizeApplied() override;
  void SizingEnded() override;
  const TToolbarSizeData* SizeData() const { return FSizeData.get(); }

  // Layout store.
  void LoadExtraPosition(const TTBReadPositionData& Data) override;
  void SaveExtraPosition(const TTBWritePositionData& Data) override;

  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
  void SetChildOrder(TComponent* Child, int Order) override;

protected:
  friend class TTBToolbarView;
  void Loaded() override;
  void AlignControls(TControl* AControl, TRect R) override;
  void Paint() override;
  void Dispatch(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  void AdoptChildControls();
  void WMSysCommand(TMessage& M);
  void CMControlListChange(TMessage& M);
  bool IsDesigning() const { return ComponentState().Contains(csDesigning); }
  TTBViewOrientation OrientationFor(TTBDockKind Kind) const;

  TTBRootItem* FItem = nullptr;
  TTBChevronItem* FChevronItem = nullptr;
  TTBToolbarView* FView = nullptr;
  std::string FChevronHint;
  bool FChevronMoveItems = true;
  TTBChevronPriorityForNewItems FChevronPriorityForNewItems = tbcpHighest;
  int FFloatingWidth = 0;
  bool FMenuBar = false;
  bool FProcessShortCuts = false;
  TTBShrinkMode FShrinkMode = tbsmChevron;
  bool FSystemFont = true;
  bool FUpdateActions = true;
  bool FShortCutsRegistered = false;
  bool FMenuBarHooked = false;
  bool FMouseDown = false;
  int FDisableAlignArrange = 0;
  TPoint FBaseSize{0, 0};
  int FLastRowCount = 0;
  std::unique_ptr<TToolbarSizeData> FSizeData;
};

class TTBToolbar : public TTBCustomToolbar {
  ZV_CLASS(TTBToolbar)
public:
  using TTBCustomToolbar::TTBCustomToolbar;
};

// The registered shortcut toolbars, in registration order (tests).
const std::vector<TTBCustomToolbar*>* ShortCutToolbars();
