// The command object of one unit (a RAID array, a single disk, a JBOD disk
// or a hot spare) on one controller, and the base of one class per unit
// type (units/logical_disk_types.h).
//
// A controller builds one object per existing unit when its tree is built;
// its create and migrate commands build new-unit objects that live for
// that one command. The object keeps the request fields of a new unit and
// the values cached from the controller for an existing one; every text it
// prints is asked from the library when it is printed.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <istream>
#include <memory>
#include <string>
#include <vector>

#include "api/object_id.h"
#include "base/controller_view.h"
#include "base/object.h"

class LogicalDisk : public Object {
  public:
    static constexpr std::size_t kVolumeSlots = 64;

    // What a unit class fixes: its code, text and redundancy, and the
    // settings a new unit of the class starts from.
    struct Kind {
        uint32_t typeCode;
        const char* typeText;
        bool redundant;
        uint32_t stripeCode;
        uint32_t group;
        bool writeCache;
        uint32_t rapidRecoveryRequest;
        // Auto-verify on by default only when the verify schedule is basic.
        bool autoverifyNeedsBasicMode;
        // A new unit asks the verify schedule for its auto-verify default.
        bool asksVerifySchedule;
    };

    // The object of an existing unit of `type`, built with the existing-unit
    // constructor of its class; null for a type that has no class.
    static std::unique_ptr<LogicalDisk> makeExisting(uint32_t type, ControllerView* owner,
                                                     const std::string& unitName,
                                                     uint32_t unitNumber, ObjectId unitId);
    // The new-unit object named by a create or migrate type word ("raid0",
    // "raid1", "raid10", "raid5", "raid50", "raid6", "single" or
    // "singledisk", "jbod", "spare"); null for any other word. Which words a
    // command accepts is the command's decision.
    static std::unique_ptr<LogicalDisk> makeNew(const std::string& typeWord, ControllerView* owner);

    LogicalDisk(const LogicalDisk&) = delete;
    LogicalDisk& operator=(const LogicalDisk&) = delete;

    // --- Virtual operations ---
    ~LogicalDisk() override;
    // The unit's command words.
    int execute(std::istream& words) override;
    // The stripe text of any unit or subunit: "64K" or "-".
    virtual std::string getStripeOf(ObjectId unit);
    // The stripe text of this unit ("-" for types without stripes).
    virtual std::string getStripe();
    // The stripe code; with useCached false asked from the controller.
    virtual uint32_t getStripeCode(bool useCached);
    // The ignore-ECC policy; with useCached false asked (redundant units).
    virtual bool getIgnoreEcc(bool useCached);
    // "ON", "OFF" or "-".
    virtual std::string getIgnoreEccText();
    // The Cache column text.
    virtual std::string getCacheText();
    // The row of the controller's unit list.
    virtual void showSummaryRow();
    // The show words after the unit in the old-style info command: no word
    // prints the unit table (the detail report in the old output style).
    virtual void show(std::istream& words);
    // The unit's own table: the unit row only.
    virtual void showTable(bool withHeader);
    // Drives per subunit (RAID-50); 0 for every other type.
    virtual uint32_t getGroup(bool useCached);
    // RAID-6 parity count; CLI 25 for every other type.
    virtual uint32_t getParity();

    // --- Background tasks and the write cache (units/logical_disk_tasks.cpp) ---
    // Flushes the unit's write cache (a spare has nothing to flush).
    virtual bool flush();
    // The old-style maintenance words "verify" and "rebuild".
    virtual int verifyCommand(std::istream& words);
    virtual int rebuildCommand(std::istream& words);
    virtual int startRebuild(bool ignoreEcc);
    virtual int resumeRebuild();
    virtual int pauseRebuild();
    bool startVerify();
    bool stopVerify();

    // --- Unit creation and migration (units/logical_disk_create.cpp,
    // units/logical_disk_create_types.cpp, units/logical_disk_migrator.cpp) ---
    // The whole creation of a new unit: parse ("old" style or new), check,
    // create through the library, then bring the unit to its settings.
    int create(std::istream& options, const std::string& style);
    // The type's option words and checks for a create, and for a migration
    // of `source` into a unit of this type. The dead unit refuses them (25).
    virtual bool parseOldCreateOptions(std::istream& options);
    virtual bool parseCreateOptions(std::istream& options);
    virtual bool validateCreate();
    virtual bool parseMigrateOptions(LogicalDisk* source, std::istream& options);
    virtual bool validateMigration(LogicalDisk* source);
    // The option parsers every type shares; each fills the request fields.
    bool parseNoScan(const std::string& word);
    bool parseNoCache(const std::string& word);
    bool parseReadCacheOption(const std::string& word);
    // "k" + the stripe size in KB (CLI 27).
    bool parseStripe(const std::string& word);
    // "p" + a drive list of numbers and ranges joined by ':' (CLI 144, 8).
    bool parseDriveList(const std::string& word);
    // Asks the controller whether every drive of `drives` can be used.
    bool checkDrivesUsable();
    // v0=N (list false) or vol=a:b:c:d (list true), in GB.
    bool parseVolumeSizes(const std::string& word, bool list);
    // The interactive volume dialogue after `question`.
    bool askVolumeSizes(std::istream& question);
    bool parseRapidRecovery(const std::string& value);
    // `targetDrives` without the source's drives.
    std::vector<int32_t> getAddedDrives();

