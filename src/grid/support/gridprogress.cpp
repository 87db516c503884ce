#include "grid/support/gridprogress.h"

#include <algorithm>

#include "grid/support/plusutil.h"
#include "platform/rtl/mathutils.h"

ZV_CLASS_IMPL(TGridProgressAppearance, TPersistent)

void TGridProgressAppearance::DeclareProperties(TClassInfo& c) {
  using T = TGridProgressAppearance;
#define ZV_COLOR(Name, Def) c.Integer<T>(#Name, &T::Name, &T::Set##Name, Def);
  ZV_COLOR(Level0Color, clLime)
  ZV_COLOR(Level0ColorTo, 0xE1FFE1)
  ZV_COLOR(Level1Color, clYellow)
  ZV_COLOR(Level1ColorTo, 0xCAFFFF)
  ZV_COLOR(Level2Color, 0x53A9FF)
  ZV_COLOR(Level2ColorTo, 0xA8D3FF)
  ZV_COLOR(Level3Color, clRed)
  ZV_COLOR(Level3ColorTo, 0xCACAFF)
  ZV_COLOR(Level1Perc, 70)
  ZV_COLOR(Level2Perc, 90)
  ZV_COLOR(Steps, 11)
  ZV_COLOR(BorderColor, clBlack)
  ZV_COLOR(UnCompleteColor, clNone)
  ZV_COLOR(CompleteFontColor, clBlue)
  ZV_COLOR(CompleteColor, clRed)
  ZV_COLOR(UnCompleteFontColor, clWindowText)
#undef ZV_COLOR
  c.Boolean<T>("ShowGradient", &T::ShowGradient, &T::SetShowGradient, true);
  c.Boolean<T>("CompletionSmooth", &T::CompletionSmooth, &T::SetCompletionSmooth, true);
  c.Boolean<T>("Stacked", &T::Stacked, &T::SetStacked, false);
  c.Boolean<T>("ShowPercentage", &T::ShowPercentage, &T::SetShowPercentage, true);
  c.Boolean<T>("ShowBorder", &T::ShowBorder, &T::SetShowBorder, false);
}

TGridProgressAppearance::TGridProgressAppearance() = default;

void TGridProgressAppearance::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TGridProgressAppearance*>(Source);
  if (!s) return;
  FLevel0Color = s->FLevel0Color;
  FLevel0ColorTo = s->FLevel0ColorTo;
  FLevel1Color = s->FLevel1Color;
  FLevel1ColorTo = s->FLevel1ColorTo;
  FLevel2Color = s->FLevel2Color;
  FLevel2ColorTo = s->FLevel2ColorTo;
  FLevel3Color = s->FLevel3Color;
  FLevel3ColorTo = s->FLevel3ColorTo;
  FLevel1Perc = s->FLevel1Perc;
  FLevel2Perc = s->FLevel2Perc;
  FSteps = s->FSteps;
  FShowGradient = s->FShowGradient;
  FCompletionSmooth = s->FCompletionSmooth;
  FStacked = s->FStacked;
  FShowPercentage = s->FShowPercentage;
  FShowBorder = s->FShowBorder;
  FBorderColor = s->FBorderColor;
  FUnCompleteColor = s->FUnCompleteColor;
  FCompleteFontColor = s->FCompleteFontColor;
  FCompleteColor = s->FCompleteColor;
  FUnCompleteFontColor = s->FUnCompleteFontColor;
  Changed();
}

TProgressSettings TGridProgressAppearance::Settings(TFont* Font, TColor GridColor) const {
  TProgressSettings s;
  s.Level0Color = FLevel0Color;
  s.Level0ColorTo = FLevel0ColorTo;
  s.Level1Color = FLevel1Color;
  s.Level1ColorTo = FLevel1ColorTo;
  s.Level2Color = FLevel2Color;
  s.Level2ColorTo = FLevel2ColorTo;
  s.Level3Color = FLevel3Color;
  s.Level3ColorTo = FLevel3ColorTo;
  s.Level1Perc = FLevel1Perc;
  s.Level2Perc = FLevel2Perc;
  s.BorderColor = FBorderColor;
  s.ShowBorder = FShowBorder;
  s.Stacked = FStacked;
  s.ShowPercentage = FShowPercentage;
  if (Font) Font->SetColor(FCompleteFontColor);
  s.Font = Font;
  s.CompletionSmooth = FCompletionSmooth;
  s.ShowGradient = FShowGradient;
  s.Steps = FSteps;
  s.BackgroundColor = FUnCompleteColor == clNone ? GridColor : FUnCompleteColor;
  return s;
}

void FillSolidRect(TCanvas* Canvas, const TRect& R, TColor Color) {
  Canvas->Brush()->SetColor(Color);
  Canvas->FillRect(R);
}

