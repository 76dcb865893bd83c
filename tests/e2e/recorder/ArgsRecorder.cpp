// Stands in for a program the shell starts (the browser of the help case): writes its whole
// command line, UTF-8, into "<its own path>.txt" and ends. Nothing else.
#include <windows.h>

#include <string>

#include "base/win/Handles.h"

int main() {
    const wchar_t* line = GetCommandLineW();
    const int size = WideCharToMultiByte(CP_UTF8, 0, line, -1, nullptr, 0, nullptr, nullptr);
    std::string text(size > 0 ? static_cast<std::size_t>(size) : 1u, '\0');
    WideCharToMultiByte(CP_UTF8, 0, line, -1, text.data(), size, nullptr, nullptr);
    text.resize(text.size() - 1);  // the terminator

    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring target = std::wstring(self) + L".txt";
    // Written under another name and then renamed, so a reader never sees half a line.
    const std::wstring partial = target + L".part";
    {
        const telvor::KernelHandle file(CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr,
                                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return 1;
        DWORD written = 0;
        WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    }
    return MoveFileExW(partial.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
