// The date and time picker: its value and text under the layer's formats,
// stepping and typing the fields, the drop-down calendar, the check box and
// the painting over its border.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "platform/rtl/exceptions.h"
#include "platform/ui/datetimepicker.h"
#include "platform/ui/forms.h"
#include "support/gui/guitest.h"

using namespace guitest;

namespace {

// Logs the key and non-client messages its window procedure sees, as a
// descendant overriding WndProc would, and draws two frames over the border
// after the non-client painting.
class TProbePicker : public TDateTimePicker {
public:
  using TDateTimePicker::TDateTimePicker;
  std::vector<std::string>* Log = nullptr;
  TColor FrameColor = clNone;
  int NCPaints = 0;

  void WndProc(TMessage& M) override {
    if (Log && (M.Msg == WM_KEYDOWN || M.Msg == WM_SYSKEYDOWN || M.Msg == WM_CHAR || M.Msg == WM_KEYUP))
      Log->push_back((M.Msg == WM_CHAR ? "char " : M.Msg == WM_KEYUP ? "up " : "down ") + std::to_string(M.WParam));
    TDateTimePicker::WndProc(M);
    if (M.Msg == WM_NCPAINT && NCCanvas()) {
      ++NCPaints;
      if (FrameColor == clNone) return;
      TCanvas* c = NCCanvas();
      c->Brush()->SetColor(FrameColor);
      c->FrameRect(Rect(0, 0, Width(), Height()));
      c->FrameRect(Rect(1, 1, Width() - 1, Height() - 1));
    }
  }
};

TDateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
  return EncodeDate(y, mo, d) + EncodeTime(h, mi, s, ms);
}

struct PickerFixture : ::testing::Test {
  TFormatSettings Saved = FormatSettings;
  TForm* Form = nullptr;
  TProbePicker* Picker = nullptr;
  std::vector<std::string> Events;

  void SetUp() override {
    FormatSettings.DateSeparator = '/';
    FormatSettings.TimeSeparator = ':';
    FormatSettings.ShortDateFormat = "dd/mm/yyyy";
    FormatSettings.LongTimeFormat = "hh:nn:ss";
    Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 320, 240);
    Picker = new TProbePicker(Form);
    Picker->SetParent(Form);
    Picker->SetBounds(10, 10, 186, 24);
    Picker->OnChange = [this](TObject*) { Events.push_back("change " + Picker->Text()); };
    Picker->OnDropDown = [this](TObject*) { Events.push_back("dropdown"); };
    Picker->OnCloseUp = [this](TObject*) { Events.push_back("closeup"); };
    Form->Show();
    Picker->SetFocus();
  }
  void TearDown() override {
    delete Form;
    ProcessEvents();
    FormatSettings = Saved;
  }
  using Log = std::vector<std::string>;
};

