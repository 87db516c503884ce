#include "platform/ui/datetimepicker.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScreen>
#include <QStyleOption>
#include <QVBoxLayout>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <vector>

#include "platform/rtl/exceptions.h"
#include "platform/ui/qt_ui.h"

namespace {

// The widget has no dates before year 100; the rtl none after 9999.
constexpr int kMinYear = 100, kMaxYear = 9999;

// ---------------------------------------------------------------------------
// Values

struct TParts {
  int Year = 0, Month = 0, Day = 0, Hour = 0, Min = 0, Sec = 0, MSec = 0;
};

TParts Split(TDateTime v) {
  TParts p;
  DecodeDate(v, p.Year, p.Month, p.Day);
  DecodeTime(v, p.Hour, p.Min, p.Sec, p.MSec);
  return p;
}

// Before the origin the time counts forward from the (negative) day.
TDateTime Compose(TDateTime date, TDateTime time) { return date >= 0 ? date + time : date - time; }

TDateTime Join(const TParts& p) {
  return Compose(EncodeDate(p.Year, p.Month, p.Day), EncodeTime(p.Hour, p.Min, p.Sec, p.MSec));
}

// The parts as the rtl reads them (to the millisecond), exact again.
TDateTime DatePart(TDateTime v) {
  const TParts p = Split(v);
  return EncodeDate(p.Year, p.Month, p.Day);
}
TDateTime TimePart(TDateTime v) {
  const TParts p = Split(v);
  return EncodeTime(p.Hour, p.Min, p.Sec, p.MSec);
}

TDateTime Clamped(TDateTime v) {
  if (std::isnan(v)) throw EConvertError("Invalid date and time value");
  static const TDateTime lo = EncodeDate(kMinYear, 1, 1);
  static const TDateTime hi = Compose(EncodeDate(kMaxYear, 12, 31), EncodeTime(23, 59, 59, 999));
  // The day as the rtl reads it (the time rounded to milliseconds).
  const double day = std::trunc(std::nearbyint(std::clamp(v, -1e7, 1e7) * MSecsPerDay) / MSecsPerDay);
  if (day < lo) return lo;
  if (day > std::trunc(hi)) return hi;
  return v;
}

QDateTime ToQt(TDateTime v) {
  const TParts p = Split(v);
  return QDateTime(QDate(p.Year, p.Month, p.Day), QTime(p.Hour, p.Min, p.Sec, p.MSec), Qt::UTC);
}

int Wrapped(int v, int size) { return ((v % size) + size) % size; }

// The two-digit year in the hundred years StrToDate reads it in.
int FullYear(int twoDigits) {
  int y, m, d;
  DecodeDate(Now(), y, m, d);
  const int base = y - 50;
  int full = base - base % 100 + twoDigits;
  if (full < base) full += 100;
  return std::clamp(full, kMinYear, kMaxYear);
}

// ---------------------------------------------------------------------------
// The rtl's date-time pattern as the widget's display format

enum TFieldKind { fkDay, fkDayName, fkMonth, fkYear, fkHour, fkMinute, fkSecond, fkMSec, fkAmPm };

struct TField {
  TFieldKind Kind;
  int Digits;
  bool Hour12 = false;
};

struct TDisplayFormat {
  QString Qt;
  std::vector<TField> Fields;  // in the order of the widget's sections
};

// The widget's display format for a pattern: a section for each field,
// every text quoted.
TDisplayFormat Translate(const std::string& fmt) {
  TDisplayFormat out;
  auto section = [&out](const char* qt, TField field) {
    out.Qt += QLatin1String(qt);
    out.Fields.push_back(field);
  };
  for (const TDateTimeFormatPart& part : SplitDateTimeFormat(fmt.empty() ? std::string("c") : fmt, FormatSettings)) {
    const int c = part.Count;
    switch (part.Item) {
      case dfText: {
        QString text = ToQString(part.Text);
        text.replace(QLatin1Char('\''), QLatin1String("''"));
        out.Qt += QLatin1Char('\'') + text + QLatin1Char('\'');
        break;
      }
      case dfYear: section(c <= 2 ? "yy" : "yyyy", {fkYear, c <= 2 ? 2 : 4}); break;
      case dfMonth: section(c == 1 ? "M" : c == 2 ? "MM" : c == 3 ? "MMM" : "MMMM", {fkMonth, 2}); break;
      case dfDay: section(c == 1 ? "d" : "dd", {fkDay, 2}); break;
      case dfDayName: section(c == 3 ? "ddd" : "dddd", {fkDayName, 0}); break;
      case dfHour:
        section(part.Hour12 ? (c == 1 ? "h" : "hh") : (c == 1 ? "H" : "HH"), {fkHour, 2, part.Hour12});
        break;
      case dfMinute: section(c == 1 ? "m" : "mm", {fkMinute, 2}); break;
      case dfSecond: section(c == 1 ? "s" : "ss", {fkSecond, 2}); break;
      case dfMSec: section("zzz", {fkMSec, 3}); break;
      case dfAmPm:
        // Written in lower case: am/pm; otherwise AM/PM.
        section(part.Text.size() != 4 && part.Text[0] == 'a' ? "ap" : "AP", {fkAmPm, 0});
        break;
    }
  }
  return out;
}

// What the window shows: it cannot show a format without fields, so the
// kind's default (or a fixed one) stands in.
TDisplayFormat Shown(const TDateTimePicker* p) {
  const bool date = p->Kind() == dtkDate;
  TDisplayFormat f = Translate(p->EffectiveFormat());
  if (f.Fields.empty()) f = Translate(date ? FormatSettings.ShortDateFormat : FormatSettings.LongTimeFormat);
  if (f.Fields.empty()) f = Translate(date ? "yyyy/mm/dd" : "hh:nn:ss");
  return f;
}

}  // namespace

