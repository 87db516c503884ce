// Mouse buttons on the string grid: presses on cells, check boxes, radio
// groups and button cells, the click events, edits started by a click,
// double clicks and the fixed-cell editor.
#include <algorithm>

#include "grid/plusgrid.h"
#include "grid/plusgrid_editor.h"
#include "platform/gfx/framectl.h"

namespace {

bool Inside(const TRect& R, int X, int Y) { return X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom; }

}  // namespace

void TPlusStringGrid::SimulateClickAt(int ACol, int ARow) {
  const TRect r = GetMergedCellRect(ACol, ARow);
  CellMouseDown(mbLeft, {}, r.Left + 2, r.Top + 2);
  CellMouseUp(mbLeft, {}, r.Left + 2, r.Top + 2);
}

void TPlusStringGrid::PaintPressedFixedButton(TCanvas* ACanvas) {
  if (!FFixedButtonDown || FPressedButton.X < 0) return;
  TRect r = GetMergedCellRect(FPressedButton.X, FPressedButton.Y);
  if (r.IsEmpty()) return;
  DrawEdge(ACanvas, r, BDR_SUNKENINNER, BF_RIGHT | BF_BOTTOM);
  DrawEdge(ACanvas, r, BDR_SUNKENINNER, BF_LEFT | BF_TOP);
}

void TPlusStringGrid::ClickRadioGroup(int ACol, int ARow, int DY, int DX) {
  TCanvas* canvas = Canvas();
  TBrush brush;
  TFont font;
  font.Assign(Font());
  DoGetCellColor(ACol, ARow, {}, &brush, &font);
  canvas->SetFont(&font);
  const TPoint b = GetBaseCell(ACol, ARow);
  if (!IsFixedCell(DisplColIndex(b.X), b.Y)) {
    SetCurrentRow(b.Y);
    SetCol(DisplColIndex(b.X));
  }
  TCellGraphic* g = GetCellGraphic(b.X, b.Y);
  auto* options = g ? dynamic_cast<TStrings*>(g->CellContent) : nullptr;
  if (!options) return;
  const int radio = FControlLook->ControlStyle() > csFlat ? 16 : FControlLook->RadioSize();
  int sum = 0, chosen = -1;
  for (int k = 0; k < options->Count() && chosen < 0; ++k) {
    const int prev = sum;
    if (g->CellBoolean) sum += canvas->TextWidth(options->Strings(k)) + radio;
    else sum += std::max(radio, canvas->TextHeight("gh"));
    const int at = g->CellBoolean ? DX : DY;
    // A point on a boundary chooses nothing.
    if (prev < at && at < sum) chosen = k;
  }
  if (chosen < 0) return;
  if (g->CellIndex == -1) SetCellText(b.X, b.Y, options->Strings(chosen));
  else {
    g->CellIndex = chosen;
    g->CellVariant = chosen;
    SetCellText(b.X, b.Y, GetCellRaw(b.X, b.Y));
  }
  RepaintCell(DisplColIndex(b.X), b.Y);
  if (OnRadioClick) OnRadioClick(this, DisplColIndex(b.X), b.Y, chosen);
}

