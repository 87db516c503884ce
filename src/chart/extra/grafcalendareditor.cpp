#include "chart/extra/grafcalendareditor.h"

#include <string>

#include "chart/editor/editorbuild.h"
#include "chart/extra/grafcalendar.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TCalendarSeriesEditor, TForm)

namespace {
const char* const kCellSheets[6] = {"Days", "Weekdays", "Today", "Sunday", "Trailing", "Months"};
}  // namespace

TCalendarSeriesEditor::TCalendarSeriesEditor(TComponent* AOwner) : TForm(AOwner) {
  SetClientWidth(300);
  SetClientHeight(260);
  PageControl1 = Make<TPageControl>(this, this, "PageControl1", 0, 0, 300, 260);
  PageControl1->SetAlign(alClient);
  PageControl1->SetHotTrack(true);
  TabOptions = new TTabSheet(this);
  TabOptions->SetName("TabSheet1");
  TabOptions->SetCaption("Options");
  TabOptions->SetPageControl(PageControl1);
  for (int i = 0; i < 6; ++i) {
    auto* sheet = new TTabSheet(this);
    sheet->SetName("TabSheet" + std::to_string(i + 2));
    sheet->SetCaption(kCellSheets[i]);
    sheet->SetPageControl(PageControl1);
    const std::string name = "PageControl" + std::to_string(i + 2);
    FCellPages[i] = Make<TPageControl>(this, sheet, name.c_str(), 0, 0, 290, 230);
    FCellPages[i]->SetAlign(alClient);
    FCellPages[i]->SetHotTrack(true);
  }
  ButtonPen1 = Make<TButtonPen>(this, TabOptions, "ButtonPen1", 8, 8, 89, 25, "&Lines...");
  CBWeekDays = Make<TCheckBox>(this, TabOptions, "CBWeekDays", 8, 44, 130, 17, "Show &Weekdays");
  CBWeekUpper = Make<TCheckBox>(this, TabOptions, "CBWeekUpper", 150, 44, 120, 17, "&Uppercase");
  CBTrailing = Make<TCheckBox>(this, TabOptions, "CBTrailing", 8, 68, 130, 17, "&Trailing days");
  CBToday = Make<TCheckBox>(this, TabOptions, "CBToday", 8, 92, 130, 17, "Show T&oday");
  CBMonths = Make<TCheckBox>(this, TabOptions, "CBMonths", 8, 116, 130, 17, "Show &Months");
  CBMonthUpper = Make<TCheckBox>(this, TabOptions, "CBMonthUpper", 150, 116, 120, 17, "U&ppercase");
  CBPrevious = Make<TCheckBox>(this, TabOptions, "CBPrevious", 8, 148, 180, 17, "Show Pr&evious Button");
  CBNext = Make<TCheckBox>(this, TabOptions, "CBNext", 8, 172, 180, 17, "Show Ne&xt Button");

  CBWeekDays->OnClick = [this](TObject* s) { CBWeekDaysClick(s); };
  CBWeekUpper->OnClick = [this](TObject* s) { CBWeekUpperClick(s); };
  CBTrailing->OnClick = [this](TObject* s) { CBTrailingClick(s); };
  CBToday->OnClick = [this](TObject* s) { CBTodayClick(s); };
  CBMonths->OnClick = [this](TObject* s) { CBMonthsClick(s); };
  CBMonthUpper->OnClick = [this](TObject* s) { CBMonthUpperClick(s); };
  CBPrevious->OnClick = [this](TObject* s) { CBPreviousClick(s); };
  CBNext->OnClick = [this](TObject* s) { CBNextClick(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  SetAlign(alClient);
}

void TCalendarSeriesEditor::FormShow(TObject*) {
  Series = dynamic_cast<TCalendarSeries*>(reinterpret_cast<TObject*>(Tag()));
  if (!Series) return;
  FLoading = true;
  TGrafCustomShape* const cells[6] = {Series->Days(),   Series->WeekDays(), Series->Today(),
                                      Series->Sunday(), Series->Trailing(), Series->Months()};
  for (int i = 0; i < 6; ++i) {
    if (!FCellEditors[i]) FCellEditors[i] = EmbedShapeEditor(FCellPages[i], cells[i]);
    else FCellEditors[i]->BindShape(cells[i]);
  }
  ButtonPen1->LinkPen(Series->Pen());
  CBWeekDays->SetChecked(Series->WeekDays()->Visible());
  CBWeekUpper->SetChecked(Series->WeekDays()->UpperCase());
  CBTrailing->SetChecked(Series->Trailing()->Visible());
  CBToday->SetChecked(Series->Today()->Visible());
  CBMonths->SetChecked(Series->Months()->Visible());
  CBMonthUpper->SetChecked(Series->Months()->UpperCase());
  CBPrevious->SetChecked(Series->PreviousButtonVisible());
  CBNext->SetChecked(Series->NextButtonVisible());
  PageControl1->SetActivePage(TabOptions);
  FLoading = false;
}

void TCalendarSeriesEditor::CBWeekDaysClick(TObject*) {
  if (!FLoading && Series) Series->WeekDays()->SetVisible(CBWeekDays->Checked());
}

void TCalendarSeriesEditor::CBWeekUpperClick(TObject*) {
  if (!FLoading && Series) Series->WeekDays()->SetUpperCase(CBWeekUpper->Checked());
}

void TCalendarSeriesEditor::CBTrailingClick(TObject*) {
  if (!FLoading && Series) Series->Trailing()->SetVisible(CBTrailing->Checked());
}

void TCalendarSeriesEditor::CBTodayClick(TObject*) {
  if (!FLoading && Series) Series->Today()->SetVisible(CBToday->Checked());
}

void TCalendarSeriesEditor::CBMonthsClick(TObject*) {
  if (!FLoading && Series) Series->Months()->SetVisible(CBMonths->Checked());
}

void TCalendarSeriesEditor::CBMonthUpperClick(TObject*) {
  if (!FLoading && Series) Series->Months()->SetUpperCase(CBMonthUpper->Checked());
}

void TCalendarSeriesEditor::CBPreviousClick(TObject*) {
  if (!FLoading && Series) Series->SetPreviousButtonVisible(CBPrevious->Checked());
}

void TCalendarSeriesEditor::CBNextClick(TObject*) {
  if (!FLoading && Series) Series->SetNextButtonVisible(CBNext->Checked());
}
