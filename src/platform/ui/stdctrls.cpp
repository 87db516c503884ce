#include "platform/ui/stdctrls.h"

#include <QAbstractItemDelegate>
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QStyleOptionComboBox>
#include <QStylePainter>

#include "platform/rtl/codepages.h"
#include "platform/ui/forms.h"
#include "platform/ui/qt_ui.h"

namespace {
template <class W>
W* WidgetOf(const TWinControl* c) {
  return c->Impl() ? qobject_cast<W*>(c->Impl()->Widget.data()) : nullptr;
}
}  // namespace

// ---------------------------------------------------------------------------
// TButton

ZV_CLASS_IMPL(TButton, TWinControl)

void TButton::DeclareProperties(TClassInfo& c) {
  c.Integer<TButton>("ModalResult", &TButton::ModalResult, &TButton::SetModalResult, 0);
  c.Boolean<TButton>("Default", &TButton::Default, &TButton::SetDefault, false);
  c.Boolean<TButton>("Cancel", &TButton::Cancel, &TButton::SetCancel, false);
}

TButton::TButton(TComponent* AOwner) : TWinControl(AOwner) {
  FControlStyle = {csSetCaption, csDoubleClicks};
  FWidth = 75;
  FHeight = 25;
  FTabStop = true;
}

void TButton::CreateWnd() {
  auto* b = new QPushButton(ToQString(FText));
  b->setDefault(FDefault);
  b->setFocusPolicy(Qt::StrongFocus);
  AttachWidget(this, b);
  std::shared_ptr<bool> alive = Impl()->Alive;
  QObject::connect(b, &QPushButton::clicked, [this, alive] {
    if (*alive) GuardEvent(this, [this] { Click(); });
  });
}

void TButton::Click() {
  if (FModalResult != mrNone)
    if (TCustomForm* f = GetParentForm()) f->SetModalResult(FModalResult);
  TWinControl::Click();
}

void TButton::SetDefault(bool v) {
  FDefault = v;
  if (auto* b = WidgetOf<QPushButton>(this)) b->setDefault(v);
}

void TButton::WMGetDlgCode(TMessage& M) { M.Result = DLGC_BUTTON | (FDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON); }

void TButton::CMTextChanged(TMessage& M) {
  if (auto* b = WidgetOf<QPushButton>(this)) b->setText(ToQString(FText));
  TWinControl::CMTextChanged(M);
}

// ---------------------------------------------------------------------------
// TCheckBox

ZV_CLASS_IMPL(TCheckBox, TWinControl)

void TCheckBox::DeclareProperties(TClassInfo& c) {
  c.Boolean<TCheckBox>("AllowGrayed", &TCheckBox::AllowGrayed, &TCheckBox::SetAllowGrayed, false);
  c.Boolean<TCheckBox>("Checked", &TCheckBox::Checked, &TCheckBox::SetChecked, false);
}

TCheckBox::TCheckBox(TComponent* AOwner) : TWinControl(AOwner) {
  FControlStyle = {csSetCaption, csDoubleClicks};
  FWidth = 97;
  FHeight = 17;
  FTabStop = true;
}

struct TCheckBoxAccess {
  static void FromWidget(TCheckBox* c, int qtState) {
    const TCheckBoxState s = qtState == Qt::Checked ? cbChecked : qtState == Qt::PartiallyChecked ? cbGrayed : cbUnchecked;
    if (s == c->FState) return;
    c->FState = s;
    c->Click();
  }
};

void TCheckBox::CreateWnd() {
  auto* b = new QCheckBox(ToQString(FText));
  b->setTristate(FAllowGrayed);
  b->setCheckState(FState == cbChecked ? Qt::Checked : FState == cbGrayed ? Qt::PartiallyChecked : Qt::Unchecked);
  AttachWidget(this, b);
  std::shared_ptr<bool> alive = Impl()->Alive;
  QObject::connect(b, &QCheckBox::stateChanged, [this, alive](int s) {
    if (*alive) GuardEvent(this, [this, s] { TCheckBoxAccess::FromWidget(this, s); });
  });
}

