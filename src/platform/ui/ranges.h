// Controls that hold a whole number inside a range: the up-down buttons
// beside an edit, the track bar and the scroll bar. Which value changes fire
// which events follows the class library: the up-down fires its own events
// only for the user's presses (a Position set from code only rewrites its
// edit, whose OnChange fires); a track bar's and a scroll bar's OnChange
// fire for every change of Position, from code too.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/ui/controls.h"

class TTimer;

enum TUDAlignButton { udLeft, udRight };
enum TUDOrientation { udHorizontal, udVertical };
enum TUDBtnType { btNext, btPrev };
using TUDClickEvent = std::function<void(TObject* Sender, TUDBtnType Button)>;
using TUDChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

// Two arrow buttons that step Position by Increment between Min and Max.
// With an Associate (an edit) the position is the edit's number: setting it
// writes the edit's text, reading it reads the text back (kept inside the
// range; a text that is no number leaves the last position). Associating
// narrows the edit by the up-down's width and puts the up-down in that room
// (at its right with udRight, at its left with udLeft); with ArrowKeys the
// edit's Up and Down keys press the buttons.
class TUpDown : public TCustomControl {
  ZV_CLASS(TUpDown)
public:
  explicit TUpDown(TComponent* AOwner);
  ~TUpDown() override;

  int Min() const { return FMin; }
  void SetMin(int v);
  int Max() const { return FMax; }
  void SetMax(int v);
  int Increment() const { return FIncrement; }
  void SetIncrement(int v) { FIncrement = v; }
  int Position() const;
  // Kept inside Min..Max; the associate shows it. Fires no event of the
  // up-down.
  void SetPosition(int v);
  TWinControl* Associate() const { return FAssociate; }
  void SetAssociate(TWinControl* v);
  TUDAlignButton AlignButton() const { return FAlignButton; }
  void SetAlignButton(TUDAlignButton v) { FAlignButton = v; }
  TUDOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TUDOrientation v);
  // Stepping past one end goes to the other.
  bool Wrap() const { return FWrap; }
  void SetWrap(bool v) { FWrap = v; }
  // The associate's text groups thousands with ',' ("1,000").
  bool Thousands() const { return FThousands; }
  void SetThousands(bool v);
  bool ArrowKeys() const { return FArrowKeys; }
  void SetArrowKeys(bool v) { FArrowKeys = v; }

  // A press of a button (mouse, the associate's arrow key): OnChanging may
  // refuse the step; otherwise Position moves (wrapping or stopping at the
  // ends), then OnClick tells which button.
  void Press(TUDBtnType Button);
  // The timer that repeats a held button (tests fire it by hand).
  TTimer* RepeatTimer() const { return FRepeat.get(); }

  // Hides TControl's OnClick and Click: the up-down tells which button was
  // pressed.
  using TCustomControl::Click;
  TUDClickEvent OnClick;
  TUDChangingEvent OnChanging;

protected:
  void CreateWnd() override;
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void WMCancelMode(TMessage& M) override;
  void CMEnabledChanged(TMessage& M) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  virtual bool CanChange();
  virtual void Click(TUDBtnType Button);

private:
  struct THook;
  int Clamped(int v) const;
  std::string PositionText(int v) const;
  void ShowPosition();
  void Unhook();
  void StopRepeat();
  TUDBtnType ButtonAt(int X, int Y) const;
  int FMin = 0;
  int FMax = 100;
  int FIncrement = 1;
  mutable int FPosition = 0;
  TWinControl* FAssociate = nullptr;
  std::shared_ptr<THook> FHook;
  TUDAlignButton FAlignButton = udRight;
  TUDOrientation FOrientation = udVertical;
  bool FWrap = false;
  bool FThousands = true;
  bool FArrowKeys = true;
  // The button held down with the mouse (-1: none).
  int FPressed = -1;
  std::unique_ptr<TTimer> FRepeat;
};

enum TTrackBarOrientation { trHorizontal, trVertical };
enum TTickStyle { tsNone, tsAuto, tsManual };
enum TTickMark { tmBottomRight, tmTopLeft, tmBoth };

