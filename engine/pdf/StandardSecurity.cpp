#include "StandardSecurity.h"

#include "Ciphers.h"

#include <algorithm>

namespace engine::pdf {

using namespace ciphers;

namespace {

const char kPadding[] = "\x28\xBF\x4E\x5E\x4E\x75\x8A\x41\x64\x00\x4E\x56\xFF\xFA\x01\x08"
                        "\x2E\x2E\x00\xB6\xD0\x68\x3E\x80\x2F\x0C\xA9\xFE\x64\x53\x69\x7A";

// A password of revisions 2 to 4: its first 32 bytes, filled up from the padding string.
std::string Padded(const std::string &password) {
  std::string out = password.substr(0, 32);
  out.append(kPadding, 32 - out.size());
  return out;
}

std::string Le32(int32_t value) {
  const uint32_t v = static_cast<uint32_t>(value);
  return {static_cast<char>(v & 255), static_cast<char>((v >> 8) & 255),
          static_cast<char>((v >> 16) & 255), static_cast<char>((v >> 24) & 255)};
}

std::string XorKey(const std::string &key, int i) {
  std::string out = key;
  for (char &c : out)
    c = static_cast<char>(static_cast<unsigned char>(c) ^ i);
  return out;
}

// The RC4 key that seals /O: from the owner password (revisions 2 to 4).
std::string OwnerKey(const std::string &ownerPadded, int nRevision, size_t nKeyBytes) {
  std::string digest = Md5(ownerPadded);
  if (nRevision >= 3)
    for (int i = 0; i < 50; ++i)
      digest = Md5(std::string_view(digest).substr(0, nKeyBytes));
  return digest.substr(0, nRevision >= 3 ? nKeyBytes : 5);
}

const std::string kZeroIv(16, '\0');

} // namespace

std::string Aes256PasswordHash(int nRevision, std::string_view password, std::string_view salt,
                               std::string_view userKey) {
  password = password.substr(0, 127);
  std::string k = Sha2(256, std::string(password) + std::string(salt) + std::string(userKey));
  if (nRevision < 6)
    return k;
  // Rounds of AES-128 and SHA-2 until at least 64 were made and the last byte says stop.
  std::string e;
  for (int i = 0; i < 64 || static_cast<unsigned char>(e.back()) > i - 32; ++i) {
    std::string block = std::string(password) + k + std::string(userKey);
    std::string k1;
    k1.reserve(block.size() * 64);
    for (int n = 0; n < 64; ++n)
      k1 += block;
    if (!AesCbc(true, std::string_view(k).substr(0, 16), std::string_view(k).substr(16, 16), k1,
                false, e))
      return {};
    int sum = 0;
    for (int n = 0; n < 16; ++n)
      sum += static_cast<unsigned char>(e[static_cast<size_t>(n)]);
    k = Sha2(sum % 3 == 0 ? 256 : sum % 3 == 1 ? 384 : 512, e);
  }
  return k.substr(0, 32);
}

std::unique_ptr<StandardSecurity> StandardSecurity::Create(int nRevision, const std::string &user,
                                                           const std::string &owner,
                                                           int32_t nPermissions,
                                                           const std::string &strId) {
  SecurityFields fields;
  fields.nRevision = nRevision;
  fields.nPermissions = nPermissions;
  fields.nKeyBytes = nRevision == 2 ? 5 : nRevision == 6 ? 32 : 16;
  auto result = std::make_unique<StandardSecurity>(fields);
  SecurityFields &f = result->m_fields;
  result->m_method = nRevision >= 4 ? CryptMethod::Aes : CryptMethod::Rc4;
  if (nRevision == 6) {
    std::string salts, tail;
    if (!RandomBytes(32, result->m_key) || !RandomBytes(32, salts) || !RandomBytes(4, tail))
      return nullptr;
    const std::string_view s(salts);
    f.u = Aes256PasswordHash(6, user, s.substr(0, 8), {}) + salts.substr(0, 16);
    if (!AesCbc(true, Aes256PasswordHash(6, user, s.substr(8, 8), {}), kZeroIv, result->m_key,
                false, f.ue))
      return nullptr;
    f.o = Aes256PasswordHash(6, owner, s.substr(16, 8), f.u) + salts.substr(16, 16);
    if (!AesCbc(true, Aes256PasswordHash(6, owner, s.substr(24, 8), f.u), kZeroIv, result->m_key,
                false, f.oe))
      return nullptr;
    // /Perms: the permissions sealed with the file key (one block; CBC with a zero IV is ECB).
    const std::string perms = Le32(nPermissions) + std::string("\xFF\xFF\xFF\xFFTadb", 8) + tail;
    if (!AesCbc(true, result->m_key, kZeroIv, perms, false, f.perms))
      return nullptr;
    return result;
  }
  const std::string userPadded = Padded(user);
  std::string o = userPadded;
  const std::string ownerKey = OwnerKey(Padded(owner.empty() ? user : owner), nRevision,
                                        static_cast<size_t>(fields.nKeyBytes));
  Rc4(ownerKey, o);
  if (nRevision >= 3)
    for (int i = 1; i <= 19; ++i)
      Rc4(XorKey(ownerKey, i), o);
  f.o = o;
  result->m_key = result->KeyFromUser(userPadded, strId);
  f.u = result->UserCheck(result->m_key, strId);
  return result;
}

std::string StandardSecurity::KeyFromUser(const std::string &padded,
                                          const std::string &strId) const {
  const size_t nKey = static_cast<size_t>(m_fields.nRevision == 2 ? 5 : m_fields.nKeyBytes);
  std::string digest =
      Md5(padded + m_fields.o.substr(0, 32) + Le32(m_fields.nPermissions) + strId +
          (m_fields.nRevision >= 4 && !m_fields.bEncryptMetadata ? std::string("\xFF\xFF\xFF\xFF")
                                                                 : std::string()));
  if (m_fields.nRevision >= 3)
    for (int i = 0; i < 50; ++i)
      digest = Md5(std::string_view(digest).substr(0, nKey));
  return digest.substr(0, nKey);
}

std::string StandardSecurity::UserCheck(const std::string &key, const std::string &strId) const {
  if (m_fields.nRevision == 2) {
    std::string u(kPadding, 32);
    Rc4(key, u);
    return u;
  }
  std::string u = Md5(std::string(kPadding, 32) + strId);
  for (int i = 0; i <= 19; ++i)
    Rc4(XorKey(key, i), u);
  return u + std::string(16, '\0'); // only the first 16 bytes are checked
}

bool StandardSecurity::AuthenticateUser(const std::string &password, const std::string &strId) {
  const std::string key = KeyFromUser(Padded(password), strId);
  const std::string check = UserCheck(key, strId);
  const size_t n = m_fields.nRevision == 2 ? 32 : 16;
  if (m_fields.u.size() < n || check.compare(0, n, m_fields.u, 0, n) != 0)
    return false;
  m_key = key;
  return true;
}

bool StandardSecurity::AuthenticateOwner(const std::string &password, const std::string &strId) {
  const std::string ownerKey =
      OwnerKey(Padded(password), m_fields.nRevision, static_cast<size_t>(m_fields.nKeyBytes));
  std::string user = m_fields.o.substr(0, 32);
  if (m_fields.nRevision == 2) {
    Rc4(ownerKey, user);
  } else {
    for (int i = 19; i >= 0; --i)
      Rc4(XorKey(ownerKey, i), user);
  }
  return AuthenticateUser(user, strId);
}

bool StandardSecurity::AuthenticateAes256(const std::string &password) {
  const int r = m_fields.nRevision;
  const SecurityFields &f = m_fields;
  std::string key;
  if (Aes256PasswordHash(r, password, std::string_view(f.u).substr(32, 8), {}) ==
      f.u.substr(0, 32)) {
    key = Aes256PasswordHash(r, password, std::string_view(f.u).substr(40, 8), {});
    if (!AesCbc(false, key, kZeroIv, std::string_view(f.ue).substr(0, 32), false, m_key))
      return false;
    return true;
  }
  const std::string_view u48 = std::string_view(f.u).substr(0, 48);
  if (Aes256PasswordHash(r, password, std::string_view(f.o).substr(32, 8), u48) ==
      f.o.substr(0, 32)) {
    key = Aes256PasswordHash(r, password, std::string_view(f.o).substr(40, 8), u48);
    return AesCbc(false, key, kZeroIv, std::string_view(f.oe).substr(0, 32), false, m_key);
  }
  return false;
}

bool StandardSecurity::Authenticate(const std::string &password, const std::string &strId) {
  if (m_fields.nRevision >= 5)
    return AuthenticateAes256(password);
  return AuthenticateUser(password, strId) || AuthenticateOwner(password, strId);
}

Value StandardSecurity::Dictionary() const {
  const SecurityFields &f = m_fields;
  Dict d;
  d.Set("Filter", Value::MakeName("Standard"));
  const int v = f.nRevision == 2 ? 1 : f.nRevision == 3 ? 2 : f.nRevision == 4 ? 4 : 5;
  d.Set("V", Value(static_cast<int64_t>(v)));
  d.Set("R", Value(static_cast<int64_t>(f.nRevision)));
  d.Set("Length", Value(static_cast<int64_t>(f.nKeyBytes * 8)));
  if (v >= 4) {
    Dict filter;
    filter.Set("Type", Value::MakeName("CryptFilter"));
    filter.Set("CFM", Value::MakeName(v == 4 ? "AESV2" : "AESV3"));
    filter.Set("AuthEvent", Value::MakeName("DocOpen"));
    filter.Set("Length", Value(static_cast<int64_t>(f.nKeyBytes)));
    Dict filters;
    filters.Set("StdCF", Value(std::move(filter)));
    d.Set("CF", Value(std::move(filters)));
    d.Set("StmF", Value::MakeName("StdCF"));
    d.Set("StrF", Value::MakeName("StdCF"));
  }
  d.Set("O", Value::MakeString(f.o, true));
  d.Set("U", Value::MakeString(f.u, true));
  if (v == 5) {
    d.Set("OE", Value::MakeString(f.oe, true));
    d.Set("UE", Value::MakeString(f.ue, true));
    d.Set("Perms", Value::MakeString(f.perms, true));
  }
  d.Set("P", Value(static_cast<int64_t>(f.nPermissions)));
  return Value(std::move(d));
}

std::string StandardSecurity::ObjectKey(Ref ref, bool bAes) const {
  if (m_fields.nRevision >= 5)
    return m_key;
  std::string seed = m_key;
  seed += static_cast<char>(ref.num & 255);
  seed += static_cast<char>((ref.num >> 8) & 255);
  seed += static_cast<char>((ref.num >> 16) & 255);
  seed += static_cast<char>(ref.gen & 255);
  seed += static_cast<char>((ref.gen >> 8) & 255);
  if (bAes)
    seed += "sAlT";
  return Md5(seed).substr(0, std::min<size_t>(m_key.size() + 5, 16));
}

std::string StandardSecurity::Encrypt(Ref ref, std::string_view plain) const {
  return EncryptWith(m_method, ref, plain);
}

std::string StandardSecurity::EncryptWith(CryptMethod method, Ref ref,
                                          std::string_view plain) const {
  if (method == CryptMethod::Identity)
    return std::string(plain);
  if (method == CryptMethod::Rc4) {
    std::string out(plain);
    Rc4(ObjectKey(ref, false), out);
    return out;
  }
  std::string iv, cipher;
  if (!RandomBytes(16, iv) || !AesCbc(true, ObjectKey(ref, true), iv, plain, true, cipher))
    return {};
  return iv + cipher;
}

bool StandardSecurity::Decrypt(CryptMethod method, Ref ref, std::string &bytes) const {
  if (method == CryptMethod::Identity || bytes.empty())
    return true;
  if (method == CryptMethod::Rc4) {
    Rc4(ObjectKey(ref, false), bytes);
    return true;
  }
  // The IV, then whole blocks; an IV alone is an empty text.
  if (bytes.size() < 16 || bytes.size() % 16 != 0) {
    bytes.clear();
    return false;
  }
  std::string plain;
  if (!AesCbc(false, ObjectKey(ref, true), std::string_view(bytes).substr(0, 16),
              std::string_view(bytes).substr(16), false, plain)) {
    bytes.clear();
    return false;
  }
  // The padding is taken off when it is one; writers that got it wrong keep their bytes.
  const size_t nPad = plain.empty() ? 0 : static_cast<unsigned char>(plain.back());
  if (nPad >= 1 && nPad <= 16 && nPad <= plain.size() &&
      plain.find_first_not_of(plain.back(), plain.size() - nPad) == std::string::npos)
    plain.resize(plain.size() - nPad);
  bytes = std::move(plain);
  return true;
}

} // namespace engine::pdf
