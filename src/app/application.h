// Start-up and shut-down of the application around its main window.
#pragma once

#include <QStringList>
#include <memory>
#include <string>
#include <vector>

#include "app/mainfrm.h"
#include "model/profile.h"

namespace vg {

// Where the Kitlets folder is looked for after the current folder: beside the
// installed program, then the one the build wrote.
std::vector<std::string> InstalledKitletFolders();

// Loads the profile, shows the welcome dialog for splashMs after it was
// painted (none when 0), creates and shows the main window, opens a saved
// graphic given as the first argument and puts the focus into the first input field.
// The view's zoom in the profile ("View Zoom", percent, 0 for Fit); never in files.
void LoadViewSettings(const ProfileStore& profile, CMainFrame& frame);
void SaveViewSettings(ProfileStore& profile, CMainFrame& frame);

std::unique_ptr<CMainFrame> StartApplication(const QStringList& files, const ProfileStore& profile,
                                             const std::vector<std::string>& kitletFolders, int splashMs = 0);

}  // namespace vg
