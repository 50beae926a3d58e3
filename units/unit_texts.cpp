#include "units/unit_texts.h"

#include <sstream>

#include "api/api_codes.h"

namespace UnitTexts {

std::string pad(const std::string& text, int width) {
    if (width <= 0 || text.size() >= static_cast<std::size_t>(width))
        return text;
    return text + std::string(static_cast<std::size_t>(width) - text.size(), ' ');
}

namespace {

struct StatusWords {
    uint8_t status;
    const char* running;
    const char* paused;  // the word on a newer-family controller whose task is paused
};

constexpr StatusWords kStatusWords[] = {
    {kUnitStatusOk, "OK", "OK"},
    {kUnitStatusVerifying, "VERIFYING", "VERIFY-PAUSED"},
    {kUnitStatusInitializing, "INITIALIZING", "INIT-PAUSED"},
    {kUnitStatusDegraded, "DEGRADED", "DEGRADED"},
    {kUnitStatusRebuilding, "REBUILDING", "REBUILD-PAUSED"},
    {kUnitStatusRecovery, "RECOVERY", "RECOVERY"},
    {kUnitStatusMigrating, "MIGRATING", "MIGRATE-PAUSED"},
    {kUnitStatusInoperable, "INOPERABLE", "INOPERABLE"},
};

// Subunit states of a RAID-6 unit as flags.
enum : unsigned {
    kV = 1,   // verifying
    kI = 2,   // initializing
    kR = 4,   // rebuilding
    kM = 8,   // migrating
    kD = 16,  // degraded
    kX = 32,  // inoperable
};

unsigned raid6Flag(uint8_t status) {
    switch (status) {
        case kUnitStatusVerifying:
            return kV;
        case kUnitStatusInitializing:
            return kI;
        case kUnitStatusRebuilding:
            return kR;
        case kUnitStatusMigrating:
            return kM;
        case kUnitStatusDegraded:
            return kD;
        case kUnitStatusInoperable:
            return kX;
        default:
            return 0;
    }
}

// The first row whose flags are all set wins; the last row needs none.
struct CompoundWord {
    unsigned flags;
    const char* text;
};
constexpr CompoundWord kCompoundWords[] = {
    {kD | kR | kV, "DGRD-RBLD-VRFY"},
    {kD | kR | kI, "DGRD-RBLD-INIT"},
    {kD | kR | kM, "DGRD-RBLD-MGRT"},
    {kR | kV, "REBUILD-VERIFY"},
    {kD | kV, "DEGRADED-VRFY"},
    {kD | kR, "DEGRADED-RBLD"},
    {kR | kI, "REBUILD-INIT"},
    {kD | kI, "DEGRADED-INIT"},
    {kD | kM, "DEGRADED-MGRT"},
    {kR | kM, "REBUILD-MGRT"},
    {kX, "INOPERABLE"},
    {kV, "VERIFYING"},
    {kI, "INITIALIZING"},
    {kR, "REBUILDING"},
    {kM, "MIGRATING"},
    {kD, "DEGRADED"},
    {0, "OK"},
};

// "n%(A)" or "n%(P)": the integer mean of a group of percentages.
struct PercentGroup {
    uint64_t sum = 0;
    uint32_t count = 0;
    bool active = false;

    void add(const TaskProgress& p) {
        sum += p.percent;
        ++count;
        active = active || p.running;
    }
    void writeTo(std::string& text) const {
        if (count == 0)
            return;
        text = std::to_string(sum / count) + (active ? "%(A)" : "%(P)");
    }
};

}  // namespace

std::string statusWord(uint8_t status, bool newerFamily, bool running) {
    for (const auto& w : kStatusWords) {
        if (w.status == status)
            return (newerFamily && !running) ? w.paused : w.running;
    }
    return "UNKNOWN";
}

bool hasPercent(uint8_t status) {
    return status == kUnitStatusVerifying || status == kUnitStatusInitializing ||
           status == kUnitStatusRebuilding || status == kUnitStatusMigrating;
}

std::string raid6Status(const std::vector<uint8_t>& subunitStatuses) {
    if (subunitStatuses.empty())
        return "-";
    unsigned flags = 0;
    for (uint8_t s : subunitStatuses)
        flags |= raid6Flag(s);
    for (const auto& w : kCompoundWords) {
        if ((flags & w.flags) == w.flags)
            return w.text;
    }
    return "OK";
}

void raid6PercentTexts(const std::vector<TaskProgress>& subunits, std::string& rebuildText,
                       std::string& otherText) {
    PercentGroup rebuild;
    PercentGroup other;
    for (const auto& p : subunits) {
        if (!hasPercent(p.status))
            continue;
        (p.status == kUnitStatusRebuilding ? rebuild : other).add(p);
    }
    rebuild.writeTo(rebuildText);
    other.writeTo(otherText);
}

std::string percentText(uint32_t percent) {
    return std::to_string(percent) + "%";
}

std::string stripeText(uint32_t kb) {
    if (kb == 0 || kb == 0xFFFFFFFFu)
        return "-";
    return std::to_string(kb) + "K";
}

std::string sizeText(uint64_t blocks) {
    std::ostringstream out;
    out << static_cast<double>(static_cast<int64_t>(blocks)) / 2097152.0;
    return out.str();
}

std::string cacheText(bool level37, bool writeCacheOn, uint8_t readCacheMode) {
    if (!level37)
        return writeCacheOn ? "ON" : "OFF";
    std::string text;
    if (readCacheMode == kReadCacheBasic)
        text = "Rb";
    else if (readCacheMode == kReadCacheIntelligent)
        text = "Ri";
    if (writeCacheOn)
        text += "W";
    return text.empty() ? "OFF" : text;
}

std::string onOffText(uint8_t value) {
    return value == 1 ? "ON" : "OFF";
}

std::string keepwellText(uint8_t mode) {
    switch (mode) {
        case kKeepwellProtect:
            return "protection";
        case kKeepwellBalance:
            return "balance";
        case kKeepwellPerform:
            return "performance";
        default:
            return "unknown";
    }
}

}  // namespace UnitTexts
