#include "grid/support/psgspin.h"

#include <algorithm>

#include "grid/support/plusxpvs.h"
#include "platform/gfx/framectl.h"
#include "platform/gfx/resources.h"
#include "platform/rtl/format.h"
#include "platform/rtl/formatsettings.h"
#include "platform/rtl/mathutils.h"
#include "platform/rtl/strutils.h"
#include "platform/ui/sound.h"

namespace {

// The default arrows: the resources "PsgSpinUp" and "PsgSpinDown".
void LoadDefaultGlyph(TSpeedButton* b, bool up) {
  std::unique_ptr<TBitmap> g = LoadResourceBitmap(up ? "PsgSpinUp" : "PsgSpinDown");
  b->SetGlyph(g.get());
  b->SetNumGlyphs(1);
}

// 1-based position of c in s after position from (1-based), 0 when none.
int PosFrom(char c, const std::string& s, int from) {
  const size_t p = s.find(c, static_cast<size_t>(from));
  return p == std::string::npos ? 0 : static_cast<int>(p) + 1;
}

}  // namespace

// ---------------------------------------------------------------------------
// TPlusTimerSpeedButton

ZV_CLASS_IMPL_NOPROPS(TPlusTimerSpeedButton, TSpeedButton)

void TPlusTimerSpeedButton::SetDirection(TTimerArrow v) {
  FDirection = v;
  Invalidate();
}

void TPlusTimerSpeedButton::SetIsWinXP(bool v) {
  FIsWinXP = v;
  Invalidate();
}

void TPlusTimerSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TSpeedButton::MouseDown(Button, Shift, X, Y);
  if (FAllowTimer) {
    if (!FRepeatTimer) {
      FRepeatTimer = new TTimer(this);
      FRepeatTimer->SetOnTimer([this](TObject*) { TimerExpired(); });
    }
    FRepeatTimer->SetEnabled(false);
    FRepeatTimer->SetInterval(400);
    FRepeatTimer->SetEnabled(true);
  }
  if (Parent()) Parent()->Invalidate();
}

void TPlusTimerSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TSpeedButton::MouseUp(Button, Shift, X, Y);
  if (FRepeatTimer) FRepeatTimer->SetEnabled(false);
  if (Parent()) Parent()->Invalidate();
}

void TPlusTimerSpeedButton::TimerExpired() {
  FRepeatTimer->SetInterval(100);
  if (State() == bsDown && MouseCapture()) {
    try {
      Click();
    } catch (...) {
      FRepeatTimer->SetEnabled(false);
      throw;
    }
  }
}

void TPlusTimerSpeedButton::Paint() {
  const bool down = State() == bsDown || State() == bsExclusive;
  TRect r = Rect(0, 0, Width(), Height());
  if (FIsWinXP && XPVSLoaded()) {
    static const int parts[] = {4, 3, 1, 2};  // left, right, up, down
    HTHEME t = OpenThemeData(Parent() ? Parent()->Handle() : 0, u"spin");
    DrawThemeBackground(t, Canvas(), parts[FDirection], down ? 3 : (FHot ? 2 : 1), &r, nullptr);
    CloseThemeData(t);
    return;
  }
  if (FDirection == taLeftArrow || FDirection == taRightArrow) {
    DrawFrameControl(Canvas(), r, DFC_SCROLL,
                     (FDirection == taLeftArrow ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT) | (down ? DFCS_PUSHED : 0) |
                         (Flat() ? DFCS_FLAT : 0));
    return;
  }
  TSpeedButton::Paint();
}

void TPlusTimerSpeedButton::CMMouseEnter(TMessage& M) {
  TSpeedButton::CMMouseEnter(M);
  FHot = true;
  Invalidate();
}

void TPlusTimerSpeedButton::CMMouseLeave(TMessage& M) {
  TSpeedButton::CMMouseLeave(M);
  FHot = false;
  Invalidate();
}

// ---------------------------------------------------------------------------
// TPsgSpinButton

ZV_CLASS_IMPL(TPsgSpinButton, TWinControl)

