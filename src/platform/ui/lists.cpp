#include "platform/ui/lists.h"

#include <algorithm>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/framectl.h"
#include "platform/ui/qt_viewarea.h"

namespace {

TViewArea* AreaOf(const TWinControl* c) {
  return c->Impl() ? dynamic_cast<TViewArea*>(c->Impl()->Widget.data()) : nullptr;
}

int FontHeight(const TFont* font) {
  static TBitmap* probe = new TBitmap(1, 1);
  TCanvas* c = probe->Canvas();
  c->SetFont(font);
  return c->TextHeight("0");
}

[[noreturn]] void IndexError(int index) {
  throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

bool StartsWithChar(const std::string& s, char ch) {
  if (s.empty()) return false;
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return lower(s[0]) == lower(ch);
}

}  // namespace

// ---------------------------------------------------------------------------
// TListBoxStrings

int TListBoxStrings::Count() const { return FListBox->Count(); }

std::string TListBoxStrings::Get(int index) const {
  CheckIndex(index);
  return FListBox->FItems[static_cast<size_t>(index)].Text;
}

void TListBoxStrings::Put(int index, const std::string& s) {
  CheckIndex(index);
  FListBox->FItems[static_cast<size_t>(index)].Text = s;
  FListBox->ItemsChanged();
}

TObject* TListBoxStrings::GetObject(int index) const {
  CheckIndex(index);
  return FListBox->FItems[static_cast<size_t>(index)].Object;
}

void TListBoxStrings::PutObject(int index, TObject* obj) {
  CheckIndex(index);
  FListBox->FItems[static_cast<size_t>(index)].Object = obj;
}

int TListBoxStrings::Add(const std::string& s) { return AddObject(s, nullptr); }

int TListBoxStrings::AddObject(const std::string& s, TObject* obj) {
  int index = Count();
  if (FListBox->FSorted) {
    // After the equal strings already there.
    index = 0;
    while (index < Count() && CompareStrings(Get(index), s) <= 0) ++index;
  }
  Insert(index, s);
  PutObject(index, obj);
  return index;
}

void TListBoxStrings::Insert(int index, const std::string& s) {
  if (index < 0 || index > Count()) Error("List index out of bounds (%d)", index);
  TCustomListBox* lb = FListBox;
  TCustomListBox::TItem item;
  item.Text = s;
  lb->FItems.insert(lb->FItems.begin() + index, item);
  if (lb->FItemIndex >= index) ++lb->FItemIndex;
  if (lb->FAnchor >= index) ++lb->FAnchor;
  if (lb->FStyle == lbOwnerDrawVariable) {
    int h = lb->FItemHeight;
    lb->MeasureItem(index, h);
    lb->FItems[static_cast<size_t>(index)].Height = std::max(h, 0);
  }
  lb->ItemsChanged();
}

void TListBoxStrings::Delete(int index) {
  CheckIndex(index);
  TCustomListBox* lb = FListBox;
  lb->FItems.erase(lb->FItems.begin() + index);
  // In single-select mode the selected item going leaves none selected.
  if (lb->FItemIndex == index) lb->FItemIndex = lb->FMultiSelect ? std::min(index, Count() - 1) : -1;
  else if (lb->FItemIndex > index) --lb->FItemIndex;
  if (lb->FAnchor == index) lb->FAnchor = -1;
  else if (lb->FAnchor > index) --lb->FAnchor;
  lb->ItemsChanged();
}

void TListBoxStrings::Clear() {
  FListBox->FItems.clear();
  FListBox->FItemIndex = -1;
  FListBox->FAnchor = -1;
  FListBox->FTopIndex = 0;
  FListBox->ItemsChanged();
}

void TListBoxStrings::Exchange(int index1, int index2) {
  CheckIndex(index1);
  CheckIndex(index2);
  auto& items = FListBox->FItems;
  // The strings and objects change places; the selection stays where it is.
  std::swap(items[static_cast<size_t>(index1)].Text, items[static_cast<size_t>(index2)].Text);
  std::swap(items[static_cast<size_t>(index1)].Object, items[static_cast<size_t>(index2)].Object);
  std::swap(items[static_cast<size_t>(index1)].State, items[static_cast<size_t>(index2)].State);
  std::swap(items[static_cast<size_t>(index1)].Enabled, items[static_cast<size_t>(index2)].Enabled);
  std::swap(items[static_cast<size_t>(index1)].Height, items[static_cast<size_t>(index2)].Height);
  FListBox->ItemsChanged();
}

void TListBoxStrings::Move(int curIndex, int newIndex) {
  if (curIndex == newIndex) return;
  CheckIndex(curIndex);
  CheckIndex(newIndex);
  TCustomListBox* lb = FListBox;
  const bool wasCurrent = lb->FItemIndex == curIndex;
  TCustomListBox::TItem item = lb->FItems[static_cast<size_t>(curIndex)];
  BeginUpdate();
  Delete(curIndex);
  Insert(newIndex, item.Text);
  lb->FItems[static_cast<size_t>(newIndex)] = item;
  if (wasCurrent) lb->FItemIndex = newIndex;
  EndUpdate();
}

void TListBoxStrings::SetUpdateState(bool updating) {
  FListBox->FUpdating += updating ? 1 : -1;
  if (!updating) FListBox->ItemsChanged();
}

// ---------------------------------------------------------------------------
// TCustomListBox

ZV_CLASS_IMPL(TCustomListBox, TCustomControl)

void TCustomListBox::DeclareProperties(TClassInfo& c) {
  using L = TCustomListBox;
  static const TEnumInfo styles{"TListBoxStyle", {"lbStandard", "lbOwnerDrawFixed", "lbOwnerDrawVariable"}, 0};
  c.Enum<L>("Style", styles, &L::Style, &L::SetStyle, lbStandard);
  c.Integer<L>("ItemHeight", [](L* o) { return o->FItemHeight; }, &L::SetItemHeight, 16);
  c.Boolean<L>("MultiSelect", &L::MultiSelect, &L::SetMultiSelect, false);
  c.Boolean<L>("ExtendedSelect", &L::ExtendedSelect, &L::SetExtendedSelect, true);
  c.Boolean<L>("Sorted", &L::Sorted, &L::SetSorted, false);
  c.Enum<L>("BorderStyle", BorderStyleEnumInfo(), &L::BorderStyle, &L::SetBorderStyle, bsSingle);
  c.Object<L, TStrings>("Items", &L::Items, &L::SetItems);
}

TCustomListBox::TCustomListBox(TComponent* AOwner)
    : TCustomControl(AOwner), FStrings(std::make_unique<TListBoxStrings>(this)) {
  FControlStyle = {csSetCaption, csDoubleClicks, csOpaque, csCaptureMouse};
  FControlStyle.Exclude(csSetCaption);
  FImpl->ViewportSurface = true;  // the viewport inside the frame is the client area
  FWidth = 121;
  FHeight = 97;
  FTabStop = true;
  FColor = clWindow;
  FParentColor = false;
}

TCustomListBox::~TCustomListBox() {
  if (auto* area = AreaOf(this)) area->Detach();
  Destroying();
}

void TCustomListBox::CreateWnd() {
  auto* area = new TViewArea(this);
  area->SetFramed(FBorderStyle != bsNone);
  area->OnScroll = [this](int pos) { SetTopIndex(pos); };
  AttachWidget(this, area, area->viewport());
  SyncBar();
}

TRect TCustomListBox::ClientRect() const {
  const int f = FBorderStyle != bsNone ? kViewFrame : 0;
  const int h = std::max(0, FHeight - 2 * f);
  int total = 0;
  for (int i = 0; i < Count() && total <= h; ++i) total += HeightOf(i);
  const int bar = total > h ? GetSystemMetrics(SM_CXVSCROLL) : 0;
  return Rect(0, 0, std::max(0, FWidth - 2 * f - bar), h);
}

TPoint TCustomListBox::ChildOrigin() const {
  const int f = FBorderStyle != bsNone ? kViewFrame : 0;
  return Point(f, f);
}

int TCustomListBox::ItemHeight() const {
  return FStyle == lbStandard ? FontHeight(FFont.get()) : FItemHeight;
}

int TCustomListBox::HeightOf(int Index) const {
  if (FStyle == lbOwnerDrawVariable && Index >= 0 && Index < Count()) return FItems[static_cast<size_t>(Index)].Height;
  return ItemHeight();
}

int TCustomListBox::ItemTop(int Index) const {
  if (FStyle != lbOwnerDrawVariable) return Index * ItemHeight();
  int y = 0;
  for (int i = 0; i < Index && i < Count(); ++i) y += HeightOf(i);
  return y;
}

int TCustomListBox::VisibleCount() const {
  const int h = ClientRect().Height();
  int n = 0, y = 0;
  for (int i = FTopIndex; i < Count(); ++i) {
    y += HeightOf(i);
    if (y > h) break;
    ++n;
  }
  // Past the last item the rows go on at the fixed height.
  if (y <= h && FStyle != lbOwnerDrawVariable && ItemHeight() > 0) n += (h - y) / ItemHeight();
  return std::max(n, 1);
}

int TCustomListBox::MaxTopIndex() const {
  const int h = ClientRect().Height();
  int y = 0, i = Count();
  while (i > 0 && y + HeightOf(i - 1) <= h) y += HeightOf(--i);
  return std::min(i, std::max(Count() - 1, 0));
}

int TCustomListBox::ItemAtPos(TPoint Pos, bool Existing) const {
  const TRect client = ClientRect();
  if (!client.Contains(Pos)) return -1;
  int y = 0;
  for (int i = FTopIndex; i < Count() && y < client.Bottom; ++i) {
    const int h = HeightOf(i);
    if (Pos.Y >= y && Pos.Y < y + h) return i;
    y += h;
  }
  return Existing ? -1 : Count();
}

TRect TCustomListBox::ItemRect(int Index) const {
  const int w = ClientRect().Width();
  if (Index < 0 || Index > Count()) return TRect{};
  const int y = ItemTop(Index) - ItemTop(FTopIndex);
  return Rect(0, y, w, y + HeightOf(Index));
}

bool TCustomListBox::Selected(int Index) const {
  if (Index < 0 || Index >= Count()) IndexError(Index);
  return FMultiSelect ? FItems[static_cast<size_t>(Index)].Selected : Index == FItemIndex;
}

void TCustomListBox::SetSelected(int Index, bool v) {
  if (Index < 0 || Index >= Count()) IndexError(Index);
  if (FMultiSelect) {
    FItems[static_cast<size_t>(Index)].Selected = v;
  } else if (v) {
    FItemIndex = Index;
    ScrollInView(Index);
  } else if (FItemIndex == Index) {
    FItemIndex = -1;
  }
  Invalidate();
}

int TCustomListBox::SelCount() const {
  if (!FMultiSelect) return -1;
  return static_cast<int>(std::count_if(FItems.begin(), FItems.end(), [](const TItem& i) { return i.Selected; }));
}

void TCustomListBox::SetMultiSelect(bool v) {
  if (FMultiSelect == v) return;
  const int index = GetItemIndex();
  for (TItem& i : FItems) i.Selected = false;
  FMultiSelect = v;
  FItemIndex = index;
  FAnchor = index;
  Invalidate();
}

void TCustomListBox::SelectAll() {
  if (!FMultiSelect) return;
  for (TItem& i : FItems) i.Selected = true;
  Invalidate();
}

void TCustomListBox::ClearSelection() {
  if (FMultiSelect) {
    for (TItem& i : FItems) i.Selected = false;
  } else {
    FItemIndex = -1;
  }
  Invalidate();
}

int TCustomListBox::GetItemIndex() const {
  if (Count() == 0) return -1;
  // The focused item of a multi-select list starts at the first.
  if (FMultiSelect) return std::max(FItemIndex, 0);
  return FItemIndex;
}

void TCustomListBox::SetItemIndexValue(int v) {
  if (v < -1 || v >= Count()) v = -1;
  FItemIndex = v;
  if (!FMultiSelect) FAnchor = v;
  if (v >= 0) ScrollInView(v);
  Invalidate();
}

void TCustomListBox::SetSorted(bool v) {
  if (FSorted == v) return;
  FSorted = v;
  if (!v) return;
  const TItem* current = FItemIndex >= 0 && FItemIndex < Count() ? &FItems[static_cast<size_t>(FItemIndex)] : nullptr;
  const std::string currentText = current ? current->Text : std::string();
  const TObject* currentObject = current ? current->Object : nullptr;
  std::stable_sort(FItems.begin(), FItems.end(),
                   [this](const TItem& a, const TItem& b) { return FStrings->CompareStrings(a.Text, b.Text) < 0; });
  if (current) {
    for (int i = 0; i < Count(); ++i)
      if (FItems[static_cast<size_t>(i)].Text == currentText && FItems[static_cast<size_t>(i)].Object == currentObject) {
        FItemIndex = i;
        break;
      }
  }
  ItemsChanged();
}

void TCustomListBox::SetStyle(TListBoxStyle v) {
  if (FStyle == v) return;
  FStyle = v;
  RemeasureItems();
}

void TCustomListBox::SetItemHeight(int v) {
  if (v <= 0 || FItemHeight == v) return;
  FItemHeight = v;
  RemeasureItems();
}

void TCustomListBox::RemeasureItems() {
  if (FStyle == lbOwnerDrawVariable)
    for (int i = 0; i < Count(); ++i) {
      int h = FItemHeight;
      MeasureItem(i, h);
      FItems[static_cast<size_t>(i)].Height = std::max(h, 0);
    }
  ItemsChanged();
}

void TCustomListBox::SetBorderStyle(TBorderStyle v) {
  if (FBorderStyle == v) return;
  FBorderStyle = v;
  if (auto* area = AreaOf(this)) area->SetFramed(v != bsNone);
  ItemsChanged();
}

void TCustomListBox::SetTopIndex(int v) {
  v = std::clamp(v, 0, MaxTopIndex());
  if (v == FTopIndex) return;
  FTopIndex = v;
  SyncBar();
  Invalidate();
}

void TCustomListBox::ScrollInView(int Index) {
  if (Index < 0 || Index >= Count()) return;
  if (Index < FTopIndex) {
    SetTopIndex(Index);
    return;
  }
  const int h = ClientRect().Height();
  int top = FTopIndex;
  while (top < Index && ItemTop(Index + 1) - ItemTop(top) > h) ++top;
  SetTopIndex(top);
}

void TCustomListBox::SyncBar() {
  auto* area = AreaOf(this);
  if (!area) return;
  const int max = Count() > 0 && ItemTop(Count()) > ClientRect().Height() ? MaxTopIndex() : 0;
  area->SetVertical(max, VisibleCount(), FTopIndex);
}

void TCustomListBox::ItemsChanged() {
  if (FUpdating > 0) return;
  if (FItemIndex >= Count()) FItemIndex = Count() - 1;
  FTopIndex = std::clamp(FTopIndex, 0, MaxTopIndex());
  SyncBar();
  Invalidate();
}

void TCustomListBox::MeasureItem(int Index, int& Height) {
  if (OnMeasureItem) OnMeasureItem(this, Index, Height);
}

void TCustomListBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
  if (FStyle != lbStandard && OnDrawItem) {
    OnDrawItem(this, Index, Rect, State);
    return;
  }
  TCanvas* c = Canvas();
  c->FillRect(Rect);
  if (Index < Count()) c->TextOut(Rect.Left + 2, Rect.Top, FItems[static_cast<size_t>(Index)].Text);
}

