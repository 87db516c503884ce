// The editing cycle of the string grid: choosing the editor of a cell,
// opening it, writing its value back, ending the edit and reporting it, and
// the hand-over of edit texts between editors and cells.
#include <algorithm>

#include "grid/plusgrid.h"
#include "grid/plusgrid_editlink.h"
#include "grid/plusgrid_editor.h"
#include "grid/plusgrid_wrappers.h"
#include "grid/support/psghtmle.h"
#include "platform/rtl/codepages.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/format.h"
#include "platform/rtl/formatsettings.h"
#include "platform/rtl/streams.h"
#include "platform/rtl/strutils.h"
#include "platform/ui/forms.h"

namespace {

bool IsDefaultEditorType(TEditorType t) {
  return t == edNormal || (t >= edNumeric && t <= edPassword) || t == edLowerCase || t == edUpperCase;
}

// The value of a text's leading integer ("-12abc" gives -12); 0 when none.
int LeadingInteger(const std::string& Text) {
  size_t i = 0;
  const bool neg = !Text.empty() && Text[0] == '-';
  if (neg) i = 1;
  long long v = 0;
  for (; i < Text.size() && Text[i] >= '0' && Text[i] <= '9'; ++i) {
    v = v * 10 + (Text[i] - '0');
    if (v > 2147483647LL) return neg ? -2147483647 - 1 : 2147483647;
  }
  return static_cast<int>(neg ? -v : v);
}

// The numeric part of a text as a number, whatever the locale; 0 when none.
double NumberPartOf(const std::string& Text) {
  TFormatSettings fs = FormatSettings;
  fs.DecimalSeparator = '.';
  fs.ThousandSeparator = '\0';
  double v = 0;
  return TryStrToFloat(ExtractNumberText(Text), v, fs) ? v : 0;
}

}  // namespace

TInplaceEdit* TPlusStringGrid::CreateEditor() { return new TPlusInplaceEdit(this); }

void TPlusStringGrid::CreateEditorControls() {
  if (Designing()) return;
  // Each made with the grid as owner and parent, hidden and disabled.
  auto make = [this]<class T>(T*& Field) {
    Field = new T(this);
    Field->SetParent(this);
    Field->SetVisible(false);
    Field->SetEnabled(false);
    if constexpr (requires { Field->SetIsWinXP(true); }) Field->SetIsWinXP(FXPFlag);
  };
  make(FGridCombo);
  FGridCombo->OnCloseUp = [this](TObject*) {
    if (OnComboCloseUp) OnComboCloseUp(this, Row(), RealColIndex(Col()));
  };
  make(FGridSpin);
  make(FGridUniEdit);
  make(FGridUniMemo);
  make(FGridUniEditBtn);
  make(FGridUniCombo);
  make(FGridCheckBox);
  make(FGridEditBtn);
  make(FGridUnitEditBtn);
  make(FGridButton);
  // The date and time pickers are part of this platform's controls: they
  // are always there.
  make(FGridDatePicker);
}

void TPlusStringGrid::CreateRichEdits() {
  // Both are children of the grid: the renderer stays hidden, the editor
  // shows over a cell while it edits.
  FRichRenderer = new TPlusRichEdit(this);
  FRichEditor = new TPlusRichEdit(this);
  for (TPlusRichEdit* r : {FRichRenderer, FRichEditor}) {
    r->SetBorderStyle(bsNone);
    r->SetVisible(false);
    r->SetParent(this);
  }
  FRichRenderer->SetBounds(0, 0, 0, 0);
  FRichEditor->SetEnabled(false);
  FRichEditor->SetRequestResizeEvents(true);
}

void TPlusStringGrid::LoadRTFEditor(int ACol, int ARow, TRichEdit* Editor) {
  const std::string s = GetCellText(ACol, ARow);
  if (s.empty()) {
    Editor->SetText("");
    return;
  }
  TMemoryStream ms;
  ms.Write(s.data(), static_cast<int64_t>(s.size()));
  ms.SetPosition(0);
  Editor->LoadFromStream(&ms);
}

