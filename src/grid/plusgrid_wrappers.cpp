#include "grid/plusgrid_wrappers.h"

#include <algorithm>
#include <initializer_list>

#include "grid/plusgrid.h"
#include "grid/plusgrid_editor.h"
#include "platform/rtl/codepages.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/strutils.h"
#include "platform/ui/clipboard.h"

namespace {

bool IsOneOf(uint16_t Key, std::initializer_list<uint16_t> Keys) {
  return std::find(Keys.begin(), Keys.end(), Key) != Keys.end();
}

bool IsArrow(uint16_t Key) { return Key >= VK_LEFT && Key <= VK_DOWN; }

// Caret positions count UTF-16 units.
int CharCount(const std::string& Text) { return static_cast<int>(Utf8ToUtf16(Text).size()); }

// A memo's end: its line breaks are one character there.
int MemoEnd(const std::u16string& Text) {
  int n = static_cast<int>(Text.size());
  for (size_t i = 0; i + 1 < Text.size(); ++i)
    if (Text[i] == u'\r' && Text[i + 1] == u'\n') --n;
  return n;
}

void FocusGrid(TPlusStringGrid* G) {
  if (G->CanFocus()) G->SetFocus();
}

// The leave rule's write and validation for an editor of 8-bit text: the
// text goes into the cell and is validated; a rejected text gives way to
// what the cell holds again and the editor stays. True when it may leave.
template <class E>
bool CommitText(TPlusStringGrid* G, E* Editor) {
  const std::string text = Editor->Text();
  G->SetCurrentCellText(text);
  if (!G->ValidateCell(text)) {
    Editor->SetText(G->GetCurrentCellText());
    Editor->SetSelStart(CharCount(Editor->Text()));
    Editor->Invalidate();
    return false;
  }
  Editor->SetText(G->GetCurrentCellText());
  return true;
}

// The same for the Unicode editors; WriteFirst puts the text into the cell
// before it is validated.
template <class E>
bool CommitWideText(TPlusStringGrid* G, E* Editor, bool WriteFirst) {
  const std::u16string text = Editor->Text();
  if (WriteFirst) G->SetCurrentCellWideText(text);
  if (!G->ValidateCellWide(text)) {
    Editor->SetText(G->GetCurrentCellWideText());
    Editor->SetSelStart(static_cast<int>(Editor->Text().size()));
    Editor->Invalidate();
    return false;
  }
  if (WriteFirst) Editor->SetText(G->GetCurrentCellWideText());
  return true;
}

// The end of the leave rule: Tab with goTabs ends the edit and tabs on,
// every other key leaves the editor through the grid.
void LeaveWithKey(TPlusStringGrid* G, uint16_t& Key, TShiftState Shift) {
  const uint16_t key = Key;
  Key = 0;
  if (key == VK_TAB && G->Options().Contains(goTabs)) {
    G->EndCellEdit();
    FocusGrid(G);
    G->TabToCell(Shift.Contains(ssShift));
    return;
  }
  G->LeaveEditorByKey(key, Shift);
}

// Tab and Enter type nothing in the one-line editors that leave with them.
bool DropTabAndEnter(TMessage& M) {
  if (M.WParam != '\t' && M.WParam != '\r') return false;
  M.Result = 0;
  return true;
}

// The leave keys of the Unicode one-line editors; false for any other key.
// WriteFirst puts the text into the cell before it is validated.
template <class E>
bool LeaveWideEditor(TPlusStringGrid* G, E* Editor, uint16_t& Key, TShiftState Shift, bool WriteFirst) {
  if (!G || !IsOneOf(Key, {VK_TAB, VK_RETURN, VK_ESCAPE, VK_UP, VK_DOWN})) return false;
  if (Key == VK_ESCAPE) Editor->SetText(G->GetCurrentCellWideText());
  else if (!CommitWideText(G, Editor, WriteFirst)) {
    Key = 0;
    return true;
  }
  LeaveWithKey(G, Key, Shift);
  return true;
}

// A Unicode editor lost the focus: its text is kept for the validation of
// a wide cell, and the edit ends.
void ExitWideEditor(TPlusStringGrid* G, const std::u16string& Text) {
  if (!G) return;
  G->SetLastWideEditorText(Text);
  G->EndCellEdit();
}

// Enter is always wanted; Tab while the grid tabs between cells.
void WantKeys(TPlusStringGrid* G, TMessage& M) {
  M.Result |= DLGC_WANTALLKEYS | DLGC_WANTARROWS;
  if (G && G->Options().Contains(goTabs)) M.Result |= DLGC_WANTTAB;
}

// The first item of Items whose text starts with the typed prefix, -1 when none.
template <class GetItem>
int FindCompletion(const std::string& Typed, bool CaseSensitive, int Count, GetItem Item) {
  const std::string prefix = CaseSensitive ? Typed : AnsiUpperCase(Typed);
  for (int i = 0; i < Count; ++i) {
    const std::string item = CaseSensitive ? Item(i) : AnsiUpperCase(Item(i));
    if (item.compare(0, prefix.size(), prefix) == 0) return i;
  }
  return -1;
}

// The drop-down width that shows the widest of the texts.
int DropWidthFor(int Width, int DropDownCount, TCanvas* Canvas, const std::vector<std::string>& Texts) {
  int w = Width;
  const bool scrolls = static_cast<int>(Texts.size()) > DropDownCount;
  for (const std::string& t : Texts) {
    const int tw = Canvas->TextWidth(t);
    if (scrolls) {
      if (w - 25 < tw) w = tw + 25;
    } else if (w - 5 < tw) {
      w = tw + 8;
    }
  }
  return w;
}

// The combos' leave keys: Tab, Enter and Escape always; Left and Right in a
// list or while the list is open; else the keys that move between rows.
bool IsComboLeaveKey(uint16_t Key, TShiftState Shift, bool ListKeys) {
  if (Key == VK_DOWN && Shift.Contains(ssAlt)) return false;
  if (ListKeys) return IsOneOf(Key, {VK_TAB, VK_RETURN, VK_ESCAPE, VK_LEFT, VK_RIGHT});
  return IsOneOf(Key, {VK_TAB, VK_RETURN, VK_ESCAPE, VK_PRIOR, VK_NEXT, VK_END, VK_UP, VK_DOWN});
}

// After the combo's own steps: a list (or an open one) ends the edit and
// passes Left and Right to the grid, then the key leaves the editor.
void LeaveCombo(TPlusStringGrid* G, bool ListKeys, uint16_t& Key, TShiftState Shift) {
  if (ListKeys) {
    G->EndCellEdit();
    if (Key == VK_LEFT || Key == VK_RIGHT) {
      uint16_t k = Key;
      G->EditorKeyDown(k, Shift);
    }
    if (IsArrow(Key) || Key == VK_PRIOR || Key == VK_NEXT) Key = 0;
  }
  const uint16_t k = Key;
  Key = 0;
  G->LeaveEditorByKey(k, Shift);
}

// The caret goes to the character under the mouse after a click that asked
// for it.
template <class C>
void CaretToMouse(TPlusStringGrid* G, C* Control) {
  if (!G || !G->CaretToMouse()) return;
  TPoint screen{};
  GetCursorPos(screen);
  const TPoint p = Control->ScreenToClient(screen);
  if (p.X >= 0 && p.Y >= 0 && p.X < Control->Width() && p.Y < Control->Height()) {
    const int at = Control->CharFromPos(p);
    if (at >= 0) {
      Control->SetSelStart(at);
      Control->SetSelLength(0);
    }
  }
  G->SetCaretToMouse(false);
}

void CaretToEndUnlessSelectAll(TPlusStringGrid* G, TCustomEdit* E) {
  if (!G) return;
  if (G->Navigation()->EditSelectAll()) E->SelectAll();
  else {
    E->SetSelStart(CharCount(E->TControl::Text()));
    E->SetSelLength(0);
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// TGridCombo

ZV_CLASS_IMPL_NOPROPS(TGridCombo, TASGCustomCombo)

TGridCombo::TGridCombo(TComponent* AOwner) : TASGCustomCombo(AOwner), FGrid(dynamic_cast<TPlusStringGrid*>(AOwner)) {
  SetButtonWidth(16);
}

void TGridCombo::WndProc(TMessage& Message) {
  if (FGrid && Message.Msg == WM_MOUSEWHEEL) {
    // The wheel steps through the items; the grid does not scroll.
    const int delta = static_cast<int16_t>(HIWORD(Message.WParam));
    const int i = ItemIndex(), n = Items()->Count();
    if (delta < 0) {
      if (i + 1 < n) SetItemIndex(i + 1);
    } else if (i > 0) {
      SetItemIndex(i - 1);
    }
    const int now = ItemIndex();
    const std::string item = now >= 0 ? Items()->Strings(now) : std::string();
    const int c = FGrid->RealColIndex(FGrid->Col());
    if (FGrid->OnComboChange) FGrid->OnComboChange(FGrid, c, FGrid->Row(), now, item);
    if (FGrid->OnComboObjectChange)
      FGrid->OnComboObjectChange(FGrid, c, FGrid->Row(), now, item, now >= 0 ? Items()->Objects(now) : nullptr);
    Message.Result = 0;
    return;
  }
  TASGCustomCombo::WndProc(Message);
}

void TGridCombo::WMGetDlgCode(TMessage& M) {
  TASGCustomCombo::WMGetDlgCode(M);
  WantKeys(FGrid, M);
}

void TGridCombo::WMSetFocus(TMessage& M) {
  TASGCustomCombo::WMSetFocus(M);
  if (Style() != csDropDownList) CaretToMouse(FGrid, this);
}

void TGridCombo::CMExit(TMessage& M) {
  if (FGrid && FGrid->LookupHistory() && !Text().empty() && Items()->IndexOf(Text()) < 0) Items()->Add(Text());
  if (FGrid) FGrid->EndCellEdit();
  TASGCustomCombo::CMExit(M);
}

void TGridCombo::KeyDown(uint16_t& Key, TShiftState Shift) {
  FCompletion = Key != VK_BACK && Key != VK_DELETE;
  const bool listKeys = Style() == csDropDownList || DroppedDown();
  if (!FGrid || !IsComboLeaveKey(Key, Shift, listKeys)) {
    TASGCustomCombo::KeyDown(Key, Shift);
    return;
  }
  TPlusStringGrid* g = FGrid;
  // No character follows a key that leaves, so Enter is reported here.
  if (Key == VK_RETURN && OnReturnKey) OnReturnKey(this);
  if (Key == VK_ESCAPE) {
    const std::string cell = g->GetCurrentCellText();
    const int i = Items()->IndexOf(cell);
    if (i >= 0) SetItemIndex(i);
    if (Style() != csDropDownList) SetText(cell);
  }
  if (IsOneOf(Key, {VK_RETURN, VK_TAB, VK_UP, VK_DOWN}) && !CommitText(g, this)) {
    Key = 0;
    return;
  }
  if (Key == VK_TAB && g->Options().Contains(goTabs)) {
    LeaveWithKey(g, Key, Shift);
    return;
  }
  LeaveCombo(g, listKeys, Key, Shift);
}

void TGridCombo::KeyPress(char& Key) {
  if (Key == '\r' || Key == '\t') {
    Key = 0;
    return;
  }
  const int before = ItemIndex();
  TASGCustomCombo::KeyPress(Key);
  if (FGrid && ItemIndex() != before && FGrid->OnComboChange)
    FGrid->OnComboChange(this, FGrid->RealColIndex(FGrid->Col()), FGrid->Row(), ItemIndex(), Text());
}

void TGridCombo::KeyUp(uint16_t& Key, TShiftState Shift) {
  if (Key != VK_RETURN) TASGCustomCombo::KeyUp(Key, Shift);
  Complete();
}

void TGridCombo::Complete() {
  if (!FCompletion || !FGrid || !FGrid->Lookup() || Style() == csDropDownList) return;
  const std::u16string text = Utf8ToUtf16(Text());
  const std::string typed = Utf16ToUtf8(text.substr(0, std::min(text.size(), static_cast<size_t>(SelStart()))));
  if (typed.empty()) return;
  const bool cs = FGrid->LookupCaseSensitive();
  auto complete = [&](const std::string& item) {
    const std::string rest = Utf16ToUtf8(Utf8ToUtf16(item.substr(typed.size())).substr(0, 255));
    SetText(typed + rest);
    SetSelStart(CharCount(typed));
    SetSelLength(CharCount(rest));
  };
  const int i = FindCompletion(typed, cs, Items()->Count(), [&](int k) { return Items()->Strings(k); });
  if (i >= 0) {
    SetItemIndex(i);
    complete(Items()->Strings(i));
    return;
  }
  TStringList* lookup = FGrid->LookupItems();
  const int j = FindCompletion(typed, cs, lookup->Count(), [&](int k) { return lookup->Strings(k); });
  if (j >= 0) complete(lookup->Strings(j));
}

void TGridCombo::Change() {
  TASGCustomCombo::Change();
  if (!FGrid || FGrid->FillingEditor()) return;
  FGrid->OwnEditorChanged(Text());
  // An edit of the text is reported as a change of the choice as well.
  const int i = ItemIndex();
  const std::string item = i >= 0 ? Items()->Strings(i) : std::string();
  const int c = FGrid->RealColIndex(FGrid->Col());
  if (FGrid->OnComboChange) FGrid->OnComboChange(FGrid, c, FGrid->Row(), i, item);
  if (FGrid->OnComboObjectChange)
    FGrid->OnComboObjectChange(FGrid, c, FGrid->Row(), i, item, i >= 0 ? Items()->Objects(i) : nullptr);
  if (FGrid->OnComboChange) FGrid->OnComboChange(FGrid, FGrid->Col(), FGrid->Row(), -1, Text());
}

void TGridCombo::Select() {
  if (!FGrid) {
    TASGCustomCombo::Select();
    return;
  }
  const int i = ItemIndex();
  const std::string item = i >= 0 ? Items()->Strings(i) : std::string();
  const int c = FGrid->RealColIndex(FGrid->Col());
  if (FGrid->OnComboChange) FGrid->OnComboChange(FGrid, c, FGrid->Row(), i, item);
  if (FGrid->OnComboObjectChange)
    FGrid->OnComboObjectChange(FGrid, c, FGrid->Row(), i, item, i >= 0 ? Items()->Objects(i) : nullptr);
  if (OnSelect) OnSelect(this);
  else if (OnChange) OnChange(this);
  FGrid->OwnEditorChanged(Text());
}

void TGridCombo::SizeDropDownToItems(TCanvas* Canvas) {
  std::vector<std::string> texts;
  for (int i = 0; i < Items()->Count(); ++i) texts.push_back(Items()->Strings(i));
  Perform(CB_SETDROPPEDWIDTH, static_cast<WPARAM>(DropWidthFor(Width(), DropDownCount(), Canvas, texts)), 0);
}

// ---------------------------------------------------------------------------
// TGridUniCombo

ZV_CLASS_IMPL_NOPROPS(TGridUniCombo, TASGUniCustomCombo)

TGridUniCombo::TGridUniCombo(TComponent* AOwner)
    : TASGUniCustomCombo(AOwner), FGrid(dynamic_cast<TPlusStringGrid*>(AOwner)) {
  SetButtonWidth(16);
}

void TGridUniCombo::WndProc(TMessage& Message) {
  if (FGrid && Message.Msg == WM_MOUSEWHEEL) {
    const int delta = static_cast<int16_t>(HIWORD(Message.WParam));
    const int i = ItemIndex(), n = Items()->Count();
    if (delta < 0) {
      if (i + 1 < n) SetItemIndex(i + 1);
    } else if (i > 0) {
      SetItemIndex(i - 1);
    }
    const int now = ItemIndex();
    const std::string item = now >= 0 ? Utf16ToUtf8(Items()->Strings(now)) : std::string();
    const int c = FGrid->RealColIndex(FGrid->Col());
    if (FGrid->OnComboChange) FGrid->OnComboChange(FGrid, c, FGrid->Row(), now, item);
    if (FGrid->OnComboObjectChange)
      FGrid->OnComboObjectChange(FGrid, c, FGrid->Row(), now, item, now >= 0 ? Items()->Objects(now) : nullptr);
    Message.Result = 0;
    return;
  }
  TASGUniCustomCombo::WndProc(Message);
}

void TGridUniCombo::WMGetDlgCode(TMessage& M) {
  TASGUniCustomCombo::WMGetDlgCode(M);
  WantKeys(FGrid, M);
}

void TGridUniCombo::WMSetFocus(TMessage& M) {
  TASGUniCustomCombo::WMSetFocus(M);
  if (Style() != csDropDownList) CaretToMouse(FGrid, this);
}

void TGridUniCombo::CMExit(TMessage& M) {
  if (FGrid) {
    FGrid->SetLastWideEditorText(Text());
    if (FGrid->LookupHistory() && !Text().empty() && Items()->IndexOf(Text()) < 0) Items()->Add(Text());
    FGrid->EndCellEdit();
  }
  TASGUniCustomCombo::CMExit(M);
}

void TGridUniCombo::KeyDown(uint16_t& Key, TShiftState Shift) {
  FCompletion = Key != VK_BACK && Key != VK_DELETE;
  const bool listKeys = Style() == csDropDownList || DroppedDown();
  if (!FGrid || !IsComboLeaveKey(Key, Shift, listKeys)) {
    TASGUniCustomCombo::KeyDown(Key, Shift);
    return;
  }
  TPlusStringGrid* g = FGrid;
  if (Key == VK_RETURN && OnReturnKey) OnReturnKey(this);
  if (Key == VK_ESCAPE) {
    const std::u16string cell = g->GetCurrentCellWideText();
    const int i = Items()->IndexOf(cell);
    if (i >= 0) SetItemIndex(i);
    if (Style() != csDropDownList) SetText(cell);
  }
  // The value is stored and validated by the end of the edit.
  LeaveCombo(g, listKeys, Key, Shift);
}

void TGridUniCombo::KeyPress(char& Key) {
  if (Key == '\r' || Key == '\t') {
    Key = 0;
    return;
  }
  const int before = ItemIndex();
  TASGUniCustomCombo::KeyPress(Key);
  if (FGrid && ItemIndex() != before && FGrid->OnComboChange)
    FGrid->OnComboChange(this, FGrid->RealColIndex(FGrid->Col()), FGrid->Row(), ItemIndex(),
                         Utf16ToUtf8(Text()));
}

void TGridUniCombo::KeyUp(uint16_t& Key, TShiftState Shift) {
  if (Key != VK_RETURN) TASGUniCustomCombo::KeyUp(Key, Shift);
  Complete();
}

void TGridUniCombo::Complete() {
  if (!FCompletion || !FGrid || !FGrid->Lookup() || Style() == csDropDownList) return;
  const std::u16string text = Text();
  const std::u16string typed = text.substr(0, std::min(text.size(), static_cast<size_t>(SelStart())));
  if (typed.empty()) return;
  const int i = FindCompletion(Utf16ToUtf8(typed), FGrid->LookupCaseSensitive(), Items()->Count(),
                               [&](int k) { return Utf16ToUtf8(Items()->Strings(k)); });
  if (i < 0) return;
  const std::u16string item = Items()->Strings(i);
  const std::u16string rest = item.size() > typed.size() ? item.substr(typed.size(), 255) : std::u16string();
  SetItemIndex(i);
  SetText(typed + rest);
  SetSelStart(static_cast<int>(typed.size()));
  SetSelLength(static_cast<int>(rest.size()));
}

void TGridUniCombo::Select() {
  TASGUniCustomCombo::Select();
  if (!FGrid || !FGrid->OnComboChange) return;
  const int i = ItemIndex();
  FGrid->OnComboChange(FGrid, FGrid->RealColIndex(FGrid->Col()), FGrid->Row(), i,
                       i >= 0 ? Utf16ToUtf8(Items()->Strings(i)) : std::string());
}

void TGridUniCombo::SizeDropDownToItems(TCanvas* Canvas) {
  std::vector<std::string> texts;
  for (int i = 0; i < Items()->Count(); ++i) texts.push_back(Utf16ToUtf8(Items()->Strings(i)));
  Perform(CB_SETDROPPEDWIDTH, static_cast<WPARAM>(DropWidthFor(Width(), DropDownCount(), Canvas, texts)), 0);
}

// ---------------------------------------------------------------------------
// TGridSpin

ZV_CLASS_IMPL_NOPROPS(TGridSpin, TPsgSpinEdit)

TGridSpin::TGridSpin(TComponent* AOwner) : TPsgSpinEdit(AOwner), FGrid(dynamic_cast<TPlusStringGrid*>(AOwner)) {
  SetMaxValue(100);
  SetMinValue(0);
  SetIncrement(1);
  SetBorderStyle(bsNone);
}

void TGridSpin::WMGetDlgCode(TMessage& M) {
  TPsgSpinEdit::WMGetDlgCode(M);
  WantKeys(FGrid, M);
}

void TGridSpin::WMChar(TMessage& M) {
  if (!DropTabAndEnter(M)) TPsgSpinEdit::WMChar(M);
}

void TGridSpin::WMKeyDown(TMessage& M) {
  // The spin steps with these keys before its key events run: the editor's
  // own handling comes first.
  if (FGrid && IsOneOf(static_cast<uint16_t>(M.WParam), {VK_UP, VK_DOWN, VK_PRIOR, VK_NEXT})) {
    if (DoKeyDown(M)) return;
  }
  TPsgSpinEdit::WMKeyDown(M);
}

void TGridSpin::KeyDown(uint16_t& Key, TShiftState Shift) {
  if (!FGrid) {
    TPsgSpinEdit::KeyDown(Key, Shift);
    return;
  }
  TPlusStringGrid* g = FGrid;
  if (IsOneOf(Key, {VK_TAB, VK_RETURN, VK_ESCAPE, VK_UP, VK_DOWN})) {
    if (Key == VK_ESCAPE) {
      SetText(g->EscapeText());
      if (SpinType() == sptNormal) SetValue(Value());
      else if (SpinType() == sptFloat) SetFloatValue(FloatValue());
    }
    if (Key != VK_ESCAPE && !CommitText(g, this)) {
      Key = 0;
      return;
    }
    LeaveWithKey(g, Key, Shift);
    return;
  }
  if (IsOneOf(Key, {VK_PRIOR, VK_NEXT, VK_HOME, VK_END})) {
    const bool up = Key == VK_PRIOR || Key == VK_HOME;
    if (SpinType() == sptNormal) {
      const int v = Value(), step = Key == VK_PRIOR ? Increment() : -Increment();
      if (Key == VK_END) SetValue(MinValue());
      else if (Key == VK_HOME) SetValue(MaxValue());
      else if (v + step <= MaxValue() && v + step >= MinValue()) SetValue(v + step);
    } else if (SpinType() == sptFloat) {
      const double v = FloatValue(), step = Key == VK_PRIOR ? IncrementFloat() : -IncrementFloat();
      if (Key == VK_END) SetFloatValue(MinFloatValue());
      else if (Key == VK_HOME) SetFloatValue(MaxFloatValue());
      else if (v + step <= MaxFloatValue() && v + step >= MinFloatValue()) SetFloatValue(v + step);
    }
    if (g->OnSpinClick) g->OnSpinClick(g, g->Col(), g->Row(), Value(), up);
    // Numbers are stepped here only; dates and times step or move the caret
    // as the spin edit does.
    if (SpinType() == sptNormal || SpinType() == sptFloat) Key = 0;
  }
  TPsgSpinEdit::KeyDown(Key, Shift);
}

void TGridSpin::KeyPress(char& Key) {
  if (Key == '\r') return;
  TPsgSpinEdit::KeyPress(Key);
}

void TGridSpin::SpinUp(TObject* Sender) {
  TPsgSpinEdit::SpinUp(Sender);
  SpinClicked(true);
}

void TGridSpin::SpinDown(TObject* Sender) {
  TPsgSpinEdit::SpinDown(Sender);
  SpinClicked(false);
}

void TGridSpin::SpinClicked(bool Up) {
  TPlusStringGrid* g = FGrid;
  if (!g) return;
  switch (SpinType()) {
    case sptNormal:
      if (g->OnSpinClick) g->OnSpinClick(g, g->Col(), g->Row(), Value(), Up);
      break;
    case sptFloat:
      if (g->OnFloatSpinClick) g->OnFloatSpinClick(g, g->Col(), g->Row(), FloatValue(), Up);
      break;
    case sptDate:
      if (g->OnDateSpinClick) g->OnDateSpinClick(g, g->Col(), g->Row(), DateValue(), Up);
      break;
    case sptTime:
      if (g->OnTimeSpinClick) g->OnTimeSpinClick(g, g->Col(), g->Row(), TimeValue(), Up);
      break;
  }
}

void TGridSpin::Change() {
  TPsgSpinEdit::Change();
  if (FGrid) FGrid->OwnEditorChanged(Text());
}

void TGridSpin::CMExit(TMessage& M) {
  if (FGrid) FGrid->EndCellEdit();
  TPsgSpinEdit::CMExit(M);
}

// ---------------------------------------------------------------------------
// TGridEditBtn

ZV_CLASS_IMPL_NOPROPS(TGridEditBtn, TPsgEditBtn)

TGridEditBtn::TGridEditBtn(TComponent* AOwner)
    : TPsgEditBtn(AOwner), FGrid(dynamic_cast<TPlusStringGrid*>(AOwner)) {
  SetBorderStyle(bsNone);
  SetButtonCaption("...");
  OnClickBtn = [this](TObject*) { ButtonClicked(); };
}

void TGridEditBtn::ButtonClicked() {
  if (!FGrid) return;
  SetText(FGrid->EllipsClick(Text()));
  SelectAll();
  Invalidate();
}

void TGridEditBtn::Dispatch(TMessage& M) {
  if (FGrid && M.Msg == WM_PASTE) {
    Paste();
    return;
  }
  TPsgEditBtn::Dispatch(M);
}

void TGridEditBtn::Paste() {
  if (!Clipboard()->HasFormat(CF_TEXT)) return;
  std::string value = Clipboard()->AsText();
  bool allow = true;
  if (FGrid->OnClipboardPaste) FGrid->OnClipboardPaste(this, allow);
  if (FGrid->OnClipboardBeforePasteCell)
    FGrid->OnClipboardBeforePasteCell(this, FGrid->Col(), FGrid->Row(), value, allow);
  if (allow && Enabled() && !ReadOnly() && EditorEnabled()) SetSelText(value);
}

void TGridEditBtn::WMGetDlgCode(TMessage& M) {
  TPsgEditBtn::WMGetDlgCode(M);
  WantKeys(FGrid, M);
}

void TGridEditBtn::WMChar(TMessage& M) {
  if (M.WParam == '\r') return;
  if (FGrid && M.WParam < 256) {
    const TEditorType t = FGrid->CurrentEditorType();
    const TEditorType filter = t == edNumericEditBtn ? edNumeric : t == edFloatEditBtn ? edFloat : edNormal;
    if (filter != edNormal) {
      const bool ctrl = GetKeyState(VK_CONTROL) < 0 || KeyDataToShiftState(M.LParam).Contains(ssCtrl);
      const char ch = FilterEditorChar(filter, static_cast<char>(M.WParam), ctrl, Text(), SelStart(), SelLength());
      if (ch == 0) {
        M.Result = 1;
        return;
      }
    }
  }
  TPsgEditBtn::WMChar(M);
}

void TGridEditBtn::KeyDown(uint16_t& Key, TShiftState Shift) {
  FCaretAtKeyDown = SelStart();
  const bool leave = IsOneOf(Key, {VK_TAB, VK_RETURN, VK_ESCAPE, VK_PRIOR, VK_NEXT, VK_UP, VK_DOWN});
  // With Ctrl held every key is the edit's own.
  if (!FGrid || !leave || Shift.Contains(ssCtrl)) {
    TPsgEditBtn::KeyDown(Key, Shift);
    return;
  }
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
  if (Key == 0) return;
  TPlusStringGrid* g = FGrid;
  if (Key == VK_ESCAPE) SetText(g->EscapeText());
  if (IsOneOf(Key, {VK_RETURN, VK_TAB, VK_UP, VK_DOWN}) && !CommitText(g, this)) {
    Key = 0;
    return;
  }
  LeaveWithKey(g, Key, Shift);
}

void TGridEditBtn::KeyUp(uint16_t& Key, TShiftState Shift) {
  TPlusStringGrid* g = FGrid;
  const bool walk = g && g->Navigation()->CursorWalkEditor() && SelLength() == 0 && !Shift.Contains(ssShift);
  const bool right = walk && Key == VK_RIGHT && SelStart() == static_cast<int>(Text().size());
  const bool left = walk && Key == VK_LEFT && SelStart() == 0 && FCaretAtKeyDown == 0;
  if (right || left) {
    Key = 0;
    int next = g->Col() - 1;
    if (right) next = g->Col() + g->GetCellSpan(g->RealColIndex(g->Col()), g->Row()).X + 1;
    const bool inside = right ? next < g->ColCount() - 1 : next >= g->FixedCols();
    if (inside && g->HasCellControl(g->RealColIndex(next), g->Row())) {
      if (g->ValidateCell(Text())) {
        g->EndCellEdit();
        g->SetCol(next);
      }
      return;
    }
    FocusGrid(g);
    TNavigation* nav = g->Navigation();
    const TAdvanceDirection dir = nav->AdvanceDirection();
    nav->SetAdvanceDirection(adLeftRight);
    g->AdvanceFromCell(g->Col(), g->Row(), true, false, right, true, true);
    nav->SetAdvanceDirection(dir);
    return;
  }
  if (Key != VK_RETURN) TPsgEditBtn::KeyUp(Key, Shift);
}

void TGridEditBtn::Change() {
  TPsgEditBtn::Change();
  if (FGrid) FGrid->OwnEditorChanged(Text());
}

void TGridEditBtn::CMExit(TMessage& M) {
  if (FGrid) FGrid->EndCellEdit();
  TPsgEditBtn::CMExit(M);
}

// ---------------------------------------------------------------------------
// TGridUnitEditBtn

ZV_CLASS_IMPL_NOPROPS(TGridUnitEditBtn, TPsgUnitEditBtn)

TGridUnitEditBtn::TGridUnitEditBtn(TComponent* AOwner)
    : TPsgUnitEditBtn(AOwner), FGrid(dynamic_cast<TPlusStringGrid*>(AOwner)) {
  SetBorderStyle(bsNone);
  SetButtonCaption("...");
}

void TGridUnitEditBtn::WMGetDlgCode(TMessage& M) {
  TPsgUnitEditBtn::WMGetDlgCode(M);
  WantKeys(FGrid, M);
}

void TGridUnitEditBtn::WMChar(TMessage& M) {
  if (M.WParam == '\r') return;
  TPsgUnitEditBtn::WMChar(M);
}

void TGridUnitEditBtn::KeyDown(uint16_t& Key, TShiftState Shift) {
  if (!FGrid || !IsOneOf(Key, {VK_TAB, VK_RETURN, VK_ESCAPE, VK_PRIOR, VK_NEXT, VK_UP, VK_DOWN})) {
    TPsgUnitEditBtn::KeyDown(Key, Shift);
    return;
  }
  TPlusStringGrid* g = FGrid;
  if (Key == VK_ESCAPE) {
    SetText(g->GetCurrentCellText());
    SetUnitID("");
  }
  if (IsOneOf(Key, {VK_RETURN, VK_TAB, VK_UP, VK_DOWN})) {
    // The value alone is validated; the unit joins it when the edit ends.
    const std::string value = Text();
    g->SetCurrentCellText(value);
    if (!g->ValidateCell(value)) {
      // The cell holds value and unit again: both go back to their places.
      std::string v, u;
      TPlusStringGrid::SplitValueAndUnit(g->GetCurrentCellText(), v, u);
      SetText(v);
      SetUnitID(u);
      Invalidate();
      Key = 0;
      return;
    }
    SetText(g->GetCurrentCellText());
  }
  LeaveWithKey(g, Key, Shift);
}

void TGridUnitEditBtn::CMExit(TMessage& M) {
  if (FGrid) FGrid->EndCellEdit();
  TPsgUnitEditBtn::CMExit(M);
}

// ---------------------------------------------------------------------------
// TGridUniEdit

ZV_CLASS_IMPL_NOPROPS(TGridUniEdit, TCustomUNIEdit)

TGridUniEdit::TGridUniEdit(TComponent* AOwner)
    : TCustomUNIEdit(AOwner), FGrid(dynamic_cast<TPlusStringGrid*>(AOwner)) {
  SetBorderStyle(bsNone);
}

void TGridUniEdit::WMGetDlgCode(TMessage& M) {
  TCustomUNIEdit::WMGetDlgCode(M);
  WantKeys(FGrid, M);
}

void TGridUniEdit::WMChar(TMessage& M) {
  if (!DropTabAndEnter(M)) TCustomUNIEdit::WMChar(M);
}

void TGridUniEdit::WMSetFocus(TMessage& M) {
  TCustomUNIEdit::WMSetFocus(M);
  CaretToEndUnlessSelectAll(FGrid, this);
}

void TGridUniEdit::KeyPress(char& Key) {
  if (Key == '\r') return;
  TCustomUNIEdit::KeyPress(Key);
}

void TGridUniEdit::KeyDown(uint16_t& Key, TShiftState Shift) {
  if (!LeaveWideEditor(FGrid, this, Key, Shift, false)) TCustomUNIEdit::KeyDown(Key, Shift);
}

void TGridUniEdit::CMExit(TMessage& M) {
  ExitWideEditor(FGrid, Text());
  TCustomUNIEdit::CMExit(M);
}

// ---------------------------------------------------------------------------
// TGridUniEditBtn

ZV_CLASS_IMPL_NOPROPS(TGridUniEditBtn, TPsgUniEditBtn)

TGridUniEditBtn::TGridUniEditBtn(TComponent* AOwner)
    : TPsgUniEditBtn(AOwner), FGrid(dynamic_cast<TPlusStringGrid*>(AOwner)) {
  SetButtonCaption("...");
}

void TGridUniEditBtn::WMGetDlgCode(TMessage& M) {
  TPsgUniEditBtn::WMGetDlgCode(M);
  WantKeys(FGrid, M);
}

void TGridUniEditBtn::WMChar(TMessage& M) {
  if (!DropTabAndEnter(M)) TPsgUniEditBtn::WMChar(M);
}

void TGridUniEditBtn::WMSetFocus(TMessage& M) {
  TPsgUniEditBtn::WMSetFocus(M);
  CaretToEndUnlessSelectAll(FGrid, this);
}

void TGridUniEditBtn::KeyPress(char& Key) {
  if (Key == '\r') return;
  TPsgUniEditBtn::KeyPress(Key);
}

void TGridUniEditBtn::KeyDown(uint16_t& Key, TShiftState Shift) {
  if (!LeaveWideEditor(FGrid, this, Key, Shift, true)) TPsgUniEditBtn::KeyDown(Key, Shift);
}

void TGridUniEditBtn::CMExit(TMessage& M) {
  ExitWideEditor(FGrid, Text());
  TPsgUniEditBtn::CMExit(M);
}

// ---------------------------------------------------------------------------
// TGridUniMemo

ZV_CLASS_IMPL_NOPROPS(TGridUniMemo, TPsgUniMemo)

TGridUniMemo::TGridUniMemo(TComponent* AOwner)
    : TPsgUniMemo(AOwner), FGrid(dynamic_cast<TPlusStringGrid*>(AOwner)) {
  // Enter starts a new line of the cell.
  SetWantReturns(true);
}

void TGridUniMemo::WMGetDlgCode(TMessage& M) {
  TPsgUniMemo::WMGetDlgCode(M);
  if (FGrid && FGrid->Options().Contains(goTabs)) M.Result |= DLGC_WANTTAB;
}

void TGridUniMemo::WMChar(TMessage& M) {
  if (M.WParam == '\t') {
    M.Result = 0;
    return;
  }
  TPsgUniMemo::WMChar(M);
}

void TGridUniMemo::WMSetFocus(TMessage& M) {
  TPsgUniMemo::WMSetFocus(M);
  if (!FGrid) return;
  if (FGrid->Navigation()->EditSelectAll()) SelectAll();
  else SetSelStart(MemoEnd(Text()));
}

void TGridUniMemo::KeyDown(uint16_t& Key, TShiftState Shift) {
  if (!FGrid || (Key != VK_TAB && Key != VK_ESCAPE)) {
    TPsgUniMemo::KeyDown(Key, Shift);
    return;
  }
  TPlusStringGrid* g = FGrid;
  if (Key == VK_ESCAPE) {
    SetText(g->GetCurrentCellWideText());
    LeaveWithKey(g, Key, Shift);
    return;
  }
  const std::u16string text = Text();
  g->SetCurrentCellWideText(text);
  if (!g->ValidateCellWide(text)) {
    SetText(g->GetCurrentCellWideText());
    SetSelStart(MemoEnd(Text()));
    Invalidate();
    Key = 0;
    return;
  }
  SetText(g->GetCurrentCellWideText());
  // Ended through the grid, the edit counts as open until it is stored.
  if (g->Options().Contains(goTabs)) g->SetEditorShowing(true);
  LeaveWithKey(g, Key, Shift);
}

void TGridUniMemo::CMExit(TMessage& M) {
  ExitWideEditor(FGrid, Text());
  TPsgUniMemo::CMExit(M);
}

// ---------------------------------------------------------------------------
// TGridDatePicker

ZV_CLASS_IMPL_NOPROPS(TGridDatePicker, TDateTimePicker)

TGridDatePicker::TGridDatePicker(TComponent* AOwner)
    : TDateTimePicker(AOwner), FGrid(dynamic_cast<TPlusStringGrid*>(AOwner)) {
  OnCloseUp = [this](TObject*) {
    if (FGrid && FGrid->OnDatePickerCloseUp) FGrid->OnDatePickerCloseUp(this, FGrid->Row(), FGrid->Col());
  };
}

void TGridDatePicker::WMGetDlgCode(TMessage& M) {
  TDateTimePicker::WMGetDlgCode(M);
  WantKeys(FGrid, M);
}

void TGridDatePicker::WMNCPaint(TMessage& M) {
  TDateTimePicker::WMNCPaint(M);
  TCanvas* c = NCCanvas();
  if (!c) return;
  // Two frames in the window colour over the border: the picker looks flat.
  c->Brush()->SetColor(clWindow);
  c->Brush()->SetStyle(bsSolid);
  TRect r = Rect(0, 0, Width(), Height());
  c->FrameRect(r);
  r = Rect(1, 1, Width() - 1, Height() - 1);
  c->FrameRect(r);
}

void TGridDatePicker::RestoreFromCell() {
  const std::string text = FGrid->GetCurrentCellText();
  TDateTime v = 0;
  if (Kind() == dtkTime && TryStrToTime(text, v)) SetTime(v);
  else if (Kind() == dtkDate && TryStrToDate(text, v)) SetDate(v);
  else SetDateTime(Now());
}

void TGridDatePicker::KeyDown(uint16_t& Key, TShiftState Shift) {
  if (!FGrid || !IsOneOf(Key, {VK_TAB, VK_RETURN, VK_ESCAPE, VK_PRIOR, VK_NEXT, VK_END})) {
    TDateTimePicker::KeyDown(Key, Shift);
    return;
  }
  if (Key == VK_ESCAPE) RestoreFromCell();
  // The open calendar keeps its keys (Enter takes its day); only Tab leaves.
  if (DroppedDown() && Key != VK_TAB) {
    TDateTimePicker::KeyDown(Key, Shift);
    return;
  }
  FEscaped = Key == VK_ESCAPE;
  LeaveWithKey(FGrid, Key, Shift);
}

void TGridDatePicker::Change() {
  TDateTimePicker::Change();
  if (FGrid) FGrid->DateTimeChanged(DateTime());
}

void TGridDatePicker::CMExit(TMessage& M) {
  if (FGrid) FGrid->EndCellEdit();
  TDateTimePicker::CMExit(M);
}

// ---------------------------------------------------------------------------
// TGridCheckBox

ZV_CLASS_IMPL_NOPROPS(TGridCheckBox, TCheckBox)

TGridCheckBox::TGridCheckBox(TComponent* AOwner)
    : TCheckBox(AOwner), FGrid(dynamic_cast<TPlusStringGrid*>(AOwner)) {}

void TGridCheckBox::WMGetDlgCode(TMessage& M) {
  TCheckBox::WMGetDlgCode(M);
  M.Result |= DLGC_WANTARROWS | DLGC_WANTALLKEYS;
}

void TGridCheckBox::WMLButtonDown(TMessage& M) {
  // The press toggles the box; the window system, seeing no press, toggles
  // nothing more on the release.
  if (!FGrid) {
    TCheckBox::WMLButtonDown(M);
    return;
  }
  SetChecked(!Checked());
  if (CanFocus() && !Focused()) SetFocus();
}

void TGridCheckBox::KeyDown(uint16_t& Key, TShiftState Shift) {
  if (!FGrid) {
    TCheckBox::KeyDown(Key, Shift);
    return;
  }
  if (Key == VK_SPACE) {
    SetChecked(!Checked());
    Key = 0;
    return;
  }
  if (!IsOneOf(Key, {VK_RETURN, VK_PRIOR, VK_NEXT, VK_END, VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN})) {
    TCheckBox::KeyDown(Key, Shift);
    return;
  }
  TPlusStringGrid* g = FGrid;
  const uint16_t key = Key;
  Key = 0;
  g->EndCellEdit();
  FocusGrid(g);
  if (key == VK_RETURN) g->AdvanceFromCell(g->Col(), g->Row(), true, false, true, true, false);
  if (key == VK_UP || key == VK_DOWN) {
    uint16_t k = key;
    g->EditorKeyDown(k, Shift);
  }
}

void TGridCheckBox::CMExit(TMessage& M) {
  if (FGrid) FGrid->EndCellEdit();
  TCheckBox::CMExit(M);
}

// ---------------------------------------------------------------------------
// TGridButton

ZV_CLASS_IMPL_NOPROPS(TGridButton, TButton)

TGridButton::TGridButton(TComponent* AOwner) : TButton(AOwner), FGrid(dynamic_cast<TPlusStringGrid*>(AOwner)) {}

void TGridButton::WMGetDlgCode(TMessage& M) {
  TButton::WMGetDlgCode(M);
  M.Result |= DLGC_WANTARROWS | DLGC_WANTALLKEYS;
}

void TGridButton::Clicked() {
  if (!FGrid) return;
  const std::string s = FGrid->EllipsClick(Caption());
  SetCaption(s);
  FGrid->SetCurrentCellText(s);
}

void TGridButton::WMLButtonUp(TMessage& M) {
  TButton::WMLButtonUp(M);
  const int x = M.XPos(), y = M.YPos();
  if (x >= 0 && y >= 0 && x < Width() && y < Height()) Clicked();
}

void TGridButton::WMKeyUp(TMessage& M) {
  TButton::WMKeyUp(M);
  if (M.WParam == VK_SPACE && Visible()) {
    Clicked();
    Invalidate();
  }
}

void TGridButton::HideForKey() {
  SetVisible(false);
  SetEnabled(false);
  FGrid->SetEditorShowing(false);
  FocusGrid(FGrid);
}

void TGridButton::KeyDown(uint16_t& Key, TShiftState Shift) {
  if (!FGrid || !(IsArrow(Key) || Key == VK_ESCAPE)) {
    TButton::KeyDown(Key, Shift);
    return;
  }
  TPlusStringGrid* g = FGrid;
  const uint16_t key = Key;
  Key = 0;
  if (key == VK_ESCAPE) {
    HideForKey();
    g->RestoreEditedCell();
    g->PassEditorKey(WM_KEYDOWN, VK_ESCAPE);
    return;
  }
  g->PassEditorKey(WM_KEYDOWN, key);
  HideForKey();
  g->PassEditorKey(WM_KEYUP, key);
}

void TGridButton::CMExit(TMessage& M) {
  if (FGrid) FGrid->EndCellEdit();
  TButton::CMExit(M);
}
