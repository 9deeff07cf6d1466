// GoogleTest's Notification, for the win32 thread model of our Windows
// builds. That model has no std::mutex or std::condition_variable, with which
// GoogleTest writes this one class; its other thread primitives are Win32
// ones already. Included ahead of every source that sees GoogleTest, with
// GTEST_HAS_NOTIFICATION_ set (see cmake/KestrinTesting.cmake).
#ifndef KESTRIN_TESTS_SUPPORT_GTESTNOTIFICATION_H
#define KESTRIN_TESTS_SUPPORT_GTESTNOTIFICATION_H

#include <windows.h>

namespace testing {
namespace internal {

// Lets threads that GoogleTest starts wait until their controller says go.
class Notification {
 public:
  Notification() : event(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
  ~Notification() { CloseHandle(event); }
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;

  void Notify() { SetEvent(event); }
  void WaitForNotification() { WaitForSingleObject(event, INFINITE); }

 private:
  HANDLE event;
};

}  // namespace internal
}  // namespace testing

#endif  // KESTRIN_TESTS_SUPPORT_GTESTNOTIFICATION_H
