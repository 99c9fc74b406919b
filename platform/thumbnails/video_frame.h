// A frame of a video, taken by ffmpegthumbnailer's library (which seeks to
// a frame a tenth into the clip and skips black ones). The library is
// loaded when the first video needs a frame: it brings FFmpeg along.
#pragma once

#include <QImage>

#include <string>

namespace platform {

// The frame, at most `side` pixels wide or high; a null image when the
// library is missing or the file gives no frame.
QImage VideoFrame(const std::string& native_path, int side);

}  // namespace platform