// ---------------------------------------------------------------------------
// The window-system side

// The picker's private members, for the widget and the calendar.
struct TDateTimePickerAccess {
  static void Step(TDateTimePicker* p, int steps) { p->StepField(steps); }
  static void ArrowPressed(TDateTimePicker* p) {
    if (p->FDropped) p->CloseUp();
    else p->DropDown();
  }
  static void CheckClicked(TDateTimePicker* p, bool on) { p->UserChange(p->FDateTime, on); }
  static bool Locked(const TDateTimePicker* p) { return p->FieldsLocked(); }
  static void Repaired(TDateTimePicker* p) { p->UpdateWindow(); }
  static void BeforePaint(TDateTimePicker* p);
  static void PopupHidden(TDateTimePicker* p) {
    if (!p->FDropped) return;
    p->FDropped = false;
    if (p->OnCloseUp) p->OnCloseUp(p);
  }
  static void DayClicked(TDateTimePicker* p, QDate d) { p->TakeDay(d.year(), d.month(), d.day()); }
};

namespace {

// The edit of the picker: shows the fields; the picker keeps the value and
// does the stepping, so the widget's own editing is switched off.
class TPickerEdit : public QDateTimeEdit {
public:
  TPickerEdit(TDateTimePicker* picker, std::shared_ptr<bool> alive) : FPicker(picker), FAlive(std::move(alive)) {
    setTimeSpec(Qt::UTC);  // no daylight-saving gaps
    setLocale(QLocale::c());
    SetFullRange();
    lineEdit()->setReadOnly(true);
    FNormalText = lineEdit()->palette().color(QPalette::Text);
    Check = new QCheckBox(this);
    Check->setFocusPolicy(Qt::NoFocus);
    Check->hide();
  }

  QCheckBox* Check;
  QString Applied;  // the display format last given, taken or not

  void ShowCheck(bool show, bool checked, bool locked) {
    {
      const QSignalBlocker block(Check);
      Check->setChecked(checked);
    }
    Check->setVisible(show);
    lineEdit()->setTextMargins(show ? Check->sizeHint().width() + 2 : 0, 0, 0, 0);
    QPalette pal = lineEdit()->palette();
    pal.setColor(QPalette::Text, locked ? pal.color(QPalette::Disabled, QPalette::Text) : FNormalText);
    lineEdit()->setPalette(pal);
    PlaceCheck();
  }

  void SetFullRange() {
    setDateTimeRange(QDateTime(QDate(kMinYear, 1, 1), QTime(0, 0), Qt::UTC),
                     QDateTime(QDate(kMaxYear, 12, 31), QTime(23, 59, 59, 999), Qt::UTC));
  }

