// music_path.cpp - music names relative to the scene file.
#include "io/music_path.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

fs::path absoluteOf(const std::string& p) {
    std::error_code ec;
    const fs::path a = fs::absolute(fs::path(p), ec);
    return (ec ? fs::path(p) : a).lexically_normal();
}

}  // namespace

std::string musicPathForScene(const std::string& music, const std::string& scenePath) {
    if (music.empty()) return music;
    const fs::path folder = absoluteOf(scenePath).parent_path();
    const fs::path file = absoluteOf(music);
    const fs::path rel = file.lexically_relative(folder);
    // Beside or below: no step of the relative path climbs out of the folder.
    if (rel.empty() || rel.is_absolute()) return music;
    for (const fs::path& step : rel)
        if (step == "..") return music;
    return rel.generic_string();
}

std::string musicPathFromScene(const std::string& named, const std::string& scenePath) {
    if (named.empty() || fs::path(named).is_absolute()) return named;
    const fs::path beside = (fs::path(scenePath).parent_path() / named).lexically_normal();
    std::error_code ec;
    if (fs::is_regular_file(beside, ec)) return beside.generic_string();
    return named;
}
