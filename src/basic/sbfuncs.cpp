#include "basic/sbfuncs.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "basic/sberrors.h"
#include "basic/sbhost.h"
#include "model/brkapart.h"
#include "platform/dialogs.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/fileutils.h"
#include "platform/rtl/format.h"
#include "platform/rtl/mathutils.h"
#include "platform/rtl/strutils.h"

namespace {

bool Present(const TSBCodeList& l, int i) { return GetArgPtr(l, i) != nullptr; }
bool IsString(const TSBCodeList& l, int i) { return GetArgType(l, i) == tcString && Present(l, i); }

// The string functions that change their first argument leave a literal as
// it is: its storage is the program's constant, read again on the next pass.
void StoreUnlessLiteral(const TSBCodeList& l, uint8_t* p, const std::string& s) {
  const TSBReg* arg = l.ParamReg(0);
  if (arg && arg->Kind != skConst) StoreShortString(p, s);
}

// x with its result reduced to single precision; 0 when the argument is absent.
template <double (*F)(double)>
double Unary(TSBCodeList& l) {
  if (!Present(l, 0)) return 0.0;
  return AsSingle(F(GetArgDouble(l, 0)));
}

double RoundHalfEven(double x) { return std::nearbyint(x); }
double Sqr(double x) { return x * x; }
double LnOnePlus(double x) { return std::log1p(x); }
double AbsValue(double x) { return x > 0 ? x : -x; }
double Floor(double x) { return std::floor(x); }
double Truncate(double x) { return std::trunc(x); }
double SquareRoot(double x) { return std::sqrt(x); }
double Sine(double x) { return std::sin(x); }
double Cosine(double x) { return std::cos(x); }
double Tangent(double x) { return std::tan(x); }
double ArcSine(double x) { return std::asin(x); }
double ArcCosine(double x) { return std::acos(x); }
double ArcTangent(double x) { return std::atan(x); }
double LogTwo(double x) { return std::log2(x); }
double LogTen(double x) { return std::log10(x); }
double Exponential(double x) { return std::exp(x); }

double LogNFunc(TSBCodeList& l) {
  if (!Present(l, 0) || !Present(l, 1)) return 0.0;
  return AsSingle(std::log2(GetArgDouble(l, 1)) / std::log2(GetArgDouble(l, 0)));
}

double PowerFunc(TSBCodeList& l) {
  if (!Present(l, 0) || !Present(l, 1)) return 0.0;
  return AsSingle(Power(GetArgDouble(l, 0), GetArgDouble(l, 1)));
}

// ---- Procedures ----------------------------------------------------------------------

void RandomizeFunc(TSBCodeList&, TSBResultCell& r) {
  ::Randomize();
  SetResultInt(0, r);
}

void RandomFunc(TSBCodeList& l, TSBResultCell& r) { SetResultInt(Random(GetArgInt(l, 0)), r); }

void BeepFunc(TSBCodeList&, TSBResultCell& r) {
  Beep();
  SetResultInt(0, r);
}

void GetLength(TSBCodeList& l, TSBResultCell& r) { SetResultInt(static_cast<int32_t>(GetArgString(l, 0).size()), r); }

void SetLengthFunc(TSBCodeList& l, TSBResultCell& r) {
  uint8_t* p = GetArgPtr(l, 0);
  if (!p || GetArgType(l, 0) != tcString) return;
  std::string s = LoadShortString(p);
  s.resize(static_cast<std::size_t>(std::clamp(GetArgInt(l, 1), 0, ShortStringMax)), ' ');
  StoreUnlessLiteral(l, p, s);
  SetResultString(s, r);
}

void StrCopy(TSBCodeList& l, TSBResultCell& r) {
  const std::string s = GetArgString(l, 0);
  const int32_t i = std::max(GetArgInt(l, 1), 1);
  const int32_t n = GetArgInt(l, 2);
  if (n <= 0 || static_cast<std::size_t>(i - 1) >= s.size()) {
    SetResultString(std::string(), r);
    return;
  }
  SetResultString(s.substr(static_cast<std::size_t>(i - 1), static_cast<std::size_t>(n)), r);
}

// Writes the first n characters of t into the string argument from position i.
void WriteInto(TSBCodeList& l, TSBResultCell& r, int32_t i, int32_t n, const std::string& t) {
  uint8_t* p = GetArgPtr(l, 0);
  if (!p || GetArgType(l, 0) != tcString) return;
  std::string s = LoadShortString(p);
  if (i < 1) i = 1;
  n = std::min<int32_t>(n, static_cast<int32_t>(t.size()));
  if (n > 0) {
    const int64_t need = std::min<int64_t>(static_cast<int64_t>(i) - 1 + n, ShortStringMax);
    if (static_cast<int64_t>(s.size()) < need) s.resize(static_cast<std::size_t>(need), ' ');
    for (int32_t k = 0; k < n; ++k) {
      const int64_t at = static_cast<int64_t>(i) - 1 + k;
      if (at >= ShortStringMax) break;
      s[static_cast<std::size_t>(at)] = t[static_cast<std::size_t>(k)];
    }
    StoreUnlessLiteral(l, p, s);
  }
  SetResultString(s, r);
}

void StrNSet(TSBCodeList& l, TSBResultCell& r) { WriteInto(l, r, GetArgInt(l, 1), GetArgInt(l, 2), GetArgString(l, 3)); }

void StrSet(TSBCodeList& l, TSBResultCell& r) {
  const std::string t = GetArgString(l, 2);
  WriteInto(l, r, GetArgInt(l, 1), static_cast<int32_t>(t.size()), t);
}

void PosFunc(TSBCodeList& l, TSBResultCell& r) {
  if (!IsString(l, 0) || !IsString(l, 1)) {
    SetResultInt(0, r);
    return;
  }
  const std::string t = GetArgString(l, 0), s = GetArgString(l, 1);
  const std::size_t at = t.empty() ? std::string::npos : s.find(t);
  SetResultInt(at == std::string::npos ? 0 : static_cast<int32_t>(at) + 1, r);
}

void Asc(TSBCodeList& l, TSBResultCell& r) {
  const std::string s = GetArgString(l, 0);
  SetResultInt(s.empty() ? 0 : static_cast<uint8_t>(s[0]), r);
}

void Chr(TSBCodeList& l, TSBResultCell& r) {
  if (GetArgType(l, 0) != tcInteger || !Present(l, 0)) {
    SetResultString(std::string(), r);
    return;
  }
  const int32_t n = GetArgInt(l, 0);
  SetResultString(std::string(1, static_cast<char>(static_cast<uint8_t>(((n % 256) + 256) % 256))), r);
}

void TrimFunc(TSBCodeList& l, TSBResultCell& r) { SetResultString(TrimText(GetArgString(l, 0)), r); }

void GetToken(TSBCodeList& l, TSBResultCell& r) {
  if (!IsString(l, 0) || !IsString(l, 1) || GetArgType(l, 2) != tcInteger || !Present(l, 2)) return;
  TBrkApart splitter;
  const std::string sep = GetArgString(l, 1);
  if (!sep.empty()) splitter.SetSeparator(sep);
  splitter.BreakApart(GetArgString(l, 0));
  SetResultString(splitter.GetField(GetArgInt(l, 2)), r);
}

void StrUpper(TSBCodeList& l, TSBResultCell& r) { SetResultString(UpperCase(GetArgString(l, 0)), r); }
void StrLower(TSBCodeList& l, TSBResultCell& r) { SetResultString(LowerCase(GetArgString(l, 0)), r); }

void FormatVal(TSBCodeList& l, TSBResultCell& r) {
  try {
    SetResultString(FormatFloat(GetArgString(l, 0), GetArgDouble(l, 1)), r);
  } catch (const Exception&) {
    throw ESBRunError(sbeInvalidParameter, "Invalid number pattern");
  }
}

void ValFunc(TSBCodeList& l, TSBResultCell& r) {
  double v = 0;
  if (!TryTextToDouble(GetArgString(l, 0), v, false) && !std::isinf(v)) v = 0;
  SetResultDouble(v, r);
}

void StrFunc(TSBCodeList& l, TSBResultCell& r) {
  const double x = GetArgDouble(l, 0);
  std::string s;
  if (std::isnan(x)) {
    s = "NAN";
  } else if (std::isinf(x)) {
    s = x > 0 ? "INF" : "-INF";
  } else {
    char buffer[400];
    const auto res = std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::fixed, 3);
    s.assign(buffer, res.ptr);
    if (s == "-0.000") s = "0.000";
  }
  SetResultString(s, r);
}

