// The calendar series: layout, drawing, date picking, the month menu and
// the month buttons.
#include "chart/extra/grafcalendar.h"

#include <algorithm>
#include <cmath>

#include "chart/core/chart.h"
#include "chart/core/grafconst.h"
#include "platform/rtl/formatsettings.h"
#include "platform/rtl/strutils.h"
#include "platform/ui/buttons.h"
#include "platform/ui/popupmenus.h"

namespace {

int Nearest(double v) { return static_cast<int>(std::nearbyint(v)); }

}  // namespace

// ============================================================================
// Cells

ZV_CLASS_IMPL(TCalendarCell, TGrafShape)

void TCalendarCell::DeclareProperties(TClassInfo& c) {
  using S = TCalendarCell;
  c.Object<S, TChartBrush>("Brush", &S::Brush, &S::SetBrush);
  c.Object<S, TChartPen>("Pen", &S::Pen, &S::SetPen);
  c.Integer<S>("Transparency", &S::Transparency, &S::SetTransparency, 0);
  c.Boolean<S>("Visible", &S::Visible, &S::SetVisible, true);
}

TCalendarCell::TCalendarCell(TCalendarSeries* Series)
    : TGrafShape(Series ? Series->ParentChart() : nullptr), FSeries(Series) {}

ZV_CLASS_IMPL(TCalendarCellUpper, TCalendarCell)

void TCalendarCellUpper::DeclareProperties(TClassInfo& c) {
  using S = TCalendarCellUpper;
  c.String<S>("Format", &S::Format, &S::SetFormat).WithStored([](TObject* o) {
    auto* s = static_cast<S*>(o);
    return s->Format() != s->FormatDefault;
  });
  c.Boolean<S>("UpperCase", &S::UpperCase, &S::SetUpperCase, false);
}

void TCalendarCellUpper::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TCalendarCellUpper*>(Source)) {
    FFormat = s->FFormat;
    FUpperCase = s->FUpperCase;
  }
  TCalendarCell::Assign(Source);
}

void TCalendarCellUpper::SetFormat(const std::string& Value) {
  if (FFormat == Value) return;
  FFormat = Value;
  Repaint();
}

void TCalendarCellUpper::SetUpperCase(bool Value) {
  if (FUpperCase == Value) return;
  FUpperCase = Value;
  Repaint();
}

std::string TCalendarCellUpper::DateText(TDateTime Date) const {
  const std::string text = FormatDateTime(FFormat, Date);
  return FUpperCase ? AnsiUpperCase(text) : text;
}

// ============================================================================
// TCalendarSeries

ZV_CLASS_IMPL(TCalendarSeries, TChartSeries)

void TCalendarSeries::DeclareProperties(TClassInfo& c) {
  using S = TCalendarSeries;
  c.Float<S>("Date", ftDateTime, &S::Date, &S::SetDate);
  c.Object<S, TCalendarCell>("Days", &S::Days, &S::SetDays);
  c.Object<S, TCalendarCellUpper>("Months", &S::Months, &S::SetMonths);
  c.Boolean<S>("NextButtonVisible", &S::NextButtonVisible, &S::SetNextButtonVisible, true);
  c.Object<S, TChartPen>("Pen", &S::Pen, [](S* s, TChartPen* p) { s->SetPen(p); });
  c.Boolean<S>("PreviousButtonVisible", &S::PreviousButtonVisible, &S::SetPreviousButtonVisible, true);
  c.Object<S, TCalendarCell>("Sunday", &S::Sunday, &S::SetSunday);
  c.Object<S, TCalendarCell>("Today", &S::Today, &S::SetToday);
  c.Object<S, TCalendarCell>("Trailing", &S::Trailing, &S::SetTrailing);
  c.Object<S, TCalendarCellUpper>("WeekDays", &S::WeekDays, &S::SetWeekDays);
  c.Method<S, TCalendarChangeEvent>("OnChange", [](S* s) { return s->OnChange; },
                                    [](S* s, const TCalendarChangeEvent& e) { s->OnChange = e; });
}

