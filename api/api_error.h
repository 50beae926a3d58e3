// The library's one error record and its functions.
//
// Every library operation returns 0 on success and -1 on failure; on
// failure the process-wide ApiErrorRecord tells which sources reported an
// error (the library, Windows, the controller driver, the controller
// firmware), the code of each, the controller's own text, and a composed
// message of one "(0x%02X:0x%04X): %s" line per source, joined by newlines.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The result of a change made under a controller's management lock (cache
// settings, SAF-TE enclosure writes, firmware download) whose release then
// failed: the change stands, the controller stays locked and the error
// record holds the release's error.
constexpr int kApiChangedLockHeld = 1;

// ApiErrorFlags: which parts the record holds (ORed together since the
// last clear) and which controller family reported them.
constexpr uint32_t kApiErrorApi = 0x1;
constexpr uint32_t kApiErrorOs = 0x2;
constexpr uint32_t kApiErrorDriver = 0x4;
constexpr uint32_t kApiErrorController = 0x8;
constexpr uint32_t kApiErrorPrane = 0x10000;  // older family
constexpr uint32_t kApiErrorRhosk = 0x20000;  // newer family

// The combinations the transport records.
constexpr uint32_t kApiErrorPraneDriver = kApiErrorPrane | kApiErrorDriver;
constexpr uint32_t kApiErrorRhoskDriver = kApiErrorRhosk | kApiErrorDriver;
constexpr uint32_t kApiErrorRhoskController = kApiErrorRhosk | kApiErrorController;

// API error codes that several layers record (the texts are the API
// message table's, message source 11).
enum ApiErrorCode : uint32_t {
    kApiNoController = 1,
    kApiNotSupported = 2,  // "Feature not supported"
    kApiInvalidControlCode = 5,
    kApiInvalidOpcode = 6,
    kApiNoMemory = 7,
    kApiInvalidControllerId = 8,
    kApiInvalidUnitId = 9,
    kApiInvalidDriveId = 10,
    kApiInvalidPortId = 11,
    kApiNotifyOsFailed = 21,
    kApiRemoveDeviceFailed = 69,
    kApiControllerDisabled = 81,
    kApiInvalidEnclosureId = 92,
    kApiInvalidFanId = 93,
    kApiInvalidDoorId = 94,
    kApiInvalidAlarmId = 95,
    kApiInvalidSlotId = 96,
    kApiNoDriveSlot = 101,
    kApiUnitHasNoLuns = 107,
    kApiInvalidTempSensorId = 110,
    kApiBufferTooSmall = 116,
    kApiInvalidPowerSupplyId = 117,
    kApiInvalidElementId = 119,
    kApiInvalidPhyId = 120,
};

constexpr std::size_t kControllerTextSize = 128;
constexpr std::size_t kErrorMessageSize = 1024;

// The record as the library keeps it and copies it whole to its callers;
// its layout is part of the library's interface.
struct ApiErrorRecord {
    uint32_t flags;
    uint32_t apiCode;
    uint32_t osCode;
    uint32_t driverCode;
    uint32_t controllerCode;
    char controllerText[kControllerTextSize];  // the newer-family firmware's own text
    uint32_t messageLength;                    // length of the composed message
    char message[kErrorMessageSize];           // composed message, terminated
};
static_assert(sizeof(ApiErrorRecord) == 5 * 4 + 128 + 4 + 1024, "error record layout");

namespace ApiError {

// Zeroes the whole record.
void Clear();

// Records one error: ORs `flags` into the record, stores the code of every
// part that `flags` names and appends one composed line per part, in the
// order API, OS, driver, controller. `controllerText` (may be null) is the
// firmware's text, kept in the record; `controllerMessage` (may be null) is
// the firmware's message, used for the controller part in place of the
// built-in text.
void Set(uint32_t flags, uint32_t apiCode, uint32_t osCode, uint32_t driverCode,
         uint32_t controllerCode, const char* controllerText, const char* controllerMessage);

// Copies the record to `out`; with a language other than 0 the composed
// message is first rebuilt in that language (message files in `directory`).
void Get(ApiErrorRecord* out, const char* directory, uint8_t language);

// Rebuilds the composed message from the stored codes in `language` and
// copies the record to `out`.
void Recompose(ApiErrorRecord* out, const char* directory, uint8_t language);

// The API code of the record.
uint32_t GetApiCode();

// The usual failure of a library operation: clears the record, records API
// error `apiCode` and returns -1.
int Fail(uint32_t apiCode);

// Puts a record back as it was copied (used where bookkeeping after an
// operation must leave the operation's error untouched).
void Restore(const ApiErrorRecord& record);

// Copies the record when made and puts it back when it goes, on every way
// out (an exception passing through too): bookkeeping after an operation (a
// notice, a clean-up, a probe with a fallback) leaves the operation's error
// as it was.
class RecordKeeper {
  public:
    RecordKeeper();
    ~RecordKeeper();
    RecordKeeper(const RecordKeeper&) = delete;
    RecordKeeper& operator=(const RecordKeeper&) = delete;

  private:
    ApiErrorRecord saved_;
};

// Runs `step`, a call whose failure the operation does not report: its
// result is dropped and the record stays as it was.
template <typename Step>
void Quietly(Step step) {
    const RecordKeeper keeper;
    (void)step();
}

}  // namespace ApiError

namespace ApiUtil {

// Copies `count` bytes front to back; a count of 0 or less copies nothing.
void CopyBytes(void* destination, const void* source, int32_t count);
// Sets `count` bytes to `value`; a count of 0 or less sets nothing.
void FillBytes(void* destination, uint8_t value, int32_t count);
// Strips leading and trailing blanks, tabs and newlines in place and moves
// what remains to the start of the buffer. Safe on null, empty and
// all-blank texts. Returns the number of characters removed.
int TrimWhitespace(char* text);

// printf-style formatting into a std::string of whatever length it needs.
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace ApiUtil
