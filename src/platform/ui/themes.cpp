#include "platform/ui/themes.h"

#include <QApplication>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>
#include <cctype>

#include "platform/gfx/qt_private.h"

namespace {

enum TThemeClass { tcButton, tcComboBox, tcSpin, tcHeader, tcProgress };

struct TTheme {
  TThemeClass Class;
};

int PartCount(TThemeClass c) {
  switch (c) {
    case tcButton: return 3;
    case tcComboBox: return 1;
    case tcSpin: return 4;
    case tcHeader: return 1;
    case tcProgress: return 4;
  }
  return 0;
}

bool ClassOfName(std::string name, TThemeClass& out) {
  std::transform(name.begin(), name.end(), name.begin(), [](unsigned char ch) { return std::tolower(ch); });
  while (!name.empty() && name.back() == ' ') name.pop_back();
  while (!name.empty() && name.front() == ' ') name.erase(name.begin());
  if (name == "button") out = tcButton;
  else if (name == "combobox") out = tcComboBox;
  else if (name == "spin") out = tcSpin;
  else if (name == "header") out = tcHeader;
  else if (name == "progress") out = tcProgress;
  else return false;
  return true;
}

QStyle* DesktopStyle() { return qobject_cast<QApplication*>(QCoreApplication::instance()) ? QApplication::style() : nullptr; }

// The common states: 1 normal, 2 hot, 3 pressed, 4 disabled.
void ApplyState(QStyleOption& opt, int sub) {
  opt.state = QStyle::State_None;
  opt.palette.setCurrentColorGroup(sub == 4 ? QPalette::Disabled : QPalette::Active);
  if (sub != 4) opt.state |= QStyle::State_Enabled;
  if (sub == 2) opt.state |= QStyle::State_MouseOver;
  if (sub == 3) opt.state |= QStyle::State_Sunken;
  else opt.state |= QStyle::State_Raised;
}

void DrawPart(QStyle* style, QPainter& p, TThemeClass cls, int part, int state, const QRect& r) {
  switch (cls) {
    case tcButton: {
      QStyleOptionButton opt;
      opt.rect = r;
      opt.palette = QApplication::palette();
      if (part == 1) {
        ApplyState(opt, state == 5 ? 1 : state);
        if (state == 5) opt.features |= QStyleOptionButton::DefaultButton;
        style->drawControl(QStyle::CE_PushButtonBevel, &opt, &p, nullptr);
      } else {
        const int group = (state - 1) / 4;  // 0 unchecked, 1 checked, 2 mixed
        ApplyState(opt, (state - 1) % 4 + 1);
        opt.state &= ~QStyle::State_Raised;
        opt.state |= group == 1 ? QStyle::State_On : group == 2 ? QStyle::State_NoChange : QStyle::State_Off;
        style->drawPrimitive(part == 2 ? QStyle::PE_IndicatorRadioButton : QStyle::PE_IndicatorCheckBox, &opt, &p,
                             nullptr);
      }
      break;
    }
    case tcComboBox:
    case tcSpin: {
      QStyleOption opt;
      opt.rect = r;
      opt.palette = QApplication::palette();
      ApplyState(opt, state);
      style->drawPrimitive(QStyle::PE_PanelButtonCommand, &opt, &p, nullptr);
      QStyle::PrimitiveElement arrow = QStyle::PE_IndicatorArrowDown;
      if (cls == tcSpin)
        arrow = part == 1 ? QStyle::PE_IndicatorArrowUp
                : part == 2 ? QStyle::PE_IndicatorArrowDown
                : part == 3 ? QStyle::PE_IndicatorArrowRight
                            : QStyle::PE_IndicatorArrowLeft;
      const int inset = std::max(2, std::min(r.width(), r.height()) / 4);
      QStyleOption a = opt;
      a.rect = r.adjusted(inset, inset, -inset, -inset);
      style->drawPrimitive(arrow, &a, &p, nullptr);
      break;
    }
    case tcHeader: {
      QStyleOptionHeader opt;
      opt.rect = r;
      opt.palette = QApplication::palette();
      ApplyState(opt, state);
      opt.position = QStyleOptionHeader::Middle;
      style->drawControl(QStyle::CE_HeaderSection, &opt, &p, nullptr);
      break;
    }
    case tcProgress: {
      QStyleOptionProgressBar opt;
      opt.rect = r;
      opt.palette = QApplication::palette();
      opt.state = QStyle::State_Enabled;
      if (part == 2 || part == 4) opt.state &= ~QStyle::State_Horizontal;
      else opt.state |= QStyle::State_Horizontal;
      opt.minimum = 0;
      opt.maximum = 1;
      opt.progress = 1;
      style->drawControl(part <= 2 ? QStyle::CE_ProgressBarGroove : QStyle::CE_ProgressBarContents, &opt, &p,
                         nullptr);
      break;
    }
  }
}

}  // namespace