TCalendarSeries::TCalendarSeries(TComponent* AOwner) : TChartSeries(AOwner) {
  FDate = ::Date();
  FirstDayOfWeek = LocaleFirstDayOfWeek();
  FDays = std::make_unique<TCalendarCell>(this);
  FDays->SetTransparent(true);
  FMonths = std::make_unique<TCalendarCellUpper>(this);
  FMonths->SetTransparent(true);
  FMonths->FormatDefault = "mmmm, yyyy";
  FMonths->SetFormat("mmmm, yyyy");
  FSunday = std::make_unique<TCalendarCell>(this);
  FSunday->SetColor(clRed);
  FSunday->Font()->SetColor(clWhite);
  FSunday->Shadow()->SetUniformSize(0);
  FToday = std::make_unique<TCalendarCell>(this);
  FToday->SetColor(clBlue);
  FToday->Font()->SetColor(clWhite);
  FToday->Shadow()->SetUniformSize(0);
  FTrailing = std::make_unique<TCalendarCell>(this);
  FTrailing->SetTransparent(true);
  FTrailing->Font()->SetColor(RGB(128, 128, 128));
  FWeekDays = std::make_unique<TCalendarCellUpper>(this);
  FWeekDays->Pen()->SetVisible(false);
  FWeekDays->FormatDefault = "ddd";
  FWeekDays->SetFormat("ddd");
  FShowInLegend = false;
  CalcVisibleRange = false;
  AddBlankValue();
}

TCalendarSeries::~TCalendarSeries() {
  FreeButtons();
  if (FListenedChart) FListenedChart->RemoveListener(this);
  FListenedChart = nullptr;
  if (FMonthMenu) DestroyMenu(FMonthMenu);
  if (FParentChart) TChartSeries::SetParentChart(nullptr);
}

// ---- Date --------------------------------------------------------------------------------------

void TCalendarSeries::SetDate(TDateTime Value) {
  if (Value == FDate) return;
  if (OnChange) OnChange(this, Value);
  if (Value == FDate) return;
  FDate = Value;
  RequestRedraw();
}

// ---- Buttons and chart ---------------------------------------------------------------------------

TSpeedButton* TCalendarSeries::EnsureButton(std::unique_ptr<TSpeedButton>& Button, bool Next) {
  if (!Button) {
    Button = std::make_unique<TSpeedButton>(nullptr);
    Button->SetFlat(true);
    Button->SetCaption(Next ? ">" : "<");
    Button->SetBounds(Next ? 30 : 6, 6, 22, 22);
    Button->OnClick = [this, Next](TObject*) { SetDate(IncMonth(FDate, Next ? 1 : -1)); };
    Button->SetVisible(FActive);
    if (FParentChart) Button->SetParent(FParentChart);
  }
  return Button.get();
}

TSpeedButton* TCalendarSeries::PreviousButton() { return EnsureButton(FPrevious, false); }
TSpeedButton* TCalendarSeries::NextButton() { return EnsureButton(FNext, true); }

bool TCalendarSeries::NextButtonVisible() { return NextButton()->Visible(); }
void TCalendarSeries::SetNextButtonVisible(bool Value) { NextButton()->SetVisible(Value); }
bool TCalendarSeries::PreviousButtonVisible() { return PreviousButton()->Visible(); }
void TCalendarSeries::SetPreviousButtonVisible(bool Value) { PreviousButton()->SetVisible(Value); }

void TCalendarSeries::FreeButtons() {
  // A chart going away has freed its child controls already.
  const bool gone = FParentChart && FParentChart->ComponentState().Contains(csDestroying);
  for (auto* b : {&FPrevious, &FNext}) {
    if (gone && (*b) && (*b)->Parent() == FParentChart) (void)b->release();
    b->reset();
  }
}

