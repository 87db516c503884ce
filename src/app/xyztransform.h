// The XYZ transformation dialog: the program-wide coordinate transformation
// as three equations, Xnew = xx X + xy Y + xz Z + xt and likewise for Y and
// Z, with the matrix's determinant shown while it is typed. The phases
// window shows it and, on OK, transforms the coordinates of its atom grid.
#pragma once

#include <memory>

#include "platform/ui/forms.h"
#include "platform/ui/stdctrls.h"

class TTransformation;

class TFormTrans : public TForm {
  ZV_CLASS(TFormTrans)
public:
  explicit TFormTrans(TComponent* AOwner);
  ~TFormTrans() override;

  // The edits by row (X, Y, Z) and column (X, Y, Z, T).
  TEdit* Edit(int Row, int Col) const { return FEdits[Row][Col]; }
  TEdit* edxx; TEdit* edxy; TEdit* edxz; TEdit* edxt;
  TEdit* edyx; TEdit* edyy; TEdit* edyz; TEdit* edyt;
  TEdit* edzx; TEdit* edzy; TEdit* edzz; TEdit* edzt;
  TLabel* lbdeter;
  TButton* btOK;
  TButton* btCancel;

  void FormShow(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  // Reads the twelve edits into the working copy (text that is not a number gives 0).
  void SetValues();
  void EditKeyUp(TObject* Sender, uint16_t& Key, TShiftState Shift);
  void btOKClick(TObject* Sender);

private:
  void ShowDeterminant();
  TEdit* FEdits[3][4] = {};
  std::unique_ptr<TTransformation> FWork;
};

extern TFormTrans* FormTrans;
