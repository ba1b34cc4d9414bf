// Pictures of the shipped program's real windows, for the documentation: starts Vuvereze.exe,
// locks the first device, and saves as PNG files in FOLDER what the screen shows of the main
// window, of its system menu opened (with "About" and "Input Signal..."), of the About box and
// of the signal window. The screen is read back
// through GDI (under Wine: the X display), so the pictures are what a user sees, fonts included.
// Usage: vz_win32_shots PATH\Vuvereze.exe FOLDER
#include <windows.h>

#include <wincodec.h>

#include "tests/win32/ChildWindow.h"
#include "tools/win32driver/Driver.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kLock = 1001;
constexpr int kUserList = 1003;
constexpr UINT kAboutCommand = 0x0010;
constexpr UINT kSignalCommand = 0x0020;
constexpr int kSignalMatches = 1106;
constexpr UINT kListItemCount = 0x1000 + 4;  // LVM_GETITEMCOUNT

// Waits up to ten seconds for `ready` to hold, looking every 50 ms.
template <typename Ready>
bool WaitFor(Ready ready) {
    for (int i = 0; i < 200; ++i) {
        if (ready()) {
            return true;
        }
        Sleep(50);
    }
    return false;
}

struct Search {
    DWORD pid;
    HWND except;
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK MatchClass(HWND hwnd, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    if (pid == search->pid && hwnd != search->except && IsWindowVisible(hwnd) &&
        wcscmp(name, search->className) == 0) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

// A visible top-level window of class `className` of process `pid`, other than `except`.
HWND WindowOfClass(DWORD pid, const wchar_t* className, HWND except) {
    Search search{pid, except, className, nullptr};
    EnumWindows(&MatchClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Saves what the screen shows in `area` as a PNG file, through the system's imaging codecs.
bool SavePng(const RECT& area, const std::wstring& file) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY | CAPTUREBLT);
    SelectObject(memory, old);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    const UINT stride = static_cast<UINT>((width * 3 + 3) & ~3);
    std::vector<BYTE> pixels(static_cast<size_t>(stride) * height);
    const bool read =
        GetDIBits(memory, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS) == height;
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (!read) {
        return false;
    }

    IWICImagingFactory* factory = nullptr;
    IWICStream* stream = nullptr;
    IWICBitmapEncoder* encoder = nullptr;
    IWICBitmapFrameEncode* frame = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IWICImagingFactory, reinterpret_cast<void**>(&factory));
    if (SUCCEEDED(hr)) {
        hr = factory->CreateStream(&stream);
    }
    if (SUCCEEDED(hr)) {
        hr = stream->InitializeFromFilename(file.c_str(), GENERIC_WRITE);
    }
    if (SUCCEEDED(hr)) {
        hr = factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder);
    }
    if (SUCCEEDED(hr)) {
        hr = encoder->Initialize(stream, WICBitmapEncoderNoCache);
    }
    if (SUCCEEDED(hr)) {
        hr = encoder->CreateNewFrame(&frame, nullptr);
    }
    if (SUCCEEDED(hr)) {
        hr = frame->Initialize(nullptr);
    }
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (SUCCEEDED(hr)) {
        hr = frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height));
    }
    if (SUCCEEDED(hr)) {
        hr = frame->SetPixelFormat(&format);
    }
    if (SUCCEEDED(hr) && format != GUID_WICPixelFormat24bppBGR) {
        hr = E_FAIL;
    }
    if (SUCCEEDED(hr)) {
        hr = frame->WritePixels(static_cast<UINT>(height), stride, static_cast<UINT>(pixels.size()),
                                pixels.data());
    }
    if (SUCCEEDED(hr)) {
        hr = frame->Commit();
    }
    if (SUCCEEDED(hr)) {
        hr = encoder->Commit();
    }
    for (IUnknown* object : {static_cast<IUnknown*>(frame), static_cast<IUnknown*>(encoder),
                             static_cast<IUnknown*>(stream), static_cast<IUnknown*>(factory)}) {
        if (object != nullptr) {
            object->Release();
        }
    }
    return SUCCEEDED(hr);
}

RECT AreaOf(HWND hwnd) {
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    return rect;
}

