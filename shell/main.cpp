// Program entry: creates the shell, checks administrator rights, chooses
// the run mode from the command line and turns every failure that reaches
// it into a message on standard error and exit status 1.
#include <cstring>
#include <exception>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>

#include "base/kv_exception.h"
#include "platform/host_system.h"
#include "shell/progress_line.h"
#include "shell/shell.h"

namespace {

// Owns the one shell and keeps theShell pointing at it while it lives.
class ShellOwner {
  public:
    ShellOwner() : shell_(std::make_unique<Shell>()) { theShell = shell_.get(); }
    ~ShellOwner() { theShell = nullptr; }
    ShellOwner(const ShellOwner&) = delete;
    ShellOwner& operator=(const ShellOwner&) = delete;

    Shell& shell() { return *shell_; }

  private:
    std::unique_ptr<Shell> shell_;
};

// One command made of the arguments, prepared like a line typed at the
// prompt.
void runOneShot(Shell& shell, int argc, char** argv) {
    std::string line;
    for (int i = 1; i < argc; ++i) {
        line += argv[i];
        line += " ";
    }
    Shell::normalizeLine(line);
    std::stringstream words(Shell::prepareWords(line));
    shell.processCommand(words);
}

void run(std::unique_ptr<ShellOwner>& owner, int argc, char** argv) {
    owner = std::make_unique<ShellOwner>();
    Shell& shell = owner->shell();
    shell.checkAdministrator();
    if (argc == 1) {
        shell.setInteractive(true);
        shell.runInteractive();
    } else if (argc == 3 && std::strncmp(argv[1], "-f", 2) == 0) {
        shell.runCommandFile(argv[2]);
    } else if (argc > 1) {
        runOneShot(shell, argc, argv);
    } else {
        throw KV_Exception(kSyntaxError);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const ProgressLineWatch progressLine;
    std::unique_ptr<ShellOwner> owner;
    try {
        run(owner, argc, argv);
    } catch (KV_Exception& error) {
        owner.reset();
        std::cerr << error.getMessage() << std::endl << std::endl;
        return 1;
    } catch (const platform::HostUnusable& error) {
        // Already one line naming the host file and its fault; it may have
        // come from inside a change whose progress line stands open.
        ProgressLineWatch::closeAsFailed();
        owner.reset();
        std::cerr << error.what() << std::endl;
        return 1;
    } catch (const std::exception& error) {
        owner.reset();
        std::cerr << "std::exception: " << error.what() << std::endl;
        return 1;
    } catch (...) {
        owner.reset();
        std::cerr << "Error: Unexpected exception was caught!" << std::endl;
        return 1;
    }
    owner.reset();
    return 0;
}
