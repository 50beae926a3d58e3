// The controller commands that every controller of the newer family
// shares. Abstract: the manager builds one of its generation classes.
#pragma once

#include "controllers/controller.h"

struct FirmwareCompatRecord;
struct WeeklySchedule;

class ControllerWescal : public Controller {
  public:
    ~ControllerWescal() override;

    void showAlarms() override;
    void showAlarmsReverse() override;
    int schedRebuildCommand(std::istream& words) override;
    int schedVerifyCommand(std::istream& words) override;
    int schedSelftestCommand(std::istream& words) override;
    void showRebuildSchedule() override;
    void showVerifySchedule() override;
    void showSelftestSchedule() override;
    int addScheduleSlot(const std::string& slot, const std::string& task) override;
    int deleteScheduleSlot(int slot, const std::string& task) override;
    int setRebuild(std::istream& words, const std::string& word) override;
    int setVerify(std::istream& words, const std::string& word) override;
    int setSelftest(std::istream& words, const std::string& word) override;
    int setForceDriveCacheOn(std::istream& words, const std::string& word) override;
    std::string getForceDriveCacheOn() override;
    std::string getAvMode() override;
    int setAvMode(const std::string& word) override;
    std::string getVerifyRate() override;
    int createUnitCommand(std::istream& words) override;
    int createUnit(std::istream& options, const std::string& type,
                   const std::string& style) override;
    void showDiag() override;
    int updateFirmware(const std::string& fileName, uint8_t force, uint8_t warning) override;
    std::string getLbaReorder() override;
    int setLbaReorder(std::istream& words, const std::string& word) override;
    int setAutoRebuild(const std::string& word) override;
    std::string getAutoRebuild(const std::string& mode) override;
    void showControllerBus() override;
    std::string getCarveSize(const std::string& mode) override;
    int setCarveSize(const std::string& word) override;
    void showModePageControl(std::istream& words) override;
    int setModePageControl(std::istream& words, const std::string& word) override;
    int setRebuildBackgroundTask(std::istream& words, const std::string& word, int isRate) override;
    int setVerifyBackgroundTask(std::istream& words, const std::string& word, int isRate) override;
    void showBackgroundTask(int task, bool isRate, bool summary) override;

    // The eight-character severity text of an event.
    static std::string getSeverityText(uint8_t severity);

    // ===== Firmware update (controllers/controller_firmware.cpp) =====
    // Has the library examine an image file: 0 when the image fits the
    // controller (the record filled), -1 when it does not.
    int examineFirmwareImage(const std::string& fileName, FirmwareCompatRecord* record);
    // Shows the versions side by side with the verdict: 0 to go on, -1 to
    // stop.
    int showFirmwareCompatibility(const std::string& fileName);
    // ===== end of firmware update =====

  protected:
    ControllerWescal(const std::string& controllerName, uint32_t controllerNumber, ObjectId id);

    // The controller's weekly timetable; the library's error when it
    // cannot be read.
    void readSchedule(WeeklySchedule* schedule);

    // The controller log section that follows the diagnostic report.
    void showControllerLog();

    // The auto-rebuild policy byte and the auto-carving LUN size in blocks
    // minus one; a failed read throws the library's error.
    uint8_t getAutoRebuildPolicy();
    uint64_t getLunSize();

    // The host bus as the controller's bus bits describe it.
    struct BusInfo {
        const char* type;
        const char* width;
        const char* speed;
    };
    static BusInfo decodeBusInfo(uint32_t bits);

    // What generations without a policy show for it.
    static constexpr const char* kNotSupported = "Not Supported";
    // The body that generations without a setting use: CLI error 24.
    [[noreturn]] static void refuse();
};
