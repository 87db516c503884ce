#include "platform/ui/commondialogs.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <algorithm>
#include <QFileInfo>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QVBoxLayout>

#include <cstdio>
#include <map>

#include "platform/dialogs.h"
#include "platform/gfx/printer.h"
#include "platform/rtl/fileutils.h"
#include "platform/ui/forms.h"
#include "platform/ui/qt_ui.h"

namespace {

TCommonDialogHandler& Handler() {
  static TCommonDialogHandler h;
  return h;
}

QWidget* ActiveWindow() {
  if (Screen && Screen->ActiveForm() && Screen->ActiveForm()->HandleAllocated())
    return Screen->ActiveForm()->Impl()->Widget;
  return nullptr;
}

// "Text (*.txt)|*.txt|All (*.*)|*.*" -> "Text (*.txt);;All (*.*)". The
// platform dialog takes its patterns from the name's last parentheses,
// separated by spaces, so those always hold the filter's own patterns: a
// name such as "Data (*.dat,*.xy)" would otherwise match no file at all.
QString QtFilter(const std::string& filter, int index, QString* selected) {
  QStringList parts = ToQString(filter).split('|');
  QStringList out;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString name = parts[i].trimmed();
    const QString patterns = parts[i + 1].split(';', Qt::SkipEmptyParts).join(' ');
    const qsizetype open = name.lastIndexOf('(');
    if (name.endsWith(')') && open >= 0 && name.indexOf(QRegularExpression("[*?]"), open) >= 0)
      name = name.left(open).trimmed();
    name += " (" + patterns + ")";
    out << name;
    if (i / 2 + 1 == index && selected) *selected = name;
  }
  return out.join(";;");
}

}  // namespace

std::string PlatformFileFilter(const std::string& Filter) { return FromQString(QtFilter(Filter, 0, nullptr)); }

namespace {

// The window system's find and replace window: modeless, it stays up while
// its buttons press the component's (Find Next again finds the next match);
// the boxes set the options, as the component's options show and enable them.
class TFindWindow : public QDialog {
public:
  TFindWindow(TFindDialog* dialog, QWidget* parent) : QDialog(parent), F(dialog) {
    const bool replace = dialog->Kind() == cdReplace;
    setWindowTitle(replace ? "Replace" : "Find");
    setObjectName("zvFindWindow");
    auto* fields = new QGridLayout;
    What = AddField(fields, 0, "Fi&nd what:");
    if (replace) With = AddField(fields, 1, "Re&place with:");
    Whole = new QCheckBox("Match &whole word only");
    Case = new QCheckBox("Match &case");
    auto* left = new QVBoxLayout;
    left->addLayout(fields);
    auto* options = new QHBoxLayout;
    auto* boxes = new QVBoxLayout;
    boxes->addWidget(Whole);
    boxes->addWidget(Case);
    options->addLayout(boxes);
    if (!replace) {
      Direction = new QGroupBox("Direction");
      auto* d = new QHBoxLayout(Direction);
      Up = new QRadioButton("&Up");
      Down = new QRadioButton("&Down");
      d->addWidget(Up);
      d->addWidget(Down);
      options->addWidget(Direction);
    }
    left->addLayout(options);
    auto* buttons = new QVBoxLayout;
    Next = AddButton(buttons, "&Find Next", [this] {
      Store();
      F->FindNextPressed();
    });
    Next->setDefault(true);
    if (replace) {
      auto* r = static_cast<TReplaceDialog*>(F);
      AddButton(buttons, "&Replace", [this, r] {
        Store();
        r->ReplacePressed(false);
      });
      AddButton(buttons, "Replace &All", [this, r] {
        Store();
        r->ReplacePressed(true);
      });
    }
    AddButton(buttons, "Cancel", [this] { reject(); });
    buttons->addStretch();
    auto* all = new QHBoxLayout(this);
    all->addLayout(left);
    all->addLayout(buttons);
    connect(What, &QLineEdit::textChanged, this, [this](const QString& t) { Next->setEnabled(!t.isEmpty()); });
    connect(this, &QDialog::rejected, this, [this] { F->CloseDialog(); });
  }

