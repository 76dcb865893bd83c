#include "CapiSimClient.h"

#include <windows.h>

#include <chrono>
#include <thread>

#include "OverlappedIo.h"
#include "base/win/Handles.h"

namespace capisim {

namespace {

using Clock = std::chrono::steady_clock;

DWORD RemainingMs(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() > 0 ? static_cast<DWORD>(left.count()) : 0;
}

std::string ErrorText(const char* what) {
    return std::string(what) + " (error " + std::to_string(GetLastError()) + ")";
}

std::string HexOrDash(const Bytes& b) {
    return b.empty() ? "-" : ToHex(b);
}

}  // namespace

Client::Client(std::string pipeName) : pipeName_(std::move(pipeName)) {}

bool Client::Request(const std::string& line, std::vector<std::string>& lines) {
    lines.clear();
    const auto deadline = Clock::now() + std::chrono::milliseconds(requestTimeoutMs_);
    telvor::KernelHandle pipe;
    // The server has one instance: it may not exist yet (DLL not loaded) or be busy with
    // another client; retry until the deadline.
    for (;;) {
        pipe = telvor::KernelHandle(CreateFileA(pipeName_.c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                                nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED,
                                                nullptr));
        if (pipe) break;
        const DWORD e = GetLastError();
        if (RemainingMs(deadline) == 0) {
            lastError_ = "cannot open " + pipeName_ + " (error " + std::to_string(e) + ")";
            return false;
        }
        if (e == ERROR_PIPE_BUSY) {
            WaitNamedPipeA(pipeName_.c_str(), std::min<DWORD>(RemainingMs(deadline), 100));
        } else {
            Sleep(std::min<DWORD>(RemainingMs(deadline), 20));
        }
    }
    const std::string request = line + "\n";
    std::size_t sent = 0;
    while (sent < request.size()) {
        const long n = OverlappedWrite(pipe.get(), request.data() + sent,
                                       static_cast<DWORD>(request.size() - sent),
                                       std::max<DWORD>(RemainingMs(deadline), 1));
        if (n <= 0) {
            lastError_ = ErrorText("writing the request failed");
            return false;
        }
        sent += static_cast<std::size_t>(n);
    }
    // Answer: "OK <n>" and n lines, or "ERR <reason>".
    std::string text;
    std::size_t expected = 0;
    bool haveHeader = false;
    char buf[8192];
    for (;;) {
        std::size_t pos = 0;
        std::vector<std::string> got;
        std::size_t nl;
        while ((nl = text.find('\n', pos)) != std::string::npos) {
            std::string l = text.substr(pos, nl - pos);
            if (!l.empty() && l.back() == '\r') l.pop_back();
            got.push_back(std::move(l));
            pos = nl + 1;
        }
        if (!got.empty() && !haveHeader) {
            const std::string& head = got.front();
            if (head.rfind("ERR", 0) == 0) {
                lastError_ = head.size() > 4 ? head.substr(4) : "request refused";
                return false;
            }
            if (head.rfind("OK", 0) != 0) {
                lastError_ = "unexpected answer: " + head;
                return false;
            }
            expected = head.size() > 3 ? std::strtoul(head.c_str() + 3, nullptr, 10) : 0;
            haveHeader = true;
        }
        if (haveHeader && got.size() >= expected + 1) {
            lines.assign(got.begin() + 1, got.begin() + 1 + static_cast<std::ptrdiff_t>(expected));
            lastError_.clear();
            return true;
        }
        const long n =
            OverlappedRead(pipe.get(), buf, sizeof buf, std::max<DWORD>(RemainingMs(deadline), 1));
        if (n <= 0) {
            lastError_ = ErrorText("reading the answer failed");
            return false;
        }
        text.append(buf, static_cast<std::size_t>(n));
    }
}

bool Client::Connect(unsigned timeout_ms) {
    const unsigned saved = requestTimeoutMs_;
    requestTimeoutMs_ = timeout_ms;
    std::vector<std::string> lines;
    const bool ok = Request("PING", lines);
    requestTimeoutMs_ = saved;
    return ok;
}

bool Client::OfferConnectInd(std::uint32_t plci, std::uint16_t cip, const Bytes& called,
                             const Bytes& calling, const Bytes& calledSub, const Bytes& callingSub,
                             std::uint16_t applId) {
    std::vector<std::string> lines;
    return Request("CONNECT_IND " + std::to_string(plci) + " " + std::to_string(cip) + " " +
                       HexOrDash(called) + " " + HexOrDash(calling) + " " + HexOrDash(calledSub) +
                       " " + HexOrDash(callingSub) + " " + std::to_string(applId),
                   lines);
}

bool Client::OfferDisconnectInd(std::uint32_t plci, std::uint16_t reason, std::uint16_t applId) {
    std::vector<std::string> lines;
    return Request("DISCONNECT_IND " + std::to_string(plci) + " " + std::to_string(reason) + " " +
                       std::to_string(applId),
                   lines);
}

bool Client::OfferRaw(const Bytes& bytes, std::uint16_t applId) {
    std::vector<std::string> lines;
    return Request("RAW " + HexOrDash(bytes) + " " + std::to_string(applId), lines);
}

bool Client::SetControllers(unsigned count) {
    std::vector<std::string> lines;
    return Request("CONTROLLERS " + std::to_string(count), lines);
}

std::vector<std::string> Client::Events() {
    std::vector<std::string> lines;
    Request("LOG", lines);
    return lines;
}

std::vector<Bytes> Client::PutLog() {
    std::vector<Bytes> puts;
    for (const std::string& line : Events()) {
        // "PUT <appl> <hex>[ REFUSED <code>]"
        if (line.rfind("PUT ", 0) != 0) continue;
        const std::size_t a = line.find(' ', 4);
        if (a == std::string::npos) continue;
        const std::size_t b = line.find(' ', a + 1);
        Bytes bytes;
        if (FromHex(std::string_view(line).substr(
                        a + 1, b == std::string::npos ? std::string::npos : b - a - 1),
                    bytes)) {
            puts.push_back(std::move(bytes));
        }
    }
    return puts;
}

bool Client::ClearLog() {
    std::vector<std::string> lines;
    return Request("CLEAR", lines);
}

bool Client::WaitForPut(const std::function<bool(const Bytes&)>& predicate, unsigned timeout_ms) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
    for (;;) {
        for (const Bytes& msg : PutLog()) {
            if (predicate(msg)) return true;
        }
        if (RemainingMs(deadline) == 0) {
            lastError_ = "no matching message within " + std::to_string(timeout_ms) + " ms";
            return false;
        }
        std::this_thread::sleep_for(
            std::chrono::milliseconds(std::min<DWORD>(RemainingMs(deadline), 25)));
    }
}

bool Client::WaitForPut(std::size_t count, unsigned timeout_ms) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
    for (;;) {
        if (PutLog().size() >= count) return true;
        if (RemainingMs(deadline) == 0) {
            lastError_ = "fewer than " + std::to_string(count) + " messages within " +
                         std::to_string(timeout_ms) + " ms";
            return false;
        }
        std::this_thread::sleep_for(
            std::chrono::milliseconds(std::min<DWORD>(RemainingMs(deadline), 25)));
    }
}

}  // namespace capisim
