// Edges, frame controls and the brush-copy of the window system's drawing
// calls, drawn by our own routines in the classic look so that every machine
// paints the same pixels; the "visual styles active" setting; pictures
// decoded from file bytes of any format Qt reads (TIFF included).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/graphics.h"

// DrawFrameControl kinds and states (the platform's numbering).
constexpr unsigned DFC_CAPTION = 1, DFC_MENU = 2, DFC_SCROLL = 3, DFC_BUTTON = 4;
constexpr unsigned DFCS_BUTTONCHECK = 0x0, DFCS_BUTTONRADIOIMAGE = 0x1, DFCS_BUTTONRADIOMASK = 0x2,
                   DFCS_BUTTONRADIO = 0x4, DFCS_BUTTON3STATE = 0x8, DFCS_BUTTONPUSH = 0x10;
constexpr unsigned DFCS_SCROLLUP = 0x0, DFCS_SCROLLDOWN = 0x1, DFCS_SCROLLLEFT = 0x2, DFCS_SCROLLRIGHT = 0x3,
                   DFCS_SCROLLCOMBOBOX = 0x5, DFCS_SCROLLSIZEGRIP = 0x8;
constexpr unsigned DFCS_INACTIVE = 0x100, DFCS_PUSHED = 0x200, DFCS_CHECKED = 0x400, DFCS_TRANSPARENT = 0x800,
                   DFCS_HOT = 0x1000, DFCS_ADJUSTRECT = 0x2000, DFCS_FLAT = 0x4000, DFCS_MONO = 0x8000;

// DrawEdge borders and sides.
constexpr unsigned BDR_RAISEDOUTER = 0x1, BDR_SUNKENOUTER = 0x2, BDR_RAISEDINNER = 0x4, BDR_SUNKENINNER = 0x8,
                   BDR_OUTER = 0x3, BDR_INNER = 0xC;
constexpr unsigned EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER, EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER,
                   EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER, EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER;
constexpr unsigned BF_LEFT = 0x1, BF_TOP = 0x2, BF_RIGHT = 0x4, BF_BOTTOM = 0x8, BF_RECT = 0xF,
                   BF_TOPLEFT = 0x3, BF_BOTTOMRIGHT = 0xC, BF_MIDDLE = 0x800, BF_SOFT = 0x1000,
                   BF_ADJUST = 0x2000, BF_FLAT = 0x4000, BF_MONO = 0x8000;

// Draws up to two one-pixel borders around rect in the 3D colours; with
// BF_ADJUST rect shrinks by what was drawn, with BF_MIDDLE the inside is
// filled in clBtnFace. Pen and brush of the canvas are left as they were.
bool DrawEdge(TCanvas* canvas, TRect& rect, unsigned edge, unsigned flags);

// A check box, radio button, push button or scroll / combo arrow button in
// the classic look. The check and radio glyphs are drawn square, of the
// smaller side, at the top-left; DFCS_ADJUSTRECT shrinks a push button's
// rect to its face (2 pixels).
bool DrawFrameControl(TCanvas* canvas, TRect& rect, unsigned kind, unsigned state);

// Copies source of the bitmap to dest of the canvas, the pixels of colour
// replaced by the canvas's brush colour (the class library's BrushCopy).
void BrushCopy(TCanvas* canvas, const TRect& dest, TBitmap* bitmap, const TRect& source, TColor color);

// Whether a visual style (themed drawing) is active. No theme library is
// bound on this platform, so it is off unless a caller turns it on.
bool VisualStylesActive();
void SetVisualStylesActive(bool value);

// The pixels of image-file bytes of any format the window system reads
// (BMP, PNG, JPEG, GIF, ICO, TIFF, ...); nil when they do not decode.
std::unique_ptr<TBitmap> DecodeImageBytes(const std::vector<uint8_t>& bytes);
// The image format of the bytes in Qt's lower-case naming ("png", "tiff");
// empty when unknown.
std::string ImageBytesFormat(const std::vector<uint8_t>& bytes);