void TPsgSpinButton::DeclareProperties(TClassInfo& c) {
  static const TEnumInfo directions{"TSpinDirection", {"spVertical", "spHorizontal"}, 0};
  c.Enum<TPsgSpinButton>("Direction", directions, &TPsgSpinButton::Direction, &TPsgSpinButton::SetDirection,
                         spVertical);
  c.Integer<TPsgSpinButton>("UpNumGlyphs", &TPsgSpinButton::UpNumGlyphs, &TPsgSpinButton::SetUpNumGlyphs, 1);
  c.Integer<TPsgSpinButton>("DownNumGlyphs", &TPsgSpinButton::DownNumGlyphs, &TPsgSpinButton::SetDownNumGlyphs, 1);
}

TPsgSpinButton::TPsgSpinButton(TComponent* AOwner) : TWinControl(AOwner) {
  FControlStyle = {csFramed, csOpaque};
  FWidth = 15;
  FHeight = 25;
  FTabStop = false;
  auto make = [this](bool up) {
    auto* b = new TPlusTimerSpeedButton(this);
    b->SetParent(this);
    b->SetAllowTimer(true);
    b->SetDirection(up ? taUpArrow : taDownArrow);
    LoadDefaultGlyph(b, up);
    b->OnClick = [this](TObject* s) { BtnClick(s); };
    b->OnMouseDown = [this](TObject* s, TMouseButton mb, TShiftState, int, int) { BtnMouseDown(s, mb); };
    return b;
  };
  FUpButton = make(true);
  FDownButton = make(false);
  FFocusedButton = FUpButton;
  AdjustButtons();
}

void TPsgSpinButton::AdjustButtons() {
  if (!FUpButton || FComponentState.Contains(csLoading)) return;
  if (FDirection == spVertical) {
    const int w = std::max(FWidth, 15);
    const int upH = FHeight / 2;
    FUpButton->SetBounds(0, 0, w, upH);
    FDownButton->SetBounds(0, upH - 1, w, FHeight - upH + 1);
  } else {
    const int w = std::max(FWidth, 20);
    const int half = w / 2;
    FDownButton->SetBounds(0, 0, half, FHeight);
    FUpButton->SetBounds(half + 1, 0, half, FHeight);
  }
}

void TPsgSpinButton::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  AdjustButtons();
}

void TPsgSpinButton::Loaded() {
  TWinControl::Loaded();
  AdjustButtons();
}

void TPsgSpinButton::SetDirection(TSpinDirection v) {
  if (v == FDirection) return;
  FDirection = v;
  if (v == spHorizontal) {
    FUpButton->SetDirection(taRightArrow);
    FDownButton->SetDirection(taLeftArrow);
    SetWidth(20);
  } else {
    FUpButton->SetDirection(taUpArrow);
    FDownButton->SetDirection(taDownArrow);
    SetWidth(15);
  }
  AdjustButtons();
}

void TPsgSpinButton::SetUpGlyph(const TBitmap* v) {
  if (v) FUpButton->SetGlyph(v);
  else LoadDefaultGlyph(FUpButton, true);
}

void TPsgSpinButton::SetDownGlyph(const TBitmap* v) {
  if (v) FDownButton->SetGlyph(v);
  else LoadDefaultGlyph(FDownButton, false);
}

void TPsgSpinButton::SetFocusControl(TWinControl* v) {
  FFocusControl = v;
  if (v) v->FreeNotification(this);
}

void TPsgSpinButton::SetIsWinXP(bool v) {
  FIsWinXP = v;
  FUpButton->SetIsWinXP(v);
  FDownButton->SetIsWinXP(v);
}

void TPsgSpinButton::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TPsgSpinButton::WMGetDlgCode(TMessage& M) { M.Result = DLGC_WANTARROWS; }

void TPsgSpinButton::KeyDown(uint16_t& Key, TShiftState Shift) {
  switch (Key) {
    case VK_SPACE: FFocusedButton->Click(); break;
    case VK_UP:
      FFocusedButton = FUpButton;
      FUpButton->Click();
      break;
    case VK_DOWN:
      FFocusedButton = FDownButton;
      FDownButton->Click();
      break;
    default: break;
  }
  TWinControl::KeyDown(Key, Shift);
}

