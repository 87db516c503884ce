// Row nodes: a node row heads a block of rows that can be contracted (its
// rows hidden) and expanded again; blocks nest, each covered row counting
// its nesting level in the record of its column-0 cell.
#include <algorithm>

#include "grid/plusgrid.h"

// ---------------------------------------------------------------------------
// Queries

TCellGraphic* TPlusStringGrid::NodeGraphic(int ARow) {
  if (ARow < 0 || ARow >= RowCount() || !HasCellProperties(0, ARow)) return nullptr;
  TCellGraphic* g = TBaseGrid::GetCellGraphic(0, ARow);
  return g && g->CellType == ctNode ? g : nullptr;
}

bool TPlusStringGrid::IsNode(int ARow) { return NodeGraphic(ARow) != nullptr; }

bool TPlusStringGrid::IsSummary(int ARow) {
  if (ARow < 0 || ARow >= RowCount() || !HasCellProperties(0, ARow)) return false;
  TCellGraphic* g = TBaseGrid::GetCellGraphic(0, ARow);
  return g && g->CellType == ctSummary;
}

bool TPlusStringGrid::GetNodeState(int ARow) {
  TCellGraphic* g = NodeGraphic(ARow);
  return g && g->CellBoolean;
}

int TPlusStringGrid::GetNodeLevel(int ARow) {
  return IsNode(ARow) ? GetCellProperties(0, ARow)->NodeLevel() : -1;
}

int TPlusStringGrid::GetNodeSpan(int ARow) {
  TCellGraphic* g = NodeGraphic(ARow);
  return g ? g->CellIndex : -1;
}

void TPlusStringGrid::ChangeNodeSpan(int ARow, int Delta) {
  if (TCellGraphic* g = NodeGraphic(ARow)) g->CellIndex += Delta;
}

int TPlusStringGrid::GetParentNode(int ARow) {
  if (FNodeCount == 0) return -1;
  int level = 65535, answer = -1;
  if (IsNode(ARow)) {
    level = GetNodeLevel(ARow);
    answer = ARow;
  }
  for (int i = std::min(ARow, RowCount() - 1); i >= FixedRows(); --i) {
    if (!IsNode(i)) continue;
    if (GetNodeLevel(i) < level && ARow < i + GetNodeSpan(i)) return i;
  }
  return answer;
}

TStringList* TPlusStringGrid::GetHiddenRowCells(int ARealRow) {
  for (int i = 0; i < NumHiddenRows(); ++i)
    if (HiddenItem(i)->Idx() == ARealRow) return HiddenItem(i)->Items();
  return nullptr;
}

TControl* TPlusStringGrid::GetCellControl(int ACol, int ARow) {
  if (ACol < 0 || ARow < 0 || ACol >= ColCount() || ARow >= RowCount() || !HasCellProperties(ACol, ARow))
    return nullptr;
  return GetCellProperties(ACol, ARow)->Control();
}

int TPlusStringGrid::GetTreeLineKind(int ARow) {
  if (IsNode(ARow)) return 0;
  if (ARow >= RowCount() - FFixedFooters - 1 || !HasCellProperties(0, ARow + 1)) return 1;
  const int level = HasCellProperties(0, ARow) ? GetCellProperties(0, ARow)->NodeLevel() : 0;
  return GetCellProperties(0, ARow + 1)->NodeLevel() < level ? 1 : 2;
}

bool TPlusStringGrid::IsOnNodeButton(int ARow, int X) {
  const int L = GetNodeLevel(ARow), N = FCellNode->NodeIndent();
  if (L < 0) return false;
  return (L - 1) * N < X && X < L * N;
}

// ---------------------------------------------------------------------------
// Adding and removing nodes

