#include "macrotest.h"

#include "platform/rtl/datetime.h"
#include "platform/rtl/format.h"
#include "platform/rtl/strutils.h"

std::string ArgText(const TSBCodeList& list, int i) {
  switch (GetArgType(list, i)) {
    case tcInteger: return IntToStr(GetArgInt(list, i));
    case tcSingle:
    case tcDouble: return FloatToStr(GetArgDouble(list, i));
    case tcString: return GetArgString(list, i);
    case tcDate: return DateToStr(GetArgDate(list, i));
    default: return "?";
  }
}

std::string Joined(const std::vector<std::string>& items) {
  std::string s;
  for (std::size_t i = 0; i < items.size(); ++i) s += (i ? "|" : "") + items[i];
  return s;
}

TMacro::TMacro() {
  Basic.AddFunction("OUT", [this](TSBCodeList& l, TSBResultCell&) { Out.push_back(ArgText(l, 0)); }, tcInteger, 1);
  Basic.SetSource_Memo(&Memo);
  Basic.SetMessage_Panel(&Panel);
}

int TMacro::Compile(const std::string& text) {
  Memo.SetText(text);
  return Basic.Compile();
}

std::string TMacro::Run(const std::string& text) {
  Out.clear();
  if (const int e = Compile(text)) return "compile " + std::to_string(e);
  if (const int e = Basic.Run()) return "run " + std::to_string(e);
  return Joined(Out);
}
