#pragma once
// Where the registry component TRegApp / TRegAppConfig keeps its values: a root and a key
// path built from company, application, version and an optional relative path.
#include <string>

namespace telvor {

// HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER, HKEY_USERS (below ".DEFAULT").
enum class RegRoot { rhMachine, rhCurrentUser, rhAllUsers };

struct RegAppLocation {
    RegRoot root = RegRoot::rhCurrentUser;
    std::string company = "My Company";
    std::string applicationName = "My Application";
    std::string version = "v1.0a";
    std::string relativePath;
};

// "SOFTWARE\<company>\<application>\<version>[\<relative path>]", with ".DEFAULT\" in front
// below HKEY_USERS. Empty parts read "TESTCOMPANY", "TESTAPPLICATION" and "1.0a".
std::string RegAppKeyPath(const RegAppLocation& location);

}  // namespace telvor
