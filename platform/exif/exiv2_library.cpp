#include "platform/exif/exiv2_library.h"

#include <exiv2/exiv2.hpp>

#include <mutex>

namespace platform {

void PrepareExiv2() {
  static std::once_flag once;
  std::call_once(once, [] {
    // Its warnings about odd files would go to the terminal; a file without
    // a usable date or picture is an ordinary case here, reported by the
    // caller.
    Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
    // HEIF/HEIC, AVIF and CR3 are read only when asked for.
    Exiv2::enableBMFF(true);
    // The XMP parser must be set up before threads use it.
    Exiv2::XmpParser::initialize();
  });
}

}  // namespace platform
