// A small rich-text (RTF) reader and writer for cell texts and the
// clipboard. Text is UTF-8.
//
// Two levels: the plain text of a document and a document for a plain text;
// and a document model of formatted runs and paragraphs read from and
// written to RTF (character style, font, size and colour; paragraph
// alignment; tabs and line breaks).
#pragma once

#include <string>
#include <vector>

#include "platform/gfx/graphics.h"
#include "platform/ui/uitypes.h"

// True when the text starts as an RTF document ("{\rtf").
bool IsRTFDocument(const std::string& Text);
// The document's text: paragraphs and line breaks become CR LF (none after
// the last paragraph), \tab a TAB; \'hh is read in Windows-1252 and \uN as
// a character; font, colour and style tables, pictures and other optional
// destinations are skipped. Unbalanced braces end the text quietly.
std::string RTFToPlainText(const std::string& Rtf);
// A minimal document holding the text: line breaks as paragraphs, TABs as
// \tab, characters outside ASCII as \uN with a "?" fallback.
std::string PlainTextToRTF(const std::string& Text);

// The character formatting of a run. A field left at its default is not
// given by the document: whoever shows it uses its own (the default font,
// the control's size and text colour).
struct TRTFCharFormat {
  std::string FontName;      // empty: the document's default font
  int HalfPoints = 0;        // size in half points (\fsN); 0: not given
  TFontStyles Style;         // bold, italic, underline, strike-out
  TColor Color = clDefault;  // clDefault: the automatic colour
  bool operator==(const TRTFCharFormat&) const = default;
};

// Text in one format: TAB characters are tabs and LF characters line breaks
// inside the paragraph (\line).
struct TRTFRun {
  std::string Text;
  TRTFCharFormat Format;
  bool operator==(const TRTFRun&) const = default;
};

struct TRTFParagraph {
  TAlignment Alignment = taLeftJustify;
  std::vector<TRTFRun> Runs;
  // Appends text, joining it to the last run when the format is the same.
  void Add(const std::string& Text, const TRTFCharFormat& Format = {});
  // The text of the runs, line breaks as CR LF.
  std::string Text() const;
};

struct TRTFDocument {
  // The font (\deff) of text that names none.
  std::string DefaultFont;
  std::vector<TRTFParagraph> Paragraphs;
  // Paragraphs and line breaks as CR LF (none after the last paragraph).
  std::string PlainText() const;
  // Equal when the same text carries the same formats, however it is split
  // into runs.
  bool operator==(const TRTFDocument& Other) const;
};

// Reads a document. Keeps what the model holds and skips the rest (style
// sheets, pictures, fields' instructions, \* destinations, ...). The text of
// paragraphs is kept; a final paragraph mark does not start an empty
// paragraph. Damaged input never fails: unbalanced braces end the document,
// numbers are clipped, and groups nested deeper than the reader keeps share
// the state of the deepest kept group.
TRTFDocument RTFToDocument(const std::string& Rtf);
// Writes a minimal document: {\rtf1\ansi\deff0 with a font table (the
// default font first) and a colour table, one group per run, \par after each
// paragraph. RTFToDocument reads it back as the same document.
std::string DocumentToRTF(const TRTFDocument& Doc);
