// Tree views: building and walking the nodes, the events of selection,
// expansion and in-place editing (from the mouse, the keys and from code,
// each of which may be refused), and painting of buttons and selection.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/extctrls.h"
#include "platform/ui/forms.h"
#include "platform/ui/stdctrls.h"
#include "platform/ui/treeview.h"
#include "support/gui/guitest.h"

using namespace guitest;

namespace {

struct TreeFixture : ::testing::Test {
  TForm* Form = nullptr;
  TTreeView* Tree = nullptr;
  TTreeNode *Series = nullptr, *Chart = nullptr, *Axis = nullptr, *Data = nullptr;
  std::vector<std::string> Log;
  bool AllowChange = true, AllowExpand = true, AllowEdit = true;
  int Tab = 0, Left = 0;

  void SetUp() override {
    EnsureGui();
    Form = new TForm(nullptr);
    Form->SetBounds(50, 50, 300, 300);
    Tree = new TTreeView(Form);
    Tree->SetParent(Form);
    Tree->SetBounds(10, 10, 200, 250);
    TTreeNodes* n = Tree->Items();
    n->BeginUpdate();
    Series = n->AddObject(nullptr, "Series", &Tab);
    n->AddChild(Series, "Series1");
    n->AddChild(Series, "Series2");
    Chart = n->Add(Series, "Chart");
    n->AddChildObject(Chart, "General", &Tab);
    Axis = n->AddChild(Chart, "Axis");
    n->AddChildObject(Axis, "Left Axis", &Left);
    n->AddChild(Axis, "Right Axis");
    Data = n->Add(nullptr, "Data");
    n->EndUpdate();
    Tree->OnChanging = [this](TObject*, TTreeNode* node, bool& allow) {
      Log.push_back("changing " + (node ? node->Text() : std::string("nil")));
      allow = AllowChange;
    };
    Tree->OnChange = [this](TObject*, TTreeNode* node) { Log.push_back("change " + (node ? node->Text() : "nil")); };
    Tree->OnExpanding = [this](TObject*, TTreeNode* node, bool& allow) {
      Log.push_back("expanding " + node->Text());
      allow = AllowExpand;
    };
    Tree->OnCollapsing = [this](TObject*, TTreeNode* node, bool&) { Log.push_back("collapsing " + node->Text()); };
    Tree->OnEditing = [this](TObject*, TTreeNode* node, bool& allow) {
      Log.push_back("editing " + node->Text());
      allow = AllowEdit;
    };
    Tree->OnEdited = [this](TObject*, TTreeNode*, std::string& s) {
      Log.push_back("edited " + s);
      s += "!";
    };
  }
  void TearDown() override {
    delete Form;
    ProcessEvents();
  }
  // A point on a node's text, in client coordinates.
  static TPoint OnText(TTreeNode* node) {
    const TRect r = node->DisplayRect(true);
    return Point(r.Left + 4, (r.Top + r.Bottom) / 2);
  }
};

std::vector<std::string> Texts(TTreeNode* first) {
  std::vector<std::string> v;
  for (TTreeNode* n = first; n; n = n->GetNext()) v.push_back(std::string(n->Level(), ' ') + n->Text());
  return v;
}

}  // namespace

TEST_F(TreeFixture, NodesFormATreeWalkedDepthFirst) {
  TTreeNodes* n = Tree->Items();
  EXPECT_EQ(Texts(n->GetFirstNode()), (std::vector<std::string>{"Series", " Series1", " Series2", "Chart", " General",
                                                                 " Axis", "  Left Axis", "  Right Axis", "Data"}));
  EXPECT_EQ(n->Count(), 9);
  EXPECT_EQ(n->Item(6)->Text(), "Left Axis");
  EXPECT_EQ(n->Item(6)->Data(), &Left);
  EXPECT_EQ(n->Item(6)->AbsoluteIndex(), 6);
  EXPECT_THROW(n->Item(9), EListError);
  EXPECT_EQ(Axis->Parent(), Chart);
  EXPECT_EQ(Axis->Index(), 1);
  EXPECT_EQ(Chart->Count(), 2);
  EXPECT_EQ(Chart->Item(0)->Text(), "General");
  EXPECT_TRUE(Axis->HasChildren());
  EXPECT_FALSE(Data->HasChildren());
  EXPECT_EQ(Axis->GetFirstChild()->GetNextSibling()->Text(), "Right Axis");
  EXPECT_EQ(Data->GetPrev()->Text(), "Right Axis");
  EXPECT_EQ(Data->GetPrevVisible(), Chart) << "collapsed nodes hide their children";
  n->Insert(Data, "Tools");
  n->AddFirst(Series, "Top");
  EXPECT_EQ(n->GetFirstNode()->Text(), "Top");
  EXPECT_EQ(Data->GetPrevSibling()->Text(), "Tools");
  Axis->DeleteChildren();
  EXPECT_FALSE(Axis->HasChildren());
  Chart->Delete();
  EXPECT_EQ(n->Count(), 6);
  n->Clear();
  EXPECT_EQ(n->Count(), 0);
  EXPECT_EQ(n->GetFirstNode(), nullptr);
  EXPECT_TRUE(Log.empty()) << "building and deleting nodes fires nothing";
}

