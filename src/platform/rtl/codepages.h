// Text encodings at the boundaries where a layout fixes 8-bit or 16-bit
// text: Windows-1252 (the system code page of files and streams), CP850 (the
// OEM code page of console text) and UTF-16, all to and from the UTF-8 the
// program keeps its text in.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

std::string Cp1252ToUtf8(const std::string& s);
// False when the text holds a character outside Windows-1252 (out then holds
// the characters before it).
bool Utf8ToCp1252(const std::string& s, std::string& out);
std::string Cp850ToUtf8(const std::string& s);
// False when the text holds a character outside CP850.
bool Utf8ToCp850(const std::string& s, std::string& out);
// Invalid UTF-8 bytes become U+FFFD; lone surrogates of UTF-16 likewise.
std::u16string Utf8ToUtf16(const std::string& s);
std::string Utf16ToUtf8(const std::u16string& s);

// The code points of UTF-8 text (invalid bytes as U+FFFD), and one code point
// appended as UTF-8.
std::vector<uint32_t> Utf8CodePoints(const std::string& s);
void AppendUtf8(std::string& out, uint32_t cp);
