// The firmware image as the newer family's controllers take it: the
// fields of the 64-byte image header that the examination reads, the
// chunks of the download and the controller codes the download expects.
#pragma once

#include <cstddef>
#include <cstdint>

namespace rhosk_firmware {

// The first 64 bytes of an image file, little-endian; only these fields
// are read.
constexpr std::size_t kHeaderSize = 64;
constexpr std::size_t kImageSize = 4;      // u32, must equal the file size
constexpr std::size_t kArchitecture = 12;  // u32, the controller's architecture code
constexpr std::size_t kImageSrl = 24;      // u16, the highest SRL the image serves
constexpr std::size_t kLowestSrl = 26;     // u16, the lowest compatible SRL
constexpr std::size_t kMagic = 28;         // u32
constexpr std::size_t kVersion = 48;       // 16 bytes, not necessarily terminated
constexpr std::size_t kVersionSize = 16;
constexpr uint32_t kMagicValue = 0xBADDECAF;

// This library serves images whose SRL range reaches into 24 to 29.
constexpr uint16_t kApiLowestSrl = 24;
constexpr uint16_t kApiHighestSrl = 29;

// The download goes in chunks of this many bytes, under the management
// lock held 1000 ms per whole KiB of the image.
constexpr uint32_t kChunkSize = 8192;
constexpr uint32_t kLockTimePerKib = 1000;

// Controller codes of the download: a chunk that the controller takes
// while it waits for more, and a checksum that did not match.
constexpr uint32_t kNextImageBufferExpected = 0x0231;
constexpr uint32_t kImageChecksumError = 0x0234;

// Clears the error record and records `systemError`, the Windows error
// of a file that cannot be read (platform/host_files.h); -1.
int32_t RecordFileError(uint32_t systemError);

}  // namespace rhosk_firmware