TEST_F(TreeFixture, SelectionFiresChangingAndChangeFromCodeAndFromTheMouse) {
  Form->Show();
  Tree->SetSelected(Series);
  EXPECT_EQ(Log, (std::vector<std::string>{"changing Series", "change Series"}));
  Log.clear();
  Series->SetSelected(true);  // already selected: nothing
  AllowChange = false;
  Data->SetSelected(true);
  EXPECT_EQ(Tree->Selected(), Series) << "refused";
  EXPECT_EQ(Log, (std::vector<std::string>{"changing Data"}));

  Log.clear();
  AllowChange = true;
  const TPoint p = OnText(Data);
  Click(Tree, p.X, p.Y);
  EXPECT_EQ(Tree->Selected(), Data);
  EXPECT_EQ(Log, (std::vector<std::string>{"changing Data", "change Data"}));

  // Selecting a hidden node from code shows it (its parents open).
  Log.clear();
  TTreeNode* left = Tree->Items()->Item(6);
  left->SetSelected(true);
  EXPECT_TRUE(Axis->Expanded());
  EXPECT_TRUE(left->IsVisible());
  EXPECT_EQ(Tree->GetNodeAt(5, OnText(left).Y), left);

  // Deleting the selected node leaves none, without events.
  Log.clear();
  left->Delete();
  EXPECT_EQ(Tree->Selected(), nullptr);
  EXPECT_TRUE(Log.empty());
}

TEST_F(TreeFixture, ExpandingByButtonKeysDoubleClickAndCode) {
  Form->Show();
  // The button left of a node opens and closes it without selecting it.
  const TRect r = Chart->DisplayRect(true);
  const int buttonX = r.Left - 2 - Tree->Indent() / 2;
  Click(Tree, buttonX, (r.Top + r.Bottom) / 2);
  EXPECT_TRUE(Chart->Expanded());
  EXPECT_EQ(Tree->Selected(), nullptr);
  EXPECT_EQ(Log, (std::vector<std::string>{"expanding Chart"}));

  Log.clear();
  AllowExpand = false;
  Axis->Expand(false);  // from code too, and refused
  EXPECT_FALSE(Axis->Expanded());
  AllowExpand = true;
  Axis->SetExpanded(true);
  EXPECT_TRUE(Axis->Expanded());
  EXPECT_EQ(Log, (std::vector<std::string>{"expanding Axis", "expanding Axis"}));

  // Keys: Left closes the selected node or goes to its parent, Right opens
  // it or goes to its first child.
  Log.clear();
  Tree->SetSelected(Axis);
  Tree->SetFocus();
  ProcessEvents();
  Key(Tree, VK_LEFT);
  EXPECT_FALSE(Axis->Expanded());
  Key(Tree, VK_LEFT);
  EXPECT_EQ(Tree->Selected(), Chart);
  Key(Tree, VK_DOWN);
  EXPECT_EQ(Tree->Selected()->Text(), "General");
  Key(Tree, VK_DOWN);
  Key(Tree, VK_RIGHT);
  Key(Tree, VK_RIGHT);
  EXPECT_EQ(Tree->Selected()->Text(), "Left Axis");
  // Closing a node over the selection selects the node.
  Log.clear();
  Chart->Collapse(false);
  EXPECT_EQ(Tree->Selected(), Chart);
  EXPECT_EQ(Log, (std::vector<std::string>{"collapsing Chart", "changing Chart", "change Chart"}));

  // A double click opens a node; FullExpand opens them all.
  Log.clear();
  const TPoint s = OnText(Series);
  DblClick(Tree, s.X, s.Y);
  EXPECT_TRUE(Series->Expanded());
  Tree->FullExpand();
  for (TTreeNode* n = Tree->Items()->GetFirstNode(); n; n = n->GetNext())
    EXPECT_TRUE(n->Expanded() || !n->HasChildren()) << n->Text();
  Tree->FullCollapse();
  EXPECT_FALSE(Series->Expanded());
  EXPECT_EQ(Tree->GetNodeAt(5, OnText(Data).Y), Data);
}

