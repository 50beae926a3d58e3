// The built-in message tables (api/messages/*.cpp). Each ends with the row
// {kMessageEndCode, ""}; codes are unique within a table.
#pragma once

#include "api/api_messages.h"

extern const MessageRow kSourceNameMessages[];       // source 1
extern const MessageRow kRhoskControllerMessages[];  // source 3
extern const MessageRow kRhoskEventMessages[];       // source 4
extern const MessageRow kRhoskDriverMessages[];      // source 7
extern const MessageRow kApiMessages[];              // source 11
extern const MessageRow kPraneControllerMessages[];  // source 14
extern const MessageRow kPraneEventMessages[];       // source 15
extern const MessageRow kPraneDriverMessages[];      // source 18
// Sources 12, 13 and 19 belong to message sets that nothing in this system
// asks for; their tables hold only the end row.
extern const MessageRow kUnusedSourceMessages[];
