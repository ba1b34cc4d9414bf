// A DLL of the kind somebody leaves in a Downloads folder beside a program that runs with an
// administrator's rights, under the name of one that Windows loads for the program: loaded
// anywhere, it appends the loading program's name to NAME.dll.loaded beside itself. It does
// nothing else; the program then misses what the real DLL would have done, which is as it may.
#include <windows.h>

#include <string>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH)
        return TRUE;
    wchar_t self[MAX_PATH] = {};
    wchar_t program[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(instance, self, MAX_PATH);
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return TRUE;
    const std::wstring marker = std::wstring(self, length) + L".loaded";
    const HANDLE file = CreateFileW(marker.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        const std::wstring line = std::wstring(program) + L"\r\n";
        DWORD written = 0;
        WriteFile(file, line.data(), static_cast<DWORD>(line.size() * sizeof(wchar_t)), &written,
                  nullptr);
        CloseHandle(file);
    }
    return TRUE;
}
