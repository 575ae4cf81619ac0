#pragma once

// The tests build their device recordings with the sample generator's writer.
#include "../../samples/generator/NvdBuilder.h"

namespace nuvisca::test {
using samples::Bytes;
using samples::NvdBuilder;
using samples::writeBytes;
}  // namespace nuvisca::test
