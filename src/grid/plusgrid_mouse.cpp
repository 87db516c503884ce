// Mouse buttons on the string grid: presses on cells, check boxes, radio
// groups and button cells, the click events, edits started by a click,
// double clicks and the fixed-cell editor.
#include <algorithm>

#include "grid/plusgrid.h"
#include "grid/plusgrid_editor.h"
#include "platform/gfx/framectl.h"
#include "platform/rtl/strutils.h"

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

// ---------------------------------------------------------------------------
// The control's own press and release: what runs as the platform's handling
// inside the grid's handling of the buttons.

void TPlusStringGrid::GridMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  const TGridRect before = Selection();
  int c = -1, r = -1;
  MouseToCell(X, Y, c, r);
  const bool onCell = c >= 0 && r >= 0;
  if (Button == mbLeft && FMouseActions->RangeSelectAndEdit() && onCell) {
    const bool onCurrent = c == Col() && r == Row();
    if (onCurrent && !Options().Contains(goEditing) && IsCellEditable(RealColIndex(c), r)) {
      TGridOptions o = Options();
      SetOptions(o.Include(goEditing));
      FRangeEditPress = true;
      TBaseGrid::MouseDown(Button, Shift, X, Y);
      EditCurrentCellByMouse();
      return;
    }
    if (!onCurrent && Shift.Contains(ssShift) && Options().Contains(goEditing)) {
      TGridOptions o = Options();
      SetOptions(o.Exclude(goEditing));
      TBaseGrid::MouseDown(Button, Shift, X, Y);
      return;
    }
  }
  FHandlingMouse = true;
  try {
    TBaseGrid::MouseDown(Button, Shift, X, Y);
  } catch (...) {
    FHandlingMouse = false;
    throw;
  }
  FHandlingMouse = false;
  // The application may refuse sizing the line under the mouse.
  if (GridState() == gsColSizing || GridState() == gsRowSizing) {
    bool allow = true;
    if (GridState() == gsColSizing && OnColumnSize) OnColumnSize(this, FSizingIndex, allow);
    if (GridState() == gsRowSizing && OnRowSize) OnRowSize(this, FSizingIndex, allow);
    if (!allow) {
      FGridState = gsNormal;
      FSizingIndex = FSizingPos = -1;
      Invalidate();
    }
  }
  const TGridRect after = Selection();
  if (!(after == before)) SelectionChanged(after.Left, after.Top, after.Right, after.Bottom);
  if (!onCell) return;
  // Fixed cells edited by a click; next to a sizable border the press sizes.
  const TRect cr = CellRect(c, r);
  const bool deepInside = X > cr.Left + 4 && X < cr.Right - 4 && Y > cr.Top + 4 && Y < cr.Bottom - 4;
  const bool fixedRow = r < TCustomGrid::FixedRows(), fixedCol = c < TCustomGrid::FixedCols();
  if (Button == mbLeft) {
    if (fixedRow && FMouseActions->FixedRowsEdit() == fceLeftClick &&
        (!Options().Contains(goColSizing) || deepInside))
      ShowFixedCellEditor(c, r);
    else if (fixedCol && FMouseActions->FixedColsEdit() == fceLeftClick &&
             (!Options().Contains(goRowSizing) || deepInside))
      ShowFixedCellEditor(c, r);
  } else if (Button == mbRight) {
    if (fixedRow && FMouseActions->FixedRowsEdit() == fceRightClick) ShowFixedCellEditor(c, r);
    else if (fixedCol && FMouseActions->FixedColsEdit() == fceRightClick) ShowFixedCellEditor(c, r);
  }
}

void TPlusStringGrid::GridMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  const TGridRect before = Selection();
  if (Button == mbLeft) {
    // Let go beyond the grid: the sizing is cancelled.
    if ((GridState() == gsColSizing && X >= ClientWidth()) || (GridState() == gsRowSizing && Y >= ClientHeight())) {
      FGridState = gsNormal;
      FSizingIndex = FSizingPos = -1;
      Invalidate();
      return;
    }
    int c = -1, r = -1;
    MouseToCell(X, Y, c, r);
    if (FMouseActions->DisjunctCellSelect() && c >= 0 && r >= 0) {
      DisjunctCellSelectStep(c, r, Shift);
      RepaintCell(c, r);
    }
  }
  if (Button == mbRight && GridState() == gsColMoving) return;
  TBaseGrid::MouseUp(Button, Shift, X, Y);
  const TGridRect after = Selection();
  if (!(after == before)) SelectionChanged(after.Left, after.Top, after.Right, after.Bottom);
}

