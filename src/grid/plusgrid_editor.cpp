#include "grid/plusgrid_editor.h"

#include <algorithm>

#include "grid/plusgrid.h"
#include "platform/rtl/formatsettings.h"
#include "platform/rtl/strutils.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/forms.h"
#include "platform/ui/sound.h"

ZV_CLASS_IMPL_NOPROPS(TPlusInplaceEdit, TInplaceEdit)

TPlusInplaceEdit::TPlusInplaceEdit(TComponent* AOwner)
    : TInplaceEdit(AOwner), FPlusGrid(dynamic_cast<TPlusStringGrid*>(AOwner)) {
  if (FPlusGrid) FLengthLimit = static_cast<int16_t>(FPlusGrid->MaxEditLength());
}

void TPlusInplaceEdit::SetVAlign(bool v) {
  FVAlign = v;
  SetAlignment(v ? taRightJustify : taLeftJustify);
}

void TPlusInplaceEdit::UpdateContents() {
  TInplaceEdit::UpdateContents();
  if (!FPlusGrid) return;
  const TEditorType t = FPlusGrid->CurrentEditorType();
  SetPasswordChar(t == edPassword ? FPlusGrid->PasswordChar() : '\0');
  FLengthLimit = static_cast<int16_t>(FPlusGrid->MaxEditLength());
  SetMaxLength(std::max(0, static_cast<int>(FLengthLimit)));
  FCompletion = true;
  TBrush brush;
  TFont font;
  brush.SetColor(FPlusGrid->Color());
  font.Assign(FPlusGrid->Font());
  FPlusGrid->DoGetCellColor(FPlusGrid->Col(), FPlusGrid->Row(), {gdFocused}, &brush, &font);
  SetColor(brush.Color());
  Font()->Assign(&font);
  FEditCol = FPlusGrid->Col();
  FEditRow = FPlusGrid->Row();
  SelectForEdit();
}

void TPlusInplaceEdit::Move(const TRect& R) {
  if (!FPlusGrid) {
    TInplaceEdit::Move(R);
    return;
  }
  TRect m = FPlusGrid->GetMergedCellRect(FPlusGrid->Col(), FPlusGrid->Row());
  // The merged area may start outside the view; the layer's rectangle wins then.
  if (m.IsEmpty()) m = R;
  SetBounds(m.Left, m.Top, m.Right - m.Left - 1, m.Bottom - m.Top - 1);
  SetVisible(true);
  SetRect(Rect(2, 2, m.Right - m.Left - 2, m.Bottom - m.Top));
}

void TPlusInplaceEdit::SelectForEdit() {
  if (!FPlusGrid || FPlusGrid->Navigation()->EditSelectAll()) SelectAll();
  else {
    SetSelStart(static_cast<int>(Text().size()));
    SetSelLength(0);
  }
}

void TPlusInplaceEdit::Change() {
  TInplaceEdit::Change();
  if (FPlusGrid) FPlusGrid->DefaultEditorChanged(Text());
}

// ---- characters

char FilterEditorChar(TEditorType AType, char Ch, bool Ctrl, const std::string& Text, int SelStart, int SelLength) {
  const unsigned char u = static_cast<unsigned char>(Ch);
  if (u < 32) return Ch;
  const std::string& text = Text;
  const int selStart = SelStart;
  const std::string sel =
      SelLength > 0 ? text.substr(static_cast<size_t>(selStart), static_cast<size_t>(SelLength)) : "";
  const bool isDigit = Ch >= '0' && Ch <= '9';
  switch (AType) {
    case edNumeric:
      if (isDigit) return Ch;
      if (Ch == '-' && text.find('-') == std::string::npos && selStart == 0) return Ch;
      MessageBeep(0);
      return 0;
    case edPositiveNumeric:
      if (isDigit) return Ch;
      MessageBeep(0);
      return 0;
    case edFloat: {
      if (isDigit) return Ch;
      if (Ch == ',' || Ch == '-' || Ch == '.') {
        if (Ch == '-') {
          if ((selStart == 0 && text.find('-') == std::string::npos) || sel.find('-') != std::string::npos) return Ch;
          MessageBeep(0);
          return 0;
        }
        if (Ch == FormatSettings.DecimalSeparator) {
          const bool none = text.find(Ch) == std::string::npos;
          return none || sel.find(Ch) != std::string::npos ? Ch : 0;
        }
        // The thousand separator, or a separator this locale does not use.
        return 0;
      }
      return Ctrl ? Ch : 0;
    }
    case edCapital:
    case edUpperCase: return AnsiUpperCase(std::string(1, Ch))[0];
    case edLowerCase: return AnsiLowerCase(std::string(1, Ch))[0];
    default: return Ch;
  }
}

