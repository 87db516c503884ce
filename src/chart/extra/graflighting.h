// A lamp over the finished chart picture: every pixel darkens with its
// distance from a light point, which may follow the mouse.
#pragma once

#include <memory>
#include <string>

#include "chart/core/grengine.h"
#include "platform/gfx/bitmap.h"

enum TLightStyle { lsLinear, lsSpotLight };
const TEnumInfo& LightStyleEnumInfo();

class TLightTool : public TGrafCustomTool {
  ZV_CLASS(TLightTool)
public:
  explicit TLightTool(TComponent* AOwner = nullptr);
  ~TLightTool() override;

  std::string EditorFormClassName() const override { return "TLightToolEditor"; }
  std::string ToolTypeName() const override;
  void SetParentChart(TCustomAxisPanel* Value) override;
  void HandleChartEvent(int Code) override;
  void HandleMouseEvent(int Kind, TMouseButton Button, TShiftState Shift, int X, int Y) override;

  int Factor() const { return FFactor; }
  void SetFactor(int Value) { ChangeInteger(FFactor, Value); }
  bool FollowMouse() const { return FFollowMouse; }
  void SetFollowMouse(bool Value) { FFollowMouse = Value; }
  int Left() const { return FLeft; }
  void SetLeft(int Value) { ChangeInteger(FLeft, Value); }
  int Top() const { return FTop; }
  void SetTop(int Value) { ChangeInteger(FTop, Value); }
  TLightStyle Style() const { return FStyle; }
  void SetStyle(TLightStyle Value);

  // The light point in chart pixels: Left and Top, or the chart's centre
  // for -1 (its own centre, not moved by its place in its parent).
  TPoint LightPoint() const;
  // Darkens the colour bytes of Source into Dest (24 or 32 bits a pixel;
  // Dest takes Source's size and format, an alpha byte is kept).
  void DarkenBitmap(TBitmap* Source, TBitmap* Dest) const;

private:
  void DrawLighting();
  int FFactor = 10;
  bool FFollowMouse = false;
  int FLeft = -1;
  int FTop = -1;
  TLightStyle FStyle = lsLinear;
  std::unique_ptr<TBitmap> FPicture;
  bool FDrawing = false;
};

// Frees the result bitmap all lighting tools share (the unit's finalisation).
void FreeLightingBitmap();
