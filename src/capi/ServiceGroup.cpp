#include "capi/ServiceGroup.h"

#include "base/StringTable.h"

namespace telvor {

ServiceGroup ServiceGroupOf(std::uint16_t cipValue) {
    switch (cipValue) {
        case 0:  // "any service": shown as unknown, filtered like telephony
        case 1:
        case 4:
        case 5:
        case 16:
        case 26:
            return ServiceGroup::Audio;
        case 2:
        case 3:
        case 7:
        case 8:
        case 9:
            return ServiceGroup::Data;
        case 17:
            return ServiceGroup::Fax23;
        case 18:
            return ServiceGroup::Fax4;
        case 6:
        case 27:
        case 28:
            return ServiceGroup::Video;
        default:
            return ServiceGroup::Else;
    }
}

std::string_view ServiceFlagName(ServiceGroup group) {
    switch (group) {
        case ServiceGroup::Audio:
            return "Audio";
        case ServiceGroup::Data:
            return "Data";
        case ServiceGroup::Fax23:
            return "Fax23";
        case ServiceGroup::Fax4:
            return "Fax4";
        case ServiceGroup::Video:
            return "Video";
        case ServiceGroup::Else:
            break;
    }
    return "Else";
}

unsigned ServiceTextId(std::uint16_t cipValue) {
    if (cipValue == 0) return 20001;
    switch (ServiceGroupOf(cipValue)) {
        case ServiceGroup::Audio:
            return 20002;
        case ServiceGroup::Data:
            return 20003;
        case ServiceGroup::Fax23:
            return 20004;
        case ServiceGroup::Fax4:
            return 20005;
        case ServiceGroup::Video:
            return 20006;
        case ServiceGroup::Else:
            break;
    }
    return 20007;
}

std::string ServiceText(std::uint16_t cipValue) {
    return LoadStr(ServiceTextId(cipValue));
}

}  // namespace telvor
