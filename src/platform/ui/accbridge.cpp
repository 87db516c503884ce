#include "platform/ui/accbridge.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleInterface>
#include <QPointer>
#include <QWidget>
#include <QWindow>

#include <map>
#include <utility>
#include <vector>

#include "platform/ui/qt_ui.h"

namespace {

std::vector<TAccessibleProvider>& Providers() {
  static std::vector<TAccessibleProvider> P;
  return P;
}

TAccessibleEventHook& EventHook() {
  static TAccessibleEventHook H;
  return H;
}

TWinControl* ControlOf(QObject* O) {
  if (!O || !O->isWidgetType()) return nullptr;
  auto* W = static_cast<QWidget*>(O);
  QVariant V = W->property("zvControl");
  if (!V.isValid()) return nullptr;
  auto* C = static_cast<TWinControl*>(V.value<void*>());
  return C && C->HandleAllocated() && C->Impl()->Widget == W ? C : nullptr;
}

QWidget* WidgetOf(TWinControl* C) { return C && C->HandleAllocated() ? C->Impl()->Widget.data() : nullptr; }

std::shared_ptr<TAccessibleObject> ObjectOfWindow(TWinControl* C) {
  for (auto& P : Providers())
    if (auto O = P(C)) return O;
  return nullptr;
}

QAccessible::State StateOf(uint32_t S) {
  QAccessible::State R;
  R.disabled = (S & 0x1) != 0;
  R.focused = (S & 0x4) != 0;
  R.pressed = (S & 0x8) != 0;
  R.checked = (S & 0x10) != 0;
  R.checkable = R.checked;
  R.hotTracked = (S & 0x80) != 0;
  R.invisible = (S & 0x8000) != 0;
  R.focusable = (S & 0x100000) != 0;
  R.hasPopup = (S & 0x40000000) != 0;
  return R;
}

class TRootIface;

// One object of a component, inside the window whose object is Root.
class TObjectIface : public QAccessibleInterface, public QAccessibleActionInterface {
public:
  TObjectIface(std::shared_ptr<TAccessibleObject> O, TRootIface* R) : Obj(std::move(O)), Root(R) {}

  bool isValid() const override;
  QObject* object() const override { return nullptr; }
  QWindow* window() const override;
  QAccessibleInterface* focusChild() const override { return Resolve(Obj->Focus()); }
  QAccessibleInterface* childAt(int X, int Y) const override {
    if (!isValid()) return nullptr;
    TAccessibleRef R = Obj->HitTest(TPoint(X, Y));
    if (R.Empty() || (R.Object && R.Object->Identity() == Obj->Identity())) return nullptr;
    QAccessibleInterface* I = Resolve(R);
    return I == this ? nullptr : I;  // the object itself, standing for its window
  }
  QAccessibleInterface* parent() const override { return isValid() ? Resolve(Obj->Parent()) : nullptr; }
  QAccessibleInterface* child(int Index) const override {
    return isValid() && Index >= 0 ? Resolve(Obj->Child(Index + 1)) : nullptr;
  }
  int childCount() const override { return isValid() ? Obj->ChildCount() : 0; }
  int indexOfChild(const QAccessibleInterface* C) const override {
    const int N = childCount();
    for (int I = 0; I < N; ++I)
      if (child(I) == C) return I;
    return -1;
  }
  QString text(QAccessible::Text T) const override {
    if (!isValid()) return {};
    if (T == QAccessible::Name) return ToQString(Obj->Name());
    if (T == QAccessible::Accelerator) return ToQString(Obj->KeyboardShortcut());
    if (T == QAccessible::Value) return ToQString(Obj->Value());
    return {};
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override {
    if (!isValid()) return {};
    const TRect R = Obj->Location();
    return QRect(R.Left, R.Top, R.Width(), R.Height());
  }
  QAccessible::Role role() const override {
    return isValid() ? static_cast<QAccessible::Role>(Obj->Role()) : QAccessible::NoRole;
  }
  QAccessible::State state() const override {
    if (!isValid()) {
      QAccessible::State S;
      S.invalid = true;
      return S;
    }
    return StateOf(Obj->State());
  }
  void* interface_cast(QAccessible::InterfaceType T) override {
    return T == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
  }
  QStringList actionNames() const override {
    if (!isValid()) return {};
    const std::string A = Obj->DefaultAction();
    return A.empty() ? QStringList() : QStringList{ToQString(A)};
  }
  void doAction(const QString& Name) override {
    if (isValid() && actionNames().contains(Name)) Obj->DoDefaultAction();
  }
  QStringList keyBindingsForAction(const QString&) const override {
    if (!isValid()) return {};
    const std::string K = Obj->KeyboardShortcut();
    return K.empty() ? QStringList() : QStringList{ToQString(K)};
  }

  QAccessibleInterface* Resolve(const TAccessibleRef& R) const;

  std::shared_ptr<TAccessibleObject> Obj;
  TRootIface* Root;
};

// The object of a window: the cache of the accessibility service owns it
// (it goes with the widget); it owns the interfaces of its children.
class TRootIface : public TObjectIface {
public:
  TRootIface(std::shared_ptr<TAccessibleObject> O, QWidget* W) : TObjectIface(std::move(O), this), Widget(W) {}
  ~TRootIface() override {
    for (auto& [Id, Iface] : Children) QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(Iface));
  }
  bool isValid() const override { return Widget && Obj->Valid(); }
  QObject* object() const override { return Widget.data(); }
  QAccessibleInterface* parent() const override {
    if (!isValid()) return nullptr;
    const TAccessibleRef R = Obj->Parent();
    // Standing for its own window: the parent is the window's parent.
    if (R.Window && WidgetOf(R.Window) == Widget.data()) {
      QWidget* P = Widget->parentWidget();
      return QAccessible::queryAccessibleInterface(P ? static_cast<QObject*>(P) : qApp);
    }
    return Resolve(R);
  }

