// MoskGrid: the design-time properties in the container's property store. The 27 keys are read and
// written in this order, each with its default; the order matters on read because each value is
// applied through its setter (the header settings after the font, for instance).

#include "grid/grid_property_store.h"
#include "grid/mosk_grid.h"
#include "grid/mosk_grid_sinks.h"

namespace ferryl {
namespace {

TaggedValue Color(unsigned long value) {
    return TaggedValue(static_cast<long>(value));
}

GridFontRef DefaultFont() {
    return std::make_shared<GridFont>(L"MS Sans Serif", 8.0);
}

bool ReadBool(const GridPropertyStore& store, std::wstring_view key, bool defaultValue) {
    return store.ReadProperty(key, TaggedValue(defaultValue)).ToBoolean();
}

long ReadLong(const GridPropertyStore& store, std::wstring_view key, long defaultValue) {
    return static_cast<long>(store.ReadProperty(key, TaggedValue(defaultValue)).ToNumber());
}

}  // namespace

void MoskGrid::InitProperties(const GridFont& containerFont) {
    BackColor(static_cast<long>(0x80000005));
    ForeColor(static_cast<long>(0x80000008));
    Font(containerFont);
    BorderStyle(1);
    Header(true);
    Enabled(true);
}

void MoskGrid::ReadProperties(const GridPropertyStore& store, bool bUserMode) {
    // In run mode the scroll bars are created (both hidden) and the flat-header painter may attach;
    // in design mode neither exists, the header's messages are not subclassed and nothing paints.
    bool changedMode = m_bUserMode != bUserMode;
    m_bUserMode = bUserMode;
    if (Hwnd()) {
        if (bUserMode) {
            CreateScrollBars();
        } else {
            m_cFlatHeader.reset();
            m_cScroll.reset();
            m_scrollSink.reset();
            m_lScrollX = m_lScrollY = 0;
        }
        if (changedMode)
            CreateHeader();
    }

    MultiSelect(ReadBool(store, L"MultiSelect", false));
    RowMode(ReadBool(store, L"RowMode", false));
    GridLines(ReadBool(store, L"GridLines", false));
    TaggedValue picture = store.ReadProperty(L"BackgroundPicture");
    BackgroundPicture(picture.IsObject() ? picture.ObjectValue() : nullptr);
    BackgroundPictureHeight(ReadLong(store, L"BackgroundPictureHeight", 0));
    BackgroundPictureWidth(ReadLong(store, L"BackgroundPictureWidth", 0));
    BackColor(ReadLong(store, L"BackColor", static_cast<long>(0x80000005)));
    ForeColor(ReadLong(store, L"ForeColor", static_cast<long>(0x80000008)));
    GridLineColor(ReadLong(store, L"GridLineColor", static_cast<long>(0x8000000F)));
    HighlightBackColor(ReadLong(store, L"HighlightBackColor", static_cast<long>(0x8000000D)));
    HighlightForeColor(ReadLong(store, L"HighlightForeColor", static_cast<long>(0x8000000E)));
    TaggedValue font = store.ReadProperty(L"Font");
    GridFontRef fontObject = font.IsObject() ? std::dynamic_pointer_cast<GridFont>(font.ObjectValue()) : nullptr;
    Font(fontObject ? *fontObject : *DefaultFont());
    Header(ReadBool(store, L"Header", true));
    HeaderButtons(ReadBool(store, L"HeaderButtons", true));
    HeaderDragReOrderColumns(ReadBool(store, L"HeaderDragReorderColumns", true));
    HeaderHotTrack(ReadBool(store, L"HeaderHotTrack", true));
    HeaderHeight(ReadLong(store, L"HeaderHeight", 20));
    HeaderFlat(ReadBool(store, L"HeaderFlat", false));
    BorderStyle(ReadLong(store, L"BorderStyle", 1));
    ScrollBarStyle(ReadLong(store, L"ScrollBarStyle", 0));
    Editable(ReadBool(store, L"Editable", false));
    Enabled(ReadBool(store, L"Enabled", true));
    DisableIcons(ReadBool(store, L"DisableIcons", false));
    HighlightSelectedIcons(ReadBool(store, L"HighlightSelectedIcons", true));
    DrawFocusRectangle(ReadBool(store, L"DrawFocusRectangle", true));
    Virtual(ReadBool(store, L"Virtual", false));
    DefaultRowHeight(ReadLong(store, L"DefaultRowHeight", 20));
    // Laid out as after a resize: header, scroll bars, then every visible row.
    PositionHeader();
    m_bDirty = true;
    Draw();
}

void MoskGrid::WriteProperties(GridPropertyStore& store) const {
    store.WriteProperty(L"MultiSelect", MultiSelect(), TaggedValue(false));
    store.WriteProperty(L"RowMode", RowMode(), TaggedValue(false));
    store.WriteProperty(L"GridLines", m_bGridLines, TaggedValue(false));
    store.WriteProperty(L"BackgroundPicture", m_oBackgroundPicture ? TaggedValue(m_oBackgroundPicture) : TaggedValue(),
                        TaggedValue());
    // The two picture sizes are written with no default, so they are always in the store.
    store.WriteProperty(L"BackgroundPictureHeight", m_lBackgroundPictureHeight);
    store.WriteProperty(L"BackgroundPictureWidth", m_lBackgroundPictureWidth);
    store.WriteProperty(L"BackColor", m_oBackColor, Color(0x80000005));
    store.WriteProperty(L"ForeColor", m_oForeColor, Color(0x80000008));
    store.WriteProperty(L"GridLineColor", m_oGridLineColor, Color(0x8000000F));
    store.WriteProperty(L"HighlightBackColor", m_oHighlightBackColor, Color(0x8000000D));
    store.WriteProperty(L"HighlightForeColor", m_oHighlightForeColor, Color(0x8000000E));
    store.WriteProperty(L"Font", TaggedValue(ObjectRef(std::make_shared<GridFont>(*m_oFont))),
                        TaggedValue(ObjectRef(DefaultFont())));
    store.WriteProperty(L"Header", m_bHeader, TaggedValue(true));
    store.WriteProperty(L"HeaderButtons", m_bHeaderButtons, TaggedValue(true));
    store.WriteProperty(L"HeaderDragReorderColumns", m_bHeaderDragReOrderColumns, TaggedValue(true));
    store.WriteProperty(L"HeaderHotTrack", m_bHeaderHotTrack, TaggedValue(true));
    store.WriteProperty(L"HeaderHeight", m_lHeaderHeight, TaggedValue(20));
    store.WriteProperty(L"HeaderFlat", m_bHeaderFlat, TaggedValue(false));
    store.WriteProperty(L"BorderStyle", m_eBorderStyle, TaggedValue(1));
    store.WriteProperty(L"ScrollBarStyle", m_eScrollBarStyle, TaggedValue(0));
    store.WriteProperty(L"Editable", m_bEditable, TaggedValue(false));
    store.WriteProperty(L"Enabled", m_bEnabled, TaggedValue(true));
    store.WriteProperty(L"DisableIcons", m_bDisableIcons, TaggedValue(false));
    store.WriteProperty(L"HighlightSelectedIcons", m_bHighlightSelectedIcons, TaggedValue(true));
    store.WriteProperty(L"DrawFocusRectangle", m_bDrawFocusRectangle, TaggedValue(true));
    store.WriteProperty(L"Virtual", m_bVirtual, TaggedValue(false));
    store.WriteProperty(L"DefaultRowHeight", m_lDefaultRowHeightProperty, TaggedValue(20));
}

}  // namespace ferryl
