// Program files outside Windows carry no version resource.
#include "views/own_version.h"

namespace views {

bool ReadOwnVersionText(int, std::wstring&) { return false; }

}  // namespace views
