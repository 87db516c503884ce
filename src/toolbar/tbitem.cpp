#include "toolbar/tbitem.h"

#include <algorithm>

#include "platform/ui/controls.h"
#include "platform/ui/forms.h"
#include "platform/ui/queuedcall.h"
#include "platform/ui/syssettings.h"
#include "toolbar/tbcommon.h"

namespace {

constexpr const char* kIndexError = "Toolbar item index out of range";

[[noreturn]] void RaiseItemIndexError() { throw ETBItemError(kIndexError); }

// Options whose change alters an item's size or look.
const TTBItemOptions kResizeOptions = {tboDefault,  tboDropdownArrow, tboImageAboveCaption, tboNoRotation,
                                       tboSameWidth, tboToolbarStyle,  tboToolbarSize};

// Runs f; an exception goes to the application's handler.
template <class F>
void Guarded(TObject* sender, F f) {
  try {
    f();
  } catch (...) {
    if (Application) Application->HandleException(sender);
  }
}

}  // namespace

const TEnumInfo& TBItemOptionEnumInfo() {
  static const TEnumInfo info{"TTBItemOption",
                              {"tboDefault", "tboDropdownArrow", "tboImageAboveCaption", "tboLongHintInMenuOnly",
                               "tboNoAutoHint", "tboNoRotation", "tboSameWidth", "tboShowHint", "tboToolbarStyle",
                               "tboToolbarSize"},
                              0};
  return info;
}

const TEnumInfo& TBItemDisplayModeEnumInfo() {
  static const TEnumInfo info{
      "TTBItemDisplayMode", {"nbdmDefault", "nbdmTextOnly", "nbdmTextOnlyInMenus", "nbdmImageAndText"}, 0};
  return info;
}

// ---------------------------------------------------------------------------
// Published properties

void TTBCustomItem::DeclareProperties(TClassInfo&) {}
ZV_CLASS_IMPL(TTBCustomItem, TComponent)

namespace {
// The properties every concrete item kind publishes.
template <class T>
void DeclareItemProperties(TClassInfo& c) {
  c.template Object<T, TBasicAction>("Action", &T::Action, &T::SetAction);
  c.template Boolean<T>("AutoCheck", &T::AutoCheck, &T::SetAutoCheck, false)
      .WithStored([](TObject* o) { return static_cast<T*>(o)->IsAutoCheckStored(); });
  c.template String<T>("Caption", &T::Caption, &T::SetCaption, std::string())
      .WithStored([](TObject* o) { return static_cast<T*>(o)->IsCaptionStored(); });
  c.template Boolean<T>("Checked", &T::Checked, &T::SetChecked, false)
      .WithStored([](TObject* o) { return static_cast<T*>(o)->IsCheckedStored(); });
  c.template Enum<T>(
      "DisplayMode", TBItemDisplayModeEnumInfo(), [](T* i) { return static_cast<int64_t>(i->DisplayMode()); },
      [](T* i, int64_t v) { i->SetDisplayMode(static_cast<TTBItemDisplayMode>(v)); }, nbdmDefault);
  c.template Boolean<T>("Enabled", &T::Enabled, &T::SetEnabled, true)
      .WithStored([](TObject* o) { return static_cast<T*>(o)->IsEnabledStored(); });
  c.template Integer<T>("GroupIndex", &T::GroupIndex, &T::SetGroupIndex, 0);
  c.template Integer<T>("HelpContext", &T::HelpContext, &T::SetHelpContext, 0)
      .WithStored([](TObject* o) { return static_cast<T*>(o)->IsHelpContextStored(); });
  c.template String<T>("Hint", &T::Hint, &T::SetHint, std::string())
      .WithStored([](TObject* o) { return static_cast<T*>(o)->IsHintStored(); });
  c.template Integer<T>("ImageIndex", &T::ImageIndex, &T::SetImageIndex, -1)
      .WithStored([](TObject* o) { return static_cast<T*>(o)->IsImageIndexStored(); });
  c.template Object<T, TCustomImageList>("Images", &T::Images, &T::SetImages);
  c.template Boolean<T>("InheritOptions", &T::InheritOptions, &T::SetInheritOptions, true);
  c.template Set<T>(
      "MaskOptions", TBItemOptionEnumInfo(), [](T* i) { return static_cast<int64_t>(i->MaskOptions().Bits()); },
      [](T* i, int64_t v) { i->SetMaskOptions(TTBItemOptions::FromBits(static_cast<uint64_t>(v))); }, 0);
  c.template Set<T>(
      "Options", TBItemOptionEnumInfo(), [](T* i) { return static_cast<int64_t>(i->Options().Bits()); },
      [](T* i, int64_t v) { i->SetOptions(TTBItemOptions::FromBits(static_cast<uint64_t>(v))); }, 0);
  c.template Boolean<T>("RadioItem", &T::RadioItem, &T::SetRadioItem, false);
  c.template Integer<T>(
       "ShortCut", [](T* i) { return static_cast<int64_t>(i->ShortCut()); },
       [](T* i, int v) { i->SetShortCut(static_cast<TShortCut>(v)); }, 0)
      .WithStored([](TObject* o) { return static_cast<T*>(o)->IsShortCutStored(); });
  c.template Boolean<T>("Visible", &T::Visible, &T::SetVisible, true)
      .WithStored([](TObject* o) { return static_cast<T*>(o)->IsVisibleStored(); });
  c.template Method<T, TNotifyEvent>(
       "OnClick", [](T* i) { return static_cast<bool>(i->OnClick()); },
       [](T* i, TNotifyEvent e) { i->SetOnClick(std::move(e)); })
      .WithStored([](TObject* o) { return static_cast<T*>(o)->IsOnClickStored(); });
  c.template Method<T, TTBSelectEvent>(
      "OnSelect", [](T* i) { return static_cast<bool>(i->OnSelect); },
      [](T* i, TTBSelectEvent e) { i->OnSelect = std::move(e); });
}
}  // namespace

