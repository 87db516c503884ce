// The cell drawing routines of the grid's utility unit.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "grid/support/plusutil.h"
#include "grid/support/plusxpvs.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/framectl.h"
#include "platform/gfx/resources.h"
#include "platform/rtl/format.h"
#include "platform/rtl/mathutils.h"
#include "platform/ui/windowfx.h"

namespace {

int RoundInt(double x) { return static_cast<int>(Round(x)); }

}  // namespace

void DrawBitmapOnColor(TCanvas* Canvas, TBitmap* Bitmap, TColor BkColor, const TRect& R) {
  if (!Canvas || !Bitmap || Bitmap->Empty()) return;
  const int w = Bitmap->Width(), h = Bitmap->Height();
  TBitmap tmp(w, h);
  tmp.Canvas()->Brush()->SetColor(BkColor);
  const TColor key = Bitmap->Canvas()->Pixels(0, 0);
  BrushCopy(tmp.Canvas(), Rect(0, 0, w, h), Bitmap, Rect(0, 0, w, h), key);
  Canvas->CopyRect(Rect(R.Left, R.Top, R.Left + w, R.Top + h), tmp.Canvas(), Rect(0, 0, w, h));
}

void DrawResourceBitmap(TCanvas* Canvas, TColor BkColor, const TRect& R, const std::string& Name) {
  std::unique_ptr<TBitmap> b = LoadResourceBitmap(Name);
  if (b) DrawBitmapOnColor(Canvas, b.get(), BkColor, R);
}

void DrawErrorUnderline(TWinControl* Owner, TCanvas* Canvas, const std::string& Text, const TRect& R,
                        int VOffset, int First, int Count) {
  (void)Owner;
  if (!Canvas) return;
  // A single-line edit box puts its first character one pixel in, on its
  // top line; the position of a character is the width of the text before it.
  const int len = static_cast<int>(Text.size());
  auto pos = [&](int i) { return TPoint{1 + Canvas->TextWidth(Text.substr(0, static_cast<size_t>(std::clamp(i, 0, len)))), 0}; };
  TPoint start, end;
  if (First < len) {
    start = pos(First);
  } else {
    start = pos(len);
    start.X += 4;
  }
  if (First + Count < len) {
    end = pos(First + Count - 1);
  } else {
    end = pos(len - 1);
    end.X += 4;
    end.Y = start.Y;
  }
  Canvas->Pen()->SetColor(clRed);
  Canvas->Pen()->SetWidth(2);
  int x = start.X;
  Canvas->MoveTo(R.Left + x, R.Top + start.Y + VOffset + 3);
  int phase = 3;
  while (x <= end.X) {
    phase = phase == 3 ? 0 : 3;
    Canvas->LineTo(R.Left + x + 3, R.Top + end.Y + VOffset + phase);
    x += 3;
  }
  phase = phase == 3 ? 0 : 3;
  Canvas->LineTo(R.Left + x + 3, R.Top + end.Y + VOffset + phase);
}

void DrawRangeBar(TCanvas* Canvas, const TRect& R, int Value, TColor PosColor, TColor NegColor, bool ShowValue,
                  int Maximum) {
  if (!Canvas) return;
  TRect r = Rect(R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2);
  const int half = (r.Right - r.Left) / 2;
  const int limit = std::abs(Maximum);
  const int v = std::clamp(Value, -limit, limit);
  if (Maximum != 0) {
    const int length = RoundInt(static_cast<double>(half) * v / Maximum);
    if (v < 0) {
      Canvas->Brush()->SetColor(NegColor);
      Canvas->Pen()->SetColor(NegColor);
      Canvas->Rectangle(r.Left + half + length, r.Top, r.Left + half, r.Bottom);
    } else {
      Canvas->Brush()->SetColor(PosColor);
      Canvas->Pen()->SetColor(PosColor);
      Canvas->Rectangle(r.Left + half, r.Top, r.Left + half + length, r.Bottom);
    }
  }
  if (ShowValue) {
    Canvas->SetBkMode(TRANSPARENT);
    Canvas->Brush()->SetStyle(bsClear);
    TRect t = r;
    Canvas->DrawText(std::to_string(v), t, DT_SINGLELINE | DT_CENTER | DT_TOP);
  }
}

