// The custom editor link: the order in which the grid builds, places, fills
// and activates the link's control, the keys that leave it, Escape, rejected
// values, the pop-up form and the window procedure that asks for Tab. The
// rich text editor: RTF kept through an edit, the row growing with the text,
// the keys that leave it, and rich-text cells drawn and measured.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grid/editgrid.h"
#include "grid/plusgrid.h"
#include "grid/plusgrid_editlink.h"
#include "platform/ui/forms.h"
#include "platform/ui/richedit.h"
#include "platform/ui/editctrls.h"
#include "platform/ui/stdctrls.h"
#include "support/gui/guitest.h"

using namespace guitest;

namespace {

// A link editing through a plain edit that hands its keys to the link.
class TTestLink : public TEditLink {
public:
  explicit TTestLink(TComponent* AOwner, std::vector<std::string>& Log) : TEditLink(AOwner), FLog(Log) {}
  TCustomEdit* Edit = nullptr;
  TWinControl* EditorControl() override { return Edit; }
  void BuildEditor(TWinControl* AParent) override {
    FLog.push_back("Build");
    if (!Edit) {
      Edit = new TCustomEdit(this);
      Edit->FreeNotification(this);
      Edit->OnKeyDown = [this](TObject* s, uint16_t& k, TShiftState sh) { HandleEditorKey(s, k, sh); };
    }
    Edit->SetParent(AParent);
  }
  void ReleaseEditor() override { FLog.push_back("Release"); }
  void PlaceEditor(TRect R) override {
    FLog.push_back("Place");
    TEditLink::PlaceEditor(R);
  }
  void ShowEditorControl(bool Value) override {
    FLog.push_back(Value ? "Show" : "Hide");
    TEditLink::ShowEditorControl(Value);
  }
  void ApplyCellLook(TColor, TFont*) override { FLog.push_back("Look"); }
  void ApplyEditorSettings() override { FLog.push_back("Settings"); }
  void ActivateEditor(bool Value) override {
    FLog.push_back("Activate");
    TEditLink::ActivateEditor(Value);
  }
  std::string ReadEditorValue() override { return Edit ? Edit->Text() : ""; }
  void WriteEditorValue(const std::string& Value) override {
    FLog.push_back("Write " + Value);
    if (Edit) Edit->SetText(Value);
  }

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TEditLink::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == Edit) Edit = nullptr;
  }

private:
  std::vector<std::string>& FLog;
};

struct LinkGrid : EditGrid {
  TTestLink* Link = nullptr;
  std::vector<std::string> Calls;
  void SetUp() override {
    EditGrid::SetUp();
    Link = new TTestLink(Form, Calls);
    Grid->SetCellEditLink(Link);
    Editors(edCustom);
    Grid->SetCells(1, 1, "start");
  }
  void Open() {
    Key(Grid, VK_F2);
    ProcessEvents();
  }
};

TEST_F(LinkGrid, TheLinkIsBuiltPlacedFilledAndActivatedInOrder) {
  Grid->OnGetEditorProp = [&](TObject* s, int c, int r, TEditLink* l) {
    EXPECT_EQ(s, Grid);
    EXPECT_EQ(l, Link);
    Calls.push_back("Prop " + std::to_string(c) + "," + std::to_string(r));
  };
  Open();
  EXPECT_EQ(Calls, (std::vector<std::string>{"Build", "Place", "Show", "Look", "Settings", "Prop 1,1", "Write start",
                                              "Activate"}));
  ASSERT_NE(Link->Edit, nullptr);
  EXPECT_EQ(Link->Edit->Parent(), Grid);
  EXPECT_TRUE(Link->Edit->Focused());
  EXPECT_EQ(Link->Grid(), Grid);
  EXPECT_EQ(Link->EditCol(), 1);
  const TRect cell = Grid->CellRect(1, 1);
  EXPECT_EQ(Link->Edit->Left(), cell.Left);
  EXPECT_EQ(Link->Edit->Width(), cell.Right - cell.Left - Grid->GridLineWidth());
  EXPECT_EQ(Grid->ActiveEditorControl(), Link->Edit);
  Key(Link->Edit, VK_ESCAPE, "\x1b");

  // The typed character that starts the edit follows the cell's text.
  TypeText(Grid, "x");
  ProcessEvents();
  EXPECT_EQ(Link->Edit->Text(), "startx");
  Key(Link->Edit, VK_ESCAPE, "\x1b");
}