void TPlusStringGrid::CellMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbRight) {
    TBaseGrid::MouseDown(Button, Shift, X, Y);
    int c = -1, r = -1;
    MouseToCell(X, Y, c, r);
    if (c < 0 || r < 0) return;
    if (FMouseActions->SelectOnRightClick() && !IsFixedCell(c, r)) {
      const TGridRect sel = Selection();
      const bool selected = c >= sel.Left && c <= sel.Right && r >= sel.Top && r <= sel.Bottom;
      if (!selected) {
        const TPoint b = GetBaseCell(c, r);
        FocusCell(b.X, b.Y, true);
      }
      if (FMouseActions->DisjunctRowSelect()) {
        const int rr = RealRowIndex(r);
        if (Shift.Contains(ssCtrl)) SetRowSelect(rr, !GetRowSelect(rr));
        else if (RowSelectCount() < 2 || !PopupMenu() || !selected) {
          ClearRowSelect();
          SetRowSelect(rr, true);
        }
      }
    }
    if (OnRightClickCell) OnRightClickCell(this, r, c);
    return;
  }
  if (Button != mbLeft) {
    TBaseGrid::MouseDown(Button, Shift, X, Y);
    return;
  }
  // The press that comes with a double click which opened the fixed-cell
  // editor leaves the focus with it.
  if (Shift.Contains(ssDouble) && FFixedEditor && FFixedEditor->Visible()) return;
  FDblClickPoint = {X, Y};
  int c = -1, r = -1;
  MouseToCell(X, Y, c, r);
  bool allow = true;
  if (OnCanClickCell) OnCanClickCell(this, r, c, allow);
  if (!allow) return;
  FGotoText.clear();
  FPressedButton = {-1, -1};
  FMouseDownCell = {c, r};
  if (c < 0 || r < 0) {
    EndCellEdit();
    if (!FFixedRowAlways) TBaseGrid::MouseDown(Button, Shift, X, Y);
    return;
  }
  const TPoint b = GetBaseCell(c, r);
  c = b.X;
  r = b.Y;
  const int rc = RealColIndex(c);
  if (FMouseActions->CaretPositioning()) FCaretToMouse = true;
  const bool inFixed = c < TCustomGrid::FixedCols() || r < TCustomGrid::FixedRows();
  const bool fixedInData = !inFixed && IsFixedCell(c, r);
  if (inFixed || fixedInData) EndCellEdit();
  if ((inFixed || fixedInData) && FFixedAsButtons && Options().Contains(goFixedVertLine) &&
      Options().Contains(goFixedHorzLine)) {
    // Drawn sunken until the release.
    FPressedButton = {c, r};
    FFixedButtonDown = true;
    Invalidate();
  }
  if (!Designing()) {
    if (IsRadio(rc, r) && (IsCellEditable(rc, r) || FControlLook->RadioAlwaysActive())) {
      EndCellEdit();
      const TRect cr = GetMergedCellRect(c, r);
      ClickRadioGroup(rc, r, Y - cr.Top, X - cr.Left);
      return;
    }
    if (IsButtonCell(rc, r)) {
      EndCellEdit();
      TRect br;
      GetButtonRect(c, r, br);
      if (Inside(br, X, Y)) {
        SetButtonDown(c, r, true);
        FPressedButton = {c, r};
        SetCaptureControl(this);
        if (OnClickCell) OnClickCell(this, r, c);
        if (Options().Contains(goEditing)) {
          // The release asks the can-edit hook as the grid stood at the press.
          FEditingRestored = true;
          TGridOptions o = Options();
          SetOptions(o.Exclude(goEditing));
        }
      }
      return;
    }
  }
  const bool editable = (Options().Contains(goEditing) || FMouseActions->RangeSelectAndEdit()) && CanEditCell(rc, r);
  if ((editable || FControlLook->CheckAlwaysActive()) && HasCheckBox(rc, r) && IsInCheckBox(rc, r, X, Y)) {
    EndCellEdit();
    if (CanFocus()) SetFocus();
    ToggleCheck(rc, r, true);
    if (FShowModified->Enabled()) SetRowModified(r, true);
    bool state = false;
    GetCellCheckState(rc, r, state);
    if (!FNavigation->AlwaysEdit() && !inFixed) FocusCell(c, r, true);
    if (OnCheckBoxClick) OnCheckBoxClick(this, c, r, state);
    if (r < TCustomGrid::FixedRows() && FMouseActions->CheckAllCheck()) {
      if (state) CheckAll(rc);
      else UnCheckAll(rc);
    }
    Click();
    return;
  }
  const bool normal = c >= TCustomGrid::FixedCols() && r >= TCustomGrid::FixedRows();
  if (normal && editable && FMouseActions->DirectEdit()) {
    if (EditorShown()) HideEditor();
    if (CanFocus()) SetFocus();
  }
  if (fixedInData) {
    if (OnClickCell) OnClickCell(this, r, c);
    return;
  }
  // Disjoint rows and columns: a press without Ctrl starts a new set, one
  // with Ctrl on a marked line unmarks it at the release.
  FDeselectOnRelease = false;
  if (FMouseActions->DisjunctRowSelect() && r >= TCustomGrid::FixedRows() &&
      (c != 0 || !FMouseActions->HotmailRowSelect())) {
    const int rr = FMouseActions->RowSelectPersistent() ? RealRowIndex(r) : r;
    if (!Shift.Contains(ssCtrl)) {
      FDisjunctReplace = true;
      if (!Shift.Contains(ssAlt)) ClearRowSelect();
    } else if (GetRowSelect(rr)) FDeselectOnRelease = true;
  }
  if (FMouseActions->DisjunctColSelect() && c >= TCustomGrid::FixedCols()) {
    if (!Shift.Contains(ssCtrl)) {
      FDisjunctReplace = true;
      ClearColSelect();
    } else if (GetColSelect(c)) FDeselectOnRelease = true;
  }
  const bool alwaysEdit = FNavigation->AlwaysEdit();
  FNavigation->SetAlwaysEdit(false);
  FHandlingMouse = true;
  try {
    TBaseGrid::MouseDown(Button, Shift, X, Y);
  } catch (...) {
    FHandlingMouse = false;
    FNavigation->SetAlwaysEdit(alwaysEdit);
    throw;
  }
  FHandlingMouse = false;
  FNavigation->SetAlwaysEdit(alwaysEdit);
  const TRect cr = CellRect(c, r);
  const bool nearEdge = r < TCustomGrid::FixedRows() && Options().Contains(goColSizing) &&
                        (std::abs(X - cr.Left) <= 4 || std::abs(X - cr.Right) <= 4);
  if (!nearEdge && OnClickCell) OnClickCell(this, r, c);
  if (OnCellValidate) {
    FEditorJustShown = false;
    MarkEditStart(Col(), Row());
  }
  if (normal && editable && FMouseActions->DirectEdit() && !HasCellControl(rc, r) && X > cr.Left + 3 &&
      X < cr.Right - 3) {
    MarkEditStart(Col(), Row());
    ShowEditor();
  }
}

