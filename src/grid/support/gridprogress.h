// The styled progress bar of progress cells: four colour levels by how far
// the bar has come, one colour for the filled part or stacked level
// segments, smooth or in blocks, with glass-like gradient halves; and its
// appearance settings as the grid publishes them.
#pragma once

#include <string>

#include "platform/gfx/graphics.h"
#include "platform/ui/classes.h"

// The settings one bar is drawn with (filled by the grid from its
// ProgressAppearance for each bar).
struct TProgressSettings {
  TColor Level0Color = clLime, Level0ColorTo = 0xE1FFE1;
  TColor Level1Color = clYellow, Level1ColorTo = 0xCAFFFF;
  TColor Level2Color = 0x53A9FF, Level2ColorTo = 0xA8D3FF;
  TColor Level3Color = clRed, Level3ColorTo = 0xCACAFF;
  int Level1Perc = 70, Level2Perc = 90;
  TColor BorderColor = clBlack;
  bool ShowBorder = false;
  bool Stacked = false;
  bool ShowPercentage = true;
  const TFont* Font = nullptr;  // nil: the canvas font
  bool CompletionSmooth = true;
  bool ShowGradient = true;
  int Steps = 11;
  TColor BackgroundColor = clWhite;
};

// Sets the brush colour and fills the rectangle.
void FillSolidRect(TCanvas* Canvas, const TRect& R, TColor Color);
// Draws the bar into R. The filled part is limited to 0..100 percent; the
// text shows the percent given.
void DrawStyledProgressBar(TCanvas* Canvas, const TRect& R, int Percent, const TProgressSettings& Settings);

class TGridProgressAppearance : public TPersistent {
  ZV_CLASS(TGridProgressAppearance)
public:
  TGridProgressAppearance();
  // Copies every property from another appearance and fires OnChange;
  // other sources are ignored.
  void Assign(TPersistent* Source) override;

#define ZV_PROGRESS_PROP(Type, Name)   \
  Type Name() const { return F##Name; } \
  void Set##Name(Type v) {              \
    if (F##Name == v) return;           \
    F##Name = v;                        \
    Changed();                          \
  }
  ZV_PROGRESS_PROP(TColor, Level0Color)
  ZV_PROGRESS_PROP(TColor, Level0ColorTo)
  ZV_PROGRESS_PROP(TColor, Level1Color)
  ZV_PROGRESS_PROP(TColor, Level1ColorTo)
  ZV_PROGRESS_PROP(TColor, Level2Color)
  ZV_PROGRESS_PROP(TColor, Level2ColorTo)
  ZV_PROGRESS_PROP(TColor, Level3Color)
  ZV_PROGRESS_PROP(TColor, Level3ColorTo)
  ZV_PROGRESS_PROP(int, Level1Perc)
  ZV_PROGRESS_PROP(int, Level2Perc)
  ZV_PROGRESS_PROP(int, Steps)
  ZV_PROGRESS_PROP(bool, ShowGradient)
  ZV_PROGRESS_PROP(bool, CompletionSmooth)
  ZV_PROGRESS_PROP(bool, Stacked)
  ZV_PROGRESS_PROP(bool, ShowPercentage)
  ZV_PROGRESS_PROP(bool, ShowBorder)
  ZV_PROGRESS_PROP(TColor, BorderColor)
  ZV_PROGRESS_PROP(TColor, UnCompleteColor)
  ZV_PROGRESS_PROP(TColor, CompleteFontColor)
  ZV_PROGRESS_PROP(TColor, CompleteColor)
  ZV_PROGRESS_PROP(TColor, UnCompleteFontColor)
#undef ZV_PROGRESS_PROP

  // The settings of one bar: the grid's font (with CompleteFontColor set on
  // the copy given in Font) and the grid's colour where UnCompleteColor is clNone.
  TProgressSettings Settings(TFont* Font, TColor GridColor) const;

  TNotifyEvent OnChange;

private:
  void Changed() {
    if (OnChange) OnChange(this);
  }
  TColor FLevel0Color = clLime, FLevel0ColorTo = 0xE1FFE1, FLevel1Color = clYellow, FLevel1ColorTo = 0xCAFFFF,
         FLevel2Color = 0x53A9FF, FLevel2ColorTo = 0xA8D3FF, FLevel3Color = clRed, FLevel3ColorTo = 0xCACAFF;
  int FLevel1Perc = 70, FLevel2Perc = 90, FSteps = 11;
  bool FShowGradient = true, FCompletionSmooth = true, FStacked = false, FShowPercentage = true,
       FShowBorder = false;
  TColor FBorderColor = clBlack, FUnCompleteColor = clNone, FCompleteFontColor = clBlue, FCompleteColor = clRed,
         FUnCompleteFontColor = clWindowText;
};
