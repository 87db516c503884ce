// Pens, brushes and fonts: plain property holders that report real changes.
#include <cctype>
#include <cmath>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/graphics.h"
#include "platform/rtl/mathutils.h"

void TGraphicsObject::Changed() {
  if (OnChange) OnChange(this);
}

void TGraphicsObject::AssignError(const TGraphicsObject* source) const {
  std::string src = source ? source->ClassName() : "nil";
  throw EConvertError("Cannot assign a " + src + " to a " + ClassName());
}

void TGraphicsObject::Assign(const TGraphicsObject* source) { AssignError(source); }

int PenModeToROP2(TPenMode mode) {
  static const int map[] = {R2_BLACK,      R2_WHITE,      R2_NOP,         R2_NOT,        R2_COPYPEN,   R2_NOTCOPYPEN,
                            R2_MERGEPENNOT, R2_MASKPENNOT, R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN,  R2_NOTMERGEPEN,
                            R2_MASKPEN,    R2_NOTMASKPEN, R2_XORPEN,      R2_NOTXORPEN};
  int m = static_cast<int>(mode);
  return (m >= 0 && m < 16) ? map[m] : R2_COPYPEN;
}

TPenHandle CreatePen(unsigned style, int width, TColor color) {
  TPenHandle h;
  h.Style = style & PS_STYLE_MASK;
  h.Width = width;
  h.Color = color;
  return h;
}

TPenHandle ExtCreatePen(unsigned style, int width, const TLogBrush& brush, std::vector<uint32_t> userStyle) {
  TPenHandle h;
  h.Style = style;
  h.Width = width;
  h.Color = brush.lbStyle == BS_NULL ? clNone : brush.lbColor;
  if (brush.lbStyle == BS_NULL) h.Style = (h.Style & ~PS_STYLE_MASK) | PS_NULL;
  if ((style & PS_STYLE_MASK) == PS_USERSTYLE) h.UserStyle = std::move(userStyle);
  return h;
}

// ---- TPen ----

void TPen::Assign(const TGraphicsObject* source) {
  auto* p = dynamic_cast<const TPen*>(source);
  if (!p) AssignError(source);
  if (p == this) return;
  bool changed = FColor != p->FColor || FWidth != p->FWidth || FStyle != p->FStyle || FMode != p->FMode ||
                 FGeometric != p->FGeometric || FEndCap != p->FEndCap || FJoin != p->FJoin ||
                 FUserStyle != p->FUserStyle;
  FColor = p->FColor;
  FWidth = p->FWidth;
  FStyle = p->FStyle;
  FMode = p->FMode;
  FGeometric = p->FGeometric;
  FEndCap = p->FEndCap;
  FJoin = p->FJoin;
  FUserStyle = p->FUserStyle;
  if (changed) Changed();
}

void TPen::SetColor(TColor value) {
  if (FColor == value) return;
  FColor = value;
  Changed();
}

void TPen::SetWidth(int value) {
  if (value < 0) value = 0;
  if (FWidth == value && !FGeometric) return;
  FWidth = value;
  FGeometric = false;
  FEndCap = PS_ENDCAP_ROUND;
  FJoin = PS_JOIN_ROUND;
  Changed();
}

void TPen::SetStyle(TPenStyle value) {
  if (FStyle == value && !FGeometric) return;
  FStyle = value;
  FGeometric = false;
  FEndCap = PS_ENDCAP_ROUND;
  FJoin = PS_JOIN_ROUND;
  if (value != psUserStyle) FUserStyle.clear();
  Changed();
}

void TPen::SetMode(TPenMode value) {
  if (FMode == value) return;
  FMode = value;
  Changed();
}

TPenHandle TPen::Handle() const {
  TPenHandle h;
  static const unsigned styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT,
                                    PS_NULL,  PS_INSIDEFRAME, PS_USERSTYLE, PS_ALTERNATE};
  h.Style = styles[FStyle] | FEndCap | FJoin | (FGeometric ? PS_GEOMETRIC : PS_COSMETIC);
  h.Width = FWidth;
  h.Color = FColor;
  h.UserStyle = FUserStyle;
  return h;
}

void TPen::SetHandle(const TPenHandle& handle) {
  static const TPenStyle styles[] = {psSolid, psDash,    psDot,       psDashDot, psDashDotDot,
                                     psClear, psInsideFrame, psUserStyle, psAlternate};
  unsigned s = handle.Style & PS_STYLE_MASK;
  TPen n;
  n.FColor = handle.Color;
  n.FWidth = std::max(0, handle.Width);
  n.FStyle = s <= PS_ALTERNATE ? styles[s] : psSolid;
  n.FMode = FMode;
  n.FGeometric = (handle.Style & PS_TYPE_MASK) == PS_GEOMETRIC;
  n.FEndCap = handle.Style & PS_ENDCAP_MASK;
  n.FJoin = handle.Style & PS_JOIN_MASK;
  n.FUserStyle = handle.UserStyle;
  Assign(&n);
}