void TCheckBox::SetState(TCheckBoxState v) {
  if (v == FState) return;
  FState = v;
  if (auto* b = WidgetOf<QCheckBox>(this)) {
    const QSignalBlocker block(b);
    b->setCheckState(v == cbChecked ? Qt::Checked : v == cbGrayed ? Qt::PartiallyChecked : Qt::Unchecked);
  }
  if (!FComponentState.Contains(csLoading)) Click();
}

void TCheckBox::SetAllowGrayed(bool v) {
  FAllowGrayed = v;
  if (auto* b = WidgetOf<QCheckBox>(this)) b->setTristate(v);
}

void TCheckBox::WMGetDlgCode(TMessage& M) { M.Result = DLGC_BUTTON; }

void TCheckBox::CMTextChanged(TMessage& M) {
  if (auto* b = WidgetOf<QCheckBox>(this)) b->setText(ToQString(FText));
  TWinControl::CMTextChanged(M);
}

// ---------------------------------------------------------------------------
// TEdit

ZV_CLASS_IMPL(TEdit, TWinControl)

void TEdit::DeclareProperties(TClassInfo& c) {
  c.String<TEdit>("Text", [](TEdit* o) { return o->Text(); }, &TEdit::SetText);
  c.Integer<TEdit>("MaxLength", &TEdit::MaxLength, &TEdit::SetMaxLength, 0);
  c.Boolean<TEdit>("ReadOnly", &TEdit::ReadOnly, &TEdit::SetReadOnly, false);
  c.Char<TEdit>("PasswordChar", &TEdit::PasswordChar, &TEdit::SetPasswordChar, 0);
  c.Method<TEdit, TNotifyEvent>("OnChange", [](TEdit* o) { return static_cast<bool>(o->OnChange); },
                                [](TEdit* o, TNotifyEvent e) { o->OnChange = std::move(e); });
}

TEdit::TEdit(TComponent* AOwner) : TWinControl(AOwner) {
  FControlStyle = {csClickEvents, csSetCaption, csDoubleClicks};
  FControlStyle.Exclude(csSetCaption);
  FWidth = 121;
  FHeight = 21;
  FColor = clWindow;
  FParentColor = false;
  FTabStop = true;
}

namespace {
std::string ApplyCharCase(std::string t, TEditCharCase c) {
  if (c == ecUpperCase) return FromQString(ToQString(t).toUpper());
  if (c == ecLowerCase) return FromQString(ToQString(t).toLower());
  return t;
}
}  // namespace

struct TEditAccess {
  static void FromWidget(TEdit* e, const QString& text) {
    if (e->FSyncing) return;
    const std::string typed = FromQString(text);
    const std::string t = ApplyCharCase(typed, e->FCharCase);
    if (t != typed) {
      // Typed in the other case: the box shows the converted text.
      if (auto* w = WidgetOf<QLineEdit>(e)) {
        int pos = w->cursorPosition();
        e->FSyncing = true;
        w->setText(ToQString(t));
        w->setCursorPosition(pos);
        e->FSyncing = false;
      }
    }
    if (t == e->FText) return;
    e->FText = t;
    e->FModified = true;
    e->Change();
  }
};

void TEdit::CreateWnd() {
  auto* w = new QLineEdit(ToQString(FText));
  if (FMaxLength > 0) w->setMaxLength(FMaxLength);
  w->setReadOnly(FReadOnly);
  if (FPasswordChar) w->setEchoMode(QLineEdit::Password);
  w->setFrame(FBorderStyle != bsNone);
  AttachWidget(this, w);
  std::shared_ptr<bool> alive = Impl()->Alive;
  QObject::connect(w, &QLineEdit::textChanged, [this, alive](const QString& t) {
    if (*alive) GuardEvent(this, [this, &t] { TEditAccess::FromWidget(this, t); });
  });
}

