// The address-book CSV reader: any bytes as the file.
#include "ContactsCheck.h"

namespace telvor::fuzz {

void ContactsCsv(Input data) {
    CheckContactImport({reinterpret_cast<const char*>(data.data()), data.size()},
                       ContactFormat::Csv);
}

}  // namespace telvor::fuzz
