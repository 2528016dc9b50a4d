#pragma once

#include <QString>

// Binds ".kst" to the workbench on the desktop: a shared-mime-info package
// (application/x-kest, glob *.kst) and a .desktop entry that opens such files with kest.
// Both live under $XDG_DATA_HOME (else ~/.local/share).
class CShellRegistration {
public:
    static constexpr const char* kMimeType = "application/x-kest";

    static QString DataHome();
    static QString MimePackagePath();
    static QString DesktopEntryPath();

    // Writes both files for the executable; true when both were written.
    static bool Register(const QString& strExecutable);
    // Removes both files and the profile file; true when nothing of ours is left.
    static bool Unregister(const QString& strProfilePath);
};
