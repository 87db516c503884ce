#include "app/mainlink.h"

#include "model/global.h"

TMainWindowLink& MainWindowLink() {
  static TMainWindowLink link;
  return link;
}

void MainUpdateForm() {
  if (MainWindowLink().UpdateForm) MainWindowLink().UpdateForm();
}

void SetLastActiveControl(TControl* Control) { LastActiveControl = Control; }

TControl* GetLastActiveControl() { return LastActiveControl; }
