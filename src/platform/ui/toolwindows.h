// Frameless tool windows that float above a host window without ever taking
// the focus or the activation, and the outline drawn over everything while a
// window is dragged or sized by its outline.
#pragma once

#include <memory>

#include "platform/ui/forms.h"

// Makes the form's window a frameless tool window that takes neither the
// focus nor the activation and stays above Host (its transient parent); nil
// keeps it above every window. How exactly it stacks is the window
// manager's business.
void MakeFloatingToolWindow(TCustomForm* Form, TCustomForm* Host);
// Shows or hides such a window without activating anything.
void ShowToolWindow(TCustomForm* Form, bool Show);
bool ToolWindowShown(const TCustomForm* Form);
// The form's window is minimised now.
bool FormIsMinimized(const TCustomForm* Form);
// The application has the active window.
bool ApplicationIsActive();
// The control of the active top-level window; nil when none of ours.
TWinControl* ActiveTopLevelControl();

// An outline drawn over every window (a halftone frame), for drags and
// sizes that show the outline instead of moving the window.
class TRubberBand {
public:
  TRubberBand();
  ~TRubberBand();
  // Shows the frame of R (screen coordinates), Thickness pixels wide; an
  // empty rectangle hides it.
  void Show(const TRect& R, int Thickness);
  void Hide();
  TRect Shown() const { return FShown; }
  int Thickness() const { return FThickness; }

private:
  struct TImpl;
  std::unique_ptr<TImpl> FImpl;
  TRect FShown{};
  int FThickness = 0;
};
// The outline showing now (tests); empty when none.
TRect ShownRubberBand();
