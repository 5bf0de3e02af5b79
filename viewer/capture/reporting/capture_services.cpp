#include "capture/reporting/capture_services.h"

namespace capture {

CaptureServices& Services() {
  static CaptureServices services = RealServices();
  return services;
}

}  // namespace capture
