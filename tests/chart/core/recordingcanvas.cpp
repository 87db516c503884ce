#include "chart/core/recordingcanvas.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <locale>
#include <sstream>

// ---- TCanvasCall ----

std::string TCanvasCall::ToString() const {
  std::ostringstream s;
  s.imbue(std::locale::classic());  // the log reads the same under any locale
  s << Op;
  const bool pointsOnly = Args.empty() && Text.empty() && (!Points.empty() || !Points3D.empty());
  s << (pointsOnly ? "[" : "(");
  bool first = true;
  auto sep = [&] {
    if (!first) s << ",";
    first = false;
  };
  for (double a : Args) {
    sep();
    if (a == std::floor(a) && std::fabs(a) < 1e15) {
      s << static_cast<long long>(a);
    } else {
      char buf[32];
      const auto res = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::general, 6);
      s << std::string(buf, res.ptr);
    }
  }
  if (!Points.empty() && !pointsOnly) s << (first ? "" : ";");
  if (!Points.empty()) first = true;
  for (const TPoint& p : Points) {
    sep();
    s << "(" << p.X << "," << p.Y << ")";
  }
  for (const TPoint3D& p : Points3D) {
    sep();
    s << "(" << p.X << "," << p.Y << "," << p.Z << ")";
  }
  if (!Text.empty()) {
    sep();
    s << "\"" << Text << "\"";
  }
  s << (pointsOnly ? "]" : ")");
  return s.str();
}

namespace {
std::string Hex(TColor c) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "$%06X", static_cast<unsigned>(c));
  return buf;
}
const char* PenStyleName(TPenStyle s) {
  static const char* names[] = {"psSolid", "psDash",        "psDot",       "psDashDot",  "psDashDotDot",
                                "psClear", "psInsideFrame", "psUserStyle", "psAlternate"};
  return names[s];
}
const char* BrushStyleName(TBrushStyle s) {
  static const char* names[] = {"bsSolid",     "bsClear",     "bsHorizontal", "bsVertical",
                                "bsFDiagonal", "bsBDiagonal", "bsCross",      "bsDiagCross"};
  return names[s];
}
}  // namespace

std::string TCanvasCall::StateString() const {
  return "pen=" + Hex(PenColor) + "," + std::to_string(PenWidth) + "," + PenStyleName(PenStyle) +
         " brush=" + Hex(BrushColor) + "," + BrushStyleName(BrushStyle) + (BrushPattern ? ",pattern" : "") +
         " font=" + FontName + "," + std::to_string(FontSize) + "," + Hex(FontColor);
}

// ---- TRecordingCanvas ----

TRecordingCanvas::TRecordingCanvas(int width, int height) : FSurface(width, height) {
  SetBufferedDisplay(false);
  BindSurface();
  Calls.clear();
}

TRecordingCanvas::~TRecordingCanvas() = default;

TColor TRecordingCanvas::SurfacePixel(int x, int y) {
  if (x < 0 || y < 0 || x >= FSurface.Width() || y >= FSurface.Height()) return -1;
  const uint8_t* p = FSurface.ScanLine(y) + 4 * x;  // blue, green, red, alpha
  return static_cast<TColor>(RGB(p[2], p[1], p[0]));
}

void TRecordingCanvas::BindSurface() {
  AttachCanvas(FSurface.Canvas());
  SetPassBounds(Rect(0, 0, FSurface.Width(), FSurface.Height()));
}

void TRecordingCanvas::StartPass(TView3DOptions* options, bool is3D, const TRect& chartRect, int depth) {
  PrepareDrawing(FSurface.Canvas(), options, clWhite, is3D, Rect(0, 0, FSurface.Width(), FSurface.Height()));
  SetupProjection(depth, chartRect);
}

std::vector<TCanvasCall> TRecordingCanvas::CallsAt(int maxDepth) const {
  std::vector<TCanvasCall> r;
  for (const TCanvasCall& c : Calls)
    if (c.Depth <= maxDepth) r.push_back(c);
  return r;
}

std::vector<TCanvasCall> TRecordingCanvas::CallsOf(const std::string& op, int maxDepth) const {
  std::vector<TCanvasCall> r;
  for (const TCanvasCall& c : Calls)
    if (c.Op == op && c.Depth <= maxDepth) r.push_back(c);
  return r;
}

int TRecordingCanvas::Count(const std::string& op, int maxDepth) const {
  return static_cast<int>(CallsOf(op, maxDepth).size());
}

std::vector<std::string> TRecordingCanvas::Log(int maxDepth) const {
  std::vector<std::string> r;
  for (const TCanvasCall& c : Calls)
    if (c.Depth <= maxDepth) r.push_back(c.ToString());
  return r;
}

std::string TRecordingCanvas::Dump(int maxDepth) const {
  std::string r;
  for (const TCanvasCall& c : Calls)
    if (c.Depth <= maxDepth) r += std::string(2 * static_cast<size_t>(c.Depth), ' ') + c.ToString() + "\n";
  return r;
}

