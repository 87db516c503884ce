#include <gtest/gtest.h>

#include <functional>

#include "model/structurefiles.h"
#include "support/testlocale.h"
#include "test_import_support.h"

using namespace importtest;

namespace {

class StructureFiles : public ::testing::Test {
protected:
  void SetUp() override {
    // A phase with something in it, so that what a reader keeps shows.
    Phase.Title = "Before";
    Phase.SpaceGroup = "P 1";
    TAtom a;
    a.Label = "OLD ";
    a.AtomType = "C   ";
    Phase.AddAtom(a);
  }
  std::string Write(const std::string& name, const std::string& text) { return Dir.Write(name, text); }
  // Label, type and position of every atom, one per line.
  std::string Atoms() const {
    std::string s;
    for (const auto& a : Phase.Atoms)
      s += "'" + a->Label + "' '" + a->AtomType + "' " +
           testlocale::CFormat("%f %f %f", static_cast<double>(a->X), static_cast<double>(a->Y), static_cast<double>(a->Z)) + "\n";
    return s;
  }
  std::string PhaseText() const {
    TRietveld m;
    m.AddPhase(std::make_unique<TPhase>())->Assign(Phase);
    return DumpModel(m);
  }

  TPhase Phase;
  TDialogResponder Dialogs;
  TTempDir Dir;
};

// ---- Atom lists --------------------------------------------------------------

TEST_F(StructureFiles, AtomListUpToTheFirstEmptyLine) {
  ASSERT_TRUE(ReadAtomFile(FixturePath("atoms.txt"), Phase));
  EXPECT_EQ(Dialogs.Texts(), Texts{});
  EXPECT_EQ(Atoms(),
            "'SI1 ' 'SI  ' 0.125000 0.125000 0.125000\n"
            "'O1  ' 'O   ' 0.250000 0.000000 0.500000\n");
  EXPECT_FLOAT_EQ(Phase.Atom(1)->B, 0.6f);
  EXPECT_FLOAT_EQ(Phase.Atom(1)->N, 1.0f);
  EXPECT_EQ(Phase.Title, "Before");

  ASSERT_TRUE(ReadAtomFile(Write("crlf.txt", "fe1 Fe 0.1 0.2 0.3\r\nX x 1 2 3\r\n"), Phase));
  EXPECT_EQ(Atoms(), "'FE1 ' 'FE  ' 0.100000 0.200000 0.300000\n'X   ' 'X   ' 1.000000 2.000000 3.000000\n");
}

TEST_F(StructureFiles, BadAtomListsLeaveThePhase) {
  const struct {
    std::string Text;
    std::string Message;
  } cases[] = {
      {"", "Invalid atom file: " + Dir.File("bad.txt") + " holds no atom lines."},
      {"\nSi Si 0 0 0\n", "Invalid atom file: " + Dir.File("bad.txt") + " holds no atom lines."},
      {"Si Si 0 0 0\nO O 0.1 0.2\n", "Invalid atom file: line 2 holds 4 values where 5 are needed."},
      {"Si Si 0 zero 0\n", "Invalid atom file: line 1, value 4: \"zero\" is not a number."},
      {std::string("Si Si 0 0 0\n\0\n", 14), "Invalid atom file: " + Dir.File("bad.txt") + " holds binary data."},
  };
  const std::string before = PhaseText();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Message);
    Dialogs.Clear();
    EXPECT_FALSE(ReadAtomFile(Write("bad.txt", c.Text), Phase));
    EXPECT_EQ(Dialogs.Texts(), Texts{c.Message});
    EXPECT_EQ(PhaseText(), before);
  }
  // No name: nothing at all; a name that cannot be opened: a message.
  Dialogs.Clear();
  EXPECT_FALSE(ReadAtomFile("", Phase));
  EXPECT_EQ(Dialogs.Count(), 0u);
  EXPECT_FALSE(ReadAtomFile(Dir.File("none.txt"), Phase));
  EXPECT_EQ(Dialogs.Texts(), Texts{"Invalid atom file: " + Dir.File("none.txt") + " cannot be opened."});
  EXPECT_EQ(PhaseText(), before);
}

