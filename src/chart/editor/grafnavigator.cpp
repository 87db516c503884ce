#include "chart/editor/grafnavigator.h"

#include <algorithm>

#include "chart/core/grafutils.h"
#include "platform/rtl/format.h"
#include "platform/ui/forms.h"
#include "platform/ui/messages.h"

const std::array<const char*, GrafNavButtonCount>& DefaultNavigatorHints() {
  static const std::array<const char*, GrafNavButtonCount> hints{"First", "Prior", "Next", "Last", "Insert",
                                                                 "Delete", "Edit", "Post", "Cancel"};
  return hints;
}

namespace {
const char* const kButtonNames[GrafNavButtonCount] = {"First", "Prior", "Next", "Last", "Insert",
                                                      "Delete", "Edit", "Post", "Cancel"};
constexpr unsigned kInitialRepeatPause = 400;
constexpr unsigned kRepeatPause = 100;
}  // namespace

// ---- Buttons ---------------------------------------------------------------------

ZV_CLASS_IMPL_NOPROPS(TGrafNavButton, TSpeedButton)

TGrafNavButton::TGrafNavButton(TComponent* AOwner) : TSpeedButton(AOwner) {}

TGrafNavButton::~TGrafNavButton() = default;

void TGrafNavButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TSpeedButton::MouseDown(Button, Shift, X, Y);
  if (!FRepeatTimer) {
    FRepeatTimer = std::make_unique<TTimer>(nullptr);
    FRepeatTimer->SetEnabled(false);
    FRepeatTimer->SetOnTimer([this](TObject* Sender) { TimerExpired(Sender); });
  }
  FRepeatTimer->SetInterval(kInitialRepeatPause);
  FRepeatTimer->SetEnabled(true);
}

void TGrafNavButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TSpeedButton::MouseUp(Button, Shift, X, Y);
  if (FRepeatTimer) FRepeatTimer->SetEnabled(false);
}

void TGrafNavButton::Click() {
  if (Enabled()) TSpeedButton::Click();
}

void TGrafNavButton::TimerExpired(TObject*) {
  FRepeatTimer->SetInterval(kRepeatPause);
  if (State() == bsDown && MouseCapture() && Enabled()) {
    try {
      Click();
    } catch (...) {
      FRepeatTimer->SetEnabled(false);
      throw;
    }
  }
}

void TGrafNavButton::Paint() {
  TSpeedButton::Paint();
  auto* navigator = dynamic_cast<TCustomGrafNavigator*>(Parent());
  if (!navigator || !navigator->Focused() || navigator->CurrentButton() != Index) return;
  TRect r = Rect(3, 3, Width() - 3, Height() - 3);
  if (State() == bsDown) OffsetRect(r, 1, 1);
  Canvas()->DrawFocusRect(r);
}

// ---- The navigator ------------------------------------------------------------------

ZV_CLASS_IMPL_NOPROPS(TCustomGrafNavigator, TCustomPanelNoCaption)

TCustomGrafNavigator::TCustomGrafNavigator(TComponent* AOwner) : TCustomPanelNoCaption(AOwner) {
  SetControlStyle(ControlStyle() + TControlStyle{csOpaque});
  FHints = std::make_unique<TStringList>();
  FHints->OnChange = [this](TObject*) { ApplyHints(); };
  CreateButtons();
  ApplyHints();
  SetBevelOuter(bvNone);
  SetBevelInner(bvNone);
  SetBounds(Left(), Top(), 241, 25);
  FCurrentButton = 0;
}

TCustomGrafNavigator::~TCustomGrafNavigator() {
  if (FPanel) {
    FPanel->RemoveListener(this);
    FPanel->RemoveFreeNotification(this);
    FPanel = nullptr;
  }
}

void TCustomGrafNavigator::CreateButtons() {
  for (int i = 0; i < GrafNavButtonCount; ++i) {
    auto* b = new TGrafNavButton(this);
    b->Index = i;
    b->SetFlat(true);
    b->SetBounds(i * MinButtonWidth, 0, MinButtonWidth, MinButtonHeight);
    b->SetEnabled(false);
    TBitmap glyph;
    if (LoadBitmapResource(&glyph, Format("GrafNav_%s", {std::string(kButtonNames[i])}), "")) {
      b->SetGlyph(&glyph);
      b->SetNumGlyphs(2);
    }
    b->OnClick = [this, i](TObject*) { BtnClick(i); };
    b->OnMouseDown = [this, b](TObject*, TMouseButton, TShiftState, int, int) { ButtonMouseDown(b); };
    b->SetParent(this);
    FButtons[i] = b;
  }
  for (int i = nbInsert; i <= nbCancel; ++i) FButtons[i]->SetVisible(false);
}

void TCustomGrafNavigator::ApplyHints() {
  for (int i = 0; i < GrafNavButtonCount; ++i) {
    if (!FButtons[i]) continue;
    std::string hint = DefaultNavigatorHints()[i];
    if (i < FHints->Count() && !FHints->Strings(i).empty()) hint = FHints->Strings(i);
    FButtons[i]->SetHint(hint);
  }
}