TEST_F(PickerFixture, TextAndWindowFollowTheEffectiveFormat) {
  const TDateTime v = At(2024, 3, 5, 13, 7, 9);
  struct Case {
    TDateTimeKind Kind;
    std::string Format, ShortDate, LongTime;
    char DateSep, TimeSep;
    std::string Expected;
  };
  const Case cases[] = {
      {dtkDate, "", "dd/mm/yyyy", "hh:nn:ss", '/', ':', "05/03/2024"},
      {dtkDate, "", "m/d/yy", "hh:nn:ss", '-', ':', "3-5-24"},
      {dtkDate, "", "yyyy.mm.dd", "hh:nn:ss", '/', ':', "2024.03.05"},
      {dtkDate, "dd mmm yyyy", "dd/mm/yyyy", "hh:nn:ss", '/', ':', "05 Mar 2024"},
      {dtkDate, "'Day' d, yyyy", "dd/mm/yyyy", "hh:nn:ss", '/', ':', "Day 5, 2024"},
      {dtkDate, "ddddd hh:mm", "d/m/yyyy", "hh:nn:ss", '.', ':', "5.3.2024 13:07"},
      {dtkTime, "", "dd/mm/yyyy", "hh:nn:ss", '/', ':', "13:07:09"},
      {dtkTime, "", "dd/mm/yyyy", "hh:nn:ss", '/', '.', "13.07.09"},
      {dtkTime, "", "dd/mm/yyyy", "h:nn am/pm", '/', ':', "1:07 pm"},
      {dtkTime, "hh'h'nn", "dd/mm/yyyy", "hh:nn:ss", '/', ':', "13h07"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Expected);
    FormatSettings.ShortDateFormat = c.ShortDate;
    FormatSettings.LongTimeFormat = c.LongTime;
    FormatSettings.DateSeparator = c.DateSep;
    FormatSettings.TimeSeparator = c.TimeSep;
    Picker->SetKind(c.Kind);
    Picker->SetFormat(c.Format);
    Picker->SetDateTime(v);
    EXPECT_EQ(Picker->DateTime(), v);
    EXPECT_EQ(Picker->Text(), c.Expected);
    EXPECT_EQ(Picker->Caption(), c.Expected);
    EXPECT_EQ(Picker->WindowText(), c.Expected);
  }
  // A format without fields: the text as written, the window's fields the
  // default ones, and the keys work on those.
  FormatSettings.ShortDateFormat = "dd/mm/yyyy";
  FormatSettings.DateSeparator = '/';
  Picker->SetKind(dtkDate);
  Picker->SetFormat("'today'");
  EXPECT_EQ(Picker->Text(), "today");
  EXPECT_EQ(Picker->WindowText(), "05/03/2024");
  EXPECT_TRUE(Events.empty());  // values set from code fire no OnChange
  Key(Picker, VK_HOME);
  Key(Picker, VK_UP);
  EXPECT_EQ(Picker->WindowText(), "06/03/2024");
  EXPECT_EQ(Events, (Log{"change today"}));
}

TEST_F(PickerFixture, AChangedShortDateFormatIsReadAtEachUse) {
  Picker->SetDateTime(At(2024, 3, 5));
  EXPECT_EQ(Picker->Text(), "05/03/2024");
  FormatSettings.ShortDateFormat = "yyyy/mm/dd";
  FormatSettings.DateSeparator = '-';
  EXPECT_EQ(Picker->Text(), "2024-03-05");
  // The window follows at its next painting; the fields keep the new order.
  ShownPixel(Picker, 5, 5);
  EXPECT_EQ(Picker->WindowText(), "2024-03-05");
  EXPECT_EQ(Picker->Caption(), "2024-03-05");
  Key(Picker, VK_HOME);
  Key(Picker, VK_UP);
  EXPECT_EQ(Picker->Text(), "2025-03-05");
}

TEST_F(PickerFixture, DateAndTimeSettersKeepTheOtherPartAndValuesStayInRange) {
  const TDateTime time = EncodeTime(13, 7, 9, 500);
  Picker->SetDateTime(At(2024, 3, 5, 13, 7, 9, 500));
  Picker->SetDate(At(2020, 1, 2, 18, 0));
  EXPECT_DOUBLE_EQ(Picker->DateTime(), EncodeDate(2020, 1, 2) + time);
  EXPECT_EQ(Picker->Date(), EncodeDate(2020, 1, 2));
  EXPECT_DOUBLE_EQ(Picker->Time(), time);
  Picker->SetTime(At(1999, 9, 9, 8, 30));
  EXPECT_DOUBLE_EQ(Picker->DateTime(), At(2020, 1, 2, 8, 30));
  // Before the origin the time still counts forward from midnight.
  Picker->SetDate(EncodeDate(1899, 12, 29));
  EXPECT_DOUBLE_EQ(Picker->Time(), EncodeTime(8, 30, 0, 0));
  EXPECT_EQ(Picker->Date(), -1);
  EXPECT_EQ(Picker->Text(), "29/12/1899");
  Picker->SetKind(dtkTime);
  EXPECT_EQ(Picker->Text(), "08:30:00");

  Picker->SetDateTime(EncodeDate(1, 1, 1));
  EXPECT_EQ(Picker->Date(), EncodeDate(100, 1, 1));
  Picker->SetDateTime(1e9);
  EXPECT_EQ(Picker->Date(), EncodeDate(9999, 12, 31));
  const TDateTime kept = Picker->DateTime();
  EXPECT_THROW(Picker->SetDateTime(std::numeric_limits<double>::quiet_NaN()), EConvertError);
  EXPECT_THROW(Picker->SetText("no time"), EConvertError);
  EXPECT_EQ(Picker->DateTime(), kept);
  Picker->SetText("07:45:10");
  EXPECT_DOUBLE_EQ(Picker->DateTime(), EncodeDate(9999, 12, 31) + EncodeTime(7, 45, 10, 0));
  EXPECT_TRUE(Events.empty());
}

