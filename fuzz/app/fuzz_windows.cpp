// Random input on the program's windows: the program starts as it does
// (every start-up window, the file given opened), and a timer of its own
// message loop sends one step of input every few milliseconds to a control
// of a showing window (clicks, double clicks, drags, wheel, keys with and
// without Shift, Ctrl and Alt, typed text) or runs one of the windows'
// enabled commands. Message boxes, modal windows, file dialogs and popup
// menus are answered at once, so nothing waits for a person.
//
//   fuzz_windows [--seconds S] [--seed K] [--list] FILE
//
// A step that does not come back within 30 s of processor time (or 120 s of
// wall time) is a hang: the step and the seed are printed and the driver
// aborts. Under the sanitizers a crash prints the same. When random input
// ends the program (its Exit command) the driver says so after how many
// steps; run it again with the next seed. Run it offscreen with its own
// settings folder (ZELVORA_CONFIG_HOME) and on a copy of an example, since
// the commands may save over it.
#include <QTimer>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <sys/time.h>
#include <unistd.h>
#include <vector>

#include "app/mainwindow.h"
#include "chart/extra/extraregister.h"
#include "platform/ui/actions.h"
#include "platform/ui/forms.h"
#include "platform/ui/messages.h"
#include "platform/ui/popupmenus.h"
#include "support/dialogresponder.h"
#include "support/gui/guitest.h"

extern "C" void __sanitizer_set_death_callback(void (*callback)()) __attribute__((weak));

namespace {

std::mt19937_64 gRandom;
long long gSteps = 0;
unsigned long long gSeed = 1;
const char* gLast = "start";

std::size_t Below(std::size_t n) { return n ? std::uniform_int_distribution<std::size_t>(0, n - 1)(gRandom) : 0; }

std::string gDetail;

void Say(const char* what) {
  char line[512];
  const int n = std::snprintf(line, sizeof line, "%s at step %lld (%s on %s), seed %llu\n", what, gSteps, gLast,
                              gDetail.c_str(), gSeed);
  if (n > 0) (void)::write(2, line, static_cast<size_t>(n));
}
void OnDeath() { Say("crash"); }
void OnSignal(int sig) {
  Say("crash");
  std::signal(sig, SIG_DFL);
  std::raise(sig);
}
void OnHang(int) {
  Say("hang: no step came back in time");
  std::abort();
}

void Watch() {
  itimerval cpu{};
  cpu.it_value.tv_sec = 30;
  ::setitimer(ITIMER_PROF, &cpu, nullptr);
  ::alarm(120);
}

// Commands that leave the program's own ground: the program's end, help
// in a browser, the web update, the printer.
bool Excluded(const std::string& name) {
  for (const char* word : {"Exit", "exit", "Help", "help", "Update", "update", "Print", "print", "Web", "web"})
    if (name.find(word) != std::string::npos) return true;
  return false;
}

void Collect(TComponent* c, std::vector<TCustomAction*>& actions) {
  for (int i = 0; i < c->ComponentCount(); ++i) {
    TComponent* child = c->Components(i);
    if (auto* a = dynamic_cast<TCustomAction*>(child); a && !Excluded(a->Name())) actions.push_back(a);
    Collect(child, actions);
  }
}

void Controls(TWinControl* c, std::vector<TControl*>& out) {
  for (int i = 0; i < c->ControlCount(); ++i) {
    TControl* child = c->Controls(i);
    if (!child->Showing() || !child->Enabled()) continue;
    out.push_back(child);
    if (auto* w = dynamic_cast<TWinControl*>(child)) Controls(w, out);
  }
}

std::vector<TCustomForm*> ShowingForms() {
  std::vector<TCustomForm*> forms;
  for (int i = 0; i < Screen->FormCount(); ++i)
    if (Screen->Forms(i)->Showing()) forms.push_back(Screen->Forms(i));
  return forms;
}

const uint16_t kKeys[] = {VK_RETURN, VK_ESCAPE, VK_TAB,    VK_SPACE, VK_BACK, VK_DELETE, VK_INSERT, VK_UP,
                          VK_DOWN,   VK_LEFT,   VK_RIGHT,  VK_HOME,  VK_END,  VK_PRIOR,  VK_NEXT,   VK_F2,
                          VK_F3,     VK_F4,     VK_F5,     VK_F9,    'A',     'C',       'E',       'N',
                          'O',       'R',       'S',       'V',      'X',     'Z',       '0',       '1'};
const char* const kTexts[] = {"1", "0", "-1", "2.5", "1e38", "-0.0", "abc", "Fe1", "99999999999", ",", "\t", " "};

double gSeconds = 60;
std::chrono::steady_clock::time_point gStart;

void Step() {
  Watch();
  ++gSteps;
  if (std::chrono::duration<double>(std::chrono::steady_clock::now() - gStart).count() > gSeconds) {
    gLast = "end of the run";
    Application->Terminate();
    return;
  }
  // The next step is due before this one's input is sent: input that opens
  // a modal loop (a menu, a dialog) gets the next steps inside that loop, as
  // a person would go on clicking there.
  QTimer::singleShot(2, Step);
  const std::vector<TCustomForm*> forms = ShowingForms();
  const std::size_t kind = Below(100);
  if (kind < 6 || forms.empty()) {
    std::vector<TCustomAction*> actions;
    for (int i = 0; i < Screen->FormCount(); ++i) Collect(Screen->Forms(i), actions);
    std::vector<TCustomAction*> enabled;
    for (TCustomAction* a : actions)
      if (a->Enabled() && a->Visible()) enabled.push_back(a);
    if (enabled.empty()) return;
    TCustomAction* a = enabled[Below(enabled.size())];
    gLast = "command";
    gDetail = a->Name();
    a->Execute();
    return;
  }
  if (kind < 8) {
    gLast = "timers";
    guitest::FireTimers();
    return;
  }
  TCustomForm* form = forms[Below(forms.size())];
  std::vector<TControl*> controls{form};
  Controls(form, controls);
  TControl* c = controls[Below(controls.size())];
  gDetail = form->Name() + "." + c->Name() + " (" + c->ClassName() + ")";
  const int w = std::max(1, c->ClientWidth()), h = std::max(1, c->ClientHeight());
  const int x = static_cast<int>(Below(static_cast<std::size_t>(w))), y = static_cast<int>(Below(static_cast<std::size_t>(h)));
  TShiftState shift;
  if (Below(4) == 0) shift.Include(ssShift);
  if (Below(6) == 0) shift.Include(ssCtrl);
  if (Below(12) == 0) shift.Include(ssAlt);
  auto* win = dynamic_cast<TWinControl*>(c);
  if (kind < 45) {
    gLast = "click";
    guitest::WindowClick(c, x, y, Below(5) == 0 ? mbRight : mbLeft);
  } else if (kind < 52) {
    gLast = "double click";
    guitest::DblClick(c, x, y);
  } else if (kind < 57) {
    gLast = "drag";
    guitest::Drag(c, x, y, static_cast<int>(Below(static_cast<std::size_t>(w))),
                  static_cast<int>(Below(static_cast<std::size_t>(h))));
  } else if (kind < 62) {
    gLast = "wheel";
    guitest::Wheel(c, static_cast<int>(Below(7)) - 3, x, y, shift);
  } else if (win && kind < 88) {
    gLast = "key";
    const uint16_t vk = kKeys[Below(std::size(kKeys))];
    std::string text;
    if (vk >= '0' && vk <= 'Z' && !shift.Contains(ssCtrl) && !shift.Contains(ssAlt))
      text = std::string(1, static_cast<char>(shift.Contains(ssShift) || vk < 'A' ? vk : vk + 32));
    guitest::Key(win, vk, text, shift);
  } else if (win) {
    gLast = "typing";
    guitest::TypeText(win, kTexts[Below(std::size(kTexts))]);
  }
}

}  // namespace

