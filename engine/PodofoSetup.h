#pragma once

namespace engine {

// Once per process, before the first PDF is read or written: silences PoDoFo's logging and
// loads OpenSSL's "legacy" provider beside the "default" one, without which RC4 and
// AES-128 documents can be neither read nor written with OpenSSL 3.
void EnsurePodofoReady();

} // namespace engine