// ---- EXPO xyz ----------------------------------------------------------------

TEST_F(StructureFiles, ExpoAtomsAfterTheHeaderLine) {
  ASSERT_TRUE(ReadExpoXyzFile(FixturePath("expo.xyz"), Phase));
  EXPECT_EQ(Dialogs.Texts(), Texts{});
  EXPECT_EQ(Atoms(),
            "'O1  ' 'O1  ' 0.304800 0.304800 0.000000\n"
            "'TI1 ' 'TI1 ' 0.000000 0.000000 0.000000\n");
}

TEST_F(StructureFiles, BadExpoFilesLeaveThePhase) {
  const std::string name = Dir.File("bad.xyz");
  const struct {
    std::string Text;
    std::string Message;
  } cases[] = {
      {"O1 0 0 0\n", "Invalid EXPO xyz file: " + name + " has no header line holding \"type\"."},
      {"label type\n\n  \n", "Invalid EXPO xyz file: no atom lines follow the header line of " + name + "."},
      {"label type\nO1 0.1 0.2\n", "Invalid EXPO xyz file: line 2 holds 3 values where 4 are needed."},
      {"label type\nO1 0.1 0.2 0.3\nEND of the list\n",
       "Invalid EXPO xyz file: line 3, value 2: \"of\" is not a number."},
  };
  const std::string before = PhaseText();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Message);
    Dialogs.Clear();
    EXPECT_FALSE(ReadExpoXyzFile(Write("bad.xyz", c.Text), Phase));
    EXPECT_EQ(Dialogs.Texts(), Texts{c.Message});
    EXPECT_EQ(PhaseText(), before);
  }
}

// ---- Occupancy of new atoms ----------------------------------------------------

// Every reader gives a new atom the full occupancy of its site in the phase's
// space group, m / M (rutile, P 42/m n m, M = 16: 2a 2/16, 4f 4/16, the
// general position 1); a CIF's occupancy column multiplies it. A group the
// library does not know leaves 1.
TEST_F(StructureFiles, NewAtomsFullyOccupyTheirSites) {
  const struct {
    const char* What;
    std::function<bool(TPhase&)> Read;
    std::string Group;  // of the phase before reading (a CIF sets its own)
    std::vector<float> Expected;
  } cases[] = {
      {"atom list", [&](TPhase& p) { return ReadAtomFile(Write("a.txt", "Ti1 Ti 0 0 0\nO1 O 0.3 0.3 0\nX1 C 0.1 0.2 0.3\n"), p); },
       "P 42/M N M", {0.125f, 0.25f, 1.0f}},
      {"EXPO", [&](TPhase& p) { return ReadExpoXyzFile(Write("a.xyz", "label x y z type\nTI1 0 0 0\nO1 0.3 0.3 0\nC1 0.1 0.2 0.3\n"), p); },
       "P 42/M N M", {0.125f, 0.25f, 1.0f}},
      {"CIF fixture", [&](TPhase& p) { return ReadCifFile(FixturePath("structure.cif"), p); }, "P 1", {0.125f, 0.25f}},
      {"CIF with occupancies",
       [&](TPhase& p) {
         return ReadCifFile(Write("o.cif", "data_o\n_symmetry_space_group_name_H-M 'P 42/m n m'\nloop_\n"
                                           "_atom_site_label\n_atom_site_fract_x\n_atom_site_fract_y\n_atom_site_fract_z\n"
                                           "_atom_site_occupancy\nTi1 0 0 0 0.9(1)\nO1 0.3 0.3 0 0.5\nC1 0.1 0.2 0.3 ?\n"),
                            p);
       },
       "P 1", {0.9f * 0.125f, 0.125f, 1.0f}},
      {"unknown group", [&](TPhase& p) { return ReadAtomFile(Write("u.txt", "Ti1 Ti 0 0 0\n"), p); }, "Q 99", {1.0f}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.What);
    TPhase phase;
    phase.SpaceGroup = c.Group;
    ASSERT_TRUE(c.Read(phase));
    ASSERT_EQ(phase.AtomCount(), static_cast<int>(c.Expected.size()));
    for (int a = 1; a <= phase.AtomCount(); ++a) EXPECT_FLOAT_EQ(phase.Atom(a)->N, c.Expected[a - 1]) << a;
  }
  EXPECT_EQ(Dialogs.Texts(), Texts{});
}