void TPlusInplaceEdit::WMChar(TMessage& M) {
  if (!FPlusGrid) {
    TInplaceEdit::WMChar(M);
    return;
  }
  const unsigned code = static_cast<unsigned>(M.WParam);
  const bool ctrl = GetKeyState(VK_CONTROL) < 0 || KeyDataToShiftState(M.LParam).Contains(ssCtrl);
  TNavigation* nav = FPlusGrid->Navigation();
  const TEditorType t = FPlusGrid->CurrentEditorType();
  if (code > 255) {
    // Characters beyond the 8-bit code page: plain text types only.
    if (t == edNormal || t == edPassword || t == edMixedCase) TInplaceEdit::WMChar(M);
    return;
  }
  char ch = static_cast<char>(code);
  // The numeric keypad's decimal key types the decimal separator.
  if (FPlusGrid->ExcelStyleDecimalSeparator() && ch == '.' && (M.LParam & (LPARAM(1) << 22)))
    ch = FormatSettings.DecimalSeparator;
  if (ch == '\n' && ctrl && !nav->AllowCtrlEnter()) {
    M.Result = 1;
    return;
  }
  const int len = static_cast<int>(Text().size());
  if (FLengthLimit > 0 && len >= FLengthLimit && SelLength() == 0 && ch != 8 && ch != 27 && ch != 13 &&
      static_cast<unsigned char>(ch) >= 32)
    return;
  ch = FilterEditorChar(t, ch, ctrl, Text(), SelStart(), SelLength());
  if (ch == 0) {
    M.Result = 1;
    return;
  }
  const int caret = SelStart();
  M.WParam = static_cast<unsigned char>(ch);
  TInplaceEdit::WMChar(M);
  if (t == edMixedCase && static_cast<unsigned char>(ch) >= 32) {
    const std::string capped = CapitalizeName(Text());
    if (capped != Text()) {
      SetText(capped);
      SetSelStart(std::min(caret + 1, static_cast<int>(capped.size())));
      SetSelLength(0);
    }
  }
}

// ---- keys

void TPlusInplaceEdit::WMKeyDown(TMessage& M) {
  if (!FPlusGrid) {
    TInplaceEdit::WMKeyDown(M);
    return;
  }
  TPlusStringGrid* g = FPlusGrid;
  TNavigation* nav = g->Navigation();
  const uint16_t key = static_cast<uint16_t>(M.WParam);
  const TShiftState shift = KeyDataToShiftState(M.LParam);
  const bool ctrl = shift.Contains(ssCtrl);
  bool leftCell = false;
  if (key == VK_ESCAPE) {
    SetText(g->EscapeText());
    g->EndCellEdit();
  }
  if (key == VK_RETURN && ctrl && !nav->AllowCtrlEnter()) return;
  if (key == VK_TAB && g->Options().Contains(goTabs)) {
    if (!g->ValidateCell(Text())) {
      SetText(g->GetCurrentCellText());
      SelectForEdit();
    }
    g->EndCellEdit();
    g->TabToCell(shift.Contains(ssShift));
    return;
  }
  // A single-line editor: the caret is always on the first and last line.
  if (key == VK_UP || key == VK_DOWN) {
    const std::string kept = g->EditStartText();
    g->SetValidating(true);
    g->SetCurrentCellText(Text());
    g->SetValidating(false);
    if (!g->ValidateCell(Text())) {
      SetText(kept);
      SelectForEdit();
      Invalidate();
      g->SetEditStartText(kept);
      return;
    }
    SetText(g->LastEditValue());
    leftCell = true;
  } else if (key == VK_RETURN && !nav->LineFeedOnEnter() && !ctrl) {
    const std::string kept = g->EditStartText();
    if (!g->ValidateCell(Text())) {
      SetText(kept);
      SelectForEdit();
      return;
    }
    SetText(g->GetCurrentCellText());
  }
  if ((key == VK_HOME || key == VK_END) && !ctrl && !shift.Contains(ssShift)) {
    SetSelStart(key == VK_HOME ? 0 : static_cast<int>(Text().size()));
    SetSelLength(0);
  }
  TInplaceEdit::WMKeyDown(M);
  if (leftCell && g->MouseActions()->DisjunctRowSelect()) {
    g->ClearRowSelect();
    g->SetRowSelect(g->RealRowIndex(g->Row()), true);
  }
}

