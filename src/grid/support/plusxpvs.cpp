#include "grid/support/plusxpvs.h"

#include "platform/rtl/dynlib.h"
#include "platform/ui/themes.h"

TOpenThemeData OpenThemeData = nullptr;
TCloseThemeData CloseThemeData = nullptr;
TDrawThemeBackground DrawThemeBackground = nullptr;
TIsThemeActive IsThemeActive = nullptr;
TGetCurrentThemeName GetCurrentThemeName = nullptr;

namespace {

bool GLoaded = false;
HMODULE GModule = nullptr;

void ClearFunctions() {
  OpenThemeData = nullptr;
  CloseThemeData = nullptr;
  DrawThemeBackground = nullptr;
  IsThemeActive = nullptr;
  GetCurrentThemeName = nullptr;
  GLoaded = false;
}

// Only the functions the grid calls are bound; the other forty of the
// library are never used.
struct TInitXPVS {
  TInitXPVS() { InitXPVS(); }
  ~TInitXPVS() { DoneXPVS(); }
} GInit;

}  // namespace

bool XPVSLoaded() { return GLoaded; }

bool BindXPVS(const std::function<void*(const std::string& Name)>& Lookup) {
  ClearFunctions();
  if (!Lookup) return false;
  void* open = Lookup("OpenThemeData");
  void* close = Lookup("CloseThemeData");
  void* draw = Lookup("DrawThemeBackground");
  void* active = Lookup("IsThemeActive");
  void* name = Lookup("GetCurrentThemeName");
  if (!open || !close || !draw || !active || !name) return false;
  OpenThemeData = reinterpret_cast<TOpenThemeData>(open);
  CloseThemeData = reinterpret_cast<TCloseThemeData>(close);
  DrawThemeBackground = reinterpret_cast<TDrawThemeBackground>(draw);
  IsThemeActive = reinterpret_cast<TIsThemeActive>(active);
  GetCurrentThemeName = reinterpret_cast<TGetCurrentThemeName>(name);
  GLoaded = true;
  return true;
}

void InitXPVS() {
  if (GLoaded) return;
  HMODULE m = LoadLibrary("UXTHEME.DLL");
  if (!m) {
    // The desktop's widget style draws the parts instead.
    BindXPVS(DesktopThemeFunction);
    return;
  }
  if (BindXPVS([m](const std::string& n) { return GetProcAddress(m, n); }))
    GModule = m;
  else
    FreeLibrary(m);
}

void DoneXPVS() {
  if (GModule) FreeLibrary(GModule);
  GModule = nullptr;
  ClearFunctions();
}

bool DrawThemePart(TCanvas* Canvas, HWND Window, const char16_t* ClassName, int PartId, int StateId,
                   const TRect& Rect) {
  if (!GLoaded || !OpenThemeData) return false;
  HTHEME theme = OpenThemeData(Window, ClassName);
  if (!theme) return false;
  const bool drawn = DrawThemeBackground(theme, Canvas, PartId, StateId, &Rect, nullptr) == 0;
  CloseThemeData(theme);
  return drawn;
}

bool IsWinXPVersion(int Major, int Minor) { return Major > 5 || (Major == 5 && Minor > 0); }

bool IsWinXP() { return IsWinXPVersion(6, 0); }

bool ThemesActive() { return GLoaded && IsWinXP() && IsThemeActive && IsThemeActive() != 0; }

std::string CurrentThemeColorName() {
  if (!ThemesActive() || !GetCurrentThemeName) return {};
  char16_t file[260] = {}, color[260] = {}, size[260] = {};
  if (GetCurrentThemeName(file, 260, color, 260, size, 260) != 0) return {};
  std::u16string c(color);
  std::string out;
  for (char16_t ch : c) out += ch < 0x80 ? static_cast<char>(ch) : '?';
  return out;
}
