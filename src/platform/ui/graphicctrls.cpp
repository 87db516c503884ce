#include "platform/ui/graphicctrls.h"

#include <algorithm>

#include "platform/rtl/exceptions.h"

// ---------------------------------------------------------------------------
// TPaintBox

ZV_CLASS_IMPL(TPaintBox, TGraphicControl)

void TPaintBox::DeclareProperties(TClassInfo& c) {
  c.Method<TPaintBox, TNotifyEvent>("OnPaint", [](TPaintBox* o) { return static_cast<bool>(o->OnPaint); },
                                    [](TPaintBox* o, TNotifyEvent e) { o->OnPaint = std::move(e); });
}

TPaintBox::TPaintBox(TComponent* AOwner) : TGraphicControl(AOwner) {
  FControlStyle.Include(csReplicatable);
  FWidth = 105;
  FHeight = 105;
}

void TPaintBox::Paint() {
  TCanvas* canvas = Canvas();
  canvas->SetFont(FFont.get());
  canvas->Brush()->SetColor(FColor);
  if (OnPaint) OnPaint(this);
}

// ---------------------------------------------------------------------------
// TShape

ZV_CLASS_IMPL(TShape, TGraphicControl)

void TShape::DeclareProperties(TClassInfo& c) {
  static const TEnumInfo shapes{
      "TShapeType", {"stRectangle", "stSquare", "stRoundRect", "stRoundSquare", "stEllipse", "stCircle"}, 0};
  c.Enum<TShape>("Shape", shapes, &TShape::Shape, &TShape::SetShape, stRectangle);
}

TShape::TShape(TComponent* AOwner)
    : TGraphicControl(AOwner), FPen(std::make_unique<TPen>()), FBrush(std::make_unique<TBrush>()) {
  FControlStyle.Include(csReplicatable);
  FWidth = 65;
  FHeight = 65;
  FPen->OnChange = [this](TObject*) { Invalidate(); };
  FBrush->OnChange = [this](TObject*) { Invalidate(); };
}

TShape::~TShape() {
  FPen->OnChange = nullptr;
  FBrush->OnChange = nullptr;
}

void TShape::SetShape(TShapeType v) {
  if (FShape == v) return;
  FShape = v;
  Invalidate();
}

void TShape::Paint() {
  TCanvas* canvas = Canvas();
  canvas->SetPen(FPen.get());
  canvas->SetBrush(FBrush.get());
  // The pen's width stays inside the control: a line of width w is centred
  // on the outline, so the outline sits w/2 in.
  const int pw = FPen->Width();
  int x = pw / 2, y = x;
  int w = FWidth - pw + 1, h = FHeight - pw + 1;
  if (pw == 0) {
    --w;
    --h;
  }
  const int s = std::min(w, h);
  if (FShape == stSquare || FShape == stRoundSquare || FShape == stCircle) {
    x += (w - s) / 2;
    y += (h - s) / 2;
    w = h = s;
  }
  switch (FShape) {
    case stRectangle:
    case stSquare: canvas->Rectangle(x, y, x + w, y + h); break;
    case stRoundRect:
    case stRoundSquare: canvas->RoundRect(x, y, x + w, y + h, s / 4, s / 4); break;
    case stEllipse:
    case stCircle: canvas->Ellipse(x, y, x + w, y + h); break;
  }
}

// ---------------------------------------------------------------------------
// TImage

ZV_CLASS_IMPL(TImage, TGraphicControl)

void TImage::DeclareProperties(TClassInfo& c) {
  c.Boolean<TImage>("AutoSize", &TImage::AutoSize, &TImage::SetAutoSize, false);
  c.Boolean<TImage>("Center", &TImage::Center, &TImage::SetCenter, false);
  c.Boolean<TImage>("Proportional", &TImage::Proportional, &TImage::SetProportional, false);
  c.Boolean<TImage>("Stretch", &TImage::Stretch, &TImage::SetStretch, false);
  c.Boolean<TImage>("Transparent", &TImage::Transparent, &TImage::SetTransparent, false);
  c.Object<TImage, TPicture>("Picture", &TImage::Picture, &TImage::SetPicture);
}

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner), FPicture(std::make_unique<TPicture>()) {
  FControlStyle.Include(csReplicatable);
  FWidth = 105;
  FHeight = 105;
  FPicture->OnChange = [this](TObject*) { PictureChanged(); };
}

TImage::~TImage() {
  Destroying();
  FPicture->OnChange = nullptr;
  if (auto* b = dynamic_cast<TBitmap*>(FPicture->Graphic()); b && b->HasCanvas()) b->Canvas()->OnChange = nullptr;
}

TCanvas* TImage::Canvas() {
  if (!FPicture->Graphic()) {
    // An empty image draws on a bitmap of its own size.
    TBitmap* b = FPicture->Bitmap();
    b->SetSize(FWidth, FHeight);
  }
  auto* bitmap = dynamic_cast<TBitmap*>(FPicture->Graphic());
  if (!bitmap) throw EInvalidOperation("Can only modify an image if it contains a bitmap");
  TCanvas* canvas = bitmap->Canvas();
  // Drawing on the bitmap shows on the control.
  if (!canvas->OnChange) canvas->OnChange = [this](TObject*) { if (!FDrawing) Invalidate(); };
  return canvas;
}