void TPlusInplaceEdit::KeyDown(uint16_t& Key, TShiftState Shift) {
  FCaretAtKeyDown = SelStart();
  if (FPlusGrid) {
    if (Key == VK_BACK || Key == VK_DELETE) FCompletion = false;
    else if (Key == VK_RETURN) {
      if (!FPlusGrid->Navigation()->AllowCtrlEnter()) FPlusGrid->SetValidatePending(false);
    } else if (Key != VK_UP && Key != VK_DOWN) FCompletion = true;
  }
  TInplaceEdit::KeyDown(Key, Shift);
}

void TPlusInplaceEdit::KeyPress(char& Key) {
  if (FPlusGrid && Key == '\r' && !FPlusGrid->Navigation()->LineFeedOnEnter()) {
    if (!FPlusGrid->ValidateCell(Text())) {
      SetText(FPlusGrid->GetCurrentCellText());
      Key = 0;
      return;
    }
  }
  TInplaceEdit::KeyPress(Key);
}

void TPlusInplaceEdit::WMKeyUp(TMessage& M) {
  TInplaceEdit::WMKeyUp(M);
  if (!FPlusGrid || !Visible()) return;
  const int caret = SelStart();
  if (caret != 0) CaretMoved(Text(), TPoint{0, 0}, caret);
  FormulaStarted(!Text().empty() && Text()[0] == '=');
}

void TPlusInplaceEdit::KeyUp(uint16_t& Key, TShiftState Shift) {
  if (!FPlusGrid) {
    TInplaceEdit::KeyUp(Key, Shift);
    return;
  }
  TPlusStringGrid* g = FPlusGrid;
  TNavigation* nav = g->Navigation();
  const int len = static_cast<int>(Text().size());
  const bool walk = nav->CursorWalkEditor() && SelLength() == 0 && !Shift.Contains(ssShift);
  auto advance = [&](bool forward, bool showEditor) {
    const TAdvanceDirection dir = nav->AdvanceDirection();
    nav->SetAdvanceDirection(adLeftRight);
    g->AdvanceFromCell(g->Col(), g->Row(), showEditor, false, forward, true, true);
    nav->SetAdvanceDirection(dir);
  };
  if (Key == VK_LEFT && walk && SelStart() == 0 && FCaretAtKeyDown == 0) {
    Key = 0;
    const int left = g->Col() - 1;
    if (left >= g->FixedCols() && g->HasCellControl(g->RealColIndex(left), g->Row())) {
      if (g->ValidateCell(Text())) {
        g->EndCellEdit();
        g->SetCol(left);
      }
    } else {
      if (g->ValidateCell(Text())) g->EndCellEdit();
      advance(false, false);
    }
    return;
  }
  if (Key == VK_RIGHT && walk && SelStart() == len) {
    Key = 0;
    const TPoint span = g->GetCellSpan(g->Col(), g->Row());
    const int next = g->Col() + span.X + 1;
    if (next < g->ColCount() - 1 && g->HasCellControl(g->RealColIndex(next), g->Row())) {
      if (g->ValidateCell(Text())) {
        g->EndCellEdit();
        g->SetCol(next);
      }
    } else advance(true, true);
    return;
  }
  TInplaceEdit::KeyUp(Key, Shift);
  Complete();
}

