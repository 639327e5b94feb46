#pragma once
// The link control: the thirteen operations through which the program reaches the terminal.
// Every implementation (the simulated terminal in process, the serial link) keeps these
// argument orders, types and result values. Note the orders: GetByte takes the page first,
// GetText and WriteText take it second, WriteByte takes it last.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace vk930 {

using Short = std::int16_t;  // the control's 16-bit signed integer

class PageCopy;

inline constexpr Short kBaudClose = 0;
inline constexpr Short kBaudApplication = 19200;
inline constexpr Short kBaudBootLoader = 4800;
inline constexpr Short kDeviceTypeHandTerminal = 6;
inline constexpr Short kReadInfoAnswered = 1;
inline constexpr Short kWriteByteOk = 1;
inline constexpr Short kWriteByteFailed = -1;

// UploadFirmware's statuses; each failing step has its own.
enum UploadStatus : Short {
    kUploadBootFileBad = 1,
    kUploadFirmwareFileBad = 2,
    kUploadNoZero = 3,        // the boot loader's 0x00 never came (nothing answers)
    kUploadNoAA = 4,          // no 0xAA answer to the sync
    kUploadStage1Failed = 5,  // boot file not taken
    kUploadStage2Failed = 6,  // erase failed
    kUploadStage3Failed = 7,  // an image block not taken
    kUploadVerifyFailed = 8,
    kUploadSucceeded = 10,
};

// Called while a firmware image is sent: bytes sent so far and bytes in all.
using UploadProgress = std::function<void(std::size_t sent, std::size_t total)>;

class CLinkCtrl {
  public:
    virtual ~CLinkCtrl() = default;

    // Each operation's dispatch identifier (DISPID) in the control is named first.

    // DISPID 3. Opens the port at baud 19200 (application) or 4800 (boot loader); baud 0
    // closes. Returns true when opened. Opening a port that is already open answers true.
    // Closing a closed port does no harm (result false). Port 0 never opens, and releases a
    // port that is open: the firmware run ends with Connect(0, 4800).
    virtual bool Connect(Short port, Short baud) = 0;
    // DISPID 48. 1 when a terminal answered; 0 while no port is open or nothing answers.
    virtual Short ReadInfo() = 0;
    // DISPID 6. 6 for the hand terminal; -1 when nothing answers or no port is open.
    virtual Short GetDeviceType() = 0;
    // DISPID 7. Firmware version without a point ("14"); empty on failure.
    virtual std::string GetVersionText() = 0;
    // DISPID 8. The communication ID in decimal (page 0 offset 1 * 256 + offset 2); empty on
    // failure.
    virtual std::string GetCommIdText() = 0;
    // DISPID 29 and 30. Fetch the whole page (first 0, last 255) into the link's copy; false
    // on failure.
    virtual bool ReadPage0(Short first, Short last) = 0;
    virtual bool ReadPage1(Short first, Short last) = 0;
    // DISPID 31. A byte (0..255) of the page copy as last fetched; 0 for a page or offset out
    // of range.
    virtual Short GetByte(Short page, Short offset) = 0;
    // DISPID 33. `length` bytes of the page copy from `offset`, clipped at the page end; empty
    // when the offset is out of range.
    virtual std::string GetText(Short offset, Short page, Short length) = 0;
    // DISPID 24. Programs one byte into the terminal. 1 on success, -1 on failure (never 0).
    virtual Short WriteByte(Short offset, Short value, Short page) = 0;
    // DISPID 19. Programs the text's bytes from `offset` on; false on failure or when the text
    // would reach past the page. The page copy changes only at the next page fetch.
    virtual bool WriteText(Short offset, Short page, const std::string& text) = 0;
    // DISPID 10. Restarts the terminal.
    virtual void ResetDevice() = 0;
    // DISPID 21. Sends a firmware image through the boot loader (port opened at 4800): an
    // UploadStatus, kUploadSucceeded (10) when uploaded.
    virtual Short UploadFirmware(const std::string& path) = 0;

    // True when the last operation that needs the terminal (every one but GetByte and GetText,
    // which answer from the page copy) failed: not answered, refused, or no port open. Not a
    // dispatch operation: it is how a caller learns that ResetDevice, which returns nothing,
    // was not confirmed. Links that cannot tell answer false.
    virtual bool LastCallFailed() const { return false; }

    // The link's copy of the pages as last fetched, read without a call of its own (so a trace
    // of the calls stays as the command made them); nullptr for links that keep none. Not a
    // dispatch operation: the backup before a Set and the service log read the pages the
    // command fetched through it.
    virtual const PageCopy* FetchedPages() const { return nullptr; }

    // Why the last UploadFirmware failed when a file was to blame (status 1 or 2): the boot or
    // firmware file's problem, e.g. "hsbt16.a20: line 1: bad checksum BC, expected BB"; empty
    // otherwise. Not a dispatch operation; links that cannot tell answer empty.
    virtual std::string LastUploadProblem() const { return {}; }

    // Optional progress report of UploadFirmware; the default ignores it.
    virtual void SetUploadProgress(UploadProgress progress) { (void)progress; }
};

}  // namespace vk930
