// Two lists, "available" and "selected", with buttons that move items
// between them and reorder the selection; the function source page embeds
// it to choose several source series.
#pragma once

#include "platform/ui/buttons.h"
#include "platform/ui/extctrls.h"
#include "platform/ui/forms.h"
#include "platform/ui/lists.h"
#include "platform/ui/splitter.h"

class TSelectListForm : public TForm {
  ZV_CLASS(TSelectListForm)
public:
  explicit TSelectListForm(TComponent* AOwner);

  TListBox* Available() const { return FromList; }
  TListBox* Selection() const { return ToList; }
  // After every move.
  TNotifyEvent OnChange;
  // The buttons' enabling, from the lists' contents.
  void EnableButtons();

protected:
  virtual void FormCreate(TObject* Sender);
  virtual void FormShow(TObject* Sender);
  virtual void BRightOneClick(TObject* Sender);
  virtual void BRightAllClick(TObject* Sender);
  virtual void BLeftOneClick(TObject* Sender);
  virtual void BLeftAllClick(TObject* Sender);
  virtual void FromListDblClick(TObject* Sender);
  virtual void ToListDblClick(TObject* Sender);
  virtual void BMoveUPClick(TObject* Sender);
  virtual void BMoveDownClick(TObject* Sender);
  void Changed();
  void MoveCurrent(int Delta);

  TPanel* Panel2;
  TLabel* L22;
  TListBox* FromList;
  TSplitter* Splitter1;
  TPanel* Panel3;
  TButton* BRightOne;
  TButton* BRightAll;
  TButton* BLeftOne;
  TButton* BLeftAll;
  TPanel* Panel4;
  TLabel* L24;
  TListBox* ToList;
  TPanel* Panel1;
  TSpeedButton* BMoveUP;
  TSpeedButton* BMoveDown;
};

void RegisterSelectListClasses();
