#include "netdde/win/NetworkDistribution.h"

#include <shellapi.h>

#include "netdde/NetDdeNames.h"

namespace telvor {

NetworkDistribution::NetworkDistribution(const std::string& exePath, std::function<bool()> enabled)
    : clients_(std::move(enabled), clock_),
      server_(ServerServiceName(exePath),
              [this](std::string_view text) { clients_.RegisterPokeData(text); }),
      timer_(kNddeTimerIntervalMs, [this] { clients_.NDDETimerTimer(); }) {}

void NetworkDistribution::ForwardToClients(const ForwardPayloadLines& lines) {
    clients_.ForwardCall(lines, connector_);
}

void StartNetDdeAgent() {
    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_FLAG_NO_UI;  // a missing agent must not raise an error box
    info.lpVerb = "open";
    info.lpFile = "netdde";
    info.lpDirectory = "";
    info.nShow = SW_HIDE;
    ShellExecuteExA(&info);
}

}  // namespace telvor