void TPsgSpinButton::BtnClick(TObject* Sender) {
  if (Sender == FUpButton) {
    if (OnUpClick) OnUpClick(this);
  } else if (OnDownClick) {
    OnDownClick(this);
  }
}

void TPsgSpinButton::BtnMouseDown(TObject* Sender, TMouseButton Button) {
  if (Button != mbLeft) return;
  if (TabStop() && CanFocus()) FFocusedButton = static_cast<TPlusTimerSpeedButton*>(Sender);
  if (FFocusControl && FFocusControl->TabStop() && FFocusControl->CanFocus() && !FFocusControl->Focused())
    FFocusControl->SetFocus();
  else if (TabStop() && CanFocus() && !Focused())
    SetFocus();
}

// ---------------------------------------------------------------------------
// TPsgSpinEdit

ZV_CLASS_IMPL(TPsgSpinEdit, TCustomMaskEdit)

void TPsgSpinEdit::DeclareProperties(TClassInfo& c) {
  static const TEnumInfo types{"TPsgSpinType", {"sptNormal", "sptFloat", "sptDate", "sptTime"}, 0};
  static const TEnumInfo directions{"TSpinDirection", {"spVertical", "spHorizontal"}, 0};
  static const TEnumInfo aligns{"TEditAlign", {"eaLeft", "eaRight", "eaCenter"}, 0};
  c.Integer<TPsgSpinEdit>("MinValue", &TPsgSpinEdit::MinValue, &TPsgSpinEdit::SetMinValue, 0);
  c.Integer<TPsgSpinEdit>("MaxValue", &TPsgSpinEdit::MaxValue, &TPsgSpinEdit::SetMaxValue, 100);
  c.Float<TPsgSpinEdit>("MinFloatValue", ftDouble, &TPsgSpinEdit::MinFloatValue, &TPsgSpinEdit::SetMinFloatValue);
  c.Float<TPsgSpinEdit>("MaxFloatValue", ftDouble, &TPsgSpinEdit::MaxFloatValue, &TPsgSpinEdit::SetMaxFloatValue);
  c.Float<TPsgSpinEdit>("MinDateValue", ftDouble, &TPsgSpinEdit::MinDateValue, &TPsgSpinEdit::SetMinDateValue);
  c.Float<TPsgSpinEdit>("MaxDateValue", ftDouble, &TPsgSpinEdit::MaxDateValue, &TPsgSpinEdit::SetMaxDateValue);
  c.Integer<TPsgSpinEdit>("Increment", &TPsgSpinEdit::Increment, &TPsgSpinEdit::SetIncrement, 1);
  c.Float<TPsgSpinEdit>("IncrementFloat", ftDouble, &TPsgSpinEdit::IncrementFloat,
                        &TPsgSpinEdit::SetIncrementFloat);
  c.Boolean<TPsgSpinEdit>("EditorEnabled", &TPsgSpinEdit::EditorEnabled, &TPsgSpinEdit::SetEditorEnabled, true);
  c.Enum<TPsgSpinEdit>("Direction", directions, &TPsgSpinEdit::Direction, &TPsgSpinEdit::SetDirection, spVertical);
  c.Enum<TPsgSpinEdit>("SpinType", types, &TPsgSpinEdit::SpinType, &TPsgSpinEdit::SetSpinType, sptNormal);
  c.Integer<TPsgSpinEdit>("Precision", &TPsgSpinEdit::Precision, &TPsgSpinEdit::SetPrecision, 0);
  c.Boolean<TPsgSpinEdit>("ReturnIsTab", &TPsgSpinEdit::ReturnIsTab, &TPsgSpinEdit::SetReturnIsTab, false);
  c.Boolean<TPsgSpinEdit>("ExcelStyleDecimalSeparator", &TPsgSpinEdit::ExcelStyleDecimalSeparator,
                          &TPsgSpinEdit::SetExcelStyleDecimalSeparator, false);
  c.Boolean<TPsgSpinEdit>("SpinFlat", &TPsgSpinEdit::SpinFlat, &TPsgSpinEdit::SetSpinFlat, false);
  c.Boolean<TPsgSpinEdit>("SpinTransparent", &TPsgSpinEdit::SpinTransparent, &TPsgSpinEdit::SetSpinTransparent,
                          false);
  c.Enum<TPsgSpinEdit>("EditAlign", aligns, &TPsgSpinEdit::EditAlign, &TPsgSpinEdit::SetEditAlign, eaLeft);
  // The value of the edit's type, read from the text; stored after the
  // limits, so that loading it meets the stored limits. The values of the
  // other types are not stored: loaded, their limits would cut the text.
  auto ofType = [](TPsgSpinType t) {
    return [t](TObject* o) { return static_cast<TPsgSpinEdit*>(o)->SpinType() == t; };
  };
  c.Integer<TPsgSpinEdit>("Value", &TPsgSpinEdit::Value, &TPsgSpinEdit::SetValue, NoDefault)
      .WithStored(ofType(sptNormal));
  c.Float<TPsgSpinEdit>("FloatValue", ftDouble, &TPsgSpinEdit::FloatValue, &TPsgSpinEdit::SetFloatValue)
      .WithStored(ofType(sptFloat));
  c.Float<TPsgSpinEdit>("DateValue", ftDouble, &TPsgSpinEdit::DateValue, &TPsgSpinEdit::SetDateValue)
      .WithStored(ofType(sptDate));
  c.Float<TPsgSpinEdit>("TimeValue", ftDouble, &TPsgSpinEdit::TimeValue, &TPsgSpinEdit::SetTimeValue)
      .WithStored(ofType(sptTime));
}