void TEdit::SetCharCase(TEditCharCase v) {
  if (v == FCharCase) return;
  FCharCase = v;
  SetText(FText);
}

void TEdit::SetBorderStyle(TBorderStyle v) {
  FBorderStyle = v;
  if (auto* w = WidgetOf<QLineEdit>(this)) w->setFrame(v != bsNone);
}

void TEdit::SetText(const std::string& v) {
  std::string t = ApplyCharCase(v, FCharCase);
  if (FMaxLength > 0 && static_cast<int>(t.size()) > FMaxLength) t = t.substr(0, static_cast<size_t>(FMaxLength));
  if (t == FText) return;
  FText = t;
  if (auto* w = WidgetOf<QLineEdit>(this)) {
    FSyncing = true;
    w->setText(ToQString(t));
    FSyncing = false;
  }
  Perform(CM_TEXTCHANGED, 0, 0);
  if (!FComponentState.Contains(csLoading)) Change();
}

void TEdit::Change() {
  if (OnChange) OnChange(this);
}

void TEdit::SetMaxLength(int v) {
  FMaxLength = v;
  if (auto* w = WidgetOf<QLineEdit>(this)) w->setMaxLength(v > 0 ? v : 32767);
}

void TEdit::SetReadOnly(bool v) {
  FReadOnly = v;
  if (auto* w = WidgetOf<QLineEdit>(this)) w->setReadOnly(v);
}

void TEdit::SetPasswordChar(char v) {
  FPasswordChar = v;
  if (auto* w = WidgetOf<QLineEdit>(this)) w->setEchoMode(v ? QLineEdit::Password : QLineEdit::Normal);
}

int TEdit::SelStart() const {
  if (auto* w = WidgetOf<QLineEdit>(this)) return w->hasSelectedText() ? w->selectionStart() : w->cursorPosition();
  return FSelStart;
}

void TEdit::SetSelStart(int v) {
  FSelStart = v;
  FSelLength = 0;
  if (auto* w = WidgetOf<QLineEdit>(this)) w->setCursorPosition(v);
}

int TEdit::SelLength() const {
  if (auto* w = WidgetOf<QLineEdit>(this)) return static_cast<int>(w->selectedText().size());
  return FSelLength;
}

void TEdit::SetSelLength(int v) {
  FSelLength = v;
  if (auto* w = WidgetOf<QLineEdit>(this)) w->setSelection(SelStart(), v);
}

std::string TEdit::SelText() const {
  if (auto* w = WidgetOf<QLineEdit>(this)) return FromQString(w->selectedText());
  if (FSelStart >= 0 && FSelStart < static_cast<int>(FText.size())) return FText.substr(FSelStart, FSelLength);
  return "";
}

void TEdit::SetSelText(const std::string& v) {
  HandleNeeded();
  if (auto* w = WidgetOf<QLineEdit>(this)) w->insert(ToQString(v));
}

void TEdit::WMChar(TMessage& M) {
  // A key typed into the box types its character itself; a character sent
  // or posted as a message (a grid handing on the key that opened it) is
  // put in here, as the window system's edit box does.
  if (Impl() && Impl()->InEvent > 0) {
    TWinControl::WMChar(M);
    return;
  }
  if (DoKeyPress(M)) return;
  const uint32_t ch = static_cast<uint32_t>(M.WParam);
  if (ch < 32 || ch == 127 || FReadOnly) return;
  std::string s;
  AppendUtf8(s, ch);
  SetSelText(s);
}

void TEdit::SelectAll() {
  FSelStart = 0;
  FSelLength = static_cast<int>(FText.size());
  if (auto* w = WidgetOf<QLineEdit>(this)) w->selectAll();
}

// ---------------------------------------------------------------------------
// TComboBox

std::string TComboBoxStrings::Get(int index) const {
  CheckIndex(index);
  return FItems[static_cast<size_t>(index)].first;
}

