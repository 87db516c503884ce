#include "chart/extra/grafmarkstiptooledit.h"

#include "chart/editor/editorbuild.h"
#include "chart/editor/grafediseri.h"
#include "chart/series/graftools.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TMarksTipToolEdit, TSeriesToolEditor)

TMarksTipToolEdit::TMarksTipToolEdit(TComponent* AOwner) : TSeriesToolEditor(AOwner) {
  SetClientWidth(300);
  SetClientHeight(150);
  CBMarkStyle = Make<TComboFlat>(this, this, "CBMarkStyle", 64, 36, 145, 21);
  CBMarkStyle->SetStyle(csDropDownList);
  Label2 = MakeLabel(this, this, "Label2", 8, 40, "S&tyle:", CBMarkStyle);
  RGMouseAction = Make<TRadioGroup>(this, this, "RGMouseAction", 8, 64, 201, 41, "Mouse action:");
  RGMouseAction->SetColumns(2);
  RGMouseAction->Items()->Add("Move");
  RGMouseAction->Items()->Add("Click");
  EDelay = Make<TEdit>(this, this, "EDelay", 64, 116, 49, 21);
  EDelay->SetText("0");
  UDDelay = Make<TUpDown>(this, this, "UDDelay", 113, 116, 15, 21);
  UDDelay->SetMin(0);
  UDDelay->SetMax(30000);
  UDDelay->SetIncrement(50);
  UDDelay->SetThousands(false);
  UDDelay->SetAssociate(EDelay);
  Label3 = MakeLabel(this, this, "Label3", 8, 120, "&Delay:", EDelay);
  Label4 = MakeLabel(this, this, "Label4", 136, 120, "msec.");

  CBMarkStyle->OnChange = [this](TObject*) {
    if (Writing() && CBMarkStyle->ItemIndex() >= 0)
      Tip()->SetStyle(static_cast<TSeriesMarksStyle>(CBMarkStyle->ItemIndex()));
  };
  RGMouseAction->OnClick = [this](TObject*) {
    if (Writing() && RGMouseAction->ItemIndex() >= 0)
      Tip()->SetMouseAction(static_cast<TMarkToolMouseAction>(RGMouseAction->ItemIndex()));
  };
  EDelay->OnChange = [this](TObject*) {
    if (Writing() && FormShowing(this)) Tip()->SetMouseDelay(UDDelay->Position());
  };
  FormCreate(this);
}

TMarksTipToolEdit::~TMarksTipToolEdit() { delete FSeriesPage; }

void TMarksTipToolEdit::FormCreate(TObject* Sender) {
  TSeriesToolEditor::FormCreate(Sender);
  if (FSeriesPage) return;
  FSeriesPage = new TFormGrafSeries(nullptr);
  CBMarkStyle->Items()->Assign(*FSeriesPage->RGMarkStyle->Items());
}

TMarksTipTool* TMarksTipToolEdit::Tip() const { return dynamic_cast<TMarksTipTool*>(FTool); }

void TMarksTipToolEdit::FormShow(TObject* Sender) {
  FLoading = true;
  TSeriesToolEditor::FormShow(Sender);
  if (TMarksTipTool* t = Tip()) {
    if (CBSeries->Items()->Count() > 0) CBSeries->Items()->Put(0, "(all)");
    CBSeries->SetItemIndex(t->Series() ? CBSeries->Items()->IndexOfObject(t->Series()) : 0);
    CBMarkStyle->SetItemIndex(t->Style());
    RGMouseAction->SetItemIndex(t->MouseAction());
    UDDelay->SetPosition(t->MouseDelay());
  }
  FLoading = false;
}
