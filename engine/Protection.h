#pragma once
// Encryption of the output with the standard security handler.

#include "pdf/ObjectCipher.h"
#include "pdf/PdfValue.h"

#include <memory>
#include <string>

namespace engine {

struct OutputProtection {
  std::unique_ptr<pdf::ObjectCipher> pCipher;
  pdf::Value dict;   // the encryption dictionary
  int nVersion = 14; // the PDF version the algorithm needs
};

// The encryption for a MergeEncryption code (AES-256 unless asked otherwise). An empty user
// password opens the file without asking; nPermissions holds the granted bits (print 4,
// edit 8, copy 16); nothing else is ever granted. Passwords are UTF-8, written in
// PDFDocEncoding up to AES-128 and as UTF-8 for AES-256. False with the reason when a password
// has a character the algorithm cannot carry.
bool MakeProtection(const std::string &strUserPwd, const std::string &strOwnerPwd, int nPermissions,
                    int nEncryption, const std::string &strDocumentId, OutputProtection &protection,
                    std::wstring &strReason);

// Reads a finished encrypted output back as any reader would: the user password (UTF-8, empty
// for none) must open it, its page count must be nPages and its metadata must decrypt. The
// reason why not, or empty when it reads.
std::string CheckProtectedOutput(const std::string &strPath, const std::string &strUserPwd,
                                 size_t nPages);

} // namespace engine
