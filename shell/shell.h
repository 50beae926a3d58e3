// The shell: the one object that holds the state of a run (host name,
// focus, the style and logging settings, the audit log path and the help
// printer), the root object "//host" of every address, and the reader of
// command lines from the prompt and from command files.
#pragma once

#include <cstdint>
#include <istream>
#include <memory>
#include <sstream>
#include <string>

#include "base/object.h"

class ControllerMgr;
class Controller;
class Enclosure;
class Help;
namespace shell_tree {
enum class ControllerAction;
}

class Shell : public Object {
  public:
    // Reads the environment settings, prepares the audit log, creates the
    // help printer and takes the host name.
    Shell();
    ~Shell() override;
    Shell(const Shell&) = delete;
    Shell& operator=(const Shell&) = delete;

    // --- Settings and state ---
    // Throws CLI error 1 for a user without administrator rights.
    bool checkAdministrator();
    [[nodiscard]] bool isInteractive() const { return interactive_; }
    void setInteractive(bool interactive) { interactive_ = interactive; }
    [[nodiscard]] bool isNewOutputStyle() const { return newOutputStyle_; }
    [[nodiscard]] bool isNewInputStyle() const { return newInputStyle_; }
    [[nodiscard]] bool isLogging() const { return logging_; }
    [[nodiscard]] Help* getHelp() const { return help_.get(); }
    [[nodiscard]] std::string getFocus() const { return focus_; }
    // The controller manager of the command that is running; null between
    // commands.
    [[nodiscard]] ControllerMgr* getControllerMgr() const { return controllerMgr_.get(); }
    [[nodiscard]] std::string getPrompt() const { return focus_ + "> "; }
    // The host name up to its first "." (shortForm) or whole.
    [[nodiscard]] std::string getHostName(bool shortForm) const;
    // The audit log file: the maker's data folder and "kv_mgmt.log".
    static std::string getLogFilePath();
    // The long OS description, ending in the build number and a line end.
    static std::string getOsVersion();

    // --- Line handling ---
    // Blanks around "=" removed, white space runs collapsed, trimmed.
    static void normalizeLine(std::string& line);
    // Lower-cases a word; a word that begins with "fw" has only those two
    // letters lowered, so a firmware file name keeps its case.
    static void toLower(std::string& word);
    static void toLower(char* word);
    // Lower-cases the words of a normalised line, keeping the text of a
    // "name=" value as typed, and normalises the result again.
    static std::string prepareWords(const std::string& line);
    static void replaceWithSpace(std::string& text, char c);
    // Reads one line of input, as the prompt, every question and command
    // files do: the line end is consumed and not kept, and a carriage
    // return before it belongs to it (CR LF). On Windows a Ctrl-Z ends the
    // input, as the C runtime's text mode ends a file there: the text
    // before it on its line is a last line. False when no line was read.
    static bool readLine(std::istream& in, std::string& line);

    // --- Input loops (both return 0) ---
    int runInteractive();
    int runCommandFile(const char* fileName);

    // --- Command processing ---
    // Runs one prepared command line; false only for "quit", "exit", "q".
    bool processCommand(std::istream& line);
    // Puts the focus in front of a command (new input style only).
    void qualifyCommand(std::string& line) const;
    // The commands addressed to the root object.
    int execute(std::istream& words) override;
    int showRoot(ControllerMgr* mgr, std::istream& words);
    int flushRoot(ControllerMgr* mgr, std::istream& words);
    int updateRoot(ControllerMgr* mgr, std::istream& words);
    int commitRoot(ControllerMgr* mgr, std::istream& words);
    int rescanRoot(ControllerMgr* mgr, std::istream& words);
    // The old-style "info" and "maint" commands.
    int infoCommand(ControllerMgr* mgr, std::istream& words);
    int maintCommand(ControllerMgr* mgr, std::istream& words);

    // --- Addresses and focus ---
    // The object an address names, owned by `mgr` (or the shell itself for
    // the root); throws the lookup's CLI error when there is none.
    Object* getObject(ControllerMgr* mgr, const std::string& address);
    // The "focus" / "cf" command.
    void changeFocus(std::istream& words);

    // --- Output services ---
    static std::string padText(const std::string& text, int width);
    static std::string padText(const char* text, int width);
    static std::string padNumber(int value, int width);
    static std::string padNumber(unsigned value, int width);
    static std::string padNumber(uint64_t value, int width);
    // Old-style unit texts into caller buffers (63, 31 and 15 bytes); -1
    // for a null buffer.
    static int unitTypeName(unsigned type, char* buffer);
    static int unitStatusName(unsigned char status, char* buffer);
    static int capacityText(uint64_t sectors, char* buffer);
    // A dotted version text as a number: "2.06.00.012" gives 20600012.
    static unsigned long versionNumber(const std::string& version);
    // Asks "Do you want to continue ? Y|N [N]: " after the warning; true
    // for yes. End of input answers no.
    static bool confirm(const std::string& warning);
    static bool confirm(std::stringstream& warning);

  private:
    // The action of an old-style word that names a controller; `maint`
    // selects the words of the "maint" command.
    static bool controllerActionOf(const std::string& word, bool maint,
                                   shell_tree::ControllerAction* action);
    // An old-style root word (old input style); `line` is the whole line.
    int runOldStyleWord(ControllerMgr* mgr, const std::string& word, const std::string& line,
                        std::istream& words);
    int runOnController(ControllerMgr* mgr, shell_tree::ControllerAction action,
                        const std::string& controllerName, std::istream& words);
    // The words of the root flush, commit and rescan; false when the
    // command ended at a help word.
    bool takeRootWords(std::istream& words, const char* topic, int errorCode, bool* makeOsAware);
    // Host part of a "//host..." address: CLI error 54 for a foreign host.
    void checkHost(std::string host) const;
    // The focus up to its host: "//" + host.
    [[nodiscard]] std::string rootOfFocus() const;

    std::string hostName_;
    std::unique_ptr<ControllerMgr> controllerMgr_;
    std::string focus_;
    bool interactive_ = false;
    bool newOutputStyle_ = true;
    bool newInputStyle_ = true;
    bool logging_ = true;
    std::string logFilePath_;
    std::unique_ptr<Help> help_;
};

// The one shell of the run; null until main has created it.
extern Shell* theShell;
