// The series list box: one owner-drawn row per series of a chart (type icon,
// active check box or radio button, colour, title). The user switches series
// on and off, changes colour and type by double clicks, reorders series by
// dragging, renames, clones, adds and deletes them. It follows the chart as
// one of its event listeners.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "chart/core/chart.h"
#include "platform/ui/lists.h"
#include "platform/ui/stdctrls.h"

class TChartListBox;

using TNotifySeriesEvent = std::function<void(TChartListBox* Sender, TCustomChartSeries* Series)>;
using TChangeOrderEvent =
    std::function<void(TChartListBox* Sender, TCustomChartSeries* Series1, TCustomChartSeries* Series2)>;
using TDblClickSeriesEvent = std::function<void(TChartListBox* Sender, int Index)>;

// Whether a series is drawn in one series colour (not pie-like types, which
// colour each point).
bool UsesSeriesColor(TChartSeries* Series);

class TChartListBox : public TCustomListBox, public IPanelEventListener {
  ZV_CLASS(TChartListBox)
public:
  explicit TChartListBox(TComponent* AOwner);
  ~TChartListBox() override;

  TCustomChart* Chart() const { return FChart; }
  void SetChart(TCustomChart* Value);
  TCheckBoxesStyle CheckStyle() const { return FCheckStyle; }
  void SetCheckStyle(TCheckBoxesStyle Value);
  bool AllowAddSeries = true;
  bool AllowDeleteSeries = true;
  bool AskDelete = true;
  bool EnableChangeColor = true;
  bool EnableChangeType = true;
  bool EnableDragSeries = true;
  bool ShowSeriesIcon() const { return FShowIcon; }
  void SetShowSeriesIcon(bool Value);
  bool ShowActiveCheck() const { return FShowCheck; }
  void SetShowActiveCheck(bool Value);
  bool ShowSeriesColor() const { return FShowColor; }
  void SetShowSeriesColor(bool Value);
  bool ShowSeriesTitle() const { return FShowTitle; }
  void SetShowSeriesTitle(bool Value);
  // The series group listed (nil: the whole chart).
  TSeriesGroup* SeriesGroup() const { return FSeriesGroup; }
  void SetSeriesGroup(TSeriesGroup* Value);
  // Lists component names instead of titles.
  bool ShowSeriesNames() const { return FShowNames; }
  void SetShowSeriesNames(bool Value);
  // A second list kept in step with the items (not owned).
  TStrings* OtherItems = nullptr;

  TNotifySeriesEvent OnChangeActive;
  TNotifySeriesEvent OnChangeColor;
  TChangeOrderEvent OnChangeOrder;
  TDblClickSeriesEvent OnDblClickSeries;
  TNotifySeriesEvent OnRemovedSeries;
  TNotifyEvent OnOtherItemsChange;
  TNotifyEvent OnRefresh;

  void FillSeries(TCustomChartSeries* OldSeries);
  void RefreshList();
  TChartSeries* SelectedSeries() const;
  TChartSeries* SeriesAtIndex(int Index) const;
  void SelectSeries(TCustomChartSeries* Series);
  void SelectIndex(int Index);
  bool HasSelection();
  void ExchangeItems(int A, int B);
  void MoveUp();
  void MoveDown();
  bool DeleteSeries();
  void CloneSeries();
  TChartSeries* AddSeries();
  void ChangeTypeSelected(TComponent* Owner);
  bool RenameSeries();
  void EditTitleInPlace();
  void ClearItems();
  void SelectAll() override;
  // The in-place title editor, nil until first used.
  TEdit* TitleEditor() const { return FEditor; }

  // The sections of a row: their left edges, and whether a point lies
  // inside a shown one.
  enum TSection { lsIcon, lsCheck, lsColor, lsTitle };
  static constexpr int SectionWidths[4] = {26, 16, 26, 216};
  int SectionLeft(TSection Section) const;
  bool PointInSection(TSection Section, int X) const;

  void HandlePanelEvent(TGrafEvent* Event) override;
  void DblClick() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void DragDrop(TObject* Source, int X, int Y) override;
  void SetParent(TWinControl* AParent) override;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void KeyUp(uint16_t& Key, TShiftState Shift) override;
  void WMNCHitTest(TMessage& M) override;
  void WMSetCursor(TMessage& M) override;
  void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override;
  bool ShowsSection(TSection Section) const;
  void DrawListItem(int Index, const TRect& Rect, TOwnerDrawState State);
  void ChartChanged();
  void CloseTitleEditor(bool Apply);
  void EditorKeyDown(uint16_t& Key);

  TCustomChart* FChart = nullptr;
  TCheckBoxesStyle FCheckStyle = cbsCheck;
  bool FShowIcon = true, FShowCheck = true, FShowColor = true, FShowTitle = true;
  TSeriesGroup* FSeriesGroup = nullptr;
  bool FShowNames = false;
  TPoint FMousePos{};
  bool FDblClicked = false;
  TEdit* FEditor = nullptr;
};

void RegisterSeriesListBoxClasses();
