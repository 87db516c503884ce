#include "platform/ui/pages.h"

#include <algorithm>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/framectl.h"
#include "platform/ui/forms.h"

namespace {

constexpr int kArrowWidth = 16;
constexpr int kMargin = 2;   // between the control's edge and the first tab
constexpr int kInset = 4;    // between the frame's outer edge and the page

// A canvas to measure captions on, outside any paint.
TCanvas* ProbeCanvas(const TFont* font) {
  static TBitmap* probe = new TBitmap(1, 1);
  TCanvas* c = probe->Canvas();
  c->SetFont(font);
  return c;
}

int CaptionWidth(TCanvas* c, const std::string& s) {
  TRect r = Rect(0, 0, 0, 0);
  c->DrawText(s.empty() ? std::string(" ") : s, r, DT_SINGLELINE | DT_CALCRECT);
  return r.Width();
}

}  // namespace

// ---------------------------------------------------------------------------
// TCustomTabControl

struct TCustomTabControl::TLayout {
  std::vector<TRect> Tabs;  // per shown tab; empty when scrolled out
  int Rows = 1;
  int DisplayTop = 0;       // top of the frame
  bool Scrolling = false;
  TRect LeftArrow, RightArrow;
  bool CanScrollRight = false;
};

ZV_CLASS_IMPL(TCustomTabControl, TCustomControl)

void TCustomTabControl::DeclareProperties(TClassInfo& c) {
  c.Boolean<TCustomTabControl>("MultiLine", &TCustomTabControl::MultiLine, &TCustomTabControl::SetMultiLine, false);
  c.Boolean<TCustomTabControl>("HotTrack", &TCustomTabControl::HotTrack, &TCustomTabControl::SetHotTrack, false);
  c.Integer<TCustomTabControl>("TabHeight", &TCustomTabControl::TabHeight, &TCustomTabControl::SetTabHeight, 0);
  c.Integer<TCustomTabControl>("TabWidth", &TCustomTabControl::TabWidth, &TCustomTabControl::SetTabWidth, 0);
  c.Method<TCustomTabControl, TNotifyEvent>(
      "OnChange", [](TCustomTabControl* o) { return static_cast<bool>(o->OnChange); },
      [](TCustomTabControl* o, TNotifyEvent e) { o->OnChange = std::move(e); });
  c.Method<TCustomTabControl, TTabChangingEvent>(
      "OnChanging", [](TCustomTabControl* o) { return static_cast<bool>(o->OnChanging); },
      [](TCustomTabControl* o, TTabChangingEvent e) { o->OnChanging = std::move(e); });
}

TCustomTabControl::TCustomTabControl(TComponent* AOwner) : TCustomControl(AOwner) {
  FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque};
  FWidth = 289;
  FHeight = 193;
  FTabStop = true;
}

TCustomTabControl::~TCustomTabControl() { Destroying(); }

