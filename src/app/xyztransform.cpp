#include "app/xyztransform.h"

#include "model/brkapart.h"
#include "model/crystal.h"
#include "model/global.h"
#include "platform/rtl/format.h"

TFormTrans* FormTrans = nullptr;

ZV_CLASS_IMPL_NOPROPS(TFormTrans, TForm)

TFormTrans::TFormTrans(TComponent* AOwner) : TForm(AOwner) {
  SetName("FormTrans");
  SetCaption("XYZ Transformation");
  SetBorderStyle(bsDialog);
  SetClientWidth(392);
  SetClientHeight(196);
  const char* heads[4] = {"X", "Y", "Z", "T"};
  const char* rows[3] = {"Xnew =", "Ynew =", "Znew ="};
  const char* names[3][4] = {{"edxx", "edxy", "edxz", "edxt"}, {"edyx", "edyy", "edyz", "edyt"},
                             {"edzx", "edzy", "edzz", "edzt"}};
  for (int c = 0; c < 4; ++c) {
    auto* l = new TLabel(this);
    l->SetParent(this);
    l->SetCaption(heads[c]);
    l->SetBounds(90 + c * 76 + (c == 3 ? 14 : 0) + 26, 10, 12, 16);
  }
  for (int r = 0; r < 3; ++r) {
    auto* l = new TLabel(this);
    l->SetParent(this);
    l->SetCaption(rows[r]);
    l->SetBounds(12, 34 + r * 30, 60, 16);
    auto* plus = new TLabel(this);
    plus->SetParent(this);
    plus->SetCaption("+");
    plus->SetBounds(90 + 3 * 76, 34 + r * 30, 10, 16);
    for (int c = 0; c < 4; ++c) {
      auto* e = new TEdit(this);
      e->SetName(names[r][c]);
      e->SetParent(this);
      e->SetBounds(80 + c * 76 + (c == 3 ? 24 : 0), 30 + r * 30, 66, 22);
      if (c < 3) e->OnKeyUp = [this](TObject* s, uint16_t& k, TShiftState sh) { EditKeyUp(s, k, sh); };
      FEdits[r][c] = e;
    }
  }
  edxx = FEdits[0][0], edxy = FEdits[0][1], edxz = FEdits[0][2], edxt = FEdits[0][3];
  edyx = FEdits[1][0], edyy = FEdits[1][1], edyz = FEdits[1][2], edyt = FEdits[1][3];
  edzx = FEdits[2][0], edzy = FEdits[2][1], edzz = FEdits[2][2], edzt = FEdits[2][3];
  auto* dl = new TLabel(this);
  dl->SetParent(this);
  dl->SetCaption("Determinant = ");
  dl->SetBounds(12, 130, 100, 16);
  lbdeter = new TLabel(this);
  lbdeter->SetName("lbdeter");
  lbdeter->SetParent(this);
  lbdeter->SetCaption("1");
  lbdeter->SetBounds(112, 130, 100, 16);
  btOK = new TButton(this);
  btOK->SetParent(this);
  btOK->SetCaption("OK");
  btOK->SetModalResult(mrOk);
  btOK->SetDefault(true);
  btOK->SetBounds(214, 160, 75, 25);
  btOK->OnClick = [this](TObject* s) { btOKClick(s); };
  btCancel = new TButton(this);
  btCancel->SetParent(this);
  btCancel->SetCaption("Cancel");
  btCancel->SetModalResult(mrCancel);
  btCancel->SetCancel(true);
  btCancel->SetBounds(302, 160, 75, 25);
  OnShow = [this](TObject* s) { FormShow(s); };
  OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
  // Laid out for 96 pixels per inch.
  ScaleToScreen();
}

TFormTrans::~TFormTrans() {
  if (FormTrans == this) FormTrans = nullptr;
}

void TFormTrans::FormShow(TObject*) {
  FWork = std::make_unique<TTransformation>();
  if (Transformation) FWork->Assign(*Transformation);
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 4; ++c) FEdits[r][c]->SetText(FloatToStrF(FWork->Value(r + 1, c + 1), ffFixed, 4, 4));
  ShowDeterminant();
}

void TFormTrans::FormClose(TObject*, TCloseAction&) { FWork.reset(); }

void TFormTrans::ShowDeterminant() {
  lbdeter->SetCaption(FloatToStrF(FWork ? FWork->Determinant() : 0, ffGeneral, 4, 0));
}

void TFormTrans::SetValues() {
  if (!FWork) FWork = std::make_unique<TTransformation>();
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 4; ++c) FWork->Value(r + 1, c + 1) = TextToReal(FEdits[r][c]->Text());
}

void TFormTrans::EditKeyUp(TObject*, uint16_t&, TShiftState) {
  SetValues();
  ShowDeterminant();
}

void TFormTrans::btOKClick(TObject*) {
  SetValues();
  if (Transformation) Transformation->Assign(*FWork);
}
