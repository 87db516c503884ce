#include "chart/editor/grafpendlg.h"

#include <algorithm>
#include <cstdlib>

#include "chart/core/grafconst.h"
#include "chart/core/grafutils.h"
#include "chart/core/grcanvas.h"
#include "chart/editor/editorbuild.h"
#include "platform/rtl/format.h"
#include "platform/ui/cursors.h"
#include "platform/ui/lists.h"

using namespace editorbuild;

bool NTPlatform = true;

// ---- Shared routines ----------------------------------------------------------

TComponent* OwnerFormOf(TComponent* Component) {
  if (auto* control = dynamic_cast<TControl*>(Component))
    if (TCustomForm* form = control->GetParentForm()) return form;
  return Component;
}

void SetupEditorDialog(TCustomForm* Form) {
  Form->SetAlign(alNone);
  Form->SetPosition(Form->Owner() ? poOwnerFormCenter : poScreenCenter);
  Form->SetBorderStyle(bsDialog);
}

TCustomForm* CreateEditorDialog(TClass FormClass, TComponent* Owner) {
  if (!FormClass || !FormClass->InheritsFrom(&TCustomForm::StaticClass())) return nullptr;
  auto* form = dynamic_cast<TCustomForm*>(CreateComponentOfClass(FormClass, OwnerFormOf(Owner)));
  if (form) SetupEditorDialog(form);
  return form;
}

void SetControlsVisible(bool Visible, const std::vector<TControl*>& Controls) {
  for (TControl* c : Controls)
    if (c) c->SetVisible(Visible);
}

bool AskYesNoAt(const std::string& Message, TControl* Control) {
  ScreenCursor().SetCursor(crDefault);
  int x = -1, y = -1;
  if (Control) {
    const TPoint origin = Control->ClientOrigin();
    x = origin.X + 20;
    y = origin.Y + 30;
  }
  return MessageDlgPos(Message, mtConfirmation, {mbYes, mbNo}, 0, x, y) == mrYes;
}

bool AskDeleteConfirmation(const std::string& Name, TControl* Control) {
  return AskYesNoAt(Format("Delete %s ?", {Name}), Control);
}

void EmbedEditorForm(TCustomForm* Form, TWinControl* Parent, TObject* TagObject) {
  Form->SetControlStyle(Form->ControlStyle() + TControlStyle{csParentBackground});
  Form->SetParentColor(true);
  Form->SetPosition(poDesigned);
  Form->SetBorderStyle(bsNone);
  Form->SetBorderIcons({});
  Form->SetTag(reinterpret_cast<intptr_t>(TagObject));
  Form->SetParent(Parent);
  const bool wasVisible = Parent->Visible();
  Parent->SetVisible(true);
  Form->SetLeft(4);
  Form->SetTop(std::min(4, std::abs(Parent->ClientHeight() - Form->ClientHeight()) / 2));
  Form->Show();
  Parent->SetVisible(wasVisible);
}

void EmbedFormInSheet(TCustomForm* Form, TWinControl* Parent) { EmbedEditorForm(Form, Parent, nullptr); }

void EmbedFormInSheetWithTag(TCustomForm* Form, TWinControl* Parent, TObject* TagObject) {
  EmbedEditorForm(Form, Parent, TagObject);
}

void AddValueFormats(TStrings* Items) {
  for (const char* f : {"#,##0.###", "0", "0.0", "0.#", "#.#", "#,##0.00;(#,##0.00)", "00e-0", "#.0 \"x10\" E+0",
                        "#.# x10E-#"})
    Items->Add(f);
}

void LoadArrowBitmaps(TBitmap* Up, TBitmap* Down) {
  LoadBitmapResource(Up, "GrafArrowUp", "");
  LoadBitmapResource(Down, "GrafArrowDown", "");
}

void MoveAllItems(TStrings* Source, TStrings* Target) {
  for (int i = 0; i < Source->Count(); ++i) Target->AddObject(Source->Strings(i), Source->Objects(i));
  Source->Clear();
}

bool CursorIdentToValue(const std::string& Ident, TCursor& Cursor) {
  if (Ident == "crGrafHand") {
    Cursor = crGrafHand;
    return true;
  }
  return IdentToCursor(Ident, Cursor);
}