void TTBRootItem::DeclareProperties(TClassInfo&) {}
ZV_CLASS_IMPL(TTBRootItem, TTBCustomItem)
void TTBItem::DeclareProperties(TClassInfo& c) { DeclareItemProperties<TTBItem>(c); }
ZV_CLASS_IMPL(TTBItem, TTBCustomItem)
void TTBSubmenuItem::DeclareProperties(TClassInfo& c) {
  DeclareItemProperties<TTBSubmenuItem>(c);
  c.Boolean<TTBSubmenuItem>("DropdownCombo", &TTBSubmenuItem::DropdownCombo, &TTBSubmenuItem::SetDropdownCombo,
                            false);
  c.Object<TTBSubmenuItem, TTBCustomItem>("LinkSubitems", &TTBSubmenuItem::LinkSubitems,
                                          &TTBSubmenuItem::SetLinkSubitems);
  c.Object<TTBSubmenuItem, TCustomImageList>("SubMenuImages", &TTBSubmenuItem::SubMenuImages,
                                             &TTBSubmenuItem::SetSubMenuImages);
  c.Method<TTBSubmenuItem, TTBPopupEvent>(
      "OnPopup", [](TTBSubmenuItem* i) { return static_cast<bool>(i->OnPopup); },
      [](TTBSubmenuItem* i, TTBPopupEvent e) { i->OnPopup = std::move(e); });
}
ZV_CLASS_IMPL(TTBSubmenuItem, TTBCustomItem)
void TTBSeparatorItem::DeclareProperties(TClassInfo& c) {
  c.Boolean<TTBSeparatorItem>("Blank", &TTBSeparatorItem::Blank, &TTBSeparatorItem::SetBlank, false);
  c.String<TTBSeparatorItem>("Hint", &TTBSeparatorItem::Hint, &TTBSeparatorItem::SetHint, std::string());
  c.Boolean<TTBSeparatorItem>("Visible", &TTBSeparatorItem::Visible, &TTBSeparatorItem::SetVisible, true);
}
ZV_CLASS_IMPL(TTBSeparatorItem, TTBCustomItem)
void TTBControlItem::DeclareProperties(TClassInfo& c) {
  c.Object<TTBControlItem, TControl>("Control", &TTBControlItem::Control, &TTBControlItem::SetControl);
}
ZV_CLASS_IMPL(TTBControlItem, TTBCustomItem)

// ---------------------------------------------------------------------------
// The action link

TTBCustomItemActionLink::TTBCustomItemActionLink(TTBCustomItem* AClient) : TActionLink(AClient), FItem(AClient) {}

