// The about box: product name and version, the machine's memory load and
// system, literature references, and links to the web site and the contact
// address.
#pragma once

#include <string>

#include "app/linklabel.h"
#include "platform/ui/extctrls.h"
#include "platform/ui/forms.h"
#include "platform/ui/graphicctrls.h"
#include "platform/ui/richedit.h"
#include "platform/ui/stdctrls.h"

// The system's name in the about box for a platform id of the version query.
std::string SystemName(unsigned PlatformId);

class TAboutBox : public TForm {
  ZV_CLASS(TAboutBox)
public:
  explicit TAboutBox(TComponent* AOwner);
  ~TAboutBox() override;

  void FormShow(TObject* Sender);

  TPanel* Panel1;
  TImage* ProgramIcon;
  TLabel* ProductName;
  TLabel* Version;
  TLabel* Comments;
  TLabel* Label1;
  TLabel* Label2;
  TLabel* Label3;
  TLabel* Label4;
  TLabel* Label5;
  TLabel* Label6;
  TLabel* Label7;
  TLinkLabel* LinkLabel1;
  TLinkLabel* LinkLabel2;
  TMemo* Memo1;
  TButton* OKButton;

private:
  TLabel* NewLabel(const std::string& caption, int left, int top);
  void DrawIcon();
};

extern TAboutBox* AboutBox;
