#include "netdde/ShareRecord.h"

namespace telvor {
namespace {

ShareValue Text(const char* name, const char* text) {
    return {name, ShareValueType::Text, text, {}};
}
ShareValue Binary(const char* name, std::vector<unsigned char> bytes) {
    return {name, ShareValueType::Binary, {}, std::move(bytes)};
}

}  // namespace

RegAppLocation NetDdeShareLocation() {
    RegAppLocation location;
    location.root = RegRoot::rhMachine;
    location.company = "Microsoft\\NetDDE";
    location.applicationName = "DDE Shares";
    location.version = "TELVS$";
    return location;
}

std::vector<ShareValue> NetDdeShareRecord() {
    return {Text("Application", "Telvor"),
            Text("Item", ""),
            Text("Password1", ""),
            Text("Password2", ""),
            Text("Topic", "TelvorServer"),
            Binary("Permissions2", {0, 0, 0, 0}),
            Binary("Additional item count", {0, 0, 0, 0}),
            Binary("Permissions1", {0x1F, 0, 0, 0})};
}

}  // namespace telvor
