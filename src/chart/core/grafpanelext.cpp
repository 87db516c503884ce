// The extended panel: zoom and panning settings, background gradient, back
// image and the panel background.
#include "chart/core/grafpanel.h"
#include "chart/core/grafutils.h"
#include "platform/ui/streaming.h"
#include "platform/ui/uitypes.h"

const TEnumInfo& GrafZoomDirectionEnumInfo() {
  static const TEnumInfo info{"TGrafZoomDirection", {"tzdHorizontal", "tzdVertical", "tzdBoth"}, 0};
  return info;
}

const TEnumInfo& PanningModeEnumInfo() {
  static const TEnumInfo info{"TPanningMode", {"pmNone", "pmHorizontal", "pmVertical", "pmBoth"}, 0};
  return info;
}

const TEnumInfo& GrafBackImageModeEnumInfo() {
  static const TEnumInfo info{"TGrafBackImageMode", {"pbmStretch", "pbmTile", "pbmCenter", "pbmCustom"}, 0};
  return info;
}

// ---- Zoom pen, brush and settings ----------------------------------------------

namespace {

// The zoom pen and brush stream as chart pen and brush with their own
// defaults (a white pen; a white, clear brush).
void RegisterZoomAttributeClasses() {
  static const bool done = [] {
    RegisterGrafAttributeClasses();
    static const TChartPen pen;
    static const TChartBrush brush;
    RegisterForeignClass<TGrafZoomPen>("TGrafZoomPen", GetClassInfo(&pen), [](TClassInfo& c) {
      c.Integer<TChartPen>("Color", &TChartPen::Color, &TChartPen::SetColor)
          .WithIdents(&ColorIdents())
          .WithStored([](TObject* o) {
            auto* p = static_cast<TGrafZoomPen*>(o);
            return p->Color() != p->DefaultColor;
          });
    });
    RegisterForeignClass<TGrafZoomBrush>("TGrafZoomBrush", GetClassInfo(&brush), [](TClassInfo& c) {
      c.Integer<TChartBrush>("Color", &TChartBrush::Color, &TChartBrush::SetColor, clWhite)
          .WithIdents(&ColorIdents());
      c.Enum<TChartBrush>("Style", BrushStyleEnumInfo(), &TChartBrush::Style, &TChartBrush::SetStyle, bsClear);
    });
    return true;
  }();
  (void)done;
}

}  // namespace

TGrafZoomPen::TGrafZoomPen() {
  RegisterZoomAttributeClasses();
  SetColor(clWhite);
}

TGrafZoomBrush::TGrafZoomBrush() {
  RegisterZoomAttributeClasses();
  SetColor(clWhite);
  SetStyle(bsClear);
}

ZV_CLASS_IMPL(TGrafZoom, TZoomPanning)

void TGrafZoom::DeclareProperties(TClassInfo& c) {
  using Z = TGrafZoom;
  c.Boolean<Z>("Allow", &Z::Allow, &Z::SetAllow, true);
  c.Boolean<Z>("Animated", &Z::Animated, &Z::SetAnimated, false);
  c.Integer<Z>("AnimatedSteps", &Z::AnimatedSteps, &Z::SetAnimatedSteps, 8);
  // Pen and brush are made on first use; one never made keeps its defaults.
  c.Object<Z, TChartBrush>("Brush", &Z::Brush, &Z::SetBrush).WithStored([](TObject* o) {
    return static_cast<Z*>(o)->HasBrush();
  });
  c.Enum<Z>("Direction", GrafZoomDirectionEnumInfo(), &Z::Direction, &Z::SetDirection, tzdBoth);
  c.Set<Z>(
      "KeyShift", ShiftStateEnumInfo(), [](Z* z) { return z->KeyShift().Bits(); },
      [](Z* z, uint64_t bits) { z->SetKeyShift(TShiftState::FromBits(bits)); }, 0);
  c.Integer<Z>("MinimumPixels", &Z::MinimumPixels, &Z::SetMinimumPixels, 16);
  c.Enum<Z>("MouseButton", MouseButtonEnumInfo(), &Z::MouseButton, &Z::SetMouseButton, mbLeft);
  c.Object<Z, TChartPen>("Pen", &Z::Pen, &Z::SetPen).WithStored([](TObject* o) {
    return static_cast<Z*>(o)->HasPen();
  });
  c.Boolean<Z>("UpLeftZooms", &Z::UpLeftZooms, &Z::SetUpLeftZooms, false);
}

TGrafZoom::~TGrafZoom() = default;

void TGrafZoom::Assign(TPersistent* Source) {
  auto* z = dynamic_cast<TGrafZoom*>(Source);
  if (!z || z == this) return;
  FAllow = z->FAllow;
  FAnimated = z->FAnimated;
  FAnimatedSteps = z->FAnimatedSteps;
  SetBrush(z->FBrush.get());
  FDirection = z->FDirection;
  FKeyShift = z->FKeyShift;
  FMouseButton = z->FMouseButton;
  SetPen(z->FPen.get());
}

