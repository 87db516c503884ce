// Keyboard navigation of the string grid: the keys it handles itself before
// the layer's navigation, typing that starts edits, the Tab walk, the
// advance after Enter and the goto typing on a sorted column.
#include <algorithm>
#include <string>
#include <vector>

#include "grid/plusgrid.h"
#include "grid/support/psghtmle.h"
#include "platform/rtl/formatsettings.h"
#include "platform/rtl/strutils.h"

int TPlusStringGrid::FirstNavigableCol() {
  const int f = TCustomGrid::FixedCols();
  return f == 0 && HasNodes() ? 1 : f;
}

int TPlusStringGrid::VisibleFixedRightCols() {
  if (FNumHiddenColumns == 0) return FFixedRightCols;
  int n = 0;
  const int all = GetAllColCount();
  for (int c = all - FFixedRightCols; c < all; ++c)
    if (c >= 0 && !IsHiddenColumn(c)) ++n;
  return n;
}

void TPlusStringGrid::RefuseKey(uint16_t& Key, TShiftState Shift) {
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
  Key = 0;
}

void TPlusStringGrid::ClickCellControl(int ACol, int ARow, bool Toggle) {
  const TPoint b = GetBaseCell(ACol, ARow);
  TCellGraphic* g = GetCellGraphic(b.X, b.Y);
  if (!g) return;
  // The hook starts from whether the grid edits at all.
  auto allowed = [&](bool always) {
    if (always) return true;
    bool can = Options().Contains(goEditing) || FMouseActions->RangeSelectAndEdit();
    if (!can) return false;
    return CanEditCell(b.X, b.Y);
  };
  if (Toggle && HasCheckBox(b.X, b.Y)) {
    if (!allowed(FControlLook->CheckAlwaysActive())) return;
    if (ToggleCheck(b.X, b.Y, false)) {
      bool state = false;
      GetCellCheckState(b.X, b.Y, state);
      if (OnCheckBoxClick) OnCheckBoxClick(this, b.X, b.Y, state);
    }
  } else if (Toggle && IsRadio(b.X, b.Y)) {
    if (!allowed(FControlLook->RadioAlwaysActive())) return;
    ToggleRadio(b.X, b.Y, false);
    int idx = -1;
    GetRadioIdx(b.X, b.Y, idx);
    if (OnRadioClick) OnRadioClick(this, b.X, b.Y, idx);
  } else if (IsButtonCell(b.X, b.Y)) {
    if (!allowed(false)) return;
    if (OnButtonClick) OnButtonClick(this, b.X, b.Y);
  }
  RepaintCell(DisplColIndex(b.X), b.Y);
}

