// Fault rules that let the first matching requests pass and make the Nth
// one fail, so that a failure in the middle of an operation (the second of
// two writes, the third read of a loop) can be reached from a host file.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "emulator/faults.h"

namespace emulator_fault_skip_test {
namespace {

using nlohmann::json;

emulator::FaultQuery FirmwareRead(int64_t parameter) {
    emulator::FaultQuery q;
    q.layer = "firmware";
    q.kind = "firmware";
    q.controller = 0;
    q.opcode = 0x12;
    q.table = 0x0402;
    q.parameter = parameter;
    return q;
}

TEST(EmulatorFaultSkip, TheNthMatchingRequestFails) {
    struct Case {
        const char* what;
        json rule;
        const char* outcomes;  // per request: 'F' fails, '.' passes
    } cases[] = {
        {"no skip: the first match fails once",
         {{"match", {{"layer", "firmware"}, {"parameter", 9}}}, {"action", {{"code", 1}}}},
         "F....."},
        {"skip 2: the third match fails once",
         {{"match", {{"layer", "firmware"}, {"parameter", 9}}},
          {"action", {{"code", 1}}},
          {"skip", 2}},
         "..F..."},
        {"skip 1 with two firings",
         {{"match", {{"layer", "firmware"}, {"parameter", 9}}},
          {"action", {{"code", 1}}},
          {"skip", "0x1"},
          {"count", 2}},
         ".FF..."},
        {"skip 3, then always",
         {{"match", {{"layer", "firmware"}, {"parameter", 9}}},
          {"action", {{"code", 1}}},
          {"skip", 3},
          {"count", "always"}},
         "...FFF"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        json state = {{"faults", json::array({c.rule})}};
        std::string got;
        for (int i = 0; i < 6; ++i) {
            // A request the rule does not match neither counts down its
            // skip nor changes the state.
            bool changed = true;
            EXPECT_TRUE(emulator::takeFault(state, FirmwareRead(14), &changed).is_null());
            EXPECT_FALSE(changed);

            json action = emulator::takeFault(state, FirmwareRead(9), &changed);
            got += action.is_null() ? '.' : 'F';
            // The skip counting down and a firing both change the state,
            // which the host file then keeps for the next run.
            EXPECT_EQ(changed, !action.is_null() || i < emulator::numberField(c.rule, "skip", 0));
        }
        EXPECT_EQ(got, c.outcomes);
    }
}

TEST(EmulatorFaultSkip, ASkippingRuleLeavesTheRequestToLaterRules) {
    json state = {
        {"faults", json::array({
                       {{"match", {{"layer", "firmware"}}}, {"action", {{"code", 1}}}, {"skip", 1}},
                       {{"match", {{"layer", "firmware"}}}, {"action", {{"code", 2}}}},
                   })}};
    EXPECT_EQ(emulator::takeFault(state, FirmwareRead(9)), json({{"code", 2}}));
    EXPECT_EQ(emulator::takeFault(state, FirmwareRead(9)), json({{"code", 1}}));
    EXPECT_TRUE(emulator::takeFault(state, FirmwareRead(9)).is_null());
    EXPECT_EQ(state["faults"][0]["skip"], 0);
    EXPECT_EQ(state["faults"][0]["fired"], 1);
}

}  // namespace
}  // namespace emulator_fault_skip_test
