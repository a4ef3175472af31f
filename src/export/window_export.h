// window_export.h - "export video..." and "export BVH..." (the menu font is
// 8-bit: three dots stand for the ellipsis) in the right-button menu: the
// current scene rendered to a file from the window, the same way
// as the headless render, with progress on screen and Escape cancelling.
#pragma once

#include "io/file_chooser.h"

// Menu values of the two entries (clear of the main menu's own values).
enum ExportMenuValue { MENU_EXPORT_VIDEO = 70, MENU_EXPORT_BVH = 71 };
// How many entries addExportMenuEntries() appends.
constexpr int EXPORT_MENU_ENTRIES = 2;

// What the two save choosers offer.
extern const FileDialogRequest kExportVideoRequest;
extern const FileDialogRequest kExportBvhRequest;

// Appends the two entries to the menu being built. Needs the window.
void addExportMenuEntries();

// Handles an export entry; false for any other menu value. The export
// starts once the menu has closed.
bool handleExportMenu(int value);
