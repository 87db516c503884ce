#include "toolbar/tbacc.h"

#include "platform/ui/accbridge.h"
#include "platform/ui/forms.h"
#include "platform/ui/queuedcall.h"
#include "toolbar/tbcommon.h"
#include "toolbar/tbitem.h"
#include "toolbar/tbpopup.h"
#include "toolbar/tbtoolbar.h"
#include "toolbar/tbview.h"

namespace {

bool WindowChainEnabled(TControl* C) {
  for (; C; C = C->Parent())
    if (!C->Enabled()) return false;
  return true;
}

bool InMenuLoop(TTBView* V) { return (V->State() & vsModal) != 0; }

TRect ScreenRectOf(TControl* C, const TRect& Client) {
  const TPoint P = C->ClientToScreen(TPoint(Client.Left, Client.Top));
  return TRect(P.X, P.Y, P.X + Client.Width(), P.Y + Client.Height());
}

// The n-th (1-based) accessible viewer of a view, nil when none.
TTBItemViewer* AccessibleViewer(TTBView* V, int N) {
  for (int I = 0; I < V->ViewerCount(); ++I)
    if (ViewerIsAccessible(V->Viewers(I)) && --N == 0) return V->Viewers(I);
  return nullptr;
}

int AccessibleIndex(TTBView* V, TTBItemViewer* Viewer) {
  int N = 0;
  for (int I = 0; I < V->ViewerCount(); ++I) {
    if (!ViewerIsAccessible(V->Viewers(I))) continue;
    ++N;
    if (V->Viewers(I) == Viewer) return N;
  }
  return 0;
}

// A viewer's object, or the window of a hosted control that has one.
TAccChild ChildOfViewer(TTBItemViewer* V) {
  TAccChild C;
  if (auto* CI = dynamic_cast<TTBControlItem*>(V->Item))
    if (auto* W = dynamic_cast<TWinControl*>(CI->Control()); W && W->HandleAllocated()) {
      C.Window = W;
      return C;
    }
  C.Object = AccObjectOfViewer(V);
  return C;
}

}  // namespace

std::string AltKeyName() { return "Alt"; }

bool ViewerIsAccessible(const TTBItemViewer* V) {
  return (V->Show || V->Clipped) && !(V->Item->ItemStyle() & tbisSeparator);
}

std::shared_ptr<TTBViewAccObject> AccObjectOfView(TTBView* View) {
  if (!View->AccObject) View->AccObject = std::make_shared<TTBViewAccObject>(View);
  return std::static_pointer_cast<TTBViewAccObject>(View->AccObject);
}

std::shared_ptr<TTBItemViewerAccObject> AccObjectOfViewer(TTBItemViewer* Viewer) {
  if (!Viewer->AccObject) Viewer->AccObject = std::make_shared<TTBItemViewerAccObject>(Viewer);
  return std::static_pointer_cast<TTBItemViewerAccObject>(Viewer->AccObject);
}

// ---- view

TAccResult TTBViewAccObject::Check(int Child) const {
  if (!FView) return kAccFail;
  return Child == kChildIdSelf ? kAccOk : kAccInvalidArg;
}

TAccResult TTBViewAccObject::GetChildCount(int& Count) {
  Count = 0;
  if (!FView) return kAccFail;
  for (int I = 0; I < FView->ViewerCount(); ++I)
    if (ViewerIsAccessible(FView->Viewers(I))) ++Count;
  return kAccOk;
}

TAccResult TTBViewAccObject::GetName(int Child, std::string& Name) {
  Name.clear();
  if (TAccResult R = Check(Child)) return R;
  if (TTBView* P = FView->ParentView(); P && P->OpenViewer()) Name = RemoveAmpersands(P->OpenViewer()->GetCaptionText());
  if (Name.empty() && FView->Window()) Name = FView->Window()->Caption();
  return kAccOk;
}

