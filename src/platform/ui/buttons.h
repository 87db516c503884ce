// Speed buttons: flat tool buttons painted on their parent, with groups.
#pragma once

#include <memory>

#include "platform/gfx/bitmap.h"
#include "platform/ui/controls.h"

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };

class TSpeedButton : public TGraphicControl {
  ZV_CLASS(TSpeedButton)
public:
  explicit TSpeedButton(TComponent* AOwner);
  ~TSpeedButton() override;
  bool Down() const { return FDown; }
  // Within a group, setting one down releases the others.
  void SetDown(bool v);
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int v) { FGroupIndex = v; }
  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool v) { FAllowAllUp = v; }
  bool Flat() const { return FFlat; }
  void SetFlat(bool v);
  TBitmap* Glyph() { return FGlyph.get(); }
  void SetGlyph(const TBitmap* v);
  int NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(int v);
  TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout v);
  int Margin() const { return FMargin; }
  void SetMargin(int v);
  int Spacing() const { return FSpacing; }
  void SetSpacing(int v);
  TButtonState State() const { return FState; }
  void Click() override;

protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void CMMouseEnter(TMessage& M) override;
  void CMMouseLeave(TMessage& M) override;

private:
  void UpdateExclusive();
  bool FDown = false;
  int FGroupIndex = 0;
  bool FAllowAllUp = false;
  bool FFlat = false;
  bool FDragging = false;
  TButtonState FState = bsUp;
  std::unique_ptr<TBitmap> FGlyph;
  int FNumGlyphs = 1;
  TButtonLayout FLayout = blGlyphLeft;
  int FMargin = -1;
  int FSpacing = 4;
};
