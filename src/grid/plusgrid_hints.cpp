// How the grid explains its cells: the ordinary hint filled for the cell
// under the mouse, its own borderless hint window that renders mini-HTML,
// the balloon tip of a cell, and the marks of modified rows.
#include <algorithm>
#include <string>

#include "grid/plusgrid.h"
#include "grid/support/plusutil.h"
#include "grid/support/psghtmle.h"
#include "platform/rtl/codepages.h"
#include "platform/ui/forms.h"

namespace {

constexpr int kHintMeasureWidth = 1008;

}  // namespace

// ---------------------------------------------------------------------------
// TBalloonSettings

ZV_CLASS_IMPL(TBalloonSettings, TPersistent)

void TBalloonSettings::DeclareProperties(TClassInfo& c) {
  using T = TBalloonSettings;
  c.Integer<T>("AutoHideDelay", &T::AutoHideDelay, &T::SetAutoHideDelay, -1);
  c.Integer<T>("BackgroundColor", &T::BackgroundColor, &T::SetBackgroundColor, clNone).WithIdents(&ColorIdents());
  c.Boolean<T>("Enable", &T::Enable, &T::SetEnable, false);
  c.Integer<T>("InitialDelay", &T::InitialDelay, &T::SetInitialDelay, -1);
  c.Integer<T>("ReshowDelay", &T::ReshowDelay, &T::SetReshowDelay, -1);
  c.Integer<T>("TextColor", &T::TextColor, &T::SetTextColor, clNone).WithIdents(&ColorIdents());
  c.Integer<T>("Transparency", &T::Transparency, &T::SetTransparency, 0);
}

void TBalloonSettings::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TBalloonSettings*>(Source);
  if (!s || s == this) return;
  FTextColor = s->FTextColor;
  FBackgroundColor = s->FBackgroundColor;
  FInitialDelay = s->FInitialDelay;
  FAutoHideDelay = s->FAutoHideDelay;
  FReshowDelay = s->FReshowDelay;
  SetEnable(s->FEnable);
}

// ---------------------------------------------------------------------------
// THTMLHintWindow

void THTMLHintWindow::DeclareProperties(TClassInfo&) {}
ZV_CLASS_IMPL(THTMLHintWindow, THintWindow)

THTMLHintWindow::THTMLHintWindow(TComponent* AOwner) : THintWindow(AOwner) {}

TRect THTMLHintWindow::CalcHintRect(int MaxWidth, const std::string& AHint) {
  THTMLDrawOptions o;
  o.CalcOnly = true;
  Canvas()->Font()->Assign(Font());
  const THTMLDrawResult r = DrawHTML(Canvas(), AHint, TRect(0, 0, std::max(MaxWidth, 1), 4096), o);
  return TRect(0, 0, r.XSize, r.YSize);
}

void THTMLHintWindow::ActivateHint(TRect Rect, const std::string& AHint) {
  SetText(AHint);
  THTMLDrawOptions o;
  o.CalcOnly = true;
  Canvas()->Font()->Assign(Font());
  const THTMLDrawResult m =
      DrawHTML(Canvas(), AHint, TRect(Rect.Left, 0, Rect.Left + kHintMeasureWidth, 4096), o);
  FTextWidth = m.XSize;
  FTextHeight = m.YSize;
  const int w = FTextWidth + 16, h = FTextHeight + 4;
  const TRect mon = MonitorRectAt(TPoint{Rect.Left, Rect.Top});
  int left = Rect.Left, top = Rect.Top;
  if (left + w > mon.Right) left = mon.Right - w - 2;
  if (top + h > mon.Bottom) top = mon.Bottom - h - 2;
  SetBounds(left, top, w, h);
  SetVisible(true);
  Invalidate();
}

void THTMLHintWindow::CMTextChanged(TMessage& M) {
  THintWindow::CMTextChanged(M);
  Invalidate();
}

void THTMLHintWindow::Paint() {
  TCanvas* c = Canvas();
  const TRect r = ClientRect();
  c->Brush()->SetColor(Color());
  c->FillRect(r);
  // A raised frame.
  c->Pen()->SetColor(cl3DLight);
  c->MoveTo(r.Left, r.Bottom - 1);
  c->LineTo(r.Left, r.Top);
  c->LineTo(r.Right - 1, r.Top);
  c->Pen()->SetColor(cl3DDkShadow);
  c->LineTo(r.Right - 1, r.Bottom - 1);
  c->LineTo(r.Left, r.Bottom - 1);
  c->Font()->Assign(Font());
  const int top = r.Top + (r.Height() - FTextHeight) / 2;
  THTMLDrawOptions o;
  o.URLColor = clBlue;
  c->Brush()->SetStyle(bsClear);
  DrawHTML(c, Text(), TRect(r.Left + 4, top, r.Right - 4, top + FTextHeight + 8), o);
  c->Brush()->SetStyle(bsSolid);
}

// ---------------------------------------------------------------------------
// The grid

THTMLHintWindow* TPlusStringGrid::HTMLHintWindow() {
  if (!FHTMLHintWindow) {
    FHTMLHintWindow = new THTMLHintWindow(this);
    FHTMLHintWindow->SetColor(FHintColor);
  }
  return FHTMLHintWindow;
}

void TPlusStringGrid::ShowGridHint(const std::string& Text, TPoint ScreenPos, int MaxWidth) {
  THTMLHintWindow* w = HTMLHintWindow();
  w->SetColor(FHintColor);
  TRect r = w->CalcHintRect(MaxWidth, Text);
  r = TRect(ScreenPos.X, ScreenPos.Y, ScreenPos.X + r.Width(), ScreenPos.Y + r.Height());
  w->ActivateHint(r, Text);
}

