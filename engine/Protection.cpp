#include "Protection.h"

#include "MergerTool.h"

using namespace PoDoFo;

namespace engine {

void ApplyProtection(PdfMemDocument &rDoc, const std::string &strUserPwd,
                     const std::string &strOwnerPwd, int nPermissions, int nEncryption) {
  PdfEncrypt::EPdfEncryptAlgorithm eAlgorithm = PdfEncrypt::ePdfEncryptAlgorithm_RC4V1;
  PdfEncrypt::EPdfKeyLength eKeyLength = PdfEncrypt::ePdfKeyLength_40;
  switch (nEncryption) {
  case ENCRYPT_RC4_128:
    eAlgorithm = PdfEncrypt::ePdfEncryptAlgorithm_RC4V2;
    eKeyLength = PdfEncrypt::ePdfKeyLength_128;
    break;
  case ENCRYPT_AES_128:
    eAlgorithm = PdfEncrypt::ePdfEncryptAlgorithm_AESV2;
    eKeyLength = PdfEncrypt::ePdfKeyLength_128;
    break;
  case ENCRYPT_AES_256:
    eAlgorithm = PdfEncrypt::ePdfEncryptAlgorithm_AESV3R6;
    eKeyLength = PdfEncrypt::ePdfKeyLength_256;
    break;
  default:
    break;
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
  rDoc.SetEncrypted(strUserPwd, strOwnerPwd, nGranted, eAlgorithm, eKeyLength);
}

} // namespace engine
