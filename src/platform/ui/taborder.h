// The order in which Tab visits the windowed controls of a window. A control
// that keeps some of its children out of it (a toolbar whose controls are
// hidden behind its chevron) answers its own part of the list.
#pragma once

#include <vector>

class TWinControl;

class ITabOrderList {
public:
  virtual ~ITabOrderList() = default;
  // Appends the windowed controls inside this one in Tab order (AddTabOrderList
  // gives the usual answer), then takes out those Tab must pass over.
  virtual void GetTabOrderList(std::vector<TWinControl*>& List) = 0;
};

// The windowed children of Parent by TabOrder, each followed by its own
// list, depth first; a child answering ITabOrderList gives that part itself.
void AddTabOrderList(TWinControl* Parent, std::vector<TWinControl*>& List);
// The Tab order of the window that holds Control (Control's topmost parent).
std::vector<TWinControl*> WindowTabOrderList(TWinControl* Control);
// Whether Tab may stop at Control: it is in its window's Tab order list.
bool InWindowTabOrder(TWinControl* Control);
