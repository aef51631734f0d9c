#include "Protection.h"

using namespace PoDoFo;

namespace engine {

void ApplyProtection(PdfMemDocument &rDoc, const std::string &strUserPwd,
                     const std::string &strOwnerPwd, int nPermissions) {
  rDoc.SetEncrypted(strUserPwd, strOwnerPwd, nPermissions & (4 | 8 | 16),
                    PdfEncrypt::ePdfEncryptAlgorithm_RC4V1, PdfEncrypt::ePdfKeyLength_40);
}

} // namespace engine