    // --- Unit commands, show and set (units/logical_disk_commands.cpp,
    // units/logical_disk_show.cpp, units/logical_disk_set.cpp) ---
    // Policy slots a unit type may refuse.
    virtual bool setIgnoreEcc(bool on);
    // Sets the write cache; the library's result: 0, or kApiChangedLockHeld
    // for the caller to pass to requireLockReleased once it has
    // reported the change as done.
    [[nodiscard]] virtual int setWriteCache(bool on, const std::string& mode);
    virtual bool getWriteCache(bool useCached);
    virtual void setReadCache(const std::string& value, bool newUnit);
    virtual void showKeepwell();
    virtual bool setKeepwell(const std::string& value);

    // The command words after the unit's address.
    int startCommand(std::istream& words);
    int startRebuildCommand(std::istream& words);
    int startVerifyCommand(std::istream& words);
    int stopCommand(std::istream& words);
    int stopVerifyCommand(std::istream& words);
    int stopRebuildCommand(std::istream& words);
    int pauseCommand(std::istream& words);
    int pauseRebuildCommand(std::istream& words);
    int resumeCommand(std::istream& words);
    int resumeRebuildCommand(std::istream& words);
    int removeCommand(std::istream& words);
    int delCommand(std::istream& words);
    int migrateCommand(std::istream& words);
    int flushCommand(std::istream& words);
    int showCommand(std::istream& words);
    int setCommand(std::istream& words);
    // The attribute words of "show all" for this unit, separated by blanks.
    void listAllAttributes(std::ostream& out);

    // One line of the show command per attribute word.
    void showAttribute(const std::string& word);
    void showStatus();
    void showRebuildStatus();
    void showVerifyStatus();
    void showInitializeStatus();
    void showVolumeCount();
    void showName();
    void showSerial();
    void showQueuePolicy();
    void showIdentify();
    void showParity();
    void showIgnoreEcc();
    void showAutoverify();
    void showCache(bool readCache);
    void showWriteDpo();
    void showRapidRecovery();
    // The old-style detail report of a unit.
    int showDetail(ObjectId unit);
    // "On", "Off", or "-" when the library cannot tell.
    std::string getIdentifyText();

    // The set handlers and the policy operations behind them.
    void setWriteCacheCommand(const std::string& value, const std::string& confirmation);
    void setAutoverifyCommand(const std::string& value);
    void setIgnoreEccCommand(const std::string& value);
    void setNameCommand(const std::string& value);
    void setQueuePolicyCommand(const std::string& value);
    void setKeepwellCommand(const std::string& value, const std::string& confirmation);
    void setIdentifyCommand(const std::string& value);
    void setRapidRecoveryCommand(const std::string& value, const std::string& confirmation);
    void setWriteDpo(const std::string& value);
    void setRapidRecovery(uint32_t request, const std::string& mode);
    // The Rapid RAID Recovery request of "all" (2), "rebuild" (3) or
    // "disable" (4); 0 for any other word.
    static uint32_t rapidRecoveryRequestOf(const std::string& value);
    bool setAutoverify(bool on);
    bool getAutoverify(bool useCached);
    void checkNameLength(const std::string& text);
    bool setName(const std::string& text);
    bool setQueuePolicy(const std::string& value);

    // --- Accessors ---
    [[nodiscard]] uint32_t getUnitType() const { return typeCode; }
    [[nodiscard]] ObjectId getObjectId() const { return id; }
    [[nodiscard]] std::string getName() const { return name; }
    [[nodiscard]] uint32_t getMakeOsAware() const { return makeOsAware; }
    [[nodiscard]] std::string getControllerName() const;
    // "/" + controller name + "/" + name, as every line of the unit prints it.
    [[nodiscard]] std::string getPath() const;
    [[nodiscard]] bool isRedundant() const { return redundant; }
    [[nodiscard]] const std::string& getTypeText() const { return typeText; }

    // --- Status and value texts ---
    std::string getStatus();
    std::string getStatusOf(ObjectId unit);
    std::string getRaid6Status();
    bool isTaskRunning(ObjectId unit);
    bool isTaskRunning() { return isTaskRunning(id); }
    std::string getPercentTextOf(ObjectId unit);
    std::string getPercentText() { return getPercentTextOf(id); }
    void getPercentTexts(std::string& rebuildText, std::string& otherText);
    void getRaid6PercentTexts(std::string& rebuildText, std::string& otherText);
    std::string getSizeTextOf(ObjectId unit);
    std::string getSizeText() { return getSizeTextOf(id); }
    std::string getVolumeSizeTextOf(ObjectId volume);
    std::string getAutoverifyText();
    std::string getKeepwellText();