void TPlusInplaceEdit::Complete() {
  if (!FCompletion || SelLength() != 0 || !FPlusGrid->Lookup()) return;
  TStringList* items = FPlusGrid->LookupItems();
  if (!items || items->Count() == 0) return;
  const bool cs = FPlusGrid->LookupCaseSensitive();
  const std::string typed = Text().substr(0, static_cast<size_t>(SelStart()));
  if (typed.empty()) return;
  const std::string prefix = cs ? typed : AnsiUpperCase(typed);
  for (int i = 0; i < items->Count(); ++i) {
    const std::string item = items->Strings(i);
    const std::string cmp = cs ? item : AnsiUpperCase(item);
    if (cmp.compare(0, prefix.size(), prefix) != 0) continue;
    const std::string rest = item.substr(prefix.size(), 255);
    SetText(typed + rest);
    SetSelStart(static_cast<int>(typed.size()));
    SetSelLength(static_cast<int>(rest.size()));
    return;
  }
}

// ---- clipboard, double click

void TPlusInplaceEdit::Dispatch(TMessage& M) {
  if (!FPlusGrid) {
    TInplaceEdit::Dispatch(M);
    return;
  }
  switch (M.Msg) {
    case WM_COPY:
    case WM_CUT: {
      bool allow = true;
      const TClipboardEvent& ev = M.Msg == WM_COPY ? FPlusGrid->OnClipboardCopy : FPlusGrid->OnClipboardCut;
      if (ev) ev(this, allow);
      if (allow) TInplaceEdit::Dispatch(M);
      return;
    }
    case WM_PASTE: Paste(); return;
    case WM_LBUTTONDBLCLK:
      TInplaceEdit::Dispatch(M);
      if (FPlusGrid->OnDblClickCell) FPlusGrid->OnDblClickCell(FPlusGrid, FPlusGrid->Row(), FPlusGrid->Col());
      return;
    default: TInplaceEdit::Dispatch(M);
  }
}

void TPlusInplaceEdit::Paste() {
  if (!Clipboard()->HasFormat(CF_TEXT)) return;
  std::string value = Clipboard()->AsText();
  bool allow = true;
  if (FPlusGrid->OnClipboardPaste) FPlusGrid->OnClipboardPaste(this, allow);
  if (FPlusGrid->OnClipboardBeforePasteCell)
    FPlusGrid->OnClipboardBeforePasteCell(this, FPlusGrid->Col(), FPlusGrid->Row(), value, allow);
  const auto fits = [&](size_t n) { return FLengthLimit <= 0 || static_cast<size_t>(FLengthLimit) >= n; };
  if (allow && fits(value.size())) {
    const std::string text = Text();
    const size_t start = static_cast<size_t>(SelStart()), len = static_cast<size_t>(SelLength());
    const std::string result = text.substr(0, start) + value + text.substr(std::min(text.size(), start + len));
    if (fits(result.size())) {
      const int kind = ClassifyNumberText(result);
      bool take = true;
      std::string shown = result;
      switch (FPlusGrid->CurrentEditorType()) {
        case edNumeric:
        case edPositiveNumeric: take = kind == 0; break;
        case edFloat: take = kind == 0 || kind == 1 || kind == 5; break;
        case edMixedCase: shown = CapitalizeName(result); break;
        case edLowerCase: shown = AnsiLowerCase(result); break;
        case edUpperCase: shown = AnsiUpperCase(result); break;
        default: break;
      }
      if (take) {
        SetText(shown);
        if (len > 0) {
          SetSelStart(static_cast<int>(start));
          SetSelLength(static_cast<int>(value.size()));
        } else {
          SetSelStart(static_cast<int>(start + value.size()));
          SetSelLength(0);
        }
      }
    }
  }
  FPlusGrid->SetCurrentCellEditText(Text());
}

// ---- focus

