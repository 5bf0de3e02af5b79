#pragma once
// The monitor connections that the management service (WMI, namespace
// ROOT\WMI, class WmiMonitorConnectionParams) reports.
#include <vector>

#include "environment/display_types.h"

namespace environment {

class MonitorConnectionSource {
 public:
  virtual ~MonitorConnectionSource() = default;
  // false when the service cannot be set up or queried.
  virtual bool Query(std::vector<MonitorConnectionEntry>& connections) = 0;
};

// The platform's management service. A native build has none (Query fails).
MonitorConnectionSource& PlatformMonitorConnections();

}  // namespace environment
