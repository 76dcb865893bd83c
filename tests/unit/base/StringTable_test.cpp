#include "base/StringTable.h"

#include <gtest/gtest.h>
#include <set>

namespace telvor {
namespace {

unsigned char Byte(const std::string& s, std::size_t i) {
    return static_cast<unsigned char>(s.at(i));
}

TEST(StringTable, EveryWindowGroupHasItsTextsAndGapsAreEmpty) {
    const std::set<unsigned> gaps = {50, 2002, 3010};
    for (unsigned id = 1; id <= 71; ++id) EXPECT_EQ(LoadStr(id).empty(), gaps.count(id) == 1) << id;
    for (unsigned id = 2001; id <= 2011; ++id)
        EXPECT_EQ(LoadStr(id).empty(), gaps.count(id) == 1) << id;
    for (unsigned id = 3001; id <= 3011; ++id)
        EXPECT_EQ(LoadStr(id).empty(), gaps.count(id) == 1) << id;
    for (unsigned id = 20001; id <= 20029; ++id) EXPECT_FALSE(LoadStr(id).empty()) << id;

    const std::set<unsigned> menu = {10001, 10002, 10003, 10004, 10005, 10006, 10101,
                                     10102, 10201, 10202, 10203, 10204, 10301, 10302,
                                     10303, 10304, 10305, 10306, 10307, 10308, 10309};
    for (unsigned id = 10000; id <= 10310; ++id)
        EXPECT_EQ(LoadStr(id).empty(), menu.count(id) == 0) << id;
}

TEST(StringTable, MissingIdsGiveEmptyText) {
    for (unsigned id : {0u, 50u, 99u, 1000u, 1002u, 1005u, 1007u, 2002u, 3010u, 3012u, 20048u,
                        61567u, 65535u, 4294967295u})
        EXPECT_EQ(LoadStr(id), "") << id;
    EXPECT_EQ(LoadStr(1001), "Info zu Telvor");
    // The file errors of the platform layer: 61441 reports an apply that could not write.
    EXPECT_EQ(LoadStr(61441), "Datei %s kann nicht erstellt werden");
}

TEST(StringTable, SpotChecksOfEachGroup) {
    EXPECT_EQ(LoadStr(1), "Telvor einrichten");
    EXPECT_EQ(LoadStr(49), "Ab&weisen ermöglichen");
    EXPECT_EQ(LoadStr(51), "Kompatibilität");
    EXPECT_EQ(LoadStr(67), "Anruf von &NAME (&NUMBER) für &MSN um &TIME");
    EXPECT_EQ(LoadStr(71), "Anrufe an &Clients weiterleiten");
    // One ID serves several controls; equal texts under different IDs stay separate entries.
    EXPECT_EQ(LoadStr(10), LoadStr(20));
    EXPECT_EQ(LoadStr(13), LoadStr(22));
    EXPECT_EQ(LoadStr(2011), "&Benachrichtigung mit dmail pro");
    EXPECT_EQ(LoadStr(3007), "Anruf für MSN:");
    EXPECT_EQ(LoadStr(3011), "&Abweisen");
    for (unsigned sep : {10003u, 10203u, 10302u, 10305u}) EXPECT_EQ(LoadStr(sep), "-");
    EXPECT_EQ(LoadStr(10309), "Ö&ffnen");
    EXPECT_EQ(LoadStr(20008), " für %s um %s Uhr");
    EXPECT_EQ(LoadStr(20019),
              "Programme|*.exe; *.com; *.bat; *.lnk|Audiodateien (*.wav)|*.wav|Alle Dateien|*.*");
    EXPECT_EQ(LoadStr(20029), "AreaCode.txt");
    EXPECT_EQ(LoadStr(20026),
              "Sie benötigen eine ISDN-Karte mit CAPI 2.0, um Telvor auszuführen. Falls dieser "
              "Fehler trotz installierter CAPI 2.0 auftritt, wenden Sie sich bitte an "
              "''support@telvor.example''. Fehlercode: %d");
    EXPECT_EQ(LoadStr(20016).substr(LoadStr(20016).size() - 26), "Mit F1 erhalten Sie Hilfe.");
}

TEST(StringTable, PlatformTexts) {
    EXPECT_EQ(LoadStr(61442), "Kann Datei %s nicht öffnen");
    EXPECT_EQ(LoadStr(kInvalidIntegerId), "'%s' ist kein gültiger Integerwert");
    EXPECT_GE(kInvalidIntegerId, 61000u);
    EXPECT_LT(kInvalidIntegerId, 62000u);
    EXPECT_EQ(LoadStr(61560), "Warnung");
    EXPECT_EQ(LoadStr(61561), "Fehler");
    EXPECT_EQ(LoadStr(61562), "Information");
    EXPECT_EQ(LoadStr(61563), "Bestätigen");
    EXPECT_EQ(LoadStr(61564), "&Ja");
    EXPECT_EQ(LoadStr(61565), "&Nein");
    EXPECT_EQ(LoadStr(61566), "OK");
    EXPECT_EQ(LoadStr(61626), "Ungültiger Datentyp für '%s'");
    EXPECT_EQ(LoadStr(61627), "Erzeugung von Schlüssel %s misslungen");
    EXPECT_EQ(LoadStr(61628), "Konnte Daten für '%s' nicht setzen");
    EXPECT_EQ(LoadStr(61629), "Konnte Daten für '%s' nicht holen");
}

// The bytes must be Windows-1252, one byte per umlaut, whatever the source encoding.
TEST(StringTable, UmlautsAreSingleWindows1252Bytes) {
    const std::string uebernehmen = LoadStr(4);  // Ü&bernehmen
    EXPECT_EQ(uebernehmen.size(), 11u);
    EXPECT_EQ(Byte(uebernehmen, 0), 0xDC);
    const std::string loeschen = LoadStr(10);  // &Löschen
    EXPECT_EQ(loeschen.size(), 8u);
    EXPECT_EQ(Byte(loeschen, 2), 0xF6);
    const std::string schliessen = LoadStr(3009);  // &Schließen
    EXPECT_EQ(Byte(schliessen, 7), 0xDF);
    const std::string oeffnen = LoadStr(10309);  // Ö&ffnen
    EXPECT_EQ(Byte(oeffnen, 0), 0xD6);
    const std::string daten = LoadStr(20003);  // Datenübertragung
    EXPECT_EQ(Byte(daten, 5), 0xFC);
    const std::string kompat = LoadStr(51);  // Kompatibilität
    EXPECT_EQ(Byte(kompat, 12), 0xE4);
    EXPECT_EQ(kompat.size(), 14u);
}

TEST(StringTable, FormatFillsArgumentsInOrder) {
    EXPECT_EQ(FormatStr(20008, {"0301 1234", "12:05"}), " für 0301 1234 um 12:05 Uhr");
    EXPECT_EQ(FormatStr(20028, {"Meier", "030 123"}),
              "Wollen Sie 'Meier' (030 123) wirklich abweisen?");
    EXPECT_EQ(FormatStr(20026, {-1002LL}).substr(LoadStr(20026).size() - 2), "-1002");
    EXPECT_EQ(FormatStr(kInvalidIntegerId, {"abc"}), "'abc' ist kein gültiger Integerwert");
    EXPECT_EQ(FormatText("%d%%", {42LL}), "42%");
    EXPECT_EQ(FormatText("%%s", {"x"}), "%s");
}

TEST(StringTable, FormatToleratesOddArgumentsAndDirectives) {
    // Missing arguments format as empty text or 0, surplus ones are ignored.
    EXPECT_EQ(FormatText("[%s|%d]", {}), "[|0]");
    EXPECT_EQ(FormatText("%s", {"a", "b", 3LL}), "a");
    // An argument is never read as a format itself.
    EXPECT_EQ(FormatText("%s!", {"%d%s%%"}), "%d%s%%!");
    // Unknown directives and a lone trailing percent stay as written.
    EXPECT_EQ(FormatText("%x %5d 100%", {1LL}), "%x %5d 100%");
    // Mismatched kinds still show the value.
    EXPECT_EQ(FormatText("%s/%d", {7LL, "t"}), "7/t");
    EXPECT_EQ(FormatStr(50, {"x"}), "");
    EXPECT_EQ(FormatText("", {"x"}), "");
    const std::string embedded("a\0b", 3);
    EXPECT_EQ(FormatText("%s", {std::string_view(embedded)}), embedded);
}

TEST(StringTable, StartupTextsAreLoadedOnce) {
    LoadStartupTexts();
    EXPECT_EQ(UnknownCallerText, "unbekannt");
    EXPECT_EQ(NewMsnCaption, "Neue MSN");
    EXPECT_EQ(NewEntryCaption, "Neuer Eintrag");
}

}  // namespace
}  // namespace telvor
