#pragma once
// The one access path to the settings tree (HKCU\Software\Orbek\Telvor on Windows).
// Every value is text; integers and booleans are encodings on top of text. A missing
// section or value is never an error: the reader gets its default.
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace telvor {

// Raised by a store for the four store failures (61626-61629, text from the string table).
// Callers do not catch it; the program's top-level handler shows it in an error box.
class StoreError : public std::runtime_error {
public:
    StoreError(unsigned id, const std::string& message) : std::runtime_error(message), id_(id) {}
    unsigned Id() const { return id_; }

private:
    unsigned id_;
};

// Implementations: RegistrySettingsStore (store/win), MemorySettingsStore (tests, no platform).
// A section is a path relative to the root with '\' as separator ("MSNs\00000003\Show").
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    virtual std::string ReadString(std::string_view section, std::string_view name,
                                   std::string_view def) = 0;
    virtual void WriteString(std::string_view section, std::string_view name,
                             std::string_view text) = 0;
    // Value names of the section (not its subsections), in the store's enumeration order.
    virtual std::vector<std::string> ReadSection(std::string_view section) = 0;
    // Names of the direct subsections, in enumeration order.
    virtual std::vector<std::string> ReadSubsections(std::string_view section) = 0;
    virtual bool SectionExists(std::string_view section) = 0;
    virtual bool ValueExists(std::string_view section, std::string_view name) = 0;
    // Deletes the section with all it holds; nothing happens when it is missing.
    virtual void EraseSection(std::string_view section) = 0;
    virtual void DeleteValue(std::string_view section, std::string_view name) = 0;

    // Encodings on top of text: decimal, "0x…"/"0X…" or "$…" hexadecimal; booleans as
    // integers with default 1/0, any non-zero integer is true.
    long long ReadInteger(std::string_view section, std::string_view name, long long def);
    bool ReadBool(std::string_view section, std::string_view name, bool def);
    void WriteInteger(std::string_view section, std::string_view name, long long value);
    void WriteBool(std::string_view section, std::string_view name, bool value);
};

}  // namespace telvor
