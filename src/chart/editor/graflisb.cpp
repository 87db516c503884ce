#include "chart/editor/graflisb.h"

#include <algorithm>
#include <vector>

#include "chart/core/grafeditctrls.h"
#include "chart/core/grafutils.h"
#include "chart/editor/grafgally.h"
#include "chart/editor/grafpendlg.h"
#include "platform/dialogs.h"
#include "platform/ui/forms.h"
#include "platform/ui/messages.h"

namespace {
bool IsGoing(const TComponent* C) { return C->ComponentState().Contains(csDestroying); }
}  // namespace

bool UsesSeriesColor(TChartSeries* Series) { return Series && Series->SingleColor; }

ZV_CLASS_IMPL_NOPROPS(TChartListBox, TCustomListBox)

TChartListBox::TChartListBox(TComponent* AOwner) : TCustomListBox(AOwner) {
  SetStyle(lbOwnerDrawFixed);
  SetItemHeight(24);
  SetSorted(false);
  SetMultiSelect(true);
  OnDragOver = [this](TObject*, TObject* Source, int, int, TDragState, bool& Accept) {
    Accept = Source == this && EnableDragSeries;
  };
  OnClick = [this](TObject*) {
    if (OnRefresh) OnRefresh(this);
  };
}

TChartListBox::~TChartListBox() {
  if (FEditor) {
    delete FEditor;
    FEditor = nullptr;
  }
  SetChart(nullptr);
}

// ---- Sections ----------------------------------------------------------------------

bool TChartListBox::ShowsSection(TSection Section) const {
  switch (Section) {
    case lsIcon: return FShowIcon;
    case lsCheck: return FShowCheck;
    case lsColor: return FShowColor;
    case lsTitle: return FShowTitle;
  }
  return false;
}

int TChartListBox::SectionLeft(TSection Section) const {
  int left = 0;
  for (int s = lsIcon; s < Section; ++s)
    if (ShowsSection(static_cast<TSection>(s))) left += SectionWidths[s];
  return left;
}

bool TChartListBox::PointInSection(TSection Section, int X) const {
  if (!ShowsSection(Section)) return false;
  const int left = SectionLeft(Section);
  return X > left && X < left + SectionWidths[Section];
}

// ---- Binding and filling -----------------------------------------------------------

void TChartListBox::SetChart(TCustomChart* Value) {
  if (FChart == Value) return;
  if (FChart && !IsGoing(FChart)) {
    FChart->RemoveListener(this);
    FChart->RemoveFreeNotification(this);
  }
  FChart = Value;
  FSeriesGroup = nullptr;
  if (!FChart) {
    ClearItems();
    return;
  }
  FChart->FreeNotification(this);
  FChart->Listeners()->AddListener(this);
  FillSeries(nullptr);
}

void TChartListBox::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomListBox::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FChart) {
    FChart = nullptr;
    FSeriesGroup = nullptr;
    ClearItems();
  }
}

void TChartListBox::ClearItems() {
  if (IsGoing(this)) return;
  Items()->Clear();
  if (OtherItems) OtherItems->Clear();
}

void TChartListBox::FillSeries(TCustomChartSeries* OldSeries) {
  ClearItems();
  if (FChart) {
    TCustomSeriesList* list = FSeriesGroup ? FSeriesGroup->Series() : FChart->SeriesList();
    FillSeriesNameList(Items(), list, !FShowNames);
  }
  if (OtherItems) OtherItems->Assign(*Items());
  const int i = OldSeries ? Items()->IndexOfObject(OldSeries) : -1;
  if (i >= 0) SelectSeries(OldSeries);
  else if (Count() > 0) SelectIndex(0);
  if (OnOtherItemsChange) OnOtherItemsChange(this);
  if (OnRefresh) OnRefresh(this);
}

void TChartListBox::RefreshList() { FillSeries(SelectedSeries()); }

void TChartListBox::SetSeriesGroup(TSeriesGroup* Value) {
  FSeriesGroup = Value;
  FillSeries(SelectedSeries());
}

void TChartListBox::SetShowSeriesNames(bool Value) {
  FShowNames = Value;
  FillSeries(SelectedSeries());
}

