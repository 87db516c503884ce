#include "platform/ui/richedit.h"

#include <QAbstractTextDocumentLayout>
#include <QPalette>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <cmath>

#include "platform/gfx/printer.h"
#include "platform/rtl/codepages.h"
#include "platform/rtl/textfile.h"
#include "platform/rtl/streams.h"
#include "platform/ui/qt_memo.h"
#include "platform/ui/qt_ui.h"

namespace {

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

void ApplySelectionShown(QWidget* w, bool hide) {
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
  if (const TMemoWidget w{this}) ApplySelectionShown(w.Area(), FHideSelection);
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
  LoadBytes(ReadRegularFile(fileName, MaxTextFileSize, "a text to edit"));
}

void TMemo::LoadBytes(const std::string& raw) {
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
  if (const TMemoWidget w{this}) w.Document()->clearUndoRedoStacks();
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
  if (const TMemoWidget w{this}) {
    const QString q = w.ToPlainText();
    return std::u16string(reinterpret_cast<const char16_t*>(q.utf16()), static_cast<size_t>(q.size()));
  }
  QString q = ToQString(Text());
  q.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return std::u16string(reinterpret_cast<const char16_t*>(q.utf16()), static_cast<size_t>(q.size()));
}

void TMemo::SetSel(int start, int length) {
  const_cast<TMemo*>(this)->HandleNeeded();
  const TMemoWidget w(this);
  if (!w) return;
  const int n = w.Document()->characterCount() - 1;  // without the document's final separator
  start = std::clamp(start, 0, std::max(n, 0));
  const int end = std::clamp(start + std::max(length, 0), start, std::max(n, 0));
  QTextCursor c = w.TextCursor();
  c.setPosition(start);
  c.setPosition(end, QTextCursor::KeepAnchor);
  w.SetTextCursor(c);
}

void TMemo::SetSelLength(int v) { SetSel(SelStart(), v); }

std::string TMemo::SelText() const {
  if (const TMemoWidget w{this}) {
    QString s = w.TextCursor().selectedText();
    s.replace(QChar(0x2029), QStringLiteral("\r\n"));
    s.replace(QChar(0x2028), QStringLiteral("\r\n"));
    return FromQString(s);
  }
  return {};
}

void TMemo::SetHideSelection(bool v) {
  FHideSelection = v;
  if (const TMemoWidget w{this}) ApplySelectionShown(w.Area(), v);
}

TPoint TMemo::CaretPos() const {
  if (const TMemoWidget w{this}) {
    const QTextCursor c = w.TextCursor();
    return TPoint{c.positionInBlock(), c.blockNumber()};
  }
  return TPoint{0, 0};
}

void TMemo::ScrollCaret() {
  if (const TMemoWidget w{this}) w.EnsureCursorVisible();
}

bool TMemo::CanUndo() const {
  if (const TMemoWidget w{this}) return w.Document()->isUndoAvailable();
  return false;
}

void TMemo::Undo() { Perform(WM_UNDO, 0, 0); }
void TMemo::CutToClipboard() { Perform(WM_CUT, 0, 0); }
void TMemo::CopyToClipboard() { Perform(WM_COPY, 0, 0); }
void TMemo::PasteFromClipboard() { Perform(WM_PASTE, 0, 0); }

// ---------------------------------------------------------------------------
// TRichEdit

namespace {

// The font name and size a format was given, kept beside Qt's own (which
// hold the mapped family and the pixel size).
constexpr int FontNameProperty = QTextFormat::UserProperty + 1;
constexpr int HalfPointsProperty = QTextFormat::UserProperty + 2;

constexpr int MinHalfPoints = 2, MaxHalfPoints = 3276;

int PixelsOfHalfPoints(int halfPoints) {
  return static_cast<int>(std::lround(halfPoints * ScreenPixelsPerInch / 144.0));
}

Qt::Alignment QtAlignment(TAlignment a) {
  switch (a) {
    case taCenter: return Qt::AlignHCenter;
    case taRightJustify: return Qt::AlignRight;
    default: return Qt::AlignLeft;
  }
}

TAlignment AlignmentOf(Qt::Alignment a) {
  if (a & Qt::AlignHCenter) return taCenter;
  if (a & (Qt::AlignRight | Qt::AlignTrailing)) return taRightJustify;
  return taLeftJustify;
}

void SetFontName(QTextCharFormat& q, const std::string& name) {
  TFont font;
  font.SetName(name);
  q.setFontFamilies(QStringList{GfxMakeQFont(font).family()});
  q.setProperty(FontNameProperty, ToQString(name));
}

void SetHalfPoints(QTextCharFormat& q, int halfPoints) {
  halfPoints = std::clamp(halfPoints, MinHalfPoints, MaxHalfPoints);
  q.setProperty(QTextFormat::FontPixelSize, PixelsOfHalfPoints(halfPoints));
  q.setProperty(HalfPointsProperty, halfPoints);
}

void SetStyle(QTextCharFormat& q, TFontStyle style, bool on) {
  switch (style) {
    case fsBold: q.setFontWeight(on ? QFont::Bold : QFont::Normal); break;
    case fsItalic: q.setFontItalic(on); break;
    case fsUnderline: q.setFontUnderline(on); break;
    case fsStrikeOut: q.setFontStrikeOut(on); break;
  }
}

constexpr TFontStyle AllStyles[] = {fsBold, fsItalic, fsUnderline, fsStrikeOut};

// A run's format; what the run leaves open is the document's default.
QTextCharFormat CharFormatOf(const TRTFCharFormat& f, const std::string& defaultFont) {
  QTextCharFormat q;
  const std::string& name = f.FontName.empty() ? defaultFont : f.FontName;
  if (!name.empty()) SetFontName(q, name);
  if (f.HalfPoints > 0) SetHalfPoints(q, f.HalfPoints);
  for (TFontStyle s : AllStyles) SetStyle(q, s, f.Style.Contains(s));
  if (f.Color != clDefault) q.setForeground(GfxToQColor(f.Color));
  return q;
}

// A fragment's format with every field given: what the fragment leaves
// open is the control's font.
TRTFCharFormat RunFormatOf(const QTextCharFormat& q, const TFont& font) {
  TRTFCharFormat f;
  f.FontName = q.hasProperty(FontNameProperty) ? FromQString(q.stringProperty(FontNameProperty)) : font.Name();
  if (q.hasProperty(HalfPointsProperty)) f.HalfPoints = q.intProperty(HalfPointsProperty);
  else if (q.hasProperty(QTextFormat::FontPixelSize))
    f.HalfPoints = static_cast<int>(std::lround(q.intProperty(QTextFormat::FontPixelSize) * 144.0 / ScreenPixelsPerInch));
  else f.HalfPoints = font.Size() * 2;
  f.HalfPoints = std::clamp(f.HalfPoints, MinHalfPoints, MaxHalfPoints);
  const TFontStyles own = font.Style();
  auto style = [&](TFontStyle s, int property, bool given) {
    if (q.hasProperty(property) ? given : own.Contains(s)) f.Style.Include(s);
  };
  style(fsBold, QTextFormat::FontWeight, q.fontWeight() >= QFont::DemiBold);
  style(fsItalic, QTextFormat::FontItalic, q.fontItalic());
  style(fsUnderline, QTextFormat::TextUnderlineStyle, q.fontUnderline());
  style(fsStrikeOut, QTextFormat::FontStrikeOut, q.fontStrikeOut());
  if (q.hasProperty(QTextFormat::ForegroundBrush)) f.Color = GfxFromQColor(q.foreground().color());
  return f;
}

// A copy of the document laid out at a width (in pixels), wrapped or not.
std::unique_ptr<QTextDocument> LaidOut(const QTextDocument* source, double width, bool wrap) {
  std::unique_ptr<QTextDocument> d(source->clone());
  d->setUndoRedoEnabled(false);
  d->setDefaultFont(source->defaultFont());
  d->setDocumentMargin(0);
  QTextOption option = source->defaultTextOption();
  option.setWrapMode(wrap ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
  d->setDefaultTextOption(option);
  d->setTextWidth(std::max(0.0, width));
  return d;
}

}  // namespace

TRichEdit::TRichEdit(TComponent* AOwner) : TMemo(AOwner) {}

void TRichEdit::CreateWnd() {
  TMemo::CreateWnd();
  const TMemoWidget w(this);
  QTextEdit* rich = w.Rich();
  if (!rich) return;
  rich->document()->setDocumentMargin(0);
  rich->setBackgroundRole(QPalette::Base);
  rich->setAutoFillBackground(true);
  ApplyColor();
  ApplyFormattingRect();
  std::shared_ptr<bool> alive = Impl()->Alive;
  auto moved = [this, alive, rich] {
    if (!*alive) return;
    const QTextCursor c = rich->textCursor();
    if (c.anchor() == FSelAnchor && c.position() == FSelPosition) return;
    FSelAnchor = c.anchor();
    FSelPosition = c.position();
    GuardEvent(this, [this] { SelectionChange(); });
  };
  QObject::connect(rich, &QTextEdit::cursorPositionChanged, moved);
  QObject::connect(rich, &QTextEdit::selectionChanged, moved);
  QObject::connect(rich, &QTextEdit::textChanged, [this, alive] {
    if (*alive && FRequestResize && !FLoading) GuardEvent(this, [this] { RequestSize(); });
  });
}

void TRichEdit::SelectionChange() {
  if (OnSelectionChange) OnSelectionChange(this);
}

void TRichEdit::CMColorChanged(TMessage& M) {
  ApplyColor();
  TMemo::CMColorChanged(M);
}

void TRichEdit::ApplyColor() {
  if (const TMemoWidget w{this}) {
    QPalette p = w.Area()->palette();
    p.setColor(QPalette::Base, GfxToQColor(Color()));
    w.Area()->setPalette(p);
  }
}

void TRichEdit::SetText(const std::string& v) {
  // Plain text in the control's font: the formats of the text before go.
  if (const TMemoWidget w{this}) {
    QTextDocument* d = w.Document();
    FLoading = true;
    d->setUndoRedoEnabled(false);
    QTextCursor c(d);
    c.select(QTextCursor::Document);
    c.setCharFormat(QTextCharFormat());
    c.setBlockFormat(QTextBlockFormat());
    c.setBlockCharFormat(QTextCharFormat());
    c.clearSelection();
    w.SetTextCursor(c);
    w.Rich()->setCurrentCharFormat(QTextCharFormat());
    d->setUndoRedoEnabled(true);
    FLoading = false;
  }
  TMemo::SetText(v);
}

TRTFDocument TRichEdit::Document() const {
  const_cast<TRichEdit*>(this)->HandleNeeded();
  TRTFDocument doc;
  doc.DefaultFont = Font()->Name();
  const TMemoWidget w(this);
  if (!w) return doc;
  for (QTextBlock b = w.Document()->begin(); b.isValid(); b = b.next()) {
    TRTFParagraph p;
    p.Alignment = AlignmentOf(b.blockFormat().alignment());
    for (QTextBlock::iterator it = b.begin(); !it.atEnd(); ++it) {
      const QTextFragment f = it.fragment();
      if (!f.isValid()) continue;
      QString t = f.text();
      t.replace(QChar(QChar::LineSeparator), QChar('\n'));
      t.remove(QChar(QChar::ObjectReplacementCharacter));
      p.Add(FromQString(t), RunFormatOf(f.charFormat(), *Font()));
    }
    doc.Paragraphs.push_back(std::move(p));
  }
  return doc;
}

void TRichEdit::SetDocument(const TRTFDocument& Doc) {
  HandleNeeded();
  const TMemoWidget w(this);
  if (!w || !w.Rich()) return;
  QTextDocument* d = w.Document();
  FLoading = true;
  d->setUndoRedoEnabled(false);
  {
    QTextCursor c(d);
    c.beginEditBlock();
    c.select(QTextCursor::Document);
    c.removeSelectedText();
    c.setBlockCharFormat(QTextCharFormat());
    c.setCharFormat(QTextCharFormat());
    for (size_t i = 0; i < Doc.Paragraphs.size(); ++i) {
      const TRTFParagraph& p = Doc.Paragraphs[i];
      if (i > 0) c.insertBlock(QTextBlockFormat(), QTextCharFormat());
      QTextBlockFormat bf;
      bf.setAlignment(QtAlignment(p.Alignment));
      c.setBlockFormat(bf);
      for (const TRTFRun& r : p.Runs) {
        QString t = ToQString(r.Text);
        t.remove(QChar('\r'));
        t.replace(QChar('\n'), QChar(QChar::LineSeparator));
        c.insertText(t, CharFormatOf(r.Format, Doc.DefaultFont));
      }
    }
    c.endEditBlock();
  }
  d->setUndoRedoEnabled(true);
  QTextCursor start(d);
  w.SetTextCursor(start);
  w.Rich()->setCurrentCharFormat(start.charFormat());
  FLoading = false;
  SetModified(false);
  if (FRequestResize) RequestSize();
}

std::string TRichEdit::RTFText() const { return DocumentToRTF(Document()); }

void TRichEdit::SetRTFText(const std::string& v) {
  if (IsRTFDocument(v)) SetDocument(RTFToDocument(v));
  else LoadBytes(v);
}

void TRichEdit::LoadFromStream(TStream* S) {
  std::string bytes;
  char buffer[65536];
  for (int64_t n; (n = S->Read(buffer, sizeof buffer)) > 0;) bytes.append(buffer, static_cast<size_t>(n));
  if (!FPlainText && IsRTFDocument(bytes)) SetDocument(RTFToDocument(bytes));
  else LoadBytes(bytes);
}

void TRichEdit::SaveToStream(TStream* S) {
  const std::string bytes = FPlainText ? Text() : RTFText();
  S->WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

TTextAttributes TRichEdit::SelAttributes() const {
  const_cast<TRichEdit*>(this)->HandleNeeded();
  const TMemoWidget w(this);
  QTextCharFormat q;
  if (w && w.Rich()) {
    const QTextCursor c = w.TextCursor();
    if (c.hasSelection()) {
      // The format of the first selected character.
      QTextCursor first(w.Document());
      first.setPosition(c.selectionStart() + 1);
      q = first.charFormat();
    } else {
      q = w.Rich()->currentCharFormat();
    }
  }
  const TRTFCharFormat f = RunFormatOf(q, *Font());
  return TTextAttributes{f.FontName, (f.HalfPoints + 1) / 2, f.Style, f.Color == clDefault ? Font()->Color() : f.Color};
}

void TRichEdit::SetSelAttributes(const TTextAttributes& v) {
  const TTextAttributes now = SelAttributes();
  const TMemoWidget w(this);
  if (!w || !w.Rich()) return;
  QTextCharFormat q;
  if (v.Name != now.Name) SetFontName(q, v.Name);
  if (v.Size != now.Size) SetHalfPoints(q, v.Size * 2);
  for (TFontStyle s : AllStyles)
    if (v.Style.Contains(s) != now.Style.Contains(s)) SetStyle(q, s, v.Style.Contains(s));
  if (v.Color != now.Color) q.setForeground(GfxToQColor(v.Color));
  if (q.properties().isEmpty()) return;
  QTextCursor c = w.TextCursor();
  if (c.hasSelection()) c.mergeCharFormat(q);
  else w.Rich()->mergeCurrentCharFormat(q);
}

void TRichEdit::SetFormattingRect(const TRect& R) {
  FMargins = TRect{std::max(0, R.Left), std::max(0, R.Top), std::max(0, ClientWidth() - R.Right),
                   std::max(0, ClientHeight() - R.Bottom)};
  FHasFormattingRect = true;
  ApplyFormattingRect();
}

TRect TRichEdit::FormattingRect() const {
  return TRect{FMargins.Left, FMargins.Top, ClientWidth() - FMargins.Right, ClientHeight() - FMargins.Bottom};
}

void TRichEdit::ApplyFormattingRect() {
  const TMemoWidget w(this);
  if (!w || !FHasFormattingRect) return;
  if (auto* rich = dynamic_cast<TRichTextWidget*>(w.Rich()))
    rich->SetViewportMargins(QMargins(FMargins.Left, FMargins.Top, FMargins.Right, FMargins.Bottom));
}

void TRichEdit::BoundsChanged(bool sizeChanged) {
  TMemo::BoundsChanged(sizeChanged);
  if (sizeChanged) ApplyFormattingRect();
}

void TRichEdit::RequestSize() {
  HandleNeeded();
  const TMemoWidget w(this);
  if (!w) return;
  const std::unique_ptr<QTextDocument> d = LaidOut(w.Document(), Width(), WordWrap());
  const int width = WordWrap() ? Width() : static_cast<int>(std::ceil(d->idealWidth()));
  const int height = static_cast<int>(std::ceil(d->size().height()));
  TReqResize request;
  request.nmhdr.hwndFrom = Handle();
  request.nmhdr.code = EN_REQUESTRESIZE;
  request.rc = Rect(0, 0, width, height);
  // Sent while a key or other message of the widget is handled (a request
  // after each change): its own default handling must not make that message
  // look unhandled, or the widget would act on the key a second time.
  const bool defaultCalled = Impl()->DefaultCalled;
  Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&request));
  Impl()->DefaultCalled = defaultCalled;
}

void TRichEdit::RenderTo(TCanvas* Canvas, const TRect& R) {
  if (!Canvas || R.IsEmpty()) return;
  HandleNeeded();
  const TMemoWidget w(this);
  if (!w) return;
  const QTextDocument* source = w.Document();
  const QColor text = GfxToQColor(Font()->Color());
  const bool wrap = WordWrap();
  GfxPaintWithQt(Canvas, R, [&](QPainter& p, double units) {
    const double width = R.Width() / units, height = R.Height() / units;
    const std::unique_ptr<QTextDocument> d = LaidOut(source, width, wrap);
    p.translate(R.Left, R.Top);
    p.scale(units, units);
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, text);
    context.clip = QRectF(0, 0, width, height);
    d->documentLayout()->draw(&p, context);
  });
}


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
