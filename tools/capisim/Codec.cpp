// The simulator's CAPI codec, shared by the simulator and its clients: structure and message
// builders, header accessors and hex text.
#include <cstdlib>

#include "CapiSimClient.h"

namespace capisim {

namespace {

// A CAPI structure: one length octet, or 0xFF and a 16-bit length for 255 octets and more.
Bytes MakeStruct(const Bytes& contents) {
    Bytes out;
    const std::size_t n = contents.size() > 0xFFFF ? 0xFFFF : contents.size();
    if (n < 0xFF) {
        out.push_back(static_cast<std::uint8_t>(n));
    } else {
        out.push_back(0xFF);
        out.push_back(static_cast<std::uint8_t>(n & 0xFF));
        out.push_back(static_cast<std::uint8_t>(n >> 8));
    }
    out.insert(out.end(), contents.begin(), contents.begin() + static_cast<std::ptrdiff_t>(n));
    return out;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string DefaultPipeName() {
    const char* env = std::getenv("CAPISIM_PIPE");
    return env != nullptr && *env != '\0' ? std::string(env) : std::string("\\\\.\\pipe\\capisim");
}

Bytes NumberStruct(std::uint8_t typeOctet, std::string_view digits) {
    Bytes contents{typeOctet};
    contents.insert(contents.end(), digits.begin(), digits.end());
    return MakeStruct(contents);
}

Bytes CallingNumberStruct(std::uint8_t typeOctet, std::uint8_t presentationOctet,
                          std::string_view digits) {
    Bytes contents{typeOctet, presentationOctet};
    contents.insert(contents.end(), digits.begin(), digits.end());
    return MakeStruct(contents);
}

Bytes EmptyStruct() {
    return Bytes{0};
}

void AppendWord(Bytes& b, std::uint16_t v) {
    b.push_back(static_cast<std::uint8_t>(v & 0xFF));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}

void AppendDword(Bytes& b, std::uint32_t v) {
    AppendWord(b, static_cast<std::uint16_t>(v & 0xFFFF));
    AppendWord(b, static_cast<std::uint16_t>(v >> 16));
}

Bytes Message(std::uint16_t applId, std::uint8_t command, std::uint8_t subcommand,
              std::uint16_t messageNumber, const Bytes& params) {
    const std::size_t total = 8 + params.size();
    if (total > 0xFFFF) return {};
    Bytes b;
    b.reserve(total);
    AppendWord(b, static_cast<std::uint16_t>(total));
    AppendWord(b, applId);
    b.push_back(command);
    b.push_back(subcommand);
    AppendWord(b, messageNumber);
    b.insert(b.end(), params.begin(), params.end());
    return b;
}

Bytes ConnectInd(std::uint16_t applId, std::uint16_t messageNumber, std::uint32_t plci,
                 std::uint16_t cip, const Bytes& called, const Bytes& calling,
                 const Bytes& calledSub, const Bytes& callingSub) {
    Bytes params;
    AppendDword(params, plci);
    AppendWord(params, cip);
    for (const Bytes* s : {&called, &calling, &calledSub, &callingSub})
        params.insert(params.end(), s->begin(), s->end());
    params.insert(params.end(), 5, 0);
    return Message(applId, kConnect, kInd, messageNumber, params);
}

Bytes DisconnectInd(std::uint16_t applId, std::uint16_t messageNumber, std::uint32_t plci,
                    std::uint16_t reason) {
    Bytes params;
    AppendDword(params, plci);
    AppendWord(params, reason);
    return Message(applId, kDisconnect, kInd, messageNumber, params);
}

std::uint16_t Word(const Bytes& msg, std::size_t offset) {
    if (offset + 2 > msg.size()) return 0;
    return static_cast<std::uint16_t>(msg[offset] | (msg[offset + 1] << 8));
}

std::uint32_t Dword(const Bytes& msg, std::size_t offset) {
    if (offset + 4 > msg.size()) return 0;
    return static_cast<std::uint32_t>(msg[offset]) |
           (static_cast<std::uint32_t>(msg[offset + 1]) << 8) |
           (static_cast<std::uint32_t>(msg[offset + 2]) << 16) |
           (static_cast<std::uint32_t>(msg[offset + 3]) << 24);
}

std::uint16_t TotalLength(const Bytes& msg) {
    return Word(msg, 0);
}
std::uint16_t ApplId(const Bytes& msg) {
    return Word(msg, 2);
}
std::uint8_t Command(const Bytes& msg) {
    return msg.size() > 4 ? msg[4] : 0;
}
std::uint8_t Subcommand(const Bytes& msg) {
    return msg.size() > 5 ? msg[5] : 0;
}
std::uint16_t MessageNumber(const Bytes& msg) {
    return Word(msg, 6);
}
std::uint32_t Plci(const Bytes& msg) {
    return Dword(msg, 8);
}

std::string ToHex(const Bytes& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (std::uint8_t b : bytes) {
        out.push_back(digits[b >> 4]);
        out.push_back(digits[b & 0x0F]);
    }
    return out;
}

bool FromHex(std::string_view text, Bytes& out) {
    out.clear();
    if (text.size() % 2 != 0) return false;
    out.reserve(text.size() / 2);
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const int hi = HexValue(text[i]);
        const int lo = HexValue(text[i + 1]);
        if (hi < 0 || lo < 0) {
            out.clear();
            return false;
        }
        out.push_back(static_cast<std::uint8_t>(hi * 16 + lo));
    }
    return true;
}

}  // namespace capisim
