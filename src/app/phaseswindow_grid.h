// The phases window's atom grid class, for the window's grid unit and tests
// that reach the grid itself (a unit including this must not see the model's
// headers: the grid and the model both name a class TBackGround).
#pragma once

#include <vector>

#include "grid/plusgrid.h"

class TAtomGrid : public TPlusStringGrid {
  ZV_CLASS(TAtomGrid)
public:
  explicit TAtomGrid(TComponent* AOwner);
  // The origin of row r (1 .. RowCount - 1).
  int Origin(int ARow);
  // 0 gives the row a new mark of its own.
  void SetOrigin(int ARow, int Value);
  // The row holding the origin, -1 when it is gone.
  int RowOfOrigin(int Value);
  void RemoveRows(int ARow, int ACount) override;
  void InsertRows(int ARow, int ACount, bool AdjustControls = true) override;

protected:
  void RowMoved(int FromIndex, int ToIndex) override;

private:
  void Sync();
  std::vector<int> FOrigins;  // index = row; entry 0 is the header's
  int FNextMark = -1;
};
