// file_chooser.cpp - the F5/F6 dialogs and the chooser seam they go through.
#include "io/file_chooser.h"

#include <cstdio>

#include "core/app_state.h"
#include "figure/person.h"

namespace {

const FileFilter kOpenFilters[] = {
    {"Text File(*.txt)", "*.txt;*.text"},
    {"C Files", "*.c;*.cpp"},
};
const FileFilter kSaveFilters[] = {
    {"Text File(*.txt)", "*.txt"},
};

FileChooser* installedChooser = nullptr;
std::string chosenPath;

FileChooser& currentChooser() { return installedChooser ? *installedChooser : gtkFileChooser(); }

// Runs the dialog; prints the chosen name, or "No File Selected".
bool choosePath(const FileDialogRequest& request, std::string& path) {
    path.clear();
    chosenPath.clear();
    if (!currentChooser().choose(request, path) || path.empty()) {
        std::printf("No File Selected\n");
        std::fflush(stdout);
        return false;
    }
    chosenPath = path;
    std::printf("Open file name: %s\n\n", path.c_str());
    std::fflush(stdout);
    return true;
}

}  // namespace

const FileDialogRequest kOpenAnimationRequest = {FileDialogKind::Open, kOpenFilters, 2, nullptr};
const FileDialogRequest kSaveAnimationRequest = {FileDialogKind::Save, kSaveFilters, 1, ".txt"};

void setFileChooser(FileChooser* chooser) { installedChooser = chooser; }
FileChooser& fileChooser() { return currentChooser(); }

bool chooseFile(const FileDialogRequest& request, std::string& path) { return choosePath(request, path); }
const std::string& lastChosenPath() { return chosenPath; }

std::string withDefaultExtension(const std::string& path, const char* extension) {
    if (extension == nullptr || *extension == '\0') return path;
    const std::size_t slash = path.find_last_of('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    if (nameStart >= path.size()) return path;  // a folder, not a file name
    if (path.find('.', nameStart) != std::string::npos) return path;
    return path + extension;
}

// The person is looked up after the dialog closes: that is the one the user
// has selected when the file is chosen.
bool openAnimationDialog() {
    std::string path;
    if (!choosePath(kOpenAnimationRequest, path)) return false;
    return app.persons[app.selectedPerson].loadAnimation(path.c_str());
}

bool saveAnimationDialog() {
    std::string path;
    if (!choosePath(kSaveAnimationRequest, path)) return false;
    return app.persons[app.selectedPerson].saveAnimation(path.c_str());
}
