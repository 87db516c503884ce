#include "toolbar/tbpopup.h"

#include <algorithm>

#include "platform/gfx/bitmap.h"
#include "platform/ui/edges.h"
#include "platform/ui/forms.h"
#include "platform/ui/syssettings.h"
#include "toolbar/tbcommon.h"

void DestroyPopupWindow(TTBPopupWindow* W) { delete W; }

namespace {
bool Overlaps(const TRect& a, const TRect& b) {
  return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}
}  // namespace

TTBPopupPlacement PlacePopup(const TTBPopupPlacementInput& In) {
  TTBPopupPlacement out;
  const TRect& R = In.R;
  const TRect& M = In.M;
  const int W = In.W, H = In.H;
  auto covers = [&](int x, int y) { return In.Covers ? In.Covers(TRect(x, y, x + W, y + H)) : 0; };
  auto overlapsR = [&](int x, int y) { return Overlaps(TRect(x, y, x + W, y + H), R); };
  int x, y;
  if (!In.HasParentView) {
    x = In.PopupPoint.X;
    y = In.PopupPoint.Y;
    if (In.Alignment == 1) x -= W;
    else if (In.Alignment == 2) x -= W / 2;
  } else if (In.OpenedSideways) {
    x = R.Right - 3;
    y = R.Top - 3;
  } else if (In.Chevron) {
    if (In.ChevronVertical) {
      x = R.Left - W;
      y = R.Top;
    } else {
      x = R.Right - W;
      y = R.Bottom;
    }
  } else if (In.ParentVertical) {
    x = R.Left - W;
    y = R.Top;
  } else {
    x = In.DropAlignmentRight ? R.Right - W : R.Left;
    y = R.Bottom;
  }
  // Vertically within the monitor, above the item when below does not fit.
  if (y + H > M.Bottom && !(In.HasParentView && In.ParentVertical)) {
    int a = (In.OpenedSideways ? R.Bottom + 3 : R.Top) - H;
    if (a >= M.Top) y = a;
  }
  if (y + H > M.Bottom) y = M.Bottom - H;
  if (y < M.Top) y = M.Top;

  if (In.OpenedSideways) {
    bool left = In.ParentLeftward;
    for (;;) {
      if (!left && x + W <= M.Right) break;
      int l = (In.HasParentView ? R.Left + 3 : x) - W;
      if (!left || l >= M.Left) {
        x = l;
        out.Leftward = true;
        break;
      }
      left = false;
    }
    if (x < M.Left) x = M.Left;
  } else {
    if (!In.HasParentView && In.Alignment == 1 && x < M.Left) x += W;
    if (x + W > M.Right) {
      if (In.HasParentView || In.Alignment != 0) x = M.Right - W;
      else x -= W;
    }
    if (x < M.Left) x = M.Left;
    if (In.HasParentView && In.ParentVertical) {
      if (R.Right + W <= M.Right && (covers(R.Right, y) < covers(x, y) || overlapsR(x, y))) x = R.Right;
      if (overlapsR(x, y)) {
        y = R.Bottom + H > M.Bottom ? R.Top - H : R.Bottom;
        if (y < M.Top) y = M.Top;
      }
    } else if (In.HasParentView) {
      int a2 = R.Top - H;
      if (a2 >= M.Top && (covers(x, a2) < covers(x, y) || overlapsR(x, y))) y = a2;
      if (overlapsR(x, y)) {
        x = R.Right + W > M.Right ? R.Left - W : R.Right;
        if (x < M.Left) x = M.Left;
      }
    }
  }

  if (In.OpenedSideways) {
    out.Directions = (x + W / 2 < (R.Left + R.Right) / 2) ? tbadLeft : tbadRight;
  } else {
    if (y >= R.Bottom) out.Directions |= tbadDown;
    if (R.Top >= y + H) out.Directions |= tbadUp;
    if (x >= R.Right) out.Directions |= tbadRight;
    if (R.Left >= x + W) out.Directions |= tbadLeft;
  }
  out.Pos = TPoint(x, y);
  return out;
}

// ---------------------------------------------------------------------------
// The popup view

ZV_CLASS_IMPL_NOPROPS(TTBPopupView, TTBView)

