// The system's words for an error number.
#include "platform/Platform.h"

#include <windows.h>

namespace platform {
namespace {

std::u16string MessageText(DWORD code) {
    constexpr DWORD kFlags =
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    for (const DWORD language :
         {static_cast<DWORD>(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)), DWORD{0}}) {
        wchar_t* text = nullptr;
        const DWORD length = ::FormatMessageW(kFlags, nullptr, code, language,
                                              reinterpret_cast<LPWSTR>(&text), 0, nullptr);
        std::u16string message;
        if (length != 0 && text != nullptr)
            message.assign(text, text + length);
        ::LocalFree(text);
        while (!message.empty() &&
               (message.back() == u'\r' || message.back() == u'\n' || message.back() == u' ')) {
            message.pop_back();
        }
        if (!message.empty())
            return message;
    }
    return {};
}

}  // namespace

FileError FileErrorOf(uint32_t systemCode) {
    FileError error;
    error.code = systemCode;
    error.kind = systemCode == ERROR_ACCESS_DENIED || systemCode == ERROR_PRIVILEGE_NOT_HELD
                     ? FileErrorKind::Denied
                     : FileErrorKind::Other;
    const std::u16string text = MessageText(systemCode);
    error.reason = text.empty() ? FormatText("system error %u", systemCode)
                                : FormatText("%s (error %u)", WideToUtf8(text).c_str(), systemCode);
    return error;
}

}  // namespace platform
