// The controller manager of one command: discovers the controllers, owns
// their objects and the host-level enclosures, resolves controller and
// enclosure names and runs the commands that act on every controller.
#pragma once

#include <istream>
#include <map>
#include <memory>
#include <string>

#include "api/object_id.h"
#include "controllers/controller.h"

class Controller;
class Enclosure;
class LogicalDisk;

class ControllerMgr {
  public:
    // Controllers by name, compared as byte strings: every loop over the
    // controllers visits c0, c1, c10 ... c15, c2 ... c9 in that order.
    using ControllerMap = std::map<std::string, std::unique_ptr<Controller>>;

    // Discovery: one controller object per controller the library lists.
    ControllerMgr();
    virtual ~ControllerMgr();
    ControllerMgr(const ControllerMgr&) = delete;
    ControllerMgr& operator=(const ControllerMgr&) = delete;

    // The controller named "c" + number; CLI error 3 when there is none.
    Controller* getController(const std::string& name);
    // The enclosure directly below the host, "e" + number; CLI error 112
    // when there is none.
    Enclosure* getEnclosure(const std::string& name);

    // Listings over every controller and enclosure.
    void showControllers();
    void showEnclosures();
    void showAlarms();
    void showAlarmsReverse(const std::string& word);
    void showDiag();
    void showRebuildSchedules();
    void showVerifySchedules();
    void showSelftestSchedules();

    // Actions on every controller.
    int flush();
    int commit();
    int rescan(bool makeOsAware);
    // Firmware update of every newer-family controller; `words` are the
    // update command's own words (the "fw=" word and the options).
    int updateFirmware(std::istream& words);

    // The old-style commands served by the manager.
    int rescanCommand(std::istream& words);
    void alarmsCommand(std::istream& words);
    int schedCommand(std::istream& words);
    int setCommand(std::istream& words);

    // Writes the message of a controller or enclosure that could not be
    // built, and two line ends, to standard error.
    static void reportFailure(KV_Exception& error);

    // The controller object for a family code; null for a code without a
    // class.
    static std::unique_ptr<Controller> makeController(int32_t family, const std::string& name,
                                                      uint32_t number, ObjectId id);

  private:
    // Builds the controller of one listed id; a KV_Exception costs only
    // that controller and is reported on standard error.
    void discoverController(ObjectId id);
    void discoverEnclosures(const ObjectIdList16& list);
    // The summary enclosures of a newest-family controller.
    void addSummaryEnclosures(ObjectId controllerId);
    // The enclosures below the host of a family 6 or 7 controller, named
    // from `hostNumber` on, which counts on past them.
    void addHostEnclosures(ObjectId controllerId, uint32_t& hostNumber);
    // Runs `action` on every controller in name order.
    template <class Action>
    void forEachController(Action action);
    // One schedule view of every controller.
    void showSchedules(void (Controller::*show)());
    // The controller-level part of the old-style "set" for unit policies.
    int setUnitPolicy(const std::string& what, const std::string& controllerName,
                      std::istream& words);
    // The unit's setter for "cache", "autoverify" or "overwriteecc"; the
    // write cache's result for requireLockReleased, else 0.
    static int applyUnitPolicy(const std::string& what, LogicalDisk* unit, bool on);

    ControllerMap controllers_;
    // The enclosures of the newest family for the enclosure summary
    // ("/c0/e1") and the enclosures directly below the host ("e0").
    std::map<std::string, TreePtr<Enclosure>> summaryEnclosures_;
    std::map<std::string, TreePtr<Enclosure>> hostEnclosures_;
};