bool ValidDate(double d) { return d > -693594.0 && d < 2958466.0; }

void EncodeDateFunc(TSBCodeList& l, TSBResultCell& r) {
  TDateTime d = 0;
  if (!TryEncodeDate(GetArgInt(l, 0), GetArgInt(l, 1), GetArgInt(l, 2), d))
    throw ESBRunError(sbeInvalidParameter, "Invalid argument to date encode");
  SetResultDate(d, r);
}

void DecodeDateFunc(TSBCodeList& l, TSBResultCell& r) {
  if (!Present(l, 1) || !Present(l, 2) || !Present(l, 3)) {
    SetResultInt(0, r);
    return;
  }
  const double d = GetArgDate(l, 0);
  if (!ValidDate(d)) throw ESBRunError(sbeInvalidParameter, "Invalid date");
  int year = 0, month = 0, day = 0;
  DecodeDate(d, year, month, day);
  // Stored with conversion, so that a variable of any number type receives them.
  SetValueFromInteger(GetArgCell(l, 1), year);
  SetValueFromInteger(GetArgCell(l, 2), month);
  SetValueFromInteger(GetArgCell(l, 3), day);
  SetResultInt(1, r);
}

void DateToStrFunc(TSBCodeList& l, TSBResultCell& r) {
  const double d = GetArgDate(l, 0);
  if (!ValidDate(d)) throw ESBRunError(sbeInvalidParameter, "Invalid date");
  SetResultString(DateToStr(d), r);
}

