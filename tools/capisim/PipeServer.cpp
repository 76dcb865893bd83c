#include "PipeServer.h"

#include <memory>

#include "ControlProtocol.h"
#include "OverlappedIo.h"
#include "Simulator.h"
#include "base/win/Handles.h"

namespace capisim {

namespace {

constexpr DWORD kBufferSize = 65536;
constexpr DWORD kClientTimeoutMs = 5000;  // a client that stalls loses its turn

struct ServerArgs {
    Simulator* sim;
    std::string pipeName;
};

void LogLine(Simulator&, const std::string& text) {
    OutputDebugStringA(("capisim: " + text + "\n").c_str());
}

// Reads one request line; false when the client stalls, goes away or sends too much.
bool ReadRequest(HANDLE pipe, std::string& line) {
    line.clear();
    char buf[4096];
    for (;;) {
        const long n = OverlappedRead(pipe, buf, sizeof buf, kClientTimeoutMs);
        if (n <= 0) return false;
        for (long i = 0; i < n; ++i) {
            if (buf[i] == '\n') return true;
            line.push_back(buf[i]);
        }
        if (line.size() > kMaxRequestLine) return false;
    }
}

void Serve(Simulator& sim, HANDLE pipe) {
    std::string request;
    std::string answer;
    if (ReadRequest(pipe, request)) {
        answer = ExecuteRequest(sim, request);
    } else {
        answer = "ERR unreadable request\n";
    }
    std::size_t sent = 0;
    while (sent < answer.size()) {
        const DWORD chunk =
            static_cast<DWORD>(std::min<std::size_t>(answer.size() - sent, kBufferSize));
        const long n = OverlappedWrite(pipe, answer.data() + sent, chunk, kClientTimeoutMs);
        if (n <= 0) return;
        sent += static_cast<std::size_t>(n);
    }
    // Let the client read everything before the instance is disconnected: wait (bounded)
    // until it closes its end.
    char scratch[64];
    while (OverlappedRead(pipe, scratch, sizeof scratch, kClientTimeoutMs) > 0) {
    }
}

DWORD WINAPI ServerThread(LPVOID param) {
    std::unique_ptr<ServerArgs> args(static_cast<ServerArgs*>(param));
    telvor::KernelHandle pipe;
    // The first instance of the name belongs to this process; while another process holds
    // it (two programs loaded the simulator), keep trying.
    for (;;) {
        pipe = telvor::KernelHandle(CreateNamedPipeA(
            args->pipeName.c_str(),
            PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
            PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT, 1, kBufferSize, kBufferSize, 0,
            nullptr));
        if (pipe) break;
        LogLine(*args->sim, "control pipe " + args->pipeName + " busy, retrying");
        Sleep(1000);
    }
    telvor::KernelHandle ev(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!ev) return 1;
    for (;;) {
        OVERLAPPED ov{};
        ov.hEvent = ev.get();
        ResetEvent(ev.get());
        bool connected = ConnectNamedPipe(pipe.get(), &ov) != 0;
        if (!connected) {
            const DWORD e = GetLastError();
            if (e == ERROR_PIPE_CONNECTED) {
                connected = true;
            } else if (e == ERROR_IO_PENDING) {
                DWORD dummy = 0;
                connected = GetOverlappedResult(pipe.get(), &ov, &dummy, TRUE) != 0;
            }
        }
        if (connected) Serve(*args->sim, pipe.get());
        DisconnectNamedPipe(pipe.get());
        if (!connected) Sleep(50);  // never spin on a broken instance
    }
}

}  // namespace

bool StartPipeServer(Simulator& sim, std::string pipeName) {
    auto args = std::make_unique<ServerArgs>(ServerArgs{&sim, std::move(pipeName)});
    telvor::KernelHandle thread(CreateThread(nullptr, 0, ServerThread, args.get(), 0, nullptr));
    if (!thread) return false;
    args.release();  // the thread owns it now
    return true;
}

}  // namespace capisim