// ---- CIF ---------------------------------------------------------------------

TEST_F(StructureFiles, CifFixture) {
  ASSERT_TRUE(ReadCifFile(FixturePath("structure.cif"), Phase));
  EXPECT_EQ(Dialogs.Texts(), Texts{});
  EXPECT_EQ(Phase.Title, "Ti O2");
  EXPECT_EQ(Phase.SpaceGroup, "P 42/M N M");  // the current tag, without its double quotes
  EXPECT_FLOAT_EQ(Phase.A, 4.5937f);          // without the uncertainty
  EXPECT_FLOAT_EQ(Phase.C, 2.9587f);
  EXPECT_FLOAT_EQ(Phase.Beta, 90.0f);
  EXPECT_EQ(Phase.Z, 2);
  // Appended to the atom the phase had; the second data block is not read.
  EXPECT_EQ(Atoms(),
            "'OLD ' 'C   ' 0.000000 0.000000 0.000000\n"
            "'TI1 ' 'TI  ' 0.000000 0.000000 0.000000\n"
            "'O1  ' 'O   ' 0.304800 0.304800 0.000000\n");
}

TEST_F(StructureFiles, CifItems) {
  const struct {
    std::string Text;
    std::string SpaceGroup;
    std::string Title;
    float A;
  } cases[] = {
      {"_symmetry_space_group_name_H-M 'P 21/c'\n_space_group_name_H-M_alt 'P 1'\n_cell_length_a 5.4310(3)\n",
       "P 21/C", "Before", 5.431f},
      {"_space_group_name_H-M_alt \"P n m a\"\n_cell_length_a 7\n", "P N M A", "Before", 7},
      {"_symmetry_space_group_name_H-M  P 21 21 21  # a comment\n_cell_length_a ?\n", "P 21 21 21", "Before",
       3.8f},
      {"_symmetry_space_group_name_H-M\n'I 41/a m d'\n_cell_length_a\n  3.0\n", "I 41/A M D", "Before", 3.0f},
      {"_chemical_formula_structural\n;\n Fe2 O3\n;\n_cell_length_a .\n", "P 1", "Fe2 O3", 3.8f},
      {"_cell_length_a 6.1\r\n_symmetry_space_group_name_H-M 'A VERY LONG SYMBOL OF 31 CHARS'\r\n",
       "A VERY LONG SYMBOL O", "Before", 6.1f},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Text);
    TPhase fresh;
    fresh.Title = "Before";
    ASSERT_TRUE(ReadCifFile(Write("i.cif", "data_x\n" + c.Text), fresh));
    EXPECT_EQ(fresh.SpaceGroup, c.SpaceGroup);
    EXPECT_EQ(fresh.Title, c.Title);
    EXPECT_FLOAT_EQ(fresh.A, c.A);
  }
  EXPECT_EQ(Dialogs.Texts(), Texts{});
}

// Z as databases write it: a whole-valued real is that number; anything else
// leaves the phase's Z and reads the rest of the file.
TEST_F(StructureFiles, CifFormulaUnitsAsReals) {
  const struct {
    const char* Value;
    int Z;
  } cases[] = {{"6.000", 6}, {"4", 4}, {"8.", 8}, {"4.5", 3}, {"4.0(1)", 3}, {"many", 3}, {"1e9", 3}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Value);
    TPhase fresh;
    fresh.Z = 3;
    ASSERT_TRUE(ReadCifFile(Write("z.cif", std::string("data_z\n_cell_formula_units_Z ") + c.Value +
                                               "\n_cell_length_a 4.75\n"),
                            fresh));
    EXPECT_EQ(fresh.Z, c.Z);
    EXPECT_FLOAT_EQ(fresh.A, 4.75f);
  }
  EXPECT_EQ(Dialogs.Texts(), Texts{});
}

