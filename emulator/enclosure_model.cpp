#include "emulator/enclosure_model.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "emulator/controller_codes.h"
#include "emulator/controller_model.h"
#include "emulator/enclosure_device.h"
#include "emulator/faults.h"

namespace emulator {

using nlohmann::json;

namespace {

// ---------------------------------------------------------------------------
// The addressed enclosure.

uint8_t protocolOf(const json& ctl) {
    const json* encl = member(ctl, "enclosures");
    const json* p = encl != nullptr ? member(*encl, "protocol") : nullptr;
    if (p != nullptr && p->is_string())
        return p->get_ref<const std::string&>() == "safte" ? 0 : 1;
    return p != nullptr ? static_cast<uint8_t>(numberValue(*p, 1) & 0xFF) : 1;
}

constexpr uint8_t kSes = 1;
constexpr uint8_t kTargetBase = 0x40;

// The enclosure list of `ctl` (json or const json); null when none is given.
template <typename Json>
Json* enclosureList(Json& ctl) {
    Json* encl = member(ctl, "enclosures");
    Json* list = encl != nullptr ? member(*encl, "list") : nullptr;
    return list != nullptr && list->is_array() ? list : nullptr;
}

bool hasSubEnclosures(const json& encl) {
    const json* subs = member(encl, "sub_enclosures");
    return subs != nullptr && subs->is_array() && !subs->empty();
}

int64_t modeOf(const json& encl) {
    return num(encl, "mode", hasSubEnclosures(encl) ? 1 : 2);
}

// The drives of the enclosure behind `port`, by slot, from the places the
// controller model noted once for its version of the controller.
constexpr int64_t kSlotsMapped = 65536;
std::vector<int64_t> drivesBySlot(const ControllerModel& model, int64_t port) {
    std::vector<int64_t> bySlot;
    for (const ControllerModel::DrivePlace& d : model.drivePlaces()) {
        if (d.enclosure != port || d.slot < 0 || d.slot >= kSlotsMapped)
            continue;
        const auto at = static_cast<size_t>(d.slot);
        if (bySlot.size() <= at)
            bySlot.resize(at + 1, kSlotNotSeen);
        if (bySlot[at] == kSlotNotSeen)
            bySlot[at] = d.port;
    }
    return bySlot;
}

// The sub-enclosure of an SES enclosure that `lun` addresses, and the
// running number of its first slot.
void findSubEnclosure(const json& encl, uint8_t lun, Device* d) {
    if (!hasSubEnclosures(encl)) {
        if (lun == 0)
            d->sub = kWholeEnclosure;
        return;
    }
    if (modeOf(encl) != 1 && lun > 0)
        return;
    const json& subs = encl.at("sub_enclosures");
    for (size_t s = 0; s < subs.size(); ++s) {
        if (s == lun) {
            d->sub = static_cast<int64_t>(s);
            return;
        }
        d->place.slotBase += countOf(subs[s], "slots");
    }
}

// Where the device at `target` and `lun` is described; not found when no
// enclosure answers there.
Device locate(const ControllerModel& model, uint8_t target, uint8_t lun) {
    const json& ctl = model.json();
    Device d;
    d.ses = protocolOf(ctl) == kSes;
    const int64_t port = d.ses ? int64_t{target} - kTargetBase : lun;
    const json* list = enclosureList(ctl);
    if (list == nullptr || target < kTargetBase || (!d.ses && target != kTargetBase))
        return d;
    const auto encl = std::find_if(list->begin(), list->end(), [&](const json& e) {
        return e.is_object() && num(e, "port", -1) == port;
    });
    if (encl == list->end())
        return d;
    d.found = true;
    d.enclosure = static_cast<size_t>(encl - list->begin());
    d.place = {port, 0, drivesBySlot(model, port)};
    if (d.ses)
        findSubEnclosure(*encl, lun, &d);
    else
        d.sub = kWholeEnclosure;
    return d;
}

// The description of a device that was found.
Target targetOf(json& ctl, Device& d) {
    Target t;
    t.device = &d;
    t.enclosure = &(*enclosureList(ctl))[d.enclosure];
    if (d.sub == kWholeEnclosure)
        t.sub = t.enclosure;
    else if (d.sub >= 0)
        t.sub = &(*member(*t.enclosure, "sub_enclosures"))[static_cast<size_t>(d.sub)];
    return t;
}

// ---------------------------------------------------------------------------
// The commands.

struct CommandName {
    uint8_t opcode;
    const char* name;
};
constexpr CommandName kCommandNames[] = {{kInquiry, "inquiry"},
                                         {kReceiveDiagnostic, "receive_diagnostic"},
                                         {kSendDiagnostic, "send_diagnostic"},
                                         {kReadBuffer, "read_buffer"},
                                         {kWriteBuffer, "write_buffer"}};

// The page, buffer or command a CDB concerns; -1 for INQUIRY.
int64_t argumentOf(const uint8_t* cdb, ConstByteSpan data) {
    switch (cdb[0]) {
        case kReceiveDiagnostic:
        case kReadBuffer:
            return cdb[2];
        case kSendDiagnostic:
        case kWriteBuffer:
            return get8(data, 0);
        default:
            return -1;
    }
}

// True when the enclosure's (or the sub-enclosure's) "fail" list names the
// command: "read_buffer" fails every READ BUFFER, "read_buffer 5" only that
// of buffer 5.
bool refuses(const Target& t, const uint8_t* cdb, ConstByteSpan data) {
    const char* name = nullptr;
    for (const CommandName& c : kCommandNames) {
        if (c.opcode == cdb[0])
            name = c.name;
    }
    if (name == nullptr)
        return false;
    for (const json* owner :
         {static_cast<const json*>(t.enclosure), static_cast<const json*>(t.sub)}) {
        const json* fail = owner != nullptr ? member(*owner, "fail") : nullptr;
        if (fail == nullptr || !fail->is_array())
            continue;
        for (const json& entry : *fail) {
            if (!entry.is_string())
                continue;
            const std::string s = entry.get<std::string>();
            const size_t blank = s.find(' ');
            if (s.substr(0, blank) != name)
                continue;
            if (blank == std::string::npos ||
                std::strtoll(s.c_str() + blank + 1, nullptr, 0) == argumentOf(cdb, data)) {
                return true;
            }
        }
    }
    return false;
}

// The pass-through command's fields in the packet.
constexpr size_t kTarget = kCmdHeaderSize + 1;
constexpr size_t kLunField = kCmdHeaderSize + 2;
constexpr size_t kCdb = kCmdHeaderSize + 8;
constexpr size_t kCdbSize = 16;

void cdbOf(ConstByteSpan command, uint8_t* cdb) {
    for (size_t i = 0; i < kCdbSize; ++i)
        cdb[i] = get8(command, kCdb + i);
}

}  // namespace

FirmwareResult executeScsiPassThrough(json& ctl, const ControllerModel& model, ByteSpan command,
                                      ByteSpan data) {
    uint8_t cdb[kCdbSize];
    cdbOf(command, cdb);
    Device& device = model.enclosureAnswers().device(
        model, get8(command, kTarget), static_cast<uint8_t>(get16(command, kLunField) >> 12));
    if (!device.found) {
        FirmwareResult r;
        r.code = kFwNoDevice;
        return r;
    }
    const Target t = targetOf(ctl, device);
    if (refuses(t, cdb, data)) {
        FirmwareResult r;
        r.code = kFwDeviceFailed;
        return r;
    }
    FirmwareResult r = t.ses() ? sesCommand(t, cdb, data) : safteCommandOf(t, cdb, data);
    r.elementsOnly = true;
    return r;
}

EnclosureAnswers::EnclosureAnswers() = default;
EnclosureAnswers::~EnclosureAnswers() = default;

EnclosureAnswers::Device& EnclosureAnswers::device(const ControllerModel& model, uint8_t target,
                                                   uint8_t lun) {
    std::unique_ptr<Device>& d = devices_[static_cast<uint16_t>(target << 4 | lun)];
    if (!d)
        d = std::make_unique<Device>(locate(model, target, lun));
    return *d;
}

bool scsiCommandReads(uint8_t cdbOpcode) {
    return cdbOpcode == kInquiry || cdbOpcode == kReceiveDiagnostic || cdbOpcode == kReadBuffer;
}

void describeScsiPassThrough(ConstByteSpan command, ConstByteSpan data, json& record) {
    uint8_t cdb[kCdbSize];
    cdbOf(command, cdb);
    record["scsi"] = cdb[0];
    record["target"] = get8(command, kTarget);
    record["lun"] = get16(command, kLunField) >> 12;
    switch (cdb[0]) {
        case kReceiveDiagnostic:
        case kSendDiagnostic:
            record["page"] = argumentOf(cdb, data);
            record["length"] = getBe(cdb + 3, 2);
            break;
        case kReadBuffer:
        case kWriteBuffer:
            record["buffer"] = argumentOf(cdb, data);
            record["length"] = getBe(cdb + 6, 3);
            break;
        default:
            break;
    }
}

void deriveEnclosureProtocol(const ControllerModel& model, const json*, Bytes& out) {
    const json& ctl = model.json();
    put8(out, 0, protocolOf(ctl));
}

void deriveEnclosureModes(const ControllerModel& model, const json*, Bytes& out) {
    const json& ctl = model.json();
    const json* encl = member(ctl, "enclosures");
    const json* modes = encl != nullptr ? member(*encl, "ses_modes") : nullptr;
    if (modes != nullptr && modes->is_array()) {
        for (size_t i = 0; i < modes->size() && i < out.size(); ++i)
            out[i] = (*modes)[i].is_number() ? clampByte((*modes)[i].get<int64_t>()) : 0;
        return;
    }
    const json* list = encl != nullptr ? member(*encl, "list") : nullptr;
    if (protocolOf(ctl) != kSes || list == nullptr || !list->is_array())
        return;
    for (const json& e : *list) {
        const int64_t port = num(e, "port", -1);
        if (port >= 0 && static_cast<size_t>(port) < out.size())
            out[static_cast<size_t>(port)] = clampByte(modeOf(e));
    }
}

}  // namespace emulator
