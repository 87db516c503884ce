#include "platform/ui/dragdrop.h"

#include <QByteArray>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>

#include <charconv>
#include <map>
#include <string_view>

#include "platform/ui/qt_ui.h"

namespace {

constexpr const char* kText = "text/plain";
constexpr const char* kRich = "text/rtf";
constexpr const char* kColumn = "application/x-zelvora-grid-column";
constexpr const char* kUris = "text/uri-list";

// Filters the drag events of one window into its drop target.
class TDropFilter : public QObject {
public:
  TDropFilter(TWinControl* Control, TDropTarget* Target) : FControl(Control), FTarget(Target) {}
  bool eventFilter(QObject* watched, QEvent* event) override;
  TDropTarget* FTarget;

private:
  TWinControl* FControl;
  TDragPayload FData;
};

TShiftState KeysOf(Qt::KeyboardModifiers m, Qt::MouseButtons b) {
  TShiftState s;
  if (m & Qt::ShiftModifier) s.Include(ssShift);
  if (m & Qt::ControlModifier) s.Include(ssCtrl);
  if (m & Qt::AltModifier) s.Include(ssAlt);
  if (b & Qt::LeftButton) s.Include(ssLeft);
  if (b & Qt::RightButton) s.Include(ssRight);
  return s;
}

int EffectsOf(Qt::DropActions a) {
  int e = 0;
  if (a & Qt::CopyAction) e |= DROPEFFECT_COPY;
  if (a & Qt::MoveAction) e |= DROPEFFECT_MOVE;
  if (a & Qt::LinkAction) e |= DROPEFFECT_LINK;
  return e;
}

Qt::DropAction ActionOf(int Effect) {
  if (Effect & DROPEFFECT_MOVE) return Qt::MoveAction;
  if (Effect & DROPEFFECT_COPY) return Qt::CopyAction;
  if (Effect & DROPEFFECT_LINK) return Qt::LinkAction;
  return Qt::IgnoreAction;
}

TMimeParts PartsOf(const QMimeData* m) {
  TMimeParts parts;
  if (!m) return parts;
  for (const QString& f : m->formats()) {
    const QByteArray b = m->data(f);
    parts.emplace_back(f.toStdString(), std::string(b.constData(), static_cast<size_t>(b.size())));
  }
  return parts;
}

std::map<TWinControl*, TDropFilter*>& Filters() {
  static std::map<TWinControl*, TDropFilter*> m;
  return m;
}

bool TDropFilter::eventFilter(QObject* watched, QEvent* event) {
  (void)watched;
  switch (event->type()) {
    case QEvent::DragEnter: {
      auto* e = static_cast<QDragEnterEvent*>(event);
      FData = DecodeDragPayload(PartsOf(e->mimeData()));
      const QPoint g = e->position().toPoint();
      const TPoint p = FControl->ClientToScreen(TPoint{g.x(), g.y()});
      int effect = DROPEFFECT_NONE;
      GuardEvent(FControl, [&] {
        effect = FTarget->DragEnter(FData, p, KeysOf(e->modifiers(), e->buttons()), EffectsOf(e->possibleActions()));
      });
      if (effect == DROPEFFECT_NONE) {
        e->ignore();
      } else {
        e->setDropAction(ActionOf(effect));
        e->accept();
      }
      return true;
    }
    case QEvent::DragMove: {
      auto* e = static_cast<QDragMoveEvent*>(event);
      const QPoint g = e->position().toPoint();
      const TPoint p = FControl->ClientToScreen(TPoint{g.x(), g.y()});
      int effect = DROPEFFECT_NONE;
      GuardEvent(FControl, [&] {
        effect = FTarget->DragOver(p, KeysOf(e->modifiers(), e->buttons()), EffectsOf(e->possibleActions()));
      });
      if (effect == DROPEFFECT_NONE) {
        e->ignore();
      } else {
        e->setDropAction(ActionOf(effect));
        e->accept();
      }
      return true;
    }
    case QEvent::DragLeave:
      GuardEvent(FControl, [&] { FTarget->DragLeave(); });
      return true;
    case QEvent::Drop: {
      auto* e = static_cast<QDropEvent*>(event);
      const TDragPayload data = DecodeDragPayload(PartsOf(e->mimeData()));
      const QPoint g = e->position().toPoint();
      const TPoint p = FControl->ClientToScreen(TPoint{g.x(), g.y()});
      int effect = DROPEFFECT_NONE;
      GuardEvent(FControl, [&] {
        effect = FTarget->Drop(data, p, KeysOf(e->modifiers(), e->buttons()), EffectsOf(e->possibleActions()));
      });
      if (effect == DROPEFFECT_NONE) {
        e->ignore();
      } else {
        e->setDropAction(ActionOf(effect));
        e->accept();
      }
      return true;
    }
    default: return false;
  }
}

bool IsHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
int HexValue(char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; }

}  // namespace

std::string FileNameToUri(const std::string& FileName) {
  if (FileName.empty() || FileName[0] != '/') return "";
  static const char* hex = "0123456789ABCDEF";
  std::string r = "file://";
  for (unsigned char c : FileName) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       std::string_view("-._~/").find(static_cast<char>(c)) != std::string_view::npos;
    if (plain) {
      r += static_cast<char>(c);
    } else {
      r += '%';
      r += hex[c >> 4];
      r += hex[c & 15];
    }
  }
  return r;
}

