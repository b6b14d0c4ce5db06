#pragma once

#include <QDialog>

class QLineEdit;

// Asks for a name: the title inside the dialog as well as on its frame (many
// window managers draw no frame title for a dialog), a field, and a cancel
// and an accept button. It opens wide enough for a name of twenty Chinese
// characters and for the frame's whole title.
class NameDialog : public QDialog {
    Q_OBJECT
public:
    NameDialog(const QString &title, const QString &placeholder, const QString &acceptText,
               QWidget *parent = nullptr);

    QLineEdit *field() const { return m_field; }

private:
    QLineEdit *m_field;
};
