// Typing into the phases window's atom grid as a user does: the cell chosen,
// the text typed into the editor the cell opens, Enter; and a click on a
// vary box. (The grid's own header must not meet the model's headers, so
// the grid is reached only here.)
#pragma once

#include <string>

class TPhaseForm;

namespace atomgridinput {

void TypeIntoCell(TPhaseForm* form, int col, int row, const std::string& text);
void ClickBox(TPhaseForm* form, int col, int row);

}  // namespace atomgridinput