void TPlusStringGrid::SaveRTFEditor(TRichEdit* Editor, std::string& S) {
  TMemoryStream ms;
  Editor->SaveToStream(&ms);
  S.assign(reinterpret_cast<const char*>(ms.Memory()), static_cast<size_t>(ms.Size()));
}

void TPlusStringGrid::DetachEditors() {
  if (FRichEditor) FRichEditor->DetachGrid();
  if (FRichRenderer) FRichRenderer->DetachGrid();
  if (auto* e = dynamic_cast<TPlusInplaceEdit*>(InplaceEditor())) e->DetachGrid();
  if (FFixedEditor) FFixedEditor->DetachGrid();
  if (FGridCombo) FGridCombo->DetachGrid();
  if (FGridUniCombo) FGridUniCombo->DetachGrid();
  if (FGridSpin) FGridSpin->DetachGrid();
  if (FGridEditBtn) FGridEditBtn->DetachGrid();
  if (FGridUnitEditBtn) FGridUnitEditBtn->DetachGrid();
  if (FGridUniEdit) FGridUniEdit->DetachGrid();
  if (FGridUniEditBtn) FGridUniEditBtn->DetachGrid();
  if (FGridUniMemo) FGridUniMemo->DetachGrid();
  if (FGridCheckBox) FGridCheckBox->DetachGrid();
  if (FGridButton) FGridButton->DetachGrid();
  if (FGridDatePicker) FGridDatePicker->DetachGrid();
  if (FEditLinkControl) UnhookEditLinkControl(FEditLinkControl);
  SetCellEditLink(nullptr);
}

TWinControl* TPlusStringGrid::EditorControl(TEditorType AType) {
  switch (AType) {
    case edSpinEdit:
    case edFloatSpinEdit:
    case edTimeSpinEdit:
    case edDateSpinEdit: return FGridSpin;
    case edComboEdit:
    case edComboList: return FGridCombo;
    case edEditBtn:
    case edNumericEditBtn:
    case edFloatEditBtn: return FGridEditBtn;
    case edCheckBox: return FGridCheckBox;
    case edButton: return FGridButton;
    case edUnitEditBtn: return FGridUnitEditBtn;
    case edUniEdit: return FGridUniEdit;
    case edUniComboEdit:
    case edUniComboList: return FGridUniCombo;
    case edUniEditBtn: return FGridUniEditBtn;
    case edUniMemo: return FGridUniMemo;
    case edDateEdit:
    case edDateEditUpDown:
    case edTimeEdit: return FGridDatePicker;
    case edRichEdit: return FRichEditor;
    default: return nullptr;
  }
}

bool TPlusStringGrid::KeyOfEditorControl(unsigned Msg) const {
  if (Msg != WM_KEYDOWN && Msg != WM_KEYUP && Msg != WM_CHAR && Msg != WM_SYSKEYDOWN && Msg != WM_SYSKEYUP &&
      Msg != WM_SYSCHAR)
    return false;
  return !FPassingEditorKey && FEditorShowing && FActiveEditorControl && FActiveEditorControl->Focused();
}

void TPlusStringGrid::PassEditorKey(unsigned Msg, uint16_t Key) {
  const bool was = FPassingEditorKey;
  FPassingEditorKey = true;
  try {
    Perform(Msg, Key, 0);
  } catch (...) {
    FPassingEditorKey = was;
    throw;
  }
  FPassingEditorKey = was;
}

void TPlusStringGrid::OwnEditorChanged(const std::string& Text) {
  if (FFillingEditor) return;
  if (OnEditChange) OnEditChange(this, Col(), Row(), Text);
  const TEditorType t = FCurrentEditorType;
  const bool follows = t == edSpinEdit || (t >= edFloatSpinEdit && t <= edFloatEditBtn) || t == edEditBtn;
  if (follows && FDefaultEditorUsed && FEditorShowing && !FHandlingMouse) SetEditText(Col(), Row(), Text);
}

