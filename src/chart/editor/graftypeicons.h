// The pictures of the series types: each registered series class gets a
// small icon painted at run time from the class itself, a miniature of the
// series on its gallery data with no axes, walls or texts. The series list
// box and the series page load them by class name through the program's
// bitmap resources.
#pragma once

#include <memory>
#include <string>

#include "platform/gfx/bitmap.h"
#include "platform/ui/classes.h"

// The icon's size, the height of a series list row.
constexpr int SeriesIconSize = 24;

// A new icon of the series class (transparent background); nil for a class
// that is not a series or cannot be made.
std::unique_ptr<TBitmap> MakeSeriesTypeIcon(TClass SeriesClass);

// Answers bitmap resource requests named after a registered series class
// (ignoring case) with its icon, made once and kept; nothing for any other
// name. Installed by the editor's registration list.
bool LoadSeriesTypeIcon(const std::string& Name, TBitmap* Bitmap);
void RegisterSeriesTypeIcons();
