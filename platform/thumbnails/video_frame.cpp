#include "platform/thumbnails/video_frame.h"

#include <libffmpegthumbnailer/videothumbnailerc.h>

#include "platform/shared_library.h"

namespace platform {
namespace {

struct ThumbnailerFunctions {
  explicit ThumbnailerFunctions(const SharedLibrary& library)
      : create(library.Symbol<decltype(&video_thumbnailer_create)>("video_thumbnailer_create")),
        destroy(library.Symbol<decltype(&video_thumbnailer_destroy)>("video_thumbnailer_destroy")),
        create_data(library.Symbol<decltype(&video_thumbnailer_create_image_data)>(
            "video_thumbnailer_create_image_data")),
        destroy_data(library.Symbol<decltype(&video_thumbnailer_destroy_image_data)>(
            "video_thumbnailer_destroy_image_data")),
        set_size(
            library.Symbol<decltype(&video_thumbnailer_set_size)>("video_thumbnailer_set_size")),
        generate(library.Symbol<decltype(&video_thumbnailer_generate_thumbnail_to_buffer)>(
            "video_thumbnailer_generate_thumbnail_to_buffer")) {}

  bool Complete() const {
    return create && destroy && create_data && destroy_data && set_size && generate;
  }

  decltype(&video_thumbnailer_create) create;
  decltype(&video_thumbnailer_destroy) destroy;
  decltype(&video_thumbnailer_create_image_data) create_data;
  decltype(&video_thumbnailer_destroy_image_data) destroy_data;
  decltype(&video_thumbnailer_set_size) set_size;
  decltype(&video_thumbnailer_generate_thumbnail_to_buffer) generate;
};

const ThumbnailerFunctions* Thumbnailer() {
  static const SharedLibrary library("libffmpegthumbnailer.so.4");
  static const ThumbnailerFunctions functions(library);
  return functions.Complete() ? &functions : nullptr;
}

}  // namespace

QImage VideoFrame(const std::string& native_path, int side) {
  const ThumbnailerFunctions* library = Thumbnailer();
  if (!library) return {};
  // One of each per frame: the library's objects are not shared between
  // threads.
  video_thumbnailer* thumbnailer = library->create();
  image_data* data = library->create_data();
  QImage frame;
  if (thumbnailer && data) {
    thumbnailer->thumbnail_image_type = Rgb;
    thumbnailer->maintain_aspect_ratio = 1;
    library->set_size(thumbnailer, side, 0);
    if (library->generate(thumbnailer, native_path.c_str(), data) == 0 && data->image_data_ptr &&
        data->image_data_width > 0 && data->image_data_height > 0 &&
        data->image_data_size >= data->image_data_width * data->image_data_height * 3) {
      frame = QImage(data->image_data_ptr, data->image_data_width, data->image_data_height,
                     data->image_data_width * 3, QImage::Format_RGB888)
                  .copy();
    }
  }
  if (data) library->destroy_data(data);
  if (thumbnailer) library->destroy(thumbnailer);
  return frame;
}

}  // namespace platform