void TPlusStringGrid::KeyDown(uint16_t& Key, TShiftState Shift) {
  const TGridRect recorded = Selection();
  const int rc = RealColIndex(Col());
  const bool ctrl = Shift.Contains(ssCtrl), shift = Shift.Contains(ssShift), alt = Shift.Contains(ssAlt);
  auto finish = [&] {
    const TGridRect now = Selection();
    if (!(now == recorded)) {
      if (FSelectionRectangle) Invalidate();
      SelectionChanged(now.Left, now.Top, now.Right, now.Bottom);
    }
  };

  if (Key == VK_F2 && FMouseActions->RangeSelectAndEdit() && !Options().Contains(goEditing)) {
    if (IsCellEditable(rc, Row())) {
      TGridOptions o = Options();
      SetOptions(o.Include(goEditing));
      ReopenEditor();
      Key = 0;
    } else RefuseKey(Key, Shift);
    return;
  }
  if (Key == VK_F2) {
    if (Options().Contains(goEditing) && !IsCellEditable(rc, Row())) {
      RefuseKey(Key, Shift);
      return;
    }
    const std::string text = GetCellText(rc, Row());
    const bool controls = UpperCase(text).find("<CONTROL") != std::string::npos;
    if (FEnableHTML && controls && GetCellTextKind(text, FEnableHTML) == ckHTML) {
      Key = 0;
      return;
    }
    if (controls) {
      // The cell is edited through its first form control, not the editor.
      if (OnKeyDown) OnKeyDown(this, Key, Shift);
      if (Key != VK_F2) return;
      Key = 0;
      MarkEditStart(Col(), Row());
      ShowNextCellControlEditor(rc, Row(), std::string());
      return;
    }
  }
  if (Key == VK_RETURN && !IsCellEditable(rc, Row()) && !HasCellControl(rc, Row())) {
    RefuseKey(Key, Shift);
    return;
  }
  if ((Key == VK_RETURN || Key == VK_SPACE) && HasCellControl(rc, Row()))
    ClickCellControl(rc, Row(), Key == VK_SPACE);
  if (Key == VK_HOME || Key == VK_END) {
    const bool rows = FNavigation->HomeEndKey() == heFirstLastRow;
    if (rows || Options().Contains(goRowSelect)) {
      if (FFixedRowAlways && RowCount() == 1) {
        TBaseGrid::KeyDown(Key, Shift);
        return;
      }
      const int before = Row(), left = LeftCol();
      const bool footer = FFloatingFooter->Visible();
      // The moves go through the cell change, so edits are validated and
      // the row change is reported.
      if (rows) {
        int target = TCustomGrid::FixedRows();
        if (Key == VK_END) target = footer && RowCount() > 2 ? RowCount() - 2 : RowCount() - FFixedFooters - 1;
        const TPoint b = GetBaseCell(Col(), target);
        FocusCell(b.X, b.Y, true);
        if (shift) {
          TCustomGrid::SetSelection(
              TGridRect{0, std::min(before, Row()), ColCount() - 1, std::max(before, Row())});
        }
        if (FMouseActions->DisjunctRowSelect()) {
          if (!shift) ClearRowSelect();
          SelectToRowSelect(false);
        }
        if (Key == VK_END && (footer || FFixedFooters > 0)) SetTopRow(RowCount() - VisibleRowCount());
        if (Options().Contains(goRowSelect) && FNavigation->KeepHorizScroll()) SetLeftCol(left);
      } else {
        const int c = Key == VK_HOME ? FirstNavigableCol() : ColCount() - 1;
        const TPoint b = GetBaseCell(c, Row());
        FocusCell(b.X, b.Y, true);
        SetLeftCol(Key == VK_HOME ? FirstNavigableCol() : ColCount() - VisibleColCount());
      }
      if (OnKeyDown) OnKeyDown(this, Key, Shift);
      Key = 0;
      finish();
      return;
    }
  }
  if ((Key == VK_RIGHT || Key == VK_LEFT) && IsBaseCell(rc, Row()) && IsMergedCell(rc, Row())) {
    TCellGraphic* g = GetCellGraphic(0, Row());
    if (g && g->CellType == ctNode) {
      if (Key == VK_RIGHT) ExpandNode(RealRowIndex(Row()));
      else ContractNode(RealRowIndex(Row()));
    }
  }
  if (Key == VK_TAB && Options().Contains(goTabs)) {
    TabToCell(shift);
    Key = 0;
    finish();
    return;
  }
  if (FNavigation->SkipFixedCells() && !ctrl && (Key == VK_LEFT || Key == VK_RIGHT || Key == VK_UP || Key == VK_DOWN)) {
    const bool horz = Key == VK_LEFT || Key == VK_RIGHT;
    const int step = (Key == VK_RIGHT || Key == VK_DOWN) ? 1 : -1;
    const int lo = horz ? TCustomGrid::FixedCols() : TCustomGrid::FixedRows();
    const int hi = horz ? ColCount() - FFixedRightCols : RowCount() - FFixedFooters;
    auto fixedAt = [&](int i) { return horz ? IsFixedCell(i, Row()) : IsFixedCell(Col(), i); };
    const int cur = horz ? Col() : Row();
    if (cur + step >= lo && cur + step < hi && fixedAt(cur + step)) {
      // Jump over the fixed cells to the next normal one, or stay.
      int i = cur + step;
      while (i >= lo && i < hi && fixedAt(i)) i += step;
      if (i >= lo && i < hi) {
        if (horz) SetCol(i);
        else SetRow(i);
      }
      if (OnKeyDown) OnKeyDown(this, Key, Shift);
      Key = 0;
      finish();
      return;
    }
  }
  if (Key == VK_DOWN && FNavigation->AppendOnArrowDown()) {
    const bool footer = FFloatingFooter->Visible();
    const int last = RowCount() - FFixedFooters - 1;
    if (Row() == last || (footer && Row() == RowCount() - 2)) {
      if (CanAddRow(true)) {
        if (footer) {
          std::vector<std::string> saved;
          const int lastRow = RowCount() - 1;
          for (int c = 0; c < GetAllColCount(); ++c) saved.push_back(GetCellRaw(c, lastRow));
          AppendRow();
          for (int c = 0; c < GetAllColCount(); ++c) {
            ResetCell(c, RowCount() - 2);
            SetCellRaw(c, RowCount() - 2, "");
            SetCellRaw(c, RowCount() - 1, saved[static_cast<size_t>(c)]);
          }
        } else AppendRow();
        if (footer || FFixedFooters > 0) MoveCurrentCell(Col(), Row() + 1);
        if (footer) CalcFooter(-1);
        if (OnAutoAddRow) OnAutoAddRow(this, Row());
      }
    }
  }

  // The layer's handling fires OnKeyDown and moves; what follows sees the
  // key as the application's handler left it, so a handler can veto it.
  TBaseGrid::KeyDown(Key, Shift);

  if (FNavigation->AllowClipboardShortCuts()) {
    auto clip = [&](const TClipboardEvent& ev, void (TPlusStringGrid::*op)()) {
      bool allow = true;
      if (ev) ev(this, allow);
      if (allow) (this->*op)();
      Key = 0;
      finish();
    };
    if (ctrl && Key == 'X') return clip(OnClipboardCut, &TPlusStringGrid::CutSelectionToClipboard);
    if (ctrl && Key == 'V') return clip(OnClipboardPaste, &TPlusStringGrid::PasteSelectionFromClipboard);
    if (ctrl && (Key == VK_INSERT || Key == 'C'))
      return clip(OnClipboardCopy, &TPlusStringGrid::CopySelectionToClipboard);
    if (shift && Key == VK_INSERT) return clip(OnClipboardPaste, &TPlusStringGrid::PasteSelectionFromClipboard);
    if (shift && Key == VK_DELETE) return clip(OnClipboardCut, &TPlusStringGrid::CutSelectionToClipboard);
  }
  if (Key == VK_INSERT && FNavigation->AllowInsertRow() && !ctrl && !shift && !alt) {
    if (CanInsertRow(Row(), true)) {
      if (FNavigation->InsertPosition() == pInsertAfter) {
        if (FFixedRowAlways && TCustomGrid::FixedRows() == RowCount()) {
          AutoInsertRow(Row());
          MoveCurrentCell(Col(), 1);
        } else {
          const int at = Row() + 1;
          AutoInsertRow(at);
          if (at < RowCount()) MoveCurrentCell(Col(), at);
        }
      } else AutoInsertRow(Row());
      CalcFooter(-1);
    }
  }
  if (ctrl && Key == 'A') {
    if (Options().Contains(goRowSelect) || Options().Contains(goRangeSelect)) {
      const TGridRect all{FirstNavigableCol(), TCustomGrid::FixedRows(), ColCount() - FFixedRightCols - 1,
                          RowCount() - FFixedFooters - 1};
      TCustomGrid::SetSelection(all);
      if (FMouseActions->DisjunctRowSelect()) {
        for (int r = all.Top; r <= all.Bottom; ++r) SetRowSelect(RealRowIndex(r), true);
      } else {
        TGridRect notified = all;
        SelectAllNotify(notified);
      }
    }
    Key = 0;
    finish();
    return;
  }
  // Disjoint row and column marks follow the keyboard.
  if (Key >= VK_PRIOR && Key <= VK_DOWN) {
    if (FMouseActions->DisjunctRowSelect()) {
      if (!shift && !ctrl) ClearRowSelect();
      if (shift) SelectToRowSelect(false);
      else SetRowSelect(FMouseActions->RowSelectPersistent() ? RealRowIndex(Row()) : Row(), true);
    }
    if (FMouseActions->DisjunctColSelect()) {
      if (!shift && !ctrl) ClearColSelect();
      if (shift) SelectToColSelect(false);
      else SetColSelect(Col(), true);
    }
  }
  if (Key == VK_SPACE && FMouseActions->DisjunctRowSelect()) {
    const int r = FMouseActions->RowSelectPersistent() ? RealRowIndex(Row()) : Row();
    SetRowSelect(r, !GetRowSelect(r));
  }
  if (Key == VK_SPACE && FMouseActions->DisjunctColSelect()) SetColSelect(Col(), !GetColSelect(Col()));
  if (Key == VK_DELETE && FNavigation->AllowDeleteRow() && !alt &&
      RowCount() - FFixedFooters > TCustomGrid::FixedRows()) {
    bool can = true;
    if (OnCanDeleteRow) OnCanDeleteRow(this, Row(), can);
    if (can) {
      AutoDeleteRow(Row());
      // The footer row is no row to stand on.
      if (FFloatingFooter->Visible() && Row() == RowCount() - 1 && RowCount() > 1)
        MoveCurrentCell(Col(), RowCount() - 2);
      MarkEditStart(Col(), Row());
      CalcFooter(-1);
    }
  }
  if (Key == VK_F2) MarkEditStart(Col(), Row());
  finish();
}