int main(int argc, char** argv) {
  bool list = false;
  std::string file;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--seconds" && i + 1 < argc) gSeconds = std::atof(argv[++i]);
    else if (a == "--seed" && i + 1 < argc) gSeed = std::strtoull(argv[++i], nullptr, 10);
    else if (a == "--list") list = true;
    else file = a;
  }
  gRandom.seed(gSeed);
  if (__sanitizer_set_death_callback) __sanitizer_set_death_callback(OnDeath);
  else
    for (int sig : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) std::signal(sig, OnSignal);
  std::signal(SIGALRM, OnHang);
  std::signal(SIGPROF, OnHang);
  guitest::EnsureGui();
  TDialogResponder dialogs;
  guitest::TModalResponder modals;
  guitest::TCommonDialogResponder fileDialogs;
  SetTrackPopupHandler([](const std::vector<TMenuItemInfo>& items, int, int) -> unsigned {
    std::vector<unsigned> ids;
    for (const TMenuItemInfo& m : items)
      if (!(m.Flags & (MF_GRAYED | MF_DISABLED | MF_SEPARATOR))) ids.push_back(m.ID);
    return ids.empty() || Below(3) == 0 ? 0 : ids[Below(ids.size())];
  });
  gStart = std::chrono::steady_clock::now();
  QTimer::singleShot(2, [list] {
    if (!list) return Step();
    std::vector<TCustomAction*> actions;
    for (int i = 0; i < Screen->FormCount(); ++i) Collect(Screen->Forms(i), actions);
    for (TCustomAction* a : actions) std::printf("%s%s\n", a->Name().c_str(), a->Enabled() ? "" : " (disabled)");
    Application->Terminate();
  });
  RegisterExtraSeriesTypes();
  std::vector<std::string> args{argv[0]};
  if (!file.empty()) args.push_back(file);
  std::vector<char*> argp;
  for (std::string& s : args) argp.push_back(s.data());
  Watch();
  RunZelvora(static_cast<int>(argp.size()), argp.data());
  ::alarm(0);
  itimerval off{};
  ::setitimer(ITIMER_PROF, &off, nullptr);
  UnregisterExtraSeriesTypes();
  const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - gStart).count();
  if (!list)
    std::printf("%lld steps in %.0f s, seed %llu, %zu dialogs answered, %s\n", gSteps, took, gSeed, dialogs.Count(),
                took < gSeconds ? "the program ended itself (its Exit command)" : "no fault");
  if (__sanitizer_set_death_callback) __sanitizer_set_death_callback(nullptr);
  return 0;
}
