// The editing cycle of the string grid: choosing the editor of a cell,
// opening it, writing its value back, ending the edit and reporting it, and
// the hand-over of edit texts between editors and cells.
#include <algorithm>

#include "grid/plusgrid.h"
#include "grid/plusgrid_editor.h"
#include "grid/support/psgcombo.h"
#include "grid/support/psghtmle.h"
#include "platform/ui/forms.h"

namespace {

bool IsDefaultEditorType(TEditorType t) {
  return t == edNormal || (t >= edNumeric && t <= edPassword) || t == edLowerCase || t == edUpperCase;
}

}  // namespace

TInplaceEdit* TPlusStringGrid::CreateEditor() { return new TPlusInplaceEdit(this); }

void TPlusStringGrid::DetachEditors() {
  if (auto* e = dynamic_cast<TPlusInplaceEdit*>(InplaceEditor())) e->DetachGrid();
  if (FFixedEditor) FFixedEditor->DetachGrid();
  if (FComboEditor) {
    FComboEditor->OnKeyDown = nullptr;
    FComboEditor->OnExit = nullptr;
    FComboEditor->OnChange = nullptr;
    FComboEditor->OnSelect = nullptr;
  }
}

TWinControl* TPlusStringGrid::EditorControl(TEditorType AType) {
  if (AType != edComboEdit && AType != edComboList) return nullptr;
  if (!FComboEditor && !Designing()) {
    FComboEditor = new TASGComboBox(this);
    FComboEditor->SetParent(this);
    FComboEditor->SetVisible(false);
    FComboEditor->SetEnabled(false);
    FComboEditor->OnKeyDown = [this](TObject*, uint16_t& Key, TShiftState Shift) { OwnEditorKeyDown(Key, Shift); };
    FComboEditor->OnExit = [this](TObject*) { OwnEditorExit(); };
    FComboEditor->OnChange = [this](TObject*) {
      if (FEditorShowing && OnEditChange) OnEditChange(this, Col(), Row(), FComboEditor->Text());
    };
    FComboEditor->OnSelect = [this](TObject*) {
      const int i = FComboEditor->ItemIndex();
      const std::string item = i >= 0 ? FComboEditor->Items()->Strings(i) : std::string();
      if (OnComboChange) OnComboChange(this, RealColIndex(Col()), Row(), i, item);
      if (OnComboObjectChange)
        OnComboObjectChange(this, RealColIndex(Col()), Row(), i, item, i >= 0 ? FComboEditor->Items()->Objects(i) : nullptr);
    };
  }
  return FComboEditor;
}

TComboBox* TPlusStringGrid::ComboEditor() { return static_cast<TComboBox*>(EditorControl(edComboEdit)); }

void TPlusStringGrid::OwnEditorKeyDown(uint16_t& Key, TShiftState Shift) {
  TWinControl* c = FActiveEditorControl;
  if (!c || !FEditorShowing) return;
  // A dropped-down list keeps its keys.
  if (auto* combo = dynamic_cast<TComboBox*>(c); combo && combo->DroppedDown() && Key != VK_TAB) return;
  switch (Key) {
    case VK_RETURN:
    case VK_TAB: {
      const std::string text = c->Text();
      SetEditText(Col(), Row(), text);
      if (!ValidateCell(text)) {
        c->SetText(GetCurrentCellText());
        Key = 0;
        return;
      }
      const uint16_t k = Key;
      Key = 0;
      LeaveEditorByKey(k, Shift);
      return;
    }
    case VK_ESCAPE: {
      c->SetText(FEscapeText);
      SetEditText(Col(), Row(), FEscapeText);
      Key = 0;
      LeaveEditorByKey(VK_ESCAPE, Shift);
      return;
    }
    default: return;
  }
}

void TPlusStringGrid::OwnEditorExit() {
  if (!FEditorShowing || FStoringEditor || FLeavingByKey || ComponentState().Contains(csDestroying)) return;
  EndCellEdit();
}

bool TPlusStringGrid::IsCellEditable(int ACol, int ARow) {
  if (!Options().Contains(goEditing) && !FEditingRestored && !FMouseActions->RangeSelectAndEdit()) return false;
  const TPoint b = GetBaseCell(ACol, ARow);
  if (!CanEditCell(b.X, b.Y)) return false;
  return !IsFixedCell(DisplColIndex(b.X), b.Y);
}

