// The program: the main window and the windows of the start-up list, then
// the message loop.
#include "app/mainwindow.h"

int main(int argc, char** argv) { return RunZelvora(argc, argv); }
