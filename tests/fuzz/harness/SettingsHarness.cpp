// The settings encodings: text values of any content written into a tree, then read as the
// program reads them (integers, booleans, AppSettings, the MSN list), and written back.
#include <string>
#include <string_view>

#include "Harnesses.h"
#include "store/AppSettings.h"
#include "store/MemorySettingsStore.h"
#include "base/StringTable.h"

namespace telvor::fuzz {
namespace {

bool SameEntries(const std::vector<MsnEntry>& a, const std::vector<MsnEntry>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].number != b[i].number || a[i].name != b[i].name ||
            a[i].programm != b[i].programm || a[i].parameter != b[i].parameter ||
            a[i].dmail != b[i].dmail || a[i].flags != b[i].flags) {
            return false;
        }
    }
    return true;
}

}  // namespace

void Settings(Input data) {
    static const bool texts = (LoadStartupTexts(), true);
    (void)texts;
    MemorySettingsStore store;
    std::string_view rest(reinterpret_cast<const char*>(data.data()), data.size());
    while (!rest.empty()) {
        const std::size_t end = std::min(rest.find('\n'), rest.size());
        std::string_view line = rest.substr(0, end);
        rest.remove_prefix(std::min(end + 1, rest.size()));
        const std::size_t a = line.find('\x1F');
        const std::size_t b = a == std::string_view::npos ? a : line.find('\x1F', a + 1);
        if (b == std::string_view::npos) continue;
        const std::string_view section = line.substr(0, a);
        const std::string_view name = line.substr(a + 1, b - a - 1);
        const std::string_view value = line.substr(b + 1);
        store.WriteString(section, name, value);
        Check(store.ReadString(section, name, "-") == value, "value not read back");

        // A text that decodes as an integer decodes the same whatever the default; written
        // as an integer it reads back as that number, and as a boolean as "not zero".
        const long long one = store.ReadInteger(section, name, 1);
        const long long two = store.ReadInteger(section, name, 2);
        if (one == two) {
            store.WriteInteger("Scratch", "n", one);
            Check(store.ReadInteger("Scratch", "n", 3) == one, "integer round trip");
            Check(store.ReadBool(section, name, false) == (one != 0), "boolean of an integer");
        } else {
            Check(one == 1 && two == 2, "default of a non-number");
            Check(store.ReadBool(section, name, true) && !store.ReadBool(section, name, false),
                  "default of a non-boolean");
        }
    }

    const AppSettings settings = ReadAppSettings(store, "C:\\Programme\\Telvor\\Telvor.exe");
    MemorySettingsStore copy;
    WriteAppSettings(copy, settings);
    const AppSettings again = ReadAppSettings(copy, "C:\\Programme\\Telvor\\Telvor.exe");
    Check(again.closeCallerForms == settings.closeCallerForms &&
              again.closeTime == settings.closeTime &&
              again.closeAfterTime == settings.closeAfterTime &&
              again.closeAfterConnect == settings.closeAfterConnect &&
              again.alert == settings.alert && again.initAlways == settings.initAlways &&
              again.dmWhenMessage == settings.dmWhenMessage && again.dmPath == settings.dmPath &&
              again.dmReceiver == settings.dmReceiver && again.dmMessage == settings.dmMessage,
          "settings changed by a write");

    const std::vector<MsnEntry> msns = ReadMsnList(store);
    WriteMsnList(copy, msns);
    Check(SameEntries(ReadMsnList(copy), msns), "MSN list changed by a write");
    // Writing a list over a longer one leaves no entry of the longer one behind.
    if (!msns.empty()) {
        WriteMsnList(store, {msns.front()});
        Check(ReadMsnList(store).size() == 1, "stale MSN entries");
    }
}

}  // namespace telvor::fuzz
