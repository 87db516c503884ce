#include "platform/ui/splitter.h"

#include <gtest/gtest.h>

#include "platform/ui/extctrls.h"
#include "platform/ui/forms.h"
#include "support/gui/guitest.h"

namespace {

// A panel on top, the splitter under it, a panel filling the rest.
class SplitterTest : public ::testing::Test {
protected:
  void SetUp() override {
    guitest::EnsureGui();
    form.SetBounds(0, 0, 300, 400);
    top->SetHeight(100);
    top->SetAlign(alTop);
    top->SetParent(&form);
    splitter->SetTop(120);
    splitter->SetParent(&form);
    rest->SetAlign(alClient);
    rest->SetParent(&form);
    splitter->OnMoved = [this](TObject*) { ++moves; };
    form.Show();
  }
  TForm form{nullptr};
  TPanel* top = new TPanel(&form);
  TSplitter* splitter = new TSplitter(&form);
  TPanel* rest = new TPanel(&form);
  int moves = 0;
};

TEST_F(SplitterTest, SitsUnderTheTopControlAndResizesIt) {
  EXPECT_EQ(splitter->Top(), 100);
  EXPECT_EQ(splitter->ResizeControl(), top);
  const int room = top->Height() + rest->Height();
  EXPECT_EQ(splitter->MoveBy(50), 50);
  EXPECT_EQ(top->Height(), 150);
  EXPECT_EQ(splitter->Top(), 150);
  EXPECT_EQ(top->Height() + rest->Height(), room);
  // Both keep their least size.
  splitter->MoveBy(-1000);
  EXPECT_EQ(top->Height(), 30);
  splitter->MoveBy(5000);
  EXPECT_EQ(rest->Height(), 30);
  EXPECT_EQ(top->Height() + rest->Height(), room);
}

TEST_F(SplitterTest, DraggingMovesTheBar) {
  // Client coordinates of the bar, which follows the mouse.
  guitest::MouseDown(splitter, mbLeft, 10, 1);
  guitest::MouseMove(splitter, 10, 31);
  EXPECT_EQ(top->Height(), 130);
  guitest::MouseMove(splitter, 10, 11);
  guitest::MouseUp(splitter, mbLeft, 10, 1);
  EXPECT_EQ(top->Height(), 140);
  EXPECT_EQ(moves, 1);
  guitest::Click(splitter, 10, 1);
  EXPECT_EQ(moves, 1);  // a click that moved nothing is no move
}

}  // namespace

// Side by side, as a list beside the editor it chooses for: a bar aligned
// to the left widens the control on its left.
TEST(SplitterLeft, DraggingWidensTheLeftControl) {
  guitest::EnsureGui();
  TForm form(nullptr);
  form.SetBounds(0, 0, 400, 300);
  auto* list = new TPanel(&form);
  list->SetWidth(120);
  list->SetAlign(alLeft);
  list->SetParent(&form);
  auto* bar = new TSplitter(&form);
  bar->SetWidth(3);
  bar->SetLeft(130);
  bar->SetAlign(alLeft);
  bar->SetParent(&form);
  auto* rest = new TPanel(&form);
  rest->SetAlign(alClient);
  rest->SetParent(&form);
  form.Show();
  EXPECT_EQ(bar->Left(), 120);
  EXPECT_EQ(bar->ResizeControl(), list);
  const int room = list->Width() + rest->Width();
  guitest::MouseDown(bar, mbLeft, 1, 10);
  guitest::MouseMove(bar, 41, 10);
  guitest::MouseUp(bar, mbLeft, 41, 10);
  EXPECT_EQ(list->Width(), 160);
  EXPECT_EQ(rest->Left(), 163);
  EXPECT_EQ(list->Width() + rest->Width(), room);
}