bool CursorValueToIdent(TCursor Cursor, std::string& Ident) {
  if (Cursor == crGrafHand) {
    Ident = "crGrafHand";
    return true;
  }
  return CursorToIdent(Cursor, Ident);
}

std::string StripCursorPrefix(const std::string& Ident) {
  return Ident.compare(0, 2, "cr") == 0 ? Ident.substr(2) : Ident;
}

TCursor CursorFromName(TCursor Default, const std::string& Name) {
  TCursor cursor;
  return CursorIdentToValue("cr" + Name, cursor) ? cursor : Default;
}

void TTempCursors::AddCursor(const std::string& Ident) { FCombo->Items()->Add(StripCursorPrefix(Ident)); }

void FillCursorCombo(TComboBox* Combo, TCursor Cursor) {
  TStrings* items = Combo->Items();
  items->BeginUpdate();
  try {
    items->Clear();
    TTempCursors receiver(Combo);
    GetCursorValues([&receiver](const std::string& ident) { receiver.AddCursor(ident); });
    receiver.AddCursor("crGrafHand");
  } catch (...) {
    items->EndUpdate();
    throw;
  }
  items->EndUpdate();
  std::string ident;
  Combo->SetItemIndex(CursorValueToIdent(Cursor, ident) ? items->IndexOf(StripCursorPrefix(ident)) : -1);
}

// ---- The pen dialog ----------------------------------------------------------

ZV_CLASS_IMPL_NOPROPS(TPenDialog, TForm)

