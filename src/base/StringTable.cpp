#include "base/StringTable.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace telvor {

namespace {

struct Entry {
    unsigned id;
    const char* text;
};

// Sorted by ID (checked at compile time below). The literals are Windows-1252 through the
// compiler's execution character set.
constexpr Entry kTable[] = {
    // Configuration dialog
    {1, "Telvor einrichten"},
    {2, "Ok"},
    {3, "Abbrechen"},
    {4, "Ü&bernehmen"},
    {5, "Anrufe"},
    {6, "Namensdatenbank"},
    {7, "Mehrfachrufnummern"},
    {8, "Sonstiges"},
    {9, "&Protokollierte Anrufe"},
    {10, "&Löschen"},
    {11, "&Alle Löschen"},
    {12, "Name/Nummer"},
    {13, "MSN"},
    {14, "Datum/Uhrzeit"},
    {15, "&Liste"},
    {16, "Telefonnummer"},
    {17, "Name"},
    {18, "Programm/Sound"},
    {19, "&Neu"},
    {20, "&Löschen"},
    {21, "&Mehrfachrufnummern"},
    {22, "MSN"},
    {23, "&Neu"},
    {24, "&Löschen"},
    {25, "Name"},
    {26, "Im Fenster anzeigen"},
    {27, "In der Protokolldatei aufzeichnen"},
    {28, "Nur bei &bekannter Nummer anzeigen"},
    {29, "Nur bei ausgewählten Diensten anzeigen"},
    {30, "Nur bei &bekannter Nummer aufzeichnen"},
    {31, "Nur bei ausgewählten Diensten aufzeichnen"},
    {32, "&Telefongespräch oder Analog"},
    {33, "&Datenübertragung"},
    {34, "Fax Gruppe 2/&3"},
    {35, "Fax Gruppe &4"},
    {36, "&Video und Bildtelefon"},
    {37, "&Sonstiges"},
    {38, "Mitteilungsfenster"},
    {39, "&Fenster automatisch schließen"},
    {40, "Fenster &schließen nach"},
    {41, "Sekunde(n)"},
    {42, "Protokolldatei"},
    {43, "&Anzeigen"},
    {44, "&Löschen"},
    {45, "F&enster schließen, nachdem der Anruf angenommen wurde"},
    {46, "&Treiber nach jedem Anruf neu initialisieren"},
    {47, "Programminformationen anzeigen"},
    {48, "Inf&o..."},
    {49, "Ab&weisen ermöglichen"},
    {51, "Kompatibilität"},
    {52, "Kennzahlen für &nationale Gespräche"},
    {53, "Kennzahlen für &internationale Gespräche"},
    {54, "E&igenschaften"},
    {55, "&Nummer übernehmen"},
    {56, "Programm/Sound"},
    {57, "E&igenschaften"},
    {58, "Im&portieren"},
    {59, "dmail pro"},
    {60, "&Verschicke Nachrichten bei..."},
    {61, "...allen Anrufen"},
    {62, "...allen Anrufen mit übermittelter Nummer"},
    {63, "...bestimmten Anrufern/MSNs"},
    {64, "nie"},
    {65, "&Empfänger"},
    {66, "&Nachricht"},
    {67, "Anruf von &NAME (&NUMBER) für &MSN um &TIME"},
    {68, "&Pfad von dmail pro"},
    {69, "dmail"},
    {70, "Netzwerkfunktionen"},
    {71, "Anrufe an &Clients weiterleiten"},
    {72, "&Beim Anmelden starten"},
    // The network page
    {73, "Netzwerk"},
    {74, "NCID-Server: Anrufe auf anderen Geräten im Netzwerk anzeigen"},
    {75, "Anrufe an &NCID-Clients im Netzwerk senden"},
    {76, "&Port:"},
    {77, "Nur an &Adresse (leer: alle):"},
    {78, "&Zugelassene Clients (Adressbereiche, durch Kommas getrennt):"},
    {79, "Verbundene Clients: %s"},
    {80,
     "NCID-Clients (Apps, Hausautomation, Skripte) verbinden sich über TCP mit diesem PC. "
     "Erlauben Sie den Port in der Windows-Firewall; andere Adressen werden getrennt. F1 zeigt "
     "mehr."},
    {81, "Anrufe empfangen von"},
    {82, "&ISDN-Karte (CAPI)"},
    {83, "NCID-&Server"},
    {84, "B&eiden"},
    {85, "&Rechner:"},
    {86, "P&ort:"},
    // About box
    {1001, "Info zu Telvor"},
    // Entry dialog
    {2001, "Datenbankeintrag editieren"},
    {2003, "&Nummer"},
    {2004, "N&ame"},
    {2005, "&Programm/ Audiodatei"},
    {2006, "&Durchsuchen..."},
    {2007, "Ok"},
    {2008, "Abbrechen"},
    {2009, "Pa&rameter"},
    {2010, "&MSN"},
    {2011, "&Benachrichtigung mit dmail pro"},
    // Caller window
    {3001, "Telvor - Anrufer"},
    {3002, "Aus Ortsnetz:"},
    {3003, "Datum/Uhrzeit:"},
    {3004, "Anrufer:"},
    {3005, "Telefonnummer:"},
    {3006, "Art des Anrufs:"},
    {3007, "Anruf für MSN:"},
    {3008, "&Datenbank..."},
    {3009, "&Schließen"},
    {3011, "&Abweisen"},
    // Popup menus: names list, call list, MSN list, notification icon
    {10001, "&Neuen Eintrag hinzufügen"},
    {10002, "&Löschen"},
    {10003, "-"},
    {10004, "E&igenschaften"},
    {10005, "Einträge aus &Datei importieren..."},
    {10006, "Einträge &exportieren..."},
    {10101, "Anruf &löschen"},
    {10102, "&Nummer in Datenbank übernehmen"},
    {10201, "&Neue MSN hinzufügen"},
    {10202, "&Löschen"},
    {10203, "-"},
    {10204, "E&igenschaften"},
    {10301, "Anruferfenster in &Vordergrund"},
    {10302, "-"},
    {10303, "&Protokolldatei anzeigen"},
    {10304, "&Info zu Telvor..."},
    {10305, "-"},
    {10306, "&Beenden"},
    {10307, "Anrufe vorübergehend nicht &anzeigen"},
    {10308, "Anrufe wieder &anzeigen"},
    {10309, "Ö&ffnen"},
    // Messages and texts used by code
    {20001, "unbekannt"},
    {20002, "Telefongespräch oder Analog"},
    {20003, "Datenübertragung"},
    {20004, "Fax Gruppe 2/3"},
    {20005, "Fax Gruppe 4"},
    {20006, "Video oder Bildtelefon"},
    {20007, "Sonstiges"},
    {20008, " für %s um %s Uhr"},
    {20009, "Anruf angenommen oder getrennt"},
    {20010, " - getrennt"},
    {20011, "Bitte schließen Sie das Fenster '%s', bevor Sie Telvor beenden."},
    {20012, "Wollen Sie den Eintrag '%s' wirklich löschen?"},
    {20013, "Die Protokolldatei wurde nicht gefunden."},
    {20014, "Soll die Protokolldatei wirklich gelöscht werden?"},
    {20015, "Wollen Sie wirklich alle Anrufe löschen?"},
    {20016,
     "Bitte tragen Sie die Daten aller Ihrer Mehrfachrufnummern in die Liste ein. Durch einen "
     "Doppelklick mit der linken Maustaste auf das Telefonsymbol neben der Uhr können Sie "
     "Telvor auch später einrichten. Mit F1 erhalten Sie Hilfe."},
    {20017, "Neue MSN"},
    {20018, "Neuer Eintrag"},
    {20019, "Programme|*.exe; *.com; *.bat; *.lnk|Audiodateien (*.wav)|*.wav|Alle Dateien|*.*"},
    {20020, "Audiodateien (*.wav)|*.wav|Alle Dateien (*.*)|*.*"},
    {20021, "Klingel1.wav"},
    {20022, "Klangdatei auswählen"},
    {20023, "Programm auswählen"},
    {20024, "Datenbank aus Textdatei importieren"},
    {20025, "Textdateien (*.txt)|*.txt|Alle Dateien (*.*)|*.*"},
    {20026,
     "Sie benötigen eine ISDN-Karte mit CAPI 2.0, um Telvor auszuführen. Falls dieser Fehler "
     "trotz installierter CAPI 2.0 auftritt, wenden Sie sich bitte an "
     "''support@telvor.example''. Fehlercode: %d"},
    {20027, "Sie benötigen eine ISDN-Karte mit CAPI 2.0."},
    {20028, "Wollen Sie '%s' (%s) wirklich abweisen?"},
    {20029, "AreaCode.txt"},
    // Texts beyond the earlier versions' table
    {20030,
     "Die Daten der früheren Version wurden übernommen, ihre alten Einstellungen unter "
     "HKEY_LOCAL_MACHINE\\Software\\Orbek\\Telvor konnten aber nicht entfernt werden "
     "(dazu fehlen Administratorrechte). Telvor liest sie nicht noch einmal; ein Administrator "
     "kann den Schlüssel löschen."},
    {20031, "Visitenkarten (*.vcf)|*.vcf|CSV (*.csv)|*.csv"},
    {20032, "Die Datei %s ist keine Visitenkarten-Datei (vCard): Es wurde nichts hinzugefügt."},
    {20033,
     "Die Datei %s hat keine Spalte mit Telefonnummern: Es wurde nichts hinzugefügt. Die erste "
     "Zeile einer CSV-Datei muss die Spaltennamen enthalten."},
    {20034,
     "Import abgeschlossen:\n%s Einträge hinzugefügt,\n%s Nummern übersprungen, weil sie "
     "schon in der Datenbank stehen,\n%s Einträge ohne verwendbare Telefonnummer."},
    {20035, "Datenbank exportieren"},
    {20036, "Die Verknüpfung %s im Autostart-Ordner konnte nicht angelegt oder entfernt werden."},
    {20037, "Der NCID-Server für die Anzeige im Netzwerk konnte nicht starten: %s"},
    {20038, "Telvor - NCID-Server nicht verbunden"},
    // Texts of the user-interface platform layer
    {kFileCreateErrorId, "Datei %s kann nicht erstellt werden"},
    {kFileOpenErrorId, "Kann Datei %s nicht öffnen"},
    {kInvalidIntegerId, "'%s' ist kein gültiger Integerwert"},
    {kWarningTitleId, "Warnung"},
    {kErrorTitleId, "Fehler"},
    {kInformationTitleId, "Information"},
    {kConfirmTitleId, "Bestätigen"},
    {kYesButtonId, "&Ja"},
    {kNoButtonId, "&Nein"},
    {kOkButtonId, "OK"},
    {kInvalidDataTypeId, "Ungültiger Datentyp für '%s'"},
    {kCreateKeyFailedId, "Erzeugung von Schlüssel %s misslungen"},
    {kWriteValueFailedId, "Konnte Daten für '%s' nicht setzen"},
    {kReadValueFailedId, "Konnte Daten für '%s' nicht holen"},
};

constexpr bool IsStrictlySorted() {
    for (std::size_t i = 1; i < std::size(kTable); ++i)
        if (kTable[i - 1].id >= kTable[i].id) return false;
    return true;
}
static_assert(IsStrictlySorted(), "string table must be sorted by ID without duplicates");

// A loaded text is cut like a 1024-byte load buffer would cut it.
constexpr std::size_t kMaxLoadedLength = 1023;

}  // namespace

