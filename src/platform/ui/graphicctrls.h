// Controls without a window that paint on their parent: a paint box drawn
// by its OnPaint, a shape, an image showing a picture, and a bevel.
#pragma once

#include <memory>

#include "platform/gfx/bitmap.h"
#include "platform/ui/controls.h"

// Paints only through OnPaint, with its Canvas (font and brush colour of
// the box set before each paint).
class TPaintBox : public TGraphicControl {
  ZV_CLASS(TPaintBox)
public:
  explicit TPaintBox(TComponent* AOwner);
  TNotifyEvent OnPaint;

protected:
  void Paint() override;
};

enum TShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };

// A rectangle, square, rounded rectangle or square, ellipse or circle drawn
// with Pen and Brush inside the control (the pen's width kept inside); the
// square kinds are centred. A change of Pen or Brush repaints it.
class TShape : public TGraphicControl {
  ZV_CLASS(TShape)
public:
  explicit TShape(TComponent* AOwner);
  ~TShape() override;
  TShapeType Shape() const { return FShape; }
  void SetShape(TShapeType v);
  TPen* Pen() const { return FPen.get(); }
  void SetPen(const TPen* v) { FPen->Assign(v); }
  TBrush* Brush() const { return FBrush.get(); }
  void SetBrush(const TBrush* v) { FBrush->Assign(v); }

protected:
  void Paint() override;

private:
  TShapeType FShape = stRectangle;
  std::unique_ptr<TPen> FPen;
  std::unique_ptr<TBrush> FBrush;
};

// Shows Picture: at its natural size from the top-left corner, centred
// (Center), stretched over the control (Stretch), and with Proportional
// shrunk (or with Stretch also grown) to fit keeping its aspect. AutoSize
// sizes the control to the picture. Canvas draws into the picture's bitmap
// (made as large as the control when the picture is empty) and the control
// shows each drawing; a picture that is no bitmap has no canvas.
class TImage : public TGraphicControl {
  ZV_CLASS(TImage)
public:
  explicit TImage(TComponent* AOwner);
  ~TImage() override;
  TPicture* Picture() const { return FPicture.get(); }
  void SetPicture(const TPicture* v) { FPicture->Assign(v); }
  // Raises EInvalidOperation "Can only modify an image if it contains a
  // bitmap" when the picture holds another kind of graphic.
  TCanvas* Canvas();
  bool Stretch() const { return FStretch; }
  void SetStretch(bool v);
  bool Center() const { return FCenter; }
  void SetCenter(bool v);
  bool Proportional() const { return FProportional; }
  void SetProportional(bool v);
  // The picture's graphic is drawn transparent.
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool v);
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool v);
  // Where the picture is drawn, in client coordinates.
  TRect DestRect() const;

protected:
  void Paint() override;
  void PictureChanged();

private:
  std::unique_ptr<TPicture> FPicture;
  bool FStretch = false;
  bool FCenter = false;
  bool FProportional = false;
  bool FTransparent = false;
  bool FAutoSize = false;
  bool FDrawing = false;
};

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle { bsLowered, bsRaised };

// A lowered or raised box, frame or edge line, in the button shadow and
// highlight colours.
class TBevel : public TGraphicControl {
  ZV_CLASS(TBevel)
public:
  explicit TBevel(TComponent* AOwner);
  TBevelShape Shape() const { return FShape; }
  void SetShape(TBevelShape v);
  TBevelStyle Style() const { return FStyle; }
  void SetStyle(TBevelStyle v);

protected:
  void Paint() override;

private:
  TBevelShape FShape = bsBox;
  TBevelStyle FStyle = bsLowered;
};