  QAccessibleInterface* ChildIface(const std::shared_ptr<TAccessibleObject>& O) {
    auto It = Children.find(O->Identity());
    if (It != Children.end()) return It->second;
    auto* I = new TObjectIface(O, this);
    QAccessible::registerAccessibleInterface(I);
    Children.emplace(O->Identity(), I);
    return I;
  }

  QPointer<QWidget> Widget;
  std::map<const void*, TObjectIface*> Children;
};

bool TObjectIface::isValid() const { return Root->Widget && Obj->Valid(); }

QWindow* TObjectIface::window() const {
  QWidget* W = Root->Widget.data();
  return W && W->window() ? W->window()->windowHandle() : nullptr;
}

QAccessibleInterface* TObjectIface::Resolve(const TAccessibleRef& R) const {
  if (R.Window) {
    QWidget* W = WidgetOf(R.Window);
    return W ? QAccessible::queryAccessibleInterface(W) : nullptr;
  }
  if (!R.Object) return nullptr;
  if (R.Object->Identity() == Root->Obj->Identity()) return Root;
  return Root->ChildIface(R.Object);
}

QAccessibleInterface* Factory(const QString&, QObject* O) {
  TWinControl* C = ControlOf(O);
  if (!C) return nullptr;
  auto Obj = ObjectOfWindow(C);
  return Obj ? new TRootIface(std::move(Obj), static_cast<QWidget*>(O)) : nullptr;
}

QAccessibleInterface* IfaceOf(TWinControl* Window, int Child) {
  QWidget* W = WidgetOf(Window);
  if (!W) return nullptr;
  QAccessibleInterface* I = QAccessible::queryAccessibleInterface(W);
  if (I && Child > 0) I = I->child(Child - 1);
  return I;
}

}  // namespace

void AddAccessibleProvider(TAccessibleProvider Provider) {
  if (Providers().empty()) QAccessible::installFactory(Factory);
  Providers().push_back(std::move(Provider));
}

TAccessibleEventHook SetAccessibleEventHook(TAccessibleEventHook Hook) { return std::exchange(EventHook(), std::move(Hook)); }

void NotifyAccessibleEvent(TAccessibleEvent Event, TWinControl* Window, int Child) {
  if (EventHook()) EventHook()(Event, Window, Child);
  QWidget* W = WidgetOf(Window);
  if (!W) return;
  QAccessible::Event T = QAccessible::Focus;
  switch (Event) {
    case aeFocus: T = QAccessible::Focus; break;
    case aeMenuStart: T = QAccessible::MenuStart; break;
    case aeMenuEnd: T = QAccessible::MenuEnd; break;
    case aePopupStart: T = QAccessible::PopupMenuStart; break;
    case aePopupEnd: T = QAccessible::PopupMenuEnd; break;
  }
  QAccessibleEvent E(W, T);
  if (Child > 0) E.setChild(Child - 1);
  QAccessible::updateAccessibility(&E);
}

bool QueryAccessibleInfo(TWinControl* Window, int Child, TAccessibleInfo& Info) {
  Info = TAccessibleInfo();
  QAccessibleInterface* I = IfaceOf(Window, Child);
  if (!I) return false;
  Info.Valid = I->isValid();
  if (!Info.Valid) return true;
  Info.Role = static_cast<int>(I->role());
  Info.Name = FromQString(I->text(QAccessible::Name));
  Info.Shortcut = FromQString(I->text(QAccessible::Accelerator));
  Info.Value = FromQString(I->text(QAccessible::Value));
  if (QAccessibleActionInterface* A = I->actionInterface()) {
    const QStringList N = A->actionNames();
    if (!N.isEmpty()) Info.Action = FromQString(N.front());
  }
  Info.ChildCount = I->childCount();
  const QAccessible::State S = I->state();
  Info.Unavailable = S.disabled;
  Info.Focused = S.focused;
  Info.HasPopup = S.hasPopup;
  Info.Checked = S.checked;
  Info.Invisible = S.invisible;
  const QRect R = I->rect();
  Info.Location = TRect(R.x(), R.y(), R.x() + R.width(), R.y() + R.height());
  return true;
}

bool DoAccessibleAction(TWinControl* Window, int Child) {
  QAccessibleInterface* I = IfaceOf(Window, Child);
  QAccessibleActionInterface* A = I && I->isValid() ? I->actionInterface() : nullptr;
  if (!A || A->actionNames().isEmpty()) return false;
  A->doAction(A->actionNames().front());
  return true;
}

int AccessibleChildAt(TWinControl* Window, TPoint Screen) {
  QAccessibleInterface* I = IfaceOf(Window, 0);
  if (!I || !I->isValid()) return -1;
  if (QAccessibleInterface* C = I->childAt(Screen.X, Screen.Y)) {
    const int K = I->indexOfChild(C);
    return K >= 0 ? K + 1 : -1;
  }
  return I->rect().contains(Screen.X, Screen.Y) ? 0 : -1;
}
