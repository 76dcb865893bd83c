/* The program's version, kept in this one place: the version resource of Telvor.exe, the
   settings value "Version" the program writes and the name of the package all take it from
   here. Only #defines, so that the resource compiler and CMake can read the file too. */
#pragma once

#define TELVOR_VERSION_MAJOR 2
#define TELVOR_VERSION_MINOR 0
/* Major, a point and the minor as two digits: the settings' "Version" and the package name. */
#define TELVOR_VERSION_TEXT "2.00"
