#include "grid/grid_accessible.h"

#include <algorithm>
#include <new>
#include <string>
#include <vector>

#include "common/com_object.h"
#include "common/continue_on_error.h"
#include "common/oleacc_functions.h"
#include "common/unique_handle.h"
#include "grid/mosk_grid.h"
#include "grid/mosk_grid_sinks.h"
#include "winsvc/window_text.h"

namespace ferryl {

namespace {

constexpr wchar_t kRowDefaultAction[] = L"Double Click";

// The child a VARIANT names: CHILDID_SELF (0) or a row number; -1 for anything that is no number.
long ChildOf(const VARIANT& child) {
    if (child.vt == VT_I4)
        return child.lVal;
    VARIANT number;
    ::VariantInit(&number);
    // The source is only read; the declaration lacks the const.
    if (FAILED(::VariantChangeType(&number, const_cast<VARIANT*>(&child), 0, VT_I4)))
        return -1;
    return number.lVal;
}

void SetChild(VARIANT* result, long child) {
    result->vt = VT_I4;
    result->lVal = child;
}

HRESULT SetText(BSTR* result, const std::wstring& text) {
    if (text.empty())
        return S_FALSE;
    *result = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *result ? S_OK : E_OUTOFMEMORY;
}

// The rows chosen when several are selected, handed out one by one as VT_I4 child ids.
class ChildEnumerator final : public ComObject<IEnumVARIANT> {
  public:
    explicit ChildEnumerator(std::vector<long> children, size_t next = 0)
        : m_children(std::move(children)), m_next(next) {}

    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* items, ULONG* fetched) override {
        if (!items)
            return E_POINTER;
        ULONG done = 0;
        for (; done < count && m_next < m_children.size(); ++done)
            SetChild(&items[done], m_children[m_next++]);
        if (fetched)
            *fetched = done;
        return done == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
        const size_t left = m_children.size() - m_next;
        m_next += std::min<size_t>(count, left);
        return count <= left ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        m_next = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** copy) override {
        if (!copy)
            return E_POINTER;
        *copy = new (std::nothrow) ChildEnumerator(m_children, m_next);
        return *copy ? S_OK : E_OUTOFMEMORY;
    }

  private:
    bool AnswersTo(REFIID riid) const noexcept override { return riid == IID_IEnumVARIANT; }

    std::vector<long> m_children;
    size_t m_next;
};

}  // namespace

// The grid's IAccessible. It reads the grid through a pointer that Disconnect clears when the
// window goes; every call after that answers CO_E_OBJNOTCONNECTED.
class GridAccessible final : public ComObject<IAccessible> {
  public:
    explicit GridAccessible(MoskGrid& grid) noexcept : m_grid(&grid) {}

    void Disconnect() noexcept { m_grid = nullptr; }

