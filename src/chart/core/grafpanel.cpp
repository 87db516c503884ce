#include "chart/core/grafpanel.h"

#include <algorithm>
#include <cmath>

#include "chart/core/grafhtml.h"
#include "chart/core/grafutils.h"
#include "platform/ui/messages.h"
#include "platform/ui/streaming.h"

const TEnumInfo& GrafUnitsEnumInfo() {
  static const TEnumInfo info{"TGrafUnits", {"muPercent", "muPixels"}, 0};
  return info;
}

// ---- Listeners ----------------------------------------------------------------

IPanelEventListener* TGrafEventListeners::GetListener(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  return FItems[Index];
}

int TGrafEventListeners::IndexOf(IPanelEventListener* Listener) const {
  auto it = std::find(FItems.begin(), FItems.end(), Listener);
  return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

int TGrafEventListeners::AddListener(IPanelEventListener* Listener) {
  const int index = IndexOf(Listener);
  if (index >= 0) return index;
  FItems.push_back(Listener);
  return Count() - 1;
}

int TGrafEventListeners::RemoveListener(IPanelEventListener* Listener) {
  const int index = IndexOf(Listener);
  if (index >= 0) FItems.erase(FItems.begin() + index);
  return index;
}

// ---- Drag state ---------------------------------------------------------------

ZV_CLASS_IMPL_NOPROPS(TZoomPanning, TPersistent)

void TZoomPanning::StartAt(int X, int Y) {
  StartX = EndX = X;
  StartY = EndY = Y;
  Active = true;
}

void TZoomPanning::Normalize() {
  if (EndX < StartX) std::swap(StartX, EndX);
  if (EndY < StartY) std::swap(StartY, EndY);
}

// ---- Panels ----------------------------------------------------------------------

ZV_CLASS_IMPL_NOPROPS(TCustomPanelNoCaption, TCustomPanel)

TCustomPanelNoCaption::TCustomPanelNoCaption(TComponent* AOwner) : TCustomPanel(AOwner) {
  FControlStyle.Exclude(csSetCaption);
}

ZV_CLASS_IMPL_NOPROPS(TCustomGrafPanel, TCustomPanelNoCaption)

void TCustomGrafPanel::PublishPanelProperties(TClassInfo& c) {
  using P = TCustomGrafPanel;
  c.Object<P, TChartPen>("Border", &P::Border, &P::SetBorder);
  c.Integer<P>("BorderRound", &P::BorderRound, &P::SetBorderRound, 0);
  c.Boolean<P>("BufferedDisplay", &P::BufferedDisplay, &P::SetBufferedDisplay, true);
  c.Integer<P>("MarginBottom", &P::MarginBottom, &P::SetMarginBottom, 4);
  c.Integer<P>("MarginLeft", &P::MarginLeft, &P::SetMarginLeft, 3);
  c.Integer<P>("MarginRight", &P::MarginRight, &P::SetMarginRight, 3);
  c.Integer<P>("MarginTop", &P::MarginTop, &P::SetMarginTop, 4);
  c.Enum<P>("MarginUnits", GrafUnitsEnumInfo(), &P::MarginUnits, &P::SetMarginUnits, muPercent);
  c.Boolean<P>("Monochrome", &P::Monochrome, &P::SetMonochrome, false);
  c.Boolean<P>("PrintProportional", &P::PrintProportional, &P::SetPrintProportional, true);
  c.Integer<P>("PrintResolution", &P::PrintResolution, &P::SetPrintResolution, 0);
  c.Object<P, TGrafShadow>("Shadow", &P::Shadow, &P::SetShadow);
  c.Boolean<P>("View3D", &P::View3D, &P::SetView3D, true);
  c.Object<P, TView3DOptions>("View3DOptions", &P::View3DOptions, &P::SetView3DOptions);
  c.Method<P, TGrafPrintEvent>(
      "OnBeforePrint", [](P* p) { return p->OnBeforePrint; },
      [](P* p, const TGrafPrintEvent& e) { p->OnBeforePrint = e; });
}

TCustomGrafPanel::TCustomGrafPanel(TComponent* AOwner) : TCustomPanelNoCaption(AOwner) {
  ChartUtilsStartup();
  InstallHtmlSubsetText();
  FListeners = std::make_unique<TGrafEventListeners>();
  SetBounds(Left(), Top(), 400, 250);
  FControlCanvas = Canvas();
  FView3DOptions = std::make_unique<TView3DOptions>(this);
  auto canvas = std::make_unique<TGrafCanvas3D>();
  canvas->AttachCanvas(FControlCanvas);
  FPanelCanvas = std::move(canvas);
  SavedCursor = Cursor();
  TNotifyEvent change = [this](TObject* Sender) { HandleChange(Sender); };
  FShadow = std::make_unique<TGrafShadow>(change);
  FBorder = std::make_unique<TChartHiddenPen>(change);
  FBorder->SetEndStyle(esFlat);
  FBorder->EndStyleDefault = esFlat;
  if (EraseBackgroundSwitch && ComponentState().Contains(csDesigning)) EraseBackgroundSwitch = false;
}

TCustomGrafPanel::~TCustomGrafPanel() {
  Destroying();
  FPanelCanvas.reset();
  FBorder.reset();
  FShadow.reset();
  FView3DOptions.reset();
  FListeners.reset();
}

void TCustomGrafPanel::DrawChartContents(const TRect&) {}

void TCustomGrafPanel::HandleChange(TObject*) { Invalidate(); }

void TCustomGrafPanel::DrawOnCanvas(TCanvas* ACanvas, const TRect& ARect) {
  DrawBounds = FPanelCanvas->PrepareDrawing(ACanvas, FView3DOptions.get(), Color(), FView3D, ARect);
  try {
    AdjustChartArea();
    NormalizeChartRect();
    DrawChartContents(DrawBounds);
  } catch (...) {
    // Later drawing outside a pass must not go into a half-drawn buffer.
    FPanelCanvas->MarkDirty();
    FPanelCanvas->AttachCanvas(FControlCanvas);
    throw;
  }
  FPanelCanvas->FinishDrawing(ACanvas, FControlCanvas, ARect);
}

TRect TCustomGrafPanel::GetOutputRect() {
  if (Parent()) return ClientRect();
  return Rect(0, 0, Width(), Height());
}

void TCustomGrafPanel::PaintBorderAndBevels(TRect R) {
  TCanvas3D* canvas = FPanelCanvas.get();
  canvas->SuspendRotation();
  canvas->CanvasBrush()->SetStyle(bsClear);
  if (FBorder->Visible()) {
    canvas->ApplyPenWithColor(FBorder.get(), FBorder->Color());
    int s;
    if (FBorder->SmallDots()) {
      s = 1;
    } else {
      s = FBorder->Width() - 1;
      if (s > 0) {
        const int half = s / 2;
        R.Left += s - half;  // half rounded up on the left and top
        R.Top += s - half;
        R.Right -= half;
        R.Bottom -= half;
        s = half;
      }
    }
    if (FBorderRound <= 0) {
      canvas->Rectangle(R.Left, R.Top, R.Right, R.Bottom);
      if (!FBorder->SmallDots()) ++s;
    } else {
      --R.Right;
      --R.Bottom;
      canvas->RoundRect(R.Left, R.Top, R.Right, R.Bottom, FBorderRound, FBorderRound);
    }
    InflateRect(R, -s, -s);
  }
  if (!IsPrinting || PrintPanelBackground) {
    TPen* pen = canvas->CanvasPen();
    pen->SetStyle(psSolid);
    pen->SetWidth(1);
    pen->SetMode(pmCopy);
    PaintBevel(canvas, BevelOuter(), R, FBorderRound, BevelWidth());
    if (BorderWidth() != 0) {
      const TColor c = GetPanelColor();
      canvas->DrawFrame3D(R, c, c, BorderWidth());
    }
    PaintBevel(canvas, BevelInner(), R, 0, BevelWidth());
  }
  canvas->ResumeRotation();
}

// ---- Change operations ---------------------------------------------------------

void TCustomGrafPanel::ChangeString(std::string& Field, const std::string& Value) {
  if (Field == Value) return;
  Field = Value;
  Invalidate();
}

void TCustomGrafPanel::ChangeDouble(double& Field, double Value) {
  if (std::isnan(Field) || std::isnan(Value) || Field == Value) return;
  Field = Value;
  Invalidate();
}

void TCustomGrafPanel::ChangeColor(TColor& Field, TColor Value) {
  if (Field == Value) return;
  Field = Value;
  Invalidate();
}

void TCustomGrafPanel::ChangeBoolean(bool& Field, bool Value) {
  if (Field == Value) return;
  Field = Value;
  Invalidate();
}

void TCustomGrafPanel::ChangeInteger(int& Field, int Value) {
  if (Field == Value) return;
  Field = Value;
  Invalidate();
}

// ---- Properties ------------------------------------------------------------------

void TCustomGrafPanel::SetBorder(TChartPen* Value) { FBorder->Assign(Value); }

void TCustomGrafPanel::SetBorderRound(int Value) {
  if (FBorderRound == Value) return;
  FBorderRound = Value;
  if (!ComponentState().Contains(csLoading)) MakeWindowRounded();
}

bool TCustomGrafPanel::BufferedDisplay() const { return FPanelCanvas->GetBufferedDisplay(); }
void TCustomGrafPanel::SetBufferedDisplay(bool Value) { FPanelCanvas->SetBufferedDisplay(Value); }

void TCustomGrafPanel::SetMarginSide(int Index, int Value) { ChangeInteger(FMargins[Index & 3], Value); }

void TCustomGrafPanel::SetMarginUnits(TGrafUnits Value) {
  if (FMarginUnits == Value) return;
  FMarginUnits = Value;
  Invalidate();
}

bool TCustomGrafPanel::Monochrome() const { return FPanelCanvas->GetMonochrome(); }
void TCustomGrafPanel::SetMonochrome(bool Value) { FPanelCanvas->SetMonochrome(Value); }

void TCustomGrafPanel::SetShadow(TGrafShadow* Value) { FShadow->Assign(Value); }

void TCustomGrafPanel::SetView3D(bool Value) {
  if (FView3D == Value) return;
  ChangeBoolean(FView3D, Value);
  TGrafView3DEvent event;
  NotifyListeners(&event);
}

void TCustomGrafPanel::SetView3DOptions(TView3DOptions* Value) { FView3DOptions->Assign(Value); }

void TCustomGrafPanel::MakeWindowRounded() {
  if (FRoundingInProgress || !Parent()) return;
  FRoundingInProgress = true;
  FWindowRoundRect = FBorderRound > 0 ? Rect(0, 0, Width(), Height()) : TRect{};
  HRGN shape = FBorderRound > 0 ? CreateRoundRectRgn(0, 0, Width(), Height(), FBorderRound, FBorderRound) : nullptr;
  SetWindowRgn(Handle(), shape, true);  // the window takes the region over
  Repaint();
  FRoundingInProgress = false;
}

// ---- Canvas and listeners ----------------------------------------------------------

void TCustomGrafPanel::ReplaceCanvas(std::unique_ptr<TCanvas3D> ACanvas) {
  if (!ACanvas) return;
  ACanvas->AttachCanvas(FControlCanvas);
  if (FPanelCanvas) {
    const bool saved = RepaintOnChange;
    RepaintOnChange = false;
    ACanvas->InheritSettings(FPanelCanvas.get());
    RepaintOnChange = saved;
    FPanelCanvas.reset();
  }
  FPanelCanvas = std::move(ACanvas);
  if (RepaintOnChange) Repaint();
}

void TCustomGrafPanel::RemoveListener(IPanelEventListener* Listener) {
  if (FListeners) FListeners->RemoveListener(Listener);
}

TGrafEvent* TCustomGrafPanel::NotifyListeners(TGrafEvent* Event) {
  if (!Event || !FListeners || ComponentState().Contains(csDestroying)) return Event;
  Event->Sender = this;
  const bool mouse = dynamic_cast<TGrafMouseEvent*>(Event) != nullptr;
  // A listener may remove itself (or another) while it handles the event:
  // walk a copy and skip whoever is no longer listed.
  std::vector<IPanelEventListener*> snapshot;
  for (int i = 0; i < FListeners->Count(); ++i) snapshot.push_back(FListeners->GetListener(i));
  for (IPanelEventListener* listener : snapshot) {
    if (!FListeners || FListeners->IndexOf(listener) < 0) continue;
    listener->HandlePanelEvent(Event);
    if (mouse && MouseCancelled) break;
  }
  return Event;
}

void TCustomGrafPanel::NotifyMouseListeners(TGrafMouseEventKind Kind, TMouseButton Button, TShiftState Shift, int X,
                                            int Y) {
  if (!FListeners || FListeners->Count() == 0) return;
  TGrafMouseEvent event;
  event.Kind = Kind;
  event.Button = Button;
  event.Shift = Shift;
  event.X = X;
  event.Y = Y;
  NotifyListeners(&event);
}

// ---- Layout ----------------------------------------------------------------------

int TCustomGrafPanel::MarginInPixels(int Index) const {
  const int value = FMargins[Index & 3];
  if (FMarginUnits == muPixels) return value;
  const int range = (Index & 1) == 0 ? DrawBounds.Width() : DrawBounds.Height();
  return value * range / 100;
}

void TCustomGrafPanel::AdjustChartArea() {
  int frame = BorderWidth();
  if (BevelInner() != bvNone) frame += BevelWidth();
  if (BevelOuter() != bvNone) frame += BevelWidth();
  if (FBorder->Visible()) frame += FBorder->Width();
  if (ChartAreaFixed) return;
  ChartArea = Rect(DrawBounds.Left + MarginInPixels(0) + frame, DrawBounds.Top + MarginInPixels(1) + frame,
                   DrawBounds.Right - frame - MarginInPixels(2), DrawBounds.Bottom - frame - MarginInPixels(3));
}

void TCustomGrafPanel::NormalizeChartRect() {
  if (!ChartAreaFixed) {
    ChartArea.Left = std::max(ChartArea.Left, DrawBounds.Left);
    ChartArea.Top = std::max(ChartArea.Top, DrawBounds.Top);
    if (ChartArea.Right < ChartArea.Left) ChartArea.Right = ChartArea.Left + 1;
    else if (ChartArea.Right == ChartArea.Left) ChartArea.Right = ChartArea.Left + Width();
    if (ChartArea.Bottom < ChartArea.Top) ChartArea.Bottom = ChartArea.Top + 1;
    else if (ChartArea.Bottom == ChartArea.Top) ChartArea.Bottom = ChartArea.Top + Height();
  }
  ChartAreaWidth = ChartArea.Right - ChartArea.Left;
  ChartAreaHeight = ChartArea.Bottom - ChartArea.Top;
  ChartAreaCenterX = (ChartArea.Left + ChartArea.Right) / 2;
  ChartAreaCenterY = (ChartArea.Top + ChartArea.Bottom) / 2;
}

bool TCustomGrafPanel::ClippingAllowed() {
  if (FPanelCanvas->RendersWithoutGdi()) return false;
  if (IsPrinting) return ClipOnPrinter;
  if (FPanelCanvas->DrawingToMetafile()) return ClipInMetafile;
  return true;
}

void TCustomGrafPanel::ApplyBrushColors(TColor ForeColor, TChartBrush* Brush, TColor BackColor) {
  if (Brush->Style() != bsSolid && ForeColor == BackColor)
    ForeColor = ColorToRGB(BackColor) == clBlack ? clWhite : clBlack;
  FPanelCanvas->ApplyBrush(Brush, ForeColor, BackColor);
}

void TCustomGrafPanel::DrawToOwnCanvas() { DrawOnCanvas(FControlCanvas, ClientRect()); }

// ---- Window and mouse -------------------------------------------------------------

void TCustomGrafPanel::Invalidate() {
  if (!RepaintOnChange) return;
  if (FPanelCanvas) FPanelCanvas->MarkDirty();
  TCustomPanelNoCaption::Invalidate();
}

void TCustomGrafPanel::CreateWnd() {
  TCustomPanelNoCaption::CreateWnd();
  if (FPanelCanvas) FPanelCanvas->ClearOptions3D();
}

void TCustomGrafPanel::Paint() {
  if (IsPrinting) return;
  if (FPanelCanvas->RepaintFromBuffer()) return;
  try {
    DrawToOwnCanvas();
  } catch (const std::exception&) {
    // A canvas drawing through its own device (OpenGL) reports its failures
    // itself; they must not leave the window's paint handler, or every paint
    // would raise again.
    if (!FPanelCanvas->RendersWithoutGdi()) throw;
  }
}

void TCustomGrafPanel::Loaded() {
  TCustomPanelNoCaption::Loaded();
  SavedCursor = Cursor();
  if (FBorderRound > 0) MakeWindowRounded();
}

void TCustomGrafPanel::Resize() {
  if (!ComponentState().Contains(csLoading) && FBorderRound > 0) MakeWindowRounded();
  TCustomPanelNoCaption::Resize();
}

void TCustomGrafPanel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  MouseCancelled = false;
  TCustomPanelNoCaption::MouseDown(Button, Shift, X, Y);
  NotifyMouseListeners(pmeDown, Button, Shift, X, Y);
}

void TCustomGrafPanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomPanelNoCaption::MouseUp(Button, Shift, X, Y);
  NotifyMouseListeners(pmeUp, Button, Shift, X, Y);
}

void TCustomGrafPanel::MouseMove(TShiftState Shift, int X, int Y) {
  MouseCancelled = false;
  TCustomPanelNoCaption::MouseMove(Shift, X, Y);
  if (FListeners && FListeners->Count() > 0 && !ComponentState().Contains(csDesigning))
    NotifyMouseListeners(pmeMove, mbLeft, Shift, X, Y);
}

void TCustomGrafPanel::DblClick() {
  MouseCancelled = false;
  TCustomPanelNoCaption::DblClick();
  if (MouseCancelled) Abort();
}

void TCustomGrafPanel::CMMouseLeave(TMessage& M) {
  SetCursor(SavedCursor);
  PanningState.Active = false;
  TCustomPanelNoCaption::CMMouseLeave(M);
}

void TCustomGrafPanel::CMSysColorChange(TMessage& M) {
  TCustomPanelNoCaption::CMSysColorChange(M);
  Invalidate();
}

void TCustomGrafPanel::WMGetDlgCode(TMessage& M) {
  TCustomPanelNoCaption::WMGetDlgCode(M);
  M.Result |= DLGC_WANTARROWS;
}

