#include "netdde/win/ShareRecordWriter.h"

#include "netdde/ShareRecord.h"
#include "netdde/win/RegAppConfig.h"

namespace telvor {

void WriteNetDdeShareRecord() {
    const RegAppLocation where = NetDdeShareLocation();
    TRegAppConfig share;
    share.SetRootKey(where.root);
    share.SetCompany(where.company);
    share.SetApplicationName(where.applicationName);
    share.SetVersion(where.version);
    share.SetActive(false);
    for (const ShareValue& value : NetDdeShareRecord()) {
        if (value.type == ShareValueType::Text)
            share.WriteString(value.name, value.text);
        else
            share.WriteBinary(value.name, value.bytes);
    }
}

}  // namespace telvor
