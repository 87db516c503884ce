#include "platform/rtl/lists.h"

#include <algorithm>

#include "platform/rtl/exceptions.h"

TList::~TList() {
  // Derived Notify overrides are gone by now; only the storage is released.
  FList.clear();
}

void TList::Error(const char* message, int64_t data) {
  throw EListError(std::string(message) + " (" + std::to_string(data) + ")");
}

void TList::CheckIndex(int index) const {
  if (index < 0 || index >= Count()) Error("List index out of bounds", index);
}

void TList::SetCount(int newCount) {
  if (newCount < 0) Error("List count out of bounds", newCount);
  if (newCount > Count()) {
    FList.resize(static_cast<size_t>(newCount), nullptr);
  } else {
    for (int i = Count() - 1; i >= newCount; --i) Delete(i);
  }
}

void TList::SetCapacity(int newCapacity) {
  if (newCapacity < Count()) Error("List capacity out of bounds", newCapacity);
  if (static_cast<size_t>(newCapacity) > FList.capacity()) FList.reserve(static_cast<size_t>(newCapacity));
}

void* TList::Items(int index) const {
  CheckIndex(index);
  return FList[static_cast<size_t>(index)];
}

void TList::SetItems(int index, void* item) {
  CheckIndex(index);
  void* old = FList[static_cast<size_t>(index)];
  FList[static_cast<size_t>(index)] = item;
  if (old != item) {
    if (old) Notify(old, lnDeleted);
    if (item) Notify(item, lnAdded);
  }
}

int TList::Add(void* item) {
  FList.push_back(item);
  if (item) Notify(item, lnAdded);
  return Count() - 1;
}

void TList::Insert(int index, void* item) {
  if (index < 0 || index > Count()) Error("List index out of bounds", index);
  FList.insert(FList.begin() + index, item);
  if (item) Notify(item, lnAdded);
}

void TList::Delete(int index) {
  CheckIndex(index);
  void* item = FList[static_cast<size_t>(index)];
  FList.erase(FList.begin() + index);
  if (item) Notify(item, lnDeleted);
}

int TList::Remove(void* item) {
  int index = IndexOf(item);
  if (index >= 0) Delete(index);
  return index;
}

void* TList::Extract(void* item) {
  int index = IndexOf(item);
  if (index < 0) return nullptr;
  FList.erase(FList.begin() + index);
  if (item) Notify(item, lnExtracted);
  return item;
}

int TList::IndexOf(void* item) const {
  auto it = std::find(FList.begin(), FList.end(), item);
  return it == FList.end() ? -1 : static_cast<int>(it - FList.begin());
}

void TList::Exchange(int index1, int index2) {
  CheckIndex(index1);
  CheckIndex(index2);
  std::swap(FList[static_cast<size_t>(index1)], FList[static_cast<size_t>(index2)]);
}

void TList::Move(int curIndex, int newIndex) {
  if (curIndex == newIndex) return;
  CheckIndex(curIndex);
  CheckIndex(newIndex);
  void* item = FList[static_cast<size_t>(curIndex)];
  FList.erase(FList.begin() + curIndex);
  FList.insert(FList.begin() + newIndex, item);
}

void* TList::First() const { return Items(0); }

void* TList::Last() const { return Items(Count() - 1); }

void TList::Pack() { FList.erase(std::remove(FList.begin(), FList.end(), nullptr), FList.end()); }

TList* TList::Expand() {
  if (FList.size() == FList.capacity()) {
    size_t cap = FList.capacity();
    FList.reserve(cap > 64 ? cap + cap / 4 : (cap > 8 ? cap + 16 : cap + 4));
  }
  return this;
}

void TList::Sort(const TListSortCompare& compare) {
  if (FList.size() < 2) return;
  // The comparison may be inconsistent (user code); std::sort would then read
  // out of range, a hand-written quick sort with bounded scans cannot.
  std::function<void(int, int)> quick = [&](int l, int r) {
    while (l < r) {
      int i = l, j = r;
      void* pivot = FList[static_cast<size_t>((l + r) / 2)];
      while (i <= j) {
        while (i < r && compare(FList[static_cast<size_t>(i)], pivot) < 0) ++i;
        while (j > l && compare(FList[static_cast<size_t>(j)], pivot) > 0) --j;
        if (i <= j) {
          std::swap(FList[static_cast<size_t>(i)], FList[static_cast<size_t>(j)]);
          ++i;
          --j;
        }
      }
      // Recurse into the smaller part to bound the depth.
      if (j - l < r - i) {
        if (l < j) quick(l, j);
        l = i;
      } else {
        if (i < r) quick(i, r);
        r = j;
      }
    }
  };
  quick(0, Count() - 1);
}

void TList::Clear() {
  SetCount(0);
  FList.shrink_to_fit();
}

void TList::Notify(void*, TListNotification) {}

// --- TObjectList

TObjectList::~TObjectList() { Clear(); }

void TObjectList::SetItems(int index, TObject* item) { TList::SetItems(index, item); }

void TObjectList::Notify(void* item, TListNotification action) {
  if (FOwnsObjects && action == lnDeleted) delete static_cast<TObject*>(item);
  TList::Notify(item, action);
}
