// yuv_convert.cpp - the conversion loop, two rows at a time.
//
// Eight pixels of two rows per step with SSE2 (part of every x86-64), the
// same integer sums as the plain loop, which does the rest of a row and the
// whole picture elsewhere. Both give identical bytes.
#include "export/yuv_convert.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

inline std::uint8_t luma(int r, int g, int b) {
    return static_cast<std::uint8_t>(((66 * r + 129 * g + 25 * b + 128) >> 8) + 16);
}

// One 2 x 2 block: four lumas, and U, V from the block's sums (so the
// coefficients carry two more bits).
inline void block(const std::uint8_t* a, const std::uint8_t* b, std::uint8_t* y0, std::uint8_t* y1,
                  std::uint8_t* u, std::uint8_t* v) {
    y0[0] = luma(a[0], a[1], a[2]);
    y0[1] = luma(a[4], a[5], a[6]);
    y1[0] = luma(b[0], b[1], b[2]);
    y1[1] = luma(b[4], b[5], b[6]);
    const int r = a[0] + a[4] + b[0] + b[4];
    const int g = a[1] + a[5] + b[1] + b[5];
    const int bl = a[2] + a[6] + b[2] + b[6];
    *u = static_cast<std::uint8_t>(((-38 * r - 74 * g + 112 * bl + 512) >> 10) + 128);
    *v = static_cast<std::uint8_t>(((112 * r - 94 * g - 18 * bl + 512) >> 10) + 128);
}

#if defined(__SSE2__)
// Sums the two products madd_epi16 leaves per pixel: the results of `lo`
// and `hi` (two pixels each) as four 32-bit lanes.
inline __m128i pairSums(__m128i lo, __m128i hi) {
    const __m128i a = _mm_add_epi32(lo, _mm_srli_epi64(lo, 32));
    const __m128i b = _mm_add_epi32(hi, _mm_srli_epi64(hi, 32));
    return _mm_unpacklo_epi64(_mm_shuffle_epi32(a, _MM_SHUFFLE(3, 3, 2, 0)),
                              _mm_shuffle_epi32(b, _MM_SHUFFLE(3, 3, 2, 0)));
}

// Lumas of four RGBA pixels, as 32-bit lanes.
inline __m128i luma4(__m128i px, __m128i coef) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i lo = _mm_madd_epi16(_mm_unpacklo_epi8(px, zero), coef);
    const __m128i hi = _mm_madd_epi16(_mm_unpackhi_epi8(px, zero), coef);
    const __m128i sum = _mm_add_epi32(pairSums(lo, hi), _mm_set1_epi32(128));
    return _mm_add_epi32(_mm_srai_epi32(sum, 8), _mm_set1_epi32(16));
}

// RGBA sums of the two 2 x 2 blocks in four pixels of each row, as
// 16-bit lanes R0 G0 B0 A0 R1 G1 B1 A1.
inline __m128i blockSums(__m128i top, __m128i bottom) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i p01 = _mm_add_epi16(_mm_unpacklo_epi8(top, zero), _mm_unpacklo_epi8(bottom, zero));
    const __m128i p23 = _mm_add_epi16(_mm_unpackhi_epi8(top, zero), _mm_unpackhi_epi8(bottom, zero));
    const __m128i b0 = _mm_add_epi16(p01, _mm_srli_si128(p01, 8));
    const __m128i b1 = _mm_add_epi16(p23, _mm_srli_si128(p23, 8));
    return _mm_unpacklo_epi64(b0, b1);
}

inline __m128i chroma4(__m128i sums01, __m128i sums23, __m128i coef) {
    const __m128i s = pairSums(_mm_madd_epi16(sums01, coef), _mm_madd_epi16(sums23, coef));
    return _mm_add_epi32(_mm_srai_epi32(_mm_add_epi32(s, _mm_set1_epi32(512)), 10),
                         _mm_set1_epi32(128));
}

// Eight pixels of two rows: 8 + 8 lumas, 4 U, 4 V.
inline void eightByTwo(const std::uint8_t* a, const std::uint8_t* b, std::uint8_t* y0,
                       std::uint8_t* y1, std::uint8_t* u, std::uint8_t* v) {
    const __m128i cy = _mm_setr_epi16(66, 129, 25, 0, 66, 129, 25, 0);
    const __m128i cu = _mm_setr_epi16(-38, -74, 112, 0, -38, -74, 112, 0);
    const __m128i cv = _mm_setr_epi16(112, -94, -18, 0, 112, -94, -18, 0);
    const __m128i t0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a));
    const __m128i t1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + 16));
    const __m128i b0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b));
    const __m128i b1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + 16));
    const __m128i top = _mm_packs_epi32(luma4(t0, cy), luma4(t1, cy));
    const __m128i bottom = _mm_packs_epi32(luma4(b0, cy), luma4(b1, cy));
    const __m128i ys = _mm_packus_epi16(top, bottom);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(y0), ys);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(y1), _mm_srli_si128(ys, 8));
    const __m128i s01 = blockSums(t0, b0), s23 = blockSums(t1, b1);
    const __m128i uv = _mm_packus_epi16(_mm_packs_epi32(chroma4(s01, s23, cu), chroma4(s01, s23, cv)),
                                        _mm_setzero_si128());
    const int uBytes = _mm_cvtsi128_si32(uv), vBytes = _mm_cvtsi128_si32(_mm_srli_si128(uv, 4));
    std::memcpy(u, &uBytes, 4);
    std::memcpy(v, &vBytes, 4);
}
#endif

}  // namespace

void rgbaToYuv420(const std::uint8_t* rgba, int width, int height, const YuvPlanes& out) {
    const int stride = width * 4;
    for (int y = 0; y < height; y += 2) {
        const std::uint8_t* top = rgba + static_cast<long>(y) * stride;
        const std::uint8_t* bottom = top + stride;
        std::uint8_t* y0 = out.y + static_cast<long>(y) * out.yStride;
        std::uint8_t* y1 = y0 + out.yStride;
        std::uint8_t* u = out.u + static_cast<long>(y / 2) * out.uStride;
        std::uint8_t* v = out.v + static_cast<long>(y / 2) * out.vStride;
        int x = 0;  // in blocks of 2 x 2
#if defined(__SSE2__)
        for (; x + 4 <= width / 2; x += 4)
            eightByTwo(top + 8 * x, bottom + 8 * x, y0 + 2 * x, y1 + 2 * x, u + x, v + x);
#endif
        for (; x < width / 2; x++)
            block(top + 8 * x, bottom + 8 * x, y0 + 2 * x, y1 + 2 * x, u + x, v + x);
    }
}