bool TTBCustomItemActionLink::IsAutoCheckLinked() const {
  auto* a = CustomAction();
  return a && a->AutoCheck() == FItem->AutoCheck();
}
bool TTBCustomItemActionLink::IsCaptionLinked() const {
  return TActionLink::IsCaptionLinked() && CustomAction()->Caption() == FItem->Caption();
}
bool TTBCustomItemActionLink::IsCheckedLinked() const {
  return TActionLink::IsCheckedLinked() && CustomAction()->Checked() == FItem->Checked();
}
bool TTBCustomItemActionLink::IsEnabledLinked() const {
  return TActionLink::IsEnabledLinked() && CustomAction()->Enabled() == FItem->Enabled();
}
bool TTBCustomItemActionLink::IsHelpContextLinked() const {
  return TActionLink::IsHelpContextLinked() && CustomAction()->HelpContext() == FItem->HelpContext();
}
bool TTBCustomItemActionLink::IsHintLinked() const {
  return TActionLink::IsHintLinked() && CustomAction()->Hint() == FItem->Hint();
}
bool TTBCustomItemActionLink::IsImageIndexLinked() const {
  return TActionLink::IsImageIndexLinked() && CustomAction()->ImageIndex() == FItem->ImageIndex();
}
bool TTBCustomItemActionLink::IsShortCutLinked() const {
  return TActionLink::IsShortCutLinked() && CustomAction()->ShortCut() == FItem->ShortCut();
}
bool TTBCustomItemActionLink::IsVisibleLinked() const {
  return TActionLink::IsVisibleLinked() && CustomAction()->Visible() == FItem->Visible();
}
bool TTBCustomItemActionLink::IsOnExecuteLinked() const {
  return TActionLink::IsOnExecuteLinked() && FItem->OnClickIsActionHandler();
}
void TTBCustomItemActionLink::SetAutoCheck(bool v) {
  if (IsAutoCheckLinked() || CustomAction()) FItem->FAutoCheck = v;
}
void TTBCustomItemActionLink::SetCaption(const std::string& v) {
  if (TActionLink::IsCaptionLinked()) FItem->SetCaption(v);
}
void TTBCustomItemActionLink::SetChecked(bool v) {
  if (TActionLink::IsCheckedLinked()) FItem->SetChecked(v);
}
void TTBCustomItemActionLink::SetEnabled(bool v) {
  if (TActionLink::IsEnabledLinked()) FItem->SetEnabled(v);
}
void TTBCustomItemActionLink::SetHelpContext(int v) {
  if (TActionLink::IsHelpContextLinked()) FItem->FHelpContext = v;
}
void TTBCustomItemActionLink::SetHint(const std::string& v) {
  if (TActionLink::IsHintLinked()) FItem->FHint = v;
}
void TTBCustomItemActionLink::SetImageIndex(int v) {
  if (TActionLink::IsImageIndexLinked()) FItem->SetImageIndex(v);
}
void TTBCustomItemActionLink::SetShortCut(TShortCut v) {
  if (TActionLink::IsShortCutLinked()) FItem->FShortCut = v;
}
void TTBCustomItemActionLink::SetVisible(bool v) {
  if (TActionLink::IsVisibleLinked()) FItem->SetVisible(v);
}
void TTBCustomItemActionLink::SetOnExecute(const TNotifyEvent& v) {
  // The action has just taken a new handler: an item that held the previous
  // one follows it.
  if (FAction && FItem->FOnClickAction == FAction && FItem->FOnClickActionId + 1 == FAction->ExecuteHandlerId()) {
    FItem->FOnClick = v;
    FItem->FOnClickActionId = FAction->ExecuteHandlerId();
  }
}

// ---------------------------------------------------------------------------
// Items

TTBCustomItem::TTBCustomItem(TComponent* AOwner)
    : TComponent(AOwner), FAliveToken(std::make_shared<TTBCustomItem*>(this)) {}

TTBCustomItem::~TTBCustomItem() {
  Destroying();
  CancelDeferredClicks(this);
  while (Count() > 0) delete (*FItems)[Count() - 1];
  if (FParent) FParent->Remove(this);
  FItems.reset();
  FActionLink.reset();
  if (FImages && FImagesChangeLink) FImages->UnRegisterChanges(FImagesChangeLink.get());
  if (FSubMenuImages && FSubMenuImagesChangeLink) FSubMenuImages->UnRegisterChanges(FSubMenuImagesChangeLink.get());
  FImagesChangeLink.reset();
  FSubMenuImagesChangeLink.reset();
  if (FLinkSubitems) {
    ListRemoveAndFreeEmpty(FLinkSubitems->FLinkParents, this);
    FLinkSubitems = nullptr;
  }
  // Items that show this item's children forget it (while it is whole).
  while (FLinkParents && !FLinkParents->empty()) {
    TTBCustomItem* p = FLinkParents->back();
    if (p->FLinkSubitems == this) p->SetLinkSubitems(nullptr);
    else ListRemoveAndFreeEmpty(FLinkParents, p);
  }
  FNotifyList.reset();
  FLinkParents.reset();
}

TTBCustomItem* TTBCustomItem::Items(int Index) const {
  if (Index < 0 || Index >= Count()) RaiseItemIndexError();
  return (*FItems)[Index];
}

