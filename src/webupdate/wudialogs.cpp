#include "webupdate/wudialogs.h"

#include "platform/ui/forms.h"
#include "platform/ui/richedit.h"
#include "platform/ui/stdctrls.h"
#include "platform/ui/textbrowser.h"

namespace {

// The dialog both texts share: 400 by 400, centred, a read-only memo with
// the text and buttons 10 pixels below it.
struct TTextDialog {
  TForm* Form;
  TMemo* Memo;
  explicit TTextDialog(const std::string& caption, const TStrings& text) {
    Form = new TForm(nullptr);
    Form->SetCaption(caption);
    Form->SetBorderStyle(bsDialog);
    Form->SetBorderIcons({biSystemMenu});
    Form->SetPosition(poScreenCenter);
    Form->SetWidth(400);
    Form->SetHeight(400);
    Memo = new TMemo(Form);
    Memo->SetParent(Form);
    Memo->SetBounds(10, 10, Form->ClientWidth() - 20, Form->ClientHeight() - 60);
    Memo->SetReadOnly(true);
    Memo->SetWordWrap(true);
    Memo->SetScrollBars(ssVertical);
    std::vector<std::string> lines;
    for (int i = 0; i < text.Count(); ++i) lines.push_back(text.Strings(i));
    Memo->AddLines(lines);
  }
  ~TTextDialog() { delete Form; }
  TButton* AddButton(const std::string& caption, int result, int left) {
    auto* b = new TButton(Form);
    b->SetParent(Form);
    b->SetCaption(caption);
    b->SetModalResult(result);
    b->SetBounds(left, Memo->Top() + Memo->Height() + 10, 75, 25);
    return b;
  }
  int Right() const { return Memo->Left() + Memo->Width(); }
};

}  // namespace

int ShowWhatsNewDialog(const std::string& Caption, const std::string& OkText, const std::string& CancelText,
                       const TStrings& Text) {
  TTextDialog d(Caption, Text);
  d.Form->SetName("WhatsNewForm");
  TButton* cancel = d.AddButton(CancelText, mrCancel, d.Right() - 75);
  TButton* ok = d.AddButton(OkText, mrOk, cancel->Left() - 75 - 10);
  ok->SetTabOrder(0);
  cancel->SetTabOrder(1);
  cancel->SetCancel(true);
  return d.Form->ShowModal();
}

bool ShowLicenceDialog(const std::string& Caption, const std::string& OkText, const std::string& AcceptText,
                       const std::string& NotAcceptText, const TStrings& Text) {
  TTextDialog d(Caption, Text);
  d.Form->SetName("LicenceForm");
  TButton* ok = d.AddButton(OkText, mrOk, d.Right() - 75);
  const int top = ok->Top();
  // One of the two, as radio buttons behave; "not accept" is on at first.
  auto* accept = new TCheckBox(d.Form);
  accept->SetName("rbAccept");
  accept->SetParent(d.Form);
  accept->SetCaption(AcceptText);
  accept->SetBounds(10, top, 120, 25);
  auto* notAccept = new TCheckBox(d.Form);
  notAccept->SetName("rbNotAccept");
  notAccept->SetParent(d.Form);
  notAccept->SetCaption(NotAcceptText);
  notAccept->SetBounds(accept->Width() + 20, top, 140, 25);
  notAccept->SetChecked(true);
  accept->OnClick = [accept, notAccept](TObject*) { notAccept->SetChecked(!accept->Checked()); };
  notAccept->OnClick = [accept, notAccept](TObject*) { accept->SetChecked(!notAccept->Checked()); };
  ok->SetTabOrder(0);
  accept->SetTabOrder(1);
  notAccept->SetTabOrder(2);
  return d.Form->ShowModal() == mrOk && accept->Checked();
}

void ShowHTMLDialog(const std::string& Html) {
  TForm form(nullptr);
  form.SetName("HTMLForm");
  form.SetCaption("Zelvora Update");
  form.SetBorderStyle(bsDialog);
  form.SetPosition(poScreenCenter);
  form.SetWidth(520);
  form.SetHeight(420);
  auto* browser = new TTextBrowser(&form);
  browser->SetName("Browser");
  browser->SetParent(&form);
  browser->SetBounds(10, 10, form.ClientWidth() - 20, form.ClientHeight() - 55);
  browser->SetHTML(Html);
  auto* ok = new TButton(&form);
  ok->SetParent(&form);
  ok->SetCaption("OK");
  ok->SetModalResult(mrOk);
  ok->SetDefault(true);
  ok->SetCancel(true);
  ok->SetBounds(form.ClientWidth() - 85, form.ClientHeight() - 35, 75, 25);
  form.ShowModal();
}