const TCustomTabControl::TLayout& TCustomTabControl::Layout() const {
  if (FLayout) return *FLayout;
  auto l = std::make_unique<TLayout>();
  TCanvas* c = ProbeCanvas(FFont.get());
  const int rowH = FTabHeight > 0 ? FTabHeight : c->TextHeight("Wg") + 6;
  const int n = ShownCount();
  const int current = ShownCurrent();
  std::vector<int> widths(static_cast<size_t>(n));
  int total = 0;
  for (int i = 0; i < n; ++i) {
    widths[static_cast<size_t>(i)] = FTabWidth > 0 ? FTabWidth : CaptionWidth(c, ShownCaption(i)) + 12;
    total += widths[static_cast<size_t>(i)];
  }
  l->Tabs.assign(static_cast<size_t>(n), TRect{});
  const int right = FWidth - kMargin;
  if (!FMultiLine || n == 0) {
    l->Scrolling = kMargin + total > right;
    int limit = right;
    if (l->Scrolling) {
      limit = FWidth - 2 * kArrowWidth - kMargin;
      l->LeftArrow = Rect(limit, kMargin, limit + kArrowWidth, kMargin + std::min(rowH, kArrowWidth));
      l->RightArrow = Rect(limit + kArrowWidth, kMargin, limit + 2 * kArrowWidth, l->LeftArrow.Bottom);
    }
    const int first = l->Scrolling ? std::clamp(FFirstTab, 0, std::max(n - 1, 0)) : 0;
    int x = kMargin;
    for (int i = first; i < n; ++i) {
      const int w = widths[static_cast<size_t>(i)];
      if (i > first && x + w > limit) {
        l->CanScrollRight = true;
        break;
      }
      l->Tabs[static_cast<size_t>(i)] = Rect(x, kMargin, x + w, kMargin + rowH);
      x += w;
    }
    l->Rows = 1;
  } else {
    // Rows filled left to right; the row of the current tab goes next to
    // the page, the rows after it move to the top.
    std::vector<std::vector<int>> rows(1);
    int x = kMargin;
    for (int i = 0; i < n; ++i) {
      const int w = widths[static_cast<size_t>(i)];
      if (!rows.back().empty() && x + w > right) {
        rows.emplace_back();
        x = kMargin;
      }
      rows.back().push_back(i);
      x += w;
    }
    size_t active = 0;
    for (size_t r = 0; r < rows.size(); ++r)
      if (std::find(rows[r].begin(), rows[r].end(), current) != rows[r].end()) active = r;
    std::rotate(rows.begin(), rows.begin() + static_cast<long>(active + 1) % static_cast<long>(rows.size()),
                rows.end());
    for (size_t r = 0; r < rows.size(); ++r) {
      int used = 0;
      for (int i : rows[r]) used += widths[static_cast<size_t>(i)];
      // Several rows fill the width; the spare pixels go to the first tabs.
      const int spare = rows.size() > 1 ? std::max(0, right - kMargin - used) : 0;
      const int count = static_cast<int>(rows[r].size());
      int left = kMargin;
      for (int k = 0; k < count; ++k) {
        const int i = rows[r][static_cast<size_t>(k)];
        const int w = widths[static_cast<size_t>(i)] + spare / count + (k < spare % count ? 1 : 0);
        const int top = kMargin + static_cast<int>(r) * rowH;
        l->Tabs[static_cast<size_t>(i)] = Rect(left, top, left + w, top + rowH);
        left += w;
      }
    }
    l->Rows = static_cast<int>(rows.size());
  }
  l->DisplayTop = kMargin + l->Rows * rowH;
  FLayout = std::move(l);
  return *FLayout;
}

void TCustomTabControl::TabsChanged() {
  FLayout.reset();
  if (!FMultiLine) {
    // The current tab is scrolled into the row.
    const int cur = ShownCurrent();
    if (cur >= 0 && cur < FFirstTab) FFirstTab = cur;
    while (cur > FFirstTab && Layout().Tabs[static_cast<size_t>(cur)].Width() == 0) {
      ++FFirstTab;
      FLayout.reset();
    }
    FFirstTab = std::clamp(FFirstTab, 0, std::max(ShownCount() - 1, 0));
    FLayout.reset();
  }
  if (!FComponentState.Contains(csLoading) && !FComponentState.Contains(csDestroying)) Realign();
  Invalidate();
}

int TCustomTabControl::RowCount() const { return Layout().Rows; }

TRect TCustomTabControl::TabRect(int Index) const {
  const TLayout& l = Layout();
  if (Index < 0 || Index >= static_cast<int>(l.Tabs.size())) return TRect{};
  return l.Tabs[static_cast<size_t>(Index)];
}

int TCustomTabControl::IndexOfTabAt(int X, int Y) const {
  const TLayout& l = Layout();
  if (l.Scrolling && X >= l.LeftArrow.Left && Y < l.DisplayTop) return -1;
  for (size_t i = 0; i < l.Tabs.size(); ++i)
    if (l.Tabs[i].Contains(Point(X, Y))) return static_cast<int>(i);
  return -1;
}

TRect TCustomTabControl::DisplayRect() const {
  const int top = Layout().DisplayTop;
  TRect r = Rect(kInset, top + kInset, FWidth - kInset, FHeight - kInset);
  r.Right = std::max(r.Right, r.Left);
  r.Bottom = std::max(r.Bottom, r.Top);
  return r;
}

void TCustomTabControl::SetMultiLine(bool v) {
  if (FMultiLine == v) return;
  FMultiLine = v;
  FFirstTab = 0;
  TabsChanged();
}

void TCustomTabControl::SetTabHeight(int v) {
  if (FTabHeight == v) return;
  FTabHeight = std::max(v, 0);
  TabsChanged();
}

void TCustomTabControl::SetTabWidth(int v) {
  if (FTabWidth == v) return;
  FTabWidth = std::max(v, 0);
  TabsChanged();
}

bool TCustomTabControl::CanChange() {
  bool allow = true;
  if (OnChanging) OnChanging(this, allow);
  return allow;
}

