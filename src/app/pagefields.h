// Reading the numbers of an editor page before any of them is stored: a
// text that does not convert (a cell "8.48a", an empty edit) is refused with
// a message naming its field, and nothing of the page is written then.
#pragma once

#include <cstdint>
#include <string>

class TPageFields {
public:
  // The text's value; 0, and the page refused, when it does not convert.
  float Real(const std::string& Text, const std::string& Field);
  // The text's whole-number value, refused likewise.
  int Int(const std::string& Text, const std::string& Field);
  bool Ok() const { return FFailedField.empty(); }
  // The message naming the first field refused.
  std::string Message() const;
  // Shows the message when a field was refused; true when all converted.
  bool Check() const;

private:
  std::string FFailedField, FFailedText;
};

class TWinControl;
// Ctrl+C, Ctrl+V and Ctrl+X on the active control when it is a plain edit box.
void EditClipboardKey(TWinControl* Active, uint16_t Key, bool Ctrl);
// The shortest text that reads back as the same single.
std::string ShortestFloat(float Value);
