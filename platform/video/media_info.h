// One file's reading by MediaInfoLib. The library is loaded the first time
// a file is read, not when the program starts: it brings some thirty other
// libraries with it (network and cryptography among them), which a run
// over photos alone, or a script asking for --version, would load for
// nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

class MediaInfoReading {
 public:
  MediaInfoReading();
  ~MediaInfoReading();
  MediaInfoReading(const MediaInfoReading&) = delete;
  MediaInfoReading& operator=(const MediaInfoReading&) = delete;

  // False when the library could not be loaded: nothing is then read.
  bool Usable() const { return handle_ != nullptr; }

  void SetOption(const wchar_t* name, const wchar_t* value);
  // The file is handed over in pieces, from `offset` of its `size` bytes.
  void Begin(std::uint64_t size, std::uint64_t offset);
  // Hands over the next piece; true when the library has all it wants.
  bool Continue(const std::uint8_t* data, std::size_t size);
  // Where the library wants the next piece from; the largest number when
  // it wants the piece that follows.
  std::uint64_t WantedOffset();
  void Finish();
  // A field of the file's general section, its characters beyond ASCII
  // given as "?" (a date needs none of them); empty when there is none.
  std::string GeneralField(const wchar_t* field);

 private:
  void* handle_ = nullptr;
};

}  // namespace platform
