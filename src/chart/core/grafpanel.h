// The chart panel: the window control every chart draws in. It owns the 3D
// canvas all drawing goes through, the 3D view options, the frame around the
// chart (border pen, rounded corners, bevels, shadow), the margins that place
// the chart rectangle, the print settings and the event listeners (tools and
// editors). Its drawing pass prepares the canvas, computes the chart
// rectangle, calls DrawChartContents and finishes the canvas.
//
// The same unit renders a panel into bitmaps, metafiles, the clipboard and
// printer pages, and holds the extended panel with zoom and panning
// settings, a background gradient and a back image.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/core/grafattrs.h"
#include "chart/core/grcanvas.h"
#include "chart/core/view3d.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/metafile.h"
#include "platform/ui/extctrls.h"

class TCustomGrafPanel;
class TStream;

enum TGrafUnits { muPercent, muPixels };
const TEnumInfo& GrafUnitsEnumInfo();

using TGrafPrintEvent = std::function<void(TObject* Sender, TCanvas* Canvas, const TRect& R)>;

// ---- Events sent to listeners ------------------------------------------------

class TGrafEvent : public TObject {
public:
  std::string ClassName() const override { return "TGrafEvent"; }
  // The panel that broadcast the event.
  TCustomGrafPanel* Sender = nullptr;
};

enum TGrafMouseEventKind { pmeDown, pmeUp, pmeMove };

class TGrafMouseEvent : public TGrafEvent {
public:
  std::string ClassName() const override { return "TGrafMouseEvent"; }
  TGrafMouseEventKind Kind = pmeDown;
  TMouseButton Button = mbLeft;
  TShiftState Shift;
  int X = 0;
  int Y = 0;
};

// View3D changed.
class TGrafView3DEvent : public TGrafEvent {
public:
  std::string ClassName() const override { return "TGrafView3DEvent"; }
};

// A tool or editor that hears the panel's events. Listeners are not owned:
// a listener removes itself (RemoveListener) before it goes.
class IPanelEventListener {
public:
  virtual ~IPanelEventListener() = default;
  virtual void HandlePanelEvent(TGrafEvent* Event) = 0;
};

class TGrafEventListeners : public TObject {
public:
  std::string ClassName() const override { return "TGrafEventListeners"; }
  int Count() const { return static_cast<int>(FItems.size()); }
  IPanelEventListener* GetListener(int Index) const;
  int IndexOf(IPanelEventListener* Listener) const;
  // The listener's index; a listener is never listed twice.
  int AddListener(IPanelEventListener* Listener);
  // The index it had, or -1 when it was not listed.
  int RemoveListener(IPanelEventListener* Listener);

private:
  std::vector<IPanelEventListener*> FItems;
};

// ---- Mouse drag state ----------------------------------------------------------

class TZoomPanning : public TPersistent {
  ZV_CLASS(TZoomPanning)
public:
  TZoomPanning() = default;
  void StartAt(int X, int Y);
  // Makes (StartX, StartY) the smaller corner.
  void Normalize();

  bool Active = false;
  int StartX = 0;
  int StartY = 0;
  int EndX = 0;
  int EndY = 0;
};

// ---- The panel ------------------------------------------------------------------

// A panel that never paints a caption.
class TCustomPanelNoCaption : public TCustomPanel {
  ZV_CLASS(TCustomPanelNoCaption)
public:
  explicit TCustomPanelNoCaption(TComponent* AOwner);
};

class TCustomGrafPanel : public TCustomPanelNoCaption {
  ZV_CLASS(TCustomGrafPanel)
public:
  explicit TCustomGrafPanel(TComponent* AOwner);
  ~TCustomGrafPanel() override;

  // Publishes the panel's properties on a descendant's class description
  // (the chart control and the free-drawing panel publish them).
  static void PublishPanelProperties(TClassInfo& c);