    // --- Tables ---
    static std::string padText(const std::string& text, int width);
    void showTableHeader();
    void showSubunitTable(bool withHeader);
    void showTwoLevelTable(bool withHeader);
    void showVolumeRows();

    // --- Queries ---
    uint32_t getUnitTypeOf(ObjectId unit);
    uint64_t getCapacityOf(ObjectId unit);
    uint64_t getVolumeCapacityOf(ObjectId volume);
    bool needsStatusMark();
    uint32_t getDriveCount();
    std::vector<uint32_t> getDrivePorts(bool useCached);

  protected:
    explicit LogicalDisk(ControllerView* owner);
    // Existing unit: the kind, the name, number and identifier.
    void initExisting(const Kind& kind, const std::string& unitName, uint32_t unitNumber,
                      ObjectId unitId);
    // New unit: the kind's request defaults and the auto-verify default.
    void initNew(const Kind& kind);

    // The owning controller's family code, number and identifier.
    int32_t family() const;
    ObjectId controllerId() const;

    // The id of drive `port`. A number that names no port of the
    // controller (negative, or at or past its port count) is refused with
    // CLI 144 before an id is made of it or anything is asked of it.
    ObjectId driveIdOf(int64_t port);
    // The id list of the drives `ports` name, each made by driveIdOf; a
    // list that does not fit is refused with CLI 144 as well.
    template <class Number>
    ObjectIdList128 driveIdList(const std::vector<Number>& ports) {
        ObjectIdList128 list;
        list.clear();
        for (Number port : ports)
            addDriveId(&list, static_cast<int64_t>(port));
        return list;
    }
    void addDriveId(ObjectIdList128* list, int64_t port);

    // The percentage text of a unit or subunit and the status it was read
    // with (left as it is when the text is "-" before the status read).
    std::string percentTextOf(ObjectId unit, uint8_t* status);
    // The port (and identifier) of the first drive of a unit or subunit;
    // 255 when it has no drive.
    uint8_t firstDrivePort(ObjectId unit, ObjectId* drive);
    // "p" + port, or "-" for port 255.
    static std::string portText(uint8_t port);
    // The unit-table row of eight cells.
    static void printTableRow(const std::array<std::string, 8>& cells);
    // The unit's own row of the unit table, with the status mark.
    void printUnitRow(const std::string& port, const std::string& stripe);
    // The row of a subunit that holds a drive: its status reads "WARNING"
    // when the subunit is OK but its drive is not.
    void printDriveRow(const std::string& rowName, ObjectId member);

    // A setting's progress line: printed and flushed, then `apply`; "Done."
    // on success, "Failed." before the error passes on.
    void runSetting(const std::string& progress, const std::function<void()>& apply);
    // The firmware compatibility level queries; a failed query counts as
    // below the level.
    bool hasLevel36();
    bool hasLevel37();

    bool redundant = false;
    ControllerView* controller = nullptr;  // not owned
    // The operating system hears of a unit change unless "noscan" says
    // otherwise (a migration takes the source unit's flag).
    uint32_t makeOsAware = 1;
    uint32_t typeCode = 0;
    std::string typeText;
    uint32_t stripeCode = 0;
    uint32_t group = 0;
    std::vector<int32_t> drives;
    std::vector<int32_t> sourceDrives;
    std::vector<int32_t> targetDrives;
    std::string name;
    std::string requestedName;
    uint32_t number = 0;
    ObjectId id = ObjectId::Blank();
    bool writeCache = false;
    uint32_t readCacheRequest = 0;
    bool autoverify = false;
    bool ignoreEcc = false;
    bool queuingOff = false;
    std::string keepwellRequest;
    uint32_t rapidRecoveryRequest = 0;
    std::array<uint64_t, kVolumeSlots> volumeSizes{};

  private:
    // --- The steps of create ---
    // The options of either style, the type's checks and the generation's.
    void parseAndCheckCreate(std::istream& options, const std::string& style);
    // The create request with its progress line; the unit takes its id,
    // number and name.
    void createOnController();
    // The requested settings of the new unit, one line each.
    void applyNewUnitSettings();
    void applyNewAutoverify();
    void applyNewIgnoreEcc();
    void applyNewKeepwell();
    void applyNewQueuePolicy();
    void applyNewWriteCache();
    // "/c" + controller number + "/u" + unit number.
    std::string newUnitPath() const;

    // --- The steps of parseCreateOptions ---
    // One option word as typed, in lower case, and its value after '='.
    struct CreateWord {
        std::string typed;
        std::string word;
        std::string value;
    };
    // Whether option test `test` takes the word (and then applies it).
    bool takeCreateOption(int test, const CreateWord& option);
    bool takeCreateFlag(int test, const std::string& word);
    bool takeVolumeOption(const std::string& word);
    bool takeRapidRecoveryOption(const std::string& word, const std::string& value);
};
