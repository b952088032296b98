// SPDX-License-Identifier: GPL-3.0-or-later
// A pack that opens must find every resource it lists by its name, and every byte of every
// resource must lie inside the file (AddressSanitizer watches the reads).
#include "feeds.h"

#include "media/resourcepack.h"

namespace tipsovo::fuzz {

QString feedPack(QByteArrayView input)
{
    const auto pack = ResourcePack::fromBytes(input.toByteArray());
    if (!pack)
        return {};
    for (const ResourceEntry &entry : pack->entries()) {
        const auto bytes = pack->find(entry.kind, entry.name);
        if (!bytes)
            return QStringLiteral("listed resource %1 not found").arg(entry.name);
        if (bytes->size() < 0 || bytes->size() > input.size())
            return QStringLiteral("resource %1 larger than the pack").arg(entry.name);
        unsigned sum = 0;
        for (const char c : *bytes)
            sum += static_cast<unsigned char>(c);
        // Keeps the loop from being optimised away.
        asm volatile("" : : "r"(sum));
    }
    return {};
}

} // namespace tipsovo::fuzz
