// The tools gallery: the registered tool types of one family ("Series",
// "Axis", "Other") to pick one from, and the drawing of a tool item that the
// tools page shares.
#pragma once

#include "chart/core/chart.h"
#include "platform/ui/forms.h"
#include "platform/ui/lists.h"
#include "platform/ui/pages.h"
#include "platform/ui/stdctrls.h"

// One tool item: highlight or list colour, the tool class's bitmap at
// (Left + 2, Top + 1) and its type name at (Left + 22, Top + 2).
void DrawToolItem(TCustomListBox* ListBox, int Index, const TRect& Rect, TOwnerDrawState State,
                  TGrafCustomTool* Tool);

class TGrafToolsGallery : public TForm {
  ZV_CLASS(TGrafToolsGallery)
public:
  explicit TGrafToolsGallery(TComponent* AOwner);

  // The tool class of the selected item, nil when none.
  TClass SelectedToolClass() const;

  virtual void FormShow(TObject* Sender);
  virtual void TabControl1Change(TObject* Sender);
  virtual void LBToolClick(TObject* Sender);
  virtual void LBToolDblClick(TObject* Sender);
  virtual void LBToolDrawItem(TWinControl* Control, int Index, const TRect& Rect, TOwnerDrawState State);

  TTabControl* TabControl1;
  TListBox* LBTool;
  TButton* BOk;
  TButton* BCan;

protected:
  void FillTools();
};

void RegisterToolsGalleryClasses();
