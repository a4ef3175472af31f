// audio_offset - where in a reference recording a piece of heard sound lies.
//
//   audio_offset REF HEARD RATE FROM LENGTH SEARCH_FROM SEARCH_TO
//
// REF and HEARD are raw signed 16-bit little-endian mono samples at RATE.
// The LENGTH seconds of HEARD from FROM are compared with REF at every
// offset from SEARCH_FROM to SEARCH_TO seconds by normalised correlation;
// prints the best offset in seconds and its correlation (1 is the same
// waveform). Different decoders and resamplers leave it a little below 1.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

static std::vector<float> readSamples(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<float> s(bytes.size() / 2);
    for (std::size_t i = 0; i < s.size(); i++) {
        const int lo = static_cast<unsigned char>(bytes[2 * i]);
        const int hi = static_cast<signed char>(bytes[2 * i + 1]);
        s[i] = static_cast<float>(hi * 256 + lo);
    }
    return s;
}

int main(int argc, char** argv) {
    if (argc != 8) {
        std::fprintf(stderr, "usage: audio_offset REF HEARD RATE FROM LENGTH SEARCH_FROM SEARCH_TO\n");
        return 2;
    }
    const std::vector<float> ref = readSamples(argv[1]), heard = readSamples(argv[2]);
    const double rate = std::atof(argv[3]);
    const long from = std::lround(std::atof(argv[4]) * rate), n = std::lround(std::atof(argv[5]) * rate);
    const long s0 = std::lround(std::atof(argv[6]) * rate), s1 = std::lround(std::atof(argv[7]) * rate);
    if (from < 0 || from + n > static_cast<long>(heard.size()) || n <= 0) {
        std::fprintf(stderr, "audio_offset: the heard sound is too short\n");
        return 2;
    }
    double hm = 0, hv = 0;
    for (long i = 0; i < n; i++) hm += heard[from + i];
    hm /= n;
    for (long i = 0; i < n; i++) hv += (heard[from + i] - hm) * (heard[from + i] - hm);
    double best = -2;
    long bestAt = s0;
    for (long at = s0; at <= s1 && at + n <= static_cast<long>(ref.size()); at++) {
        double rm = 0, rv = 0, c = 0;
        for (long i = 0; i < n; i++) rm += ref[at + i];
        rm /= n;
        for (long i = 0; i < n; i++) {
            const double r = ref[at + i] - rm;
            rv += r * r;
            c += r * (heard[from + i] - hm);
        }
        if (rv > 0 && hv > 0 && c / std::sqrt(rv * hv) > best) {
            best = c / std::sqrt(rv * hv);
            bestAt = at;
        }
    }
    std::printf("%.3f %.3f\n", bestAt / rate, best);
    return 0;
}
