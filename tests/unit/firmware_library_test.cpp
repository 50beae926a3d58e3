// The firmware image examination, the chunked download and automatic drive
// detection through the public operations, against the emulated
// controllers: what each check refuses, what the record says, and the
// requests that reach the controller.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "api/api.h"
#include "api/api_error.h"
#include "api/driver.h"
#include "integration_host.h"

namespace firmware_library_test {
namespace {

using integration::ControllerId;
using integration::Fault;
using integration::IntegrationTest;
using integration::json;
using integration::RhoskController;

// An image file's header fields and size.
struct Image {
    uint32_t size = 1024;
    int64_t declared = -1;  // the header's size; -1: the size
    uint32_t architecture = 8;
    uint16_t srl = 30;
    uint16_t lowest = 25;
    uint32_t magic = 0xBADDECAF;
    std::string version = "KF62 7.35.00.003";
    bool badChecksum = false;
};

void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// The image's bytes: the header, then a fixed pattern whose byte sum the
// header carries at byte 8 for the controller's checksum.
std::vector<uint8_t> Bytes(const Image& image) {
    std::vector<uint8_t> b(std::max<uint32_t>(image.size, 64), 0);
    uint32_t sum = 0;
    for (size_t i = 64; i < b.size(); ++i) {
        b[i] = static_cast<uint8_t>(i * 7 + 3);
        sum += b[i];
    }
    Put32(b, 4, image.declared < 0 ? image.size : static_cast<uint32_t>(image.declared));
    Put32(b, 8, image.badChecksum ? sum + 1 : sum);
    Put32(b, 12, image.architecture);
    b[24] = static_cast<uint8_t>(image.srl);
    b[25] = static_cast<uint8_t>(image.srl >> 8);
    b[26] = static_cast<uint8_t>(image.lowest);
    b[27] = static_cast<uint8_t>(image.lowest >> 8);
    Put32(b, 28, image.magic);
    for (size_t i = 0; i < image.version.size() && i < 16; ++i)
        b[48 + i] = static_cast<uint8_t>(image.version[i]);
    b.resize(image.size);
    return b;
}

// A family-8 controller at level 37 (SRL 29) with a driver serving SRL 26
// to 40, and `extra` merged over it.
json Controller(const json& extra = json::object()) {
    json ctl =
        RhoskController(5, 8, "VANTOR0001",
                        {{"identity",
                          {{"compat_level", 37},
                           {"srl", 29},
                           {"firmware", "KF62 7.30.00.058"},
                           {"model", "KV-V820-8p"}}},
                         {"driver", {{"version", {3, 0, 2, 46}}, {"srl_min", 26}, {"srl_max", 40}}},
                         {"settings", {{"ports", 8}}}});
    ctl.merge_patch(extra);
    return ctl;
}

uint32_t ApiCode() {
    ApiErrorRecord record{};
    (void)Api::GetLastErrorRecord(&record);
    return record.apiCode;
}

ApiErrorRecord Record() {
    ApiErrorRecord record{};
    (void)Api::GetLastErrorRecord(&record);
    return record;
}

class FirmwareLibraryTest : public IntegrationTest {
  protected:
    // Installs the machine as a host file and lists its controllers, as
    // every command does first.
    void Prepare(const json& state) {
        InstallFile(state);
        ObjectIdList16 controllers{};
        ASSERT_EQ(Api::GetControllerIdList(&controllers), 0) << LastMessage();
        ASSERT_EQ(controllers.count, state["machine"]["controllers"].size()) << state.dump();
    }

    // Writes an image file into the test's folder; its path.
    std::string Write(const Image& image, const std::string& name = "image.bin") {
        const std::string path = (folder_ / name).string();
        const std::vector<uint8_t> b = Bytes(image);
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
        return path;
    }

    int Examine(const std::string& path, FirmwareCompatRecord* record) {
        return Api::GetFirmwareImageCompatibility(ControllerId(0), path.c_str(), 0, record);
    }

