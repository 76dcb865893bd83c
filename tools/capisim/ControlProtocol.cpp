#include "ControlProtocol.h"

#include <charconv>
#include <vector>

#include "Simulator.h"

namespace capisim {

namespace {

std::vector<std::string_view> Split(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
        std::size_t j = i;
        while (j < line.size() && line[j] != ' ' && line[j] != '\t' && line[j] != '\r') ++j;
        if (j > i) words.push_back(line.substr(i, j - i));
        i = j;
    }
    return words;
}

// Decimal, or hexadecimal after "0x"; the whole word must be a number not above max.
bool ParseNumber(std::string_view w, std::uint32_t max, std::uint32_t& out) {
    int base = 10;
    if (w.size() > 2 && w[0] == '0' && (w[1] == 'x' || w[1] == 'X')) {
        w.remove_prefix(2);
        base = 16;
    }
    if (w.empty()) return false;
    std::uint64_t v = 0;
    auto [end, ec] = std::from_chars(w.data(), w.data() + w.size(), v, base);
    if (ec != std::errc() || end != w.data() + w.size() || v > max) return false;
    out = static_cast<std::uint32_t>(v);
    return true;
}

// "-" stands for no octets at all (to leave a structure out); anything else is hex.
bool ParseBytes(std::string_view w, Bytes& out) {
    if (w == "-") {
        out.clear();
        return true;
    }
    return FromHex(w, out);
}

std::string Ok(const std::vector<std::string>& lines = {}) {
    std::string out = "OK " + std::to_string(lines.size()) + "\n";
    for (const auto& l : lines) out += l + "\n";
    return out;
}

std::string Err(const std::string& why) {
    return "ERR " + why + "\n";
}

bool OptionalAppl(const std::vector<std::string_view>& w, std::size_t at, std::uint16_t& appl) {
    appl = 0;
    if (w.size() <= at) return true;
    std::uint32_t v = 0;
    if (w.size() > at + 1 || !ParseNumber(w[at], 0xFFFF, v)) return false;
    appl = static_cast<std::uint16_t>(v);
    return true;
}

}  // namespace

std::string ExecuteRequest(Simulator& sim, std::string_view line) {
    const auto w = Split(line);
    if (w.empty()) return Err("empty request");
    const std::string_view verb = w[0];
    std::string error;
    std::uint16_t appl = 0;

    if (verb == "PING") return Ok();

    if (verb == "CONNECT_IND") {
        std::uint32_t plci = 0, cip = 0;
        Bytes s[4];
        if (w.size() < 7 || !ParseNumber(w[1], 0xFFFFFFFF, plci) ||
            !ParseNumber(w[2], 0xFFFF, cip) || !ParseBytes(w[3], s[0]) || !ParseBytes(w[4], s[1]) ||
            !ParseBytes(w[5], s[2]) || !ParseBytes(w[6], s[3]) || !OptionalAppl(w, 7, appl)) {
            return Err(
                "usage: CONNECT_IND <plci> <cip> <called> <calling> <calledsub> "
                "<callingsub> [<appl>]");
        }
        if (!sim.OfferConnectInd(plci, static_cast<std::uint16_t>(cip), s[0], s[1], s[2], s[3],
                                 appl, error)) {
            return Err(error);
        }
        return Ok();
    }

    if (verb == "DISCONNECT_IND") {
        std::uint32_t plci = 0, reason = 0;
        if (w.size() < 3 || !ParseNumber(w[1], 0xFFFFFFFF, plci) ||
            !ParseNumber(w[2], 0xFFFF, reason) || !OptionalAppl(w, 3, appl)) {
            return Err("usage: DISCONNECT_IND <plci> <reason> [<appl>]");
        }
        if (!sim.OfferDisconnectInd(plci, static_cast<std::uint16_t>(reason), appl, error)) {
            return Err(error);
        }
        return Ok();
    }

    if (verb == "RAW") {
        Bytes bytes;
        if (w.size() < 2 || !FromHex(w[1], bytes) || !OptionalAppl(w, 2, appl)) {
            return Err("usage: RAW <hex> [<appl>]");
        }
        if (!sim.OfferRaw(bytes, appl, error)) return Err(error);
        return Ok();
    }

    if (verb == "CONTROLLERS") {
        if (w.size() == 1) return Ok({std::to_string(sim.Controllers())});
        std::uint32_t n = 0;
        if (w.size() != 2 || !ParseNumber(w[1], kMaxControllers, n)) {
            return Err("usage: CONTROLLERS [<0.." + std::to_string(kMaxControllers) + ">]");
        }
        sim.SetControllers(n);
        return Ok();
    }

    if (verb == "LOG" && w.size() == 1) {
        std::vector<std::string> lines;
        for (const auto& e : sim.Log()) lines.push_back(FormatEvent(e));
        return Ok(lines);
    }

    if (verb == "CLEAR" && w.size() == 1) {
        sim.ClearLog();
        return Ok();
    }

    return Err("unknown request: " + std::string(verb));
}

}  // namespace capisim