namespace {

int RoundInt(double x) { return static_cast<int>(Round(x)); }

// Upper half from ColorTo down to Color, lower half from Color down to
// ColorTo; or one plain colour.
void FillPair(TCanvas* c, const TRect& r, TColor color, TColor colorTo, const TProgressSettings& s) {
  if (r.Right <= r.Left || r.Bottom <= r.Top) return;
  if (!s.ShowGradient) {
    FillSolidRect(c, r, color);
    return;
  }
  const int mid = r.Top + (r.Bottom - r.Top) / 2;
  FillGradientRect(c, colorTo, color, false, Rect(r.Left, r.Top, r.Right, mid), s.Steps);
  FillGradientRect(c, color, colorTo, false, Rect(r.Left, mid, r.Right, r.Bottom), s.Steps);
}

}  // namespace

void DrawStyledProgressBar(TCanvas* Canvas, const TRect& R, int Percent, const TProgressSettings& S) {
  if (!Canvas) return;
  const int L = R.Left, T = R.Top, Rt = R.Right, B = R.Bottom;
  const int X = Rt - L - 2;
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Brush()->SetColor(S.BackgroundColor);
  Canvas->Pen()->SetColor(S.ShowBorder ? S.BorderColor : S.BackgroundColor);
  Canvas->Rectangle(L, T, Rt, B);
  // The bar never runs past its frame; the text still shows the value given.
  const int p = std::clamp(Percent, 0, 100);
  if (p > 0) {
    if (S.Stacked) {
      const bool last0 = p < S.Level1Perc;
      const int w0 = RoundInt((last0 ? p : S.Level1Perc) / 100.0 * X);
      FillPair(Canvas, Rect(L + 1, T + 1, L + 1 + w0, B - 1), S.Level0Color, S.Level0ColorTo, S);
      if (!last0) {
        const bool last1 = p < S.Level2Perc;
        const int w1 = RoundInt(((last1 ? p : S.Level2Perc) - S.Level1Perc) / 100.0 * X);
        const int x1 = L + 1 + w0;
        FillPair(Canvas, Rect(x1, T + 1, x1 + w1, B - 1), S.Level1Color, S.Level1ColorTo, S);
        if (!last1) {
          const int w2 = p == 100 ? X - w0 - w1 : RoundInt((p - S.Level2Perc) / 100.0 * X);
          const int x2 = x1 + w1;
          FillPair(Canvas, Rect(x2, T + 1, x2 + w2, B - 1), S.Level3Color, S.Level3ColorTo, S);
        }
      }
    } else {
      TColor c, cTo;
      if (p < S.Level1Perc) { c = S.Level0Color; cTo = S.Level0ColorTo; }
      else if (p < S.Level2Perc) { c = S.Level1Color; cTo = S.Level1ColorTo; }
      else if (p > 99) { c = S.Level3Color; cTo = S.Level3ColorTo; }
      else { c = S.Level2Color; cTo = S.Level2ColorTo; }
      if (S.CompletionSmooth) {
        FillPair(Canvas, Rect(L + 1, T + 1, L + 1 + RoundInt(p / 100.0 * X), B - 1), c, cTo, S);
      } else {
        const int U = p * X / 100;
        if (U < 10) {
          if (U > 1) FillPair(Canvas, Rect(L + 2, T + 2, L + U + 1, B - 2), c, cTo, S);
        } else {
          int right = L + 2;
          for (int i = 0; i < U / 9; ++i) {
            const int left = L + 2 + i * 9;
            right = left + 7;
            FillPair(Canvas, Rect(left, T + 2, right, B - 2), c, cTo, S);
          }
          if (U % 9 > 2) FillPair(Canvas, Rect(right + 2, T + 2, right + U % 9 + 1, B - 2), c, cTo, S);
        }
      }
    }
  }
  if (S.ShowPercentage) {
    const std::string text = std::to_string(Percent) + "%";
    Canvas->Brush()->SetStyle(bsClear);
    if (S.Font) {
      Canvas->Font()->SetName(S.Font->Name());
      Canvas->Font()->SetSize(S.Font->Size());
      Canvas->Font()->SetColor(S.Font->Color());
      Canvas->Font()->SetStyle(S.Font->Style());
    }
    const TSize ext = Canvas->TextExtent(text);
    Canvas->TextOut(L + (Rt - L) / 2 - ext.cx / 2, T + (B - T) / 2 - ext.cy / 2, text);
  }
  Canvas->Pen()->SetColor(S.ShowBorder ? S.BorderColor : S.BackgroundColor);
  Canvas->Brush()->SetStyle(bsClear);
  Canvas->Rectangle(L, T, Rt, B);
}
