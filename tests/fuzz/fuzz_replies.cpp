// Controller replies as the library decodes them. A test host answers
// every controller request (the drivers' IOCTL_SCSI_MINIPORT requests of
// both families) with bytes of the input; everything else (device
// enumeration, disks, registry, system facts) comes from the built-in
// default host held in memory, which also answers the discovery before the
// input takes over.
//
// Input: byte 0 chooses the controller (of the default host's three:
// newest family with an SES enclosure, model 6 with a SAF-TE backplane,
// older family), byte 1 the group of library operations run on it, then
// one answer per request:
//   flags (u8): bit 0 the call fails (ERROR_IO_DEVICE);
//               bit 1 a u32 ReturnCode follows;
//               bit 2 a u8 count and that many bytes follow, laid over the
//               request after its SRB_IO_CONTROL header (the older
//               family's packet with its status byte, the newer family's
//               command header and packet with the controller's status,
//               error code and texts);
//   u16 length and that many bytes, laid over the request's data area.
// Bytes not laid over keep what the library sent. Past the end of the
// input every request succeeds with the buffer as sent.
//
// With KV_FUZZ_RECORD=<folder> set, the binary instead writes one seed per
// controller and group, the default host's own answers in this format,
// and exits.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "api/api.h"
#include "api/dpm_records.h"
#include "api/driver.h"
#include "api/rhosk/rhosk_codes.h"
#include "emulator/emulated_host.h"
#include "fuzz_support.h"
#include "platform/host_system.h"
#include "tests/unit/forwarding_host.h"

namespace {

using Bytes = std::vector<uint8_t>;

// --- The input as a stream of answers ---

class Reader {
  public:
    Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool empty() const { return at_ >= size_; }
    uint8_t u8() { return at_ < size_ ? data_[at_++] : 0; }
    uint16_t u16() { return static_cast<uint16_t>(u8() | u8() << 8); }
    uint32_t u32() { return u16() | static_cast<uint32_t>(u16()) << 16; }
    // Up to `n` bytes (fewer at the end of the input).
    std::pair<const uint8_t*, size_t> take(size_t n) {
        const size_t got = std::min(n, size_ - std::min(at_, size_));
        const uint8_t* from = data_ + std::min(at_, size_);
        at_ += got;
        return {from, got};
    }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

constexpr uint8_t kFail = 1;
constexpr uint8_t kReturnCode = 2;
constexpr uint8_t kCommandArea = 4;

// Where a request's data area starts, read from the request as the
// library builds it.
size_t DataAreaOf(const uint8_t* buf, uint32_t size) {
    if (size < srb::kHeaderSize)
        return size;
    if (std::memcmp(buf + srb::kSignature, srb::kPraneSignature, srb::kSignatureSize) == 0)
        return std::min<size_t>(prane_request::kData, size);
    uint32_t code = 0;
    std::memcpy(&code, buf + srb::kControlCode, sizeof code);
    if ((code & 0xF0000000u) != 0xF0000000u || (code & 0xFFFF0000u) == 0xFFFF0000u)
        return srb::kHeaderSize;
    const size_t packet = rhosk_request::kPayload + FirmwareCommandBuffer::kHeaderSize;
    if (size <= packet + FirmwareCommandBuffer::kField6)
        return size;
    const bool longForm = (buf[packet] & 0x1F) == 0x11 && buf[packet + 6] >= 0x80;
    return std::min<size_t>(rhosk_request::kPayload + (longForm ? rhosk_request::kLongCommand
                                                                : rhosk_request::kShortCommand),
                            size);
}

// The host of the target: the default host for everything, the input for
// the controllers' answers once armed. With a recorder set, it records
// the default host's answers in the input's format instead.
class ReplyHost : public ForwardingHost {
  public:
    explicit ReplyHost(std::unique_ptr<emulator::EmulatedHost> machine)
        : ForwardingHost(std::move(machine)) {}

    void Arm(Reader* input) { input_ = input; }
    // Once armed, the devices at these paths (the controllers) are opened
    // by this host alone: no request reaches the default host's drivers.
    void TakeOver(std::vector<std::string> paths) { controllerPaths_ = std::move(paths); }
    void Record(Bytes* out) { record_ = out; }

