#include "capi/CapiMessage.h"

#include <algorithm>

namespace telvor {

namespace {

void PutWord(CapiBytes& m, std::size_t offset, std::uint16_t v) {
    m[offset] = static_cast<std::uint8_t>(v & 0xFF);
    m[offset + 1] = static_cast<std::uint8_t>(v >> 8);
}

void PutDword(CapiBytes& m, std::size_t offset, std::uint32_t v) {
    PutWord(m, offset, static_cast<std::uint16_t>(v & 0xFFFF));
    PutWord(m, offset + 2, static_cast<std::uint16_t>(v >> 16));
}

// A zero-filled message of `length` bytes with its header; parameters default to 0, which
// is also the encoding of every empty structure the monitor sends.
CapiBytes NewMessage(std::uint16_t length, std::uint32_t applId, std::uint8_t command,
                     std::uint8_t subcommand, std::uint16_t messageNumber) {
    CapiBytes m(length, 0);
    PutWord(m, 0, length);
    PutWord(m, 2, static_cast<std::uint16_t>(applId & 0xFFFF));
    m[4] = command;
    m[5] = subcommand;
    PutWord(m, 6, messageNumber);
    return m;
}

std::uint16_t Word(std::span<const std::uint8_t> m, std::size_t offset) {
    return static_cast<std::uint16_t>(m[offset] | (m[offset + 1] << 8));
}

std::uint32_t Dword(std::span<const std::uint8_t> m, std::size_t offset) {
    return Word(m, offset) | (static_cast<std::uint32_t>(Word(m, offset + 2)) << 16);
}

// Reads the structures of a message one after the other, never past its end.
class StructReader {
  public:
    StructReader(std::span<const std::uint8_t> message, std::size_t offset)
        : message_(message), pos_(std::min(offset, message.size())) {}

    // The contents of the next structure, cut at the message's end.
    std::span<const std::uint8_t> Next() {
        const std::size_t end = message_.size();
        if (pos_ >= end) return {};
        std::size_t length = message_[pos_++];
        if (length == 0xFF) {
            if (end - pos_ < 2) {  // escaped length cut off: nothing follows anyway
                pos_ = end;
                return {};
            }
            length = Word(message_, pos_);
            pos_ += 2;
        }
        const std::size_t take = std::min(length, end - pos_);
        auto contents = message_.subspan(pos_, take);
        pos_ += take;
        return contents;
    }

  private:
    std::span<const std::uint8_t> message_;
    std::size_t pos_;
};

std::string Value(std::span<const std::uint8_t> contents, std::size_t skip) {
    std::string value;
    for (std::size_t i = skip; i < contents.size() && value.size() < capi::kValueRoom; ++i) {
        if (contents[i] == 0) break;
        value.push_back(static_cast<char>(contents[i]));
    }
    return value;
}

}  // namespace

CapiBytes EncodeListenReq(std::uint32_t applId, std::uint16_t messageNumber,
                          std::uint16_t controller, bool allServices) {
    CapiBytes m = NewMessage(26, applId, capi::kListen, capi::kReq, messageNumber);
    PutDword(m, 8, controller);
    PutDword(m, 12, 0);  // Info mask: no INFO_IND of any kind
    PutDword(m, 16, allServices ? capi::kCipMaskAllServices : 0);
    PutDword(m, 20, 0);  // CIP mask 2
    // 24, 25: empty calling party number and subaddress
    return m;
}

CapiBytes EncodeAlertReq(std::uint32_t applId, std::uint16_t messageNumber, std::int32_t plci) {
    // 16 bytes: the empty Additional info is followed by three zero bytes.
    CapiBytes m = NewMessage(16, applId, capi::kAlert, capi::kReq, messageNumber);
    PutDword(m, 8, static_cast<std::uint32_t>(plci));
    return m;
}

CapiBytes EncodeConnectResp(std::uint32_t applId, std::uint16_t messageNumber, std::int32_t plci,
                            std::uint16_t reject) {
    // Five empty structures follow Reject: B protocol, connected number, connected
    // subaddress, LLC, additional info.
    CapiBytes m = NewMessage(19, applId, capi::kConnect, capi::kResp, messageNumber);
    PutDword(m, 8, static_cast<std::uint32_t>(plci));
    PutWord(m, 12, reject);
    return m;
}

CapiBytes EncodeDisconnectReq(std::uint32_t applId, std::uint16_t messageNumber,
                              std::int32_t plci) {
    CapiBytes m = NewMessage(13, applId, capi::kDisconnect, capi::kReq, messageNumber);
    PutDword(m, 8, static_cast<std::uint32_t>(plci));
    return m;
}

CapiBytes EncodeDisconnectResp(std::uint32_t applId, std::uint16_t messageNumber,
                               std::int32_t plci) {
    CapiBytes m = NewMessage(12, applId, capi::kDisconnect, capi::kResp, messageNumber);
    PutDword(m, 8, static_cast<std::uint32_t>(plci));
    return m;
}

std::uint16_t StatedLength(std::span<const std::uint8_t> buffer) {
    return buffer.size() < 2 ? 0 : Word(buffer, 0);
}

ReceivedMessage DecodeMessage(std::span<const std::uint8_t> buffer) {
    ReceivedMessage result;
    const auto m = buffer.first(std::min<std::size_t>(buffer.size(), StatedLength(buffer)));
    if (m.size() < capi::kHeaderLength) return result;

    result.header.totalLength = Word(m, 0);
    result.header.applId = Word(m, 2);
    result.header.command = m[4];
    result.header.subcommand = m[5];
    result.header.messageNumber = Word(m, 6);
    const auto command = result.header.command;
    const auto sub = result.header.subcommand;

    if (sub == capi::kConf && (command == capi::kAlert || command == capi::kListen)) {
        if (m.size() < 14) return result;
        result.kind = ReceivedMessage::Kind::Confirmation;
        result.info = Word(m, 12);
    } else if (command == capi::kConnect && sub == capi::kInd) {
        if (m.size() < 14) return result;
        result.kind = ReceivedMessage::Kind::ConnectInd;
        auto& c = result.connect;
        c.plci = static_cast<std::int32_t>(Dword(m, 8));
        c.cipValue = Word(m, 12);
        StructReader reader(m, 14);
        c.calledNumber = Value(reader.Next(), 1);
        c.callingNumber = Value(reader.Next(), 0);
        c.calledSubaddress = Value(reader.Next(), 1);
        c.callingSubaddress = Value(reader.Next(), 1);
    } else if (command == capi::kDisconnect && sub == capi::kInd) {
        if (m.size() < 12) return result;
        result.kind = ReceivedMessage::Kind::DisconnectInd;
        result.disconnect.plci = static_cast<std::int32_t>(Dword(m, 8));
        result.disconnect.reason = m.size() >= 14 ? Word(m, 12) : 0;
    }
    return result;
}

}  // namespace telvor
