// Error codes of the macro language and their texts. 0 is no error; codes
// below 301 arise while a program is compiled, codes from 301 on while it
// runs. The texts are turned out only for display.
#pragma once

#include <cstdint>
#include <string>

// Codes raised by more than one place.
constexpr int sbeInvalidSymbol = 1;        // a character outside the language, a bad label
constexpr int sbeBracket = 2;              // unbalanced brackets
constexpr int sbeExpression = 3;           // a malformed expression
constexpr int sbeStatement = 141;          // a statement of no known form, GOTO without a label
constexpr int sbeOpenContinuation = 139;   // the program ends in a statement continued with "_"
constexpr int sbeSection = 150;            // a statement out of the order of program sections
constexpr int sbeTooComplex = 198;         // a statement needing more registers than there are
constexpr int sbeUnknownMember = 199;
constexpr int sbeSyntax = 200;
constexpr int sbeIncompatible = 201;
constexpr int sbeByRefType = 203;
constexpr int sbeByValType = 204;
constexpr int sbeNoParameters = 206;
constexpr int sbeParamCount = 207;
constexpr int sbeNotArray = 208;
constexpr int sbeDuplicate = 212;
constexpr int sbeRange = 301;              // a value outside its range (dates, sizes)
constexpr int sbeInvalidParameter = 302;   // a built-in given a value it cannot use
constexpr int sbeInvalidPointer = 306;
constexpr int sbeIndexRange = 307;
constexpr int sbeTooManyCycles = 310;
constexpr int sbeZeroStep = 311;           // a FOR loop whose step is 0
constexpr int sbeRecursionDepth = 312;     // user FUNCTION calls nested beyond the limits
constexpr int sbeStopped = 313;            // the run was stopped from outside (Esc, the window's close)
constexpr int sbeOutOfMemory = 314;        // the run's values passed the memory budget

// The message text of an error code; name fills the placeholder of the texts
// that quote one. At most 255 characters.
std::string ErrorText(int code, const std::string& name);

// n written with at least `digits` digits (leading zeros), a "-" before
// negative numbers: the numbers of the error messages.
std::string ZeroPadded(int64_t n, int digits);
