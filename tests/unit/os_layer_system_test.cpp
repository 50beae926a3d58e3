// The OS layer's system facts: version text, data folder and host name.
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>

#include "api/os/os_layer.h"
#include "fake_host.h"

namespace os_layer_system_test {
namespace {

platform::OsVersionInfo Version(uint32_t major, uint32_t minor, uint32_t build, uint8_t productType,
                                uint16_t suiteMask = 0, const char* servicePack = "") {
    platform::OsVersionInfo v;
    v.major = major;
    v.minor = minor;
    v.build = build;
    v.platformId = 2;
    v.productType = productType;
    v.suiteMask = suiteMask;
    v.servicePack = servicePack;
    return v;
}

constexpr uint8_t kWorkstation = 1;
constexpr uint8_t kServer = 3;

struct VersionCase {
    const char* name;
    std::optional<platform::OsVersionInfo> version;
    std::optional<uint16_t> nativeArchitecture;
    uint16_t architecture;
    std::optional<uint32_t> productInfo;
    int serverR2;
    bool full;
    const char* expected;
};

class OsVersionTextTest : public ::testing::TestWithParam<VersionCase> {};

TEST_P(OsVersionTextTest, ComposesTheDescription) {
    const VersionCase& c = GetParam();
    ScopedFakeHost host;
    host->version = c.version;
    host->nativeArchitecture = c.nativeArchitecture;
    host->architecture = c.architecture;
    host->productInfo = c.productInfo;
    host->systemMetrics[platform::kSmServerR2] = c.serverR2;
    char text[256];
    std::memset(text, 'x', sizeof text);
    OsLayer::GetOsVersionText(c.full, text, sizeof text);
    EXPECT_STREQ(text, c.expected);
}

constexpr uint16_t kAmd64 = platform::kArchAmd64;
constexpr uint16_t kIntel = platform::kArchIntel;

INSTANTIATE_TEST_SUITE_P(
    Versions, OsVersionTextTest,
    ::testing::Values(
        VersionCase{"VistaUltimateSp1x64", Version(6, 0, 6001, kWorkstation, 0, "Service Pack 1"),
                    kAmd64, kIntel, 1u, 0, true,
                    "Microsoft Windows Vista Ultimate x64 Edition Service Pack 1 (Build 6001)\n"},
        VersionCase{"VistaShortForm", Version(6, 0, 6001, kWorkstation, 0, "Service Pack 1"),
                    kAmd64, kIntel, 1u, 0, false,
                    "Windows Vista Ultimate x64 Edition Service Pack 1 "},
        VersionCase{"VistaHomePremiumWithoutNativeInfo", Version(6, 0, 6000, kWorkstation),
                    std::nullopt, kAmd64, 3u, 0, true,
                    "Microsoft Windows Vista Home Premium x64 Edition (Build 6000)\n"},
        VersionCase{"VistaWithoutProductInfo", Version(6, 0, 6000, kWorkstation), kIntel, kIntel,
                    std::nullopt, 0, true, "Microsoft Windows Vista Edition (Build 6000)\n"},
        VersionCase{"Server2008Standard", Version(6, 0, 6001, kServer, 0, "Service Pack 1"),
                    kIntel, kIntel, 7u, 0, true,
                    "Microsoft Windows Server 2008 Standard Edition Service Pack 1 (Build 6001)\n"},
        VersionCase{"Server2008DatacenterCoreX64", Version(6, 0, 6001, kServer), kAmd64, kIntel,
                    12u, 0, true,
                    "Microsoft Windows Server 2008 Datacenter (Core) x64 Edition (Build 6001)\n"},
        VersionCase{"Server2008SmallBusinessHasNoEdition", Version(6, 0, 6001, kServer), kIntel,
                    kIntel, 9u, 0, true,
                    "Microsoft Windows Server 2008 Small Business Server (Build 6001)\n"},
        VersionCase{"Server2008SmallBusinessPremium", Version(6, 0, 6001, kServer), kAmd64,
                    kIntel, 25u, 0, true,
                    "Microsoft Windows Server 2008 Small Business Server Premium x64 (Build "
                    "6001)\n"},
        VersionCase{"Server2008EnterpriseType10", Version(6, 0, 6001, kServer), kIntel, kIntel,
                    10u, 0, true,
                    "Microsoft Windows Server 2008 Enterprise Edition (Build 6001)\n"},
        VersionCase{"Server2008UnknownProduct", Version(6, 0, 6001, kServer), kIntel, kIntel, 99u,
                    0, true, "Microsoft Windows Server 2008 Edition (Build 6001)\n"},
        VersionCase{"Server2003R2EnterpriseX64", Version(5, 2, 3790, kServer, 0x2, "Service Pack 2"),
                    kAmd64, kIntel, std::nullopt, 1, true,
                    "Microsoft Windows Server 2003 R2 Enterprise x64 Edition Service Pack 2 (Build "
                    "3790)\n"},
        VersionCase{"Server2003DatacenterWinsOverEnterprise", Version(5, 2, 3790, kServer, 0x82),
                    kIntel, kIntel, std::nullopt, 0, true,
                    "Microsoft Windows Server 2003 Datacenter Edition (Build 3790)\n"},
        VersionCase{"Server2003Web", Version(5, 2, 3790, kServer, 0x400), kIntel, kIntel,
                    std::nullopt, 0, true,
                    "Microsoft Windows Server 2003 Web Edition (Build 3790)\n"},
        VersionCase{"Server2003WebBitAmongOthersIsStandard", Version(5, 2, 3790, kServer, 0x410),
                    kIntel, kIntel, std::nullopt, 0, true,
                    "Microsoft Windows Server 2003 Standard Edition (Build 3790)\n"},
        VersionCase{"Server2003R2Home", Version(5, 2, 3790, kServer, 0x8000), kIntel, kIntel,
                    std::nullopt, 1, true,
                    "Microsoft Windows Server 2003 R2 Home Edition (Build 3790)\n"},
        VersionCase{"StorageServer2003", Version(5, 2, 3790, kServer, 0x2000), kIntel, kIntel,
                    std::nullopt, 0, true,
                    "Microsoft Windows Storage Server 2003 Standard Edition (Build 3790)\n"},
        VersionCase{"XpX64", Version(5, 2, 3790, kWorkstation), kAmd64, kIntel, std::nullopt, 0,
                    true, "Microsoft Windows XP x64 Edition (Build 3790)\n"},
        VersionCase{"XpHome", Version(5, 1, 2600, kWorkstation, 0x200, "Service Pack 3"), kIntel,
                    kIntel, std::nullopt, 0, true,
                    "Microsoft Windows XP Home Edition Service Pack 3 (Build 2600)\n"},
        VersionCase{"XpProfessional", Version(5, 1, 2600, kWorkstation), kIntel, kIntel,
                    std::nullopt, 0, true, "Microsoft Windows XP Professional (Build 2600)\n"},
        VersionCase{"Server2000Advanced", Version(5, 0, 2195, kServer, 0x2, "Service Pack 4"),
                    kIntel, kIntel, std::nullopt, 0, true,
                    "Microsoft Windows 2000 Advanced Server Service Pack 4 (Build 2195)\n"},
        VersionCase{"Server2000Plain", Version(5, 0, 2195, kServer), kIntel, kIntel, std::nullopt,
                    0, true, "Microsoft Windows 2000 Server (Build 2195)\n"},
        VersionCase{"Professional2000", Version(5, 0, 2195, kWorkstation), kIntel, kIntel,
                    std::nullopt, 0, true, "Microsoft Windows 2000 Professional (Build 2195)\n"},
        VersionCase{"UnknownVersion", Version(10, 0, 20348, kServer), kAmd64, kIntel, 7u, 0, true,
                    "Microsoft Windows (Build 20348)\n"},
        VersionCase{"ServicePackEndingInBlank", Version(5, 1, 2600, kWorkstation, 0, "SP2 "),
                    kIntel, kIntel, std::nullopt, 0, true,
                    "Microsoft Windows XP Professional SP2 (Build 2600)\n"},
        VersionCase{"VersionUnreadable", std::nullopt, kIntel, kIntel, std::nullopt, 0, true,
                    "Microsoft Windows "},
        VersionCase{"NotNtPlatform",
                    [] {
                        auto v = Version(4, 10, 1998, kWorkstation);
                        v.platformId = 1;
                        return v;
                    }(),
                    kIntel, kIntel, std::nullopt, 0, true, "Microsoft Windows "}),
    [](const ::testing::TestParamInfo<VersionCase>& info) { return info.param.name; });

TEST(OsVersionText, TruncatesToTheBufferSize) {
    ScopedFakeHost host;
    host->version = Version(6, 0, 6001, kWorkstation, 0, "Service Pack 1");
    host->productInfo = 1u;
    char text[16];
    std::memset(text, 'x', sizeof text);
    OsLayer::GetOsVersionText(true, text, 10);
    EXPECT_STREQ(text, "Microsoft");
    EXPECT_EQ(text[10], 'x');  // nothing written past the given size

    char untouched[4] = {'a', 'b', 'c', '\0'};
    OsLayer::GetOsVersionText(true, untouched, 0);
    EXPECT_STREQ(untouched, "abc");
}

struct FolderCase {
    const char* name;
    std::optional<std::string> commonAppData;
    const char* subfolder;
    int createResult;  // SHCreateDirectory's answer for the composed path
    const char* expected;
};

class OsDataFolderTest : public ::testing::TestWithParam<FolderCase> {};

TEST_P(OsDataFolderTest, ResolvesTheFolder) {
    const FolderCase& c = GetParam();
    ScopedFakeHost host;
    host->commonAppData = c.commonAppData;
    host->windowsDirectory = "D:\\Windows";
    std::string composed = c.commonAppData ? *c.commonAppData : std::string("D:\\");
    if (c.subfolder != nullptr)
        composed += std::string("\\") + c.subfolder;
    host->createDirectoryResults[composed] = c.createResult;
    char path[platform::kMaxPath];
    OsLayer::GetDataFolder(c.subfolder, path);
    EXPECT_STREQ(path, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Folders, OsDataFolderTest,
    ::testing::Values(
        FolderCase{"Created", std::string("C:\\ProgramData"), "Orvo", 0, "C:\\ProgramData\\Orvo"},
        FolderCase{"AlreadyExists", std::string("C:\\ProgramData"), "Orvo", 183,
                   "C:\\ProgramData\\Orvo"},
        FolderCase{"FileExists", std::string("C:\\ProgramData"), "Orvo", 80,
                   "C:\\ProgramData\\Orvo"},
        FolderCase{"NoSubfolder", std::string("C:\\ProgramData"), nullptr, 183, "C:\\ProgramData"},
        FolderCase{"CannotCreateFallsBackToWindowsRoot", std::string("C:\\ProgramData"), "Orvo", 5,
                   "D:\\"},
        FolderCase{"NoAppDataUsesWindowsRoot", std::nullopt, "Orvo", 0, "D:\\Orvo"}),
    [](const ::testing::TestParamInfo<FolderCase>& info) { return info.param.name; });

TEST(OsHostName, AsksForTheShortOrFullyQualifiedName) {
    ScopedFakeHost host;
    host->hostName = "kvhost";
    host->domain = "lab.example";
    char name[64];
    ASSERT_TRUE(OsLayer::QueryHostName(false, sizeof name, name));
    EXPECT_STREQ(name, "kvhost");
    ASSERT_TRUE(OsLayer::QueryHostName(true, sizeof name, name));
    EXPECT_STREQ(name, "kvhost.lab.example");

    // A name that does not fit fails and leaves an empty text.
    char small[8] = "xxxxxxx";
    EXPECT_FALSE(OsLayer::QueryHostName(true, sizeof small, small));
    EXPECT_STREQ(small, "");
}

}  // namespace
}  // namespace os_layer_system_test
