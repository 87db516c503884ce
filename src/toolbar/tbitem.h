// Toolbar and menu items: the item tree, its options and change
// notifications (views register a handler on the item whose children they
// show), and the items' behaviour as commands: clicks, actions, shortcuts and
// clicks deferred until a menu has closed.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/exceptions.h"
#include "platform/ui/actions.h"
#include "platform/ui/classes.h"
#include "platform/ui/imglist.h"
#include "platform/ui/messages.h"
#include "platform/ui/shortcuts.h"

class TTBCustomItem;
class TTBItemViewer;
class TTBView;
class TTBPopupWindow;

ZV_DECLARE_EXCEPTION(ETBItemError, Exception)

enum TTBItemOption {
  tboDefault, tboDropdownArrow, tboImageAboveCaption, tboLongHintInMenuOnly, tboNoAutoHint, tboNoRotation,
  tboSameWidth, tboShowHint, tboToolbarStyle, tboToolbarSize
};
using TTBItemOptions = TEnumSet<TTBItemOption>;
const TEnumInfo& TBItemOptionEnumInfo();

enum TTBItemDisplayMode { nbdmDefault, nbdmTextOnly, nbdmTextOnlyInMenus, nbdmImageAndText };
const TEnumInfo& TBItemDisplayModeEnumInfo();

// Internal behaviour flags of an item kind.
using TTBItemStyle = uint16_t;
constexpr TTBItemStyle tbisSubmenu = 0x0001, tbisSelectable = 0x0002, tbisSeparator = 0x0004,
                       tbisEmbeddedGroup = 0x0008, tbisClicksTransparent = 0x0010, tbisCombo = 0x0020,
                       tbisNoAutoOpen = 0x0040, tbisSubitemsEditable = 0x0080, tbisNoLineBreak = 0x0100,
                       tbisRightAlign = 0x0200, tbisDontSelectFirst = 0x0400, tbisRedrawOnSelChange = 0x0800,
                       tbisRedrawOnMouseOverChange = 0x1000;

enum TTBItemChangedAction {
  tbicInserted, tbicDeleting, tbicSubitemsChanged, tbicSubitemsBeginUpdate, tbicSubitemsEndUpdate, tbicInvalidate,
  tbicInvalidateAndResize, tbicRecreateItemViewers, tbicNameChanged, tbicSubMenuImagesChanged
};

using TTBItemChangedProc = std::function<void(TTBCustomItem* Sender, bool Relayed, TTBItemChangedAction Action,
                                              int Index, TTBCustomItem* Item)>;
using TTBPopupEvent = std::function<void(TTBCustomItem* Sender, bool FromLink)>;
using TTBSelectEvent = std::function<void(TTBCustomItem* Sender, TTBItemViewer* Viewer, bool Selecting)>;

// One registered change handler. The key identifies it (the object and the
// method it stands for), so the same handler registered twice is counted.
struct TItemChangedNotificationData {
  const void* Key = nullptr;
  int Slot = 0;
  TTBItemChangedProc Proc;
  int RefCount = 0;
};

// Remembers the image list's size so that a change can be told apart as a
// size change.
class TTBImageChangeLink : public TChangeLink {
public:
  int LastWidth = -1, LastHeight = -1;
};

class TTBCustomItemActionLink : public TActionLink {
public:
  explicit TTBCustomItemActionLink(TTBCustomItem* AClient);
  TTBCustomItem* ItemClient() const { return FItem; }
  virtual bool IsAutoCheckLinked() const;
  bool IsCaptionLinked() const override;
  bool IsCheckedLinked() const override;
  bool IsEnabledLinked() const override;
  bool IsHelpContextLinked() const override;
  bool IsHintLinked() const override;
  bool IsImageIndexLinked() const override;
  bool IsShortCutLinked() const override;
  bool IsVisibleLinked() const override;
  bool IsOnExecuteLinked() const override;
  void SetAutoCheck(bool v) override;
  void SetCaption(const std::string& v) override;
  void SetChecked(bool v) override;
  void SetEnabled(bool v) override;
  void SetHelpContext(int v) override;
  void SetHint(const std::string& v) override;
  void SetImageIndex(int v) override;
  void SetShortCut(TShortCut v) override;
  void SetVisible(bool v) override;
  void SetOnExecute(const TNotifyEvent& v) override;

private:
  TTBCustomItem* FItem;
};

