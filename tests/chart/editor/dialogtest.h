// Shared set-up of the editor dialog tests: the editor library registered,
// the program-wide number and date formats fixed ("." decimal, "," thousands,
// "dd/mm/yyyy", "hh:nn:ss"), and controls of a form found by name.
#pragma once

#include <gtest/gtest.h>

#include "chart/editor/editortest.h"
#include "platform/rtl/formatsettings.h"
#include "platform/ui/classes.h"

namespace dialogtest {

// The control (or component) of that name owned by Owner, as a T.
template <class T>
T* Find(TComponent* Owner, const char* Name) {
  T* c = Owner ? dynamic_cast<T*>(Owner->FindComponent(Name)) : nullptr;
  EXPECT_NE(c, nullptr) << Name;
  return c;
}

class EditorDialogTest : public ::testing::Test {
protected:
  void SetUp() override {
    editortest::EnsureEditor();
    FSaved = FormatSettings;
    FormatSettings = TFormatSettings{};
  }
  void TearDown() override { FormatSettings = FSaved; }

private:
  TFormatSettings FSaved;
};

}  // namespace dialogtest
