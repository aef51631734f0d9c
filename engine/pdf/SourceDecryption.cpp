#include "SourceDecryption.h"

#include "PasswordText.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace engine::pdf {

namespace {

// A whole number that fits in 64 bits, from an integer or a real written for one.
std::optional<int64_t> WholeNumber(const Value &value) {
  if (value.IsInt())
    return value.integer();
  if (!value.IsNumber())
    return std::nullopt;
  const double d = value.number();
  if (!std::isfinite(d) || d < -9.2e18 || d > 9.2e18 || d != std::floor(d))
    return std::nullopt;
  return static_cast<int64_t>(d);
}

struct Reader {
  const SourceDecryption::Resolver &resolve;
  Value Get(const Value &dict, const char *pszKey) const {
    const Value *p = dict.IsDict() ? dict.Get(pszKey) : nullptr;
    return p == nullptr ? Value() : resolve(*p);
  }
  std::optional<int64_t> Int(const Value &dict, const char *pszKey) const {
    return WholeNumber(Get(dict, pszKey));
  }
  std::string Name(const Value &dict, const char *pszKey, const char *pszFallback) const {
    const Value v = Get(dict, pszKey);
    return v.IsName() ? v.name() : pszFallback;
  }
};

// The method of the crypt filter named pszWhich in a version 4 or 5 dictionary, and the key
// length it asks for (0 when it says none); false for a filter the standard does not define.
bool FilterMethod(const Reader &r, const Value &dict, const char *pszWhich,
                  const std::string &fallback, CryptMethod &method, int64_t &nLength) {
  const std::string name = r.Name(dict, pszWhich, fallback.c_str());
  nLength = 0;
  if (name == "Identity") {
    method = CryptMethod::Identity;
    return true;
  }
  const Value filter = r.Get(r.Get(dict, "CF"), name.c_str());
  if (!filter.IsDict())
    return false;
  nLength = r.Int(filter, "Length").value_or(0);
  const std::string cfm = r.Name(filter, "CFM", "None");
  // /None: the data is not this handler's to decrypt; it is read as it is stored.
  method = cfm == "V2"                          ? CryptMethod::Rc4
           : (cfm == "AESV2" || cfm == "AESV3") ? CryptMethod::Aes
                                                : CryptMethod::Identity;
  return cfm == "V2" || cfm == "AESV2" || cfm == "AESV3" || cfm == "None";
}

} // namespace

