// The printer on Qt's print support; a PDF file when there is no printer.
#include <QDir>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <cstdio>

#include "platform/gfx/canvas_impl.h"
#include "platform/gfx/printer.h"
#include "platform/gfx/qt_private.h"

namespace {
bool GForceNoPrinter = false;
constexpr int kPdfDpi = 600;
const char* kPdfPrinterName = "PDF file";
}  // namespace

struct TPrinterImpl {
  int Index = -1;
  TPrinterOrientation Orientation = poPortrait;
  int Copies = 1;
  std::string Title;
  std::string OutputFileName;
  bool Printing = false;
  bool Aborted = false;
  int PageNumber = 0;
  std::unique_ptr<QPdfWriter> Pdf;
  std::unique_ptr<QPrinter> Qp;
  std::unique_ptr<QPainter> Painter;
  std::string PdfFile;
  std::string PrintedFile;
};

TPrinter::TPrinter() : FImpl(std::make_unique<TPrinterImpl>()), FCanvas(std::make_unique<TCanvas>()) {}

TPrinter::~TPrinter() {
  if (FImpl->Printing) {
    try {
      Abort();
    } catch (...) {
    }
  }
}

void TPrinter::SetForceNoPrinter(bool value) { GForceNoPrinter = value; }
bool TPrinter::ForceNoPrinter() { return GForceNoPrinter; }

std::vector<std::string> TPrinter::Printers() const {
  if (GForceNoPrinter) return {};
  EnsureQtApplication();
  std::vector<std::string> out;
  for (const QString& n : QPrinterInfo::availablePrinterNames()) out.push_back(n.toStdString());
  if (out.empty()) out.push_back(kPdfPrinterName);
  return out;
}

void TPrinter::CheckPrinter() const {
  if (GForceNoPrinter) throw EPrinter("There is no default printer currently selected");
}

int TPrinter::PrinterIndex() const {
  if (GForceNoPrinter) return -1;
  if (FImpl->Index >= 0) return FImpl->Index;
  auto list = Printers();
  QString def = QPrinterInfo::defaultPrinterName();
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i] == def.toStdString()) return static_cast<int>(i);
  return list.empty() ? -1 : 0;
}

void TPrinter::SetPrinterIndex(int index) {
  CheckPrinter();
  if (FImpl->Printing) throw EPrinter("Cannot change the printer while printing");
  int n = static_cast<int>(Printers().size());
  if (index < -1 || index >= n) throw EPrinter("Printer index out of range");
  FImpl->Index = index;
}

std::string TPrinter::PrinterName() const {
  CheckPrinter();
  auto list = Printers();
  int i = PrinterIndex();
  return i >= 0 && i < static_cast<int>(list.size()) ? list[i] : std::string();
}

bool TPrinter::PrintsToPdf() const {
  if (!FImpl->OutputFileName.empty()) return true;
  EnsureQtApplication();
  return QPrinterInfo::availablePrinterNames().isEmpty();
}

TPrinterOrientation TPrinter::Orientation() const { return FImpl->Orientation; }
void TPrinter::SetOrientation(TPrinterOrientation value) {
  CheckPrinter();
  if (FImpl->Printing) throw EPrinter("Cannot change the orientation while printing");
  FImpl->Orientation = value;
}
int TPrinter::Copies() const { return FImpl->Copies; }
void TPrinter::SetCopies(int value) { FImpl->Copies = std::max(1, value); }
const std::string& TPrinter::Title() const { return FImpl->Title; }
void TPrinter::SetTitle(const std::string& value) { FImpl->Title = value; }
const std::string& TPrinter::OutputFileName() const { return FImpl->OutputFileName; }
void TPrinter::SetOutputFileName(const std::string& value) { FImpl->OutputFileName = value; }

namespace {
QPageLayout PdfLayout(TPrinterOrientation o) {
  return QPageLayout(QPageSize(QPageSize::A4), o == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                     QMarginsF(0, 0, 0, 0));
}
}  // namespace