TAccResult TTBViewAccObject::GetRole(int Child, int& Role) {
  Role = 0;
  if (TAccResult R = Check(Child)) return R;
  Role = FView->IsPopup() ? kRoleMenuPopup : (FView->Style() & vsMenuBar) ? kRoleMenuBar : kRoleToolbar;
  return kAccOk;
}

TAccResult TTBViewAccObject::GetState(int Child, uint32_t& State) {
  State = 0;
  return Check(Child);
}

TAccResult TTBViewAccObject::GetKeyboardShortcut(int Child, std::string& Shortcut) {
  Shortcut.clear();
  if (TAccResult R = Check(Child)) return R;
  if (!(FView->Style() & vsMenuBar)) return kAccFalse;
  Shortcut = AltKeyName();
  return kAccOk;
}

TAccResult TTBViewAccObject::DoDefaultAction(int) { return kAccFalse; }

// ---- item viewer

TAccResult TTBItemViewerAccObject::Check(int Child) const {
  if (!FViewer) return kAccFail;
  return Child == kChildIdSelf ? kAccOk : kAccInvalidArg;
}

bool TTBItemViewerAccObject::IsEnabledSelectable() const {
  return FViewer && FViewer->Item->Enabled() && (FViewer->Item->ItemStyle() & tbisSelectable);
}

bool TTBItemViewerAccObject::WindowAvailable() const {
  if (!FViewer) return false;
  TWinControl* W = FViewer->View->Window();
  if (!W || W->ComponentState().Contains(csDesigning) || !W->Visible() || !WindowChainEnabled(W)) return false;
  if (InMenuLoop(FViewer->View)) return true;
  TCustomForm* Active = Screen ? Screen->ActiveForm() : nullptr;
  return Active && (static_cast<TControl*>(Active) == W || Active == W->GetParentForm());
}

bool TTBItemViewerAccObject::IsAvailable() const {
  return FViewer && ViewerIsAccessible(FViewer) && IsEnabledSelectable() && WindowAvailable();
}

TAccResult TTBItemViewerAccObject::GetChildCount(int& Count) {
  Count = 0;
  if (!FViewer) return kAccFail;
  Count = FViewer->View->OpenViewer() == FViewer ? 1 : 0;
  return kAccOk;
}

TAccResult TTBItemViewerAccObject::GetName(int Child, std::string& Name) {
  Name.clear();
  if (TAccResult R = Check(Child)) return R;
  Name = RemoveAmpersands(FViewer->GetCaptionText());
  if (!FViewer->IsToolbarStyle()) {
    const std::string S = FViewer->Item->GetShortCutText();
    if (!S.empty()) Name += "\t" + S;
  }
  return kAccOk;
}

TAccResult TTBItemViewerAccObject::GetRole(int Child, int& Role) {
  Role = 0;
  if (TAccResult R = Check(Child)) return R;
  Role = FViewer->GetAccRole();
  return kAccOk;
}

TAccResult TTBItemViewerAccObject::GetState(int Child, uint32_t& State) {
  State = 0;
  if (TAccResult R = Check(Child)) return R;
  TTBView* V = FViewer->View;
  if (V->Selected() == FViewer) {
    State |= InMenuLoop(V) ? kStateFocused | kStateHotTracked : kStateHotTracked;
    if (V->MouseOverSelected() && V->Window() && V->Window()->MouseCapture()) State |= kStatePressed;
  }
  if (FViewer->Item->ItemStyle() & tbisSubmenu) State |= kStateHasPopup;
  if (FViewer->Show || FViewer->Clipped) State |= WindowAvailable() ? kStateFocusable : 0;
  else State |= kStateInvisible;
  if (!IsEnabledSelectable()) State |= kStateUnavailable;
  if (FViewer->Item->Checked()) State |= kStateChecked;
  return kAccOk;
}