void TPlusStringGrid::WMChar(TMessage& M) {
  unsigned code = static_cast<unsigned>(M.WParam);
  const bool ctrl = GetKeyState(VK_CONTROL) < 0 || KeyDataToShiftState(M.LParam).Contains(ssCtrl);
  if (FNavigation->AllowClipboardShortCuts() && ctrl && (code == 3 || code == 22 || code == 24)) {
    M.WParam = 0;
    return;
  }
  const int rc = RealColIndex(Col());
  const bool control = HasCellControl(rc, Row());
  if (FMouseActions->RangeSelectAndEdit() && !control && IsCellEditable(rc, Row()) && code != 9 && code != 27) {
    char k = static_cast<char>(code);
    if (OnKeyPress) OnKeyPress(this, k);
    FPendingChar = static_cast<char>(code);
    TGridOptions o = Options();
    SetOptions(o.Include(goEditing));
    ScrollIntoView(Col(), Row());
    SimulateClickAt(Col(), Row());
    TBaseGrid::WMChar(M);
    return;
  }
  if (code == '.' && FExcelStyleDecimalSeparator && (M.LParam & (LPARAM(1) << 22)))
    code = static_cast<unsigned char>(FormatSettings.DecimalSeparator);
  if (control && !(code == 13 && FNavigation->AdvanceOnEnter())) return;
  if (Options().Contains(goEditing) && (code == 8 || code >= 32)) {
    char k = static_cast<char>(code);
    if (OnKeyPress) OnKeyPress(this, k);
    if (k == 0) return;
    FPendingChar = k;
    if (control) return;
    ShowEditorChar(k);
    return;
  }
  M.WParam = code;
  TBaseGrid::WMChar(M);
}

