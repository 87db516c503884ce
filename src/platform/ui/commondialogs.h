// The common dialogs as components (open, save, colour, font, print, printer
// set-up, find, replace, folder selection). Execute asks the common-dialog handler: the
// program's handler shows the window system's dialogs (InstallPlatformDialogs,
// called by Application->Initialize), a test installs its own that fills in
// the dialog's fields and answers. With no handler, Execute writes a line to
// standard error and answers false, so nothing waits for a person.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/gfx/graphics.h"
#include "platform/rtl/stringlist.h"
#include "platform/ui/classes.h"

enum TCommonDialogKind { cdOpen, cdSave, cdColor, cdFont, cdPrint, cdPrinterSetup, cdFind, cdReplace, cdSelectDirectory };

class TCommonDialog : public TComponent {
  ZV_CLASS(TCommonDialog)
public:
  explicit TCommonDialog(TComponent* AOwner) : TComponent(AOwner) {}
  virtual TCommonDialogKind Kind() const = 0;
  // True when the user confirmed.
  virtual bool Execute();
  int HelpContext() const { return FHelpContext; }
  void SetHelpContext(int v) { FHelpContext = v; }
  TNotifyEvent OnShow;
  TNotifyEvent OnClose;

protected:
  int FHelpContext = 0;
};

// Answers Execute; returns whether the dialog was confirmed.
using TCommonDialogHandler = std::function<bool(TCommonDialog* Dialog)>;
TCommonDialogHandler SetCommonDialogHandler(TCommonDialogHandler Handler);
// Installs the window system's dialogs behind the dialog service and the
// common dialogs, where no handler is installed yet.
void InstallPlatformDialogs();
// A file dialog's filter ("Name|*.a;*.b|...") as the window system's dialog
// is given it: "Name (*.a *.b);;...", the patterns in every name's
// parentheses being the ones the files are matched with.
std::string PlatformFileFilter(const std::string& Filter);

enum TOpenOption {
  ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofShowHelp, ofNoValidate, ofAllowMultiSelect,
  ofExtensionDifferent, ofPathMustExist, ofFileMustExist, ofCreatePrompt, ofShareAware, ofNoReadOnlyReturn,
  ofNoTestFileCreate, ofNoNetworkButton, ofNoLongNames, ofOldStyleDialog, ofNoDereferenceLinks, ofEnableIncludeNotify,
  ofEnableSizing, ofDontAddToRecent, ofForceShowHidden
};
using TOpenOptions = TEnumSet<TOpenOption>;

class TOpenDialog : public TCommonDialog {
  ZV_CLASS(TOpenDialog)
public:
  explicit TOpenDialog(TComponent* AOwner);
  TCommonDialogKind Kind() const override { return cdOpen; }
  bool Execute() override;
  std::string FileName;
  // The chosen files (several with ofAllowMultiSelect).
  TStringList* Files() { return &FFiles; }
  // "Text files (*.txt)|*.txt|All files (*.*)|*.*"
  std::string Filter;
  int FilterIndex = 1;  // 1-based
  std::string InitialDir;
  std::string DefaultExt;
  std::string Title;
  TOpenOptions Options = {ofHideReadOnly, ofEnableSizing};
  TNotifyEvent OnTypeChange;
  TNotifyEvent OnSelectionChange;

private:
  TStringList FFiles;
};

class TSaveDialog : public TOpenDialog {
  ZV_CLASS(TSaveDialog)
public:
  explicit TSaveDialog(TComponent* AOwner) : TOpenDialog(AOwner) {}
  TCommonDialogKind Kind() const override { return cdSave; }
};

enum TColorDialogOption { cdFullOpen, cdPreventFullOpen, cdShowHelp, cdSolidColor, cdAnyColor };
using TColorDialogOptions = TEnumSet<TColorDialogOption>;

class TColorDialog : public TCommonDialog {
  ZV_CLASS(TColorDialog)
public:
  explicit TColorDialog(TComponent* AOwner) : TCommonDialog(AOwner) {}
  TCommonDialogKind Kind() const override { return cdColor; }
  TColor Color = clBlack;
  // Up to 16 entries "ColorA=RRGGBB" .. "ColorP=RRGGBB" (hexadecimal $BBGGRR
  // order as the class library writes them); kept when the user confirms.
  TStringList* CustomColors() { return &FCustomColors; }
  TColorDialogOptions Options;

private:
  TStringList FCustomColors;
};

enum TFontDialogOption { fdAnsiOnly, fdTrueTypeOnly, fdEffects, fdFixedPitchOnly, fdForceFontExist, fdNoFaceSel,
                         fdNoOEMFonts, fdNoSimulations, fdNoSizeSel, fdNoStyleSel, fdNoVectorFonts, fdShowHelp,
                         fdWysiwyg, fdLimitSize, fdScalableOnly, fdApplyButton };
