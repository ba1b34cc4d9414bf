// The debugger channel of the Windows test programs.
#pragma once

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "tools/win32driver/Driver.h"

namespace vztest {

// What the programs of this session send to the debugger channel, as a debug-string listener
// sees it: the shared buffer and its two events, read on a thread of its own.
class CDebugListener {
  public:
    CDebugListener() {
        m_ready = CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_BUFFER_READY");
        m_data = CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_DATA_READY");
        m_mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096,
                                       L"DBWIN_BUFFER");
        m_view =
            m_mapping != nullptr ? MapViewOfFile(m_mapping, FILE_MAP_READ, 0, 0, 4096) : nullptr;
        InitializeCriticalSection(&m_lock);
        if (m_ready != nullptr && m_data != nullptr && m_view != nullptr) {
            m_thread = CreateThread(nullptr, 0, &CDebugListener::Listen, this, 0, nullptr);
        }
    }
    ~CDebugListener() {
        m_stop = true;
        if (m_thread != nullptr) {
            SetEvent(m_data);
            WaitForSingleObject(m_thread, 5000);
            CloseHandle(m_thread);
        }
        if (m_view != nullptr) {
            UnmapViewOfFile(m_view);
        }
        for (HANDLE h : {m_mapping, m_ready, m_data}) {
            if (h != nullptr) {
                CloseHandle(h);
            }
        }
        DeleteCriticalSection(&m_lock);
    }
    CDebugListener(const CDebugListener&) = delete;
    CDebugListener& operator=(const CDebugListener&) = delete;

    bool Heard(const std::string& text, DWORD ms) {
        const ULONGLONG end = GetTickCount64() + windriver::Patience(ms);
        do {
            EnterCriticalSection(&m_lock);
            bool found = false;
            for (const std::string& line : m_lines) {
                found = found || line.find(text) != std::string::npos;
            }
            LeaveCriticalSection(&m_lock);
            if (found) {
                return true;
            }
            Sleep(20);
        } while (GetTickCount64() < end);
        return false;
    }

  private:
    static DWORD WINAPI Listen(void* self) {
        auto* me = static_cast<CDebugListener*>(self);
        while (!me->m_stop) {
            SetEvent(me->m_ready);
            if (WaitForSingleObject(me->m_data, 1000) != WAIT_OBJECT_0 || me->m_stop) {
                continue;
            }
            const char* text = static_cast<const char*>(me->m_view) + sizeof(DWORD);
            EnterCriticalSection(&me->m_lock);
            me->m_lines.emplace_back(text, strnlen(text, 4096 - sizeof(DWORD)));
            LeaveCriticalSection(&me->m_lock);
        }
        return 0;
    }

    HANDLE m_ready = nullptr;
    HANDLE m_data = nullptr;
    HANDLE m_mapping = nullptr;
    void* m_view = nullptr;
    HANDLE m_thread = nullptr;
    CRITICAL_SECTION m_lock;
    volatile bool m_stop = false;
    std::vector<std::string> m_lines;
};

}  // namespace vztest
