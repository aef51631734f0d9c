#pragma once
// The standard security handler of PDF: file keys from passwords (revisions 2 to 4, MD5 and
// RC4), or random file keys sealed by passwords (revisions 5 and 6, SHA-2 and AES-256), and
// the per-object encryption with RC4 or AES. Passwords are bytes here, already encoded as the
// revision wants (PasswordText.h).

#include "ObjectCipher.h"
#include "PdfValue.h"

#include <memory>
#include <string>

namespace engine::pdf {

enum class CryptMethod { Identity, Rc4, Aes };

// The checked fields of an encryption dictionary.
struct SecurityFields {
  int nRevision = 0;
  int nKeyBytes = 5; // the file key's length (revisions 2 to 4)
  int32_t nPermissions = 0;
  std::string o, u, oe, ue, perms;
  bool bEncryptMetadata = true;
};

class StandardSecurity : public ObjectCipher {
public:
  // A new encryption for an output: revision 2 (RC4, 40-bit key), 3 (RC4, 128), 4 (AES-128)
  // or 6 (AES-256, a random key). nPermissions is the /P value. Null when no secure random
  // bytes were to be had.
  static std::unique_ptr<StandardSecurity> Create(int nRevision, const std::string &user,
                                                  const std::string &owner, int32_t nPermissions,
                                                  const std::string &strId);
  // The decryption of a source: Authenticate finds the file key.
  explicit StandardSecurity(SecurityFields fields) : m_fields(std::move(fields)) {}

  // Whether the password (as user or as owner password) opens the file; the file key is set.
  bool Authenticate(const std::string &password, const std::string &strId);
  // The encryption dictionary for Create's revision, without crypt filters for revision 2, 3.
  Value Dictionary() const;

  // Strings and streams of objects written with method; the output's own method for Encrypt.
  std::string Encrypt(Ref ref, std::string_view plain) const override;
  std::string EncryptWith(CryptMethod method, Ref ref, std::string_view plain) const;
  // False when the data cannot be decrypted (an AES block cut short); bytes are then empty.
  bool Decrypt(CryptMethod method, Ref ref, std::string &bytes) const;

  const SecurityFields &Fields() const { return m_fields; }

private:
  std::string ObjectKey(Ref ref, bool bAes) const;
  std::string KeyFromUser(const std::string &padded, const std::string &strId) const;
  std::string UserCheck(const std::string &key, const std::string &strId) const;
  bool AuthenticateUser(const std::string &password, const std::string &strId);
  bool AuthenticateOwner(const std::string &password, const std::string &strId);
  bool AuthenticateAes256(const std::string &password);

  SecurityFields m_fields;
  std::string m_key;
  CryptMethod m_method = CryptMethod::Rc4; // what Encrypt uses
};

// The revision 5 and 6 password hash (revision 5: one SHA-256).
std::string Aes256PasswordHash(int nRevision, std::string_view password, std::string_view salt,
                               std::string_view userKey);

} // namespace engine::pdf
