// Shared services: caption texts, accelerators, settings and monitors.
#include <gtest/gtest.h>

#include "platform/ui/messages.h"
#include "platform/ui/shortcuts.h"
#include "platform/ui/syssettings.h"
#include "toolbar/tbcommon.h"

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "support/tempdir.h"

namespace {

TEST(TBCaptions, AmpersandsAndAccelerators) {
  struct TCase {
    const char* Caption;
    const char* Removed;
    char Accel;
  };
  const TCase cases[] = {
      {"&File", "File", 'F'},       {"Save &As", "Save As", 'A'},     {"R&&D", "R&D", 0},
      {"&&Both&&", "&Both&", 0},    {"&Open &", "Open ", 'O'},         {"A&b&c", "Abc", 'c'},
      {"Plain", "Plain", 0},        {"&", "", 0},                       {"x&&&y", "x&y", 'y'},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RemoveAmpersands(c.Caption), c.Removed) << c.Caption;
    EXPECT_EQ(AcceleratorOf(c.Caption), c.Accel) << c.Caption;
  }
  EXPECT_EQ(DoubleAmpersands("R&D & more"), "R&&D && more");
  EXPECT_EQ(RemoveAmpersands(DoubleAmpersands("a&b&&c")), "a&b&&c");
}

TEST(TBCaptions, TrimTrailingColonOrEllipsis) {
  EXPECT_EQ(TrimTrailingColonOrEllipsis("Name:"), "Name");
  EXPECT_EQ(TrimTrailingColonOrEllipsis(":"), ":");
  EXPECT_EQ(TrimTrailingColonOrEllipsis("Open..."), "Open");
  EXPECT_EQ(TrimTrailingColonOrEllipsis("..."), "...");
  EXPECT_EQ(TrimTrailingColonOrEllipsis("Save"), "Save");
}

TEST(TBShortCuts, TextFormsRoundTrip) {
  struct TCase {
    TShortCut Sc;
    const char* Text;
  };
  const TCase cases[] = {
      {ShortCut('S', {ssCtrl}), "Ctrl+S"},
      {ShortCut(VK_F5, {ssShift, ssCtrl}), "Shift+Ctrl+F5"},
      {ShortCut(VK_DELETE, {}), "Del"},
      {ShortCut(VK_RETURN, {ssAlt}), "Alt+Enter"},
      {ShortCut('7', {ssCtrl, ssAlt}), "Ctrl+Alt+7"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ShortCutToText(c.Sc), c.Text);
    EXPECT_EQ(TextToShortCut(c.Text), c.Sc) << c.Text;
  }
  EXPECT_EQ(TextToShortCut("ctrl+s"), ShortCut('S', {ssCtrl}));
  EXPECT_EQ(TextToShortCut("Ctrl+"), 0);
  EXPECT_EQ(TextToShortCut("Hyper+Q"), 0);
  EXPECT_EQ(ShortCutToText(0), "");
}

TEST(TBSettings, FixedDefaultsThatTestsCanChange) {
  ResetSystemSettings();
  EXPECT_EQ(MenuShowDelay(), 400);
  EXPECT_FALSE(FlatMenusOn());
  // Offscreen: popups show at once.
  EXPECT_FALSE(SystemSettings().MenuAnimation);
  SystemSettings().MenuShowDelay = -5;
  EXPECT_EQ(MenuShowDelay(), 0);
  SystemSettings().KeyboardCues = false;
  EXPECT_FALSE(KeyboardCuesOn());
  ResetSystemSettings();
  EXPECT_EQ(MenuShowDelay(), 400);
}

