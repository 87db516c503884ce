// The spin edit: stepping numbers, reals, dates and times within limits,
// the part of a date or time under the caret, the character filters (with a
// beep for each refused character), the held button's repeat, the keys,
// and the arrows and layout of the spin button.
#include "grid/support/psgspin.h"

#include <gtest/gtest.h>

#include "platform/rtl/formatsettings.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/forms.h"
#include "platform/ui/sound.h"
#include "platform/ui/streaming.h"
#include "support/gui/guitest.h"

using namespace guitest;

namespace {

struct Spin : ::testing::Test {
  TForm* Form = nullptr;
  TPsgSpinEdit* E = nullptr;
  TFormatSettings Saved;
  TMessageBeepHook PreviousBeep;
  int Beeps = 0;
  void SetUp() override {
    EnsureGui();
    Saved = FormatSettings;
    FormatSettings.DecimalSeparator = '.';
    FormatSettings.ThousandSeparator = ',';
    FormatSettings.DateSeparator = '/';
    FormatSettings.TimeSeparator = ':';
    FormatSettings.ShortDateFormat = "dd/MM/yyyy";
    FormatSettings.LongTimeFormat = "hh:nn:ss";
    PreviousBeep = SetMessageBeepHook([this](unsigned) { ++Beeps; });
    Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 300, 200);
    E = new TPsgSpinEdit(Form);
    E->SetParent(Form);
    E->SetBounds(10, 10, 120, 24);
    Form->Show();
    E->SetFocus();
  }
  void TearDown() override {
    delete Form;
    ProcessEvents();
    SetMessageBeepHook(PreviousBeep);
    FormatSettings = Saved;
  }
  void Caret(int pos) { E->SetSelStart(pos); }
};

TEST_F(Spin, WholeNumbersStepWithinTheirLimits) {
  const struct {
    int min, max, value, increment, sign;
    std::string shown;
  } cases[] = {
      {0, 100, 99, 5, +1, "100"}, {0, 0, 99, 5, +1, "104"}, {0, 100, 3, 5, -1, "0"},
      {0, 0, 3, 5, -1, "-2"},     {10, 10, 99, 1, +1, "100"}, {-5, 5, 0, 2, +1, "2"},
  };
  for (const auto& c : cases) {
    E->SetMinValue(c.min);
    E->SetMaxValue(c.max);
    E->SetText(std::to_string(c.value));
    E->SetIncrement(c.increment);
    if (c.sign > 0) E->SpinUp(E);
    else E->SpinDown(E);
    EXPECT_EQ(E->TControl::Text(), c.shown) << c.value << " " << c.min << ".." << c.max;
  }
  // Text that does not convert reads as the minimum.
  E->SetMinValue(7);
  E->SetMaxValue(9);
  E->SetMinFloatValue(1.5);
  E->SetText("abc");
  EXPECT_EQ(E->Value(), 7);
  EXPECT_EQ(E->FloatValue(), 1.5);
  EXPECT_EQ(E->TimeValue(), 0);
}

TEST_F(Spin, RealNumbersShowTheirPrecision) {
  E->SetSpinType(sptFloat);
  E->SetPrecision(2);
  E->SetFloatValue(2.5);
  EXPECT_EQ(E->TControl::Text(), "2.50");
  E->SetPrecision(0);
  EXPECT_EQ(E->TControl::Text(), "2.5");
  E->SpinUp(E);
  EXPECT_EQ(E->TControl::Text(), "2.6");
  E->SetFloatValue(250);
  EXPECT_EQ(E->TControl::Text(), "100");
  // The locale's decimal separator.
  FormatSettings.DecimalSeparator = ',';
  FormatSettings.ThousandSeparator = '.';
  E->SetPrecision(2);
  E->SetFloatValue(2.5);
  EXPECT_EQ(E->TControl::Text(), "2,50");
  EXPECT_EQ(E->FloatValue(), 2.5);
}

