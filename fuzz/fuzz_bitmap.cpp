// Fuzzes the bitmap reader: any bytes either give a well-formed picture or a
// refusal with a reason, never a read out of bounds. An accepted picture,
// written back as a plain bottom-up bitmap, must read back the same. The
// same bytes read from a file (header first, then only the pixels it names)
// must give exactly what decoding them in memory gives.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "gfx/bitmap_reader.h"

namespace {

void put32(std::vector<unsigned char>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; i++) b[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

std::vector<unsigned char> plainBitmap(const BitmapImage& img) {
    const size_t stride = (static_cast<size_t>(img.width) * 3 + 3) / 4 * 4;
    std::vector<unsigned char> b(54 + stride * img.height, 0);
    b[0] = 'B';
    b[1] = 'M';
    put32(b, 10, 54);
    put32(b, 14, 40);
    put32(b, 18, static_cast<uint32_t>(img.width));
    put32(b, 22, static_cast<uint32_t>(img.height));
    b[26] = 1;
    b[28] = 24;
    for (int y = 0; y < img.height; y++)
        for (int x = 0; x < img.width; x++) {
            const unsigned char* t = &img.rgba[(static_cast<size_t>(y) * img.width + x) * 4];
            unsigned char* p = &b[54 + stride * y + x * 3];
            p[0] = t[2];
            p[1] = t[1];
            p[2] = t[0];
        }
    return b;
}

// The bytes as a regular file that needs no disk.
BitmapImage readAsFile(const uint8_t* data, size_t size) {
    static const int fd = memfd_create("fuzz_bitmap", 0);
    if (fd < 0 || ftruncate(fd, 0) != 0) std::abort();
    if (size > 0 && pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)) std::abort();
    return readBitmapFile(("/proc/self/fd/" + std::to_string(fd)).c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const BitmapImage img = decodeBitmap(data, size);
    const BitmapImage fromFile = readAsFile(data, size);
    if (fromFile.error != img.error || fromFile.width != img.width || fromFile.height != img.height ||
        fromFile.rgba != img.rgba)
        std::abort();
    if (!img.ok()) {
        if (!img.rgba.empty() || img.width != 0 || img.height != 0) std::abort();
        return 0;
    }
    if (img.width < 1 || img.width > kMaxBitmapSide || img.height < 1 || img.height > kMaxBitmapSide)
        std::abort();
    if (img.rgba.size() != static_cast<size_t>(img.width) * img.height * 4) std::abort();
    // The pixels came out of the file: a picture cannot hold more than it.
    if (static_cast<size_t>(img.width) * img.height * 3 > size) std::abort();
    for (size_t i = 3; i < img.rgba.size(); i += 4)
        if (img.rgba[i] != 255) std::abort();

    const std::vector<unsigned char> again = plainBitmap(img);
    const BitmapImage back = decodeBitmap(again.data(), again.size());
    if (!back.ok() || back.width != img.width || back.height != img.height || back.rgba != img.rgba)
        std::abort();
    return 0;
}
