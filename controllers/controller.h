// The addressable object /cN of one RAID controller and its object tree.
//
// The controller manager builds one object of a generation class derived
// from Controller for every controller of a command. The constructor builds
// the whole tree at once: one unit object per unit, one Port per drive port,
// one Phy per SAS phy and, on the newest family, one enclosure object per
// enclosure. The tree lives for one command.
//
// The virtual operations keep one fixed order, which every derived class
// follows. Their bodies live in several files: the tree, the lookups and
// the error line in controller.cpp and controller_tree.cpp, the command
// grammar in controller_commands.cpp, the attributes, tables and listings
// in the controller views files, the newer family in controller_wescal.cpp
// and its generation classes.
#pragma once

#include <cstdint>
#include <istream>
#include <list>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "api/object_id.h"
#include "base/controller_view.h"
#include "base/kv_exception.h"
#include "base/name_order.h"
#include "base/object.h"
#include "base/progress.h"

class AuditLog;
class BBU;
class Enclosure;
class LogicalDisk;
class Phy;
class Port;

// An owning pointer into a controller's tree. The deleter is fixed where
// the object is made, where its class is complete, so that this header
// needs no more than the class names.
template <class T>
using TreePtr = std::unique_ptr<T, void (*)(T*)>;

// Takes over an object made with make_unique; `Base` is the type the map
// holds (LogicalDisk for every unit class, for instance).
template <class Base, class Made>
TreePtr<Base> adoptTreeObject(std::unique_ptr<Made> made) {
    return TreePtr<Base>(made.release(), [](Base* object) { delete object; });
}

// Tree names are a prefix and a decimal number without leading zeros
// ("u2", "u10"). The maps order them as text (u1, u10, u2), and a walk of
// a map goes in that order; lookups are exact.
template <class T>
using TreeMap = std::map<std::string, TreePtr<T>>;

class Controller : public Object, public ControllerView {
  public:
    Controller(const Controller&) = delete;
    Controller& operator=(const Controller&) = delete;