  QRect ArrowRect() const {
    QStyleOptionComboBox opt;
    opt.initFrom(this);
    opt.editable = true;
    opt.frame = true;
    opt.subControls = QStyle::SC_All;
    return style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxArrow, this);
  }

  void stepBy(int steps) override {
    if (*FAlive) GuardEvent(FPicker, [&] { TDateTimePickerAccess::Step(FPicker, steps); });
  }

protected:
  StepEnabled stepEnabled() const override {
    return *FAlive && !TDateTimePickerAccess::Locked(FPicker) ? StepUpEnabled | StepDownEnabled : StepNone;
  }
  // Tab leaves the picker instead of walking its fields.
  bool focusNextPrevChild(bool next) override { return QWidget::focusNextPrevChild(next); }
  // The arrow opens the picker's calendar; the widget's own never shows.
  void mousePressEvent(QMouseEvent* e) override {
    if (calendarPopup() && e->button() == Qt::LeftButton && ArrowRect().contains(e->position().toPoint())) {
      e->accept();
      if (*FAlive) GuardEvent(FPicker, [this] { TDateTimePickerAccess::ArrowPressed(FPicker); });
      return;
    }
    QAbstractSpinBox::mousePressEvent(e);
  }
  void paintEvent(QPaintEvent* e) override {
    if (*FAlive) GuardEvent(FPicker, [this] { TDateTimePickerAccess::BeforePaint(FPicker); });
    QDateTimeEdit::paintEvent(e);
  }
  void resizeEvent(QResizeEvent* e) override {
    QDateTimeEdit::resizeEvent(e);
    PlaceCheck();
  }

private:
  void PlaceCheck() {
    const QSize s = Check->sizeHint();
    Check->setGeometry(3, (height() - s.height()) / 2, s.width(), s.height());
    Check->raise();
  }

  TDateTimePicker* FPicker;
  std::shared_ptr<bool> FAlive;
  QColor FNormalText;
};

TPickerEdit* EditOf(const TWinControl* c) {
  return c->Impl() ? dynamic_cast<TPickerEdit*>(c->Impl()->Widget.data()) : nullptr;
}

// Sends the keys typed in the calendar through the picker's message path,
// as if typed there, and reports the calendar closing by itself.
class TPopupFilter : public QObject {
public:
  TPopupFilter(TDateTimePicker* picker, QObject* parent) : QObject(parent), Picker(picker) {}
  TDateTimePicker* Picker;
  int InEvent = 0;  // a handler may free the picker, and with it the calendar

  // Runs f for the picker, counted as inside the calendar's events.
  template <class F>
  void Call(F f) {
    ++InEvent;
    GuardEvent(Picker, f);
    --InEvent;
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!Picker) return event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease;
    switch (event->type()) {
      case QEvent::KeyPress:
      case QEvent::KeyRelease: {
        TWinControlImpl* impl = Picker->Impl();
        QWidget* target = impl->Focus ? impl->Focus : impl->Widget.data();
        if (target) Call([target, event] { QApplication::sendEvent(target, event); });
        return true;
      }
      case QEvent::Hide:
        if (watched == parent()) Call([this] { TDateTimePickerAccess::PopupHidden(Picker); });
        return false;
      default: return false;
    }
  }
};

// Keeps the picker's window from hearing of the focus a pop-up (its calendar,
// a menu) takes for a moment: the class library sees no focus change there.
class TPopupFocusFilter : public QObject {
public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if ((event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) &&
        static_cast<QFocusEvent*>(event)->reason() == Qt::PopupFocusReason) {
      static_cast<QObject*>(watched)->event(event);  // the widget's own handling, past the bridge
      return true;
    }
    return false;
  }
};

}  // namespace

struct TDateTimePickerPopup {
  QPointer<QWidget> Window;
  QPointer<QCalendarWidget> Calendar;
  QPointer<TPopupFilter> Filter;

  ~TDateTimePickerPopup() {
    const bool inEvent = Filter && Filter->InEvent > 0;
    if (Filter) Filter->Picker = nullptr;
    if (!Window) return;
    if (inEvent) {
      // Freed from inside the calendar's own event: Qt still needs it.
      Window->hide();
      Window->deleteLater();
    } else {
      delete Window.data();
    }
  }
};

void TDateTimePickerAccess::BeforePaint(TDateTimePicker* p) {
  // The layer's formats may have changed since the window was set up.
  if (TPickerEdit* w = EditOf(p); w && w->Applied != Shown(p).Qt) {
    p->UpdateWindow();
    p->SyncText();
  }
}

