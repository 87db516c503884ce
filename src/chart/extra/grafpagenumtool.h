// An annotation showing the chart's current page and page count.
#pragma once

#include <string>

#include "chart/core/pagenumclass.h"
#include "chart/series/graftools.h"

class TPageNumTool : public TAnnotationTool {
  ZV_CLASS(TPageNumTool)
public:
  static constexpr const char* DefaultFormat = "Page %d of %d";

  explicit TPageNumTool(TComponent* AOwner = nullptr);
  std::string ToolTypeName() const override;
  std::string GetText() const override;

  const std::string& Format() const { return Text(); }
  void SetFormat(const std::string& Value) { SetText(Value); }
};

// The first two "%d" of Format become Page and Count and "%%" a single "%";
// everything else (a "%s" or "%n" read from a chart file included) stays
// text as it stands.
std::string FormatPageNumber(const std::string& Format, int Page, int Count);
