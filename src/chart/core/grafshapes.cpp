#include "chart/core/grafshapes.h"

#include <algorithm>
#include <cmath>

#include "chart/core/grafutils.h"
#include "platform/rtl/mathutils.h"
#include "platform/ui/streaming.h"

const TEnumInfo& ChartObjectShapeStyleEnumInfo() {
  static const TEnumInfo info{"TChartObjectShapeStyle", {"fosRectangle", "fosRoundRectangle"}, 0};
  return info;
}

const TEnumInfo& TextFormatEnumInfo() {
  static const TEnumInfo info{"TTextFormat", {"ttfNormal", "ttfHtml"}, 0};
  return info;
}

// ---- Brush and pen ------------------------------------------------------------------

ZV_CLASS_IMPL_NOPROPS(TGrafCustomShapeBrushPen, TPersistent)

TGrafCustomShapeBrushPen::TGrafCustomShapeBrushPen(TCustomGrafPanel* Panel)
    : TGrafCustomShapeBrushPen(Panel, nullptr) {}

TGrafCustomShapeBrushPen::TGrafCustomShapeBrushPen(TCustomGrafPanel* Panel, std::unique_ptr<TChartBrush> Brush) {
  AttachToPanel(Panel);
  FBrush = Brush ? std::move(Brush) : std::make_unique<TChartBrush>();
  FBrush->OnChange = ChangeHandler();
  FPen = std::make_unique<TChartPen>(ChangeHandler());
}

TGrafCustomShapeBrushPen::~TGrafCustomShapeBrushPen() = default;

TNotifyEvent TGrafCustomShapeBrushPen::ChangeHandler() {
  return [this](TObject* Sender) { ShapeChanged(Sender); };
}

void TGrafCustomShapeBrushPen::ShapeChanged(TObject*) { Repaint(); }

void TGrafCustomShapeBrushPen::Repaint() {
  if (FParentPanel) FParentPanel->Invalidate();
}

void TGrafCustomShapeBrushPen::SetBrush(TChartBrush* Value) { FBrush->Assign(Value); }
void TGrafCustomShapeBrushPen::SetPen(TChartPen* Value) { FPen->Assign(Value); }

void TGrafCustomShapeBrushPen::SetVisible(bool Value) {
  if (FParentPanel) FParentPanel->ChangeBoolean(FVisible, Value);
  else FVisible = Value;
}

void TGrafCustomShapeBrushPen::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TGrafCustomShapeBrushPen*>(Source);
  if (!s) {
    TPersistent::Assign(Source);
    return;
  }
  if (s == this) return;
  SetBrush(s->Brush());
  SetPen(s->Pen());
  SetVisible(s->Visible());
}

// ---- Shapes ---------------------------------------------------------------------------

ZV_CLASS_IMPL_NOPROPS(TGrafCustomShape, TGrafCustomShapeBrushPen)

TGrafCustomShape::TGrafCustomShape(TCustomGrafPanel* Panel) : TGrafCustomShapeBrushPen(Panel) {
  FShadow = std::make_unique<TGrafShadow>(ChangeHandler());
  SetShadowDefaults(FShadow.get());
  FFont = std::make_unique<TGrafFont>(ChangeHandler());
}

TGrafCustomShape::~TGrafCustomShape() {
  FShadow.reset();
  FFont.reset();
  FGradient.reset();
}

void TGrafCustomShape::SetShadowDefaults(TGrafShadow* AShadow) {
  if (!AShadow) return;
  AShadow->SetColor(clBlack);
  AShadow->SetUniformSize(3);
  AShadow->ColorDefault = clBlack;
  AShadow->SizeDefault = 3;
}

std::unique_ptr<TGrafGradient> TGrafCustomShape::CreateGradient() { return std::make_unique<TGrafGradient>(); }

TGrafGradient* TGrafCustomShape::Gradient() {
  if (!FGradient) {
    FGradient = CreateGradient();
    FGradient->OnChange = ChangeHandler();
  }
  return FGradient.get();
}

void TGrafCustomShape::SetGradient(TCustomGrafGradient* Value) {
  if (!Value) {
    if (!FGradient) return;
    FGradient.reset();
    Repaint();
  } else if (Value != FGradient.get()) {
    Gradient()->Assign(Value);
  }
}

void TGrafCustomShape::SetShadow(TGrafShadow* Value) {
  if (!Value) {
    if (!FShadow) return;
    FShadow.reset();
    Repaint();
    return;
  }
  if (Value == FShadow.get()) return;
  if (!FShadow) {
    FShadow = std::make_unique<TGrafShadow>(ChangeHandler());
    SetShadowDefaults(FShadow.get());
  }
  FShadow->Assign(Value);
}