void TPlusStringGrid::DisjunctCellSelectStep(int ACol, int ARow, TShiftState Shift) {
  const TPoint b = GetBaseCell(ACol, ARow);
  if (IsFixedCell(b.X, b.Y) || b.X < TCustomGrid::FixedCols() || b.Y < TCustomGrid::FixedRows()) return;
  bool can = true;
  if (OnSelectCell) OnSelectCell(this, b.X, b.Y, can);
  if (!can) return;
  auto key = [](int c, int r) { return static_cast<uint32_t>(r) * 65536u + static_cast<uint32_t>(c); };
  const uint32_t v = key(b.X, b.Y);
  if (!Shift.Contains(ssShift)) {
    auto it = std::find(FSelectedCells.begin(), FSelectedCells.end(), v);
    if (Shift.Contains(ssCtrl)) {
      if (it == FSelectedCells.end()) FSelectedCells.push_back(v);
      else FSelectedCells.erase(it);
    } else {
      FSelectedCells.assign(1, v);
      Invalidate();
    }
  }
  const TGridRect s = Selection();
  if (s.Right > s.Left || s.Bottom > s.Top) {
    for (int r = s.Top; r <= s.Bottom; ++r)
      for (int c = s.Left; c <= s.Right; ++c) {
        const uint32_t k = key(c, r);
        if (k != v && std::find(FSelectedCells.begin(), FSelectedCells.end(), k) == FSelectedCells.end())
          FSelectedCells.push_back(k);
      }
    Invalidate();
  }
}

void TPlusStringGrid::EditCurrentCellByMouse() {
  if (HasCellControl(RealColIndex(Col()), Row())) return;
  if (Row() < TopRow()) SetTopRow(Row());
  if (Col() < LeftCol()) SetLeftCol(Col());
  MarkEditStart(Col(), Row());
  ShowEditor();
}

// ---------------------------------------------------------------------------
// The selection resizer: the selection is copied at the press and pasted
// over the enlarged selection at the release.

void TPlusStringGrid::StartFill(TShiftState Shift, int X, int Y, bool Always) {
  FFillStart = Selection();
  CopySelectionToClipboard();
  FFilling = true;
  const bool editing = Options().Contains(goEditing);
  if (Always ? !editing : !(editing || FMouseActions->RangeSelectAndEdit())) GridMouseDown(mbLeft, Shift, X, Y);
  // The drag goes on from the selection the press started with.
  TCustomGrid::SetSelection(FFillStart);
  FGridState = gsSelecting;
  MouseMove(Shift, X, Y);
}

void TPlusStringGrid::EndFill() {
  const TGridRect now = Selection();
  if (OnSelectionResize) OnSelectionResize(this, FFillStart, now);
  FEditingRestored = true;
  try {
    PasteSelectionFromClipboard();
  } catch (...) {
    FEditingRestored = false;
    FFilling = false;
    throw;
  }
  FEditingRestored = false;
  FFilling = false;
  if (OnSelectionResized) OnSelectionResized(this, FFillStart, Selection());
}

// ---------------------------------------------------------------------------
// Presses and releases

void TPlusStringGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  CellMouseDown(Button, Shift, X, Y);
}

void TPlusStringGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  CellMouseUp(Button, Shift, X, Y);
}