TGrafZoomBrush* TGrafZoom::Brush() {
  if (!FBrush) FBrush = std::make_unique<TGrafZoomBrush>();
  return FBrush.get();
}

void TGrafZoom::SetBrush(TChartBrush* Value) {
  if (!Value) FBrush.reset();
  else if (Value != FBrush.get()) Brush()->Assign(Value);
}

TGrafZoomPen* TGrafZoom::Pen() {
  if (!FPen) FPen = std::make_unique<TGrafZoomPen>();
  return FPen.get();
}

void TGrafZoom::SetPen(TChartPen* Value) {
  if (!Value) FPen.reset();
  else if (Value != FPen.get()) Pen()->Assign(Value);
}

// ---- Back image --------------------------------------------------------------------

namespace {

void RegisterBackImageClass() {
  static const bool done = [] {
    static const TPicture picture;
    RegisterForeignClass<TBackImage>("TBackImage", GetClassInfo(&picture), [](TClassInfo& c) {
      using B = TBackImage;
      c.Boolean<B>("Inside", &B::Inside, &B::SetInside, false);
      c.Integer<B>("Left", &B::Left, &B::SetLeft, 0);
      c.Enum<B>("Mode", GrafBackImageModeEnumInfo(), &B::Mode, &B::SetMode, pbmStretch);
      c.Integer<B>("Top", &B::Top, &B::SetTop, 0);
    });
    return true;
  }();
  (void)done;
}

}  // namespace

TBackImage::TBackImage() { RegisterBackImageClass(); }

void TBackImage::AssignImage(const TPicture* Source) {
  if (Source == this) return;
  if (auto* b = dynamic_cast<const TBackImage*>(Source)) {
    FInside = b->FInside;
    FLeft = b->FLeft;
    FMode = b->FMode;
    FTop = b->FTop;
  }
  Assign(Source);
}

void TBackImage::SettingChanged() {
  if (OnChange) OnChange(this);
}

void TBackImage::SetInside(bool Value) {
  if (FInside == Value) return;
  FInside = Value;
  SettingChanged();
}

void TBackImage::SetLeft(int Value) {
  if (FLeft == Value) return;
  FLeft = Value;
  SettingChanged();
}

void TBackImage::SetMode(TGrafBackImageMode Value) {
  if (FMode == Value) return;
  FMode = Value;
  SettingChanged();
}

void TBackImage::SetTop(int Value) {
  if (FTop == Value) return;
  FTop = Value;
  SettingChanged();
}

// ---- Extended panel ------------------------------------------------------------------

ZV_CLASS_IMPL_NOPROPS(TCustomGrafPanelExtended, TCustomGrafPanel)

void TCustomGrafPanelExtended::PublishExtendedProperties(TClassInfo& c) {
  using P = TCustomGrafPanelExtended;
  c.Enum<P>("AllowPanning", PanningModeEnumInfo(), &P::AllowPanning, &P::SetAllowPanning, pmBoth);
  // The back image is made on first use; writing a panel makes none. It
  // comes before the three settings below, so that its picture is there
  // when they are read.
  auto hasBackImage = [](TObject* o) { return static_cast<P*>(o)->HasBackImage(); };
  c.Object<P, TPicture>("BackImage", &P::BackImage, &P::SetBackImage).WithStored(hasBackImage);
  c.Boolean<P>("BackImageInside", &P::BackImageInside, &P::SetBackImageInside, false);
  c.Enum<P>("BackImageMode", GrafBackImageModeEnumInfo(), &P::BackImageMode, &P::SetBackImageMode, pbmStretch)
      .WithStored(hasBackImage);
  c.Boolean<P>("BackImageTransp", &P::BackImageTransp, &P::SetBackImageTransp, false);
  c.Object<P, TCustomGrafGradient>("Gradient", &P::Gradient, &P::SetGradient);
  c.Object<P, TGrafZoom>("Zoom", &P::Zoom, &P::SetZoom);
  auto event = [&c](const char* name, TNotifyEvent P::*field) {
    c.Method<P, TNotifyEvent>(
        name, [field](P* p) { return p->*field; }, [field](P* p, const TNotifyEvent& e) { p->*field = e; });
  };
  event("OnAfterDraw", &P::OnAfterDraw);
  event("OnScroll", &P::OnScroll);
  event("OnUndoZoom", &P::OnUndoZoom);
  event("OnZoom", &P::OnZoom);
}

TCustomGrafPanelExtended::TCustomGrafPanelExtended(TComponent* AOwner)
    : TCustomGrafPanel(AOwner), FZoom(std::make_unique<TGrafZoom>()) {}