  // ---- New virtual operations, in slot order ----
  // The colour behind the chart.
  virtual TColor GetPanelColor() { return Color(); }
  // Draws the chart contents into the drawing bounds; nothing here.
  virtual void DrawChartContents(const TRect& Bounds);
  // The change handler of owned objects: repaints.
  virtual void HandleChange(TObject* Sender);
  // One drawing pass of the whole panel onto any canvas and rectangle.
  virtual void DrawOnCanvas(TCanvas* ACanvas, const TRect& ARect);
  // The client rectangle with a parent window, else (0, 0, Width, Height).
  virtual TRect GetOutputRect();
  // The frame: border pen, outer bevel, border width, inner bevel.
  virtual void PaintBorderAndBevels(TRect R);

  // ---- Change operations: store, and repaint only when the value differs ----
  void ChangeString(std::string& Field, const std::string& Value);
  // A NaN compares equal (and is not stored).
  void ChangeDouble(double& Field, double Value);
  void ChangeColor(TColor& Field, TColor Value);
  void ChangeBoolean(bool& Field, bool Value);
  void ChangeInteger(int& Field, int Value);

  // ---- Properties ----
  TChartHiddenPen* Border() const { return FBorder.get(); }
  void SetBorder(TChartPen* Value);
  int BorderRound() const { return FBorderRound; }
  void SetBorderRound(int Value);
  bool BufferedDisplay() const;
  void SetBufferedDisplay(bool Value);
  // Index 0 left, 1 top, 2 right, 3 bottom.
  int GetMarginSide(int Index) const { return FMargins[Index & 3]; }
  void SetMarginSide(int Index, int Value);
  int MarginLeft() const { return FMargins[0]; }
  void SetMarginLeft(int Value) { SetMarginSide(0, Value); }
  int MarginTop() const { return FMargins[1]; }
  void SetMarginTop(int Value) { SetMarginSide(1, Value); }
  int MarginRight() const { return FMargins[2]; }
  void SetMarginRight(int Value) { SetMarginSide(2, Value); }
  int MarginBottom() const { return FMargins[3]; }
  void SetMarginBottom(int Value) { SetMarginSide(3, Value); }
  TGrafUnits MarginUnits() const { return FMarginUnits; }
  void SetMarginUnits(TGrafUnits Value);
  bool Monochrome() const;
  void SetMonochrome(bool Value);
  bool PrintProportional() const { return FPrintProportional; }
  void SetPrintProportional(bool Value) { FPrintProportional = Value; }
  int PrintResolution() const { return FPrintResolution; }
  void SetPrintResolution(int Value) { FPrintResolution = Value; }
  TGrafShadow* Shadow() const { return FShadow.get(); }
  void SetShadow(TGrafShadow* Value);
  bool View3D() const { return FView3D; }
  // A change sends one TGrafView3DEvent to every listener.
  void SetView3D(bool Value);
  TView3DOptions* View3DOptions() const { return FView3DOptions.get(); }
  void SetView3DOptions(TView3DOptions* Value);
  TGrafPrintEvent OnBeforePrint;

  // ---- Canvas and listeners ----
  TCanvas3D* PanelCanvas() const { return FPanelCanvas.get(); }
  TCanvas* ControlCanvas() const { return FControlCanvas; }
  // Installs another canvas (the OpenGL one), which takes the old canvas's
  // settings; nil is ignored.
  void ReplaceCanvas(std::unique_ptr<TCanvas3D> ACanvas);
  // The OpenGL switch attached to this panel (set and cleared by it).
  TComponent* GLComponent = nullptr;
  TGrafEventListeners* Listeners() const { return FListeners.get(); }
  void RemoveListener(IPanelEventListener* Listener);
  // Sends the event to every listener in order (nothing while the panel is
  // being destroyed); a cancelled mouse event stops there. Returns the event.
  TGrafEvent* NotifyListeners(TGrafEvent* Event);
  void NotifyMouseListeners(TGrafMouseEventKind Kind, TMouseButton Button, TShiftState Shift, int X, int Y);

  // ---- Layout ----
  // ChartArea from DrawBounds less frame and margins (unless ChartAreaFixed).
  void AdjustChartArea();
  // Keeps ChartArea inside DrawBounds and at least one pixel; updates its size and centre.
  void NormalizeChartRect();
  int MarginInPixels(int Index) const;
  // Whether drawing may clip now (never on a canvas without the device interface).
  bool ClippingAllowed();
  // ApplyBrush on the panel canvas; a hatch in equal colours is kept visible.
  void ApplyBrushColors(TColor ForeColor, TChartBrush* Brush, TColor BackColor);
  void DrawToOwnCanvas();
  // Applies or removes the rounded window region.
  void MakeWindowRounded();
  // The rounded window region in use (empty when the window is rectangular).
  const TRect& WindowRoundRect() const { return FWindowRoundRect; }

