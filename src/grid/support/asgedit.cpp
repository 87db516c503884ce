#include "grid/support/asgedit.h"

#include <algorithm>

#include "grid/support/plusxpvs.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/framectl.h"
#include "platform/ui/popupmenus.h"

namespace {

// The first image of a glyph strip, drawn with its bottom-left colour
// keyed out, centred in R when smaller than it.
void DrawGlyph(TCanvas* c, TBitmap* glyph, int numGlyphs, const TRect& r, bool down) {
  if (!glyph || glyph->Empty()) return;
  const int gw = glyph->Width() / std::max(1, numGlyphs), gh = glyph->Height();
  TBitmap image;
  image.SetSize(gw, gh);
  image.Canvas()->CopyRect(Rect(0, 0, gw, gh), glyph->Canvas(), Rect(0, 0, gw, gh));
  image.SetTransparent(true);
  int x = r.Width() > gw ? (r.Width() - gw) / 2 : 0;
  int y = r.Height() > gh ? (r.Height() - gh) / 2 : 0;
  if (down) {
    ++x;
    ++y;
  }
  c->Draw(r.Left + x, r.Top + y, &image);
}

}  // namespace

// ---------------------------------------------------------------------------
// TPlusSpeedButton

ZV_CLASS_IMPL(TPlusSpeedButton, TSpeedButton)

void TPlusSpeedButton::DeclareProperties(TClassInfo& c) {
  c.Boolean<TPlusSpeedButton>("IsWinXP", &TPlusSpeedButton::IsWinXP, &TPlusSpeedButton::SetIsWinXP, false);
  c.Boolean<TPlusSpeedButton>("Flat", &TPlusSpeedButton::Flat, &TPlusSpeedButton::SetFlat, false);
}

void TPlusSpeedButton::SetIsWinXP(bool v) {
  if (v == FIsWinXP) return;
  FIsWinXP = v;
  Invalidate();
}

void TPlusSpeedButton::SetFlat(bool v) {
  if (v == FPlusFlat) return;
  FPlusFlat = v;
  Invalidate();
}

void TPlusSpeedButton::Paint() {
  TCanvas* c = Canvas();
  c->Font()->Assign(Font());
  TRect r = Rect(0, 0, FWidth, FHeight);
  const bool down = State() == bsDown || State() == bsExclusive;
  if (FIsWinXP && XPVSLoaded()) {
    HTHEME t = OpenThemeData(FParent ? FParent->Handle() : 0, u"button");
    DrawThemeBackground(t, c, 1, down ? 3 : (FHot ? 2 : 1), &r, nullptr);
    CloseThemeData(t);
  } else if (FPlusFlat) {
    DrawEdge(c, r, down ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT | BF_MIDDLE);
    r = Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
  } else {
    DrawFrameControl(c, r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (down ? DFCS_PUSHED : 0));
  }
  const TRect whole = Rect(0, 0, FWidth, FHeight);
  DrawGlyph(c, Glyph(), NumGlyphs(), whole, down);
  if (!Caption().empty()) {
    TRect tr = whole;
    if (down) tr = Rect(tr.Left + 1, tr.Top + 1, tr.Right + 1, tr.Bottom + 1);
    c->Brush()->SetStyle(bsClear);
    c->DrawText(Caption(), tr, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  }
}

void TPlusSpeedButton::CMMouseEnter(TMessage& M) {
  TSpeedButton::CMMouseEnter(M);
  FHot = true;
  Invalidate();
}

void TPlusSpeedButton::CMMouseLeave(TMessage& M) {
  TSpeedButton::CMMouseLeave(M);
  FHot = false;
  Invalidate();
}

// ---------------------------------------------------------------------------
// TPsgEditButton

ZV_CLASS_IMPL(TPsgEditButton, TWinControl)

void TPsgEditButton::DeclareProperties(TClassInfo& c) {
  c.String<TPsgEditButton>("ButtonCaption", &TPsgEditButton::ButtonCaption, &TPsgEditButton::SetButtonCaption);
  c.Integer<TPsgEditButton>("NumGlyphs", &TPsgEditButton::NumGlyphs, &TPsgEditButton::SetNumGlyphs, 1);
  c.Boolean<TPsgEditButton>("Flat", &TPsgEditButton::Flat, &TPsgEditButton::SetFlat, false);
}

TPsgEditButton::TPsgEditButton(TComponent* AOwner) : TWinControl(AOwner) {
  FControlStyle = {csFramed, csOpaque};
  FWidth = 20;
  FHeight = 25;
  FTabStop = false;
  FButton = new TPlusSpeedButton(this);
  FButton->SetParent(this);
  FButton->SetVisible(true);
  FButton->SetEnabled(true);
  FButton->OnClick = [](TObject*) {};
  FButton->OnMouseUp = [this](TObject*, TMouseButton b, TShiftState, int, int) { BtnMouseUp(b); };
  FButton->SetBounds(0, 0, FWidth, FHeight);
}

void TPsgEditButton::SetFlat(bool v) {
  FFlat = v;
  FButton->SetFlat(v);
}

void TPsgEditButton::SetFocusControl(TWinControl* v) {
  FFocusControl = v;
  if (v) v->FreeNotification(this);
}

void TPsgEditButton::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (FButton && !FComponentState.Contains(csLoading)) FButton->SetBounds(0, 0, FWidth, FHeight);
}

