#pragma once
// The network DDE share of the monitor's own topic, "TELVS$": the record the network DDE
// agent reads below HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\NetDDE\DDE Shares\TELVS$. Clients
// find the monitor through it and poke their registrations to its item "Register".
#include <string>
#include <vector>

#include "netdde/RegAppPath.h"

namespace telvor {

// The share's key as the registry component addresses it.
RegAppLocation NetDdeShareLocation();

enum class ShareValueType { Text, Binary };  // REG_SZ, REG_BINARY

struct ShareValue {
    std::string name;
    ShareValueType type = ShareValueType::Text;
    std::string text;                  // Text
    std::vector<unsigned char> bytes;  // Binary
};

// The values in the order they are written: the application (the program file's name, which
// is the DDE service), all items, no passwords, the topic (the main window's title), and the
// permissions: request, advise, poke, execute and start-application access.
std::vector<ShareValue> NetDdeShareRecord();

}  // namespace telvor
