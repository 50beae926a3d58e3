// The library end to end against the emulated host: a fixture that
// installs an emulated machine (in memory or as a host file in a folder of
// its own), with its request log turned on, and keeps a copy of every
// controller request buffer exactly as it reached the emulated drivers.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <vector>

#include "api/api_error.h"
#include "api/driver.h"
#include "api/object_id.h"
#include "emulator/emulated_host.h"
#include "emulator/host_store.h"
#include "forwarding_host.h"
#include "platform/host_system.h"
#include "test_folder.h"
#include "test_support.h"

namespace integration {

using nlohmann::json;

// One IOCTL_SCSI_MINIPORT request as the transport sent it.
struct SentRequest {
    std::vector<uint8_t> bytes;

    uint32_t u32(size_t at) const {
        return static_cast<uint32_t>(bytes[at]) | static_cast<uint32_t>(bytes[at + 1]) << 8 |
               static_cast<uint32_t>(bytes[at + 2]) << 16 |
               static_cast<uint32_t>(bytes[at + 3]) << 24;
    }
    size_t size() const { return bytes.size(); }
    uint32_t timeout() const { return u32(srb::kTimeout); }
    uint32_t controlCode() const { return u32(srb::kControlCode); }
    std::string signature() const {
        return std::string(reinterpret_cast<const char*>(bytes.data()) + srb::kSignature);
    }
};

// What a test does with each controller request before the emulated host
// sees it (it may throw, as a step can that no host answer makes fail).
using RequestWatch = std::function<void(const SentRequest&)>;

// Forwards every call to the emulated host and copies the controller
// requests on the way in, showing each to the watch when there is one.
class TappedHost : public ForwardingHost {
  public:
    TappedHost(std::unique_ptr<emulator::EmulatedHost> inner, std::vector<SentRequest>* sent,
               const RequestWatch* watch)
        : ForwardingHost(std::move(inner)), sent_(sent), watch_(watch) {}

    bool deviceIoControl(platform::Handle h, uint32_t code, void* in, uint32_t inSize, void* out,
                         uint32_t outSize, uint32_t* returned) override {
        if (code == srb::kIoctlScsiMiniport && in != nullptr) {
            const auto* bytes = static_cast<const uint8_t*>(in);
            sent_->push_back({std::vector<uint8_t>(bytes, bytes + inSize)});
            if (*watch_)
                (*watch_)(sent_->back());
        }
        return ForwardingHost::deviceIoControl(h, code, in, inSize, out, outSize, returned);
    }

