// A test host whose system message table knows one Windows code, 5, with
// the line break that Windows' own texts end with.
#pragma once

#include <cstdint>
#include <string>

#include "fake_host.h"

class SystemMessagesHost : public FakeHost {
  public:
    static constexpr const char* kAccessDenied = "Access is denied.\r\n";
    std::string formatMessage(uint32_t code) override { return code == 5 ? kAccessDenied : ""; }
};