void TPlusStringGrid::AddNode(int ARealRow, int ASpan) {
  const int r = DisplRowIndex(ARealRow);
  if (r < 0 || r >= RowCount()) return;
  const bool first = FNodeCount == 0;
  TCellGraphic* g = CreateCellGraphic(0, r);
  g->CellType = ctNode;
  g->CellIndex = ASpan;
  g->CellBoolean = false;
  g->CellAngle = r;
  g->CellHAlign = haBeforeText;
  g->CellVAlign = vaCenter;
  g->CellVariant = -1;
  // Levels are written for the rows that exist; a span of 0 or less counts
  // the node row only.
  const int rows = std::max(ASpan, 1);
  for (int i = r; i < r + rows && i < RowCount(); ++i) {
    TCellProperties* p = GetCellProperties(0, i);
    p->SetNodeLevel(p->NodeLevel() + 1);
  }
  ++FNodeCount;
  if (first) RepaintCol(0);
  if (Col() == 0 && ColCount() > 1) SetCol(1);
}

void TPlusStringGrid::RemoveNode(int ARealRow) {
  const int r0 = DisplRowIndex(ARealRow);
  if (!IsNode(r0)) return;
  ExpandNode(ARealRow);
  const int r = DisplRowIndex(ARealRow);
  const int rows = std::max(GetNodeSpan(r), 1);
  for (int i = r; i < r + rows && i < RowCount(); ++i) {
    if (!HasCellProperties(0, i)) continue;
    TCellProperties* p = GetCellProperties(0, i);
    p->SetNodeLevel(std::max(0, p->NodeLevel() - 1));
  }
  RemoveCellGraphicOfType(0, r, ctNode);
  FNodeCount = std::max(0, FNodeCount - 1);
}

void TPlusStringGrid::RemoveAllNodes() {
  int r = 0;
  while (r < RowCount()) {
    if (!IsNode(r)) {
      ++r;
      continue;
    }
    ExpandNode(RealRowIndex(r));
    const int span = GetNodeSpan(r);
    for (int i = r; i < r + std::max(span, 1) && i < RowCount(); ++i)
      if (HasCellProperties(0, i)) GetCellProperties(0, i)->SetNodeLevel(0);
    RemoveCellGraphicOfType(0, r, ctNode);
    FNodeCount = std::max(0, FNodeCount - 1);
    // Nested nodes inside the block go too, so no node outlives the count.
    ++r;
  }
}

// ---------------------------------------------------------------------------
// Expanding and contracting

void TPlusStringGrid::ExpandNode(int ARealRow) {
  if (FCellNode->ExpandOne()) {
    for (int i = FixedRows(); i < RowCount(); ++i)
      if (IsNode(i) && !GetNodeState(i) && RealRowIndex(i) != ARealRow) ContractNode(RealRowIndex(i));
  }
  const int r = DisplRowIndex(ARealRow);
  TCellGraphic* g = NodeGraphic(r);
  if (!g || !g->CellBoolean) return;
  g->CellBoolean = false;
  const int total = RowCount() + NumHiddenRows();
  int endReal = total;
  if (g->CellIndex > 0) {
    if (r + 1 < RowCount()) endReal = RealRowIndex(r + 1);
  } else {
    for (int i = r + 1; i < RowCount(); ++i)
      if (IsNode(i)) {
        endReal = RealRowIndex(i);
        break;
      }
  }
  if (endReal - 1 < ARealRow + 1) {
    RepaintRow(r);
    return;
  }
  const bool rowSelect = Options().Contains(goRowSelect);
  const int current = Row(), top = TopRow();
  const bool lock = ControlList()->Count() == 0;
  if (lock) BeginUpdate();
  if (rowSelect) SetOptions(Options() - TGridOptions{goRowSelect});
  UnHideRows(ARealRow + 1, endReal - 1);
  if (rowSelect) {
    SetOptions(Options() + TGridOptions{goRowSelect});
    if (current < RowCount()) SetRow(current);
    if (top < RowCount()) SetTopRow(top);
  }
  if (lock) EndUpdate();
  CalcFooter(-1);
}

