// Links and form controls in cells: which targets are opened, jumps to other
// cells, the application's say over a click, and the embedded check boxes,
// buttons, edits and combos. Cells with controls carry other markup too, so
// that they count as markup.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grid/plusgrid.h"
#include "grid/support/psghtmle.h"
#include "platform/ui/shell.h"
#include "support/gui/guitest.h"

namespace {

class LinkFixture : public ::testing::Test {
protected:
  void SetUp() override {
    Previous = SetShellOpenHandler([this](const std::string&, const std::string& target, const std::string&) {
      Opened.push_back(target);
      return true;
    });
    Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 600, 400);
    Grid = new TPlusStringGrid(Form);
    Grid->SetParent(Form);
    Grid->SetBounds(0, 0, 560, 300);
    Grid->SetColCount(4);
    Grid->SetRowCount(8);
    Grid->SetDefaultColWidth(120);
  }
  void TearDown() override {
    delete Form;
    guitest::ProcessEvents();
    SetShellOpenHandler(Previous);
  }
  // A point on the first characters of a cell's text.
  TPoint TextStart(int c, int r) {
    const TRect R = Grid->CellRect(c, r);
    return TPoint{R.Left + 4, R.Top + 6};
  }
  // The value of control ID in the cell's markup, as the renderer reads it.
  std::string ControlValue(int c, int r, const std::string& ID) {
    THTMLDrawOptions o;
    o.CheckOnly = o.CalcOnly = true;
    o.ControlID = ID;
    return DrawHTML(Grid->Canvas(), Grid->Cells(c, r), Rect(0, 0, 400, 40), o).ControlValue;
  }
  bool ClickText(int c, int r) {
    const TPoint p = TextStart(c, r);
    return Grid->ClickCellLink(c, r, p.X, p.Y);
  }
  TShellOpenHandler Previous;
  std::vector<std::string> Opened;
  TForm* Form = nullptr;
  TPlusStringGrid* Grid = nullptr;
};

TEST_F(LinkFixture, OnlyWebAndMailTargetsAreOpened) {
  const std::vector<std::string> opened = {"http://example.org/a?b=c", "HTTPS://example.org", "ftp://host/file.txt",
                                           "mailto:someone@example.org"};
  const std::vector<std::string> ignored = {"file:///etc/passwd",
                                            "/usr/bin/xterm",
                                            "C:\\Windows\\notepad.exe",
                                            "xterm",
                                            "javascript:alert(1)",
                                            "smb://host/share",
                                            "http:/example.org",
                                            "http://",
                                            "http:///etc/passwd",
                                            " http://example.org",
                                            "http://example.org/\nrm",
                                            "mailto:",
                                            ""};
  for (const std::string& a : opened) Grid->FollowCellLink(a);
  for (const std::string& a : ignored) {
    Grid->FollowCellLink(a);
    EXPECT_FALSE(TPlusStringGrid::IsOpenableLink(a)) << a;
  }
  EXPECT_EQ(Opened, opened);
}

TEST_F(LinkFixture, CellReferencesMoveTheCurrentCell) {
  Grid->FollowCellLink("CELL://R5C2");
  EXPECT_EQ(Grid->Col(), 2);
  EXPECT_EQ(Grid->Row(), 5);
  Grid->FollowCellLink("cell://r3c1");
  EXPECT_EQ(Grid->Col(), 1);
  EXPECT_EQ(Grid->Row(), 3);
  for (const char* bad : {"CELL://B5", "CELL://R99C2", "CELL://R2C9", "CELL://", "CELL://R-1C1"}) {
    Grid->FollowCellLink(bad);
    EXPECT_EQ(Grid->Col(), 1) << bad;
    EXPECT_EQ(Grid->Row(), 3) << bad;
  }
  EXPECT_TRUE(Opened.empty());
}