void TChartListBox::SetParent(TWinControl* AParent) {
  TCustomListBox::SetParent(AParent);
  if (AParent && Count() == 0) SetItemIndex(-1);
}

// ---- Selection ---------------------------------------------------------------------

TChartSeries* TChartListBox::SeriesAtIndex(int Index) const {
  if (Index < 0 || Index >= Count()) return nullptr;
  return dynamic_cast<TChartSeries*>(FItems[static_cast<size_t>(Index)].Object);
}

TChartSeries* TChartListBox::SelectedSeries() const { return SeriesAtIndex(ItemIndex()); }

void TChartListBox::SelectSeries(TCustomChartSeries* Series) {
  const int i = Items()->IndexOfObject(Series);
  if (i < 0) return;
  SetItemIndex(i);
  if (MultiSelect()) SetSelected(i, true);
}

void TChartListBox::SelectIndex(int Index) {
  if (MultiSelect()) {
    SetSelected(Index, true);
    SetItemIndex(Index);
  } else {
    SetItemIndex(Index);
  }
}

bool TChartListBox::HasSelection() {
  if (!MultiSelect()) return ItemIndex() != -1;
  if (SelCount() > 0) return true;
  if (ItemIndex() != -1) {
    SetSelected(ItemIndex(), true);
    return true;
  }
  return false;
}

void TChartListBox::SelectAll() {
  if (!MultiSelect()) return;
  TCustomListBox::SelectAll();
  ChartChanged();
}

void TChartListBox::ChartChanged() {
  if (FChart && FChart->DesignerLink) FChart->DesignerLink->Modified();
}

// ---- Operations on series ----------------------------------------------------------

void TChartListBox::ExchangeItems(int A, int B) {
  if (A == B || A < 0 || B < 0 || A >= Count() || B >= Count()) return;
  TChartSeries* a = SeriesAtIndex(A);
  TChartSeries* b = SeriesAtIndex(B);
  Items()->Exchange(A, B);
  if (OtherItems && A < OtherItems->Count() && B < OtherItems->Count()) OtherItems->Exchange(A, B);
  if (FChart && a && b) {
    FChart->ExchangeSeries(a, b);
    if (OnChangeOrder) OnChangeOrder(this, a, b);
  }
  if (TCustomForm* form = ::GetParentForm(this); form && form->Visible() && CanFocus()) SetFocus();
  if (MultiSelect()) ClearSelection();
  SelectIndex(B);
  if (OnRefresh) OnRefresh(this);
  ChartChanged();
}

void TChartListBox::MoveUp() {
  if (ItemIndex() > 0) ExchangeItems(ItemIndex(), ItemIndex() - 1);
}

void TChartListBox::MoveDown() {
  if (ItemIndex() >= 0 && ItemIndex() < Count() - 1) ExchangeItems(ItemIndex(), ItemIndex() + 1);
}

bool TChartListBox::DeleteSeries() {
  if (!HasSelection()) return false;
  TChartSeries* current = SelectedSeries();
  if (AskDelete) {
    const std::string name = (MultiSelect() && SelCount() > 1) ? std::string("(Selected Series)")
                             : current                         ? SeriesDisplayName(current)
                                                               : std::string();
    if (!AskDeleteConfirmation(name, this)) return false;
  }
  std::vector<TChartSeries*> doomed;
  if (MultiSelect()) {
    for (int i = 0; i < Count(); ++i)
      if (Selected(i))
        if (TChartSeries* s = SeriesAtIndex(i)) doomed.push_back(s);
  } else if (current) {
    doomed.push_back(current);
  }
  // Each series leaves the list through the chart's removal event.
  for (TChartSeries* s : doomed) delete s;
  if (Count() > 0) {
    if (MultiSelect()) ClearSelection();
    SelectIndex(0);
  }
  if (OnRefresh) OnRefresh(this);
  ChartChanged();
  return true;
}

void TChartListBox::CloneSeries() {
  TChartSeries* s = SelectedSeries();
  if (!s) return;
  ::CloneSeries(s);
  ChartChanged();
}

