#include <iostream>
#include <string>

#include "base/help.h"
#include "base/help_text.h"

// Help topics of the old-style commands (info, alarms, set, maint, sched),
// of quit, and of the commands given to the root object.

namespace {

using help_text::kEmptyLine;
using help_text::Piece;

constexpr const char kInfoIntro[] =
    "  This command will show you various pieces of information about controllers";
constexpr const char kAlarmsIntro[] = "  This command will display alarms for each controller";
constexpr const char kSetIntro[] =
    "  This command will adjust and display certain settings on the controllers";
constexpr const char kMaintIntro[] =
    "  This command will perform certain maintenance functions on the controllers";
constexpr const char kSchedIntro[] = "  This command will set the schedule on the controllers";
constexpr const char kQuitIntro[] = "  This command quits the CLI";
constexpr const char* kInfoLines[] = {
    "  info ",
    "  info c<c> [driver|model|firmware|bios|monitor|serial|pcb|pchip|achip",
    "             numports|numunits|numdrives|unitstatus|drivestatus|allunitstatus",
    "             ondegrade|spinup|stagger]",
    "  info c<c> u<u> [status|rebuildstatus|verifystatus|initializestatus]",
    "  info c<c> p<p> [status|model|serial|capacity|smart|firmware]",
    "  info c<c> diag",
};
constexpr const char* kInfoLegend[] = {
    "  c - the controller id",
    "  u - the unit id",
    "  p - the port id",
    "  - If u is specified, the items allowed are:",
    "      status, rebuildstatus, verifystatus, initializestatus",
    "  - If p is specified, the items allowed are:",
    "      status, model, serial, capacity, smart",
    "  - If neither u nor p is specified, the items allowed are:",
    // One line, longer than a line of source.
    ("      driver, model, firmware, bios, monitor, serial, pcb, pchip, achip, numports, numunits, "
     "numdrives, unitstatus, drivestatus"),
    "",
};
constexpr const char* kAlarmsLines[] = {
    "  alarms",
    "  alarms c<c> [c<c> ...]",
};
constexpr const char* kSetLines[] = {
    "  set rebuild c<c> <1..5> ",
    "  set cache c<c> u<u> on|off",
    "  set verify  c<c> <1..5>                (Note: Rhosk series)",
    "  set autoverify c<c> u<u> on|off        (Note: Rhosk series)",
    "  set overwriteECC c<c> u<u> on|off      (Note: Rhosk series)",
};
constexpr const char* kSetLegend[] = {
    "  c - the controller id",
    "  u - the unit id",
    "  - set with only c<c> and no sub-command displays all settings of that controller.",
    "  - rebuild, verify, autoverify and overwriteECC apply to Rhosk controllers only.",
};
constexpr const char* kMaintHeading[] = {
    "",
    "maint             ",
};
constexpr const char* kMaintRescan[] = {
    "  rescan [c<c> ...] [noscan] NOTE: Does not import non-JBOD on Prane/Qualt models.",
};
constexpr const char* kMaintRemove[] = {
    "  remove c<c> u<u> [noscan] ",
    "  remove c<c> p<p>  ",
};
constexpr const char* kMaintDeleteUnit[] = {
    "  deleteunit c<c> u<u> [noscan] ",
};
constexpr const char* kMaintCreateUnit[] = {
    "  createunit c<c> r<RaidType> p<p:-p..> [k<stripe>] [noscan] [nocache] "
    "[g<3|4|5|6|7|8|9|10|11|12>] [autoverify] [ignoreECC]",
    "        RaidType = { raid0, raid1, raid5, raid10, raid50, single, spare } ",
};
constexpr const char* kMaintRebuild[] = {
    "  rebuild c<c> u<u> p<p:-p...> [ignoreECC] ",
    "  rebuild c<c> u<u> pause  (Prane/Qualt only)",
    "  rebuild c<c> u<u> resume  (Prane/Qualt only)",
};
constexpr const char* kMaintFlush[] = {
    "  flush c<c> [u<u>] ",
};
constexpr const char* kMaintVerify[] = {
    "  verify c<c> u<u> [stop]",
};
constexpr const char* kMaintMediascan[] = {
    "  mediascan c<c> start|stop (Prane/Qualt only)",
};
constexpr const char* kMaintCommit[] = {
    "  commit c<c>             (Windows only) (Also known as shutdown)",
};
constexpr const char* kMaintLegend[] = {
    "",
    "  c - the controller id",
    "  u - the unit id",
    "  p - the port id, use '-' to specify a range, eg 1:4-7",
    "  - RAID50 and single disk units cannot be created on Prane/Qualt models.",
    "  - The k argument (stripe size) is valid only for these RAID types:",
    "    raid0, raid10, raid5, and raid50",
    "    and on Prane/Qualt models:",
    "    raid0, raid10, and raid5",
    "  - The stripe sizes in KB are:",
    "    64, 128, 256, 512, 1024. *NOTE* RAID5 on Prane/Qualt series models, can only be 64.",
    "    Rhosk currently only supports 16, 64, 256.",
    "    64, 128, 256, 512, 1024.  *NOTE* RAID5 can only be 64.",
    "  - k64 is the default stripe size.",
    "  - flush without u<u> flushes all units of the controller.",
    "  - remove with p<p> removes a drive; remove with u<u> removes the unit",
    "    with all its drives.",
    "  - noscan on createunit, deleteunit and remove does not inform the operating",
    "    system of the change; it cannot be used on remove with a port.",
    "  - g is the number of disks per group for RAID 50.",
    "",
};
constexpr const char* kSchedLines[] = {
    "  sched rebuild c<c> ",
    "  sched rebuild c<c> add d<d> h<h> t<t> ",
    "  sched rebuild c<c> remove <n> ",
    "  sched rebuild c<c> enable|disable",
    "  sched verify c<c> ",
    "  sched verify c<c> add d<d> h<h> t<t> ",
    "  sched verify c<c> remove <n> ",
    "  sched verify c<c> enable|disable",
    "  sched selftest c<c>",
    "  sched selftest c<c> add d<d> h<h> ",
    "  sched selftest c<c> remove <n> ",
    "  sched selftest c<c> enable|disable [s<s>]",
};
constexpr const char* kSchedLegend[] = {
    "  c - the controller id",
    "  d - the day of the schedule (0=Sunday - 6=Saturday)",
    "  h - the hour of the schedule (0=12am - 23=11pm)",
    "  t - the duration of the schedule (1 - 24)",
    "  n - the schedule slot you want to remove (1 - 7)",
    "  s - the selftest task you wish to enable or disable (see list below)",
    "      0 - Upgrade UDMA mode",
    "      1 - Check S.M.A.R.T. threshholds",
    "  With nothing after c<c>, the rebuild, verify or selftest schedule of the",
    "  controller is displayed.",
    "",
};
constexpr const char* kQuitLines[] = {
    "  quit",
    "    Synonyms: q exit",
};
constexpr const char* kShellShow[] = {
    "  show          ",
    "  show ver      ",
    "  show alarms [reverse]",
    "  show events [reverse]",
    "  show AENs [reverse]",
    "  show diag     ",
    "  show rebuild                                              (Rhosk series)",
    "  show verify                                               (Rhosk series)",
    "  show selftest                                             (Rhosk series)",
};
constexpr const char* kShellFlush[] = {
    "  flush      ",
};
constexpr const char* kShellCommit[] = {
    "  commit                        (Windows only) (Also known as shutdown)",
};
constexpr const char* kShellUpdate[] = {
    "  update fw=filename_with_path [force]                  (Rhosk series)",
};
constexpr const char* kShellRescan[] = {
    "  rescan [noscan]",
};
constexpr const char* kShellFocus[] = {
    "  focus URI    ",
};

// The frame of an old-style topic. The old layout adds the introductory
// sentence before the command lines and the legend after them.
void printIntro(bool oldStyle, const char* intro) {
    if (oldStyle) {
        help_text::printEmptyLine();
        std::cout << intro << '\n';
        help_text::printEmptyLine();
    }
}

// A topic without a legend passes none.
void printOldStyleTopic(bool oldStyle, const char* intro, Piece commands,
                        const Piece* legend = nullptr) {
    printIntro(oldStyle, intro);
    help_text::printEmptyLine();
    commands.print();
    if (oldStyle && legend != nullptr) {
        legend->print();
    }
    help_text::printEmptyLine();
}

}  // namespace

