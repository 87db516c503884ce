#include "chart/extra/grafpagenumtool.h"

#include "chart/core/grafconst.h"

std::string FormatPageNumber(const std::string& Format, int Page, int Count) {
  std::string out;
  out.reserve(Format.size() + 8);
  int used = 0;
  for (size_t i = 0; i < Format.size(); ++i) {
    if (Format[i] == '%' && i + 1 < Format.size()) {
      const char next = Format[i + 1];
      if (next == '%') {
        out += '%';
        ++i;
        continue;
      }
      if (next == 'd' && used < 2) {
        out += std::to_string(used == 0 ? Page : Count);
        ++used;
        ++i;
        continue;
      }
    }
    out += Format[i];
  }
  return out;
}

ZV_CLASS_IMPL(TPageNumTool, TAnnotationTool)

void TPageNumTool::DeclareProperties(TClassInfo& c) {
  using T = TPageNumTool;
  c.String<T>("Format", &T::Format, &T::SetFormat, std::string(DefaultFormat));
}

TPageNumTool::TPageNumTool(TComponent* AOwner) : TAnnotationTool(AOwner) { FText = DefaultFormat; }

std::string TPageNumTool::ToolTypeName() const { return GrafMsgExPageNumber; }

std::string TPageNumTool::GetText() const {
  const int page = FParentChart ? FParentChart->Page() : 1;
  const int count = FParentChart ? FParentChart->PageCount() : 1;
  return FormatPageNumber(Text(), page, count);
}
