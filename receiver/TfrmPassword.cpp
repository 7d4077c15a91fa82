#include "TfrmPassword.h"

#include "toolkit/WindowPlacement.h"

#include "toolkit/Fonts.h"
#include "toolkit/FormToolz.h"
#include "toolkit/Language.h"
#include "toolkit/PaintedArea.h"
#include "toolkit/Settings.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace receiver {

TfrmPassword::TfrmPassword(QWidget* parent, const QString& settingsFile)
    : QDialog(parent)
{
    setWindowFlags(toolkit::kFixedWindowFlags | Qt::Dialog);
    setWindowTitle(u"Lösenord"_s);
    setFont(toolkit::UiFont());

    auto* client = new toolkit::PaintedArea(this);
    client->setFixedSize(249, 129);
    client->setPainter([client](QPainter& painter) {
        if (toolkit::HasSwitch(u"/LINES"_s))
            toolkit::DrawEtchedGroove(toolkit::CanvasOf(painter, *client));
    });
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(client);

    lblPassword = new QLabel(u"Lösenord:"_s, client);
    lblPassword->setGeometry(24, 24, 52, 15);
    txtPassword = new QLineEdit(client);
    txtPassword->setGeometry(24, 40, 201, 23);
    txtPassword->setFont(toolkit::FixedFont());
    txtPassword->setMaxLength(256);
    txtPassword->setEchoMode(QLineEdit::Password);
    txtPassword->setStyleSheet(u"QLineEdit { lineedit-password-character: 42; }"_s);
    btnOK = new QPushButton(u"OK"_s, client);
    btnOK->setGeometry(128, 72, 97, 33);
    btnOK->setDefault(true);
    btnCancel = new QPushButton(u"Avbryt"_s, client);
    btnCancel->setGeometry(24, 72, 97, 33);
    btnCancel->setAutoDefault(false);
    lblPassword->adjustSize();

    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    setTabOrder(txtPassword, btnOK);
    setTabOrder(btnOK, btnCancel);
    txtPassword->setFocus();

    FormCreate(settingsFile);
}

void TfrmPassword::FormCreate(const QString& settingsFile)
{
    if (!toolkit::IsSwedish()) {
        setWindowTitle(u"Password"_s);
        lblPassword->setText(u"Password:"_s);
        btnOK->setText(u"OK"_s);
        btnCancel->setText(u"Cancel"_s);
        lblPassword->adjustSize();
    }
    // Filled once per run: a later showing keeps what the field last held.
    txtPassword->setText(toolkit::ReadSetting(u"Main"_s, u"Password"_s, {}, settingsFile));
}

void TfrmPassword::showEvent(QShowEvent* event)
{
    if (!m_placed) {
        toolkit::CentreOnScreen(*this);
        m_placed = true;
    }
    QDialog::showEvent(event);
}

} // namespace receiver
