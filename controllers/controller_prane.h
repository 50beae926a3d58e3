// The controller class of the older family (Prane/Qualt controllers). It
// keeps most of the base class: attributes, listings, unit maintenance,
// rescan and the diagnostic report work as on every family, with the
// library doing the family's own work. What it adds is its construction,
// the event lists that read the controller's event queue, unit creation
// for the RAID types the older family has, and refusing bodies for the
// schedules, policies and firmware update that the older family lacks.
#pragma once

#include <cstdint>
#include <istream>
#include <string>

#include "controllers/controller.h"

class ControllerPrane : public Controller {
  public:
    ControllerPrane(const std::string& controllerName, uint32_t controllerNumber, ObjectId id);
    ~ControllerPrane() override;

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
    int setIgnoreFuaWrite(std::istream& words, const std::string& word) override;
    std::string getIgnoreFuaWrite() override;
    int setForceDriveCacheOn(std::istream& words, const std::string& word) override;
    std::string getForceDriveCacheOn() override;
    int setOnDegrade(const std::string& word) override;
    std::string getOnDegrade() override;
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

    // "ERROR", "WARNING", "INFO", "DEBUG" or "UNKNOWN" for an event's
    // severity.
    static std::string getSeverityText(uint8_t severity);

    // The most events one listing prints: the queue of a controller that
    // keeps reporting events is not read past it.
    static constexpr int kMaxListedEvents = 1000;

  protected:
    // One event of the controller's queue; code 0 means the queue holds no
    // further event.
    struct QueuedEvent {
        uint16_t code = 0;
        uint8_t severity = 0;
        std::string text;
    };
    // Takes the controller's next queued event; a failed read throws the
    // library's error.
    virtual QueuedEvent readNextEvent();

  private:
    // One line of an event list: the controller, "-" for the time (the
    // older family's events carry none), the severity and the message.
    void printEventLine(const QueuedEvent& event) const;
};
