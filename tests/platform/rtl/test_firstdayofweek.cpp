// The first day of the week of the user's locale, as the calendar series
// reads it: from the environment's time locale, 0 (Monday) when the locale
// is missing, and fixed by tests.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "platform/rtl/formatsettings.h"

namespace {

// Sets LC_ALL for the scope and puts the previous value back.
class TScopedLcAll {
public:
  explicit TScopedLcAll(const char* value) {
    if (const char* old = std::getenv("LC_ALL")) FOld = old;
    setenv("LC_ALL", value, 1);
  }
  ~TScopedLcAll() {
    if (FOld) setenv("LC_ALL", FOld->c_str(), 1);
    else unsetenv("LC_ALL");
  }

private:
  std::optional<std::string> FOld;
};

}  // namespace

TEST(LocaleFirstDayOfWeek, ReadFromTheTimeLocaleUnlessFixed) {
  struct Case {
    const char* locale;
    int day;
  };
  // The C locale's week starts on Sunday, the German one on Monday; a
  // locale that is not installed tells nothing (Monday).
  const Case cases[] = {{"C", 6}, {"de_DE.UTF-8", 0}, {"xx_NOWHERE.UTF-8", 0}};
  for (const Case& c : cases) {
    TScopedLcAll scope(c.locale);
    EXPECT_EQ(LocaleFirstDayOfWeek(), c.day) << c.locale;
  }
  TScopedLcAll scope("C");
  SetLocaleFirstDayOfWeek(2);
  EXPECT_EQ(LocaleFirstDayOfWeek(), 2);
  SetLocaleFirstDayOfWeek(9);  // out of range: back to the locale's
  EXPECT_EQ(LocaleFirstDayOfWeek(), 6);
  SetLocaleFirstDayOfWeek(-1);
}
