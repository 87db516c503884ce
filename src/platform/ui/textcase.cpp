#include "platform/ui/textcase.h"

#include <QString>

#include "platform/rtl/strutils.h"

namespace {

bool IsAscii(const std::string& s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

}  // namespace

std::string LocaleUpperCase(const std::string& s) {
  if (IsAscii(s)) return UpperCase(s);
  return QString::fromStdString(s).toUpper().toStdString();
}

std::string LocaleLowerCase(const std::string& s) {
  if (IsAscii(s)) return LowerCase(s);
  return QString::fromStdString(s).toLower().toStdString();
}