TTBPopupView::TTBPopupView(TComponent* AOwner, TTBView* AParentView, TTBCustomItem* AParentItem,
                           TWinControl* AWindow, TTBPopupWindow* APopup, bool ACustomizing)
    : TTBView(AOwner, AParentView, AParentItem, AWindow, false, ACustomizing, false), FPopup(APopup) {}

void TTBPopupView::SizeWindow(int AWidth, int AHeight) {
  FPopup->SetBounds(FPopup->Left(), FPopup->Top(), AWidth + 6, AHeight + 6);
  FPopup->Client()->SetBounds(3, 3, AWidth, AHeight);
}

TFont* TTBPopupView::GetFont() { return FPopup->Font(); }

bool TTBPopupView::HasTimerWindow() const { return FPopup->Client()->HandleAllocated(); }
void TTBPopupView::SetWindowTimer(int Id, int Interval) {
  ::SetTimer(FPopup->Client()->Handle(), static_cast<unsigned>(Id), static_cast<unsigned>(Interval));
}
void TTBPopupView::KillWindowTimer(int Id) {
  if (FPopup->Client()->HandleAllocated()) ::KillTimer(FPopup->Client()->Handle(), static_cast<unsigned>(Id));
}

void TTBPopupView::HandleTimer(unsigned Id) {
  switch (Id - 9000) {
    case tiOpen:
      CloseChildPopups();
      OpenChildPopup(false);
      break;
    case tiClose:
      CloseChildPopups();
      break;
    case tiScrollUp:
      if (ShowUpArrow()) Scroll(false);
      else StopTimer(tiScrollUp);
      break;
    case tiScrollDown:
      if (ShowDownArrow()) Scroll(true);
      else StopTimer(tiScrollDown);
      break;
    default:
      break;
  }
}

// ---------------------------------------------------------------------------
// The popup window

ZV_CLASS_IMPL_NOPROPS(TTBPopupClient, TCustomControl)

TTBPopupClient::TTBPopupClient(TComponent* AOwner, TTBPopupWindow* APopup) : TCustomControl(AOwner), FPopup(APopup) {}

void TTBPopupClient::WndProc(TMessage& Message) {
  if (Message.Msg == WM_TIMER && Message.WParam >= 9000 && Message.WParam <= 9003) {
    FPopup->View()->HandleTimer(static_cast<unsigned>(Message.WParam));
    return;
  }
  TCustomControl::WndProc(Message);
}

void TTBPopupClient::Paint() {
  FPopup->PaintStarted(true);
  Canvas()->Brush()->SetStyle(bsSolid);
  Canvas()->Brush()->SetColor(FPopup->Color());
  Canvas()->FillRect(ClientRect());
  FPopup->View()->DrawSubitems(Canvas());
  FPopup->PaintScrollArrows(Canvas());
}

ZV_CLASS_IMPL_NOPROPS(TTBPopupWindow, TPopupControl)

TTBPopupWindow::TTBPopupWindow(TComponent* AOwner, TTBView* AParentView, TTBCustomItem* AParentItem,
                               bool ACustomizing)
    : TPopupControl(AOwner) {
  SetVisible(false);
  SetBounds(0, 0, 320, 240);
  SetColor(clMenu);
  FClient = new TTBPopupClient(this, this);
  FClient->SetParent(this);
  FClient->SetColor(clMenu);
  FView = new TTBPopupView(this, AParentView, AParentItem, FClient, this, ACustomizing);
  FView->SetState(FView->State() | vsModal);
  Font()->Assign(AParentView ? AParentView->GetFont() : ToolbarMenuFont());
  FClient->Font()->Assign(Font());
  if (AParentView) {
    FView->SetStyle(FView->Style() | (AParentView->Style() & vsUseHiddenAccels));
    FView->SetState(FView->State() | (AParentView->State() & vsShowAccels));
  } else {
    FView->SetStyle(FView->Style() | vsUseHiddenAccels);
    FView->SetAccelsVisibility(false);
  }
}

TTBPopupWindow::~TTBPopupWindow() {
  FView->CloseChildPopups();
  if (HandleAllocated()) EndMenuAnimationFor(Handle());
  FView->StopAllTimers();
  delete FView;
  FView = nullptr;
}

