#include "grid/grid_errors.h"

namespace ferryl {

void RaiseGridError(long number, const std::wstring& description) {
    std::wstring text = description;
    if (text.empty()) {
        if (number == kErrSubscriptOutOfRange)
            text = kTextSubscriptOutOfRange;
        else if (number == kErrKeyInUse)
            text = kTextKeyInUse;
        else if (number == kErrNotSupported)
            text = L"Object doesn't support this action";
    }
    throw Error(number, ErrorSource(L"MoskGrid"), text);
}

}  // namespace ferryl
