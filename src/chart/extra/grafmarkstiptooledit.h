// The marks-tip tool's editor: the series ("(all)" for every one), what
// the tip shows, whether moving or clicking shows it, and the delay.
#pragma once

#include "chart/editor/graftoolseriesedit.h"
#include "platform/ui/radio.h"
#include "platform/ui/ranges.h"

class TMarksTipTool;
class TFormGrafSeries;

class TMarksTipToolEdit : public TSeriesToolEditor {
  ZV_CLASS(TMarksTipToolEdit)
public:
  explicit TMarksTipToolEdit(TComponent* AOwner);
  ~TMarksTipToolEdit() override;
  TMarksTipTool* Tip() const;

  TLabel* Label2;
  TComboFlat* CBMarkStyle;
  TRadioGroup* RGMouseAction;
  TLabel* Label3;
  TEdit* EDelay;
  TUpDown* UDDelay;
  TLabel* Label4;

protected:
  void FormCreate(TObject* Sender) override;
  void FormShow(TObject* Sender) override;

private:
  bool Writing() const { return Tip() && !FLoading; }
  // The series page, hidden, only lent its list of marks styles.
  TFormGrafSeries* FSeriesPage = nullptr;
  bool FLoading = true;
};