    // IDispatch, through the interface's type information in oleacc.dll.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count)
            return E_POINTER;
        *count = TypeInfo(false) ? 1 : 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
        if (!info)
            return E_POINTER;
        *info = nullptr;
        if (index != 0)
            return DISP_E_BADINDEX;
        ITypeInfo* dispatchInfo = TypeInfo(false);
        if (!dispatchInfo)
            return E_NOTIMPL;
        dispatchInfo->AddRef();
        *info = dispatchInfo;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        if (riid != IID_NULL)
            return DISP_E_UNKNOWNINTERFACE;
        ITypeInfo* info = TypeInfo(true);
        return info ? ::DispGetIDsOfNames(info, names, count, ids) : E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id,
                                     REFIID riid,
                                     LCID,
                                     WORD flags,
                                     DISPPARAMS* params,
                                     VARIANT* result,
                                     EXCEPINFO* exception,
                                     UINT* argumentError) override {
        if (riid != IID_NULL)
            return DISP_E_UNKNOWNINTERFACE;
        ITypeInfo* info = TypeInfo(true);
        if (!info)
            return DISP_E_MEMBERNOTFOUND;
        return ::DispInvoke(static_cast<IAccessible*>(this), info, id, flags, params, result, exception, argumentError);
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        if (!parent)
            return E_POINTER;
        *parent = nullptr;
        if (!Connected())
            return CO_E_OBJNOTCONNECTED;
        // The window around the client area, as the system describes it.
        return OleaccAccessibleObjectFromWindow(m_grid->hwnd(), static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch,
                                                reinterpret_cast<void**>(parent));
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        if (!count)
            return E_POINTER;
        *count = 0;
        if (!Connected())
            return CO_E_OBJNOTCONNECTED;
        *count = m_grid->Rows();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** result) override {
        if (!result)
            return E_POINTER;
        *result = nullptr;
        long row = 0;
        if (HRESULT hr = Check(child, row); hr != S_OK)
            return hr;
        // Rows are simple elements: their parent answers for them.
        return row == CHILDID_SELF ? E_INVALIDARG : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        return Text(child, name,
                    [&](long row) { return row == CHILDID_SELF ? WindowText(m_grid->hwnd()) : RowName(row); });
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return Text(child, value, [](long) { return std::wstring(); });
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        return Text(child, description,
                    [&](long row) { return row == CHILDID_SELF ? std::wstring() : ColumnCaptions(); });
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!role)
            return E_POINTER;
        ::VariantInit(role);
        long row = 0;
        if (HRESULT hr = Check(child, row); hr != S_OK)
            return hr;
        SetChild(role, row == CHILDID_SELF ? ROLE_SYSTEM_LIST : ROLE_SYSTEM_LISTITEM);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        if (!state)
            return E_POINTER;
        ::VariantInit(state);
        long row = 0;
        if (HRESULT hr = Check(child, row); hr != S_OK)
            return hr;
        SetChild(state, static_cast<long>(row == CHILDID_SELF ? GridState() : RowState(row)));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return Text(child, help, [](long) { return std::wstring(); });
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
        if (!file || !topic)
            return E_POINTER;
        *file = nullptr;
        *topic = 0;
        long row = 0;
        if (HRESULT hr = Check(child, row); hr != S_OK)
            return hr;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return Text(child, shortcut, [](long) { return std::wstring(); });
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        if (!focus)
            return E_POINTER;
        ::VariantInit(focus);
        if (!Connected())
            return CO_E_OBJNOTCONNECTED;
        if (::GetFocus() != m_grid->hwnd())
            return S_FALSE;
        const long row = m_grid->SelectedRow();
        SetChild(focus, row >= 1 && row <= m_grid->Rows() ? row : CHILDID_SELF);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        if (!selection)
            return E_POINTER;
        ::VariantInit(selection);
        if (!Connected())
            return CO_E_OBJNOTCONNECTED;
        std::vector<long> rows;
        for (long row = 1; row <= m_grid->Rows(); ++row) {
            if (RowSelected(row))
                rows.push_back(row);
        }
        if (rows.empty())
            return S_FALSE;
        if (rows.size() == 1) {
            SetChild(selection, rows.front());
            return S_OK;
        }
        auto* enumerator = new (std::nothrow) ChildEnumerator(std::move(rows));
        if (!enumerator)
            return E_OUTOFMEMORY;
        selection->vt = VT_UNKNOWN;
        selection->punkVal = enumerator;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return Text(child, action,
                    [](long row) { return row == CHILDID_SELF ? std::wstring() : std::wstring(kRowDefaultAction); });
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
        long row = 0;
        if (HRESULT hr = Check(child, row); hr != S_OK)
            return hr;
        constexpr LONG known = SELFLAG_TAKEFOCUS | SELFLAG_TAKESELECTION | SELFLAG_EXTENDSELECTION |
                               SELFLAG_ADDSELECTION | SELFLAG_REMOVESELECTION;
        const bool add = (flags & SELFLAG_ADDSELECTION) != 0, remove = (flags & SELFLAG_REMOVESELECTION) != 0;
        const bool take = (flags & SELFLAG_TAKESELECTION) != 0, extend = (flags & SELFLAG_EXTENDSELECTION) != 0;
        if ((flags & ~known) || (add && remove) || (take && (add || remove || extend)))
            return E_INVALIDARG;
        // The list itself can only take the focus.
        if (row == CHILDID_SELF && flags != SELFLAG_TAKEFOCUS)
            return E_INVALIDARG;
        // A disabled grid, or one under a modal box, can be read but not selected or focused.
        if (!Usable())
            return E_FAIL;
        if (row == CHILDID_SELF) {
            ::SetFocus(m_grid->hwnd());
            return S_OK;
        }
        if ((add || remove || extend) && !m_grid->MultiSelect())
            return E_INVALIDARG;
        const bool selected = ContinueOnError(L"IAccessible.accSelect", [&] { m_grid->m_access->Select(row, flags); });
        return selected ? S_OK : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override {
        if (!left || !top || !width || !height)
            return E_POINTER;
        *left = *top = *width = *height = 0;
        long row = 0;
        if (HRESULT hr = Check(child, row); hr != S_OK)
            return hr;
        RECT rc = row == CHILDID_SELF ? WindowRect() : RowRect(row);
        *left = rc.left;
        *top = rc.top;
        *width = rc.right - rc.left;
        *height = rc.bottom - rc.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        if (!end)
            return E_POINTER;
        ::VariantInit(end);
        long row = 0;
        if (HRESULT hr = Check(start, row); hr != S_OK)
            return hr;
        const long target = Navigate(direction, row);
        if (target < 0)
            return E_INVALIDARG;
        if (target == 0)
            return S_FALSE;
        SetChild(end, target);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override {
        if (!child)
            return E_POINTER;
        ::VariantInit(child);
        if (!Connected())
            return CO_E_OBJNOTCONNECTED;
        const RECT window = WindowRect();
        if (x < window.left || x >= window.right || y < window.top || y >= window.bottom)
            return S_FALSE;
        POINT pt{x, y};
        ::ScreenToClient(m_grid->hwnd(), &pt);
        long row = 0, col = 0;
        if (pt.y >= m_grid->HeaderVisibleHeight() && m_grid->Rows() >= 1) {
            if (!ContinueOnError(L"IAccessible.accHitTest", [&] { m_grid->CellFromPoint(pt.x, pt.y, row, col); }))
                row = 0;
        }
        SetChild(child, row >= 1 ? row : CHILDID_SELF);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        long row = 0;
        if (HRESULT hr = Check(child, row); hr != S_OK)
            return hr;
        if (row == CHILDID_SELF)
            return DISP_E_MEMBERNOTFOUND;
        if (!Usable())
            return E_FAIL;
        // Done once this call has returned: the action may open a program or a dialog box, and a
        // caller in another process would wait for it all that time.
        return ::PostMessageW(m_grid->hwnd(), MoskGrid::kMsgDefaultAction, static_cast<WPARAM>(row), 0) ? S_OK : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

  private:
    ~GridAccessible() = default;

    bool Connected() const noexcept { return m_grid && m_grid->hwnd(); }

    // What the mouse and keys can reach: the grid and its window enabled, and its top-level window
    // too, which its owner disables while a modal box or a mail client's compose window is up.
    bool Usable() const noexcept {
        HWND hwnd = m_grid->hwnd();
        return m_grid->Enabled() && ::IsWindowEnabled(hwnd) && ::IsWindowEnabled(::GetAncestor(hwnd, GA_ROOT));
    }

    // S_OK with the child's number when it names the list or one of its rows.
    HRESULT Check(const VARIANT& child, long& row) const {
        if (!Connected())
            return CO_E_OBJNOTCONNECTED;
        row = ChildOf(child);
        return row >= 0 && row <= m_grid->Rows() ? S_OK : E_INVALIDARG;
    }

    template <typename TextOf>
    HRESULT Text(const VARIANT& child, BSTR* result, TextOf&& textOf) {
        if (!result)
            return E_POINTER;
        *result = nullptr;
        long row = 0;
        if (HRESULT hr = Check(child, row); hr != S_OK)
            return hr;
        HRESULT hr = E_FAIL;
        ContinueOnError(L"IAccessible text", [&] { hr = SetText(result, textOf(row)); });
        return hr;
    }

    // The type information of IAccessible from oleacc.dll's type library, loaded on first use: the
    // dispatch description (`vtable` false) or the interface that DispInvoke calls through.
    ITypeInfo* TypeInfo(bool vtable) {
        if (!m_typeInfoTried) {
            m_typeInfoTried = true;
            UniqueCom<ITypeLib> library;
            UniqueCom<ITypeInfo> dispatchInfo, interfaceInfo;
            HREFTYPE interfaceRef = 0;
            // A dual interface: its dispatch description refers to the interface itself.
            if (SUCCEEDED(::LoadTypeLibEx(L"oleacc.dll", REGKIND_NONE, library.put())) &&
                SUCCEEDED(library.get()->GetTypeInfoOfGuid(kIID_IAccessible, dispatchInfo.put())) &&
                SUCCEEDED(dispatchInfo.get()->GetRefTypeOfImplType(static_cast<UINT>(-1), &interfaceRef)) &&
                SUCCEEDED(dispatchInfo.get()->GetRefTypeInfo(interfaceRef, interfaceInfo.put())) && interfaceInfo) {
                m_dispatchInfo = std::move(dispatchInfo);
                m_interfaceInfo = std::move(interfaceInfo);
            }
        }
        return vtable ? m_interfaceInfo.get() : m_dispatchInfo.get();
    }

    // The display positions of the cells a row shows side by side (the row text comes apart).
    std::vector<long> ShownPositions() const {
        std::vector<long> positions;
        const auto& model = m_grid->m_model;
        for (long p = 1; p <= model.Columns(); ++p) {
            if (model.Column(p).bVisible && !model.IsRowTextPosition(p))
                positions.push_back(p);
        }
        return positions;
    }

    // The row's cells as shown, in column order, joined with ", "; then its row text where the
    // grid paints it.
    std::wstring RowName(long row) const {
        const auto& model = m_grid->m_model;
        const tGridRow& shape = model.Row(row);
        std::wstring name;
        auto add = [&](const std::wstring& text) {
            if (text.empty())
                return;
            if (!name.empty())
                name += L", ";
            name += text;
        };
        if (!shape.bGroupRow) {
            for (long p : ShownPositions())
                add(m_grid->CellFormattedText(row, model.CellColumnAt(p)));
        }
        if (model.HasRowText() && (model.RowMode() || shape.bGroupRow))
            add(m_grid->CellFormattedText(row, model.RowTextCellColumn()));
        m_grid->m_listener->RowAccessibleName(row, name);
        return name;
    }

    std::wstring ColumnCaptions() const {
        std::wstring captions;
        for (long p : ShownPositions()) {
            const std::wstring& caption = m_grid->m_model.Column(p).sHeader;
            if (caption.empty())
                continue;
            if (!captions.empty())
                captions += L", ";
            captions += caption;
        }
        return captions;
    }

    bool RowSelected(long row) const { return m_grid->m_access->RowSelected(row); }

    DWORD GridState() const {
        HWND hwnd = m_grid->hwnd();
        DWORD state = STATE_SYSTEM_FOCUSABLE;
        if (::GetFocus() == hwnd)
            state |= STATE_SYSTEM_FOCUSED;
        if (!Usable())
            state |= STATE_SYSTEM_UNAVAILABLE;
        if (m_grid->MultiSelect())
            state |= STATE_SYSTEM_MULTISELECTABLE | STATE_SYSTEM_EXTSELECTABLE;
        if (!::IsWindowVisible(hwnd))
            state |= STATE_SYSTEM_INVISIBLE;
        return state;
    }

    DWORD RowState(long row) const {
        DWORD state = STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
        if (!Usable())
            state |= STATE_SYSTEM_UNAVAILABLE;
        // A disabled grid shows no selection; one in a disabled window still does.
        if (m_grid->Enabled() && RowSelected(row))
            state |= STATE_SYSTEM_SELECTED;
        if (row == m_grid->SelectedRow() && ::GetFocus() == m_grid->hwnd())
            state |= STATE_SYSTEM_FOCUSED;
        const tGridRow& shape = m_grid->m_model.Row(row);
        if (!shape.bVisible) {
            state |= STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN;
        } else {
            const long top = m_grid->RowStartY(row) - m_grid->ScrollOffsetY();
            if (top + shape.lHeight <= 0 || top >= m_grid->VisibleDataHeight())
                state |= STATE_SYSTEM_OFFSCREEN;
        }
        return state;
    }

    RECT WindowRect() const {
        RECT rc{};
        ::GetWindowRect(m_grid->hwnd(), &rc);
        return rc;
    }

    // The row's full width (its cells, scrolled as painted) in screen pixels; a hidden row has no
    // height.
    RECT RowRect(long row) const {
        const long right = m_grid->m_model.DataWidth();
        const tGridRow& shape = m_grid->m_model.Row(row);
        POINT origin{-m_grid->ScrollOffsetX(),
                     m_grid->HeaderVisibleHeight() + m_grid->RowStartY(row) - m_grid->ScrollOffsetY()};
        ::ClientToScreen(m_grid->hwnd(), &origin);
        return RECT{origin.x, origin.y, origin.x + right, origin.y + (shape.bVisible ? shape.lHeight : 0)};
    }

    // The row reached from `from` (CHILDID_SELF or a row); 0 for none there, -1 for a direction
    // that means nothing.
    long Navigate(long direction, long from) const {
        const long rows = m_grid->Rows();
        const auto& model = m_grid->m_model;
        auto shownStep = [&](long row, long step) {
            for (row += step; row >= 1 && row <= rows; row += step) {
                if (model.Row(row).bVisible)
                    return row;
            }
            return 0L;
        };
        switch (direction) {
            case NAVDIR_FIRSTCHILD:
                return from == CHILDID_SELF && rows >= 1 ? 1 : 0;
            case NAVDIR_LASTCHILD:
                return from == CHILDID_SELF ? rows : 0;
            case NAVDIR_NEXT:
                return from != CHILDID_SELF && from < rows ? from + 1 : 0;
            case NAVDIR_PREVIOUS:
                return from != CHILDID_SELF && from > 1 ? from - 1 : 0;
            // On the screen, hidden rows are passed over.
            case NAVDIR_DOWN:
                return from != CHILDID_SELF ? shownStep(from, 1) : 0;
            case NAVDIR_UP:
                return from != CHILDID_SELF ? shownStep(from, -1) : 0;
            case NAVDIR_LEFT:
            case NAVDIR_RIGHT:
                return 0;
            default:
                return -1;
        }
    }

    bool AnswersTo(REFIID riid) const noexcept override { return riid == IID_IDispatch || riid == kIID_IAccessible; }

    MoskGrid* m_grid;
    bool m_typeInfoTried = false;
    UniqueCom<ITypeInfo> m_dispatchInfo;
    UniqueCom<ITypeInfo> m_interfaceInfo;
};

GridAccessibility::~GridAccessibility() {
    Disconnect();
}

LRESULT GridAccessibility::OnGetObject(WPARAM wParam, LPARAM lParam) noexcept {
    // The object id travels as a 32-bit value: on 64-bit Windows lParam may carry it unextended.
    if (static_cast<LONG>(lParam) != OBJID_CLIENT || !m_grid.hwnd())
        return 0;
    if (!m_object)
        m_object = new (std::nothrow) GridAccessible(m_grid);
    if (!m_object)
        return 0;
    const LRESULT result = OleaccLresultFromObject(kIID_IAccessible, wParam, static_cast<IAccessible*>(m_object));
    return result > 0 ? result : 0;
}

void GridAccessibility::Announce() noexcept {
    HWND hwnd = m_grid.hwnd();
    if (!hwnd)
        return;
    if (m_rowsChanged) {
        m_rowsChanged = false;
        ::NotifyWinEvent(EVENT_OBJECT_REORDER, hwnd, OBJID_CLIENT, CHILDID_SELF);
    }
    const long row = m_grid.SelectedRow();
    // The grid's own record of the focus: no call to the system on every paint.
    const bool focused = m_grid.m_bHasFocus;
    const bool moved = row != m_announcedRow;
    if (row >= 1 && row <= m_grid.Rows()) {
        if (focused && (moved || !m_announcedFocus))
            ::NotifyWinEvent(EVENT_OBJECT_FOCUS, hwnd, OBJID_CLIENT, row);
        if (moved && RowSelected(row))
            ::NotifyWinEvent(EVENT_OBJECT_SELECTION, hwnd, OBJID_CLIENT, row);
    }
    m_announcedRow = row;
    m_announcedFocus = focused;
}

bool GridAccessibility::RowSelected(long lRow) const {
    return m_grid.m_model.RowHasSelection(lRow);
}

void GridAccessibility::Select(long lRow, LONG flags) {
    MoskGrid& grid = m_grid;
    GridModel<tGridCell>& model = grid.m_model;
    const GridCursor old = model.Current();
    if (old.column < 1)
        model.SetCurrent(GridCursor{old.row, std::max(model.FirstVisibleColumn(), 1L)});
    if (flags & SELFLAG_TAKEFOCUS)
        ::SetFocus(grid.hwnd());
    if ((flags & SELFLAG_TAKESELECTION) || ((flags & SELFLAG_TAKEFOCUS) && !grid.MultiSelect())) {
        // Exactly this row (in cell mode its current cell), scrolled into view and painted.
        grid.SelectedRow(lRow);
    } else {
        // Several rows may be selected: the flags say which change, from the current row to this
        // one when extending; with the focus this row becomes current.
        const bool extend = (flags & SELFLAG_EXTENDSELECTION) != 0;
        const long anchor = old.row >= 1 && old.row <= grid.Rows() ? old.row : lRow;
        bool state = (flags & SELFLAG_REMOVESELECTION) == 0;
        if (extend && !(flags & (SELFLAG_ADDSELECTION | SELFLAG_REMOVESELECTION)))
            state = RowSelected(anchor);
        if (flags & (SELFLAG_ADDSELECTION | SELFLAG_REMOVESELECTION | SELFLAG_EXTENDSELECTION)) {
            const long first = extend ? std::min(anchor, lRow) : lRow;
            const long last = extend ? std::max(anchor, lRow) : lRow;
            for (long r = first; r <= last; ++r) {
                if (grid.RowMode()) {
                    for (long c = 1; c <= grid.Columns(); ++c)
                        model.SetCellSelected(r, c, state);
                } else {
                    model.SetCellSelected(r, grid.SelectedCol(), state);
                }
            }
        }
        if (flags & SELFLAG_TAKEFOCUS) {
            model.SetCurrentRow(lRow);
            model.MarkRowDirty(lRow);
            if (old.row >= 1 && old.row <= grid.Rows())
                model.MarkRowDirty(old.row);
            grid.EnsureVisible(lRow, grid.SelectedCol());
        }
        grid.Draw();
    }
    // As after the user's own keys and clicks, the owner hears of a new current cell.
    grid.SelectionChangedFrom(old);
}

void GridAccessibility::DoDefaultAction(long lRow) noexcept {
    // A failure here is most likely the row gone before the posted action came: nothing more to do.
    ContinueOnError(L"IAccessible.accDoDefaultAction", [&] {
        if (lRow < 1 || lRow > m_grid.Rows() || !m_grid.Enabled())
            return;
        // What a double click on the row does: its first click makes it the one selected row.
        Select(lRow, SELFLAG_TAKEFOCUS | SELFLAG_TAKESELECTION);
        m_grid.OnDblClick();
    });
}

void GridAccessibility::Disconnect() noexcept {
    if (!m_object)
        return;
    GridAccessible* object = m_object;
    m_object = nullptr;
    object->Disconnect();
    // Stubs held for other processes let go now rather than when their clients do.
    ::CoDisconnectObject(static_cast<IAccessible*>(object), 0);
    object->Release();
}

}  // namespace ferryl
