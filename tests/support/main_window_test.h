#pragma once
// The main window in this process, with start-up state of its own (Ferryl.ini, temporary and desktop
// folders in fresh folders, no Eudora attachments folder), undone after each test.

#include <gtest/gtest.h>

#include "app/start_up_state.h"
#include "mainwindow/ferryl_form.h"
#include "settings/ini.h"
#include "support/temp_folder.h"

namespace ferryl::test {

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        StartUp() = StartUpState{};
        StartUp().IniFile = folder / L"Ferryl.ini";
        StartUp().TempFolder = temp.Path() + L"\\";
        StartUp().DesktopFolder = desktop.Path() + L"\\";
        StartUp().EudoraAttachmentsFolder = folder / L"no such folder\\";
        ASSERT_TRUE(WriteDefaultIni(StartUp().IniFile));
    }
    void TearDown() override {
        form.SetInstanceWindow(nullptr);
        form.Unload();
        StartUp() = StartUpState{};
    }

    TempFolder folder, temp, desktop;
    FerrylF form;
};

}  // namespace ferryl::test
