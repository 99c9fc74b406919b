// One file's small picture, made the cheapest way that works: a photo from
// the preview its camera embedded, else decoded at a fraction of its size
// (Qt's image reader decodes JPEG scaled); a video from the desktop's
// thumbnail cache, else a frame of its own. Meant for worker threads.
#pragma once

#include <QImage>

#include <string>

namespace platform {

// At most `side` pixels wide and high, turned upright as the camera says; a
// null image for a file that gives no picture (no image, damaged, gone).
QImage MakeThumbnail(const std::string& native_path, int side);

}  // namespace platform
