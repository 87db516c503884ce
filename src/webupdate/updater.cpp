#include "webupdate/updater.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <thread>

#include "platform/rtl/datetime.h"
#include "platform/rtl/fileutils.h"
#include "platform/rtl/inifiles.h"
#include "platform/rtl/process.h"
#include "platform/rtl/stringlist.h"
#include "platform/rtl/strutils.h"
#include "platform/rtl/sysinfo.h"
#include "webupdate/cabfdi.h"
#include "webupdate/wufiles.h"

namespace {

// List files may name further list files; this deep and no deeper, so a
// list that names itself ends.
constexpr int MaxListDepth = 4;

class TUpdater {
public:
  TUpdater(bool logging, const TUpdaterOptions& options) : FLogging(logging), FOptions(options) {}
  void Process(const std::string& name, const std::string& target, int depth);
  void Log(const std::string& text);
  void Settle() {
    if (FOptions.SettleMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(FOptions.SettleMs));
  }

private:
  void ProcessList(const std::string& name, int depth);
  bool FLogging;
  TUpdaterOptions FOptions;
};

void TUpdater::Log(const std::string& text) {
  if (!FLogging) return;
  FILE* f = std::fopen("WUPDATE.LOG", "a");
  if (!f) return;
  const std::string line = FormatDateTime("dd/mm/yyyy hh:nn:ss", Now()) + " : " + text + "\n";
  std::fwrite(line.data(), 1, line.size(), f);
  std::fclose(f);
}

bool EndsWithNew(const std::string& name) {
  return name.size() > 4 && UpperCase(name.substr(name.size() - 4)) == "_NEW";
}

void TUpdater::Process(const std::string& name, const std::string& target, int depth) {
  const std::string local = LocalPath(name);
  const std::string ext = UpperCase(ExtractFileExt(local));
  if (EndsWithNew(local)) {
    // The new file takes the old one's name in one step; without it, the
    // old file stays as it is.
    const std::string stem = local.substr(0, local.size() - 4);
    const std::string dest = LocalPath(target) + stem;
    if (!FileExists(local)) return;
    if (!IsSafeTarget(local) || !IsSafeTarget(dest)) {
      Log("upd refused target " + dest);
      return;
    }
    if (std::rename(local.c_str(), dest.c_str()) != 0)
      Log("upd io error " + std::to_string(errno) + " in rename file:" + dest);
  } else if (ext == ".INF") {
    ProcessList(local, depth);
  } else if (ext == ".PAT") {
    // There is no patcher program: a patch stays where it is.
    Log("upd patch not supported " + name);
  } else if (ext == ".CAB") {
    Log("upd cab extract " + name + " " + target);
    if (!IsSafeTarget(target)) {
      Log("upd refused target " + target);
      return;
    }
    if (ExtractCabinet(local, target) == 0) DeleteFile(local);
  } else if (ext == ".EXE") {
    Log("upd execute " + name + " " + target);
    const std::string program = local.find('/') == std::string::npos ? "./" + local : local;
    int error = 0;
    TProcessHandle p = CreateProcessArgs({program}, NORMAL_PRIORITY_CLASS, std::string(), TStartupInfo{}, error);
    if (p) {
      p->WaitFor(INFINITE);
      Settle();
      DeleteFile(local);
    } else {
      Log("upd io error " + std::to_string(error) + " in execute:" + name);
    }
  } else {
    const std::string expanded = LZExpandedName(local);
    if (expanded.empty()) return;  // not LZ-compressed: nothing to expand
    Log("upd lzexpand " + name + " " + target);
    Log("upd lzexpand dest. filename " + ExtractFileName(expanded));
    if (!IsSafeTarget(expanded) || (!target.empty() && !IsSafeTarget(target))) {
      Log("upd refused target " + target);
      return;
    }
    if (!ExpandLZFileTo(local, expanded)) return;
    if (!target.empty()) {
      const std::string dest = LocalPath(target) + ExtractFileName(expanded);
      if (std::rename(expanded.c_str(), dest.c_str()) != 0)
        Log("upd io error " + std::to_string(errno) + " in rename file:" + dest);
    }
  }
}

void TUpdater::ProcessList(const std::string& name, int depth) {
  Log("upd inf file " + name);
  if (depth >= MaxListDepth) return;
  TMemIniFile ini("./" + name);
  // No list has more entries than it has lines.
  TStringList keys;
  ini.ReadSection("FILES", keys);
  const int count = std::min(ini.ReadInteger("FILES", "COUNT", 0), keys.Count());
  for (int n = 1; n <= count; ++n) {
    const std::string file = ini.ReadString("FILES", "FILE" + std::to_string(n), "").substr(0, 128);
    const std::string target = ini.ReadString("FILES", "TARGET" + std::to_string(n), "").substr(0, 128);
    Log("upd inf: " + file + " " + target);
    const std::string expanded = ExpandUpdaterTarget(target);
    if (!IsSafeTarget(expanded)) {
      Log("upd refused target " + expanded);
      continue;
    }
    Process(file, expanded, depth + 1);
  }
}

bool ToPid(const std::string& s, unsigned& pid) {
  if (s.empty() || s.size() > 10) return false;
  unsigned long long v = 0;
  for (char ch : s) {
    if (ch < '0' || ch > '9') return false;
    v = v * 10 + static_cast<unsigned>(ch - '0');
  }
  if (v == 0 || v > 0x7FFFFFFFull) return false;
  pid = static_cast<unsigned>(v);
  return true;
}

std::string WithSlash(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

}  // namespace

std::string ExpandUpdaterTarget(const std::string& target) {
  return ExpandPrefixes(target, [](const std::string& name) -> std::string {
    if (name == "APP") return WithSlash(GetCurrentDir());
    if (name == "TMP") return WithSlash(TempFolder());
    if (name == "PF") return WithSlash(InstallationPrefix());
    return std::string();
  });
}

int RunUpdater(const std::vector<std::string>& args, const TUpdaterOptions& options) {
  unsigned pid = 0;
  if (args.empty() || !ToPid(args[0], pid)) return 1;
  WaitForProcessEnd(pid, INFINITE);
  TUpdater updater(args.size() > 1 && args[1] == "L", options);
  updater.Settle();
  for (size_t i = 3; i < args.size(); ++i) updater.Process(args[i], std::string(), 0);
  if (args.size() > 2 && args[2] != "null") {
    updater.Log("upd restart " + args[2]);
    int error = 0;
    CreateProcessArgs(SplitCommandLine(args[2]), NORMAL_PRIORITY_CLASS | CREATE_NEW_CONSOLE, std::string(),
                      TStartupInfo{}, error);
  }
  return 0;
}
