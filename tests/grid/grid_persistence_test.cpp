// The property store and the grid's initial, read and write operations on it.

#include "common/text.h"
#include "grid/grid_errors.h"
#include "grid/grid_property_store.h"
#include "grid_fixture.h"

namespace ferryl::test {
namespace {

// The stored keys in the order they are written, as one line.
const std::wstring kKeysInOrder =
    L"MultiSelect,RowMode,GridLines,BackgroundPicture,BackgroundPictureHeight,BackgroundPictureWidth,BackColor,"
    L"ForeColor,GridLineColor,HighlightBackColor,HighlightForeColor,Font,Header,HeaderButtons,"
    L"HeaderDragReorderColumns,HeaderHotTrack,HeaderHeight,HeaderFlat,BorderStyle,ScrollBarStyle,Editable,Enabled,"
    L"DisableIcons,HighlightSelectedIcons,DrawFocusRectangle,Virtual,DefaultRowHeight";

std::wstring KeysOf(const GridPropertyStore& store) {
    std::wstring keys;
    for (const std::wstring& key : store.Keys())
        keys += (keys.empty() ? L"" : L",") + key;
    return keys;
}

TEST(GridPropertyStore, KeysIgnoreCaseAndDefaultsAreLeftOut) {
    GridPropertyStore store;
    store.WriteProperty(L"HeaderFlat", TaggedValue(true), TaggedValue(false));
    EXPECT_TRUE(store.ReadProperty(L"headerflat", TaggedValue(false)).ToBoolean());
    store.WriteProperty(L"HEADERFLAT", TaggedValue(false), TaggedValue(false));
    EXPECT_FALSE(store.Contains(L"HeaderFlat"));
    EXPECT_EQ(store.ReadProperty(L"Missing", TaggedValue(7L)).ToNumber(), 7.0);
    store.WriteProperty(L"Always", TaggedValue(0L));
    EXPECT_TRUE(store.Contains(L"always"));
}

TEST_F(GridTest, AnEmptyStoreGivesTheDefaults) {
    grid.GridLines(true);
    grid.RowMode(true);
    grid.DefaultRowHeight(33);
    GridPropertyStore store;
    grid.ReadProperties(store);
    EXPECT_TRUE(grid.Header());
    EXPECT_EQ(grid.HeaderHeight(), 20);
    EXPECT_TRUE(grid.HeaderButtons());
    EXPECT_TRUE(grid.HeaderHotTrack());
    EXPECT_TRUE(grid.HeaderDragReOrderColumns());
    EXPECT_FALSE(grid.HeaderFlat());
    EXPECT_FALSE(grid.GridLines());
    EXPECT_FALSE(grid.RowMode());
    EXPECT_FALSE(grid.MultiSelect());
    EXPECT_EQ(grid.BorderStyle(), 1);
    EXPECT_FALSE(grid.Editable());
    EXPECT_TRUE(grid.Enabled());
    EXPECT_TRUE(grid.DrawFocusRectangle());
    EXPECT_TRUE(grid.HighlightSelectedIcons());
    EXPECT_FALSE(grid.DisableIcons());
    EXPECT_EQ(grid.DefaultRowHeight(), 20);
    EXPECT_FALSE(grid.Virtual());
    EXPECT_EQ(static_cast<unsigned long>(grid.BackColor()), 0x80000005u);
    EXPECT_EQ(static_cast<unsigned long>(grid.ForeColor()), 0x80000008u);
    EXPECT_EQ(static_cast<unsigned long>(grid.GridLineColor()), 0x8000000Fu);
    EXPECT_EQ(static_cast<unsigned long>(grid.HighlightBackColor()), 0x8000000Du);
    EXPECT_EQ(static_cast<unsigned long>(grid.HighlightForeColor()), 0x8000000Eu);
    EXPECT_EQ(grid.Font()->Name, L"MS Sans Serif");
    EXPECT_EQ(grid.Font()->Size, 8.0);
    EXPECT_NE(grid.FontHandle(), nullptr);
}

TEST_F(GridTest, TheLowerCaseReorderKeyTurnsDragReorderingOff) {
    GridPropertyStore store;
    store.WriteProperty(L"HeaderDragReorderColumns", TaggedValue(false));
    grid.ReadProperties(store);
    EXPECT_FALSE(grid.HeaderDragReOrderColumns());
}

TEST_F(GridTest, WriteThenReadGivesTheSameSettingsInTheTableOrder) {
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
    grid.Font(GridFont(L"MS Sans Serif", 8.25));
    grid.Header(false);
    grid.HeaderButtons(false);
    grid.HeaderDragReOrderColumns(false);
    grid.HeaderHotTrack(false);
    grid.HeaderHeight(25);
    grid.HeaderFlat(true);
    grid.BorderStyle(2);
    grid.ScrollBarStyle(1);
    grid.Editable(true);
    grid.Enabled(false);
    grid.DisableIcons(true);
    grid.HighlightSelectedIcons(false);
    grid.DrawFocusRectangle(false);
    grid.Virtual(true);
    grid.DefaultRowHeight(18);

    GridPropertyStore store;
    grid.WriteProperties(store);
    EXPECT_EQ(KeysOf(store), kKeysInOrder);

    GridHostWindow otherHost;
    ASSERT_TRUE(otherHost.Create());
    MoskGrid other;
    ASSERT_TRUE(other.Create(otherHost.Hwnd(), 0, 0, 100, 100));
    other.ReadProperties(store);
    GridPropertyStore again;
    other.WriteProperties(again);
    ASSERT_EQ(KeysOf(again), kKeysInOrder);
    for (const std::wstring& key : store.Keys()) {
        TaggedValue first = store.ReadProperty(key);
        TaggedValue second = again.ReadProperty(key);
        if (first.IsObject())
            continue;  // the font and the picture are compared below
        EXPECT_TRUE(first.Identical(second)) << ToAnsi(key);
    }
    EXPECT_EQ(other.Font()->Size, 8.25);
    EXPECT_EQ(other.BackgroundPicture(), grid.BackgroundPicture());
    // The window stays enabled so that the disabled grid can still scroll with its keys and bars.
    EXPECT_FALSE(other.Enabled());
    EXPECT_TRUE(::IsWindowEnabled(other.hwnd()));
}

TEST_F(GridTest, DefaultsAreLeftOutExceptThePictureSizes) {
    GridPropertyStore store;
    grid.InitProperties(GridFont(L"MS Sans Serif", 8.0));
    grid.WriteProperties(store);
    // The font object is always a new object, so it is written as well.
    EXPECT_EQ(KeysOf(store), L"BackgroundPictureHeight,BackgroundPictureWidth,Font");
}

TEST_F(GridTest, BorderStylesSetTheWindowEdges) {
    HWND hwnd = grid.hwnd();
    EXPECT_TRUE(::GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    grid.BorderStyle(2);
    LONG_PTR exStyle = ::GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
    EXPECT_TRUE(exStyle & WS_EX_STATICEDGE);
    EXPECT_FALSE(exStyle & WS_EX_CLIENTEDGE);
    grid.BorderStyle(0);
    exStyle = ::GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
    EXPECT_FALSE(exStyle & (WS_EX_STATICEDGE | WS_EX_CLIENTEDGE));
}

TEST_F(GridTest, ImageListTakesAHandleAndRefusesText) {
    Error error = CatchGridError([&] { grid.ImageList(TaggedValue(L"icons")); });
    EXPECT_EQ(static_cast<unsigned long>(error.Number()), 0x80040419u);
    EXPECT_EQ(error.Description(), L"ImageList property expects ImageList object or long hImageList handle.");
    HIMAGELIST images = ::ImageList_Create(16, 16, ILC_COLOR32, 1, 1);
    ASSERT_NE(images, nullptr);
    grid.ImageList(TaggedValue(static_cast<double>(reinterpret_cast<INT_PTR>(images))));
    EXPECT_EQ(grid.ImageListHandle(), images);
    ::ImageList_Destroy(images);
}

}  // namespace
}  // namespace ferryl::test
