// The sizes of Perch's fixed buffers.
#pragma once

enum {
  kPathSize = 260,          // every composed path: at most 259 bytes and a NUL
  kInstructionSize = 80,    // TargetFileName and Title
  kSectionAreaSize = 79,    // one section read: its entries, each NUL-closed, and a final NUL
  kInstructionMaxBytes = 77,
  kModulePathCapacity = 259,
  kMessageSize = 256,
};
