#include "app/mainlink.h"

TMainWindowLink& MainWindowLink() {
  static TMainWindowLink link;
  return link;
}

void MainUpdateForm() {
  if (MainWindowLink().UpdateForm) MainWindowLink().UpdateForm();
}