TRecordingCanvas::TScope::TScope(TRecordingCanvas* owner, bool query, std::string op, std::vector<double> args,
                                 std::vector<TPoint> points, std::string text)
    : FOwner(owner) {
  if (!query || owner->LogQueries) {
    TCanvasCall c;
    c.Op = std::move(op);
    c.Args = std::move(args);
    c.Points = std::move(points);
    c.Text = std::move(text);
    c.Depth = owner->FDepth;
    TPen* pen = owner->CanvasPen();
    TBrush* brush = owner->CanvasBrush();
    TFont* font = owner->CanvasFont();
    TCanvas* dc = owner->BoundCanvas();
    c.PenColor = pen->Color();
    c.PenWidth = pen->Width();
    c.PenStyle = pen->Style();
    c.PenMode = pen->Mode();
    c.BrushColor = brush->Color();
    c.BrushStyle = brush->Style();
    c.BrushPattern = brush->Bitmap() != nullptr;
    c.FontName = font->Name();
    c.FontSize = font->Size();
    c.FontColor = font->Color();
    c.FontStyle = font->Style();
    c.BackColor = dc->GetBkColor();
    c.BackMode = dc->GetBkMode();
    c.TextAlign = dc->GetTextAlign();
    owner->Calls.push_back(std::move(c));
    FIndex = static_cast<long>(owner->Calls.size()) - 1;
  }
  ++owner->FDepth;
}

TRecordingCanvas::TScope::~TScope() { --FOwner->FDepth; }

// ---- Logged operations ----

TColor TRecordingCanvas::GetBackgroundColor() {
  TScope s(this, true, "GetBackgroundColor", {}, {});
  return TGrafCanvas3D::GetBackgroundColor();
}

int TRecordingCanvas::GetBackgroundMode() {
  TScope s(this, true, "GetBackgroundMode", {}, {});
  return TGrafCanvas3D::GetBackgroundMode();
}

TCanvas* TRecordingCanvas::GetDrawingDC() {
  TScope s(this, true, "GetDrawingDC", {}, {});
  return TGrafCanvas3D::GetDrawingDC();
}

bool TRecordingCanvas::GetMonochrome() {
  TScope s(this, true, "GetMonochrome", {}, {});
  return TGrafCanvas3D::GetMonochrome();
}

TColor TRecordingCanvas::ReadPixel(int x, int y) {
  TScope s(this, true, "ReadPixel", {static_cast<double>(x), static_cast<double>(y)}, {});
  return TGrafCanvas3D::ReadPixel(x, y);
}

bool TRecordingCanvas::RendersWithoutGdi() {
  TScope s(this, true, "RendersWithoutGdi", {}, {});
  return TGrafCanvas3D::RendersWithoutGdi();
}

unsigned TRecordingCanvas::GetTextAlignment() {
  TScope s(this, true, "GetTextAlignment", {}, {});
  return TGrafCanvas3D::GetTextAlignment();
}

bool TRecordingCanvas::GetBufferedDisplay() {
  TScope s(this, true, "GetBufferedDisplay", {}, {});
  return TGrafCanvas3D::GetBufferedDisplay();
}

void TRecordingCanvas::SetBackgroundColor(TColor color) {
  TScope s(this, false, "SetBackgroundColor", {static_cast<double>(color)}, {});
  TGrafCanvas3D::SetBackgroundColor(color);
}

void TRecordingCanvas::SetBackgroundMode(int mode) {
  TScope s(this, false, "SetBackgroundMode", {static_cast<double>(mode)}, {});
  TGrafCanvas3D::SetBackgroundMode(mode);
}

void TRecordingCanvas::SetMonochrome(bool value) {
  TScope s(this, false, "SetMonochrome", {static_cast<double>(value)}, {});
  TGrafCanvas3D::SetMonochrome(value);
}

void TRecordingCanvas::WritePixel(int x, int y, TColor color) {
  TScope s(this, false, "WritePixel", {static_cast<double>(x), static_cast<double>(y), static_cast<double>(color)}, {});
  TGrafCanvas3D::WritePixel(x, y, color);
}

void TRecordingCanvas::SetTextAlignment(unsigned flags) {
  TScope s(this, false, "SetTextAlignment", {static_cast<double>(flags)}, {});
  TGrafCanvas3D::SetTextAlignment(flags);
}

void TRecordingCanvas::SetBufferedDisplay(bool value) {
  TScope s(this, false, "SetBufferedDisplay", {static_cast<double>(value)}, {});
  TGrafCanvas3D::SetBufferedDisplay(value);
}

void TRecordingCanvas::ApplyPenWithColor(TPen* pen, TColor color) {
  TScope s(this, false, "ApplyPenWithColor",
           {static_cast<double>(pen ? pen->Color() : clNone), static_cast<double>(color)}, {});
  TGrafCanvas3D::ApplyPenWithColor(pen, color);
}