  // ---- Output (bitmaps, metafiles, clipboard, printer) ----
  void DrawUnbuffered(TCanvas* ACanvas, const TRect& R);
  void DrawForMetafile(TCanvas* ACanvas, const TRect& R);
  std::unique_ptr<TBitmap> RenderBitmap(TColor BackColor, const TRect& R, TPixelFormat PixelFormat);
  std::unique_ptr<TBitmap> RenderDefaultBitmap();
  void SaveRectToBitmapFile(const std::string& FileName, const TRect& R);
  void SaveToBitmapFile(const std::string& FileName);
  void CopyRectBitmapToClipboard(const TRect& R);
  void CopyBitmapToClipboard();
  std::unique_ptr<TMetafile> CreateMetafileOfRect(bool Enhanced, const TRect& R);
  void SaveRectToMetafile(bool Enhanced, const std::string& FileName, const TRect& R);
  // Always an enhanced metafile.
  void SaveToMetafile(const std::string& FileName);
  void CopyRectMetafileToClipboard(bool Enhanced, const TRect& R);
  void CopyMetafileToClipboard(bool Enhanced);
  void PrintPage();
  // One printer document with the panel in the rectangle (printer pixels).
  void PrintRectAsDocument(const TRect& R);
  // Inside a document already begun.
  void PrintRectOnPrinterCanvas(const TRect& R);
  // The panel laid out at its own size and scaled into a rectangle of any canvas.
  void PrintOnCanvas(TCanvas* ACanvas, const TRect& R);
  // The printer rectangle for PrintMargins (recomputed first when proportional).
  TRect CalcPrintRect();
  // Margins that leave 70 % of the page along the panel's longer side.
  TRect CalcProportionalMargins();
  // The mapping sizes of PrintOnCanvas; Target comes back in logical units.
  void ScaleRectForPrint(TRect& Target, const TRect& PanelRect, int& TargetHeight, int& TargetWidth,
                         int& LogicalHeight, int& LogicalWidth);

  // ---- Public state ----
  bool UseZOrder = true;
  // When False, Invalidate does nothing (bulk changes without repaints).
  bool RepaintOnChange = true;
  // Set during a mouse event to keep it from further listeners.
  bool MouseCancelled = false;
  TRect DrawBounds;
  TRect ChartArea;
  bool ChartAreaFixed = false;
  int ChartAreaWidth = 0;
  int ChartAreaHeight = 0;
  int ChartAreaCenterX = 0;
  int ChartAreaCenterY = 0;
  int DepthExtentX = 0;
  int DepthExtentY = 0;
  // Percent of the page: left, top, right, bottom.
  TRect PrintMargins{15, 15, 15, 15};
  bool IsPrinting = false;
  TCursor SavedCursor = crDefault;
  TZoomPanning PanningState;
  // The component that installed a replacement canvas (carried only).
  TComponent* CanvasProvider = nullptr;

  // ---- Overrides ----
  void Invalidate() override;
  void Assign(TPersistent* Source) override;
  void DefineProperties(TFiler* Filer) override;
  void Resize() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void DblClick() override;

  // A bitmap of the whole panel (as the class library's AssignTo gives to
  // graphics and pictures).
  void AssignToGraphic(TGraphic* Dest);
  void AssignToPicture(TPicture* Dest);

protected:
  void Loaded() override;
  // A new window: the canvas forgets the options it cached (the next pass sets them).
  void CreateWnd() override;
  void Paint() override;
  void CMMouseLeave(TMessage& M) override;
  void CMSysColorChange(TMessage& M) override;
  void WMGetDlgCode(TMessage& M) override;
  void WMEraseBkgnd(TMessage& M) override;

