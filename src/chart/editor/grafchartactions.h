// The chart actions that windows bind to menu items and buttons: edit,
// copy, print preview and save. An action without a chart acts on the
// chart that has the focus.
#pragma once

#include "chart/core/chart.h"
#include "platform/ui/actions.h"

class TCustomChartAction : public TCustomAction {
  ZV_CLASS(TCustomChartAction)
public:
  explicit TCustomChartAction(TComponent* AOwner) : TCustomAction(AOwner) {}
  ~TCustomChartAction() override;

  TCustomChart* Chart() const { return FChart; }
  void SetChart(TCustomChart* Value);
  // Without Chart any chart; with it only that one.
  bool HandlesTarget(TObject* Target) const;
  // Runs the action on the target chart.
  virtual void ExecuteTarget(TObject*) {}
  // OnExecute when assigned; otherwise the action on its chart, or on the
  // focused chart. False when there was no target.
  bool Execute() override;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // The chart an execution acts on: Chart, else the focused control when it
  // is a chart.
  TCustomChart* Target() const;

private:
  TCustomChart* FChart = nullptr;
};

class TChartAction : public TCustomChartAction {
  ZV_CLASS(TChartAction)
public:
  explicit TChartAction(TComponent* AOwner) : TCustomChartAction(AOwner) {}
};

class TChartActionEdit : public TChartAction {
  ZV_CLASS(TChartActionEdit)
public:
  explicit TChartActionEdit(TComponent* AOwner);
  void ExecuteTarget(TObject* Target) override;
};

class TChartActionCopy : public TChartAction {
  ZV_CLASS(TChartActionCopy)
public:
  explicit TChartActionCopy(TComponent* AOwner);
  void ExecuteTarget(TObject* Target) override;
};

class TChartActionPrint : public TChartAction {
  ZV_CLASS(TChartActionPrint)
public:
  explicit TChartActionPrint(TComponent* AOwner);
  void ExecuteTarget(TObject* Target) override;
};

class TChartActionSave : public TChartAction {
  ZV_CLASS(TChartActionSave)
public:
  explicit TChartActionSave(TComponent* AOwner);
  void ExecuteTarget(TObject* Target) override;
};

void RegisterChartActionClasses();
