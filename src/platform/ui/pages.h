// Tabs: TTabControl (a row of tabs over an area the program fills itself)
// and TPageControl with its TTabSheet pages (one sheet shown at a time, the
// tab of each visible page in the row).
//
// Both paint their tabs through the canvas in the classic look. The tabs run
// along the top, one row that scrolls with two arrow buttons when it is too
// long, or, with MultiLine, as many rows as needed with the row of the
// current tab next to the page. ClientRect is the area below the tabs inside
// the frame (DisplayRect), so aligned children fill the page.
//
// Events: a click on a tab, or Left/Right and Ctrl+Tab while the control has
// the focus, asks OnChanging (which may refuse) and then fires OnChange.
// Changing the current tab from code (TabIndex, ActivePage,
// ActivePageIndex) fires neither, as in the class library.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/stringlist.h"
#include "platform/ui/controls.h"

using TTabChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

class TCustomTabControl : public TCustomControl {
  ZV_CLASS(TCustomTabControl)
public:
  explicit TCustomTabControl(TComponent* AOwner);
  ~TCustomTabControl() override;

  bool MultiLine() const { return FMultiLine; }
  void SetMultiLine(bool v);
  // The tab under the mouse shows its caption in the highlight colour.
  bool HotTrack() const { return FHotTrack; }
  void SetHotTrack(bool v) { FHotTrack = v; }
  // 0: from the font.
  int TabHeight() const { return FTabHeight; }
  void SetTabHeight(int v);
  // 0: each tab as wide as its caption needs.
  int TabWidth() const { return FTabWidth; }
  void SetTabWidth(int v);
  // The number of rows the tabs take.
  int RowCount() const;
  // A shown tab's rectangle (client coordinates); empty for a tab scrolled
  // out of the row or out of range.
  TRect TabRect(int Index) const;
  // The shown tab at a point, -1 when none.
  int IndexOfTabAt(int X, int Y) const;
  // The area inside the frame below the tabs.
  TRect DisplayRect() const;
  TRect ClientRect() const override { return DisplayRect(); }

  TNotifyEvent OnChange;
  TTabChangingEvent OnChanging;

protected:
  // The tabs shown, in order, and the current one among them (-1: none).
  virtual int ShownCount() const = 0;
  virtual std::string ShownCaption(int Index) const = 0;
  virtual bool ShownHighlighted(int) const { return false; }
  virtual int ShownCurrent() const = 0;
  // Makes a shown tab current (the user's choice, after CanChange).
  virtual void SelectShown(int Index) = 0;
  virtual bool CanChange();
  virtual void Change();
  // The tabs, captions or current tab changed: lays the row out again,
  // realigns the children and repaints.
  void TabsChanged();

  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void CMMouseLeave(TMessage& M) override;
  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void WMGetDlgCode(TMessage& M) override;
  void WMSetFocus(TMessage& M) override;
  void WMKillFocus(TMessage& M) override;
  void BoundsChanged(bool sizeChanged) override;
  void FontChanged() override;
  void CMTextChanged(TMessage& M) override;

  // The user moves to a shown tab: asks, changes, tells.
  void UserSelect(int Index);

private:
  struct TLayout;
  const TLayout& Layout() const;
  void ScrollTabs(int Delta);

  bool FMultiLine = false;
  bool FHotTrack = false;
  int FTabHeight = 0;
  int FTabWidth = 0;
  int FHotIndex = -1;
  int FFirstTab = 0;  // the first tab shown in a scrolled single row
  mutable std::unique_ptr<TLayout> FLayout;
};

class TTabControl;

// The tab captions of a tab control.
class TTabStrings : public TStrings {
public:
  explicit TTabStrings(TTabControl* Control) : FControl(Control) {}
  std::string ClassName() const override { return "TTabStrings"; }
  int Count() const override { return static_cast<int>(FItems.size()); }
  std::string Get(int index) const override;
  void Put(int index, const std::string& s) override;
  TObject* GetObject(int index) const override;
  void PutObject(int index, TObject* obj) override;
  void Insert(int index, const std::string& s) override;
  void Delete(int index) override;
  void Clear() override;

private:
  TTabControl* FControl;
  std::vector<std::pair<std::string, TObject*>> FItems;
};

