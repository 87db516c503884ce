#include "app/mainlink.h"

#include "model/global.h"
#include "platform/dialogs.h"
#include "platform/gfx/printer.h"
#include "platform/ui/controls.h"

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

namespace {
// Hears of the last active control's end through the layer's free
// notification and makes LastActiveControl forget it.
class TLastActiveWatcher : public TComponent {
public:
  TLastActiveWatcher() : TComponent(nullptr) {}

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == static_cast<TControl*>(LastActiveControl)) LastActiveControl.Forget();
  }
};

TLastActiveWatcher* Watcher() {
  // Never freed: controls may end after static destructors have run.
  static auto* watcher = new TLastActiveWatcher();
  return watcher;
}

void WatchLastActive(TControl* Old, TControl* New) {
  if (Old) Old->RemoveFreeNotification(Watcher());
  if (New) New->FreeNotification(Watcher());
}

const bool WatchInstalled = (LastActiveControlWatch = &WatchLastActive, true);
}  // namespace

void SetLastActiveControl(TControl* Control) {
  (void)WatchInstalled;
  LastActiveControl = Control;
}

TControl* GetLastActiveControl() { return LastActiveControl; }

void SayWherePrinted() {
  const std::string& file = Printer()->PrintedFile();
  if (!file.empty()) ShowMessage("There is no printer: the document was written to " + file + ".");
}
