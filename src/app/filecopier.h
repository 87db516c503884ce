// A non-visual component that copies one file to another, asks before
// overwriting, reports its progress to the owner window and shows its own
// error messages.
#pragma once

#include <string>

#include "platform/ui/controls.h"

// Sent to the owner window: WParam the read progress, LParam the write
// progress, both in percent.
constexpr unsigned WM_FILECOPY_PROGRESS = 8801;

class TFileCopy : public TComponent {
  ZV_CLASS(TFileCopy)
public:
  explicit TFileCopy(TComponent* AOwner);

  const std::string& SourceFile() const { return FSourceFile; }
  void SetSourceFile(const std::string& v) { FSourceFile = v; }
  const std::string& TargetFile() const { return FTargetFile; }
  void SetTargetFile(const std::string& v) { FTargetFile = v; }
  // Kept for the form files; the copy always asks before overwriting.
  bool ShowOverwrite() const { return FShowOverwrite; }
  void SetShowOverwrite(bool v) { FShowOverwrite = v; }

  // Copies SourceFile to TargetFile; true when the copy was made.
  bool Execute();
  bool CopyFile(const std::string& source, const std::string& target);

private:
  void Progress(double readPercent, double writePercent);
  void Fail(const std::string& message);

  std::string FSourceFile;
  std::string FTargetFile;
  bool FShowOverwrite = true;
};