// ---------------------------------------------------------------------------
// TDateTimePicker

ZV_CLASS_IMPL(TDateTimePicker, TWinControl)

void TDateTimePicker::DeclareProperties(TClassInfo& c) {
  static const TEnumInfo kinds{"TDateTimeKind", {"dtkDate", "dtkTime"}, 0};
  static const TEnumInfo modes{"TDTDateMode", {"dmComboBox", "dmUpDown"}, 0};
  c.Enum<TDateTimePicker>("Kind", kinds, &TDateTimePicker::Kind, &TDateTimePicker::SetKind, dtkDate);
  c.Enum<TDateTimePicker>("DateMode", modes, &TDateTimePicker::DateMode, &TDateTimePicker::SetDateMode, dmComboBox);
  c.Float<TDateTimePicker>("Date", ftDateTime, &TDateTimePicker::Date, &TDateTimePicker::SetDate);
  c.Float<TDateTimePicker>("Time", ftDateTime, &TDateTimePicker::Time, &TDateTimePicker::SetTime);
  c.Boolean<TDateTimePicker>("ShowCheckbox", &TDateTimePicker::ShowCheckbox, &TDateTimePicker::SetShowCheckbox, false);
  c.Boolean<TDateTimePicker>("Checked", &TDateTimePicker::Checked, &TDateTimePicker::SetChecked, true);
  c.String<TDateTimePicker>("Format", [](TDateTimePicker* o) { return o->Format(); }, &TDateTimePicker::SetFormat,
                            std::string());
  c.Method<TDateTimePicker, TNotifyEvent>("OnChange", [](TDateTimePicker* o) { return static_cast<bool>(o->OnChange); },
                                          [](TDateTimePicker* o, TNotifyEvent e) { o->OnChange = std::move(e); });
  c.Method<TDateTimePicker, TNotifyEvent>(
      "OnDropDown", [](TDateTimePicker* o) { return static_cast<bool>(o->OnDropDown); },
      [](TDateTimePicker* o, TNotifyEvent e) { o->OnDropDown = std::move(e); });
  c.Method<TDateTimePicker, TNotifyEvent>(
      "OnCloseUp", [](TDateTimePicker* o) { return static_cast<bool>(o->OnCloseUp); },
      [](TDateTimePicker* o, TNotifyEvent e) { o->OnCloseUp = std::move(e); });
}

TDateTimePicker::TDateTimePicker(TComponent* AOwner) : TWinControl(AOwner) {
  // The caption is the shown value, never stored.
  FControlStyle = {csClickEvents, csDoubleClicks};
  FWidth = 186;
  FHeight = 21;
  FColor = clWindow;
  FParentColor = false;
  FTabStop = true;
  FDateTime = Clamped(Now());
  FText = Text();
}

TDateTimePicker::~TDateTimePicker() {
  Destroying();
  FPopup.reset();
  DestroyHandle();
}

void TDateTimePicker::CreateWnd() {
  auto* w = new TPickerEdit(this, Impl()->Alive);
  AttachWidget(this, w);
  w->installEventFilter(new TPopupFocusFilter(w));
  std::shared_ptr<bool> alive = Impl()->Alive;
  // The widget never changes the value by itself; should it, the picker's
  // value is put back.
  QObject::connect(w, &QDateTimeEdit::dateTimeChanged, [this, alive] {
    if (*alive) GuardEvent(this, [this] { TDateTimePickerAccess::Repaired(this); });
  });
  QObject::connect(w->Check, &QCheckBox::clicked, [this, alive](bool on) {
    if (*alive) GuardEvent(this, [this, on] { TDateTimePickerAccess::CheckClicked(this, on); });
  });
  UpdateWindow();
}

std::string TDateTimePicker::EffectiveFormat() const {
  if (!FFormat.empty()) return FFormat;
  return FKind == dtkDate ? FormatSettings.ShortDateFormat : FormatSettings.LongTimeFormat;
}

std::string TDateTimePicker::Text() const { return FormatDateTime(EffectiveFormat(), FDateTime); }

std::string TDateTimePicker::WindowText() const {
  TPickerEdit* w = EditOf(this);
  return w ? FromQString(w->text()) : std::string();
}

