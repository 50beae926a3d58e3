// Advanced event capture on a controller: the "capture=" and
// "capturemode=" settings, the capture views, and the copy of the captured
// segments into the capture file.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "api/api.h"
#include "base/kv_exception.h"
#include "base/shell_words.h"
#include "controllers/controller.h"

namespace {

constexpr int32_t kFirstNewerFamily = 4;
constexpr uint32_t kMinCaptureEvents = 1024;
constexpr uint32_t kMaxCaptureEvents = 1000000;
constexpr uint32_t kDefaultEventsValue = 1;  // what the library takes for 1024 events

// The text after the first "=" of a word.
std::string afterEquals(const std::string& word) {
    const std::string::size_type equals = word.find('=');
    return equals == std::string::npos ? std::string() : word.substr(equals + 1);
}

std::string hexText(const char* pattern, uint32_t value) {
    char text[96] = {};
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

[[noreturn]] void throwSystemError() {
    throw KV_Exception(std::string(std::strerror(errno)));
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

int Controller::setCapture(std::istream& words, const std::string& word) {
    const std::string value = afterEquals(word);
    if ((value == "start" || value == "stop") && shell_words::hasMoreWords(words))
        throwError(kInvalidCaptureCommand);
    if (family < kFirstNewerFamily)
        throwError(kInvalidControllerOperation);
    if (value != "disable" && value != "start" && value != "stop" && value != "enable" &&
        value != "debug") {
        throwError(kInvalidCaptureCommand);
    }
    if (value == "disable" || value == "start" || value == "stop")
        std::cout << "Setting event capture on /" << name << " to [" << value << "]" << std::flush;
    if (value == "disable")
        disableCapture();
    else if (value == "enable")
        enableCapture(words);
    else if (value == "start")
        startCapture();
    else if (value == "stop")
        stopCapture();
    else
        setCaptureDebug(words);
    return 0;
}

void Controller::disableCapture() {
    if (Api::DisableEventCapture(objectId) != 0)
        throwApiError();
    std::cout << " ... Done.\n";
}

void Controller::startCapture() {
    if (Api::StartEventCapture(objectId) != 0)
        throwApiError();
    std::cout << " ... Done.\n";
}

void Controller::stopCapture() {
    if (Api::StopEventCapture(objectId) != 0)
        throwApiError();
    std::cout << " ... Done.\n";
}

void Controller::enableCapture(std::istream& words) {
    int64_t events = kMinCaptureEvents;
    if (shell_words::hasMoreWords(words)) {
        const std::string word = shell_words::nextWord(words);
        if (word.find("numevents=") == std::string::npos)
            throwError(kInvalidCaptureSet);
        // Read wide: a count beyond the 32-bit range stays beyond the
        // accepted range instead of wrapping into it.
        events = shell_words::leadingNumber(afterEquals(word));
        if (shell_words::hasMoreWords(words))
            throwError(kInvalidCaptureSet);
    }
    if (events < kMinCaptureEvents || events > kMaxCaptureEvents)
        throwError(kInvalidCaptureEvents);
    const uint32_t sent =
        events == kMinCaptureEvents ? kDefaultEventsValue : static_cast<uint32_t>(events);
    if (Api::EnableEventCapture(objectId, sent) != 0)
        throwApiError();
    std::cout << "Setting event capture on /" << name;
    if (sent != kDefaultEventsValue)
        std::cout << " to [enable], #events to [" << events << "] ... Done.\n";
    else
        std::cout << " to [enable], #events=1024 ... Done.\n";
}

int Controller::setCaptureMode(std::istream& words, const std::string& word) {
    const std::string value = afterEquals(word);
    if (family < kFirstNewerFamily)
        throwError(kInvalidControllerOperation);
    if (shell_words::hasMoreWords(words))
        throwError(kInvalidSetArgument);
    uint32_t mode = 0;
    if (value == "full")
        mode = kCaptureUntilFull;
    else if (value == "stopped")
        mode = kCaptureUntilStopped;
    else
        throwError(kInvalidCaptureMode);
    std::cout << "Setting event capture mode on /" << name << " to [" << value << "] ..."
              << std::flush;
    if (Api::SetEventCaptureMode(objectId, mode) != 0)
        throwApiError();
    std::cout << " Done.\n";
    return 0;
}

void Controller::setCaptureDebug(std::istream& words) {
    const std::string word = shell_words::nextWord(words);
    struct MaskWord {
        const char* key;
        const char* progress;
        int (*set)(ObjectId, uint32_t);
    };
    static const MaskWord kMasks[] = {
        {"hostmask=", "Setting event capture host mask to [0x%8.8x] ...",
         Api::SetEventCaptureHostMask},
        {"intmask=", "Setting event capture internal mask to [0x%8.8x] ...",
         Api::SetEventCaptureInternalMask},
        {"intunmask=", "Setting event capture internal unmask to [0x%8.8x] ...",
         Api::SetEventCaptureInternalUnmask},
    };
    for (const MaskWord& each : kMasks) {
        if (word.find(each.key) == std::string::npos)
            continue;
        const uint32_t mask = parseHexMask(afterEquals(word));
        std::cout << hexText(each.progress, mask) << std::flush;
        if (each.set(objectId, mask) != 0)
            throwApiError();
        std::cout << " Done.\n";
        return;
    }
    throwError(kInvalidCaptureDebug);
}

uint32_t Controller::parseHexMask(const std::string& text) {
    const std::string::size_type equals = text.find('=');
    const std::string value = equals == std::string::npos ? text : text.substr(equals + 1);
    if (value.find_first_not_of("x0123456789abcedef") != std::string::npos)
        throwError(kSyntaxError);
    const bool hasX = value.find('x') != std::string::npos;
    if (value.size() > 10 || (value.size() > 8 && !hasX))
        throwError(kInvalidHexMask);
    return hexToInt(value.size(), value);
}

uint32_t Controller::hexToInt(std::size_t length, const std::string& text) {
    uint32_t value = 0;
    for (std::size_t i = 0; i < length && i < text.size(); ++i) {
        const char c = text[length - 1 - i];
        uint32_t digit = 0;
        if (c >= '0' && c <= '9')
            digit = static_cast<uint32_t>(c - '0');
        else if (c >= 'a' && c <= 'f')
            digit = static_cast<uint32_t>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            digit = static_cast<uint32_t>(c - 'A' + 10);
        value += digit * intPow(16, static_cast<uint32_t>(i));
    }
    return value;
}

uint32_t Controller::intPow(uint32_t base, uint32_t exponent) {
    uint32_t value = 1;
    for (uint32_t i = 0; i < exponent; ++i)
        value *= base;
    return value;
}

void Controller::showCapture() {
    if (family < kFirstNewerFamily)
        throwError(kInvalidControllerOperation);
    uint32_t state = 0, events = 0, control = 0, mode = 0;
    if (Api::GetEventCaptureState(objectId, &state, &events) != 0 ||
        Api::GetEventCaptureControl(objectId, &control) != 0 ||
        Api::GetEventCaptureMode(objectId, &mode) != 0) {
        throwApiError();
    }
    static const char* const kStates[] = {"Disabled\n", "Enabled\n"};
    static const char* const kControls[] = {"Stopped\n", "Started\n"};
    static const char* const kModes[] = {"undefined\n", "capture until full\n",
                                         "capture until stopped\n"};
    std::cout << "Advanced Event Capture settings:\n  State = " << (state < 2 ? kStates[state] : "")
              << "  Control = " << (control < 2 ? kControls[control] : "")
              << "  Mode = " << (mode < 3 ? kModes[mode] : "")
              << "  #events to capture = " << events << "\n";
}

void Controller::showCaptureDebug(std::istream& words) {
    if (family < kFirstNewerFamily)
        throwError(kInvalidControllerOperation);
    const std::string word = shell_words::nextWord(words);
    struct MaskView {
        const char* word;
        const char* pattern;
        int (*get)(ObjectId, uint32_t*);
    };
    static const MaskView kViews[] = {
        {"hostmask", "host mask = 0x%8.8x\n", Api::GetEventCaptureHostMask},
        {"intmask", "internal I/O mask = 0x%8.8x\n", Api::GetEventCaptureInternalMask},
        {"intunmask", "internal I/O unmask = 0x%8.8x\n", Api::GetEventCaptureInternalUnmask},
    };
    for (const MaskView& each : kViews) {
        if (word != each.word)
            continue;
        std::cout << "/" << name << " event capture " << std::flush;
        uint32_t mask = 0;
        if (each.get(objectId, &mask) != 0)
            throwApiError();
        std::cout << hexText(each.pattern, mask);
        return;
    }
    throwError(kInvalidShowArgument);
}

int Controller::saveCapture() {
    uint32_t size = 0;
    uint32_t count = 0;
    if (Api::GetEventCaptureSegmentInfo(objectId, &size, &count) != 0)
        throwApiError();
    if (count == 0)
        throw KV_Exception(std::string("No events have been captured"));
    std::vector<uint8_t> segment(size);
    const std::string fileName = "evtcapture_" + name + ".dat";
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(fileName.c_str(), "wb"));
    if (!file)
        throwSystemError();
    std::cout << "Saving event capture data to " << fileName << " ..." << std::flush;
    for (uint32_t index = 0; index < count; ++index) {
        if (Api::GetEventCaptureSegment(objectId, index, segment.data(), size) != 0)
            throwApiError();
        if (size != 0 && std::fwrite(segment.data(), 1, size, file.get()) != size)
            throwSystemError();
    }
    std::cout << " Done (" << count << " segment(s)).\n" << std::endl;
    if (std::fflush(file.get()) != 0)
        throwSystemError();
    return 0;
}