void TCustomTabControl::Change() {
  if (OnChange) OnChange(this);
}

void TCustomTabControl::UserSelect(int Index) {
  if (Index < 0 || Index >= ShownCount() || Index == ShownCurrent()) return;
  if (!CanChange()) return;
  SelectShown(Index);
  Change();
}

void TCustomTabControl::ScrollTabs(int Delta) {
  const TLayout& l = Layout();
  if (!l.Scrolling) return;
  if (Delta > 0 && !l.CanScrollRight) return;
  FFirstTab = std::clamp(FFirstTab + Delta, 0, std::max(ShownCount() - 1, 0));
  FLayout.reset();
  Invalidate();
}

void TCustomTabControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  // The tab changes before the mouse event, as the window system's control
  // handles the press first.
  if (Button == mbLeft && !Shift.Contains(ssDouble)) {
    const TLayout& l = Layout();
    if (l.Scrolling && l.LeftArrow.Contains(Point(X, Y))) {
      ScrollTabs(-1);
    } else if (l.Scrolling && l.RightArrow.Contains(Point(X, Y))) {
      ScrollTabs(1);
    } else {
      const int i = IndexOfTabAt(X, Y);
      if (i >= 0) {
        if (FTabStop && CanFocus() && !Focused()) SetFocus();
        UserSelect(i);
      }
    }
  }
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomTabControl::MouseMove(TShiftState Shift, int X, int Y) {
  if (FHotTrack) {
    const int hot = IndexOfTabAt(X, Y);
    if (hot != FHotIndex) {
      FHotIndex = hot;
      Invalidate();
    }
  }
  TCustomControl::MouseMove(Shift, X, Y);
}

void TCustomTabControl::CMMouseLeave(TMessage& M) {
  if (FHotIndex >= 0) {
    FHotIndex = -1;
    Invalidate();
  }
  TCustomControl::CMMouseLeave(M);
}

void TCustomTabControl::WMGetDlgCode(TMessage& M) { M.Result = DLGC_WANTARROWS; }

void TCustomTabControl::KeyDown(uint16_t& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  const int n = ShownCount(), cur = ShownCurrent();
  if (n == 0) return;
  switch (Key) {
    case VK_LEFT:
      if (cur > 0) UserSelect(cur - 1);
      break;
    case VK_RIGHT:
      if (cur < n - 1) UserSelect(cur + 1);
      break;
    case VK_HOME: UserSelect(0); break;
    case VK_END: UserSelect(n - 1); break;
    case VK_TAB:
      if (!Shift.Contains(ssCtrl)) return;
      UserSelect(Shift.Contains(ssShift) ? (cur - 1 + n) % n : (cur + 1) % n);
      break;
    default: return;
  }
  Key = 0;
}

void TCustomTabControl::WMSetFocus(TMessage& M) {
  TCustomControl::WMSetFocus(M);
  Invalidate();
}

void TCustomTabControl::WMKillFocus(TMessage& M) {
  TCustomControl::WMKillFocus(M);
  Invalidate();
}

void TCustomTabControl::BoundsChanged(bool sizeChanged) {
  if (sizeChanged) FLayout.reset();
  TCustomControl::BoundsChanged(sizeChanged);
}

void TCustomTabControl::FontChanged() {
  FLayout.reset();
  TCustomControl::FontChanged();
  TabsChanged();
}

void TCustomTabControl::CMTextChanged(TMessage& M) { TCustomControl::CMTextChanged(M); }

