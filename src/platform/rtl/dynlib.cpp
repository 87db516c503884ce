#include "platform/rtl/dynlib.h"

#include <dlfcn.h>
#include <link.h>
#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <mutex>

#include "platform/rtl/sysinfo.h"

namespace {

thread_local unsigned tLastError = 0;
thread_local std::string tLoaderMessage;

// Handles given out and not yet freed, with their counts, so that a stale or
// made-up handle is refused instead of reaching the loader.
std::mutex& HandleLock() {
  static std::mutex lock;
  return lock;
}
std::map<void*, int>& Handles() {
  static std::map<void*, int>* handles = new std::map<void*, int>;
  return *handles;
}

bool EndsWithDll(const std::string& name) {
  if (name.size() < 4) return false;
  std::string tail = name.substr(name.size() - 4);
  for (char& c : tail) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  return tail == ".dll";
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  return s;
}

bool Contains(const std::string& s, const char* part) { return s.find(part) != std::string::npos; }

// The loader's last message, in the "C" locale whatever the desktop's: the
// failures are told apart by its words, which a translated message would not
// have (a missing library would pass for a broken one).
std::string LoaderError() {
  static const locale_t cLocale = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  const locale_t previous = cLocale ? ::uselocale(cLocale) : static_cast<locale_t>(nullptr);
  const char* err = ::dlerror();
  std::string message = err ? err : "";
  if (previous) ::uselocale(previous);
  return message;
}

// The error number for a loader failure on a file that exists.
unsigned ClassifyLoaderError(const std::string& message, const std::string& path) {
  if (Contains(message, "invalid ELF header") || Contains(message, "file too short") ||
      Contains(message, "wrong ELF class") || Contains(message, "ELF file") || Contains(message, "ELF load") ||
      Contains(message, "not an ELF") || Contains(message, "only ET_DYN") || Contains(message, "ELF version") ||
      Contains(message, "unsupported version") || Contains(message, "ELF header"))
    return ERROR_BAD_EXE_FORMAT;
  if (Contains(message, "cannot allocate memory") || Contains(message, "Cannot allocate memory") ||
      Contains(message, "out of memory"))
    return ERROR_NOT_ENOUGH_MEMORY;
  // A message naming the file itself as unreadable.
  if (Contains(message, "Permission denied") && Contains(message, path.c_str())) return ERROR_ACCESS_DENIED;
  // Unresolved symbols, a missing or broken dependency, a failing initialiser:
  // the library is there but cannot be set up.
  return ERROR_DLL_INIT_FAILED;
}

HMODULE Register(void* handle) {
  std::lock_guard<std::mutex> guard(HandleLock());
  ++Handles()[handle];
  return handle;
}

bool Known(void* handle) {
  std::lock_guard<std::mutex> guard(HandleLock());
  return Handles().count(handle) != 0;
}

HMODULE Fail(unsigned code, const std::string& message) {
  tLastError = code;
  tLoaderMessage = message;
  return nullptr;
}

// Tries one file that exists.
HMODULE LoadPath(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return Fail(ERROR_DLL_NOT_FOUND, path + ": not found");
  if (S_ISDIR(st.st_mode)) return Fail(ERROR_ACCESS_DENIED, path + ": is a folder");
  if (::access(path.c_str(), R_OK) != 0) return Fail(ERROR_ACCESS_DENIED, path + ": cannot be read");
  ::dlerror();
  void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    std::string message = LoaderError();
    if (message.empty()) message = "unknown loader error";
    return Fail(ClassifyLoaderError(message, path), message);
  }
  tLastError = ERROR_SUCCESS;
  tLoaderMessage.clear();
  return Register(handle);
}

bool IsFile(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

}  // namespace

std::string LibraryFileName(const std::string& name) {
  if (!EndsWithDll(name)) return name;
  const std::string::size_type slash = name.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : name.substr(0, slash + 1);
  const std::string file = slash == std::string::npos ? name : name.substr(slash + 1);
  return folder + "lib" + file.substr(0, file.size() - 4) + ".so";
}

