#include "devices/temp_sensor.h"

#include <cstdio>
#include <iostream>
#include <string>

#include "api/api.h"
#include "base/help.h"
#include "base/shell_services.h"
#include "devices/enclosure.h"

namespace {

using element_texts::CodeText;
using element_texts::textOfCode;

// The sensor commands' help topic.
constexpr element_help::ByProtocol<element_help::Topic> kHelp{
    &Help::showControllerEnclosureTempSensorHelp, &Help::showEnclosureTempSensorHelp};

constexpr uint8_t kNotInstalled = 2;
constexpr int32_t kNoTemperature = -1;

constexpr CodeText kStatusTexts[] = {
    {0, "OK"},
    {1, "CRITICAL"},
    {kNotInstalled, "NOT-INSTALLED"},
    {128, "UNKNOWN"},
};

// Threshold flags in the order they are tested: a later set flag replaces
// the word of an earlier one.
constexpr CodeText kThresholdTexts[] = {
    {0x08, "OVER-FAILURE"},
    {0x04, "OVER-WARNING"},
    {0x02, "UNDER-FAILURE"},
    {0x01, "UNDER-WARNING"},
};

}  // namespace

TempSensor::TempSensor(Enclosure* owner, const std::string& sensorName, uint32_t sensorNumber,
                       ObjectId sensorId)
    : EnclosureElement(owner, sensorName, sensorNumber, sensorId) {}

TempSensor::~TempSensor() = default;

int TempSensor::execute(std::istream& words) {
    return runShowSet(*this, words, kInvalidTempSensorCommandSyntax, kNoSuchTempSensor,
                      helpFor(kHelp));
}

void TempSensor::show(std::istream& words) {
    runShow(
        *this, words, AfterHelp::End, [this] { showHelp(helpFor(kHelp), "show"); },
        inSesEnclosure(), kInvalidTempSensorCommandSyntax);
}

void TempSensor::set(std::istream& words) {
    requireWord(words, kInvalidTempSensorCommandSyntax);
    const bool ses = inSesEnclosure();
    // Outside SES enclosures the help topic has no "set" and refuses it.
    runWords(
        words, AfterHelp::End, [this] { showHelp(helpFor(kHelp), "set"); },
        [this, ses](const std::string& word) {
            if (!ses)
                throwError(kInvalidTempSensorCommandSyntax);
            setIdentifyWord(*this, word, kInvalidTempSensorCommandSyntax);
        });
}

void TempSensor::setIdentify(const std::string& value) {
    if (changeIdentify(value, kInvalidTempSensorCommandSyntax, "Temp Sensor",
                       "Temp Sensor Identify is not supported.\n\n",
                       Api::SetTempSensorIdentify) == IdentifyChange::Refused)
        throwApiError();
}

int32_t TempSensor::getTemperature() {
    int32_t celsius = 0;
    if (Api::GetTemperature(id, &celsius) != 0)
        return kNoTemperature;
    return celsius;
}

std::string TempSensor::getStatusText() {
    uint8_t status = 0;
    if (Api::GetTempSensorStatus(id, &status) != 0)
        throwApiError();
    std::string text = textOfCode(kStatusTexts, status, "-");
    if (inSafteEnclosure() || status == kNotInstalled)
        return text;
    uint8_t flags = 0;
    if (Api::GetTempSensorThresholdFlags(id, &flags) != 0)
        throwApiError();
    for (const CodeText& threshold : kThresholdTexts) {
        if ((flags & threshold.code) != 0)
            text = threshold.text;
    }
    return text;
}

std::string TempSensor::getIdentifyText() {
    return readIdentifyText(Api::GetTempSensorIdentify).value_or("-");
}

void TempSensor::showRow(bool withHeader) {
    const int32_t celsius = getTemperature();
    // Computed wide so that no reading can overflow; the division
    // truncates toward zero as the 32-bit form does.
    const long long fahrenheit = static_cast<long long>(celsius) * 9 / 5 + 32;
    const std::string status = getStatusText();
    const std::string identify = getIdentifyText();
    std::string temperature = "-";
    if (status != "NOT-INSTALLED" && celsius != kNoTemperature) {
        char text[48];
        std::snprintf(text, sizeof text, "%dC(%lldF)", celsius, fahrenheit);
        temperature = text;
    }
    if (inSesEnclosure()) {
        if (withHeader) {
            std::cout << "\n"
                      << "TempSensor    Status         Temperature     Identify \n"
                      << std::string(56, '-') << "\n";
        }
        // The status cell is read anew.
        std::cout << ShellServices::padText(name, 14) << ShellServices::padText(getStatusText(), 15)
                  << ShellServices::padText(temperature, 16) << ShellServices::padText(identify, 16)
                  << "\n";
    } else {
        if (withHeader) {
            std::cout << "\n"
                      << "TempSensor       Temperature \n"
                      << std::string(30, '-') << "\n";
        }
        std::cout << ShellServices::padText(name, 17) << ShellServices::padText(temperature, 11)
                  << "\n";
    }
}
