// The chart editor's General page: zoom settings and their enabling,
// scrolling, margins with the percent rule, and the cursor.
#include <gtest/gtest.h>

#include <memory>

#include "chart/core/grafutils.h"
#include "chart/editor/grafedigene.h"
#include "dialogtest.h"
#include "support/gui/guitest.h"

using dialogtest::Find;

namespace {

class GeneralPageTest : public dialogtest::EditorDialogTest {
protected:
  void SetUp() override {
    EditorDialogTest::SetUp();
    Host = std::make_unique<TForm>(nullptr);
    Host->SetBounds(30, 30, 600, 300);
    Chart = new TChart(Host.get());
    Chart->SetParent(Host.get());
    Chart->SetBounds(0, 0, 200, 200);
    Sheet = new TPanel(Host.get());
    Sheet->SetParent(Host.get());
    Sheet->SetBounds(200, 0, 390, 250);
    Host->Show();
  }
  void TearDown() override {
    Host.reset();
    EditorDialogTest::TearDown();
  }
  TFormGrafGeneral* Open() {
    auto* page = new TFormGrafGeneral(Host.get(), Chart);
    EmbedFormInSheet(page, Sheet);
    return page;
  }
  std::unique_ptr<TForm> Host;
  TChart* Chart = nullptr;
  TPanel* Sheet = nullptr;
};

TEST_F(GeneralPageTest, UntickingAllowDisablesTheOtherZoomControls) {
  TFormGrafGeneral* page = Open();
  const char* zoomControls[] = {"CBAnimatedZoom", "SEAniZoomSteps", "UDAniZoomSteps", "EMinPix", "UDMinPix",
                                "BZoomPen",       "BZoomColor",     "CBDir",          "CBZoomMouse", "CBUpLeft"};
  auto* allow = Find<TCheckBox>(page, "CBAllowZoom");
  EXPECT_TRUE(allow->Checked());
  for (const char* c : zoomControls) EXPECT_TRUE(Find<TControl>(page, c)->Enabled()) << c;
  allow->SetChecked(false);
  EXPECT_FALSE(Chart->Zoom()->Allow());
  for (const char* c : zoomControls) EXPECT_FALSE(Find<TControl>(page, c)->Enabled()) << c;
  allow->SetChecked(true);
  Find<TEdit>(page, "SEAniZoomSteps")->SetText("20");
  EXPECT_EQ(Chart->Zoom()->AnimatedSteps(), 20);
  Find<TComboBox>(page, "CBDir")->UserSelected(1);
  EXPECT_EQ(Chart->Zoom()->Direction(), tzdVertical);
  Find<TCheckBox>(page, "CBUpLeft")->SetChecked(true);
  EXPECT_TRUE(Chart->Zoom()->UpLeftZooms());
}

TEST_F(GeneralPageTest, PercentMarginsStayBelowAHundredTogether) {
  Chart->SetMarginLeft(60);
  TFormGrafGeneral* page = Open();
  auto* right = Find<TEdit>(page, "SERightMa");
  EXPECT_EQ(Find<TEdit>(page, "SELeftMa")->Text(), "60");
  right->SetText("45");
  EXPECT_EQ(Chart->MarginRight(), 3);  // refused
  EXPECT_EQ(Find<TUpDown>(page, "UDRightMa")->Position(), 3);
  right->SetText("39");
  EXPECT_EQ(Chart->MarginRight(), 39);
  Find<TComboBox>(page, "CBMarUnits")->UserSelected(1);
  EXPECT_EQ(Chart->MarginUnits(), muPixels);
  EXPECT_EQ(Find<TUpDown>(page, "UDRightMa")->Max(), 2000);
  EXPECT_EQ(Find<TUpDown>(page, "UDRightMa")->Min(), -2000);
  right->SetText("45");
  EXPECT_EQ(Chart->MarginRight(), 45);  // pixels: taken
  Find<TEdit>(page, "SETopMa")->SetText("150");
  EXPECT_EQ(Chart->MarginTop(), 150);
}

TEST_F(GeneralPageTest, ScrollingAndCursor) {
  Chart->SetCursor(crGrafHand);
  TFormGrafGeneral* page = Open();
  auto* cursor = Find<TComboBox>(page, "CBCursor");
  EXPECT_EQ(cursor->Items()->Strings(cursor->ItemIndex()), "GrafHand");
  cursor->UserSelected(cursor->Items()->IndexOf("Cross"));
  EXPECT_EQ(Chart->Cursor(), crCross);
  EXPECT_EQ(Chart->SavedCursor, crCross);
  auto* panning = Find<TRadioGroup>(page, "RGPanning");
  EXPECT_EQ(panning->ItemIndex(), pmBoth);
  panning->SetItemIndex(pmNone);
  EXPECT_EQ(Chart->AllowPanning(), pmNone);
  EXPECT_FALSE(Find<TControl>(page, "CBScrollMouse")->Enabled());
  panning->SetItemIndex(pmVertical);
  EXPECT_TRUE(Find<TControl>(page, "CBScrollMouse")->Enabled());
  Find<TComboBox>(page, "CBScrollMouse")->UserSelected(2);
  EXPECT_EQ(Chart->ScrollMouseButton(), mbMiddle);
}

}  // namespace
