// The version block is read from the program's own file, which anyone may replace: any bytes, as an ELF file
// or as the block itself, are read without fault, and a section found lies inside the file.

#include "VersionBlock.h"

#include <cstdlib>

using namespace olg;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    if (const auto section = VersionBlock::FindSection(file, VersionBlock::SectionName)) {
        if (section->data() < data || section->data() + section->size() > data + size)
            std::abort();
        VersionBlock::Parse(*section);
    }
    if (const auto block = VersionBlock::Parse(file)) {
        for (const auto& [key, value] : *block)
            VersionBlock::SplitFileVersion(value);
    }
    return 0;
}
