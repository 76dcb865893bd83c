// The vCard reader: any bytes as the file.
#include "ContactsCheck.h"

namespace telvor::fuzz {

void VCard(Input data) {
    CheckContactImport({reinterpret_cast<const char*>(data.data()), data.size()},
                       ContactFormat::VCard);
}

}  // namespace telvor::fuzz