void TPlusStringGrid::HideGridHint() {
  if (FHTMLHintWindow) FHTMLHintWindow->ReleaseHandle();
}

void TPlusStringGrid::FillHintInfo(std::string& HintStr, THintInfo& HintInfo) {
  HintInfo.HintColor = FHintColor;
  int c = -1, r = -1;
  MouseToCell(HintInfo.CursorPos.X, HintInfo.CursorPos.Y, c, r);
  if (c < 0 || r < 0 || c >= ColCount() || r >= RowCount()) {
    HintStr.clear();
    return;
  }
  FHintCell = TPoint{c, r};
  const int real = RealColIndex(c);
  const TRect cell = CellRect(c, r);
  HintInfo.CursorRect = cell;
  const std::string text = GetCellText(real, r);
  const TCellTextKind kind = GetCellTextKind(text, FEnableHTML);

  if (kind == ckHTML && FAnchorHint) {
    TCellLinkHit hit;
    if (CellLinkAt(c, r, HintInfo.CursorPos.X, HintInfo.CursorPos.Y, hit) && hit.ControlID.empty() &&
        !hit.Anchor.empty()) {
      THTMLDrawOptions o;
      o.X = HintInfo.CursorPos.X;
      o.Y = HintInfo.CursorPos.Y;
      o.CheckOnly = true;
      const THTMLDrawResult res = DrawHTML(Canvas(), text, CellTextRect(c, r), o);
      std::string anchor = res.AnchorTitle.empty() ? hit.Anchor : res.AnchorTitle;
      if (OnAnchorHint) OnAnchorHint(this, r, c, anchor);
      HintStr = anchor;
    }
  }

  TPoint pos{cell.Left, cell.Bottom + 6};
  std::string comment;
  if (GetCellComment(real, r, comment)) {
    HintStr = comment;
    pos = TPoint{cell.Right, cell.Top};
  }
  auto cellText = [&] {
    pos.Y = cell.Top;
    if (kind == ckUnicode) HintStr = Utf16ToUtf8(DecodeWideCellText(text));
    else if (FHTMLHint) HintStr = text;
    else HintStr = kind == ckHTML ? HTMLToPlainText(text) : text;
  };
  const bool normal = c >= TCustomGrid::FixedCols() && r >= TCustomGrid::FixedRows() &&
                      c < ColCount() - FFixedRightCols && r < RowCount() - FFixedFooters;
  if (FHintShowCells && normal) cellText();
  if (FHintShowLargeText) {
    const TPoint need = GetCellTextSize(real, r, false);
    if (ColWidths(c) < need.X || RowHeights(r) < need.Y) cellText();
  }
  const bool footerRow = FFloatingFooter->Visible() && r == RowCount() - 1;
  if (!footerRow) {
    if (OnGridHint) OnGridHint(this, r, c, HintStr);
    FOfficeHint->Notes()->SetText(HintStr);
    if (OnOfficeHint) OnOfficeHint(this, c, r, FOfficeHint.get());
  }
  HintInfo.HintPos = ClientToScreen(pos);
  HintInfo.HintStr = HintStr;
}

std::unique_ptr<TBalloonSettings> TPlusStringGrid::MakeBalloonSettings() {
  auto b = std::make_unique<TBalloonSettings>();
  b->OnEnableChange = [this](TObject*) { BalloonEnableChanged(); };
  return b;
}

void TPlusStringGrid::CreateBalloon() {
  // One balloon at a time, whatever the order of the switches.
  if (FBalloonWindow) return;
  FBalloonWindow = new TBalloonHint(this);
  FBalloonWindow->InitialDelay = FBalloon->InitialDelay();
  FBalloonWindow->ReshowDelay = FBalloon->ReshowDelay();
  FBalloonWindow->AutoHideDelay = FBalloon->AutoHideDelay();
  if (FBalloon->Transparency() != 0) FBalloonWindow->SetAlpha(255 - std::clamp(FBalloon->Transparency(), 0, 255));
  FBalloonWindow->SetContent("ToolTipText", "", biError);
}

void TPlusStringGrid::ReleaseBalloon() {
  delete FBalloonWindow;
  FBalloonWindow = nullptr;
}

void TPlusStringGrid::BalloonEnableChanged() {
  if (IsLoading()) return;
  if (FBalloon->Enable()) CreateBalloon();
  else ReleaseBalloon();
}

void TPlusStringGrid::ShowCellBalloon(int ACol, int ARow) {
  if (!FBalloon->Enable() || !FBalloonWindow) return;
  if (ACol < 0 || ARow < 0 || ACol >= ColCount() || ARow >= RowCount()) return;
  std::string title, text;
  int icon = biInfo;
  GetBalloonText(ACol, ARow, title, text, icon);
  // A tip without a text does not show.
  if (text.empty()) return;
  FBalloonWindow->SetContent(title, text, icon);
  if (FBalloon->TextColor() != clNone) FBalloonWindow->SetTextColor(FBalloon->TextColor());
  if (FBalloon->BackgroundColor() != clNone) FBalloonWindow->SetBackgroundColor(FBalloon->BackgroundColor());
  const TRect r = CellRect(ACol, ARow);
  FBalloonWindow->ShowAt(ClientToScreen(TPoint{r.Left + r.Width() / 2, r.Bottom}));
}

void TPlusStringGrid::PopBalloon() {
  if (FBalloonWindow) FBalloonWindow->Pop();
}

void TPlusStringGrid::ModifiedChanged() { RepaintCol(0); }
