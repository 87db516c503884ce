// The general window: the refinement-wide settings of the one model (title,
// output options, cycles and data reading, bond-distance range, damping
// factors and limits, strategy). It has no pages: OK stores everything
// (after every number was read), Cancel keeps the model as it was.
#pragma once

#include <initializer_list>
#include <map>
#include <string>

#include "platform/ui/forms.h"
#include "platform/ui/radio.h"
#include "platform/ui/spinedit.h"
#include "platform/ui/stdctrls.h"

class TGeneralForm : public TForm {
  ZV_CLASS(TGeneralForm)
public:
  explicit TGeneralForm(TComponent* AOwner);
  ~TGeneralForm() override;

  // Fills the controls from the model (nothing without one).
  void UpdateForm();
  // Stores the controls in the model and closes; a number that does not
  // convert is refused with a message naming its field, and then nothing
  // is stored and the window stays.
  void Button1Click(TObject* Sender);
  void Button2Click(TObject* Sender);
  void Button3Click(TObject* Sender);
  // Marks the loaded model changed (not while the controls are filled).
  void DirtyGeneral(TObject* Sender);

  TEdit* TitleEdit;
  TCheckBox* IOTCheckBox;
  TCheckBox* IPLCheckBox;
  TCheckBox* IPCCheckBox;
  TCheckBox* MATCheckBox;
  TCheckBox* LST1CheckBox;
  TCheckBox* LST2CheckBox;
  TCheckBox* LST3CheckBox;
  TCheckBox* IPL1CheckBox;
  TComboBox* cbPlotFile;
  TComboBox* cbFourierfile;
  TCheckBox* cbRecy;
  TSpinEdit* NCyclesSpinEdit;
  TCheckBox* LSyncCheckBox;
  TCheckBox* SepCheckBox;
  TCheckBox* IPREFCheckBox;
  TComboBox* cbReadFormat;
  TCheckBox* cbThermal;
  TEdit* RminEdit;
  TEdit* RmaxEdit;
  TEdit* EPSEdit;
  TEdit* Rel1Edit;
  TEdit* Rel2Edit;
  TEdit* Rel3Edit;
  TEdit* Rel4Edit;
  TEdit* AsymLimitEdit;
  TEdit* FFLimitEdit;
  TComboBox* cbStrategy;
  TEdit* edMarquardt;
  TButton* Button1;
  TButton* Button2;
  TButton* Button3;

private:
  bool FPlaced = false;  // shown beside its opener once
  void FormShow(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void FormDeactivate(TObject* Sender);
  TEdit* NumberEdit(TWinControl* parent, const std::string& caption, int x, int y, int labelWidth);
  TCheckBox* Box(TWinControl* parent, const std::string& caption, int x, int y, int width);
  TComboBox* Combo(TWinControl* parent, const std::string& caption, std::initializer_list<const char*> items, int x,
                   int y, int width);
  bool FLoading = false;
  // The caption of each number's edit, for the message that refuses it.
  std::map<TEdit*, std::string> FFieldNames;
};

extern TGeneralForm* GeneralForm;
