#include "platform/rtl/sysinfo.h"

#include <algorithm>

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <vector>

#include "platform/rtl/exceptions.h"

namespace {

std::string WithSlash(std::string path) {
  if (path.empty() || path.back() != '/') path += '/';
  return path;
}

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? std::string(v) : std::string();
}

}  // namespace

TMemoryStatus GlobalMemoryStatus() {
  TMemoryStatus status;
  std::ifstream in("/proc/meminfo");
  uint64_t memFree = 0, buffers = 0, cached = 0, swapTotal = 0, swapFree = 0;
  bool haveAvailable = false;
  std::string key;
  uint64_t kib = 0;
  std::string unit;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    if (!(fields >> key >> kib)) continue;
    const uint64_t bytes = kib * 1024;
    if (key == "MemTotal:") status.TotalPhys = bytes;
    else if (key == "MemAvailable:") { status.AvailPhys = bytes; haveAvailable = true; }
    else if (key == "MemFree:") memFree = bytes;
    else if (key == "Buffers:") buffers = bytes;
    else if (key == "Cached:") cached = bytes;
    else if (key == "SwapTotal:") swapTotal = bytes;
    else if (key == "SwapFree:") swapFree = bytes;
  }
  if (!haveAvailable) status.AvailPhys = memFree + buffers + cached;
  if (status.AvailPhys > status.TotalPhys) status.AvailPhys = status.TotalPhys;
  status.TotalPageFile = status.TotalPhys + swapTotal;
  status.AvailPageFile = status.AvailPhys + swapFree;
  if (status.TotalPhys > 0)
    status.MemoryLoad = static_cast<unsigned>(((status.TotalPhys - status.AvailPhys) * 100 + status.TotalPhys / 2) /
                                              status.TotalPhys);
  return status;
}

uint64_t PhysicalMemorySize() { return GlobalMemoryStatus().TotalPhys; }
uint64_t AvailablePhysicalMemory() { return GlobalMemoryStatus().AvailPhys; }
unsigned MemoryLoad() { return GlobalMemoryStatus().MemoryLoad; }

TPlatformVersion GetPlatformVersion() {
  TPlatformVersion v;
  struct utsname u;
  if (::uname(&u) != 0) return v;
  v.Name = u.sysname;
  v.Release = u.release;
  v.Machine = u.machine;
  std::sscanf(u.release, "%d.%d", &v.Major, &v.Minor);
  return v;
}

bool GetVersionEx(TOSVersionInfo& Info) {
  Info = TOSVersionInfo{};
  struct utsname u;
  if (::uname(&u) != 0) return false;
  int major = 0, minor = 0, build = 0;
  std::sscanf(u.release, "%d.%d.%d", &major, &minor, &build);
  Info.PlatformId = VER_PLATFORM_POSIX;
  Info.MajorVersion = static_cast<unsigned>(std::max(major, 0));
  Info.MinorVersion = static_cast<unsigned>(std::max(minor, 0));
  Info.BuildNumber = static_cast<unsigned>(std::max(build, 0));
  Info.CSDVersion = std::string(u.sysname) + " " + u.machine;
  return true;
}

std::string PlatformVersion() {
  const TPlatformVersion v = GetPlatformVersion();
  return v.Name + " " + v.Release + " " + v.Machine;
}

std::string ComputerName() {
  char name[HOST_NAME_MAX + 1] = {};
  if (::gethostname(name, sizeof name - 1) != 0) return std::string();
  return name;
}

std::string UserName() {
  std::vector<char> buffer(16384);
  struct passwd pw, *result = nullptr;
  if (::getpwuid_r(::getuid(), &pw, buffer.data(), buffer.size(), &result) == 0 && result) return pw.pw_name;
  return Env("USER");
}

std::string HomeFolder() {
  std::string home = Env("HOME");
  if (home.empty()) {
    std::vector<char> buffer(16384);
    struct passwd pw, *result = nullptr;
    if (::getpwuid_r(::getuid(), &pw, buffer.data(), buffer.size(), &result) == 0 && result) home = pw.pw_dir;
  }
  return home.empty() ? std::string("/") : WithSlash(home);
}

