// CSV files in the layouts address books export (Google's older and newer one, Outlook's in
// English and German), RFC 4180 quoting, separators, encodings, and files without numbers.
#include <gtest/gtest.h>

#include "ContactsTesting.h"

namespace telvor {
namespace {

using namespace telvor::testing;

constexpr ContactFormat kCsv = ContactFormat::Csv;

TEST(CsvImport, GoogleLayouts) {
    const std::string older = Utf8(
        u8"Name,Given Name,Additional Name,Family Name,Nickname,Birthday,Notes,Group Membership,"
        u8"E-mail 1 - Type,E-mail 1 - Value,Phone 1 - Type,Phone 1 - Value,Phone 2 - Type,"
        u8"Phone 2 - Value,Organization 1 - Type,Organization 1 - Name\n"
        u8"Hans Müller,Hans,,Müller,,,,* myContacts,* Home,h@example.org,* Mobile,"
        u8"+49 171 1111111 ::: +49 171 2222222,Work,+49 711 12345-0,,Müller AG\n"
        u8",Eva,,Graf,,,,* myContacts,,,Home,089 123,,,,\n"
        u8",,,,,,,* myContacts,,,Werkstatt,0711 4444,,,,Bäckerei Ö\n");
    EXPECT_EQ(NamesAndNumbers(Import(older, kCsv)),
              (Pairs{{"Hans Müller (mobil)", "0171 1111111"},
                     {"Hans Müller (mobil 2)", "0171 2222222"},
                     {"Hans Müller (geschäftlich)", "0711 12345"},
                     {"Eva Graf", "089 123"},
                     {"Bäckerei Ö", "0711 4444"}}));

    const std::string newer = Utf8(
        u8"\uFEFFFirst Name,Middle Name,Last Name,Phonetic First Name,Phonetic Middle Name,"
        u8"Phonetic Last Name,Name Prefix,Name Suffix,Nickname,File As,Organization Name,"
        u8"Organization Title,Organization Department,Birthday,Notes,Photo,Labels,"
        u8"E-mail 1 - Label,E-mail 1 - Value,Phone 1 - Label,Phone 1 - Value,"
        u8"Phone 2 - Label,Phone 2 - Value\r\n"
        u8"Anna,,Schmidt,Ahna,,Schmitt,,,,,,,,,,,* myContacts,,,Mobile,+49 30 1,Home Fax,030 "
        u8"2\r\n");
    const ContactImport result = Import(newer, kCsv);
    EXPECT_EQ(NamesAndNumbers(result),
              (Pairs{{"Anna Schmidt (mobil)", "030 1"}, {"Anna Schmidt (Fax)", "030 2"}}));
    EXPECT_EQ(result.unusable, 0u);  // the phonetic names are no numbers
}

TEST(CsvImport, OutlookInEnglish) {
    const std::string file =
        "\"Title\",\"First Name\",\"Middle Name\",\"Last Name\",\"Suffix\",\"Company\","
        "\"Department\",\"Job Title\",\"Business Street\",\"Business City\","
        "\"Assistant's Phone\",\"Business Fax\",\"Business Phone\",\"Business Phone 2\","
        "\"Callback\",\"Car Phone\",\"Company Main Phone\",\"Home Fax\",\"Home Phone\","
        "\"Mobile Phone\",\"Other Phone\",\"Pager\",\"Telex\",\"E-mail Address\"\r\n"
        "\"\",\"John\",\"\",\"Smith\",\"\",\"Acme, Ltd.\",\"\",\"\",\"1 Main St\r\nSuite 5\","
        "\"London\",\"\",\"+44 20 7946 0000\",\"+44 20 7946 0958\",\"\",\"\",\"\",\"\",\"\",\"\","
        "\"+44 7700 900123\",\"\",\"\",\"12345\",\"john@example.org\"\r\n"
        "\"\",\"\",\"\",\"\",\"\",\"Acme, Ltd.\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\","
        "\"\",\"+44 20 7946 0001\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\r\n";
    EXPECT_EQ(NamesAndNumbers(Import(file, kCsv)),
              (Pairs{{"John Smith (Fax)", "0044 20 79460000"},
                     {"John Smith (geschäftlich)", "0044 20 79460958"},
                     {"John Smith (mobil)", "0044 7700 900123"},
                     {"Acme, Ltd.", "0044 20 79460001"}}));
}

// Outlook's German headers, in Windows-1252 as it writes them, here re-saved by a
// spreadsheet with semicolons; quoted fields hold separators, line breaks and quotes.
TEST(CsvImport, OutlookInGermanWithQuoting) {
    const std::string file =
        "Vorname;Weitere Vornamen;Nachname;Firma;Straße geschäftlich;Fax geschäftlich;"
        "Telefon geschäftlich;Telefon (privat);Mobiltelefon;Weiteres Telefon;Telex\r\n"
        "Jürgen;;Müller;Müller & Söhne;\"Hauptstr. 1;\r\n2. Hof\";0711 98765-99;0711 98765-0;"
        "(0711) 123-456;0171/555 66 77;unbekannt;12345\r\n"
        "\r\n"
        "\"Hans \"\"Hansi\"\"\";;Meier;;;;;\"089 77\"\n"
        ";;;Stadtwerke;;;;;;;\r";
    const ContactImport result = Import(file, kCsv);
    EXPECT_EQ(NamesAndNumbers(result), (Pairs{{"Jürgen Müller (Fax)", "0711 9876599"},
                                              {"Jürgen Müller (geschäftlich)", "0711 98765"},
                                              {"Jürgen Müller (privat)", "0711 123456"},
                                              {"Jürgen Müller (mobil)", "0171 5556677"},
                                              {"Hans \"Hansi\" Meier", "089 77"}}));
    EXPECT_EQ(result.unusable, 1u);
}

TEST(CsvImport, FilesWithoutNumberColumnsAddNothing) {
    for (std::string_view bytes :
         {std::string_view(""),
          std::string_view("First Name,Last Name,E-mail Address\r\nA,B,c\r\n"),
          std::string_view("BEGIN:VCARD\r\nTEL:0711 1\r\nEND:VCARD\r\n")}) {
        const ContactImport result = Import(bytes, kCsv);
        EXPECT_EQ(result.status, ContactImportStatus::NoPhoneColumn) << bytes;
        EXPECT_TRUE(result.rows.empty());
    }
}

}  // namespace
}  // namespace telvor
