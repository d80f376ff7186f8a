#include "common/tagged_value.h"

#include "common/error.h"
#include "common/unique_handle.h"

#include <optional>

namespace ferryl {

namespace {

[[noreturn]] void TypeMismatch() {
    RaiseTypeMismatch(ExecutableBaseName());
}

// Owns a VARIANT for the length of one conversion.
class ScopedVariant {
  public:
    ScopedVariant() noexcept { ::VariantInit(&m_variant); }
    explicit ScopedVariant(const VARIANT& adopted) noexcept : m_variant(adopted) {}
    ~ScopedVariant() { ::VariantClear(&m_variant); }
    ScopedVariant(const ScopedVariant&) = delete;
    ScopedVariant& operator=(const ScopedVariant&) = delete;
    VARIANT* get() noexcept { return &m_variant; }

  private:
    VARIANT m_variant;
};

std::wstring FromBstr(BSTR text) {
    return text ? std::wstring(text, ::SysStringLen(text)) : std::wstring();
}

UniqueBstr ToBstr(const std::wstring& text) {
    return UniqueBstr(::SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
}

std::optional<double> NumberFromText(const std::wstring& text) {
    UniqueBstr bstr = ToBstr(text);
    double number = 0;
    if (FAILED(::VarR8FromStr(bstr.get(), LOCALE_USER_DEFAULT, 0, &number)))
        return std::nullopt;
    return number;
}

std::optional<double> DateFromText(const std::wstring& text) {
    UniqueBstr bstr = ToBstr(text);
    DATE date = 0;
    if (FAILED(::VarDateFromStr(bstr.get(), LOCALE_USER_DEFAULT, 0, &date)))
        return std::nullopt;
    return date;
}

double NumericValue(const TaggedValue& value) {
    switch (value.kind()) {
        case TaggedValue::Kind::Empty:
            return 0.0;
        case TaggedValue::Kind::Boolean:
        case TaggedValue::Kind::Number:
        case TaggedValue::Kind::Date:
            return value.ToNumber();
        default:
            TypeMismatch();
    }
}

template <typename T>
std::strong_ordering Order(const T& left, const T& right) {
    if (left < right)
        return std::strong_ordering::less;
    if (right < left)
        return std::strong_ordering::greater;
    return std::strong_ordering::equal;
}

}  // namespace

TaggedValue TaggedValue::FromSystemTime(const SYSTEMTIME& time) {
    double date = 0;
    ::SystemTimeToVariantTime(const_cast<SYSTEMTIME*>(&time), &date);
    return TaggedValue(Date{date});
}

bool TaggedValue::IsMissing() const noexcept {
    const auto* error = std::get_if<ErrorValue>(&m_value);
    return error && error->scode == DISP_E_PARAMNOTFOUND;
}

bool TaggedValue::IsNumericKind() const noexcept {
    Kind k = kind();
    return k == Kind::Boolean || k == Kind::Number || k == Kind::Date;
}

bool TaggedValue::IsDate() const {
    if (kind() == Kind::Date)
        return true;
    if (const auto* text = std::get_if<std::wstring>(&m_value))
        return DateFromText(*text).has_value();
    return false;
}

bool TaggedValue::IsNumeric() const {
    switch (kind()) {
        case Kind::Empty:
        case Kind::Boolean:
        case Kind::Number:
        case Kind::Date:
            return true;
        case Kind::Text:
            return NumberFromText(Text()).has_value();
        default:
            return false;
    }
}

const std::wstring& TaggedValue::Text() const {
    if (const auto* text = std::get_if<std::wstring>(&m_value))
        return *text;
    TypeMismatch();
}

const ObjectRef& TaggedValue::ObjectValue() const {
    if (const auto* object = std::get_if<ObjectRef>(&m_value))
        return *object;
    TypeMismatch();
}

std::wstring TaggedValue::ToText() const {
    switch (kind()) {
        case Kind::Empty:
            return {};
        case Kind::Text:
            return Text();
        case Kind::Boolean:
            // Visual Basic's own spelling, whatever the locale.
            return std::get<bool>(m_value) ? L"True" : L"False";
        case Kind::Error:
            return L"Error " + std::to_wstring(std::get<ErrorValue>(m_value).scode & 0xFFFF);
        case Kind::Number:
        case Kind::Date: {
            ScopedVariant variant(ToVariant());
            ScopedVariant text;
            if (FAILED(::VariantChangeTypeEx(text.get(), variant.get(), LOCALE_USER_DEFAULT, 0, VT_BSTR)))
                TypeMismatch();
            return FromBstr(V_BSTR(text.get()));
        }
        case Kind::Object:
            break;
    }
    TypeMismatch();
}

double TaggedValue::ToNumber() const {
    switch (kind()) {
        case Kind::Empty:
            return 0.0;
        case Kind::Boolean:
            return std::get<bool>(m_value) ? -1.0 : 0.0;
        case Kind::Number:
            return std::get<double>(m_value);
        case Kind::Date:
            return std::get<Date>(m_value).value;
        case Kind::Text:
            if (auto number = NumberFromText(Text()))
                return *number;
            break;
        default:
            break;
    }
    TypeMismatch();
}

Date TaggedValue::ToDate() const {
    if (const auto* text = std::get_if<std::wstring>(&m_value)) {
        if (auto date = DateFromText(*text))
            return Date{*date};
        TypeMismatch();
    }
    return Date{ToNumber()};
}

bool TaggedValue::ToBoolean() const {
    if (const auto* text = std::get_if<std::wstring>(&m_value)) {
        // "True" and "False" in any letter case, else a number (non-zero is true).
        if (::CompareStringOrdinal(text->c_str(), -1, L"True", -1, TRUE) == CSTR_EQUAL)
            return true;
        if (::CompareStringOrdinal(text->c_str(), -1, L"False", -1, TRUE) == CSTR_EQUAL)
            return false;
    }
    return ToNumber() != 0.0;
}

std::wstring TaggedValue::Format(const std::wstring& picture, int firstDayOfWeek, int firstWeekOfYear) const {
    if (picture.empty())
        return ToText();
    if (kind() == Kind::Object || kind() == Kind::Error)
        TypeMismatch();
    ScopedVariant variant(ToVariant());
    UniqueBstr pattern = ToBstr(picture);
    UniqueBstr result;
    if (FAILED(::VarFormat(variant.get(), pattern.get(), firstDayOfWeek, firstWeekOfYear, 0, result.put())))
        TypeMismatch();
    return FromBstr(result.get());
}

VARIANT TaggedValue::ToVariant() const {
    VARIANT variant;
    ::VariantInit(&variant);
    switch (kind()) {
        case Kind::Empty:
        case Kind::Object:
            break;
        case Kind::Boolean:
            V_VT(&variant) = VT_BOOL;
            V_BOOL(&variant) = std::get<bool>(m_value) ? VARIANT_TRUE : VARIANT_FALSE;
            break;
        case Kind::Number:
            V_VT(&variant) = VT_R8;
            V_R8(&variant) = std::get<double>(m_value);
            break;
        case Kind::Date:
            V_VT(&variant) = VT_DATE;
            V_DATE(&variant) = std::get<Date>(m_value).value;
            break;
        case Kind::Text:
            V_VT(&variant) = VT_BSTR;
            V_BSTR(&variant) = ToBstr(Text()).release();
            break;
        case Kind::Error:
            V_VT(&variant) = VT_ERROR;
            V_ERROR(&variant) = std::get<ErrorValue>(m_value).scode;
            break;
    }
    return variant;
}

std::strong_ordering Compare(const TaggedValue& left, const TaggedValue& right) {
    using Kind = TaggedValue::Kind;
    Kind l = left.kind();
    Kind r = right.kind();
    if (l == Kind::Error || r == Kind::Error || l == Kind::Object || r == Kind::Object)
        TypeMismatch();
    if (l == Kind::Empty && r == Kind::Empty)
        return std::strong_ordering::equal;
    bool leftText = l == Kind::Text;
    bool rightText = r == Kind::Text;
    if (leftText && rightText)
        return Order(left.Text(), right.Text());
    if (leftText)
        return r == Kind::Empty ? Order(left.Text(), std::wstring()) : std::strong_ordering::greater;
    if (rightText)
        return l == Kind::Empty ? Order(std::wstring(), right.Text()) : std::strong_ordering::less;
    double a = NumericValue(left);
    double b = NumericValue(right);
    return a < b ? std::strong_ordering::less : b < a ? std::strong_ordering::greater : std::strong_ordering::equal;
}

bool TaggedValue::Identical(const TaggedValue& other) const {
    return m_value == other.m_value;
}

}  // namespace ferryl
