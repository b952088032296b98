// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the pack reader. A pack that opens must find every resource it lists,
// and every byte of every resource must be readable (AddressSanitizer watches the reads).
#include "media/resourcepack.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace tipsovo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto pack = ResourcePack::fromBytes(
        QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));
    if (!pack)
        return 0;
    for (const ResourceEntry &entry : pack->entries()) {
        const auto bytes = pack->find(entry.kind, entry.name);
        if (!bytes || bytes->size() < 0 || qsizetype(size) < bytes->size())
            std::abort();
        unsigned sum = 0;
        for (const char c : *bytes)
            sum += static_cast<unsigned char>(c);
        // Keeps the loop from being optimised away.
        asm volatile("" : : "r"(sum));
    }
    return 0;
}
