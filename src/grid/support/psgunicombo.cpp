#include "grid/support/psgunicombo.h"

#include "grid/support/plusxpvs.h"
#include "platform/gfx/framectl.h"
#include "platform/rtl/codepages.h"
#include "platform/ui/forms.h"

// ---------------------------------------------------------------------------
// The wide items

std::u16string TCustomUNIComboBox::TComboBoxStrings::Get(int Index) const {
  return Utf8ToUtf16(FCombo->TComboBox::Items()->Strings(Index));
}

int TCustomUNIComboBox::TComboBoxStrings::GetCount() const { return FCombo->TComboBox::Items()->Count(); }

TObject* TCustomUNIComboBox::TComboBoxStrings::GetObject(int Index) const {
  return FCombo->TComboBox::Items()->Objects(Index);
}

void TCustomUNIComboBox::TComboBoxStrings::PutObject(int Index, TObject* AObject) {
  FCombo->TComboBox::Items()->SetObjects(Index, AObject);
}

int TCustomUNIComboBox::TComboBoxStrings::Add(const std::u16string& S) {
  return FCombo->TComboBox::Items()->Add(Utf16ToUtf8(S));
}

void TCustomUNIComboBox::TComboBoxStrings::Insert(int Index, const std::u16string& S) {
  FCombo->TComboBox::Items()->Insert(Index, Utf16ToUtf8(S));
}

void TCustomUNIComboBox::TComboBoxStrings::Delete(int Index) { FCombo->TComboBox::Items()->Delete(Index); }

void TCustomUNIComboBox::TComboBoxStrings::Clear() {
  const std::u16string text = GetWideText(FCombo);
  FCombo->TComboBox::Items()->Clear();
  SetWideText(FCombo, text);
  FCombo->Update();
}

int TCustomUNIComboBox::TComboBoxStrings::IndexOf(const std::u16string& S) const {
  return TWideStrings::IndexOf(S);
}

void TCustomUNIComboBox::TComboBoxStrings::SetUpdateState(bool Updating) {
  if (Updating) FCombo->TComboBox::Items()->BeginUpdate();
  else FCombo->TComboBox::Items()->EndUpdate();
}

// ---------------------------------------------------------------------------
// TCustomUNIComboBox

ZV_CLASS_IMPL_NOPROPS(TCustomUNIComboBox, TCustomComboBox)

TCustomUNIComboBox::TCustomUNIComboBox(TComponent* AOwner)
    : TCustomComboBox(AOwner), FWideItems(std::make_unique<TComboBoxStrings>(this)) {
  Font()->SetCharset(255);
}

TCustomUNIComboBox::~TCustomUNIComboBox() = default;

void TCustomUNIComboBox::WMChar(TMessage& M) {
  const uint32_t typed = static_cast<uint32_t>(M.WParam);
  if (typed == 127) {
    DefaultHandler(M);
    return;
  }
  StashWideChar(M);
  ComboCharHook(M);
  const WPARAM stashed = M.WParam & ~static_cast<WPARAM>(0xFFFF);
  if (DoKeyPress(M)) return;
  M.WParam = (M.WParam & 0xFFFF) | stashed;
  RestoreWideChar(M);
  const uint32_t ch = static_cast<uint32_t>(M.WParam);
  if ((ch == 13 || ch == 27) && DroppedDown()) {
    SetDroppedDown(false);
    return;
  }
  FinishChar(M, typed, ch);
}

void TCustomUNIComboBox::KeyPress(char& Key) {
  // Backspace only reports the key.
  if (Key == 8) {
    if (OnKeyPress) OnKeyPress(this, Key);
    return;
  }
  TCustomComboBox::KeyPress(Key);
}

void TCustomUNIComboBox::Select() {
  if (ItemIndex() >= 0) SetWideText(this, FWideItems->Get(ItemIndex()));
  Click();
  Change();
}

// ---------------------------------------------------------------------------
// TASGUniCustomCombo

ZV_CLASS_IMPL_NOPROPS(TASGUniCustomCombo, TCustomUNIComboBox)

TASGUniCustomCombo::TASGUniCustomCombo(TComponent* AOwner)
    : TCustomUNIComboBox(AOwner),
      FSavedColor(Color()),
      FSavedParentColor(ParentColor()),
      FButtonWidth(GetSystemMetrics(SM_CXVSCROLL) + 4) {}

void TASGUniCustomCombo::SetFlat(bool v) {
  if (v == FFlat) return;
  FFlat = v;
  Invalidate();
}

void TASGUniCustomCombo::SetEtched(bool v) {
  if (v == FEtched) return;
  FEtched = v;
  Invalidate();
}

void TASGUniCustomCombo::SetButtonWidth(int v) {
  if (v < 14 || v > 32) return;
  FButtonWidth = v;
  Invalidate();
}

void TASGUniCustomCombo::SetFocusBorder(bool v) {
  FFocusBorder = v;
  Invalidate();
}

void TASGUniCustomCombo::SetDropWidth(int v) {
  FDropWidth = v;
  if (v > 0) Perform(CB_SETDROPPEDWIDTH, static_cast<WPARAM>(v), 0);
}

void TASGUniCustomCombo::SetIsWinXP(bool v) {
  FIsWinXP = v;
  Invalidate();
}