void TDateTimePicker::SyncText() {
  const std::string t = Text();
  if (t == FText) return;
  FText = t;
  Perform(CM_TEXTCHANGED, 0, 0);
}

void TDateTimePicker::SetText(const std::string& v) {
  if (FKind == dtkDate) SetDate(StrToDate(v));
  else SetTime(StrToTime(v));
}

void TDateTimePicker::UpdateWindow() {
  TPickerEdit* w = EditOf(this);
  if (!w) return;
  const QSignalBlocker block(w);
  const int field = w->currentSectionIndex();
  w->setCalendarPopup(FKind == dtkDate && FDateMode == dmComboBox);
  const QString format = Shown(this).Qt;
  if (w->Applied != format) {
    w->Applied = format;
    w->setDisplayFormat(format);
    w->SetFullRange();  // a format without a date pins the widget's dates to the day shown
  }
  w->setDateTime(ToQt(FDateTime));
  if (w->sectionCount() > 0) w->setCurrentSectionIndex(std::clamp(field, 0, w->sectionCount() - 1));
  w->ShowCheck(FShowCheckbox, FChecked, FieldsLocked());
}

void TDateTimePicker::SetKind(TDateTimeKind v) {
  if (v == FKind) return;
  if (v != dtkDate) CloseUp();
  FKind = v;
  FTyped.clear();
  UpdateWindow();
  SyncText();
}

void TDateTimePicker::SetDateMode(TDTDateMode v) {
  if (v == FDateMode) return;
  if (v != dmComboBox) CloseUp();
  FDateMode = v;
  UpdateWindow();
}

void TDateTimePicker::SetDateTime(TDateTime v) {
  FDateTime = Clamped(v);
  FTyped.clear();
  UpdateWindow();
  SyncText();
}

TDateTime TDateTimePicker::Date() const { return DatePart(FDateTime); }

void TDateTimePicker::SetDate(TDateTime v) { SetDateTime(Compose(DatePart(Clamped(v)), TimePart(FDateTime))); }

TDateTime TDateTimePicker::Time() const { return TimePart(FDateTime); }

void TDateTimePicker::SetTime(TDateTime v) { SetDateTime(Compose(DatePart(FDateTime), TimePart(Clamped(v)))); }

void TDateTimePicker::SetShowCheckbox(bool v) {
  if (v == FShowCheckbox) return;
  FShowCheckbox = v;
  UpdateWindow();
}

void TDateTimePicker::SetChecked(bool v) {
  if (v == FChecked) return;
  FChecked = v;
  UpdateWindow();
}

void TDateTimePicker::SetFormat(const std::string& v) {
  if (v == FFormat) return;
  FFormat = v;
  FTyped.clear();
  UpdateWindow();
  SyncText();
}

void TDateTimePicker::Change() {
  if (OnChange) OnChange(this);
}

void TDateTimePicker::UserChange(TDateTime Value, bool CheckedAfter) {
  Value = Clamped(Value);
  const bool changed = Value != FDateTime || CheckedAfter != FChecked;
  FDateTime = Value;
  FChecked = CheckedAfter;
  UpdateWindow();
  SyncText();
  if (changed) Change();
}

// ---- fields

namespace {

// The field under the caret; nil when the format shows none.
const TField* CurrentField(const TWinControl* picker, const TDisplayFormat& f, int* index = nullptr) {
  TPickerEdit* w = EditOf(picker);
  if (!w || f.Fields.empty()) return nullptr;
  const int i = std::clamp(w->currentSectionIndex(), 0, static_cast<int>(f.Fields.size()) - 1);
  if (index) *index = i;
  return &f.Fields[static_cast<size_t>(i)];
}

// Sets one field; false when the value does not fit it.
bool SetField(TParts& p, const TField& field, int v) {
  switch (field.Kind) {
    case fkDay:
      if (v < 1 || v > DaysInAMonth(p.Year, p.Month)) return false;
      p.Day = v;
      return true;
    case fkMonth:
      if (v < 1 || v > 12) return false;
      p.Month = v;
      break;
    case fkYear:
      if (field.Digits == 2) v = FullYear(v);
      if (v < kMinYear || v > kMaxYear) return false;
      p.Year = v;
      break;
    case fkHour:
      if (field.Hour12) {
        if (v < 1 || v > 12) return false;
        v = v % 12 + (p.Hour >= 12 ? 12 : 0);
      }
      if (v > 23) return false;
      p.Hour = v;
      return true;
    case fkMinute:
    case fkSecond:
      if (v > 59) return false;
      (field.Kind == fkMinute ? p.Min : p.Sec) = v;
      return true;
    case fkMSec:
      if (v > 999) return false;
      p.MSec = v;
      return true;
    default: return false;
  }
  p.Day = std::min(p.Day, DaysInAMonth(p.Year, p.Month));
  return true;
}

// The largest value a field takes (for knowing when typing in it is done).
int FieldMax(const TParts& p, const TField& field) {
  switch (field.Kind) {
    case fkDay: return DaysInAMonth(p.Year, p.Month);
    case fkMonth: return 12;
    case fkYear: return field.Digits == 2 ? 99 : kMaxYear;
    case fkHour: return field.Hour12 ? 12 : 23;
    case fkMinute:
    case fkSecond: return 59;
    case fkMSec: return 999;
    default: return 0;
  }
}

}  // namespace