std::unique_ptr<TGrafBlend> TRecordingCanvas::BeginBlending(const TRect& rect, TGrafTransparency transparency) {
  TScope s(this, false, "BeginBlending",
           {static_cast<double>(rect.Left), static_cast<double>(rect.Top), static_cast<double>(rect.Right),
            static_cast<double>(rect.Bottom), static_cast<double>(transparency)},
           {});
  return TGrafCanvas3D::BeginBlending(rect, transparency);
}

void TRecordingCanvas::EndBlending(std::unique_ptr<TGrafBlend> blend) {
  TScope s(this, false, "EndBlending", {}, {});
  TGrafCanvas3D::EndBlending(std::move(blend));
}

void TRecordingCanvas::Arc2D(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  TScope s(this, false, "Arc2D",
           {static_cast<double>(x1), static_cast<double>(y1), static_cast<double>(x2), static_cast<double>(y2),
            static_cast<double>(x3), static_cast<double>(y3), static_cast<double>(x4), static_cast<double>(y4)},
           {});
  TGrafCanvas3D::Arc2D(x1, y1, x2, y2, x3, y3, x4, y4);
}

void TRecordingCanvas::Donut(int xCenter, int yCenter, int xRadius, int yRadius, double startAngle, double endAngle,
                             double donutPercent) {
  TScope s(this, false, "Donut",
           {static_cast<double>(xCenter), static_cast<double>(yCenter), static_cast<double>(xRadius),
            static_cast<double>(yRadius), static_cast<double>(startAngle), static_cast<double>(endAngle),
            static_cast<double>(donutPercent)},
           {});
  TGrafCanvas3D::Donut(xCenter, yCenter, xRadius, yRadius, startAngle, endAngle, donutPercent);
}

void TRecordingCanvas::DrawGraphic(int x, int y, TGraphic* graphic) {
  TScope s(this, false, "DrawGraphic",
           {static_cast<double>(x), static_cast<double>(y), static_cast<double>(graphic ? graphic->Width() : 0),
            static_cast<double>(graphic ? graphic->Height() : 0)},
           {});
  TGrafCanvas3D::DrawGraphic(x, y, graphic);
}

void TRecordingCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  TScope s(this, false, "Ellipse",
           {static_cast<double>(x1), static_cast<double>(y1), static_cast<double>(x2), static_cast<double>(y2)}, {});
  TGrafCanvas3D::Ellipse(x1, y1, x2, y2);
}

void TRecordingCanvas::FillRect(const TRect& rect) {
  TScope s(this, false, "FillRect",
           {static_cast<double>(rect.Left), static_cast<double>(rect.Top), static_cast<double>(rect.Right),
            static_cast<double>(rect.Bottom)},
           {});
  TGrafCanvas3D::FillRect(rect);
}

void TRecordingCanvas::DrawFrame3D(TRect& rect, TColor topLeft, TColor bottomRight, int width) {
  TScope s(this, false, "DrawFrame3D",
           {static_cast<double>(rect.Left), static_cast<double>(rect.Top), static_cast<double>(rect.Right),
            static_cast<double>(rect.Bottom), static_cast<double>(topLeft), static_cast<double>(bottomRight),
            static_cast<double>(width)},
           {});
  TGrafCanvas3D::DrawFrame3D(rect, topLeft, bottomRight, width);
  if (auto* c = s.Call()) c->Points = {rect.TopLeft(), rect.BottomRight()};
}

void TRecordingCanvas::LineTo(int x, int y) {
  TScope s(this, false, "LineTo", {static_cast<double>(x), static_cast<double>(y)}, {});
  TGrafCanvas3D::LineTo(x, y);
}

void TRecordingCanvas::MovePenTo(int x, int y) {
  TScope s(this, false, "MovePenTo", {static_cast<double>(x), static_cast<double>(y)}, {});
  TGrafCanvas3D::MovePenTo(x, y);
}

void TRecordingCanvas::Pie2D(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  TScope s(this, false, "Pie2D",
           {static_cast<double>(x1), static_cast<double>(y1), static_cast<double>(x2), static_cast<double>(y2),
            static_cast<double>(x3), static_cast<double>(y3), static_cast<double>(x4), static_cast<double>(y4)},
           {});
  TGrafCanvas3D::Pie2D(x1, y1, x2, y2, x3, y3, x4, y4);
}

void TRecordingCanvas::Rectangle(int x0, int y0, int x1, int y1) {
  TScope s(this, false, "Rectangle",
           {static_cast<double>(x0), static_cast<double>(y0), static_cast<double>(x1), static_cast<double>(y1)}, {});
  TGrafCanvas3D::Rectangle(x0, y0, x1, y1);
}

