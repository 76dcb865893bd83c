// The simulator's control pipe inside the DLL: one thread, one pipe instance, one request
// per connection.
#pragma once

#include <string>

namespace capisim {

class Simulator;

// Starts the server thread and returns at once; it is safe to call from DllMain because
// nothing waits for the thread. The thread lives as long as the process.
bool StartPipeServer(Simulator& sim, std::string pipeName);

}  // namespace capisim