void TDateTimePicker::StepField(int Steps) {
  HandleNeeded();
  const TDisplayFormat f = Shown(this);
  const TField* field = CurrentField(this, f);
  if (!field || FieldsLocked() || Steps == 0) return;
  FTyped.clear();
  TParts p = Split(FDateTime);
  switch (field->Kind) {
    case fkDay:
    case fkDayName: p.Day = Wrapped(p.Day - 1 + Steps, DaysInAMonth(p.Year, p.Month)) + 1; break;
    case fkMonth:
      p.Month = Wrapped(p.Month - 1 + Steps, 12) + 1;
      p.Day = std::min(p.Day, DaysInAMonth(p.Year, p.Month));
      break;
    case fkYear:
      p.Year = std::clamp(p.Year + Steps, kMinYear, kMaxYear);
      p.Day = std::min(p.Day, DaysInAMonth(p.Year, p.Month));
      break;
    case fkHour: p.Hour = Wrapped(p.Hour + Steps, 24); break;
    case fkMinute: p.Min = Wrapped(p.Min + Steps, 60); break;
    case fkSecond: p.Sec = Wrapped(p.Sec + Steps, 60); break;
    case fkMSec: p.MSec = Wrapped(p.MSec + Steps, 1000); break;
    case fkAmPm:
      if (Steps % 2 != 0) p.Hour = (p.Hour + 12) % 24;
      break;
  }
  UserChange(Join(p), FChecked);
}

void TDateTimePicker::MoveField(int Index) {
  HandleNeeded();
  FTyped.clear();
  TPickerEdit* w = EditOf(this);
  if (!w || w->sectionCount() == 0) return;
  w->setCurrentSectionIndex(std::clamp(Index, 0, w->sectionCount() - 1));
  w->setSelectedSection(w->currentSection());
}

void TDateTimePicker::TypeDigit(int Digit) {
  HandleNeeded();
  const TDisplayFormat f = Shown(this);
  int index = 0;
  const TField* field = CurrentField(this, f, &index);
  if (!field || FieldsLocked() || field->Digits == 0) return;
  if (index != FTypedField) FTyped.clear();  // the caret went elsewhere
  FTypedField = index;
  TParts p = Split(FDateTime);
  const int max = FieldMax(p, *field);
  // A digit that cannot follow the ones typed starts the field again.
  std::string typed = FTyped + static_cast<char>('0' + Digit);
  if (std::stoi(typed) > max && field->Digits != 4) typed = std::string(1, static_cast<char>('0' + Digit));
  const int v = std::stoi(typed);
  const bool full = static_cast<int>(typed.size()) >= field->Digits || v * 10 > max;
  // Years are taken once all their digits are there.
  if (field->Kind != fkYear || full) SetField(p, *field, v);
  UserChange(Join(p), FChecked);
  if (full) MoveField(index + 1);
  else FTyped = typed;
}