void TCustomListBox::Paint() {
  TCanvas* c = Canvas();
  const TRect client = ClientRect();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(FColor);
  c->FillRect(client);
  const bool focused = Focused();
  const int caret = GetItemIndex();
  for (int i = FTopIndex; i < Count(); ++i) {
    const TRect r = ItemRect(i);
    if (r.Top >= client.Bottom) break;
    const TItem& item = FItems[static_cast<size_t>(i)];
    TOwnerDrawState state;
    const bool selected = FMultiSelect ? item.Selected : i == FItemIndex;
    if (selected) state.Include(odSelected);
    if (focused && i == caret) state.Include(odFocused);
    if (!FEnabled || !item.Enabled) state.Include(odDisabled);
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(FColor);
    c->SetFont(FFont.get());
    DrawItemExtras(i, r);
    // The item's canvas: highlight colours for a selected item.
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(selected ? clHighlight : FColor);
    c->SetFont(FFont.get());
    if (selected) c->Font()->SetColor(clHighlightText);
    else if (state.Contains(odDisabled)) c->Font()->SetColor(clGrayText);
    c->Pen()->SetColor(c->Font()->Color());
    const TRect dr = DrawRect(r);
    DrawItem(i, dr, state);
    if (state.Contains(odFocused)) {
      c->Brush()->SetStyle(bsSolid);
      c->Brush()->SetColor(selected ? clHighlight : FColor);
      c->Font()->SetColor(selected ? clHighlightText : FFont->Color());
      c->DrawFocusRect(dr);
    }
  }
  c->SetFont(FFont.get());
}

