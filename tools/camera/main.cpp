// camera: looks into the camera through its access library, DSCLINK.dll,
// as the source does.
//
//   camera [--ini PATH] list             the stored objects, newest last
//   camera [--ini PATH] read N PREFIX    object N (1-based): a still as the
//                                        BMP file PREFIX + N in four digits
//                                        + ".bmp"
//   camera [--ini PATH] save N NAME      object N's bytes unchanged, in the
//                                        file the library makes of NAME
//   camera [--ini PATH] capture [full]   takes a still (640 x 480, or the
//                                        sensor's full size)
//
// Without --ini the library loads the source's own settings file,
// "TWAIN_32\Tz600a\DSCLINK.INI" under the Windows directory.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "album/camera_library.h"

namespace {

struct Options {
    const char* iniPath = nullptr;
    const char* command = nullptr;
    const char* number = nullptr;
    const char* prefix = nullptr;
};

int Usage()
{
    fprintf(stderr, "usage: camera [--ini PATH] list\n"
                    "       camera [--ini PATH] read|save N PREFIX\n"
                    "       camera [--ini PATH] capture [full]\n");
    return 2;
}

bool ParseOptions(int argc, char** argv, Options& options)
{
    int i = 1;
    if (i + 1 < argc && strcmp(argv[i], "--ini") == 0) {
        options.iniPath = argv[i + 1];
        i += 2;
    }
    if (i >= argc) {
        return false;
    }
    options.command = argv[i++];
    options.number = i < argc ? argv[i++] : nullptr;
    options.prefix = i < argc ? argv[i++] : nullptr;
    return i == argc;
}

bool LoadSettings(const Options& options)
{
    std::vector<char> path;
    if (options.iniPath == nullptr) {
        return LoadCameraSettings();
    }
    path.assign(options.iniPath, options.iniPath + strlen(options.iniPath) + 1);
    return Load_IniFile(path.data()) == 0;
}

bool ReadAllRecords(unsigned long& count, std::vector<unsigned char>& records)
{
    count = 0;
    if (GetFDBCount(&count) != 0) {
        fprintf(stderr, "camera: the object count cannot be read\n");
        return false;
    }
    if (!ReadFdbContext(count, records)) {
        fprintf(stderr, "camera: the file database cannot be read\n");
        return false;
    }
    return true;
}

int List()
{
    unsigned long count = 0;
    std::vector<unsigned char> records;
    if (!ReadAllRecords(count, records)) {
        return 1;
    }
    for (unsigned long i = 0; i < count; ++i) {
        const unsigned char* record = records.data() + i * kFdbRecordSize;
        char label[kFdbLabelLength + 1];
        if (MakeFdbLabel(record, label, sizeof label)) {
            printf("%4lu  %s  %10lu\n", i + 1, label,
                   static_cast<unsigned long>(FdbObjectSize(record)));
        } else {
            printf("%4lu  (unusable record)\n", i + 1);
        }
    }
    printf("%lu objects\n", count);
    return 0;
}

int ReadOut(const Options& options, int mode)
{
    const long number = options.number != nullptr ? strtol(options.number, nullptr, 10) : 0;
    if (number < 1 || options.prefix == nullptr) {
        return Usage();
    }
    unsigned long count = 0;
    std::vector<unsigned char> records;
    if (!ReadAllRecords(count, records)) {
        return 1;
    }
    if (static_cast<unsigned long>(number) > count) {
        fprintf(stderr, "camera: there are %lu objects\n", count);
        return 1;
    }
    std::vector<char> prefix(options.prefix, options.prefix + strlen(options.prefix) + 1);
    WaitFWIdle();
    if (Upload_DOSFAT_Object(static_cast<int>(number - 1), records.data(), prefix.data(), mode,
                             kUploadFlag, nullptr) != 0) {
        fprintf(stderr, "camera: object %ld cannot be read out\n", number);
        return 1;
    }
    if (mode == kUploadAsBitmap) {
        printf("%s%04ld.bmp\n", options.prefix, number);
    } else {
        printf("object %ld saved through %s\n", number, options.prefix);
    }
    return 0;
}

int Capture(const Options& options)
{
    if (options.prefix != nullptr ||
        (options.number != nullptr && strcmp(options.number, "full") != 0)) {
        return Usage();
    }
    SetStillSize(options.number != nullptr ? kStillSizeFull : kStillSize640);
    WaitFWIdle();
    if (Capture_DOSFAT_DSC() != 0) {
        fprintf(stderr, "camera: the still was not taken\n");
        return 1;
    }
    WaitFWIdle();
    return List();
}

}  // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        return Usage();
    }
    if (!LoadSettings(options)) {
        fprintf(stderr, "camera: the camera library did not load its settings\n");
        return 1;
    }
    if (strcmp(options.command, "list") == 0 && options.number == nullptr) {
        return List();
    }
    if (strcmp(options.command, "read") == 0) {
        return ReadOut(options, kUploadAsBitmap);
    }
    if (strcmp(options.command, "save") == 0) {
        return ReadOut(options, kUploadUnchanged);
    }
    if (strcmp(options.command, "capture") == 0) {
        return Capture(options);
    }
    return Usage();
}