    // --- Virtual operations, in their fixed order ---
    ~Controller() override;
    int execute(std::istream& words) override;
    virtual void showAlarms() = 0;
    virtual void showAlarmsReverse() = 0;
    virtual int schedRebuildCommand(std::istream& words) = 0;
    virtual int schedVerifyCommand(std::istream& words) = 0;
    virtual int schedSelftestCommand(std::istream& words) = 0;
    virtual void showRebuildSchedule() = 0;
    virtual void showVerifySchedule() = 0;
    virtual void showSelftestSchedule() = 0;
    virtual int addScheduleSlot(const std::string& slot, const std::string& task) = 0;
    virtual int deleteScheduleSlot(int slot, const std::string& task) = 0;
    virtual int setRebuild(std::istream& words, const std::string& word) = 0;
    virtual int setVerify(std::istream& words, const std::string& word) = 0;
    virtual int setSelftest(std::istream& words, const std::string& word) = 0;
    virtual int setIgnoreFuaWrite(std::istream& words, const std::string& word) = 0;
    virtual std::string getIgnoreFuaWrite() = 0;
    virtual int setForceDriveCacheOn(std::istream& words, const std::string& word) = 0;
    virtual std::string getForceDriveCacheOn() = 0;
    virtual int setOnDegrade(const std::string& word) = 0;
    virtual std::string getOnDegrade() = 0;
    virtual std::string getAvMode() = 0;
    virtual int setAvMode(const std::string& word) = 0;
    void toLower(std::string& text) override;
    virtual int rescan(bool makeOsAware);
    virtual void showSummaryRow();
    virtual void show(uint32_t pageRows);
    virtual int infoCommand(std::istream& words);
    virtual void showAll();
    virtual void showUnits();
    virtual uint32_t getNumPorts();
    virtual std::string getModel();
    virtual std::string getDriverVersion();
    virtual std::string getFirmwareVersion();
    virtual std::string getBiosVersion();
    virtual std::string getMonitorVersion();
    virtual std::string getSerialNumber();
    virtual std::string getPcbVersion();
    virtual std::string getPchipVersion();
    virtual std::string getAchipVersion();
    virtual uint32_t getNumDrives();
    virtual uint32_t getNumUnits();
    virtual uint32_t getNumNotOptimalUnits();
    virtual uint32_t getRebuildRate();
    virtual std::string getVerifyRate() = 0;
    virtual int createUnitCommand(std::istream& words) = 0;
    // What both families' createUnitCommand do: read the old-style words
    // and hand them to createUnit.
    int createUnitFromWords(std::istream& words);
    virtual int createUnit(std::istream& options, const std::string& type,
                           const std::string& style) = 0;
    // What both families' createUnit do: create a unit of `type` through
    // its new-unit object (CLI 26 for a type that has none). The object
    // serves only this creation; the next command's tree finds the new unit.
    int createUnitOfType(const std::string& type, std::istream& options, const std::string& style);
    virtual void showDiag() = 0;
    virtual int updateFirmware(const std::string& fileName, uint8_t force, uint8_t warning) = 0;
    virtual std::string getLbaReorder() = 0;
    virtual int setLbaReorder(std::istream& words, const std::string& word) = 0;
    virtual int setAutoRebuild(const std::string& word);
    virtual std::string getAutoRebuild(const std::string& mode);
    virtual void showControllerBus();
    virtual std::string getCarveSize(const std::string& mode);
    virtual int setCarveSize(const std::string& word);
    virtual uint32_t getMaxConnections();
    virtual uint32_t getUnitLimit();
    virtual uint32_t getMaxUnits();
    virtual uint32_t getMaxDrives();
    virtual uint32_t getMaxActiveUnits();
    virtual uint32_t getMaxDrivesPerUnit();
    virtual uint32_t getNumPhys();
    virtual uint32_t getNumActiveDrives();
    virtual std::string getSasEnclosureLimit();
    virtual std::string getSataEnclosureLimit();
    virtual uint32_t getNumActiveUnits();
    virtual void showModePageControl(std::istream& words);
    virtual int setModePageControl(std::istream& words, const std::string& word);
    virtual int setRebuildBackgroundTask(std::istream& words, const std::string& word, int isRate);
    virtual int setVerifyBackgroundTask(std::istream& words, const std::string& word, int isRate);
    virtual void showBackgroundTask(int task, bool isRate, bool summary);

    // --- Accessors ---
    [[nodiscard]] std::string getName() const override { return name; }
    [[nodiscard]] uint32_t getNumber() const override { return number; }
    [[nodiscard]] int32_t getFamily() const override { return family; }
    void getObjectId(ObjectId* id) const override { *id = objectId; }
    [[nodiscard]] BBU* getBbu() const { return bbu.get(); }
    [[nodiscard]] uint32_t getBasicVerifySupported() const override { return basicVerifySupported; }
    // The battery object's answers; false and "-" without one.
    bool isBatteryPresent(bool useCached) override;
    std::string getBatteryOnlineState() override;
    std::string getBatteryReady() override;

    // --- Lookups by exact name; a missing name throws its CLI code ---
    LogicalDisk* getUnit(const std::string& unitName);          // 6
    Port* getPort(const std::string& portName);                 // 9
    Phy* getPhy(const std::string& phyName);                    // 136
    Enclosure* getEnclosure(const std::string& enclosureName);  // 112
    // True when `number` names a drive port of the controller: 0 up to
    // below its port count.
    [[nodiscard]] bool hasPort(int64_t number) const override;

    // The trees, for the tables and listings that walk them.
    [[nodiscard]] const TreeMap<LogicalDisk>& getUnits() const { return units; }
    [[nodiscard]] const TreeMap<Port>& getPorts() const { return ports; }
    [[nodiscard]] const TreeMap<Phy>& getPhys() const { return phys; }
    [[nodiscard]] const TreeMap<Enclosure>& getEnclosures() const { return enclosures; }

    // --- The command grammar after /cN ---
    int rescanCommand(std::istream& words);
    int updateCommand(std::istream& words, bool firstController);
    int addCommand(std::istream& words);
    int delCommand(std::istream& words);
    int startCommand(std::istream& words);
    int stopCommand(std::istream& words);
    int getCommand(std::istream& words);

