#include "Protection.h"

#include "MergerTool.h"
#include "PdfText.h"
#include "PodofoSetup.h"

#include <podofo/podofo.h>

using namespace PoDoFo;

namespace engine {

namespace {

pdf::Value FromPodofo(const PdfObject &object) {
  if (object.IsBool())
    return pdf::Value(object.GetBool());
  if (object.IsNumber())
    return pdf::Value(static_cast<int64_t>(object.GetNumber()));
  if (object.IsReal())
    return pdf::Value(object.GetReal());
  if (object.IsName())
    return pdf::Value::MakeName(object.GetName().GetName());
  if (object.IsString() || object.IsHexString())
    return pdf::Value::MakeString(std::string(object.GetString().GetString(),
                                              static_cast<size_t>(object.GetString().GetLength())),
                                  true);
  if (object.IsArray()) {
    pdf::Array items;
    for (const PdfObject &item : object.GetArray())
      items.push_back(FromPodofo(item));
    return pdf::Value(std::move(items));
  }
  if (object.IsDictionary()) {
    pdf::Dict dict;
    for (const auto &entry : object.GetDictionary().GetKeys())
      dict.Set(entry.first.GetName(), FromPodofo(*entry.second));
    return pdf::Value(std::move(dict));
  }
  return pdf::Value();
}

} // namespace

bool MakeProtection(const std::string &strUserPwd, const std::string &strOwnerPwd, int nPermissions,
                    int nEncryption, const std::string &strDocumentId, OutputProtection &protection,
                    std::wstring &strReason) {
  PdfEncrypt::EPdfEncryptAlgorithm eAlgorithm = PdfEncrypt::ePdfEncryptAlgorithm_RC4V1;
  PdfEncrypt::EPdfKeyLength eKeyLength = PdfEncrypt::ePdfKeyLength_40;
  protection.nVersion = 14;
  switch (nEncryption) {
  case ENCRYPT_RC4_128:
    eAlgorithm = PdfEncrypt::ePdfEncryptAlgorithm_RC4V2;
    eKeyLength = PdfEncrypt::ePdfKeyLength_128;
    break;
  case ENCRYPT_AES_128:
    eAlgorithm = PdfEncrypt::ePdfEncryptAlgorithm_AESV2;
    eKeyLength = PdfEncrypt::ePdfKeyLength_128;
    protection.nVersion = 16;
    break;
  case ENCRYPT_AES_256:
    eAlgorithm = PdfEncrypt::ePdfEncryptAlgorithm_AESV3R6;
    eKeyLength = PdfEncrypt::ePdfKeyLength_256;
    protection.nVersion = 20; // revision 6 is PDF 2.0's own
    break;
  default:
    break;
  }
  EnsurePodofoReady();
  std::string user = strUserPwd, owner = strOwnerPwd;
  if (eAlgorithm != PdfEncrypt::ePdfEncryptAlgorithm_AESV3R6) {
    if (!Cp1252ToPdfDoc(strUserPwd, user) || !Cp1252ToPdfDoc(strOwnerPwd, owner)) {
      strReason = L"a password has a character that PDF passwords of this encryption cannot hold";
      return false;
    }
  }
  int nGranted = nPermissions & (4 | 8 | 16);
  // From revision 3 on, bit 4 alone prints at low resolution only and copying leaves out
  // text extraction for accessibility; granted printing and copying mean the full grant.
  if (eAlgorithm != PdfEncrypt::ePdfEncryptAlgorithm_RC4V1) {
    if (nGranted & 4)
      nGranted |= 2048;
    if (nGranted & 16)
      nGranted |= 512;
  }
  try {
    protection.pEncrypt.reset(
        PdfEncrypt::CreatePdfEncrypt(user, owner, nGranted, eAlgorithm, eKeyLength));
    protection.pEncrypt->GenerateEncryptionKey(
        PdfString(strDocumentId.data(), static_cast<pdf_long>(strDocumentId.size()), true));
    PdfObject dict{PdfDictionary()};
    protection.pEncrypt->CreateEncryptionDictionary(dict.GetDictionary());
    protection.dict = FromPodofo(dict);
  } catch (const PdfError &) {
    strReason = L"the encryption cannot be set up";
    return false;
  }
  return true;
}

} // namespace engine
