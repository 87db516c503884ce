// The root object class and the pointer lists of the run-time layer.
//
// TObject is the common base of the system's classes (string lists, streams,
// persistent objects, components). TList keeps untyped pointers and tells a
// descendant about every addition and removal through Notify; TObjectList
// builds on that to own its items.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TObject {
public:
  TObject() = default;
  TObject(const TObject&) = default;
  TObject& operator=(const TObject&) = default;
  virtual ~TObject() = default;

  // The class name as the class library spells it ("TObject", "TStringList", ...).
  virtual std::string ClassName() const { return "TObject"; }
};

// The class library's notify-event: the sender is the object that changed.
using TNotifyEvent = std::function<void(TObject* Sender)>;

// Why TList::Notify is called: an item was added, taken out without being
// freed (Extract), or removed (Delete, Remove, Clear, shrinking Count).
enum TListNotification { lnAdded, lnExtracted, lnDeleted };

// Compares two list items: negative, 0 or positive.
using TListSortCompare = std::function<int(void* Item1, void* Item2)>;

// A list of untyped pointers, indexed from 0.
//
// A descendant that overrides Notify and keeps items must call Clear() in its
// own destructor: virtual calls made from ~TList no longer reach it.
class TList : public TObject {
public:
  TList() = default;
  TList(const TList&) = delete;
  TList& operator=(const TList&) = delete;
  ~TList() override;

  std::string ClassName() const override { return "TList"; }

  int Count() const { return static_cast<int>(FList.size()); }
  // Growing fills with nil; shrinking deletes from the end (Notify lnDeleted).
  void SetCount(int newCount);
  int Capacity() const { return static_cast<int>(FList.capacity()); }
  // Raises EListError "List capacity out of bounds (<n>)" below Count.
  void SetCapacity(int newCapacity);

  // Raise EListError "List index out of bounds (<i>)" outside 0..Count-1.
  void* Items(int index) const;
  void SetItems(int index, void* item);
  void* operator[](int index) const { return Items(index); }

  int Add(void* item);               // returns the new item's index
  void Insert(int index, void* item);  // 0..Count
  void Delete(int index);
  int Remove(void* item);  // index it had, -1 when absent
  void* Extract(void* item);  // removes without lnDeleted; nil when absent
  int IndexOf(void* item) const;
  void Exchange(int index1, int index2);
  void Move(int curIndex, int newIndex);
  void* First() const;  // raise EListError on an empty list
  void* Last() const;
  void Pack();  // drops nil entries
  TList* Expand();
  // Quick sort with the given comparison (equal items may change order).
  void Sort(const TListSortCompare& compare);
  virtual void Clear();

  // Direct access to the storage; changes through it are not notified.
  const std::vector<void*>& List() const { return FList; }

protected:
  // Items that are nil are never notified.
  virtual void Notify(void* item, TListNotification action);
  [[noreturn]] static void Error(const char* message, int64_t data);

private:
  void CheckIndex(int index) const;
  std::vector<void*> FList;
};

// A list of objects that frees its items on removal while OwnsObjects is true
// (the default). Items must be added as TObject* (through these members) so
// that the stored pointer is the TObject sub-object that delete expects.
class TObjectList : public TList {
public:
  explicit TObjectList(bool ownsObjects = true) : FOwnsObjects(ownsObjects) {}
  ~TObjectList() override;

  std::string ClassName() const override { return "TObjectList"; }

  bool OwnsObjects() const { return FOwnsObjects; }
  void SetOwnsObjects(bool v) { FOwnsObjects = v; }

  TObject* Items(int index) const { return static_cast<TObject*>(TList::Items(index)); }
  // Replacing an owned item frees the old one.
  void SetItems(int index, TObject* item);
  TObject* operator[](int index) const { return Items(index); }

  int Add(TObject* item) { return TList::Add(item); }
  void Insert(int index, TObject* item) { TList::Insert(index, item); }
  int Remove(TObject* item) { return TList::Remove(item); }
  // Takes the item out without freeing it; the caller owns it.
  TObject* Extract(TObject* item) { return static_cast<TObject*>(TList::Extract(item)); }
  int IndexOf(TObject* item) const { return TList::IndexOf(item); }
  TObject* First() const { return static_cast<TObject*>(TList::First()); }
  TObject* Last() const { return static_cast<TObject*>(TList::Last()); }

protected:
  void Notify(void* item, TListNotification action) override;

private:
  bool FOwnsObjects;
};
