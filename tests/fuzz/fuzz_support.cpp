#include "fuzz_support.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <streambuf>

#include "api/api_error.h"
#include "api/api_messages.h"
#include "api/driver.h"
#include "api/os/os_layer.h"
#include "emulator/emulated_host.h"
#include "platform/host_system.h"

#ifndef KV_FUZZ_FIXTURES
#error "KV_FUZZ_FIXTURES names the folder of the host files"
#endif

namespace fuzz {

namespace {

// A stream buffer that takes every character and keeps none.
class NullBuffer : public std::streambuf {
  protected:
    int overflow(int c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

std::string MakeFolder() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern =
        std::string(base != nullptr && base[0] != '\0' ? base : "/tmp") + "/kv_fuzz.XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a temporary folder");
    return pattern;
}

}  // namespace

const std::string& Prepare() {
    static const std::string folder = [] {
        static NullBuffer quiet;
        std::cout.rdbuf(&quiet);
        std::cerr.rdbuf(&quiet);
        // The program's C-level output goes to standard output only; the
        // sanitizers and libFuzzer write on descriptor 2, which stays.
        (void)std::freopen("/dev/null", "w", stdout);
        (void)std::freopen("/dev/null", "r", stdin);
        std::cin.clear();
        for (const char* name :
             {"KV_CLI_STYLE", "KV_CLI_INPUT_STYLE", "KV_CLI_LOG", "KV_EMULATED_HOST"})
            unsetenv(name);
        return MakeFolder();
    }();
    return folder;
}

InFolder::InFolder() {
    saved_ = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (saved_ < 0 || chdir(Prepare().c_str()) != 0)
        throw std::runtime_error("cannot enter the temporary folder");
}

InFolder::~InFolder() {
    if (fchdir(saved_) != 0)
        std::abort();
    (void)close(saved_);
}

void ResetLibrary() {
    TheDriver().Reset();
    OsLayer::ResetProcessState();
    ApiError::Clear();
    theApiMessages.reset();
}

const nlohmann::json& FixtureHost(const std::string& relativePath) {
    static std::map<std::string, nlohmann::json> hosts;
    auto found = hosts.find(relativePath);
    if (found != hosts.end())
        return found->second;
    const std::string path = std::string(KV_FUZZ_FIXTURES) + "/" + relativePath;
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    if (!file)
        throw std::runtime_error("cannot read " + path);
    nlohmann::json state = nlohmann::json::parse(text.str());
    state.erase("request_log");
    return hosts.emplace(relativePath, std::move(state)).first->second;
}

const nlohmann::json& DefaultHost() {
    static const nlohmann::json state = emulator::EmulatedHost::defaultHost();
    return state;
}

emulator::EmulatedHost& InstallHost(const nlohmann::json& state) {
    ResetLibrary();
    auto host = emulator::EmulatedHost::fromJson(state, Prepare());
    emulator::EmulatedHost& installed = *host;
    platform::SetHost(std::move(host));
    return installed;
}

MemoryFile::MemoryFile() {
    fd_ = memfd_create("kv_fuzz_input", 0);
    if (fd_ < 0)
        throw std::runtime_error("memfd_create failed");
    path_ = "/proc/self/fd/" + std::to_string(fd_);
}

MemoryFile::~MemoryFile() {
    if (fd_ >= 0)
        (void)close(fd_);
}

void MemoryFile::Set(const uint8_t* data, std::size_t size) {
    if (ftruncate(fd_, 0) != 0)
        throw std::runtime_error("ftruncate failed");
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = pwrite(fd_, data + done, size - done, static_cast<off_t>(done));
        if (n <= 0)
            throw std::runtime_error("pwrite failed");
        done += static_cast<std::size_t>(n);
    }
}

}  // namespace fuzz
