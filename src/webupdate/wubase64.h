// Base64 (the standard alphabet, '=' as fill, no line breaks), as HTTP Basic
// authorisation sends the user name and password.
#pragma once

#include <string>

std::string EncodeBase64(const std::string& text);