TEST_F(LinkFixture, AnchorClicksGoThroughTheApplication) {
  Grid->SetCells(1, 1, "see <A href=\"CELL://R6C3\">there</A>");
  Grid->SetCells(1, 2, "<A href=\"https://example.org\">web</A>");
  Grid->SetCells(1, 3, "<A href=\"file:///etc/passwd\">local</A>");
  std::vector<std::string> clicked;
  bool keep = true;
  Grid->OnAnchorClick = [&](TObject*, int ARow, int ACol, const std::string& Anchor, bool& AutoHandle) {
    clicked.push_back(std::to_string(ACol) + "," + std::to_string(ARow) + " " + Anchor);
    AutoHandle = keep;
  };
  EXPECT_FALSE(ClickText(1, 1)) << "the plain words before the anchor";
  const TRect R = Grid->CellRect(1, 1);
  const int x = R.Left + 2 + Grid->Canvas()->TextWidth("see t");
  EXPECT_TRUE(Grid->ClickCellLink(1, 1, x, R.Top + 6));
  EXPECT_EQ(Grid->Row(), 6);
  EXPECT_EQ(Grid->Col(), 3);
  EXPECT_TRUE(ClickText(1, 2));
  EXPECT_TRUE(ClickText(1, 3));
  EXPECT_EQ(Opened, std::vector<std::string>{"https://example.org"});
  keep = false;
  EXPECT_TRUE(ClickText(1, 2));
  EXPECT_EQ(Opened.size(), 1u) << "a handler that clears AutoHandle opens nothing";
  EXPECT_EQ(clicked, (std::vector<std::string>{"1,1 CELL://R6C3", "1,2 https://example.org",
                                                "1,3 file:///etc/passwd", "1,2 https://example.org"}));
}

TEST_F(LinkFixture, UrlCellsOpenOnlyWithURLShowAndOnlyWebTargets) {
  Grid->SetCells(1, 1, "http://example.org/x");
  Grid->SetCells(1, 2, "file:///usr/bin/xterm");
  EXPECT_FALSE(ClickText(1, 1)) << "URLShow is off";
  Grid->SetURLShow(true);
  EXPECT_TRUE(ClickText(1, 1));
  EXPECT_TRUE(ClickText(1, 2));
  EXPECT_EQ(Opened, std::vector<std::string>{"http://example.org/x"});
}

TEST_F(LinkFixture, CheckControlsToggleAndReportTheOldValue) {
  Grid->SetCells(1, 1, "<CONTROL TYPE=\"CHECK\" ID=\"c1\" VALUE=\"true\" WIDTH=\"20\"> <I>done</I>");
  std::vector<std::string> clicks;
  Grid->OnControlClick = [&](TObject*, int, int, const std::string& ID, const std::string& Type,
                             const std::string& Val) { clicks.push_back(ID + " " + Type + " " + Val); };
  ASSERT_TRUE(ClickText(1, 1));
  EXPECT_EQ(ControlValue(1, 1, "c1"), "TRUE");
  ASSERT_TRUE(ClickText(1, 1));
  EXPECT_EQ(ControlValue(1, 1, "c1"), "FALSE");
  EXPECT_EQ(clicks, (std::vector<std::string>{"c1 CHECK true", "c1 CHECK TRUE"}));
  EXPECT_TRUE(Opened.empty()) << "a control is never a link";

  // Refused by the can-edit hook: the click is an anchor click on "ctrl".
  Grid->OnCanEditCell = [](TObject*, int, int, bool& CanEdit) { CanEdit = false; };
  std::vector<std::string> anchors;
  Grid->OnAnchorClick = [&](TObject*, int, int, const std::string& Anchor, bool&) { anchors.push_back(Anchor); };
  ASSERT_TRUE(ClickText(1, 1));
  EXPECT_EQ(ControlValue(1, 1, "c1"), "FALSE");
  EXPECT_EQ(anchors, std::vector<std::string>{"ctrl"});
  EXPECT_TRUE(Opened.empty());
}

TEST_F(LinkFixture, ButtonControlLooksPressedUntilReleased) {
  Grid->SetCells(2, 2, "<CONTROL TYPE=\"BUTTON\" ID=\"b\" VALUE=\"Go\" WIDTH=\"40\"> <I>x</I>");
  int clicks = 0;
  Grid->OnControlClick = [&](TObject*, int, int, const std::string&, const std::string&, const std::string&) {
    ++clicks;
  };
  ASSERT_TRUE(ClickText(2, 2));
  EXPECT_EQ(clicks, 1) << "fired at the press";
  EXPECT_TRUE(Grid->ControlButtonPressed());
  EXPECT_EQ(Grid->ControlCell(), (TPoint{2, 2}));
  Grid->ReleaseControlButton();
  EXPECT_FALSE(Grid->ControlButtonPressed());
}