void TPlusStringGrid::RightMouseDown(TShiftState Shift, int X, int Y) {
  GridMouseDown(mbRight, Shift, X, Y);
  int c = -1, r = -1;
  MouseToCell(X, Y, c, r);
  const bool onCell = c >= 0 && r >= 0;
  if (onCell && FMouseActions->SelectOnRightClick() && !IsFixedCell(c, r)) {
    const bool selected = IsSelectedCell(c, r);
    if (!selected) {
      const TPoint b = GetBaseCell(c, r);
      const bool keep = FNavigation->KeepHorizScroll();
      const int left = LeftCol();
      if (keep) LockRedraw();
      FocusCell(b.X, b.Y, true);
      if (keep) {
        SetLeftCol(left);
        UnlockRedraw();
      }
    }
    if (FMouseActions->DisjunctRowSelect()) {
      const int rr = RealRowIndex(r);
      if (Shift.Contains(ssCtrl)) SetRowSelect(rr, !GetRowSelect(rr));
      else if (RowSelectCount() < 2 || !PopupMenu() || !selected) {
        // A right click inside a selection of several rows keeps it for the menu.
        ClearRowSelect();
        SetRowSelect(rr, true);
      }
    }
  }
  if (OnRightClickCell) OnRightClickCell(this, r, c);
  if (onCell && FURLShow && FURLEdit && IsURL(GetCellText(RealColIndex(c), r))) {
    FocusCell(c, r, true);
    ShowEditor();
  }
}