void TComboBoxStrings::Put(int index, const std::string& s) {
  CheckIndex(index);
  FItems[static_cast<size_t>(index)].first = s;
  FCombo->ItemsChanged();
}

TObject* TComboBoxStrings::GetObject(int index) const {
  CheckIndex(index);
  return FItems[static_cast<size_t>(index)].second;
}

void TComboBoxStrings::PutObject(int index, TObject* obj) {
  CheckIndex(index);
  FItems[static_cast<size_t>(index)].second = obj;
}

int TComboBoxStrings::Add(const std::string& s) {
  int index = Count();
  if (FCombo->Sorted()) {
    index = 0;
    while (index < Count() && CompareStrings(FItems[static_cast<size_t>(index)].first, s) <= 0) ++index;
  }
  FItems.insert(FItems.begin() + index, {s, nullptr});
  if (FCombo->FItemIndex >= index) ++FCombo->FItemIndex;
  FCombo->ItemsChanged();
  return index;
}

void TComboBoxStrings::Insert(int index, const std::string& s) {
  if (index < 0 || index > Count()) Error("List index out of bounds (%d)", index);
  if (FCombo->Sorted()) {
    index = 0;
    while (index < Count() && CompareStrings(FItems[static_cast<size_t>(index)].first, s) <= 0) ++index;
  }
  FItems.insert(FItems.begin() + index, {s, nullptr});
  if (FCombo->FItemIndex >= index) ++FCombo->FItemIndex;
  FCombo->ItemsChanged();
}

void TComboBoxStrings::Delete(int index) {
  CheckIndex(index);
  FItems.erase(FItems.begin() + index);
  if (FCombo->FItemIndex == index) FCombo->FItemIndex = -1;
  else if (FCombo->FItemIndex > index) --FCombo->FItemIndex;
  FCombo->ItemsChanged();
}

void TComboBoxStrings::Clear() {
  FItems.clear();
  FCombo->FItemIndex = -1;
  FCombo->ItemsChanged();
}

ZV_CLASS_IMPL(TComboBox, TWinControl)

void TComboBox::DeclareProperties(TClassInfo& c) {
  static const TEnumInfo styles{
      "TComboBoxStyle", {"csDropDown", "csSimple", "csDropDownList", "csOwnerDrawFixed", "csOwnerDrawVariable"}, 0};
  c.Enum<TComboBox>("Style", styles, &TComboBox::Style, &TComboBox::SetStyle, csDropDown);
  c.Integer<TComboBox>("DropDownCount", &TComboBox::DropDownCount, &TComboBox::SetDropDownCount, 8);
  c.Integer<TComboBox>("ItemHeight", &TComboBox::ItemHeight, &TComboBox::SetItemHeight);
  c.Boolean<TComboBox>("Sorted", &TComboBox::Sorted, &TComboBox::SetSorted, false);
  c.Object<TComboBox, TStrings>("Items", &TComboBox::Items, &TComboBox::SetItems);
  c.Integer<TComboBox>("ItemIndex", &TComboBox::ItemIndex, &TComboBox::SetItemIndex, -1);
  c.String<TComboBox>("Text", [](TComboBox* o) { return o->Text(); }, &TComboBox::SetText);
}

TComboBox::TComboBox(TComponent* AOwner) : TWinControl(AOwner), FItems(std::make_unique<TComboBoxStrings>(this)) {
  FControlStyle = {csSetCaption, csDoubleClicks};
  FControlStyle.Exclude(csSetCaption);
  FWidth = 145;
  FHeight = 21;
  FColor = clWindow;
  FParentColor = false;
  FTabStop = true;
}

TComboBox::~TComboBox() {
  Destroying();
  DestroyHandle();
}