TEST_F(LinkFixture, EditControlsEditInPlaceAndTabWalksOn) {
  Grid->SetCells(1, 1,
                 "<CONTROL TYPE=\"EDIT\" ID=\"e1\" VALUE=\"one\" WIDTH=\"50\"> "
                 "<CONTROL TYPE=\"CHECK\" ID=\"c\" VALUE=\"FALSE\" WIDTH=\"20\"> "
                 "<CONTROL TYPE=\"PASSWORD\" ID=\"e2\" VALUE=\"pw\" WIDTH=\"50\"> <I>x</I>");
  std::vector<std::string> done;
  Grid->OnControlEditDone = [&](TObject*, int ARow, int ACol, const std::string& ID, const std::string& Type,
                                const std::string& Val) {
    done.push_back(std::to_string(ACol) + "," + std::to_string(ARow) + " " + ID + " " + Type + " " + Val);
  };
  ASSERT_TRUE(ClickText(1, 1));
  ASSERT_TRUE(Grid->ControlEditOpen());
  TControlEdit* e = Grid->ControlEdit();
  EXPECT_TRUE(e->Visible());
  EXPECT_EQ(e->Text(), "one");
  EXPECT_EQ(e->PasswordChar(), '\0');
  e->SetText("one & <two>");
  char tab = '\t';
  e->KeyPress(tab);
  EXPECT_EQ(tab, 0);
  // The check box is skipped: the password control is next.
  EXPECT_TRUE(Grid->ControlEditOpen());
  EXPECT_EQ(Grid->ControlID(), "e2");
  EXPECT_EQ(e->Text(), "pw");
  EXPECT_EQ(e->PasswordChar(), '*');
  e->SetText("secret");
  char tab2 = '\t';
  e->KeyPress(tab2);
  EXPECT_FALSE(Grid->ControlEditOpen()) << "after the last control the grid has the focus back";
  EXPECT_FALSE(e->Visible());
  EXPECT_EQ(done, (std::vector<std::string>{"1,1 e1 EDIT one & <two>", "1,1 e2 PASSWORD secret"}));

  // The values live in the markup, escaped; the renderer reads them back.
  EXPECT_EQ(ControlValue(1, 1, "e1"), "one & <two>");
  EXPECT_EQ(ControlValue(1, 1, "e2"), "secret");
}

TEST_F(LinkFixture, ComboControlTakesItsListFromTheApplication) {
  Grid->SetCells(1, 1, "<CONTROL TYPE=\"COMBO\" ID=\"k\" VALUE=\"Zr\" WIDTH=\"80\"> <I>x</I>");
  Grid->OnControlComboList = [](TObject*, int, int, const std::string&, const std::string&, const std::string&,
                                TStringList* Values, bool& Edit, int& DropCount) {
    Values->Add("Fe");
    Values->Add("O");
    Edit = false;
    DropCount = 4;
  };
  ASSERT_TRUE(ClickText(1, 1));
  TControlCombo* c = Grid->ControlCombo();
  EXPECT_EQ(c->Style(), csDropDownList);
  EXPECT_EQ(c->Items()->Count(), 2);
  EXPECT_EQ(c->ItemIndex(), -1);
  EXPECT_EQ(c->DropDownCount(), 4);
  // Nothing chosen: the value outside the list is kept, not emptied.
  Grid->EndCellControlEdit();
  EXPECT_EQ(ControlValue(1, 1, "k"), "Zr");
  ASSERT_TRUE(ClickText(1, 1));
  c->SetItemIndex(1);
  Grid->EndCellControlEdit();
  EXPECT_EQ(ControlValue(1, 1, "k"), "O");
}


TEST_F(LinkFixture, AClickOnALinkFollowsItAndOpensOnlyWebTargets) {
  Grid->SetURLShow(true);
  struct Case {
    const char* text;
    const char* opened;  // "" when nothing may open
  };
  const Case cases[] = {
      {"http://example.org/x", "http://example.org/x"},
      {"<A href=\"https://example.org/y\">web</A>", "https://example.org/y"},
      {"<A href=\"mailto:someone@example.org\">mail</A>", "mailto:someone@example.org"},
      {"file:///etc/passwd", ""},
      {"<A href=\"file:///etc/passwd\">local</A>", ""},
      {"<A href=\"/usr/bin/xterm\">program</A>", ""},
      {"<A href=\"C:\\Windows\\notepad.exe\">program</A>", ""},
      {"<A href=\"javascript:alert(1)\">script</A>", ""},
  };
  for (const Case& c : cases) {
    Opened.clear();
    Grid->SetCells(1, 1, c.text);
    const TPoint p = TextStart(1, 1);
    guitest::Click(Grid, p.X, p.Y);
    const std::vector<std::string> want = *c.opened ? std::vector<std::string>{c.opened} : std::vector<std::string>{};
    EXPECT_EQ(Opened, want) << c.text;
  }
}

