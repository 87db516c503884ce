// Qt behind the drawing layer, for the .cpp files of gfx and ui only (never
// include this from a public header).
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRegion>

#include <functional>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/graphics.h"

// Makes sure the one QApplication (Widgets) exists: created on first call
// with the platform Qt chose (offscreen under QT_QPA_PLATFORM=offscreen, as
// the tests run) and kept for the rest of the run.
void EnsureQtApplication();

QColor GfxToQColor(TColor color);  // system colours resolved; clNone is transparent
TColor GfxFromQColor(const QColor& color);
// The Qt font a TFont draws with at its pixel height (the family mapped, no
// antialiasing unless the font's quality asks for it).
QFont GfxMakeQFont(const TFont& font);

// The pixels of a bitmap. The reference stays valid until the bitmap's size
// or pixel format changes. Drawing through Qt straight onto it is fine when
// the bitmap's canvas has been flushed first (GfxFlushCanvas).
QImage& GfxBitmapImage(TBitmap* bitmap);
void GfxSetBitmapImage(TBitmap* bitmap, const QImage& image);

// A canvas that draws onto an image owned by the caller (the retained
// surface of a control). The image must outlive the binding; call
// GfxUnbindCanvas (or bind another image) before resizing or freeing it.
void GfxBindCanvasToImage(TCanvas* canvas, QImage* image);
void GfxUnbindCanvas(TCanvas* canvas);
// Runs hook each time a canvas bound with GfxBindCanvasToImage reaches its
// image (to draw on it or read it); empty removes it.
void GfxSetSurfaceUseHook(TCanvas* canvas, std::function<void()> hook);
// The image a raster canvas draws on (nil for other canvases).
QImage* GfxCanvasImage(TCanvas* canvas);
// Ends the canvas's open painter so that the image may be read, copied or
// painted by other code; the next drawing call reopens it.
void GfxFlushCanvas(TCanvas* canvas);
// Paints with Qt onto any canvas, inside bounds (logical coordinates). paint
// gets a painter in the canvas's logical coordinates, with its mapping and
// clip applied and clipped to bounds, and the logical units that make one
// pixel at 96 dpi (1 on windows and bitmaps in MM_TEXT; more on a printer),
// so that text keeps its size in inches. A metafile canvas records what was
// painted as a picture with alpha.
void GfxPaintWithQt(TCanvas* canvas, const TRect& bounds,
                    const std::function<void(QPainter& painter, double unitsPerPixel)>& paint);

// The pixels of a region, and a region set from Qt's.
const QRegion& GfxRegion(const TRegion& region);
void GfxSetRegion(TRegion& region, const QRegion& pixels);
