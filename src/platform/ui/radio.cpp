#include "platform/ui/radio.h"

#include <QRadioButton>

#include <algorithm>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/framectl.h"
#include "platform/ui/qt_ui.h"

namespace {

QRadioButton* WidgetOf(const TWinControl* c) {
  return c->Impl() ? qobject_cast<QRadioButton*>(c->Impl()->Widget.data()) : nullptr;
}

int FontHeight(const TFont* font) {
  static TBitmap* probe = new TBitmap(1, 1);
  TCanvas* c = probe->Canvas();
  c->SetFont(font);
  return c->TextHeight("0");
}

// The radio buttons that share a parent with Button, in z-order.
std::vector<TRadioButton*> Siblings(TRadioButton* Button) {
  std::vector<TRadioButton*> v;
  if (TWinControl* p = Button->Parent())
    for (int i = 0; i < p->ControlCount(); ++i)
      if (auto* r = dynamic_cast<TRadioButton*>(p->Controls(i))) v.push_back(r);
  return v;
}

}  // namespace

// ---------------------------------------------------------------------------
// TRadioButton

ZV_CLASS_IMPL(TRadioButton, TWinControl)

void TRadioButton::DeclareProperties(TClassInfo& c) {
  c.Enum<TRadioButton>("Alignment", AlignmentEnumInfo(), &TRadioButton::Alignment, &TRadioButton::SetAlignment,
                       taRightJustify);
  c.Boolean<TRadioButton>("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked, false);
}

TRadioButton::TRadioButton(TComponent* AOwner) : TWinControl(AOwner) {
  FControlStyle = {csSetCaption, csDoubleClicks};
  FWidth = 113;
  FHeight = 17;
}

struct TRadioAccess {
  // The user clicked the button: it stays checked (a radio button is not
  // unchecked by clicking it), and becomes checked when it was not.
  static void Clicked(TRadioButton* b) {
    if (b->FChecked) {
      if (auto* w = WidgetOf(b)) {
        const QSignalBlocker block(w);
        w->setChecked(true);
      }
      return;
    }
    b->SetChecked(true);
  }
};

void TRadioButton::CreateWnd() {
  auto* b = new QRadioButton(ToQString(FText));
  // The group is kept here (by parent), not by the widget.
  b->setAutoExclusive(false);
  b->setChecked(FChecked);
  b->setLayoutDirection(FAlignment == taLeftJustify ? Qt::RightToLeft : Qt::LeftToRight);
  b->setFocusPolicy(Qt::StrongFocus);
  AttachWidget(this, b);
  std::shared_ptr<bool> alive = Impl()->Alive;
  QObject::connect(b, &QRadioButton::clicked, [this, alive] {
    if (*alive) GuardEvent(this, [this] { TRadioAccess::Clicked(this); });
  });
}

void TRadioButton::SetChecked(bool v) {
  if (FChecked == v) return;
  FChecked = v;
  FTabStop = v;
  if (auto* w = WidgetOf(this)) {
    const QSignalBlocker block(w);
    w->setChecked(v);
  }
  if (!v) return;
  for (TRadioButton* r : Siblings(this))
    if (r != this) r->SetChecked(false);
  if (!FComponentState.Contains(csLoading)) Click();
}

void TRadioButton::SetAlignment(TAlignment v) {
  FAlignment = v;
  if (auto* w = WidgetOf(this)) w->setLayoutDirection(v == taLeftJustify ? Qt::RightToLeft : Qt::LeftToRight);
}

void TRadioButton::CMTextChanged(TMessage& M) {
  if (auto* w = WidgetOf(this)) w->setText(ToQString(FText));
  TWinControl::CMTextChanged(M);
}

void TRadioButton::WMGetDlgCode(TMessage& M) { M.Result = DLGC_RADIOBUTTON | DLGC_WANTARROWS; }

void TRadioButton::KeyDown(uint16_t& Key, TShiftState Shift) {
  TWinControl::KeyDown(Key, Shift);
  if (Key != VK_UP && Key != VK_DOWN && Key != VK_LEFT && Key != VK_RIGHT) return;
  // The arrows move through the group, checking the button they reach.
  std::vector<TRadioButton*> group;
  for (TRadioButton* r : Siblings(this))
    if (r == this || (r->Visible() && r->Enabled())) group.push_back(r);
  const auto n = static_cast<int>(group.size());
  const int at = static_cast<int>(std::find(group.begin(), group.end(), this) - group.begin());
  const int step = Key == VK_UP || Key == VK_LEFT ? -1 : 1;
  Key = 0;
  if (n < 2) return;
  TRadioButton* next = group[static_cast<size_t>((at + step + n) % n)];
  if (next->CanFocus()) next->SetFocus();
  next->SetChecked(true);
}

// ---------------------------------------------------------------------------
// TCustomGroupBox

ZV_CLASS_IMPL_NOPROPS(TCustomGroupBox, TCustomControl)

TCustomGroupBox::TCustomGroupBox(TComponent* AOwner) : TCustomControl(AOwner) {
  FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks, csOpaque,
                   csReplicatable};
  FWidth = 185;
  FHeight = 105;
}

