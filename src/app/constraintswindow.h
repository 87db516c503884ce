// The constraints window: the model's refined parameters listed by kind in
// three lists; one dragged onto the left column starts a constraint, those
// dragged onto the right column are tied to it with a typed ratio. OK
// rebuilds the model's refinement set from what the window shows; Cancel
// leaves it as it was.
#pragma once

#include <string>
#include <vector>

#include "model/rietclass.h"
#include "platform/ui/forms.h"
#include "platform/ui/grids.h"
#include "platform/ui/lists.h"
#include "platform/ui/stdctrls.h"

class TTBPopupMenu;
class TTBItem;

class TConstraintForm : public TForm {
  ZV_CLASS(TConstraintForm)
public:
  explicit TConstraintForm(TComponent* AOwner);
  ~TConstraintForm() override;

  void UpdateForm();
  // Lists every refined parameter and every constraint's second member by kind.
  void ShowVars();
  // One row per constraint in the two grids.
  void ShowCons();
  void ClearForm();

  void FormShow(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  // Rebuilds the refinement set and closes; a ratio that is no number is
  // refused with a message, and then nothing changes.
  void ButtonOKClick(TObject* Sender);
  void ButtonCancelClick(TObject* Sender);
  void ButtonHelpClick(TObject* Sender);
  void StringGrid1Click(TObject* Sender);
  void StringGrid2Click(TObject* Sender);
  void StringGrid1DragOver(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept);
  void StringGrid2DragOver(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept);
  void StringGrid1DragDrop(TObject* Sender, TObject* Source, int X, int Y);
  void StringGrid2DragDrop(TObject* Sender, TObject* Source, int X, int Y);
  void PopupMenu1Popup(TObject* Sender);
  // Removes the selected constraint rows; their members go back into the
  // lists (unless listed already or used by another row), so they stay refined.
  void DeleteConstraint1Click(TObject* Sender);

  // The parameters behind a list's items and the grids' rows (row n is
  // entry n - 1).
  const std::vector<TParameter>& ListParameters(TListBox* List) const;
  const std::vector<TParameter>& FirstMembers() const { return FFirst; }
  const std::vector<TParameter>& SecondMembers() const { return FSecond; }
  // Constraint rows shown (the header not counted).
  int FirstRows() const { return static_cast<int>(FFirst.size()); }
  int SecondRows() const { return static_cast<int>(FSecond.size()); }

  TListBox* ListBoxGlobal;
  TListBox* ListBoxPhase;
  TListBox* ListBoxSample;
  TStringGrid* StringGrid1;
  TStringGrid* StringGrid2;
  TLabel* Labelvar;
  TLabel* Labelcon;
  TButton* ButtonOK;
  TButton* ButtonCancel;
  TButton* ButtonHelp;
  TTBPopupMenu* PopupMenu1;
  TTBItem* DeleteConstraint1;

private:
  bool FPlaced = false;  // shown beside its opener once
  void FormDeactivate(TObject* Sender);
  TListBox* ListOfKind(int Kind);
  std::vector<TParameter>& ItemsOf(TListBox* List);
  void AddToList(const TParameter& P, const std::string& Text);
  bool IsList(TObject* Source) const;
  void SetMultiSelect(bool On);
  // Sets a grid's rows as constraints + the header.
  static void SetRows(TStringGrid* Grid, int Constraints);
  void AppendRow(TStringGrid* Grid, std::vector<TParameter>& Members, const TParameter& P, const std::string& Text);
  void DeleteRow(int Row);
  bool Listed(const TParameter& P) const;
  bool UsedInRows(const TParameter& P) const;

  std::vector<TParameter> FGlobal, FPhase, FSample;
  std::vector<TParameter> FFirst, FSecond;
};

extern TConstraintForm* ConstraintForm;
