#include "platform/ui/appkeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

#include <utility>
#include <vector>

#include "platform/ui/qt_ui.h"

namespace {

TWinControl* gTarget = nullptr;

TWinControl* ControlOfWidget(QWidget* w) {
  for (; w; w = w->parentWidget()) {
    QVariant v = w->property("zvControl");
    if (v.isValid()) {
      auto* c = static_cast<TWinControl*>(v.value<void*>());
      if (c && c->HandleAllocated() && c->Impl()->Widget == w) return c;
    }
  }
  return nullptr;
}

bool IsModifierKey(int Key) {
  return Key == Qt::Key_Shift || Key == Qt::Key_Control || Key == Qt::Key_Meta || Key == Qt::Key_Alt ||
         Key == Qt::Key_AltGr || Key == Qt::Key_Super_L || Key == Qt::Key_Super_R;
}

// The character typed with Alt: the key event's text, else the letter or
// digit of the key (window systems that give no text while Alt is down).
char AltCharacter(const QKeyEvent* K) {
  const std::string T = FromQString(K->text());
  if (T.size() == 1 && static_cast<unsigned char>(T[0]) >= 0x20 && static_cast<unsigned char>(T[0]) < 0x7F) return T[0];
  const int Key = K->key();
  if (Key >= Qt::Key_A && Key <= Qt::Key_Z) return static_cast<char>('a' + (Key - Qt::Key_A));
  if (Key >= Qt::Key_0 && Key <= Qt::Key_9) return static_cast<char>('0' + (Key - Qt::Key_0));
  if (Key == Qt::Key_Space) return ' ';
  if (Key == Qt::Key_Minus) return '-';
  return 0;
}

class TAppKeyFilter : public QObject {
public:
  std::vector<std::pair<uintptr_t, TAppKeyProc>> Procs;
  uintptr_t NextId = 1;
  bool AltAlone = false;
  int TakenByOverride = 0;  // a key taken at shortcut-override time: its press is dropped
  const QEvent* LastEvent = nullptr;
  QEvent::Type LastType = QEvent::None;
  QPointer<QWidget> LastReceiver;

  bool Offer(TMessage& M, TWinControl* Target) {
    TWinControl* Old = std::exchange(gTarget, Target);
    struct TRestore {
      TWinControl* Old;
      ~TRestore() { gTarget = Old; }
    } Restore{Old};
    // A procedure may add or remove procedures while it runs.
    const auto Copy = Procs;
    for (auto It = Copy.rbegin(); It != Copy.rend(); ++It) {
      bool Listed = false;
      for (auto& P : Procs) Listed = Listed || P.first == It->first;
      if (!Listed) continue;
      bool Taken = false;
      GuardEvent(Target, [&] { Taken = It->second(M); });
      if (Taken) return true;
    }
    return false;
  }

  bool OfferKey(const QKeyEvent* K, TWinControl* Target) {
    const uint16_t Vk = QtKeyToVK(K->key());
    const TShiftState Shift = QtModifiersToShift(K->modifiers(), Qt::NoButton);
    if (Vk != 0) {
      TMessage M;
      M.Msg = CM_APPKEYDOWN;
      M.WParam = Vk;
      M.LParam = static_cast<LPARAM>((static_cast<uint64_t>(Shift.Bits()) << 32) | 1);
      if (Offer(M, Target)) return true;
    }
    if ((K->modifiers() & Qt::AltModifier) && !(K->modifiers() & Qt::ControlModifier)) {
      if (const char C = AltCharacter(K)) {
        TMessage M;
        M.Msg = CM_APPSYSCOMMAND;
        M.WParam = SC_KEYMENU;
        M.LParam = static_cast<unsigned char>(C);
        if (Offer(M, Target)) return true;
      }
    }
    return false;
  }

  bool eventFilter(QObject* Obj, QEvent* E) override {
    const QEvent::Type T = E->type();
    if (T == QEvent::MouseButtonPress || T == QEvent::MouseButtonDblClick) {
      AltAlone = false;
      return false;
    }
    if (T != QEvent::KeyPress && T != QEvent::KeyRelease && T != QEvent::ShortcutOverride) return false;
    if (!Obj->isWidgetType()) return false;
    auto* W = static_cast<QWidget*>(Obj);
    // An event that a widget ignored travels on to its parents: it was
    // offered already.
    if (E == LastEvent && T == LastType && LastReceiver && LastReceiver != W && W->isAncestorOf(LastReceiver))
      return false;
    LastEvent = E;
    LastType = T;
    LastReceiver = W;
    auto* K = static_cast<QKeyEvent*>(E);
    TWinControl* Target = ControlOfWidget(W);
    if (T == QEvent::KeyRelease) {
      if (K->key() != Qt::Key_Alt || K->isAutoRepeat() || !std::exchange(AltAlone, false)) return false;
      TMessage M;
      M.Msg = CM_APPSYSCOMMAND;
      M.WParam = SC_KEYMENU;
      M.LParam = 0;
      return Offer(M, Target);
    }
    if (K->key() == Qt::Key_Alt) {
      if (T == QEvent::KeyPress && !K->isAutoRepeat()) AltAlone = true;
      return false;
    }
    if (T == QEvent::KeyPress) AltAlone = false;
    if (IsModifierKey(K->key())) return false;
    if (T == QEvent::ShortcutOverride) {
      if (!OfferKey(K, Target)) return false;
      TakenByOverride = K->key();
      E->accept();
      return true;
    }
    if (TakenByOverride != 0 && std::exchange(TakenByOverride, 0) == K->key()) return true;
    return OfferKey(K, Target);
  }
};

TAppKeyFilter*& Filter() {
  static TAppKeyFilter* F = nullptr;
  return F;
}

}  // namespace

uintptr_t AddAppKeyProc(TAppKeyProc Proc) {
  EnsureQtApplication();
  if (!Filter()) {
    Filter() = new TAppKeyFilter;
    qApp->installEventFilter(Filter());
  }
  const uintptr_t Id = Filter()->NextId++;
  Filter()->Procs.emplace_back(Id, std::move(Proc));
  return Id;
}

void RemoveAppKeyProc(uintptr_t Id) {
  TAppKeyFilter* F = Filter();
  if (!F) return;
  for (auto It = F->Procs.begin(); It != F->Procs.end(); ++It)
    if (It->first == Id) {
      F->Procs.erase(It);
      break;
    }
  if (F->Procs.empty()) {
    // The last procedure may be removing itself from inside the filter.
    if (qApp) {
      qApp->removeEventFilter(F);
      F->deleteLater();
    } else {
      delete F;
    }
    Filter() = nullptr;
  }
}

int AppKeyProcCount() { return Filter() ? static_cast<int>(Filter()->Procs.size()) : 0; }

TWinControl* AppKeyTarget() { return gTarget; }
