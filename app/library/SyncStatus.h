#pragma once

#include <QTimer>
#include <QWidget>

class ElidedLabel;
class MacModel;
class QLabel;
class QProgressBar;
class QPushButton;
class QToolButton;

// The line at the foot of the sidebar: whether the shared folder is set up,
// whether a sync runs or failed, and when the library was last synced, with
// a button that syncs now. It never syncs by itself; the time since the
// last sync is read again every 30 seconds.
class SyncStatus : public QWidget {
    Q_OBJECT
public:
    explicit SyncStatus(MacModel &model, QWidget *parent = nullptr);

    // What the line shows: the symbol ("" while the spinner runs) and text.
    const QString &symbol() const { return m_symbol; }
    QString text() const;

public slots:
    void refresh();

private:
    void applyAppearance();
    void showSymbol(const QString &symbol, const QColor &color);
    QString syncedText() const;

    MacModel &m_model;
    QTimer *m_timer;
    QString m_symbol;
    QLabel *m_icon;
    QProgressBar *m_spinner;
    ElidedLabel *m_text;
    QPushButton *m_setUp;
    QToolButton *m_syncNow;
};