int TPrinter::PageWidth() const {
  CheckPrinter();
  if (FImpl->Printing) return FCanvas->DeviceWidth();
  if (PrintsToPdf()) return PdfLayout(FImpl->Orientation).paintRectPixels(kPdfDpi).width();
  QPrinter p(QPrinterInfo::printerInfo(QString::fromStdString(PrinterName())), QPrinter::HighResolution);
  p.setPageOrientation(FImpl->Orientation == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
  return p.pageLayout().paintRectPixels(p.resolution()).width();
}

int TPrinter::PageHeight() const {
  CheckPrinter();
  if (FImpl->Printing) return FCanvas->DeviceHeight();
  if (PrintsToPdf()) return PdfLayout(FImpl->Orientation).paintRectPixels(kPdfDpi).height();
  QPrinter p(QPrinterInfo::printerInfo(QString::fromStdString(PrinterName())), QPrinter::HighResolution);
  p.setPageOrientation(FImpl->Orientation == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
  return p.pageLayout().paintRectPixels(p.resolution()).height();
}

int TPrinter::XDPI() const {
  CheckPrinter();
  if (PrintsToPdf()) return kPdfDpi;
  QPrinter p(QPrinterInfo::printerInfo(QString::fromStdString(PrinterName())), QPrinter::HighResolution);
  return p.resolution();
}
int TPrinter::YDPI() const { return XDPI(); }
int TPrinter::PageNumber() const { return FImpl->PageNumber; }
TCanvas* TPrinter::Canvas() { return FCanvas.get(); }
bool TPrinter::Printing() const { return FImpl->Printing; }
bool TPrinter::Aborted() const { return FImpl->Aborted; }

void TPrinter::BeginDoc() {
  CheckPrinter();
  if (FImpl->Printing) throw EPrinter("Printing in progress");
  EnsureQtApplication();
  auto& I = *FImpl;
  I.Aborted = false;
  I.PrintedFile.clear();
  QPaintDevice* dev = nullptr;
  int dpi = kPdfDpi;
  if (PrintsToPdf()) {
    std::string file = I.OutputFileName;
    if (file.empty()) {
      QString dir = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
      if (dir.isEmpty()) dir = QDir::homePath();
      QDir().mkpath(dir);
      std::string name = I.Title.empty() ? "Zelvora" : I.Title;
      for (char& c : name)
        if (c == '/' || c == '\\' || c == ':') c = '_';
      file = (dir + "/").toStdString() + name + ".pdf";
    }
    I.PdfFile = file;
    I.Pdf = std::make_unique<QPdfWriter>(QString::fromStdString(file));
    I.Pdf->setResolution(kPdfDpi);
    I.Pdf->setPageLayout(PdfLayout(I.Orientation));
    I.Pdf->setTitle(QString::fromStdString(I.Title));
    I.Pdf->setCreator("Zelvora");
    dev = I.Pdf.get();
  } else {
    I.Qp = std::make_unique<QPrinter>(QPrinterInfo::printerInfo(QString::fromStdString(PrinterName())),
                                      QPrinter::HighResolution);
    I.Qp->setDocName(QString::fromStdString(I.Title));
    I.Qp->setCopyCount(I.Copies);
    I.Qp->setPageOrientation(I.Orientation == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    I.Qp->setFullPage(false);
    dpi = I.Qp->resolution();
    dev = I.Qp.get();
  }
  I.Painter = std::make_unique<QPainter>();
  if (!I.Painter->begin(dev)) {
    I.Painter.reset();
    I.Pdf.reset();
    I.Qp.reset();
    throw EPrinter("Printer selected is not valid");
  }
  GfxBindDevice(FCanvas.get(), dev, I.Painter.get(), dpi);
  I.Printing = true;
  I.PageNumber = 1;
}

void TPrinter::NewPage() {
  auto& I = *FImpl;
  if (!I.Printing) throw EPrinter("Printing not in progress");
  bool ok = I.Pdf ? I.Pdf->newPage() : I.Qp->newPage();
  if (!ok) throw EPrinter("Cannot start a new page");
  FCanvas->Impl()->Invalidate();
  ++I.PageNumber;
}

void TPrinter::EndDoc() {
  auto& I = *FImpl;
  if (!I.Printing) throw EPrinter("Printing not in progress");
  GfxUnbind(FCanvas.get());
  I.Painter->end();
  I.Painter.reset();
  if (I.Pdf) I.PrintedFile = I.PdfFile;
  I.Pdf.reset();
  I.Qp.reset();
  I.Printing = false;
}

const std::string& TPrinter::PrintedFile() const { return FImpl->PrintedFile; }

void TPrinter::Abort() {
  auto& I = *FImpl;
  if (!I.Printing) return;
  GfxUnbind(FCanvas.get());
  if (I.Qp) I.Qp->abort();
  if (I.Painter->isActive()) I.Painter->end();
  I.Painter.reset();
  bool pdf = I.Pdf != nullptr;
  I.Pdf.reset();
  I.Qp.reset();
  if (pdf) std::remove(I.PdfFile.c_str());
  I.Printing = false;
  I.Aborted = true;
}

namespace {
std::unique_ptr<TPrinter>& ThePrinter() {
  static std::unique_ptr<TPrinter> p;
  return p;
}
}  // namespace

TPrinter* Printer() {
  if (!ThePrinter()) ThePrinter() = std::make_unique<TPrinter>();
  return ThePrinter().get();
}

TPrinter* SetPrinter(TPrinter* printer) {
  TPrinter* old = ThePrinter().release();
  ThePrinter().reset(printer);
  return old;
}
