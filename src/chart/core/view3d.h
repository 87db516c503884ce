// The 3D view settings of a chart panel: rotation, elevation, tilt,
// perspective, zoom, offsets and the orthogonal (oblique) mode. The canvas
// turns them into its projection at the start of every drawing pass.
#pragma once

#include <functional>

#include "platform/ui/classes.h"

class TControl;

class TView3DOptions : public TPersistent {
  ZV_CLASS(TView3DOptions)
public:
  // parent: the panel invalidated after every change (may be nil).
  explicit TView3DOptions(TControl* parent);

  // Copies the eleven options (not the events, not the panel) without
  // invalidating; any other source is ignored.
  void Assign(TPersistent* Source) override;

  // Degrees, read as the nearest integer of the stored double.
  int Elevation() const;
  void SetElevation(int value) { SetElevationFloat(value); }
  double ElevationFloat() const { return FElevation; }
  void SetElevationFloat(double value);
  int Rotation() const;
  void SetRotation(int value) { SetRotationFloat(value); }
  double RotationFloat() const { return FRotation; }
  void SetRotationFloat(double value);

  int FontZoom() const { return FFontZoom; }
  void SetFontZoom(int value) { ChangeInteger(FFontZoom, value); }
  int HorizOffset() const { return FHorizOffset; }
  // Raise OffsetChangeEvent (true) after a real change.
  void SetHorizOffset(int value);
  bool Orthogonal() const { return FOrthogonal; }
  void SetOrthogonal(bool value) { ChangeBoolean(FOrthogonal, value); }
  int OrthoAngle() const { return FOrthoAngle; }
  void SetOrthoAngle(int value) { ChangeInteger(FOrthoAngle, value); }
  int Perspective() const { return FPerspective; }
  void SetPerspective(int value) { ChangeInteger(FPerspective, value); }
  int Tilt() const { return FTilt; }
  void SetTilt(int value) { ChangeInteger(FTilt, value); }
  int VertOffset() const { return FVertOffset; }
  // Raises OffsetChangeEvent (false) after a real change.
  void SetVertOffset(int value);
  int Zoom() const { return FZoom; }
  // Raises ZoomChangeEvent (new value) before storing a real change.
  void SetZoom(int value);
  bool ZoomText() const { return FZoomText; }
  void SetZoomText(bool value) { ChangeBoolean(FZoomText, value); }

  // 1 when not orthogonal; else tan(OrthoAngle), angles above 90 mirrored.
  double OrthoRatio() const;

  TControl* Parent() const { return FParent; }
  void InvalidateParent();

  std::function<void(bool horizontal)> OffsetChangeEvent;
  std::function<void(int newZoom)> ZoomChangeEvent;

private:
  void ChangeInteger(int& field, int value);
  void ChangeBoolean(bool& field, bool value);

  double FElevation = 345.0;
  int FFontZoom = 100;
  int FHorizOffset = 0;
  bool FOrthogonal = true;
  int FOrthoAngle = 45;
  int FPerspective = 15;
  double FRotation = 345.0;
  int FTilt = 0;
  int FVertOffset = 0;
  int FZoom = 100;
  bool FZoomText = true;
  TControl* FParent;
};
