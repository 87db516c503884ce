#include "toolbar/tbmenuloop.h"

#include <climits>

#include "platform/ui/forms.h"
#include "platform/ui/sound.h"
#include "toolbar/tbacc.h"
#include "toolbar/tbanim.h"

namespace {
TTBModalHandler* ActiveHandler = nullptr;
}

TTBModalHandler* TTBModalHandler::Active() { return ActiveHandler; }

TTBModalHandler::TTBModalHandler(TWinControl* AWindow) : FWindow(AWindow), FAnimationTimer(new TTimer(nullptr)) {
  FAnimationTimer->SetEnabled(false);
  FAnimationTimer->SetInterval(10);
  FAnimationTimer->SetOnTimer([this](TObject*) { AnimationPass(); });
}

void TTBModalHandler::AnimationPass() {
  StepMenuAnimation();
  bool running = IsMenuAnimating();
  if (FAnimationTimer->Enabled() != running) FAnimationTimer->SetEnabled(running);
}

TTBModalHandler::~TTBModalHandler() = default;

bool TTBModalHandler::Finished() const {
  return FLeave || !FRootView || FRootView->DoneActionData().DoneAction != tbdaNone;
}

TTBView* TTBModalHandler::DeepestView() {
  TTBView* v = FRootView;
  while (v && v->OpenViewerView()) v = v->OpenViewerView();
  return v;
}

void TTBModalHandler::UpdateAllSelections(TPoint P, bool AllowNewSelection, TWinControl* Under) {
  TTBView* d = DeepestView();
  TTBView* c = nullptr;
  for (TTBView* v = d; v; v = v->ParentView())
    if (v->Capture()) {
      c = v;
      break;
    }
  if (c) {
    c->UpdateSelection(P, AllowNewSelection, Under);
    return;
  }
  for (TTBView* v = d; v; v = v->ParentView()) {
    v->UpdateSelection(P, AllowNewSelection, Under);
    if (v == FRootView) break;
  }
}

bool TTBModalHandler::GetTarget(TTBView*& View, TTBItemViewer*& Viewer) {
  for (TTBView* v = FRootView; v; v = v->OpenViewerView())
    if (v->Capture()) {
      View = v;
      Viewer = v->Selected();
      return true;
    }
  for (TTBView* v = FRootView; v; v = v->OpenViewerView()) {
    if (v->Selected() && v->MouseOverSelected()) {
      View = v;
      Viewer = v->Selected();
      return true;
    }
    if (v->State() & vsMouseInWindow) {
      View = v;
      Viewer = nullptr;
      return true;
    }
  }
  View = nullptr;
  Viewer = nullptr;
  return false;
}

TPoint TTBModalHandler::ViewerPos(TTBView* View, TTBItemViewer* Viewer, TPoint Screen) {
  TPoint p = View->Window() ? View->Window()->ScreenToClient(Screen) : Screen;
  return TPoint(p.X - Viewer->BoundsRect.Left, p.Y - Viewer->BoundsRect.Top);
}

void TTBModalHandler::MouseMoved(TWinControl* Under) {
  UpdateAllSelections(FLastPos, true, Under);
  if (Application) Application->CancelHint();
}

void TTBModalHandler::HandleKey(const TInputEvent& E) {
  if (Application) Application->CancelHint();
  bool buttonsDown = FLeftDown || (FTrackRightButton && FRightDown);
  if (E.Kind != ikKeyDown) return;
  if (buttonsDown && E.Key != VK_F1) return;
  TTBView* d = DeepestView();
  uint16_t key = E.Key;
  if (d->Selected()) d->Selected()->KeyDown(key, E.Shift);
  if (Finished()) return;
  if (key != 0) d->KeyDown(key, E.Shift);
  if (Finished() || key == 0) return;
  // Not a navigation key: the character it types chooses by accelerator.
  if (E.Text.size() != 1 || buttonsDown) return;
  char ch = E.Text[0];
  d = DeepestView();
  bool unique = false;
  if (TTBItemViewer* v = d->FindAccelerator(d->Selected(), ch, unique, false)) {
    d->SetSelected(v);
    d->ScrollSelectedIntoView();
    if (unique) d->ExecuteSelected(true);
  } else if ((ch == ' ' || ch == '-') && FRootView->IsToolbar() && d == FRootView && FRootView->Window()) {
    FRootView->EndModalWithSystemMenu(FRootView->Window()->Handle(), static_cast<uint32_t>(ch));
  } else {
    MessageBeep(0);
  }
}

namespace {
// The long part of a hint ("short|long"); the whole hint when it has one part.
std::string LongHint(const std::string& h) {
  size_t bar = h.find('|');
  return bar == std::string::npos ? h : h.substr(bar + 1);
}
}  // namespace

