// The program: the main window and the windows of the start-up list, then
// the message loop.
#include "app/mainwindow.h"
#include "chart/extra/extraregister.h"

int main(int argc, char** argv) {
  // The further chart series and tools join the galleries in their units' order.
  RegisterExtraSeriesTypes();
  RegisterExtraToolTypes();
  const int result = RunZelvora(argc, argv);
  UnregisterExtraToolTypes();
  UnregisterExtraSeriesTypes();
  return result;
}
