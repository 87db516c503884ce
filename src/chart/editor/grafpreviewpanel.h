// The print preview panel: a sheet of paper with the page proportions of the
// current printer (of the screen without one), the previewed panel drawn
// inside its print margins, and the margins as dotted lines that the mouse
// drags to resize or move the printed area; it also prints. It works on the
// previewed panel's own print settings (PrintMargins in percent of the page,
// PrintProportional, PrintResolution).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/core/grafpanel.h"

enum TGrafPreviewPanelOrientation { ppoDefault, ppoPortrait, ppoLandscape };

// The margin lines' pen: dotted with small dots.
class TPreviewChartPen : public TChartPen {
public:
  explicit TPreviewChartPen(TNotifyEvent onChange = {});
  std::string ClassName() const override { return "TPreviewChartPen"; }
};

using TChangeMarginsEvent = std::function<void(TObject* Sender, bool DisableProportional, const TRect& NewMargins)>;
using TGetPaperRectEvent = std::function<void(TObject* Sender, TRect& PaperRect)>;

// Whether a printer can be measured and printed on (a PDF file counts).
bool PrintersInstalled();

class TGrafPreviewPanel : public TCustomGrafPanelExtended {
  ZV_CLASS(TGrafPreviewPanel)
public:
  explicit TGrafPreviewPanel(TComponent* AOwner);
  ~TGrafPreviewPanel() override;

  bool AllowResize() const { return FAllowResize; }
  void SetAllowResize(bool Value) { FAllowResize = Value; }
  bool AllowMove() const { return FAllowMove; }
  void SetAllowMove(bool Value) { FAllowMove = Value; }
  bool AsBitmap() const { return FAsBitmap; }
  void SetAsBitmap(bool Value) { ChangeBoolean(FAsBitmap, Value); }
  bool DragImage() const { return FDragImage; }
  void SetDragImage(bool Value) { ChangeBoolean(FDragImage, Value); }
  TPreviewChartPen* Margins() const { return FMargins.get(); }
  TGrafPreviewPanelOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TGrafPreviewPanelOrientation Value);
  // The first previewed panel; setting it replaces the first of the list.
  TCustomGrafPanel* Panel() const { return FPanels.empty() ? nullptr : FPanels.front(); }
  void SetPanel(TCustomGrafPanel* Value);
  // Drawing and printing go through every panel of the list.
  std::vector<TCustomGrafPanel*>& Panels() { return FPanels; }
  TColor PaperColor() const { return FPaperColor; }
  void SetPaperColor(TColor Value) { ChangeColor(FPaperColor, Value); }
  TGrafShadow* PaperShadow() const { return FPaperShadow.get(); }
  bool ShowImage() const { return FShowImage; }
  void SetShowImage(bool Value) { ChangeBoolean(FShowImage, Value); }
  bool SmoothBitmap() const { return FSmoothBitmap; }
  void SetSmoothBitmap(bool Value) { ChangeBoolean(FSmoothBitmap, Value); }
  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& Value) { FTitle = Value; }
  TChangeMarginsEvent OnChangeMargins;
  TGetPaperRectEvent OnGetPaperRect;

  // The sheet within the client area, and the printed area within it.
  TRect CalcPaperRect();
  TRect CalcMarginsRect();
  const TRect& PaperRect() const { return FPaperRect; }
  const TRect& MarginsRect() const { return FMarginsRect; }
  // 0 none, 1 left, 2 top, 3 right, 4 bottom edge, 5 move, 6 top-left,
  // 7 top-right, 8 bottom-left, 9 bottom-right corner.
  int HitTest(int X, int Y) const;
  static TCursor CursorOfHit(int Hit);
  int DragMode() const { return FDragMode; }

  // Prints every panel at its print rectangle in one document.
  void Print();
  // The panel drawn as a bitmap at its print size for the rectangle.
  std::unique_ptr<TBitmap> PanelBitmap(TCustomGrafPanel* APanel, const TRect& R);
  // Applies a set orientation to the printer.
  void ApplyOrientation();

  void DrawChartContents(const TRect& Bounds) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  void DrawPanel(TCustomGrafPanel* APanel);
  // Not-xor lines: drawing them twice removes them.
  void DrawMarginLines(TCanvas* Canvas);
  void TakeMargins();

  bool FAllowResize = true;
  bool FAllowMove = true;
  bool FAsBitmap = false;
  bool FDragImage = false;
  std::unique_ptr<TPreviewChartPen> FMargins;
  TGrafPreviewPanelOrientation FOrientation = ppoDefault;
  std::vector<TCustomGrafPanel*> FPanels;
  TColor FPaperColor = clWhite;
  std::unique_ptr<TGrafShadow> FPaperShadow;
  bool FShowImage = true;
  bool FSmoothBitmap = true;
  std::string FTitle;

  TRect FPaperRect;
  TRect FMarginsRect;
  int FDragMode = 0;
  TPoint FStart;
  TRect FStartMargins;
};
