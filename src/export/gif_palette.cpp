// gif_palette.cpp - median cut and nearest-colour mapping.
#include "export/gif_palette.h"

#include <algorithm>

namespace {

inline int bin15(const std::uint8_t* p) { return (p[0] >> 3) << 10 | (p[1] >> 3) << 5 | (p[2] >> 3); }
inline int channel(std::uint16_t bin, int c) { return (bin >> (10 - 5 * c)) & 31; }

struct Box {
    int begin, end;          // range in the bin list
    std::uint64_t pixels;
    int longest, extent;     // the channel to cut and its spread
};

Box describe(const std::vector<std::uint16_t>& bins, const std::vector<std::uint32_t>& hist,
             int begin, int end) {
    Box b{begin, end, 0, 0, -1};
    int lo[3] = {31, 31, 31}, hi[3] = {0, 0, 0};
    for (int i = begin; i < end; i++) {
        b.pixels += hist[bins[i]];
        for (int c = 0; c < 3; c++) {
            lo[c] = std::min(lo[c], channel(bins[i], c));
            hi[c] = std::max(hi[c], channel(bins[i], c));
        }
    }
    for (int c = 0; c < 3; c++)
        if (hi[c] - lo[c] > b.extent) { b.extent = hi[c] - lo[c]; b.longest = c; }
    return b;
}

}  // namespace

void GifPalette::build(const std::uint8_t* rgba, int pixelCount) {
    std::fill(histogram_.begin(), histogram_.end(), 0u);
    std::fill(nearest_.begin(), nearest_.end(), static_cast<std::int16_t>(-1));
    for (int i = 0; i < pixelCount; i++) histogram_[bin15(rgba + 4 * i)]++;
    bins_.clear();
    for (int b = 0; b < (1 << 15); b++)
        if (histogram_[b]) bins_.push_back(static_cast<std::uint16_t>(b));

    std::vector<Box> boxes;
    if (!bins_.empty()) boxes.push_back(describe(bins_, histogram_, 0, static_cast<int>(bins_.size())));
    while (static_cast<int>(boxes.size()) < kColours) {
        // The most populous box that can still be cut.
        int pick = -1;
        for (int i = 0; i < static_cast<int>(boxes.size()); i++)
            if (boxes[i].end - boxes[i].begin > 1 && (pick < 0 || boxes[i].pixels > boxes[pick].pixels))
                pick = i;
        if (pick < 0) break;
        const Box b = boxes[pick];
        const int c = b.longest;
        std::sort(bins_.begin() + b.begin, bins_.begin() + b.end,
                  [c](std::uint16_t x, std::uint16_t y) { return channel(x, c) < channel(y, c); });
        // Cut where half the box's pixels lie on each side, never leaving a side empty.
        std::uint64_t run = 0;
        int cut = b.begin + 1;
        for (int i = b.begin; i < b.end - 1; i++) {
            run += histogram_[bins_[i]];
            cut = i + 1;
            if (2 * run >= b.pixels) break;
        }
        boxes[pick] = describe(bins_, histogram_, b.begin, cut);
        boxes.push_back(describe(bins_, histogram_, cut, b.end));
    }

    used_ = static_cast<int>(boxes.size());
    for (int i = 0; i < kColours; i++) entries_[i] = 0xff000000u;
    for (int i = 0; i < used_; i++) {
        std::uint64_t sum[3] = {0, 0, 0};
        for (int k = boxes[i].begin; k < boxes[i].end; k++)
            for (int c = 0; c < 3; c++)
                sum[c] += static_cast<std::uint64_t>(channel(bins_[k], c) * 8 + 4) * histogram_[bins_[k]];
        std::uint32_t rgb = 0;
        for (int c = 0; c < 3; c++)
            rgb = rgb << 8 | static_cast<std::uint32_t>(std::min<std::uint64_t>(255, sum[c] / boxes[i].pixels));
        entries_[i] = 0xff000000u | rgb;
    }
}

void GifPalette::map(const std::uint8_t* rgba, int pixelCount, std::uint8_t* indices) {
    for (int i = 0; i < pixelCount; i++) {
        const int bin = bin15(rgba + 4 * i);
        if (nearest_[bin] < 0) {
            const int r = channel(static_cast<std::uint16_t>(bin), 0) * 8 + 4;
            const int g = channel(static_cast<std::uint16_t>(bin), 1) * 8 + 4;
            const int b = channel(static_cast<std::uint16_t>(bin), 2) * 8 + 4;
            int best = 0, bestDistance = 1 << 30;
            for (int e = 0; e < std::max(used_, 1); e++) {
                const int dr = r - static_cast<int>(entries_[e] >> 16 & 255);
                const int dg = g - static_cast<int>(entries_[e] >> 8 & 255);
                const int db = b - static_cast<int>(entries_[e] & 255);
                const int d = dr * dr + dg * dg + db * db;
                if (d < bestDistance) { bestDistance = d; best = e; }
            }
            nearest_[bin] = static_cast<std::int16_t>(best);
        }
        indices[i] = static_cast<std::uint8_t>(nearest_[bin]);
    }
}
