// Spreadsheet workbooks read and written directly: .xls (BIFF) and .xlsx
// (Office Open XML) are read, .xlsx is written. Cell values come as text:
// numbers in their shortest form with ".", booleans as TRUE / FALSE, formula
// cells by their stored value; error cells are left out.
#pragma once

#include <cstdint>
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

// What one workbook load may take for the whole book: the cells looked at
// (the cells of an .xlsx, the used ranges of an .xls) and the bytes unpacked
// from the file with the text of the cells kept. Past either the load is
// refused, naming the limit.
constexpr uint64_t MaxWorkbookCells = 4194304;
constexpr uint64_t MaxWorkbookBytes = uint64_t{256} << 20;
// Smaller budgets for tests and the mutation drivers; 0 restores the default.
void SetWorkbookBudget(uint64_t Cells, uint64_t Bytes);

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