void TTBCustomItem::Insert(int NewIndex, TTBCustomItem* AItem) {
  if (AItem->FParent) throw ETBItemError("Toolbar item already inserted");
  if (NewIndex < 0 || NewIndex > Count()) RaiseItemIndexError();
  if (!FItems) FItems = std::make_unique<std::vector<TTBCustomItem*>>();
  FItems->insert(FItems->begin() + NewIndex, AItem);
  AItem->FParent = this;
  ViewBeginUpdate();
  try {
    Notify(tbicInserted, NewIndex, AItem);
    AItem->RefreshOptions();
  } catch (...) {
    ViewEndUpdate();
    throw;
  }
  ViewEndUpdate();
}

void TTBCustomItem::Delete(int Index) {
  TTBCustomItem* item = Items(Index);
  Notify(tbicDeleting, Index, item);
  item->FParent = nullptr;
  FItems->erase(FItems->begin() + Index);
}

int TTBCustomItem::IndexOf(TTBCustomItem* AItem) const {
  if (!FItems) return -1;
  auto it = std::find(FItems->begin(), FItems->end(), AItem);
  return it == FItems->end() ? -1 : static_cast<int>(it - FItems->begin());
}

void TTBCustomItem::Remove(TTBCustomItem* AItem) {
  int i = IndexOf(AItem);
  if (i >= 0) Delete(i);
}

void TTBCustomItem::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  if (NewIndex < 0 || NewIndex >= Count()) RaiseItemIndexError();
  TTBCustomItem* item = Items(CurIndex);
  ViewBeginUpdate();
  try {
    Delete(CurIndex);
    Insert(NewIndex, item);
  } catch (...) {
    ViewEndUpdate();
    throw;
  }
  ViewEndUpdate();
}

void TTBCustomItem::Clear() {
  while (Count() > 0) delete (*FItems)[Count() - 1];
}

void TTBCustomItem::RegisterNotification(const void* Key, TTBItemChangedProc Proc, int Slot) {
  if (FNotifyList) {
    for (auto& d : *FNotifyList)
      if (d->Key == Key && d->Slot == Slot) {
        ++d->RefCount;
        return;
      }
  } else {
    FNotifyList = std::make_unique<std::vector<std::unique_ptr<TItemChangedNotificationData>>>();
  }
  auto d = std::make_unique<TItemChangedNotificationData>();
  d->Key = Key;
  d->Slot = Slot;
  d->Proc = std::move(Proc);
  d->RefCount = 1;
  FNotifyList->push_back(std::move(d));
}

void TTBCustomItem::UnregisterNotification(const void* Key, int Slot) {
  if (!FNotifyList) return;
  for (size_t i = 0; i < FNotifyList->size(); ++i) {
    auto& d = (*FNotifyList)[i];
    if (d->Key == Key && d->Slot == Slot) {
      if (--d->RefCount == 0) {
        FNotifyList->erase(FNotifyList->begin() + static_cast<long>(i));
        if (FNotifyList->empty()) FNotifyList.reset();
      }
      return;
    }
  }
}

void TTBCustomItem::Notify(TTBItemChangedAction Action, int Index, TTBCustomItem* Item) {
  RelayNotification(this, 0, Action, Index, Item);
}

void TTBCustomItem::RelayNotification(TTBCustomItem* Sender, int Depth, TTBItemChangedAction Action, int Index,
                                      TTBCustomItem* Item) {
  auto forwardFrom = [&](TTBCustomItem* from) {
    if (Depth <= 10 && (from->FItemStyle & tbisEmbeddedGroup) && from->FParent)
      from->FParent->RelayNotification(Sender == this ? from : Sender, Depth + 1, Action, Index, Item);
  };
  forwardFrom(this);
  if (FLinkParents) {
    for (TTBCustomItem* l : std::vector<TTBCustomItem*>(*FLinkParents))
      if (l != FParent) forwardFrom(l);
  }
  // A handler may unregister itself (or others) while it runs: the next one
  // is found by checking who now holds position i.
  size_t i = 0;
  while (FNotifyList && i < FNotifyList->size()) {
    TItemChangedNotificationData* d = (*FNotifyList)[i].get();
    TTBItemChangedProc proc = d->Proc;
    proc(Sender, Sender != this, Action, Index, Item);
    if (!FNotifyList || i >= FNotifyList->size()) break;
    if ((*FNotifyList)[i].get() == d) ++i;
  }
}

void TTBCustomItem::Change(bool NeedResize) {
  if (FParent) FParent->Notify(NeedResize ? tbicInvalidateAndResize : tbicInvalidate, -1, this);
}

TTBItemOptions TTBCustomItem::FixOptions(TTBItemOptions Value) {
  if (!Value.Contains(tboToolbarStyle)) Value.Exclude(tboToolbarSize);
  return Value;
}

