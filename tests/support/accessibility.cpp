#include "support/accessibility.h"

#include <gtest/gtest.h>

#include "grid/grid_accessible.h"
#include "support/messages.h"

namespace ferryl::test {

namespace {

WinEventRecorder* g_recorder = nullptr;

std::wstring Text(IAccessible* object, long child, HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*)) {
    BSTR text = nullptr;
    const HRESULT hr = (object->*get)(Child(child), &text);
    std::wstring result = SUCCEEDED(hr) && text ? std::wstring(text, ::SysStringLen(text)) : std::wstring();
    ::SysFreeString(text);
    return result;
}

long Number(IAccessible* object, long child, HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*)) {
    VARIANT value;
    ::VariantInit(&value);
    const long result = SUCCEEDED((object->*get)(Child(child), &value)) ? ChildId(value) : -1;
    ::VariantClear(&value);
    return result;
}

}  // namespace

AccessibleRef ClientAccessible(HWND window) {
    IAccessible* object = nullptr;
    if (FAILED(::AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), kIID_IAccessible,
                                            reinterpret_cast<void**>(&object))))
        object = nullptr;
    return AccessibleRef(object);
}

VARIANT Child(long child) {
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = child;
    return v;
}

std::wstring Name(IAccessible* object, long child) {
    return Text(object, child, &IAccessible::get_accName);
}

std::wstring Description(IAccessible* object, long child) {
    return Text(object, child, &IAccessible::get_accDescription);
}

std::wstring DefaultAction(IAccessible* object, long child) {
    return Text(object, child, &IAccessible::get_accDefaultAction);
}

long Role(IAccessible* object, long child) {
    return Number(object, child, &IAccessible::get_accRole);
}

long State(IAccessible* object, long child) {
    return Number(object, child, &IAccessible::get_accState);
}

std::vector<long> Selection(IAccessible* object) {
    VARIANT value;
    ::VariantInit(&value);
    std::vector<long> children;
    if (FAILED(object->get_accSelection(&value)))
        return children;
    IEnumVARIANT* items = nullptr;
    if (value.vt == VT_I4) {
        children.push_back(value.lVal);
    } else if (value.vt == VT_UNKNOWN && value.punkVal &&
               SUCCEEDED(value.punkVal->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(&items)))) {
        VARIANT item;
        ::VariantInit(&item);
        for (ULONG fetched = 0; items->Next(1, &item, &fetched) == S_OK && fetched == 1; ::VariantClear(&item))
            children.push_back(ChildId(item));
        items->Release();
    }
    ::VariantClear(&value);
    return children;
}

long ChildId(const VARIANT& result) {
    return result.vt == VT_I4 ? result.lVal : -1;
}

WinEventRecorder::WinEventRecorder(DWORD first, DWORD last, DWORD processId) {
    g_recorder = this;
    m_hook = ::SetWinEventHook(first, last, nullptr, &WinEventRecorder::Callback, processId, 0, WINEVENT_OUTOFCONTEXT);
}

WinEventRecorder::~WinEventRecorder() {
    if (m_hook)
        ::UnhookWinEvent(m_hook);
    g_recorder = nullptr;
}

size_t WinEventRecorder::Count(DWORD event, HWND window, LONG child) {
    PumpMessages();
    size_t count = 0;
    for (const WinEvent& e : m_events)
        count += e.event == event && e.window == window && e.child == child ? 1 : 0;
    return count;
}

void CALLBACK WinEventRecorder::Callback(HWINEVENTHOOK, DWORD event, HWND window, LONG, LONG child, DWORD, DWORD) {
    if (g_recorder)
        g_recorder->m_events.push_back(WinEvent{event, window, child});
}

void ExpectSpokenRow(const std::wstring& spoken,
                     const std::wstring& path,
                     int month,
                     const std::wstring& year,
                     const std::wstring& size) {
    const size_t slash = path.find_last_of(L'\\');
    wchar_t monthName[64]{};
    ::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SMONTHNAME1 + static_cast<LCTYPE>(month - 1), monthName, 64);
    EXPECT_TRUE(spoken.starts_with(path.substr(slash + 1) + L", ")) << spoken;
    EXPECT_NE(spoken.find(monthName), std::wstring::npos) << spoken;
    EXPECT_NE(spoken.find(year), std::wstring::npos) << spoken;
    EXPECT_TRUE(spoken.ends_with(L", " + size + L" bytes, in " + path.substr(0, slash))) << spoken;
}

}  // namespace ferryl::test
