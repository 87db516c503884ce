#include "app/positionsaver.h"

#include <algorithm>

#include "platform/rtl/inifiles.h"

namespace {

const TEnumInfo& PosSaverHKEYInfo() {
  static const TEnumInfo info{"TPosSaverHKEY",
                              {"_CLASSES_ROOT", "_CURRENT_USER", "_LOCAL_MACHINE", "_USERS", "_PERFORMANCE_DATA",
                               "_CURRENT_CONFIG", "_DYN_DATA"},
                              0};
  return info;
}

// The predefined handles, in the order of TPosSaverHKEY.
constexpr HKEY kRootHandles[] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER,   HKEY_LOCAL_MACHINE, HKEY_USERS,
                                 0x80000004u,       HKEY_CURRENT_CONFIG, 0x80000006u};

const char* const kValueNames[] = {"Top", "Left", "Width", "Height"};

int Get(const TControl& c, int i) {
  switch (i) {
    case 0: return c.Top();
    case 1: return c.Left();
    case 2: return c.Width();
    default: return c.Height();
  }
}

void Set(TControl& c, int i, int v) {
  // A stored place far off the screen, or a size beyond it, is taken back to
  // the screen: a damaged store must not make a window of absurd size.
  if (Screen) {
    const int w = Screen->Width(), h = Screen->Height();
    switch (i) {
      case 0: v = std::clamp(v, -h, 2 * h); break;
      case 1: v = std::clamp(v, -w, 2 * w); break;
      case 2: v = std::clamp(v, 0, w); break;
      default: v = std::clamp(v, 0, h); break;
    }
  }
  switch (i) {
    case 0: c.SetTop(v); break;
    case 1: c.SetLeft(v); break;
    case 2: c.SetWidth(v); break;
    default: c.SetHeight(v); break;
  }
}

}  // namespace

void PlaceBesideOpener(TCustomForm* form, TCustomForm* opener) {
  // While the window shows itself, the one that opened it is still the active one.
  if (!opener && Screen) opener = Screen->ActiveForm();
  if (!form || !opener || opener == form || !opener->Visible()) return;
  const TRect area = Screen->WorkAreaRect();
  // Frames included: the new window's frame, not yet made, is taken to be
  // like the opener's.
  const TRect by = opener->FrameRect();
  const int frameW = by.Width() - opener->Width(), frameH = by.Height() - opener->Height();
  const int w = form->Width() + frameW, h = form->Height() + frameH, gap = 8;
  int left, top;
  if (by.Right + gap + w <= area.Right) {
    left = by.Right + gap;
    top = by.Top;
  } else if (by.Left - gap - w >= area.Left) {
    left = by.Left - gap - w;
    top = by.Top;
  } else {
    left = by.Left;
    top = by.Bottom + gap;
  }
  left = std::max(area.Left, std::min(left, area.Right - w));
  top = std::max(area.Top, std::min(top, area.Bottom - h));
  form->SetBounds(left, top, form->Width(), form->Height());
}

ZV_CLASS_IMPL(TFormPosSaver, TComponent)

void TFormPosSaver::DeclareProperties(TClassInfo& c) {
  c.Boolean<TFormPosSaver>("UseRegistry", &TFormPosSaver::UseRegistry, &TFormPosSaver::SetUseRegistry, false);
  c.String<TFormPosSaver>("RegKey", &TFormPosSaver::RegKey, &TFormPosSaver::SetRegKey, std::string());
  c.Enum<TFormPosSaver>("RegRootKey", PosSaverHKEYInfo(), &TFormPosSaver::RegRootKey, &TFormPosSaver::SetRegRootKey,
                        _CLASSES_ROOT);
  c.String<TFormPosSaver>("IniName", &TFormPosSaver::IniName, &TFormPosSaver::SetIniName, std::string());
  c.String<TFormPosSaver>("IniSection", &TFormPosSaver::IniSection, &TFormPosSaver::SetIniSection, std::string());
}

