// Reading the numbers typed into a model editor before anything is stored:
// every field is read, and one that does not convert is named in a message,
// so a page is stored whole or not at all.
#pragma once

#include <string>

class TFieldReader {
public:
  // The whole trimmed text as a real.
  float Real(const std::string& text, const std::string& field);
  // The first ten characters, as the input file's columns hold a value.
  float Columns(const std::string& text, const std::string& field);
  // Shows the message for the first field that did not convert; true when
  // every field converted.
  bool Report() const;
  bool Ok() const { return FError.empty(); }
  const std::string& Error() const { return FError; }

private:
  float Store(bool converted, double value, const std::string& text, const std::string& field);
  std::string FError;
};

// A control's caption as a field name: without the colon and the '&' marks.
std::string FieldName(const std::string& caption);
