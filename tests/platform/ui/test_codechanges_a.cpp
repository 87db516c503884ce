// Which values set from code fire events, for the pages, radio, list and
// tree controls whose editors fill them while loading: the class library's
// answers, one table.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/ui/forms.h"
#include "platform/ui/lists.h"
#include "platform/ui/pages.h"
#include "platform/ui/radio.h"
#include "platform/ui/treeview.h"
#include "support/gui/guitest.h"

using namespace guitest;

TEST(CodeChanges, PagesRadioListsAndTreesFireWhatTheClassLibraryFires) {
  EnsureGui();
  TForm form(nullptr);
  int events = 0;
  auto count = [&](TObject*) { ++events; };

  auto* group = new TRadioGroup(&form);
  group->SetParent(&form);
  group->Items()->Add("a");
  group->Items()->Add("b");
  group->OnClick = count;
  auto* radio = new TRadioButton(&form);
  radio->SetParent(&form);
  radio->OnClick = count;
  auto* pages = new TPageControl(&form);
  pages->SetParent(&form);
  for (int i = 0; i < 2; ++i) (new TTabSheet(&form))->SetPageControl(pages);
  pages->OnChange = count;
  pages->OnChanging = [&](TObject*, bool&) { ++events; };
  auto* tabs = new TTabControl(&form);
  tabs->SetParent(&form);
  tabs->Tabs()->Add("1");
  tabs->Tabs()->Add("2");
  tabs->OnChange = count;
  auto* list = new TListBox(&form);
  list->SetParent(&form);
  list->Items()->Add("x");
  list->Items()->Add("y");
  list->OnClick = count;
  auto* checks = new TCheckListBox(&form);
  checks->SetParent(&form);
  checks->Items()->Add("x");
  checks->OnClickCheck = count;
  checks->OnClick = count;
  auto* tree = new TTreeView(&form);
  tree->SetParent(&form);
  TTreeNode* root = tree->Items()->Add(nullptr, "root");
  tree->Items()->AddChild(root, "child");
  tree->OnChange = [&](TObject*, TTreeNode*) { ++events; };
  tree->OnExpanding = [&](TObject*, TTreeNode*, bool&) { ++events; };

  struct TCase {
    const char* What;
    std::function<void()> Change;
    int Events;
  };
  const TCase cases[] = {
      {"TRadioGroup.ItemIndex", [&] { group->SetItemIndex(1); }, 1},
      {"TRadioGroup.ItemIndex := -1", [&] { group->SetItemIndex(-1); }, 0},
      {"TRadioButton.Checked := True", [&] { radio->SetChecked(true); }, 1},
      {"TRadioButton.Checked := False", [&] { radio->SetChecked(false); }, 0},
      {"TPageControl.ActivePage", [&] { pages->SetActivePage(pages->Pages(1)); }, 0},
      {"TPageControl.ActivePageIndex", [&] { pages->SetActivePageIndex(0); }, 0},
      {"TTabControl.TabIndex", [&] { tabs->SetTabIndex(1); }, 0},
      {"TTabControl.Tabs", [&] { tabs->Tabs()->Add("3"); }, 0},
      {"TListBox.ItemIndex", [&] { list->SetItemIndex(1); }, 0},
      {"TListBox.Items", [&] { list->Items()->Add("z"); }, 0},
      {"TCheckListBox.Checked", [&] { checks->SetChecked(0, true); }, 0},
      {"TTreeView.Selected", [&] { tree->SetSelected(root); }, 1},
      {"TTreeNode.Expanded", [&] { root->SetExpanded(true); }, 1},
      {"TTreeNodes.Clear", [&] { tree->Items()->Clear(); }, 0},
  };
  for (const TCase& k : cases) {
    events = 0;
    k.Change();
    EXPECT_EQ(events, k.Events) << k.What;
  }
}
