// Small builders the editor forms lay their controls out with (in code, at
// the sizes of the designed forms), and the form chores they share.
#pragma once

#include <string>

#include "platform/ui/controls.h"
#include "platform/ui/forms.h"
#include "platform/ui/stdctrls.h"

namespace editorbuild {

// A control owned by Owner, on Parent, named (so hosts and tests find it by
// name) and placed at (Left, Top) with the size given.
template <class T>
T* Make(TComponent* Owner, TWinControl* Parent, const char* Name, int Left, int Top, int Width, int Height) {
  T* c = new T(Owner);
  if (Name && *Name) c->SetName(Name);
  c->SetBounds(Left, Top, Width, Height);
  if (Parent) c->SetParent(Parent);
  return c;
}

// The same with a caption.
template <class T>
T* Make(TComponent* Owner, TWinControl* Parent, const char* Name, int Left, int Top, int Width, int Height,
        const std::string& Caption) {
  T* c = Make<T>(Owner, Parent, Name, Left, Top, Width, Height);
  c->SetCaption(Caption);
  return c;
}

// A label that gives the focus to Focus on its accelerator.
TLabel* MakeLabel(TComponent* Owner, TWinControl* Parent, const char* Name, int Left, int Top,
                  const std::string& Caption, TWinControl* Focus = nullptr);

// "OK" (default, modal result OK) and "Cancel" (cancel, modal result Cancel).
TButton* MakeOkButton(TComponent* Owner, TWinControl* Parent, const char* Name, int Left, int Top);
TButton* MakeCancelButton(TComponent* Owner, TWinControl* Parent, const char* Name, int Left, int Top);

// A form is "showing" from the moment it is made visible, its OnShow
// included (the class library's Showing), until it is hidden.
inline bool FormShowing(const TCustomForm* Form) { return Form->FormState().Contains(fsVisible); }

// Runs and clears the form's OnDestroy. A form whose OnDestroy handler uses
// its own members calls this first in its destructor, while they still
// exist (the base destructor would call it too late).
void FireOnDestroy(TCustomForm* Form);

}  // namespace editorbuild
