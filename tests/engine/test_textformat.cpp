// The engine's printf for its files: what printf writes in the "C" locale,
// whatever locale the process has.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/textformat.h"
#include "support/testlocale.h"

TEST(TextFormat, FloatsAsTheCLocaleWritesThem) {
  const char* formats[] = {"%.4f", "%9.5f", "%-9.3f|", "%+.2e", "%14.6g", "%G",  "%08.3f", "% .1f",
                           "%.0f", "%e",    "%10.4E", "%-+12.5g|", "%g",  "%.3g", "%f",    "%5.1f"};
  const double values[] = {0,     -0.0,    3.8,    -3.80001, 1.5406, 0.00001234, 1e20,    -2.5e-300,
                           123456789.125, 0.5, 2.5, 999999.5, 1e-5, std::numeric_limits<double>::infinity(),
                           -std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()};
  TScopedLocale comma;
  ASSERT_TRUE(comma.Active());
  for (const char* f : formats)
    for (double v : values) EXPECT_EQ(Printf(f, v), testlocale::CFormat(f, v)) << f << " of " << v;
}

TEST(TextFormat, OtherConversionsWidthsAndStars) {
  TScopedLocale comma;
  ASSERT_TRUE(comma.Active());
  EXPECT_EQ(Printf("%5d|%-4s|%zu|%ld|%x|%c|%%|%3d%%", 42, "ab", std::size_t{7}, -5L, 255, 'Q', 9), "   42|ab  |7|-5|ff|Q|%|  9%");
  EXPECT_EQ(Printf("%*.*f|%-*d|%.*s", 8, 2, 1.005, 4, 3, 2, "xyz"), testlocale::CFormat("%*.*f|%-*d|%.*s", 8, 2, 1.005, 4, 3, 2, "xyz"));
  EXPECT_EQ(Printf("%*.1f|", -7, 2.25), "2.2    |");
  EXPECT_EQ(Printf("%Lf %.3Lg", 1.25L, 1234.5L), "1.250000 1.23e+03");
  EXPECT_EQ(Printf("%lld %llu %hd", -9000000000LL, 18000000000ULL, 12), "-9000000000 18000000000 12");
  EXPECT_EQ(Printf("cell %.5f %.5f %.5f %.4f", 3.8, 3.8, 3.8, 90.0), "cell 3.80000 3.80000 3.80000 90.0000");
  // Longer than any fixed buffer: nothing is cut.
  const std::string title(2000, 't');
  EXPECT_EQ(Printf("%s %.2f", title.c_str(), 1.5), title + " 1.50");
  EXPECT_EQ(Printf("%.1f", 1e300).size(), 303u);
}
