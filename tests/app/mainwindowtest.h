// The main window under test: a clean settings store and program-wide state
// before each test, the window created as the program creates it, and
// everything it made freed afterwards.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "app/mainwindow.h"
#include "app/patternplot.h"
#include "model/global.h"
#include "model/plotdata.h"
#include "model/refine.h"
#include "model/rietclass.h"
#include "platform/rtl/registry.h"
#include "platform/rtl/stringlist.h"
#include "support/gui/guitest.h"

namespace mainwindowtest {

inline std::string Examples() {
  const char* source = std::getenv("ZELVORA_SOURCE_DIR");
  return std::string(source ? source : "../..") + "/examples/";
}

inline void ClearSettings() {
  TRegistry reg;
  reg.DeleteKey("\\Software\\Zelvora");
  reg.CloseKey();
  TRegistry::FlushAll();
}

// The program-wide state as a fresh program has it.
inline void ResetProgramState() {
  InputFileName.clear();
  DataFileName.clear();
  StartUpDirectory.clear();
  StartUpScript.clear();
  LibraryScript.clear();
  ModelChanged = false;
  RunMode = rmIdle;
  AssignDatafile = false;
  RunOptions = {};
  UserMenuCount = 0;
  LastActiveControl = nullptr;
  SetProgramArguments({});
}

class MainWindowTest : public ::testing::Test {
protected:
  void SetUp() override {
    guitest::EnsureGui();
    ClearSettings();
    ResetProgramState();
  }
  void TearDown() override {
    if (Form && !Closed) Close();
    Form.reset();
    delete Refinement;
    Refinement = nullptr;
    ResetProgramState();
  }
  // Creation as the main block does it (the window's creation handler runs).
  void Create() {
    Form = std::make_unique<TFormZelvora>(nullptr);
    Form->DoCreate();
  }
  // The close without the question: frees what the window made and writes
  // the settings.
  void Close() {
    TCloseAction action = caHide;
    Form->FormClose(Form.get(), action);
    Closed = true;
  }

  std::unique_ptr<TFormZelvora> Form;
  bool Closed = false;
};

}  // namespace mainwindowtest