TChartSeries* TChartListBox::AddSeries() {
  if (!NewSeriesGalleryHook || !FChart) return nullptr;
  TChartSeries* s = NewSeriesGalleryHook(Owner(), FChart, SelectedSeries());
  if (!s) return nullptr;
  if (Items()->IndexOfObject(s) < 0) RefreshList();
  if (MultiSelect()) ClearSelection();
  SelectSeries(s);
  if (OnRefresh) OnRefresh(this);
  ChartChanged();
  return s;
}

void TChartListBox::ChangeTypeSelected(TComponent* Owner) {
  if (!HasSelection() || !FChart || !ChangeSeriesTypeGalleryHook) return;
  std::vector<TChartSeries*> chosen;
  if (MultiSelect()) {
    for (int i = 0; i < Count(); ++i)
      if (Selected(i))
        if (TChartSeries* s = SeriesAtIndex(i)) chosen.push_back(s);
  } else if (TChartSeries* s = SelectedSeries()) {
    chosen.push_back(s);
  }
  if (chosen.empty()) return;
  TClass newClass = ChangeSeriesTypeGalleryHook(Owner, chosen[0]);
  if (newClass)
    for (size_t i = 1; i < chosen.size(); ++i) ChangeSeriesClass(chosen[i], newClass);
  RefreshList();
  if (MultiSelect()) ClearSelection();
  for (TChartSeries* s : chosen) {
    const int i = Items()->IndexOfObject(s);
    if (i >= 0) SelectIndex(i);
  }
  if (OnRefresh) OnRefresh(this);
  ChartChanged();
}

bool TChartListBox::RenameSeries() {
  const int index = ItemIndex();
  TChartSeries* s = SelectedSeries();
  if (!s) return false;
  const std::string shown = FShowNames ? s->Name() : SeriesDisplayName(s);
  std::string text = shown;
  bool changed = false;
  if (InputQuery("Change Series Title", "New Series Title:", text) && !text.empty()) {
    if (FShowNames) {
      s->SetName(text);
      Items()->Put(index, text);
      Repaint();
    } else if (text == s->Name()) {
      s->SetTitle("");
    } else {
      s->SetTitle(text);
    }
    changed = (FShowNames ? s->Name() : SeriesDisplayName(s)) != shown;
  }
  if (index >= 0 && index < Count()) SelectIndex(index);
  return changed;
}

// ---- The in-place title editor -----------------------------------------------------

void TChartListBox::EditTitleInPlace() {
  if (!FShowTitle) return;
  TChartSeries* s = SelectedSeries();
  if (!s) return;
  if (!FEditor) {
    FEditor = new TEdit(this);
    FEditor->SetVisible(false);
    FEditor->SetParent(this);
    FEditor->OnKeyDown = [this](TObject*, uint16_t& Key, TShiftState) { EditorKeyDown(Key); };
    FEditor->OnKeyPress = [](TObject*, char& Key) {
      if (Key == '\r' || Key == 27) Key = 0;
    };
  }
  const TRect r = ItemRect(ItemIndex());
  FEditor->SetBounds(SectionLeft(lsTitle) - 2, r.Top, 216, r.Bottom - r.Top + 1);
  FEditor->SetText(SeriesDisplayName(s));
  FEditor->SetVisible(true);
  if (FEditor->CanFocus()) FEditor->SetFocus();
}

void TChartListBox::EditorKeyDown(uint16_t& Key) {
  switch (Key) {
    case VK_RETURN:
    case VK_UP:
    case VK_DOWN:
    case VK_F2: CloseTitleEditor(true); break;
    case VK_ESCAPE: CloseTitleEditor(false); break;
    default: break;
  }
}

void TChartListBox::CloseTitleEditor(bool Apply) {
  if (!FEditor || !FEditor->Visible()) return;
  if (Apply)
    if (TChartSeries* s = SelectedSeries()) s->SetTitle(FEditor->Text());
  FEditor->SetVisible(false);
  if (CanFocus()) SetFocus();
  Invalidate();
}

// ---- Drawing -----------------------------------------------------------------------

void TChartListBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
  DrawListItem(Index, Rect, State);
}

void TChartListBox::DrawListItem(int Index, const TRect& Rect, TOwnerDrawState State) {
  TCanvas* canvas = Canvas();
  TChartSeries* s = SeriesAtIndex(Index);
  const bool focused = Focused();
  const bool current = Index == ItemIndex();
  const bool highlighted = State.Contains(odSelected) || (!focused && current);
  TColor back = Color();
  if (highlighted) back = focused ? clHighlight : (current ? clInactiveCaption : clHighlight);
  else if (State.Contains(odFocused)) back = clInactiveCaption;
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(back);
  canvas->FillRect(Rect);
  const int titleLeft = SectionLeft(lsTitle);
  canvas->Brush()->SetColor(Color());
  canvas->FillRect(TRect{Rect.Left, Rect.Top, std::max(Rect.Left, titleLeft - 2), Rect.Bottom});
  if (!s) return;
  if (FShowIcon) DrawClassBitmap(canvas, s, SectionLeft(lsIcon), Rect.Top);
  if (FShowColor && UsesSeriesColor(s)) {
    const int left = SectionLeft(lsColor) - 2;
    TRect r{left, Rect.Top, left + 26, Rect.Bottom};
    InflateRect(r, -4, -4);
    DrawSeriesSymbolOn(s, canvas, r, FChart);
  }
  if (FShowCheck)
    DrawCheckBoxAt(SectionLeft(lsCheck) + 2, Rect.Top + ((Rect.Bottom - Rect.Top) - 13) / 2, canvas, s->Active(),
                   Color(), FCheckStyle == cbsCheck);
  if (FShowTitle) {
    canvas->Brush()->SetStyle(bsClear);
    canvas->Font()->Assign(Font());
    canvas->Font()->SetColor(highlighted ? clHighlightText : Font()->Color());
    const int h = canvas->TextHeight("W");
    canvas->TextOut(titleLeft + 1, Rect.Top + ((Rect.Bottom - Rect.Top) - h) / 2, Items()->Strings(Index));
  }
}

// ---- Check style and sections ------------------------------------------------------

void TChartListBox::SetCheckStyle(TCheckBoxesStyle Value) {
  if (FCheckStyle == Value) return;
  FCheckStyle = Value;
  if (FCheckStyle == cbsRadio) {
    bool first = true;
    for (int i = 0; i < Count(); ++i) {
      TChartSeries* s = SeriesAtIndex(i);
      if (!s || !s->Active()) continue;
      if (first) first = false;
      else s->SetActive(false);
    }
  }
  Invalidate();
}

void TChartListBox::SetShowSeriesIcon(bool Value) {
  FShowIcon = Value;
  Invalidate();
}
void TChartListBox::SetShowActiveCheck(bool Value) {
  FShowCheck = Value;
  Invalidate();
}
void TChartListBox::SetShowSeriesColor(bool Value) {
  FShowColor = Value;
  Invalidate();
}
void TChartListBox::SetShowSeriesTitle(bool Value) {
  FShowTitle = Value;
  Invalidate();
}

// ---- Mouse, keys and drag and drop --------------------------------------------------

void TChartListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  FMousePos = Point(X, Y);
  TCustomListBox::MouseDown(Button, Shift, X, Y);
  CloseTitleEditor(true);
  if (ItemIndex() == -1) return;
  const int index = ItemAtPos(Point(X, Y), true);
  TChartSeries* s = SeriesAtIndex(index);
  if (s && Button == mbLeft && PointInSection(lsCheck, X)) {
    if (FCheckStyle == cbsRadio) {
      for (int i = 0; i < Count(); ++i)
        if (TChartSeries* other = SeriesAtIndex(i); other && other != s) other->SetActive(false);
      s->SetActive(true);
    } else {
      s->SetActive(!s->Active());
    }
    if (!s->ParentChart()) Invalidate();
    if (OnChangeActive) OnChangeActive(this, s);
  } else if (s && EnableDragSeries && PointInSection(lsTitle, X) && Button == mbLeft && !Shift.Contains(ssShift) &&
             !Shift.Contains(ssCtrl) && !FDblClicked) {
    BeginDrag(false);
  }
  FDblClicked = false;
  if (OnOtherItemsChange) OnOtherItemsChange(this);
}

