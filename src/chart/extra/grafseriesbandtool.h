// A band between two series (an upper and a lower limit line, say) filled
// with a brush, a gradient or a translucent colour, behind or over them.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "chart/core/grengine.h"

class TSeriesBandTool : public TGrafCustomToolSeries {
  ZV_CLASS(TSeriesBandTool)
public:
  explicit TSeriesBandTool(TComponent* AOwner = nullptr);
  ~TSeriesBandTool() override;

  std::string EditorFormClassName() const override { return "TSeriesBandToolEdit"; }
  std::string ToolTypeName() const override;
  void HandleChartEvent(int Code) override;
  void SetSeries(TChartSeries* Value) override;
  // ---- New virtual operations, in slot order ----
  virtual void SetSeries2(TChartSeries* Value);
  virtual void DrawBand();

  bool DrawBehindSeries() const { return FDrawBehindSeries; }
  void SetDrawBehindSeries(bool Value) { ChangeBool(FDrawBehindSeries, Value); }
  TGrafGradient* Gradient() const { return FGradient.get(); }
  void SetGradient(TGrafGradient* Value) { FGradient->Assign(Value); }
  TChartSeries* Series2() const { return FSeries2; }
  int Transparency() const { return FTransparency; }
  void SetTransparency(int Value) { ChangeInteger(FTransparency, Value); }

  // The band's outline as the last DrawBand built it.
  const std::vector<TPoint>& Polygon() const { return FPolygon; }

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  void Hook(TChartSeries* Series);
  static void Unhook(TChartSeries* Series);
  void SeriesBeforeDraw(TObject* Sender);
  void SeriesAfterDraw(TObject* Sender);

  bool FDrawBehindSeries = true;
  std::unique_ptr<TGrafGradient> FGradient;
  TChartSeries* FSeries2 = nullptr;
  int FTransparency = 0;
  bool FDrawn1 = false;
  bool FDrawn2 = false;
  std::vector<TPoint> FPolygon;
};