// A slider. The keys step it as the window system's track bar does: Left
// and Up by -LineSize, Right and Down by +LineSize, Page Up and Page Down by
// PageSize, Home and End to the ends (a vertical bar has Min at the top).
class TTrackBar : public TWinControl {
  ZV_CLASS(TTrackBar)
public:
  explicit TTrackBar(TComponent* AOwner);

  int Min() const { return FMin; }
  void SetMin(int v);
  int Max() const { return FMax; }
  void SetMax(int v);
  int Position() const { return FPosition; }
  // Kept inside Min..Max; a change fires OnChange.
  void SetPosition(int v);
  // A tick every Frequency positions (tsAuto).
  int Frequency() const { return FFrequency; }
  void SetFrequency(int v);
  TTickStyle TickStyle() const { return FTickStyle; }
  void SetTickStyle(TTickStyle v);
  TTickMark TickMarks() const { return FTickMarks; }
  void SetTickMarks(TTickMark v);
  TTrackBarOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TTrackBarOrientation v);
  int PageSize() const { return FPageSize; }
  void SetPageSize(int v);
  int LineSize() const { return FLineSize; }
  void SetLineSize(int v);
  TNotifyEvent OnChange;

  void KeyDown(uint16_t& Key, TShiftState Shift) override;

protected:
  friend struct TTrackBarAccess;
  void CreateWnd() override;
  bool CustomPainted() const override { return false; }
  void WMGetDlgCode(TMessage& M) override;
  void WMLButtonDown(TMessage& M) override;
  virtual void Changed();

private:
  void SetRange(int AMin, int AMax);
  void SyncWidget();
  int FMin = 0;
  int FMax = 10;
  int FPosition = 0;
  int FFrequency = 1;
  TTickStyle FTickStyle = tsAuto;
  TTickMark FTickMarks = tmBottomRight;
  TTrackBarOrientation FOrientation = trHorizontal;
  int FPageSize = 2;
  int FLineSize = 1;
  bool FSyncing = false;
};

enum TScrollBarKind { sbHorizontal, sbVertical };
enum TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };
using TScrollEvent = std::function<void(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos)>;

// A scroll bar. The user's scrolling (arrows, the page areas, the thumb,
// keys, wheel) first asks OnScroll, which may change the position it is
// about to take; every change of Position fires OnChange, from code too.
// The thumb reaches Max - PageSize + 1 when PageSize is above 0.
class TScrollBar : public TWinControl {
  ZV_CLASS(TScrollBar)
public:
  explicit TScrollBar(TComponent* AOwner);

  TScrollBarKind Kind() const { return FKind; }
  void SetKind(TScrollBarKind v);
  int Min() const { return FMin; }
  void SetMin(int v) { SetParams(FPosition, v, FMax); }
  int Max() const { return FMax; }
  void SetMax(int v) { SetParams(FPosition, FMin, v); }
  int Position() const { return FPosition; }
  void SetPosition(int v) { SetParams(v, FMin, FMax); }
  // Raises EInvalidOperation "Scroll bar property out of range" for a
  // negative page or one larger than the range.
  int PageSize() const { return FPageSize; }
  void SetPageSize(int v);
  int LargeChange() const { return FLargeChange; }
  void SetLargeChange(int v) { FLargeChange = v; }
  int SmallChange() const { return FSmallChange; }
  void SetSmallChange(int v) { FSmallChange = v; }
  // Sets the range and the position (kept inside it) at once; raises
  // EInvalidOperation "Scroll bar property out of range" when AMax is below
  // AMin or below PageSize. OnChange fires when the position changed.
  void SetParams(int APosition, int AMin, int AMax);
  TNotifyEvent OnChange;
  TScrollEvent OnScroll;

  // What the widget reports (tests may call it): the user scrolled.
  void UserScroll(TScrollCode Code, int Pos);

protected:
  friend struct TScrollBarAccess;
  void CreateWnd() override;
  bool CustomPainted() const override { return false; }
  virtual void Change();
  virtual void Scroll(TScrollCode ScrollCode, int& ScrollPos);

private:
  void SyncWidget();
  // The highest position the thumb reaches.
  int ThumbMax() const;
  TScrollBarKind FKind = sbHorizontal;
  int FMin = 0;
  int FMax = 100;
  int FPosition = 0;
  int FPageSize = 0;
  int FLargeChange = 1;
  int FSmallChange = 1;
  bool FSyncing = false;
};