bool TPlusStringGrid::CanEditShow() {
  if (FValidating) return false;
  bool answer = TBaseGrid::CanEditShow();
  if (Designing()) return answer;
  const TPoint b = GetBaseCell(RealColIndex(Col()), Row());
  if (answer && !FEditorShowing && HasCellControl(b.X, b.Y)) return false;
  // A cell that cannot be edited never gets an editor, also before the
  // first selection has switched goEditing for it.
  if (answer && !FEditorShowing && !IsCellEditable(b.X, b.Y)) return false;
  if (answer && !FEditorShowing) {
    FSuppressEditChange = true;
    FEscapeText = GetCurrentCellText();
    // The edit starts from what the cell holds now.
    if (!FValidatePending) MarkEditStart(Col(), Row());
    FCurrentEditorType = FDefaultEditor;
    if (OnGetEditorType) OnGetEditorType(this, b.X, b.Y, FCurrentEditorType);
    if (FCurrentEditorType == edNone) return false;
    FEditorShowing = true;
    if (!IsDefaultEditorType(FCurrentEditorType)) {
      const TPoint db = GetBaseCell(Col(), Row());
      ShowCellEditor(db.X, db.Y);
      FEditorJustShown = true;
      return false;
    }
    FDefaultEditorUsed = true;
  }
  if (answer) {
    FEditorJustShown = true;
    FValidatePending = true;
  }
  return answer;
}

void TPlusStringGrid::ShowCellEditor(int ACol, int ARow) {
  FValidatePending = true;
  FSpecialEditorOpen = true;
  FActiveEditorControl = nullptr;
  if (FCurrentEditorType != edCustom) FLastValidationPassed = true;
  TWinControl* c = EditorControl(FCurrentEditorType);
  if (!c) {
    // No control for this type: the edit closes on the next selection.
    FPendingChar = 0;
    return;
  }
  TRect r = GetMergedCellRect(ACol, ARow);
  const int w = r.Right - r.Left - 1, h = r.Bottom - r.Top - 1;
  c->SetBounds(r.Left, r.Top, w, h);
  const std::string text = GetEditText(ACol, ARow);
  if (auto* combo = dynamic_cast<TComboBox*>(c)) {
    combo->SetDroppedDown(false);
    const bool list = FCurrentEditorType == edComboList;
    combo->SetStyle(list ? csDropDownList : csDropDown);
    if (list) {
      const int C = RealColIndex(ACol);
      int i = combo->Items()->IndexOf(GetCellText(C, ARow));
      if (i < 0) {
        i = 0;
        if (combo->Items()->Count() > 0) {
          const std::string first = combo->Items()->Strings(0);
          if (OnComboChange) OnComboChange(this, C, ARow, 0, first);
          if (OnComboObjectChange) OnComboObjectChange(this, C, ARow, 0, first, combo->Items()->Objects(0));
        }
      }
      combo->SetItemIndex(i);
    } else combo->SetText(text);
  } else c->SetText(text);
  c->SetVisible(true);
  c->SetEnabled(true);
  c->SetFocus();
  if (auto* combo = dynamic_cast<TComboBox*>(c)) {
    if (FNavigation->EditSelectAll()) combo->SelectAll();
    if (FMouseActions->DirectComboDrop()) combo->SetDroppedDown(true);
  }
  if (FPendingChar && c->HandleAllocated()) PostMessage(c->Handle(), WM_CHAR, static_cast<unsigned char>(FPendingChar), 0);
  if (FCurrentEditorType != edCheckBox) FActiveEditorControl = c;
  FPendingChar = 0;
}

void TPlusStringGrid::StoreCellEditorValue(int ACol, int ARow) {
  FStoringEditor = true;
  FPendingChar = 0;
  const int c = RealColIndex(ACol);
  if (!IsDefaultEditorType(FCurrentEditorType) && FCurrentEditorType != edDataCheckBox &&
      FCurrentEditorType != edNone) {
    if (TWinControl* ctl = FActiveEditorControl) {
      if (FEditorShowing && FCurrentEditorType != edButton) SetCellFromEditor(c, ARow, ctl->Text());
      FEditorShowing = false;
      ctl->SetEnabled(false);
      ctl->SetVisible(false);
    } else {
      FEditorShowing = false;
    }
    FActiveEditorControl = nullptr;
  }
  if (FCurrentEditorType != edNormal && FSpecialEditorOpen) NotifyEditingDone(c, ARow);
  FStoringEditor = false;
  FSpecialEditorOpen = false;
}

void TPlusStringGrid::SetCellFromEditor(int ACol, int ARow, const std::string& Value) {
  SetEditText(DisplColIndex(ACol), ARow, Value);
  SetCellText(ACol, ARow, Value);
}

void TPlusStringGrid::RestoreEditedCell() {
  SetCellText(RealColIndex(Col()), Row(), FEscapeText);
  SetEditText(Col(), Row(), GetCellText(RealColIndex(Col()), Row()));
}

void TPlusStringGrid::EndCellEdit() {
  if (!FEditorShowing) return;
  HideEditor();
  StoreCellEditorValue(Col(), Row());
  FEditorShowing = false;
  SelectCell(Col(), Row());
}

