#include "platform/ui/textbrowser.h"

#include "platform/ui/qt_memo.h"

ZV_CLASS_IMPL_NOPROPS(TTextBrowser, TRichEdit)

TTextBrowser::TTextBrowser(TComponent* AOwner) : TRichEdit(AOwner) { SetReadOnly(true); }

void TTextBrowser::SetHTML(const std::string& html) {
  FHTML = html;
  Apply();
}

void TTextBrowser::CreateWnd() {
  TRichEdit::CreateWnd();
  Apply();
}

void TTextBrowser::Apply() {
  if (!HandleAllocated()) return;
  const TMemoWidget w(this);
  if (QTextEdit* rich = w.Rich()) rich->setHtml(QString::fromUtf8(FHTML.data(), static_cast<int>(FHTML.size())));
}

std::string TTextBrowser::ShownText() const {
  if (!HandleAllocated()) {
    QTextDocument d;
    d.setHtml(QString::fromUtf8(FHTML.data(), static_cast<int>(FHTML.size())));
    return d.toPlainText().toStdString();
  }
  return TMemoWidget(this).ToPlainText().toStdString();
}