TAccResult TTBItemViewerAccObject::GetKeyboardShortcut(int Child, std::string& Shortcut) {
  Shortcut.clear();
  if (TAccResult R = Check(Child)) return R;
  if (!FViewer->CaptionShown()) return kAccFalse;
  const char C = AcceleratorOf(FViewer->GetCaptionText());
  if (C == 0) return kAccFalse;
  const std::string Key(1, LowerCaseChar(C));
  Shortcut = FViewer->View->IsPopup() ? Key : AltKeyName() + "+" + Key;
  return kAccOk;
}

TAccResult TTBItemViewerAccObject::GetValue(int Child, std::string& Value) {
  Value.clear();
  if (TAccResult R = Check(Child)) return R;
  return FViewer->GetAccValue(Value) ? kAccOk : kAccFalse;
}

TAccResult TTBItemViewerAccObject::GetDefaultAction(int Child, std::string& Action) {
  Action.clear();
  if (TAccResult R = Check(Child)) return R;
  if (!IsAvailable()) return kAccFalse;
  TTBView* V = FViewer->View;
  if (V->OpenViewer() == FViewer)
    Action = "Close";
  else if (FViewer->Item->ItemStyle() & tbisSubmenu)
    Action = "Open";
  else if (V->IsPopup() || (V->Style() & vsMenuBar))
    Action = "Execute";
  else
    Action = "Press";
  return kAccOk;
}

TAccResult TTBItemViewerAccObject::DoDefaultAction(int Child) {
  if (TAccResult R = Check(Child)) return R;
  if (!IsAvailable()) return kAccFail;
  TTBView* V = FViewer->View;
  if (V->OpenViewer() == FViewer) {
    V->CancelChildPopups();
    if (InMenuLoop(V) && !V->IsPopup()) V->EndModal();
    return kAccOk;
  }
  V->SetSelected(FViewer);
  V->ScrollSelectedIntoView();
  auto Self = std::static_pointer_cast<TTBItemViewerAccObject>(shared_from_this());
  QueueCall([Self] { Self->HandleAccSelect(true); });
  return kAccOk;
}

// ---- view: relations, location and hit test

TAccResult TTBViewAccObject::GetParent(TAccChild& Parent) {
  Parent = TAccChild();
  if (!FView) return kAccFail;
  if (TTBView* P = FView->ParentView(); P && P->OpenViewer()) {
    Parent.Object = AccObjectOfViewer(P->OpenViewer());
    return kAccOk;
  }
  Parent.Window = FView->Window();
  return kAccOk;
}

TAccResult TTBViewAccObject::GetChild(int Id, TAccChild& Child) {
  Child = TAccChild();
  if (!FView) return kAccFail;
  if (Id == kChildIdSelf) {
    Child.Object = shared_from_this();
    return kAccOk;
  }
  TTBItemViewer* V = Id > 0 ? AccessibleViewer(FView, Id) : nullptr;
  if (!V) return kAccInvalidArg;
  Child = ChildOfViewer(V);
  return kAccOk;
}

TAccResult TTBViewAccObject::GetLocation(int Child, TRect& Screen) {
  Screen = TRect();
  if (TAccResult R = Check(Child)) return R;
  if (!FView->Window()) return kAccFail;
  Screen = ScreenRectOf(FView->Window(), FView->Window()->ClientRect());
  return kAccOk;
}

TAccResult TTBViewAccObject::Navigate(int Direction, int Start, TAccChild& Found) {
  Found = TAccChild();
  if (TAccResult R = Check(Start)) return R;
  if (Direction != kNavFirstChild && Direction != kNavLastChild) return kAccFalse;
  TTBItemViewer* Pick = nullptr;
  for (int I = 0; I < FView->ViewerCount(); ++I)
    if (ViewerIsAccessible(FView->Viewers(I))) {
      Pick = FView->Viewers(I);
      if (Direction == kNavFirstChild) break;
    }
  if (!Pick) return kAccFalse;
  Found = ChildOfViewer(Pick);
  return kAccOk;
}

