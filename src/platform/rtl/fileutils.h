// File and folder routines with the class library's names. Paths are UTF-8.
// The name routines accept both '/' and '\' as separators, so paths stored in
// files written on other platforms ("C:\data\x.dat") still split correctly.
#pragma once

#include <cstddef>
#include <ctime>
#include <string>
#include <vector>

constexpr char PathDelim = '/';
constexpr char DriveDelim = '\0';  // no drives here
constexpr char PathSep = ':';

bool FileExists(const std::string& fileName);       // an existing file (not a folder)
bool DirectoryExists(const std::string& dir);
bool ForceDirectories(const std::string& dir);     // creates every missing folder
bool CreateDir(const std::string& dir);
bool RemoveDir(const std::string& dir);            // only an empty folder
bool DeleteFile(const std::string& fileName);
// Never replaces an existing file.
bool RenameFile(const std::string& oldName, const std::string& newName);
// Copies a file's bytes; with failIfExists an existing target is kept and
// false returned. The target appears complete or not at all.
bool CopyFile(const std::string& source, const std::string& target, bool failIfExists);
// The one way files are saved for the user: readers see the old or the new
// file, never a part. The data goes to a temporary file "<name>.tmp<pid>-<n>"
// in the same folder, which is flushed to disk and renamed over the name (a
// symbolic link is followed and its target replaced; the mode and, where
// allowed, the owner of an existing file are kept). A read-only or non-plain
// target is refused. On any failure the temporary file is removed, the old
// file is untouched, and EInOutError says what failed ("Cannot save <name>:
// writing failed - No space left on device; ..."), with the system's error
// number in SysError.
void WriteFileAtomic(const std::string& fileName, const std::string& data);
void WriteFileAtomic(const std::string& fileName, const void* data, size_t size);
// Removes the temporary files that saves of fileName by processes no longer
// running left behind (a save killed before its rename); the number removed.
int RemoveStaleTempFiles(const std::string& fileName);
// An exclusive lock on the folder of fileName, held while the object lives,
// against every other holder (another process, or another object in this
// one): the read-merge-write cycles of a file that several programs change
// run one at a time. Locking the folder, not the file, survives the file
// being replaced by a rename. Without effect when the folder cannot be opened.
class TFolderLock {
public:
  explicit TFolderLock(const std::string& fileName);
  ~TFolderLock();
  TFolderLock(const TFolderLock&) = delete;
  TFolderLock& operator=(const TFolderLock&) = delete;

private:
  int FHandle = -1;
};
// Size in bytes, -1 when the file is missing.
long long FileSize(const std::string& fileName);
// Last modification as local date-time (days since 30 Dec 1899); -1 when missing.
double FileAge(const std::string& fileName);

// "/a/b/c.txt" -> "/a/b/"; "C:\d\x.dat" -> "C:\d\"; "x.dat" -> "".
std::string ExtractFilePath(const std::string& fileName);
// As ExtractFilePath without the final separator (kept for the root "/").
std::string ExtractFileDir(const std::string& fileName);
// "/a/b/c.txt" -> "c.txt"; "C:\d\x.dat" -> "x.dat".
std::string ExtractFileName(const std::string& fileName);
// The extension with its dot ("c.tar.gz" -> ".gz"); empty when the name has
// none. A dot in a folder name is not an extension.
std::string ExtractFileExt(const std::string& fileName);
// Replaces (or adds, or with "" removes) the extension; ext carries its dot.
std::string ChangeFileExt(const std::string& fileName, const std::string& ext);
// Always empty: Linux paths have no drive.
std::string ExtractFileDrive(const std::string& fileName);
std::string IncludeTrailingPathDelimiter(const std::string& path);
std::string ExcludeTrailingPathDelimiter(const std::string& path);
// An absolute, normalised name ("." and ".." resolved, no symlinks followed).
std::string ExpandFileName(const std::string& fileName);
// Compares two extensions ignoring ASCII case; a leading dot is optional on
// either side (".INP", ".inp" and "inp" are all the same).
bool SameFileExt(const std::string& a, const std::string& b);
// True when the file name's extension (ExtractFileExt) equals ext, ignoring
// case: HasFileExt("model.Inp", ".INP").
bool HasFileExt(const std::string& fileName, const std::string& ext);
bool SameFileName(const std::string& a, const std::string& b);  // exact: Linux names are case-sensitive

std::string GetCurrentDir();                // with no trailing '/'
bool SetCurrentDir(const std::string& dir);

// The plain files (not folders) in folder whose names match the wildcard,
// sorted by byte order. '*' matches any run of characters (also none), '?'
// exactly one character. The part of the pattern after its last dot is the
// extension and matches ignoring ASCII case ("*.dat" finds "a.DAT"); the rest
// matches exactly; a name without a dot has an empty extension. A pattern
// whose extension part is only '*' also matches names without a dot, so "*"
// and "*.*" both match every name, and "*." matches names without a dot. Hidden files are included only when the pattern starts with
// '.'. Names are returned without the folder; an unreadable folder gives none.
std::vector<std::string> FindFiles(const std::string& folder, const std::string& wildcard);
// Name-only wildcard test, as FindFiles applies it.
bool MatchesMask(const std::string& name, const std::string& wildcard);