void TPsgEditButton::Loaded() {
  TWinControl::Loaded();
  FButton->SetBounds(0, 0, FWidth, FHeight);
}

void TPsgEditButton::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TPsgEditButton::BtnMouseUp(TMouseButton Button) {
  if (Button != mbLeft) return;
  if (OnClick) OnClick(this);
  if (FFocusControl && FFocusControl->TabStop() && FFocusControl->CanFocus() && !FFocusControl->Focused())
    FFocusControl->SetFocus();
  else if (TabStop() && CanFocus() && !Focused())
    SetFocus();
}

// ---------------------------------------------------------------------------
// TPsgEditBtn

ZV_CLASS_IMPL(TPsgEditBtn, TCustomEdit)

void TPsgEditBtn::DeclareProperties(TClassInfo& c) {
  c.Integer<TPsgEditBtn>("ButtonWidth", &TPsgEditBtn::ButtonWidth, &TPsgEditBtn::SetButtonWidth, 0);
  c.Boolean<TPsgEditBtn>("EditorEnabled", &TPsgEditBtn::EditorEnabled, &TPsgEditBtn::SetEditorEnabled, true);
  c.String<TPsgEditBtn>("ButtonCaption", &TPsgEditBtn::ButtonCaption, &TPsgEditBtn::SetButtonCaption);
  c.Boolean<TPsgEditBtn>("IsWinXP", &TPsgEditBtn::IsWinXP, &TPsgEditBtn::SetIsWinXP, false);
  c.Boolean<TPsgEditBtn>("RightAlign", &TPsgEditBtn::RightAlign, &TPsgEditBtn::SetRightAlign, false);
  c.Method<TPsgEditBtn, TNotifyEvent>("OnClickBtn", [](TPsgEditBtn* o) { return static_cast<bool>(o->OnClickBtn); },
                                      [](TPsgEditBtn* o, TNotifyEvent e) { o->OnClickBtn = std::move(e); });
}

TPsgEditBtn::TPsgEditBtn(TComponent* AOwner) : TCustomEdit(AOwner) {
  FControlStyle.Exclude(csSetCaption);
  FButton = new TPsgEditButton(this);
  FButton->SetBounds(0, 0, 18, 18);
  FButton->SetVisible(true);
  FButton->SetParent(this);
  FButton->SetFocusControl(this);
  FButton->OnClick = [this](TObject* Sender) { ClickButton(Sender); };
  SetText("0");
}

TPsgEditBtn::~TPsgEditBtn() { FButton = nullptr; }

void TPsgEditBtn::ClickButton(TObject* Sender) {
  if (OnClickBtn) OnClickBtn(Sender);
}

void TPsgEditBtn::SetButtonWidth(int v) {
  FButtonWidth = v;
  if (FButton) FButton->SetWidth(v);
}

void TPsgEditBtn::SetIsWinXP(bool v) {
  FIsWinXP = v;
  if (FButton) FButton->Button()->SetIsWinXP(v);
}

void TPsgEditBtn::SetRightAlign(bool v) {
  if (v == FRightAlign) return;
  FRightAlign = v;
  SetAlignment(v ? taRightJustify : taLeftJustify);
}

void TPsgEditBtn::CreateWnd() {
  SetAlignment(FRightAlign ? taRightJustify : taLeftJustify);
  TCustomEdit::CreateWnd();
  SetEditRect();
}

void TPsgEditBtn::SetEditRect() {
  if (!FButton) return;
  const int lt = BorderStyle() != bsNone ? 1 : 2;
  int right = ClientWidth() - (FButton->Width() + FUnitSpace + 3);
  if (FUnitSpace > 0) right -= 3;
  SetRect(Rect(lt, lt, right, ClientHeight() + 1));
}

