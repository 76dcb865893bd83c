// Every help context a form of the program carries, or takes on at run time, has its page
// among the help pages of the sources, and the overview links to each of them.
#include "ui/HelpTopics.h"

#include <windows.h>

#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <sstream>
#include <string>

#include "monitor/win/CallerWindow.h"
#include "ui/win/ConfigDialogLayout.h"
#include "ui/win/EntryDialog.h"
#include "ui/win/ImportDialog.h"

namespace telvor {
namespace {

std::set<DWORD> UsedHelpContexts() {
    std::set<DWORD> used;
    for (const FormDef& form : {ConfigureFormDef(), EntryDialogDef(), CallerFormDef()}) {
        if (form.helpContext) used.insert(form.helpContext);
        for (const ControlDef& control : form.controls)
            if (control.helpContext) used.insert(control.helpContext);
    }
    for (const EntryHelpContexts& mode : {kCallerEntryHelp, kMsnEntryHelp})
        used.insert({mode.number, mode.name, mode.program});
    used.insert(kImportHelpContext);
    return used;
}

std::string ReadPage(const std::string& name) {
    std::ifstream file(std::string(TELVOR_HELP_DIR) + "/" + name, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return file ? text.str() : std::string();
}

TEST(HelpPages, EveryContextOfEveryFormHasItsPageAndTheOverviewLinksIt) {
    const std::set<DWORD> used = UsedHelpContexts();
    ASSERT_GT(used.size(), 40u) << "the forms were not all read";
    const std::string overview = ReadPage(kHelpIndexPage);
    ASSERT_FALSE(overview.empty()) << "no overview page in " << TELVOR_HELP_DIR;
    for (DWORD context : used) {
        const std::string name = HelpPageName(context);
        const std::string page = ReadPage(name);
        EXPECT_NE(page.find("<h1>"), std::string::npos) << "no page with a title: " << name;
        EXPECT_NE(overview.find("href=\"" + name + "\""), std::string::npos)
            << "the overview does not link " << name;
    }
}

}  // namespace
}  // namespace telvor