TPsgSpinEdit::TPsgSpinEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {
  FControlStyle.Exclude(csSetCaption);
  FButton = new TPsgSpinButton(this);
  FButton->SetBounds(0, 0, 15, 17);
  FButton->SetVisible(true);
  FButton->SetParent(this);
  FButton->SetFocusControl(this);
  FButton->OnUpClick = [this](TObject* s) { SpinUp(s); };
  FButton->OnDownClick = [this](TObject* s) { SpinDown(s); };
  SetText("0");
}

TPsgSpinEdit::~TPsgSpinEdit() { FButton = nullptr; }

int TPsgSpinEdit::CheckValue(int v) const {
  if (FMinValue == FMaxValue) return v;
  if (v < FMinValue) return FMinValue;
  if (v > FMaxValue) return FMaxValue;
  return v;
}

double TPsgSpinEdit::CheckFloatValue(double v) const {
  if (FMinFloatValue == FMaxFloatValue) return v;
  if (v < FMinFloatValue) return FMinFloatValue;
  if (v > FMaxFloatValue) return FMaxFloatValue;
  return v;
}

TDateTime TPsgSpinEdit::CheckDateValue(TDateTime v) const {
  if (FMinDateValue == FMaxDateValue) return v;
  if (v < FMinDateValue) return FMinDateValue;
  if (v > FMaxDateValue) return FMaxDateValue;
  return v;
}

int TPsgSpinEdit::Value() {
  int v = 0;
  return TryStrToInt(TControl::Text(), v) ? v : FMinValue;
}

void TPsgSpinEdit::SetValue(int v) {
  SetText(IntToStr(CheckValue(v)));
  if (!FEditorEnabled) SelectAll();
}

double TPsgSpinEdit::FloatValue() {
  double v = 0;
  return TryStrToFloat(TControl::Text(), v) ? v : FMinFloatValue;
}

void TPsgSpinEdit::SetFloatValue(double v) {
  v = CheckFloatValue(v);
  SetText(FPrecision > 0 ? FloatToStrF(v, ffFixed, 15, FPrecision) : FloatToStr(v));
}

TDateTime TPsgSpinEdit::DateValue() {
  const std::string& t = TControl::Text();
  if (t.empty() || t == "0") return Now();
  TDateTime d = 0;
  return TryStrToDate(t, d) ? d : FMinDateValue;
}

