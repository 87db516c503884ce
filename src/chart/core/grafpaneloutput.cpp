// Panel output: bitmaps, metafiles, clipboard, printer pages, and the base of
// the textual data exporters.
#include <algorithm>

#include "chart/core/grafpanel.h"
#include "chart/core/grafutils.h"
#include "platform/gfx/printer.h"
#include "platform/rtl/mathutils.h"
#include "platform/rtl/streams.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/forms.h"

void TCustomGrafPanel::DrawUnbuffered(TCanvas* ACanvas, const TRect& R) {
  const bool buffered = BufferedDisplay();
  auto* gdi = dynamic_cast<TGrafCanvas3D*>(FPanelCanvas.get());
  // Output is drawn straight onto the target; the screen buffer survives it.
  if (gdi) gdi->SetKeepBuffer(true);
  auto restore = [&] {
    SetBufferedDisplay(buffered);
    if (gdi) {
      gdi->SetKeepBuffer(false);
      Invalidate();
    }
  };
  try {
    SetBufferedDisplay(false);
    DrawOnCanvas(ACanvas, R);
  } catch (...) {
    restore();
    throw;
  }
  restore();
}

void TCustomGrafPanel::DrawForMetafile(TCanvas* ACanvas, const TRect& R) {
  FPanelCanvas->SetDrawingToMetafile(true);
  try {
    DrawUnbuffered(ACanvas, R);
  } catch (...) {
    FPanelCanvas->SetDrawingToMetafile(false);
    throw;
  }
  FPanelCanvas->SetDrawingToMetafile(false);
}

std::unique_ptr<TBitmap> TCustomGrafPanel::RenderBitmap(TColor BackColor, const TRect& R, TPixelFormat PixelFormat) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(FPanelCanvas->RendersWithoutGdi() ? pf24bit : PixelFormat);
  bitmap->SetSize(std::max(R.Width(), 0), std::max(R.Height(), 0));
  if (BackColor != clWhite) {  // a new bitmap is white already
    TCanvas* c = bitmap->Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(BackColor);
    c->FillRect(R);
  }
  DrawUnbuffered(bitmap->Canvas(), R);
  return bitmap;
}

std::unique_ptr<TBitmap> TCustomGrafPanel::RenderDefaultBitmap() { return RenderBitmap(Color(), GetOutputRect(), pfDevice); }

void TCustomGrafPanel::SaveRectToBitmapFile(const std::string& FileName, const TRect& R) {
  RenderBitmap(clWhite, R, pfDevice)->SaveToFile(FileName);
}

void TCustomGrafPanel::SaveToBitmapFile(const std::string& FileName) { SaveRectToBitmapFile(FileName, GetOutputRect()); }

void TCustomGrafPanel::CopyRectBitmapToClipboard(const TRect& R) {
  Clipboard()->Assign(RenderBitmap(clWhite, R, pfDevice).get());
}

void TCustomGrafPanel::CopyBitmapToClipboard() { CopyRectBitmapToClipboard(GetOutputRect()); }

std::unique_ptr<TMetafile> TCustomGrafPanel::CreateMetafileOfRect(bool Enhanced, const TRect& R) {
  auto metafile = std::make_unique<TMetafile>();
  metafile->SetEnhanced(Enhanced);
  metafile->SetWidth(std::max(R.Width(), 1));
  metafile->SetHeight(std::max(R.Height(), 1));
  {
    // The metafile is complete when its canvas goes, also after an error.
    TMetafileCanvas canvas(metafile.get(), nullptr);
    DrawForMetafile(&canvas, R);
  }
  return metafile;
}

void TCustomGrafPanel::SaveRectToMetafile(bool Enhanced, const std::string& FileName, const TRect& R) {
  CreateMetafileOfRect(Enhanced, R)->SaveToFile(FileName);
}

void TCustomGrafPanel::SaveToMetafile(const std::string& FileName) { SaveRectToMetafile(true, FileName, GetOutputRect()); }

void TCustomGrafPanel::CopyRectMetafileToClipboard(bool Enhanced, const TRect& R) {
  Clipboard()->Assign(CreateMetafileOfRect(Enhanced, R).get());
}

void TCustomGrafPanel::CopyMetafileToClipboard(bool Enhanced) { CopyRectMetafileToClipboard(Enhanced, GetOutputRect()); }

// ---- Printing ----------------------------------------------------------------------

void TCustomGrafPanel::PrintPage() { PrintRectAsDocument(CalcPrintRect()); }

void TCustomGrafPanel::PrintRectAsDocument(const TRect& R) {
  TPrinter* printer = Printer();
  if (!Name().empty()) printer->SetTitle(Name());
  printer->BeginDoc();
  try {
    PrintRectOnPrinterCanvas(R);
  } catch (...) {
    printer->Abort();
    if (printer->Printing()) printer->EndDoc();
    throw;
  }
  printer->EndDoc();
}

void TCustomGrafPanel::PrintRectOnPrinterCanvas(const TRect& R) { PrintOnCanvas(Printer()->Canvas(), R); }

void TCustomGrafPanel::ScaleRectForPrint(TRect& Target, const TRect& PanelRect, int& TargetHeight, int& TargetWidth,
                                         int& LogicalHeight, int& LogicalWidth) {
  TargetWidth = Target.Width();
  TargetHeight = Target.Height();
  const int pw = PanelRect.Width(), ph = PanelRect.Height();
  LogicalWidth = pw - MulDiv(pw, FPrintResolution, 100);
  LogicalHeight = ph - MulDiv(ph, FPrintResolution, 100);
  if (TargetWidth > 0) {
    Target.Left = MulDiv(Target.Left, LogicalWidth, TargetWidth);
    Target.Right = MulDiv(Target.Right, LogicalWidth, TargetWidth);
  }
  if (TargetHeight > 0) {
    Target.Top = MulDiv(Target.Top, LogicalHeight, TargetHeight);
    Target.Bottom = MulDiv(Target.Bottom, LogicalHeight, TargetHeight);
  }
}

