#include "platform/gfx/framectl.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

#include <algorithm>
#include <atomic>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/qt_private.h"

namespace {

std::atomic<bool> GVisualStyles{false};

// Saves pen and brush and gives them back when the drawing is done.
struct TPenBrushKeeper {
  TCanvas* C;
  TColor PenColor;
  int PenWidth;
  TPenStyle PenStyle;
  TColor BrushColor;
  TBrushStyle BrushStyle;
  explicit TPenBrushKeeper(TCanvas* c)
      : C(c), PenColor(c->Pen()->Color()), PenWidth(c->Pen()->Width()), PenStyle(c->Pen()->Style()),
        BrushColor(c->Brush()->Color()), BrushStyle(c->Brush()->Style()) {}
  ~TPenBrushKeeper() {
    C->Pen()->SetColor(PenColor);
    C->Pen()->SetWidth(PenWidth);
    C->Pen()->SetStyle(PenStyle);
    C->Brush()->SetColor(BrushColor);
    C->Brush()->SetStyle(BrushStyle);
  }
};

void Fill(TCanvas* c, const TRect& r, TColor color) {
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(color);
  c->FillRect(r);
}

void HLine(TCanvas* c, int x0, int x1, int y, TColor color) {
  if (x1 > x0) Fill(c, Rect(x0, y, x1, y + 1), color);
}
void VLine(TCanvas* c, int x, int y0, int y1, TColor color) {
  if (y1 > y0) Fill(c, Rect(x, y0, x + 1, y1), color);
}

// One border ring: top-left colour and bottom-right colour on the chosen sides.
void Ring(TCanvas* c, TRect& r, TColor tl, TColor br, unsigned flags) {
  if (flags & BF_TOP) HLine(c, r.Left, r.Right, r.Top, tl);
  if (flags & BF_LEFT) VLine(c, r.Left, r.Top, r.Bottom, tl);
  if (flags & BF_BOTTOM) HLine(c, r.Left, r.Right, r.Bottom - 1, br);
  if (flags & BF_RIGHT) VLine(c, r.Right - 1, r.Top, r.Bottom, br);
  if (flags & BF_TOP) ++r.Top;
  if (flags & BF_LEFT) ++r.Left;
  if (flags & BF_BOTTOM) --r.Bottom;
  if (flags & BF_RIGHT) --r.Right;
}

void Arrow(TCanvas* c, const TRect& r, unsigned dir, TColor color) {
  // A filled triangle of 4 rows (7, 5, 3, 1 pixels) centred in r.
  const int cx = r.Left + (r.Right - r.Left) / 2, cy = r.Top + (r.Bottom - r.Top) / 2;
  for (int i = 0; i < 4; ++i) {
    const int half = 3 - i;
    switch (dir) {
      case DFCS_SCROLLUP: HLine(c, cx - half, cx + half + 1, cy - 2 + i, color); break;
      case DFCS_SCROLLLEFT: VLine(c, cx - 2 + i, cy - half, cy + half + 1, color); break;
      case DFCS_SCROLLRIGHT: VLine(c, cx + 1 - i, cy - half, cy + half + 1, color); break;
      default: HLine(c, cx - half, cx + half + 1, cy - 1 + i, color); break;  // down, combo box
    }
  }
}

void CheckMark(TCanvas* c, int x, int y, TColor color) {
  // The classic 7 x 7 check mark: a stroke 3 pixels tall going down, then up.
  static const int rows[7] = {2, 3, 4, 3, 2, 1, 0};
  for (int i = 0; i < 7; ++i) VLine(c, x + i, y + rows[i], y + rows[i] + 3, color);
}

}  // namespace