void TPlusStringGrid::KeyPress(char& Key) {
  const int rc = RealColIndex(Col());
  if (Key == 27) {
    if (Options().Contains(goEditing) && FValidatePending) {
      RestoreEditedCell();
      if (OnKeyPress) OnKeyPress(this, Key);
      return;
    }
  }
  if (Key == '\r' && !FNavigation->AdvanceOnEnter() && !IsCellEditable(rc, Row())) {
    if (OnKeyPress) OnKeyPress(this, Key);
    Key = 0;
    return;
  }
  if (Key == '\r' && (!Focused() || HasCellControl(rc, Row()))) {
    AdvanceFromCell(Col(), Row(), FEditorShowing, false, true, false, false);
    if (HasCellControl(rc, Row())) {
      if (OnKeyPress) OnKeyPress(this, Key);
      return;
    }
  }
  if (!Options().Contains(goEditing) && FNavigation->AutoGotoWhenSorted() && Key != '\r' && Key != 27) {
    if (FNavigation->AutoGotoIncremental()) {
      if (Key == 8) {
        if (!FGotoText.empty()) FGotoText.pop_back();
      } else FGotoText += Key;
      FGotoTicks = 0;
    } else FGotoText = std::string(1, Key);
    const int r = FindSortedPrefix(AnsiUpperCase(FGotoText));
    if (r < 0) FGotoText.clear();
    else SetCurrentRow(r);
  }
  TBaseGrid::KeyPress(Key);
}

