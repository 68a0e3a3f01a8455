#pragma once

// The file form of a public call's record: 696 bytes at fixed offsets, with
// the embedded link position's 264 bytes from offset 432. In memory the link
// position holds a pointer, so the record is encoded field by field.

#include <cstddef>

#include "PublicCallInfo.h"

namespace public_call_codec {

inline constexpr std::size_t kEncodedSize = kPublicCallInfoFileSize;

// Texts go up to their terminator and are zero-filled after it; padding, the
// unused byte and the in-memory reference are written as zeros, so equal
// records give equal bytes.
void Encode(const PublicCallInfo& info, unsigned char (&out)[kEncodedSize]);

// Every text ends inside its field; the reference is null, padding and the
// unused byte are zero.
PublicCallInfo Decode(const unsigned char (&in)[kEncodedSize]);

}  // namespace public_call_codec
