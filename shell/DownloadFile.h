#pragma once
#include <atomic>
#include <string>

// Limits of one download, so that a silent or endless server cannot keep a worker forever.
struct DownloadLimits {
  long connectTimeoutSeconds = 15;
  long transferTimeoutSeconds = 60;
  size_t maxBodyBytes = 1024 * 1024;
  // When set and it becomes true, the transfer stops within about a second (program exit).
  const std::atomic<bool> *cancel = nullptr;
};

// Downloads url over HTTP(S) into localPath, bypassing every cache. The folder of localPath is
// created when missing. The body is written whatever the HTTP status, to a temporary file beside
// localPath that replaces it once complete; after a network, size or file error localPath keeps
// its previous content.
// True for status 200. Otherwise false with *error set: for another status, statusFormat (the
// string-table text "Download remote file %s failed, error code: HTTP %d!") filled with the URL
// and the status; for other failures the library's or the system's error message, at most 254
// characters.
bool DownloadFile(const std::wstring &url, const std::wstring &localPath, std::wstring *error,
                  const std::wstring &statusFormat, const DownloadLimits &limits = {});

// Sets up the HTTP library once per process; DownloadFile does it itself when needed. Calling it
// first from the main thread makes the library's exit handlers run after ours.
void InitDownloadLibrary();
