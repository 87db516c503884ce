// The two components a window drops beside its chart: TChartEditor opens
// the chart editor configured by its properties, TChartPreviewer the print
// preview configured by its options.
#pragma once

#include <functional>
#include <string>

#include "chart/editor/grafedicha.h"
#include "chart/editor/graflisb.h"

class TChartPreview;

enum TChartPreviewOption : uint8_t {
  cpoChangePrinter, cpoSetupPrinter, cpoResizeChart, cpoMoveChart, cpoChangeDetail, cpoChangePaperOrientation,
  cpoChangeMargins, cpoProportional, cpoDragChart, cpoPrintPanel, cpoAsBitmap
};
using TChartPreviewOptions = TEnumSet<TChartPreviewOption>;
inline constexpr TChartPreviewOptions DefaultPreviewOptions = TChartPreviewOptions::FromBits(255);


class TCustomChartEditor : public TComponent {
  ZV_CLASS(TCustomChartEditor)
public:
  explicit TCustomChartEditor(TComponent* AOwner) : TComponent(AOwner) {}
  ~TCustomChartEditor() override;

  // ---- New virtual operations, in slot order ----
  // The Chart setter: moves the free notification to the new chart.
  virtual void AssignChart(TCustomChart* Value);
  virtual void ShowEditor() {}

  TCustomChart* Chart() const { return FChart; }
  void SetChart(TCustomChart* Value) { AssignChart(Value); }
  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& Value) { FTitle = Value; }
  // Sender: the editor or preview window.
  TNotifyEvent OnClose;
  TNotifyEvent OnShow;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  TCustomChart* FChart = nullptr;
  std::string FTitle;
};

class TChartEditor : public TCustomChartEditor {
  ZV_CLASS(TChartEditor)
public:
  explicit TChartEditor(TComponent* AOwner) : TCustomChartEditor(AOwner) {}
  ~TChartEditor() override;

  void AssignChart(TCustomChart* Value) override;
  // Opens the editor modally; nothing without a chart.
  void ShowEditor() override;

  bool AutoRepaint = true;
  TChartEditorTab DefaultTab = cetMain;
  TChartEditorHiddenTabs HideTabs;
  bool HighLightTabs = false;
  TChartEditorOptions Options = DefaultEditorOptions;
  bool RememberPosition = false;
  bool TreeView = false;
  TChartSeries* Series() const { return FSeries; }
  // A series of another chart brings its chart along.
  void SetSeries(TChartSeries* Value);
  TChangeOrderEvent OnChangeSeriesOrder;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  TChartSeries* FSeries = nullptr;
};

class TChartPreviewer : public TCustomChartEditor {
  ZV_CLASS(TChartPreviewer)
public:
  explicit TChartPreviewer(TComponent* AOwner) : TCustomChartEditor(AOwner) {}

  // Opens the print preview modally; nothing without a chart.
  void ShowEditor() override;

  TChartPreviewOptions Options = DefaultPreviewOptions;
  TColor PaperColor = clWhite;
  TWindowState WindowState = wsNormal;
  TNotifyEvent OnAfterDraw;
  // The preview window while it is open.
  TChartPreview* PreviewForm = nullptr;
};

void RegisterChartEditorComponentClasses();
