#include "toolbar/tbmru.h"

#include <algorithm>

#include "platform/rtl/fileutils.h"
#include "toolbar/tbcommon.h"

std::string FileTitleOf(const std::string& FileName) {
  std::string name = ExtractFileName(FileName);
  std::string ext = ExtractFileExt(name);
  if (!ext.empty() && ext.size() < name.size()) name.resize(name.size() - ext.size());
  return name.empty() ? FileName : name;
}

// ---------------------------------------------------------------------------

void TTBMRUListStrings::Changed() {
  if (!FList->ComponentState().Contains(csLoading) && FList->OnChange) FList->OnChange(FList);
}

void TTBMRUListStrings::Put(int Index, const std::string& S) {
  FStrings.Put(Index, S);
  FList->UpdateCaptions();
  Changed();
}

void TTBMRUListStrings::Insert(int Index, const std::string& S) {
  auto* item = new TTBCustomItem(FList->FItems.get());
  item->SetOnClick([l = FList](TObject* Sender) { l->ItemClick(Sender); });
  FList->FItems->Insert(Index, item);
  FStrings.Insert(Index, S);
  FList->UpdateCaptions();
  Changed();
}

void TTBMRUListStrings::Delete(int Index) {
  delete FList->FItems->Items(Index);
  FStrings.Delete(Index);
  FList->UpdateCaptions();
  Changed();
}

void TTBMRUListStrings::Clear() {
  for (int i = Count() - 1; i >= 0; --i) Delete(i);
}

void TTBMRUListStrings::Move(int CurIndex, int NewIndex) {
  FStrings.Move(CurIndex, NewIndex);
  FList->FItems->Move(CurIndex, NewIndex);
  FList->UpdateCaptions();
  Changed();
}

int TTBMRUListStrings::IndexOf(const std::string& S) const {
  for (int i = 0; i < Count(); ++i)
    if (FStrings.Get(i) == S) return i;
  return -1;
}

// ---------------------------------------------------------------------------

void TTBMRUList::DeclareProperties(TClassInfo& c) {
  c.Boolean<TTBMRUList>("AddFullPath", &TTBMRUList::AddFullPath, &TTBMRUList::SetAddFullPath, true);
  c.Boolean<TTBMRUList>("HidePathExtension", &TTBMRUList::HidePathExtension, &TTBMRUList::SetHidePathExtension,
                        true);
  c.Integer<TTBMRUList>("MaxItems", &TTBMRUList::MaxItems, &TTBMRUList::SetMaxItems, 4);
  c.String<TTBMRUList>("Prefix", &TTBMRUList::Prefix, &TTBMRUList::SetPrefix);
}
ZV_CLASS_IMPL(TTBMRUList, TComponent)

TTBMRUList::TTBMRUList(TComponent* AOwner) : TComponent(AOwner), FItems(std::make_unique<TTBCustomItem>(nullptr)) {}

TTBMRUList::~TTBMRUList() {
  // Placeholders hear of the list going (free notification) before the
  // container does.
  FItems.reset();
}

void TTBMRUList::AddFile(const std::string& FileName) {
  std::string name = FAddFullPath ? ExpandFileName(FileName) : FileName;
  int k = FStrings.IndexOf(name);
  if (k < 0) {
    FStrings.Insert(0, name);
    return;
  }
  if (k > 0) FStrings.Move(k, 0);
  FStrings.Put(0, name);
}

void TTBMRUList::SetHidePathExtension(bool v) {
  if (v == FHidePathExtension) return;
  FHidePathExtension = v;
  UpdateCaptions();
}

void TTBMRUList::SetMaxItems(int v) {
  FMaxItems = std::max(0, v);
  UpdateCaptions();
}

void TTBMRUList::UpdateCaptions() {
  while (FStrings.Count() > FMaxItems) FStrings.Delete(FStrings.Count() - 1);
  for (int i = 0; i < FItems->Count(); ++i) {
    char accel = 0;
    if (i < 9) accel = static_cast<char>('1' + i);
    else if (i < 35) accel = static_cast<char>('A' + i - 9);
    std::string text = FStrings.Get(i);
    if (FHidePathExtension) text = FileTitleOf(text);
    text = DoubleAmpersands(text);
    FItems->Items(i)->SetCaption(accel ? std::string("&") + accel + " " + text : text);
  }
}

void TTBMRUList::ItemClick(TObject* Sender) {
  int k = FItems->IndexOf(static_cast<TTBCustomItem*>(Sender));
  if (k < 0) return;
  if (k > 0) FStrings.Move(k, 0);
  if (OnClick) OnClick(this, FStrings.Get(0));
}

// ---------------------------------------------------------------------------

void TTBMRUListItem::DeclareProperties(TClassInfo& c) {
  c.Object<TTBMRUListItem, TTBMRUList>("MRUList", &TTBMRUListItem::MRUList, &TTBMRUListItem::SetMRUList);
}
ZV_CLASS_IMPL(TTBMRUListItem, TTBCustomItem)

TTBMRUListItem::TTBMRUListItem(TComponent* AOwner) : TTBCustomItem(AOwner) {
  FItemStyle |= tbisEmbeddedGroup;
  SetCaption("(MRU List)");
}

void TTBMRUListItem::SetMRUList(TTBMRUList* v) {
  if (v == FMRUList) return;
  if (FMRUList) FMRUList->RemoveFreeNotification(this);
  FMRUList = v;
  if (v) {
    v->FreeNotification(this);
    SetLinkSubitems(v->Container());
  } else {
    SetLinkSubitems(nullptr);
  }
}

void TTBMRUListItem::Notification(TComponent* AComponent, TOperation Operation) {
  TTBCustomItem::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FMRUList) {
    FMRUList = nullptr;
    SetLinkSubitems(nullptr);
  }
}
