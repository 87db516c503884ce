#include "platform/ui/syssettings.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QApplication>


namespace {

TSystemSettings Defaults() {
  TSystemSettings s;
  if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) {
    if (QStyle* st = app->style()) s.KeyboardCues = st->styleHint(QStyle::SH_UnderlineShortcut) != 0;
    // Real desktops animate menus; the offscreen platform shows them at once.
    bool offscreen = QGuiApplication::platformName() == QLatin1String("offscreen");
    s.MenuAnimation = !offscreen && app->isEffectEnabled(Qt::UI_AnimateMenu);
    s.MenuFade = !offscreen && app->isEffectEnabled(Qt::UI_FadeMenu);
  }
  return s;
}

TSystemSettings& Current() {
  static TSystemSettings s = Defaults();
  return s;
}

std::vector<TMonitorInfo>& TestMonitors() {
  static std::vector<TMonitorInfo> m;
  return m;
}

TSoundHook& SoundHook() {
  static TSoundHook h;
  return h;
}

THelpHook& HelpHook() {
  static THelpHook h;
  return h;
}

TRect ToRect(const QRect& r) { return TRect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height()); }

}  // namespace

TSystemSettings& SystemSettings() { return Current(); }

void ResetSystemSettings() { Current() = Defaults(); }

std::vector<TMonitorInfo> Monitors() {
  if (!TestMonitors().empty()) return TestMonitors();
  std::vector<TMonitorInfo> r;
  if (QGuiApplication::instance()) {
    QScreen* primary = QGuiApplication::primaryScreen();
    for (QScreen* s : QGuiApplication::screens()) {
      TMonitorInfo m{ToRect(s->geometry()), ToRect(s->availableGeometry()), s == primary};
      if (m.Primary) r.insert(r.begin(), m);
      else r.push_back(m);
    }
  }
  if (r.empty()) r.push_back({TRect(0, 0, 1024, 768), TRect(0, 0, 1024, 768), true});
  return r;
}

void SetTestMonitors(std::vector<TMonitorInfo> monitors) { TestMonitors() = std::move(monitors); }

void PlaySystemSound(const std::string& EventName) {
  if (SoundHook()) SoundHook()(EventName);
}

TSoundHook SetSoundHook(TSoundHook hook) {
  TSoundHook old = std::move(SoundHook());
  SoundHook() = std::move(hook);
  return old;
}

void ShowHelpContext(int HelpContext, bool Popup) {
  if (HelpHook()) HelpHook()(HelpContext, Popup);
}

bool HelpInstalled() { return static_cast<bool>(HelpHook()); }

THelpHook SetHelpHook(THelpHook hook) {
  THelpHook old = std::move(HelpHook());
  HelpHook() = std::move(hook);
  return old;
}