    // The firmware commands of one opcode among the requests sent.
    std::vector<integration::SentRequest> Sent(uint8_t opcode) const {
        std::vector<integration::SentRequest> out;
        for (const auto& r : sent_) {
            if ((r.controlCode() & 0xF0000000u) == 0xF0000000u && r.controlCode() != 0xFFFF0002u &&
                r.size() > 28 + 128 && (r.bytes[28 + 128] & 0x1F) == opcode) {
                out.push_back(r);
            }
        }
        return out;
    }
    size_t Count(uint32_t controlCode) const {
        size_t n = 0;
        for (const auto& r : sent_)
            n += r.controlCode() == controlCode ? 1 : 0;
        return n;
    }
    std::string Firmware() const {
        return HostFileContents()["machine"]["controllers"][0]["identity"]["firmware"];
    }
};

constexpr uint32_t kLock = 0xD0000000u;
constexpr uint32_t kUnlock = 0xD0000001u;

// Each check of the examination, in its order: the first that fails ends
// the call with its error.
TEST_F(FirmwareLibraryTest, ExaminationRefusesWhatTheControllerCannotTake) {
    struct Case {
        const char* name;
        Image image;
        json controller;
        uint32_t apiCode;
    };
    Image otherArchitecture;
    otherArchitecture.architecture = 6;
    Image otherSize;
    otherSize.declared = 2048;
    Image badMagic;
    badMagic.magic = 0xDEADBEEF;
    Image badMagicOtherArchitecture = badMagic;
    badMagicOtherArchitecture.architecture = 6;
    Image highSrl;
    highSrl.srl = 36;
    Image oldImage;
    oldImage.srl = 28;
    const Case cases[] = {
        {"size differs from the file", otherSize, Controller(), 102},
        {"another architecture", otherArchitecture, Controller(), 104},
        {"architecture before magic", badMagicOtherArchitecture, Controller(), 104},
        {"wrong magic", badMagic, Controller(), 103},
        {"SRL 36 without the Tevrin bus", highSrl, Controller(), 104},
        {"controller SRL above the image's", oldImage, Controller(), 113},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Prepare(Machine(json::array({c.controller})));
        const std::string path = Write(c.image);
        FirmwareCompatRecord record{};
        record.apiCompatible = 0x5A;
        EXPECT_EQ(Examine(path, &record), -1);
        EXPECT_EQ(ApiCode(), c.apiCode);
        EXPECT_EQ(record.apiCompatible, 0x5A) << "the record is only filled for a fitting image";
    }
}

TEST_F(FirmwareLibraryTest, SizeIsCheckedBeforeAnyControllerRequest) {
    Prepare(Machine(json::array({Controller()})));
    Image image;
    image.declared = 1000;
    const std::string path = Write(image);
    ClearTraffic();
    FirmwareCompatRecord record{};
    EXPECT_EQ(Examine(path, &record), -1);
    EXPECT_EQ(ApiCode(), 102u);
    EXPECT_TRUE(sent_.empty());
}

// A file that cannot be opened is the system's error; one shorter than the
// header is no image of any valid size (not a success text of the system).
TEST_F(FirmwareLibraryTest, UnreadableAndShortFiles) {
    Prepare(Machine(json::array({Controller()})));
    FirmwareCompatRecord record{};
    EXPECT_EQ(Examine((folder_ / "missing.bin").string(), &record), -1);
    EXPECT_EQ(Record().flags, kApiErrorOs);
    EXPECT_EQ(Record().osCode, 2u);

    Image shortImage;
    shortImage.size = 40;
    EXPECT_EQ(Examine(Write(shortImage), &record), -1);
    EXPECT_EQ(ApiCode(), 102u);
    EXPECT_EQ(Record().flags, kApiErrorApi);
}

TEST_F(FirmwareLibraryTest, SrlTestOnlyFromLevel31) {
    Image image;
    image.srl = 28;
    image.lowest = 24;
    Prepare(Machine(json::array({Controller({{"identity", {{"compat_level", 30}}}})})));
    FirmwareCompatRecord record{};
    EXPECT_EQ(Examine(Write(image), &record), 0);
    Prepare(Machine(json::array({Controller({{"identity", {{"compat_level", 31}}}})})));
    EXPECT_EQ(Examine(Write(image), &record), -1);
    EXPECT_EQ(ApiCode(), 113u);
}

TEST_F(FirmwareLibraryTest, HighSrlImageOnTheTevrinBus) {
    Prepare(Machine(json::array({Controller({{"settings", {{"host_bus", 0x200}}}})})));
    Image image;
    image.srl = 36;
    FirmwareCompatRecord record{};
    EXPECT_EQ(Examine(Write(image), &record), 0);
}

// The record's answers: the library's range 24-29 against the image's, and
// the driver's range against the image's.
TEST_F(FirmwareLibraryTest, RecordAnswersForLibraryAndDriver) {
    struct Case {
        uint16_t srl;
        uint16_t lowest;
        int driverLowest;
        int driverHighest;
        uint8_t api;
        uint8_t driver;
    };
    const Case cases[] = {
        {30, 25, 26, 40, 1, 1},  // lowest in the library's range; driver's lowest in the image's
        {31, 30, 26, 40, 0, 1},  // image's lowest in the driver's range
        {31, 28, 26, 40, 1, 1}, {31, 28, 32, 40, 1, 0},
        {31, 30, 32, 40, 0, 0}, {29, 24, 20, 23, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.srl) + "/" + std::to_string(c.lowest) + " driver " +
                     std::to_string(c.driverLowest) + "-" + std::to_string(c.driverHighest));
        Prepare(Machine(json::array({Controller(
            {{"identity", {{"srl", 0}}},
             {"driver", {{"srl_min", c.driverLowest}, {"srl_max", c.driverHighest}}}})})));
        Image image;
        image.srl = c.srl;
        image.lowest = c.lowest;
        FirmwareCompatRecord record{};
        ASSERT_EQ(Examine(Write(image), &record), 0) << LastMessage();
        EXPECT_EQ(record.apiCompatible, c.api);
        EXPECT_EQ(record.driverCompatible, c.driver);
        EXPECT_EQ(record.controllerCompatible, 1);
    }
}

TEST_F(FirmwareLibraryTest, RecordTexts) {
    Prepare(Machine(json::array({Controller()})));
    Image image;
    image.version = "VERSION-SIXTEEN!";  // all 16 bytes, no terminator in the file
    FirmwareCompatRecord record{};
    std::memset(&record, 0x7E, sizeof record);
    ASSERT_EQ(Examine(Write(image), &record), 0) << LastMessage();
    EXPECT_STREQ(record.apiVersion, "2.06.00.012");
    EXPECT_STREQ(record.driverVersion, "3.00.02.046");
    EXPECT_STREQ(record.firmwareVersion, "KF62 7.30.00.058");
    EXPECT_STREQ(record.newFirmwareVersion, "VERSION-SIXTEEN!");
    for (uint8_t b : record.reserved)
        EXPECT_EQ(b, 0);
}

// 6 x 8192 + 848 bytes: seven chunks under a lock of 48 x 1000 ms, the
// chunk command with its long time-out; the controller flashes the image
// and reports its version from then on.
TEST_F(FirmwareLibraryTest, DownloadGoesInChunksUnderTheLock) {
    Prepare(Machine(json::array({Controller()})));
    Image image;
    image.size = 6 * 8192 + 848;
    const std::vector<uint8_t> bytes = Bytes(image);
    ClearTraffic();
    ASSERT_EQ(Api::DownloadFirmwareImage(ControllerId(0), bytes.data(),
                                         static_cast<uint32_t>(bytes.size())),
              0)
        << LastMessage();
    const auto chunks = Sent(0x16);
    ASSERT_EQ(chunks.size(), 7u);
    for (size_t i = 0; i < chunks.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(chunks[i].size(), 28u + 152 + (i < 6 ? 8192 : 1024));
        EXPECT_EQ(chunks[i].timeout(), 240u);
        EXPECT_EQ(chunks[i].bytes[28 + 128], 0x56);
        EXPECT_EQ(chunks[i].bytes[28 + 128 + 1], 2);
        EXPECT_EQ(chunks[i].bytes[28 + 128 + 6], 8);
        EXPECT_EQ(chunks[i].bytes[28 + 152], bytes[i * 8192]);
    }
    ASSERT_EQ(Count(kLock), 1u);
    EXPECT_EQ(Count(kUnlock), 1u);
    for (const auto& r : sent_) {
        if (r.controlCode() == kLock) {
            EXPECT_EQ(r.u32(28), 48000u);
        }
    }
    EXPECT_EQ(Firmware(), "KF62 7.35.00.003");
    EXPECT_TRUE(integration::OpensAreClosed(Log()));
    EXPECT_FALSE(HostFileContents()["machine"]["controllers"][0].value("management_lock", false));
}

// A checksum error earns one more run; a second one is final.
TEST_F(FirmwareLibraryTest, ChecksumErrorIsRetriedOnce) {
    Image image;
    image.size = 3 * 8192;
    const std::vector<uint8_t> bytes = Bytes(image);
    const json chunk = {{"layer", "firmware"}, {"opcode", "0x16"}};
    const json checksum = {{"status", 1}, {"code", "0x0234"}};

    Prepare(Machine(json::array({Controller()}), json::array({Fault(chunk, checksum, 1)})));
    ClearTraffic();
    EXPECT_EQ(Api::DownloadFirmwareImage(ControllerId(0), bytes.data(), 3 * 8192), 0)
        << LastMessage();
    EXPECT_EQ(Count(kLock), 2u);
    EXPECT_EQ(Sent(0x16).size(), 1u + 3u);
    EXPECT_EQ(Firmware(), "KF62 7.35.00.003");

    Prepare(Machine(json::array({Controller()}), json::array({Fault(chunk, checksum, "always")})));
    ClearTraffic();
    EXPECT_EQ(Api::DownloadFirmwareImage(ControllerId(0), bytes.data(), 3 * 8192), -1);
    EXPECT_EQ(Record().controllerCode, 0x0234u);
    EXPECT_EQ(Count(kLock), 2u);
    EXPECT_EQ(Count(kUnlock), 2u);
    EXPECT_EQ(Sent(0x16).size(), 2u);
    EXPECT_EQ(Firmware(), "KF62 7.30.00.058");
}

// The controller's own checks: an image whose checksum does not match is
// refused after its last chunk (twice, with the retry); another failure
// ends at once, the lock released.
TEST_F(FirmwareLibraryTest, ControllerRefusals) {
    Prepare(Machine(json::array({Controller()})));
    Image image;
    image.size = 2 * 8192 + 100;
    image.badChecksum = true;
    std::vector<uint8_t> bytes = Bytes(image);
    ClearTraffic();
    EXPECT_EQ(Api::DownloadFirmwareImage(ControllerId(0), bytes.data(),
                                         static_cast<uint32_t>(bytes.size())),
              -1);
    EXPECT_EQ(Record().controllerCode, 0x0234u);
    EXPECT_EQ(Sent(0x16).size(), 6u);
    EXPECT_EQ(Firmware(), "KF62 7.30.00.058");

    image.badChecksum = false;
    image.architecture = 6;
    bytes = Bytes(image);
    ClearTraffic();
    EXPECT_EQ(Api::DownloadFirmwareImage(ControllerId(0), bytes.data(),
                                         static_cast<uint32_t>(bytes.size())),
              -1);
    EXPECT_EQ(Record().controllerCode, 0x0232u);
    EXPECT_EQ(Sent(0x16).size(), 1u);
    EXPECT_EQ(Count(kUnlock), 1u);
    EXPECT_FALSE(HostFileContents()["machine"]["controllers"][0].contains("image_download"));

    struct Case {
        const char* name;
        Image image;
        uint16_t code;
    };
    Image noSignature;
    noSignature.magic = 0;
    Image longerThanDeclared;
    longerThanDeclared.size = 10000;
    longerThanDeclared.declared = 9000;
    Image belowControllerSrl;
    belowControllerSrl.srl = 28;
    for (const Case& c : {Case{"no signature", noSignature, 0x0233},
                          Case{"more data than declared", longerThanDeclared, 0x0235},
                          Case{"SRL below the controller's", belowControllerSrl, 0x0236}}) {
        SCOPED_TRACE(c.name);
        bytes = Bytes(c.image);
        EXPECT_EQ(Api::DownloadFirmwareImage(ControllerId(0), bytes.data(),
                                             static_cast<uint32_t>(bytes.size())),
                  -1);
        EXPECT_EQ(Record().controllerCode, c.code);
        EXPECT_EQ(Firmware(), "KF62 7.30.00.058");
    }
}

// The file is read whole; every way it can fail says why.
TEST_F(FirmwareLibraryTest, DownloadFromFile) {
    Prepare(Machine(json::array({Controller()})));
    std::ofstream((folder_ / "empty.bin").string());
    ClearTraffic();
    EXPECT_EQ(Api::DownloadFirmware(ControllerId(0), (folder_ / "empty.bin").string().c_str()), -1);
    EXPECT_EQ(ApiCode(), 102u);
    EXPECT_EQ(Api::DownloadFirmware(ControllerId(0), (folder_ / "none.bin").string().c_str()), -1);
    EXPECT_EQ(Record().osCode, 2u);
    const uint8_t nothing[1] = {};
    EXPECT_EQ(Api::DownloadFirmwareImage(ControllerId(0), nothing, 0), -1);
    EXPECT_EQ(ApiCode(), 102u);
    EXPECT_TRUE(sent_.empty());

    Image image;
    image.version = "KF62 7.50.00.001";
    EXPECT_EQ(Api::DownloadFirmware(ControllerId(0), Write(image).c_str()), 0) << LastMessage();
    EXPECT_EQ(Firmware(), "KF62 7.50.00.001");
}

// The older family takes an image in one packet; it has no image
// compatibility check.
TEST_F(FirmwareLibraryTest, OlderFamilyDownloadsWithoutACompatibilityCheck) {
    Prepare(Machine(json::array({integration::PraneController("OLDER0001")})));
    const uint8_t image[64] = {};
    EXPECT_EQ(Api::DownloadFirmwareImage(ControllerId(0), image, sizeof image), 0) << LastMessage();
    FirmwareCompatRecord record{};
    EXPECT_EQ(Examine(Write(Image{}), &record), -1);
    EXPECT_EQ(ApiCode(), 2u);
}

ObjectId Port(uint8_t port, uint8_t controller = 0) {
    ObjectId id{};
    EXPECT_EQ(Api::MakePortId(controller, port, &id), 0);
    return id;
}

// The port detection command: the size byte by firmware level, the flag
// and the port mask; the controller keeps the ports it no longer watches.
TEST_F(FirmwareLibraryTest, AutoDetectSendsThePortMask) {
    struct Case {
        int level;
        uint8_t sizeByte;
    };
    for (const Case c : {Case{34, 3}, Case{35, 6}}) {
        SCOPED_TRACE(c.level);
        Prepare(Machine(
            json::array({Controller(json::object({{"identity", {{"compat_level", c.level}}}}))})));
        ObjectIdList128 ports;
        ports.clear();
        ASSERT_TRUE(ports.add(Port(1)));
        ASSERT_TRUE(ports.add(Port(7)));
        ClearTraffic();
        ASSERT_EQ(Api::DisableAutoDetect(ControllerId(0), &ports), 0) << LastMessage();
        const auto sent = Sent(0x06);
        ASSERT_EQ(sent.size(), 1u);
        const uint8_t* packet = sent[0].bytes.data() + 28 + 128;
        EXPECT_EQ(packet[0], 0x06);
        EXPECT_EQ(packet[1], c.sizeByte);
        EXPECT_EQ(packet[6], 1);
        EXPECT_EQ(packet[8], 0x82);
        EXPECT_EQ(HostFileContents()["machine"]["controllers"][0]["auto_detect_off"],
                  json::array({1, 7}));
        ASSERT_EQ(Api::EnableAutoDetect(ControllerId(0), &ports), 0);
        EXPECT_EQ(Sent(0x06).back().bytes[28 + 128 + 6], 0);
        EXPECT_EQ(HostFileContents()["machine"]["controllers"][0]["auto_detect_off"],
                  json::array());
    }
}

TEST_F(FirmwareLibraryTest, AutoDetectRefusals) {
    Prepare(Machine(json::array({Controller(), Controller()})));
    ObjectIdList128 ports;
    ports.clear();
    ClearTraffic();
    EXPECT_EQ(Api::EnableAutoDetect(ControllerId(0), &ports), 0);
    EXPECT_TRUE(Sent(0x06).empty()) << "an empty list asks nothing of the controller";

    struct Case {
        const char* name;
        ObjectId id;
    };
    ObjectId port128 = Port(1);
    port128[ObjectId::kNumber] = 128;
    ObjectId unit = Port(1);
    unit[ObjectId::kKind] = kKindUnit;
    for (const Case& c : {Case{"port 128", port128}, Case{"another kind", unit},
                          Case{"another controller", Port(2, 1)}}) {
        SCOPED_TRACE(c.name);
        ports.clear();
        ASSERT_TRUE(ports.add(Port(0)));
        ASSERT_TRUE(ports.add(c.id));
        EXPECT_EQ(Api::EnableAutoDetect(ControllerId(0), &ports), -1);
        EXPECT_EQ(ApiCode(), 24u);
    }
    EXPECT_TRUE(Sent(0x06).empty());

    // A port the controller does not have: the controller's own refusal.
    ports.clear();
    ASSERT_TRUE(ports.add(Port(100)));
    EXPECT_EQ(Api::EnableAutoDetect(ControllerId(0), &ports), -1);
    EXPECT_EQ(Record().controllerCode, 0x010Eu);
}

}  // namespace
}  // namespace firmware_library_test