void TDateTimePicker::TypeLetter(char Ch) {
  HandleNeeded();
  const TDisplayFormat f = Shown(this);
  int index = 0;
  const TField* field = CurrentField(this, f, &index);
  if (!field) return;
  const char up = static_cast<char>(std::toupper(static_cast<unsigned char>(Ch)));
  if (field->Kind == fkAmPm && (up == 'A' || up == 'P')) {
    if (FieldsLocked()) return;
    TParts p = Split(FDateTime);
    p.Hour = p.Hour % 12 + (up == 'P' ? 12 : 0);
    UserChange(Join(p), FChecked);
  } else if (!(up >= 'A' && up <= 'Z')) {
    MoveField(index + 1);  // a separator ends the field
  }
}

// ---- the calendar

bool TDateTimePicker::CanDropDown() const {
  return FKind == dtkDate && FDateMode == dmComboBox && Showing() && Enabled();
}

void TDateTimePicker::DropDown() {
  if (FDropped || !CanDropDown()) return;
  HandleNeeded();
  TPickerEdit* w = EditOf(this);
  if (!w) return;
  if (!FPopup) FPopup = std::make_unique<TDateTimePickerPopup>();
  if (!FPopup->Window) {
    auto* win = new QWidget(nullptr, Qt::Popup | Qt::FramelessWindowHint);
    // A click outside closes the calendar without reaching the window under it.
    win->setAttribute(Qt::WA_NoMouseReplay);
    auto* layout = new QVBoxLayout(win);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* cal = new QCalendarWidget(win);
    cal->setLocale(QLocale::c());
    cal->setDateRange(QDate(kMinYear, 1, 1), QDate(kMaxYear, 12, 31));
    cal->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    layout->addWidget(cal);
    auto* filter = new TPopupFilter(this, win);
    win->installEventFilter(filter);
    cal->installEventFilter(filter);
    for (QAbstractItemView* view : cal->findChildren<QAbstractItemView*>()) view->installEventFilter(filter);
    QObject::connect(cal, &QCalendarWidget::clicked, filter, [filter](QDate d) {
      if (filter->Picker) filter->Call([filter, d] { TDateTimePickerAccess::DayClicked(filter->Picker, d); });
    });
    FPopup->Window = win;
    FPopup->Calendar = cal;
    FPopup->Filter = filter;
  }
  FPopup->Calendar->setSelectedDate(ToQt(FDateTime).date());
  if (OnDropDown) OnDropDown(this);
  if (FDropped || !CanDropDown() || !FPopup || !FPopup->Window) return;
  QWidget* win = FPopup->Window;
  win->adjustSize();
  // Below the picker, or above it when the screen ends first.
  QPoint at = w->mapToGlobal(QPoint(0, w->height()));
  if (const QScreen* screen = w->screen()) {
    const QRect avail = screen->availableGeometry();
    if (at.y() + win->height() > avail.bottom() && at.y() - w->height() - win->height() >= avail.top())
      at.setY(at.y() - w->height() - win->height());
    at.setX(std::clamp(at.x(), avail.left(), std::max(avail.left(), avail.right() - win->width())));
  }
  win->move(at);
  FDropped = true;
  win->show();
  FPopup->Calendar->setFocus(Qt::PopupFocusReason);
}

void TDateTimePicker::CloseUp() {
  if (!FDropped) return;
  FDropped = false;
  if (FPopup && FPopup->Window) FPopup->Window->hide();
  if (OnCloseUp) OnCloseUp(this);
}

void TDateTimePicker::TakeDay(int Year, int Month, int Day) {
  if (!FDropped) return;
  FDropped = false;
  if (FPopup && FPopup->Window) FPopup->Window->hide();
  TParts p = Split(FDateTime);
  p.Year = Year;
  p.Month = Month;
  p.Day = Day;
  UserChange(Join(p), true);
  if (OnCloseUp) OnCloseUp(this);
}

bool TDateTimePicker::CalendarKey(uint16_t Key, TShiftState Shift) {
  const bool alt = Shift.Contains(ssAlt);
  if (Key == VK_ESCAPE || (Key == VK_F4 && !alt) || (alt && (Key == VK_UP || Key == VK_DOWN))) {
    CloseUp();
    return true;
  }
  QCalendarWidget* cal = FPopup ? FPopup->Calendar.data() : nullptr;
  if (!cal) return false;
  const QDate d = cal->selectedDate();
  QDate to;
  switch (Key) {
    case VK_RETURN: TakeDay(d.year(), d.month(), d.day()); return true;
    case VK_LEFT: to = d.addDays(-1); break;
    case VK_RIGHT: to = d.addDays(1); break;
    case VK_UP: to = d.addDays(-7); break;
    case VK_DOWN: to = d.addDays(7); break;
    case VK_PRIOR: to = Shift.Contains(ssCtrl) ? d.addYears(-1) : d.addMonths(-1); break;
    case VK_NEXT: to = Shift.Contains(ssCtrl) ? d.addYears(1) : d.addMonths(1); break;
    case VK_HOME: to = QDate(d.year(), d.month(), 1); break;
    case VK_END: to = QDate(d.year(), d.month(), d.daysInMonth()); break;
    default: return false;
  }
  if (to.isValid()) cal->setSelectedDate(to);
  return true;
}

