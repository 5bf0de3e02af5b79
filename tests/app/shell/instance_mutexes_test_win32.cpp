// The instance mutexes on the platform's named objects.
#include "app/shell/instance_mutexes_win32.h"

#include <gtest/gtest.h>

#include <string>

#include "common/win32/unique_handle.h"

namespace {

std::wstring UniqueName(const wchar_t* stem) { return stem + std::to_wstring(GetCurrentProcessId()); }

TEST(InstanceMutexes, FirstHolderOnlyOnce) {
  const std::wstring name = UniqueName(L"TavrinTestMutex");
  shell::Win32InstanceMutexes first;
  EXPECT_TRUE(first.CreateFirst(name));
  shell::Win32InstanceMutexes second;
  EXPECT_FALSE(second.CreateFirst(name));
}

TEST(InstanceMutexes, NameIsFreeAgainWhenTheHolderGoes) {
  const std::wstring name = UniqueName(L"Global\\TavrinTestMutex");
  {
    shell::Win32InstanceMutexes holder;
    ASSERT_TRUE(holder.CreateFirst(name));
    EXPECT_TRUE(win32::UniqueKernelHandle(OpenMutexW(SYNCHRONIZE, FALSE, name.c_str())));
  }
  EXPECT_FALSE(win32::UniqueKernelHandle(OpenMutexW(SYNCHRONIZE, FALSE, name.c_str())));
  shell::Win32InstanceMutexes again;
  EXPECT_TRUE(again.CreateFirst(name));
}

TEST(InstanceMutexes, AnUnusableNameCountsAsHeld) {
  shell::Win32InstanceMutexes m;
  // A backslash outside the namespace prefix is not a valid object name.
  EXPECT_FALSE(m.CreateFirst(L"Tavrin\\Test\\Mutex"));
}

}  // namespace