void DrawProgressBar(TCanvas* Canvas, const TRect& R, TColor DoneColor, TColor DoneFontColor, TColor RestColor,
                     TColor RestFontColor, TColor BorderColor, const std::string& FormatText, double Value,
                     int Min, int Max, int HMargin, int VMargin, bool TextAbove) {
  if (!Canvas) return;
  const TColor saved = Canvas->Brush()->Color();
  Canvas->Brush()->SetColor(DoneColor);
  Canvas->Pen()->SetColor(DoneColor);
  Canvas->Font()->SetColor(DoneFontColor);
  const int v = RoundInt(Value);
  std::string text = FormatText.empty() ? std::to_string(v) + "%" : Format(FormatText, {v});
  // Percent of the range, limited to 0..100; an empty range shows nothing done.
  int percent = 0;
  if (Max != Min) percent = RoundInt(static_cast<double>(v - Min) * 100.0 / (Max - Min));
  percent = std::clamp(percent, 0, 100);
  const TRect bar = Rect(R.Left + HMargin, R.Top + VMargin, R.Right - HMargin, R.Bottom - VMargin);
  const int width = bar.Right - bar.Left, height = bar.Bottom - bar.Top;
  const TRect done = Rect(bar.Left, bar.Top, bar.Left + RoundInt(percent * width / 100.0), bar.Bottom);
  const int k = TextAbove ? -1 : 1;
  const int x = bar.Left + (width - Canvas->TextWidth(text)) / 2;
  const int y = bar.Top + (height - k * Canvas->TextHeight(text)) / 2;
  if (done.Right > done.Left) Canvas->TextRect(done, x, y, text);
  Canvas->Brush()->SetColor(RestColor);
  Canvas->Pen()->SetColor(RestColor);
  Canvas->Font()->SetColor(RestFontColor);
  const TRect rest = Rect(done.Right, bar.Top, bar.Right, bar.Bottom);
  if (rest.Right > rest.Left) Canvas->TextRect(rest, x, y, text);
  Canvas->Brush()->SetColor(BorderColor);
  Canvas->Pen()->SetColor(saved);
  TRect frame = Rect(bar.Left - 1, bar.Top - 1, bar.Right + 1, bar.Bottom + 1);
  if (BorderColor != clNone) Canvas->FrameRect(frame);
  Canvas->Brush()->SetColor(saved);
  frame = Rect(frame.Left - 1, frame.Top - 1, frame.Right + 1, frame.Bottom + 1);
  Canvas->FrameRect(frame);
}

void DrawProgressPie(TCanvas* Canvas, const TRect& R, TColor FillColor, bool FloodAbove, int Percent) {
  if (!Canvas) return;
  Canvas->Pen()->SetColor(clGray);
  Canvas->Pen()->SetWidth(1);
  Canvas->Ellipse(R.Left, R.Top, R.Right, R.Bottom);
  const int w = R.Right - R.Left, h = R.Bottom - R.Top;
  const int cx = R.Left + w / 2, cy = R.Top + h / 2;
  Canvas->MoveTo(cx, R.Top);
  Canvas->LineTo(cx, cy);
  const double angle = Percent / 100.0 * 2 * M_PI;
  Canvas->LineTo(R.Left + w / 2 + RoundInt((w + 1) * 0.5 * std::sin(angle)),
                 R.Top + h / 2 - RoundInt((h + 1) * 0.5 * std::cos(angle)));
  Canvas->Brush()->SetColor(FillColor);
  Canvas->FloodFill(cx + 2, FloodAbove ? R.Top - 2 : R.Top + 2, clGray, false);
}

