// A bar of nine navigation buttons (first, prior, next, last, insert,
// delete, edit, post, cancel) bound to a chart panel as one of its event
// listeners, with hints, keyboard handling and auto-repeat of a held button.
// The chart page navigator and the data grid's navigator derive from it.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "chart/core/grafpanel.h"
#include "platform/rtl/stringlist.h"
#include "platform/ui/buttons.h"
#include "platform/ui/extctrls.h"

enum TGrafNavigateBtn { nbFirst, nbPrior, nbNext, nbLast, nbInsert, nbDelete, nbEdit, nbPost, nbCancel };
constexpr int GrafNavButtonCount = 9;

using TNotifyButtonClickedEvent = std::function<void(TObject* Sender, int Index)>;

class TCustomGrafNavigator;

// One button: a press repeats its click, after 400 ms and then every
// 100 ms, while it is held down.
class TGrafNavButton : public TSpeedButton {
  ZV_CLASS(TGrafNavButton)
public:
  explicit TGrafNavButton(TComponent* AOwner);
  ~TGrafNavButton() override;
  int Index = 0;
  // The repeat timer (nil until the first press; tests fire it by hand).
  TTimer* RepeatTimer() const { return FRepeatTimer.get(); }
  // A button disabled while it was held (the last page reached) clicks no more.
  void Click() override;

protected:
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Paint() override;
  void TimerExpired(TObject* Sender);

private:
  std::unique_ptr<TTimer> FRepeatTimer;
};

class TCustomGrafNavigator : public TCustomPanelNoCaption, public IPanelEventListener {
  ZV_CLASS(TCustomGrafNavigator)
public:
  explicit TCustomGrafNavigator(TComponent* AOwner);
  ~TCustomGrafNavigator() override;

  // ---- New virtual operations, in slot order ----
  virtual void CreateButtons();
  virtual void ChartEvent(TGrafEvent*) {}
  virtual void SetPanel(TCustomGrafPanel* Panel);
  virtual void EnableButtons() {}
  virtual int PageCount() { return 1; }
  virtual void PrintPages() {}
  // Dynamic: a button was clicked.
  virtual void BtnClick(int Index);

  TCustomGrafPanel* Panel() const { return FPanel; }
  TGrafNavButton* Buttons(TGrafNavigateBtn Button) const { return FButtons[Button]; }
  // Custom hints, one a line in button order; an empty line keeps the default.
  TStringList* Hints() const { return FHints.get(); }
  // The button that Space clicks and the arrow keys move.
  int CurrentButton() const { return FCurrentButton; }
  int ButtonWidth() const { return FButtonWidth; }

  TNotifyButtonClickedEvent OnButtonClicked;

  void HandlePanelEvent(TGrafEvent* Event) override { ChartEvent(Event); }
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void SetEnabled(bool Value) override;
  void KeyDown(uint16_t& Key, TShiftState Shift) override;

  static constexpr int MinButtonWidth = 20;
  static constexpr int MinButtonHeight = 18;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Loaded() override;
  void Resize() override;
  void WMGetDlgCode(TMessage& M) override;
  void WMSetFocus(TMessage& M) override;
  void WMKillFocus(TMessage& M) override;
  void ApplyHints();
  // Places the visible buttons side by side, spreading the spare pixels.
  void LayoutButtons();
  void ButtonMouseDown(TGrafNavButton* Button);

  std::array<TGrafNavButton*, GrafNavButtonCount> FButtons{};
  TCustomGrafPanel* FPanel = nullptr;
  std::unique_ptr<TStringList> FHints;
  int FButtonWidth = 0;
  int FCurrentButton = 0;
  bool FSizing = false;
};

// The default hints, in button order.
const std::array<const char*, GrafNavButtonCount>& DefaultNavigatorHints();

void RegisterNavigatorClasses();
