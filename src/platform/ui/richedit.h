// The memo and the rich edit of the text windows: plain-text load and save
// (the save is atomic), undo, the modified flag, the selection (optionally
// kept visible when the control loses the focus), the caret's line and
// column, the default text attributes (the control's font) and printing.
//
// Positions (SelStart, SelLength, SetSel) count the characters of
// WideText(): one UTF-16 unit per character and one per line break, which
// is how the widget counts them. Text() keeps CR LF line breaks.
//
// The rich edit adds formatted text, RTF in and out, and drawing onto any
// canvas (see TRichEdit).
//
// Also the text stream to the printer (TPrinterText): lines written to it are
// printed in its font, a new page begun when a page is full.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/graphics.h"
#include "platform/ui/editctrls.h"
#include "platform/ui/rtftext.h"

// The character tests text searches use, per UTF-16 unit: a letter or a
// digit of any script; the lower case (one unit for one unit).
bool IsCharAlphaNumericW(char16_t c);
char16_t CharLowerW(char16_t c);

class TMemo : public TCustomMemo {
  ZV_CLASS(TMemo)
public:
  explicit TMemo(TComponent* AOwner);

  // Setting the text (from code) clears the modified flag; every change the
  // user makes sets it.
  void SetText(const std::string& v) override;
  bool Modified() const { return FModified; }
  void SetModified(bool v) { FModified = v; }

  // The lines of the text (no trailing empty line for a final line break).
  std::vector<std::string> Lines() const;
  int LineCount() const { return static_cast<int>(Lines().size()); }
  // Empties the text; the next save writes UTF-8 with LF line breaks.
  void Clear() {
    SetText("");
    FLineBreak = "\n";
    FCodePage1252 = false;
  }
  // Appends a line (lines), as the class library's Lines.Add does; the
  // modified flag stays as it was. Each call costs the length of the text.
  void AddLine(const std::string& line);
  void AddLines(const std::vector<std::string>& lines);

  // The line break SaveToFile writes: LF, or the first one of the file
  // loaded last (so a file goes back with the breaks it came with).
  const std::string& LineBreak() const { return FLineBreak; }
  void SetLineBreak(const std::string& v) { FLineBreak = v; }
  // Reads the file's bytes as the text (CR LF, LF or CR line breaks; bytes
  // that are not UTF-8 as Windows-1252, and SaveToFile then writes that);
  // raises EInOutError (with the file name) when it cannot be read, and the
  // text is then left as it was. Clears the modified flag and the undo.
  void LoadFromFile(const std::string& fileName);
  // Writes the text with LineBreak through the atomic save; raises
  // EInOutError when it cannot, the file on disk being left as it was.
  void SaveToFile(const std::string& fileName);

  // The text as positions count it.
  std::u16string WideText() const;
  void SetSelLength(int v);
  void SetSel(int start, int length);
  std::string SelText() const;
  // Keeps the selection shown while the control has no focus (false) or
  // hides it then (true, the default).
  bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool v);
  // Caret line and column, both 0-based (x column, y line).
  TPoint CaretPos() const;
  // Scrolls the caret into view.
  void ScrollCaret();

  bool CanUndo() const;
  void Undo();
  void CutToClipboard();
  void CopyToClipboard();
  void PasteFromClipboard();

protected:
  void CreateWnd() override;
  void Change() override;
  // The bytes of a text file or stream as the text: CR LF, LF or CR line
  // breaks; bytes that are not UTF-8 as Windows-1252 (SaveToFile then
  // writes that). Clears the modified flag and the undo.
  void LoadBytes(const std::string& raw);

private:
  std::string FLineBreak = "\n";
  bool FCodePage1252 = false;
  bool FModified = false;
  bool FHideSelection = true;
  bool FSettingText = false;
};

// The text attributes of a selection: font name, size in points, style and
// colour.
struct TTextAttributes {
  std::string Name;
  int Size = 0;
  TFontStyles Style;
  TColor Color = clWindowText;
  bool operator==(const TTextAttributes&) const = default;
};

class TStream;