bool TCustomListBox::MoveTo(int Index, TShiftState Shift, bool Toggle) {
  if (Count() == 0) return false;
  Index = std::clamp(Index, 0, Count() - 1);
  const int before = FItemIndex;
  std::vector<bool> was;
  for (const TItem& i : FItems) was.push_back(i.Selected);
  if (!FMultiSelect) {
    FItemIndex = Index;
    FAnchor = Index;
  } else if (!FExtendedSelect) {
    if (Toggle) FItems[static_cast<size_t>(Index)].Selected = !FItems[static_cast<size_t>(Index)].Selected;
    FItemIndex = Index;
  } else {
    if (Shift.Contains(ssShift) && FAnchor >= 0 && FAnchor < Count()) {
      if (!Shift.Contains(ssCtrl))
        for (TItem& i : FItems) i.Selected = false;
      for (int i = std::min(FAnchor, Index); i <= std::max(FAnchor, Index); ++i)
        FItems[static_cast<size_t>(i)].Selected = true;
    } else if (Shift.Contains(ssCtrl)) {
      if (Toggle) FItems[static_cast<size_t>(Index)].Selected = !FItems[static_cast<size_t>(Index)].Selected;
      FAnchor = Index;
    } else {
      for (TItem& i : FItems) i.Selected = false;
      FItems[static_cast<size_t>(Index)].Selected = true;
      FAnchor = Index;
    }
    FItemIndex = Index;
  }
  ScrollInView(Index);
  Invalidate();
  bool changed = before != FItemIndex;
  for (size_t i = 0; i < FItems.size(); ++i) changed = changed || was[i] != FItems[i].Selected;
  return changed;
}

