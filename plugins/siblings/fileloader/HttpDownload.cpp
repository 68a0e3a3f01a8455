#include "HttpDownload.h"

#include <curl/curl.h>

#include <cctype>
#include <mutex>

namespace {

// A package is fetched while the viewer waits, so a dead server must not hold
// it for long: connecting may take this long, the whole transfer at most the
// total, and a transfer that moves almost nothing for the stall time is given up.
constexpr long kConnectTimeoutSeconds = 15;
constexpr long kTotalTimeoutSeconds = 600;
constexpr long kStallSeconds = 30;
constexpr long kStallBytesPerSecond = 1;
constexpr long kMaxRedirects = 5;

bool StartsWithIgnoringCase(const char* text, const char* prefix) {
  for (; *prefix != '\0'; ++text, ++prefix) {
    if (std::tolower(static_cast<unsigned char>(*text)) != *prefix) return false;
  }
  return true;
}

struct Transfer {
  std::vector<char> bytes;
  std::size_t maxSize;
};

// Refusing the bytes (answering less than offered) aborts the transfer, so
// nothing beyond the limit is ever held.
std::size_t Collect(char* data, std::size_t size, std::size_t count, void* user) {
  auto* transfer = static_cast<Transfer*>(user);
  const std::size_t length = size * count;
  if (length > transfer->maxSize - transfer->bytes.size()) return 0;
  transfer->bytes.insert(transfer->bytes.end(), data, data + length);
  return length;
}

void SetTransferOptions(CURL* curl, const char* url, Transfer& transfer) {
  curl_easy_setopt(curl, CURLOPT_URL, url);
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(curl, CURLOPT_MAXREDIRS, kMaxRedirects);
  curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
  curl_easy_setopt(curl, CURLOPT_TIMEOUT, kTotalTimeoutSeconds);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, kStallSeconds);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, kStallBytesPerSecond);
  // A server that announces too much is refused before its first byte.
  curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(transfer.maxSize));
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Collect);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
}

}  // namespace

bool IsInternetAddress(const char* path) {
  return StartsWithIgnoringCase(path, "http://") || StartsWithIgnoringCase(path, "https://");
}

bool DownloadWhole(const char* url, std::vector<char>& out, std::size_t maxSize) {
  static std::once_flag initialised;
  std::call_once(initialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
  CURL* curl = curl_easy_init();
  if (!curl) return false;
  Transfer transfer{{}, maxSize};
  SetTransferOptions(curl, url, transfer);
  const CURLcode result = curl_easy_perform(curl);
  curl_easy_cleanup(curl);
  if (result != CURLE_OK) return false;
  out.swap(transfer.bytes);
  return true;
}
