#include "monitor/Protocol.h"

#include <cstdio>
#include <memory>

#include "store/AppSettings.h"
#include "store/SettingsStore.h"

namespace telvor {

std::string FormatProtocolLine(const ProtocolFields& f, std::string_view separator) {
    std::string sep(separator);
    sep += ' ';
    std::string line;
    line.append(f.date).append(sep).append(f.time).append(sep).append(f.name).append(sep);
    line.append(f.number).append(sep).append(f.service).append(sep).append(f.msn);
    line.append("\r\n");
    return line;
}

std::string ReadProtocolSeparator(SettingsStore& store) {
    return store.ReadString(kSettingsSection, "Separator", ",");
}

bool WriteProtocolLine(const std::string& path, std::string_view line) {
    if (path.empty()) return false;
    struct FileCloser {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    // Binary mode: the line already carries its CR LF.
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "ab"));
    if (!file) return false;
    const bool written = std::fwrite(line.data(), 1, line.size(), file.get()) == line.size();
    return std::fclose(file.release()) == 0 && written;
}

}  // namespace telvor
