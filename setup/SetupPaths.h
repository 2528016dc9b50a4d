#pragma once

#include <QString>

// Path rules of the installer on a POSIX file system.
namespace SetupPaths {

// The destination text as typed: '/...' is absolute, '~/...' and anything else lie under strHome.
// The result has no trailing '/' (except the root itself).
QString ResolveDestination(const QString& strText, const QString& strHome);

// Creates every level of strDir; an existing directory counts as created.
bool CreateLevels(const QString& strDir);

// A target name from the script may name subfolders with '/' or '\' but must stay below the
// destination: no absolute names, no ".." components, no empty file name.
bool IsSafeTargetName(const QString& strName);

// The name with '\' turned into '/'.
QString ToPosix(const QString& strName);

// Free bytes on the file system that holds strDir (or its nearest existing parent); -1 if unknown.
qint64 FreeBytes(const QString& strDir);

// A folder that exists and can be entered, as a source folder must be.
bool IsUsableFolder(const QString& strDir);

} // namespace SetupPaths

namespace SetupPaths {

// The destination page's Continue: resolves strText against the home folder and creates every
// level; on success *pDir is the destination.
bool MakeDestination(const QString& strText, QString* pDir);

} // namespace SetupPaths
