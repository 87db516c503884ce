// Actions: commands shared by several controls and menu items. An action
// holds the command's state (caption, checked, enabled, ...) and its execute
// and update handlers; clients follow it through action links, which the
// action tells of every change.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/ui/classes.h"
#include "platform/ui/shortcuts.h"

class TBasicAction;

class TBasicActionLink : public TObject {
public:
  explicit TBasicActionLink(TObject* AClient) : FClient(AClient) {}
  ~TBasicActionLink() override;

  TBasicAction* Action() const { return FAction; }
  virtual void SetAction(TBasicAction* Value);
  TObject* Client() const { return FClient; }
  // Runs the action's execute; false without an action.
  virtual bool Execute(TComponent* AComponent = nullptr);
  virtual bool Update();
  TNotifyEvent OnChange;

protected:
  friend class TBasicAction;
  friend class TCustomAction;
  virtual void Change();
  TBasicAction* FAction = nullptr;
  TObject* FClient;
};

class TBasicAction : public TComponent {
  ZV_CLASS(TBasicAction)
public:
  explicit TBasicAction(TComponent* AOwner) : TComponent(AOwner) {}
  ~TBasicAction() override;

  // OnExecute (with the action as Sender) when assigned; false otherwise.
  virtual bool Execute();
  virtual bool Update();
  TComponent* ActionComponent() const { return FActionComponent; }
  void SetActionComponent(TComponent* v) { FActionComponent = v; }

  const TNotifyEvent& OnExecute() const { return FOnExecute; }
  void SetOnExecute(TNotifyEvent v);
  // Changes whenever OnExecute is assigned: a client that copied the handler
  // can tell whether it still holds the action's current one.
  uint64_t ExecuteHandlerId() const { return FExecuteId; }
  TNotifyEvent OnUpdate;

  void RegisterChanges(TBasicActionLink* Value);
  void UnRegisterChanges(TBasicActionLink* Value);
  int LinkCount() const { return static_cast<int>(FClients.size()); }

protected:
  void Change();
  std::vector<TBasicActionLink*> FClients;

private:
  TNotifyEvent FOnExecute;
  uint64_t FExecuteId = 0;
  TComponent* FActionComponent = nullptr;
};

class TCustomAction : public TBasicAction {
  ZV_CLASS(TCustomAction)
public:
  explicit TCustomAction(TComponent* AOwner) : TBasicAction(AOwner) {}

  // With AutoCheck the checked state toggles before the handler runs.
  bool Execute() override;

  bool AutoCheck() const { return FAutoCheck; }
  void SetAutoCheck(bool v);
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& v);
  bool Checked() const { return FChecked; }
  void SetChecked(bool v);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool v);
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int v) { FGroupIndex = v; }
  int HelpContext() const { return FHelpContext; }
  void SetHelpContext(int v);
  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& v);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int v);
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut v);
  bool Visible() const { return FVisible; }
  void SetVisible(bool v);

private:
  bool FAutoCheck = false;
  std::string FCaption;
  bool FChecked = false;
  bool FEnabled = true;
  int FGroupIndex = 0;
  int FHelpContext = 0;
  std::string FHint;
  int FImageIndex = -1;
  TShortCut FShortCut = 0;
  bool FVisible = true;
};

class TAction : public TCustomAction {
  ZV_CLASS(TAction)
public:
  explicit TAction(TComponent* AOwner) : TCustomAction(AOwner) {}
};

// The link of a client with caption, checked state and so on. A property is
// linked while the action is a custom action (clients may narrow that);
// the setters copy a changed action value into the client.
class TActionLink : public TBasicActionLink {
public:
  using TBasicActionLink::TBasicActionLink;

  TCustomAction* CustomAction() const;
  virtual bool IsCaptionLinked() const { return CustomAction() != nullptr; }
  virtual bool IsCheckedLinked() const { return CustomAction() != nullptr; }
  virtual bool IsEnabledLinked() const { return CustomAction() != nullptr; }
  virtual bool IsHelpContextLinked() const { return CustomAction() != nullptr; }
  virtual bool IsHintLinked() const { return CustomAction() != nullptr; }
  virtual bool IsImageIndexLinked() const { return CustomAction() != nullptr; }
  virtual bool IsShortCutLinked() const { return CustomAction() != nullptr; }
  virtual bool IsVisibleLinked() const { return CustomAction() != nullptr; }
  virtual bool IsOnExecuteLinked() const { return FAction != nullptr; }

  virtual void SetAutoCheck(bool) {}
  virtual void SetCaption(const std::string&) {}
  virtual void SetChecked(bool) {}
  virtual void SetEnabled(bool) {}
  virtual void SetHelpContext(int) {}
  virtual void SetHint(const std::string&) {}
  virtual void SetImageIndex(int) {}
  virtual void SetShortCut(TShortCut) {}
  virtual void SetVisible(bool) {}
  virtual void SetOnExecute(const TNotifyEvent&) {}
};
