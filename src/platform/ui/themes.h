// The visual-style entry points, served by the desktop's widget style: push,
// check and radio buttons, combo-box and spin buttons, header items and
// progress bars are drawn as the desktop draws its own. Classes and parts
// are numbered as the callers expect: "button" (1 push, 2 radio, 3 check
// box), "combobox" (1 drop-down button), "spin" (1 up, 2 down, 3 up and
// 4 down side by side), "header" (1 item), "progress" (1 bar, 2 vertical
// bar, 3 chunk, 4 vertical chunk). States count from 1 (normal), 2 hot,
// 3 pressed, 4 disabled; radio buttons and check boxes add 4 for checked
// (check boxes 8 for mixed); a push button's 5 is the default button.
#pragma once

#include <string>

#include "platform/gfx/graphics.h"
#include "platform/ui/messages.h"

using HTHEME = void*;

// A handle for the class list (';'-separated, case ignored): nil when the
// desktop style draws none of the classes. CloseThemeData frees it.
HTHEME DesktopOpenThemeData(HWND Window, const char16_t* ClassList);
int DesktopCloseThemeData(HTHEME Theme);
// Draws the part in the state into Rect (clipped to Clip when given);
// 0 on success, non-zero for a nil theme or a part the class lacks.
int DesktopDrawThemeBackground(HTHEME Theme, TCanvas* DC, int PartId, int StateId, const TRect* Rect,
                               const TRect* ClipRect);
// Non-zero while a desktop style is there to draw with.
int DesktopIsThemeActive();
// The style's name as the theme file name; no colour scheme, no size name.
int DesktopGetCurrentThemeName(char16_t* ThemeFileName, int MaxNameChars, char16_t* ColorBuff, int MaxColorChars,
                               char16_t* SizeBuff, int MaxSizeChars);
// Whether the class of the theme has the part.
bool DesktopThemePartDefined(HTHEME Theme, int PartId);
// The entry points above by their library names (OpenThemeData, ...); nil
// for any other name.
void* DesktopThemeFunction(const std::string& Name);
