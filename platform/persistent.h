// The roots of the object model the program's components share: every
// object can be a notification's sender, and settings objects and string
// lists copy into each other with Assign.
#pragma once

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <tuple>
#include <type_traits>

namespace platform {

class TObject {
 public:
  virtual ~TObject() = default;
};

// A notification with its sender, fired only when assigned.
using TNotifyEvent = std::function<void(TObject* sender)>;

// Raised when an object is asked to copy from a source it does not understand.
class EConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TPersistent : public TObject {
 public:
  // Copies `source` into this object. The default asks the source to copy
  // itself into this object, and fails when neither side knows the other.
  virtual void Assign(const TPersistent* source) {
    if (source) {
      source->AssignTo(*this);
      return;
    }
    throw EConvertError("Cannot assign a nil object");
  }

 protected:
  virtual void AssignTo(TPersistent& dest) const {
    (void)dest;
    throw EConvertError("Cannot assign these objects to each other");
  }
};

namespace persistent_detail {

template <class V>
struct IsUniquePtr : std::false_type {};
template <class P, class D>
struct IsUniquePtr<std::unique_ptr<P, D>> : std::true_type {};

template <class V>
void CopyValue(V& dest, const V& source) {
  if constexpr (IsUniquePtr<V>::value)
    dest->Assign(source.get());
  else if constexpr (std::is_base_of_v<TPersistent, V>)
    dest.Assign(&source);
  else
    dest = source;
}

template <class T, class Field>
void CopyField(T& dest, const T& source, const Field& field) {
  if constexpr (std::is_member_object_pointer_v<Field>)
    CopyValue(dest.*field, source.*field);
  else
    CopyValue(field(dest), field(source));
}

}  // namespace persistent_detail

// Copies `source` into `dest` field by field, in the order `fields` (a tuple)
// lists them. A field is a member pointer, or a function that takes a T and
// returns a reference to the member. A member that is an object of its own
// (held in place or by unique_ptr) copies with its own Assign, and so
// reports as that Assign does; any other member is assigned as it stands,
// with no setter's clamping and no notification.
template <class T, class Fields>
void CopyFields(T& dest, const T& source, const Fields& fields) {
  std::apply(
      [&](const auto&... field) { (persistent_detail::CopyField(dest, source, field), ...); },
      fields);
}

}  // namespace platform
