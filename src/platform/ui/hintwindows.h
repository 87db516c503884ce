// Hint windows: the class library's hint window (a borderless top-level
// window that shows a text without taking the focus), which descendants
// paint with rich content, and a balloon tip with a title line, an icon and
// its own colours.
#pragma once

#include <string>

#include "platform/ui/menuloop.h"

// What a control is asked when its hint is about to show: it may change the
// text, where and in which colour it shows. CursorPos is in the control's
// client coordinates, HintPos in screen coordinates.
struct THintInfo {
  TControl* HintControl = nullptr;
  TPoint CursorPos{0, 0};
  TRect CursorRect{};
  TPoint HintPos{0, 0};
  int HintMaxWidth = 0;
  TColor HintColor = clInfoBk;
  std::string HintStr;
};

class THintWindow : public TPopupControl {
  ZV_CLASS(THintWindow)
public:
  explicit THintWindow(TComponent* AOwner);
  // The size the text needs, as (0, 0, width, height), at most MaxWidth wide.
  virtual TRect CalcHintRect(int MaxWidth, const std::string& AHint);
  // Shows the text over Rect (screen coordinates) without activating anything.
  virtual void ActivateHint(TRect Rect, const std::string& AHint);
  // Hides the window.
  void ReleaseHandle();
  // The area of the monitor nearest the point, in screen coordinates.
  static TRect MonitorRectAt(TPoint P);

protected:
  void Paint() override;
};

enum TBalloonIcon { biNone = 0, biInfo = 1, biWarning = 2, biError = 3 };

// A balloon tip: a bold title line after its icon, the text below.
class TBalloonHint : public TPopupControl {
  ZV_CLASS(TBalloonHint)
public:
  explicit TBalloonHint(TComponent* AOwner);
  ~TBalloonHint() override;
  const std::string& Title() const { return FTitle; }
  const std::string& Text() const { return FText; }
  int Icon() const { return FIcon; }
  void SetContent(const std::string& ATitle, const std::string& AText, int AIcon);
  // clNone keeps the system's colours.
  TColor TextColor() const { return FTextColor; }
  void SetTextColor(TColor v) { FTextColor = v; Invalidate(); }
  TColor BackgroundColor() const { return FBackgroundColor; }
  void SetBackgroundColor(TColor v) { FBackgroundColor = v; Invalidate(); }
  // 255 opaque.
  int Alpha() const { return FAlpha; }
  void SetAlpha(int v);
  // Milliseconds; -1 keeps the system's.
  int InitialDelay = -1, ReshowDelay = -1, AutoHideDelay = -1;
  // Sizes itself to the content and shows with its tip at the screen point.
  void ShowAt(TPoint ScreenPos);
  // Hides it; the next show asks for the content again.
  void Pop();
  // The balloons that exist in the process.
  static int InstanceCount();

protected:
  void Paint() override;
  void CreateWnd() override;

private:
  TSize ContentSize();
  std::string FTitle, FText;
  int FIcon = biInfo;
  TColor FTextColor = clNone, FBackgroundColor = clNone;
  int FAlpha = 255;
};
