#include "common/error.h"

#include <windows.h>

#include "common/module_path.h"
#include "common/text.h"

namespace ferryl {

Error::Error(long number, std::wstring source, std::wstring description)
    : m_number(number), m_source(std::move(source)), m_description(std::move(description)) {
    m_what = ToAnsi(m_source) + ": error " + std::to_string(m_number) + ": " + ToAnsi(m_description);
}

std::wstring ExecutableBaseName() {
    std::wstring path = ModulePath();
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

}  // namespace ferryl
