// A scroll bar the chart draws itself: a generic bar with two arrow buttons
// and a thumb that turns mouse actions into position changes, and the
// registered tool that glues it to the chart's legend (paging through legend
// items that do not fit, or through the chart's pages when it pages points).
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "chart/core/chart.h"
#include "chart/core/grengine.h"
#include "platform/ui/extctrls.h"

enum TGrafScrollBarDrawStyle { dsAlways, dsWhenNeeded };
const TEnumInfo& GrafScrollBarDrawStyleEnumInfo();

class TGrafScrollBar;
using TSetPositionEvent = std::function<void(TGrafScrollBar* Sender, int Value)>;

class TGrafScrollBar : public TGrafCustomTool {
  ZV_CLASS(TGrafScrollBar)
public:
  explicit TGrafScrollBar(TComponent* AOwner = nullptr);
  ~TGrafScrollBar() override;

  std::string EditorFormClassName() const override { return "TScrollBarEditor"; }
  std::string ToolTypeName() const override;
  void HandleChartEvent(int Code) override;
  void HandleMouseEvent(int Kind, TMouseButton Button, TShiftState Shift, int X, int Y) override;

  // ---- New virtual operations, in slot order ----
  virtual double CalcPositionDelta(int New, int Old);
  virtual int GetPageSize() { return FPageSize; }
  virtual int GetLargeChange() { return GetPageSize() / 4; }
  virtual int GetPosition() { return FPosition; }
  virtual void SetPosition(int Value);
  virtual bool CalcBounds(TRect& R);
  virtual int GetTotal() { return FTotal; }

  TChartBrush* ArrowBrush() const { return FArrowBrush.get(); }
  void SetArrowBrush(TChartBrush* Value) { FArrowBrush->Assign(Value); }
  bool AutoRepeat() const { return FAutoRepeat; }
  void SetAutoRepeat(bool Value) { FAutoRepeat = Value; }
  TColor BackColor() const { return FBackColor; }
  void SetBackColor(TColor Value) { ChangeColor(FBackColor, Value); }
  TBevelCut Bevel() const { return FBevel; }
  void SetBevel(TBevelCut Value);
  TGrafScrollBarDrawStyle DrawStyle() const { return FDrawStyle; }
  void SetDrawStyle(TGrafScrollBarDrawStyle Value);
  TGrafGradient* Gradient() const { return FGradient.get(); }
  void SetGradient(TGrafGradient* Value) { FGradient->Assign(Value); }
  int InitialDelay() const { return FInitialDelay; }
  void SetInitialDelay(int Value) { FInitialDelay = Value; }
  int MinThumbSize() const { return FMinThumbSize; }
  void SetMinThumbSize(int Value) { ChangeInteger(FMinThumbSize, Value); }
  int Size() const { return FSize; }
  void SetSize(int Value);
  TChartBrush* ThumbBrush() const { return FThumbBrush.get(); }
  void SetThumbBrush(TChartBrush* Value) { FThumbBrush->Assign(Value); }

  TNotifyEvent OnChangeSize;
  TNotifyEvent OnScrolled;
  TSetPositionEvent OnSetPosition;

  // ---- State of the last drawing and of the mouse ----
  const TRect& BarBounds() const { return FBounds; }
  bool Horizontal() const { return FHorizontal; }
  int ThumbStart() const { return FThumbStart; }
  int ThumbEnd() const { return FThumbEnd; }
  TRect BarRect() const;
  TRect TrackRect() const;
  TRect FirstButtonRect() const;
  TRect SecondButtonRect() const;
  TRect ThumbRect() const;
  // The auto-repeat timer; nil until the first repeating click.
  TTimer* RepeatTimer() const { return FTimer; }

protected:
  void ScrollBy(double Delta, bool AllowRepeat);
  void MouseDownAt(TPoint P);
  void TimerTick();
  void DrawBar();

  TRect FBounds;
  bool FHorizontal = false;
  int FThumbStart = 0;
  int FThumbLength = 0;
  int FThumbEnd = 0;
  int FPosition = 0;
  int FTotal = 0;
  int FPageSize = 0;

private:
  std::unique_ptr<TChartBrush> FArrowBrush;
  bool FAutoRepeat = true;
  TColor FBackColor = clScrollBar;
  TBevelCut FBevel = bvRaised;
  TGrafScrollBarDrawStyle FDrawStyle = dsAlways;
  std::unique_ptr<TGrafGradient> FGradient;
  int FInitialDelay = 250;
  int FMinThumbSize = 4;
  int FSize = 18;
  std::unique_ptr<TChartBrush> FThumbBrush;

  TPoint FLastPoint;
  bool FDragging = false;
  bool FFirstPressed = false;
  bool FSecondPressed = false;
  TTimer* FTimer = nullptr;  // owned through the component tree
};

class TLegendScrollBar : public TGrafScrollBar {
  ZV_CLASS(TLegendScrollBar)
public:
  explicit TLegendScrollBar(TComponent* AOwner = nullptr);
  ~TLegendScrollBar() override;

  void SetParentChart(TCustomAxisPanel* Value) override;
  std::string ToolTypeName() const override;
  int GetPageSize() override;
  int GetLargeChange() override;
  int GetPosition() override;
  void SetPosition(int Value) override;
  bool CalcBounds(TRect& R) override;
  int GetTotal() override;

private:
  bool Paging() const;
  void InstallHook(TCustomAxisPanel* Chart);
  void RemoveHook(TCustomAxisPanel* Chart);
  TCustomChartLegend* FLegend = nullptr;
};
