#include "SourceDecryption.h"

#include "../PodofoSetup.h"

#include <podofo/podofo.h>

#include <cstring>
#include <vector>

using namespace PoDoFo;

namespace engine::pdf {

namespace {

const std::string *StringOf(const Value &dict, const char *pszKey) {
  const Value *p = dict.Get(pszKey);
  return (p != nullptr && p->IsString()) ? &p->string().bytes : nullptr;
}

int64_t IntOf(const Value &dict, const char *pszKey, int64_t fallback) {
  const Value *p = dict.Get(pszKey);
  return (p != nullptr && p->IsInt()) ? p->integer() : fallback;
}

PdfString Bytes(const std::string &bytes, size_t n) {
  return PdfString(bytes.data(), static_cast<pdf_long>(n), true);
}

// The crypt filter method named for strings or streams in a version 4 or 5 dictionary.
std::string FilterMethod(const Value &dict, const char *pszWhich) {
  const Value *pName = dict.Get(pszWhich);
  const std::string name = (pName != nullptr && pName->IsName()) ? pName->name() : "Identity";
  if (name == "Identity")
    return "Identity";
  const Value *pCf = dict.Get("CF");
  const Value *pFilter = pCf ? pCf->Get(name) : nullptr;
  const Value *pMethod = pFilter ? pFilter->Get("CFM") : nullptr;
  return (pMethod != nullptr && pMethod->IsName()) ? pMethod->name() : "None";
}

} // namespace

SourceDecryption::~SourceDecryption() = default;

std::unique_ptr<SourceDecryption> SourceDecryption::Open(const Value &dict,
                                                         const std::string &strId,
                                                         const char *pszPassword, Status &status,
                                                         std::string &strDetail) {
  status = Status::Unsupported;
  EnsurePodofoReady(); // the ciphers are only set up for files that need them
  auto fail = [&strDetail](const char *pszWhy) {
    strDetail = pszWhy;
    return nullptr;
  };
  if (!dict.IsDict())
    return fail("the encryption dictionary is missing");
  const Value *pFilter = dict.Get("Filter");
  if (pFilter == nullptr || !pFilter->IsName("Standard"))
    return fail("encrypted with a security handler other than the standard one");
  const int64_t v = IntOf(dict, "V", 0);
  const int64_t r = IntOf(dict, "R", -1);
  const Value *pP = dict.Get("P");
  if (pP == nullptr || !pP->IsNumber())
    return fail("the encryption dictionary has no permissions");
  const int p = static_cast<int>(static_cast<int64_t>(pP->number()));
  const std::string *pO = StringOf(dict, "O");
  const std::string *pU = StringOf(dict, "U");
  if (pO == nullptr || pU == nullptr)
    return fail("the encryption dictionary lacks its password checks");
  const Value *pMeta = dict.Get("EncryptMetadata");
  const bool bEncryptMetadata = !(pMeta != nullptr && pMeta->IsBool() && !pMeta->boolean());

  auto result = std::unique_ptr<SourceDecryption>(new SourceDecryption);
  result->m_bEncryptMetadata = bEncryptMetadata;
  // The dictionary the cipher code gets is rebuilt from checked values only, every string at
  // exactly the length that code copies.
  PdfObject checked{PdfDictionary()};
  PdfDictionary &d = checked.GetDictionary();
  d.AddKey("Filter", PdfName("Standard"));
  d.AddKey("V", static_cast<pdf_int64>(v));
  d.AddKey("R", static_cast<pdf_int64>(r));
  d.AddKey("P", static_cast<pdf_int64>(p));
  if (!bEncryptMetadata)
    d.AddKey("EncryptMetadata", PdfVariant(false));
  auto cryptFilter = [&d](const char *pszMethod, pdf_int64 nLength) {
    PdfDictionary filter;
    filter.AddKey("CFM", PdfName(pszMethod));
    filter.AddKey("Length", nLength);
    PdfDictionary filters;
    filters.AddKey("StdCF", filter);
    d.AddKey("CF", filters);
    d.AddKey("StmF", PdfName("StdCF"));
    d.AddKey("StrF", PdfName("StdCF"));
  };
  try {
    if (v == 1 || v == 2) {
      const int64_t length = IntOf(dict, "Length", 40);
      if (length < 40 || length > 128 || length % 8 != 0 || (v == 1 && length != 40))
        return fail("the encryption key length is not one the standard allows");
      if ((r != 2 && r != 3) || (v == 2 && r != 3) || pO->size() < 32 || pU->size() < 32)
        return fail("the encryption revision or its password checks are malformed");
      d.AddKey("Length", static_cast<pdf_int64>(length));
      d.AddKey("O", Bytes(*pO, 32));
      d.AddKey("U", Bytes(*pU, 32));
    } else if (v == 4) {
      if (r != 4 || pO->size() < 32 || pU->size() < 32)
        return fail("the encryption revision or its password checks are malformed");
      const std::string strings = FilterMethod(dict, "StrF"), streams = FilterMethod(dict, "StmF");
      auto known = [](const std::string &m) {
        return m == "V2" || m == "AESV2" || m == "Identity";
      };
      if (!known(strings) || !known(streams) ||
          (strings != "Identity" && streams != "Identity" && strings != streams))
        return fail("the crypt filters are not ones the standard defines");
      const std::string method = strings != "Identity" ? strings : streams;
      if (method == "Identity")
        return fail("the crypt filters encrypt nothing");
      result->m_bStringsClear = strings == "Identity";
      result->m_bStreamsClear = streams == "Identity";
      result->m_bStringsAes = result->m_bStreamsAes = method == "AESV2";
      // A version 4 filter's key is 16 bytes whichever way its length is written.
      d.AddKey("Length", static_cast<pdf_int64>(128));
      cryptFilter(method.c_str(), 16);
      d.AddKey("O", Bytes(*pO, 32));
      d.AddKey("U", Bytes(*pU, 32));
    } else if (v == 5) {
      const std::string *pOE = StringOf(dict, "OE");
      const std::string *pUE = StringOf(dict, "UE");
      const std::string *pPerms = StringOf(dict, "Perms");
      if ((r != 5 && r != 6) || pO->size() < 48 || pU->size() < 48 || pOE == nullptr ||
          pUE == nullptr || pOE->size() < 32 || pUE->size() < 32 || pPerms == nullptr ||
          pPerms->size() < 16)
        return fail("the encryption revision or its password checks are malformed");
      const std::string strings = FilterMethod(dict, "StrF"), streams = FilterMethod(dict, "StmF");
      if ((strings != "AESV3" && strings != "Identity") ||
          (streams != "AESV3" && streams != "Identity") ||
          (strings == "Identity" && streams == "Identity"))
        return fail("the crypt filters are not ones the standard defines");
      result->m_bStringsClear = strings == "Identity";
      result->m_bStreamsClear = streams == "Identity";
      result->m_bStringsAes = result->m_bStreamsAes = true;
      d.AddKey("Length", static_cast<pdf_int64>(256));
      cryptFilter("AESV3", 32);
      d.AddKey("O", Bytes(*pO, 48));
      d.AddKey("U", Bytes(*pU, 48));
      d.AddKey("OE", Bytes(*pOE, 32));
      d.AddKey("UE", Bytes(*pUE, 32));
      d.AddKey("Perms", Bytes(*pPerms, 16));
    } else {
      return fail("the encryption version is not one the standard defines");
    }
    result->m_pEncrypt.reset(PdfEncrypt::CreatePdfEncrypt(&checked));
    if (result->m_pEncrypt == nullptr)
      return fail("the encryption cannot be used");

    const PdfString id(strId.data(), static_cast<pdf_long>(strId.size()), true);
    if (result->m_pEncrypt->Authenticate("", id)) {
      status = Status::Ok;
      return result;
    }
    if (pszPassword == nullptr || *pszPassword == '\0') {
      status = Status::NeedsPassword;
      return nullptr;
    }
    if (result->m_pEncrypt->Authenticate(pszPassword, id)) {
      status = Status::Ok;
      return result;
    }
    status = Status::WrongPassword;
    return nullptr;
  } catch (const PdfError &) {
    return fail("the encryption dictionary cannot be used");
  }
}

bool SourceDecryption::Decrypt(Ref ref, std::string &bytes, bool bAes) const {
  if (bytes.empty())
    return true;
  // AES data is the 16-byte IV and whole blocks; anything else would make the cipher code read
  // past the data.
  if (bAes && (bytes.size() < 32 || bytes.size() % 16 != 0)) {
    bytes.clear();
    return false;
  }
  try {
    m_pEncrypt->SetCurrentReference(PdfReference(ref.num, ref.gen));
    std::vector<unsigned char> out(bytes.size() + 16);
    pdf_long nOut = static_cast<pdf_long>(bytes.size());
    m_pEncrypt->Decrypt(reinterpret_cast<const unsigned char *>(bytes.data()),
                        static_cast<pdf_long>(bytes.size()), out.data(), nOut);
    if (nOut < 0 || static_cast<size_t>(nOut) > bytes.size()) {
      bytes.clear();
      return false;
    }
    bytes.assign(reinterpret_cast<const char *>(out.data()), static_cast<size_t>(nOut));
    return true;
  } catch (const PdfError &) {
    bytes.clear();
    return false;
  }
}

bool SourceDecryption::DecryptString(Ref ref, std::string &bytes) const {
  return m_bStringsClear || Decrypt(ref, bytes, m_bStringsAes);
}

bool SourceDecryption::DecryptStream(Ref ref, std::string &bytes) const {
  return m_bStreamsClear || Decrypt(ref, bytes, m_bStreamsAes);
}

} // namespace engine::pdf