std::u16string TPlusStringGrid::GetCurrentCellWideText() {
  const TPoint b = GetBaseCell(RealColIndex(Col()), Row());
  return GetWideCell(b.X, b.Y);
}

void TPlusStringGrid::SetCurrentCellWideText(const std::u16string& Value) {
  const TPoint b = GetBaseCell(RealColIndex(Col()), Row());
  SetWideCell(b.X, b.Y, Value);
}

void TPlusStringGrid::SplitValueAndUnit(const std::string& Text, std::string& Value, std::string& Unit) {
  Value.clear();
  Unit.clear();
  for (char ch : Text) {
    if (ch == ',' || ch == '-' || ch == '.' || (ch >= '0' && ch <= '9')) Value += ch;
    else Unit += ch;
  }
}

void TPlusStringGrid::GetEditorLook(int ACol, int ARow, TColor& AColor, TFont* AFont) {
  TBrush brush;
  brush.SetColor(Color());
  AFont->Assign(Font());
  DoGetCellColor(ACol, ARow, {gdFocused}, &brush, AFont);
  AColor = brush.Color();
}

void TPlusStringGrid::ShowEditorControl(TWinControl* Control, TColor AColor, bool SetColor) {
  Control->SetVisible(true);
  Control->SetEnabled(true);
  if (SetColor) Control->SetColor(AColor);
  if (Control->CanFocus()) Control->SetFocus();
}

void TPlusStringGrid::PostPendingChar(TWinControl* Control) {
  if (FPendingChar && Control && Control->HandleAllocated())
    PostMessage(Control->Handle(), WM_CHAR, static_cast<unsigned char>(FPendingChar), 0);
}

