#include "DownloadFile.h"

#include "AnsiText.h"
#include "LangFormat.h"
#include "PathText.h"
#include "SystemFolders.h"

#include <curl/curl.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unistd.h>

namespace {

// The application's name, sent as the user agent.
const char kUserAgent[] = "ZOZ Avar Izaded";
// Error texts are cut as the original's message buffer was.
const size_t kMaxErrorText = 254;

struct Sink {
  std::FILE *file = nullptr;
  size_t written = 0;
  size_t limit = 0;
  bool tooLarge = false;
  bool writeFailed = false;
};

size_t WriteBlock(char *data, size_t size, size_t count, void *user) {
  auto *sink = static_cast<Sink *>(user);
  const size_t bytes = size * count;
  if (sink->written + bytes > sink->limit) {
    sink->tooLarge = true;
    return 0; // ends the transfer with CURLE_WRITE_ERROR
  }
  if (std::fwrite(data, 1, bytes, sink->file) != bytes) {
    sink->writeFailed = true;
    return 0;
  }
  sink->written += bytes;
  return bytes;
}

// Called by the library at least once a second, also while it waits for a silent server.
int CheckCancel(void *user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  const auto *cancel = static_cast<const std::atomic<bool> *>(user);
  return cancel->load() ? 1 : 0;
}

std::wstring Cut(std::wstring text) {
  if (text.size() > kMaxErrorText)
    text.resize(kMaxErrorText);
  return text;
}

} // namespace

void InitDownloadLibrary() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

bool DownloadFile(const std::wstring &url, const std::wstring &localPath, std::wstring *error,
                  const std::wstring &statusFormat, const DownloadLimits &limits) {
  std::wstring ignored;
  if (!error)
    error = &ignored;
  InitDownloadLibrary();

  std::wstring folder;
  if (FolderOfPath(localPath, &folder))
    CreateFolderPath(folder);
  const std::string target = WideToUtf8(localPath);
  // A name of its own for each download: several checks may run at once.
  std::string staging = target + ".XXXXXX";
  Sink sink;
  sink.limit = limits.maxBodyBytes;
  const int descriptor = mkstemp(staging.data());
  sink.file = descriptor >= 0 ? fdopen(descriptor, "wb") : nullptr;
  if (!sink.file) {
    *error = Cut(Utf8ToWide(target + ": " + std::strerror(errno)));
    if (descriptor >= 0) {
      close(descriptor);
      std::remove(staging.c_str());
    }
    return false;
  }

  CURL *curl = curl_easy_init();
  if (!curl) {
    std::fclose(sink.file);
    std::remove(staging.c_str());
    *error = L"The download could not be started.";
    return false;
  }
  const std::string address = WideToUtf8(url);
  char curlError[CURL_ERROR_SIZE] = "";
  curl_easy_setopt(curl, CURLOPT_URL, address.c_str());
  curl_easy_setopt(curl, CURLOPT_USERAGENT, kUserAgent);
  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, curlError);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, WriteBlock);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &sink);
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 5L);
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, limits.connectTimeoutSeconds);
  curl_easy_setopt(curl, CURLOPT_TIMEOUT, limits.transferTimeoutSeconds);
  // A worker thread must not be woken by signals for name resolution time-outs.
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  if (limits.cancel) {
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, CheckCancel);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, limits.cancel);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
  }
  // Reload: ask every cache on the way for a fresh copy.
  curl_slist *headers = curl_slist_append(nullptr, "Cache-Control: no-cache");
  headers = curl_slist_append(headers, "Pragma: no-cache");
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);

  const CURLcode code = curl_easy_perform(curl);
  long status = 0;
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
  curl_easy_cleanup(curl);
  curl_slist_free_all(headers);
  const bool flushed = std::fflush(sink.file) == 0 && fsync(fileno(sink.file)) == 0;
  const bool closed = std::fclose(sink.file) == 0;

  if (code != CURLE_OK || !flushed || !closed) {
    std::remove(staging.c_str());
    if (sink.tooLarge)
      *error = Cut(L"The remote file " + url + L" is larger than " +
                   std::to_wstring(limits.maxBodyBytes) + L" bytes.");
    else if (sink.writeFailed || !flushed || !closed)
      *error = Cut(Utf8ToWide(target + ": " + std::strerror(errno)));
    else
      *error = Cut(Utf8ToWide(*curlError ? curlError : curl_easy_strerror(code)));
    return false;
  }
  if (std::rename(staging.c_str(), target.c_str()) != 0) {
    *error = Cut(Utf8ToWide(target + ": " + std::strerror(errno)));
    std::remove(staging.c_str());
    return false;
  }
  if (status != 200) {
    *error = FormatLangText(statusFormat, {url, status});
    return false;
  }
  return true;
}
