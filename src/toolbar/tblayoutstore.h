// Saving and restoring where the dockable windows of a form are: visible or
// not, docked (which dock, row, position) or floating (where, last dock),
// plus the windows' own extra values. The core works through reader and
// writer callbacks; the registry binding keeps it under a per-user key.
#pragma once

#include <functional>
#include <string>

#include "platform/gfx/geometry.h"
#include "platform/rtl/registry.h"

class TComponent;

using TTBPositionReadIntProc =
    std::function<int(const std::string& Section, const std::string& Value, int Default, void* Store)>;
using TTBPositionReadStringProc = std::function<std::string(const std::string& Section, const std::string& Value,
                                                            const std::string& Default, void* Store)>;
using TTBPositionWriteIntProc =
    std::function<void(const std::string& Section, const std::string& Value, int Data, void* Store)>;
using TTBPositionWriteStringProc =
    std::function<void(const std::string& Section, const std::string& Value, const std::string& Data, void* Store)>;

// Passed to a window's extra-position hooks.
struct TTBReadPositionData {
  TTBPositionReadIntProc ReadIntProc;
  TTBPositionReadStringProc ReadStringProc;
  void* Store = nullptr;
};
struct TTBWritePositionData {
  TTBPositionWriteIntProc WriteIntProc;
  TTBPositionWriteStringProc WriteStringProc;
  void* Store = nullptr;
};

// What the store needs of a dock (the dock component implements it).
class TTBPositionDock {
 public:
  virtual ~TTBPositionDock() = default;
  virtual bool AllowDrag() const = 0;
  virtual void BeginUpdate() = 0;
  virtual void EndUpdate() = 0;
};

// What the store needs of a dockable window (the window component
// implements it).
class TTBPositionWindow {
 public:
  virtual ~TTBPositionWindow() = default;
  virtual bool PositionVisible() const = 0;
  virtual void SetPositionVisible(bool V) = 0;
  // The component of the dock the window sits in, nil when not docked.
  virtual TComponent* CurrentDockComponent() const = 0;
  virtual bool Floating() const = 0;
  virtual TComponent* LastDockComponent() const = 0;
  virtual void SetLastDockComponent(TComponent* Dock) = 0;
  virtual bool UseLastDock() const = 0;
  virtual int StoredDockRow() const = 0;
  virtual void SetStoredDockRow(int V) = 0;
  virtual int StoredDockPos() const = 0;
  virtual void SetStoredDockPos(int V) = 0;
  virtual TPoint FloatingPosition() const = 0;
  virtual void SetFloatingPosition(TPoint P) = 0;
  virtual void DockInto(TComponent* Dock) = 0;
  virtual void MakeFloating() = 0;
  // Moves the floating window back into the nearest work area when it lies
  // off every monitor.
  virtual void MoveOnScreen(bool OnlyIfFullyOffscreen) = 0;
  virtual void Arrange() = 0;
  virtual void LoadExtraPosition(const TTBReadPositionData& Data) { (void)Data; }
  virtual void SaveExtraPosition(const TTBWritePositionData& Data) { (void)Data; }
  virtual void ExtraPositionLoaded(const TTBReadPositionData& Data) { (void)Data; }
};

// Told once per load or save about windows that were left alone; stderr
// when unset.
extern std::function<void(const std::string& Problem)> TBPositionProblemHook;

extern const char* const kTBPositionNoDockName;  // "Cannot save dockable window's position because ..."

// Integers in the store larger than this (either sign) count as damage.
constexpr int kTBMaxStoredCoordinate = 1 << 20;
// Highest dock row a stored layout restores (rows are renumbered in order).
constexpr int kTBMaxDockRow = 255;
// Parses a stored integer: missing or empty text gives Default; anything but
// decimal text within the coordinate range raises EConvertError.
int TBParseStoredInteger(const std::string& Text, bool Present, int Default);

void LoadDockablePositions(TComponent* Form, const TTBPositionReadIntProc& ReadIntProc,
                           const TTBPositionReadStringProc& ReadStringProc, void* Store);
void SaveDockablePositions(TComponent* Form, const TTBPositionWriteIntProc& WriteIntProc,
                           const TTBPositionWriteStringProc& WriteStringProc, void* Store);

void LoadToolbarPositionsFromRegistry(TComponent* Form, HKEY RootKey, const std::string& BaseRegistryKey);
void SaveToolbarPositionsToRegistry(TComponent* Form, HKEY RootKey, const std::string& BaseRegistryKey);