void TPlusStringGrid::KeyUp(uint16_t& Key, TShiftState Shift) {
  if ((Key >= VK_PRIOR && Key <= VK_DOWN && Key != VK_HOME) || Key == VK_INSERT || Key == VK_DELETE)
    FGotoText.clear();
  const uint16_t k = Key;
  TBaseGrid::KeyUp(Key, Shift);
  if (FNavigation->AlwaysEdit() &&
      ((k >= VK_LEFT && k <= VK_DOWN) || (k == VK_TAB && Options().Contains(goTabs))))
    ReopenEditor();
  if (k == VK_SPACE && FMouseActions->DisjunctCellSelect() && !Options().Contains(goEditing)) {
    const TPoint b = GetBaseCell(Col(), Row());
    if (!IsFixedCell(b.X, b.Y)) {
      bool can = true;
      if (OnSelectCell) OnSelectCell(this, b.X, b.Y, can);
      if (can) {
        const uint32_t v = static_cast<uint32_t>(b.Y) * 65536u + static_cast<uint32_t>(b.X);
        auto it = std::find(FSelectedCells.begin(), FSelectedCells.end(), v);
        if (Shift.Contains(ssCtrl)) {
          if (it == FSelectedCells.end()) FSelectedCells.push_back(v);
          else FSelectedCells.erase(it);
        } else {
          FSelectedCells.assign(1, v);
        }
        // A selection of several cells joins the list as a whole.
        const TGridRect sel = Selection();
        if (sel.Right > sel.Left || sel.Bottom > sel.Top)
          for (int r = sel.Top; r <= sel.Bottom; ++r)
            for (int c = sel.Left; c <= sel.Right; ++c) {
              const uint32_t cell = static_cast<uint32_t>(r) * 65536u + static_cast<uint32_t>(c);
              if (cell != v && std::find(FSelectedCells.begin(), FSelectedCells.end(), cell) == FSelectedCells.end())
                FSelectedCells.push_back(cell);
            }
        Invalidate();
      }
    }
  }
}

int TPlusStringGrid::FindSortedPrefix(const std::string& Text) {
  if (RowCount() < 2) return -1;
  // The column the grid is sorted on.
  int col = TCustomGrid::FixedCols();
  if (FSortSettings->Show()) {
    if (!FSortSettings->IndexShow()) col = FSortSettings->Column();
    else if (FSortIndexes->Count() > 0) col = FSortIndexes->GetSortColumn(0);
  }
  if (col < 0 || col >= GetAllColCount()) return -1;
  for (int r = TCustomGrid::FixedRows(); r < RowCount(); ++r) {
    std::string s = HTMLToPlainText(GetCellText(col, r)).substr(0, Text.size());
    if (AnsiUpperCase(s) == Text) return r;
  }
  return -1;
}

// ---- Tab walk

void TPlusStringGrid::TabToCell(bool Backward) {
  if (OnKeyDown) {
    uint16_t k = VK_TAB;
    OnKeyDown(this, k, Backward ? TShiftState{ssShift} : TShiftState{});
    if (k != VK_TAB) return;
  }
  TabWalk(Backward, 0);
}

void TPlusStringGrid::TabWalk(bool Backward, int Steps) {
  const int first = FirstNavigableCol(), fixedRows = TCustomGrid::FixedRows();
  const int lastCol = ColCount() - VisibleFixedRightCols() - 1;
  const int lastRow = RowCount() - FFixedFooters - 1;
  if (lastCol < first || lastRow < fixedRows) return;
  // A walk stops after one lap of the navigable cells, so a grid without any
  // leaves the current cell where it was.
  const int lap = (lastCol - first + 1) * (lastRow - fixedRows + 1);
  const TPoint start{Col(), Row()};
  auto navigable = [&](int c, int r) {
    const int real = RealColIndex(c);
    if (Options().Contains(goEditing)) return IsCellEditable(real, r);
    return !IsFixedCell(c, r);
  };
  int c = Col(), r = Row();
  const bool topBottom = FNavigation->TabAdvanceDirection() == adTopBottom;
  bool handOver = false;
  for (int step = Steps; step < lap; ++step) {
    if (Backward) {
      if (topBottom) {
        if (r > fixedRows) --r;
        else {
          r = lastRow;
          c = c > first ? c - 1 : lastCol;
        }
      } else if (c > first) {
        --c;
      } else {
        c = lastCol;
        r = r > fixedRows ? r - 1 : lastRow;
      }
    } else {
      const TPoint span = GetCellSpan(RealColIndex(c), r);
      if (topBottom) {
        if (r + span.Y + 1 <= lastRow) r += span.Y + 1;
        else {
          r = fixedRows;
          if (c < lastCol) ++c;
          else {
            c = first;
            handOver = true;
          }
        }
      } else if (c + span.X + 1 <= lastCol) {
        c += span.X + 1;
      } else {
        c = first;
        if (r < lastRow) ++r;
        else {
          r = fixedRows;
          handOver = true;
        }
      }
    }
    if (navigable(c, r) && IsBaseCell(RealColIndex(c), r)) break;
    if (step + 1 == lap) {
      c = start.X;
      r = start.Y;
      handOver = false;
    }
  }
  // One move through the cell change: it validates, switches editing for
  // the new cell, reports the row and may be refused.
  if (c != Col() || r != Row()) FocusCell(c, r, true);
  if (handOver && Parent() && FNavigation->TabToNextAtEnd() && Parent()->HandleAllocated())
    PostMessage(Parent()->Handle(), WM_KEYDOWN, VK_TAB, 0);
  if (FNavigation->AlwaysEdit() && CanFocus()) SetFocus();
}

