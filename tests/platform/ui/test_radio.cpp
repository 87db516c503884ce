// Radio buttons grouped by parent, radio groups laid out from their items,
// and group boxes as frames around controls: clicks, arrow keys and values
// set from code, with the events the class library fires for each.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/extctrls.h"
#include "platform/ui/forms.h"
#include "platform/ui/radio.h"
#include "platform/ui/stdctrls.h"
#include "support/gui/guitest.h"

using namespace guitest;

namespace {

struct RadioFixture : ::testing::Test {
  TForm* Form = nullptr;
  std::vector<std::string> Log;
  void SetUp() override {
    EnsureGui();
    Form = new TForm(nullptr);
    Form->SetBounds(50, 50, 400, 300);
  }
  void TearDown() override {
    delete Form;
    ProcessEvents();
  }
  TRadioButton* MakeRadio(TWinControl* parent, const std::string& caption, int top) {
    auto* r = new TRadioButton(Form);
    r->SetParent(parent);
    r->SetBounds(8, top, 120, 20);
    r->SetCaption(caption);
    r->OnClick = [this, caption](TObject*) { Log.push_back(caption); };
    return r;
  }
};

}  // namespace

TEST_F(RadioFixture, RadioButtonsOfOneParentFormAGroup) {
  auto* box = new TGroupBox(Form);
  box->SetParent(Form);
  box->SetBounds(10, 10, 200, 120);
  box->SetCaption("Form Factor Type");
  TRadioButton* calc = MakeRadio(box, "Calculated", 20);
  TRadioButton* interp = MakeRadio(box, "Interpolated", 44);
  // A radio button on another parent is in another group.
  TRadioButton* other = MakeRadio(Form, "Other", 150);
  other->SetChecked(true);
  Form->Show();

  calc->SetChecked(true);  // from code: checks and clicks
  EXPECT_TRUE(calc->Checked());
  Click(interp, 5, 10);
  EXPECT_TRUE(interp->Checked());
  EXPECT_FALSE(calc->Checked());
  EXPECT_TRUE(other->Checked());
  Click(interp, 5, 10);  // clicking the checked button leaves it checked
  EXPECT_TRUE(interp->Checked());
  interp->SetChecked(false);  // unchecking fires nothing
  EXPECT_EQ(Log, (std::vector<std::string>{"Other", "Calculated", "Interpolated"}));

  // The arrow keys move through the group and check what they reach.
  Log.clear();
  calc->SetFocus();
  ProcessEvents();
  Key(calc, VK_DOWN);
  EXPECT_TRUE(interp->Checked());
  EXPECT_TRUE(interp->Focused());
  Key(interp, VK_DOWN);
  EXPECT_TRUE(calc->Checked());
  EXPECT_EQ(Log, (std::vector<std::string>{"Interpolated", "Calculated"}));
}

TEST_F(RadioFixture, RadioGroupItemIndexFromCodeClicksAndUserClicksToo) {
  auto* group = new TRadioGroup(Form);
  group->SetParent(Form);
  group->SetBounds(10, 10, 220, 100);
  group->SetCaption("&Format");
  int clicks = 0;
  group->OnClick = [&](TObject* s) {
    EXPECT_EQ(s, group);
    ++clicks;
  };
  for (const char* s : {"Value", "Percent", "Label", "Label and Value"}) group->Items()->Add(s);
  EXPECT_EQ(clicks, 0) << "filling the items fires nothing";
  ASSERT_NE(group->Buttons(3), nullptr);
  EXPECT_EQ(group->Buttons(4), nullptr);

  group->SetItemIndex(2);
  EXPECT_EQ(clicks, 1) << "setting ItemIndex from code fires OnClick";
  EXPECT_TRUE(group->Buttons(2)->Checked());
  group->SetItemIndex(2);
  EXPECT_EQ(clicks, 1);
  group->SetItemIndex(-1);
  EXPECT_EQ(clicks, 1) << "clearing it fires nothing";
  EXPECT_FALSE(group->Buttons(2)->Checked());
  group->SetItemIndex(9);
  EXPECT_EQ(group->ItemIndex(), -1);

  Form->Show();
  Click(group->Buttons(1), 5, 5);
  EXPECT_EQ(group->ItemIndex(), 1);
  EXPECT_EQ(clicks, 2);

  // The items' buttons follow the items; the index stays within them.
  group->SetItemIndex(3);
  group->Items()->Delete(3);
  EXPECT_EQ(group->ItemIndex(), 2);
  EXPECT_EQ(group->Buttons(3), nullptr);
  EXPECT_EQ(group->Buttons(0)->Caption(), "Value");
  group->Items()->Clear();
  EXPECT_EQ(group->ItemIndex(), -1);
}

TEST_F(RadioFixture, RadioGroupColumnsRunDownFirst) {
  auto* group = new TRadioGroup(Form);
  group->SetParent(Form);
  group->SetBounds(0, 0, 210, 90);
  group->SetColumns(2);
  for (const char* s : {"a", "b", "c", "d", "e"}) group->Items()->Add(s);
  // Five items in two columns: three in the first, two in the second.
  struct TCase {
    int Item, Column, Row;
  };
  const int colWidth = (210 - 10) / 2;
  for (const TCase& k : {TCase{0, 0, 0}, TCase{2, 0, 2}, TCase{3, 1, 0}, TCase{4, 1, 1}}) {
    TRadioButton* b = group->Buttons(k.Item);
    EXPECT_EQ(b->Left(), 8 + k.Column * colWidth) << k.Item;
    EXPECT_EQ(b->Top(), group->Buttons(k.Column * 3)->Top() + k.Row * b->Height()) << k.Item;
    EXPECT_EQ(b->Width(), colWidth);
  }
  EXPECT_LE(group->Buttons(2)->Top() + group->Buttons(2)->Height(), 90);
  group->SetEnabled(false);
  EXPECT_FALSE(group->Buttons(4)->Enabled());
}

TEST_F(RadioFixture, GroupBoxFramesItsChildrenBelowTheCaption) {
  auto* box = new TGroupBox(Form);
  box->SetParent(Form);
  box->SetBounds(10, 10, 200, 100);
  box->SetCaption("View");
  auto* panel = new TPanel(Form);
  panel->SetParent(box);
  panel->SetAlign(alClient);
  const TRect c = box->ClientRect();
  EXPECT_EQ(panel->BoundsRect(), c);
  EXPECT_GT(c.Top, 8);
  EXPECT_LT(c.Bottom, 100);
  panel->SetAlign(alNone);
  panel->SetBounds(150, 60, 10, 10);
  Form->Show();
  // The etched frame: a shadow line then a highlight line, left side; the
  // caption interrupts the top edge.
  const int frameTop = c.Top - 2 - (c.Top - 2) / 2;
  EXPECT_EQ(ColorToRGB(SurfacePixel(box, 0, 50)), ColorToRGB(clBtnShadow));
  EXPECT_EQ(ColorToRGB(SurfacePixel(box, 1, 50)), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(ColorToRGB(SurfacePixel(box, 150, frameTop)), ColorToRGB(clBtnShadow));
  EXPECT_NE(ColorToRGB(SurfacePixel(box, 9, frameTop)), ColorToRGB(clBtnShadow));
}