int TPsgEditBtn::GetMinHeight() {
  TBitmap measure;
  measure.SetSize(1, 1);
  measure.Canvas()->Font()->Assign(Font());
  const int f = measure.Canvas()->TextHeight("0");
  TFont system;
  measure.Canvas()->Font()->Assign(&system);
  const int s = measure.Canvas()->TextHeight("0");
  return f + std::min(f, s) / 4;
}

void TPsgEditBtn::WMSize(TMessage& M) {
  TCustomEdit::WMSize(M);
  const int minHeight = GetMinHeight();
  if (FHeight < minHeight) {
    SetBounds(FLeft, FTop, FWidth, minHeight);
    return;
  }
  if (FButton) {
    // New-style 3D controls: the button sits inside the border.
    const int d = BorderStyle() != bsNone ? 5 : 1;
    FButton->SetBounds(FWidth - FButton->Width() - d, 0, FButton->Width(), FHeight - d);
  }
  SetEditRect();
}

void TPsgEditBtn::CMEnter(TMessage& M) {
  if (AutoSelect() && !(GetKeyState(VK_LBUTTON) < 0)) SelectAll();
  TCustomEdit::CMEnter(M);
}

void TPsgEditBtn::KeyDown(uint16_t& Key, TShiftState Shift) {
  TCustomEdit::KeyDown(Key, Shift);
  if (Key == VK_F4) ClickButton(this);
}

void TPsgEditBtn::WMChar(TMessage& M) {
  if (FEditorEnabled) TCustomEdit::WMChar(M);
}

void TPsgEditBtn::Dispatch(TMessage& M) {
  if ((M.Msg == WM_CUT || M.Msg == WM_PASTE) && (!FEditorEnabled || ReadOnly())) return;
  TCustomEdit::Dispatch(M);
}

// ---------------------------------------------------------------------------
// TPsgUnitEditBtn

ZV_CLASS_IMPL(TPsgUnitEditBtn, TPsgEditBtn)

void TPsgUnitEditBtn::DeclareProperties(TClassInfo& c) {
  c.Object<TPsgUnitEditBtn, TStrings>("Units", [](TPsgUnitEditBtn* o) -> TStrings* { return o->Units(); },
                                      [](TPsgUnitEditBtn* o, TStrings* v) { o->SetUnits(v); });
  c.String<TPsgUnitEditBtn>("UnitID", [](TPsgUnitEditBtn* o) { return o->UnitID(); }, &TPsgUnitEditBtn::SetUnitID);
  c.Integer<TPsgUnitEditBtn>("UnitSpace", &TPsgUnitEditBtn::UnitSpace, &TPsgUnitEditBtn::SetUnitSpace, 20);
}

TPsgUnitEditBtn::TPsgUnitEditBtn(TComponent* AOwner)
    : TPsgEditBtn(AOwner), FUnits(std::make_unique<TStringList>()) {
  FUnitSpace = 20;
  SetRightAlign(true);
}

TPsgUnitEditBtn::~TPsgUnitEditBtn() = default;

void TPsgUnitEditBtn::SetUnits(const TStrings* v) {
  if (v) FUnits->Assign(*v);
}

void TPsgUnitEditBtn::SetUnitID(const std::string& v) {
  FUnitID = v;
  Invalidate();
}

void TPsgUnitEditBtn::SetUnitSpace(int v) {
  FUnitSpace = v;
  SetEditRect();
  Invalidate();
}

void TPsgUnitEditBtn::ClickButton(TObject*) {
  HMENU menu = CreatePopupMenu();
  for (int i = 0; i < FUnits->Count(); ++i) AppendMenu(menu, MF_STRING, static_cast<unsigned>(i + 1), FUnits->Strings(i));
  const TPoint p = ClientToScreen(Point(ClientWidth() - 15, ClientHeight()));
  TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_LEFTBUTTON, p.X, p.Y, Handle());
  DestroyMenu(menu);
}

void TPsgUnitEditBtn::Dispatch(TMessage& M) {
  if (M.Msg == WM_COMMAND && M.WParamHi() != 0x300) {
    const int id = M.WParamLo();
    if (id >= 1 && id <= FUnits->Count()) {
      FUnitID = FUnits->Strings(id - 1);
      Invalidate();
    }
    return;
  }
  TPsgEditBtn::Dispatch(M);
}

void TPsgUnitEditBtn::PaintOverlay(TCanvas* Canvas) {
  if (FUnitID.empty()) return;
  const int right = ClientWidth() - ((EditButton() ? EditButton()->Width() : 0) + 3);
  TRect r = Rect(right - FUnitSpace, 2, right, ClientHeight());
  Canvas->Font()->Assign(Font());
  Canvas->Brush()->SetStyle(bsClear);
  Canvas->DrawText(FUnitID, r, DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_EDITCONTROL | DT_NOPREFIX);
}
