#include <string>

#include "base/help.h"
#include "base/help_text.h"

// Help topics of the controller ("/cx") and of its battery backup unit
// ("/cx/bbu").

namespace {

using help_text::kEmptyLine;
using help_text::kReadCacheNote;
using help_text::Piece;

constexpr const char* kShow[] = {
    "",
    "  /cx show ",
    "  /cx show [pause [lines=n]]",
    "  /cx show Attribute [Attribute ...]           where Attribute is:",
    "           achip|allunitstatus|autocarve(Solvane/Tevrin/Uthmar)|bios|driver|firmware",
    "           autorebuild(Solvane/Tevrin only)|carvesize(Solvane/Tevrin/Uthmar)",
    "           drivestatus[pause[lines=n]]|ctlbus(Solvane/Tevrin/Uthmar)",
    "           memory|model|monitor|numdrives|numports|numunits|unitstatus",
    "           ondegrade(Rhoskan only)|pcb|pchip|serial|spinup|stagger",
    "  /cx show all          where all means Attributes and configurations.",
    "  /cx show diag              ",
    "  /cx show alarms [reverse]  ",
    "  /cx show events [reverse]  ",
    "  /cx show AENs [reverse]  ",
    "  /cx show rebuild                                          (Rhosk series)",
    "  /cx show rebuildrate                                                   ",
    "  /cx show rebuildmode                                      (see note 3)",
    "  /cx show verify                                           (Rhosk series)",
    "  /cx show verifyrate                                                    ",
    "  /cx show verifymode                                       (see note 3)",
    "  /cx show selftest                                         (Rhosk series)",
    "  /cx show phy                                              (see note 4)",
    "  /cx show dpmstat [type=<inst|ra|ext>]",
    "           (Solvane/Tevrin/Uthmar for type=inst and type=ra; Tevrin/Uthmar for type=ext)",
    "",
};
constexpr const char* kAdd[] = {
    "  /cx add type=<RaidType> disk=<p:p|p-p|p:p-p> (where p = port or drive number)",
    "       [stripe=<size>] [nocache|nowrcache] [nordcache|rdcachebasic] (see note)",
    "       [group=<3|4|5|6|7|8|9|10|11|12|13|14|15|16>] (group=13-16 Uthmar only)",
    "       [name=string (Rhosk series)] [ignoreECC] [autoverify] [noqpolicy]",
    "       [v0=n|vol=a:b:c:d]  (n,a,b,c,d = size of volume in GB)  (Rhosk series)",
    "       [keepwell=<protect|balance|perform>] (Solvane/Tevrin/Uthmar)  [noscan] ",
    "       [rapidrecovery=<all|rebuild|disable>]  (Tevrin/Uthmar only)",
    "       RaidType = { raid0, raid1, raid5, raid10, raid50, single,",
    "                                          spare, raid6 (Tevrin and Uthmar) }",
    "  /cx add rebuild=ddd:hh:duration                           (Rhosk series)",
    "  /cx add verify=ddd:hh:duration                            (Rhosk series)",
    "  /cx add selftest=ddd:hh                                   (Rhosk series)",
    "",
};
constexpr const char* kDel[] = {
    "  /cx del rebuild=slot_id                                   (Rhosk series)",
    "  /cx del verify=slot_id                                    (Rhosk series)",
    "  /cx del selftest=slot_id                                  (Rhosk series)",
    "",
};
constexpr const char* kSet[] = {
    "  /cx set ondegrade=cacheoff|follow                         (Rhoskan only)",
    "  /cx set spinup=nn                                         (Rhosk series)",
    "  /cx set stagger=nn                                        (Rhosk series)",
    "  /cx set autocarve=on|off                                  (Solvane/Tevrin/Uthmar)",
    "  /cx set carvesize=[1024..32768]                           (Solvane/Tevrin/Uthmar)",
    "  /cx set rebuild=enable|disable|<1..5>  (enable|disable for Rhosk series)",
    "  /cx set rebuildrate=<1..5>",
    "  /cx set rebuildmode=<adaptive|lowlatency>                 (see note 3)",
    "  /cx set verify=enable|disable|<1..5>   (enable|disable for Rhosk series)",
    "  /cx set verify=advanced|basic|<1..5>                      (Tevrin/Uthmar only)",
    "  /cx set verifyrate=<1..5>",
    "  /cx set verifymode=<adaptive|lowlatency>                  (see note 3)",
    "  /cx set selftest=enable|disable [task=UDMA|SMART]         (Rhosk series)",
    "  /cx set autorebuild=on|off                                (Solvane/Tevrin/Uthmar)",
    "  /cx set autodetect=on|off disk=<p:-p>|all                 (Rhosk series)",
    "  /cx set dpmstat=on|off                                    (Solvane/Tevrin)",
    "  /cx set verify=basic [pref=ddd:hh]   where hh= {00..23} and",
    "                      ddd = {mon|tue|wed|thu|fri|sat|sun}   (Tevrin/Solvane only)",
    "",
};
constexpr const char* kUpdate[] = {
    "  /cx update fw=filename_with_path [force]                  (Rhosk series)",
};
constexpr const char* kFlush[] = {
    "  /cx flush ",
};
constexpr const char* kCommit[] = {
    "  /cx commit                    (Windows only) (Also known as shutdown)",
};
constexpr const char* kStart[] = {
    "  /cx start mediascan                                  (Prane/Qualt only)",
};
constexpr const char* kStop[] = {
    "  /cx stop mediascan                                   (Prane/Qualt only)",
};
constexpr const char* kRescan[] = {
    "  /cx rescan [noscan] NOTE: Does not import non-JBOD on Prane/Qualt models.",
    "",
};
constexpr const char* kRemove[] = {
    "  /cx remove u<u> [noscan] ",
    "  /cx remove p<p>  ",
};
constexpr const char* kDeleteUnit[] = {
    "  /cx deleteunit u<u> [noscan] ",
};
constexpr const char* kCreateUnit[] = {
    "  /cx createunit r<RaidType> p<p:-p..> [k<stripe>] [noscan] [nocache] ",
    "                             [g<3|4|5|6|7|8>] [autoverify] [ignoreECC]",
    "       RaidType = { raid0, raid1, raid5, raid10, raid50, single, spare } ",
    "",
};
constexpr const char* kNotesHead[] = {
    "  Note:",
    "  (1) 'nowrcache' and 'nocache' both disable the write cache and behave",
    "      identically.",
};
constexpr const char* kNotesTail[] = {
    "  (3) 'rebuildmode' and 'verifymode' are supported by Tevrin or newer",
    "      controllers with release 9.5.2 or later.",
    "  (4) '/cx show phy' is supported by Tevrin or newer controllers with",
    "      release 9.5.2 or later.",
    "",
};
constexpr const char* kBbuShow[] = {
    "",
    "  /cx/bbu show                                             (Rhosk series)",
    "  /cx/bbu show Attribute [Attribute ...]       where Attribute is:",
    "          batinst|bootloader|cap|fw|lasttest|pcb|ready|serial|status",
    "          temp|volt",
    "  /cx/bbu show all                                         (Rhosk series)",
    "",
};
constexpr const char* kBbuInstallBat[] = {
    "  /cx/bbu installBat                                       (Rhosk series)",
};
constexpr const char* kBbuTest[] = {
    "  /cx/bbu test [quiet]                                     (Rhosk series)",
};
constexpr const char* kBbuEnable[] = {
    "  /cx/bbu enable                                           (Rhosk series)",
};
constexpr const char* kBbuDisable[] = {
    "  /cx/bbu disable [quiet]                                  (Rhosk series)",
};

}  // namespace

