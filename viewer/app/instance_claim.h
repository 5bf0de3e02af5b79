#pragma once
// Single instance: one copy per user and session opens the device; a copy
// started where another user or session already runs one only says so.
#include <string>

namespace app {

inline constexpr wchar_t kGlobalMutexName[] = L"Global\\TavrinGlobalMutex";
inline constexpr wchar_t kUserMutexName[] = L"TavrinUserMutex";
inline constexpr wchar_t kMainWindowClass[] = L"Velmora Tavrin MainWndClass";

// The named-mutex seam.  The mutexes are held until the object goes.
class InstanceMutexes {
 public:
  virtual ~InstanceMutexes() = default;
  // Creates (owning) the named mutex; true when this process is the first to
  // hold the name.  A mutex that cannot be created counts as held elsewhere.
  virtual bool CreateFirst(const std::wstring& name) = 0;
};

enum class StartKind {
  Run,           // the first copy
  OtherSession,  // a copy runs elsewhere on the machine: show AlreadyRunning
  HandOver,      // this user's copy runs here: bring it to the front and end
};

// Creates both mutexes (always both) and says how to start.
StartKind ClaimInstance(InstanceMutexes& mutexes);

}  // namespace app
