// file_chooser.h - choosing animation files: the F5 and F6 dialogs.
//
// The dialogs go through a seam: a FileChooser shows a modal file dialog on
// the calling (GLUT) thread and returns the chosen path. The program uses the
// GTK 3 chooser; tests install a scripted fake with setFileChooser().
#pragma once

#include <string>

// One entry of a dialog's filter list; patterns are ';'-separated globs.
struct FileFilter {
    const char* name;
    const char* patterns;
};

enum class FileDialogKind { Open, Save };

// What a dialog offers. The first filter is selected at start.
struct FileDialogRequest {
    FileDialogKind kind;
    const char* title;  // what the dialog's title bar says it is for
    const FileFilter* filters;
    int filterCount;
    const char* defaultExtension;  // added to a saved name without one; nullptr for none
};

class FileChooser {
public:
    virtual ~FileChooser() = default;
    // Shows the dialog and blocks until it closes. True with `path` set when
    // a file was chosen; false when cancelled or when no dialog can be shown.
    virtual bool choose(const FileDialogRequest& request, std::string& path) = 0;
};

// The GTK 3 chooser (initialises GTK on first use).
FileChooser& gtkFileChooser();

// Installs the chooser the dialogs use; nullptr restores the GTK one.
void setFileChooser(FileChooser* chooser);
// The chooser the dialogs use now (the installed one, else GTK's).
FileChooser& fileChooser();

// Runs the installed chooser's dialog for any request, with the console
// lines of the animation dialogs ("No File Selected", "Open file name: ...").
bool chooseFile(const FileDialogRequest& request, std::string& path);
// The path the last dialog returned; empty when it was cancelled.
const std::string& lastChosenPath();

// The requests the two dialogs make.
extern const FileDialogRequest kOpenAnimationRequest;
extern const FileDialogRequest kSaveAnimationRequest;

// `path` with `extension` (such as ".txt") appended when its file name has
// no extension of its own.
std::string withDefaultExtension(const std::string& path, const char* extension);

// F5: choose a file and load it into the selected person. False when no file
// was chosen, else the result of the load.
bool openAnimationDialog();

// F6: choose a file and save the selected person's animation to it (which
// also writes the code export). False when no file was chosen, else the
// result of the save.
bool saveAnimationDialog();
