// Capi2032.dll of the line simulator: the six CAPI 2.0 entry points over one Simulator,
// plus the control pipe, started when the DLL is loaded.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "PipeServer.h"
#include "Simulator.h"

namespace {

std::string EnvVar(const char* name) {
    char buf[MAX_PATH * 2];
    const DWORD n = GetEnvironmentVariableA(name, buf, sizeof buf);
    return n > 0 && n < sizeof buf ? std::string(buf, n) : std::string();
}

// CAPISIM_CONTROLLERS: a decimal count 0..127; anything else keeps the default of 1.
unsigned ControllersFromEnv() {
    const std::string v = EnvVar("CAPISIM_CONTROLLERS");
    if (v.empty() || v.size() > 3 || v.find_first_not_of("0123456789") != std::string::npos) {
        return 1;
    }
    const unsigned n = static_cast<unsigned>(std::atoi(v.c_str()));
    return n <= capisim::kMaxControllers ? n : 1;
}

capisim::Simulator& Sim() {
    static capisim::Simulator sim(ControllersFromEnv());
    return sim;
}

void StartOnce() {
    capisim::Simulator& sim = Sim();
    const std::string logPath = EnvVar("CAPISIM_LOG");
    if (!logPath.empty()) {
        // Opened per line so that a reader sees every event at once and nothing stays open.
        sim.SetSink([logPath](const std::string& line) {
            if (FILE* f = std::fopen(logPath.c_str(), "ab")) {
                std::fputs(line.c_str(), f);
                std::fputs("\r\n", f);
                std::fclose(f);
            }
        });
    }
    std::string pipe = EnvVar("CAPISIM_PIPE");
    if (pipe.empty()) pipe = capisim::DefaultPipeName();
    capisim::StartPipeServer(sim, pipe);
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(instance);
        // The server thread and a blocked WAIT_FOR_SIGNAL run code of this DLL; stay
        // mapped until the process ends rather than unload under them.
        HMODULE self = nullptr;
        GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                           reinterpret_cast<LPCSTR>(&DllMain), &self);
        StartOnce();
    }
    return TRUE;
}

DWORD WINAPI CAPI_REGISTER(DWORD /*msgBufSize*/, DWORD /*maxLogicalConnections*/,
                           DWORD /*maxBDataBlocks*/, DWORD /*maxBDataLen*/, DWORD* pApplID) {
    std::uint32_t id = 0;
    const DWORD r = Sim().Register(pApplID ? &id : nullptr);
    if (r == 0) *pApplID = id;
    return r;
}

DWORD WINAPI CAPI_RELEASE(DWORD ApplID) {
    return Sim().Release(ApplID);
}

DWORD WINAPI CAPI_PUT_MESSAGE(DWORD ApplID, LPVOID pMessage) {
    return Sim().PutMessage(ApplID, static_cast<const std::uint8_t*>(pMessage));
}

DWORD WINAPI CAPI_GET_MESSAGE(DWORD ApplID, LPVOID* ppMessage) {
    if (ppMessage == nullptr) return capisim::err::kIllegalMessage;
    const std::uint8_t* msg = nullptr;
    const DWORD r = Sim().FetchMessage(ApplID, &msg);
    if (r == 0) *ppMessage = const_cast<std::uint8_t*>(msg);
    return r;
}

DWORD WINAPI CAPI_WAIT_FOR_SIGNAL(DWORD ApplID) {
    return Sim().WaitForSignal(ApplID);
}

DWORD WINAPI CAPI_GET_PROFILE(LPVOID pBuffer, DWORD controllerNumber) {
    return Sim().GetProfile(static_cast<std::uint8_t*>(pBuffer), controllerNumber);
}

}  // extern "C"