void TRecordingCanvas::RoundRect(int x0, int y0, int x1, int y1, int cornerWidth, int cornerHeight) {
  TScope s(this, false, "RoundRect",
           {static_cast<double>(x0), static_cast<double>(y0), static_cast<double>(x1), static_cast<double>(y1),
            static_cast<double>(cornerWidth), static_cast<double>(cornerHeight)},
           {});
  TGrafCanvas3D::RoundRect(x0, y0, x1, y1, cornerWidth, cornerHeight);
}

void TRecordingCanvas::StretchDraw(const TRect& rect, TGraphic* graphic) {
  TScope s(this, false, "StretchDraw",
           {static_cast<double>(rect.Left), static_cast<double>(rect.Top), static_cast<double>(rect.Right),
            static_cast<double>(rect.Bottom), static_cast<double>(graphic ? graphic->Width() : 0),
            static_cast<double>(graphic ? graphic->Height() : 0)},
           {});
  TGrafCanvas3D::StretchDraw(rect, graphic);
}

void TRecordingCanvas::TextOut(int x, int y, const std::string& text) {
  TScope s(this, false, "TextOut", {static_cast<double>(x), static_cast<double>(y)}, {}, text);
  TGrafCanvas3D::TextOut(x, y, text);
}

int TRecordingCanvas::TextWidth(const std::string& text) {
  TScope s(this, true, "TextWidth", {}, {}, text);
  return TGrafCanvas3D::TextWidth(text);
}

int TRecordingCanvas::TextHeight(const std::string& text) {
  TScope s(this, true, "TextHeight", {}, {}, text);
  return TGrafCanvas3D::TextHeight(text);
}

int TRecordingCanvas::WideTextWidth(const std::wstring& text) {
  TScope s(this, true, "WideTextWidth", {}, {}, std::string(text.begin(), text.end()));
  return TGrafCanvas3D::WideTextWidth(text);
}

int TRecordingCanvas::WideTextHeight(const std::wstring& text) {
  TScope s(this, true, "WideTextHeight", {}, {}, std::string(text.begin(), text.end()));
  return TGrafCanvas3D::WideTextHeight(text);
}

void TRecordingCanvas::ClipToRect(const TRect& rect) {
  TScope s(this, false, "ClipToRect",
           {static_cast<double>(rect.Left), static_cast<double>(rect.Top), static_cast<double>(rect.Right),
            static_cast<double>(rect.Bottom)},
           {});
  TGrafCanvas3D::ClipToRect(rect);
}

void TRecordingCanvas::ClipToRoundRect(const TRect& rect, int cornerSize) {
  TScope s(this, false, "ClipToRoundRect",
           {static_cast<double>(rect.Left), static_cast<double>(rect.Top), static_cast<double>(rect.Right),
            static_cast<double>(rect.Bottom), static_cast<double>(cornerSize)},
           {});
  TGrafCanvas3D::ClipToRoundRect(rect, cornerSize);
}

void TRecordingCanvas::ClipToEllipse(const TRect& rect, bool cutOut) {
  TScope s(this, false, "ClipToEllipse",
           {static_cast<double>(rect.Left), static_cast<double>(rect.Top), static_cast<double>(rect.Right),
            static_cast<double>(rect.Bottom), static_cast<double>(cutOut)},
           {});
  TGrafCanvas3D::ClipToEllipse(rect, cutOut);
}

void TRecordingCanvas::ClipToPolygon(std::span<const TPoint> points) {
  TScope s(this, false, "ClipToPolygon", {}, std::vector<TPoint>(points.begin(), points.end()));
  TGrafCanvas3D::ClipToPolygon(points);
}

void TRecordingCanvas::HorizontalLine(int x0, int x1, int y) {
  TScope s(this, false, "HorizontalLine", {static_cast<double>(x0), static_cast<double>(x1), static_cast<double>(y)},
           {});
  TGrafCanvas3D::HorizontalLine(x0, x1, y);
}

void TRecordingCanvas::VerticalLine(int x, int y0, int y1) {
  TScope s(this, false, "VerticalLine", {static_cast<double>(x), static_cast<double>(y0), static_cast<double>(y1)}, {});
  TGrafCanvas3D::VerticalLine(x, y0, y1);
}

void TRecordingCanvas::EraseBackground(const TRect& rect) {
  TScope s(this, false, "EraseBackground",
           {static_cast<double>(rect.Left), static_cast<double>(rect.Top), static_cast<double>(rect.Right),
            static_cast<double>(rect.Bottom)},
           {});
  TGrafCanvas3D::EraseBackground(rect);
}

void TRecordingCanvas::GradientFill(const TRect& rect, TColor startColor, TColor endColor, TGradientDirection direction,
                                    int balance) {
  TScope s(this, false, "GradientFill",
           {static_cast<double>(rect.Left), static_cast<double>(rect.Top), static_cast<double>(rect.Right),
            static_cast<double>(rect.Bottom), static_cast<double>(startColor), static_cast<double>(endColor),
            static_cast<double>(direction), static_cast<double>(balance)},
           {});
  TGrafCanvas3D::GradientFill(rect, startColor, endColor, direction, balance);
}

