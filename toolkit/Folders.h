#pragma once

#include <QString>

class QWidget;

namespace toolkit {

enum class SpecialFolder
{
    Documents = 5,
};

// The folder's path ending in the path separator, created when missing;
// Fallback (with a separator) when the system cannot name or make it.
QString SpecialFolderPath(SpecialFolder folder, const QString& fallback);

// A folder chooser titled "Bläddra"/"Browse" that starts at Folder. The
// chosen folder, or Folder when the user cancels; either ends in the
// separator.
QString BrowseFolder(const QString& folder, const QString& root, QWidget* owner = nullptr);

} // namespace toolkit
