#include "chart/extra/grafanntooledit.h"

#include <algorithm>

#include "chart/editor/editorbuild.h"
#include "chart/editor/grafpoedi.h"
#include "chart/series/graftools.h"
#include "platform/rtl/strutils.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TAnnotationToolEdit, TForm)

namespace {

TTabSheet* MakeSheet(TComponent* Owner, TPageControl* Pages, const char* Name, const char* Caption) {
  auto* t = new TTabSheet(Owner);
  t->SetName(Name);
  t->SetCaption(Caption);
  t->SetPageControl(Pages);
  return t;
}

TUpDown* MakeUpDown(TComponent* Owner, TWinControl* Parent, const char* Name, TEdit* Edit, int Min, int Max) {
  auto* ud = Make<TUpDown>(Owner, Parent, Name, Edit->Left() + Edit->Width(), Edit->Top(), 15, Edit->Height());
  ud->SetMin(Min);
  ud->SetMax(Max);
  ud->SetAssociate(Edit);
  return ud;
}

// The combo's items in the alignments' order of the list: Left, Center, Right.
int AlignmentItem(TAlignment A) { return A == taCenter ? 1 : A == taRightJustify ? 2 : 0; }
TAlignment ItemAlignment(int Item) { return Item == 1 ? taCenter : Item == 2 ? taRightJustify : taLeftJustify; }

// The tool keeps lines apart with a lone carriage return; the memo shows
// them with CR LF.
std::string MemoLines(const std::string& Text) {
  std::string out;
  for (size_t i = 0; i < Text.size(); ++i) {
    out += Text[i];
    if (Text[i] == '\r' && (i + 1 >= Text.size() || Text[i + 1] != '\n')) out += '\n';
  }
  return out;
}

std::string WithoutLineFeeds(std::string Text) {
  Text.erase(std::remove(Text.begin(), Text.end(), '\n'), Text.end());
  return Text;
}

}  // namespace

