// Program files outside Windows carry no version resource.
#include "views/own_version.h"

namespace capture {

bool ReadOwnVersionText(int, std::wstring&) { return false; }

}  // namespace capture
