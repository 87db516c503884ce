// Column widths kept between runs in an INI file or the registry (values
// "Col0", "Col1", ... in ColumnSize.Section), and the stretch switch of
// ColumnSize.
#include <algorithm>
#include <memory>
#include <string>

#include "grid/plusgrid.h"
#include "platform/rtl/inifiles.h"
#include "platform/rtl/registry.h"
#include "platform/ui/forms.h"

namespace {

// A width read back is kept within what a column can sensibly be.
constexpr int kMaxStoredWidth = 10000;

std::unique_ptr<TCustomIniFile> OpenColumnStore(const TColumnSize* cs) {
  if (cs->Location() == clIniFile) return std::make_unique<TIniFile>(cs->Key());
  return std::make_unique<TRegistryIniFile>(cs->Key());
}

std::string ColumnValueName(int c) { return "Col" + std::to_string(c); }

}  // namespace

void TColumnSize::SetStretch(bool v) {
  FStretch = v;
  if (FGrid && FGrid->Parent()) FGrid->StretchColumn(FStretchColumn);
}

void TPlusStringGrid::SaveColumnSizes() {
  const TColumnSize* cs = FColumnSize.get();
  if (cs->Key().empty() || cs->Section().empty() || Designing()) return;
  std::unique_ptr<TCustomIniFile> store = OpenColumnStore(cs);
  for (int c = 0; c < ColCount(); ++c) store->WriteInteger(cs->Section(), ColumnValueName(c), ColWidths(c));
  store->UpdateFile();
}

void TPlusStringGrid::LoadColumnSizes() {
  const TColumnSize* cs = FColumnSize.get();
  if (cs->Key().empty() || cs->Section().empty() || Designing()) return;
  std::unique_ptr<TCustomIniFile> store = OpenColumnStore(cs);
  for (int c = 0; c < ColCount(); ++c) {
    const int current = ColWidths(c);
    int w = current;
    try {
      // A value that is no integer reads as the default and so changes nothing.
      w = store->ReadInteger(cs->Section(), ColumnValueName(c), current);
    } catch (const ERegistryException&) {
      continue;  // a registry value of another type (binary) is no width
    }
    w = std::clamp(w, 0, kMaxStoredWidth);
    if (w != current) SetColWidths(c, w);
  }
}

void TPlusStringGrid::CreateWnd() {
  TBaseGrid::CreateWnd();
  if (FColumnSize->Save()) LoadColumnSizes();
}

void TPlusStringGrid::SaveColumnSizesOnDestroy() {
  if (!FColumnSize->Save()) return;
  // Nothing may leave a destructor: a store that cannot be written is
  // reported the way every other unhandled failure is.
  try {
    SaveColumnSizes();
  } catch (const std::exception&) {
    if (Application) Application->HandleException(this);
  }
}