void TCustomTabControl::Paint() {
  TCanvas* c = Canvas();
  const TLayout& l = Layout();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(FColor);
  c->FillRect(Rect(0, 0, FWidth, FHeight));
  TRect frame = Rect(0, l.DisplayTop, FWidth, FHeight);
  DrawEdge(c, frame, EDGE_RAISED, BF_RECT);
  c->SetFont(FFont.get());
  const int current = ShownCurrent();
  const bool focused = Focused();
  auto drawTab = [&](int i) {
    TRect r = l.Tabs[static_cast<size_t>(i)];
    if (r.Width() == 0) return;
    const bool active = i == current;
    if (active) r = Rect(r.Left - 2, r.Top - 2, r.Right + 2, r.Bottom + 1);
    const bool high = ShownHighlighted(i);
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(high ? clHighlight : FColor);
    c->FillRect(Rect(r.Left, r.Top, r.Right, r.Bottom));
    TRect edge = Rect(r.Left, r.Top, r.Right, r.Bottom + 2);
    DrawEdge(c, edge, EDGE_RAISED, BF_LEFT | BF_TOP | BF_RIGHT);
    // The page's frame does not run under the current tab.
    if (active) {
      c->Brush()->SetColor(high ? clHighlight : FColor);
      c->FillRect(Rect(r.Left + 2, l.DisplayTop, r.Right - 2, l.DisplayTop + 2));
    }
    TRect t = Rect(r.Left + 2, r.Top + 1, r.Right - 2, r.Bottom);
    c->Brush()->SetStyle(bsClear);
    TColor fc = FFont->Color();
    if (!FEnabled) fc = clGrayText;
    else if (high) fc = clHighlightText;
    else if (FHotTrack && i == FHotIndex) fc = clHighlight;
    c->Font()->SetColor(fc);
    c->DrawText(ShownCaption(i), t, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (active && focused) {
      c->Brush()->SetStyle(bsSolid);
      c->DrawFocusRect(Rect(r.Left + 3, r.Top + 3, r.Right - 3, r.Bottom - 2));
    }
  };
  for (int i = 0; i < static_cast<int>(l.Tabs.size()); ++i)
    if (i != current) drawTab(i);
  if (current >= 0 && current < static_cast<int>(l.Tabs.size())) drawTab(current);
  c->Font()->SetColor(FFont->Color());
  if (l.Scrolling) {
    TRect a = l.LeftArrow;
    DrawFrameControl(c, a, DFC_SCROLL, DFCS_SCROLLLEFT | (FFirstTab == 0 ? DFCS_INACTIVE : 0));
    TRect b = l.RightArrow;
    DrawFrameControl(c, b, DFC_SCROLL, DFCS_SCROLLRIGHT | (l.CanScrollRight ? 0 : DFCS_INACTIVE));
  }
}

// ---------------------------------------------------------------------------
// TTabControl

std::string TTabStrings::Get(int index) const {
  CheckIndex(index);
  return FItems[static_cast<size_t>(index)].first;
}

void TTabStrings::Put(int index, const std::string& s) {
  CheckIndex(index);
  FItems[static_cast<size_t>(index)].first = s;
  FControl->TabsChanged();
}

TObject* TTabStrings::GetObject(int index) const {
  CheckIndex(index);
  return FItems[static_cast<size_t>(index)].second;
}

void TTabStrings::PutObject(int index, TObject* obj) {
  CheckIndex(index);
  FItems[static_cast<size_t>(index)].second = obj;
}

void TTabStrings::Insert(int index, const std::string& s) {
  if (index < 0 || index > Count()) Error("List index out of bounds (%d)", index);
  FItems.insert(FItems.begin() + index, {s, nullptr});
  int& cur = FControl->FTabIndex;
  if (FItems.size() == 1) cur = 0;
  else if (cur >= index) ++cur;
  FControl->TabsChanged();
}

void TTabStrings::Delete(int index) {
  CheckIndex(index);
  FItems.erase(FItems.begin() + index);
  int& cur = FControl->FTabIndex;
  if (cur == index) cur = -1;
  else if (cur > index) --cur;
  FControl->TabsChanged();
}

void TTabStrings::Clear() {
  FItems.clear();
  FControl->FTabIndex = -1;
  FControl->TabsChanged();
}

ZV_CLASS_IMPL(TTabControl, TCustomTabControl)

void TTabControl::DeclareProperties(TClassInfo& c) {
  c.Object<TTabControl, TStrings>("Tabs", &TTabControl::Tabs, &TTabControl::SetTabs);
  c.Integer<TTabControl>("TabIndex", &TTabControl::TabIndex, &TTabControl::SetTabIndex, -1);
}

TTabControl::TTabControl(TComponent* AOwner) : TCustomTabControl(AOwner), FTabs(std::make_unique<TTabStrings>(this)) {}

TTabControl::~TTabControl() { Destroying(); }

void TTabControl::SetTabIndex(int v) {
  if (v < -1 || v >= FTabs->Count()) v = -1;
  if (v == FTabIndex) return;
  FTabIndex = v;
  TabsChanged();
}

void TTabControl::SelectShown(int Index) { SetTabIndex(Index); }

// ---------------------------------------------------------------------------
// TTabSheet

ZV_CLASS_IMPL(TTabSheet, TWinControl)

void TTabSheet::DeclareProperties(TClassInfo& c) {
  c.Boolean<TTabSheet>("TabVisible", &TTabSheet::TabVisible, &TTabSheet::SetTabVisible, true);
  c.Boolean<TTabSheet>("Highlighted", &TTabSheet::Highlighted, &TTabSheet::SetHighlighted, false);
  c.Integer<TTabSheet>("ImageIndex", &TTabSheet::ImageIndex, &TTabSheet::SetImageIndex, -1);
}

TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner) {
  FControlStyle = {csAcceptsControls, csClickEvents, csDoubleClicks};
  // A page shows only while it is the active one.
  FVisible = false;
  FAlign = alNone;
}

