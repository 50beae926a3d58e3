// The system facts the command shell asks of the OS layer: the data folder
// of the audit log, the host name, the OS description and the
// administrator check.
#include <cstdio>
#include <cstring>
#include <string>

#include "api/bytes.h"
#include "api/os/os_layer.h"

namespace {

// SHCreateDirectory results that mean the folder is there.
bool FolderExists(int result) {
    return result == 0 || result == static_cast<int>(platform::kErrorFileExists) ||
           result == static_cast<int>(platform::kErrorAlreadyExists);
}

// The root of the Windows directory's drive; "" when Windows cannot say.
void WindowsRoot(char* path) {
    platform::HostSystem& host = platform::Host();
    path[0] = '\0';
    if (host.getWindowsDirectory(path, platform::kMaxPath) == 0) {
        path[0] = '\0';
        return;
    }
    path[platform::kMaxPath - 1] = '\0';
    if (!host.pathStripToRoot(path))
        path[0] = '\0';
}

// GetProductInfo product types of the 6.0 servers and their words.
struct ProductWords {
    uint32_t productType;
    const char* words;
};
constexpr ProductWords kServerProducts[] = {
    {4, "Enterprise "},
    {10, "Enterprise "},
    {6, "Business "},
    {7, "Standard "},
    {8, "Datacenter "},
    {9, "Small Business Server "},
    {11, "Starter "},
    {12, "Datacenter (Core) "},
    {13, "Standard (Core) "},
    {14, "Enterprise (Core) "},
    {17, "Web Server "},
    {18, "Cluster Server "},
    {25, "Small Business Server Premium "},
};

// GetProductInfo product types of the Vista workstations.
constexpr ProductWords kVistaProducts[] = {
    {1, "Ultimate "},
    {2, "Home Basic "},
    {3, "Home Premium "},
};

template <size_t N>
const char* WordsOf(const ProductWords (&table)[N], uint32_t productType) {
    for (const ProductWords& entry : table) {
        if (entry.productType == productType)
            return entry.words;
    }
    return "";
}

constexpr uint8_t kVerNtWorkstation = 1;
constexpr uint32_t kVerPlatformWin32Nt = 2;
constexpr uint16_t kSuiteEnterprise = 0x2;
constexpr uint16_t kSuiteDatacenter = 0x80;
constexpr uint16_t kSuitePersonal = 0x200;
constexpr uint16_t kSuiteBlade = 0x400;
constexpr uint16_t kSuiteStorageServer = 0x2000;
constexpr uint16_t kSuiteWhServer = 0x8000;

// The words that name the Windows edition (after "Windows ").
std::string EditionWords(const platform::OsVersionInfo& v, uint16_t architecture) {
    platform::HostSystem& host = platform::Host();
    const bool workstation = v.productType == kVerNtWorkstation;
    const bool amd64 = architecture == platform::kArchAmd64;
    std::string words;
    if (v.major == 6 && v.minor == 0) {
        uint32_t productType = 0;
        if (!host.getProductInfo(6, 0, 0, 0, &productType))
            productType = 0;
        if (!workstation) {
            words += "Server 2008 ";
            words += WordsOf(kServerProducts, productType);
        } else {
            words += "Vista ";
            words += WordsOf(kVistaProducts, productType);
        }
        if (amd64)
            words += "x64 ";
        if (productType != 9 && productType != 25)
            words += "Edition ";
    } else if (v.major == 5 && v.minor == 2) {
        if (!workstation) {
            if (v.suiteMask & kSuiteStorageServer)
                words += "Storage ";
            words += "Server 2003 ";
            if (host.getSystemMetrics(platform::kSmServerR2) != 0)
                words += "R2 ";
            if (v.suiteMask & kSuiteDatacenter) {
                words += "Datacenter ";
            } else if (v.suiteMask & kSuiteEnterprise) {
                words += "Enterprise ";
            } else if (v.suiteMask == kSuiteBlade) {
                words += "Web ";
            } else if (v.suiteMask & kSuiteWhServer) {
                words += "Home ";
            } else {
                words += "Standard ";
            }
        } else {
            words += "XP ";
        }
        if (amd64)
            words += "x64 ";
        words += "Edition ";
    } else if (v.major == 5 && v.minor == 1) {
        words += "XP ";
        words += (v.suiteMask & kSuitePersonal) ? "Home Edition " : "Professional ";
    } else if (v.major == 5 && v.minor == 0) {
        words += "2000 ";
        if (!workstation) {
            if (v.suiteMask & kSuiteDatacenter) {
                words += "Datacenter ";
            } else if (v.suiteMask & kSuiteEnterprise) {
                words += "Advanced ";
            }
            words += "Server ";
        } else {
            words += "Professional ";
        }
    }
    return words;
}

std::string VersionText(bool full) {
    platform::HostSystem& host = platform::Host();
    std::string text = full ? "Microsoft Windows " : "Windows ";
    platform::OsVersionInfo v;
    if (!host.getVersionEx(&v) || v.platformId != kVerPlatformWin32Nt)
        return text;
    uint16_t architecture = 0;
    if (!host.getNativeSystemInfo(&architecture))
        architecture = host.getSystemInfo();

    text += EditionWords(v, architecture);
    text += v.servicePack.substr(0, 127);
    if (text.back() != ' ')
        text += ' ';
    if (full) {
        char build[32];
        std::snprintf(build, sizeof build, "(Build %d)\n", static_cast<int>(v.build));
        text += build;
    }
    return text;
}

}  // namespace

void OsLayer::GetDataFolder(const char* subfolder, char* path) {
    if (path == nullptr)
        return;
    platform::HostSystem& host = platform::Host();
    char folder[platform::kMaxPath] = {};
    if (host.getCommonAppDataFolder(folder)) {
        folder[platform::kMaxPath - 1] = '\0';
    } else {
        WindowsRoot(folder);
    }
    if (subfolder != nullptr && !host.pathAppend(folder, subfolder)) {
        // The folder and subfolder do not fit a path: fall back as for a
        // folder that cannot be created.
        WindowsRoot(folder);
    } else if (std::strlen(folder) < platform::kMaxPath &&
               !FolderExists(host.createDirectory(folder))) {
        WindowsRoot(folder);
    }
    bytes::CopyText(path, platform::kMaxPath, folder);
}

bool OsLayer::QueryHostName(bool fullyQualified, uint32_t bufferSize, char* name) {
    if (name == nullptr || bufferSize == 0)
        return false;
    uint32_t size = bufferSize;
    if (!platform::Host().getComputerNameEx(fullyQualified, name, &size)) {
        name[0] = '\0';
        return false;
    }
    name[bufferSize - 1] = '\0';
    return true;
}

void OsLayer::GetOsVersionText(bool full, char* text, uint32_t size) {
    std::string result = VersionText(full);
    bytes::CopyText(text, size, result.c_str());
}

bool OsLayer::IsAdministrator() {
    return platform::Host().isUserAnAdmin();
}