    bool deviceIoControl(platform::Handle h, uint32_t code, void* in, uint32_t inSize, void* out,
                         uint32_t outSize, uint32_t* returned) override {
        if (code != srb::kIoctlScsiMiniport || in != out || inSize != outSize || in == nullptr)
            return inner().deviceIoControl(h, code, in, inSize, out, outSize, returned);
        auto* buf = static_cast<uint8_t*>(out);
        if (record_ != nullptr)
            return RecordAnswer(h, code, buf, outSize, returned);
        if (input_ == nullptr || !IsOwnHandle(h))
            return inner().deviceIoControl(h, code, in, inSize, out, outSize, returned);
        return Answer(buf, outSize, returned);
    }

    // --- what else the target takes over from the default host ---
    platform::Handle createFile(const char* path, uint32_t access, uint32_t share) override {
        if (input_ != nullptr && path != nullptr &&
            std::find(controllerPaths_.begin(), controllerPaths_.end(), path) !=
                controllerPaths_.end()) {
            return kOwnHandles + (nextHandle_++ % 0x10000);
        }
        return inner().createFile(path, access, share);
    }
    bool closeHandle(platform::Handle h) override {
        return IsOwnHandle(h) || inner().closeHandle(h);
    }
    uint32_t getLastError() override {
        return failed_ ? platform::kErrorIoDevice : inner().getLastError();
    }
    void sleep(uint32_t) override {}

  private:
    static constexpr platform::Handle kOwnHandles = 0x7F000000;
    static bool IsOwnHandle(platform::Handle h) {
        return h >= kOwnHandles && h < kOwnHandles + 0x10000;
    }

    bool Answer(uint8_t* buf, uint32_t size, uint32_t* returned) {
        failed_ = false;
        if (returned != nullptr)
            *returned = size;
        if (input_->empty())
            return true;
        const uint8_t flags = input_->u8();
        if ((flags & kReturnCode) != 0) {
            const uint32_t code = input_->u32();
            std::memcpy(buf + srb::kReturnCode, &code, sizeof code);
        }
        if ((flags & kCommandArea) != 0)
            LayOver(buf, size, srb::kHeaderSize, input_->u8());
        LayOver(buf, size, DataAreaOf(buf, size), input_->u16());
        if ((flags & kFail) != 0) {
            failed_ = true;
            return false;
        }
        return true;
    }

    void LayOver(uint8_t* buf, uint32_t size, size_t at, size_t length) {
        const auto [from, got] = input_->take(length);
        const size_t room = at < size ? size - at : 0;
        if (got > 0 && room > 0)
            std::memcpy(buf + at, from, std::min(got, room));
    }

    // Records the default host's answer: the changed command area and the
    // data area, each without the tail that the request already held.
    bool RecordAnswer(platform::Handle h, uint32_t code, uint8_t* buf, uint32_t size,
                      uint32_t* returned) {
        const Bytes sent(buf, buf + size);
        const bool ok = inner().deviceIoControl(h, code, buf, size, buf, size, returned);
        uint32_t returnCode = 0;
        std::memcpy(&returnCode, buf + srb::kReturnCode, sizeof returnCode);
        const size_t data = DataAreaOf(sent.data(), size);
        const size_t commandEnd = std::min<size_t>(data, srb::kHeaderSize + 255);
        const size_t commandLength = ChangedLength(sent, buf, srb::kHeaderSize, commandEnd);
        const size_t dataLength =
            ChangedLength(sent, buf, data, std::min<size_t>(size, data + 0xFFFF));
        uint8_t flags = (ok ? 0 : kFail) | (returnCode != 0 ? kReturnCode : 0) |
                        (commandLength > 0 ? kCommandArea : 0);
        record_->push_back(flags);
        if (returnCode != 0)
            for (int i = 0; i < 4; ++i)
                record_->push_back(static_cast<uint8_t>(returnCode >> (8 * i)));
        if (commandLength > 0) {
            record_->push_back(static_cast<uint8_t>(commandLength));
            record_->insert(record_->end(), buf + srb::kHeaderSize,
                            buf + srb::kHeaderSize + commandLength);
        }
        record_->push_back(static_cast<uint8_t>(dataLength));
        record_->push_back(static_cast<uint8_t>(dataLength >> 8));
        record_->insert(record_->end(), buf + data, buf + data + dataLength);
        return ok;
    }