TTabSheet::~TTabSheet() {
  Destroying();
  if (FPageControl) FPageControl->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* v) {
  if (FPageControl == v) return;
  if (FPageControl) FPageControl->RemovePage(this);
  TWinControl::SetParent(v);
  if (v) v->InsertPage(this);
}

void TTabSheet::SetParent(TWinControl* AParent) {
  // Given a page control as parent, the sheet becomes one of its pages (or
  // returns to it); any other parent only shows it elsewhere.
  if (auto* pc = dynamic_cast<TPageControl*>(AParent)) {
    if (pc != FPageControl) {
      SetPageControl(pc);
      return;
    }
  }
  TWinControl::SetParent(AParent);
  // Back in its page control it shows only as the active page.
  if (FPageControl && AParent == FPageControl) {
    SetVisible(this == FPageControl->FActivePage);
    FPageControl->Realign();
  }
}

int TTabSheet::PageIndex() const {
  if (!FPageControl) return -1;
  const auto& p = FPageControl->FPages;
  return static_cast<int>(std::find(p.begin(), p.end(), this) - p.begin());
}

void TTabSheet::SetPageIndex(int v) {
  if (FPageControl) FPageControl->MovePage(this, v);
}

int TTabSheet::TabIndex() const {
  if (!FPageControl || !FTabVisible) return -1;
  int n = 0;
  for (TTabSheet* p : FPageControl->FPages) {
    if (p == this) return n;
    if (p->FTabVisible) ++n;
  }
  return -1;
}

void TTabSheet::SetTabVisible(bool v) {
  if (FTabVisible == v) return;
  FTabVisible = v;
  if (FPageControl) FPageControl->PageTabChanged(this, !v);
}

void TTabSheet::SetHighlighted(bool v) {
  if (FHighlighted == v) return;
  FHighlighted = v;
  if (FPageControl) FPageControl->Invalidate();
}

void TTabSheet::CMTextChanged(TMessage& M) {
  TWinControl::CMTextChanged(M);
  if (FPageControl) FPageControl->TabsChanged();
}

// ---------------------------------------------------------------------------
// TPageControl

ZV_CLASS_IMPL(TPageControl, TCustomTabControl)

void TPageControl::DeclareProperties(TClassInfo& c) {
  c.Object<TPageControl, TTabSheet>("ActivePage", &TPageControl::ActivePage, &TPageControl::SetActivePage);
}

TPageControl::TPageControl(TComponent* AOwner) : TCustomTabControl(AOwner) {
  FControlStyle.Exclude(csAcceptsControls);
}

TPageControl::~TPageControl() {
  Destroying();
  // The pages go with the control whoever owns them (they are its children);
  // they must not ask it for a new active page on the way.
  for (TTabSheet* p : FPages) p->FPageControl = nullptr;
  FPages.clear();
  FActivePage = nullptr;
}

TTabSheet* TPageControl::Pages(int Index) const {
  if (Index < 0 || Index >= PageCount())
    throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  return FPages[static_cast<size_t>(Index)];
}

void TPageControl::InsertPage(TTabSheet* Page) {
  FPages.push_back(Page);
  Page->FPageControl = this;
  // A page control shows a page whenever it has one with a tab.
  if (!FActivePage && Page->FTabVisible) ChangeActivePage(Page);
  else Page->SetVisible(Page == FActivePage);
  Realign();
  TabsChanged();
}

void TPageControl::RemovePage(TTabSheet* Page) {
  auto it = std::find(FPages.begin(), FPages.end(), Page);
  if (it == FPages.end()) return;
  const int shown = Page->TabIndex();
  FPages.erase(it);
  Page->FPageControl = nullptr;
  if (Page == FActivePage) {
    // The tab that takes its place in the row becomes active.
    FActivePage = nullptr;
    const int n = ShownCount();
    ChangeActivePage(n > 0 ? ShownPage(std::min(std::max(shown, 0), n - 1)) : nullptr);
  }
  if (!FComponentState.Contains(csDestroying)) TabsChanged();
}