void TPlusStringGrid::CellMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button != mbLeft) {
    TBaseGrid::MouseUp(Button, Shift, X, Y);
    return;
  }
  int c = -1, r = -1;
  MouseToCell(X, Y, c, r);
  if (FPressedButton.X >= 0) {
    const TPoint p = FPressedButton;
    const bool fixedButton = FFixedButtonDown;
    FPressedButton = {-1, -1};
    FFixedButtonDown = false;
    // The button always comes up; it clicks only when released on itself.
    TRect br;
    if (fixedButton) {
      br = GetMergedCellRect(p.X, p.Y);
      Invalidate();
    } else {
      SetButtonDown(p.X, p.Y, false);
      GetButtonRect(p.X, p.Y, br);
    }
    const TPoint b = c >= 0 && r >= 0 ? GetBaseCell(c, r) : TPoint{-1, -1};
    if (b.X == p.X && b.Y == p.Y && Inside(br, X, Y)) {
      const int rc = RealColIndex(p.X);
      bool can = Options().Contains(goEditing) || FEditingRestored;
      if (!FControlLook->NoDisabledButtonLook()) {
        if (HasCellProperties(rc, p.Y) && GetCellProperties(rc, p.Y)->ReadOnly()) can = false;
        else if (OnCanEditCell) OnCanEditCell(this, p.Y, rc, can);
      }
      if (can || FControlLook->NoDisabledButtonLook())
        if (OnButtonClick) OnButtonClick(this, rc, p.Y);
    }
    if (FEditingRestored && !Options().Contains(goEditing)) {
      FEditingRestored = false;
      TGridOptions o = Options();
      SetOptions(o.Include(goEditing));
    }
    if (GetCaptureControl() == this) SetCaptureControl(nullptr);
    if (!fixedButton) return;
  }
  FDisjunctReplace = false;
  if (FMouseActions->DisjunctRowSelect() && !(c == 0 && r >= 0 && IsNode(r))) {
    SelectToRowSelect(false);
    if (FDeselectOnRelease && r >= TCustomGrid::FixedRows() && r < RowCount() - FFixedFooters)
      SetRowSelect(FMouseActions->RowSelectPersistent() ? RealRowIndex(r) : r, false);
  }
  if (FMouseActions->DisjunctColSelect()) {
    SelectToColSelect(false);
    if (FDeselectOnRelease && c >= TCustomGrid::FixedCols() && c < ColCount() - FFixedRightCols)
      SetColSelect(c, false);
  }
  FDeselectOnRelease = false;
  TBaseGrid::MouseUp(Button, Shift, X, Y);
  // Every release of the left button lets the mouse go.
  if (GetCaptureControl() == this) SetCaptureControl(nullptr);
  if (c < 0 || r < 0) return;
  const TPoint b = GetBaseCell(c, r);
  const int rc = RealColIndex(b.X);
  bool state = false;
  if (HasCheckBox(rc, b.Y) && GetCellCheckState(rc, b.Y, state) && OnCheckBoxMouseUp)
    OnCheckBoxMouseUp(this, rc, b.Y, state);
  int idx = -1;
  if (IsRadio(rc, b.Y) && GetRadioIdx(rc, b.Y, idx) && OnRadioMouseUp) OnRadioMouseUp(this, rc, b.Y, idx);
}