// What a finished menu loop run has to do.
enum TTBDoneAction { tbdaNone, tbdaCancel, tbdaClickItem, tbdaOpenSystemMenu, tbdaHelpContext };
struct TTBDoneActionData {
  TTBDoneAction DoneAction = tbdaNone;
  TTBCustomItem* ClickItem = nullptr;
  bool Sound = false;
  HWND Wnd = 0;
  uint32_t Key = 0;
  int ContextID = 0;
};

class TTBCustomItem : public TComponent {
  ZV_CLASS(TTBCustomItem)
public:
  explicit TTBCustomItem(TComponent* AOwner);
  ~TTBCustomItem() override;

  // The tree.
  int Count() const { return FItems ? static_cast<int>(FItems->size()) : 0; }
  TTBCustomItem* Items(int Index) const;
  TTBCustomItem* Parent() const { return FParent; }
  void Add(TTBCustomItem* AItem) { Insert(Count(), AItem); }
  void Insert(int NewIndex, TTBCustomItem* AItem);
  void Delete(int Index);
  int IndexOf(TTBCustomItem* AItem) const;
  void Remove(TTBCustomItem* AItem);
  void Move(int CurIndex, int NewIndex);
  // Frees every child.
  void Clear();

  // Notifications.
  void RegisterNotification(const void* Key, TTBItemChangedProc Proc, int Slot = 0);
  void UnregisterNotification(const void* Key, int Slot = 0);
  int NotificationCount() const { return FNotifyList ? static_cast<int>(FNotifyList->size()) : 0; }
  void Notify(TTBItemChangedAction Action, int Index, TTBCustomItem* Item);
  void ViewBeginUpdate() { Notify(tbicSubitemsBeginUpdate, -1, nullptr); }
  void ViewEndUpdate() { Notify(tbicSubitemsEndUpdate, -1, nullptr); }

  virtual void Change(bool NeedResize);
  void RefreshOptions();
  static TTBItemOptions FixOptions(TTBItemOptions Value);
  std::string GetShortCutText() const;