void TPlusStringGrid::ContractNode(int ARealRow) {
  EndCellEdit();
  const int r = DisplRowIndex(ARealRow);
  TCellGraphic* g = NodeGraphic(r);
  if (!g || g->CellBoolean) return;
  g->CellBoolean = true;
  int end = RowCount();
  if (g->CellIndex > 0) {
    end = std::min(RowCount(), r + g->CellIndex);
  } else {
    for (int i = r + 1; i < RowCount(); ++i)
      if (IsNode(i)) {
        end = i;
        break;
      }
  }
  BeginUpdate();
  auto hide = [this](int From, int To) {
    std::vector<int> rows;
    for (int i = From; i <= To; ++i) rows.push_back(i);
    HideRowList(rows);
  };
  const int first = r + 1;
  int i = first;
  while (i < end && i < RowCount()) {
    if (IsNode(i) && GetNodeState(i)) {
      // Its rows are hidden already and come back with this block.
      const int span = std::max(GetNodeSpan(i), 1);
      NodeGraphic(i)->CellBoolean = false;
      if (TControl* ctl = GetCellControl(1, i + 1)) ctl->Hide();
      hide(first, i);
      end -= span + (i - first);
      i = first;
    } else {
      ++i;
    }
  }
  if (i > first) hide(first, std::min(i, RowCount()) - 1);
  EndUpdate();
  RepaintRow(r);
  CalcFooter(-1);
}

void TPlusStringGrid::ExpandAll() {
  UnHideRowsAll();
  for (int r = FixedRows(); r < RowCount(); ++r)
    if (TCellGraphic* g = NodeGraphic(r)) g->CellBoolean = false;
  Invalidate();
  CalcFooter(-1);
}

void TPlusStringGrid::ContractAll() {
  BeginUpdate();
  ExpandAll();
  std::vector<int> rows;
  int r = FixedRows();
  while (r < RowCount()) {
    TCellGraphic* g = NodeGraphic(r);
    if (!g) {
      ++r;
      continue;
    }
    g->CellBoolean = true;
    const int span = g->CellIndex;
    for (int k = r + 1; k < r + span && k < RowCount(); ++k) rows.push_back(k);
    r += std::max(1, span);
  }
  HideRowList(rows);
  EndUpdate();
  Invalidate();
  CalcFooter(-1);
}

// ---------------------------------------------------------------------------
// Rows inside and outside nodes

// The row operations move the hidden rows after the place themselves.
void TPlusStringGrid::InsertRowAt(int ARealRow) { InsertRows(DisplRowIndex(ARealRow), 1, true); }

void TPlusStringGrid::DeleteRowAt(int ARealRow) { RemoveRows(DisplRowIndex(ARealRow), 1); }

void TPlusStringGrid::InsertChildRow(int ARealRow, int After) {
  const int r = DisplRowIndex(ARealRow);
  const int p = GetParentNode(r);
  int level = 0;
  if (p >= 0) {
    ChangeNodeSpan(p, 1);
    ExpandNode(RealRowIndex(p));
    level = GetNodeLevel(p);
    int cur = p, curLevel = level;
    while (curLevel > 1) {
      const int q = GetParentNode(cur);
      if (q < 0 || q == cur || GetNodeLevel(q) >= curLevel) break;
      ChangeNodeSpan(q, 1);
      ExpandNode(RealRowIndex(q));
      cur = q;
      curLevel = GetNodeLevel(q);
    }
  }
  // Hidden rows at or after the new row's place move down with it.
  const int at = DisplRowIndex(ARealRow) + After;
  InsertRows(at, 1, true);
  if (p >= 0) GetCellProperties(0, at)->SetNodeLevel(level);
}

void TPlusStringGrid::DeleteChildRow(int ARealRow) {
  int p = GetParentNode(DisplRowIndex(ARealRow));
  if (p >= 0) {
    const int level = GetNodeLevel(p);
    if (GetNodeSpan(p) > 1) ChangeNodeSpan(p, -1);
    for (;;) {
      ExpandNode(RealRowIndex(p));
      if (GetNodeLevel(p) <= 1) break;
      const int q = GetParentNode(p);
      if (q < 0 || q == p || GetNodeLevel(q) >= level) break;
      if (GetNodeSpan(q) > 1) ChangeNodeSpan(q, -1);
      p = q;
    }
  }
  const int r = DisplRowIndex(ARealRow);
  for (int c = 0; c < ColCount(); ++c)
    if (HasCellProperties(c, r) && IsMergedCell(c, r)) {
      const TPoint b = GetBaseCell(c, r);
      SplitCells(b.X, b.Y);
    }
  DeleteRowAt(ARealRow);
}
