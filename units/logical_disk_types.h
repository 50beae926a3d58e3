// The unit classes, one per unit type. Each fixes its type code, type text
// and redundancy, the settings a new unit of its type starts from, and the
// operations whose behaviour depends on the RAID level.
//
// Every class has two constructors: (controller) for a new unit of a create
// or migrate command, and (controller, name, number, identifier) for an
// existing unit of the controller's tree.
#pragma once

#include <memory>
#include <string>

#include "units/logical_disk.h"

// A unit without redundancy: no ignore-ECC policy and no rebuild.
class LogicalDiskWithoutRedundancy : public LogicalDisk {
  public:
    std::string getIgnoreEccText() override { return "-"; }
    bool setIgnoreEcc(bool on) override;
    int rebuildCommand(std::istream& words) override;
    int startRebuild(bool ignoreEcc) override;
    int resumeRebuild() override;
    int pauseRebuild() override;

  protected:
    using LogicalDisk::LogicalDisk;
    // The verify of a unit without redundancy: refused on the older
    // family, elsewhere the verify of any unit.
    int verifyWithoutRedundancy(std::istream& words);
};

class LogicalDiskRaid0 : public LogicalDiskWithoutRedundancy {
  public:
    explicit LogicalDiskRaid0(ControllerView* owner);
    LogicalDiskRaid0(ControllerView* owner, const std::string& unitName, uint32_t unitNumber,
                     ObjectId unitId);
    void showTable(bool withHeader) override { showSubunitTable(withHeader); }
    int verifyCommand(std::istream& words) override { return verifyWithoutRedundancy(words); }
};

class LogicalDiskRaid1 : public LogicalDisk {
  public:
    explicit LogicalDiskRaid1(ControllerView* owner);
    LogicalDiskRaid1(ControllerView* owner, const std::string& unitName, uint32_t unitNumber,
                     ObjectId unitId);
    std::string getStripe() override { return "-"; }
    uint32_t getStripeCode(bool /*useCached*/) override { return 0; }
    void showTable(bool withHeader) override { showSubunitTable(withHeader); }
};

class LogicalDiskRaid5 : public LogicalDisk {
  public:
    explicit LogicalDiskRaid5(ControllerView* owner);
    LogicalDiskRaid5(ControllerView* owner, const std::string& unitName, uint32_t unitNumber,
                     ObjectId unitId);
    void showTable(bool withHeader) override { showSubunitTable(withHeader); }
};

class LogicalDiskRaid10 : public LogicalDisk {
  public:
    explicit LogicalDiskRaid10(ControllerView* owner);
    LogicalDiskRaid10(ControllerView* owner, const std::string& unitName, uint32_t unitNumber,
                      ObjectId unitId);
    void showTable(bool withHeader) override { showTwoLevelTable(withHeader); }
};

class LogicalDiskRaid6 : public LogicalDisk {
  public:
    explicit LogicalDiskRaid6(ControllerView* owner);
    LogicalDiskRaid6(ControllerView* owner, const std::string& unitName, uint32_t unitNumber,
                     ObjectId unitId);
    void showTable(bool withHeader) override { showSubunitTable(withHeader); }
    // The number of RAID-6 subunits, as the controller answers it.
    uint32_t getParity() override;

  private:
    uint32_t parity = 2;
};

class LogicalDiskRaid50 : public LogicalDisk {
  public:
    explicit LogicalDiskRaid50(ControllerView* owner);
    LogicalDiskRaid50(ControllerView* owner, const std::string& unitName, uint32_t unitNumber,
                      ObjectId unitId);
    void showTable(bool withHeader) override { showTwoLevelTable(withHeader); }
    // The requested group with useCached; otherwise 3 (not asked).
    uint32_t getGroup(bool useCached) override;
    // A group token: its first character, then "3" to "16" exactly; CLI 30
    // for any other text.
    bool parseGroup(const std::string& token);
    // Whether a group option was parsed (creation and migration checks).
    [[nodiscard]] bool isGroupGiven() const { return groupGiven; }

