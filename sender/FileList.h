#pragma once

#include <QString>

class QListWidget;
class QWidget;

namespace sender {

// The files of the next batch: the names shown in the list box and, beside
// it, their full paths joined with "|", always appended and emptied
// together.
class FileList
{
public:
    explicit FileList(QListWidget& lbFiles)
        : m_lbFiles(lbFiles)
    {}

    // The file dialog; chosen files are appended in the dialog's order.
    void btnAddClick(QWidget* owner);
    // Empties the list after the question; an empty list asks nothing.
    void btnClearAllClick(QWidget* owner);

    void append(const QString& path);
    const QString& FilePaths() const { return m_filePaths; }

private:
    QListWidget& m_lbFiles;
    QString m_filePaths;
};

// The title of the file dialog in the interface language.
QString OpenDialogTitle();

} // namespace sender
