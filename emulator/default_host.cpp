// The built-in default host: the machine a first run finds when no host
// file exists yet. Three controllers of both families, as a small server
// carries them.
#include "emulator/emulated_host.h"
#include "emulator/host_store.h"

namespace emulator {

using nlohmann::json;

namespace {

json identity(const char* model, const char* serial, const char* firmware, const char* bios,
              const char* bootLoader, const char* pcb, const char* chip, unsigned memory,
              unsigned compatLevel, unsigned modelCode, unsigned features) {
    return json{{"model", model},
                {"serial", serial},
                {"firmware", firmware},
                {"bios", bios},
                {"boot_loader", bootLoader},
                {"pcb", pcb},
                {"achip", chip},
                {"pchip", chip},
                {"memory", memory},
                {"compat_level", compatLevel},
                {"model_code", modelCode},
                {"srl", compatLevel + 1},
                {"features", features}};
}

}  // namespace

json EmulatedHost::defaultHost() {
    json controllers = json::array();
    // A newest-generation controller with 8 ports.
    controllers.push_back(
        {{"device_type", 5},
         {"slot", 2},
         {"ui_number", 2},
         {"driver", {{"version", {3, 0, 2, 46}}, {"srl_min", 35}, {"srl_max", 40}}},
         {"identity",
          identity("KV-9750-8i", "L326021B8180274", "FE9X 4.10.00.027", "BE9X 4.08.00.004",
                   "BL9X 4.08.00.001", "Rev 032", "1.30", 512, 37, 8, 2)},
         {"settings", {{"ports", 8}, {"auto_rebuild", 1}, {"stagger", 2}, {"spinups", 1}}}});
    // The generation before it, 4 ports.
    controllers.push_back(
        {{"device_type", 4},
         {"slot", 5},
         {"ui_number", 5},
         {"driver", {{"version", {3, 0, 2, 46}}, {"srl_min", 30}, {"srl_max", 40}}},
         {"identity",
          identity("KV-9650SE-4LPML", "L320909A7030211", "FE9X 3.08.00.029", "BE9X 3.08.00.004",
                   "BL9X 3.01.00.006", "Rev 021", "1.20", 224, 33, 6, 2)},
         {"settings", {{"ports", 4}, {"host_bus", 0}}}});
    // An older-family controller with 2 ports.
    controllers.push_back({{"device_type", 1},
                           {"slot", 6},
                           {"ui_number", 6},
                           {"driver", {{"version", {1, 26, 2, 4}}}},
                           {"identity", identity("KV-8006-2LP", "L319004A5120043",
                                                 "FE8S 1.05.00.068", "BE7X 1.08.00.048",
                                                 "BL7X 1.01.00.022", "Rev 5", "1.10", 32, 0, 0, 0)},
                           {"settings", {{"ports", 2}}}});
    // The system disk hangs under the board's own disk controller, not
    // under a Kivra controller.
    json disks = json::array(
        {{{"controller", -1}, {"target", 0}, {"disk_number", 0}, {"parent_dev_inst", 0x20}}});
    json volumes = json::array({{{"name", "C:"},
                                 {"in_use", true},
                                 {"extents", {{{"disk_number", 0}, {"length", 512ull << 30}}}}}});
    return json{
        {"format", 1},
        {"machine",
         {{"administrator", true},
          {"host_name", localHostName()},
          {"domain", ""},
          {"common_app_data", "ProgramData"},
          {"windows_directory", "Windows"},
          // Windows Server 2022 Standard on x64.
          {"version",
           {{"major", 10},
            {"minor", 0},
            {"build", 20348},
            {"platform_id", 2},
            {"service_pack", ""},
            {"service_pack_major", 0},
            {"service_pack_minor", 0},
            {"suite_mask", 0x110},
            {"product_type", 3},
            {"product_info", 7},
            {"architecture", platform::kArchAmd64},
            {"server_r2", 0}}},
          {"controllers", controllers},
          {"disks", disks},
          {"volumes", volumes},
          {"registry", json::object()}}},
        {"faults", json::array()},
    };
}

}  // namespace emulator
