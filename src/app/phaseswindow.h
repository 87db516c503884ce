// The phases window: one tab per phase of the model, each page showing the
// phase's title, calculation method, space group, cell, scale, overall
// thermal factor, Z and its atoms in a grid, with a vary box beside every
// refinable value. The page is copied into the model only when it is saved
// (OK, a confirmed tab change or close); until then the model is untouched,
// atom constraints made by dragging one value onto another included.
//
// Atom rows may be moved, inserted and deleted; the grid remembers which
// atom of the model each row came from, so that saving carries refinement
// flags and constraints along with their atoms.
//
// The import and export commands of the two pop-up menus are in
// phaseswindow_import.cpp.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/commondialogs.h"
#include "platform/ui/forms.h"
#include "platform/ui/pages.h"
#include "platform/ui/stdctrls.h"

class TPopupMenu;
class TTBPopupMenu;
class TTBItem;
class TAtom;

// The atom grid (phaseswindow_grid.cpp): a string grid that follows its
// rows' origins through moves, insertions and deletions. A row's origin is
// the model's number of the atom it was filled from, or a negative mark of
// its own for a row added since. The window reaches it through the Grid...
// routines below, so that its own unit need not see the grid's headers (the
// grid and the model both name a class TBackGround).
class TAtomGrid;

class TPhaseForm : public TForm {
  ZV_CLASS(TPhaseForm)
public:
  explicit TPhaseForm(TComponent* AOwner);
  ~TPhaseForm() override;

  TTabControl* TabControl1;
  TEdit* PhaseTitleEdit;
  TComboBox* cbCalcMethod;
  TCheckBox* cbRecycle;
  TComboBox* SpaceGroupEdit;
  TLabel* SGLabel;
  TLabel* lbMult;
  TEdit* ZEdit;
  TEdit* aEdit;
  TEdit* bEdit;
  TEdit* cEdit;
  TEdit* alphaEdit;
  TEdit* betaEdit;
  TEdit* gammaEdit;
  TEdit* PhaseScaleEdit;
  TEdit* IsoThermalEdit;
  TCheckBox* aCheckBox;
  TCheckBox* bCheckBox;
  TCheckBox* cCheckBox;
  TCheckBox* alphaCheckBox;
  TCheckBox* betaCheckBox;
  TCheckBox* gammaCheckBox;
  TCheckBox* PhaseScaleCheckBox;
  TCheckBox* IsoThermalCheckBox;
  TAtomGrid* AtomGrid;
  TButton* ButtonOK;
  TButton* ButtonCancel;
  TButton* ButtonHelp;
  TOpenDialog* OpenDialog1;
  TSaveDialog* SaveDialog1;

  // Pop-up menu of the tab row (PopupMenu2) and of the atom grid (PopupMenu1).
  TTBPopupMenu* PopupMenu2;
  TTBItem* New1;
  TTBItem* Clear1;
  TTBItem* Delete1;
  TTBItem* AddtoDatabase1;
  TTBItem* SelectfromDatabase1;
  TTBItem* ReadfromInputfile1;
  TTBItem* ReadPhasefromCIFFile1;
  TTBPopupMenu* PopupMenu1;

  // The phase shown (tab index + 1).
  int CurrentPhase() const;
  bool Dirty() const { return FDirty; }

  // Model to page and page to model. SaveChanges refuses, with a message
  // naming the field, a page holding a value that is not a number, and then
  // changes nothing of the model; it answers whether the page was saved.
  void UpdateForm();
  bool SaveChanges();
  void UpdateSpaceGroup();
  void SetLattice(int LatticeClass, int SecondCode);
  void UpdateMult();
  void ClearGrid(int n);
  void DeletePhase(int n);
  // Rebuilds the tabs from the model's phases, keeping the current one when it still exists.
  void RebuildTabs();

  void FormShow(TObject* Sender);
  void FormCloseQuery(TObject* Sender, bool& CanClose);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void FormDeactivate(TObject* Sender);
  void TabControl1Changing(TObject* Sender, bool& AllowChange);
  void TabControl1Change(TObject* Sender);
  void ButtonOKClick(TObject* Sender);
  void ButtonCancelClick(TObject* Sender);
  void ButtonHelpClick(TObject* Sender);
  void DirtyPhase(TObject* Sender);
  void aEditChange(TObject* Sender);
  void SpaceGroupEditChange(TObject* Sender);
  void SpaceGroupEditKeyPress(TObject* Sender, char& Key);
  void cbCalcMethodChange(TObject* Sender);
  void AtomGridKeyDown(TObject* Sender, uint16_t& Key, TShiftState Shift);
  void AtomGridMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void AtomGridDragOver(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept);
  void AtomGridDragDrop(TObject* Sender, TObject* Source, int X, int Y);

