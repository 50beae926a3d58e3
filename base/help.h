// The help printer: every help text of the program. The shell owns the one
// Help object; the "help" command and the "help"/"?" words of every object
// class print through it. All help goes to standard output.
#pragma once

#include <istream>
#include <string>

class Help {
  public:
    // Reads KV_CLI_STYLE once: "OLD" in any case selects the old layout.
    Help();
    virtual ~Help() = default;

    // The "help" command: `words` is the rest of the line after "help" or
    // "?"; `mode` is "focus" at the interactive prompt and "all" otherwise.
    // Throws KV_Exception 13 at the first word that names no topic.
    void showHelp(std::istream& words, const std::string& mode);
    // The general help; the focus line only in mode "focus".
    void showGeneralHelp(const std::string& mode);
    // The "error" topic: every CLI message.
    void showErrorHelp();

    // Old-style and root command topics.
    void showInfoCommandHelp();
    void showAlarmsCommandHelp();
    void showSetCommandHelp();
    void showMaintCommandHelp();
    void showMaintCreateUnitHelp();
    void showSchedCommandHelp();
    void showQuitCommandHelp();
    void showShellHelp(const std::string& word);

    // Object topics. A topic that takes a word prints everything for "all"
    // or the part for one command word, and throws KV_Exception 13 for any
    // other word before printing anything.
    void showControllerHelp(const std::string& word);
    void showBbuHelp(const std::string& word);

    void showUnitHelp(const std::string& word);
    void showUnitStartHelp(const std::string& word);
    void showUnitPauseHelp(const std::string& word);
    void showUnitResumeHelp(const std::string& word);
    void showUnitStopHelp(const std::string& word);
    void showUnitFlushHelp();
    void showUnitDelHelp();
    void showUnitSetHelp();
    void showUnitRemoveHelp();
    void showUnitMigrateHelp();
    void showPortHelp(const std::string& word);
    // The halves of the port show and set help for "all" or "dpmstat";
    // other words print nothing.
    void showPortShowHelp(const std::string& word);
    void showPortSetHelp(const std::string& word);
    void showPhyHelp(const std::string& word);

    // "/ex" topics (enclosures on the host) and "/cx/ex" topics
    // (enclosures under a controller).
    void showEnclosureHelp(const std::string& word);
    void showControllerEnclosureHelp(const std::string& word);
    void showEnclosureSlotHelp(const std::string& word);
    void showControllerEnclosureSlotHelp(const std::string& word);
    void showEnclosureSlotShowHelp();
    void showControllerEnclosureSlotShowHelp();
    void showEnclosureSlotSetHelp();
    void showControllerEnclosureSlotSetHelp();
    void showEnclosureFanHelp(const std::string& word);
    void showControllerEnclosureFanHelp(const std::string& word);
    void showEnclosureTempSensorHelp(const std::string& word);
    void showControllerEnclosureTempSensorHelp(const std::string& word);
    void showEnclosurePowerSupplyHelp(const std::string& word);
    void showEnclosureAlarmHelp(const std::string& word);
    void showEnclosureDoorHelp(const std::string& word);

    [[nodiscard]] bool isNewStyle() const { return newStyle_; }

  private:
    // One topic word of the "help" command, reading the path topics' words
    // from `words`; false for a word that names no topic.
    bool showTopic(std::istream& words, const std::string& word);
    // An object topic of the "help" command: calls the topic with "all"
    // when nothing follows the path, else with each following word.
    void showPathTopic(std::istream& words, void (Help::*topic)(const std::string&));

    bool newStyle_;
};
