// The command object of one audible alarm of an enclosure, /cN/eM/almK or
// /eM/almK: its status, state and audibility, muting and unmuting, and
// switching it off or on with one of four tones.
#pragma once

#include <cstdint>
#include <istream>
#include <string>

#include "devices/enclosure_element.h"

class Alarm : public EnclosureElement {
  public:
    Alarm(Enclosure* owner, const std::string& alarmName, uint32_t alarmNumber, ObjectId alarmId);
    ~Alarm() override;

    // "show", "set", "help" or "?"; CLI 124 without a word, 125 for another.
    int execute(std::istream& words) override;
    void show(std::istream& words);
    void set(std::istream& words);
    // One "alarm=" request: mute, unmute, off, or on with "tone=1" to 4.
    // Every word is checked before the library is asked.
    void setAlarm(std::istream& words, const std::string& attribute);

    // The alarm's table row, after the table's header when `withHeader`.
    void showRow(bool withHeader);

    // What getAttributeText reads.
    enum AttributeKind { kStatus = 0, kState = 1, kAudibility = 2 };
    // The status, state or audibility text; "-" for a failed read, an
    // unknown code or another kind.
    std::string getAttributeText(int kind);
};