void TPlusStringGrid::CellMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbRight) {
    RightMouseDown(Shift, X, Y);
    return;
  }
  if (Button != mbLeft) {
    GridMouseDown(Button, Shift, X, Y);
    return;
  }
  // The press that comes with a double click which opened the fixed-cell
  // editor leaves the focus with it.
  if (Shift.Contains(ssDouble) && FFixedEditor && FFixedEditor->Visible()) return;
  // A double click that sized a column is told to the release that follows it only.
  if (!Shift.Contains(ssDouble)) FDblClickSized = false;
  FButtonDown = true;
  FSortDownCol = FSortDownRow = -1;
  if (OnSelectionResizeHandle(X, Y)) {
    StartFill(Shift, X, Y, false);
    return;
  }
  int c = -1, r = -1;
  MouseToCell(X, Y, c, r);
  bool allow = true;
  if (OnCanClickCell) OnCanClickCell(this, r, c, allow);
  if (!allow) return;
  if (FPointerMode == pmSelectionResize) {
    StartFill(Shift, X, Y, true);
    return;
  }
  FGotoText.clear();
  FOleDragPending = false;
  FPressedButton = {-1, -1};
  FPressTop = TopRow();
  FPressLeft = LeftCol();
  // The line a sizing from here would size: the one left of (above) the press.
  {
    int sc = -1, sr = -1;
    if (r == 0) MouseToCell(X - 5, Y, sc, sr);
    else if (c == 0) MouseToCell(X, Y - 4, sc, sr);
    else MouseToCell(X - 5, Y - 4, sc, sr);
    if (FLook == glListView && FHotCell.X >= 0 && FHotCell.Y >= 0 && IsFixed(FHotCell.X, FHotCell.Y))
      InvalidateCell(FHotCell.X, FHotCell.Y);
    if (sc >= 0 && sr >= 0) NoteSizingPress(sc, sr);
  }
  FDblClickPoint = {X, Y};
  FSortDownCol = c;
  FSortDownRow = r;
  if (c < 0 || r < 0) {
    EndCellEdit();
    if (!FFixedRowAlways) GridMouseDown(Button, Shift, X, Y);
    return;
  }
  const int fixedCols = TCustomGrid::FixedCols(), fixedRows = TCustomGrid::FixedRows();
  const bool inFixed = c < fixedCols || r < fixedRows;
  const TPoint b = GetBaseCell(c, r);
  c = b.X;
  r = b.Y;
  const int rc = RealColIndex(c);
  if (FMouseActions->CaretPositioning()) FCaretToMouse = true;
  // The border of a fixed line under the mouse: sizing it begins.
  if (FFixedColSizeOffer && FFixedColSizing >= 0) {
    BeginFixedLineSizing(true);
    FFixedSizingPos = X;
    Invalidate();
    return;
  }
  if (FFixedRowSizeOffer && FFixedRowSizing >= 0) {
    BeginFixedLineSizing(false);
    FFixedSizingPos = Y;
    Invalidate();
    return;
  }
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
    // A node in the header expands or contracts every node.
    if (r < fixedRows && c == 0 && IsNode(r) && IsOnNodeButton(r, X) && FMouseActions->NodeAllExpandContract()) {
      TCellGraphic* g = NodeGraphic(r);
      if (g->CellBoolean) ExpandAll();
      else ContractAll();
      g->CellBoolean = !g->CellBoolean;
      RepaintCell(0, r);
    }
    if (c == 0 && r >= fixedRows && IsNode(r) && IsOnNodeButton(r, X)) {
      const int real = RealRowIndex(r);
      bool can = true;
      if (GetNodeState(r)) {
        if (OnBeforeExpandNode) OnBeforeExpandNode(this, r, real, can);
        if (can) {
          ExpandNode(real);
          if (OnExpandNode) OnExpandNode(this, r, real);
        }
      } else {
        if (OnBeforeContractNode) OnBeforeContractNode(this, r, real, can);
        if (can) {
          ContractNode(real);
          if (OnContractNode) OnContractNode(this, r, real);
        }
      }
      if (FMouseActions->MoveRowOnNodeClick()) SetCurrentRow(r);
      return;
    }
    if (IsRadio(rc, r) && (IsCellEditable(rc, r) || FControlLook->RadioAlwaysActive())) {
      EndCellEdit();
      const TRect cr = GetMergedCellRect(c, r);
      ClickRadioGroup(rc, r, Y - cr.Top, X - cr.Left);
      return;
    }
    if (c == 0 && r >= fixedRows && HasNodes() && !FMouseActions->RowSelect() && !Options().Contains(goRowSizing))
      return;
    // A press on the selection may become a drag of it once the mouse moves.
    if (FDragDropSettings->OleDropSource() && !Options().Contains(goEditing) &&
        (IsSelectedCell(c, r) || (r < fixedRows && !FEnhRowColMove)) && !IsButtonCell(rc, r) &&
        !HasCheckBox(rc, r) && !(r < fixedRows && (FMouseActions->ColSelect() || FMouseActions->AllSelect())) &&
        c >= fixedCols) {
      const TRect cr = CellRect(c, r);
      if (!Options().Contains(goColSizing) || (std::abs(X - cr.Left) > 4 && std::abs(X - cr.Right) > 4)) {
        FOleDragPending = true;
        if (OnClickCell) OnClickCell(this, r, c);
        return;
      }
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
  // Disjoint rows and columns: a press without Ctrl starts a new set, one
  // with Ctrl on a marked line unmarks it at the release.
  FDeselectOnRelease = false;
  if (FMouseActions->DisjunctRowSelect() && r >= fixedRows && (c != 0 || !FMouseActions->HotmailRowSelect())) {
    const int rr = FMouseActions->RowSelectPersistent() ? RealRowIndex(r) : r;
    if (!Shift.Contains(ssCtrl)) {
      FDisjunctReplace = true;
      if (!Shift.Contains(ssAlt)) ClearRowSelect();
    } else if (GetRowSelect(rr)) FDeselectOnRelease = true;
  }
  if (FMouseActions->DisjunctColSelect() && c >= fixedCols) {
    if (!Shift.Contains(ssCtrl)) {
      FDisjunctReplace = true;
      ClearColSelect();
    } else if (GetColSelect(c)) FDeselectOnRelease = true;
  }
  // Links and form controls in the cell's text.
  {
    const std::string text = GetCellText(rc, r);
    const TCellTextKind kind = GetCellTextKind(text, FEnableHTML);
    if (FURLShow || kind == ckHTML) {
      if (ClickCellLink(c, r, X, Y)) return;
      if (kind == ckHTML && UpperCase(text).find("<CONTROL") != std::string::npos) {
        SetSelection(TGridRect{c, r, c, r});
        return;
      }
    }
  }
  FMoveStart = -1;
  // Presses on the headers select whole rows, columns or the grid.
  const bool rangeSelect = Options().Contains(goRangeSelect);
  auto selectLines = [&](TGridRect s) {
    // The view stays where it is; the editor goes.
    const int top = TopRow(), left = LeftCol();
    const TGridRect was = Selection();
    SetSelection(s);
    FSelectionHidden = false;
    SetTopRow(top);
    SetLeftCol(left);
    if (!Options().Contains(goAlwaysShowEditor) && EditorShown()) HideEditor();
    if (!(Selection() == was)) SelectionChanged(s.Left, s.Top, s.Right, s.Bottom);
  };
  const TGridRect sel = Selection();
  if (c < fixedCols && r < fixedRows && FMouseActions->AllSelect() && rangeSelect && FPointerMode == pmAllSelect) {
    if (CanFocus()) SetFocus();
    NotifyProgress(0, -1);
    NotifyProgress(1, RowCount() - 1);
    NotifyProgress(4, -1);
    TGridRect all{fixedCols, fixedRows, ColCount() - 1, RowCount() - 1};
    SelectAllNotify(all);
    selectLines(all);
  } else if (c < fixedCols && r >= fixedRows && FMouseActions->RowSelect() && rangeSelect &&
             FPointerMode == pmRowSelect) {
    if (EditorShown() && CanFocus()) SetFocus();
    const int from = Shift.Contains(ssShift) ? sel.Top : r;
    selectLines(TGridRect{fixedCols, std::min(from, r), ColCount() - 1, std::max(from, r)});
    BeginLineDragSelect(-1, r);
  } else if (c >= fixedCols && r < fixedRows && FMouseActions->ColSelect() && rangeSelect &&
             FPointerMode == pmColSelect) {
    if (CanFocus()) SetFocus();
    const int from = Shift.Contains(ssShift) ? sel.Left : c;
    selectLines(TGridRect{std::min(from, c), fixedRows, std::max(from, c), RowCount() - 1});
    BeginLineDragSelect(c, -1);
  }
  if (r < fixedRows && c >= fixedCols) FMoveStart = c;
  else if (c < fixedCols && r >= fixedRows) FMoveStart = r;
  const TRect own = CellRect(c, r);
  FPressOffset = {X - own.Left, Y - own.Top};
  const bool editable = (Options().Contains(goEditing) || FMouseActions->RangeSelectAndEdit()) && CanEditCell(rc, r);
  if ((editable || FControlLook->CheckAlwaysActive()) && HasCheckBox(rc, r) && IsInCheckBox(rc, r, X, Y)) {
    EndCellEdit();
    if (CanFocus()) SetFocus();
    ToggleCheck(rc, r, true);
    if (FShowModified->Enabled()) SetRowModified(r, true);
    if (c == 0 && FMouseActions->HotmailRowSelect()) {
      // The row's check box marks the row.
      SetSelection(TGridRect{fixedCols, r, ColCount() - 1, r});
      SetRowSelect(r, !GetRowSelect(r));
    }
    bool state = false;
    GetCellCheckState(rc, r, state);
    if (!FNavigation->AlwaysEdit() && !inFixed) FocusCell(c, r, true);
    if (OnCheckBoxClick) OnCheckBoxClick(this, c, r, state);
    if (FHideFocusRect) RepaintCell(c, r);
    if (r < fixedRows && FMouseActions->CheckAllCheck()) {
      if (state) CheckAll(rc);
      else UnCheckAll(rc);
    }
    if (OnMouseDown) OnMouseDown(this, mbLeft, Shift, X, Y);
    Click();
    return;
  }
  const bool normal = c >= fixedCols && r >= fixedRows;
  if (normal && editable && FMouseActions->DirectEdit()) {
    if (EditorShown()) HideEditor();
    if (CanFocus()) SetFocus();
  }
  const TRect area = GetMergedCellRect(c, r);
  const TPoint span = GetCellSpan(c, r);
  const TGridRect areaCells{c, r, c + std::max(0, span.X), r + std::max(0, span.Y)};
  const bool onSelected = Inside(area, X, Y) && Selection() == areaCells;
  FRestoreSelecting = false;
  if (!onSelected && FMouseActions->RangeSelectAndEdit() && !inFixed && !fixedInData) {
    TGridOptions o = Options();
    SetOptions(o.Exclude(goEditing));
    FRestoreSelecting = true;
  }
  if (fixedInData) {
    const bool footerRow = FFloatingFooter->Visible() && FFloatingFooter->FooterStyle() == fsFixedLastRow &&
                           r == RowCount() - 1;
    if (!footerRow && OnClickCell) OnClickCell(this, r, c);
    return;
  }
  const bool partial = r == TopRow() + VisibleRowCount() || c == LeftCol() + VisibleColCount();
  const bool keepLeft = Options().Contains(goRowSelect) && FNavigation->KeepHorizScroll();
  if (keepLeft) LockRedraw();
  const bool alwaysEdit = FNavigation->AlwaysEdit();
  FNavigation->SetAlwaysEdit(false);
  try {
    GridMouseDown(Button, Shift, X, Y);
  } catch (...) {
    FNavigation->SetAlwaysEdit(alwaysEdit);
    if (keepLeft) UnlockRedraw();
    throw;
  }
  FNavigation->SetAlwaysEdit(alwaysEdit);
  if (GridState() == gsSelecting && partial && FMouseActions->NoAutoRangeScroll()) FGridState = gsNormal;
  if (TopRow() != FPressTop && FMouseActions->NoScrollOnPartialRow()) SetTopRow(FPressTop);
  const bool nearEdge = r < fixedRows && Options().Contains(goColSizing) &&
                        (std::abs(X - own.Left) <= 4 || std::abs(X - own.Right) <= 4);
  if (!nearEdge && OnClickCell) OnClickCell(this, r, c);
  if (OnCellValidate) {
    FEditorJustShown = false;
    MarkEditStart(Col(), Row());
  }
  if (normal && IsMergedCell(c, r) && IsBaseCell(c, r) && !IsFixedCell(c, r)) {
    bool can = true;
    if (OnSelectCell) OnSelectCell(this, c, r, can);
    if (can && !Options().Contains(goRowSelect)) SetSelection(areaCells);
    if (onSelected && editable) ReopenEditor();
  }
  if (normal && editable && FMouseActions->DirectEdit() && !HasCellControl(rc, r) && X > own.Left + 3 &&
      X < own.Right - 3) {
    MarkEditStart(Col(), Row());
    ShowEditor();
  }
  if (FRestoreSelecting) FGridState = gsSelecting;
  if (keepLeft) {
    SetLeftCol(FPressLeft);
    UnlockRedraw();
  }
}

