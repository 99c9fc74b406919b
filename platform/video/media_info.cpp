#include "platform/video/media_info.h"

#include "platform/shared_library.h"

namespace platform {
namespace {

// The library's C interface, in its wide-character form (the form Debian
// builds it with), as its own header declares it.
struct MediaInfoFunctions {
  using New = void* (*)();
  using Delete = void (*)(void*);
  using Option = const wchar_t* (*)(void*, const wchar_t*, const wchar_t*);
  using BufferInit = std::size_t (*)(void*, std::uint64_t, std::uint64_t);
  using BufferContinue = std::size_t (*)(void*, std::uint8_t*, std::size_t);
  using BufferGoTo = std::uint64_t (*)(void*);
  using BufferFinalize = std::size_t (*)(void*);
  using Get = const wchar_t* (*)(void*, int, std::size_t, const wchar_t*, int, int);

  explicit MediaInfoFunctions(const SharedLibrary& library)
      : new_(library.Symbol<New>("MediaInfo_New")),
        delete_(library.Symbol<Delete>("MediaInfo_Delete")),
        option(library.Symbol<Option>("MediaInfo_Option")),
        buffer_init(library.Symbol<BufferInit>("MediaInfo_Open_Buffer_Init")),
        buffer_continue(library.Symbol<BufferContinue>("MediaInfo_Open_Buffer_Continue")),
        buffer_goto(library.Symbol<BufferGoTo>("MediaInfo_Open_Buffer_Continue_GoTo_Get")),
        buffer_finalize(library.Symbol<BufferFinalize>("MediaInfo_Open_Buffer_Finalize")),
        get(library.Symbol<Get>("MediaInfo_Get")) {}

  bool Complete() const {
    return new_ && delete_ && option && buffer_init && buffer_continue && buffer_goto &&
           buffer_finalize && get;
  }

  New new_;
  Delete delete_;
  Option option;
  BufferInit buffer_init;
  BufferContinue buffer_continue;
  BufferGoTo buffer_goto;
  BufferFinalize buffer_finalize;
  Get get;
};

// Loaded once, by whichever thread asks first, and kept to the end.
const MediaInfoFunctions* Library() {
  static const SharedLibrary library("libmediainfo.so.0");
  static const MediaInfoFunctions functions(library);
  return functions.Complete() ? &functions : nullptr;
}

// The library's numbers for the general section, the text of a field,
// and a field looked for by its name.
constexpr int kStreamGeneral = 0;
constexpr int kInfoText = 1;
constexpr int kInfoName = 0;
// The bit of Continue's answer that says the library has all it wants.
constexpr std::size_t kFinished = 0x08;

}  // namespace

MediaInfoReading::MediaInfoReading() {
  if (const MediaInfoFunctions* library = Library()) handle_ = library->new_();
}

MediaInfoReading::~MediaInfoReading() {
  if (handle_) Library()->delete_(handle_);
}

void MediaInfoReading::SetOption(const wchar_t* name, const wchar_t* value) {
  if (handle_) Library()->option(handle_, name, value);
}

void MediaInfoReading::Begin(std::uint64_t size, std::uint64_t offset) {
  if (handle_) Library()->buffer_init(handle_, size, offset);
}

bool MediaInfoReading::Continue(const std::uint8_t* data, std::size_t size) {
  // The library only reads the piece; its interface merely lacks the const.
  return !handle_ ||
         (Library()->buffer_continue(handle_, const_cast<std::uint8_t*>(data), size) & kFinished);
}

std::uint64_t MediaInfoReading::WantedOffset() {
  return handle_ ? Library()->buffer_goto(handle_) : static_cast<std::uint64_t>(-1);
}

void MediaInfoReading::Finish() {
  if (handle_) Library()->buffer_finalize(handle_);
}

std::string MediaInfoReading::GeneralField(const wchar_t* field) {
  std::string text;
  if (!handle_) return text;
  const wchar_t* wide = Library()->get(handle_, kStreamGeneral, 0, field, kInfoText, kInfoName);
  for (; wide && *wide; ++wide) text += *wide > 0 && *wide < 0x80 ? static_cast<char>(*wide) : '?';
  return text;
}

}  // namespace platform
