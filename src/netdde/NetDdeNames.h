#pragma once
// The DDE names of network distribution: the monitor's own service, topic and registration
// item, and the share every client machine offers for forwarded calls.
#include <cstddef>
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

// The longest computer name network DDE can address: a NetBIOS name has 15 characters (its
// 16th byte is the service suffix).
inline constexpr std::size_t kMaxComputerName = 15;

// True for a network machine path with trailing backslash, the form a client registers with
// ("\\PC2\"): two backslashes, a computer name, one backslash. The name has 1 to 15
// characters of the NetBIOS set: letters (the accented ones of the ANSI code page included),
// digits and - _ . $ ! # % & ' ( ) @ ^ { } ~, and does not begin with a period. No blank,
// quote, slash, colon or backslash, so it can never carry a path or a second word.
bool IsMachinePath(std::string_view clientId);

}  // namespace telvor
