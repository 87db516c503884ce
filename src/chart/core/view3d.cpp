#include "chart/core/view3d.h"

#include <cmath>

#include "platform/ui/controls.h"

TView3DOptions::TView3DOptions(TControl* parent) : FParent(parent) {}

void TView3DOptions::Assign(TPersistent* Source) {
  auto* o = dynamic_cast<TView3DOptions*>(Source);
  if (!o || o == this) return;
  FElevation = o->FElevation;
  FFontZoom = o->FFontZoom;
  FHorizOffset = o->FHorizOffset;
  FOrthogonal = o->FOrthogonal;
  FOrthoAngle = o->FOrthoAngle;
  FPerspective = o->FPerspective;
  FRotation = o->FRotation;
  FTilt = o->FTilt;
  FVertOffset = o->FVertOffset;
  FZoom = o->FZoom;
  FZoomText = o->FZoomText;
}

int TView3DOptions::Elevation() const { return static_cast<int>(std::nearbyint(FElevation)); }
int TView3DOptions::Rotation() const { return static_cast<int>(std::nearbyint(FRotation)); }

void TView3DOptions::SetElevationFloat(double value) {
  if (FElevation == value) return;
  FElevation = value;
  InvalidateParent();
}

void TView3DOptions::SetRotationFloat(double value) {
  if (FRotation == value) return;
  FRotation = value;
  InvalidateParent();
}

void TView3DOptions::SetHorizOffset(int value) {
  if (FHorizOffset == value) return;
  FHorizOffset = value;
  InvalidateParent();
  if (OffsetChangeEvent) OffsetChangeEvent(true);
}

void TView3DOptions::SetVertOffset(int value) {
  if (FVertOffset == value) return;
  FVertOffset = value;
  InvalidateParent();
  if (OffsetChangeEvent) OffsetChangeEvent(false);
}

void TView3DOptions::SetZoom(int value) {
  if (FZoom == value) return;
  if (ZoomChangeEvent) ZoomChangeEvent(value);
  FZoom = value;
  InvalidateParent();
}

double TView3DOptions::OrthoRatio() const {
  if (!FOrthogonal) return 1.0;
  double a = FOrthoAngle;
  if (a > 90) a = 180 - a;
  return std::tan(a * M_PI / 180.0);
}

void TView3DOptions::InvalidateParent() {
  if (FParent) FParent->Invalidate();
}

void TView3DOptions::ChangeInteger(int& field, int value) {
  if (field == value) return;
  field = value;
  InvalidateParent();
}

void TView3DOptions::ChangeBoolean(bool& field, bool value) {
  if (field == value) return;
  field = value;
  InvalidateParent();
}

ZV_CLASS_IMPL(TView3DOptions, TPersistent)
void TView3DOptions::DeclareProperties(TClassInfo& c) {
  c.Integer<TView3DOptions>("Elevation", &TView3DOptions::Elevation, &TView3DOptions::SetElevation, 345);
  c.Integer<TView3DOptions>("FontZoom", &TView3DOptions::FontZoom, &TView3DOptions::SetFontZoom, 100);
  c.Integer<TView3DOptions>("HorizOffset", &TView3DOptions::HorizOffset, &TView3DOptions::SetHorizOffset, 0);
  c.Integer<TView3DOptions>("OrthoAngle", &TView3DOptions::OrthoAngle, &TView3DOptions::SetOrthoAngle, 45);
  c.Boolean<TView3DOptions>("Orthogonal", &TView3DOptions::Orthogonal, &TView3DOptions::SetOrthogonal, true);
  c.Integer<TView3DOptions>("Perspective", &TView3DOptions::Perspective, &TView3DOptions::SetPerspective, 15);
  c.Integer<TView3DOptions>("Rotation", &TView3DOptions::Rotation, &TView3DOptions::SetRotation, 345);
  c.Integer<TView3DOptions>("Tilt", &TView3DOptions::Tilt, &TView3DOptions::SetTilt, 0);
  c.Integer<TView3DOptions>("VertOffset", &TView3DOptions::VertOffset, &TView3DOptions::SetVertOffset, 0);
  c.Integer<TView3DOptions>("Zoom", &TView3DOptions::Zoom, &TView3DOptions::SetZoom, 100);
  c.Boolean<TView3DOptions>("ZoomText", &TView3DOptions::ZoomText, &TView3DOptions::SetZoomText, true);
}