void TCustomGrafPanel::WMEraseBkgnd(TMessage& M) {
  if (EraseBackgroundSwitch) TCustomPanelNoCaption::WMEraseBkgnd(M);
  M.Result = 1;
}

// ---- Streaming and assignment -------------------------------------------------------

void TCustomGrafPanel::DefineProperties(TFiler* Filer) {
  TCustomPanelNoCaption::DefineProperties(Filer);
  // Streams written before the border became a pen stored a border style.
  Filer->DefineProperty(
      "BorderStyle", [this](TReader* Reader) { FBorder->SetVisible(Reader->ReadIdent() == "bsSingle"); }, nullptr,
      false);
}

void TCustomGrafPanel::AssignToGraphic(TGraphic* Dest) {
  if (Dest) Dest->Assign(RenderDefaultBitmap().get());
}

void TCustomGrafPanel::AssignToPicture(TPicture* Dest) {
  if (Dest) Dest->SetGraphic(RenderDefaultBitmap().get());
}

void TCustomGrafPanel::Assign(TPersistent* Source) {
  auto* p = dynamic_cast<TCustomGrafPanel*>(Source);
  if (!p) {
    TCustomPanelNoCaption::Assign(Source);
    return;
  }
  SetBorder(p->Border());
  SetBorderRound(p->BorderRound());
  SetBufferedDisplay(p->BufferedDisplay());
  PrintMargins = p->PrintMargins;
  FPrintProportional = p->FPrintProportional;
  FPrintResolution = p->FPrintResolution;
  for (int i = 0; i < 4; ++i) SetMarginSide(i, p->GetMarginSide(i));
  SetMarginUnits(p->MarginUnits());
  SetMonochrome(p->Monochrome());
  SetShadow(p->Shadow());
  FView3D = p->FView3D;
  SetView3DOptions(p->View3DOptions());
  SetColor(p->Color());
}
