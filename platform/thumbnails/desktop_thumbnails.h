// The desktop's own thumbnails: file managers keep them under
// $XDG_CACHE_HOME/thumbnails/<size>/<MD5 of the file's URI>.png, with the
// file's last-write time inside (the freedesktop.org thumbnail
// specification), so a video the file manager has shown needs no decoding.
#pragma once

#include <QImage>

#include <string>

namespace platform {

// The cached thumbnail of the file, the smallest one at least `side`
// pixels on its longer side (else the largest); a null image when there is
// none or it is older than the file.
QImage CachedDesktopThumbnail(const std::string& native_path, int side);

// Where the cache keeps the thumbnail of that size ("normal", "large",
// "x-large", "xx-large") for the file.
QString DesktopThumbnailPath(const std::string& native_path, const char* size);

}  // namespace platform