void TRecordingCanvas::MarkDirty() {
  TScope s(this, false, "MarkDirty", {}, {});
  TGrafCanvas3D::MarkDirty();
}

void TRecordingCanvas::LineFromTo(int x0, int y0, int x1, int y1) {
  TScope s(this, false, "LineFromTo",
           {static_cast<double>(x0), static_cast<double>(y0), static_cast<double>(x1), static_cast<double>(y1)}, {});
  TGrafCanvas3D::LineFromTo(x0, y0, x1, y1);
}

void TRecordingCanvas::Polyline(std::span<const TPoint> points) {
  TScope s(this, false, "Polyline", {}, std::vector<TPoint>(points.begin(), points.end()));
  TGrafCanvas3D::Polyline(points);
}

void TRecordingCanvas::Polygon(std::span<const TPoint> points) {
  TScope s(this, false, "Polygon", {}, std::vector<TPoint>(points.begin(), points.end()));
  TGrafCanvas3D::Polygon(points);
}

void TRecordingCanvas::RotateLabel(int x, int y, const std::string& text, double angle) {
  TScope s(this, false, "RotateLabel", {static_cast<double>(x), static_cast<double>(y), static_cast<double>(angle)}, {},
           text);
  TGrafCanvas3D::RotateLabel(x, y, text, angle);
}

void TRecordingCanvas::RemoveClipRegion() {
  TScope s(this, false, "RemoveClipRegion", {}, {});
  TGrafCanvas3D::RemoveClipRegion();
}

TColor TRecordingCanvas::ReadPixel3D(int x, int y, int z) {
  TScope s(this, true, "ReadPixel3D", {static_cast<double>(x), static_cast<double>(y), static_cast<double>(z)}, {});
  return TGrafCanvas3D::ReadPixel3D(x, y, z);
}

bool TRecordingCanvas::FullRotationSupported() {
  TScope s(this, true, "FullRotationSupported", {}, {});
  return TGrafCanvas3D::FullRotationSupported();
}

void TRecordingCanvas::WritePixel3D(int x, int y, int z, TColor color) {
  TScope s(this, false, "WritePixel3D",
           {static_cast<double>(x), static_cast<double>(y), static_cast<double>(z), static_cast<double>(color)}, {});
  TGrafCanvas3D::WritePixel3D(x, y, z, color);
}

void TRecordingCanvas::UnprojectPoint(int& x, int& y, int z) {
  TScope s(this, true, "UnprojectPoint", {static_cast<double>(x), static_cast<double>(y), static_cast<double>(z)});
  TGrafCanvas3D::UnprojectPoint(x, y, z);
}

TPoint TRecordingCanvas::ProjectXYZ(int x, int y, int z) {
  TScope s(this, true, "ProjectXYZ", {static_cast<double>(x), static_cast<double>(y), static_cast<double>(z)}, {});
  return TGrafCanvas3D::ProjectXYZ(x, y, z);
}

TRect TRecordingCanvas::PrepareDrawing(TCanvas* target, TView3DOptions* options, TColor panelColor, bool is3D,
                                       const TRect& rect) {
  TScope s(this, false, "PrepareDrawing",
           {static_cast<double>(panelColor), static_cast<double>(is3D), static_cast<double>(rect.Left),
            static_cast<double>(rect.Top), static_cast<double>(rect.Right), static_cast<double>(rect.Bottom)},
           {});
  return TGrafCanvas3D::PrepareDrawing(target, options, panelColor, is3D, rect);
}

void TRecordingCanvas::InheritSettings(TCanvas3D* other) {
  TScope s(this, false, "InheritSettings", {}, {});
  TGrafCanvas3D::InheritSettings(other);
}

void TRecordingCanvas::SetupProjection(int depth, const TRect& chartRect) {
  TScope s(this, false, "SetupProjection",
           {static_cast<double>(depth), static_cast<double>(chartRect.Left), static_cast<double>(chartRect.Top),
            static_cast<double>(chartRect.Right), static_cast<double>(chartRect.Bottom)},
           {});
  TGrafCanvas3D::SetupProjection(depth, chartRect);
}

void TRecordingCanvas::FinishDrawing(TCanvas* target, TCanvas* rebind, const TRect& rect) {
  TScope s(this, false, "FinishDrawing",
           {static_cast<double>(rect.Left), static_cast<double>(rect.Top), static_cast<double>(rect.Right),
            static_cast<double>(rect.Bottom)},
           {});
  TGrafCanvas3D::FinishDrawing(target, rebind, rect);
}

