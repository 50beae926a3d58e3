// The progress line a command leaves open on standard output while a
// library call runs: "Setting ... to [on] ... " is printed and flushed
// before the call, and "Done." or "Failed." ends it after. A failure that
// ends the run from inside the call (a host that can no longer be used)
// never comes back to the command that printed the line; the program ends
// the line for it, with "Failed." as a failed call does, before the
// failure's message goes to standard error.
//
// The watch sees every character written to std::cout through a filter of
// its own and notes whether the running command flushed a line it has not
// ended. What stood on the line before the command (the prompt, a question
// answered) is no progress line.
#pragma once

#include <memory>

class ProgressLineWatch {
  public:
    // Puts the filter in front of std::cout's buffer; there is one watch
    // at a time.
    ProgressLineWatch();
    // Takes the filter off again.
    ~ProgressLineWatch();
    ProgressLineWatch(const ProgressLineWatch&) = delete;
    ProgressLineWatch& operator=(const ProgressLineWatch&) = delete;

    // A command starts: the line as it stands is not the command's.
    static void commandStarts();
    // Ends the running command's progress line with "Failed." when it left
    // one open.
    static void closeAsFailed();

  private:
    class Filter;
    std::unique_ptr<Filter> filter_;
    static Filter* active_;
};
