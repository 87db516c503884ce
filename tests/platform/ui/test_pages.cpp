// Tab controls and page controls: tabs made at run time, clicks and keys that
// change the page (and may be refused), changes from code that fire nothing,
// pages moved between page controls and out to other parents, multi-line
// rows, and forms embedded without border in a page or a panel.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/extctrls.h"
#include "platform/ui/forms.h"
#include "platform/ui/pages.h"
#include "platform/ui/stdctrls.h"
#include "support/gui/guitest.h"

using namespace guitest;

namespace {

struct PagesFixture : ::testing::Test {
  TForm* Form = nullptr;
  std::vector<std::string> Log;
  void SetUp() override {
    EnsureGui();
    Form = new TForm(nullptr);
    Form->SetBounds(50, 50, 420, 320);
  }
  void TearDown() override {
    delete Form;
    ProcessEvents();
  }
  TPageControl* MakePages(std::initializer_list<const char*> captions) {
    auto* pc = new TPageControl(Form);
    pc->SetParent(Form);
    pc->SetBounds(10, 10, 300, 200);
    for (const char* c : captions) {
      auto* sheet = new TTabSheet(Form);
      sheet->SetCaption(c);
      sheet->SetPageControl(pc);
    }
    pc->OnChanging = [this](TObject*, bool& allow) {
      Log.push_back("changing");
      allow = Allow;
    };
    pc->OnChange = [this, pc](TObject*) { Log.push_back("change " + pc->ActivePage()->Caption()); };
    return pc;
  }
  static TPoint Centre(TRect r) { return Point((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2); }
  bool Allow = true;
};

}  // namespace

TEST_F(PagesFixture, ClickingATabAsksThenChangesAndFromCodeNothingFires) {
  TPageControl* pc = MakePages({"Series", "General", "Axis"});
  Form->Show();
  ASSERT_EQ(pc->PageCount(), 3);
  EXPECT_EQ(pc->ActivePageIndex(), 0) << "the first page made becomes the active one";
  EXPECT_TRUE(pc->Pages(0)->Visible());
  EXPECT_FALSE(pc->Pages(1)->Visible());

  const TPoint p = Centre(pc->TabRect(2));
  Click(pc, p.X, p.Y);
  EXPECT_EQ(pc->ActivePage(), pc->Pages(2));
  EXPECT_EQ(Log, (std::vector<std::string>{"changing", "change Axis"}));
  EXPECT_TRUE(pc->Pages(2)->Visible());
  EXPECT_FALSE(pc->Pages(0)->Visible());

  Log.clear();
  Allow = false;
  const TPoint q = Centre(pc->TabRect(1));
  Click(pc, q.X, q.Y);
  EXPECT_EQ(pc->ActivePage(), pc->Pages(2)) << "OnChanging refused";
  EXPECT_EQ(Log, (std::vector<std::string>{"changing"}));

  Log.clear();
  pc->SetActivePage(pc->Pages(0));
  pc->SetActivePageIndex(1);
  EXPECT_EQ(pc->ActivePage(), pc->Pages(1));
  EXPECT_TRUE(Log.empty()) << "changes from code fire no event";

  // Keys while the tab row has the focus move like clicks.
  Allow = true;
  pc->SetFocus();
  ProcessEvents();
  Key(pc, VK_RIGHT);
  EXPECT_EQ(pc->ActivePageIndex(), 2);
  Key(pc, VK_TAB, "", {ssCtrl});
  EXPECT_EQ(pc->ActivePageIndex(), 0);
  EXPECT_EQ(Log, (std::vector<std::string>{"changing", "change Axis", "changing", "change Series"}));
}

TEST_F(PagesFixture, PagesFillTheDisplayAreaAndTheirChildrenShowWithThem) {
  TPageControl* pc = MakePages({"One", "Two"});
  auto* edit = new TEdit(Form);
  edit->SetParent(pc->Pages(1));
  edit->SetBounds(5, 5, 80, 22);
  Form->Show();
  const TRect d = pc->DisplayRect();
  EXPECT_EQ(pc->Pages(0)->BoundsRect(), d);
  EXPECT_EQ(pc->Pages(1)->BoundsRect(), d);
  EXPECT_GT(d.Top, pc->TabRect(0).Bottom - 1);
  EXPECT_FALSE(edit->Showing());
  pc->SetActivePageIndex(1);
  EXPECT_TRUE(edit->Showing());
  pc->SetBounds(10, 10, 360, 250);
  EXPECT_EQ(pc->Pages(1)->Width(), pc->DisplayRect().Width());
  // A client-aligned child of the page control fills the same area.
  auto* panel = new TPanel(Form);
  panel->SetParent(pc);
  panel->SetAlign(alClient);
  EXPECT_EQ(panel->BoundsRect(), pc->DisplayRect());
}

TEST_F(PagesFixture, HiddenTabsAndMovedPages) {
  TPageControl* pc = MakePages({"A", "B", "C", "D"});
  pc->SetActivePageIndex(1);
  pc->Pages(0)->SetTabVisible(false);
  EXPECT_EQ(pc->Pages(0)->TabIndex(), -1);
  EXPECT_EQ(pc->Pages(2)->TabIndex(), 1);
  EXPECT_EQ(pc->TabIndex(), 0);
  EXPECT_EQ(pc->TabRect(3).Width(), 0) << "three tabs shown";
  // Hiding the active page's tab activates the tab that takes its place.
  pc->Pages(1)->SetTabVisible(false);
  EXPECT_EQ(pc->ActivePage()->Caption(), "C");
  EXPECT_EQ(pc->FindNextPage(pc->Pages(3), true, true)->Caption(), "C");
  EXPECT_EQ(pc->FindNextPage(pc->Pages(3), true, false)->Caption(), "A");

  // A page moves to another page control with its children; the page it
  // leaves is replaced by its neighbour.
  auto* other = new TPageControl(Form);
  other->SetParent(Form);
  other->SetBounds(10, 220, 300, 90);
  TTabSheet* c = pc->ActivePage();
  auto* label = new TLabel(Form);
  label->SetParent(c);
  c->SetPageControl(other);
  EXPECT_EQ(c->Parent(), other);
  EXPECT_EQ(label->Parent(), c);
  EXPECT_EQ(other->ActivePage(), c);
  EXPECT_EQ(pc->PageCount(), 3);
  EXPECT_EQ(pc->ActivePage()->Caption(), "D");
  c->SetPageIndex(0);
  EXPECT_EQ(c->PageIndex(), 0);

  // Parent set to a panel shows the page there while it stays a page; set
  // back to its page control it is placed as a page again.
  auto* host = new TPanel(Form);
  host->SetParent(Form);
  host->SetBounds(320, 10, 90, 200);
  TTabSheet* d = pc->ActivePage();
  d->SetParent(host);
  d->SetAlign(alClient);
  EXPECT_EQ(d->PageControl(), pc);
  EXPECT_EQ(d->BoundsRect(), host->ClientRect());
  d->SetAlign(alNone);
  d->SetParent(pc);
  EXPECT_EQ(d->Parent(), pc);
  EXPECT_EQ(d->BoundsRect(), pc->DisplayRect());

  // A page freed leaves its page control.
  delete pc->Pages(0);
  EXPECT_EQ(pc->PageCount(), 2);
  EXPECT_NO_THROW(pc->SetActivePageIndex(1));
  EXPECT_THROW(pc->Pages(5), EListError);
}

TEST_F(PagesFixture, TabControlTabsMadeAtRunTime) {
  auto* tc = new TTabControl(Form);
  tc->SetParent(Form);
  tc->SetBounds(0, 0, 300, 150);
  int changes = 0;
  tc->OnChange = [&](TObject*) { ++changes; };
  tc->OnChanging = [&](TObject*, bool& allow) { allow = tc->TabIndex() != 1; };
  EXPECT_EQ(tc->TabIndex(), -1);
  tc->Tabs()->Add("Phase1");
  EXPECT_EQ(tc->TabIndex(), 0) << "the first tab becomes current";
  tc->Tabs()->Add("Phase2");
  tc->Tabs()->Add("Phase3");
  Form->Show();
  auto click = [&](int i) {
    const TPoint p = Centre(tc->TabRect(i));
    Click(tc, p.X, p.Y);
  };
  click(1);
  EXPECT_EQ(tc->TabIndex(), 1);
  click(2);
  EXPECT_EQ(tc->TabIndex(), 1) << "refused while on the second tab";
  tc->SetTabIndex(2);
  click(0);
  EXPECT_EQ(tc->TabIndex(), 0);
  EXPECT_EQ(changes, 2);
  // Deleting the current tab leaves none; rebuilding starts at the first.
  tc->Tabs()->Delete(0);
  EXPECT_EQ(tc->TabIndex(), -1);
  tc->Tabs()->Clear();
  tc->Tabs()->Add("Histogram1");
  EXPECT_EQ(tc->TabIndex(), 0);
  tc->SetTabIndex(7);
  EXPECT_EQ(tc->TabIndex(), -1);
  EXPECT_EQ(changes, 2);
}

TEST_F(PagesFixture, LongTabRowsWrapWithMultiLineAndScrollWithout) {
  auto* tc = new TTabControl(Form);
  tc->SetParent(Form);
  tc->SetBounds(0, 0, 200, 150);
  for (const char* s : {"Instrument", "Histogram", "Macros", "Display", "Folders", "Refinement"}) tc->Tabs()->Add(s);
  Form->Show();
  EXPECT_EQ(tc->RowCount(), 1);
  EXPECT_EQ(tc->TabRect(5).Width(), 0) << "the last tab is scrolled out of the row";
  tc->SetTabIndex(5);
  EXPECT_GT(tc->TabRect(5).Width(), 0) << "the current tab is scrolled into view";
  EXPECT_EQ(tc->TabRect(0).Width(), 0);
  const int oneRowTop = tc->DisplayRect().Top;

  tc->SetMultiLine(true);
  EXPECT_GT(tc->RowCount(), 1);
  for (int i = 0; i < 6; ++i) {
    const TRect r = tc->TabRect(i);
    EXPECT_GT(r.Width(), 0);
    EXPECT_LE(r.Right, tc->Width());
    EXPECT_EQ(tc->IndexOfTabAt(r.Left + 2, r.Top + 2), i);
  }
  // The current tab's row lies next to the page.
  EXPECT_EQ(tc->TabRect(5).Bottom, tc->DisplayRect().Top - 4);
  EXPECT_GT(tc->DisplayRect().Top, oneRowTop);
  // A client-aligned child follows the taller tab area.
  auto* panel = new TPanel(Form);
  panel->SetParent(tc);
  panel->SetAlign(alClient);
  EXPECT_EQ(panel->Top(), tc->DisplayRect().Top);
}

TEST_F(PagesFixture, ActivePageTabIsPaintedOverTheFrameAndAHighlightedTabIsFilled) {
  TPageControl* pc = MakePages({"Style", "Format"});
  Form->Show();
  const TRect a = pc->TabRect(0), b = pc->TabRect(1);
  const int frameTop = pc->DisplayRect().Top - 4;
  // The frame's light edge runs under the inactive tab, not under the active one.
  EXPECT_EQ(ColorToRGB(SurfacePixel(pc, (b.Left + b.Right) / 2, frameTop)), ColorToRGB(cl3DLight));
  EXPECT_EQ(ColorToRGB(SurfacePixel(pc, (a.Left + a.Right) / 2, frameTop)), ColorToRGB(clBtnFace));
  // The active tab stands 2 pixels above the others.
  EXPECT_EQ(ColorToRGB(SurfacePixel(pc, (a.Left + a.Right) / 2, a.Top - 2)), ColorToRGB(cl3DLight));
  EXPECT_EQ(ColorToRGB(SurfacePixel(pc, (b.Left + b.Right) / 2, b.Top - 2)), ColorToRGB(clBtnFace));
  pc->Pages(1)->SetHighlighted(true);
  EXPECT_EQ(ColorToRGB(SurfacePixel(pc, b.Left + 3, b.Top + 3)), ColorToRGB(clHighlight));
}

TEST_F(PagesFixture, BorderlessFormsEmbedInAPageAndInAPanel) {
  TPageControl* pc = MakePages({"Format", "General"});
  auto* host = new TPanel(Form);
  host->SetParent(Form);
  host->SetBounds(320, 10, 90, 200);
  Form->Show();
  for (TWinControl* parent : std::initializer_list<TWinControl*>{pc->Pages(0), host}) {
    auto* embedded = new TForm(Form);
    int shows = 0;
    embedded->OnShow = [&](TObject*) { ++shows; };
    embedded->SetBorderStyle(bsNone);
    embedded->SetColor(clAqua);
    embedded->SetParent(parent);
    embedded->SetAlign(alClient);
    auto* edit = new TEdit(embedded);
    edit->SetParent(embedded);
    edit->SetBounds(4, 4, 60, 22);
    int keys = 0;
    edit->OnKeyPress = [&](TObject*, char&) { ++keys; };
    embedded->Show();
    EXPECT_EQ(shows, 1);
    EXPECT_EQ(embedded->BoundsRect(), parent->ClientRect());
    EXPECT_TRUE(embedded->Showing());
    EXPECT_TRUE(edit->Showing());
    // The embedded form is a child window, not a window of its own: it sits
    // inside its parent on the screen and the outer form stays active.
    EXPECT_EQ(embedded->ClientToScreen(Point(0, 0)), parent->ClientToScreen(embedded->BoundsRect().TopLeft()));
    EXPECT_EQ(Screen->ActiveForm(), Form);
    EXPECT_EQ(GetParentForm(edit), Form) << "the outer form holds the focus of embedded controls";
    edit->SetFocus();
    ProcessEvents();
    EXPECT_TRUE(edit->Focused());
    EXPECT_EQ(Form->ActiveControl(), edit);
    TypeText(edit, "ab");
    EXPECT_EQ(edit->Text(), "ab");
    EXPECT_EQ(keys, 2);
    // It is drawn inside the outer form's window.
    EXPECT_EQ(ColorToRGB(ShownPixel(embedded, 20, 60)), ColorToRGB(clAqua));
  }
  // Moving the page out of sight hides the embedded form with it.
  pc->SetActivePageIndex(1);
  EXPECT_FALSE(pc->Pages(0)->Showing());
}