    // --- Settings and views dispatchers ---
    int setCommand(std::istream& words);
    int showCommand(std::istream& words);
    void getShowAllAttributes(std::ostream& out);
    int setExportJbod(const std::string& word);
    int setSpinup(const std::string& word);
    int setStagger(const std::string& word);
    int setRebuildRate(std::istream& words);
    int setVerifyRate(std::istream& words);

    // --- Unit maintenance carried out by the controller ---
    int removeCommand(std::istream& words);
    int deleteUnitCommand(std::istream& words);
    int flush(std::istream& words);
    int commit();
    int mediaScan(const std::string& action);
    // The old-style "mediascan" words after the controller.
    int mediascanCommand(std::istream& words);
    int saveCapture();
    // Adds the units named by one flush word ("u1:3:4") to the flush list.
    bool parseUnitList(const std::string& word);
    // Removes (or exports) a unit from the controller, asking first unless
    // quiet; unitOnly leaves the OS's view alone.
    int removeUnit(const std::string& unitName, bool makeOsAware, bool unitOnly,
                   bool quiet) override;
    // Deletes a unit, asking first unless quiet.
    int deleteUnit(const std::string& unitName, bool makeOsAware, bool quiet) override;
    // Drops a removed or deleted unit's object from the unit map.
    int eraseUnit(const std::string& unitName);
    // Migrates a unit to the type named by `targetType` with the options
    // left in `options`.
    int migrateUnit(const std::string& unitName, const std::string& targetType,
                    std::istream& options) override;

    // One attribute line of a show command.
    void showAttribute(const std::string& word, int flag);

    // --- Controller views (attributes, tables, listings) ---
    // Texts of the library's codes for the new-style tables; they do not
    // depend on the controller's state.
    [[nodiscard]] std::string getUnitTypeText(uint32_t type) const override;
    [[nodiscard]] std::string getUnitStatusText(uint8_t status) const override;
    [[nodiscard]] std::string getDriveStatusText(uint8_t status) const override;
    // A size in 512-byte blocks as "%d.%02d" and MB, GB or TB.
    [[nodiscard]] std::string getCapacityText(uint64_t blocks) const override;
    // Controller memory in KB (cached) and as a text such as "512MB".
    uint32_t getAvailableMemory();
    std::string getMemoryText();
    // The auto-carving policy: the byte, the text ("on", "off", "Not
    // Supported." or "") and the "autocarve=" setter.
    int getAutoCarvePolicy(uint8_t* value);
    std::string getAutoCarveText(const std::string& mode);
    int setAutoCarve(const std::string& word);
    // The port branch of the old-style info command.
    void showPortInfo(const std::string& portName, std::istream& words);
    // Tables and old-style listings.
    void showDrives();
    void showDrivesPaged(uint32_t pageRows);
    void showIostatHeader() override;
    void showIostat();
    void showInfo();
    void showUnitStatus();
    void showDriveStatus();
    void showPortDetail(const std::string& portName);
    // The JBOD export, disk spin-up and spin-up stagger policies as "show"
    // prints them; "Not Supported" below the newer family.
    std::string getExportJbod();
    std::string getSpinup();
    std::string getStagger();
    // The optimal and not-optimal unit totals of "allunitstatus".
    void showAllUnitStatus();
    // The phy table of "show phy".
    void showPhys();
    // The diagnostic report of "show diag": the identity block, the
    // controller's error log and the battery status word.
    void showDiagReport();
    void showDiagHeader();

    // --- Events, coercion factor and advanced event capture ---
    // The event list ("show alarms|aens|events [reverse]").
    void showEvents(std::istream& words);
    // The drive coercion factor view and setter ("drvcoercionfactor", "dcf").
    void showCoercionFactor(std::istream& words);
    void setCoercionFactor(std::istream& words, const std::string& word);
    // Advanced event capture: the "capture=" and "capturemode=" settings and
    // their actions, the two views, and the hex masks of the debug setting.
    int setCapture(std::istream& words, const std::string& word);
    int setCaptureMode(std::istream& words, const std::string& word);
    void enableCapture(std::istream& words);
    void disableCapture();
    void startCapture();
    void stopCapture();
    void setCaptureDebug(std::istream& words);
    void showCapture();
    void showCaptureDebug(std::istream& words);
    static uint32_t parseHexMask(const std::string& text);
    static uint32_t hexToInt(std::size_t length, const std::string& text);
    static uint32_t intPow(uint32_t base, uint32_t exponent);

