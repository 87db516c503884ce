#include "platform/ui/queuedcall.h"

#include <QCoreApplication>
#include <QMetaObject>

#include "platform/gfx/qt_private.h"
#include "platform/ui/qt_ui.h"

void QueueCall(std::function<void()> Call) {
  EnsureQtApplication();
  QMetaObject::invokeMethod(
      QCoreApplication::instance(), [c = std::move(Call)] { GuardEvent(nullptr, c); }, Qt::QueuedConnection);
}