TAnnotationToolEdit::TAnnotationToolEdit(TComponent* AOwner) : TForm(AOwner) {
  SetClientWidth(380);
  SetClientHeight(230);
  PageControl1 = Make<TPageControl>(this, this, "PageControl1", 0, 0, 380, 230);
  PageControl1->SetAlign(alClient);
  PageControl1->SetHotTrack(true);

  TabOptions = MakeSheet(this, PageControl1, "TabOptions", "Options");
  MemoText = Make<TMemo>(this, TabOptions, "MemoText", 8, 24, 240, 81);
  Label1 = MakeLabel(this, TabOptions, "Label1", 8, 6, "&Text:", MemoText);
  CBTextAlign = Make<TComboFlat>(this, TabOptions, "CBTextAlign", 112, 116, 97, 21);
  CBTextAlign->SetStyle(csDropDownList);
  for (const char* s : {"Left", "Center", "Right"}) CBTextAlign->Items()->Add(s);
  Label3 = MakeLabel(this, TabOptions, "Label3", 8, 120, "Text &alignment:", CBTextAlign);
  CBCursor = Make<TComboFlat>(this, TabOptions, "CBCursor", 112, 148, 121, 21);
  CBCursor->SetStyle(csDropDownList);
  CBCursor->SetSorted(true);
  Label9 = MakeLabel(this, TabOptions, "Label9", 8, 152, "&Cursor:", CBCursor);

  TabPosition = MakeSheet(this, PageControl1, "TabPosition", "Position");
  CBPos = Make<TComboFlat>(this, TabPosition, "CBPos", 56, 8, 105, 21);
  CBPos->SetStyle(csDropDownList);
  for (const char* s : {"Left top", "Left bottom", "Right top", "Right bottom"}) CBPos->Items()->Add(s);
  Label2 = MakeLabel(this, TabPosition, "Label2", 8, 12, "&Auto:", CBPos);
  CBCustPos = Make<TCheckBox>(this, TabPosition, "CBCustPos", 8, 40, 100, 17, "&Custom");
  ECustLeft = Make<TEdit>(this, TabPosition, "ECustLeft", 56, 64, 41, 21);
  ECustLeft->SetText("0");
  ECustLeft->SetEnabled(false);
  UDLeft = MakeUpDown(this, TabPosition, "UDLeft", ECustLeft, -100, 1000);
  UDLeft->SetIncrement(5);
  Label4 = MakeLabel(this, TabPosition, "Label4", 8, 68, "L&eft:", ECustLeft);
  ECustTop = Make<TEdit>(this, TabPosition, "ECustTop", 56, 92, 41, 21);
  ECustTop->SetText("0");
  ECustTop->SetEnabled(false);
  UDTop = MakeUpDown(this, TabPosition, "UDTop", ECustTop, -100, 1000);
  UDTop->SetIncrement(5);
  Label5 = MakeLabel(this, TabPosition, "Label5", 8, 96, "T&op:", ECustTop);
  CBUnits = Make<TComboFlat>(this, TabPosition, "CBUnits", 56, 124, 89, 21);
  CBUnits->SetStyle(csDropDownList);
  CBUnits->Items()->Add("Percent");
  CBUnits->Items()->Add("Pixels");
  Label13 = MakeLabel(this, TabPosition, "Label13", 8, 128, "&Units:", CBUnits);

  TabSize = MakeSheet(this, PageControl1, "TabSize", "Size");
  CBAutoSize = Make<TCheckBox>(this, TabSize, "CBAutoSize", 8, 8, 100, 17, "&Automatic");
  ECustWidth = Make<TEdit>(this, TabSize, "ECustWidth", 64, 36, 41, 21);
  ECustWidth->SetEnabled(false);
  UDWidth = MakeUpDown(this, TabSize, "UDWidth", ECustWidth, 0, 2000);
  UDWidth->SetThousands(false);
  Label14 = MakeLabel(this, TabSize, "Label14", 8, 40, "&Width:", ECustWidth);
  ECustHeight = Make<TEdit>(this, TabSize, "ECustHeight", 64, 64, 41, 21);
  ECustHeight->SetEnabled(false);
  UDHeight = MakeUpDown(this, TabSize, "UDHeight", ECustHeight, 0, 2000);
  UDHeight->SetThousands(false);
  Label15 = MakeLabel(this, TabSize, "Label15", 8, 68, "&Height:", ECustHeight);

  TabCallout = MakeSheet(this, PageControl1, "TabCallout", "Callout");
  BCalloutPen = Make<TButtonPen>(this, TabCallout, "BCalloutPen", 8, 8, 89, 25, "&Border...");
  BCalloutPointer = Make<TButton>(this, TabCallout, "BCalloutPointer", 104, 8, 89, 25, "&Pointer...");
  GroupBox1 = Make<TGroupBox>(this, TabCallout, "GroupBox1", 8, 40, 120, 100, "P&osition:");
  EX = Make<TEdit>(this, GroupBox1, "EX", 32, 18, 73, 21);
  MakeLabel(this, GroupBox1, "LabelX", 8, 22, "&X:", EX);
  EY = Make<TEdit>(this, GroupBox1, "EY", 32, 44, 73, 21);
  MakeLabel(this, GroupBox1, "LabelY", 8, 48, "&Y:", EY);
  EZ = Make<TEdit>(this, GroupBox1, "EZ", 32, 70, 73, 21);
  MakeLabel(this, GroupBox1, "LabelZ", 8, 74, "&Z:", EZ);
  EArrowDist = Make<TEdit>(this, TabCallout, "EArrowDist", 216, 44, 41, 21);
  UDArrowDist = MakeUpDown(this, TabCallout, "UDArrowDist", EArrowDist, -1000, 1000);
  Label10 = MakeLabel(this, TabCallout, "Label10", 140, 48, "&Distance:", EArrowDist);
  CBHead = Make<TComboFlat>(this, TabCallout, "CBHead", 216, 76, 73, 21);
  CBHead->SetStyle(csDropDownList);
  for (const char* s : {"None", "Line", "Solid"}) CBHead->Items()->Add(s);
  Label11 = MakeLabel(this, TabCallout, "Label11", 140, 80, "&Arrow head:", CBHead);
  Edit1 = Make<TEdit>(this, TabCallout, "Edit1", 216, 108, 41, 21);
  UDHeadSize = MakeUpDown(this, TabCallout, "UDHeadSize", Edit1, -1000, 1000);
  Label12 = MakeLabel(this, TabCallout, "Label12", 140, 112, "&Size:", Edit1);

  MemoText->OnChange = [this](TObject*) {
    if (Writing()) FTool->SetText(WithoutLineFeeds(MemoText->Text()));
  };
  CBTextAlign->OnChange = [this](TObject*) {
    if (Writing() && CBTextAlign->ItemIndex() >= 0) FTool->SetTextAlignment(ItemAlignment(CBTextAlign->ItemIndex()));
  };
  CBCursor->OnChange = [this](TObject*) {
    if (Writing()) FTool->SetCursor(CursorFromName(FTool->Cursor(), CBCursor->Text()));
  };
  CBPos->OnChange = [this](TObject*) {
    if (!Writing() || CBPos->ItemIndex() < 0) return;
    FTool->SetPosition(static_cast<TAnnotationPosition>(CBPos->ItemIndex()));
    FTool->Shape()->SetCustomPosition(false);
    RefreshPosition();
  };
  CBCustPos->OnClick = [this](TObject*) {
    if (!Writing()) return;
    FTool->Shape()->SetCustomPosition(CBCustPos->Checked());
    FTool->RequestRedraw();
    RefreshPosition();
  };
  ECustLeft->OnChange = [this](TObject*) {
    if (Writing() && FTool->Shape()->CustomPosition()) {
      FTool->SetLeft(UDLeft->Position());
      FTool->RequestRedraw();
    }
  };
  ECustTop->OnChange = [this](TObject*) {
    if (Writing() && FTool->Shape()->CustomPosition()) {
      FTool->SetTop(UDTop->Position());
      FTool->RequestRedraw();
    }
  };
  CBUnits->OnChange = [this](TObject*) {
    if (!Writing()) return;
    if (CBUnits->ItemIndex() == 1) {
      FTool->SetPositionUnits(muPixels);
    } else if (CBUnits->ItemIndex() == 0) {
      FTool->SetPositionUnits(muPercent);
      if (UDLeft->Position() > 100) UDLeft->SetPosition(100);
      if (UDTop->Position() > 100) UDTop->SetPosition(100);
    }
  };
  CBAutoSize->OnClick = [this](TObject*) {
    if (!Writing()) return;
    FTool->SetAutoSize(CBAutoSize->Checked());
    RefreshSize();
  };
  ECustWidth->OnChange = [this](TObject*) {
    if (Writing() && !FTool->AutoSize()) FTool->SetWidth(UDWidth->Position());
  };
  ECustHeight->OnChange = [this](TObject*) {
    if (Writing() && !FTool->AutoSize()) FTool->SetHeight(UDHeight->Position());
  };
  BCalloutPointer->OnClick = [this](TObject*) {
    if (FTool) RunPointerEditor(this, FTool->Callout());
  };
  auto intEdit = [this](TEdit* Edit, void (TAnnotationCallout::*Set)(int)) {
    Edit->OnChange = [this, Edit, Set](TObject*) {
      int v;
      if (CalloutWriting() && TryStrToInt(Edit->Text(), v)) (FTool->Callout()->*Set)(v);
    };
  };
  intEdit(EX, &TAnnotationCallout::SetXPosition);
  intEdit(EY, &TAnnotationCallout::SetYPosition);
  intEdit(EZ, &TAnnotationCallout::SetZPosition);
  EArrowDist->OnChange = [this](TObject*) {
    if (CalloutWriting()) FTool->Callout()->SetDistance(UDArrowDist->Position());
  };
  CBHead->OnChange = [this](TObject*) {
    if (CalloutWriting() && CBHead->ItemIndex() >= 0)
      FTool->Callout()->SetArrowHead(static_cast<TArrowHeadStyle>(CBHead->ItemIndex()));
  };
  Edit1->OnChange = [this](TObject*) {
    if (CalloutWriting()) FTool->Callout()->SetArrowHeadSize(UDHeadSize->Position());
  };
  OnShow = [this](TObject*) { FormShow(); };
  FormCreate();
}

