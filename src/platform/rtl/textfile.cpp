#include "platform/rtl/textfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string_view>
#include <vector>

#include "platform/rtl/fileutils.h"

namespace {

const char* InOutErrorText(int code) {
  switch (code) {
    case 2: return "File not found";
    case 3: return "Path not found";
    case 4: return "Too many open files";
    case 5: return "Access denied";
    case 100: return "Read beyond end of file";
    case 101: return "Disk write error";
    case 103: return "File not open";
    case 104: return "File not open for input";
    case 105: return "File not open for output";
    case 106: return "Invalid numeric format";
    default: return "Input/output error";
  }
}

// The folder part of a name, for telling "file not found" from "path not found".
bool ParentFolderExists(const std::string& fileName) {
  const std::string::size_type slash = fileName.rfind('/');
  if (slash == std::string::npos) return true;
  const std::string dir = slash == 0 ? "/" : fileName.substr(0, slash);
  struct stat st;
  return ::stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

[[noreturn]] void RaiseInOut(int code, const std::string& fileName, int sysErr) {
  std::string message = "I/O error " + std::to_string(code) + " (" + InOutErrorText(code) + ")";
  if (!fileName.empty()) message += ": " + fileName;
  if (sysErr != 0 && code != 2 && code != 3) message += std::string(" - ") + std::strerror(sysErr);
  throw EInOutError(message, code);
}

int OpenErrorCode(int sysErr, const std::string& fileName) {
  if (sysErr == ENOENT) return ParentFolderExists(fileName) ? 2 : 3;
  return InOutErrorCode(sysErr);
}

}  // namespace

int InOutErrorCode(int sysErr) {
  switch (sysErr) {
    case 0: return 0;
    case ENOENT: return 2;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP: return 3;
    case EMFILE:
    case ENFILE: return 4;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
    case EBUSY: return 5;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return 101;
    default: return 5;
  }
}

TTextFile::~TTextFile() {
  if (FFile) std::fclose(FFile);
}

void TTextFile::AssignFile(const std::string& fileName) {
  if (FFile) {
    std::fclose(FFile);
    FFile = nullptr;
    FMode = fmClosed;
  }
  FFileName = fileName;
}

void TTextFile::Fail(int code, int sysErr) const { RaiseInOut(code, FFileName, sysErr); }

void TTextFile::Open(const char* mode, TMode target) {
  if (FFile) {
    std::fclose(FFile);
    FFile = nullptr;
    FMode = fmClosed;
  }
  if (FFileName.empty()) Fail(2);
  std::FILE* f = std::fopen(FFileName.c_str(), mode);
  if (!f) {
    const int err = errno;
    Fail(OpenErrorCode(err, FFileName), err);
  }
  // Opening a folder succeeds on this system; reading it would not.
  struct stat st;
  if (::fstat(fileno(f), &st) == 0 && S_ISDIR(st.st_mode)) {
    std::fclose(f);
    Fail(5, EISDIR);
  }
  FFile = f;
  FMode = target;
}

void TTextFile::Reset() { Open("rb", fmInput); }

void TTextFile::Rewrite() { Open("wb", fmOutput); }

void TTextFile::Append() {
  Open("r+b", fmOutput);
  if (std::fseek(FFile, 0, SEEK_END) != 0) {
    const int err = errno;
    CloseFile();
    Fail(101, err);
  }
}

void TTextFile::CloseFile() {
  if (!FFile) Fail(103);
  const bool wasOutput = FMode == fmOutput;
  const bool failed = wasOutput && std::ferror(FFile);
  const int closeResult = std::fclose(FFile);
  const int err = errno;
  FFile = nullptr;
  FMode = fmClosed;
  if (wasOutput && (failed || closeResult != 0)) Fail(101, err);
}

void TTextFile::CheckInput() {
  if (!FFile) Fail(103);
  if (FMode != fmInput) Fail(104);
}

void TTextFile::CheckOutput() {
  if (!FFile) Fail(103);
  if (FMode != fmOutput) Fail(105);
}

bool TTextFile::Eof() {
  CheckInput();
  const int c = std::getc(FFile);
  if (c == EOF) return true;
  std::ungetc(c, FFile);
  return false;
}

bool TTextFile::Eoln() {
  CheckInput();
  const int c = std::getc(FFile);
  if (c == EOF) return true;
  std::ungetc(c, FFile);
  return c == '\n' || c == '\r';
}

void TTextFile::ReadLn(std::string& line) {
  CheckInput();
  line.clear();
  int c = std::getc(FFile);
  if (c == EOF) {
    if (std::ferror(FFile)) Fail(100, errno);
    Fail(100);
  }
  while (c != EOF && c != '\n' && c != '\r') {
    line.push_back(static_cast<char>(c));
    c = getc_unlocked(FFile);  // one object is used by one thread at a time
  }
  if (c == '\r') {
    const int next = std::getc(FFile);
    if (next != '\n' && next != EOF) std::ungetc(next, FFile);
  }
}

std::string TTextFile::ReadLn() {
  std::string line;
  ReadLn(line);
  return line;
}

void TTextFile::SkipLn() {
  std::string ignored;
  ReadLn(ignored);
}

void TTextFile::Write(const std::string& text) {
  CheckOutput();
  if (!text.empty() && std::fwrite(text.data(), 1, text.size(), FFile) != text.size()) Fail(101, errno);
}

void TTextFile::WriteLn(const std::string& text) {
  CheckOutput();
  if (!text.empty() && std::fwrite(text.data(), 1, text.size(), FFile) != text.size()) Fail(101, errno);
  if (std::fputc('\n', FFile) == EOF) Fail(101, errno);
}

void TTextFile::Flush() {
  CheckOutput();
  if (std::fflush(FFile) != 0) Fail(101, errno);
}

std::string SizeText(std::uint64_t bytes) {
  if (bytes < 1024 * 1024) return std::to_string(bytes) + " bytes";
  const bool giga = bytes >= (std::uint64_t{1} << 30);
  const std::uint64_t unit = giga ? std::uint64_t{1} << 30 : std::uint64_t{1} << 20;
  if (bytes % unit == 0) return std::to_string(bytes / unit) + (giga ? " GB" : " MB");
  // One decimal, rounded down, so a file just over a limit never reads as equal to it.
  const std::uint64_t tenths = bytes * 10 / unit;
  return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + (giga ? " GB" : " MB");
}

namespace {

[[noreturn]] void RaiseKind(const std::string& fileName, const struct stat& st) {
  if (S_ISDIR(st.st_mode)) throw EFileKind("Cannot read " + fileName + ": it is a folder.", 5);
  // A pipe, a device such as /dev/zero or a socket has no end to read to.
  throw EFileKind("Cannot read " + fileName + ": it is not a regular file.", 5);
}

[[noreturn]] void RaiseSize(const std::string& fileName, std::uint64_t size, std::uint64_t maxSize,
                            const std::string& kind) {
  if (kind.empty())
    throw EFileKind("Cannot read " + fileName + ": the file holds " + std::to_string(size) + " bytes, more than the " +
                        std::to_string(maxSize) + " it may have.",
                    5);
  throw EFileKind("Cannot read " + fileName + ": it holds " + SizeText(size) + ", more than the " + SizeText(maxSize) +
                      " " + kind + " may have.",
                  5);
}

}  // namespace

void CheckRegularFile(const std::string& fileName) {
  struct stat st;
  if (::stat(fileName.c_str(), &st) != 0) {
    const int err = errno;
    RaiseInOut(OpenErrorCode(err, fileName), fileName, err);
  }
  if (!S_ISREG(st.st_mode)) RaiseKind(fileName, st);
}

void CheckFileSize(const std::string& fileName, std::uint64_t maxSize, const std::string& kind) {
  struct stat st;
  if (::stat(fileName.c_str(), &st) == 0 && S_ISREG(st.st_mode) && static_cast<std::uint64_t>(st.st_size) > maxSize)
    RaiseSize(fileName, static_cast<std::uint64_t>(st.st_size), maxSize, kind);
}

std::string ReadRegularFile(const std::string& fileName, std::uint64_t maxSize, const std::string& kind) {
  // Non-blocking, so that a named pipe without a writer cannot hold the open.
  const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    const int err = errno;
    RaiseInOut(OpenErrorCode(err, fileName), fileName, err);
  }
  struct stat st;
  if (::fstat(fd, &st) != 0) {
    const int err = errno;
    ::close(fd);
    RaiseInOut(5, fileName, err);
  }
  if (!S_ISREG(st.st_mode)) {
    ::close(fd);
    RaiseKind(fileName, st);
  }
  const std::uint64_t size = static_cast<std::uint64_t>(st.st_size);
  if (size > maxSize) {
    ::close(fd);
    RaiseSize(fileName, size, maxSize, kind);
  }
  // The size as it was at the open: a file that grows meanwhile is read only
  // that far.
  std::string text(static_cast<std::size_t>(size), '\0');
  std::size_t have = 0;
  while (have < text.size()) {
    const ssize_t n = ::read(fd, text.data() + have, text.size() - have);
    if (n < 0) {
      if (errno == EINTR) continue;
      const int err = errno;
      ::close(fd);
      RaiseInOut(5, fileName, err);
    }
    if (n == 0) break;
    have += static_cast<std::size_t>(n);
  }
  ::close(fd);
  text.resize(have);
  return text;
}

std::string ReadFileText(const std::string& fileName) { return ReadRegularFile(fileName, MaxReadFileSize); }

void WriteFileText(const std::string& fileName, const std::string& text) { WriteFileAtomic(fileName, text); }
