#include "platform/rtl/mailto.h"

#include <unistd.h>

#include <cstdlib>
#include <mutex>

#include "platform/rtl/process.h"

namespace {

TMailHandler& Handler() {
  static TMailHandler handler;
  return handler;
}

bool OnPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/bin:/bin";
  size_t start = 0;
  while (start <= dirs.size()) {
    size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    std::string dir = dirs.substr(start, end - start);
    if (dir.empty()) dir = ".";
    if (::access((dir + "/" + program).c_str(), X_OK) == 0) return true;
    start = end + 1;
  }
  return false;
}

// A command-line argument kept whole: quotes grouping, a quote itself dropped.
std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text)
    if (c != '"') out += c;
  return out + "\"";
}

int RunXdgEmail(const std::string& Subject, const std::string& FileName, const std::function<void()>& WhileWaiting) {
  int error = 0;
  const std::string args = "--utf8 --subject " + Quoted(Subject) + " --attach " + Quoted(FileName);
  TProcessHandle p = CreateProcess("xdg-email", args, 0, "", TStartupInfo(), error);
  if (!p) return 127;
  // The mail program may run until the user is done with the mail.
  while (p->WaitFor(100) == WAIT_TIMEOUT)
    if (WhileWaiting) WhileWaiting();
  DWORD code = 0;
  if (!p->GetExitCode(code)) return 127;
  return static_cast<int>(code);
}

}  // namespace

TMailHandler SetMailHandler(TMailHandler Handler_) {
  TMailHandler previous = std::move(Handler());
  Handler() = std::move(Handler_);
  return previous;
}

int MailAttachment(const std::string& Subject, const std::string& FileName, const std::function<void()>& WhileWaiting) {
  if (Handler()) return Handler()(Subject, FileName);
  return RunXdgEmail(Subject, FileName, WhileWaiting);
}

bool MailAvailable() {
  if (Handler()) return true;
  static std::once_flag once;
  static bool found = false;
  std::call_once(once, [] { found = OnPath("xdg-email"); });
  return found;
}