void TPsgSpinEdit::SetDateValue(TDateTime v) {
  FDateValue = v;
  if (FComponentState.Contains(csLoading)) return;
  const int caret = SelStart();
  SetText(FormatDateTime(FormatSettings.ShortDateFormat, CheckDateValue(v)));
  SetSelStart(caret);
}

TDateTime TPsgSpinEdit::TimeValue() {
  TDateTime t = 0;
  return TryStrToTime(TControl::Text(), t) ? t : 0;
}

void TPsgSpinEdit::SetTimeValue(TDateTime v) {
  FTimeValue = v;
  if (FComponentState.Contains(csLoading)) return;
  const int caret = SelStart();
  SetText(FormatDateTime(FormatSettings.LongTimeFormat, v));
  SetSelStart(caret);
}

void TPsgSpinEdit::SetSpinType(TPsgSpinType v) {
  FSpinType = v;
  switch (v) {
    case sptNormal: SetValue(Value()); break;
    case sptFloat: SetFloatValue(FloatValue()); break;
    case sptDate: SetDateValue(DateValue()); break;
    case sptTime: SetTimeValue(TimeValue()); break;
  }
}

void TPsgSpinEdit::SetPrecision(int v) {
  FPrecision = v;
  if (FSpinType == sptFloat) SetFloatValue(FloatValue());
}

void TPsgSpinEdit::SetDirection(TSpinDirection v) {
  FDirection = v;
  FButton->SetDirection(v);
  SetWidth(Width() + 1);
  SetWidth(Width() - 1);
}

void TPsgSpinEdit::SetSpinFlat(bool v) {
  FSpinFlat = v;
  FButton->UpButton()->SetFlat(v);
  FButton->DownButton()->SetFlat(v);
}

void TPsgSpinEdit::SetSpinTransparent(bool v) {
  FSpinTransparent = v;
  SetWidth(Width() + 1);
  SetWidth(Width() - 1);
}

void TPsgSpinEdit::SetEditAlign(TEditAlign v) {
  FEditAlign = v;
  SetAlignment(v == eaRight ? taRightJustify : v == eaCenter ? taCenter : taLeftJustify);
}

void TPsgSpinEdit::SetIsWinXP(bool v) {
  FIsWinXP = v;
  FButton->SetIsWinXP(v);
}

bool TPsgSpinEdit::IsValidChar(char Key) {
  const unsigned char k = static_cast<unsigned char>(Key);
  if (k == VK_BACK) return FEditorEnabled;
  const TFormatSettings& fs = FormatSettings;
  const std::string& text = TControl::Text();
  const int selStart = SelStart(), selLength = SelLength();
  // Whether the text holds c outside the selection.
  auto holdsOutside = [&](char c) {
    for (size_t i = 0; i < text.size(); ++i)
      if (text[i] == c && !(static_cast<int>(i) >= selStart && static_cast<int>(i) < selStart + selLength)) return true;
    return false;
  };
  const bool isDigit = k >= '0' && k <= '9';
  bool result = Key == fs.DecimalSeparator || Key == fs.ThousandSeparator || Key == fs.TimeSeparator ||
                Key == fs.DateSeparator || Key == '-' || isDigit || (k < 32 && k != 13);
  auto sharesNumberChar = [&](char sep) {
    return (sep == fs.DecimalSeparator || sep == fs.ThousandSeparator || sep == '-' || sep == '+') &&
           (FSpinType == sptNormal || FSpinType == sptFloat);
  };
  if (Key == fs.TimeSeparator && FSpinType != sptTime && !sharesNumberChar(fs.TimeSeparator)) result = false;
  if (Key == fs.DateSeparator && FSpinType != sptDate && !sharesNumberChar(fs.DateSeparator)) result = false;
  if (Key == '-') {
    if (holdsOutside('-')) result = false;
    else if (selStart != 0) result = false;
  }
  if (FSpinType == sptNormal) result = Key == '-' ? result : isDigit;
  if (FSpinType == sptFloat && k != VK_BACK && k != 13 && k != 27) {
    if (Key == fs.ThousandSeparator) result = false;
    if (Key == fs.DecimalSeparator && holdsOutside(fs.DecimalSeparator)) result = false;
    const int d = PosFrom(fs.DecimalSeparator, text, 0);
    if (FPrecision > 0 && d > 0 && selStart >= d && selLength == 0 && result &&
        static_cast<int>(text.size()) >= d + FPrecision)
      result = false;
  }
  if (FSpinType == sptTime && Key == fs.TimeSeparator &&
      std::count(text.begin(), text.end(), fs.TimeSeparator) >= 2)
    result = false;
  if (!FEditorEnabled && k >= 32) result = false;
  return result;
}