TEST_F(TreeFixture, InPlaceEditingAsksOnEditingAndTakesTheText) {
  Form->Show();
  Tree->SetSelected(Data);
  Tree->SetFocus();
  ProcessEvents();
  Log.clear();
  AllowEdit = false;
  Key(Tree, VK_F2);
  EXPECT_FALSE(Tree->IsEditing()) << "refused";
  AllowEdit = true;
  Key(Tree, VK_F2);
  ASSERT_TRUE(Tree->IsEditing());
  TEdit* ed = Tree->Editor();
  ProcessEvents();
  EXPECT_TRUE(ed->Focused());
  EXPECT_EQ(ed->Text(), "Data");
  TypeText(ed, "Grid");
  Key(ed, VK_RETURN, "\r");
  EXPECT_FALSE(Tree->IsEditing());
  EXPECT_EQ(Data->Text(), "Grid!");
  EXPECT_EQ(Log, (std::vector<std::string>{"editing Data", "editing Data", "edited Grid"}));
  ProcessEvents();
  EXPECT_TRUE(Tree->Focused());

  // Escape cancels; a read-only tree never edits.
  Log.clear();
  ASSERT_TRUE(Data->EditText());
  TypeText(Tree->Editor(), "x");
  Key(Tree->Editor(), VK_ESCAPE, "\x1b");
  EXPECT_EQ(Data->Text(), "Grid!");
  Tree->SetReadOnly(true);
  EXPECT_FALSE(Data->EditText());
  Tree->SetReadOnly(false);

  // A second click on the selected node edits once the double-click time
  // has passed (the timer, fired here by hand).
  Log.clear();
  const TPoint p = OnText(Data);
  Click(Tree, p.X, p.Y);
  EXPECT_FALSE(Tree->IsEditing());
  ASSERT_NE(Tree->EditTimer(), nullptr);
  EXPECT_TRUE(Tree->EditTimer()->Enabled());
  FireTimer(Tree->EditTimer());
  EXPECT_TRUE(Tree->IsEditing());
  Data->EndEdit(true);
  // A double click does not.
  DblClick(Tree, p.X, p.Y);
  EXPECT_FALSE(Tree->EditTimer()->Enabled());
}

TEST_F(TreeFixture, PaintsButtonsAndTheSelection) {
  Form->Show();
  Tree->SetSelected(Data);
  Tree->SetFocus();
  ProcessEvents();
  const TRect d = Data->DisplayRect(true);
  EXPECT_EQ(ColorToRGB(SurfacePixel(Tree, d.Left + 1, d.Top + 1)), ColorToRGB(clHighlight));
  const TRect c = Chart->DisplayRect(true);
  const int bx = c.Left - 2 - Tree->Indent() + Tree->Indent() / 2, by = (c.Top + c.Bottom) / 2;
  // A collapsed node's button shows a plus: the vertical stroke is there.
  EXPECT_EQ(ColorToRGB(SurfacePixel(Tree, bx, by - 2)), ColorToRGB(clWindowText));
  Chart->Expand(false);
  Tree->Repaint();
  EXPECT_EQ(ColorToRGB(SurfacePixel(Tree, bx, by - 2)), ColorToRGB(clWindow));
  // Without the focus the selection is hidden (HideSelection), or grey.
  const TRect e = Data->DisplayRect(true);
  EXPECT_EQ(e.Top, d.Top + 2 * Tree->ItemHeight()) << "below the two children shown";
  auto* other = new TEdit(Form);
  other->SetParent(Form);
  other->SetBounds(10, 270, 80, 20);
  other->SetFocus();
  ProcessEvents();
  Tree->Repaint();
  EXPECT_EQ(ColorToRGB(SurfacePixel(Tree, e.Left + 1, e.Top + 1)), ColorToRGB(clWindow));
  Tree->SetHideSelection(false);
  Tree->Repaint();
  EXPECT_EQ(ColorToRGB(SurfacePixel(Tree, e.Left + 1, e.Top + 1)), ColorToRGB(clBtnFace));
}
