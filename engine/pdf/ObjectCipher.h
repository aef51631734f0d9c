#pragma once
// What the writer needs of an encryption: the bytes of a string or a stream of one object,
// encrypted. The writer never knows which cipher it is.

#include "PdfValue.h"

#include <string>
#include <string_view>

namespace engine::pdf {

class ObjectCipher {
public:
  virtual ~ObjectCipher() = default;
  // Empty only when the cipher failed (no secure random bytes); the writer then fails.
  virtual std::string Encrypt(Ref ref, std::string_view plain) const = 0;
};

} // namespace engine::pdf
