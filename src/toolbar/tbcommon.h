// Small services shared by the toolbar library: caption texts and their
// accelerators, the desktop settings menus follow, monitor rectangles, the
// halftone outline and object lists created on demand.
#pragma once

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/geometry.h"
#include "platform/gfx/graphics.h"

// "&&" becomes "&", every other "&" goes and the character after it stays.
std::string RemoveAmpersands(const std::string& S);
std::string DoubleAmpersands(const std::string& S);
// Drops a final ":" (texts longer than one character), else a final "..."
// (texts longer than three).
std::string TrimTrailingColonOrEllipsis(const std::string& S);
// The last character marked by a single "&" (a final "&" ends the scan), 0
// when none.
char AcceleratorOf(const std::string& S);
char LowerCaseChar(char C);

// Width of the text on the canvas's font, optionally without its ampersands.
int TextWidthOf(TCanvas* Canvas, const std::string& S, bool RemovePrefix);
int TextHeightOf(TCanvas* Canvas);

// Desktop settings (fixed defaults on Linux, see platform/ui/syssettings.h).
int MenuShowDelay();  // never negative
bool FlatMenusOn();
bool KeyboardCuesOn();
// SystemSoundAssigned and PlaySystemSound ("MenuPopup", "MenuCommand") are
// the layer's (platform/ui/syssettings.h).

// The monitor nearest to the rectangle or point (its work area or its whole
// area); with one monitor that monitor.
TRect MonitorRectForRect(const TRect& R, bool WorkArea);
TRect MonitorRectForPoint(const TPoint& P, bool WorkArea);
TRect ScreenOrWorkAreaRect(bool WorkArea);
// The rectangle around every monitor (the virtual screen).
TRect VirtualScreenRect();
bool SeveralMonitorsInUse();

// The frame of a rectangle Thickness wide, as a region (empty for an empty
// rectangle).
TRegion FrameRegion(const TRect& R, TPoint Thickness);
// The checkerboard brush of drag and size outlines; the caller owns it.
std::unique_ptr<TBrush> NewHalftoneBrush();
// Inverts (pattern xor) the difference of the old and new frame outlines.
void InvertFrameDifferenceHalftone(TCanvas* Canvas, const TRect& NewRect, const TRect& OldRect, TPoint OldThickness,
                                   TPoint NewThickness);

// Object lists created on demand; objects are not owned.
template <class T>
bool ListAddOnce(std::unique_ptr<std::vector<T*>>& List, T* Item) {
  if (!List) List = std::make_unique<std::vector<T*>>();
  if (std::find(List->begin(), List->end(), Item) != List->end()) return false;
  List->push_back(Item);
  return true;
}
template <class T>
bool ListInsertFirstOnce(std::unique_ptr<std::vector<T*>>& List, T* Item) {
  if (!List) List = std::make_unique<std::vector<T*>>();
  if (std::find(List->begin(), List->end(), Item) != List->end()) return false;
  List->insert(List->begin(), Item);
  return true;
}
template <class T>
void ListRemoveAndFreeEmpty(std::unique_ptr<std::vector<T*>>& List, T* Item) {
  if (!List) return;
  auto it = std::find(List->begin(), List->end(), Item);
  if (it != List->end()) List->erase(it);
  if (List->empty()) List.reset();
}

inline int SmallerOf(int A, int B) { return A < B ? A : B; }
