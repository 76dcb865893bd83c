#include "capi/CapiMessage.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace telvor {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Struct(std::initializer_list<std::uint8_t> contents) {
    Bytes s{static_cast<std::uint8_t>(contents.size())};
    s.insert(s.end(), contents);
    return s;
}

Bytes TextStruct(std::uint8_t first, const std::string& digits) {
    Bytes s{static_cast<std::uint8_t>(digits.size() + 1), first};
    s.insert(s.end(), digits.begin(), digits.end());
    return s;
}

// A CONNECT_IND with the given structures (followed by the remaining parameters as empty
// structures, as a library sends them) and a correct total length.
Bytes ConnectInd(std::uint32_t plci, std::uint16_t cip, std::initializer_list<Bytes> structs,
                 std::uint16_t number = 7) {
    Bytes m{0,
            0,
            0x01,
            0x00,
            0x02,
            0x82,
            static_cast<std::uint8_t>(number & 0xFF),
            static_cast<std::uint8_t>(number >> 8)};
    for (int i = 0; i < 4; ++i) m.push_back(static_cast<std::uint8_t>(plci >> (8 * i)));
    m.push_back(static_cast<std::uint8_t>(cip & 0xFF));
    m.push_back(static_cast<std::uint8_t>(cip >> 8));
    for (const auto& s : structs) m.insert(m.end(), s.begin(), s.end());
    for (int i = 0; i < 5; ++i) m.push_back(0);  // BC, LLC, HLC, additional info, ...
    m[0] = static_cast<std::uint8_t>(m.size() & 0xFF);
    m[1] = static_cast<std::uint8_t>(m.size() >> 8);
    return m;
}

// Decodes from a heap block of exactly the bytes given, so that ASan reports any read
// beyond them.
ReceivedMessage DecodeExact(const Bytes& bytes) {
    auto block = std::make_unique<std::uint8_t[]>(bytes.size());
    std::copy(bytes.begin(), bytes.end(), block.get());
    return DecodeMessage({block.get(), bytes.size()});
}

