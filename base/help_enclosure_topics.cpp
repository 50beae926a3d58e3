#include <string>

#include "base/help.h"
#include "base/help_text.h"

// Help topics of enclosures and their elements. "/ex" topics serve
// enclosures addressed on the host, "/cx/ex" topics enclosures addressed
// under a controller; the door's help is reached only through the door.

namespace {

using help_text::kEmptyLine;
using help_text::Piece;

constexpr const char* kExShow[] = {
    "",
    "  /ex show                                      (Solvane/Tevrin only)    ",
    "  /ex show Attribute [Attribute]               where Attribute is:",
    "           controllers|protocol|fans|slots|temp",
    "  /ex show all       where all means Attributes and configurations.",
    "",
};
constexpr const char* kCxExShow[] = {
    "",
    "  /cx/ex show                                      (Uthmar only)  ",
    "  /cx/ex show Attribute [Attribute]               where Attribute is:",
    "              controllers|protocol|fans|slots|temp|pwrs|alms",
    "  /cx/ex show all       where all means Attributes and configurations.",
    "",
    "  Note:",
    "  Identify commands apply to enclosure elements, not enclosures.",
    "  For help on enclosure element identify, use 'help /cx/ex/elementx',",
    "  where element={fan, slot, temp, pwrs...}",
    "",
};
constexpr const char* kExSlotShow[] = {
    "",
    "  /ex/slotx show                                           ",
    "  /ex/slotx show identify                         (Solvane/Tevrin only)",
    "",
};
constexpr const char* kCxExSlotShow[] = {
    "",
    "  /cx/ex/slotx show                                           ",
    "  /cx/ex/slotx show identify                       (Uthmar only)",
    "",
};
constexpr const char* kExSlotSet[] = {
    "",
    "  /ex/slotx set identify=on|off                (Solvane/Tevrin only)",
    "",
};
constexpr const char* kCxExSlotSet[] = {
    "",
    "  /cx/ex/slotx set identify=on|off            (Solvane/Tevrin only)",
    "",
};
constexpr const char* kCxExFanShow[] = {
    "",
    "  /cx/ex/fanx show",
    "  /cx/ex/fanx show identify",
    "",
};
constexpr const char* kCxExFanSet[] = {
    "",
    "  /cx/ex/fanx set identify=<on|off>",
    "  /cx/ex/fanx set speed=<0|1|2|3|4|5|6|7>",
    "",
    "  Note: Fan speed 0 = off; Fan speed 7 = highest.",
    "",
};
constexpr const char* kExFanShow[] = {
    "",
    "  /ex/fanx show",
    "",
};
constexpr const char* kCxExTempShow[] = {
    "",
    "  /cx/ex/tempx show",
    "  /cx/ex/tempx show identify",
    "",
};
constexpr const char* kCxExTempSet[] = {
    "",
    "  /cx/ex/tempx set identify",
    "",
};
constexpr const char* kExTempShow[] = {
    "",
    "  /ex/tempx show",
    "",
};
constexpr const char* kPowerSupplyShow[] = {
    "",
    "  /cx/ex/pwrsx show",
    "  /cx/ex/pwrsx show identify",
    "",
};
constexpr const char* kPowerSupplySet[] = {
    "",
    "  /cx/ex/pwrsx set identify=<on|off>",
    "",
};
constexpr const char* kDoorShow[] = {
    "",
    "  //host/ex/edrx show                                           ",
    "",
};
constexpr const char* kDoorLock[] = {
    "",
    "  //host/ex/edrx lock                                           ",
    "",
};
constexpr const char* kDoorUnlock[] = {
    "",
    "  //host/ex/edrx unlock                                         ",
    "",
};
constexpr const char* kAlarmHeadingEx[] = {
    "",
    "For Tevrin w/ Tolvek or SAF-TE support:",
};
constexpr const char* kAlarmHeadingCxEx[] = {
    "",
    "For Uthmar and Tevrin with SES support:",
};
constexpr const char* kAlarmExShow[] = {
    "  /ex/almx show",
};
constexpr const char* kAlarmExSet[] = {
    "  /ex/almx set alarm=<mute|unmute|off>",
};
constexpr const char* kAlarmCxExShow[] = {
    "  /cx/ex/almx show",
};
constexpr const char* kAlarmCxExSet[] = {
    "  /cx/ex/almx set alarm=<mute|unmute|off>",
};

}  // namespace

