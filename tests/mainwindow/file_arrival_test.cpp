// Files arriving in the real main window: dropped through OLE and pasted through the intake, new
// rows brought into view and counted under the list.

#include <gtest/gtest.h>
#include <ole2.h>
// After windows.h, which it needs.
#include <shlwapi.h>

#include <string>
#include <vector>

#include "file_list_fixture.h"
#include "mainwindow/file_drop.h"

namespace ferryl::test {
namespace {

// Lets the drag go on for a few rounds of the drag loop, so that the target sees it arrive, then drops.
class DropSource final : public IDropSource {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        *object = riid == IID_IUnknown || riid == IID_IDropSource ? static_cast<IDropSource*>(this) : nullptr;
        return *object ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD) override {
        return escape ? DRAGDROP_S_CANCEL : ++m_rounds < 4 ? S_OK : DRAGDROP_S_DROP;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

  private:
    int m_rounds = 0;
};

std::wstring SystemByteSize(LONGLONG bytes) {
    wchar_t text[64]{};
    ::StrFormatByteSizeW(bytes, text, 64);
    return text;
}

class FileArrivalTest : public FileListTest {
  protected:
    // What is on the clipboard, dragged with the mouse over the list and dropped there, as OLE does
    // it; the effect the drop ended with.
    DWORD DragClipboardOntoList() {
        IDataObject* data = nullptr;
        if (FAILED(::OleGetClipboard(&data)))
            return 0xDEAD;
        RECT list{};
        ::GetWindowRect(form.Lista()->hwnd(), &list);
        ::SetCursorPos((list.left + list.right) / 2, (list.top + list.bottom) / 2);
        DropSource source;
        DWORD effect = DROPEFFECT_NONE;
        const HRESULT hr = ::DoDragDrop(data, &source, DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK, &effect);
        data->Release();
        PumpMessages();
        return hr == DRAGDROP_S_DROP ? effect : DROPEFFECT_NONE;
    }
    std::wstring StatusText() {
        PumpMessages();
        return WindowText(form.StatusLine());
    }
};

TEST_F(FileArrivalTest, DroppedAndPastedFilesGoThroughTheIntake) {
    const std::vector<std::wstring> listed = LoadFiles(1);
    const std::wstring b = folder.WriteFile(L"b.txt"), c = folder.WriteFile(L"c.txt"), d = folder.WriteFile(L"d.txt");
    // As from a later start: the file already listed, the folder and the missing file are left out.
    SetClipboardFiles({b, folder.MakeFolder(L"sub"), listed[0], folder / L"missing.txt"});
    ASSERT_TRUE(PumpUntil([&] { return form.DropTarget() != nullptr; })) << "registered once the window is idle";
    EXPECT_EQ(DragClipboardOntoList(), static_cast<DWORD>(DROPEFFECT_COPY));
    ASSERT_TRUE(PumpUntil([&] { return form.Rows() == 2; }));
    EXPECT_EQ(form.CellText(2, kColumnPath), b);

    SetClipboardFiles({c, b});
    Press('V', kCtrlMask);
    ASSERT_EQ(form.Rows(), 3);
    EXPECT_EQ(form.CellText(3, kColumnPath), c);
    SetClipboardFiles({d});
    Press(VK_INSERT, kShiftMask);
    ASSERT_EQ(form.Rows(), 4);
    EXPECT_EQ(form.CellText(4, kColumnPath), d);

    // Text is no file: the drag is refused and the paste adds nothing.
    SetClipboardText(folder.WriteFile(L"e.txt"));  // a file not listed yet
    EXPECT_EQ(DragClipboardOntoList(), static_cast<DWORD>(DROPEFFECT_NONE));
    Press('V', kCtrlMask);
    PumpMessages();
    EXPECT_EQ(form.Rows(), 4);
}

TEST_F(FileArrivalTest, NewRowsComeIntoViewAndTheStatusLineCountsEveryFile) {
    LoadFiles(40);
    EXPECT_EQ(StatusText(), L"40 files, " + SystemByteSize(40));
    MoskGrid& list = *form.Lista();
    ASSERT_EQ(list.ScrollOffsetY(), 0);
    const std::wstring big = folder.WriteFile(L"big.bin", std::string(1572864, 'b'));
    AddFilesToList(big + L" " + folder.WriteFile(L"last.txt"), form);
    ASSERT_EQ(form.Rows(), 42);
    PumpMessages();
    // A later start's files land at the end: the first of them is in view.
    const long top = list.RowStartY(41) - list.ScrollOffsetY();
    EXPECT_GE(top, 0);
    EXPECT_LE(top + list.RowHeight(41), list.VisibleDataHeight());
    EXPECT_EQ(StatusText(), L"42 files, " + SystemByteSize(40 + 1572864 + 1));

    list.SelectedRow(41);
    form.RemoveSelectedFile();
    EXPECT_EQ(StatusText(), L"41 files, " + SystemByteSize(41));
}

}  // namespace
}  // namespace ferryl::test
