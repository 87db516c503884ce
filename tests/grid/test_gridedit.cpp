// Editing cells of the string grid: the editor a cell gets, the events of an
// edit in their order, validation with rejection, the default editor's
// character filters and paste, and the hand-over of edit texts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grid/plusgrid.h"
#include "grid/plusgrid_editor.h"
#include "grid/plusgrid_wrappers.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/forms.h"
#include "platform/ui/menuloop.h"
#include "platform/ui/sound.h"
#include "platform/ui/stdctrls.h"
#include "support/gui/guitest.h"
#include "grid/editgrid.h"

using namespace guitest;

namespace {

TEST_F(EditGrid, AFloatEditEndedByEnterReportsInOrderAndStoresTheNumber) {
  Record();
  auto onType = Grid->OnGetEditorType;
  Grid->OnGetEditorType = [&](TObject* s, int c, int r, TEditorType& e) {
    onType(s, c, r, e);
    e = edFloat;
  };
  TypeInEditor("1x.5");
  EXPECT_EQ(Editor()->Text(), "1.5") << "the letter was dropped";
  EXPECT_EQ(Beeps, 0) << "letters are dropped silently in a float cell";
  Key(Editor(), VK_RETURN, "\r");
  EXPECT_FALSE(Grid->EditorShown());
  EXPECT_EQ(Log, (std::vector<std::string>{"GetEditorType 1,1", "EditChange 1", "EditChange 1.", "EditChange 1.5",
                                            "CellValidate 1.5", "CellsChanged", "EditingDone"}))
      << "nothing of the later report before the loop runs";
  ProcessEvents();
  ASSERT_EQ(Log.size(), 8u);
  EXPECT_EQ(Log.back(), "EditCellDone 1,1");
  EXPECT_DOUBLE_EQ(Grid->GetCellFloat(1, 1), 1.5);
  EXPECT_EQ(Grid->Cells(1, 1), "1.5");
}

TEST_F(EditGrid, ARejectedValueRestoresTheStartReopensTheEditorAndLeavesTheRowUnmarked) {
  Grid->ShowModified()->SetEnabled(true);
  Grid->SetCells(2, 1, "start");
  Grid->SetCol(2);
  int validations = 0;
  Grid->OnCellValidate = [&](TObject*, int, int, std::string& v, bool& valid) {
    ++validations;
    valid = v != "bad";
  };
  TypeInEditor("bad");
  Key(Editor(), VK_RETURN, "\r");
  EXPECT_EQ(validations, 1);
  EXPECT_EQ(Grid->Cells(2, 1), "start");
  EXPECT_TRUE(Grid->EditorShown()) << "the editor came back on the cell";
  EXPECT_EQ(Editor()->Text(), "start");
  EXPECT_EQ(Grid->Col(), 2);
  EXPECT_FALSE(Grid->GetRowModified(1));
  EXPECT_FALSE(Grid->LastValidationPassed());

  // Typing a good value over it is taken, and now the row is marked.
  TypeText(Editor(), "ok");
  Key(Editor(), VK_RETURN, "\r");
  EXPECT_EQ(validations, 2);
  EXPECT_EQ(Grid->Cells(2, 1), "ok");
  EXPECT_TRUE(Grid->GetRowModified(1));
}

TEST_F(EditGrid, AHandlerRewritesTheValueAndAnUnchangedTextFiresNothing) {
  int validations = 0, changes = 0;
  Grid->OnCellValidate = [&](TObject*, int, int, std::string& v, bool&) {
    ++validations;
    v = "[" + v + "]";
  };
  Grid->OnCellsChanged = [&](TObject*, TRect) { ++changes; };
  TypeInEditor("ab");
  Key(Editor(), VK_RETURN, "\r");
  EXPECT_EQ(Grid->Cells(1, 1), "[ab]");
  EXPECT_EQ(validations, 1);

  Key(Grid, VK_F2);
  ASSERT_TRUE(Grid->EditorShown());
  Key(Editor(), VK_RETURN, "\r");
  EXPECT_EQ(validations, 1) << "the text did not change";
  EXPECT_EQ(changes, 1);

  Grid->SetValidateAlways(true);
  Key(Grid, VK_F2);
  Key(Editor(), VK_RETURN, "\r");
  EXPECT_EQ(validations, 2) << "unless ValidateAlways";
}

TEST_F(EditGrid, TheEditorGoesWithItsCellWhenTheGridScrollsAndEndsWhenTheCellLeavesTheView) {
  Grid->SetRowCount(40);
  Grid->SetCol(1);
  Grid->SetRow(3);
  TypeInEditor("abc");
  ASSERT_TRUE(Grid->EditorShown());
  auto scroll = [&](int code) { Grid->Perform(WM_VSCROLL, MAKEWPARAM(code, 0), 0); };
  scroll(SB_LINEDOWN);
  ASSERT_EQ(Grid->TopRow(), 2);
  const TRect R = Grid->CellRect(1, 3);
  ASSERT_FALSE(R.IsEmpty());
  EXPECT_TRUE(Grid->EditorShown());
  EXPECT_EQ(Editor()->Top(), R.Top) << "the editor sits on its cell";
  EXPECT_EQ(Editor()->Left(), R.Left);
  EXPECT_EQ(Editor()->Text(), "abc");
  // A page on, the cell is out of view: the edit ends with the text stored,
  // no editor is left over other cells.
  scroll(SB_PAGEDOWN);
  ASSERT_TRUE(Grid->CellRect(1, 3).IsEmpty());
  EXPECT_FALSE(Editor()->Visible());
  EXPECT_EQ(Grid->Cells(1, 3), "abc");
  EXPECT_TRUE(Grid->Focused());
}

TEST_F(EditGrid, AClickOnTheScrollBarScrollsAndLeavesTheEditorEditing) {
  Grid->SetRowCount(40);
  Grid->SetCol(1);
  Grid->SetRow(3);
  TypeInEditor("abc");
  ASSERT_TRUE(Editor()->Focused());
  Record();
  // The bar's arrow at the bottom of the bar, right of the client area.
  guitest::WindowClick(Grid, Grid->ClientWidth() + 4, Grid->ClientHeight() - 4);
  EXPECT_EQ(Grid->TopRow(), 2);
  EXPECT_TRUE(Editor()->Focused()) << "a scroll bar takes no focus";
  EXPECT_TRUE(Grid->EditorShown());
  ProcessEvents();
  for (const std::string& e : Log) EXPECT_NE(e.rfind("Edit", 0), 0u) << "the edit goes on: " << e;
  Key(Editor(), VK_RETURN, "\r");
  EXPECT_EQ(Grid->Cells(1, 3), "abc");
}

TEST_F(EditGrid, EdNoneAndClickableGraphicsOpenNoEditor) {
  Editors(edNone);
  TypeText(Grid, "x");
  EXPECT_FALSE(Grid->EditorShown());
  EXPECT_FALSE(Grid->EditorShowing());
  EXPECT_EQ(Grid->Cells(1, 1), "");

  Grid->OnGetEditorType = nullptr;
  Grid->AddCellCheckBox(1, 1, false, false);
  Key(Grid, VK_F2);
  EXPECT_FALSE(Grid->EditorShown()) << "a check-box cell is toggled, not edited";
}

TEST_F(EditGrid, EscapePutsBackTheTextTheEditStartedWith) {
  Grid->SetCells(1, 1, "kept");
  int validations = 0;
  Grid->OnCellValidate = [&](TObject*, int, int, std::string&, bool&) { ++validations; };
  TypeInEditor("zzz");
  EXPECT_EQ(Grid->Cells(1, 1), "zzz") << "the cell follows the typing";
  Key(Editor(), VK_ESCAPE, "\x1b");
  EXPECT_FALSE(Grid->EditorShown());
  EXPECT_EQ(Grid->Cells(1, 1), "kept");
  EXPECT_EQ(validations, 0);
}

TEST_F(EditGrid, FocusMovingToAnotherControlValidatesAndReportsOnce) {
  Record();
  TypeInEditor("v");
  Other->SetFocus();
  ProcessEvents();
  EXPECT_EQ(Grid->Cells(1, 1), "v");
  EXPECT_EQ(std::count(Log.begin(), Log.end(), "CellValidate v"), 1);
  EXPECT_EQ(std::count(Log.begin(), Log.end(), "EditingDone"), 1);
  EXPECT_EQ(std::count(Log.begin(), Log.end(), "EditCellDone 1,1"), 1);
  EXPECT_FALSE(Grid->EditorShowing());
}

// Characters typed into the default editor, per editor type.
struct TFilterCase {
  TEditorType Type;
  const char* Start;  // the cell's text; the editor opens with all of it selected
  const char* Keys;   // typed after the caret went to the end
  const char* Shown;
  int Beeps;
};

TEST_F(EditGrid, CharacterFiltersPerEditorType) {
  const TFilterCase cases[] = {
      {edNumeric, "12", "-3a", "123", 2},        // "-" only at the start, letters beep
      {edPositiveNumeric, "", "4-5", "45", 1},
      {edFloat, "1.5", ".,x2", "1.52", 0},       // one point, the thousand separator and letters silently
      {edFloat, "", "-1-", "-1", 1},             // a second minus beeps
      {edUpperCase, "", "ab", "AB", 0},
      {edLowerCase, "", "AB", "ab", 0},
      {edMixedCase, "", "john smith", "John Smith", 0},
      {edNormal, "", "a-1.", "a-1.", 0},
  };
  for (const TFilterCase& c : cases) {
    SCOPED_TRACE(std::string("type ") + std::to_string(c.Type) + " keys " + c.Keys);
    Beeps = 0;
    Grid->SetCells(1, 1, c.Start);
    Editors(c.Type);
    Key(Grid, VK_F2);
    ASSERT_TRUE(Grid->EditorShown());
    Editor()->SetSelStart(static_cast<int>(Editor()->Text().size()));
    Editor()->SetSelLength(0);
    TypeText(Editor(), c.Keys);
    EXPECT_EQ(Editor()->Text(), c.Shown);
    EXPECT_EQ(Beeps, c.Beeps);
    Key(Editor(), VK_ESCAPE, "\x1b");
  }
}

TEST_F(EditGrid, FiltersLeaveTheClipboardKeysAndPasteIsCheckedAsAWhole) {
  Editors(edNumeric);
  Grid->SetCells(1, 1, "123");
  Key(Grid, VK_F2);
  auto* e = static_cast<TPlusInplaceEdit*>(Editor());
  Key(e, 'A', "\x01", {ssCtrl});
  EXPECT_EQ(e->SelLength(), 3) << "Ctrl+A selects all in a numeric editor";
  Key(e, 'C', "\x03", {ssCtrl});
  EXPECT_EQ(Clipboard()->AsText(), "123") << "Ctrl+C copies";
  EXPECT_EQ(Beeps, 0);

  Clipboard()->SetAsText("12a");
  Key(e, 'V', "\x16", {ssCtrl});
  EXPECT_EQ(e->Text(), "123") << "no number: the text stays";
  Clipboard()->SetAsText("77");
  e->SetSelStart(1);
  e->SetSelLength(1);
  Key(e, 'V', "\x16", {ssCtrl});
  EXPECT_EQ(e->Text(), "1773");
  EXPECT_EQ(e->SelStart(), 1);
  EXPECT_EQ(e->SelLength(), 2) << "the pasted part is selected";
  EXPECT_EQ(Grid->Cells(1, 1), "1773");

  bool allow = false;
  Grid->OnClipboardPaste = [&](TObject*, bool& a) { a = allow; };
  Clipboard()->SetAsText("9");
  e->SelectAll();
  Key(e, 'V', "\x16", {ssCtrl});
  EXPECT_EQ(e->Text(), "1773") << "the paste event refused";

  Grid->SetMaxEditLength(4);
  Key(e, VK_ESCAPE, "\x1b");
  EXPECT_EQ(Grid->Cells(1, 1), "123") << "Escape goes back to the text before the edit";
  Grid->SetCells(1, 1, "1773");
  Key(Grid, VK_F2);
  e->SetSelStart(4);
  e->SetSelLength(0);
  TypeText(e, "5");
  EXPECT_EQ(e->Text(), "1773") << "the length limit holds";
}

TEST_F(EditGrid, TheEditorShowsTheBaseCellWithoutTags) {
  TGridOptions o = Grid->Options();
  Grid->SetOptions(o.Exclude(goRangeSelect));
  Grid->SetCells(1, 2, "<b>x</b>");
  Grid->MergeCells(1, 2, 2, 1);
  Grid->SetCol(2);
  Grid->SetRow(2);
  EXPECT_EQ(Grid->Col(), 1) << "a covered cell selects its base cell";
  Key(Grid, VK_F2);
  ASSERT_TRUE(Grid->EditorShown());
  EXPECT_EQ(Editor()->Text(), "x");
  Key(Editor(), VK_ESCAPE, "\x1b");

  Grid->SetEditWithTags(true);
  EXPECT_EQ(Grid->GetEditText(2, 2), "<b>x</b>") << "the covered cell reads its base cell";
  Grid->SetEditText(2, 2, "y");
  EXPECT_EQ(Grid->GetCellRaw(1, 2), "y");
  EXPECT_EQ(Grid->GetCellRaw(2, 2), "");
}

TEST_F(EditGrid, AValidationHandlerThatRaisesLeavesTheGridConsistent) {
  Grid->OnCellValidate = [](TObject*, int, int, std::string&, bool&) { throw std::runtime_error("handler"); };
  TypeInEditor("q");
  EXPECT_THROW(Grid->ValidateCell("q"), std::runtime_error);
  EXPECT_FALSE(Grid->Validating());
  EXPECT_EQ(Grid->EditCol(), Grid->Col());
  Grid->OnCellValidate = nullptr;
  Key(Editor(), VK_ESCAPE, "\x1b");
}

TEST_F(EditGrid, AComboEditCellStoresTheChosenItem) {
  Record();
  auto onType = Grid->OnGetEditorType;
  Grid->OnGetEditorType = [&](TObject* s, int c, int r, TEditorType& e) {
    onType(s, c, r, e);
    e = edComboEdit;
  };
  TComboBox* combo = Grid->ComboEditor();
  ASSERT_NE(combo, nullptr);
  combo->Items()->Add("Fe");
  combo->Items()->Add("O");
  Grid->SetCells(1, 1, "Fe");
  Key(Grid, VK_F2);
  ASSERT_TRUE(combo->Visible());
  EXPECT_EQ(combo->Text(), "Fe");
  EXPECT_TRUE(combo->Focused());
  EXPECT_FALSE(Grid->EditorShown()) << "the default editor stays away";
  combo->UserSelected(1);
  Key(combo, VK_RETURN, "\r");
  EXPECT_EQ(Grid->Cells(1, 1), "O");
  EXPECT_FALSE(combo->Visible());
  EXPECT_EQ(std::count(Log.begin(), Log.end(), "CellValidate O"), 1);
  EXPECT_EQ(std::count(Log.begin(), Log.end(), "EditingDone"), 1);
  ProcessEvents();
  EXPECT_EQ(Log.back(), "EditCellDone 1,1");
}

TEST_F(EditGrid, TheCharacterThatStartsAnEditArrivesInTheOwnControlEditor) {
  Editors(edComboEdit);
  TComboBox* combo = Grid->ComboEditor();
  Grid->SetCells(1, 1, "old");
  TypeText(Grid, "F");
  ProcessEvents();
  ASSERT_TRUE(combo->Visible());
  EXPECT_EQ(combo->Text(), "F") << "the typed character replaced the selected text";
  Key(combo, VK_ESCAPE, "\x1b");
  EXPECT_EQ(Grid->Cells(1, 1), "old");
  EXPECT_FALSE(combo->Visible());
}

}  // namespace

