#include "settings/picture_size_setting.h"

#include "settings/ini.h"

namespace ferryl {

namespace {

constexpr wchar_t kSection[] = L"Settings";
constexpr wchar_t kKey[] = L"PictureSize";

}  // namespace

PictureSize ReadPictureSize(const std::wstring& iniFile) {
    return PictureSizeFromSetting(ReadIni(kSection, kKey, iniFile));
}

void KeepPictureSize(PictureSize size, const std::wstring& iniFile) {
    if (size != ReadPictureSize(iniFile))
        WriteIni(kSection, kKey, PictureSizeSetting(size), iniFile);
}

}  // namespace ferryl
