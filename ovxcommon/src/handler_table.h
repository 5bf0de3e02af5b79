// The process-wide table of registered message modules.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>

#include "device_msg_ctrl.h"
#include "ovxcommon.h"

namespace ovx {

class HandlerTable {
 public:
  static HandlerTable& Get();

  // Registration and removal as generic_register_handler and
  // generic_remove_handler report them (their trace lines included).
  std::uint32_t Register(std::uint32_t moduleId, std::uint32_t maxQueue, std::uint32_t mode,
                         OVX_MESSAGE_HANDLER handler);
  std::uint32_t Remove(std::uint32_t moduleId);
  bool Contains(std::uint32_t moduleId) const;
  std::size_t Count() const;

 private:
  mutable std::mutex mutex_;
  std::map<std::uint32_t, std::unique_ptr<CDeviceMsgCtrl>> modules_;
};

}  // namespace ovx
