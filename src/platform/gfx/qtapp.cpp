// The one Qt application, colours and fonts for Qt.
#include <QApplication>
#include <QFontMetricsF>
#include <cstdlib>
#include <map>
#include <tuple>

#include "platform/gfx/qt_private.h"

void EnsureQtApplication() {
  if (QCoreApplication::instance()) return;
  static int argc = 1;
  static char name[] = "zelvora";
  static char* argv[] = {name, nullptr};
  // Tests and headless runs have no display: fall back to offscreen.
  if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static QApplication* app = new QApplication(argc, argv);
  (void)app;
}

QColor GfxToQColor(TColor color) {
  if (color == clNone) return QColor(0, 0, 0, 0);
  TColorRef c = ColorToRGB(color);
  return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

TColor GfxFromQColor(const QColor& color) {
  return static_cast<TColor>(RGB(color.red(), color.green(), color.blue()));
}

namespace {
// Character height (em) for a cell height, per family and style.
int EmForCell(const QFont& f, int cell) {
  static std::map<std::tuple<QString, bool, bool, int>, double> ratios;
  auto key = std::make_tuple(f.family(), f.bold(), f.italic(), cell);
  auto it = ratios.find(key);
  if (it != ratios.end()) return static_cast<int>(it->second);
  QFont probe = f;
  probe.setPixelSize(1000);
  QFontMetricsF fm(probe);
  double h = fm.ascent() + fm.descent();
  int em = h > 0 ? static_cast<int>(std::lround(cell * 1000.0 / h)) : cell;
  em = std::max(1, em);
  ratios[key] = em;
  return em;
}
}  // namespace

QFont GfxMakeQFont(const TFont& font) {
  QFont f(QString::fromStdString(MapFontFamily(font.Name())));
  TFontStyles st = font.Style();
  f.setBold(st.Contains(fsBold));
  f.setItalic(st.Contains(fsItalic));
  f.setUnderline(st.Contains(fsUnderline));
  f.setStrikeOut(st.Contains(fsStrikeOut));
  if (font.Pitch() == fpFixed) f.setFixedPitch(true);
  bool aa = font.Quality() == fqAntialiased || font.Quality() == fqClearType || font.Quality() == fqClearTypeNatural;
  f.setStyleStrategy(aa ? QFont::PreferAntialias : QFont::NoAntialias);
  f.setHintingPreference(QFont::PreferNoHinting);
  f.setKerning(false);
  int h = font.Height();
  int px;
  if (h < 0) px = -h;
  else if (h > 0) px = EmForCell(f, h);
  else px = 16;
  f.setPixelSize(std::max(1, px));
  return f;
}

#if defined(__SANITIZE_ADDRESS__)
// Fontconfig keeps its caches for the life of the process (the one Qt
// application is never torn down): not leaks of ours.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
#endif
