// SingleInstanceGuard within one process and across two, and SimpleMutex.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "driver/SimpleMutex.h"
#include "driver/SingleInstanceGuard.h"
#include "tests/support/WinTestSupport.h"

namespace {

// Tells the second process which name to check; its test reads it.
const char kChildNameVariable[] = "KESTRIN_GUARD_TEST_NAME";
const char kChildTest[] = "GuardChild.DISABLED_ReportsFirstFlagAndRequestsPopup";

// A name no other test run uses.
std::string UniqueName(const char* tag) {
  static int counter = 0;
  char name[128];
  std::snprintf(name, sizeof name, "KestrinGuardTest_%s_%lu_%d", tag, GetCurrentProcessId(), ++counter);
  return name;
}

bool ObjectExists(const std::string& name) {
  HANDLE event = OpenEventA(SYNCHRONIZE, FALSE, name.c_str());
  if (event == nullptr)
    return false;
  CloseHandle(event);
  return true;
}

// Runs one of this program's child tests for `name` in a second process.
test::ProcessResult RunChild(const char* childTest, const std::string& name) {
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  SetEnvironmentVariableA(kChildNameVariable, name.c_str());
  const test::ProcessResult result = test::RunProcess(
      std::string("\"") + self + "\" --gtest_also_run_disabled_tests --gtest_filter=" + childTest);
  SetEnvironmentVariableA(kChildNameVariable, nullptr);
  EXPECT_TRUE(result.started);
  EXPECT_FALSE(result.timedOut);
  EXPECT_EQ(result.exitCode, 0u) << result.output;
  return result;
}

// Runs the guard's child test for `name`; returns its first flag, or -1
// when the child did not report one.
int FirstFlagInSecondProcess(const std::string& name) {
  const test::ProcessResult result = RunChild(kChildTest, name);
  const size_t at = result.output.find("first=");
  if (at == std::string::npos) {
    ADD_FAILURE() << "no flag in the child's output:\n" << result.output;
    return -1;
  }
  return std::atoi(result.output.c_str() + at + 6);
}

// Runs only inside the second process started above.
TEST(GuardChild, DISABLED_ReportsFirstFlagAndRequestsPopup) {
  const char* name = std::getenv(kChildNameVariable);
  ASSERT_NE(name, nullptr);
  SingleInstanceGuard guard(name);
  std::printf("first=%d\n", static_cast<int>(guard.IsFirstInstance()));
  if (!guard.IsFirstInstance())
    guard.RequestPopup();
}

// Runs only inside a second process: takes the check's mutex and ends
// without releasing it, which leaves the mutex abandoned.
TEST(GuardChild, DISABLED_TakesTheCheckMutexAndEndsOwningIt) {
  const char* name = std::getenv(kChildNameVariable);
  ASSERT_NE(name, nullptr);
  HANDLE mutex = CreateMutexA(nullptr, FALSE, (std::string(name) + "_Mutex").c_str());
  ASSERT_NE(mutex, nullptr);
  ASSERT_EQ(WaitForSingleObject(mutex, 5000), static_cast<DWORD>(WAIT_OBJECT_0));
  std::printf("taken\n");
}

TEST(SingleInstanceGuard, SecondInTheSameProcessIsNotFirstUntilTheFirstGoes) {
  const std::string name = UniqueName("same");
  auto first = new SingleInstanceGuard(name.c_str());
  EXPECT_EQ(first->IsFirstInstance(), 1);
  {
    SingleInstanceGuard second(name.c_str());
    EXPECT_EQ(second.IsFirstInstance(), 0);
    delete first;
    // The later guard still holds the events open, but the name is free.
    SingleInstanceGuard third(name.c_str());
    EXPECT_EQ(third.IsFirstInstance(), 1);
  }
  // A later instance does not give up a name it never held.
  SingleInstanceGuard holder(name.c_str());
  EXPECT_EQ(holder.IsFirstInstance(), 1);
  {
    SingleInstanceGuard later(name.c_str());
    EXPECT_EQ(later.IsFirstInstance(), 0);
  }
  SingleInstanceGuard stillLater(name.c_str());
  EXPECT_EQ(stillLater.IsFirstInstance(), 0);
}

TEST(SingleInstanceGuard, SecondProcessSeesTheFirstAndCanAskForAPopup) {
  const std::string name = UniqueName("process");
  {
    SingleInstanceGuard first(name.c_str());
    ASSERT_EQ(first.IsFirstInstance(), 1);
    EXPECT_FALSE(first.WaitForPopupRequest(0));
    EXPECT_EQ(FirstFlagInSecondProcess(name), 0);
    // The second process signalled before it ended.
    EXPECT_TRUE(first.WaitForPopupRequest(5000));
    EXPECT_FALSE(first.WaitForPopupRequest(0));
  }
  // The first has gone: the name can be held again, by another process too.
  EXPECT_EQ(FirstFlagInSecondProcess(name), 1);
  SingleInstanceGuard again(name.c_str());
  EXPECT_EQ(again.IsFirstInstance(), 1);
}

TEST(SingleInstanceGuard, AnAbandonedCheckMutexIsGivenBackForTheNextCheck) {
  const std::string name = UniqueName("abandoned");
  // This handle keeps the mutex in existence after the child has gone.
  HANDLE mutex = CreateMutexA(nullptr, FALSE, (name + "_Mutex").c_str());
  ASSERT_NE(mutex, nullptr);
  const test::ProcessResult child = RunChild("GuardChild.DISABLED_TakesTheCheckMutexAndEndsOwningIt", name);
  ASSERT_NE(child.output.find("taken"), std::string::npos) << child.output;
  {
    // The wait reports the mutex abandoned: the check counts as a later
    // instance and holds no events.
    SingleInstanceGuard afterTheCrash(name.c_str());
    EXPECT_EQ(afterTheCrash.IsFirstInstance(), 0);
    EXPECT_EQ(afterTheCrash.PopupEvent(), nullptr);
    EXPECT_FALSE(ObjectExists(name + "_OwnEvent"));
  }
  // The abandoned wait made this thread the owner. Unless the guard gave
  // the mutex back, a check on another thread waits the full time-out and
  // then counts itself as a later instance.
  int32_t flag = -1;
  DWORD waited = 0;
  test::RunOnOtherThread([&] {
    const DWORD start = GetTickCount();
    SingleInstanceGuard next(name.c_str());
    waited = GetTickCount() - start;
    flag = next.IsFirstInstance();
  });
  EXPECT_EQ(flag, 1);
  EXPECT_LT(waited, SingleInstanceGuard::kCheckTimeoutMs / 2);
  // And another process finds the name free too.
  EXPECT_EQ(FirstFlagInSecondProcess(name), 1);
  CloseHandle(mutex);
}

TEST(SingleInstanceGuard, OverlongNameHoldsNothingAndReportsFirst) {
  const std::string base = UniqueName("long");
  const std::string atLimit = base + std::string(100 - base.size(), 'x');
  const std::string tooLong = atLimit + "y";
  ASSERT_EQ(atLimit.size(), 100u);
  {
    SingleInstanceGuard one(tooLong.c_str());
    SingleInstanceGuard two(tooLong.c_str());
    EXPECT_EQ(one.IsFirstInstance(), 1);
    EXPECT_EQ(two.IsFirstInstance(), 1);
    EXPECT_FALSE(ObjectExists(tooLong + "_OwnEvent"));
    EXPECT_FALSE(ObjectExists(tooLong + "_PopupEvent"));
    EXPECT_EQ(one.PopupEvent(), nullptr);
    EXPECT_FALSE(one.WaitForPopupRequest(0));
  }
  SingleInstanceGuard one(atLimit.c_str());
  SingleInstanceGuard two(atLimit.c_str());
  EXPECT_EQ(one.IsFirstInstance(), 1);
  EXPECT_EQ(two.IsFirstInstance(), 0);
  EXPECT_TRUE(ObjectExists(atLimit + "_OwnEvent"));
  EXPECT_TRUE(ObjectExists(atLimit + "_PopupEvent"));
}

TEST(SingleInstanceGuard, DifferentNamesAreIndependent) {
  const std::string a = UniqueName("a");
  const std::string b = UniqueName("b");
  SingleInstanceGuard firstA(a.c_str());
  SingleInstanceGuard firstB(b.c_str());
  EXPECT_EQ(firstA.IsFirstInstance(), 1);
  EXPECT_EQ(firstB.IsFirstInstance(), 1);
  SingleInstanceGuard laterA(a.c_str());
  EXPECT_EQ(laterA.IsFirstInstance(), 0);
  // A popup request reaches only its own name.
  laterA.RequestPopup();
  EXPECT_FALSE(firstB.WaitForPopupRequest(0));
  EXPECT_TRUE(firstA.WaitForPopupRequest(0));
}

TEST(SingleInstanceGuard, DefaultGuardAndAssign) {
  SingleInstanceGuard guard;
  EXPECT_EQ(guard.IsFirstInstance(), 1);
  guard.RequestPopup();  // nothing to signal
  EXPECT_FALSE(guard.WaitForPopupRequest(0));
  EXPECT_EQ(guard.PopupEvent(), nullptr);

  const std::string a = UniqueName("assignA");
  const std::string b = UniqueName("assignB");
  guard.Assign(a.c_str());
  EXPECT_EQ(guard.IsFirstInstance(), 1);
  EXPECT_NE(guard.PopupEvent(), nullptr);
  EXPECT_EQ(SingleInstanceGuard(a.c_str()).IsFirstInstance(), 0);
  // Moving to another name gives the first one up.
  guard.Assign(b.c_str());
  EXPECT_EQ(guard.IsFirstInstance(), 1);
  EXPECT_EQ(SingleInstanceGuard(a.c_str()).IsFirstInstance(), 1);
  EXPECT_EQ(SingleInstanceGuard(b.c_str()).IsFirstInstance(), 0);

  SingleInstanceGuard nullName(nullptr);
  EXPECT_EQ(nullName.IsFirstInstance(), 1);
  EXPECT_EQ(nullName.PopupEvent(), nullptr);
}

TEST(SimpleMutex, OwnerThreadAndOtherThreads) {
  SimpleMutex mutex(true);
  // The owner may take it again.
  EXPECT_EQ(mutex.TryWait(), static_cast<DWORD>(WAIT_OBJECT_0));
  DWORD otherResult = 0;
  test::RunOnOtherThread([&] { otherResult = mutex.TryWait(); });
  EXPECT_EQ(otherResult, static_cast<DWORD>(WAIT_TIMEOUT));

  EXPECT_TRUE(mutex.Unlock());
  EXPECT_TRUE(mutex.Unlock());
  EXPECT_FALSE(mutex.Unlock());  // no longer owned
  bool otherUnlocked = false;
  test::RunOnOtherThread([&] {
    otherResult = mutex.Wait(1000);
    otherUnlocked = mutex.Unlock();
  });
  EXPECT_EQ(otherResult, static_cast<DWORD>(WAIT_OBJECT_0));
  EXPECT_TRUE(otherUnlocked);

  mutex.Close();
  EXPECT_EQ(mutex.Wait(0), static_cast<DWORD>(WAIT_FAILED));
  EXPECT_FALSE(mutex.Unlock());
  mutex.Close();
}

TEST(SimpleMutex, UnownedMutexIsFree) {
  SimpleMutex mutex(false);
  DWORD otherResult = 0;
  test::RunOnOtherThread([&] {
    otherResult = mutex.TryWait();
    // Ends owning it: the mutex is abandoned.
  });
  EXPECT_EQ(otherResult, static_cast<DWORD>(WAIT_OBJECT_0));
  EXPECT_EQ(mutex.TryWait(), static_cast<DWORD>(WAIT_ABANDONED));
  EXPECT_TRUE(mutex.Unlock());
}

}  // namespace
