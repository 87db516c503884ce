#include "chart/series/grafopengl.h"

#include <cstdio>

#include "platform/ui/controls.h"
#include "platform/ui/uitypes.h"

namespace {

constexpr GLenum GL_LIGHT0 = 0x4000, GL_LIGHT1 = 0x4001, GL_LIGHT2 = 0x4002;

const TEnumInfo& SurfaceStyleEnumInfo() {
  static const TEnumInfo e{"TGrafCanvasSurfaceStyle", {"tcsSolid", "tcsWire", "tcsDot"}, 0};
  return e;
}

bool gFallbackReported = false;

}  // namespace

// ---- TGLPosition ----

ZV_CLASS_IMPL(TGLPosition, TPersistent)
void TGLPosition::DeclareProperties(TClassInfo& c) {
  using P = TGLPosition;
  c.Float<P>("X", ftDouble, &P::X, &P::SetX, 0.0L);
  c.Float<P>("Y", ftDouble, &P::Y, &P::SetY, 0.0L);
  c.Float<P>("Z", ftDouble, &P::Z, &P::SetZ, 0.0L);
}

void TGLPosition::Assign(TPersistent* Source) {
  if (auto* p = dynamic_cast<TGLPosition*>(Source)) {
    SetXYZ(p->FX, p->FY, p->FZ);
    return;
  }
  TPersistent::Assign(Source);
}

void TGLPosition::SetX(double v) {
  if (FOwner) FOwner->ChangeDouble(FX, v);
  else FX = v;
}
void TGLPosition::SetY(double v) {
  if (FOwner) FOwner->ChangeDouble(FY, v);
  else FY = v;
}
void TGLPosition::SetZ(double v) {
  if (FOwner) FOwner->ChangeDouble(FZ, v);
  else FZ = v;
}

// ---- TGLLight ----

ZV_CLASS_IMPL(TGLLight, TPersistent)
void TGLLight::DeclareProperties(TClassInfo& c) {
  using L = TGLLight;
  // The stored default is the colour a light starts with, so every colour
  // survives a save and load.
  c.Integer<L>("Color", &L::Color, &L::SetColor, 0x808080).WithIdents(&ColorIdents());
  c.Boolean<L>("Visible", &L::Visible, &L::SetVisible, std::nullopt);
}

void TGLLight::Assign(TPersistent* Source) {
  if (auto* l = dynamic_cast<TGLLight*>(Source)) {
    FColor = l->FColor;
    FVisible = l->FVisible;
    return;
  }
  TPersistent::Assign(Source);
}

void TGLLight::SetColor(TColor v) {
  if (v == FColor) return;
  FColor = v;
  if (FOwner) FOwner->Changed();
}

void TGLLight::SetVisible(bool v) {
  if (v == FVisible) return;
  FVisible = v;
  if (FOwner) FOwner->Changed();
}

std::array<float, 4> TGLLight::GLColor() const {
  const TColorRef c = ColorToRGB(FColor);
  return {GetRValue(c) / 255.0f, GetGValue(c) / 255.0f, GetBValue(c) / 255.0f, 1.0f};
}

// ---- TGLLightSource ----

ZV_CLASS_IMPL(TGLLightSource, TGLLight)
void TGLLightSource::DeclareProperties(TClassInfo& c) {
  using L = TGLLightSource;
  c.Object<L, TGLPosition>("Direction", &L::Direction, &L::SetDirection);
  c.Boolean<L>("FixedPosition", &L::FixedPosition, &L::SetFixedPosition, false);
  c.Object<L, TGLPosition>("Position", &L::Position, &L::SetPosition);
  c.Float<L>("SpotDegrees", ftDouble, &L::SpotDegrees, &L::SetSpotDegrees, 180.0L);
  c.Boolean<L>("UseDirection", &L::UseDirection, &L::SetUseDirection, false);
}

TGLLightSource::TGLLightSource(TGrafOpenGL* owner)
    : TGLLight(owner), FDirection(std::make_unique<TGLPosition>(owner)), FPosition(std::make_unique<TGLPosition>(owner)) {
  FDirection->SetXYZ(0, 0, -1);
  FPosition->SetXYZ(-100, -100, -100);
}

