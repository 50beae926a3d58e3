#include "emulator/machine_names.h"

#include <cstdio>

namespace emulator {

namespace {

// A stable 32-bit tag per device, as Windows puts in instance ids.
unsigned tag(size_t seed) {
    return static_cast<unsigned>(0x2F5A1C3Bu ^ (seed * 0x9E3779B1u));
}

// Device paths and registry keys are ASCII: A-Z alone fold.
char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i] && lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

std::string foldCase(std::string text) {
    for (char& c : text)
        c = lower(c);
    return text;
}

bool hasUpperCase(std::string_view text) {
    for (char c : text) {
        if (lower(c) != c)
            return true;
    }
    return false;
}

std::string interfacePath(const std::string& instanceId, const char* guid) {
    std::string path = "\\\\?\\";
    for (char c : instanceId)
        path += c == '\\' ? '#' : lower(c);
    return path + "#" + foldCase(guid);
}

std::string controllerInstanceId(int type, size_t index) {
    char id[128];
    std::snprintf(id, sizeof id, "PCI\\VEN_1D9F&DEV_%04X&SUBSYS_%04X1D9F&REV_01\\4&%08X&0&00%02zX",
                  0x1000 + type, 0x1000 + type, tag(index), index * 8 + 0x10);
    return id;
}

std::string diskInstanceId(size_t controller, unsigned target, size_t index) {
    char id[128];
    std::snprintf(id, sizeof id,
                  "SCSI\\DISK&VEN_KIVRA&PROD_LOGICAL_DISK_%u&REV_1.00\\5&%08X&0&%02zX%02X00",
                  target, tag(index + 0x40), controller, target);
    return id;
}

std::string volumeInstanceId(size_t index) {
    char id[128];
    std::snprintf(id, sizeof id, "STORAGE\\VOLUME\\{%08X-0000-0000-0000-%012zX}", tag(index + 0x80),
                  index + 1);
    return id;
}

}  // namespace emulator