bool TRecordingCanvas::RepaintFromBuffer() {
  TScope s(this, true, "RepaintFromBuffer", {}, {});
  return TGrafCanvas3D::RepaintFromBuffer();
}

void TRecordingCanvas::Arrow(bool filled, TPoint from, TPoint to, int headWidth, int headHeight, int z,
                             double arrowPercent) {
  TScope s(this, false, "Arrow",
           {static_cast<double>(filled), static_cast<double>(from.X), static_cast<double>(from.Y),
            static_cast<double>(to.X), static_cast<double>(to.Y), static_cast<double>(headWidth),
            static_cast<double>(headHeight), static_cast<double>(z), static_cast<double>(arrowPercent)},
           {});
  TGrafCanvas3D::Arrow(filled, from, to, headWidth, headHeight, z, arrowPercent);
}

void TRecordingCanvas::ClipCube(const TRect& rect, int z0, int z1) {
  TScope s(this, false, "ClipCube",
           {static_cast<double>(rect.Left), static_cast<double>(rect.Top), static_cast<double>(rect.Right),
            static_cast<double>(rect.Bottom), static_cast<double>(z0), static_cast<double>(z1)},
           {});
  TGrafCanvas3D::ClipCube(rect, z0, z1);
}

void TRecordingCanvas::Cone(bool vertical, int left, int top, int right, int bottom, int z0, int z1, bool darkSides,
                            int conePercent) {
  TScope s(this, false, "Cone",
           {static_cast<double>(vertical), static_cast<double>(left), static_cast<double>(top),
            static_cast<double>(right), static_cast<double>(bottom), static_cast<double>(z0), static_cast<double>(z1),
            static_cast<double>(darkSides), static_cast<double>(conePercent)},
           {});
  TGrafCanvas3D::Cone(vertical, left, top, right, bottom, z0, z1, darkSides, conePercent);
}

void TRecordingCanvas::Cube(int left, int right, int top, int bottom, int z0, int z1, bool darkSides) {
  TScope s(
      this, false, "Cube",
      {static_cast<double>(left), static_cast<double>(right), static_cast<double>(top), static_cast<double>(bottom),
       static_cast<double>(z0), static_cast<double>(z1), static_cast<double>(darkSides)},
      {});
  TGrafCanvas3D::Cube(left, right, top, bottom, z0, z1, darkSides);
}

void TRecordingCanvas::Cylinder(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                                bool darkSides) {
  TScope s(
      this, false, "Cylinder",
      {static_cast<double>(vertical), static_cast<double>(left), static_cast<double>(top), static_cast<double>(right),
       static_cast<double>(bottom), static_cast<double>(z0), static_cast<double>(z1), static_cast<double>(darkSides)},
      {});
  TGrafCanvas3D::Cylinder(vertical, left, top, right, bottom, z0, z1, darkSides);
}

void TRecordingCanvas::DisableRotation() {
  TScope s(this, false, "DisableRotation", {}, {});
  TGrafCanvas3D::DisableRotation();
}

void TRecordingCanvas::EllipseWithZ(int x1, int y1, int x2, int y2, int z) {
  TScope s(this, false, "EllipseWithZ",
           {static_cast<double>(x1), static_cast<double>(y1), static_cast<double>(x2), static_cast<double>(y2),
            static_cast<double>(z)},
           {});
  TGrafCanvas3D::EllipseWithZ(x1, y1, x2, y2, z);
}

void TRecordingCanvas::EnableRotation() {
  TScope s(this, false, "EnableRotation", {}, {});
  TGrafCanvas3D::EnableRotation();
}

void TRecordingCanvas::HorizontalLine3D(int left, int right, int y, int z) {
  TScope s(this, false, "HorizontalLine3D",
           {static_cast<double>(left), static_cast<double>(right), static_cast<double>(y), static_cast<double>(z)}, {});
  TGrafCanvas3D::HorizontalLine3D(left, right, y, z);
}

void TRecordingCanvas::VerticalLine3D(int x, int top, int bottom, int z) {
  TScope s(this, false, "VerticalLine3D",
           {static_cast<double>(x), static_cast<double>(top), static_cast<double>(bottom), static_cast<double>(z)}, {});
  TGrafCanvas3D::VerticalLine3D(x, top, bottom, z);
}

void TRecordingCanvas::DepthLine3D(int x, int y, int z0, int z1) {
  TScope s(this, false, "DepthLine3D",
           {static_cast<double>(x), static_cast<double>(y), static_cast<double>(z0), static_cast<double>(z1)}, {});
  TGrafCanvas3D::DepthLine3D(x, y, z0, z1);
}

void TRecordingCanvas::SuspendRotation() {
  TScope s(this, false, "SuspendRotation", {}, {});
  TGrafCanvas3D::SuspendRotation();
}

void TRecordingCanvas::ResumeRotation() {
  TScope s(this, false, "ResumeRotation", {}, {});
  TGrafCanvas3D::ResumeRotation();
}

