// scripted_chooser.h - a file chooser for tests: answers each dialog with the
// next scripted path ("" cancels) and keeps the requests it was shown.
// `during` runs while the dialog is "open".
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "io/file_chooser.h"

class ScriptedChooser : public FileChooser {
public:
    std::vector<std::string> answers;
    std::vector<FileDialogRequest> shown;
    std::function<void()> during;

    bool choose(const FileDialogRequest& request, std::string& path) override {
        shown.push_back(request);
        if (during) during();
        if (answers.empty()) return false;
        path = answers.front();
        answers.erase(answers.begin());
        return !path.empty();
    }
};