void TTBPopupWindow::Paint() {
  PaintStarted(false);
  PaintFrame(Canvas());
}

void TTBPopupWindow::PaintStarted(bool Client) {
  bool& painted = Client ? FClientPainted : FFramePainted;
  if (painted && HandleAllocated()) EndMenuAnimationFor(Handle());
  painted = true;
}

void TTBPopupWindow::WndProc(TMessage& Message) {
  if (Message.Msg == WM_PRINT) {
    if (auto* c = reinterpret_cast<TCanvas*>(Message.WParam)) PaintTo(c);
    return;
  }
  TPopupControl::WndProc(Message);
}

void TTBPopupWindow::PaintFrame(TCanvas* C) {
  TRect r(0, 0, Width(), Height());
  C->Brush()->SetStyle(bsSolid);
  if (FlatMenusOn()) {
    C->Brush()->SetColor(clBtnShadow);
    C->FrameRect(r);
    C->Brush()->SetColor(Color());
    for (int i = 0; i < 2; ++i) {
      r = TRect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
      C->FrameRect(r);
    }
  } else {
    DrawEdge(C, r, EDGE_RAISED, BF_RECT | BF_ADJUST);
    C->Brush()->SetColor(clBtnFace);
    C->FrameRect(r);
  }
}

void TTBPopupWindow::PaintTo(TCanvas* C) {
  PaintFrame(C);
  int w = FClient->Width(), h = FClient->Height();
  if (w <= 0 || h <= 0) return;
  TBitmap client(w, h, pf32bit);
  TCanvas* cc = client.Canvas();
  cc->Brush()->SetStyle(bsSolid);
  cc->Brush()->SetColor(Color());
  cc->FillRect(TRect(0, 0, w, h));
  FView->DrawSubitems(cc);
  PaintScrollArrows(cc);
  C->Draw(3, 3, &client);
}

