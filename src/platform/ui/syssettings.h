// The desktop settings that menus and toolbars follow, the monitors with
// their work areas, and the sound and help hooks. Linux has no such system
// store, so the settings are fixed defaults held in one place; tests (and the
// application) may change them. The monitors are the window system's unless
// a test installs its own.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/gfx/geometry.h"

struct TSystemSettings {
  int MenuShowDelay = 400;       // ms before a submenu opens under the mouse
  bool KeyboardCues = true;      // underline accelerators at all times
  bool FlatMenus = false;
  bool MenuAnimation = false;    // popups slide or fade open
  bool MenuFade = false;         // the fade (not the slide) when animating
  bool MenuDropAlignmentRight = false;
  int MenuCheckWidth = 13, MenuCheckHeight = 13;
  int SmallCaptionHeight = 15;   // caption of tool windows
  int SmallCaptionButtonWidth = 13;
  int FrameWidth = 4;            // sizeable frame
  std::string MenuFontName = "MS Sans Serif";
  int MenuFontHeight = -11;      // as TFont.Height
};

// The settings in force. The defaults are read once: keyboard cues as the
// window system's style reports them, menu animation off under the
// offscreen platform.
TSystemSettings& SystemSettings();
// Back to the defaults.
void ResetSystemSettings();

struct TMonitorInfo {
  TRect BoundsRect;
  TRect WorkareaRect;
  bool Primary = false;
};
// The monitors, the primary first.
std::vector<TMonitorInfo> Monitors();
// Installs monitors for tests; an empty list returns to the real ones.
void SetTestMonitors(std::vector<TMonitorInfo> monitors);

// System sounds ("MenuPopup", "MenuCommand") are the desktop's event sounds
// of the freedesktop sound theme ("menu-popup", "menu-click"), played through
// libcanberra when it is installed; a sound that cannot be played is
// silence. A hook, when installed, takes every request instead (and every
// event then counts as having a sound).
using TSoundHook = std::function<void(const std::string& EventName)>;
void PlaySystemSound(const std::string& EventName);
TSoundHook SetSoundHook(TSoundHook hook);  // returns the previous hook
// Whether the desktop's sound theme has a sound for the event: a file of its
// theme name under sounds/freedesktop/stereo in $XDG_DATA_HOME or one of
// $XDG_DATA_DIRS. True for every event while a hook is installed.
bool SystemSoundAssigned(const std::string& EventName);
// The sound theme's name of an event ("" for events it has no name for).
std::string DesktopSoundName(const std::string& EventName);

// Context help: the application may install a viewer; by default nothing.
using THelpHook = std::function<void(int HelpContext, bool Popup)>;
void ShowHelpContext(int HelpContext, bool Popup);
THelpHook SetHelpHook(THelpHook hook);
// Whether a help viewer is installed: help buttons and the caption's help
// icon show only then, so none offers help that cannot come.
bool HelpInstalled();
