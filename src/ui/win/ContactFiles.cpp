#include "ui/win/ContactFiles.h"

#include <commdlg.h>
#include <fstream>

#include "base/StringTable.h"
#include "store/RecordIo.h"
#include "ui/win/MessageDialogs.h"
#include "ui/win/OpenFileDialog.h"

namespace telvor {
namespace {

constexpr unsigned kNotVCardId = 20032;
constexpr unsigned kNoPhoneColumnId = 20033;
constexpr unsigned kImportCountsId = 20034;
constexpr unsigned kExportTitleId = 20035;
constexpr unsigned kContactFilterId = 20031;  // vCard first, then CSV: the save dialog's types

}  // namespace

std::optional<std::vector<CallerRow>> ImportContactFile(HWND owner, const std::string& path,
                                                        ContactFormat format, SettingsStore& store,
                                                        const AreaCodeList& areaCodes,
                                                        const std::vector<CallerRow>& existing) {
    const std::optional<std::string> bytes = recordio::ReadWholeFile(path);
    if (!bytes) {
        ShowError(FormatStr(kFileOpenErrorId, {path}), owner);
        return std::nullopt;
    }
    ContactImport result =
        ImportContacts(*bytes, format, ReadNumberPrefixes(store), areaCodes, existing);
    if (result.status != ContactImportStatus::Ok) {
        const unsigned id =
            result.status == ContactImportStatus::NotVCard ? kNotVCardId : kNoPhoneColumnId;
        ShowError(FormatStr(id, {path}), owner);
        return std::nullopt;
    }
    ShowMessageDialog(
        MessageKind::Information,
        FormatStr(kImportCountsId, {std::to_string(result.added), std::to_string(result.known),
                                    std::to_string(result.unusable)}),
        owner);
    return std::move(result.rows);
}

bool ExportNamesToFile(HWND owner, const std::vector<CallerRow>& rows) {
    const std::string title = LoadStr(kExportTitleId);
    const std::string filter = SystemFilter(LoadStr(kContactFilterId));
    std::vector<char> file(MAX_PATH, '\0');
    OPENFILENAMEA ofn = FileDialogBase(owner, filter, file, title);
    ofn.lpstrDefExt = "vcf";
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
    if (!GetSaveFileNameA(&ofn)) return false;
    // The chosen type decides the format, unless the name ends in the other type's extension;
    // a name without either gets the type's.
    ContactFormat format = ofn.nFilterIndex == 2 ? ContactFormat::Csv : ContactFormat::VCard;
    std::string path = file.data();
    if (const std::optional<ContactFormat> named = ContactFormatOfFile(path))
        format = *named;
    else
        path += format == ContactFormat::Csv ? ".csv" : ".vcf";
    const std::string bytes = ExportContacts(rows, format);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        ShowError(FormatStr(kFileCreateErrorId, {path}), owner);
        return false;
    }
    return true;
}

}  // namespace telvor