int TCustomGroupBox::CaptionHeight() const { return FontHeight(FFont.get()); }

TRect TCustomGroupBox::ClientRect() const {
  TRect r = Rect(0, CaptionHeight(), FWidth, FHeight);
  InflateRect(r, -2, -2);
  r.Right = std::max(r.Right, r.Left);
  r.Bottom = std::max(r.Bottom, r.Top);
  return r;
}

void TCustomGroupBox::Paint() {
  TCanvas* c = Canvas();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(FColor);
  c->FillRect(Rect(0, 0, FWidth, FHeight));
  const int h = CaptionHeight();
  TRect frame = Rect(0, h / 2, FWidth, FHeight);
  DrawEdge(c, frame, EDGE_ETCHED, BF_RECT);
  if (FText.empty()) return;
  c->SetFont(FFont.get());
  if (!FEnabled) c->Font()->SetColor(clGrayText);
  TRect t = Rect(0, 0, 0, 0);
  c->DrawText(FText, t, DT_SINGLELINE | DT_CALCRECT);
  // The caption interrupts the frame's top edge.
  t = Rect(8, 0, 8 + t.Width(), h);
  c->Brush()->SetStyle(bsSolid);
  c->FillRect(t);
  c->Brush()->SetStyle(bsClear);
  c->DrawText(FText, t, DT_SINGLELINE | DT_LEFT);
  c->Font()->SetColor(FFont->Color());
}

void TCustomGroupBox::CMTextChanged(TMessage& M) {
  TCustomControl::CMTextChanged(M);
  Invalidate();
}

void TCustomGroupBox::FontChanged() {
  TCustomControl::FontChanged();
  Realign();
}

ZV_CLASS_IMPL_NOPROPS(TGroupBox, TCustomGroupBox)

// ---------------------------------------------------------------------------
// TRadioGroup

// A radio button of a radio group: its click is the group's.
class TGroupButton : public TRadioButton {
public:
  TGroupButton(TRadioGroup* Group) : TRadioButton(Group), FGroup(Group) {
    SetParent(Group);
  }
  void Click() override {
    TRadioButton::Click();
    FGroup->ButtonClicked(this);
  }

private:
  TRadioGroup* FGroup;
};

void TRadioGroupStrings::Changed() {
  TStringList::Changed();
  FGroup->ItemsChanged();
}

ZV_CLASS_IMPL(TRadioGroup, TCustomGroupBox)

void TRadioGroup::DeclareProperties(TClassInfo& c) {
  c.Integer<TRadioGroup>("Columns", &TRadioGroup::Columns, &TRadioGroup::SetColumns, 1);
  c.Object<TRadioGroup, TStrings>("Items", &TRadioGroup::Items, &TRadioGroup::SetItems);
  c.Integer<TRadioGroup>("ItemIndex", &TRadioGroup::ItemIndex, &TRadioGroup::SetItemIndex, -1);
}

TRadioGroup::TRadioGroup(TComponent* AOwner)
    : TCustomGroupBox(AOwner), FItems(std::make_unique<TRadioGroupStrings>(this)) {
  FTabStop = true;
}

