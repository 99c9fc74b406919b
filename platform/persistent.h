// The roots of the object model the program's components share: every
// object can be a notification's sender, and settings objects and string
// lists copy into each other with Assign.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>

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

}  // namespace platform