void StrToDateFunc(TSBCodeList& l, TSBResultCell& r) {
  if (!IsString(l, 0)) {
    SetResultDate(0.0, r);
    return;
  }
  TDateTime d = 0;
  if (!TryStrToDate(GetArgString(l, 0), d)) throw ESBRunError(sbeInvalidParameter, "Invalid date");
  SetResultDate(d, r);
}

void Today(TSBCodeList&, TSBResultCell& r) { SetResultDate(Date(), r); }

void MessageBoxFunc(TSBCodeList& l, TSBResultCell& r) {
  SetResultInt(0, r);
  if (!Present(l, 0)) return;
  std::string text;
  switch (GetArgType(l, 0)) {
    case tcInteger: text = IntToStr(GetArgInt(l, 0)); break;
    case tcSingle:
    case tcDouble: text = FloatToStr(GetArgDouble(l, 0)); break;
    case tcString: text = GetArgString(l, 0); break;
    case tcDate: {
      const double d = GetArgDate(l, 0);
      if (!ValidDate(d)) throw ESBRunError(sbeInvalidParameter, "Invalid date");
      text = DateToStr(d);
      break;
    }
    default: return;
  }
  ShowMessage(text);
}

void InputBoxFunc(TSBCodeList& l, TSBResultCell& r) {
  if (!IsString(l, 0)) {
    SetResultString(std::string(), r);
    return;
  }
  SetResultString(InputBox("Input Box", GetArgString(l, 0), std::string()), r);
}

void ExtractFileNameFunc(TSBCodeList& l, TSBResultCell& r) { SetResultString(ExtractFileName(GetArgString(l, 0)), r); }
void ExtractFileDirFunc(TSBCodeList& l, TSBResultCell& r) { SetResultString(ExtractFileDir(GetArgString(l, 0)), r); }

void FileExistsFunc(TSBCodeList& l, TSBResultCell& r) {
  SetResultInt(IsString(l, 0) && FileExists(GetArgString(l, 0)) ? 1 : 0, r);
}

void MessageDlgFunc(TSBCodeList& l, TSBResultCell& r) {
  if (!IsString(l, 0)) {
    SetResultInt(0, r);
    return;
  }
  const int type = GetArgType(l, 1) == tcInteger && Present(l, 1) ? GetArgInt(l, 1) : 3;
  const int buttons = GetArgType(l, 2) == tcInteger && Present(l, 2) ? GetArgInt(l, 2) : 0;
  TMsgDlgType dlgType = mtInformation;
  switch (type) {
    case 0: dlgType = mtWarning; break;
    case 1: dlgType = mtError; break;
    case 3: dlgType = mtConfirmation; break;
    case 4: dlgType = mtCustom; break;
    default: break;
  }
  TMsgDlgButtons set;
  switch (buttons) {
    case 0: set = {mbYes, mbNo}; break;
    case 1: set = {mbOK, mbCancel}; break;
    case 2: set = {mbAbort, mbRetry, mbIgnore}; break;
    case 3: set = {mbYes, mbNo, mbCancel, mbYesToAll}; break;
    case 4: set = {mbOK}; break;
    default: set = {mbYes, mbNo, mbCancel}; break;
  }
  SetResultInt(MessageDlg(GetArgString(l, 0), dlgType, set, 0), r);
}

void GetDir(TSBCodeList&, TSBResultCell& r) { SetResultString(GetCurrentDir(), r); }

