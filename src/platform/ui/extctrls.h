// Panels with bevels, timers.
#pragma once

#include <initializer_list>
#include <memory>
#include <string>

#include "platform/ui/controls.h"

// A panel publishes none of its own properties: TPanel publishes them all,
// other descendants choose theirs with PublishProperties (a chart keeps
// "BorderStyle" for an entry of its own).
class TCustomPanel : public TCustomControl {
  ZV_CLASS(TCustomPanel)
public:
  explicit TCustomPanel(TComponent* AOwner);
  // Publishes the named panel properties (Alignment, BevelInner, BevelOuter,
  // BevelWidth, BorderStyle, BorderWidth) on a descendant's class description.
  static void PublishProperties(TClassInfo& c, std::initializer_list<std::string> Names);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment v);
  TBevelCut BevelInner() const { return FBevelInner; }
  void SetBevelInner(TBevelCut v);
  TBevelCut BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TBevelCut v);
  int BevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(int v);
  int BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int v);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle v);
  TRect ClientRect() const override;

protected:
  void Paint() override;

  TAlignment FAlignment = taCenter;
  TBevelCut FBevelInner = bvNone;
  TBevelCut FBevelOuter = bvRaised;
  int FBevelWidth = 1;
  int FBorderWidth = 0;
  TBorderStyle FBorderStyle = bsNone;
};

class TPanel : public TCustomPanel {
  ZV_CLASS(TPanel)
public:
  explicit TPanel(TComponent* AOwner) : TCustomPanel(AOwner) {}
};

struct TTimerImpl;

// Fires OnTimer every Interval milliseconds while Enabled (and Interval > 0
// and OnTimer assigned), from the application's message loop.
class TTimer : public TComponent {
  ZV_CLASS(TTimer)
public:
  explicit TTimer(TComponent* AOwner);
  ~TTimer() override;
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool v);
  unsigned Interval() const { return FInterval; }
  void SetInterval(unsigned v);
  const TNotifyEvent& OnTimer() const { return FOnTimer; }
  void SetOnTimer(TNotifyEvent v);
  // Whether the timer is running (what the message loop would fire).
  bool Active() const;
  // Fires the timer now (the message loop calls it; tests may too).
  virtual void Timer();

  // All timers that exist, for tests that fire the due ones without waiting.
  static const std::vector<TTimer*>& AllTimers();

private:
  void UpdateTimer();
  bool FEnabled = true;
  unsigned FInterval = 1000;
  TNotifyEvent FOnTimer;
  std::unique_ptr<TTimerImpl> FImpl;
};
