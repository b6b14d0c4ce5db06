#pragma once

#include <QDialog>
#include <optional>

class QLineEdit;

// Asks for the user's login password before the private space opens.
class PasswordPrompt : public QDialog {
    Q_OBJECT
public:
    PasswordPrompt(const QString &reason, QWidget *parent = nullptr);

    QString password() const;

    // Shows the prompt and waits; nothing when the user cancels.
    static std::optional<QString> ask(const QString &reason, QWidget *parent = nullptr);

private:
    QLineEdit *m_password;
};
