// The small pictures cameras put into their photos (the Exif thumbnail,
// the larger previews of raw files), for showing a photo without decoding
// it whole.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

struct EmbeddedPreview {
  std::string bytes;  // an encoded picture (JPEG, mostly), as stored
  int width = 0;      // as the file says; 0 when it does not
  int height = 0;
  // The photo's Exif orientation (1..8; 1 upright), which the preview
  // shares with the photo it shows.
  int orientation = 1;
};

// The smallest embedded picture of the photo at `path` (as the file system
// names it) whose longer side reaches `least_side` pixels, else its largest.
// No value for a file without one, a damaged file, or anything that is no
// regular file. Never throws.
std::optional<EmbeddedPreview> ReadEmbeddedPreview(std::string_view path, int least_side);

}  // namespace platform