TEST_F(PickerFixture, UpAndDownStepTheFieldUnderTheCaretWrappingInsideIt) {
  Picker->SetDateTime(At(2024, 1, 31, 10, 15));
  Key(Picker, VK_UP);  // day 31 -> 1 of the same month
  EXPECT_EQ(Picker->Text(), "01/01/2024");
  Key(Picker, VK_DOWN);
  Key(Picker, VK_RIGHT);
  Key(Picker, VK_UP);  // 31 January -> February: the day is cut to its length
  EXPECT_EQ(Picker->Text(), "29/02/2024");
  Key(Picker, VK_DOWN);
  Key(Picker, VK_DOWN);
  EXPECT_EQ(Picker->Text(), "29/12/2024");
  Key(Picker, VK_END);
  Key(Picker, VK_UP);
  EXPECT_EQ(Picker->Text(), "29/12/2025");
  // The grid's way: messages sent from code act as typed keys.
  Picker->Perform(WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(Picker->Text(), "29/12/2024");
  EXPECT_DOUBLE_EQ(Picker->Time(), EncodeTime(10, 15, 0, 0));
  EXPECT_EQ(Events, (Log{"change 01/01/2024", "change 31/01/2024", "change 29/02/2024", "change 29/01/2024",
                         "change 29/12/2024", "change 29/12/2025", "change 29/12/2024"}));
}

TEST_F(PickerFixture, TimeFieldsStepAndAKeyClearedByOnKeyDownDoesNothing) {
  Picker->SetKind(dtkTime);
  Picker->SetDateTime(At(2024, 3, 5, 23, 59, 30));
  Key(Picker, VK_UP);
  EXPECT_EQ(Picker->Text(), "00:59:30");
  Key(Picker, VK_RIGHT);
  Key(Picker, VK_UP);
  Key(Picker, VK_RIGHT);
  Key(Picker, VK_DOWN);
  EXPECT_EQ(Picker->Text(), "00:00:29");
  EXPECT_EQ(Picker->Date(), EncodeDate(2024, 3, 5));
  Picker->OnKeyDown = [](TObject*, uint16_t& key, TShiftState) { key = 0; };
  Key(Picker, VK_UP);
  EXPECT_EQ(Picker->Text(), "00:00:29");
}

TEST_F(PickerFixture, DigitsTypeIntoTheFieldAndMoveOnThroughTheMessagePath) {
  Picker->SetDateTime(At(2024, 6, 15, 9, 0));
  std::vector<std::string> messages;
  Picker->Log = &messages;
  TypeText(Picker, "0");
  EXPECT_EQ(messages, (Log{"down 48", "char 48", "up 48"}));
  Picker->Log = nullptr;
  TypeText(Picker, "5");  // "05": the day is full, the caret moves to the month
  TypeText(Picker, "4");  // no month starts with 4..9 and a second digit
  TypeText(Picker, "1999");
  EXPECT_EQ(Picker->Text(), "05/04/1999");
  EXPECT_DOUBLE_EQ(Picker->Time(), EncodeTime(9, 0, 0, 0));
  // A separator ends a field early; a digit that cannot follow starts it again.
  Key(Picker, VK_HOME);
  TypeText(Picker, "3.");
  TypeText(Picker, "13");
  EXPECT_EQ(Picker->Text(), "03/03/1999");

  // Two-digit years fall in the hundred years StrToDate uses.
  FormatSettings.ShortDateFormat = "dd/mm/yy";
  Picker->SetDateTime(At(2024, 6, 15));
  Key(Picker, VK_HOME);
  TypeText(Picker, "010299");
  EXPECT_EQ(Picker->Date(), StrToDate("01/02/99"));
}

TEST_F(PickerFixture, F4OpensTheCalendarAndEscapeClosesItWithoutAChange) {
  Picker->SetDateTime(At(2024, 1, 31, 10, 30));
  std::vector<std::string> keys;
  Picker->OnKeyDown = [&](TObject*, uint16_t& key, TShiftState) { keys.push_back(std::to_string(key)); };
  Key(Picker, VK_F4);
  EXPECT_TRUE(Picker->DroppedDown());
  Key(Picker, VK_RIGHT);  // moves the calendar's day only
  Key(Picker, VK_UP);
  TypeText(Picker, "7");
  EXPECT_EQ(Picker->Text(), "31/01/2024");
  Key(Picker, VK_ESCAPE);
  EXPECT_FALSE(Picker->DroppedDown());
  EXPECT_EQ(Picker->Text(), "31/01/2024");
  EXPECT_EQ(Events, (Log{"dropdown", "closeup"}));
  // Every key passed OnKeyDown first, the calendar's too.
  EXPECT_EQ(keys, (Log{std::to_string(VK_F4), std::to_string(VK_RIGHT), std::to_string(VK_UP), "55",
                       std::to_string(VK_ESCAPE)}));

  Events.clear();
  Picker->OnKeyDown = nullptr;
  Picker->Perform(WM_KEYDOWN, VK_F4, 0);  // as the grid opens it
  EXPECT_TRUE(Picker->DroppedDown());
  Key(Picker, VK_F4);
  EXPECT_FALSE(Picker->DroppedDown());
  Key(Picker, VK_DOWN, "", {ssAlt});
  EXPECT_TRUE(Picker->DroppedDown());
  Picker->CloseUp();
  EXPECT_FALSE(Picker->DroppedDown());
  Picker->CloseUp();  // closed already: no event
  EXPECT_EQ(Events, (Log{"dropdown", "closeup", "dropdown", "closeup"}));
}

TEST_F(PickerFixture, EnterInTheCalendarTakesTheDayAndKeepsTheTime) {
  Picker->SetDateTime(At(2024, 1, 31, 10, 30));
  Key(Picker, VK_F4);
  Key(Picker, VK_RIGHT);  // 1 February
  Key(Picker, VK_DOWN);   // a week on
  Key(Picker, VK_NEXT);   // a month on
  Key(Picker, VK_RETURN);
  EXPECT_FALSE(Picker->DroppedDown());
  EXPECT_DOUBLE_EQ(Picker->DateTime(), At(2024, 3, 8, 10, 30));
  EXPECT_EQ(Events, (Log{"dropdown", "change 08/03/2024", "closeup"}));

  // An OnKeyDown that keeps Enter leaves the calendar open.
  Events.clear();
  Picker->OnKeyDown = [](TObject*, uint16_t& key, TShiftState) {
    if (key == VK_RETURN) key = 0;
  };
  Key(Picker, VK_F4);
  Key(Picker, VK_RETURN);
  EXPECT_TRUE(Picker->DroppedDown());
  // Hiding the picker closes its calendar.
  Picker->Hide();
  EXPECT_FALSE(Picker->DroppedDown());
  EXPECT_EQ(Events, (Log{"dropdown", "closeup"}));
}

TEST_F(PickerFixture, UpDownModeAndTimesNeverOpenACalendar) {
  Picker->SetDateTime(At(2024, 1, 31));
  Picker->SetDateMode(dmUpDown);
  Key(Picker, VK_F4);
  Key(Picker, VK_DOWN, "", {ssAlt});
  Picker->Perform(WM_KEYDOWN, VK_F4, 0);
  Picker->DropDown();
  EXPECT_FALSE(Picker->DroppedDown());
  Key(Picker, VK_UP);
  EXPECT_EQ(Picker->Text(), "01/01/2024");
  Picker->SetDateMode(dmComboBox);
  Picker->SetKind(dtkTime);
  Key(Picker, VK_F4);
  EXPECT_FALSE(Picker->DroppedDown());
  EXPECT_EQ(Events, (Log{"change 01/01/2024"}));
  // Switching to up/down arrows closes an open calendar.
  Picker->SetKind(dtkDate);
  Key(Picker, VK_F4);
  Picker->SetDateMode(dmUpDown);
  EXPECT_FALSE(Picker->DroppedDown());
}

TEST_F(PickerFixture, TheArrowOpensTheCalendarAndTheUpDownButtonsAndTheWheelStep) {
  Picker->SetDateTime(At(2024, 1, 31));
  const int right = Picker->Width() - 5;
  Click(Picker, right, Picker->Height() / 2);
  EXPECT_TRUE(Picker->DroppedDown());
  Key(Picker, VK_ESCAPE);
  Picker->SetDateMode(dmUpDown);
  Click(Picker, right, 5);
  EXPECT_EQ(Picker->Text(), "01/01/2024");
  Click(Picker, right, Picker->Height() - 5);
  EXPECT_EQ(Picker->Text(), "31/01/2024");
  Wheel(Picker, 1, 20, Picker->Height() / 2);
  EXPECT_EQ(Picker->Text(), "01/01/2024");
  EXPECT_FALSE(Picker->DroppedDown());
  EXPECT_EQ(Events, (Log{"dropdown", "closeup", "change 01/01/2024", "change 31/01/2024", "change 01/01/2024"}));
}

TEST_F(PickerFixture, WithTheCheckBoxClearedTheFieldsRestUntilItIsSetAgain) {
  Picker->SetDateTime(At(2024, 5, 10));
  Picker->SetChecked(false);
  EXPECT_TRUE(Picker->Checked());  // no check box, always checked
  Picker->SetShowCheckbox(true);
  EXPECT_FALSE(Picker->Checked());
  Picker->SetChecked(true);
  EXPECT_TRUE(Picker->Checked());
  Picker->SetChecked(false);
  EXPECT_TRUE(Events.empty());
  Key(Picker, VK_UP);
  TypeText(Picker, "2");
  EXPECT_EQ(Picker->Text(), "10/05/2024");
  TypeText(Picker, " ");
  EXPECT_TRUE(Picker->Checked());
  Key(Picker, VK_UP);
  TypeText(Picker, " ");
  EXPECT_FALSE(Picker->Checked());
  // A day taken from the calendar sets the box again.
  Key(Picker, VK_F4);
  Key(Picker, VK_LEFT);
  Key(Picker, VK_RETURN);
  EXPECT_TRUE(Picker->Checked());
  EXPECT_EQ(Events, (Log{"change 10/05/2024", "change 11/05/2024", "change 11/05/2024", "dropdown",
                         "change 10/05/2024", "closeup"}));
}

TEST_F(PickerFixture, NonClientPaintingComesAfterTheFrameSoADescendantCanCoverIt) {
  EXPECT_EQ(Picker->NCCanvas(), nullptr);
  Picker->FrameColor = clLime;
  const TColor mid = ShownPixel(Picker, Picker->Width() / 2, Picker->Height() / 2);
  EXPECT_GT(Picker->NCPaints, 0);
  for (int inset : {0, 1}) {
    EXPECT_EQ(ShownPixel(Picker, inset, Picker->Height() / 2), clLime);
    EXPECT_EQ(ShownPixel(Picker, Picker->Width() / 2, inset), clLime);
    EXPECT_EQ(ShownPixel(Picker, Picker->Width() - 1 - inset, Picker->Height() - 1 - inset), clLime);
  }
  EXPECT_NE(mid, clLime);
  EXPECT_EQ(Picker->NCCanvas(), nullptr);
}

}  // namespace
