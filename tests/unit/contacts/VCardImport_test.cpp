// vCard files: the examples of the vCard RFCs, files in the layouts phones and address books
// write (2.1 with quoted-printable, 3.0 with groups and labels), folding, escapes, errors.
#include <gtest/gtest.h>

#include "ContactsTesting.h"

namespace telvor {
namespace {

using namespace telvor::testing;

constexpr ContactFormat kVCard = ContactFormat::VCard;

TEST(VCardImport, ExampleOfRfc6350) {
    const char* card =
        "BEGIN:VCARD\r\n"
        "VERSION:4.0\r\n"
        "FN:Simon Perreault\r\n"
        "N:Perreault;Simon;;;ing. jr,M.Sc.\r\n"
        "BDAY:--0203\r\n"
        "ANNIVERSARY:20090808T1430-0500\r\n"
        "GENDER:M\r\n"
        "LANG;PREF=1:fr\r\n"
        "LANG;PREF=2:en\r\n"
        "ORG;TYPE=work:Viagenie\r\n"
        "ADR;TYPE=work:;Suite D2-630;2875 Laurier;\r\n"
        " Quebec;QC;G1V 2M2;Canada\r\n"
        "TEL;VALUE=uri;TYPE=\"work,voice\";PREF=1:tel:+1-418-656-9254;ext=102\r\n"
        "TEL;VALUE=uri;TYPE=\"work,cell,voice,video,text\":tel:+1-418-262-6501\r\n"
        "EMAIL;TYPE=work:simon.perreault@viagenie.ca\r\n"
        "GEO;TYPE=work:geo:46.772673,-71.282945\r\n"
        "KEY;TYPE=work;VALUE=uri:\r\n"
        " http://www.viagenie.ca/simon.perreault/simon.asc\r\n"
        "TZ:-0500\r\n"
        "URL;TYPE=home:http://nomis80.org\r\n"
        "END:VCARD\r\n";
    EXPECT_EQ(NamesAndNumbers(Import(card, kVCard)),
              (Pairs{{"Simon Perreault (geschäftlich)", "001 418 6569254102"},
                     {"Simon Perreault (mobil)", "001 418 2626501"}}));
}

TEST(VCardImport, ExamplesOfRfc2426) {
    const char* cards =
        "BEGIN:vCard\r\n"
        "VERSION:3.0\r\n"
        "FN:Frank Dawson\r\n"
        "ORG:Lotus Development Corporation\r\n"
        "ADR;TYPE=WORK,POSTAL,PARCEL:;;6544 Battleford Drive\r\n"
        " ;Raleigh;NC;27613-3502;U.S.A.\r\n"
        "TEL;TYPE=VOICE,MSG,WORK:+1-919-676-9515\r\n"
        "TEL;TYPE=FAX,WORK:+1-919-676-9564\r\n"
        "EMAIL;TYPE=INTERNET,PREF:Frank_Dawson@Lotus.com\r\n"
        "EMAIL;TYPE=INTERNET:fdawson@earthlink.net\r\n"
        "URL:http://home.earthlink.net/~fdawson\r\n"
        "END:vCard\r\n"
        "\r\n"
        "\r\n"
        "BEGIN:vCard\r\n"
        "VERSION:3.0\r\n"
        "FN:Tim Howes\r\n"
        "ORG:Netscape Communications Corp.\r\n"
        "ADR;TYPE=WORK:;;501 E. Middlefield Rd.;Mountain View;\r\n"
        " CA; 94043;U.S.A.\r\n"
        "TEL;TYPE=VOICE,MSG,WORK:+1-415-937-3419\r\n"
        "TEL;TYPE=FAX,WORK:+1-415-528-4164\r\n"
        "EMAIL;TYPE=INTERNET:howes@netscape.com\r\n"
        "END:vCard\r\n";
    EXPECT_EQ(NamesAndNumbers(Import(cards, kVCard)),
              (Pairs{{"Frank Dawson (geschäftlich)", "001 919 6769515"},
                     {"Frank Dawson (Fax)", "001 919 6769564"},
                     {"Tim Howes (geschäftlich)", "001 415 9373419"},
                     {"Tim Howes (Fax)", "001 415 5284164"}}));
}

// A phone's 2.1 export: bare types, UTF-8 in quoted-printable with soft line breaks, LF only.
TEST(VCardImport, Version21WithQuotedPrintable) {
    const std::string cards =
        "BEGIN:VCARD\n"
        "VERSION:2.1\n"
        "N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:M=C3=BCller;J=C3=BCrgen;;;\n"
        "FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:J=C3=BCrgen M=C3=BC=\n"
        "ller\n"
        "TEL;CELL:+49 171 1234567\n"
        "TEL;HOME;VOICE:0711/123456\n"
        "TEL;WORK;FAX:0711 987-0\n"
        "TEL;VOICE:+49 30 111\n"
        "TEL:+49 30 222\n"
        "END:VCARD\n"
        "BEGIN:VCARD\n"
        "VERSION:2.1\n"
        "N;CHARSET=ISO-8859-1;QUOTED-PRINTABLE:Sch=F6n;Fr=E4ulein\n"
        "TEL:0711 555\n"
        "NOTE;QUOTED-PRINTABLE:Gr=FC=DFe=0D=0A=\n"  // a soft break never swallows the end
        "END:VCARD\n";
    EXPECT_EQ(NamesAndNumbers(Import(cards, kVCard)),
              (Pairs{{"Jürgen Müller (mobil)", "0171 1234567"},
                     {"Jürgen Müller (privat)", "0711 123456"},
                     {"Jürgen Müller (Fax)", "0711 987"},
                     {"Jürgen Müller (Telefon)", "030 111"},
                     {"Jürgen Müller (Telefon 2)", "030 222"},
                     {"Fräulein Schön", "0711 555"}}));
}

// An address book's 3.0 export: grouped numbers with labels of their own, folded lines (one
// fold inside a UTF-8 character), escapes, a BOM, and a card with only a company.
TEST(VCardImport, Version30GroupsLabelsFoldingAndEscapes) {
    const std::string u = Utf8(u8"ü");
    const std::string cards =
        Utf8(
            u8"\uFEFFBEGIN:VCARD\r\nVERSION:3.0\r\nN:Schmidt;Anna;;;\r\nFN:Anna Schmidt\r\n"
            u8"item1.TEL;type=pref:+49 30 1234567\r\nitem1.X-ABLabel:Büro\r\n"
            u8"item2.TEL;type=CELL;type=VOICE:+49 (0)171 7654321\r\n"
            u8"item3.TEL:030 555\r\nitem3.X-ABLabel:_$!<Other>!$_\r\n"
            u8"PHOTO;ENCODING=b;TYPE=JPEG:MIIC\r\n  AAAA\r\nEND:VCARD\r\n") +
        "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Doe\\, John \\; M" + u +
        "\r\n\tller\\nJr.\r\n"
        "TEL:089 1\r\nEND:VCARD\r\n"
        "BEGIN:VCARD\r\nVERSION:3.0\r\nN:;;;;\r\nORG:Firma M" +
        u.substr(0, 1) + "\r\n " + u.substr(1) + "ller\\; S" + Utf8(u8"ö") +
        "hne;Einkauf\r\nTEL:089 2\r\nEND:VCARD\r\n";
    EXPECT_EQ(NamesAndNumbers(Import(cards, kVCard)),
              (Pairs{{"Anna Schmidt (Büro)", "030 1234567"},
                     {"Anna Schmidt (mobil)", "0171 7654321"},
                     {"Anna Schmidt (Telefon)", "030 555"},
                     {"Doe, John ; Müller Jr.", "089 1"},
                     {"Firma Müller; Söhne", "089 2"}}));
}

TEST(VCardImport, CharactersWindows1252CannotHoldBecomeQuestionMarks) {
    const std::string card = Utf8(
        u8"BEGIN:VCARD\nVERSION:4.0\nFN:Łukasz Żółw 5 €\n"
        u8"TEL:+49 89 3\nEND:VCARD\n");
    EXPECT_EQ(NamesAndNumbers(Import(card, kVCard)), (Pairs{{"?ukasz ?ó?w 5 €", "089 3"}}));
    // Windows-1252 bytes without a charset: not UTF-8, so taken as they are.
    EXPECT_EQ(NamesAndNumbers(Import("BEGIN:VCARD\nFN:Grüß Gott\nTEL:089 4\nEND:VCARD", kVCard)),
              (Pairs{{"Grüß Gott", "089 4"}}));
}

TEST(VCardImport, WhatIsNotAVCardAddsNothing) {
    for (std::string_view bytes :
         {std::string_view(""), std::string_view("Name,Telefon\r\nA,1\r\n"),
          std::string_view("TEL:0711 1\r\nEND:VCARD\r\n"),
          std::string_view("BEGIN:VCALENDAR\r\nEND:VCALENDAR\r\n")}) {
        const ContactImport result = Import(bytes, kVCard);
        EXPECT_EQ(result.status, ContactImportStatus::NotVCard) << bytes;
        EXPECT_TRUE(result.rows.empty());
    }
    // A card the file does not end, and a nested card (2.1 AGENT), lose nothing of the outer.
    const char* cards =
        "BEGIN:VCARD\nFN:A\nAGENT:\nBEGIN:VCARD\nFN:B\nTEL:089 5\nEND:VCARD\nTEL:089 6\nEND:VCARD\n"
        "BEGIN:VCARD\nN:\\\nORG:\\\nTEL:089 8\nEND:VCARD\n"  // a value ends in a backslash
        "BEGIN:VCARD\nFN:C\nTEL:089 7";
    EXPECT_EQ(NamesAndNumbers(Import(cards, kVCard)),
              (Pairs{{"A", "089 6"}, {"\\", "089 8"}, {"C", "089 7"}}));
}

}  // namespace
}  // namespace telvor
