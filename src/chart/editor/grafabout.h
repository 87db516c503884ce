// The chart library's about box: its pictures, name and version over a
// background gradient whose two colours pulse slowly between light and dark.
#pragma once

#include <string>

#include "platform/ui/extctrls.h"
#include "platform/ui/forms.h"
#include "platform/ui/graphicctrls.h"
#include "platform/ui/stdctrls.h"

class TGrafAboutForm : public TForm {
  ZV_CLASS(TGrafAboutForm)
public:
  explicit TGrafAboutForm(TComponent* AOwner);

  TBevel* Bevel1;
  TImage* Image1;
  TImage* Image2;
  TLabel* LabelVersion;
  TLabel* LabelCopy;
  TLabel* Label1;
  TButton* BClose;
  TTimer* Timer1;

  void FormCreate(TObject* Sender);
  void FormPaint(TObject* Sender);
  // Every 100 ms: the first colour darkens and the second brightens by the
  // step in each of red, green and blue (kept within 0..255); when either
  // has become black the step turns round.
  void Timer1Timer(TObject* Sender);

  TColor Color1() const { return FColor1; }
  TColor Color2() const { return FColor2; }
  int Step() const { return FStep; }

private:
  TColor FColor1 = 0xE0E0E0;
  TColor FColor2 = clGray;
  int FStep = 4;
};

// Shows the about box modally; empty texts keep the form's own caption and version.
void ShowGrafAboutBox(const std::string& ACaption = "", const std::string& AVersion = "");

void RegisterGrafAboutUnit();
