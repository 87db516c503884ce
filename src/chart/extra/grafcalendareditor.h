// The editor of the calendar series: grid lines, which header rows, days
// and buttons show, and one shape editor for each kind of cell.
#pragma once

#include "chart/editor/grafcustomshapeeditor.h"
#include "chart/editor/grafpendlg.h"
#include "platform/ui/pages.h"

class TCalendarSeries;

class TCalendarSeriesEditor : public TForm {
  ZV_CLASS(TCalendarSeriesEditor)
public:
  explicit TCalendarSeriesEditor(TComponent* AOwner);

  // The shape editor of a cell's sheet (0 Days ... 5 Months; nil before
  // the first showing).
  TFormGrafShape* CellEditor(int Index) const { return FCellEditors[Index]; }

protected:
  virtual void FormShow(TObject* Sender);
  virtual void CBWeekDaysClick(TObject* Sender);
  virtual void CBWeekUpperClick(TObject* Sender);
  virtual void CBTrailingClick(TObject* Sender);
  virtual void CBTodayClick(TObject* Sender);
  virtual void CBMonthsClick(TObject* Sender);
  virtual void CBMonthUpperClick(TObject* Sender);
  virtual void CBPreviousClick(TObject* Sender);
  virtual void CBNextClick(TObject* Sender);

  TPageControl* PageControl1;
  TTabSheet* TabOptions;
  TButtonPen* ButtonPen1;
  TCheckBox* CBWeekDays;
  TCheckBox* CBWeekUpper;
  TCheckBox* CBTrailing;
  TCheckBox* CBToday;
  TCheckBox* CBMonths;
  TCheckBox* CBMonthUpper;
  TCheckBox* CBPrevious;
  TCheckBox* CBNext;
  // PageControl2 .. PageControl7, one on each cell's sheet.
  TPageControl* FCellPages[6];
  TFormGrafShape* FCellEditors[6] = {};

  TCalendarSeries* Series = nullptr;
  bool FLoading = false;
};
