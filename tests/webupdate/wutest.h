// Fixtures of the web update tests: LZ (SZDD) files, program files with a
// version resource, cabinets made with gcab, and control files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace wutest {

// An SZDD file of data in literal-only blocks; missing is the header's
// character for the name's last one.
std::string SzddFile(const std::string& data, char missing);

// A minimal PE32 program image with a version resource of that file version.
std::string PeWithVersion(uint16_t major, uint16_t minor, uint16_t release, uint16_t build);

// Runs gcab in folder to make cabinet from the files (paths relative to
// folder, kept as the entries' names); false when gcab failed.
bool MakeCabinet(const std::string& folder, const std::string& cabinet, const std::vector<std::string>& files);

// Replaces the first occurrence of from by to (same length) in a file's
// bytes; false when from is not there.
bool PatchBytes(const std::string& fileName, const std::string& from, const std::string& to);

}  // namespace wutest
