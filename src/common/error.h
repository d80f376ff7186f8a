#pragma once
// The error the reusable classes raise to their caller: a number, a source and a description, as
// in "9 / Ferryl.MoskGrid / Invalid Row Index".

#include <exception>
#include <string>
#include <string_view>

namespace ferryl {

// Object-defined error numbers are this base OR'ed with a number of the class's own.
inline constexpr long kObjectErrorBase = static_cast<long>(0x80040000);

inline constexpr long kErrSubscriptOutOfRange = 9;
inline constexpr long kErrTypeMismatch = 13;
inline constexpr long kErrFileNotFound = 53;

class Error : public std::exception {
  public:
    // Takes the thread's last Win32 error as it stands (and leaves it so).
    Error(long number, std::wstring source, std::wstring description);

    long Number() const noexcept { return m_number; }
    const std::wstring& Source() const noexcept { return m_source; }
    const std::wstring& Description() const noexcept { return m_description; }
    // GetLastError when the error was raised: the system's reason where a system call failed.
    unsigned long LastError() const noexcept { return m_lastError; }
    const char* what() const noexcept override { return m_what.c_str(); }

  private:
    long m_number;
    std::wstring m_source;
    std::wstring m_description;
    unsigned long m_lastError;
    std::string m_what;
};

// The running executable's file name without folder and extension ("Ferryl" for Ferryl.exe).
std::wstring ExecutableBaseName();

// The source of an error raised by a class: "<executable base name>.<class>".
std::wstring ErrorSource(std::wstring_view className);

// Raises a type mismatch (13) from the given source.
[[noreturn]] void RaiseTypeMismatch(std::wstring_view source);

// Raises an object-defined error (kObjectErrorBase | number) from the class's source.
[[noreturn]] void RaiseObjectError(std::wstring_view className, long number, std::wstring_view description);

}  // namespace ferryl