void TGLLightSource::Assign(TPersistent* Source) {
  if (auto* l = dynamic_cast<TGLLightSource*>(Source)) {
    FDirection->Assign(l->FDirection.get());
    FFixedPosition = l->FFixedPosition;
    FPosition->Assign(l->FPosition.get());
    FSpotDegrees = l->FSpotDegrees;
    FUseDirection = l->FUseDirection;
  }
  TGLLight::Assign(Source);
}

void TGLLightSource::SetFixedPosition(bool v) {
  if (v == FFixedPosition) return;
  FFixedPosition = v;
  if (FOwner) FOwner->Changed();
}

void TGLLightSource::SetSpotDegrees(double v) {
  if (v == FSpotDegrees) return;
  FSpotDegrees = v;
  if (FOwner) FOwner->Changed();
}

void TGLLightSource::SetUseDirection(bool v) {
  if (v == FUseDirection) return;
  FUseDirection = v;
  if (FOwner) FOwner->Changed();
}

// ---- TGrafOpenGL ----

ZV_CLASS_IMPL(TGrafOpenGL, TComponent)
void TGrafOpenGL::DeclareProperties(TClassInfo& c) {
  using G = TGrafOpenGL;
  c.Boolean<G>("Active", &G::Active, &G::SetActive, false);
  c.Integer<G>("AmbientLight", &G::AmbientLight, &G::SetAmbientLight);
  c.Boolean<G>("Antialias", &G::Antialias, &G::SetAntialias, false);
  c.Enum<G>("DrawStyle", SurfaceStyleEnumInfo(), &G::DrawStyle, &G::SetDrawStyle, tcsSolid);
  c.Integer<G>("FontExtrusion", &G::FontExtrusion, &G::SetFontExtrusion, 0);
  c.Boolean<G>("FontOutlines", &G::FontOutlines, &G::SetFontOutlines, false);
  c.Object<G, TGLLightSource>("Light", &G::Light, &G::SetLight);
  c.Object<G, TGLLightSource>("Light1", &G::Light1, &G::SetLight1);
  c.Object<G, TGLLightSource>("Light2", &G::Light2, &G::SetLight2);
  c.Boolean<G>("ShadeQuality", &G::ShadeQuality, &G::SetShadeQuality, true);
  c.Float<G>("Shininess", ftDouble, &G::Shininess, &G::SetShininess, 0.0L);
}

TGrafOpenGL::TGrafOpenGL(TComponent* AOwner)
    : TComponent(AOwner),
      FLight(std::make_unique<TGLLightSource>(this)),
      FLight1(std::make_unique<TGLLightSource>(this)),
      FLight2(std::make_unique<TGLLightSource>(this)) {
  FLight->SetVisible(true);
}

TGrafOpenGL::~TGrafOpenGL() {
  if (FPanel) {
    FPanel->GLComponent = nullptr;
    FPanel->RemoveFreeNotification(this);
    if (FActive) FPanel->ReplaceCanvas(std::make_unique<TGrafCanvas3D>());
  }
}

TGLCanvas* TGrafOpenGL::Canvas() const { return FPanel ? dynamic_cast<TGLCanvas*>(FPanel->PanelCanvas()) : nullptr; }

void TGrafOpenGL::Changed() {
  if (FPanel) FPanel->Repaint();
  if (OnRepaint) OnRepaint(this);
}

void TGrafOpenGL::ChangeDouble(double& field, double value) {
  if (field == value) return;
  field = value;
  Changed();
}