// ---- TBrush ----

TBrush::TBrush() = default;
TBrush::~TBrush() = default;

void TBrush::Assign(const TGraphicsObject* source) {
  auto* b = dynamic_cast<const TBrush*>(source);
  if (!b) AssignError(source);
  if (b == this) return;
  FColor = b->FColor;
  FStyle = b->FStyle;
  if (b->FBitmap) {
    FBitmap = std::make_unique<TBitmap>();
    FBitmap->Assign(b->FBitmap.get());
  } else {
    FBitmap.reset();
  }
  Changed();
}

void TBrush::SetColor(TColor value) {
  if (FColor == value && FStyle != bsClear) return;
  FColor = value;
  if (FStyle == bsClear) FStyle = bsSolid;
  Changed();
}

void TBrush::SetStyle(TBrushStyle value) {
  if (FStyle == value && !FBitmap) return;
  FStyle = value;
  FBitmap.reset();
  Changed();
}

void TBrush::SetBitmap(const TBitmap* value) {
  if (value && !value->Empty()) {
    FBitmap = std::make_unique<TBitmap>();
    FBitmap->Assign(value);
  } else {
    FBitmap.reset();
  }
  Changed();
}

// ---- TFont ----

TFont::TFont() = default;

void TFont::Assign(const TGraphicsObject* source) {
  auto* f = dynamic_cast<const TFont*>(source);
  if (!f) AssignError(source);
  if (f == this) return;
  FName = f->FName;
  if (f->FPixelsPerInch == FPixelsPerInch) FHeight = f->FHeight;
  else FHeight = -MulDiv(f->Size(), FPixelsPerInch, 72);
  FStyle = f->FStyle;
  FColor = f->FColor;
  FCharset = f->FCharset;
  FPitch = f->FPitch;
  FOrientation = f->FOrientation;
  FQuality = f->FQuality;
  Changed();
}

void TFont::SetName(const std::string& value) {
  if (FName == value || value.empty()) return;
  FName = value;
  Changed();
}

int TFont::Size() const {
  if (FHeight < 0) return -MulDiv(FHeight, 72, FPixelsPerInch);
  return MulDiv(FHeight, 72, FPixelsPerInch);
}

void TFont::SetSize(int value) { SetHeight(-MulDiv(value, FPixelsPerInch, 72)); }

void TFont::SetHeight(int value) {
  if (FHeight == value) return;
  FHeight = value;
  Changed();
}

void TFont::SetPixelsPerInch(int value) {
  if (value <= 0 || value == FPixelsPerInch) return;
  int size = Size();
  FPixelsPerInch = value;
  FHeight = -MulDiv(size, value, 72);
  Changed();
}

void TFont::SetStyle(TFontStyles value) {
  if (FStyle == value) return;
  FStyle = value;
  Changed();
}

void TFont::SetColor(TColor value) {
  if (FColor == value) return;
  FColor = value;
  Changed();
}

void TFont::SetCharset(TFontCharset value) {
  if (FCharset == value) return;
  FCharset = value;
  Changed();
}

void TFont::SetPitch(TFontPitch value) {
  if (FPitch == value) return;
  FPitch = value;
  Changed();
}

void TFont::SetOrientation(int value) {
  if (FOrientation == value) return;
  FOrientation = value;
  Changed();
}

void TFont::SetQuality(TFontQuality value) {
  if (FQuality == value) return;
  FQuality = value;
  Changed();
}

std::string MapFontFamily(const std::string& name) {
  std::string n;
  for (char c : name) n += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  static const struct {
    const char* From;
    const char* To;
  } map[] = {{"arial", "Liberation Sans"},          {"helvetica", "Liberation Sans"},
             {"ms sans serif", "Liberation Sans"},  {"microsoft sans serif", "Liberation Sans"},
             {"tahoma", "Liberation Sans"},         {"segoe ui", "Liberation Sans"},
             {"ms shell dlg", "Liberation Sans"},   {"ms shell dlg 2", "Liberation Sans"},
             {"system", "Liberation Sans"},         {"small fonts", "Liberation Sans"},
             {"verdana", "DejaVu Sans"},            {"arial narrow", "Liberation Sans Narrow"},
             {"times new roman", "Liberation Serif"}, {"times", "Liberation Serif"},
             {"ms serif", "Liberation Serif"},      {"georgia", "Liberation Serif"},
             {"courier new", "Liberation Mono"},    {"courier", "Liberation Mono"},
             {"lucida console", "Liberation Mono"}, {"consolas", "Liberation Mono"},
             {"fixedsys", "Liberation Mono"},       {"terminal", "Liberation Mono"},
             {"symbol", "DejaVu Sans"},             {"wingdings", "DejaVu Sans"}};
  for (const auto& m : map)
    if (n == m.From) return m.To;
  if (n.rfind("liberation", 0) == 0 || n.rfind("dejavu", 0) == 0) return name;
  return "DejaVu Sans";
}
