#pragma once

// Descriptor-level helpers shared by the file and settings code of the
// platform layer. Not part of the engine's interface.

#include <cstddef>

namespace platform::internal {

// Writes every byte, retrying after signals and short writes.
bool WriteAll(int fd, const void* data, std::size_t size);

// Closes a descriptor; a close interrupted by a signal is not retried because
// the descriptor is gone either way on Linux.
void CloseDescriptor(int fd);

}  // namespace platform::internal
