// The newer family's event list, shared by the forward and the reverse
// views of its controller classes.
#pragma once

#include <string>

#include "api/object_id.h"

namespace controller_events {

// Prints the header and the controller's events, oldest first or newest
// first; debug events and events of code 49 are left out. A failed read
// throws the library's error; the rows printed before it stay printed.
void showEventList(const std::string& controllerName, ObjectId controller, bool newestFirst);

}  // namespace controller_events
