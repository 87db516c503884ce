// A menu bar to look at the menu animation on a real display (not a test):
// its menus slide open, or fade with --fade where the screen composes
// translucent windows. The animation runs twenty times slower than usual so
// that screenshots catch its frames.
#include <chrono>
#include <cstring>

#include "platform/ui/forms.h"
#include "platform/ui/syssettings.h"
#include "toolbar/tbanim.h"
#include "toolbar/tbdock.h"
#include "toolbar/tbtoolbar.h"

int main(int argc, char** argv) {
  Application->Initialize();
  TForm* form = nullptr;
  Application->CreateForm(form);
  form->SetCaption("Zelvora menus");
  form->SetBounds(40, 40, 420, 240);
  auto* dock = new TTBDock(form);
  dock->SetParent(form);
  auto* bar = new TTBToolbar(form);
  bar->SetCaption("Menu");
  bar->SetMenuBar(true);
  const char* menus[2][5] = {{"&File", "&New", "&Open...", "&Save", "E&xit"},
                             {"&Rietveld", "&Refine", "&Manual Edit", "Reruzare &Rurid", "&Quick Start"}};
  for (auto& m : menus) {
    auto* sub = new TTBSubmenuItem(form);
    sub->SetCaption(m[0]);
    for (int i = 1; i < 5; ++i) {
      auto* it = new TTBItem(form);
      it->SetCaption(m[i]);
      sub->Add(it);
    }
    bar->Items()->Add(sub);
  }
  bar->SetCurrentDock(dock);
  SystemSettings().MenuAnimation = true;
  SystemSettings().MenuFade = argc > 1 && std::strcmp(argv[1], "--fade") == 0;
  const auto start = std::chrono::steady_clock::now();
  SetMenuAnimationClock([start] {
    using namespace std::chrono;
    return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now() - start).count() / 20);
  });
  form->Show();
  Application->Run();
  return 0;
}
