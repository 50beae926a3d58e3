// The event walk, the advanced event capture settings and the controller
// rescan of the newer family, through the public operations over the
// emulated host: the record built from the driver's event reply, the
// capture parameters and their order, and what a rescan finds.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "api/api.h"
#include "api/api_error.h"
#include "api/api_messages.h"
#include "rhosk_emulated_host.h"

namespace events_backend_test {
namespace {

using rhosk_emulated::Access;
using rhosk_emulated::DriveId;
using rhosk_emulated::FamilyController;
using rhosk_emulated::kGet;
using rhosk_emulated::kSet;
using rhosk_emulated::LastApiCode;
using rhosk_emulated::RhoskEmulatedTest;
using json = nlohmann::json;

const ObjectId kCtl = integration::ControllerId(0);
constexpr int kCaptureTable = 0x0407;

json Event(uint32_t id, uint16_t code, const char* severity, const char* params,
           const char* description) {
    return {{"id", id},         {"time", 1793613600 + id},   {"code", code}, {"severity", severity},
            {"params", params}, {"description", description}};
}

std::string Message(const AenRecord& record) {
    return std::string(record.message, record.messageLength);
}

std::string LibraryText(uint16_t code) {
    return theApiMessages.LookupMessage(kSourceRhoskEvent, code, nullptr, kLanguageEnglish);
}

class EventsBackendTest : public RhoskEmulatedTest {};

// One event reply and the record it gives: the message joins the
// description and the parameter text, or takes the library's text when
// the controller sends no description.
TEST_F(EventsBackendTest, RecordFromReply) {
    const std::string longParams(120, 'p');
    const std::string longDescription(200, 'd');
    struct Case {
        const char* name;
        json event;
        std::string message;
        std::string params;
    };
    const std::vector<Case> cases = {
        {"both texts", Event(7, 2, "error", "unit=0, port=1", "Degraded unit"),
         "Degraded unit: unit=0, port=1", "unit=0, port=1"},
        {"no parameters", Event(7, 0x0B, "info", "", "Rebuild started"), "Rebuild started", ""},
        {"no description", Event(7, 0x0B, "info", "unit=3", ""), LibraryText(0x0B) + ": unit=3",
         "unit=3"},
        // 98 characters of parameters fill the reply: no description and
        // no terminator fit, so the library's text stands for it.
        {"parameters beyond the reply", Event(7, 2, "error", longParams.c_str(), ""),
         (LibraryText(2) + ": " + std::string(98, 'p')).substr(0, 255), std::string(98, 'p')},
        {"description beyond the reply", Event(7, 2, "error", "", longDescription.c_str()),
         std::string(97, 'd'), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetLibrary();
        Start(json::array({FamilyController(8, 37, {{"events", json::array({c.event})}})}));
        AenRecord record;
        std::memset(&record, 0xAA, sizeof record);
        ASSERT_EQ(Api::GetFirstAen(kCtl, &record), 0);
        EXPECT_EQ(record.eventId, 7u);
        EXPECT_EQ(record.time, 1793613607u);
        EXPECT_EQ(record.code, c.event["code"].get<uint16_t>());
        EXPECT_EQ(Message(record), c.message);
        EXPECT_EQ(record.messageLength, c.message.size());
        EXPECT_EQ(record.message[record.messageLength], '\0');
        EXPECT_EQ(std::string(record.params), c.params);
        EXPECT_EQ(record.paramLength, c.params.size());
    }
}

// The walk in both directions by event id, whatever order the host file
// keeps; past either end the record has code 0 and the library's text for
// code 0, and the request succeeds.
TEST_F(EventsBackendTest, WalkByEventId) {
    Start(json::array({FamilyController(
        6, 33,
        {{"events",
          json::array({Event(20, 3, "error", "", "Third"), Event(5, 1, "info", "", "First"),
                       Event(9, 2, "warning", "", "Second")})}})}));
    AenRecord record{};
    ASSERT_EQ(Api::GetFirstAen(kCtl, &record), 0);
    EXPECT_EQ(record.eventId, 5u);
    ASSERT_EQ(Api::GetNextAen(kCtl, 5, &record), 0);
    EXPECT_EQ(record.eventId, 9u);
    ASSERT_EQ(Api::GetNextAen(kCtl, 9, &record), 0);
    EXPECT_EQ(record.eventId, 20u);
    EXPECT_EQ(record.severity, kAenError);
    ASSERT_EQ(Api::GetNextAen(kCtl, 20, &record), 0);
    EXPECT_EQ(record.code, 0);
    EXPECT_EQ(Message(record), LibraryText(0));
    EXPECT_EQ(record.paramLength, 0);

    ASSERT_EQ(Api::GetLastAen(kCtl, &record), 0);
    EXPECT_EQ(record.eventId, 20u);
    ASSERT_EQ(Api::GetPreviousAen(kCtl, 20, &record), 0);
    EXPECT_EQ(record.eventId, 9u);
    ASSERT_EQ(Api::GetPreviousAen(kCtl, 5, &record), 0);
    EXPECT_EQ(record.code, 0);
}

// A failed request leaves the caller's record as it was; an empty queue
// answers code 0 with success.
TEST_F(EventsBackendTest, FailedRequestLeavesRecord) {
    Start(json::array({FamilyController(8, 37)}),
          json::array({integration::Fault({{"layer", "driver"}, {"kind", "event_last"}},
                                          {{"return_code", "0x8002"}})}));
    AenRecord record;
    std::memset(&record, 0x5A, sizeof record);
    EXPECT_EQ(Api::GetLastAen(kCtl, &record), -1);
    EXPECT_EQ(record.eventId, 0x5A5A5A5Au);
    EXPECT_EQ(Api::GetFirstAen(kCtl, &record), 0);
    EXPECT_EQ(record.code, 0);
}

// The older family has no backward walk, no capture and no controller
// log: those record API error 2 there (its forward walk, rescan and error
// log are tried in pranewire_routes_test.cpp).
TEST_F(EventsBackendTest, OlderFamilyRefusesTheBackwardWalk) {
    Start(json::array({FamilyController(3, 0)}));
    AenRecord record{};
    for (auto call : {+[](AenRecord* r) { return Api::GetLastAen(kCtl, r); },
                      +[](AenRecord* r) { return Api::GetPreviousAen(kCtl, 4, r); }}) {
        EXPECT_EQ(call(&record), -1);
        EXPECT_EQ(LastApiCode(), 2u);
    }
    uint32_t enabled = 0, events = 0;
    EXPECT_EQ(Api::GetEventCaptureState(kCtl, &enabled, &events), -1);
    EXPECT_EQ(LastApiCode(), 2u);
    std::vector<uint8_t> log(kControllerLogSize, 0);
    EXPECT_EQ(Api::GetControllerLog(kCtl, log.data()), -1);
    EXPECT_EQ(LastApiCode(), 2u);
}

// Capture size 1 reads back as 1024 events, 0 as disabled; 0 is refused
// by the library before anything is sent.
TEST_F(EventsBackendTest, CaptureStateAndSettings) {
    emulator::EmulatedHost& host = Start(json::array({FamilyController(7, 36)}));
    uint32_t enabled = 9, events = 9;
    ASSERT_EQ(Api::EnableEventCapture(kCtl, 1), 0);
    ASSERT_EQ(Api::GetEventCaptureState(kCtl, &enabled, &events), 0);
    EXPECT_EQ(enabled, 1u);
    EXPECT_EQ(events, 1024u);
    ASSERT_EQ(Api::EnableEventCapture(kCtl, 5000), 0);
    ASSERT_EQ(Api::GetEventCaptureState(kCtl, &enabled, &events), 0);
    EXPECT_EQ(events, 5000u);
    ASSERT_EQ(Api::DisableEventCapture(kCtl), 0);
    ASSERT_EQ(Api::GetEventCaptureState(kCtl, &enabled, &events), 0);
    EXPECT_EQ(enabled, 0u);
    EXPECT_EQ(events, 0u);

    ClearTraffic();
    EXPECT_EQ(Api::EnableEventCapture(kCtl, 0), -1);
    EXPECT_EQ(LastApiCode(), 129u);
    EXPECT_TRUE(Requests().empty());

    ASSERT_EQ(Api::SetEventCaptureMode(kCtl, kCaptureUntilStopped), 0);
    ASSERT_EQ(Api::StartEventCapture(kCtl), 0);
    ASSERT_EQ(Api::SetEventCaptureHostMask(kCtl, 0xFFFF), 0);
    ASSERT_EQ(Api::SetEventCaptureInternalMask(kCtl, 0x12), 0);
    ASSERT_EQ(Api::SetEventCaptureInternalUnmask(kCtl, 0x34), 0);
    const json& capture = HostController(host)["capture"];
    EXPECT_EQ(capture["mode"], 2);
    EXPECT_EQ(capture["control"], 1);
    EXPECT_EQ(capture["host_mask"], 0xFFFF);
    EXPECT_EQ(capture["internal_mask"], 0x12);
    EXPECT_EQ(capture["internal_unmask"], 0x34);
    uint32_t value = 0;
    ASSERT_EQ(Api::GetEventCaptureInternalUnmask(kCtl, &value), 0);
    EXPECT_EQ(value, 0x34u);
    ASSERT_EQ(Api::GetEventCaptureControl(kCtl, &value), 0);
    EXPECT_EQ(value, 1u);
    ASSERT_EQ(Api::StopEventCapture(kCtl), 0);
    ASSERT_EQ(Api::GetEventCaptureControl(kCtl, &value), 0);
    EXPECT_EQ(value, 0u);
}

// Segment info reads the count before the size; a segment read writes the
// index first and reads nothing when that write fails; a short buffer
// takes only what it holds.
TEST_F(EventsBackendTest, CaptureSegments) {
    Start(json::array(
              {FamilyController(8, 37, {{"capture", {{"segments", 3}, {"segment_size", 4096}}}})}),
          json::array(
              {integration::Fault({{"layer", "firmware"}, {"table", "0x0407"}, {"parameter", 5}},
                                  {{"status", 1}, {"code", "0x010D"}}, 1)}));
    uint32_t size = 0, count = 0;
    ASSERT_EQ(Api::GetEventCaptureSegmentInfo(kCtl, &size, &count), 0);
    EXPECT_EQ(count, 3u);
    EXPECT_EQ(size, 4096u);
    EXPECT_EQ(ParamTraffic(),
              (std::vector<Access>{{kGet, kCaptureTable, 4, 4}, {kGet, kCaptureTable, 3, 4}}));

    std::vector<uint8_t> segment(4096, 0xEE);
    ClearTraffic();
    EXPECT_EQ(Api::GetEventCaptureSegment(kCtl, 2, segment.data(), 16), -1);
    EXPECT_EQ(ParamTraffic(), (std::vector<Access>{{kSet, kCaptureTable, 5, 4}}));
    EXPECT_EQ(segment[0], 0xEE);

    ClearTraffic();
    ASSERT_EQ(Api::GetEventCaptureSegment(kCtl, 2, segment.data(), 16), 0);
    EXPECT_EQ(ParamTraffic(),
              (std::vector<Access>{{kSet, kCaptureTable, 5, 4}, {kGet, kCaptureTable, 6, 32832}}));
    EXPECT_EQ(segment[0], 2);
    EXPECT_EQ(segment[15], 17);
    EXPECT_EQ(segment[16], 0xEE);
}

// What a rescan finds: a drive attached to an empty port, and the unit
// that the configuration on two attached drives describes; the unit's
// drives are not listed as free drives. A second rescan finds nothing.
TEST_F(EventsBackendTest, RescanFindsAttachedDrivesAndTheirUnits) {
    const json drive = {{"capacity", 1953525168}, {"model", "Torvex"}, {"unit_flags", 1}};
    json a = drive, b = drive, c = drive;
    a["port"] = 1;
    b["port"] = 2;
    c["port"] = 3;
    c["unit_flags"] = 0;
    emulator::EmulatedHost& host = Start(json::array({FamilyController(
        8, 37,
        {{"settings", {{"ports", 4}}},
         {"drives", json::array({{{"port", 0}, {"capacity", 1953525168}}})},
         {"units", json::array({{{"number", 0}, {"type", "single"}, {"members", {0}}}})},
         {"new_drives", json::array({a, b, c})},
         {"foreign_units",
          json::array({{{"number", 0}, {"type", "raid1"}, {"members", {1, 2}}}})}})}));

    ObjectIdList128 units;
    ObjectIdList128 drives;
    units.clear();
    drives.clear();
    ASSERT_EQ(Api::RescanController(kCtl, 0, &units, &drives), 0) << LastMessage();
    ASSERT_EQ(units.size(), 1u);
    EXPECT_EQ(units.ids[0][ObjectId::kUnit], 1);  // unit 0 is taken: the next free number
    ASSERT_EQ(drives.size(), 1u);
    EXPECT_EQ(drives.ids[0], DriveId(3));
    EXPECT_EQ(HostController(host)["units"].size(), 2u);
    EXPECT_TRUE(HostController(host)["foreign_units"].empty());
    EXPECT_TRUE(integration::OpensAreClosed(Log()));

    ASSERT_EQ(Api::RescanController(kCtl, 0, &units, &drives), 0);
    EXPECT_EQ(units.size() + drives.size(), 0u);
}

// A failed import scan fails the rescan and leaves the caller's lists as
// they were.
TEST_F(EventsBackendTest, RescanFailureLeavesLists) {
    Start(json::array({FamilyController(
              6, 33,
              {{"settings", {{"ports", 2}}},
               {"new_drives", json::array({{{"port", 1}, {"capacity", 1953525168}}})}})}),
          json::array({integration::Fault({{"layer", "firmware"}, {"opcode", "0x07"}},
                                          {{"status", 1}, {"code", "0x0204"}})}));
    ObjectIdList128 units;
    ObjectIdList128 drives;
    units.clear();
    drives.clear();
    (void)units.add(DriveId(9));
    EXPECT_EQ(Api::RescanController(kCtl, 1, &units, &drives), -1);
    EXPECT_EQ(units.size(), 1u);
    EXPECT_NE(LastMessage().find("0x0204"), std::string::npos);
}

}  // namespace
}  // namespace events_backend_test
