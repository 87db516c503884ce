// The process locale in tests. Every test program takes its C and C++ locales
// from the environment at start, as the program does when its window system
// starts, so a run under LC_ALL=de_DE.UTF-8 shows every number that leans on the
// locale. TScopedLocale switches to a decimal-comma locale inside one test; the
// build makes that locale in its own folder (build/locale), so it never depends
// on what the machine has installed.
#pragma once

#include <gtest/gtest.h>

#include <locale.h>

#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <locale>
#include <stdexcept>
#include <string>

namespace testlocale {

inline constexpr const char* DecimalComma = "de_DE.UTF-8";

inline void AdoptEnvironmentLocale() {
  std::setlocale(LC_ALL, "");
  try {
    std::locale::global(std::locale(""));
  } catch (const std::runtime_error&) {
    // An environment naming a locale that does not exist leaves "C".
  }
}

// Sets the C and C++ locales to `name`, looking in the build's own locale
// folder when the machine does not have it; false when it exists nowhere.
inline bool SetProcessLocale(const char* name) {
  if (!std::setlocale(LC_ALL, name)) {
#ifdef ZELVORA_TEST_LOCPATH
    const char* path = std::getenv("LOCPATH");
    if (path && std::string(path) == ZELVORA_TEST_LOCPATH) return false;
    ::setenv("LOCPATH", ZELVORA_TEST_LOCPATH, 1);
    if (!std::setlocale(LC_ALL, name)) return false;
#else
    return false;
#endif
  }
  try {
    std::locale::global(std::locale(name));
  } catch (const std::runtime_error&) {
    return false;
  }
  return true;
}

// printf in the "C" locale whatever the process has, for fixtures written in
// the layout of the program that writes them.
inline std::string CFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));
inline std::string CFormat(const char* format, ...) {
  static const locale_t cLocale = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  const locale_t previous = ::uselocale(cLocale);
  std::va_list args;
  va_start(args, format);
  std::va_list again;
  va_copy(again, args);
  const int n = std::vsnprintf(nullptr, 0, format, args);
  std::string s(n > 0 ? static_cast<size_t>(n) : 0, '\0');
  if (n > 0) std::vsnprintf(s.data(), s.size() + 1, format, again);
  va_end(again);
  va_end(args);
  ::uselocale(previous);
  return s;
}

}  // namespace testlocale

// Runs the enclosing scope under another locale (the decimal-comma one by
// default) and restores the previous C and C++ locales when it ends. A locale
// that cannot be had fails the test: these tests never skip.
class TScopedLocale {
public:
  explicit TScopedLocale(const char* name = testlocale::DecimalComma)
      : FOldC(std::setlocale(LC_ALL, nullptr)), FOldCpp(std::locale()) {
    FActive = testlocale::SetProcessLocale(name);
    if (!FActive) ADD_FAILURE() << "the locale " << name << " is not available (the build makes it in build/locale)";
  }
  ~TScopedLocale() {
    std::locale::global(FOldCpp);
    std::setlocale(LC_ALL, FOldC.c_str());
  }
  TScopedLocale(const TScopedLocale&) = delete;
  TScopedLocale& operator=(const TScopedLocale&) = delete;

  bool Active() const { return FActive; }

private:
  std::string FOldC;
  std::locale FOldCpp;
  bool FActive = false;
};