bool TAnnotationToolEdit::CalloutWriting() const { return Writing() && FormShowing(this); }

void TAnnotationToolEdit::FormCreate() {
  FLoading = true;
  // The box's own pages join ours; "Options" stays the first and active.
  FShapeEditor = EmbedShapeEditor(PageControl1, nullptr);
  PageControl1->SetActivePage(TabOptions);
}

void TAnnotationToolEdit::FormShow() {
  FTool = dynamic_cast<TAnnotationTool*>(reinterpret_cast<TObject*>(Tag()));
  if (!FTool) return;
  FLoading = true;
  FShapeEditor->BindShape(FTool->Shape());
  MemoText->SetText(MemoLines(FTool->Text()));
  CBTextAlign->SetItemIndex(AlignmentItem(FTool->TextAlignment()));
  FillCursorCombo(CBCursor, FTool->Cursor());
  CBPos->SetItemIndex(FTool->Position());
  CBUnits->SetItemIndex(FTool->PositionUnits() == muPixels ? 1 : 0);
  UDLeft->SetPosition(FTool->Shape()->Left());
  UDTop->SetPosition(FTool->Shape()->Top());
  CBAutoSize->SetChecked(FTool->AutoSize());
  UDWidth->SetPosition(FTool->Width());
  UDHeight->SetPosition(FTool->Height());
  TAnnotationCallout* callout = FTool->Callout();
  BCalloutPen->LinkPen(callout->Arrow());
  EX->SetText(IntToStr(callout->XPosition()));
  EY->SetText(IntToStr(callout->YPosition()));
  EZ->SetText(IntToStr(callout->ZPosition()));
  UDArrowDist->SetPosition(callout->Distance());
  CBHead->SetItemIndex(callout->ArrowHead());
  UDHeadSize->SetPosition(callout->ArrowHeadSize());
  RefreshPosition();
  RefreshSize();
  FLoading = false;
}

void TAnnotationToolEdit::RefreshPosition() {
  if (!FTool) return;
  const bool loading = FLoading;
  FLoading = true;
  const bool custom = FTool->Shape()->CustomPosition();
  for (TControl* c : std::initializer_list<TControl*>{ECustLeft, ECustTop, UDLeft, UDTop, CBUnits})
    c->SetEnabled(custom);
  CBCustPos->SetChecked(custom);
  if (custom) {
    UDLeft->SetPosition(FTool->Shape()->Left());
    UDTop->SetPosition(FTool->Shape()->Top());
  }
  FLoading = loading;
}

void TAnnotationToolEdit::RefreshSize() {
  if (!FTool) return;
  const bool loading = FLoading;
  FLoading = true;
  const bool automatic = FTool->AutoSize();
  for (TControl* c : std::initializer_list<TControl*>{ECustWidth, ECustHeight, UDWidth, UDHeight})
    c->SetEnabled(!automatic);
  CBAutoSize->SetChecked(automatic);
  if (!automatic) {
    UDWidth->SetPosition(FTool->Width());
    UDHeight->SetPosition(FTool->Height());
  }
  FLoading = loading;
}