struct TComboAccess {
  static void Activated(TComboBox* c, int index) { c->UserSelected(index); }
  static bool OwnerDrawn(const TComboBox* c) { return c->IsOwnerDrawn(); }
  // Draws one item (index -1: none) into the rectangle r of the painter's
  // widget, as the window system asks an owner-drawn combo box to: the
  // canvas gets the combo's font and colour (the highlight colours for a
  // selected item), the item draws itself, a focused one gets the focus
  // rectangle.
  static void PaintItem(TComboBox* c, QPainter& p, const QRect& r, int index, TOwnerDrawState state) {
    if (r.isEmpty()) return;
    QImage image(r.size(), QImage::Format_RGB32);
    image.fill(GfxToQColor(c->Color()));
    TCanvas* canvas = c->Canvas();
    GfxBindCanvasToImage(canvas, &image);
    canvas->SetWindowOrgEx(r.left(), r.top());
    const TRect rect = Rect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
    canvas->SetFont(c->Font());
    canvas->Brush()->SetColor(c->Color());
    canvas->Brush()->SetStyle(bsSolid);
    if (index >= 0 && state.Contains(odSelected)) {
      canvas->Brush()->SetColor(clHighlight);
      canvas->Font()->SetColor(clHighlightText);
    }
    GuardEvent(c, [&] {
      if (index >= 0 && index < c->FItems->Count()) c->DrawItem(index, rect, state);
      else canvas->FillRect(rect);
      if (state.Contains(odFocused)) canvas->DrawFocusRect(rect);
    });
    GfxUnbindCanvas(canvas);
    p.drawImage(r.topLeft(), image);
  }
  static int ItemHeight(TComboBox* c, int index) {
    int h = c->FItemHeight;
    if (c->FStyle == csOwnerDrawVariable) GuardEvent(c, [&] { c->MeasureItem(index, h); });
    return std::max(h, 0);
  }
  static void EditChanged(TComboBox* c, const QString& t) {
    if (c->FSyncing) return;
    const std::string s = FromQString(t);
    if (s == c->FText) return;
    c->FText = s;
    c->FItemIndex = c->FItems->IndexOf(s);
    c->Change();
  }
};

namespace {

// The combo box's widget: an owner-drawn combo draws its closed box's item
// itself (the frame and button are the style's).
class TComboWidget : public QComboBox {
public:
  TComboWidget(TComboBox* owner, std::shared_ptr<bool> alive) : FOwner(owner), FAlive(std::move(alive)) {}

protected:
  void paintEvent(QPaintEvent* event) override {
    if (!*FAlive || !TComboAccess::OwnerDrawn(FOwner)) {
      QComboBox::paintEvent(event);
      return;
    }
    QStylePainter painter(this);
    QStyleOptionComboBox opt;
    initStyleOption(&opt);
    opt.currentText.clear();
    opt.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, opt);
    const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, this);
    TOwnerDrawState state{odComboBoxEdit};
    if (hasFocus()) state = state + TOwnerDrawState{odSelected, odFocused};
    if (!isEnabled()) state = state + TOwnerDrawState{odDisabled, odGrayed};
    TComboAccess::PaintItem(FOwner, painter, field, currentIndex(), state);
  }

private:
  TComboBox* FOwner;
  std::shared_ptr<bool> FAlive;
};

// Draws and measures the items of an owner-drawn combo's list.
class TOwnerDrawDelegate : public QAbstractItemDelegate {
public:
  TOwnerDrawDelegate(TComboBox* owner, std::shared_ptr<bool> alive, QObject* parent)
      : QAbstractItemDelegate(parent), FOwner(owner), FAlive(std::move(alive)) {}
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    if (!*FAlive) return;
    TOwnerDrawState state;
    // The list's current item is the selected one, and has the focus.
    if (option.state & QStyle::State_Selected) state = TOwnerDrawState{odSelected, odFocused};
    if (!(option.state & QStyle::State_Enabled)) state = state + TOwnerDrawState{odDisabled, odGrayed};
    TComboAccess::PaintItem(FOwner, *painter, option.rect, index.row(), state);
  }
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    if (!*FAlive) return QSize();
    return QSize(option.rect.width(), TComboAccess::ItemHeight(FOwner, index.row()));
  }