TEST_F(Spin, DatesStepThePartUnderTheCaret) {
  E->SetSpinType(sptDate);
  const struct {
    std::string format, text;
    int caret, sign;
    std::string shown;
  } cases[] = {
      {"dd/MM/yyyy", "31/01/2007", 4, +1, "28/02/2007"},  // month
      {"dd/MM/yyyy", "31/01/2007", 1, +1, "01/02/2007"},  // day
      {"dd/MM/yyyy", "01/03/2007", 0, -1, "28/02/2007"},
      {"dd/MM/yyyy", "31/01/2007", 8, +1, "31/01/2008"},  // year
      {"dd/MM/yyyy", "29/02/2008", 7, +1, "28/02/2009"},  // no 29 February: the 28th
      {"dd/MM/yyyy", "29/02/2008", 7, -1, "28/02/2007"},
      {"dd/MM/yyyy", "15/12/2007", 3, +1, "15/01/2008"},
      {"MM/dd/yyyy", "01/31/2007", 0, +1, "02/28/2007"},  // month first
      {"MM/dd/yyyy", "01/31/2007", 4, +1, "02/01/2007"},
  };
  for (const auto& c : cases) {
    FormatSettings.ShortDateFormat = c.format;
    E->SetText(c.text);
    Caret(c.caret);
    if (c.sign > 0) E->SpinUp(E);
    else E->SpinDown(E);
    EXPECT_EQ(E->TControl::Text(), c.shown) << c.text << " caret " << c.caret;
    EXPECT_EQ(E->SelStart(), c.caret);
  }
  // Limits hold.
  FormatSettings.ShortDateFormat = "dd/MM/yyyy";
  E->SetMinDateValue(EncodeDate(2007, 1, 1));
  E->SetMaxDateValue(EncodeDate(2007, 12, 31));
  E->SetText("31/12/2007");
  Caret(1);
  E->SpinUp(E);
  EXPECT_EQ(E->TControl::Text(), "31/12/2007");
}

TEST_F(Spin, TimesStepThePartUnderTheCaretAndWrapAtMidnight) {
  E->SetSpinType(sptTime);
  const struct {
    std::string text;
    int caret, sign;
    std::string shown;
  } cases[] = {
      {"00:00:30", 0, -1, "23:00:30"}, {"00:00:30", 3, -1, "23:59:30"}, {"00:00:30", 7, -1, "00:00:29"},
      {"10:59:59", 7, +1, "11:00:00"}, {"23:30:00", 1, +1, "00:30:00"}, {"12:00:00", 4, +1, "12:01:00"},
  };
  for (const auto& c : cases) {
    E->SetText(c.text);
    Caret(c.caret);
    if (c.sign > 0) E->SpinUp(E);
    else E->SpinDown(E);
    EXPECT_EQ(E->TControl::Text(), c.shown) << c.text << " caret " << c.caret;
  }
}

TEST_F(Spin, RefusedCharactersBeepOnce) {
  E->SetSpinType(sptFloat);
  E->SetPrecision(2);
  E->SetText("1.25");
  Caret(4);
  TypeText(E, "3");
  EXPECT_EQ(E->TControl::Text(), "1.25");
  EXPECT_EQ(Beeps, 1);
  E->SetText("1.2");
  Caret(3);
  TypeText(E, "3");
  EXPECT_EQ(E->TControl::Text(), "1.23");
  EXPECT_EQ(Beeps, 1);

  // A second decimal separator, the thousands separator, letters.
  Beeps = 0;
  E->SetText("1.2");
  Caret(1);
  TypeText(E, ".x");
  Key(E, VK_OEM_COMMA, ",");
  EXPECT_EQ(E->TControl::Text(), "1.2");
  EXPECT_EQ(Beeps, 3);
}

TEST_F(Spin, MinusOnlyOnceAndAtTheStart) {
  E->SetMinValue(0);
  E->SetMaxValue(0);
  E->SetText("12");
  Caret(1);
  TypeText(E, "-");
  EXPECT_EQ(E->TControl::Text(), "12");
  Caret(0);
  TypeText(E, "-");
  EXPECT_EQ(E->TControl::Text(), "-12");
  Caret(0);
  TypeText(E, "-");
  EXPECT_EQ(E->TControl::Text(), "-12");
  // Replacing the selected minus is allowed.
  E->SelectAll();
  TypeText(E, "-");
  EXPECT_EQ(E->TControl::Text(), "-");
  EXPECT_EQ(Beeps, 2);
}