TAccResult TTBViewAccObject::HitTest(TPoint Screen, TAccChild& Found) {
  Found = TAccChild();
  if (!FView) return kAccFail;
  TWinControl* W = FView->Window();
  if (!W) return kAccFail;
  if (!ScreenRectOf(W, W->ClientRect()).Contains(Screen)) return kAccFalse;
  const TPoint P = W->ScreenToClient(Screen);
  for (int I = W->ControlCount() - 1; I >= 0; --I) {
    auto* C = dynamic_cast<TWinControl*>(W->Controls(I));
    if (C && C->Visible() && C->BoundsRect().Contains(P)) {
      Found.Window = C;
      return kAccOk;
    }
  }
  if (TTBItemViewer* V = FView->ViewerFromPoint(P); V && ViewerIsAccessible(V)) {
    Found.Object = AccObjectOfViewer(V);
    return kAccOk;
  }
  Found.Object = shared_from_this();
  return kAccOk;
}

TAccResult TTBViewAccObject::GetFocus(int& ChildId) {
  ChildId = -1;
  return FView ? kAccFalse : kAccFail;
}

TAccResult TTBViewAccObject::Select(uint32_t, int) { return kAccMemberNotFound; }

// ---- item viewer: relations, location, hit test, selection

TAccResult TTBItemViewerAccObject::GetParent(TAccChild& Parent) {
  Parent = TAccChild();
  if (!FViewer) return kAccFail;
  Parent.Object = AccObjectOfView(FViewer->View);
  return kAccOk;
}

TAccResult TTBItemViewerAccObject::GetChild(int Id, TAccChild& Child) {
  Child = TAccChild();
  if (!FViewer) return kAccFail;
  if (Id == kChildIdSelf) {
    Child.Object = shared_from_this();
    return kAccOk;
  }
  TTBView* V = FViewer->View;
  if (Id == 1 && V->OpenViewer() == FViewer && V->OpenViewerView()) {
    Child.Object = AccObjectOfView(V->OpenViewerView());
    return kAccOk;
  }
  return kAccInvalidArg;
}

TAccResult TTBItemViewerAccObject::GetLocation(int Child, TRect& Screen) {
  Screen = TRect();
  if (TAccResult R = Check(Child)) return R;
  TWinControl* W = FViewer->View->Window();
  if (!W) return kAccFail;
  Screen = ScreenRectOf(W, FViewer->BoundsRect);
  return kAccOk;
}

TAccResult TTBItemViewerAccObject::Navigate(int Direction, int Start, TAccChild& Found) {
  Found = TAccChild();
  if (TAccResult R = Check(Start)) return R;
  TTBView* V = FViewer->View;
  switch (Direction) {
    case kNavFirstChild:
    case kNavLastChild:
      if (V->OpenViewer() != FViewer || !V->OpenViewerView()) return kAccFalse;
      Found.Object = AccObjectOfView(V->OpenViewerView());
      return kAccOk;
    case kNavUp:
    case kNavLeft:
    case kNavPrevious:
      for (int I = V->IndexOf(FViewer) - 1; I >= 0; --I)
        if (ViewerIsAccessible(V->Viewers(I))) {
          Found = ChildOfViewer(V->Viewers(I));
          return kAccOk;
        }
      return kAccFalse;
    case kNavDown:
    case kNavRight:
    case kNavNext:
      for (int I = V->IndexOf(FViewer) + 1; I < V->ViewerCount(); ++I)
        if (ViewerIsAccessible(V->Viewers(I))) {
          Found = ChildOfViewer(V->Viewers(I));
          return kAccOk;
        }
      return kAccFalse;
    default:
      return kAccFalse;
  }
}

TAccResult TTBItemViewerAccObject::HitTest(TPoint Screen, TAccChild& Found) {
  Found = TAccChild();
  TRect R;
  if (TAccResult Res = GetLocation(kChildIdSelf, R)) return Res;
  if (!R.Contains(Screen)) return kAccFalse;
  Found.Object = shared_from_this();
  return kAccOk;
}

