// Real image files for the tests and benchmarks that read capture dates:
// pictures made with Qt or written byte by byte, tagged with Exiv2 as a
// camera would tag them.
#pragma once

#include <QBuffer>
#include <QImage>
#include <QRandomGenerator>

#include <exiv2/exiv2.hpp>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace test_support {

// The three dates a camera writes; an empty one is left out.
struct CameraDates {
  std::string original;   // Exif.Photo.DateTimeOriginal
  std::string digitized;  // Exif.Photo.DateTimeDigitized
  std::string image;      // Exif.Image.DateTime
};

// A JPEG of `width` x `height`; `noise` makes it as large as a photo of
// that size is (flat colour compresses to almost nothing).
inline std::string JpegBytes(int width, int height, bool noise = false, quint32 seed = 1) {
  QImage picture(width, height, QImage::Format_RGB32);
  picture.fill(QColor(40, 120, 200));
  if (noise) {
    QRandomGenerator random(seed);
    for (int y = 0; y < height; ++y) {
      auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
      for (int x = 0; x < width; ++x) row[x] = random.generate() | 0xFF000000u;
    }
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  picture.save(&buffer, "JPG", 90);
  return bytes.toStdString();
}

inline std::string PngBytes() {
  QImage picture(4, 4, QImage::Format_RGB32);
  picture.fill(Qt::red);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  picture.save(&buffer, "PNG");
  return bytes.toStdString();
}

namespace detail {
inline void Put16(std::string& out, std::uint16_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>(v >> 8);
}
inline void Put32(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}
inline void Put32Be(std::string& out, std::uint32_t v) {
  for (int i = 3; i >= 0; --i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}
inline void Put16Be(std::string& out, std::uint16_t v) {
  out += static_cast<char>(v >> 8);
  out += static_cast<char>(v & 0xFF);
}
// An ISO base media box: size, type, contents.
inline std::string Box(const char* type, const std::string& contents) {
  std::string box;
  Put32Be(box, static_cast<std::uint32_t>(8 + contents.size()));
  box += type;
  return box + contents;
}
}  // namespace detail

// A one-pixel grey TIFF, little-endian, uncompressed; with `canon_raw`, in
// the form of a Canon CR2 raw file (a TIFF marked "CR" version 2).
inline std::string TiffBytes(bool canon_raw = false) {
  using namespace detail;
  std::string tiff = "II";
  Put16(tiff, 42);
  const std::uint32_t ifd_at = canon_raw ? 16 : 8;
  Put32(tiff, ifd_at);
  if (canon_raw) {
    tiff += std::string("CR\x02\0", 4);
    Put32(tiff, 0);  // no raw directory
  }
  const std::uint16_t entries = 8;
  const std::uint32_t pixel_at = ifd_at + 2 + entries * 12 + 4;
  Put16(tiff, entries);
  const auto entry = [&](std::uint16_t tag, std::uint16_t type, std::uint32_t value) {
    Put16(tiff, tag);
    Put16(tiff, type);
    Put32(tiff, 1);
    if (type == 3) {
      Put16(tiff, static_cast<std::uint16_t>(value));
      Put16(tiff, 0);
    } else {
      Put32(tiff, value);
    }
  };
  entry(256, 3, 1);         // width
  entry(257, 3, 1);         // height
  entry(258, 3, 8);         // bits per sample
  entry(259, 3, 1);         // no compression
  entry(262, 3, 1);         // black is zero
  entry(273, 4, pixel_at);  // strip offset
  entry(278, 3, 1);         // rows per strip
  entry(279, 4, 1);         // strip byte count
  Put32(tiff, 0);           // no further directory
  tiff += '\x80';
  return tiff;
}

// A one-pixel lossless WebP.
inline std::string WebpBytes() {
  static const unsigned char kBytes[] = {0x52, 0x49, 0x46, 0x46, 0x1a, 0x00, 0x00, 0x00, 0x57,
                                         0x45, 0x42, 0x50, 0x56, 0x50, 0x38, 0x4c, 0x0d, 0x00,
                                         0x00, 0x00, 0x2f, 0x00, 0x00, 0x00, 0x10, 0x07, 0x10,
                                         0x11, 0x11, 0x88, 0x88, 0xfe, 0x07, 0x00};
  return std::string(reinterpret_cast<const char*>(kBytes), sizeof kBytes);
}

inline void SetDates(Exiv2::ExifData& exif, const CameraDates& dates) {
  if (!dates.original.empty()) exif["Exif.Photo.DateTimeOriginal"] = dates.original;
  if (!dates.digitized.empty()) exif["Exif.Photo.DateTimeDigitized"] = dates.digitized;
  if (!dates.image.empty()) exif["Exif.Image.DateTime"] = dates.image;
}

// The Exif block (a TIFF structure) holding `dates`.
inline std::string ExifBlock(const CameraDates& dates) {
  Exiv2::ExifData exif;
  SetDates(exif, dates);
  Exiv2::Blob blob;
  Exiv2::ExifParser::encode(blob, Exiv2::littleEndian, exif);
  return std::string(blob.begin(), blob.end());
}

// A HEIF file as a phone stores it (or an AVIF with brand "avif"), reduced
// to what holds the metadata: its brand, the item list with one Exif item,
// and the item's bytes.
inline std::string HeifWithExif(const CameraDates& dates, const char* brand = "heic") {
  using namespace detail;
  std::string payload;
  Put32Be(payload, 6);  // the TIFF header follows "Exif\0\0"
  payload += std::string("Exif\0\0", 6) + ExifBlock(dates);

  std::string ftyp = brand;
  Put32Be(ftyp, 0);
  ftyp += "mif1";
  ftyp += brand;

  std::string hdlr(4, '\0');  // version, flags
  hdlr += std::string(4, '\0') + "pict" + std::string(12, '\0') + '\0';

  std::string infe(4, '\0');
  infe[0] = 2;  // version 2
  Put16Be(infe, 1);
  Put16Be(infe, 0);
  infe += "Exif";
  infe += '\0';
  std::string iinf(4, '\0');
  Put16Be(iinf, 1);
  iinf += Box("infe", infe);

  const auto meta_with = [&](std::uint32_t exif_at) {
    std::string iloc(4, '\0');
    iloc += '\x44';  // offsets and lengths of four bytes
    iloc += '\0';    // no base offset
    Put16Be(iloc, 1);
    Put16Be(iloc, 1);  // item 1
    Put16Be(iloc, 0);  // in this file
    Put16Be(iloc, 1);  // one extent
    Put32Be(iloc, exif_at);
    Put32Be(iloc, static_cast<std::uint32_t>(payload.size()));
    std::string meta(4, '\0');
    meta += Box("hdlr", hdlr) + Box("iinf", iinf) + Box("iloc", iloc);
    return Box("meta", meta);
  };
  const std::string head = Box("ftyp", ftyp) + meta_with(0);
  const std::uint32_t exif_at = static_cast<std::uint32_t>(head.size() + 8);
  return Box("ftyp", ftyp) + meta_with(exif_at) + Box("mdat", payload);
}

// Writes the dates into the image file at `path` as a camera would.
inline void TagWithDates(const std::filesystem::path& path, const CameraDates& dates) {
  auto image = Exiv2::ImageFactory::open(path.string());
  image->readMetadata();
  SetDates(image->exifData(), dates);
  image->writeMetadata();
}

}  // namespace test_support
