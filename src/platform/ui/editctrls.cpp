#include "platform/ui/editctrls.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>
#include <vector>

#include "platform/rtl/codepages.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/qt_memo.h"
#include "platform/ui/qt_ui.h"
#include "platform/ui/taborder.h"

namespace {

QLineEdit* LineEditOf(const TWinControl* c) {
  return c->Impl() ? qobject_cast<QLineEdit*>(c->Impl()->Widget.data()) : nullptr;
}

// Sends the characters the bridge leaves to the widget (beyond ASCII, and
// an input method's result) through WM_CHAR. Installed after the bridge, so
// it sees the events first.
class TWideCharFilter : public QObject {
public:
  TWideCharFilter(TWinControl* control, std::shared_ptr<bool> alive, QObject* parent)
      : QObject(parent), FControl(control), FAlive(std::move(alive)) {}

  bool eventFilter(QObject*, QEvent* event) override {
    if (!*FAlive) return false;
    if (event->type() == QEvent::KeyPress) {
      auto* ke = static_cast<QKeyEvent*>(event);
      const QList<uint> cps = ke->text().toUcs4();
      if (cps.size() != 1 || cps[0] < 0x80) return false;
      const uint16_t vk = QtKeyToVK(ke->key());
      const TShiftState shift = QtModifiersToShift(ke->modifiers(), Qt::NoButton);
      const LPARAM keyData = static_cast<LPARAM>((static_cast<uint64_t>(shift.Bits()) << 32) | 1);
      std::shared_ptr<bool> alive = FAlive;
      GuardEvent(FControl, [&] {
        if (vk != 0) FControl->Perform(WM_KEYDOWN, vk, keyData);
        if (*alive) FControl->Perform(WM_CHAR, cps[0], keyData);
      });
      return true;
    }
    if (event->type() == QEvent::InputMethod) {
      auto* ie = static_cast<QInputMethodEvent*>(event);
      if (ie->commitString().isEmpty()) return false;
      std::shared_ptr<bool> alive = FAlive;
      const QList<uint> cps = ie->commitString().toUcs4();
      GuardEvent(FControl, [&] {
        for (uint cp : cps) {
          if (!*alive) return;
          FControl->Perform(WM_CHAR, cp, 0);
        }
      });
      return true;
    }
    return false;
  }

private:
  TWinControl* FControl;
  std::shared_ptr<bool> FAlive;
};

// The next (or previous) window after c that takes the focus by Tab.
TWinControl* NextTabControl(TWinControl* c, bool forward) {
  const std::vector<TWinControl*> list = WindowTabOrderList(c);
  const auto it = std::find(list.begin(), list.end(), c);
  if (it == list.end()) return nullptr;
  const int n = static_cast<int>(list.size());
  const int at = static_cast<int>(it - list.begin());
  for (int step = 1; step < n; ++step) {
    TWinControl* w = list[static_cast<size_t>(((at + (forward ? step : -step)) % n + n) % n)];
    if (w->TabStop() && w->CanFocus()) return w;
  }
  return nullptr;
}

}  // namespace

void InstallWideCharInput(TWinControl* Control) {
  TWinControlImpl* impl = Control->Impl();
  if (!impl || !impl->Widget) return;
  QWidget* w = impl->Focus ? impl->Focus : impl->Widget.data();
  w->installEventFilter(new TWideCharFilter(Control, impl->Alive, w));
}

// ---------------------------------------------------------------------------
// TCustomEdit

ZV_CLASS_IMPL(TCustomEdit, TEdit)

void TCustomEdit::DeclareProperties(TClassInfo& c) {
  c.Boolean<TCustomEdit>("AutoSelect", &TCustomEdit::AutoSelect, &TCustomEdit::SetAutoSelect, true);
}

TCustomEdit::TCustomEdit(TComponent* AOwner) : TEdit(AOwner) {}