void TPlusStringGrid::LeaveEditorByKey(uint16_t Key, TShiftState Shift) {
  FLeavingByKey = true;
  EndCellEdit();
  if (Key == VK_TAB || (Key >= VK_LEFT && Key <= VK_DOWN)) {
    uint16_t k = Key;
    KeyDown(k, Shift);
  }
  const bool alwaysEdit = FNavigation->AlwaysEdit();
  FNavigation->SetAlwaysEdit(false);
  if (CanFocus()) SetFocus();
  if (Key == VK_RETURN) AdvanceFromCell(Col(), Row(), false, false, true, true, false);
  FNavigation->SetAlwaysEdit(alwaysEdit);
  FLeavingByKey = false;
}

void TPlusStringGrid::ReopenEditor() {
  const TPoint b = GetBaseCell(RealColIndex(Col()), Row());
  if (HasCellControl(b.X, b.Y)) return;
  if (Row() < TopRow()) SetTopRow(Row());
  if (Col() < LeftCol()) SetLeftCol(Col());
  FEditStartText = GetCurrentCellText();
  ShowEditor();
}

void TPlusStringGrid::NotifyEditingDone(int ACol, int ARow) {
  if (OnEditingDone) OnEditingDone(this);
  if (HandleAllocated()) PostMessage(Handle(), GridEditDoneMessage(), static_cast<WPARAM>(ACol),
                                     static_cast<LPARAM>(ARow));
}

void TPlusStringGrid::Dispatch(TMessage& Message) {
  if (Message.Msg == GridEditDoneMessage()) {
    if (OnEditCellDone)
      OnEditCellDone(this, static_cast<int>(Message.WParam), static_cast<int>(Message.LParam));
    return;
  }
  TBaseGrid::Dispatch(Message);
}

void TPlusStringGrid::DefaultEditorChanged(const std::string& Text) {
  if (!FSuppressEditChange && OnEditChange) OnEditChange(this, Col(), Row(), Text);
  // The cell follows each keystroke, so that painting and the hooks see it.
  if (FDefaultEditorUsed && FEditorShowing && !FHandlingMouse && IsDefaultEditorType(FCurrentEditorType))
    SetEditText(Col(), Row(), Text);
}

// ---- edit-text hand-over

std::string TPlusStringGrid::GetEditText(int ACol, int ARow) {
  FSuppressEditChange = true;
  TAlignment h = taLeftJustify;
  TVAlignment v = vtaTop;
  const int rc = RealColIndex(ACol);
  GetCellAlignment(rc, ARow, h, v);
  if (auto* e = dynamic_cast<TPlusInplaceEdit*>(InplaceEditor())) e->SetVAlign(h == taRightJustify);
  TPoint b{rc, ARow};
  if (!IsBaseCell(rc, ARow)) b = GetBaseCell(rc, ARow);
  std::string s = GetCellRaw(b.X, b.Y);
  if (!FEditWithTags) s = HTMLToPlainText(s);
  return s;
}

void TPlusStringGrid::SetEditText(int ACol, int ARow, const std::string& Value) {
  TPoint b{RealColIndex(ACol), ARow};
  if (!IsBaseCell(b.X, b.Y)) b = GetBaseCell(b.X, b.Y);
  SetCellRaw(b.X, b.Y, Value);
  RepaintCell(DisplColIndex(b.X), b.Y);
}

std::string TPlusStringGrid::GetCurrentCellText() {
  const TPoint b = GetBaseCell(RealColIndex(Col()), Row());
  return GetCellRaw(b.X, b.Y);
}

void TPlusStringGrid::SetCurrentCellText(const std::string& Value) {
  const TPoint b = GetBaseCell(RealColIndex(Col()), Row());
  SetCellText(b.X, b.Y, Value);
}

void TPlusStringGrid::SetCurrentCellEditText(const std::string& Value) {
  const TPoint b = GetBaseCell(Col(), Row());
  SetEditText(b.X, b.Y, Value);
}

std::string TPlusStringGrid::GetCellPlainText(int ACol, int ARow) { return HTMLToPlainText(GetCellText(ACol, ARow)); }

std::string TPlusStringGrid::EllipsClick(const std::string& S) {
  std::string v = S;
  if (OnEllipsClick) OnEllipsClick(this, RealColIndex(Col()), Row(), v);
  return v;
}

int TPlusStringGrid::GetRowLineCount(int ARow) {
  if (!FMultilinecells) return 1;
  int n = 1;
  for (int c = 0; c < ColCount() - FNumHiddenColumns; ++c)
    n = std::max(n, CountTextLines(GetCellText(RealColIndex(c), ARow), true));
  return n;
}

bool TPlusStringGrid::CanAddRow(bool CanAdd) {
  if (OnCanAddRow) OnCanAddRow(this, CanAdd);
  return CanAdd;
}

bool TPlusStringGrid::CanInsertRow(int ARow, bool CanInsert) {
  if (OnCanInsertRow) OnCanInsertRow(this, ARow, CanInsert);
  return CanInsert;
}

void TPlusStringGrid::SetCellChecker(TPlusStringGridCheck* v) {
  if (v == FCellChecker) return;
  if (FCellChecker) FCellChecker->RemoveFreeNotification(this);
  FCellChecker = v;
  if (v) v->FreeNotification(this);
}
