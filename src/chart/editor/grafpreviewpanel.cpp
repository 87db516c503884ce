#include "chart/editor/grafpreviewpanel.h"

#include <algorithm>

#include "chart/core/grafprocs.h"
#include "chart/core/grafutils.h"
#include "chart/core/grcanvas.h"
#include "platform/gfx/printer.h"
#include "platform/rtl/mathutils.h"
#include "platform/ui/forms.h"

TPreviewChartPen::TPreviewChartPen(TNotifyEvent onChange) : TChartPen(std::move(onChange)) {
  SetStyle(psDot);
  SetSmallDots(true);
}

bool PrintersInstalled() {
  if (TPrinter::ForceNoPrinter()) return false;
  try {
    return !Printer()->Printers().empty();
  } catch (const EPrinter&) {
    return false;
  }
}

ZV_CLASS_IMPL(TGrafPreviewPanel, TCustomGrafPanelExtended)
void TGrafPreviewPanel::DeclareProperties(TClassInfo& c) {
  using P = TGrafPreviewPanel;
  c.Boolean<P>("AllowMove", &P::AllowMove, &P::SetAllowMove, true);
  c.Boolean<P>("AllowResize", &P::AllowResize, &P::SetAllowResize, true);
  c.Boolean<P>("AsBitmap", &P::AsBitmap, &P::SetAsBitmap, false);
  c.Boolean<P>("DragImage", &P::DragImage, &P::SetDragImage, false);
  c.Integer<P>("PaperColor", &P::PaperColor, &P::SetPaperColor, clWhite);
  c.Boolean<P>("ShowImage", &P::ShowImage, &P::SetShowImage, true);
  c.Boolean<P>("SmoothBitmap", &P::SmoothBitmap, &P::SetSmoothBitmap, true);
  c.String<P>("Title", &P::Title, &P::SetTitle);
}

TGrafPreviewPanel::TGrafPreviewPanel(TComponent* AOwner) : TCustomGrafPanelExtended(AOwner) {
  auto repaint = [this](TObject*) { Invalidate(); };
  FMargins = std::make_unique<TPreviewChartPen>(repaint);
  FPaperShadow = std::make_unique<TGrafShadow>(repaint);
  FPaperShadow->SetColor(clGray);
  FPaperShadow->SetUniformSize(4);
  SetView3D(false);
  SetBounds(Left(), Top(), 432, 312);
}

TGrafPreviewPanel::~TGrafPreviewPanel() {
  for (TCustomGrafPanel* p : FPanels)
    if (p) p->RemoveFreeNotification(this);
}

void TGrafPreviewPanel::SetOrientation(TGrafPreviewPanelOrientation Value) {
  if (FOrientation == Value) return;
  FOrientation = Value;
  Invalidate();
}

void TGrafPreviewPanel::SetPanel(TCustomGrafPanel* Value) {
  if (Value == Panel() || Value == this) return;
  if (!FPanels.empty()) {
    if (FPanels.front()) FPanels.front()->RemoveFreeNotification(this);
    if (Value) FPanels.front() = Value;
    else FPanels.erase(FPanels.begin());
  } else if (Value) {
    FPanels.push_back(Value);
  }
  if (Value) {
    Value->FreeNotification(this);
    FAsBitmap = Value->PanelCanvas()->RendersWithoutGdi();
  }
  Invalidate();
}

void TGrafPreviewPanel::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomGrafPanelExtended::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  const auto gone = std::remove(FPanels.begin(), FPanels.end(), AComponent);
  if (gone != FPanels.end()) {
    FPanels.erase(gone, FPanels.end());
    if (!ComponentState().Contains(csDestroying)) Invalidate();
  }
}

void TGrafPreviewPanel::ApplyOrientation() {
  if (FOrientation == ppoDefault) return;
  Printer()->SetOrientation(FOrientation == ppoPortrait ? poPortrait : poLandscape);
}

// ---- Geometry -----------------------------------------------------------------------------------

