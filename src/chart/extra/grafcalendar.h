// The calendar series: a one-month calendar filling the chart's axis area
// (month title, weekday header, six rows of day cells), with previous and
// next month buttons, a month menu on the title and dates picked by click.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "chart/core/grengine.h"
#include "platform/rtl/datetime.h"

class TCalendarSeries;
class TSpeedButton;

// The look of one kind of cell.
class TCalendarCell : public TGrafShape {
  ZV_CLASS(TCalendarCell)
public:
  explicit TCalendarCell(TCalendarSeries* Series = nullptr);
  TCalendarSeries* Series() const { return FSeries; }

private:
  TCalendarSeries* FSeries;
};

// A header cell: its text is a date in Format, optionally in upper case.
class TCalendarCellUpper : public TCalendarCell {
  ZV_CLASS(TCalendarCellUpper)
public:
  explicit TCalendarCellUpper(TCalendarSeries* Series = nullptr) : TCalendarCell(Series) {}
  void Assign(TPersistent* Source) override;
  const std::string& Format() const { return FFormat; }
  void SetFormat(const std::string& Value);
  bool UpperCase() const { return FUpperCase; }
  void SetUpperCase(bool Value);
  // The date in Format (upper case when set).
  std::string DateText(TDateTime Date) const;
  std::string FormatDefault;

private:
  std::string FFormat;
  bool FUpperCase = false;
};

using TCalendarChangeEvent = std::function<void(TCalendarSeries* Sender, TDateTime& Value)>;

class TCalendarSeries : public TChartSeries, public IPanelEventListener {
  ZV_CLASS(TCalendarSeries)
public:
  explicit TCalendarSeries(TComponent* AOwner = nullptr);
  ~TCalendarSeries() override;

  std::string EditorFormClassName() const override { return "TCalendarSeriesEditor"; }
  void SetActive(bool Value) override;
  void SetParentChart(TCustomAxisPanel* Value) override;
  void DrawVisiblePoints() override;
  void DrawPoint(int) override {}
  int IndexAtPoint(int X, int Y) override;
  void GenerateRandomPoints(int Count, bool MainValuesOnly) override;
  void SetupGalleryPreview(bool Enabled) override;
  void HandlePanelEvent(TGrafEvent* Event) override;

  // ---- Properties ----
  TDateTime Date() const { return FDate; }
  // OnChange may alter or cancel (by giving Date back) the new date.
  void SetDate(TDateTime Value);
  TCalendarCell* Days() const { return FDays.get(); }
  void SetDays(TCalendarCell* Value) { FDays->Assign(Value); }
  TCalendarCellUpper* Months() const { return FMonths.get(); }
  void SetMonths(TCalendarCellUpper* Value) { FMonths->Assign(Value); }
  TCalendarCell* Sunday() const { return FSunday.get(); }
  void SetSunday(TCalendarCell* Value) { FSunday->Assign(Value); }
  TCalendarCell* Today() const { return FToday.get(); }
  void SetToday(TCalendarCell* Value) { FToday->Assign(Value); }
  TCalendarCell* Trailing() const { return FTrailing.get(); }
  void SetTrailing(TCalendarCell* Value) { FTrailing->Assign(Value); }
  TCalendarCellUpper* WeekDays() const { return FWeekDays.get(); }
  void SetWeekDays(TCalendarCellUpper* Value) { FWeekDays->Assign(Value); }
  // Reading or writing these creates the button.
  bool NextButtonVisible();
  void SetNextButtonVisible(bool Value);
  bool PreviousButtonVisible();
  void SetPreviousButtonVisible(bool Value);
  TCalendarChangeEvent OnChange;

  // ---- Layout ----
  // 0 = Monday ... 6 = Sunday, from the locale when the series was made.
  int FirstDayOfWeek = 0;
  int Columns() const { return 7; }
  // 8 rows less one each for a hidden weekday header and month title.
  int Rows() const;
  int ColumnX(double Column);
  int RowY(double Row);
  // Column and row (from 1) of the month's first day, from the last paint.
  int FirstColumn = 1;
  int FirstRow = 3;
  // The column of the month's first day for a date (1..7).
  int FirstColumnOf(TDateTime Date) const;
  // The rectangle of the day grid (below the header rows).
  TRect GridRect();
  TRect MonthsBox();
  // The date of a grid point; false for a header row or a trailing day
  // while trailing days are hidden.
  bool DateAtPoint(int X, int Y, TDateTime& Date);
  // The month menu at a screen point: the chosen month replaces Date's.
  void PopupMonthMenu(int ScreenX, int ScreenY);
  TSpeedButton* PreviousButton();
  TSpeedButton* NextButton();

private:
  void DrawCell(TCalendarCell* Cell, int Column, int Row, const std::string& Text);
  void DrawCellText(TCalendarCell* Cell, int X, int Y, const std::string& Text);
  void FreeButtons();
  TSpeedButton* EnsureButton(std::unique_ptr<TSpeedButton>& Button, bool Next);
  void AxisArea(int& HStart, int& HSize, int& VStart, int& VSize) const;

  TDateTime FDate = 0;
  std::unique_ptr<TCalendarCell> FDays;
  std::unique_ptr<TCalendarCellUpper> FMonths;
  std::unique_ptr<TCalendarCell> FSunday;
  std::unique_ptr<TCalendarCell> FToday;
  std::unique_ptr<TCalendarCell> FTrailing;
  std::unique_ptr<TCalendarCellUpper> FWeekDays;
  std::unique_ptr<TSpeedButton> FPrevious;
  std::unique_ptr<TSpeedButton> FNext;
  uintptr_t FMonthMenu = 0;
  TCustomAxisPanel* FListenedChart = nullptr;
};
