// The fixture of the editing tests: a grid of 5 x 6 cells that edits, on a
// shown form with a second control to take the focus, with a recorder of the
// editing cycle's events and a counter of beeps.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grid/plusgrid.h"
#include "platform/ui/forms.h"
#include "platform/ui/sound.h"
#include "platform/ui/stdctrls.h"
#include "support/gui/guitest.h"

namespace {

struct EditGrid : ::testing::Test {
  TForm* Form = nullptr;
  TPlusStringGrid* Grid = nullptr;
  TEdit* Other = nullptr;
  std::vector<std::string> Log;
  int Beeps = 0;
  TMessageBeepHook PreviousBeep;

  void SetUp() override {
    guitest::EnsureGui();
    PreviousBeep = SetMessageBeepHook([this](unsigned) { ++Beeps; });
    Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 500, 300);
    Grid = new TPlusStringGrid(Form);
    Grid->SetParent(Form);
    Grid->SetBounds(0, 0, 400, 200);
    Grid->SetColCount(5);
    Grid->SetRowCount(6);
    TGridOptions o = Grid->Options();
    Grid->SetOptions(o.Include(goEditing));
    Other = new TEdit(Form);
    Other->SetParent(Form);
    Other->SetBounds(0, 220, 100, 24);
    Form->Show();
    Grid->SetFocus();
    guitest::ProcessEvents();
  }
  void TearDown() override {
    delete Form;
    guitest::ProcessEvents();
    SetMessageBeepHook(PreviousBeep);
  }
  TInplaceEdit* Editor() const { return Grid->InplaceEditor(); }
  // Records the events of the editing cycle by name.
  void Record() {
    Grid->OnGetEditorType = [this](TObject*, int c, int r, TEditorType&) {
      Log.push_back("GetEditorType " + std::to_string(c) + "," + std::to_string(r));
    };
    Grid->OnEditChange = [this](TObject*, int, int, const std::string& v) { Log.push_back("EditChange " + v); };
    Grid->OnCellValidate = [this](TObject*, int, int, std::string& v, bool&) { Log.push_back("CellValidate " + v); };
    Grid->OnCellsChanged = [this](TObject*, TRect) { Log.push_back("CellsChanged"); };
    Grid->OnEditingDone = [this](TObject*) { Log.push_back("EditingDone"); };
    Grid->OnEditCellDone = [this](TObject*, int c, int r) {
      Log.push_back("EditCellDone " + std::to_string(c) + "," + std::to_string(r));
    };
  }
  void TypeInEditor(const std::string& s) {
    // The first character opens the editor through the grid.
    guitest::TypeText(Grid, s.substr(0, 1));
    ASSERT_TRUE(Grid->EditorShown()) << "the first character opened no editor";
    if (s.size() > 1) guitest::TypeText(Editor(), s.substr(1));
  }
  void Editors(TEditorType t) {
    Grid->OnGetEditorType = [t](TObject*, int, int, TEditorType& e) { e = t; };
  }
};

}  // namespace