void TGrafOpenGL::Recreate() {
  if (!FPanel) return;
  FFellBack = false;
  if (FActive) {
    // Without a GL the chart keeps painting on the raster canvas.
    if (!CreateGLRenderingContext(1, 1)) {
      FFellBack = true;
      if (!gFallbackReported) {
        std::fprintf(stderr, "Chart: OpenGL is not available here; the chart is drawn without it\n");
        gFallbackReported = true;
      }
      FPanel->ReplaceCanvas(std::make_unique<TGrafCanvas3D>());
      return;
    }
    auto canvas = std::make_unique<TGLCanvas>();
    canvas->FontMode = FFontOutlines ? 1 : 0;
    canvas->DrawStyle = FDrawStyle;
    canvas->ShadeQuality = FShadeQuality;
    canvas->FontExtrusion = FFontExtrusion;
    canvas->OnInit = [this](TGLCanvas* c) { InitCanvas(c); };
    if (FPanel->PanelCanvas()) canvas->SetBufferedDisplay(FPanel->PanelCanvas()->GetBufferedDisplay());
    FPanel->ReplaceCanvas(std::move(canvas));
  } else {
    FPanel->ReplaceCanvas(std::make_unique<TGrafCanvas3D>());
  }
}

void TGrafOpenGL::InitCanvas(TGLCanvas* canvas) {
  if (!canvas) return;
  canvas->SetAmbientLight(FAmbientLight);
  ApplyLight(FLight.get(), GL_LIGHT0);
  ApplyLight(FLight1.get(), GL_LIGHT1);
  ApplyLight(FLight2.get(), GL_LIGHT2);
  canvas->SetShininess(FShininess);
  canvas->SetAntialias(FAntialias);
  if (OnInit) OnInit(this);
}

void TGrafOpenGL::ApplyLight(TGLLightSource* light, GLenum glLight) {
  TGLCanvas* canvas = Canvas();
  if (!canvas || !canvas->Live()) return;
  if (!light->Visible()) {
    GL.glDisable(glLight);
    return;
  }
  if (light->FixedPosition()) canvas->DisableRotation();
  canvas->SetLight(glLight, light->GLColor(), light->SpotDegrees(), light->UseDirection(),
                   light->Direction()->XYZ(), light->Position()->XYZ());
  if (light->FixedPosition()) canvas->EnableRotation();
}

void TGrafOpenGL::SetActive(bool v) {
  if (v == FActive) return;
  FActive = v;
  Recreate();
}

void TGrafOpenGL::SetGrafPanel(TCustomGrafPanel* panel) {
  if (panel == FPanel) return;
  if (FPanel) {
    FPanel->GLComponent = nullptr;
    FPanel->RemoveFreeNotification(this);
  }
  FPanel = panel;
  if (FPanel) {
    FPanel->GLComponent = this;
    FPanel->FreeNotification(this);
    Recreate();
  } else {
    FActive = false;
  }
}

void TGrafOpenGL::SetAmbientLight(int v) {
  if (v == FAmbientLight) return;
  FAmbientLight = v;
  Changed();
}

void TGrafOpenGL::SetAntialias(bool v) {
  if (v == FAntialias) return;
  FAntialias = v;
  Changed();
}

void TGrafOpenGL::SetDrawStyle(TGrafCanvasSurfaceStyle v) {
  FDrawStyle = v;
  if (TGLCanvas* c = FActive ? Canvas() : nullptr) {
    c->DrawStyle = v;
    Changed();
  }
}

void TGrafOpenGL::SetFontExtrusion(int v) {
  FFontExtrusion = v;
  if (TGLCanvas* c = FActive ? Canvas() : nullptr) {
    // The next text builds the glyphs again in the new style.
    c->DeleteFont();
    c->FontExtrusion = v;
    c->InvalidateView();
  }
}

void TGrafOpenGL::SetFontOutlines(bool v) {
  FFontOutlines = v;
  if (TGLCanvas* c = FActive ? Canvas() : nullptr) {
    // The next text builds the glyphs again in the new style.
    c->DeleteFont();
    c->FontMode = v ? 1 : 0;
    c->InvalidateView();
  }
}

void TGrafOpenGL::SetShadeQuality(bool v) {
  if (v == FShadeQuality) return;
  FShadeQuality = v;
  if (TGLCanvas* c = FActive ? Canvas() : nullptr) {
    c->ShadeQuality = v;
    c->InvalidateView();
  }
}

void TGrafOpenGL::SetShininess(double v) {
  ChangeDouble(FShininess, v);
  if (FPanel) FPanel->Repaint();
}

void TGrafOpenGL::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FPanel) {
    FPanel = nullptr;
    FActive = false;
  }
}
