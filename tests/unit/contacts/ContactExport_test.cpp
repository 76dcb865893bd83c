// The import's bookkeeping (known numbers, unusable ones, rooms), the two export files, and
// the round trip from export to import.
#include <gtest/gtest.h>

#include "ContactsTesting.h"
#include "base/StringTable.h"
#include "store/MemorySettingsStore.h"

namespace telvor {
namespace {

using namespace telvor::testing;

TEST(ContactImport, KnownNumbersKeepTheirRowsAndUnusableOnesAreCounted) {
    const std::vector<CallerRow> existing = {{"0711 123456", "Alt", "", ""}, {"0891", "B", "", ""}};
    const ContactImport result = Import(
        "Name;Telefon;Mobiltelefon\r\n"
        "Neu;+49 711 123456;089-1\r\n"  // both known, in another form
        "Zwei;089 2;089 2\r\n"          // the second is the first again
        "Drei;n/a;   \r\n",             // no digits, and nothing at all
        ContactFormat::Csv, existing);
    EXPECT_EQ(NamesAndNumbers(result), (Pairs{{"Zwei (Telefon)", "089 2"}}));
    EXPECT_EQ(result.known, 3u);
    EXPECT_EQ(result.unusable, 1u);
}

TEST(ContactImport, NamesAreCutToTheRecordButKeepTheirKind) {
    const std::string name(300, 'a');
    const ContactImport result =
        Import("Name,Home Phone,Mobile Phone\n" + name + ",089 1,089 2\n" + name + ",089 3,\n",
               ContactFormat::Csv);
    ASSERT_EQ(result.rows.size(), 3u);
    EXPECT_EQ(result.rows[0].name, std::string(246, 'a') + " (privat)");
    EXPECT_EQ(result.rows[2].name, std::string(255, 'a'));
}

TEST(ContactExport, FilesAsWritten) {
    const std::vector<CallerRow> rows = {
        {"0711 123456", "Müller; \"Hans\", Jr.", "\"c:\\klang\\ring.wav\" -a", "X"},
        {NewEntryCaption, "placeholder", "", ""},
        {"0800 FLOWERS", "", "", ""},
        {"", "no number", "", ""}};
    EXPECT_EQ(ExportContacts(rows, ContactFormat::VCard),
              Utf8(u8"BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Müller\\; \"Hans\"\\, Jr.\r\n"
                   u8"N:Müller\\; \"Hans\"\\, Jr.;;;;\r\nTEL;TYPE=VOICE:0711 123456\r\n"
                   u8"END:VCARD\r\n"
                   u8"BEGIN:VCARD\r\nVERSION:3.0\r\nFN:\r\nN:;;;;\r\n"
                   u8"TEL;TYPE=VOICE:0800 3569377\r\nEND:VCARD\r\n"));
    EXPECT_EQ(ExportContacts(rows, ContactFormat::Csv),
              Utf8(u8"\uFEFFName;Telefon;Programm;Parameter\r\n"
                   u8"\"Müller; \"\"Hans\"\", Jr.\";0711 123456;c:\\klang\\ring.wav;-a\r\n"
                   u8";0800 3569377;;\r\n"));
}

TEST(ContactExport, ImportReadsBackWhatWasExported) {
    const std::string long_name(250, 'x');
    const ContactImport imported = Import(
        Utf8(u8"BEGIN:VCARD\nVERSION:3.0\nFN:Jürgen Müller-Lüdenscheidt € \\; \\, \\\\ \"q\"\n"
             u8"TEL;TYPE=CELL:+49 171 1\nTEL;TYPE=HOME:0711/2\nEND:VCARD\n"
             u8"BEGIN:VCARD\nVERSION:3.0\nFN:") +
            long_name +
            Utf8(u8"\nTEL:+44 20 7946 0958\nTEL:+33 1 23 45\nEND:VCARD\n"
                 u8"BEGIN:VCARD\nVERSION:3.0\nTEL:*31#\nEND:VCARD\n"),
        ContactFormat::VCard);
    std::vector<CallerRow> rows = imported.rows;
    ASSERT_EQ(rows.size(), 5u);
    rows[0].programColumn = "\"c:\\klang\\a;b.wav\" -x \"y\"";
    for (ContactFormat format : {ContactFormat::VCard, ContactFormat::Csv}) {
        const ContactImport back = Import(ExportContacts(rows, format), format);
        ASSERT_EQ(back.rows.size(), rows.size());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(back.rows[i].name, rows[i].name);
            EXPECT_EQ(back.rows[i].number, rows[i].number);
        }
        if (format == ContactFormat::Csv) {
            EXPECT_EQ(back.rows[0].programColumn, rows[0].programColumn);
        }
    }
}

TEST(ContactImport, FormatsAndPrefixesTheDialogPassesOn) {
    EXPECT_EQ(ContactFormatOfFile("C:\\Kontakte\\alle.VCF"), ContactFormat::VCard);
    EXPECT_EQ(ContactFormatOfFile("a.vcard"), ContactFormat::VCard);
    EXPECT_EQ(ContactFormatOfFile("a.b.Csv"), ContactFormat::Csv);
    EXPECT_EQ(ContactFormatOfFile("a.txt"), std::nullopt);
    EXPECT_EQ(ContactFormatOfFile("csv"), std::nullopt);
    MemorySettingsStore store;
    store.WriteString("Settings", "InternationalCalls", "000");
    const NumberPrefixes prefixes = ReadNumberPrefixes(store);
    EXPECT_EQ(prefixes.national, "0");
    EXPECT_EQ(prefixes.international, "000");
    EXPECT_EQ(prefixes.ownCountry, "49");
}

}  // namespace
}  // namespace telvor