namespace {

struct TUpperChecker : TPlusStringGridCheck {
  using TPlusStringGridCheck::TPlusStringGridCheck;
  std::string Correct(int, int, const std::string& v) override { return v + "!"; }
};

TEST_F(EditGrid, TheCellCheckerCorrectsBeforeTheHandlerAndIsForgottenWhenFreed) {
  auto* checker = new TUpperChecker(nullptr);
  checker->SetAutoCorrect(true);
  Grid->SetCellChecker(checker);
  std::string seen;
  Grid->OnCellValidate = [&](TObject*, int, int, std::string& v, bool&) { seen = v; };
  TypeInEditor("ok");
  Key(Editor(), VK_RETURN, "\r");
  EXPECT_EQ(seen, "ok!");
  EXPECT_EQ(Grid->Cells(1, 1), "ok!");
  delete checker;
  EXPECT_EQ(Grid->CellChecker(), nullptr);
}

TEST_F(EditGrid, WithAlwaysEditTheFocusComingBackReopensTheEditor) {
  Grid->Navigation()->SetAlwaysEdit(true);
  TypeInEditor("x");
  Key(Editor(), VK_RETURN, "\r");
  Other->SetFocus();
  ProcessEvents();
  EXPECT_FALSE(Grid->EditorShown());
  Grid->SetFocus();
  ProcessEvents();
  EXPECT_TRUE(Grid->EditorShown()) << "the default editor was used before";
  EXPECT_EQ(Editor()->Text(), "x");
}

TEST_F(EditGrid, WithHoveringTheCurrentCellFollowsTheRestingMouse) {
  Grid->SetHovering(true);
  const TRect r = Grid->CellRect(3, 4);
  const TPoint over = Grid->ClientToScreen(TPoint{r.Left + 5, r.Top + 5});
  SetCursorPos(over.X, over.Y);
  TPoint at{};
  GetCursorPos(at);
  if (at.X != over.X || at.Y != over.Y) GTEST_SKIP() << "this window system does not move the pointer";
  FireWindowTimers();
  EXPECT_EQ(Grid->Col(), 3);
  EXPECT_EQ(Grid->Row(), 4);
  const TRect h = Grid->CellRect(2, 0);
  const TPoint header = Grid->ClientToScreen(TPoint{h.Left + 5, h.Top + 5});
  SetCursorPos(header.X, header.Y);
  FireWindowTimers();
  EXPECT_EQ(Grid->Col(), 3) << "a fixed cell changes nothing";
}

TEST_F(EditGrid, TheGridTimerFlipsTheBlinkPhaseOnlyWhenBlinking) {
  const bool phase = Grid->BlinkPhase();
  FireWindowTimers();
  EXPECT_EQ(Grid->BlinkPhase(), phase);
  Grid->SetEnableBlink(true);
  FireWindowTimers();
  EXPECT_NE(Grid->BlinkPhase(), phase);
  EXPECT_GE(Grid->TimerTicks(), 2);
}

}  // namespace
