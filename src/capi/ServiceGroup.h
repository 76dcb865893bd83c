#pragma once
// The service class of a call, from the CIP value of its CONNECT_IND. It names the service
// shown for a call and selects the per-MSN "Show"/"Record" flag that applies to it.
#include <cstdint>
#include <string>
#include <string_view>

namespace telvor {

enum class ServiceGroup { Audio, Data, Fax23, Fax4, Video, Else };

ServiceGroup ServiceGroupOf(std::uint16_t cipValue);

// The value name of the per-MSN flag: "Audio", "Data", "Fax23", "Fax4", "Video", "Else".
std::string_view ServiceFlagName(ServiceGroup group);

// String-table id of the service text, 20001..20007. CIP 0 has its own text (20001,
// "unbekannt") although it counts as Audio for the flags.
unsigned ServiceTextId(std::uint16_t cipValue);

// The service text itself, from the string table.
std::string ServiceText(std::uint16_t cipValue);

}  // namespace telvor
