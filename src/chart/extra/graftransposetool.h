// Swapping the X and Z values of every point of a 3D grid series, on request.
#pragma once

#include <string>

#include "chart/core/grengine.h"

class TCustom3DGridSeries;

class TGridTransposeTool : public TGrafCustomTool {
  ZV_CLASS(TGridTransposeTool)
public:
  explicit TGridTransposeTool(TComponent* AOwner = nullptr);
  ~TGridTransposeTool() override;

  std::string EditorFormClassName() const override { return "TGridTransposeToolEdit"; }
  std::string ToolTypeName() const override;

  TCustom3DGridSeries* Series() const { return FSeries; }
  void SetSeries(TCustom3DGridSeries* Value);
  void Transpose();

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  TCustom3DGridSeries* FSeries = nullptr;
};
