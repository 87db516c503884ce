// Unpacking of update files: cabinet archives and LZ ("SZDD") compressed
// files, both read with libmspack.
#pragma once

#include <string>

// Extracts every file of the cabinet below targetFolder (the current folder
// when empty), creating the folders the entries name and giving each file
// the cabinet's date and time. 0 on success; -1 when the file is not a
// readable cabinet, when an entry fails, or when an entry's name is absolute
// or holds a ".." segment (then nothing at all is written).
int ExtractCabinet(const std::string& cabinetFile, const std::string& targetFolder);

// The name an LZ-compressed file expands to: its own name with the final '_'
// replaced by the character its header keeps ("upd.ex_" -> "upd.exe"), in the
// same folder. Empty when the file is not LZ-compressed or would expand onto
// itself.
std::string LZExpandedName(const std::string& fileName);
// Expands an LZ-compressed file to LZExpandedName (replacing that file in
// one step) and deletes the compressed file. A file that is not
// LZ-compressed is left alone. True when a file was expanded.
bool ExpandLZFile(const std::string& fileName);
// As ExpandLZFile into a given name; the compressed file stays.
bool ExpandLZFileTo(const std::string& fileName, const std::string& target);