void TRecordingCanvas::LineAtDepth(int x0, int y0, int x1, int y1, int z) {
  TScope s(this, false, "LineAtDepth",
           {static_cast<double>(x0), static_cast<double>(y0), static_cast<double>(x1), static_cast<double>(y1),
            static_cast<double>(z)},
           {});
  TGrafCanvas3D::LineAtDepth(x0, y0, x1, y1, z);
}

void TRecordingCanvas::MoveTo3D(int x, int y, int z) {
  TScope s(this, false, "MoveTo3D", {static_cast<double>(x), static_cast<double>(y), static_cast<double>(z)}, {});
  TGrafCanvas3D::MoveTo3D(x, y, z);
}

void TRecordingCanvas::LineTo3D(int x, int y, int z) {
  TScope s(this, false, "LineTo3D", {static_cast<double>(x), static_cast<double>(y), static_cast<double>(z)}, {});
  TGrafCanvas3D::LineTo3D(x, y, z);
}

void TRecordingCanvas::Pie3D(int xCenter, int yCenter, int xRadius, int yRadius, int z0, int z1, double startAngle,
                             double endAngle, bool darkSides, bool drawSides, int donutPercent,
                             TCustomGrafGradient* gradient) {
  TScope s(
      this, false, "Pie3D",
      {static_cast<double>(xCenter), static_cast<double>(yCenter), static_cast<double>(xRadius),
       static_cast<double>(yRadius), static_cast<double>(z0), static_cast<double>(z1), static_cast<double>(startAngle),
       static_cast<double>(endAngle), static_cast<double>(darkSides), static_cast<double>(drawSides),
       static_cast<double>(donutPercent), static_cast<double>(gradient != nullptr)},
      {});
  TGrafCanvas3D::Pie3D(xCenter, yCenter, xRadius, yRadius, z0, z1, startAngle, endAngle, darkSides, drawSides,
                       donutPercent, gradient);
}

void TRecordingCanvas::Plane3D(TPoint p1, TPoint p2, int z0, int z1) {
  TScope s(this, false, "Plane3D",
           {static_cast<double>(p1.X), static_cast<double>(p1.Y), static_cast<double>(p2.X), static_cast<double>(p2.Y),
            static_cast<double>(z0), static_cast<double>(z1)},
           {});
  TGrafCanvas3D::Plane3D(p1, p2, z0, z1);
}

void TRecordingCanvas::PlaneWithZ(TPoint p1, TPoint p2, TPoint p3, TPoint p4, int z) {
  TScope s(this, false, "PlaneWithZ",
           {static_cast<double>(p1.X), static_cast<double>(p1.Y), static_cast<double>(p2.X), static_cast<double>(p2.Y),
            static_cast<double>(p3.X), static_cast<double>(p3.Y), static_cast<double>(p4.X), static_cast<double>(p4.Y),
            static_cast<double>(z)},
           {});
  TGrafCanvas3D::PlaneWithZ(p1, p2, p3, p4, z);
}

void TRecordingCanvas::PlaneFour3D(const TFourPoints& points, int z0, int z1) {
  TScope s(this, false, "PlaneFour3D", {static_cast<double>(z0), static_cast<double>(z1)},
           std::vector<TPoint>(points.begin(), points.end()));
  TGrafCanvas3D::PlaneFour3D(points, z0, z1);
}

void TRecordingCanvas::Polygon3D(std::span<const TPoint3D> points) {
  TScope s(this, false, "Polygon3D", {}, {});
  if (auto* c = s.Call()) c->Points3D.assign(points.begin(), points.end());
  TGrafCanvas3D::Polygon3D(points);
}

void TRecordingCanvas::PolygonWithZ(std::span<const TPoint> points, int z) {
  TScope s(this, false, "PolygonWithZ", {static_cast<double>(z)}, std::vector<TPoint>(points.begin(), points.end()));
  TGrafCanvas3D::PolygonWithZ(points, z);
}

void TRecordingCanvas::PolylineWithZ(std::span<const TPoint> points, int z) {
  TScope s(this, false, "PolylineWithZ", {static_cast<double>(z)}, std::vector<TPoint>(points.begin(), points.end()));
  TGrafCanvas3D::PolylineWithZ(points, z);
}

void TRecordingCanvas::Pyramid(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                               bool darkSides) {
  TScope s(
      this, false, "Pyramid",
      {static_cast<double>(vertical), static_cast<double>(left), static_cast<double>(top), static_cast<double>(right),
       static_cast<double>(bottom), static_cast<double>(z0), static_cast<double>(z1), static_cast<double>(darkSides)},
      {});
  TGrafCanvas3D::Pyramid(vertical, left, top, right, bottom, z0, z1, darkSides);
}

