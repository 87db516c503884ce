// Case mapping by the rules of the user's language (letters beyond A..Z
// included), for UTF-8 text.
#pragma once

#include <string>

std::string LocaleUpperCase(const std::string& s);
std::string LocaleLowerCase(const std::string& s);
