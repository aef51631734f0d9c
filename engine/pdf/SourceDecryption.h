#pragma once
// Opening an encrypted source: its encryption dictionary (references in it followed) is checked
// against what the standard security handler allows, the empty user password is tried, then
// the password given in each of its likely encodings; strings and streams are then decrypted
// object by object, each by the crypt filter that covers it.

#include "PdfValue.h"
#include "StandardSecurity.h"

#include <functional>
#include <memory>
#include <string>

namespace engine::pdf {

class SourceDecryption {
public:
  enum class Status { Ok, Unsupported, NeedsPassword, WrongPassword };
  // The value a reference points at (the value itself when it is none).
  using Resolver = std::function<Value(const Value &)>;

  // The decryption for an encryption dictionary and the file's first ID string. pszPassword
  // may be null (only the empty user password is tried then); it is UTF-8 or bytes in a code
  // page.
  static std::unique_ptr<SourceDecryption> Open(const Value &encryptDict, const std::string &strId,
                                                const char *pszPassword, const Resolver &resolve,
                                                Status &status, std::string &strDetail);

  // Decrypts bytes of the object numbered ref in place; false when they cannot be (a damaged
  // AES block), which leaves them empty.
  bool DecryptString(Ref ref, std::string &bytes) const;
  // The same for the data of a stream with the dictionary streamDict.
  bool DecryptStream(Ref ref, const Value &streamDict, std::string &bytes) const;
  // Whether a stream with that dictionary is stored unencrypted (cross-reference streams,
  // metadata left clear, streams of a filter that encrypts nothing).
  bool StreamClear(const Value &streamDict) const;

private:
  explicit SourceDecryption(std::unique_ptr<StandardSecurity> pSecurity)
      : m_pSecurity(std::move(pSecurity)) {}
  CryptMethod StreamMethod(const Value &streamDict) const;

  std::unique_ptr<StandardSecurity> m_pSecurity;
  CryptMethod m_strings = CryptMethod::Rc4, m_streams = CryptMethod::Rc4,
              m_embedded = CryptMethod::Rc4;
  bool m_bAuthenticated = true; // false: only clear data can be read
};

} // namespace engine::pdf
