#include <string>

#include "base/help.h"
#include "base/help_text.h"

// Help topics of the unit ("/cx/ux"), the drive port ("/cx/px") and the
// phy ("/cx/phyx", also "/ex/phyx").

namespace {

using help_text::kEmptyLine;
using help_text::kReadCacheNote;
using help_text::Piece;

constexpr const char* kUnitShow[] = {
    "",
    "  /cx/ux show",
    "  /cx/ux show Attribute [Attribute ...]       where Attribute is:",
    "              initializestatus|rebuildstatus|verifystatus|",
    "              cache|wrcache(1)|rdcache(2)|name(Rhosk series)|",
    "              qpolicy(Solvane/Tevrin/Uthmar)|volumes(Rhosk series)|",
    "              serial(Rhosk series)|status|keepwell(Solvane/Tevrin/Uthmar)|",
    "              autoverify(Rhosk series)|ignoreECC(Rhosk series)|",
    "              identify(Solvane/Tevrin/Uthmar)|rapidrecovery(Tevrin/Uthmar only)|",
    "              parity(RAID-6 only)",
    "  /cx/ux show all",
    "",
};
constexpr const char* kUnitStartRebuild[] = {
    "  /cx/ux start rebuild disk=<p:-p...> [ignoreECC] ",
};
constexpr const char* kUnitStartVerify[] = {
    "  /cx/ux start verify",
};
constexpr const char* kUnitPause[] = {
    "  /cx/ux pause rebuild                                 (Prane/Qualt only)",
};
constexpr const char* kUnitResume[] = {
    "  /cx/ux resume rebuild                                (Prane/Qualt only)",
};
constexpr const char* kUnitStop[] = {
    "  /cx/ux stop verify",
};
constexpr const char* kUnitFlush[] = {
    "  /cx/ux flush",
};
constexpr const char* kUnitDel[] = {
    "  /cx/ux del [noscan] [quiet]",
    "",
};
constexpr const char* kUnitSet[] = {
    "  /cx/ux set autoverify=on|off                         (Rhosk series)",
    "  /cx/ux set cache=on|off [quiet]",
    "  /cx/ux set wrcache=on|off [quiet]                    (see note 1)",
    "  /cx/ux set rdcache=basic|intelligent|off             (see note 2)",
    "  /cx/ux set ignoreECC=on|off                          (Rhosk series)",
    "  /cx/ux set name=string                               (Rhosk series)",
    "  /cx/ux set qpolicy=on|off                            (Solvane/Tevrin/Uthmar)",
    "  /cx/ux set keepwell=protect|balance|perform [quiet]  (Solvane/Tevrin/Uthmar)",
    "  /cx/ux set identify=on|off                           (Solvane/Tevrin/Uthmar)",
    "  /cx/ux set rapidrecovery=all|rebuild|disable         (Tevrin/Uthmar only)",
    "                                [quiet] for 'disable' option",
    "",
};
constexpr const char* kUnitRemove[] = {
    "  /cx/ux remove [noscan] [quiet]",
};
constexpr const char* kUnitMigrate[] = {
    "",
    "  /cx/ux migrate type=<RaidType> [disk=<p:-p..>]          (Rhosk series)",
    "     [group=<3|4|5|6|7|8|9|10|11|12|13|14|15|16>] (group=13-16 Uthmar only)",
    "     [stripe=<size>] [noscan] [nocache] [autoverify]",
    "     RaidType = { raid0, raid1, raid5, raid10, raid50, single,",
    "                                               raid6 (Tevrin and Uthmar) }",
    "",
};
constexpr const char* kUnitNotesHead[] = {
    "  Note:",
    "  (1) 'wrcache' and 'cache' both set the write cache and behave identically;",
    "      'wrcache' was introduced together with 'rdcache'.",
};
constexpr const char* kPortShowGeneral[] = {
    "",
    "  /cx/px show                                                      ",
    "  /cx/px show Attribute [Attribute ...]       where Attribute is:  ",
    "              status|model|firmware|serial|capacity|smart|",
    "              ncq|identify|lspeed|(Solvane/Tevrin/Uthmar only)",
    "              driveinfo|ports|connections|drvintf|wwn|(Uthmar only)",
    "              rasect|pohrs|temperature|spindlespd|(Tevrin/Uthmar only)",
    "  /cx/px show all                                                  ",
};
constexpr const char* kPortShowDpmstat[] = {
    "  /cx/px show dpmstat [type=<inst|ra|lct|histdata|ext>]",
    "          (Solvane/Tevrin/Uthmar, except for type=ext which is Tevrin/Uthmar only)",
    "          (default: same as type=ra)",
    "",
};
constexpr const char* kPortRemove[] = {
    "",
    "  /cx/px remove [quiet]",
};
constexpr const char* kPortSetIdentify[] = {
    "",
    "  /cx/px set identify=on|off                      (Solvane/Tevrin/Uthmar)",
};
constexpr const char* kPortSetDpmstat[] = {
    "  /cx/px set dpmstat=clear [type=<ra|lct|ext>]",
    "         (Solvane/Tevrin/Uthmar, except for type=ext which is Tevrin/Uthmar only)",
    "         (default: same as type=ra)",
};
constexpr const char* kPhyShow[] = {
    "",
    "  /cx/phyx show                        (Uthmar only)  ",
};
constexpr const char* kPhySet[] = {
    "",
    "  /cx/phyx set link=[auto|1.5|3.0]     (Uthmar only) ",
};

}  // namespace

