// Observed data files: the file kind of a name, and small file tests. The
// readers themselves are members of TData (plotdata.h) and live in
// datafiles.cpp.
//
// File kinds by extension (compared without regard to case):
//   0 .inp  engine input file        7  .gs, .gsas  GSAS raw data file
//   1 .pcr  Fullprof input file      8  .ins        Shelx instruction file
//   2 .dwb  DWBS input file          9  .xy         x y data file
//   3 .exp  GSAS experiment file     10 .cpi        CPI data file
//   4 .dat  standard data file       11 anything else
// Kinds 5 and 6 are not assigned; the data kinds are 4, 7, 9 and 10.
#pragma once

#include <cstdint>
#include <string>

#include "model/plotdata.h"

// The kind of a file by its (last) extension; 11 when unknown or missing.
int GetFileKind(const std::string& fileName);
// The file's kind is 4, 7, 9 or 10.
bool IsDataFile(const std::string& fileName);
// The name is non-empty and names a file that can be opened for reading.
bool FileReadable(const std::string& fileName);
bool ByteToBool(uint8_t b);
// The 4-character atom symbol form (see ToSymbol4): trimmed, cut or padded
// to 4 columns, upper case.
std::string ToAtomSymbol4(const std::string& text);