// The rich edit: text with character formats (font, size, style, colour)
// and paragraph alignment, as RTF documents carry them (see rtftext.h); the
// text editor uses it for plain text, with its font as the default
// attributes.
class TRichEdit : public TMemo {
  ZV_CLASS(TRichEdit)
public:
  explicit TRichEdit(TComponent* AOwner);
  // Plain text in the control's font (the formats go).
  void SetText(const std::string& v) override;
  // Streams and RTF conveniences hold plain text when true, RTF when false
  // (the default).
  bool PlainText() const { return FPlainText; }
  void SetPlainText(bool v) { FPlainText = v; }
  TFont* DefAttributes() const { return Font(); }
  void SetDefAttributes(const TFont* v) { SetFont(v); }

  // Reads the stream from its position to its end: bytes that begin with
  // "{\rtf" as an RTF document (unless PlainText), others as plain text
  // (UTF-8, or Windows-1252 when they are not). Clears the modified flag
  // and the undo.
  void LoadFromStream(TStream* S);
  // Writes the content at the stream's position: RTF, or with PlainText
  // the text (UTF-8, CR LF line breaks).
  void SaveToStream(TStream* S);
  // The content as an RTF document; SetRTFText loads a text as
  // LoadFromStream would (ignoring PlainText).
  std::string RTFText() const;
  void SetRTFText(const std::string& v);
  TRTFDocument Document() const;
  void SetDocument(const TRTFDocument& Doc);

  // The attributes at the start of the selection (of the text typed next
  // when nothing is selected).
  TTextAttributes SelAttributes() const;
  // Applies to the selection (or the text typed next) those attributes that
  // differ from SelAttributes(), so that changing one field of what
  // SelAttributes() returned keeps the others as each run has them.
  void SetSelAttributes(const TTextAttributes& v);
  // Fired when the selection or the caret moves.
  TNotifyEvent OnSelectionChange;

  // The text area inside the client area: the text is laid out and shown
  // inside R only. Its distances to the client edges are kept when the
  // control is resized.
  void SetFormattingRect(const TRect& R);
  TRect FormattingRect() const;

  // Sends the control (Perform, so a descendant's WndProc and Dispatch see
  // it) CN_NOTIFY with a TReqResize whose code is EN_REQUESTRESIZE and whose
  // rectangle is the size the content needs: laid out at the control's
  // width, that width (with WordWrap off: the widest line) and the height of
  // the text.
  void RequestSize();
  // True: a resize request follows every change of the content.
  bool RequestResizeEvents() const { return FRequestResize; }
  void SetRequestResizeEvents(bool v) { FRequestResize = v; }

  // Draws the content laid out at R's width (wrapped as WordWrap says) into
  // R of any canvas, clipped to R, without filling the background. On a
  // device of another resolution (a printer) the text keeps its size in
  // inches.
  void RenderTo(TCanvas* Canvas, const TRect& R);

  // Prints the text in the default attributes as one document with that
  // title; raises EPrinter when there is no printer.
  void Print(const std::string& title);

protected:
  void CreateWnd() override;
  bool RichWidget() const override { return true; }
  void BoundsChanged(bool sizeChanged) override;
  // Its colour is the background of the text.
  void CMColorChanged(TMessage& M) override;
  virtual void SelectionChange();

private:
  void ApplyFormattingRect();
  void ApplyColor();
  bool FPlainText = false;
  bool FRequestResize = false;
  bool FLoading = false;
  bool FHasFormattingRect = false;
  TRect FMargins{};  // of the formatting rectangle to the client edges
  int FSelAnchor = 0, FSelPosition = 0;
};

class TPrinter;

// A text stream to the printer: Open begins the document, WriteLn prints a
// line below the last one (tabs every 8 characters are not expanded; the
// printer's font draws them), Close ends the document. The font can change
// between lines. A line that does not fit the page width is cut, not wrapped.
class TPrinterText {
public:
  explicit TPrinterText(TPrinter* printer = nullptr);
  ~TPrinterText();
  TPrinterText(const TPrinterText&) = delete;
  TPrinterText& operator=(const TPrinterText&) = delete;
  // Raises EPrinter when there is no printer.
  void Open(const std::string& title);
  void SetFont(const TFont* font);
  void WriteLn(const std::string& line);
  void Close();
  bool IsOpen() const { return FOpen; }
  // Lines printed and pages begun since Open.
  int LinesWritten() const { return FLines; }
  int Pages() const { return FPages; }

private:
  TPrinter* FPrinter;
  std::unique_ptr<TFont> FFont;
  bool FOpen = false;
  int FY = 0;
  int FLines = 0;
  int FPages = 0;
};