TEST_F(StructureFiles, CifAtomLoops) {
  // The label as the fourth item: not an atom loop unless one of the first
  // three is an atom-site item; a loop ends at a new tag, loop_ or data_.
  const std::string text =
      "data_a\n"
      "loop_\n_atom_site_occupancy\n_atom_site_U_iso\n_atom_site_B_iso\n_atom_site_label\n1 2 3 X1\n"
      "loop_\n_atom_site_type_symbol\n_atom_site_label\n_atom_site_fract_x\n_atom_site_fract_y\n"
      "_atom_site_fract_z\n"
      "Na Na1 0.1 0.2 0.3\n"
      "# comment\n"
      "\n"
      "'Cl' 'Cl 1' 0.5 0.5(1) 0.5\n"
      "_cell_length_a 5.64\n"
      "loop_\n_atom_site_label\n_atom_site_fract_x\n_atom_site_fract_y\n_atom_site_fract_z\nK1 0 0 0\n"
      "loop_\n_geom_bond_atom_site_label_1\nNa1\n"
      "data_b\nZ9 0 0 0\n";
  Phase.ClearAtoms();
  ASSERT_TRUE(ReadCifFile(Write("a.cif", text), Phase));
  EXPECT_EQ(Dialogs.Texts(), Texts{});
  EXPECT_EQ(Atoms(),
            "'NA1 ' 'NA  ' 0.100000 0.200000 0.300000\n"
            "'CL 1' 'CL  ' 0.500000 0.500000 0.500000\n"
            "'K1  ' '    ' 0.000000 0.000000 0.000000\n");
  EXPECT_FLOAT_EQ(Phase.A, 5.64f);
}

TEST_F(StructureFiles, BadCifFilesLeaveThePhase) {
  const std::string name = Dir.File("bad.cif");
  const struct {
    std::string Text;
    std::string Message;
  } cases[] = {
      {"", "Invalid CIF file: " + name + " holds no cell, space group or atom sites."},
      {"data_x\n_journal_year 1999\n", "Invalid CIF file: " + name + " holds no cell, space group or atom sites."},
      {"data_x\n_cell_length_a 5.43x\n", "Invalid CIF file: line 2, _cell_length_a: \"5.43x\" is not a number."},
      {"data_x\n_cell_length_a 5\nloop_\n_atom_site_label\n_atom_site_fract_x\n_atom_site_fract_y\n"
       "_atom_site_fract_z\nO1 0.1 0.2\n",
       "Invalid CIF file: line 8 holds 3 values where the atom-site loop needs 4."},
      {"data_x\nloop_\n_atom_site_label\n_atom_site_fract_x\n_atom_site_fract_y\n_atom_site_fract_z\nO1 ? 0 0\n",
       "Invalid CIF file: line 7, value 2: the coordinate is unknown."},
      {"data_x\nloop_\n_atom_site_label\n_atom_site_Cartn_x\n_atom_site_Cartn_y\n_atom_site_Cartn_z\nO1 1 2 3\n",
       "Invalid CIF file: the atom-site loop of line 2 has no fractional coordinates."},
      {"data_x\n_publ_section_comment\n;\nnever closed\n",
       "Invalid CIF file: line 4: the file ends inside a text field."},
  };
  const std::string before = PhaseText();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Message);
    Dialogs.Clear();
    EXPECT_FALSE(ReadCifFile(Write("bad.cif", c.Text), Phase));
    EXPECT_EQ(Dialogs.Texts(), Texts{c.Message});
    EXPECT_EQ(PhaseText(), before);
  }
}

}  // namespace
