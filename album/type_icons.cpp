#include "album/type_icons.h"

#include "album/fdb_record.h"

namespace {

struct TypeIcon {
    const char* extension;
    const unsigned char* bits;
};

const TypeIcon kTypeIcons[] = {
    {"JPG", kJpgIcon},
    {"AVI", kAviIcon},
    {"WAV", kWavIcon},
};

}  // namespace

const unsigned char* TypeIconFor(const unsigned char* record, bool anyCase)
{
    for (const TypeIcon& icon : kTypeIcons) {
        const bool matches = anyCase ? FdbExtensionIsAnyCase(record, icon.extension)
                                     : FdbExtensionIs(record, icon.extension);
        if (matches) {
            return icon.bits;
        }
    }
    return nullptr;
}
