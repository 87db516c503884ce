// A form with the standard controls (pages, tabs, radio group, group box,
// list boxes, tree view) for looking at them on a real display; with
// ZELVORA_DEMO_SHOT=<file.png> it saves a picture of the screen after a
// moment and quits.
#include <cstdlib>
#include <string>

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include "platform/ui/extctrls.h"
#include "platform/ui/forms.h"
#include "platform/ui/lists.h"
#include "platform/ui/pages.h"
#include "platform/ui/radio.h"
#include "platform/ui/stdctrls.h"
#include "platform/ui/treeview.h"

int main() {
  Application->Initialize();
  TForm* form = nullptr;
  Application->CreateForm(form);
  form->SetCaption("Zelvora standard controls");
  form->SetBounds(40, 40, 560, 360);
  auto* tree = new TTreeView(form);
  tree->SetParent(form);
  tree->SetAlign(alLeft);
  tree->SetWidth(140);
  TTreeNode* series = tree->Items()->Add(nullptr, "Series");
  tree->Items()->AddChild(series, "Series1");
  tree->Items()->AddChild(series, "Series2");
  TTreeNode* chart = tree->Items()->Add(nullptr, "Chart");
  for (const char* s : {"General", "Axis", "Titles", "Legend"}) tree->Items()->AddChild(chart, s);
  tree->Items()->Add(nullptr, "Data");
  chart->Expand(false);
  series->Expand(false);
  tree->SetSelected(chart->Item(1));

  auto* pages = new TPageControl(form);
  pages->SetParent(form);
  pages->SetAlign(alClient);
  pages->SetMultiLine(true);
  for (const char* s : {"Instrument", "Histogram", "Macros", "Display", "Folders", "Refinement"}) {
    auto* sheet = new TTabSheet(form);
    sheet->SetCaption(s);
    sheet->SetPageControl(pages);
  }
  TTabSheet* first = pages->Pages(0);
  auto* group = new TRadioGroup(form);
  group->SetParent(first);
  group->SetBounds(8, 8, 180, 100);
  group->SetCaption("&Format");
  group->SetColumns(2);
  for (const char* s : {"Value", "Percent", "Label", "Label and Value", "Legend"}) group->Items()->Add(s);
  group->SetItemIndex(3);
  auto* box = new TGroupBox(form);
  box->SetParent(first);
  box->SetBounds(200, 8, 180, 100);
  box->SetCaption("Form Factor Type");
  auto* calc = new TRadioButton(form);
  calc->SetParent(box);
  calc->SetBounds(10, 22, 150, 20);
  calc->SetCaption("Calculated");
  calc->SetChecked(true);
  auto* interp = new TRadioButton(form);
  interp->SetParent(box);
  interp->SetBounds(10, 46, 150, 20);
  interp->SetCaption("Interpolated");
  auto* list = new TListBox(form);
  list->SetParent(first);
  list->SetBounds(8, 120, 180, 120);
  list->SetMultiSelect(true);
  for (int i = 1; i <= 12; ++i) list->Items()->Add("Parameter " + std::to_string(i));
  list->SetSelected(1, true);
  list->SetSelected(2, true);
  auto* checks = new TCheckListBox(form);
  checks->SetParent(first);
  checks->SetBounds(200, 120, 180, 120);
  checks->SetAllowGrayed(true);
  for (const char* s : {"(all)", "Group 1", "Group 2"}) checks->Items()->Add(s);
  checks->SetState(0, cbGrayed);
  checks->SetChecked(1, true);
  checks->SetItemIndex(1);

  const char* shot = std::getenv("ZELVORA_DEMO_SHOT");
  auto* timer = new TTimer(form);
  if (shot) {
    std::string file = shot;
    timer->SetInterval(700);
    timer->SetOnTimer([file, form, timer](TObject*) {
      timer->SetEnabled(false);
      if (QScreen* screen = QGuiApplication::primaryScreen()) screen->grabWindow(0).save(QString::fromStdString(file));
      form->Close();
    });
  }
  Application->Run();
  return 0;
}
