#include "platform/exif/embedded_preview.h"

#include <sys/stat.h>

#include <exiv2/exiv2.hpp>

#include <algorithm>

#include "platform/exif/exiv2_library.h"
#include "platform/path_rules.h"

namespace platform {

std::optional<EmbeddedPreview> ReadEmbeddedPreview(std::string_view path, int least_side) {
  const std::optional<std::string> usable = UsableNativePath(path);
  if (!usable) return std::nullopt;
  PrepareExiv2();
  try {
    struct stat st;
    if (stat(usable->c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(*usable);
    if (!image.get()) return std::nullopt;
    image->readMetadata();
    Exiv2::PreviewManager previews(*image);
    // Sorted by size, the smallest first.
    const Exiv2::PreviewPropertiesList list = previews.getPreviewProperties();
    if (list.empty()) return std::nullopt;
    const Exiv2::PreviewProperties* chosen = &list.back();
    for (const Exiv2::PreviewProperties& properties : list) {
      if (static_cast<int>(std::max(properties.width_, properties.height_)) >= least_side) {
        chosen = &properties;
        break;
      }
    }
    const Exiv2::PreviewImage picture = previews.getPreviewImage(*chosen);
    EmbeddedPreview preview;
    preview.bytes.assign(reinterpret_cast<const char*>(picture.pData()), picture.size());
    preview.width = static_cast<int>(picture.width());
    preview.height = static_cast<int>(picture.height());
    const Exiv2::ExifData& exif = image->exifData();
    const auto orientation = exif.findKey(Exiv2::ExifKey("Exif.Image.Orientation"));
    if (orientation != exif.end() && orientation->count() > 0) {
      const long value = orientation->toLong();
      if (value >= 1 && value <= 8) preview.orientation = static_cast<int>(value);
    }
    if (preview.bytes.empty()) return std::nullopt;
    return preview;
  } catch (...) {
    // A damaged or unknown file has no preview; the library reports every
    // kind of trouble by throwing.
  }
  return std::nullopt;
}

}  // namespace platform
