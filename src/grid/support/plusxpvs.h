// The visual-style library, bound at run time: the grid draws check boxes,
// radio buttons, push, combo and spin buttons with the current visual style
// when one is active and in the classic look otherwise. The library is
// loaded once at start-up; where there is none the desktop's widget style
// serves the same entry points. A library that lacks any of the functions
// below counts as absent (classic look), and start-up goes on.
#pragma once

#include <functional>
#include <string>

#include "platform/gfx/graphics.h"
#include "platform/ui/messages.h"

using HTHEME = void*;

using TOpenThemeData = HTHEME (*)(HWND Window, const char16_t* ClassList);
using TCloseThemeData = int (*)(HTHEME Theme);
using TDrawThemeBackground = int (*)(HTHEME Theme, TCanvas* DC, int PartId, int StateId, const TRect* Rect,
                                     const TRect* ClipRect);
using TIsThemeActive = int (*)();
using TGetCurrentThemeName = int (*)(char16_t* ThemeFileName, int MaxNameChars, char16_t* ColorBuff,
                                     int MaxColorChars, char16_t* SizeBuff, int MaxSizeChars);

// The five functions the grid calls; all set when XPVSLoaded(), all nil otherwise.
extern TOpenThemeData OpenThemeData;
extern TCloseThemeData CloseThemeData;
extern TDrawThemeBackground DrawThemeBackground;
extern TIsThemeActive IsThemeActive;
extern TGetCurrentThemeName GetCurrentThemeName;

bool XPVSLoaded();
// Start-up: loads "UXTHEME.DLL" once and binds the functions by name. Runs
// at program start; later calls do nothing while the library is bound.
void InitXPVS();
// End: releases the library and clears the functions.
void DoneXPVS();
// Binds through a lookup instead of the library (tests; nil ends it): every
// name must resolve or nothing is bound.
bool BindXPVS(const std::function<void*(const std::string& Name)>& Lookup);

// Opens the class, draws the part in the state and closes it again; false
// when nothing was drawn (no library, or a class or part it lacks).
bool DrawThemePart(TCanvas* Canvas, HWND Window, const char16_t* ClassName, int PartId, int StateId,
                   const TRect& Rect);

// The version test made before any bound function is called: major above 5,
// or 5 with a minor above 0.
bool IsWinXPVersion(int Major, int Minor);
// The test for this system (the window system here always qualifies).
bool IsWinXP();
// Visual styles are drawn: the library is bound, the version test passes and
// IsThemeActive answers true.
bool ThemesActive();
// The colour-scheme name of the current visual style ("NormalColor", ...);
// empty without one.
std::string CurrentThemeColorName();
