// The CLI message catalog: message format, unknown codes and the failure
// to build the catalog. The full listing is checked through "help error".
#include "base/message_catalog.h"

#include <gtest/gtest.h>

#include <string>

#include "base/kv_exception.h"

namespace message_catalog_test {
namespace {

class MessageCatalogTest : public testing::Test {
  protected:
    void TearDown() override { MessageCatalog::resetInstance(); }
};

TEST_F(MessageCatalogTest, FormatsKnownAndUnknownCodes) {
    struct Case {
        int code;
        const char* message;
    };
    const Case cases[] = {
        {1, "Error: (CLI:001) Only root/administrator can run this program."},
        {13, "Error: (CLI:013) Invalid argument in help command."},
        {55, "Error: (CLI:055) Invalid feature, only available with KV_CLI_INPUT_STYLE=new"},
        {67, "Error: (CLI:067) Invalid flush command."},
        {91, "Error: (CLI:091) Invalid flush command."},
        {151,
         "Error: (CLI:151) Invalid input for drive coercion factor.\n"
         "       Valid range is [1..50], default: 1 if < 45GB, 5 if >= 45GB."},
        {164, "Error: (CLI:164) Number of specified volumes exceeded [max=4]."},
        {0, "Error: (CLI:\?\?\?)"},
        {165, "Error: (CLI:\?\?\?)"},
        {-1, "Error: (CLI:\?\?\?)"},
    };
    const MessageCatalog* catalog = MessageCatalog::getInstance();
    for (const Case& c : cases) {
        EXPECT_EQ(catalog->formatMessage(c.code), c.message) << "code " << c.code;
    }
}

TEST_F(MessageCatalogTest, FailedBuildRaisesFixedError21AndRetries) {
    MessageCatalog::resetInstance();
    MessageCatalog::failNextBuildForTesting();
    try {
        (void)MessageCatalog::getInstance();
        FAIL() << "the failed build was not reported";
    } catch (KV_Exception& failure) {
        EXPECT_EQ(failure.getMessage(), "Error: (CLI:021) Failed to instantiate an object.\n");
    }
    // The pointer stayed unset: the next use builds a complete catalog.
    EXPECT_EQ(MessageCatalog::getInstance()->formatMessage(2), "Error: (CLI:002) Syntax Error.");
}

}  // namespace
}  // namespace message_catalog_test
