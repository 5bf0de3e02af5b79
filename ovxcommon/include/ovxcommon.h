// ovxcommon: access to the capture board's kernel driver.
//
// A client obtains an object from one of the three factory functions, uses it
// through its interface and disposes of it with Release(); the destructors
// are protected, so it cannot be deleted. A factory returns null when the
// object cannot be made, and no exception leaves the library: running out of
// memory inside an operation returns 8 (ERROR_NOT_ENOUGH_MEMORY).
// All objects of a process share one device handle, one device list and one
// device index. Every operation returns 0 for success or a Windows system
// error code (or the driver's own completion status for a request the driver
// failed). The order of the virtual operations is part of the binary
// contract: do not reorder.
#ifndef OVXCOMMON_H
#define OVXCOMMON_H

#include <stdint.h>

#if defined(_WIN32)
#if defined(OVXCOMMON_BUILD)
#define OVXCOMMON_API extern "C" __declspec(dllexport)
#else
#define OVXCOMMON_API extern "C" __declspec(dllimport)
#endif
typedef wchar_t OVX_WCHAR;  // UTF-16 on Windows
#else
#define OVXCOMMON_API extern "C"
typedef char16_t OVX_WCHAR;  // keeps DeviceListRecord's layout off Windows
#endif

// A Win32 HANDLE (a mutex from GetMutex); close it with CloseHandle.
typedef void* OVX_HANDLE;

// Device message handler: the 40-byte message (valid only during the call)
// and the message's 32-bit word at offset 32. Runs on the module's reader
// thread.
typedef void (*OVX_MESSAGE_HANDLER)(void* pMessage, uint32_t nParam);

// Power-change handler: 1 or 2 for the driver's power events 2 and 3. Runs on
// the library's watch thread.
typedef void (*OVX_POWER_HANDLER)(int32_t nEvent);

#pragma pack(push, 1)
// One enumerated device, as GetDeviceList writes it: the PCI device (slot)
// number and the name that OpenDevice accepts, NUL-terminated.
struct DeviceListRecord {
  uint32_t SlotNumber;
  OVX_WCHAR DeviceName[260];
};
#pragma pack(pop)
static_assert(sizeof(DeviceListRecord) == 524, "DeviceListRecord is 524 bytes");
static_assert(sizeof(OVX_WCHAR) == 2, "device names are UTF-16");

// Enumeration, opening and raw driver requests.
class CExportDeviceUtil {
 public:
  virtual void Release() = 0;
  // Appends every present board to the device list and writes record i for
  // the board with enumeration index i; pList needs room for all of them.
  virtual uint32_t GetDeviceList(DeviceListRecord* pList) = 0;
  // Opens the first listed device of that name (1200 if none is listed).
  virtual uint32_t OpenDevice(const wchar_t* pDeviceName) = 0;
  virtual void CloseDevice() = 0;
  // One I/O control request, waiting at most nTimeOut ms. Returns 1 on
  // success, 0 on failure; *pStatus always receives the status.
  virtual int32_t SendIoControl(uint32_t nCode, void* pIn, uint32_t nInSize, void* pOut, uint32_t nOutSize,
                                uint32_t* pBytesReturned, uint32_t* pStatus, uint32_t nTimeOut) = 0;
  virtual int32_t GetDeviceIndex() = 0;

 protected:
  // Objects are disposed of with Release(), never deleted by the client.
  virtual ~CExportDeviceUtil() = 0;
};

// Register, block, DMA and configuration access, message handlers and
// per-device named mutexes ("DEV<index>_MUTEX<tag><number>").
class CExportGenericfunc {
 public:
  virtual void Release() = 0;
  // Opens or creates the mutex and waits for it; the caller releases and
  // closes it.
  virtual uint32_t GetMutex(OVX_HANDLE* phMutex, const wchar_t* pTag, int32_t nNumber) = 0;
  virtual uint32_t GetDebugMask() = 0;
  virtual uint32_t generic_register_handler(uint32_t ModuleID, uint32_t MaxQueue, uint32_t Mode,
                                            OVX_MESSAGE_HANDLER pHandler) = 0;
  virtual uint32_t generic_remove_handler(uint32_t nModuleID) = 0;
  // pReq and pRes are 32-byte records.
  virtual uint32_t generic_request_command(void* pReq, void* pRes, uint32_t nTimeOut) = 0;
  virtual uint32_t generic_read32(uint64_t DevAddr, uint32_t* pData) = 0;
  virtual uint32_t generic_write32(uint64_t DevAddr, uint32_t Data) = 0;
  virtual uint32_t generic_read64(uint64_t DevAddr, uint64_t* pData) = 0;
  virtual uint32_t generic_write64(uint64_t DevAddr, uint64_t Data) = 0;
  virtual uint32_t generic_read_block(uint64_t DevAddr, void* pDataAddr, uint32_t DataSize) = 0;
  virtual uint32_t generic_write_block(uint64_t DevAddr, void* pDataAddr, uint32_t DataSize) = 0;
  virtual uint32_t generic_read_dma(uint64_t DevAddr, void* pDataAddr, uint32_t DataSize) = 0;
  virtual uint32_t generic_write_dma(uint64_t DevAddr, void* pDataAddr, uint32_t DataSize) = 0;
  virtual uint32_t generic_read_config(uint32_t ConfOffset, void* pDataAddr, uint32_t DataSize) = 0;
  virtual uint32_t generic_write_config(uint32_t ConfOffset, void* pDataAddr, uint32_t DataSize) = 0;

 protected:
  // Objects are disposed of with Release(), never deleted by the client.
  virtual ~CExportGenericfunc() = 0;
};

// Board-wide control: reset, restart, soft update, state and power events.
class CExportSystemCtrl {
 public:
  virtual void Release() = 0;
  virtual uint32_t ResetRequest() = 0;
  virtual uint32_t SystemReset() = 0;
  virtual uint32_t DeviceRestart() = 0;
  virtual uint32_t SoftUpdate() = 0;
  virtual uint32_t CheckDeviceState(uint32_t* pState, uint32_t nTimeOut) = 0;
  // One watch per process; a second registration returns 0 and is ignored.
  virtual uint32_t RegisterHandlerForDetectPowerChange(OVX_POWER_HANDLER pHandler) = 0;

 protected:
  // Objects are disposed of with Release(), never deleted by the client.
  virtual ~CExportSystemCtrl() = 0;
};

inline CExportDeviceUtil::~CExportDeviceUtil() {}
inline CExportGenericfunc::~CExportGenericfunc() {}
inline CExportSystemCtrl::~CExportSystemCtrl() {}

OVXCOMMON_API CExportDeviceUtil* CreateDeviceUtilInstance(void);
OVXCOMMON_API CExportGenericfunc* CreateGenericfuncInstance(void);
OVXCOMMON_API CExportSystemCtrl* CreateSystemCtrlInstance(void);

#endif
