#include "platform/rtl/tempfiles.h"

#include <stdlib.h>
#include <unistd.h>

#include <vector>

std::string GetTempFileName(const std::string& folder, const std::string& prefix) {
  std::string name = folder.empty() ? std::string(".") : folder;
  if (name.back() != '/') name += '/';
  name += prefix + "XXXXXX.tmp";
  std::vector<char> buffer(name.begin(), name.end());
  buffer.push_back('\0');
  const int fd = ::mkstemps(buffer.data(), 4);
  if (fd < 0) return std::string();
  ::close(fd);
  return std::string(buffer.data());
}
