// The web update's checks of local files (byte sums, sizes, version
// numbers), the version texts of update control files, folders, the names of
// a component list, and the rules that keep update targets inside the
// folders an update may write to.
//
// Control files and list files write folders the Windows way ("{APP}\sub");
// both '\' and '/' separate folders here.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

// A version: high = major * 65536 + minor, low = release * 65536 + build.
// -1 in both words means no version.
struct TVersionNumber {
  int32_t High = -1;
  int32_t Low = -1;
  bool operator==(const TVersionNumber&) const = default;
};
constexpr TVersionNumber NoVersion{-1, -1};

// The byte sum: -1 plus every byte, modulo 2^32; -1 also for a file that
// cannot be opened.
int32_t ByteSumChecksum(const std::string& fileName);
// Running form of the byte sum.
class TByteSum {
public:
  void Add(const void* data, size_t size);
  int32_t Value() const { return static_cast<int32_t>(FSum); }

private:
  uint32_t FSum = 0xFFFFFFFFu;
};
// The low 32 bits of the file's size; -1 when it cannot be opened.
int32_t GetFileSizeOf(const std::string& fileName);
// The file version of a program file's version resource (the PE format);
// NoVersion for any other file and for one without that resource.
TVersionNumber GetFileVersion(const std::string& fileName);
// The same from the file's bytes.
TVersionNumber FileVersionOfImage(const std::string& image);

// "1.7.3.0" (or "1,7,3,0"); fewer parts give zeros, a fourth part that does
// not convert leaves the low word -1, and a text whose first, second or third
// part does not convert is NoVersion.
TVersionNumber TextToVersion(const std::string& text);
// "major.minor.release.build", each unsigned.
std::string VersionToText(const TVersionNumber& version);

// Moves a finished temporary file over target in one step (rename), giving
// it the mode of the file it replaces, or the usual mode of a new file.
bool ReplaceFile(const std::string& temp, const std::string& target);

// Makes the folder with its missing parents; an empty text counts as done.
bool ForceFolderPath(const std::string& folder);
// True when name is one of the blank-separated entries of list, ignoring case.
bool TextInList(const std::string& name, const std::string& list);

// The text with '\' turned into '/', as the file system takes it.
std::string LocalPath(const std::string& path);
// False for a path holding a ".." segment, and for an absolute path (also a
// drive path "C:...") outside the folders an update may write to: the
// current folder, the program's folder and installation prefix, the
// temporary folder and the configuration folder.
bool IsSafeTarget(const std::string& path);
// The installation prefix: the program's folder, or its parent when that is
// a "bin" folder; without a trailing '/'.
std::string InstallationPrefix();

// Replaces each "{NAME}" by resolve(upper-cased NAME) when that gives a
// non-empty text, scanning on after the inserted text; names it leaves empty
// keep their braces.
std::string ExpandPrefixes(const std::string& text, const std::function<std::string(const std::string&)>& resolve);