void Help::showInfoCommandHelp() {
    static const Piece kLegend(kInfoLegend);
    printOldStyleTopic(!newStyle_, kInfoIntro, kInfoLines, &kLegend);
}

void Help::showAlarmsCommandHelp() {
    printOldStyleTopic(!newStyle_, kAlarmsIntro, kAlarmsLines);
}

void Help::showSetCommandHelp() {
    static const Piece kLegend(kSetLegend);
    printOldStyleTopic(!newStyle_, kSetIntro, kSetLines, &kLegend);
}

void Help::showMaintCommandHelp() {
    printIntro(!newStyle_, kMaintIntro);
    for (Piece piece : {Piece(kMaintHeading), Piece(kMaintRescan), Piece(kMaintRemove),
                        Piece(kMaintDeleteUnit)}) {
        piece.print();
    }
    showMaintCreateUnitHelp();
    for (Piece piece : {Piece(kMaintRebuild), Piece(kMaintFlush), Piece(kMaintVerify),
                        Piece(kMaintMediascan), Piece(kMaintCommit)}) {
        piece.print();
    }
    if (!newStyle_) {
        Piece(kMaintLegend).print();
    }
    help_text::printEmptyLine();
}

void Help::showMaintCreateUnitHelp() {
    Piece(kMaintCreateUnit).print();
}

void Help::showSchedCommandHelp() {
    static const Piece kLegend(kSchedLegend);
    printOldStyleTopic(!newStyle_, kSchedIntro, kSchedLines, &kLegend);
}

void Help::showQuitCommandHelp() {
    printOldStyleTopic(!newStyle_, kQuitIntro, kQuitLines);
}

void Help::showShellHelp(const std::string& word) {
    static const help_text::Topic kTopic = {
        {"show", {kEmptyLine, kShellShow, kEmptyLine}},
        {"flush", {kEmptyLine, kShellFlush, kEmptyLine}},
        {"commit", {kEmptyLine, kShellCommit, kEmptyLine}},
        {"update", {kEmptyLine, kShellUpdate, kEmptyLine}},
        {"rescan", {kEmptyLine, kShellRescan, kEmptyLine}},
        {"focus", {kEmptyLine, kShellFocus, kEmptyLine}},
    };
    help_text::printWord(kTopic, word);
}
