#include "toolbar/tblayoutstore.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <vector>

#include "platform/rtl/exceptions.h"
#include "platform/ui/classes.h"
#include "toolbar/tbcommon.h"

std::function<void(const std::string& Problem)> TBPositionProblemHook;

const char* const kTBPositionNoDockName = "Cannot save dockable window's position because DockedTo's Name property not set";

namespace {

const char* const kRev = "Rev";
constexpr int kRevision = 2000;

void ReportProblem(const std::string& Problem) {
  if (TBPositionProblemHook)
    TBPositionProblemHook(Problem);
  else
    std::fprintf(stderr, "%s\n", Problem.c_str());
}

bool SameNameText(const std::string& A, const std::string& B) {
  if (A.size() != B.size()) return false;
  for (size_t I = 0; I < A.size(); ++I)
    if (std::tolower(static_cast<unsigned char>(A[I])) != std::tolower(static_cast<unsigned char>(B[I]))) return false;
  return true;
}

TComponent* FindDockNamed(TComponent* Form, const std::string& Name) {
  for (int I = 0; I < Form->ComponentCount(); ++I) {
    TComponent* C = Form->Components(I);
    if (dynamic_cast<TTBPositionDock*>(C) && SameNameText(C->Name(), Name)) return C;
  }
  return nullptr;
}

// The values of one section, read whole before any is applied so that a
// damaged section changes nothing.
struct TSection {
  bool Visible = false;
  std::string DockedTo;
  int DockRow = 0, DockPos = 0, FloatLeft = 0, FloatTop = 0;
};

}  // namespace

int TBParseStoredInteger(const std::string& Text, bool Present, int Default) {
  if (!Present || Text.empty()) return Default;
  long long V = 0;
  const char* B = Text.data();
  const char* E = B + Text.size();
  auto [P, Ec] = std::from_chars(B, E, V);
  if (Ec != std::errc() || P != E || V > kTBMaxStoredCoordinate || V < -kTBMaxStoredCoordinate)
    throw EConvertError("'" + Text + "' is not a valid stored number");
  return static_cast<int>(V);
}

void LoadDockablePositions(TComponent* Form, const TTBPositionReadIntProc& ReadIntProc,
                           const TTBPositionReadStringProc& ReadStringProc, void* Store) {
  std::vector<TTBPositionDock*> Docks;
  for (int I = 0; I < Form->ComponentCount(); ++I)
    if (auto* D = dynamic_cast<TTBPositionDock*>(Form->Components(I))) {
      D->BeginUpdate();
      Docks.push_back(D);
    }
  struct TEndUpdates {
    std::vector<TTBPositionDock*>& Docks;
    ~TEndUpdates() {
      for (auto It = Docks.rbegin(); It != Docks.rend(); ++It) (*It)->EndUpdate();
    }
  } EndUpdates{Docks};

  const TTBReadPositionData Data{ReadIntProc, ReadStringProc, Store};
  std::vector<std::string> Damaged;
  for (int I = 0; I < Form->ComponentCount(); ++I) {
    TComponent* C = Form->Components(I);
    auto* W = dynamic_cast<TTBPositionWindow*>(C);
    if (!W || C->Name().empty()) continue;
    const std::string& Sec = C->Name();
    try {
      if (ReadIntProc(Sec, kRev, 0, Store) != kRevision) continue;
      TSection S;
      S.Visible = ReadIntProc(Sec, "Visible", W->PositionVisible() ? 1 : 0, Store) != 0;
      S.DockedTo = ReadStringProc(Sec, "DockedTo", "", Store);
      TComponent* Target = nullptr;
      const bool ToFloat = S.DockedTo == "+";
      if (!S.DockedTo.empty()) {
        // Places far beyond the virtual screen are taken back to within a
        // screen of it (a window off every monitor is then moved onto one),
        // so a damaged store can neither lose a window nor make a dock
        // huge; the next save writes what the window then has.
        const TRect Screen = VirtualScreenRect();
        S.DockRow = std::clamp(ReadIntProc(Sec, "DockRow", W->StoredDockRow(), Store), 0, kTBMaxDockRow);
        S.DockPos = std::clamp(ReadIntProc(Sec, "DockPos", W->StoredDockPos(), Store), -Screen.Width(), Screen.Width());
        S.FloatLeft =
            std::clamp(ReadIntProc(Sec, "FloatLeft", 0, Store), Screen.Left - Screen.Width(), Screen.Right);
        S.FloatTop =
            std::clamp(ReadIntProc(Sec, "FloatTop", 0, Store), Screen.Top - Screen.Height(), Screen.Bottom);
        if (!ToFloat) {
          Target = FindDockNamed(Form, S.DockedTo);
          if (Target && !dynamic_cast<TTBPositionDock*>(Target)->AllowDrag()) Target = nullptr;
        }
      }
      W->SetPositionVisible(S.Visible);
      if (!ToFloat && !Target) continue;  // unknown dock: the designed position stays

      W->SetStoredDockRow(S.DockRow);
      W->SetStoredDockPos(S.DockPos);
      W->LoadExtraPosition(Data);
      W->SetFloatingPosition({S.FloatLeft, S.FloatTop});
      if (Target) {
        W->DockInto(Target);
      } else {
        W->MakeFloating();
        W->MoveOnScreen(true);
        if (W->UseLastDock())
          if (TComponent* Last = FindDockNamed(Form, ReadStringProc(Sec, "LastDock", "", Store)))
            W->SetLastDockComponent(Last);
      }
      W->Arrange();
      W->ExtraPositionLoaded(Data);
    } catch (const Exception& E) {
      // A damaged section leaves this window where it is; the others load.
      Damaged.push_back(Sec + ": " + E.Message());
    }
  }
  if (!Damaged.empty()) {
    std::string Text = "Damaged toolbar layout left alone for";
    for (const auto& D : Damaged) Text += "\n  " + D;
    ReportProblem(Text);
  }
}

