// The addressable object /cN/bbu: the battery backup unit of one
// controller. Every controller object owns exactly one BBU, also on the
// older family, whose library has no battery support. The object answers
// the commands typed at /cN/bbu and gives the controller's listings their
// short battery texts.
#pragma once

#include <cstdint>
#include <istream>
#include <string>

#include "api/object_id.h"
#include "base/object.h"

class Controller;

class BBU : public Object {
  public:
    // Reads the online state and, for an enabled BBU, its presence (a failed
    // presence read stays silent).
    explicit BBU(Controller* owner);
    ~BBU() override;
    BBU(const BBU&) = delete;
    BBU& operator=(const BBU&) = delete;

    int execute(std::istream& words) override;

    // --- Used by the controller's views and by unit creation ---
    // With useCached false the library is asked again (a failed call
    // throws the library's message).
    bool isPresent(bool useCached);
    // With useCached false the library is asked again (a failed call gives
    // false).
    bool isBatteryPresent(bool useCached);
    // "On", "Off", or "-" when the library call fails.
    std::string getOnlineState();
    // "Yes", "No" or "Unknown"; "-" below family 4.
    std::string getReady();
    // The status text; "-" below family 4. The mode does not change it.
    std::string getStatusText(const std::string& mode);
    // The BBU column of the controller list.
    std::string getSummaryText();
    // The battery table; prints nothing unless the BBU is enabled and present.
    void showTable();

    // --- Value texts; a library failure gives "-" ---
    std::string getVoltageText();
    std::string getTemperatureText();
    std::string getBackupCapacityText();
    std::string getBatteryInstallDate();
    std::string getLastCapacityTestDate();
    std::string getSerialNumber();
    std::string getFirmwareVersion();
    std::string getBootloaderVersion();
    std::string getPcbRevision();
    // The library's numbers; a failure throws the library's message.
    int32_t getVoltageStatus();
    int32_t getTemperatureStatus();
    uint32_t getBackupCapacity();

    // Kept for completeness; nothing calls them.
    std::string getBatteryPresentText(bool useCached);
    std::string getInfoText();
    int initCommand(std::istream& words);

    // Texts of the library's values.
    static std::string statusText(int32_t status);
    static std::string levelText(int32_t level);
    static std::string readyText(uint32_t ready);
    // The word of an attribute line's BBU status: the weak and failed
    // states are spelled out.
    static std::string statusLineText(const std::string& status);

  private:
    int enableCommand(std::istream& words);
    int disableCommand(std::istream& words);
    int showCommand(std::istream& words);
    int testCommand(std::istream& words);
    void showAttribute(const std::string& word);
    // The question of "disable" and "test": true to go on.
    static bool ask(const std::string& warning);
    // The help branch of enable, disable and test: a further word is CLI
    // error 13, else the topic's help.
    static void showCommandHelp(std::istream& words, const std::string& topic);
    // A text value of the library, "-" when the call fails.
    template <typename Read>
    std::string readText(Read read);

    [[nodiscard]] bool isNewerFamily() const;
    [[nodiscard]] std::string path() const;
    [[nodiscard]] ObjectId ownerId() const;

    Controller* owner_;
    std::string onlineState_;
    bool bbuPresent_ = false;
    bool batteryPresent_ = false;
};
