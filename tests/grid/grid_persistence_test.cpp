// The property store and the grid's initial, read and write operations on it; the border styles and
// the image list it sets.

#include "common/text.h"
#include "grid/grid_property_store.h"
#include "grid_fixture.h"

namespace ferryl::test {
namespace {

std::wstring KeysOf(const GridPropertyStore& store) {
    std::wstring keys;
    for (const std::wstring& key : store.Keys())
        keys += (keys.empty() ? L"" : L",") + key;
    return keys;
}

TEST_F(GridTest, EverySettingWrittenReadsBackInTheTableOrderAndDefaultsAreLeftOut) {
    GridPropertyStore defaults;
    grid.InitProperties(GridFont(L"MS Sans Serif", 8.0));
    grid.WriteProperties(defaults);
    // The picture sizes always, and the font, which is always a new object.
    EXPECT_EQ(KeysOf(defaults), L"BackgroundPictureHeight,BackgroundPictureWidth,Font");
    grid.MultiSelect(true);
    grid.RowMode(true);
    grid.GridLines(true);
    grid.BackgroundPicture(std::make_shared<Object>());
    grid.BackgroundPictureHeight(3);
    grid.BackgroundPictureWidth(4);
    grid.BackColor(0x010203);
    grid.ForeColor(0x040506);
    grid.GridLineColor(0x070809);
    grid.HighlightBackColor(0x0A0B0C);
    grid.HighlightForeColor(0x0D0E0F);
    grid.Header(false);
    grid.HeaderButtons(false);
    grid.HeaderDragReOrderColumns(false);
    grid.HeaderHotTrack(false);
    grid.HeaderFlat(true);
    grid.Editable(true);
    grid.Enabled(false);
    grid.DisableIcons(true);
    grid.HighlightSelectedIcons(false);
    grid.DrawFocusRectangle(false);
    grid.Virtual(true);
    grid.Font(GridFont(L"MS Sans Serif", 8.25));
    grid.HeaderHeight(25);
    grid.BorderStyle(2);
    grid.ScrollBarStyle(1);
    grid.DefaultRowHeight(18);
    GridPropertyStore store;
    grid.WriteProperties(store);
    const std::wstring allKeys =
        L"MultiSelect,RowMode,GridLines,BackgroundPicture,BackgroundPictureHeight,BackgroundPictureWidth,BackColor,"
        L"ForeColor,GridLineColor,HighlightBackColor,HighlightForeColor,Font,Header,HeaderButtons,"
        L"HeaderDragReorderColumns,HeaderHotTrack,HeaderHeight,HeaderFlat,BorderStyle,ScrollBarStyle,Editable,Enabled,"
        L"DisableIcons,HighlightSelectedIcons,DrawFocusRectangle,Virtual,DefaultRowHeight";
    EXPECT_EQ(KeysOf(store), allKeys);

    MoskGrid other;
    ASSERT_TRUE(other.Create(host.Hwnd(), 0, 0, 100, 100));
    other.ReadProperties(store);
    GridPropertyStore again;
    other.WriteProperties(again);
    ASSERT_EQ(KeysOf(again), allKeys);
    for (const std::wstring& key : store.Keys()) {  // the font and the picture are compared below
        const TaggedValue value = store.ReadProperty(key);
        EXPECT_TRUE(value.IsObject() || value.Identical(again.ReadProperty(key))) << ToAnsi(key);
    }
    EXPECT_EQ(other.Font()->Size, 8.25);
    EXPECT_EQ(other.BackgroundPicture(), grid.BackgroundPicture());
    // The window stays enabled so that the disabled grid can still scroll with its keys and bars.
    EXPECT_TRUE(::IsWindowEnabled(other.hwnd()));
    // Keys are matched in any case, a default written removes its key, and the lower-case reorder
    // key turns drag reordering off.
    GridPropertyStore cased;
    cased.WriteProperty(L"HeaderFlat", TaggedValue(true), TaggedValue(false));
    EXPECT_TRUE(cased.ReadProperty(L"headerflat", TaggedValue(false)).ToBoolean());
    cased.WriteProperty(L"HEADERFLAT", TaggedValue(false), TaggedValue(false));
    EXPECT_FALSE(cased.Contains(L"HeaderFlat"));
    cased.WriteProperty(L"HeaderDragReorderColumns", TaggedValue(false));
    grid.ReadProperties(cased);
    EXPECT_FALSE(grid.HeaderDragReOrderColumns());
}

TEST_F(GridTest, BorderStylesSetTheWindowEdgesAndTheImageListTakesAHandleOnly) {
    const auto edges = [&] {
        return ::GetWindowLongPtrW(grid.hwnd(), GWL_EXSTYLE) & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE);
    };
    EXPECT_EQ(edges(), WS_EX_CLIENTEDGE);
    grid.BorderStyle(2);
    EXPECT_EQ(edges(), WS_EX_STATICEDGE);
    grid.BorderStyle(0);
    EXPECT_EQ(edges(), 0);
    EXPECT_EQ(static_cast<unsigned long>(CatchGridError([&] { grid.ImageList(TaggedValue(L"icons")); }).Number()),
              0x80040419u);
    HIMAGELIST images = ::ImageList_Create(16, 16, ILC_COLOR32, 1, 1);
    grid.ImageList(TaggedValue(static_cast<double>(reinterpret_cast<INT_PTR>(images))));
    EXPECT_EQ(grid.ImageListHandle(), images);
    ::ImageList_Destroy(images);
}

}  // namespace
}  // namespace ferryl::test