  // Properties.
  TBasicAction* Action() const;
  void SetAction(TBasicAction* Value);
  TTBCustomItemActionLink* ActionLink() const { return FActionLink.get(); }
  bool AutoCheck() const { return FAutoCheck; }
  void SetAutoCheck(bool v) { FAutoCheck = v; }
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& v);
  bool Checked() const { return FChecked; }
  void SetChecked(bool v);
  TTBItemDisplayMode DisplayMode() const { return FDisplayMode; }
  void SetDisplayMode(TTBItemDisplayMode v);
  bool DropdownCombo() const { return (FItemStyle & tbisCombo) != 0; }
  void SetDropdownCombo(bool v);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool v);
  TTBItemOptions EffectiveOptions() const { return FEffectiveOptions; }
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int v);
  int HelpContext() const { return FHelpContext; }
  void SetHelpContext(int v) { FHelpContext = v; }
  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& v) { FHint = v; }
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int v);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* v);
  bool InheritOptions() const { return FInheritOptions; }
  void SetInheritOptions(bool v);
  TTBCustomItem* LinkSubitems() const { return FLinkSubitems; }
  void SetLinkSubitems(TTBCustomItem* v);
  TTBItemOptions MaskOptions() const { return FMaskOptions; }
  void SetMaskOptions(TTBItemOptions v);
  TTBItemOptions Options() const { return FOptions; }
  void SetOptions(TTBItemOptions v);
  bool RadioItem() const { return FRadioItem; }
  void SetRadioItem(bool v);
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut v) { FShortCut = v; }
  TCustomImageList* SubMenuImages() const { return FSubMenuImages; }
  void SetSubMenuImages(TCustomImageList* v);
  bool Visible() const { return FVisible; }
  void SetVisible(bool v);
  TTBItemStyle ItemStyle() const { return FItemStyle; }
  void SetItemStyle(TTBItemStyle v) { FItemStyle = v; }
  TComponent* ParentComponent() const { return FParentComponent; }
  void SetParentComponentDirect(TComponent* v) { FParentComponent = v; }
  const std::vector<TTBCustomItem*>* LinkParents() const { return FLinkParents.get(); }

  // OnClick: assigning it by hand makes it the item's own handler, which
  // takes precedence over the action's.
  const TNotifyEvent& OnClick() const { return FOnClick; }
  void SetOnClick(TNotifyEvent v);
  // Whether OnClick is the action's current execute handler.
  bool OnClickIsActionHandler() const;
  TTBPopupEvent OnPopup;
  TTBSelectEvent OnSelect;

  // The viewer that shows this item in a view (its kind decides the class).
  virtual TTBItemViewer* NewViewer(TTBView* AView, int AGroupLevel);
  virtual bool NeedToRecreateViewer(TTBItemViewer*) { return false; }
  // For the chevron item: the toolbar view whose hidden items it shows.
  virtual TTBView* GetChevronParentView() { return nullptr; }
  // Opens the children in a popup window beside the parent viewer (or at
  // PopupPoint when there is none); the caller owns the window.
  virtual TTBPopupWindow* CreatePopup(TTBView* ParentView, TTBItemViewer* ParentViewer, bool PositionAsSubmenu,
                                      bool SelectFirstItem, bool Customizing, TPoint PopupPoint, int Alignment);

  // Shows the children as a modal popup menu at a screen point and returns
  // the chosen item (clicked later from the event loop unless
  // ReturnClickedItemOnly).
  TTBCustomItem* Popup(int X, int Y, bool TrackRightButton, int Alignment = 0, bool ReturnClickedItemOnly = false);
  TTBCustomItem* RunPopup(bool SelectFirstItem, bool TrackRightButton, TPoint PopupPoint, int Alignment,
                          bool ReturnClickedItemOnly);

  // Commands.
  virtual void Click();
  virtual void DoPopup(TTBCustomItem* Sender, bool FromLink);
  virtual void EnabledChanged() { Change(false); }
  virtual void UpdateAction();
  virtual void ActionChange(TBasicAction* Sender, bool CheckDefaults);
  // The item with the shortcut in this item's tree; TopChild is the child of
  // this item that holds it.
  TTBCustomItem* FindItemWithShortCut(TShortCut AShortCut, TTBCustomItem*& TopChild);
  // A key message (WParam the virtual key, LParam the key data) matched
  // against the tree: the popups on the way fire, then the click.
  bool IsShortCut(const TMessage& Message);
  bool IsShortCut(TShortCut AShortCut);

  // Streaming hooks.
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
  void SetChildOrder(TComponent* Child, int Order) override;
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;
  void Loaded() override;
  void SetName(const std::string& NewName) override;

  // Stored rules of the linked properties.
  bool IsCaptionStored() const;
  bool IsCheckedStored() const;
  bool IsEnabledStored() const;
  bool IsHelpContextStored() const;
  bool IsHintStored() const;
  bool IsImageIndexStored() const;
  bool IsShortCutStored() const;
  bool IsVisibleStored() const;
  bool IsAutoCheckStored() const;
  bool IsOnClickStored() const;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void RelayNotification(TTBCustomItem* Sender, int Depth, TTBItemChangedAction Action, int Index,
                         TTBCustomItem* Item);
  void TurnSiblingsOff();
  void SubMenuImagesChanged() { Notify(tbicSubMenuImagesChanged, -1, nullptr); }
  void DoActionChange(TObject* Sender);

  TTBItemStyle FItemStyle = 0x1802;

