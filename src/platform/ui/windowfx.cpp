#include "platform/ui/windowfx.h"

#include <QFileIconProvider>
#include <QFileInfo>
#include <QIcon>
#include <QMimeDatabase>
#include <QGuiApplication>
#include <QPainter>
#include <QtGui/qguiapplication_platform.h>

#include <dlfcn.h>

#include <atomic>
#include <string>

#include "platform/ui/qt_ui.h"

namespace {

std::atomic<bool> GLayeredAvailable{true};

QWidget* WidgetOf(HWND Window) {
  TWinControl* c = FindControl(Window);
  return c ? c->Impl()->Widget.data() : nullptr;
}

}  // namespace

bool SetLayeredWindowAttributes(HWND Window, TColor ColorKey, uint8_t Alpha, unsigned Flags) {
  (void)ColorKey;
  QWidget* w = WidgetOf(Window);
  if (!w) return false;
  if (Flags & LWA_ALPHA) w->setWindowOpacity(Alpha / 255.0);
  w->setProperty("zvOpacity", static_cast<int>((Flags & LWA_ALPHA) ? Alpha : 255));
  return true;
}

bool UpdateLayeredWindow(HWND Window, TCanvas* DestDC, const TPoint* Position, const TSize* Size,
                         TCanvas* SourceDC, const TPoint* SourcePosition, TColor ColorKey,
                         const TBlendFunction* Blend, unsigned Flags) {
  (void)DestDC, (void)SourceDC, (void)SourcePosition, (void)ColorKey;
  TWinControl* c = FindControl(Window);
  QWidget* w = c ? c->Impl()->Widget.data() : nullptr;
  if (!w) return false;
  if (Position || Size)
    c->SetBounds(Position ? Position->X : c->Left(), Position ? Position->Y : c->Top(),
                 Size ? Size->cx : c->Width(), Size ? Size->cy : c->Height());
  if ((Flags & ULW_ALPHA) && Blend) {
    w->setWindowOpacity(Blend->SourceConstantAlpha / 255.0);
    w->setProperty("zvOpacity", static_cast<int>(Blend->SourceConstantAlpha));
  }
  return true;
}

uint8_t WindowOpacity(HWND Window) {
  QWidget* w = WidgetOf(Window);
  if (!w) return 255;
  QVariant v = w->property("zvOpacity");
  return v.isValid() ? static_cast<uint8_t>(v.toInt()) : 255;
}

namespace {

// An X display composes translucent windows only while a compositing manager
// owns the _NET_WM_CM_Sn selection. Xlib is there whenever Qt's X platform
// is loaded; it is looked up rather than linked.
bool XCompositingManagerRuns() {
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  void* display = x11 ? static_cast<void*>(x11->display()) : nullptr;
  if (!display) return false;
  using TInternAtom = unsigned long (*)(void*, const char*, int);
  using TGetSelectionOwner = unsigned long (*)(void*, unsigned long);
  using TDefaultScreen = int (*)(void*);
  auto internAtom = reinterpret_cast<TInternAtom>(dlsym(RTLD_DEFAULT, "XInternAtom"));
  auto owner = reinterpret_cast<TGetSelectionOwner>(dlsym(RTLD_DEFAULT, "XGetSelectionOwner"));
  auto screen = reinterpret_cast<TDefaultScreen>(dlsym(RTLD_DEFAULT, "XDefaultScreen"));
  if (!internAtom || !owner || !screen) return false;
  const std::string name = "_NET_WM_CM_S" + std::to_string(screen(display));
  unsigned long atom = internAtom(display, name.c_str(), 0);
  return atom != 0 && owner(display, atom) != 0;
}

// A child widget over the whole window that shows the cover picture.
class TCoverWidget : public QWidget {
public:
  explicit TCoverWidget(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setObjectName(QStringLiteral("zvCover"));
  }
  QImage Image;
  QPoint Offset;

protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    p.drawImage(Offset, Image);
  }
};

}  // namespace

bool TranslucentWindowsWork() {
  if (!GLayeredAvailable.load()) return false;
  if (!QGuiApplication::instance()) return false;
  const QString platform = QGuiApplication::platformName();
  if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal")) return true;
  if (platform == QLatin1String("xcb")) return XCompositingManagerRuns();
  // Wayland composes every window.
  return platform.startsWith(QLatin1String("wayland"));
}

void SetWindowCoverImage(HWND Window, const TBitmap* Image, TPoint Offset) {
  QWidget* w = WidgetOf(Window);
  if (!w) return;
  auto* cover = w->findChild<TCoverWidget*>(QStringLiteral("zvCover"), Qt::FindDirectChildrenOnly);
  if (!Image) {
    delete cover;
    return;
  }
  if (!cover) cover = new TCoverWidget(w);
  cover->Image = GfxBitmapImage(const_cast<TBitmap*>(Image)).copy();
  cover->Offset = QPoint(Offset.X, Offset.Y);
  cover->setGeometry(0, 0, w->width(), w->height());
  cover->raise();
  cover->show();
  cover->update();
}

void* GetUserProcAddress(const std::string& Name) {
  if (!GLayeredAvailable.load()) return nullptr;
  if (Name == "UpdateLayeredWindow") {
    if (!TranslucentWindowsWork()) return nullptr;
    TUpdateLayeredWindowProc p = &UpdateLayeredWindow;
    return reinterpret_cast<void*>(p);
  }
  if (Name == "SetLayeredWindowAttributes") {
    TSetLayeredWindowAttributesProc p = &SetLayeredWindowAttributes;
    return reinterpret_cast<void*>(p);
  }
  return nullptr;
}

void SetLayeredWindowFunctionsAvailable(bool Available) { GLayeredAvailable.store(Available); }

int ShellIconSize(bool Small) { return Small ? 16 : 32; }

std::unique_ptr<TBitmap> ShellFileIcon(const std::string& FileName, bool Small) {
  EnsureQtApplication();
  const int size = ShellIconSize(Small);
  const QString name = ToQString(FileName);
  QFileInfo fi(name);
  QIcon icon;
  if (fi.exists()) {
    QFileIconProvider provider;
    icon = provider.icon(fi);
  } else {
    QMimeDatabase db;
    const QMimeType mt = db.mimeTypeForFile(name, QMimeDatabase::MatchExtension);
    icon = QIcon::fromTheme(mt.iconName(), QIcon::fromTheme(mt.genericIconName()));
  }
  QImage img(size, size, QImage::Format_ARGB32);
  img.fill(Qt::transparent);
  QPixmap pm = icon.isNull() ? QPixmap() : icon.pixmap(size, size);
  if (!pm.isNull()) {
    QPainter p(&img);
    p.drawPixmap(QRect(0, 0, size, size), pm);
  } else {
    // No icon theme: a plain sheet of paper with a folded corner, or a folder.
    QPainter p(&img);
    p.setPen(QColor(0x60, 0x60, 0x60));
    if (fi.isDir()) {
      p.setBrush(QColor(0xF0, 0xD0, 0x70));
      p.drawRect(1, size / 4, size - 3, size * 3 / 4 - 2);
    } else {
      p.setBrush(Qt::white);
      const int f = size / 4;
      QPolygon sheet;
      sheet << QPoint(size / 8, 0) << QPoint(size - 1 - size / 8 - f, 0) << QPoint(size - 1 - size / 8, f)
            << QPoint(size - 1 - size / 8, size - 1) << QPoint(size / 8, size - 1);
      p.drawPolygon(sheet);
    }
  }
  auto bmp = std::make_unique<TBitmap>();
  GfxSetBitmapImage(bmp.get(), img);
  return bmp;
}
