#include "app/instance_claim.h"

namespace app {

StartKind ClaimInstance(InstanceMutexes& mutexes) {
  const bool otherSession = !mutexes.CreateFirst(kGlobalMutexName);
  const bool sameUser = !mutexes.CreateFirst(kUserMutexName);
  if (otherSession && sameUser) return StartKind::HandOver;
  return otherSession ? StartKind::OtherSession : StartKind::Run;
}

}  // namespace app
