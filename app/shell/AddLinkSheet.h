#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

// The sheet in which the user pastes a link, or a share text with a link in
// it, and saves it. It opens filled with the clipboard's text when that
// text holds a link.
class AddLinkSheet : public QDialog {
    Q_OBJECT
public:
    explicit AddLinkSheet(QWidget *parent = nullptr);

    QString text() const;
    void setText(const QString &text);
    bool canSave() const;

signals:
    // "收藏" with the whole text; the sheet closes after it.
    void saveRequested(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fillFromClipboard();
    void save();

    QPlainTextEdit *m_editor;
    QPushButton *m_save;
};