TCustomGrafPanelExtended::~TCustomGrafPanelExtended() {
  Destroying();
  FZoom.reset();
  FGradient.reset();
  FBackImage.reset();
}

TGrafGradient* TCustomGrafPanelExtended::Gradient() {
  if (!FGradient) FGradient = std::make_unique<TGrafGradient>([this](TObject* Sender) { HandleChange(Sender); });
  return FGradient.get();
}

void TCustomGrafPanelExtended::SetGradient(TCustomGrafGradient* Value) {
  if (!Value) {
    FGradient.reset();
    Invalidate();
  } else if (Value != FGradient.get()) {
    Gradient()->Assign(Value);
  }
}

void TCustomGrafPanelExtended::SetZoom(TGrafZoom* Value) { FZoom->Assign(Value); }

TBackImage* TCustomGrafPanelExtended::BackImage() {
  if (!FBackImage) {
    FBackImage = std::make_unique<TBackImage>();
    FBackImage->OnChange = [this](TObject* Sender) { HandleChange(Sender); };
  }
  return FBackImage.get();
}

void TCustomGrafPanelExtended::SetBackImage(const TPicture* Value) {
  if (!Value) {
    FBackImage.reset();
    Invalidate();
  } else if (Value != FBackImage.get()) {
    BackImage()->AssignImage(Value);
  }
}

bool TCustomGrafPanelExtended::BackImageAssigned() const {
  return FBackImage && FBackImage->Graphic() && !FBackImage->Graphic()->Empty();
}

bool TCustomGrafPanelExtended::BackImageInside() const { return BackImageAssigned() && FBackImage->Inside(); }

void TCustomGrafPanelExtended::SetBackImageInside(bool Value) { BackImage()->SetInside(Value); }

TGrafBackImageMode TCustomGrafPanelExtended::BackImageMode() { return BackImage()->Mode(); }

void TCustomGrafPanelExtended::SetBackImageMode(TGrafBackImageMode Value) { BackImage()->SetMode(Value); }

bool TCustomGrafPanelExtended::BackImageTransp() const {
  return FBackImage && FBackImage->Graphic() && FBackImage->Graphic()->Transparent();
}

void TCustomGrafPanelExtended::SetBackImageTransp(bool Value) {
  if (!FBackImage || !FBackImage->Graphic()) return;
  if (FBackImage->Graphic()->Transparent() == Value) return;
  FBackImage->Graphic()->SetTransparent(Value);
  Invalidate();
}

void TCustomGrafPanelExtended::RevertZoom() {
  if (OnUndoZoom) OnUndoZoom(this);
  Invalidate();
  ZoomedIn = false;
}

// ---- Background ----------------------------------------------------------------------

void TCustomGrafPanelExtended::FillBackgroundRect(const TRect& R) {
  TCanvas3D* canvas = PanelCanvas();
  canvas->SuspendRotation();
  if (FGradient && FGradient->Visible()) {
    FGradient->DrawInRect(canvas, R, 0);
  } else if ((!IsPrinting || PrintPanelBackground) && Color() != clNone) {
    canvas->CanvasBrush()->SetColor(Color());
    canvas->CanvasBrush()->SetStyle(bsSolid);
    canvas->EraseBackground(R);
  }
  canvas->ResumeRotation();
}

void TCustomGrafPanelExtended::PaintBackground(const TRect& R) {
  TCanvas3D* canvas = PanelCanvas();
  canvas->SuspendRotation();
  TRect r = R;
  if (Shadow()->LargerSize() > 0) {
    // The corner the shadow leaves uncovered shows the parent's colour.
    canvas->CanvasBrush()->SetColor(Parent() ? Parent()->Color() : Color());
    canvas->CanvasBrush()->SetStyle(bsSolid);
    canvas->FillRect(r);
    r.Right -= Shadow()->HorizSize();
    r.Bottom -= Shadow()->VertSize();
    Shadow()->DrawRectShadow(canvas, r);
  }
  FillBackgroundRect(r);
  if (BackImageAssigned() && !FBackImage->Inside()) DrawBackImage(r, 0);
  PaintBorderAndBevels(r);
  canvas->ResumeRotation();
}

