#include "toolbar/tbcommon.h"

#include <cctype>
#include <cstdint>
#include <limits>

#include "platform/gfx/bitmap.h"
#include "platform/ui/syssettings.h"

std::string RemoveAmpersands(const std::string& S) {
  std::string r;
  r.reserve(S.size());
  for (size_t i = 0; i < S.size(); ++i) {
    if (S[i] == '&') {
      ++i;
      if (i >= S.size()) break;
    }
    r += S[i];
  }
  return r;
}

std::string DoubleAmpersands(const std::string& S) {
  std::string r;
  r.reserve(S.size() + 4);
  for (char c : S) {
    r += c;
    if (c == '&') r += '&';
  }
  return r;
}

std::string TrimTrailingColonOrEllipsis(const std::string& S) {
  if (S.size() > 1 && S.back() == ':') return S.substr(0, S.size() - 1);
  if (S.size() > 3 && S.compare(S.size() - 3, 3, "...") == 0) return S.substr(0, S.size() - 3);
  return S;
}

char AcceleratorOf(const std::string& S) {
  char r = 0;
  for (size_t i = 0; i < S.size(); ++i) {
    if (S[i] != '&') continue;
    ++i;
    if (i >= S.size()) break;
    if (S[i] != '&') r = S[i];
  }
  return r;
}

char LowerCaseChar(char C) { return static_cast<char>(std::tolower(static_cast<unsigned char>(C))); }

int TextWidthOf(TCanvas* Canvas, const std::string& S, bool RemovePrefix) {
  return Canvas->TextWidth(RemovePrefix ? RemoveAmpersands(S) : S);
}

int TextHeightOf(TCanvas* Canvas) {
  TTextMetric tm;
  Canvas->GetTextMetrics(tm);
  return tm.tmHeight;
}

int MenuShowDelay() { return std::max(0, SystemSettings().MenuShowDelay); }
bool FlatMenusOn() { return SystemSettings().FlatMenus; }
bool KeyboardCuesOn() { return SystemSettings().KeyboardCues; }

bool SeveralMonitorsInUse() { return Monitors().size() > 1; }

TRect VirtualScreenRect() {
  const auto ms = Monitors();
  TRect r = ms.front().BoundsRect;
  for (const TMonitorInfo& m : ms) {
    r.Left = std::min(r.Left, m.BoundsRect.Left);
    r.Top = std::min(r.Top, m.BoundsRect.Top);
    r.Right = std::max(r.Right, m.BoundsRect.Right);
    r.Bottom = std::max(r.Bottom, m.BoundsRect.Bottom);
  }
  return r;
}

TRect ScreenOrWorkAreaRect(bool WorkArea) {
  auto m = Monitors();
  return WorkArea ? m.front().WorkareaRect : m.front().BoundsRect;
}

namespace {
// Squared distance from a point to a rectangle (0 inside).
int64_t Distance2(const TRect& r, TPoint p) {
  int64_t dx = p.X < r.Left ? r.Left - p.X : p.X >= r.Right ? p.X - r.Right + 1 : 0;
  int64_t dy = p.Y < r.Top ? r.Top - p.Y : p.Y >= r.Bottom ? p.Y - r.Bottom + 1 : 0;
  return dx * dx + dy * dy;
}

int64_t Overlap(const TRect& a, const TRect& b) {
  int64_t w = std::min(a.Right, b.Right) - std::max(a.Left, b.Left);
  int64_t h = std::min(a.Bottom, b.Bottom) - std::max(a.Top, b.Top);
  return w > 0 && h > 0 ? w * h : 0;
}
}  // namespace

TRect MonitorRectForPoint(const TPoint& P, bool WorkArea) {
  auto ms = Monitors();
  const TMonitorInfo* best = &ms.front();
  int64_t bestD = std::numeric_limits<int64_t>::max();
  for (const auto& m : ms) {
    int64_t d = Distance2(m.BoundsRect, P);
    if (d < bestD) {
      bestD = d;
      best = &m;
    }
  }
  return WorkArea ? best->WorkareaRect : best->BoundsRect;
}

TRect MonitorRectForRect(const TRect& R, bool WorkArea) {
  auto ms = Monitors();
  const TMonitorInfo* best = nullptr;
  int64_t bestArea = 0;
  for (const auto& m : ms) {
    int64_t a = Overlap(m.BoundsRect, R);
    if (a > bestArea) {
      bestArea = a;
      best = &m;
    }
  }
  if (!best) return MonitorRectForPoint(TPoint((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2), WorkArea);
  return WorkArea ? best->WorkareaRect : best->BoundsRect;
}

TRegion FrameRegion(const TRect& R, TPoint Thickness) {
  TRegion result;
  if (R.Right <= R.Left || R.Bottom <= R.Top) return result;
  HRGN outer = CreateRectRgnIndirect(R);
  TRect inner(R.Left + Thickness.X, R.Top + Thickness.Y, R.Right - Thickness.X, R.Bottom - Thickness.Y);
  if (inner.Right > inner.Left && inner.Bottom > inner.Top) {
    HRGN in = CreateRectRgnIndirect(inner);
    CombineRgn(outer, outer, in, RGN_DIFF);
    DeleteObject(in);
  }
  result = *outer;
  DeleteObject(outer);
  return result;
}

std::unique_ptr<TBrush> NewHalftoneBrush() {
  TBitmap pattern(8, 8, pf32bit);
  for (int y = 0; y < 8; ++y) {
    uint16_t bits = (y % 2 == 0) ? 0x0055 : 0x00AA;
    for (int x = 0; x < 8; ++x) {
      bool set = (bits >> (7 - x)) & 1;
      pattern.Canvas()->SetPixels(x, y, set ? clWhite : clBlack);
    }
  }
  auto brush = std::make_unique<TBrush>();
  brush->SetBitmap(&pattern);
  return brush;
}

void InvertFrameDifferenceHalftone(TCanvas* Canvas, const TRect& NewRect, const TRect& OldRect, TPoint OldThickness,
                                   TPoint NewThickness) {
  TRegion a = FrameRegion(OldRect, OldThickness);
  TRegion b = FrameRegion(NewRect, NewThickness);
  HRGN x = CreateRectRgn(0, 0, 0, 0);
  CombineRgn(x, &a, &b, RGN_XOR);
  int saved = Canvas->SaveDC();
  Canvas->SelectClipRgn(x);
  auto brush = NewHalftoneBrush();
  Canvas->Brush()->Assign(brush.get());
  TRect box;
  Canvas->GetClipBox(box);
  Canvas->PatBlt(box.Left, box.Top, box.Right - box.Left, box.Bottom - box.Top, PATINVERT);
  Canvas->RestoreDC(saved);
  DeleteObject(x);
}