void TPsgSpinEdit::KeyPress(char& Key) {
  const unsigned char k = static_cast<unsigned char>(Key);
  // The select-all, clipboard and undo keys are no typed characters.
  if (k == 1 || k == 3 || k == 22 || k == 24 || k == 26) {
    TCustomMaskEdit::KeyPress(Key);
    return;
  }
  if (!IsValidChar(Key)) {
    Key = 0;
    MessageBeep(0);
  }
  if (Key != 0) TCustomMaskEdit::KeyPress(Key);
}

void TPsgSpinEdit::SpinUp(TObject*) { Step(1); }

void TPsgSpinEdit::SpinDown(TObject*) { Step(-1); }

void TPsgSpinEdit::Step(int Sign) {
  if (ReadOnly()) {
    MessageBeep(0);
    return;
  }
  switch (FSpinType) {
    case sptNormal: SetValue(Value() + Sign * FIncrement); break;
    case sptFloat: SetFloatValue(FloatValue() + Sign * FIncrementFloat); break;
    case sptDate: {
      const std::string text = TControl::Text();
      const int caret = SelStart();
      const char sep = FormatSettings.DateSeparator;
      const int p1 = PosFrom(sep, text, 0);
      const int p2 = p1 > 0 ? PosFrom(sep, text, p1) : 0;
      const std::string fmt = UpperCase(FormatSettings.ShortDateFormat);
      const size_t m = fmt.find('M'), d = fmt.find('D');
      const bool monthFirst = m != std::string::npos && (d == std::string::npos || m < d);
      enum { day, month, year } part;
      if (monthFirst) part = caret < p1 ? month : caret < p2 ? day : year;
      else part = caret < p1 ? day : caret < p2 ? month : year;
      TDateTime v = DateValue();
      if (part == day) {
        v += Sign;
      } else if (part == month) {
        v = IncMonth(v, Sign);
      } else {
        // 29 February of a year without it becomes the 28th.
        int y = 0, mo = 0, dd = 0;
        DecodeDate(v, y, mo, dd);
        y += Sign;
        dd = std::min(dd, DaysInAMonth(y, mo));
        v = EncodeDate(y, mo, dd) + Frac(v);
      }
      SetDateValue(v);
      break;
    }
    case sptTime: {
      const std::string text = TControl::Text();
      const int caret = SelStart();
      const char sep = FormatSettings.TimeSeparator;
      const int t1 = PosFrom(sep, text, 0);
      const int t2 = t1 > 0 ? PosFrom(sep, text, t1) : 0;
      const double step = caret < t1 ? 1.0 / 24 : caret < t2 ? 1.0 / 1440 : 1.0 / 86400;
      if (Sign > 0) {
        SetTimeValue(TimeValue() + step);
      } else {
        // Below midnight wraps to the evening.
        double t = TimeValue() + 1 - step;
        if (t > 1) t -= 1;
        SetTimeValue(t);
      }
      break;
    }
  }
}

void TPsgSpinEdit::Loaded() {
  TCustomMaskEdit::Loaded();
  if (FSpinType == sptDate) SetText(FormatDateTime(FormatSettings.ShortDateFormat, FDateValue));
  if (FSpinType == sptTime) SetText(FormatDateTime(FormatSettings.LongTimeFormat, FTimeValue));
  SetSpinType(FSpinType);
}

