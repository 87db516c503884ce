// The text widgets of memos, for the .cpp files of ui only (never include
// this from a public header): a memo shows a QPlainTextEdit, the rich edit a
// QTextEdit (which lays out paragraph alignment); TMemoWidget does what both
// can do on whichever the control has.
#pragma once

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <type_traits>

#include "platform/ui/qt_ui.h"

// The rich edit's widget: its viewport can be placed inside the frame (the
// formatting rectangle).
class TRichTextWidget : public QTextEdit {
public:
  void SetViewportMargins(const QMargins& m) { setViewportMargins(m); }
};

class TMemoWidget {
public:
  explicit TMemoWidget(const TWinControl* c) {
    QWidget* w = c->Impl() ? c->Impl()->Widget.data() : nullptr;
    FPlain = qobject_cast<QPlainTextEdit*>(w);
    if (!FPlain) FRich = qobject_cast<QTextEdit*>(w);
  }
  explicit operator bool() const { return FPlain || FRich; }
  QTextEdit* Rich() const { return FRich; }
  QAbstractScrollArea* Area() const { return FPlain ? static_cast<QAbstractScrollArea*>(FPlain) : FRich; }

  // f(widget) with the widget's own type.
  template <class F>
  decltype(auto) Apply(F&& f) const {
    if (FPlain) return f(FPlain);
    return f(FRich);
  }

  QTextDocument* Document() const {
    return Apply([](auto* w) { return w->document(); });
  }
  QTextCursor TextCursor() const {
    return Apply([](auto* w) { return w->textCursor(); });
  }
  void SetTextCursor(const QTextCursor& c) const {
    Apply([&](auto* w) { w->setTextCursor(c); });
  }
  QString ToPlainText() const {
    return Apply([](auto* w) { return w->toPlainText(); });
  }
  void SetPlainText(const QString& s) const {
    Apply([&](auto* w) { w->setPlainText(s); });
  }
  void InsertPlainText(const QString& s) const {
    Apply([&](auto* w) { w->insertPlainText(s); });
  }
  void SetReadOnly(bool v) const {
    Apply([&](auto* w) { w->setReadOnly(v); });
  }
  void SetWordWrap(bool v) const {
    Apply([&](auto* w) {
      using W = std::remove_pointer_t<decltype(w)>;
      w->setLineWrapMode(v ? W::WidgetWidth : W::NoWrap);
    });
  }
  void SetTabChangesFocus(bool v) const {
    Apply([&](auto* w) { w->setTabChangesFocus(v); });
  }
  void EnsureCursorVisible() const {
    Apply([](auto* w) { w->ensureCursorVisible(); });
  }
  void Copy() const {
    Apply([](auto* w) { w->copy(); });
  }
  void Cut() const {
    Apply([](auto* w) { w->cut(); });
  }
  void Paste() const {
    Apply([](auto* w) { w->paste(); });
  }
  void Undo() const {
    Apply([](auto* w) { w->undo(); });
  }

private:
  QPlainTextEdit* FPlain = nullptr;
  QTextEdit* FRich = nullptr;
};