TEST_F(Spin, FiltersByTypeAndLeaveTheClipboardKeysAlone) {
  const struct {
    TPsgSpinType type;
    char key;
    bool valid;
  } cases[] = {
      {sptNormal, '5', true},  {sptNormal, '.', false}, {sptNormal, 27, false}, {sptNormal, 13, false},
      {sptNormal, 'a', false}, {sptFloat, '.', true},   {sptFloat, 27, true},   {sptFloat, 13, false},
      {sptFloat, ',', false},  {sptFloat, ':', false},  {sptDate, '/', true},   {sptDate, ':', false},
      {sptTime, ':', true},    {sptTime, '/', false},   {sptTime, 13, false},   {sptDate, 'x', false},
  };
  for (const auto& c : cases) {
    E->SetSpinType(c.type);
    E->SetText("");
    EXPECT_EQ(E->IsValidChar(c.key), c.valid) << c.type << " " << int(c.key);
  }
  E->SetSpinType(sptTime);
  E->SetText("10:20:");
  EXPECT_FALSE(E->IsValidChar(':'));
  E->SetText("10:20");
  EXPECT_TRUE(E->IsValidChar(':'));
  E->SetEditorEnabled(false);
  EXPECT_FALSE(E->IsValidChar('1'));
  EXPECT_FALSE(E->IsValidChar(8));
  E->SetEditorEnabled(true);
  EXPECT_TRUE(E->IsValidChar(8));

  // Copy, paste and select-all work in a whole-number edit.
  E->SetSpinType(sptNormal);
  E->SetText("42");
  Beeps = 0;
  Key(E, 'A', "\x01", {ssCtrl});
  EXPECT_EQ(E->SelLength(), 2);
  Key(E, 'C', "\x03", {ssCtrl});
  EXPECT_EQ(Clipboard()->AsText(), "42");
  Caret(2);
  Key(E, 'V', "\x16", {ssCtrl});
  EXPECT_EQ(E->TControl::Text(), "4242");
  EXPECT_EQ(Beeps, 0);
  // Without editing, pasting changes nothing.
  E->SetEditorEnabled(false);
  Key(E, 'V', "\x16", {ssCtrl});
  E->Perform(WM_PASTE, 0, 0);
  EXPECT_EQ(E->TControl::Text(), "4242");
}

TEST_F(Spin, HeldButtonRepeatsAfter400ThenEvery100Ms) {
  E->SetText("10");
  TPlusTimerSpeedButton* up = E->Button()->UpButton();
  MouseDown(up, mbLeft, 3, 3);
  TTimer* t = up->RepeatTimer();
  ASSERT_NE(t, nullptr);
  EXPECT_TRUE(t->Enabled());
  EXPECT_EQ(t->Interval(), 400u);
  EXPECT_EQ(E->Value(), 10);
  FireTimer(t);
  EXPECT_EQ(t->Interval(), 100u);
  EXPECT_EQ(E->Value(), 11);
  FireTimer(t);
  EXPECT_EQ(E->Value(), 12);
  MouseUp(up, mbLeft, 3, 3);  // the release over the button clicks once more
  EXPECT_EQ(E->Value(), 13);
  EXPECT_FALSE(t->Enabled());

  // Dragged off the button, the timer does nothing and the release no click.
  TPlusTimerSpeedButton* down = E->Button()->DownButton();
  MouseDown(down, mbLeft, 3, 3);
  MouseMove(down, 3, 60);
  FireTimer(down->RepeatTimer());
  MouseUp(down, mbLeft, 3, 60);
  EXPECT_EQ(E->Value(), 13);
}

TEST_F(Spin, KeysStepAndReadOnlyBeeps) {
  E->SetText("50");
  Key(E, VK_UP);
  Key(E, VK_PRIOR);
  EXPECT_EQ(E->Value(), 52);
  Key(E, VK_DOWN);
  Key(E, VK_NEXT);
  Key(E, VK_NEXT);
  EXPECT_EQ(E->Value(), 49);
  E->SetReadOnly(true);
  E->SpinUp(E);
  EXPECT_EQ(E->Value(), 49);
  EXPECT_EQ(Beeps, 1);
}

TEST_F(Spin, LeavingAppliesTheLimits) {
  auto* other = new TPsgSpinEdit(Form);
  other->SetParent(Form);
  other->SetBounds(10, 50, 120, 24);
  E->SetText("500");
  other->SetFocus();
  ProcessEvents();
  EXPECT_EQ(E->TControl::Text(), "100");
}

TEST_F(Spin, ReturnIsTabMovesOn) {
  auto* other = new TPsgSpinEdit(Form);
  other->SetParent(Form);
  other->SetBounds(10, 50, 120, 24);
  std::vector<uint16_t> keys;
  E->OnKeyDown = [&](TObject*, uint16_t& k, TShiftState) { keys.push_back(k); };
  E->SetFocus();
  E->SetReturnIsTab(true);
  Key(E, VK_RETURN, "\r");
  ProcessEvents();
  EXPECT_EQ(keys, (std::vector<uint16_t>{VK_TAB, VK_TAB}));
  EXPECT_TRUE(other->Focused());
}

