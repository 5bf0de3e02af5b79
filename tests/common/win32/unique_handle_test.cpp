#include "common/win32/unique_handle.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

// A handle is closed when a second close of it fails.
bool IsOpen(HANDLE h) {
  DWORD flags = 0;
  return GetHandleInformation(h, &flags) != FALSE;
}

TEST(UniqueHandle, ClosesMovesReleasesAndFillsOutParameters) {
  win32::UniqueKernelHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  ASSERT_TRUE(event);
  const HANDLE raw = event.get();

  win32::UniqueKernelHandle moved(std::move(event));
  EXPECT_FALSE(event);
  EXPECT_EQ(moved.get(), raw);
  EXPECT_TRUE(IsOpen(raw));

  win32::UniqueKernelHandle other(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  const HANDLE otherRaw = other.get();
  other = std::move(moved);  // closes what it held
  EXPECT_FALSE(IsOpen(otherRaw));
  EXPECT_EQ(other.get(), raw);

  const HANDLE given = other.release();
  EXPECT_FALSE(other);
  EXPECT_TRUE(IsOpen(given));
  other.reset(given);
  other.reset();
  EXPECT_FALSE(IsOpen(given));

  // put closes what the owner held before it hands out the slot.
  win32::UniqueKernelHandle filled(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  const HANDLE old = filled.get();
  HANDLE* slot = filled.put();
  EXPECT_FALSE(IsOpen(old));
  EXPECT_EQ(*slot, nullptr);
  *slot = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  EXPECT_TRUE(filled);

  win32::UniqueKey key;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, key.put()), ERROR_SUCCESS);
  EXPECT_TRUE(key);
}

TEST(UniqueHandle, ClosingKeepsTheLastError) {
  {
    win32::UniqueKernelHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    SetLastError(ERROR_FILE_NOT_FOUND);
  }
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

  // Even when the close itself fails (a handle closed behind the owner's back).
  win32::UniqueKernelHandle stale(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  CloseHandle(stale.get());
  SetLastError(ERROR_ACCESS_DENIED);
  stale.reset();
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

TEST(UniqueHandle, GdiKindsAndSelections) {
  const win32::UniqueWindowDc screen = win32::GetWindowDc(nullptr);
  ASSERT_TRUE(screen);
  const win32::UniqueMemoryDc memory(CreateCompatibleDC(screen.get().dc));
  ASSERT_TRUE(memory);
  win32::UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get().dc, 4, 4));
  ASSERT_TRUE(bitmap);
  const HGDIOBJ before = GetCurrentObject(memory.get(), OBJ_BITMAP);
  {
    const win32::UniqueSelection selected = win32::Select(memory.get(), bitmap.get());
    ASSERT_TRUE(selected);
    EXPECT_EQ(GetCurrentObject(memory.get(), OBJ_BITMAP), bitmap.get());
  }
  EXPECT_EQ(GetCurrentObject(memory.get(), OBJ_BITMAP), before);
  const HBITMAP raw = bitmap.get();
  bitmap.reset();
  EXPECT_EQ(GetObjectType(raw), 0u);  // deleted
}

}  // namespace