std::string UriToFileName(const std::string& Uri) {
  std::string_view u(Uri);
  constexpr std::string_view scheme = "file://";
  if (u.size() < scheme.size()) return "";
  for (size_t i = 0; i < scheme.size(); ++i)
    if ((u[i] | (i < 4 ? 0x20 : 0)) != scheme[i]) return "";
  u.remove_prefix(scheme.size());
  // An empty host or localhost only: files of other machines are no local files.
  if (u.substr(0, 9) == "localhost") u.remove_prefix(9);
  if (u.empty() || u[0] != '/') return "";
  std::string r;
  for (size_t i = 0; i < u.size(); ++i) {
    if (u[i] == '%') {
      if (i + 2 >= u.size() || !IsHex(u[i + 1]) || !IsHex(u[i + 2])) return "";
      const char c = static_cast<char>(HexValue(u[i + 1]) * 16 + HexValue(u[i + 2]));
      if (c == '\0') return "";
      r += c;
      i += 2;
    } else if (u[i] == '?' || u[i] == '#') {
      break;
    } else {
      r += u[i];
    }
  }
  return r;
}

TMimeParts EncodeDragPayload(const TDragPayload& Data) {
  TMimeParts parts;
  if (Data.Text) parts.emplace_back(kText, *Data.Text);
  if (Data.RichText) parts.emplace_back(kRich, *Data.RichText);
  if (Data.GridColumn) parts.emplace_back(kColumn, std::to_string(*Data.GridColumn));
  if (!Data.Files.empty()) {
    std::string list;
    for (const std::string& f : Data.Files) {
      const std::string uri = FileNameToUri(f);
      if (!uri.empty()) list += uri + "\r\n";
    }
    if (!list.empty()) parts.emplace_back(kUris, list);
  }
  return parts;
}

TDragPayload DecodeDragPayload(const TMimeParts& Parts) {
  TDragPayload d;
  for (const auto& [type, bytes] : Parts) {
    if (type == kText || type == "text/plain;charset=utf-8") {
      if (!d.Text) d.Text = bytes;
    } else if (type == kRich || type == "application/rtf") {
      if (!d.RichText) d.RichText = bytes;
    } else if (type == kColumn) {
      int v = 0;
      const char* end = bytes.data() + bytes.size();
      auto [p, ec] = std::from_chars(bytes.data(), end, v);
      if (ec == std::errc() && p == end) d.GridColumn = v;
    } else if (type == kUris) {
      size_t start = 0;
      while (start < bytes.size()) {
        size_t nl = bytes.find('\n', start);
        if (nl == std::string::npos) nl = bytes.size();
        std::string line = bytes.substr(start, nl - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        start = nl + 1;
        if (line.empty() || line[0] == '#') continue;
        const std::string f = UriToFileName(line);
        if (!f.empty()) d.Files.push_back(f);
      }
    }
  }
  return d;
}

int DropEffectFromKeys(TShiftState Keys, int Effects) {
  if (Keys.Contains(ssCtrl)) return DROPEFFECT_COPY;
  return (Effects & DROPEFFECT_MOVE) ? DROPEFFECT_MOVE : DROPEFFECT_COPY;
}

bool RegisterDragDrop(TWinControl* Control, TDropTarget* Target) {
  if (!Control || !Target) return false;
  Control->HandleNeeded();
  TWinControlImpl* impl = Control->Impl();
  if (!impl || !impl->Widget) return false;
  auto& m = Filters();
  auto it = m.find(Control);
  if (it != m.end()) {
    it->second->FTarget = Target;
    return true;
  }
  auto* f = new TDropFilter(Control, Target);
  f->setParent(impl->Widget);  // goes with the window
  impl->Widget->installEventFilter(f);
  impl->Widget->setAcceptDrops(true);
  m[Control] = f;
  QObject::connect(f, &QObject::destroyed, [Control] { Filters().erase(Control); });
  return true;
}

void RevokeDragDrop(TWinControl* Control) {
  auto& m = Filters();
  auto it = m.find(Control);
  if (it == m.end()) return;
  TDropFilter* f = it->second;
  m.erase(it);
  if (QWidget* w = qobject_cast<QWidget*>(f->parent())) w->setAcceptDrops(false);
  delete f;
}

bool IsDropTarget(TWinControl* Control) { return Filters().count(Control) != 0; }

namespace {
TDragLoopHandler& DragLoopHandler() {
  static TDragLoopHandler h;
  return h;
}
}  // namespace

TDragLoopHandler SetDragLoopHandler(TDragLoopHandler Handler) {
  TDragLoopHandler previous = std::move(DragLoopHandler());
  DragLoopHandler() = std::move(Handler);
  return previous;
}

int DoDragDrop(TWinControl* Source, const TDragPayload& Data, int AllowedEffects) {
  if (!Source || Data.Empty()) return DROPEFFECT_NONE;
  if (DragLoopHandler()) return DragLoopHandler()(Source, Data, AllowedEffects);
  Source->HandleNeeded();
  TWinControlImpl* impl = Source->Impl();
  if (!impl || !impl->Widget) return DROPEFFECT_NONE;
  auto* mime = new QMimeData;
  for (const auto& [type, bytes] : EncodeDragPayload(Data))
    mime->setData(QString::fromStdString(type), QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
  QDrag drag(impl->Widget);
  drag.setMimeData(mime);
  Qt::DropActions actions;
  if (AllowedEffects & DROPEFFECT_COPY) actions |= Qt::CopyAction;
  if (AllowedEffects & DROPEFFECT_MOVE) actions |= Qt::MoveAction;
  if (AllowedEffects & DROPEFFECT_LINK) actions |= Qt::LinkAction;
  return EffectsOf(drag.exec(actions));
}