void TPlusInplaceEdit::WMSetFocus(TMessage& M) {
  TInplaceEdit::WMSetFocus(M);
  if (!FPlusGrid) return;
  FPlusGrid->SetSuppressEditChange(false);
  if (!FPlusGrid->Navigation()->EditSelectAll()) {
    SetSelStart(static_cast<int>(Text().size()));
    SetSelLength(0);
  }
  if (FPlusGrid->CaretToMouse()) {
    // The click that opened the editor puts the caret where it was.
    TPoint screen{};
    GetCursorPos(screen);
    const TPoint p = ScreenToClient(screen);
    if (p.X >= 0 && p.Y >= 0 && p.X < Width() && p.Y < Height()) {
      const int at = CharFromPos(p);
      if (at >= 0) {
        SetSelStart(at);
        SetSelLength(0);
      }
    }
    FPlusGrid->SetCaretToMouse(false);
  }
}

void TPlusInplaceEdit::WMKillFocus(TMessage& M) {
  // A grid being freed has no edit to end.
  if (!FPlusGrid || FPlusGrid->ComponentState().Contains(csDestroying) || ComponentState().Contains(csDestroying)) {
    TInplaceEdit::WMKillFocus(M);
    return;
  }
  TPlusStringGrid* g = FPlusGrid;
  g->SetPendingChar(0);
  if (g->LookupHistory() && g->LookupItems()->IndexOf(Text()) < 0) g->LookupItems()->Add(Text());
  FormulaStarted(false);
  TInplaceEdit::WMKillFocus(M);
  TWinControl* to = FindControl(static_cast<HWND>(M.WParam));
  TCustomForm* form = ::GetParentForm(g);
  if (!to || ::GetParentForm(to) != form) {
    // Another window has the focus: the selection that follows validates.
    g->EndCellEdit();
    CaretMoved("", TPoint{-1, -1}, -1);
    g->NotifyEditingDone(g->Col(), g->Row());
    return;
  }
  if (to != g && to != this) {
    if (g->ValidateCell(Text())) SetText(g->GetCurrentCellText());
    else SetText(g->GetCurrentCellText());
    g->EndCellEdit();
    g->SetValidatePending(false);
    g->SetEditorShowing(false);
    g->SelectCell(g->Col(), g->Row());
  } else {
    // The edit is over for this editor once the grid has the focus again.
    g->SetEditorShowing(false);
  }
  g->SetSuppressEditChange(true);
  SetText(g->GetCurrentCellText());
  g->SetSuppressEditChange(false);
  CaretMoved("", TPoint{-1, -1}, -1);
  g->NotifyEditingDone(FEditCol, FEditRow);
}

// ---------------------------------------------------------------------------
// TGridTransEdit

ZV_CLASS_IMPL_NOPROPS(TGridTransEdit, TCustomEdit)

TGridTransEdit::TGridTransEdit(TComponent* AOwner)
    : TCustomEdit(AOwner), FGrid(dynamic_cast<TPlusStringGrid*>(AOwner)) {
  SetBorderStyle(bsNone);
  SetVisible(false);
  if (FGrid) SetParent(FGrid);
}

bool TGridTransEdit::FinishEdit() {
  if (!FGrid) {
    SetVisible(false);
    return true;
  }
  std::string value = Text();
  bool valid = true;
  if (FGrid->OnCellValidate) FGrid->OnCellValidate(FGrid, FCol, FRow, value, valid);
  if (!valid) {
    FGrid->MoveCurrentCell(std::max(FCol, FGrid->FixedCols()), std::max(FRow, FGrid->FixedRows()));
    return false;
  }
  if (FGrid->OnEditingDone) FGrid->OnEditingDone(FGrid);
  FGrid->SetCellText(FCol, FRow, value);
  SetVisible(false);
  return true;
}

void TGridTransEdit::CMExit(TMessage& M) {
  TCustomEdit::CMExit(M);
  if (Visible()) FinishEdit();
}

void TGridTransEdit::KeyPress(char& Key) {
  // The edit ends when the focus leaves, not on Enter.
  if (Key == '\r') Key = 0;
  TCustomEdit::KeyPress(Key);
}
