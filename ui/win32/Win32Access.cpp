#include "ui/win32/Win32Access.h"
#include "ui/Accessible.h"

#include <oleacc.h>

namespace ui::win32 {
namespace {

constexpr UINT_PTR kAccessSubclass = 1;

// {618736E0-3C3D-11CF-810C-00AA00389B71}: oleacc is loaded only when a reader asks, so the
// program carries the interface's number itself.
constexpr IID kIAccessible = {
    0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

using CreateStdAccessibleObjectFn = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
using LresultFromObjectFn = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);

struct Oleacc {
    CreateStdAccessibleObjectFn create = nullptr;
    LresultFromObjectFn lresult = nullptr;
};

const Oleacc& LoadOleacc() {
    static const Oleacc functions = [] {
        Oleacc f;
        if (HMODULE dll = LoadLibraryW(L"oleacc.dll")) {
            f.create = reinterpret_cast<CreateStdAccessibleObjectFn>(
                reinterpret_cast<void*>(GetProcAddress(dll, "CreateStdAccessibleObject")));
            f.lresult = reinterpret_cast<LresultFromObjectFn>(
                reinterpret_cast<void*>(GetProcAddress(dll, "LresultFromObject")));
        }
        return f;
    }();
    return functions;
}

std::wstring Wide(const std::string& utf8) {
    if (utf8.empty()) {
        return {};
    }
    const int size =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), size);
    return wide;
}

bool IsSelf(const VARIANT& child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

HRESULT Answer(const std::wstring& text, BSTR* out) {
    if (out == nullptr) {
        return E_INVALIDARG;
    }
    *out = nullptr;
    if (text.empty()) {
        return S_FALSE;
    }
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

// The system's object for the control, with the name and description of the control itself
// (not of its items) answered from the texts.
class CNamedAccessible final : public IAccessible {
  public:
    CNamedAccessible(IAccessible* inner, const AccessibleTexts& texts)
        : m_inner(inner), m_texts(texts) {}

    // IUnknown. What the system's object offers beside IAccessible (its window, its children
    // to enumerate) is the system object's own.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr) {
            return E_POINTER;
        }
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
            IsEqualIID(iid, kIAccessible)) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        return m_inner->QueryInterface(iid, out);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&m_refs); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG refs = InterlockedDecrement(&m_refs);
        if (refs == 0) {
            delete this;
        }
        return static_cast<ULONG>(refs);
    }

    // IDispatch.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        return m_inner->GetTypeInfoCount(count);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override {
        return m_inner->GetTypeInfo(index, lcid, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid,
                                            DISPID* ids) override {
        return m_inner->GetIDsOfNames(iid, names, count, lcid, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argument) override {
        return m_inner->Invoke(id, iid, lcid, flags, params, result, exception, argument);
    }

    // IAccessible.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        return IsSelf(child) && m_texts.ownName ? Answer(m_texts.name, name)
                                                : m_inner->get_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        return IsSelf(child) ? Answer(m_texts.description, text)
                             : m_inner->get_accDescription(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return m_inner->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        return m_inner->get_accChildCount(count);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        return m_inner->get_accChild(child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return m_inner->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        return m_inner->get_accRole(child, role);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return m_inner->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return m_inner->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
        return m_inner->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override {
        return m_inner->get_accKeyboardShortcut(child, keys);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
        return m_inner->get_accFocus(child);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
        return m_inner->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return m_inner->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
        return m_inner->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT child) override {
        return m_inner->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        return m_inner->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override {
        return m_inner->accHitTest(x, y, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return m_inner->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return m_inner->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return m_inner->put_accValue(child, value);
    }

  private:
    ~CNamedAccessible() { m_inner->Release(); }

    LONG m_refs = 1;
    IAccessible* m_inner;
    AccessibleTexts m_texts;
};

LRESULT CALLBACK AccessProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                            DWORD_PTR data) {
    if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == OBJID_CLIENT) {
        const Oleacc& oleacc = LoadOleacc();
        IAccessible* inner = nullptr;
        if (oleacc.create != nullptr && oleacc.lresult != nullptr &&
            SUCCEEDED(oleacc.create(hwnd, OBJID_CLIENT, kIAccessible,
                                    reinterpret_cast<void**>(&inner))) &&
            inner != nullptr) {
            auto* named = new CNamedAccessible(inner, *reinterpret_cast<AccessibleTexts*>(data));
            const LRESULT result = oleacc.lresult(kIAccessible, wParam, named);
            named->Release();
            return result;
        }
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace

bool OwnAccessibleTexts(const DialogTemplate& t, size_t index, AccessibleTexts& texts) {
    if (index >= t.controls.size()) {
        return false;
    }
    const ControlTemplate& control = t.controls[index];
    texts.ownName = !control.accessibleName.empty() || NamingLabel(t, index) >= 0;
    texts.name = Wide(AccessibleName(t, index));
    texts.description = Wide(AccessibleDescription(t, index));
    return texts.ownName || !texts.description.empty();
}

void AnswerAccessibility(HWND control, const AccessibleTexts* texts) {
    SetWindowSubclass(control, &AccessProc, kAccessSubclass, reinterpret_cast<DWORD_PTR>(texts));
}

void StopAnswering(HWND control) {
    RemoveWindowSubclass(control, &AccessProc, kAccessSubclass);
}

}  // namespace ui::win32