void TPlusStringGrid::CellMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button != mbLeft) {
    GridMouseUp(Button, Shift, X, Y);
    return;
  }
  FMovedSincePress = false;
  FMovedByRelease = false;
  const bool dblClickSized = FDblClickSized;
  FDblClickSized = false;
  SetColumnSized(false);
  FDisjunctReplace = false;
  FButtonDown = false;
  FRangeEditPress = false;
  ReleaseControlButton();
  if (FLook == glListView) Invalidate();
  EndLineDragSelect();
  if (!Designing()) HideDropArrows();
  // The end of sizing a fixed line.
  if (FFixedSizing) {
    const bool cols = FFixedSizingCols;
    const int line = cols ? FFixedColSizing : FFixedRowSizing;
    FFixedSizingPos = cols ? X : Y;
    EndFixedLineSizing(true);
    if (cols) {
      if (OnEndColumnSize) OnEndColumnSize(this, line);
      int w = ColWidths(line);
      DoUpdateColumnSize(line, w);
      if (w != ColWidths(line)) SetColWidths(line, w);
    } else if (OnEndRowSize) {
      OnEndRowSize(this, line);
    }
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
  }
  if (FSizeHintShowing) {
    HideGridHint();
    FSizeHintShowing = false;
  }
  if (c >= 0 && r >= 0) {
    const TPoint b = GetBaseCell(c, r);
    if (IsButtonCell(RealColIndex(b.X), b.Y)) {
      TRect br;
      GetButtonRect(b.X, b.Y, br);
      if (Inside(br, X, Y)) {
        if (GetCaptureControl() == this) SetCaptureControl(nullptr);
        return;
      }
    }
  }
  const int fixedCols = TCustomGrid::FixedCols(), fixedRows = TCustomGrid::FixedRows();
  // A press on the selection that did not become a drag selects.
  if (FOleDragPending) {
    FOleDragPending = false;
    if (c >= fixedCols && r >= fixedRows) {
      if (FMouseActions->DisjunctRowSelect() && FDragDropSettings->OleDropSource()) {
        if (Shift.Contains(ssCtrl)) {
          const int rr = RealRowIndex(r);
          SetRowSelect(rr, !GetRowSelect(rr));
          if (GetCaptureControl() == this) SetCaptureControl(nullptr);
          return;
        }
        ClearRowSelect();
      }
      const bool indicator = RowIndicator() && !RowIndicator()->Empty() && fixedCols > 0;
      if (indicator) RepaintCell(0, Row());
      if (Options().Contains(goRowSelect)) SetSelection(TGridRect{fixedCols, r, ColCount() - 1, r});
      else SetSelection(TGridRect{c, r, c, r});
      if (indicator) RepaintCell(0, Row());
    }
  }
  if (FMouseActions->DisjunctRowSelect() && !(c == 0 && r >= 0 && IsNode(r))) {
    SelectToRowSelect(false);
    if (FDeselectOnRelease && r >= fixedRows && r < RowCount() - FFixedFooters)
      SetRowSelect(FMouseActions->RowSelectPersistent() ? RealRowIndex(r) : r, false);
  }
  if (FMouseActions->DisjunctColSelect()) {
    SelectToColSelect(false);
    if (FDeselectOnRelease && c >= fixedCols && c < ColCount() - FFixedRightCols) SetColSelect(c, false);
  }
  FDeselectOnRelease = false;
  // The end of a row or column move with the floating header button.
  if (FEnhMoveActive) EndEnhMove(true, X, Y);
  else if (GridState() == gsRowMoving && FFloatingFooter->Visible() &&
           FFloatingFooter->FooterStyle() == fsFixedLastRow && FMoveTarget == RowCount() - 1)
    FMoveTarget = -1;  // the footer row stays last
  GridMouseUp(Button, Shift, X, Y);
  if (GridState() == gsSelecting) FGridState = gsNormal;
  // Every release of the left button lets the mouse go.
  if (GetCaptureControl() == this) SetCaptureControl(nullptr);
  if (FFilling) EndFill();
  if (FMovedSincePress || ColumnSized() || c < 0 || r < 0) return;
  if (c < fixedCols && !FSortSettings->FixedCols()) return;
  const TPoint b = GetBaseCell(c, r);
  const int rc = RealColIndex(b.X);
  bool state = false;
  if (HasCheckBox(rc, b.Y) && GetCellCheckState(rc, b.Y, state) && OnCheckBoxMouseUp)
    OnCheckBoxMouseUp(this, rc, b.Y, state);
  int idx = -1;
  if (IsRadio(rc, b.Y) && GetRadioIdx(rc, b.Y, idx) && OnRadioMouseUp) OnRadioMouseUp(this, rc, b.Y, idx);
  if (dblClickSized) return;
  const TRect own = CellRect(c, r);
  if (r == 0 && Options().Contains(goColSizing) && (std::abs(X - own.Left) <= 4 || std::abs(X - own.Right) <= 4))
    return;
  // A click in the sort row sorts the column released on.
  const int sortRow = FSortSettings->Row();
  const int pressRow = FSortDownRow;
  FSortDownCol = FSortDownRow = -1;
  if (r == sortRow && pressRow == sortRow && fixedRows > 0 && FSortSettings->Show() && !FMovedByRelease &&
      RowCount() > 2) {
    EndCellEdit();
    SortColumnClick(c, Shift);
  }
}

