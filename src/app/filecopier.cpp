#include "app/filecopier.h"

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <fstream>

#include "platform/dialogs.h"
#include "platform/rtl/fileutils.h"
#include "platform/rtl/textfile.h"
#include "platform/ui/sound.h"

namespace {

constexpr std::streamsize kBlockSize = 16384;

bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa, sb;
  return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

}  // namespace

ZV_CLASS_IMPL(TFileCopy, TComponent)

void TFileCopy::DeclareProperties(TClassInfo& c) {
  c.String<TFileCopy>("SourceFile", &TFileCopy::SourceFile, &TFileCopy::SetSourceFile, std::string());
  c.String<TFileCopy>("TargetFile", &TFileCopy::TargetFile, &TFileCopy::SetTargetFile, std::string());
  c.Boolean<TFileCopy>("ShowOverwrite", &TFileCopy::ShowOverwrite, &TFileCopy::SetShowOverwrite, true);
}

TFileCopy::TFileCopy(TComponent* AOwner) : TComponent(AOwner) {}

bool TFileCopy::Execute() {
  if (FSourceFile.empty()) {
    ShowMessage("I can't copy\rSource File name missing");
    return false;
  }
  if (FTargetFile.empty()) {
    ShowMessage("I can't copy\rTarget File name missing");
    return false;
  }
  if (CopyFile(FSourceFile, FTargetFile)) return true;
  ShowMessage("Execution failed");
  return false;
}

void TFileCopy::Progress(double readPercent, double writePercent) {
  auto* owner = dynamic_cast<TWinControl*>(Owner());
  if (!owner || !owner->HandleAllocated()) return;
  // Blocks past the size's estimate would count beyond 100.
  auto percent = [](double p) { return static_cast<WPARAM>(std::lround(std::min(p, 100.0))); };
  SendMessage(owner->Handle(), WM_FILECOPY_PROGRESS, percent(readPercent),
              static_cast<LPARAM>(percent(writePercent)));
}

void TFileCopy::Fail(const std::string& message) {
  MessageBeep(MB_OK);
  const TCursor saved = ScreenCursor().Cursor();
  ScreenCursor().SetCursor(crDefault);
  ShowMessage(message);
  ScreenCursor().SetCursor(saved);
  if (auto* owner = dynamic_cast<TControl*>(Owner())) owner->Invalidate();
}

bool TFileCopy::CopyFile(const std::string& source, const std::string& target) {
  // "./a" and "a", or a link to the source, are the same file too; found before
  // anything is written, so the source is never truncated.
  if (source == target || SameFile(source, target)) {
    Fail("Error !!!\rCan't copy the file on itself");
    return false;
  }
  // A pipe or a device has no end to copy to (and a pipe would hold the open).
  try {
    CheckRegularFile(source);
  } catch (const EFileKind& e) {
    Fail(e.Message());
    return false;
  } catch (const Exception&) {
  }
  std::ifstream in(source, std::ios::binary);
  std::streamoff size = -1;
  if (in && in.seekg(0, std::ios::end)) size = in.tellg();
  if (size < 0 || !in.seekg(0, std::ios::beg)) {
    Fail(source + " missing or damaged");
    return false;
  }
  // The percentage per block; a source below one block is done in one step.
  const double step = size < kBlockSize ? 100.0 : 100.0 / (static_cast<double>(size) / kBlockSize);

  if (FileExists(target) &&
      MessageDlg("The file " + target + "\r" + " already exists. Overwrite ?", mtInformation, {mbYes, mbNo}) !=
          mrYes)
    return false;

  std::string data;
  double readProgress = 0;
  char buffer[kBlockSize];
  for (;;) {
    in.read(buffer, kBlockSize);
    const std::streamsize got = in.gcount();
    if (in.bad()) {
      Fail("Error reading \r" + source + "\r" + "Copy failed.");
      return false;
    }
    readProgress += step;
    Progress(readProgress, 0);
    if (got <= 0) break;
    data.append(buffer, static_cast<size_t>(got));
    if (in.eof()) break;
  }
  // The target appears whole or not at all: a failed write leaves the old one.
  try {
    WriteFileAtomic(target, data);
  } catch (const EInOutError& e) {
    if (e.ErrorCode == 101)
      Fail("Error writing \r" + target + "\r" + "Copy failed.");
    else
      Fail("Error on creating " + target);
    return false;
  }
  Progress(100, 100);
  return true;
}
