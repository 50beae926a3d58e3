// The shell: the one object that holds the state of a run (host name,
// focus, the style and logging settings, the audit log path and the help
// printer), the root object "//host" of every address, and the reader of
// command lines from the prompt and from command files. It gives the
// objects their shell services (base/shell_services.h).
#pragma once

#include <istream>
#include <memory>
#include <string>

#include "base/cli_codes.h"
#include "base/object.h"
#include "base/shell_services.h"

class ControllerMgr;
class Controller;
class Enclosure;
class Help;
namespace shell_tree {
enum class ControllerAction;
}

class Shell : public Object, public ShellServices {
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
    [[nodiscard]] bool isNewOutputStyle() const override { return newOutputStyle_; }
    [[nodiscard]] bool isNewInputStyle() const { return newInputStyle_; }
    [[nodiscard]] bool isLogging() const { return logging_; }
    [[nodiscard]] Help* getHelp() const override { return help_.get(); }
    [[nodiscard]] std::string getFocus() const { return focus_; }
    // The controller manager of the command that is running; null between
    // commands.
    [[nodiscard]] ControllerMgr* getControllerMgr() const { return controllerMgr_.get(); }
    [[nodiscard]] std::string getPrompt() const { return focus_ + "> "; }
    [[nodiscard]] std::string getHostName(bool shortForm) const override;
    // The audit log file: the maker's data folder and "kv_mgmt.log".
    static std::string getLogFilePath();

    // --- Line handling ---
    // Blanks around "=" removed, white space runs collapsed, trimmed.
    static void normalizeLine(std::string& line);
    // Lower-cases the words of a normalised line, keeping the text of a
    // "name=" value as typed, and normalises the result again.
    static std::string prepareWords(const std::string& line);

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
    bool takeRootWords(std::istream& words, const char* topic, CliCode errorCode,
                       bool* makeOsAware);
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
