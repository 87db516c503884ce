#include "app/updatewindow.h"

#include "model/global.h"

ZV_CLASS_IMPL_NOPROPS(TFormUpdate, TForm)

namespace {

const char* const MirrorLabels[] = {"Zelvora FTP site",        "Crystallography web site (UK)",
                                    "Crystallography FTP site (UK)", "Crystallography mirror (Australia)",
                                    "Crystallography mirror (Canada)", "Not Available"};

TLabel* AddLabel(TFormUpdate* form, const char* name, const std::string& caption, int left, int top) {
  auto* l = new TLabel(form);
  l->SetName(name);
  l->SetParent(form);
  l->SetCaption(caption);
  l->SetLeft(left);
  l->SetTop(top);
  return l;
}

}  // namespace

TFormUpdate::TFormUpdate(TComponent* AOwner)
    : TForm(AOwner), MirrorHost(UpdateMirrorHost), MirrorPath(UpdateMirrorPath) {
  SetName("FormUpdate");
  SetCaption("Zelvora Update");
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  SetClientWidth(414);
  SetClientHeight(88);
  Label2 = AddLabel(this, "Label2", "Site:", 16, 12);
  cbSites = new TComboBox(this);
  cbSites->SetName("cbSites");
  cbSites->SetParent(this);
  cbSites->SetStyle(csDropDownList);
  cbSites->SetBounds(60, 8, 213, 21);
  for (const char* label : MirrorLabels) cbSites->Items()->Add(label);
  cbSites->OnChange = [this](TObject* s) { cbSitesChange(s); };
  btUpdate = new TButton(this);
  btUpdate->SetName("btUpdate");
  btUpdate->SetParent(this);
  btUpdate->SetCaption("Update");
  btUpdate->SetBounds(292, 8, 75, 25);
  btUpdate->OnClick = [this](TObject* s) { btUpdateClick(s); };
  Label1 = AddLabel(this, "Label1", "Status:", 16, 40);
  lbUpdateStatus = AddLabel(this, "lbUpdateStatus", "", 60, 40);
  lbfiles = AddLabel(this, "lbfiles", "", 59, 60);

  NetUpdate1 = new TNetUpdate(this);
  NetUpdate1->SetName("NetUpdate1");
  NetUpdate1->Agent = "TNetUpdate";
  NetUpdate1->FTPPassive = true;
  NetUpdate1->SetLogFileName("WUPDATE.LOG");
  NetUpdate1->LastURLEntry()->Save = true;
  NetUpdate1->LastURLEntry()->Key = "LastUpdateDate";
  NetUpdate1->LastURLEntry()->Section = "\\Software\\Zelvora\\Update";
  NetUpdate1->LastURLEntry()->RegRoot = lurLOCALUSER;
  NetUpdate1->Port = 0;
  NetUpdate1->Signature = "NetUpdate";
  // The control file is a scratch file of this process: it goes to the
  // process's own folder (an empty name), not to whatever folder the program
  // runs in.
  NetUpdate1->TempDirectory.clear();
  NetUpdate1->UpdateType = ftpUpdate;
  NetUpdate1->UpdateConnect = wucConnectPrompt;
  NetUpdate1->UpdateUpdate = wuuPromptOnce;
  NetUpdate1->VersionCheck = vcUpdateOnly;
  NetUpdate1->Authenticate = waNever;
  NetUpdate1->OnStatus = [this](TObject* s, const std::string& text, int status, int error) {
    NetUpdate1Status(s, text, status, error);
  };
  NetUpdate1->OnFileProgress = [this](TObject* s, const std::string& name, int pos, int size) {
    NetUpdate1FileProgress(s, name, pos, size);
  };
  OnShow = [this](TObject* s) { FormShow(s); };
  FormCreate(this);
}

void TFormUpdate::FormCreate(TObject*) {
  // Laid out for 96 pixels per inch.
  ScaleToScreen();
  cbSites->SetItemIndex(UpdateSite >= 0 && UpdateSite <= 4 ? UpdateSite : 2);
}

void TFormUpdate::FormShow(TObject*) {
  btUpdate->SetCaption("Update");
  cbSites->SetItemIndex(UpdateSite);
}

void TFormUpdate::cbSitesChange(TObject*) {
  btUpdate->SetCaption("Update");
  UpdateSite = cbSites->ItemIndex();
}

void TFormUpdate::btUpdateClick(TObject*) {
  if (btUpdate->Caption() != "Update") {
    Screen->SetCursor(crDefault);
    Close();
    return;
  }
  btUpdate->SetCaption("OK");
  UpdateSite = cbSites->ItemIndex();
  Screen->SetCursor(crHourGlass);
  lbfiles->SetCaption("");
  const std::string host = MirrorHost(UpdateSite);
  NetUpdate1->Host = host;
  if (host.compare(0, 3, "ftp") != 0) {
    NetUpdate1->UpdateType = httpUpdate;
    NetUpdate1->FTPPassive = false;
    NetUpdate1->URL = host + MirrorPath(UpdateSite) + "update.inf";
  } else {
    NetUpdate1->UpdateType = ftpUpdate;
    NetUpdate1->FTPPassive = true;
    NetUpdate1->Host = host;
    NetUpdate1->URL = "update.inf";
    NetUpdate1->FTPDirectory = MirrorPath(UpdateSite);
    NetUpdate1->Proxy.clear();
    NetUpdate1->Port = 0;
  }
  NetUpdate1->UserID.clear();
  NetUpdate1->Password.clear();
  NetUpdate1->RunUpdate();
  Screen->SetCursor(crDefault);
  btUpdate->SetCaption("OK");
}

void TFormUpdate::NetUpdate1Status(TObject*, const std::string& StatusStr, int StatusCode, int) {
  lbUpdateStatus->SetCaption(StatusStr);
  if (StatusStr == "Update control file not found") lbfiles->SetCaption("No update file available.");
  if (StatusCode == 4) lbfiles->SetCaption("This is the current version of Zelvora.");
}

void TFormUpdate::NetUpdate1FileProgress(TObject*, const std::string& FileName, int Pos, int) {
  lbfiles->SetCaption("Downloading " + FileName + "  Size: " + std::to_string(Pos));
}
