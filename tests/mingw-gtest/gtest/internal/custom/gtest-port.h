// GoogleTest's own port header asks for std::mutex and std::condition_variable to build its
// Notification, and mingw's win32 thread model has neither. This stands in front of the
// package's empty custom header in the cross builds and supplies a Notification of Win32 events.
#ifndef VUVEREZE_TESTS_MINGW_GTEST_CUSTOM_PORT_H_
#define VUVEREZE_TESTS_MINGW_GTEST_CUSTOM_PORT_H_

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing {
namespace internal {

class Notification {
  public:
    Notification();
    ~Notification();
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;

    void Notify();
    void WaitForNotification();

  private:
    void* m_event;  // a manual-reset event; windows.h stays out of every test
};

}  // namespace internal
}  // namespace testing

#endif  // VUVEREZE_TESTS_MINGW_GTEST_CUSTOM_PORT_H_