private:
  TComboBox* FOwner;
  std::shared_ptr<bool> FAlive;
};

}  // namespace

void TComboBox::CreateWnd() {
  auto* w = new TComboWidget(this, Impl()->Alive);
  w->setMaxVisibleItems(FDropDownCount);
  AttachWidget(this, w);
  ApplyStyle();
  ItemsChanged();
  std::shared_ptr<bool> alive = Impl()->Alive;
  QObject::connect(w, &QComboBox::activated, [this, alive](int i) {
    if (*alive) GuardEvent(this, [this, i] { TComboAccess::Activated(this, i); });
  });
  QObject::connect(w, &QComboBox::editTextChanged, [this, alive](const QString& t) {
    if (*alive) GuardEvent(this, [this, &t] { TComboAccess::EditChanged(this, t); });
  });
}

void TComboBox::ItemsChanged() {
  auto* w = WidgetOf<QComboBox>(this);
  if (!w) return;
  FSyncing = true;
  w->clear();
  for (auto& [s, o] : FItems->FItems) w->addItem(ToQString(s));
  w->setCurrentIndex(FItemIndex);
  if (w->isEditable()) w->setEditText(ToQString(FText));
  FSyncing = false;
}

void TComboBox::SetItemIndex(int v) {
  if (v < -1 || v >= FItems->Count()) v = -1;
  FItemIndex = v;
  FText = v >= 0 ? FItems->Strings(v) : (IsListStyle() ? std::string() : FText);
  if (auto* w = WidgetOf<QComboBox>(this)) {
    FSyncing = true;
    w->setCurrentIndex(v);
    if (w->isEditable()) w->setEditText(ToQString(FText));
    FSyncing = false;
  }
}

void TComboBox::SetText(const std::string& v) {
  if (IsListStyle()) {
    SetItemIndex(FItems->IndexOf(v));
    return;
  }
  FText = v;
  FItemIndex = FItems->IndexOf(v);
  if (auto* w = WidgetOf<QComboBox>(this)) {
    FSyncing = true;
    w->setCurrentIndex(FItemIndex);
    w->setEditText(ToQString(v));
    FSyncing = false;
  }
}

void TComboBox::UserSelected(int index) {
  if (index < -1 || index >= FItems->Count()) return;
  FItemIndex = index;
  FText = index >= 0 ? FItems->Strings(index) : std::string();
  Select();
}

void TComboBox::Select() {
  if (OnSelect) OnSelect(this);
  else Change();
}

void TComboBox::Change() {
  if (OnChange) OnChange(this);
}

void TComboBox::SetStyle(TComboBoxStyle v) {
  if (FStyle == v) return;
  FStyle = v;
  ApplyStyle();
  if (auto* w = WidgetOf<QComboBox>(this)) {
    FSyncing = true;
    if (w->isEditable()) w->setEditText(ToQString(FText));
    FSyncing = false;
  }
}

void TComboBox::ApplyStyle() {
  auto* w = WidgetOf<QComboBox>(this);
  if (!w) return;
  w->setEditable(FStyle == csDropDown || FStyle == csSimple);
  // The style's own delegate is kept aside while the items are owner-drawn
  // (the combo never owns its delegates).
  auto* own = w->findChild<TOwnerDrawDelegate*>(QString(), Qt::FindDirectChildrenOnly);
  if (IsOwnerDrawn()) {
    if (!own) {
      w->setProperty("zvStyleDelegate", QVariant::fromValue(static_cast<QObject*>(w->itemDelegate())));
      own = new TOwnerDrawDelegate(this, Impl()->Alive, w);
    }
    w->setItemDelegate(own);
    if (auto* list = qobject_cast<QListView*>(w->view())) list->setUniformItemSizes(FStyle == csOwnerDrawFixed);
  } else if (own) {
    auto* styleDelegate = qobject_cast<QAbstractItemDelegate*>(w->property("zvStyleDelegate").value<QObject*>());
    if (styleDelegate) w->setItemDelegate(styleDelegate);
    delete own;
    if (auto* list = qobject_cast<QListView*>(w->view())) list->setUniformItemSizes(false);
  }
  w->update();
}