void TPsgSpinEdit::CreateWnd() {
  SetEditAlign(FEditAlign);
  TCustomMaskEdit::CreateWnd();
  SetEditRect();
}

void TPsgSpinEdit::SetEditRect() {
  if (!FButton) return;
  const bool border = BorderStyle() != bsNone;
  const int lt = border ? 0 : 1;
  int right = ClientWidth() - FButton->Width() - 2;
  if (!border) --right;
  SetRect(Rect(lt, lt, right, ClientHeight() + 1));
}

int TPsgSpinEdit::GetMinHeight() {
  TBitmap measure;
  measure.SetSize(1, 1);
  measure.Canvas()->Font()->Assign(Font());
  const int f = measure.Canvas()->TextHeight("0");
  TFont system;
  measure.Canvas()->Font()->Assign(&system);
  const int s = measure.Canvas()->TextHeight("0");
  int h = f + std::min(f, s) / 4 + 2;
  if (BorderStyle() == bsSingle) h += 4 * GetSystemMetrics(SM_CYBORDER);
  return h;
}

void TPsgSpinEdit::WMSize(TMessage& M) {
  TCustomMaskEdit::WMSize(M);
  const int minHeight = GetMinHeight();
  if (FHeight < minHeight) {
    SetBounds(FLeft, FTop, FWidth, minHeight);
    return;
  }
  if (FButton) {
    const int d = BorderStyle() != bsNone ? 5 : 1;
    FButton->SetBounds(FWidth - FButton->Width() - d, 0, FButton->Width(), FHeight - d);
  }
  SetEditRect();
}

void TPsgSpinEdit::WMChar(TMessage& M) {
  // The numeric keypad's decimal key types the decimal separator.
  if (FExcelStyleDecimalSeparator && M.WParam == '.' && (M.LParam & (LPARAM(1) << 22)))
    M.WParam = static_cast<unsigned char>(FormatSettings.DecimalSeparator);
  TCustomMaskEdit::WMChar(M);
}

void TPsgSpinEdit::WMKeyDown(TMessage& M) {
  switch (M.WParam) {
    case VK_UP:
    case VK_PRIOR:
      SpinUp(this);
      M.Result = 0;
      return;
    case VK_DOWN:
    case VK_NEXT:
      SpinDown(this);
      M.Result = 0;
      return;
    default: TCustomMaskEdit::WMKeyDown(M);
  }
}

void TPsgSpinEdit::KeyDown(uint16_t& Key, TShiftState Shift) {
  if (Key == VK_RETURN && FReturnIsTab) {
    Key = VK_TAB;
    PostMessage(Handle(), WM_KEYDOWN, VK_TAB, 0);
  }
  if (Key == VK_DELETE && !FEditorEnabled) Key = 0;
  TCustomMaskEdit::KeyDown(Key, Shift);
}

void TPsgSpinEdit::Dispatch(TMessage& M) {
  if ((M.Msg == WM_CUT || M.Msg == WM_PASTE) && (!FEditorEnabled || ReadOnly())) return;
  TCustomMaskEdit::Dispatch(M);
}

void TPsgSpinEdit::CMEnter(TMessage& M) {
  if (AutoSelect() && (GetKeyState(VK_LBUTTON) >= 0 || !FEditorEnabled)) SelectAll();
  TCustomMaskEdit::CMEnter(M);
}

void TPsgSpinEdit::CMExit(TMessage& M) {
  TCustomMaskEdit::CMExit(M);
  switch (FSpinType) {
    case sptNormal: {
      const int v = Value();
      if (CheckValue(v) != v) SetValue(v);
      break;
    }
    case sptFloat: {
      const double v = FloatValue();
      if (CheckFloatValue(v) != v) SetFloatValue(v);
      break;
    }
    case sptDate: {
      const TDateTime v = DateValue();
      if (CheckDateValue(v) != v) SetDateValue(v);
      break;
    }
    case sptTime: {
      const TDateTime t = TimeValue();
      if (FMinDateValue != FMaxDateValue && (t < FMinDateValue || t > FMaxDateValue)) SetTimeValue(t);
      break;
    }
  }
}