HTHEME DesktopOpenThemeData(HWND, const char16_t* ClassList) {
  if (!ClassList || !DesktopStyle()) return nullptr;
  // The first class of the list the style draws.
  std::string name;
  for (const char16_t* c = ClassList;; ++c) {
    if (*c == u';' || *c == 0) {
      TThemeClass cls;
      if (ClassOfName(name, cls)) return new TTheme{cls};
      name.clear();
      if (*c == 0) break;
    } else {
      name += *c < 0x80 ? static_cast<char>(*c) : '?';
    }
  }
  return nullptr;
}

int DesktopCloseThemeData(HTHEME Theme) {
  delete static_cast<TTheme*>(Theme);
  return 0;
}

bool DesktopThemePartDefined(HTHEME Theme, int PartId) {
  return Theme && PartId >= 1 && PartId <= PartCount(static_cast<TTheme*>(Theme)->Class);
}

int DesktopDrawThemeBackground(HTHEME Theme, TCanvas* DC, int PartId, int StateId, const TRect* Rect,
                               const TRect* ClipRect) {
  QStyle* style = DesktopStyle();
  if (!style || !DC || !Rect || !DesktopThemePartDefined(Theme, PartId)) return 1;
  const TThemeClass cls = static_cast<TTheme*>(Theme)->Class;
  const int maxState = cls == tcButton ? (PartId == 1 ? 5 : PartId == 2 ? 8 : 12) : 4;
  const int state = std::clamp(StateId, 1, maxState);
  TRect bounds = *Rect;
  if (ClipRect) {
    bounds.Left = std::max(bounds.Left, ClipRect->Left);
    bounds.Top = std::max(bounds.Top, ClipRect->Top);
    bounds.Right = std::min(bounds.Right, ClipRect->Right);
    bounds.Bottom = std::min(bounds.Bottom, ClipRect->Bottom);
  }
  if (bounds.IsEmpty() || Rect->IsEmpty()) return 0;
  const QRect r(Rect->Left, Rect->Top, Rect->Width(), Rect->Height());
  GfxPaintWithQt(DC, bounds, [&](QPainter& p, double) { DrawPart(style, p, cls, PartId, state, r); });
  return 0;
}

int DesktopIsThemeActive() { return DesktopStyle() ? 1 : 0; }

int DesktopGetCurrentThemeName(char16_t* ThemeFileName, int MaxNameChars, char16_t* ColorBuff, int MaxColorChars,
                               char16_t* SizeBuff, int MaxSizeChars) {
  QStyle* style = DesktopStyle();
  if (!style) return 1;
  auto put = [](char16_t* buf, int max, const std::u16string& s) {
    if (!buf || max <= 0) return;
    const size_t n = std::min(s.size(), static_cast<size_t>(max - 1));
    std::copy_n(s.begin(), n, buf);
    buf[n] = 0;
  };
  put(ThemeFileName, MaxNameChars, style->name().toStdU16String());
  put(ColorBuff, MaxColorChars, u"");
  put(SizeBuff, MaxSizeChars, u"");
  return 0;
}

void* DesktopThemeFunction(const std::string& Name) {
  if (Name == "OpenThemeData") return reinterpret_cast<void*>(&DesktopOpenThemeData);
  if (Name == "CloseThemeData") return reinterpret_cast<void*>(&DesktopCloseThemeData);
  if (Name == "DrawThemeBackground") return reinterpret_cast<void*>(&DesktopDrawThemeBackground);
  if (Name == "IsThemeActive") return reinterpret_cast<void*>(&DesktopIsThemeActive);
  if (Name == "GetCurrentThemeName") return reinterpret_cast<void*>(&DesktopGetCurrentThemeName);
  return nullptr;
}
