#include <gtest/gtest.h>

#include "chart/editor/editortest.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "chart/editor/grafeditreg.h"
#include "support/gui/guitest.h"

namespace editortest {

void EnsureEditor() {
  guitest::EnsureGui();
  RegisterChartEditorUnits();
}

TLineSeries* AddLine(TChart& Chart, const std::string& Title, std::initializer_list<double> Y) {
  auto* s = new TLineSeries(&Chart);
  s->SetParentChart(&Chart);
  s->SetTitle(Title);
  for (double y : Y) s->AddSingleValue(y);
  return s;
}

namespace {
std::string GoldenPath(const std::string& Name) {
  const char* src = std::getenv("ZELVORA_SOURCE_DIR");
  return std::string(src ? src : ".") + "/tests/chart/editor/golden/" + Name;
}
}  // namespace

std::string Golden(const std::string& Name) {
  std::ifstream in(GoldenPath(Name), std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

::testing::AssertionResult MatchesGolden(const std::string& Name, const std::string& Bytes) {
  if (std::getenv("ZELVORA_UPDATE_GOLDEN")) {
    std::ofstream(GoldenPath(Name), std::ios::binary) << Bytes;
    return ::testing::AssertionSuccess();
  }
  const std::string want = Golden(Name);
  if (want == Bytes) return ::testing::AssertionSuccess();
  size_t at = 0;
  while (at < want.size() && at < Bytes.size() && want[at] == Bytes[at]) ++at;
  return ::testing::AssertionFailure() << Name << ": " << Bytes.size() << " bytes, golden " << want.size()
                                       << ", first difference at byte " << at << "\n--- got:\n"
                                       << Bytes << "\n--- golden:\n"
                                       << want;
}

}  // namespace editortest