void TGrafCustomShape::SetFont(TGrafFont* Value) { FFont->Assign(Value); }

void TGrafCustomShape::SetBevel(TBevelCut Value) {
  if (FBevel == Value) return;
  FBevel = Value;
  Repaint();
}

void TGrafCustomShape::SetBevelWidth(int Value) {
  if (FBevelWidth == Value) return;
  FBevelWidth = Value;
  Repaint();
}

void TGrafCustomShape::SetColor(TColor Value) {
  if (FParentPanel) FParentPanel->ChangeColor(FColor, Value);
  else FColor = Value;
}

void TGrafCustomShape::SetShapeStyle(TChartObjectShapeStyle Value) {
  if (FShapeStyle == Value) return;
  FShapeStyle = Value;
  Repaint();
}

void TGrafCustomShape::SetTextFormat(TTextFormat Value) {
  if (FTextFormat == Value) return;
  FTextFormat = Value;
  Repaint();
}

void TGrafCustomShape::SetTransparent(bool Value) {
  if (FParentPanel) FParentPanel->ChangeBoolean(FTransparent, Value);
  else FTransparent = Value;
}

void TGrafCustomShape::SetTransparency(TGrafTransparency Value) {
  if (FTransparency == Value) return;
  FTransparency = Value;
  Repaint();
}

void TGrafCustomShape::Assign(TPersistent* Source) {
  TGrafCustomShapeBrushPen::Assign(Source);
  auto* s = dynamic_cast<TGrafCustomShape*>(Source);
  if (!s || s == this) return;
  SetBevel(s->FBevel);
  SetBevelWidth(s->FBevelWidth);
  SetColor(s->FColor);
  SetFont(s->FFont.get());
  SetGradient(s->FGradient.get());
  SetShapeStyle(s->FShapeStyle);
  SetShadow(s->FShadow.get());
  SetTextFormat(s->FTextFormat);
  SetTransparent(s->FTransparent);
  SetTransparency(s->FTransparency);
}

void TGrafCustomShape::DefineProperties(TFiler* Filer) {
  TGrafCustomShapeBrushPen::DefineProperties(Filer);
  // Streams from before the shadow became an object.
  Filer->DefineProperty(
      "ShadowColor",
      [this](TReader* R) {
        TColor color = clBlack;
        if (R->NextValue() == vaIdent) {
          int64_t v = 0;
          const std::string ident = R->ReadIdent();
          if (ColorIdents().FromIdent && ColorIdents().FromIdent(ident, v)) color = static_cast<TColor>(v);
        } else {
          color = R->ReadInteger();
        }
        if (!FShadow) FShadow = std::make_unique<TGrafShadow>(ChangeHandler());
        FShadow->SetColor(color);
      },
      nullptr, false);
  Filer->DefineProperty(
      "ShadowSize",
      [this](TReader* R) {
        const int size = R->ReadInteger();
        if (!FShadow) FShadow = std::make_unique<TGrafShadow>(ChangeHandler());
        FShadow->SetUniformSize(size);
      },
      nullptr, false);
}

std::array<TPoint, 4> TGrafCustomShape::RotatedCorners(const TRect& R, int Angle) {
  const int cx = (R.Left + R.Right) / 2, cy = (R.Top + R.Bottom) / 2;
  const double a = Angle * 0.017453292519943295;
  const double s = std::sin(a), c = std::cos(a);
  const TPoint corners[4] = {{R.Left, R.Top}, {R.Right, R.Top}, {R.Right, R.Bottom}, {R.Left, R.Bottom}};
  std::array<TPoint, 4> result;
  for (int i = 0; i < 4; ++i) {
    const double dx = corners[i].X - cx, dy = corners[i].Y - cy;
    result[i] = {static_cast<int>(Round(dx * c + dy * s)) + cx, static_cast<int>(Round(-dx * s + dy * c)) + cy};
  }
  return result;
}

void TGrafCustomShape::DrawShapeOutline(TCanvas3D* Canvas, const TRect& R, int Angle, int Z) {
  if (Angle < 1) {
    if (Canvas->RendersWithoutGdi()) Canvas->RectangleWithZ(R, Z);
    else if (FShapeStyle == fosRoundRectangle) Canvas->RoundRect(R.Left, R.Top, R.Right, R.Bottom, 16, 16);
    else Canvas->Rectangle(R.Left, R.Top, R.Right, R.Bottom);
  } else {
    const std::array<TPoint, 4> p = RotatedCorners(R, Angle);
    Canvas->Polygon(p);
  }
}