TAccResult TTBItemViewerAccObject::GetFocus(int& ChildId) {
  ChildId = -1;
  if (!FViewer) return kAccFail;
  if (InMenuLoop(FViewer->View) && FViewer->View->Selected() == FViewer) {
    ChildId = kChildIdSelf;
    return kAccOk;
  }
  return kAccFalse;
}

TAccResult TTBItemViewerAccObject::Select(uint32_t Flags, int Child) {
  if (TAccResult R = Check(Child)) return R;
  if (Flags != kSelTakeFocus) return kAccInvalidArg;
  if (!WindowAvailable() || !(FViewer->Show || FViewer->Clipped)) return kAccFail;
  TTBView* V = FViewer->View;
  V->SetSelected(FViewer);
  V->ScrollSelectedIntoView();
  if (!InMenuLoop(V) && !V->ParentView()) {
    auto Self = std::static_pointer_cast<TTBItemViewerAccObject>(shared_from_this());
    QueueCall([Self] { Self->HandleAccSelect(false); });
  }
  return kAccOk;
}

void TTBItemViewerAccObject::HandleAccSelect(bool Execute) {
  if (!FViewer || (Execute && !IsAvailable()) || (!Execute && !WindowAvailable())) return;
  TTBView* V = FViewer->View;
  V->SetSelected(FViewer);
  V->ScrollSelectedIntoView();
  if (InMenuLoop(V)) {
    if (Execute) V->ExecuteSelected(true);
  } else if (!V->ParentView() && !GetCaptureControl()) {
    V->EnterToolbarLoop(4 | (Execute ? 2u : 0u));  // without giving priority
  }
}

// ---- the desktop's accessibility service

namespace {

TAccessibleRef RefOf(const TAccChild& C);

// A view or viewer object as the bridge asks it.
class TViewNode : public TAccessibleObject {
public:
  explicit TViewNode(std::shared_ptr<TTBViewAccObject> A) : Acc(std::move(A)) {}
  const void* Identity() const override { return Acc.get(); }
  bool Valid() override { return Acc->View() != nullptr; }
  int ChildCount() override {
    int N = 0;
    Acc->GetChildCount(N);
    return N;
  }
  TAccessibleRef Child(int Index) override {
    TAccChild C;
    Acc->GetChild(Index, C);
    return RefOf(C);
  }
  TAccessibleRef Parent() override {
    TAccChild C;
    Acc->GetParent(C);
    return RefOf(C);
  }
  std::string Name() override {
    std::string S;
    Acc->GetName(kChildIdSelf, S);
    return S;
  }
  int Role() override {
    int R = 0;
    Acc->GetRole(kChildIdSelf, R);
    return R;
  }
  uint32_t State() override {
    uint32_t S = 0;
    Acc->GetState(kChildIdSelf, S);
    return S;
  }
  std::string KeyboardShortcut() override {
    std::string S;
    Acc->GetKeyboardShortcut(kChildIdSelf, S);
    return S;
  }
  std::string Value() override { return {}; }
  std::string DefaultAction() override { return {}; }
  bool DoDefaultAction() override { return false; }
  TRect Location() override {
    TRect R;
    Acc->GetLocation(kChildIdSelf, R);
    return R;
  }
  TAccessibleRef HitTest(TPoint Screen) override {
    TAccChild C;
    Acc->HitTest(Screen, C);
    return RefOf(C);
  }
  TAccessibleRef Focus() override {
    if (TTBView* V = Acc->View(); V && (V->State() & vsModal) && V->Selected())
      return RefOf(TAccChild{AccObjectOfViewer(V->Selected()), nullptr});
    return {};
  }

