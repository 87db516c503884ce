#include "platform/ui/syssettings.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QApplication>

#include <dlfcn.h>
#include <sys/stat.h>

#include <cstdlib>


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

std::string DesktopSoundName(const std::string& EventName) {
  if (EventName == "MenuPopup") return "menu-popup";
  if (EventName == "MenuCommand") return "menu-click";
  return "";
}

namespace {

std::vector<std::string> SoundBaseDirs() {
  std::vector<std::string> dirs;
  const char* home = std::getenv("XDG_DATA_HOME");
  const char* user = std::getenv("HOME");
  if (home && *home) dirs.push_back(home);
  else if (user && *user) dirs.push_back(std::string(user) + "/.local/share");
  const char* data = std::getenv("XDG_DATA_DIRS");
  std::string list = data && *data ? data : "/usr/local/share:/usr/share";
  size_t start = 0;
  while (start <= list.size()) {
    size_t end = list.find(':', start);
    if (end == std::string::npos) end = list.size();
    if (end > start) dirs.push_back(list.substr(start, end - start));
    start = end + 1;
  }
  return dirs;
}

// libcanberra, looked up at run time: a desktop without it is silent.
struct TCanberra {
  using TCreate = int (*)(void**);
  using TPlay = int (*)(void*, uint32_t, ...);
  void* Context = nullptr;
  TPlay Play = nullptr;
  TCanberra() {
    void* lib = dlopen("libcanberra.so.0", RTLD_LAZY | RTLD_LOCAL);
    if (!lib) return;
    auto create = reinterpret_cast<TCreate>(dlsym(lib, "ca_context_create"));
    Play = reinterpret_cast<TPlay>(dlsym(lib, "ca_context_play"));
    if (!create || !Play || create(&Context) != 0) Context = nullptr;
  }
};

}  // namespace

bool SystemSoundAssigned(const std::string& EventName) {
  if (SoundHook()) return true;
  const std::string name = DesktopSoundName(EventName);
  if (name.empty()) return false;
  for (const std::string& base : SoundBaseDirs())
    for (const char* ext : {".oga", ".ogg", ".wav"}) {
      struct stat st{};
      const std::string file = base + "/sounds/freedesktop/stereo/" + name + ext;
      if (stat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode)) return true;
    }
  return false;
}

void PlaySystemSound(const std::string& EventName) {
  if (SoundHook()) {
    SoundHook()(EventName);
    return;
  }
  const std::string name = DesktopSoundName(EventName);
  if (name.empty()) return;
  static TCanberra canberra;
  if (!canberra.Context) return;
  // Asynchronous; whatever goes wrong stays silent.
  canberra.Play(canberra.Context, 0, "event.id", name.c_str(), "event.description", EventName.c_str(),
                static_cast<const char*>(nullptr));
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