void TCalendarSeries::SetActive(bool Value) {
  TChartSeries::SetActive(Value);
  if (FPrevious) FPrevious->SetVisible(Value);
  if (FNext) FNext->SetVisible(Value);
}

void TCalendarSeries::SetParentChart(TCustomAxisPanel* Value) {
  if (Value == FParentChart) {
    TChartSeries::SetParentChart(Value);
    return;
  }
  if (FListenedChart) FListenedChart->RemoveListener(this);
  FListenedChart = nullptr;
  const bool previous = !FPrevious || FPrevious->Visible();
  const bool next = !FNext || FNext->Visible();
  FreeButtons();
  TChartSeries::SetParentChart(Value);
  if (!ComponentState().Contains(csDestroying))
    for (TCalendarCell* c : {FDays.get(), static_cast<TCalendarCell*>(FMonths.get()), FSunday.get(), FToday.get(),
                             FTrailing.get(), static_cast<TCalendarCell*>(FWeekDays.get())})
      c->AttachToPanel(Value);
  if (!FParentChart) return;
  FParentChart->Listeners()->AddListener(this);
  FListenedChart = FParentChart;
  PreviousButton()->SetVisible(previous && FActive);
  NextButton()->SetVisible(next && FActive);
}

// ---- Layout ------------------------------------------------------------------------------------

int TCalendarSeries::Rows() const { return 8 - (FWeekDays->Visible() ? 0 : 1) - (FMonths->Visible() ? 0 : 1); }

void TCalendarSeries::AxisArea(int& HStart, int& HSize, int& VStart, int& VSize) const {
  HStart = FHorizAxisInUse ? FHorizAxisInUse->StartPixel : 0;
  HSize = FHorizAxisInUse ? FHorizAxisInUse->AxisLength : 0;
  VStart = FVertAxisInUse ? FVertAxisInUse->StartPixel : 0;
  VSize = FVertAxisInUse ? FVertAxisInUse->AxisLength : 0;
}

int TCalendarSeries::ColumnX(double Column) {
  int hs, hz, vs, vz;
  AxisArea(hs, hz, vs, vz);
  return Nearest(hz * Column / 7) + hs;
}

int TCalendarSeries::RowY(double Row) {
  int hs, hz, vs, vz;
  AxisArea(hs, hz, vs, vz);
  return Nearest(vz * Row / Rows()) + vs;
}

int TCalendarSeries::FirstColumnOf(TDateTime Date) const {
  int y, m, d;
  DecodeDate(Date, y, m, d);
  const int weekday = DayOfWeek(EncodeDate(y, m, 1));
  const int p = weekday == 1 ? 7 : weekday - 1;
  return ((p - FirstDayOfWeek + 6) % 7) + 1;
}

TRect TCalendarSeries::GridRect() {
  int hs, hz, vs, vz;
  AxisArea(hs, hz, vs, vz);
  TRect r = Rect(hs, vs, hs + hz, vs + vz);
  const int row = Nearest(vz / 8.0);
  if (FWeekDays->Visible()) r.Top += row;
  if (FMonths->Visible()) r.Top += row;
  return r;
}

TRect TCalendarSeries::MonthsBox() {
  int hs, hz, vs, vz;
  AxisArea(hs, hz, vs, vz);
  return Rect(hs, vs - 1, hs + hz, RowY(1) - 1);
}

// ---- Drawing -----------------------------------------------------------------------------------

void TCalendarSeries::DrawCellText(TCalendarCell* Cell, int X, int Y, const std::string& Text) {
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  canvas->ApplyFont(Cell->Font());
  canvas->SetBackgroundMode(TRANSPARENT);
  canvas->SetTextAlignment(TA_CENTER);
  canvas->TextOut3D(X, Y - canvas->TextHeight("W") / 2, StartZ, Text);
}

