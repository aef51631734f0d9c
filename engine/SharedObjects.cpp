#include "SharedObjects.h"

#include "pdf/PdfWriter.h"
#include "pdf/StreamFilters.h"

// OpenSSL's digest calls load its providers, which cost the process about 2 MB; the plain
// SHA-256 steps need none of that.
#define OPENSSL_SUPPRESS_DEPRECATED
#include <openssl/sha.h>

#include <cstring>

namespace engine {

using pdf::Value;

namespace {

constexpr size_t kProbes = 8;

bool IsIdentityType(const Value *pType) {
  if (pType == nullptr || !pType->IsName())
    return false;
  for (const char *pszType :
       {"Page", "Pages", "Annot", "StructElem", "StructTreeRoot", "OBJR", "MCR", "OCG", "OCMD",
        "Catalog", "Outlines", "ObjStm", "XRef", "Sig", "Bead", "Thread", "Filespec"})
    if (pType->name() == pszType)
      return true;
  return false;
}

} // namespace

SharedObjects::Fingerprint SharedObjects::Of(const Value &value, bool bStream,
                                             std::string_view data) {
  std::string text(bStream ? "S" : "O");
  pdf::AppendValue(text, value);
  text += '\0';
  SHA256_CTX context;
  SHA256_Init(&context);
  SHA256_Update(&context, text.data(), text.size());
  SHA256_Update(&context, data.data(), data.size());
  unsigned char digest[SHA256_DIGEST_LENGTH];
  SHA256_Final(digest, &context);
  Fingerprint print;
  std::memcpy(&print.high, digest, sizeof print.high);
  std::memcpy(&print.low, digest + sizeof print.high, sizeof print.low);
  return print;
}

uint32_t SharedObjects::Find(const Fingerprint &print) const {
  if (m_slots.empty())
    return 0;
  for (size_t i = 0; i < kProbes; ++i) {
    const Slot &slot = m_slots[(print.high + i) & (kSlots - 1)];
    if (slot.num == 0)
      return 0;
    if (slot.high == print.high && slot.low == print.low)
      return slot.num;
  }
  return 0;
}

void SharedObjects::Remember(const Fingerprint &print, uint32_t nNum) {
  if (m_slots.empty())
    m_slots.resize(kSlots);
  Slot *pSlot = &m_slots[print.high & (kSlots - 1)];
  for (size_t i = 0; i < kProbes; ++i) {
    Slot &slot = m_slots[(print.high + i) & (kSlots - 1)];
    if (slot.num == 0) {
      pSlot = &slot;
      break;
    }
  }
  // A full run of slots gives up its first: that object is only not shared any more.
  *pSlot = Slot{print.high, print.low, nNum};
}

std::string Sha256(std::string_view bytes) {
  // SHA256() itself goes through the providers: the three steps do not.
  SHA256_CTX context;
  SHA256_Init(&context);
  SHA256_Update(&context, bytes.data(), bytes.size());
  unsigned char digest[SHA256_DIGEST_LENGTH];
  SHA256_Final(digest, &context);
  return std::string(reinterpret_cast<const char *>(digest), sizeof digest);
}

bool IsShareable(const Value &value, bool bStream, bool bTagged) {
  if (value.IsArray())
    return !bStream;
  if (!value.IsDict())
    return false;
  const pdf::Dict &dict = value.dict();
  if (IsIdentityType(dict.Get("Type")))
    return false;
  for (const pdf::DictEntry &entry : dict) {
    const std::string &key = entry.key;
    if (key.size() > 12)
      continue;
    for (const char *pszKey :
         {"P", "Parent", "Kids", "K", "Pg", "Obj", "Stm", "StructParent", "StructParents", "Rect",
          "FT", "T", "First", "Last", "Next", "Prev", "Popup", "IRT", "Dest"})
      if (key == pszKey)
        return false;
  }
  // Marked content of a tagged source may be named by the form that holds it.
  const Value *pSubtype = dict.Get("Subtype");
  return !(bTagged && bStream && pSubtype != nullptr && pSubtype->IsName("Form"));
}

void CompressPlainStream(Value &dict, std::string_view &data, std::string &encoded) {
  if (!dict.IsDict() || dict.dict().Has("Filter") || data.size() < 64)
    return;
  const Value *pSubtype = dict.Get("Subtype");
  const Value *pType = dict.Get("Type");
  if ((pSubtype != nullptr && pSubtype->IsName("Image")) ||
      (pType != nullptr && pType->IsName("Metadata")))
    return;
  encoded = pdf::FlateEncode(std::string(data));
  if (encoded.empty() || encoded.size() + 16 >= data.size())
    return;
  dict.dict().Remove("DecodeParms");
  dict.dict().Set("Filter", Value::MakeName("FlateDecode"));
  data = encoded;
}

} // namespace engine
