#include "Protection.h"

#include "MergerTool.h"
#include "pdf/PasswordText.h"
#include "pdf/SourceDocument.h"
#include "pdf/StandardSecurity.h"

namespace engine {

bool MakeProtection(const std::string &strUserPwd, const std::string &strOwnerPwd, int nPermissions,
                    int nEncryption, const std::string &strDocumentId, OutputProtection &protection,
                    std::wstring &strReason) {
  int nRevision = 6;
  protection.nVersion = 20; // revision 6 is PDF 2.0's own
  switch (nEncryption) {
  case ENCRYPT_RC4_40:
    nRevision = 2;
    protection.nVersion = 14;
    break;
  case ENCRYPT_RC4_128:
    nRevision = 3;
    protection.nVersion = 14;
    break;
  case ENCRYPT_AES_128:
    nRevision = 4;
    protection.nVersion = 16;
    break;
  default:
    break;
  }
  std::string user, owner;
  if (!pdf::EncodeOutputPassword(strUserPwd, nRevision, user) ||
      !pdf::EncodeOutputPassword(strOwnerPwd, nRevision, owner)) {
    strReason = L"a password has a character that PDF passwords of this encryption cannot hold";
    return false;
  }
  int nGranted = nPermissions & (4 | 8 | 16);
  // From revision 3 on, bit 4 alone prints at low resolution only and copying leaves out
  // text extraction for accessibility; granted printing and copying mean the full grant.
  if (nRevision >= 3) {
    if (nGranted & 4)
      nGranted |= 2048;
    if (nGranted & 16)
      nGranted |= 512;
  }
  // Bits 7, 8 and 13 to 32 are reserved and set, as the standard asks.
  const int32_t nP = static_cast<int32_t>(0xFFFFF0C0u | static_cast<uint32_t>(nGranted));
  auto pSecurity = pdf::StandardSecurity::Create(nRevision, user, owner, nP, strDocumentId);
  if (pSecurity == nullptr) {
    strReason = L"the encryption cannot be set up: no secure random numbers";
    return false;
  }
  protection.dict = pSecurity->Dictionary();
  protection.pCipher = std::move(pSecurity);
  return true;
}

std::string CheckProtectedOutput(const std::string &strPath, const std::string &strUserPwd,
                                 size_t nPages) {
  pdf::OpenStatus status = pdf::OpenStatus::Ok;
  std::string why;
  auto doc = pdf::SourceDocument::Open(strPath, strUserPwd.c_str(), status, why, {}, true);
  if (doc == nullptr)
    return "the encrypted output does not open with its own password when read back (" + why + ")";
  if (doc->Pages().size() != nPages)
    return "the encrypted output reads back with " + std::to_string(doc->Pages().size()) +
           " pages instead of " + std::to_string(nPages);
  // The metadata stream is known text: it decrypts to it only with the right key.
  const pdf::Value *pMeta = doc->Catalog().Get("Metadata");
  if (pMeta != nullptr && pMeta->IsRef()) {
    const pdf::ObjectPtr meta = doc->Load(pMeta->ref());
    std::string xmp;
    if (doc->DecodedStream(pMeta->ref().num, *meta, xmp) != pdf::DecodeResult::Ok ||
        xmp.compare(0, 9, "<?xpacket") != 0)
      return "the encrypted output's contents do not decrypt when read back";
  }
  return {};
}

} // namespace engine
