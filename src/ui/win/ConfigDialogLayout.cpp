#include "ui/win/ConfigDialogLayout.h"

#include <iterator>

namespace telvor {
namespace {

using K = ControlKind;

void AddListPages(std::vector<ControlDef>& c) {
    // clang-format off
    // Calls: the list, then its buttons from left to right.
    c.push_back({.kind = K::GroupBox, .name = "CallsFrame", .left = 0, .top = 4, .width = 425, .height = 253, .caption = "9", .parent = "CallsTab"});
    c.push_back({.kind = K::DateSortListView, .name = "CallsLV", .left = 8, .top = 16, .width = 409, .height = 201, .helpContext = 1031, .tabOrder = 0, .flags = kMultiSelect, .parent = "CallsFrame",
                 .columns = {{"12", 192}, {"13", 85}, {"14", 110}}});
    c.push_back({.kind = K::Button, .name = "DelCallB", .left = 8, .top = 220, .width = 125, .height = 25, .caption = "10", .helpContext = 1032, .tabOrder = 1, .parent = "CallsFrame"});
    c.push_back({.kind = K::Button, .name = "DelAllCallsB", .left = 148, .top = 220, .width = 125, .height = 25, .caption = "11", .helpContext = 1033, .tabOrder = 2, .parent = "CallsFrame"});
    c.push_back({.kind = K::Button, .name = "ToDatabaseB", .left = 288, .top = 220, .width = 125, .height = 25, .caption = "55", .helpContext = 1301, .tabOrder = 3, .parent = "CallsFrame"});
    // Names.
    c.push_back({.kind = K::GroupBox, .name = "NamesFrame", .left = 0, .top = 4, .width = 425, .height = 253, .caption = "15", .parent = "NameTab"});
    c.push_back({.kind = K::SortListView, .name = "ListViewL", .left = 8, .top = 16, .width = 409, .height = 201, .helpContext = 1005, .tabOrder = 0, .flags = kEditLabels, .parent = "NamesFrame",
                 .columns = {{"16", 100}, {"17", 144}, {"18", 128}, {"69", 15}}});
    c.push_back({.kind = K::Button, .name = "HinzuB", .left = 15, .top = 220, .width = 90, .height = 25, .caption = "19", .helpContext = 1003, .tabOrder = 1, .parent = "NamesFrame"});
    c.push_back({.kind = K::Button, .name = "ImportierenB", .left = 116, .top = 220, .width = 90, .height = 25, .caption = "58", .helpContext = 1310, .tabOrder = 2, .parent = "NamesFrame"});
    c.push_back({.kind = K::Button, .name = "LoeschenB", .left = 218, .top = 220, .width = 90, .height = 25, .caption = "20", .helpContext = 1004, .tabOrder = 3, .parent = "NamesFrame"});
    c.push_back({.kind = K::Button, .name = "EigenschaftenB", .left = 320, .top = 220, .width = 90, .height = 25, .caption = "54", .helpContext = 1303, .tabOrder = 4, .parent = "NamesFrame"});
    // MSNs, with the per-MSN rules below the buttons.
    c.push_back({.kind = K::GroupBox, .name = "MSNFrame", .left = 0, .top = 4, .width = 425, .height = 253, .caption = "21", .parent = "MSNTab"});
    c.push_back({.kind = K::SortListView, .name = "MSNLV", .left = 8, .top = 16, .width = 409, .height = 65, .helpContext = 1014, .tabOrder = 0, .flags = kEditLabels, .parent = "MSNFrame",
                 .columns = {{"22", 50}, {"25", 144}, {"56", 178}, {"69", 15}}});
    c.push_back({.kind = K::Button, .name = "Hinzu2B", .left = 15, .top = 88, .width = 120, .height = 25, .caption = "23", .helpContext = 12001, .tabOrder = 1, .parent = "MSNFrame"});
    c.push_back({.kind = K::Button, .name = "Loeschen2B", .left = 154, .top = 88, .width = 120, .height = 25, .caption = "24", .helpContext = 12002, .tabOrder = 2, .parent = "MSNFrame"});
    c.push_back({.kind = K::Button, .name = "Eigenschaften2B", .left = 292, .top = 88, .width = 120, .height = 25, .caption = "57", .helpContext = 1304, .tabOrder = 3, .parent = "MSNFrame"});
    c.push_back({.kind = K::PageControl, .name = "MSNPages", .left = 8, .top = 120, .width = 409, .height = 128, .tabOrder = 4, .parent = "MSNFrame"});
    // clang-format on
    const char* const sheets[2] = {"AnzeigenTS", "ProtokollTS"};
    const char* const sheetCaptions[2] = {"26", "27"};
    const char* const knownCaptions[2] = {"28", "30"};
    const char* const groupCaptions[2] = {"29", "31"};
    const char* const groups[2] = {"Dienste1G", "Dienste2G"};
    const DWORD knownHelp[2] = {12004, 12011};
    for (int g = 0; g < 2; ++g) {
        c.push_back({.kind = K::TabSheet,
                     .name = sheets[g],
                     .caption = sheetCaptions[g],
                     .parent = "MSNPages"});
        c.push_back({.kind = K::CheckBox,
                     .name = kServiceBoxes[g * 7],
                     .left = 8,
                     .top = 4,
                     .width = 380,
                     .height = 17,
                     .caption = knownCaptions[g],
                     .helpContext = knownHelp[g],
                     .tabOrder = 0,
                     .parent = sheets[g]});
        c.push_back({.kind = K::GroupBox,
                     .name = groups[g],
                     .left = 8,
                     .top = 22,
                     .width = 385,
                     .height = 74,
                     .caption = groupCaptions[g],
                     .parent = sheets[g]});
        static const char* const serviceCaptions[6] = {"32", "33", "34", "35", "36", "37"};
        for (int i = 0; i < 6; ++i) {
            c.push_back({.kind = K::CheckBox,
                         .name = kServiceBoxes[g * 7 + 1 + i],
                         .left = 8 + (i / 3) * 188,
                         .top = 16 + (i % 3) * 18,
                         .width = 180,
                         .height = 17,
                         .caption = serviceCaptions[i],
                         .helpContext = static_cast<DWORD>(12005 + i),
                         .tabOrder = 1 + i,
                         .parent = groups[g]});
        }
    }
}

void AddDmailPage(std::vector<ControlDef>& c) {
    // clang-format off
    c.push_back({.kind = K::RadioGroup, .name = "DMWhenRG", .left = 8, .top = 4, .width = 409, .height = 100, .caption = "60", .helpContext = 1314, .tabOrder = 0, .parent = "DMailTab",
                 .items = {"61", "62", "63", "64"}});
    c.push_back({.kind = K::GroupBox, .name = "DMailFrame", .left = 8, .top = 110, .width = 409, .height = 142, .caption = "59", .parent = "DMailTab"});
    c.push_back({.kind = K::Label, .name = "DMailPathL", .left = 16, .top = 18, .caption = "68", .parent = "DMailFrame"});
    c.push_back({.kind = K::Edit, .name = "DMailPathE", .left = 16, .top = 34, .width = 377, .height = 21, .helpContext = 1315, .tabOrder = 0, .parent = "DMailFrame"});
    c.push_back({.kind = K::Label, .name = "DMailReceiverL", .left = 16, .top = 60, .caption = "65", .parent = "DMailFrame"});
    c.push_back({.kind = K::Edit, .name = "DMailReceiverE", .left = 16, .top = 76, .width = 377, .height = 21, .helpContext = 1316, .tabOrder = 1, .parent = "DMailFrame"});
    c.push_back({.kind = K::Label, .name = "DMailParamL", .left = 16, .top = 102, .caption = "66", .parent = "DMailFrame"});
    c.push_back({.kind = K::Edit, .name = "DMailParamE", .left = 16, .top = 118, .width = 377, .height = 21, .helpContext = 1317, .tabOrder = 2, .parent = "DMailFrame"});
    // clang-format on
}

void AddOtherPage(std::vector<ControlDef>& c) {
    // clang-format off
    c.push_back({.kind = K::GroupBox, .name = "CallerFormsG", .left = 8, .top = 0, .width = 409, .height = 80, .caption = "38", .parent = "SonstTab"});
    c.push_back({.kind = K::CheckBox, .name = "CloseAutoC", .left = 8, .top = 14, .width = 380, .height = 17, .caption = "39", .helpContext = 1308, .tabOrder = 0, .parent = "CallerFormsG"});
    c.push_back({.kind = K::RadioButton, .name = "CloseTimeRB", .left = 24, .top = 34, .width = 150, .height = 17, .caption = "40", .helpContext = 1029, .tabOrder = 1, .flags = kDisabled, .parent = "CallerFormsG"});
    c.push_back({.kind = K::Edit, .name = "CloseTimeE", .left = 178, .top = 32, .width = 50, .height = 21, .caption = "60", .helpContext = 1030, .tabOrder = 2, .flags = kDisabled, .parent = "CallerFormsG"});
    c.push_back({.kind = K::UpDown, .name = "CloseTimeU", .helpContext = 1030, .flags = kDisabled, .parent = "CallerFormsG", .buddy = "CloseTimeE", .rangeMin = 0, .rangeMax = 3600});
    c.push_back({.kind = K::Label, .name = "SecondsL", .left = 240, .top = 35, .caption = "41", .flags = kDisabled, .parent = "CallerFormsG"});
    c.push_back({.kind = K::RadioButton, .name = "CloseConnectRB", .left = 24, .top = 56, .width = 370, .height = 17, .caption = "45", .helpContext = 1307, .tabOrder = 3, .flags = kDisabled, .parent = "CallerFormsG"});

    c.push_back({.kind = K::GroupBox, .name = "CompatibilityG", .left = 8, .top = 82, .width = 409, .height = 94, .caption = "51", .parent = "SonstTab"});
    c.push_back({.kind = K::Label, .name = "NatCallsL", .left = 8, .top = 18, .caption = "52", .parent = "CompatibilityG"});
    c.push_back({.kind = K::Edit, .name = "NatCallsE", .left = 230, .top = 14, .width = 60, .height = 21, .helpContext = 12102, .tabOrder = 0, .parent = "CompatibilityG"});
    c.push_back({.kind = K::Label, .name = "InternatCallsL", .left = 8, .top = 42, .caption = "53", .parent = "CompatibilityG"});
    c.push_back({.kind = K::Edit, .name = "InternatCallsE", .left = 230, .top = 38, .width = 60, .height = 21, .helpContext = 12103, .tabOrder = 1, .parent = "CompatibilityG"});
    c.push_back({.kind = K::CheckBox, .name = "InitAlwaysCB", .left = 8, .top = 60, .width = 390, .height = 17, .caption = "46", .helpContext = 1309, .tabOrder = 2, .parent = "CompatibilityG"});
    c.push_back({.kind = K::CheckBox, .name = "AlertCB", .left = 8, .top = 76, .width = 390, .height = 16, .caption = "49", .helpContext = 1311, .tabOrder = 3, .parent = "CompatibilityG"});

    c.push_back({.kind = K::GroupBox, .name = "ProtocolG", .left = 8, .top = 178, .width = 136, .height = 74, .caption = "42", .parent = "SonstTab"});
    c.push_back({.kind = K::Button, .name = "PAnzeigenB", .left = 8, .top = 18, .width = 120, .height = 23, .caption = "43", .helpContext = 1023, .tabOrder = 0, .parent = "ProtocolG"});
    c.push_back({.kind = K::Button, .name = "PLoeschenB", .left = 8, .top = 45, .width = 120, .height = 23, .caption = "44", .helpContext = 1024, .tabOrder = 1, .parent = "ProtocolG"});
    c.push_back({.kind = K::GroupBox, .name = "NetworkG", .left = 148, .top = 178, .width = 269, .height = 34, .caption = "70", .parent = "SonstTab"});
    c.push_back({.kind = K::CheckBox, .name = "DoNDDECB", .left = 8, .top = 14, .width = 250, .height = 17, .caption = "71", .helpContext = 1318, .tabOrder = 0, .parent = "NetworkG"});
    c.push_back({.kind = K::GroupBox, .name = "InfoG", .left = 148, .top = 214, .width = 269, .height = 38, .caption = "47", .parent = "SonstTab"});
    c.push_back({.kind = K::Button, .name = "InfoB", .left = 186, .top = 10, .width = 75, .height = 24, .caption = "48", .helpContext = 1025, .tabOrder = 0, .parent = "InfoG"});
    // Not in the earlier versions' table: the free room left of "Inf&o..." holds it, so that no
    // documented control moves.
    c.push_back({.kind = K::CheckBox, .name = "StartAtLogonCB", .left = 8, .top = 15, .width = 170, .height = 17, .caption = "72", .helpContext = 1319, .tabOrder = 1, .parent = "InfoG"});
    // clang-format on
}

// Not in the earlier versions' table: the NCID server and client, on a page of their own
// after the five.
void AddNetworkPage(std::vector<ControlDef>& c) {
    // clang-format off
    c.push_back({.kind = K::GroupBox, .name = "NcidG", .left = 8, .top = 0, .width = 409, .height = 184, .caption = "74", .parent = "NetzTab"});
    c.push_back({.kind = K::CheckBox, .name = "NcidServerCB", .left = 8, .top = 14, .width = 390, .height = 17, .caption = "75", .helpContext = 1320, .tabOrder = 0, .parent = "NcidG"});
    c.push_back({.kind = K::Label, .name = "NcidPortL", .left = 8, .top = 38, .caption = "76", .parent = "NcidG"});
    c.push_back({.kind = K::Edit, .name = "NcidPortE", .left = 200, .top = 34, .width = 60, .height = 21, .helpContext = 1320, .tabOrder = 1, .parent = "NcidG"});
    c.push_back({.kind = K::Label, .name = "NcidListenL", .left = 8, .top = 62, .caption = "77", .parent = "NcidG"});
    c.push_back({.kind = K::Edit, .name = "NcidListenE", .left = 200, .top = 58, .width = 193, .height = 21, .helpContext = 1320, .tabOrder = 2, .parent = "NcidG"});
    c.push_back({.kind = K::Label, .name = "NcidAllowL", .left = 8, .top = 84, .caption = "78", .parent = "NcidG"});
    c.push_back({.kind = K::Edit, .name = "NcidAllowE", .left = 8, .top = 98, .width = 385, .height = 21, .helpContext = 1320, .tabOrder = 3, .parent = "NcidG"});
    c.push_back({.kind = K::Label, .name = "NcidClientsL", .left = 8, .top = 123, .width = 385, .height = 14, .caption = "79", .flags = kNoPrefix, .parent = "NcidG"});
    c.push_back({.kind = K::Label, .name = "NcidHelpL", .left = 8, .top = 139, .width = 385, .height = 42, .caption = "80", .flags = kWordWrap, .parent = "NcidG"});
    // Where the monitor takes its calls from: the line, an NCID server (another Telvor
    // among them), or both.
    c.push_back({.kind = K::GroupBox, .name = "NcidSourceG", .left = 8, .top = 188, .width = 409, .height = 66, .caption = "81", .parent = "NetzTab"});
    c.push_back({.kind = K::RadioButton, .name = "CapiSourceRB", .left = 8, .top = 16, .width = 130, .height = 17, .caption = "82", .helpContext = 1321, .tabOrder = 0, .parent = "NcidSourceG"});
    c.push_back({.kind = K::RadioButton, .name = "NcidSourceRB", .left = 140, .top = 16, .width = 120, .height = 17, .caption = "83", .helpContext = 1321, .tabOrder = 1, .parent = "NcidSourceG"});
    c.push_back({.kind = K::RadioButton, .name = "BothSourceRB", .left = 262, .top = 16, .width = 130, .height = 17, .caption = "84", .helpContext = 1321, .tabOrder = 2, .parent = "NcidSourceG"});
    c.push_back({.kind = K::Label, .name = "NcidHostL", .left = 8, .top = 41, .caption = "85", .parent = "NcidSourceG"});
    c.push_back({.kind = K::Edit, .name = "NcidHostE", .left = 80, .top = 37, .width = 190, .height = 21, .helpContext = 1321, .tabOrder = 3, .parent = "NcidSourceG"});
    c.push_back({.kind = K::Label, .name = "NcidServerPortL", .left = 282, .top = 41, .caption = "86", .parent = "NcidSourceG"});
    c.push_back({.kind = K::Edit, .name = "NcidServerPortE", .left = 333, .top = 37, .width = 60, .height = 21, .helpContext = 1321, .tabOrder = 4, .parent = "NcidSourceG"});
    // clang-format on
}

}  // namespace

FormDef ConfigureFormDef() {
    FormDef def{.name = "ConfigureForm",
                .caption = "1",
                .left = 200,
                .top = 120,
                .clientWidth = 446,
                .clientHeight = 332,
                .dialog = true,
                .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                .exStyle = WS_EX_CONTEXTHELP,
                .placement = FormPlacement::ScreenCenter};
    auto& c = def.controls;
    // clang-format off
    c.push_back({.kind = K::PageControl, .name = "Pages", .left = 8, .top = 8, .width = 430, .height = 284, .tabOrder = 0});
    c.push_back({.kind = K::TabSheet, .name = "CallsTab", .caption = "5", .parent = "Pages"});
    c.push_back({.kind = K::TabSheet, .name = "NameTab", .caption = "6", .parent = "Pages"});
    c.push_back({.kind = K::TabSheet, .name = "MSNTab", .caption = "7", .parent = "Pages"});
    c.push_back({.kind = K::TabSheet, .name = "DMailTab", .caption = "59", .parent = "Pages"});
    c.push_back({.kind = K::TabSheet, .name = "SonstTab", .caption = "8", .parent = "Pages"});
    c.push_back({.kind = K::TabSheet, .name = "NetzTab", .caption = "73", .parent = "Pages"});
    // clang-format on
    AddListPages(c);
    AddDmailPage(c);
    AddOtherPage(c);
    AddNetworkPage(c);
    // clang-format off
    c.push_back({.kind = K::Button, .name = "OkB", .left = 204, .top = 300, .width = 75, .height = 25, .caption = "2", .helpContext = 1, .tabOrder = 1, .flags = kDefault});
    c.push_back({.kind = K::Button, .name = "AbbrechenB", .left = 284, .top = 300, .width = 75, .height = 25, .caption = "3", .helpContext = 2, .tabOrder = 2, .flags = kCancel});
    c.push_back({.kind = K::Button, .name = "UebernehmenB", .left = 364, .top = 300, .width = 75, .height = 25, .caption = "4", .helpContext = 3, .tabOrder = 3, .flags = kDisabled});
    // clang-format on
    return def;
}

}  // namespace telvor
