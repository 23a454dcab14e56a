#include "album/read_out_plan.h"

#include "album/fdb_record.h"

DownloadChoice PlanDownload(const unsigned char* records, unsigned long recordCount,
                            const std::vector<unsigned long>& selected,
                            std::vector<unsigned long>& stills)
{
    stills.clear();
    for (unsigned long index : selected) {
        if (index >= recordCount) {
            continue;
        }
        const unsigned char* record = FdbRecordAt(records, index);
        if (FdbExtensionIsAnyCase(record, "AVI")) {
            stills.clear();
            return DownloadChoice::ClipSelected;
        }
        if (FdbExtensionIsAnyCase(record, "JPG")) {
            stills.push_back(index);
        }
    }
    return stills.empty() ? DownloadChoice::NoStillSelected : DownloadChoice::Ready;
}

SaveChoice SaveChoiceFor(const unsigned char* record)
{
    if (!FdbRecordUsable(record)) {
        return SaveChoice::Stop;
    }
    for (const char* extension : {"AVI", "WAV", "JPG"}) {
        if (FdbExtensionIsAnyCase(record, extension)) {
            return SaveChoice::Write;
        }
    }
    return SaveChoice::PassOver;
}

uint32_t SumObjectSizes(const unsigned char* records, const std::vector<unsigned long>& indices)
{
    uint32_t total = 0;
    for (unsigned long index : indices) {
        total += FdbObjectSize(FdbRecordAt(records, index));
    }
    return total;
}

unsigned ProgressRangeTop(uint32_t byteTotal)
{
    return (byteTotal / kProgressBlockBytes) & 0xFFFFu;
}