void TGrafCustomShape::DrawShadow(TCanvas3D* Canvas, const TRect& R, int Angle, int Z, bool& Reblend) {
  if (Angle == 0 && FShapeStyle == fosRectangle) {
    const bool gdi = !Canvas->RendersWithoutGdi();
    if (gdi) Canvas->SuspendRotation();
    FShadow->DrawRectShadowAtDepth(Canvas, R, Z);
    if (gdi) Canvas->ResumeRotation();
  }
  if (FTransparency <= 0) return;
  int h = FShadow->HorizSize(), v = FShadow->VertSize();
  if (std::max(h, v) > 0 && FPen->Visible()) {
    h += FPen->Width();
    v += FPen->Width();
  }
  Canvas->CanvasPen()->SetStyle(psClear);
  Canvas->CanvasBrush()->SetColor(FShadow->Color());
  Canvas->CanvasBrush()->SetStyle(bsSolid);
  TRect r = R;
  OffsetRect(r, h, v);
  std::unique_ptr<TGrafBlend> blend;
  if (FShadow->Transparency() > 0) {
    blend = Canvas->BeginBlending(r, FShadow->Transparency());
    Reblend = true;
  }
  DrawShapeOutline(Canvas, r, Angle, Z);
  if (blend) Canvas->EndBlending(std::move(blend));
}

void TGrafCustomShape::PaintRotated(const TRect& R, int Angle, int Z) {
  if (FTransparent || !FParentPanel) return;
  TCanvas3D* canvas = FParentPanel->PanelCanvas();
  std::unique_ptr<TGrafBlend> blend;
  if (FTransparency > 0) {
    const TRect area = Angle == 0 ? R : ExclusiveBoundsOfPoints(RotatedCorners(R, Angle).data(), 4);
    blend = canvas->BeginBlending(area, FTransparency);
  }
  bool reblend = false;
  if (FShadow && FShadow->LargerSize() != 0 && FBrush->Style() != bsClear) DrawShadow(canvas, R, Angle, Z, reblend);
  if (FGradient && FGradient->Visible()) {
    if (Angle > 0) {
      const std::array<TPoint, 4> p = RotatedCorners(R, Angle);
      if (canvas->RendersWithoutGdi()) FGradient->DrawInQuad3D(canvas, p, Z);
      else FGradient->DrawInQuad(canvas, p);
    } else if (canvas->RendersWithoutGdi()) {
      canvas->SetGradientDepth(Z);
      FGradient->DrawInRect(canvas, R, 0);
      canvas->SetGradientDepth(0);
    } else {
      FGradient->DrawInRect(canvas, R, FShapeStyle == fosRoundRectangle ? 16 : 0);
    }
    canvas->CanvasBrush()->SetStyle(bsClear);  // the outline only frames now
  } else {
    canvas->ApplyBrush(FBrush.get(), FColor, FBrush->Color());
  }
  canvas->ApplyPenWithColor(FPen.get(), FPen->Color());
  DrawShapeOutline(canvas, R, Angle, Z);
  if (Angle == 0) {
    TRect r = R;
    PaintBevel(canvas, FBevel, r, 0, FBevelWidth);
  }
  if (blend) {
    // A transparent shadow blended on its own in between: the canvas
    // remembers one transparency, so give it the shape's back.
    if (reblend) canvas->BeginBlending(TRect{}, FTransparency).reset();
    canvas->EndBlending(std::move(blend));
  }
}

// ---- The published shape ------------------------------------------------------------------

ZV_CLASS_IMPL(TGrafShape, TGrafCustomShape)

void TGrafShape::DeclareProperties(TClassInfo& c) {
  using S = TGrafShape;
  c.Enum<S>("Bevel", BevelCutEnumInfo(), &S::Bevel, &S::SetBevel, bvNone);
  c.Integer<S>("BevelWidth", &S::BevelWidth, &S::SetBevelWidth, 2);
  c.Integer<S>("Color", &S::Color, &S::SetColor, clWhite).WithIdents(&ColorIdents());
  c.Object<S, TGrafFont>("Font", &S::Font, &S::SetFont);
  c.Object<S, TCustomGrafGradient>("Gradient", &S::Gradient, &S::SetGradient);
  c.Object<S, TGrafShadow>("Shadow", &S::Shadow, &S::SetShadow);
  c.Enum<S>("ShapeStyle", ChartObjectShapeStyleEnumInfo(), &S::ShapeStyle, &S::SetShapeStyle, fosRectangle);
  c.Boolean<S>("Transparent", &S::Transparent, &S::SetTransparent, std::nullopt)
      .WithStored([](TObject* o) {
        auto* s = static_cast<S*>(o);
        return s->Transparent() != s->TransparentByDefault();
      });
}