void TTBCustomItem::RefreshOptions() {
  TTBItemOptions inherited;
  if (FInheritOptions && FParent) inherited = FParent->FEffectiveOptions - TTBItemOptions{tboDefault};
  TTBItemOptions n = FixOptions((inherited - FMaskOptions) + FOptions);
  if (n == FEffectiveOptions) return;
  TTBItemOptions old = FEffectiveOptions;
  FEffectiveOptions = n;
  if (!(TTBItemOptions::FromBits(old.Bits() ^ n.Bits()) * kResizeOptions).Empty()) Change(true);
  for (int i = 0; i < Count(); ++i) {
    TTBCustomItem* c = (*FItems)[i];
    if (c->FInheritOptions) c->RefreshOptions();
  }
}

std::string TTBCustomItem::GetShortCutText() const {
  size_t tab = FCaption.find('\t');
  if (tab != std::string::npos) return FCaption.substr(tab + 1);
  if (FShortCut != 0) return ShortCutToText(FShortCut);
  return {};
}

void TTBCustomItem::SetCaption(const std::string& v) {
  if (v == FCaption) return;
  FCaption = v;
  Change(true);
}

void TTBCustomItem::SetChecked(bool v) {
  if (v == FChecked) return;
  FChecked = v;
  Change(false);
  if (v) TurnSiblingsOff();
}

void TTBCustomItem::TurnSiblingsOff() {
  if (FGroupIndex == 0 || !FParent) return;
  for (int i = 0; i < FParent->Count(); ++i) {
    TTBCustomItem* s = FParent->Items(i);
    if (s != this && s->FGroupIndex == FGroupIndex) s->SetChecked(false);
  }
}

void TTBCustomItem::SetDisplayMode(TTBItemDisplayMode v) {
  if (v == FDisplayMode) return;
  FDisplayMode = v;
  Change(true);
}

void TTBCustomItem::SetDropdownCombo(bool v) {
  if (v == DropdownCombo()) return;
  if (v) FItemStyle |= tbisCombo;
  else FItemStyle &= ~tbisCombo;
  Change(true);
}

void TTBCustomItem::SetEnabled(bool v) {
  if (v == FEnabled) return;
  FEnabled = v;
  EnabledChanged();
}

void TTBCustomItem::SetGroupIndex(int v) {
  if (v == FGroupIndex) return;
  FGroupIndex = v;
  if (FChecked) TurnSiblingsOff();
}

void TTBCustomItem::SetImageIndex(int v) {
  if (v == FImageIndex) return;
  bool resize = (FImageIndex == -1) != (v == -1);
  FImageIndex = v;
  Change(resize);
}

void TTBCustomItem::ChangeImageList(TCustomImageList* NewValue, TCustomImageList*& Field,
                                    std::unique_ptr<TTBImageChangeLink>& Link, bool& SizeChanged) {
  int oldW = -1, oldH = -1;
  // A list being freed has already let go of its links.
  if (Field && Link && Link->Sender() == Field) {
    oldW = Field->Width();
    oldH = Field->Height();
    Field->UnRegisterChanges(Link.get());
    Field->RemoveFreeNotification(this);
  }
  Field = NewValue;
  if (!NewValue) {
    Link.reset();
    SizeChanged = true;
    return;
  }
  if (!Link) {
    Link = std::make_unique<TTBImageChangeLink>();
    Link->OnChange = [this](TObject* s) { ImageListChangeHandler(s); };
  }
  Link->LastWidth = NewValue->Width();
  Link->LastHeight = NewValue->Height();
  NewValue->RegisterChanges(Link.get());
  NewValue->FreeNotification(this);
  SizeChanged = NewValue->Width() != oldW || NewValue->Height() != oldH;
}

void TTBCustomItem::ImageListChangeHandler(TObject* Sender) {
  if (Sender && Sender == FSubMenuImages && FSubMenuImagesChangeLink) {
    FSubMenuImagesChangeLink->LastWidth = FSubMenuImages->Width();
    FSubMenuImagesChangeLink->LastHeight = FSubMenuImages->Height();
    SubMenuImagesChanged();
  }
  if (Sender && Sender == FImages && FImagesChangeLink) {
    bool resized = FImages->Width() != FImagesChangeLink->LastWidth || FImages->Height() != FImagesChangeLink->LastHeight;
    FImagesChangeLink->LastWidth = FImages->Width();
    FImagesChangeLink->LastHeight = FImages->Height();
    Change(resized);
  }
}

void TTBCustomItem::SetImages(TCustomImageList* v) {
  if (v == FImages) return;
  bool sizeChanged = false;
  ChangeImageList(v, FImages, FImagesChangeLink, sizeChanged);
  Change(sizeChanged);
}