void TCalendarSeries::DrawCell(TCalendarCell* Cell, int Column, int Row, const std::string& Text) {
  if (!Cell->Visible()) return;
  TRect r = Rect(ColumnX(Column - 1) + 1, RowY(Row - 1) + 1, ColumnX(Column) - 1, RowY(Row) - 1);
  if (TGrafShadow* s = Cell->Shadow()) {
    r.Right -= std::max(0, s->HorizSize() - 1);
    r.Bottom -= std::max(0, s->VertSize() - 1);
  }
  Cell->ShapeBox = r;
  Cell->PaintRotated(r, 0, StartZ);
  DrawCellText(Cell, ColumnX(Column - 0.5), RowY(Row - 0.5), Text);
}

void TCalendarSeries::DrawVisiblePoints() {
  if (!FParentChart) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  int year, month, day;
  DecodeDate(FDate, year, month, day);
  const int rows = Rows();
  if (FWeekDays->Visible()) {
    const int row = FMonths->Visible() ? 2 : 1;
    for (int p = 1; p <= 7; ++p)
      DrawCell(FWeekDays.get(), p, row, FWeekDays->DateText(EncodeDate(1899, 1, p + FirstDayOfWeek + 1)));
  }
  if (FMonths->Visible()) {
    const TRect box = MonthsBox();
    FMonths->ShapeBox = box;
    FMonths->PaintRotated(box, 0, StartZ);
    DrawCellText(FMonths.get(), ColumnX(3.5), RowY(0.5), FMonths->DateText(FDate));
  }
  int p = FirstColumnOf(FDate);
  int q = 3 - (FWeekDays->Visible() ? 0 : 1) - (FMonths->Visible() ? 0 : 1);
  FirstColumn = p;
  FirstRow = q;
  const int prevYear = month == 1 ? year - 1 : year, prevMonth = month == 1 ? 12 : month - 1;
  const int prevDays = DaysInAMonth(prevYear, prevMonth);
  if (FTrailing->Visible())
    for (int c = 1; c < p; ++c) DrawCell(FTrailing.get(), c, q, IntToStr(prevDays - (p - 1) + c));
  const int days = DaysInAMonth(year, month);
  for (int d = 1; d <= days; ++d) {
    TCalendarCell* cell;
    if (d == day && FToday->Visible()) cell = FToday.get();
    else if (DayOfWeek(EncodeDate(year, month, d)) == 1) cell = FSunday.get();
    else cell = FDays.get();
    DrawCell(cell, p, q, IntToStr(d));
    if (++p > 7) {
      p = 1;
      ++q;
    }
  }
  if (FTrailing->Visible()) {
    int next = 1;
    while (q <= rows) {
      DrawCell(FTrailing.get(), p, q, IntToStr(next++));
      if (++p > 7) {
        p = 1;
        ++q;
      }
    }
  }
  if (Pen()->Visible()) {
    canvas->ApplyPen(Pen());
    int hs, hz, vs, vz;
    AxisArea(hs, hz, vs, vz);
    const int header = (FWeekDays->Visible() ? 1 : 0) + (FMonths->Visible() ? 1 : 0);
    const bool is3D = FParentChart->View3D();
    for (int c = 0; c <= 7; ++c) {
      const int x = ColumnX(c);
      if (is3D) canvas->VerticalLine3D(x, RowY(header), vs + vz, StartZ);
      else canvas->LineFromTo(x, RowY(header), x, vs + vz);
    }
    for (int r = header; r <= rows; ++r) {
      const int y = RowY(r);
      if (is3D) canvas->HorizontalLine3D(hs, hs + hz, y, StartZ);
      else canvas->LineFromTo(hs, y, hs + hz, y);
    }
  }
}

// ---- Mouse -------------------------------------------------------------------------------------

int TCalendarSeries::IndexAtPoint(int X, int Y) {
  if (!FActive || !FParentChart) return -1;
  const TRect r = GridRect();
  return X >= r.Left && X < r.Right && Y >= r.Top && Y < r.Bottom ? 0 : -1;
}

