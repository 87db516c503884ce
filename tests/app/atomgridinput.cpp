#include "atomgridinput.h"

#include <gtest/gtest.h>

#include "app/phaseswindow.h"
#include "app/phaseswindow_grid.h"
#include "grid/plusgrid_wrappers.h"
#include "support/gui/guitest.h"

namespace atomgridinput {

void TypeIntoCell(TPhaseForm* form, int col, int row, const std::string& text) {
  TAtomGrid* grid = form->AtomGrid;
  grid->SetFocus();
  grid->SetCol(col);
  grid->SetRow(row);
  ASSERT_EQ(grid->Col(), col);
  ASSERT_EQ(grid->Row(), row);
  // The first character opens the cell's editor with it.
  guitest::TypeText(grid, text.substr(0, 1));
  guitest::ProcessEvents();
  TWinControl* editor = nullptr;
  if (grid->ComboEditor() && grid->ComboEditor()->Visible())
    editor = grid->ComboEditor();
  else if (grid->EditorShown())
    editor = grid->InplaceEditor();
  ASSERT_NE(editor, nullptr) << "typing opened no editor in cell " << col << "," << row;
  if (text.size() > 1) guitest::TypeText(editor, text.substr(1));
  guitest::Key(editor, VK_RETURN, "\r");
  guitest::ProcessEvents();
}

void ClickBox(TPhaseForm* form, int col, int row) {
  TAtomGrid* grid = form->AtomGrid;
  const TRect r = grid->CellRect(col, row);
  guitest::Click(grid, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  guitest::ProcessEvents();
}

}  // namespace atomgridinput
