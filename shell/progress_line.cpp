#include "shell/progress_line.h"

#include <algorithm>
#include <iostream>
#include <streambuf>

// Passes every character on to std::cout's own buffer at once (it keeps
// none), noting the state of the line being written.
class ProgressLineWatch::Filter : public std::streambuf {
  public:
    explicit Filter(std::streambuf* out) : out_(out) {}

    std::streambuf* out() const { return out_; }
    void commandStarts() { unended_ = flushedUnended_ = false; }
    bool progressOpen() const { return flushedUnended_; }

  protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof()))
            return traits_type::not_eof(c);
        const char each = traits_type::to_char_type(c);
        note(&each, 1);
        return out_->sputc(each);
    }
    std::streamsize xsputn(const char* text, std::streamsize count) override {
        note(text, count);
        return out_->sputn(text, count);
    }
    int sync() override {
        // A line flushed before it is ended waits for a call's outcome.
        if (unended_)
            flushedUnended_ = true;
        return out_->pubsync();
    }

  private:
    void note(const char* text, std::streamsize count) {
        if (count <= 0)
            return;
        const char* end = text + count;
        const char* lastEnd =
            std::find(std::make_reverse_iterator(end), std::make_reverse_iterator(text), '\n')
                .base();
        if (lastEnd != text) {
            // A line end: the line written after it starts afresh.
            flushedUnended_ = false;
            unended_ = lastEnd != end;
        } else {
            unended_ = true;
        }
    }

    std::streambuf* out_;
    bool unended_ = false;         // the command wrote text after the last line end
    bool flushedUnended_ = false;  // and flushed it before ending the line
};

ProgressLineWatch::Filter* ProgressLineWatch::active_ = nullptr;

ProgressLineWatch::ProgressLineWatch() : filter_(std::make_unique<Filter>(std::cout.rdbuf())) {
    std::cout.rdbuf(filter_.get());
    active_ = filter_.get();
}

ProgressLineWatch::~ProgressLineWatch() {
    active_ = nullptr;
    std::cout.rdbuf(filter_->out());
}

void ProgressLineWatch::commandStarts() {
    if (active_ != nullptr)
        active_->commandStarts();
}

void ProgressLineWatch::closeAsFailed() {
    if (active_ != nullptr && active_->progressOpen())
        std::cout << "Failed." << std::endl;
}
