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

    // The words and library calls of one background task's mode and rate
    // settings (rebuild or verify).
    struct BackgroundTask;
    // --- Firmware update (controllers/controller_firmware.cpp) ---
    // Has the library examine an image file: 0 when the image fits the
    // controller (the record filled), -1 when it does not.
    int examineFirmwareImage(const std::string& fileName, FirmwareCompatRecord* record);
    // Shows the versions side by side with the verdict: 0 to go on, -1 to
    // stop.
    int showFirmwareCompatibility(const std::string& fileName);

  protected:
    ControllerWescal(const std::string& controllerName, uint32_t controllerNumber, ObjectId id);

    // A task rate or mode that cannot be read: raised alone, printed in
    // its place in the "show all" list.
    void reportFailedRead(bool summary);

    // The controller's weekly timetable; the library's error when it
    // cannot be read.
    void readSchedule(WeeklySchedule* schedule);

    // --- Task schedules, shared by the new-style and old-style commands ---
    // The day number 0-6 of "sun" ... "sat"; CLI error 61 for any other word.
    int parseDayName(std::string word);
    // Put a task into the first free slot of its timetable; a full
    // timetable is reported and changes nothing.
    int addRebuildTask(int day, int hour, int hours);
    int addVerifyTask(int day, int hour, int hours);
    int addSelftestTask(int day, int hour);
    // Free slot 1-7 of a timetable.
    int removeRebuildTask(int slot);
    int removeVerifyTask(int slot);
    int removeSelftestTask(int slot);
    // Switch the scheduled rebuilds and verifies on and off; no words may
    // follow.
    int enableRebuildSchedule(std::istream& words);
    int disableRebuildSchedule(std::istream& words);
    int enableVerifySchedule(std::istream& words);
    int disableVerifySchedule(std::istream& words);
    // Basic verify with its weekly preferred start ("pref=day:hour").
    int setBasicVerify(std::istream& words);
    // Set or clear the selftest bits of `mask` (1 UDMA, 2 SMART).
    int enableSelftestTasks(std::istream& words, uint16_t mask);
    int disableSelftestTasks(std::istream& words, uint16_t mask);
    // The old-style "sched" words after add, remove, enable and disable.
    int schedAddRebuildSlot(std::istream& words);
    int schedAddVerifySlot(std::istream& words);
    int schedAddSelftestSlot(std::istream& words);
    int schedRemoveRebuildSlot(std::istream& words);
    int schedRemoveVerifySlot(std::istream& words);
    int schedRemoveSelftestSlot(std::istream& words);
    int schedEnableSelftest(std::istream& words);
    int schedDisableSelftest(std::istream& words);

    // --- Policies ---
    int enableForceDriveCacheOn(std::istream& words);
    int disableForceDriveCacheOn(std::istream& words);
    int setAutoRebuildPolicy(uint8_t policy);
    int setLunSize(uint64_t size);
    // Refuses a background task mode below firmware level 37 (CLI error
    // 149) and warns when low latency meets the task's rate 1.
    void checkBackgroundTaskMode(uint8_t mode, const std::string& task);
    // The mode or rate word of one background task.
    int setBackgroundTask(const BackgroundTask& task, std::istream& words, const std::string& word,
                          bool isRate);

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
