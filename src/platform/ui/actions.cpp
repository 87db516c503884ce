#include "platform/ui/actions.h"

#include <algorithm>

ZV_CLASS_IMPL_NOPROPS(TBasicAction, TComponent)
ZV_CLASS_IMPL_NOPROPS(TCustomAction, TBasicAction)

void TAction::DeclareProperties(TClassInfo& c) {
  c.Boolean<TAction>("AutoCheck", &TAction::AutoCheck, &TAction::SetAutoCheck, false);
  c.String<TAction>("Caption", &TAction::Caption, &TAction::SetCaption, std::string());
  c.Boolean<TAction>("Checked", &TAction::Checked, &TAction::SetChecked, false);
  c.Boolean<TAction>("Enabled", &TAction::Enabled, &TAction::SetEnabled, true);
  c.Integer<TAction>("GroupIndex", &TAction::GroupIndex, &TAction::SetGroupIndex, 0);
  c.Integer<TAction>("HelpContext", &TAction::HelpContext, &TAction::SetHelpContext, 0);
  c.String<TAction>("Hint", &TAction::Hint, &TAction::SetHint, std::string());
  c.Integer<TAction>("ImageIndex", &TAction::ImageIndex, &TAction::SetImageIndex, -1);
  c.Integer<TAction>("ShortCut", [](TAction* a) { return static_cast<int64_t>(a->ShortCut()); },
                     [](TAction* a, int v) { a->SetShortCut(static_cast<TShortCut>(v)); }, 0);
  c.Boolean<TAction>("Visible", &TAction::Visible, &TAction::SetVisible, true);
  c.Method<TAction, TNotifyEvent>("OnExecute", [](TAction* a) { return static_cast<bool>(a->OnExecute()); },
                                  [](TAction* a, TNotifyEvent e) { a->SetOnExecute(std::move(e)); });
}
ZV_CLASS_IMPL(TAction, TCustomAction)

TBasicActionLink::~TBasicActionLink() {
  if (FAction) FAction->UnRegisterChanges(this);
}

void TBasicActionLink::SetAction(TBasicAction* Value) {
  if (Value == FAction) return;
  if (FAction) FAction->UnRegisterChanges(this);
  FAction = Value;
  if (FAction) FAction->RegisterChanges(this);
}

bool TBasicActionLink::Execute(TComponent* AComponent) {
  if (!FAction) return false;
  FAction->SetActionComponent(AComponent);
  bool r = false;
  try {
    r = FAction->Execute();
  } catch (...) {
    if (FAction) FAction->SetActionComponent(nullptr);
    throw;
  }
  if (FAction) FAction->SetActionComponent(nullptr);
  return r;
}

void TBasicActionLink::Change() {
  if (OnChange) OnChange(FAction);
}

bool TBasicActionLink::Update() { return FAction && FAction->Update(); }

TBasicAction::~TBasicAction() {
  // Links outlive their action only as empty links.
  for (TBasicActionLink* l : FClients) l->FAction = nullptr;
  FClients.clear();
}

bool TBasicAction::Execute() {
  if (!FOnExecute) return false;
  TNotifyEvent h = FOnExecute;  // the handler may reassign OnExecute
  h(this);
  return true;
}

bool TBasicAction::Update() {
  if (!OnUpdate) return false;
  OnUpdate(this);
  return true;
}

void TBasicAction::SetOnExecute(TNotifyEvent v) {
  FOnExecute = std::move(v);
  ++FExecuteId;
  for (TBasicActionLink* l : std::vector<TBasicActionLink*>(FClients))
    if (auto* al = dynamic_cast<TActionLink*>(l)) al->SetOnExecute(FOnExecute);
  Change();
}

void TBasicAction::RegisterChanges(TBasicActionLink* Value) {
  if (std::find(FClients.begin(), FClients.end(), Value) == FClients.end()) FClients.push_back(Value);
  Value->FAction = this;
}

void TBasicAction::UnRegisterChanges(TBasicActionLink* Value) {
  auto it = std::find(FClients.begin(), FClients.end(), Value);
  if (it != FClients.end()) {
    FClients.erase(it);
    Value->FAction = nullptr;
  }
}

void TBasicAction::Change() {
  for (TBasicActionLink* l : std::vector<TBasicActionLink*>(FClients)) l->Change();
}

namespace {
// Calls f on every action link of the action (a copy: a setter may unlink).
template <class F>
void ForLinks(const std::vector<TBasicActionLink*>& clients, F f) {
  for (TBasicActionLink* l : std::vector<TBasicActionLink*>(clients))
    if (auto* al = dynamic_cast<TActionLink*>(l)) f(al);
}
}  // namespace

bool TCustomAction::Execute() {
  if (!FEnabled) return false;
  if (FAutoCheck) SetChecked(!FChecked);
  return TBasicAction::Execute();
}

void TCustomAction::SetAutoCheck(bool v) {
  if (v == FAutoCheck) return;
  FAutoCheck = v;
  ForLinks(FClients, [&](TActionLink* l) { l->SetAutoCheck(v); });
  Change();
}

void TCustomAction::SetCaption(const std::string& v) {
  if (v == FCaption) return;
  FCaption = v;
  ForLinks(FClients, [&](TActionLink* l) { l->SetCaption(v); });
  Change();
}

void TCustomAction::SetChecked(bool v) {
  if (v == FChecked) return;
  FChecked = v;
  ForLinks(FClients, [&](TActionLink* l) { l->SetChecked(v); });
  // Radio groups of actions: the other actions of the same owner and group go off.
  if (v && FGroupIndex > 0 && Owner()) {
    for (int i = 0; i < Owner()->ComponentCount(); ++i) {
      auto* a = dynamic_cast<TCustomAction*>(Owner()->Components(i));
      if (a && a != this && a->FGroupIndex == FGroupIndex) a->SetChecked(false);
    }
  }
  Change();
}

void TCustomAction::SetEnabled(bool v) {
  if (v == FEnabled) return;
  FEnabled = v;
  ForLinks(FClients, [&](TActionLink* l) { l->SetEnabled(v); });
  Change();
}

void TCustomAction::SetHelpContext(int v) {
  if (v == FHelpContext) return;
  FHelpContext = v;
  ForLinks(FClients, [&](TActionLink* l) { l->SetHelpContext(v); });
  Change();
}

void TCustomAction::SetHint(const std::string& v) {
  if (v == FHint) return;
  FHint = v;
  ForLinks(FClients, [&](TActionLink* l) { l->SetHint(v); });
  Change();
}

void TCustomAction::SetImageIndex(int v) {
  if (v == FImageIndex) return;
  FImageIndex = v;
  ForLinks(FClients, [&](TActionLink* l) { l->SetImageIndex(v); });
  Change();
}

void TCustomAction::SetShortCut(TShortCut v) {
  if (v == FShortCut) return;
  FShortCut = v;
  ForLinks(FClients, [&](TActionLink* l) { l->SetShortCut(v); });
  Change();
}

void TCustomAction::SetVisible(bool v) {
  if (v == FVisible) return;
  FVisible = v;
  ForLinks(FClients, [&](TActionLink* l) { l->SetVisible(v); });
  Change();
}

TCustomAction* TActionLink::CustomAction() const { return dynamic_cast<TCustomAction*>(FAction); }
