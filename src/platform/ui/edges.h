// Raised, sunken and etched edges, and the small glyphs of menus and
// captions (submenu arrow, close cross, push-button face), drawn with the
// button colours of the system palette.
#pragma once

#include "platform/gfx/graphics.h"

constexpr unsigned BDR_RAISEDOUTER = 0x1, BDR_SUNKENOUTER = 0x2, BDR_RAISEDINNER = 0x4, BDR_SUNKENINNER = 0x8;
constexpr unsigned EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER, EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER,
                   EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER, EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER;
constexpr unsigned BF_LEFT = 0x1, BF_TOP = 0x2, BF_RIGHT = 0x4, BF_BOTTOM = 0x8, BF_RECT = 0xF, BF_MIDDLE = 0x800,
                   BF_ADJUST = 0x2000;

// Draws the edge's outer then inner ring on the chosen sides; BF_MIDDLE
// fills the inside with the button face; BF_ADJUST shrinks Rect by the rings.
void DrawEdge(TCanvas* Canvas, TRect& Rect, unsigned Edge, unsigned Flags);

enum TFrameGlyph { fgMenuArrow, fgCaptionClose, fgPushButton };
// Draws the glyph centred in Rect in Color (the push button draws its
// raised face and ignores Color; Pushed sinks it).
void DrawFrameGlyph(TCanvas* Canvas, const TRect& Rect, TFrameGlyph Glyph, TColor Color, bool Pushed = false);
