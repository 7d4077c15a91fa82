#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace receiver {

// The small modal dialog in which the user types the password every sender
// must give. It only collects the text; the main window applies it.
class TfrmPassword : public QDialog
{
    Q_OBJECT

public:
    // SettingsFile: the settings file to read the stored password from;
    // empty for the program's own.
    explicit TfrmPassword(QWidget* parent = nullptr, const QString& settingsFile = {});

    QLabel* lblPassword = nullptr;
    QLineEdit* txtPassword = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate(const QString& settingsFile);

    bool m_placed = false;
};

} // namespace receiver