TEST_F(LinkGrid, EnterStaysInTheControlOnlyWhenTheLinkWantsIt) {
  Grid->Navigation()->SetAdvanceOnEnter(true);
  int validations = 0;
  Grid->OnCellValidate = [&](TObject*, int, int, std::string&, bool&) { ++validations; };
  Link->SetWantKeyReturn(true);
  Open();
  Link->Edit->SetText("typed");
  Key(Link->Edit, VK_RETURN, "\r");
  EXPECT_TRUE(Link->Edit->Visible());
  EXPECT_EQ(Grid->Cells(1, 1), "start");
  EXPECT_EQ(validations, 0);

  Link->SetWantKeyReturn(false);
  Key(Link->Edit, VK_RETURN, "\r");
  EXPECT_EQ(Grid->Cells(1, 1), "typed");
  EXPECT_EQ(validations, 1);
  EXPECT_EQ(Grid->Col(), 2) << "advanced on Enter";
  EXPECT_TRUE(Link->Edit->Visible()) << "and the link opened on the next cell";
  EXPECT_EQ(Link->EditCol(), 2);
  Key(Link->Edit, VK_ESCAPE, "\x1b");
  EXPECT_FALSE(Grid->EditorShowing());
}

TEST_F(LinkGrid, EscapeEndsTheEditWithTheCellUnchanged) {
  int validations = 0;
  Grid->OnCellValidate = [&](TObject*, int, int, std::string&, bool&) { ++validations; };
  Open();
  Link->Edit->SetText("zzz");
  Key(Link->Edit, VK_ESCAPE, "\x1b");
  EXPECT_FALSE(Link->Edit->Visible());
  EXPECT_EQ(Grid->Cells(1, 1), "start");
  EXPECT_EQ(validations, 0);
  EXPECT_EQ(Grid->Row(), 1);
}

TEST_F(LinkGrid, ARejectedValueOpensTheLinkAgainOnTheCell) {
  Grid->OnCellValidate = [](TObject*, int, int, std::string& v, bool& ok) { ok = v != "bad"; };
  Open();
  Link->Edit->SetText("bad");
  Calls.clear();
  Key(Link->Edit, VK_RETURN, "\r");
  ProcessEvents();
  EXPECT_EQ(std::count(Calls.begin(), Calls.end(), "Build"), 1) << "opened once";
  EXPECT_TRUE(Link->Edit->Visible());
  EXPECT_TRUE(Link->Edit->Focused());
  EXPECT_EQ(Link->Edit->Text(), "start");
  EXPECT_EQ(Grid->Cells(1, 1), "start");
  EXPECT_TRUE(Grid->EditorShowing());
  EXPECT_TRUE(Grid->LastValidationPassed());
  Link->Edit->SetText("good");
  Key(Link->Edit, VK_RIGHT);
  EXPECT_EQ(Grid->Cells(1, 1), "good");
  EXPECT_EQ(Grid->Col(), 2) << "the arrow moves on";
  EXPECT_FALSE(Link->Edit->Visible());
  EXPECT_TRUE(Grid->Focused());
}