void SaveDockablePositions(TComponent* Form, const TTBPositionWriteIntProc& WriteIntProc,
                           const TTBPositionWriteStringProc& WriteStringProc, void* Store) {
  const TTBWritePositionData Data{WriteIntProc, WriteStringProc, Store};
  bool Unnamed = false;
  for (int I = 0; I < Form->ComponentCount(); ++I) {
    TComponent* C = Form->Components(I);
    auto* W = dynamic_cast<TTBPositionWindow*>(C);
    if (!W || C->Name().empty()) continue;
    std::string DockedTo;
    if (W->Floating()) {
      DockedTo = "+";
    } else if (TComponent* Dock = W->CurrentDockComponent()) {
      if (dynamic_cast<TTBPositionDock*>(Dock)->AllowDrag()) {
        if (Dock->Name().empty()) {
          // Skipped rather than stopping half way with stale sections.
          Unnamed = true;
          continue;
        }
        DockedTo = Dock->Name();
      }
    } else {
      continue;  // inside some other window: not ours to place
    }
    const std::string LastDock = W->LastDockComponent() ? W->LastDockComponent()->Name() : std::string();
    const std::string& Sec = C->Name();
    WriteIntProc(Sec, kRev, kRevision, Store);
    WriteIntProc(Sec, "Visible", W->PositionVisible() ? 1 : 0, Store);
    WriteStringProc(Sec, "DockedTo", DockedTo, Store);
    WriteStringProc(Sec, "LastDock", LastDock, Store);
    WriteIntProc(Sec, "DockRow", W->StoredDockRow(), Store);
    WriteIntProc(Sec, "DockPos", W->StoredDockPos(), Store);
    WriteIntProc(Sec, "FloatLeft", W->FloatingPosition().X, Store);
    WriteIntProc(Sec, "FloatTop", W->FloatingPosition().Y, Store);
    W->SaveExtraPosition(Data);
  }
  if (Unnamed) ReportProblem(kTBPositionNoDockName);
}

namespace {

struct TRegStore {
  HKEY Root;
  std::string Path;
};

std::string RegRead(const TRegStore& S, const std::string& Section, const std::string& Value, bool& Present) {
  TRegistry R;
  R.SetAccess(KEY_QUERY_VALUE);
  R.SetRootKey(S.Root);
  Present = false;
  if (!R.OpenKeyReadOnly(S.Path + "\\" + Section) || !R.ValueExists(Value)) return {};
  Present = true;
  return R.ReadString(Value);  // a value of another kind raises the read error
}

void RegWrite(const TRegStore& S, const std::string& Section, const std::string& Value, const std::string& Data) {
  TRegistry R;
  R.SetRootKey(S.Root);
  if (!R.OpenKey(S.Path + "\\" + Section, true)) throw ERegistryException("Failed to create key " + Section);
  R.WriteString(Value, Data);
  R.CloseKey();
}

}  // namespace

void LoadToolbarPositionsFromRegistry(TComponent* Form, HKEY RootKey, const std::string& BaseRegistryKey) {
  TRegistry R;
  R.SetAccess(KEY_QUERY_VALUE);
  R.SetRootKey(RootKey);
  if (!R.OpenKeyReadOnly(BaseRegistryKey)) return;
  R.CloseKey();
  TRegStore S{RootKey, BaseRegistryKey};
  LoadDockablePositions(
      Form,
      [](const std::string& Sec, const std::string& V, int Def, void* St) {
        bool Present = false;
        const std::string T = RegRead(*static_cast<TRegStore*>(St), Sec, V, Present);
        return TBParseStoredInteger(T, Present, Def);
      },
      [](const std::string& Sec, const std::string& V, const std::string& Def, void* St) {
        bool Present = false;
        const std::string T = RegRead(*static_cast<TRegStore*>(St), Sec, V, Present);
        return Present ? T : Def;
      },
      &S);
}

void SaveToolbarPositionsToRegistry(TComponent* Form, HKEY RootKey, const std::string& BaseRegistryKey) {
  {
    TRegistry R;
    R.SetRootKey(RootKey);
    if (!R.OpenKey(BaseRegistryKey, true)) throw ERegistryException("Failed to create key " + BaseRegistryKey);
    R.CloseKey();
  }
  TRegStore S{RootKey, BaseRegistryKey};
  SaveDockablePositions(
      Form,
      [](const std::string& Sec, const std::string& V, int Data, void* St) {
        RegWrite(*static_cast<TRegStore*>(St), Sec, V, std::to_string(Data));
      },
      [](const std::string& Sec, const std::string& V, const std::string& Data, void* St) {
        RegWrite(*static_cast<TRegStore*>(St), Sec, V, Data);
      },
      &S);
}