TRect TImage::DestRect() const {
  int w = FPicture->Width(), h = FPicture->Height();
  const TRect client = ClientRect();
  const int cw = client.Width(), ch = client.Height();
  if (FStretch || (FProportional && (w > cw || h > ch))) {
    if (FProportional && w > 0 && h > 0) {
      const double aspect = static_cast<double>(w) / h;
      if (w > h) {
        w = cw;
        h = static_cast<int>(cw / aspect);
        if (h > ch) {
          h = ch;
          w = static_cast<int>(ch * aspect);
        }
      } else {
        h = ch;
        w = static_cast<int>(ch * aspect);
        if (w > cw) {
          w = cw;
          h = static_cast<int>(cw / aspect);
        }
      }
    } else {
      w = cw;
      h = ch;
    }
  }
  TRect r = Rect(0, 0, w, h);
  if (FCenter) OffsetRect(r, (cw - w) / 2, (ch - h) / 2);
  return r;
}

void TImage::Paint() {
  TGraphic* g = FPicture->Graphic();
  if (!g || g->Empty()) return;
  // The bitmap's own canvas may be open on it; drawing it tells nothing.
  FDrawing = true;
  struct TReset {
    bool& Flag;
    ~TReset() { Flag = false; }
  } reset{FDrawing};
  TGraphicControl::Canvas()->StretchDraw(DestRect(), g);
}

void TImage::PictureChanged() {
  TGraphic* g = FPicture->Graphic();
  if (g && g->Transparent() != FTransparent) g->SetTransparent(FTransparent);  // comes back here once
  if (FAutoSize && g && !g->Empty() && (g->Width() != FWidth || g->Height() != FHeight))
    SetBounds(FLeft, FTop, g->Width(), g->Height());
  Invalidate();
}

void TImage::SetStretch(bool v) {
  if (FStretch == v) return;
  FStretch = v;
  Invalidate();
}

void TImage::SetCenter(bool v) {
  if (FCenter == v) return;
  FCenter = v;
  Invalidate();
}

void TImage::SetProportional(bool v) {
  if (FProportional == v) return;
  FProportional = v;
  Invalidate();
}

void TImage::SetTransparent(bool v) {
  if (FTransparent == v) return;
  FTransparent = v;
  PictureChanged();
}

void TImage::SetAutoSize(bool v) {
  if (FAutoSize == v) return;
  FAutoSize = v;
  PictureChanged();
}

// ---------------------------------------------------------------------------
// TBevel

ZV_CLASS_IMPL(TBevel, TGraphicControl)

void TBevel::DeclareProperties(TClassInfo& c) {
  static const TEnumInfo shapes{
      "TBevelShape", {"bsBox", "bsFrame", "bsTopLine", "bsBottomLine", "bsLeftLine", "bsRightLine", "bsSpacer"}, 0};
  static const TEnumInfo styles{"TBevelStyle", {"bsLowered", "bsRaised"}, 0};
  c.Enum<TBevel>("Shape", shapes, &TBevel::Shape, &TBevel::SetShape, bsBox);
  c.Enum<TBevel>("Style", styles, &TBevel::Style, &TBevel::SetStyle, bsLowered);
}

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner) {
  FControlStyle.Include(csReplicatable);
  FWidth = 50;
  FHeight = 50;
}

void TBevel::SetShape(TBevelShape v) {
  if (FShape == v) return;
  FShape = v;
  Invalidate();
}

void TBevel::SetStyle(TBevelStyle v) {
  if (FStyle == v) return;
  FStyle = v;
  Invalidate();
}

void TBevel::Paint() {
  TCanvas* canvas = Canvas();
  canvas->Pen()->SetStyle(psSolid);
  canvas->Pen()->SetWidth(1);
  // Lowered: shadow on the top-left edges, highlight on the bottom-right.
  TColor first = FStyle == bsLowered ? clBtnShadow : clBtnHighlight;
  TColor second = FStyle == bsLowered ? clBtnHighlight : clBtnShadow;
  auto line = [canvas](TColor color, int x1, int y1, int x2, int y2) {
    canvas->Pen()->SetColor(color);
    canvas->MoveTo(x1, y1);
    canvas->LineTo(x2, y2);
  };
  // Top-left edges in one colour, bottom-right in the other; the corner
  // points are included.
  auto box = [&](const TRect& r, TColor topLeft, TColor bottomRight) {
    canvas->Pen()->SetColor(topLeft);
    canvas->Polyline({Point(r.Left, r.Bottom), Point(r.Left, r.Top), Point(r.Right, r.Top)});
    canvas->Pen()->SetColor(bottomRight);
    canvas->Polyline({Point(r.Right, r.Top), Point(r.Right, r.Bottom), Point(r.Left, r.Bottom)});
  };
  const int w = FWidth, h = FHeight;
  switch (FShape) {
    case bsBox: box(Rect(0, 0, w - 1, h - 1), first, second); break;
    case bsFrame:
      // Two boxes one pixel apart: an etched line round the control.
      box(Rect(1, 1, w - 1, h - 1), second, second);
      box(Rect(0, 0, w - 2, h - 2), first, first);
      break;
    case bsTopLine:
      line(first, 0, 0, w, 0);
      line(second, 0, 1, w, 1);
      break;
    case bsBottomLine:
      line(first, 0, h - 2, w, h - 2);
      line(second, 0, h - 1, w, h - 1);
      break;
    case bsLeftLine:
      line(first, 0, 0, 0, h);
      line(second, 1, 0, 1, h);
      break;
    case bsRightLine:
      line(first, w - 2, 0, w - 2, h);
      line(second, w - 1, 0, w - 1, h);
      break;
    case bsSpacer: break;
  }
}
