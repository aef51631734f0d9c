#pragma once

namespace engine {

// For code that uses PoDoFo beside the engine (the engine's own encryption does not: it needs
// no legacy provider): once per process, before PoDoFo reads or writes a PDF, silences its
// logging and loads OpenSSL's "legacy" provider beside the "default" one, without which
// PoDoFo can neither read nor write RC4 and AES-128 documents with OpenSSL 3.
void EnsurePodofoReady();

} // namespace engine