void TComboBox::SetItemHeight(int v) {
  if (FItemHeight == v) return;
  FItemHeight = v;
  if (auto* w = WidgetOf<QComboBox>(this); w && IsOwnerDrawn()) w->view()->doItemsLayout();
}

TCanvas* TComboBox::Canvas() {
  if (!FCanvas) FCanvas = std::make_unique<TCanvas>();
  return FCanvas.get();
}

void TComboBox::Invalidate() {
  TWinControl::Invalidate();
  if (auto* w = WidgetOf<QComboBox>(this); w && w->view()) w->view()->viewport()->update();
}

void TComboBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
  if (OnDrawItem) {
    OnDrawItem(this, Index, Rect, State);
    return;
  }
  TCanvas* canvas = Canvas();
  canvas->FillRect(Rect);
  if (Index >= 0 && Index < FItems->Count()) canvas->TextOut(Rect.Left + 2, Rect.Top, FItems->Strings(Index));
}

void TComboBox::MeasureItem(int Index, int& Height) {
  if (OnMeasureItem) OnMeasureItem(this, Index, Height);
}

void TComboBox::SetDropDownCount(int v) {
  FDropDownCount = v;
  if (auto* w = WidgetOf<QComboBox>(this)) w->setMaxVisibleItems(v);
}

void TComboBox::SetSorted(bool v) {
  if (FSorted == v) return;
  FSorted = v;
  if (v) {
    auto& items = FItems->FItems;
    std::stable_sort(items.begin(), items.end(),
                     [this](const auto& a, const auto& b) { return FItems->CompareStrings(a.first, b.first) < 0; });
    FItemIndex = FItems->IndexOf(FText);
    ItemsChanged();
  }
}

void TComboBox::SelectAll() {
  auto* w = WidgetOf<QComboBox>(this);
  if (w && w->lineEdit()) w->lineEdit()->selectAll();
}

bool TComboBox::DroppedDown() const {
  auto* w = WidgetOf<QComboBox>(this);
  return w && w->view() && w->view()->isVisible();
}

void TComboBox::SetDroppedDown(bool v) {
  HandleNeeded();
  auto* w = WidgetOf<QComboBox>(this);
  if (!w) return;
  if (v) {
    if (OnDropDown) OnDropDown(this);
    w->showPopup();
  } else {
    w->hidePopup();
    if (OnCloseUp) OnCloseUp(this);
  }
}

void TComboBox::Dispatch(TMessage& M) {
  switch (M.Msg) {
    case CB_SETDROPPEDWIDTH:
      FDroppedWidth = static_cast<int>(M.WParam);
      if (auto* w = WidgetOf<QComboBox>(this)) w->view()->setMinimumWidth(FDroppedWidth);
      M.Result = FDroppedWidth;
      return;
    case CB_GETDROPPEDWIDTH: M.Result = std::max(FDroppedWidth, FWidth); return;
    case CB_GETCOUNT: M.Result = FItems->Count(); return;
    case CB_GETCURSEL: M.Result = FItemIndex; return;
    case CB_SETCURSEL:
      SetItemIndex(static_cast<int>(M.WParam));
      M.Result = FItemIndex;
      return;
    case CB_SHOWDROPDOWN: SetDroppedDown(M.WParam != 0); return;
    case CB_GETDROPPEDSTATE: M.Result = DroppedDown() ? 1 : 0; return;
    default: TWinControl::Dispatch(M); return;
  }
}

// ---------------------------------------------------------------------------
// TLabel

ZV_CLASS_IMPL(TLabel, TGraphicControl)