void TPageControl::MovePage(TTabSheet* Page, int Index) {
  auto it = std::find(FPages.begin(), FPages.end(), Page);
  if (it == FPages.end()) return;
  FPages.erase(it);
  Index = std::clamp(Index, 0, static_cast<int>(FPages.size()));
  FPages.insert(FPages.begin() + Index, Page);
  TabsChanged();
}

void TPageControl::PageTabChanged(TTabSheet* Page, bool WasShown) {
  if (WasShown && Page == FActivePage) {
    // Its tab went: the tab now in its place (or the last) becomes active.
    int pos = 0;
    for (TTabSheet* p : FPages) {
      if (p == Page) break;
      if (p->FTabVisible) ++pos;
    }
    const int n = ShownCount();
    ChangeActivePage(n > 0 ? ShownPage(std::min(pos, n - 1)) : nullptr);
  } else if (!WasShown && !FActivePage) {
    ChangeActivePage(Page);
  }
  TabsChanged();
}

void TPageControl::ChangeActivePage(TTabSheet* Page) {
  if (Page == FActivePage) return;
  TTabSheet* old = FActivePage;
  FActivePage = Page;
  if (Page) {
    if (Page->Parent() == this) Page->SetBounds(DisplayRect().Left, DisplayRect().Top, DisplayRect().Width(),
                                                DisplayRect().Height());
    Page->BringToFront();
    Page->SetVisible(true);
  }
  if (old && old->FPageControl == this) {
    // The focus does not stay on a page that goes out of sight.
    if (TCustomForm* form = GetParentForm()) {
      TWinControl* focus = form->ActiveControl();
      if (focus && old->ContainsControl(focus) && Page && CanFocus() && Showing()) SetFocus();
    }
    old->SetVisible(false);
  }
  if (old && old->OnHide) old->OnHide(old);
  if (Page && Page->OnShow) Page->OnShow(Page);
  TabsChanged();
}

void TPageControl::SetActivePage(TTabSheet* Page) {
  if (Page && Page->FPageControl != this) return;
  ChangeActivePage(Page);
}

void TPageControl::SetActivePageIndex(int v) {
  SetActivePage(v >= 0 && v < PageCount() ? FPages[static_cast<size_t>(v)] : nullptr);
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* Current, bool GoForward, bool CheckTabVisible) const {
  const int n = PageCount();
  if (n == 0) return nullptr;
  auto it = std::find(FPages.begin(), FPages.end(), Current);
  int start = it == FPages.end() ? (GoForward ? n - 1 : 0) : static_cast<int>(it - FPages.begin());
  int i = start;
  for (int k = 0; k < n; ++k) {
    i = GoForward ? (i + 1) % n : (i - 1 + n) % n;
    TTabSheet* p = FPages[static_cast<size_t>(i)];
    if (!CheckTabVisible || p->FTabVisible) return p;
  }
  return nullptr;
}

void TPageControl::SelectNextPage(bool GoForward) {
  TTabSheet* p = FindNextPage(FActivePage, GoForward, true);
  if (!p || p == FActivePage || !CanChange()) return;
  SetActivePage(p);
  Change();
}

int TPageControl::ShownCount() const {
  return static_cast<int>(std::count_if(FPages.begin(), FPages.end(), [](TTabSheet* p) { return p->FTabVisible; }));
}

TTabSheet* TPageControl::ShownPage(int Index) const {
  for (TTabSheet* p : FPages)
    if (p->FTabVisible && Index-- == 0) return p;
  return nullptr;
}

std::string TPageControl::ShownCaption(int Index) const {
  TTabSheet* p = ShownPage(Index);
  return p ? p->Caption() : std::string();
}

bool TPageControl::ShownHighlighted(int Index) const {
  TTabSheet* p = ShownPage(Index);
  return p && p->FHighlighted;
}

void TPageControl::SelectShown(int Index) { SetActivePage(ShownPage(Index)); }

void TPageControl::AlignControls(TControl* AControl, TRect R) {
  // The pages that are in the control fill its page area.
  const TRect d = DisplayRect();
  for (TTabSheet* p : FPages)
    if (p->Parent() == this) p->SetBounds(d.Left, d.Top, d.Width(), d.Height());
  TCustomTabControl::AlignControls(AControl, R);
}

void TPageControl::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
  for (TTabSheet* p : FPages)
    if (p->Owner() == Root) Proc(p);
}