    static size_t ChangedLength(const Bytes& sent, const uint8_t* now, size_t from, size_t to) {
        size_t end = from;
        for (size_t i = from; i < to; ++i)
            if (now[i] != sent[i])
                end = i + 1;
        return end - from;
    }

    Reader* input_ = nullptr;
    Bytes* record_ = nullptr;
    bool failed_ = false;
    std::vector<std::string> controllerPaths_;
    platform::Handle nextHandle_ = 0;
};

// --- The library operations, in groups ---

// A text output of exactly the size the library documents, on the heap so
// that a write past it is seen.
template <size_t N>
struct Text {
    std::unique_ptr<char[]> text = std::make_unique<char[]>(N);
    char* get() { return text.get(); }
};

template <size_t N>
size_t Count(const ObjectIdList<N>& list, size_t most) {
    return std::min(list.size(), most);
}

void ControllerFacts(ObjectId c) {
    Text<kDriverVersionTextSize> driver;
    (void)Api::GetDriverVersion(c, driver.get());
    using Getter = int (*)(ObjectId, char*);
    for (Getter get :
         {Api::GetControllerSerial, Api::GetPcbVersion, Api::GetAchipVersion, Api::GetPchipVersion,
          Api::GetControllerFirmwareVersion, Api::GetBiosVersion, Api::GetBootLoaderVersion}) {
        Text<kVersionTextSize> text;
        (void)get(c, text.get());
    }
    Text<kModelTextSize> model;
    (void)Api::GetControllerModel(c, model.get());
    uint32_t n = 0;
    using Count32 = int (*)(ObjectId, uint32_t*);
    for (Count32 get :
         {Api::GetAvailableMemory, Api::GetControllerBusInfo, Api::GetNumPorts, Api::GetNumDrives,
          Api::GetNumConnections, Api::GetNumActiveDrives, Api::GetDriveCoercionFactor,
          Api::GetNumberSpinupsAllowed, Api::GetStaggerTime, Api::GetMaxUnits, Api::GetMaxDrives,
          Api::GetMaxUnitCount, Api::GetMaxActiveUnitCount, Api::GetMaxDrivesPerUnit,
          Api::HasFirmwareCompatLevel36, Api::HasFirmwareCompatLevel37,
          Api::IsBasicVerifySupported})
        (void)get(c, &n);
    uint8_t b = 0;
    using Get8 = int (*)(ObjectId, uint8_t*);
    for (Get8 get :
         {Api::GetAutoRebuild, Api::GetMultiLunPolicy, Api::GetLbaReordering, Api::GetAvMode,
          Api::GetExportJbodPolicy, Api::GetOnDegradePolicy, Api::GetIgnoreFuaWrite,
          Api::GetForceDriveCacheOn, Api::GetModePageControl, Api::GetRebuildMode,
          Api::GetVerifyMode, Api::GetRebuildScheduleState, Api::GetVerifyScheduleState})
        (void)get(c, &b);
    uint64_t lun = 0;
    (void)Api::GetLunSize(c, &lun);
    uint16_t flags = 0;
    (void)Api::GetSelftestFlags(c, &flags);
    (void)Api::GetBasicVerifyPreferredStart(c, &flags);
    WeeklySchedule schedule{};
    (void)Api::GetTaskSchedule(c, &schedule);
    int32_t rate = 0;
    (void)Api::GetRebuildRate(c, &rate);
    (void)Api::GetVerifyRate(c, &rate);
}

void UnitFacts(ObjectId unit) {
    uint8_t b = 0;
    using Get8 = int (*)(ObjectId, uint8_t*);
    for (Get8 get :
         {Api::GetUnitStatus, Api::GetUnitFlags, Api::IsUnitInitialized, Api::IsUnitTaskRunning,
          Api::GetUnitWriteCache, Api::GetReadCacheMode, Api::GetEccPolicy, Api::GetAutoVerify,
          Api::GetUnitQueuing, Api::GetRapidRecovery, Api::GetWriteDpoPolicy, Api::GetKeepwellMode,
          Api::GetUnitIdentify})
        (void)get(unit, &b);
    uint32_t n = 0;
    using Get32 = int (*)(ObjectId, uint32_t*);
    for (Get32 get : {Api::GetUnitType, Api::GetUnitPercentComplete, Api::GetUnitStripeSize,
                      Api::GetUnitParityNumber, Api::GetUnitVolumeCount})
        (void)get(unit, &n);
    uint64_t sectors = 0;
    (void)Api::GetUnitCapacity(unit, &sectors);
    Text<kUnitNameTextSize> serial, name;
    (void)Api::GetUnitSerial(unit, serial.get());
    (void)Api::GetUnitName(unit, name.get());
    ObjectIdList128 list{};
    (void)Api::GetUnitDriveList(unit, &list);
    if (Api::GetUnitVolumeList(unit, &list) == 0)
        for (size_t i = 0; i < Count(list, 4); ++i)
            (void)Api::GetVolumeCapacity(list.ids[i], &sectors);
    ObjectIdList128 subunits{};
    (void)Api::GetRaid6SubunitIdList(unit, &subunits);
    if (Api::GetSubunitIdList(unit, &subunits) == 0)
        for (size_t i = 0; i < Count(subunits, 3); ++i) {
            (void)Api::GetUnitStatus(subunits.ids[i], &b);
            (void)Api::GetUnitType(subunits.ids[i], &n);
            (void)Api::GetUnitPercentComplete(subunits.ids[i], &n);
        }
}

void Units(ObjectId c) {
    ObjectIdList128 units{};
    if (Api::GetUnitIdList(c, &units) == 0)
        for (size_t i = 0; i < Count(units, 4); ++i)
            UnitFacts(units.ids[i]);
}

void DriveFacts(ObjectId drive) {
    uint8_t b = 0;
    using Get8 = int (*)(ObjectId, uint8_t*);
    for (Get8 get : {Api::GetDriveStatus, Api::GetDriveUnitFlags, Api::GetDriveInterface,
                     Api::GetDriveQueuingSupported, Api::GetDriveQueuingEnabled,
                     Api::GetDriveLinkSpeedSupported, Api::GetDriveLinkSpeed, Api::GetPortIdentify})
        (void)get(drive, &b);
    uint32_t n = 0;
    using Get32 = int (*)(ObjectId, uint32_t*);
    for (Get32 get :
         {Api::GetDrivePortCount, Api::GetDriveConnectionCount, Api::GetDriveReallocatedSectors,
          Api::GetDrivePowerOnHours, Api::GetDriveSpindleSpeed})
        (void)get(drive, &n);
    int celsius = 0;
    (void)Api::GetDriveTemperature(drive, &celsius);
    uint64_t sectors = 0;
    (void)Api::GetDriveCapacity(drive, &sectors);
    Text<kModelTextSize> model;
    (void)Api::GetDriveModel(drive, model.get());
    Text<kVersionTextSize> serial, firmware;
    (void)Api::GetDriveSerial(drive, serial.get());
    (void)Api::GetDriveFirmwareVersion(drive, firmware.get());
    ObjectId other{};
    (void)Api::GetDriveUnitId(drive, &other);
    (void)Api::GetPortSlotId(drive, &other);
    (void)Api::GetPortPhyId(drive, &other);
    uint8_t wwn[kWorldWideNameSize] = {};
    (void)Api::GetDriveWwn(drive, wwn);
    auto counts = std::make_unique<uint16_t[]>(256);  // one counter per port
    (void)Api::GetPortIoStat(drive, counts.get());
}

void Drives(ObjectId c) {
    ObjectIdList128 drives{};
    if (Api::GetDriveIdList(c, &drives) == 0)
        for (size_t i = 0; i < Count(drives, 4); ++i)
            DriveFacts(drives.ids[i]);
    ObjectIdList128 ports{};
    if (Api::GetPortIdList(c, &ports) == 0)
        for (size_t i = 0; i < Count(ports, 2); ++i)
            DriveFacts(ports.ids[i]);
    auto stats = std::make_unique<IoStatTable>();
    (void)Api::GetControllerIoStat(c, stats.get());
}

void Events(ObjectId c) {
    auto record = std::make_unique<AenRecord>();
    if (Api::GetFirstAen(c, record.get()) == 0)
        for (int i = 0; i < 4 && record->code != 0; ++i)
            if (Api::GetNextAen(c, record->eventId, record.get()) != 0)
                break;
    if (Api::GetLastAen(c, record.get()) == 0)
        for (int i = 0; i < 4 && record->code != 0; ++i)
            if (Api::GetPreviousAen(c, record->eventId, record.get()) != 0)
                break;
    uint32_t a = 0, b = 0;
    (void)Api::GetEventCaptureMode(c, &a);
    (void)Api::GetEventCaptureState(c, &a, &b);
    (void)Api::GetEventCaptureControl(c, &a);
    (void)Api::GetEventCaptureHostMask(c, &a);
    (void)Api::GetEventCaptureInternalMask(c, &a);
    (void)Api::GetEventCaptureInternalUnmask(c, &a);
    uint32_t segmentSize = 0, segments = 0;
    if (Api::GetEventCaptureSegmentInfo(c, &segmentSize, &segments) == 0 && segments > 0) {
        Bytes segment(std::min<uint32_t>(segmentSize, 1u << 16));
        (void)Api::GetEventCaptureSegment(c, 0, segment.data(),
                                          static_cast<uint32_t>(segment.size()));
    }
    Bytes log(kControllerLogSize);
    (void)Api::GetControllerErrorLog(c, log.data());
    (void)Api::GetControllerLog(c, log.data());
}

template <size_t N, typename Element>
void Elements(ObjectId enclosure, int (*list)(ObjectId, ObjectIdList<N>*), Element each) {
    ObjectIdList<N> ids{};
    if (list(enclosure, &ids) == 0)
        for (size_t i = 0; i < Count(ids, 3); ++i)
            each(ids.ids[i]);
}

void EnclosureFacts(ObjectId e) {
    uint8_t b = 0;
    uint32_t n = 0;
    (void)Api::GetEnclosureProtocol(e, &b);
    Text<kEnclosureVendorTextSize> vendor;
    Text<kEnclosureProductTextSize> product;
    Text<kEnclosureRevisionTextSize> revision;
    (void)Api::GetEnclosureVendor(e, vendor.get());
    (void)Api::GetEnclosureProductId(e, product.get());
    (void)Api::GetEnclosureProductRevision(e, revision.get());
    Bytes help(256);
    uint32_t length = static_cast<uint32_t>(help.size());
    (void)Api::GetEnclosureHelpText(e, reinterpret_cast<char*>(help.data()), &length);
    (void)Api::GetEnclosureStatus(e, &n);
    (void)Api::IsIdentifySupported(e, &n);
    Elements(e, Api::GetFanIdList, [](ObjectId fan) {
        uint8_t v = 0;
        uint32_t rpm = 0;
        (void)Api::GetFanStatus(fan, &v);
        (void)Api::GetFanSpeed(fan, &v);
        (void)Api::GetFanRpm(fan, &rpm);
        (void)Api::GetFanIdentify(fan, &v);
    });
    Elements(e, Api::GetDoorIdList, [](ObjectId door) {
        uint32_t v = 0;
        (void)Api::GetDoorLockStatus(door, &v);
    });
    Elements(e, Api::GetAlarmIdList, [](ObjectId alarm) {
        uint32_t status = 0;
        uint8_t v = 0;
        (void)Api::GetAlarmStatus(alarm, &status);
        (void)Api::GetAlarmState(alarm, &v);
        (void)Api::GetAlarmMute(alarm, &v);
        (void)Api::GetAlarmIdentify(alarm, &v);
    });
    Elements(e, Api::GetSlotIdList, [](ObjectId slot) {
        uint32_t flags = 0;
        uint8_t v = 0;
        ObjectId port{};
        (void)Api::GetSlotStatus(slot, &flags);
        (void)Api::GetSlotIdentify(slot, &v);
        (void)Api::GetSlotPortId(slot, &port);
    });
    Elements(e, Api::GetTempSensorIdList, [](ObjectId sensor) {
        uint8_t v = 0;
        int32_t celsius = 0;
        (void)Api::GetTempSensorStatus(sensor, &v);
        (void)Api::GetTempSensorThresholdFlags(sensor, &v);
        (void)Api::GetTemperature(sensor, &celsius);
        (void)Api::GetTempSensorIdentify(sensor, &v);
    });
    Elements(e, Api::GetPowerSupplyIdList, [](ObjectId supply) {
        uint8_t v = 0;
        (void)Api::GetPowerSupplyStatus(supply, &v);
        (void)Api::GetPowerSupplyVoltageCurrent(supply, &v);
        (void)Api::GetPowerSupplyIdentify(supply, &v);
    });
}

void Enclosures(ObjectId c) {
    ObjectIdList16 enclosures{};
    if (Api::GetEnclosureIdList(c, &enclosures) == 0)
        for (size_t i = 0; i < Count(enclosures, 2); ++i) {
            ObjectId e{};
            if (Api::MakeEnclosureId(c[ObjectId::kController], static_cast<uint8_t>(i), &e) == 0)
                EnclosureFacts(e);
        }
}

void SmartAndStatistics(ObjectId c) {
    uint8_t state = 0;
    (void)Api::GetPerformanceMonitorState(c, &state);
    auto config = std::make_unique<DpmConfig>();
    (void)Api::GetPerformanceMonitorConfig(c, config.get());
    ObjectIdList128 drives{};
    if (Api::GetDriveIdList(c, &drives) != 0)
        return;
    for (size_t i = 0; i < Count(drives, 2); ++i) {
        const ObjectId d = drives.ids[i];
        auto smart = std::make_unique<uint8_t[]>(kSmartDataSize);
        (void)Api::GetDriveSmartData(d, smart.get());
        auto stats = std::make_unique<DpmStats>();
        (void)Api::GetDriveInstantStats(d, stats.get());
        auto histogram = std::make_unique<DpmHistogram>();
        auto records = std::make_unique<DpmLongCommand[]>(kDpmMaxRecords);
        for (uint32_t source : {kDpmLive, kDpmOnDisk}) {
            (void)Api::GetDriveRunningAverage(d, stats.get(), source);
            (void)Api::GetDriveHistogram(d, histogram.get(), source);
            (void)Api::GetDriveLongCommandTimes(d, records.get(), source);
        }
        auto extended = std::make_unique<DpmExtendedStats>();
        (void)Api::GetDriveExtendedStats(d, extended.get());
    }
}

void Battery(ObjectId c) {
    uint32_t n = 0;
    using Get32 = int (*)(ObjectId, uint32_t*);
    for (Get32 get :
         {Api::IsBbuPresent, Api::IsBbuEnabled, Api::IsBatteryPresent, Api::GetBbuReady,
          Api::GetBbuStatusWord, Api::GetBbuPcbRevision, Api::GetEstimatedBackupCapacity})
        (void)get(c, &n);
    int32_t level = 0;
    (void)Api::GetBatteryVoltageStatus(c, &level);
    (void)Api::GetBatteryTemperatureStatus(c, &level);
    (void)Api::GetBbuStatus(c, &level);
    Text<32> serial, firmware, loader;
    (void)Api::GetBbuSerial(c, serial.get());
    (void)Api::GetBbuFirmwareVersion(c, firmware.get());
    (void)Api::GetBbuBootloaderVersion(c, loader.get());
    Text<kBbuInfoTextSize> info;
    (void)Api::GetBbuInfoText(c, info.get());
    Text<kBbuDateTextSize> installed, tested;
    (void)Api::GetBatteryInstallDate(c, installed.get());
    (void)Api::GetLastCapacityTestDate(c, tested.get());
}

void Phys(ObjectId c) {
    uint32_t count = 0;
    uint8_t b = 0;
    (void)Api::GetSataEnclosureLinkSpeedLimit(c, &b);
    (void)Api::GetSasEnclosureLinkSpeedLimit(c, &b);
    if (Api::GetNumPhys(c, &count) != 0)
        return;
    for (uint32_t i = 0; i < std::min<uint32_t>(count, 3); ++i) {
        ObjectId phy{};
        if (Api::MakePhyId(c[ObjectId::kController], static_cast<uint8_t>(i), &phy) != 0)
            continue;
        uint8_t address[kWorldWideNameSize] = {};
        (void)Api::GetPhySasAddress(phy, address);
        (void)Api::GetPhyDeviceType(phy, &b);
        (void)Api::GetPhyLinkSpeedSupported(phy, &b);
        (void)Api::GetPhyLinkSpeed(phy, &b);
        (void)Api::GetPhyLinkSpeedControl(phy, &b);
        ObjectId port{};
        (void)Api::GetPhyPortId(phy, &port);
    }
}

// The firmware compatibility check of a sound image: the driver block and
// the controller's facts come from the input.
void FirmwareCheck(ObjectId c) {
    static const std::string image = [] {
        Bytes bytes(1024);
        const uint32_t values[][2] = {{4, 1024}, {12, 8}, {28, 0xBADDECAF}};
        for (const auto& v : values)
            std::memcpy(bytes.data() + v[0], &v[1], 4);
        const uint16_t srl[] = {30, 25};
        std::memcpy(bytes.data() + 24, srl, sizeof srl);
        std::memcpy(bytes.data() + 48, "KF62 7.35.00.003", 16);
        static fuzz::MemoryFile file;
        file.Set(bytes.data(), bytes.size());
        return file.path();
    }();
    FirmwareCompatRecord record{};
    (void)Api::GetFirmwareImageCompatibility(c, image.c_str(), 0, &record);
}

const std::function<void(ObjectId)> kGroups[] = {
    ControllerFacts,    Units,   Drives, Events,        Enclosures,
    SmartAndStatistics, Battery, Phys,   FirmwareCheck,
};
constexpr size_t kGroupCount = sizeof kGroups / sizeof kGroups[0];

ReplyHost& InstallReplyHost() {
    fuzz::ResetLibrary();
    auto host = std::make_unique<ReplyHost>(
        emulator::EmulatedHost::fromJson(fuzz::DefaultHost(), fuzz::Prepare()));
    ReplyHost& installed = *host;
    platform::SetHost(std::move(host));
    return installed;
}

// Discovery from the default host's own answers; the controller of `choice`.
ObjectId Discover(uint8_t choice) {
    ObjectIdList16 controllers{};
    if (Api::GetControllerIdList(&controllers) != 0 || controllers.count == 0)
        __builtin_trap();  // the default host's controllers are always found
    return controllers.ids[choice % controllers.size()];
}

void WriteSeeds(const char* folder) {
    for (uint8_t controller = 0; controller < 3; ++controller) {
        for (uint8_t group = 0; group < kGroupCount; ++group) {
            ReplyHost& host = InstallReplyHost();
            const ObjectId c = Discover(controller);
            Bytes seed = {controller, group};
            host.Record(&seed);
            kGroups[group](c);
            const std::string name = std::string(folder) + "/seed-c" + std::to_string(controller) +
                                     "-g" + std::to_string(group);
            if (std::FILE* f = std::fopen(name.c_str(), "wb")) {
                (void)std::fwrite(seed.data(), 1, seed.size(), f);
                std::fclose(f);
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::Prepare();
    if (const char* folder = std::getenv("KV_FUZZ_RECORD")) {
        fuzz::InFolder inFolder;
        WriteSeeds(folder);
        std::exit(0);
    }
    return 0;
}

// The operations only read, so the default host never changes: it is made
// and discovered once, and each input starts from the controller table of
// that discovery.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::InFolder inFolder;
    static ReplyHost& host = InstallReplyHost();
    static const ObjectIdList16 controllers = [] {
        ObjectIdList16 list{};
        if (Api::GetControllerIdList(&list) != 0 || list.count == 0)
            __builtin_trap();  // the default host's controllers are always found
        return list;
    }();
    static const Driver discovered = [] {
        std::vector<std::string> paths;
        for (int32_t i = 0; i < TheDriver().count(); ++i)
            paths.emplace_back(TheDriver().slot(i)->devicePath);
        host.TakeOver(paths);
        return TheDriver();
    }();

    fuzz::ResetLibrary();
    TheDriver() = discovered;
    Reader input(data, size);
    const uint8_t controller = input.u8();
    const uint8_t group = input.u8();
    host.Arm(&input);
    kGroups[group % kGroupCount](controllers.ids[controller % controllers.size()]);
    host.Arm(nullptr);
    return 0;
}