using TFontDialogOptions = TEnumSet<TFontDialogOption>;

class TFontDialog : public TCommonDialog {
  ZV_CLASS(TFontDialog)
public:
  explicit TFontDialog(TComponent* AOwner);
  TCommonDialogKind Kind() const override { return cdFont; }
  TFont* Font() { return FFont.get(); }
  void SetFont(const TFont* v) { FFont->Assign(v); }
  TFontDialogOptions Options = {fdEffects};
  int MinFontSize = 0;
  int MaxFontSize = 0;
  TNotifyEvent OnApply;

private:
  std::unique_ptr<TFont> FFont;
};

enum TPrintRange { prAllPages, prSelection, prPageNums };
enum TPrintDialogOption { poPrintToFile, poPageNums, poSelection, poWarning, poHelp, poDisablePrintToFile };
using TPrintDialogOptions = TEnumSet<TPrintDialogOption>;

class TPrintDialog : public TCommonDialog {
  ZV_CLASS(TPrintDialog)
public:
  explicit TPrintDialog(TComponent* AOwner) : TCommonDialog(AOwner) {}
  TCommonDialogKind Kind() const override { return cdPrint; }
  int Copies = 1;
  bool Collate = false;
  int FromPage = 0, ToPage = 0, MinPage = 0, MaxPage = 0;
  TPrintRange PrintRange = prAllPages;
  bool PrintToFile = false;
  TPrintDialogOptions Options;
};

class TPrinterSetupDialog : public TCommonDialog {
  ZV_CLASS(TPrinterSetupDialog)
public:
  explicit TPrinterSetupDialog(TComponent* AOwner) : TCommonDialog(AOwner) {}
  TCommonDialogKind Kind() const override { return cdPrinterSetup; }
};

enum TFindOption { frDown, frFindNext, frHideMatchCase, frHideWholeWord, frHideUpDown, frMatchCase, frDisableMatchCase,
                   frDisableUpDown, frDisableWholeWord, frReplace, frReplaceAll, frWholeWord, frShowHelp };
using TFindOptions = TEnumSet<TFindOption>;

// A modeless dialog: Execute shows it and returns true; pressing its buttons
// fires OnFind (and OnReplace) with Options telling which button.
class TFindDialog : public TCommonDialog {
  ZV_CLASS(TFindDialog)
public:
  explicit TFindDialog(TComponent* AOwner) : TCommonDialog(AOwner) {}
  ~TFindDialog() override;
  TCommonDialogKind Kind() const override { return cdFind; }
  bool Execute() override;
  void CloseDialog();
  bool Showing() const { return FShowing; }
  std::string FindText;
  TFindOptions Options = {frDown};
  TNotifyEvent OnFind;
  // What the dialog's buttons do (the real dialog and tests call these).
  void FindNextPressed();

protected:
  bool FShowing = false;
};

class TReplaceDialog : public TFindDialog {
  ZV_CLASS(TReplaceDialog)
public:
  explicit TReplaceDialog(TComponent* AOwner) : TFindDialog(AOwner) {}
  TCommonDialogKind Kind() const override { return cdReplace; }
  std::string ReplaceText;
  TNotifyEvent OnReplace;
  void ReplacePressed(bool All);
};

enum TSelectDirOpt { sdAllowCreate, sdPerformCreate, sdPrompt };
using TSelectDirOpts = TEnumSet<TSelectDirOpt>;

// The folder-selection dialog behind SelectDirectory: Directory is the
// folder it starts in and, when confirmed, the one chosen. With
// sdAllowCreate among the options the user may make new folders in it and
// name a folder that does not exist yet.
class TSelectDirectoryDialog : public TCommonDialog {
  ZV_CLASS(TSelectDirectoryDialog)
public:
  explicit TSelectDirectoryDialog(TComponent* AOwner) : TCommonDialog(AOwner) {}
  TCommonDialogKind Kind() const override { return cdSelectDirectory; }
  std::string Directory;
  TSelectDirOpts Options;
};

// Lets the user choose a folder, starting at Directory: true and the folder
// in Directory when confirmed, false (Directory unchanged) when cancelled.
// A chosen folder that does not exist is refused with a message unless
// sdAllowCreate is given; with sdAllowCreate and sdPerformCreate it is
// created, after the question "The specified directory does not exist.
// Create it?" when sdPrompt is given (No goes back to the dialog). A folder
// that cannot be created is reported and the dialog shown again.
bool SelectDirectory(std::string& Directory, TSelectDirOpts Options, int HelpCtx = 0);