  // Shows the component's text and options.
  void Load() {
    const TFindOptions& o = F->Options;
    What->setText(ToQString(F->FindText));
    What->selectAll();
    Next->setEnabled(!What->text().isEmpty());
    if (With) With->setText(ToQString(static_cast<TReplaceDialog*>(F)->ReplaceText));
    Whole->setChecked(o.Contains(frWholeWord));
    Whole->setVisible(!o.Contains(frHideWholeWord));
    Whole->setEnabled(!o.Contains(frDisableWholeWord));
    Case->setChecked(o.Contains(frMatchCase));
    Case->setVisible(!o.Contains(frHideMatchCase));
    Case->setEnabled(!o.Contains(frDisableMatchCase));
    if (Direction) {
      (o.Contains(frDown) ? Down : Up)->setChecked(true);
      Direction->setVisible(!o.Contains(frHideUpDown));
      Direction->setEnabled(!o.Contains(frDisableUpDown));
    }
  }

private:
  QLineEdit* AddField(QGridLayout* grid, int row, const char* label) {
    auto* edit = new QLineEdit;
    auto* l = new QLabel(label);
    l->setBuddy(edit);
    grid->addWidget(l, row, 0);
    grid->addWidget(edit, row, 1);
    return edit;
  }
  QPushButton* AddButton(QVBoxLayout* column, const char* text, std::function<void()> press) {
    auto* b = new QPushButton(text);
    b->setAutoDefault(false);
    column->addWidget(b);
    connect(b, &QPushButton::clicked, this, [press = std::move(press)] { press(); });
    return b;
  }
  void Store() {
    TFindOptions& o = F->Options;
    F->FindText = FromQString(What->text());
    if (With) static_cast<TReplaceDialog*>(F)->ReplaceText = FromQString(With->text());
    o.Exclude(frWholeWord);
    o.Exclude(frMatchCase);
    if (Whole->isChecked()) o.Include(frWholeWord);
    if (Case->isChecked()) o.Include(frMatchCase);
    if (Direction) {
      o.Exclude(frDown);
      if (Down->isChecked()) o.Include(frDown);
    }
  }

