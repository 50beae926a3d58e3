// KV_Exception: the message of each constructor form and the line end that
// every getMessage call adds.
#include <gtest/gtest.h>

#include <string>

#include "base/kv_exception.h"
#include "base/message_catalog.h"

namespace shell_exception_test {
namespace {

struct MessageCase {
    const char* name;
    KV_Exception error;
    std::string message;
};

TEST(ShellException, EachFormCarriesItsMessage) {
    const MessageCase cases[] = {
        {"code", KV_Exception(41), "Error: (CLI:041) Invalid shell command."},
        {"code 1", KV_Exception(1),
         "Error: (CLI:001) Only root/administrator can run this program."},
        {"code outside the catalog", KV_Exception(165), "Error: (CLI:?\?\?)"},
        {"null text", KV_Exception(static_cast<const char*>(nullptr)), "Invalid Error Message."},
        {"empty text", KV_Exception(""), "An Unknown Error Occurred."},
        {"text", KV_Exception("(0x0B:0x0002): Invalid function"),
         "(0x0B:0x0002): Invalid function"},
        {"string", KV_Exception(std::string("ready text")), "ready text"},
        {"empty string", KV_Exception(std::string()), ""},
        {"four fields", KV_Exception(std::string("first"), "second", "third", 7), "first"},
        {"default", KV_Exception(), ""},
    };
    for (MessageCase c : cases) {
        EXPECT_EQ(c.error.getMessage(), c.message + "\n") << c.name;
    }
}

TEST(ShellException, EveryGetMessageAddsOneLineEnd) {
    KV_Exception error(41);
    KV_Exception before = error;
    EXPECT_EQ(error.getMessage(), "Error: (CLI:041) Invalid shell command.\n");
    EXPECT_EQ(error.getMessage(), "Error: (CLI:041) Invalid shell command.\n\n");
    // A copy taken before the first call is untouched, and so is one thrown
    // on by a handler that only cleans up.
    EXPECT_EQ(before.getMessage(), "Error: (CLI:041) Invalid shell command.\n");
    try {
        try {
            throw KV_Exception(3);
        } catch (const KV_Exception& caught) {
            throw KV_Exception(caught);
        }
    } catch (KV_Exception& rethrown) {
        EXPECT_EQ(rethrown.getMessage(), "Error: (CLI:003) Specified controller does not exist.\n");
    }
}

TEST(ShellException, CatalogThatCannotBeBuiltGivesErrorTwentyOneOnce) {
    // Building the catalog fails once: the coded error carries error 21's
    // fixed text instead of recursing into the catalog, and the next coded
    // error finds a catalog built afresh.
    MessageCatalog::resetInstance();
    MessageCatalog::failNextBuildForTesting();
    KV_Exception failed(41);
    EXPECT_EQ(failed.getMessage(), "Error: (CLI:021) Failed to instantiate an object.\n");
    KV_Exception next(41);
    EXPECT_EQ(next.getMessage(), "Error: (CLI:041) Invalid shell command.\n");
}

}  // namespace
}  // namespace shell_exception_test
