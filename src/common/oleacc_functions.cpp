#include "common/oleacc_functions.h"

#include "common/system_function.h"

namespace ferryl {

namespace {

// The function's address; null when oleacc.dll or the function is missing.
template <typename Fn>
Fn OleaccFunction(const char* name) noexcept {
    static const HMODULE oleacc = ::LoadLibraryW(L"oleacc.dll");  // stays loaded, as an import would
    return ExportedFunction<Fn>(oleacc, name);
}

}  // namespace

LRESULT OleaccLresultFromObject(REFIID riid, WPARAM wParam, IUnknown* object) noexcept {
    using Fn = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
    static const Fn lresultFromObject = OleaccFunction<Fn>("LresultFromObject");
    return lresultFromObject ? lresultFromObject(riid, wParam, object) : 0;
}

HRESULT OleaccAccessibleObjectFromWindow(HWND hwnd, DWORD objectId, REFIID riid, void** object) noexcept {
    using Fn = HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**);
    static const Fn accessibleObjectFromWindow = OleaccFunction<Fn>("AccessibleObjectFromWindow");
    if (accessibleObjectFromWindow)
        return accessibleObjectFromWindow(hwnd, objectId, riid, object);
    if (object)
        *object = nullptr;
    return HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
}

}  // namespace ferryl
