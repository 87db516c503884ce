#include "support/tempdir.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

TTempDir::TTempDir() {
  const char* base = std::getenv("TMPDIR");
  std::string root = base && *base ? base : "/tmp";
  if (root.back() != '/') root += '/';
  std::error_code ec;
  std::filesystem::create_directories(root, ec);
  std::string pattern = root + "zvtest-XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (!mkdtemp(buffer.data())) throw std::runtime_error("cannot create a temporary folder under " + root);
  FPath = std::string(buffer.data()) + '/';
}

TTempDir::~TTempDir() {
  std::error_code ec;
  std::filesystem::remove_all(FPath, ec);
}

std::string TTempDir::Write(const std::string& name, const std::string& content) const {
  const std::string fileName = FPath + name;
  std::filesystem::path parent = std::filesystem::path(fileName).parent_path();
  std::error_code ec;
  std::filesystem::create_directories(parent, ec);
  std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
  out << content;
  if (!out) throw std::runtime_error("cannot write " + fileName);
  return fileName;
}

std::string TTempDir::Read(const std::string& fileName) {
  std::ifstream in(fileName, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