void Help::showUnitHelp(const std::string& word) {
    static const help_text::Topic kTopic = {
        {"all",
         {kUnitShow, kUnitStartRebuild, kUnitStartVerify, kEmptyLine, kUnitPause, kUnitResume,
          kUnitStop, kEmptyLine, kUnitFlush, kUnitDel, kUnitSet, kUnitRemove, kUnitMigrate,
          kUnitNotesHead, kReadCacheNote, kEmptyLine}},
        {"show", {kUnitShow, kUnitNotesHead, kReadCacheNote, kEmptyLine}},
        {"set", {kUnitSet, kUnitNotesHead, kReadCacheNote, kEmptyLine}},
        {"migrate", {kUnitMigrate}},
        {"start", {kUnitStartRebuild, kUnitStartVerify, kEmptyLine}},
        {"pause", {kUnitPause, kEmptyLine}},
        {"resume", {kUnitResume, kEmptyLine}},
        {"stop", {kUnitStop, kEmptyLine}},
        {"flush", {kUnitFlush, kEmptyLine}},
        {"del", {kUnitDel}},
        {"remove", {kUnitRemove}},
    };
    help_text::printWord(kTopic, word);
}

void Help::showUnitStartHelp(const std::string& word) {
    static const help_text::Topic kTopic = {
        {"all", {kUnitStartRebuild, kUnitStartVerify, kEmptyLine}},
        {"rebuild", {kUnitStartRebuild, kEmptyLine}},
        {"verify", {kUnitStartVerify, kEmptyLine}},
    };
    help_text::printWord(kTopic, word);
}

void Help::showUnitPauseHelp(const std::string& word) {
    static const help_text::Topic kTopic = {{"all", {kUnitPause}}, {"rebuild", {kUnitPause}}};
    help_text::printWord(kTopic, word);
}

void Help::showUnitResumeHelp(const std::string& word) {
    static const help_text::Topic kTopic = {{"all", {kUnitResume}}, {"rebuild", {kUnitResume}}};
    help_text::printWord(kTopic, word);
}

void Help::showUnitStopHelp(const std::string& word) {
    // A unit can only stop a verify: there is no stop rebuild help.
    static const help_text::Topic kTopic = {
        {"all", {kUnitStop, kEmptyLine}},
        {"verify", {kUnitStop, kEmptyLine}},
    };
    help_text::printWord(kTopic, word);
}

void Help::showUnitFlushHelp() {
    Piece(kUnitFlush).print();
}

void Help::showUnitDelHelp() {
    Piece(kUnitDel).print();
}

void Help::showUnitSetHelp() {
    Piece(kUnitSet).print();
}

void Help::showUnitRemoveHelp() {
    Piece(kUnitRemove).print();
}

void Help::showUnitMigrateHelp() {
    Piece(kUnitMigrate).print();
}

void Help::showPortHelp(const std::string& word) {
    static const help_text::Topic kTopic = {
        {"all",
         {kPortShowGeneral, kPortShowDpmstat, kPortRemove, kPortSetIdentify, kPortSetDpmstat,
          kEmptyLine}},
        {"show", {kPortShowGeneral, kPortShowDpmstat, kEmptyLine}},
        {"remove", {kPortRemove, kEmptyLine}},
        {"set", {kPortSetIdentify, kPortSetDpmstat, kEmptyLine}},
    };
    help_text::printWord(kTopic, word);
}

void Help::showPortShowHelp(const std::string& word) {
    static const help_text::Topic kTopic = {{"all", {kPortShowGeneral}},
                                            {"dpmstat", {kPortShowDpmstat}}};
    (void)help_text::printKnownWord(kTopic, word);
}

void Help::showPortSetHelp(const std::string& word) {
    static const help_text::Topic kTopic = {{"all", {kPortSetIdentify}},
                                            {"dpmstat", {kPortSetDpmstat}}};
    (void)help_text::printKnownWord(kTopic, word);
}

void Help::showPhyHelp(const std::string& word) {
    static const help_text::Topic kTopic = {
        {"all", {kPhyShow, kPhySet, kEmptyLine}},
        {"show", {kPhyShow, kEmptyLine}},
        {"set", {kPhySet, kEmptyLine}},
    };
    help_text::printWord(kTopic, word);
}