  std::unique_ptr<TCanvas3D> FPanelCanvas;
  TCanvas* FControlCanvas = nullptr;

private:
  std::unique_ptr<TGrafEventListeners> FListeners;
  std::unique_ptr<TChartHiddenPen> FBorder;
  int FBorderRound = 0;
  int FMargins[4] = {3, 4, 3, 4};
  TGrafUnits FMarginUnits = muPercent;
  bool FPrintProportional = true;
  int FPrintResolution = 0;
  std::unique_ptr<TGrafShadow> FShadow;
  bool FView3D = true;
  std::unique_ptr<TView3DOptions> FView3DOptions;
  bool FRoundingInProgress = false;
  TRect FWindowRoundRect;
};

// Physical width / height of the canvas's device (0 when the height is 0).
double CanvasAspectRatio(TCanvas* ACanvas);

// ---- Textual export base -----------------------------------------------------

class TGrafExportData : public TPersistent {
  ZV_CLASS(TGrafExportData)
public:
  TGrafExportData() = default;
  // The exported text; empty here.
  virtual std::string ExportText();
  virtual void CopyTextToClipboard();
  // Creates (or truncates) the file; it is closed also on an error.
  virtual void SaveTextToFile(const std::string& FileName);
  // The bytes of ExportText, no terminator, no header.
  virtual void SaveTextToStream(TStream& Stream);
};

// ---- Zoom, panning and back image ----------------------------------------------

enum TGrafZoomDirection { tzdHorizontal, tzdVertical, tzdBoth };
enum TPanningMode { pmNone, pmHorizontal, pmVertical, pmBoth };
enum TGrafBackImageMode { pbmStretch, pbmTile, pbmCenter, pbmCustom };
const TEnumInfo& GrafZoomDirectionEnumInfo();
const TEnumInfo& PanningModeEnumInfo();
const TEnumInfo& GrafBackImageModeEnumInfo();

// Outline of the rubber-band rectangle; white, changes repaint nothing.
class TGrafZoomPen : public TChartPen {
public:
  TGrafZoomPen();
  std::string ClassName() const override { return "TGrafZoomPen"; }
  TColor DefaultColor = clWhite;
};

// Fill of the rubber-band rectangle; white and clear.
class TGrafZoomBrush : public TChartBrush {
public:
  TGrafZoomBrush();
  std::string ClassName() const override { return "TGrafZoomBrush"; }
};

class TGrafZoom : public TZoomPanning {
  ZV_CLASS(TGrafZoom)
public:
  TGrafZoom() = default;
  ~TGrafZoom() override;
  // Copies all but MinimumPixels and UpLeftZooms from another TGrafZoom;
  // ignores anything else.
  void Assign(TPersistent* Source) override;

  bool Allow() const { return FAllow; }
  void SetAllow(bool Value) { FAllow = Value; }
  bool Animated() const { return FAnimated; }
  void SetAnimated(bool Value) { FAnimated = Value; }
  int AnimatedSteps() const { return FAnimatedSteps; }
  void SetAnimatedSteps(int Value) { FAnimatedSteps = Value; }
  // Created on first use.
  TGrafZoomBrush* Brush();
  bool HasBrush() const { return FBrush != nullptr; }
  // Nil frees it; anything else is copied into it.
  void SetBrush(TChartBrush* Value);
  TGrafZoomDirection Direction() const { return FDirection; }
  void SetDirection(TGrafZoomDirection Value) { FDirection = Value; }
  TShiftState KeyShift() const { return FKeyShift; }
  void SetKeyShift(TShiftState Value) { FKeyShift = Value; }
  int MinimumPixels() const { return FMinimumPixels; }
  void SetMinimumPixels(int Value) { FMinimumPixels = Value; }
  TMouseButton MouseButton() const { return FMouseButton; }
  void SetMouseButton(TMouseButton Value) { FMouseButton = Value; }
  TGrafZoomPen* Pen();
  bool HasPen() const { return FPen != nullptr; }
  void SetPen(TChartPen* Value);
  bool UpLeftZooms() const { return FUpLeftZooms; }
  void SetUpLeftZooms(bool Value) { FUpLeftZooms = Value; }

private:
  bool FAllow = true;
  bool FAnimated = false;
  int FAnimatedSteps = 8;
  std::unique_ptr<TGrafZoomBrush> FBrush;
  TGrafZoomDirection FDirection = tzdBoth;
  TShiftState FKeyShift;
  int FMinimumPixels = 16;
  TMouseButton FMouseButton = mbLeft;
  std::unique_ptr<TGrafZoomPen> FPen;
  bool FUpLeftZooms = false;
};