bool DrawEdge(TCanvas* canvas, TRect& rect, unsigned edge, unsigned flags) {
  if (!canvas) return false;
  TPenBrushKeeper keep(canvas);
  TRect r = rect;
  const bool mono = flags & BF_MONO, flat = flags & BF_FLAT, soft = flags & BF_SOFT;
  TColor outerTL = clNone, outerBR = clNone, innerTL = clNone, innerBR = clNone;
  if (mono) {
    if (edge & BDR_OUTER) outerTL = outerBR = clWindowFrame;
    if (edge & BDR_INNER) innerTL = innerBR = clWindow;
  } else if (flat) {
    if (edge & BDR_OUTER) outerTL = outerBR = clBtnShadow;
    if (edge & BDR_INNER) innerTL = innerBR = clBtnFace;
  } else {
    if (edge & BDR_RAISEDOUTER) { outerTL = soft ? clBtnHighlight : cl3DLight; outerBR = cl3DDkShadow; }
    else if (edge & BDR_SUNKENOUTER) { outerTL = soft ? cl3DDkShadow : clBtnShadow; outerBR = clBtnHighlight; }
    if (edge & BDR_RAISEDINNER) { innerTL = soft ? cl3DLight : clBtnHighlight; innerBR = clBtnShadow; }
    else if (edge & BDR_SUNKENINNER) { innerTL = soft ? clBtnShadow : cl3DDkShadow; innerBR = cl3DLight; }
  }
  if (outerTL != clNone) Ring(canvas, r, outerTL, outerBR, flags);
  if (innerTL != clNone) Ring(canvas, r, innerTL, innerBR, flags);
  if ((flags & BF_MIDDLE) && r.Right > r.Left && r.Bottom > r.Top)
    Fill(canvas, r, mono ? clWindow : clBtnFace);
  if (flags & BF_ADJUST) rect = r;
  return true;
}

bool DrawFrameControl(TCanvas* canvas, TRect& rect, unsigned kind, unsigned state) {
  if (!canvas) return false;
  const bool flat = state & (DFCS_FLAT | DFCS_MONO), inactive = state & DFCS_INACTIVE,
             pushed = state & DFCS_PUSHED, checked = state & DFCS_CHECKED;
  if (kind == DFC_BUTTON) {
    const unsigned type = state & 0x1F;
    if (type == DFCS_BUTTONPUSH) {
      TPenBrushKeeper keep(canvas);
      TRect r = rect;
      if (flat) {
        Ring(canvas, r, clWindowFrame, clWindowFrame, BF_RECT);
        if (!(state & DFCS_TRANSPARENT)) Fill(canvas, r, clBtnFace);
      } else {
        DrawEdge(canvas, r, pushed ? EDGE_SUNKEN : EDGE_RAISED,
                 BF_RECT | BF_ADJUST | ((state & DFCS_TRANSPARENT) ? 0 : BF_MIDDLE));
      }
      if (state & DFCS_ADJUSTRECT) {
        rect.Left += 2; rect.Top += 2; rect.Right -= 2; rect.Bottom -= 2;
      }
      return true;
    }
    TPenBrushKeeper keep(canvas);
    const int size = std::min(rect.Right - rect.Left, rect.Bottom - rect.Top);
    if (size <= 0) return true;
    TRect r = Rect(rect.Left, rect.Top, rect.Left + size, rect.Top + size);
    const TColor face = (inactive || pushed) ? clBtnFace : clWindow;
    const TColor mark = inactive ? clBtnShadow : clWindowText;
    if (type == DFCS_BUTTONRADIO || type == DFCS_BUTTONRADIOIMAGE) {
      // A circle: ring in the shadow colours, face inside, dot when checked.
      canvas->Pen()->SetStyle(psSolid);
      canvas->Pen()->SetWidth(1);
      canvas->Pen()->SetColor(flat ? clBtnShadow : clBtnShadow);
      canvas->Brush()->SetStyle(bsSolid);
      canvas->Brush()->SetColor(face);
      canvas->Ellipse(r.Left, r.Top, r.Right, r.Bottom);
      if (checked) {
        const int d = std::max(2, size / 3);
        const int x = r.Left + (size - d) / 2, y = r.Top + (size - d) / 2;
        canvas->Pen()->SetColor(mark);
        canvas->Brush()->SetColor(mark);
        canvas->Ellipse(x, y, x + d + 1, y + d + 1);
      }
      return true;
    }
    // Check box (also 3-state).
    if (flat)
      Ring(canvas, r, clBtnShadow, clBtnShadow, BF_RECT);
    else
      DrawEdge(canvas, r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    Fill(canvas, r, (type == DFCS_BUTTON3STATE && checked) ? clBtnFace : face);
    if (checked) {
      const int w = r.Right - r.Left, h = r.Bottom - r.Top;
      CheckMark(canvas, r.Left + (w - 7) / 2, r.Top + (h - 7) / 2,
                type == DFCS_BUTTON3STATE ? clBtnShadow : mark);
    }
    return true;
  }
  if (kind == DFC_SCROLL) {
    TPenBrushKeeper keep(canvas);
    TRect r = rect;
    if (flat)
      Ring(canvas, r, clBtnShadow, clBtnShadow, BF_RECT);
    else
      DrawEdge(canvas, r, pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST);
    if (r.Right > r.Left && r.Bottom > r.Top) Fill(canvas, r, clBtnFace);
    const unsigned dir = state & 0xF;
    if (dir == DFCS_SCROLLSIZEGRIP) return true;
    TRect a = r;
    if (pushed && !flat) { ++a.Left; ++a.Top; ++a.Right; ++a.Bottom; }
    Arrow(canvas, a, dir, inactive ? clBtnShadow : clBtnText);
    return true;
  }
  return false;
}

void BrushCopy(TCanvas* canvas, const TRect& dest, TBitmap* bitmap, const TRect& source, TColor color) {
  if (!canvas || !bitmap || bitmap->Empty()) return;
  const int w = source.Right - source.Left, h = source.Bottom - source.Top;
  if (w <= 0 || h <= 0) return;
  if (bitmap->HasCanvas()) GfxFlushCanvas(bitmap->Canvas());
  const QImage src = GfxBitmapImage(bitmap).convertToFormat(QImage::Format_RGB32);
  QImage out(w, h, QImage::Format_RGB32);
  const QRgb key = qRgb(GetRValue(ColorToRGB(color)), GetGValue(ColorToRGB(color)), GetBValue(ColorToRGB(color)));
  const TColorRef b = ColorToRGB(canvas->Brush()->Color());
  const QRgb brush = qRgb(GetRValue(b), GetGValue(b), GetBValue(b));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int sx = source.Left + x, sy = source.Top + y;
      QRgb p = (sx >= 0 && sy >= 0 && sx < src.width() && sy < src.height()) ? src.pixel(sx, sy) : brush;
      out.setPixel(x, y, (p & 0xFFFFFF) == (key & 0xFFFFFF) ? brush : p);
    }
  TBitmap tmp;
  GfxSetBitmapImage(&tmp, out);
  canvas->CopyRect(dest, tmp.Canvas(), Rect(0, 0, w, h));
}