TFormPosSaver::TFormPosSaver(TComponent* AOwner) : TComponent(AOwner) {
  TCustomForm* form = Form();
  if (form && !ComponentState().Contains(csDesigning)) {
    FOldShow = form->OnShow;
    FOldHide = form->OnHide;
    FOldClose = form->OnClose;
    form->OnShow = [this](TObject* Sender) { FormShow(Sender); };
    form->OnHide = [this](TObject* Sender) { FormHide(Sender); };
    form->OnClose = [this](TObject* Sender, TCloseAction& Action) { FormClose(Sender, Action); };
  }
}

TCustomForm* TFormPosSaver::Form() const { return dynamic_cast<TCustomForm*>(Owner()); }

void TFormPosSaver::SetRegRootKey(TPosSaverHKEY v) {
  FRegRootKey = v;
  FRootKey = kRootHandles[v];
}

void TFormPosSaver::FormShow(TObject* Sender) {
  RestorePosition();
  if (!FShown && !FRestored) PlaceBesideOpener(Form());
  FShown = true;
  FSavedByClose = false;
  try {
    if (FOldShow) FOldShow(Sender);
  } catch (...) {
  }
}

void TFormPosSaver::FormHide(TObject* Sender) {
  // A window that is hidden and never closed (a tool window) keeps its place too.
  if (!FSavedByClose) {
    try {
      SavePosition();
    } catch (const Exception& e) {
      if (Application) Application->ShowException(e);
    }
  }
  FSavedByClose = false;
  try {
    if (FOldHide) FOldHide(Sender);
  } catch (...) {
  }
}


void TFormPosSaver::FormClose(TObject* Sender, TCloseAction& Action) {
  // An INI file that cannot be written is reported, but neither keeps the
  // window's own close handler from running nor the window from closing.
  FSavedByClose = true;
  try {
    SavePosition();
  } catch (const Exception& e) {
    if (Application) Application->ShowException(e);
  }
  try {
    if (FOldClose) FOldClose(Sender, Action);
  } catch (...) {
  }
}

std::string TFormPosSaver::EffectiveIniName() const {
  if (!FIniName.empty()) return FIniName;
  // The program's name up to its first dot; a dot in a folder name does not count.
  std::string exe = Application ? Application->ExeName() : std::string();
  const size_t slash = exe.find_last_of('/');
  const size_t dot = exe.find('.', slash == std::string::npos ? 0 : slash + 1);
  if (dot != std::string::npos) exe.erase(dot);
  return exe + ".ini";
}

std::string TFormPosSaver::EffectiveIniSection() const {
  if (!FIniSection.empty()) return FIniSection;
  TCustomForm* form = Form();
  return form ? form->Name() : std::string();
}

void TFormPosSaver::RestorePosition() {
  FRestored = false;
  TCustomForm* form = Form();
  if (!form) return;
  if (FUseRegistry) {
    TRegistry reg;
    reg.SetRootKey(FRootKey);
    if (reg.OpenKey(FRegKey, false)) {
      for (int i = 0; i < 4; ++i) {
        try {
          Set(*form, i, reg.ReadInteger(kValueNames[i]));
          FRestored = true;
        } catch (const ERegistryException&) {
        }
      }
      reg.CloseKey();
    }
    return;
  }
  TIniFile ini(EffectiveIniName());
  const std::string section = EffectiveIniSection();
  TStringList names;
  ini.ReadSection(section, names);
  if (names.Count() > 0) {
    FRestored = true;
    for (int i = 0; i < 4; ++i) Set(*form, i, ini.ReadInteger(section, kValueNames[i], Get(*form, i)));
    try {
      if (form->Position() == poScreenCenter) form->SetPosition(poDesigned);
    } catch (...) {
    }
  }
}

void TFormPosSaver::SavePosition() {
  TCustomForm* form = Form();
  if (!form) return;
  if (FUseRegistry) {
    TRegistry reg;
    reg.SetRootKey(FRootKey);
    if (reg.OpenKey(FRegKey, true)) {
      for (int i = 0; i < 4; ++i) {
        try {
          reg.WriteInteger(kValueNames[i], Get(*form, i));
        } catch (const ERegistryException&) {
        }
      }
      reg.CloseKey();
    }
    return;
  }
  TIniFile ini(EffectiveIniName());
  const std::string section = EffectiveIniSection();
  for (int i = 0; i < 4; ++i) ini.WriteInteger(section, kValueNames[i], Get(*form, i));
}