std::string ProgramFileName() {
  std::vector<char> buffer(PATH_MAX);
  for (;;) {
    const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n < 0) return std::string();
    if (static_cast<size_t>(n) < buffer.size()) return std::string(buffer.data(), static_cast<size_t>(n));
    buffer.resize(buffer.size() * 2);
  }
}

std::string ProgramFolder() {
  const std::string exe = ProgramFileName();
  const std::string::size_type slash = exe.rfind('/');
  return slash == std::string::npos ? std::string("./") : exe.substr(0, slash + 1);
}

std::string TempFolder() {
  const std::string tmp = Env("TMPDIR");
  return WithSlash(tmp.empty() ? std::string("/tmp") : tmp);
}

std::string ConfigFolder() {
  const std::string own = Env("ZELVORA_CONFIG_HOME");
  if (!own.empty()) return WithSlash(own);
  const std::string xdg = Env("XDG_CONFIG_HOME");
  if (!xdg.empty() && xdg[0] == '/') return WithSlash(xdg) + "Zelvora/";
  return HomeFolder() + ".config/Zelvora/";
}

std::string GetEnvironmentVariable(const std::string& name) { return Env(name.c_str()); }

uint64_t GetTickCount() {
  using namespace std::chrono;
  return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

unsigned GetCurrentProcessId() { return static_cast<unsigned>(::getpid()); }

// ---------------------------------------------------------------------------
// The private work folder.

namespace {

struct TWorkFolderState {
  std::mutex Lock;
  std::string Path;  // with trailing '/', empty when not made
  pid_t Owner = 0;   // the process that made it
  bool ExitHookSet = false;
};

TWorkFolderState& WorkState() {
  // Never destroyed: the exit hook may run after static destructors.
  static TWorkFolderState* state = new TWorkFolderState;
  return *state;
}

[[noreturn]] void WorkFolderError(const std::string& what, int err) {
  std::string message = "I/O error 5 (Access denied): cannot make a private work folder: " + what;
  if (err) message += std::string(" - ") + std::strerror(err);
  throw EInOutError(message, 5);
}

// Makes the per-user base folder, or checks that an existing one is safe.
void EnsurePrivateBase(const std::string& base) {
  if (::mkdir(base.c_str(), 0700) != 0 && errno != EEXIST) WorkFolderError(base, errno);
  struct stat st;
  if (::lstat(base.c_str(), &st) != 0) WorkFolderError(base, errno);
  if (S_ISLNK(st.st_mode) || !S_ISDIR(st.st_mode)) WorkFolderError(base + " is not a folder", 0);
  if (st.st_uid != ::getuid()) WorkFolderError(base + " belongs to another user", 0);
  if ((st.st_mode & 077) != 0 && ::chmod(base.c_str(), 0700) != 0) WorkFolderError(base, errno);
}

std::string WorkBase() {
  const std::string uid = std::to_string(::getuid());
  if (!Env("TMPDIR").empty()) return TempFolder() + "zelvora-" + uid;
  const std::string runtime = Env("XDG_RUNTIME_DIR");
  if (!runtime.empty() && runtime[0] == '/') {
    struct stat st;
    if (::stat(runtime.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid())
      return WithSlash(runtime) + "zelvora";
  }
  return "/tmp/zelvora-" + uid;
}

void RemoveTree(const std::string& path) {
  std::error_code ec;
  std::filesystem::remove_all(std::filesystem::path(path), ec);
}

void RemoveWorkFolderAtExit() {
  TWorkFolderState& state = WorkState();
  std::lock_guard<std::mutex> guard(state.Lock);
  if (!state.Path.empty() && state.Owner == ::getpid()) RemoveTree(state.Path);
  state.Path.clear();
}

// The pid of a work folder's name "<pid>-XXXXXX"; 0 when it is no such name.
pid_t WorkFolderOwner(const std::string& name) {
  const std::string::size_type dash = name.find('-');
  if (dash == 0 || dash == std::string::npos || dash > 9 || name.size() != dash + 7) return 0;
  if (name.find_first_not_of("0123456789") != dash) return 0;
  return static_cast<pid_t>(std::stol(name.substr(0, dash)));
}

int RemoveStaleWorkFoldersIn(const std::string& base) {
  DIR* dir = ::opendir(base.c_str());
  if (!dir) return 0;
  std::vector<std::string> stale;
  while (dirent* entry = ::readdir(dir)) {
    const pid_t owner = WorkFolderOwner(entry->d_name);
    if (owner == 0 || owner == ::getpid()) continue;
    if (::kill(owner, 0) == 0 || errno != ESRCH) continue;  // still running (or not ours to ask)
    const std::string path = base + "/" + entry->d_name;
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid()) continue;
    stale.push_back(path);
  }
  ::closedir(dir);
  for (const std::string& path : stale) RemoveTree(path);
  return static_cast<int>(stale.size());
}

}  // namespace

int RemoveStaleWorkFolders() {
  const std::string base = WorkBase();
  struct stat st;
  // Only a base that is ours and a real folder: nothing is removed elsewhere.
  if (::lstat(base.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid()) return 0;
  return RemoveStaleWorkFoldersIn(base);
}

std::string WorkFolder() {
  TWorkFolderState& state = WorkState();
  std::lock_guard<std::mutex> guard(state.Lock);
  const pid_t self = ::getpid();
  if (!state.Path.empty() && state.Owner == self) {
    struct stat st;
    if (::lstat(state.Path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return state.Path;
  }
  // A forked child gets its own; the parent's stays the parent's.
  state.Path.clear();
  const std::string base = WorkBase();
  EnsurePrivateBase(base);
  if (!state.ExitHookSet) RemoveStaleWorkFoldersIn(base);  // once, when the program starts its work
  std::string pattern = base + "/" + std::to_string(self) + "-XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (!::mkdtemp(buffer.data())) WorkFolderError(pattern, errno);
  state.Path = std::string(buffer.data()) + "/";
  state.Owner = self;
  if (!state.ExitHookSet) {
    state.ExitHookSet = true;
    std::atexit(RemoveWorkFolderAtExit);
  }
  return state.Path;
}

// ---------------------------------------------------------------------------
// The run folder.

namespace {

struct TRunFolderState {
  std::mutex Lock;
  std::string Path;  // with trailing '/', empty when not held
  pid_t Owner = 0;
};

TRunFolderState& RunState() {
  static TRunFolderState* state = new TRunFolderState;
  return *state;
}

// Makes each missing folder of the path (private when made here).
void MakeFolders(const std::string& path) {
  std::string sofar;
  for (std::string::size_type at = 1; at != std::string::npos;) {
    at = path.find('/', at + 1);
    sofar = path.substr(0, at);
    if (::mkdir(sofar.c_str(), 0700) != 0 && errno != EEXIST) WorkFolderError(sofar, errno);
  }
}

}  // namespace

std::string RunFolder() {
  TRunFolderState& state = RunState();
  std::lock_guard<std::mutex> guard(state.Lock);
  const pid_t self = ::getpid();
  if (!state.Path.empty() && state.Owner == self) return state.Path;
  const std::string xdg = Env("XDG_CACHE_HOME");
  const std::string cache = !xdg.empty() && xdg[0] == '/' ? WithSlash(xdg) : HomeFolder() + ".cache/";
  MakeFolders(cache + "Zelvora");
  EnsurePrivateBase(cache + "Zelvora");
  for (int n = 1; n <= 99; ++n) {
    const std::string folder = cache + "Zelvora/run" + (n == 1 ? std::string() : "-" + std::to_string(n));
    EnsurePrivateBase(folder);
    // Held by a lock for the process's life (freed by the system when it
    // ends); a folder another running program holds is passed over.
    const std::string lockName = folder + "/.lock";
    const int fd = ::open(lockName.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) WorkFolderError(lockName, errno);
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      state.Path = folder + "/";
      state.Owner = self;
      return state.Path;  // the descriptor stays open: the hold lasts the run
    }
    ::close(fd);
  }
  WorkFolderError(cache + "Zelvora/run-99: every run folder is held by a running program", 0);
}

void RemoveWorkFolder() {
  TWorkFolderState& state = WorkState();
  std::lock_guard<std::mutex> guard(state.Lock);
  if (!state.Path.empty() && state.Owner == ::getpid()) RemoveTree(state.Path);
  state.Path.clear();
}
