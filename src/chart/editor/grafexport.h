// Picture export formats and their process-wide list, the routines that copy,
// save and mail an export, and the export dialog for any chart panel.
//
// A format is a class derived from TGrafExportFormat that its unit registers
// at start-up (RegisterExportFormat) and removes at shutdown; the export
// dialog offers the registered formats in registration order.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/core/grafpanel.h"
#include "platform/gfx/bitmap.h"
#include "platform/ui/classes.h"
#include "platform/ui/commondialogs.h"
#include "platform/ui/forms.h"

class TStrings;

class TGrafExportFormat : public TPersistent {
  ZV_CLASS(TGrafExportFormat)
public:
  TGrafExportFormat() = default;
  ~TGrafExportFormat() override;

  // The panel drawn; Width and Height 0 mean the panel's own.
  TCustomGrafPanel* Panel = nullptr;
  int Height = 0;
  int Width = 0;

  // ---- Virtual operations, in slot order ----
  // Puts the picture on the clipboard.
  virtual void CopyPicture() {}
  // The format's entry in the picture save dialog's filter (1-based).
  virtual int FilterIndexOf() { return FFilterIndex; }
  // Adds the number of filter entries the format has to Counter and keeps
  // the index of its first entry.
  virtual void CountFilters(int& Counter);
  virtual bool OwnsFilterIndex(int Index) { return Index == FilterIndexOf(); }
  virtual std::string DescriptionText() { return ""; }
  // Without the point.
  virtual std::string FileExtension() { return ""; }
  virtual std::string FilterText() { return ""; }
  // A new, empty graphic of the format's kind; empty when it has none.
  virtual TGraphicFactory GraphicClass() { return {}; }
  virtual void WritePicture(TStream&) {}
  // The format's option form, made on the first request with Create; nil
  // when the format has none.
  virtual TForm* OptionsForm(bool Create);

protected:
  int FFilterIndex = 0;
  std::unique_ptr<TForm> FOptions;
};

// The registered format classes, in registration order.
void RegisterExportFormat(TClass FormatClass);
void UnregisterExportFormat(TClass FormatClass);
const std::vector<TClass>& ExportFormatClasses();
// A new format object of a registered class.
std::unique_ptr<TGrafExportFormat> CreateExportFormat(TClass FormatClass);

// Raise "Panel property is not set in Export format" without a panel; make
// the options form, take the panel's size for a width or height of 0, and
// copy the picture, or save it into the file (replacing it, atomically).
void CopyPictureOf(TGrafExportFormat* Format);
void SavePictureFile(TGrafExportFormat* Format, const std::string& FileName);

// Appends every registered format's filter entries to the dialog's filter
// (counting their indexes on from the entries already there) and, with a
// list, adds each format's description (without "&") with a new format
// object for the panel, which the list's owner frees.
void FillPictureFormats(TOpenDialog* Dialog, TCustomGrafPanel* Panel, TStrings* List);

// A new, empty graphic of the first registered format whose extension is the
// text (".emf", compared without regard to case); nil for none.
std::unique_ptr<TGraphic> GraphicForExtension(const std::string& Extension);

// Hands the file to the mail program as a new mail with the subject; raises
// "Can not email GrafChart. Mapi Error: %d" with the mail program's error.
void MailFile(const std::string& FileName, const std::string& Subject);
// Whether mail can be handed over (asked once per process).
bool MapiAvailable();

// The help file of that name in the folder the system registers for help
// files ("SOFTWARE\Microsoft\Windows\Help" below the machine's root); empty
// when there is none.
std::string HelpFilePath(const std::string& FileName);

// The unit's start-up: the picture hook of the library's HTML texts.
void RegisterGrafExportUnit();
void UnregisterGrafExportUnit();
