#include "platform/ui/edges.h"

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
