#include "genericfunc.h"

#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "handler_table.h"
#include "ioctl.h"
#include "platform.h"
#include "process_state.h"
#include "reg_ctrl.h"
#include "boundary.h"
#include "status.h"
#include "trace.h"

namespace ovx {
namespace {

constexpr std::uint32_t kLimit = ioctl::kRegisterTimeoutMs;
constexpr std::size_t kMutexNameChars = 100;

// A request record followed by the caller's data, in a buffer of its own.
// Empty (and *failed set) when it cannot be allocated or its size does not
// fit the request's 32-bit size.
template <class Record>
std::vector<std::uint8_t> BuildRecord(const Record& record, const void* data, std::uint32_t dataSize,
                                      bool* failed) {
  std::vector<std::uint8_t> buffer;
  *failed = false;
  if (dataSize > 0xFFFFFFFFu - sizeof(Record)) {
    *failed = true;
    return buffer;
  }
  try {
    buffer.resize(sizeof(Record) + dataSize);
  } catch (const std::bad_alloc&) {
    *failed = true;
    return buffer;
  }
  std::memcpy(buffer.data(), &record, sizeof(Record));
  if (dataSize != 0) std::memcpy(buffer.data() + sizeof(Record), data, dataSize);
  return buffer;
}

std::uint32_t Size(const std::vector<std::uint8_t>& v) { return static_cast<std::uint32_t>(v.size()); }

}  // namespace

std::wstring MutexName(std::int32_t deviceIndex, const wchar_t* tag, std::int32_t number) {
  wchar_t name[kMutexNameChars];
  FormatWide(name, kMutexNameChars, L"DEV%d_MUTEX%s%d", {deviceIndex, tag, number});
  return name;
}

CGenericfunc::CGenericfunc() {
  ProcessState::Get().dmaTimeoutMs.store(ReadDwordOr(L"DmaTimeOut", ProcessState::kDefaultDmaTimeoutMs));
}

void CGenericfunc::Release() { std::unique_ptr<CGenericfunc> self(this); }

std::uint32_t CGenericfunc::Send(std::uint32_t code, const void* in, std::uint32_t inSize, void* out,
                                 std::uint32_t outSize, std::uint32_t timeoutMs, std::uint32_t* bytes) {
  std::uint32_t result = 0;
  *bytes = 0;
  m_device.SendIoControl(code, const_cast<void*>(in), inSize, out, outSize, bytes, &result, timeoutMs);
  return result;
}

std::uint32_t CGenericfunc::GetMutex(OVX_HANDLE* phMutex, const wchar_t* pTag, std::int32_t nNumber) {
  return Guarded([&]() -> std::uint32_t {
    constexpr const wchar_t* kName = L"CGenericfunc::GetMutex";
    if (phMutex == nullptr || pTag == nullptr) {
      TraceError(kName, L"Invalid Parameter");
      return status::kInvalidParameter;
    }
    *phMutex = nullptr;
    const std::wstring name = MutexName(m_device.GetDeviceIndex(), pTag, nNumber);
    TraceInfo(kName, L"Try to get mutex: %s", name);
    INamedMutexes& mutexes = platform::Mutexes();
    NamedMutex handle;
    std::uint32_t error = mutexes.OpenOrCreate(name, &handle);
    if (error == 0) error = mutexes.Wait(handle.get());
    if (error != 0) {
      TraceError(kName, L"Failed to get mutex: %s Status = 0x%08X", name, error);
      return error;
    }
    *phMutex = handle.release();  // the client releases and closes it
    TraceInfo(kName, L"Success to get mutex: %s", name);
    return status::kSuccess;
  });
}

// A read that runs out of memory is a failed read: 0.
std::uint32_t CGenericfunc::GetDebugMask() {
  std::uint32_t mask = 0;
  return Guarded([&] { return (mask = ReadDwordOr(L"DebugMask", 0)), status::kSuccess; }) == 0 ? mask : 0;
}

std::uint32_t CGenericfunc::generic_register_handler(std::uint32_t ModuleID, std::uint32_t MaxQueue,
                                                     std::uint32_t Mode, OVX_MESSAGE_HANDLER pHandler) {
  return Guarded([&]() -> std::uint32_t {
    constexpr const wchar_t* kName = L"CGenericfunc::generic_register_handler";
    TraceInfo(kName, L"++ ModuleID: %d MaxQueue: %d Mode: %d", ModuleID, MaxQueue, Mode);
    const std::uint32_t result = HandlerTable::Get().Register(ModuleID, MaxQueue, Mode, pHandler);
    TraceInfo(kName, L"-- Status = 0x%08X", result);
    return result;
  });
}

std::uint32_t CGenericfunc::generic_remove_handler(std::uint32_t nModuleID) {
  return Guarded([&]() -> std::uint32_t {
    constexpr const wchar_t* kName = L"CGenericfunc::generic_remove_handler";
    TraceInfo(kName, L"++ nModuleID: %d", nModuleID);
    const std::uint32_t result = HandlerTable::Get().Remove(nModuleID);
    TraceInfo(kName, L"-- Status = 0x%08X", result);
    return result;
  });
}

std::uint32_t CGenericfunc::generic_request_command(void* pReq, void* pRes, std::uint32_t nTimeOut) {
  return Guarded([&]() -> std::uint32_t {
    constexpr const wchar_t* kName = L"CGenericfunc::generic_request_command";
    TraceInfo(kName, L"++ pReq: 0x%p pRes: 0x%p", pReq, pRes);
    std::uint32_t result = status::kSuccess;
    if (pReq == nullptr || pRes == nullptr) {
      TraceError(kName, L"Invalid Parameter");
      result = status::kInvalidParameter;
    } else {
      std::uint32_t bytes = 0;
      result = Send(ioctl::IOCTL_REQUEST_COMMAND, pReq, sizeof(ioctl::CommandRequest), pRes,
                    sizeof(ioctl::CommandResponse), nTimeOut, &bytes);
      if (result != 0) {
        TraceError(kName, L"Send command failed: Status = 0x%08X", result);
      } else if (bytes != sizeof(ioctl::CommandResponse)) {
        TraceError(kName, L"Send command failed: Read size is invalid: %d", bytes);
        result = status::kInvalidData;
      }
    }
    TraceInfo(kName, L"-- Status = 0x%08X", result);
    return result;
  });
}

namespace {

// The shared shape of the register, block and configuration operations.
struct Op {
  const wchar_t* name;
  const wchar_t* failure;   // "... failed: Status = 0x%08X"
  const wchar_t* sizeLine;  // "... failed: Read size is invalid: %d", or null for writes
};

std::uint32_t Finish(const Op& op, std::uint32_t result, std::uint32_t bytes, std::uint32_t expected) {
  if (result != 0) {
    TraceError(op.name, op.failure, result);
  } else if (op.sizeLine != nullptr && bytes != expected) {
    TraceError(op.name, op.sizeLine, bytes);
    result = status::kInvalidData;
  }
  return result;
}

std::uint32_t Invalid(const Op& op) {
  TraceError(op.name, L"Invalid Parameter");
  return status::kInvalidParameter;
}

std::uint32_t Exit(const Op& op, std::uint32_t result) {
  TraceInfo(op.name, L"-- Status = 0x%08X", result);
  return result;
}

constexpr const wchar_t* kBlockEntry = L"++ DevAddr: 0x%I64X pDataAddr: 0x%p DataSize: 0x%X";
constexpr const wchar_t* kConfigEntry = L"++ ConfOffset: 0x%08X pDataAddr: 0x%p DataSize: 0x%X";

}  // namespace

std::uint32_t CGenericfunc::generic_read32(std::uint64_t DevAddr, std::uint32_t* pData) {
  return Guarded([&]() -> std::uint32_t {
    const Op op{L"CGenericfunc::generic_read32", L"Read 32bit failed: Status = 0x%08X",
                L"Read 32bit failed: Read size is invalid: %d"};
    TraceInfo(op.name, L"++ DevAddr: 0x%I64X pData: 0x%p", DevAddr, pData);
    if (DevAddr == 0 || pData == nullptr) return Exit(op, Invalid(op));
    const ioctl::AddressRecord record{DevAddr};
    std::uint32_t bytes = 0;
    const std::uint32_t r =
        Send(ioctl::IOCTL_READ32, &record, sizeof record, pData, sizeof *pData, kLimit, &bytes);
    return Exit(op, Finish(op, r, bytes, sizeof *pData));
  });
}

std::uint32_t CGenericfunc::generic_write32(std::uint64_t DevAddr, std::uint32_t Data) {
  return Guarded([&]() -> std::uint32_t {
    const Op op{L"CGenericfunc::generic_write32", L"Write 32bit failed: Status = 0x%08X", nullptr};
    TraceInfo(op.name, L"++ DevAddr: 0x%I64X Data: 0x%X", DevAddr, Data);
    if (DevAddr == 0) return Exit(op, Invalid(op));
    bool failed = false;
    const std::vector<std::uint8_t> record =
        BuildRecord(ioctl::Write32Record{DevAddr, Data}, nullptr, 0, &failed);
    if (failed) return status::kNotEnoughMemory;
    std::uint32_t bytes = 0;
    const std::uint32_t r =
        Send(ioctl::IOCTL_WRITE32, record.data(), Size(record), nullptr, 0, kLimit, &bytes);
    return Exit(op, Finish(op, r, bytes, 0));
  });
}

std::uint32_t CGenericfunc::generic_read64(std::uint64_t DevAddr, std::uint64_t* pData) {
  return Guarded([&]() -> std::uint32_t {
    const Op op{L"CGenericfunc::generic_read64", L"Read 64bit failed: Status = 0x%08X",
                L"Read 64bit failed: Read size is invalid: %d"};
    TraceInfo(op.name, L"++ DevAddr: 0x%I64X pData: 0x%p", DevAddr, pData);
    if (DevAddr == 0 || pData == nullptr) return Exit(op, Invalid(op));
    const ioctl::AddressRecord record{DevAddr};
    std::uint32_t bytes = 0;
    const std::uint32_t r =
        Send(ioctl::IOCTL_READ64, &record, sizeof record, pData, sizeof *pData, kLimit, &bytes);
    return Exit(op, Finish(op, r, bytes, sizeof *pData));
  });
}

std::uint32_t CGenericfunc::generic_write64(std::uint64_t DevAddr, std::uint64_t Data) {
  return Guarded([&]() -> std::uint32_t {
    const Op op{L"CGenericfunc::generic_write64", L"Write 64bit failed: Status = 0x%08X", nullptr};
    TraceInfo(op.name, L"++ DevAddr: 0x%I64X Data: 0x%I64X", DevAddr, Data);
    if (DevAddr == 0) return Exit(op, Invalid(op));
    bool failed = false;
    const std::vector<std::uint8_t> record =
        BuildRecord(ioctl::Write64Record{DevAddr, Data}, nullptr, 0, &failed);
    if (failed) return status::kNotEnoughMemory;
    std::uint32_t bytes = 0;
    const std::uint32_t r =
        Send(ioctl::IOCTL_WRITE64, record.data(), Size(record), nullptr, 0, kLimit, &bytes);
    return Exit(op, Finish(op, r, bytes, 0));
  });
}

std::uint32_t CGenericfunc::generic_read_block(std::uint64_t DevAddr, void* pDataAddr,
                                               std::uint32_t DataSize) {
  return Guarded([&]() -> std::uint32_t {
    const Op op{L"CGenericfunc::generic_read_block", L"Read block failed: Status = 0x%08X",
                L"Read block failed: Read size is invalid: %d"};
    TraceInfo(op.name, kBlockEntry, DevAddr, pDataAddr, DataSize);
    if (DevAddr == 0 || pDataAddr == nullptr || DataSize == 0) return Exit(op, Invalid(op));
    bool failed = false;
    const std::vector<std::uint8_t> record =
        BuildRecord(ioctl::BlockRecord{DevAddr, DataSize}, nullptr, 0, &failed);
    if (failed) return status::kNotEnoughMemory;
    std::uint32_t bytes = 0;
    const std::uint32_t r =
        Send(ioctl::IOCTL_READ_BLOCK, record.data(), Size(record), pDataAddr, DataSize, kLimit, &bytes);
    return Exit(op, Finish(op, r, bytes, DataSize));
  });
}

std::uint32_t CGenericfunc::generic_write_block(std::uint64_t DevAddr, void* pDataAddr,
                                                std::uint32_t DataSize) {
  return Guarded([&]() -> std::uint32_t {
    const Op op{L"CGenericfunc::generic_write_block", L"Write block failed: Status = 0x%08X", nullptr};
    TraceInfo(op.name, kBlockEntry, DevAddr, pDataAddr, DataSize);
    if (DevAddr == 0 || pDataAddr == nullptr || DataSize == 0) return Exit(op, Invalid(op));
    bool failed = false;
    const std::vector<std::uint8_t> record =
        BuildRecord(ioctl::BlockRecord{DevAddr, DataSize}, pDataAddr, DataSize, &failed);
    if (failed) return status::kNotEnoughMemory;
    std::uint32_t bytes = 0;
    const std::uint32_t r =
        Send(ioctl::IOCTL_WRITE_BLOCK, record.data(), Size(record), nullptr, 0, kLimit, &bytes);
    return Exit(op, Finish(op, r, bytes, 0));
  });
}

std::uint32_t CGenericfunc::generic_read_dma(std::uint64_t DevAddr, void* pDataAddr, std::uint32_t DataSize) {
  return Guarded([&]() -> std::uint32_t {
    const Op set{L"CGenericfunc::generic_read_dma", L"Set dma read failed: Status = 0x%08X", nullptr};
    const Op op{L"CGenericfunc::generic_read_dma", L"Dma read failed: Status = 0x%08X",
                L"Dma read failed: Read size is invalid: %d"};
    TraceInfo(op.name, kBlockEntry, DevAddr, pDataAddr, DataSize);
    if (DevAddr == 0 || pDataAddr == nullptr || DataSize == 0) return Exit(op, Invalid(op));
    const ioctl::AddressRecord record{DevAddr};
    std::uint32_t bytes = 0;
    std::uint32_t r = Finish(
        set, Send(ioctl::IOCTL_SET_DMA_READ, &record, sizeof record, nullptr, 0, kLimit, &bytes), bytes, 0);
    if (r != 0) return Exit(op, r);
    r = Send(ioctl::IOCTL_DMA_READ, nullptr, 0, pDataAddr, DataSize, ProcessState::Get().dmaTimeoutMs.load(),
             &bytes);
    return Exit(op, Finish(op, r, bytes, DataSize));
  });
}

std::uint32_t CGenericfunc::generic_write_dma(std::uint64_t DevAddr, void* pDataAddr,
                                              std::uint32_t DataSize) {
  return Guarded([&]() -> std::uint32_t {
    const Op set{L"CGenericfunc::generic_write_dma", L"Set dma write failed: Status = 0x%08X", nullptr};
    const Op op{L"CGenericfunc::generic_write_dma", L"Dma write failed: Status = 0x%08X", nullptr};
    TraceInfo(op.name, kBlockEntry, DevAddr, pDataAddr, DataSize);
    if (DevAddr == 0 || pDataAddr == nullptr || DataSize == 0) return Exit(op, Invalid(op));
    const ioctl::AddressRecord record{DevAddr};
    std::uint32_t bytes = 0;
    std::uint32_t r = Finish(
        set, Send(ioctl::IOCTL_SET_DMA_WRITE, &record, sizeof record, nullptr, 0, kLimit, &bytes), bytes, 0);
    if (r != 0) return Exit(op, r);
    r = Send(ioctl::IOCTL_DMA_WRITE, pDataAddr, DataSize, nullptr, 0, ProcessState::Get().dmaTimeoutMs.load(),
             &bytes);
    return Exit(op, Finish(op, r, bytes, 0));
  });
}

std::uint32_t CGenericfunc::generic_read_config(std::uint32_t ConfOffset, void* pDataAddr,
                                                std::uint32_t DataSize) {
  return Guarded([&]() -> std::uint32_t {
    const Op op{L"CGenericfunc::generic_read_config", L"Read block failed: Status = 0x%08X",
                L"Read block failed: Read size is invalid: %d"};
    TraceInfo(op.name, kConfigEntry, ConfOffset, pDataAddr, DataSize);
    if (ConfOffset == 0 || pDataAddr == nullptr || DataSize == 0) return Exit(op, Invalid(op));
    bool failed = false;
    const std::vector<std::uint8_t> record =
        BuildRecord(ioctl::ConfigRecord{ConfOffset, DataSize}, nullptr, 0, &failed);
    if (failed) return status::kNotEnoughMemory;
    std::uint32_t bytes = 0;
    const std::uint32_t r =
        Send(ioctl::IOCTL_READ_CONFIG, record.data(), Size(record), pDataAddr, DataSize, kLimit, &bytes);
    return Exit(op, Finish(op, r, bytes, DataSize));
  });
}

std::uint32_t CGenericfunc::generic_write_config(std::uint32_t ConfOffset, void* pDataAddr,
                                                 std::uint32_t DataSize) {
  return Guarded([&]() -> std::uint32_t {
    const Op op{L"CGenericfunc::generic_write_config", L"Write block failed: Status = 0x%08X", nullptr};
    TraceInfo(op.name, kConfigEntry, ConfOffset, pDataAddr, DataSize);
    if (ConfOffset == 0 || pDataAddr == nullptr || DataSize == 0) return Exit(op, Invalid(op));
    bool failed = false;
    const std::vector<std::uint8_t> record =
        BuildRecord(ioctl::ConfigRecord{ConfOffset, DataSize}, pDataAddr, DataSize, &failed);
    if (failed) return status::kNotEnoughMemory;
    std::uint32_t bytes = 0;
    const std::uint32_t r =
        Send(ioctl::IOCTL_WRITE_CONFIG, record.data(), Size(record), nullptr, 0, kLimit, &bytes);
    return Exit(op, Finish(op, r, bytes, 0));
  });
}

}  // namespace ovx