void TLabel::DeclareProperties(TClassInfo& c) {
  c.Enum<TLabel>("Alignment", AlignmentEnumInfo(), &TLabel::Alignment, &TLabel::SetAlignment, taLeftJustify);
  c.Boolean<TLabel>("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize, true);
  c.Boolean<TLabel>("Transparent", &TLabel::Transparent, &TLabel::SetTransparent, false);
  c.Boolean<TLabel>("WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap, false);
  c.Boolean<TLabel>("ShowAccelChar", &TLabel::ShowAccelChar, &TLabel::SetShowAccelChar, true);
}

TLabel::TLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
  FControlStyle.Include(csReplicatable);
  FWidth = 65;
  FHeight = 17;
}

void TLabel::Paint() {
  TCanvas* canvas = Canvas();
  TRect r = ClientRect();
  if (!FTransparent) {
    canvas->Brush()->SetColor(FColor);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->FillRect(r);
  }
  canvas->Brush()->SetStyle(bsClear);
  canvas->SetFont(FFont.get());
  unsigned flags = DT_EXPANDTABS;
  if (FWordWrap) flags |= DT_WORDBREAK;
  if (!FShowAccelChar) flags |= DT_NOPREFIX;
  flags |= FAlignment == taRightJustify ? DT_RIGHT : FAlignment == taCenter ? DT_CENTER : DT_LEFT;
  if (FLayout != tlTop) {
    TRect calc = r;
    canvas->DrawText(FText, calc, flags | DT_CALCRECT);
    const int h = calc.Height();
    if (FLayout == tlBottom) r.Top = r.Bottom - h;
    else r.Top = (r.Top + r.Bottom - h) / 2;
  }
  if (!FEnabled) canvas->Font()->SetColor(clGrayText);
  canvas->DrawText(FText, r, flags);
}

void TLabel::AdjustBounds() {
  if (!FAutoSize || FComponentState.Contains(csLoading)) return;
  // One picture to measure on for all labels: a caption that changes every
  // step of a long run would otherwise make and free one each time.
  static TBitmap* probe = new TBitmap(1, 1);
  TCanvas* c = probe->Canvas();
  c->SetFont(FFont.get());
  TRect r = Rect(0, 0, FWordWrap ? FWidth : 0, 0);
  unsigned flags = DT_EXPANDTABS | DT_CALCRECT;
  if (FWordWrap) flags |= DT_WORDBREAK;
  if (!FShowAccelChar) flags |= DT_NOPREFIX;
  c->DrawText(FText.empty() ? std::string(" ") : FText, r, flags);
  int left = FLeft;
  if (FAlignment == taRightJustify && !FWordWrap) left = FLeft + FWidth - r.Width();
  else if (FAlignment == taCenter && !FWordWrap) left = FLeft + (FWidth - r.Width()) / 2;
  SetBounds(left, FTop, r.Width(), r.Height());
}

void TLabel::CMTextChanged(TMessage& M) {
  TGraphicControl::CMTextChanged(M);
  AdjustBounds();
}

void TLabel::CMFontChanged(TMessage& M) {
  TGraphicControl::CMFontChanged(M);
  AdjustBounds();
}

void TLabel::SetAlignment(TAlignment v) {
  if (FAlignment == v) return;
  FAlignment = v;
  Invalidate();
}

void TLabel::SetLayout(TTextLayout v) {
  if (FLayout == v) return;
  FLayout = v;
  Invalidate();
}

void TLabel::SetAutoSize(bool v) {
  if (FAutoSize == v) return;
  FAutoSize = v;
  AdjustBounds();
}

void TLabel::SetWordWrap(bool v) {
  if (FWordWrap == v) return;
  FWordWrap = v;
  AdjustBounds();
  Invalidate();
}

void TLabel::SetTransparent(bool v) {
  if (FTransparent == v) return;
  FTransparent = v;
  Invalidate();
}

void TLabel::SetShowAccelChar(bool v) {
  if (FShowAccelChar == v) return;
  FShowAccelChar = v;
  AdjustBounds();
  Invalidate();
}
