// The small glyphs of menus and captions (submenu arrow, close cross,
// push-button face), drawn with the button colours of the system palette;
// the edges themselves are DrawEdge of platform/gfx/framectl.h.
#pragma once

#include "platform/gfx/framectl.h"
#include "platform/gfx/graphics.h"

enum TFrameGlyph { fgMenuArrow, fgCaptionClose, fgPushButton };
// Draws the glyph centred in Rect in Color (the push button draws its
// raised face and ignores Color; Pushed sinks it).
void DrawFrameGlyph(TCanvas* Canvas, const TRect& Rect, TFrameGlyph Glyph, TColor Color, bool Pushed = false);