void Help::showEnclosureHelp(const std::string& word) {
    static const help_text::Topic kTopic = {{"all", {kExShow}}, {"show", {kExShow}}};
    help_text::printWord(kTopic, word);
}

void Help::showControllerEnclosureHelp(const std::string& word) {
    static const help_text::Topic kTopic = {{"all", {kCxExShow}}, {"show", {kCxExShow}}};
    help_text::printWord(kTopic, word);
}

void Help::showEnclosureSlotHelp(const std::string& word) {
    static const help_text::Topic kTopic = {
        {"all", {kExSlotShow, kExSlotSet}},
        {"show", {kExSlotShow}},
        {"set", {kExSlotSet}},
    };
    help_text::printWord(kTopic, word);
}

void Help::showControllerEnclosureSlotHelp(const std::string& word) {
    static const help_text::Topic kTopic = {
        {"all", {kCxExSlotShow, kCxExSlotSet}},
        {"show", {kCxExSlotShow}},
        {"set", {kCxExSlotSet}},
    };
    help_text::printWord(kTopic, word);
}

void Help::showEnclosureSlotShowHelp() {
    Piece(kExSlotShow).print();
}

void Help::showControllerEnclosureSlotShowHelp() {
    Piece(kCxExSlotShow).print();
}

void Help::showEnclosureSlotSetHelp() {
    Piece(kExSlotSet).print();
}

void Help::showControllerEnclosureSlotSetHelp() {
    Piece(kCxExSlotSet).print();
}

void Help::showEnclosureFanHelp(const std::string& word) {
    static const help_text::Topic kTopic = {{"all", {kExFanShow}}, {"show", {kExFanShow}}};
    help_text::printWord(kTopic, word);
}

void Help::showControllerEnclosureFanHelp(const std::string& word) {
    static const help_text::Topic kTopic = {
        {"all", {kCxExFanShow, kCxExFanSet}},
        {"show", {kCxExFanShow}},
        {"set", {kCxExFanSet}},
    };
    help_text::printWord(kTopic, word);
}

void Help::showEnclosureTempSensorHelp(const std::string& word) {
    static const help_text::Topic kTopic = {{"all", {kExTempShow}}, {"show", {kExTempShow}}};
    help_text::printWord(kTopic, word);
}

void Help::showControllerEnclosureTempSensorHelp(const std::string& word) {
    // "all" leaves the set piece out; it comes only for "set".
    static const help_text::Topic kTopic = {
        {"all", {kCxExTempShow}},
        {"show", {kCxExTempShow}},
        {"set", {kCxExTempSet}},
    };
    help_text::printWord(kTopic, word);
}

void Help::showEnclosurePowerSupplyHelp(const std::string& word) {
    static const help_text::Topic kTopic = {
        {"all", {kPowerSupplyShow, kPowerSupplySet}},
        {"show", {kPowerSupplyShow}},
        {"set", {kPowerSupplySet}},
    };
    help_text::printWord(kTopic, word);
}

void Help::showEnclosureAlarmHelp(const std::string& word) {
    // Both enclosure forms, the "/ex" form first; "show" ends without an
    // empty line.
    static const help_text::Topic kTopic = {
        {"all",
         {kAlarmHeadingEx, kAlarmExShow, kAlarmExSet, kEmptyLine, kAlarmHeadingCxEx, kAlarmCxExShow,
          kAlarmCxExSet, kEmptyLine}},
        {"show", {kAlarmHeadingEx, kAlarmExShow, kEmptyLine, kAlarmHeadingCxEx, kAlarmCxExShow}},
        {"set",
         {kAlarmHeadingEx, kAlarmExSet, kEmptyLine, kAlarmHeadingCxEx, kAlarmCxExSet, kEmptyLine}},
    };
    help_text::printWord(kTopic, word);
}

void Help::showEnclosureDoorHelp(const std::string& word) {
    static const help_text::Topic kTopic = {
        {"all", {kDoorShow, kDoorLock, kDoorUnlock}},
        {"show", {kDoorShow}},
        {"lock", {kDoorLock}},
        {"unlock", {kDoorUnlock}},
    };
    help_text::printWord(kTopic, word);
}