TRect TGrafPreviewPanel::CalcPaperRect() {
  int pageW = 0, pageH = 0;
  bool measured = false;
  if (PrintersInstalled()) {
    try {
      ApplyOrientation();
      pageW = Printer()->PageWidth();
      pageH = Printer()->PageHeight();
      measured = true;
    } catch (const EPrinter&) {
    }
  }
  if (!measured) {
    pageW = Screen ? Screen->Width() : 1024;
    pageH = Screen ? Screen->Height() : 768;
  }
  const TRect client = GetOutputRect();
  const int W = client.Width(), H = client.Height();
  TRect r;
  if (static_cast<long long>(pageW) * H < static_cast<long long>(pageH) * W) {
    r.Top = static_cast<int>(Round(H / 10.0));
    const int height = H - static_cast<int>(Round(H / 5.0));
    r.Bottom = r.Top + height;
    const int width = pageH > 0 ? MulDiv(pageW, height, pageH) : W;
    r.Left = (W - width) / 2;
    r.Right = r.Left + width;
  } else {
    r.Left = static_cast<int>(Round(W / 10.0));
    const int width = W - static_cast<int>(Round(W / 5.0));
    r.Right = r.Left + width;
    const int height = pageW > 0 ? MulDiv(pageH, width, pageW) : H;
    r.Top = (H - height) / 2;
    r.Bottom = r.Top + height;
  }
  if (OnGetPaperRect) OnGetPaperRect(this, r);
  return r;
}

TRect TGrafPreviewPanel::CalcMarginsRect() {
  TRect m{15, 15, 15, 15};
  if (TCustomGrafPanel* p = Panel()) {
    if (p->PrintProportional() && PrintersInstalled()) p->PrintMargins = p->CalcProportionalMargins();
    m = p->PrintMargins;
  }
  const TRect& P = FPaperRect;
  const int w = P.Width(), h = P.Height();
  return Rect(P.Left + MulDiv(m.Left, w, 100), P.Top + MulDiv(m.Top, h, 100), P.Right - MulDiv(m.Right, w, 100),
              P.Bottom - MulDiv(m.Bottom, h, 100));
}

int TGrafPreviewPanel::HitTest(int X, int Y) const {
  const TRect& r = FMarginsRect;
  auto near = [](int a, int b) { return std::abs(a - b) <= 4; };
  const bool L = near(X, r.Left), R = near(X, r.Right), T = near(Y, r.Top), B = near(Y, r.Bottom);
  int hit;
  if (L && T) hit = 6;
  else if (L && B) hit = 8;
  else if (R && T) hit = 7;
  else if (R && B) hit = 9;
  else if (L) hit = 1;
  else if (R) hit = 3;
  else if (T) hit = 2;
  else if (B) hit = 4;
  else hit = (r.Contains(Point(X, Y)) && FAllowMove) ? 5 : 0;
  if (!FAllowResize && hit != 5) hit = 0;
  return hit;
}

TCursor TGrafPreviewPanel::CursorOfHit(int Hit) {
  switch (Hit) {
    case 1:
    case 3: return crHSplit;
    case 2:
    case 4: return crVSplit;
    case 5: return crGrafHand;
    case 6:
    case 9: return crSizeNWSE;
    case 7:
    case 8: return crSizeNESW;
    default: return crDefault;
  }
}

// ---- Drawing ------------------------------------------------------------------------------------

std::unique_ptr<TBitmap> TGrafPreviewPanel::PanelBitmap(TCustomGrafPanel* APanel, const TRect& R) {
  APanel->IsPrinting = true;
  std::unique_ptr<TBitmap> bitmap;
  try {
    TRect target = R;
    int th, tw, lh, lw;
    APanel->ScaleRectForPrint(target, APanel->GetOutputRect(), th, tw, lh, lw);
    bitmap = APanel->RenderBitmap(FPaperColor, Rect(0, 0, std::max(lw, 1), std::max(lh, 1)), pf24bit);
  } catch (...) {
    APanel->IsPrinting = false;
    throw;
  }
  APanel->IsPrinting = false;
  return bitmap;
}

