// Dragging one control onto another within the program: the target is asked
// as the mouse enters, moves and leaves, the release drops where the target
// accepts, Escape cancels, and an automatic drag waits for the mouse to move.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/extctrls.h"
#include "platform/ui/forms.h"
#include "support/gui/guitest.h"

using namespace guitest;

namespace {

class DragControlFixture : public ::testing::Test {
protected:
  void SetUp() override {
    EnsureGui();
    Form = new TForm(nullptr);
    Form->SetBounds(100, 100, 400, 200);
    A = new TPanel(Form);
    A->SetParent(Form);
    A->SetBounds(0, 0, 100, 100);
    B = new TPanel(Form);
    B->SetParent(Form);
    B->SetBounds(200, 0, 100, 100);
    B->OnDragOver = [this](TObject*, TObject* Source, int X, int Y, TDragState State, bool& Accept) {
      static const char* names[] = {"enter", "leave", "move"};
      Log.push_back(std::string(names[State]) + " " + std::to_string(X) + "," + std::to_string(Y));
      Accept = Source == A && X < 50;
    };
    B->OnDragDrop = [this](TObject*, TObject* Source, int X, int Y) {
      Log.push_back("drop " + std::string(Source == A ? "A " : "? ") + std::to_string(X) + "," + std::to_string(Y));
    };
    A->OnStartDrag = [this](TObject*) { Log.push_back("start"); };
    A->OnEndDrag = [this](TObject*, TObject* Target, int, int) {
      Log.push_back(std::string("end ") + (Target == B ? "B" : Target ? "?" : "nil"));
    };
    Form->Show();
    ProcessEvents();
  }
  void TearDown() override {
    delete Form;
    ProcessEvents();
  }
  TForm* Form = nullptr;
  TPanel *A = nullptr, *B = nullptr;
  std::vector<std::string> Log;
};

TEST_F(DragControlFixture, DropWhereTheTargetAccepts) {
  A->BeginDrag(true);
  EXPECT_TRUE(A->Dragging());
  MouseMove(B, 10, 10);
  MouseMove(B, 20, 30);
  MouseUp(B, mbLeft, 20, 30);
  EXPECT_FALSE(A->Dragging());
  EXPECT_EQ(Log, (std::vector<std::string>{"start", "enter 10,10", "move 20,30", "drop A 20,30", "end B"}));
}

TEST_F(DragControlFixture, RefusedDropAndEscape) {
  A->BeginDrag(true);
  MouseMove(B, 80, 10);  // B refuses right of x = 50
  MouseUp(B, mbLeft, 80, 10);
  EXPECT_EQ(Log, (std::vector<std::string>{"start", "enter 80,10", "leave 80,10", "end nil"}));

  Log.clear();
  A->BeginDrag(true);
  MouseMove(B, 10, 10);
  Key(Form, VK_ESCAPE);
  EXPECT_FALSE(A->Dragging());
  EXPECT_EQ(Log, (std::vector<std::string>{"start", "enter 10,10", "leave 10,10", "end nil"}));
  MouseUp(B, mbLeft, 10, 10);
  EXPECT_EQ(Log.size(), 4u) << "nothing after the drag ended";
}

TEST_F(DragControlFixture, AutomaticDragWaitsForTheMouseToMove) {
  A->SetDragMode(dmAutomatic);
  int clicks = 0;
  A->OnClick = [&](TObject*) { ++clicks; };
  MouseDown(A, mbLeft, 10, 10);
  MouseMove(A, 12, 11);
  EXPECT_FALSE(A->Dragging()) << "within the threshold";
  MouseUp(A, mbLeft, 12, 11);
  EXPECT_EQ(clicks, 1) << "a press without moving stays a click";
  EXPECT_TRUE(Log.empty());

  MouseDown(A, mbLeft, 10, 10);
  MouseMove(B, 10, 10);
  EXPECT_TRUE(A->Dragging());
  MouseUp(B, mbLeft, 10, 10);
  EXPECT_EQ(Log, (std::vector<std::string>{"start", "enter 10,10", "drop A 10,10", "end B"}));
}

TEST_F(DragControlFixture, TargetWithoutHandlerRefuses) {
  auto* c = new TPanel(Form);
  c->SetParent(Form);
  c->SetBounds(100, 120, 50, 50);
  A->BeginDrag(true);
  MouseMove(c, 5, 5);
  MouseUp(c, mbLeft, 5, 5);
  EXPECT_EQ(Log, (std::vector<std::string>{"start", "end nil"}));
}

TEST_F(DragControlFixture, SourceGoingAwayEndsTheDrag) {
  A->BeginDrag(true);
  delete A;
  A = nullptr;
  EXPECT_EQ(DraggedControl(), nullptr);
  MouseMove(B, 10, 10);
  EXPECT_EQ(Log, (std::vector<std::string>{"start"}));
}

}  // namespace