  private:
    std::vector<SentRequest>* sent_;
    const RequestWatch* watch_;
};

// The identifier of controller `number`.
inline ObjectId ControllerId(uint8_t number) {
    ObjectId id = ObjectId::Blank();
    id[0] = kKindController;
    id[1] = number;
    return id;
}

// A newer-family controller: device type, model code and serial number,
// with `extra` merged over it.
inline json RhoskController(int deviceType, int modelCode, const std::string& serial,
                            const json& extra = json::object()) {
    json ctl = {{"device_type", deviceType},
                {"identity", {{"model_code", modelCode}, {"serial", serial}}}};
    ctl.merge_patch(extra);
    return ctl;
}

// An older-family controller.
inline json PraneController(const std::string& serial, const json& extra = json::object()) {
    json ctl = {{"device_type", 1}, {"identity", {{"serial", serial}}}};
    ctl.merge_patch(extra);
    return ctl;
}

// A fault rule: fire `count` times ("once", a number or "always").
inline json Fault(const json& match, const json& action, const json& count = "once") {
    return {{"match", match}, {"action", action}, {"count", count}};
}

class IntegrationTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetLibrary();
        folder_ = FreshTestFolder("kv_integration");
    }
    void TearDown() override {
        platform::SetHost(nullptr);
        ResetLibrary();
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    static void ResetLibrary() { test_support::ResetLibrary(); }

  public:
    // A machine with these controllers, the request log on and these faults.
    static json Machine(const json& controllers, const json& faults = json::array()) {
        return {{"format", 1},
                {"request_log", "requests.jsonl"},
                {"machine", {{"host_name", "kvhost"}, {"controllers", controllers}}},
                {"faults", faults}};
    }

  protected:
    // Installs the machine, held in memory, as the process's host.
    emulator::EmulatedHost& Install(const json& state) {
        return Tap(emulator::EmulatedHost::fromJson(state, folder_.string()));
    }

    // Writes the machine as a host file and installs a host that reads it.
    emulator::EmulatedHost& InstallFile(const json& state) {
        std::ofstream(HostFile()) << state.dump(2);
        return Reload();
    }
    // Installs a fresh host that reads the host file again (a new run).
    emulator::EmulatedHost& Reload() {
        ResetLibrary();
        return Tap(emulator::EmulatedHost::fromFile(HostFile()));
    }
    // Changes the host file as another run would, under the lock and
    // counted; the installed host takes the change with its next request.
    void ChangeHostFile(const std::function<void(json&)>& change) {
        json state = HostFileContents();
        change(state);
        emulator::HostFileLock lock(HostFile());
        emulator::HostFileCopy copy;
        copy.countWrites(HostFile());
        copy.write(HostFile(), state.dump(2));
    }
    // Replaces the fault rules of the host file as another run would.
    void SetFaults(const json& faults) {
        ChangeHostFile([&](json& state) { state["faults"] = faults; });
    }
    std::string HostFile() const { return (folder_ / "host.json").string(); }
    json HostFileContents() const { return json::parse(std::ifstream(HostFile())); }

    // The request log so far, one record per open, request and close.
    std::vector<json> Log() const {
        std::vector<json> records;
        std::ifstream in(folder_ / "requests.jsonl");
        for (std::string line; std::getline(in, line);)
            records.push_back(json::parse(line));
        return records;
    }
    // Forgets the traffic so far.
    void ClearTraffic() {
        std::filesystem::remove(folder_ / "requests.jsonl");
        sent_.clear();
    }

    // The "request" records of the log.
    std::vector<json> Requests() const {
        std::vector<json> out;
        for (const json& r : Log()) {
            if (r.value("op", "") == "request")
                out.push_back(r);
        }
        return out;
    }

    static std::string LastMessage() {
        ApiErrorRecord record;
        ApiError::Get(&record, nullptr, 0);
        return record.message;
    }

    std::filesystem::path folder_;
    std::vector<SentRequest> sent_;
    RequestWatch watch_;

  private:
    emulator::EmulatedHost& Tap(std::unique_ptr<emulator::EmulatedHost> host) {
        auto tapped = std::make_unique<TappedHost>(std::move(host), &sent_, &watch_);
        emulator::EmulatedHost& ref = tapped->inner();
        platform::SetHost(std::move(tapped));
        return ref;
    }
};

// Every controller device that was opened is closed again, and every
// request goes to an open handle: no handle outlives an operation.
inline ::testing::AssertionResult OpensAreClosed(const std::vector<json>& log) {
    std::set<int64_t> open;
    for (size_t i = 0; i < log.size(); ++i) {
        const json& r = log[i];
        if (r.value("device", "") != "controller" && r.value("op", "") != "close")
            continue;
        const std::string op = r.value("op", "");
        const int64_t handle = r.value("handle", int64_t{-1});
        if (op == "open" && r.value("result", "") == "ok") {
            open.insert(handle);
        } else if (op == "close") {
            open.erase(handle);
        } else if (op == "request" && open.count(handle) == 0) {
            return ::testing::AssertionFailure() << "request at " << i << " on a closed handle";
        }
    }
    if (!open.empty())
        return ::testing::AssertionFailure() << open.size() << " device(s) never closed";
    return ::testing::AssertionSuccess();
}

// Every management lock that succeeded is followed by an unlock.
inline ::testing::AssertionResult LocksAreReleased(const std::vector<json>& log) {
    int held = 0;
    for (const json& r : log) {
        if (r.value("op", "") != "request")
            continue;
        const std::string kind = r.value("kind", "");
        if (kind == "lock" && r.value("result", "") == "ok")
            ++held;
        else if (kind == "unlock" && held > 0)
            --held;
    }
    if (held != 0)
        return ::testing::AssertionFailure() << held << " lock(s) never released";
    return ::testing::AssertionSuccess();
}

}  // namespace integration
