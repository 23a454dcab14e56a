// File database records as the album reads them: labels, extensions and
// sizes, and the choices of a download and a save among selected records.
// Input: 32-byte records, then fewer than 32 bytes, each the index of a
// selected record (an index may lie beyond the records).
#include <algorithm>
#include <cstring>
#include <set>
#include <vector>

#include "album/fdb_record.h"
#include "album/read_out_plan.h"
#include "fuzz/fuzz_check.h"

namespace {

const char* const kObjectExtensions[] = {"JPG", "AVI", "WAV"};

// A still, clip or sound, by its extension in either case.
bool IsObject(const unsigned char* record)
{
    for (const char* extension : kObjectExtensions) {
        if (FdbExtensionIsAnyCase(record, extension)) {
            return true;
        }
    }
    return false;
}

// The label in a buffer of its exact size: the name, a full stop and the
// extension, 0x05 read as 0xE5; nothing for an unusable record or a buffer
// without room for the terminator.
void CheckLabel(const unsigned char* record, size_t size)
{
    std::vector<char> label(size, 'x');
    const bool made = MakeFdbLabel(record, label.data(), size);
    FUZZ_CHECK(made == (FdbRecordUsable(record) && size > kFdbLabelLength));
    if (size == 0) {
        return;
    }
    if (!made) {
        FUZZ_CHECK(label[0] == '\0');
        return;
    }
    const unsigned char first = record[0] == 0x05 ? 0xE5 : record[0];
    FUZZ_CHECK(static_cast<unsigned char>(label[0]) == first);
    FUZZ_CHECK(memcmp(&label[1], record + 1, 7) == 0 && label[8] == '.');
    FUZZ_CHECK(memcmp(&label[9], record + 8, 3) == 0 && label[kFdbLabelLength] == '\0');
}

void CheckRecord(const unsigned char* record)
{
    CheckLabel(record, kFdbLabelLength);
    CheckLabel(record, kFdbLabelLength + 1);
    for (const char* extension : kObjectExtensions) {
        FUZZ_CHECK(!FdbExtensionIs(record, extension) || FdbExtensionIsAnyCase(record, extension));
    }
    const SaveChoice choice = SaveChoiceFor(record);
    FUZZ_CHECK((choice == SaveChoice::Stop) == !FdbRecordUsable(record));
    FUZZ_CHECK(choice != SaveChoice::Write || IsObject(record));
}

// A download refuses any selected clip, and otherwise lists every selected
// still, in the selection's ascending order.
void CheckDownload(const unsigned char* records, unsigned long count,
                   const std::vector<unsigned long>& selected)
{
    std::vector<unsigned long> stills;
    const DownloadChoice choice = PlanDownload(records, count, selected, stills);
    std::vector<unsigned long> selectedStills;
    bool clipSelected = false;
    for (unsigned long index : selected) {
        if (index < count && FdbExtensionIsAnyCase(FdbRecordAt(records, index), "AVI")) {
            clipSelected = true;
        } else if (index < count && FdbExtensionIsAnyCase(FdbRecordAt(records, index), "JPG")) {
            selectedStills.push_back(index);
        }
    }
    if (clipSelected) {
        FUZZ_CHECK(choice == DownloadChoice::ClipSelected && stills.empty());
        return;
    }
    FUZZ_CHECK(stills == selectedStills);
    FUZZ_CHECK((choice == DownloadChoice::Ready) == !stills.empty());
    FUZZ_CHECK((choice == DownloadChoice::NoStillSelected) == stills.empty());
    FUZZ_CHECK(ProgressRangeTop(SumObjectSizes(records, stills)) <= 0xFFFFu);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const unsigned long count = static_cast<unsigned long>(size / kFdbRecordSize);
    // The records as GetFDBContext hands them over: in a zero-filled buffer
    // of the size the album gives it.
    std::vector<unsigned char> records(FdbContextSize(count));
    FUZZ_CHECK(records.size() >= count * kFdbRecordSize);
    std::copy(data, data + count * kFdbRecordSize, records.begin());
    const std::set<unsigned long> chosen(data + count * kFdbRecordSize, data + size);
    const std::vector<unsigned long> selected(chosen.begin(), chosen.end());

    for (unsigned long index = 0; index < count; ++index) {
        CheckRecord(FdbRecordAt(records.data(), index));
    }
    CheckLabel(records.data(), 0);
    CheckDownload(records.data(), count, selected);
    return 0;
}
