// Every element read and write over SES and SAF-TE through the public
// library: the values as the enclosure reports them, the decoding of each
// status, the masked control writes and their read-back, the SAF-TE writes
// under the management lock, and the errors of missing elements, numbers
// past the limits and operations a protocol does not have.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "api/api.h"
#include "api/rhosk/enclosure_services.h"
#include "enclosure_emulated_test.h"

namespace enclosure_test::enclosure_elements_test {
namespace {

using enclosure::kApiAlarmMissing;
using enclosure::kApiAlarmToneRefused;
using enclosure::kApiDoorMissing;
using enclosure::kApiElementMissing;
using enclosure::kApiFanMissing;
using enclosure::kApiFanSpeedRefused;
using enclosure::kApiInvalidFanSpeed;
using enclosure::kApiInvalidTemperature;
using enclosure::kApiPowerSupplyMissing;
using enclosure::kApiTemperatureUnknown;
using enclosure::kApiTempSensorMissing;

// An operation on an element id with its output as text.
using Op = std::function<int(ObjectId, std::string*)>;

template <typename T>
Op Read(int (*fn)(ObjectId, T*)) {
    return [fn](ObjectId id, std::string* out) {
        T value{};
        const int result = fn(id, &value);
        *out = std::to_string(+value);
        return result;
    };
}

std::string Api(uint32_t code) {
    return "api " + std::to_string(code);
}

// The outcome of an operation as a row expects it: the value, or "api N".
std::string Outcome(const Op& op, ObjectId id) {
    std::string value;
    if (op(id, &value) == 0)
        return value;
    return Api(LastApiCode());
}

struct Row {
    const char* name;
    uint8_t kind;  // 4: the enclosure itself
    uint8_t number;
    Op op;
    std::string expected;
};

class EnclosureElements : public EnclosureTest {
  protected:
    // The element of a row in the enclosure; numbers the builders refuse
    // (16 and more) are written into a built id.
    static ObjectId RowId(const ObjectId& enclosure, const Row& row) {
        if (row.kind == kKindEnclosure)
            return enclosure;
        const uint8_t limit = row.kind == kKindTempSensor ? 32 : 16;
        ObjectId id = ElementId(enclosure, row.kind, row.number < limit ? row.number : 0);
        id[ObjectId::kNumber] = row.number;
        return id;
    }
    void Check(const ObjectId& enclosure, const std::vector<Row>& rows) {
        for (const Row& row : rows)
            EXPECT_EQ(Outcome(row.op, RowId(enclosure, row)), row.expected) << row.name;
    }
};

// --- Reads ---

TEST_F(EnclosureElements, SesReadsAcrossSubEnclosures) {
    StartHost();
    const ObjectId e0 = EnclosureId(kSes, 0);
    Check(e0,
          {
              {"fan 0", kKindFan, 0, Read(Api::GetFanStatus), "0"},
              {"fan 0 speed", kKindFan, 0, Read(Api::GetFanSpeed), "3"},
              {"fan 0 rpm", kKindFan, 0, Read(Api::GetFanRpm), "3000"},
              {"fan 1 rpm", kKindFan, 1, Read(Api::GetFanRpm), "5120"},
              {"fan 1 speed", kKindFan, 1, Read(Api::GetFanSpeed), "5"},
              {"fan 2 off", kKindFan, 2, Read(Api::GetFanStatus), "3"},
              {"fan 2 speed", kKindFan, 2, Read(Api::GetFanSpeed), "0"},
              {"fan 3 (LUN 1)", kKindFan, 3, Read(Api::GetFanSpeed), "3"},
              {"fan 0 identify", kKindFan, 0, Read(Api::GetFanIdentify), "0"},
              {"fan 5 (none)", kKindFan, 5, Read(Api::GetFanStatus), Api(kApiElementMissing)},
              {"supply 0", kKindPowerSupply, 0, Read(Api::GetPowerSupplyStatus), "0"},
              {"supply 0 DC", kKindPowerSupply, 0, Read(Api::GetPowerSupplyVoltageCurrent), "8"},
              {"sensor 0", kKindTempSensor, 0, Read(Api::GetTemperature), "28"},
              {"sensor 1", kKindTempSensor, 1, Read(Api::GetTemperature), "44"},
              {"sensor 1 flags", kKindTempSensor, 1, Read(Api::GetTempSensorThresholdFlags), "4"},
              {"sensor 2 (LUN 1)", kKindTempSensor, 2, Read(Api::GetTemperature), "31"},
              {"alarm 0", kKindAlarm, 0, Read(Api::GetAlarmStatus), "1"},
              {"alarm 0 state", kKindAlarm, 0, Read(Api::GetAlarmState), "1"},
              {"alarm 0 mute", kKindAlarm, 0, Read(Api::GetAlarmMute), "0"},
              {"door 0 (LUN 1)", kKindDoorLock, 0, Read(Api::GetDoorLockStatus), "1"},
              // The enclosure id names the last LUN read: its own element.
              {"enclosure", kKindEnclosure, 0, Read(Api::GetEnclosureStatus), "1"},
          });
    ObjectId lun0 = e0;
    lun0[ObjectId::kLevel2] = 0;
    Check(lun0,
          {{"enclosure LUN 0 warning", kKindEnclosure, 0, Read(Api::GetEnclosureStatus), "3"}});

    const ObjectId e3 = EnclosureId(kSes, 3);
    Check(e3,
          {
              {"alarm muted", kKindAlarm, 0, Read(Api::GetAlarmStatus), "3"},
              {"alarm muted mute", kKindAlarm, 0, Read(Api::GetAlarmMute), "1"},
              {"door unlocked", kKindDoorLock, 0, Read(Api::GetDoorLockStatus), "0"},
              {"supply failed", kKindPowerSupply, 1, Read(Api::GetPowerSupplyStatus), "1"},
              {"fan not installed", kKindFan, 1, Read(Api::GetFanStatus), "2"},
              {"fan not installed speed", kKindFan, 1, Read(Api::GetFanSpeed), Api(kApiFanMissing)},
              {"fan not installed rpm", kKindFan, 1, Read(Api::GetFanRpm), Api(kApiFanMissing)},
              {"sensor without reading", kKindTempSensor, 1, Read(Api::GetTemperature),
               Api(kApiInvalidTemperature)},
              {"fan 16", kKindFan, 16, Read(Api::GetFanStatus), Api(kApiFanMissing)},
              {"fan 255", kKindFan, 255, Read(Api::GetFanStatus), Api(kApiFanMissing)},
              {"supply 16", kKindPowerSupply, 16, Read(Api::GetPowerSupplyStatus),
               Api(kApiPowerSupplyMissing)},
              {"door 16", kKindDoorLock, 16, Read(Api::GetDoorLockStatus), Api(kApiDoorMissing)},
              {"alarm 16", kKindAlarm, 16, Read(Api::GetAlarmStatus), Api(kApiAlarmMissing)},
              {"sensor 32", kKindTempSensor, 32, Read(Api::GetTemperature),
               Api(kApiTempSensorMissing)},
          });
}

// Each branch of the status decoding, one element per branch.
TEST_F(EnclosureElements, SesStatusDecoding) {
    StartHost([](json& state) {
        json& e3 = EnclosureOf(state, kSes, 3);
        e3["fans"] = {{{"status", "ok"}},
                      {{"fail", true}},
                      {{"off", true}},
                      {{"status", "noncritical"}},
                      {{"status", "not_installed"}},
                      {{"rpm", 0}},
                      {{"rpm", 0}, {"status", "critical"}}};
        e3["power_supplies"] = {json::object(),
                                {{"fail", true}},
                                {{"off", true}},
                                {{"status", "critical"}},
                                {{"status", "not_installed"}},
                                {{"over_current", true}, {"under_voltage", true}}};
        e3["temp_sensors"] = {{{"temperature", -15}},
                              {{"status", "critical"}},
                              {{"status", "noncritical"}, {"thresholds", 2}},
                              {{"status", "noncritical"}},
                              {{"status", "not_installed"}},
                              {{"status", "unsupported"}},
                              {{"status", "unknown"}}};
        e3["alarms"] = {json::object(),
                        {{"tones", 2}},
                        {{"fail", true}},
                        {{"muted", true}},
                        {{"muted", true}, {"tones", 1}},
                        {{"muted", true}, {"status", "critical"}},
                        {{"status", "not_installed"}}};
        e3["door_locks"] = {{{"locked", true}},
                            {{"locked", false}},
                            {{"status", "not_installed"}},
                            {{"status", "critical"}}};
    });
    Check(EnclosureId(kSes, 3),
          {
              {"fan ok", kKindFan, 0, Read(Api::GetFanStatus), "0"},
              {"fan failed", kKindFan, 1, Read(Api::GetFanStatus), "1"},
              {"fan off", kKindFan, 2, Read(Api::GetFanStatus), "3"},
              {"fan other", kKindFan, 3, Read(Api::GetFanStatus), "128"},
              {"fan not installed", kKindFan, 4, Read(Api::GetFanStatus), "2"},
              // Running (code 3) and OK, yet no speed: not reported.
              {"fan without speed", kKindFan, 5, Read(Api::GetFanRpm), Api(kApiNotSupported)},
              {"fan without speed, critical", kKindFan, 6, Read(Api::GetFanRpm), "0"},
              {"supply ok", kKindPowerSupply, 0, Read(Api::GetPowerSupplyStatus), "0"},
              {"supply failed", kKindPowerSupply, 1, Read(Api::GetPowerSupplyStatus), "1"},
              {"supply off", kKindPowerSupply, 2, Read(Api::GetPowerSupplyStatus), "3"},
              {"supply other", kKindPowerSupply, 3, Read(Api::GetPowerSupplyStatus), "128"},
              {"supply not installed", kKindPowerSupply, 4, Read(Api::GetPowerSupplyStatus), "2"},
              {"supply not installed DC", kKindPowerSupply, 4,
               Read(Api::GetPowerSupplyVoltageCurrent), Api(kApiPowerSupplyMissing)},
              {"supply DC", kKindPowerSupply, 5, Read(Api::GetPowerSupplyVoltageCurrent), "6"},
              {"sensor below zero", kKindTempSensor, 0, Read(Api::GetTemperature), "-15"},
              {"sensor ok", kKindTempSensor, 0, Read(Api::GetTempSensorStatus), "0"},
              {"sensor critical", kKindTempSensor, 1, Read(Api::GetTempSensorStatus), "1"},
              {"sensor threshold", kKindTempSensor, 2, Read(Api::GetTempSensorStatus), "1"},
              {"sensor other", kKindTempSensor, 3, Read(Api::GetTempSensorStatus), "128"},
              {"sensor not installed", kKindTempSensor, 4, Read(Api::GetTempSensorStatus), "2"},
              {"sensor not installed reading", kKindTempSensor, 4, Read(Api::GetTemperature),
               Api(kApiTempSensorMissing)},
              {"sensor not installed flags", kKindTempSensor, 4,
               Read(Api::GetTempSensorThresholdFlags), Api(kApiTempSensorMissing)},
              {"sensor unsupported", kKindTempSensor, 5, Read(Api::GetTemperature),
               Api(kApiTemperatureUnknown)},
              {"sensor unknown", kKindTempSensor, 6, Read(Api::GetTemperature),
               Api(kApiTemperatureUnknown)},
              {"alarm off", kKindAlarm, 0, Read(Api::GetAlarmStatus), "0"},
              {"alarm sounding", kKindAlarm, 1, Read(Api::GetAlarmStatus), "1"},
              {"alarm failed", kKindAlarm, 2, Read(Api::GetAlarmStatus), "4"},
              {"alarm muted", kKindAlarm, 3, Read(Api::GetAlarmStatus), "3"},
              {"alarm muted, tone", kKindAlarm, 4, Read(Api::GetAlarmStatus), "5"},
              {"alarm muted, critical", kKindAlarm, 5, Read(Api::GetAlarmStatus), "5"},
              {"alarm not installed", kKindAlarm, 6, Read(Api::GetAlarmStatus), "2"},
              {"alarm not installed mute", kKindAlarm, 6, Read(Api::GetAlarmMute),
               Api(kApiAlarmMissing)},
              {"alarm not installed state", kKindAlarm, 6, Read(Api::GetAlarmState),
               Api(kApiAlarmMissing)},
              {"door locked", kKindDoorLock, 0, Read(Api::GetDoorLockStatus), "1"},
              {"door unlocked", kKindDoorLock, 1, Read(Api::GetDoorLockStatus), "0"},
              {"door not installed", kKindDoorLock, 2, Read(Api::GetDoorLockStatus), "2"},
              {"door other", kKindDoorLock, 3, Read(Api::GetDoorLockStatus), "128"},
          });
}

TEST_F(EnclosureElements, EnclosureStatusWithoutAnEnclosureElementOrWithAFailure) {
    struct Case {
        json element;
        std::string expected;
    };
    const Case cases[] = {{false, "6"},
                          {{{"failure", true}, {"warning", true}}, "2"},
                          {{{"status", "not_installed"}, {"failure", true}}, "5"},
                          {{{"status", "critical"}}, "2"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.element.dump());
        StartHost([&](json& state) { EnclosureOf(state, kSes, 3)["enclosure"] = c.element; });
        EXPECT_EQ(Outcome(Read(Api::GetEnclosureStatus), EnclosureId(kSes, 3)), c.expected);
    }
}

TEST_F(EnclosureElements, SafteReads) {
    StartHost();
    const ObjectId e1 = EnclosureId(kSafte, 1);
    Check(
        e1,
        {
            {"fan 0", kKindFan, 0, Read(Api::GetFanStatus), "0"},
            {"fan 1", kKindFan, 1, Read(Api::GetFanStatus), "1"},
            {"fan 2 (none)", kKindFan, 2, Read(Api::GetFanStatus), Api(kApiFanMissing)},
            {"fan speed", kKindFan, 0, Read(Api::GetFanSpeed), Api(kApiNotSupported)},
            {"fan rpm", kKindFan, 0, Read(Api::GetFanRpm), Api(kApiNotSupported)},
            {"fan identify", kKindFan, 0, Read(Api::GetFanIdentify), Api(kApiNotSupported)},
            {"supply", kKindPowerSupply, 0, Read(Api::GetPowerSupplyStatus), "0"},
            {"supply DC", kKindPowerSupply, 0, Read(Api::GetPowerSupplyVoltageCurrent),
             Api(kApiNotSupported)},
            // 77 F (status byte 87) and the raw byte 5 (-5 F).
            {"sensor 0", kKindTempSensor, 0, Read(Api::GetTemperature), "25"},
            {"sensor 1", kKindTempSensor, 1, Read(Api::GetTemperature), "-20"},
            {"sensor 2 (none)", kKindTempSensor, 2, Read(Api::GetTemperature),
             Api(kApiTempSensorMissing)},
            {"sensor status", kKindTempSensor, 0, Read(Api::GetTempSensorStatus), "0"},
            {"sensor flags", kKindTempSensor, 0, Read(Api::GetTempSensorThresholdFlags),
             Api(kApiNotSupported)},
            {"door", kKindDoorLock, 0, Read(Api::GetDoorLockStatus), "1"},
            {"door 1 (none)", kKindDoorLock, 1, Read(Api::GetDoorLockStatus), Api(kApiDoorMissing)},
            {"alarm", kKindAlarm, 0, Read(Api::GetAlarmStatus), "1"},
            {"alarm 1 (none)", kKindAlarm, 1, Read(Api::GetAlarmStatus), Api(kApiAlarmMissing)},
            {"alarm mute", kKindAlarm, 0, Read(Api::GetAlarmMute), Api(kApiNotSupported)},
            {"alarm state", kKindAlarm, 0, Read(Api::GetAlarmState), Api(kApiNotSupported)},
            {"enclosure", kKindEnclosure, 0, Read(Api::GetEnclosureStatus), "1"},
        });
    char text[16];
    uint32_t length = sizeof text;
    EXPECT_EQ(Api::GetEnclosureHelpText(e1, text, &length), -1);
    EXPECT_EQ(LastApiCode(), kApiNotSupported);

    // Temperatures in degrees Celsius are passed on as they are.
    StartHost([](json& state) { EnclosureOf(state, kSafte, 1)["fahrenheit"] = false; });
    Check(EnclosureId(kSafte, 1),
          {{"sensor 0, Celsius", kKindTempSensor, 0, Read(Api::GetTemperature), "25"}});
}

TEST_F(EnclosureElements, IdListsCountElementsOfEverySubEnclosure) {
    StartHost();
    struct Case {
        uint8_t controller;
        uint8_t port;
        uint32_t fans, supplies, doors, alarms, sensors;
    };
    for (const Case& c : {Case{kSes, 0, 5, 2, 1, 1, 3}, Case{kSes, 3, 2, 2, 1, 1, 2},
                          Case{kSafte, 1, 2, 1, 1, 1, 2}}) {
        SCOPED_TRACE(std::to_string(c.controller) + "/" + std::to_string(c.port));
        const ObjectId e = EnclosureId(c.controller, c.port);
        ObjectIdList16 list;
        ObjectIdList32 sensors;
        ASSERT_EQ(Api::GetFanIdList(e, &list), 0);
        EXPECT_EQ(list.count, c.fans);
        EXPECT_EQ(list.ids[c.fans - 1], ElementId(e, kKindFan, static_cast<uint8_t>(c.fans - 1)));
        EXPECT_EQ(list.ids[c.fans], ObjectId::Blank());
        ASSERT_EQ(Api::GetPowerSupplyIdList(e, &list), 0);
        EXPECT_EQ(list.count, c.supplies);
        ASSERT_EQ(Api::GetDoorIdList(e, &list), 0);
        EXPECT_EQ(list.count, c.doors);
        ASSERT_EQ(Api::GetAlarmIdList(e, &list), 0);
        EXPECT_EQ(list.count, c.alarms);
        ASSERT_EQ(Api::GetTempSensorIdList(e, &sensors), 0);
        EXPECT_EQ(sensors.count, c.sensors);
    }
    // More fans than a list holds: the builder refuses number 16 and the
    // caller's list stays as it was.
    StartHost([](json& state) { EnclosureOf(state, kSes, 3)["fans"] = 20; });
    ObjectIdList16 list;
    list.count = 99;
    EXPECT_EQ(Api::GetFanIdList(EnclosureId(kSes, 3), &list), -1);
    EXPECT_EQ(LastApiCode(), kApiInvalidFanId);
    EXPECT_EQ(list.count, 99u);
}

// An enclosure answers from the host file's latest version: a change
// another run wrote shows in the next read, through the page or buffer
// this run read before.
TEST_F(EnclosureElements, ReadsFollowAChangeAnotherRunWrote) {
    struct Case {
        const char* name;
        uint8_t controller;
        uint8_t port;
        Row read;
        std::function<void(json&)> change;
        std::string after;
    };
    const std::vector<Case> cases = {
        {"SES sub-enclosure",
         kSes,
         0,
         {"sensor 0", kKindTempSensor, 0, Read(Api::GetTemperature), "28"},
         [](json& e) { e["sub_enclosures"][0]["temp_sensors"][0]["temperature"] = 40; },
         "40"},
        {"SES enclosure",
         kSes,
         3,
         {"fan 0", kKindFan, 0, Read(Api::GetFanSpeed), "2"},
         [](json& e) { e["fans"][0]["speed"] = 5; },
         "5"},
        {"SAF-TE enclosure",
         kSafte,
         1,
         {"sensor 0", kKindTempSensor, 0, Read(Api::GetTemperature), "25"},
         [](json& e) { e["temp_sensors"][0]["temperature"] = 30; },
         "30"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        InstallFile(FixtureHost());
        ObjectIdList16 controllers;
        ASSERT_EQ(Api::GetControllerIdList(&controllers), 0);
        const ObjectId element = RowId(EnclosureId(c.controller, c.port), c.read);
        EXPECT_EQ(Outcome(c.read.op, element), c.read.expected);
        ChangeHostFile([&](json& state) { c.change(EnclosureOf(state, c.controller, c.port)); });
        EXPECT_EQ(Outcome(c.read.op, element), c.after);
    }
}

// --- Writes ---

TEST_F(EnclosureElements, SesFanSpeedIsWrittenAndReadBack) {
    StartHost([](json& state) {
        json& e3 = EnclosureOf(state, kSes, 3);
        e3["fans"] = {{{"speed", 2}}, {{"status", "not_installed"}}, {{"speeds", {1, 2, 3}}}};
    });
    const ObjectId e3 = EnclosureId(kSes, 3);
    const ObjectId fan0 = ElementId(e3, kKindFan, 0);
    ClearTraffic();
    ASSERT_EQ(Api::SetFanSpeed(fan0, 6), 0);
    EXPECT_EQ(ScsiTrace(),
              (std::vector<std::string>{"rcv t67 l0 p2", "snd t67 l0 p2", "rcv t67 l0 p2"}));
    EXPECT_EQ(Outcome(Read(Api::GetFanSpeed), fan0), "6");
    EXPECT_EQ(Outcome(Read(Api::GetFanRpm), fan0), "6000");

    struct Case {
        const char* name;
        uint8_t fan;
        uint8_t code;
        uint32_t error;
    };
    for (const Case& c :
         {Case{"speed 0", 0, 0, kApiInvalidFanSpeed}, Case{"not installed", 1, 3, kApiFanMissing},
          Case{"speed the fan lacks", 2, 6, kApiFanSpeedRefused}}) {
        SCOPED_TRACE(c.name);
        ClearTraffic();
        EXPECT_EQ(Api::SetFanSpeed(ElementId(e3, kKindFan, c.fan), c.code), -1);
        EXPECT_EQ(LastApiCode(), c.error);
    }
}

TEST_F(EnclosureElements, SesIdentifyOfEachElementKind) {
    emulator::EmulatedHost& host = StartHost();
    const ObjectId e0 = EnclosureId(kSes, 0);
    struct Case {
        uint8_t kind;
        uint8_t number;
        const char* list;
        size_t lun;
        size_t index;
        int (*set)(ObjectId, uint8_t);
        int (*get)(ObjectId, uint8_t*);
    };
    const Case cases[] = {
        {kKindFan, 4, "fans", 1, 1, Api::SetFanIdentify, Api::GetFanIdentify},
        {kKindPowerSupply, 0, "power_supplies", 0, 0, Api::SetPowerSupplyIdentify,
         Api::GetPowerSupplyIdentify},
        {kKindTempSensor, 1, "temp_sensors", 0, 1, Api::SetTempSensorIdentify,
         Api::GetTempSensorIdentify},
        {kKindAlarm, 0, "alarms", 0, 0, Api::SetAlarmIdentify, Api::GetAlarmIdentify},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.list);
        const ObjectId id = ElementId(e0, c.kind, c.number);
        for (uint8_t on : {1, 0}) {
            ASSERT_EQ(c.set(id, on), 0);
            uint8_t state = 9;
            ASSERT_EQ(c.get(id, &state), 0);
            EXPECT_EQ(state, on);
            const json& element =
                HostEnclosure(host, kSes, 0)["sub_enclosures"][c.lun][c.list][c.index];
            EXPECT_EQ(element.value("identify", false), on == 1);
        }
    }
    // Nothing else in the enclosure changed.
    const json& fan1 = HostEnclosure(host, kSes, 0)["sub_enclosures"][0]["fans"][1];
    EXPECT_EQ(fan1, (json{{"speed", 5}, {"rpm", 5120}}));
}

TEST_F(EnclosureElements, SesAlarmMuteAndTonesTouchOnlyTheAlarm) {
    emulator::EmulatedHost& host = StartHost();
    const ObjectId e0 = EnclosureId(kSes, 0);
    const ObjectId alarm = ElementId(e0, kKindAlarm, 0);
    const ObjectId fan = ElementId(e0, kKindFan, 0);
    ASSERT_EQ(Api::SetFanIdentify(fan, 1), 0);
    const auto hostAlarm = [&]() -> const json& {
        return HostEnclosure(host, kSes, 0)["sub_enclosures"][0]["alarms"][0];
    };

    ASSERT_EQ(Api::MuteAlarm(alarm), 0);
    EXPECT_EQ(Outcome(Read(Api::GetAlarmMute), alarm), "1");
    EXPECT_EQ(Outcome(Read(Api::GetAlarmStatus), alarm), "5");  // muted, tone stands
    ASSERT_EQ(Api::UnmuteAlarm(alarm), 0);
    EXPECT_EQ(hostAlarm().value("muted", true), false);

    // Tone 4 (bit 2) while bit 0 sounds: both asked for, bit 2 checked.
    ASSERT_EQ(Api::SetAlarmTone(alarm, 4), 0);
    EXPECT_EQ(hostAlarm().value("tones", 0), 5);
    ASSERT_EQ(Api::SetAlarmOff(alarm), 0);
    EXPECT_EQ(hostAlarm().value("tones", 9), 0);
    EXPECT_EQ(Outcome(Read(Api::GetAlarmState), alarm), "0");
    // The alarm writes selected no other element.
    EXPECT_EQ(Outcome(Read(Api::GetFanIdentify), fan), "1");
}

TEST_F(EnclosureElements, SesControlWritesTheEnclosureDoesNotCarryOutFail) {
    struct Case {
        const char* name;
        json change;
        std::function<int(ObjectId)> write;
        uint8_t kind;
        uint32_t error;
    };
    const Case cases[] = {
        {"tone not supported",
         {{"alarms", {{{"tones_supported", 1}}}}},
         [](ObjectId a) { return Api::SetAlarmTone(a, 2); },
         kKindAlarm,
         kApiAlarmToneRefused},
        {"unmute ignored",
         {{"ignore_control", true}},
         [](ObjectId a) { return Api::UnmuteAlarm(a); },
         kKindAlarm,
         kApiNotSupported},
        {"fan speed ignored",
         {{"ignore_control", true}},
         [](ObjectId f) { return Api::SetFanSpeed(f, 7); },
         kKindFan,
         kApiFanSpeedRefused},
        {"alarm not installed",
         {{"alarms", {{{"status", "not_installed"}}}}},
         [](ObjectId a) { return Api::UnmuteAlarm(a); },
         kKindAlarm,
         kApiAlarmMissing},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StartHost([&](json& state) { EnclosureOf(state, kSes, 3).update(c.change); });
        EXPECT_EQ(c.write(ElementId(EnclosureId(kSes, 3), c.kind, 0)), -1);
        EXPECT_EQ(LastApiCode(), c.error);
    }
}

TEST_F(EnclosureElements, IdentifySupportIsTestedOnSesElementsAndRestored) {
    emulator::EmulatedHost& host = StartHost([](json& state) {
        EnclosureOf(state, kSes, 3)["fans"] = {{{"identify", true}}, json::object()};
    });
    const ObjectId e3 = EnclosureId(kSes, 3);
    for (uint8_t fan : {0, 1}) {
        uint32_t supported = 9;
        ASSERT_EQ(Api::IsIdentifySupported(ElementId(e3, kKindFan, fan), &supported), 0);
        EXPECT_EQ(supported, 1u);
        EXPECT_EQ(HostEnclosure(host, kSes, 3)["fans"][fan].value("identify", false), fan == 0);
    }
    uint32_t supported = 9;
    ASSERT_EQ(Api::IsIdentifySupported(e3, &supported), 0);  // the enclosure element
    EXPECT_EQ(supported, 1u);

    // Slots, drives and units without a question; SAF-TE elements never.
    ClearTraffic();
    ObjectId unit = ObjectId::Blank();
    ASSERT_EQ(Api::MakeUnitId(0, 0xFF, 0, 0xFF, 0xFF, &unit), 0);
    for (const ObjectId& id : {ElementId(e3, kKindSlot, 0), rhosk_emulated::DriveId(0), unit}) {
        supported = 9;
        ASSERT_EQ(Api::IsIdentifySupported(id, &supported), 0);
        EXPECT_EQ(supported, 1u);
    }
    EXPECT_EQ(ScsiCount(), 0u);
    const ObjectId safteFan = ElementId(EnclosureId(kSafte, 1), kKindFan, 0);
    ASSERT_EQ(Api::IsIdentifySupported(safteFan, &supported), 0);
    EXPECT_EQ(supported, 0u);

    StartHost([](json& state) { EnclosureOf(state, kSes, 3)["ignore_control"] = true; });
    ASSERT_EQ(Api::IsIdentifySupported(ElementId(EnclosureId(kSes, 3), kKindFan, 0), &supported),
              0);
    EXPECT_EQ(supported, 0u);
}

TEST_F(EnclosureElements, SafteFanSpeedCodesMapToTheFourSafteSpeeds) {
    emulator::EmulatedHost& host = StartHost();
    const ObjectId fan = ElementId(EnclosureId(kSafte, 1), kKindFan, 1);
    const uint8_t mapped[8] = {0, 1, 1, 1, 2, 3, 3, 4};
    for (uint8_t code = 0; code < 8; ++code) {
        ClearTraffic();
        ASSERT_EQ(Api::SetFanSpeed(fan, code), 0) << +code;
        EXPECT_EQ(HostEnclosure(host, kSafte, 1)["fans"][1].value("speed", -1), mapped[code]);
        EXPECT_EQ(ScsiTrace(), (std::vector<std::string>{"rdb t64 l1 b0", "wrb t64 l1 b19"}));
        EXPECT_EQ(CountKind("lock"), 0u);
    }
    EXPECT_EQ(Api::SetFanSpeed(ElementId(EnclosureId(kSafte, 1), kKindFan, 0), 3), 0);
    ObjectId none = fan;
    none[ObjectId::kNumber] = 2;
    EXPECT_EQ(Api::SetFanSpeed(none, 3), -1);
    EXPECT_EQ(LastApiCode(), kApiFanMissing);
}

TEST_F(EnclosureElements, SafteAlarmAudibilityRewritesTheGlobalFlagsUnderTheLock) {
    emulator::EmulatedHost& host = StartHost([](json& state) {
        EnclosureOf(state, kSafte, 1)["global_flags"] = {3, 0x22, 0x33};
    });
    const ObjectId alarm = ElementId(EnclosureId(kSafte, 1), kKindAlarm, 0);
    ClearTraffic();
    ASSERT_EQ(Api::MuteAlarm(alarm), 0);
    EXPECT_EQ(HostEnclosure(host, kSafte, 1)["global_flags"], (json{2, 0x22, 0x33}));
    EXPECT_EQ(ScsiTrace(),
              (std::vector<std::string>{"rdb t64 l1 b0", "rdb t64 l1 b5", "wrb t64 l1 b21"}));
    EXPECT_EQ(CountKind("lock"), 1u);
    EXPECT_EQ(CountKind("unlock"), 1u);
    ASSERT_EQ(Api::UnmuteAlarm(alarm), 0);
    EXPECT_EQ(HostEnclosure(host, kSafte, 1)["global_flags"], (json{3, 0x22, 0x33}));
}

// Every failure after the lock was taken releases it; a lock that cannot
// be had stops before the flags are read.
TEST_F(EnclosureElements, SafteAlarmAudibilityReleasesTheLockOnEveryPath) {
    struct Case {
        const char* name;
        std::function<void(json&)> change;
        std::vector<std::string> trace;
        size_t locks;
    };
    const Case cases[] = {
        {"flags unreadable",
         [](json& s) { EnclosureOf(s, kSafte, 1)["fail"] = {"read_buffer 5"}; },
         {"rdb t64 l1 b0", "rdb t64 l1 b5"},
         1},
        {"write refused",
         [](json& s) { EnclosureOf(s, kSafte, 1)["fail"] = {"write_buffer"}; },
         {"rdb t64 l1 b0", "rdb t64 l1 b5", "wrb t64 l1 b21"},
         1},
        {"lock held elsewhere",
         [](json& s) { s["machine"]["controllers"][kSafte]["management_lock"] = true; },
         {"rdb t64 l1 b0"},
         10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        emulator::EmulatedHost& host = StartHost(c.change);
        const ObjectId alarm = ElementId(EnclosureId(kSafte, 1), kKindAlarm, 0);
        ClearTraffic();
        EXPECT_EQ(Api::MuteAlarm(alarm), -1);
        EXPECT_EQ(ScsiTrace(), c.trace);
        EXPECT_EQ(CountKind("lock"), c.locks);
        EXPECT_TRUE(integration::LocksAreReleased(Log()));
        EXPECT_TRUE(integration::OpensAreClosed(Log()));
        EXPECT_EQ(HostEnclosure(host, kSafte, 1).contains("global_flags"), false);
    }
}

}  // namespace
}  // namespace enclosure_test::enclosure_elements_test
