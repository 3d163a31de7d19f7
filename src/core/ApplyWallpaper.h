#pragma once

#include <string>

#include "platform/Desktop.h"
#include "platform/Pictures.h"

namespace scenewright {

// Makes the picture the desktop wallpaper through a bitmap copy: loaded into the staging
// picture, written to the first bitmap place that takes it, and that bitmap handed to the
// desktop. A picture that cannot be loaded or a bitmap that cannot be written leaves the
// wallpaper and the bitmap as they were; false then.
bool ApplyWallpaper(const std::string& path, Pictures& pictures, Desktop& desktop);

}  // namespace scenewright
