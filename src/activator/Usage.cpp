// This file alone is compiled to code page 850, the console's OEM code page: the literals
// below are UTF-8 here and come out as the bytes a German console shows correctly.
#include "activator/Activator.h"

namespace telvor::activator {

namespace {

constexpr char kUsage[] =
    "TelvorActivator 2.00\r\n"
    "\r\n"
    "\r\n"
    "Aufruf:  TELVACT /A | /D\r\n"
    "\r\n"
    "         /A      Aktiviert die Anzeige von Anrufen in Telvor\r\n"
    "                 und TelvorClient\r\n"
    "         /D      Deaktiviert die Anzeige von Anrufen in Telvor\r\n"
    "                 und TelvorClient\r\n"
    "\r\n"
    "Sie können auch die Anzeige in Telvor und TelvorClient\r\n"
    "aktivieren und deaktivieren, indem Sie mit der rechten Maustaste\r\n"
    "auf das Icon in der Taskleiste klicken und den entsprechenden Punkt\r\n"
    "aus dem Menü auswählen.\r\n"
    "\r\n"
    "Der Aufruf von TELVACT ist natürlich auch aus Batch-Dateien möglich,\r\n"
    "wenn Sie z. B. ein MS-DOS-Programm öffnen.\r\n";

}  // namespace

std::string_view UsageText() {
    return {kUsage, sizeof kUsage - 1};
}

}  // namespace telvor::activator
