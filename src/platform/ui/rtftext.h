// A small rich-text (RTF) reader and writer for cell texts and the
// clipboard: the plain text of a document and a document for a plain text.
// Formatting is not kept; text is UTF-8.
#pragma once

#include <string>

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
