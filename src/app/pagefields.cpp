#include "app/pagefields.h"

#include <cmath>

#include "model/brkapart.h"
#include "platform/dialogs.h"
#include "platform/rtl/format.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/stdctrls.h"

float TPageFields::Real(const std::string& Text, const std::string& Field) {
  float value = 0;
  if (!TryTextToReal(Text, value) && Ok()) {
    FFailedField = Field;
    FFailedText = Text;
  }
  return value;
}

int TPageFields::Int(const std::string& Text, const std::string& Field) {
  float value = 0;
  const bool converts = TryTextToReal(Text, value);
  if ((!converts || value != std::trunc(value) || std::fabs(value) > 2e9f) && Ok()) {
    FFailedField = Field;
    FFailedText = Text;
    return 0;
  }
  return static_cast<int>(value);
}

std::string TPageFields::Message() const {
  if (Ok()) return {};
  const std::string field = TrimText(FFailedField);
  return field + " \"" + FFailedText + "\" is not a number. Nothing was saved.";
}

bool TPageFields::Check() const {
  if (Ok()) return true;
  ShowMessage(Message());
  return false;
}

void EditClipboardKey(TWinControl* Active, uint16_t Key, bool Ctrl) {
  auto* edit = dynamic_cast<TEdit*>(Active);
  if (!edit || !Ctrl) return;
  if (Key == 'C' || Key == 'X') {
    if (!edit->SelText().empty()) Clipboard()->SetAsText(edit->SelText());
    if (Key == 'X' && !edit->ReadOnly()) edit->SetSelText("");
  } else if (Key == 'V' && !edit->ReadOnly()) {
    edit->SetSelText(Clipboard()->AsText());
  }
}

std::string ShortestFloat(float Value) {
  // General format switches to an exponent early ("2.5E3" at 2 digits), so
  // the shortest of all the texts that read back wins.
  std::string best = FloatToStrF(Value, ffGeneral, 9, 0);
  for (int precision = 1; precision < 9; ++precision) {
    const std::string text = FloatToStrF(Value, ffGeneral, precision, 0);
    float back = 0;
    if (text.size() < best.size() && TryTextToReal(text, back) && back == Value) best = text;
  }
  return best;
}
