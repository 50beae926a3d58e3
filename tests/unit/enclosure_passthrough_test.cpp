// The SCSI pass-through as it reaches the driver (golden bytes of the
// command area and CDBs for SES and SAF-TE addressing), and the bounded
// reading of what an enclosure answers: a page of another code, a status
// page longer than the buffer, a declared length shorter than the
// elements, an overlong help text.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "api/api.h"
#include "api/driver.h"
#include "api/rhosk/enclosure_services.h"
#include "enclosure_emulated_test.h"

namespace enclosure_test::enclosure_passthrough_test {
namespace {

constexpr std::size_t kPacket = 28 + 128;  // the packet inside the request buffer

std::string Bytes(const integration::SentRequest& r, std::size_t at, std::size_t n) {
    std::string text;
    char byte[4];
    for (std::size_t i = 0; i < n; ++i) {
        std::snprintf(byte, sizeof byte, i == 0 ? "%02X" : " %02X", r.bytes[at + i]);
        text += byte;
    }
    return text;
}

class EnclosurePassThrough : public EnclosureTest {
  protected:
    // The pass-through requests sent so far, as the driver received them.
    std::vector<integration::SentRequest> PassThroughs() const {
        std::vector<integration::SentRequest> out;
        for (const integration::SentRequest& r : sent_) {
            if (r.size() > kPacket && (r.controlCode() & 0xF0000000u) == 0xF0000000u &&
                r.bytes[kPacket] == 0x10) {
                out.push_back(r);
            }
        }
        return out;
    }
};

TEST_F(EnclosurePassThrough, SafteCommandsGoToTarget64WithThePortInTheLunField) {
    StartHost([](json& state) { EnclosureOf(state, kSafte, 1)["port"] = 5; });
    const ObjectId fan = ElementId(EnclosureId(kSafte, 5), kKindFan, 1);
    sent_.clear();
    ASSERT_EQ(Api::SetFanSpeed(fan, 7), 0);
    const auto sent = PassThroughs();
    ASSERT_EQ(sent.size(), 2u);
    // READ BUFFER of the configuration: 64 bytes travel in one sector.
    const integration::SentRequest& read = sent[0];
    EXPECT_EQ(read.size(), 28u + 152 + 512);
    EXPECT_EQ(read.controlCode(), 0xF000E000u);
    EXPECT_EQ(read.timeout(), 60u);
    EXPECT_EQ(read.bytes[28 + 124], 0x80);
    EXPECT_EQ(Bytes(read, kPacket, 8), "10 40 00 50 00 10 00 00");
    EXPECT_EQ(Bytes(read, kPacket + 8, 16), "3C A1 00 00 00 00 00 00 40 00 00 00 00 00 00 00");
    // WRITE BUFFER 0x13 of fan 1 at the highest SAF-TE speed, 2048 bytes.
    const integration::SentRequest& write = sent[1];
    EXPECT_EQ(write.size(), 28u + 152 + 2048);
    EXPECT_EQ(Bytes(write, kPacket + 8, 10), "3B A1 00 00 00 00 00 08 00 00");
    EXPECT_EQ(Bytes(write, 28 + 152, 4), "13 01 04 00");
}

TEST_F(EnclosurePassThrough, SesCommandsGoToThePortTargetWithTheSubEnclosureLun) {
    StartHost([](json& state) {
        json& e3 = EnclosureOf(state, kSes, 3);
        e3 = {{"port", 3}, {"sub_enclosures", {{{"fans", 1}}, {{"fans", 1}}, {{"fans", 1}}}}};
    });
    sent_.clear();
    const ObjectId enclosure = EnclosureId(kSes, 3);
    std::vector<integration::SentRequest> inquiries;
    for (const integration::SentRequest& r : PassThroughs()) {
        if (r.bytes[kPacket + 1] == 0x43)
            inquiries.push_back(r);
    }
    ASSERT_FALSE(inquiries.empty());
    const integration::SentRequest& inquiry = inquiries[0];
    EXPECT_EQ(inquiry.size(), 28u + 152 + 2048);
    EXPECT_EQ(Bytes(inquiry, kPacket, 8), "10 43 00 00 00 10 00 00");
    EXPECT_EQ(Bytes(inquiry, kPacket + 8, 6), "12 00 00 00 FF 00");

    const ObjectId fan = ElementId(enclosure, kKindFan, 2);
    ASSERT_EQ(fan[ObjectId::kLevel2], 2);
    sent_.clear();
    ASSERT_EQ(Api::SetFanIdentify(fan, 1), 0);
    const auto sent = PassThroughs();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(Bytes(sent[0], kPacket, 8), "10 43 00 20 00 10 00 00");
    EXPECT_EQ(Bytes(sent[0], kPacket + 8, 6), "1C 41 02 08 00 00");
    // The control page goes back with its own length + 4: the LUN's page
    // holds the enclosure and one fan, each after its overall element
    // (8 + 4 x 4 bytes).
    EXPECT_EQ(Bytes(sent[1], kPacket + 8, 6), "1D 50 00 00 18 00");
    EXPECT_EQ(sent[1].bytes[28 + 152], 0x02);
}

TEST_F(EnclosurePassThrough, AReplyOfAnotherPageCodeIsRefusedAndKeptInTheBuffer) {
    StartHost([](json& state) { EnclosureOf(state, kSes, 3)["answer_page"] = {{"2", 3}}; });
    const ObjectId enclosure = EnclosureId(kSes, 3);
    enclosure::Page page;
    EXPECT_EQ(EnclosureServices::ReceiveDiagnostic(enclosure, 2, &page, enclosure::kPageSize), -1);
    EXPECT_EQ(LastApiCode(), enclosure::kApiWrongPageCode);
    EXPECT_EQ(page[0], 3);
    EXPECT_NE(page[2] | page[3], 0);  // the reply's length stayed
    uint8_t status = 0;
    EXPECT_EQ(Api::GetFanStatus(ElementId(enclosure, kKindFan, 0), &status), -1);
    EXPECT_EQ(LastApiCode(), enclosure::kApiWrongPageCode);
}

// An element is read only where the enclosure's reply holds it: never
// past the 2048 bytes read, nor past the length the page declares.
TEST_F(EnclosurePassThrough, ElementsOutsideTheReturnedPageDoNotExist) {
    struct Case {
        const char* name;
        json layout;
        json pageLength;
    };
    const json two7 = {{{"type", 7}, {"count", 255}}, {{"type", 7}, {"count", 255}}};
    json pastBuffer = two7;
    pastBuffer.push_back({{"type", "fans"}, {"count", 2}});
    const Case cases[] = {
        {"past the buffer", pastBuffer, nullptr},
        {"past the declared length", nullptr, {{"2", 12}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StartHost([&](json& state) {
            json& e3 = EnclosureOf(state, kSes, 3);
            if (!c.layout.is_null())
                e3["layout"] = c.layout;
            if (!c.pageLength.is_null())
                e3["page_length"] = c.pageLength;
        });
        const ObjectId fan = ElementId(EnclosureId(kSes, 3), kKindFan, 1);
        uint8_t status = 0xEE;
        EXPECT_EQ(Api::GetFanStatus(fan, &status), -1);
        EXPECT_EQ(LastApiCode(), enclosure::kApiElementMissing);
        EXPECT_EQ(status, 0xEE);
        EXPECT_EQ(Api::SetFanIdentify(fan, 1), -1);
        EXPECT_EQ(LastApiCode(), enclosure::kApiElementMissing);
    }
}

TEST_F(EnclosurePassThrough, AControlPageLongerThanTheBufferIsSentOnlyAsFarAsTheBuffer) {
    StartHost([](json& state) {
        json& e3 = EnclosureOf(state, kSes, 3);
        e3["layout"] = {{{"type", "fans"}, {"count", 2}},
                        {{"type", 7}, {"count", 255}},
                        {{"type", 7}, {"count", 255}}};
    });
    const ObjectId fan = ElementId(EnclosureId(kSes, 3), kKindFan, 0);
    uint8_t status = 0xEE;
    ASSERT_EQ(Api::GetFanStatus(fan, &status), 0);
    EXPECT_EQ(status, 0);
    sent_.clear();
    // The enclosure refuses a control page cut short of its own length.
    EXPECT_EQ(Api::SetFanIdentify(fan, 1), -1);
    ApiErrorRecord record;
    ASSERT_EQ(Api::GetLastErrorRecord(&record), 0);
    EXPECT_EQ(record.flags, kApiErrorRhoskController);
    EXPECT_EQ(record.controllerCode, 0x01D1u);
    const auto sent = PassThroughs();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[1].size(), 28u + 152 + 2048);
    EXPECT_EQ(Bytes(sent[1], kPacket + 8, 5), "1D 10 00 08 00");
}

TEST_F(EnclosurePassThrough, AConfigurationPageShorterThanItsHeadersCountsNoElements) {
    StartHost([](json& state) { EnclosureOf(state, kSes, 3)["page_length"] = {{"1", 44}}; });
    const ObjectId enclosure = EnclosureId(kSes, 3);
    const SubEnclosureDescriptor& d = TheEnclosureCache().entry(0, 3)->descriptors[0];
    EXPECT_GT(d.typeHeaderCount, 0u);
    for (uint8_t count : d.counts)
        EXPECT_EQ(count, 0);
    ObjectIdList16 fans;
    ASSERT_EQ(Api::GetFanIdList(enclosure, &fans), 0);
    EXPECT_EQ(fans.count, 0u);
}

TEST_F(EnclosurePassThrough, HelpTextIsCopiedWithinTheCallersBufferAndTheReply) {
    const std::string help300(300, 'h');
    const std::string help3000(3000, 'H');
    struct Case {
        const std::string* help;
        uint32_t buffer;
        int result;
        uint32_t length;
    };
    const Case cases[] = {
        {&help300, 300, 0, 300},
        {&help300, 256, -1, 300},
        // Longer than a page read can hold: what the reply holds.
        {&help3000, 4096, 0, enclosure::kPageSize - 4},
        {&help3000, 2000, -1, enclosure::kPageSize - 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.help->size()) + " in " + std::to_string(c.buffer));
        StartHost([&](json& state) { EnclosureOf(state, kSes, 3)["help"] = *c.help; });
        const ObjectId enclosure = EnclosureId(kSes, 3);
        std::vector<char> text(c.buffer + 16, '.');
        uint32_t length = c.buffer;
        EXPECT_EQ(Api::GetEnclosureHelpText(enclosure, text.data(), &length), c.result);
        EXPECT_EQ(length, c.length);
        if (c.result == 0) {
            EXPECT_EQ(std::string(text.data(), length), c.help->substr(0, length));
            EXPECT_EQ(text[length], '.');  // no terminator, nothing more
        } else {
            EXPECT_EQ(LastApiCode(), kApiBufferTooSmall);
            EXPECT_EQ(text[0], '.');
        }
    }
}

}  // namespace
}  // namespace enclosure_test::enclosure_passthrough_test