class TTabControl : public TCustomTabControl {
  ZV_CLASS(TTabControl)
public:
  explicit TTabControl(TComponent* AOwner);
  ~TTabControl() override;
  TStrings* Tabs() { return FTabs.get(); }
  void SetTabs(TStrings* v) { FTabs->Assign(*v); }
  // The first tab added to an empty control becomes current; deleting the
  // current tab leaves none (-1), clearing too.
  int TabIndex() const { return FTabIndex; }
  void SetTabIndex(int v);

protected:
  friend class TTabStrings;
  int ShownCount() const override { return FTabs->Count(); }
  std::string ShownCaption(int Index) const override { return FTabs->Get(Index); }
  int ShownCurrent() const override { return FTabIndex; }
  void SelectShown(int Index) override;

private:
  std::unique_ptr<TTabStrings> FTabs;
  int FTabIndex = -1;
};

class TPageControl;

// A page of a page control. Setting PageControl moves the sheet (with its
// children) to another page control, or out of any with nil; Parent may
// also be set to another control, which shows the sheet there while its tab
// stays in its page control until Parent is the page control again.
class TTabSheet : public TWinControl {
  ZV_CLASS(TTabSheet)
public:
  explicit TTabSheet(TComponent* AOwner);
  ~TTabSheet() override;
  TPageControl* PageControl() const { return FPageControl; }
  void SetPageControl(TPageControl* v);
  // The position among its page control's pages.
  int PageIndex() const;
  void SetPageIndex(int v);
  // The position among the tabs shown, -1 when its tab is hidden.
  int TabIndex() const;
  bool TabVisible() const { return FTabVisible; }
  void SetTabVisible(bool v);
  // The tab drawn in the highlight colour.
  bool Highlighted() const { return FHighlighted; }
  void SetHighlighted(bool v);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int v) { FImageIndex = v; }
  void SetParent(TWinControl* AParent) override;
  // Fired as the sheet becomes (stops being) the active page.
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;

protected:
  friend class TPageControl;
  void CMTextChanged(TMessage& M) override;

private:
  TPageControl* FPageControl = nullptr;
  bool FTabVisible = true;
  bool FHighlighted = false;
  int FImageIndex = -1;
};

class TPageControl : public TCustomTabControl {
  ZV_CLASS(TPageControl)
public:
  explicit TPageControl(TComponent* AOwner);
  ~TPageControl() override;
  int PageCount() const { return static_cast<int>(FPages.size()); }
  TTabSheet* Pages(int Index) const;
  TTabSheet* ActivePage() const { return FActivePage; }
  void SetActivePage(TTabSheet* Page);
  int ActivePageIndex() const { return FActivePage ? FActivePage->PageIndex() : -1; }
  void SetActivePageIndex(int v);
  // The index of the active page among the shown tabs (-1: none).
  int TabIndex() const { return FActivePage ? FActivePage->TabIndex() : -1; }
  // The page after (before) Current, wrapping round; with CheckTabVisible
  // only pages whose tab shows. Nil when there is none.
  TTabSheet* FindNextPage(TTabSheet* Current, bool GoForward, bool CheckTabVisible) const;
  // Moves to the next (previous) page as the user would: asks OnChanging,
  // fires OnChange.
  void SelectNextPage(bool GoForward);

  void AlignControls(TControl* AControl, TRect Rect) override;
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;

protected:
  friend class TTabSheet;
  void InsertPage(TTabSheet* Page);
  void RemovePage(TTabSheet* Page);
  void MovePage(TTabSheet* Page, int Index);
  // A page's tab appeared or went away.
  void PageTabChanged(TTabSheet* Page, bool WasShown);
  void ChangeActivePage(TTabSheet* Page);
  int ShownCount() const override;
  std::string ShownCaption(int Index) const override;
  bool ShownHighlighted(int Index) const override;
  int ShownCurrent() const override { return TabIndex(); }
  void SelectShown(int Index) override;
  TTabSheet* ShownPage(int Index) const;

private:
  std::vector<TTabSheet*> FPages;
  TTabSheet* FActivePage = nullptr;
};
