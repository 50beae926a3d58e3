// The controller manager of one command: discovers the controllers, owns
// their objects and the host-level enclosures, resolves controller and
// enclosure names and runs the commands that act on every controller.
//
// This is the shell's first manager: it discovers no controllers yet, so
// every lookup fails and the commands over every controller have nothing to
// act on. Discovery and the per-controller work are filled in together with
// the controller objects.
#pragma once

#include <istream>
#include <string>

class Controller;
class Enclosure;

class ControllerMgr {
  public:
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
    int updateFirmware(std::istream& words);

    // The old-style commands served by the manager.
    int rescanCommand(std::istream& words);
    void alarmsCommand(std::istream& words);
    int schedCommand(std::istream& words);
    int setCommand(std::istream& words);
};
