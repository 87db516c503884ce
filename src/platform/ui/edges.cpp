#include "platform/ui/edges.h"

namespace {

void HLine(TCanvas* c, int x1, int x2, int y, TColor col) {
  c->Pen()->SetColor(col);
  c->MoveTo(x1, y);
  c->LineTo(x2, y);
}
void VLine(TCanvas* c, int x, int y1, int y2, TColor col) {
  c->Pen()->SetColor(col);
  c->MoveTo(x, y1);
  c->LineTo(x, y2);
}

// One ring: top-left in tl, bottom-right in br.
void Ring(TCanvas* c, TRect& r, unsigned flags, TColor tl, TColor br) {
  if (r.Right <= r.Left || r.Bottom <= r.Top) return;
  if (flags & BF_TOP) HLine(c, r.Left, r.Right, r.Top, tl);
  if (flags & BF_LEFT) VLine(c, r.Left, r.Top, r.Bottom, tl);
  if (flags & BF_BOTTOM) HLine(c, r.Left, r.Right, r.Bottom - 1, br);
  if (flags & BF_RIGHT) VLine(c, r.Right - 1, r.Top, r.Bottom, br);
  if (flags & BF_TOP) ++r.Top;
  if (flags & BF_LEFT) ++r.Left;
  if (flags & BF_BOTTOM) --r.Bottom;
  if (flags & BF_RIGHT) --r.Right;
}

}  // namespace

void DrawEdge(TCanvas* Canvas, TRect& Rect, unsigned Edge, unsigned Flags) {
  TRect r = Rect;
  TPenStyle oldStyle = Canvas->Pen()->Style();
  TColor oldColor = Canvas->Pen()->Color();
  int oldWidth = Canvas->Pen()->Width();
  Canvas->Pen()->SetStyle(psSolid);
  Canvas->Pen()->SetWidth(1);
  if (Edge & BDR_RAISEDOUTER) Ring(Canvas, r, Flags, cl3DLight, cl3DDkShadow);
  else if (Edge & BDR_SUNKENOUTER) Ring(Canvas, r, Flags, clBtnShadow, clBtnHighlight);
  if (Edge & BDR_RAISEDINNER) Ring(Canvas, r, Flags, clBtnHighlight, clBtnShadow);
  else if (Edge & BDR_SUNKENINNER) Ring(Canvas, r, Flags, cl3DDkShadow, cl3DLight);
  if ((Flags & BF_MIDDLE) && r.Right > r.Left && r.Bottom > r.Top) {
    Canvas->Brush()->SetColor(clBtnFace);
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->FillRect(r);
  }
  Canvas->Pen()->SetStyle(oldStyle);
  Canvas->Pen()->SetColor(oldColor);
  Canvas->Pen()->SetWidth(oldWidth);
  if (Flags & BF_ADJUST) Rect = r;
}

void DrawFrameGlyph(TCanvas* Canvas, const TRect& Rect, TFrameGlyph Glyph, TColor Color, bool Pushed) {
  int cx = (Rect.Left + Rect.Right) / 2, cy = (Rect.Top + Rect.Bottom) / 2;
  TColor oldPen = Canvas->Pen()->Color();
  switch (Glyph) {
    case fgMenuArrow: {
      // A solid triangle pointing right, 4 wide and 7 high.
      Canvas->Pen()->SetColor(Color);
      for (int i = 0; i < 4; ++i) {
        Canvas->MoveTo(cx - 2 + i, cy - 3 + i);
        Canvas->LineTo(cx - 2 + i, cy + 4 - i);
      }
      break;
    }
    case fgCaptionClose: {
      Canvas->Pen()->SetColor(Color);
      for (int d = 0; d < 2; ++d) {
        Canvas->MoveTo(cx - 3 + d, cy - 3);
        Canvas->LineTo(cx + 4 + d, cy + 4);
        Canvas->MoveTo(cx + 3 + d, cy - 3);
        Canvas->LineTo(cx - 4 + d, cy + 4);
      }
      break;
    }
    case fgPushButton: {
      TRect r = Rect;
      DrawEdge(Canvas, r, Pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_MIDDLE);
      break;
    }
  }
  Canvas->Pen()->SetColor(oldPen);
}