// The picture behind a chart: stretched, tiled, centred or at an offset.
// Publishes Inside, Left, Mode and Top; the picture streams as its "Data".
class TBackImage : public TPicture {
public:
  TBackImage();
  std::string ClassName() const override { return "TBackImage"; }
  // From another TBackImage also the four settings; then the picture.
  void AssignImage(const TPicture* Source);

  // Drawn inside the chart rectangle (by the chart) instead of over the panel.
  bool Inside() const { return FInside; }
  void SetInside(bool Value);
  int Left() const { return FLeft; }
  void SetLeft(int Value);
  TGrafBackImageMode Mode() const { return FMode; }
  void SetMode(TGrafBackImageMode Value);
  int Top() const { return FTop; }
  void SetTop(int Value);

private:
  void SettingChanged();
  bool FInside = false;
  int FLeft = 0;
  TGrafBackImageMode FMode = pbmStretch;
  int FTop = 0;
};

class TCustomGrafPanelExtended : public TCustomGrafPanel {
  ZV_CLASS(TCustomGrafPanelExtended)
public:
  explicit TCustomGrafPanelExtended(TComponent* AOwner);
  ~TCustomGrafPanelExtended() override;

  // Publishes AllowPanning, BackImage, BackImageInside, BackImageMode,
  // BackImageTransp, Gradient, Zoom and the four events on a descendant's
  // class description.
  static void PublishExtendedProperties(TClassInfo& c);

  // ---- New virtual operations, in slot order ----
  // The gradient, or the panel colour (not on paper unless PrintPanelBackground).
  virtual void FillBackgroundRect(const TRect& R);
  // Shadow, fill, back image and frame.
  virtual void PaintBackground(const TRect& R);
  // Fires OnUndoZoom, repaints, clears ZoomedIn.
  virtual void RevertZoom();

  TPanningMode AllowPanning() const { return FAllowPanning; }
  void SetAllowPanning(TPanningMode Value) { FAllowPanning = Value; }
  // Created on first use.
  TGrafGradient* Gradient();
  bool HasGradient() const { return FGradient != nullptr; }
  // Nil frees it; anything else is copied into it.
  void SetGradient(TCustomGrafGradient* Value);
  TGrafZoom* Zoom() const { return FZoom.get(); }
  void SetZoom(TGrafZoom* Value);
  void SetZoomAllowed(bool Value) { FZoom->SetAllow(Value); }
  bool ZoomedIn = false;

  // Created on first use.
  TBackImage* BackImage();
  bool HasBackImage() const { return FBackImage != nullptr; }
  // Nil frees it; anything else is copied into it.
  void SetBackImage(const TPicture* Value);
  // A back image exists and holds a graphic.
  bool BackImageAssigned() const;
  bool BackImageInside() const;
  void SetBackImageInside(bool Value);
  TGrafBackImageMode BackImageMode();
  void SetBackImageMode(TGrafBackImageMode Value);
  bool BackImageTransp() const;
  void SetBackImageTransp(bool Value);

  // Draws the back image into a rectangle, at depth z when z > 0.
  void DrawBackImage(const TRect& R, int Z);
  // The rubber-band rectangle of Zoom, in not-xor mode.
  void DrawZoomFrame();

  TNotifyEvent OnAfterDraw;
  TNotifyEvent OnScroll;
  TNotifyEvent OnUndoZoom;
  TNotifyEvent OnZoom;

  void Assign(TPersistent* Source) override;
  void DefineProperties(TFiler* Filer) override;

private:
  TPanningMode FAllowPanning = pmBoth;
  std::unique_ptr<TGrafGradient> FGradient;
  std::unique_ptr<TGrafZoom> FZoom;
  std::unique_ptr<TBackImage> FBackImage;
};