TEST_F(LinkGrid, WithGoTabsTheControlAsksForTabAndTheArrowsWhileItEdits) {
  TGridOptions o = Grid->Options();
  Grid->SetOptions(o.Include(goTabs));
  Open();
  EXPECT_EQ(Link->Edit->Perform(WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS | DLGC_WANTTAB);
  Key(Link->Edit, VK_ESCAPE, "\x1b");
  TEdit plain(nullptr);
  EXPECT_EQ(Link->Edit->Perform(WM_GETDLGCODE, 0, 0), plain.Perform(WM_GETDLGCODE, 0, 0))
      << "its own window procedure is back";
}

TEST_F(LinkGrid, APopupFormOfItsOwnSitsAtTheCellAndItsDeactivationEndsTheEdit) {
  auto* named = new TComponent(Application);
  named->SetName("gridform");
  Link->SetEditStyle(esPopup);
  Link->SetAutoPopupWidth(true);
  Link->SetPopupHeight(80);
  Open();
  TForm* popup = Link->PopupForm();
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(popup->Owner(), Link);
  EXPECT_EQ(Application->FindComponent("gridform"), named) << "no other component is touched";
  const TRect cell = Grid->CellRect(1, 1);
  const TPoint at = Grid->ClientToScreen(TPoint{cell.Left, cell.Top});
  EXPECT_EQ(popup->Left(), at.X);
  EXPECT_EQ(popup->Top(), at.Y);
  EXPECT_EQ(popup->Width(), cell.Right - cell.Left);
  EXPECT_EQ(popup->Height(), 80);
  EXPECT_EQ(popup->BorderStyle(), bsNone);
  EXPECT_EQ(Link->Edit->Parent(), popup);
  EXPECT_EQ(Link->Edit->Left(), 0);

  Link->Edit->SetText("picked");
  popup->OnDeactivate(popup);
  EXPECT_EQ(Grid->Cells(1, 1), "picked");
  EXPECT_FALSE(popup->Visible());
  EXPECT_TRUE(Grid->PopupClosed());
  EXPECT_EQ(std::count(Calls.begin(), Calls.end(), "Release"), 1);
  Grid->Perform(WM_SETFOCUS, 0, 0);
  EXPECT_FALSE(Grid->PopupClosed()) << "cleared at the next focus gain";

  // A given position wins; the form is made once.
  Link->SetPopupLeft(30);
  Link->SetPopupTop(40);
  Open();
  EXPECT_EQ(Link->PopupForm(), popup);
  EXPECT_EQ(popup->Left(), 30);
  EXPECT_EQ(popup->Top(), 40);
  Key(Link->Edit, VK_ESCAPE, "\x1b");
  delete named;
}

TEST_F(LinkGrid, WithoutALinkTheEditOpensNothingAndEndsOnTheNextSelection) {
  Grid->SetCellEditLink(nullptr);
  Open();
  EXPECT_TRUE(Grid->EditorShowing());
  EXPECT_EQ(Grid->ActiveEditorControl(), nullptr);
  Grid->SetRow(2);
  EXPECT_FALSE(Grid->EditorShowing());
  EXPECT_EQ(Grid->Cells(1, 1), "start");

  // A freed link is forgotten.
  Grid->SetCellEditLink(Link);
  delete Link;
  EXPECT_EQ(Grid->CellEditLink(), nullptr);
}

// A link editing through a plain edit box, as an application's link most
// often does.
class TPlainEditLink : public TEditLink {
public:
  explicit TPlainEditLink(TComponent* AOwner) : TEditLink(AOwner) {}
  TEdit* Edit = nullptr;
  TWinControl* EditorControl() override { return Edit; }
  void BuildEditor(TWinControl* AParent) override {
    if (!Edit) {
      Edit = new TEdit(this);
      Edit->OnKeyDown = [this](TObject* s, uint16_t& k, TShiftState sh) { HandleEditorKey(s, k, sh); };
    }
    Edit->SetParent(AParent);
  }
  std::string ReadEditorValue() override { return Edit ? Edit->Text() : ""; }
  void WriteEditorValue(const std::string& Value) override {
    if (Edit) Edit->SetText(Value);
  }
};

using PlainLinkGrid = EditGrid;

TEST_F(PlainLinkGrid, TheCharacterThatStartsTheEditReachesALinksPlainEditBox) {
  auto* link = new TPlainEditLink(Form);
  Grid->SetCellEditLink(link);
  Editors(edCustom);
  Grid->SetCells(1, 1, "start");
  Grid->SetCol(1);
  Grid->SetRow(1);
  TypeText(Grid, "x");
  ProcessEvents();
  ASSERT_NE(link->Edit, nullptr);
  ASSERT_EQ(Grid->ActiveEditorControl(), link->Edit);
  EXPECT_EQ(link->Edit->Text(), "startx");
  TypeText(link->Edit, "yz");
  Key(link->Edit, VK_RETURN, "\r");
  EXPECT_EQ(Grid->Cells(1, 1), "startxyz");
}

// ---------------------------------------------------------------------------
// Rich text

const char* const kBoldRtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 plain \\b bold\\b0\\par}";

struct RichGrid : EditGrid {
  void SetUp() override {
    EditGrid::SetUp();
    Editors(edRichEdit);
    Grid->SetCells(1, 1, kBoldRtf);
  }
  // The style of the first character of Word in an RTF text.
  static TFontStyles StyleOf(const std::string& Rtf, const std::string& Word) {
    TRichEdit re(nullptr);
    re.SetRTFText(Rtf);
    const std::u16string text = re.WideText();
    const size_t at = text.find(std::u16string(Word.begin(), Word.end()));
    EXPECT_NE(at, std::u16string::npos) << Word;
    re.SetSel(static_cast<int>(at), 1);
    return re.SelAttributes().Style;
  }
};

TEST_F(RichGrid, ABoldCellEditedUnchangedKeepsItsFormatting) {
  Key(Grid, VK_F2);
  ProcessEvents();
  TPlusRichEdit* re = Grid->RichEditor();
  ASSERT_TRUE(re->Visible());
  EXPECT_TRUE(re->Focused());
  EXPECT_EQ(re->Parent(), Grid);
  EXPECT_EQ(re->WideText().substr(0, 10), u"plain bold");
  const TRect cell = Grid->CellRect(1, 1);
  EXPECT_EQ(re->FormattingRect(), Rect(2, 2, cell.Right - cell.Left - 2, cell.Bottom - cell.Top - 2));
  Other->SetFocus();
  ProcessEvents();
  EXPECT_FALSE(re->Visible()) << "the focus left: the edit ended";
  const std::string stored = Grid->Cells(1, 1);
  EXPECT_EQ(stored.compare(0, 5, "{\\rtf"), 0) << "the cell holds RTF";
  EXPECT_TRUE(StyleOf(stored, "bold").Contains(fsBold));
  EXPECT_FALSE(StyleOf(stored, "plain").Contains(fsBold));
}

