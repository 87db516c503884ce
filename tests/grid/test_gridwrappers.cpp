// The grid's own-control editors: what each opens with, the keys that leave
// it, Escape, the values they store, rejected values, the typed first
// character, completion, the wheel and the events they fire.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grid/editgrid.h"
#include "grid/plusgrid.h"
#include "grid/plusgrid_wrappers.h"
#include "platform/rtl/codepages.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/formatsettings.h"
#include "platform/ui/clipboard.h"
#include "support/gui/guitest.h"

using namespace guitest;

namespace {

struct WrapperGrid : EditGrid {
  // Opens the editor of the current cell as F2 does.
  void Open(TEditorType t) {
    Editors(t);
    Key(Grid, VK_F2);
    ProcessEvents();
  }
};

// ---------------------------------------------------------------------------
// Spin

TEST_F(WrapperGrid, SpinPageKeysStepOnlyWithinTheLimitsAndEndHomeGoToTheLimits) {
  std::vector<std::string> clicks;
  Grid->OnSpinClick = [&](TObject*, int, int, int v, bool up) {
    clicks.push_back(std::to_string(v) + (up ? " up" : " down"));
  };
  Grid->SetCells(1, 1, "98");
  Open(edSpinEdit);
  TGridSpin* sp = Grid->SpinEditor();
  ASSERT_TRUE(sp->Visible());
  EXPECT_TRUE(sp->Focused());
  sp->SetIncrement(5);
  EXPECT_EQ(sp->Value(), 98);
  Key(sp, VK_PRIOR);
  EXPECT_EQ(sp->Value(), 98) << "103 would pass MaxValue 100";
  sp->SetValue(95);
  Key(sp, VK_PRIOR);
  EXPECT_EQ(sp->Value(), 100);
  Key(sp, VK_NEXT);
  EXPECT_EQ(sp->Value(), 95);
  Key(sp, VK_END);
  EXPECT_EQ(sp->Value(), 0) << "End: MinValue";
  Key(sp, VK_HOME);
  EXPECT_EQ(sp->Value(), 100) << "Home: MaxValue";
  EXPECT_EQ(clicks, (std::vector<std::string>{"98 up", "100 up", "95 down", "0 down", "100 up"}));

  clicks.clear();
  sp->SetIncrement(1);
  sp->SetValue(40);
  sp->SpinUp(sp);
  sp->SpinDown(sp);
  EXPECT_EQ(clicks, (std::vector<std::string>{"41 up", "40 down"}));
  Key(sp, VK_RETURN, "\r");
  EXPECT_EQ(Grid->Cells(1, 1), "40");
  EXPECT_FALSE(sp->Visible());
}

TEST_F(WrapperGrid, SpinEditsReportInOrderAndStoreByTheirType) {
  Record();
  auto onType = Grid->OnGetEditorType;
  Grid->OnGetEditorType = [&](TObject* s, int c, int r, TEditorType& e) {
    onType(s, c, r, e);
    e = edSpinEdit;
  };
  Grid->SetCells(1, 1, "12abc");
  Key(Grid, VK_F2);
  TGridSpin* sp = Grid->SpinEditor();
  EXPECT_EQ(sp->Text(), "12") << "the leading digits of a text that is no integer";
  EXPECT_EQ(Log, (std::vector<std::string>{"GetEditorType 1,1"})) << "filling the editor is no edit";
  sp->SelectAll();
  TypeText(sp, "7");
  Key(sp, VK_RETURN, "\r");
  EXPECT_EQ(Grid->Cells(1, 1), "7");
  EXPECT_EQ(Log, (std::vector<std::string>{"GetEditorType 1,1", "EditChange 7", "CellValidate 7", "CellsChanged",
                                            "EditingDone"}));
  ProcessEvents();
  EXPECT_EQ(Log.back(), "EditCellDone 1,1");

  // The float spin opens with the number in the text and stores it with FloatFormat.
  Grid->SetCells(2, 1, "x1.5 mm");
  Grid->SetCol(2);
  Editors(edFloatSpinEdit);
  Key(Grid, VK_F2);
  EXPECT_DOUBLE_EQ(sp->FloatValue(), 1.5);
  Key(sp, VK_RETURN, "\r");
  EXPECT_EQ(Grid->Cells(2, 1), "1.50");
  Grid->SetFloatFormat("%.3f");
  Key(Grid, VK_F2);
  Key(sp, VK_ESCAPE, "\x1b");
  EXPECT_EQ(Grid->Cells(2, 1), "1.500") << "Escape re-reads the value from the text the edit started with";

  // The date spin: a date cell opens with its date; a text that is no date with today.
  const TDateTime day = EncodeDate(2021, 3, 14);
  Grid->SetCells(3, 1, DateToStr(day));
  Grid->SetCol(3);
  Editors(edDateSpinEdit);
  Key(Grid, VK_F2);
  EXPECT_DOUBLE_EQ(sp->DateValue(), day);
  Key(sp, VK_ESCAPE, "\x1b");
  Grid->SetCells(3, 1, "someday");
  Key(Grid, VK_F2);
  EXPECT_EQ(static_cast<int>(sp->DateValue()), static_cast<int>(Now()));
  Key(sp, VK_ESCAPE, "\x1b");
}

TEST_F(WrapperGrid, TheSpinAndEditButtonTextFollowsIntoTheCellOnceTheDefaultEditorWasUsed) {
  Grid->SetCells(1, 1, "5");
  Open(edSpinEdit);
  TGridSpin* sp = Grid->SpinEditor();
  sp->SelectAll();
  TypeText(sp, "6");
  EXPECT_EQ(Grid->Cells(1, 1), "5") << "the cell waits for the end of the edit";
  Key(sp, VK_ESCAPE, "\x1b");

  // Once the default editor was shown, the spin writes through as it is typed.
  Editors(edNormal);
  Key(Grid, VK_F2);
  Key(Editor(), VK_ESCAPE, "\x1b");
  Open(edSpinEdit);
  sp->SelectAll();
  TypeText(sp, "8");
  EXPECT_EQ(Grid->Cells(1, 1), "8");
  Key(sp, VK_ESCAPE, "\x1b");
  EXPECT_EQ(Grid->Cells(1, 1), "5");

  Open(edEditBtn);
  TGridEditBtn* eb = Grid->EditBtnEditor();
  eb->SelectAll();
  TypeText(eb, "ab");
  EXPECT_EQ(Grid->Cells(1, 1), "ab");
  Key(eb, VK_ESCAPE, "\x1b");
  EXPECT_EQ(Grid->Cells(1, 1), "5");
}

// ---------------------------------------------------------------------------
// Combos

struct ComboGrid : WrapperGrid {
  TGridCombo* Combo = nullptr;
  void SetUp() override {
    WrapperGrid::SetUp();
    Combo = Grid->ComboEditor();
    for (const char* s : {"Fe", "O", "Si"}) Combo->Items()->Add(s);
  }
};

TEST_F(ComboGrid, AListChangesItsItemWithTheArrowsAndLeavesLeftAfterEndingTheEdit) {
  Grid->SetCells(2, 2, "O");
  Grid->SetCol(2);
  Grid->SetRow(2);
  Open(edComboList);
  ASSERT_TRUE(Combo->Visible());
  EXPECT_EQ(Combo->ItemIndex(), 1);
  Key(Combo, VK_DOWN);
  EXPECT_EQ(Combo->Text(), "Si");
  Key(Combo, VK_UP);
  Key(Combo, VK_UP);
  EXPECT_EQ(Combo->Text(), "Fe");
  EXPECT_EQ(Grid->Row(), 2) << "Up and Down stay in a list";
  Key(Combo, VK_LEFT);
  EXPECT_FALSE(Combo->Visible());
  EXPECT_EQ(Grid->Cells(2, 2), "Fe") << "stored before the move";
  EXPECT_EQ(Grid->Col(), 1);
  EXPECT_EQ(Grid->Row(), 2);

  // A cell whose text is no item opens on the first item and says so.
  std::vector<std::string> changes;
  Grid->OnComboChange = [&](TObject*, int c, int r, int i, const std::string& s) {
    changes.push_back(std::to_string(c) + "," + std::to_string(r) + " " + std::to_string(i) + " " + s);
  };
  Grid->SetCells(1, 2, "Xe");
  Open(edComboList);
  EXPECT_EQ(Combo->ItemIndex(), 0);
  EXPECT_EQ(changes, (std::vector<std::string>{"1,2 0 Fe"}));
  Key(Combo, VK_ESCAPE, "\x1b");
}

TEST_F(ComboGrid, AnEditableComboLeavesUpwardsAfterValidationUnlessItsListIsOpen) {
  std::vector<std::string> validated;
  Grid->OnCellValidate = [&](TObject*, int, int, std::string& v, bool&) { validated.push_back(v); };
  Grid->SetRow(3);
  Open(edComboEdit);
  Combo->SetText("Si");
  Key(Combo, VK_UP);
  EXPECT_FALSE(Combo->Visible());
  EXPECT_EQ(validated, (std::vector<std::string>{"Si"}));
  EXPECT_EQ(Grid->Cells(1, 3), "Si");
  EXPECT_EQ(Grid->Row(), 2);

  Open(edComboEdit);
  Combo->SetDroppedDown(true);
  ProcessEvents();
  ASSERT_TRUE(Combo->DroppedDown()) << "the list opens";
  Combo->SetItemIndex(1);
  Key(Combo, VK_UP);
  EXPECT_TRUE(Combo->Visible());
  EXPECT_EQ(Combo->Text(), "Fe") << "the open list moves";
  EXPECT_EQ(Grid->Row(), 2);
  Combo->SetDroppedDown(false);
  Key(Combo, VK_ESCAPE, "\x1b");
  EXPECT_EQ(Grid->Cells(1, 2), "") << "Escape puts the cell's text back";
}

TEST_F(ComboGrid, TheChoiceIsStoredAndEnterIsReported) {
  int returns = 0;
  Combo->OnReturnKey = [&](TObject* s) {
    EXPECT_EQ(s, Combo);
    ++returns;
  };
  Grid->SetCells(1, 1, "Fe");
  Open(edComboEdit);
  EXPECT_EQ(Combo->Text(), "Fe");
  Combo->UserSelected(1);
  Key(Combo, VK_RETURN, "\r");
  EXPECT_EQ(Grid->Cells(1, 1), "O");
  EXPECT_EQ(returns, 1);
}

TEST_F(ComboGrid, TypingCompletesFromTheItemsThenFromTheLookupList) {
  Grid->SetLookup(true);
  TStringList lookup;
  lookup.Add("Oxygen");
  Grid->SetLookupItems(&lookup);
  Combo->Items()->Add("Silver");
  Open(edComboEdit);
  Combo->SetText("");
  TypeText(Combo, "s");
  EXPECT_EQ(Combo->Text(), "si") << "the first item that starts so, in the typed case";
  EXPECT_EQ(Combo->SelStart(), 1);
  EXPECT_EQ(Combo->SelLength(), 1);
  EXPECT_EQ(Combo->ItemIndex(), 2);
  TypeText(Combo, "il");
  EXPECT_EQ(Combo->Text(), "silver");
  EXPECT_EQ(Combo->ItemIndex(), 3);
  Combo->SetText("");
  TypeText(Combo, "Ox");
  EXPECT_EQ(Combo->Text(), "Oxygen") << "no item: the grid's lookup list";
  EXPECT_EQ(Combo->ItemIndex(), -1);
  Key(Combo, VK_BACK, "\b");
  EXPECT_EQ(Combo->Text(), "Ox") << "Backspace completes nothing";
  Key(Combo, VK_ESCAPE, "\x1b");
}

TEST_F(ComboGrid, TheWheelStepsThroughTheItemsAndReportsTheChoice) {
  std::vector<std::string> changes;
  Grid->OnComboChange = [&](TObject* s, int, int, int i, const std::string& t) {
    EXPECT_EQ(s, Grid);
    changes.push_back(std::to_string(i) + " " + t);
  };
  TObject* object = reinterpret_cast<TObject*>(this);
  Combo->Items()->PutObject(2, object);
  TObject* seen = nullptr;
  Grid->OnComboObjectChange = [&](TObject*, int, int, int, const std::string&, TObject* o) { seen = o; };
  Grid->SetCells(1, 1, "O");
  Open(edComboList);
  const int top = Grid->TopRow();
  Wheel(Combo, -1, 5, 5);
  EXPECT_EQ(Combo->Text(), "Si");
  EXPECT_EQ(seen, object);
  Wheel(Combo, -1, 5, 5);
  EXPECT_EQ(Combo->Text(), "Si") << "no item after the last";
  Wheel(Combo, 1, 5, 5);
  EXPECT_EQ(Combo->Text(), "O");
  EXPECT_EQ(changes, (std::vector<std::string>{"2 Si", "2 Si", "1 O"}));
  EXPECT_EQ(Grid->TopRow(), top) << "the grid does not scroll";
  Key(Combo, VK_RETURN, "\r");
  EXPECT_EQ(Grid->Cells(1, 1), "O");
}

TEST_F(ComboGrid, TheListWidensToItsWidestItemAndClosingItIsReported) {
  Combo->Items()->Add("a very long element name that does not fit the cell");
  Grid->Navigation()->SetAutoComboDropSize(true);
  std::vector<std::string> closed;
  Grid->OnComboCloseUp = [&](TObject*, int r, int c) { closed.push_back(std::to_string(c) + "," + std::to_string(r)); };
  Open(edComboList);
  const int width = static_cast<int>(Combo->Perform(CB_GETDROPPEDWIDTH, 0, 0));
  EXPECT_GT(width, Combo->Width());
  EXPECT_EQ(width, Grid->Canvas()->TextWidth(Combo->Items()->Strings(3)) + 8);
  Combo->SetDroppedDown(true);
  Combo->SetDroppedDown(false);
  EXPECT_EQ(closed, (std::vector<std::string>{"1,1"}));
  Key(Combo, VK_ESCAPE, "\x1b");
}

TEST_F(WrapperGrid, TheUnicodeComboShowsItsChoiceAndKeepsATypedText) {
  TGridUniCombo* cb = Grid->UniComboEditor();
  cb->Items()->Add(u"\u03b1");
  cb->Items()->Add(u"\u03b2");
  std::vector<std::string> changes;
  Grid->OnComboChange = [&](TObject*, int, int, int i, const std::string& t) {
    changes.push_back(std::to_string(i) + " " + t);
  };
  Grid->SetWideCell(1, 1, u"\u03b2");
  Open(edUniComboList);
  EXPECT_EQ(cb->ItemIndex(), 1);
  EXPECT_TRUE(changes.empty()) << "opening reports nothing";
  Key(cb, VK_UP);
  EXPECT_EQ(cb->Text(), u"\u03b1");
  Key(cb, VK_RETURN, "\r");
  EXPECT_EQ(Grid->GetWideCell(1, 1), u"\u03b1");
  EXPECT_EQ(changes.back(), "0 \u03b1");

  // A text that is no item stays in an editable combo: opening and closing
  // it changes nothing.
  Grid->SetWideCell(1, 1, u"\u03b3");
  Open(edUniComboEdit);
  EXPECT_EQ(cb->Text(), u"\u03b3");
  Key(cb, VK_RETURN, "\r");
  EXPECT_EQ(Grid->GetWideCell(1, 1), u"\u03b3");
}

TEST_F(WrapperGrid, TabWithGoTabsLeavesToTheNextCellAndAnOpenEditorGoesWithTheGrid) {
  TGridOptions o = Grid->Options();
  Grid->SetOptions(o.Include(goTabs));
  Grid->SetCells(1, 1, "3");
  Open(edSpinEdit);
  TGridSpin* sp = Grid->SpinEditor();
  sp->SetValue(4);
  Key(sp, VK_TAB, "\t");
  EXPECT_FALSE(sp->Visible());
  EXPECT_EQ(Grid->Cells(1, 1), "4");
  EXPECT_EQ(Grid->Col(), 2);
  EXPECT_TRUE(Grid->Focused());
  // The form goes while the spin edits: nothing reaches the freed grid.
  Open(edSpinEdit);
  ASSERT_TRUE(sp->Focused());
  delete Form;
  Form = nullptr;
}

// ---------------------------------------------------------------------------
// Edit with a button, value and unit

TEST_F(WrapperGrid, TheEllipsisButtonAndF4AskForTheTextAndCtrlEnterStaysInTheEditor) {
  std::vector<std::string> asked;
  Grid->OnEllipsClick = [&](TObject*, int c, int r, std::string& s) {
    asked.push_back(std::to_string(c) + "," + std::to_string(r) + " " + s);
    s = "chosen";
  };
  Grid->SetCells(1, 1, "old");
  Open(edEditBtn);
  TGridEditBtn* eb = Grid->EditBtnEditor();
  ASSERT_TRUE(eb->Visible());
  EXPECT_EQ(eb->ButtonCaption(), "...");
  Key(eb, VK_F4);
  EXPECT_EQ(eb->Text(), "chosen");
  EXPECT_EQ(eb->SelLength(), 6) << "the new text is selected";
  eb->SetText("again");
  Click(eb->EditButton()->Button(), 3, 3);
  EXPECT_EQ(asked, (std::vector<std::string>{"1,1 old", "1,1 again"}));
  Key(eb, VK_RETURN, "\r", {ssCtrl});
  EXPECT_TRUE(eb->Visible()) << "with Ctrl every key is the edit's own";
  Key(eb, VK_RETURN, "\r");
  EXPECT_FALSE(eb->Visible());
  EXPECT_EQ(Grid->Cells(1, 1), "chosen");
}

TEST_F(WrapperGrid, NumericEditButtonFiltersTypedCharactersOnly) {
  Grid->SetCells(1, 1, "123");
  Open(edNumericEditBtn);
  TGridEditBtn* eb = Grid->EditBtnEditor();
  eb->SetSelStart(3);
  eb->SetSelLength(0);
  TypeText(eb, "4x-");
  EXPECT_EQ(eb->Text(), "1234");
  EXPECT_EQ(Beeps, 2);
  Key(eb, 'A', "\x01", {ssCtrl});
  EXPECT_EQ(eb->SelLength(), 4) << "Ctrl+A selects all";
  Key(eb, 'C', "\x03", {ssCtrl});
  EXPECT_EQ(Clipboard()->AsText(), "1234");
  Clipboard()->SetAsText("9");
  bool allow = true;
  std::string pasted;
  Grid->OnClipboardBeforePasteCell = [&](TObject*, int, int, std::string& v, bool& a) {
    pasted = v;
    v = "77";
    a = allow;
  };
  Key(eb, 'V', "\x16", {ssCtrl});
  EXPECT_EQ(pasted, "9");
  EXPECT_EQ(eb->Text(), "77") << "the handler's value replaces the selection";
  allow = false;
  eb->SelectAll();
  Key(eb, 'V', "\x16", {ssCtrl});
  EXPECT_EQ(eb->Text(), "77");
  Key(eb, VK_ESCAPE, "\x1b");
  EXPECT_EQ(Grid->Cells(1, 1), "123");
}

TEST_F(WrapperGrid, ValueAndUnitOpenApartAndAreStoredJoined) {
  Grid->SetCells(1, 1, "12.5 mm");
  Open(edUnitEditBtn);
  TGridUnitEditBtn* ub = Grid->UnitEditBtnEditor();
  ASSERT_TRUE(ub->Visible());
  EXPECT_EQ(ub->Text(), "12.5");
  EXPECT_EQ(ub->UnitID(), " mm");
  std::string validated;
  Grid->OnCellValidate = [&](TObject*, int, int, std::string& v, bool& ok) {
    validated = v;
    ok = v != "0";
  };
  ub->SetText("13");
  Key(ub, VK_RETURN, "\r");
  EXPECT_EQ(validated, "13") << "the value alone is validated";
  EXPECT_EQ(Grid->Cells(1, 1), "13 mm");

  // A rejected value gives value and unit back to their places.
  Open(edUnitEditBtn);
  ub->SetText("0");
  Key(ub, VK_RETURN, "\r");
  EXPECT_TRUE(ub->Visible());
  EXPECT_EQ(ub->Text(), "13");
  EXPECT_EQ(ub->UnitID(), " mm");
  Key(ub, VK_RETURN, "\r");
  EXPECT_EQ(Grid->Cells(1, 1), "13 mm");

  // Escape shows the whole text as the value, without a unit.
  Open(edUnitEditBtn);
  ub->SetText("99");
  Key(ub, VK_ESCAPE, "\x1b");
  EXPECT_EQ(ub->Text(), "13 mm");
  EXPECT_EQ(ub->UnitID(), "");
  EXPECT_EQ(Grid->Cells(1, 1), "13 mm");
}

// ---------------------------------------------------------------------------
// Unicode editors

TEST_F(WrapperGrid, UnicodeEditorsHandTheirTextThroughTheWideTextEvents) {
  std::vector<std::string> log;
  Grid->OnGetEditWideText = [&](TObject*, int c, int r, std::u16string& v) {
    log.push_back("get " + std::to_string(c) + "," + std::to_string(r) + " " + Utf16ToUtf8(v));
    v += u"\u00e9";
  };
  Grid->OnSetEditWideText = [&](TObject*, int, int, const std::u16string& v) {
    log.push_back("set " + Utf16ToUtf8(v));
  };
  Grid->OnCellValidateWide = [&](TObject*, int, int, std::u16string& v, bool&) {
    log.push_back("validate " + Utf16ToUtf8(v));
  };
  Grid->SetWideCell(1, 1, u"caf");
  Open(edUniEdit);
  TGridUniEdit* ue = Grid->UniEditEditor();
  ASSERT_TRUE(ue->Visible());
  EXPECT_EQ(ue->Text(), u"caf\u00e9");
  Key(ue, VK_RETURN, "\r");
  EXPECT_FALSE(ue->Visible());
  EXPECT_EQ(Grid->GetWideCell(1, 1), u"caf\u00e9");
  EXPECT_EQ(log, (std::vector<std::string>{"get 1,1 caf", "validate caf\u00e9", "set caf\u00e9"}));
}

TEST_F(WrapperGrid, TheUnicodeMemoKeepsEnterAndTabsOnWithValidation) {
  TGridOptions o = Grid->Options();
  Grid->SetOptions(o.Include(goTabs));
  int validations = 0;
  Grid->OnCellValidateWide = [&](TObject*, int, int, std::u16string&, bool&) { ++validations; };
  Open(edUniMemo);
  TGridUniMemo* m = Grid->UniMemoEditor();
  ASSERT_TRUE(m->Visible());
  TypeText(m, "ab");
  Key(m, VK_RETURN, "\r");
  TypeText(m, "c");
  EXPECT_TRUE(m->Visible()) << "Enter starts a new line";
  EXPECT_EQ(m->Text(), u"ab\r\nc");
  Key(m, VK_TAB, "\t");
  EXPECT_FALSE(m->Visible());
  EXPECT_EQ(validations, 1);
  EXPECT_EQ(Grid->GetWideCell(1, 1), u"ab\r\nc");
  EXPECT_EQ(Grid->Col(), 2) << "Tab moves on";
}

// ---------------------------------------------------------------------------
// Date and time pickers

TEST_F(WrapperGrid, TheDatePickerOpensWithTheCellsDateAndEscapePutsItBack) {
  std::vector<std::string> closed;
  Grid->OnDatePickerCloseUp = [&](TObject*, int r, int c) { closed.push_back(std::to_string(c) + "," + std::to_string(r)); };
  const TDateTime day = EncodeDate(2020, 2, 28);
  Grid->SetCells(1, 1, DateToStr(day));
  Open(edDateEdit);
  TGridDatePicker* dp = Grid->DatePickerEditor();
  ASSERT_NE(dp, nullptr) << "the pickers are always there";
  ASSERT_TRUE(dp->Visible());
  EXPECT_EQ(dp->Kind(), dtkDate);
  EXPECT_EQ(dp->DateMode(), dmComboBox);
  EXPECT_DOUBLE_EQ(dp->Date(), day);
  for (const TPoint p : {TPoint{0, 0}, TPoint{1, dp->Height() - 2}})
    EXPECT_EQ(ShownPixel(dp, p.X, p.Y), ColorToRGB(clWindow)) << "the border is drawn over flat";
  Key(dp, VK_UP);
  EXPECT_DOUBLE_EQ(dp->Date(), day + 1) << "the picker steps its field";
  Key(dp, VK_ESCAPE, "\x1b");
  EXPECT_FALSE(dp->Visible());
  EXPECT_EQ(Grid->Cells(1, 1), DateToStr(day));

  Open(edDateEdit);
  Key(dp, VK_UP);
  Key(dp, VK_RETURN, "\r");
  EXPECT_EQ(Grid->Cells(1, 1), DateToStr(day + 1));
  EXPECT_EQ(Grid->Row(), 1) << "Enter leaves without moving";

  // Text that is no date opens with today.
  Grid->SetCells(1, 1, "soon");
  Open(edDateEditUpDown);
  EXPECT_EQ(dp->DateMode(), dmUpDown);
  EXPECT_EQ(static_cast<int>(dp->Date()), static_cast<int>(Now()));
  Key(dp, VK_ESCAPE, "\x1b");
  EXPECT_EQ(Grid->Cells(1, 1), "soon");

  // With DirectDateDrop the calendar opens at once and keeps Enter.
  Grid->MouseActions()->SetDirectDateDrop(true);
  Grid->SetCells(1, 1, DateToStr(day));
  Open(edDateEdit);
  ASSERT_TRUE(dp->DroppedDown());
  Key(dp, VK_RIGHT);
  Key(dp, VK_RETURN, "\r");
  EXPECT_FALSE(dp->DroppedDown());
  EXPECT_TRUE(dp->Visible()) << "Enter took the calendar's day; the edit goes on";
  EXPECT_DOUBLE_EQ(dp->Date(), day + 1);
  EXPECT_EQ(closed, (std::vector<std::string>{"1,1"}));
  Key(dp, VK_RETURN, "\r");
  EXPECT_FALSE(dp->Visible());
  EXPECT_EQ(Grid->Cells(1, 1), DateToStr(day + 1));
}

TEST_F(WrapperGrid, TheTimePickerStoresItsOwnFormatAndLeavesTheProgramsAlone) {
  const std::string longTime = FormatSettings.LongTimeFormat;
  Grid->SetCells(1, 1, "14:30:00");
  TGridDatePicker* dp = Grid->DatePickerEditor();
  dp->SetFormat("hh:nn");
  Open(edTimeEdit);
  EXPECT_EQ(dp->Kind(), dtkTime);
  EXPECT_EQ(dp->Text(), "14:30");
  Key(dp, VK_RETURN, "\r");
  EXPECT_EQ(Grid->Cells(1, 1), "14:30");
  EXPECT_EQ(FormatSettings.LongTimeFormat, longTime);

  dp->SetFormat("");
  Grid->SetCells(1, 1, "");
  Open(edTimeEdit);
  EXPECT_NEAR(dp->DateTime(), Now(), 1.0 / 24) << "an empty cell opens with the time now";
  Key(dp, VK_ESCAPE, "\x1b");
}

// ---------------------------------------------------------------------------
// Check box and button

TEST_F(WrapperGrid, TheCheckBoxTogglesWithSpaceAndLeavesTheCellAsItWas) {
  Grid->SetCells(1, 1, "Active");
  Open(edCheckBox);
  TGridCheckBox* cb = Grid->CheckBoxEditor();
  ASSERT_TRUE(cb->Visible());
  EXPECT_EQ(cb->Caption(), "Active");
  EXPECT_FALSE(cb->Checked());
  EXPECT_EQ(Grid->ActiveEditorControl(), nullptr);
  Key(cb, VK_SPACE, " ");
  EXPECT_TRUE(cb->Checked());
  MouseDown(cb, mbLeft, 3, 3);
  MouseUp(cb, mbLeft, 3, 3);
  EXPECT_FALSE(cb->Checked()) << "one click, one toggle";
  Key(cb, VK_DOWN);
  EXPECT_FALSE(cb->Visible());
  EXPECT_EQ(Grid->Row(), 2);
  EXPECT_EQ(Grid->Cells(1, 1), "Active");
}

TEST_F(WrapperGrid, TheButtonAsksForTheCellTextOnReleaseAndHidesForArrows) {
  int asked = 0;
  Grid->OnEllipsClick = [&](TObject*, int, int, std::string& s) {
    ++asked;
    s += "+";
  };
  Grid->SetCells(1, 1, "go");
  Open(edButton);
  TGridButton* b = Grid->ButtonEditor();
  ASSERT_TRUE(b->Visible());
  EXPECT_EQ(b->Caption(), "go");
  MouseDown(b, mbLeft, 4, 4);
  MouseUp(b, mbLeft, 4, 4);
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(b->Caption(), "go+");
  EXPECT_EQ(Grid->Cells(1, 1), "go+");
  MouseDown(b, mbLeft, 4, 4);
  MouseUp(b, mbLeft, b->Width() + 10, 4);
  EXPECT_EQ(asked, 1) << "released outside";
  Key(b, VK_SPACE, " ");
  EXPECT_EQ(Grid->Cells(1, 1), "go++");
  EXPECT_TRUE(b->Focused());
  Key(b, VK_RIGHT);
  EXPECT_FALSE(b->Visible());
  EXPECT_FALSE(Grid->EditorShowing());
  EXPECT_EQ(Grid->Col(), 2);
}

// ---------------------------------------------------------------------------
// All editors

TEST_F(WrapperGrid, TheCharacterThatStartsAnEditArrivesInEveryEditorThatTakesOne) {
  struct Case {
    TEditorType Type;
    char Typed;
  };
  const Case cases[] = {{edSpinEdit, '7'},     {edFloatSpinEdit, '3'}, {edComboEdit, 'q'},  {edEditBtn, 'q'},
                        {edNumericEditBtn, '5'}, {edUnitEditBtn, '4'}, {edUniEdit, 'q'},    {edUniMemo, 'q'},
                        {edUniEditBtn, 'q'}};
  for (const Case& c : cases) {
    SCOPED_TRACE("type " + std::to_string(c.Type));
    Grid->SetCells(1, 1, "");
    Editors(c.Type);
    TypeText(Grid, std::string(1, c.Typed));
    ProcessEvents();
    TWinControl* e = Grid->ActiveEditorControl();
    ASSERT_NE(e, nullptr);
    EXPECT_TRUE(e->Visible());
    EXPECT_EQ(e->Text(), std::string(1, c.Typed));
    Key(e, VK_ESCAPE, "\x1b");
    EXPECT_FALSE(e->Visible());
  }
}

TEST_F(WrapperGrid, ARejectedValueKeepsEachEditorOpenWithTheCellsTextAndTheRowUnmarked) {
  struct Case {
    TEditorType Type;
    const char* Start;
    const char* Typed;
  };
  const Case cases[] = {{edSpinEdit, "5", "9"},     {edComboEdit, "Fe", "bad"}, {edEditBtn, "ok", "bad"},
                        {edUniEdit, "ok", "bad"},   {edUniEditBtn, "ok", "bad"}, {edFloatSpinEdit, "1.50", "9"}};
  Grid->ShowModified()->SetEnabled(true);
  Grid->OnCellValidate = [](TObject*, int, int, std::string& v, bool& ok) { ok = v != "bad" && v != "9"; };
  Grid->OnCellValidateWide = [](TObject*, int, int, std::u16string& v, bool& ok) { ok = v != u"bad"; };
  for (const Case& c : cases) {
    SCOPED_TRACE("type " + std::to_string(c.Type));
    Grid->SetCells(1, 1, c.Start);
    Grid->SetRowModified(1, false);
    Open(c.Type);
    TWinControl* e = Grid->ActiveEditorControl();
    ASSERT_NE(e, nullptr);
    e->SetText(c.Typed);
    Key(e, VK_RETURN, "\r");
    ProcessEvents();
    EXPECT_TRUE(e->Visible()) << "the editor stays";
    EXPECT_TRUE(e->Focused());
    EXPECT_EQ(e->Text(), c.Start) << "the cell's text";
    EXPECT_EQ(Utf16ToUtf8(Grid->GetWideCell(1, 1)), c.Start);
    EXPECT_FALSE(Grid->GetRowModified(1));
    Key(e, VK_ESCAPE, "\x1b");
    EXPECT_FALSE(e->Visible());
    EXPECT_EQ(Utf16ToUtf8(Grid->GetWideCell(1, 1)), c.Start);
  }
  // An accepted value marks the row.
  Open(edEditBtn);
  Grid->EditBtnEditor()->SetText("fine");
  Key(Grid->EditBtnEditor(), VK_RETURN, "\r");
  EXPECT_EQ(Grid->Cells(1, 1), "fine");
  EXPECT_TRUE(Grid->GetRowModified(1));
}

TEST_F(WrapperGrid, FocusMovingAwayStoresTheEditorsValue) {
  Record();
  Open(edEditBtn);
  Grid->EditBtnEditor()->SetText("left");
  Other->SetFocus();
  ProcessEvents();
  EXPECT_FALSE(Grid->EditBtnEditor()->Visible());
  EXPECT_EQ(Grid->Cells(1, 1), "left");
  EXPECT_EQ(std::count(Log.begin(), Log.end(), "CellValidate left"), 1);
  EXPECT_EQ(std::count(Log.begin(), Log.end(), "EditingDone"), 1);
}

TEST_F(WrapperGrid, TheEditorsAreMadeWithTheGridHiddenAndDisabled) {
  for (TWinControl* c : std::vector<TWinControl*>{
           Grid->ComboEditor(), Grid->UniComboEditor(), Grid->SpinEditor(), Grid->EditBtnEditor(),
           Grid->UnitEditBtnEditor(), Grid->UniEditEditor(), Grid->UniEditBtnEditor(), Grid->UniMemoEditor(),
           Grid->CheckBoxEditor(), Grid->ButtonEditor(), Grid->DatePickerEditor()}) {
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->Parent(), Grid);
    EXPECT_EQ(c->Owner(), Grid);
    EXPECT_FALSE(c->Visible());
    EXPECT_FALSE(c->Enabled());
  }
  EXPECT_EQ(Grid->UniEditBtnEditor()->ButtonCaption(), "...");
  EXPECT_EQ(Grid->SpinEditor()->MaxValue(), 100);
  EXPECT_EQ(Grid->ComboEditor()->ButtonWidth(), 16);

  TComponent designer(nullptr);
  designer.SetDesigning(true);
  TPlusStringGrid designed(&designer);
  EXPECT_EQ(designed.ComboEditor(), nullptr) << "none in the designer";
}

}  // namespace
