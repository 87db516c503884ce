#include "webupdate/wulogin.h"

ZV_CLASS_IMPL_NOPROPS(TLoginForm, TForm)

TLoginForm::TLoginForm(TComponent* AOwner) : TForm(AOwner) {
  SetName("LoginForm");
  SetBorderIcons({biSystemMenu});
  SetPosition(poScreenCenter);
  SetWidth(328);
  SetHeight(223);
  Image1 = new TPanel(this);
  Image1->SetParent(this);
  Image1->SetBounds(0, 0, 320, 60);
  Image1->SetCaption("Zelvora Update");
  Image1->SetColor(0x00805020);
  Image1->Font()->SetColor(0x00FFFFFF);
  Image1->Font()->SetSize(14);
  Label1 = new TLabel(this);
  Label1->SetParent(this);
  Label1->SetCaption("&User name: ");
  Label1->SetBounds(16, 76, 80, 16);
  Edit1 = new TEdit(this);
  Edit1->SetName("Edit1");
  Edit1->SetParent(this);
  Edit1->SetBounds(104, 72, 200, 22);
  Label1->SetFocusControl(Edit1);
  Label2 = new TLabel(this);
  Label2->SetParent(this);
  Label2->SetCaption("&Password:");
  Label2->SetBounds(16, 108, 80, 16);
  Edit2 = new TEdit(this);
  Edit2->SetName("Edit2");
  Edit2->SetParent(this);
  Edit2->SetBounds(104, 104, 200, 22);
  Edit2->SetPasswordChar('*');
  Label2->SetFocusControl(Edit2);
  Button1 = new TButton(this);
  Button1->SetName("Button1");
  Button1->SetParent(this);
  Button1->SetCaption("OK");
  Button1->SetDefault(true);
  Button1->SetModalResult(mrOk);
  Button1->SetBounds(148, 148, 75, 25);
  Button2 = new TButton(this);
  Button2->SetName("Button2");
  Button2->SetParent(this);
  Button2->SetCaption("Cancel");
  Button2->SetCancel(true);
  Button2->SetModalResult(mrCancel);
  Button2->SetBounds(229, 148, 75, 25);
}

bool LoginDialog(const std::string& Caption, std::string& User, std::string& Password) {
  TLoginForm form(Application);
  form.SetCaption(Caption);
  if (form.ShowModal() != mrOk) return false;
  User = form.Edit1->Text();
  Password = form.Edit2->Text();
  return true;
}
