// Collects the messages the model's code would show, for the engine to turn
// into its error numbers: nothing inside the engine ever waits for a person.
#pragma once

#include <string>
#include <vector>

#include "platform/dialogs.h"

class TMessageTrap {
public:
  TMessageTrap() {
    FPrevious = SetDialogHandler([this](const TDialogRequest& r) {
      Messages.push_back(r.Text);
      TDialogAnswer a;
      a.Result = r.DefaultResult;
      return a;
    });
  }
  ~TMessageTrap() { SetDialogHandler(FPrevious); }
  TMessageTrap(const TMessageTrap&) = delete;
  TMessageTrap& operator=(const TMessageTrap&) = delete;

  std::vector<std::string> Messages;

private:
  TDialogHandler FPrevious;
};
