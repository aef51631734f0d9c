#pragma once
// Encryption of the output with the standard security handler.

#include "pdf/PdfValue.h"

#include <memory>
#include <string>

namespace PoDoFo {
class PdfEncrypt;
}

namespace engine {

struct OutputProtection {
  std::unique_ptr<PoDoFo::PdfEncrypt> pEncrypt;
  pdf::Value dict;   // the encryption dictionary
  int nVersion = 14; // the PDF version the algorithm needs
};

// The encryption for a MergeEncryption code (RC4 with a 40-bit key unless asked otherwise). An
// empty user password opens the file without asking; nPermissions holds the granted bits
// (print 4, edit 8, copy 16); nothing else is ever granted. Passwords come as Windows-1252
// bytes and are written in PDFDocEncoding, except for AES-256, which takes UTF-8. False with
// the reason when a password has a character the algorithm cannot carry.
bool MakeProtection(const std::string &strUserPwd, const std::string &strOwnerPwd, int nPermissions,
                    int nEncryption, const std::string &strDocumentId, OutputProtection &protection,
                    std::wstring &strReason);

} // namespace engine