TEST_F(LinkFixture, AClickOnACellAnchorMovesTheCurrentCell) {
  Grid->SetCells(1, 1, "<A href=\"CELL://R5C2\">fifth row</A>");
  Grid->SetCells(1, 2, "<A href=\"cell://B5\">nowhere</A>");
  std::vector<std::string> clicked;
  Grid->OnAnchorClick = [&](TObject*, int ARow, int ACol, const std::string& Anchor, bool&) {
    clicked.push_back(std::to_string(ACol) + "," + std::to_string(ARow) + " " + Anchor);
  };
  const TPoint p = TextStart(1, 1);
  guitest::Click(Grid, p.X, p.Y);
  EXPECT_EQ(Grid->Col(), 2);
  EXPECT_EQ(Grid->Row(), 5);
  const TPoint q = TextStart(1, 2);
  guitest::Click(Grid, q.X, q.Y);
  EXPECT_EQ(Grid->Col(), 2) << "a reference that does not parse goes nowhere";
  EXPECT_EQ(Grid->Row(), 5);
  EXPECT_EQ(clicked, (std::vector<std::string>{"1,1 CELL://R5C2", "1,2 cell://B5"}));
  EXPECT_TRUE(Opened.empty());

  // The application handles the link itself.
  Grid->OnAnchorClick = [](TObject*, int, int, const std::string&, bool& AutoHandle) { AutoHandle = false; };
  guitest::Click(Grid, p.X, p.Y);
  Grid->SetCells(1, 3, "<A href=\"http://example.org\">web</A>");
  const TPoint w = TextStart(1, 3);
  guitest::Click(Grid, w.X, w.Y);
  EXPECT_TRUE(Opened.empty());
  EXPECT_EQ(Grid->Col(), 2);
  EXPECT_EQ(Grid->Row(), 5) << "a click on a link is no click on the cell";

  // Beside the anchor the click selects the cell as any other.
  Grid->SetColWidths(1, 300);
  const TRect r = Grid->CellRect(1, 1);
  guitest::Click(Grid, r.Right - 5, r.Top + 6);
  EXPECT_EQ(Grid->Col(), 1);
  EXPECT_EQ(Grid->Row(), 1);
}

TEST_F(LinkFixture, EmbeddedControlsAnswerTheMouse) {
  Grid->SetCells(1, 1, "<CONTROL TYPE=\"CHECK\" ID=\"c1\" VALUE=\"FALSE\" WIDTH=\"20\"> <I>done</I>");
  Grid->SetCells(2, 2, "<CONTROL TYPE=\"BUTTON\" ID=\"b\" VALUE=\"Go\" WIDTH=\"40\"> <I>x</I>");
  const TPoint p = TextStart(1, 1);
  guitest::Click(Grid, p.X, p.Y);
  EXPECT_EQ(ControlValue(1, 1, "c1"), "TRUE");
  const TPoint b = TextStart(2, 2);
  guitest::MouseDown(Grid, mbLeft, b.X, b.Y);
  EXPECT_TRUE(Grid->ControlButtonPressed());
  guitest::MouseUp(Grid, mbLeft, b.X, b.Y);
  EXPECT_FALSE(Grid->ControlButtonPressed()) << "the release lets it up";
  // A click beside the controls of a cell holding some selects the cell only.
  Grid->SetColWidths(1, 300);
  const TRect r = Grid->CellRect(1, 1);
  guitest::Click(Grid, r.Right - 5, r.Top + 6);
  EXPECT_EQ(Grid->Selection(), (TGridRect{1, 1, 1, 1}));
  EXPECT_EQ(ControlValue(1, 1, "c1"), "TRUE");
}

}  // namespace
