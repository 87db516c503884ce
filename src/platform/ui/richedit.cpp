#include "platform/ui/richedit.h"

#include <QPalette>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

#include "platform/gfx/printer.h"
#include "platform/rtl/codepages.h"
#include "platform/rtl/textfile.h"
#include "platform/ui/qt_ui.h"

namespace {

QPlainTextEdit* EditOf(const TWinControl* c) {
  return c->Impl() ? qobject_cast<QPlainTextEdit*>(c->Impl()->Widget.data()) : nullptr;
}

// Any of CR LF, LF and CR ends a line.
std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string cur;
  bool pending = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(cur);
      cur.clear();
      pending = false;
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      cur += c;
      pending = true;
    }
  }
  if (pending) lines.push_back(cur);
  return lines;
}

std::string Join(const std::vector<std::string>& lines, const std::string& lineBreak) {
  std::string s;
  for (const std::string& l : lines) {
    s += l;
    s += lineBreak;
  }
  return s;
}

std::string JoinCrLf(const std::vector<std::string>& lines) { return Join(lines, "\r\n"); }

// The first line break of the bytes; empty when there is none.
std::string FirstLineBreak(const std::string& bytes) {
  const size_t at = bytes.find_first_of("\r\n");
  if (at == std::string::npos) return {};
  if (bytes[at] == '\n') return "\n";
  return at + 1 < bytes.size() && bytes[at + 1] == '\n' ? "\r\n" : "\r";
}

void ApplySelectionShown(QPlainTextEdit* w, bool hide) {
  QPalette p = w->palette();
  if (hide) {
    p.setColor(QPalette::Inactive, QPalette::Highlight, p.color(QPalette::Inactive, QPalette::Window));
    p.setColor(QPalette::Inactive, QPalette::HighlightedText, p.color(QPalette::Inactive, QPalette::Text));
  } else {
    p.setColor(QPalette::Inactive, QPalette::Highlight, p.color(QPalette::Active, QPalette::Highlight));
    p.setColor(QPalette::Inactive, QPalette::HighlightedText, p.color(QPalette::Active, QPalette::HighlightedText));
  }
  w->setPalette(p);
}

}  // namespace

ZV_CLASS_IMPL_NOPROPS(TMemo, TCustomMemo)
ZV_CLASS_IMPL_NOPROPS(TRichEdit, TMemo)

bool IsCharAlphaNumericW(char16_t c) { return QChar(c).isLetterOrNumber(); }
char16_t CharLowerW(char16_t c) { return QChar(c).toLower().unicode(); }

TMemo::TMemo(TComponent* AOwner) : TCustomMemo(AOwner) {}

void TMemo::CreateWnd() {
  TCustomMemo::CreateWnd();
  if (QPlainTextEdit* w = EditOf(this)) ApplySelectionShown(w, FHideSelection);
}

void TMemo::SetText(const std::string& v) {
  FSettingText = true;
  try {
    TCustomMemo::SetText(v);
  } catch (...) {
    FSettingText = false;
    throw;
  }
  FSettingText = false;
  FModified = false;
}

void TMemo::Change() {
  if (!FSettingText) FModified = true;
  TCustomMemo::Change();
}

std::vector<std::string> TMemo::Lines() const { return SplitLines(Text()); }

void TMemo::AddLine(const std::string& line) { AddLines({line}); }

void TMemo::AddLines(const std::vector<std::string>& lines) {
  if (lines.empty()) return;
  std::string text = Text();
  if (!text.empty() && text.back() != '\n' && text.back() != '\r') text += "\r\n";
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  const bool modified = FModified;
  SetText(text);
  FModified = modified;
}

namespace {

bool IsUtf8(const std::string& bytes) {
  std::string again;
  for (uint32_t cp : Utf8CodePoints(bytes)) AppendUtf8(again, cp);
  return again == bytes;
}

}  // namespace

void TMemo::LoadFromFile(const std::string& fileName) {
  const std::string raw = ReadFileText(fileName);
  // A file that is not UTF-8 is read as Windows-1252 and goes back so.
  const bool utf8 = IsUtf8(raw);
  const std::string bytes = utf8 ? raw : Cp1252ToUtf8(raw);
  FCodePage1252 = !utf8;
  std::string text = JoinCrLf(SplitLines(bytes));
  // A file without a final line break keeps it that way.
  if (!bytes.empty() && bytes.back() != '\n' && bytes.back() != '\r' && text.size() >= 2)
    text.resize(text.size() - 2);
  SetText(text);
  const std::string lineBreak = FirstLineBreak(bytes);
  if (!lineBreak.empty()) FLineBreak = lineBreak;
  if (QPlainTextEdit* w = EditOf(this)) w->document()->clearUndoRedoStacks();
}