bool TCalendarSeries::DateAtPoint(int X, int Y, TDateTime& Result) {
  int hs, hz, vs, vz;
  AxisArea(hs, hz, vs, vz);
  if (hz <= 0 || vz <= 0) return false;
  const int column = static_cast<int>(std::trunc((X - hs) / (hz / 7.0))) + 1;
  const int row = static_cast<int>(std::trunc((Y - vs) / (static_cast<double>(vz) / Rows()))) + 1;
  if (column < 1 || column > 7 || row < FirstRow || row > Rows()) return false;
  int year, month, day;
  DecodeDate(FDate, year, month, day);
  const int days = DaysInAMonth(year, month);
  int d = column + 7 * (row - FirstRow) - FirstColumn + 1;
  if (d < 1) {
    if (!FTrailing->Visible()) return false;
    const int py = month == 1 ? year - 1 : year, pm = month == 1 ? 12 : month - 1;
    Result = EncodeDate(py, pm, d + DaysInAMonth(py, pm));
    return true;
  }
  if (d > days) {
    if (!FTrailing->Visible()) return false;
    const int ny = month == 12 ? year + 1 : year, nm = month == 12 ? 1 : month + 1;
    d -= days;
    if (d > DaysInAMonth(ny, nm)) return false;
    Result = EncodeDate(ny, nm, d);
    return true;
  }
  Result = EncodeDate(year, month, d);
  return true;
}

void TCalendarSeries::PopupMonthMenu(int ScreenX, int ScreenY) {
  if (!FMonthMenu) {
    FMonthMenu = CreatePopupMenu();
    for (unsigned i = 0; i < 12; ++i) AppendMenu(FMonthMenu, MF_STRING, i + 1, FormatSettings.LongMonthNames[i]);
  }
  const int chosen = TrackPopupMenu(FMonthMenu, TPM_RETURNCMD, ScreenX, ScreenY, 0);
  if (chosen < 1 || chosen > 12) return;
  int year, month, day;
  DecodeDate(FDate, year, month, day);
  SetDate(EncodeDate(year, chosen, std::min(day, DaysInAMonth(year, chosen))) + (FDate - std::floor(FDate)));
}

void TCalendarSeries::HandlePanelEvent(TGrafEvent* Event) {
  auto* mouse = dynamic_cast<TGrafMouseEvent*>(Event);
  if (!mouse || mouse->Kind != pmeDown || mouse->Button != mbLeft || !FActive || !FParentChart) return;
  const TRect box = MonthsBox();
  if (FMonths->Visible() && mouse->X >= box.Left && mouse->X < box.Right && mouse->Y >= box.Top &&
      mouse->Y < box.Bottom) {
    const TPoint screen = FParentChart->ClientToScreen(Point(mouse->X, mouse->Y));
    PopupMonthMenu(screen.X, screen.Y);
    return;
  }
  if (IndexAtPoint(mouse->X, mouse->Y) < 0) return;
  TDateTime picked;
  if (DateAtPoint(mouse->X, mouse->Y, picked)) SetDate(picked);
}

// ---- Gallery -----------------------------------------------------------------------------------

// A calendar's data is its one null point.
void TCalendarSeries::GenerateRandomPoints(int, bool) {
  if (PointCount() == 0) AddBlankValue();
}

void TCalendarSeries::SetupGalleryPreview(bool Enabled) {
  TChartSeries::SetupGalleryPreview(Enabled);
  Pen()->SetVisible(false);
  for (TCalendarCell* c : {FDays.get(), FSunday.get(), FToday.get()}) c->Font()->SetSize(6);
  FWeekDays->Font()->SetSize(5);
  FWeekDays->Shadow()->SetUniformSize(0);
  FMonths->SetVisible(false);
  FTrailing->SetVisible(false);
  PreviousButton()->SetVisible(false);
  NextButton()->SetVisible(false);
}
