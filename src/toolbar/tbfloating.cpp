#include "toolbar/tbfloating.h"

#include <algorithm>
#include <memory>

#include "platform/gfx/colors.h"
#include "platform/gfx/framectl.h"
#include "platform/ui/menuloop.h"
#include "platform/ui/toolwindows.h"
#include "toolbar/tbcommon.h"

ZV_CLASS_IMPL_NOPROPS(TTBFloatingWindowParent, TCustomForm)

namespace {

thread_local std::unique_ptr<std::vector<TTBCustomDockableWindow*>> tFloatingList;
const std::vector<TTBCustomDockableWindow*> kNoWindows;

}  // namespace

void TBFloatingListChange(TTBCustomDockableWindow* W, bool Add) {
  if (Add)
    ListAddOnce(tFloatingList, W);
  else
    ListRemoveAndFreeEmpty(tFloatingList, W);
}

const std::vector<TTBCustomDockableWindow*>& FloatingWindows() { return tFloatingList ? *tFloatingList : kNoWindows; }

bool DockableShouldBeVisible(const TTBVisibilityState& S) {
  if (!S.Showing || S.Reparenting) return false;
  if (S.DesignTime || !S.Floating) return true;
  if (S.Mode == fmOnTopOfParentForm && (!S.HostExists || !S.HostHasHandle || !S.HostVisibleNotMinimized))
    return false;
  if (S.HideWhenInactive && !S.ApplicationActive) return false;
  return true;
}

bool FloatingCaptionInactive(const TTBCaptionState& S) {
  if (S.ActivePopupIsMenu) return S.PresentInactive;
  if (!S.ApplicationActive) return true;
  if (S.Mode == fmOnTopOfParentForm && !S.OwnerIsApplication) return !S.ActiveWindowIsOwner;
  return false;
}

void DockableHookHandler(THookCode Code, HWND Wnd, WPARAM, LPARAM) {
  // A copy: a window may stop floating while it updates.
  const std::vector<TTBCustomDockableWindow*> List = FloatingWindows();
  auto StillFloating = [](TTBCustomDockableWindow* W) {
    const auto& L = FloatingWindows();
    return std::find(L.begin(), L.end(), W) != L.end();
  };
  switch (Code) {
    case hcActivate:
    case hcActivateApp:
      for (auto* W : List)
        if (StillFloating(W)) W->UpdateVisibility();
      break;
    case hcWindowPosChanged:
      // Shown, hidden, moved or minimised: the host form's floating windows
      // follow it.
      for (auto* W : List) {
        if (!StillFloating(W) || W->FloatingMode() != fmOnTopOfParentForm || !W->FloatingParent()) continue;
        TCustomForm* Host = W->FloatingParent()->ParentForm();
        if (Host && Host->HandleAllocated() && Host->Handle() == Wnd) W->UpdateVisibility();
      }
      break;
    case hcDestroyWindow:
      for (auto* W : List) {
        if (!StillFloating(W) || !W->FloatingParent()) continue;
        TCustomForm* Host = W->FloatingParent()->ParentForm();
        if (Host && Host->HandleAllocated() && Host->Handle() == Wnd) MakeFloatingToolWindow(W->FloatingParent(), nullptr);
      }
      break;
    default:
      break;
  }
}

// ---- TTBFloatingWindowParent

TTBFloatingWindowParent::TTBFloatingWindowParent(TComponent* AOwner) : TCustomForm(AOwner) {
  FBorderStyle = bsToolWindow;
  SetColor(clBtnFace);
}

TTBFloatingWindowParent::~TTBFloatingWindowParent() {
  Destroying();
  if (FParentForm) FParentForm->RemoveFreeNotification(this);
  // A hosted window still inside leaves first; it frees itself elsewhere.
  if (FDockableWindow && FDockableWindow->Parent() == this) FDockableWindow->TCustomControl::SetParent(nullptr);
}

void TTBFloatingWindowParent::SetParentForm(TCustomForm* Form) {
  if (FParentForm == Form) return;
  if (FParentForm) FParentForm->RemoveFreeNotification(this);
  FParentForm = Form;
  if (Form) Form->FreeNotification(this);
}

void TTBFloatingWindowParent::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomForm::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FParentForm) FParentForm = nullptr;
}

void TTBFloatingWindowParent::CreateWnd() {
  TCustomForm::CreateWnd();
  MakeFloatingToolWindow(this, FDockableWindow && FDockableWindow->FloatingMode() == fmOnTopOfAllForms ? nullptr
                                                                                                    : FParentForm);
}

void TTBFloatingWindowParent::SetShouldShow(bool V) {
  FShouldShow = V;
  ShowToolWindow(this, Visible() && FShouldShow);
}

bool TTBFloatingWindowParent::ShownOnScreen() const { return ToolWindowShown(this); }

void TTBFloatingWindowParent::CMVisibleChanged(TMessage& M) {
  // Not the form's own showing: that activates the window.
  TControl::CMVisibleChanged(M);
  ShowToolWindow(this, Visible() && FShouldShow);
}

