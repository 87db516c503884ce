// Which value changes made from code fire the control's events, as the
// class library fires them: the editor forms' loading flags rely on it.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/ui/forms.h"
#include "platform/ui/ranges.h"
#include "platform/ui/stdctrls.h"
#include "support/gui/guitest.h"

namespace {

TEST(CodeChanges, FireTheEventsTheClassLibraryFires) {
  TForm form(nullptr);
  std::map<std::string, int> fired;
  auto count = [&](const std::string& name) { return [&fired, name](TObject*) { ++fired[name]; }; };

  auto* check = new TCheckBox(&form);
  check->SetParent(&form);
  check->OnClick = count("check OnClick");
  auto* edit = new TEdit(&form);
  edit->SetParent(&form);
  edit->OnChange = count("edit OnChange");
  auto* buddy = new TEdit(&form);
  buddy->SetParent(&form);
  auto* ud = new TUpDown(&form);
  ud->SetAssociate(buddy);
  buddy->OnChange = count("up-down's edit OnChange");
  ud->OnClick = [&](TObject*, TUDBtnType) { ++fired["up-down OnClick"]; };
  ud->OnChanging = [&](TObject*, bool&) { ++fired["up-down OnChanging"]; };
  auto* track = new TTrackBar(&form);
  track->SetParent(&form);
  track->OnChange = count("track bar OnChange");
  auto* combo = new TComboBox(&form);
  combo->SetParent(&form);
  combo->Items()->Add("a");
  combo->Items()->Add("b");
  combo->OnChange = count("combo OnChange");
  combo->OnSelect = count("combo OnSelect");
  combo->OnClick = count("combo OnClick");
  auto* scroll = new TScrollBar(&form);
  scroll->SetParent(&form);
  scroll->OnChange = count("scroll bar OnChange");
  scroll->OnScroll = [&](TObject*, TScrollCode, int&) { ++fired["scroll bar OnScroll"]; };
  form.Show();

  struct Case {
    std::string what;
    std::function<void()> change;
    std::map<std::string, int> events;
  };
  const std::vector<Case> cases{
      {"check box Checked", [&] { check->SetChecked(true); }, {{"check OnClick", 1}}},
      {"check box Checked unchanged", [&] { check->SetChecked(true); }, {}},
      {"edit Text", [&] { edit->SetText("1.5"); }, {{"edit OnChange", 1}}},
      {"edit Text unchanged", [&] { edit->SetText("1.5"); }, {}},
      {"up-down Position", [&] { ud->SetPosition(5); }, {{"up-down's edit OnChange", 1}}},
      {"track bar Position", [&] { track->SetPosition(3); }, {{"track bar OnChange", 1}}},
      {"track bar Position unchanged", [&] { track->SetPosition(3); }, {}},
      {"combo ItemIndex", [&] { combo->SetItemIndex(1); }, {}},
      {"combo Text", [&] { combo->SetText("a"); }, {}},
      {"scroll bar Position", [&] { scroll->SetPosition(40); }, {{"scroll bar OnChange", 1}}},
      {"scroll bar range moving the position", [&] { scroll->SetMax(30); }, {{"scroll bar OnChange", 1}}},
  };
  for (const Case& c : cases) {
    fired.clear();
    c.change();
    EXPECT_EQ(fired, c.events) << c.what;
  }
  EXPECT_EQ(buddy->Text(), "5");
  EXPECT_EQ(combo->ItemIndex(), 0);
}

}  // namespace