void TCustomEdit::CreateWnd() {
  TEdit::CreateWnd();
  QLineEdit* w = LineEditOf(this);
  if (!w) return;
  w->installEventFilter(new TWideCharFilter(this, Impl()->Alive, w));
  // Text reaches the edit by typing and the clipboard messages only (no
  // dropped text), so that a descendant can refuse it.
  w->setAcceptDrops(false);
  w->setFrame(FBorderStyle != bsNone);
  w->setAlignment(FAlignment == taRightJustify ? Qt::AlignRight | Qt::AlignVCenter
                  : FAlignment == taCenter     ? Qt::AlignHCenter | Qt::AlignVCenter
                                               : Qt::AlignLeft | Qt::AlignVCenter);
  ApplyRect();
}

void TCustomEdit::SetBorderStyle(TBorderStyle v) {
  if (v == FBorderStyle) return;
  FBorderStyle = v;
  if (QLineEdit* w = LineEditOf(this)) w->setFrame(v != bsNone);
}

void TCustomEdit::SetAlignment(TAlignment v) {
  if (v == FAlignment) return;
  FAlignment = v;
  if (QLineEdit* w = LineEditOf(this))
    w->setAlignment(v == taRightJustify ? Qt::AlignRight | Qt::AlignVCenter
                    : v == taCenter     ? Qt::AlignHCenter | Qt::AlignVCenter
                                        : Qt::AlignLeft | Qt::AlignVCenter);
}

void TCustomEdit::SetRect(const TRect& r) {
  FRect = r;
  ApplyRect();
}

void TCustomEdit::ApplyRect() {
  QLineEdit* w = LineEditOf(this);
  if (!w || FRect.IsEmpty()) return;
  // The widget keeps its own frame and padding; the rectangle narrows the
  // text area from the sides.
  const int right = std::max(0, ClientWidth() - FRect.Right);
  w->setTextMargins(std::max(0, FRect.Left - 1), 0, right, 0);
}

void TCustomEdit::BoundsChanged(bool sizeChanged) {
  TEdit::BoundsChanged(sizeChanged);
  if (sizeChanged) ApplyRect();
}

void TCustomEdit::WMChar(TMessage& M) {
  const uint32_t code = static_cast<uint32_t>(M.WParam);
  if (code == 127) {  // the Delete key types nothing
    DefaultHandler(M);
    return;
  }
  const uint32_t wide = code > 255 ? code : 0;
  if (wide) M.WParam = 255;
  if (DoKeyPress(M)) return;
  uint32_t ch = static_cast<uint32_t>(M.WParam & 0xFF);
  if (wide && ch == 255) ch = wide;
  if (ch == code && (ch == 3 || ch == 22 || ch == 24)) {
    Perform(ch == 3 ? WM_COPY : ch == 22 ? WM_PASTE : WM_CUT, 0, 0);
    return;
  }
  if (ch < 32) {
    // A control character goes to the widget as typed; one that a key event
    // made out of a printable character is dropped.
    if (ch == code) DefaultHandler(M);
    return;
  }
  InsertChar(ch);
}

void TCustomEdit::Dispatch(TMessage& M) {
  switch (M.Msg) {
    case WM_CUT:
    case WM_COPY:
    case WM_PASTE:
    case WM_CLEAR:
    case WM_UNDO: {
      HandleNeeded();
      QLineEdit* w = LineEditOf(this);
      if (!w) return;
      if (M.Msg == WM_COPY) w->copy();
      else if (ReadOnly()) return;
      else if (M.Msg == WM_CUT) w->cut();
      else if (M.Msg == WM_PASTE) w->paste();
      else if (M.Msg == WM_CLEAR) {
        if (w->hasSelectedText()) w->del();
      }
      else w->undo();
      return;
    }
    case WM_MBUTTONUP:
      // No pasting of the selection with the middle button.
      TEdit::Dispatch(M);
      if (Impl()) Impl()->DefaultCalled = false;
      return;
    default: TEdit::Dispatch(M);
  }
}

void TCustomEdit::WMKeyDown(TMessage& M) {
  if (DoKeyDown(M)) return;
  QLineEdit* w = LineEditOf(this);
  if (M.WParam == VK_TAB && w && Impl()->InEvent == 0) {
    // Not typed: the window system will not move the focus itself.
    if (TWinControl* next = NextTabControl(this, !KeyDataToShiftState(M.LParam).Contains(ssShift))) next->SetFocus();
    return;
  }
  DefaultHandler(M);
}