// ---- advance after Enter

void TPlusStringGrid::AdvanceFromCell(int ACol, int ARow, bool ShowEditor, bool Retry, bool Forward,
                                      bool ForceEditor, bool Force) {
  AdvanceStep(ACol, ARow, ShowEditor, Retry, Forward, ForceEditor, Force);
}

void TPlusStringGrid::AdvanceStep(int ACol, int ARow, bool ShowEditor, bool Retry, bool Forward, bool ForceEditor,
                                  bool Force) {
  if (!FNavigation->AdvanceOnEnter() && !Force) return;
  if (FMouseActions->RangeSelectAndEdit() && !Options().Contains(goEditing)) {
    TGridOptions o = Options();
    SetOptions(o.Include(goEditing));
  }
  if (!Retry) FAdvanceOrigin = {ACol, ARow};
  FPendingChar = 0;
  const int first = FirstNavigableCol(), fixedRows = TCustomGrid::FixedRows();
  const bool topBottom = FNavigation->AdvanceDirection() == adTopBottom;
  int c = ACol, r = ARow;
  // Cells that cannot be edited are stepped over, for at most one lap of the
  // grid: without an editable cell the current cell stays.
  for (long long step = 0;; ++step) {
    const int lastRow = RowCount() - FFixedFooters - 1;
    const int lastCol = ColCount() - VisibleFixedRightCols() - 1;
    const long long lap = std::max(1LL, static_cast<long long>(lastCol - first + 1) * (lastRow - fixedRows + 1));
    if (step >= lap) return;
    const TPoint span = GetCellSpan(RealColIndex(c), r);
    bool appended = false;
    if (Forward && !topBottom) {
      if (c + span.X < lastCol) c += span.X + 1;
      else if (r < lastRow) {
        ++r;
        c = first;
      } else if (FNavigation->AdvanceInsert()) {
        c = first;
        if (CanAddRow(true)) {
          AppendRow();
          ++r;
          appended = true;
          if (OnAutoAddRow) OnAutoAddRow(this, RowCount() - FFixedFooters - 1);
        }
      } else {
        r = fixedRows;
        c = first;
      }
    } else if (Forward) {
      if (r >= lastRow) {
        if (c != lastCol) {
          r = fixedRows;
          c = c + 1 > ColCount() - 1 ? first : c + 1;
        } else if (FNavigation->AdvanceInsert()) {
          SetColCount(ColCount() + 1);
          c += span.X + 1;
          r = fixedRows;
          if (OnAutoInsertCol) OnAutoInsertCol(this, ColCount() - FFixedRightCols - 1);
        } else {
          r = fixedRows;
          c = first;
        }
        Invalidate();
      } else ++r;
    } else if (!topBottom) {
      if (c > first) --c;
      else {
        r = r > fixedRows ? r - 1 : lastRow;
        c = lastCol;
      }
    } else {
      if (r > fixedRows) --r;
      else {
        c = c > first ? c - 1 : lastCol;
        r = lastRow;
      }
    }
    if (CanEditCell(RealColIndex(c), r)) break;
    if (appended) {
      bool any = false;
      for (int cc = TCustomGrid::FixedCols(); cc < ColCount() && !any; ++cc) any = IsCellEditable(RealColIndex(cc), r);
      if (!any) return;
    }
  }
  bool allow = true;
  int newRow = r, newCol = c;
  if (OnAutoAdvance) OnAutoAdvance(this, FAdvanceOrigin.Y, FAdvanceOrigin.X, newRow, newCol, allow);
  if (allow && OnCellChanging) OnCellChanging(this, FAdvanceOrigin.Y, FAdvanceOrigin.X, newRow, newCol, allow);
  FAdvancing = true;
  try {
    if (allow) FocusCell(newCol, newRow, true);
  } catch (...) {
    FAdvancing = false;
    throw;
  }
  FAdvancing = false;
  if (ShowEditor && (ForceEditor || HasCellControl(RealColIndex(Col()), Row()))) {
    if (IsCellEditable(RealColIndex(Col()), Row())) TCustomGrid::ShowEditor();
  }
  if (FMouseActions->DisjunctRowSelect()) {
    ClearRowSelect();
    SetRowSelect(RealRowIndex(Row()), true);
  }
}
