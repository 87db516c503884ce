#include "chart/editor/editorbuild.h"

namespace editorbuild {

TLabel* MakeLabel(TComponent* Owner, TWinControl* Parent, const char* Name, int Left, int Top,
                  const std::string& Caption, TWinControl* Focus) {
  auto* l = new TLabel(Owner);
  if (Name && *Name) l->SetName(Name);
  l->SetLeft(Left);
  l->SetTop(Top);
  l->SetCaption(Caption);
  l->SetFocusControl(Focus);
  l->SetParent(Parent);
  return l;
}

TButton* MakeOkButton(TComponent* Owner, TWinControl* Parent, const char* Name, int Left, int Top) {
  auto* b = Make<TButton>(Owner, Parent, Name, Left, Top, 75, 25, "OK");
  b->SetDefault(true);
  b->SetModalResult(mrOk);
  return b;
}

TButton* MakeCancelButton(TComponent* Owner, TWinControl* Parent, const char* Name, int Left, int Top) {
  auto* b = Make<TButton>(Owner, Parent, Name, Left, Top, 75, 25, "Cancel");
  b->SetCancel(true);
  b->SetModalResult(mrCancel);
  return b;
}

void FireOnDestroy(TCustomForm* Form) {
  if (!Form->OnDestroy) return;
  TNotifyEvent handler = std::move(Form->OnDestroy);
  Form->OnDestroy = nullptr;
  handler(Form);
}

}  // namespace editorbuild