bool TASGUniCustomCombo::Active() const {
  return FMouseInControl || (Screen && Screen->ActiveControl() == this);
}

bool TASGUniCustomCombo::FocusBorderWanted() const {
  return !FComponentState.Contains(csDesigning) && Active() && FFocusBorder;
}

bool TASGUniCustomCombo::RaisedButtonWanted() const {
  if (FComponentState.Contains(csDesigning)) return Enabled();
  return Active();
}

void TASGUniCustomCombo::PaintOverlay(TCanvas* C) {
  if (!FFlat) return;
  const int cw = ClientWidth(), ch = ClientHeight();
  if (Style() != csSimple) {
    // The drop-down button, on the control's colour.
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color());
    C->FillRect(Rect(cw - FButtonWidth - 4, 0, cw, ch));
    TRect r = Rect(cw - FButtonWidth + 1, 1, cw - 1, ch - 1);
    if (FIsWinXP && XPVSLoaded()) {
      HTHEME t = OpenThemeData(Handle(), u"combobox");
      const bool pressed = GetAsyncKeyState(VK_LBUTTON) < 0 || GetAsyncKeyState(VK_RBUTTON) < 0;
      DrawThemeBackground(t, C, 1, pressed ? 3 : 1, &r, nullptr);
      CloseThemeData(t);
    } else {
      DrawFrameControl(C, r, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | DFCS_FLAT);
    }
  }
  // The control's border.
  const TColor a = FocusBorderWanted() ? clBtnFace : (Parent() ? Parent()->Color() : clBtnFace);
  TRect r = Rect(0, 0, Width(), Height());
  if (FocusBorderWanted()) {
    DrawEdge(C, r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
  } else {
    C->Brush()->SetColor(a);
    C->FrameRect(r);
    r = Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
  }
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(a);
  C->FrameRect(r);
  r = Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
  C->Brush()->SetColor(Color());
  C->FrameRect(r);
  if (Style() == csSimple) return;
  // The button's edge, around the arrow.
  C->ExcludeClipRect(cw - FButtonWidth + 4, 4, cw - 4, ch - 4);
  TRect b = Rect(cw - FButtonWidth - 2 + 2, 2, Width() - 2, Height() - 2);
  if (RaisedButtonWanted()) {
    DrawEdge(C, b, FEtched ? EDGE_ETCHED : EDGE_RAISED, BF_RECT | (DroppedDown() ? BF_FLAT : 0));
  } else {
    b = Rect(b.Left, b.Top + 1, b.Right - 1, b.Bottom - 1);
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(b);
  }
}

void TASGUniCustomCombo::CMEnabledChanged(TMessage& M) {
  if (FFlat) {
    if (!Enabled()) {
      FSavedColor = Color();
      FSavedParentColor = ParentColor();
      SetParentColor(true);
    } else {
      SetColor(FSavedColor);
      SetParentColor(FSavedParentColor);
    }
  }
  TCustomUNIComboBox::CMEnabledChanged(M);
}

void TASGUniCustomCombo::CMMouseEnter(TMessage& M) {
  TCustomUNIComboBox::CMMouseEnter(M);
  if (!FMouseInControl && Enabled()) {
    FMouseInControl = true;
    Invalidate();
  }
  if (FAutoFocus && CanFocus()) SetFocus();
}

void TASGUniCustomCombo::CMMouseLeave(TMessage& M) {
  TCustomUNIComboBox::CMMouseLeave(M);
  if (FMouseInControl && Enabled()) {
    FMouseInControl = false;
    Invalidate();
  }
}

void TASGUniCustomCombo::CMEnter(TMessage& M) {
  TCustomUNIComboBox::CMEnter(M);
  if (!FComponentState.Contains(csDesigning)) Invalidate();
}

void TASGUniCustomCombo::CMExit(TMessage& M) {
  TCustomUNIComboBox::CMExit(M);
  if (!FComponentState.Contains(csDesigning)) Invalidate();
}

ZV_CLASS_IMPL(TASGUniComboBox, TASGUniCustomCombo)

void TASGUniComboBox::DeclareProperties(TClassInfo& c) {
  c.Boolean<TASGUniComboBox>("AutoFocus", &TASGUniComboBox::AutoFocus, &TASGUniComboBox::SetAutoFocus, false);
  c.Integer<TASGUniComboBox>("ButtonWidth", &TASGUniComboBox::ButtonWidth, &TASGUniComboBox::SetButtonWidth);
  c.Boolean<TASGUniComboBox>("Flat", &TASGUniComboBox::Flat, &TASGUniComboBox::SetFlat, true);
  c.Boolean<TASGUniComboBox>("Etched", &TASGUniComboBox::Etched, &TASGUniComboBox::SetEtched, false);
  c.Boolean<TASGUniComboBox>("FocusBorder", &TASGUniComboBox::FocusBorder, &TASGUniComboBox::SetFocusBorder, false);
  c.Integer<TASGUniComboBox>("DropWidth", &TASGUniComboBox::DropWidth, &TASGUniComboBox::SetDropWidth);
  c.Object<TASGUniComboBox, TWideStrings>("Items", [](TASGUniComboBox* o) { return o->Items(); },
                                          &TASGUniComboBox::SetItems);
}
