// General-purpose device access: commands, registers, blocks, DMA,
// configuration space, message handlers and per-device named mutexes.
#pragma once

#include <cstdint>

#include "device_util.h"
#include "ovxcommon.h"

namespace ovx {

class CGenericfunc : public CExportGenericfunc {
 public:
  CGenericfunc();  // empties the device list, re-reads "DmaTimeOut"
  ~CGenericfunc() override = default;
  CGenericfunc(const CGenericfunc&) = delete;
  CGenericfunc& operator=(const CGenericfunc&) = delete;

  void Release() override;
  std::uint32_t GetMutex(OVX_HANDLE* phMutex, const wchar_t* pTag, std::int32_t nNumber) override;
  std::uint32_t GetDebugMask() override;
  std::uint32_t generic_register_handler(std::uint32_t ModuleID, std::uint32_t MaxQueue, std::uint32_t Mode,
                                         OVX_MESSAGE_HANDLER pHandler) override;
  std::uint32_t generic_remove_handler(std::uint32_t nModuleID) override;
  std::uint32_t generic_request_command(void* pReq, void* pRes, std::uint32_t nTimeOut) override;
  std::uint32_t generic_read32(std::uint64_t DevAddr, std::uint32_t* pData) override;
  std::uint32_t generic_write32(std::uint64_t DevAddr, std::uint32_t Data) override;
  std::uint32_t generic_read64(std::uint64_t DevAddr, std::uint64_t* pData) override;
  std::uint32_t generic_write64(std::uint64_t DevAddr, std::uint64_t Data) override;
  std::uint32_t generic_read_block(std::uint64_t DevAddr, void* pDataAddr, std::uint32_t DataSize) override;
  std::uint32_t generic_write_block(std::uint64_t DevAddr, void* pDataAddr, std::uint32_t DataSize) override;
  std::uint32_t generic_read_dma(std::uint64_t DevAddr, void* pDataAddr, std::uint32_t DataSize) override;
  std::uint32_t generic_write_dma(std::uint64_t DevAddr, void* pDataAddr, std::uint32_t DataSize) override;
  std::uint32_t generic_read_config(std::uint32_t ConfOffset, void* pDataAddr,
                                    std::uint32_t DataSize) override;
  std::uint32_t generic_write_config(std::uint32_t ConfOffset, void* pDataAddr,
                                     std::uint32_t DataSize) override;

 private:
  // Sends one request; returns the transport status and the byte count.
  std::uint32_t Send(std::uint32_t code, const void* in, std::uint32_t inSize, void* out,
                     std::uint32_t outSize, std::uint32_t timeoutMs, std::uint32_t* bytes);

  CDeviceUtil m_device;
};

// "DEV%d_MUTEX%s%d" in a buffer of 100 characters.
std::wstring MutexName(std::int32_t deviceIndex, const wchar_t* tag, std::int32_t number);

}  // namespace ovx
