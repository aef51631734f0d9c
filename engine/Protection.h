#pragma once
// Encryption of the output with the standard security handler.

#include <podofo/podofo.h>

#include <string>

namespace engine {

// Encrypts rDoc when written, with the standard security handler and the algorithm of a
// MergeEncryption code (RC4 with a 40-bit key unless asked otherwise). An empty user password
// opens the file without asking; nPermissions holds the granted bits (print 4, edit 8,
// copy 16); nothing else is ever granted.
void ApplyProtection(PoDoFo::PdfMemDocument &rDoc, const std::string &strUserPwd,
                     const std::string &strOwnerPwd, int nPermissions, int nEncryption);

} // namespace engine