void TCustomListBox::WMLButtonDown(TMessage& M) {
  // The window-system list takes the focus and selects before the mouse
  // event: OnMouseDown sees the item pressed as the current one.
  if (FTabStop && CanFocus() && !Focused()) SetFocus();
  FClickPending = false;
  FTracking = false;
  const TPoint p = Point(M.XPos(), M.YPos());
  if (Count() > 0 && ClientRect().Contains(p)) {
    const int i = std::min(ItemAtPos(p, false), Count() - 1);
    MoveTo(i, KeysToShiftState(static_cast<unsigned>(M.WParam)), true);
    FTracking = true;
    FClickPending = true;
  }
  TCustomControl::WMLButtonDown(M);
}

void TCustomListBox::WMLButtonDblClk(TMessage& M) {
  const TPoint p = Point(M.XPos(), M.YPos());
  if (Count() > 0 && ClientRect().Contains(p)) {
    const int i = std::min(ItemAtPos(p, false), Count() - 1);
    MoveTo(i, KeysToShiftState(static_cast<unsigned>(M.WParam)), false);
    FTracking = true;
    FClickPending = true;
    DblClick();
  }
  TCustomControl::WMLButtonDblClk(M);
}

void TCustomListBox::WMLButtonUp(TMessage& M) {
  FTracking = false;
  DoClickAfterRelease();
  TCustomControl::WMLButtonUp(M);
}

