// The switch between a chart panel's raster canvas and the OpenGL canvas,
// with what the GL canvas needs beyond the chart's 3D options: three lights,
// the global ambient light, shininess, antialiasing, shading, the surface
// draw style and the text style. The lights are set up every time the
// canvas builds its model view.
#pragma once

#include <array>
#include <functional>
#include <memory>

#include "chart/core/grafpanel.h"
#include "chart/series/grafglcanvas.h"
#include "platform/ui/classes.h"

class TGrafOpenGL;

class TGLPosition : public TPersistent {
public:
  ZV_CLASS(TGLPosition)
public:
  explicit TGLPosition(TGrafOpenGL* owner = nullptr) : FOwner(owner) {}
  void Assign(TPersistent* Source) override;
  double X() const { return FX; }
  double Y() const { return FY; }
  double Z() const { return FZ; }
  void SetX(double v);
  void SetY(double v);
  void SetZ(double v);
  void SetXYZ(double x, double y, double z) { FX = x, FY = y, FZ = z; }
  std::array<double, 3> XYZ() const { return {FX, FY, FZ}; }

private:
  TGrafOpenGL* FOwner;
  double FX = 0, FY = 0, FZ = 0;
};

class TGLLight : public TPersistent {
public:
  ZV_CLASS(TGLLight)
public:
  explicit TGLLight(TGrafOpenGL* owner = nullptr) : FOwner(owner) {}
  void Assign(TPersistent* Source) override;
  TColor Color() const { return FColor; }
  void SetColor(TColor v);
  bool Visible() const { return FVisible; }
  void SetVisible(bool v);
  // Red, green, blue / 255 and alpha 1.
  std::array<float, 4> GLColor() const;

protected:
  TGrafOpenGL* FOwner;

private:
  TColor FColor = 0x808080;
  bool FVisible = false;
};

class TGLLightSource : public TGLLight {
public:
  ZV_CLASS(TGLLightSource)
public:
  explicit TGLLightSource(TGrafOpenGL* owner = nullptr);
  void Assign(TPersistent* Source) override;
  TGLPosition* Direction() const { return FDirection.get(); }
  void SetDirection(TGLPosition* v) { FDirection->Assign(v); }
  bool FixedPosition() const { return FFixedPosition; }
  void SetFixedPosition(bool v);
  TGLPosition* Position() const { return FPosition.get(); }
  void SetPosition(TGLPosition* v) { FPosition->Assign(v); }
  double SpotDegrees() const { return FSpotDegrees; }
  void SetSpotDegrees(double v);
  bool UseDirection() const { return FUseDirection; }
  void SetUseDirection(bool v);

private:
  std::unique_ptr<TGLPosition> FDirection;
  bool FFixedPosition = false;
  std::unique_ptr<TGLPosition> FPosition;
  double FSpotDegrees = 180;
  bool FUseDirection = false;
};

class TGrafOpenGL : public TComponent {
public:
  ZV_CLASS(TGrafOpenGL)
public:
  explicit TGrafOpenGL(TComponent* AOwner);
  ~TGrafOpenGL() override;

  bool Active() const { return FActive; }
  void SetActive(bool v);
  int AmbientLight() const { return FAmbientLight; }
  void SetAmbientLight(int v);
  bool Antialias() const { return FAntialias; }
  void SetAntialias(bool v);
  TGrafCanvasSurfaceStyle DrawStyle() const { return FDrawStyle; }
  void SetDrawStyle(TGrafCanvasSurfaceStyle v);
  int FontExtrusion() const { return FFontExtrusion; }
  void SetFontExtrusion(int v);
  bool FontOutlines() const { return FFontOutlines; }
  void SetFontOutlines(bool v);
  TGLLightSource* Light() const { return FLight.get(); }
  void SetLight(TGLLightSource* v) { FLight->Assign(v); }
  TGLLightSource* Light1() const { return FLight1.get(); }
  void SetLight1(TGLLightSource* v) { FLight1->Assign(v); }
  TGLLightSource* Light2() const { return FLight2.get(); }
  void SetLight2(TGLLightSource* v) { FLight2->Assign(v); }
  bool ShadeQuality() const { return FShadeQuality; }
  void SetShadeQuality(bool v);
  double Shininess() const { return FShininess; }
  void SetShininess(double v);
  TCustomGrafPanel* GrafPanel() const { return FPanel; }
  void SetGrafPanel(TCustomGrafPanel* panel);
  std::function<void(TObject*)> OnInit;
  std::function<void(TObject*)> OnRepaint;

  // The panel's canvas when it is the GL canvas.
  TGLCanvas* Canvas() const;
  void Changed();
  void ChangeDouble(double& field, double value);
  void Recreate();
  void InitCanvas(TGLCanvas* canvas);
  void ApplyLight(TGLLightSource* light, GLenum glLight);
  // Whether the last switch to OpenGL fell back to the raster canvas (no GL).
  bool FellBack() const { return FFellBack; }

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  bool FActive = false;
  int FAmbientLight = 8;
  bool FAntialias = false;
  TGrafCanvasSurfaceStyle FDrawStyle = tcsSolid;
  int FFontExtrusion = 0;
  bool FFontOutlines = false;
  std::unique_ptr<TGLLightSource> FLight, FLight1, FLight2;
  bool FShadeQuality = true;
  double FShininess = 0.5;
  TCustomGrafPanel* FPanel = nullptr;
  bool FFellBack = false;
};