void FillGradientRect(TCanvas* Canvas, TColor Color1, TColor Color2, bool Horizontal, const TRect& R, int Steps) {
  if (!Canvas) return;
  if (Color2 == clNone) {
    const TColor c = static_cast<TColor>(ColorToRGB(Color1));
    Canvas->Brush()->SetColor(c);
    Canvas->Pen()->SetColor(c);
    Canvas->Rectangle(R);
    return;
  }
  if (Steps <= 0) Steps = 1;
  Steps = std::min(Steps, 65535);
  const TColorRef a = ColorToRGB(Color1), b = ColorToRGB(Color2);
  const double size = (Horizontal ? R.Right - R.Left : R.Bottom - R.Top) / static_cast<double>(Steps);
  const int dr = GetRValue(b) - GetRValue(a), dg = GetGValue(b) - GetGValue(a), db = GetBValue(b) - GetBValue(a);
  const int stepWidth = RoundInt(size);
  for (int n = 0; n < Steps; ++n) {
    const TColor c = static_cast<TColor>(RGB(GetRValue(a) + RoundInt(n * (static_cast<double>(dr) / Steps)),
                                             GetGValue(a) + RoundInt(n * (static_cast<double>(dg) / Steps)),
                                             GetBValue(a) + RoundInt(n * (static_cast<double>(db) / Steps))));
    Canvas->Pen()->SetColor(c);
    Canvas->Brush()->SetColor(c);
    const int offset = static_cast<uint16_t>(RoundInt(n * size));
    if (Horizontal) {
      const int x = R.Left + offset;
      Canvas->Rectangle(x, R.Top, x + stepWidth + 1, R.Bottom);
    } else {
      const int y = R.Top + offset;
      Canvas->Rectangle(R.Left, y, R.Right, y + stepWidth + 1);
    }
  }
}

TColor GradientColorAt(TColor Color1, TColor Color2, int RangeStart, int Position, int RangeEnd) {
  if (Color2 == clNone) return Color1;
  const TColorRef a = ColorToRGB(Color1), b = ColorToRGB(Color2);
  if (RangeEnd == RangeStart) return static_cast<TColor>(a);
  const double span = RangeEnd - RangeStart;
  auto ch = [&](int x, int y) { return std::clamp(x + RoundInt((y - x) / span * Position), 0, 255); };
  return static_cast<TColor>(RGB(ch(GetRValue(a), GetRValue(b)), ch(GetGValue(a), GetGValue(b)),
                                 ch(GetBValue(a), GetBValue(b))));
}

void DrawComboButton(TCanvas* Canvas, HWND Window, const TRect& R, bool Themed) {
  if (!Canvas) return;
  TRect r = Rect(R.Right - 18, R.Top + 1, R.Right - 2, R.Bottom - 1);
  if (Themed && ThemesActive()) {
    HTHEME theme = OpenThemeData(Window, u"combobox");
    DrawThemeBackground(theme, Canvas, 1, 1, &r, nullptr);
    CloseThemeData(theme);
  } else {
    DrawFrameControl(Canvas, r, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | DFCS_FLAT);
  }
}

bool CallUpdateLayeredWindow(HWND Window, TCanvas* DestDC, const TPoint* Position, const TSize* Size,
                             TCanvas* SourceDC, const TPoint* SourcePosition, TColor ColorKey,
                             const TBlendFunction* Blend, unsigned Flags) {
  auto f = reinterpret_cast<TUpdateLayeredWindowProc>(GetUserProcAddress("UpdateLayeredWindow"));
  if (!f) return true;
  return f(Window, DestDC, Position, Size, SourceDC, SourcePosition, ColorKey, Blend, Flags);
}

bool CallSetLayeredWindowAttributes(HWND Window, TColor ColorKey, uint8_t Alpha, unsigned Flags) {
  auto f = reinterpret_cast<TSetLayeredWindowAttributesProc>(GetUserProcAddress("SetLayeredWindowAttributes"));
  if (!f) return true;
  return f(Window, ColorKey, Alpha, Flags);
}
