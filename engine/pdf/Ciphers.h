#pragma once
// The primitives of the standard security handler: digests, RC4, AES in CBC mode and random
// bytes. OpenSSL's default provider does the digests and AES; RC4 is small enough to do here,
// so no legacy provider (and no process-wide provider state) is ever needed.

#include <string>
#include <string_view>

namespace engine::pdf::ciphers {

std::string Md5(std::string_view data);
// SHA-2 with a digest of nBits (256, 384 or 512).
std::string Sha2(int nBits, std::string_view data);
// RC4 is its own inverse: data is encrypted or decrypted in place.
void Rc4(std::string_view key, std::string &data);
// AES (128 or 256 by the key's size) in CBC mode, PKCS#5 padding when bPad; false when the
// key or data cannot be used (no padding: data not whole blocks).
bool AesCbc(bool bEncrypt, std::string_view key, std::string_view iv, std::string_view data,
            bool bPad, std::string &out);
// Bytes from the system's secure generator; false when it fails (nothing is written then).
bool RandomBytes(size_t n, std::string &out);

} // namespace engine::pdf::ciphers