TEST_F(Spin, KeypadDecimalKeyTypesTheDecimalSeparator) {
  FormatSettings.DecimalSeparator = ',';
  FormatSettings.ThousandSeparator = '.';
  E->SetSpinType(sptFloat);
  E->SetExcelStyleDecimalSeparator(true);
  E->SetText("1");
  Caret(1);
  const LPARAM keypad = LPARAM(0x53) << 16 | 1;
  E->Perform(WM_CHAR, '.', 1);  // the main keyboard's full stop: a thousands separator here, refused
  EXPECT_EQ(E->TControl::Text(), "1");
  EXPECT_EQ(Beeps, 1);
  E->Perform(WM_CHAR, '.', keypad);
  EXPECT_EQ(E->TControl::Text(), "1,");
}

TEST_F(Spin, SpinButtonArrowsAndLayout) {
  TPsgSpinButton* b = E->Button();
  // The default arrows are the 9 x 6 resources.
  EXPECT_EQ(b->UpGlyph()->Width(), 9);
  EXPECT_EQ(b->DownGlyph()->Height(), 6);
  b->SetBounds(0, 0, 15, 21);
  EXPECT_EQ(b->UpButton()->BoundsRect(), Rect(0, 0, 15, 10));
  EXPECT_EQ(b->DownButton()->BoundsRect(), Rect(0, 9, 15, 21));
  b->SetDirection(spHorizontal);
  EXPECT_EQ(b->Width(), 20);
  EXPECT_EQ(b->DownButton()->BoundsRect(), Rect(0, 0, 10, 21));
  EXPECT_EQ(b->UpButton()->BoundsRect(), Rect(11, 0, 21, 21));
  EXPECT_EQ(b->UpButton()->Direction(), taRightArrow);
  TBitmap mine;
  mine.SetSize(4, 4);
  b->SetUpGlyph(&mine);
  b->SetUpNumGlyphs(2);
  b->SetUpGlyph(nullptr);
  EXPECT_EQ(b->UpGlyph()->Width(), 9);
  EXPECT_EQ(b->UpNumGlyphs(), 1);
}

TEST_F(Spin, SpinButtonKeysClickTheFocusedButton) {
  TPsgSpinButton* b = E->Button();
  std::vector<std::string> clicks;
  b->OnUpClick = [&](TObject* s) { clicks.push_back(s == b ? "up" : "?"); };
  b->OnDownClick = [&](TObject* s) { clicks.push_back(s == b ? "down" : "?"); };
  EXPECT_EQ(b->Perform(WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);
  EXPECT_EQ(b->FocusedButton(), b->UpButton());
  b->Perform(WM_KEYDOWN, VK_SPACE, 0);
  b->Perform(WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(b->FocusedButton(), b->DownButton());
  b->Perform(WM_KEYDOWN, VK_SPACE, 0);
  b->Perform(WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(clicks, (std::vector<std::string>{"up", "down", "down", "up"}));
}

TEST_F(Spin, ButtonSitsInTheEditAndShortEditsGrow) {
  E->SetWidth(130);
  EXPECT_EQ(E->Button()->Left(), 130 - 15 - 5);
  EXPECT_EQ(E->GetRect().Right, E->ClientWidth() - 15 - 2);
  EXPECT_EQ(E->GetRect().Left, 0);
  E->SetHeight(4);
  EXPECT_EQ(E->Height(), E->GetMinHeight());
}

}  // namespace

namespace {

TEST_F(Spin, StoredEditsComeBackWithTheirValues) {
  E->SetMaxValue(500);
  E->SetValue(250);
  E->SetName("Whole");
  const std::string whole = ComponentToText(E);
  EXPECT_EQ(whole.find("TPsgSpinButton"), std::string::npos) << whole;  // no children stored
  EXPECT_EQ(whole.find(" FloatValue ="), std::string::npos) << whole;  // only the value of its type

  auto* copy = new TPsgSpinEdit(Form);
  copy->SetParent(Form);
  TextToComponent(whole, copy);
  EXPECT_EQ(copy->TControl::Text(), "250");
  EXPECT_EQ(copy->MaxValue(), 500);

  auto* date = new TPsgSpinEdit(Form);
  date->SetParent(Form);
  date->SetName("Day");
  date->SetSpinType(sptDate);
  date->SetDateValue(EncodeDate(2007, 2, 28));
  const std::string stored = ComponentToText(date);
  auto* back = new TPsgSpinEdit(Form);
  back->SetParent(Form);
  TextToComponent(stored, back);
  EXPECT_EQ(back->SpinType(), sptDate);
  EXPECT_EQ(back->TControl::Text(), "28/02/2007");
}

}  // namespace