TEST(TBMonitors, NearestMonitorAndItsWorkArea) {
  SetTestMonitors({{TRect(0, 0, 1024, 768), TRect(0, 0, 1024, 740), true},
                   {TRect(1024, 0, 2304, 1024), TRect(1024, 30, 2304, 1024), false}});
  EXPECT_TRUE(SeveralMonitorsInUse());
  EXPECT_EQ(MonitorRectForPoint(TPoint(100, 100), true), TRect(0, 0, 1024, 740));
  EXPECT_EQ(MonitorRectForPoint(TPoint(1500, 900), false), TRect(1024, 0, 2304, 1024));
  // Outside every monitor: the nearest.
  EXPECT_EQ(MonitorRectForPoint(TPoint(3000, 10), true), TRect(1024, 30, 2304, 1024));
  // A rectangle across both: the one it overlaps most.
  EXPECT_EQ(MonitorRectForRect(TRect(900, 10, 1300, 50), false), TRect(1024, 0, 2304, 1024));
  EXPECT_EQ(ScreenOrWorkAreaRect(true), TRect(0, 0, 1024, 740));

  SetTestMonitors({{TRect(0, 0, 800, 600), TRect(0, 0, 800, 570), true}});
  EXPECT_FALSE(SeveralMonitorsInUse());
  EXPECT_EQ(MonitorRectForPoint(TPoint(5000, 5000), true), TRect(0, 0, 800, 570));
  SetTestMonitors({});
  EXPECT_FALSE(Monitors().empty());
}

TEST(TBOutline, FrameRegionIsTheRingOfTheRectangle) {
  TRegion r = FrameRegion(TRect(0, 0, 10, 8), TPoint(2, 1));
  EXPECT_TRUE(r.Contains(0, 0));
  EXPECT_TRUE(r.Contains(9, 7));
  EXPECT_TRUE(r.Contains(1, 4));
  EXPECT_FALSE(r.Contains(2, 1));
  EXPECT_FALSE(r.Contains(7, 6));
  EXPECT_TRUE(FrameRegion(TRect(5, 5, 5, 9), TPoint(1, 1)).IsEmpty());
  // Thicker than half: the whole rectangle.
  EXPECT_TRUE(FrameRegion(TRect(0, 0, 4, 4), TPoint(3, 3)).Contains(2, 2));
}

TEST(TBLists, CreatedOnDemandAndFreedWhenEmpty) {
  std::unique_ptr<std::vector<int*>> list;
  int a = 0, b = 0;
  EXPECT_TRUE(ListAddOnce(list, &a));
  EXPECT_FALSE(ListAddOnce(list, &a));
  EXPECT_TRUE(ListInsertFirstOnce(list, &b));
  EXPECT_EQ((*list)[0], &b);
  ListRemoveAndFreeEmpty(list, &a);
  ASSERT_TRUE(list);
  ListRemoveAndFreeEmpty(list, &b);
  EXPECT_FALSE(list);
  ListRemoveAndFreeEmpty(list, &b);  // no list: nothing
}

// The menus' sounds are the desktop's sound theme's: an event has a sound
// only where the theme has a file for it; playing where nothing can play is
// silent. A test hook stands for a desktop that has every sound.
TEST(TBSounds, TheSoundThemeDecidesWhichEventsHaveASound) {
  struct TEnv {
    std::string Name;
    std::optional<std::string> Old;
    TEnv(const char* n, const std::string& v) : Name(n) {
      if (const char* o = std::getenv(n)) Old = o;
      setenv(n, v.c_str(), 1);
    }
    ~TEnv() {
      if (Old) setenv(Name.c_str(), Old->c_str(), 1);
      else unsetenv(Name.c_str());
    }
  };
  TTempDir home, data;
  std::filesystem::create_directories(home.File("sounds/freedesktop/stereo"));
  home.Write("sounds/freedesktop/stereo/menu-click.oga", "OggS");
  TEnv h("XDG_DATA_HOME", home.Path()), d("XDG_DATA_DIRS", data.Path());
  const TSoundHook old = SetSoundHook({});
  struct TCase {
    const char* Event;
    bool Assigned;
  };
  for (TCase c : {TCase{"MenuCommand", true}, TCase{"MenuPopup", false}, TCase{"SystemExit", false}})
    EXPECT_EQ(SystemSoundAssigned(c.Event), c.Assigned) << c.Event;
  EXPECT_EQ(DesktopSoundName("MenuPopup"), "menu-popup");
  EXPECT_NO_THROW(PlaySystemSound("MenuCommand"));
  EXPECT_NO_THROW(PlaySystemSound("MenuPopup"));

  std::vector<std::string> heard;
  SetSoundHook([&](const std::string& e) { heard.push_back(e); });
  EXPECT_TRUE(SystemSoundAssigned("MenuPopup"));
  PlaySystemSound("MenuPopup");
  EXPECT_EQ(heard, std::vector<std::string>{"MenuPopup"});
  SetSoundHook(old);
}

}  // namespace
