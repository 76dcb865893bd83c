#include "support/CallScenario.h"

#include <cmath>

#include "support/CaseFiles.h"
#include "support/CaseRegistry.h"

namespace telvor::e2e {

void SeedStandardLine(const MonitorCase& monitor) {
    SeedMsn(0, "4711", "Büro");
    SeedMsn(1, "4712");
    WriteCallerDatabase(monitor.File("CallerList.ddb"),
                        {{"0711 123456", "Hans Muster", false, "", ""},
                         {"030", "Anruf aus Berlin", false, "", ""}});
}

std::uint16_t CurrentApplId(MonitorCase& monitor) {
    const std::vector<capisim::Bytes> listens = monitor.Puts(capisim::kListen, capisim::kReq);
    return listens.empty() ? 0 : capisim::ApplId(listens.back());
}

std::optional<std::vector<std::string>> ProtocolLines(const MonitorCase& monitor) {
    const std::optional<std::string> bytes = ReadFileBytes(monitor.File("Telvor.log"));
    if (!bytes) return std::nullopt;
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes->size()) {
        const std::size_t end = bytes->find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back("<unterminated>" + bytes->substr(start));
            break;
        }
        lines.push_back(bytes->substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::optional<std::vector<CallRecord>> CallListRecords(const MonitorCase& monitor) {
    const std::string path = monitor.File("Calls.ddb");
    if (!FileExists(path)) return std::nullopt;
    return LoadCalls(path);
}

std::optional<std::string> LastCall() {
    return ReadSetting("Settings", "LastCall");
}

std::optional<DateAndTime> SplitDateTime(const std::string& timeLabel) {
    const std::size_t gap = timeLabel.find("  ");
    if (gap == std::string::npos || gap == 0) return std::nullopt;
    return DateAndTime{timeLabel.substr(0, gap), timeLabel.substr(gap + 2)};
}

int MinuteOfDay(double dayCount) {
    const double fraction = dayCount - std::floor(dayCount);
    return static_cast<int>(std::lround(fraction * 24 * 60 * 60)) / 60 % (24 * 60);
}

int MinuteOfDay(const std::string& hhmm) {
    if (hhmm.size() != 5 || hhmm[2] != ':') return -1;
    for (int i : {0, 1, 3, 4})
        if (hhmm[static_cast<std::size_t>(i)] < '0' || hhmm[static_cast<std::size_t>(i)] > '9')
            return -1;
    return ((hhmm[0] - '0') * 10 + (hhmm[1] - '0')) * 60 + (hhmm[3] - '0') * 10 + (hhmm[4] - '0');
}

}  // namespace telvor::e2e
