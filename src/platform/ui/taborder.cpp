#include "platform/ui/taborder.h"

#include <algorithm>

#include "platform/ui/controls.h"

void AddTabOrderList(TWinControl* Parent, std::vector<TWinControl*>& List) {
  std::vector<TWinControl*> children;
  for (int i = 0; i < Parent->ControlCount(); ++i)
    if (auto* w = dynamic_cast<TWinControl*>(Parent->Controls(i))) children.push_back(w);
  std::stable_sort(children.begin(), children.end(),
                   [](TWinControl* a, TWinControl* b) { return a->TabOrder() < b->TabOrder(); });
  for (TWinControl* c : children) {
    List.push_back(c);
    if (auto* own = dynamic_cast<ITabOrderList*>(c)) own->GetTabOrderList(List);
    else AddTabOrderList(c, List);
  }
}

std::vector<TWinControl*> WindowTabOrderList(TWinControl* Control) {
  TWinControl* root = Control;
  while (root->Parent()) root = root->Parent();
  std::vector<TWinControl*> list;
  if (auto* own = dynamic_cast<ITabOrderList*>(root)) own->GetTabOrderList(list);
  else AddTabOrderList(root, list);
  return list;
}

bool InWindowTabOrder(TWinControl* Control) {
  TWinControl* root = Control;
  while (root->Parent()) root = root->Parent();
  if (root == Control) return true;
  const std::vector<TWinControl*> list = WindowTabOrderList(Control);
  return std::find(list.begin(), list.end(), Control) != list.end();
}