TRadioGroup::~TRadioGroup() {
  Destroying();
  FItems.reset();  // no more rebuilding
  FButtons.clear();
}

TRadioButton* TRadioGroup::Buttons(int Index) const {
  if (Index < 0 || Index >= static_cast<int>(FButtons.size())) return nullptr;
  return FButtons[static_cast<size_t>(Index)];
}

void TRadioGroup::ItemsChanged() {
  if (!FItems || FComponentState.Contains(csDestroying)) return;
  const int n = FItems->Count();
  if (FItemIndex >= n) FItemIndex = n - 1;
  FUpdating = true;
  while (static_cast<int>(FButtons.size()) > n) {
    TRadioButton* b = FButtons.back();
    FButtons.pop_back();
    delete b;
  }
  while (static_cast<int>(FButtons.size()) < n) {
    auto* b = new TGroupButton(this);
    b->SetEnabled(FEnabled);
    FButtons.push_back(b);
  }
  for (int i = 0; i < n; ++i) {
    TRadioButton* b = FButtons[static_cast<size_t>(i)];
    b->SetCaption(FItems->Get(i));
    b->SetChecked(i == FItemIndex);
  }
  FUpdating = false;
  ArrangeButtons();
  Invalidate();
}

void TRadioGroup::ArrangeButtons() {
  const int n = static_cast<int>(FButtons.size());
  if (n == 0) return;
  const int perColumn = std::max(1, (n + FColumns - 1) / FColumns);
  const int textH = CaptionHeight();
  const int width = (FWidth - 10) / FColumns;
  const int free = std::max(0, FHeight - textH - 5);
  const int height = free / perColumn;
  const int top = textH + 1 + (free % perColumn) / 2;
  for (int i = 0; i < n; ++i)
    FButtons[static_cast<size_t>(i)]->SetBounds((i / perColumn) * width + 8, (i % perColumn) * height + top, width,
                                                height);
}

void TRadioGroup::SetItemIndex(int v) {
  if (FComponentState.Contains(csLoading)) {
    FItemIndex = v;
    return;
  }
  if (v < -1 || v >= FItems->Count()) v = -1;
  if (v == FItemIndex) return;
  if (FItemIndex >= 0) FButtons[static_cast<size_t>(FItemIndex)]->SetChecked(false);
  FItemIndex = v;
  // Checking the button clicks it, and the click is the group's.
  if (v >= 0) FButtons[static_cast<size_t>(v)]->SetChecked(true);
}

void TRadioGroup::ButtonClicked(TRadioButton* Button) {
  if (FUpdating) return;
  const auto it = std::find(FButtons.begin(), FButtons.end(), Button);
  if (it == FButtons.end()) return;
  FItemIndex = static_cast<int>(it - FButtons.begin());
  Click();
}

void TRadioGroup::SetColumns(int v) {
  v = std::clamp(v, 1, 16);
  if (v == FColumns) return;
  FColumns = v;
  ArrangeButtons();
  Invalidate();
}

void TRadioGroup::SetEnabled(bool v) {
  TCustomGroupBox::SetEnabled(v);
  for (TRadioButton* b : FButtons) b->SetEnabled(v);
}

void TRadioGroup::BoundsChanged(bool sizeChanged) {
  TCustomGroupBox::BoundsChanged(sizeChanged);
  if (sizeChanged) ArrangeButtons();
}

void TRadioGroup::FontChanged() {
  TCustomGroupBox::FontChanged();
  ArrangeButtons();
}

void TRadioGroup::Loaded() {
  TCustomGroupBox::Loaded();
  const int v = FItemIndex;
  FItemIndex = -1;
  FUpdating = true;
  if (v >= 0 && v < FItems->Count()) {
    FItemIndex = v;
    FButtons[static_cast<size_t>(v)]->SetChecked(true);
  }
  FUpdating = false;
  ArrangeButtons();
}

void TRadioGroup::GetChildren(const TGetChildProc&, TComponent*) {
  // The buttons are made from Items; they are not streamed.
}
