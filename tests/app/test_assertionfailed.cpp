// A window that holds both a chart and a grid sees one assertion failure:
// the chart's value lists and the grid's wide-character check raise the same
// exception class.
#include <gtest/gtest.h>

#include "chart/core/grengine.h"
#include "grid/support/psguni.h"
#include "platform/rtl/exceptions.h"

namespace {

TEST(AssertionFailed, ChartAndGridRaiseTheOneClass) {
  TChartValueList list(nullptr, "Y");
  EXPECT_THROW(list.SetCount(-1), EAssertionFailed);
  TMessage notAChar{WM_KEYDOWN, 'a', 0, 0};
  try {
    StashWideChar(notAChar);
    FAIL();
  } catch (const EAssertionFailed& e) {
    EXPECT_EQ(e.Message(), "Assertion failed (PsgUni)");
  }
}

}  // namespace
