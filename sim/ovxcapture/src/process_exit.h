// Whether the process is ending: on Windows the other threads are gone by
// the time the DLL's static objects are destroyed, so the board must not
// wait for its event thread (or take a lock it may have held).
#ifndef OVXSIM_PROCESS_EXIT_H
#define OVXSIM_PROCESS_EXIT_H

namespace ovxsim {

bool ProcessIsTerminating();

}  // namespace ovxsim

#endif