void TCustomListBox::DoClickAfterRelease() {
  if (!FClickPending) return;
  FClickPending = false;
  Click();
}

void TCustomListBox::WMMouseMove(TMessage& M) {
  // While the button is held the selection follows the mouse, unless a
  // drag of the list has begun (or waits for the threshold).
  if (FTracking && (M.WParam & MK_LBUTTON) && !DragSourceControl() && Count() > 0 &&
      (!FMultiSelect || FExtendedSelect)) {
    const TRect client = ClientRect();
    const int y = std::clamp(M.YPos(), 0, std::max(client.Bottom - 1, 0));
    int i = ItemAtPos(Point(std::clamp(M.XPos(), 0, std::max(client.Right - 1, 0)), y), false);
    if (M.YPos() < 0) i = FTopIndex - 1;
    else if (M.YPos() >= client.Bottom) i = FTopIndex + VisibleCount();
    if (i >= 0 && i != FItemIndex) {
      TShiftState s;
      if (FMultiSelect) s.Include(ssShift);
      MoveTo(std::min(i, Count() - 1), s, false);
    }
  } else if (!(M.WParam & MK_LBUTTON)) {
    FTracking = false;
  }
  TCustomControl::WMMouseMove(M);
}

void TCustomListBox::WMMouseWheel(TMessage& M) {
  const TShiftState shift = KeysToShiftState(M.WParamLo());
  const int delta = static_cast<int16_t>(M.WParamHi());
  const TPoint pos = Point(static_cast<int16_t>(M.LParamLo()), static_cast<int16_t>(M.LParamHi()));
  if (DoMouseWheel(shift, delta, pos)) {
    M.Result = 1;
    return;
  }
  SetTopIndex(FTopIndex - delta / WHEEL_DELTA * 3);
  M.Result = 1;
}