void TCustomGrafPanel::PrintOnCanvas(TCanvas* ACanvas, const TRect& R) {
  TRect target = NormalizeRect(R);
  int th, tw, lh, lw;
  ScaleRectForPrint(target, GetOutputRect(), th, tw, lh, lw);
  const int savedMode = ACanvas->GetMapMode();
  const TPoint savedWindowOrg = ACanvas->GetWindowOrgEx(), savedViewportOrg = ACanvas->GetViewportOrgEx();
  const TSize savedWindowExt = ACanvas->GetWindowExtEx(), savedViewportExt = ACanvas->GetViewportExtEx();
  ACanvas->SetMapMode(MM_ANISOTROPIC);
  ACanvas->SetWindowOrgEx(0, 0);
  ACanvas->SetWindowExtEx(lw, lh);
  ACanvas->SetViewportExtEx(tw, th);
  ACanvas->SetViewportOrgEx(0, 0);
  // The panel is laid out in screen pixels: fonts too, so that the mapping
  // scales text with everything else (a printer's own resolution would make
  // it as many times larger as the page has more pixels than the screen).
  const int savedFontPpi = ACanvas->Font()->PixelsPerInch();
  ACanvas->Font()->SetPixelsPerInch(ScreenPixelsPerInch);
  IsPrinting = true;
  HRGN savedClip = nullptr;
  bool hadClip = false;
  const bool clip = ClippingAllowed();
  auto finish = [&] {
    if (clip) {
      ACanvas->SelectClipRgn(hadClip ? savedClip : nullptr);
      DeleteObject(savedClip);
    }
    IsPrinting = false;
    ACanvas->Font()->SetPixelsPerInch(savedFontPpi);
    ACanvas->SetMapMode(savedMode);
    ACanvas->SetWindowOrgEx(savedWindowOrg.X, savedWindowOrg.Y);
    ACanvas->SetWindowExtEx(savedWindowExt.cx, savedWindowExt.cy);
    ACanvas->SetViewportExtEx(savedViewportExt.cx, savedViewportExt.cy);
    ACanvas->SetViewportOrgEx(savedViewportOrg.X, savedViewportOrg.Y);
  };
  try {
    if (clip) {
      savedClip = CreateRectRgn(0, 0, 0, 0);
      hadClip = ACanvas->GetClipRgn(savedClip) == 1;
      ACanvas->IntersectClipRect(target.Left, target.Top, target.Right, target.Bottom);
    }
    if (OnBeforePrint) OnBeforePrint(this, ACanvas, target);
    DrawForMetafile(ACanvas, target);
  } catch (...) {
    finish();
    throw;
  }
  finish();
}

TRect TCustomGrafPanel::CalcPrintRect() {
  if (FPrintProportional) PrintMargins = CalcProportionalMargins();
  TPrinter* printer = Printer();
  const double w = printer->PageWidth(), h = printer->PageHeight();
  return Rect(static_cast<int>(Round(PrintMargins.Left * w / 100)), static_cast<int>(Round(PrintMargins.Top * h / 100)),
              static_cast<int>(w - Round(PrintMargins.Right * w / 100)),
              static_cast<int>(h - Round(PrintMargins.Bottom * h / 100)));
}

TRect TCustomGrafPanel::CalcProportionalMargins() {
  const TRect out = GetOutputRect();
  const double w = out.Width(), h = out.Height();
  if (w <= 0 || h <= 0) return PrintMargins;  // nothing to keep the ratio of
  double pageW, pageH, c;
  try {
    TPrinter* printer = Printer();
    pageW = printer->PageWidth();
    pageH = printer->PageHeight();
    c = printer->YDPI() > 0 ? static_cast<double>(printer->XDPI()) / printer->YDPI() : 1.0;
  } catch (const EPrinter&) {
    pageW = Screen ? Screen->Width() : 1024;
    pageH = Screen ? Screen->Height() : 768;
    c = 1.0;
  }
  auto margin = [c](double a, double b, double ratio) {
    if (b <= 0) return 15;
    return static_cast<int>(Round((b - (a - a * 30 * 0.01) * ratio * c) * 100 / b)) / 2;
  };
  if (h < w) {
    const int m = margin(pageW, pageH, h / w);
    return Rect(15, m, 15, m);
  }
  const int m = margin(pageH, pageW, w / h);
  return Rect(m, 15, m, 15);
}

double CanvasAspectRatio(TCanvas* ACanvas) {
  const int height = ACanvas->GetDeviceCaps(VERTSIZE);
  if (height == 0) return 0.0;
  return static_cast<double>(ACanvas->GetDeviceCaps(HORZSIZE)) / height;
}

// ---- Textual export base ---------------------------------------------------------

ZV_CLASS_IMPL_NOPROPS(TGrafExportData, TPersistent)

std::string TGrafExportData::ExportText() { return ""; }

void TGrafExportData::CopyTextToClipboard() { Clipboard()->SetAsText(ExportText()); }

void TGrafExportData::SaveTextToFile(const std::string& FileName) {
  TMemoryStream stream;
  SaveTextToStream(stream);
  stream.SaveToFile(FileName);
}

void TGrafExportData::SaveTextToStream(TStream& Stream) {
  const std::string text = ExportText();
  if (!text.empty()) Stream.Write(text.data(), static_cast<int64_t>(text.size()));
}