bool Shot(const RECT& area, const std::wstring& folder, const wchar_t* name) {
    // The window has just changed: one more moment for its last paint to reach the screen.
    Sleep(300);
    const std::wstring file = folder + L"\\" + name;
    const bool ok = SavePng(area, file);
    std::printf("%s %ls\n", ok ? "saved" : "FAILED to save", file.c_str());
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: vz_win32_shots PATH\\Vuvereze.exe FOLDER\n");
        return 2;
    }
    const std::wstring folder = vztest::WindowsPath(argv[2]);
    std::wstring command = L"\"" + vztest::WindowsPath(argv[1]) + L"\"";
    CoInitialize(nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::fprintf(stderr, "cannot start %s (error %lu)\n", argv[1], GetLastError());
        return 1;
    }
    const DWORD pid = process.dwProcessId;
    bool ok = true;
    HWND main = nullptr;
    ok = WaitFor([&] { return (main = windriver::WindowOfProcess(pid, L"Zeriveve")) != nullptr; });
    if (!ok) {
        std::fprintf(stderr, "the window \"Zeriveve\" did not come up\n");
    }
    if (ok) {
        HWND lock = GetDlgItem(main, kLock);
        HWND list = GetDlgItem(main, kUserList);
        ok = WaitFor([&] { return IsWindowEnabled(lock) != FALSE; });
        if (ok) {
            // A click as the mouse makes it: the press, then the release.
            RECT rect;
            GetClientRect(lock, &rect);
            const LPARAM at = MAKELPARAM(rect.right / 2, rect.bottom / 2);
            PostMessageW(lock, WM_LBUTTONDOWN, MK_LBUTTON, at);
            PostMessageW(lock, WM_LBUTTONUP, 0, at);
            ok = WaitFor([&] { return SendMessageW(list, kListItemCount, 0, 0) > 0; });
        }
        if (!ok) {
            std::fprintf(stderr, "Lock did not fill the lists\n");
        }
    }
    ok = ok && Shot(AreaOf(main), folder, L"win32-main-locked.png");
    if (ok) {
        // The system menu, opened as Alt+Space opens it, with the window it belongs to.
        PostMessageW(main, WM_SYSCOMMAND, SC_KEYMENU, L' ');
        HWND menu = nullptr;
        ok = WaitFor([&] { return (menu = WindowOfClass(pid, L"#32768", nullptr)) != nullptr; });
        if (ok) {
            // The menu below the corner of the caption it drops from.
            const RECT window = AreaOf(main);
            const RECT popup = AreaOf(menu);
            const RECT area{window.left, window.top, popup.right + 4, popup.bottom + 4};
            ok = Shot(area, folder, L"win32-system-menu.png");
            PostMessageW(main, WM_CANCELMODE, 0, 0);
            WaitFor([&] { return WindowOfClass(pid, L"#32768", nullptr) == nullptr; });
        } else {
            std::fprintf(stderr, "the system menu did not open\n");
        }
    }
    if (ok) {
        PostMessageW(main, WM_SYSCOMMAND, kAboutCommand, 0);
        HWND about = nullptr;
        ok = WaitFor([&] { return (about = WindowOfClass(pid, L"#32770", main)) != nullptr; });
        ok = ok ? Shot(AreaOf(about), folder, L"win32-about-box.png")
                : (std::fprintf(stderr, "the About box did not open\n"), false);
        if (ok) {
            PostMessageW(about, WM_CLOSE, 0, 0);
            ok = WaitFor([&] { return WindowOfClass(pid, L"#32770", main) == nullptr; });
        }
    }
    if (ok) {
        // The signal window, once its first reading has listed the agreeing timings.
        PostMessageW(main, WM_SYSCOMMAND, kSignalCommand, 0);
        HWND signal = nullptr;
        ok = WaitFor([&] {
            signal = windriver::WindowOfProcess(pid, L"Input Signal");
            return signal != nullptr &&
                   SendMessageW(GetDlgItem(signal, kSignalMatches), kListItemCount, 0, 0) > 0;
        });
        ok = ok ? Shot(AreaOf(signal), folder, L"win32-signal-window.png")
                : (std::fprintf(stderr, "the signal window did not open\n"), false);
    }
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    CoUninitialize();
    return ok ? 0 : 1;
}
