#pragma once
// The picture size last chosen, the default of the next question: the key PictureSize of
// [Settings], 0 for the original size and 1 to 4 from smaller to large. It is written only once
// the user chooses another size than the one kept, so a new settings file keeps its default content.

#include <string>

#include "core/picture_size.h"

namespace ferryl {

// The size kept; the original size when the key is missing or holds anything else.
PictureSize ReadPictureSize(const std::wstring& iniFile);

// Keeps the size chosen, when it differs from the one kept.
void KeepPictureSize(PictureSize size, const std::wstring& iniFile);

}  // namespace ferryl
