#include "Ciphers.h"

#include <openssl/evp.h>
#include <openssl/rand.h>

#include <memory>

namespace engine::pdf::ciphers {

namespace {

std::string Digest(const EVP_MD *pMd, std::string_view data) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int n = 0;
  if (pMd == nullptr || EVP_Digest(data.data(), data.size(), digest, &n, pMd, nullptr) != 1)
    return {};
  return std::string(reinterpret_cast<const char *>(digest), n);
}

} // namespace

std::string Md5(std::string_view data) { return Digest(EVP_md5(), data); }

std::string Sha2(int nBits, std::string_view data) {
  return Digest(nBits == 512 ? EVP_sha512() : nBits == 384 ? EVP_sha384() : EVP_sha256(), data);
}

void Rc4(std::string_view key, std::string &data) {
  if (key.empty())
    return;
  unsigned char s[256];
  for (int i = 0; i < 256; ++i)
    s[i] = static_cast<unsigned char>(i);
  for (int i = 0, j = 0; i < 256; ++i) {
    j = (j + s[i] + static_cast<unsigned char>(key[static_cast<size_t>(i) % key.size()])) & 255;
    std::swap(s[i], s[j]);
  }
  int i = 0, j = 0;
  for (char &c : data) {
    i = (i + 1) & 255;
    j = (j + s[i]) & 255;
    std::swap(s[i], s[j]);
    c = static_cast<char>(static_cast<unsigned char>(c) ^ s[(s[i] + s[j]) & 255]);
  }
}

bool AesCbc(bool bEncrypt, std::string_view key, std::string_view iv, std::string_view data,
            bool bPad, std::string &out) {
  const EVP_CIPHER *pCipher = key.size() == 16   ? EVP_aes_128_cbc()
                              : key.size() == 32 ? EVP_aes_256_cbc()
                                                 : nullptr;
  if (pCipher == nullptr || iv.size() != 16 || (!bPad && data.size() % 16 != 0) ||
      (!bEncrypt && data.size() % 16 != 0) || data.size() > (1u << 30))
    return false;
  std::unique_ptr<EVP_CIPHER_CTX, void (*)(EVP_CIPHER_CTX *)> ctx(EVP_CIPHER_CTX_new(),
                                                                  EVP_CIPHER_CTX_free);
  const auto *pKey = reinterpret_cast<const unsigned char *>(key.data());
  const auto *pIv = reinterpret_cast<const unsigned char *>(iv.data());
  if (ctx == nullptr || EVP_CipherInit_ex(ctx.get(), pCipher, nullptr, pKey, pIv, bEncrypt) != 1 ||
      EVP_CIPHER_CTX_set_padding(ctx.get(), bPad ? 1 : 0) != 1)
    return false;
  std::string result(data.size() + 32, '\0');
  int n = 0, nFinal = 0;
  auto *pOut = reinterpret_cast<unsigned char *>(result.data());
  if (EVP_CipherUpdate(ctx.get(), pOut, &n, reinterpret_cast<const unsigned char *>(data.data()),
                       static_cast<int>(data.size())) != 1 ||
      EVP_CipherFinal_ex(ctx.get(), pOut + n, &nFinal) != 1)
    return false;
  result.resize(static_cast<size_t>(n + nFinal));
  out = std::move(result);
  return true;
}

bool RandomBytes(size_t n, std::string &out) {
  std::string bytes(n, '\0');
  if (RAND_bytes(reinterpret_cast<unsigned char *>(bytes.data()), static_cast<int>(n)) != 1)
    return false;
  out = std::move(bytes);
  return true;
}

} // namespace engine::pdf::ciphers