TPenDialog::TPenDialog(TComponent* AOwner) : TForm(AOwner) {
  SetCaption("Border Editor");
  SetClientWidth(277);
  SetClientHeight(131);
  SetPosition(poScreenCenter);
  SetBorderIcons({biSystemMenu});

  CBVisible = Make<TCheckBox>(this, this, "CBVisible", 8, 8, 97, 17, "&Visible");
  CBStyle = Make<TComboFlat>(this, this, "CBStyle", 64, 32, 121, 22);
  CBStyle->SetStyle(csOwnerDrawFixed);
  CBStyle->SetItemHeight(16);
  for (const char* s : {"Solid", "Dash", "Dot", "Dash Dot", "Dash Dot Dot"}) CBStyle->Items()->Add(s);
  Label1 = MakeLabel(this, this, "Label1", 8, 36, "&Style:", CBStyle);
  BColor = Make<TButtonColor>(this, this, "BColor", 194, 30, 75, 25, "&Color...");
  SEWidth = Make<TEdit>(this, this, "SEWidth", 64, 64, 41, 21);
  SEWidth->SetText("1");
  UDWidth = Make<TUpDown>(this, this, "UDWidth", 105, 64, 15, 21);
  UDWidth->SetMin(1);
  UDWidth->SetAssociate(SEWidth);
  UDWidth->SetPosition(1);
  LWidth = MakeLabel(this, this, "LWidth", 8, 68, "&Width:", SEWidth);
  CBEndStyle = Make<TComboFlat>(this, this, "CBEndStyle", 130, 64, 81, 22);
  for (const char* s : {"Round", "Square", "Flat"}) CBEndStyle->Items()->Add(s);
  BOk = MakeOkButton(this, this, "BOk", 114, 99);
  BCancel = MakeCancelButton(this, this, "BCancel", 194, 99);
  SetActiveControl(CBVisible);

  CBVisible->OnClick = [this](TObject* s) { CBVisibleClick(s); };
  CBStyle->OnChange = [this](TObject* s) { CBStyleChange(s); };
  CBStyle->OnDrawItem = [this](TWinControl* c, int i, const TRect& r, TOwnerDrawState st) {
    CBStyleDrawItem(c, i, r, st);
  };
  BColor->OnClick = [this](TObject* s) { BColorClick(s); };
  SEWidth->OnChange = [this](TObject* s) { SEWidthChange(s); };
  CBEndStyle->OnChange = [this](TObject* s) { CBEndStyleChange(s); };
  BCancel->OnClick = [this](TObject* s) { BCancelClick(s); };
  OnCreate = [this](TObject* s) { FormCreate(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  OnDestroy = [this](TObject* s) { FormDestroy(s); };
}

TPenDialog::~TPenDialog() { FireOnDestroy(this); }

void TPenDialog::FormCreate(TObject*) { SetBorderStyle(bsDialog); }

void TPenDialog::FormDestroy(TObject*) { FBackupPen.reset(); }

bool TPenDialog::IsSmallDotsItem(int Index) const {
  return NTPlatform && ChartPen() && Index == CBStyle->Items()->Count() - 1 && CBStyle->Items()->Count() > 5;
}

void TPenDialog::EnableWidth(bool Enabled) {
  UDWidth->SetEnabled(Enabled);
  SEWidth->SetEnabled(Enabled);
}

void TPenDialog::EnableStyleCombo() {
  if (!NTPlatform) CBStyle->SetEnabled(ThePen && ThePen->Width() == 1);
}

void TPenDialog::FormShow(TObject*) {
  FBackupPen = std::make_unique<TChartPen>();
  if (ThePen) {
    FBackupPen->Assign(ThePen);
    if (TChartPen* pen = ChartPen()) {
      CBVisible->SetChecked(pen->Visible());
      FBackupPen->SetVisible(pen->Visible());
      if (NTPlatform && CBStyle->Items()->IndexOf("Small Dots") < 0) CBStyle->Items()->Add("Small Dots");
      if (pen->SmallDots()) {
        CBStyle->SetItemIndex(CBStyle->Items()->Count() - 1);
        EnableWidth(false);
      } else {
        CBStyle->SetItemIndex(pen->Style());
      }
      if (NTPlatform) CBEndStyle->SetItemIndex(pen->EndStyle());
      else CBEndStyle->Hide();
    } else {
      CBVisible->Hide();
      CBEndStyle->Hide();
      CBStyle->SetItemIndex(ThePen->Style());
    }
    UDWidth->SetPosition(ThePen->Width());
    EnableStyleCombo();
    BColor->LinkProperty(ThePen, "Color");
  }
  InvokeControlHook(this);
  FModified = false;
}

void TPenDialog::SEWidthChange(TObject*) {
  if (!FormShowing(this) || !ThePen) return;
  ThePen->SetWidth(UDWidth->Position());
  EnableStyleCombo();
  FModified = true;
}

void TPenDialog::CBStyleChange(TObject*) {
  if (!ThePen) return;
  TChartPen* pen = ChartPen();
  if (IsSmallDotsItem(CBStyle->ItemIndex())) {
    pen->SetSmallDots(true);
    EnableWidth(false);
  } else {
    ThePen->SetStyle(static_cast<TPenStyle>(std::max(0, CBStyle->ItemIndex())));
    if (pen) pen->SetSmallDots(false);
    EnableWidth(true);
  }
  FModified = true;
}

void TPenDialog::CBEndStyleChange(TObject*) {
  if (TChartPen* pen = ChartPen()) pen->SetEndStyle(static_cast<TPenEndStyle>(std::max(0, CBEndStyle->ItemIndex())));
  FModified = true;
}

void TPenDialog::CBVisibleClick(TObject*) {
  if (!FormShowing(this)) return;
  if (TChartPen* pen = ChartPen()) pen->SetVisible(CBVisible->Checked());
  FModified = true;
}

void TPenDialog::BColorClick(TObject*) {
  CBStyle->Repaint();
  FModified = true;
}

void TPenDialog::BCancelClick(TObject*) {
  if (FModified && ThePen && FBackupPen) {
    if (TChartPen* pen = ChartPen()) {
      // The restore itself goes unannounced; the owner hears once at the end.
      TNotifyEvent onChange = std::move(pen->OnChange);
      pen->OnChange = nullptr;
      pen->Assign(FBackupPen.get());
      pen->SetVisible(FBackupPen->Visible());
      pen->OnChange = std::move(onChange);
      if (pen->OnChange) pen->OnChange(this);
    } else {
      ThePen->Assign(FBackupPen.get());
    }
  }
  SetModalResult(mrCancel);
}

void TPenDialog::CBStyleDrawItem(TWinControl*, int Index, const TRect& Rect, TOwnerDrawState State) {
  TCanvas* canvas = CBStyle->Canvas();
  canvas->FillRect(Rect);
  if (Index < 0) return;
  const TColor penColor = ThePen ? ThePen->Color() : clBlack;
  const TColor back = State.Contains(odSelected) ? clHighlight : CBStyle->Color();
  TColor color = penColor;
  if (ColorToRGB(penColor) == ColorToRGB(back)) color = ColorToRGB(penColor) == ColorToRGB(clWhite) ? clBlack : clWhite;
  if (IsSmallDotsItem(Index)) {
    TLogBrush brush;
    brush.lbColor = color;
    canvas->Pen()->SetHandle(ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, brush));
  } else {
    canvas->Pen()->SetStyle(static_cast<TPenStyle>(Index));
    canvas->Pen()->SetWidth(1);
    canvas->Pen()->SetColor(color);
  }
  canvas->MoveTo(Rect.Left + 2, Rect.Top + 8);
  canvas->LineTo(Rect.Left + 30, Rect.Top + 8);
  canvas->Brush()->SetStyle(bsClear);
  canvas->TextOut(Rect.Left + 34, Rect.Top + 2, CBStyle->Items()->Strings(Index));
}

TPenDialog* CreatePenDialog(TComponent* Owner, TPen* Pen, bool HideColor) {
  TPenDialog* dialog = CreateEditorDialog<TPenDialog>(Owner);
  dialog->ThePen = Pen;
  if (HideColor) dialog->BColor->Hide();
  return dialog;
}

// ---- The pen button ------------------------------------------------------------

ZV_CLASS_IMPL_NOPROPS(TButtonPen, TGrafButton)

void TButtonPen::LinkPen(TPen* Pen) {
  LinkProperty(Pen, "");
  Invalidate();
}

void TButtonPen::Click() {
  TPen* pen = LinkedPen();
  if (!pen) {
    TGrafButton::Click();
    return;
  }
  if (!FDialog) {
    FDialog = CreatePenDialog(this, pen, HideColor);
    FOldDestroy = FDialog->OnDestroy;
    FDialog->OnDestroy = [this](TObject* Sender) {
      if (FOldDestroy) FOldDestroy(Sender);
      FOldDestroy = nullptr;
      FDialog = nullptr;
    };
  }
  // Freed after each run, whatever the host's click handler does.
  std::unique_ptr<TPenDialog> dialog(FDialog);
  if (dialog->ShowModal() == mrOk) {
    Repaint();
    TGrafButton::Click();
  }
}

void TButtonPen::DrawSwatch(TGrafCanvas3D* Canvas) {
  TPen* pen = LinkedPen();
  if (!Enabled() || !pen) return;
  Canvas->CanvasBrush()->SetStyle(bsClear);
  const int width = pen->Width();
  // A wide pen is drawn 6 wide; its own width comes back unannounced.
  TNotifyEvent onChange;
  if (width > 6) {
    onChange = std::move(pen->OnChange);
    pen->OnChange = nullptr;
    pen->SetWidth(6);
  }
  Canvas->ApplyPenWithColor(pen, pen->Color());
  Canvas->MovePenTo(Width() - 17, Height() / 2);
  Canvas->LineTo(Width() - 6, Height() / 2);
  if (width > 6) {
    pen->SetWidth(width);
    pen->OnChange = std::move(onChange);
  }
}

void RegisterPenDialogClasses() {
  RegisterClasses({&TPenDialog::StaticClass(), &TButtonPen::StaticClass()});
}

void MoveSelectedItems(TCustomListBox* Source, TCustomListBox* Target) {
  TStrings* from = Source->Items();
  TStrings* to = Target->Items();
  to->BeginUpdate();
  for (int i = 0; i < from->Count(); ++i)
    if (Source->Selected(i)) to->AddObject(from->Strings(i), from->Objects(i));
  to->EndUpdate();
  from->BeginUpdate();
  for (int i = from->Count() - 1; i >= 0; --i)
    if (Source->Selected(i)) from->Delete(i);
  from->EndUpdate();
}