void TTBCustomItem::SetSubMenuImages(TCustomImageList* v) {
  if (v == FSubMenuImages) return;
  bool sizeChanged = false;
  ChangeImageList(v, FSubMenuImages, FSubMenuImagesChangeLink, sizeChanged);
  SubMenuImagesChanged();
}

void TTBCustomItem::SetInheritOptions(bool v) {
  if (v == FInheritOptions) return;
  FInheritOptions = v;
  RefreshOptions();
}

void TTBCustomItem::SetMaskOptions(TTBItemOptions v) {
  if (v == FMaskOptions) return;
  FMaskOptions = v;
  RefreshOptions();
}

void TTBCustomItem::SetOptions(TTBItemOptions v) {
  v = FixOptions(v);
  if (v == FOptions) return;
  FOptions = v;
  RefreshOptions();
}

void TTBCustomItem::SetRadioItem(bool v) {
  if (v == FRadioItem) return;
  FRadioItem = v;
  Change(false);
}

void TTBCustomItem::SetVisible(bool v) {
  if (v == FVisible) return;
  FVisible = v;
  Change(true);
}

void TTBCustomItem::SetLinkSubitems(TTBCustomItem* v) {
  if (v == this) v = nullptr;
  if (v == FLinkSubitems) return;
  if (FLinkSubitems) {
    ListRemoveAndFreeEmpty(FLinkSubitems->FLinkParents, this);
    FLinkSubitems->RemoveFreeNotification(this);
  }
  FLinkSubitems = v;
  if (v) {
    v->FreeNotification(this);
    ListAddOnce(v->FLinkParents, this);
  }
  Notify(tbicSubitemsChanged, -1, nullptr);
}

void TTBCustomItem::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  // Compared as components: the item going away is no longer a whole item.
  if (FLinkParents) {
    auto it = std::find_if(FLinkParents->begin(), FLinkParents->end(),
                           [AComponent](TTBCustomItem* p) { return static_cast<TComponent*>(p) == AComponent; });
    if (it != FLinkParents->end()) ListRemoveAndFreeEmpty(FLinkParents, *it);
  }
  if (FActionLink && AComponent == FActionComponent) {
    // A freed action has let go of its links already.
    FActionLink.reset();
    FActionComponent = nullptr;
  }
  if (AComponent == FImages) SetImages(nullptr);
  if (AComponent == FSubMenuImages) SetSubMenuImages(nullptr);
  if (AComponent == FLinkSubitems) SetLinkSubitems(nullptr);
}

// ---------------------------------------------------------------------------
// Streaming hooks

void TTBCustomItem::GetChildren(const TGetChildProc& Proc, TComponent*) {
  for (int i = 0; i < Count(); ++i) Proc((*FItems)[i]);
}

void TTBCustomItem::SetChildOrder(TComponent* Child, int Order) {
  auto* item = dynamic_cast<TTBCustomItem*>(Child);
  int i = item ? IndexOf(item) : -1;
  if (i >= 0) Move(i, Order);
}

TComponent* TTBCustomItem::GetParentComponent() const {
  if (FParent && FParent->FParentComponent) return FParent->FParentComponent;
  return FParent;
}

void TTBCustomItem::SetParentComponent(TComponent* Value) {
  if (FParent) FParent->Remove(this);
  if (!Value) return;
  TTBCustomItem* container = GetContainerItem(Value);
  if (!container)
    throw ETBItemError("Toolbar item cannot be inserted into container of type " + Value->ClassName());
  container->Add(this);
}

void TTBCustomItem::Loaded() {
  TComponent::Loaded();
  if (Action()) ActionChange(Action(), true);
}

void TTBCustomItem::SetName(const std::string& NewName) {
  std::string old = Name();
  TComponent::SetName(NewName);
  if (Name() != old && FParent) FParent->Notify(tbicNameChanged, -1, this);
}

bool TTBCustomItem::IsCaptionStored() const { return !FActionLink || !FActionLink->IsCaptionLinked(); }
bool TTBCustomItem::IsCheckedStored() const { return !FActionLink || !FActionLink->IsCheckedLinked(); }
bool TTBCustomItem::IsEnabledStored() const { return !FActionLink || !FActionLink->IsEnabledLinked(); }
bool TTBCustomItem::IsHelpContextStored() const { return !FActionLink || !FActionLink->IsHelpContextLinked(); }
bool TTBCustomItem::IsHintStored() const { return !FActionLink || !FActionLink->IsHintLinked(); }
bool TTBCustomItem::IsImageIndexStored() const { return !FActionLink || !FActionLink->IsImageIndexLinked(); }
bool TTBCustomItem::IsShortCutStored() const { return !FActionLink || !FActionLink->IsShortCutLinked(); }
bool TTBCustomItem::IsVisibleStored() const { return !FActionLink || !FActionLink->IsVisibleLinked(); }
bool TTBCustomItem::IsAutoCheckStored() const { return !FActionLink || !FActionLink->IsAutoCheckLinked(); }
bool TTBCustomItem::IsOnClickStored() const { return !FActionLink || !FActionLink->IsOnExecuteLinked(); }

