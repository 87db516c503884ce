// A non-visual component dropped on a window: the window comes back where it
// was when it is shown, and its place is stored when it closes or is
// hidden, in the registry stand-in or in an INI file. With no place stored,
// the window's first showing puts it beside the window that opened it (the
// active one), inside the screen.
#pragma once

#include <string>

#include "platform/rtl/registry.h"
#include "platform/ui/forms.h"

enum TPosSaverHKEY {
  _CLASSES_ROOT, _CURRENT_USER, _LOCAL_MACHINE, _USERS, _PERFORMANCE_DATA, _CURRENT_CONFIG, _DYN_DATA
};

// Puts a window beside the one that opened it (the active window when
// none is given), inside the screen: right of it, else left, else below.
void PlaceBesideOpener(TCustomForm* Form, TCustomForm* Opener = nullptr);

// For a window that keeps no place of its own: beside its opener the first
// time it shows (Placed false; it is set), where the user left it after.
inline void PlaceOnFirstShow(TCustomForm* Form, bool& Placed) {
  if (!Placed) PlaceBesideOpener(Form);
  Placed = true;
}

class TFormPosSaver : public TComponent {
  ZV_CLASS(TFormPosSaver)
public:
  explicit TFormPosSaver(TComponent* AOwner);

  bool UseRegistry() const { return FUseRegistry; }
  void SetUseRegistry(bool v) { FUseRegistry = v; }
  const std::string& RegKey() const { return FRegKey; }
  void SetRegKey(const std::string& v) { FRegKey = v; }
  TPosSaverHKEY RegRootKey() const { return FRegRootKey; }
  void SetRegRootKey(TPosSaverHKEY v);
  // The registry handle that goes with RegRootKey.
  HKEY RootKeyHandle() const { return FRootKey; }
  const std::string& IniName() const { return FIniName; }
  void SetIniName(const std::string& v) { FIniName = v; }
  const std::string& IniSection() const { return FIniSection; }
  void SetIniSection(const std::string& v) { FIniSection = v; }

  void RestorePosition();
  void SavePosition();

  // The INI file and section used in INI mode (the defaults filled in).
  std::string EffectiveIniName() const;
  std::string EffectiveIniSection() const;

private:
  TCustomForm* Form() const;
  void FormShow(TObject* Sender);
  void FormHide(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);

  bool FUseRegistry = false;
  std::string FRegKey;
  TPosSaverHKEY FRegRootKey = _CLASSES_ROOT;
  HKEY FRootKey = HKEY_CLASSES_ROOT;
  std::string FIniName;
  std::string FIniSection;
  TNotifyEvent FOldShow;
  TNotifyEvent FOldHide;
  TCloseEvent FOldClose;
  bool FRestored = false;  // the last RestorePosition found a stored place
  bool FShown = false;
  bool FSavedByClose = false;  // the close saved; the hide that follows need not
};
