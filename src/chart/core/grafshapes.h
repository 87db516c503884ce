// Shapes: the framed boxes of a chart (titles, legend, marks, axis titles,
// annotations). A shape fills, frames, shadows, bevels and blends a
// rectangle, rotated by an angle and placed at a depth on the panel's 3D
// canvas; its owner decides where the rectangle is and what text goes in it.
#pragma once

#include <array>
#include <memory>

#include "chart/core/grafattrs.h"
#include "chart/core/grafpanel.h"
#include "platform/ui/classes.h"

enum TChartObjectShapeStyle { fosRectangle, fosRoundRectangle };
enum TTextFormat { ttfNormal, ttfHtml };
const TEnumInfo& ChartObjectShapeStyleEnumInfo();
const TEnumInfo& TextFormatEnumInfo();

// A brush, a frame pen and visibility: the base of shapes, series pointers
// and callouts.
class TGrafCustomShapeBrushPen : public TPersistent {
  ZV_CLASS(TGrafCustomShapeBrushPen)
public:
  // The panel is attached first; brush and pen report to ShapeChanged.
  explicit TGrafCustomShapeBrushPen(TCustomGrafPanel* Panel = nullptr);
  ~TGrafCustomShapeBrushPen() override;
  // From a TGrafCustomShapeBrushPen: brush, pen and Visible.
  void Assign(TPersistent* Source) override;

  virtual void AttachToPanel(TCustomGrafPanel* Panel) { FParentPanel = Panel; }
  TCustomGrafPanel* ParentPanel() const { return FParentPanel; }

  TChartBrush* Brush() const { return FBrush.get(); }
  void SetBrush(TChartBrush* Value);
  TChartPen* Pen() const { return FPen.get(); }
  void SetPen(TChartPen* Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  void SwitchOff() { SetVisible(false); }

  // Every owned pen, brush, font, shadow and gradient reports here.
  virtual void ShapeChanged(TObject* Sender);

protected:
  // For descendants with a brush class of their own.
  TGrafCustomShapeBrushPen(TCustomGrafPanel* Panel, std::unique_ptr<TChartBrush> Brush);
  // Repaints the panel, when there is one.
  void Repaint();
  TNotifyEvent ChangeHandler();

  std::unique_ptr<TChartBrush> FBrush;
  TCustomGrafPanel* FParentPanel = nullptr;
  std::unique_ptr<TChartPen> FPen;
  bool FVisible = true;
};

class TGrafCustomShape : public TGrafCustomShapeBrushPen {
  ZV_CLASS(TGrafCustomShape)
public:
  explicit TGrafCustomShape(TCustomGrafPanel* Panel = nullptr);
  ~TGrafCustomShape() override;
  // From a TGrafCustomShapeBrushPen as the base; from a TGrafCustomShape also
  // bevel, colour, font, gradient, style, shadow, text format and transparency.
  void Assign(TPersistent* Source) override;
  void DefineProperties(TFiler* Filer) override;

  // Black, size 3, recorded as the shadow's stored defaults. Descendants with
  // other defaults override it and call it again from their constructor.
  virtual void SetShadowDefaults(TGrafShadow* AShadow);

  TBevelCut Bevel() const { return FBevel; }
  void SetBevel(TBevelCut Value);
  int BevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(int Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  TGrafFont* Font() const { return FFont.get(); }
  void SetFont(TGrafFont* Value);
  // Nil after SetShadow(nil): no shadow is drawn.
  TGrafShadow* Shadow() const { return FShadow.get(); }
  void SetShadow(TGrafShadow* Value);
  TChartObjectShapeStyle ShapeStyle() const { return FShapeStyle; }
  void SetShapeStyle(TChartObjectShapeStyle Value);
  TTextFormat TextFormat() const { return FTextFormat; }
  void SetTextFormat(TTextFormat Value);
  // Nothing at all is drawn.
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  bool TransparentByDefault() const { return FTransparentByDefault; }
  // Created on first use.
  TGrafGradient* Gradient();
  bool HasGradient() const { return FGradient != nullptr; }
  // Nil frees it; anything else is copied into it.
  void SetGradient(TCustomGrafGradient* Value);
  // Percent of see-through blending of the whole shape.
  TGrafTransparency Transparency() const { return FTransparency; }
  void SetTransparency(TGrafTransparency Value);

  // The shape's own rectangle, set by its owner.
  TRect ShapeBox;
  // ShapeBox's size counted inclusively (Right - Left + 1).
  int BoundsWidth() const { return ShapeBox.Right - ShapeBox.Left + 1; }
  int BoundsHeight() const { return ShapeBox.Bottom - ShapeBox.Top + 1; }
  void SetBoundsWidth(int W) { ShapeBox.Right = ShapeBox.Left + W - 1; }
  void SetBoundsHeight(int H) { ShapeBox.Bottom = ShapeBox.Top + H - 1; }

  void PaintAtBounds() { PaintRotated(ShapeBox, 0, 0); }
  // Draws the shape on the panel's canvas: angle in whole degrees
  // (counter-clockwise, 0 upright), z the depth.
  void PaintRotated(const TRect& R, int Angle, int Z);

  // The rectangle's corners (left-top, right-top, right-bottom, left-bottom)
  // turned about its centre.
  static std::array<TPoint, 4> RotatedCorners(const TRect& R, int Angle);

protected:
  // The gradient class of the shape.
  virtual std::unique_ptr<TGrafGradient> CreateGradient();
  void SetTransparentByDefault(bool Value) { FTransparentByDefault = Value; }

private:
  void DrawShapeOutline(TCanvas3D* Canvas, const TRect& R, int Angle, int Z);
  void DrawShadow(TCanvas3D* Canvas, const TRect& R, int Angle, int Z, bool& Reblend);

  TBevelCut FBevel = bvNone;
  int FBevelWidth = 2;
  TColor FColor = clWhite;
  std::unique_ptr<TGrafFont> FFont;
  std::unique_ptr<TGrafShadow> FShadow;
  TChartObjectShapeStyle FShapeStyle = fosRectangle;
  TTextFormat FTextFormat = ttfNormal;
  bool FTransparent = false;
  bool FTransparentByDefault = false;
  std::unique_ptr<TGrafGradient> FGradient;
  TGrafTransparency FTransparency = 0;
};

// The published shape: Bevel, BevelWidth, Color, Font, Gradient, Shadow,
// ShapeStyle and Transparent.
class TGrafShape : public TGrafCustomShape {
  ZV_CLASS(TGrafShape)
public:
  explicit TGrafShape(TCustomGrafPanel* Panel = nullptr) : TGrafCustomShape(Panel) {}
};
