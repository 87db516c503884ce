#include "toolbar/tbpopupmenu.h"

void TTBPopupMenu::DeclareProperties(TClassInfo& c) {
  c.Object<TTBPopupMenu, TCustomImageList>("Images", &TTBPopupMenu::Images, &TTBPopupMenu::SetImages);
  c.Object<TTBPopupMenu, TTBCustomItem>("LinkSubitems", &TTBPopupMenu::LinkSubitems, &TTBPopupMenu::SetLinkSubitems);
  c.Set<TTBPopupMenu>(
      "Options", TBItemOptionEnumInfo(), [](TTBPopupMenu* m) { return static_cast<int64_t>(m->Options().Bits()); },
      [](TTBPopupMenu* m, int64_t v) { m->SetOptions(TTBItemOptions::FromBits(static_cast<uint64_t>(v))); }, 0);
}
ZV_CLASS_IMPL(TTBPopupMenu, TPopupMenu)

TTBPopupMenu::TTBPopupMenu(TComponent* AOwner) : TPopupMenu(AOwner), FItem(new TTBRootItem(this)) {
  FItem->SetParentComponentDirect(this);
  // Opening the menu clicks its root item: the menu's OnPopup fires then.
  FItem->SetOnClick([this](TObject* Sender) {
    if (OnPopup) OnPopup(Sender == FItem ? static_cast<TObject*>(this) : Sender);
  });
}

TTBPopupMenu::~TTBPopupMenu() {
  delete FItem;
  FItem = nullptr;
}

void TTBPopupMenu::Popup(int X, int Y) { TrackPopup(X, Y, false); }

TTBCustomItem* TTBPopupMenu::TrackPopup(int X, int Y, bool ReturnClickedItemOnly) {
  SetPopupPoint(TPoint(X, Y));
  return FItem->Popup(X, Y, TrackButton() == tbRightButton, static_cast<int>(Alignment()), ReturnClickedItemOnly);
}

bool TTBPopupMenu::IsShortCut(const TMessage& Message) { return FItem->IsShortCut(Message); }

void TTBPopupMenu::GetChildren(const TGetChildProc& Proc, TComponent* Root) { FItem->GetChildren(Proc, Root); }

void TTBPopupMenu::SetChildOrder(TComponent* Child, int Order) { FItem->SetChildOrder(Child, Order); }
