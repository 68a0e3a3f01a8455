#pragma once

#include <cstddef>
#include <cstdint>

namespace tagstream {

// The common CRC-32 (reflected polynomial 0xEDB88320, as zip and PNG use it):
// "123456789" gives 0xCBF43926.
std::uint32_t Crc32(const char* data, std::size_t size);

}  // namespace tagstream