// ---------------------------------------------------------------------------
// Commands

TBasicAction* TTBCustomItem::Action() const { return FActionLink ? FActionLink->Action() : nullptr; }

void TTBCustomItem::SetAction(TBasicAction* Value) {
  if (!Value) {
    if (FActionLink && FActionLink->Action()) FActionLink->Action()->RemoveFreeNotification(this);
    FActionLink.reset();
    FActionComponent = nullptr;
    return;
  }
  if (!FActionLink) FActionLink = std::make_unique<TTBCustomItemActionLink>(this);
  if (FActionLink->Action() && FActionLink->Action() != Value) FActionLink->Action()->RemoveFreeNotification(this);
  FActionLink->SetAction(Value);
  FActionLink->OnChange = [this](TObject* s) { DoActionChange(s); };
  FActionComponent = Value;
  ActionChange(Value, ComponentState().Contains(csLoading));
  Value->FreeNotification(this);
}

void TTBCustomItem::DoActionChange(TObject* Sender) {
  if (Sender && Sender == Action()) ActionChange(static_cast<TBasicAction*>(Sender), false);
}

void TTBCustomItem::ActionChange(TBasicAction* Sender, bool CheckDefaults) {
  auto* a = dynamic_cast<TCustomAction*>(Sender);
  if (!a) return;
  if (!CheckDefaults || !FAutoCheck) FAutoCheck = a->AutoCheck();
  if (!CheckDefaults || FCaption.empty()) SetCaption(a->Caption());
  if (!CheckDefaults || !FChecked) SetChecked(a->Checked());
  if (!CheckDefaults || FEnabled) SetEnabled(a->Enabled());
  if (!CheckDefaults || FHelpContext == 0) FHelpContext = a->HelpContext();
  if (!CheckDefaults || FHint.empty()) FHint = a->Hint();
  if (!CheckDefaults || FImageIndex == -1) SetImageIndex(a->ImageIndex());
  if (!CheckDefaults || FShortCut == 0) FShortCut = a->ShortCut();
  if (!CheckDefaults || FVisible) SetVisible(a->Visible());
  if (!CheckDefaults || !FOnClick) {
    FOnClick = a->OnExecute();
    FOnClickAction = a;
    FOnClickActionId = a->ExecuteHandlerId();
  }
}

void TTBCustomItem::SetOnClick(TNotifyEvent v) {
  FOnClick = std::move(v);
  FOnClickAction = nullptr;
}

bool TTBCustomItem::OnClickIsActionHandler() const {
  TBasicAction* a = Action();
  return a && FOnClickAction == a && FOnClickActionId == a->ExecuteHandlerId();
}

void TTBCustomItem::Click() {
  if (!FEnabled) return;
  if (FAutoCheck && (!FActionLink || !FActionLink->IsAutoCheckLinked())) SetChecked(!FChecked);
  if (!FOnClick || !Action() || OnClickIsActionHandler()) {
    if (!ComponentState().Contains(csDesigning) && FActionLink && FActionLink->Action()) {
      FActionLink->Execute(this);
      return;
    }
    if (!FOnClick) return;
  }
  TNotifyEvent h = FOnClick;
  h(this);
}

void TTBCustomItem::DoPopup(TTBCustomItem* Sender, bool FromLink) {
  if (OnPopup) OnPopup(Sender, FromLink);
  if (!(FItemStyle & tbisCombo)) Click();
}

void TTBCustomItem::UpdateAction() {
  if (FActionLink) FActionLink->Update();
}

namespace {
TTBCustomItem* FindShortCut(TTBCustomItem* Parent, TShortCut sc, TTBCustomItem*& TopChild, int LinkDepth) {
  TopChild = nullptr;
  if (Parent->LinkSubitems()) {
    if (++LinkDepth > 25) return nullptr;
    Parent = Parent->LinkSubitems();
  }
  for (int i = 0; i < Parent->Count(); ++i) {
    TTBCustomItem* c = Parent->Items(i);
    if (c->ShortCut() == sc) return c;
    TTBCustomItem* dummy;
    if (TTBCustomItem* r = FindShortCut(c, sc, dummy, LinkDepth)) {
      TopChild = c;
      return r;
    }
  }
  return nullptr;
}
}  // namespace