void TCustomGrafNavigator::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  // Inside our own resizing (the parent aligning us) the outer call lays out.
  if (FSizing || !FButtons[0] || ComponentState().Contains(csLoading)) {
    TCustomPanelNoCaption::SetBounds(ALeft, ATop, AWidth, AHeight);
    return;
  }
  int n = 0;
  for (TGrafNavButton* b : FButtons)
    if (b->Visible()) ++n;
  n = std::max(n, 1);
  int width = std::max(AWidth, n * MinButtonWidth);
  const int height = std::max(AHeight, MinButtonHeight);
  FButtonWidth = width / n;
  if (Align() == alNone) width = n * FButtonWidth;
  FSizing = true;
  try {
    TCustomPanelNoCaption::SetBounds(ALeft, ATop, width, height);
  } catch (...) {
    FSizing = false;
    throw;
  }
  FSizing = false;
  LayoutButtons();
}

void TCustomGrafNavigator::LayoutButtons() {
  int n = 0;
  for (TGrafNavButton* b : FButtons)
    if (b->Visible()) ++n;
  n = std::max(n, 1);
  const int w = Width() / n;
  FButtonWidth = w;
  const int spare = Width() - n * w;
  const int h = Height() - (BorderStyle() == bsSingle ? 4 : 0);
  int counter = n / 2;
  int x = 0;
  for (TGrafNavButton* b : FButtons) {
    if (!b->Visible()) {
      b->SetBounds(Width() + 1, 0, w, h);
      continue;
    }
    int bw = w;
    counter -= spare;
    if (counter < 0) {
      ++bw;
      counter += n;
    }
    b->SetBounds(x, 0, bw, h);
    x += bw;
  }
}

void TCustomGrafNavigator::Resize() {
  TCustomPanelNoCaption::Resize();
  if (!FSizing && FButtons[0]) LayoutButtons();
}

void TCustomGrafNavigator::Loaded() {
  TCustomPanelNoCaption::Loaded();
  SetBounds(Left(), Top(), Width(), Height());
}

void TCustomGrafNavigator::SetPanel(TCustomGrafPanel* Panel) {
  if (Panel == FPanel) return;
  if (FPanel) {
    FPanel->RemoveListener(this);
    FPanel->RemoveFreeNotification(this);
  }
  FPanel = Panel;
  if (FPanel) {
    FPanel->FreeNotification(this);
    FPanel->Listeners()->AddListener(this);
  }
  EnableButtons();
}

void TCustomGrafNavigator::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomPanelNoCaption::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FPanel) {
    FPanel = nullptr;
    EnableButtons();
  }
}

void TCustomGrafNavigator::BtnClick(int Index) {
  EnableButtons();
  if (OnButtonClicked) OnButtonClicked(this, Index);
}

void TCustomGrafNavigator::SetEnabled(bool Value) {
  TCustomPanelNoCaption::SetEnabled(Value);
  if (!ComponentState().Contains(csLoading)) EnableButtons();
}

void TCustomGrafNavigator::ButtonMouseDown(TGrafNavButton* Button) {
  const int old = FCurrentButton;
  FCurrentButton = Button->Index;
  if (old != FCurrentButton) {
    FButtons[old]->Invalidate();
    Button->Invalidate();
  }
  if (TabStop() && CanFocus()) SetFocus();
}

void TCustomGrafNavigator::KeyDown(uint16_t& Key, TShiftState Shift) {
  TCustomPanelNoCaption::KeyDown(Key, Shift);
  const int old = FCurrentButton;
  switch (Key) {
    case VK_SPACE:
      if (FButtons[FCurrentButton]->Enabled()) FButtons[FCurrentButton]->Click();
      return;
    case VK_LEFT:
      for (int i = FCurrentButton - 1; i >= 0; --i)
        if (FButtons[i]->Visible()) {
          FCurrentButton = i;
          break;
        }
      break;
    case VK_RIGHT:
      for (int i = FCurrentButton + 1; i < GrafNavButtonCount; ++i)
        if (FButtons[i]->Visible()) {
          FCurrentButton = i;
          break;
        }
      break;
    default: return;
  }
  if (old != FCurrentButton) {
    FButtons[old]->Invalidate();
    FButtons[FCurrentButton]->Invalidate();
  }
}

void TCustomGrafNavigator::WMGetDlgCode(TMessage& M) { M.Result = DLGC_WANTARROWS; }

void TCustomGrafNavigator::WMSetFocus(TMessage& M) {
  TCustomPanelNoCaption::WMSetFocus(M);
  FButtons[FCurrentButton]->Invalidate();
}

void TCustomGrafNavigator::WMKillFocus(TMessage& M) {
  TCustomPanelNoCaption::WMKillFocus(M);
  FButtons[FCurrentButton]->Invalidate();
}

void RegisterNavigatorClasses() {
  RegisterClasses({&TGrafNavButton::StaticClass(), &TCustomGrafNavigator::StaticClass()});
}
