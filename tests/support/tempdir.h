// A fresh, private temporary folder for one test; it is removed with its
// contents when the object goes.
#pragma once

#include <string>

class TTempDir {
public:
  TTempDir();
  ~TTempDir();
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;

  // The folder, with a trailing '/'.
  const std::string& Path() const { return FPath; }
  // Path() + name.
  std::string File(const std::string& name) const { return FPath + name; }
  // Writes the bytes to Path() + name (binary, as given) and returns the full name.
  std::string Write(const std::string& name, const std::string& content) const;
  // Reads a whole file (binary); empty when missing.
  static std::string Read(const std::string& fileName);

private:
  std::string FPath;
};
