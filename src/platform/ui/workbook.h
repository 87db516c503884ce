// Spreadsheet workbooks read and written directly: .xls (BIFF) and .xlsx
// (Office Open XML) are read, .xlsx is written. Cell values come as text:
// numbers in their shortest form with ".", booleans as TRUE / FALSE, formula
// cells by their stored value; error cells are left out.
#pragma once

#include <string>
#include <vector>

#include "platform/rtl/exceptions.h"

// A workbook that cannot be read or written; the message says why.
ZV_DECLARE_EXCEPTION(EWorkbookError, Exception)

struct TWorkbookCell {
  int Row = 0, Col = 0;  // 0-based: A1 is (0, 0)
  std::string Text;
};

struct TWorkbookSheet {
  std::string Name;
  // The used range, 0-based and inclusive; LastRow < FirstRow when empty.
  int FirstRow = 0, FirstCol = 0, LastRow = -1, LastCol = -1;
  std::vector<TWorkbookCell> Cells;  // the non-empty cells
  bool Empty() const { return LastRow < FirstRow || LastCol < FirstCol; }
};

enum TWorkbookFormat { wfNone, wfXls, wfXlsx };

// Told apart by the first bytes: the compound-file signature of .xls, the
// zip signature of .xlsx.
TWorkbookFormat WorkbookFormatOfBytes(const std::string& FirstBytes);
// wfNone also for a file that cannot be opened.
TWorkbookFormat WorkbookFormatOf(const std::string& FileName);
// Every sheet in workbook order. EWorkbookError for a file in no format read
// here or a damaged one.
std::vector<TWorkbookSheet> ReadWorkbook(const std::string& FileName);
// Writes the sheets as .xlsx content to exactly FileName through the atomic
// save, each cell as a text cell; EWorkbookError when anything fails (the
// old file then stays as it was).
void WriteWorkbook(const std::string& FileName, const std::vector<TWorkbookSheet>& Sheets);
// "A", ..., "Z", "AA", ... for a 0-based column.
std::string WorkbookColumnName(int ACol);