    // --- Auto-detect (controllers/controller_autodetect.cpp) ---
    // "set autodetect=on|off disk=<list>|all": switches automatic drive
    // detection for the listed ports.
    int setAutoDetect(std::istream& words, const std::string& word);
    // Adds the ports of "p" + a list such as "p0-3:5" to the port list.
    bool parsePortList(const std::string& text);
    // Reports the empty and the occupied ports of the port list and fills
    // `list` with their ids.
    void buildAutoDetectList(ObjectIdList128* list);

    // --- Drive performance monitor (controllers/controller_dpm.cpp) ---
    // The monitor's configuration record: 0 after filling it; -1 (the
    // record untouched) below the newer families; a library failure ends
    // the command with its error.
    int getPmstatConfig(DpmConfig* config) override;
    // The "pmstat" and "dpmstat" views of "show" and the "pmstat" setting.
    int showPmstat(std::istream& words);
    int setPmstat(std::istream& words, const std::string& word);
    // The monitor's state and configuration lines; -1 after a failure line.
    int showPmstatConfig();
    void showDpmstatHeader();
    void showDpmstatExtHeader();
    // The statistics tables: one row per port, by port number.
    void showDpmstatInst();
    void showDpmstatRa();
    void showDpmstatExt();

  protected:
    // Builds the tree; only the generation constructors call it.
    Controller(const std::string& controllerName, uint32_t controllerNumber, ObjectId id);

    // Prints a progress text and flushes it, makes the library call and
    // ends the line with "Done." or, when the call fails, "Failed." and the
    // library's error.
    template <class Call>
    static void runWithProgress(const std::string& progress, Call call) {
        printProgress(progress);
        if (call() != 0)
            throwFailedApiError();
        printDone();
    }
    // The text a getter with a message mode gives: `read`'s text, or "" when
    // it throws; with the mode "showmessage" the error's message goes to
    // standard error first.
    template <class Read>
    static std::string textOrEmpty(const std::string& mode, Read read) {
        try {
            return read();
        } catch (KV_Exception& error) {
            if (mode == "showmessage")
                printErrorLine(error);
            return std::string();
        }
    }
    static void printErrorLine(KV_Exception& error);
    // The audit logger that changes go through: the process-wide one, or,
    // where none was made (a library client without a shell), one that
    // logs nothing and only makes the call.
    static AuditLog& auditLog();

    // Help topic `topic` of the controller help.
    static void showHelp(const std::string& topic);

    std::string name;
    uint32_t number = 0;
    int32_t family = 0;
    ObjectId objectId{};
    uint32_t basicVerifySupported = 0;
    std::string model;
    uint32_t numPorts = 0;
    uint32_t memoryKb = 0;
    std::string driverVersion;
    std::string firmwareVersion;
    std::string biosVersion;
    std::string bootLoaderVersion;
    std::string serialNumber;
    std::string pcbVersion;
    std::string pchipVersion;
    std::string achipVersion;
    std::string autoCarveText;
    TreePtr<BBU> bbu{nullptr, nullptr};
    TreeMap<LogicalDisk> units;
    TreeMap<Port> ports;
    TreeMap<Phy> phys;
    TreeMap<Enclosure> enclosures;
    std::list<std::string> unitNames;
    std::list<int32_t> portNumbers;
    // Units removed or deleted during this command. They stay alive until
    // the controller goes, because the unit's own command may be the one
    // that asked for its removal.
    std::vector<TreePtr<LogicalDisk>> retiredUnits;

  private:
    void loadUnits();
    void loadPorts();
    void loadPhys();
    void loadEnclosures();
};
