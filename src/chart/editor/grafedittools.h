// The chart editor's "Tools" page: the chart's tools in a list, adding one
// of a registered type through the tools gallery, deleting, activating and
// reordering them, and the current tool's own editor form (found by the
// class name the tool gives) beside the list.
#pragma once

#include <functional>

#include "chart/core/chart.h"
#include "platform/ui/buttons.h"
#include "platform/ui/extctrls.h"
#include "platform/ui/forms.h"
#include "platform/ui/lists.h"
#include "platform/ui/splitter.h"
#include "platform/ui/stdctrls.h"

using TToolNotifyEvent = std::function<void(TGrafCustomTool* Tool)>;

class TFormGrafTools : public TForm {
  ZV_CLASS(TFormGrafTools)
public:
  explicit TFormGrafTools(TComponent* AOwner);
  ~TFormGrafTools() override;

  TCustomAxisPanel* Chart() const { return FChart; }
  // After a tool was made, and before one is freed.
  TToolNotifyEvent OnAddTool;
  TToolNotifyEvent OnDeleteTool;
  // The page shows again: the list follows the chart's tools.
  void RefreshTools();
  // The current tool's editor, nil when none.
  TCustomForm* ToolEditor() const { return FToolEditor; }
  TGrafCustomTool* CurrentTool() const;

  virtual void FormCreate(TObject* Sender);
  virtual void FormShow(TObject* Sender);
  virtual void LBToolsClick(TObject* Sender);
  virtual void LBToolsDrawItem(TWinControl* Control, int Index, const TRect& Rect, TOwnerDrawState State);
  virtual void BAddClick(TObject* Sender);
  virtual void BDeleteClick(TObject* Sender);
  virtual void CBActiveClick(TObject* Sender);
  virtual void CBShowInEditorClick(TObject* Sender);
  virtual void BMoveUpClick(TObject* Sender);
  virtual void BMoveDownClick(TObject* Sender);

  TListBox* LBTools;
  TSplitter* Splitter1;
  TPanel* PanelToolEditor;
  TPanel* PTop;
  TButton* BAdd;
  TButton* BDelete;
  TCheckBox* CBActive;
  TCheckBox* CBShowInEditor;
  TPanel* Panel2;
  TSpeedButton* BMoveUp;
  TSpeedButton* BMoveDown;
  TPanel* PBottom;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void FillTools();
  void EnableMoveButtons();
  void MoveCurrent(int Delta);
  static bool Designing(const TComponent* C) { return C->ComponentState().Contains(csDesigning); }

  TCustomAxisPanel* FChart = nullptr;
  TCustomForm* FToolEditor = nullptr;
};

void RegisterToolsPageClasses();
