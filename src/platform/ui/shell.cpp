#include "platform/ui/shell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

#include <sys/stat.h>

#include "platform/ui/qt_ui.h"

namespace {
TShellOpenHandler& Hook() {
  static TShellOpenHandler h;
  return h;
}

bool IsUrl(const std::string& s) { return s.find("://") != std::string::npos || s.rfind("mailto:", 0) == 0; }
}  // namespace

TShellOpenHandler SetShellOpenHandler(TShellOpenHandler Handler) {
  TShellOpenHandler old = std::move(Hook());
  Hook() = std::move(Handler);
  return old;
}

intptr_t ShellExecute(HWND, const std::string& Operation, const std::string& File, const std::string& Parameters,
                      const std::string& Directory, int) {
  if (File.empty()) return SE_ERR_FNF;
  if (Hook()) return Hook()(Operation, File, Parameters) ? 42 : SE_ERR_NOASSOC;
  EnsureQtApplication();
  if (IsUrl(File)) return QDesktopServices::openUrl(QUrl(ToQString(File))) ? 42 : SE_ERR_NOASSOC;
  std::string path = File;
  if (!Directory.empty() && path[0] != '/') path = Directory + "/" + path;
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) return SE_ERR_FNF;
  const QFileInfo info(ToQString(path));
  if (info.isExecutable() && !info.isDir() && (Operation.empty() || Operation == "open")) {
    const QStringList args = QProcess::splitCommand(ToQString(Parameters));
    return QProcess::startDetached(ToQString(path), args, ToQString(Directory)) ? 42 : SE_ERR_ACCESSDENIED;
  }
  return QDesktopServices::openUrl(QUrl::fromLocalFile(ToQString(path))) ? 42 : SE_ERR_NOASSOC;
}

bool OpenURL(const std::string& Url) { return ShellExecute(0, "open", Url, "", "", SW_SHOWNORMAL) > 32; }

bool OpenDocument(const std::string& FileName) {
  return ShellExecute(0, "open", FileName, "", "", SW_SHOWNORMAL) > 32;
}