void TCustomListBox::WMGetDlgCode(TMessage& M) { M.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; }

void TCustomListBox::WMSetFocus(TMessage& M) {
  TCustomControl::WMSetFocus(M);
  Invalidate();
}

void TCustomListBox::WMKillFocus(TMessage& M) {
  TCustomControl::WMKillFocus(M);
  FTracking = false;
  Invalidate();
}

void TCustomListBox::KeyDown(uint16_t& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  if (Key == 0 || Count() == 0) return;
  const int caret = FMultiSelect ? GetItemIndex() : FItemIndex;
  const int page = std::max(VisibleCount() - 1, 1);
  int target;
  switch (Key) {
    case VK_UP: target = caret < 0 ? 0 : caret - 1; break;
    case VK_DOWN: target = caret + 1; break;
    case VK_PRIOR: target = caret - page; break;
    case VK_NEXT: target = caret + page; break;
    case VK_HOME: target = 0; break;
    case VK_END: target = Count() - 1; break;
    case VK_SPACE:
      if (FMultiSelect && (!FExtendedSelect || Shift.Contains(ssCtrl)) && caret >= 0) {
        FItems[static_cast<size_t>(caret)].Selected = !FItems[static_cast<size_t>(caret)].Selected;
        FAnchor = caret;
        Invalidate();
        Key = 0;
        Click();
      }
      return;
    default: return;
  }
  target = std::clamp(target, 0, Count() - 1);
  Key = 0;
  // Without Shift or Ctrl an extended list selects the item moved to; a
  // plain multi-select list only moves its focus.
  const bool changed = MoveTo(target, Shift, false);
  if (changed || !FMultiSelect) Click();
}

void TCustomListBox::KeyPress(char& Key) {
  TCustomControl::KeyPress(Key);
  if (Key == 0 || static_cast<unsigned char>(Key) <= ' ' || Count() == 0) return;
  // A character moves to the next item that starts with it.
  const int from = std::max(GetItemIndex(), -1);
  for (int k = 1; k <= Count(); ++k) {
    const int i = (from + k) % Count();
    if (StartsWithChar(FItems[static_cast<size_t>(i)].Text, Key)) {
      MoveTo(i, {}, false);
      Click();
      break;
    }
  }
}

void TCustomListBox::BoundsChanged(bool sizeChanged) {
  TCustomControl::BoundsChanged(sizeChanged);
  if (sizeChanged) ItemsChanged();
}

void TCustomListBox::FontChanged() {
  TCustomControl::FontChanged();
  ItemsChanged();
}