TRect TTBFloatingWindowParent::ClientRect() const {
  if (!FDockableWindow) return TCustomForm::ClientRect();
  TPoint TL, BR;
  FDockableWindow->FloatingNCOffsets(TL, BR);
  return Rect(TL.X, TL.Y, std::max(TL.X, Width() - BR.X), std::max(TL.Y, Height() - BR.Y));
}

void TTBFloatingWindowParent::BoundsChanged(bool SizeChanged) {
  const TPoint Was = FLastPos;
  FLastPos = {Left(), Top()};
  TCustomForm::BoundsChanged(SizeChanged);
  if (FDockableWindow && Was != FLastPos) FDockableWindow->NotifyMoved();
}

void TTBFloatingWindowParent::AlignControls(TControl*, TRect) {
  // The hosted window places itself.
}

TRect TTBFloatingWindowParent::CaptionRect(bool WindowCoords, bool WithoutButton) const {
  const int H = kTBFloatingCaptionHeight;
  TRect R = Rect(0, 0, ClientRect().Width(), H - 1);
  if (WithoutButton) R.Right -= R.Height();
  if (WindowCoords && FDockableWindow) {
    const TPoint B = FDockableWindow->FloatingBorderSize();
    OffsetRect(R, B.X, B.Y);
  }
  return R;
}

TRect TTBFloatingWindowParent::CloseButtonRect(bool WindowCoords) const {
  TRect R = CaptionRect(WindowCoords, false);
  R.Left = R.Right - kTBFloatingCaptionHeight + 1;
  return R;
}

int TTBFloatingWindowParent::HitTest(TPoint P) const {
  if (ClientRect().Contains(P)) return HTCLIENT;
  if (!FDockableWindow) return HTNOWHERE;
  const TTBCustomDockableWindow* D = FDockableWindow;
  if (D->ShowCaption() && CaptionRect(true, false).Contains(P))
    return D->CloseButton() && CloseButtonRect(true).Contains(P) ? kTBHitCloseButton : kTBHitFloatingCaption;
  if (!D->Resizable()) return HTNOWHERE;
  const TPoint B = D->FloatingBorderSize();
  const int W = Width(), H = Height();
  const bool L = P.X >= 0 && P.X < B.X, R = P.X >= W - B.X - 1 && P.X < W;
  const bool T = P.Y >= 0 && P.Y < B.Y, Bo = P.Y >= H - B.Y - 1 && P.Y < H;
  if (!D->CornerZones) {
    if (T) return HTTOP;
    if (Bo) return HTBOTTOM;
    if (L) return HTLEFT;
    if (R) return HTRIGHT;
    return HTNOWHERE;
  }
  const int C = kTBFloatingCaptionHeight + B.X - 1;
  if (L) return P.Y < C ? HTTOPLEFT : P.Y >= H - C ? HTBOTTOMLEFT : HTLEFT;
  if (R) return P.Y < C ? HTTOPRIGHT : P.Y >= H - C ? HTBOTTOMRIGHT : HTRIGHT;
  if (T) return P.X < C ? HTTOPLEFT : P.X >= W - C ? HTTOPRIGHT : HTTOP;
  if (Bo) return P.X < C ? HTBOTTOMLEFT : P.X >= W - C ? HTBOTTOMRIGHT : HTBOTTOM;
  return HTNOWHERE;
}

void TTBFloatingWindowParent::DrawNCArea(TCanvas* C, int Parts) {
  if (!HandleAllocated() || !FDockableWindow) return;
  const TTBCustomDockableWindow* D = FDockableWindow;
  const bool Inactive = D->CaptionInactive();
  const TPoint B = D->FloatingBorderSize();
  TRect R = Rect(0, 0, Width(), Height());
  C->Brush()->SetStyle(bsSolid);
  if (Parts & kTBFloatFrame) {
    DrawEdge(C, R, EDGE_RAISED, BF_RECT | BF_ADJUST);
    TRect Client = ClientRect();
    InflateRect(Client, 1, 1);
    // Between the edge and the client frame: the border colour.
    C->Brush()->SetColor(Inactive ? clInactiveBorder : clActiveBorder);
    for (TRect F = R; F.Left < Client.Left - 1 && F.Width() > 0 && F.Height() > 0; InflateRect(F, -1, -1)) C->FrameRect(F);
    if (D->ShowCaption()) {
      TRect Band = Rect(R.Left, R.Top, R.Right, B.Y + kTBFloatingCaptionHeight);
      C->FillRect(Band);
    }
    C->Brush()->SetColor(clBtnFace);
    C->FrameRect(Client);
  }
  if (!D->ShowCaption()) return;
  const TRect Cap = CaptionRect(true, D->CloseButton());
  if (Parts & kTBFloatCaption) {
    C->Brush()->SetColor(Inactive ? clInactiveCaption : clActiveCaption);
    C->FillRect(Cap);
    C->Font()->Assign(Font());
    C->Font()->SetColor(Inactive ? clInactiveCaptionText : clCaptionText);
    C->Brush()->SetStyle(bsClear);
    C->TextRect(Cap, Cap.Left + 2, Cap.Top + 1, Caption());
    C->Brush()->SetStyle(bsSolid);
    TRect Full = CaptionRect(true, false);
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(Rect(Full.Left, Full.Bottom, Full.Right, Full.Bottom + 1));
  }
  if (D->CloseButton()) {
    const TRect Btn = CloseButtonRect(true);
    TRect In = Rect(Btn.Left, Btn.Top + 2, Btn.Right - 2, Btn.Bottom - 2);
    if (Parts & kTBFloatCaption) {
      C->Brush()->SetColor(Inactive ? clInactiveCaption : clActiveCaption);
      C->FillRect(Btn);
    }
    if (Parts & kTBFloatCloseButton) {
      TRect F = In;
      DrawEdge(C, F, FClosePressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST);
      // The cross of a close button.
      C->Pen()->SetColor(clBtnText);
      const int O = FClosePressed ? 1 : 0;
      for (int I = 0; I + 4 < In.Width() && I + 4 < In.Height(); ++I) {
        C->SetPixels(In.Left + 2 + I + O, In.Top + 2 + I + O, clBtnText);
        C->SetPixels(In.Right - 3 - I + O, In.Top + 2 + I + O, clBtnText);
      }
    }
  }
}

