// data_folder.cpp - finding the program's data from any working folder.
#include "base/data_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>

#ifndef PUPPETORIUM_SOURCE_TREE
#define PUPPETORIUM_SOURCE_TREE ""
#endif

namespace {

// Files every copy of the data holds; a user's own folder that merely has
// an "images" folder does not pass for it.
constexpr const char* kMarkers[] = {"instructions.txt", "images/floor_wooden.bmp"};

bool isFile(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string withSlash(const std::string& folder) {
    return folder.empty() || folder.back() == '/' ? folder : folder + "/";
}

// <exe>/../share/puppetorium, from the executable's real path.
std::string installedFolder() {
    char exe[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n <= 0) return "";
    const std::string path(exe, static_cast<std::size_t>(n));
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return "";
    return path.substr(0, slash) + "/../share/puppetorium";
}

// The choice and the working folder it was made in: a process that changes
// folder (the tests do) chooses again.
std::string gChosenIn;
std::string gFolder;
bool gChosen = false;
bool gOverridden = false;

std::string workingFolder() {
    char cwd[PATH_MAX];
    return getcwd(cwd, sizeof cwd) ? cwd : "";
}

}  // namespace

bool holdsData(const std::string& folder) {
    for (const char* marker : kMarkers)
        if (!isFile(withSlash(folder) + marker)) return false;
    return true;
}

std::string chooseDataFolder(const std::string& installed, const std::string& sourceTree) {
    if (holdsData("")) return "";
    for (const std::string& candidate : {installed, sourceTree}) {
        if (candidate.empty() || !holdsData(candidate)) continue;
        // "/opt/p/share/puppetorium/" reads better in a console line than
        // "/opt/p/bin/../share/puppetorium/".
        char real[PATH_MAX];
        return withSlash(realpath(candidate.c_str(), real) ? real : candidate);
    }
    return "";
}

const std::string& dataFolder() {
    if (gOverridden) return gFolder;
    const std::string here = workingFolder();
    if (!gChosen || here != gChosenIn) {
        gFolder = chooseDataFolder(installedFolder(), PUPPETORIUM_SOURCE_TREE);
        gChosenIn = here;
        gChosen = true;
    }
    return gFolder;
}

void overrideDataFolder(const char* folder) {
    gOverridden = folder != nullptr;
    gFolder = folder ? withSlash(folder) : "";
    gChosen = false;
}

std::string dataFile(const char* relative) { return dataFolder() + relative; }

std::string dataFileNamed(const std::string& path) {
    if (path.empty() || path[0] == '/' || isFile(path)) return path;
    return dataFolder() + path;
}