private:
  friend class TTBCustomItemActionLink;
  void ChangeImageList(TCustomImageList* NewValue, TCustomImageList*& Field, std::unique_ptr<TTBImageChangeLink>& Link,
                       bool& SizeChanged);
  void ImageListChangeHandler(TObject* Sender);
  void ActionLinkChanged();

  std::unique_ptr<TTBCustomItemActionLink> FActionLink;
  TBasicAction* FActionComponent = nullptr;  // the action the link was made for
  bool FAutoCheck = false;
  std::string FCaption;
  bool FChecked = false;
  TTBItemDisplayMode FDisplayMode = nbdmDefault;
  bool FEnabled = true;
  TTBItemOptions FEffectiveOptions;
  int FGroupIndex = 0;
  int FHelpContext = 0;
  std::string FHint;
  int FImageIndex = -1;
  TCustomImageList* FImages = nullptr;
  std::unique_ptr<TTBImageChangeLink> FImagesChangeLink;
  std::unique_ptr<std::vector<TTBCustomItem*>> FItems;
  std::unique_ptr<std::vector<TTBCustomItem*>> FLinkParents;
  TTBItemOptions FMaskOptions;
  TTBItemOptions FOptions;
  bool FInheritOptions = true;
  std::unique_ptr<std::vector<std::unique_ptr<TItemChangedNotificationData>>> FNotifyList;
  TNotifyEvent FOnClick;
  TBasicAction* FOnClickAction = nullptr;  // whose execute handler OnClick holds
  uint64_t FOnClickActionId = 0;
  TTBCustomItem* FParent = nullptr;
  TComponent* FParentComponent = nullptr;
  bool FRadioItem = false;
  TShortCut FShortCut = 0;
  TCustomImageList* FSubMenuImages = nullptr;
  std::unique_ptr<TTBImageChangeLink> FSubMenuImagesChangeLink;
  TTBCustomItem* FLinkSubitems = nullptr;
  bool FVisible = true;
  // Cleared when the item goes, so queued clicks for it are dropped.
  std::shared_ptr<TTBCustomItem*> FAliveToken;
  friend void PostClick(TTBCustomItem* Item);
  friend void CancelDeferredClicks(TTBCustomItem* Item);
};

// Implemented by components that hold a root item (popup menus, toolbars).
class ITBItemContainer {
public:
  virtual ~ITBItemContainer() = default;
  virtual TTBCustomItem* GetItems() = 0;
};

TTBCustomItem* GetContainerItem(TComponent* AComponent);
TTBCustomItem* ResolveLinkedItem(TTBCustomItem* Item);

// Runs the item's Click from the event loop, after the current event (the
// menu loop) has returned; dropped when the item is freed first.
void PostClick(TTBCustomItem* Item);
void CancelDeferredClicks(TTBCustomItem* Item);
// Carries out a finished menu loop run's outcome; returns the chosen item.
TTBCustomItem* ExecuteDoneAction(const TTBDoneActionData& Data, bool ReturnClickedItemOnly);

class TTBRootItem : public TTBCustomItem {
  ZV_CLASS(TTBRootItem)
public:
  using TTBCustomItem::TTBCustomItem;
};

class TTBItem : public TTBCustomItem {
  ZV_CLASS(TTBItem)
public:
  using TTBCustomItem::TTBCustomItem;
};

class TTBSubmenuItem : public TTBCustomItem {
  ZV_CLASS(TTBSubmenuItem)
public:
  explicit TTBSubmenuItem(TComponent* AOwner);
};

class TTBSeparatorItem : public TTBCustomItem {
  ZV_CLASS(TTBSeparatorItem)
public:
  explicit TTBSeparatorItem(TComponent* AOwner);
  TTBItemViewer* NewViewer(TTBView* AView, int AGroupLevel) override;
  bool Blank() const { return FBlank; }
  void SetBlank(bool v);

private:
  bool FBlank = false;
};

class TControl;
class TTBControlItem : public TTBCustomItem {
  ZV_CLASS(TTBControlItem)
public:
  explicit TTBControlItem(TComponent* AOwner);
  ~TTBControlItem() override;
  TControl* Control() const { return FControl; }
  void SetControl(TControl* v);
  bool DontFreeControl() const { return FDontFreeControl; }
  void SetDontFreeControl(bool v) { FDontFreeControl = v; }

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  TControl* FControl = nullptr;
  bool FDontFreeControl = false;
};
