// A minimal form stream: named properties with typed values, enough for a
// window layout to store a list of strings and read it back. A list is
// framed by its own begin and end markers, so a reader knows where it stops
// without knowing its length in advance.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/persistent.h"

namespace editor {

class TReader;
class TWriter;

// The value markers of the stream.
enum TValueType : std::uint8_t {
  vaNull = 0,     // ends a list
  vaList = 1,     // begins a list
  vaString = 6,   // a string of up to 255 bytes, its length in one byte
  vaLString = 12  // a longer string, its length in four bytes (little-endian)
};

class TFiler {
 public:
  virtual ~TFiler() = default;

  // The object this one is stored as a difference to (an inherited form's
  // copy), or nil.
  const platform::TPersistent* Ancestor() const { return FAncestor; }
  void SetAncestor(const platform::TPersistent* ancestor) { FAncestor = ancestor; }

  // A property that the object stores itself: a writer writes it when
  // `has_data`, a reader reads it when the stream holds it next.
  virtual void DefineProperty(std::string_view name, const std::function<void(TReader&)>& read,
                              const std::function<void(TWriter&)>& write, bool has_data) = 0;

 private:
  const platform::TPersistent* FAncestor = nullptr;
};

class TWriter : public TFiler {
 public:
  void DefineProperty(std::string_view name, const std::function<void(TReader&)>& read,
                      const std::function<void(TWriter&)>& write, bool has_data) override;

  void WriteListBegin() { FData.push_back(static_cast<char>(vaList)); }
  void WriteListEnd() { FData.push_back(static_cast<char>(vaNull)); }
  void WriteString(std::string_view s);

  const std::string& Data() const { return FData; }

 private:
  void WriteName(std::string_view name);

  std::string FData;
};

// Raises platform::EReadError with "Invalid stream format" for data that
// does not follow the format, and reads nothing past the end of the data.
// The data is not copied: it must outlive the reader.
class TReader : public TFiler {
 public:
  explicit TReader(std::string_view data) : FData(data) {}

  void DefineProperty(std::string_view name, const std::function<void(TReader&)>& read,
                      const std::function<void(TWriter&)>& write, bool has_data) override;

  void ReadListBegin() { Expect(vaList); }
  // True when the next value is the end marker of the current list.
  bool EndOfList() const;
  void ReadListEnd() { Expect(vaNull); }
  std::string ReadString();

  bool AtEnd() const { return FPos >= FData.size(); }

 private:
  void Expect(TValueType type);
  std::uint8_t ReadByte();
  std::string_view ReadBytes(std::size_t count);
  [[noreturn]] static void Invalid();

  std::string_view FData;
  std::size_t FPos = 0;
};

}  // namespace editor
