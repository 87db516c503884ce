#include "platform/ui/hintwindows.h"

#include <QWidget>
#include <algorithm>

#include "platform/ui/forms.h"
#include "platform/ui/qt_ui.h"

namespace {

int gBalloons = 0;
constexpr int kBalloonMargin = 8, kBalloonIcon = 16, kBalloonMaxWidth = 320;

}  // namespace

// ---------------------------------------------------------------------------
// THintWindow

void THintWindow::DeclareProperties(TClassInfo&) {}
ZV_CLASS_IMPL(THintWindow, TPopupControl)

THintWindow::THintWindow(TComponent* AOwner) : TPopupControl(AOwner) { SetColor(clInfoBk); }

TRect THintWindow::CalcHintRect(int MaxWidth, const std::string& AHint) {
  TCanvas* c = Canvas();
  c->Font()->Assign(Font());
  TRect r(0, 0, std::max(MaxWidth, 1), 0);
  c->DrawText(AHint, r, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  return TRect(0, 0, r.Width() + 6, r.Height() + 2);
}

TRect THintWindow::MonitorRectAt(TPoint) {
  if (!Screen) return TRect(0, 0, 0, 0);
  return TRect(0, 0, Screen->Width(), Screen->Height());
}

void THintWindow::ActivateHint(TRect Rect, const std::string& AHint) {
  SetText(AHint);
  const TRect m = MonitorRectAt(TPoint{Rect.Left, Rect.Top});
  int left = Rect.Left, top = Rect.Top;
  if (left + Rect.Width() > m.Right) left = m.Right - Rect.Width() - 2;
  if (top + Rect.Height() > m.Bottom) top = m.Bottom - Rect.Height() - 2;
  SetBounds(std::max(left, m.Left), std::max(top, m.Top), Rect.Width(), Rect.Height());
  SetVisible(true);
  Invalidate();
}

void THintWindow::ReleaseHandle() { SetVisible(false); }

void THintWindow::Paint() {
  TCanvas* c = Canvas();
  const TRect r = ClientRect();
  c->Brush()->SetColor(Color());
  c->FillRect(r);
  c->Font()->Assign(Font());
  TRect t(r.Left + 2, r.Top + 1, r.Right - 2, r.Bottom);
  c->Brush()->SetStyle(bsClear);
  c->DrawText(Text(), t, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  c->Brush()->SetStyle(bsSolid);
}

// ---------------------------------------------------------------------------
// TBalloonHint

void TBalloonHint::DeclareProperties(TClassInfo&) {}
ZV_CLASS_IMPL(TBalloonHint, TPopupControl)

TBalloonHint::TBalloonHint(TComponent* AOwner) : TPopupControl(AOwner) {
  ++gBalloons;
  SetColor(clInfoBk);
}

TBalloonHint::~TBalloonHint() { --gBalloons; }

int TBalloonHint::InstanceCount() { return gBalloons; }

void TBalloonHint::SetContent(const std::string& ATitle, const std::string& AText, int AIcon) {
  FTitle = ATitle;
  FText = AText;
  FIcon = AIcon;
  Invalidate();
}

void TBalloonHint::SetAlpha(int v) {
  FAlpha = std::clamp(v, 0, 255);
  if (HandleAllocated() && Impl()->Widget) Impl()->Widget->setWindowOpacity(FAlpha / 255.0);
}

void TBalloonHint::CreateWnd() {
  TPopupControl::CreateWnd();
  if (Impl()->Widget) Impl()->Widget->setWindowOpacity(FAlpha / 255.0);
}

TSize TBalloonHint::ContentSize() {
  TCanvas* c = Canvas();
  c->Font()->Assign(Font());
  TFontStyles bold;
  bold.Include(fsBold);
  c->Font()->SetStyle(bold);
  TRect title(0, 0, kBalloonMaxWidth, 0);
  if (!FTitle.empty()) c->DrawText(FTitle, title, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  c->Font()->SetStyle(TFontStyles{});
  TRect text(0, 0, kBalloonMaxWidth, 0);
  if (!FText.empty()) c->DrawText(FText, text, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  const int titleW = title.Width() + (FIcon != biNone ? kBalloonIcon + 4 : 0);
  const int titleH = std::max(title.Height(), FIcon != biNone ? kBalloonIcon : 0);
  return TSize{std::max(titleW, text.Width()) + 2 * kBalloonMargin,
               titleH + (titleH > 0 ? 4 : 0) + text.Height() + 2 * kBalloonMargin};
}

void TBalloonHint::ShowAt(TPoint ScreenPos) {
  const TSize s = ContentSize();
  const TRect m = THintWindow::MonitorRectAt(ScreenPos);
  int left = std::min(ScreenPos.X, m.Right - s.cx - 2), top = ScreenPos.Y;
  if (top + s.cy > m.Bottom) top = ScreenPos.Y - s.cy;
  SetBounds(std::max(left, m.Left), std::max(top, m.Top), s.cx, s.cy);
  SetVisible(true);
  Invalidate();
}

void TBalloonHint::Pop() { SetVisible(false); }

void TBalloonHint::Paint() {
  TCanvas* c = Canvas();
  const TRect r = ClientRect();
  const TColor back = FBackgroundColor != clNone ? FBackgroundColor : clInfoBk;
  const TColor ink = FTextColor != clNone ? FTextColor : clInfoText;
  c->Brush()->SetColor(back);
  c->Pen()->SetColor(clGray);
  c->RoundRect(r.Left, r.Top, r.Right, r.Bottom, 10, 10);
  int y = r.Top + kBalloonMargin, x = r.Left + kBalloonMargin;
  if (FIcon != biNone) {
    static const TColor icons[] = {clNone, 0xC07000, 0x00C0FF, 0x0000D0};
    c->Brush()->SetColor(icons[std::clamp(FIcon, 0, 3)]);
    c->Pen()->SetColor(icons[std::clamp(FIcon, 0, 3)]);
    c->Ellipse(x, y, x + kBalloonIcon, y + kBalloonIcon);
    x += kBalloonIcon + 4;
  }
  c->Brush()->SetStyle(bsClear);
  c->Font()->Assign(Font());
  c->Font()->SetColor(ink);
  TFontStyles bold;
  bold.Include(fsBold);
  c->Font()->SetStyle(bold);
  if (!FTitle.empty()) {
    TRect t(x, y, r.Right - kBalloonMargin, y + kBalloonIcon);
    c->DrawText(FTitle, t, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  }
  c->Font()->SetStyle(TFontStyles{});
  if (!FTitle.empty() || FIcon != biNone) y += kBalloonIcon + 4;
  TRect t(r.Left + kBalloonMargin, y, r.Right - kBalloonMargin, r.Bottom - kBalloonMargin);
  c->DrawText(FText, t, DT_WORDBREAK | DT_NOPREFIX);
  c->Brush()->SetStyle(bsSolid);
}
