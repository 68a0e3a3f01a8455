#pragma once

#include <cstddef>
#include <vector>

// Whether the path is an http:// or https:// address, letter case ignored.
bool IsInternetAddress(const char* path);

// Fetches the whole resource at an http or https address. False, leaving `out`
// as it was, when the transfer fails, the server answers an error status, the
// resource is larger than `maxSize`, or the transfer stalls or runs too long.
bool DownloadWhole(const char* url, std::vector<char>& out, std::size_t maxSize);
