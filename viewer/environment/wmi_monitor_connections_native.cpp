#include "environment/wmi_monitor_connections.h"

namespace environment {

namespace {

// No management service outside Windows.
class AbsentMonitorConnections final : public MonitorConnectionSource {
 public:
  bool Query(std::vector<MonitorConnectionEntry>&) override { return false; }
};

}  // namespace

MonitorConnectionSource& PlatformMonitorConnections() {
  static AbsentMonitorConnections source;
  return source;
}

}  // namespace environment
