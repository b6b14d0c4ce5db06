#include "AddLinkSheet.h"

#include "LinkExtractor.h"
#include "Pasteboard.h"
#include "ProminentButton.h"
#include "Theme.h"
#include "Typography.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

AddLinkSheet::AddLinkSheet(QWidget *parent)
    : QDialog(parent), m_editor(new QPlainTextEdit(this)), m_save(new ProminentButton(tr("收藏"), this))
{
    setWindowTitle(tr("收藏链接"));
    setFixedWidth(460);

    auto *title = new QLabel(tr("收藏链接"), this);
    QFont titleFont = font();
    titleFont.setPointSizeF(font().pointSizeF() * 15 / 13);
    titleFont.setWeight(QFont::Bold);
    title->setFont(titleFont);

    auto *hint = new QLabel(tr("粘贴链接或 App 里复制的分享文字，Kepsel 会自动找出里面的链接。"), this);
    hint->setWordWrap(true);
    hint->setFont(Typography::callout(font()));
    hint->setForegroundRole(QPalette::PlaceholderText);

    m_editor->setFixedHeight(110);
    m_editor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // A link has no use for tab characters; Tab goes on to the buttons.
    m_editor->setTabChangesFocus(true);
    m_editor->setFrameShape(QFrame::NoFrame);
    const auto paintEditor = [this] {
        m_editor->setStyleSheet(
            QStringLiteral("QPlainTextEdit { background: %1; border-radius: 8px; padding: 6px; }")
                .arg(Theme::card().resolved().name()));
    };
    Theme::paintAndFollow(this, paintEditor);

    auto *cancel = new QPushButton(tr("取消"), this);
    m_save->setDefault(true);
    m_save->setEnabled(false);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_save, &QPushButton::clicked, this, &AddLinkSheet::save);
    connect(m_editor, &QPlainTextEdit::textChanged, this, [this] { m_save->setEnabled(canSave()); });

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancel);
    buttons->addWidget(m_save);
    // Left to right, as they stand.
    setTabOrder(cancel, m_save);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 20);
    layout->setSpacing(14);
    layout->addWidget(title);
    layout->addWidget(hint);
    layout->addWidget(m_editor);
    layout->addLayout(buttons);

    m_editor->installEventFilter(this);
    fillFromClipboard();
    m_editor->setFocus();
}

QString AddLinkSheet::text() const
{
    return m_editor->toPlainText();
}

void AddLinkSheet::setText(const QString &text)
{
    m_editor->setPlainText(text);
}

bool AddLinkSheet::canSave() const
{
    return LinkExtractor::firstURL(text()).has_value();
}

void AddLinkSheet::fillFromClipboard()
{
    const QString clipboard = Pasteboard::general().plainText();
    if (LinkExtractor::firstURL(clipboard))
        setText(clipboard);
}

bool AddLinkSheet::eventFilter(QObject *watched, QEvent *event)
{
    // The editor would take Return as a line break; it saves instead, as the
    // default button's key, and Shift+Return breaks the line.
    if (watched == m_editor && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            !(key->modifiers() & Qt::ShiftModifier)) {
            save();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void AddLinkSheet::save()
{
    // Return reaches here even while the button is disabled.
    if (!canSave())
        return;
    emit saveRequested(text());
    accept();
}
