// The printer: printer list and selection, page size in pixels, resolution,
// orientation, a canvas per document page, and document control.
// With no printer installed the printer prints to a PDF file (OutputFileName,
// by default "<Title>.pdf" in the user's documents folder); tests can set an
// output file, or force the "no printer" state, in which every operation
// that needs a printer raises EPrinter.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/graphics.h"
#include "platform/rtl/exceptions.h"

ZV_DECLARE_EXCEPTION(EPrinter, Exception)

enum TPrinterOrientation { poPortrait, poLandscape };

struct TPrinterImpl;

class TPrinter : public TObject {
public:
  TPrinter();
  ~TPrinter() override;
  TPrinter(const TPrinter&) = delete;
  TPrinter& operator=(const TPrinter&) = delete;
  std::string ClassName() const override { return "TPrinter"; }

  // Printer names; with none installed the list holds the PDF printer.
  std::vector<std::string> Printers() const;
  int PrinterIndex() const;
  void SetPrinterIndex(int index);  // -1 selects the default printer
  std::string PrinterName() const;
  bool PrintsToPdf() const;

  TPrinterOrientation Orientation() const;
  void SetOrientation(TPrinterOrientation value);
  int Copies() const;
  void SetCopies(int value);
  const std::string& Title() const;
  void SetTitle(const std::string& value);
  // The file printed to instead of a printer (empty: the printer itself,
  // or the default PDF file when there is no printer).
  const std::string& OutputFileName() const;
  void SetOutputFileName(const std::string& value);

  // Printable page size in printer pixels, and the printer's resolution.
  int PageWidth() const;
  int PageHeight() const;
  int XDPI() const;
  int YDPI() const;
  int PageNumber() const;

  // The page canvas of the document in progress (bound only while printing).
  TCanvas* Canvas();
  void BeginDoc();
  void EndDoc();
  void NewPage();
  void Abort();
  bool Printing() const;
  bool Aborted() const;
  // The PDF file the last finished document was written to; empty when it
  // went to a printer (or was aborted).
  const std::string& PrintedFile() const;

  // Test hook: a forced "no printer" state.
  static void SetForceNoPrinter(bool value);
  static bool ForceNoPrinter();

private:
  void CheckPrinter() const;
  std::unique_ptr<TPrinterImpl> FImpl;
  std::unique_ptr<TCanvas> FCanvas;
};

// The program's one printer (created on first use).
TPrinter* Printer();
// Replaces the program's printer (nil frees it); returns the previous one.
TPrinter* SetPrinter(TPrinter* printer);