void TCustomGrafPanelExtended::DrawBackImage(const TRect& R, int Z) {
  if (!BackImageAssigned()) return;
  TGraphic* graphic = FBackImage->Graphic();
  TCanvas3D* canvas = PanelCanvas();
  const bool orthogonal = !View3D() || View3DOptions()->Orthogonal();
  if (FBackImage->Mode() == pbmStretch) {
    if (Z < 1) canvas->StretchDraw(R, graphic);
    else if (orthogonal) canvas->StretchDraw(canvas->ProjectRectAtDepth(R, Z), graphic);
    else canvas->DrawGraphicAtDepth(R, graphic, Z);
    return;
  }
  const bool clip = ClippingAllowed();
  if (clip) {
    if (Z != 0) canvas->ClipCube(R, 0, DepthExtentX);
    else canvas->ClipToRect(R);
  }
  TRect r = R;
  if (Z > 0 && orthogonal) {
    r = canvas->ProjectRectAtDepth(R, Z);
    if (!View3D()) ++r.Top;
  }
  const bool atDepth = Z > 0 && !orthogonal;
  const int w = r.Width(), h = r.Height();
  const int iw = graphic->Width(), ih = graphic->Height();
  if (FBackImage->Mode() == pbmTile) {
    if (iw > 0 && ih > 0) {
      for (int y = 0; y < h; y += ih)
        for (int x = 0; x < w; x += iw) {
          if (atDepth) canvas->DrawGraphicAtDepth(Bounds(r.Left + x, r.Top + y, iw, ih), graphic, Z);
          else canvas->DrawGraphic(r.Left + x, r.Top + y, graphic);
        }
    }
  } else {
    FillBackgroundRect(r);
    if (FBackImage->Mode() == pbmCustom) r = Bounds(r.Left + FBackImage->Left(), r.Top + FBackImage->Top(), iw, ih);
    else InflateRect(r, (iw - w) / 2, (ih - h) / 2);
    if (atDepth) canvas->DrawGraphicAtDepth(r, graphic, Z);
    else canvas->DrawGraphic(r.Left, r.Top, graphic);
  }
  if (clip) canvas->RemoveClipRegion();
}

void TCustomGrafPanelExtended::DrawZoomFrame() {
  TCanvas3D* canvas = PanelCanvas();
  const TColor back = static_cast<TColor>(ColorToRGB(GetPanelColor()));
  const TColor invert = 0xFFFFFF - back;
  if (FZoom->HasBrush()) {
    TGrafZoomBrush* brush = FZoom->Brush();
    ApplyBrushColors(static_cast<TColor>(ColorToRGB(brush->Color())) ^ invert, brush, back);
  } else {
    canvas->CanvasBrush()->SetStyle(bsClear);
  }
  TGrafZoomPen* pen = FZoom->Pen();
  pen->SetMode(pmNotXor);
  TColor shown = static_cast<TColor>(ColorToRGB(pen->Color()));
  // A frame in the panel's own colour (the white pen on a white chart) would
  // leave every pixel as it was: it inverts what it crosses instead.
  if (shown == back) shown = invert;
  canvas->ApplyPenWithColor(pen, shown ^ invert);
  if (!FZoom->HasBrush() || FZoom->Brush()->Style() == bsClear) canvas->SetBackgroundMode(TRANSPARENT);
  canvas->Rectangle(FZoom->StartX, FZoom->StartY, FZoom->EndX, FZoom->EndY);
}

// ---- Assignment and streaming -----------------------------------------------------------

void TCustomGrafPanelExtended::Assign(TPersistent* Source) {
  if (auto* p = dynamic_cast<TCustomGrafPanelExtended*>(Source)) {
    SetBackImage(p->FBackImage.get());
    SetGradient(p->FGradient.get());
    FAllowPanning = p->FAllowPanning;
    SetZoom(p->Zoom());
  }
  TCustomGrafPanel::Assign(Source);
}

void TCustomGrafPanelExtended::DefineProperties(TFiler* Filer) {
  TCustomGrafPanel::DefineProperties(Filer);
  // Streams from before these settings moved into Zoom.
  Filer->DefineProperty("AllowZoom", [this](TReader* R) { FZoom->SetAllow(R->ReadBoolean()); }, nullptr, false);
  Filer->DefineProperty("AnimatedZoom", [this](TReader* R) { FZoom->SetAnimated(R->ReadBoolean()); }, nullptr, false);
  Filer->DefineProperty(
      "AnimatedZoomSteps", [this](TReader* R) { FZoom->SetAnimatedSteps(R->ReadInteger()); }, nullptr, false);
  const TRect standard{15, 15, 15, 15};
  Filer->DefineProperty(
      "PrintMargins",
      [this](TReader* R) {
        R->ReadListBegin();
        TRect m;
        m.Left = R->ReadInteger();
        m.Top = R->ReadInteger();
        m.Right = R->ReadInteger();
        m.Bottom = R->ReadInteger();
        R->ReadListEnd();
        PrintMargins = m;
      },
      [this](TWriter* W) {
        W->WriteListBegin();
        W->WriteInteger(PrintMargins.Left);
        W->WriteInteger(PrintMargins.Top);
        W->WriteInteger(PrintMargins.Right);
        W->WriteInteger(PrintMargins.Bottom);
        W->WriteListEnd();
      },
      !(PrintMargins == standard));
}
