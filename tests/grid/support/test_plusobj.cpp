// Integer lists with their change events, sort columns with the direction in
// bit 31, and the owned list of cell controls.
#include "grid/support/plusobj.h"

#include <gtest/gtest.h>

#include "platform/rtl/exceptions.h"

namespace {

TEST(IntList, ChangesFireTheEventWithTheListsCell) {
  TIntList list(2, 7);
  std::vector<std::tuple<TObject*, int, int>> events;
  list.OnChange = [&](TObject* s, int c, int r) { events.emplace_back(s, c, r); };
  list.SetCommaText("3,1,2");
  EXPECT_EQ(list.GetCommaText(), "3,1,2");
  EXPECT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0], std::make_tuple(static_cast<TObject*>(&list), 2, 7));
  events.clear();
  list.InsertValue(0, 9);  // no event
  list.DeleteValue(1);     // no event
  list.DeleteValue(42);    // absent: nothing
  EXPECT_TRUE(events.empty());
  EXPECT_EQ(list.GetCommaText(), "9,3,2");
  list.SetItem(1, -4);
  list.AddValue(5);
  list.DeleteIndex(0);
  EXPECT_EQ(events.size(), 3u);
  EXPECT_EQ(list.GetCommaText(), "-4,2,5");
  EXPECT_TRUE(list.HasValue(-4));
  EXPECT_FALSE(list.HasValue(9));
  EXPECT_THROW(list.GetItem(3), EListError);
  EXPECT_THROW(list.SetItem(-1, 0), EListError);
}

TEST(IntList, BadCommaTextRaisesAfterTheGoodItems) {
  TIntList list(0, 0);
  int events = 0;
  list.OnChange = [&](TObject*, int, int) { ++events; };
  list.AddValue(8);
  EXPECT_THROW(list.SetCommaText("3,x"), EConvertError);
  EXPECT_EQ(list.GetCommaText(), "3");
  EXPECT_EQ(events, 2);
  list.SetCommaText("");
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.GetCommaText(), "");
}

TEST(SortIndexList, DirectionLivesInBit31) {
  TSortIndexList list;
  int events = 0;
  list.OnChange = [&](TObject*, int c, int r) {
    EXPECT_EQ(c, -1);
    EXPECT_EQ(r, -1);
    ++events;
  };
  list.AddIndex(2, true);
  list.AddIndex(4, false);
  EXPECT_EQ(static_cast<uint32_t>(list.GetItem(1)), 0x80000004u);
  EXPECT_EQ(list.FindIndex(4), 1);
  EXPECT_EQ(list.FindIndex(3), -1);
  EXPECT_EQ(list.GetSortColumn(1), 4);
  EXPECT_FALSE(list.Ascending(1));
  list.ToggleDirection(4);
  EXPECT_EQ(list.GetItem(1), 4);
  EXPECT_TRUE(list.Ascending(1));
  list.ToggleDirection(7);  // absent
  EXPECT_EQ(events, 3);
}

TEST(ControlList, OwnsItsEntries) {
  TControlList list;
  list.Add(1, 2, nullptr);
  list.Add(3, 4, nullptr);
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(list.GetControl(1)->Col, 3);
  EXPECT_EQ(list.GetControl(1)->Row, 4);
  list.Delete(0);
  EXPECT_EQ(list.GetControl(0)->Col, 3);
  EXPECT_THROW(list.GetControl(1), EListError);
}

}  // namespace