  TFindDialog* F;
  QLineEdit* What = nullptr;
  QLineEdit* With = nullptr;
  QPushButton* Next = nullptr;
  QCheckBox* Whole = nullptr;
  QCheckBox* Case = nullptr;
  QGroupBox* Direction = nullptr;
  QRadioButton* Up = nullptr;
  QRadioButton* Down = nullptr;
};

std::map<TFindDialog*, QPointer<TFindWindow>>& FindWindows() {
  static std::map<TFindDialog*, QPointer<TFindWindow>> windows;
  return windows;
}

TFindWindow* FindWindowOf(TFindDialog* d) {
  auto it = FindWindows().find(d);
  return it == FindWindows().end() ? nullptr : it->second.data();
}

// The window system's folder dialog. Where folders may be made it also
// takes the name of one that does not exist yet (SelectDirectory asks
// before making it); elsewhere it makes none.
class TFolderWindow : public QFileDialog {
public:
  TFolderWindow(QWidget* parent, const QString& start, bool allowNew)
      : QFileDialog(parent, QString(), start), FAllowNew(allowNew) {
    setFileMode(QFileDialog::Directory);
    setOption(QFileDialog::ShowDirsOnly);
    setOption(QFileDialog::DontUseNativeDialog);
    if (!allowNew) setOption(QFileDialog::ReadOnly);
  }
  QString Chosen;

protected:
  void accept() override {
    const QStringList files = selectedFiles();
    if (!files.isEmpty() && FAllowNew && !QFileInfo(files.front()).exists()) {
      Chosen = files.front();
      QDialog::accept();
      return;
    }
    QFileDialog::accept();
    if (result() == QDialog::Accepted && !selectedFiles().isEmpty()) Chosen = selectedFiles().front();
  }

private:
  bool FAllowNew;
};

bool RunPlatformDialog(TCommonDialog* d) {
  QWidget* parent = ActiveWindow();
  switch (d->Kind()) {
    case cdOpen:
    case cdSave: {
      auto* o = static_cast<TOpenDialog*>(d);
      QString selected;
      const QString filter = QtFilter(o->Filter, o->FilterIndex, &selected);
      const QString dir = ToQString(o->FileName.empty() ? o->InitialDir : o->FileName);
      const QString title = ToQString(o->Title);
      QStringList files;
      if (d->Kind() == cdSave) {
        QFileDialog::Options opts;
        if (!o->Options.Contains(ofOverwritePrompt)) opts |= QFileDialog::DontConfirmOverwrite;
        const QString f = QFileDialog::getSaveFileName(parent, title, dir, filter, &selected, opts);
        if (!f.isEmpty()) files << f;
      } else if (o->Options.Contains(ofAllowMultiSelect)) {
        files = QFileDialog::getOpenFileNames(parent, title, dir, filter, &selected);
      } else {
        const QString f = QFileDialog::getOpenFileName(parent, title, dir, filter, &selected);
        if (!f.isEmpty()) files << f;
      }
      if (files.isEmpty()) return false;
      o->Files()->Clear();
      for (const QString& f : files) o->Files()->Add(FromQString(f));
      o->FileName = FromQString(files.front());
      if (d->Kind() == cdSave && !o->DefaultExt.empty() && o->FileName.find('.', o->FileName.rfind('/') + 1) == std::string::npos)
        o->FileName += "." + o->DefaultExt;
      const QStringList names = filter.split(";;");
      if (const qsizetype i = names.indexOf(selected); i >= 0) o->FilterIndex = static_cast<int>(i) + 1;
      return true;
    }
    case cdColor: {
      auto* c = static_cast<TColorDialog*>(d);
      for (int i = 0; i < c->CustomColors()->Count() && i < 16; ++i) {
        const std::string line = c->CustomColors()->Strings(i);
        const size_t eq = line.find('=');
        const std::string v = eq == std::string::npos ? line : line.substr(eq + 1);
        bool ok = false;
        const unsigned bgr = QString::fromStdString(v).toUInt(&ok, 16);
        if (ok) QColorDialog::setCustomColor(i, GfxToQColor(static_cast<TColor>(bgr)));
      }
      const QColor chosen = QColorDialog::getColor(GfxToQColor(c->Color), parent);
      if (!chosen.isValid()) return false;
      c->Color = GfxFromQColor(chosen);
      c->CustomColors()->Clear();
      for (int i = 0; i < 16; ++i) {
        const TColor cc = GfxFromQColor(QColorDialog::customColor(i));
        char buf[32];
        std::snprintf(buf, sizeof buf, "Color%c=%06X", 'A' + i, static_cast<unsigned>(cc) & 0xFFFFFF);
        c->CustomColors()->Add(buf);
      }
      return true;
    }
    case cdFont: {
      auto* f = static_cast<TFontDialog*>(d);
      bool ok = false;
      QFontDialog::FontDialogOptions opts;
      if (f->Options.Contains(fdFixedPitchOnly)) opts |= QFontDialog::MonospacedFonts;
      const QFont chosen = QFontDialog::getFont(&ok, GfxMakeQFont(*f->Font()), parent, QString(), opts);
      if (!ok) return false;
      f->Font()->SetName(FromQString(chosen.family()));
      if (chosen.pointSize() > 0) f->Font()->SetSize(chosen.pointSize());
      if (f->Options.Contains(fdNoStyleSel)) return true;  // the style is not the user's to choose
      TFontStyles st;
      if (chosen.bold()) st.Include(fsBold);
      if (chosen.italic()) st.Include(fsItalic);
      if (chosen.underline()) st.Include(fsUnderline);
      if (chosen.strikeOut()) st.Include(fsStrikeOut);
      f->Font()->SetStyle(st);
      return true;
    }
    case cdPrint:
    case cdPrinterSetup: {
      QPrinter printer;
      // The file chosen last time is offered again.
      const std::string lastFile = Printer()->OutputFileName();
      if (!lastFile.empty()) printer.setOutputFileName(ToQString(lastFile));
      // The dialog starts on the program's printer and orientation.
      TPrinter* ours = Printer();
      if (!ours->PrintsToPdf() && ours->PrinterIndex() >= 0) printer.setPrinterName(ToQString(ours->PrinterName()));
      printer.setPageOrientation(ours->Orientation() == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
      // What the dialog shows is where the print goes: the file it names, or
      // a printer (then no file), with the orientation chosen there.
      auto takeOutput = [&] {
        const bool toFile = printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty();
        ours->SetOutputFileName(toFile ? FromQString(printer.outputFileName()) : std::string());
        const std::vector<std::string> names = ours->Printers();
        for (size_t i = 0; i < names.size(); ++i)
          if (!toFile && names[i] == FromQString(printer.printerName())) ours->SetPrinterIndex(static_cast<int>(i));
        ours->SetOrientation(printer.pageLayout().orientation() == QPageLayout::Landscape ? poLandscape : poPortrait);
      };
      if (d->Kind() == cdPrint) {
        QPrintDialog dlg(&printer, parent);
        auto* p = static_cast<TPrintDialog*>(d);
        printer.setCopyCount(p->Copies);
        dlg.setMinMax(p->MinPage, p->MaxPage);
        // The page range is offered when asked for, and starts as given.
        dlg.setOption(QAbstractPrintDialog::PrintPageRange, p->Options.Contains(poPageNums));
        dlg.setOption(QAbstractPrintDialog::PrintSelection, p->Options.Contains(poSelection));
        dlg.setOption(QAbstractPrintDialog::PrintToFile, !p->Options.Contains(poDisablePrintToFile));
        if (p->PrintRange == prPageNums && p->Options.Contains(poPageNums)) {
          printer.setPrintRange(QPrinter::PageRange);
          printer.setFromTo(std::clamp(p->FromPage, p->MinPage, std::max(p->MinPage, p->MaxPage)),
                            std::clamp(p->ToPage, p->MinPage, std::max(p->MinPage, p->MaxPage)));
        } else if (p->PrintRange == prSelection && p->Options.Contains(poSelection)) {
          printer.setPrintRange(QPrinter::Selection);
        }
        if (dlg.exec() != QDialog::Accepted) return false;
        takeOutput();
        p->Copies = printer.copyCount();
        p->FromPage = printer.fromPage();
        p->ToPage = printer.toPage();
        p->PrintRange = printer.printRange() == QPrinter::PageRange ? prPageNums
                        : printer.printRange() == QPrinter::Selection ? prSelection
                                                                      : prAllPages;
        return true;
      }
      // Page set-up: the page, not a print.
      printer.setPageOrientation(Printer()->Orientation() == poLandscape ? QPageLayout::Landscape
                                                                         : QPageLayout::Portrait);
      QPageSetupDialog dlg(&printer, parent);
      if (dlg.exec() != QDialog::Accepted) return false;
      Printer()->SetOrientation(printer.pageLayout().orientation() == QPageLayout::Landscape ? poLandscape
                                                                                            : poPortrait);
      return true;
    }
    case cdSelectDirectory: {
      auto* s = static_cast<TSelectDirectoryDialog*>(d);
      TFolderWindow dlg(parent, ToQString(s->Directory), s->Options.Contains(sdAllowCreate));
      if (dlg.exec() != QDialog::Accepted || dlg.Chosen.isEmpty()) return false;
      s->Directory = FromQString(dlg.Chosen);
      return true;
    }
    case cdFind:
    case cdReplace: {
      auto* f = static_cast<TFindDialog*>(d);
      TFindWindow* w = FindWindowOf(f);
      if (!w) {
        w = new TFindWindow(f, parent);
        FindWindows()[f] = w;
      }
      w->Load();
      w->show();
      w->raise();
      w->activateWindow();
      return true;
    }
  }
  return false;
}

// The window system's message boxes behind the dialog service.
TDialogAnswer PlatformMessage(const TDialogRequest& r) {
  EnsureQtApplication();
  TDialogAnswer a;
  QWidget* parent = ActiveWindow();
  if (r.Kind == TDialogRequest::dkInputBox) {
    bool ok = false;
    const QString t = QInputDialog::getText(parent, ToQString(r.Caption), ToQString(r.Text), QLineEdit::Normal,
                                            ToQString(r.Default), &ok);
    a.Accepted = ok;
    a.Text = ok ? FromQString(t) : r.Default;
    a.Result = ok ? mrOk : mrCancel;
    return a;
  }
  QMessageBox box(parent);
  box.setText(ToQString(r.Text));
  box.setWindowTitle(ToQString(r.Caption));
  std::vector<std::pair<QPushButton*, int>> buttons;
  auto add = [&](const char* text, int result, QMessageBox::ButtonRole role) {
    buttons.emplace_back(box.addButton(text, role), result);
  };
  if (r.Kind == TDialogRequest::dkMessageBox) {
    switch (r.Flags & 0xF) {
      case MB_OKCANCEL: add("OK", IDOK, QMessageBox::AcceptRole); add("Cancel", IDCANCEL, QMessageBox::RejectRole); break;
      case MB_ABORTRETRYIGNORE:
        add("&Abort", IDABORT, QMessageBox::RejectRole);
        add("&Retry", IDRETRY, QMessageBox::AcceptRole);
        add("&Ignore", IDIGNORE, QMessageBox::AcceptRole);
        break;
      case MB_YESNOCANCEL:
        add("&Yes", IDYES, QMessageBox::YesRole);
        add("&No", IDNO, QMessageBox::NoRole);
        add("Cancel", IDCANCEL, QMessageBox::RejectRole);
        break;
      case MB_YESNO: add("&Yes", IDYES, QMessageBox::YesRole); add("&No", IDNO, QMessageBox::NoRole); break;
      case MB_RETRYCANCEL: add("&Retry", IDRETRY, QMessageBox::AcceptRole); add("Cancel", IDCANCEL, QMessageBox::RejectRole); break;
      default: add("OK", IDOK, QMessageBox::AcceptRole); break;
    }
    const unsigned icon = r.Flags & 0xF0;
    box.setIcon(icon == MB_ICONSTOP ? QMessageBox::Critical
                : icon == MB_ICONQUESTION ? QMessageBox::Question
                : icon == MB_ICONWARNING ? QMessageBox::Warning
                : icon == MB_ICONINFORMATION ? QMessageBox::Information
                                             : QMessageBox::NoIcon);
    const size_t def = (r.Flags >> 8) & 0xF;
    if (def < buttons.size()) box.setDefaultButton(buttons[def].first);
  } else if (r.Kind == TDialogRequest::dkMessageDlg) {
    static const std::pair<TMsgDlgBtn, const char*> names[] = {
        {mbYes, "&Yes"}, {mbNo, "&No"}, {mbOK, "OK"}, {mbCancel, "Cancel"}, {mbAbort, "&Abort"}, {mbRetry, "&Retry"},
        {mbIgnore, "&Ignore"}, {mbAll, "&All"}, {mbNoToAll, "N&o to All"}, {mbYesToAll, "Yes to &All"}, {mbHelp, "&Help"}};
    static const int results[] = {mrYes, mrNo, mrOk, mrCancel, mrAbort, mrRetry, mrIgnore, mrAll, mrNoToAll, mrYesToAll, 0};
    for (auto& [b, text] : names)
      if (r.Buttons.Contains(b)) add(text, results[b], QMessageBox::AcceptRole);
    if (buttons.empty()) add("OK", mrOk, QMessageBox::AcceptRole);
    box.setIcon(r.DlgType == mtError ? QMessageBox::Critical
                : r.DlgType == mtWarning ? QMessageBox::Warning
                : r.DlgType == mtConfirmation ? QMessageBox::Question
                : r.DlgType == mtInformation ? QMessageBox::Information
                                             : QMessageBox::NoIcon);
  } else {
    add("OK", IDOK, QMessageBox::AcceptRole);
    box.setIcon(QMessageBox::NoIcon);
  }
  if (r.X >= 0 && r.Y >= 0) box.move(r.X, r.Y);
  box.exec();
  a.Result = r.DefaultResult;
  for (auto& [b, result] : buttons)
    if (box.clickedButton() == b) a.Result = result;
  a.Accepted = true;
  return a;
}

}  // namespace

TCommonDialogHandler SetCommonDialogHandler(TCommonDialogHandler h) {
  TCommonDialogHandler old = std::move(Handler());
  Handler() = std::move(h);
  return old;
}

void InstallPlatformDialogs() {
  if (!Handler()) Handler() = &RunPlatformDialog;
  TDialogHandler previous = SetDialogHandler(&PlatformMessage);
  if (previous) SetDialogHandler(std::move(previous));
}

ZV_CLASS_IMPL_NOPROPS(TCommonDialog, TComponent)

bool TCommonDialog::Execute() {
  if (OnShow) OnShow(this);
  bool result = false;
  if (Handler()) {
    result = Handler()(this);
  } else {
    std::fprintf(stderr, "[dialog] %s: no dialog handler, cancelled\n", ClassName().c_str());
  }
  if (OnClose) OnClose(this);
  return result;
}

ZV_CLASS_IMPL_NOPROPS(TOpenDialog, TCommonDialog)

TOpenDialog::TOpenDialog(TComponent* AOwner) : TCommonDialog(AOwner) {}

bool TOpenDialog::Execute() {
  const bool ok = TCommonDialog::Execute();
  if (ok && FFiles.Count() == 0 && !FileName.empty()) FFiles.Add(FileName);
  return ok;
}

ZV_CLASS_IMPL_NOPROPS(TSaveDialog, TOpenDialog)
ZV_CLASS_IMPL_NOPROPS(TColorDialog, TCommonDialog)
ZV_CLASS_IMPL_NOPROPS(TFontDialog, TCommonDialog)

TFontDialog::TFontDialog(TComponent* AOwner) : TCommonDialog(AOwner), FFont(std::make_unique<TFont>()) {}

ZV_CLASS_IMPL_NOPROPS(TPrintDialog, TCommonDialog)
ZV_CLASS_IMPL_NOPROPS(TPrinterSetupDialog, TCommonDialog)
ZV_CLASS_IMPL_NOPROPS(TFindDialog, TCommonDialog)

bool TFindDialog::Execute() {
  FShowing = true;
  const bool ok = TCommonDialog::Execute();
  if (!ok) FShowing = false;
  return true;
}

TFindDialog::~TFindDialog() {
  auto it = FindWindows().find(this);
  if (it == FindWindows().end()) return;
  delete it->second.data();
  FindWindows().erase(it);
}

void TFindDialog::CloseDialog() {
  if (TFindWindow* w = FindWindowOf(this)) w->hide();
  if (!FShowing) return;
  FShowing = false;
  if (OnClose) OnClose(this);
}

void TFindDialog::FindNextPressed() {
  Options.Include(frFindNext);
  Options.Exclude(frReplace);
  Options.Exclude(frReplaceAll);
  if (OnFind) OnFind(this);
}

ZV_CLASS_IMPL_NOPROPS(TReplaceDialog, TFindDialog)

void TReplaceDialog::ReplacePressed(bool All) {
  Options.Exclude(frFindNext);
  if (All) {
    Options.Include(frReplaceAll);
    Options.Exclude(frReplace);
  } else {
    Options.Include(frReplace);
    Options.Exclude(frReplaceAll);
  }
  if (OnReplace) OnReplace(this);
}

ZV_CLASS_IMPL_NOPROPS(TSelectDirectoryDialog, TCommonDialog)

bool SelectDirectory(std::string& Directory, TSelectDirOpts Options, int HelpCtx) {
  TSelectDirectoryDialog dialog(nullptr);
  dialog.SetHelpContext(HelpCtx);
  dialog.Options = Options;
  std::string start = Directory;
  // Each refusal shows the dialog again, at the folder the user named; the
  // user (or a test's script running out) ends it with Cancel.
  for (;;) {
    dialog.Directory = start;
    if (!dialog.Execute()) return false;
    const std::string dir = dialog.Directory;
    if (dir.empty()) return false;
    start = dir;
    if (!DirectoryExists(dir)) {
      if (!Options.Contains(sdAllowCreate)) {
        MessageDlg("The specified directory does not exist.", mtError, {mbOK});
        continue;
      }
      if (Options.Contains(sdPerformCreate)) {
        if (Options.Contains(sdPrompt) &&
            MessageDlg("The specified directory does not exist. Create it?", mtConfirmation, {mbYes, mbNo}) != mrYes)
          continue;
        if (!ForceDirectories(dir)) {
          MessageDlg("Unable to create directory " + dir, mtError, {mbOK});
          continue;
        }
      }
    }
    Directory = dir;
    return true;
  }
}
