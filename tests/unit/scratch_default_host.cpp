// The unit tests never reach the machine's own default host. A test that
// asks for the default host (a shell made before the test installs a host
// of its own, say) gets an emulated one in a scratch folder of this run:
// not the user's state folder, nor, on Windows, the real machine and its
// audit log.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace scratch_default_host {
namespace {

class ScratchDefaultHost : public ::testing::Environment {
  public:
    void SetUp() override {
        std::string pattern =
            (std::filesystem::path(::testing::TempDir()) / "kv_default_host_XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
        if (const char* named = std::getenv("KV_EMULATED_HOST"))
            saved_ = named;
        ::setenv("KV_EMULATED_HOST", (folder_ / "host.json").string().c_str(), 1);
    }

    void TearDown() override {
        if (saved_.empty())
            ::unsetenv("KV_EMULATED_HOST");
        else
            ::setenv("KV_EMULATED_HOST", saved_.c_str(), 1);
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

  private:
    std::filesystem::path folder_;
    std::string saved_;
};

const ::testing::Environment* const kScratchDefaultHost =
    ::testing::AddGlobalTestEnvironment(new ScratchDefaultHost);

}  // namespace
}  // namespace scratch_default_host
