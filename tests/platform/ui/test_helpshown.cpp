// Help offered only while a help viewer is installed.
#include <gtest/gtest.h>

#include "platform/ui/forms.h"
#include "platform/ui/syssettings.h"
#include "support/gui/guitest.h"

TEST(HelpShown, TheHelpIconWaitsForAHelpViewer) {
  guitest::EnsureGui();
  THelpHook saved = SetHelpHook(nullptr);
  TForm form(nullptr);
  form.SetBorderIcons({biSystemMenu, biHelp});
  EXPECT_FALSE(HelpInstalled());
  EXPECT_EQ(form.ShownBorderIcons(), TBorderIcons{biSystemMenu});
  int asked = -1;
  SetHelpHook([&](int context, bool) { asked = context; });
  EXPECT_TRUE(HelpInstalled());
  EXPECT_EQ(form.ShownBorderIcons(), (TBorderIcons{biSystemMenu, biHelp}));
  ShowHelpContext(592, false);
  EXPECT_EQ(asked, 592);
  SetHelpHook(std::move(saved));
}
