// Readers that load a crystal structure, or part of one, into an existing
// phase: a plain atom list, a crystallographic information file (CIF) and the
// atom list of an EXPO "xyz" file. They change only the phase they are given,
// and only when the whole file could be read: a file that cannot be read
// leaves the phase as it was and says why ("Invalid atom file: ...",
// "Invalid CIF file: ...", "Invalid EXPO xyz file: ..."). An empty file name
// (a dialog that was cancelled) does nothing and says nothing.
//
// Fields are separated by runs of blanks and tabs; labels and types become
// 4-character upper-case symbols (ToAtomSymbol4); new atoms have the TAtom
// defaults apart from label, type, position and occupancy: N is the full
// occupancy m / M of the site in the phase's space group (FullOccupancy),
// times the CIF's "_atom_site_occupancy" where the loop has that column.
#pragma once

#include <string>

#include "model/rietclass.h"

// Lines "label type x y z" up to the end of the file or the first empty line
// replace the phase's atoms. Returns true when the atoms were replaced.
bool ReadAtomFile(const std::string& fileName, TPhase& phase);

// From the first data block: the cell, Z, the space group (the older Hermann-
// Mauguin tag, else the current one; upper case, without quotes, at most 20
// characters) and the structural formula as the title are set, and the atoms
// of every atom-site loop are appended to the phase. Standard uncertainties
// in parentheses are dropped; "?" and "." (unknown) leave a value as it was.
// Returns true when the phase was changed.
bool ReadCifFile(const std::string& fileName, TPhase& phase);

// The atom lines after the header line (the first line holding "type") replace
// the phase's atoms: "label x y z", the label serving as type as well. Returns
// true when the atoms were replaced.
bool ReadExpoXyzFile(const std::string& fileName, TPhase& phase);
