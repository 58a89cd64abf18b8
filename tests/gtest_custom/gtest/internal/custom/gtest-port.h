// GoogleTest's hook for platform-specific code, taking the place of its empty default.
// MinGW-w64's win32-threads toolchain has no std::mutex or std::condition_variable, which
// GoogleTest's Notification is made of; this one is a Win32 event.
#ifndef HUEVANE_TESTS_GTEST_CUSTOM_GTEST_PORT_H_
#define HUEVANE_TESTS_GTEST_CUSTOM_GTEST_PORT_H_

#ifdef _WIN32
#include <windows.h>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing::internal {

class Notification {
public:
    Notification() : event_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    ~Notification() { CloseHandle(event_); }
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;

    void Notify() { SetEvent(event_); }
    void WaitForNotification() { WaitForSingleObject(event_, INFINITE); }

private:
    HANDLE event_;
};

}  // namespace testing::internal
#endif  // _WIN32

#endif  // HUEVANE_TESTS_GTEST_CUSTOM_GTEST_PORT_H_
