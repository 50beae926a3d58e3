// The refusals of the event capture and coercion factor words on an
// older-family controller object: the family test comes before the value
// (except for a word after "start" or "stop"), and nothing reaches the
// controller. The object stands over a newer controller of the emulated
// host, so that a request that slipped through would be answered.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "api/api.h"
#include "controllers/controller_prane.h"
#include "integration_host.h"
#include "shell/shell.h"
#include "test_support.h"

namespace events_older_family_test {
namespace {

using integration::json;

class EventsOlderFamilyTest : public integration::IntegrationTest {
  protected:
    void SetUp() override {
        IntegrationTest::SetUp();
        shell_ = std::make_unique<Shell>();
        theShell = shell_.get();
    }
    void TearDown() override {
        theShell = nullptr;
        shell_.reset();
        IntegrationTest::TearDown();
    }

    std::unique_ptr<Shell> shell_;
};

TEST_F(EventsOlderFamilyTest, WordsRefusedBeforeTheController) {
    Install(Machine(json::array(
        {integration::RhoskController(5, 8, "KVS26021-180274", {{"settings", {{"ports", 2}}}})})));
    ObjectIdList16 list{};
    list.zero();
    ASSERT_EQ(Api::GetControllerIdList(&list), 0);
    ASSERT_EQ(list.count, 1u);
    ControllerPrane older("c0", 0, list.ids[0]);
    ClearTraffic();

    struct Case {
        const char* words;
        int code;
    };
    const Case cases[] = {
        {"set dcf=5", 24},
        {"set dcf=abc", 24},
        {"set capture=start now", 162},
        {"set capture=pause", 24},
        {"set capture=enable", 24},
        {"set capturemode=full", 24},
        {"set capturemode=bogus extra", 24},
        {"show capture", 24},
        {"show capturemode", 24},
        {"show capture=debug hostmask", 24},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.words);
        std::istringstream words(c.words);
        const test_support::Outcome outcome = test_support::Run([&] { older.execute(words); });
        EXPECT_EQ(outcome.error.value_or("none"), test_support::Cli(c.code));
        EXPECT_EQ(outcome.out, "");
    }
    EXPECT_TRUE(Requests().empty());
}

}  // namespace
}  // namespace events_older_family_test