void TGrafPreviewPanel::DrawPanel(TCustomGrafPanel* APanel) {
  TCanvas3D* canvas = PanelCanvas();
  APanel->IsPrinting = true;
  const bool clip = APanel->ClippingAllowed();
  APanel->IsPrinting = false;
  canvas->ClipToRect(clip ? FMarginsRect : FPaperRect);
  try {
    if (FShowImage && FMarginsRect.Width() > 0 && FMarginsRect.Height() > 0) {
      if (FAsBitmap) {
        std::unique_ptr<TBitmap> bitmap = PanelBitmap(APanel, FMarginsRect);
        if (FSmoothBitmap && bitmap->Width() > 1 && bitmap->Height() > 1 && FMarginsRect.Width() > 1 &&
            FMarginsRect.Height() > 1) {
          TBitmap smooth(FMarginsRect.Width(), FMarginsRect.Height(), pf24bit);
          SmoothStretchQuality(bitmap.get(), &smooth, 0);  // the best filter
          canvas->StretchDraw(FMarginsRect, &smooth);
        } else {
          canvas->StretchDraw(FMarginsRect, bitmap.get());
        }
      } else {
        TRect target = FMarginsRect;
        int th, tw, lh, lw;
        APanel->IsPrinting = true;
        APanel->ScaleRectForPrint(target, APanel->GetOutputRect(), th, tw, lh, lw);
        std::unique_ptr<TMetafile> metafile;
        try {
          metafile = APanel->CreateMetafileOfRect(true, Rect(0, 0, std::max(lw, 1), std::max(lh, 1)));
        } catch (...) {
          APanel->IsPrinting = false;
          throw;
        }
        APanel->IsPrinting = false;
        canvas->StretchDraw(FMarginsRect, metafile.get());
      }
    }
  } catch (...) {
    canvas->RemoveClipRegion();
    throw;
  }
  canvas->RemoveClipRegion();
}

void TGrafPreviewPanel::DrawMarginLines(TCanvas* Canvas) {
  if (!Canvas || !FMargins->Visible()) return;
  TPen* pen = Canvas->Pen();
  pen->SetColor(FMargins->Color());
  pen->SetStyle(FMargins->Style());
  pen->SetWidth(1);
  pen->SetMode(pmNotXor);
  Canvas->Brush()->SetStyle(bsClear);
  Canvas->SetBkMode(TRANSPARENT);
  const TRect& m = FMarginsRect;
  const TRect& p = FPaperRect;
  for (int x : {m.Left - 1, m.Right}) {
    Canvas->MoveTo(x, p.Top + 1);
    Canvas->LineTo(x, p.Bottom);
  }
  for (int y : {m.Top - 1, m.Bottom}) {
    Canvas->MoveTo(p.Left + 1, y);
    Canvas->LineTo(p.Right, y);
  }
  Canvas->SetBkMode(OPAQUE);
  pen->SetMode(pmCopy);
}

void TGrafPreviewPanel::DrawChartContents(const TRect& Bounds) {
  PaintBackground(Bounds);
  FPaperRect = CalcPaperRect();
  TCanvas3D* canvas = PanelCanvas();
  TPen* pen = canvas->CanvasPen();
  pen->SetStyle(psSolid);
  pen->SetWidth(1);
  pen->SetColor(clBlack);
  pen->SetMode(pmCopy);
  canvas->CanvasBrush()->SetStyle(bsSolid);
  canvas->CanvasBrush()->SetColor(FPaperColor);
  canvas->RectangleOfRect(FPaperRect);
  FPaperShadow->DrawRectShadow(canvas, FPaperRect);
  FMarginsRect = CalcMarginsRect();
  for (size_t i = 0; i < FPanels.size(); ++i)
    if (FPanels[i]) DrawPanel(FPanels[i]);
  DrawMarginLines(canvas->BoundCanvas());
  if (OnAfterDraw) OnAfterDraw(this);
}

// ---- Dragging -----------------------------------------------------------------------------------

void TGrafPreviewPanel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomGrafPanelExtended::MouseDown(Button, Shift, X, Y);
  if (FPaperRect.Width() <= 0) {
    FPaperRect = CalcPaperRect();
    FMarginsRect = CalcMarginsRect();
  }
  FDragMode = HitTest(X, Y);
  if (FDragMode == 5) {
    FStart = Point(X, Y);
    FStartMargins = FMarginsRect;
  }
}

