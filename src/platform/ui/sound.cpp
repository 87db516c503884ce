#include "platform/ui/sound.h"

#include <utility>

#include "platform/dialogs.h"

namespace {
TMessageBeepHook& BeepHook() {
  static TMessageBeepHook hook;
  return hook;
}
}  // namespace

TMessageBeepHook SetMessageBeepHook(TMessageBeepHook Hook) { return std::exchange(BeepHook(), std::move(Hook)); }

bool MessageBeep(unsigned Type) {
  if (BeepHook()) BeepHook()(Type);
  else Beep();
  return true;
}
