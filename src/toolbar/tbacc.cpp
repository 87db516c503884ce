#include "toolbar/tbacc.h"

#include "platform/ui/forms.h"
#include "toolbar/tbcommon.h"
#include "toolbar/tbitem.h"
#include "toolbar/tbview.h"

namespace {

bool WindowChainEnabled(TControl* C) {
  for (; C; C = C->Parent())
    if (!C->Enabled()) return false;
  return true;
}

bool InMenuLoop(TTBView* V) { return (V->State() & vsModal) != 0; }

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
  return kAccOk;
}
