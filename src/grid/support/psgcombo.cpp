#include "grid/support/psgcombo.h"

#include "grid/support/plusxpvs.h"
#include "platform/gfx/framectl.h"
#include "platform/ui/forms.h"

ZV_CLASS_IMPL_NOPROPS(TASGCustomCombo, TCustomComboBox)

TASGCustomCombo::TASGCustomCombo(TComponent* AOwner)
    : TCustomComboBox(AOwner),
      FSavedColor(Color()),
      FSavedParentColor(ParentColor()),
      FButtonWidth(GetSystemMetrics(SM_CXVSCROLL) + 4) {}

std::string TASGCustomCombo::Version() const {
  const unsigned v = static_cast<unsigned>(GetVersionNr());
  return std::to_string(v >> 24) + "." + std::to_string((v >> 16) & 0xFF) + "." + std::to_string((v >> 8) & 0xFF) +
         "." + std::to_string(v & 0xFF);
}

void TASGCustomCombo::SetFlat(bool v) {
  if (v == FFlat) return;
  FFlat = v;
  Invalidate();
}

void TASGCustomCombo::SetEtched(bool v) {
  if (v == FEtched) return;
  FEtched = v;
  Invalidate();
}

void TASGCustomCombo::SetButtonWidth(int v) {
  if (v <= 13 || v > 32) return;
  FButtonWidth = v;
  Invalidate();
}

void TASGCustomCombo::SetFocusBorder(bool v) {
  FFocusBorder = v;
  Invalidate();
}

void TASGCustomCombo::SetDropWidth(int v) {
  FDropWidth = v;
  if (v > 0) Perform(CB_SETDROPPEDWIDTH, static_cast<WPARAM>(v), 0);
}

void TASGCustomCombo::SetIsWinXP(bool v) {
  FIsWinXP = v;
  Invalidate();
}

bool TASGCustomCombo::Active() const {
  return !FComponentState.Contains(csDesigning) &&
         (FMouseInControl || (Screen && Screen->ActiveControl() == this)) && FFocusBorder;
}

void TASGCustomCombo::PaintOverlay(TCanvas* C) {
  if (!FFlat) return;
  const int cw = ClientWidth(), ch = ClientHeight();
  const int w = Width(), h = Height();
  if (Style() != csSimple) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color());
    C->FillRect(Rect(cw - FButtonWidth - 4, 0, cw, ch));
    if (FIsWinXP && XPVSLoaded()) {
      TRect r = Rect(cw - FButtonWidth + 1, 1, w - 1, h - 1);
      HTHEME t = OpenThemeData(Handle(), u"combobox");
      const bool pressed = GetAsyncKeyState(VK_LBUTTON) < 0 || GetAsyncKeyState(VK_RBUTTON) < 0;
      DrawThemeBackground(t, C, 1, pressed ? 3 : 1, &r, nullptr);
      CloseThemeData(t);
    } else {
      TRect r = Rect(cw - FButtonWidth - 2, 2, w - 2, h);
      DrawFrameControl(C, r, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | DFCS_FLAT);
    }
  }
  // The border.
  const bool active = Active();
  const TColor a = active ? clBtnFace : (Parent() ? Parent()->Color() : clBtnFace);
  TRect r = Rect(0, 0, w, h);
  C->Brush()->SetStyle(bsSolid);
  if (active) {
    DrawEdge(C, r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    C->Brush()->SetColor(a);
    C->FrameRect(r);
    r = Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
    C->Brush()->SetColor(Color());
    C->FrameRect(r);
  } else {
    C->Brush()->SetColor(a);
    C->FrameRect(r);
    // The visual-style look (common controls 6) keeps a one-pixel border.
    if (!FIsWinXP) {
      r = Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
      C->FrameRect(r);
    }
  }
  if (Style() == csSimple || FIsWinXP) return;
  C->ExcludeClipRect(cw - FButtonWidth + 4, 4, cw - 4, ch - 4);
  TRect e = Rect(cw - FButtonWidth - 4 + 2, 2, w + 1 - 2, h + 2 - 2);
  DrawEdge(C, e, FEtched ? EDGE_ETCHED : EDGE_RAISED, BF_RECT);
}

void TASGCustomCombo::CMEnabledChanged(TMessage& M) {
  if (FFlat) {
    if (Enabled()) {
      SetParentColor(FSavedParentColor);
      SetColor(FSavedColor);
    } else {
      FSavedColor = Color();
      FSavedParentColor = ParentColor();
      SetParentColor(true);
    }
  }
  TCustomComboBox::CMEnabledChanged(M);
}

void TASGCustomCombo::CMMouseEnter(TMessage& M) {
  TCustomComboBox::CMMouseEnter(M);
  if (!FMouseInControl && Enabled()) {
    FMouseInControl = true;
    Invalidate();
  }
  if (FAutoFocus && CanFocus()) SetFocus();
}

void TASGCustomCombo::CMMouseLeave(TMessage& M) {
  TCustomComboBox::CMMouseLeave(M);
  if (FMouseInControl && Enabled()) {
    FMouseInControl = false;
    Invalidate();
  }
}

void TASGCustomCombo::CMEnter(TMessage& M) {
  TCustomComboBox::CMEnter(M);
  if (!FComponentState.Contains(csDesigning)) Invalidate();
}

void TASGCustomCombo::CMExit(TMessage& M) {
  TCustomComboBox::CMExit(M);
  if (!FComponentState.Contains(csDesigning)) Invalidate();
}

ZV_CLASS_IMPL(TASGComboBox, TASGCustomCombo)

void TASGComboBox::DeclareProperties(TClassInfo& c) {
  c.Boolean<TASGComboBox>("AutoFocus", &TASGComboBox::AutoFocus, &TASGComboBox::SetAutoFocus, false);
  c.Integer<TASGComboBox>("ButtonWidth", &TASGComboBox::ButtonWidth, &TASGComboBox::SetButtonWidth);
  c.Boolean<TASGComboBox>("Flat", &TASGComboBox::Flat, &TASGComboBox::SetFlat, true);
  c.Boolean<TASGComboBox>("Etched", &TASGComboBox::Etched, &TASGComboBox::SetEtched, false);
  c.Boolean<TASGComboBox>("FocusBorder", &TASGComboBox::FocusBorder, &TASGComboBox::SetFocusBorder, false);
  c.Integer<TASGComboBox>("DropWidth", &TASGComboBox::DropWidth, &TASGComboBox::SetDropWidth);
  c.String<TASGComboBox>("Version", &TASGComboBox::Version, &TASGComboBox::SetVersion);
}
