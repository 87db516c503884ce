// The commander: a button bar beside a chart that turns mouse drags on the
// chart into rotation, moving, zooming, depth changes or pie-slice
// explosion, and whose buttons open the chart editor, the print preview,
// copy and save. It hears the chart's mouse and 3D events as one of its
// listeners and never draws on the chart itself.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "chart/core/chart.h"
#include "platform/ui/buttons.h"
#include "platform/ui/graphicctrls.h"
#include "platform/ui/stdctrls.h"

class TChartEditor;
class TChartPreviewer;
class TPieSeries;

class TCustomGrafCommander : public TCustomPanelNoCaption, public IPanelEventListener {
  ZV_CLASS(TCustomGrafCommander)
public:
  explicit TCustomGrafCommander(TComponent* AOwner);
  ~TCustomGrafCommander() override;

  // ---- New virtual operations, in slot order ----
  virtual void MouseDownAt(int, int) {}
  virtual void MouseMoveAt(int, int, TShiftState) {}
  virtual void MouseUpAt() {}
  virtual bool ChartMayUseMouse() { return true; }
  // The Panel setter: moves the listener registration to the new panel.
  virtual void AssignPanel(TCustomGrafPanel* Value);
  virtual void EnableControls(bool Enable);
  // Called for each owned control just before the bar frees it.
  virtual void ControlRemoved(TControl*) {}

  TCustomGrafPanel* Panel() const { return FPanel; }
  void SetPanel(TCustomGrafPanel* Value) { AssignPanel(Value); }
  bool Vertical() const { return FVertical; }
  void SetVertical(bool Value);
  // Made on the first read.
  TGrafGradient* Gradient();
  void SetGradient(TGrafGradient* Value);
  TMouseButton PressedButton() const { return FButton; }

  void HandlePanelEvent(TGrafEvent* Event) override;
  void Loaded() override;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Paint() override;
  // Frees every control the bar owns, announcing each.
  void FreeControls();
  // Places the owned controls in a row (a column when vertical).
  void Relayout();

  TCustomGrafPanel* FPanel = nullptr;
  bool FVertical = false;
  std::unique_ptr<TGrafGradient> FGradient;
  TMouseButton FButton = mbLeft;
  bool FDestroying = false;
};

class TGrafCommander : public TCustomGrafCommander {
  ZV_CLASS(TGrafCommander)
public:
  explicit TGrafCommander(TComponent* AOwner);
  ~TGrafCommander() override;

  TChartEditor* ChartEditor() const { return FChartEditor; }
  void SetChartEditor(TChartEditor* Value);
  TChartPreviewer* Previewer() const { return FPreviewer; }
  void SetPreviewer(TChartPreviewer* Value);
  bool EnablePieExploding = true;
  bool LabelValues() const { return FLabelValues; }
  void SetLabelValues(bool Value);
  std::function<void(TObject* Sender, TCustomChart* Chart)> OnEditedChart;
  std::function<void(TObject* Sender, std::string& Text)> OnSetLabel;

  void MouseDownAt(int X, int Y) override;
  void MouseMoveAt(int X, int Y, TShiftState Shift) override;
  void MouseUpAt() override;
  bool ChartMayUseMouse() override;
  void EnableControls(bool Enable) override;
  void ControlRemoved(TControl* Control) override;
  // Rebuilds the buttons, the separators and the label.
  void CreateControls();

  TSpeedButton* ButtonNormal() const { return FNormal; }
  TSpeedButton* ButtonRotate() const { return FRotate; }
  TSpeedButton* ButtonMove() const { return FMove; }
  TSpeedButton* ButtonZoom() const { return FZoom; }
  TSpeedButton* ButtonDepth() const { return FDepth; }
  TSpeedButton* Button3D() const { return F3D; }
  TSpeedButton* ButtonEdit() const { return FEdit; }
  TSpeedButton* ButtonPrint() const { return FPrint; }
  TSpeedButton* ButtonCopy() const { return FCopy; }
  TSpeedButton* ButtonSave() const { return FSave; }
  TLabel* LabelText() const { return FLabel; }
  bool Dragging() const { return FDragging; }
  TPieSeries* DragPie() const { return FDragPie; }
  int DragSlice() const { return FDragSlice; }

  void NormalClick(TObject* Sender);
  void RotateClick(TObject* Sender);
  void MoveClick(TObject* Sender);
  void ZoomClick(TObject* Sender);
  void DepthClick(TObject* Sender);
  void View3DClick(TObject* Sender);
  void EditClick(TObject* Sender);
  void PrintClick(TObject* Sender);
  void CopyClick(TObject* Sender);
  void SaveClick(TObject* Sender);

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  bool Pressed(TSpeedButton* B) const { return B && B->Down(); }
  std::string PanelKind() const;
  void ShowText(std::string Text);
  void RefreshLabel();
  TPieSeries* FindPie(int X, int Y);
  void To3D();
  void DoRotate(int X, int Y, TShiftState Shift);
  void DoMove(int X, int Y);
  void DoZoom(int Y);
  void DoDepth(int X, int Y);
  void DoExplode(int X, int Y);

  TChartEditor* FChartEditor = nullptr;
  TChartPreviewer* FPreviewer = nullptr;
  bool FLabelValues = true;
  TSpeedButton* FNormal = nullptr;
  TSpeedButton* FRotate = nullptr;
  TSpeedButton* FMove = nullptr;
  TSpeedButton* FZoom = nullptr;
  TSpeedButton* FDepth = nullptr;
  TSpeedButton* F3D = nullptr;
  TSpeedButton* FEdit = nullptr;
  TSpeedButton* FPrint = nullptr;
  TSpeedButton* FCopy = nullptr;
  TSpeedButton* FSave = nullptr;
  TLabel* FLabel = nullptr;
  bool FDragging = false;
  int LastX = 0;
  int LastY = 0;
  TPieSeries* FDragPie = nullptr;
  int FDragSlice = -1;
};

void RegisterCommanderClasses();