void TCustomListBox::CMEnabledChanged(TMessage& M) {
  TCustomControl::CMEnabledChanged(M);
  Invalidate();
}

ZV_CLASS_IMPL_NOPROPS(TListBox, TCustomListBox)

// ---------------------------------------------------------------------------
// TCheckListBox

ZV_CLASS_IMPL(TCheckListBox, TCustomListBox)

void TCheckListBox::DeclareProperties(TClassInfo& c) {
  c.Boolean<TCheckListBox>("AllowGrayed", &TCheckListBox::AllowGrayed, &TCheckListBox::SetAllowGrayed, false);
}

TCheckListBox::TCheckListBox(TComponent* AOwner) : TCustomListBox(AOwner) {}

int TCheckListBox::CheckWidth() { return 15; }

TCheckBoxState TCheckListBox::State(int Index) const {
  if (Index < 0 || Index >= Count()) IndexError(Index);
  return FItems[static_cast<size_t>(Index)].State;
}

void TCheckListBox::SetState(int Index, TCheckBoxState v) {
  if (Index < 0 || Index >= Count()) IndexError(Index);
  if (FItems[static_cast<size_t>(Index)].State == v) return;
  FItems[static_cast<size_t>(Index)].State = v;
  Invalidate();
}

bool TCheckListBox::ItemEnabled(int Index) const {
  if (Index < 0 || Index >= Count()) IndexError(Index);
  return FItems[static_cast<size_t>(Index)].Enabled;
}

void TCheckListBox::SetItemEnabled(int Index, bool v) {
  if (Index < 0 || Index >= Count()) IndexError(Index);
  if (FItems[static_cast<size_t>(Index)].Enabled == v) return;
  FItems[static_cast<size_t>(Index)].Enabled = v;
  Invalidate();
}

void TCheckListBox::ClickCheck() {
  if (OnClickCheck) OnClickCheck(this);
}

void TCheckListBox::ToggleClickCheck(int Index) {
  if (Index < 0 || Index >= Count() || !FItems[static_cast<size_t>(Index)].Enabled) return;
  TCheckBoxState s = FItems[static_cast<size_t>(Index)].State;
  switch (s) {
    case cbUnchecked: s = FAllowGrayed ? cbGrayed : cbChecked; break;
    case cbChecked: s = cbUnchecked; break;
    case cbGrayed: s = cbChecked; break;
  }
  SetState(Index, s);
  ClickCheck();
}

TRect TCheckListBox::DrawRect(TRect ItemRect) const {
  ItemRect.Left += CheckWidth();
  return ItemRect;
}

void TCheckListBox::DrawItemExtras(int Index, TRect ItemRect) {
  TCanvas* c = Canvas();
  const TItem& item = FItems[static_cast<size_t>(Index)];
  c->FillRect(Rect(ItemRect.Left, ItemRect.Top, ItemRect.Left + CheckWidth(), ItemRect.Bottom));
  const int size = std::min(13, ItemRect.Height());
  TRect box = Rect(ItemRect.Left + 1, ItemRect.Top + (ItemRect.Height() - size) / 2, ItemRect.Left + 1 + size,
                   ItemRect.Top + (ItemRect.Height() - size) / 2 + size);
  unsigned state = DFCS_BUTTONCHECK;
  if (item.State == cbChecked) state |= DFCS_CHECKED;
  if (item.State == cbGrayed) state |= DFCS_BUTTON3STATE | DFCS_CHECKED;
  if (!item.Enabled || !FEnabled) state |= DFCS_INACTIVE;
  DrawFrameControl(c, box, DFC_BUTTON, state);
}

void TCheckListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomListBox::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || Shift.Contains(ssDouble)) return;
  const int i = ItemAtPos(Point(X, Y), true);
  if (i >= 0 && X - ItemRect(i).Left < CheckWidth()) ToggleClickCheck(i);
}

void TCheckListBox::KeyPress(char& Key) {
  if (Key == ' ') {
    ToggleClickCheck(GetItemIndex());
    Key = 0;
  }
  TCustomListBox::KeyPress(Key);
}
