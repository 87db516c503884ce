// The date and time picker: a date (dtkDate) or a time of day (dtkTime) shown
// in fields laid out by a display format, stepped with Up and Down, typed
// digit by digit, and for dates in dmComboBox mode picked from a drop-down
// calendar.
//
// Display format: Format in FormatDateTime's notation (platform/rtl/
// datetime.h); empty means ShortDateFormat (dtkDate) or LongTimeFormat
// (dtkTime) of the layer's FormatSettings, read at each use. Text() (and the
// caption) is FormatDateTime of that format and the value with the layer's
// settings; the window shows the same fields in the same order with the same
// separators, with these approximations: month and day names (mmm, ddd,
// aaa ...) and the am/pm markers (ampm, a/p) are shown in English whatever
// the layer's names; z and zz show three digits; c always shows the time; a
// format without any field shows the fields of the kind's default format.
//
// Keys (typed, or sent as WM_KEYDOWN / WM_CHAR through the message path;
// OnKeyDown and OnKeyPress see them first and may clear them):
//   Up, Down        step the field under the caret by one, wrapping inside
//                   it (day 31 -> 1 in the same month); the day is cut to
//                   the month's length when the month or year changes
//   Left, Right, Home, End   previous, next, first, last field
//   digits          type into the field; it moves on to the next field once
//                   full (the year after four digits, yy after two, read in
//                   the hundred years that StrToDate uses)
//   a separator     moves on to the next field
//   a, p            morning or afternoon in an am/pm field
//   Space           toggles the check box (ShowCheckbox)
//   F4, Alt+Down, Alt+Up   open the calendar (dtkDate, dmComboBox, showing)
//   PgUp, PgDn, Backspace, Delete   nothing
// While the calendar is open (DroppedDown), keys typed in it reach the
// picker's message path too: Left/Right (a day), Up/Down (a week), PgUp/PgDn
// (a month, with Ctrl a year) and Home/End (the month's first and last day)
// move the calendar's day, Enter takes that day and closes, Escape, F4,
// Alt+Up and Alt+Down close without a change; characters do nothing. A
// click on a day takes it. The calendar also closes, without a change, on a
// click outside it, when the picker is hidden or disabled, and when the
// focus moves on. Its taking the keyboard is no focus change for the
// picker (no WM_KILLFOCUS).
// While the check box is cleared the fields neither step nor take digits; a
// day taken from the calendar sets it again.
//
// Events: OnChange fires for a change by the user (keys, the calendar, the
// mouse wheel or the arrows, the check box), never for a value or check
// state set from code, as the class library does. Taking a day from the
// calendar closes it, then fires OnChange (when the value changed), then
// OnCloseUp. OnDropDown fires before the calendar shows.
//
// Non-client painting: after the window has drawn itself (its frame
// included) the picker performs WM_NCPAINT; while it is handled NCCanvas()
// is a canvas over the whole window, origin at its outer top-left corner,
// so that a descendant's WndProc or WMNCPaint can draw over the border. A
// WM_NCPAINT sent from code only asks for that painting again.
//
// Values are clamped to 0100-01-01 .. 9999-12-31 23:59:59.999.
#pragma once

#include <memory>
#include <string>

#include "platform/rtl/datetime.h"
#include "platform/ui/controls.h"

enum TDateTimeKind { dtkDate, dtkTime };
enum TDTDateMode { dmComboBox, dmUpDown };

struct TDateTimePickerPopup;

class TDateTimePicker : public TWinControl {
  ZV_CLASS(TDateTimePicker)
public:
  explicit TDateTimePicker(TComponent* AOwner);
  ~TDateTimePicker() override;

  TDateTimeKind Kind() const { return FKind; }
  void SetKind(TDateTimeKind v);
  TDTDateMode DateMode() const { return FDateMode; }
  void SetDateMode(TDTDateMode v);
  // Starts as the current date and time, as in the class library.
  TDateTime DateTime() const { return FDateTime; }
  // A value that is not a number raises EConvertError and changes nothing.
  void SetDateTime(TDateTime v);
  // The date part (time 00:00); setting it keeps the time of day.
  TDateTime Date() const;
  void SetDate(TDateTime v);
  // The time of day (date part 0); setting it keeps the date.
  TDateTime Time() const;
  void SetTime(TDateTime v);
  bool ShowCheckbox() const { return FShowCheckbox; }
  void SetShowCheckbox(bool v);
  // Always true without the check box.
  bool Checked() const { return !FShowCheckbox || FChecked; }
  void SetChecked(bool v);
  const std::string& Format() const { return FFormat; }
  void SetFormat(const std::string& v);
  // The format in use: Format, or the layer's default for the kind.
  std::string EffectiveFormat() const;
  // The displayed text, computed now (the caption holds the same text as of
  // the last change of the value, format or kind).
  std::string Text() const;
  // Reads the text with the layer's settings as a date (dtkDate, keeping
  // the time) or a time (dtkTime, keeping the date); text that is neither
  // raises EConvertError and changes nothing.
  void SetText(const std::string& v) override;
  // The text the window shows now (empty before it exists): the fields of
  // Text() with the approximations above.
  std::string WindowText() const;

  bool DroppedDown() const { return FDropped; }
  // Opens the calendar (dtkDate in dmComboBox mode, on a showing, enabled
  // picker) and closes it without a change.
  void DropDown();
  void CloseUp();
  // The canvas of the non-client painting, valid while WM_NCPAINT is being
  // handled inside it; nil otherwise.
  TCanvas* NCCanvas() const { return FNCCanvas; }

  TNotifyEvent OnChange;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;

protected:
  friend struct TDateTimePickerAccess;
  void CreateWnd() override;
  bool CustomPainted() const override { return false; }
  void Dispatch(TMessage& M) override;
  void WMKeyDown(TMessage& M) override;
  void WMChar(TMessage& M) override;
  void WMKillFocus(TMessage& M) override;
  void CMExit(TMessage& M) override;
  void WMGetDlgCode(TMessage& M) override;
  virtual void WMNCPaint(TMessage& M);
  void CMEnabledChanged(TMessage& M) override;
  void CMVisibleChanged(TMessage& M) override;
  void PaintOverlay(TCanvas* Canvas) override;
  virtual void Change();

private:
  // The picker's own keys; true when the key was used.
  bool PickerKey(uint16_t Key, TShiftState Shift);
  bool CalendarKey(uint16_t Key, TShiftState Shift);
  void TypeDigit(int Digit);
  void TypeLetter(char Ch);
  // Steps the field under the caret (the window's arrows and wheel too).
  void StepField(int Steps);
  void MoveField(int Index);
  // A change by the user: a new value and/or check state, then OnChange.
  void UserChange(TDateTime Value, bool CheckedAfter);
  // The picked day with the time kept, from the calendar; closes it.
  void TakeDay(int Year, int Month, int Day);
  // Brings the window and the caption in line with the fields.
  void UpdateWindow();
  void SyncText();
  bool CanDropDown() const;
  bool FieldsLocked() const { return FShowCheckbox && !FChecked; }

  TDateTimeKind FKind = dtkDate;
  TDTDateMode FDateMode = dmComboBox;
  TDateTime FDateTime = 0;
  bool FShowCheckbox = false;
  bool FChecked = true;
  std::string FFormat;
  bool FDropped = false;
  // Digits typed so far into the field of that index.
  std::string FTyped;
  int FTypedField = -1;
  TCanvas* FNCCanvas = nullptr;
  std::unique_ptr<TDateTimePickerPopup> FPopup;
};
