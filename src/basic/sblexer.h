// The lexer: one line of macro source becomes a list of classified tokens,
// and a leading label is cut off a line before that.
#pragma once

#include <string>

#include "basic/sbcodelist.h"

// Names, keywords and type names are kept to this many characters.
constexpr std::size_t TokenNameMax = 32;

// The tokens of one line (at most 255 characters, in the case written). The
// code list supplies the type list that type names are looked up in.
TSBTokenList Tokenize(const TSBCodeList& list, const std::string& line);
// Splits a leading "label:" off the line and registers the label in the code
// list's Labels with the index of its next code entry. True (an error) for
// a label with characters other than A-Z, 0-9, "~" and "_", or one already
// defined in this code list.
bool CutLabel(TSBCodeList& list, std::string& line);
// 1-based position of the first ":" outside quotes; -1 when none.
int FindLabelColon(const std::string& line);