TEST_F(RichGrid, ResizeRequestsGrowTheRowOnlyWhileTypingIsSized) {
  std::vector<int> sized;
  Grid->OnEndRowSize = [&](TObject*, int r) { sized.push_back(r); };
  Key(Grid, VK_F2);
  TPlusRichEdit* re = Grid->RichEditor();
  const int before = Grid->RowHeights(1);
  auto request = [&](TPlusRichEdit* target, int height) {
    TReqResize r{};
    r.nmhdr.code = EN_REQUESTRESIZE;
    r.rc = Rect(0, 0, 80, height);
    target->Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&r));
  };
  request(re, 60);
  EXPECT_EQ(Grid->RowHeights(1), before) << "SizeWhileTyping.Height is off";
  Grid->SizeWhileTyping()->SetHeight(true);
  re->Lock();
  request(re, 60);
  EXPECT_EQ(Grid->RowHeights(1), before) << "locked while the grid fills it";
  re->Unlock();
  request(re, 60);
  EXPECT_EQ(Grid->RowHeights(1), 65);
  EXPECT_EQ(re->Height(), 64);
  EXPECT_EQ(sized, (std::vector<int>{1}));
  request(re, 10);
  EXPECT_EQ(Grid->RowHeights(1), 65) << "rows only grow";
  request(re, 1000);
  EXPECT_EQ(Grid->RowHeights(1), 65) << "not beyond the grid";

  request(Grid->RichRenderer(), 33);
  EXPECT_EQ(Grid->RichRenderer()->ReqHeight(), 33);
  EXPECT_EQ(Grid->RichRenderer()->ReqWidth(), 80);
  EXPECT_EQ(Grid->RowHeights(1), 65) << "the renderer sizes no row";
}

TEST_F(RichGrid, TheCharacterThatStartsTheEditArrivesInTheRichEditor) {
  Grid->SetCells(1, 1, "");
  TypeText(Grid, "q");
  ProcessEvents();
  TPlusRichEdit* re = Grid->RichEditor();
  ASSERT_TRUE(re->Visible());
  EXPECT_EQ(re->WideText(), u"q");
  Grid->SetFocus();
  ProcessEvents();
  EXPECT_FALSE(re->Visible()) << "the grid taking the focus ends the edit";
  EXPECT_EQ(RichGrid::StyleOf(Grid->Cells(1, 1), "q").Contains(fsBold), false);
}

TEST_F(RichGrid, ArrowsLeaveASingleLineEditorAndSelectionChangesAreReported) {
  int changes = 0;
  Grid->OnRichEditSelectionChange = [&](TObject* s) {
    EXPECT_EQ(s, Grid);
    ++changes;
  };
  Grid->SetGridWordWrap(false);
  Key(Grid, VK_F2);
  TPlusRichEdit* re = Grid->RichEditor();
  changes = 0;
  re->SetSel(2, 3);
  EXPECT_GE(changes, 1);
  Key(re, VK_DOWN);
  EXPECT_FALSE(re->Visible());
  EXPECT_EQ(Grid->Row(), 2);
  EXPECT_TRUE(StyleOf(Grid->Cells(1, 1), "bold").Contains(fsBold));
}

TEST_F(RichGrid, RichTextCellsAreDrawnAndMeasuredFromTheirContent) {
  Grid->SetColor(clWhite);
  Grid->SetCells(2, 1, "");
  Grid->SetCol(3);
  Grid->Repaint();
  const TRect r = Grid->CellRect(1, 1);
  auto darkPixels = [&](int c) {
    const TRect cr = Grid->CellRect(c, 1);
    int n = 0;
    for (int y = cr.Top + 2; y < cr.Bottom - 2; ++y)
      for (int x = cr.Left + 2; x < cr.Right - 2; ++x) {
        const TColor p = Grid->Canvas()->Pixels(x, y);
        n += (p & 0xFF) < 0x80 && ((p >> 8) & 0xFF) < 0x80 && ((p >> 16) & 0xFF) < 0x80;
      }
    return n;
  };
  EXPECT_GT(darkPixels(1), 10) << "the text is drawn";
  EXPECT_EQ(darkPixels(2), 0);
  (void)r;

  const TPoint small = Grid->GetCellTextSize(1, 1, false);
  Grid->SetCells(1, 1, "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs48 plain \\b bold\\b0\\par}");
  const TPoint big = Grid->GetCellTextSize(1, 1, false);
  EXPECT_GT(small.Y, 2 * 2);
  EXPECT_GT(big.Y, small.Y) << "a larger font asks for more room";
  EXPECT_GT(big.X, small.X);
}

}  // namespace
