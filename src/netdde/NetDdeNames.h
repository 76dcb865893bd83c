#pragma once
// The DDE names of network distribution: the monitor's own service, topic and registration
// item, and the share every client machine offers for forwarded calls.
#include <string>
#include <string_view>

namespace telvor {

// The monitor as a server: topic = its main window's title, item "Register" takes pokes.
inline constexpr char kServerTopic[] = "TelvorServer";
inline constexpr char kRegisterItem[] = "Register";
// A client machine: service <id>NDDE$ ("\\PC2\NDDE$"), share TELVC$, item "Call".
inline constexpr char kClientServiceSuffix[] = "NDDE$";
inline constexpr char kClientTopic[] = "TELVC$";
inline constexpr char kCallItem[] = "Call";

// The server's service name: the program file's name without folder and extension
// ("C:\Programme\Telvor\Telvor.exe" -> "Telvor").
std::string ServerServiceName(std::string_view exePath);

// The service of a client's share: its id followed by "NDDE$".
std::string ClientServiceName(std::string_view clientId);

// True for a network machine path with trailing backslash: two backslashes, a computer name
// of letters, digits and - _ . $ ! # % & ' ( ) @ ^ { } ~ (at most 63 of them), one backslash.
bool IsMachinePath(std::string_view clientId);

}  // namespace telvor
