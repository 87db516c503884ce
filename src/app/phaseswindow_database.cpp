#include "app/phaseswindow.h"

void TPhaseForm::SelectfromDatabase1Click(TObject*) {}
void TPhaseForm::AddtoDatabase1Click(TObject*) {}