void TTBFloatingWindowParent::PaintWindow() {
  TCustomForm::PaintWindow();
  DrawNCArea(Canvas(), kTBFloatFrame | kTBFloatCaption | kTBFloatCloseButton);
}

void TTBFloatingWindowParent::RedrawNCArea(int Parts) {
  (void)Parts;
  Invalidate();
}

void TTBFloatingWindowParent::SetClosePressed(bool V) {
  if (FClosePressed == V) return;
  FClosePressed = V;
  RedrawNCArea(kTBFloatCloseButton);
}

void TTBFloatingWindowParent::WMLButtonDown(TMessage& M) {
  const TPoint P = Point(M.XPos(), M.YPos());
  const int Hit = HitTest(P);
  TTBCustomDockableWindow* D = FDockableWindow;
  if (!D || Hit == HTCLIENT || Hit == HTNOWHERE) {
    TCustomForm::WMLButtonDown(M);
    return;
  }
  if (Hit >= HTLEFT && Hit <= HTBOTTOMRIGHT) {
    if (D->Resizable()) {
      D->FPressScreenPos = ClientToScreen(P);
      D->BeginSizing(Hit - HTLEFT);
    }
  } else if (Hit == kTBHitCloseButton) {
    TRect B = CloseButtonRect(true);
    const TPoint O = ClientToScreen({0, 0});
    OffsetRect(B, O.X, O.Y);
    if (TrackNCButton(B, [this](bool Pressed) { SetClosePressed(Pressed); })) D->Close();
  } else if (Hit == kTBHitFloatingCaption) {
    const TPoint S = ClientToScreen(P);
    const TPoint G = D->ScreenToClient(S);
    D->BeginMoving(G.X, G.Y);
  }
}

void TTBFloatingWindowParent::WMLButtonDblClk(TMessage& M) {
  const TPoint P = Point(M.XPos(), M.YPos());
  if (FDockableWindow && HitTest(P) == kTBHitFloatingCaption) {
    FDockableWindow->ToggleDocked();
    return;
  }
  TCustomForm::WMLButtonDblClk(M);
}

void TTBFloatingWindowParent::WMRButtonUp(TMessage& M) {
  const TPoint P = Point(M.XPos(), M.YPos());
  if (FDockableWindow && HitTest(P) != HTCLIENT) {
    const TPoint S = ClientToScreen(P);
    FDockableWindow->Perform(WM_CONTEXTMENU, 0, static_cast<LPARAM>((S.X & 0xFFFF) | ((S.Y & 0xFFFF) << 16)));
    return;
  }
  TCustomForm::WMRButtonUp(M);
}

void TTBFloatingWindowParent::WMMouseMove(TMessage& M) {
  TCustomForm::WMMouseMove(M);
  const TPoint P = Point(M.XPos(), M.YPos());
  TCursor Want = crDefault;
  switch (HitTest(P)) {
    case HTLEFT:
    case HTRIGHT: Want = crSizeWE; break;
    case HTTOP:
    case HTBOTTOM: Want = crSizeNS; break;
    case HTTOPLEFT:
    case HTBOTTOMRIGHT: Want = crSizeNWSE; break;
    case HTTOPRIGHT:
    case HTBOTTOMLEFT: Want = crSizeNESW; break;
    default: break;
  }
  if (Cursor() != Want) SetCursor(Want);
}

void TTBFloatingWindowParent::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_DIALOGKEY:
      // Escape gives the keyboard back to the host form.
      if (Message.WParam == VK_ESCAPE && KeyboardStateToShiftState().Contains(ssShift) == false && FParentForm) {
        if (FParentForm->CanFocus()) FParentForm->SetFocus();
        Message.Result = 1;
        return;
      }
      break;
    case WM_CLOSE:
      // Alt+F4 on a floating window closes its host form.
      if (FParentForm && FParentForm->HandleAllocated()) FParentForm->Close();
      Message.Result = 0;
      return;
    default:
      break;
  }
  TCustomForm::Dispatch(Message);
}