void SetDir(TSBCodeList& l, TSBResultCell& r) {
  SetResultInt(IsString(l, 0) && SetCurrentDir(GetArgString(l, 0)) ? 0 : 1, r);
}

}  // namespace

void RegisterBuiltins(TSBCodeList& l) {
  l.RegisterFloatFunction("ROUND", Unary<RoundHalfEven>, 1);
  l.RegisterFloatFunction("FLOOR", Unary<Floor>, 1);
  l.RegisterFloatFunction("TRUNC", Unary<Truncate>, 1);
  l.RegisterFloatFunction("SQR", Unary<Sqr>, 1);
  l.RegisterFloatFunction("SQRT", Unary<SquareRoot>, 1);
  l.RegisterFloatFunction("SIN", Unary<Sine>, 1);
  l.RegisterFloatFunction("COS", Unary<Cosine>, 1);
  l.RegisterFloatFunction("TAN", Unary<Tangent>, 1);
  l.RegisterFloatFunction("ARCSIN", Unary<ArcSine>, 1);
  l.RegisterFloatFunction("ARCCOS", Unary<ArcCosine>, 1);
  l.RegisterFloatFunction("ARCTAN", Unary<ArcTangent>, 1);
  l.RegisterFloatFunction("LN", Unary<LnOnePlus>, 1);
  l.RegisterFloatFunction("LOG2", Unary<LogTwo>, 1);
  l.RegisterFloatFunction("LOG10", Unary<LogTen>, 1);
  l.RegisterFloatFunction("LOGN", LogNFunc, 2);
  l.RegisterFloatFunction("POWER", PowerFunc, 2);
  l.RegisterFloatFunction("EXP", Unary<Exponential>, 1);
  l.RegisterFloatFunction("ABS", Unary<AbsValue>, 1);

  l.RegisterHostFunction("RANDOMIZE", RandomizeFunc, tcInteger, 0);
  l.RegisterHostFunction("RANDOM", RandomFunc, tcInteger, 1);
  l.RegisterHostFunction("BEEP", BeepFunc, tcInteger, 0);
  l.RegisterHostFunction("GETLENGTH", GetLength, tcInteger, 1);
  l.RegisterHostFunction("SETLENGTH", SetLengthFunc, tcString, 2);
  l.RegisterHostFunction("STRCOPY", StrCopy, tcString, 3);
  l.RegisterHostFunction("STRNSET", StrNSet, tcString, 4);
  l.RegisterHostFunction("STRSET", StrSet, tcString, 3);
  l.RegisterHostFunction("POS", PosFunc, tcInteger, 2);
  l.RegisterHostFunction("ASC", Asc, tcInteger, 1);
  l.RegisterHostFunction("CHR", Chr, tcString, 1);
  l.RegisterHostFunction("TRIM", TrimFunc, tcString, 1);
  l.RegisterHostFunction("GETTOKEN", GetToken, tcString, 3);
  l.RegisterHostFunction("STRUPPER", StrUpper, tcString, 1);
  l.RegisterHostFunction("STRLOWER", StrLower, tcString, 1);
  l.RegisterHostFunction("FORMATVAL", FormatVal, tcString, 2);
  l.RegisterHostFunction("VAL", ValFunc, tcDouble, 1);
  l.RegisterHostFunction("STR", StrFunc, tcString, 1);
  l.RegisterHostFunction("ENCODEDATE", EncodeDateFunc, tcDate, 3);
  l.RegisterHostFunction("DECODEDATE", DecodeDateFunc, tcInteger, 4);
  l.RegisterHostFunction("DATETOSTR", DateToStrFunc, tcString, 1);
  l.RegisterHostFunction("STRTODATE", StrToDateFunc, tcDate, 1);
  l.RegisterHostFunction("TODAY", Today, tcDate, 0);
  l.RegisterHostFunction("MESSAGEBOX", MessageBoxFunc, tcInteger, 1);
  l.RegisterHostFunction("INPUTBOX", InputBoxFunc, tcString, 1);
  l.RegisterHostFunction("EXTRACTFILENAME", ExtractFileNameFunc, tcString, 1);
  l.RegisterHostFunction("EXTRACTFILEDIR", ExtractFileDirFunc, tcString, 1);
  l.RegisterHostFunction("FILEEXISTS", FileExistsFunc, tcInteger, 1);
  l.RegisterHostFunction("MESSAGEDLG", MessageDlgFunc, tcInteger, 3);
  l.RegisterHostFunction("GETDIR", GetDir, tcString, 0);
  l.RegisterHostFunction("SETDIR", SetDir, tcInteger, 1);
}
