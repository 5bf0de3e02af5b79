// The driver's I/O control codes and the records they carry.
#pragma once

#include <cstddef>
#include <cstdint>

namespace ovx::ioctl {

inline constexpr std::uint32_t kMethodBuffered = 0;
inline constexpr std::uint32_t kMethodInDirect = 1;
inline constexpr std::uint32_t kMethodOutDirect = 2;

// CTL_CODE with FILE_DEVICE_UNKNOWN and FILE_ANY_ACCESS.
constexpr std::uint32_t Code(std::uint32_t function, std::uint32_t method) {
  return (0x22u << 16) | (0u << 14) | (function << 2) | method;
}

inline constexpr std::uint32_t IOCTL_REQUEST_COMMAND = Code(0x501, kMethodBuffered);
inline constexpr std::uint32_t IOCTL_READ32 = Code(0x601, kMethodBuffered);
inline constexpr std::uint32_t IOCTL_WRITE32 = Code(0x602, kMethodBuffered);
inline constexpr std::uint32_t IOCTL_READ64 = Code(0x603, kMethodBuffered);
inline constexpr std::uint32_t IOCTL_WRITE64 = Code(0x604, kMethodBuffered);
inline constexpr std::uint32_t IOCTL_READ_BLOCK = Code(0x605, kMethodBuffered);
inline constexpr std::uint32_t IOCTL_WRITE_BLOCK = Code(0x606, kMethodBuffered);
inline constexpr std::uint32_t IOCTL_SET_DMA_READ = Code(0x701, kMethodBuffered);
inline constexpr std::uint32_t IOCTL_SET_DMA_WRITE = Code(0x702, kMethodBuffered);
inline constexpr std::uint32_t IOCTL_DMA_READ = Code(0x703, kMethodOutDirect);
inline constexpr std::uint32_t IOCTL_DMA_WRITE = Code(0x704, kMethodInDirect);
inline constexpr std::uint32_t IOCTL_READ_CONFIG = Code(0xA03, kMethodBuffered);
inline constexpr std::uint32_t IOCTL_WRITE_CONFIG = Code(0xA04, kMethodBuffered);
inline constexpr std::uint32_t IOCTL_SYSTEM_RESET = Code(0x901, kMethodBuffered);
inline constexpr std::uint32_t IOCTL_WAIT_POWER_EVENT = Code(0x902, kMethodBuffered);
inline constexpr std::uint32_t IOCTL_MESSAGE_QUEUE_CONTROL = Code(0x903, kMethodBuffered);
inline constexpr std::uint32_t IOCTL_GET_MESSAGE = Code(0x904, kMethodBuffered);
inline constexpr std::uint32_t IOCTL_DEVICE_RESTART = Code(0x905, kMethodBuffered);

static_assert(IOCTL_REQUEST_COMMAND == 0x221404);
static_assert(IOCTL_READ32 == 0x221804);
static_assert(IOCTL_WRITE32 == 0x221808);
static_assert(IOCTL_READ64 == 0x22180C);
static_assert(IOCTL_WRITE64 == 0x221810);
static_assert(IOCTL_READ_BLOCK == 0x221814);
static_assert(IOCTL_WRITE_BLOCK == 0x221818);
static_assert(IOCTL_SET_DMA_READ == 0x221C04);
static_assert(IOCTL_SET_DMA_WRITE == 0x221C08);
static_assert(IOCTL_DMA_READ == 0x221C0E);
static_assert(IOCTL_DMA_WRITE == 0x221C11);
static_assert(IOCTL_READ_CONFIG == 0x22280C);
static_assert(IOCTL_WRITE_CONFIG == 0x222810);
static_assert(IOCTL_SYSTEM_RESET == 0x222404);
static_assert(IOCTL_WAIT_POWER_EVENT == 0x222408);
static_assert(IOCTL_MESSAGE_QUEUE_CONTROL == 0x22240C);
static_assert(IOCTL_GET_MESSAGE == 0x222410);
static_assert(IOCTL_DEVICE_RESTART == 0x222414);

// Time limits of the senders, in milliseconds.
inline constexpr std::uint32_t kRegisterTimeoutMs = 5000;

#pragma pack(push, 1)
struct AddressRecord {
  std::uint64_t DevAddr;
};
struct Write32Record {
  std::uint64_t DevAddr;
  std::uint32_t Data;
};
struct Write64Record {
  std::uint64_t DevAddr;
  std::uint64_t Data;
};
struct BlockRecord {  // followed by DataSize bytes for a write
  std::uint64_t DevAddr;
  std::uint32_t DataSize;
};
struct ConfigRecord {  // followed by DataSize bytes for a write
  std::uint32_t ConfOffset;
  std::uint32_t DataSize;
};
struct QueueControlRecord {
  std::uint32_t ModuleID;
  std::uint32_t MaxQueue;
  std::uint32_t Mode;
  std::uint8_t Enable;
  std::uint8_t Reserved[3];
};
struct DeviceMessage {  // opaque to the library but for the word at 32
  std::uint8_t Bytes[40];
};
struct CommandRequest {
  std::uint8_t Reserved0[16];
  std::uint32_t Command;
  std::uint8_t Reserved1[12];
};
struct CommandResponse {
  std::uint8_t Reserved0[20];
  std::uint32_t DeviceState;
  std::uint8_t Reserved1[8];
};
#pragma pack(pop)

static_assert(sizeof(AddressRecord) == 8);
static_assert(sizeof(Write32Record) == 12 && offsetof(Write32Record, Data) == 8);
static_assert(sizeof(Write64Record) == 16 && offsetof(Write64Record, Data) == 8);
static_assert(sizeof(BlockRecord) == 12 && offsetof(BlockRecord, DataSize) == 8);
static_assert(sizeof(ConfigRecord) == 8 && offsetof(ConfigRecord, DataSize) == 4);
static_assert(sizeof(QueueControlRecord) == 16 && offsetof(QueueControlRecord, MaxQueue) == 4 &&
              offsetof(QueueControlRecord, Mode) == 8 && offsetof(QueueControlRecord, Enable) == 12);
static_assert(sizeof(DeviceMessage) == 40);
static_assert(sizeof(CommandRequest) == 32 && offsetof(CommandRequest, Command) == 16);
static_assert(sizeof(CommandResponse) == 32 && offsetof(CommandResponse, DeviceState) == 20);

inline constexpr std::size_t kMessageWordOffset = 32;

inline constexpr std::uint32_t kCommandResetRequest = 0;
inline constexpr std::uint32_t kCommandSoftUpdate = 1;
inline constexpr std::uint32_t kCommandDeviceState = 3;

}  // namespace ovx::ioctl
