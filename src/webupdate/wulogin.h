// The log-in dialog of the web update's HTTP authorisation.
#pragma once

#include <string>

#include "platform/ui/extctrls.h"
#include "platform/ui/forms.h"
#include "platform/ui/stdctrls.h"

class TLoginForm : public TForm {
  ZV_CLASS(TLoginForm)
public:
  explicit TLoginForm(TComponent* AOwner);
  TPanel* Image1;  // the banner
  TLabel* Label1;
  TEdit* Edit1;
  TLabel* Label2;
  TEdit* Edit2;
  TButton* Button1;
  TButton* Button2;
};

// Asks for a user name and password under the caption; true after OK with
// the two texts, false after Cancel with both left as they were.
bool LoginDialog(const std::string& Caption, std::string& User, std::string& Password);
