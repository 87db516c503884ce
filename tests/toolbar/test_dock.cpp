// The dock control with real dockable windows on a form.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/exceptions.h"
#include "platform/ui/forms.h"
#include "platform/ui/streaming.h"
#include "toolbar/tbdock.h"
#include "toolbar/tbtoolbar.h"

namespace {

class TTestBar : public TTBCustomDockableWindow {
 public:
  TTestBar(TComponent* Owner, int W, int H) : TTBCustomDockableWindow(Owner), Size{W, H} {}
  TPoint Size;
  TPoint BaseSize() override { return Size; }
};

struct TDockForm : ::testing::Test {
  std::unique_ptr<TForm> Form;
  TTBDock* Dock = nullptr;
  std::vector<std::string> Log;
  void SetUp() override {
    Form = std::make_unique<TForm>(nullptr);
    Form->SetBounds(0, 0, 400, 300);
    Dock = new TTBDock(Form.get());
    Dock->SetName("TBDock1");
    Dock->SetParent(Form.get());
    Dock->OnInsertRemoveBar = [this](TObject*, bool In, TTBCustomDockableWindow* B) {
      Log.push_back(std::string(In ? "insert " : "remove ") + B->Name());
    };
  }
  TTestBar* Bar(const std::string& Name, int W, int H, int Row, int Pos, TTBDock* Into) {
    auto* B = new TTestBar(Form.get(), W, H);
    B->SetName(Name);
    B->DockRow = Row;
    B->DockPos = Pos;
    B->SetCurrentDock(Into);
    return B;
  }
};

TEST_F(TDockForm, ErrorsKeepTheDockAsItWas) {
  auto* Other = new TTBDock(Form.get());
  Other->SetParent(Form.get());
  try {
    Other->SetParent(Dock);
    FAIL();
  } catch (const EInvalidOperation& E) {
    EXPECT_EQ(E.Message(), "A TTBDock control cannot be placed inside a tool window or another TTBDock");
  }
  auto* B = Bar("B", 50, 20, 0, 0, Dock);
  EXPECT_THROW(Other->SetParent(B), EInvalidOperation);
  EXPECT_EQ(Other->Parent(), Form.get());

  try {
    Dock->SetPosition(dpLeft);
    FAIL();
  } catch (const EInvalidOperation& E) {
    EXPECT_EQ(E.Message(), "Cannot change Position of a TTBDock if it already contains controls");
  }
  EXPECT_EQ(Dock->Position(), dpTop);
  EXPECT_EQ(Dock->Align(), alTop);
  Other->SetPosition(dpRight);  // empty: allowed, and realigned
  EXPECT_EQ(Other->Align(), alRight);
}

TEST_F(TDockForm, DockedWindowsAreLaidOutWithTheirFrameAndHandle) {
  auto* A = Bar("A", 50, 20, 0, 0, Dock);
  auto* B = Bar("B", 30, 16, 0, 200, Dock);
  auto* C = Bar("C", 40, 10, 1, 0, Dock);
  // Length: frame (2+2) plus handle (6) plus the client length.
  EXPECT_EQ(A->BoundsRect(), Rect(0, 0, 60, 24));
  EXPECT_EQ(B->BoundsRect(), Rect(200, 0, 240, 24));
  EXPECT_EQ(C->BoundsRect(), Rect(0, 24, 50, 38));
  EXPECT_EQ(Dock->Height(), 38);
  EXPECT_EQ(Dock->HighestRow(true), 1);
  bool Full = true;
  EXPECT_EQ(Dock->RowThickness(0, Full), 24);
  EXPECT_FALSE(Full);
  EXPECT_EQ(Dock->RowAtOffset(10), 0);
  EXPECT_EQ(Dock->RowAtOffset(30), 1);
  EXPECT_EQ(Dock->RowAtOffset(38), 2);
  const std::vector<std::string> Expected = {"insert A", "insert B", "insert C"};
  EXPECT_EQ(Log, Expected);

  Dock->SetAllowDrag(false);
  EXPECT_EQ(A->BoundsRect(), Rect(0, 0, 54, 24));

  // Hiding takes the window out of the visible list and its row goes.
  C->Hide();
  EXPECT_EQ(Log.back(), "remove C");
  EXPECT_EQ(Dock->Height(), 24);
}

TEST_F(TDockForm, UpdatesRunOneLayoutAtTheEnd) {
  auto* A = Bar("A", 50, 20, 0, 0, Dock);
  auto* B = Bar("B", 50, 20, 0, 100, Dock);
  Dock->BeginUpdate();
  Dock->BeginUpdate();
  B->SetDockRow(1);
  A->SetDockPos(20);
  Dock->EndUpdate();
  EXPECT_EQ(B->Top(), 0);  // still waiting
  Dock->EndUpdate();
  EXPECT_EQ(B->Top(), 24);
  EXPECT_EQ(A->Left(), 20);
  Dock->EndUpdate();  // unbalanced: ignored
}

TEST_F(TDockForm, MovingBetweenDocksKeepsTheObjectAndReservesTheRow) {
  auto* Bottom = new TTBDock(Form.get());
  Bottom->SetName("TBDockBottom");
  Bottom->SetPosition(dpBottom);
  Bottom->SetParent(Form.get());
  auto* A = Bar("A", 50, 20, 0, 0, Dock);
  auto* B = Bar("B", 50, 20, 1, 0, Dock);
  std::vector<std::string> Events;
  B->OnDockChanging = [&](TObject*, bool, TTBDock*) { Events.push_back("changing"); };
  B->OnDockChanged = [&](TObject*) { Events.push_back("changed"); };
  B->OnRecreating = [&](TObject*) { Events.push_back("recreating"); };
  B->OnRecreated = [&](TObject*) { Events.push_back("recreated"); };
  Bottom->OnInsertRemoveBar = [&](TObject*, bool In, TTBCustomDockableWindow*) {
    Events.push_back(In ? "insert" : "remove");
  };

  B->SetCurrentDock(Bottom);
  EXPECT_EQ(B->Parent(), Bottom);
  EXPECT_EQ(B->LastDock(), Bottom);
  EXPECT_EQ(Dock->DockList().size(), 1u);
  EXPECT_EQ(Dock->Height(), 24);
  EXPECT_EQ(Bottom->Height(), 24);
  EXPECT_EQ(DockKindOf(B->CurrentDock(), false), dkHorizontal);
  EXPECT_EQ(DockKindOf(nullptr, false), dkNone);
  EXPECT_EQ(DockKindOf(Bottom, true), dkFloating);
  EXPECT_EQ(Bottom->Top(), 300 - 24);  // keeps its bottom edge
  B->SetCurrentDock(Dock);
  EXPECT_EQ(Dock->VisibleList().size(), 2u);
  EXPECT_EQ(Bottom->DockList().size(), 0u);
  EXPECT_EQ(Bottom->Height(), 0);
  const std::vector<std::string> Expected = {"changing", "recreating", "insert", "recreated", "changed",
                                             "changing", "recreating", "remove", "recreated", "changed"};
  EXPECT_EQ(Events, Expected);

  // Out of the dock with UseLastDock: the dock still lists it, its row is
  // kept but takes no room.
  B->SetCurrentDock(nullptr);
  EXPECT_EQ(B->Parent(), Form.get());
  EXPECT_EQ(Dock->DockList().size(), 2u);
  EXPECT_EQ(Dock->VisibleList().size(), 1u);
  EXPECT_EQ(Dock->Height(), 24);
  A->SetDockRow(2);  // row 0 empties and goes; B's reserved row stays between
  EXPECT_EQ(B->ComputedRow, 0);
  EXPECT_EQ(A->ComputedRow, 1);
  EXPECT_EQ(A->Top(), 0);  // the reserved row is 0 thick
  B->SetUseLastDock(false);
  EXPECT_EQ(Dock->DockList().size(), 1u);
}

TEST_F(TDockForm, FreeingInEitherOrderLeavesNoDanglingLinks) {
  auto* A = Bar("A", 50, 20, 0, 0, Dock);
  auto* B = Bar("B", 50, 20, 0, 60, Dock);
  B->SetUseLastDock(false);
  delete A;
  EXPECT_EQ(Dock->DockList().size(), 1u);
  EXPECT_EQ(Dock->VisibleList().size(), 1u);
  auto* Other = new TTBDock(Form.get());
  Other->SetParent(Form.get());
  auto* C = Bar("C", 50, 20, 0, 0, Other);
  C->SetUseLastDock(false);
  delete Other;  // its windows go with it as its children or are told
  Form.reset();  // the dock goes before the remaining window
  (void)B;
}

TEST_F(TDockForm, EmptyDockThicknessAndBoundLines) {
  EXPECT_EQ(Dock->Height(), 0);
  Dock->SetFixAlign(true);
  EXPECT_EQ(Dock->Height(), 1);
  Dock->SetBoundLines({blTop, blBottom});
  auto* A = Bar("A", 50, 20, 0, 0, Dock);
  EXPECT_EQ(Dock->Height(), 26);
  EXPECT_EQ(Dock->ClientRect().Height(), 24);
  EXPECT_EQ(A->Top(), 1);
}

class TTestBackground : public TTBBasicBackground {
 public:
  using TTBBasicBackground::TTBBasicBackground;
  bool Active = true;
  std::vector<TRect> Painted;
  std::vector<const void*> Listeners;
  TNotifyEvent Listener;
  void PaintTo(TCanvas*, const TRect& R) override { Painted.push_back(R); }
  void AddChangeListener(const TNotifyEvent& L, const void* Key) override {
    Listeners.push_back(Key);
    Listener = L;
  }
  void RemoveChangeListener(const void* Key) override { std::erase(Listeners, Key); }
  bool IsActive() override { return Active; }
};

TEST_F(TDockForm, BackgroundPainterIsFollowedAndForgottenWhenFreed) {
  auto* Bg = new TTestBackground(nullptr);
  Dock->SetBackground(Bg);
  EXPECT_EQ(Bg->Listeners.size(), 1u);
  EXPECT_TRUE(Dock->HasBackground());
  Bg->Active = false;
  EXPECT_FALSE(Dock->HasBackground());
  Bg->Active = true;
  Bar("A", 50, 20, 0, 0, Dock);
  Form->Show();
  Dock->Repaint();
  ASSERT_FALSE(Bg->Painted.empty());
  EXPECT_EQ(Bg->Painted.back(), Rect(-Dock->Left(), -Dock->Top(), Dock->Width() - Dock->Left(), 24 - Dock->Top()));
  delete Bg;
  EXPECT_EQ(Dock->Background(), nullptr);
  Dock->Repaint();  // no painter any more
  auto* Bg2 = new TTestBackground(nullptr);
  Dock->SetBackground(Bg2);
  Dock->SetBackground(nullptr);
  EXPECT_TRUE(Bg2->Listeners.empty());
  delete Bg2;
}

// A form's description keeps its dock and toolbars: the docked one inside
// the dock with its row and position, the floating one among the form's
// components with the dock it came from.
TEST(TDockStreaming, AFormWithADockAndTwoToolbarsOneFloatingRoundTrips) {
  RegisterClasses({&TForm::StaticClass(), &TTBDock::StaticClass(), &TTBToolbar::StaticClass(),
                   &TTBItem::StaticClass()});
  TForm form(nullptr);
  form.SetName("MainForm");
  form.SetBounds(100, 100, 500, 300);
  auto* dock = new TTBDock(&form);
  dock->SetName("TBDock1");
  dock->SetParent(&form);
  dock->SetBoundLines({blTop, blBottom});
  dock->SetFixAlign(true);
  auto* docked = new TTBToolbar(&form);
  docked->SetName("ToolbarFile");
  docked->SetCaption("File");
  docked->DockRow = 1;
  docked->DockPos = 40;
  docked->SetDragHandleStyle(dhDouble);
  docked->SetCloseButtonWhenDocked(true);
  docked->SetCurrentDock(dock);
  auto* open = new TTBItem(&form);
  open->SetName("ItemOpen");
  open->SetCaption("&Open");
  docked->Items()->Add(open);
  auto* floating = new TTBToolbar(&form);
  floating->SetName("ToolbarRefine");
  floating->SetCaption("Refine");
  floating->SetCurrentDock(dock);
  floating->SetFloatingMode(fmOnTopOfAllForms);
  floating->SetDockableTo({dpTop, dpBottom});
  floating->SetDockMode(dmCannotFloatOrChangeDocks);
  floating->SetShowCaption(false);
  floating->SetDefaultDock(dock);
  form.Show();
  floating->MakeFloating(true);
  ASSERT_TRUE(floating->Floating());

  const std::string text = ComponentToText(&form);
  auto has = [&](const std::string& s) { return text.find(s) != std::string::npos; };
  EXPECT_TRUE(has("  object ToolbarRefine: TTBToolbar\n")) << text;  // a component of the form
  EXPECT_TRUE(has("  object TBDock1: TTBDock\n")) << text;
  EXPECT_TRUE(has("    BoundLines = [blTop, blBottom]\n    FixAlign = True\n")) << text;
  EXPECT_TRUE(has("    object ToolbarFile: TTBToolbar\n")) << text;  // a child of the dock
  EXPECT_TRUE(has("      object ItemOpen: TTBItem\n")) << text;
  EXPECT_TRUE(has("    LastDock = TBDock1\n")) << text;  // only the floating one
  EXPECT_EQ(text.find("LastDock"), text.rfind("LastDock")) << text;
  EXPECT_TRUE(has("    DockableTo = [dpTop, dpBottom]\n")) << text;
  EXPECT_TRUE(has("    DockMode = dmCannotFloatOrChangeDocks\n")) << text;
  EXPECT_TRUE(has("    FloatingMode = fmOnTopOfAllForms\n")) << text;
  EXPECT_TRUE(has("      DockPos = 40\n      DockRow = 1\n      DragHandleStyle = dhDouble\n")) << text;
  EXPECT_TRUE(has("SavedAtRunTime = True")) << text;
  EXPECT_FALSE(has("CurrentDock")) << text;
  // Neither toolbar is a plain child of the form: no width or height.
  EXPECT_FALSE(has("      Width =")) << text;

  TForm copy(nullptr);
  TextToComponent(text, &copy);
  auto* dock2 = dynamic_cast<TTBDock*>(copy.FindComponent("TBDock1"));
  auto* docked2 = dynamic_cast<TTBToolbar*>(copy.FindComponent("ToolbarFile"));
  auto* floating2 = dynamic_cast<TTBToolbar*>(copy.FindComponent("ToolbarRefine"));
  ASSERT_TRUE(dock2 && docked2 && floating2);
  EXPECT_EQ(dock2->BoundLines(), TTBDockBoundLines({blTop, blBottom}));
  EXPECT_TRUE(dock2->FixAlign());
  EXPECT_EQ(docked2->CurrentDock(), dock2);
  EXPECT_EQ(docked2->DockRowValue(), 1);
  EXPECT_EQ(docked2->DockPosValue(), 40);
  EXPECT_EQ(docked2->DragHandleStyle(), dhDouble);
  EXPECT_TRUE(docked2->CloseButtonWhenDocked());
  EXPECT_TRUE(docked2->SavedAtRunTime());
  ASSERT_EQ(docked2->Items()->Count(), 1);
  EXPECT_EQ(docked2->Items()->Items(0)->Caption(), "&Open");
  // The floating one comes back off the dock, its row kept for it there.
  EXPECT_EQ(floating2->LastDock(), dock2);
  EXPECT_EQ(floating2->DefaultDock(), dock2);
  EXPECT_FALSE(floating2->Docked());
  EXPECT_NE(std::find(dock2->DockList().begin(), dock2->DockList().end(), floating2), dock2->DockList().end());
  EXPECT_EQ(floating2->FloatingMode(), fmOnTopOfAllForms);
  EXPECT_EQ(floating2->DockableTo(), TTBDockableTo({dpTop, dpBottom}));
  EXPECT_EQ(floating2->DockMode(), dmCannotFloatOrChangeDocks);
  EXPECT_FALSE(floating2->ShowCaption());
  EXPECT_TRUE(floating2->SavedAtRunTime());
}

}  // namespace
