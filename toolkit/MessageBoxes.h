#pragma once

#include <QString>

class QWidget;

namespace toolkit {

// Modal message boxes owned by a window. An empty caption takes the default
// of the interface language; the two questions also default their text.
void ErrorBox(QWidget* owner, const QString& text, const QString& caption = {});
void InfoBox(QWidget* owner, const QString& text, const QString& caption = {});
void AboutBox(QWidget* owner, const QString& text, const QString& caption = {});
// Yes/No; the box cannot be closed without an answer. True for Yes.
bool ConfirmBox(QWidget* owner, const QString& text = {}, const QString& caption = {});
// OK/Cancel; closing the box counts as Cancel. True for OK.
bool OkCancelBox(QWidget* owner, const QString& text = {}, const QString& caption = {});

} // namespace toolkit
