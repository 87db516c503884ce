// Validation of edited values and the grid's answer to every move of the
// current cell.
#include "grid/plusgrid.h"
#include "platform/ui/editctrls.h"

namespace {

// Clears a flag when the scope ends, also when a handler raises.
struct TFlagReset {
  bool& Flag;
  ~TFlagReset() { Flag = false; }
};

}  // namespace

void TPlusStringGrid::MarkEditStart(int ACol, int ARow) {
  FEditCol = ACol;
  FEditRow = ARow;
  const int c = RealColIndex(ACol);
  FEditStartText = GetCellRaw(c, ARow);
  FEditStartWideText = DecodeWideCellText(FEditStartText);
}

void TPlusStringGrid::MoveCurrentCell(int ACol, int ARow) {
  const bool was = FMovingSelf;
  FMovingSelf = true;
  try {
    FocusCell(ACol, ARow, true);
  } catch (...) {
    FMovingSelf = was;
    throw;
  }
  FMovingSelf = was;
}

bool TPlusStringGrid::ValidateCell(const std::string& V) {
  if (!FValidatePending || FValidating) return true;
  FValidatePending = false;
  FValidating = true;
  bool valid = true;
  const int c = RealColIndex(FEditCol), r = FEditRow;
  FLastEditValue = V;
  try {
    if (V != FEditStartText || FValidateAlways) {
      const bool advance = FNavigation->AdvanceOnEnter();
      FNavigation->SetAdvanceOnEnter(false);
      std::string value = V;
      try {
        if (FCellChecker && FCellChecker->AutoCorrect()) value = FCellChecker->Correct(c, r, value);
        if (OnCellValidate) OnCellValidate(this, c, r, value, valid);
      } catch (...) {
        FNavigation->SetAdvanceOnEnter(advance);
        throw;
      }
      // A rejected value leaves the row as it was.
      if (valid && FShowModified->Enabled() && FixedCols() > 0 && value != FEditStartText) SetRowModified(r, true);
      if (valid) UpdateFooter(c);
      if (FCellChecker && FCellChecker->AutoMarkError()) value = FCellChecker->MarkError(c, r, value);
      if (valid && UndoRedo()) UndoRedo()->AddChange(c, r, FEditStartText, value);
      if (valid) CellsChanged(Rect(c, r, c, r));
      FNavigation->SetAdvanceOnEnter(advance);
      FLastEditValue = value;
      if (valid) {
        SetCellText(c, r, value);
        const TPoint b = GetBaseCell(c, r);
        if (b.X != c || b.Y != r) SetCellText(b.X, b.Y, value);
      } else {
        FLastValidationPassed = false;
        // Hiding the editor moves the focus, whose handling marks the edit
        // cell again: the starting text is kept here first.
        const std::string start = FEditStartText;
        const bool changed = value != V;
        if (!changed && FEditorShowing) FValidating = false;
        HideEditor();
        FValidating = true;
        SetCellText(c, r, changed ? value : start);
        MoveCurrentCell(FEditCol, r);
        FValidating = false;
        FValidatePending = true;
        FEditStartText = start;
        ReopenEditor();
        if (!changed && FEditCol != Col()) InvalidateEditor();
      }
      FEditStartText = GetCellRaw(c, r);
    }
  } catch (...) {
    MarkEditStart(Col(), Row());
    FValidating = false;
    throw;
  }
  // After a rejection the edit goes on from the starting text.
  if (valid) MarkEditStart(Col(), Row());
  else {
    FEditCol = Col();
    FEditRow = Row();
  }
  FValidating = false;
  return valid;
}

bool TPlusStringGrid::ValidateCellWide(const std::u16string& V) {
  if (!FValidatePending || FValidating) return true;
  FValidatePending = false;
  FValidating = true;
  bool valid = true;
  const int c = RealColIndex(FEditCol), r = FEditRow;
  try {
    if (V != FEditStartWideText || FValidateAlways) {
      std::u16string value = V;
      UpdateFooter(c);
      if (OnCellValidateWide) OnCellValidateWide(this, c, r, value, valid);
      CellsChanged(Rect(c, r, c, r));
      if (valid) SetWideCell(c, r, value);
      else {
        const std::u16string start = FEditStartWideText;
        HideEditor();
        SetWideCell(c, r, value != V ? value : start);
        MoveCurrentCell(FEditCol, r);
        FValidating = false;
        FValidatePending = true;
        ReopenEditor();
      }
      FEditStartWideText = DecodeWideCellText(GetCellRaw(c, r));
    }
  } catch (...) {
    MarkEditStart(Col(), Row());
    FValidating = false;
    throw;
  }
  if (valid) MarkEditStart(Col(), Row());
  FValidating = false;
  return valid;
}

