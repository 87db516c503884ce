#include "app/editorfields.h"

#include "model/brkapart.h"
#include "platform/dialogs.h"

float TFieldReader::Store(bool converted, double value, const std::string& text, const std::string& field) {
  // A value beyond a single's range would be stored as garbage: refused too.
  if (converted && FitsSingle(value)) return static_cast<float>(value);
  if (FError.empty()) FError = "\"" + TrimText(text) + "\" in " + FieldName(field) + " is not a number.";
  return 0;
}

float TFieldReader::Real(const std::string& text, const std::string& field) {
  double v = 0;
  const bool ok = TryTextToDouble(TrimText(text), v);
  return Store(ok, v, text, field);
}

float TFieldReader::Columns(const std::string& text, const std::string& field) {
  double v = 0;
  const bool ok = TryColumnsToReal(text, 1, 10, v);
  return Store(ok, v, text, field);
}

bool TFieldReader::Report() const {
  if (FError.empty()) return true;
  ShowMessage(FError);
  return false;
}

std::string FieldName(const std::string& caption) {
  std::string r;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&') {
      if (i + 1 < caption.size() && caption[i + 1] == '&') {
        r += '&';
        ++i;
      }
      continue;
    }
    r += caption[i];
  }
  while (!r.empty() && (r.back() == ':' || r.back() == ' ')) r.pop_back();
  return r;
}
