#include "platform/ui/combos.h"

#include <QComboBox>
#include <QLineEdit>

#include "platform/rtl/codepages.h"
#include "platform/ui/editctrls.h"
#include "platform/ui/qt_ui.h"

namespace {
QComboBox* ComboOf(const TWinControl* c) {
  return c->Impl() ? qobject_cast<QComboBox*>(c->Impl()->Widget.data()) : nullptr;
}
QLineEdit* EditPartOf(const TWinControl* c) {
  QComboBox* w = ComboOf(c);
  return w ? w->lineEdit() : nullptr;
}
}  // namespace

ZV_CLASS_IMPL(TCustomComboBox, TComboBox)

void TCustomComboBox::DeclareProperties(TClassInfo& c) {
  c.Integer<TCustomComboBox>("MaxLength", &TCustomComboBox::MaxLength, &TCustomComboBox::SetMaxLength, 0);
}

void TCustomComboBox::CreateWnd() {
  TComboBox::CreateWnd();
  if (QLineEdit* e = EditPartOf(this)) e->setMaxLength(FMaxLength > 0 ? FMaxLength : 32767);
  InstallWideCharInput(this);
}

void TCustomComboBox::SetMaxLength(int v) {
  FMaxLength = v;
  if (QLineEdit* e = EditPartOf(this)) e->setMaxLength(v > 0 ? v : 32767);
}

int TCustomComboBox::SelStart() const {
  QLineEdit* e = EditPartOf(this);
  if (!e) return 0;
  return e->hasSelectedText() ? e->selectionStart() : e->cursorPosition();
}

void TCustomComboBox::SetSelStart(int v) {
  if (QLineEdit* e = EditPartOf(this)) e->setCursorPosition(v);
}

int TCustomComboBox::SelLength() const {
  QLineEdit* e = EditPartOf(this);
  return e ? static_cast<int>(e->selectedText().size()) : 0;
}

void TCustomComboBox::SetSelLength(int Length) {
  QLineEdit* e = EditPartOf(this);
  if (!e) return;
  const int start = e->hasSelectedText() ? e->selectionStart() : e->cursorPosition();
  if (Length <= 0) e->setCursorPosition(start);
  else e->setSelection(start, Length);
}

int TCustomComboBox::CharFromPos(TPoint P) const {
  QLineEdit* e = EditPartOf(this);
  QComboBox* w = ComboOf(this);
  if (!e || !w) return -1;
  return e->cursorPositionAt(e->mapFrom(w, QPoint(P.X, P.Y)));
}

void TCustomComboBox::SelectAll() {
  if (QLineEdit* e = EditPartOf(this)) e->selectAll();
}

void TCustomComboBox::InsertChar(uint32_t Code) {
  HandleNeeded();
  QLineEdit* e = EditPartOf(this);
  if (!e) return;
  std::string s;
  AppendUtf8(s, Code);
  e->insert(ToQString(s));
}

void TCustomComboBox::WMChar(TMessage& M) {
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
  FinishChar(M, code, ch);
}

void TCustomComboBox::FinishChar(TMessage& M, uint32_t Typed, uint32_t Ch) {
  if (Ch < 32) {
    if (Ch == Typed) {
      M.WParam = Ch;
      DefaultHandler(M);
    }
    return;
  }
  if (!EditPartOf(this)) {
    // A list without an edit part: the widget searches its items.
    if (Ch == Typed) DefaultHandler(M);
    return;
  }
  InsertChar(Ch);
}