  // The two menus' commands.
  void PopupMenu2Popup(TObject* Sender);
  void New1Click(TObject* Sender);
  void Clear1Click(TObject* Sender);
  void Delete1Click(TObject* Sender);
  void Cut1Click(TObject* Sender);
  void Copy1Click(TObject* Sender);
  void Paste1Click(TObject* Sender);
  void AddAtom1Click(TObject* Sender);
  void DeleteAtom1Click(TObject* Sender);
  void SetOccupancyClick(TObject* Sender);
  void SetAllOccupanciesClick(TObject* Sender);
  // The periodic table, opened on the current row's type; Ok puts the element picked there.
  void PickElementClick(TObject* Sender);
  // phaseswindow_import.cpp
  void ReadfromInputfile1Click(TObject* Sender);
  void ReadPhasefromCIFFile1Click(TObject* Sender);
  void SelectfromDatabase1Click(TObject* Sender);
  void AddtoDatabase1Click(TObject* Sender);
  void ReadfromFile1Click(TObject* Sender);
  void ReadEXPOxyzfile1Click(TObject* Sender);
  void ReadExcelClick(TObject* Sender);
  void SavetoExcelfile1Click(TObject* Sender);
  void XYZtransformation1Click(TObject* Sender);

  // A drag-made atom constraint waiting for the page to be saved (rows by their origins).
  struct TPendingConstraint {
    int FirstOrigin, FirstType, SecondOrigin, SecondType;
    float Factor;
  };
  const std::vector<TPendingConstraint>& PendingConstraints() const { return FPending; }

  // The atom grid (phaseswindow_grid.cpp).
  std::string GridCell(int ACol, int ARow) const;
  void SetGridCell(int ACol, int ARow, const std::string& Value);
  int GridRowCount() const;
  void SetGridRowCount(int Value);
  int GridRow() const;
  void SetGridRow(int Value);
  void SetGridEnabled(bool Value);
  bool GridEnabled() const;
  // The vary box state of a grid cell (false without a box); setting adds a box where there is none.
  bool CellChecked(int ACol, int ARow) const;
  void SetVaryCell(int ACol, int ARow, bool State);
  int RowOrigin(int ARow) const;
  void SetRowOrigin(int ARow, int Value);
  int RowOfOrigin(int Value) const;
  void GridRemoveRow(int ARow);
  // Moves a row as a drag of it does.
  void GridMoveRow(int FromRow, int ToRow);
  void GridMouseToCell(int X, int Y, int& ACol, int& ARow) const;
  // The client rectangle of a cell (tests drag with it).
  TRect GridCellRect(int ACol, int ARow) const;
  bool IsStringGrid(TObject* Source) const;
  void SetTypeChoices(const TStrings& Items);
  void SetGridColWidth(int ACol, int Width);
  void SetGridPopup(TPopupMenu* Menu);
  void BeginGridDrag();
  void CopyGridToClipboard();
  // The grid as a spreadsheet; loading replaces the grid's cells.
  void SaveGridSheet(const std::string& FileName);
  void LoadGridSheet(const std::string& FileName);

private:
  bool FPlaced = false;  // shown beside its opener once
  void CreateAtomGrid(TWinControl* Parent);
  TEdit* CellEdit(int i) const;
  TCheckBox* CellBox(int i) const;
  // Whether the page may be left: saves or discards after "Keep Changes?"
  // (or saves without asking with AcceptChanges when Ask is false).
  bool LeavePage(bool AlwaysAsk);
  // The dialog's folder rule of the phase imports.
  void PrepareImportDialog(const std::string& Filter, const std::string& Ext);
  void SetRowOccupancy(int ARow);

  std::unique_ptr<TAtom> FAtomClipboard;
  int FDragCol = -1, FDragRow = -1;
  bool FDirty = false;
  bool FLoading = false;
  int FShownTab = -1;
  int FLatticeClass = 8;
  std::vector<TPendingConstraint> FPending;
};

extern TPhaseForm* PhaseForm;

