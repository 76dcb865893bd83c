#include "netdde/RegAppPath.h"

namespace telvor {

std::string RegAppKeyPath(const RegAppLocation& l) {
    std::string path = l.root == RegRoot::rhAllUsers ? ".DEFAULT\\SOFTWARE\\" : "SOFTWARE\\";
    path += l.company.empty() ? "TESTCOMPANY" : l.company;
    path += '\\';
    path += l.applicationName.empty() ? "TESTAPPLICATION" : l.applicationName;
    path += '\\';
    path += l.version.empty() ? "1.0a" : l.version;
    if (!l.relativePath.empty()) {
        path += '\\';
        path += l.relativePath;
    }
    return path;
}

}  // namespace telvor
