// The most-recently-used file list: file names, most recent first, each
// shown by a menu item of the list's own; placeholder items show those menu
// items inline wherever they stand in a menu.
#pragma once

#include <memory>
#include <string>

#include "platform/rtl/stringlist.h"
#include "toolbar/tbitem.h"

class TTBMRUList;
using TTBMRUListClickEvent = std::function<void(TObject* Sender, const std::string& Filename)>;

// The names; every change is mirrored in the list's menu items.
class TTBMRUListStrings : public TStrings {
public:
  explicit TTBMRUListStrings(TTBMRUList* AList) : FList(AList) {}
  int Count() const override { return FStrings.Count(); }
  std::string Get(int Index) const override { return FStrings.Get(Index); }
  void Put(int Index, const std::string& S) override;
  void Insert(int Index, const std::string& S) override;
  void Delete(int Index) override;
  void Clear() override;
  void Move(int CurIndex, int NewIndex) override;
  // File names compare exactly: on Linux names differing in case are
  // different files.
  int IndexOf(const std::string& S) const override;

private:
  void Changed();
  TTBMRUList* FList;
  TStringList FStrings;
};

class TTBMRUList : public TComponent {
  ZV_CLASS(TTBMRUList)
public:
  explicit TTBMRUList(TComponent* AOwner);
  ~TTBMRUList() override;

  void AddFile(const std::string& FileName);
  virtual void UpdateCaptions();
  TTBCustomItem* Container() const { return FItems.get(); }

  bool AddFullPath() const { return FAddFullPath; }
  void SetAddFullPath(bool v) { FAddFullPath = v; }
  bool HidePathExtension() const { return FHidePathExtension; }
  void SetHidePathExtension(bool v);
  TStrings* Items() { return &FStrings; }
  void SetItems(const TStrings& v) { FStrings.Assign(v); }
  int MaxItems() const { return FMaxItems; }
  // Negative values (from damaged settings) count as 0.
  void SetMaxItems(int v);
  const std::string& Prefix() const { return FPrefix; }
  void SetPrefix(const std::string& v) { FPrefix = v; }
  TNotifyEvent OnChange;
  TTBMRUListClickEvent OnClick;

private:
  friend class TTBMRUListStrings;
  void ItemClick(TObject* Sender);
  bool FAddFullPath = true;
  bool FHidePathExtension = true;
  int FMaxItems = 4;
  std::string FPrefix = "MRU";
  std::unique_ptr<TTBCustomItem> FItems;
  TTBMRUListStrings FStrings{this};
};

// Shows a list's menu items in its own place.
class TTBMRUListItem : public TTBCustomItem {
  ZV_CLASS(TTBMRUListItem)
public:
  explicit TTBMRUListItem(TComponent* AOwner);
  TTBMRUList* MRUList() const { return FMRUList; }
  void SetMRUList(TTBMRUList* v);

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  TTBMRUList* FMRUList = nullptr;
};

// The title a file shows in a menu: its name without folder and extension.
std::string FileTitleOf(const std::string& FileName);
