#include "grid/support/plusobj.h"

#include <algorithm>

#include "platform/rtl/exceptions.h"
#include "platform/rtl/strutils.h"

// ---------------------------------------------------------------------------
// TIntList

void TIntList::Check(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
}

void TIntList::Changed() {
  if (OnChange) OnChange(this, FCol, FRow);
}

int TIntList::GetItem(int Index) const {
  Check(Index);
  return FItems[static_cast<size_t>(Index)];
}

void TIntList::SetItem(int Index, int Value) {
  Check(Index);
  FItems[static_cast<size_t>(Index)] = Value;
  Changed();
}

void TIntList::AddValue(int Value) {
  FItems.push_back(Value);
  Changed();
}

void TIntList::InsertValue(int Index, int Value) {
  if (Index < 0 || Index > Count()) throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  FItems.insert(FItems.begin() + Index, Value);
}

void TIntList::DeleteIndex(int Index) {
  Check(Index);
  FItems.erase(FItems.begin() + Index);
  Changed();
}

void TIntList::DeleteValue(int Value) {
  auto it = std::find(FItems.begin(), FItems.end(), Value);
  if (it != FItems.end()) FItems.erase(it);
}

bool TIntList::HasValue(int Value) const { return std::find(FItems.begin(), FItems.end(), Value) != FItems.end(); }

std::string TIntList::GetCommaText() const {
  std::string r;
  for (size_t i = 0; i < FItems.size(); ++i) {
    if (i) r += ',';
    r += std::to_string(FItems[i]);
  }
  return r;
}

void TIntList::SetCommaText(const std::string& Text) {
  FItems.clear();
  if (Text.empty()) return;
  size_t start = 0;
  while (true) {
    const size_t p = Text.find(',', start);
    AddValue(StrToInt(Text.substr(start, p == std::string::npos ? std::string::npos : p - start)));
    if (p == std::string::npos) break;
    start = p + 1;
  }
}

// ---------------------------------------------------------------------------
// TSortIndexList

void TSortIndexList::AddIndex(int ACol, bool Ascending) {
  AddValue(static_cast<int>(static_cast<uint32_t>(ACol) | (Ascending ? 0u : DescendingBit)));
}

int TSortIndexList::FindIndex(int ACol) const {
  for (int i = 0; i < Count(); ++i)
    if (GetSortColumn(i) == ACol) return i;
  return -1;
}

int TSortIndexList::GetSortColumn(int Index) const {
  return static_cast<int>(static_cast<uint32_t>(GetItem(Index)) & ~DescendingBit);
}

bool TSortIndexList::Ascending(int Index) const {
  return (static_cast<uint32_t>(GetItem(Index)) & DescendingBit) == 0;
}

void TSortIndexList::ToggleDirection(int ACol) {
  const int i = FindIndex(ACol);
  if (i < 0) return;
  SetItem(i, static_cast<int>(static_cast<uint32_t>(GetItem(i)) ^ DescendingBit));
}

// ---------------------------------------------------------------------------
// TControlList

TControlItem* TControlList::GetControl(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  return FItems[static_cast<size_t>(Index)].get();
}

TControlItem* TControlList::Add(int ACol, int ARow, TControl* AControl) {
  FItems.push_back(std::make_unique<TControlItem>(TControlItem{ACol, ARow, AControl}));
  return FItems.back().get();
}

void TControlList::Delete(int Index) {
  GetControl(Index);
  FItems.erase(FItems.begin() + Index);
}