// ---- messages

bool TDateTimePicker::PickerKey(uint16_t Key, TShiftState Shift) {
  const bool alt = Shift.Contains(ssAlt);
  TPickerEdit* w = EditOf(this);
  switch (Key) {
    case VK_F4:
    case VK_UP:
    case VK_DOWN:
      if (Key == VK_F4 ? !alt : alt) {
        DropDown();
        return true;
      }
      if (Key == VK_F4) return false;
      StepField(Key == VK_UP ? 1 : -1);
      return true;
    case VK_LEFT:
    case VK_RIGHT:
      MoveField(w ? w->currentSectionIndex() + (Key == VK_LEFT ? -1 : 1) : 0);
      return true;
    case VK_HOME:
    case VK_END:
      MoveField(Key == VK_HOME || !w ? 0 : w->sectionCount() - 1);
      return true;
    // Nothing to page through; the window would step by ten.
    case VK_PRIOR:
    case VK_NEXT:
    case VK_BACK:
    case VK_DELETE: FTyped.clear(); return true;
    default: return false;
  }
}

void TDateTimePicker::WMKeyDown(TMessage& M) {
  if (DoKeyDown(M)) return;
  const auto key = static_cast<uint16_t>(M.WParam);
  TShiftState shift = KeyDataToShiftState(M.LParam);
  if (M.Msg == WM_SYSKEYDOWN) shift.Include(ssAlt);
  if (FDropped ? CalendarKey(key, shift) : PickerKey(key, shift)) return;
  if (key == VK_TAB) CloseUp();
  DefaultHandler(M);
}

void TDateTimePicker::WMChar(TMessage& M) {
  if (DoKeyPress(M)) return;
  const auto ch = static_cast<unsigned>(M.WParam & 0xFF);
  if (ch < 32 || ch >= 127) DefaultHandler(M);
  else if (FDropped) return;  // the calendar takes no characters
  else if (ch >= '0' && ch <= '9') TypeDigit(static_cast<int>(ch - '0'));
  else if (ch == ' ' && FShowCheckbox) UserChange(FDateTime, !FChecked);
  else TypeLetter(static_cast<char>(ch));
}

void TDateTimePicker::WMKillFocus(TMessage& M) {
  FTyped.clear();
  CloseUp();
  TWinControl::WMKillFocus(M);
}

// The focus may move on by code while the calendar holds the keyboard.
void TDateTimePicker::CMExit(TMessage& M) {
  CloseUp();
  TWinControl::CMExit(M);
}

void TDateTimePicker::WMGetDlgCode(TMessage& M) { M.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; }

void TDateTimePicker::WMNCPaint(TMessage& M) {
  // From code: the frame is painted again, and with it this message.
  if (!FNCCanvas && HandleAllocated()) Impl()->Widget->update();
  DefaultHandler(M);
}

void TDateTimePicker::CMEnabledChanged(TMessage& M) {
  if (!Enabled()) CloseUp();
  TWinControl::CMEnabledChanged(M);
}

void TDateTimePicker::CMVisibleChanged(TMessage& M) {
  if (!Visible()) CloseUp();
  TWinControl::CMVisibleChanged(M);
}

void TDateTimePicker::PaintOverlay(TCanvas* Canvas) {
  struct TRestore {
    TCanvas*& Slot;
    ~TRestore() { Slot = nullptr; }
  } restore{FNCCanvas};
  FNCCanvas = Canvas;
  Perform(WM_NCPAINT, 1, 0);
}

void TDateTimePicker::Dispatch(TMessage& M) {
  if (M.Msg == WM_NCPAINT) {
    WMNCPaint(M);
    return;
  }
  TWinControl::Dispatch(M);
}
