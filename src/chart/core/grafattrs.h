// Drawing attributes of the chart library: pens, brushes and fonts with the
// chart's extras, drop shadows, gradients and transparency blending. The
// plain holders only report real changes to their owner (OnChange); the
// shadow, the gradient and the blend also draw, through the 3D canvas
// interface only, so they work on every canvas.
#pragma once

#include <array>
#include <memory>
#include <span>
#include <string>

#include "chart/core/grafprocs.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/graphics.h"
#include "platform/ui/classes.h"

class TGrafCanvas;
class TCanvas3D;

enum TPenEndStyle { esRound, esSquare, esFlat };
enum TGradientDirection {
  gdTopBottom, gdBottomTop, gdLeftRight, gdRightLeft, gdFromCenter, gdFromTopLeft, gdFromBottomLeft, gdRadial,
  gdDiagonalUp, gdDiagonalDown
};
using TGrafTransparency = int;  // percent, 0..100

const TEnumInfo& PenEndStyleEnumInfo();
const TEnumInfo& GradientDirectionEnumInfo();

// ---- Pens ----

// A pen that can be switched off, drawn with small dots, or given end caps.
class TChartPen : public TPen {
public:
  explicit TChartPen(TNotifyEvent onChange = {});
  std::string ClassName() const override { return "TChartPen"; }
  // From another TChartPen also Visible, SmallDots, SmallSpace, EndStyle;
  // then the plain pen's fields.
  void Assign(const TGraphicsObject* source) override;

  TPenEndStyle EndStyle() const { return FEndStyle; }
  void SetEndStyle(TPenEndStyle value);
  bool SmallDots() const { return FSmallDots; }
  void SetSmallDots(bool value);
  int SmallSpace() const { return FSmallSpace; }
  void SetSmallSpace(int value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool value);
  void SwitchOff() { SetVisible(false); }
  void SwitchOn() { SetVisible(true); }

  // Per-instance defaults the streaming compares with.
  TPenEndStyle EndStyleDefault = esRound;
  bool VisibleDefault = true;

private:
  TPenEndStyle FEndStyle = esRound;
  bool FSmallDots = false;
  int FSmallSpace = 0;
  bool FVisible = true;
};

// Starts invisible.
class TChartHiddenPen : public TChartPen {
public:
  explicit TChartHiddenPen(TNotifyEvent onChange = {});
  std::string ClassName() const override { return "TChartHiddenPen"; }
};

// Grey dotted pen (grid lines).
class TDottedGrayPen : public TChartPen {
public:
  explicit TDottedGrayPen(TNotifyEvent onChange = {});
  std::string ClassName() const override { return "TDottedGrayPen"; }
};

class TDarkGrayPen : public TChartPen {
public:
  explicit TDarkGrayPen(TNotifyEvent onChange = {});
  std::string ClassName() const override { return "TDarkGrayPen"; }
};

class TWhitePen : public TChartPen {
public:
  explicit TWhitePen(TNotifyEvent onChange = {});
  std::string ClassName() const override { return "TWhitePen"; }
};

// ---- Brushes ----

// A brush whose optional picture becomes the fill pattern.
class TChartBrush : public TBrush {
public:
  explicit TChartBrush(TNotifyEvent onChange = {});
  ~TChartBrush() override;
  std::string ClassName() const override { return "TChartBrush"; }
  // From another TChartBrush also the picture; then the plain brush's fields.
  void Assign(const TGraphicsObject* source) override;

  // Created on first use; loading a picture into it notifies the owner.
  TPicture* Image();
  bool HasImage() const { return FImage != nullptr; }
  // Nil frees the picture; anything else is copied into it. Both notify.
  void SetImage(const TPicture* value);

private:
  std::unique_ptr<TPicture> FImage;
};

// ---- Shadows ----

class TGrafBlend;

class TGrafShadow : public TPersistent {
  ZV_CLASS(TGrafShadow)
public:
  explicit TGrafShadow(TNotifyEvent onChange = {});
  ~TGrafShadow() override;
  // From another TGrafShadow: Color, HorizSize, Smooth, Transparency, VertSize.
  void Assign(TPersistent* Source) override;