TTBCustomItem* TTBCustomItem::FindItemWithShortCut(TShortCut AShortCut, TTBCustomItem*& TopChild) {
  return FindShortCut(this, AShortCut, TopChild, 0);
}

bool TTBCustomItem::IsShortCut(const TMessage& Message) {
  return IsShortCut(::ShortCut(static_cast<uint16_t>(Message.WParam), KeyDataToShiftState(Message.LParam)));
}

bool TTBCustomItem::IsShortCut(TShortCut sc) {
  if (sc == 0) return false;
  TTBCustomItem* top = nullptr;
  bool designing = ComponentState().Contains(csDesigning);
restart:
  if (!FindItemWithShortCut(sc, top)) return false;
  {
    TTBCustomItem* current = this;
    for (;;) {
      if (!current->Enabled()) return false;
      TTBCustomItem* container = ResolveLinkedItem(current);
      if (!designing)
        for (int i = 0; i < container->Count(); ++i) container->Items(i)->UpdateAction();
      if (!(current->FItemStyle & tbisEmbeddedGroup)) {
        if (container != current) Guarded(current, [&] { container->DoPopup(current, true); });
        Guarded(current, [&] { current->DoPopup(current, false); });
      }
      TTBCustomItem* found = current->FindItemWithShortCut(sc, top);
      if (!found) goto restart;
      if (top) {
        current = top;
        continue;
      }
      if (!found->Enabled()) return false;
      Guarded(found, [&] { found->Click(); });
      return true;
    }
  }
}

TTBCustomItem* GetContainerItem(TComponent* AComponent) {
  if (auto* i = dynamic_cast<TTBCustomItem*>(AComponent)) return i;
  if (auto* c = dynamic_cast<ITBItemContainer*>(AComponent)) return c->GetItems();
  return nullptr;
}

TTBCustomItem* ResolveLinkedItem(TTBCustomItem* Item) {
  return Item && Item->LinkSubitems() ? Item->LinkSubitems() : Item;
}

void PostClick(TTBCustomItem* Item) {
  std::shared_ptr<TTBCustomItem*> token = Item->FAliveToken;
  QueueCall([token] {
    if (*token) (*token)->Click();
  });
}

void CancelDeferredClicks(TTBCustomItem* Item) {
  // Queued clicks hold the old token, which no longer names the item.
  *Item->FAliveToken = nullptr;
  Item->FAliveToken = std::make_shared<TTBCustomItem*>(Item);
}

TTBCustomItem* ExecuteDoneAction(const TTBDoneActionData& Data, bool ReturnClickedItemOnly) {
  switch (Data.DoneAction) {
    case tbdaClickItem:
      if (Data.Sound && SystemSoundAssigned("MenuCommand")) PlaySystemSound("MenuCommand");
      if (!ReturnClickedItemOnly) PostClick(Data.ClickItem);
      return Data.ClickItem;
    case tbdaOpenSystemMenu:
      SendMessage(Data.Wnd, WM_SYSCOMMAND, 0xF100 /* SC_KEYMENU */, static_cast<LPARAM>(Data.Key));
      return nullptr;
    case tbdaHelpContext:
      ShowHelpContext(Data.ContextID, false);
      return nullptr;
    default:
      return nullptr;
  }
}

// ---------------------------------------------------------------------------
// Item kinds

TTBSubmenuItem::TTBSubmenuItem(TComponent* AOwner) : TTBCustomItem(AOwner) { FItemStyle |= 0x0081; }

TTBSeparatorItem::TTBSeparatorItem(TComponent* AOwner) : TTBCustomItem(AOwner) {
  FItemStyle = static_cast<TTBItemStyle>((FItemStyle & ~0x1802) | 0x0014);
}

void TTBSeparatorItem::SetBlank(bool v) {
  if (v == FBlank) return;
  FBlank = v;
  Change(false);
}

TTBControlItem::TTBControlItem(TComponent* AOwner) : TTBCustomItem(AOwner) {
  FItemStyle = static_cast<TTBItemStyle>((FItemStyle & ~0x0002) | 0x0010);
}

TTBControlItem::~TTBControlItem() {
  if (FControl) {
    FControl->RemoveFreeNotification(this);
    if (!FDontFreeControl && !FControl->ComponentState().Contains(csAncestor)) delete FControl;
  }
}

void TTBControlItem::SetControl(TControl* v) {
  if (v == FControl) return;
  if (FControl) FControl->RemoveFreeNotification(this);
  FControl = v;
  if (v) v->FreeNotification(this);
  Change(true);
}

void TTBControlItem::Notification(TComponent* AComponent, TOperation Operation) {
  TTBCustomItem::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FControl) {
    FControl = nullptr;
    Change(true);
  }
}