bool TPlusStringGrid::SelectCell(int ACol, int ARow) {
  if (FMovingSelf) return true;
  bool allow = true;
  const std::string target = ACol >= 0 && ARow >= 0 ? GetCellRaw(RealColIndex(ACol), ARow) : std::string();
  if (ACol >= 0 && ARow >= 0) KeepAboveFooter(ACol, ARow);
  if (FFloatingFooter->Visible() && FFloatingFooter->FooterStyle() == fsFixedLastRow && ARow == RowCount() - 1)
    return false;
  if (ACol < 0 || ARow < 0) return false;
  // A covered cell of a merged area: its base cell becomes current instead.
  if (!Options().Contains(goRangeSelect) && IsCoveredCell(ACol, ARow)) {
    const TPoint b = GetBaseCell(ACol, ARow);
    if (b.X != ACol || b.Y != ARow) {
      MoveCurrentCell(b.X, b.Y);
      RepaintCell(b.X, b.Y);
      if (FMouseActions->DirectEdit()) ShowEditor();
      return false;
    }
  }
  const int oldRow = Row(), oldCol = Col();
  if (ARow != oldRow && OnRowChanging) OnRowChanging(this, oldRow, ARow, allow);
  if (ACol != oldCol && OnColChanging) OnColChanging(this, oldCol, ACol, allow);
  if ((ARow != oldRow || ACol != oldCol) && !FAdvancing && OnCellChanging)
    OnCellChanging(this, oldRow, oldCol, ARow, ACol, allow);
  if (!allow || (ACol == 0 && HasNodes() && !Options().Contains(goRowSelect))) return false;

  // goEditing follows the target cell.
  const int c = RealColIndex(ACol);
  TGridOptions opts = Options();
  if (HasCellControl(c, ARow)) {
    const bool can = CanEditCell(c, ARow);
    FEditingRestored = false;
    if (!opts.Contains(goEditing) && !opts.Contains(goRowSelect) && can) SetOptions(opts.Include(goEditing));
  } else {
    const bool editable = (opts.Contains(goEditing) || FEditingRestored) && CanEditCell(c, ARow);
    if (editable) {
      FEditingRestored = false;
      if (!opts.Contains(goEditing)) {
        if (!FValidatePending) MarkEditStart(ACol, ARow);
        SetOptions(opts.Include(goEditing));
      }
      if (FValidatePending) EndCellEdit();
    } else {
      if (FValidatePending) EndCellEdit();
      if (Options().Contains(goEditing)) {
        FEditingRestored = true;
        TGridOptions o = Options();
        SetOptions(o.Exclude(goEditing));
      }
    }
  }

  bool answer = false;
  auto* editor = InplaceEditor();
  if (!FValidatePending || (editor && editor->Focused())) {
    answer = !IsFixedCell(ACol, ARow) && TBaseGrid::SelectCell(ACol, ARow);
  } else {
    // The Unicode editors' last text stands for a wide cell only when one of
    // them edited it.
    const bool wideEditor = FCurrentEditorType >= edUniEdit && FCurrentEditorType <= edUniMemo;
    const bool ok = wideEditor && IsWideTextCell(Col(), Row()) ? ValidateCellWide(FLastWideEditorText)
                                                                : ValidateCell(GetCurrentCellText());
    if (ok) answer = TBaseGrid::SelectCell(ACol, ARow);
  }
  if (RowIndicator() && !RowIndicator()->Empty() && FixedCols() > 0) {
    RepaintCell(0, oldRow);
    RepaintCell(0, ARow);
  }
  if (ActiveCellShow()) {
    RepaintCell(FixedCols() - 1, oldRow);
    RepaintCell(oldCol, FixedRows() - 1);
    RepaintCell(FixedCols() - 1, ARow);
    RepaintCell(ACol, FixedRows() - 1);
  }
  if (SelectionRectangle() || ActiveRowShow()) Invalidate();
  if (!IsLoading() && ARow != FLastReportedRow && OnRowUpdate) {
    OnRowUpdate(this, FLastReportedRow, ARow);
    FLastReportedRow = ARow;
  }
  FEscapeText = target;
  return answer;
}