  TColor Color() const { return FColor; }
  void SetColor(TColor value);
  int HorizSize() const { return FHorizSize; }
  void SetHorizSize(int value);
  bool Smooth() const { return FSmooth; }
  void SetSmooth(bool value);
  TGrafTransparency Transparency() const { return FTransparency; }
  void SetTransparency(TGrafTransparency value);
  int VertSize() const { return FVertSize; }
  void SetVertSize(int value);

  int LargerSize() const { return std::max(FHorizSize, FVertSize); }
  void SetUniformSize(int value);

  // Prepares brush and pen and, when transparent, starts blending; false
  // when no shadow is to be drawn (no colour, or both sizes 0).
  bool BeginShadowDrawing(TCanvas3D* canvas, const TRect& rect, int z);
  void FinishBlending(TCanvas3D* canvas);
  void DrawRectShadow(TCanvas3D* canvas, const TRect& rect) { DrawRectShadowAtDepth(canvas, rect, 0); }
  void DrawRectShadowAtDepth(TCanvas3D* canvas, const TRect& rect, int z);
  void DrawEllipseShadow(TCanvas3D* canvas, const TRect& rect, int z = 0);

  TNotifyEvent OnChange;
  // What counts as the default for streaming; owners set them after construction.
  TColor ColorDefault = clSilver;
  int SizeDefault = 0;

private:
  void Changed();
  TColor FColor = clSilver;
  int FHorizSize = 0;
  bool FSmooth = true;
  TGrafTransparency FTransparency = 0;
  int FVertSize = 0;
  std::unique_ptr<TGrafBlend> FBlend;
};

// ---- Gradients ----

class TCustomGrafGradient : public TPersistent {
  ZV_CLASS(TCustomGrafGradient)
public:
  explicit TCustomGrafGradient(TNotifyEvent onChange = {});
  ~TCustomGrafGradient() override;
  // From another gradient: every field but the change event.
  void Assign(TPersistent* Source) override;

  int Balance() const { return FBalance; }
  void SetBalance(int value);
  TGradientDirection Direction() const { return FDirection; }
  void SetDirection(TGradientDirection value);
  TColor EndColor() const { return FEndColor; }
  void SetEndColor(TColor value);
  // clNone while there is no middle colour (even when one is still held).
  TColor MidColor() const { return FMiddleOn ? FMidColor : clNone; }
  // clNone switches back to two colours; any other colour turns the middle on.
  void SetMidColor(TColor value);
  int RadialX() const { return FRadialX; }
  void SetRadialX(int value);
  int RadialY() const { return FRadialY; }
  void SetRadialY(int value);
  TColor StartColor() const { return FStartColor; }
  void SetStartColor(TColor value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool value);
  bool MiddleOn() const { return FMiddleOn; }
  void UseMiddleColor();

  // Fills a rectangle; a corner size above 0 clips to a rounded rectangle first.
  void DrawInRect(TCanvas3D* canvas, const TRect& rect, int corner = 0);
  void DrawRadial(TCanvas3D* canvas, const TRect& rect);
  // Fills a polygon; with project the points are chart points at depth z.
  void DrawInPolygon(TCanvas3D* canvas, std::span<const TPoint> points, bool project, int z);
  void DrawInQuad(TCanvas3D* canvas, const std::array<TPoint, 4>& points);

  TNotifyEvent OnChange;

protected:
  void Changed();

private:
  int FBalance = 50;
  TGradientDirection FDirection = gdTopBottom;
  TColor FEndColor = clYellow;
  TColor FMidColor = clNone;
  int FRadialX = 0;
  int FRadialY = 0;
  TColor FStartColor = clWhite;
  bool FVisible = false;
  bool FMiddleOn = false;
};