void TPlusStringGrid::HideOwnControl(TWinControl* Control) {
  if (!Control) return;
  Control->SetEnabled(false);
  Control->SetVisible(false);
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
  // An own control edits the cell already: the default editor stays away.
  if (answer && FEditorShowing && !IsDefaultEditorType(FCurrentEditorType)) return false;
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
  const TRect r = GetMergedCellRect(ACol, ARow);
  const int L = r.Left, T = r.Top, W = r.Right - r.Left - 1, H = r.Bottom - r.Top - 1;
  const int C = RealColIndex(ACol);
  TColor color = clWindow;
  TFont font;
  GetEditorLook(ACol, ARow, color, &font);
  FActiveEditorControl = nullptr;
  if (FCurrentEditorType != edCustom) FLastValidationPassed = true;
  TWinControl* control = EditorControl(FCurrentEditorType);
  if (FCurrentEditorType == edCustom) {
    ShowCustomEditor(r, C, ARow, color, &font);
    FPendingChar = 0;
    return;
  }
  if (!control) {
    // No control for this type: the edit closes on the next selection.
    FPendingChar = 0;
    return;
  }
  const std::string text = GetEditText(ACol, ARow);
  const bool flatCombo = FLook == glSoft || FLook == glQRB || FLook == glXP || FLook == glListView;
  // The combos: closed, styled and placed before they are filled, then
  // shown flat in the soft looks with their list as wide as asked.
  auto placeCombo = [&](auto* cb, bool list) {
    if (cb->DroppedDown()) cb->SetDroppedDown(false);
    cb->SetStyle(list ? csDropDownList : csDropDown);
    cb->SetBounds(L, T, W, H);
  };
  auto showCombo = [&](auto* cb) {
    cb->SetVisible(true);
    cb->SetEnabled(true);
    cb->SetColor(color);
    cb->SetFlat(flatCombo);
    cb->SetEtched(flatCombo);
    if (FNavigation->AutoComboDropSize()) cb->SizeDropDownToItems(Canvas());
    else if (cb->DropWidth() > 0) cb->Perform(CB_SETDROPPEDWIDTH, static_cast<WPARAM>(cb->DropWidth()), 0);
    if (cb->CanFocus()) cb->SetFocus();
  };
  // The editor is filled before it is shown; filling is no edit.
  FFillingEditor = true;
  try {
    switch (FCurrentEditorType) {
      case edSpinEdit:
      case edFloatSpinEdit:
      case edTimeSpinEdit:
      case edDateSpinEdit: {
        TGridSpin* sp = FGridSpin;
        sp->SetBounds(L, T, W, H);
        sp->SetExcelStyleDecimalSeparator(FExcelStyleDecimalSeparator);
        if (FCurrentEditorType == edSpinEdit) {
          sp->SetSpinType(sptNormal);
          sp->SetValue(LeadingInteger(text));
        } else if (FCurrentEditorType == edFloatSpinEdit) {
          sp->SetSpinType(sptFloat);
          sp->SetFloatValue(NumberPartOf(text));
        } else if (FCurrentEditorType == edTimeSpinEdit) {
          sp->SetSpinType(sptTime);
          sp->SetText(text);
        } else {
          sp->SetSpinType(sptDate);
          TDateTime d = 0;
          sp->SetDateValue(!text.empty() && TryStrToDate(text, d) ? d : Now());
        }
        ShowEditorControl(sp, color, true);
        PostPendingChar(sp);
        break;
      }
      case edComboEdit:
      case edComboList: {
        TGridCombo* cb = FGridCombo;
        const bool list = FCurrentEditorType == edComboList;
        placeCombo(cb, list);
        if (list) {
          int i = cb->Items()->IndexOf(GetCellText(C, ARow));
          if (i < 0) {
            i = 0;
            if (cb->Items()->Count() > 0) {
              const std::string first = cb->Items()->Strings(0);
              if (OnComboChange) OnComboChange(this, C, ARow, 0, first);
              if (OnComboObjectChange) OnComboObjectChange(this, C, ARow, 0, first, cb->Items()->Objects(0));
            }
          }
          cb->SetItemIndex(i);
          // A list shows only its items: a text that is none keeps the choice.
          if (cb->Items()->IndexOf(text) >= 0) cb->SetText(text);
        } else {
          cb->SetText(text);
        }
        showCombo(cb);
        if (FNavigation->EditSelectAll()) cb->SelectAll();
        else cb->SetSelStart(static_cast<int>(Utf8ToUtf16(cb->Text()).size()));
        if (FMouseActions->DirectComboDrop()) cb->SetDroppedDown(true);
        PostPendingChar(cb);
        break;
      }
      case edEditBtn:
      case edNumericEditBtn:
      case edFloatEditBtn: {
        TGridEditBtn* eb = FGridEditBtn;
        eb->SetBounds(L, T, W, eb->Height());
        eb->SetText(text);
        eb->SetMaxLength(FMaxEditLength);
        ShowEditorControl(eb, color, true);
        eb->SetHeight(H);
        PostPendingChar(eb);
        break;
      }
      case edDateEdit:
      case edDateEditUpDown:
      case edTimeEdit: {
        TGridDatePicker* dp = FGridDatePicker;
        dp->SetEscaped(false);
        dp->SetBounds(L, T, W, dp->Height() < H ? H : dp->Height());
        TDateTime v = 0;
        if (FCurrentEditorType == edTimeEdit) {
          dp->SetKind(dtkTime);
          if (!text.empty() && TryStrToTime(text, v)) dp->SetTime(v);
          else dp->SetDateTime(Now());
        } else {
          dp->SetKind(dtkDate);
          dp->SetDateMode(FCurrentEditorType == edDateEditUpDown ? dmUpDown : dmComboBox);
          dp->SetDateTime(!text.empty() && TryStrToDateTime(text, v) ? v : Now());
        }
        ShowEditorControl(dp, color, true);
        if (FCurrentEditorType != edTimeEdit && FMouseActions->DirectDateDrop()) dp->Perform(WM_KEYDOWN, VK_F4, 0);
        break;
      }
      case edRichEdit: {
        TPlusRichEdit* re = FRichEditor;
        re->SetParent(this);
        re->SetBorderStyle(bsNone);
        re->SetHideSelection(false);
        re->SetBounds(L, T, W, H);
        // Loading asks for sizes the row must not follow.
        re->Lock();
        LoadRTFEditor(C, ARow, re);
        if (FNavigation->EditSelectAll()) re->SelectAll();
        ShowEditorControl(re, color, true);
        re->SetFormattingRect(Rect(2, 2, r.Right - r.Left - 2, r.Bottom - r.Top - 2));
        PostPendingChar(re);
        re->Unlock();
        break;
      }
      case edCheckBox: {
        TGridCheckBox* cb = FGridCheckBox;
        cb->SetBounds(L, T, W, H);
        cb->SetCaption(text);
        cb->SetChecked(false);
        ShowEditorControl(cb, color, false);
        break;
      }
      case edButton: {
        TGridButton* b = FGridButton;
        b->SetBounds(L - 1, T - 1, W + 2, H + 2);
        b->SetCaption(text);
        ShowEditorControl(b, color, false);
        break;
      }
      case edUnitEditBtn: {
        TGridUnitEditBtn* ub = FGridUnitEditBtn;
        ub->SetBounds(L, T, W, ub->Height());
        ub->SetMaxLength(FMaxEditLength);
        std::string value, unit;
        SplitValueAndUnit(text, value, unit);
        ub->SetUnitID(unit);
        ub->SetText(value);
        ShowEditorControl(ub, color, true);
        ub->SetHeight(H);
        PostPendingChar(ub);
        break;
      }
      case edUniEdit:
      case edUniMemo:
      case edUniEditBtn: {
        std::u16string value = GetWideCell(C, ARow);
        if (OnGetEditWideText) OnGetEditWideText(this, C, ARow, value);
        if (FCurrentEditorType == edUniEditBtn) {
          FGridUniEditBtn->SetBounds(L, T, W, H);
          FGridUniEditBtn->SetText(value);
        } else {
          // Inside the cell's margins.
          constexpr int mx = 2, my = 2;
          control->SetBounds(L + mx + 2, T + my + 2, W - 2 * mx - 2, H - 2 * my - 2);
          control->Font()->Assign(Font());
          if (FCurrentEditorType == edUniEdit) FGridUniEdit->SetText(value);
          else FGridUniMemo->SetText(value);
        }
        ShowEditorControl(control, color, true);
        PostPendingChar(control);
        break;
      }
      case edUniComboEdit:
      case edUniComboList: {
        TGridUniCombo* cb = FGridUniCombo;
        const bool list = FCurrentEditorType == edUniComboList;
        placeCombo(cb, list);
        std::u16string value = GetWideCell(C, ARow);
        if (OnGetEditWideText) OnGetEditWideText(this, C, ARow, value);
        if (list) {
          int i = cb->Items()->IndexOf(value);
          // A list always shows one of its items.
          if (i < 0 && cb->Items()->Count() > 0) i = 0;
          cb->SetItemIndex(i);
        } else {
          // An editable combo keeps the cell's text even when no item has it.
          cb->SetText(value);
        }
        cb->Font()->Assign(Font());
        showCombo(cb);
        if (FMouseActions->DirectComboDrop()) cb->SetDroppedDown(true);
        break;
      }
      default: break;
    }
  } catch (...) {
    FFillingEditor = false;
    throw;
  }
  FFillingEditor = false;
  if (FCurrentEditorType != edCheckBox) FActiveEditorControl = control;
  FPendingChar = 0;
}

