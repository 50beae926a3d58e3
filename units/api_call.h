// The rule every unit and port query follows: a library call that does not
// answer 0 ends the command with the library's composed error message.
#pragma once

#include "controllers/controller.h"

inline void RequireApi(int result) {
    if (result != 0)
        Controller::throwApiError();
}
