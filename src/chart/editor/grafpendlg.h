// The pen editor ("Border Editor"), the pen button every editor page puts
// next to a pen it edits, and the small routines all chart editor forms
// share: making dialog forms, embedding a form in a tab sheet or panel,
// yes/no questions, the standard value formats, the arrow bitmaps, moving
// list items, and the cursor combo with the library's hand cursor.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "chart/core/grafattrs.h"
#include "chart/core/grafeditctrls.h"
#include "platform/ui/forms.h"
#include "platform/ui/ranges.h"
#include "platform/ui/stdctrls.h"

class TCustomListBox;

// The platform draws wide styled lines and one-pixel dots (the family of
// systems the library offers "Small Dots" and end styles on). Tests clear it
// to see the dialog of the other family.
extern bool NTPlatform;

// ---- Shared routines ----

// The form a control sits on; the component itself for anything else (and
// for a control on no form).
TComponent* OwnerFormOf(TComponent* Component);
// Settings every editor dialog gets: no alignment, centred on its owner form
// (on the screen without an owner), dialog border.
void SetupEditorDialog(TCustomForm* Form);
// A form of the class owned by OwnerFormOf(Owner), set up as a dialog (not shown).
template <class T>
T* CreateEditorDialog(TComponent* Owner) {
  T* form = new T(OwnerFormOf(Owner));
  SetupEditorDialog(form);
  return form;
}
// The same for a class found by name; nil for a class that is no form.
TCustomForm* CreateEditorDialog(TClass FormClass, TComponent* Owner);

void SetControlsVisible(bool Visible, const std::vector<TControl*>& Controls);

// A confirmation box with Yes and No (the screen cursor set back to the
// default first), 20 pixels right of and 30 below the control's client
// origin when a control is given; true for Yes.
bool AskYesNoAt(const std::string& Message, TControl* Control);
// "Delete <name> ?"
bool AskDeleteConfirmation(const std::string& Name, TControl* Control);

// Turns a created form into a page of Parent: no border or border icons,
// parent's background, designed position, Tag = TagObject, at Left 4 and
// Top min(4, |parent client height - form client height| div 2), shown.
// The parent is made visible for the showing and put back afterwards.
void EmbedEditorForm(TCustomForm* Form, TWinControl* Parent, TObject* TagObject);
void EmbedFormInSheet(TCustomForm* Form, TWinControl* Parent);
void EmbedFormInSheetWithTag(TCustomForm* Form, TWinControl* Parent, TObject* TagObject);

// The standard number formats, the library's default first.
void AddValueFormats(TStrings* Items);
// "GrafArrowUp" and "GrafArrowDown" into the two bitmaps.
void LoadArrowBitmaps(TBitmap* Up, TBitmap* Down);

// The selected items of Source (text and object) appended to Target in
// order, then deleted from Source.
void MoveSelectedItems(TCustomListBox* Source, TCustomListBox* Target);
// Every item of Source appended to Target, then Source cleared.
void MoveAllItems(TStrings* Source, TStrings* Target);

// Cursors by identifier, the library's hand cursor ("crGrafHand", 2020)
// included.
bool CursorIdentToValue(const std::string& Ident, TCursor& Cursor);
bool CursorValueToIdent(TCursor Cursor, std::string& Ident);
// The identifier without a leading "cr" (exactly those two characters).
std::string StripCursorPrefix(const std::string& Ident);
// The cursor of a name shown in a cursor combo ("HandPoint"), else Default.
TCursor CursorFromName(TCursor Default, const std::string& Name);
// Fills the combo with every cursor name (the table's order, then
// "GrafHand") and selects the cursor's name (none when it has no name).
void FillCursorCombo(TComboBox* Combo, TCursor Cursor);

// The receiver of the cursor-name enumeration while FillCursorCombo runs.
class TTempCursors : public TObject {
public:
  explicit TTempCursors(TComboBox* Combo) : FCombo(Combo) {}
  std::string ClassName() const override { return "TTempCursors"; }
  void AddCursor(const std::string& Ident);

private:
  TComboBox* FCombo;
};

// ---- The pen dialog ----

class TPenDialog : public TForm {
  ZV_CLASS(TPenDialog)
public:
  explicit TPenDialog(TComponent* AOwner);
  ~TPenDialog() override;

  // The pen edited (a TChartPen in practice); nil edits nothing.
  TPen* ThePen = nullptr;
  bool Modified() const { return FModified; }

protected:
  virtual void FormCreate(TObject* Sender);
  virtual void FormShow(TObject* Sender);
  virtual void FormDestroy(TObject* Sender);
  virtual void SEWidthChange(TObject* Sender);
  virtual void CBEndStyleChange(TObject* Sender);
  virtual void CBVisibleClick(TObject* Sender);
  virtual void BCancelClick(TObject* Sender);
  virtual void CBStyleChange(TObject* Sender);
  virtual void BColorClick(TObject* Sender);
  virtual void CBStyleDrawItem(TWinControl* Control, int Index, const TRect& Rect, TOwnerDrawState State);

  TChartPen* ChartPen() const { return dynamic_cast<TChartPen*>(ThePen); }
  // Styled lines wider than one pixel are drawn only on NT-family systems.
  void EnableStyleCombo();
  void EnableWidth(bool Enabled);
  // "Small Dots" is the last item of the style list (NT-family systems).
  bool IsSmallDotsItem(int Index) const;

  TCheckBox* CBVisible;
  TLabel* Label1;
  TComboFlat* CBStyle;
  TButtonColor* BColor;
  TLabel* LWidth;
  TEdit* SEWidth;
  TUpDown* UDWidth;
  TComboFlat* CBEndStyle;
  TButton* BOk;
  TButton* BCancel;

  std::unique_ptr<TChartPen> FBackupPen;
  bool FModified = false;

  friend TPenDialog* CreatePenDialog(TComponent* Owner, TPen* Pen, bool HideColor);
};

// A pen dialog for the button's pen (the colour button hidden on request).
TPenDialog* CreatePenDialog(TComponent* Owner, TPen* Pen, bool HideColor);

// ---- The pen button ----

class TButtonPen : public TGrafButton {
  ZV_CLASS(TButtonPen)
public:
  explicit TButtonPen(TComponent* AOwner) : TGrafButton(AOwner) {}

  void LinkPen(TPen* Pen);
  TPen* LinkedPen() const { return dynamic_cast<TPen*>(FLinkedObject); }
  // The pen dialog hides its colour button.
  bool HideColor = false;
  // The pen dialog while it runs (nil otherwise).
  TPenDialog* Dialog() const { return FDialog; }

  // With a pen: the pen dialog; after OK the button repaints and OnClick
  // fires. Without one: the plain click.
  void Click() override;
  void DrawSwatch(TGrafCanvas3D* Canvas) override;

private:
  TPenDialog* FDialog = nullptr;
  TNotifyEvent FOldDestroy;
};

// Registers the unit's form classes by name.
void RegisterPenDialogClasses();