void TPlusStringGrid::StoreCellEditorValue(int ACol, int ARow) {
  FStoringEditor = true;
  FPendingChar = 0;
  const int c = RealColIndex(ACol);
  switch (FCurrentEditorType) {
    case edSpinEdit:
    case edFloatSpinEdit:
    case edTimeSpinEdit:
    case edDateSpinEdit: {
      FEditorShowing = false;
      TGridSpin* sp = FGridSpin;
      if (!sp) break;
      std::string v;
      if (FCurrentEditorType == edSpinEdit) v = IntToStr(sp->Value());
      else if (FCurrentEditorType == edFloatSpinEdit) v = Format(FFloatFormat, {sp->FloatValue()});
      else if (FCurrentEditorType == edTimeSpinEdit) v = sp->Text();
      else {
        const TDateTime d = sp->DateValue();
        if (d > 0 || FShowZeroDates) v = FormatDateTime(FormatSettings.ShortDateFormat, d);
      }
      SetCellFromEditor(c, ARow, v);
      HideOwnControl(sp);
      break;
    }
    case edComboEdit:
    case edComboList:
    case edEditBtn:
    case edNumericEditBtn:
    case edFloatEditBtn: {
      TWinControl* ctl = EditorControl(FCurrentEditorType);
      if (FEditorShowing && ctl) {
        FEditorShowing = false;
        SetCellFromEditor(c, ARow, ctl->Text());
        HideOwnControl(ctl);
      }
      break;
    }
    case edDateEdit:
    case edDateEditUpDown:
    case edTimeEdit:
      if (FGridDatePicker) {
        // The picker's own display format: the program's time format stays.
        TGridDatePicker* dp = FGridDatePicker;
        SetCellFromEditor(c, ARow, dp->Escaped() ? FEscapeText : dp->Checked() ? dp->Text() : std::string());
        FEditorShowing = false;
        HideOwnControl(dp);
      }
      FEditorShowing = false;
      break;
    case edRichEdit:
      if (FRichEditor) {
        FEditorShowing = false;
        std::string rtf;
        SaveRTFEditor(FRichEditor, rtf);
        SetCellFromEditor(c, ARow, rtf);
        HideOwnControl(FRichEditor);
      }
      FEditorShowing = false;
      break;
    case edCheckBox:
    case edButton:
      HideOwnControl(EditorControl(FCurrentEditorType));
      FEditorShowing = false;
      break;
    case edUnitEditBtn:
      if (FGridUnitEditBtn) {
        FEditorShowing = false;
        SetCellFromEditor(c, ARow, FGridUnitEditBtn->Text() + FGridUnitEditBtn->UnitID());
        HideOwnControl(FGridUnitEditBtn);
      }
      FEditorShowing = false;
      break;
    case edCustom:
      if (FCellEditLink) StoreCustomEditor(c, ARow);
      break;
    case edUniEdit:
    case edUniComboEdit:
    case edUniComboList:
    case edUniEditBtn:
    case edUniMemo: {
      FEditorShowing = false;
      TWinControl* ctl = EditorControl(FCurrentEditorType);
      if (!ctl) break;
      std::u16string value = GetWideText(ctl);
      // The validation that follows the store checks what was stored.
      FLastWideEditorText = value;
      if (OnSetEditWideText) OnSetEditWideText(this, c, ARow, value);
      SetWideCell(c, ARow, value);
      HideOwnControl(ctl);
      break;
    }
    default: break;
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
  // An own control that still edits the cell keeps it; it takes the focus back.
  if (FEditorShowing && !IsDefaultEditorType(FCurrentEditorType)) {
    if (FActiveEditorControl && FActiveEditorControl->Visible() && FActiveEditorControl->CanFocus() &&
        !FActiveEditorControl->Focused())
      FActiveEditorControl->SetFocus();
    return;
  }
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
  // The setter finds the base cell and the real column itself.
  SetEditText(Col(), Row(), Value);
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
