// Chart texts written in a small subset of HTML: font changes, bold, italic,
// underline and strike-out, sub- and superscript, headings, centring, line
// breaks, a horizontal rule and images, measured and drawn on a chart canvas.
//
// Markup never raises while painting: a "<" without a closing ">" is drawn as
// text, unknown FONT fields and weights are ignored, a colour that cannot be
// read is black, and images that cannot be shown are drawn as a missing-image
// box. The stacks of open style tags and saved fonts belong to one call, so a
// style left open in one text never reaches the next. A run in a smaller font
// sits at the bottom of its line without moving the rest of the line, and a
// sub- or superscript's close tag moves the pen back by what its open tag moved.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/gfx/colors.h"
#include "platform/gfx/geometry.h"

class TGrafCanvas;
class TGraphic;
class TMemoryStream;

// Draws the text with its top-left corner at (x, y). The canvas's font, pen
// and brush are left as the last tag set them; callers set the font they need
// before each call.
void HtmlSubsetTextOut(TGrafCanvas* canvas, int x, int y, const std::string& text);
// Runs the same layout from (0, 0) without drawing: cx is the widest line,
// cy the tallest line height met (not the height of all lines together).
TSize HtmlSubsetExtent(TGrafCanvas* canvas, const std::string& text);

// Makes the canvas's TextOutMaybeHtml draw through HtmlSubsetTextOut (done at
// start-up; chart panels call it again so that linking a panel brings it in).
void InstallHtmlSubsetText();

// BLACK, RED, BLUE, YELLOW, WHITE, GREEN, LIME, "#RRGGBB", or any colour the
// platform can name or number; black for anything else.
TColor NamedColor(const std::string& text);
// The colour of a "#RRGGBB" text; black when it cannot be read.
TColor HexColor(const std::string& text);

// Hooks of the images of IMG tags. The factory gives an empty picture for an
// upper-case file extension such as ".BMP" (nil when it does not know it); the
// loader fills a stream from the SRC location and answers 0 on success.
// Neither is installed by default: every image is then drawn as missing.
using THtmlGraphicFactory = std::function<std::unique_ptr<TGraphic>(const std::string& extension)>;
using THtmlSourceLoader = std::function<int(const std::string& source, TMemoryStream& stream)>;
extern THtmlGraphicFactory HtmlGraphicFactory;
extern THtmlSourceLoader HtmlSourceLoader;