  std::shared_ptr<TTBViewAccObject> Acc;
};

class TViewerNode : public TAccessibleObject {
public:
  explicit TViewerNode(std::shared_ptr<TTBItemViewerAccObject> A) : Acc(std::move(A)) {}
  const void* Identity() const override { return Acc.get(); }
  bool Valid() override { return Acc->Viewer() != nullptr; }
  int ChildCount() override {
    int N = 0;
    Acc->GetChildCount(N);
    return N;
  }
  TAccessibleRef Child(int Index) override {
    TAccChild C;
    Acc->GetChild(Index, C);
    return RefOf(C);
  }
  TAccessibleRef Parent() override {
    TAccChild C;
    Acc->GetParent(C);
    return RefOf(C);
  }
  std::string Name() override {
    std::string S;
    Acc->GetName(kChildIdSelf, S);
    return S;
  }
  int Role() override {
    int R = 0;
    Acc->GetRole(kChildIdSelf, R);
    return R;
  }
  uint32_t State() override {
    uint32_t S = 0;
    Acc->GetState(kChildIdSelf, S);
    return S;
  }
  std::string KeyboardShortcut() override {
    std::string S;
    Acc->GetKeyboardShortcut(kChildIdSelf, S);
    return S;
  }
  std::string Value() override {
    std::string S;
    Acc->GetValue(kChildIdSelf, S);
    return S;
  }
  std::string DefaultAction() override {
    std::string S;
    Acc->GetDefaultAction(kChildIdSelf, S);
    return S;
  }
  bool DoDefaultAction() override { return Acc->DoDefaultAction(kChildIdSelf) == kAccOk; }
  TRect Location() override {
    TRect R;
    Acc->GetLocation(kChildIdSelf, R);
    return R;
  }
  TAccessibleRef HitTest(TPoint Screen) override {
    TAccChild C;
    Acc->HitTest(Screen, C);
    return RefOf(C);
  }
  TAccessibleRef Focus() override {
    int Id = -1;
    if (Acc->GetFocus(Id) == kAccOk) return RefOf(TAccChild{Acc, nullptr});
    return {};
  }

  std::shared_ptr<TTBItemViewerAccObject> Acc;
};

// Views stand in the service as their windows; viewers as objects inside.
TAccessibleRef RefOf(const TAccChild& C) {
  TAccessibleRef R;
  R.Window = C.Window;
  if (auto V = std::dynamic_pointer_cast<TTBViewAccObject>(C.Object)) {
    if (V->View()) R.Window = V->View()->Window();
  } else if (auto I = std::dynamic_pointer_cast<TTBItemViewerAccObject>(C.Object)) {
    R.Object = std::make_shared<TViewerNode>(I);
  }
  return R;
}

TTBView* ViewOfWindow(TWinControl* W) {
  if (auto* T = dynamic_cast<TTBCustomToolbar*>(W)) return T->View();
  if (auto* C = dynamic_cast<TTBPopupClient*>(W)) return C->Popup() ? C->Popup()->View() : nullptr;
  return nullptr;
}

}  // namespace

void InitAccessibility() {
  static bool Done = false;
  if (Done) return;
  Done = true;
  AddAccessibleProvider([](TWinControl* W) -> std::shared_ptr<TAccessibleObject> {
    TTBView* V = ViewOfWindow(W);
    if (!V) return nullptr;
    return std::make_shared<TViewNode>(AccObjectOfView(V));
  });
}

void NotifyFocusEvent(TTBView* View) {
  if (!View->Window() || !View->Selected()) return;
  if (const int Child = AccessibleIndex(View, View->Selected())) NotifyAccessibleEvent(aeFocus, View->Window(), Child);
}

void NotifyMenuEvent(TTBView* View, bool Start) {
  if (!View->Window()) return;
  if (View->IsPopup())
    NotifyAccessibleEvent(Start ? aePopupStart : aePopupEnd, View->Window(), 0);
  else
    NotifyAccessibleEvent(Start ? aeMenuStart : aeMenuEnd, View->Window(), 0);
}