TEST(CapiEncode, RequestsAndResponsesHaveTheirExactBytes) {
    EXPECT_EQ(EncodeListenReq(0x12345, 0, 1, true),
              (Bytes{26, 0, 0x45, 0x23, 0x05, 0x80, 0,    0, 1, 0, 0, 0, 0,
                     0,  0, 0,    0xFF, 0x03, 0xFF, 0x1F, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(EncodeListenReq(3, 0, 0x0102, false),
              (Bytes{26, 0, 3, 0, 0x05, 0x80, 0, 0, 2, 1, 0, 0, 0,
                     0,  0, 0, 0, 0,    0,    0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(EncodeAlertReq(1, 0, 0x00000201),
              (Bytes{16, 0, 1, 0, 0x01, 0x80, 0, 0, 0x01, 0x02, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(EncodeConnectResp(1, 0x1234, 0x201, 1),
              (Bytes{19, 0, 1, 0, 0x02, 0x83, 0x34, 0x12, 0x01, 0x02, 0, 0, 1, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(EncodeDisconnectReq(1, 0, -1),
              (Bytes{13, 0, 1, 0, 0x04, 0x80, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0}));
    EXPECT_EQ(EncodeDisconnectResp(2, 9, 0x7F000101),
              (Bytes{12, 0, 2, 0, 0x04, 0x83, 9, 0, 0x01, 0x01, 0x00, 0x7F}));
}

TEST(CapiDecode, ConnectIndGivesItsNumbersByTheStructureRules) {
    const Bytes called = TextStruct(0x81, "123");  // length 4: type octet, then digits
    const Bytes calling{6, 0x21, 0x83, '7', '1', '1', '9'};
    const auto msg = DecodeExact(ConnectInd(
        0x80000101, 17, {called, calling, TextStruct(0x80, "55"), TextStruct(0xA0, "66")}, 0x4321));
    ASSERT_EQ(msg.kind, ReceivedMessage::Kind::ConnectInd);
    EXPECT_EQ(msg.header.messageNumber, 0x4321);
    EXPECT_EQ(msg.connect.plci, static_cast<std::int32_t>(0x80000101));
    EXPECT_EQ(msg.connect.cipValue, 17);
    EXPECT_EQ(msg.connect.calledNumber, "123");
    EXPECT_EQ(msg.connect.callingNumber,
              "\x21\x83"
              "7119");  // both leading octets kept
    EXPECT_EQ(msg.connect.calledSubaddress, "55");
    EXPECT_EQ(msg.connect.callingSubaddress, "66");
}

TEST(CapiDecode, EmptyAndShortStructuresGiveEmptyValues) {
    auto msg = DecodeExact(ConnectInd(5, 0, {{0}, {0}, {0}, {0}}));
    ASSERT_EQ(msg.kind, ReceivedMessage::Kind::ConnectInd);
    EXPECT_EQ(msg.connect.plci, 5);
    EXPECT_EQ(msg.connect.cipValue, 0);
    EXPECT_EQ(msg.connect.calledNumber, "");
    EXPECT_EQ(msg.connect.callingNumber, "");
    EXPECT_EQ(msg.connect.calledSubaddress, "");
    EXPECT_EQ(msg.connect.callingSubaddress, "");

    // Only the type octet: nothing left of the value. A calling number of just its two
    // leading octets keeps them (the pipeline strips them later).
    msg = DecodeExact(ConnectInd(5, 1, {Struct({0x81}), Struct({0x01, 0x80}), {0}, {0}}));
    EXPECT_EQ(msg.connect.calledNumber, "");
    EXPECT_EQ(msg.connect.callingNumber, "\x01\x80");
}

TEST(CapiDecode, ZeroOctetEndsAValueButNotTheStructure) {
    // Presentation octet 0: the calling number keeps one character, its digits are lost; the
    // next structure still starts after the whole contents.
    const auto msg = DecodeExact(ConnectInd(1, 1,
                                            {TextStruct(0x81,
                                                        "12\0"
                                                        "34"),
                                             Struct({0x21, 0x00, '5', '6'}),
                                             TextStruct(0x80, "9"),
                                             {0}}));
    EXPECT_EQ(msg.connect.calledNumber, "12");
    EXPECT_EQ(msg.connect.callingNumber, "\x21");
    EXPECT_EQ(msg.connect.calledSubaddress, "9");
}

TEST(CapiDecode, EscapedLengthsAndTheValueRoom) {
    // 0xFF then a 16-bit length: 1200 octets of digits, cut at 1024 characters; the next
    // structure follows the whole contents.
    Bytes longCalled{0xFF, 0xB1, 0x04, 0x81};  // 0x04B1 = 1201
    longCalled.insert(longCalled.end(), 1200, '4');
    Bytes escapedCalling{0xFF, 0x04, 0x00, 0x01, 0x80, '7', '8'};
    const auto msg = DecodeExact(ConnectInd(1, 1, {longCalled, escapedCalling, {0}, {0}}));
    EXPECT_EQ(msg.connect.calledNumber, std::string(capi::kValueRoom, '4'));
    EXPECT_EQ(msg.connect.callingNumber,
              "\x01\x80"
              "78");
    EXPECT_EQ(msg.connect.calledSubaddress, "");
}

TEST(CapiDecode, LyingLengthsNeverReadPastTheMessage) {
    // A called number claiming 200 octets of a much shorter message: the digits that are
    // there are kept, the following structures are empty.
    Bytes m = ConnectInd(9, 1, {Struct({0x81, '1', '2'})});
    m[14] = 200;
    auto msg = DecodeExact(m);
    ASSERT_EQ(msg.kind, ReceivedMessage::Kind::ConnectInd);
    EXPECT_EQ(msg.connect.plci, 9);
    EXPECT_EQ(msg.connect.calledNumber, "12");
    EXPECT_EQ(msg.connect.callingNumber, "");

    // Escaped length whose 16-bit word is cut off by the end of the message.
    Bytes cut = ConnectInd(9, 1, {});
    cut.resize(14);
    cut.push_back(0xFF);
    cut.push_back(0x10);
    cut[0] = static_cast<std::uint8_t>(cut.size());
    msg = DecodeExact(cut);
    ASSERT_EQ(msg.kind, ReceivedMessage::Kind::ConnectInd);
    EXPECT_EQ(msg.connect.calledNumber, "");

    // An escaped length of 0xFFFF with contents of non-zero octets up to the end.
    Bytes huge = ConnectInd(9, 1, {});
    huge.resize(14);
    huge.insert(huge.end(), {0xFF, 0xFF, 0xFF, 0x81});
    huge.insert(huge.end(), 30, '3');
    huge[0] = static_cast<std::uint8_t>(huge.size());
    msg = DecodeExact(huge);
    EXPECT_EQ(msg.connect.calledNumber, std::string(30, '3'));
}

TEST(CapiDecode, StatedLengthBoundsTheMessageEitherWay) {
    // Stated length shorter than the buffer: octets behind it do not belong to the message.
    Bytes m = ConnectInd(1, 1, {TextStruct(0x81, "123"), TextStruct(0x01, "4567")});
    m[0] = 14 + 5 + 4;  // ends after "45" of the calling number's contents
    auto msg = DecodeExact(m);
    EXPECT_EQ(msg.connect.calledNumber, "123");
    EXPECT_EQ(msg.connect.callingNumber,
              "\x01"
              "45");

    // Stated length longer than the memory handed over: cut at the memory.
    Bytes shortBuffer = ConnectInd(1, 1, {TextStruct(0x81, "123")});
    shortBuffer[0] = 0xFF;
    shortBuffer[1] = 0x7F;
    msg = DecodeExact(shortBuffer);
    EXPECT_EQ(msg.connect.calledNumber, "123");
}

TEST(CapiDecode, MessagesTooShortForWhatTheMonitorReadsAreIgnored) {
    for (std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{7}, std::size_t{13}}) {
        Bytes m = ConnectInd(1, 1, {});
        m.resize(size);
        if (size >= 2) m[0] = static_cast<std::uint8_t>(size);
        EXPECT_EQ(DecodeExact(m).kind, ReceivedMessage::Kind::Ignored) << size;
    }
    // A stated length below the header also means nothing usable, however long the buffer.
    Bytes tiny = ConnectInd(1, 1, {});
    tiny[0] = 4;
    EXPECT_EQ(DecodeExact(tiny).kind, ReceivedMessage::Kind::Ignored);

    // LISTEN_CONF without its Info is ignored rather than read as success.
    EXPECT_EQ(DecodeExact({12, 0, 1, 0, 0x05, 0x81, 0, 0, 1, 0, 0, 0}).kind,
              ReceivedMessage::Kind::Ignored);
}

TEST(CapiDecode, ConfirmationsAndDisconnectIndications) {
    auto msg = DecodeExact({14, 0, 1, 0, 0x05, 0x81, 3, 0, 1, 0, 0, 0, 0x01, 0x20});
    EXPECT_EQ(msg.kind, ReceivedMessage::Kind::Confirmation);
    EXPECT_EQ(msg.info, 0x2001);
    msg = DecodeExact({14, 0, 1, 0, 0x01, 0x81, 3, 0, 1, 0, 0, 0, 0x00, 0x00});
    EXPECT_EQ(msg.kind, ReceivedMessage::Kind::Confirmation);
    EXPECT_EQ(msg.info, 0);

    msg = DecodeExact({14, 0, 1, 0, 0x04, 0x82, 0x22, 0x11, 0x01, 0x01, 0, 0, 0x90, 0x34});
    ASSERT_EQ(msg.kind, ReceivedMessage::Kind::DisconnectInd);
    EXPECT_EQ(msg.header.messageNumber, 0x1122);
    EXPECT_EQ(msg.disconnect.plci, 0x101);
    EXPECT_EQ(msg.disconnect.reason, 0x3490);

    // Cut before the Reason: still a clearing to answer, with Reason 0.
    msg = DecodeExact({12, 0, 1, 0, 0x04, 0x82, 0, 0, 0x01, 0x01, 0, 0});
    ASSERT_EQ(msg.kind, ReceivedMessage::Kind::DisconnectInd);
    EXPECT_EQ(msg.disconnect.reason, 0);
}

TEST(CapiDecode, OtherMessagesAreIgnored) {
    const std::vector<Bytes> others = {
        {14, 0, 1, 0, 0x02, 0x81, 0, 0, 1, 0, 0, 0, 0, 0},  // CONNECT_CONF
        {13, 0, 1, 0, 0x03, 0x82, 0, 0, 1, 0, 0, 0, 0},     // CONNECT_ACTIVE_IND
        {14, 0, 1, 0, 0x04, 0x81, 0, 0, 1, 0, 0, 0, 0, 0},  // DISCONNECT_CONF
        {14, 0, 1, 0, 0x08, 0x82, 0, 0, 1, 0, 0, 0, 0, 0},  // INFO_IND
        {14, 0, 1, 0, 0x77, 0x99, 0, 0, 1, 0, 0, 0, 0, 0},  // unknown command
        {26, 0, 1, 0, 0x05, 0x80, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    };
    for (const auto& m : others) {
        EXPECT_EQ(DecodeExact(m).kind, ReceivedMessage::Kind::Ignored) << int(m[4]);
    }
}

}  // namespace
}  // namespace telvor
