// Opens and closes one device session with the real platform services, for
// the script tests that watch the Windows event log and the Desktop log.
//   session_probe <apiLog>
#include <cstdio>
#include <cstdlib>

#include "capture/session/input_manager.h"

int main(int argc, char** argv) {
  const int apiLog = argc > 1 ? std::atoi(argv[1]) : 0;
  capture::InputManager* session = capture::InputManager::Create(apiLog);
  if (session == nullptr) {
    std::puts("no session");
    return 2;
  }
  capture::InputSize size;
  std::printf("status %d\n", session->QueryInputStatus(size));
  capture::InputManager::Destroy();
  return 0;
}