void TTBModalHandler::UpdateStatusHint() {
  if (!Application || !FRootView) return;
  std::string hint;
  for (TTBView* v = FRootView; v; v = v->OpenViewerView()) {
    if (!v->Selected()) break;
    hint = LongHint(v->Selected()->Item->Hint());
    if (!v->OpenViewerView() || !v->OpenViewerView()->Selected()) break;
  }
  if (Application->Hint() != hint) Application->SetHint(hint);
}

TInputRoute TTBModalHandler::HandleInput(const TInputEvent& E) {
  TInputRoute r = Route(E);
  if (!Finished()) UpdateStatusHint();
  return r;
}

TInputRoute TTBModalHandler::Route(const TInputEvent& E) {
  if (Finished()) {
    // Still inside the loop's last pass: keys are swallowed, clicks wait.
    if (E.Kind == ikKeyDown || E.Kind == ikKeyUp) return irSwallow;
    if (E.Kind == ikMouseDown || E.Kind == ikMouseDblClick) return irRepostAfter;
    return irSwallow;
  }
  bool rightTracked = E.Button == mbRight && FTrackRightButton;
  switch (E.Kind) {
    case ikKeyDown:
    case ikKeyUp:
      HandleKey(E);
      return irSwallow;
    case ikMouseDown:
    case ikMouseDblClick: {
      if (E.Button == mbLeft) FLeftDown = true;
      if (E.Button == mbRight) FRightDown = true;
      if (E.Button != mbLeft && !rightTracked) return irSwallow;
      TTBPopupWindow* pw = PopupWindowOf(E.Target);
      bool inChain = pw && IsAncestorView(FRootView, pw->View());
      if (!inChain) {
        if (FRootView->IsPopup() || E.Target != FRootView->Window()) {
          // A press outside the menus closes them and then reaches its window.
          FLeave = true;
          return irRepostAfter;
        }
        TPoint cp = FRootView->Window()->ScreenToClient(E.ScreenPos);
        if (!FRootView->Window()->ClientRect().Contains(cp)) {
          FLeave = true;
          return irRepostAfter;
        }
        if (E.Button == mbLeft) {
          UpdateAllSelections(E.ScreenPos, true, E.Target);
          TTBItemViewer* s = FRootView->Selected();
          if (!s || !FRootView->MouseOverSelected() || (s->Item->ItemStyle() & tbisClicksTransparent)) {
            FLeave = true;
            return irRepostAfter;
          }
        }
      }
      FMouseDownOnMenu = false;
      FRootView->SetState(FRootView->State() & ~vsIgnoreFirstMouseUp);
      UpdateAllSelections(E.ScreenPos, true, E.Target);
      TTBView* tv;
      TTBItemViewer* tvr;
      if (GetTarget(tv, tvr) && tvr) {
        TPoint p = ViewerPos(tv, tvr, E.ScreenPos);
        TShiftState sh;
        if (E.Kind == ikMouseDblClick) sh.Include(ssDouble);
        tvr->MouseDown(sh, p.X, p.Y, FMouseDownOnMenu);
      }
      FLastPos = E.ScreenPos;
      FLastPosValid = true;
      return irSwallow;
    }
    case ikMouseUp: {
      if (E.Button == mbLeft) FLeftDown = false;
      if (E.Button == mbRight) FRightDown = false;
      if (E.Button != mbLeft && !rightTracked) return irSwallow;
      UpdateAllSelections(E.ScreenPos, false, E.Target);
      TTBView* tv;
      TTBItemViewer* tvr;
      bool has = GetTarget(tv, tvr);
      if (tvr) {
        TPoint p = ViewerPos(tv, tvr, E.ScreenPos);
        tvr->MouseUp(p.X, p.Y, FMouseDownOnMenu);
      } else if (!has || (tv == FRootView && FRootView->IsToolbar()) || (FRootView->IsPopup() && !has)) {
        if (FRootView->State() & vsIgnoreFirstMouseUp) FRootView->SetState(FRootView->State() & ~vsIgnoreFirstMouseUp);
        else FLeave = true;
      }
      return irSwallow;
    }
    case ikMouseMove: {
      if (!FLastPosValid || E.ScreenPos != FLastPos) {
        FLastPos = E.ScreenPos;
        FLastPosValid = true;
        MouseMoved(E.Target);
      }
      TTBView* tv;
      TTBItemViewer* tvr;
      if (GetTarget(tv, tvr) && tvr) {
        TPoint p = ViewerPos(tv, tvr, E.ScreenPos);
        tvr->MouseMove(p.X, p.Y);
      }
      return irSwallow;
    }
    case ikMouseWheel: {
      TTBView* tv;
      TTBItemViewer* tvr;
      if (GetTarget(tv, tvr) && tvr) {
        TPoint p = ViewerPos(tv, tvr, E.ScreenPos);
        tvr->MouseWheel(E.WheelDelta, p.X, p.Y);
      }
      return irSwallow;
    }
  }
  return irPass;
}