  private:
    bool groupGiven = false;
};

class LogicalDiskSingle : public LogicalDiskWithoutRedundancy {
  public:
    explicit LogicalDiskSingle(ControllerView* owner);
    LogicalDiskSingle(ControllerView* owner, const std::string& unitName, uint32_t unitNumber,
                      ObjectId unitId);
    std::string getStripe() override { return "-"; }
    uint32_t getStripeCode(bool /*useCached*/) override { return 0; }
};

class LogicalDiskSpare : public LogicalDiskWithoutRedundancy {
  public:
    explicit LogicalDiskSpare(ControllerView* owner);
    LogicalDiskSpare(ControllerView* owner, const std::string& unitName, uint32_t unitNumber,
                     ObjectId unitId);
    std::string getStripe() override { return "-"; }
    uint32_t getStripeCode(bool useCached) override;
    std::string getCacheText() override { return "-"; }
    int verifyCommand(std::istream& words) override { return verifyWithoutRedundancy(words); }
    // A spare holds no data: no write cache to flush or read, no Keepwell.
    bool flush() override;
    bool getWriteCache(bool useCached) override;
    void showKeepwell() override;
    bool setKeepwell(const std::string& value) override;
};

class LogicalDiskJBOD : public LogicalDiskWithoutRedundancy {
  public:
    explicit LogicalDiskJBOD(ControllerView* owner);
    LogicalDiskJBOD(ControllerView* owner, const std::string& unitName, uint32_t unitNumber,
                    ObjectId unitId);
    std::string getStripe() override { return "-"; }
    uint32_t getStripeCode(bool /*useCached*/) override { return 0; }
    int verifyCommand(std::istream& words) override { return verifyWithoutRedundancy(words); }
};

// A unit the controller reports as dead (type 64).
class LogicalDiskDead : public LogicalDiskWithoutRedundancy {
  public:
    explicit LogicalDiskDead(ControllerView* owner);
    LogicalDiskDead(ControllerView* owner, const std::string& unitName, uint32_t unitNumber,
                    ObjectId unitId);
    std::string getStripe() override { return "-"; }
    uint32_t getStripeCode(bool /*useCached*/) override { return 0; }
};

// A unit in migration: the source unit and the unit it becomes.
class LogicalDiskMigrator : public LogicalDisk {
  public:
    // A migration command on `source` (owned by the controller's unit map)
    // towards `target` (owned by the migrator).
    LogicalDiskMigrator(ControllerView* owner, LogicalDisk* source,
                        std::unique_ptr<LogicalDisk> target);
    // A unit the controller reports as migrating: the source and destination
    // halves are built from its two subunits.
    LogicalDiskMigrator(ControllerView* owner, const std::string& unitName, uint32_t unitNumber,
                        ObjectId unitId);
    ~LogicalDiskMigrator() override;

    std::string getStripe() override { return "-"; }
    void showTable(bool withHeader) override;

    // --- Migration (units/logical_disk_migrator.cpp) ---
    // The migration of the source towards the target with the option
    // words; a SINGLE target splits the mirror.
    int migrate(std::istream& options);
    int splitMirror();
    // The source's drive ports (asked), then the target's added drives.
    void collectMigrationDrives(std::vector<uint32_t>& ports);
    // The migrator itself takes no create or migration options.
    bool parseOldCreateOptions(std::istream&) override { return true; }
    bool parseCreateOptions(std::istream&) override { return true; }
    bool validateCreate() override { return true; }
    bool parseMigrateOptions(LogicalDisk*, std::istream&) override { return true; }
    bool validateMigration(LogicalDisk*) override { return true; }

    [[nodiscard]] LogicalDisk* getSource() const { return source; }
    [[nodiscard]] LogicalDisk* getTarget() const { return target.get(); }

  private:
    LogicalDisk* source = nullptr;  // the unit map's, or ownedSource's
    std::unique_ptr<LogicalDisk> ownedSource;
    std::unique_ptr<LogicalDisk> target;
};
