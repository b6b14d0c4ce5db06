#include "PasswordPrompt.h"

#include "Symbol.h"
#include "Theme.h"
#include "Typography.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

PasswordPrompt::PasswordPrompt(const QString &reason, QWidget *parent)
    : QDialog(parent), m_password(new QLineEdit(this))
{
    setWindowTitle(tr("解锁隐私空间"));
    setFixedWidth(340);

    auto *icon = new QLabel(this);
    icon->setPixmap(
        Symbol::pixmap(QStringLiteral("lock.fill"), 28, Theme::accent().resolved(), 1, devicePixelRatioF()));
    auto *title = new QLabel(reason, this);
    QFont bold = font();
    bold.setWeight(QFont::DemiBold);
    title->setFont(bold);
    auto *hint = new QLabel(tr("输入你的登录密码。"), this);
    hint->setFont(Typography::callout(font()));
    hint->setForegroundRole(QPalette::PlaceholderText);

    m_password->setEchoMode(QLineEdit::Password);
    m_password->setPlaceholderText(tr("密码"));

    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(tr("取消"), QDialogButtonBox::RejectRole);
    QPushButton *unlock = buttons->addButton(tr("解锁"), QDialogButtonBox::AcceptRole);
    unlock->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 20);
    layout->setSpacing(10);
    layout->addWidget(icon);
    layout->addWidget(title);
    layout->addWidget(hint);
    layout->addWidget(m_password);
    layout->addWidget(buttons);
}

QString PasswordPrompt::password() const
{
    return m_password->text();
}

std::optional<QString> PasswordPrompt::ask(const QString &reason, QWidget *parent)
{
    PasswordPrompt prompt(reason, parent);
    if (prompt.exec() != QDialog::Accepted)
        return std::nullopt;
    return prompt.password();
}
