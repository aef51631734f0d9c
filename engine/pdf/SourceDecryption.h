#pragma once
// Opening an encrypted source: its encryption dictionary is checked against what the standard
// security handler allows before the PDF library's cipher code sees any of it (that code
// trusts lengths and sizes blindly), then the password is tried and strings and streams are
// decrypted object by object.

#include "PdfValue.h"

#include <memory>
#include <string>

namespace PoDoFo {
class PdfEncrypt;
}

namespace engine::pdf {

class SourceDecryption {
public:
  enum class Status { Ok, Unsupported, NeedsPassword, WrongPassword };

  // The decryption for an encryption dictionary and the file's first ID string. pszPassword
  // may be null (only the empty user password is tried then).
  static std::unique_ptr<SourceDecryption> Open(const Value &encryptDict, const std::string &strId,
                                                const char *pszPassword, Status &status,
                                                std::string &strDetail);
  ~SourceDecryption();

  // Decrypts bytes of the object numbered ref in place; false when they cannot be (a damaged
  // AES block), which leaves them empty.
  bool DecryptString(Ref ref, std::string &bytes) const;
  bool DecryptStream(Ref ref, std::string &bytes) const;
  // Whether metadata streams were left unencrypted by the writer.
  bool MetadataClear() const { return !m_bEncryptMetadata; }

private:
  SourceDecryption() = default;
  bool Decrypt(Ref ref, std::string &bytes, bool bAes) const;

  std::unique_ptr<PoDoFo::PdfEncrypt> m_pEncrypt;
  bool m_bStringsAes = false, m_bStreamsAes = false;
  bool m_bStringsClear = false, m_bStreamsClear = false; // /Identity crypt filters
  bool m_bEncryptMetadata = true;
};

} // namespace engine::pdf