HMODULE LoadLibrary(const std::string& name) {
  if (name.empty()) return Fail(ERROR_DLL_NOT_FOUND, "empty library name");
  const std::string mapped = LibraryFileName(name);
  const std::string::size_type slash = mapped.rfind('/');

  if (slash != std::string::npos) {
    const std::string folder = slash == 0 ? std::string("/") : mapped.substr(0, slash);
    struct stat st;
    if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
      return Fail(ERROR_PATH_NOT_FOUND, folder + ": folder not found");
    const std::string file = mapped.substr(slash + 1);
    const std::string lower = mapped.substr(0, slash + 1) + Lower(file);
    if (IsFile(mapped)) return LoadPath(mapped);
    if (lower != mapped && IsFile(lower)) return LoadPath(lower);
    return Fail(ERROR_DLL_NOT_FOUND, mapped + ": not found");
  }

  // A bare name: the program's own folder first.
  const std::string own = ProgramFolder();
  if (IsFile(own + mapped)) return LoadPath(own + mapped);
  const std::string lower = Lower(mapped);
  if (lower != mapped && IsFile(own + lower)) return LoadPath(own + lower);

  // Then the loader's search path.
  std::string firstMessage;
  for (const std::string& candidate : {mapped, lower}) {
    ::dlerror();
    if (void* handle = ::dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL)) {
      tLastError = ERROR_SUCCESS;
      tLoaderMessage.clear();
      return Register(handle);
    }
    std::string message = LoaderError();
    if (message.empty()) message = "unknown loader error";
    // The loader names the library it could not find; any other failure means
    // the library was found but is unusable.
    const bool missing = Contains(message, "cannot open shared object file") &&
                         message.compare(0, candidate.size() + 1, candidate + ":") == 0 &&
                         Contains(message, "No such file");
    if (!missing) return Fail(ClassifyLoaderError(message, candidate), message);
    if (firstMessage.empty()) firstMessage = message;
    if (lower == mapped) break;
  }
  return Fail(ERROR_DLL_NOT_FOUND, firstMessage);
}

std::string UndecoratedName(const std::string& name) {
  // "_name@12" -> "name"; anything else has no decoration.
  const std::string::size_type at = name.rfind('@');
  if (name.size() < 4 || name[0] != '_' || at == std::string::npos || at < 2 || at + 1 >= name.size())
    return std::string();
  for (std::string::size_type i = at + 1; i < name.size(); ++i)
    if (name[i] < '0' || name[i] > '9') return std::string();
  return name.substr(1, at - 1);
}

FARPROC GetProcAddress(HMODULE module, const std::string& procName) {
  if (!module || !Known(module)) {
    tLastError = ERROR_INVALID_HANDLE;
    return nullptr;
  }
  ::dlerror();
  void* address = ::dlsym(module, procName.c_str());
  const std::string plain = address ? std::string() : UndecoratedName(procName);
  if (!plain.empty()) {
    ::dlerror();
    address = ::dlsym(module, plain.c_str());
  }
  if (!address) {
    tLoaderMessage = LoaderError();
    tLastError = ERROR_PROC_NOT_FOUND;
    return nullptr;
  }
  return address;
}

bool FreeLibrary(HMODULE module) {
  {
    std::lock_guard<std::mutex> guard(HandleLock());
    auto it = Handles().find(module);
    if (!module || it == Handles().end()) {
      tLastError = ERROR_INVALID_HANDLE;
      return false;
    }
    if (--it->second == 0) Handles().erase(it);
  }
  if (::dlclose(module) != 0) {
    tLoaderMessage = LoaderError();
    tLastError = ERROR_INVALID_HANDLE;
    return false;
  }
  return true;
}

std::string GetModuleFileName(HMODULE module) {
  if (!module) return ProgramFileName();
  if (!Known(module)) {
    tLastError = ERROR_INVALID_HANDLE;
    return std::string();
  }
  struct link_map* map = nullptr;
  if (::dlinfo(module, RTLD_DI_LINKMAP, &map) != 0 || !map || !map->l_name) return std::string();
  return map->l_name;
}

std::string LastLoaderMessage() { return tLoaderMessage; }

unsigned GetLastError() { return tLastError; }

void SetLastError(unsigned code) { tLastError = code; }