void TPlusStringGrid::Click() {
  TBaseGrid::Click();
  FEditorJustShown = false;
  MarkEditStart(Col(), Row());
}

void TPlusStringGrid::DblClick() {
  const TPoint p = FDblClickPoint;
  int c = -1, r = -1;
  MouseToCell(p.X, p.Y, c, r);
  TBaseGrid::DblClick();
  if (OnDblClickCell) OnDblClickCell(this, r, c);
  if (c < 0 || r < 0) return;
  if (FMouseActions->RangeSelectAndEdit() && IsCellEditable(RealColIndex(c), r)) {
    TGridOptions o = Options();
    SetOptions(o.Include(goEditing));
    SimulateClickAt(c, r);
  }
  if ((r < TCustomGrid::FixedRows() && FMouseActions->FixedRowsEdit() == fceDblClick) ||
      (c < TCustomGrid::FixedCols() && FMouseActions->FixedColsEdit() == fceDblClick))
    ShowFixedCellEditor(c, r);
}

void TPlusStringGrid::ShowFixedCellEditor(int ACol, int ARow) {
  if (!FFixedEditor) FFixedEditor = new TGridTransEdit(this);
  if (FFixedEditor->Visible() && !FFixedEditor->FinishEdit()) return;
  // The hook starts from true, as for every other cell: a handler that
  // leaves it alone lets the header be edited, one that clears it refuses.
  bool can = true;
  if (OnCanEditCell) OnCanEditCell(this, ARow, RealColIndex(ACol), can);
  if (!can) return;
  const TRect r = GetMergedCellRect(ACol, ARow);
  FFixedEditor->SetBounds(r.Left + 1, r.Top + 1, r.Right - r.Left - 2, r.Bottom - r.Top - 2);
  FFixedEditor->SetText(GetCellText(ACol, ARow));
  FFixedEditor->SetCol(ACol);
  FFixedEditor->SetRow(ARow);
  FFixedEditor->SetVisible(true);
  FFixedEditor->SetFocus();
}