bool VisualStylesActive() { return GVisualStyles.load(); }
void SetVisualStylesActive(bool value) { GVisualStyles.store(value); }

std::string ImageBytesFormat(const std::vector<uint8_t>& bytes) {
  if (bytes.empty()) return {};
  EnsureQtApplication();
  QByteArray data(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
  QBuffer buf(&data);
  buf.open(QIODevice::ReadOnly);
  return QImageReader::imageFormat(&buf).toStdString();
}

std::unique_ptr<TBitmap> DecodeImageBytes(const std::vector<uint8_t>& bytes) {
  if (bytes.empty()) return nullptr;
  EnsureQtApplication();
  QByteArray data(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
  QBuffer buf(&data);
  buf.open(QIODevice::ReadOnly);
  QImageReader reader(&buf);
  reader.setAllocationLimit(256);  // megabytes: a small file may claim a huge picture
  // The pixels the picture claims are judged before it is decoded (and those
  // it has after): within a budget of the load's own, and in proportion to
  // the bytes they come from.
  TPictureBudget load(kLoadPixelBudget, kLoadBudgetName);
  QImage img;
  try {
    TPictureBudget::CheckGIF(bytes.data(), bytes.size());
    const QSize claimed = reader.size();
    if (claimed.isValid()) TPictureBudget::Spend(claimed.width(), claimed.height(), data.size());
    if (!reader.read(&img) || img.isNull()) return nullptr;
    if (img.size() != claimed) TPictureBudget::Spend(img.width(), img.height(), data.size());
  } catch (const EReadError&) {
    return nullptr;
  }
  auto bmp = std::make_unique<TBitmap>();
  GfxSetBitmapImage(bmp.get(), img.convertToFormat(QImage::Format_ARGB32));
  return bmp;
}