void TGrafPreviewPanel::TakeMargins() {
  TCustomGrafPanel* p = Panel();
  if (!p) return;
  const TRect& P = FPaperRect;
  const TRect& r = FMarginsRect;
  p->SetPrintProportional(false);
  p->PrintMargins = Rect(MulDiv(r.Left - P.Left, 100, P.Width()), MulDiv(r.Top - P.Top, 100, P.Height()),
                         MulDiv(P.Right - r.Right, 100, P.Width()), MulDiv(P.Bottom - r.Bottom, 100, P.Height()));
  if (OnChangeMargins) OnChangeMargins(this, true, p->PrintMargins);
}

void TGrafPreviewPanel::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomGrafPanelExtended::MouseMove(Shift, X, Y);
  const TRect& P = FPaperRect;
  if (X < P.Left || X >= P.Right || Y < P.Top || Y >= P.Bottom) return;
  if (FDragMode == 0) {
    SetCursor(CursorOfHit(HitTest(X, Y)));
    return;
  }
  if (!FDragImage) DrawMarginLines(ControlCanvas());
  TRect& r = FMarginsRect;
  auto left = [&] {
    if (P.Left <= X && X < r.Right) r.Left = X;
  };
  auto top = [&] {
    if (P.Top <= Y && Y < r.Bottom) r.Top = Y;
  };
  auto right = [&] {
    if (r.Left < X && X <= P.Right) r.Right = X;
  };
  auto bottom = [&] {
    if (r.Top < Y && Y <= P.Bottom) r.Bottom = Y;
  };
  switch (FDragMode) {
    case 1: left(); break;
    case 2: top(); break;
    case 3: right(); break;
    case 4: bottom(); break;
    case 6: left(), top(); break;
    case 7: right(), top(); break;
    case 8: left(), bottom(); break;
    case 9: right(), bottom(); break;
    case 5: {
      const int dx = X - FStart.X, dy = Y - FStart.Y;
      TRect n;
      n.Left = std::max(FStartMargins.Left + dx, P.Left);
      n.Top = std::max(FStartMargins.Top + dy, P.Top);
      n.Right = std::min(n.Left + FStartMargins.Width(), P.Right);
      n.Bottom = std::min(n.Top + FStartMargins.Height(), P.Bottom);
      if (P.Contains(Point(n.Left, n.Top)) && n.Right <= P.Right && n.Bottom <= P.Bottom) r = n;
      break;
    }
    default: break;
  }
  TakeMargins();
  if (FDragImage) Invalidate();
  else DrawMarginLines(ControlCanvas());
}

void TGrafPreviewPanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomGrafPanelExtended::MouseUp(Button, Shift, X, Y);
  const bool dragged = FDragMode != 0;
  FDragMode = 0;
  if (dragged && !FDragImage) Invalidate();
}

// ---- Printing -----------------------------------------------------------------------------------

void TGrafPreviewPanel::Print() {
  if (FPanels.empty()) return;
  const TCursor saved = Screen ? Screen->Cursor() : crDefault;
  if (Screen) Screen->SetCursor(crHourGlass);
  TPrinter* printer = Printer();
  try {
    ApplyOrientation();
    printer->SetTitle(!FTitle.empty() ? FTitle : Panel() ? Panel()->Name() : std::string());
    printer->BeginDoc();
    try {
      for (TCustomGrafPanel* p : FPanels) {
        if (!p) continue;
        const TRect r = p->CalcPrintRect();
        if (FAsBitmap) {
          std::unique_ptr<TBitmap> bitmap = PanelBitmap(p, r);
          printer->Canvas()->StretchDraw(r, bitmap.get());
        } else {
          p->PrintRectOnPrinterCanvas(r);
        }
      }
      if (OnAfterDraw) OnAfterDraw(this);
    } catch (...) {
      printer->Abort();
      if (printer->Printing()) printer->EndDoc();
      throw;
    }
    printer->EndDoc();
  } catch (...) {
    if (Screen) Screen->SetCursor(saved);
    throw;
  }
  if (Screen) Screen->SetCursor(saved);
}
