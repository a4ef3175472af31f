// progress.cpp - formatting the progress bar.
#include "export/progress.h"

#include <cstdio>

namespace {
constexpr int kBarWidth = 20;
}

std::string progressLine(int done, int total, double elapsedSeconds) {
    if (total < 1) total = 1;
    if (done < 0) done = 0;
    if (done > total) done = total;
    std::string bar(kBarWidth, '-');
    const int filled = static_cast<int>(static_cast<long long>(done) * kBarWidth / total);
    for (int i = 0; i < filled; i++) bar[static_cast<std::size_t>(i)] = '#';
    char text[160];
    int n = std::snprintf(text, sizeof text, "[%s] %*d/%d frames", bar.c_str(),
                          static_cast<int>(std::to_string(total).size()), done, total);
    if (done > 0 && elapsedSeconds > 0) {
        const double fps = done / elapsedSeconds;
        const long left = static_cast<long>((total - done) / fps + 0.5);
        std::snprintf(text + n, sizeof text - static_cast<std::size_t>(n),
                      "  %6.1f fps  %ld:%02ld left", fps, left / 60, left % 60);
    }
    return text;
}
