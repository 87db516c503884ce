#include "platform/gfx/glyphoutline.h"

#include <QFontMetricsF>
#include <QPainterPath>

#include "platform/gfx/graphics.h"
#include "platform/gfx/qt_private.h"

TGlyphOutline GlyphOutline(const TFont& font, unsigned char code) {
  // A large em keeps the flattened curves smooth once scaled down.
  constexpr int kEm = 256;
  EnsureQtApplication();
  QFont f = GfxMakeQFont(font);
  f.setPixelSize(kEm);
  const QString text(QChar(static_cast<char16_t>(code)));
  QPainterPath path;
  path.addText(0, 0, f, text);
  TGlyphOutline result;
  for (const QPolygonF& polygon : path.toSubpathPolygons()) {
    std::vector<TGlyphOutline::TPt> contour;
    for (const QPointF& p : polygon) contour.push_back({p.x() / kEm, -p.y() / kEm});
    // The polygon repeats its first point at the end.
    if (contour.size() > 1 && contour.front().X == contour.back().X && contour.front().Y == contour.back().Y)
      contour.pop_back();
    if (contour.size() >= 3) result.Contours.push_back(std::move(contour));
  }
  result.Advance = QFontMetricsF(f).horizontalAdvance(text) / kEm;
  return result;
}
