// The phases window's commands that bring phases and atoms in from files or
// take them out: another input file, CIF, atom text and EXPO xyz files,
// spreadsheets, and the XYZ transformation of the grid's coordinates.
#include <memory>

#include "app/phaseswindow.h"
#include "app/xyztransform.h"
#include "model/brkapart.h"
#include "model/crystal.h"
#include "model/global.h"
#include "model/structurefiles.h"
#include "platform/dialogs.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/strutils.h"

namespace {

std::string Trimmed(const std::string& s) { return Trim(s); }

// Four columns, cut or blank-padded.
std::string Columns4(const std::string& s) {
  std::string t = Utf8Left(Trimmed(s), 4);
  while (t.size() < 4) t += ' ';
  return t;
}

}  // namespace

void TPhaseForm::ReadfromFile1Click(TObject*) {
  TPhase* phase = Model ? Model->Phase(CurrentPhase()) : nullptr;
  if (!phase) return;
  OpenDialog1->Filter = "Atom Files (*.*)|*.*";
  OpenDialog1->DefaultExt.clear();
  OpenDialog1->FileName.clear();
  if (!OpenDialog1->Execute()) return;
  if (FDirty && !SaveChanges()) return;
  if (ReadAtomFile(OpenDialog1->FileName, *phase)) ModelChanged = true;
  UpdateForm();
}

void TPhaseForm::ReadEXPOxyzfile1Click(TObject*) {
  TPhase* phase = Model ? Model->Phase(CurrentPhase()) : nullptr;
  if (!phase) return;
  OpenDialog1->Filter = "Expo xyz Files (*.xyz)|*.xyz";
  OpenDialog1->DefaultExt = "xyz";
  OpenDialog1->FileName.clear();
  if (!OpenDialog1->Execute()) return;
  if (FDirty && !SaveChanges()) return;
  if (ReadExpoXyzFile(OpenDialog1->FileName, *phase)) ModelChanged = true;
  UpdateForm();
}

void TPhaseForm::SavetoExcelfile1Click(TObject*) {
  SaveDialog1->Filter = "Excel Files (*.xls)|*.xls|All Files (*.*)|*.*";
  SaveDialog1->DefaultExt = "xls";
  SaveDialog1->FileName.clear();
  if (!SaveDialog1->Execute()) return;
  SaveGridSheet(SaveDialog1->FileName);
}

void TPhaseForm::ReadExcelClick(TObject*) {
  TPhase* phase = Model ? Model->Phase(CurrentPhase()) : nullptr;
  if (!phase) return;
  OpenDialog1->Filter = "Excel Files (*.xls)|*.xls|All Files (*.*)|*.*";
  OpenDialog1->DefaultExt = "xls";
  OpenDialog1->FileName.clear();
  if (!OpenDialog1->Execute()) return;
  if (FDirty && !SaveChanges()) return;
  LoadGridSheet(OpenDialog1->FileName);
  // Every row is read before any atom is added, so a sheet with a cell that
  // is not a number adds nothing.
  std::vector<TAtom> atoms;
  const int columns[5] = {4, 6, 8, 10, 12};
  const char* names[5] = {"x", "y", "z", "B", "n"};
  for (int r = 1; r < GridRowCount(); ++r) {
    TAtom atom;
    atom.Label = Columns4(GridCell(2, r));
    atom.AtomType = Columns4(GridCell(3, r));
    for (int k = 0; k < 5; ++k) {
      const std::string text = Trimmed(GridCell(columns[k], r));
      double v = 0;
      if (!TryTextToDouble(text, v, false) || !FitsSingle(v)) {
        ShowMessage("\"" + text + "\" is not a valid floating point value (" + names[k] + " of row " +
                    std::to_string(r) + "); no atoms were read.");
        UpdateForm();
        return;
      }
      *atom.Value(k + 1) = static_cast<float>(v);
    }
    atoms.push_back(atom);
  }
  for (const TAtom& a : atoms) phase->AddAtom(a);
  if (!atoms.empty()) ModelChanged = true;
  UpdateForm();
}

void TPhaseForm::XYZtransformation1Click(TObject*) {
  if (!FormTrans || !Transformation || FormTrans->ShowModal() != mrOk) return;
  for (int r = 1; r < GridRowCount(); ++r) {
    const float x = TextToReal(GridCell(4, r)), y = TextToReal(GridCell(6, r)),
                z = TextToReal(GridCell(8, r));
    for (int i = 1; i <= 3; ++i)
      SetGridCell(2 + 2 * i, r, RealToStrFixed(Transformation->TransformCoordinate(i, x, y, z), 7, 5));
  }
  UpdateMult();
  FDirty = true;
}

void TPhaseForm::ReadfromInputfile1Click(TObject* Sender) {
  if (!Model) return;
  PrepareImportDialog("KORV Input File (*.inp)|*.inp", "inp");
  if (!OpenDialog1->Execute()) return;
  auto other = std::make_unique<TRietveld>();
  try {
    other->ReadInputFile(OpenDialog1->FileName);
  } catch (const Exception& e) {
    ShowMessage(e.Message());
    return;
  }
  const int count = other->PhaseCount();
  if (count == 0) return;
  std::string prompt = "There are " + std::to_string(count) + " phases. ";
  for (const auto& ph : other->Phases) prompt += " " + ph->Title;
  prompt += " Enter number:";
  std::string answer = "1";
  if (!InputQuery("Phase Number", prompt, answer)) return;
  int n = TextToInt(Trimmed(answer));
  if (n < 1) n = 1;
  if (n > count) n = count;
  const int before = Model->PhaseCount();
  New1Click(Sender);
  if (Model->PhaseCount() == before) return;
  Model->Phase(Model->PhaseCount())->Assign(*other->Phase(n));
  UpdateForm();
}

void TPhaseForm::ReadPhasefromCIFFile1Click(TObject* Sender) {
  if (!Model) return;
  PrepareImportDialog("CIF File (*.cif)|*.cif", "cif");
  if (!OpenDialog1->Execute()) return;
  // Read into a phase of its own first, so a file that cannot be read adds no phase.
  TPhase read;
  if (!ReadCifFile(OpenDialog1->FileName, read)) return;
  const int before = Model->PhaseCount();
  New1Click(Sender);
  if (Model->PhaseCount() == before) return;
  Model->Phase(Model->PhaseCount())->Assign(read);
  UpdateForm();
}