std::string UnknownCallerText;
std::string NewMsnCaption;
std::string NewEntryCaption;

std::string LoadStr(unsigned id) {
    const auto* end = std::end(kTable);
    const auto* it = std::lower_bound(std::begin(kTable), end, id,
                                      [](const Entry& e, unsigned key) { return e.id < key; });
    if (it == end || it->id != id) return {};
    std::string text(it->text);
    if (text.size() > kMaxLoadedLength) text.resize(kMaxLoadedLength);
    return text;
}

namespace {

void AppendArg(std::string& out, const FormatArg* arg) {
    if (arg == nullptr) return;  // a missing argument formats as nothing
    if (const auto* s = std::get_if<std::string_view>(arg))
        out.append(*s);
    else
        out.append(std::to_string(std::get<long long>(*arg)));
}

}  // namespace

std::string FormatText(std::string_view format, std::initializer_list<FormatArg> args) {
    std::string out;
    out.reserve(format.size() + 32);
    auto next = args.begin();
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if (c != '%' || i + 1 == format.size()) {
            out.push_back(c);
            continue;
        }
        const char directive = format[i + 1];
        if (directive == '%') {
            out.push_back('%');
            ++i;
        } else if (directive == 's' || directive == 'd') {
            const FormatArg* arg = next != args.end() ? &*next++ : nullptr;
            if (arg == nullptr && directive == 'd')
                out.push_back('0');
            else
                AppendArg(out, arg);
            ++i;
        } else {
            out.push_back(c);  // an unknown directive stays as written
        }
    }
    return out;
}

std::string FormatStr(unsigned id, std::initializer_list<FormatArg> args) {
    return FormatText(LoadStr(id), args);
}

void LoadStartupTexts() {
    UnknownCallerText = LoadStr(20001);
    NewMsnCaption = LoadStr(20017);
    NewEntryCaption = LoadStr(20018);
}

}  // namespace telvor