int TCustomEdit::CharFromPos(TPoint P) const {
  QLineEdit* w = LineEditOf(this);
  return w ? w->cursorPositionAt(QPoint(P.X, P.Y)) : -1;
}

void TCustomEdit::InsertChar(uint32_t Code) {
  if (ReadOnly()) return;
  std::string s;
  AppendUtf8(s, Code);
  SetSelText(s);
}

// ---------------------------------------------------------------------------
// Mask edits

ZV_CLASS_IMPL(TCustomMaskEdit, TCustomEdit)

void TCustomMaskEdit::DeclareProperties(TClassInfo& c) {
  c.String<TCustomMaskEdit>("EditMask", [](TCustomMaskEdit* o) { return o->EditMask(); },
                            &TCustomMaskEdit::SetEditMask);
}

ZV_CLASS_IMPL_NOPROPS(TMaskEdit, TCustomMaskEdit)

// ---------------------------------------------------------------------------
// TCustomMemo

namespace {
// CR LF in the text, LF in the widget.
QString ToWidgetText(const std::string& s) {
  QString q = ToQString(s);
  q.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return q;
}
std::string FromWidgetText(const QString& q) {
  QString t = q;
  t.replace(QChar(0x2029), QChar('\n'));
  t.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
  return FromQString(t);
}
void ApplyScrollBars(QAbstractScrollArea* w, TScrollStyle v) {
  w->setHorizontalScrollBarPolicy(v == ssHorizontal || v == ssBoth ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  w->setVerticalScrollBarPolicy(v == ssVertical || v == ssBoth ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}
void ApplyBorder(QAbstractScrollArea* w, TBorderStyle v) {
  w->setFrameShape(v == bsNone ? QFrame::NoFrame : QFrame::StyledPanel);
}
}  // namespace

ZV_CLASS_IMPL(TCustomMemo, TWinControl)

void TCustomMemo::DeclareProperties(TClassInfo& c) {
  c.Boolean<TCustomMemo>("ReadOnly", &TCustomMemo::ReadOnly, &TCustomMemo::SetReadOnly, false);
  c.Boolean<TCustomMemo>("WantReturns", &TCustomMemo::WantReturns, &TCustomMemo::SetWantReturns, true);
  c.Boolean<TCustomMemo>("WantTabs", &TCustomMemo::WantTabs, &TCustomMemo::SetWantTabs, false);
  c.Boolean<TCustomMemo>("WordWrap", &TCustomMemo::WordWrap, &TCustomMemo::SetWordWrap, true);
  static const TEnumInfo scrollBars{"TScrollStyle", {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"}, 0};
  c.Enum<TCustomMemo>("ScrollBars", scrollBars, &TCustomMemo::ScrollBars, &TCustomMemo::SetScrollBars, ssNone);
}

TCustomMemo::TCustomMemo(TComponent* AOwner) : TWinControl(AOwner) {
  FControlStyle = {csClickEvents, csDoubleClicks};
  FWidth = 185;
  FHeight = 89;
  FColor = clWindow;
  FParentColor = false;
  FTabStop = true;
}

TCustomMemo::~TCustomMemo() {
  Destroying();
  DestroyHandle();
}

struct TMemoAccess {
  static void FromWidget(TCustomMemo* m, const QString& text) {
    if (m->FSyncing) return;
    const std::string t = FromWidgetText(text);
    if (t == m->FText) return;
    m->FText = t;
    m->Change();
  }
};

void TCustomMemo::CreateWnd() {
  QAbstractScrollArea* area;
  if (RichWidget()) {
    auto* r = new TRichTextWidget();
    r->setAcceptRichText(false);
    area = r;
  } else {
    area = new QPlainTextEdit();
  }
  AttachWidget(this, area);
  // The mouse goes to the viewport, not to the scroll area that has the focus.
  area->viewport()->setMouseTracking(true);
  area->viewport()->installEventFilter(Impl()->Bridge.get());
  const TMemoWidget w(this);
  w.SetPlainText(ToWidgetText(FText));
  w.SetReadOnly(FReadOnly);
  w.SetWordWrap(FWordWrap);
  w.SetTabChangesFocus(!FWantTabs);
  ApplyScrollBars(area, FScrollBars);
  ApplyBorder(area, FBorderStyle);
  area->installEventFilter(new TWideCharFilter(this, Impl()->Alive, area));
  area->setAcceptDrops(false);
  std::shared_ptr<bool> alive = Impl()->Alive;
  w.Apply([this, alive](auto* e) {
    QObject::connect(e, &std::remove_pointer_t<decltype(e)>::textChanged, [this, alive, e] {
      if (*alive) GuardEvent(this, [this, e] { TMemoAccess::FromWidget(this, e->toPlainText()); });
    });
  });
}

void TCustomMemo::SetText(const std::string& v) {
  if (v == FText) return;
  FText = v;
  if (const TMemoWidget w{this}) {
    FSyncing = true;
    w.SetPlainText(ToWidgetText(v));
    FSyncing = false;
  }
  Perform(CM_TEXTCHANGED, 0, 0);
  if (!FComponentState.Contains(csLoading)) Change();
}

void TCustomMemo::Change() {
  if (OnChange) OnChange(this);
}

void TCustomMemo::SetReadOnly(bool v) {
  FReadOnly = v;
  if (const TMemoWidget w{this}) w.SetReadOnly(v);
}

void TCustomMemo::SetWordWrap(bool v) {
  FWordWrap = v;
  if (const TMemoWidget w{this}) w.SetWordWrap(v);
}

void TCustomMemo::SetScrollBars(TScrollStyle v) {
  FScrollBars = v;
  if (const TMemoWidget w{this}) ApplyScrollBars(w.Area(), v);
}

void TCustomMemo::SetBorderStyle(TBorderStyle v) {
  FBorderStyle = v;
  if (const TMemoWidget w{this}) ApplyBorder(w.Area(), v);
}

void TCustomMemo::SetWantTabs(bool v) {
  FWantTabs = v;
  if (const TMemoWidget w{this}) w.SetTabChangesFocus(!v);
}

int TCustomMemo::SelStart() const {
  if (const TMemoWidget w{this}) return w.TextCursor().selectionStart();
  return 0;
}

void TCustomMemo::SetSelStart(int v) {
  if (const TMemoWidget w{this}) {
    QTextCursor c = w.TextCursor();
    c.setPosition(v);
    w.SetTextCursor(c);
  }
}

int TCustomMemo::SelLength() const {
  if (const TMemoWidget w{this}) {
    const QTextCursor c = w.TextCursor();
    return c.selectionEnd() - c.selectionStart();
  }
  return 0;
}

void TCustomMemo::SelectAll() {
  if (const TMemoWidget w{this}) w.Apply([](auto* e) { e->selectAll(); });
}

void TCustomMemo::SetSelText(const std::string& v) {
  HandleNeeded();
  if (const TMemoWidget w{this}) w.InsertPlainText(ToWidgetText(v));
}

void TCustomMemo::InsertChar(uint32_t Code) {
  if (FReadOnly) return;
  std::string s;
  AppendUtf8(s, Code);
  SetSelText(s);
}

void TCustomMemo::Dispatch(TMessage& M) {
  switch (M.Msg) {
    case WM_CUT:
    case WM_COPY:
    case WM_PASTE:
    case WM_UNDO: {
      HandleNeeded();
      const TMemoWidget w(this);
      if (!w) return;
      if (M.Msg == WM_COPY) w.Copy();
      else if (FReadOnly) return;
      else if (M.Msg == WM_CUT) w.Cut();
      else if (M.Msg == WM_PASTE) {
        // Only text is pasted: the text widgets fail on a clipboard that
        // holds no format at all (an emptied one, or one no program owns).
        if (Clipboard()->HasFormat(CF_TEXT)) w.Paste();
      }
      else w.Undo();
      return;
    }
    case WM_MBUTTONUP:
      TWinControl::Dispatch(M);
      if (Impl()) Impl()->DefaultCalled = false;
      return;
    default: TWinControl::Dispatch(M);
  }
}

void TCustomMemo::WMChar(TMessage& M) {
  const uint32_t code = static_cast<uint32_t>(M.WParam);
  if (code == 127) {
    DefaultHandler(M);
    return;
  }
  const uint32_t wide = code > 255 ? code : 0;
  if (wide) M.WParam = 255;
  if (DoKeyPress(M)) return;
  uint32_t ch = static_cast<uint32_t>(M.WParam & 0xFF);
  if (wide && ch == 255) ch = wide;
  if (ch == code && (ch == 3 || ch == 22 || ch == 24)) {
    Perform(ch == 3 ? WM_COPY : ch == 22 ? WM_PASTE : WM_CUT, 0, 0);
    return;
  }
  if (ch == 13) {
    if (FWantReturns && !FReadOnly) SetSelText("\r\n");
    return;
  }
  if (ch == 9) {
    if (!FWantTabs) DefaultHandler(M);  // the widget moves the focus
    else if (!FReadOnly) SetSelText("\t");
    return;
  }
  if (ch < 32) {
    if (ch == code) DefaultHandler(M);
    return;
  }
  InsertChar(ch);
}

// ---------------------------------------------------------------------------
// TInplaceEdit

ZV_CLASS_IMPL_NOPROPS(TInplaceEdit, TCustomMaskEdit)

TInplaceEdit::TInplaceEdit(TComponent* AOwner)
    : TCustomMaskEdit(AOwner), FGrid(dynamic_cast<TCustomGrid*>(AOwner)) {
  SetBorderStyle(bsNone);
  SetVisible(false);
  SetAutoSelect(false);
  if (FGrid) SetParent(FGrid);
}

void TInplaceEdit::UpdateContents() {
  if (!FGrid) return;
  SetEditMask(FGrid->GetEditMask(FGrid->Col(), FGrid->Row()));
  SetMaxLength(std::max(0, FGrid->GetEditLimit()));
  SetText(FGrid->GetEditText(FGrid->Col(), FGrid->Row()));
  SelectAll();
}

void TInplaceEdit::Move(const TRect& R) {
  SetBounds(R.Left, R.Top, R.Right - R.Left, R.Bottom - R.Top);
  SetVisible(true);
}

void TInplaceEdit::Hide() { SetVisible(false); }

void TInplaceEdit::SendToParent(uint16_t& Key, TShiftState Shift) {
  if (FGrid) FGrid->KeyDown(Key, Shift);
  Key = 0;
}

void TInplaceEdit::KeyDown(uint16_t& Key, TShiftState Shift) {
  TCustomMaskEdit::KeyDown(Key, Shift);
  if (Key == 0 || !FGrid) return;
  const int len = static_cast<int>(Text().size());
  const bool none = SelLength() == 0;
  const bool ctrl = Shift.Contains(ssCtrl);
  const bool always = FGrid->Options().Contains(goAlwaysShowEditor);
  switch (Key) {
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_ESCAPE:
      SendToParent(Key, Shift);
      break;
    case VK_TAB:
      if (!Shift.Contains(ssAlt)) SendToParent(Key, Shift);
      break;
    // Moving along the row from inside the text only while the editor
    // stays up on every cell.
    case VK_LEFT:
    case VK_HOME:
      if (always && (ctrl || (none && SelStart() == 0))) SendToParent(Key, Shift);
      break;
    case VK_RIGHT:
    case VK_END:
      if (always && (ctrl || (none && SelStart() == len))) SendToParent(Key, Shift);
      break;
    default: break;
  }
}

void TInplaceEdit::KeyPress(char& Key) {
  if (FGrid && (Key == '\r' || Key == '\t' || Key == 27)) {
    FGrid->KeyPress(Key);
    Key = 0;
    return;
  }
  TCustomMaskEdit::KeyPress(Key);
}
