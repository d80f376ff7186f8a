#include "common/error.h"

#include <windows.h>

#include "common/module_path.h"
#include "common/text.h"

namespace ferryl {

Error::Error(long number, std::wstring source, std::wstring description)
    : m_number(number),
      m_source(std::move(source)),
      m_description(std::move(description)),
      m_lastError(::GetLastError()) {
    m_what = ToAnsi(m_source) + ": error " + std::to_string(m_number) + ": " + ToAnsi(m_description);
    // The conversions may have set it; whoever catches this may still ask the system.
    ::SetLastError(m_lastError);
}

std::wstring ExecutableBaseName() {
    // Named in the raise of an error that follows a failed system call: its reason stays.
    const DWORD lastError = ::GetLastError();
    std::wstring path = ModulePath();
    ::SetLastError(lastError);
    size_t nameStart = path.find_last_of(L"\\/");
    std::wstring name = nameStart == std::wstring::npos ? path : path.substr(nameStart + 1);
    size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos && dot > 0)
        name.resize(dot);
    return name;
}

std::wstring ErrorSource(std::wstring_view className) {
    return ExecutableBaseName() + L"." + std::wstring(className);
}

void RaiseTypeMismatch(std::wstring_view source) {
    throw Error(kErrTypeMismatch, std::wstring(source), L"Type mismatch");
}

void RaiseObjectError(std::wstring_view className, long number, std::wstring_view description) {
    throw Error(kObjectErrorBase | number, ErrorSource(className), std::wstring(description));
}

}  // namespace ferryl