void Help::showControllerHelp(const std::string& word) {
    // The remove, deleteunit and createunit pieces come only for their own
    // words, not with "all".
    static const help_text::Topic kTopic = {
        {"all",
         {kShow, kAdd, kDel, kSet, kUpdate, kFlush, kCommit, kStart, kStop, kRescan, kNotesHead,
          kReadCacheNote, kNotesTail}},
        {"show", {kShow, kNotesHead, kReadCacheNote, kNotesTail}},
        {"set", {kSet, kNotesHead, kReadCacheNote, kNotesTail}},
        {"add", {kAdd, kNotesHead, kReadCacheNote, kNotesTail}},
        {"del", {kDel}},
        {"update", {kUpdate}},
        {"flush", {kFlush}},
        {"commit", {kCommit}},
        {"shutdown", {kCommit}},
        {"start", {kStart}},
        {"stop", {kStop}},
        {"rescan", {kRescan}},
        {"remove", {kRemove}},
        {"export", {kRemove}},
        {"deleteunit", {kDeleteUnit}},
        {"createunit", {kCreateUnit}},
    };
    help_text::printWord(kTopic, word);
}

void Help::showBbuHelp(const std::string& word) {
    // The word is matched in lower case; the installBat piece is left out of
    // "all".
    static const help_text::Topic kTopic = {
        {"all", {kBbuShow, kBbuTest, kBbuEnable, kBbuDisable, kEmptyLine}},
        {"show", {kBbuShow, kEmptyLine}},
        {"installbat", {kBbuInstallBat, kEmptyLine}},
        {"test", {kBbuTest, kEmptyLine}},
        {"enable", {kBbuEnable, kEmptyLine}},
        {"disable", {kBbuDisable, kEmptyLine}},
    };
    help_text::printWord(kTopic, word);
}
