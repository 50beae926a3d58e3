// The host-file store: calls that change nothing answer from the state the
// process holds and follow the file when another host wrote it (at once) or
// someone changed it by hand (when its stamp is next checked); a change
// lands on the file's latest version; a lock that cannot be taken stops
// the call instead of letting it run unlocked.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>

#include "emulator/emulated_host.h"
#include "emulator/host_store.h"
#include "platform/host_system.h"
#include "test_folder.h"

namespace emulator_host_store_test {
namespace {

namespace fs = std::filesystem;
using emulator::EmulatedHost;

nlohmann::json readJson(const fs::path& path) {
    std::ifstream in(path);
    return nlohmann::json::parse(in);
}

bool keyOpens(EmulatedHost& host, const char* key) {
    platform::RegKey handle = 0;
    if (host.regOpenKey(key, 0, &handle) != platform::kErrorSuccess)
        return false;
    (void)host.regCloseKey(handle);
    return true;
}

void createKey(EmulatedHost& host, const char* key) {
    platform::RegKey handle = 0;
    ASSERT_EQ(host.regCreateKey(key, 0, &handle), platform::kErrorSuccess);
    (void)host.regCloseKey(handle);
}

TEST(EmulatorHostStore, ReadFollowsAnotherHostsChange) {
    const ScratchFolder folder("host_store");
    const fs::path file = folder.path() / "host.json";
    auto reader = EmulatedHost::fromFile(file.string());
    auto writer = EmulatedHost::fromFile(file.string());
    EXPECT_FALSE(keyOpens(*reader, "SOFTWARE\\Kivra\\Stamp"));
    createKey(*writer, "SOFTWARE\\Kivra\\Stamp");
    EXPECT_TRUE(keyOpens(*reader, "SOFTWARE\\Kivra\\Stamp"));
}

// A change made without the emulated host (an editor, a script) is not
// counted: the reader sees it once its stamp is checked again.
TEST(EmulatorHostStore, ReadFollowsAChangeMadeByHand) {
    const ScratchFolder folder("host_store");
    const fs::path file = folder.path() / "host.json";
    auto reader = EmulatedHost::fromFile(file.string());
    EXPECT_FALSE(keyOpens(*reader, "SOFTWARE\\Kivra\\ByHand"));
    nlohmann::json edited = readJson(file);
    edited["machine"]["registry"]["SOFTWARE\\Kivra\\ByHand"] = nlohmann::json::object();
    std::ofstream(file) << edited.dump(2);
    std::this_thread::sleep_for(emulator::HostFileCopy::kStampInterval * 2);
    EXPECT_TRUE(keyOpens(*reader, "SOFTWARE\\Kivra\\ByHand"));
}

TEST(EmulatorHostStore, ChangeLandsOnTheLatestVersion) {
    const ScratchFolder folder("host_store");
    const fs::path file = folder.path() / "host.json";
    auto first = EmulatedHost::fromFile(file.string());
    auto second = EmulatedHost::fromFile(file.string());
    createKey(*first, "SOFTWARE\\Kivra\\First");
    createKey(*second, "SOFTWARE\\Kivra\\Second");
    const nlohmann::json registry = readJson(file)["machine"]["registry"];
    EXPECT_TRUE(registry.contains("SOFTWARE\\Kivra\\First")) << registry.dump();
    EXPECT_TRUE(registry.contains("SOFTWARE\\Kivra\\Second")) << registry.dump();
}

// A host keeps its lock file open; one removed meanwhile (which would lock
// nobody out) is made again and locked by the next change.
TEST(EmulatorHostStore, LockFileRemovedMeanwhileIsMadeAgain) {
    const ScratchFolder scratch("host_store");
    const fs::path& folder = scratch.path();
    const fs::path file = folder / "host.json";
    auto host = EmulatedHost::fromFile(file.string());
    fs::remove(folder / "host.json.lock");
    createKey(*host, "SOFTWARE\\Kivra\\AfterRemoval");
    EXPECT_TRUE(fs::exists(folder / "host.json.lock"));
    EXPECT_TRUE(readJson(file)["machine"]["registry"].contains("SOFTWARE\\Kivra\\AfterRemoval"));
}

// Another process shortens the lock file (": > host.json.lock"), which
// takes the page of the write count mapped in every running host away, or
// puts a new file in its place, which counts nothing the hosts still
// follow. The hosts go on: each sees the other's changes at once and makes
// its own.
TEST(EmulatorHostStore, HostsGoOnWhenTheLockFileIsShortenedOrReplaced) {
    struct Case {
        const char* name;
        std::function<void(const fs::path&)> spoil;
    };
    const Case cases[] = {
        {"shortened", [](const fs::path& lock) { fs::resize_file(lock, 0); }},
        {"replaced",
         [](const fs::path& lock) {
             const fs::path other = lock.string() + ".new";
             std::ofstream(other) << "another file";
             fs::rename(other, lock);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ScratchFolder folder("host_store");
        const fs::path file = folder.path() / "host.json";
        auto first = EmulatedHost::fromFile(file.string());
        auto second = EmulatedHost::fromFile(file.string());
        c.spoil(folder.path() / "host.json.lock");
        EXPECT_FALSE(keyOpens(*first, "SOFTWARE\\Kivra\\Second"));
        createKey(*second, "SOFTWARE\\Kivra\\Second");
        EXPECT_TRUE(keyOpens(*first, "SOFTWARE\\Kivra\\Second"));
        createKey(*first, "SOFTWARE\\Kivra\\First");
        EXPECT_TRUE(keyOpens(*second, "SOFTWARE\\Kivra\\First"));
    }
}

// While a host runs, its file becomes one that cannot be read (a folder
// takes its place): the next change stops with one line instead of
// writing the state it held over it.
TEST(EmulatorHostStore, AHostFileThatTurnsUnreadableStopsTheNextChange) {
    const ScratchFolder folder("host_store");
    const fs::path file = folder.path() / "host.json";
    auto host = EmulatedHost::fromFile(file.string());
    fs::remove(file);
    fs::create_directory(file);
    try {
        createKey(*host, "SOFTWARE\\Kivra\\OverAFolder");
        ADD_FAILURE() << "changed";
    } catch (const platform::HostUnusable& error) {
        EXPECT_NE(std::string(error.what())
                      .find("host.json: cannot read the emulated host file: not a regular file"),
                  std::string::npos)
            << error.what();
    }
    EXPECT_TRUE(fs::is_directory(file));
}

#ifndef _WIN32
// Every change writes a new version of the file: it keeps the permissions
// its owner gave the file, whatever the umask would give a new one.
TEST(EmulatorHostStore, AChangeKeepsTheFilesPermissions) {
    for (const fs::perms perms :
         {fs::perms::owner_read | fs::perms::owner_write,
          fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
              fs::perms::group_write | fs::perms::others_read}) {
        const ScratchFolder folder("host_store");
        const fs::path file = folder.path() / "host.json";
        auto host = EmulatedHost::fromFile(file.string());
        fs::permissions(file, perms);
        createKey(*host, "SOFTWARE\\Kivra\\Private");
        EXPECT_EQ(fs::status(file).permissions(), perms) << static_cast<unsigned>(perms);
        EXPECT_TRUE(readJson(file)["machine"]["registry"].contains("SOFTWARE\\Kivra\\Private"));
    }
}
#endif

// The lock file's place is taken by a folder: it cannot be opened.
TEST(EmulatorHostStore, LockThatCannotBeOpenedStopsTheCall) {
    const ScratchFolder scratch("host_store");
    const fs::path& folder = scratch.path();
    const fs::path file = folder / "host.json";
    const fs::path lock = folder / "host.json.lock";
    auto host = EmulatedHost::fromFile(file.string());
    fs::remove(lock);
    fs::create_directory(lock);
    const std::string before = readJson(file).dump();

    struct Case {
        const char* name;
        std::function<void()> call;
    };
    const Case cases[] = {
        {"opening another host", [&] { (void)EmulatedHost::fromFile(file.string()); }},
        {"a change", [&] { createKey(*host, "SOFTWARE\\Kivra\\Unlocked"); }},
    };
    for (const Case& c : cases) {
        try {
            c.call();
            ADD_FAILURE() << c.name << " ran without the lock";
        } catch (const platform::HostUnusable& error) {
            EXPECT_NE(std::string(error.what()).find(lock.string() + ": cannot lock"),
                      std::string::npos)
                << c.name << ": " << error.what();
        }
    }
    EXPECT_EQ(readJson(file).dump(), before);
    // A call that changes nothing takes no lock.
    EXPECT_NE(host->getClassDevs(platform::InterfaceClass::StoragePort),
              platform::kInvalidDevInfoSet);
}

}  // namespace
}  // namespace emulator_host_store_test