class TGrafGradient : public TCustomGrafGradient {
  ZV_CLASS(TGrafGradient)
public:
  explicit TGrafGradient(TNotifyEvent onChange = {}) : TCustomGrafGradient(std::move(onChange)) {}
  // Projects the four chart points at depth z, then DrawInQuad.
  void DrawInQuad3D(TCanvas3D* canvas, const std::array<TPoint, 4>& points, int z);
};

class TGrafFontGradient : public TGrafGradient {
  ZV_CLASS(TGrafFontGradient)
public:
  explicit TGrafFontGradient(TNotifyEvent onChange = {}) : TGrafGradient(std::move(onChange)) {}
  void Assign(TPersistent* Source) override;
  // The gradient fills the widened outline of the text instead of its inside.
  bool Outline() const { return FOutline; }
  void SetOutline(bool value);

private:
  bool FOutline = false;
};

// The colour at step i of n of a balanced gradient: start + round((end -
// start) * ((i + 1) / (n + 1)) ^ (0.5 + 0.015 * balance)), per component.
TColor BalanceCurve(TColor start, TColor end, int i, int n, int balance);

// ---- Fonts ----

class TGrafFont : public TFont {
public:
  explicit TGrafFont(TNotifyEvent onChange = {});
  ~TGrafFont() override;
  std::string ClassName() const override { return "TGrafFont"; }
  // From another TGrafFont: gradient, spacing, outline and shadow (a missing
  // one frees the own), then the plain font.
  void Assign(const TGraphicsObject* source) override;

  // Sub-objects, created on first use with the font's change event.
  TGrafFontGradient* Gradient();
  TChartHiddenPen* OutLine();
  TGrafShadow* Shadow();
  bool HasGradient() const { return FGradient != nullptr; }
  bool HasOutLine() const { return FOutLine != nullptr; }
  bool HasShadow() const { return FShadow != nullptr; }
  // Nil frees the sub-object; anything else is copied into it.
  void SetGradient(TGrafFontGradient* value);
  void SetOutLine(TChartPen* value);
  void SetShadow(TGrafShadow* value);

  int InterCharSize() const { return FInterCharSize; }
  void SetInterCharSize(int value);

  // The canvas this font was last applied to (TGrafCanvas::ApplyFont).
  TGrafCanvas* LastCanvas() const { return FCanvas; }
  void SetLastCanvas(TGrafCanvas* canvas) { FCanvas = canvas; }

  // Per-instance defaults the streaming compares with.
  TColor DefaultColor = clBlack;
  TFontStyles DefaultStyle;

private:
  void SubChanged(TObject* sender);
  std::unique_ptr<TGrafFontGradient> FGradient;
  int FInterCharSize = 0;
  std::unique_ptr<TChartHiddenPen> FOutLine;
  std::unique_ptr<TGrafShadow> FShadow;
  TGrafCanvas* FCanvas = nullptr;
};

// ---- Transparency ----

// The background of a rectangle captured before something translucent is
// drawn over it, mixed back afterwards.
class TGrafBlend : public TObject {
public:
  TGrafBlend(TGrafCanvas* canvas, const TRect& rect);
  ~TGrafBlend() override;
  std::string ClassName() const override { return "TGrafBlend"; }

  void CaptureRect(const TRect& rect);
  // Mixes the captured background back: 0 leaves the drawing, 100 restores
  // the background.
  void ApplyTransparency(int percent);

  const TRect& Rect() const { return FRect; }
  bool Valid() const { return FValid; }
  TBitmap* Captured() const { return FBitmap.get(); }

private:
  TGrafCanvas* FCanvas;
  TRect FRect;
  std::unique_ptr<TBitmap> FBitmap;
  bool FValid = false;
};

// Mixes source into destination at (x, y) keeping `percent` of the drawing:
// d := d + (100 - percent) * (s - d) / 100 per channel.
void BlendBitmaps(TBitmap* source, TBitmap* destination, int x, int y, int percent);

// Registers the streaming descriptions of the pens, brushes and fonts above
// (run by the unit start-up).
void RegisterGrafAttributeClasses();
