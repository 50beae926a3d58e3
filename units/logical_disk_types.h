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

class LogicalDiskRaid0 : public LogicalDisk {
  public:
    explicit LogicalDiskRaid0(Controller* owner);
    LogicalDiskRaid0(Controller* owner, const std::string& unitName, uint32_t unitNumber,
                     ObjectId unitId);
    std::string getIgnoreEccText() override { return "-"; }
    void showTable(bool withHeader) override { showSubunitTable(withHeader); }
};

class LogicalDiskRaid1 : public LogicalDisk {
  public:
    explicit LogicalDiskRaid1(Controller* owner);
    LogicalDiskRaid1(Controller* owner, const std::string& unitName, uint32_t unitNumber,
                     ObjectId unitId);
    std::string getStripe() override { return "-"; }
    uint32_t getStripeCode(bool /*useCached*/) override { return 0; }
    void showTable(bool withHeader) override { showSubunitTable(withHeader); }
};

class LogicalDiskRaid5 : public LogicalDisk {
  public:
    explicit LogicalDiskRaid5(Controller* owner);
    LogicalDiskRaid5(Controller* owner, const std::string& unitName, uint32_t unitNumber,
                     ObjectId unitId);
    void showTable(bool withHeader) override { showSubunitTable(withHeader); }
};

class LogicalDiskRaid10 : public LogicalDisk {
  public:
    explicit LogicalDiskRaid10(Controller* owner);
    LogicalDiskRaid10(Controller* owner, const std::string& unitName, uint32_t unitNumber,
                      ObjectId unitId);
    void showTable(bool withHeader) override { showTwoLevelTable(withHeader); }
};

class LogicalDiskRaid6 : public LogicalDisk {
  public:
    explicit LogicalDiskRaid6(Controller* owner);
    LogicalDiskRaid6(Controller* owner, const std::string& unitName, uint32_t unitNumber,
                     ObjectId unitId);
    void showTable(bool withHeader) override { showSubunitTable(withHeader); }
    // The number of RAID-6 subunits, as the controller answers it.
    uint32_t getParity() override;

  private:
    uint32_t parity = 2;
};

class LogicalDiskRaid50 : public LogicalDisk {
  public:
    explicit LogicalDiskRaid50(Controller* owner);
    LogicalDiskRaid50(Controller* owner, const std::string& unitName, uint32_t unitNumber,
                      ObjectId unitId);
    void showTable(bool withHeader) override { showTwoLevelTable(withHeader); }
    // The requested group with useCached; otherwise 3 (not asked).
    uint32_t getGroup(bool useCached) override;
    // A group token: its first character, then "3" to "16" exactly; CLI 30
    // for any other text.
    bool parseGroup(const std::string& token);

  private:
    bool groupGiven = false;
};

class LogicalDiskSingle : public LogicalDisk {
  public:
    explicit LogicalDiskSingle(Controller* owner);
    LogicalDiskSingle(Controller* owner, const std::string& unitName, uint32_t unitNumber,
                      ObjectId unitId);
    std::string getStripe() override { return "-"; }
    uint32_t getStripeCode(bool /*useCached*/) override { return 0; }
    std::string getIgnoreEccText() override { return "-"; }
};

class LogicalDiskSpare : public LogicalDisk {
  public:
    explicit LogicalDiskSpare(Controller* owner);
    LogicalDiskSpare(Controller* owner, const std::string& unitName, uint32_t unitNumber,
                     ObjectId unitId);
    std::string getStripe() override { return "-"; }
    uint32_t getStripeCode(bool useCached) override;
    std::string getIgnoreEccText() override { return "-"; }
    std::string getCacheText() override { return "-"; }
    // A spare has no write cache: the flush fails without asking the
    // controller.
    bool flush() override;
};

class LogicalDiskJBOD : public LogicalDisk {
  public:
    explicit LogicalDiskJBOD(Controller* owner);
    LogicalDiskJBOD(Controller* owner, const std::string& unitName, uint32_t unitNumber,
                    ObjectId unitId);
    std::string getStripe() override { return "-"; }
    uint32_t getStripeCode(bool /*useCached*/) override { return 0; }
    std::string getIgnoreEccText() override { return "-"; }
};

// A unit the controller reports as dead (type 64).
class LogicalDiskDead : public LogicalDisk {
  public:
    explicit LogicalDiskDead(Controller* owner);
    LogicalDiskDead(Controller* owner, const std::string& unitName, uint32_t unitNumber,
                    ObjectId unitId);
    std::string getStripe() override { return "-"; }
    uint32_t getStripeCode(bool /*useCached*/) override { return 0; }
    std::string getIgnoreEccText() override { return "-"; }
};

// A unit in migration: the source unit and the unit it becomes.
class LogicalDiskMigrator : public LogicalDisk {
  public:
    // A migration command on `source` (owned by the controller's unit map)
    // towards `target` (owned by the migrator).
    LogicalDiskMigrator(Controller* owner, LogicalDisk* source,
                        std::unique_ptr<LogicalDisk> target);
    // A unit the controller reports as migrating: the source and destination
    // halves are built from its two subunits.
    LogicalDiskMigrator(Controller* owner, const std::string& unitName, uint32_t unitNumber,
                        ObjectId unitId);
    ~LogicalDiskMigrator() override;

    std::string getStripe() override { return "-"; }
    void showTable(bool withHeader) override;

    [[nodiscard]] LogicalDisk* getSource() const { return source; }
    [[nodiscard]] LogicalDisk* getTarget() const { return target.get(); }

  private:
    LogicalDisk* source = nullptr;  // the unit map's, or ownedSource's
    std::unique_ptr<LogicalDisk> ownedSource;
    std::unique_ptr<LogicalDisk> target;
};
