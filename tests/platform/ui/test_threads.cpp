#include "platform/ui/threads.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/ui/forms.h"
#include "support/gui/guitest.h"

namespace {

TEST(Synchronize, RunsTheCallOnTheGuiThreadAndWaitsForIt) {
  guitest::EnsureGui();
  const std::thread::id gui = std::this_thread::get_id();
  std::thread::id ranOn;
  std::atomic<bool> result{false};
  std::thread worker([&] { result = Synchronize([&] { ranOn = std::this_thread::get_id(); }); });
  bool ran = false;
  for (int round = 0; !ran && round < 100; ++round) ran = CheckSynchronize(10000);
  worker.join();
  EXPECT_TRUE(ran);
  EXPECT_TRUE(result);
  EXPECT_EQ(ranOn, gui);

  // On the GUI thread the call runs at once.
  bool direct = false;
  EXPECT_TRUE(Synchronize([&] { direct = true; }));
  EXPECT_TRUE(direct);
}

TEST(Synchronize, AbortDropsACallNotYetRun) {
  guitest::EnsureGui();
  TEvent abort(true, false);
  bool called = false;
  std::atomic<bool> result{true};
  std::thread worker([&] { result = Synchronize([&] { called = true; }, &abort); });
  abort.SetEvent();
  worker.join();
  EXPECT_FALSE(result);
  // The message loop's turn comes later and finds nothing to run.
  Application->ProcessMessages();
  EXPECT_FALSE(CheckSynchronize(0));
  EXPECT_FALSE(called);
}

}  // namespace
