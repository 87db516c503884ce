#include "platform/ui/threads.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

namespace {

struct TSyncCall {
  std::function<void()> Call;
  bool Started = false;
  bool Dropped = false;
  TEvent Done{true, false};
};

struct TSyncQueue {
  std::mutex Lock;
  std::condition_variable Arrived;
  std::deque<std::shared_ptr<TSyncCall>> Calls;
};

TSyncQueue& Queue() {
  static TSyncQueue* q = new TSyncQueue();  // outlives threads still ending at exit
  return *q;
}

}  // namespace

bool IsGuiThread() {
  QCoreApplication* app = QCoreApplication::instance();
  // Before the application exists only the starting thread makes windows.
  static const std::thread::id first = std::this_thread::get_id();
  return app ? QThread::currentThread() == app->thread() : std::this_thread::get_id() == first;
}

bool Synchronize(const std::function<void()>& f, TEvent* abort) {
  if (IsGuiThread()) {
    f();
    return true;
  }
  auto call = std::make_shared<TSyncCall>();
  call->Call = f;
  TSyncQueue& q = Queue();
  {
    std::lock_guard<std::mutex> lock(q.Lock);
    q.Calls.push_back(call);
  }
  q.Arrived.notify_all();
  if (QCoreApplication* app = QCoreApplication::instance())
    QMetaObject::invokeMethod(app, [] { CheckSynchronize(0); }, Qt::QueuedConnection);

  std::vector<int> handles{call->Done.Handle()};
  if (abort) handles.push_back(abort->Handle());
  for (;;) {
    const DWORD r = WaitForMultipleObjects(handles, INFINITE);
    if (r == WAIT_OBJECT_0) return true;
    std::lock_guard<std::mutex> lock(q.Lock);
    if (!call->Started) {
      call->Dropped = true;
      return false;
    }
    // Already running on the GUI thread: it finishes first.
    handles.resize(1);
  }
}

bool CheckSynchronize(unsigned timeoutMs) {
  TSyncQueue& q = Queue();
  bool ran = false;
  std::unique_lock<std::mutex> lock(q.Lock);
  if (q.Calls.empty() && timeoutMs > 0)
    q.Arrived.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return !q.Calls.empty(); });
  while (!q.Calls.empty()) {
    std::shared_ptr<TSyncCall> call = q.Calls.front();
    q.Calls.pop_front();
    if (call->Dropped) continue;
    call->Started = true;
    lock.unlock();
    try {
      call->Call();
    } catch (...) {
      call->Done.SetEvent();
      throw;
    }
    call->Done.SetEvent();
    ran = true;
    lock.lock();
  }
  return ran;
}
