#include "app/mainlink.h"

#include "model/global.h"
#include "platform/dialogs.h"
#include "platform/gfx/printer.h"

TMainWindowLink& MainWindowLink() {
  static TMainWindowLink link;
  return link;
}

namespace {
int BusyCount = 0;
bool EndRequested = false;
}  // namespace

TProgramBusy::TProgramBusy() { ++BusyCount; }

TProgramBusy::~TProgramBusy() {
  if (--BusyCount > 0 || !EndRequested) return;
  EndRequested = false;
  if (MainWindowLink().BusyEnded) MainWindowLink().BusyEnded();
}

bool ProgramBusy() { return BusyCount > 0; }

void RequestBusyEnd() { EndRequested = BusyCount > 0; }

bool BusyEndRequested() { return EndRequested; }

void MainUpdateForm() {
  if (MainWindowLink().UpdateForm) MainWindowLink().UpdateForm();
}

void SetLastActiveControl(TControl* Control) { LastActiveControl = Control; }

TControl* GetLastActiveControl() { return LastActiveControl; }

void SayWherePrinted() {
  const std::string& file = Printer()->PrintedFile();
  if (!file.empty()) ShowMessage("There is no printer: the document was written to " + file + ".");
}
