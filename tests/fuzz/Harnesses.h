#pragma once
// Fuzz harnesses of every reader of outside bytes. Each takes one input and aborts (with a
// message on stderr) when a rule the reader promises is broken; memory faults are left to the
// sanitizers. libFuzzer drives them one by one (FuzzMain.cpp), and the unit tier replays the
// committed corpus through the same functions on every run.
#include <cstddef>
#include <cstdint>
#include <span>

namespace telvor::fuzz {

using Input = std::span<const std::uint8_t>;

// A CONNECT_IND (or any message) as CAPI_GET_MESSAGE hands it over, then the call pipeline.
void CapiMessage(Input data);
// [1 byte n][n bytes calling number][caller database file]
void CallerDatabase(Input data);
// [call list file]
void CallList(Input data);
// [type octet][1 byte n][n digits][area-code file]
void AreaCodes(Input data);
// [notification template]
void Template(Input data);
// Lines "section<US>name<US>value" (US = 0x1F) written into a settings tree, then read back.
void Settings(Input data);
// [1 byte n][n bytes separator][import file]
void TextImport(Input data);
// [format octet][the system's format when the octet says so][date and time text]
void LegacyDateTime(Input data);
// [vCard file]
void VCard(Input data);
// [address-book CSV file]
void ContactsCsv(Input data);
// Bytes of an NCID client: each piece is one control byte (length in the low five bits, a
// clock step in the top three) and that many bytes. Also the texts of a CID line.
void NcidSession(Input data);
// Bytes of an NCID server: [start-up done when odd] then pieces as for NcidSession.
void NcidClient(Input data);

struct Harness {
    const char* name;  // also the folder of its corpus
    void (*run)(Input);
};
inline constexpr Harness kHarnesses[] = {
    {"capi_message", CapiMessage},
    {"caller_database", CallerDatabase},
    {"call_list", CallList},
    {"area_codes", AreaCodes},
    {"template", Template},
    {"settings", Settings},
    {"text_import", TextImport},
    {"legacy_date_time", LegacyDateTime},
    {"vcard", VCard},
    {"contacts_csv", ContactsCsv},
    {"ncid_session", NcidSession},
    {"ncid_client", NcidClient},
};

// Aborts with `what` when `condition` is false: a finding.
void Check(bool condition, const char* what);

}  // namespace telvor::fuzz
