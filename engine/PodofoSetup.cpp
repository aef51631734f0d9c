#include "PodofoSetup.h"

#include <podofo/podofo.h>

#include <mutex>
#include <openssl/opensslv.h>
#if OPENSSL_VERSION_MAJOR >= 3
#include <openssl/provider.h>
#endif

namespace engine {

void EnsurePodofoReady() {
  static std::once_flag once;
  std::call_once(once, [] {
    PoDoFo::PdfError::EnableLogging(false);
    PoDoFo::PdfError::EnableDebug(false);
#if OPENSSL_VERSION_MAJOR >= 3
    // Loading "legacy" alone would hide the default algorithms; both are needed.
    OSSL_PROVIDER_load(nullptr, "legacy");
    OSSL_PROVIDER_load(nullptr, "default");
#endif
  });
}

} // namespace engine