void TTBPopupWindow::PaintScrollArrows(TCanvas* Canvas) {
  auto arrow = [&](const TRect& r, bool up) {
    TPoint c((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2 - 1);
    std::vector<TPoint> p = up ? std::vector<TPoint>{TPoint(c.X - 3, c.Y + 3), TPoint(c.X + 3, c.Y + 3), c}
                               : std::vector<TPoint>{TPoint(c.X - 3, c.Y), TPoint(c.X + 3, c.Y), TPoint(c.X, c.Y + 3)};
    Canvas->Pen()->SetColor(clMenuText);
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(clMenuText);
    Canvas->Polygon(p);
  };
  int w = FClient->ClientWidth(), h = FClient->ClientHeight();
  if (FView->ShowUpArrow()) arrow(TRect(0, 0, w, 19), true);
  if (FView->ShowDownArrow()) arrow(TRect(0, h - 19, w, h), false);
}

void TTBPopupWindow::ShowPopup() {
  TTBView* parent = FView->ParentView();
  const TSystemSettings& s = SystemSettings();
  if (!FView->Selected() && !(parent && (parent->State() & vsNoAnimation)) && s.MenuAnimation &&
      (s.MenuFade || FAnimationDirection != 0)) {
    HandleNeeded();
    StartMenuAnimation(Handle(), s.MenuFade, FAnimationDirection);
    return;
  }
  Show();
}

TTBPopupWindow* PopupWindowOf(TControl* Control) {
  for (TControl* c = Control; c; c = c->Parent()) {
    if (auto* client = dynamic_cast<TTBPopupClient*>(c)) return client->Popup();
    if (auto* w = dynamic_cast<TTBPopupWindow*>(c)) return w;
  }
  return nullptr;
}

// ---------------------------------------------------------------------------
// Opening an item's popup

namespace {
bool PopupSoundPlayed = false;
}

TTBPopupWindow* TTBCustomItem::CreatePopup(TTBView* ParentView, TTBItemViewer* ParentViewer, bool PositionAsSubmenu,
                                           bool SelectFirstItem, bool Customizing, TPoint PopupPoint,
                                           int Alignment) {
  if (LinkSubitems()) LinkSubitems()->DoPopup(this, true);
  DoPopup(this, false);
  TTBView* chevron = GetChevronParentView();
  TTBCustomItem* shown = chevron ? chevron->ParentItem() : this;
  auto* window = new TTBPopupWindow(nullptr, ParentView, shown, Customizing);
  try {
    TTBPopupView* view = window->View();
    if (chevron) {
      view->SetChevronParentView(chevron);
      view->SetIsToolbar(true);
      view->SetStyle(view->Style() | (chevron->Style() & vsAlwaysShowHints));
      window->SetColor(clBtnFace);
      window->Client()->SetColor(clBtnFace);
    }
    TRect R, M;
    if (ParentView) {
      ParentView->ValidatePositions();
      TRect b = ParentViewer->BoundsRect;
      TPoint tl = ParentView->Window() ? ParentView->Window()->ClientToScreen(TPoint(b.Left, b.Top)) : TPoint(b.Left, b.Top);
      R = TRect(tl.X, tl.Y, tl.X + b.Width(), tl.Y + b.Height());
      M = ParentView->MonitorRect();
      if (M.Width() <= 0 || M.Height() <= 0) M = MonitorRectForRect(R, false);
    } else {
      R = TRect(PopupPoint.X, PopupPoint.Y, PopupPoint.X, PopupPoint.Y);
      M = MonitorRectForPoint(PopupPoint, false);
    }
    view->SetMonitorRect(M);
    if (chevron) view->SetWrapOffset(M.Width() - 6);
    else view->SetMaxHeight(M.Height() - 6);
    if (SelectFirstItem) view->SetSelected(view->FirstSelectable());
    view->UpdatePositions();
    TTBPopupPlacementInput in;
    in.HasParentView = ParentView != nullptr;
    in.ParentVertical = ParentView && ParentView->Orientation() == tbvoVertical;
    in.ParentLeftward = ParentView && (ParentView->State() & vsOppositePopup);
    in.OpenedSideways = PositionAsSubmenu && ParentView;
    in.Chevron = chevron != nullptr;
    in.ChevronVertical = chevron && chevron->Orientation() == tbvoVertical;
    in.R = R;
    in.M = M;
    in.PopupPoint = PopupPoint;
    in.Alignment = Alignment;
    in.DropAlignmentRight = SystemSettings().MenuDropAlignmentRight;
    in.W = window->Width();
    in.H = window->Height();
    in.Covers = [ParentView](const TRect& pr) {
      int n = 0;
      if (!ParentView || !ParentView->Window()) return 0;
      for (int i = 0; i < ParentView->ViewerCount(); ++i) {
        TTBItemViewer* v = ParentView->Viewers(i);
        if (!v->Show) continue;
        TPoint tl = ParentView->Window()->ClientToScreen(TPoint(v->BoundsRect.Left, v->BoundsRect.Top));
        TRect s(tl.X, tl.Y, tl.X + v->BoundsRect.Width(), tl.Y + v->BoundsRect.Height());
        if (s.Left >= pr.Left && s.Right <= pr.Right && s.Top >= pr.Top && s.Bottom <= pr.Bottom) ++n;
      }
      return n;
    };
    TTBPopupPlacement place = PlacePopup(in);
    if (place.Leftward) view->SetState(view->State() | vsOppositePopup);
    window->SetAnimationDirections(place.Directions);
    window->SetBounds(place.Pos.X, place.Pos.Y, in.W, in.H);
    if (ParentView) {
      ParentView->SetOpenViewer(ParentViewer, view, window);
      if (ParentView->IsToolbar()) {
        ParentView->SetState(ParentView->State() | vsDropDownMenus);
        ParentView->Invalidate(ParentViewer);
      }
    }
    view->SetState(view->State() | vsDrawInOrder);
    if (SystemSoundAssigned("MenuPopup")) {
      if (!PopupSoundPlayed) {
        window->ShowPopup();
        window->Update();
        PlaySystemSound("MenuPopup");
        PopupSoundPlayed = true;
      } else {
        PlaySystemSound("MenuPopup");
        window->ShowPopup();
      }
    } else {
      window->ShowPopup();
    }
  } catch (...) {
    if (ParentView && ParentView->OpenViewerWindow() == window) ParentView->SetOpenViewer(nullptr, nullptr, nullptr);
    delete window;
    throw;
  }
  return window;
}