void TChartListBox::DblClick() {
  FDblClicked = true;
  const int index = ItemAtPos(FMousePos, true);
  if (index < 0 || !Selected(index)) {
    TCustomListBox::DblClick();
    return;
  }
  TChartSeries* s = SeriesAtIndex(index);
  if (!s) return;
  if (EnableChangeType && PointInSection(lsIcon, FMousePos.X)) {
    ChangeTypeSelected(Owner());
  } else if (EnableChangeColor && PointInSection(lsColor, FMousePos.X)) {
    if (UsesSeriesColor(s)) {
      TColor c = s->SeriesColor();
      const TColor old = c;
      if (EditColorValue(this, c) && c != old) {
        s->SetSeriesColor(c);
        s->SetColorEachPoint(false);
        if (OnChangeColor) OnChangeColor(this, s);
      }
    }
  } else if (PointInSection(lsTitle, FMousePos.X)) {
    if (OnDblClickSeries) OnDblClickSeries(this, index);
  }
  TCustomListBox::DblClick();
}

void TChartListBox::DragDrop(TObject* Source, int X, int Y) {
  TCustomListBox::DragDrop(Source, X, Y);
  if (Source != this) return;
  const int target = ItemAtPos(Point(X, Y), true);
  if (target >= 0 && target != ItemIndex()) ExchangeItems(ItemIndex(), target);
}

void TChartListBox::KeyUp(uint16_t& Key, TShiftState Shift) {
  TCustomListBox::KeyUp(Key, Shift);
  switch (Key) {
    case VK_INSERT:
      if (AllowAddSeries) AddSeries();
      break;
    case VK_DELETE:
      if (AllowDeleteSeries) DeleteSeries();
      break;
    case VK_F2:
      if (SelectedSeries()) EditTitleInPlace();
      break;
    default: break;
  }
}

void TChartListBox::WMNCHitTest(TMessage& M) {
  TCustomListBox::WMNCHitTest(M);
  const TPoint screen = Point(static_cast<int16_t>(M.LParamLo()), static_cast<int16_t>(M.LParamHi()));
  FMousePos = ScreenToClient(screen);
}

void TChartListBox::WMSetCursor(TMessage& M) {
  if (!ComponentState().Contains(csDesigning) && ItemAtPos(FMousePos, true) >= 0 &&
      ((EnableChangeType && PointInSection(lsIcon, FMousePos.X)) ||
       (EnableChangeColor && PointInSection(lsColor, FMousePos.X)))) {
    ::SetCursor(CursorHandle(crHandPoint));
    M.Result = 1;
    return;
  }
  TCustomListBox::WMSetCursor(M);
}

// ---- Chart events ------------------------------------------------------------------

void TChartListBox::HandlePanelEvent(TGrafEvent* Event) {
  if (IsGoing(this)) return;
  if (dynamic_cast<TGrafView3DEvent*>(Event)) {
    Invalidate();
    return;
  }
  auto* e = dynamic_cast<TGrafSeriesEvent*>(Event);
  if (!e) return;
  switch (e->Event) {
    case seAdd:
    case seSwap: RefreshList(); break;
    case seRemove: {
      const int i = Items()->IndexOfObject(e->Series);
      if (i >= 0) {
        Items()->Delete(i);
        if (OtherItems && i < OtherItems->Count()) OtherItems->Delete(i);
        if (OnRemovedSeries) OnRemovedSeries(this, e->Series);
      }
      break;
    }
    case seChangeTitle: {
      const int i = Items()->IndexOfObject(e->Series);
      if (i >= 0 && e->Series) Items()->Put(i, FShowNames ? e->Series->Name() : SeriesDisplayName(e->Series));
      break;
    }
    case seChangeColor:
    case seChangeActive: Invalidate(); break;
    default: break;
  }
}

void RegisterSeriesListBoxClasses() { RegisterClasses({&TChartListBox::StaticClass()}); }