void TRecordingCanvas::TruncatedPyramid(const TRect& rect, int z0, int z1, int topHalfWidth, int topHalfDepth) {
  TScope s(this, false, "TruncatedPyramid",
           {static_cast<double>(rect.Left), static_cast<double>(rect.Top), static_cast<double>(rect.Right),
            static_cast<double>(rect.Bottom), static_cast<double>(z0), static_cast<double>(z1),
            static_cast<double>(topHalfWidth), static_cast<double>(topHalfDepth)},
           {});
  TGrafCanvas3D::TruncatedPyramid(rect, z0, z1, topHalfWidth, topHalfDepth);
}

void TRecordingCanvas::RectangleWithZ(const TRect& rect, int z) {
  TScope s(this, false, "RectangleWithZ",
           {static_cast<double>(rect.Left), static_cast<double>(rect.Top), static_cast<double>(rect.Right),
            static_cast<double>(rect.Bottom), static_cast<double>(z)},
           {});
  TGrafCanvas3D::RectangleWithZ(rect, z);
}

void TRecordingCanvas::RectangleY(int left, int y, int right, int z0, int z1) {
  TScope s(this, false, "RectangleY",
           {static_cast<double>(left), static_cast<double>(y), static_cast<double>(right), static_cast<double>(z0),
            static_cast<double>(z1)},
           {});
  TGrafCanvas3D::RectangleY(left, y, right, z0, z1);
}

void TRecordingCanvas::RectangleZ(int x, int top, int bottom, int z0, int z1) {
  TScope s(this, false, "RectangleZ",
           {static_cast<double>(x), static_cast<double>(top), static_cast<double>(bottom), static_cast<double>(z0),
            static_cast<double>(z1)},
           {});
  TGrafCanvas3D::RectangleZ(x, top, bottom, z0, z1);
}

void TRecordingCanvas::RotateLabel3D(int x, int y, int z, const std::string& text, double angle) {
  TScope s(this, false, "RotateLabel3D",
           {static_cast<double>(x), static_cast<double>(y), static_cast<double>(z), static_cast<double>(angle)}, {},
           text);
  TGrafCanvas3D::RotateLabel3D(x, y, z, text, angle);
}

void TRecordingCanvas::Sphere(int x, int y, int z, double radius) {
  TScope s(this, false, "Sphere",
           {static_cast<double>(x), static_cast<double>(y), static_cast<double>(z), static_cast<double>(radius)}, {});
  TGrafCanvas3D::Sphere(x, y, z, radius);
}

void TRecordingCanvas::Surface3D(TGrafCanvasSurfaceStyle style, bool sameBrush, int numX, int numZ,
                                 const TGrafSurfaceCellProc& getCell) {
  TScope s(this, false, "Surface3D",
           {static_cast<double>(style), static_cast<double>(sameBrush), static_cast<double>(numX),
            static_cast<double>(numZ)},
           {});
  TGrafCanvas3D::Surface3D(style, sameBrush, numX, numZ, getCell);
}

void TRecordingCanvas::TextOut3D(int x, int y, int z, const std::string& text) {
  TScope s(this, false, "TextOut3D", {static_cast<double>(x), static_cast<double>(y), static_cast<double>(z)}, {},
           text);
  TGrafCanvas3D::TextOut3D(x, y, z, text);
}

void TRecordingCanvas::Triangle3D(const std::array<TPoint3D, 3>& points, const std::array<TColor, 3>& colors) {
  TScope s(this, false, "Triangle3D",
           {static_cast<double>(colors[0]), static_cast<double>(colors[1]), static_cast<double>(colors[2])}, {});
  if (auto* c = s.Call()) c->Points3D.assign(points.begin(), points.end());
  TGrafCanvas3D::Triangle3D(points, colors);
}

void TRecordingCanvas::TriangleAtDepth(TPoint p1, TPoint p2, TPoint p3, int z) {
  TScope s(this, false, "TriangleAtDepth",
           {static_cast<double>(p1.X), static_cast<double>(p1.Y), static_cast<double>(p2.X), static_cast<double>(p2.Y),
            static_cast<double>(p3.X), static_cast<double>(p3.Y), static_cast<double>(z)},
           {});
  TGrafCanvas3D::TriangleAtDepth(p1, p2, p3, z);
}

void TRecordingCanvas::DrawStoredQuad() {
  TScope s(this, false, "DrawStoredQuad", {}, std::vector<TPoint>(StoredQuad.begin(), StoredQuad.end()));
  TGrafCanvas3D::DrawStoredQuad();
}

void TRecordingCanvas::FreeBufferBitmap() {
  TScope s(this, false, "FreeBufferBitmap", {}, {});
  TGrafCanvas3D::FreeBufferBitmap();
}

void TRecordingCanvas::CopyBufferTo(int x, int y, TCanvas* target) {
  TScope s(this, false, "CopyBufferTo", {static_cast<double>(x), static_cast<double>(y)}, {});
  TGrafCanvas3D::CopyBufferTo(x, y, target);
}
