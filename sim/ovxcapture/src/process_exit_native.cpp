#include "process_exit.h"

namespace ovxsim {

// Natively static objects are destroyed by exit() while every thread still runs.
bool ProcessIsTerminating() { return false; }

}  // namespace ovxsim