void TPlusStringGrid::Click() {
  TBaseGrid::Click();
  FEditorJustShown = false;
  MarkEditStart(Col(), Row());
}

bool TPlusStringGrid::DblClickSizesColumn(int X, int Y) {
  int c = -1, r = -1;
  MouseToCell(X, Y, c, r);
  if (c < 0) {
    c = ColCount() - 1;
    r = 0;
  }
  if (r < 0 || r >= TCustomGrid::FixedRows() || !Options().Contains(goColSizing) ||
      !FMouseActions->AutoSizeColOnDblClick())
    return false;
  const TRect cr = GetMergedCellRect(c, r);
  auto size = [&](int ACol) {
    bool allow = true;
    if (OnColumnSize) OnColumnSize(this, ACol, allow);
    if (!allow) return;
    AutoSizeCol(ACol);
    if (OnEndColumnSize) OnEndColumnSize(this, ACol);
  };
  if (std::abs(X - cr.Left) < 4) {
    FDblClickSized = true;
    if (c - 1 < TCustomGrid::FixedCols()) return false;
    size(c - 1);
    return true;
  }
  if (std::abs(X - cr.Right) < 4 && c >= TCustomGrid::FixedCols()) {
    FDblClickSized = true;
    size(c);
    return true;
  }
  return false;
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