std::unique_ptr<SourceDecryption>
SourceDecryption::Open(const Value &rawDict, const std::string &strId, const char *pszPassword,
                       const Resolver &resolve, Status &status, std::string &strDetail) {
  status = Status::Unsupported;
  auto fail = [&strDetail](const char *pszWhy) {
    strDetail = pszWhy;
    return nullptr;
  };
  const Reader r{resolve};
  const Value dict = resolve(rawDict);
  if (!dict.IsDict())
    return fail("the encryption dictionary is missing");
  if (!r.Get(dict, "Filter").IsName("Standard"))
    return fail("encrypted with a security handler other than the standard one");
  const int64_t v = r.Int(dict, "V").value_or(0);
  const int64_t rev = r.Int(dict, "R").value_or(-1);
  const std::optional<int64_t> p = r.Int(dict, "P");
  // /P is 32 bits, written signed or unsigned.
  if (!p || *p < INT32_MIN || *p > UINT32_MAX)
    return fail("the encryption dictionary has no permissions");
  const Value o = r.Get(dict, "O"), u = r.Get(dict, "U");
  if (!o.IsString() || !u.IsString())
    return fail("the encryption dictionary lacks its password checks");
  const Value meta = r.Get(dict, "EncryptMetadata");

  SecurityFields fields;
  fields.nRevision = static_cast<int>(rev);
  fields.nPermissions = static_cast<int32_t>(static_cast<uint32_t>(*p & 0xFFFFFFFF));
  fields.o = o.string().bytes;
  fields.u = u.string().bytes;
  fields.bEncryptMetadata = !(meta.IsBool() && !meta.boolean());
  CryptMethod strings = CryptMethod::Rc4, streams = CryptMethod::Rc4, embedded = CryptMethod::Rc4;
  std::vector<int> keyLengths; // the file key lengths worth trying, in bytes
  // Key lengths are bits, 40 to 128 in whole bytes; a crypt filter's may be given in bytes.
  // Any other value is refused: the file says something no standard writer says.
  auto keyBytes = [](int64_t n, bool bBytesToo) -> int {
    if (n >= 40 && n <= 128 && n % 8 == 0)
      return static_cast<int>(n / 8);
    return bBytesToo && n >= 5 && n <= 16 ? static_cast<int>(n) : 0;
  };
  if (v == 1 || v == 2) {
    if ((rev != 2 && rev != 3) || fields.o.size() < 32 || fields.u.size() < 32)
      return fail("the encryption revision or its password checks are malformed");
    const int bytes = keyBytes(r.Int(dict, "Length").value_or(40), false);
    if (bytes == 0)
      return fail("the encryption key length is not one the standard allows");
    keyLengths = rev == 2 ? std::vector<int>{5} : std::vector<int>{bytes, 5, 16};
  } else if (v == 4 || v == 5) {
    const bool bAes256 = v == 5;
    if (bAes256 ? (rev != 5 && rev != 6) : rev != 4)
      return fail("the encryption revision is not one its version allows");
    int64_t nStr = 0, nStm = 0, nEff = 0;
    if (!FilterMethod(r, dict, "StrF", "Identity", strings, nStr) ||
        !FilterMethod(r, dict, "StmF", "Identity", streams, nStm) ||
        !FilterMethod(r, dict, "EFF", r.Name(dict, "StmF", "Identity"), embedded, nEff))
      return fail("the crypt filters are not ones the standard defines");
    if (bAes256) {
      const Value oe = r.Get(dict, "OE"), ue = r.Get(dict, "UE");
      if (fields.o.size() < 48 || fields.u.size() < 48 || !oe.IsString() || !ue.IsString() ||
          oe.string().bytes.size() < 32 || ue.string().bytes.size() < 32)
        return fail("the encryption revision or its password checks are malformed");
      fields.oe = oe.string().bytes;
      fields.ue = ue.string().bytes;
      for (CryptMethod *pMethod : {&strings, &streams, &embedded})
        if (*pMethod == CryptMethod::Rc4)
          return fail("the crypt filters are not ones the standard defines");
      keyLengths = {32};
    } else {
      if (fields.o.size() < 32 || fields.u.size() < 32)
        return fail("the encryption revision or its password checks are malformed");
      // AES-128 keys are 16 bytes; an RC4 filter says its length in bits or in bytes.
      const int64_t n = std::max({nStr, nStm, nEff});
      const int nBytes = n == 0 ? 16 : keyBytes(n, true);
      if (nBytes == 0)
        return fail("the encryption key length is not one the standard allows");
      keyLengths = {nBytes, 16, 5};
    }
  } else {
    return fail("the encryption version is not one the standard defines");
  }

  const bool bNothingEncrypted = strings == CryptMethod::Identity &&
                                 streams == CryptMethod::Identity &&
                                 embedded == CryptMethod::Identity;
  // The empty user password first, with each key length the dictionary may mean; then the
  // password given, in each encoding it may have been written in.
  std::vector<std::string> passwords{""};
  if (pszPassword != nullptr && *pszPassword != '\0')
    for (std::string &form : SourcePasswordForms(pszPassword, fields.nRevision))
      passwords.push_back(std::move(form));
  std::unique_ptr<StandardSecurity> pFound;
  size_t nTried = 0;
  for (const std::string &password : passwords) {
    for (size_t k = 0; k < keyLengths.size() && pFound == nullptr; ++k) {
      if (std::find(keyLengths.begin(), keyLengths.begin() + static_cast<long>(k), keyLengths[k]) !=
          keyLengths.begin() + static_cast<long>(k))
        continue;
      fields.nKeyBytes = keyLengths[k];
      auto pSecurity = std::make_unique<StandardSecurity>(fields);
      if (pSecurity->Authenticate(password, strId))
        pFound = std::move(pSecurity);
    }
    ++nTried;
    if (pFound != nullptr)
      break;
  }
  const bool bOnlyEmbedded = strings == CryptMethod::Identity && streams == CryptMethod::Identity;
  if (pFound == nullptr && !bNothingEncrypted && !bOnlyEmbedded) {
    status = nTried > 1 ? Status::WrongPassword : Status::NeedsPassword;
    return nullptr;
  }
  // Files whose pages are all clear open without a password; what only a password unlocks
  // (embedded files) then reads as damaged.
  const bool bAuthenticated = pFound != nullptr;
  auto result = std::unique_ptr<SourceDecryption>(new SourceDecryption(
      bAuthenticated ? std::move(pFound) : std::make_unique<StandardSecurity>(fields)));
  result->m_bAuthenticated = bAuthenticated;
  result->m_strings = strings;
  result->m_streams = streams;
  result->m_embedded = embedded;
  status = Status::Ok;
  return result;
}

bool SourceDecryption::DecryptString(Ref ref, std::string &bytes) const {
  if (m_strings == CryptMethod::Identity)
    return true;
  return m_bAuthenticated && m_pSecurity->Decrypt(m_strings, ref, bytes);
}

CryptMethod SourceDecryption::StreamMethod(const Value &streamDict) const {
  const Value *pType = streamDict.Get("Type");
  if (pType != nullptr && pType->IsName("XRef"))
    return CryptMethod::Identity;
  if (pType != nullptr && pType->IsName("Metadata") && !m_pSecurity->Fields().bEncryptMetadata)
    return CryptMethod::Identity;
  if (pType != nullptr && pType->IsName("EmbeddedFile"))
    return m_embedded;
  return m_streams;
}

bool SourceDecryption::StreamClear(const Value &streamDict) const {
  return StreamMethod(streamDict) == CryptMethod::Identity;
}

bool SourceDecryption::DecryptStream(Ref ref, const Value &streamDict, std::string &bytes) const {
  const CryptMethod method = StreamMethod(streamDict);
  if (method == CryptMethod::Identity)
    return true;
  if (!m_bAuthenticated) {
    bytes.clear();
    return false;
  }
  return m_pSecurity->Decrypt(method, ref, bytes);
}

} // namespace engine::pdf
