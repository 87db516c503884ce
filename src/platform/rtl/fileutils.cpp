#include "platform/rtl/fileutils.h"

#include <dirent.h>
#include <signal.h>
#include <sys/file.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include "platform/rtl/exceptions.h"
#include "platform/rtl/textfile.h"

namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

// Position of the last '/' or '\', npos when none.
std::string::size_type LastSeparator(const std::string& s) {
  for (std::string::size_type i = s.size(); i > 0; --i)
    if (IsSeparator(s[i - 1])) return i - 1;
  return std::string::npos;
}

// Position of the extension's dot, npos when the name part has none.
std::string::size_type ExtensionDot(const std::string& s) {
  const std::string::size_type dot = s.rfind('.');
  if (dot == std::string::npos) return dot;
  const std::string::size_type sep = LastSeparator(s);
  if (sep != std::string::npos && sep > dot) return std::string::npos;
  return dot;
}

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c; }

bool SameAscii(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}

// '*' and '?' matching, iterative with one back-track point.
bool WildMatch(const std::string& pattern, const std::string& text, bool ignoreCase) {
  size_t p = 0, t = 0, starP = std::string::npos, starT = 0;
  auto same = [ignoreCase](char a, char b) { return ignoreCase ? AsciiLower(a) == AsciiLower(b) : a == b; };
  while (t < text.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starT = t;
    } else if (p < pattern.size() && (pattern[p] == '?' || same(pattern[p], text[t]))) {
      ++p;
      ++t;
    } else if (starP != std::string::npos) {
      p = starP + 1;
      t = ++starT;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

std::string StripDot(const std::string& ext) { return !ext.empty() && ext[0] == '.' ? ext.substr(1) : ext; }

}  // namespace

bool FileExists(const std::string& fileName) {
  struct stat st;
  return !fileName.empty() && ::stat(fileName.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const std::string& dir) {
  struct stat st;
  return !dir.empty() && ::stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool ForceDirectories(const std::string& dir) {
  if (dir.empty()) return false;
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(ExcludeTrailingPathDelimiter(dir)), ec);
  return DirectoryExists(dir);
}

bool CreateDir(const std::string& dir) { return !dir.empty() && ::mkdir(dir.c_str(), 0777) == 0; }

bool RemoveDir(const std::string& dir) { return !dir.empty() && ::rmdir(dir.c_str()) == 0; }

bool DeleteFile(const std::string& fileName) {
  if (fileName.empty()) return false;
  struct stat st;
  if (::lstat(fileName.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
  return ::unlink(fileName.c_str()) == 0;
}

bool RenameFile(const std::string& oldName, const std::string& newName) {
  if (oldName.empty() || newName.empty()) return false;
  if (oldName == newName) return ::access(oldName.c_str(), F_OK) == 0;
  // The class library's rename never replaces an existing file.
  if (::renameat2(AT_FDCWD, oldName.c_str(), AT_FDCWD, newName.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  struct stat st;  // a file system without no-replace renames
  if (::lstat(newName.c_str(), &st) == 0) return false;
  return std::rename(oldName.c_str(), newName.c_str()) == 0;
}

bool CopyFile(const std::string& source, const std::string& target, bool failIfExists) {
  if (source.empty() || target.empty()) return false;
  if (failIfExists && ::access(target.c_str(), F_OK) == 0) return false;
  struct stat src, dst;
  if (::stat(source.c_str(), &src) != 0 || S_ISDIR(src.st_mode)) return false;
  if (::stat(target.c_str(), &dst) == 0 && src.st_dev == dst.st_dev && src.st_ino == dst.st_ino) return false;
  try {
    WriteFileAtomic(target, ReadFileText(source));
  } catch (const EInOutError&) {
    return false;
  }
  return true;
}

long long FileSize(const std::string& fileName) {
  struct stat st;
  if (fileName.empty() || ::stat(fileName.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return -1;
  return static_cast<long long>(st.st_size);
}

double FileAge(const std::string& fileName) {
  struct stat st;
  if (fileName.empty() || ::stat(fileName.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return -1;
  struct tm local;
  const time_t seconds = st.st_mtim.tv_sec;
  if (!localtime_r(&seconds, &local)) return -1;
  // Local wall-clock seconds since 1970, then days since 30 Dec 1899.
  const double localSeconds = static_cast<double>(seconds) + static_cast<double>(local.tm_gmtoff);
  return localSeconds / 86400.0 + 25569.0 + static_cast<double>(st.st_mtim.tv_nsec) / 1e9 / 86400.0;
}

namespace {

[[noreturn]] void SaveFailed(const std::string& fileName, const std::string& what, int err, int code) {
  std::string message = "Cannot save " + fileName + ": " + what;
  if (err != 0) message += std::string(" - ") + std::strerror(err);
  throw EInOutError(message + "; the file was not changed.", code, err);
}

bool ProcessAlive(pid_t pid) { return pid > 0 && (::kill(pid, 0) == 0 || errno != ESRCH); }

// "<name>.tmp<pid>-<n>": the pid, or 0 when the entry is no such name.
pid_t TempOwner(const std::string& entry, const std::string& name) {
  const std::string prefix = name + ".tmp";
  if (entry.size() <= prefix.size() || entry.compare(0, prefix.size(), prefix) != 0) return 0;
  const std::string rest = entry.substr(prefix.size());
  const std::string::size_type dash = rest.find('-');
  if (dash == 0 || dash == std::string::npos || dash + 1 == rest.size() || dash > 9) return 0;
  if (rest.find_first_not_of("0123456789-") != std::string::npos || rest.find('-', dash + 1) != std::string::npos)
    return 0;
  return static_cast<pid_t>(std::stol(rest.substr(0, dash)));
}

}  // namespace

int RemoveStaleTempFiles(const std::string& fileName) {
  const std::string name = ExtractFileName(fileName);
  if (name.empty()) return 0;
  const std::string folder = ExtractFilePath(fileName);
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return 0;
  int removed = 0;
  while (dirent* entry = ::readdir(dir)) {
    const pid_t owner = TempOwner(entry->d_name, name);
    if (owner == 0 || ProcessAlive(owner)) continue;
    const std::string path = folder + entry->d_name;
    struct stat st;
    // Only plain files of this user: never a link or another user's file.
    if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) continue;
    if (::unlink(path.c_str()) == 0) ++removed;
  }
  ::closedir(dir);
  return removed;
}

void WriteFileAtomic(const std::string& fileName, const std::string& data) {
  WriteFileAtomic(fileName, data.data(), data.size());
}

void WriteFileAtomic(const std::string& fileName, const void* data, size_t size) {
  if (fileName.empty()) throw EInOutError("I/O error 2 (File not found): empty file name", 2);
  std::string target = fileName;
  // Replace the file a symbolic link points to, not the link.
  char resolved[PATH_MAX];
  struct stat lst;
  if (::lstat(fileName.c_str(), &lst) == 0 && S_ISLNK(lst.st_mode) && ::realpath(fileName.c_str(), resolved))
    target = resolved;

  mode_t mode = 0666;
  bool existing = false;
  struct stat st;
  if (::stat(target.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) SaveFailed(fileName, "it is a folder", 0, 5);
    if (!S_ISREG(st.st_mode)) SaveFailed(fileName, "it is not a plain file", 0, 5);
    // Renaming would replace a write-protected file; the user protected it.
    if (::access(target.c_str(), W_OK) != 0) {
      const int err = errno;
      SaveFailed(fileName, "the file is read-only", err, 5);
    }
    mode = st.st_mode & 07777;
    existing = true;
  }
  RemoveStaleTempFiles(target);

  static std::atomic<unsigned> counter{0};
  const std::string temp = target + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, existing ? 0600 : mode);
  if (fd < 0) {
    const int err = errno;
    SaveFailed(fileName, "cannot create a temporary file in " + ExtractFileDir(target), err,
               err == ENOENT ? 3 : InOutErrorCode(err));
  }
  auto fail = [&](const char* what, int err) {
    ::close(fd);
    ::unlink(temp.c_str());
    SaveFailed(fileName, what, err, 101);
  };
  const char* p = static_cast<const char*>(data);
  size_t left = size;
  while (left > 0) {
    const ssize_t n = ::write(fd, p, std::min<size_t>(left, size_t(1) << 30));
    if (n < 0) {
      if (errno == EINTR) continue;
      fail("writing failed", errno);
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
  if (existing) {
    // Keep the owner (when we may) and the mode of the file replaced.
    [[maybe_unused]] const int owned = ::fchown(fd, st.st_uid, st.st_gid);
    if (::fchmod(fd, mode) != 0) fail("setting the file mode failed", errno);
  }
  if (::fsync(fd) != 0 && errno != EINVAL) fail("flushing to disk failed", errno);
  if (::close(fd) != 0) {
    const int err = errno;
    ::unlink(temp.c_str());
    SaveFailed(fileName, "writing failed", err, 101);
  }
  if (std::rename(temp.c_str(), target.c_str()) != 0) {
    const int err = errno;
    ::unlink(temp.c_str());
    SaveFailed(fileName, "replacing the file failed", err, InOutErrorCode(err));
  }
  // The rename itself reaches the disk with the folder.
  const int dirFd = ::open(ExtractFileDir(target).empty() ? "." : ExtractFileDir(target).c_str(),
                           O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd >= 0) {
    ::fsync(dirFd);
    ::close(dirFd);
  }
}

TFolderLock::TFolderLock(const std::string& fileName) {
  const std::string folder = ExtractFileDir(fileName);
  FHandle = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (FHandle < 0) return;
  while (::flock(FHandle, LOCK_EX) != 0) {
    if (errno == EINTR) continue;
    ::close(FHandle);  // a file system without locks
    FHandle = -1;
    return;
  }
}

TFolderLock::~TFolderLock() {
  if (FHandle >= 0) ::close(FHandle);  // also releases the lock
}

std::string ExtractFilePath(const std::string& fileName) {
  const std::string::size_type sep = LastSeparator(fileName);
  return sep == std::string::npos ? std::string() : fileName.substr(0, sep + 1);
}

std::string ExtractFileDir(const std::string& fileName) {
  const std::string::size_type sep = LastSeparator(fileName);
  if (sep == std::string::npos) return std::string();
  if (sep == 0) return fileName.substr(0, 1);  // the root keeps its separator
  return fileName.substr(0, sep);
}

std::string ExtractFileName(const std::string& fileName) {
  const std::string::size_type sep = LastSeparator(fileName);
  return sep == std::string::npos ? fileName : fileName.substr(sep + 1);
}

std::string ExtractFileExt(const std::string& fileName) {
  const std::string::size_type dot = ExtensionDot(fileName);
  return dot == std::string::npos ? std::string() : fileName.substr(dot);
}

std::string ChangeFileExt(const std::string& fileName, const std::string& ext) {
  const std::string::size_type dot = ExtensionDot(fileName);
  return (dot == std::string::npos ? fileName : fileName.substr(0, dot)) + ext;
}

std::string ExtractFileDrive(const std::string&) { return std::string(); }

std::string IncludeTrailingPathDelimiter(const std::string& path) {
  if (path.empty() || path.back() == PathDelim) return path;
  return path + PathDelim;
}

std::string ExcludeTrailingPathDelimiter(const std::string& path) {
  std::string result = path;
  while (result.size() > 1 && result.back() == PathDelim) result.pop_back();
  return result;
}

std::string ExpandFileName(const std::string& fileName) {
  std::filesystem::path p(fileName.empty() ? GetCurrentDir() : fileName);
  if (p.is_relative()) p = std::filesystem::path(GetCurrentDir()) / p;
  std::string result = p.lexically_normal().string();
  // "a/b/.." normalises to "a/"; keep the trailing separator only for the root.
  if (result.size() > 1 && result.back() == PathDelim) result.pop_back();
  return result;
}

bool SameFileExt(const std::string& a, const std::string& b) { return SameAscii(StripDot(a), StripDot(b)); }

bool HasFileExt(const std::string& fileName, const std::string& ext) {
  const std::string own = ExtractFileExt(fileName);
  if (own.empty()) return StripDot(ext).empty();
  return SameFileExt(own, ext);
}

bool SameFileName(const std::string& a, const std::string& b) { return a == b; }

std::string GetCurrentDir() {
  std::vector<char> buffer(PATH_MAX);
  for (;;) {
    if (::getcwd(buffer.data(), buffer.size())) return std::string(buffer.data());
    if (errno != ERANGE) return std::string();
    buffer.resize(buffer.size() * 2);
  }
}

bool SetCurrentDir(const std::string& dir) { return !dir.empty() && ::chdir(dir.c_str()) == 0; }

bool MatchesMask(const std::string& name, const std::string& wildcard) {
  if (wildcard == "*" || wildcard == "*.*") return true;
  const std::string::size_type patDot = wildcard.rfind('.');
  if (patDot == std::string::npos) return WildMatch(wildcard, name, false);
  const std::string patStem = wildcard.substr(0, patDot), patExt = wildcard.substr(patDot + 1);
  const std::string::size_type nameDot = name.rfind('.');
  const std::string stem = nameDot == std::string::npos ? name : name.substr(0, nameDot);
  const std::string ext = nameDot == std::string::npos ? std::string() : name.substr(nameDot + 1);
  if (!patExt.empty() && patExt.find_first_not_of('*') == std::string::npos) {
    // "name*.*": any extension, or none at all.
    return WildMatch(wildcard, name, false) || (nameDot == std::string::npos && WildMatch(patStem, name, false));
  }
  if (nameDot == std::string::npos && !patExt.empty()) return false;
  return WildMatch(patStem, stem, false) && WildMatch(patExt, ext, true);
}

std::vector<std::string> FindFiles(const std::string& folder, const std::string& wildcard) {
  std::vector<std::string> names;
  const std::string dirName = folder.empty() ? std::string(".") : folder;
  DIR* dir = ::opendir(dirName.c_str());
  if (!dir) return names;
  const bool withHidden = !wildcard.empty() && wildcard[0] == '.';
  const std::string base = IncludeTrailingPathDelimiter(dirName);
  while (dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    if (name[0] == '.' && !withHidden) continue;
    if (!MatchesMask(name, wildcard)) continue;
    struct stat st;
    if (::stat((base + name).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
    names.push_back(name);
  }
  ::closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}
