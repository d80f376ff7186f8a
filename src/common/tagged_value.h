#pragma once
// A value that holds nothing, a Boolean, a number, a date, a text, an error marker (the marker of a
// missing optional argument among them) or an object reference, with the conversions and the
// comparison of a Visual Basic Variant. Conversions go through the system's VARIANT functions, so
// texts, numbers and dates follow the user's locale exactly as the rest of Windows does.

#include <windows.h>
// oleauto.h needs the types of windows.h before it.
#include <oleauto.h>

#include <compare>
#include <memory>
#include <string>
#include <variant>

namespace ferryl {

// Anything a tagged value can refer to (fonts, pictures, an owner's own data).
class Object {
  public:
    virtual ~Object() = default;
};
using ObjectRef = std::shared_ptr<Object>;

// An OLE Automation date: days since 30 December 1899, the time of day as the fraction.
struct Date {
    double value = 0.0;
    friend bool operator==(const Date&, const Date&) = default;
};

// An error value; DISP_E_PARAMNOTFOUND marks a missing optional argument.
struct ErrorValue {
    long scode = DISP_E_PARAMNOTFOUND;
    friend bool operator==(const ErrorValue&, const ErrorValue&) = default;
};

// Days of the week and first weeks as the picture formatter counts them.
inline constexpr int kFirstDaySunday = 1;
inline constexpr int kFirstWeekJan1 = 1;

class TaggedValue {
  public:
    enum class Kind { Empty, Boolean, Number, Date, Text, Error, Object };

    TaggedValue() = default;
    TaggedValue(bool value) : m_value(value) {}
    TaggedValue(int value) : m_value(static_cast<double>(value)) {}
    TaggedValue(long value) : m_value(static_cast<double>(value)) {}
    TaggedValue(long long value) : m_value(static_cast<double>(value)) {}
    TaggedValue(double value) : m_value(value) {}
    TaggedValue(Date value) : m_value(value) {}
    TaggedValue(ErrorValue value) : m_value(value) {}
    TaggedValue(std::wstring value) : m_value(std::move(value)) {}
    TaggedValue(const wchar_t* value) : m_value(std::wstring(value ? value : L"")) {}
    TaggedValue(ObjectRef value) : m_value(std::move(value)) {}

    static TaggedValue Missing() { return TaggedValue(ErrorValue{}); }
    static TaggedValue FromSystemTime(const SYSTEMTIME& time);

    Kind kind() const noexcept { return static_cast<Kind>(m_value.index()); }
    bool IsEmpty() const noexcept { return kind() == Kind::Empty; }
    bool IsText() const noexcept { return kind() == Kind::Text; }
    bool IsError() const noexcept { return kind() == Kind::Error; }
    bool IsMissing() const noexcept;
    bool IsObject() const noexcept { return kind() == Kind::Object; }
    // Numbers, Booleans and dates: what the comparison treats as numeric.
    bool IsNumericKind() const noexcept;
    // A date, or a text that reads as a date in the user's locale.
    bool IsDate() const;
    // A number of any kind, an empty value, or a text that reads as a number.
    bool IsNumeric() const;

    // The held text or object as it is (type mismatch for any other kind).
    const std::wstring& Text() const;
    const ObjectRef& ObjectValue() const;

    // Conversions with Visual Basic's rules; what cannot be converted raises a type mismatch (13).
    std::wstring ToText() const;
    double ToNumber() const;
    Date ToDate() const;
    bool ToBoolean() const;

    // Formats the value with a picture such as "dd/mm/yy hh:mm" or "#,###,###,##0"; an empty
    // picture gives ToText().
    std::wstring Format(const std::wstring& picture,
                        int firstDayOfWeek = kFirstDaySunday,
                        int firstWeekOfYear = kFirstWeekJan1) const;

    // A VARIANT holding a copy of the value; the caller clears it (objects become VT_EMPTY).
    VARIANT ToVariant() const;

    // Visual Basic's comparison of two Variants under binary text comparison: numbers with numbers,
    // texts with texts (code unit order), a number below any text, Empty as 0 or "" beside the other
    // side. Errors and objects cannot be compared and raise a type mismatch.
    friend std::strong_ordering Compare(const TaggedValue& left, const TaggedValue& right);
    friend bool operator==(const TaggedValue& left, const TaggedValue& right) {
        return Compare(left, right) == std::strong_ordering::equal;
    }

    // Same kind and same content (objects by identity); never raises.
    bool Identical(const TaggedValue& other) const;

  private:
    std::variant<std::monostate, bool, double, Date, std::wstring, ErrorValue, ObjectRef> m_value;
};

}  // namespace ferryl
