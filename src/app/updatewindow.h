// The update window: the user picks an update mirror and presses Update; the
// window points its update component at the mirror and runs the update,
// showing the status texts and the download's progress. The button's caption
// is the window's state: "Update" runs, "OK" (after or during a run) closes.
#pragma once

#include <functional>
#include <string>

#include "platform/ui/forms.h"
#include "platform/ui/stdctrls.h"
#include "webupdate/wupdate.h"

class TFormUpdate : public TForm {
  ZV_CLASS(TFormUpdate)
public:
  explicit TFormUpdate(TComponent* AOwner);

  TLabel* Label2;
  TComboBox* cbSites;
  TButton* btUpdate;
  TLabel* Label1;
  TLabel* lbUpdateStatus;
  TLabel* lbfiles;
  TNetUpdate* NetUpdate1;

  // The mirror table (host and folder of an index); the program's own by
  // default.
  std::function<std::string(int)> MirrorHost;
  std::function<std::string(int)> MirrorPath;

  void FormCreate(TObject* Sender);
  void FormShow(TObject* Sender);
  void cbSitesChange(TObject* Sender);
  void btUpdateClick(TObject* Sender);
  void NetUpdate1Status(TObject* Sender, const std::string& StatusStr, int StatusCode, int ErrCode);
  void NetUpdate1FileProgress(TObject* Sender, const std::string& FileName, int Pos, int Size);
};
