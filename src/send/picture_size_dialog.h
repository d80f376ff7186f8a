#pragma once
// "Picture Size": asked before Send Now when the files include pictures. The five sizes of
// Windows' own "Mail recipient", the pictures' total size now and the estimate for the size chosen,
// and the files that cannot be read as pictures, which are sent as they are.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "core/picture_size.h"

namespace ferryl {

// The whole question: the size kept in the settings file is the one chosen first, and the one
// confirmed is kept for the next time.
std::optional<PictureSize> AskPictureSize(HWND owner,
                                          const std::vector<PictureFacts>& pictures,
                                          const std::wstring& iniFile);

// The caption of a choice: "Medium: 1024 × 768", with its mnemonic.
std::wstring PictureSizeCaption(PictureSize size);

}  // namespace ferryl