void TTBModalHandler::Begin(TTBView* RootView, bool TrackRightButton) {
  FRootView = RootView;
  FTrackRightButton = TrackRightButton;
  FLeave = false;
  FMouseDownOnMenu = false;
  RootView->DoneActionData() = TTBDoneActionData();
  RootView->ValidatePositions();
}

void TTBModalHandler::Loop(TTBView* RootView, bool StartedByMouseDown, bool ExecuteSelectedAtStart,
                           bool NoGivePriority, bool TrackRightButton) {
  Begin(RootView, TrackRightButton);
  RootView->SetCaptureWnd(FWindow && FWindow->HandleAllocated() ? FWindow->Handle() : 0);
  FMouseDownOnMenu = false;
  FPrevious = ActiveHandler;
  ActiveHandler = this;
  struct TExit {
    TTBModalHandler* H;
    ~TExit() {
      H->FRootView->CancelCapture();
      H->FRootView->SetCaptureWnd(0);
      if (Application) Application->SetHint("");
      H->FAnimationTimer->SetEnabled(false);
      ActiveHandler = H->FPrevious;
    }
  } exitSteps{this};
  if (StartedByMouseDown) {
    if (TTBItemViewer* s = RootView->Selected()) {
      TPoint cur;
      GetCursorPos(cur);
      TPoint p = ViewerPos(RootView, s, cur);
      s->MouseDown({}, p.X, p.Y, FMouseDownOnMenu);
    }
    if (Finished()) return;
    FMouseDownOnMenu = false;
  } else if (ExecuteSelectedAtStart) {
    RootView->ExecuteSelected(!NoGivePriority);
    if (Finished()) return;
  }
  TNestedEventLoop loop;
  loop.ShouldQuit = [this] {
    AnimationPass();
    return Finished();
  };
  loop.Run([this](const TInputEvent& e) { return HandleInput(e); });
}

// ---------------------------------------------------------------------------
// Popup at a point and the toolbar's loop

TTBCustomItem* TTBCustomItem::Popup(int X, int Y, bool TrackRightButton, int Alignment, bool ReturnClickedItemOnly) {
  return RunPopup(false, TrackRightButton, TPoint(X, Y), Alignment, ReturnClickedItemOnly);
}

TTBCustomItem* TTBCustomItem::RunPopup(bool SelectFirstItem, bool TrackRightButton, TPoint PopupPoint,
                                       int Alignment, bool ReturnClickedItemOnly) {
  TTBDoneActionData done;
  {
    TTBModalHandler handler(nullptr);
    TTBPopupWindow* window = CreatePopup(nullptr, nullptr, false, SelectFirstItem, false, PopupPoint, Alignment);
    TTBView* view = window->View();
    view->SetState(view->State() | vsIgnoreFirstMouseUp);
    handler.PopupWindow = window;
    NotifyMenuEvent(view, true);
    try {
      handler.Loop(view, false, false, false, TrackRightButton);
      done = view->DoneActionData();
    } catch (...) {
      handler.PopupWindow = nullptr;
      view->SetState(view->State() & ~vsModal);
      NotifyMenuEvent(view, false);
      delete window;
      throw;
    }
    handler.PopupWindow = nullptr;
    view->SetState(view->State() & ~vsModal);
    NotifyMenuEvent(view, false);
    delete window;
  }
  return ExecuteDoneAction(done, ReturnClickedItemOnly);
}

void TTBView::EnterToolbarLoop(unsigned Options) {
  if (State() & vsModal) return;
  TTBDoneActionData done;
  {
    TTBModalHandler handler(Window());
    SetState(static_cast<uint8_t>((State() & vsShowAccels) | vsModal));
    DoneActionData() = TTBDoneActionData();
    NotifyMenuEvent(this, true);
    if (Selected()) NotifyFocusEvent(this);
    struct TFinally {
      TTBView* V;
      ~TFinally() {
        NotifyMenuEvent(V, false);
        V->SetState(V->State() & ~vsModal);
        V->StopAllTimers();
        V->CloseChildPopups();
        TPoint cur;
        GetCursorPos(cur);
        V->UpdateSelection(cur, true);
      }
    } fin{this};
    handler.Loop(this, Options & 1, Options & 2, Options & 4, false);
    done = DoneActionData();
  }
  SetAccelsVisibility(false);
  SetSelected(nullptr);
  ExecuteDoneAction(done, false);
}