void TMemo::SaveToFile(const std::string& fileName) {
  std::string text = Join(SplitLines(Text()), FLineBreak);
  const std::string& t = Text();
  if (!t.empty() && t.back() != '\n' && t.back() != '\r' && !text.empty()) text.resize(text.size() - FLineBreak.size());
  if (FCodePage1252) {
    std::string encoded;
    if (!Utf8ToCp1252(text, encoded))
      throw EInOutError("The text holds characters that " + fileName + " cannot hold (Windows-1252)", 0);
    text = std::move(encoded);
  }
  WriteFileText(fileName, text);
}

std::u16string TMemo::WideText() const {
  if (QPlainTextEdit* w = EditOf(this)) {
    const QString q = w->toPlainText();
    return std::u16string(reinterpret_cast<const char16_t*>(q.utf16()), static_cast<size_t>(q.size()));
  }
  QString q = ToQString(Text());
  q.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return std::u16string(reinterpret_cast<const char16_t*>(q.utf16()), static_cast<size_t>(q.size()));
}

void TMemo::SetSel(int start, int length) {
  const_cast<TMemo*>(this)->HandleNeeded();
  QPlainTextEdit* w = EditOf(this);
  if (!w) return;
  const int n = w->document()->characterCount() - 1;  // without the document's final separator
  start = std::clamp(start, 0, std::max(n, 0));
  const int end = std::clamp(start + std::max(length, 0), start, std::max(n, 0));
  QTextCursor c = w->textCursor();
  c.setPosition(start);
  c.setPosition(end, QTextCursor::KeepAnchor);
  w->setTextCursor(c);
}

void TMemo::SetSelLength(int v) { SetSel(SelStart(), v); }

std::string TMemo::SelText() const {
  if (QPlainTextEdit* w = EditOf(this)) {
    QString s = w->textCursor().selectedText();
    s.replace(QChar(0x2029), QStringLiteral("\r\n"));
    return FromQString(s);
  }
  return {};
}

void TMemo::SetHideSelection(bool v) {
  FHideSelection = v;
  if (QPlainTextEdit* w = EditOf(this)) ApplySelectionShown(w, v);
}

TPoint TMemo::CaretPos() const {
  if (QPlainTextEdit* w = EditOf(this)) {
    const QTextCursor c = w->textCursor();
    return TPoint{c.positionInBlock(), c.blockNumber()};
  }
  return TPoint{0, 0};
}

void TMemo::ScrollCaret() {
  if (QPlainTextEdit* w = EditOf(this)) w->ensureCursorVisible();
}

bool TMemo::CanUndo() const {
  if (QPlainTextEdit* w = EditOf(this)) return w->document()->isUndoAvailable();
  return false;
}

void TMemo::Undo() { Perform(WM_UNDO, 0, 0); }
void TMemo::CutToClipboard() { Perform(WM_CUT, 0, 0); }
void TMemo::CopyToClipboard() { Perform(WM_COPY, 0, 0); }
void TMemo::PasteFromClipboard() { Perform(WM_PASTE, 0, 0); }

TRichEdit::TRichEdit(TComponent* AOwner) : TMemo(AOwner) {}

void TRichEdit::Print(const std::string& title) {
  TPrinterText out;
  out.SetFont(Font());
  out.Open(title);
  try {
    for (const std::string& line : Lines()) out.WriteLn(line);
  } catch (...) {
    if (Printer()->Printing()) Printer()->Abort();
    throw;
  }
  out.Close();
}

TPrinterText::TPrinterText(TPrinter* printer)
    : FPrinter(printer ? printer : Printer()), FFont(std::make_unique<TFont>()) {}

TPrinterText::~TPrinterText() {
  if (FOpen && FPrinter->Printing()) {
    try {
      FPrinter->EndDoc();
    } catch (...) {
    }
  }
}

void TPrinterText::Open(const std::string& title) {
  FPrinter->SetTitle(title);
  FPrinter->BeginDoc();
  FOpen = true;
  FY = 0;
  FLines = 0;
  FPages = 1;
  FPrinter->Canvas()->SetFont(FFont.get());
}

void TPrinterText::SetFont(const TFont* font) {
  FFont->Assign(font);
  if (FOpen) FPrinter->Canvas()->SetFont(FFont.get());
}

void TPrinterText::WriteLn(const std::string& line) {
  if (!FOpen) throw EPrinter("Printing not in progress");
  TCanvas* c = FPrinter->Canvas();
  const int h = std::max(1, c->TextHeight("Wg"));
  if (FY > 0 && FY + h > FPrinter->PageHeight()) {
    FPrinter->NewPage();
    c = FPrinter->Canvas();
    c->SetFont(FFont.get());
    FY = 0;
    ++FPages;
  }
  if (!line.empty()) c->TextOut(0, FY, line);
  FY += h;
  ++FLines;
}

void TPrinterText::Close() {
  if (!FOpen) return;
  FOpen = false;
  FPrinter->EndDoc();
}
