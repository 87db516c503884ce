// The status bar, progress bar and spin edit the program's windows place.
#include <gtest/gtest.h>

#include <memory>

#include "platform/rtl/exceptions.h"
#include "platform/ui/forms.h"
#include "platform/ui/progress.h"
#include "platform/ui/spinedit.h"
#include "platform/ui/statusbar.h"
#include "support/gui/guitest.h"

namespace {

TEST(StatusBar, PanelsKeepTheirTextsAndRefuseAnIndexBeyondThem) {
  TForm form(nullptr);
  auto* bar = new TStatusBar(&form);
  bar->SetParent(&form);
  EXPECT_EQ(bar->Align(), alBottom);
  EXPECT_EQ(bar->AddPanel(100, "x:"), 0);
  EXPECT_EQ(bar->AddPanel(80), 1);
  bar->SetPanelText(1, "y: 2.5");
  EXPECT_EQ(bar->Panel(0).Text, "x:");
  EXPECT_EQ(bar->Panel(1).Text, "y: 2.5");
  EXPECT_EQ(bar->Panel(1).Width, 80);
  EXPECT_THROW(bar->Panel(2), EListError);
  EXPECT_THROW(bar->SetPanelText(-1, "z"), EListError);
  EXPECT_EQ(bar->Panel(1).Text, "y: 2.5");
}

TEST(ProgressBar, PositionStaysInsideTheRangeAndFillsInProportion) {
  TForm form(nullptr);
  form.SetClientWidth(200);
  form.SetClientHeight(40);
  auto* bar = new TProgressBar(&form);
  bar->SetParent(&form);
  bar->SetBounds(0, 0, 102, 20);
  for (auto [set, got] : {std::pair{50, 50}, {150, 100}, {-3, 0}}) {
    bar->SetPosition(set);
    EXPECT_EQ(bar->Position(), got);
  }
  bar->SetPosition(50);
  form.Show();
  // Half of the 100 pixels inside the frame are filled.
  EXPECT_EQ(guitest::SurfacePixel(bar, 25, 10), ColorToRGB(clHighlight));
  EXPECT_NE(guitest::SurfacePixel(bar, 75, 10), ColorToRGB(clHighlight));
  bar->SetRange(10, 5);
  EXPECT_EQ(bar->Max(), 10);
  EXPECT_EQ(bar->Position(), 10);
}

TEST(SpinEdit, StepsAndTypingStayInsideTheRangeAndALockedEditorIgnoresTyping) {
  TForm form(nullptr);
  auto* spin = new TSpinEdit(&form);
  spin->SetParent(&form);
  spin->SetMaxValue(99);
  int changes = 0;
  spin->OnChange = [&](TObject*) { ++changes; };
  spin->SetValue(1);
  EXPECT_EQ(spin->Text(), "1");
  form.Show();
  spin->SetFocus();
  guitest::Key(spin, VK_UP);
  EXPECT_EQ(spin->Value(), 2);
  guitest::Key(spin, VK_DOWN);
  guitest::Key(spin, VK_DOWN);
  guitest::Key(spin, VK_DOWN);
  EXPECT_EQ(spin->Value(), 0);
  spin->SetValue(500);
  EXPECT_EQ(spin->Value(), 99);
  // 1, 2, 1, 0, (no change at the bottom), 99.
  EXPECT_EQ(changes, 5);
  guitest::TypeText(spin, "7");
  EXPECT_EQ(spin->Value(), 7);
  spin->SetEditorEnabled(false);
  guitest::TypeText(spin, "3");
  EXPECT_EQ(spin->Value(), 7);
  // The lower button steps down.
  guitest::Click(spin, spin->Width() - 3, spin->Height() - 3);
  EXPECT_EQ(spin->Value(), 6);
}

}  // namespace
