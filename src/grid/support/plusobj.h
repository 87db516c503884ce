// Small lists the string grid keeps: integer lists bound to a cell with a
// change event (selected rows, row marks, column order, ...), the list of sort
// columns with their directions, and the list of controls placed over cells.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/controls.h"

using TIntListChangeEvent = std::function<void(TObject* Sender, int ACol, int ARow)>;

class TIntList : public TObject {
public:
  TIntList(int ACol, int ARow) : FCol(ACol), FRow(ARow) {}
  int Count() const { return static_cast<int>(FItems.size()); }
  int Col() const { return FCol; }
  int Row() const { return FRow; }
  // Indexes outside the list raise EListError.
  int GetItem(int Index) const;
  void SetItem(int Index, int Value);  // fires OnChange
  void AddValue(int Value);             // fires OnChange
  void InsertValue(int Index, int Value);
  void DeleteIndex(int Index);  // fires OnChange
  // Deletes the first occurrence (no event); nothing when absent.
  void DeleteValue(int Value);
  bool HasValue(int Value) const;
  void Clear() { FItems.clear(); }
  std::string GetCommaText() const;
  // Clears, then adds each item (one change event per item); a bad number
  // raises EConvertError after the items before it were added.
  void SetCommaText(const std::string& Text);
  TIntListChangeEvent OnChange;

private:
  void Changed();
  void Check(int Index) const;
  std::vector<int> FItems;
  int FCol, FRow;
};

// Sort columns: the column index with bit 31 set for a descending sort.
class TSortIndexList : public TIntList {
public:
  TSortIndexList() : TIntList(-1, -1) {}
  static constexpr uint32_t DescendingBit = 0x80000000u;
  void AddIndex(int ACol, bool Ascending);
  int FindIndex(int ACol) const;  // -1 when the column is not in the list
  int GetSortColumn(int Index) const;
  bool Ascending(int Index) const;
  void ToggleDirection(int ACol);  // fires OnChange; nothing when absent
};

// A control the grid places over a cell.
struct TControlItem {
  int Col = 0, Row = 0;
  TControl* Control = nullptr;
};

// Owns its entries (not the controls, which belong to their owner).
class TControlList : public TObject {
public:
  int Count() const { return static_cast<int>(FItems.size()); }
  TControlItem* GetControl(int Index) const;
  TControlItem* Add(int ACol, int ARow, TControl* AControl);
  void Delete(int Index);
  void Clear() { FItems.clear(); }

private:
  std::vector<std::unique_ptr<TControlItem>> FItems;
};
